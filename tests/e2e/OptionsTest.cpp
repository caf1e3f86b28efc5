// The options through the real executable: a level started with --level, the game panel's menu
// button opens the options, an input script drags the music knob, switches the game's cursor off
// and presses OK; the player's "Settings.ini" holds the new values. The next start reads them
// back: the options, opened from the main menu this time, show the knob where it was left, the
// switch off and no Menu button, and a run that changes nothing leaves the file as it was.
#include <gtest/gtest.h>

#include <string>

#include "e2e/GameRun.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

// The board is in play this many frames after the main menu came (the level starts with the
// menu, the screen cross-fades in and the tiles fly in).
constexpr int kPlayFrame = 360;

// Places on the 1024 x 768 picture. The game panel's menu button (the panel stands right of the
// picture in the wide window) and the main menu's Options button; on the options panel (its body
// 560 x 510 at 232, 129) the music knob at 0.8 (track at 468, 229, 276 long, knob 36 wide: 0.8 of
// 240 is 192), the cursor switch, OK and Menu.
constexpr int kGameMenuX = 1059, kGameMenuY = 708;
constexpr int kMenuOptionsX = 512, kMenuOptionsY = 446;
constexpr int kKnobX = 468 + 192 + 18, kKnobY = 229 + 18;
constexpr int kCursorX = 648 + 48, kCursorY = 471 + 20;
constexpr int kOkX = 518 + 58, kOkY = 557 + 24;
constexpr int kMenuX = 262 + 58, kMenuY = 557 + 24;

std::string SettingsFile(const testsupport::TempDir& dir) {
    return dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini");
}

// The orange of the knob and of the buttons.
bool IsOrange(uint32_t c) {
    return ((c >> 16) & 255) > 200 && ((c >> 8) & 255) > 90 && ((c >> 8) & 255) < 210 && (c & 255) < 160;
}

TEST(OptionsE2E, SettingsChangedInTheOptionsAreSavedOnOkAndReadBackAtTheNextStart) {
    testsupport::TempDir dir;
    const int p = kPlayFrame;
    auto at = [&](int frame, const std::string& event) { return std::to_string(p + frame) + " " + event + "\n"; };
    const std::string openOptions = at(0, "move " + std::to_string(kGameMenuX) + " " + std::to_string(kGameMenuY)) +
                                    at(1, "down 1") + at(2, "up 1");

    // First run: the music knob 96 pixels to the left (0.4), the game's cursor off, OK.
    const std::string first =
        openOptions + at(45, "move " + std::to_string(kKnobX) + " " + std::to_string(kKnobY)) + at(46, "down 1") +
        at(48, "move " + std::to_string(kKnobX - 96) + " " + std::to_string(kKnobY)) + at(50, "up 1") +
        at(52, "move " + std::to_string(kCursorX) + " " + std::to_string(kCursorY)) + at(53, "down 1") +
        at(54, "up 1") + at(56, "move " + std::to_string(kOkX) + " " + std::to_string(kOkY)) + at(57, "down 1") +
        at(58, "up 1");
    GameRun run = RunGame(dir, "--level 1" + FromMenu(p + 100) + Script(dir, first));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    const std::string saved = testsupport::ReadFileBytes(SettingsFile(dir));
    EXPECT_NE(saved.find("MusicVolume = 0.400000006"), std::string::npos) << saved;
    EXPECT_NE(saved.find("SoundVolume = 0.800000012"), std::string::npos) << saved;
    EXPECT_NE(saved.find("CustomCursor = 0"), std::string::npos) << saved;

    // Second run: from the main menu the options open with the knob where it was left, the cursor
    // switch off, and no Menu button.
    const std::string fromMenu =
        "60 move " + std::to_string(kMenuOptionsX) + " " + std::to_string(kMenuOptionsY) + "\n61 down 1\n62 up 1\n";
    run = RunGame(dir, FromMenu(111) + Script(dir, fromMenu));
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_TRUE(run.shot);
    EXPECT_TRUE(IsOrange(Rgb(run.shot, kX + kKnobX - 96, kKnobY)))
        << std::hex << Rgb(run.shot, kX + kKnobX - 96, kKnobY);
    EXPECT_FALSE(IsOrange(Rgb(run.shot, kX + kKnobX, kKnobY))) << std::hex << Rgb(run.shot, kX + kKnobX, kKnobY);
    EXPECT_TRUE(IsOrange(Rgb(run.shot, kX + kOkX + 30, kOkY - 12)))
        << std::hex << Rgb(run.shot, kX + kOkX + 30, kOkY - 12);
    EXPECT_FALSE(IsOrange(Rgb(run.shot, kX + kMenuX + 30, kMenuY - 12)))
        << std::hex << Rgb(run.shot, kX + kMenuX + 30, kMenuY - 12);
    // The switch's "off" view: a slate blue, not the "on" green.
    const uint32_t sw = Rgb(run.shot, kX + kCursorX + 20, kCursorY + 8);
    EXPECT_GT(sw & 255, (sw >> 8) & 255) << std::hex << sw;
    // Nothing changed, so the file is left as it was.
    EXPECT_EQ(testsupport::ReadFileBytes(SettingsFile(dir)), saved);
}

}  // namespace
