// One cell of the play field in one colour layer. TTile is the cell every level kind shares
// (grid place, screen place, hit box, size index, the flying tile carrying its picture);
// TPTile is the cell of the clue-grid puzzle, which judges the player's moves on itself.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "game/levels/TileOverlays.h"

class TLevel;
class TPACLevel;
class TFlyingTile;
class TRGB;
class TImageAsset;

class TTile {
public:
    TLevel* Level = nullptr;                  // the owning level; null once freed
    std::shared_ptr<TFlyingTile> FlyingTile;  // the flight that carries this cell now, or null
    int isTile = 0;                // clue-grid: the cell's colour id when this tile lies in that colour's layer
    int x = 0;                     // column
    int y = 0;                     // row
    float DrawX = 0, DrawY = 0;    // centre on the virtual screen
    float LevelX = 0, LevelY = 0;  // top-left corner relative to the level's position
    int size = 0;                  // size index into the play-field tables
    int ox = 0, oy = 0;            // hit box
    int oh = 0, ow = 0;

    // The draw alpha and scale in force when the last tile began drawing; the overlays
    // multiply their own by them.
    static float CurrAlpha;
    static float CurrScale;

    virtual ~TTile() = default;
    virtual int Free();
    virtual int Update() { return 0; }
    // Whether the mouse is on the cell's hit box, edges included.
    virtual int isOver();
    virtual int isTiled() { return 0; }
    // Places the tile's centre at (x, y) and derives the square hit box from it.
    virtual int SetDrawPosition(float x, float y);
    virtual std::shared_ptr<TRGB> MyRGB() { return nullptr; }
    // Sets (or with null clears) the carrier on every layer's tile of this cell.
    virtual int SetFlyingTile(const std::shared_ptr<TFlyingTile>& flyingTile);

    // ---- Drawing (TileDrawing.cpp) ----
    // The images every tile shares, 128 x 128 drawn about (64, 64) and scaled by GridScale so
    // that one fills a cell: the box (tinted with the cell's colour), the cross, the filled
    // cross, the error icon, the cover, the held-line marker and the crossing marker's hammer.
    static std::array<std::shared_ptr<TImageAsset>, 1> TileImg;
    static std::shared_ptr<TImageAsset> XImg;
    static std::shared_ptr<TImageAsset> XFillImg;
    static std::shared_ptr<TImageAsset> ErrImg;
    static std::shared_ptr<TImageAsset> GridImg;
    static std::shared_ptr<TImageAsset> HoldImg;
    static std::shared_ptr<TImageAsset> HammerImg;

    // The cell's look centred at (x, y) in the current draw alpha and scale; y of -150000 means
    // the tile's own place.
    virtual int DrawCore(float x, float y);
    // Nothing while a flight carries the cell; else DrawCore.
    virtual int Draw(float x, float y);
    // The hover highlight over the cell (nothing while a flight carries it).
    virtual int DrawOver();
    // The held-line marker: `number` counts the cells from the anchor; mode 1 is crossing (a
    // red number and the hammer), any other uncovering (the number in the current colour).
    virtual int DrawHold(int number, int mode);
    virtual std::shared_ptr<TImageAsset> GetTileImage();

protected:
    // A drawing call's start: takes the draw alpha and scale in force (CurrAlpha, CurrScale),
    // and turns a place of (x, -150000) into the tile's own place.
    void TakeDrawState(float& x, float& y);
};

class TPTile : public TTile {
public:
    int isCovered = 1;  // 1 while covered in its layer; 0 once uncovered or crossed
    int isError = 0;    // 1 once a wrong move was made on it
    std::shared_ptr<TTileCover> pCover = std::make_shared<TTileCover>();
    std::shared_ptr<TTileError> pError = std::make_shared<TTileError>();
    std::shared_ptr<TTileBox> pTile;   // the coloured box: only on a solution tile
    std::shared_ptr<TTileMark> pMark;  // the cross: only on a plain tile
    int StateStartTime = 0;
    int State = 0;

    int Free() override;
    // The palette colour of the tile's colour id; null when the id is outside the palette.
    std::shared_ptr<TRGB> MyRGB() override;

    // Uncover. Returns 1 for a right uncover (a solution tile: scores, and with releaseHint
    // the box sends a hint charge when it starts), 0 for a wrong one (counted as a mistake at
    // once) and for a tile that already counts as solved. Only the overlays wait for delay ms.
    int Show(int delay, int releaseHint);
    // Cross out. Returns 1 for a right cross (a plain tile), 0 for a wrong one (a mistake) and
    // for a solved tile.
    int Mark(int delay);
    int SetupAfterChange();
    // Rebuilds the box or the cross and the error from the flags, shown at once.
    int SetupAfterLoading();
    // Crosses a plain tile (as a right move); a solution tile is left alone.
    int AutoSolveTile();
    // Uncovers a covered tile at once, without sound, score, hint charge or mistake.
    int AutoSolve();
    // 1 when the cell counts as solved in this layer: uncovered here, or uncovered in the
    // layer of its own colour.
    int isSolved();
    int isSomethingHappening();
    // "<isCovered>|<isError>".
    std::string GetSaveString() const;
    // Reads the save text; missing pieces leave their fields alone.
    int GetFromString(const std::string& text);

    // The cover, or the box or the cross, then the error icon.
    int DrawCore(float x, float y) override;
    // The full coloured box whatever the state (a solution tile not carried by a flight).
    int DrawForcedRevealed();
    int DrawPossible() { return 0; }

private:
    TPACLevel* PacLevel() const;
};

// Makes the shared tile images (not loaded: the loading screen loads them with its global
// assets, or they load at once when there is none).
void SetupTilesImages();
