#include "game/kingdom/Kingdom.h"

#include <algorithm>
#include <cmath>

#include "engine/data/ValuePersistence.h"
#include "engine/media/AppSound.h"
#include "engine/media/TextClass.h"
#include "engine/screen/AppVar.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/EngParticle.h"
#include "game/kingdom/KingdomAnims.h"
#include "game/kingdom/KingdomObject.h"
#include "game/progress/Awards.h"
#include "game/progress/Profile.h"
#include "game/progress/ProgressFile.h"
#include "game/puzzle/HammerEffect.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/GiveAward.h"
#include "game/shell/KingdomHelp.h"
#include "game/shell/MainMenu.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/StagesScreen.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TKingdomPtr Kingdom;

decltype(TKingdomSettings::BuildingsQ) TKingdomSettings::BuildingsQ = {
    5,  22, 1,  12,  //
    19, 15, 2,  10,  //
    14, 16, 13, 20,  //
    3,  4,  11, 6,   //
    9,  17, 21, 26,  //
    7,  8,  23, 24,  //
    25, 18, 27, 28,
};

std::vector<TGameObjectPtr> TKingdom::AllSubObjects;
std::shared_ptr<TAppSound> TKingdom::ConstrSnd;
std::vector<std::shared_ptr<TKingdomAnimObj>> TKingdom::AllKingdomAnims;
std::array<std::shared_ptr<TImageAsset>, 28> TKingdom::ObjectsIcons;
std::shared_ptr<TImageAsset> TKingdom::ObjectsIconWait;

namespace {

constexpr int KingdomMainId = 1001, BuildingsId = 1002;
constexpr int KeyC = 67;
constexpr float HideInStep = 0.05f;   // the interface fades out in 20 frames
constexpr float HideOutStep = 0.02f;  // and back in 50
constexpr float SnapCrumb = 0.0001f;

// The extras of each building, in order.
struct BuildingExtras {
    int id;
    std::vector<int> extras;
};
const std::vector<BuildingExtras>& ExtrasTable() {
    static const std::vector<BuildingExtras> table = {
        {5, {3012}},        {13, {3003, 3002}}, {14, {3011, 3013}},
        {16, {3004}},       {17, {3001, 3014}}, {19, {3009, 3010}},
        {20, {3007, 3008}}, {21, {3005, 3006}}, {25, {4001, 4002, 4003, 4004}},
    };
    return table;
}

// Buildings whose construction sends walkers away.
struct BuildingTies {
    std::vector<int> buildings;
    std::vector<std::string> walkers;
};
const std::vector<BuildingTies>& TiesTable() {
    static const std::vector<BuildingTies> table = {
        {{7, 11}, {"Walker9"}},
        {{16, 18, 25}, {"Walker10"}},
        {{2, 10}, {"Walker11"}},
        {{13}, {"Walker10", "Walker11"}},
    };
    return table;
}

template <class T>
std::shared_ptr<T> As(const TGameObjectPtr& obj) {
    return std::dynamic_pointer_cast<T>(obj);
}

TGameObjectPtr FindIn(const TGameObjectPtr& parent, const std::string& name) {
    return parent ? parent->FindObject(name) : nullptr;
}

// The direct children of an object that are game objects, in order.
std::vector<TGameObjectPtr> GameChildren(const TGameObjectPtr& obj) {
    std::vector<TGameObjectPtr> out;
    if (!obj) return out;
    for (const auto& sub : obj->SubObjects)
        if (auto go = std::dynamic_pointer_cast<TGameObject>(sub)) out.push_back(go);
    return out;
}

// Every game object below an object, at any depth.
void MarkUpdatedWithDraw(const TGameObjectPtr& obj) {
    if (!obj) return;
    for (const auto& sub : obj->GetAllSubObjects())
        if (sub) sub->isUpdatedWithDraw = 1;
}

void ShowAtOnce(TKingdomAnimObj& anim) {
    if (anim.HasPlace() == 0) {
        anim.Disable();
        anim.da = anim.a = 0;
        return;
    }
    anim.Enable();
    anim.da = anim.a = 1;
    anim.SetA(1);
}

void HideAtOnce(TKingdomAnimObj& anim) {
    anim.Disable();
    anim.da = anim.a = 0;
    anim.SetA(0);
}

void SetTextOf(const std::shared_ptr<TUIText>& text, const std::string& value) {
    if (text) text->SetText(value);
}

}  // namespace

