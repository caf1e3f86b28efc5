// What the sound manager needs of the game, which is built on top of it: the slot start-up sets
// (engine/system/Hook.h).
#pragma once
#include "engine/system/Hook.h"

struct SoundHooks {
    // The current player's counter of the next music track (1..6, 0 in a new profile), which
    // PlayLevelSound reads and advances; null while no player is chosen.
    static THook<int*()> MusicCounter;
};
