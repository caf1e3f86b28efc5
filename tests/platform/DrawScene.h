// A 320 x 240 frame that uses every way of drawing at once: the five blend modes on images,
// rectangles and text; opaque and soft-edged pictures, tinted, faded to nothing, scaled and
// rotated; sub-rectangles and tiling inside a viewport; lines, ovals and polygons between
// quads; text at several sizes and styles (smooth and one-bit); filtered pictures drawn texel
// for pixel and off the pixel grid; a picture changed between two draws of the same frame.
// Drawn at the window's top-left corner, virtual coordinates equal to window pixels.
#pragma once
#include <string>

#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"

namespace drawscene {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// An opaque 40 x 30 picture: a diagonal colour ramp with a dark frame.
inline TPixmapPtr OpaqueRamp() {
    auto p = CreatePixmap(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            bool edge = x == 0 || y == 0 || x == 39 || y == 29;
            int r = edge ? 40 : 60 + x * 4, g = edge ? 30 : 80 + y * 5, b = edge ? 60 : 200 - x * 2 - y * 2;
            p->WritePixel(x, y, int(0xFF000000u | (unsigned(r) << 16) | (unsigned(g) << 8) | unsigned(b)));
        }
    return p;
}

// A 24 x 24 round spot whose alpha falls from the middle to nothing at the rim.
inline TPixmapPtr SoftSpot(int r, int g, int b) {
    auto p = CreatePixmap(24, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            int dx = 2 * x - 23, dy = 2 * y - 23;
            int a = 255 - (dx * dx + dy * dy) * 255 / 530;
            if (a < 0) a = 0;
            p->WritePixel(x, y, int((unsigned(a) << 24) | (unsigned(r) << 16) | (unsigned(g) << 8) | unsigned(b)));
        }
    return p;
}

// Draws the frame; `fontFile` is the game's DejaVu Sans.
inline void Draw(const std::string& fontFile) {
    ResetFonts();
    SetDefaultFontPath(fontFile);
    ResetDrawState();
    SetViewport(0, 0, kWidth, kHeight);
    SetClsColor(90, 110, 130);
    Cls();
    auto ramp = LoadImage(OpaqueRamp(), FILTEREDIMAGE);
    auto rampSharp = LoadImage(OpaqueRamp(), 0);
    auto spot = LoadImage(SoftSpot(255, 200, 60), FILTEREDIMAGE);
    auto spot2 = LoadImage(SoftSpot(80, 160, 255), FILTEREDIMAGE);
    auto big = LoadImageFont(fontFile, 30, SMOOTHFONT | BOLDFONT);
    auto mono = LoadImageFont(fontFile, 13, 0);
    auto italic = LoadImageFont(fontFile, 17, SMOOTHFONT | ITALICFONT);

    // Opaque pictures: whole, tinted, half faded, scaled and turned, faded to nothing.
    DrawImage(ramp, 0, 0);
    SetColor(255, 160, 120);
    DrawImage(ramp, 42, 0);
    SetColor(255, 255, 255);
    SetAlpha(0.5f);
    DrawImage(ramp, 84, 8);
    SetAlpha(1.0f);
    SetScale(1.7f, 1.2f);
    SetRotation(17.0f);
    DrawImage(rampSharp, 140, 2);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(0.0f);
    DrawImage(ramp, 200, 0);
    SetAlpha(1.0f);

    // Each blend mode on a soft spot, a rectangle and a word, spots of two pictures in turn.
    const int blends[] = {MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND, SHADEBLEND};
    for (int i = 0; i < 5; ++i) {
        float x = 4.0f + i * 62.0f;
        SetBlend(blends[i]);
        for (int k = 0; k < 4; ++k) {
            SetAlpha(k == 3 ? 0.0f : 1.0f - k * 0.3f);
            DrawImage(k % 2 ? spot2 : spot, x + k * 9.0f, 40.0f + k * 5.0f);
        }
        SetAlpha(0.6f);
        SetColor(200, 90, 160);
        DrawRect(x, 72, 30, 14);
        SetColor(255, 255, 255);
        SetAlpha(0.8f);
        SetImageFont(nullptr);
        DrawText("Blend", x + 4.0f, 76.0f);
        SetImageFont(big);
        SetAlpha(1.0f);
        SetColor(250, 230, 120);
        DrawText("Q", x + 30.0f, 52.0f);
        SetColor(255, 255, 255);
    }
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);