TKingdom::TKingdom() {
    Package = CreateEngParticlePackage(2000);
    MoneyVar = CreateAppVar("Money", 2, 2);
}

int TKingdom::CurrentStage() {
    if (!Profile) return 0;
    return std::clamp(Profile->BuildingStage, 0, StageCount - 1);
}

std::shared_ptr<TKingdomObject> TKingdom::OfferedBuilding(int stage, int slot) {
    if (stage < 0 || stage >= StageCount || slot < 0 || slot >= SlotCount) return nullptr;
    const int offer = SlotCount * stage + slot;
    return GetKingdomObject(BuildingsQ[static_cast<size_t>(offer)]);
}

// ---------------------------------------------------------------------------------------------
// Set-up

int TKingdom::OnSetup() {
    SetupCheats();
    SetupIcons();
    SetupShortcuts();
    SetupBuildingObjects();
    SetupBuildingHideObjects();
    SetupSubObjects();
    SetupKingdomObjects();
    SetupUpperUI();
    SetupAnims();
    SetupAnimsToBuildings();
    SetupBackground();
    SetupHammerEffect();
    SetupSounds();
    return 0;
}

int TKingdom::SetupCheats() {
    ButtonNext = As<TUIButton>(FindObject("Play"));
    return 0;
}

int TKingdom::SetupIcons() {
    ObjectsIconWait = LoadImageAsset(bDir + "Screens/Kingdom/icon1.png", 0, 0, 0);
    for (int k = 1; k <= static_cast<int>(ObjectsIcons.size()); ++k)
        ObjectsIcons[static_cast<size_t>(k - 1)] =
            LoadImageAsset(bDir + "Screens/Kingdom/Gfx-Icons/Icon-" + std::to_string(k) + ".png", 0, 0, 0);
    return 0;
}

int TKingdom::SetupShortcuts() {
    KingdomMain = FindObjectInd(KingdomMainId);
    return 0;
}

int TKingdom::SetupBuildingObjects() {
    for (int i = 0; i < SlotCount; ++i) {
        const std::string n = std::to_string(i + 1);
        auto slot = std::make_shared<TKingdomBuildButton>();
        slot->Obj = FindObject("BuildingObject" + n);
        slot->Icon = As<TUIImage>(FindObject("Image-Building-" + n));
        slot->Button = As<TUIButton>(FindIn(slot->Obj, "Button"));
        slot->Done = As<TUIImage>(FindIn(slot->Obj, "Done"));
        slot->Price = As<TUIText>(FindIn(slot->Obj, "Price"));
        slot->PriceBack = As<TUIImage>(FindIn(slot->Obj, "PriceBackImage"));
        slot->TheButtonN = i;
        BuildButton[static_cast<size_t>(i)] = slot;
    }
    return 0;
}

int TKingdom::SetupBuildingHideObjects() {
    for (int i = 0; i < SlotCount; ++i) {
        auto twin = std::make_shared<TKingdomHideBuildButton>();
        twin->Obj = FindObject("BuildingObject" + std::to_string(i + 1) + "H");
        twin->Button = BuildButton[static_cast<size_t>(i)]->Button;
        twin->TheButtonN = i;
        BuildHideButton[static_cast<size_t>(i)] = twin;
    }
    return 0;
}

int TKingdom::SetupSubObjects() {
    AllSubObjects.clear();
    for (int objectId : {3000, 4000})
        for (const auto& extra : GameChildren(FindObjectInd(objectId))) AllSubObjects.push_back(extra);
    return 0;
}

