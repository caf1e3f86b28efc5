#include "game/shell/StagesScreen.h"

#include <cmath>

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/EngParticle.h"
#include "game/effects/Recipes.h"
#include "game/progress/Profile.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/AwardScreen.h"
#include "game/shell/MiniLevel.h"
#include "game/shell/ProfileManager.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Random.h"
#include "platform/Strings.h"

TStagesScreenPtr StagesScreen;

namespace {

constexpr int MapId = 100, PointsId = 1001, NextId = 1, AwardsId = 11;
constexpr float MapX = -171.0f;
constexpr float ScreenMiddleY = 384.0f;
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
// The level-switch trail: its swing (degrees per unit of progress) and its width in pixels.
constexpr double SwingA = 720.0, SwingB = 16.0;

template <class T>
std::shared_ptr<T> As(const TGameObjectPtr& object) {
    return std::dynamic_pointer_cast<T>(object);
}

}  // namespace

TStagesScreen::TStagesScreen() : Package(CreateEngParticlePackage(1500)), Package2(CreateEngParticlePackage(500)) {}

int TStagesScreen::OnSetup() {
    SetupShortcuts();
    SetupMiniLevels();
    SetupClouds();
    return 0;
}

int TStagesScreen::SetupShortcuts() {
    Map = FindObjectInd(MapId);
    NextButton = As<TUIButton_Light>(FindObject("Next"));
    NextBack = As<TUIImage>(FindObject("NextBack"));
    AwardsButton = As<TUIButton_Light>(FindObject("AwardsButton"));
    AwardsBack = As<TUIImage>(FindObject("AwardsBack"));
    UpperPanel = As<TUIImage>(FindObject("Panel"));
    if (UpperPanel) {
        ObjStars = As<TUIText>(UpperPanel->FindObject("Stars"));
        ObjMoney = As<TUIText>(UpperPanel->FindObject("Money"));
        ObjLevel = As<TUIText>(UpperPanel->FindObject("Level"));
        ObjLevelText = As<TUIText>(UpperPanel->FindObject("LevelText"));
        ObjScoreText = As<TUIText>(UpperPanel->FindObject("ScoreText"));
    }
    return 0;
}

int TStagesScreen::SetupMiniLevels() {
    Levels = LoadMiniLevels(GetPath(), FindObjectInd(PointsId), isFileDamaged != 0);
    return 0;
}

int TStagesScreen::OnPrepare() {
    Package->Clear();
    PrepareProfile();
    PrepareLevels();
    PrepareMapScroll();
    PrepareClouds();
    PrepareData();
    if (Profiles) Profiles->SaveAtEnd();
    ResetDelta();
    return 0;
}

int TStagesScreen::PrepareProfile() {
    if (Map && Profile) {
        Map->SetPosition(MapX, static_cast<float>(Profile->MapY));
        Map->UpdateAllTheSettings();
    }
    if (Profile) Profile->CurrScreen = "Stages";
    return 0;
}

int TStagesScreen::PrepareLevels() {
    LastLevel = CurrLevel;
    LevelSwitchPer = 0;
    LastLevelSwitchPer = 0;
    std::shared_ptr<TMiniLevel> current;
    for (auto& mini : Levels) {
        mini->isUnlocked = 0;
        mini->State = 1;
        mini->isCurrent = 0;
        if (!Profile) continue;
        if (Profile->isLevelAvailableToPlay(mini->Id)) mini->isUnlocked = 1;
        if (Profile->isLevelPassed(mini->Id)) {
            mini->State = 2;
            mini->StarsCount = Profile->Game_LevelStarsCount(mini->Id);
        }
        if (mini->Id == Profile->Level && !current) {
            mini->isCurrent = 1;
            current = mini;
        }
    }
    CurrLevel = current;
    // Without a current thumbnail there is nowhere for a trail to go.
    if (!CurrLevel) LastLevel = nullptr;
    return 0;
}

int TStagesScreen::PrepareScrollForNext() {
    MapScroll = 1;
    SPer = 0;
    MapStartY = Map ? Map->GetY() : 0.0f;
    MapDestY = (CurrLevel && CurrLevel->Point) ? ScreenMiddleY - CurrLevel->Point->GetY() : MapStartY;
    return 0;
}

int TStagesScreen::PrepareMapScroll() {
    MapShow = 0;
    MapScroll = 0;
    if (!Profile) return 0;
    if (Profile->MapScreenAnimationShowed) {
        PrepareScrollForNext();
    } else {
        Profile->MapScreenAnimationShowed = 1;
        MapShow = 1;
        MapShowPer = 0;
        MapShowSpeed = 0;
        if (Map) {
            Map->SetPosition(MapX, 0.0f);
            Map->Calculate();
            Map->UpdateSettings();
        }
    }
    return 0;
}

