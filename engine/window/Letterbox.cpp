#include "engine/window/Letterbox.h"

#include <algorithm>
#include <cmath>

#include "platform/Graphics.h"
#include "platform/Maths.h"

float AspectWidth = 0.0f;
float AspectHeight = 0.0f;
int AspectMode = 0;
float AspectOffsetX = 0.0f;
float AspectOffsetY = 0.0f;
TAspectColor AspectBorderColor;

namespace {

int Trunc(float v) { return TruncToInt(v); }
int Ceil(float v) { return TruncToInt(std::ceil(v)); }

// Clears the current viewport in the border colour, keeping the clear colour.
void ClsInBorderColor() {
    int r, g, b;
    GetClsColor(r, g, b);
    SetClsColor(AspectBorderColor.r, AspectBorderColor.g, AspectBorderColor.b);
    Cls();
    SetClsColor(r, g, b);
}

void SetLogicalViewport() {
    SetViewport(Trunc(AspectOffsetX), Trunc(AspectOffsetY), Trunc(AspectWidth), Trunc(AspectHeight));
}

}  // namespace

void SetAspectResolution(float width, float height, int mode) {
    if (mode != 1) AspectMode = mode;
    AspectWidth = width;
    AspectHeight = height;
    if (AspectMode == 0) {
        AspectOffsetX = 0.0f;
        AspectOffsetY = 0.0f;
        SetVirtualResolution(width, height);
        SetViewport(0, 0, Ceil(width), Ceil(height));
        SetOrigin(0.0f, 0.0f);
        return;
    }
    float gw = static_cast<float>(GraphicsWidth());
    float gh = static_cast<float>(GraphicsHeight());
    // Nothing open yet: fit as if the window had the logical size.
    if (gw <= 0.0f || gh <= 0.0f) {
        gw = width;
        gh = height;
    }
    float scale = std::min(gw / width, gh / height);
    if (AspectMode & 4) scale = std::max(std::floor(scale), 1.0f);
    float vw = gw / scale;
    float vh = gh / scale;
    AspectOffsetX = (vw - width) * 0.5f;
    AspectOffsetY = (vh - height) * 0.5f;
    if (AspectMode & 4) {
        AspectOffsetX = std::floor(AspectOffsetX);
        AspectOffsetY = std::floor(AspectOffsetY);
    }
    SetVirtualResolution(vw, vh);
    if (AspectMode & 1) {
        ClsInBorderColor();
        SetLogicalViewport();
    } else {
        SetViewport(0, 0, Ceil(VirtualResolutionWidth()), Ceil(VirtualResolutionHeight()));
    }
    SetOrigin(AspectOffsetX, AspectOffsetY);
}

void SwitchAspectMode(int mode) { SetAspectResolution(AspectWidth, AspectHeight, mode); }

void SetAspectColor(int r, int g, int b) {
    AspectBorderColor.r = std::clamp(r, 0, 255);
    AspectBorderColor.g = std::clamp(g, 0, 255);
    AspectBorderColor.b = std::clamp(b, 0, 255);
}

void AspectCls() {
    if (AspectMode & 1) {
        SetViewport(0, 0, Ceil(VirtualResolutionWidth()) + 1, Ceil(VirtualResolutionHeight()) + 1);
        ClsInBorderColor();
        SetLogicalViewport();
    }
    Cls();
}

void SetAspectOrigin(float x, float y) { SetOrigin(x + AspectOffsetX, y + AspectOffsetY); }

void GetAspectOrigin(float& x, float& y) {
    GetOrigin(x, y);
    x -= AspectOffsetX;
    y -= AspectOffsetY;
}

void SetAspectViewport(int x, int y, int width, int height) {
    float right = std::min(static_cast<float>(x + width) + AspectOffsetX, AspectOffsetX + AspectWidth);
    float bottom = std::min(static_cast<float>(y + height) + AspectOffsetY, AspectOffsetY + AspectHeight);
    int left = Trunc(std::max(static_cast<float>(x) + AspectOffsetX, AspectOffsetX));
    int top = Trunc(std::max(static_cast<float>(y) + AspectOffsetY, AspectOffsetY));
    SetViewport(left, top, Trunc(right - static_cast<float>(left)), Trunc(bottom - static_cast<float>(top)));
}

void GetAspectViewport(int& x, int& y, int& width, int& height) {
    GetViewport(x, y, width, height);
    x = Trunc(static_cast<float>(x) - AspectOffsetX);
    y = Trunc(static_cast<float>(y) - AspectOffsetY);
}

float AspectMouseX() { return VirtualMouseX() - AspectOffsetX; }
float AspectMouseY() { return VirtualMouseY() - AspectOffsetY; }

void MoveAspectMouse(float x, float y) { MoveVirtualMouse(x + AspectOffsetX, y + AspectOffsetY); }

float AspectResolutionWidth() { return AspectWidth; }
float AspectResolutionHeight() { return AspectHeight; }

void ResetAspect() {
    AspectWidth = AspectHeight = 0.0f;
    AspectMode = 0;
    AspectOffsetX = AspectOffsetY = 0.0f;
    AspectBorderColor = TAspectColor{};
}
