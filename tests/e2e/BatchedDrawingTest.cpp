// The game's screens drawn through the quad batch look exactly as drawn quad by quad
// (--direct-draw, the way every quad was drawn before the batch), within 1 of 255 a channel,
// and the main menu takes few GL calls a frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/GameRun.h"

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
        // Title, clouds, falling petals (particles), the bird and the buttons.
        {"main menu", "--menu-frames 60 --frames 5000", 30},
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

}  // namespace
