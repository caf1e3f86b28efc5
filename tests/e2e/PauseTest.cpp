// The pause through the real executable: an input script sends the window to the background
// and back ("suspend 1", "suspend 0"). While paused the game shows its still picture and waits:
// a paused frame costs far less CPU than an idle frame of the main menu drawn in full in the same
// run (drawing only what changed would make the idle frame itself nearly free), and the game goes
// on afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "e2e/GameRun.h"

namespace {

using namespace e2e;

// The "frames <frame> <ms> <cpu-ms> <rss-kB>" lines of --timings: frame -> CPU milliseconds.
std::map<int, double> CpuByFrame(const std::string& output) {
    std::map<int, double> cpu;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        int frame = 0;
        double ms = 0, cpuMs = 0;
        long rss = 0;
        if (std::sscanf(line.c_str(), "frames %d %lf %lf %ld", &frame, &ms, &cpuMs, &rss) == 4) cpu[frame] = cpuMs;
    }
    return cpu;
}

TEST(PauseE2E, APausedFrameCostsLessThanAnIdleOneAndTheGameGoesOnAfterwards) {
    testsupport::TempDir dir;
    // Frames counted from the main menu: paused from 130 to 370.
    const std::string drawnInFull = " --no-buffer-age --no-frame-cache";
    GameRun run = RunGame(dir, "--timings --from-menu --menu-frames 480 --shot-frames 131" + drawnInFull +
                                   Script(dir, "130 suspend 1\n370 suspend 0\n"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    const int menu = TimingFrame(run.output, "main-menu");
    ASSERT_GT(menu, 0) << run.output;
    const std::map<int, double> cpu = CpuByFrame(run.output);
    for (int at : {60, 120, 180, 360, 420, 480}) ASSERT_EQ(cpu.count(menu + at), 1u) << at << "\n" << run.output;
    // CPU a frame: the main menu idle before and after the pause, and well inside the pause.
    const double idleBefore = (cpu.at(menu + 120) - cpu.at(menu + 60)) / 60;
    const double idleAfter = (cpu.at(menu + 480) - cpu.at(menu + 420)) / 60;
    const double paused = (cpu.at(menu + 360) - cpu.at(menu + 180)) / 180;
    std::printf("CPU a frame: idle %.3f ms before the pause, %.3f after; paused %.3f\n", idleBefore, idleAfter, paused);
    EXPECT_LT(paused, 0.25 * std::min(idleBefore, idleAfter));
    EXPECT_GT(idleAfter, 0.25 * idleBefore) << "the menu is drawn again after the pause";

    // The paused frame shows the pause's picture: black, with the word in the middle.
    auto shot = LoadPixmap(dir.file("shot-131.png"));
    ASSERT_TRUE(shot);
    EXPECT_EQ(Rgb(shot, 40, 40), 0u);
    EXPECT_EQ(Rgb(shot, 683, 200), 0u);
    EXPECT_TRUE(AnyPixel(shot, 583, 354, 200, 60, 0xFFFFFFu));
    // The last frame is the main menu again.
    ASSERT_TRUE(run.shot);
    EXPECT_NE(Rgb(run.shot, 683, 200), 0u);
}

}  // namespace
