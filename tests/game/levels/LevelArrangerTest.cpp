#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/puzzle/PuzzleTestSupport.h"
#include "engine/data/BlockFile.h"
#include "engine/system/Hook.h"
#include "engine/system/Paths.h"
#include "game/levels/LevelArranger.h"
#include "game/levels/LevelFiles.h"
#include "game/startup/AppInit.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

using namespace puzzletest;

namespace {

// A level of cols x rows cells whose only cells are the given ones, all of colour 1.
std::shared_ptr<TPACLevel> Cells(int cols, int rows, const std::vector<std::pair<int, int>>& cells) {
    std::vector<std::string> text(rows, std::string(cols, '.'));
    for (auto [x, y] : cells) text[y][x] = '1';
    return MakeLevel(text, {1}, 0);
}

class CountDifficultyTest : public PuzzleTest {};

TEST_F(CountDifficultyTest, EachLineAddsItsOwnLengthLessItsAverageRun) {
    // Full rows of a square one-colour level: every line is one run as long as the line.
    EXPECT_EQ(MakeLevel({"111", "111", "111"}, {1})->CountDifficulty(), 0);
    // Lines without a run add nothing.
    EXPECT_EQ(Cells(4, 4, {})->CountDifficulty(), 0);

    // Column 0 holds runs of 3 and 1 (rows 0-2 and 4); each of those four rows one run of 1.
    // A column is Rows cells long: on 15 columns by 10 rows it adds 10 - 4 / 2 = 8, and every
    // row 15 - 1 = 14.
    const std::vector<std::pair<int, int>> column = {{0, 0}, {0, 1}, {0, 2}, {0, 4}};
    EXPECT_EQ(Cells(15, 10, column)->CountDifficulty(), 8 + 4 * 14);
    // On 10 columns by 15 rows the same column adds 15 - 2 = 13 and every row 10 - 1 = 9.
    EXPECT_EQ(Cells(10, 15, column)->CountDifficulty(), 13 + 4 * 9);
    // A row of 10 cells with one run of 7 adds 3, its seven columns 15 - 1 each.
    EXPECT_EQ(Cells(10, 15, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}})->CountDifficulty(), 3 + 7 * 14);

    // Every colour layer counts.
    EXPECT_EQ(MakeLevel({"12", "21"}, {1, 2})->CountDifficulty(), 8 * (2 - 1));
}

class LevelArrangerTest : public PuzzleTest {
protected:
    testsupport::TempDir dir;
    std::string savedDir;

    void SetUp() override {
        PuzzleTest::SetUp();
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        LevelArranger::WorkFolder = dir.path();
        WireHooks();  // as start-up does before it runs the arranger
    }
    void TearDown() override {
        UnsetAllHooks();
        LevelArranger::WorkFolder.clear();
        LevelArranger::AllLevels.clear();
        bDir = savedDir;
        PuzzleTest::TearDown();
    }

    // The shipped levels as the arranger's sources.
    void CopySources() {
        ASSERT_TRUE(CreateDir(dir.file("game/game/levels/Picross"), true));
        for (int n = 1; n <= LevelArranger::Levels; ++n)
            ASSERT_TRUE(CopyFile(bDir + "Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel",
                                 LevelArranger::SourcePath(n)));
    }

    // What identifies a level's picture: its colours and its "Tiles" rows.
    static std::string Picture(const std::string& path) {
        const auto level = GetBlockFile(LoadBlockFile(path), "Level");
        std::string key = GetBFString(GetBlockFile(level, "Data"), "Colors", 0);
        for (const auto& row : GetBlockFile(level, "Tiles")->SubFiles) key += "|" + row->ToString2("");
        return key;
    }
};

TEST_F(LevelArrangerTest, WritesTheHundredLevelsFromEasiestToHardestIntoTheFolderItCreates) {
    CopySources();
    std::map<std::string, int> source;
    for (int n = 1; n <= LevelArranger::Levels; ++n) source[Picture(LevelArranger::SourcePath(n))] = n;
    ASSERT_EQ(source.size(), 100u);  // every picture tells its level apart
    ASSERT_EQ(FileType(LevelArranger::OutputFolder()), 0);

    testing::internal::CaptureStdout();
    EXPECT_EQ(LevelArranger::Mainloop(), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(LevelArranger::OutputFolder(), dir.file("_WORK  MATERIALS/_ARRANGED/"));

    int lastDif = -1, lastSource = 0;
    std::vector<int> seen;
    for (int n = 1; n <= LevelArranger::Levels; ++n) {
        SCOPED_TRACE(n);
        const std::string path = dir.file("_WORK  MATERIALS/_ARRANGED/level-" + std::to_string(n) + ".rql");
        ASSERT_EQ(FileType(path), 1);
        EXPECT_EQ(testsupport::ReadFileBytes(path).find("TilesData"), std::string::npos);
        auto level = LoadPacLevel(path);
        ASSERT_TRUE(level);
        const int dif = level->CountDifficulty();
        const int from = source.at(Picture(path));
        EXPECT_GE(dif, lastDif);
        if (dif == lastDif) {
            EXPECT_GT(from, lastSource);  // equal ones keep their order
        }
        lastDif = dif;
        lastSource = from;
        seen.push_back(from);
    }
    EXPECT_EQ(std::set<int>(seen.begin(), seen.end()).size(), 100u);
    EXPECT_EQ(FileType(dir.file("_WORK  MATERIALS/_ARRANGED/level-101.rql")), 0);
}

TEST_F(LevelArrangerTest, AMissingSourceOrAnUnwritableFolderIsReportedAndNothingIsWritten) {
    CopySources();
    ASSERT_TRUE(DeleteFile(LevelArranger::SourcePath(37)));
    testing::internal::CaptureStdout();
    EXPECT_EQ(LevelArranger::Mainloop(), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Level-37.rql"), std::string::npos);
    EXPECT_NE(out.find("nothing was arranged"), std::string::npos);
    EXPECT_EQ(FileType(dir.file("_WORK  MATERIALS")), 0);

    // A file where the output folder should be.
    CopySources();
    testsupport::WriteFileBytes(dir.file("_WORK  MATERIALS"), "in the way");
    testing::internal::CaptureStdout();
    EXPECT_EQ(LevelArranger::Mainloop(), 1);
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Can't create the folder"), std::string::npos);
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("_WORK  MATERIALS")), "in the way");
}

TEST(LevelArrangerSort, EasierFirstAndEqualKeepTheirPlace) {
    TTempLevel easy, hard, alsoEasy;
    easy.dif = 3;
    alsoEasy.dif = 3;
    hard.dif = 40;
    EXPECT_GT(LevelArranger::SortFunc(easy, hard), 0);
    EXPECT_LT(LevelArranger::SortFunc(hard, easy), 0);
    EXPECT_EQ(LevelArranger::SortFunc(easy, alsoEasy), 0);
}

}  // namespace
