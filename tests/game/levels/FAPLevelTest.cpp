#include <gtest/gtest.h>

#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/puzzle/PuzzleTestSupport.h"
#include "engine/system/Paths.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

using namespace puzzletest;

namespace {

// A neighbour-count level drawn as text: one string per row, '.' an empty cell and a digit the
// cell's solution colour id; numbers maps (x, y) to the colour id the cell counts.
std::shared_ptr<TFAPLevel> MakeFap(const std::vector<std::string>& rows, const std::vector<int>& colours,
                                   const std::map<std::pair<int, int>, int>& numbers, int size = 1) {
    auto level = std::make_shared<TFAPLevel>();
    level->Rows = static_cast<int>(rows.size());
    level->Cols = static_cast<int>(rows[0].size());
    level->Size = size;
    level->Colors = static_cast<int>(colours.size());
    level->InitArray();
    level->InitColors(level->Colors);
    level->ColorArr = colours;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x)
            if (rows[y][x] != '.') level->Tile(x, y)->isTile = rows[y][x] - '0';
    for (const auto& [at, colour] : numbers) level->Tile(at.first, at.second)->isNumber = colour;
    level->InitAll();
    level->Center();
    return level;
}

class FAPLevelTest : public PuzzleTest {
protected:
    void SetUp() override {
        PuzzleTest::SetUp();
        TFTile::CurrentColorIndex = 0;
    }
    void TearDown() override {
        TFTile::CurrentColorIndex = 0;
        PuzzleTest::TearDown();
    }
};

bool Shown(const std::shared_ptr<TTileAdd>& overlay) {
    return overlay && overlay->Alpha == 1.0f && overlay->Scale == 1.0f;
}

TEST_F(FAPLevelTest, NumbersOfAThreeByThreeLevelCountFourInCornersSixOnBordersNineInTheMiddle) {
    // Every cell counts colour 1 and is of colour 1; the block of a cell past the border is cut.
    std::map<std::pair<int, int>, int> all;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y) all[{x, y}] = 1;
    auto level = MakeFap({"111", "111", "111"}, {1}, all);
    const int expected[3][3] = {{4, 6, 4}, {6, 9, 6}, {4, 6, 4}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(level->GetTile(x, y)->RealCounter, expected[y][x]);
            EXPECT_EQ(level->GetTile(x, y)->CurrCounter, 0);
        }

    // Other colours and empty cells do not count; a cell without a number counts nothing.
    auto mixed = MakeFap({"12.", ".1.", "2.1"}, {1, 2}, {{{0, 0}, 1}, {{1, 0}, 2}, {{2, 2}, 1}, {{0, 2}, 2}});
    EXPECT_EQ(mixed->GetTile(0, 0)->RealCounter, 2);  // (0,0) and (1,1)
    EXPECT_EQ(mixed->GetTile(1, 0)->RealCounter, 1);  // itself
    EXPECT_EQ(mixed->GetTile(2, 2)->RealCounter, 2);  // (1,1) and itself
    EXPECT_EQ(mixed->GetTile(0, 2)->RealCounter, 1);  // itself
    EXPECT_EQ(mixed->GetTile(1, 1)->RealCounter, 0);
}

TEST_F(FAPLevelTest, PaintingCountsIntoEveryNumberOfTheBlockAndTheDotFollowsTheCount) {
    testsupport::TempDir dir;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    auto level = CreateTestFAPLevel();
    const bool saved = FileType("Test.FAPLevel") == 1;
    ASSERT_EQ(chdir(old), 0);
    EXPECT_TRUE(saved);

    auto n55 = level->GetTile(5, 5), n36 = level->GetTile(3, 6), n98 = level->GetTile(9, 8);
    EXPECT_EQ(n55->RealCounter, 4);
    EXPECT_EQ(n36->RealCounter, 2);
    EXPECT_EQ(n98->RealCounter, 1);
    ASSERT_TRUE(n55->Number);
    EXPECT_EQ(n55->Number->ColorId, 0);
    EXPECT_EQ(n98->Number->ColorId, 1);
    EXPECT_EQ(n98->Number->LevelColorIndex, 1);

    level->GetTile(4, 4)->Show(1);
    EXPECT_EQ(n55->CurrCounter, 1);
    EXPECT_EQ(n36->CurrCounter, 0);
    for (auto [x, y] : {std::pair{4, 5}, {4, 6}, {5, 6}}) level->GetTile(x, y)->Show(1);
    EXPECT_EQ(n55->CurrCounter, n55->RealCounter);
    EXPECT_EQ(n36->CurrCounter, 2);
    // Paint of another colour is not counted; clearing takes the count back.
    level->GetTile(8, 8)->Show(2);
    EXPECT_EQ(n98->CurrCounter, 1);
    level->GetTile(4, 4)->Show(0);
    EXPECT_EQ(n55->CurrCounter, 3);
    EXPECT_FALSE(level->GetTile(4, 4)->CurrTile);
}

