// What the level, its tiles, their overlays and the clue numbers need of the game screen and
// of the screen's media, which are built on top of them: the slots start-up sets
// (engine/system/Hook.h).
#pragma once
#include "engine/system/Hook.h"

// Why slots: tiles and clue numbers are made by the level files' readers, with no screen to hand
// in; the first three could go through the board view the game screen hands in (BoardView.h),
// and the image sizes are this folder's own (LoadedNumberImageSize), a slot only so that tests
// give sizes without pictures.
struct PuzzlePlayHooks {
    // A wrong uncover or cross was made: the game screen counts the mistake (AddMistake).
    static THook<void()> AddMistake;
    // An overlay starts showing: play the right (box, cross) or the wrong (error) tile sound.
    static THook<void(bool right)> TileSound;
    // A box that was uncovered by the player starts showing at (x, y): send a hint charge from
    // there to the hint slot that takes it (nothing when no slot takes one).
    static THook<void(int x, int y)> HintCharge;
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
