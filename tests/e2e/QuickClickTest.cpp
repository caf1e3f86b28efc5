// A quick click, whose press and release come within one frame (a touchpad's tap, xdotool's click,
// a click on a slow frame), does on every screen what a click does: each case taps one button
// with the press and the release in the same frame of the input script, and finds what that
// button does done. A key chord sent at once (Command+Q, Command+F: every key pressed and let go
// within one frame) does what the chord does.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "e2e/GameRun.h"
#include "e2e/LevelLayout.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

constexpr const char* kId = "75-105-109";

// Places on the picture: the main menu's Play, the continue pop-up's Continue, the kingdom's first
// offer (the sheepfold, 20), Hide, Menu and Play, level 1's thumbnail on the map, the level
// summary's Statistics and Next.
struct Point {
    int x, y;
};
constexpr Point kMenuPlay{512, 374}, kContinue{512, 356}, kCard{110, 700}, kHide{709, 30}, kKingdomMenu{905, 30};
constexpr Point kKingdomPlay{869, 700}, kThumb1{248, 580}, kStatistics{512, 586}, kNext{642, 644};
constexpr int kCommand = 91, kF = 70, kQ = 81;

// A click held over a few frames, and a tap: pressed and let go within one frame.
std::string Click(int frame, Point p) {
    return std::to_string(frame) + " move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n" +
           std::to_string(frame + 2) + " down 1\n" + std::to_string(frame + 4) + " up 1\n";
}
std::string Tap(int frame, Point p) {
    const std::string f = std::to_string(frame + 1);
    return std::to_string(frame) + " move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n" + f + " down 1\n" +
           f + " up 1\n";
}
// The keys pressed one after another and let go in the other order, all within one frame.
std::string Chord(int frame, int modifier, int key) {
    const std::string f = std::to_string(frame) + " ";
    return f + "keydown " + std::to_string(modifier) + "\n" + f + "keydown " + std::to_string(key) + "\n" + f +
           "keyup " + std::to_string(key) + "\n" + f + "keyup " + std::to_string(modifier) + "\n";
}

// Counted from the main menu's first frame: the menu is shown, the continue pop-up up, the kingdom
// faded in with its first offer shown.
constexpr int kMenu = kMenuShown + 5, kPopUp = kMenu + 50, kKingdom = kPopUp + 170;

struct Done {
    const testsupport::TempDir& dir;
    const GameRun& run;
    int frames;  // the run's length asked for, counted from the main menu

    // A value of the player's progress (the one player's).
    std::string Progress(const std::string& key) const {
        const std::string folder = dir.file("user/.Velkaro/Quiltora-2/Profiles/");
        for (const std::string& name : ReadDir(folder))
            if (name.size() > 11 && name.substr(name.size() - 11) == ".AppProfile")
                return GetBFString(LoadBlockFile(folder + name), key);
        return "(no player)";
    }
    TPixmapPtr ShotAt(int frame) const { return Shot(dir, frame); }
    // The run ended before the length asked for.
    bool EndedEarly() const {
        return TimingFrame(run.output, "last-frame") < TimingFrame(run.output, "main-menu") + frames - 1;
    }
};

// Grass, not the navy of the kingdom's bar.
bool IsGrass(uint32_t c) { return ((c >> 8) & 255) > ((c >> 16) & 255) && ((c >> 8) & 255) > (c & 255); }

// A player who won level 1 and stands in the kingdom with its money (60 + 3 stars), the map's
// first pan and the kingdom's help seen.
void WritePlayerInTheKingdom(const testsupport::TempDir& dir) {
    WriteOnePlayer(dir.file("user/.Velkaro/Quiltora-2/Profiles"), kId, "Kim",
                   "Data{\n\tName = \"Kim\"\n\tLevel = 2\n\tScore = 90\n\tScreen = \"Kingdom\"\n"
                   "\tKingdomTutorialScreenShowed = 1\n\tMapScreenAnimationShowed = 1\n}\n"
                   "Levels{\n\ti = 2\n\tLevel1 = \"1,1,1,3,60,25,10\"\n\tLevel2 = \"2,1,0,0,0,0,0\"\n}\n");
}

