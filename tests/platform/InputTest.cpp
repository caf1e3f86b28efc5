#include "platform/Input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>

#include "support/TestSupport.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { ResetInput(); }
    void TearDown() override { ResetInput(); }
};

std::vector<int> DrainChars() {
    std::vector<int> out;
    while (int c = GetChar()) out.push_back(c);
    return out;
}

TEST(InputKeyMap, ScancodesGiveWindowsVirtualKeys) {
    const struct {
        int scancode;
        int vk;
    } cases[] = {
        {SDL_SCANCODE_A, 65},
        {SDL_SCANCODE_Q, 81},
        {SDL_SCANCODE_Z, 90},
        {SDL_SCANCODE_1, 49},
        {SDL_SCANCODE_9, 57},
        {SDL_SCANCODE_0, 48},
        {SDL_SCANCODE_F1, 112},
        {SDL_SCANCODE_F4, 115},
        {SDL_SCANCODE_F12, 123},
        {SDL_SCANCODE_LEFT, 37},
        {SDL_SCANCODE_UP, 38},
        {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40},
        {SDL_SCANCODE_HOME, 36},
        {SDL_SCANCODE_END, 35},
        {SDL_SCANCODE_DELETE, 46},
        {SDL_SCANCODE_INSERT, 45},
        {SDL_SCANCODE_RETURN, 13},
        {SDL_SCANCODE_KP_ENTER, 13},
        {SDL_SCANCODE_ESCAPE, 27},
        {SDL_SCANCODE_BACKSPACE, 8},
        {SDL_SCANCODE_TAB, 9},
        {SDL_SCANCODE_SPACE, 32},
        {SDL_SCANCODE_GRAVE, 192},
        {SDL_SCANCODE_LGUI, 91},
        {SDL_SCANCODE_RGUI, 92},
        {SDL_SCANCODE_LCTRL, 162},
        {SDL_SCANCODE_RCTRL, 163},
        {SDL_SCANCODE_LSHIFT, 160},
        {SDL_SCANCODE_LALT, 164},
        {SDL_SCANCODE_RALT, 165},
        {SDL_SCANCODE_KP_0, 96},
        {SDL_SCANCODE_KP_9, 105},
        {SDL_SCANCODE_UNKNOWN, 0},
        {-1, 0},
        {SDL_NUM_SCANCODES, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromScancode(c.scancode), c.vk) << "scancode " << c.scancode;
}

TEST_F(InputTest, KeyHitsCountPressesAndClearWhenRead) {
    InjectKeyDown(KEY_Q);
    InjectKeyUp(KEY_Q);
    InjectKeyDown(KEY_Q);
    EXPECT_EQ(KeyHit(KEY_Q), 2);
    EXPECT_EQ(KeyHit(KEY_Q), 0);
    EXPECT_TRUE(KeyDown(KEY_Q));
    InjectKeyUp(KEY_Q);
    EXPECT_FALSE(KeyDown(KEY_Q));
    EXPECT_EQ(KeyHit(KEY_Q), 0);
    // Keys outside the table are never down and never hit.
    InjectKeyDown(300);
    EXPECT_EQ(KeyHit(300), 0);
    EXPECT_FALSE(KeyDown(-1));
}

TEST_F(InputTest, GenericModifiersFollowEitherSide) {
    InjectKeyDown(KEY_LSHIFT);
    InjectKeyDown(KEY_RSHIFT);
    EXPECT_TRUE(KeyDown(KEY_SHIFT));
    EXPECT_EQ(KeyHit(KEY_SHIFT), 2);
    InjectKeyUp(KEY_LSHIFT);
    EXPECT_TRUE(KeyDown(KEY_SHIFT));
    InjectKeyUp(KEY_RSHIFT);
    EXPECT_FALSE(KeyDown(KEY_SHIFT));
    InjectKeyDown(KEY_RCONTROL);
    InjectKeyDown(KEY_LALT);
    EXPECT_TRUE(KeyDown(KEY_CONTROL));
    EXPECT_TRUE(KeyDown(KEY_ALT));
}

TEST_F(InputTest, FlushKeysForgetsHitsHeldKeysAndTypedCharacters) {
    InjectKeyDown(KEY_A);
    InjectText("ab");
    InjectKeyDown(KEY_ENTER);
    FlushKeys();
    EXPECT_EQ(KeyHit(KEY_A), 0);
    EXPECT_FALSE(KeyDown(KEY_A));
    EXPECT_EQ(GetChar(), 0);
    // The key is still physically down: the platform's auto-repeat does not bring it back,
    // only a fresh press does.
    SDL_Event repeat{};
    repeat.type = SDL_KEYDOWN;
    repeat.key.keysym.scancode = SDL_SCANCODE_A;
    repeat.key.repeat = 1;
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_PushEvent(&repeat);
    PollSystem();
    EXPECT_FALSE(KeyDown(KEY_A));
    EXPECT_EQ(KeyHit(KEY_A), 0);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    InjectKeyUp(KEY_A);
    InjectKeyDown(KEY_A);
    EXPECT_TRUE(KeyDown(KEY_A));
    EXPECT_EQ(KeyHit(KEY_A), 1);
}

TEST_F(InputTest, TypedCharacterQueueKeepsOrderAndYieldsControlKeys) {
    InjectText("h\xC3\xA9\xE2\x82\xAC");
    InjectKeyDown(KEY_BACKSPACE);
    InjectKeyDown(KEY_TAB);
    InjectKeyDown(KEY_ENTER);
    InjectKeyDown(KEY_ESCAPE);
    InjectKeyDown(KEY_A);  // letters arrive through text input only, never twice
    InjectChar('x');
    EXPECT_EQ(DrainChars(), (std::vector<int>{'h', 0xE9, 0x20AC, 8, 9, 13, 27, 'x'}));
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputTest, MouseButtonsCountHitsAndFlushForgetsThemButKeepsPosition) {
    InjectMouseMove(100, 200);
    InjectWheel(3);
    InjectWheel(-1);
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    InjectMouseButton(2, true);
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_FALSE(MouseDown(1));
    EXPECT_TRUE(MouseDown(2));
    InjectMouseButton(3, true);
    FlushMouse();
    EXPECT_EQ(MouseHit(2), 0);
    EXPECT_EQ(MouseHit(3), 0);
    EXPECT_FALSE(MouseDown(2));
    EXPECT_FALSE(MouseDown(3));
    EXPECT_EQ(MouseX(), 100);
    EXPECT_EQ(MouseY(), 200);
    EXPECT_EQ(MouseZ(), 2);
    // The release of a flushed button changes nothing; the next press counts.
    InjectMouseButton(2, false);
    InjectMouseButton(2, true);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_TRUE(MouseDown(2));
    EXPECT_EQ(MouseHit(0), 0);
    EXPECT_EQ(MouseHit(4), 0);
}

// Releases are counted like hits, so that a reader polling once a frame sees a release followed
// by a new press (a release, a hit, the button held again).
TEST_F(InputTest, MouseReleasesCountLetGoesOfHeldButtonsAndClearWhenRead) {
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_EQ(MouseReleased(1), 1);
    EXPECT_EQ(MouseReleased(1), 0);
    EXPECT_FALSE(MouseDown(1));
    InjectMouseButton(2, true);
    EXPECT_EQ(MouseReleased(2), 0);
    InjectMouseButton(2, false);
    InjectMouseButton(2, true);
    EXPECT_EQ(MouseReleased(2), 1);
    EXPECT_TRUE(MouseDown(2));
    // A button flushed while down: its release is no release of a press that counted.
    FlushMouse();
    InjectMouseButton(2, false);
    EXPECT_EQ(MouseReleased(2), 0);
    InjectMouseButton(3, true);
    InjectMouseButton(3, false);
    HoldBackInput(true);
    EXPECT_EQ(MouseReleased(3), 0);
    HoldBackInput(false);
    EXPECT_EQ(MouseReleased(3), 1);
    InjectMouseButton(3, true);
    InjectMouseButton(3, false);
    FlushMouse();
    EXPECT_EQ(MouseReleased(3), 0);
    EXPECT_EQ(MouseReleased(0), 0);
    EXPECT_EQ(MouseReleased(4), 0);
}

// Whatever was pressed since the frame before reads as down through the frame, also when it was
// let go before the frame came: a tap and a key chord sent at once are seen held for one frame;
// hits count each press once; what is flushed, or lost with the focus, is forgotten.
TEST_F(InputTest, APressLetGoBeforeTheFrameReadsAsHeldForThatFrame) {
    InjectKeyDown(KEY_LSYS);
    InjectKeyDown(KEY_Q);
    InjectKeyUp(KEY_Q);
    InjectKeyUp(KEY_LSYS);
    InjectKeyDown(KEY_LSHIFT);
    InjectKeyUp(KEY_LSHIFT);
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    EXPECT_FALSE(KeyDown(KEY_LSYS));  // before a frame begins: as they are
    BeginInputFrame();
    EXPECT_TRUE(KeyDown(KEY_LSYS));
    EXPECT_TRUE(KeyDown(KEY_Q));
    EXPECT_TRUE(KeyDown(KEY_SHIFT));
    EXPECT_EQ(KeyHit(KEY_Q), 1);
    EXPECT_TRUE(MouseDown(1));
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_FALSE(MousePhysicallyDown(1));
    BeginInputFrame();
    EXPECT_FALSE(KeyDown(KEY_LSYS));
    EXPECT_FALSE(KeyDown(KEY_Q));
    EXPECT_FALSE(MouseDown(1));
    EXPECT_EQ(KeyHit(KEY_Q), 0);
    // A key held across frames reads as held until let go, then up at once.
    InjectKeyDown(KEY_A);
    BeginInputFrame();
    BeginInputFrame();
    EXPECT_TRUE(KeyDown(KEY_A));
    InjectKeyUp(KEY_A);
    EXPECT_FALSE(KeyDown(KEY_A));
    // Flushed, or the window sent to the background: nothing pressed is kept for the frame.
    const std::function<void()> forgets[] = {[] { FlushKeys(), FlushMouse(); }, [] { InjectSuspended(true); }};
    for (const auto& forget : forgets) {
        InjectSuspended(false);
        InjectKeyDown(KEY_A);
        InjectKeyUp(KEY_A);
        InjectMouseButton(2, true);
        InjectMouseButton(2, false);
        forget();
        BeginInputFrame();
        EXPECT_FALSE(KeyDown(KEY_A));
        EXPECT_FALSE(MouseDown(2));
    }
    // Held back, nothing reads as down; let go again, the frame's presses are there.
    InjectMouseButton(3, true);
    InjectMouseButton(3, false);
    BeginInputFrame();
    HoldBackInput(true);
    EXPECT_FALSE(MouseDown(3));
    HoldBackInput(false);
    EXPECT_TRUE(MouseDown(3));
}

TEST_F(InputTest, InputHeldBackReadsAsNothingAndIsKeptForLater) {
    InjectKeyDown(KEY_A);
    InjectChar('a');
    InjectMouseButton(1, true);
    InjectMouseMove(10, 20);
    HoldBackInput(true);
    EXPECT_TRUE(isInputHeldBack());
    EXPECT_EQ(KeyHit(KEY_A), 0);
    EXPECT_FALSE(KeyDown(KEY_A));
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_FALSE(MouseDown(1));
    EXPECT_EQ(MouseX(), 10);  // the pointer still reads
    HoldBackInput(false);
    EXPECT_EQ(KeyHit(KEY_A), 1);
    EXPECT_TRUE(KeyDown(KEY_A));
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_TRUE(MouseDown(1));
}

TEST_F(InputTest, SuspendReleasesHeldInputAndQuitStays) {
    EXPECT_FALSE(AppSuspended());
    InjectKeyDown(KEY_LSYS);
    InjectMouseButton(1, true);
    InjectSuspended(true);
    EXPECT_TRUE(AppSuspended());
    EXPECT_FALSE(KeyDown(KEY_LSYS));
    EXPECT_FALSE(MouseDown(1));
    EXPECT_EQ(MouseHit(1), 1);  // the press itself happened and is still reported
    InjectSuspended(false);
    EXPECT_FALSE(AppSuspended());

    EXPECT_FALSE(AppTerminate());
    InjectQuit();
    EXPECT_TRUE(AppTerminate());
    EXPECT_TRUE(AppTerminate());
}

// The platform's own events reach the same state through PollSystem.
TEST_F(InputTest, PlatformEventsArriveThroughPollSystem) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    std::vector<SDL_Event> events(8);
    for (auto& e : events) e = SDL_Event{};
    events[0].type = SDL_KEYDOWN;
    events[0].key.keysym.scancode = SDL_SCANCODE_LGUI;
    events[1].type = SDL_TEXTINPUT;
    SDL_strlcpy(events[1].text.text, "ok", sizeof(events[1].text.text));
    events[2].type = SDL_MOUSEBUTTONDOWN;
    events[2].button.button = SDL_BUTTON_RIGHT;
    events[2].button.x = 40;
    events[2].button.y = 50;
    events[3].type = SDL_MOUSEWHEEL;
    events[3].wheel.y = 1;
    events[3].wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    events[4].type = SDL_MOUSEMOTION;
    events[4].motion.x = 7;
    events[4].motion.y = 9;
    events[5].type = SDL_WINDOWEVENT;
    events[5].window.event = SDL_WINDOWEVENT_MINIMIZED;
    events[6].type = SDL_WINDOWEVENT;
    events[6].window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    events[7].type = SDL_QUIT;
    std::vector<Uint32> seen;
    SetSystemEventHandler([&](const SDL_Event& e) { seen.push_back(e.type); });
    int hookRuns = 0;
    int hook = AddPollHook([&] { ++hookRuns; });
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (auto& e : events) ASSERT_EQ(SDL_PushEvent(&e), 1);
    PollSystem();
    SetSystemEventHandler({});
    RemovePollHook(hook);
    PollSystem();

    EXPECT_EQ(hookRuns, 1);
    EXPECT_EQ(seen.size(), events.size());
    EXPECT_EQ(KeyHit(KEY_LSYS), 1);
    EXPECT_FALSE(KeyDown(KEY_LSYS));  // released by going to the background
    EXPECT_EQ(DrainChars(), (std::vector<int>{'o', 'k'}));
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_EQ(MouseZ(), -1);
    EXPECT_EQ(MouseX(), 7);
    EXPECT_EQ(MouseY(), 9);
    EXPECT_TRUE(AppTerminate());
    // Minimised and unfocused: back only when both are undone.
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&e);
    EXPECT_TRUE(AppSuspended());
    e.window.event = SDL_WINDOWEVENT_RESTORED;
    SDL_PushEvent(&e);
    EXPECT_FALSE(AppSuspended());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(InputScript, ParsesEveryKindAndReportsBadLines) {
    const std::string script =
        "# a comment\n"
        "\n"
        "12 move 512 384.5\n"
        "12 DOWN 1\n"
        "14 up 3\n"
        "3 keydown 81\r\n"
        "21 keyup 91\n"
        "30 text  hello  you \n"
        "31 wheel -2\n"
        "40 quit\n"
        "41 suspend 1\n"
        "12 move 1\n"      // 12: too few numbers
        "x move 1 2\n"     // 13: bad frame
        "-1 quit\n"        // 14: negative frame
        "5 down 4\n"       // 15: no such button
        "5 keydown 256\n"  // 16: key out of range
        "5 keydown 8x\n"   // 17: not a whole number
        "5 jump\n"         // 18: unknown kind
        "5 text\n"         // 19: nothing to type
        "5 quit now\n"     // 20: extra argument
        "5 suspend 2\n"    // 21: not a flag
        "7\n";             // 22: no event
    std::vector<std::string> errors;
    auto events = ParseInputScript(script, &errors);

    ASSERT_EQ(events.size(), 9u);
    // Ordered by frame, file order kept within a frame.
    EXPECT_EQ(events[0].frame, 3);
    EXPECT_EQ(events[0].kind, InputEvent::KeyDownEv);
    EXPECT_EQ(events[0].value, 81);
    EXPECT_EQ(events[1].kind, InputEvent::MouseMove);
    EXPECT_FLOAT_EQ(events[1].x, 512.0f);
    EXPECT_FLOAT_EQ(events[1].y, 384.5f);
    EXPECT_EQ(events[2].kind, InputEvent::MouseDownEv);
    EXPECT_EQ(events[2].value, 1);
    EXPECT_EQ(events[3].kind, InputEvent::MouseUpEv);
    EXPECT_EQ(events[3].value, 3);
    EXPECT_EQ(events[4].kind, InputEvent::KeyUpEv);
    EXPECT_EQ(events[5].kind, InputEvent::Text);
    EXPECT_EQ(events[5].text, " hello  you ");
    EXPECT_EQ(events[6].kind, InputEvent::Wheel);
    EXPECT_EQ(events[6].value, -2);
    EXPECT_EQ(events[7].kind, InputEvent::Quit);
    EXPECT_EQ(events[7].frame, 40);
    EXPECT_EQ(events[8].kind, InputEvent::Suspend);
    EXPECT_EQ(events[8].value, 1);

    ASSERT_EQ(errors.size(), 11u);
    for (size_t i = 0; i < errors.size(); ++i)
        EXPECT_EQ(errors[i].rfind("Line " + std::to_string(12 + i) + ": ", 0), 0u) << errors[i];
}

