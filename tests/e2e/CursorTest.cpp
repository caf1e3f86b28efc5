// The real executable run headless on data/: with the custom cursor on (the default of
// "Init.ini") the game's arrow is drawn with its tip on the moved pointer once its images are
// loaded (the loading screen's last phase); with it off in the player's settings nothing is drawn
// there.
#include <gtest/gtest.h>

#include <string>

#include "e2e/GameRun.h"
#include "platform/Files.h"
#include "platform/Image.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"

namespace {

uint32_t Rgb(const TPixmapPtr& p, int x, int y) { return uint32_t(p->ReadPixel(x, y)) & 0xFFFFFFu; }

TEST(CursorTest, ArrowIsDrawnAtTheMovedPointerWhileTheCustomCursorIsOn) {
    // The pointer moves to logical (300, 200): window (471, 200), the logical screen sitting 171
    // pixels from the left of the 1366 x 768 window. The arrow's tip, pixel (1, 1) of its image,
    // is on the pointer; (5, 11) is inside its cream body.
    const uint32_t kBody = 0xFFF7E2u;
    const int bodyX = 471 + 4, bodyY = 200 + 10;
    const struct {
        const char* what;
        bool off;  // the player's settings turn it off
    } cases[] = {{"on by default", false}, {"off in the player's settings", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir dir;
        if (c.off) {
            std::string ini = testsupport::ReadFileBytes(testsupport::SourceDir() + "/data/App/Data/Init.ini");
            std::string changed = Replace(ini, "CustomCursor = 1", "CustomCursor = 0");
            ASSERT_NE(changed, ini);
            ASSERT_TRUE(CreateDir(dir.file("user/.Velkaro/Quiltora-2/Data")));
            testsupport::WriteFileBytes(dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini"), changed);
        }
        testsupport::WriteFileBytes(dir.file("input.txt"), "0 move 300 200\n");
        e2e::GameRun run =
            e2e::RunGame(dir, "--menu-frames 5 --frames 5000 --input " + e2e::Quote(dir.file("input.txt")));
        ASSERT_EQ(run.status, 0);
        const TPixmapPtr& shot = run.shot;
        ASSERT_TRUE(shot);
        EXPECT_EQ(Rgb(shot, bodyX, bodyY) == kBody, !c.off) << std::hex << Rgb(shot, bodyX, bodyY);
        EXPECT_EQ(Rgb(shot, bodyX + 2, bodyY + 2) == kBody, !c.off) << std::hex << Rgb(shot, bodyX + 2, bodyY + 2);
        // Nothing of the arrow above or left of its tip.
        EXPECT_NE(Rgb(shot, 469, 198), kBody);
    }
}

}  // namespace