int TStagesScreen::PrepareData() {
    if (!Profile) return 0;
    Profile->Game_CountSummaryDatas();
    if (ObjMoney) ObjMoney->SetText(IntToString(Profile->Score));
    if (ObjLevel) ObjLevel->SetText(IntToString(Profile->Level));
    if (ObjStars) ObjStars->SetText(IntToString(Profile->Stars));
    return 0;
}

int TStagesScreen::OnUpdate() {
    if (Profile && Map) Profile->MapY = static_cast<int>(Map->GetY());
    UpdateLevels();
    UpdateMapScrollAnimation();
    UpdateMoveTo();
    UpdateLevelSwitch();
    return 0;
}

int TStagesScreen::UpdateLevels() {
    OverLevel = nullptr;
    for (auto& mini : Levels) {
        if (mini->isOver()) {
            OverLevel = mini;
            mini->dOverA = 1;
        } else {
            mini->dOverA = 0;
        }
        mini->Update();
    }
    return 0;
}

int TStagesScreen::UpdateMoveTo() {
    if (MapScroll != 1 || !Map) return 0;
    if (SPer == 1.0f) MapScroll = 0;
    if (SPer < 1.0f) SPer = std::min(SPer + 0.01f * delta, 1.0f);
    const double y = MapStartY + (static_cast<double>(MapDestY) - MapStartY) * std::sin(90.0 * SPer * kDegToRad);
    Map->SetY(static_cast<float>(y));
    CheckScrollPosition();
    return 0;
}

int TStagesScreen::CheckScrollPosition() {
    if (!Map) return 0;
    if (Map->GetY() < -static_cast<float>(MapHeight)) Map->SetY(-static_cast<float>(MapHeight));
    if (Map->GetY() > 0.0f) Map->SetY(0.0f);
    return 0;
}

int TStagesScreen::SetUIAlpha(float a) {
    if (NextButton) NextButton->SetA(a);
    if (NextBack) NextBack->SetA(a);
    if (AwardsButton) AwardsButton->SetA(a);
    if (AwardsBack) AwardsBack->SetA(a);
    if (UpperPanel) UpperPanel->SetA(a);
    return 0;
}

int TStagesScreen::UpdateMapScrollAnimation() {
    if (MapShow != 1) return 0;
    if (MapShowPer == 1.0f) {
        MapShow = 0;
        return 0;
    }
    MapShowSpeed = std::min(MapShowSpeed + 0.00001f * delta, MaxMapShowSpeed);
    MapShowPer = std::min(MapShowPer + MapShowSpeed * delta, 1.0f);
    if (MapShowPer <= 0.025f) SetUIAlpha(1.0f - MapShowPer / 0.025f);
    else if (MapShowPer >= 0.9f) SetUIAlpha((MapShowPer - 0.9f) / 0.1f);
    if (Map) Map->SetPosition(MapX, static_cast<float>(-std::sin(90.0 * MapShowPer * kDegToRad) * MapHeight));
    return 0;
}

int TStagesScreen::UpdateLevelSwitch() {
    if (!LastLevel) return 0;
    if (!CurrLevel || !CurrLevel->Point || !LastLevel->Point) {
        LastLevel = nullptr;
        return 0;
    }
    TGameObject& C = *CurrLevel->Point;
    if (LevelSwitchPer == 1.0f) {
        LastLevel = nullptr;
        for (int k = 0; k <= 50; ++k) {
            const float x = C.DrawX + Rand(-20, 20);
            const float y = C.GetY() + Rand(-20, 20);
            CreateMagicAura(x, y, 1.0f, 50 * k, 2000, Package);
        }
        return 0;
    }
    LevelSwitchPer = std::min(LevelSwitchPer + 0.01f * delta, 1.0f);
    TGameObject& L = *LastLevel->Point;
    const double lx = L.DrawX, ly = L.GetY();
    const double dx = C.DrawX - lx, dy = C.GetY() - ly;
    const double angle = std::atan2(dy, dx) / kDegToRad;
    const double dist = std::hypot(dx, dy);
    if (AppMilliSecs() > SwitchParticleTime) {
        SwitchParticleTime = AppMilliSecs() + 25;
        const double p = LevelSwitchPer, q = LastLevelSwitchPer;
        const double ca = std::cos(angle * kDegToRad), sa = std::sin(angle * kDegToRad);
        const double p1x = lx + ca * dist * p, p1y = ly + sa * dist * p;
        const double p0x = lx + ca * dist * q, p0y = ly + sa * dist * q;
        struct Side {
            double s;
            int r, g, b;
        };
        for (const Side side : {Side{90.0, 255, 0, 255}, Side{-90.0, 0, 255, 255}}) {
            const double as = (angle + side.s) * kDegToRad;
            const double ax = p1x + std::cos(as) * std::cos(SwingA * p * kDegToRad) * SwingB;
            const double ay = p1y + std::sin(as) * std::sin(SwingA * p * kDegToRad) * SwingB;
            const double bx = p0x + std::cos(as) * std::cos(SwingA * q * kDegToRad) * SwingB;
            const double by = p0y + std::sin(as) * std::sin(SwingA * q * kDegToRad) * SwingB;
            for (int twice = 0; twice < 2; ++twice)
                CreateLevelSwitchParticle(static_cast<int>(ax), static_cast<int>(ay), static_cast<int>(bx),
                                          static_cast<int>(by), side.r, side.g, side.b, 32, 1000, Rand(0, 25), Package);
        }
    }
    LastLevelSwitchPer = LevelSwitchPer;
    return 0;
}

