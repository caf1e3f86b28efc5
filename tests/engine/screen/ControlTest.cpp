// The frame driver: its registry and lookups, screen switching with and without the fade,
// pop-ups through the registry, the per-frame update and system keys, the frame loop's order,
// its overlays, and the exit path.
#include "engine/screen/Control.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "engine/data/Settings.h"
#include "engine/screen/Asset.h"
#include "engine/screen/ControlHooks.h"
#include "engine/screen/GameObject.h"
#include "engine/screen/MouseCursor.h"
#include "platform/Font.h"
#include "ControlTestSupport.h"

namespace {

using namespace controltest;

using ControlTest = ControlFixture;

// ---------------------------------------------------------------------------------------------
// Registry and lookups

TEST_F(ControlTest, RegistryKeepsOrderAndRefusesNullAndDuplicates) {
    auto a = MakeScreen("Menu", 3);
    auto b = MakeScreen("Game", 7);
    Control::AddScreen(a);
    Control::AddScreen(nullptr);
    auto p1 = MakePopUp("Options", 1);
    auto p2 = MakePopUp("Info");
    auto p3 = MakePopUp("Name");
    Control::AddPopUp(p2);
    Control::AddPopUp(nullptr);

    EXPECT_EQ(Control::Screens, (std::vector<std::shared_ptr<TAppScreen>>{a, b}));
    EXPECT_EQ(GetScreensList(), Control::Screens);
    EXPECT_EQ(Control::GetScreensNumber(), 2);
    // Pop-ups flagged to be set up at the end come after all others, each run in order.
    EXPECT_EQ(GetPopUpsList(), (std::vector<std::shared_ptr<TAppPopUp>>{p2, p3, p1}));
    EXPECT_EQ(gErrors, (std::vector<std::string>{
                           "ERROR ( File: Control  Code: Control::AddScreen ) Menu Screen allready exists!",
                           "ERROR ( File: Control  Code: Control::AddScreen ) Trying to add an NULL screen!",
                           "ERROR ( File: Control  Code: Control::AddPopUp ) Info PopUp allready exists!",
                           "ERROR ( File: Control  Code: Control::AddPopUp ) Trying to add an NULL popup!"}));
}

TEST_F(ControlTest, LookupsByNameIdAndCurrentScreen) {
    auto menu = MakeScreen("MainMenu", 3);
    auto game = MakeScreen("Game", 7);
    auto popup = MakePopUp("Options");

    EXPECT_EQ(Control::GetScreenById("mainMENU"), menu);  // any letter case
    EXPECT_EQ(Control::GetScreenById("Kingdom"), nullptr);
    EXPECT_EQ(Control::GetAppScreen("7"), game);
    EXPECT_EQ(Control::GetAppScreen("8"), nullptr);

    EXPECT_EQ(Control::GetCurrentScreen(), nullptr);
    EXPECT_EQ(Control::GetCurentScreenName(), "");
    EXPECT_EQ(Control::CanBeSuspended(), 1);
    SetAppScreenInstant(menu);
    EXPECT_EQ(Control::isScreen("MainMenu"), 1);
    EXPECT_EQ(Control::isScreen("mainmenu"), 0);  // names compare with case
    EXPECT_EQ(Control::isScreen(""), 0);
    EXPECT_EQ(Control::isScreen(menu.get()), 1);
    EXPECT_EQ(Control::isScreen(game.get()), 0);

    // The pop-up shown last has the input.
    EXPECT_EQ(isAppPopUpHidden(popup), 1);
    ShowAppPopUp(popup);
    EXPECT_EQ(isAppPopUpHidden(popup), 0);
    EXPECT_EQ(Control::GetCurrentScreen(), popup);
    EXPECT_EQ(Control::GetCurrentScreenOnly(), menu);
}

TEST_F(ControlTest, TemplatesComeFromTheFirstScreenThatHasOne) {
    struct TTemplateScreen : TAppScreen {
        TGameObjectPtr tpl = std::make_shared<TGameObject>();
        TGameObjectPtr GetGlobalTemplate(const std::string& n) override { return n == "Star" ? tpl : nullptr; }
    };
    MakeScreen("Plain");
    auto holder = std::make_shared<TTemplateScreen>();
    holder->Init("Holder", "");
    EXPECT_EQ(Control::GetTemplate("Star"), holder->tpl);
    EXPECT_TRUE(gErrors.empty());
    EXPECT_EQ(Control::GetTemplate("Moon"), nullptr);
    EXPECT_EQ(gErrors, (std::vector<std::string>{
                           "ERROR ( File: Control  Code: Control::GetTemplate ) No global temaplate 'Moon' found!"}));
}

// ---------------------------------------------------------------------------------------------
// Switching

TEST_F(ControlTest, ScreenChangeFlushesInputThenLeavesUnlocksAndPrepares) {
    auto a = MakeScreen("A");
    auto b = MakeScreen("B");
    SetAppScreen(a);
    b->Lock();
    gLog.clear();

    InjectKeyDown(KEY_SPACE);
    InjectMouseButton(1, true);
    Mouse::Update();
    ASSERT_EQ(Mouse::LeftPressed, 1);
    SetAppScreen(b);

    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(Mouse::LeftPressed, 0);
    EXPECT_EQ(Mouse::LeftHolded, 0);
    EXPECT_EQ(gLog, (std::vector<std::string>{"A.leave", "B.unlock", "B.prepare"}));
    EXPECT_EQ(b->isLocked, 0);
    EXPECT_EQ(Control::CurrScreen, b);
}

TEST_F(ControlTest, InstantSwitchAndTheFadeScreenLeaveNothing) {
    auto a = MakeScreen("A");
    auto b = MakeScreen("B");
    SetAppScreen(a);
    gLog.clear();

    // SetScreen never takes the fade screen: input is flushed and nothing else happens.
    InjectKeyDown(KEY_SPACE);
    SetAppScreen(CreateAppCrosser());
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    EXPECT_EQ(Control::CurrScreen, a);

    InjectKeyDown(KEY_SPACE);
    b->Lock();
    SetAppScreenInstant(b);
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
    EXPECT_EQ(gLog, (std::vector<std::string>{"B.unlock"}));
    EXPECT_EQ(Control::CurrScreen, b);
}

TEST_F(ControlTest, GoToScreenWithoutFadeHidesPopUpsAndRunsItsCallbackBeforeTheSwitch) {
    auto a = MakeScreen("A");
    auto b = MakeScreen("B");
    auto p1 = MakePopUp("P1");
    auto p2 = MakePopUp("P2");
    SetAppScreen(a);
    ShowAppPopUp(p1);
    ShowAppPopUp(p2);
    gLog.clear();

    GoToScreen(b, [] { Log("callback"); });

    // Pop-ups go without their OnHide; the callback runs once, before A leaves.
    EXPECT_EQ(gLog,
              (std::vector<std::string>{"P1.unlock", "P2.unlock", "callback", "A.leave", "B.unlock", "B.prepare"}));
    EXPECT_TRUE(a->ActivePopUps.empty());
    EXPECT_EQ(Control::CurrScreen, b);
    GoToScreen(a, nullptr);  // no callback: fine
    EXPECT_EQ(Control::CurrScreen, a);
}

// Runs frames of the update until the screen is current (the fade takes about 61 frames each
// way at the fixed step); the number of frames run, or -1.
int UpdateUntilCurrent(const std::shared_ptr<TAppScreen>& screen, int maxFrames = 300) {
    for (int i = 1; i <= maxFrames; ++i) {
        AdvanceFixedClock();
        Control::Update();
        if (Control::CurrScreen == screen) return i;
    }
    return -1;
}

TEST_F(ControlTest, GoToScreenThroughTheFadeLeavesEachScreenOnce) {
    CurrScreenCrosser = CreateAppCrosser();
    auto a = MakeScreen("A");
    auto b = MakeScreen("B");
    auto c = MakeScreen("C");
    SetAppScreen(a);
    gLog.clear();

    GoToScreen(b, [] { Log("toB"); });
    EXPECT_EQ(Control::CurrScreen, CurrScreenCrosser);
    ASSERT_GT(UpdateUntilCurrent(b), 60);
    EXPECT_EQ(CountOf("toB"), 1);
    EXPECT_EQ(CountOf("A.leave"), 1);
    EXPECT_EQ(CountOf("B.prepare"), 1);
    EXPECT_LT(IndexOf("toB"), IndexOf("A.leave"));
    EXPECT_LT(IndexOf("A.leave"), IndexOf("B.prepare"));

    // A change asked for during the next fade: every screen is still left exactly once.
    gLog.clear();
    GoToScreen(a, nullptr);
    for (int i = 0; i < 70 && CountOf("A.prepare") == 0; ++i) {
        AdvanceFixedClock();
        Control::Update();
    }
    ASSERT_EQ(CountOf("A.prepare"), 1);
    GoToScreen(c, [] { Log("toC"); });
    ASSERT_GT(UpdateUntilCurrent(c), 0);
    EXPECT_EQ(CountOf("toC"), 1);
    EXPECT_EQ(CountOf("B.leave"), 1);
    EXPECT_EQ(CountOf("A.leave"), 1);
    EXPECT_EQ(CountOf("C.prepare"), 1);
    EXPECT_EQ(CountOf("C.leave"), 0);
}

TEST_F(ControlTest, PopUpsThroughTheRegistry) {
    auto a = MakeScreen("A");
    auto p = MakePopUp("P");
    ShowAppPopUp(p);  // no current screen: nothing
    EXPECT_TRUE(gLog.empty());

    SetAppScreen(a);
    gLog.clear();
    InjectKeyDown(KEY_SPACE);
    ShowAppPopUp(p);
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);  // a pending hit is not seen by the pop-up
    ShowAppPopUp(p);                  // already shown: no second OnShow
    EXPECT_EQ(CountOf("P.show"), 1);
    HideAppPopUp(p);
    EXPECT_GE(IndexOf("P.hide"), 0);
    EXPECT_EQ(isAppPopUpHidden(p), 1);
}

