// The play-field tables: the tile side of every level size, the colour palette, and the
// scales derived from them for drawing tiles and clue numbers. The special-loads set-up fills
// them once at start-up, before the game screen is set up; puzzle play reads them.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"

class TRGB;

// Per size index: the tile side in virtual pixels, half of it, the drawing scale of the tile
// images (side / 128), and the drawing scale of the clue-number images.
extern std::vector<float> GridSize;
extern std::vector<float> GridSizeHalf;
extern std::vector<float> GridScale;
extern std::vector<float> NumberScale;
// Per size index: which of the clue-number image sets (0 or 1) it uses.
extern std::vector<int> NumberSizesIndex;
// The palette: colour id n is TileRGB[n - 1].
extern std::vector<std::shared_ptr<TRGB>> TileRGB;

// Half the side of the 128-pixel tile images: their drawing handle.
constexpr int TileMiddle = 64;
// Number of clue-number image sets.
constexpr int HowManyNumberSizes = 2;

// Bounds-checked reads of the tables. A size index outside the table reads 0 (0 for the
// number set too), a colour id outside the palette reads null; level data is checked when it
// is loaded, so these only guard against levels made in memory.
float GridSizeAt(int size);
float GridSizeHalfAt(int size);
float GridScaleAt(int size);
float NumberScaleAt(int size);
int NumberSizesIndexAt(int size);
std::shared_ptr<TRGB> TileRGBOfId(int colorId);

// The special-loads screen: a registered screen without a screen file that is never shown.
// The loading screen runs its Setup in the set-up phase of screens, before the other screens'.
class TSpecialLoads : public TAppScreen {
public:
    // Height in pixels of the value-0 image of each clue-number set, in set order.
    static std::vector<float> PomNumImages;

    // SetupLoadedData, SetupNumberSizes, SetupNumImagesSizes, SetupScales (no OnSetup).
    int Setup() override;
    // GridSize from "Game/PlayField/GridSizes.txt", TileRGB from "Game/PlayField/RGBS.txt".
    virtual int SetupLoadedData();
    // PomNumImages from the heights of "Game/PlayField/Numbers/<k>-0.png".
    virtual int SetupNumImagesSizes();
    // NumberSizesIndex for every size index.
    virtual int SetupNumberSizes();
    // GridScale, GridSizeHalf and NumberScale for every size index.
    virtual int SetupScales();
};

extern std::shared_ptr<TSpecialLoads> SpecialLoads;
// A new special-loads screen, named "Special Loadings" and registered with Control.
std::shared_ptr<TSpecialLoads> CreateSpecialLoadsScreen();

// The number-image set of each of n size indices: the first n / 2 take set 0, the rest set 1;
// a single size takes set 0.
std::vector<int> CountNumberSizesIndex(int n);
// Height of a PNG image file read from its header; 0 when the file is missing or no PNG.
int PngImageHeight(const std::string& path);

// Tests: empties every table and PomNumImages.
void ResetPlayFieldTables();
