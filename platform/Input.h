// Polled input: key and mouse state read once per frame, fed by the event pump (PollSystem)
// or by injected events (the test harness and tests). Keys are Windows virtual-key numbers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

union SDL_Event;

// A few virtual-key numbers used by the engine and the game (the full table is in Input.cpp).
enum : int {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_SHIFT = 16,
    KEY_CONTROL = 17,
    KEY_ALT = 18,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_PAGEUP = 33,
    KEY_PAGEDOWN = 34,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DELETE = 46,
    KEY_0 = 48,
    KEY_A = 65,
    KEY_F = 70,
    KEY_Q = 81,
    KEY_Z = 90,
    KEY_LSYS = 91,
    KEY_RSYS = 92,  // left and right Command (GUI) keys
    KEY_F1 = 112,
    KEY_F4 = 115,
    KEY_F12 = 123,
    KEY_TILDE = 192,
    KEY_LSHIFT = 160,
    KEY_RSHIFT = 161,
    KEY_LCONTROL = 162,
    KEY_RCONTROL = 163,
    KEY_LALT = 164,
    KEY_RALT = 165,
};

// Pumps the platform's events into the polled state (no-op before the window layer starts),
// then runs the poll hooks (those run even without a window).
void PollSystem();

// Work that must run on the main thread every time the events are pumped (network replies,
// for instance). Returns an id for RemovePollHook.
int AddPollHook(std::function<void()> hook);
void RemovePollHook(int id);
// Sees every platform event before the input state takes it (the window layer uses it for
// resizes and exposes). One handler; an empty function removes it.
void SetSystemEventHandler(std::function<void(const SDL_Event&)> handler);

// The virtual-key number of an SDL scancode, 0 when the key has none.
int VirtualKeyFromScancode(int scancode);

// A frame begins: called once a frame, after the frame's events are pumped and before anything
// reads them. Every key and button pressed since the frame before began reads as down
// (KeyDown, MouseDown) through this frame, even when it was let go before the frame came: a quick
// click or a touchpad's tap, a chord of keys sent at once (Command+Q), pressed and released
// between two frames, is seen held for one frame, as a press that lasted a frame is. Until the
// first call, keys and buttons read as they are.
void BeginInputFrame();

// Number of presses of the key since the last call for it; reading clears the count.
int KeyHit(int key);
// Whether the key is held now, or was pressed for this frame (BeginInputFrame). The generic
// Shift, Control and Alt (16, 17, 18) are held while either of their left and right keys is.
bool KeyDown(int key);
// Forgets all key hits, held and pressed keys and typed characters. A key still physically down
// reads as up until it is pressed again.
void FlushKeys();
// Next typed character (a Unicode code point), 0 when none. Backspace, Tab, Enter and Escape
// also arrive here as 8, 9, 13 and 27 (repeating while held).
int GetChar();

// Buttons: 1 left, 2 right, 3 middle.
int MouseHit(int button);
// Number of releases of the button since the last call for it, of presses that were counted
// (a button still down at FlushMouse is not counted when let go); reading clears the count.
// With MouseHit it tells what came between two polls: a release and a new press within one
// frame leave a release, a hit and the button down.
int MouseReleased(int button);
// Whether the button is held now, or was pressed for this frame (BeginInputFrame).
bool MouseDown(int button);
// Whether the button is down now, as the platform last reported it: unlike MouseDown it still
// reads as down after FlushMouse, and held-back input does not hide it (reading it takes
// nothing away). For waiting until the player has let go of every button.
bool MousePhysicallyDown(int button);
// Pointer position in window pixels, and the wheel position in notches since start
// (rolling away from the player counts up).
int MouseX();
int MouseY();
int MouseZ();
// Forgets button hits, releases, held and pressed buttons (a button still down reads as up until
// pressed again). The position and the wheel stay.
void FlushMouse();

// The window asked to close (quit request; it stays set once made), and the application is
// in the background (focus lost or minimised). AppSuspended pumps the events first, so a
// loop waiting for the window to come back sees it come back.
bool AppTerminate();
bool AppSuspended();
// Whether the program is asked to end, for long work on the main thread (decoding a picture)
// that gives up at once when it is: the quit request, or a quit or window close waiting among
// the system's events (looked at without taking any, at most every few milliseconds; a
// termination signal becomes such an event).
bool QuitPending();
// How many times the platform said that the window's picture was lost and must be drawn again
// (exposed, resized, restored or maximised). A loop that leaves a still picture up draws it
// again when this changes, and otherwise need not draw at all.
int WindowExposures();

// Injected events, handled exactly like the platform's own.
void InjectKeyDown(int key);
void InjectKeyUp(int key);
void InjectChar(int codepoint);
// Typed text (UTF-8), as the platform's text input delivers it.
void InjectText(const std::string& utf8);
void InjectMouseMove(int windowX, int windowY);
void InjectMouseButton(int button, bool down);
void InjectWheel(int notches);
void InjectQuit();
void InjectSuspended(bool suspended);
// While input is held back, the key, character and button queries read as nothing pressed,
// typed or held, and take nothing away: what is pending is there for the next reader once it is
// let go again. The pointer's position and the wheel read as usual. (A screen's first update
// before it is drawn runs so: it settles the screen without taking the player's input.)
void HoldBackInput(bool held);
bool isInputHeldBack();
// Back to the start state (tests).
void ResetInput();

// One line of an input script, applied before the frame with that number runs.
//
// Script format: a text file, one event per line, "<frame> <kind> <arguments>"; fields are
// separated by blanks, kind names are matched without regard to case; blank lines and lines
// whose first non-blank character is '#' are ignored. Frames count from 0.
//   12 move 512 384     pointer to logical (virtual-screen) x, y (reals)
//   12 down 1           mouse button down (1 left, 2 right, 3 middle)
//   14 up 1             mouse button up
//   20 keydown 81       key down by virtual-key number (1..255)
//   21 keyup 81         key up
//   30 text hello you   typed text: everything after "text" and one blank, kept as written
//   31 wheel -1         wheel moved by whole notches
//   40 quit             the window's close request
//   50 suspend 1        application to the background (1) or back (0)
// A bad line is reported in `errors` as "Line N: reason" and skipped. The events come back
// ordered by frame, keeping the file's order within a frame.
struct InputEvent {
    enum Kind { MouseMove, MouseDownEv, MouseUpEv, KeyDownEv, KeyUpEv, Text, Wheel, Quit, Suspend };
    int frame = 0;
    Kind kind = MouseMove;
    float x = 0, y = 0;  // MouseMove: logical (virtual-screen) coordinates
    int value = 0;       // button, key, wheel notches, or 1/0 for Suspend
    std::string text;    // Text
};
// Reads a script; bad lines are reported in `errors` and skipped. A file that cannot be
// read gives no events and one error.
std::vector<InputEvent> LoadInputScript(const std::string& path, std::vector<std::string>* errors = nullptr);
// Parses script text (the same format, without the file).
std::vector<InputEvent> ParseInputScript(const std::string& text, std::vector<std::string>* errors = nullptr);
// Applies one event through the injection functions. A move goes to `moveLogical` (which
// maps logical coordinates to the window); without it the coordinates are taken as window
// pixels, truncated.
void ApplyInputEvent(const InputEvent& event, const std::function<void(float x, float y)>& moveLogical = {});