// ---------------------------------------------------------------------------------------------
// Per-frame update and the exit path

TEST_F(ControlTest, UpdateRunsGlobalObjectsBeforeTheScreenAndPausesOffTheLoadingScreen) {
    struct TGlobal : TGameObject {
        int Updating() override { return Log("global"), 0; }
    };
    struct TPause : TAppScreen {
        int RunPause() override { return Log("pause"), 0; }
    };
    struct TLoading : TRecScreen {
        bool PausesInBackground() const override { return false; }
    };
    Control::AddGlobalObject(std::make_shared<TGlobal>());
    ControlHooks::PauseScreen = std::make_shared<TPause>();

    Control::Update();  // no screen: the global objects still run
    EXPECT_EQ(gLog, (std::vector<std::string>{"global"}));

    auto a = MakeScreen("A");
    SetAppScreen(a);
    gLog.clear();
    InjectSuspended(true);
    Control::Update();
    EXPECT_EQ(gLog, (std::vector<std::string>{"global", "pause", "A.update"}));

    // On the loading screen a window in the background does not pause.
    auto loading = std::make_shared<TLoading>();
    loading->Init("L", "");
    SetAppScreen(loading);
    EXPECT_EQ(Control::CanBeSuspended(), 0);
    gLog.clear();
    Control::Update();
    EXPECT_EQ(gLog, (std::vector<std::string>{"global", "L.update"}));

    // With no pause screen handed in the frames go on, and that is said once.
    ControlHooks::PauseScreen = nullptr;
    SetAppScreen(a);
    EXPECT_EQ(Control::CanBeSuspended(), 1);
    gLog.clear();
    Control::Update();
    Control::Update();
    EXPECT_EQ(gLog, (std::vector<std::string>{"global", "A.update", "global", "A.update"}));
    ASSERT_EQ(gErrors.size(), 1u);
    EXPECT_NE(gErrors[0].find("No pause screen was handed in"), std::string::npos) << gErrors[0];
}

