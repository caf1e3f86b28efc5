// Reading colours back from a grabbed frame, for the tests that check real pixels.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/Graphics.h"
#include "platform/Image.h"

namespace testsupport {

// A window at least w x h for the tests that draw a little and read it back (any mode another
// suite left open will do, else 640 x 480), its virtual resolution its own size.
inline void OpenWindowAtLeast(int w, int h) {
    if (!GraphicsOpen() || GraphicsWidth() < w || GraphicsHeight() < h) {
        ASSERT_TRUE(Graphics(640, 480, 0, 60, 0)) << GraphicsError();
    }
    SetVirtualResolution(static_cast<float>(GraphicsWidth()), static_cast<float>(GraphicsHeight()));
}

// The 1366 x 768 window (and a virtual resolution of the same size) that the drawing tests read
// real frames from; the window is kept open from one test to the next and opened again only when
// a test left it in another mode.
inline void OpenWideWindow() {
    if (!GraphicsOpen() || GraphicsWidth() != 1366 || GraphicsHeight() != 768 || GraphicsDepth() != 0) {
        ASSERT_TRUE(Graphics(1366, 768, 0, 60, 0)) << GraphicsError();
    }
    SetVirtualResolution(1366, 768);
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// The colour of a pixel of a pixmap (alpha left out).
inline Rgb RgbAt(const TPixmapPtr& p, int x, int y) {
    const int v = p->ReadPixel(x, y);
    return {(v >> 16) & 255, (v >> 8) & 255, v & 255};
}

// Every channel within tolerance of the wanted colour.
inline ::testing::AssertionResult NearRgb(const Rgb& got, const Rgb& want, int tolerance) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << got << " want " << want;
}

// A w x h PNG of four flat quarters: red top left, green top right, blue bottom left, white
// bottom right (all opaque), for the tests that check which part of a picture is drawn.
inline void WriteQuadrantsPng(const std::string& path, int w, int h) {
    TPixmapPtr p = CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->WritePixel(x, y,
                          y < h / 2 ? (x < w / 2 ? int(0xFFFF0000) : int(0xFF00FF00))
                                    : (x < w / 2 ? int(0xFF0000FF) : int(0xFFFFFFFF)));
    ASSERT_TRUE(SavePixmapPNG(p, path));
}

}  // namespace testsupport
