#include "engine/screen/AppObj.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/screen/AppScreen.h"
#include "engine/screen/AppState.h"
#include "engine/screen/GameObject.h"
#include "platform/Graphics.h"

// ---------------------------------------------------------------------------------------------
// TAppObj

namespace {
// Sets the flag; a game object then runs its own hook and passes the change to its sub-objects.
int SetEnabled(TAppObj& obj, int on, int (TGameObject::*hook)(), int (TGameObject::*subs)()) {
    obj.isEnabled = on;
    if (auto* go = dynamic_cast<TGameObject*>(&obj)) {
        (go->*hook)();
        (go->*subs)();
    }
    return 0;
}
}  // namespace

int TAppObj::Disable() { return SetEnabled(*this, 0, &TGameObject::OnDisable, &TGameObject::DisableSubs); }

int TAppObj::Enable() { return SetEnabled(*this, 1, &TGameObject::OnEnable, &TGameObject::EnableSubs); }

int TAppObj::Updating() {
    UpdateFirst();
    Update();
    UpdateLast();
    return 0;
}

int TAppObj::Drawing() {
    DrawFirst();
    Draw();
    DrawLast();
    return 0;
}

int TAppObj::Save(const TBlockFilePtr&) { return 0; }
int TAppObj::Load(const TBlockFilePtr&, TLoadList*) { return 0; }

// ---------------------------------------------------------------------------------------------
// TAppBasicObj

float TAppBasicObj::CPomDist = 0;
float TAppBasicObj::CPomAngle = 0;

TAppBasicObj::~TAppBasicObj() {
    for (auto& sub : SubObjects)
        if (sub && sub->Parent == this) sub->Parent = nullptr;
}

TAppState* TAppBasicObj::_State() {
    if (!CurrState) CurrState = DefaultState;
    return CurrState.get();
}

int TAppBasicObj::Updating() {
    UpdateSettings();
    UpdateSubObjects();
    return 0;
}

int TAppBasicObj::Free() {
    Parent = nullptr;
    Screen = nullptr;
    TAppBasicObjList subs;
    subs.swap(SubObjects);
    for (auto& sub : subs)
        if (sub) sub->Free();
    CurrState = nullptr;
    DefaultState = nullptr;
    PushedState = nullptr;
    return 0;
}

int TAppBasicObj::DrawSettings() {
    if (isEnabled == 0) return 1;
    if (DrawScaleX == 0.0f || DrawScaleY == 0.0f) return 1;
    if (Parent != nullptr && Parent->DrawSettings() != 0) return 1;
    SetColor(DrawR, DrawG, DrawB);
    SetScale(DrawScaleX, DrawScaleY);
    SetRotation(DrawRotation);
    SetAlpha(DrawAlpha);
    SetBlend(DrawBlend);
    return 0;
}

int TAppBasicObj::DrawMySubObjects() {
    DrawSettings();
    return 0;
}

int TAppBasicObj::UpdateSettings() {
    TAppState* state = _State();
    if (state == nullptr || !state->dim || !state->tfr || !state->rgb) return 0;

    float baseX = 0, baseY = 0, baseSX = 1, baseSY = 1, baseRot = 0, baseAlpha = 1;
    if (Parent == nullptr) {
        if (Screen != nullptr) {
            const float scale = Screen->DrawScale;
            baseX = static_cast<float>(Screen->DrawX) * scale;
            baseY = static_cast<float>(Screen->DrawY) * scale;
            baseSX = scale;
            baseSY = scale;
        }
    } else {
        baseX = Parent->DrawX;
        baseY = Parent->DrawY;
        baseSX = Parent->DrawScaleX;
        baseSY = Parent->DrawScaleY;
        baseRot = Parent->DrawRotation;
        baseAlpha = Parent->DrawAlpha;
    }
    // The local offset is turned by the parent's rotation first, then scaled on the screen's axes.
    const float rx = CountRotatedX(state->dim->x, state->dim->y, baseRot);
    DrawX = baseX + baseSX * rx;
    const float ry = CountRotatedY(baseRot);
    DrawY = baseY + baseSY * ry;
    DrawScaleX = baseSX * state->tfr->sx;
    DrawScaleY = baseSY * state->tfr->sy;
    DrawRotation = baseRot + state->tfr->Rotation;
    DrawAlpha = baseAlpha * state->rgb->a;
    DrawR = state->rgb->r;
    DrawG = state->rgb->g;
    DrawB = state->rgb->b;
    return 0;
}

