// Polled input. Every event, whether it comes from SDL or is injected, goes through the same
// handlers below, so tests and replayed scripts see exactly what a player's input produces.
#include "platform/Input.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <deque>
#include <thread>
#include <utility>

#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

constexpr int kKeyCount = 256;
constexpr int kButtonCount = 3;
// Typed characters nobody reads are dropped oldest first beyond this many.
constexpr size_t kMaxQueuedChars = 1024;

struct InputState {
    std::array<int, kKeyCount> keyHits{};
    std::array<bool, kKeyCount> keyHeld{};
    // Pressed since the frame began, and pressed before it began since the frame before: the
    // latter read as down through the frame (BeginInputFrame).
    std::array<bool, kKeyCount> keyPressedNow{};
    std::array<bool, kKeyCount> keyPressedForFrame{};
    std::deque<int> chars;
    std::array<int, kButtonCount + 1> buttonHits{};
    std::array<int, kButtonCount + 1> buttonReleases{};  // of presses counted as held
    std::array<bool, kButtonCount + 1> buttonHeld{};
    std::array<bool, kButtonCount + 1> buttonPressedNow{};
    std::array<bool, kButtonCount + 1> buttonPressedForFrame{};
    std::array<bool, kButtonCount + 1> buttonDown{};  // as reported, whatever FlushMouse forgot
    int mouseX = 0, mouseY = 0, mouseZ = 0;
    bool quit = false;
    bool focusLost = false;
    bool minimised = false;
    int exposures = 0;      // the window's picture was lost (exposed, resized, restored)
    bool heldBack = false;  // HoldBackInput
};

InputState g;
// The program's main thread (statics are made on it).
const std::thread::id gMainThread = std::this_thread::get_id();

std::vector<std::pair<int, std::function<void()>>> g_pollHooks;
int g_nextHookId = 1;
std::function<void(const SDL_Event&)> g_eventHandler;
bool g_polling = false;
bool g_textInputStarted = false;

// ---- scancode -> virtual key ------------------------------------------------------------

std::array<int, SDL_NUM_SCANCODES> BuildKeyTable() {
    std::array<int, SDL_NUM_SCANCODES> t{};
    for (int i = 0; i < 26; ++i) t[SDL_SCANCODE_A + i] = 'A' + i;
    for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_1 + i] = '1' + i;
    t[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i) t[SDL_SCANCODE_F1 + i] = 112 + i;
    for (int i = 0; i < 12; ++i) t[SDL_SCANCODE_F13 + i] = 124 + i;
    const std::pair<SDL_Scancode, int> rest[] = {
        {SDL_SCANCODE_RETURN, 13},      {SDL_SCANCODE_ESCAPE, 27},       {SDL_SCANCODE_BACKSPACE, 8},
        {SDL_SCANCODE_TAB, 9},          {SDL_SCANCODE_SPACE, 32},        {SDL_SCANCODE_MINUS, 189},
        {SDL_SCANCODE_EQUALS, 187},     {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_RIGHTBRACKET, 221},
        {SDL_SCANCODE_BACKSLASH, 220},  {SDL_SCANCODE_NONUSHASH, 220},   {SDL_SCANCODE_SEMICOLON, 186},
        {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_GRAVE, 192},       {SDL_SCANCODE_COMMA, 188},
        {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},       {SDL_SCANCODE_NONUSBACKSLASH, 226},
        {SDL_SCANCODE_CAPSLOCK, 20},    {SDL_SCANCODE_PRINTSCREEN, 44},  {SDL_SCANCODE_SCROLLLOCK, 145},
        {SDL_SCANCODE_PAUSE, 19},       {SDL_SCANCODE_INSERT, 45},       {SDL_SCANCODE_HOME, 36},
        {SDL_SCANCODE_PAGEUP, 33},      {SDL_SCANCODE_DELETE, 46},       {SDL_SCANCODE_END, 35},
        {SDL_SCANCODE_PAGEDOWN, 34},    {SDL_SCANCODE_RIGHT, 39},        {SDL_SCANCODE_LEFT, 37},
        {SDL_SCANCODE_DOWN, 40},        {SDL_SCANCODE_UP, 38},           {SDL_SCANCODE_NUMLOCKCLEAR, 144},
        {SDL_SCANCODE_KP_DIVIDE, 111},  {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_MINUS, 109},
        {SDL_SCANCODE_KP_PLUS, 107},    {SDL_SCANCODE_KP_ENTER, 13},     {SDL_SCANCODE_KP_0, 96},
        {SDL_SCANCODE_KP_PERIOD, 110},  {SDL_SCANCODE_APPLICATION, 93},  {SDL_SCANCODE_LCTRL, 162},
        {SDL_SCANCODE_LSHIFT, 160},     {SDL_SCANCODE_LALT, 164},        {SDL_SCANCODE_LGUI, 91},
        {SDL_SCANCODE_RCTRL, 163},      {SDL_SCANCODE_RSHIFT, 161},      {SDL_SCANCODE_RALT, 165},
        {SDL_SCANCODE_RGUI, 92},
    };
    for (const auto& [sc, vk] : rest) t[sc] = vk;
    for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_KP_1 + i] = 97 + i;
    return t;
}

