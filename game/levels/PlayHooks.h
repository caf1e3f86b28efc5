// The clue-number images' sizes that the board layout needs: the slot start-up sets
// (engine/system/Hook.h). What the tiles report to the game screen goes through the board view
// (BoardView.h).
#pragma once
#include "engine/system/Hook.h"

// Why a slot: the image sizes are this folder's own (LoadedNumberImageSize); it is a slot only so
// that tests lay boards out with sizes of their own, without pictures.
struct PuzzlePlayHooks {
    // Width and height in pixels of clue-number image `value` of image set `set`; false while
    // the images are not loaded.
    static THook<bool(int set, int value, float& w, float& h)> NumberImageSize;
};

// Every slot back to unset (tests).
void ResetPuzzlePlayHooks();
// Tests: the slots, and the shared state of tiles and clue numbers (the numbers' shine, the
// tiles' captured draw alpha and scale, the level's remembered layer, the board area's right
// edge), back to their start.
void ResetPuzzleGlobals();
