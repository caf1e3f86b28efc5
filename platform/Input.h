// Polled input: key and mouse state read once per frame, fed by the event pump (PollSystem)
// or by injected events (the test harness and tests). Keys are Windows virtual-key numbers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A few virtual-key numbers used by the engine and the game (the full table is in Input.cpp).
enum : int {
    KEY_BACKSPACE = 8, KEY_TAB = 9, KEY_ENTER = 13, KEY_SHIFT = 16, KEY_CONTROL = 17, KEY_ALT = 18,
    KEY_ESCAPE = 27, KEY_SPACE = 32, KEY_PAGEUP = 33, KEY_PAGEDOWN = 34, KEY_END = 35, KEY_HOME = 36,
    KEY_LEFT = 37, KEY_UP = 38, KEY_RIGHT = 39, KEY_DOWN = 40, KEY_DELETE = 46,
    KEY_0 = 48, KEY_A = 65, KEY_F = 70, KEY_Q = 81, KEY_Z = 90,
    KEY_LSYS = 91, KEY_RSYS = 92,  // left and right Command (GUI) keys
    KEY_F1 = 112, KEY_F4 = 115, KEY_F12 = 123, KEY_TILDE = 192,
    KEY_LSHIFT = 160, KEY_RSHIFT = 161, KEY_LCONTROL = 162, KEY_RCONTROL = 163, KEY_LALT = 164, KEY_RALT = 165,
};

// Pumps the platform's events into the polled state (no-op before the window layer starts).
void PollSystem();

// Number of presses of the key since the last call for it; reading clears the count.
int KeyHit(int key);
// Whether the key is held now.
bool KeyDown(int key);
// Forgets all key hits, held keys and typed characters.
void FlushKeys();
// Next typed character (a Unicode code point), 0 when none. Backspace, Enter and Escape
// also arrive here as 8, 13 and 27.
int GetChar();

// Buttons: 1 left, 2 right, 3 middle.
int MouseHit(int button);
bool MouseDown(int button);
// Pointer position in window pixels, and the wheel position in notches since start.
int MouseX();
int MouseY();
int MouseZ();
// Forgets button hits and held buttons.
void FlushMouse();

// The window asked to close (quit request), and the application is in the background
// (focus lost or minimised).
bool AppTerminate();
bool AppSuspended();

// Injected events, handled exactly like the platform's own.
void InjectKeyDown(int key);
void InjectKeyUp(int key);
void InjectChar(int codepoint);
void InjectMouseMove(int windowX, int windowY);
void InjectMouseButton(int button, bool down);
void InjectWheel(int notches);
void InjectQuit();
void InjectSuspended(bool suspended);
// Back to the start state (tests).
void ResetInput();

// One line of an input script, applied before the frame with that number runs.
struct InputEvent {
    enum Kind { MouseMove, MouseDownEv, MouseUpEv, KeyDownEv, KeyUpEv, Text, Wheel, Quit };
    int frame = 0;
    Kind kind = MouseMove;
    float x = 0, y = 0;  // MouseMove: logical (virtual-screen) coordinates
    int value = 0;       // button, key or wheel notches
    std::string text;    // Text
};
// Reads a script; bad lines are reported in `errors` and skipped.
std::vector<InputEvent> LoadInputScript(const std::string& path, std::vector<std::string>* errors = nullptr);