const std::array<int, SDL_NUM_SCANCODES>& KeyTable() {
    static const std::array<int, SDL_NUM_SCANCODES> table = BuildKeyTable();
    return table;
}

// ---- the handlers every event goes through ----------------------------------------------

void PushChar(int cp) {
    if (cp <= 0) return;
    g.chars.push_back(cp);
    while (g.chars.size() > kMaxQueuedChars) g.chars.pop_front();
}

// Generic Shift / Control / Alt follow their left and right keys.
void UpdateGenericModifier(int key, bool pressed) {
    int generic = 0, left = 0, right = 0;
    if (key == KEY_LSHIFT || key == KEY_RSHIFT) {
        generic = KEY_SHIFT;
        left = KEY_LSHIFT;
        right = KEY_RSHIFT;
    } else if (key == KEY_LCONTROL || key == KEY_RCONTROL) {
        generic = KEY_CONTROL;
        left = KEY_LCONTROL;
        right = KEY_RCONTROL;
    } else if (key == KEY_LALT || key == KEY_RALT) {
        generic = KEY_ALT;
        left = KEY_LALT;
        right = KEY_RALT;
    } else return;
    if (pressed) {
        ++g.keyHits[generic];
        g.keyPressedNow[generic] = true;
    }
    g.keyHeld[generic] = g.keyHeld[left] || g.keyHeld[right];
}

void HandleKey(int key, bool down, bool repeat) {
    if (key <= 0 || key >= kKeyCount) return;
    if (down) {
        // A repeat neither counts as a press nor brings back a key that was flushed.
        if (!repeat) {
            ++g.keyHits[key];
            g.keyHeld[key] = true;
            g.keyPressedNow[key] = true;
        }
        if (key == KEY_BACKSPACE || key == KEY_TAB || key == KEY_ENTER || key == KEY_ESCAPE) PushChar(key);
    } else {
        g.keyHeld[key] = false;
    }
    UpdateGenericModifier(key, down && !repeat);
}

void HandleText(const std::string& utf8) {
    for (char32_t cp : Utf8ToUtf32(utf8)) PushChar(static_cast<int>(cp));
}

void HandleButton(int button, bool down) {
    if (button < 1 || button > kButtonCount) return;
    g.buttonDown[button] = down;
    if (down) {
        ++g.buttonHits[button];
        g.buttonHeld[button] = true;
        g.buttonPressedNow[button] = true;
    } else {
        if (g.buttonHeld[button]) ++g.buttonReleases[button];
        g.buttonHeld[button] = false;
    }
}

void HandleMotion(int x, int y) {
    g.mouseX = x;
    g.mouseY = y;
}

void HandleWheel(int notches) { g.mouseZ += notches; }

void HandleQuit() { g.quit = true; }

