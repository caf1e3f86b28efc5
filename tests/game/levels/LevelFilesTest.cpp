#include <gtest/gtest.h>

#include "game/puzzle/PuzzleTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/levels/LevelFiles.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

using namespace puzzletest;

namespace {

class LevelFilesTest : public PuzzleTest {
protected:
    testsupport::TempDir dir;

    // Writes a level file from the lines of its "Data" block and the rest of the "Level" block.
    std::string Write(const std::string& name, const std::string& data, const std::string& rest) {
        const std::string path = dir.file(name);
        testsupport::WriteFileBytes(path, "Level{\n\tData{\n" + data + "\t}\n" + rest + "}\n");
        return path;
    }
};

const char* const kData2x2 = "\t\tDims = 2, 2\n\t\tSize = 1\n\t\tColors = \"1 2\"\n";
const char* const kTiles2x2 = "\tTiles{\n\t\tRow0 = 1, 2\n\t\tRow1 = 0, 1\n\t}\n";

TEST_F(LevelFilesTest, RoundTripKeepsGridColoursPlayStateCountersAndHints) {
    auto level = MakeLevel({"1.2.", "3311", ".2.."}, {3, 1, 2}, 1);
    level->GetTile(1, 0, 0)->Show(0, 1);  // right
    level->GetTile(1, 1, 0)->Show(0, 1);  // wrong
    level->GetTile(0, 0, 1)->Mark(0);     // wrong cross of a colour-3 cell
    level->GetTile(2, 3, 2)->Mark(0);     // right cross
    level->CurrStars = 1;
    level->Mistakes = 2;
    level->LevelSeconds = 75;
    level->TIlesUncovered = 1;
    level->TilesCrossed = 1;
    level->HintWasUsed = 1;
    level->SetHints(0);
    level->HintAvailableAtThisLevel[0] = level->HintAvailableAtThisLevel[1] = 1;
    level->HintIsLoaded[1] = 1;
    level->HintAddParts[0] = 5;
    level->LoadedX = 100;
    level->LoadedY = 50;

    const std::string path = dir.file("progress.PACLEVEL");
    ASSERT_TRUE(SaveLevel(level, path));
    auto back = std::dynamic_pointer_cast<TPACLevel>(LoadLevel(path));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Cols, 4);
    EXPECT_EQ(back->Rows, 3);
    EXPECT_EQ(back->Size, 1);
    EXPECT_EQ(back->ColorArr, level->ColorArr);
    EXPECT_EQ(back->ColorDone, (std::vector<int>{0, 0, 0}));
    for (int c = 0; c < 3; ++c)
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 3; ++y) {
                SCOPED_TRACE(testing::Message() << c << "," << x << "," << y);
                auto a = level->GetTile(c, x, y);
                auto b = back->GetTile(c, x, y);
                EXPECT_EQ(b->isTile, a->isTile);
                EXPECT_EQ(b->isCovered, a->isCovered);
                EXPECT_EQ(b->isError, a->isError);
            }
    EXPECT_EQ(back->Score, level->Score);
    EXPECT_EQ(back->CurrStars, 1);
    EXPECT_EQ(back->Mistakes, 2);
    EXPECT_EQ(back->LevelSeconds, 75);
    EXPECT_EQ(back->TIlesUncovered, 1);
    EXPECT_EQ(back->TilesCrossed, 1);
    EXPECT_EQ(back->HintWasUsed, 1);
    EXPECT_EQ(back->HintAvailableAtThisLevel, level->HintAvailableAtThisLevel);
    EXPECT_EQ(back->HintIsLoaded, level->HintIsLoaded);
    EXPECT_EQ(back->HintAddParts[0], 0.0f);
    EXPECT_EQ(back->LoadedX, 100);
    EXPECT_EQ(back->LoadedY, 50);

    // Without the play state every tile reads back covered.
    ASSERT_TRUE(SavePacLevel(level, path, 1));
    EXPECT_EQ(isBFEntry(GetBlockFile(LoadBlockFile(path), "Level"), "TilesData"), 0);
    back = LoadPacLevel(path);
    ASSERT_NE(back, nullptr);
    for (auto& t : back->Tile.Cells()) EXPECT_EQ(t->GetSaveString(), "1|0");
}

