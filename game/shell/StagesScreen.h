// The stages map: the screen from which the player picks the level to play. One tall picture of
// the land (the object with id 100), scrolled vertically, carries a thumbnail per level at its
// point (the sub-objects of object 1001, by level number; MiniLevel.h). "Next" (id 1) plays the
// current level, "AwardsButton" (id 11) opens the awards pop-up, a click on an open thumbnail
// plays that level; the upper panel "Panel" shows the player's stars, money and level ("Stars",
// "Money", "Level"; "LevelText" and "ScoreText" are labels).
//
// Each time the map is prepared it scrolls smoothly from where the player left it to the current
// level while a two-coloured trail flies from the thumbnail that was current (or clicked) at the
// previous visit to the current one; the first time a player ever sees the map it slowly pans
// over the whole of it instead. The mouse wheel scrolls the map when it is still.
#pragma once
#include <memory>
#include <vector>

#include "engine/screen/AppScreen.h"

class TEngParticlePackage;
class TMiniLevel;
class TUIButton_Light;
class TUIImage;
class TUIText;

class StagesScreenSettings : public TAppScreen {
public:
    static constexpr int MapHeight = 3328;          // the map's y runs from -MapHeight to 0
    static constexpr float MapScrollSpeed = 32.0f;  // pixels per unit of wheel movement
    static constexpr float MaxMapShowSpeed = 0.0025f;
};

class TStagesScreen : public StagesScreenSettings {
public:
    std::shared_ptr<TEngParticlePackage> Package;   // every effect of the map
    std::shared_ptr<TEngParticlePackage> Package2;  // drawn over it (nothing emits into it)
    TGameObjectPtr Map;                             // id 100
    std::shared_ptr<TUIButton_Light> NextButton;    // "Next"
    std::shared_ptr<TUIImage> NextBack;
    std::shared_ptr<TUIButton_Light> AwardsButton;  // "AwardsButton"
    std::shared_ptr<TUIImage> AwardsBack;
    std::shared_ptr<TUIImage> UpperPanel;  // "Panel"
    std::shared_ptr<TUIText> ObjStars, ObjMoney, ObjLevel, ObjLevelText, ObjScoreText;
    std::vector<std::shared_ptr<TMiniLevel>> Levels;  // in the order of the thumbnails' file
    std::shared_ptr<TMiniLevel> CurrLevel;            // the profile's current level's thumbnail
    std::shared_ptr<TMiniLevel> LastLevel;            // where the level-switch trail starts; null: none
    float LevelSwitchPer = 0;
    float MapShowPer = 0;
    float MapShowSpeed = 0;
    int MapShow = 0;    // 1 while the first-time pan runs
    int MapScroll = 0;  // 1 while the map scrolls to the current level
    float MapStartY = 0, MapDestY = 0;
    float SPer = 0;
    std::shared_ptr<TMiniLevel> OverLevel;  // the thumbnail under the mouse
    int SwitchParticleTime = 0;
    float LastLevelSwitchPer = 0;

    TStagesScreen();

    int OnSetup() override;
    int OnDraw() override;
    int OnUpdate() override;
    int OnPrepare() override;
    int OnLeave() override;
    int Interface() override;

    virtual int SetupShortcuts();
    virtual int SetupMiniLevels();
    virtual int SetupClouds() { return 0; }
    virtual int SetUIAlpha(float a);
    virtual int DEBUG_DrawLevels();
    virtual int DrawLevelMinis();
    virtual int DrawUpperPanel();
    virtual int UpdateLevels();
    virtual int UpdateMapScrollAnimation();
    virtual int UpdateMoveTo();
    virtual int UpdateLevelSwitch();
    virtual int PrepareProfile();
    // Marks every thumbnail locked, open, passed or current from the profile. The current one is
    // the thumbnail whose Id is the profile's level; when there is none, no thumbnail is current
    // and the map does not scroll to one.
    virtual int PrepareLevels();
    virtual int PrepareScrollForNext();
    virtual int PrepareMapScroll();
    virtual int PrepareClouds() { return 0; }
    virtual int PrepareData();
    // The map's y brought into -MapHeight .. 0.
    virtual int CheckScrollPosition();
    virtual int GoNextLevel();
    virtual int GoAwards();
    virtual int PlayLevel(const std::shared_ptr<TMiniLevel>& level);
    // 1 while the pointer is over Play or Awards (their backings): no thumbnail reacts there.
    int isPointerOnButton();
};

using TStagesScreenPtr = std::shared_ptr<TStagesScreen>;

extern TStagesScreenPtr StagesScreen;

// A new screen registered with Control as "Stages", file bDir + "Screens/Stages/Stages.AppScreen".
TStagesScreenPtr CreateStagesScreen();
