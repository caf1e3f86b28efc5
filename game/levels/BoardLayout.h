// Where every cell and clue number of a clue-grid level stands on the 1024 x 768 virtual
// screen. The layout is recomputed whenever the level is moved or resized; its operations are
// the level's InitSubPositions, InitSizes, CountPosition, CountNumbersPosition and Center and
// the clue line's CountNumbersPosition, GetMinDrawX and GetMinDrawY.
#pragma once

// The point on which Center puts the middle of the block of clue numbers and grid.
constexpr int BoardCentreX = 462;
constexpr int BoardCentreY = 384;
// Where the board's area ends on the right: the left edge of the game panel's card, which the
// game screen sets whenever it places the panel (the panel stands in the wide window's right
// band, but inside the 4:3 picture). Center moves a block left from BoardCentreX as far as
// it takes to keep its grid BoardPanelGap pixels clear of it. With no panel placed it is
// NumbersExtentStartX, which limits no board.
extern float BoardAreaRight;
constexpr float BoardPanelGap = 10.0f;
// The start values of the number areas' extents: the width of the widest window and the
// height of the virtual screen.
constexpr int NumbersExtentStartX = 1366;
constexpr int NumbersExtentStartY = 768;
// Column numbers stack upward at this many times their drawn height, row numbers leftward
// at this many times their drawn width.
constexpr float ColumnNumberStep = 1.4f;
constexpr float RowNumberStep = 2.0f;
