// The screens around the end of a level, in-process on data/: the level summary booking a win
// and moving on (with the awards it announces on the way), the award rules and catalogue, the
// announcement pop-up's queue, the lose pop-up, the help pop-ups and the tutorial frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "engine/data/ValueTypes.h"
#include "engine/screen/AppAnimator.h"
#include "engine/screen/Asset.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/ui/UI_Object.h"
#include "game/progress/Awards.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/TileGameObject.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/AwardScreen.h"
#include "game/shell/GiveAward.h"
#include "game/shell/Help.h"
#include "game/shell/KingdomHelp.h"
#include "game/shell/LevelSummary.h"
#include "game/shell/LoseScreen.h"

namespace {

using namespace shelltest;

std::string LevelFile(int n) {
    return testsupport::SourceDir() + "/data/Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel";
}

// Error lines written while the object lives.
class ErrorLines {
public:
    ErrorLines() {
        lines().clear();
        WatchErrorReports([](const std::string& line) { lines().push_back(line); });
    }
    ~ErrorLines() { WatchErrorReports(nullptr); }
    static std::vector<std::string>& lines() {
        static std::vector<std::string> l;
        return l;
    }
};

class LevelEndTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ResetPlayFieldTables();
        TSpecialLoads().Setup();
        MainMenu = CreateMainMenu();
        Game = CreateMainGame(CreateShellNavigator());
        Kingdom = CreateKingdomScreen();
        StagesScreen = CreateStagesScreen();
        LevelSummary = CreateLevelSummary();
        LoseScreen = CreateLoseScreen();
        HelpScreen = CreateHelpScreen();
        KingdomHelpScreen = CreateKingdomHelpScreen();
        AwardsShow = CreateAwardScreen();
        GiveAward = CreateGiveAward();
        for (const std::shared_ptr<TAppScreen>& s :
             {std::static_pointer_cast<TAppScreen>(MainMenu), std::static_pointer_cast<TAppScreen>(LevelSummary),
              std::static_pointer_cast<TAppScreen>(LoseScreen), std::static_pointer_cast<TAppScreen>(HelpScreen),
              std::static_pointer_cast<TAppScreen>(AwardsShow), std::static_pointer_cast<TAppScreen>(GiveAward)})
            LoadAndSetUp(s);
        Profile = CreateNewProfile("Ann");
        Profile->Level = 1;
        Profile->Level_Unlock(1);
    }

    void TearDown() override {
        LevelSummary = nullptr;
        LoseScreen = nullptr;
        HelpScreen = nullptr;
        KingdomHelpScreen = nullptr;
        AwardsShow = nullptr;
        GiveAward = nullptr;
        AwardsList.clear();
        Tutorial::Reset();
        ShellTest::TearDown();
    }

    // Level n as the game screen leaves it when won with these stars and this score.
    std::shared_ptr<TPACLevel> Won(int n, int stars, int score, int mistakes = 0, int hint = 0) {
        auto level = LoadPacLevel(LevelFile(n));
        EXPECT_TRUE(level);
        level->Score = score;
        level->Mistakes = mistakes;
        level->HintWasUsed = hint;
        level->isLevelWon = 1;
        level->TIlesUncovered = 12;
        level->TilesCrossed = 7;
        Game->CurrLevel = level;
        Game->CurrPacLevel = level;
        Game->StarsAtLevelEnd = stars;
        Profile->CurrLevel = level;
        return level;
    }

    void EnterSummary() {
        LevelSummary->SetData(Game->CurrLevel);
        SetAppScreen(LevelSummary);
        Frame();
    }

    // A left press and release anywhere, a frame each.
    void PressAnywhere() {
        MoveTo(500, 700);
        InjectMouseButton(1, true);
        Frame();
        InjectMouseButton(1, false);
        Frame();
    }

    static TAwardPtr Award(int id) {
        auto a = std::make_shared<TAward>();
        a->id = id;
        a->Name = "Award " + std::to_string(id);
        return a;
    }
};

