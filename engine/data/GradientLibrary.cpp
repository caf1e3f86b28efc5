#include "engine/data/GradientLibrary.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/data/Interpolation.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

struct StopSpec {
    int32_t r, g, b;
    float a, position;
};

TGradientPtr GradientOf(std::initializer_list<StopSpec> specs) {
    TRGBArray stops;
    stops.reserve(specs.size());
    for (const auto& s : specs) stops.push_back(CreateRGB(s.r, s.g, s.b, s.a, s.position));
    return CreateGradient(std::move(stops));
}

// A 32-bit pixel with the colour's channels and an opaque alpha byte.
int OpaquePixel(const TRGB& c) {
    return static_cast<int>(0xFF000000u | ((static_cast<uint32_t>(c.r) & 0xFFu) << 16) |
                            ((static_cast<uint32_t>(c.g) & 0xFFu) << 8) | (static_cast<uint32_t>(c.b) & 0xFFu));
}

// One column 1 x h at (left, top) in the gradient's colour and alpha at position.
void DrawColumn(TGradient& gradient, TRGB& scratch, float position, float left, float top, float h) {
    gradient.PutRGB(scratch, position);
    SetAlpha(scratch.a);
    SetColor(scratch.r, scratch.g, scratch.b);
    DrawRect(left, top, 1.0f, h);
}

