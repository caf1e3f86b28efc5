// The game: puzzle play, the shell, the kingdom, effects and the online screens.
#pragma once
#include "engine/Engine.h"
#include "game/puzzle/BoardLayout.h"
#include "game/puzzle/Hints.h"
#include "game/puzzle/Level.h"
#include "game/puzzle/LevelFiles.h"
#include "game/puzzle/LineSolver.h"
#include "game/puzzle/Numbers.h"
#include "game/puzzle/PlayHooks.h"
#include "game/puzzle/Tile.h"
#include "game/puzzle/TileOverlays.h"
#include "game/shell/SpecialLoads.h"
