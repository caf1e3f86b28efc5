#include "engine/system/Mouse.h"

#include <cmath>
#include <cstdint>

#include "engine/screen/Asset.h"
#include "engine/system/Basics.h"
#include "engine/screen/Control.h"
#include "engine/system/Letterbox.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

int ScreenStepX = 0;

namespace {

// A whole number of a block-file value, read in double so that every int id stays exact.
int NumberToInt(const TBlockFilePtr& block, const char* path, int index = 0) {
    return TruncToInt(StringToDouble(GetBFString(block, path, index)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Cursors

TMouseCursorPtr Mouse::Cursor;
TMouseCursorPtr Mouse::DefaultCursor;
std::vector<TMouseCursorPtr> Mouse::CursorsList;

void TMouseCursor::Load(const TBlockFilePtr& block) {
    id = NumberToInt(block, "Id");
    Name = GetBFString(block, "Name");
    hx = NumberToInt(block, "Handle", 0);
    hy = NumberToInt(block, "Handle", 1);
    Rotation = GetBFNumber(block, "Rotation");
    if (GetBFNumber(block, "Scale", 0) != 0.0f) {
        ScaleX = GetBFNumber(block, "Scale", 0);
        ScaleY = GetBFNumber(block, "Scale", 1);
    }
    const float alpha = GetBFNumber(block, "Alpha");
    if (alpha != 0.0f) Alpha = alpha;

    // The cursor's own image, never shared with a screen's assets (a screen frees its assets
    // when it goes; the cursor lives for the whole run).
    // The "Handle" is the hotspot: it becomes the image's handle, so the point a player aims
    // with (an arrow's tip, a pointing finger's end) sits exactly on the pointer, and rotation
    // and scale turn the cursor about that point. A handle of 0, 0 puts the image's top-left
    // corner at the pointer.
    img = std::make_shared<TImageAsset>();
    img->url = ConvertAppPath(GetBFString(block, "img"));
    img->hx = hx;
    img->hy = hy;
    if (!AddAppGlobalAsset(img)) img->LoadAsset();
}

void TMouseCursor::Draw(int x, int y) {
    Update();
    SetColor(255, 255, 255);
    SetRotation(Rotation);
    SetScale(ScaleX, ScaleY);
    SetBlend(3);
    SetAlpha(Alpha);
    DrawImageAsset(img, static_cast<float>(x), static_cast<float>(y), -1, 1.0f);
}

void Mouse::LoadCursors() {
    const std::string path = bDir + AppResources + AppResourcesData + "Mouse.dat";
    if (FileType(path) != 1) {
        Warning("No \"Mouse.dat\" file found in App folder!");
        return;
    }
    TBlockFilePtr file = LoadBlockFile(path);
    for (const TBlockFilePtr& block : GetBlockFilesList(file, "CURSOR")) {
        auto cursor = std::make_shared<TMouseCursor>();
        cursor->Load(block);
        CursorsList.push_back(cursor);
    }
    DefaultCursor = GetMouseCursorInd(NumberToInt(file, "SETTINGS::DefaultCursor"));
}

void Mouse::LoadAssets() {
    for (const TMouseCursorPtr& cursor : CursorsList)
        if (cursor && cursor->img && !cursor->img->img) cursor->img->LoadAsset();
}

TMouseCursorPtr Mouse::GetMouseCursor(const std::string& name) {
    for (const TMouseCursorPtr& cursor : CursorsList)
        if (cursor && NamesEqual(cursor->Name, name)) return cursor;
    Warning("Cursor \"" + NameUpper(name) + "\" not found for mouse!");
    return nullptr;
}

TMouseCursorPtr Mouse::GetMouseCursorInd(int id) {
    for (const TMouseCursorPtr& cursor : CursorsList)
        if (cursor && cursor->id == id) return cursor;
    Warning("Cursor with Id '" + IntToString(id) + "' not found For mouse!");
    return nullptr;
}

void Mouse::SetMouseCursor(const std::string& name) { Cursor = GetMouseCursor(name); }

void Mouse::SetMouseCursorInd(int id) { Cursor = GetMouseCursorInd(id); }

void Mouse::Draw() {
    if (AppSettings::CustomCursor == 0 || (!Cursor && !DefaultCursor)) {
        ShowMouse();
        return;
    }
    if (!Cursor) Cursor = DefaultCursor;
    // A cursor without a usable picture (not loaded yet, or its file missing or broken) would
    // leave the player aiming with a placeholder box: the system pointer stands in for it.
    if (ImageAssetWidth(Cursor->img) <= 0) {
        ShowMouse();
        return;
    }
    HideMouse();
    Cursor->Draw(TruncToInt(AspectMouseX() - static_cast<float>(ScreenStepX)), TruncToInt(AspectMouseY()));
}

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
int Mouse::LeftHolded = 0;
int Mouse::RightHolded = 0;
int Mouse::MidHolded = 0;
int Mouse::LastLeftHolded = 0;
int Mouse::LastRightHolded = 0;
int Mouse::LastMidHolded = 0;

int Mouse::StartedLeftHolded() { return LeftHolded && !LastLeftHolded ? 1 : 0; }
int Mouse::StartedRightHolded() { return RightHolded && !LastRightHolded ? 1 : 0; }
int Mouse::StartedMidHolded() { return MidHolded && !LastMidHolded ? 1 : 0; }

void Mouse::Clear() {
    FlushMouse();
    LeftPressed = RightPressed = MidPressed = 0;
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
    LeftHolded = RightHolded = MidHolded = 0;
    LastLeftHolded = LastRightHolded = LastMidHolded = 0;
    Cursor = nullptr;
    DefaultCursor = nullptr;
    CursorsList.clear();
}

void UpdateMouse() { Mouse::Update(); }

void AppInitMouse() { Mouse::LoadCursors(); }
