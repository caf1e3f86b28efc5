// The real executable run headless on data/: it shows the start screen through the engine's
// frame loop, draws the console over the screen and the strips over both, and always ends
// through AppEnd (frame limit, close request, Command+Q), which saves once and writes the
// screenshot of the last frame.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

struct GameRun {
    int status = -1;
    std::string output;  // standard output
    TPixmapPtr shot;
};

// Runs the game in dir with the fixed clock; a run that does not end within a minute is killed.
GameRun RunGame(const testsupport::TempDir& dir, const std::string& args) {
    std::string command = "timeout 60 " + Quote(testsupport::GameExe()) + " --data " +
                          Quote(testsupport::SourceDir() + "/data") + " --user-dir " + Quote(dir.file("user")) +
                          " --fixed-delta --screenshot " + Quote(dir.file("shot.png")) + " " + args + " > " +
                          Quote(dir.file("out.txt")) + " 2>/dev/null";
    GameRun run;
    int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = testsupport::ReadFileBytes(dir.file("out.txt"));
    run.shot = LoadPixmap(dir.file("shot.png"));
    return run;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

uint32_t Rgb(const TPixmapPtr& p, int x, int y) { return uint32_t(p->ReadPixel(x, y)) & 0xFFFFFF; }

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// Some pixel of the window rectangle has exactly this colour.
bool AnyPixel(const TPixmapPtr& p, int x0, int y0, int w, int h, uint32_t colour) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Rgb(p, x, y) == colour) return true;
    return false;
}

// The logical screen sits 171 pixels from the left of the 1366 x 768 window.
constexpr int kX = 171;

TEST(HarnessTest, ShowsTheStartScreenAndEndsThroughTheSaveAtEndList) {
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--frames 5");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Count(run.output, "Settings saved: "), 1);
    EXPECT_EQ(FileType(dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini")), 1);
    ASSERT_TRUE(run.shot);
    ASSERT_EQ(run.shot->width, 1366);
    ASSERT_EQ(run.shot->height, 768);

    const TPixmapPtr& s = run.shot;
    EXPECT_EQ(Rgb(s, 20, 40), 0x5484C4u);   // the sky, drawn over the band beside the screen too
    EXPECT_EQ(Rgb(s, 20, 700), 0x629E54u);  // the meadow
    EXPECT_EQ(Rgb(s, kX + 386, 442), 0xE25454u);  // the first quilt patch in the panel
    EXPECT_EQ(Rgb(s, kX + 638, 442), 0xE878B0u);  // the last one
    EXPECT_TRUE(Near(Rgb(s, kX + 230, 470), 0x303C5Eu, 2));  // the panel, at alpha 0.88 over the sky
    EXPECT_TRUE(Near(Rgb(s, kX + 262, 215), 0xFFD054u, 4));  // a tinted star image
    EXPECT_TRUE(AnyPixel(s, kX + 400, 190, 224, 50, 0xFFECBAu));  // the title's letters
    EXPECT_EQ(Rgb(s, kX + 790, 515), 0x4287CCu);  // the vector-animation bird's body
    // The two black strips, drawn last.
    EXPECT_EQ(Rgb(s, 1365, 300), 0x000000u);
    EXPECT_EQ(Rgb(s, 600, 767), 0x000000u);
}

TEST(HarnessTest, CloseRequestAndCommandQInOneFrameSaveOnce) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("input.txt"), "# Command+Q and the window's close button together\n"
                                                       "0 move 300 200\n"
                                                       "3 keydown 91\n"
                                                       "3 keydown 81\n"
                                                       "3 quit\n");
    // Far more frames than the script lets run: the quit ends the run at frame 3.
    GameRun run = RunGame(dir, "--frames 1000000 --input " + Quote(dir.file("input.txt")));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Count(run.output, "Settings saved: "), 1);
    ASSERT_TRUE(run.shot);
    EXPECT_EQ(Rgb(run.shot, 20, 40), 0x5484C4u);  // the last frame drawn was the start screen
}

TEST(HarnessTest, ConsoleLinesAreDrawnOverTheScreenAndExpire) {
    // Control+E: the critical line "Editor unavailable..." in red on a black box at the bottom
    // left, over the meadow.
    const char* script = "1 keydown 162\n1 keydown 69\n";
    const struct {
        int frames;
        bool shown;
    } cases[] = {
        {10, true},
        {200, false},  // 3000 ms later it is gone, also without the developer marker
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        testsupport::TempDir dir;
        testsupport::WriteFileBytes(dir.file("input.txt"), script);
        GameRun run = RunGame(dir, "--frames " + std::to_string(c.frames) + " --input " + Quote(dir.file("input.txt")));
        ASSERT_EQ(run.status, 0);
        ASSERT_TRUE(run.shot);
        EXPECT_EQ(Rgb(run.shot, kX + 3, 753) == 0x000000u, c.shown);
        EXPECT_EQ(AnyPixel(run.shot, kX + 4, 754, 120, 13, 0xFF0000u), c.shown);
    }
}

TEST(HarnessTest, PlayButtonShowsItsViewsUnderTheMouse) {
    // The pointer away, over the button, and pressed on it; the views fade in over 10 frames.
    const struct {
        const char* script;
        uint32_t colour;
    } cases[] = {
        {"0 move 100 100\n", 0xF08E50u},
        {"0 move 512 618\n", 0xFDB071u},
        {"0 move 512 618\n10 down 1\n", 0xC75A2Cu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        testsupport::TempDir dir;
        testsupport::WriteFileBytes(dir.file("input.txt"), c.script);
        GameRun run = RunGame(dir, "--frames 40 --input " + Quote(dir.file("input.txt")));
        ASSERT_EQ(run.status, 0);
        ASSERT_TRUE(run.shot);
        EXPECT_TRUE(Near(Rgb(run.shot, 591, 600), c.colour, 3)) << std::hex << Rgb(run.shot, 591, 600);
    }
}

TEST(HarnessTest, ClickingPlaySwitchesTheBirdsAnimation) {
    // The same 40 frames with the pointer resting on the button, and with a click on it (press
    // at frame 10, release at 14): only the bird's pose differs, and after the release the button
    // shows its OVER view again.
    GameRun runs[2];
    const char* scripts[2] = {"0 move 512 618\n", "0 move 512 618\n10 down 1\n14 up 1\n"};
    for (int i = 0; i < 2; ++i) {
        testsupport::TempDir dir;
        testsupport::WriteFileBytes(dir.file("input.txt"), scripts[i]);
        runs[i] = RunGame(dir, "--frames 40 --input " + Quote(dir.file("input.txt")));
        ASSERT_EQ(runs[i].status, 0);
        ASSERT_TRUE(runs[i].shot);
    }
    auto differing = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (Rgb(runs[0].shot, x, y) != Rgb(runs[1].shot, x, y)) ++n;
        return n;
    };
    EXPECT_GT(differing(kX + 689, 440, 200, 120), 500);  // the bird, in another animation
    EXPECT_EQ(differing(0, 0, kX + 689, 560), 0);        // the sky, the panel and the petals
    EXPECT_TRUE(Near(Rgb(runs[1].shot, 591, 600), 0xFDB071u, 3)) << std::hex << Rgb(runs[1].shot, 591, 600);
}

}  // namespace