TEST_F(LevelFilesTest, HandMadeFileReadsAsTheFormatSays) {
    const std::string path = Write("hand.PACLevel",
                                   "\t\tDims = 3, 2\n\t\tSize = 1\n\t\tColors = \"3 1\"\n"
                                   "\t\tPosition = 100.7, 50.2\n\t\tScore = 4\n",
                                   "\tTiles{\n\t\tRow0 = 3, 1, 0\n\t\tRow1 = 0, 0, 1, 7\n\t}\n"
                                   "\tTilesData{\n\t\tisSaved = 1\n"
                                   "\t\tColor1{\n\t\t\tRow0 = \"1|0\", \"0|0\", \"0|1\"\n\t\t}\n\t}\n");
    auto level = LoadPacLevel(path);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->ColorArr, (std::vector<int>{3, 1}));
    EXPECT_EQ(level->GetTile(0, 0, 0)->isTile, 3);
    EXPECT_EQ(level->GetTile(1, 1, 0)->isTile, 1);  // id 1 is layer 1's
    EXPECT_EQ(level->GetTile(1, 2, 1)->isTile, 1);
    EXPECT_EQ(level->GetTile(0, 1, 0)->isTile, 0);
    // "Row" finds the entries the writer names "row".
    EXPECT_EQ(level->GetTile(1, 1, 0)->isCovered, 0);
    EXPECT_EQ(level->GetTile(1, 2, 0)->isError, 1);
    EXPECT_EQ(level->GetTile(0, 1, 0)->isCovered, 1);  // layer 0 has no saved rows
    EXPECT_EQ(level->CurrStars, 3);                    // no "Stars": three
    EXPECT_EQ(level->Score, 4);
    EXPECT_EQ(level->LoadedX, 100);
    EXPECT_EQ(level->LoadedY, 50);
    // Centred, whatever the file's position.
    const float x = level->x;
    level->Center();
    EXPECT_EQ(level->x, x);
    // A board of 6 cells gets three hint slots.
    EXPECT_EQ(level->HintIsLoaded[2], 1);
    EXPECT_EQ(level->HintIsLoaded[3], 0);

    ASSERT_TRUE(SaveLevel(level, path));
    const auto data = GetBlockFile(GetBlockFile(LoadBlockFile(path), "Level"), "Data");
    EXPECT_EQ(GetBFString(data, "Position", 0), "100");
    EXPECT_EQ(GetBFString(data, "Position", 1), "50");
    EXPECT_EQ(GetBFString(data, "Colors", 0), "3 1");
}

TEST_F(LevelFilesTest, StarsAndDefaultHintsFromTheFile) {
    auto zero = LoadPacLevel(Write("a.PACLevel", std::string(kData2x2) + "\t\tStars = 0\n", kTiles2x2));
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->CurrStars, 0);

    std::string tiles = "\tTiles{\n";
    for (int y = 0; y < 11; ++y) tiles += "\t\tRow" + std::to_string(y) + " = 1\n";
    tiles += "\t}\n";
    auto tall = LoadPacLevel(Write("b.PACLevel", "\t\tDims = 10, 11\n\t\tColors = \"1\"\n", tiles));
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->HintAvailableAtThisLevel[5], 1);  // more than 100 cells: six slots
    EXPECT_EQ(tall->HintAvailableAtThisLevel[6], 0);
}

