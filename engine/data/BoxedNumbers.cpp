#include "engine/data/BoxedNumbers.h"
#include "engine/basics/Basics.h"

#include <cmath>
#include <limits>

#include "platform/Strings.h"

std::string TFloatObj::ToString() const { return FloatToString(v); }

int32_t TFloatObj::ToInt() const { return TruncToInt(v); }

std::shared_ptr<TIntObj> TFloatObj::ToIntObj() const { return CreateAppIntObj(ToInt()); }

std::string TIntObj::ToString() const { return IntToString(v); }

float TIntObj::ToFloat() const { return static_cast<float>(v); }

std::shared_ptr<TFloatObj> TIntObj::ToFloatOjb() const { return CreateAppFloatObj(ToFloat()); }

std::shared_ptr<TFloatObj> CreateAppFloatObj(float v) {
    auto box = std::make_shared<TFloatObj>();
    box->v = v;
    return box;
}

std::shared_ptr<TIntObj> CreateAppIntObj(int32_t v) {
    auto box = std::make_shared<TIntObj>();
    box->v = v;
    return box;
}

int32_t FloatObjectsSortFunction(const TFloatObj& a, const TFloatObj& b) {
    const float pb = b.v * 100000.0f;
    const float pa = a.v * 100000.0f;
    const float diff = pb - pa;
    return TruncToInt(diff);
}

int32_t FloatObjectsSortFunction(const std::shared_ptr<TFloatObj>& a, const std::shared_ptr<TFloatObj>& b) {
    static const TFloatObj zero;
    return FloatObjectsSortFunction(a ? *a : zero, b ? *b : zero);
}
