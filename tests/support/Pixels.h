// Reading colours back from a grabbed frame, for the tests that check real pixels.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "platform/Image.h"

namespace testsupport {

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

}  // namespace testsupport
