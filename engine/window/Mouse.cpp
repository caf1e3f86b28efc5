#include "engine/window/Mouse.h"

#include <cmath>
#include <cstdint>

#include "engine/window/Letterbox.h"
#include "platform/Input.h"
#include "platform/Maths.h"

int ScreenStepX = 0;

// ---------------------------------------------------------------------------------------------
// Cursors (made, loaded and drawn by engine/screen/MouseCursor.cpp)

TMouseCursorPtr Mouse::Cursor;
TMouseCursorPtr Mouse::DefaultCursor;
std::vector<TMouseCursorPtr> Mouse::CursorsList;

// ---------------------------------------------------------------------------------------------
// Polled state

int Mouse::x = 0;
int Mouse::y = 0;
float Mouse::z = 0;
float Mouse::vx = 0;
float Mouse::vy = 0;
float Mouse::vz = 0;
float Mouse::lastX = 0;
float Mouse::lastY = 0;
float Mouse::lastZ = 0;
int Mouse::LeftPressed = 0;
int Mouse::RightPressed = 0;
int Mouse::MidPressed = 0;
int Mouse::LeftReleased = 0;
int Mouse::RightReleased = 0;
int Mouse::MidReleased = 0;
int Mouse::LeftHolded = 0;
int Mouse::RightHolded = 0;
int Mouse::MidHolded = 0;
int Mouse::LastLeftHolded = 0;
int Mouse::LastRightHolded = 0;
int Mouse::LastMidHolded = 0;

int Mouse::StartedLeftHolded() { return LeftHolded && !LastLeftHolded ? 1 : 0; }
int Mouse::StartedRightHolded() { return RightHolded && !LastRightHolded ? 1 : 0; }
int Mouse::StartedMidHolded() { return MidHolded && !LastMidHolded ? 1 : 0; }

int Mouse::Pressed(int button) {
    return button == 1 ? LeftPressed : button == 2 ? RightPressed : button == 3 ? MidPressed : 0;
}

bool Mouse::LetGo(int button) {
    const int held = button == 1 ? LeftHolded : button == 2 ? RightHolded : button == 3 ? MidHolded : 0;
    const int released = button == 1 ? LeftReleased : button == 2 ? RightReleased : button == 3 ? MidReleased : 0;
    return held == 0 || released > 0;
}

void Mouse::Clear() {
    FlushMouse();
    LeftPressed = RightPressed = MidPressed = 0;
    LeftReleased = RightReleased = MidReleased = 0;
    LeftHolded = RightHolded = MidHolded = 0;
}

void Mouse::_UpdateLast() {
    LastLeftHolded = LeftHolded;
    LastRightHolded = RightHolded;
    LastMidHolded = MidHolded;
    lastX = static_cast<float>(x);
    lastY = static_cast<float>(y);
    lastZ = z;
}

void Mouse::_UpdatePositions() {
    // Truncated toward zero: a logical -0.5 over the left band reads as 0.
    x = TruncToInt(AspectMouseX() - static_cast<float>(ScreenStepX));
    y = TruncToInt(AspectMouseY());
    z = static_cast<float>(MouseZ());
    vx = static_cast<float>(x) - lastX;
    vy = static_cast<float>(y) - lastY;
    vz = z - lastZ;
}

void Mouse::_UpdatePressAndHold() {
    LeftPressed = MouseHit(1);
    RightPressed = MouseHit(2);
    MidPressed = MouseHit(3);
    LeftReleased = MouseReleased(1);
    RightReleased = MouseReleased(2);
    MidReleased = MouseReleased(3);
    LeftHolded = MouseDown(1) ? 1 : 0;
    RightHolded = MouseDown(2) ? 1 : 0;
    MidHolded = MouseDown(3) ? 1 : 0;
}

void Mouse::Update() {
    _UpdateLast();
    _UpdatePositions();
    _UpdatePressAndHold();
}

int Mouse::InRect(int64_t rx, int64_t ry, int64_t rw, int64_t rh) {
    // In 64 bits, so a rectangle reaching past the int range cannot wrap around.
    const int64_t mx = Mouse::x, my = Mouse::y;
    return (rx <= mx && mx <= rx + rw && ry <= my && my <= ry + rh) ? 1 : 0;
}

int Mouse::InRectCentred(float cx, float cy, float w, float h) {
    float mx = static_cast<float>(Mouse::x), my = static_cast<float>(Mouse::y);
    float hw = w * 0.5f, hh = h * 0.5f;
    return (cx - hw <= mx && mx <= cx + hw && cy - hh <= my && my <= cy + hh) ? 1 : 0;
}

int Mouse::InPoint(int px, int py) {
    // The 8 x 8 box around the point in 64 bits: a point near the ends of the int range (a
    // vector animation's part drawn far off) must not wrap around.
    return InRect(int64_t(px) - 4, int64_t(py) - 4, 8, 8);
}

void Mouse::Reset() {
    x = y = 0;
    z = vx = vy = vz = lastX = lastY = lastZ = 0;
    LeftPressed = RightPressed = MidPressed = 0;
    LeftReleased = RightReleased = MidReleased = 0;
    LeftHolded = RightHolded = MidHolded = 0;
    LastLeftHolded = LastRightHolded = LastMidHolded = 0;
    Cursor = nullptr;
    DefaultCursor = nullptr;
    CursorsList.clear();
}

void UpdateMouse() { Mouse::Update(); }