int TStagesScreen::DrawLevelMinis() {
    for (auto& mini : Levels) mini->Draw();
    return 0;
}

int TStagesScreen::DrawUpperPanel() {
    if (UpperPanel) UpperPanel->DrawNow();
    for (auto* text : {&ObjStars, &ObjMoney, &ObjLevel, &ObjLevelText, &ObjScoreText})
        if (*text) (*text)->DrawNow();
    return 0;
}

int TStagesScreen::OnDraw() {
    DrawLevelMinis();
    const float ay = Map ? Map->DrawY : 0.0f;
    Package->Ay = ay;
    Package2->Ay = ay;
    DrawEngPackage(Package);
    DrawEngPackage(Package2);
    DrawUpperPanel();
    if (NextBack) NextBack->DrawNow();
    if (NextButton) {
        NextButton->DrawButtonSubObjects();
        NextButton->Draw();
    }
    if (AwardsBack) AwardsBack->DrawNow();
    if (AwardsButton) {
        AwardsButton->DrawButtonSubObjects();
        AwardsButton->Draw();
    }
    return 0;
}

int TStagesScreen::DEBUG_DrawLevels() {
    auto holder = FindObjectInd(PointsId);
    if (!holder) return 0;
    int count = 0;
    for (auto& node : holder->SubObjects) {
        auto point = std::dynamic_pointer_cast<TGameObject>(node);
        if (!point) continue;
        ++count;
        SetColor(255, 255, 255);
        DrawImage(TMiniLevel::Panelik[0], point->DrawX, point->DrawY, 0);
        DrawImage(TMiniLevel::Stars[3], point->DrawX, point->DrawY - 54.0f, 0);
        SetColor(0, 0, 0);
        DrawText(IntToString(count), point->DrawX + 1.0f, point->DrawY + 1.0f);
        SetColor(255, 255, 255);
        DrawText(IntToString(count), point->DrawX, point->DrawY);
    }
    return 0;
}

int TStagesScreen::OnLeave() { return Tutorial::Clear(); }

int TStagesScreen::Interface() {
    if (MapShow == 1) return 0;
    const int clicked = ClickObjectId();
    if (MapScroll == 1) {
        if (clicked == NextId) GoNextLevel();
        else if (clicked == AwardsId) GoAwards();
        return 0;
    }
    if (Map) {
        Map->MoveXY(0.0f, Mouse::vz * MapScrollSpeed);
        CheckScrollPosition();
    }
    if (clicked == NextId) {
        GoNextLevel();
    } else if (clicked == AwardsId) {
        GoAwards();
    } else if (OverLevel && Mouse::LeftPressed) {
        auto played = OverLevel;
        PlayLevel(played);
        LastLevel = played;
        CurrLevel = played;
    }
    return 0;
}

int TStagesScreen::GoNextLevel() {
    ClearClicksAndOvers();
    if (Profile) Profile->Game_PlayNextLevel();
    return 0;
}

int TStagesScreen::GoAwards() {
    ClearClicksAndOvers();
    if (AwardsShow) ShowAppPopUp(AwardsShow);
    return 0;
}

int TStagesScreen::isPointerOnButton() {
    for (const auto& back : {NextBack, AwardsBack}) {
        int w = 0, h = 0;
        if (!back || back->isEnabled == 0) continue;
        back->GetWidgetSize(w, h);
        if (Mouse::InRect(TruncToInt(back->DrawX), TruncToInt(back->DrawY), w, h)) return 1;
    }
    return 0;
}

int TStagesScreen::PlayLevel(const std::shared_ptr<TMiniLevel>& level) {
    if (Profile && level) Profile->Game_PlayLevel(level->Id);
    return 0;
}

TStagesScreenPtr CreateStagesScreen() {
    auto screen = std::make_shared<TStagesScreen>();
    screen->Init("Stages", bDir + "Screens/Stages/Stages.AppScreen");
    return screen;
}
