// The developer entries of the real executable: a neighbour-count level played from its file
// with --play-level, and the level arranger run with --arrange-levels in a working folder.
#include <gtest/gtest.h>

#include <string>

#include "e2e/GameRun.h"
#include "engine/system/Paths.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

std::string DataDir() { return testsupport::SourceDir() + "/data/"; }
std::string FapFile(int n) { return DataDir() + "Game/Levels/FAP/Level-" + std::to_string(n) + ".FAPLevel"; }

// The level as the game screen lays it out on the 1024 x 768 picture: centred.
std::shared_ptr<TFAPLevel> LaidOut(int n) {
    const std::string saved = bDir;
    bDir = DataDir();
    ResetPlayFieldTables();
    TSpecialLoads().Setup();
    auto level = LoadFAPLevel(FapFile(n));
    if (level) level->Center();
    bDir = saved;
    return level;
}

// A window pixel of a cell, down and left of its centre: clear of the number and its dot.
uint32_t CellPixel(const TPixmapPtr& shot, const TFAPLevel& level, int x, int y) {
    auto t = level.GetTile(x, y);
    const float off = GridSizeAt(level.Size) * 0.3f;
    return Rgb(shot, kX + static_cast<int>(t->DrawX - off), static_cast<int>(t->DrawY + off));
}

TEST(DeveloperToolsTest, ANeighbourCountLevelIsPaintedAndCrossedByDraggingOnTheGameScreen) {
    auto level = LaidOut(1);
    ASSERT_TRUE(level);
    ASSERT_EQ(level->Cols, 6);
    // Row 1 is all of the level's one colour, row 5 all empty.
    for (int x = 0; x < 6; ++x) ASSERT_EQ(level->GetTile(x, 1)->isTile, 1);
    int frame = 360;  // counted from the main menu's first frame (FromMenu)
    std::string script;
    auto add = [&](const std::string& event) { script += std::to_string(frame++) + " " + event + "\n"; };
    auto move = [&](int x, int y) {
        auto t = level->GetTile(x, y);
        add("move " + std::to_string(t->DrawX) + " " + std::to_string(t->DrawY));
    };
    auto drag = [&](int y, int x1, int x2, int button) {
        move(x1, y);
        add("down " + std::to_string(button));
        for (int x = x1; x <= x2; ++x) move(x, y);
        add("up " + std::to_string(button));
        move(x2, y);  // the drag ends over a cell with no button held
    };
    drag(1, 0, 5, 1);
    drag(5, 0, 2, 2);
    add("move 20 700");
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--play-level " + Quote(FapFile(1)) + FromMenu(frame + 5) + Script(dir, script));
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.shot);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;

    // Painted cells show the tinted box in the palette's first colour; untouched ones the cover.
    const uint32_t cover = CellPixel(run.shot, *level, 3, 3);
    EXPECT_TRUE(Near(cover, 0xE0DAE9u, 30)) << std::hex << cover;
    const uint32_t red = CellPixel(run.shot, *level, 0, 1);
    EXPECT_FALSE(Near(red, cover, 40)) << std::hex << red;
    for (int x = 1; x < 6; ++x) EXPECT_TRUE(Near(CellPixel(run.shot, *level, x, 1), red, 16)) << x;
    // The crossed cells show the cross, the one past the drag does not.
    for (int x = 0; x < 3; ++x) EXPECT_FALSE(Near(CellPixel(run.shot, *level, x, 5), cover, 12)) << x;
    EXPECT_TRUE(Near(CellPixel(run.shot, *level, 3, 5), cover, 12));
}

// Runs the executable with --arrange-levels in the folder work; the exit status.
int Arrange(const testsupport::TempDir& work, std::string& output) {
    const std::string command = "cd " + Quote(work.path()) + " && timeout 240 " + Quote(testsupport::GameExe()) +
                                " --data " + Quote(DataDir()) + " --user-dir " + Quote(work.file("user")) +
                                " --arrange-levels > " + Quote(work.file("out.txt")) + " 2>/dev/null";
    const int status = std::system(command.c_str());
    output = testsupport::ReadFileBytes(work.file("out.txt"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DeveloperToolsTest, TheArrangerWritesTheHundredLevelsIntoTheFolderItCreatesOrSaysWhyNot) {
    testsupport::TempDir work;
    std::string output;
    // Without the sources nothing is written and the run fails.
    EXPECT_EQ(Arrange(work, output), 1);
    EXPECT_NE(output.find("game/game/levels/Picross/Level-1.rql"), std::string::npos) << output;
    EXPECT_NE(output.find("nothing was arranged"), std::string::npos) << output;
    EXPECT_EQ(FileType(work.file("_WORK  MATERIALS")), 0);

    ASSERT_TRUE(CreateDir(work.file("game/game/levels/Picross"), true));
    for (int n = 1; n <= 100; ++n)
        ASSERT_TRUE(CopyFile(DataDir() + "Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel",
                             work.file("game/game/levels/Picross/Level-" + std::to_string(n) + ".rql")));
    EXPECT_EQ(Arrange(work, output), 0);
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    for (int n = 1; n <= 100; ++n)
        EXPECT_EQ(FileType(work.file("_WORK  MATERIALS/_ARRANGED/level-" + std::to_string(n) + ".rql")), 1) << n;
}

}  // namespace