// A screen entered by a direct switch during another screen's update is drawn that same frame:
// it runs its first update before it is drawn, and from then on one update a frame.
TEST_F(ControlTest, AScreenEnteredDuringTheUpdateIsUpdatedBeforeItIsFirstDrawn) {
    struct TSwitching : TRecScreen {
        std::shared_ptr<TAppScreen> to;
        int OnUpdate() override {
            TRecScreen::OnUpdate();
            if (to) SetAppScreen(std::exchange(to, nullptr));
            return 0;
        }
    };
    auto a = std::make_shared<TSwitching>();
    a->Init("A", "");
    auto b = MakeScreen("B");
    SetAppScreen(a);
    a->to = b;
    gLog.clear();
    Control::Update();
    Control::Draw();
    EXPECT_EQ(gLog, (std::vector<std::string>{"A.update", "A.leave", "B.unlock", "B.prepare", "B.update", "B.draw"}));
    gLog.clear();
    Control::Update();
    Control::Draw();
    EXPECT_EQ(gLog, (std::vector<std::string>{"B.update", "B.draw"}));
}

TEST_F(ControlTest, QuitRequestAndCommandQSaveOnceAndEnd) {
    const struct {
        const char* name;
        std::vector<int> keys;
        bool quitRequest;
        bool ends;
    } cases[] = {
        {"close request", {}, true, true},
        {"Command+Q", {KEY_LSYS, KEY_Q}, false, true},
        {"both in one frame", {KEY_LSYS, KEY_Q}, true, true},
        {"Q alone", {KEY_Q}, false, false},
        {"Command alone", {KEY_LSYS}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gLog.clear();
        Control::isEnded = false;
        ResetInput();
        Control::ToSaveAtEndList.clear();
        AddToSaveAtEndList(MakeSaver("profiles"));
        AddToSaveAtEndList(MakeSaver("options"));
        ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.atEnd = [] { Log("endHook"); }});
        for (int key : c.keys) InjectKeyDown(key);
        if (c.quitRequest) InjectQuit();

        Control::Update();
        if (c.ends) {
            EXPECT_EQ(gLog, (std::vector<std::string>{"profiles.saveAtEnd", "options.saveAtEnd", "endHook", "exit"}));
            AppEnd();  // a later call saves nothing again
            EXPECT_EQ(CountOf("profiles.saveAtEnd"), 1);
        } else {
            EXPECT_TRUE(gLog.empty());
            // Not taken by the frame driver: the hit stays for game code.
            if (std::find(c.keys.begin(), c.keys.end(), KEY_Q) != c.keys.end()) {
                EXPECT_EQ(KeyHit(KEY_Q), 1);
            }
        }
    }
}