TEST_F(LevelFilesTest, LoadLevelChoosesByExtension) {
    const std::string body = std::string("Level{\n\tData{\n") + kData2x2 + "\t}\n" + kTiles2x2 + "}\n";
    struct Case {
        const char* name;
        bool loads;
    } cases[] = {{"l.PACLevel", true}, {"l.paclevel", true}, {"l.PACLEVEL", true}, {"l.txt", false}, {"l", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WriteFileBytes(dir.file(c.name), body);
        EXPECT_EQ(LoadLevel(dir.file(c.name)) != nullptr, c.loads);
    }
}

TEST_F(LevelFilesTest, BadFilesGiveAnErrorLineAndNoLevelWithoutTouchingTheFile) {
    const std::string run21 = "\tTiles{\n\t\tRow0 = 1" + [] {
        std::string s;
        for (int i = 0; i < 20; ++i) s += ", 1";
        return s;
    }() + "\n\t}\n";
    struct Case {
        const char* name;
        std::string data, rest;
        const char* message;
    } cases[] = {
        {"no cells", "\t\tDims = 0, 5\n\t\tColors = \"1\"\n", "", "grid of 0 x 5"},
        {"negative", "\t\tDims = -3, 4\n\t\tColors = \"1\"\n", "", "grid of -3 x 4"},
        {"huge", "\t\tDims = 100000, 100000\n\t\tColors = \"1\"\n", "", "grid of 100000 x 100000"},
        {"no colours", "\t\tDims = 2, 2\n", kTiles2x2, "filled cells but no colours"},
        {"blank without colours", "\t\tDims = 2, 2\n\t\tColors = \"\"\n", "", "no colours"},
        {"too many colours", "\t\tDims = 2, 2\n\t\tColors = \"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17\"\n", kTiles2x2,
         "17 colours"},
        {"run of 21", "\t\tDims = 21, 1\n\t\tColors = \"1\"\n", run21, "a run of 21 cells"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write("bad.PACLEVEL", c.data, c.rest);
        const std::string before = testsupport::ReadFileBytes(path);
        testing::internal::CaptureStdout();
        auto level = LoadLevel(path);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(level, nullptr);
        EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(testsupport::ReadFileBytes(path), before);
    }

    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadLevel(dir.file("missing.PACLevel")), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("NO FILE ERROR"), std::string::npos);
}

TEST_F(LevelFilesTest, RepairableFaultsKeepTheLevelInProgress) {
    struct Case {
        const char* name;
        std::string data, rest;
        const char* message;  // empty: no line expected
        int size, stars;
    } cases[] = {
        {"size past the table", "\t\tDims = 2, 2\n\t\tSize = 99\n\t\tColors = \"1 2\"\n", kTiles2x2, "size index 99", 2,
         3},
        {"negative size", "\t\tDims = 2, 2\n\t\tSize = -4\n\t\tColors = \"1 2\"\n", kTiles2x2, "size index -4", 0, 3},
        {"colour past the palette", "\t\tDims = 2, 2\n\t\tColors = \"1 9\"\n", kTiles2x2, "colour id 9", 0, 3},
        {"stars past three", std::string(kData2x2) + "\t\tStars = 7\n", kTiles2x2, "star count 7", 1, 3},
        {"eleven hint slots", kData2x2,
         std::string(kTiles2x2) + "\tHints = \"1|1 1|1 1|1 1|1 1|1 1|1 1|1 1|1 1|1 1|1 1|1\"\n",
         "more than 9 hint slots", 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            Write("fixable.PACLEVEL", c.data,
                  c.rest + "\tTilesData{\n\t\tisSaved = 1\n\t\tColor0{\n\t\t\trow0 = \"0|1\"\n\t\t}\n\t}\n");
        testing::internal::CaptureStdout();
        auto level = LoadPacLevel(path);
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_NE(level, nullptr) << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(level->Size, c.size);
        EXPECT_EQ(level->CurrStars, c.stars);
        EXPECT_EQ(level->GetTile(0, 0, 0)->GetSaveString(), "0|1");  // the progress is kept
    }
}

TEST_F(LevelFilesTest, ABoardPlacedFarOffLoadsCentredWithSaneHitBoxes) {
    // Found by fuzzing: tiles were placed at the file's position before centring, and the
    // hit box of a tile 9e9 pixels away overflowed an int.
    auto level = LoadPacLevel(Write("far.PACLevel", std::string(kData2x2) + "\t\tPosition = 9e9, -9e9\n", kTiles2x2));
    ASSERT_NE(level, nullptr);
    const auto tile = level->GetTile(0, 1, 1);
    EXPECT_GT(tile->ox, 0);
    EXPECT_LT(tile->ox, 1366);
    EXPECT_GT(tile->oy, 0);
    EXPECT_LT(tile->oy, 768);
    level->SetPosition(9e9f, -9e9f);
    EXPECT_EQ(tile->ox, INT32_MAX);
    EXPECT_EQ(tile->oy, INT32_MIN);
}

TEST_F(LevelFilesTest, ColourIdsBelowOneHaveNoPaletteColour) {
    testing::internal::CaptureStdout();
    auto level = LoadPacLevel(Write("ids.PACLevel", "\t\tDims = 2, 2\n\t\tColors = \"2 -2147483648\"\n", kTiles2x2));
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_NE(level, nullptr) << out;
    EXPECT_NE(out.find("colour id -2147483648"), std::string::npos) << out;
    for (int layer : {0, 1}) {
        const auto& line = level->NumberV(layer, 0);
        ASSERT_TRUE(line && !line->Number.empty());
        EXPECT_EQ(line->Number[0]->TileColor, layer == 0 ? 1 : -1) << layer;
    }
}

TEST_F(LevelFilesTest, SaveLevelReportsFailureAndLeavesNoPartialFile) {
    auto level = MakeLevel({"1."}, {1});
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveLevel(level, dir.file("no-such-folder/level.PACLEVEL")));
    EXPECT_FALSE(SaveLevel(nullptr, dir.file("level.PACLEVEL")));
    EXPECT_FALSE(SaveLevel(std::make_shared<TLevel>(), dir.file("level.PACLEVEL")));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ERROR"), std::string::npos);
    EXPECT_EQ(FileType(dir.file("level.PACLEVEL")), 0);
    EXPECT_EQ(FileType(dir.file("no-such-folder")), 0);
}

}  // namespace
