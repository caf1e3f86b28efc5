#include "game/kingdom/KingdomAnims.h"

#include "engine/basics/AppTime.h"
#include "game/kingdom/Kingdom.h"
#include "platform/Graphics.h"
#include "platform/Random.h"

float TRabbit::MoveSpeed = 2.0f;
int TRabbit::Border = 180;

namespace {

// The scene's width: the rabbit turns back this far in from its right edge.
constexpr float SceneWidth = 1366;
constexpr float FadeStep = 0.05f;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame animation

int TKingdomAnimObj::LoadMyAnimObject(const std::string& url, int flags) {
    AnimObject = LoadAnimObject(url, flags);
    if (AnimObject && !AnimObject->Anims.empty()) PlayAnim(AnimObject->Anims.front(), 0);
    return 0;
}

int TKingdomAnimObj::PlayAnim(const TAnimDataPtr& anim, int loop) {
    CurrAnim = anim;
    FrameCount = 0;
    isAnimFinished = 0;
    isLoop = loop;
    // An animation without frames shows nothing new and ends at once.
    if (!anim || anim->Frames.empty()) {
        Timex = AppMilliSecs();
        return 0;
    }
    const int frame = anim->Frames.front();
    if (AnimObject && frame >= 0 && frame < static_cast<int>(AnimObject->Frames.size()))
        CurrFrame = AnimObject->Frames[static_cast<size_t>(frame)];
    Timex = AppMilliSecs() + (anim->FrameDelay.empty() ? 0 : anim->FrameDelay.front());
    return 0;
}

int TKingdomAnimObj::PlayAnimId(int animId, int loop) {
    if (auto anim = GetAnim(animId)) PlayAnim(anim, loop);
    return 0;
}

TAnimDataPtr TKingdomAnimObj::GetAnim(int animId) { return AnimObject ? AnimObject->GetAnim(animId) : nullptr; }

int TKingdomAnimObj::GetNextFrame() {
    if (!CurrAnim) return 0;
    const int last = static_cast<int>(CurrAnim->Frames.size()) - 1;
    ++FrameCount;
    if (FrameCount > last) {
        FrameCount = last < 0 ? 0 : last;
        isAnimFinished = 1;
    }
    if (last < 0) return 0;
    const int frame = CurrAnim->Frames[static_cast<size_t>(FrameCount)];
    if (AnimObject && frame >= 0 && frame < static_cast<int>(AnimObject->Frames.size()))
        CurrFrame = AnimObject->Frames[static_cast<size_t>(frame)];
    const size_t at = static_cast<size_t>(FrameCount);
    Timex = AppMilliSecs() + (at < CurrAnim->FrameDelay.size() ? CurrAnim->FrameDelay[at] : 0);
    return 0;
}

int TKingdomAnimObj::UpdateAnim() {
    if (!CurrAnim) return 0;
    if (isAnimFinished != 0) {
        if (isLoop != 0) {
            isAnimFinished = 0;
            FrameCount = 0;
        } else {
            CurrAnim = nullptr;
            return 0;
        }
    }
    if (AppMilliSecs() > Timex) GetNextFrame();
    return 0;
}

int TKingdomAnimObj::UpdateA() {
    if (a < da) {
        a = std::min(a + FadeStep * delta, da);
    } else if (a > da) {
        a = std::max(a - FadeStep * delta, da);
    }
    SetA(a);
    return 0;
}

int TKingdomAnimObj::Hide() {
    da = 0;
    return 0;
}

int TKingdomAnimObj::Show() {
    da = 1;
    return 0;
}

int TKingdomAnimObj::OnDraw() {
    if (CurrFrame) DrawImage(CurrFrame, DrawX, DrawY);
    return 0;
}

int TKingdomAnimObj::OnStart() {
    isUpdatedWithDraw = 1;
    return 0;
}

int TKingdomAnimObj::UpdateObject() {
    UpdateBehaviour();
    UpdateAnim();
    UpdateA();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Animals and farmers

int TAnimal::UpdateBehaviour() {
    if (isAnimFinished == 0) return 0;
    if (isIdle == 0) {
        PlayAnimId(1, 0);
        Timex += 150 * Rand(1, 3);
        isIdle = 1;
    } else {
        PlayAnimId(2, 0);
        isIdle = 0;
    }
    return 0;
}

int THuman::UpdateBehaviour() {
    if (isAnimFinished != 0) PlayAnimId(1, 1);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The crow

int TBird::UpdateBehaviour() {
    // The first crossing's speed is drawn when the bird first flies, not when it is made: making
    // the kingdom at start-up then takes nothing from the shared random sequence.
    if (Speed == 0) Speed = static_cast<float>(Rnd(1, 2));
    if (isAnimFinished != 0) PlayAnimId(1, 0);
    if (AppMilliSecs() < StartTime) return 0;
    SetX(GetX() + static_cast<float>(dir) * Speed * delta);
    const float x = GetX();
    if ((dir > 0 && x > 1400) || (dir <= 0 && x < -100)) Reset();
    return 0;
}

int TBird::Reset() {
    Speed = static_cast<float>(Rnd(3, 5));
    const int y = Rand(128, 568);
    SetPosition(-64, static_cast<float>(y));
    StartTime = AppMilliSecs() + 1250 * Rand(1, 3);
    return 0;
}

int TBird::OnDraw() {
    if (!CurrFrame) return 0;
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    const float alpha = GetAlpha();
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    // The shadow on the ground below.
    SetColor(0, 0, 0);
    SetAlpha(alpha * 0.1f);
    SetScale(sx * 0.5f, sy * 0.5f);
    DrawImage(CurrFrame, DrawX, DrawY + 128);
    SetColor(r, g, b);
    SetAlpha(alpha);
    SetScale(sx, sy);
    DrawImage(CurrFrame, DrawX, DrawY);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The rabbit

int TRabbit::UpdateBehaviour() {
    const bool left = AtLeft != 0;
    const float x = GetX();
    switch (state) {
        case 0:
            SetX(x + (left ? MoveSpeed : -MoveSpeed) * delta);
            if (isAnimFinished != 0 &&
                (left ? GetX() > static_cast<float>(Border) : GetX() < SceneWidth - static_cast<float>(Border))) {
                state = 1;
                PlayAnimId(left ? 1 : 2, 1);
            }
            break;
        case 1:
            if (isAnimFinished != 0) {
                state = 2;
                PlayAnimId(left ? 4 : 3, 1);
            }
            break;
        case 2:
            SetX(x + (left ? -MoveSpeed : MoveSpeed) * delta);
            if (left ? GetX() < -64 : GetX() > SceneWidth + 64) {
                state = 3;
                NextTime = AppMilliSecs() + 3000;
            }
            break;
        case 3:
            if (AppMilliSecs() > NextTime) {
                state = 0;
                PlayAnimId(left ? 3 : 4, 1);
            }
            break;
        default: break;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Walkers

int TWalkingHuman::Start() {
    TGameObject::Start();
    // Without a route (its file is missing) the walker has nowhere to be: it stays out of sight.
    if (Route.empty() || !Route.front()) {
        HideNow();
        return 0;
    }
    SetPosition(Route.front()->x, Route.front()->y);
    NextMove();
    return 0;
}

int TWalkingHuman::NextMove() {
    const int count = static_cast<int>(Route.size());
    if (count == 0) return 0;
    CurrN = (CurrN + 1) % count;
    CurrPer = 0;
    const auto& from = Route[static_cast<size_t>(CurrN == 0 ? count - 1 : CurrN - 1)];
    const auto& to = Route[static_cast<size_t>(CurrN)];
    if (!from || !to) return 0;
    const float dx = to->x - from->x, dy = to->y - from->y;
    // Screen y grows downward. A leg straight along an axis keeps the walk it has.
    if (dx > 0 && dy > 0) PlayAnimId(3, 1);
    else if (dx < 0 && dy > 0) PlayAnimId(4, 1);
    else if (dx < 0 && dy < 0) PlayAnimId(1, 1);
    else if (dx > 0 && dy < 0) PlayAnimId(2, 1);
    return 0;
}

int TWalkingHuman::UpdateBehaviour() {
    if (HideByConditions != 0) CheckIfHide();
    const int count = static_cast<int>(Route.size());
    if (count == 0) return 0;
    if (CurrPer == 1.0f) NextMove();
    CurrPer = std::min(CurrPer + Speed * delta, 1.0f);
    const auto& from = Route[static_cast<size_t>(CurrN == 0 ? count - 1 : CurrN - 1)];
    const auto& to = Route[static_cast<size_t>(CurrN)];
    if (!from || !to) return 0;
    SetPosition(from->x + (to->x - from->x) * CurrPer, from->y + (to->y - from->y) * CurrPer);
    return 0;
}

int TWalkingHuman::CheckIfHide() {
    if (!Kingdom) return 0;
    for (int buildingId : Conditions) {
        if (Kingdom->isObjectAvailable(buildingId) != 0) {
            Hide();
            break;
        }
    }
    return 0;
}

int TWalkingHuman::Hide() {
    da = 0;
    return 0;
}

int TWalkingHuman::Show() {
    da = static_cast<float>(HasPlace());
    return 0;
}

int TWalkingHuman::HideNow() {
    da = 0;
    a = 0;
    SetA(0);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Creation

namespace {

template <class T>
std::shared_ptr<T> MakeCreature(const std::string& name, const std::vector<int>& conditions, TGameObject* parent,
                                int layer) {
    auto obj = std::make_shared<T>();
    obj->isUpdatedWithDraw = 1;
    obj->isNotSaved = 1;
    obj->DrawLayer = layer;
    obj->name = name;
    obj->Conditions = conditions;
    if (parent != nullptr) parent->AddSubObject(obj);
    return obj;
}

// A creature with its frames loaded, standing at (x, y).
template <class T>
std::shared_ptr<T> MakePlacedCreature(const std::string& name, const std::vector<int>& conditions,
                                      const std::string& url, int x, int y, TGameObject* parent, int layer) {
    auto obj = MakeCreature<T>(name, conditions, parent, layer);
    obj->LoadMyAnimObject(url, 6);
    obj->SetPosition(static_cast<float>(x), static_cast<float>(y));
    return obj;
}

}  // namespace

std::shared_ptr<TAnimal> CreateAnimal(const std::string& name, const std::vector<int>& conditions,
                                      const std::string& url, int x, int y, TGameObject* parent, int layer) {
    return MakePlacedCreature<TAnimal>(name, conditions, url, x, y, parent, layer);
}

std::shared_ptr<THuman> CreateHuman(const std::string& name, const std::vector<int>& conditions, const std::string& url,
                                    int x, int y, TGameObject* parent, int layer) {
    return MakePlacedCreature<THuman>(name, conditions, url, x, y, parent, layer);
}

std::shared_ptr<TRabbit> CreateRabbit(const std::string& name, const std::vector<int>& conditions,
                                      const std::string& url, int atLeft, int x, int y, TGameObject* parent,
                                      int layer) {
    auto obj = MakeCreature<TRabbit>(name, conditions, parent, layer);
    obj->AtLeft = atLeft;
    obj->LoadMyAnimObject(url, 6);
    obj->SetPosition(static_cast<float>(x), static_cast<float>(y));
    obj->PlayAnimId(atLeft != 0 ? 3 : 4, 1);
    return obj;
}

std::shared_ptr<TBird> CreateBird(const std::string& name, const std::vector<int>& conditions, const std::string& url,
                                  int x, int y, TGameObject* parent, int layer, int dir) {
    auto obj = MakePlacedCreature<TBird>(name, conditions, url, x, y, parent, layer);
    obj->dir = dir;
    return obj;
}

namespace {

std::shared_ptr<TWalkingHuman> MakeWalker(const std::string& name, const std::vector<int>& conditions,
                                          TGameObject* parent, int layer, float speed, int hideByConditions) {
    auto obj = MakeCreature<TWalkingHuman>(name, conditions, parent, layer);
    obj->Speed = speed;
    obj->HideByConditions = hideByConditions;
    return obj;
}

}  // namespace

std::shared_ptr<TWalkingHuman> CreateWalkingHuman(const std::string& name, const std::vector<int>& conditions,
                                                  const std::string& anim, const TDimArray& route, TGameObject* parent,
                                                  int layer, float speed, int hideByConditions) {
    auto obj = MakeWalker(name, conditions, parent, layer, speed, hideByConditions);
    if (!anim.empty()) obj->LoadMyAnimObject(anim, 6);
    obj->Route = route;
    obj->Start();
    return obj;
}

std::shared_ptr<TWalkingHuman> CreateWalkingHuman(const std::string& name, const std::vector<int>& conditions,
                                                  const TAnimObjectPtr& anim, const TDimArray& route,
                                                  TGameObject* parent, int layer, float speed, int hideByConditions) {
    auto obj = MakeWalker(name, conditions, parent, layer, speed, hideByConditions);
    if (anim) {
        obj->AnimObject = anim;
        if (!anim->Anims.empty()) obj->PlayAnim(anim->Anims.front(), 0);
    }
    obj->Route = route;
    obj->Start();
    return obj;
}
