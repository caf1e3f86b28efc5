// The real executable run headless for a fixed number of frames: it exits 0 and writes a
// screenshot of the letterboxed window, and replayed input reaches it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

int RunGame(const std::string& args) {
    std::string command = Quote(testsupport::GameExe()) + " --data " + Quote(testsupport::SourceDir() + "/data") +
                          " --fixed-delta " + args + " > /dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t Rgb(const TPixmapPtr& p, int x, int y) { return uint32_t(p->ReadPixel(x, y)) & 0xFFFFFF; }

TEST(HarnessTest, RunsTheFramesAndWritesTheLastOneAsPng) {
    testsupport::TempDir dir;
    ASSERT_EQ(RunGame("--frames 5 --user-dir " + Quote(dir.file("user")) + " --screenshot " + Quote(dir.file("shot.png"))),
              0);
    auto shot = LoadPixmap(dir.file("shot.png"));
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, 1366);
    EXPECT_EQ(shot->height, 768);
    // The logical screen is centred 171 pixels from the left: its top-left corner square is
    // there, and the band beside it shows the clear colour.
    EXPECT_EQ(Rgb(shot, 176, 5), 0xDC3C3Cu);
    EXPECT_EQ(Rgb(shot, 165, 5), 0x181C28u);
    EXPECT_EQ(Rgb(shot, 1190, 763), 0xF0C828u);
    EXPECT_EQ(FileType(dir.file("user")), 2);  // the user folder was made
}

TEST(HarnessTest, ReplayedInputMovesThePointerAndQuitEndsTheRun) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("input.txt"), "# pointer to logical 300, 200, then quit\n"
                                                       "0 move 300 200\n"
                                                       "3 quit\n");
    // Far more frames than the script lets run: the quit request ends it.
    ASSERT_EQ(RunGame("--frames 100000 --input " + Quote(dir.file("input.txt")) + " --screenshot " +
                  Quote(dir.file("shot.png"))),
              0);
    auto shot = LoadPixmap(dir.file("shot.png"));
    ASSERT_TRUE(shot);
    EXPECT_EQ(Rgb(shot, 171 + 300, 200), 0xFFFF00u);  // the pointer's cross
    EXPECT_NE(Rgb(shot, 171 + 320, 220), 0xFFFF00u);
}

}  // namespace