int TKingdom::SetupKingdomObjects() {
    TKingdomBuildButton::ClassCantAfford = AppClassManager::GetTextClass("KingdomPriceCantAfford");
    TKingdomBuildButton::ClassNormal = AppClassManager::GetTextClass("KingdomPriceNormal");
    TKingdomBuildButton::RibbonNormal = LoadImageAsset(bDir + "Screens/Kingdom/Ribbon.png", 0, 0, 0);
    TKingdomBuildButton::RibbonCantAfford = LoadImageAsset(bDir + "Screens/Kingdom/RibbonCantAfford.png", 0, 0, 0);
    AllKingdomObjects.clear();
    int line = 1;
    for (const auto& obj : GameChildren(FindObjectInd(BuildingsId))) {
        auto building = std::make_shared<TKingdomObject>();
        building->id = obj->id;
        building->GameObject = obj;
        obj->UpdateSettings();
        obj->UpdateSubObjectsSettings();
        building->name = GetTxt(line);
        building->opis = GetTxt(line + 1);
        // A price that is missing or not a number reads as 0.
        building->cena = StringToInt(Trim(GetTxt(line + 2)));
        line += 3;
        if (building->id >= 1 && building->id <= static_cast<int>(ObjectsIcons.size()))
            building->Icon = ObjectsIcons[static_cast<size_t>(building->id - 1)];
        for (const auto& row : ExtrasTable()) {
            if (row.id != building->id) continue;
            for (int extra : row.extras)
                if (auto sub = GetKingdomSubObject(extra)) building->SubObjects.push_back(sub);
        }
        building->Init();
        AllKingdomObjects.push_back(building);
    }
    // The progress is handed the ids of the buildings there are, so that reading a player drops
    // ids that name none (the players are read after every screen is set up).
    std::vector<int> ids;
    ids.reserve(AllKingdomObjects.size());
    for (const auto& building : AllKingdomObjects) ids.push_back(building->id);
    SetKnownBuildingIds(std::move(ids));
    return 0;
}

int TKingdom::SetupUpperUI() {
    UIUp = FindObject("UpUI");
    UIDown = FindObject("DownUI");
    auto panel = FindIn(UIUp, "Panel");
    MenuButton = As<TUIButton>(FindIn(panel, "Menu"));
    HideButton = As<TUIButton>(FindIn(panel, "Hide"));
    MoneyText = As<TUIText>(FindIn(panel, "Money"));
    LevelText = As<TUIText>(FindIn(panel, "Level"));
    StarsText = As<TUIText>(FindIn(panel, "Stars"));
    InfoText = As<TUIText>(FindObject("InfoText"));
    return 0;
}

int TKingdom::SetupAnims() {
    AllKingdomAnims.clear();
    TGameObject* parent = KingdomMain.get();
    const std::string anims = bDir + "Screens/Kingdom/Anims/";
    auto add = [](const std::shared_ptr<TKingdomAnimObj>& anim) { AllKingdomAnims.push_back(anim); };
    add(CreateRabbit("Rabbit1", {}, anims + "Rabbit.AnimData", 1, -64, 713, parent, 10));
    add(CreateBird("Crow1", {}, anims + "Crow.AnimData", -64, 300, parent, 100, 1));
    add(CreateAnimal("Sheep1", {5}, anims + "Sheep.AnimData", 1071, 119, parent, 10));
    add(CreateHuman("Farmer1", {12}, anims + "Farmer.AnimData", 284, 400, parent, 10));
    add(CreateAnimal("Cow1", {20}, anims + "Cow.AnimData", 700, 667, parent, 10));
    add(CreateAnimal("Pig1", {19}, anims + "Pig.AnimData", 939, 629, parent, 10));
    add(CreateHuman("Farmer1", {10}, anims + "Farmer.AnimData", 361, 300, parent, 10));

    const auto walking = LoadAnimObject(bDir + "screens/Kingdom/Anims/FarmerWalking.AnimData", 6);
    struct Walker {
        std::vector<int> conditions;
        float speed;
        int hideByConditions;
    };
    const Walker walkers[] = {
        {{7}, 0.001f, 0},  {{18}, 0.002f, 0},         {{21}, 0.0015f, 0},       {{5}, 0.001f, 0},
        {{2}, 0.0015f, 0}, {{22}, 0.002f, 0},         {{11}, 0.002f, 0},        {{28}, 0.002f, 0},
        {{11}, 0.002f, 1}, {{18, 16, 25}, 0.002f, 1}, {{2, 10, 13}, 0.002f, 1},
    };
    int n = 1;
    for (const auto& walker : walkers) {
        TDimArray route = LoadDimArray(bDir + "screens/Kingdom/MoveArray-" + std::to_string(n) + ".txt");
        MoveDimArray(route, RouteShiftX, 0);
        add(CreateWalkingHuman("Walker" + std::to_string(n), walker.conditions, walking, route, parent, 10,
                               walker.speed, walker.hideByConditions));
        ++n;
    }
    return 0;
}

