#include "engine/media/VectorPose.h"

#include <algorithm>
#include <cmath>

#include "engine/data/Fields.h"
#include "engine/system/Error.h"
#include "engine/media/VectorParts.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

// ---------------------------------------------------------------------------------------------
// Poses

namespace {
using S = TAppVectorState;
constexpr TField<S> kStateFields[] = {
    {"name", 0, &S::Name, FieldForm::Plain, FieldUse::NotCopied},
    {"DistAngle", 0, &S::Dist},
    {"DistAngle", 1, &S::Angle},
    {"Transform", 0, &S::Rotation},
    {"Transform", 1, &S::ScaleX},
    {"Transform", 2, &S::ScaleY},
    {"RGB", 0, &S::Alpha},
    {"RGB", 1, &S::red, FieldForm::Number},
    {"RGB", 2, &S::green, FieldForm::Number},
    {"RGB", 3, &S::blue, FieldForm::Number},
    {"n", 0, &S::n, FieldForm::Number},
    {"Handle", 0, &S::hx, FieldForm::Whole},
    {"Handle", 1, &S::hy, FieldForm::Whole},
    // Measured by the object, not saved.
    {nullptr, 0, &S::Width},
    {nullptr, 0, &S::Height},
    {nullptr, 0, &S::TempWidth},
    {nullptr, 0, &S::TempHeight},
};
}  // namespace

int TAppVectorState::Save(const TBlockFilePtr& block) {
    if (block) SaveFields(block, *this, kStateFields);
    return 0;
}

int TAppVectorState::Load(const TBlockFilePtr& block) {
    if (block) LoadFields(block, *this, kStateFields);
    return 0;
}

namespace {
void CopyRect(std::shared_ptr<TDim>& mine, const std::shared_ptr<TDim>& theirs) {
    if (!theirs) return;
    if (!mine) mine = std::make_shared<TDim>();
    mine->x = theirs->x;
    mine->y = theirs->y;
    mine->w = theirs->w;
    mine->h = theirs->h;
}
}  // namespace

int TAppVectorState::CopyFrom(const TAppVectorState& other) {
    if (&other == this) return 0;
    CopyFields(*this, other, kStateFields);
    CopyRect(tempBox, other.tempBox);
    CopyRect(box, other.box);
    return 0;
}

std::string TAppVectorState::ToString() const {
    return "(NAME: " + Name + ")    " + "(Dist, angle: " + FloatToString(Dist) + ", " + FloatToString(Angle) + ")    " +
           "(Rot, scale: " + FloatToString(Rotation) + ", " + FloatToString(ScaleX) + ", " + FloatToString(ScaleY) +
           ")    ";
}

TAppVectorStatePtr CreateVectorState(float dist, float angle, float scaleX, float scaleY, float rotation, float alpha,
                                     int32_t n) {
    auto s = std::make_shared<TAppVectorState>();
    s->Dist = dist;
    s->Angle = angle;
    s->ScaleX = scaleX;
    s->ScaleY = scaleY;
    s->Rotation = rotation;
    s->Alpha = alpha;
    s->n = n;
    return s;
}

TAppVectorStatePtr CopyVectorState(const TAppVectorStatePtr& state) {
    if (!state) return nullptr;
    auto s = std::make_shared<TAppVectorState>();
    s->CopyFrom(*state);
    return s;
}

void LerpVectorState(TAppVectorState& target, const TAppVectorState& a, const TAppVectorState& b, float t) {
    target.Dist = a.Dist + (b.Dist - a.Dist) * t;
    target.Angle = a.Angle + (b.Angle - a.Angle) * t;
    target.ScaleX = a.ScaleX + (b.ScaleX - a.ScaleX) * t;
    target.ScaleY = a.ScaleY + (b.ScaleY - a.ScaleY) * t;
    target.Alpha = a.Alpha + (b.Alpha - a.Alpha) * t;
    target.Rotation = a.Rotation + (b.Rotation - a.Rotation) * t;
    target.hx = a.hx + (b.hx - a.hx) * t;
    target.hy = a.hy + (b.hy - a.hy) * t;
}

