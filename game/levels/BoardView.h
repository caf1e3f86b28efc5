// What a level's tiles, clue numbers and summary cells ask of the screen that plays the level:
// its look of the moment (the hover, the numbers' fade, the current colour), and what the tiles
// report to it as they are played (mistakes, tile sounds, hint charges). The game screen hands
// itself in when it is made (SetBoardView); while no screen plays, they are drawn as on a board
// nobody plays (numbers fully shown in their own colours, nothing hovered, no current colour,
// layer 0), and what they report goes nowhere.
#pragma once
#include <memory>

class TRGB;
class TDim;
class TLevel;

class TBoardView {
public:
    // A view that goes away is no longer the board's.
    virtual ~TBoardView();
    // The alpha of a hovered tile's highlight.
    virtual float BoardOverAlpha() = 0;
    // The alpha of the clue numbers (they fade in and out with the board).
    virtual float BoardNumbersAlpha() = 0;
    // The column and row of the hovered cell; false when no cell is hovered.
    virtual bool BoardHoveredCell(int& x, int& y) = 0;
    // The colour being played (null when none).
    virtual std::shared_ptr<TRGB> BoardColour() = 0;
    // The colour layer being played.
    virtual int BoardLayer() = 0;
    // A colour too dark for a number drawn in it to be read on the board's backs.
    virtual bool BoardColourTooDark(const TRGB& colour) = 0;
    // Clue numbers in a too-dark colour are drawn white.
    virtual bool BoardColourSensitive() = 0;
    // A wrong uncover or cross was made: the screen counts the mistake.
    virtual void BoardMistake() = 0;
    // An overlay starts showing: the right (box, cross) or the wrong (error) tile sound.
    virtual void BoardTileSound(bool right) = 0;
    // A box that the player uncovered starts showing at (x, y): a hint charge goes from there to
    // the hint slot that takes it (nothing when none takes one).
    virtual void BoardHintCharge(int x, int y) = 0;
    // The hint slot of the level that takes the next charge (TLevel::GetHintDim).
    virtual std::shared_ptr<TDim> BoardHintDim(const TLevel& level) = 0;
};

// The view of the screen that plays the levels; null while there is none.
TBoardView* PlayingBoard();
void SetBoardView(TBoardView* view);