void ForgetHeldKeys() {
    g.keyHeld.fill(false);
    g.keyPressedNow.fill(false);
    g.keyPressedForFrame.fill(false);
}

void ForgetHeldButtons() {
    g.buttonHeld.fill(false);
    g.buttonPressedNow.fill(false);
    g.buttonPressedForFrame.fill(false);
}

void ReleaseHeld() {
    ForgetHeldKeys();
    ForgetHeldButtons();
}

// Going to the background releases whatever is held: the matching key-up or button-up goes
// to another window and would never arrive, leaving the key stuck down.
void HandleActivity(bool focusLost, bool minimised) {
    bool wasSuspended = g.focusLost || g.minimised;
    g.focusLost = focusLost;
    g.minimised = minimised;
    if (!wasSuspended && (focusLost || minimised)) ReleaseHeld();
}

int ButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        default: return 0;
    }
}

void HandleSdlEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(VirtualKeyFromScancode(e.key.keysym.scancode), e.type == SDL_KEYDOWN, e.key.repeat != 0);
            break;
        case SDL_TEXTINPUT: HandleText(e.text.text); break;
        case SDL_MOUSEMOTION: HandleMotion(e.motion.x, e.motion.y); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleMotion(e.button.x, e.button.y);
            HandleButton(ButtonFromSdl(e.button.button), e.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL: {
            int notches = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            HandleWheel(notches);
            break;
        }
        case SDL_QUIT: HandleQuit(); break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_LOST: HandleActivity(true, g.minimised); break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: HandleActivity(false, g.minimised); break;
                case SDL_WINDOWEVENT_MINIMIZED: HandleActivity(g.focusLost, true); break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    ++g.exposures;
                    HandleActivity(g.focusLost, false);
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: ++g.exposures; break;
                case SDL_WINDOWEVENT_CLOSE: HandleQuit(); break;
                default: break;
            }
            break;
        default: break;
    }
}

// ---- script parsing ----------------------------------------------------------------------

std::vector<std::string> SplitBlanks(const std::string& line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
        size_t start = i;
        while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// Whole-token numbers only: "12x" or "" is not a number.
bool ParseWholeInt(const std::string& s, int& out) {
    size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    if (i >= s.size() || s.size() - i > 9) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
    out = StringToInt(s);
    return true;
}

bool ParseWholeFloat(const std::string& s, float& out) {
    size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    out = StringToFloat(s);
    return true;
}

// Parses one non-empty, non-comment line; returns an empty string on success, else the reason.
std::string ParseScriptLine(const std::string& line, InputEvent& ev) {
    std::vector<std::string> tok = SplitBlanks(line);
    if (tok.size() < 2) return "expected a frame number and an event";
    int frame = 0;
    if (!ParseWholeInt(tok[0], frame) || frame < 0) return "bad frame number \"" + tok[0] + "\"";
    ev = InputEvent{};
    ev.frame = frame;
    std::string kind = Lower(tok[1]);
    auto args = [&](size_t n) { return tok.size() == n + 2; };

    if (kind == "move") {
        if (!args(2) || !ParseWholeFloat(tok[2], ev.x) || !ParseWholeFloat(tok[3], ev.y))
            return "move needs two numbers: x y";
        ev.kind = InputEvent::MouseMove;
        return "";
    }
    if (kind == "down" || kind == "up") {
        if (!args(1) || !ParseWholeInt(tok[2], ev.value) || ev.value < 1 || ev.value > kButtonCount)
            return kind + " needs a button 1, 2 or 3";
        ev.kind = kind == "down" ? InputEvent::MouseDownEv : InputEvent::MouseUpEv;
        return "";
    }
    if (kind == "keydown" || kind == "keyup") {
        if (!args(1) || !ParseWholeInt(tok[2], ev.value) || ev.value < 1 || ev.value >= kKeyCount)
            return kind + " needs a virtual-key number 1..255";
        ev.kind = kind == "keydown" ? InputEvent::KeyDownEv : InputEvent::KeyUpEv;
        return "";
    }
    if (kind == "wheel") {
        if (!args(1) || !ParseWholeInt(tok[2], ev.value)) return "wheel needs a whole number of notches";
        ev.kind = InputEvent::Wheel;
        return "";
    }
    if (kind == "quit") {
        if (!args(0)) return "quit takes no arguments";
        ev.kind = InputEvent::Quit;
        return "";
    }
    if (kind == "suspend") {
        if (!args(1) || !ParseWholeInt(tok[2], ev.value) || (ev.value != 0 && ev.value != 1))
            return "suspend needs 1 or 0";
        ev.kind = InputEvent::Suspend;
        return "";
    }
    if (kind == "text") {
        // Everything after the word "text" and the one blank that follows it.
        size_t pos = line.find_first_not_of(" \t");
        pos = line.find_first_of(" \t", pos);      // end of the frame number
        pos = line.find_first_not_of(" \t", pos);  // start of "text"
        pos += 4;
        std::string text = pos + 1 <= line.size() ? line.substr(pos + 1) : std::string();
        if (text.empty()) return "text needs something to type";
        ev.kind = InputEvent::Text;
        ev.text = text;
        return "";
    }
    return "unknown event \"" + tok[1] + "\"";
}

}  // namespace

