// Free functions around TGradient: preset gradients, a gradient mixed at random between two
// gradients, pixmaps and an image of a gradient, a colour-wheel panel, text and file forms, and
// drawing a gradient as a strip of one-pixel columns over a checkerboard.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/Gradient.h"
#include "platform/Image.h"

// A gradient whose stops are the given array's elements themselves (not copied, not sorted).
TGradientPtr CreateGradient(TRGBArray stops);

// Presets (new stops each call).
TGradientPtr CreateDefaultGradient();     // opaque white at 0 -> transparent black at 1
TGradientPtr CreateBlackWhiteGradient();  // white at 0 -> black at 1
TGradientPtr CreateRedBlueGradient();     // red at 0 -> blue at 1
TGradientPtr CreateColorFullGradient();
TGradientPtr Create4ColorGradient();
TGradientPtr CreateFullColorGradient();
// A hue circle from red at 0.15 round to red at 1 (below 0.15 the last stop, red, again).
TGradientPtr CreateFullColorGradient2();

// The stop positions of both gradients, largest first (positions less than 0.00001 apart keep
// their order, those of `first` before those of `second`); equal positions are not merged.
std::vector<float> CreateGradientPositionsTabFromTwoGradients(const TGradientPtr& first, const TGradientPtr& second);
// A gradient that lies at random between two gradients: one stop at every stop position of
// either, each the mix of both gradients' colours there by its own random fraction (one draw of
// Rnd() per stop, largest position first). The stops sit at those positions in ascending order,
// so the result changes colour along its length as the two gradients do. A null gradient counts
// as one without stops.
TGradientPtr CreateGradientBetweenGradients(const TGradientPtr& first, const TGradientPtr& second);

// 1 x 256: white with alpha 1 - y / 255 on row y (alpha byte 255 - y).
TPixmapPtr CreateAlphaPixMap();
// 100 x 1: pixel x is the gradient at (x + 1) / 100. A null gradient gives transparent pixels.
TPixmapPtr CreateGradientPixMap100px(const TGradientPtr& gradient);
// CreateGradientPixMap100px made into an image with the default flags.
TImagePtr CreateGradientImage(const TGradientPtr& gradient);
// 256 x 256 opaque pixels: a colour wheel around (127, 127) of radius 128, the hue going round
// with the angle, white at the centre, the pure hue half-way out and black at the rim; the
// pixels outside the wheel keep the background (red 0, green 2, blue 0).
TPixmapPtr CreateColorsPanel();

std::string SaveGradientToString(const TGradientPtr& gradient);
// One stop per "#"-separated piece, in text order (not sorted).
TGradientPtr LoadGradientFromString(const std::string& text);
// Each gradient's text followed by a line feed. False (with an error line) when not written.
bool SaveGradientArray(const std::vector<TGradientPtr>& gradients, const std::string& url);
// One gradient per non-blank line (lines trimmed), in file order. A missing file gives an error
// line and an empty array.
std::vector<TGradientPtr> LoadGradientArray(const std::string& url);

// Checkerboards that show transparency: 4 rows of 20 squares of 5 pixels (100 x 20) and 4 rows
// of 25 squares of 16 pixels (400 x 64), white at the top left, then grey (150). They set scale
// 1, rotation 0, alpha blend and alpha 1.
void DrawGradientBack(int x, int y);
void DrawGradientBackBar(int x, int y);
// 101 columns 1 x h at x + 100 p for p = 0, 0.01, ... (accumulated in 32-bit floats while
// p <= 1), each in the gradient's colour and alpha at p. A null gradient draws nothing.
void DrawGradient100(const TGradientPtr& gradient, int x, int y, int h);
// 400 columns at x + i for the positions i / 399.
void DrawGradientBar(const TGradientPtr& gradient, int x, int y, int h);
