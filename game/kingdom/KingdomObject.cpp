#include "game/kingdom/KingdomObject.h"

#include "engine/basics/AppTime.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/Recipes.h"
#include "game/kingdom/Kingdom.h"
#include "game/kingdom/KingdomAnims.h"
#include "game/puzzle/HammerEffect.h"
#include "platform/Random.h"

std::vector<TKingdomObjectPtr> AllKingdomObjects;

TKingdomObjectPtr GetKingdomObject(int id) {
    for (const auto& building : AllKingdomObjects)
        if (building && building->id == id) return building;
    return nullptr;
}

namespace {

// The building pictures are drawn with a margin: their parts fill the top left of this share.
constexpr float PartShare = 0.711f;

// Calls f on each sub-object of obj that is a T (the building's part images, or its child objects).
// Runs over a copy of the list, so f may change it.
template <class T, class F>
void ForEachSub(const TGameObjectPtr& obj, F&& f) {
    if (!obj) return;
    const auto subs = obj->SubObjects;
    for (const auto& sub : subs)
        if (auto typed = std::dynamic_pointer_cast<T>(sub)) f(*typed);
}

}  // namespace

int TKingdomObject::Show() {
    if (GameObject) GameObject->Enable();
    for (const auto& sub : SubObjects)
        if (sub) sub->Enable();
    return 0;
}

int TKingdomObject::ShowNow() {
    Show();
    Alpha = dAlpha = 1;
    return 0;
}

int TKingdomObject::HideNow() {
    if (GameObject) GameObject->Disable();
    for (const auto& sub : SubObjects)
        if (sub) sub->Disable();
    Alpha = dAlpha = 0;
    return 0;
}

int TKingdomObject::ShowUp() {
    Show();
    dAlpha = 1;
    Alpha = 0;
    UpdateAlphaSet();
    InitHammers();
    return 0;
}

int TKingdomObject::ResetAlpha() {
    Alpha = 0;
    dAlpha = 1;
    if (GameObject) {
        GameObject->DrawAlpha = 0;
        GameObject->SetA(0);
    }
    ForEachSub<TGameObject>(GameObject, [](TGameObject& child) {
        child.SetA(0);
        child.DrawAlpha = 0;
    });
    return 0;
}

int TKingdomObject::InitHammers() {
    Hammers.clear();
    ForEachSub<TUIImage>(GameObject, [this](TUIImage& part) {
        const int x = static_cast<int>(part.DrawX + static_cast<float>(part.GetWidth()) * PartShare * 0.5f);
        const int y = static_cast<int>(part.DrawY);
        Hammers.push_back(CreateHammerEffect(x, y));
    });
    return 0;
}

int TKingdomObject::UpdateAlphaSet() {
    if (!GameObject) return 0;
    GameObject->SetA(Alpha);
    for (const auto& sub : SubObjects)
        if (sub) sub->SetA(Alpha);
    ForEachSub<TGameObject>(GameObject, [this](TGameObject& child) { child.SetA(Alpha); });
    GameObject->UpdateSettings();
    GameObject->DrawSettings();
    return 0;
}

int TKingdomObject::UpdateObject() {
    if (!GameObject || GameObject->isEnabled == 0) return 0;
    if (Alpha < dAlpha) {
        Alpha += BuildStep * delta;
        // Landing exactly on the target ends the build too: the interface must come back.
        if (Alpha >= dAlpha) {
            Alpha = dAlpha;
            if (Kingdom) {
                Kingdom->HideTime = 0;
                Kingdom->dHide = 0;
            }
        }
        if (Alpha < 0.75f) {
            UpdateShowEffect();
        } else {
            for (const auto& hammer : Hammers)
                if (hammer) hammer->dAlpha = 0;
        }
    }
    if (Alpha > dAlpha) {
        Alpha -= FadeStep * delta;
        if (Alpha < dAlpha) Alpha = dAlpha;
    }
    UpdateAlphaSet();
    return 0;
}

int TKingdomObject::UpdateShowEffect() {
    if (AppMilliSecs() <= parts) return 0;
    parts = AppMilliSecs() + 50;
    const auto package = Kingdom ? Kingdom->Package : nullptr;
    ForEachSub<TUIImage>(GameObject, [&package](TUIImage& part) {
        for (int i = 0; i < 6; ++i) {
            const int w = static_cast<int>(static_cast<float>(part.GetWidth()) * PartShare);
            const int h = static_cast<int>(static_cast<float>(part.GetHeight()) * PartShare);
            const int dx = Rand(0, w);
            const int dy = Rand(0, h);
            const int life = Rand(1000, 1500);
            const int spread = Rand(16, 48);
            const int x = static_cast<int>(part.DrawX + static_cast<float>(dx));
            const int y = static_cast<int>(part.DrawY + static_cast<float>(dy));
            CreateBuildDust(static_cast<float>(x), static_cast<float>(y), static_cast<float>(spread), 0.5f, 0.75f, life,
                            package);
        }
    });
    return 0;
}

int TKingdomObject::DrawHammers() {
    for (size_t i = 0; i < Hammers.size();) {
        if (!Hammers[i] || Hammers[i]->Draw() != 0) Hammers.erase(Hammers.begin() + static_cast<std::ptrdiff_t>(i));
        else ++i;
    }
    return 0;
}

int TKingdomObject::OnBuild() {
    for (const auto& anim : ObjectsToHide)
        if (anim) anim->Hide();
    return 0;
}

int TKingdomObject::isNotBeeingBuild() { return Alpha == dAlpha ? 1 : 0; }