TEST_F(FAPLevelTest, ANumberCountsItselfAndAZeroLosesItsDotWhenItsColourIsPainted) {
    auto level = MakeFap({"1..", "...", "..."}, {1, 2}, {{{0, 0}, 1}, {{1, 1}, 2}});
    auto self = level->GetTile(0, 0), zero = level->GetTile(1, 1);
    EXPECT_EQ(self->RealCounter, 1);
    EXPECT_EQ(zero->RealCounter, 0);
    EXPECT_EQ(zero->CurrCounter, zero->RealCounter);  // the dot from the start
    level->GetTile(2, 2)->Show(2);
    EXPECT_EQ(zero->CurrCounter, 1);
    // A number cell may be painted in its own colour (and counts itself then), not in another.
    self->Show(2);
    EXPECT_EQ(self->CurrColor, 0);
    self->Show(1);
    EXPECT_EQ(self->CurrColor, 1);
    EXPECT_EQ(self->CurrCounter, 1);
    self->Show(0);
    EXPECT_EQ(self->CurrColor, 0);
}

TEST_F(FAPLevelTest, PaintRemovesOnlyTheCurrentCrossAndCrossingClearsThePaint) {
    auto level = MakeFap({"1..", "...", "..."}, {1, 2, 3}, {{{0, 0}, 1}});
    auto cell = level->GetTile(1, 0), number = level->GetTile(0, 0);
    cell->Mark(0);
    cell->Mark(2);
    EXPECT_TRUE(Shown(cell->CurrMark[0]));
    EXPECT_EQ(cell->GetCrossedString(), "1:0:1");
    TFTile::CurrentColorIndex = 2;
    cell->Show(1);
    EXPECT_EQ(cell->GetCrossedString(), "1:0:0");
    EXPECT_FALSE(Shown(cell->CurrMark[2]));
    EXPECT_TRUE(cell->isTiled());
    EXPECT_EQ(number->CurrCounter, 1);

    cell->Mark(1);
    EXPECT_EQ(cell->CurrColor, 0);
    EXPECT_FALSE(cell->isTiled());
    EXPECT_EQ(number->CurrCounter, 0);
    EXPECT_EQ(cell->GetCrossedString(), "1:1:0");
    cell->UnMark(0);
    EXPECT_EQ(cell->GetCrossedString(), "0:1:0");
    // Layers that do not exist are left alone.
    cell->Mark(3);
    cell->Mark(-1);
    EXPECT_EQ(cell->GetCrossedString(), "0:1:0");
}

