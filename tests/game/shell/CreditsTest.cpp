// The credits: the "#" and "$" markup of the text file, the roll's start, speed and restart from
// below, the fade, and the modal loop over the current screen with the inputs that end it.
#include "game/shell/Credits.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/media/StyledText.h"
#include "engine/media/TextClass.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "support/ScreenTest.h"

namespace {

class CreditsTest : public testsupport::ScreenTest {
protected:
    TAppScreenPtr host;

    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        Credits = CreateCreditsScreen();
    }
    void TearDown() override {
        Credits = nullptr;
        host = nullptr;
        TCredits::CreditsText1 = TCredits::CreditsText2 = TCredits::CreditsText3 = nullptr;
        ScreenTest::TearDown();
    }

    // The classes of the shipped file, looked up as set-up does.
    void LookUpClasses() {
        TCredits::CreditsText1 = AppClassManager::GetTextClass("Credits 1");
        TCredits::CreditsText2 = AppClassManager::GetTextClass("Credits 2");
        TCredits::CreditsText3 = AppClassManager::GetTextClass("Credits 3");
        ASSERT_TRUE(TCredits::CreditsText1 && TCredits::CreditsText2 && TCredits::CreditsText3);
    }
    int Height(const TCreditDataPtr& line) {
        SetTextClass(line->cl);
        return GetClassTextHeight(line->txt);
    }
};

TEST_F(CreditsTest, MarkedLinesLoseTheirFirstAndLastCharactersAndEmptyLinesTakeNoRoom) {
    LookUpClasses();
    Credits->BuildLines(
        {"#Heading#", "", "plain words", "$Note$", "#only leading", "$x", "#", "#Café#", "#Windows#\r", "\r"});
    const struct {
        const char* txt;
        TTextClassPtr cl;
    } want[] = {
        {"Heading", TCredits::CreditsText2},
        {"plain words", TCredits::CreditsText1},
        {"Note", TCredits::CreditsText3},
        {"only leadin", TCredits::CreditsText2},
        {"", TCredits::CreditsText3},
        {"", TCredits::CreditsText2},
        {"Caf\xC3\xA9", TCredits::CreditsText2},  // whole characters, not bytes
        {"Windows", TCredits::CreditsText2},
    };
    ASSERT_EQ(Credits->lista.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Credits->lista[i]->txt, want[i].txt);
        EXPECT_EQ(Credits->lista[i]->cl, want[i].cl);
    }
    // A line that shows nothing still takes its style's height.
    EXPECT_GT(Height(Credits->lista[4]), 0);
    EXPECT_EQ(Height(Credits->lista[5]), Height(Credits->lista[0]));
}

TEST_F(CreditsTest, SetupReadsTheShippedFilesAndMissingOnesGiveAnEmptyRoll) {
    ::testing::internal::CaptureStdout();
    Credits->Setup();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    ASSERT_TRUE(Credits->img);
    EXPECT_EQ(ImageWidth(Credits->img), 1366);
    EXPECT_EQ(ImageHandleX(Credits->img), 171.0f);
    ASSERT_FALSE(Credits->lista.empty());
    EXPECT_EQ(Credits->lista.front()->txt, "Quiltora");
    EXPECT_EQ(Credits->lista.front()->cl, TCredits::CreditsText2);

    testsupport::TempDir empty;
    bDir = empty.path() + "/";
    ::testing::internal::CaptureStdout();
    Credits->Setup();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("back.jpg"), std::string::npos) << out;
    EXPECT_NE(out.find("credits.txt"), std::string::npos) << out;
    EXPECT_EQ(Credits->img, nullptr);
    EXPECT_TRUE(Credits->lista.empty());
}

TEST_F(CreditsTest, TheRollStartsBelowTheScreenMovesSixtyPixelsASecondAndComesBackFromBelow) {
    LookUpClasses();
    Credits->BuildLines({"#Title#", "name", "$note$"});
    Credits->OnPrepare();
    EXPECT_EQ(Credits->y, 768.0f);
    EXPECT_EQ(Credits->Alpha, 0.0f);
    delta = 1.0f;
    for (int i = 0; i < 60; ++i) Credits->OnUpdate();
    EXPECT_FLOAT_EQ(Credits->y, 708.0f);
    EXPECT_EQ(Credits->Alpha, 1.0f);  // the fade stops exactly on its target

    int total = 0;
    for (const auto& line : Credits->lista) total += Height(line) + TCredits::LineGap;
    // The last line's bottom just on the top edge: the roll goes on.
    Credits->y = static_cast<float>(-total);
    Credits->DrawCredits();
    EXPECT_EQ(Credits->y, static_cast<float>(-total));
    // Past it: the first line comes back with its top at 800.
    Credits->y = static_cast<float>(-total) - 0.5f;
    Credits->DrawCredits();
    EXPECT_EQ(Credits->y, 800.0f);
}