// ---------------------------------------------------------------------------------------------
// The level summary

TEST_F(LevelEndTest, TheSummaryBooksTheWinOnceAndShowsIt) {
    Profile->TilesUncovered = 100;
    Won(1, 3, 250);
    EnterSummary();
    ASSERT_EQ(Control::CurrScreen, LevelSummary);
    // 3 stars and a score of 250 make 280, shown and paid.
    EXPECT_EQ(LevelSummary->TotalScore, 280);
    EXPECT_EQ(LevelSummary->TextLevelScore->Text, "280");
    EXPECT_EQ(LevelSummary->TextMistakes->Text, "0");
    EXPECT_EQ(Profile->Score, 280);
    // The tiles are added before the record takes the profile's totals.
    EXPECT_EQ(Profile->TilesUncovered, 112);
    auto record = Profile->GetLevel(1, 0);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->isPassed, 1);
    EXPECT_EQ(record->Stars, 3);
    EXPECT_EQ(record->Score, 280);
    EXPECT_EQ(record->TilesUncovered, 112);
    EXPECT_EQ(Profile->isLevelAvailableToPlay(2), 1);
    EXPECT_EQ(Profile->LevelsWithoutMistakes, 1);
    EXPECT_EQ(Profile->LevelsWithoutHint, 1);
    EXPECT_EQ(Profile->LevelsWithHint, 0);
    // The title is line 1 of the level names.
    EXPECT_EQ(LevelSummary->TextTitle->Text, "Heart");
    // The booked level is no play in progress: play that stops here goes on from the map.
    EXPECT_EQ(Profile->CurrScreen, "Stages");
    // The finished picture: every cell, its name the column and row.
    ASSERT_TRUE(LevelSummary->SumLev);
    ASSERT_EQ(LevelSummary->SumLev->SubObjects.size(), 1u);
    auto holder = std::dynamic_pointer_cast<TGameObject>(LevelSummary->SumLev->SubObjects[0]);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->SubObjects.size(), 25u);
}

TEST_F(LevelEndTest, MistakesAndHintsCountTheirLevels) {
    struct Case {
        int mistakes, hint, withoutMistakes, withoutHint, withHint;
    } cases[] = {{0, 0, 1, 1, 0}, {2, 0, 0, 1, 0}, {0, 1, 1, 0, 1}, {5, 1, 0, 0, 1}};
    for (const auto& c : cases) {
        Profile = CreateNewProfile("Ann");
        Profile->Level = 1;
        Won(1, 1, 100, c.mistakes, c.hint);
        LevelSummary->OnPrepare();
        EXPECT_EQ(Profile->LevelsWithoutMistakes, c.withoutMistakes) << c.mistakes << " " << c.hint;
        EXPECT_EQ(Profile->LevelsWithoutHint, c.withoutHint) << c.mistakes << " " << c.hint;
        EXPECT_EQ(Profile->LevelsWithHint, c.withHint) << c.mistakes << " " << c.hint;
        EXPECT_EQ(LevelSummary->TotalScore, 110);
    }
}

TEST_F(LevelEndTest, ThePictureShrinksByItsLongerSideAndASecondWinReplacesIt) {
    auto level = Won(1, 3, 0);
    struct Case {
        int w, h;
        float scale;
    } cases[] = {{300, 450, 300.0f / 450}, {450, 300, 300.0f / 450}, {150, 150, 2.0f}};
    for (const auto& c : cases) {
        level->GridWidth = c.w;
        level->GridHeight = c.h;
        auto picture = CreateSumLev(level);
        EXPECT_FLOAT_EQ(picture->dScale, c.scale) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(picture->StartX, level->x + c.w * 0.5f);
    }
    EnterSummary();
    auto first = LevelSummary->SumLev;
    LevelSummary->OnPrepare();
    EXPECT_NE(LevelSummary->SumLev, first);
    int pictures = 0;
    for (const auto& o : LevelSummary->Objects) pictures += std::dynamic_pointer_cast<TSummaryLevel>(o) ? 1 : 0;
    EXPECT_EQ(pictures, 1);
}