TEST_F(ControlTest, ASaveAtExitThatFailsGivesANonZeroExitStatusAndTheOthersStillSave) {
    struct TThrowingSaver : TAppObj {
        int SaveAtEnd() override { throw std::runtime_error("disk gone"); }
    };
    const struct {
        const char* name;
        std::shared_ptr<TAppObj> first;
        int status;
    } cases[] = {
        {"all saved", MakeSaver("profiles"), 0},
        {"one failed",
         [] {
             auto s = MakeSaver("profiles");
             s->fails = -1;
             return s;
         }(),
         1},
        {"one threw", std::make_shared<TThrowingSaver>(), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Control::Reset();
        AppExitFunction = [] { Log("exit"); };
        gLog.clear();
        AddToSaveAtEndList(c.first);
        AddToSaveAtEndList(MakeSaver("options"));
        testing::internal::CaptureStdout();
        EXPECT_EQ(AppEnd(), c.status);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Control::ExitStatus, c.status);
        EXPECT_EQ(CountOf("options.saveAtEnd"), 1);
        EXPECT_EQ(gLog.back(), "exit");
    }
}

// ---------------------------------------------------------------------------------------------
// The frame loop (with a window)

TEST_F(ControlTest, MainLoopRunsTheFrameStepsInOrderAndEndsThroughAppEnd) {
    OpenDisplay();
    struct TGlobal : TGameObject {
        int Updating() override { return Log("global"), 0; }
    };
    Control::AddGlobalObject(std::make_shared<TGlobal>());
    auto a = MakeScreen("A");
    SetAppScreen(a);
    AddToSaveAtEndList(MakeSaver("options"));
    gLog.clear();
    Control::FrameLimit = 2;
    auto harness = std::make_shared<TFrameHarness>();
    harness->frameStart = [](int32_t frame) { Log("frame" + std::to_string(frame)); };
    // The game's own cursor, which logs where it is drawn.
    struct TPicture : TImageAsset {
        int Width() override { return 8; }
    };
    struct TLogCursor : TMouseCursor {
        void Draw(int, int) override { Log("cursor"); }
    };
    const int custom = AppSettings::CustomCursor;
    AppSettings::CustomCursor = 1;
    Mouse::Cursor = std::make_shared<TLogCursor>();
    Mouse::Cursor->img = std::make_shared<TPicture>();
    harness->beforeFlip = [] {
        // The frame is drawn and the strips are on it: the draw state is back to black, alpha
        // blend, scale 1, no rotation.
        int r, g, b;
        GetColor(r, g, b);
        float sx, sy;
        GetScale(sx, sy);
        Log("flip " + std::to_string(r + g + b) + " " + std::to_string(GetBlend()) + " " + std::to_string(sx) + " " +
            std::to_string(GetRotation()));
    };
    harness->atEnd = [] { Log("endHook"); };
    ControlHooks::Harness = harness;

    AppRun();

    const std::string flip = "flip 0 3 1.000000 0.000000";
    EXPECT_EQ(gLog,
              (std::vector<std::string>{"frame0", "global", "A.update", "A.draw", "cursor", flip, "frame1", "global",
                                        "A.update", "A.draw", "cursor", flip, "options.saveAtEnd", "endHook", "exit"}));
    EXPECT_EQ(Control::FrameCount, 2);
    AppSettings::CustomCursor = custom;
    Mouse::Reset();
}

