// A picture-logic level: a grid of Cols x Rows cells, each empty or of one of the level's
// colours. TLevel is the record both level kinds share (grid, colours, position, time, score,
// hint slots); TPACLevel is the clue-grid level that play uses: one layer of tiles per colour,
// with one tile per cell and layer, and per layer a clue line for every row and column.
//
// Colour ids and layers: ColorArr lists the level's colour ids (1, 2, ...) in layer order;
// layer c holds the cells of colour id ColorArr[c]; id n is palette entry TileRGB[n - 1].
// Each layer keeps its own play state; once a cell is uncovered in its own colour's layer it
// counts as solved in every layer.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/levels/Grid.h"

class TBlockFile;
class TPTile;
class TNumberLine;
class TDim;
class TGameObject;
class TUIImage;
class TTileGameObject;

// The hint slots a level carries; the game panel shows the first six.
constexpr int HintSlots = 9;

// The rules play and the player's progress share: the score one correctly uncovered tile adds to
// its level, and the mistake that loses a level (the sixth: the panel counts "Mistakes n/5").
constexpr int TileScoreAdd = 1;
constexpr int LevelMistakesToLose = 6;

class TLevel {
public:
    std::string Url;
    int Colors = 0;  // number of colour layers, the length of ColorArr
    int Rows = 0;
    int Cols = 0;
    int Size = 0;                // size index into the play-field tables
    std::vector<int> ColorArr;   // colour id of each layer
    std::vector<int> ColorDone;  // per layer: 1 once that colour is finished
    float x = 0, y = 0;          // screen position of the grid's top-left corner
    int GridWidth = 0, GridHeight = 0;
    int Width = 0, Height = 0;  // the grid with its clue-number areas
    float GridX = 0, GridY = 0;
    int LevelSeconds = 0;
    int Score = 0;
    std::array<int, HintSlots> HintAvailableAtThisLevel{};
    std::array<int, HintSlots> HintIsLoaded{};
    std::array<float, HintSlots> HintAddParts{};
    int HintWasUsed = 0;
    // How play on the game screen ended: isLevelWon is set when every colour was finished
    // (the level goes to the level summary), isLevelLost at the sixth mistake (the lose pop-up
    // follows). Both stay 0 while the level is in play; neither is stored in the level file.
    int isLevelWon = 0;
    int isLevelLost = 0;

    virtual ~TLevel() = default;

    virtual int Free() { return 0; }
    // InitArray, then InitSizes.
    virtual int Init();
    virtual int InitArray() { return 0; }
    virtual int InitSubPositions() { return 0; }
    virtual int InitSizes() { return 0; }
    virtual int HideNumbers() { return 0; }
    virtual int NumbersHidden() { return 0; }
    virtual int AddScore(int points);
    virtual int CountPosition() { return 0; }
    // Centres the grid on the 1024 x 768 virtual screen.
    virtual int Center();
    virtual int SetPosition(float x, float y);
    virtual int SetSize(int size);
    // The first layer with that colour id; 0 when no layer has it.
    virtual int GetColorIndexByColorId(int id) const;
    // The colour ids in layer order, blank-separated.
    virtual std::string GetColorsString() const;
    // The tiles of the layer that are solution cells and not yet solved, row by row.
    virtual std::vector<std::shared_ptr<TPTile>> GetAllFilledTiles(int layer);
    // The hint slot that takes the next charge: x, y its point on the screen, w its index; null
    // when none takes one (or no screen plays the level). The slots' buttons are the board's, so
    // the board view answers.
    virtual std::shared_ptr<TDim> GetHintDim();

    // Hint slots: their entries "Hints" and "HintWasUsed" of the level file's "Level" block.
    virtual int LoadHints(const std::shared_ptr<TBlockFile>& block);
    virtual int SaveHints(const std::shared_ptr<TBlockFile>& block);
    // Clears every slot, then makes the first n (at most nine) available, loaded and full.
    virtual int SetHints(int n);
};

class TPACLevel : public TLevel {
public:
    // The layer found by the last search for a cell's box (the finished picture's tiles).
    static int RemLayer;

