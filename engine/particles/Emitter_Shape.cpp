#include "engine/particles/Emitter_Shape.h"

#include <cmath>
#include <limits>

#include "engine/screen/AppObj.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

void OutlineState() {
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetColor(0, 255, 255);
}

template <class Shape>
TAppEmitterShapePtr MakeShape(std::vector<float> values) {
    auto s = std::make_shared<Shape>();
    s->SetValues(std::move(values));
    return s;
}

}  // namespace

float TAEShapeLine::PomRot = 0.0f;
float TAEShapeLine::PomOdl = 0.0f;
float TAEShapeLine::Odl = 0.0f;

void ResetEmitterShapeScratch() {
    TAEShapeLine::PomRot = 0.0f;
    TAEShapeLine::PomOdl = 0.0f;
    TAEShapeLine::Odl = 0.0f;
}

// ---------------------------------------------------------------------------------------------
// Point (the base)

int TAppEmitterShape::GetRandomX() { return 0; }
int TAppEmitterShape::GetRandomY() { return 0; }

int TAppEmitterShape::SetValues(std::vector<float> values) {
    Value = std::move(values);
    return 0;
}

int TAppEmitterShape::Draw(float x, float y) {
    OutlineState();
    DrawRect(x, y, 1.0f, 1.0f);
    return 0;
}

std::string TAppEmitterShape::GetValuesString() {
    std::string out;
    for (size_t i = 0; i < 6; ++i) {
        if (i > 0) out += "&";
        out += FloatToString(V(i));
    }
    return out;
}

std::string TAppEmitterShape::FromString(const std::string& text) {
    const std::vector<std::string> pieces = SplitString(text, "&");
    for (size_t i = 0; i < pieces.size() && i < Value.size(); ++i) Value[i] = StringToFloat(pieces[i]);
    return "";
}

std::vector<float> TAppEmitterShape::_CopyValues() const {
    std::vector<float> out(6, 0.0f);
    for (size_t i = 0; i < 6 && i < Value.size(); ++i) out[i] = Value[i];
    return out;
}

TAppEmitterShapePtr TAppEmitterShape::Copy() { return MakeShape<TAppEmitterShape>(_CopyValues()); }

std::string TAppEmitterShape::ToString() { return "POINT)" + GetValuesString(); }

// ---------------------------------------------------------------------------------------------
// Ellipse

int TAEShapeElipse::GetRandomX() {
    PomRot = static_cast<float>(Rnd(V(4), V(4) + V(5)));
    return TruncToInt(CosDeg(PomRot) * Rnd(V(2), V(0)));
}

int TAEShapeElipse::GetRandomY() { return TruncToInt(SinDeg(PomRot) * Rnd(V(3), V(1))); }

int TAEShapeElipse::Draw(float x, float y) {
    OutlineState();
    const int from = TruncToInt(V(4));
    const int to = TruncToInt(static_cast<double>(V(4) + V(5)));
    const float radii[2][2] = {{V(2), V(3)}, {V(0), V(1)}};
    for (const auto& radius : radii) {
        bool first = true;
        int lastX = 0, lastY = 0;
        for (int64_t a = from; a <= to; a += 4) {
            const double px = x + CosDeg(static_cast<double>(a)) * radius[0];
            const double py = y + SinDeg(static_cast<double>(a)) * radius[1];
            if (!first)
                DrawLine(static_cast<float>(px), static_cast<float>(py), static_cast<float>(lastX),
                         static_cast<float>(lastY), true);
            lastX = TruncToInt(px);
            lastY = TruncToInt(py);
            first = false;
        }
    }
    return 0;
}

TAppEmitterShapePtr TAEShapeElipse::Copy() { return MakeShape<TAEShapeElipse>(_CopyValues()); }

std::string TAEShapeElipse::ToString() { return "ELIPSE)" + GetValuesString(); }

// ---------------------------------------------------------------------------------------------
// Box