int TAppBasicObj::UpdateAllTheSettings() {
    UpdateSettings();
    const TAppBasicObjList subs = SubObjects;
    for (auto& sub : subs)
        if (sub) sub->UpdateAllTheSettings();
    return 0;
}

int TAppBasicObj::UpdateSubObjectsSettings() {
    const TAppBasicObjList subs = SubObjects;
    for (auto& sub : subs)
        if (sub) sub->UpdateSettings();
    return 0;
}

int TAppBasicObj::UpdateSubObjects() {
    // A snapshot: an update may add or remove sub-objects.
    const TAppBasicObjList subs = SubObjects;
    for (auto& sub : subs)
        if (sub) sub->Updating();
    return 0;
}

int TAppBasicObj::UpdateRoots() {
    if (Parent != nullptr) Parent->UpdateRoots();
    UpdateSettings();
    UpdateSubObjectsSettings();
    return 0;
}

int TAppBasicObj::PushCurrState() {
    TAppState* state = _State();
    if (state == nullptr) return 0;
    PushedState = state->Copy();
    return 0;
}

int TAppBasicObj::PopCurrState() {
    if (PushedState) SetCurrState(PushedState);
    return 0;
}

float TAppBasicObj::GetX() {
    TAppState* state = _State();
    return (state && state->dim) ? state->dim->x : 0.0f;
}

float TAppBasicObj::GetY() {
    TAppState* state = _State();
    return (state && state->dim) ? state->dim->y : 0.0f;
}

int TAppBasicObj::SetCurrState(const std::shared_ptr<TAppState>& state) {
    if (state) CurrState = state;
    return 0;
}

std::shared_ptr<TAppBasicObj> TAppBasicObj::isObjectMySub(const TAppBasicObj* node) {
    for (auto& sub : SubObjects) {
        if (!sub) continue;
        if (sub.get() == node) return sub;
        if (auto found = sub->isObjectMySub(node)) return found;
    }
    return nullptr;
}

int TAppBasicObj::AddSubObject(const std::shared_ptr<TAppBasicObj>& node) {
    if (!node) return 0;
    SubObjects.push_back(node);
    node->Parent = this;
    node->Screen = Screen;
    if (Screen != nullptr) Screen->RebuildDrawingLayers();
    return 0;
}

int TAppBasicObj::AddObject(const std::shared_ptr<TAppBasicObj>& node) { return AddSubObject(node); }

int TAppBasicObj::AddAllObjectsToList(TAppBasicObjList& list) {
    if (auto self = SharedFrom<TAppBasicObj>(this)) list.push_back(self);
    for (auto& sub : SubObjects)
        if (sub) sub->AddAllObjectsToList(list);
    return 0;
}

int TAppBasicObj::RemoveFromParent() {
    if (Parent != nullptr) return Parent->RemoveSubObject(this);
    return 0;
}

int TAppBasicObj::RemoveSubObject(TAppBasicObj* node) {
    if (node == nullptr) return 0;
    node->Parent = nullptr;
    auto it = std::find_if(SubObjects.begin(), SubObjects.end(),
                           [node](const std::shared_ptr<TAppBasicObj>& s) { return s.get() == node; });
    if (it != SubObjects.end()) SubObjects.erase(it);
    return 0;
}

int TAppBasicObj::Calculate() {
    UpdateSettings();
    UpdateSubObjects();
    return 0;
}

float TAppBasicObj::CountRotatedX(float x, float y, float rotation) {
    CPomDist = static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
    CPomAngle = static_cast<float>(ATan2Deg(y, x));
    return static_cast<float>(CosDeg(static_cast<double>(CPomAngle) + rotation) * CPomDist);
}

float TAppBasicObj::CountRotatedY(float rotation) {
    return static_cast<float>(SinDeg(static_cast<double>(rotation) + CPomAngle) * CPomDist);
}