TEST_F(LevelEndTest, TheCrossesOfThePictureFadeAsItFlies) {
    auto level = LoadPacLevel(LevelFile(1));
    auto holder = std::make_shared<TGameObject>();
    auto picture = std::make_shared<TSummaryLevel>();
    CreateAppAnimator(picture.get());
    picture->AddObject(holder);
    auto empty = level->GetTileGameObject(0, 0, holder.get());   // an empty cell: a cross
    auto filled = level->GetTileGameObject(1, 0, holder.get());  // a solution cell: a box
    ASSERT_TRUE(empty->Mark);
    ASSERT_TRUE(filled->Tile);
    picture->Comp_Animator->CurrAnimPer = 0.75f;
    empty->Update();
    filled->Update();
    EXPECT_FLOAT_EQ(empty->Per, 0.75f);
    EXPECT_FLOAT_EQ(empty->Mark->GetA(), 0.25f);
    EXPECT_FLOAT_EQ(filled->Tile->GetA(), 1.0f);
}

TEST_F(LevelEndTest, TheStatisticsToggleWorksOnlyWhileItsFadeRests) {
    Won(1, 2, 50);
    EnterSummary();
    auto& s = *LevelSummary;
    ASSERT_TRUE(s.ButtonStats && s.ButtonView && s.StatsPanel);
    s.ButtonView->isClick = 1;  // the shown one of the two on the spot
    s.Interface();
    s.ButtonView->isClick = 0;
    EXPECT_EQ(s.View->dp, 1.0f);
    Frames(5);
    // Still fading: a click does nothing.
    s.ButtonStats->isClick = 1;
    s.Interface();
    s.ButtonStats->isClick = 0;
    EXPECT_EQ(s.View->dp, 1.0f);
    Frames(30);
    EXPECT_EQ(s.View->p, 1.0f);
    s.ButtonStats->isClick = 1;
    s.Interface();
    s.ButtonStats->isClick = 0;
    EXPECT_EQ(s.View->dp, 0.0f);
}

// The finished picture flies in from the board at the board's size: no button is there to be
// pressed (or to lie over it) until it has landed; then they fade in and take clicks.
TEST_F(LevelEndTest, TheButtonsComeOnceThePictureHasLanded) {
    Profile->KingdomTutorialScreenShowed = 1;
    Won(1, 3, 100);
    EnterSummary();
    auto& s = *LevelSummary;
    ASSERT_TRUE(s.SumLev);
    const std::shared_ptr<TUIButton> buttons[] = {s.ButtonNext, s.ButtonRestart, s.ButtonStats, s.ButtonView};
    // A click on Next's place while the picture is still on its way does nothing.
    Click(s.ButtonNext);
    while (AppMilliSecs() < s.PictureLandsAt) {
        for (const auto& button : buttons) {
            ASSERT_TRUE(button);
            EXPECT_EQ(button->isEnabled, 0) << button->name;
        }
        Frame();
    }
    EXPECT_EQ(Control::CurrScreen, LevelSummary);
    EXPECT_EQ(Profile->Level, 1);
    Frames(25);
    for (const auto& button : buttons) EXPECT_EQ(button->isEnabled, 1) << button->name;
    EXPECT_EQ(s.ButtonNext->GetA(), 1.0f);
    Click(s.ButtonNext);
    EXPECT_EQ(Profile->Level, 2);
}

