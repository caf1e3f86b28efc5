// Hints in flight. Spending a loaded hint slot sends a flying hint (TFlyHint) from its button to
// each of two unsolved cells of the current colour, chosen at random; a hint that arrives opens
// its cell as a right uncover. Each right uncover the player makes sends a hint charge (TAddHint)
// from the cell to the first slot that still needs charge, counting the charges already on their
// way there; ten charges load a slot again.
//
// Both kinds live in their own list (FlyHints, AddHints), are advanced and drawn by
// DrawFlyHints from the game screen's drawing, and move only while drawn. The game screen empties
// both lists each time it prepares a level: hints still in flight then open nothing and charges
// give nothing. A flying hint has no picture of its own: its trail of particles shows it.
#pragma once
#include <list>
#include <memory>

#include "game/levels/Hints.h"
#include "platform/Image.h"

class TDim;
class TLevel;
class TPTile;

class TFlyHint : public std::enable_shared_from_this<TFlyHint> {
public:
    static float Speed;         // progress per frame at 60 frames a second (0.01)
    static TImagePtr HintPart;  // the ball the trail particles draw ("Effects/ball.png")

    float per = 0;
    float x = 0, y = 0;
    float x1 = 0, y1 = 0;
    float x2 = 0, y2 = 0;  // the target cell's centre
    float mx1 = 0, my1 = 0;
    float mx2 = 0, my2 = 0;
    int PartTime = 0;              // application ms after which the next burst of trail particles may come
    std::shared_ptr<TPTile> TIle;  // the target cell
    float LastX = 0, LastY = 0;    // where the last burst ended; both 0 before the first

    virtual ~TFlyHint() = default;
    // Update only.
    virtual int Draw();
    // Arrives once the progress has reached 1; moves along the eased curve; lays a trail over
    // the stretch flown since the last burst, at most every 10 ms; the progress grows.
    virtual int Update();
    // Out of FlyHints; the cell opens as a right uncover that sends no charge.
    virtual int Destroy();
    // Control points sweeping through two opposite corners of the screen.
    virtual int SetMod();
};

class TAddHint : public std::enable_shared_from_this<TAddHint> {
public:
    static constexpr int MaxHintValue = ::MaxHintValue;  // charges that load a slot (10)
    static float Speed;                                  // 0.01
    static TImagePtr Image;                              // the charge ("Effects/Hint.png")

    float per = 0;
    float x = 0, y = 0;
    float x1 = 0, y1 = 0;  // where the cell's box was drawn
    float x2 = 0, y2 = 0;  // the middle of the slot's button
    float mx1 = 0, my1 = 0, mx2 = 0, my2 = 0;
    float Rot = 0;
    float Scale = 1;
    float Alpha = 0;
    int Index = 0;  // the slot it goes to

    virtual ~TAddHint() = default;
    // Update, then the charge, additive, turned and scaled.
    virtual int Draw();
    // Arrives once the progress has reached 1; moves, turns, grows in over the first fifth of
    // its flight and shrinks out over the last fifth; the progress grows.
    virtual int Update();
    virtual int SetMod();
    // One part for its slot's button, then out of AddHints.
    virtual int Destroy();
};

using TFlyHintPtr = std::shared_ptr<TFlyHint>;
using TAddHintPtr = std::shared_ptr<TAddHint>;

extern std::list<TFlyHintPtr> FlyHints;
extern std::list<TAddHintPtr> AddHints;

// A hint from (x, y) to the cell's centre, appended to FlyHints with its control points drawn.
TFlyHintPtr CreateFlyHint(int x, int y, const std::shared_ptr<TPTile>& tile);
// A charge from (x1, y1) to (x2, y2) for slot index, appended to AddHints; plays the charge sound.
TAddHintPtr CreateAddHint(int x1, int y1, int x2, int y2, int index);

// The particle images, the trail ball (also the particles' hint picture) and the charge picture.
void SetupHints();
// Draw of every flying hint, then of every charge, first to last.
int DrawFlyHints();
// Both lists emptied.
int ClearFlyHints();
// Whether a flying hint is on its way to this very cell.
bool isHintTile(const TPTile* tile);
// Charges on their way to slot index.
int CountHintAdds(int index);
// The hint slot of the level that the next charge goes to: x, y the middle of its panel
// button, w the slot index. Only slots with a button take charges: available, not loaded, and
// short of a full load even with the charges already flying to them. Null when no slot needs
// charge.
std::shared_ptr<TDim> PanelHintDim(const TLevel& level);
// A right uncover's box starts showing at (x, y): a charge flies from there to the slot that
// takes it, when one does.
int ReleaseHintCharge(int x, int y);
