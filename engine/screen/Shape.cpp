#include "engine/screen/Shape.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/screen/AppObj.h"
#include "engine/basics/Basics.h"
#include "engine/screen/DrawObject.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Graphics.h"
#include "platform/Strings.h"

namespace {

float PolarDist(float dx, float dy) {
    return static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
}

float PolarAngle(float dx, float dy) { return static_cast<float>(ATan2Deg(dy, dx)); }

// Truncation toward zero to the grid of 8 pixels.
float Snap8(float v) { return static_cast<float>(static_cast<int64_t>(TruncToInt(v / 8.0f)) * 8); }

// The largest i in 1..limit with an entry "Point<i>" in block (names without regard to case, the
// number written without leading zeros, as a lookup by name finds it); 0 when there is none.
int32_t LastPointEntry(const TBlockFilePtr& block, int32_t limit) {
    int32_t last = 0;
    if (!block) return last;
    for (const auto& child : block->SubFiles) {
        if (!child || child->MyType != BF_ENTRY) continue;
        const std::string& entry = child->name;
        if (entry.size() < 6 || entry.size() > 15 || !StartsWithNoCase(entry, "Point") || entry[5] == '0') continue;
        int64_t i = 0;
        bool digits = true;
        for (size_t k = 5; k < entry.size() && digits; ++k) {
            digits = entry[k] >= '0' && entry[k] <= '9';
            i = i * 10 + (entry[k] - '0');
        }
        if (digits && i <= limit && i > last) last = static_cast<int32_t>(i);
    }
    return last;
}

}  // namespace

TAppShapePtr TAppShape::Copy() {
    // The copy owns its arrays and keeps the centre, so it lays out exactly like the source.
    auto s = std::make_shared<TAppShape>();
    s->CDist = CDist;
    s->CAngle = CAngle;
    s->PolyDist = PolyDist;
    s->PolyRot = PolyRot;
    s->DrawPolyX.assign(PolyDist.size(), 0.0f);
    s->DrawPolyY.assign(PolyRot.size(), 0.0f);
    return s;
}

int TAppShape::CountPoly(float x, float y, float rotation, float scaleX, float scaleY) {
    DrawCX = static_cast<float>(x + CosDeg(static_cast<double>(CAngle) + rotation) * (CDist * scaleX));
    DrawCY = static_cast<float>(y + SinDeg(static_cast<double>(CAngle) + rotation) * (CDist * scaleY));
    const size_t n = PolyDist.size();
    DrawPolyX.resize(n);
    DrawPolyY.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const float rot = i < PolyRot.size() ? PolyRot[i] : 0.0f;
        DrawPolyX[i] = static_cast<float>(DrawCX + CosDeg(static_cast<double>(rot) + rotation) * scaleX * PolyDist[i]);
        DrawPolyY[i] = static_cast<float>(DrawCY + SinDeg(static_cast<double>(rot) + rotation) * scaleY * PolyDist[i]);
    }
    return 0;
}

int TAppShape::PointOver(float px, float py) {
    return PointInPolygon(TruncToInt(px), TruncToInt(py), DrawPolyX, DrawPolyY);
}

int TAppShape::PointIn(float x, int y, float px, float py, float rotation, float scaleX, float scaleY) {
    CountPoly(x, static_cast<float>(y), rotation, scaleX, scaleY);
    return PointOver(px, py);
}

int TAppShape::DrawDebug(float x, float y, float rotation, float scaleX, float scaleY) {
    SetColor(255, 0, 255);
    SetRotation(0);
    SetScale(1, 1);
    SetBlend(3);
    CountPoly(x, y, rotation, scaleX, scaleY);
    const size_t n = std::min(DrawPolyX.size(), DrawPolyY.size());
    if (n > 0) {
        for (size_t i = 1; i < n; ++i) {
            DrawLine(DrawPolyX[i - 1], DrawPolyY[i - 1], DrawPolyX[i], DrawPolyY[i], true);
            SetColor(255, 0, 255);
        }
        DrawLine(DrawPolyX[n - 1], DrawPolyY[n - 1], DrawPolyX[0], DrawPolyY[0], true);
    }
    DrawRect(DrawCX, DrawCY, 2, 2);
    return 0;
}