TEST_F(FAPLevelTest, PlayStringsWriteAndReadBackWithTheirOverlays) {
    auto level = MakeFap({"..2", "...", "..."}, {1, 2, 3}, {{{1, 1}, 2}});
    auto cell = level->GetTile(2, 0);
    EXPECT_EQ(cell->GetSavePlayString(), "0|0|0:0:0");
    cell->Show(2);
    cell->Mark(1);  // clears the paint
    cell->Show(2);  // paints again; the second layer's cross goes only while it is current
    EXPECT_EQ(cell->GetSavePlayString(), "0|2|0:1:0");

    // A restored cell shows its paint and its crosses, and the numbers count the paint.
    auto other = MakeFap({"..2", "...", "..."}, {1, 2, 3}, {{{1, 1}, 2}});
    auto back = other->GetTile(2, 0);
    back->GetFromPlayString("0|2|0:1:0");
    EXPECT_EQ(back->isNumber, 0);
    EXPECT_EQ(back->CurrColor, 2);
    EXPECT_EQ(back->isCrossed, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(back->isTiled());
    EXPECT_TRUE(Shown(back->CurrTile));
    EXPECT_TRUE(Shown(back->CurrMark[1]));
    EXPECT_FALSE(Shown(back->CurrMark[0]));
    other->InitAll();
    EXPECT_EQ(other->GetTile(1, 1)->CurrCounter, 1);
    EXPECT_EQ(back->GetSavePlayString(), "0|2|0:1:0");
    // Clearing a restored paint takes its overlay away.
    back->GetFromPlayString("0|0");
    EXPECT_FALSE(back->isTiled());
    EXPECT_EQ(back->isCrossed, (std::vector<int>{0, 1, 0}));
}

TEST_F(FAPLevelTest, ACrossesTextOfAnotherLengthKeepsOneEntryPerLayer) {
    auto level = MakeFap({"...", "...", "..."}, {1, 2, 3}, {});
    auto cell = level->GetTile(0, 0);
    struct Case {
        const char* text;
        std::vector<int> crosses;
    } cases[] = {
        // clang-format off
        {"0|0|1", {1, 0, 0}},
        {"0|0|", {1, 0, 0}},  // no third piece: the crosses stay
        {"0|0|0:1", {0, 1, 0}},
        {"0|0|1:1:1:1:1|7", {1, 1, 1}},
        {"0|0|5:0:-2", {1, 0, 1}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        cell->GetFromPlayString(c.text);
        EXPECT_EQ(cell->isCrossed, c.crosses);
    }
    // Every layer can be crossed and uncrossed after a short text.
    cell->GetFromPlayString("0|0|1");
    for (int k = 0; k < 3; ++k) {
        cell->Mark(k);
        EXPECT_TRUE(Shown(cell->CurrMark[k]));
    }
    EXPECT_EQ(cell->GetCrossedString(), "1:1:1");
}

class FAPFilesTest : public FAPLevelTest {
protected:
    testsupport::TempDir dir;
    std::string Write(const std::string& name, const std::string& text) {
        testsupport::WriteFileBytes(dir.file(name), text);
        return dir.file(name);
    }
};

TEST_F(FAPFilesTest, WritingThenReadingKeepsTheLevelAndItsPlayByTheExtension) {
    auto level = MakeFap({"1.2.", ".11.", "2..1"}, {1, 2}, {{{1, 0}, 1}, {{3, 0}, 2}, {{2, 2}, 1}}, 2);
    level->GetTile(1, 1)->Show(1);
    level->GetTile(0, 0)->Mark(1);
    level->SetPosition(120.75f, 33.5f);
    const std::string path = dir.file("level.fapLEVEL");
    ASSERT_TRUE(SaveLevel(level, path));
    const std::string text = testsupport::ReadFileBytes(path);
    EXPECT_LT(text.find("Data"), text.find("Tiles"));
    EXPECT_LT(text.find("Tiles"), text.find("TilesData"));
    EXPECT_EQ(text.find("Level{"), std::string::npos);  // no wrapper block

    auto back = std::dynamic_pointer_cast<TFAPLevel>(LoadLevel(path));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Cols, 4);
    EXPECT_EQ(back->Rows, 3);
    EXPECT_EQ(back->Size, 2);
    EXPECT_EQ(back->ColorArr, (std::vector<int>{1, 2}));
    EXPECT_EQ(back->ColorDone, (std::vector<int>{0, 0}));
    EXPECT_EQ(back->x, 120.0f);
    EXPECT_EQ(back->y, 33.0f);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(back->GetTile(x, y)->isTile, level->GetTile(x, y)->isTile);
            EXPECT_EQ(back->GetTile(x, y)->GetSavePlayString(), level->GetTile(x, y)->GetSavePlayString());
            EXPECT_EQ(back->GetTile(x, y)->CurrCounter, level->GetTile(x, y)->CurrCounter);
        }
    EXPECT_TRUE(back->GetTile(1, 1)->isTiled());
    EXPECT_TRUE(Shown(back->GetTile(0, 0)->CurrMark[1]));
    // The cells sit at the pitch of the size index, from the level's top-left corner.
    EXPECT_EQ(back->GetTile(1, 0)->DrawX, 120.0f + 40.0f + 20.0f);
    EXPECT_EQ(back->GridWidth, 160);
    EXPECT_EQ(back->GridHeight, 120);
}

