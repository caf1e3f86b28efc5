// The animated layers a tile shows: the cover, the cross, the coloured box and the error
// icon. Each has an alpha and a scale that walk toward their targets, a start time before
// which it stands still, a start event (its sound) and an optional hint charge sent when it
// starts. An overlay advances only in Update, which its tile's drawing calls every frame the
// tile is drawn, so a tile that is not on screen starts its overlays when it is drawn again.
#pragma once
#include <array>
#include <memory>

class TTile;
class TImageAsset;

class TTileAdd {
public:
    // Steps per frame at 60 frames per second, multiplied by the frame factor.
    static float AlphaSpeed;
    static float ScaleSpeed;

    int LastX = 0;  // where the overlay was last drawn: the start of a hint charge
    int LastY = 0;
    float Alpha = 1.0f;
    float Scale = 1.0f;
    float Rotation = 0.0f;
    float dAlphA = 1.0f;  // target alpha
    float dScale = 1.0f;  // target scale
    int time = 0;         // application time before which the overlay stands still
    int ReleaseHint = 0;  // 1: send a hint charge when the overlay starts
    int isShowing = 0;    // 1: shown, and its start event is still to come
    int isRight = 1;      // 1: the box and the cross play the right sound when they start

    virtual ~TTileAdd() = default;

    int ReleaseHintAdd();
    // Remembers where the overlay is drawn for the tile centred at (x, y).
    virtual int SetDrawPlace(float x, float y, const TTile& tile);
    int UpdateAlpha();
    int UpdateScale();
    int UpdateRotation();
    // Advances the overlay once: nothing before its start time; then the hint charge, the
    // start event, the alpha and the scale.
    int Update();
    int ShowNow();
    virtual int Show(int delay);
    int Hide(int delay);
    int HideNow();
    // 1 while the alpha or the scale differs from its target.
    int isAction() const;
    int ReleaseTheHint();
    virtual int OnShowStart();

    // Advances the overlay; 1 when there is nothing to draw (alpha or scale 0), else sets the
    // draw alpha, scale and rotation for the tile and returns 0.
    int DrawingSet(const TTile& tile);
    // Draws the overlay centred at (x, y) for the tile (and remembers where).
    virtual int Draw(float x, float y, TTile& tile);

protected:
    // DrawingSet, then the image at (x, y).
    int DrawImageOverlay(const std::shared_ptr<TImageAsset>& image, float x, float y, TTile& tile);
};

class TTileCover : public TTileAdd {
public:
    int Draw(float x, float y, TTile& tile) override;
};

// Shown on a wrong move; drawn at 0.4 of the box's size, a quarter tile right of and below
// the tile's centre.
class TTileError : public TTileAdd {
public:
    int SetDrawPlace(float x, float y, const TTile& tile) override;
    // Grows from nothing at full alpha once the delay has passed.
    int Show(int delay) override;
    int OnShowStart() override;
    int Draw(float x, float y, TTile& tile) override;
};

class TTileMark : public TTileAdd {
public:
    // As the error's, but only when the cross is neither shown nor about to be.
    int Show(int delay) override;
    int OnShowStart() override;
    int Draw(float x, float y, TTile& tile) override;
};

class TTileBox : public TTileAdd {
public:
    int Show(int delay) override;
    int OnShowStart() override;
    // The tile's box image tinted with its colour.
    int Draw(float x, float y, TTile& tile) override;
    // The full box at alpha 1, without advancing.
    int DrawForced(float x, float y, TTile& tile);
};

class TFTile;

// The number inside a neighbour-count cell: how many cells of its colour the cell's 3 x 3 block
// holds in the solution, with a dot beside it while the painted count equals it. It does not
// animate: it keeps the alpha and scale it was made with. A number of another colour than the
// one the player works in is drawn at a quarter of its alpha; on a painted cell it is drawn in
// the inverse of its colour.
class TTileNumber : public TTileAdd {
public:
    // The dot images, one per number image set: loaded with the clue numbers.
    static std::array<std::shared_ptr<TImageAsset>, 2> DotImg;
    // The alpha factor and the dot's offset of the last drawing.
    static float PomA;
    static float DotDistX;
    static float DotDistY;

    TFTile* MyTile = nullptr;  // the cell the number belongs to (which owns the number)
    int ColorId = 0;           // palette index of the number's colour (colour id - 1)
    int LevelColorIndex = 0;   // the level's colour layer of the number
    int Number = 0;

    int Draw(float x, float y, TTile& tile) override;
};
