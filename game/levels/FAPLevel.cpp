#include "game/levels/FAPLevel.h"

#include <algorithm>
#include <utility>

#include "engine/data/BlockFile.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Files.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

int TFTile::CurrentColorIndex = 0;

// The 3 x 3 block of a cell, always visited in this order.
static constexpr int kBlock[9][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

// ---------------------------------------------------------------------------------------------
// The cell

TFAPLevel* TFTile::FapLevel() const { return dynamic_cast<TFAPLevel*>(Level); }

int TFTile::Free() {
    Level = nullptr;
    Cover = nullptr;
    CurrTile = nullptr;
    CurrMark.clear();
    Number = nullptr;
    return 0;
}

int TFTile::Init(int n) {
    isCrossed.assign(n > 0 ? static_cast<size_t>(n) : 0, 0);
    CurrMark.clear();
    for (size_t k = 0; k < isCrossed.size(); ++k) {
        auto mark = std::make_shared<TTileMarkFAP>();
        mark->Hide(0);
        CurrMark.push_back(mark);
    }
    return 0;
}

int TFTile::isTiled() { return CurrTile ? 1 : 0; }

std::shared_ptr<TRGB> TFTile::MyRGB() { return TileRGBOfId(CurrColor); }

int TFTile::isMarked(int colorIndex) const {
    if (colorIndex < 0 || colorIndex >= static_cast<int>(isCrossed.size())) return 0;
    return isCrossed[colorIndex] != 0 ? 1 : 0;
}

// Painted is CurrColor not 0 (the box overlay is there exactly then); reading the colour rather
// than the overlay keeps the count right while a restored level is still setting its cells up.
int TFTile::isTiledLikeNumber(int colorId) const { return (CurrColor != 0 && CurrColor == colorId) ? 1 : 0; }

int TFTile::isNeighborColoredLikeMyNumber(int dx, int dy) {
    TFAPLevel* level = FapLevel();
    if (!level) return 0;
    auto t = level->GetTile(x + dx, y + dy);
    if (!t) return 0;
    if (isNumber != 0 && t->isTile == isNumber) RealCounter += 1;
    if (t->isTiledLikeNumber(isNumber)) CurrCounter += 1;
    return 0;
}

int TFTile::CountNumber() {
    CurrCounter = 0;
    RealCounter = 0;
    // A cell without a number counts nothing: its colour id 0 is never painted.
    for (const auto& d : kBlock) isNeighborColoredLikeMyNumber(d[0], d[1]);
    return 0;
}

int TFTile::CountNeighborNumbers() {
    TFAPLevel* level = FapLevel();
    if (!level) return 0;
    for (const auto& d : kBlock)
        if (auto t = level->GetTile(x + d[0], y + d[1])) t->CountNumber();
    return 0;
}

int TFTile::SetupAfterLoading() {
    if (Cover) Cover->Show(0);
    // The paint and the crosses read from a saved level are shown as they were left.
    if (CurrColor != 0) {
        if (!CurrTile) CurrTile = std::make_shared<TTileBox>();
    } else {
        CurrTile = nullptr;
    }
    for (size_t k = 0; k < CurrMark.size(); ++k) {
        if (!CurrMark[k]) continue;
        if (isMarked(static_cast<int>(k))) CurrMark[k]->ShowNow();
        else CurrMark[k]->HideNow();
    }
    if (isNumber != 0) {
        CountNumber();
        const int layer = Level ? Level->GetColorIndexByColorId(isNumber) : 0;
        // A colour id below 1 has no palette entry (and a read one may be as low as an int goes).
        Number = CreateFapNumber(this, isNumber > 0 ? isNumber - 1 : -1, layer);
    } else {
        Number = nullptr;
    }
    return 0;
}

int TFTile::Show(int colorId) {
    if (CurrColor == colorId) return 0;
    if (isNumber != 0 && colorId != 0 && colorId != isNumber) return 0;
    CurrColor = colorId;
    if (colorId != 0) {
        // A new box is fully visible at once.
        if (!CurrTile) CurrTile = std::make_shared<TTileBox>();
        if (isMarked(CurrentColorIndex)) UnMark(CurrentColorIndex);
    } else {
        CurrTile = nullptr;
    }
    CountNeighborNumbers();
    return 0;
}

int TFTile::Mark(int colorIndex) {
    if (colorIndex < 0 || colorIndex >= static_cast<int>(isCrossed.size())) return 0;
    if (CurrColor != 0) Show(0);
    if (colorIndex < static_cast<int>(CurrMark.size()) && CurrMark[colorIndex]) CurrMark[colorIndex]->ShowNow();
    isCrossed[colorIndex] = 1;
    return 0;
}

int TFTile::UnMark(int colorIndex) {
    if (colorIndex < 0 || colorIndex >= static_cast<int>(isCrossed.size())) return 0;
    if (colorIndex < static_cast<int>(CurrMark.size()) && CurrMark[colorIndex]) CurrMark[colorIndex]->HideNow();
    isCrossed[colorIndex] = 0;
    return 0;
}

std::string TFTile::GetCrossedString() const {
    std::string text;
    for (size_t k = 0; k < isCrossed.size(); ++k) {
        if (k) text += ':';
        text += IntToString(isCrossed[k]);
    }
    return text;
}

std::string TFTile::GetSavePlayString() const {
    return IntToString(isNumber) + "|" + IntToString(CurrColor) + "|" + GetCrossedString();
}

int TFTile::GetFromPlayString(const std::string& text) {
    const std::vector<std::string> pieces = SplitString(text, "|");
    if (pieces.size() > 0) isNumber = StringToInt(pieces[0]);
    if (pieces.size() > 1) CurrColor = StringToInt(pieces[1]);
    if (pieces.size() > 2) {
        // Painting and crossing index the crosses by colour layer: the array keeps the length
        // the cell was made with, whatever the text holds.
        const std::vector<int32_t> read = SplitStringToInts(pieces[2], ":");
        for (size_t k = 0; k < isCrossed.size(); ++k) isCrossed[k] = (k < read.size() && read[k] != 0) ? 1 : 0;
    }
    SetupAfterLoading();
    return 0;
}

std::shared_ptr<TTileNumber> CreateFapNumber(TFTile* tile, int colorId, int levelColorIndex) {
    auto number = std::make_shared<TTileNumber>();
    number->MyTile = tile;
    number->ColorId = colorId;
    number->LevelColorIndex = levelColorIndex;
    number->ShowNow();
    return number;
}

int TTileMarkFAP::Show(int delay) {
    Scale = 0.0f;
    dScale = 1.0f;
    Alpha = 1.0f;
    dAlphA = 1.0f;
    time = AppMilliSecs() + delay;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The level

TFAPLevel::~TFAPLevel() {
    for (auto& t : Tile.Cells())
        if (t) t->Free();
    Tile.Clear();
}

int TFAPLevel::InitArray() {
    for (auto& t : Tile.Cells())
        if (t) t->Free();
    TGrid2<std::shared_ptr<TFTile>> tiles;
    tiles.Resize(Cols, Rows);
    for (int col = 0; col < tiles.Dim0(); ++col)
        for (int row = 0; row < tiles.Dim1(); ++row) {
            auto t = std::make_shared<TFTile>();
            t->x = col;
            t->y = row;
            t->Init(Colors);
            t->Level = this;
            tiles(col, row) = t;
        }
    Tile = std::move(tiles);
    return 0;
}

int TFAPLevel::InitColors(int n) {
    ColorArr = CreateIntArray(n);
    ColorDone = CreateIntArray(n);
    return 0;
}

int TFAPLevel::InitSubPositions() {
    const float g = GridSizeAt(Size);
    for (auto& t : Tile.Cells()) {
        if (!t) continue;
        t->size = Size;
        t->LevelX = static_cast<float>(t->x) * g;
        t->LevelY = static_cast<float>(t->y) * g;
    }
    return 0;
}

int TFAPLevel::InitSizes() {
    const float g = GridSizeAt(Size);
    auto first = Tile.At(0, 0);
    auto lastCol = Tile.At(Cols - 1, 0);
    auto lastRow = Tile.At(0, Rows - 1);
    if (first && lastCol && lastRow) {
        GridWidth = static_cast<int>(lastCol->LevelX - first->LevelX + g);
        GridHeight = static_cast<int>(lastRow->LevelY - first->LevelY + g);
    } else {
        // A level without cells has no grid to measure.
        GridWidth = 0;
        GridHeight = 0;
    }
    Width = GridWidth;
    Height = GridHeight;
    return 0;
}

int TFAPLevel::CountPosition() {
    const float g = GridSizeAt(Size);
    const float h = GridSizeHalfAt(Size);
    GridX = x - static_cast<float>(TileMiddle) * g;
    GridY = y - static_cast<float>(TileMiddle) * g;
    for (int row = 0; row < Tile.Dim1(); ++row)
        for (int col = 0; col < Tile.Dim0(); ++col)
            if (auto& t = Tile(col, row)) t->SetDrawPosition(x + h + t->LevelX, y + h + t->LevelY);
    return 0;
}

int TFAPLevel::InitAfterLoading() {
    for (auto& t : Tile.Cells())  // columns outer, rows inner
        if (t) t->SetupAfterLoading();
    return 0;
}

int TFAPLevel::InitAll() {
    InitSubPositions();
    InitSizes();
    InitAfterLoading();
    return 0;
}

std::shared_ptr<TFTile> TFAPLevel::GetTile(int px, int py) const { return Tile.At(px, py); }

// ---------------------------------------------------------------------------------------------
// The file

namespace {

int ReadInt(const TBlockFilePtr& block, const char* name, int index = 0) {
    return TruncToInt(GetBFNumber(block, name, index));
}

bool IsLevelColour(const TFAPLevel& level, int id) {
    return std::find(level.ColorArr.begin(), level.ColorArr.end(), id) != level.ColorArr.end();
}

// Reports about a level file, made at the place of the reading that found them.
struct Reader {
    const std::string& path;
    const TReportPlace place;
    void Report(const std::string& message) const { Error("Level file '" + path + "': " + message, place); }
    void Warn(const std::string& message) const { Warning("Level file '" + path + "': " + message, place); }
};

bool _LoadFAPLevel_Data(TFAPLevel& level, const TBlockFilePtr& root, const Reader& reader) {
    const auto data = GetBlockFile(root, "Data");
    level.Cols = ReadInt(data, "Dims", 0);
    level.Rows = ReadInt(data, "Dims", 1);
    level.Size = ReadInt(data, "Size");
    level.ColorArr.clear();
    // Blanks only separate: a doubled or trailing blank adds no colour.
    for (const std::string& piece : SplitString(GetBFString(data, "Colors", 0), " "))
        if (!Trim(piece).empty()) level.ColorArr.push_back(StringToInt(piece));
    level.ColorDone = CreateIntArray(static_cast<int>(level.ColorArr.size()));
    level.Colors = static_cast<int>(level.ColorArr.size());
    level.x = GetBFNumber(data, "Position", 0);
    level.y = GetBFNumber(data, "Position", 1);

    const LevelReport report = [&](const std::string& m) { reader.Report(m); };
    if (!CheckLevelGrid(level, report)) return false;
    if (level.Colors == 0) {
        reader.Report("no colours");
        return false;
    }
    RepairLevelSizeAndColours(level, report);
    level.InitArray();
    return true;
}

void _LoadFAPLevel_Tiles(TFAPLevel& level, const TBlockFilePtr& root, const Reader& reader) {
    const auto tiles = GetBlockFile(root, "Tiles");
    int unlisted = 0;
    for (int row = 0; row < level.Rows; ++row) {
        const auto entry = GetBlockEntryNO_NEW(tiles, "Row" + IntToString(row));
        if (!entry) continue;
        for (int col = 0; col < level.Cols; ++col) {
            const int id = TruncToInt(entry->GetFloat(col));
            if (id != 0 && unlisted == 0 && !IsLevelColour(level, id)) unlisted = id;
            level.Tile(col, row)->isTile = id;
        }
    }
    if (unlisted != 0) reader.Warn("colour id " + IntToString(unlisted) + " in \"Tiles\" is not listed in \"Colors\"");
}

void _LoadFAPLevel_PlayData(TFAPLevel& level, const TBlockFilePtr& root, const Reader& reader) {
    const auto playData = GetBlockFile(root, "TilesData");
    for (int row = 0; row < level.Rows; ++row) {
        const auto entry = GetBlockEntryNO_NEW(playData, "Row" + IntToString(row));
        if (!entry) continue;
        for (int col = 0; col < level.Cols; ++col) {
            TFTile& t = *level.Tile(col, row);
            t.GetFromPlayString(entry->GetString(col));
            const std::string cell = " of cell " + IntToString(col) + ", " + IntToString(row);
            // What play could never have left is taken out, so that the cell plays by the rules.
            if (t.isNumber != 0 && !IsLevelColour(level, t.isNumber)) {
                reader.Warn("a number of colour id " + IntToString(t.isNumber) + cell +
                            " is not a colour of the level; the cell has no number");
                t.isNumber = 0;
            }
            if (t.CurrColor != 0 &&
                (!IsLevelColour(level, t.CurrColor) || (t.isNumber != 0 && t.CurrColor != t.isNumber))) {
                reader.Warn("the paint of colour id " + IntToString(t.CurrColor) + cell +
                            " cannot be painted there; the cell is unpainted");
                t.CurrColor = 0;
            }
        }
    }
}

}  // namespace

std::shared_ptr<TFAPLevel> LoadFAPLevel(const std::string& path) {
    const Reader reader{path, Here()};
    if (FileType(path) != 1) {
        ErrorNoFile(path, Here());
        return nullptr;
    }
    const auto root = LoadBlockFile(path);
    auto level = std::make_shared<TFAPLevel>();
    if (!_LoadFAPLevel_Data(*level, root, reader)) return nullptr;
    _LoadFAPLevel_Tiles(*level, root, reader);
    _LoadFAPLevel_PlayData(*level, root, reader);
    level->InitAll();
    level->SetPosition(level->x, level->y);
    return level;
}

bool SaveFAPLevel(const std::shared_ptr<TFAPLevel>& level, const std::string& path) {
    if (!level) {
        Error("Level file '" + path + "': no level to write", Here());
        return false;
    }
    const auto root = CreateBlockFile(path, nullptr);
    const auto data = CreateBlockFile("Data", root);
    AddIntToBlock(data, "Dims", level->Cols, 0, 0);
    AddIntToBlock(data, "Dims", level->Rows, 1, 0);
    AddIntToBlock(data, "Size", level->Size, 0, 0);
    AddStringToBlock(data, "Colors", level->GetColorsString(), 0, 0);
    AddIntToBlock(data, "Position", TruncToInt(level->x), 0, 0);
    AddIntToBlock(data, "Position", TruncToInt(level->y), 1, 0);
    const auto tiles = CreateBlockFile("Tiles", root);
    const auto playData = CreateBlockFile("TilesData", root);
    for (int row = 0; row < level->Rows; ++row) {
        const auto solution = CreateNewStringEntry(tiles, "Row" + IntToString(row));
        const auto play = CreateNewStringEntry(playData, "Row" + IntToString(row));
        for (int col = 0; col < level->Cols; ++col) {
            auto t = level->GetTile(col, row);
            solution->AddEntry(IntToString(t ? t->isTile : 0), col, BF_INT);
            play->AddEntry(t ? t->GetSavePlayString() : std::string(), col, BF_TEXT);
        }
    }
    return SaveBlockFile(root);
}

std::shared_ptr<TFAPLevel> CreateTestFAPLevel() {
    auto level = std::make_shared<TFAPLevel>();
    level->Colors = 3;
    level->Rows = 10;
    level->Cols = 10;
    level->InitArray();
    level->InitColors(3);
    level->ColorArr = {1, 2, 3};
    static const std::pair<int, int> colour1[] = {{4, 4}, {4, 5}, {4, 6}, {5, 6}};
    for (auto [col, row] : colour1) level->Tile(col, row)->isTile = 1;
    level->Tile(8, 8)->isTile = 2;
    level->Tile(5, 5)->isNumber = 1;
    level->Tile(3, 6)->isNumber = 1;
    level->Tile(9, 8)->isNumber = 2;
    level->InitAll();
    level->Center();
    SaveFAPLevel(level, "Test.FAPLevel");
    return level;
}
