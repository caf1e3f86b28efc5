#include "engine/data/Interpolation.h"

#include "engine/data/Gradient.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

float QuadBezier(float start, float end, float control, float t) {
    return start + 2.0f * t * (control - start) + t * t * (start + end - 2.0f * control);
}

float CubicBezier(float start, float end, float control1, float control2, float t) {
    const double u = 1.0 - static_cast<double>(t);
    const double td = t;
    return static_cast<float>(start * u * u * u + 3.0 * control1 * u * u * td + 3.0 * control2 * u * td * td +
                              end * td * td * td);
}

namespace {
// The difference blended as a real, the sum truncated toward zero (saturating: channels read
// from files may lie far apart).
int32_t LerpChannel(int32_t a, int32_t b, float t) {
    return TruncToInt(static_cast<double>(a) + (static_cast<double>(b) - a) * static_cast<double>(t));
}
}  // namespace

void LerpRGB(TRGB& out, const TRGB& a, const TRGB& b, float t) {
    out.r = LerpChannel(a.r, b.r, t);
    out.g = LerpChannel(a.g, b.g, t);
    out.b = LerpChannel(a.b, b.b, t);
    out.a = a.a + (b.a - a.a) * t;
}

void GradientPutRGB(TRGB& out, const std::shared_ptr<TGradient>& gradient, float t) {
    if (gradient) gradient->PutRGB(out, t);
}

void LerpDim(TDim& out, const TDim& a, const TDim& b, float t) {
    out.x = Lerp(a.x, b.x, t);
    out.y = Lerp(a.y, b.y, t);
    out.w = Lerp(a.w, b.w, t);
    out.h = Lerp(a.h, b.h, t);
}

void QuadBezierDimXY(TDim& out, const TDim& a, const TDim& b, float cx, float cy, float t) {
    out.x = QuadBezier(a.x, b.x, cx, t);
    out.y = QuadBezier(a.y, b.y, cy, t);
}

void CubicBezierDimXY(TDim& out, const TDim& a, const TDim& b, float c1x, float c1y, float c2x, float c2y, float t) {
    out.x = CubicBezier(a.x, b.x, c1x, c2x, t);
    out.y = CubicBezier(a.y, b.y, c1y, c2y, t);
}

void QuadBezierDim(TDim& out, const TDim& a, const TDim& b, const TDim& c, float t) {
    QuadBezierDimXY(out, a, b, c.x, c.y, t);
}

void CubicBezierDim(TDim& out, const TDim& a, const TDim& b, const TDim& c1, const TDim& c2, float t) {
    CubicBezierDimXY(out, a, b, c1.x, c1.y, c2.x, c2.y, t);
}

void LerpTFR(TTFR& out, const TTFR& a, const TTFR& b, float t) {
    const float e = a.GetSplatPer(t);
    out.sx = a.sx + (b.sx - a.sx) * e;
    out.sy = a.sy + (b.sy - a.sy) * e;
    out.Rotation = a.Rotation + (b.Rotation - a.Rotation) * e;
}

std::shared_ptr<TRGB> CreateLerpRGB(const TRGB& a, const TRGB& b, float t) {
    auto out = std::make_shared<TRGB>();
    LerpRGB(*out, a, b, t);
    return out;
}

std::shared_ptr<TRGB> CreateGradientRGB(const std::shared_ptr<TGradient>& gradient, float t) {
    auto out = std::make_shared<TRGB>();
    GradientPutRGB(*out, gradient, t);
    return out;
}

std::shared_ptr<TDim> CreateLerpDim(const TDim& a, const TDim& b, float t) {
    auto out = std::make_shared<TDim>();
    LerpDim(*out, a, b, t);
    return out;
}

std::shared_ptr<TDim> CreateQuadBezierDim(const TDim& a, const TDim& b, const TDim& c, float t) {
    auto out = std::make_shared<TDim>();
    QuadBezierDim(*out, a, b, c, t);
    return out;
}

std::shared_ptr<TDim> CreateCubicBezierDim(const TDim& a, const TDim& b, const TDim& c1, const TDim& c2, float t) {
    auto out = std::make_shared<TDim>();
    CubicBezierDim(*out, a, b, c1, c2, t);
    return out;
}

std::shared_ptr<TTFR> CreateLerpTFR(const TTFR& a, const TTFR& b, float t) {
    auto out = std::make_shared<TTFR>();
    LerpTFR(*out, a, b, t);
    return out;
}

namespace {
// 20 pieces: t runs 0, 0.05, ... summed in single precision while t <= 1.
template <class Point>
void DrawCurve(Point point) {
    constexpr float kStep = 0.05f;
    for (float t = 0.0f; t <= 1.0f; t += kStep) {
        float ax, ay, bx, by;
        point(t, ax, ay);
        point(t + kStep, bx, by);
        DrawLine(ax, ay, bx, by, true);
    }
}
}  // namespace

void DrawQuadBezier(float x0, float y0, float x1, float y1, float cx, float cy) {
    DrawCurve([&](float t, float& px, float& py) {
        px = QuadBezier(x0, x1, cx, t);
        py = QuadBezier(y0, y1, cy, t);
    });
}

void DrawCubicBezier(float x0, float y0, float x1, float y1, float c1x, float c1y, float c2x, float c2y) {
    DrawCurve([&](float t, float& px, float& py) {
        px = CubicBezier(x0, x1, c1x, c2x, t);
        py = CubicBezier(y0, y1, c1y, c2y, t);
    });
}