// ---------------------------------------------------------------------------------------------
// Steps

int TAVectorAnimStep::Save(const TBlockFilePtr& block, int index) {
    if (!block) return 0;
    AddFloatToBlock(block, "StatesPer", per, index);
    return 0;
}

std::string TAVectorAnimStep::ToString() const {
    return "(STATE: " + (state ? state->ToString() : std::string("NULL")) + ", Per = " + FloatToString(per) +
           " n = " + IntToString(n) + ")";
}

TAVectorAnimStepPtr CreateAnimStep(const TAppVectorStatePtr& state, int32_t n, float per) {
    auto s = std::make_shared<TAVectorAnimStep>();
    s->state = state;
    s->n = n;
    s->per = per;
    return s;
}

// ---------------------------------------------------------------------------------------------
// Animations

TAppVectorStatePtr TAppVectorAnim::State1 = std::make_shared<TAppVectorState>();
TAppVectorStatePtr TAppVectorAnim::State2 = std::make_shared<TAppVectorState>();
TAVectorAnimStepPtr TAppVectorAnim::AnimState1;
TAVectorAnimStepPtr TAppVectorAnim::AnimState2;

void TAppVectorAnim::ResetGlobals() {
    State1 = std::make_shared<TAppVectorState>();
    State2 = std::make_shared<TAppVectorState>();
    AnimState1.reset();
    AnimState2.reset();
}

int TAppVectorAnim::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    AddStringToBlock(block, "name", name, 0);
    AddIntToBlock(block, "StatesInd", static_cast<int32_t>(StatesInd.size()), 0);
    for (i = 0; i < static_cast<int32_t>(StatesInd.size()); ++i) AddIntToBlock(block, "StatesInd", StatesInd[i], i + 1);
    for (i = 0; i < static_cast<int32_t>(States.size()); ++i)
        if (States[i]) States[i]->Save(block, i);
    return 0;
}

int TAppVectorAnim::Load(const TBlockFilePtr& block, TAppVector* part) {
    States.clear();
    StatesInd.clear();
    if (!block) return 0;
    name = GetBFString(block, "Name", 0);
    // The count is only a claim: never read past the indices that are really there.
    int32_t count = TruncToInt(GetBFNumber(block, "StatesInd", 0));
    TBlockFilePtr indEntry = GetBlockEntryNO_NEW(block, "StatesInd");
    int32_t present = indEntry ? indEntry->GetSize() - 1 : 0;
    if (count > present) {
        Error("Animation '" + name + "' claims " + IntToString(count) + " steps but lists " +
                  IntToString(std::max(present, 0)) + "!",
              Here());
        count = present;
    }
    for (i = 1; i <= count; ++i) {
        int32_t index = TruncToInt(GetBFNumber(block, "StatesInd", i));
        float per = GetBFNumber(block, "StatesPer", i - 1);
        TAppVectorStatePtr pose = part ? part->GetState(index) : nullptr;
        if (!pose) {
            Error("Animation '" + name + "' names pose " + IntToString(index) + ", which does not exist; step skipped!",
                  Here());
            continue;
        }
        StatesInd.push_back(index);
        States.push_back(CreateAnimStep(pose, index, per));
    }
    return 0;
}

int TAppVectorAnim::isBegin() {
    for (i = 0; i < static_cast<int32_t>(States.size()); ++i)
        if (States[i] && States[i]->per == 0.0f) return 1;
    return 0;
}

int TAppVectorAnim::isEnd() {
    for (i = 0; i < static_cast<int32_t>(States.size()); ++i)
        if (States[i] && States[i]->per == 1.0f) return 1;
    return 0;
}

int TAppVectorAnim::AvasFunc(const TAVectorAnimStep& a, const TAVectorAnimStep& b) {
    float fa = a.per * 100000.0f;
    float fb = b.per * 100000.0f;
    // Saturated: steps far apart (or at infinity) still sort, and never overflow.
    return TruncToInt(fa - fb);
}