// The toggle between the picture and the statistics: at no frame of the fade do its two labels,
// or the picture and the card, show over each other.
TEST_F(LevelEndTest, TheStatisticsToggleShowsOneSideAtATime) {
    Won(1, 2, 50);
    EnterSummary();
    auto& s = *LevelSummary;
    Frames(150);  // the window is up and the buttons are in
    for (float target : {1.0f, 0.0f}) {
        s.View->GO(target);
        for (int i = 0; i < 30; ++i) {
            Frame();
            EXPECT_EQ(std::min(s.ButtonStats->GetA(), s.ButtonView->GetA()), 0.0f) << i;
            EXPECT_EQ(std::min(s.StatsPanel->GetA(), s.SumLev->GetA()), 0.0f) << i;
        }
        EXPECT_EQ(s.View->p, target);
        EXPECT_EQ(s.StatsPanel->GetA(), target);
        EXPECT_EQ(s.SumLev->GetA(), 1.0f - target);
    }
}

TEST_F(LevelEndTest, NextAnnouncesEachDueAwardInTurnThenGoesToTheKingdom) {
    AwardsShow->SetupAwards();
    ASSERT_EQ(AwardsList.size(), 18u);
    // This win takes the tiles past the thresholds of awards 5 and 6.
    Profile->TilesUncovered = 1600 - 12;
    Profile->TilesCrossed = 900 - 7;
    // The kingdom's own help (which holds the game screen too) was seen before.
    Profile->KingdomTutorialScreenShowed = 1;
    Won(1, 3, 100);
    EnterSummary();
    LevelSummary->ButtonNext->isClick = 1;
    LevelSummary->Interface();
    LevelSummary->ButtonNext->isClick = 0;
    EXPECT_EQ(Profile->Level, 1);  // not yet: the awards come first
    Frame();
    ASSERT_TRUE(Shown(GiveAward));
    EXPECT_EQ(GiveAward->Award->id, 5);
    EXPECT_EQ(GiveAward->Title->Text, GiveAward->Award->Name);
    EXPECT_TRUE(Game->isLocked);
    PressAnywhere();
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(GiveAward));  // the second in the frame the first is gone
    EXPECT_EQ(GiveAward->Award->id, 6);
    PressAnywhere();
    Frames(kAnimFrames + 2);
    EXPECT_FALSE(Shown(GiveAward));
    EXPECT_FALSE(Game->isLocked);
    EXPECT_EQ(Profile->Level, 2);
    ASSERT_EQ(Profile->Awards.size(), 2u);
    EXPECT_TRUE(Profile->isAward(5) && Profile->isAward(6));
    Frames(80);
    EXPECT_EQ(Control::CurrScreen, Kingdom);
    // Never given again.
    EXPECT_TRUE(CheckAwards(LevelSummary.get()).empty());
}

