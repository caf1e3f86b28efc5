// Clue numbers. Every colour layer of a clue-grid level has one line of numbers per column
// and per row, one number per maximal run of that colour's cells. In play a number is crossed
// once its run and the cells on both sides of it are solved; a line whose runs are all solved
// asks the level to finish the line, and a line whose crosses have all appeared fades out.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <vector>

class TPACLevel;
class TPTile;
class TImageAsset;

// Number images exist for the values 0 to 20: no run may be longer.
constexpr int MaxClueValue = 20;

class TPNumber {
public:
    // Steps per update at 60 frames per second, multiplied by the frame factor.
    static float AlphaSpeed;
    static float ScaleSpeed;
    static float CrossSpeed;
    static float OverSpeed;
    // Fraction of the number's alpha a full cross takes away (coloured text / white text).
    static float CrossAlphaPercent;
    static float CrossAlphaPercentForDarkNumbers;
    // The shine every number shares: its phase and target (0 or 1).
    static float ShineA;
    static float dShineA;
    // The number images [set, value] for the values 0 to 20 of both sets, and the cross drawn
    // over a crossed number (NumberDrawing.cpp).
    static std::array<std::array<std::shared_ptr<TImageAsset>, MaxClueValue + 1>, 2> NumImg;
    static std::shared_ptr<TImageAsset> CrossImg;

    std::vector<std::shared_ptr<TPTile>> Tiles;  // the run's cells in line order
    std::shared_ptr<TPTile> StartKr;             // the cell before the run; null at the border
    std::shared_ptr<TPTile> EndKr;               // the cell after the run; null at the border
    float DrawX = 0, DrawY = 0;                  // centre on the screen
    float Cross = 0, dCross = 0;
    float Alpha = 1, dAlpha = 1;
    float Scale = 1, dScale = 1;
    float Over = 0, dOver = 0;
    TPACLevel* Level = nullptr;
    int Value = 0;                       // the run's length; 0 for a line without runs
    int x = 0, y = 0;                    // centre relative to the level's position
    int Size = 0;                        // the level's size index
    int TileColor = 0;                   // palette index of the layer's colour (colour id - 1)
    int ox = 0, oy = 0, ow = 0, oh = 0;  // hover rectangle relative to the level's position
    int isOver = 0;

    virtual ~TPNumber() = default;
    int Free();
    int UpdateSettings();
    int UpdateSolved();
    int UpdateOver();
    // UpdateSettings, UpdateSolved, UpdateOver.
    int Update();
    int HideNumber();
    int CrossNumber();
    int ShowNumber();
    int ResetNumber();
    int isFirstTileDone() const;
    int isLastTileDone() const;
    // The cross was made and has fully appeared.
    int isDone() const;
    int isTilesOnListDone() const;
    int isStartSolved() const;
    int isEndSolved() const;
    // Places the number at (x, y) relative to the level; the first placement with a known
    // image size also fixes the hover rectangle's size.
    int SetPosition(int x, int y);
    // The image's width and height, in image pixels.
    float GetWidth() const;
    float GetHeight() const;
    // Draws the number in its layer's colour (crossed, shining, grown by the hover); with
    // highlight set, a light layer over it (its line holds the hovered cell).
    int Draw(int highlight);

    // Advances the shared shine once.
    static int UpdateNumberShine();
    // Which of the two number image sets a size index uses.
    static int ImgInd(int size);
    // The image shown for a value: values past the last image show the last one.
    static int ImageValue(int value);
};

class TNumberLine {
public:
    int ColorIndex = 0;
    int Pionowo = 0;  // 1 for a column, 0 for a row
    int RC = 0;       // the column or row index
    // The line's numbers, the run nearest the line's end first.
    std::vector<std::shared_ptr<TPNumber>> Number;
    std::shared_ptr<TPNumber> OverNumber;  // the number under the mouse at the last update
    int isDone = 0;                        // at the last update every cross had fully appeared
    TPACLevel* Level = nullptr;
    int Size = 0;

    virtual ~TNumberLine() = default;
    int Free();
    // Updates every number, finishes the line when its runs are all solved, hovers, and hides
    // the line once every number is done.
    int Update();
    int EndMe();
    int Hide();
    int Reset();
    int ShowUp();
    // Every number, highlighted when the game's hovered cell lies in this line.
    int Draw();
    // Places the numbers: the first next to the grid, each further one farther out (a row's
    // numbers a one-digit width apart, edge to edge).
    int CountNumbersPosition();
    // The width of a one-digit number's image in this line's image set (0 while the images are
    // not loaded).
    float OneDigitWidth() const;
    int CountAllNumbersValue() const;
    int SetSize(int size);
    int NumbersHidden() const;
    // The smallest screen y (x) of the line's numbers, from a start of 768 (1366).
    int GetMinDrawY() const;
    int GetMinDrawX() const;
};

std::shared_ptr<TPNumber> CreatePNumber(TPACLevel* level, const std::vector<std::shared_ptr<TPTile>>& tiles,
                                        const std::shared_ptr<TPTile>& startKr, const std::shared_ptr<TPTile>& endKr,
                                        int size, int tileColor);
// Numbers is not empty: Level and Size come from its first number.
std::shared_ptr<TNumberLine> CreateNumberLine(const std::vector<std::shared_ptr<TPNumber>>& numbers, int pionowo,
                                              int rc, int colorIndex);

// Makes the number, cross and dot images (not loaded: they go to the loading screen's global
// assets, or load at once without one).
int SetupNumbers();
// Width and height in pixels of clue-number image `value` of image set `set`; false while the
// images are not loaded. The board layout measures the numbers by it.
bool NumberImageSize(int set, int value, float& w, float& h);
// Tests: sizes of their own for NumberImageSize, so that boards are laid out without pictures
// (an empty function: the loaded images' again).
using TNumberImageSizes = std::function<bool(int set, int value, float& w, float& h)>;
void SetNumberImageSizes(TNumberImageSizes sizes);
