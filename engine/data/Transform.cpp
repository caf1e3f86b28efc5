#include "engine/data/Transform.h"

#include "engine/data/Keyframes.h"
#include <algorithm>

#include "engine/data/Interpolation.h"
#include "engine/basics/Basics.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Graphics.h"

std::shared_ptr<TTFR> TTransform::CounterTFR = std::make_shared<TTFR>();
std::shared_ptr<TTFR> TTransform::OpTFR1;
std::shared_ptr<TTFR> TTransform::OpTFR2;
float TTransform::Per = 0.0f;

void ResetTransformScratch() {
    TTransform::CounterTFR = std::make_shared<TTFR>();
    TTransform::OpTFR1.reset();
    TTransform::OpTFR2.reset();
    TTransform::Per = 0.0f;
}

int TTransform::Free() {
    tfr = TTFRArray();
    return 0;
}

std::shared_ptr<TTransform> TTransform::Copy() const {
    auto out = std::make_shared<TTransform>();
    out->tfr = CopyEach(tfr, true);
    return out;
}

std::shared_ptr<TTFR> TTransform::GetTfr(float per) {
    auto out = std::make_shared<TTFR>();
    PutTfr(*out, per);
    return out;
}

int TTransform::PutTfr(TTFR& target, float per) {
    if (tfr.size() == 1 && tfr[0]) {
        target.SetDataFromOtherTFR(*tfr[0]);
        return 0;
    }
    FindTwo(per);
    if (!OpTFR1 || !OpTFR2) {  // no stops: the identity transform
        target.sx = 1.0f;
        target.sy = 1.0f;
        target.Rotation = 0.0f;
        return 0;
    }
    LerpTFR(target, *OpTFR1, *OpTFR2, Per);
    return 0;
}

int TTransform::PutToVar(float& sx, float& sy, float& rotation, float per) {
    if (!CounterTFR) CounterTFR = std::make_shared<TTFR>();
    PutTfr(*CounterTFR, per);
    sx = CounterTFR->sx;
    sy = CounterTFR->sy;
    rotation = CounterTFR->Rotation;
    return 0;
}

int TTransform::PutSolidToVar(float& sx, float& sy, float& rotation, float per) {
    FindTwo(per);
    if (!OpTFR1) {
        sx = 1.0f;
        sy = 1.0f;
        rotation = 0.0f;
        return 0;
    }
    sx = OpTFR1->sx;
    sy = OpTFR1->sy;
    rotation = OpTFR1->Rotation;
    return 0;
}

int TTransform::FindTwo(float per) {
    const TStopPair<TTFR> two = StopsAround(tfr, per, &TTFR::Position);
    OpTFR1 = two.lo;
    OpTFR2 = two.hi;
    Per = two.per;
    return 0;
}

int32_t TTransform::TFRSortFunction(const TTFR& a, const TTFR& b) { return PositionOrder(a.Position, b.Position); }

int TTransform::Sort() {
    static const TTFR origin;  // a missing stop sorts as Position 0
    SortStops(tfr, &TFRSortFunction, origin);
    return 0;
}

int TTransform::PutIn(const std::shared_ptr<TTFR>& stop) {
    if (!stop) return 0;
    TTFRArray grown;
    grown.reserve(tfr.size() + 1);
    grown = tfr;
    grown.push_back(stop);
    tfr = std::move(grown);
    return Sort();
}

int TTransform::AddTFR(const std::shared_ptr<TTFR>& stop) { return PutIn(stop); }

std::shared_ptr<TTFR> TTransform::SplitIn(float per) {
    auto stop = GetTfr(per);
    stop->Position = per;
    PutIn(stop);
    return stop;
}

int TTransform::RemoveTFR(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= tfr.size()) return 0;
    tfr.erase(tfr.begin() + index);
    return Sort();
}

std::string TTransform::ToString() const { return JoinTexts(tfr, "#"); }

int TTransform::FromString(const std::string& text) {
    TTFRArray stops;
    for (const auto& piece : SplitString(text, "#")) stops.push_back(LoadTFRFromString(piece));
    tfr = std::move(stops);
    return 0;
}

float TTransform::CountTrackX(int32_t x, float per, float w) { return static_cast<float>(x) + per * w; }

float TTransform::CountTrackY(int32_t y, float value, float h) {
    return static_cast<float>(y) + h * 0.5f - CountValue(value, h);
}

float TTransform::CountValue(float value, float h) {
    float v = value * h / 4.0f;
    const float half = h / 2.0f;
    if (v > half) v = half;
    if (v < -half) v = -half;
    return v;
}

int TTransform::_Plot(float x, float y, float w, float h, bool solid) {
    SetColor(100, 100, 100);
    DrawRect(x, y + h * 0.5f, w, 1.0f);  // the zero line
    const auto ix = TruncToInt(x);
    const auto iy = TruncToInt(y);
    const std::shared_ptr<TTFR>* prev = nullptr;
    float prevX = 0, prevSx = 0, prevSy = 0;
    for (const auto& stop : tfr) {
        if (!stop) continue;
        const float px = CountTrackX(ix, stop->Position, w);
        const float sxY = CountTrackY(iy, stop->sx, h);
        const float syY = CountTrackY(iy, stop->sy, h);
        if (prev) {
            SetColor(255, 0, 0);
            DrawLine(prevX, solid ? sxY : prevSx, px, sxY, true);
            SetColor(0, 255, 0);
            DrawLine(prevX, solid ? syY : prevSy, px, syY, true);
        }
        prev = &stop;
        prevX = px;
        prevSx = sxY;
        prevSy = syY;
    }
    return 0;
}

int TTransform::DrawSolid(float x, float y, float w, float h) { return _Plot(x, y, w, h, true); }

int TTransform::Draw(float x, float y, float w, float h) { return _Plot(x, y, w, h, false); }

TTransformPtr CreateTransform(TTFRArray stops) {
    auto curve = std::make_shared<TTransform>();
    if (stops.size() == 2 && stops[1] && stops[1]->Position == 0.0f) stops[1]->Position = 1.0f;
    curve->tfr = std::move(stops);
    return curve;
}

TTransformPtr CreateDefaultTransform() {
    return CreateTransform({CreateTFR(1.0f, 1.0f, 0.0f, 0.0f), CreateTFR(1.0f, 1.0f, 0.0f, 1.0f)});
}

std::string SaveTransformeToString(const TTransformPtr& curve) { return curve ? curve->ToString() : ""; }

TTransformPtr LoadTransformFromString(const std::string& text) {
    TTFRArray stops;
    for (const auto& piece : SplitString(text, "#")) stops.push_back(LoadTFRFromString(piece));
    return CreateTransform(std::move(stops));
}