// The game ending with the summary up (window closed, Command+Q) books at the end what Next would
// have booked: the awards due (those not announced yet), the next level current and the kingdom to
// continue on. A Restart still announcing its awards books the awards and keeps the level; once
// the summary is left, the end books nothing more.
TEST_F(LevelEndTest, TheGameEndingOnTheSummaryBooksWhatNextWouldHave) {
    AwardsShow->SetupAwards();
    Profile->KingdomTutorialScreenShowed = 1;
    enum class Then { Nothing, NextFirstAwardShown, RestartFirstAwardShown, NextTaken };
    const struct {
        const char* name;
        Then then;
        int level;
        const char* screen;
    } cases[] = {
        {"no button taken", Then::Nothing, 2, "Kingdom"},
        {"Next, the first award shown", Then::NextFirstAwardShown, 2, "Kingdom"},
        {"Restart, the first award shown", Then::RestartFirstAwardShown, 1, "Stages"},
        {"Next taken, the summary left", Then::NextTaken, 2, "Kingdom"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Profile->Awards.clear();
        Profile->Level = 1;
        Profile->TilesUncovered = 1600 - 12;  // this win passes the thresholds of awards 5 and 6
        Profile->TilesCrossed = 900 - 7;
        SetAppScreen(MainMenu);
        Frame();
        Won(1, 3, 100);
        EnterSummary();
        if (c.then == Then::NextFirstAwardShown) LevelSummary->GoNext();
        if (c.then == Then::RestartFirstAwardShown) LevelSummary->GoRestart();
        if (c.then == Then::NextFirstAwardShown || c.then == Then::RestartFirstAwardShown) {
            Frame();
            ASSERT_TRUE(Shown(GiveAward));
            EXPECT_EQ(Profile->Awards.size(), 1u);
        }
        if (c.then == Then::NextTaken) {
            Profile->TilesUncovered = Profile->TilesCrossed = 0;  // no award: straight on
            Profile->Awards.clear();
            LevelSummary->GoNext();
        }
        EXPECT_EQ(Profile->Level, c.then == Then::NextTaken ? 2 : 1);
        LevelSummary->SaveAtEnd();
        EXPECT_EQ(Profile->Level, c.level);
        EXPECT_EQ(Profile->CurrScreen, c.screen);
        if (c.then != Then::NextTaken) {
            EXPECT_TRUE(Profile->isAward(5) && Profile->isAward(6));
            EXPECT_EQ(Profile->Awards.size(), 2u);
        }
        LevelSummary->SaveAtEnd();  // once only
        EXPECT_EQ(Profile->Level, c.level);
        EXPECT_TRUE(Profile->isLevelPassed(1));
        // Whatever was under way settles before the next case.
        if (Shown(GiveAward)) PressAnywhere();
        Frames(kAnimFrames + 80);
    }
}

TEST_F(LevelEndTest, RestartWithoutAwardsReplaysTheLevelWhichStaysPassed) {
    AwardsShow->SetupAwards();
    Won(3, 1, 100);
    Profile->Level = 3;
    EnterSummary();
    LevelSummary->GoRestart();
    Frames(80);
    EXPECT_EQ(Control::CurrScreen, Game);
    EXPECT_EQ(Profile->Level, 3);
    EXPECT_EQ(Profile->isLevelPassed(3), 1);
    EXPECT_EQ(Profile->isLevelAvailableToPlay(4), 1);
    // The level was reloaded from its file at the switch: a fresh board.
    ASSERT_TRUE(Profile->CurrLevel);
    EXPECT_EQ(Profile->CurrLevel->isLevelWon, 0);
}

// ---------------------------------------------------------------------------------------------
// Awards

TEST_F(LevelEndTest, EachAwardHoldsAtItsThresholdOnItsOwnScreenOnly) {
    struct Rule {
        int id;
        bool kingdom;
        void (*below)(TProfile&);
        void (*at)(TProfile&);
    };
    auto stars = [](TProfile& p, int n) {
        p.Levels.clear();
        for (int i = 1; n > 0; ++i, n -= 3) {
            auto r = p.GetLevel(i, 1);
            r->isPassed = 1;
            r->Stars = std::min(n, 3);
        }
    };
    auto played = [](TProfile& p, int n) {
        p.Levels.clear();
        for (int i = 1; i <= n; ++i) p.GetLevel(i, 1)->isPassed = 1;
    };
    auto buildings = [](TProfile& p, int n) { p.Buildings.assign(n, 1); };
    static auto s_stars = stars;
    static auto s_played = played;
    static auto s_buildings = buildings;
    const Rule rules[] = {
        {1, false, [](TProfile& p) { p.LevelsWithoutMistakes = 19; },
         [](TProfile& p) { p.LevelsWithoutMistakes = 20; }},
        {2, false, [](TProfile& p) { p.LevelsWithoutHint = 24; }, [](TProfile& p) { p.LevelsWithoutHint = 25; }},
        {3, false, [](TProfile& p) { p.HintUsed = 47; }, [](TProfile& p) { p.HintUsed = 48; }},
        {4, false, [](TProfile& p) { s_stars(p, 74); }, [](TProfile& p) { s_stars(p, 75); }},
        {5, false, [](TProfile& p) { p.TilesUncovered = 1599; }, [](TProfile& p) { p.TilesUncovered = 1600; }},
        {6, false, [](TProfile& p) { p.TilesCrossed = 899; }, [](TProfile& p) { p.TilesCrossed = 900; }},
        {7, false, [](TProfile& p) { s_played(p, 29); }, [](TProfile& p) { s_played(p, 30); }},
        {8, true, [](TProfile& p) { s_buildings(p, 13); }, [](TProfile& p) { s_buildings(p, 14); }},
        {9, true, [](TProfile& p) { p.CashSpend = 4999; }, [](TProfile& p) { p.CashSpend = 5000; }},
        {10, false, [](TProfile& p) { p.LevelsWithoutMistakes = 49; },
         [](TProfile& p) { p.LevelsWithoutMistakes = 50; }},
        {11, false, [](TProfile& p) { p.LevelsWithoutHint = 39; }, [](TProfile& p) { p.LevelsWithoutHint = 40; }},
        {12, false, [](TProfile& p) { p.HintUsed = 95; }, [](TProfile& p) { p.HintUsed = 96; }},
        {13, false, [](TProfile& p) { s_stars(p, 199); }, [](TProfile& p) { s_stars(p, 200); }},
        {14, false, [](TProfile& p) { p.TilesUncovered = 3999; }, [](TProfile& p) { p.TilesUncovered = 4000; }},
        {15, false, [](TProfile& p) { p.TilesCrossed = 1599; }, [](TProfile& p) { p.TilesCrossed = 1600; }},
        {16, false, [](TProfile& p) { s_played(p, 74); }, [](TProfile& p) { s_played(p, 75); }},
        {17, true, [](TProfile& p) { s_buildings(p, 27); }, [](TProfile& p) { s_buildings(p, 28); }},
        {18, true, [](TProfile& p) { p.CashSpend = 7999; }, [](TProfile& p) { p.CashSpend = 8000; }},
    };
    TAppScreen* summary = LevelSummary.get();
    TAppScreen* kingdom = Kingdom.get();
    for (const auto& r : rules) {
        auto award = Award(r.id);
        TAppScreen* own = r.kingdom ? kingdom : summary;
        TAppScreen* other = r.kingdom ? summary : kingdom;
        Profile = CreateNewProfile("Ann");
        r.below(*Profile);
        EXPECT_EQ(award->CheckIfGive(own), 0) << r.id;
        r.at(*Profile);
        EXPECT_EQ(award->CheckIfGive(own), 1) << r.id;
        EXPECT_EQ(award->CheckIfGive(other), 0) << r.id;
        EXPECT_EQ(award->CheckIfGive(MainMenu.get()), 0) << r.id;
    }
    // Exactly 28 buildings for award 17; 8 holds from 14 on.
    s_buildings(*Profile, 29);
    EXPECT_EQ(Award(17)->CheckIfGive(kingdom), 0);
    EXPECT_EQ(Award(8)->CheckIfGive(kingdom), 1);
    EXPECT_EQ(Award(0)->CheckIfGive(summary), 0);
}

TEST_F(LevelEndTest, TheCatalogueTakesPicturesByPlaceAndTheCheckSkipsHeldAwards) {
    testsupport::TempDir dir;
    const std::string saved = bDir;
    CreateDir(dir.file("PopUps"));
    CreateDir(dir.file("PopUps/AwardsShow"));
    for (int k = 1; k <= 3; ++k)
        testsupport::WriteFileBytes(
            dir.file("PopUps/AwardsShow/Award-" + std::to_string(k) + ".png"),
            testsupport::ReadFileBytes(saved + "PopUps/AwardsShow/Award-" + std::to_string(4 - k) + ".png"));
    testsupport::WriteFileBytes(
        dir.file("Awards.txt"),
        "Award{\n\tId = 6\n\tName = 3\n\tdescription = 4\n}\naward{\n\tId = 5\n}\nOther{\n\tId = 1\n}\n"
        "Award{\n\tId = 1\n\tName = 5\n}\n");
    bDir = dir.path() + "/";
    AwardsShow->SetupAwards();
    bDir = saved;
    ASSERT_EQ(AwardsList.size(), 3u);
    EXPECT_EQ(AwardsList[0]->id, 6);
    EXPECT_EQ(AwardsList[0]->Name, AwardsShow->GetTxt(3));
    EXPECT_EQ(AwardsList[1]->id, 5);
    EXPECT_EQ(AwardsList[1]->Name, "");
    ASSERT_TRUE(AwardsList[2]->Image);
    EXPECT_NE(AwardsList[2]->Image->url.find("Award-3.png"), std::string::npos);
    // Both 5 and 6 due, in file order; a held one is skipped.
    Profile->TilesUncovered = 5000;
    Profile->TilesCrossed = 5000;
    auto due = CheckAwards(LevelSummary.get());
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0]->id, 6);
    EXPECT_EQ(due[1]->id, 5);
    Profile->Awards.push_back(AwardsList[0]);
    due = CheckAwards(LevelSummary.get());
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0]->id, 5);
    // A missing file: an empty catalogue (reported).
    {
        ErrorLines errors;
        bDir = dir.path() + "/nothing/";
        AwardsShow->SetupAwards();
        bDir = saved;
        EXPECT_TRUE(AwardsList.empty());
    }
}