TEST_F(ControlTest, FrameDrawsScreenThenOverlaysThenStrips) {
    OpenDisplay();
    // A screen that leaves a faint alpha behind: the strips are drawn opaque all the same, with
    // or without the overlays (the console's drawing sets the alpha every frame).
    struct TFilled : TAppScreen {
        int OnDraw() override {
            SetColor(0, 128, 255);
            SetAlpha(1);
            DrawRect(0, 0, 1024, 768);
            SetAlpha(0.3f);
            return 0;
        }
    };
    for (int overlays : {1, 0}) {
        SCOPED_TRACE(overlays);
        Control::Reset();
        AppExitFunction = [] { Log("exit"); };
        auto screen = std::make_shared<TFilled>();
        screen->Init("Filled", "");
        SetAppScreen(screen);
        Control::isFPSShowOn = overlays;
        Control::isBorderShowOn = overlays;
        uint32_t fpsBox = 0, fpsText = 0, border = 0, strip = 0, open = 0;
        ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.beforeFlip = [&] {
            fpsBox = PixelAt(5, 5);
            border = PixelAt(0, 300);
            strip = PixelAt(1000, 767);
            open = PixelAt(500, 300);
            // Some pixel of the white "FPS: " text inside the box.
            for (int y = 8; y < 8 + TextHeight("A") && !fpsText; ++y)
                for (int x = 8; x < 40 && !fpsText; ++x)
                    if (PixelAt(x, y) == 0xFFFFFFu) fpsText = 1;
        }});
        Control::FrameLimit = 1;
        AppRun();
        EXPECT_EQ(open, 0x0080FFu);
        EXPECT_EQ(fpsBox, overlays ? 0x000000u : 0x0080FFu);
        EXPECT_EQ(fpsText, overlays ? 1u : 0u);
        EXPECT_EQ(border, overlays ? 0xFF0000u : 0x0080FFu);
        EXPECT_EQ(strip, 0x000000u);
    }
}

TEST_F(ControlTest, NoCurrentScreenShowsOnlyTheNotice) {
    OpenDisplay();
    Control::isFPSShowOn = 1;
    Control::isBorderShowOn = 1;
    uint32_t fpsCorner = 1, border = 1;
    int white = 0;
    ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.beforeFlip = [&] {
        fpsCorner = PixelAt(5, 5);
        border = PixelAt(0, 300);
        // The notice is centred: white letters around the middle of the screen.
        for (int x = 440; x < 584; ++x)
            if (PixelAt(x, 384) == 0xFFFFFFu) ++white;
    }});
    SetClsColor(20, 20, 20);
    Cls();
    Control::FrameLimit = 1;
    AppRun();
    SetClsColor(0, 0, 0);
    EXPECT_EQ(fpsCorner, 0x141414u);
    EXPECT_EQ(border, 0x141414u);
    EXPECT_GT(white, 0);
}

TEST_F(ControlTest, ControlEAddsTheEditorNotice) {
    OpenDisplay();
    Control::FrameLimit = 2;
    ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [](int32_t frame) {
        if (frame == 0) {
            InjectKeyDown(KEY_LCONTROL);
            InjectKeyDown(69);
        }
    }});
    AppRun();
    ASSERT_EQ(Console::Criticals.size(), 1u);
    EXPECT_EQ(Console::Criticals.front()->txt, "Editor unavailable without Debug Mode Build!");
    EXPECT_EQ(Console::Criticals.front()->t, 0);
}

}  // namespace