TEST(QuickClickTest, ATapDoesWhatAClickDoesOnEveryScreen) {
    const WinScript win;
    ASSERT_TRUE(win.level);
    const int summary = win.summaryShown();
    struct Case {
        const char* what;
        std::string args;  // besides the run's own; with --level, a new player plays
        std::string script;
        int frames;  // from the main menu
        std::string shots;
        std::function<void(const Done&)> check;
    };
    const std::string toKingdom = Click(kMenu, kMenuPlay) + Click(kPopUp, kContinue);
    const Case cases[] = {
        {"the main menu's Play", "", Tap(kMenu, kMenuPlay) + Click(kPopUp, kContinue) + Click(kKingdom, kCard),
         kKingdom + 40, "", [](const Done& d) { EXPECT_EQ(d.Progress("Buildings::Object1"), "5"); }},
        {"the continue pop-up's Continue", "",
         Click(kMenu, kMenuPlay) + Tap(kPopUp, kContinue) + Click(kKingdom, kCard), kKingdom + 40, "",
         [](const Done& d) { EXPECT_EQ(d.Progress("Buildings::Object1"), "5"); }},
        {"a building card of the kingdom", "", toKingdom + Tap(kKingdom, kCard), kKingdom + 40, "",
         [](const Done& d) {
             EXPECT_EQ(d.Progress("Buildings::Object1"), "5");
             EXPECT_EQ(d.Progress("Stats::CashSpend"), "20");
         }},
        {"the kingdom's Hide", "", toKingdom + Tap(kKingdom, kHide) + Click(kKingdom + 60, kCard), kKingdom + 150,
         std::to_string(kKingdom + 50),
         [](const Done& d) {
             // The bar at the top has stepped aside: the grass shows where it stood.
             const TPixmapPtr shot = d.ShotAt(kKingdom + 50);
             ASSERT_TRUE(shot);
             EXPECT_TRUE(IsGrass(Rgb(shot, kX + 180, 30))) << std::hex << Rgb(shot, kX + 180, 30);
             // A click where a card stood brings the bar back and buys nothing.
             ASSERT_TRUE(d.run.shot);
             EXPECT_FALSE(IsGrass(Rgb(d.run.shot, kX + 180, 30))) << std::hex << Rgb(d.run.shot, kX + 180, 30);
             EXPECT_EQ(d.Progress("Buildings::Object1"), "");
         }},
        {"the kingdom's Menu", "", toKingdom + Tap(kKingdom, kKingdomMenu) + Click(kKingdom + 60, kCard),
         kKingdom + 120, "",
         [](const Done& d) {
             // Back on the main menu (its Play button), where the card's place holds nothing.
             ASSERT_TRUE(d.run.shot);
             EXPECT_TRUE(Near(Rgb(d.run.shot, kX + 420, 356), 0xF4AB7Du, 6))
                 << std::hex << Rgb(d.run.shot, kX + 420, 356);
             EXPECT_EQ(d.Progress("Buildings::Object1"), "");
         }},
        {"level 1's thumbnail on the map", "",
         toKingdom + Click(kKingdom - 60, kKingdomPlay) + Tap(kKingdom + 145, kThumb1), kKingdom + 200, "",
         [](const Done& d) { EXPECT_EQ(d.Progress("Data::Screen"), "GameScreen"); }},
        {"the level summary's Statistics", "--level 1", win.text + Tap(summary, kStatistics), summary + 40, "",
         [](const Done& d) {
             // The statistics' card in the picture's place.
             ASSERT_TRUE(d.run.shot);
             EXPECT_TRUE(Near(Rgb(d.run.shot, kX + 512, 300), 0xFDF2D9u, 12))
                 << std::hex << Rgb(d.run.shot, kX + 512, 300);
         }},
        {"the level summary's Next", "--level 1", win.text + Tap(summary, kNext), summary + 120, "",
         [](const Done& d) {
             // On to the kingdom, whose help a new player's first visit shows (the win itself is
             // booked without Next).
             EXPECT_EQ(d.Progress("Data::KingdomTutorialScreenShowed"), "1");
         }},
        {"Command+Q sent at once", "", Chord(kMenu, kCommand, kQ), kMenu + 40, "",
         [](const Done& d) { EXPECT_TRUE(d.EndedEarly()) << d.run.output; }},
        {"Command+F sent at once", "", Chord(kMenu, kCommand, kF), kMenu + 40, "",
         [](const Done& d) {
             const std::string settings =
                 testsupport::ReadFileBytes(d.dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini"));
             EXPECT_NE(settings.find("FullScreen = 1"), std::string::npos) << settings;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempDir dir;
        if (c.args.empty()) WritePlayerInTheKingdom(dir);
        const GameRun run =
            RunGame(dir, c.args + " --timings" + FromMenu(c.frames) +
                             (c.shots.empty() ? "" : " --shot-frames " + c.shots) + Script(dir, c.script));
        ASSERT_EQ(run.status, 0);
        c.check(Done{dir, run, c.frames});
    }
}

}  // namespace