    // An additive quad, then an alpha one over it: the later one stays on top.
    SetBlend(LIGHTBLEND);
    SetColor(120, 40, 40);
    DrawRect(4, 100, 60, 30);
    SetBlend(ALPHABLEND);
    SetColor(30, 200, 90);
    DrawRect(24, 108, 30, 14);
    SetBlend(LIGHTBLEND);
    DrawImage(spot, 40, 100);
    SetBlend(ALPHABLEND);
    DrawImage(spot2, 46, 104);

    // Lines, an oval and a polygon between quads of one picture.
    SetColor(255, 255, 255);
    DrawImage(spot, 70, 100);
    SetColor(20, 20, 20);
    SetLineWidth(2.0f);
    DrawLine(70, 100, 120, 130);
    SetLineWidth(1.0f);
    SetColor(255, 255, 255);
    DrawImage(spot, 90, 104);
    SetColor(240, 120, 30);
    SetAlpha(0.7f);
    DrawOval(110, 98, 30, 20);
    DrawPoly({150, 100, 180, 110, 160, 130});
    Plot(185, 100);
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    DrawImage(spot2, 140, 108);

    // Sub-rectangles, stretching and tiling inside a smaller viewport.
    DrawSubImageRect(ramp, 190, 96, 40, 20, 10, 5, 20, 10);
    DrawImageRect(spot2, 232, 96, 40, 30);
    // A filtered picture's part and a whole one drawn texel for pixel, and one off the pixel grid.
    DrawSubImageRect(ramp, 190, 118, 20, 10, 10, 5, 20, 10);
    DrawImage(spot, 212, 116);
    DrawImage(spot2, 296.5f, 60.25f);
    SetViewport(276, 96, 40, 40);
    SetScale(0.5f, 0.5f);
    TileImage(spot, 3, 3);
    SetScale(1.0f, 1.0f);
    SetViewport(0, 0, kWidth, kHeight);

    // Text: styles and sizes, turned and scaled, faded, on a handle, from the origin.
    SetImageFont(big);
    SetColor(90, 50, 20);
    DrawText("Quilt", 7, 139);
    SetColor(255, 240, 200);
    DrawText("Quilt", 5, 137);
    SetImageFont(mono);
    SetColor(0, 0, 0);
    DrawText("One-bit text 0123", 110, 140);
    SetImageFont(italic);
    SetColor(255, 255, 255);
    SetOrigin(10, 0);
    SetHandle(4, 2);
    SetScale(1.25f, 0.9f);
    SetRotation(-8.0f);
    SetAlpha(0.75f);
    DrawText("Turned, scaled", 100, 170);
    SetOrigin(0, 0);
    SetHandle(0, 0);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(1.0f);
    SetImageFont(nullptr);
    SetBlend(SHADEBLEND);
    SetColor(255, 180, 180);
    DrawText("shaded text over a picture", 4, 200);
    SetBlend(ALPHABLEND);

    // A picture drawn, changed, and drawn again in the same frame.
    auto changing = LoadImage(SoftSpot(255, 255, 255), FILTEREDIMAGE);
    SetColor(255, 255, 255);
    DrawImage(changing, 250, 196);
    TPixmapPtr pixels = LockImage(changing);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            pixels->WritePixel(x, y, int(0xFF000000u | unsigned(x * 10) << 16 | unsigned(y * 10)));
    UnlockImage(changing);
    DrawImage(changing, 280, 196);
    SetImageFont(nullptr);
    ResetDrawState();
}

}  // namespace drawscene
