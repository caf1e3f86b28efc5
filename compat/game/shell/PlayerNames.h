// Moved: the old path of PlayerNames.h, kept only while the includes are updated.
#pragma once
#include "game/progress/PlayerNames.h"
