// The cross-fade between screens: its timeline, what runs at the switch, and changes asked for
// while a fade runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/ScreenCrosser.h"
#include "platform/Graphics.h"
#include "engine/screen/AppScreenTestSupport.h"

namespace {

using namespace screentest;

class ScreenCrosserTest : public ScreenFixture {
protected:
    std::shared_ptr<LogScreen> a = MakeScreen("A");
    std::shared_ptr<LogScreen> b = MakeScreen("B");
    std::shared_ptr<LogScreen> c = MakeScreen("C");

    void SetUp() override {
        ScreenFixture::SetUp();
        CurrScreenCrosser = CreateAppCrosser();
        SetAppScreen(a);
    }

    // One frame at the given frame factor: the current screen updates, then draws. Returns the
    // alpha of the black the crosser drew ( -1 when the crosser was not current to draw).
    float Frame(float frameDelta = 1.0f) {
        delta = frameDelta;
        if (Control::CurrScreen) Control::CurrScreen->Updating();
        SetAlpha(0.25f);
        const bool crossing = Control::CurrScreen == CurrScreenCrosser;
        if (Control::CurrScreen) Control::CurrScreen->Drawing();
        return crossing ? GetAlpha() : -1.0f;
    }

    // Frames until the crosser is no longer current, at most `limit`.
    int RunFade(float frameDelta = 1.0f, int limit = 200) {
        int frames = 0;
        while (Control::CurrScreen == CurrScreenCrosser && frames < limit) {
            Frame(frameDelta);
            ++frames;
        }
        return frames;
    }
};

TEST_F(ScreenCrosserTest, TimelineAtSixtyFramesPerSecond) {
    Log().clear();
    GoToScreen(b, [] { Note("f", "run"); });
    EXPECT_EQ(Control::CurrScreen, CurrScreenCrosser);
    // The frame that asked for the change draws A under no black.
    EXPECT_FLOAT_EQ(CurrScreenCrosser->Percent->Per, 0.0f);

    // Fade-out: 30 frames of 1/30 up to full black; A stays fully covered for one frame.
    std::vector<float> alphas;
    for (int i = 0; i < 30; ++i) alphas.push_back(Frame());
    for (int i = 0; i < 29; ++i) EXPECT_NEAR(alphas[static_cast<size_t>(i)], (i + 1) / 30.0f, 1e-5f) << i;
    EXPECT_EQ(alphas[29], 1.0f);
    EXPECT_EQ(Count("f.run"), 0);
    EXPECT_EQ(CurrScreenCrosser->State, 0);

    // The next frame switches.
    const float switchAlpha = Frame();
    EXPECT_EQ(switchAlpha, 1.0f);  // B drawn under full black
    EXPECT_EQ(CurrScreenCrosser->State, 1);
    EXPECT_EQ(LogOf({"f.", "A.OnLeave", "B.OnStart", "B.OnPrepare"}),
              (std::vector<std::string>{"f.run", "A.OnLeave", "B.OnStart", "B.OnPrepare"}));

    // Fade-in: 500 ms, then B is current, unlocked, and draws itself.
    b->isLocked = 1;
    const int fadeIn = RunFade();
    EXPECT_EQ(fadeIn, 30);
    EXPECT_EQ(Control::CurrScreen, b);
    EXPECT_EQ(b->isLocked, 0);
    // Neither screen was updated or asked about input during the whole change.
    for (const char* hook : {"A.UpdateAtStart", "A.Interface", "B.UpdateAtStart", "B.Interface"})
        EXPECT_EQ(Count(hook), 0) << hook;
    EXPECT_EQ(Count("f.run"), 1);
    EXPECT_EQ(Count("B.OnPrepare"), 1);
    EXPECT_EQ(Count("A.OnLeave"), 1);
    Frame();
    EXPECT_EQ(Count("B.UpdateAtStart"), 1);
}

TEST_F(ScreenCrosserTest, TakesTheSameTimeAtAnyFrameRate) {
    struct Case {
        float frameDelta;
        int fadeOutFrames;  // frames until the switch has run
        int fadeInFrames;
    };
    for (const Case& k : {Case{1.0f, 31, 30}, Case{2.0f, 16, 15}}) {
        SCOPED_TRACE(k.frameDelta);
        SetAppScreen(a);
        GoToScreen(b, nullptr);
        int frames = 0;
        while (CurrScreenCrosser->State == 0 && frames < 500) {
            Frame(k.frameDelta);
            ++frames;
        }
        EXPECT_EQ(frames, k.fadeOutFrames);
        EXPECT_EQ(RunFade(k.frameDelta, 500), k.fadeInFrames);
        EXPECT_EQ(Control::CurrScreen, b);
    }
}

TEST_F(ScreenCrosserTest, PopUpsOfTheOldScreenAreDrawnThenDroppedWithoutOnHide) {
    auto popup = MakePopUp("P");
    a->ShowPopUp(popup);
    GoToScreen(b, nullptr);
    Log().clear();
    Frame();
    EXPECT_EQ(Count("P.OnDraw"), 1);
    EXPECT_EQ(Count("P.UpdateAtStart"), 0);
    RunFade();
    EXPECT_TRUE(a->ActivePopUps.empty());
    EXPECT_EQ(Count("P.OnHide"), 0);
    EXPECT_EQ(Count("P.OnUnlock"), 1);
}

// A change asked for while a fade runs: every screen that was prepared leaves exactly once, a
// screen freed by its leave is freed once, and the last target ends current.
TEST_F(ScreenCrosserTest, AChangeDuringAFadeLeavesEachScreenOnce) {
    struct Case {
        const char* what;
        int framesBeforeSecondChange;
        int bPrepared;  // B had been prepared when the change to C came
    };
    for (const Case& k : {Case{"during the fade-out", 10, 0}, Case{"at full black", 30, 0},
                          Case{"during the fade-in", 40, 1}}) {
        SCOPED_TRACE(k.what);
        SetAppScreen(a);
        a->isFreedByLeave = 1;
        b->isFreedByLeave = 1;
        Log().clear();
        GoToScreen(b, [] { Note("f", "B"); });
        for (int i = 0; i < k.framesBeforeSecondChange; ++i) Frame();
        GoToScreen(c, [] { Note("f", "C"); });
        RunFade();
        EXPECT_EQ(Control::CurrScreen, c);
        EXPECT_EQ(Count("A.OnLeave"), 1);
        EXPECT_EQ(Count("A.OnFree"), 1);
        EXPECT_EQ(Count("B.OnPrepare"), k.bPrepared);
        EXPECT_EQ(Count("B.OnLeave"), k.bPrepared);
        EXPECT_EQ(Count("B.OnFree"), k.bPrepared);
        EXPECT_EQ(Count("C.OnPrepare"), 1);
        EXPECT_EQ(Count("f.B"), k.bPrepared);
        EXPECT_EQ(Count("f.C"), 1);
        // Whatever was prepared leaves before the last target is prepared.
        const std::vector<std::string> expected =
            k.bPrepared ? std::vector<std::string>{"A.OnLeave", "B.OnLeave", "C.OnPrepare"}
                        : std::vector<std::string>{"A.OnLeave", "C.OnPrepare"};
        EXPECT_EQ(LogOf({"A.OnLeave", "B.OnLeave", "C.OnPrepare"}), expected);
    }
}

// A callback that itself asks for a change: both callbacks run once, at full black, and the
// change ends on the second target; the first target is never prepared nor left.
TEST_F(ScreenCrosserTest, AChangeAskedForByTheCallbackKeepsItsOwnCallback) {
    Log().clear();
    GoToScreen(b, [this] {
        Note("f", "B");
        GoToScreen(c, [] { Note("f", "C"); });
    });
    RunFade();
    EXPECT_EQ(Control::CurrScreen, c);
    EXPECT_EQ(LogOf({"f.", "A.OnLeave", "B.OnPrepare", "B.OnLeave", "C.OnPrepare"}),
              (std::vector<std::string>{"f.B", "f.C", "A.OnLeave", "C.OnPrepare"}));
}

TEST_F(ScreenCrosserTest, SetDataAndNullScreens) {
    // No current screen: the fade-out draws only black and nothing is left.
    Control::Reset();
    CurrScreenCrosser = CreateAppCrosser();
    Log().clear();
    GoToScreen(b, nullptr);
    EXPECT_EQ(CurrScreenCrosser->Screen[0], nullptr);
    RunFade();
    EXPECT_EQ(Control::CurrScreen, b);
    EXPECT_EQ(Count("B.OnPrepare"), 1);

    // No target: no fade that could never end.
    SetCurrScreenByCross(nullptr, nullptr);
    EXPECT_EQ(Control::CurrScreen, b);

    // Reset clears the callback and the progress.
    auto crosser = CreateAppCrosser();
    crosser->SetData(a, b, [] { Note("f", "x"); });
    crosser->Percent->Per = 0.5f;
    crosser->State = 1;
    crosser->Bylo = 1;
    crosser->Reset();
    EXPECT_EQ(crosser->Percent->Per, 0.0f);
    EXPECT_EQ(crosser->State + crosser->Bylo, 0);
    crosser->ExecuteFunction();
    EXPECT_EQ(Count("f.x"), 0);
}

}  // namespace