TEST_F(LevelEndTest, AnAwardHandedOverWhileAnotherIsOnShowIsAnnouncedAfterIt) {
    SetAppScreen(MainMenu);
    Frame();
    auto first = Award(8), second = Award(17);
    GiveAward->SetAward(first);
    ShowAppPopUp(GiveAward);
    Frame();
    // The kingdom keeps running and hands over the second.
    GiveAward->SetAward(second);
    ShowAppPopUp(GiveAward);
    Frame();
    EXPECT_EQ(GiveAward->Award, first);
    EXPECT_EQ(Profile->Awards.size(), 2u);  // booked at once
    PressAnywhere();
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(GiveAward));
    EXPECT_EQ(GiveAward->Award, second);
    EXPECT_EQ(GiveAward->Title->Text, "Award 17");
    PressAnywhere();
    Frames(kAnimFrames + 1);
    EXPECT_FALSE(Shown(GiveAward));
    EXPECT_FALSE(Game->isLocked);
}

TEST_F(LevelEndTest, TheAwardsPopUpShowsTheHeldAwardsOpaque) {
    AwardsShow->SetupAwards();
    Profile->Awards.push_back(GetAwardById(3));
    SetAppScreen(MainMenu);
    Frame();
    ShowAppPopUp(AwardsShow);
    Frame();
    for (int i = 1; i <= 18; ++i) {
        auto picture = AwardsShow->FindObject("Award" + std::to_string(i));
        ASSERT_TRUE(picture) << i;
        EXPECT_FLOAT_EQ(picture->GetA(), i == 3 ? 1.0f : 0.25f) << i;
    }
    EXPECT_FALSE(Game->isLocked);
    PressAnywhere();
    Frames(kAnimFrames + 1);
    EXPECT_FALSE(Shown(AwardsShow));
}

