#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/data/BlockFile.h"
#include "game/puzzle/LineSolver.h"
#include "platform/Files.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"

// The game's own data: the hundred levels and the play-field tables they rely on.
namespace {

std::string DataPath(const std::string& rel) { return testsupport::SourceDir() + "/data/" + rel; }

std::string LevelPath(int n) {
    return DataPath("Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel");
}

constexpr int kLevels = 100;

// The tile sides of GridSizes.txt, read the way the game reads them.
std::vector<float> GridSizes() {
    std::vector<float> out;
    for (const std::string& line : SplitLines(LoadText(DataPath("Game/PlayField/GridSizes.txt")))) {
        const std::string t = Trim(line);
        if (!t.empty()) out.push_back(StringToFloat(t));
    }
    return out;
}

TEST(PlayFieldTables, SizesArePositiveAndPaletteEntriesAreWholeColours) {
    const std::vector<float> sizes = GridSizes();
    ASSERT_FALSE(sizes.empty());
    for (float g : sizes) EXPECT_GT(g, 0.0f);

    const TBlockFilePtr rgbs = LoadBlockFile(DataPath("Game/PlayField/RGBS.txt"));
    int colours = 0;
    bool dark = false, light = false;
    for (const TBlockFilePtr& e : rgbs->SubFiles) {
        if (e->MyType != BF_ENTRY) continue;
        ++colours;
        // One quoted value "r,g,b,a,position", so that the reader does not split it at commas.
        ASSERT_EQ(e->GetSize(), 1) << e->name;
        std::vector<int> rgb;
        std::string part;
        for (char ch : e->GetString(0) + ",") {
            if (ch != ',') { part += ch; continue; }
            rgb.push_back(StringToInt(part));
            part.clear();
        }
        ASSERT_EQ(rgb.size(), 5u) << e->name;
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(rgb[i] >= 0 && rgb[i] <= 255) << e->name;
        dark = dark || (rgb[0] < 75 && rgb[1] < 75 && rgb[2] < 75);
        light = light || (rgb[0] > 200 && rgb[1] > 200 && rgb[2] > 200);
    }
    EXPECT_GE(colours, 3);
    EXPECT_TRUE(dark && light) << "the palette should hold dark and light colours";
}

TEST(ShippedLevels, EveryLevelLoadsFreshWithSaneGridColoursAndRuns) {
    const std::vector<float> sizes = GridSizes();
    const TBlockFilePtr rgbs = LoadBlockFile(DataPath("Game/PlayField/RGBS.txt"));
    const int palette = static_cast<int>(GetBlockFileEntrysList(rgbs, "").size());
    std::set<std::tuple<int, int, std::vector<int>>> pictures;

    for (int n = 1; n <= kLevels; ++n) {
        SCOPED_TRACE("Level-" + std::to_string(n));
        TLevelPicture p;
        std::string error;
        ASSERT_TRUE(LoadLevelPicture(LevelPath(n), p, &error)) << error;

        EXPECT_TRUE(p.Cols >= 5 && p.Cols <= 20 && p.Rows >= 5 && p.Rows <= 15)
            << p.Cols << "x" << p.Rows;
        ASSERT_TRUE(p.Size >= 0 && p.Size < static_cast<int>(sizes.size())) << p.Size;
        // The grid alone must leave room for the clue numbers on the 1024 x 768 screen.
        EXPECT_LE(sizes[p.Size] * p.Cols, 800.0f);
        EXPECT_LE(sizes[p.Size] * p.Rows, 640.0f);

        ASSERT_TRUE(p.ColorIds.size() >= 1 && p.ColorIds.size() <= 3);
        for (int id : p.ColorIds) EXPECT_LE(id, palette) << "colour id beyond the palette";
        for (int layer = 1; layer <= static_cast<int>(p.ColorIds.size()); ++layer) {
            EXPECT_NE(std::find(p.Cells.begin(), p.Cells.end(), layer), p.Cells.end())
                << "colour " << p.ColorIds[layer - 1] << " has no cell";
        }

        // Clue-number images exist for 0 to 20 only.
        const TLineClues clues = BuildLineClues(p.Cols, p.Rows, static_cast<int>(p.ColorIds.size()), p.Cells);
        ASSERT_TRUE(clues.Valid);
        for (const auto* lines : {&clues.RowRuns, &clues.ColRuns})
            for (const auto& perColour : *lines)
                for (const auto& runs : perColour)
                    for (int r : runs) EXPECT_LE(r, 20);

        // A fresh level: nothing played, no saved tile state.
        const TBlockFilePtr root = LoadBlockFile(LevelPath(n));
        for (const char* entry : {"Seconds", "Score", "Mistakes", "TilesUncovered", "TilesCrossed"})
            EXPECT_EQ(GetBFNumber(root, std::string("Level::Data::") + entry), 0.0f) << entry;
        EXPECT_EQ(isBFEntry(root, "Level::TilesData"), 0);

        // Every level is a different picture (colour ids included).
        std::vector<int> ids(p.Cells.size());
        for (size_t i = 0; i < ids.size(); ++i) ids[i] = p.Cells[i] ? p.ColorIds[p.Cells[i] - 1] : 0;
        EXPECT_TRUE(pictures.emplace(p.Cols, p.Rows, ids).second) << "repeats an earlier level";
    }
}

TEST(ShippedLevels, EveryLevelIsSolvedFromItsCluesAlone) {
    for (int n = 1; n <= kLevels; ++n) {
        SCOPED_TRACE("Level-" + std::to_string(n));
        TLevelPicture p;
        std::string error;
        ASSERT_TRUE(LoadLevelPicture(LevelPath(n), p, &error)) << error;
        const TLineSolveResult r =
            SolveByLineLogic(BuildLineClues(p.Cols, p.Rows, static_cast<int>(p.ColorIds.size()), p.Cells));
        EXPECT_TRUE(r.Consistent);
        EXPECT_TRUE(r.Complete) << "line logic leaves cells undecided: the level needs guessing";
        EXPECT_EQ(r.Cells, p.Cells);
    }
}

}  // namespace
