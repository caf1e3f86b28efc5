// The game's screens drawn through the quad batch look exactly as drawn quad by quad
// (--direct-draw, the way every quad was drawn before the batch), within 1 of 255 a channel,
// and the main menu takes few GL calls a frame; drawn only where they changed, or over the frame
// cache's copy of the window, they look as drawn in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/GameRun.h"
#include "e2e/LevelLayout.h"

namespace {

using namespace e2e;

// The last line "draws <calls> <quads>" that --timings prints at the end.
bool ReadDraws(const std::string& output, int& calls, int& quads) {
    const size_t at = output.rfind("draws ");
    return at != std::string::npos && std::sscanf(output.c_str() + at, "draws %d %d", &calls, &quads) == 2;
}

// The largest difference of a colour channel between the two shots, and where.
std::string Worst(const TPixmapPtr& a, const TPixmapPtr& b, int& most) {
    most = 0;
    std::string where;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const uint32_t p = Rgb(a, x, y), q = Rgb(b, x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const int d = std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
                if (d > most) {
                    most = d;
                    where = std::to_string(x) + ", " + std::to_string(y);
                    where.insert(where.begin(), '(');
                    where += ')';
                }
            }
        }
    return where;
}

TEST(BatchedDrawingTest, ScreensMatchTheQuadByQuadPicture) {
    const struct {
        const char* what;
        std::string args;
        int maxCalls;  // 0: not checked
    } cases[] = {
        // Title, clouds, falling petals (particles), the bird and the buttons, drawn again only
        // where they changed: a call for each run that meets each of up to 64 rectangles (the
        // petals' own), where the menu drawn whole quad by quad takes several hundred.
        {"main menu", "--menu-frames 60 --frames 5000", 100},
        {"level 1 board", "--level 1 --menu-frames 400 --frames 5000", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir batchedDir, directDir;
        GameRun batched = RunGame(batchedDir, "--timings " + c.args);
        GameRun direct = RunGame(directDir, "--timings --direct-draw " + c.args);
        ASSERT_EQ(batched.status, 0);
        ASSERT_EQ(direct.status, 0);
        ASSERT_TRUE(batched.shot && direct.shot);
        ASSERT_EQ(batched.shot->width, direct.shot->width);
        ASSERT_EQ(batched.shot->height, direct.shot->height);
        int most = 0;
        const std::string where = Worst(batched.shot, direct.shot, most);
        EXPECT_LE(most, 1) << "at " << where;
        int calls = 0, quads = 0, directCalls = 0, directQuads = 0;
        ASSERT_TRUE(ReadDraws(batched.output, calls, quads));
        ASSERT_TRUE(ReadDraws(direct.output, directCalls, directQuads));
        EXPECT_LT(calls, directCalls);
        if (c.maxCalls > 0) {
            EXPECT_LE(calls, c.maxCalls) << quads << " quads";
        }
    }
}

// A tour through the screens that a player passes, frames counted from the main menu: the
// menu, the players pop-up, the stages map as it scrolls to the current level, the awards, level
// 1's board waiting for a move, the options over it, the level won (the summary with its picture
// and stars flying in, then standing) and the kingdom with its offers coming in and its villagers
// walking. Each screen (shot as it moves) looks as drawn quad by quad (--direct-draw), within 1
// of 255 a channel, drawn four ways: in full through the batch, its calls gathered
// (--no-buffer-age --no-frame-cache), only where it changed (the headless window keeps its
// frame), the same in a frame kept in a texture of the game's own (--frame-path kept-texture, as
// where the window keeps nothing), and over the frame cache's copy where the window keeps
// nothing (--no-buffer-age).
TEST(BatchedDrawingTest, ScreensLookTheSameDrawnOnlyWhereTheyChangedOrOverTheCopy) {
    auto level = LaidOutLevel(1);
    ASSERT_TRUE(level);
    std::string script;
    auto click = [&](int at, int x, int y) {
        script += std::to_string(at) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
                  std::to_string(at + 1) + " down 1\n" + std::to_string(at + 2) + " up 1\n";
    };
    std::vector<std::pair<int, std::string>> shots{{10, "main menu"}, {55, "players"}};
    click(20, 512, 518);   // Players
    click(60, 512, 594);   // its OK
    click(120, 512, 374);  // Play
    click(160, 512, 356);  // Continue: the map
    shots.insert(shots.end(), {{330, "map"}, {440, "awards"}, {820, "board"}, {890, "options over the level"}});
    click(400, 231, 722);   // Awards
    click(520, 512, 400);   // closes them
    click(580, 791, 722);   // the map's Play: level 1
    click(830, 1059, 708);  // the panel's menu: the options
    click(900, 573, 580);   // their OK
    int at = 950;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x)
            if (level->Tile(0, x, y)->isTile) {
                auto t = level->Tile.At(0, x, y);
                click(at += 6, int(t->DrawX), int(t->DrawY));
            }
    shots.insert(shots.end(), {{at + 50, "summary flying in"},
                               {at + 150, "summary's stars"},
                               {at + 350, "summary"},
                               {at + 530, "kingdom's offers coming in"},
                               {at + 650, "kingdom"}});
    click(at + 455, 642, 644);  // Next: the kingdom
    std::string list;
    for (const auto& [frame, name] : shots) list += (list.empty() ? "" : ",") + std::to_string(frame);
    const std::string profile = R"(Data{
	Name = "ROSE"
	Level = 1
	Screen = "Stages"
	MapScreenAnimationShowed = 1
	TutorialScreenShowed = 1
	KingdomTutorialScreenShowed = 1
}
Levels{
	i = 1
	Level1 = "1,0,1,0,0,0,0"
}
)";
    struct Way {
        const char* what;
        std::string options;
        testsupport::TempDir dir;
        GameRun run;
    } ways[] = {{"drawn quad by quad", "--direct-draw", {}, {}},
                {"drawn in full", "--no-buffer-age --no-frame-cache", {}, {}},
                {"only where changed", "", {}, {}},
                {"over the copy", "--no-buffer-age", {}, {}},
                {"in the kept frame", "--frame-path kept-texture", {}, {}}};
    // The runs side by side.
    std::vector<std::thread> running;
    for (Way& way : ways) {
        const std::string profiles = way.dir.file("user/.Velkaro/Quiltora-2/Profiles/");
        testsupport::WriteFileBytes(profiles + "Profiles.dat",
                                    "Settings{\n\tCurrProfile = \"82-79-83-69\"\n}\nProfile{\n"
                                    "\tId = \"82-79-83-69\"\n\tName = \"ROSE\"\n}\n");
        testsupport::WriteFileBytes(profiles + "82-79-83-69.AppProfile", profile);
        const std::string args = "--timings --from-menu --menu-frames " + std::to_string(at + 660) +
                                 " --frames 20000 " + way.options + Script(way.dir, script) + " --shot-frames " + list;
        running.emplace_back([&way, args] { way.run = RunGame(way.dir, args); });
    }
    for (std::thread& t : running) t.join();
    for (Way& way : ways) {
        ASSERT_EQ(way.run.status, 0) << way.what;
        EXPECT_EQ(way.run.output.find("ERROR"), std::string::npos) << way.run.output;
        EXPECT_EQ(way.run.output.find("WARNING"), std::string::npos) << way.run.output;
    }
    for (const auto& [frame, name] : shots) {
        SCOPED_TRACE(name);
        auto reference = Shot(ways[0].dir, frame);
        ASSERT_TRUE(reference);
        for (int w = 1; w < 5; ++w) {
            auto shot = Shot(ways[w].dir, frame);
            ASSERT_TRUE(shot && shot->width == reference->width && shot->height == reference->height) << ways[w].what;
            int most = 0;
            const std::string where = Worst(shot, reference, most);
            EXPECT_LE(most, 1) << ways[w].what << " at " << where;
        }
    }
    // Each way drew as it should: most frames only where they changed, or over the copy.
    long cache[5][6] = {};
    for (int w = 0; w < 5; ++w) {
        const size_t line = ways[w].run.output.rfind("frame-cache ");
        ASSERT_NE(line, std::string::npos) << ways[w].run.output;
        ASSERT_EQ(std::sscanf(ways[w].run.output.c_str() + line, "frame-cache %ld %ld %ld %ld", &cache[w][0],
                              &cache[w][1], &cache[w][2], &cache[w][3]),
                  4);
    }
    EXPECT_EQ(cache[0][0], 0) << "drawn quad by quad";
    EXPECT_GT(cache[1][0], 0) << "drawn in full";
    EXPECT_EQ(cache[1][1] + cache[1][2] + cache[1][3], 0) << "drawn in full";
    EXPECT_GT(cache[2][1], cache[2][0] / 2) << "only where changed";
    EXPECT_GT(cache[3][2], cache[3][0] / 4) << "over the copy";
    EXPECT_EQ(cache[3][1], 0) << "over the copy";
    EXPECT_GT(cache[4][1], cache[4][0] / 2) << "in the kept frame";
    EXPECT_NE(ways[4].run.output.find("\nframe-path kept-texture "), std::string::npos) << ways[4].run.output;
    EXPECT_NE(ways[2].run.output.find("\nframe-path buffer-age "), std::string::npos) << ways[2].run.output;
}

}  // namespace
