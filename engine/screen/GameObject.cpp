#include "engine/screen/GameObject.h"
#include "engine/basics/Basics.h"

#include <algorithm>
#include <functional>
#include <map>

#include "engine/data/Fields.h"
#include "engine/media/AppSound.h"
#include "engine/media/SoundManager.h"
#include "engine/screen/AppAnimator.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Collider.h"
#include "engine/screen/DrawObject.h"
#include "engine/window/Mouse.h"
#include "engine/system/Error.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

// Game-object sub-objects of a node, in order (a snapshot: cascades may change the list).
TGameObjectList GameSubs(const TAppBasicObjList& subs) {
    TGameObjectList out;
    out.reserve(subs.size());
    for (auto& s : subs)
        if (auto go = std::dynamic_pointer_cast<TGameObject>(s)) out.push_back(go);
    return out;
}

// Calls action on each game-object sub-object of subs, in order.
template <class Action>
int EachSub(const TAppBasicObjList& subs, Action action) {
    for (auto& sub : GameSubs(subs)) std::invoke(action, *sub);
    return 0;
}

// Sets one value of a state's rectangle, transform or colour; nothing without the state or part.
template <class Part, class Value>
int SetInState(TAppState* state, std::shared_ptr<Part> TAppState::*part, Value Part::*field, Value value) {
    if (state != nullptr && state->*part) (*(state->*part)).*field = value;
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

TGameObject::TGameObject() {
    name = "GameObject";
    DefaultState = CreateDefaultAppState();
    // Named, since a class built on this one is not yet itself while this constructor runs.
    TGameObject::AddState(DefaultState);
    CurrState = DefaultState;
}

TGameObject::~TGameObject() {
    for (auto& component : Components)
        if (component && component->Obj == this) component->Obj = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Copying

namespace {
// The "Flags" block, and the flags a copy takes besides.
using G = TGameObject;
constexpr TField<G> kFlagFields[] = {
    {"isGlobal", 0, &G::isGlobal, FieldForm::Number},
    {"isSavedInternaly", 0, &G::isSavedInternaly, FieldForm::Number, FieldUse::NotCopied},
    {"isNotSaved", 0, &G::isNotSaved, FieldForm::Number, FieldUse::NotCopied},
    // Files written before it existed load the default.
    {"isAssetToBeLoad", 0, &G::isAssetToBeLoad, FieldForm::Number, FieldUse::KeptWhenMissing},
    {"isUpdatedWithDraw", 0, &G::isUpdatedWithDraw, FieldForm::Number},
    {nullptr, 0, &G::isTemplate},
    {nullptr, 0, &G::isEnabled},
};
}  // namespace

int TGameObject::_CopyBasics(TGameObject* target) {
    if (target == nullptr) return 0;
    target->DrawLayer = DrawLayer;
    target->UpdateLayer = UpdateLayer;
    target->Screen = Screen;
    target->name = name;
    if (Parent != nullptr) target->id = static_cast<int32_t>(Parent->SubObjects.size()) + 1;
    return 0;
}

int TGameObject::_CopyFlags(TGameObject* target) {
    if (target != nullptr) CopyFields(*target, *this, kFlagFields);
    return 0;
}

int TGameObject::_CopyComponents(TGameObject* target) {
    if (target == nullptr) return 0;
    // The copied tree is complete by now (states and sub-objects come first), so every copied
    // component is re-targeted from this tree to the copy before it is attached: a copied
    // animator drives the copy, never this object.
    TGameObjectCopyMap map;
    _MapCopiedTree(target, map);
    const auto components = Components;
    for (auto& component : components) {
        if (!component) continue;
        TAppObjComponentPtr copy = component->Copy();
        if (!copy) continue;
        copy->RetargetCopy(map);
        target->AddComponent(copy);
        if (auto animator = std::dynamic_pointer_cast<TAppObjAnimator>(copy)) animator->CheckAnimationsReliance();
    }
    target->GetAllComponentsShortcuts();
    return 0;
}

int TGameObject::_CopySubObjects(TGameObject* target) {
    if (target == nullptr) return 0;
    for (auto& sub : GameSubs(SubObjects)) target->AddSubObject(sub->Copy());
    return 0;
}

int TGameObject::_CopyStates(TGameObject* target) {
    if (target == nullptr) return 0;
    target->DefaultState = nullptr;
    target->CurrState = nullptr;
    target->States.clear();
    for (auto& state : States) {
        if (!state) continue;
        TAppStatePtr s = state->Copy();
        s->name = state->name;
        target->AddState(s);
    }
    if (!target->States.empty()) {
        target->SetCurrStateInd(0);
        target->DefaultState = target->States.front();
        target->CurrState = target->DefaultState;
    } else {
        // An object without states (loaded from a block without any) shows the state it fell
        // back to: the copy gets a copy of that one, kept out of States as in the source.
        TAppStatePtr shown = CurrState ? CurrState : DefaultState;
        TAppStatePtr s;
        if (shown) {
            s = shown->Copy();
            s->name = shown->name;
        } else {
            s = CreateDefaultAppState();
        }
        target->DefaultState = s;
        target->CurrState = s;
    }
    return 0;
}

int TGameObject::CopyStandard(TGameObject* target) {
    if (target == nullptr) return 0;
    _CopyBasics(target);
    _CopyFlags(target);
    _CopyStates(target);
    _CopySubObjects(target);
    _CopyComponents(target);
    return 0;
}

void TGameObject::_MapCopiedTree(TGameObject* target, TGameObjectCopyMap& map) {
    if (target == nullptr) return;
    map[this] = target;
    const TGameObjectList mine = GameSubs(SubObjects);
    const TGameObjectList theirs = GameSubs(target->SubObjects);
    const size_t n = std::min(mine.size(), theirs.size());
    for (size_t i = 0; i < n; ++i) mine[i]->_MapCopiedTree(theirs[i].get(), map);
}

TGameObjectPtr TGameObject::Copy() {
    auto copy = std::make_shared<TGameObject>();
    CopyStandard(copy.get());
    return copy;
}

int TGameObject::EnableAll() {
    Enable();
    for (auto& sub : GameSubs(SubObjects)) sub->EnableAll();
    return 0;
}

int TGameObject::ClearComponentsPointers() {
    Comp_Animator = nullptr;
    Comp_Collider = nullptr;
    return 0;
}

int TGameObject::Destroy() {
    // Keeps the object alive to the end of this call, whoever else lets it go meanwhile.
    const TGameObjectPtr self = SharedFrom<TGameObject>(this);
    TAppScreen* screen = Screen;
    if (Parent != nullptr) Parent->RemoveSubObject(this);
    else if (Screen != nullptr) Screen->RemoveObject(this);
    // The screen's layers still hold the object and its subtree until their next rebuild: take
    // them out, and out of the mouse reports, so a freed object is never drawn or reported.
    if (screen != nullptr) screen->RemoveObjectFromLayers(this);
    Free();
    return 0;
}

int TGameObject::DisableSubs() { return EachSub(SubObjects, &TGameObject::Disable); }

int TGameObject::EnableSubs() { return EachSub(SubObjects, &TGameObject::Enable); }

// ---------------------------------------------------------------------------------------------
// Screen-related actions

int TGameObject::Start() {
    StartSubs();
    StartFirstCounting();
    OnStart();
    return 0;
}

int TGameObject::StartSubs() { return EachSub(SubObjects, &TGameObject::Start); }

int TGameObject::StartFirstCounting() { return UpdateSettings(); }

int TGameObject::LeaveScreen() {
    LeaveScreenSubs();
    OnLeaveScreen();
    return 0;
}

int TGameObject::LeaveScreenSubs() { return EachSub(SubObjects, &TGameObject::LeaveScreen); }

int TGameObject::EnterScreen() {
    EnterScreenSubs();
    OnEnterScreen();
    return 0;
}

int TGameObject::EnterScreenSubs() { return EachSub(SubObjects, &TGameObject::OnEnterScreen); }

// ---------------------------------------------------------------------------------------------
// Assets and freeing

int TGameObject::LoadAsset() {
    LoadSubAssets();
    OnLoadAsset();
    return 0;
}

int TGameObject::LoadSubAssets() { return EachSub(SubObjects, &TGameObject::LoadAsset); }

int TGameObject::FreeSubAssets() { return EachSub(SubObjects, &TGameObject::FreeAsset); }

int TGameObject::FreeAsset() {
    OnFreeAsset();
    FreeSubAssets();
    return 0;
}

int TGameObject::Free() {
    OnFree();
    FreeGameObject();
    FreeAsset();
    return 0;
}

int TGameObject::FreeGameObject() {
    EachOf(Components, &TAppObjComponent::Free);
    Parent = nullptr;
    Components.clear();
    Comp_Animator = nullptr;
    EachOf(States, &TAppState::Free);
    States.clear();
    DefaultState = nullptr;
    CurrState = nullptr;
    for (auto& sub : GameSubs(SubObjects)) sub->Free();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Checking

int TGameObject::isHover() {
    if (isEnabled == 0) return 0;
    return isColliderMouseOver(0);
}

int TGameObject::isClicked() {
    if (isEnabled == 0 || Mouse::LeftPressed == 0) return 0;
    if (isHover() == 0) return 0;
    // The buttons' click (TUIButton::GClickSound is the sound manager's).
    if (AppSoundManager::ClickSound) AppSoundManager::ClickSound->Play(1.0f, -1.0f, 0.05f);
    return 1;
}

int TGameObject::isHolded() {
    if (isEnabled == 0 || Mouse::LeftHolded == 0) return 0;
    return isHover();
}

int TGameObject::isComponentAllreadyHere(int kind) {
    for (auto& component : Components)
        if (component && component->GetTypeInt() == kind) return 1;
    return 0;
}

int TGameObject::isColliderMouseOver(int index) {
    if (index == 0) return Comp_Collider ? Comp_Collider->isOver() : 0;
    int count = 0;
    for (auto& component : Components) {
        auto collider = std::dynamic_pointer_cast<TAppCollider>(component);
        if (!collider) continue;
        if (count == index) return collider->isOver();
        ++count;
    }
    return 0;
}

int TGameObject::isCurrentAnimation(const std::string& animName) {
    return Comp_Animator ? Comp_Animator->isPlayingAnim(animName) : 0;
}
int TGameObject::isCurrentAnimationInd(int index) { return Comp_Animator ? Comp_Animator->isPlayingAnimInd(index) : 0; }
int TGameObject::isCurrentAnimationId(int animId) { return Comp_Animator ? Comp_Animator->isPlayingAnimId(animId) : 0; }
int TGameObject::isPlayingAnimation() { return Comp_Animator ? Comp_Animator->isPlaying() : 0; }
int TGameObject::isAnimation() { return (Comp_Animator && Comp_Animator->CurrAnim) ? 1 : 0; }

int TGameObject::GetWidgetSize(int& w, int& h) {
    w = 0;
    h = 0;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

int TGameObject::DrawDebug() {
    EachOf(Components, &TAppObjComponent::DrawDebug);
    return 0;
}

int TGameObject::DrawMyObject() {
    if (!DrawObject) return 0;
    if (DrawX == 0.0f && DrawY == 0.0f) UpdateSettings();
    DrawObject->Draw(DrawX, DrawY);
    return 0;
}

int TGameObject::Drawing() {
    if (Parent != nullptr && Parent->isEnabled == 0) return 0;
    if (isUpdatedWithDraw != 0) Update_CORE();
    // A freed object has no state left to draw with.
    if (_State() == nullptr) return 0;
    if (DrawSettings() != 0) return 0;
    DrawStateChanges();
    OnDraw();
    DrawMyObject();
    DrawSettings();
    Draw();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Updating

int TGameObject::Updating() {
    if (isEnabled == 0) return 0;
    if (isUpdatedWithDraw != 0) return 0;
    return Update_CORE();
}

int TGameObject::Update_CORE() {
    UpdateSettings();
    UpdateObject();
    UpdateComponents();
    UpdateSubObjects();
    UpdateOverAndClick();
    if (Screen == nullptr || Screen->isLocked == 0) Update();
    return 0;
}

int TGameObject::UpdateComponents() {
    EachOf(Components, &TAppObjComponent::Update);
    return 0;
}

int TGameObject::UpdateOverAndClick() {
    if (Screen == nullptr) return 0;
    if (isActiveForMouse() == 0) return 0;
    TAppScreen* screen = Screen;
    const TGameObjectPtr self = SharedFrom<TGameObject>(this);
    if (isHover() != 0) screen->CurrOverObject = self;
    if (isClicked() != 0) screen->CurrClickObject = self;
    if (isHolded() != 0) screen->CurrHoldedObject = self;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Animating

int TGameObject::Animation_PlayInd(int index, int time, int looped, float start, int delay, int sinus) {
    if (Comp_Animator) Comp_Animator->Animation_PlayInd(index, time, looped, start, delay, sinus);
    return 0;
}
int TGameObject::Animation_PlayId(int animId, int time, int looped, float start, int delay, int sinus) {
    if (Comp_Animator) Comp_Animator->Animation_PlayId(animId, time, looped, start, delay, sinus);
    return 0;
}
int TGameObject::Animation_Play(const std::string& animName, int time, int looped, float start, int delay, int sinus) {
    if (Comp_Animator) Comp_Animator->Animation_Play(animName, time, looped, start, delay, sinus);
    return 0;
}
int TGameObject::Animation_Pause() {
    if (Comp_Animator) Comp_Animator->Animation_Pause();
    return 0;
}
int TGameObject::Animation_Stop() {
    if (Comp_Animator) Comp_Animator->Animation_Stop();
    return 0;
}
int TGameObject::Animation_Continue() {
    if (Comp_Animator) Comp_Animator->Animation_Continue();
    return 0;
}
int TGameObject::Animation_Finished() { return Comp_Animator ? Comp_Animator->Animation_Finished() : 0; }
float TGameObject::AnimationPer() { return Comp_Animator ? Comp_Animator->GetAnimPer() : 0.0f; }

int TGameObject::BuildStatesArrayFromList(const std::vector<TAppStatePtr>& list) {
    std::vector<TAppStatePtr> states;
    states.reserve(list.size());
    for (auto& s : list)
        if (s) states.push_back(s);
    States = std::move(states);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Adding and removing

int TGameObject::AddState(const TAppStatePtr& state) {
    if (state) States.push_back(state);
    return 0;
}

int TGameObject::AddComponent(const TAppObjComponentPtr& component) {
    if (!component) return 0;
    component->Obj = this;
    Components.push_back(component);
    const auto components = Components;
    for (auto& c : components)
        if (c) c->SetObject(this);
    GetAllComponentsShortcuts();
    if (Comp_Animator && Comp_Animator->DefaultAnim != 0)
        Animation_PlayInd(Comp_Animator->DefaultAnim - 1, Comp_Animator->DefaultAnimTime, 1, static_cast<float>(Rnd()),
                          0, 1);
    return 0;
}

int TGameObject::RemoveState(const TAppStatePtr& state) {
    auto it = std::find(States.begin(), States.end(), state);
    if (it != States.end()) States.erase(it);
    return 0;
}

int TGameObject::RemoveComponent(const TAppObjComponentPtr& component) {
    auto it = std::find(Components.begin(), Components.end(), component);
    if (it != Components.end()) Components.erase(it);
    GetAllComponentsShortcuts();
    return 0;
}

int TGameObject::RemoveComponentByType(int kind) {
    std::vector<TAppObjComponentPtr> kept;
    for (auto& c : Components)
        if (!c || c->GetTypeInt() != kind) kept.push_back(c);
    Components = std::move(kept);
    GetAllComponentsShortcuts();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Setting

int TGameObject::SetCurrState(const std::shared_ptr<TAppState>& state) {
    if (state) CurrState = state;
    return 0;
}

int TGameObject::SetCurrState(const std::string& stateName) {
    if (stateName.empty()) return 0;
    TAppStatePtr state = GetAppState(stateName);
    if (!state) {
        // The object keeps the state it shows rather than being left without one.
        Error("Couldn't find state '" + stateName + "' in object '" + Upper(name) + "'!", Here());
        return 0;
    }
    CurrState = state;
    return 0;
}

int TGameObject::MoveXY(float dx, float dy) {
    TAppState* s = _State();
    if (s == nullptr || !s->dim) return 0;
    s->dim->x += dx;
    s->dim->y += dy;
    return 0;
}

int TGameObject::SetScaleX(float sx) { return SetInState(_State(), &TAppState::tfr, &TTFR::sx, sx); }

int TGameObject::SetScaleY(float sy) { return SetInState(_State(), &TAppState::tfr, &TTFR::sy, sy); }

int TGameObject::SetA(float a) { return SetInState(_State(), &TAppState::rgb, &TRGB::a, a); }

int TGameObject::SetRot(float rotation) { return SetInState(_State(), &TAppState::tfr, &TTFR::Rotation, rotation); }

int TGameObject::SetX(float x) { return SetInState(_State(), &TAppState::dim, &TDim::x, x); }

int TGameObject::SetY(float y) { return SetInState(_State(), &TAppState::dim, &TDim::y, y); }

int TGameObject::SetRGB(int r, int g, int b) {
    TAppState* s = _State();
    if (s == nullptr || !s->rgb) return 0;
    s->rgb->r = r;
    s->rgb->g = g;
    s->rgb->b = b;
    return 0;
}

int TGameObject::SetDrawObject(const std::shared_ptr<TAppDrawObject>& drawObject) {
    DrawObject = drawObject;
    return 0;
}

int TGameObject::SetCurrStateInd(int index) {
    if (index < 0 || index >= static_cast<int>(States.size()) || !States[static_cast<size_t>(index)]) {
        Error("No state at index " + std::to_string(index) + " in object '" + Upper(name) + "'!", Here());
        return 0;
    }
    CurrState = States[static_cast<size_t>(index)];
    return 0;
}

int TGameObject::SetPosition(float x, float y) {
    SetX(x);
    SetY(y);
    return 0;
}

int TGameObject::SetStateByIndex(int index) { return SetCurrStateInd(index); }

int TGameObject::SetAsset(const std::shared_ptr<TAsset>&) { return 0; }

int TGameObject::SetScreen(TAppScreen* screen) {
    Screen = screen;
    for (auto& sub : GameSubs(SubObjects)) sub->SetScreen(screen);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Getting info

float TGameObject::GetX() { return TAppBasicObj::GetX(); }
float TGameObject::GetY() { return TAppBasicObj::GetY(); }

float TGameObject::GetA() {
    TAppState* s = _State();
    return (s != nullptr && s->rgb) ? s->rgb->a : 0.0f;
}

TGameObjectPtr TGameObject::FindObject(const std::string& objName) {
    for (auto& sub : GameSubs(SubObjects)) {
        if (sub->name == objName) return sub;
        if (auto found = sub->FindObject(objName)) return found;
    }
    return nullptr;
}

TGameObjectPtr TGameObject::FindObjectInd(int objId) {
    for (auto& sub : GameSubs(SubObjects)) {
        if (sub->id == objId) return sub;
        if (auto found = sub->FindObjectInd(objId)) return found;
    }
    return nullptr;
}

TGameObject* TGameObject::GetRootParent() {
    auto* parent = dynamic_cast<TGameObject*>(Parent);
    return parent == nullptr ? this : parent->GetRootParent();
}

TAppStatePtr TGameObject::GetStateByName(const std::string& stateName) {
    const std::string wanted = Upper(stateName);
    for (auto& s : States)
        if (s && Upper(s->name) == wanted) return s;
    return nullptr;
}

TAppStatePtr TGameObject::GetAppState(const std::string& stateName) {
    for (auto& s : States)
        if (s && s->name == stateName) return s;
    return nullptr;
}

std::string TGameObject::GetTypeStr() {
    const int type = GetTypeInt();
    if (type < 0 || type >= static_cast<int>(GameObject_Names.size())) return "";
    return GameObject_Names[static_cast<size_t>(type)];
}

std::vector<std::string> TGameObject::GetStatesStringArray() {
    std::vector<std::string> names;
    names.reserve(States.size());
    for (auto& s : States) names.push_back(s ? s->name : std::string());
    return names;
}

TGameObjectList TGameObject::GetAllSubObjects() {
    TGameObjectList out;
    for (auto& sub : GameSubs(SubObjects)) {
        out.push_back(sub);
        for (auto& below : sub->GetAllSubObjects()) out.push_back(below);
    }
    return out;
}

int TGameObject::GetAllComponentsShortcuts() {
    ClearComponentsPointers();
    GetComponent_Animator();
    GetComponent_Collider();
    return 0;
}

std::shared_ptr<TAppObjAnimator> TGameObject::GetComponent_Animator() {
    if (Comp_Animator) return Comp_Animator;
    for (auto& c : Components) {
        if (!c || c->GetTypeInt() != 0) continue;
        if (auto animator = std::dynamic_pointer_cast<TAppObjAnimator>(c)) {
            Comp_Animator = animator;
            return animator;
        }
    }
    return Comp_Animator;
}

std::shared_ptr<TAppCollider> TGameObject::GetComponent_Collider() {
    if (Comp_Collider) return Comp_Collider;
    for (auto& c : Components) {
        if (!c || c->GetTypeInt() != 1) continue;
        if (auto collider = std::dynamic_pointer_cast<TAppCollider>(c)) {
            Comp_Collider = collider;
            return collider;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Saving

int TGameObject::Save(const TBlockFilePtr& parent) {
    TBlockFilePtr block = CreateBlockFile("GameObject", parent);
    _SaveBasics(block);
    _SaveFlags(block);
    _SaveStates(block);
    _SaveComponents(block);
    SaveMyData(CreateBlockFile("OwnData", block));
    _SaveSubObjects(block);
    return 0;
}

int TGameObject::_SaveBasics(const TBlockFilePtr& block) {
    TBlockFilePtr b = CreateBlockFile("Basic", block);
    AddStringToBlock(b, "Name", name, 0);
    AddIntToBlock(b, "Id", id, 0);
    AddIntToBlock(b, "Type", GetTypeInt(), 0);
    AddIntToBlock(b, "Enabled", isEnabled, 0);
    AddIntToBlock(b, "DrawLayer", DrawLayer, 0);
    AddIntToBlock(b, "UpdateLayer", UpdateLayer, 0);
    return 0;
}

int TGameObject::_SaveFlags(const TBlockFilePtr& block) {
    SaveFields(CreateBlockFile("Flags", block), *this, kFlagFields);
    return 0;
}

int TGameObject::_SaveStates(const TBlockFilePtr& block) {
    TBlockFilePtr b = CreateBlockFile("States", block);
    for (auto& s : States)
        if (s) s->Save(CreateBlockFile("State", b));
    return 0;
}

int TGameObject::_SaveComponents(const TBlockFilePtr& block) {
    TBlockFilePtr b = CreateBlockFile("Components", block);
    for (auto& c : Components)
        if (c) c->Save(CreateBlockFile("Component", b));
    return 0;
}

int TGameObject::_SaveSubObjects(const TBlockFilePtr& block) {
    TBlockFilePtr b = CreateBlockFile("SubObjects", block);
    std::vector<std::string> usedFolders;
    for (auto& sub : GameSubs(SubObjects)) {
        if (isExporting != 0) _ExportSubObject(sub.get(), usedFolders, CreateBlockFile("GameObject", b));
        else sub->Save(b);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Loading

int TGameObject::Load(const TBlockFilePtr& block, TLoadList* list) {
    TLoadList localList;
    if (list == nullptr) list = &localList;
    _LoadBasics(block, list);
    _LoadFlags(block, list);
    _LoadStates(block, list);
    _LoadSubObjects(GetBlockFile(block, "SubObjects"), list);
    _LoadComponents(block, list);
    LoadMyData(GetBlockFile(block, "OwnData"), list);
    return 0;
}

int TGameObject::_LoadBasics(const TBlockFilePtr& block, TLoadList*) {
    name = GetBFString(block, "Basic::Name", 0);
    id = TruncToInt(GetBFNumber(block, "Basic::Id", 0));
    DrawLayer = TruncToInt(GetBFNumber(block, "Basic::DrawLayer", 0));
    UpdateLayer = TruncToInt(GetBFNumber(block, "Basic::UpdateLayer", 0));
    return 0;
}

int TGameObject::_LoadFlags(const TBlockFilePtr& block, TLoadList*) {
    LoadFields(GetBlockFile(block, "Flags"), *this, kFlagFields);
    return 0;
}

int TGameObject::_LoadStates(const TBlockFilePtr& block, TLoadList*) {
    const TBlockFileList blocks = GetBlockFilesList(GetBlockFile(block, "States"), "State");
    States.clear();
    for (auto& b : blocks) AddState(LoadAppState(b));
    DefaultState = GetStateByName("DEFAULT");
    SetCurrState(DefaultState);
    return 0;
}

int TGameObject::_LoadComponents(const TBlockFilePtr& block, TLoadList* list) {
    for (auto& b : GetBlockFilesList(GetBlockFile(block, "Components"), "Component")) {
        TAppObjComponentPtr component = LoadAppComponent(this, b, list);
        if (component) AddComponent(component);
    }
    return 0;
}

int TGameObject::_LoadSubObjects(const TBlockFilePtr& block, TLoadList* list) {
    for (auto& b : GetBlockFilesList(block, "GameObject")) {
        const std::string ref = GetBFString(b, "LoadObject", 0);
        if (ref.empty()) {
            if (TGameObjectPtr sub = LoadGameObject(b, list, "")) AddSubObject(sub);
            continue;
        }
        const std::string folder = Prefix + "SubObjects/";
        const std::string path = folder + ref;
        auto fail = [&] {
            CriticalError("Couldn't load GameObject file '" + path + "' in object " + Upper(name) + "!");
        };
        // A reference names a folder below this object's "SubObjects": never one elsewhere.
        if (!PathResolvesInside(folder, path) || FileType(path) == 0) {
            fail();
            continue;
        }
        TGameObjectPtr sub = LoadGameobject_DirIn(path, list);
        if (!sub) {
            fail();
            continue;
        }
        AddSubObject(sub);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Type numbers and the factory

std::vector<std::string> GameObject_Names = {"Empty",   "Text",         "Image",        "Button",     "VectorObj",
                                             "OverBox", "BasicEmitter", "Button_Light", "SoundObject"};

void InitGameObjectNames() {
    GameObject_Names = {"Empty",   "Text",         "Image",        "Button",     "VectorObj",
                        "OverBox", "BasicEmitter", "Button_Light", "SoundObject"};
}

namespace {

std::map<int, TGameObjectCreator> BuiltInTypes() {
    std::map<int, TGameObjectCreator> types;
    types[0] = [] { return std::make_shared<TGameObject>(); };
    return types;
}

std::map<int, TGameObjectCreator>& Types() {
    static std::map<int, TGameObjectCreator> types = BuiltInTypes();
    return types;
}

}  // namespace

void RegisterGameObjectType(int type, TGameObjectCreator creator) {
    if (creator) Types()[type] = std::move(creator);
    else Types().erase(type);
}

void ResetGameObjectTypes() { Types() = BuiltInTypes(); }

TGameObjectPtr CreateNewGameObjectByType(int type) {
    auto it = Types().find(type);
    if (it == Types().end() || !it->second) return nullptr;
    return it->second();
}

// ---------------------------------------------------------------------------------------------
// Game-object blocks, files and folders

TGameObjectPtr LoadGameObject(const TBlockFilePtr& block, TLoadList* list, const std::string& prefix) {
    const int type = TruncToInt(GetBFNumber(block, "Basic::Type", 0));
    TGameObjectPtr obj = CreateNewGameObjectByType(type);
    if (!obj) return nullptr;
    obj->Prefix = prefix;
    obj->Load(block, list);
    obj->OnLoaded();
    return obj;
}

TGameObjectPtr LoadGameObject_File(const std::string& url, TLoadList* list) {
    if (FileType(url) != 1) return nullptr;
    const FileBeingRead reading(url);
    TBlockFilePtr root = LoadBlockFile(url);
    return LoadGameObject(GetBlockFile(root, "GameObject"), list, "");
}

namespace {

// dir + "/" + name; name alone for an empty dir (the working folder, never the file-system root).
std::string JoinDir(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string TrimSeparators(std::string path) {
    for (auto& c : path)
        if (c == '\\') c = '/';
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

TGameObjectPtr LoadFromFolder(const std::string& dirIn, TLoadList* list) {
    const std::string dir = TrimSeparators(dirIn);
    const std::string file = JoinDir(dir, StripDir(dir) + ".GameObject");
    if (FileType(file) != 1) return nullptr;
    // A sub-object's own file: what is said about it is said, even while the screen that names it
    // is a damaged file whose own lines are held.
    const FileBeingRead reading(file);
    TBlockFilePtr root = LoadBlockFile(file);
    return LoadGameObject(GetBlockFile(root, "GAMEOBJECT"), list, JoinDir(dir, ""));
}

// Writes obj into dir/folder/folder.GameObject, its sub-objects below dir/folder/SubObjects.
void ExportInto(const std::string& dir, const std::string& folder, TGameObject* obj) {
    const std::string objDir = JoinDir(dir, folder);
    if (FileType(objDir) != 2) CreateDir(objDir);
    if (!obj->SubObjects.empty() && FileType(objDir + "/SubObjects") != 2) CreateDir(objDir + "/SubObjects");
    obj->isExporting = 1;
    obj->Prefix = objDir + "/";
    TBlockFilePtr root = CreateBlockFile(objDir + "/" + folder + ".GameObject", nullptr);
    obj->Save(root);
    SaveBlockFile(root);
    obj->isExporting = 0;
    obj->Prefix.clear();
}

}  // namespace

TGameObjectPtr LoadGameObject_Dir(const std::string& dir, TLoadList* list) { return LoadFromFolder(dir, list); }

TGameObjectPtr LoadGameobject_DirIn(const std::string& dir, TLoadList* list) { return LoadFromFolder(dir, list); }

TGameObjectPtr LoadGameObjectFromUrl(const std::string& url, TLoadList* list) {
    const FileBeingRead reading(url);
    TLoadList localList;
    if (list == nullptr) list = &localList;
    switch (FileType(url)) {
        case 1: return LoadGameObject_File(url, list);
        case 2: return LoadGameObject_Dir(url, list);
        default: return nullptr;
    }
}

std::string GameObjectFolderName(const std::string& objName) {
    std::string out = objName;
    for (auto& c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || u < 32) c = '_';
    }
    if (out.find_first_not_of('.') == std::string::npos) out = "_" + out;
    return out;
}

namespace {

// base, or base + "_2", "_3"... when a folder of that name (letter case aside) is taken; the
// result is added to the taken list.
std::string UniqueFolder(const std::string& base, std::vector<std::string>& usedFolders) {
    auto used = [&usedFolders](const std::string& f) {
        return std::any_of(usedFolders.begin(), usedFolders.end(),
                           [&f](const std::string& u) { return EqualsNoCase(u, f); });
    };
    std::string folder = base;
    for (int n = 2; used(folder); ++n) folder = base + "_" + std::to_string(n);
    usedFolders.push_back(folder);
    return folder;
}

}  // namespace

int TGameObject::_ExportSubObject(TGameObject* sub, std::vector<std::string>& usedFolders, const TBlockFilePtr& ref) {
    const std::string folder = UniqueFolder(GameObjectFolderName(sub->name), usedFolders);
    AddStringToBlock(ref, "LoadObject", folder, 0);
    ExportInto(TrimSeparators(Prefix + "SubObjects"), folder, sub);
    return 0;
}

std::string ExportGameObject(const std::string& path, TGameObject* obj, std::vector<std::string>* usedFolders) {
    if (obj == nullptr) return "";
    std::string folder = GameObjectFolderName(obj->name);
    if (usedFolders != nullptr) folder = UniqueFolder(folder, *usedFolders);
    ExportInto(TrimSeparators(path), folder, obj);
    return folder;
}
