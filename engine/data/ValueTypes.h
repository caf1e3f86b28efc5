// The engine's small value types: a colour with alpha and a curve position (TRGB), a rectangle
// that doubles as a motion-track keyframe (TDim), a scale-and-rotation keyframe (TTFR) and a
// named value that walks toward a target every frame (TPer).
//
// TRGB, TDim and TTFR have a one-line text form, the fields joined by "," with no blanks:
//   TRGB  r,g,b,a,position                                  (ints, then floats)
//   TDim  x,y,w,h,x1,y1,x2,y2,position,isBezier,isSplaszczenie (nine floats, two ints)
//   TTFR  sx,sy,Rotation,Position,isSplaszczenie            (four floats, one int)
// Floats are written "%#.9g", so every 32-bit value reads back to the same bits. FromString
// splits at "," (empty inner pieces kept, an empty last piece dropped): piece i sets field i,
// an empty piece reads 0, missing pieces leave their fields alone, extra pieces are ignored.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TRGB;
class TDim;
class TTFR;
class TPer;

// Arrays of shared values (a null slot is an empty one).
using TRGBArray = std::vector<std::shared_ptr<TRGB>>;
using TDimArray = std::vector<std::shared_ptr<TDim>>;

class TRGB {
public:
    int32_t r = 0;  // channels, meant as 0..255; nothing clamps them
    int32_t g = 0;
    int32_t b = 0;
    float a = 1.0f;         // alpha, meant as 0..1
    float position = 1.0f;  // the stop's place on a 0..1 curve

    std::shared_ptr<TRGB> Copy() const;
    void SetData(int32_t r, int32_t g, int32_t b, float a, float position);
    void SetDataFromOtherRGB(const TRGB& other);
    std::string ToString() const;
    void FromString(const std::string& text);
};

class TDim {
public:
    float x = 0, y = 0, w = 0, h = 0;
    // The corners after CountCorners, or in a motion track the segment's control points.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float position = 0;          // the keyframe's place on a 0..1 track
    int32_t isBezier = 0;        // segment shape: 0 straight, 1 quadratic, 2 cubic
    int32_t isSplaszczenie = 0;  // squash kind 0..6 (see TTFR::GetSplatPer)

    // A whole copy: control points, Bezier kind and squash kind included.
    std::shared_ptr<TDim> Copy() const;
    // Copies everything but isSplaszczenie, which keeps its own value.
    void SetDataFromOtherDim(const TDim& other);
    void SetData(float x, float y, float w, float h);
    // Outlines the rectangle in the current colour for debugging (sets scale 1 and rotation 0).
    void DrawDimRect();
    // x1, y1 = x, y and x2, y2 = x + w, y + h (overwrites any control points).
    void CountCorners();
    std::string ToString() const;
    void FromString(const std::string& text);
};

class TTFR {
public:
    float sx = 1.0f, sy = 1.0f;
    float Rotation = 0;  // degrees
    float Position = 0;  // the keyframe's place on a 0..1 curve
    int32_t isSplaszczenie = 0;

    // A whole copy, squash kind included.
    std::shared_ptr<TTFR> Copy() const;
    void SetData(float sx, float sy, float Rotation, float Position);
    // Copies everything but isSplaszczenie, which keeps its own value.
    void SetDataFromOtherTFR(const TTFR& other);
    // The position per shaped by the squash kind: 0 per itself, 1..3 sin(90|180|360 * per),
    // 4..6 cos(90|180|360 * per) (degrees), any other kind 0.
    float GetSplatPer(float per) const;
    std::string ToString() const;
    void FromString(const std::string& text);
};

// One frame's step of p toward the target dp, up by speedUp * delta, down by speedDown * delta,
// never past the target.
void StepToward(float& p, float dp, float speedUp, float speedDown);

// The squash-kind shaping of a position, shared by TTFR and TDim.
float SplatPer(int32_t kind, float per);

class TPer {
public:
    std::string name;  // its creator stores it upper-cased
    float p = 0;       // current value
    float dp = 0;      // target
    float speed = 0;   // step per frame at delta 1
    int32_t Typ = 0;   // on arrival: 0 nothing, 1 target flips between 0 and 1, 2 target changes sign

    void GO(float target) { dp = target; }
    void Set(float value) { p = dp = value; }
    void Start(float from, float to) {
        p = from;
        dp = to;
    }
    float Value() const { return p; }
    float ValueSin() const { return p; }
    float ValueCos() const { return p; }
    // One frame's step toward the target, scaled by the frame factor delta.
    void Update();
    // "TPER( NAME ) = p, dp - Speed: s, Type: t", for diagnostics only.
    std::string ToString() const;
};

// Creators.
std::shared_ptr<TRGB> CreateRGB(int32_t r, int32_t g, int32_t b, float a = 1.0f, float position = 1.0f);
// Note the order: position is fifth. isBezier and isSplaszczenie are 0.
std::shared_ptr<TDim> CreateDim(float x, float y, float w, float h, float position = 0, float x1 = 0, float y1 = 0,
                                float x2 = 0, float y2 = 0);
std::shared_ptr<TTFR> CreateTFR(float sx, float sy, float Rotation, float Position);
std::shared_ptr<TPer> CreatePercenter(const std::string& name, float speed, int32_t Typ);

// A new object with the defaults, then FromString(text).
std::shared_ptr<TRGB> CreateRGBFromString(const std::string& text);
std::shared_ptr<TDim> CreateDIMFromString(const std::string& text);
std::shared_ptr<TTFR> CreateTFRFromString(const std::string& text);
std::shared_ptr<TRGB> LoadRGBFromString(const std::string& text);
std::shared_ptr<TDim> LoadDimFromString(const std::string& text);
std::shared_ptr<TTFR> LoadTFRFromString(const std::string& text);
std::string SaveRGBToString(const TRGB& rgb);
std::string SaveTFRToString(const TTFR& tfr);

// Names of the squash kinds 0..6.
extern const std::array<std::string, 7> Splaszczenia_Names;

// Named colours, shared by whoever is handed them; alpha 1 and position 1.
extern std::shared_ptr<TRGB> WhiteRGB, RedRGB, GreenRGB, BlueRGB, YellowRGB, PurpleRGB, CyanRGB, OrangeRGB, BlackRGB,
    DefaultOutlineRGB;
// (Re)makes the named colours with their standard values. They already exist before main runs;
// start-up calls this once, tests call it to undo changes made through a shared colour.
void InitColorConstants();

// Colours and pixels (a pixel is 0xAARRGGBB).

// A new colour of 255 - r, 255 - g, 255 - b, opaque and at position 1.
std::shared_ptr<TRGB> InvertRGB(const TRGB& rgb);
// Low 8 bits of b, g, r; alpha the low 8 bits of a * 255 truncated (1.0 -> 255, 0.999 -> 254).
uint32_t RGBToARGB(const TRGB& rgb);
// r, g, b from bits 16-23, 8-15, 0-7; a = bits 24-31 / 255.
void SetRGBFromARGB(TRGB& rgb, uint32_t pixel);
// The colour's r, g, b to the draw colour (alpha untouched); SetColorAlphaRGB also sets the alpha.
void SetColorRGB(const TRGB& rgb);
void SetColorAlphaRGB(const TRGB& rgb);
// Adds dx to x and dy to y of every rectangle (null slots skipped); returns the same array.
TDimArray& MoveDimArray(TDimArray& dims, float dx, float dy);