TEST_F(FAPFilesTest, UnplayableFilesAreRefusedAndImpossiblePlayIsRepaired) {
    const std::string tilesData = "TilesData{\n\tRow0 = \"3|1|0\", \"2|1|1:1\"\n}\n";
    struct Case {
        const char* name;
        std::string text;
    } refused[] = {
        {"no cells", "Data{\n\tDims = 0, 2\n\tColors = \"1\"\n}\n"},
        {"too wide", "Data{\n\tDims = 101, 1\n\tColors = \"1\"\n}\n"},
        {"no colours", "Data{\n\tDims = 2, 1\n\tColors = \"\"\n}\n"},
        {"no data", ""},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(LoadFAPLevel(Write("bad.FAPLevel", c.text)));
        EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    }
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadFAPLevel(dir.file("missing.FAPLevel")));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("NO FILE ERROR"), std::string::npos);

    // A number of a colour the level lacks and a number cell painted in another colour.
    testing::internal::CaptureStdout();
    auto level = LoadFAPLevel(Write("odd.FAPLevel",
                                    "Data{\n\tDims = 2, 1\n\tSize = 9\n\tColors = \"1 2\"\n}\n"
                                    "Tiles{\n\tRow0 = 1, 2\n}\n" +
                                        tilesData));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(level);
    EXPECT_NE(out.find("size index 9"), std::string::npos);
    EXPECT_EQ(level->Size, 2);
    EXPECT_NE(out.find("colour id 3"), std::string::npos);
    EXPECT_EQ(level->GetTile(0, 0)->isNumber, 0);
    EXPECT_FALSE(level->GetTile(0, 0)->Number);
    EXPECT_EQ(level->GetTile(0, 0)->CurrColor, 1);  // a cell without a number may hold any colour
    EXPECT_EQ(level->GetTile(1, 0)->isNumber, 2);
    EXPECT_EQ(level->GetTile(1, 0)->CurrColor, 0);
    EXPECT_FALSE(level->GetTile(1, 0)->isTiled());
    EXPECT_EQ(level->GetTile(1, 0)->isCrossed, (std::vector<int>{1, 1}));
}

TEST_F(FAPFilesTest, TheShippedLevelsReadWithoutAReportAndHaveNumbersOfEveryColour) {
    const std::string saved = bDir;
    bDir = testsupport::SourceDir() + "/data/";
    ResetPlayFieldTables();
    TSpecialLoads().Setup();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        testing::internal::CaptureStdout();
        auto level = LoadLevel(bDir + "Game/Levels/FAP/Level-" + std::to_string(n) + ".FAPLevel");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        ASSERT_TRUE(std::dynamic_pointer_cast<TFAPLevel>(level));
        std::map<int, int> numbers;
        for (int x = 0; x < level->Cols; ++x)
            for (int y = 0; y < level->Rows; ++y) {
                auto t = std::dynamic_pointer_cast<TFAPLevel>(level)->GetTile(x, y);
                EXPECT_EQ(t->CurrColor, 0);  // fresh: nothing painted
                if (t->isNumber) ++numbers[t->isNumber];
            }
        EXPECT_EQ(numbers.size(), level->ColorArr.size());
    }
    bDir = saved;
}

TEST_F(FAPFilesTest, ExtremeNumbersStillRead) {
    // Positions no int holds (and no number at all): the cells' hit boxes saturate.
    testing::internal::CaptureStdout();
    auto level =
        LoadFAPLevel(Write("far.FAPLevel", "Data{\n\tDims = 2, 1\n\tColors = \"1\"\n\tPosition = 9e9, -9e9\n}\n"));
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(level);
    EXPECT_EQ(level->GetTile(1, 0)->ox, 2147483647);
    EXPECT_EQ(level->GetTile(1, 0)->oy, -2147483647 - 1);
    level = LoadFAPLevel(Write("nan.FAPLevel", "Data{\n\tDims = 1, 1\n\tColors = \"1\"\n\tPosition = nan, 0\n}\n"));
    ASSERT_TRUE(level);
    EXPECT_EQ(level->GetTile(0, 0)->ox, 0);
    // A number cell counting the lowest int: no colour of the level, so no number.
    testing::internal::CaptureStdout();
    level = LoadFAPLevel(Write("low.FAPLevel",
                               "Data{\n\tDims = 2, 1\n\tColors = \"1\"\n}\n"
                               "TilesData{\n\tRow0 = \"-2147483648|0|0\", \"1|-2147483648|0\"\n}\n"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("-2147483648"), std::string::npos);
    ASSERT_TRUE(level);
    EXPECT_FALSE(level->GetTile(0, 0)->Number);
    EXPECT_EQ(level->GetTile(1, 0)->CurrColor, 0);
}

}  // namespace
