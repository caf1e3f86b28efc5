// The kingdom screen, where the score buys buildings stage by stage and creatures live.
//
// After each won level the player comes here: the upper panel shows the money (the profile's
// score), the level and the stars; the lower panel offers the four buildings of the current
// building stage. Buying one hides the interface while the building fades in under hammers and
// dust; when all four of a stage are owned, the next four are offered. "Hide" fades the
// interface out for a full view of the kingdom, a click brings it back. Creatures come and go
// with the buildings (KingdomAnims.h).
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "game/kingdom/KingdomButtons.h"

class TEngParticlePackage;
class TAppVar;
class TAppSound;
class TImageAsset;
class TUIButton;
class TUIText;
class TKingdomObject;
class TKingdomAnimObj;

// The layer between the engine's screen and the kingdom: the order in which buildings are
// offered, four to a stage.
class TKingdomSettings : public TAppScreen {
public:
    static constexpr int StageCount = 7;
    static constexpr int SlotCount = 4;
    // Building ids in the order of their offer: stage s offers entries 4s to 4s + 3.
    static std::array<int, StageCount * SlotCount> BuildingsQ;
};

class TKingdom : public TKingdomSettings {
public:
    std::shared_ptr<TEngParticlePackage> Package;  // the building dust
    std::array<std::shared_ptr<TKingdomBuildButton>, SlotCount> BuildButton;
    std::array<std::shared_ptr<TKingdomHideBuildButton>, SlotCount> BuildHideButton;
    std::shared_ptr<TUIButton> ButtonNext;  // "Play": on to the stages map
    TGameObjectPtr UIUp;                    // "UpUI"
    TGameObjectPtr UIDown;                  // "DownUI"
    std::shared_ptr<TUIButton> MenuButton;
    std::shared_ptr<TUIButton> HideButton;
    std::shared_ptr<TUIText> MoneyText;
    std::shared_ptr<TUIText> LevelText;
    std::shared_ptr<TUIText> StarsText;
    std::shared_ptr<TUIText> InfoText;  // the hint shown while the player views the kingdom
    TGameObjectPtr KingdomMain;         // id 1001: the creatures' parent
    float Hide = 0;                     // how far the interface is faded out, 0 shown to 1 hidden
    float dHide = 0;                    // the target of Hide, 0 or 1
    int HideTime = 0;                   // application ms at which a building view ends at the latest; 0 none
    int HideText = 0;                   // 1 while the hidden interface belongs to a building view
    std::shared_ptr<TAppVar> MoneyVar;  // the money shown, counting toward the score

    // One set for the program.
    static std::vector<TGameObjectPtr> AllSubObjects;  // the buildings' extras (ids 3000, 4000)
    // The buildings themselves are AllKingdomObjects (KingdomObject.h).
    static std::shared_ptr<TAppSound> ConstrSnd;
    static std::vector<std::shared_ptr<TKingdomAnimObj>> AllKingdomAnims;  // the creatures
    static std::array<std::shared_ptr<TImageAsset>, 28> ObjectsIcons;      // building id k at k - 1
    static std::shared_ptr<TImageAsset> ObjectsIconWait;

    // A walk-path file moved by this many pixels to the right: the paths are given in the
    // 1024-wide picture, the creatures live in the 1366-wide scene.
    static constexpr float RouteShiftX = 171;
    // The longest a building view hides the interface.
    static constexpr int BuildViewMs = 60000;

    TKingdom();

    int OnSetup() override;
    int OnPrepare() override;
    int OnLeave() override;
    int OnDraw() override;
    int OnUpdate() override;
    // The click that brings the hidden interface back does only that: its press is dropped from
    // every button and card under it and the button reads as up until pressed again, so its
    // release buys nothing and presses nothing.
    int Interface() override;
    // While a pop-up stands over the kingdom (its help, an award), the kingdom's own buttons (the
    // cards, Hide, Play and Menu) take no hover and no click: the scene is updated as though the
    // pointer were off the picture, and a press begun on one of them before is dropped (let go
    // under the pop-up, it would complete as a click).
    int UpdateObjects() override;
    // A press begun on one of the kingdom's own buttons is dropped: it completes as no click.
    virtual int DropButtonHolds();

    // ---- Set-up ----
    virtual int SetupCheats();
    virtual int SetupIcons();
    virtual int SetupShortcuts();
    virtual int SetupBuildingObjects();
    virtual int SetupBuildingHideObjects();
    virtual int SetupKingdomObjects();
    virtual int SetupSubObjects();
    virtual int SetupUpperUI();
    virtual int SetupAnims();
    virtual int SetupAnimsToBuildings();
    virtual int SetupBackground();
    virtual int SetupSounds();

    // ---- Drawing ----
    // Every building's id (and every extra's) over it: a developer's aid, not drawn normally.
    virtual int DrawDebug();
    virtual int DrawKingdomObjects();
    virtual int DrawKingdomObjectsHammers();

    // ---- Frame ----
    virtual int UpdateButtons();
    virtual int UpdateHide();
    virtual int UpdateVars();
    // Every building's update; while none is being built, the first award due for the kingdom
    // is handed to the award pop-up.
    virtual int UpdateBuildings();

    // ---- Preparing ----
    virtual int PrepareBuildings();
    virtual int PrepareSmokes();
    virtual int PrepareBuildButtons();
    virtual int PrepareProfile();
    virtual int PrepareData();
    virtual int PrepareAnims();
    virtual int PrepareAnimsToHide();
    virtual int PrepareUI();
    virtual int CheckAnimDisappear(const std::shared_ptr<TKingdomAnimObj>& anim);

    // ---- Actions ----
    virtual int GoNext();
    virtual int GoMenu();
    virtual int GoHide();
    virtual int GoNextBuildingStep();
    // 1 when the building's price is not above the score.
    virtual int CanAfford(const std::shared_ptr<TKingdomObject>& building);
    // Buys the building when affordable: 1 bought, 0 not.
    virtual int BuyObject(const std::shared_ptr<TKingdomObject>& building);
    // Starts putting up the building with that id (owned from then on).
    virtual int BuildObject(int id);
    virtual TGameObjectPtr GetKingdomSubObject(int id);
    // 1 when the profile owns the building with that id.
    virtual int isObjectAvailable(int id);

    // The current building stage, brought into 0..6 (the profile's may come from anywhere).
    static int CurrentStage();
    // The building offered in a slot of a stage (null when the stage table names none).
    static std::shared_ptr<TKingdomObject> OfferedBuilding(int stage, int slot);

private:
    // Walkers sent away by buildings owned before `except` stay away.
    int KeepTiedAnimsAway(const std::shared_ptr<TKingdomObject>& except);
};

using TKingdomPtr = std::shared_ptr<TKingdom>;

extern TKingdomPtr Kingdom;

// A new screen registered with Control as "Kingdom", file bDir + "Screens/Kingdom/Kingdom.AppScreen".
TKingdomPtr CreateKingdomScreen();
