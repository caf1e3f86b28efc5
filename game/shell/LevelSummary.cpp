#include "game/shell/LevelSummary.h"

#include <algorithm>

#include "engine/data/Track.h"
#include "engine/data/Transform.h"
#include "engine/data/ValueTypes.h"
#include "engine/media/TxtFile.h"
#include "engine/screen/AppAnimator.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/EngParticle.h"
#include "game/progress/Awards.h"
#include "game/progress/Profile.h"
#include "game/puzzle/FlyingStars.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/TileGameObject.h"
#include "game/shell/GiveAward.h"
#include "game/shell/ProfileManager.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TLevelSummaryPtr LevelSummary;
std::shared_ptr<TEngParticlePackage> TLevelSummary::Package;

namespace {

constexpr int TitleId = 2, NextId = 11, RestartId = 12, ViewId = 13, StatsId = 14;
constexpr int StarScore = 10;            // score a kept star adds
constexpr int WindowShowMs = 2000;       // the window's show animation
constexpr int WindowShowTestingMs = 20;  // the same in testing mode
constexpr int PictureFlightMs = 1000, PictureFlightDelayMs = 500;
constexpr int GoToNext = 1, GoToRestart = 2;

template <class T>
std::shared_ptr<T> As(const TGameObjectPtr& object) {
    return std::dynamic_pointer_cast<T>(object);
}

// The two sides of a fade from 0 to 1 taking turns: the side shown at 0 goes out in the first
// half, the side shown at 1 comes in in the second.
float SideAtZero(float p) { return std::clamp(1.0f - 2.0f * p, 0.0f, 1.0f); }
float SideAtOne(float p) { return std::clamp(2.0f * p - 1.0f, 0.0f, 1.0f); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The finished picture

int TSummaryLevel::InitTiles(TPACLevel& level) {
    auto holder = std::make_shared<TGameObject>();
    holder->SetX(-level.GridWidth * 0.5f);
    holder->SetY(-level.GridHeight * 0.5f);
    AddObject(holder);
    for (int row = 0; row < level.Rows; ++row)
        for (int col = 0; col < level.Cols; ++col) level.GetTileGameObject(col, row, holder.get());
    return 0;
}

int TSummaryLevel::InitPreAnimData(TPACLevel& level) {
    StartX = level.x + level.GridWidth * 0.5f;
    StartY = level.y + level.GridHeight * 0.5f;
    EndX = MiniCenterPointX;
    EndY = MiniCenterPointY;
    SetX(StartX);
    SetY(StartY);
    const int longer = std::max(level.GridWidth, level.GridHeight);
    dScale = longer > 0 ? MiniMaxSize / static_cast<float>(longer) : 1.0f;
    return 0;
}

int TSummaryLevel::InitShowAnim() {
    auto anim = CreateAppObjAnim("Show", this);
    anim->Track = CreateAppTrack({CreateDim(StartX, StartY, 0, 0, 0.0f), CreateDim(EndX, EndY, 0, 0, 1.0f)});
    anim->Transform = CreateTransform({CreateTFR(1.0f, 1.0f, 0.0f, 0.0f), CreateTFR(dScale, dScale, 360.0f, 1.0f)});
    anim->isTrackEnabled = 1;
    anim->isTransformEnabled = 1;
    anim->isGradientEnabled = 0;
    if (Comp_Animator) Comp_Animator->AddAnim(anim);
    return 0;
}

int TSummaryLevel::Init(const std::shared_ptr<TLevel>& level) {
    CreateAppAnimator(this);
    auto pac = std::dynamic_pointer_cast<TPACLevel>(level);
    if (!pac) return 0;
    InitTiles(*pac);
    InitPreAnimData(*pac);
    InitShowAnim();
    if (LevelSummary) LevelSummary->RebuildDrawingLayers();
    Animation_Play("Show", PictureFlightMs, 0, 0.0f, PictureFlightDelayMs, 1);
    Calculate();
    return 0;
}

TSummaryLevelPtr CreateSumLev(const std::shared_ptr<TLevel>& level) {
    auto picture = std::make_shared<TSummaryLevel>();
    picture->Init(level);
    return picture;
}

// ---------------------------------------------------------------------------------------------
// The screen

TLevelSummary::TLevelSummary() {
    View = CreatePercenter("View", 0.05f, 0);
    ButtonsIn = CreatePercenter("ButtonsIn", 0.05f, 0);
    isTestingOn = FileType("testingmode.txt") == 1 ? 1 : 0;
}

int TLevelSummary::OnSetup() {
    auto names = LoadTxtFile(bDir + "Local/#LANG#/LevelNames.txt");
    for (int k = 1; k <= static_cast<int>(LevelTxt.size()); ++k) LevelTxt[k - 1] = GetTxtLine(names, k);
    MainObject = FindObject("TheWindow");
    TextTitle = As<TUIText>(FindObjectInd(TitleId));
    StatsPanel = FindObject("Stats");
    if (StatsPanel) StatsPanel->DrawLayer = 6;
    ButtonNext = As<TUIButton>(FindObjectInd(NextId));
    ButtonRestart = As<TUIButton>(FindObjectInd(RestartId));
    ButtonStats = As<TUIButton>(FindObjectInd(StatsId));
    ButtonView = As<TUIButton>(FindObjectInd(ViewId));
    TextLevelScore = As<TUIText>(FindObject("LevelScoreData"));
    TextMistakes = As<TUIText>(FindObject("MistakesData"));
    TextLevelTime = As<TUIText>(FindObject("LevelTimeData"));
    return 0;
}

int TLevelSummary::SetData(const std::shared_ptr<TLevel>& level) {
    CurrLevel = level;
    return 0;
}

int TLevelSummary::OnPrepare() {
    AwardsPending = false;
    AwardsToGive.clear();
    GoNextTo = 0;
    PrepareData();
    PrepareProfileStuff();
    PrepareUI();
    PrepareMiniLevel();
    PrepareButtons();
    if (MainObject) {
        MainObject->Animation_Play("Show", isTestingOn ? WindowShowTestingMs : WindowShowMs, 0, 0.0f, 0, 1);
        MainObject->Calculate();
    }
    return 0;
}

int TLevelSummary::PrepareData() {
    if (Package) Package->Clear();
    Stars = Game ? Game->GetLevelStars() : 0;
    TotalScore = (Game ? Game->GetLevelTotalScore() : 0) + StarScore * Stars;
    Mistakes = Game ? Game->GetMistakes() : 0;
    if (Profile) {
        if (Mistakes == 0) Profile->LevelsWithoutMistakes += 1;
        auto level = Game ? Game->CurrLevel : nullptr;
        if (level && level->HintWasUsed != 0) Profile->LevelsWithHint += 1;
        else Profile->LevelsWithoutHint += 1;
    }
    if (TextLevelScore) TextLevelScore->SetText(IntToString(TotalScore));
    if (TextMistakes) TextMistakes->SetText(IntToString(Mistakes));
    if (TextLevelTime) TextLevelTime->SetText(Game ? Game->GetTimeString() : std::string("00:00"));
    View->Set(0.0f);
    return 0;
}

int TLevelSummary::PrepareProfileStuff() {
    if (!Profile) return 0;
    if (Game && Game->CurrPacLevel) {
        Profile->TilesUncovered += Game->CurrPacLevel->TIlesUncovered;
        Profile->TilesCrossed += Game->CurrPacLevel->TilesCrossed;
    }
    Profile->Score += TotalScore;
    Profile->Game_PassCurrLevel(Stars, TotalScore);
    Profile->Level_Unlock(Profile->Level + 1);
    // The win is booked: the finished board is no play in progress. Play that stops here goes
    // on from the stages map, never back into the won level.
    Profile->CurrScreen = "Stages";
    NotLeft = true;
    return 0;
}

int TLevelSummary::PrepareUI() {
    if (!TextTitle) return 0;
    const int level = Profile ? Profile->Level : 0;
    TextTitle->SetText(level >= 1 && level <= static_cast<int>(LevelTxt.size()) ? LevelTxt[level - 1] : std::string());
    return 0;
}

int TLevelSummary::PrepareMiniLevel() {
    if (SumLev) {
        SumLev->FreeMe();
        RemoveObject(SumLev.get());
        SumLev = nullptr;
    }
    if (!Game || !Game->CurrLevel) return 0;
    SumLev = CreateSumLev(Game->CurrLevel);
    AddObject(SumLev);
    RebuildDrawingLayers();
    return 0;
}

std::vector<std::shared_ptr<TUIButton>> TLevelSummary::Buttons() const {
    std::vector<std::shared_ptr<TUIButton>> buttons;
    for (const auto& button : {ButtonNext, ButtonRestart, ButtonStats, ButtonView})
        if (button) buttons.push_back(button);
    return buttons;
}

int TLevelSummary::PrepareButtons() {
    PictureLandsAt = SumLev ? AppMilliSecs() + PictureFlightDelayMs + PictureFlightMs : 0;
    ButtonsIn->Set(0.0f);
    for (const auto& button : Buttons()) {
        // A press left over from an earlier visit completes nothing.
        button->isHold = 0;
        button->isClick = 0;
        button->Disable();
    }
    return 0;
}

int TLevelSummary::Draw() {
    if (Game) Game->Drawing();
    return 0;
}

int TLevelSummary::OnDraw() {
    DrawFlyingStars(this);
    DrawEngPackage(Package);
    if (isTestingOn) {
        SetScale(1.0f, 1.0f);
        SetBlend(3);
        SetRotation(0.0f);
        SetAlpha(1.0f);
        const std::string label = "LEVEL " + IntToString(Profile ? Profile->Level : 0);
        SetColor(0, 0, 0);
        DrawText(label, 512.0f, 32.0f);
        SetColor(255, 255, 255);
        DrawText(label, 511.0f, 31.0f);
        if (KeyHit(KEY_F12)) SaveScreenshot("Level-" + IntToString(Profile ? Profile->Level : 0) + ".png");
    }
    return 0;
}

int TLevelSummary::SaveScreenshot(const std::string& url) {
    auto picture = GrabPixmap(0, 0, 1024, 768);
    if (!picture || !SavePixmapPNG(picture, url)) {
        Error("Could not save the screenshot '" + url + "'", Here());
        return 0;
    }
    return 1;
}

int TLevelSummary::OnUpdate() {
    if (!ActivePopUps.empty()) return 0;
    if (AwardsPending) {
        if (!AwardsToGive.empty()) {
            auto award = AwardsToGive.front();
            AwardsToGive.erase(AwardsToGive.begin());
            if (GiveAward) {
                GiveAward->SetAward(award);
                ShowAppPopUp(GiveAward);
            }
            return 0;
        }
        AwardsPending = false;
        GoOn(GoNextTo);
        return 0;
    }
    if (ButtonsIn->dp == 0.0f && AppMilliSecs() >= PictureLandsAt) {
        ButtonsIn->GO(1.0f);
        for (const auto& button : Buttons()) button->Enable();
    }
    ButtonsIn->Update();
    View->Update();
    const float a = MainObject ? MainObject->GetA() : 1.0f;
    if (ButtonNext) ButtonNext->SetA(ButtonsIn->p);
    if (ButtonRestart) ButtonRestart->SetA(ButtonsIn->p);
    if (ButtonStats) ButtonStats->SetA(SideAtOne(View->p) * a * ButtonsIn->p);
    if (ButtonView) ButtonView->SetA(SideAtZero(View->p) * a * ButtonsIn->p);
    if (StatsPanel) StatsPanel->SetA(SideAtOne(View->p) * a);
    // The statistics card takes the finished picture's place (a picture of any size or shape
    // would otherwise show around the card).
    if (SumLev) SumLev->SetA(SideAtZero(View->p));
    return 0;
}

int TLevelSummary::Interface() {
    if (AwardsPending) return 0;
    auto clicked = [](const std::shared_ptr<TUIButton>& button) { return button && button->isClick != 0; };
    // The statistics toggle is two buttons on one spot, the one shown fading out as the other
    // fades in; a click on that spot toggles, but only while the fade rests.
    const bool toggle = clicked(ButtonStats) || clicked(ButtonView);
    if (clicked(ButtonNext)) {
        GoNext();
    } else if (clicked(ButtonRestart)) {
        GoRestart();
    } else if (toggle && View->p == 0.0f) {
        GoStats();
    } else if (toggle && View->p == 1.0f) {
        GoView();
    }
    return 0;
}

int TLevelSummary::GoOn(int where) {
    NotLeft = false;
    if (where == GoToNext) {
        if (Profile) Profile->Game_IncriseLevel();
    } else if (where == GoToRestart) {
        GoToScreen(Game, RestartCurrPlayerLevel);
    }
    return 0;
}

int TLevelSummary::GoNext() {
    auto due = CheckAwards(this);
    if (due.empty()) return GoOn(GoToNext);
    AwardsToGive = std::move(due);
    AwardsPending = true;
    GoNextTo = GoToNext;
    return 0;
}

int TLevelSummary::GoRestart() {
    auto due = CheckAwards(this);
    if (due.empty()) return GoOn(GoToRestart);
    AwardsToGive = std::move(due);
    AwardsPending = true;
    GoNextTo = GoToRestart;
    return 0;
}

int TLevelSummary::SaveAtEnd() {
    if (!NotLeft || !Profile || Control::CurrScreen.get() != this) return 0;
    NotLeft = false;
    // The awards not announced yet, as GiveAward books them when it shows them.
    std::vector<std::shared_ptr<TAward>> due = AwardsPending ? AwardsToGive : CheckAwards(this);
    for (const auto& award : due)
        if (award && !Profile->HaveAward(award) && !Profile->isAward(award->id)) Profile->Awards.push_back(award);
    AwardsToGive.clear();
    if (!(AwardsPending && GoNextTo == GoToRestart)) Profile->Game_BookNextLevel();
    AwardsPending = false;
    return 0;
}

int TLevelSummary::GoStats() {
    View->GO(1.0f);
    return 0;
}

int TLevelSummary::GoView() {
    View->GO(0.0f);
    return 0;
}

int TLevelSummary::FreeLevel() {
    if (SumLev) {
        SumLev->FreeMe();
        RemoveObject(SumLev.get());
        SumLev = nullptr;
    }
    return 0;
}

TLevelSummaryPtr CreateLevelSummary() {
    auto screen = std::make_shared<TLevelSummary>();
    screen->Init("Level Summary", bDir + "PopUps/LevelSummary/LevelSummary.AppScreen");
    Control::AddToSaveList(screen, Profiles.get());
    return screen;
}
