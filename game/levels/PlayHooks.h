// What the level, its tiles, their overlays and the clue numbers need of the game screen and
// of the screen's media, which are built on top of them. The game screen installs these when
// it is created; until then (and in tests that do not set them) they do nothing.
#pragma once
#include <functional>

struct PuzzlePlayHooks {
    // A wrong uncover or cross was made: the game screen counts the mistake (AddMistake).
    static std::function<void()> AddMistake;
    // The score one correct uncover adds to the level (the game's rule is 1 point).
    static std::function<int()> GetScoreAdd;
    // An overlay starts showing: play the right (box, cross) or the wrong (error) tile sound.
    static std::function<void(bool right)> TileSound;
    // A box that was uncovered by the player starts showing at (x, y): send a hint charge from
    // there to the hint slot that takes it (nothing when no slot takes one).
    static std::function<void(int x, int y)> HintCharge;
    // Width and height in pixels of clue-number image `value` of image set `set`; false while
    // the images are not loaded.
    static std::function<bool(int set, int value, float& w, float& h)> NumberImageSize;
};

// Puts every hook back to its do-nothing default.
void ResetPuzzlePlayHooks();
// Tests: the hooks, and the shared state of tiles and clue numbers (the numbers' shine, the
// tiles' captured draw alpha and scale, the level's remembered layer, the board area's right
// edge), back to their start.
void ResetPuzzleGlobals();