int TAppVectorAnim::AddStep(const TAVectorAnimStepPtr& step) {
    if (!step) return 0;
    if (isBegin() == 0) step->per = 0.0f;
    if (step->per != 0.0f && isEnd() == 0) step->per = 1.0f;
    std::vector<TAVectorAnimStepPtr> list = GetStatesList();
    list.push_back(step);
    std::stable_sort(list.begin(), list.end(),
                     [](const TAVectorAnimStepPtr& a, const TAVectorAnimStepPtr& b) { return AvasFunc(*a, *b) < 0; });
    States = list;
    StatesInd.clear();
    for (i = 0; i < static_cast<int32_t>(States.size()); ++i) StatesInd.push_back(States[i]->n);
    return 0;
}

std::vector<TAVectorAnimStepPtr> TAppVectorAnim::GetStatesList() {
    std::vector<TAVectorAnimStepPtr> list;
    for (const auto& s : States)
        if (s) list.push_back(s);
    i = static_cast<int32_t>(States.size());
    return list;
}

bool TAppVectorAnim::GetCorners(TAppVectorState& s1, TAppVectorState& s2, float per) {
    // Corners are chosen afresh by every evaluation: nothing of an earlier one is reused.
    AnimState1.reset();
    AnimState2.reset();
    if (States.empty()) return false;
    const size_t count = States.size();
    size_t a = 0, b = 0;
    if (per <= 0.0f) {
        a = b = 0;
    } else if (per >= 1.0f) {
        a = b = count - 1;
    } else if (count < 2) {
        a = b = 0;
    } else {
        bool found = false;
        for (size_t k = 0; k + 1 < count; ++k) {
            if (States[k]->per <= per && per <= States[k + 1]->per) {
                a = k;
                b = k + 1;
                found = true;
                break;
            }
        }
        if (!found) {
            // Before the first step, after the last, or in an unordered list: hold the step
            // nearest to the position (the earlier one on a tie).
            size_t best = 0;
            float bestDist = std::fabs(States[0]->per - per);
            for (size_t k = 1; k < count; ++k) {
                float d = std::fabs(States[k]->per - per);
                if (d < bestDist) {
                    best = k;
                    bestDist = d;
                }
            }
            a = b = best;
        }
    }
    if (!States[a] || !States[b] || !States[a]->state || !States[b]->state) return false;
    s1.CopyFrom(*States[a]->state);
    s2.CopyFrom(*States[b]->state);
    AnimState1 = States[a];
    AnimState2 = States[b];
    return true;
}

float TAppVectorAnim::CountStepPer(float per) {
    if (!AnimState1 || !AnimState2) return 1.0f;
    PartPer = AnimState2->per - AnimState1->per;
    CurrPer = per - AnimState1->per;
    if (PartPer == 0.0f) return 1.0f;
    return CurrPer / PartPer;
}

int TAppVectorAnim::CountStepState(TAppVectorState& target, float per) {
    if (!State1) State1 = std::make_shared<TAppVectorState>();
    if (!State2) State2 = std::make_shared<TAppVectorState>();
    if (!GetCorners(*State1, *State2, per)) return 0;
    float t = CountStepPer(per);
    LerpVectorState(target, *State1, *State2, t);
    return 0;
}

TAppVectorAnimPtr TAppVectorAnim::RecountForSubVector(TAppVector* part) {
    auto anim = std::make_shared<TAppVectorAnim>();
    anim->name = name;
    anim->StatesInd = StatesInd;
    for (i = 0; i < static_cast<int32_t>(States.size()); ++i) {
        if (!States[i]) continue;
        int32_t index = States[i]->n;
        anim->States.push_back(CreateAnimStep(part ? part->GetState(index) : nullptr, index, States[i]->per));
    }
    return anim;
}

std::string TAppVectorAnim::ToString() const { return Upper(name); }

TAppVectorAnimPtr CreateVectorAnim(void* /*obj*/, const std::string& name) {
    auto anim = std::make_shared<TAppVectorAnim>();
    anim->name = name;
    return anim;
}
