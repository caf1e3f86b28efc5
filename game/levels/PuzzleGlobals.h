// The shared state of tiles and clue numbers, which tests put back between cases.
#pragma once

// Tests: the shared state of tiles and clue numbers (the numbers' shine and the tests' image
// sizes, the tiles' captured draw alpha and scale, the level's remembered layer, the board
// area's right edge), back to their start.
void ResetPuzzleGlobals();