int TAppShape::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    TBlockFilePtr b = CreateBlockFile("Shape", block);
    AddIntToBlock(b, "Points", static_cast<int32_t>(PolyDist.size()), 0);
    AddFloatToBlock(b, "Center", CDist, 0);
    AddFloatToBlock(b, "Center", CAngle, 1);
    for (size_t i = 0; i < PolyDist.size(); ++i) {
        const std::string entry = "Point" + std::to_string(i + 1);
        AddFloatToBlock(b, entry, PolyDist[i], 0);
        AddFloatToBlock(b, entry, i < PolyRot.size() ? PolyRot[i] : 0.0f, 1);
    }
    return 0;
}

int TAppShape::Load(const TBlockFilePtr& block) {
    int32_t n = TruncToInt(GetBFNumber(block, "Points", 0));
    if (n < 0) n = 0;  // a negative count reads as no points
    // Points past the last "Point<i>" entry all read as the same zero point, at the centre; a
    // run of equal points changes neither the outline nor any point test, so one of them is
    // kept. A damaged count thus never asks for more points than the block can describe.
    const int32_t last = LastPointEntry(block, n);
    if (n > static_cast<int64_t>(last) + 1) n = last + 1;
    std::vector<float> dist(n), rot(n);
    CDist = GetBFNumber(block, "Center", 0);
    CAngle = GetBFNumber(block, "Center", 1);
    for (int32_t i = 1; i <= n; ++i) {
        const std::string entry = "Point" + std::to_string(i);
        dist[i - 1] = GetBFNumber(block, entry, 0);
        rot[i - 1] = GetBFNumber(block, entry, 1);
    }
    PolyDist = std::move(dist);
    PolyRot = std::move(rot);
    DrawPolyX.assign(n, 0.0f);
    DrawPolyY.assign(n, 0.0f);
    return 0;
}

int TAppShape::MovePoint(int index, float x, float y, int snap) {
    if (index < 0 || index >= static_cast<int>(PolyDist.size()) || index >= static_cast<int>(PolyRot.size())) return 0;
    float X = x, Y = y, CX = DrawCX, CY = DrawCY;
    if (snap != 0) {
        X = Snap8(X);
        Y = Snap8(Y);
        CX = Snap8(CX);
        CY = Snap8(CY);
    }
    const float dx = X - CX;
    const float dy = Y - CY;
    PolyDist[index] = PolarDist(dx, dy);
    PolyRot[index] = PolarAngle(dx, dy);
    return 0;
}

TAppShapePtr CreateAppShape(const std::vector<float>& xs, const std::vector<float>& ys, float cx, float cy) {
    auto s = std::make_shared<TAppShape>();
    s->CDist = PolarDist(cx, cy);
    s->CAngle = PolarAngle(cx, cy);
    // Points beyond the shorter array have no partner: the shape takes the common length.
    const size_t n = std::min(xs.size(), ys.size());
    s->PolyDist.resize(n);
    s->PolyRot.resize(n);
    s->DrawPolyX.assign(n, 0.0f);
    s->DrawPolyY.assign(n, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        const float dx = xs[i] - cx;
        const float dy = ys[i] - cy;
        s->PolyDist[i] = PolarDist(dx, dy);
        s->PolyRot[i] = PolarAngle(dx, dy);
    }
    return s;
}

TAppShapePtr CreateAppShape_Rect(float w, float h, float x, float y) {
    const float hw = w * 0.5f;
    const float hh = h * 0.5f;
    std::vector<float> xs = {-hw, hw, hw, -hw};
    std::vector<float> ys = {-hh, -hh, hh, hh};
    if (x != 0.0f || y != 0.0f) {
        for (auto& v : xs) v += x;
        for (auto& v : ys) v += y;
    }
    return CreateAppShape(xs, ys, 0, 0);
}

TAppShapePtr CreateAppShapeFromDrawObject(TAppDrawObject* drawObject) {
    float w = 128, h = 128;
    if (drawObject != nullptr) {
        w = static_cast<float>(drawObject->GetWidth());
        h = static_cast<float>(drawObject->GetHeight());
    }
    auto s = CreateAppShape_Rect(w, h, 0, 0);
    const float cx = w * 0.5f;
    const float cy = h * 0.5f;
    s->CDist = PolarDist(cx, cy);
    s->CAngle = PolarAngle(cx, cy);
    return s;
}

TAppShapePtr LoadAppShape(const TBlockFilePtr& block) {
    auto s = std::make_shared<TAppShape>();
    s->Load(block);
    return s;
}