// ---- public interface ----------------------------------------------------------------------

int VirtualKeyFromScancode(int scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return KeyTable()[scancode];
}

void PollSystem() {
    if (g_polling) return;  // a hook or handler pumping again must not recurse
    g_polling = true;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        if (!g_textInputStarted) {
            if (!SDL_IsTextInputActive()) SDL_StartTextInput();
            g_textInputStarted = true;
        }
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (g_eventHandler) g_eventHandler(e);
            HandleSdlEvent(e);
        }
    }
    // Hooks may add or remove hooks while running: walk a copy.
    auto hooks = g_pollHooks;
    for (auto& [id, hook] : hooks)
        if (hook) hook();
    g_polling = false;
}

int AddPollHook(std::function<void()> hook) {
    int id = g_nextHookId++;
    g_pollHooks.emplace_back(id, std::move(hook));
    return id;
}

void RemovePollHook(int id) {
    std::erase_if(g_pollHooks, [id](const auto& p) { return p.first == id; });
}

void SetSystemEventHandler(std::function<void(const SDL_Event&)> handler) { g_eventHandler = std::move(handler); }

int KeyHit(int key) {
    if (key <= 0 || key >= kKeyCount || g.heldBack) return 0;
    int n = g.keyHits[key];
    g.keyHits[key] = 0;
    return n;
}

bool KeyDown(int key) {
    if (key <= 0 || key >= kKeyCount || g.heldBack) return false;
    return g.keyHeld[key] || g.keyPressedForFrame[key];
}

void FlushKeys() {
    g.keyHits.fill(0);
    ForgetHeldKeys();
    g.chars.clear();
}

int GetChar() {
    if (g.chars.empty() || g.heldBack) return 0;
    int c = g.chars.front();
    g.chars.pop_front();
    return c;
}

int MouseHit(int button) {
    if (button < 1 || button > kButtonCount || g.heldBack) return 0;
    int n = g.buttonHits[button];
    g.buttonHits[button] = 0;
    return n;
}

int MouseReleased(int button) {
    if (button < 1 || button > kButtonCount || g.heldBack) return 0;
    int n = g.buttonReleases[button];
    g.buttonReleases[button] = 0;
    return n;
}

bool MouseDown(int button) {
    if (button < 1 || button > kButtonCount || g.heldBack) return false;
    return g.buttonHeld[button] || g.buttonPressedForFrame[button];
}

bool MousePhysicallyDown(int button) { return button >= 1 && button <= kButtonCount && g.buttonDown[button]; }

int MouseX() { return g.mouseX; }
int MouseY() { return g.mouseY; }
int MouseZ() { return g.mouseZ; }

void FlushMouse() {
    g.buttonHits.fill(0);
    g.buttonReleases.fill(0);
    ForgetHeldButtons();
}

