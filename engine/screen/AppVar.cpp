#include "engine/screen/AppVar.h"

#include "engine/data/Fields.h"
#include "engine/data/ValueTypes.h"
#include "engine/basics/Basics.h"
#include "engine/basics/AppTime.h"
#include "platform/Strings.h"

int TAppVar::update() {
    StepToward(p, dp, speedInc, speedDec);
    if (isSwitcher != 0 && p == dp) SwitchD();
    if (isSwitcherMinus != 0 && p == dp) SwitchMinusD();
    return 0;
}

std::string TAppVar::ToString() {
    return name + ", id = " + std::to_string(id) + ", value = " + FloatToString(Value()) +
           "  dp = " + FloatToString(dp);
}

namespace {
using V = TAppVar;
constexpr TField<V> kVarFields[] = {
    {"Name", 0, &V::name},
    {"Speed", 0, &V::speedInc},
    {"Speed", 1, &V::speedDec},
    {"MinMax", 0, &V::MinVal},
    {"MinMax", 1, &V::MaxVal},
    {"Flags", 0, &V::isValueSaved, FieldForm::Bool},
    {"Flags", 1, &V::isSwitcher, FieldForm::Bool},
    {"Flags", 2, &V::isSwitcherMinus, FieldForm::Bool},
};
}  // namespace

int TAppVar::SaveToBlock(const TBlockFilePtr& block) {
    if (!block) return 0;
    TBlockFilePtr var = CreateBlockFile("VAR", block);
    SaveFields(var, *this, kVarFields);
    if (isValueSaved != 0) AddFloatToBlock(var, "Value", p, 0);
    return 0;
}

int TAppVar::LoadFromBlock(const TBlockFilePtr& block) {
    LoadFields(block, *this, kVarFields);
    if (isValueSaved != 0) p = GetBFNumber(block, "Value", 0);
    return 0;
}

int TAppVar::ValueIsEven(float v) { return (p == v && dp == v) ? 1 : 0; }

float TAppVar::ValueSin(float f) { return static_cast<float>(SinDeg(static_cast<double>(f * p))); }
float TAppVar::ValueCos(float f) { return static_cast<float>(CosDeg(static_cast<double>(f * p))); }

int TAppVar::SetBoth(float v) {
    SetValue(v);
    SetDValue(v);
    return 0;
}

int TAppVar::SetValue(float v) {
    p = v;
    return 0;
}

int TAppVar::SetDValue(float v) {
    dp = v;
    return 0;
}

int TAppVar::SwitchD() {
    dp = (dp == 0.0f) ? 1.0f : 0.0f;
    return 0;
}

int TAppVar::SwitchMinusD() {
    if (dp == 1.0f) dp = -1.0f;
    else if (dp == -1.0f) dp = 1.0f;
    else dp = static_cast<float>(RandomSign());
    return 0;
}

int TAppVar::SetIncSpeed(float v) {
    speedInc = v;
    return 0;
}

int TAppVar::SetDecSpeed(float v) {
    speedDec = v;
    return 0;
}

int TAppVar::SetBothSpeed(float inc, float dec) {
    speedInc = inc;
    speedDec = dec;
    return 0;
}

TAppVarPtr CreateAppVar(const std::string& name, float speedInc, float speedDec) {
    auto v = std::make_shared<TAppVar>();
    v->name = name;
    v->speedInc = speedInc;
    v->speedDec = speedDec;
    return v;
}

std::vector<TAppVarPtr> LoadVarArray(const TBlockFilePtr& block) {
    std::vector<TAppVarPtr> out;
    for (const auto& b : GetBlockFilesList(block, "VAR")) {
        if (!b || b->MyType != BF_BLOCK) continue;
        auto v = std::make_shared<TAppVar>();
        v->LoadFromBlock(b);
        out.push_back(v);
    }
    return out;
}
