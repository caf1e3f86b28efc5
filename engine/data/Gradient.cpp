#include "engine/data/Gradient.h"

#include "engine/data/Keyframes.h"
#include <algorithm>

#include "engine/data/Interpolation.h"
#include "engine/basics/Basics.h"
#include "engine/data/BoxedNumbers.h"

std::shared_ptr<TRGB> TGradient::CounterRGB = std::make_shared<TRGB>();
std::shared_ptr<TRGB> TGradient::OpRGB1;
std::shared_ptr<TRGB> TGradient::OpRGB2;
float TGradient::Per = 0.0f;

void ResetGradientScratch() {
    TGradient::CounterRGB = std::make_shared<TRGB>();
    TGradient::OpRGB1.reset();
    TGradient::OpRGB2.reset();
    TGradient::Per = 0.0f;
}

void TGradient::Free() { rgb = TRGBArray(); }

std::shared_ptr<TGradient> TGradient::Copy() const {
    auto out = std::make_shared<TGradient>();
    out->rgb = CopyEach(rgb, true);
    return out;
}

std::shared_ptr<TRGB> TGradient::GetRGB(float position) {
    auto out = std::make_shared<TRGB>();
    PutRGB(*out, position);
    return out;
}

void TGradient::PutRGB(TRGB& target, float position) {
    if (rgb.size() == 1) {
        if (rgb[0]) target.SetDataFromOtherRGB(*rgb[0]);
        return;
    }
    FindTwo(position);
    if (!OpRGB1 || !OpRGB2) return;  // no stops: the target keeps its colour
    LerpRGB(target, *OpRGB1, *OpRGB2, Per);
}

void TGradient::PutToVar(int32_t& r, int32_t& g, int32_t& b, float& a, float position) {
    if (!CounterRGB) CounterRGB = std::make_shared<TRGB>();
    TRGB& scratch = *CounterRGB;
    // Start from the variables, so that a gradient without stops leaves them as they are.
    scratch.r = r;
    scratch.g = g;
    scratch.b = b;
    scratch.a = a;
    PutRGB(scratch, position);
    r = scratch.r;
    g = scratch.g;
    b = scratch.b;
    a = scratch.a;
}

void TGradient::PutSolidToVar(int32_t& r, int32_t& g, int32_t& b, float& a, float position) {
    FindTwo(position);
    if (!OpRGB1) return;
    r = OpRGB1->r;
    g = OpRGB1->g;
    b = OpRGB1->b;
    a = OpRGB1->a;
}

void TGradient::FindTwo(float position) {
    const TStopPair<TRGB> two = StopsAround(rgb, position, &TRGB::position);
    OpRGB1 = two.lo;
    OpRGB2 = two.hi;
    Per = two.per;
}

void TGradient::DeleteRGB(const std::shared_ptr<TRGB>& stop) {
    if (rgb.size() == 2) return;
    const auto it = std::find(rgb.begin(), rgb.end(), stop);
    if (it != rgb.end()) rgb.erase(it);
    Sort();
}

void TGradient::PutIn(const std::shared_ptr<TRGB>& stop) {
    if (!stop) return;
    TRGBArray grown;
    grown.reserve(rgb.size() + 1);
    grown = rgb;
    grown.push_back(stop);
    rgb = std::move(grown);
    Sort();
}

std::shared_ptr<TRGB> TGradient::SplitIn(float position) {
    auto stop = GetRGB(position);
    stop->position = position;
    PutIn(stop);
    return stop;
}

int32_t TGradient::GradientSortFunction(const TRGB& o1, const TRGB& o2) {
    return PositionOrder(o1.position, o2.position);
}

void TGradient::Sort() {
    static const TRGB origin{0, 0, 0, 1.0f, 0.0f};  // a missing stop sorts as position 0
    SortStops(rgb, &GradientSortFunction, origin);
}

void TGradient::FromString(const std::string& text) {
    TRGBArray stops;
    for (const auto& piece : SplitString(text, "#")) {
        auto stop = std::make_shared<TRGB>();
        stop->FromString(piece);
        stops.push_back(stop);
    }
    rgb = std::move(stops);
}

std::string TGradient::ToString() const { return JoinTexts(rgb, "#"); }
