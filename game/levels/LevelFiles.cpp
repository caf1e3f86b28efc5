#include "game/levels/LevelFiles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/system/Error.h"
#include "game/levels/BoardLayout.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// A number read from the file, truncated toward zero; NaN reads 0 and values past the int
// range stop at its ends.
int TruncToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int ReadInt(const TBlockFilePtr& block, const char* name, int index = 0) {
    return TruncToInt(GetBFNumber(block, name, index));
}

// The ids of a "Colors" text; blanks only separate (a doubled or trailing blank adds no id).
std::vector<int> ParseColorIds(const std::string& text) {
    std::vector<int> ids;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        const std::string piece = Trim(text.substr(pos, end - pos));
        if (!piece.empty()) ids.push_back(StringToInt(piece));
        pos = end + 1;
    }
    return ids;
}

// Reports about a level file, made at the place of the reading that found them.
struct Reader {
    const std::string& path;
    const TReportPlace place;

    void Report(const std::string& message) const { Error("Level file '" + path + "': " + message, place); }
    void Warn(const std::string& message) const { Warning("Level file '" + path + "': " + message, place); }
};

}  // namespace

bool CheckLevelGrid(const TLevel& level, const LevelReport& report) {
    if (level.Cols <= 0 || level.Rows <= 0 || level.Cols > MaxLevelSide || level.Rows > MaxLevelSide) {
        report("grid of " + IntToString(level.Cols) + " x " + IntToString(level.Rows) + " cells; a level needs 1 to " +
               IntToString(MaxLevelSide) + " columns and rows");
        return false;
    }
    if (level.Colors > MaxLevelColors) {
        report(IntToString(level.Colors) + " colours; a level has at most " + IntToString(MaxLevelColors));
        return false;
    }
    return true;
}

void RepairLevelSizeAndColours(TLevel& level, const LevelReport& report) {
    const int sizes = static_cast<int>(GridSize.size());
    if (sizes > 0 && (level.Size < 0 || level.Size >= sizes)) {
        const int fixed = level.Size < 0 ? 0 : sizes - 1;
        report("size index " + IntToString(level.Size) + " is outside the size table (0 to " + IntToString(sizes - 1) +
               "); using " + IntToString(fixed));
        level.Size = fixed;
    }
    const int palette = static_cast<int>(TileRGB.size());
    for (int id : level.ColorArr)
        if (id < 1 || (palette > 0 && id > palette))
            report("colour id " + IntToString(id) + " is not in the palette (1 to " + IntToString(palette) + ")");
}

