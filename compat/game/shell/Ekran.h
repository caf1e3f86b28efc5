// Moved: the old path of Ekran.h, kept only while the includes are updated.
#pragma once
#include "engine/screen/Ekran.h"
