// Moved: the old path of Awards.h, kept only while the includes are updated.
#pragma once
#include "game/progress/Awards.h"