    TGrid2<std::shared_ptr<TNumberLine>> NumberV;  // [layer, column]
    TGrid2<std::shared_ptr<TNumberLine>> NumberH;  // [layer, row]
    TGrid3<std::shared_ptr<TPTile>> Tile;          // [layer, column, row]
    float StepPer = 1.0f;
    int LoadedX = 0, LoadedY = 0;  // the position read from the file, written back unchanged
    int NumbersWidth = 0, NumbersHeight = 0;
    int Mistakes = 0;
    int CurrStars = 3;
    int TIlesUncovered = 0;
    int TilesCrossed = 0;

    TPACLevel() = default;
    TPACLevel(const TPACLevel&) = delete;
    TPACLevel& operator=(const TPACLevel&) = delete;
    // Detaches the tiles and numbers, which may outlive the level in a flight.
    ~TPACLevel() override;

    int Init() override;
    // A new covered tile for every layer and cell.
    int InitArray() override;
    int InitSubPositions() override;
    int InitSizes() override;
    int HideNumbers() override;
    int NumbersHidden() override;
    int CountPosition() override;
    int Center() override;
    std::vector<std::shared_ptr<TPTile>> GetAllFilledTiles(int layer) override;

    // Releases the tiles and clue lines and breaks their links back to the level.
    int OnFree();
    std::shared_ptr<TNumberLine> InitColumnNumbers(int colorIndex, int column);
    std::shared_ptr<TNumberLine> InitRowNumbers(int colorIndex, int row);
    // Builds every clue line from the solution.
    int InitNumbers();
    // SetupAfterLoading on every tile.
    int InitAfterLoading();
    int InitColorCheck() { return 0; }
    // InitNumbers, InitSubPositions, InitSizes, InitAfterLoading.
    int InitAll();
    // Every tile of every layer draws itself once at (0, 0) (its overlays take their first
    // step), then the viewport is cleared.
    int PrepareAllCovers();
    int isTileAtColRow(int x, int y) const;
    std::shared_ptr<TPTile> isTileResolved(int x, int y) const;
    int ClearRow(int layer, int y);
    int ClearColumn(int layer, int x);
    int CountNumbersPosition();
    // The tile of the layer at column x, row y; null outside the grid.
    std::shared_ptr<TPTile> GetTile(int layer, int x, int y) const;
    int ShowUPColumn(int layer, int x);
    int ShowUPRow(int layer, int y);

    // The finished picture, cell by cell, for the level summary (TileGameObject.cpp). Each call
    // makes new objects added to `parent`; the cell must lie inside the grid.
    // One cell: at the cell's centre relative to the grid's corner, scaled to the tile size,
    // named "<column>,<row>"; Tile the coloured box of a solution cell (isTileRevealed 1 when its
    // colour was the current one at the end), Error the error mark on it, or Mark the cross of
    // an empty cell.
    std::shared_ptr<TTileGameObject> GetTileGameObject(int x, int y, TGameObject* parent);
    // The box of the first layer holding the cell's colour (RemLayer = that layer), or null.
    std::shared_ptr<TUIImage> GetTileBoxobject(int x, int y, TGameObject* parent);
    // The error mark of RemLayer's tile when its error shows and RemLayer is the current colour.
    std::shared_ptr<TUIImage> GetTileBoxCross(int x, int y, TGameObject* parent);
    // The grid picture of the first layer where the cell is empty (RemLayer = that layer).
    std::shared_ptr<TUIImage> GetTileEmpty(int x, int y, TGameObject* parent);
    // The cross of RemLayer's tile when it has one and layer 0 has no box at the cell.
    std::shared_ptr<TUIImage> GetTileMark(int x, int y, TGameObject* parent);

    // The longest run of any clue line (0 when the level has no lines).
    int LongestRun() const;

    // How hard the level is, from its clue lines (LevelArranger.cpp): every line with runs adds
    // its length minus its average run length, so short runs in many lines weigh most and a
    // line filled by one run adds 0.
    virtual int CountDifficulty();
    // Rebuilds the level from the solution colours of its tiles: the colours
    // become those present in the grid, in order of first appearance (by layer, then row, then
    // column), every cell keeps at most one colour, and new tile layers start play afresh.
    int RebuildLevelTiles();
};
