#include "game/kingdom/KingdomButtons.h"

#include <string>

#include "engine/media/TextClass.h"
#include "engine/ui/UI_Object.h"
#include "game/kingdom/Kingdom.h"
#include "game/kingdom/KingdomObject.h"
#include "game/progress/Profile.h"

std::shared_ptr<TTextClass> TKingdomBuildButton::ClassNormal;
std::shared_ptr<TTextClass> TKingdomBuildButton::ClassCantAfford;
std::shared_ptr<TImageAsset> TKingdomBuildButton::RibbonNormal;
std::shared_ptr<TImageAsset> TKingdomBuildButton::RibbonCantAfford;

namespace {
constexpr int SlotAnimMs = 500;
}

int TKingdomBuildButton::Show(int n) {
    if (Obj) {
        Obj->Enable();
        Obj->Animation_Play("Show", SlotAnimMs, 0, 0.0f, 250 * n + 250, 1);
        Obj->Calculate();
    }
    WasHiddenFromTheStart = 0;
    Status = 1;
    return 0;
}

int TKingdomBuildButton::Hide(int /*n*/) {
    if (Obj) Obj->Animation_Play("Hide", SlotAnimMs, 0, 0.0f, 0, 1);
    Status = 2;
    return 0;
}

int TKingdomBuildButton::HideNow() {
    if (Obj) Obj->Disable();
    Status = 2;
    WasHiddenFromTheStart = 1;
    return 0;
}

int TKingdomBuildButton::SetObject(const std::shared_ptr<TKingdomObject>& obj) {
    KingdomObject = obj;
    if (!obj) return 0;
    if (Price) Price->SetText(std::to_string(obj->cena));
    if (Icon && obj->id >= 1 && obj->id <= static_cast<int>(TKingdom::ObjectsIcons.size()))
        Icon->SetImg(TKingdom::ObjectsIcons[obj->id - 1]);
    return 0;
}

int TKingdomBuildButton::Update_Show() {
    if (!Obj || Obj->Animation_Finished() != 0) Status = 0;
    return 0;
}

int TKingdomBuildButton::Update_Hide() { return 0; }

int TKingdomBuildButton::Update_Normal() {
    if (!Kingdom || Kingdom->dHide != 0) return 0;
    if (Button && Button->isClick != 0) ClickButton();
    return 0;
}

int TKingdomBuildButton::UpdatePriceColor() {
    if (!Price || !Kingdom || !KingdomObject) return 0;
    const bool affordable = Kingdom->CanAfford(KingdomObject) != 0;
    const auto& cls = affordable ? ClassNormal : ClassCantAfford;
    if (cls && Price->Class != cls) Price->SetClass(cls);
    const auto& ribbon = affordable ? RibbonNormal : RibbonCantAfford;
    if (PriceBack && ribbon && PriceBack->Img != ribbon) PriceBack->SetImg(ribbon);
    return 0;
}

int TKingdomBuildButton::Update() {
    UpdatePriceColor();
    if (Done && (!Profile || !KingdomObject || Profile->Kingdom_HaveObject(KingdomObject->id) == 0)) Done->Disable();
    return UpdateByStatus();
}

int TKingdomBuildButton::UpdateByStatus() {
    switch (Status) {
        case 1: return Update_Show();
        case 2: return Update_Hide();
        default: return Update_Normal();
    }
}

int TKingdomBuildButton::ClickButton() {
    // A slot without a building (the twin, or a stage table naming none) has nothing to sell.
    if (!Kingdom || !KingdomObject) return 0;
    if (Kingdom->BuyObject(KingdomObject) == 0) return 0;
    Hide(0);
    if (auto twin = Kingdom->BuildHideButton[TheButtonN]) twin->Show(0);
    return 0;
}

int TKingdomBuildButton::isHidden() {
    if (Status != 2) return 0;
    return (WasHiddenFromTheStart != 0 || !Obj || Obj->Animation_Finished() != 0) ? 1 : 0;
}

int TKingdomHideBuildButton::Show(int n) {
    if (Profile && Profile->BuildingStage >= TKingdom::StageCount - 1) return HideNow();
    return TKingdomBuildButton::Show(n);
}

int TKingdomHideBuildButton::Update() { return UpdateByStatus(); }
