// The neighbour-count level: a grid of Cols x Rows cells, each with a solution colour (or
// none), some of them number cells. A number cell counts how many cells of its own colour lie in
// the 3 x 3 block centred on it (the cell itself included; cells past the border are not
// there, so a border number looks at 6 cells and a corner number at 4). The player paints cells
// with the level's colours and crosses cells out per colour; a number shows a dot while the
// painted count in its block equals its count. Nothing judges the moves: there are no mistakes,
// and no win is ever reached (ColorDone stays all 0).
//
// The ".FAPLevel" file is a block file whose top level holds, in this order:
//   "Data"      Dims = cols, rows; Size; Colors = "<ids in layer order>"; Position = x, y
//   "Tiles"     Row0 .. Row<rows-1>: per column the cell's solution colour id, 0 for none
//   "TilesData" Row0 .. Row<rows-1>: per column the cell's play string (see TFTile)
// The number cells are given only by the play strings.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "game/levels/Grid.h"
#include "game/levels/Level.h"
#include "game/levels/Tile.h"
#include "game/levels/TileOverlays.h"

class TFAPLevel;

// The cross of one colour layer on a neighbour-count cell: the filled-cross image, shown and
// hidden at once by its cell, without a sound.
class TTileMarkFAP : public TTileAdd {
public:
    int Draw(float x, float y, TTile& tile) override;
    // Grows in from nothing once the delay has passed (the cells show their crosses at once
    // instead).
    int Show(int delay) override;
};

class TFTile : public TTile {
public:
    // The colour layer the player works in: its crosses are the ones drawn, painting removes its
    // cross, and numbers of other layers are drawn faded. The game screen keeps it equal to its
    // current colour.
    static int CurrentColorIndex;

    // isTile (inherited) is the cell's solution colour id, 0 for none.
    int isNumber = 0;            // the colour id this cell counts; 0 for a cell without a number
    std::vector<int> isCrossed;  // per colour layer: 1 when crossed out in that layer
    int CurrColor = 0;           // the colour id painted into the cell; 0 while unpainted
    int CurrCounter = 0;         // number cells: block cells painted in the number's colour
    int RealCounter = 0;         // number cells: block cells whose solution is that colour
    std::shared_ptr<TTileCover> Cover = std::make_shared<TTileCover>();
    std::shared_ptr<TTileNumber> Number;                  // number cells, once set up
    std::shared_ptr<TTileBox> CurrTile;                   // present exactly while painted
    std::vector<std::shared_ptr<TTileMarkFAP>> CurrMark;  // per colour layer

    int Free() override;
    // 1 while painted.
    int isTiled() override;
    // The palette colour of the paint (asked only while painted).
    std::shared_ptr<TRGB> MyRGB() override;

    // n colour layers: no crosses, and a hidden cross overlay per layer.
    int Init(int n);
    // The paint (or the cover), the number, then the current layer's cross, at (x, y) in the
    // current draw alpha and scale; y of -150000 means the cell's own place.
    int Draw(float x, float y) override;

    // Recounts this number cell's two counters over its block.
    int CountNumber();
    // Recounts every number cell of this cell's block (each paint change calls it).
    int CountNeighborNumbers();
    // The cover shown, the paint and the crosses shown as the fields say; a number cell counts
    // its block and gets its number overlay.
    int SetupAfterLoading();
    // Paints the cell with colour id colorId (0 clears). A number cell takes only its own colour;
    // painting removes the cross of the current layer.
    int Show(int colorId);
    // Crosses the cell out in layer colorIndex, clearing its paint first.
    int Mark(int colorIndex);
    int UnMark(int colorIndex);
    int isMarked(int colorIndex) const;
    // 1 when painted with colour id colorId.
    int isTiledLikeNumber(int colorId) const;
    // Counts the block cell at (x + dx, y + dy) into this number cell's counters.
    int isNeighborColoredLikeMyNumber(int dx, int dy);

    // The play string "<isNumber>|<CurrColor>|<crosses>", the crosses as 0 or 1 per layer
    // joined by ":" (an unnumbered cell painted with colour 2 and crossed in the second of three
    // layers: "0|2|0:1:0").
    std::string GetCrossedString() const;
    std::string GetSavePlayString() const;
    // Reads a play string: missing pieces leave their fields alone, further pieces are ignored;
    // the crosses keep one entry per colour layer (missing entries read 0, extra ones are
    // dropped). Then SetupAfterLoading.
    int GetFromPlayString(const std::string& text);

    TFAPLevel* FapLevel() const;
};

class TFAPLevel : public TLevel {
public:
    TGrid2<std::shared_ptr<TFTile>> Tile;  // [column, row]

    TFAPLevel() = default;
    TFAPLevel(const TFAPLevel&) = delete;
    TFAPLevel& operator=(const TFAPLevel&) = delete;
    // Frees the cells, which hold overlays that point back at them.
    ~TFAPLevel() override;

    // A new cell for every column and row, with Colors layers.
    int InitArray() override;
    // The cells follow one another at the pitch of the size index, without gaps.
    int InitSubPositions() override;
    int InitSizes() override;
    // Every cell's draw position from the level's position (its top-left corner).
    int CountPosition() override;
    // ColorArr and ColorDone become n zeros each.
    int InitColors(int n);
    // SetupAfterLoading on every cell, columns outer, rows inner.
    int InitAfterLoading();
    // InitSubPositions, InitSizes, InitAfterLoading.
    int InitAll();
    // Null outside the grid.
    std::shared_ptr<TFTile> GetTile(int x, int y) const;
};

// A number overlay for the cell, fully visible at once: colorId is the palette index of its
// colour (the cell's number colour id - 1), levelColorIndex its level's colour layer.
std::shared_ptr<TTileNumber> CreateFapNumber(TFTile* tile, int colorId, int levelColorIndex);

// Reads a ".FAPLevel" file. A file that is missing, has no cells, no colours, or more of them
// than a level can have gives an error line and no level; smaller faults (a size index outside
// the table, a number or a paint of a colour the level lacks, a number cell painted in another
// colour) are reported and repaired.
std::shared_ptr<TFAPLevel> LoadFAPLevel(const std::string& path);
// Writes the level with its play state, atomically; false (after an error line) when it cannot.
bool SaveFAPLevel(const std::shared_ptr<TFAPLevel>& level, const std::string& path);
// A fixed 10 x 10 three-colour level, written to "Test.FAPLevel" in the working folder.
std::shared_ptr<TFAPLevel> CreateTestFAPLevel();