void DrawChecker(int x, int y, int size, int columns) {
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    SetAlpha(1.0f);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < columns; ++j) {
            if ((i + j) % 2 == 0) SetColor(255, 255, 255);
            else SetColor(150, 150, 150);
            DrawRect(static_cast<float>(x + size * j), static_cast<float>(y + size * i), static_cast<float>(size),
                     static_cast<float>(size));
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Making gradients
// ---------------------------------------------------------------------------------------------

TGradientPtr CreateGradient(TRGBArray stops) {
    auto gradient = std::make_shared<TGradient>();
    gradient->rgb = std::move(stops);
    return gradient;
}

TGradientPtr CreateDefaultGradient() { return GradientOf({{255, 255, 255, 1.0f, 0.0f}, {0, 0, 0, 0.0f, 1.0f}}); }

TGradientPtr CreateBlackWhiteGradient() { return GradientOf({{255, 255, 255, 1.0f, 0.0f}, {0, 0, 0, 1.0f, 1.0f}}); }

TGradientPtr CreateRedBlueGradient() { return GradientOf({{255, 0, 0, 1.0f, 0.0f}, {0, 0, 255, 1.0f, 1.0f}}); }

TGradientPtr CreateColorFullGradient() {
    return GradientOf({{255, 255, 255, 1.0f, 0.0f},
                       {255, 255, 0, 0.9f, 0.15f},
                       {0, 255, 0, 0.9f, 0.3f},
                       {255, 0, 0, 0.8f, 0.45f},
                       {255, 0, 255, 0.8f, 0.6f},
                       {0, 255, 255, 0.6f, 0.75f},
                       {0, 0, 255, 0.6f, 0.9f},
                       {0, 0, 0, 0.4f, 1.0f}});
}

TGradientPtr Create4ColorGradient() {
    return GradientOf(
        {{255, 0, 0, 0.5f, 0.0f}, {0, 255, 0, 0.25f, 0.33f}, {255, 255, 0, 0.75f, 0.66f}, {0, 0, 255, 1.0f, 1.0f}});
}

TGradientPtr CreateFullColorGradient() {
    return GradientOf({{0, 0, 0, 1.0f, 0.0f},
                       {255, 0, 0, 1.0f, 0.125f},
                       {0, 255, 0, 1.0f, 0.25f},
                       {0, 0, 255, 1.0f, 0.375f},
                       {255, 0, 255, 1.0f, 0.5f},
                       {0, 255, 255, 1.0f, 0.625f},
                       {255, 255, 0, 1.0f, 0.75f},
                       {255, 255, 255, 1.0f, 0.875f},
                       {0, 0, 0, 1.0f, 1.0f}});
}

TGradientPtr CreateFullColorGradient2() {
    return GradientOf({{255, 0, 0, 1.0f, 0.15f},
                       {0, 255, 0, 1.0f, 0.3f},
                       {0, 0, 255, 1.0f, 0.45f},
                       {255, 0, 255, 1.0f, 0.6f},
                       {0, 255, 255, 1.0f, 0.75f},
                       {255, 255, 0, 1.0f, 0.9f},
                       {255, 0, 0, 1.0f, 1.0f}});
}

std::vector<float> CreateGradientPositionsTabFromTwoGradients(const TGradientPtr& first, const TGradientPtr& second) {
    std::vector<std::shared_ptr<TFloatObj>> boxes;
    for (const TGradientPtr& g : {first, second}) {
        if (!g) continue;
        for (const auto& stop : g->rgb)
            if (stop) boxes.push_back(CreateAppFloatObj(stop->position));
    }
    // The ascending mode with "second minus first" gives the largest first.
    SortList(boxes, true, [](const std::shared_ptr<TFloatObj>& a, const std::shared_ptr<TFloatObj>& b) {
        return FloatObjectsSortFunction(a, b);
    });
    std::vector<float> table;
    table.reserve(boxes.size());
    for (const auto& box : boxes) table.push_back(box->v);
    return table;
}

TGradientPtr CreateGradientBetweenGradients(const TGradientPtr& first, const TGradientPtr& second) {
    const std::vector<float> table = CreateGradientPositionsTabFromTwoGradients(first, second);
    TGradient none;
    TGradient& a = first ? *first : none;
    TGradient& b = second ? *second : none;
    TRGB fromFirst;
    TRGB fromSecond;
    TRGBArray stops(table.size());
    // Draws in table order (largest position first); each stop keeps the position it was mixed
    // at and goes into its place counted from the end, so the array comes out ascending.
    for (size_t i = 0; i < table.size(); ++i) {
        const float p = table[i];
        a.PutRGB(fromFirst, p);
        b.PutRGB(fromSecond, p);
        const float t = static_cast<float>(Rnd());
        auto stop = CreateLerpRGB(fromFirst, fromSecond, t);
        stop->position = p;
        stops[table.size() - 1 - i] = stop;
    }
    return CreateGradient(std::move(stops));
}

// ---------------------------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------------------------

TPixmapPtr CreateAlphaPixMap() {
    auto pixmap = CreatePixmap(1, 256);
    if (!pixmap) return nullptr;
    TRGB white;
    white.SetData(255, 255, 255, 1.0f, 1.0f);
    for (int y = 0; y < 256; ++y) {
        white.a = 1.0f - static_cast<float>(y) / 255.0f;
        uint32_t pixel = RGBToARGB(white);
        // The alpha byte is exactly 255 - y; the float product may land a hair below it.
        pixel = (pixel & 0x00FFFFFFu) | (static_cast<uint32_t>(255 - y) << 24);
        pixmap->WritePixel(0, y, static_cast<int>(pixel));
    }
    return pixmap;
}

TPixmapPtr CreateGradientPixMap100px(const TGradientPtr& gradient) {
    auto pixmap = CreatePixmap(100, 1);
    if (!pixmap || !gradient) return pixmap;
    TRGB scratch;
    scratch.SetData(0, 0, 0, 0.0f, 1.0f);
    for (int x = 0; x < 100; ++x) {
        gradient->PutRGB(scratch, static_cast<float>(x + 1) / 100.0f);
        pixmap->WritePixel(x, 0, static_cast<int>(RGBToARGB(scratch)));
    }
    return pixmap;
}

TImagePtr CreateGradientImage(const TGradientPtr& gradient) {
    return LoadImage(CreateGradientPixMap100px(gradient), -1);
}

TPixmapPtr CreateColorsPanel() {
    auto pixmap = CreatePixmap(256, 256);
    if (!pixmap) return nullptr;
    // The panel has no alpha: its pixels are opaque.
    pixmap->ClearPixels(static_cast<int>(0xFF000000u | 512u));
    const auto hues = CreateFullColorGradient2();
    TRGB white;
    white.SetData(255, 255, 255, 255.0f, 1.0f);
    TRGB black;
    black.SetData(0, 0, 0, 255.0f, 1.0f);
    TRGB hue;
    TRGB colour;
    for (float angle = 0.0f; angle <= 360.0f; angle += 0.15f) {
        hues->PutRGB(hue, angle / 360.0f);
        const double rad = static_cast<double>(angle) * (std::numbers::pi / 180.0);
        const double c = std::cos(rad);
        const double s = std::sin(rad);
        for (int r = 0; r < 128; ++r) {
            const float f = 1.0f - static_cast<float>(r) / 128.0f;
            if (f >= 0.5f) LerpRGB(colour, hue, white, (f - 0.5f) / 0.5f);
            else LerpRGB(colour, black, hue, f / 0.5f);
            colour.a = 255.0f;
            const int x = std::max(0, static_cast<int>(127.0 + r * c));
            const int y = std::max(0, static_cast<int>(127.0 + r * s));
            const int pixel = OpaquePixel(colour);
            // Two by two pixels, so that neighbouring angles leave no gaps.
            pixmap->WritePixel(x, y, pixel);
            pixmap->WritePixel(x + 1, y, pixel);
            pixmap->WritePixel(x, y + 1, pixel);
            pixmap->WritePixel(x + 1, y + 1, pixel);
        }
    }
    return pixmap;
}

// ---------------------------------------------------------------------------------------------
// Text and files
// ---------------------------------------------------------------------------------------------

std::string SaveGradientToString(const TGradientPtr& gradient) { return gradient ? gradient->ToString() : ""; }

TGradientPtr LoadGradientFromString(const std::string& text) {
    TRGBArray stops;
    for (const auto& piece : SplitString(text, "#")) stops.push_back(LoadRGBFromString(piece));
    return CreateGradient(std::move(stops));
}

bool SaveGradientArray(const std::vector<TGradientPtr>& gradients, const std::string& url) {
    std::string text;
    for (const auto& g : gradients) text += SaveGradientToString(g) + "\n";
    if (SaveText(text, url)) return true;
    Error("Cannot write the gradient file! Url = " + url, Here());
    return false;
}

std::vector<TGradientPtr> LoadGradientArray(const std::string& url) {
    std::vector<TGradientPtr> out;
    if (FileType(url) != 1) {
        ErrorNoFile(url, Here());
        return out;
    }
    bool ok = false;
    const std::string text = LoadText(url, &ok);
    if (!ok) {
        ErrorNoFile(url, Here());
        return out;
    }
    for (const auto& line : SplitString(text, "\n")) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty()) continue;
        out.push_back(LoadGradientFromString(trimmed));
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------------------------

void DrawGradientBack(int x, int y) { DrawChecker(x, y, 5, 20); }

void DrawGradientBackBar(int x, int y) { DrawChecker(x, y, 16, 25); }

void DrawGradient100(const TGradientPtr& gradient, int x, int y, int h) {
    if (!gradient) return;
    TRGB scratch;
    for (float p = 0.0f; p <= 1.0f; p += 0.01f)
        DrawColumn(*gradient, scratch, p, static_cast<float>(x) + 100.0f * p, static_cast<float>(y),
                   static_cast<float>(h));
}

void DrawGradientBar(const TGradientPtr& gradient, int x, int y, int h) {
    if (!gradient) return;
    TRGB scratch;
    for (int i = 0; i < 400; ++i)
        DrawColumn(*gradient, scratch, static_cast<float>(i) / 399.0f, static_cast<float>(x + i), static_cast<float>(y),
                   static_cast<float>(h));
}
