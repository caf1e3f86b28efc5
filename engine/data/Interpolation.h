// Blending one keyframe into the next. The blending functions write into an existing result
// object and leave every field they do not name alone; their Create twins make a new object
// with the type's defaults and fill it. t is never clamped: values outside 0..1 extrapolate.
#pragma once
#include <memory>

#include "engine/data/ValueTypes.h"

class TGradient;

// a + (b - a) * t
float Lerp(float a, float b, float t);
// Quadratic Bezier from start to end bent toward control (note: end before control).
float QuadBezier(float start, float end, float control, float t);
// Cubic Bezier from start to end with control1 near the start and control2 near the end,
// computed in double precision (note: end before the controls).
float CubicBezier(float start, float end, float control1, float control2, float t);
// Curves from (x0, y0) to (x1, y1) in 20 straight pieces, in the current draw state.
void DrawQuadBezier(float x0, float y0, float x1, float y1, float cx, float cy);
void DrawCubicBezier(float x0, float y0, float x1, float y1, float c1x, float c1y, float c2x, float c2y);

// r, g, b: the integer difference blended as a real and truncated toward zero (0 -> 255 at
// 0.5 gives 127); a: the same blend as a float; position untouched; nothing clamped.
void LerpRGB(TRGB& out, const TRGB& a, const TRGB& b, float t);
// out = the gradient's colour at t (TGradient::PutRGB); a null gradient leaves out unchanged.
void GradientPutRGB(TRGB& out, const std::shared_ptr<TGradient>& gradient, float t);
// x, y, w, h blended; nothing else touched (no squash kind).
void LerpDim(TDim& out, const TDim& a, const TDim& b, float t);
// x, y along a Bezier path; w, h and the rest untouched.
void QuadBezierDimXY(TDim& out, const TDim& a, const TDim& b, float cx, float cy, float t);
void CubicBezierDimXY(TDim& out, const TDim& a, const TDim& b, float c1x, float c1y, float c2x, float c2y, float t);
// The same with the control points taken from the x, y of control rectangles.
void QuadBezierDim(TDim& out, const TDim& a, const TDim& b, const TDim& c, float t);
void CubicBezierDim(TDim& out, const TDim& a, const TDim& b, const TDim& c1, const TDim& c2, float t);
// sx, sy, Rotation blended along the start keyframe's squash kind (a.GetSplatPer(t));
// Rotation is a plain number of degrees, never wrapped. Position and isSplaszczenie untouched.
void LerpTFR(TTFR& out, const TTFR& a, const TTFR& b, float t);

std::shared_ptr<TRGB> CreateLerpRGB(const TRGB& a, const TRGB& b, float t);
// A new colour with the defaults (0, 0, 0, alpha 1, position 1) filled by GradientPutRGB.
std::shared_ptr<TRGB> CreateGradientRGB(const std::shared_ptr<TGradient>& gradient, float t);
std::shared_ptr<TDim> CreateLerpDim(const TDim& a, const TDim& b, float t);
std::shared_ptr<TDim> CreateQuadBezierDim(const TDim& a, const TDim& b, const TDim& c, float t);
std::shared_ptr<TDim> CreateCubicBezierDim(const TDim& a, const TDim& b, const TDim& c1, const TDim& c2, float t);
std::shared_ptr<TTFR> CreateLerpTFR(const TTFR& a, const TTFR& b, float t);
