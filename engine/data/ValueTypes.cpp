#include "engine/data/ValueTypes.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "engine/basics/Basics.h"
#include "engine/basics/AppTime.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

// Field setters for FromString: piece i goes to field i; a piece that is there (even empty) sets
// its field, a missing one leaves it alone.
std::string ValueToString(float value) { return FloatToString(value); }
std::string ValueToString(int32_t value) { return IntToString(value); }

void ReadField(const std::vector<std::string>& pieces, size_t i, float& field) {
    if (i < pieces.size()) field = StringToFloat(pieces[i]);
}
void ReadField(const std::vector<std::string>& pieces, size_t i, int32_t& field) {
    if (i < pieces.size()) field = StringToInt(pieces[i]);
}

// The comma-separated text of a value's fields, in the order given (a real as "%#.9g").
template <class... Field>
std::string FieldsToString(const Field&... fields) {
    std::string s;
    ((s += (s.empty() ? "" : ",") + ValueToString(fields)), ...);
    return s;
}

// Piece i of text into the i-th field given, as ReadFloat and ReadInt read them.
template <class... Field>
void FieldsFromString(const std::string& text, Field&... fields) {
    const auto pieces = SplitString(text, ",");
    size_t i = 0;
    (ReadField(pieces, i++, fields), ...);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TRGB
// ---------------------------------------------------------------------------------------------

std::shared_ptr<TRGB> TRGB::Copy() const { return CreateRGB(r, g, b, a, position); }

void TRGB::SetData(int32_t r_, int32_t g_, int32_t b_, float a_, float position_) {
    r = r_;
    g = g_;
    b = b_;
    a = a_;
    position = position_;
}

void TRGB::SetDataFromOtherRGB(const TRGB& other) { SetData(other.r, other.g, other.b, other.a, other.position); }

std::string TRGB::ToString() const { return FieldsToString(r, g, b, a, position); }

void TRGB::FromString(const std::string& text) { FieldsFromString(text, r, g, b, a, position); }

// ---------------------------------------------------------------------------------------------
// TDim
// ---------------------------------------------------------------------------------------------

std::shared_ptr<TDim> TDim::Copy() const { return std::make_shared<TDim>(*this); }

void TDim::SetDataFromOtherDim(const TDim& other) {
    const int32_t keep = isSplaszczenie;
    *this = other;
    isSplaszczenie = keep;
}

void TDim::SetData(float x_, float y_, float w_, float h_) {
    x = x_;
    y = y_;
    w = w_;
    h = h_;
}

void TDim::CountCorners() {
    x1 = x;
    y1 = y;
    x2 = x + w;
    y2 = y + h;
}

void TDim::DrawDimRect() {
    CountCorners();
    SetScale(1, 1);
    SetRotation(0);
    if (w == 0 && h == 0) {
        DrawRect(x1, y1, 1, 1);
        return;
    }
    DrawLine(x1, y1, x2, y1, true);
    DrawLine(x2, y1, x2, y2, true);
    DrawLine(x2, y2, x1, y2, true);
    DrawLine(x1, y2, x1, y1, true);
}

std::string TDim::ToString() const {
    return FieldsToString(x, y, w, h, x1, y1, x2, y2, position, isBezier, isSplaszczenie);
}

void TDim::FromString(const std::string& text) {
    FieldsFromString(text, x, y, w, h, x1, y1, x2, y2, position, isBezier, isSplaszczenie);
}

// ---------------------------------------------------------------------------------------------
// TTFR
// ---------------------------------------------------------------------------------------------

std::shared_ptr<TTFR> TTFR::Copy() const { return std::make_shared<TTFR>(*this); }

void TTFR::SetData(float sx_, float sy_, float Rotation_, float Position_) {
    sx = sx_;
    sy = sy_;
    Rotation = Rotation_;
    Position = Position_;
}

void TTFR::SetDataFromOtherTFR(const TTFR& other) { SetData(other.sx, other.sy, other.Rotation, other.Position); }

float SplatPer(int32_t kind, float per) {
    switch (kind) {
        case 0: return per;
        // The product is taken in single precision, the sine in double, as the engine always has.
        case 1: return static_cast<float>(SinDeg(90.0f * per));
        case 2: return static_cast<float>(SinDeg(180.0f * per));
        case 3: return static_cast<float>(SinDeg(360.0f * per));
        case 4: return static_cast<float>(CosDeg(90.0f * per));
        case 5: return static_cast<float>(CosDeg(180.0f * per));
        case 6: return static_cast<float>(CosDeg(360.0f * per));
        default: return 0.0f;
    }
}

float TTFR::GetSplatPer(float per) const { return SplatPer(isSplaszczenie, per); }

std::string TTFR::ToString() const { return FieldsToString(sx, sy, Rotation, Position, isSplaszczenie); }

void TTFR::FromString(const std::string& text) { FieldsFromString(text, sx, sy, Rotation, Position, isSplaszczenie); }

// ---------------------------------------------------------------------------------------------
// TPer
// ---------------------------------------------------------------------------------------------

void StepToward(float& p, float dp, float speedUp, float speedDown) {
    if (p < dp) {
        p = p + speedUp * delta;
        if (p > dp) p = dp;
    }
    if (p > dp) {
        p = p - speedDown * delta;
        if (p < dp) p = dp;
    }
}

void TPer::Update() {
    StepToward(p, dp, speed, speed);
    if (Typ == 1 && p == dp) dp = (dp == 0.0f) ? 1.0f : 0.0f;
    if (Typ == 2 && p == dp) dp = -dp;
}

std::string TPer::ToString() const {
    return "TPER( " + name + " ) = " + FloatToString(p) + ", " + FloatToString(dp) +
           " - Speed: " + FloatToString(speed) + ", Type: " + IntToString(Typ);
}

// ---------------------------------------------------------------------------------------------
// Creators
// ---------------------------------------------------------------------------------------------

std::shared_ptr<TRGB> CreateRGB(int32_t r, int32_t g, int32_t b, float a, float position) {
    auto c = std::make_shared<TRGB>();
    c->SetData(r, g, b, a, position);
    return c;
}

std::shared_ptr<TDim> CreateDim(float x, float y, float w, float h, float position, float x1, float y1, float x2,
                                float y2) {
    return std::make_shared<TDim>(TDim{x, y, w, h, x1, y1, x2, y2, position});
}

std::shared_ptr<TTFR> CreateTFR(float sx, float sy, float Rotation, float Position) {
    auto t = std::make_shared<TTFR>();
    t->SetData(sx, sy, Rotation, Position);
    return t;
}

std::shared_ptr<TPer> CreatePercenter(const std::string& name, float speed, int32_t Typ) {
    auto per = std::make_shared<TPer>();
    per->name = Upper(name);
    per->speed = speed;
    per->Typ = Typ;
    return per;
}

std::shared_ptr<TRGB> CreateRGBFromString(const std::string& text) {
    auto c = std::make_shared<TRGB>();
    c->FromString(text);
    return c;
}

std::shared_ptr<TDim> CreateDIMFromString(const std::string& text) {
    auto d = std::make_shared<TDim>();
    d->FromString(text);
    return d;
}

std::shared_ptr<TTFR> CreateTFRFromString(const std::string& text) {
    auto t = std::make_shared<TTFR>();
    t->FromString(text);
    return t;
}

std::shared_ptr<TRGB> LoadRGBFromString(const std::string& text) { return CreateRGBFromString(text); }
std::shared_ptr<TDim> LoadDimFromString(const std::string& text) { return CreateDIMFromString(text); }
std::shared_ptr<TTFR> LoadTFRFromString(const std::string& text) { return CreateTFRFromString(text); }
std::string SaveRGBToString(const TRGB& rgb) { return rgb.ToString(); }
std::string SaveTFRToString(const TTFR& tfr) { return tfr.ToString(); }

// ---------------------------------------------------------------------------------------------
// Names and named colours
// ---------------------------------------------------------------------------------------------

const std::array<std::string, 7> Splaszczenia_Names = {"None",   "Sin 90",  "Sin 180", "Sin 360",
                                                       "Cos 90", "Cos 180", "Cos 360"};

std::shared_ptr<TRGB> WhiteRGB = CreateRGB(255, 255, 255, 1.0f, 1.0f);
std::shared_ptr<TRGB> RedRGB = CreateRGB(255, 0, 0, 1.0f, 1.0f);
std::shared_ptr<TRGB> GreenRGB = CreateRGB(0, 255, 0, 1.0f, 1.0f);
std::shared_ptr<TRGB> BlueRGB = CreateRGB(0, 0, 255, 1.0f, 1.0f);
std::shared_ptr<TRGB> YellowRGB = CreateRGB(255, 255, 0, 1.0f, 1.0f);
std::shared_ptr<TRGB> PurpleRGB = CreateRGB(255, 0, 255, 1.0f, 1.0f);
std::shared_ptr<TRGB> CyanRGB = CreateRGB(0, 255, 255, 1.0f, 1.0f);
std::shared_ptr<TRGB> OrangeRGB = CreateRGB(255, 155, 55, 1.0f, 1.0f);
std::shared_ptr<TRGB> BlackRGB = CreateRGB(0, 0, 0, 1.0f, 1.0f);
std::shared_ptr<TRGB> DefaultOutlineRGB = CreateRGB(0, 0, 0, 1.0f, 1.0f);

void InitColorConstants() {
    WhiteRGB = CreateRGB(255, 255, 255, 1.0f, 1.0f);
    RedRGB = CreateRGB(255, 0, 0, 1.0f, 1.0f);
    GreenRGB = CreateRGB(0, 255, 0, 1.0f, 1.0f);
    BlueRGB = CreateRGB(0, 0, 255, 1.0f, 1.0f);
    YellowRGB = CreateRGB(255, 255, 0, 1.0f, 1.0f);
    PurpleRGB = CreateRGB(255, 0, 255, 1.0f, 1.0f);
    CyanRGB = CreateRGB(0, 255, 255, 1.0f, 1.0f);
    OrangeRGB = CreateRGB(255, 155, 55, 1.0f, 1.0f);
    BlackRGB = CreateRGB(0, 0, 0, 1.0f, 1.0f);
    DefaultOutlineRGB = CreateRGB(0, 0, 0, 1.0f, 1.0f);
}

// ---------------------------------------------------------------------------------------------
// Colours and pixels

std::shared_ptr<TRGB> InvertRGB(const TRGB& rgb) {
    return CreateRGB(255 - rgb.r, 255 - rgb.g, 255 - rgb.b, 1.0f, 1.0f);
}

uint32_t RGBToARGB(const TRGB& rgb) {
    const uint32_t alpha = static_cast<uint32_t>(TruncToInt(rgb.a * 255.0f)) & 0xFFu;
    return (alpha << 24) | ((static_cast<uint32_t>(rgb.r) & 0xFFu) << 16) |
           ((static_cast<uint32_t>(rgb.g) & 0xFFu) << 8) | (static_cast<uint32_t>(rgb.b) & 0xFFu);
}

void SetRGBFromARGB(TRGB& rgb, uint32_t pixel) {
    rgb.r = static_cast<int32_t>((pixel >> 16) & 0xFFu);
    rgb.g = static_cast<int32_t>((pixel >> 8) & 0xFFu);
    rgb.b = static_cast<int32_t>(pixel & 0xFFu);
    rgb.a = static_cast<float>((pixel >> 24) & 0xFFu) / 255.0f;
}

void SetColorRGB(const TRGB& rgb) { SetColor(rgb.r, rgb.g, rgb.b); }

void SetColorAlphaRGB(const TRGB& rgb) {
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(rgb.a);
}

TDimArray& MoveDimArray(TDimArray& dims, float dx, float dy) {
    for (auto& d : dims) {
        if (!d) continue;
        d->x += dx;
        d->y += dy;
    }
    return dims;
}
