#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/system/Paths.h"
#include "game/levels/BoardLayout.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/LineSolver.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/PuzzleGlobals.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"

// The game's own data: the hundred levels and the play-field tables they rely on.
namespace {

std::string DataPath(const std::string& rel) { return testsupport::SourceDir() + "/data/" + rel; }

std::string LevelPath(int n) { return DataPath("Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel"); }

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

// The luminance of an sRGB colour (0 to 255 a channel), as WCAG defines it, and the contrast
// ratio of two colours (1 to 21).
double RelativeLuminance(double r, double g, double b) {
    auto linear = [](double c) {
        c /= 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

double ContrastRatio(const std::vector<double>& a, const std::vector<double>& b) {
    const double la = RelativeLuminance(a[0], a[1], a[2]), lb = RelativeLuminance(b[0], b[1], b[2]);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour of a clue back where it is strongest (the numbers lie there), over a ground of
// the given grey.
std::vector<double> BackOver(const std::string& image, double ground) {
    TPixmapPtr back = LoadPixmap(DataPath("Screens/MainGame/" + image));
    EXPECT_TRUE(back) << image;
    if (!back) return {ground, ground, ground};
    uint32_t strongest = 0;
    for (int y = 0; y < back->height; ++y)
        for (int x = 0; x < back->width; ++x) {
            const uint32_t p = static_cast<uint32_t>(back->ReadPixel(x, y));
            if ((p >> 24) > (strongest >> 24)) strongest = p;
        }
    const double a = (strongest >> 24) / 255.0;
    std::vector<double> out;
    for (int shift : {16, 8, 0}) out.push_back(a * ((strongest >> shift) & 255) + (1.0 - a) * ground);
    return out;
}

TEST(PlayFieldTables, SizesArePositiveAndPaletteEntriesAreWholeColours) {
    const std::vector<float> sizes = GridSizes();
    ASSERT_FALSE(sizes.empty());
    for (float g : sizes) EXPECT_GT(g, 0.0f);

    const TBlockFilePtr rgbs = LoadBlockFile(DataPath("Game/PlayField/RGBS.txt"));
    const std::vector<double> darkBack = BackOver("Gradient.png", 255.0), lightBack = BackOver("lgradient2.png", 0.0);
    EXPECT_EQ(darkBack, BackOver("gradient2.png", 255.0));
    EXPECT_EQ(lightBack, BackOver("lgradient.png", 0.0));
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
            if (ch != ',') {
                part += ch;
                continue;
            }
            rgb.push_back(StringToInt(part));
            part.clear();
        }
        ASSERT_EQ(rgb.size(), 5u) << e->name;
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(rgb[i] >= 0 && rgb[i] <= 255) << e->name;
        // Clue numbers are drawn in their colour over the dark backs, or over the light ones
        // when all three channels are below 75; each colour reads on its back, whatever shows
        // through it (white under the dark back, black under the light one): a contrast of at
        // least 3 to 1.
        const bool tooDark = rgb[0] < 75 && rgb[1] < 75 && rgb[2] < 75;
        const std::vector<double> colour{double(rgb[0]), double(rgb[1]), double(rgb[2])};
        EXPECT_GE(ContrastRatio(colour, tooDark ? lightBack : darkBack), 3.0) << e->name;
        dark = dark || tooDark;
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

        EXPECT_TRUE(p.Cols >= 5 && p.Cols <= 20 && p.Rows >= 5 && p.Rows <= 15) << p.Cols << "x" << p.Rows;
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

// The game's start-up on data/: the play-field tables, and the clue-number image sizes.
class ShippedLevelsOnScreen : public ::testing::Test {
protected:
    std::string savedDir;

    void SetUp() override {
        savedDir = bDir;
        bDir = DataPath("");
        ResetPlayFieldTables();
        ResetPuzzleGlobals();
        testing::internal::CaptureStdout();
        TSpecialLoads().Setup();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        // The sizes of the shipped clue-number images, as the layout measures them.
        SetNumberImageSizes([sizes = std::map<std::pair<int, int>, std::pair<float, float>>()](
                                int set, int value, float& w, float& h) mutable {
            auto [it, added] = sizes.try_emplace({set, value});
            if (added) {
                const std::string image =
                    DataPath("Game/PlayField/Numbers/" + std::to_string(set) + "-" + std::to_string(value) + ".png");
                EXPECT_TRUE(testsupport::PngSize(image, it->second.first, it->second.second)) << image;
            }
            w = it->second.first;
            h = it->second.second;
            return w > 0.0f && h > 0.0f;
        });
    }
    void TearDown() override {
        bDir = savedDir;
        ResetPuzzleGlobals();
        ResetPlayFieldTables();
    }
};

// Every level loads through the game's own reader without a complaint, and on the 1024 x 768
// screen its grid and every clue number (grown by the hover) stay inside the board's area,
// left of the panel strip that the centring keeps free, with the size label on screen.
TEST_F(ShippedLevelsOnScreen, EveryLevelLoadsAndFitsTheBoardArea) {
    const float right = 2.0f * BoardCentreX;  // the block is centred on the board area
    const float bottom = 768.0f;
    const float hover = 1.2f;
    ASSERT_FALSE(GridSize.empty());
    for (int n = 1; n <= kLevels; ++n) {
        SCOPED_TRACE("Level-" + std::to_string(n));
        testing::internal::CaptureStdout();
        auto level = std::dynamic_pointer_cast<TPACLevel>(LoadLevel(LevelPath(n)));
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_NE(level, nullptr) << out;
        EXPECT_EQ(out, "") << "the level file should load without an error or warning";
        ASSERT_TRUE(level->Colors >= 1 && level->Colors <= 3);
        for (int id : level->ColorArr) EXPECT_NE(TileRGBOfId(id), nullptr) << id;
        EXPECT_LE(level->LongestRun(), MaxClueValue);

        level->Center();  // as the game screen does every frame
        EXPECT_GE(level->x, 0.0f);
        EXPECT_LE(level->x + level->GridWidth, right);
        EXPECT_LE(level->y + level->GridHeight, bottom);
        // The size label is centred 68 pixels left of and 24 above the grid's corner: room on
        // screen for a label of up to 96 by 48 pixels.
        EXPECT_GE(level->x - 68.0f, 48.0f);
        EXPECT_GE(level->y - 24.0f, 24.0f);

        const float scale = NumberScaleAt(level->Size) * hover * 0.5f;
        float left = right, top = bottom;
        for (const auto* lines : {&level->NumberV, &level->NumberH})
            for (const auto& line : lines->Cells())
                for (const auto& number : line->Number) {
                    float w = 0, h = 0;
                    NumberImageSize(TPNumber::ImgInd(number->Size), number->Value, w, h);
                    // Readable on the smallest tiles: at least 13 pixels high on screen.
                    EXPECT_GE(h * NumberScaleAt(level->Size), 13.0f);
                    left = std::min(left, number->DrawX - w * scale);
                    top = std::min(top, number->DrawY - h * scale);
                }
        EXPECT_GE(left, 0.0f) << "a row clue runs off the left edge";
        EXPECT_GE(top, 0.0f) << "a column clue runs off the top edge";
    }
}

// The levels grow: the colours never fall back, and every block of ten levels has more cells
// on average than the block before it.
TEST(ShippedLevels, GrowInSizeAndColours) {
    int lastColours = 0, lastCells = 0, blockCells = 0;
    for (int n = 1; n <= kLevels; ++n) {
        SCOPED_TRACE("Level-" + std::to_string(n));
        TLevelPicture p;
        ASSERT_TRUE(LoadLevelPicture(LevelPath(n), p));
        const int colours = static_cast<int>(p.ColorIds.size());
        EXPECT_GE(colours, lastColours);
        lastColours = colours;
        blockCells += p.Cols * p.Rows;
        if (n % 10 == 0) {
            EXPECT_GT(blockCells, lastCells);
            lastCells = blockCells;
            blockCells = 0;
        }
    }
    EXPECT_EQ(lastColours, 3);
}

}  // namespace