int TKingdom::SetupAnimsToBuildings() {
    std::vector<std::pair<std::string, std::shared_ptr<TKingdomAnimObj>>> named;
    for (const char* objectName : {"Walker9", "Walker10", "Walker11"})
        named.emplace_back(objectName, As<TKingdomAnimObj>(FindObject(objectName)));
    auto find = [&named](const std::string& objectName) {
        for (const auto& [n, anim] : named)
            if (n == objectName) return anim;
        return std::shared_ptr<TKingdomAnimObj>();
    };
    for (const auto& building : AllKingdomObjects) {
        building->isUpdatedWithDraw = 1;
        for (const auto& row : TiesTable()) {
            if (std::find(row.buildings.begin(), row.buildings.end(), building->id) == row.buildings.end()) continue;
            for (const auto& walker : row.walkers)
                if (auto anim = find(walker)) building->ObjectsToHide.push_back(anim);
        }
    }
    return 0;
}

int TKingdom::SetupBackground() {
    for (const char* objectName : {"TreesFirst", "Trees"}) MarkUpdatedWithDraw(FindObject(objectName));
    return 0;
}

int TKingdom::SetupSounds() {
    ConstrSnd = CreateAppSound(bDir + "Sound/sfx/construction.ogg", 0, 0);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Entering and leaving

int TKingdom::OnPrepare() {
    HideTime = 0;
    PrepareProfile();
    PrepareBuildings();
    PrepareSmokes();
    PrepareBuildButtons();
    PrepareAnims();
    PrepareAnimsToHide();
    PrepareUI();
    // Entering the kingdom is one of the points at which progress is saved.
    if (Profiles) Profiles->SaveAtEnd();
    PrepareData();
    return 0;
}

int TKingdom::PrepareProfile() {
    if (!Profile) return 0;
    Profile->CurrScreen = name;
    Profile->Level = std::min(Profile->Level, 100);
    // The profile keeps the ids it read; those that name no building here (a damaged file) are
    // forgotten, so that the save made on entering does not carry them on.
    if (!AllKingdomObjects.empty())
        std::erase_if(Profile->Buildings, [](int objectId) { return GetKingdomObject(objectId) == nullptr; });
    return 0;
}

int TKingdom::PrepareBuildings() {
    for (const auto& building : AllKingdomObjects) {
        if (Profile && Profile->Kingdom_HaveObject(building->id) != 0) building->ShowNow();
        else building->HideNow();
    }
    return 0;
}

int TKingdom::PrepareSmokes() {
    for (const auto& extra : AllSubObjects)
        if (extra) extra->Disable();
    // A shown building brings its own extras back.
    for (const auto& building : AllKingdomObjects)
        if (building->dAlpha > 0) building->Show();
    return 0;
}

int TKingdom::PrepareBuildButtons() {
    const int stage = CurrentStage();
    for (int i = 0; i < SlotCount; ++i) {
        auto& slot = BuildButton[static_cast<size_t>(i)];
        auto& twin = BuildHideButton[static_cast<size_t>(i)];
        if (!slot || !twin) continue;
        auto building = OfferedBuilding(stage, i);
        slot->SetObject(building);
        // A slot whose building the screen file lacks offers nothing.
        if (!building) {
            slot->HideNow();
            twin->HideNow();
        } else if (Profile && Profile->Kingdom_HaveObject(building->id) != 0) {
            slot->HideNow();
            twin->Show(i);
        } else {
            slot->Show(i);
            twin->HideNow();
        }
    }
    return 0;
}

int TKingdom::PrepareAnims() {
    std::vector<std::shared_ptr<TKingdomAnimObj>> checks;
    for (const auto& anim : AllKingdomAnims) {
        if (!anim) continue;
        if (anim->HideByConditions != 0) checks.push_back(anim);
        else anim->Disable();
    }
    for (const auto& anim : AllKingdomAnims) {
        if (!anim || anim->HideByConditions != 0) continue;
        const bool all = std::all_of(anim->Conditions.begin(), anim->Conditions.end(),
                                     [this](int objectId) { return isObjectAvailable(objectId) != 0; });
        if (all) ShowAtOnce(*anim);
    }
    for (const auto& anim : checks) CheckAnimDisappear(anim);
    return 0;
}

int TKingdom::CheckAnimDisappear(const std::shared_ptr<TKingdomAnimObj>& anim) {
    if (!anim) return 0;
    const bool any = std::any_of(anim->Conditions.begin(), anim->Conditions.end(),
                                 [this](int objectId) { return isObjectAvailable(objectId) != 0; });
    if (any) HideAtOnce(*anim);
    else ShowAtOnce(*anim);
    return 0;
}

int TKingdom::PrepareAnimsToHide() { return KeepTiedAnimsAway(nullptr); }

int TKingdom::KeepTiedAnimsAway(const std::shared_ptr<TKingdomObject>& except) {
    if (!Profile) return 0;
    for (int objectId : Profile->Buildings) {
        auto building = GetKingdomObject(objectId);
        if (!building || building == except) continue;
        for (const auto& anim : building->ObjectsToHide)
            if (anim) anim->Disable();
    }
    return 0;
}

int TKingdom::PrepareUI() {
    for (const auto& root : {UIUp, UIDown}) {
        if (!root) continue;
        for (const auto& obj : root->GetAllSubObjects())
            if (obj) obj->UpdateSettings();
    }
    return 0;
}

int TKingdom::PrepareData() {
    Hide = 0;
    dHide = 0;
    if (!Profile) return 0;
    Profile->Game_CountSummaryDatas();
    MoneyVar->SetBoth(static_cast<float>(Profile->Score));
    SetTextOf(MoneyText, std::to_string(Profile->Score));
    SetTextOf(LevelText, std::to_string(Profile->Level));
    SetTextOf(StarsText, std::to_string(Profile->Stars));
    return 0;
}

int TKingdom::OnLeave() { return Tutorial::Clear(); }

// ---------------------------------------------------------------------------------------------
// Frame

int TKingdom::OnUpdate() {
    if (Profile && Profile->KingdomTutorialScreenShowed == 0) {
        Profile->KingdomTutorialScreenShowed = 1;
        if (KingdomHelpScreen) ShowAppPopUp(KingdomHelpScreen);
    }
    UpdateHide();
    UpdateBuildings();
    UpdateButtons();
    UpdateVars();
    return 0;
}

int TKingdom::UpdateObjects() {
    if (ActivePopUps.empty()) return TAppScreen::UpdateObjects();
    DropButtonHolds();
    // Far off any picture, in either direction.
    constexpr int kPointerAway = -1000000;
    const int x = Mouse::x, y = Mouse::y;
    Mouse::x = Mouse::y = kPointerAway;
    TAppScreen::UpdateObjects();
    Mouse::x = x;
    Mouse::y = y;
    return 0;
}

int TKingdom::UpdateHide() {
    if (HideTime != 0 && AppMilliSecs() > HideTime) {
        dHide = 0;
        HideTime = 0;
    }
    if (HideTime != 0) dHide = 1;
    if (Hide < dHide) {
        Hide = std::min(Hide + HideInStep * delta, dHide);
    } else if (Hide > dHide) {
        Hide = std::max(Hide - HideOutStep * delta, dHide);
    }
    // Fifty steps of 0.02 leave a rounding crumb above 0: the fade ends on its last step.
    if (std::fabs(Hide - dHide) < SnapCrumb) Hide = dHide;
    if (UIUp) UIUp->SetA(1 - Hide);
    if (UIDown) UIDown->SetA(1 - Hide);
    if (InfoText) InfoText->SetA(HideText == 1 ? 0.0f : Hide);
    return 0;
}

int TKingdom::UpdateBuildings() {
    bool building = false;
    for (const auto& b : AllKingdomObjects) {
        b->UpdateObject();
        if (b->isNotBeeingBuild() == 0) building = true;
    }
    if (building) return 0;
    // Awards are handed out between constructions, at most one a frame: one earned by a purchase
    // comes up once its building stands. Handing it over records it, so it is not due again.
    auto due = CheckAwards(this);
    if (!due.empty() && GiveAward) {
        GiveAward->SetAward(due.front());
        ShowAppPopUp(GiveAward);
    }
    return 0;
}

int TKingdom::UpdateButtons() {
    bool all = true;
    for (int i = 0; i < SlotCount; ++i) {
        auto& slot = BuildButton[static_cast<size_t>(i)];
        auto& twin = BuildHideButton[static_cast<size_t>(i)];
        if (slot) slot->Update();
        if (twin) twin->Update();
        if (!slot || slot->isHidden() == 0) all = false;
    }
    if (all) GoNextBuildingStep();
    return 0;
}

int TKingdom::DropButtonHolds() {
    for (const auto& button : {ButtonNext, MenuButton, HideButton})
        if (button) button->isHold = 0;
    for (const auto& slot : BuildButton)
        if (slot && slot->Button) slot->Button->isHold = 0;
    return 0;
}

int TKingdom::UpdateVars() {
    if (!Profile) return 0;
    MoneyVar->SetDValue(static_cast<float>(Profile->Score));
    MoneyVar->update();
    SetTextOf(MoneyText, std::to_string(static_cast<int>(MoneyVar->Value())));
    return 0;
}

int TKingdom::Interface() {
    if (dHide == 1) {
        if (Mouse::LeftPressed != 0) {
            dHide = 0;
            DropButtonHolds();
            Mouse::Clear();
        }
        return 0;
    }
    if (CheatsOn != 0 && KeyHit(KeyC) != 0 && Profile) Profile->Score += 50000;
    if (Hide != dHide) return 0;
    if (ButtonNext && ButtonNext->isClick != 0) GoNext();
    if (MenuButton && MenuButton->isClick != 0) GoMenu();
    if (HideButton && HideButton->isClick != 0) GoHide();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Drawing

int TKingdom::OnDraw() {
    DrawKingdomObjects();
    DrawEngPackage(Package);
    DrawKingdomObjectsHammers();
    return 0;
}

int TKingdom::DrawKingdomObjects() {
    for (const auto& building : AllKingdomObjects) building->DrawMe();
    return 0;
}

int TKingdom::DrawKingdomObjectsHammers() {
    for (const auto& building : AllKingdomObjects) building->DrawHammers();
    return 0;
}

int TKingdom::DrawDebug() {
    auto label = [](const std::string& text, int x, int y, int r, int g, int b) {
        ResetDrawState();
        SetColor(0, 0, 0);
        for (int dx : {-1, 1})
            for (int dy : {-1, 1}) DrawText(text, static_cast<float>(x + dx), static_cast<float>(y + dy));
        SetColor(r, g, b);
        DrawText(text, static_cast<float>(x), static_cast<float>(y));
    };
    for (const auto& building : AllKingdomObjects) {
        if (!building->GameObject || building->GameObject->isEnabled == 0) continue;
        label(std::to_string(building->id), static_cast<int>(building->GameObject->DrawX + 64),
              static_cast<int>(building->GameObject->DrawY + 64), 255, 255, 255);
    }
    for (const auto& extra : AllSubObjects) {
        if (!extra || extra->isEnabled == 0) continue;
        label(std::to_string(extra->id - 3000), static_cast<int>(extra->DrawX), static_cast<int>(extra->DrawY), 255, 0,
              255);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Buttons and buying

int TKingdom::GoNext() {
    GoToScreen(StagesScreen, nullptr);
    return 0;
}

int TKingdom::GoMenu() {
    GoToScreen(MainMenu, nullptr);
    return 0;
}

int TKingdom::GoHide() {
    dHide = 1;
    HideText = 0;
    return 0;
}

int TKingdom::GoNextBuildingStep() {
    if (!Profile || Profile->BuildingStage >= StageCount - 1) return 0;
    // A stage from outside the table goes on from the nearest one.
    Profile->BuildingStage = CurrentStage() + 1;
    PrepareBuildButtons();
    return 0;
}

int TKingdom::CanAfford(const std::shared_ptr<TKingdomObject>& building) {
    if (!building || !Profile) return 0;
    return building->cena <= Profile->Score ? 1 : 0;
}

int TKingdom::BuyObject(const std::shared_ptr<TKingdomObject>& building) {
    if (CanAfford(building) == 0) return 0;
    BuildObject(building->id);
    building->OnBuild();
    Profile->Score -= building->cena;
    Profile->CashSpend += building->cena;
    return 1;
}

int TKingdom::BuildObject(int objectId) {
    auto building = GetKingdomObject(objectId);
    if (!building) return 0;
    building->ShowUp();
    building->ResetAlpha();
    dHide = 1;
    HideText = 1;
    HideTime = AppMilliSecs() + BuildViewMs;
    if (Profile) Profile->Kingdom_AddObject(building->id);
    PrepareAnims();
    // Walkers that earlier buildings sent away stay away; this one's leave by fading (OnBuild).
    KeepTiedAnimsAway(building);
    if (ConstrSnd) ConstrSnd->Play(1, -1, 0.05f);
    return 0;
}

TGameObjectPtr TKingdom::GetKingdomSubObject(int objectId) {
    for (const auto& extra : AllSubObjects)
        if (extra && extra->id == objectId) return extra;
    return nullptr;
}

int TKingdom::isObjectAvailable(int objectId) {
    auto building = GetKingdomObject(objectId);
    if (!building || !Profile) return 0;
    return Profile->Kingdom_HaveObject(building->id);
}

TKingdomPtr CreateKingdomScreen() {
    auto screen = std::make_shared<TKingdom>();
    screen->Init("Kingdom", bDir + "Screens/Kingdom/Kingdom.AppScreen");
    return screen;
}