TEST(InputScript, LoadsFromFileAndReportsAMissingOne) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("in.txt"),
                                "\xEF\xBB\xBF"
                                "2 text \xC3\xA9\n1 keydown 13\n");
    std::vector<std::string> errors;
    auto events = LoadInputScript(dir.file("in.txt"), &errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].text, "\xC3\xA9");

    auto none = LoadInputScript(dir.file("missing.txt"), &errors);
    EXPECT_TRUE(none.empty());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("missing.txt"), std::string::npos);
}

TEST_F(InputTest, ScriptEventsApplyThroughTheInjectionPath) {
    auto events =
        ParseInputScript("0 move 10.9 20\n0 down 1\n0 keydown 13\n0 text hi\n0 wheel 2\n0 suspend 1\n0 quit\n");
    float mx = -1, my = -1;
    for (const auto& e : events)
        ApplyInputEvent(e, [&](float x, float y) {
            mx = x;
            my = y;
        });
    EXPECT_FLOAT_EQ(mx, 10.9f);
    EXPECT_FLOAT_EQ(my, 20.0f);
    EXPECT_EQ(MouseHit(1), 1);
    EXPECT_EQ(KeyHit(KEY_ENTER), 1);
    EXPECT_EQ(DrainChars(), (std::vector<int>{13, 'h', 'i'}));
    EXPECT_EQ(MouseZ(), 2);
    EXPECT_TRUE(AppSuspended());
    EXPECT_TRUE(AppTerminate());
    // Without a mapping a move lands on window pixels.
    ApplyInputEvent(events[0]);
    EXPECT_EQ(MouseX(), 10);
    EXPECT_EQ(MouseY(), 20);
}

}  // namespace
