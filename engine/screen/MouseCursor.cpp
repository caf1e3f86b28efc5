#include "engine/screen/MouseCursor.h"

#include "engine/data/BlockFile.h"
#include "engine/data/Settings.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/system/Error.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

// A whole number of a block-file value, read in double so that every int id stays exact.
int NumberToInt(const TBlockFilePtr& block, const char* path, int index = 0) {
    return TruncToInt(StringToDouble(GetBFString(block, path, index)));
}

}  // namespace

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

void AppInitMouse() { Mouse::LoadCursors(); }