void BeginInputFrame() {
    g.keyPressedForFrame = g.keyPressedNow;
    g.keyPressedNow.fill(false);
    g.buttonPressedForFrame = g.buttonPressedNow;
    g.buttonPressedNow.fill(false);
}

bool AppTerminate() { return g.quit; }

bool QuitPending() {
    // The events are the main thread's (another thread asks nothing of them).
    if (std::this_thread::get_id() != gMainThread) return false;
    if (g.quit) return true;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    // Pumping costs a little: the events are looked at every few milliseconds at most.
    using clock = std::chrono::steady_clock;
    static clock::time_point last{};
    const clock::time_point now = clock::now();
    if (now - last < std::chrono::milliseconds(5)) return false;
    last = now;
    SDL_PumpEvents();
    SDL_Event events[16];
    if (SDL_PeepEvents(events, 1, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0) return true;
    const int n = SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
    for (int i = 0; i < n; ++i)
        if (events[i].window.event == SDL_WINDOWEVENT_CLOSE) return true;
    return false;
}

int WindowExposures() { return g.exposures; }

bool AppSuspended() {
    PollSystem();
    return g.focusLost || g.minimised;
}

void InjectKeyDown(int key) { HandleKey(key, true, false); }
void InjectKeyUp(int key) { HandleKey(key, false, false); }
void InjectChar(int codepoint) { PushChar(codepoint); }
void InjectText(const std::string& utf8) { HandleText(utf8); }
void InjectMouseMove(int windowX, int windowY) { HandleMotion(windowX, windowY); }
void InjectMouseButton(int button, bool down) { HandleButton(button, down); }
void InjectWheel(int notches) { HandleWheel(notches); }
void InjectQuit() { HandleQuit(); }
void InjectSuspended(bool suspended) { HandleActivity(suspended, false); }

void HoldBackInput(bool held) { g.heldBack = held; }

bool isInputHeldBack() { return g.heldBack; }

void ResetInput() { g = InputState{}; }

std::vector<InputEvent> ParseInputScript(const std::string& text, std::vector<std::string>* errors) {
    std::vector<InputEvent> events;
    std::vector<std::string> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string trimmed = Trim(lines[i]);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        InputEvent ev;
        std::string reason = ParseScriptLine(lines[i], ev);
        if (reason.empty()) {
            events.push_back(std::move(ev));
        } else if (errors) {
            errors->push_back("Line " + std::to_string(i + 1) + ": " + reason);
        }
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.frame < b.frame; });
    return events;
}

std::vector<InputEvent> LoadInputScript(const std::string& path, std::vector<std::string>* errors) {
    std::string bytes;
    if (!LoadBytes(path, bytes)) {
        if (errors) errors->push_back("Cannot read input script \"" + path + "\"");
        return {};
    }
    // The script is UTF-8; a UTF-16 file with a byte-order mark is decoded as such.
    std::string text;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        text = DecodeText(bytes);
    else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) text = bytes.substr(3);
    else text = bytes;
    return ParseInputScript(text, errors);
}

void ApplyInputEvent(const InputEvent& event, const std::function<void(float x, float y)>& moveLogical) {
    switch (event.kind) {
        case InputEvent::MouseMove:
            if (moveLogical) moveLogical(event.x, event.y);
            else InjectMouseMove(static_cast<int>(event.x), static_cast<int>(event.y));
            break;
        case InputEvent::MouseDownEv: InjectMouseButton(event.value, true); break;
        case InputEvent::MouseUpEv: InjectMouseButton(event.value, false); break;
        case InputEvent::KeyDownEv: InjectKeyDown(event.value); break;
        case InputEvent::KeyUpEv: InjectKeyUp(event.value); break;
        case InputEvent::Text: InjectText(event.text); break;
        case InputEvent::Wheel: InjectWheel(event.value); break;
        case InputEvent::Quit: InjectQuit(); break;
        case InputEvent::Suspend: InjectSuspended(event.value != 0); break;
    }
}