namespace {

bool _LoadPacLevel_Data(TPACLevel& level, const TBlockFilePtr& levelBlock, const Reader& reader) {
    const auto data = GetBlockFile(levelBlock, "Data");
    level.Cols = ReadInt(data, "Dims", 0);
    level.Rows = ReadInt(data, "Dims", 1);
    level.Size = ReadInt(data, "Size");
    level.ColorArr = ParseColorIds(GetBFString(data, "Colors", 0));
    level.Colors = static_cast<int>(level.ColorArr.size());
    level.ColorDone.assign(level.ColorArr.size(), 0);
    const float px = GetBFNumber(data, "Position", 0);
    const float py = GetBFNumber(data, "Position", 1);
    // The board is centred once loaded; the file's place only seeds the layout, whose measures
    // (the clue margins among them) hold while the board starts on the screen.
    level.x = std::clamp(px, 0.0f, static_cast<float>(NumbersExtentStartX));
    level.y = std::clamp(py, 0.0f, static_cast<float>(NumbersExtentStartY));
    level.LoadedX = TruncToInt(px);
    level.LoadedY = TruncToInt(py);
    level.LevelSeconds = ReadInt(data, "Seconds");
    level.Score = ReadInt(data, "Score");
    level.Mistakes = ReadInt(data, "Mistakes");
    level.TIlesUncovered = ReadInt(data, "TilesUncovered");
    level.TilesCrossed = ReadInt(data, "TilesCrossed");
    if (isBFEntry(data, "Stars")) level.CurrStars = ReadInt(data, "Stars");

    const LevelReport report = [&](const std::string& m) { reader.Report(m); };
    if (!CheckLevelGrid(level, report)) return false;
    RepairLevelSizeAndColours(level, report);
    if (level.CurrStars < 0 || level.CurrStars > 3) {
        reader.Warn("star count " + IntToString(level.CurrStars) + " brought into 0 to 3");
        level.CurrStars = level.CurrStars < 0 ? 0 : 3;
    }
    level.InitArray();
    return true;
}

bool _LoadPacLevel_Tiles(TPACLevel& level, const TBlockFilePtr& levelBlock, const Reader& reader) {
    const auto tiles = GetBlockFile(levelBlock, "Tiles");
    bool filledWithoutColours = false;
    int unlisted = 0;
    for (int row = 0; row < level.Rows; ++row) {
        const auto entry = GetBlockEntryNO_NEW(tiles, "Row" + IntToString(row));
        if (!entry) continue;
        for (int col = 0; col < level.Cols; ++col) {
            const int id = TruncToInt(entry->GetFloat(col));
            if (id == 0) continue;
            if (level.Colors == 0) {
                filledWithoutColours = true;
                continue;
            }
            // An id that "Colors" does not list goes to the first layer.
            const int layer = level.GetColorIndexByColorId(id);
            if (level.ColorArr[layer] != id && unlisted == 0) unlisted = id;
            level.Tile(layer, col, row)->isTile = id;
        }
    }
    if (filledWithoutColours) {
        reader.Report("filled cells but no colours");
        return false;
    }
    // A level without a colour layer has nothing to play (and nothing to show on the board).
    if (level.Colors == 0) {
        reader.Report("no colours");
        return false;
    }
    if (unlisted != 0) reader.Warn("colour id " + IntToString(unlisted) + " in \"Tiles\" is not listed in \"Colors\"");
    for (int c = 0; c < level.Colors; ++c)
        for (int row = 0; row < level.Rows; ++row)
            for (int col = 0; col < level.Cols; ++col) level.Tile(c, col, row)->SetupAfterLoading();
    return true;
}

void _LoadPacLevel_PlayData(TPACLevel& level, const TBlockFilePtr& levelBlock) {
    const auto playData = GetBlockFile(levelBlock, "TilesData");
    if (ReadInt(playData, "isSaved") == 0) return;
    for (int c = 0; c < level.Colors; ++c) {
        const auto layer = GetBlockFile(playData, "Color" + IntToString(c));
        for (int row = 0; row < level.Rows; ++row) {
            // The writer names these "row"; names ignore case.
            const auto entry = GetBlockEntryNO_NEW(layer, "Row" + IntToString(row));
            for (int col = 0; col < level.Cols; ++col)
                level.Tile(c, col, row)->GetFromString(entry ? entry->GetString(col) : std::string());
        }
    }
}

void _SavePacLevel_Data(const TPACLevel& level, const TBlockFilePtr& levelBlock) {
    const auto data = CreateBlockFile("Data", levelBlock);
    AddIntToBlock(data, "Dims", level.Cols, 0, 0);
    AddIntToBlock(data, "Dims", level.Rows, 1, 0);
    AddIntToBlock(data, "Size", level.Size, 0, 0);
    AddStringToBlock(data, "Colors", level.GetColorsString(), 0, 0);
    AddIntToBlock(data, "Position", level.LoadedX, 0, 0);
    AddIntToBlock(data, "Position", level.LoadedY, 1, 0);
    AddIntToBlock(data, "Seconds", level.LevelSeconds, 0, 0);
    AddIntToBlock(data, "Score", level.Score, 0, 0);
    AddIntToBlock(data, "Mistakes", level.Mistakes, 0, 0);
    AddIntToBlock(data, "Stars", level.CurrStars, 0, 0);
    AddIntToBlock(data, "TilesUncovered", level.TIlesUncovered, 0, 0);
    AddIntToBlock(data, "TilesCrossed", level.TilesCrossed, 0, 0);
}

void _SavePacLevel_Tiles(const TPACLevel& level, const TBlockFilePtr& levelBlock) {
    const auto tiles = CreateBlockFile("Tiles", levelBlock);
    for (int row = 0; row < level.Rows; ++row) {
        const auto entry = CreateNewStringEntry(tiles, "Row" + IntToString(row));
        for (int col = 0; col < level.Cols; ++col) {
            // The id of the highest layer that has one at this cell.
            int id = 0;
            for (int c = level.Colors - 1; c >= 0 && id == 0; --c)
                if (auto t = level.Tile.At(c, col, row)) id = t->isTile;
            entry->AddEntry(IntToString(id), col, BF_INT);
        }
    }
}

void _SavePacLevel_PlayData(const TPACLevel& level, const TBlockFilePtr& levelBlock) {
    const auto playData = CreateBlockFile("TilesData", levelBlock);
    AddIntToBlock(playData, "isSaved", 1, 0, 0);
    for (int c = 0; c < level.Colors; ++c) {
        const auto layer = CreateBlockFile("Color" + IntToString(c), playData);
        for (int row = 0; row < level.Rows; ++row) {
            const auto entry = CreateNewStringEntry(layer, "row" + IntToString(row));
            for (int col = 0; col < level.Cols; ++col) {
                auto t = level.Tile.At(c, col, row);
                entry->AddEntry(t ? t->GetSaveString() : std::string("1|0"), col, BF_TEXT);
            }
        }
    }
}

}  // namespace

