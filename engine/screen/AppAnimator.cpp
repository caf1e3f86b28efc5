#include "engine/screen/AppAnimator.h"
#include "engine/basics/Basics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "engine/screen/GameObject.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Strings.h"

namespace {

// The game-object sub-objects of obj, in order.
std::vector<TGameObject*> GameSubObjects(TGameObject* obj) {
    std::vector<TGameObject*> out;
    if (obj == nullptr) return out;
    out.reserve(obj->SubObjects.size());
    for (auto& sub : obj->SubObjects)
        if (auto go = dynamic_cast<TGameObject*>(sub.get())) out.push_back(go);
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TAppObjAnim

TAppObjAnim::TAppObjAnim() : State(std::make_shared<TAppState>()) {}

TGameObject* TAppObjAnim::Target() {
    if (GameObject != watched_) {
        watched_ = GameObject;
        watch_.reset();
        hasWatch_ = false;
        if (GameObject != nullptr) {
            watch_ = GameObject->weak_from_this();
            hasWatch_ = !watch_.expired();
        }
    }
    if (hasWatch_ && watch_.expired()) return nullptr;
    return GameObject;
}

std::string TAppObjAnim::ToString() { return "==== ANIM: " + name + " ====\n" + ToString2(""); }

std::string TAppObjAnim::ToString2(const std::string& indent) {
    std::string text = indent + "ANIM NAME: " + name + "\n" + indent +
                       "SubObjects: " + std::to_string(SubObjectsAnims.size()) + "\n" + indent +
                       ">>> Sub Anim Objects: \n";
    for (auto& sub : SubObjectsAnims)
        if (sub) text += sub->ToString2(indent + "\t");
    return text;
}

int TAppObjAnim::Free() {
    GameObject = nullptr;
    const auto subs = std::move(SubObjectsAnims);
    SubObjectsAnims.clear();
    EachOf(subs, &TAppObjAnim::Free);
    State = nullptr;
    if (Track) Track->Free();
    if (Gradient) Gradient->Free();
    if (Transform) Transform->Free();
    Track = nullptr;
    Gradient = nullptr;
    Transform = nullptr;
    return 0;
}

TAppObjAnimPtr TAppObjAnim::Copy() {
    auto copy = std::make_shared<TAppObjAnim>();
    copy->id = id;
    copy->name = name;
    if (Track) copy->Track = Track->Copy();
    if (Gradient) copy->Gradient = Gradient->Copy();
    if (Transform) copy->Transform = Transform->Copy();
    copy->isTrackEnabled = isTrackEnabled;
    copy->isGradientEnabled = isGradientEnabled;
    copy->isTransformEnabled = isTransformEnabled;
    copy->GameObject = GameObject;
    for (auto& sub : SubObjectsAnims)
        if (sub) copy->SubObjectsAnims.push_back(sub->Copy());
    return copy;
}

int TAppObjAnim::Retarget(const TGameObjectCopyMap& map) {
    auto it = map.find(GameObject);
    if (it != map.end()) GameObject = it->second;
    for (auto& sub : SubObjectsAnims)
        if (sub) sub->Retarget(map);
    return 0;
}

int TAppObjAnim::CheckReliance() {
    TGameObject* obj = Target();
    if (obj == nullptr) return 0;
    const auto subs = SubObjectsAnims;
    std::vector<TAppObjAnimPtr> kept;
    kept.reserve(subs.size());
    for (auto& sub : subs) {
        if (!sub) continue;
        TGameObject* subObj = sub->Target();
        if (subObj != nullptr && obj->isObjectMySub(subObj)) {
            sub->CheckReliance();
            kept.push_back(sub);
        } else {
            sub->Free();
        }
    }
    SubObjectsAnims = std::move(kept);
    for (TGameObject* go : GameSubObjects(obj)) {
        const bool covered = std::any_of(SubObjectsAnims.begin(), SubObjectsAnims.end(),
                                         [go](const TAppObjAnimPtr& s) { return s && s->GameObject == go; });
        if (!covered) SubObjectsAnims.push_back(CreateAppObjAnim(name, go));
    }
    return 0;
}

int TAppObjAnim::SetObject(TGameObject* obj) {
    GameObject = obj;
    AddSubObjectAnim(obj);
    return 0;
}

TAppObjAnimPtr TAppObjAnim::GetSubAnimByObject(const TGameObject* obj) {
    if (obj == nullptr) return nullptr;
    if (Target() == obj) return weak_from_this().lock();
    for (auto& sub : SubObjectsAnims) {
        if (!sub) continue;
        if (auto found = sub->GetSubAnimByObject(obj)) return found;
    }
    return nullptr;
}

int TAppObjAnim::UpdateMyObject(float p) {
    TGameObject* obj = Target();
    if (obj == nullptr) return 0;
    if (!State) State = std::make_shared<TAppState>();
    TAppState& state = *State;
    // The look from before the animation, taken the first time a value needs it.
    auto pushed = [obj]() -> TAppState* {
        if (!obj->PushedState) obj->PushCurrState();
        return obj->PushedState.get();
    };
    // A part shared with the pushed state (from a frame when its curve was off) is detached
    // before a curve writes into it, so the pushed look is never overwritten.
    auto sharedWithPushed = [obj](const auto& part, auto member) {
        return obj->PushedState && part && part == (*obj->PushedState).*member;
    };

    // One part: written by its curve where that is on, else the pushed look's own part.
    auto animate = [&](bool on, auto member, auto put) {
        auto& part = state.*member;
        using Part = typename std::decay_t<decltype(part)>::element_type;
        if (on) {
            if (!part || sharedWithPushed(part, member)) part = part ? part->Copy() : std::make_shared<Part>();
            put(*part);
        } else if (TAppState* ps = pushed(); ps != nullptr && (*ps).*member) {
            part = (*ps).*member;
        }
    };
    animate(isTrackEnabled != 0 && Track, &TAppState::dim, [&](TDim& dim) { Track->PutDim(dim, p); });
    animate(isGradientEnabled != 0 && Gradient, &TAppState::rgb, [&](TRGB& rgb) { Gradient->PutRGB(rgb, p); });
    animate(isTransformEnabled != 0 && Transform, &TAppState::tfr, [&](TTFR& tfr) { Transform->PutTfr(tfr, p); });

    obj->SetCurrState(State);
    return 0;
}

int TAppObjAnim::UpdateSubObjects(float p) {
    EachOf(SubObjectsAnims, [p](TAppObjAnim& sub) { sub.Update(p); });
    return 0;
}

int TAppObjAnim::Update(float p) {
    UpdateMyObject(p);
    UpdateSubObjects(p);
    return 0;
}

int TAppObjAnim::AddTrackPoint(float p) {
    if (Track) Track->SplitIn(p);
    return 0;
}

int TAppObjAnim::AddGradientPoint(float p) {
    if (Gradient) Gradient->SplitIn(p);
    return 0;
}

int TAppObjAnim::AddTransformPoint(float p) {
    if (Transform) Transform->SplitIn(p);
    return 0;
}

int TAppObjAnim::AddSubObjectAnim(TGameObject* obj) {
    SubObjectsAnims.clear();
    for (TGameObject* go : GameSubObjects(obj)) SubObjectsAnims.push_back(CreateAppObjAnim(name, go));
    return 0;
}

int TAppObjAnim::SaveBase(const TBlockFilePtr& block) {
    if (!block) return 0;
    AddIntToBlock(block, "id", id, 0);
    AddStringToBlock(block, "Name", name, 0);
    if (!Track) isTrackEnabled = 0;
    if (!Gradient) isGradientEnabled = 0;
    if (!Transform) isTransformEnabled = 0;
    if (Track && isTrackEnabled != 0) AddStringToBlock(block, "Track", Track->ToString(), 0);
    if (Gradient && isGradientEnabled != 0) AddStringToBlock(block, "Gradient", Gradient->ToString(), 0);
    if (Transform && isTransformEnabled != 0) AddStringToBlock(block, "Transform", Transform->ToString(), 0);
    return 0;
}

int TAppObjAnim::SaveSubAnims(const TBlockFilePtr& block) {
    if (!block || SubObjectsAnims.empty()) return 0;
    TBlockFilePtr anims = CreateBlockFile("Anims", block);
    for (auto& sub : SubObjectsAnims)
        if (sub) sub->Save(anims);
    return 0;
}

int TAppObjAnim::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    TBlockFilePtr anim = CreateBlockFile("Anim", block);
    SaveBase(anim);
    SaveSubAnims(anim);
    return 0;
}

int TAppObjAnim::LoadBase(const TBlockFilePtr& block) {
    id = TruncToInt(GetBFNumber(block, "id", 0));
    name = GetBFString(block, "name", 0);
    return 0;
}

int TAppObjAnim::LoadAnimData(const TBlockFilePtr& block) {
    const std::string track = GetBFString(block, "Track", 0);
    const std::string gradient = GetBFString(block, "Gradient", 0);
    const std::string transform = GetBFString(block, "Transform", 0);
    isTrackEnabled = 0;
    isGradientEnabled = 0;
    isTransformEnabled = 0;
    if (!track.empty()) {
        auto curve = std::make_shared<TTrack>();
        curve->FromString(track);
        Track = curve;
        isTrackEnabled = 1;
    }
    if (!gradient.empty()) {
        auto curve = std::make_shared<TGradient>();
        curve->FromString(gradient);
        Gradient = curve;
        isGradientEnabled = 1;
    }
    if (!transform.empty()) {
        auto curve = std::make_shared<TTransform>();
        curve->FromString(transform);
        Transform = curve;
        isTransformEnabled = 1;
    }
    return 0;
}

int TAppObjAnim::LoadSubAnims(const TBlockFilePtr& block) {
    TBlockFilePtr anims = GetBlockFileNO_NEW(block, "Anims");
    if (!anims || anims->MyType != BF_BLOCK) return 0;
    const TBlockFileList blocks = GetBlockFilesList(anims, "Anim");
    if (blocks.empty()) return 0;
    TGameObject* obj = Target();
    if (obj == nullptr) return 0;
    // Sub-animations made for a sub-object have none of their own yet; build them, so that the
    // blocks saved below them find their targets at every depth.
    if (SubObjectsAnims.empty()) AddSubObjectAnim(obj);
    const std::vector<TGameObject*> subs = GameSubObjects(obj);
    for (size_t i = 0; i < blocks.size() && i < subs.size(); ++i) {
        if (TAppObjAnimPtr sub = GetSubAnimByObject(subs[i])) sub->Load(blocks[i]);
    }
    return 0;
}

int TAppObjAnim::Load(const TBlockFilePtr& block) {
    if (!block) return 0;
    LoadBase(block);
    LoadAnimData(block);
    LoadSubAnims(block);
    return 0;
}

TAppObjAnimPtr CreateAppObjAnim(const std::string& name, TGameObject* obj) {
    auto anim = std::make_shared<TAppObjAnim>();
    anim->name = name;
    anim->GameObject = obj;
    return anim;
}

TAppObjAnimPtr CreateAppObjAnimFromStates() { return std::make_shared<TAppObjAnim>(); }

TAppObjAnimPtr LoadAppAnim(TGameObject* obj, const TBlockFilePtr& block) {
    auto anim = std::make_shared<TAppObjAnim>();
    anim->SetObject(obj);
    anim->Load(block);
    return anim;
}

// ---------------------------------------------------------------------------------------------
// TAppObjAnimator

std::string TAppObjAnimator::GetTypeStr() { return GetComponentName(GetTypeInt()); }

std::string TAppObjAnimator::_ObjectName() const { return Obj != nullptr ? Upper(Obj->name) : std::string(); }

int TAppObjAnimator::Update() {
    if (!CurrAnim) return 0;
    if (AppMilliSecs() < DelayTime) return 0;
    if (isPaused == 0 && Timer) CurrAnimPer = Timer->Count(isLooped);
    // Held here: the animation may be replaced while it is applied.
    const TAppObjAnimPtr anim = CurrAnim;
    if (isSinus != 0) anim->Update(static_cast<float>(SinDeg(90.0 * static_cast<double>(CurrAnimPer))));
    else anim->Update(CurrAnimPer);
    return 0;
}

int TAppObjAnimator::SetAnimPer(float p) {
    CurrAnimPer = p;
    return 0;
}

float TAppObjAnimator::GetAnimPer() { return CurrAnimPer; }

int TAppObjAnimator::SetCurrAnim(const TAppObjAnimPtr& anim) {
    CurrAnim = anim;
    return 0;
}

int TAppObjAnimator::SetCurrAnimInd(int index) {
    CurrAnim = (index >= 0 && static_cast<size_t>(index) < Anims.size()) ? Anims[static_cast<size_t>(index)] : nullptr;
    return 0;
}

int TAppObjAnimator::SetCurrAnimId(int animId) {
    for (auto& anim : Anims) {
        if (anim && anim->id == animId) {
            CurrAnim = anim;
            break;
        }
    }
    return 0;
}

int TAppObjAnimator::isPlaying() { return (CurrAnim && isPaused == 0) ? 1 : 0; }

int TAppObjAnimator::isPlayingAnim(const std::string& animName) {
    return (CurrAnim && CurrAnim->name == animName) ? 1 : 0;
}

int TAppObjAnimator::isPlayingAnimId(int animId) { return (CurrAnim && CurrAnim->id == animId) ? 1 : 0; }

int TAppObjAnimator::isPlayingAnimInd(int index) {
    if (!CurrAnim || index < 0 || static_cast<size_t>(index) >= Anims.size()) return 0;
    return Anims[static_cast<size_t>(index)] == CurrAnim ? 1 : 0;
}

int TAppObjAnimator::ResetAnimationTimer(int time) {
    if (!Timer) Timer = CreateAppPerTimer(time);
    else Timer->Reset(time);
    CurrAnimPer = 0.0f;
    return 0;
}

void TAppObjAnimator::_StartPlay(int time, int looped, float start, int delay, int sinus) {
    ResetAnimationTimer(time);
    Timer->Per = start;
    const int64_t due = static_cast<int64_t>(AppMilliSecs()) + delay;
    DelayTime = static_cast<int32_t>(
        std::clamp<int64_t>(due, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    isSinus = sinus;
    isPaused = 0;
    isLooped = looped;
    // The first look at once, also while a delay is pending.
    if (const TAppObjAnimPtr anim = CurrAnim) anim->Update(0.0f);
}

int TAppObjAnimator::Animation_Play(const std::string& animName, int time, int looped, float start, int delay,
                                    int sinus) {
    SetCurrAnim(GetAnimByName(animName));
    if (!CurrAnim)
        Error("Couldn't find animation (NAME): '" + animName + "' for object: '" + _ObjectName() + "'!", Here());
    _StartPlay(time, looped, start, delay, sinus);
    return 0;
}

int TAppObjAnimator::Animation_PlayInd(int index, int time, int looped, float start, int delay, int sinus) {
    SetCurrAnimInd(index);
    if (!CurrAnim)
        Error("Couldn't find animation (INDEX): '" + std::to_string(index) + "' for object: '" + _ObjectName() + "'!",
              Here());
    _StartPlay(time, looped, start, delay, sinus);
    return 0;
}

int TAppObjAnimator::Animation_PlayId(int animId, int time, int looped, float start, int delay, int sinus) {
    TAppObjAnimPtr found;
    for (auto& anim : Anims) {
        if (anim && anim->id == animId) {
            found = anim;
            break;
        }
    }
    SetCurrAnim(found);
    if (!CurrAnim)
        Error("Couldn't find animation (INDEX): '" + std::to_string(animId) + "' for object: '" + _ObjectName() + "'!",
              Here());
    _StartPlay(time, looped, start, delay, sinus);
    return 0;
}

int TAppObjAnimator::Animation_PlayAnim(const TAppObjAnimPtr& anim, int time, int looped, float start, int delay,
                                        int sinus) {
    if (!anim) {
        Error("Trying to play NULL animation, for object '" + _ObjectName() + "'!", Here());
        return 0;
    }
    SetCurrAnim(anim);
    _StartPlay(time, looped, start, delay, sinus);
    return 0;
}

int TAppObjAnimator::Animation_Stop() {
    if (!Timer) return 0;
    ResetAnimationTimer(Timer->Time);
    isPaused = 1;
    return 0;
}

int TAppObjAnimator::Animation_Pause() {
    isPaused = 1;
    return 0;
}

int TAppObjAnimator::Animation_Continue() {
    isPaused = 0;
    return 0;
}

int TAppObjAnimator::Animation_Finished() { return CurrAnimPer == 1.0f ? 1 : 0; }

int TAppObjAnimator::AddAnim(const TAppObjAnimPtr& anim) {
    std::vector<TAppObjAnimPtr> list = Anims;
    list.push_back(anim);
    return CreateAnimsArrayFromList(list);
}

int TAppObjAnimator::RemoveAnim(const TAppObjAnimPtr& anim) {
    std::vector<TAppObjAnimPtr> list = Anims;
    auto it = std::find(list.begin(), list.end(), anim);
    if (it == list.end()) return 0;
    list.erase(it);
    return CreateAnimsArrayFromList(list);
}

int TAppObjAnimator::CreateAnimsArrayFromList(const std::vector<TAppObjAnimPtr>& list) {
    std::vector<TAppObjAnimPtr> anims(list.size());
    size_t n = 0;
    for (auto& anim : list)
        if (anim) anims[n++] = anim;
    Anims = std::move(anims);
    return 0;
}

int TAppObjAnimator::CheckAnimationsReliance() {
    EachOf(Anims, &TAppObjAnim::CheckReliance);
    return 0;
}

std::vector<std::string> TAppObjAnimator::GetAnimNamesArray() {
    std::vector<std::string> names;
    names.reserve(Anims.size());
    for (auto& anim : Anims)
        if (anim) names.push_back(anim->name);
    return names;
}

TAppObjAnimPtr TAppObjAnimator::GetAnimByName(const std::string& animName) {
    for (auto& anim : Anims)
        if (anim && anim->name == animName) return anim;
    return nullptr;
}

TAppObjComponentPtr TAppObjAnimator::Copy() {
    auto copy = std::make_shared<TAppObjAnimator>();
    copy->Anims.reserve(Anims.size());
    for (auto& anim : Anims) copy->Anims.push_back(anim ? anim->Copy() : nullptr);
    copy->DefaultAnim = DefaultAnim;
    copy->DefaultAnimTime = DefaultAnimTime;
    return copy;
}

int TAppObjAnimator::RetargetCopy(const TGameObjectCopyMap& map) {
    for (auto& anim : Anims)
        if (anim) anim->Retarget(map);
    return 0;
}

int TAppObjAnimator::Free() {
    const auto anims = std::move(Anims);
    Anims.clear();
    EachOf(anims, &TAppObjAnim::Free);
    CurrAnim = nullptr;
    Obj = nullptr;
    return 0;
}

int TAppObjAnimator::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    SaveBase(block);
    AddIntToBlock(block, "DefaultAnim", DefaultAnim, 0);
    AddIntToBlock(block, "DefaultAnim", DefaultAnimTime, 1);
    SaveAnims(block);
    return 0;
}

int TAppObjAnimator::SaveAnims(const TBlockFilePtr& block) {
    if (!block) return 0;
    TBlockFilePtr anims = CreateBlockFile("ANIMS", block);
    for (auto& anim : Anims)
        if (anim) anim->Save(anims);
    return 0;
}

int TAppObjAnimator::Load(const TBlockFilePtr& block, TLoadList*) {
    if (!block) return 0;
    LoadBase(block);
    DefaultAnim = TruncToInt(GetBFNumber(block, "DefaultAnim", 0));
    DefaultAnimTime = TruncToInt(GetBFNumber(block, "DefaultAnim", 1));
    LoadAnims(block);
    return 0;
}

int TAppObjAnimator::LoadAnims(const TBlockFilePtr& block) {
    TBlockFilePtr anims = GetBlockFileNO_NEW(block, "ANIMS");
    if (!anims || anims->MyType != BF_BLOCK) return 0;
    for (auto& animBlock : GetBlockFilesList(anims, "ANIM")) AddAnim(LoadAppAnim(Obj, animBlock));
    return 0;
}

TAppObjAnimatorPtr CreateAppAnimator(TGameObject* obj) {
    auto animator = std::make_shared<TAppObjAnimator>();
    animator->name = animator->GetTypeStr();
    animator->Obj = obj;
    if (obj != nullptr) {
        obj->AddComponent(animator);
        obj->Comp_Animator = animator;
    }
    return animator;
}