// Fading in or out, the lines show only over the opaque background: while the screen below shows
// through, the frame is the one drawn without any line; fully shown, the lines are there.
TEST_F(CreditsTest, TheLinesShowOnlyOverTheOpaqueBackground) {
    Credits->Setup();
    ASSERT_TRUE(Credits->img);
    // The roll ending with its lines in the middle of the screen, over a white screen below.
    auto frame = [&](float alpha, bool lines) {
        Credits->Alpha = alpha;
        Credits->y = lines ? 200.0f : 5000.0f;
        SetClsColor(255, 255, 255);
        Cls();
        Credits->OnDraw();
        return GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    };
    auto same = [](const TPixmapPtr& a, const TPixmapPtr& b) { return a && b && a->pixels == b->pixels; };
    for (float alpha = 0.05f; alpha < 1.0f; alpha += 0.05f) {
        SCOPED_TRACE(alpha);
        const bool backOpaque = same(frame(alpha, false), frame(1.0f, false));
        if (!backOpaque) {
            EXPECT_TRUE(same(frame(alpha, true), frame(alpha, false))) << "lines over the screen below";
        }
    }
    EXPECT_FALSE(same(frame(1.0f, true), frame(1.0f, false)));
}

// The modal loop, driven through the frame-start hook as the harness drives it: the frames it
// ran and whether the screen below was updated.
class CountingScreen : public TAppScreen {
public:
    int updates = 0, draws = 0;
    int OnUpdate() override { return ++updates, 0; }
    int OnDraw() override { return ++draws, 0; }
};

TEST_F(CreditsTest, TheModalRollEndsOnAKeyAtOnceAndOnAClickOnlyOnceFullyShown) {
    Credits->Setup();
    auto below = std::make_shared<CountingScreen>();
    below->Init("Below", "");
    Control::SetScreenInstant(below);
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> events;  // frame, event: key code, or 1000 for a click
        int minFrames, maxFrames;
    } cases[] = {
        // Escape in the fade-in: the fade turns at once (alpha 0.25 back to 0).
        {"escape while fading in", {{5, 27}}, 9, 14},
        // A click in the fade-in is ignored; a click once fully shown ends the roll (20 frames out).
        {"clicks", {{5, 1000}, {60, 1000}}, 78, 84},
        {"space", {{40, 32}}, 58, 64},
        {"enter", {{40, 13}}, 58, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetInput();
        const int first = Control::FrameCount;
        Control::FrameLimit = first + 400;  // a roll that never ends stops the test here
        ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [&](int32_t frame) {
            for (const auto& [at, event] : c.events) {
                if (frame - first == at) {
                    if (event == 1000) InjectMouseButton(1, true);
                    else InjectKeyDown(event);
                }
                if (frame - first == at + 1) {
                    if (event == 1000) InjectMouseButton(1, false);
                    else InjectKeyUp(event);
                }
            }
        }});
        below->updates = below->draws = 0;
        StartCredits();
        const int frames = Control::FrameCount - first;
        EXPECT_FALSE(Control::isEnded);
        EXPECT_GE(frames, c.minFrames);
        EXPECT_LE(frames, c.maxFrames);
        EXPECT_EQ(Credits->Alpha, 0.0f);
        // The screen below was drawn while the roll was see-through, never updated.
        EXPECT_EQ(below->updates, 0);
        EXPECT_GT(below->draws, 0);
    }
    ControlHooks::Harness = nullptr;
    Control::FrameLimit = -1;
}

TEST_F(CreditsTest, AProgramEndDuringTheRollReturnsAtOnce) {
    Credits->Setup();
    Control::FrameLimit = Control::FrameCount + 30;
    StartCredits();
    EXPECT_TRUE(Control::isEnded);
    Control::FrameLimit = -1;
}

}  // namespace