int TAEShapeBox::GetRandomX() { return TruncToInt(Rnd(-V(0), V(0))); }

int TAEShapeBox::GetRandomY() { return TruncToInt(Rnd(-V(1), V(1))); }

int TAEShapeBox::Draw(float x, float y) {
    OutlineState();
    const float w = V(0), h = V(1);
    DrawRect(x - w, y - h, 2.0f * w, 1.0f);
    DrawRect(x - w, y - h, 1.0f, 2.0f * h);
    DrawRect(x - w, y + h, 2.0f * w, 1.0f);
    DrawRect(x + w, y - h, 1.0f, 2.0f * h);
    return 0;
}

TAppEmitterShapePtr TAEShapeBox::Copy() { return MakeShape<TAEShapeBox>(_CopyValues()); }

std::string TAEShapeBox::ToString() { return "BOX)" + GetValuesString(); }

// ---------------------------------------------------------------------------------------------
// Line

int TAEShapeLine::GetRandomX() {
    PomRot = static_cast<float>(Rand(0, 360));
    PomOdl = static_cast<float>(Rand(0, TruncToInt(V(1))));
    Odl = static_cast<float>(Rand(0, TruncToInt(V(2))));
    return TruncToInt(CosDeg(PomRot) * PomOdl + CosDeg(V(0)) * Odl);
}

int TAEShapeLine::GetRandomY() { return TruncToInt(SinDeg(PomRot) * PomOdl + SinDeg(V(0)) * Odl); }

int TAEShapeLine::Draw(float, float) { return 0; }

TAppEmitterShapePtr TAEShapeLine::Copy() { return MakeShape<TAEShapeLine>(_CopyValues()); }

std::string TAEShapeLine::ToString() { return "LINE)" + GetValuesString(); }

// ---------------------------------------------------------------------------------------------

TAppEmitterShapePtr CreateAESPoint() { return std::make_shared<TAppEmitterShape>(); }

TAppEmitterShapePtr CreateAESElipse(float rx, float ry, float innerRx, float innerRy, float startAngle, float span) {
    return MakeShape<TAEShapeElipse>({rx, ry, innerRx, innerRy, startAngle, span});
}

TAppEmitterShapePtr CreateAESBox(float halfW, float halfH, float v2, float v3) {
    return MakeShape<TAEShapeBox>({halfW, halfH, v2, v3, 0.0f, 0.0f});
}

TAppEmitterShapePtr CreateAESLine(float direction, float scatter, float length) {
    return MakeShape<TAEShapeLine>({direction, scatter, length, 0.0f, 0.0f, 0.0f});
}

std::vector<float> CreateAESValueArray(const std::string& text) {
    std::vector<float> out;
    for (const auto& piece : SplitString(text, "&")) out.push_back(StringToFloat(piece));
    return out;
}

TAppEmitterShapePtr CreateAESFromString(const std::string& text) {
    const std::vector<std::string> pieces = SplitString(text, ")");
    if (pieces.empty()) return CreateAESPoint();
    std::vector<float> values = pieces.size() > 1 ? CreateAESValueArray(pieces[1]) : std::vector<float>();
    const std::string kind = Upper(pieces[0]);
    TAppEmitterShapePtr shape;
    if (kind == "POINT") shape = std::make_shared<TAppEmitterShape>();
    else if (kind == "ELIPSE") shape = std::make_shared<TAEShapeElipse>();
    else if (kind == "BOX") shape = std::make_shared<TAEShapeBox>();
    else if (kind == "LINE") shape = std::make_shared<TAEShapeLine>();
    if (values.size() < 6) {
        Error("Value Array for Emitter Shape doesn't have enough elements!", Here());
        return CreateAESPoint();
    }
    if (!shape) {
        Error("Unknown Emitter Shape type: " + pieces[0] + ".", Here());
        return CreateAESPoint();
    }
    shape->SetValues(std::move(values));
    return shape;
}
