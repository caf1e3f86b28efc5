// The cross-fade between screens: its timeline, what runs at the switch, and changes asked for
// while a fade runs.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <string>
#include <vector>

#include "engine/screen/ScreenCrosser.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/TestSupport.h"
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
    b->isLocked = 1;  // left locked by its last visit
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

    // The next frame switches: B is prepared, runs its first update (and only that one) and is
    // drawn.
    const float switchAlpha = Frame();
    EXPECT_EQ(switchAlpha, 1.0f);  // B drawn under full black
    EXPECT_EQ(CurrScreenCrosser->State, 1);
    EXPECT_EQ(LogOf({"f.", "A.OnLeave", "B.OnStart", "B.OnPrepare", "B.OnUnlock", "B.OnUpdate", "B.OnDraw"}),
              (std::vector<std::string>{"f.run", "A.OnLeave", "B.OnStart", "B.OnPrepare", "B.OnUnlock", "B.OnUpdate",
                                        "B.OnDraw", "B.OnDraw"}));
    EXPECT_EQ(b->isLocked, 0);

    // Fade-in: 500 ms, then B is current and draws itself.
    const int fadeIn = RunFade();
    EXPECT_EQ(fadeIn, 30);
    EXPECT_EQ(Control::CurrScreen, b);
    EXPECT_EQ(b->isLocked, 0);
    EXPECT_EQ(Count("B.OnUnlock"), 1);
    // A was not updated during the whole change, B only by its first update at the switch.
    for (const char* hook : {"A.UpdateAtStart", "A.Interface"}) EXPECT_EQ(Count(hook), 0) << hook;
    EXPECT_EQ(Count("B.UpdateAtStart"), 1);
    EXPECT_EQ(Count("f.run"), 1);
    EXPECT_EQ(Count("B.OnPrepare"), 1);
    EXPECT_EQ(Count("A.OnLeave"), 1);
    Frame();
    EXPECT_EQ(Count("B.UpdateAtStart"), 2);
}

// What B's first update does is what the fade shows: a screen that sets a text's alpha in its
// update fades in with that alpha, and the input of the moment (a key hit, a click) is kept for
// its update after the fade.
class SettingScreen : public LogScreen {
public:
    using LogScreen::LogScreen;
    TGameObjectPtr label = std::make_shared<TGameObject>();
    std::vector<int> seen;  // per update: key hits of A, the left button pressed, held
    int OnUpdate() override {
        seen.push_back(KeyHit(KEY_A) * 100 + Mouse::LeftPressed * 10 + Mouse::LeftHolded);
        label->SetA(0.25f);
        return LogScreen::OnUpdate();
    }
};

