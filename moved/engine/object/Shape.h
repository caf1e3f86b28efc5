// Forwards to the header's new place while the includes are rewritten.
#pragma once
#include "engine/screen/Shape.h"