std::shared_ptr<TLevel> LoadLevel(const std::string& path) {
    const std::string ext = Upper(ExtractExt(path));
    if (ext == "PACLEVEL") return LoadPacLevel(path);
    if (ext == "FAPLEVEL") return LoadFAPLevel(path);
    return nullptr;
}

bool SaveLevel(const std::shared_ptr<TLevel>& level, const std::string& path) {
    if (auto pac = std::dynamic_pointer_cast<TPACLevel>(level)) return SavePacLevel(pac, path, 0);
    if (auto fap = std::dynamic_pointer_cast<TFAPLevel>(level)) return SaveFAPLevel(fap, path);
    Error("Level file '" + path + "': " + (level ? "this kind of level cannot be written" : "no level to write"),
          Here());
    return false;
}

std::shared_ptr<TPACLevel> LoadPacLevel(const std::string& path) {
    if (FileType(path) != 1) {
        ErrorNoFile(path, Here());
        return nullptr;
    }
    return PacLevelFromBlockFile(LoadBlockFile(path), path);
}

std::shared_ptr<TPACLevel> PacLevelFromBlockFile(const TBlockFilePtr& root, const std::string& path) {
    const Reader reader{path, Here()};
    const auto levelBlock = GetBlockFile(root, "Level");
    auto level = std::make_shared<TPACLevel>();
    if (!_LoadPacLevel_Data(*level, levelBlock, reader)) return nullptr;
    if (!_LoadPacLevel_Tiles(*level, levelBlock, reader)) return nullptr;
    _LoadPacLevel_PlayData(*level, levelBlock);
    level->LoadHints(levelBlock);
    level->InitAll();
    const int longest = level->LongestRun();
    if (longest > MaxClueValue) {
        reader.Report("a run of " + IntToString(longest) + " cells; clues go up to " + IntToString(MaxClueValue));
        return nullptr;
    }
    level->SetPosition(level->x, level->y);
    level->Center();
    return level;
}

bool SavePacLevel(const std::shared_ptr<TPACLevel>& level, const std::string& path, int omitPlayState) {
    if (!level) {
        Error("Level file '" + path + "': no level to write", Here());
        return false;
    }
    return SaveBlockFile(PacLevelToBlockFile(level, path, omitPlayState));
}

TBlockFilePtr PacLevelToBlockFile(const std::shared_ptr<TPACLevel>& level, const std::string& path, int omitPlayState) {
    const auto root = CreateBlockFile(path, nullptr);
    if (!level) return root;
    const auto levelBlock = CreateBlockFile("Level", root);
    _SavePacLevel_Data(*level, levelBlock);
    _SavePacLevel_Tiles(*level, levelBlock);
    if (omitPlayState == 0) _SavePacLevel_PlayData(*level, levelBlock);
    level->SaveHints(levelBlock);
    return root;
}

std::shared_ptr<TPACLevel> CreateTestPACLevel() {
    auto level = std::make_shared<TPACLevel>();
    level->Colors = 3;
    level->Rows = 10;
    level->Cols = 10;
    level->Size = 7;
    level->ColorArr = {1, 2, 3};
    level->ColorDone = {0, 0, 0};
    level->InitArray();
    static const std::pair<int, int> layer0[] = {{0, 1}, {0, 2}, {0, 4}, {0, 5}, {0, 6}, {4, 1}, {4, 2}, {6, 4},
                                                 {6, 5}, {6, 6}, {5, 5}, {4, 5}, {3, 5}, {8, 5}, {9, 5}, {7, 0},
                                                 {1, 0}, {2, 0}, {1, 3}, {1, 7}, {1, 8}, {1, 9}};
    static const std::pair<int, int> layer1[] = {{0, 0}, {1, 1}, {2, 2}};
    static const std::pair<int, int> layer2[] = {{0, 8}, {0, 9}};
    for (auto [col, row] : layer0) level->Tile(0, col, row)->isTile = 1;
    for (auto [col, row] : layer1) level->Tile(1, col, row)->isTile = 2;
    for (auto [col, row] : layer2) level->Tile(2, col, row)->isTile = 3;
    level->InitAll();
    level->Center();
    SavePacLevel(level, "test.PacLevel", 0);
    return level;
}
