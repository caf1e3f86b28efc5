// Moved: the old path of PlayFieldTables.h, kept only while the includes are updated.
#pragma once
#include "game/puzzle/PlayFieldTables.h"
