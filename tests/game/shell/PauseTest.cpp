#include "game/shell/Pause.h"

#include "engine/screen/AppObj.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "support/TestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {
class PauseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        ResetPause();
        ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
        SetAspectResolution(1024, 768, 3);
    }
    void TearDown() override {
        ResetInput();
        ResetPause();
    }
};
}  // namespace

TEST_F(PauseTest, SetupReadsTheShippedTextAndFont) {
    bDir = testsupport::SourceDir() + "/data/";
    LangMod = "en";
    SetupPause();
    EXPECT_EQ(TxtGamePaused, "Paused");
    EXPECT_NE(PauseFont, nullptr);
}

TEST_F(PauseTest, DrawsAtLeastOneFrameAndWaitsForTheWindowToComeBack) {
    // Not suspended: one frame, then back.
    int polls = 0;
    int id = AddPollHook([&] { ++polls; });
    PauseGame();
    EXPECT_GE(polls, 1);
    // Suspended: the loop keeps drawing until the window is active again.
    InjectSuspended(true);
    polls = 0;
    int frames = 0;
    RemovePollHook(id);
    id = AddPollHook([&] {
        if (++frames == 4) InjectSuspended(false);
    });
    PauseGame();
    EXPECT_GE(frames, 4);
    EXPECT_FALSE(AppSuspended());
    RemovePollHook(id);
}

// The pause draws its still picture once and then only waits, frame after frame, until the
// window comes back; a window that lost its picture (exposed again) gets it drawn once more.
TEST_F(PauseTest, DrawsItsPictureOnceAndAgainOnlyWhenTheWindowLostIt) {
    Control::Reset();
    int frames = 0, shown = 0;
    ControlHooks::Harness = std::make_shared<TFrameHarness>(
        TFrameHarness{.frameStart = [&](int32_t) { ++frames; }, .beforeFlip = [&] { ++shown; }});
    InjectSuspended(true);
    int id = AddPollHook([&] {
        if (frames == 10) {
            SDL_Event e{};
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_EXPOSED;
            SDL_PushEvent(&e);
        }
        if (frames == 20) InjectSuspended(false);
    });
    const int before = WindowExposures();
    PauseGame();
    RemovePollHook(id);
    EXPECT_EQ(frames, 20);
    EXPECT_EQ(WindowExposures(), before + 1);
    EXPECT_EQ(shown, 2) << "the first frame and the one after the exposure";
    Control::Reset();
}

TEST_F(PauseTest, TheFrameLimitEndsAPauseThatNeverEnds) {
    Control::Reset();
    AppExitFunction = [] {};  // AppEnd returns
    Control::FrameLimit = 30;
    InjectSuspended(true);
    PauseGame();
    EXPECT_TRUE(Control::isEnded);
    EXPECT_EQ(Control::FrameCount, 30);
    Control::Reset();
}

namespace {
class PauseSaver : public TAppObj {
public:
    int saves = 0;
    int SaveAtEnd() override { return ++saves; }
};
}  // namespace

TEST_F(PauseTest, ACloseRequestInTheBackgroundEndsTheGameAtOnce) {
    Control::Reset();
    AppExitFunction = [] {};  // AppEnd returns
    auto saver = std::make_shared<PauseSaver>();
    Control::AddToSaveList(saver);
    InjectSuspended(true);
    int frames = 0;
    int id = AddPollHook([&] {
        // The request comes on the third frame; the window never comes back.
        if (++frames == 3) InjectQuit();
    });
    PauseGame();
    RemovePollHook(id);
    EXPECT_LE(frames, 6);  // not one more pass than it takes to see the request
    EXPECT_TRUE(Control::isEnded);
    EXPECT_EQ(saver->saves, 1);
    Control::Reset();
}

TEST_F(PauseTest, TheTimeSpentPausedIsNotOneLongFrame) {
    // A clock that jumps by a minute while paused: the next frame's delta measures only the
    // frame itself.
    static int32_t now = 0;
    SetClockSource([] { return now; });
    UpdateDelta();
    now += 16;
    UpdateDelta();
    InjectSuspended(true);
    static bool away = true;
    away = true;
    int id = AddPollHook([] {
        if (!away) return;
        away = false;
        now += 60000;
        InjectSuspended(false);
    });
    PauseGame();
    RemovePollHook(id);
    now += 17;
    UpdateDelta();
    EXPECT_NEAR(delta, 17.0f / (1000.0f / 60.0f), 0.01f);
    SetClockSource(nullptr);
    ResetAppTime();
}
