// Players through the real executable, with the mouse and the keyboard: the start player renamed
// and a second player made in the players pop-up, a switch between them, the exit question; a
// level played by each (continued from the main menu), and after every restart both players'
// progress as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/GameRun.h"
#include "e2e/MenuScript.h"
#include "engine/data/BlockFile.h"
#include "game/progress/Profile.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

// A cell of level 1 (5 x 5) on the game screen.
Point Cell(int column, int row) { return {385 + 72 * column, 276 + 72 * row}; }

class PlayersTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string Profiles() { return dir.file("user/.Velkaro/Quiltora-2/Profiles/"); }

    // Runs the game until `frames` after the main menu came (-1: until it ends by itself),
    // playing the script.
    void Run(const MenuScript& script, int frames) {
        GameRun run = RunGame(dir, (frames >= 0 ? "--menu-frames " + std::to_string(frames) : std::string()) +
                                       " --from-menu --frames 20000" + e2e::Script(dir, script.str()));
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
    }

    // The cells of the player's level in progress that are uncovered, as (column, row).
    std::vector<std::pair<int, int>> Uncovered(const std::string& id) {
        auto level = LoadPacLevel(Profiles() + id + ".PACLEVEL");
        std::vector<std::pair<int, int>> cells;
        if (!level) return cells;
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols; ++x)
                if (auto t = level->Tile.At(0, x, y); t && t->isCovered == 0) cells.emplace_back(x, y);
        return cells;
    }

    void ExpectBothPlayers(const std::vector<std::pair<int, int>>& ann, const std::vector<std::pair<int, int>>& bob,
                           const std::string& current) {
        auto index = LoadBlockFile(Profiles() + "Profiles.dat");
        auto listed = GetBlockFilesList(index, "Profile");
        ASSERT_EQ(listed.size(), 2u);
        EXPECT_EQ(GetBFString(listed[0], "Name"), "ANN");
        EXPECT_EQ(GetBFString(listed[1], "Name"), "BOB");
        EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), current);
        for (const char* id : {"65-78-78", "66-79-66"}) {
            bool whole = false;
            auto progress = LoadBlockFileChecked(Profiles() + id + ".AppProfile", whole);
            EXPECT_TRUE(whole) << id;
            EXPECT_EQ(GetBFString(progress, "Data::Screen"), "GameScreen") << id;
            EXPECT_EQ(GetBFInt(progress, "Data::Level"), 1) << id;
            EXPECT_EQ(GetBFString(progress, "Levels::Level1"), "1,0,1,0,0,0,0") << id;
        }
        EXPECT_EQ(Uncovered("65-78-78"), ann);
        EXPECT_EQ(Uncovered("66-79-66"), bob);
    }
};

TEST_F(PlayersTest, PlayersAreMadeWithTheMouseAndTheKeyboardAndSwitched) {
    // The start player renamed ANN with the mouse, BOB made with the keyboard; OK saves; BOB,
    // a fresh player, starts a new game from Play.
    MenuScript first;
    first.Click(20, kMenuPlayers).Click(60, kPlayersRename);
    for (int i = 0; i < 6; ++i) first.Key(100 + 2 * i, 8);
    first.Text(115, "ann").Click(125, kEntryOk);
    first.Click(170, kPlayersNew).Text(210, "bob").Key(216, 13);
    first.Click(255, kPlayersOk).Click(300, kMenuPlay);
    Run(first, 380);
    auto index = LoadBlockFile(Profiles() + "Profiles.dat");
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "66-79-66");
    ASSERT_EQ(GetBlockFilesList(index, "Profile").size(), 2u);
    EXPECT_EQ(GetBFString(GetBlockFilesList(index, "Profile")[0], "Name"), "ANN");
    // The old name's file goes where a deleted player's go: no rebuilt list brings PLAYER back.
    EXPECT_EQ(FileType(Profiles() + "80-76-65-89-69-82.AppProfile"), 0);
    EXPECT_EQ(FileType(Profiles() + "Deleted/80-76-65-89-69-82.AppProfile"), 1);
    EXPECT_EQ(GetBFString(LoadBlockFile(Profiles() + "66-79-66.AppProfile"), "Levels::Level1"), "1,0,1,0,0,0,0");

    // Restarted: ANN picked, then the program left through Exit and its question (a run that
    // did not end so would run into the harness's time limit).
    MenuScript second;
    second.Click(20, kMenuPlayers).Click(60, Slot(0)).Click(100, kPlayersOk);
    second.Click(145, kMenuExit).Click(185, kInfoYes);
    Run(second, -1);
    index = LoadBlockFile(Profiles() + "Profiles.dat");
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "65-78-78");
    EXPECT_EQ(GetBlockFilesList(index, "Profile").size(), 2u);
    EXPECT_EQ(GetBFString(LoadBlockFile(Profiles() + "66-79-66.AppProfile"), "Levels::Level1"), "1,0,1,0,0,0,0");
}

TEST_F(PlayersTest, EachPlayerPlaysALevelAndKeepsItThroughRestartsAndASwitch) {
    // ANN and BOB as the test above leaves them, BOB current, both at level 1 on the game
    // screen. (The stages map, which leads into a level, has no behaviour yet: the files stand
    // for it, as the map leaves them once it has opened the level and its help has been seen.)
    testsupport::WriteFileBytes(Profiles() + "Profiles.dat",
                                "Settings{\n\tCurrProfile = \"66-79-66\"\n}\n"
                                "Profile{\n\tId = \"65-78-78\"\n\tName = \"ANN\"\n}\n"
                                "Profile{\n\tId = \"66-79-66\"\n\tName = \"BOB\"\n}\n");
    for (const char* name : {"ANN", "BOB"})
        testsupport::WriteFileBytes(Profiles() + CreateNewProfile(name)->FileName + ".AppProfile",
                                    std::string("Data{\n\tName = \"") + name +
                                        "\"\n\tLevel = 1\n\tScreen = \"GameScreen\"\n\tTutorialScreenShowed = 1\n}\n"
                                        "Levels{\n\ti = 1\n\tLevel1 = \"1,0,1,0,0,0,0\"\n}\n");

    // BOB continues and uncovers the third row.
    MenuScript first;
    first.Click(20, kMenuPlay).Click(60, kContinue);
    for (int c = 0; c < 5; ++c) first.Click(400 + 8 * c, Cell(c, 2));
    Run(first, 450);
    const std::vector<std::pair<int, int>> bob{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}};
    EXPECT_EQ(Uncovered("66-79-66"), bob);

    // Restarted, switched to ANN, who continues and uncovers three cells of the second row;
    // BOB's level is kept as he left it.
    MenuScript second;
    second.Click(20, kMenuPlayers).Click(60, Slot(0)).Click(100, kPlayersOk);
    second.Click(145, kMenuPlay).Click(185, kContinue);
    for (int c = 1; c < 4; ++c) second.Click(525 + 8 * c, Cell(c, 1));
    Run(second, 565);
    ExpectBothPlayers({{1, 1}, {2, 1}, {3, 1}}, bob, "65-78-78");
}

}  // namespace