// ---------------------------------------------------------------------------------------------
// The lose pop-up

TEST_F(LevelEndTest, TheLosePopUpReplaysOrGoesToTheMenuWithTheLevelRestarted) {
    for (const bool replay : {true, false}) {
        auto lost = Won(2, 0, 10, 6);
        lost->isLevelWon = 0;
        lost->isLevelLost = 1;
        Profile->Level = 2;
        SetAppScreen(MainMenu);
        Frame();
        Control::CurrScreen->HideAllPopUps();
        ShowAppPopUp(LoseScreen);
        Frame();
        ASSERT_TRUE(Shown(LoseScreen));
        Click(LoseScreen->FindObject(replay ? "Replay" : "Menu"));
        Frames(80);
        EXPECT_EQ(Control::CurrScreen,
                  replay ? std::static_pointer_cast<TAppScreen>(Game) : std::static_pointer_cast<TAppScreen>(MainMenu));
        ASSERT_TRUE(Profile->CurrLevel);
        EXPECT_NE(Profile->CurrLevel.get(), lost.get());
        EXPECT_EQ(Profile->CurrLevel->isLevelLost, 0);
        EXPECT_EQ(Profile->CurrLevel->Score, 0);
    }
}

TEST_F(LevelEndTest, ALoseWindowWithoutAnimatorIsReportedAndStillShown) {
    testsupport::TempDir dir;
    CreateDir(dir.file("PopUps"));
    CreateDir(dir.file("PopUps/LoseScreen"));
    std::string file = testsupport::ReadFileBytes(bDir + "PopUps/LoseScreen/LoseSCreen.AppScreen");
    const size_t at = file.find("Component{");
    ASSERT_NE(at, std::string::npos);
    // Drop the animator's block (up to the sub-objects).
    file.erase(at, file.find("OwnData{") - at);
    testsupport::WriteFileBytes(dir.file("PopUps/LoseScreen/LoseSCreen.AppScreen"), file);
    auto popup = std::make_shared<TLoseScreen>();
    popup->Init("LoseScreen2", dir.file("PopUps/LoseScreen/LoseSCreen.AppScreen"));
    ErrorLines errors;
    LoadAndSetUp(popup);
    ASSERT_TRUE(popup->MainPanel);
    EXPECT_FALSE(popup->MainPanel->Comp_Animator);
    // The block cut out leaves the file's braces unbalanced, which is said first.
    ASSERT_EQ(ErrorLines::lines().size(), 2u);
    EXPECT_NE(ErrorLines::lines()[0].find("is damaged"), std::string::npos);
    EXPECT_NE(ErrorLines::lines()[1].find("animator"), std::string::npos);
    SetAppScreen(MainMenu);
    Frame();
    ShowAppPopUp(popup);
    Frames(3);
    EXPECT_TRUE(Shown(popup));
}

