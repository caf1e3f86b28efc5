// Moved: the old path of Tutorial.h, kept only while the includes are updated.
#pragma once
#include "game/puzzle/Tutorial.h"
