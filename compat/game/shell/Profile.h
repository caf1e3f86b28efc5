// Moved: the old path of Profile.h, kept only while the includes are updated.
#pragma once
#include "game/progress/Profile.h"
