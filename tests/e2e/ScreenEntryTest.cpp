// Screens entered through the cross-fade are drawn settled from the first frame of their fade-in:
// a frame in the middle of the fade is the screen as it stands just after the fade, only darker.
// Before, the fade showed what a screen's file or last visit had left until its first update: the
// main menu's and the kingdom's buttons grey, the kingdom's "Click anywhere to return to your
// kingdom" over its level and stars, the game panel's buttons grey.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "e2e/GameRun.h"

namespace {

using namespace e2e;

struct Rect {
    int x, y, w, h;  // on the 1024 x 768 picture (x may reach into the wide sides)
};

struct Fit {
    double k = 0;     // how much darker the fading frame is
    double mean = 0;  // mean difference per channel once darkened so
};

// The darkening k that best maps the settled frame onto the fading one over the rectangle, and
// how far off that leaves them on average.
Fit FadeFit(const TPixmapPtr& fading, const TPixmapPtr& settled, Rect r) {
    double num = 0, den = 0;
    auto each = [&](auto&& f) {
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = kX + r.x; x < kX + r.x + r.w; ++x) {
                const uint32_t a = Rgb(fading, x, y), b = Rgb(settled, x, y);
                for (int shift = 0; shift < 24; shift += 8) f(double((a >> shift) & 0xFF), double((b >> shift) & 0xFF));
            }
    };
    each([&](double a, double b) {
        num += a * b;
        den += b * b;
    });
    Fit fit;
    fit.k = den > 0 ? num / den : 0;
    double sum = 0, n = 0;
    each([&](double a, double b) {
        sum += std::fabs(a - fit.k * b);
        n += 1;
    });
    fit.mean = n > 0 ? sum / n : 0;
    return fit;
}

class ScreenEntryTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;

    static std::string Click(int at, int x, int y) {
        return std::to_string(at) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
               std::to_string(at + 1) + " down 1\n" + std::to_string(at + 2) + " up 1\n";
    }

    void ExpectFadeOf(const char* what, int fadingFrame, int settledFrame, Rect r) {
        SCOPED_TRACE(what);
        auto fading = Shot(dir, fadingFrame), settled = Shot(dir, settledFrame);
        ASSERT_TRUE(fading && settled);
        const Fit fit = FadeFit(fading, settled, r);
        // Really a frame of the fade-in, and the settled picture under its black.
        EXPECT_GT(fit.k, 0.15);
        EXPECT_LT(fit.k, 0.85);
        EXPECT_LT(fit.mean, 2.0) << "darkened by " << fit.k;
    }
};

TEST_F(ScreenEntryTest, TheKingdomTheMapAndALevelFadeInSettled) {
    // A player who left the game in the kingdom, the helps seen.
    WriteOnePlayer(dir.file("user/.Velkaro/Quiltora-2/Profiles"), "75-105-109", "Kim",
                   "Data{\n\tName = \"Kim\"\n\tLevel = 2\n\tScore = 46\n\tScreen = \"Kingdom\"\n"
                   "\tKingdomTutorialScreenShowed = 1\n\tTutorialScreenShowed = 1\n\tMapScreenAnimationShowed = 1\n}\n"
                   "Levels{\n\ti = 2\n\tLevel1 = \"1,1,1,3,46,25,10\"\n\tLevel2 = \"2,1,0,0,0,0,0\"\n}\n");
    // From the main menu's first frame: Play and Continue into the kingdom, its Play to the map,
    // the map's Play into level 2. Each change is asked for on the click's release; its fade-out
    // takes 31 frames, its fade-in 30: a frame 15 frames after the switch is mid-fade.
    const int kingdom = 102, map = 250, level = 400;
    const std::string script = Click(50, 512, 374) + Click(kingdom, 512, 356) + Click(map, 870, 700) +
                               std::to_string(map + 10) + " move 700 400\n" + Click(level, 919, 724) +
                               std::to_string(level + 10) + " move 600 300\n";
    auto fading = [](int click) { return click + 2 + 31 + 15; };
    auto settled = [](int click) { return click + 2 + 31 + 30 + 15; };
    std::string shots;
    for (int click : {kingdom, map, level}) {
        if (!shots.empty()) shots += ',';
        shots += std::to_string(fading(click)) + "," + std::to_string(settled(click));
    }
    GameRun run = RunGame(dir, FromMenu(settled(level) + 5) + Script(dir, script) + " --shot-frames " + shots);
    ASSERT_EQ(run.status, 0) << run.output;

    // The kingdom's upper bar (money, level, stars, Hide and Menu).
    ExpectFadeOf("kingdom", fading(kingdom), settled(kingdom), {10, 0, 1000, 60});
    // The map's upper panel and its Play button (the map itself scrolls to the current level).
    ExpectFadeOf("map panel", fading(map), settled(map), {252, 6, 520, 60});
    ExpectFadeOf("map Play", fading(map), settled(map), {839, 704, 160, 40});
    // The game panel's menu and help buttons (the board flies in once the fade has ended).
    ExpectFadeOf("level panel", fading(level), settled(level), {1030, 680, 130, 55});
}

TEST_F(ScreenEntryTest, TheMainMenuFadesInSettledAfterLoading) {
    const int menu = Startup().menu;
    ASSERT_GT(menu, 30);
    GameRun run = RunGame(dir, "--frames " + std::to_string(menu + 10) + " --shot-frames " + std::to_string(menu - 15) +
                                   "," + std::to_string(menu + 5));
    ASSERT_EQ(run.status, 0) << run.output;
    // The menu's four buttons on their panel.
    ExpectFadeOf("main menu", menu - 15, menu + 5, {370, 330, 290, 310});
}

}  // namespace