// ---------------------------------------------------------------------------------------------
// Help and tips

TEST_F(LevelEndTest, HelpLocksTheGameAndClosesOnlyWhenItsPanelHasGone) {
    SetAppScreen(MainMenu);
    Frame();
    ShowAppPopUp(HelpScreen);
    Frame();
    EXPECT_TRUE(Game->isLocked);
    // OK while the panel still animates in starts the hiding at once.
    Click(HelpScreen->OkButton);
    EXPECT_TRUE(Shown(HelpScreen));
    EXPECT_TRUE(HelpScreen->MainPanel->isCurrentAnimationId(2));
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(HelpScreen));
    EXPECT_FALSE(Game->isLocked);
}

TEST_F(LevelEndTest, TheTutorialStartsATipOncePerPlayerAndNothingWithoutTips) {
    // The shipped game: no tips, nothing starts.
    Tutorial::Update();
    Tutorial::Draw();
    EXPECT_FALSE(Tutorial::CurrTip);
    EXPECT_TRUE(Profile->Tips.empty());
    struct Ready : TTutorialTip {
        int Check() override { return 1; }
    };
    auto tip = std::make_shared<Ready>();
    tip->Arrows.push_back(std::make_shared<TTipArrow>());
    Tutorial::Tips.push_back(tip);
    auto player = Profile;
    Profile = nullptr;
    Tutorial::Update();  // no player: nothing
    EXPECT_FALSE(Tutorial::CurrTip);
    Profile = player;
    Tutorial::Update();
    EXPECT_EQ(Tutorial::CurrTip, tip);
    ASSERT_EQ(Profile->Tips.size(), 1u);
    tip->dAlpha = 1;
    delta = 1.0f;  // 40 frames at 60 a second (and one for the float's last sliver)
    for (int i = 0; i < 41; ++i) Tutorial::Update();
    EXPECT_FLOAT_EQ(tip->Alpha, 1.0f);
    Tutorial::Clear();
    Tutorial::Update();
    EXPECT_FALSE(Tutorial::CurrTip);  // started once for this player
    EXPECT_EQ(Profile->Tips.size(), 1u);
}

}  // namespace