TEST_F(ScreenCrosserTest, TheNewScreenFadesInAsItsFirstUpdateLeftItAndKeepsTheInput) {
    auto d = std::make_shared<SettingScreen>("D");
    d->AddObject(d->label);
    d->label->UpdateSettings();
    ASSERT_EQ(d->label->DrawAlpha, 1.0f);
    GoToScreen(d, nullptr);
    while (CurrScreenCrosser->State == 0) {
        // A key and the left button pressed just before the switch.
        if (CurrScreenCrosser->Bylo != 0) {
            InjectKeyDown(KEY_A);
            InjectMouseButton(1, true);
            Mouse::Update();
        }
        Frame();
    }
    EXPECT_EQ(d->seen, (std::vector<int>{0}));
    EXPECT_EQ(d->label->DrawAlpha, 0.25f);
    EXPECT_EQ(Mouse::LeftPressed, 1);
    EXPECT_EQ(Mouse::LeftHolded, 1);
    EXPECT_FALSE(isInputHeldBack());
    RunFade();
    Frame();
    EXPECT_EQ(d->seen, (std::vector<int>{0, 111}));
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

// B's first update runs with B current: a pop-up it shows goes onto B (and is drawn over it in
// the fade-in), a change it asks for fades B out again towards its own target.
class FirstUpdateScreen : public LogScreen {
public:
    using LogScreen::LogScreen;
    std::function<void()> first;
    int OnUpdate() override {
        if (first) std::exchange(first, nullptr)();
        return LogScreen::OnUpdate();
    }
};

TEST_F(ScreenCrosserTest, WhatTheNewScreensFirstUpdateAsksForGoesToIt) {
    auto popup = MakePopUp("P");
    auto d = std::make_shared<FirstUpdateScreen>("D");
    d->first = [&] {
        EXPECT_EQ(Control::CurrScreen, d);
        ShowAppPopUp(popup);
        d->Lock();  // as a help does over the game screen, until it is closed
    };
    GoToScreen(d, nullptr);
    while (CurrScreenCrosser->State == 0) Frame();
    EXPECT_EQ(Control::CurrScreen, CurrScreenCrosser);
    EXPECT_TRUE(d->isPopUp(popup.get()));
    EXPECT_TRUE(CurrScreenCrosser->ActivePopUps.empty());
    Log().clear();
    Frame();
    EXPECT_EQ(Count("P.OnDraw"), 1);
    RunFade();
    EXPECT_EQ(Control::CurrScreen, d);
    EXPECT_TRUE(d->isPopUp(popup.get()));
    EXPECT_EQ(d->isLocked, 1);

    auto e = std::make_shared<FirstUpdateScreen>("E");
    e->first = [this] { GoToScreen(c, [] { Note("f", "C"); }); };
    Log().clear();
    GoToScreen(e, nullptr);
    RunFade();
    EXPECT_EQ(Control::CurrScreen, c);
    // E is drawn fading out from its first frame on (its one update left it so), then leaves.
    EXPECT_EQ(LogOf({"f.", "D.OnLeave", "E.OnPrepare", "E.OnUpdate", "E.OnLeave", "C.OnPrepare"}),
              (std::vector<std::string>{"D.OnLeave", "E.OnPrepare", "E.OnUpdate", "f.C", "E.OnLeave", "C.OnPrepare"}));
    EXPECT_GT(Count("E.OnDraw"), 25);
}

// A change asked for while a fade runs: every screen that was prepared leaves exactly once, a
// screen freed by its leave is freed once, and the last target ends current.
TEST_F(ScreenCrosserTest, AChangeDuringAFadeLeavesEachScreenOnce) {
    struct Case {
        const char* what;
        int framesBeforeSecondChange;
        int bPrepared;  // B had been prepared when the change to C came
    };
    for (const Case& k :
         {Case{"during the fade-out", 10, 0}, Case{"at full black", 30, 0}, Case{"during the fade-in", 40, 1}}) {
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

// The pictures of a change: a screen drawing a picture from a file, switched to and back.
class PictureScreen : public LogScreen {
public:
    PictureScreen(const std::string& n, TImagePtr p) : LogScreen(n), picture(std::move(p)) {}
    TImagePtr picture;
    TImagePtr later;  // drawn too while set (a picture the screen shows after its first frame)
    int OnDraw() override {
        DrawImage(picture, 10, 10);
        if (later) DrawImage(later, 100, 10);
        return LogScreen::OnDraw();
    }
};

class ScreenCrosserPicturesTest : public ScreenCrosserTest {
protected:
    testsupport::TempDir dir;
    std::shared_ptr<PictureScreen> pa, pb;

    void SetUp() override {
        ScreenCrosserTest::SetUp();
        if (!GraphicsOpen()) {
            ASSERT_TRUE(Graphics(640, 480, 0, 60, 0)) << GraphicsError();
        }
        SetVirtualResolution(static_cast<float>(GraphicsWidth()), static_cast<float>(GraphicsHeight()));
        ResetDrawState();
        pa = std::make_shared<PictureScreen>("PA", Picture("a.png", 64, int(0xFFFF0000)));
        pb = std::make_shared<PictureScreen>("PB", Picture("b.png", 32, int(0xFF00FF00)));
        SetAppScreen(pa);
    }
    void TearDown() override {
        SetFixedClock(false);
        ScreenCrosserTest::TearDown();
    }
    TImagePtr Picture(const std::string& name, int side, int argb) {
        auto p = CreatePixmap(side, side);
        p->ClearPixels(argb);
        EXPECT_TRUE(SavePixmapPNG(p, dir.file(name)));
        return LoadImage(dir.file(name), 0);
    }
    // Frames of the fade-out, then the switch's frame.
    void FadeOutAndSwitch() {
        for (int i = 0; i < 31; ++i) Frame();
        ASSERT_EQ(CurrScreenCrosser->State, 1);
    }
};

// On the real clock the fade-in waits at full black until the picture the new screen shows is
// decoded (by the worker) and uploaded; at the next frame the picture of the screen left goes. Going back, the
// picture that screen drew last time is decoded while the fade-out runs, and the fade-in takes
// its 30 frames with no wait.
TEST_F(ScreenCrosserPicturesTest, TheFadeInWaitsForThePicturesAndTheNextVisitHasThemAhead) {
    Frame();  // PA drawn: its picture decoded and uploaded
    const int64_t decoded = PicturesDecoded();
    const int64_t textures = TextureMemory().pictureTextures;
    GoToScreen(pb, nullptr);
    FadeOutAndSwitch();
    // Held at full black (the timer not started) until the picture is there.
    int held = 0;
    for (; CurrScreenCrosser->Percent->Per == 0.0f && held < 5000; ++held) {
        const float black = Frame();
        if (CurrScreenCrosser->Percent->Per == 0.0f) {
            EXPECT_EQ(black, 1.0f);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Mostly the switch finds the picture missing and the fade-in waits a frame or more; on a
    // busy machine the worker can have it decoded before the switch looks, and then it does not
    // wait at all (right too): at least the switch's own frame is black.
    EXPECT_GE(held, 1);
    EXPECT_EQ(PicturesDecoded(), decoded + 1);
    EXPECT_EQ(TextureMemory().pictureTextures, textures - 64 * 64 * 4 + 32 * 32 * 4) << "PA's picture is let go";
    RunFade();
    EXPECT_EQ(Control::CurrScreen, pb);

    GoToScreen(pa, nullptr);
    // The fade-out held where it is (no time passes) until the worker has PA's picture.
    for (int i = 0; i < 5000 && PicturesDecoded() < decoded + 2; ++i) {
        Frame(0.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(PicturesDecoded(), decoded + 2) << "decoded ahead, before the switch";
    FadeOutAndSwitch();
    EXPECT_EQ(RunFade(), 30);
    EXPECT_EQ(PicturesDecoded(), decoded + 2);
    EXPECT_EQ(Control::CurrScreen, pa);
}

// A picture the screen showed on its last visit but not in its first frame is asked for ahead
// with the rest, and kept when the pictures of the screen left go: drawn later, it is not decoded
// again.
TEST_F(ScreenCrosserPicturesTest, APictureAskedForAheadIsKeptThoughTheFirstFrameDoesNotShowIt) {
    SetFixedClock(true);
    const TImagePtr later = Picture("later.png", 16, int(0xFF0000FF));
    Frame();
    GoToScreen(pb, nullptr);
    FadeOutAndSwitch();
    RunFade();
    pb->later = later;  // shown on this visit after the first frame
    Frame();
    pb->later = nullptr;
    GoToScreen(pa, nullptr);
    FadeOutAndSwitch();
    RunFade();
    const int64_t decoded = PicturesDecoded();

    GoToScreen(pb, nullptr);
    FadeOutAndSwitch();
    EXPECT_EQ(PicturesDecoded(), decoded + 2) << "both of PB's pictures decoded ahead";
    RunFade();
    Frame();
    pb->later = later;
    Frame();
    EXPECT_EQ(PicturesDecoded(), decoded + 2) << "the later picture was not let go at the switch";
}

// Under the fixed clock the switch's frame waits for what is missing, so a run repeats frame for
// frame: the fade-in takes its 30 frames, the picture there from its first.
TEST_F(ScreenCrosserPicturesTest, UnderTheFixedClockTheSwitchFrameWaitsForThePictures) {
    SetFixedClock(true);
    Frame();
    const int64_t decoded = PicturesDecoded();
    GoToScreen(pb, nullptr);
    FadeOutAndSwitch();
    EXPECT_EQ(PicturesDecoded(), decoded + 1);
    EXPECT_EQ(RunFade(), 30);
    EXPECT_EQ(Control::CurrScreen, pb);
}

}  // namespace
