#include "game/levels/Level.h"

#include <algorithm>

#include "engine/basics/Basics.h"
#include "game/levels/BoardView.h"
#include "game/levels/Grid.h"
#include "game/levels/Numbers.h"
#include "game/levels/Tile.h"
#include "platform/Strings.h"

int TPACLevel::RemLayer = 0;

int TLevel::Init() {
    InitArray();
    InitSizes();
    return 0;
}

int TLevel::AddScore(int points) {
    Score += points;
    return 0;
}

int TLevel::Center() {
    SetPosition(512.0f - static_cast<float>(GridWidth) * 0.5f, 384.0f - static_cast<float>(GridHeight) * 0.5f);
    return 0;
}

int TLevel::SetPosition(float px, float py) {
    x = px;
    y = py;
    CountPosition();
    return 0;
}

int TLevel::SetSize(int size) {
    Size = size;
    InitSubPositions();
    InitSizes();
    CountPosition();
    return 0;
}

int TLevel::GetColorIndexByColorId(int id) const {
    for (size_t i = 0; i < ColorArr.size(); ++i)
        if (ColorArr[i] == id) return static_cast<int>(i);
    return 0;
}

std::string TLevel::GetColorsString() const {
    std::string text;
    for (size_t i = 0; i < ColorArr.size(); ++i) {
        if (i) text += ' ';
        text += IntToString(ColorArr[i]);
    }
    return text;
}

std::vector<std::shared_ptr<TPTile>> TLevel::GetAllFilledTiles(int) { return {}; }

std::shared_ptr<TDim> TLevel::GetHintDim() {
    TBoardView* board = PlayingBoard();
    return board ? board->BoardHintDim(*this) : nullptr;
}

TPACLevel::~TPACLevel() { OnFree(); }

int TPACLevel::Init() {
    InitArray();
    InitNumbers();
    InitSizes();
    return 0;
}

int TPACLevel::InitArray() {
    TGrid3<std::shared_ptr<TPTile>> tiles;
    tiles.Resize(Colors, Cols, Rows);
    for (int c = 0; c < tiles.Dim0(); ++c)
        for (int row = 0; row < tiles.Dim2(); ++row)
            for (int col = 0; col < tiles.Dim1(); ++col) {
                auto t = std::make_shared<TPTile>();
                t->Level = this;
                t->x = col;
                t->y = row;
                tiles(c, col, row) = t;
            }
    Tile = std::move(tiles);
    return 0;
}

int TPACLevel::InitAfterLoading() {
    for (auto& t : Tile.Cells())  // layers, then columns, then rows ascending
        if (t) t->SetupAfterLoading();
    return 0;
}

int TPACLevel::InitAll() {
    InitNumbers();
    InitSubPositions();
    InitSizes();
    InitAfterLoading();
    return 0;
}

int TPACLevel::OnFree() {
    for (auto& t : Tile.Cells()) {
        if (t) t->Free();
        t = nullptr;
    }
    for (auto& line : NumberV.Cells())
        if (line) line->Free();
    for (auto& line : NumberH.Cells())
        if (line) line->Free();
    Tile.Clear();
    return 0;
}

std::shared_ptr<TPTile> TPACLevel::GetTile(int layer, int px, int py) const { return Tile.At(layer, px, py); }

int TPACLevel::isTileAtColRow(int px, int py) const {
    auto t = Tile.At(0, px, py);
    return (t && t->pTile) ? 1 : 0;
}

std::shared_ptr<TPTile> TPACLevel::isTileResolved(int px, int py) const {
    auto t = Tile.At(0, px, py);
    if (t && t->pTile && t->isSolved()) return t;
    return nullptr;
}

int TPACLevel::ClearRow(int layer, int py) {
    for (int col = 0; col < Cols; ++col)
        if (auto t = Tile.At(layer, col, py)) t->AutoSolve();
    return 0;
}

int TPACLevel::ClearColumn(int layer, int px) {
    for (int row = 0; row < Rows; ++row)
        if (auto t = Tile.At(layer, px, row)) t->AutoSolve();
    return 0;
}

int TPACLevel::ShowUPColumn(int layer, int px) {
    for (int row = 0; row < Rows; ++row)
        if (auto t = Tile.At(layer, px, row)) t->AutoSolveTile();
    return 0;
}

int TPACLevel::ShowUPRow(int layer, int py) {
    for (int col = 0; col < Cols; ++col)
        if (auto t = Tile.At(layer, col, py)) t->AutoSolveTile();
    return 0;
}

std::vector<std::shared_ptr<TPTile>> TPACLevel::GetAllFilledTiles(int layer) {
    std::vector<std::shared_ptr<TPTile>> tiles;
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col) {
            auto t = Tile.At(layer, col, row);
            if (t && t->pTile && !t->isSolved()) tiles.push_back(t);
        }
    return tiles;
}

int TPACLevel::HideNumbers() {
    // Only the first layer's lines: the won level waits for them alone.
    if (NumberH.Dim0() > 0)
        for (int row = 0; row < NumberH.Dim1(); ++row)
            if (auto line = NumberH(0, row)) line->Hide();
    if (NumberV.Dim0() > 0)
        for (int col = 0; col < NumberV.Dim1(); ++col)
            if (auto line = NumberV(0, col)) line->Hide();
    return 0;
}

int TPACLevel::NumbersHidden() {
    if (NumberH.Dim0() > 0)
        for (int row = 0; row < NumberH.Dim1(); ++row)
            if (auto line = NumberH(0, row); line && !line->NumbersHidden()) return 0;
    if (NumberV.Dim0() > 0)
        for (int col = 0; col < NumberV.Dim1(); ++col)
            if (auto line = NumberV(0, col); line && !line->NumbersHidden()) return 0;
    return 1;
}

int TPACLevel::LongestRun() const {
    int longest = 0;
    for (const auto* lines : {&NumberV, &NumberH})
        for (const auto& line : lines->Cells())
            if (line)
                for (const auto& n : line->Number) longest = std::max(longest, n->Value);
    return longest;
}

int TPACLevel::RebuildLevelTiles() {
    TGrid2<int> grid;
    grid.Resize(Cols, Rows);
    std::vector<std::string> ids;
    for (int c = 0; c < Colors; ++c)
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < Cols; ++col) {
                auto t = Tile.At(c, col, row);
                if (!t || t->isTile == 0) continue;
                bool listed = false;
                for (const auto& id : ids) listed = listed || StringToInt(id) == t->isTile;
                if (!listed) ids.push_back(IntToString(t->isTile));
                grid(col, row) = t->isTile;
            }
    // The old tiles and clue lines are let go with their links back to the level.
    OnFree();
    Colors = static_cast<int>(ids.size());
    ColorArr = StringListToInts(ids);
    ColorDone = CreateIntArray(Colors);
    InitArray();
    for (int c = 0; c < Colors; ++c)
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < Cols; ++col)
                if (grid(col, row) == ColorArr[c]) Tile(c, col, row)->isTile = ColorArr[c];
    InitAll();
    Center();
    return 0;
}
