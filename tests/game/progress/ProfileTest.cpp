// The profile's data model and game flow: the Id, level records, counting, starting over and
// continuing.
#include "ProfileTestSupport.h"

using namespace profiletest;

namespace {

TEST(ProfileIdTest, IdIsTheNamesUtf16UnitsInDecimal) {
    struct Case {
        const char* name;
        const char* trimmed;
        const char* id;
    };
    const Case cases[] = {
        {"Ann", "Ann", "65-110-110"},
        {"  Ann \t", "Ann", "65-110-110"},
        {"ann", "ann", "97-110-110"},
        {"", "", ""},
        {"   ", "", ""},
        {"Zo\xC3\xAB", "Zo\xC3\xAB", "90-111-235"},                    // a Latin-1 letter
        {"A\xF0\x9F\x98\x80", "A\xF0\x9F\x98\x80", "65-55357-56832"},  // beyond the basic plane
        {"../x", "../x", "46-46-47-120"},                              // never a path
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = CreateNewProfile(c.name);
        EXPECT_EQ(p->name, c.trimmed);
        EXPECT_EQ(p->FileName, c.id);
    }
}

TEST(ProfileLevelTest, TextFormRoundTripsAndReadsShortLongAndBadTexts) {
    auto rec = CreateprofileLevel(3);
    EXPECT_EQ(rec->ToString(), "3,0,0,0,0,0,0");
    rec->isPassed = rec->isUnlocked = 1;
    rec->Stars = 2;
    rec->Score = 950;
    rec->TilesUncovered = 412;
    rec->TilesCrossed = 120;
    EXPECT_EQ(rec->ToString(), "3,1,1,2,950,412,120");
    EXPECT_EQ(CreateProfileLevelFromString(rec->ToString())->ToString(), "3,1,1,2,950,412,120");

    struct Case {
        const char* text;
        const char* read;
    };
    const Case cases[] = {
        {"12,1,1,3,1210,3000,800", "12,1,1,3,1210,3000,800"},
        {"5,1", "5,1,0,0,0,0,0"},                 // fields without a piece stay 0
        {"4,,1", "4,0,1,0,0,0,0"},                // an empty inner piece counts
        {"4,1,1,2,5,6,7,8,9", "4,1,1,2,5,6,7"},   // further pieces are ignored
        {"7,1,1,9,100,0,0", "7,1,1,3,100,0,0"},   // stars above 3 are brought down
        {"7,1,1,-2,100,0,0", "7,1,1,0,100,0,0"},  // and below 0 up
        {"", "0,0,0,0,0,0,0"},
        {"x,y", "0,0,0,0,0,0,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CreateProfileLevelFromString(c.text)->ToString(), c.read);
    }
}

TEST(ProfileRecordsTest, QueriesCreateNothingAndWinsAreBookedAndCounted) {
    TProfile p;
    EXPECT_EQ(p.CanContinue(), 0);
    EXPECT_EQ(p.Game_LevelStarsCount(5), 0);
    EXPECT_EQ(p.isLevelAvailableToPlay(5), 0);
    EXPECT_EQ(p.isLevelPassed(5), 0);
    EXPECT_EQ(p.GetLevel(5, 0), nullptr);
    EXPECT_TRUE(p.Levels.empty());

    p.Level_Unlock(1);
    p.Level = 1;
    p.TilesUncovered = 30;
    p.TilesCrossed = 12;
    p.Game_PassCurrLevel(3, 500);
    p.Level_Unlock(2);
    p.Level = 2;
    p.Game_PassCurrLevel(2, 300);
    EXPECT_EQ(p.Levels.size(), 2u);
    EXPECT_EQ(p.GetLevel(1, 0)->ToString(), "1,1,1,3,500,30,12");
    EXPECT_EQ(p.Game_CountStars(), 5);
    EXPECT_EQ(p.Game_CountPlayedLevels(), 2);

    // A replay won with fewer stars lowers the record and the total.
    p.Level = 1;
    p.Game_PassCurrLevel(1, 200);
    EXPECT_EQ(p.Game_LevelStarsCount(1), 1);
    EXPECT_EQ(p.Game_CountSummaryDatas(), 0);
    EXPECT_EQ(p.Stars, 3);

    // Winning level 100 unlocks a record for 101 like any other; it adds no stars.
    p.Level_Unlock(101);
    EXPECT_EQ(p.isLevelAvailableToPlay(101), 1);
    EXPECT_EQ(p.Game_CountStars(), 3);
}

TEST(ProfileRecordsTest, KingdomAndAwardQueries) {
    TProfile p;
    for (int id = 1; id <= 28; ++id) {
        p.Kingdom_AddObject(id);
        EXPECT_EQ(p.Kingdom_FirstAward(), id >= 14 ? 1 : 0) << id;
        EXPECT_EQ(p.Kingdom_SecondAward(), id == 28 ? 1 : 0) << id;
    }
    EXPECT_EQ(p.Kingdom_HaveObject(7), 1);
    EXPECT_EQ(p.Kingdom_HaveObject(29), 0);

    auto award = std::make_shared<TAward>();
    award->id = 4;
    EXPECT_EQ(p.HaveAward(award), 0);
    p.Awards.push_back(award);
    EXPECT_EQ(p.isAward(4), 1);
    EXPECT_EQ(p.isAward(5), 0);
}

// ---------------------------------------------------------------------------------------------
// Game flow

TEST_F(ProfileTest, StartNewClearsProgressKeepsAwardsAndGoesToTheStagesMap) {
    auto p = CreateNewProfile("Ann");
    p->MapY = p->MapScreenAnimationShowed = p->TutorialScreenShowed = p->KingdomTutorialScreenShowed = 1;
    p->LevelsWithoutMistakes = p->LevelsWithoutHint = p->LevelsWithHint = p->HintUsed = 2;
    p->TilesUncovered = p->TilesCrossed = p->CashSpend = 3;
    p->CurrMusicNumber = 5;
    p->Level = 40;
    p->Stars = 60;
    p->Score = 9000;
    p->CurrScreen = "Kingdom";
    p->BuildingStage = 4;
    p->Buildings = {4, 9};
    p->Level_Unlock(40);
    p->Awards.push_back(std::make_shared<TAward>());
    auto level = SmallLevel();
    p->CurrLevel = level;

    p->Game_StartNew();
    for (int v : {p->MapY, p->MapScreenAnimationShowed, p->TutorialScreenShowed, p->KingdomTutorialScreenShowed,
                  p->LevelsWithoutMistakes, p->LevelsWithoutHint, p->LevelsWithHint, p->HintUsed, p->TilesUncovered,
                  p->TilesCrossed, p->CashSpend, p->Stars, p->Score, p->BuildingStage})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(p->CurrMusicNumber, 1);
    EXPECT_EQ(p->Level, 1);
    EXPECT_EQ(p->CurrScreen, "");
    EXPECT_EQ(p->CanContinue(), 0);
    EXPECT_TRUE(p->Buildings.empty());
    ASSERT_EQ(p->Levels.size(), 1u);
    EXPECT_EQ(p->Levels[0]->ToString(), "1,0,1,0,0,0,0");
    EXPECT_EQ(p->Awards.size(), 1u);
    EXPECT_EQ(p->CurrLevel, level);
    EXPECT_EQ(Control::CurrScreen, stages);
}

TEST_F(ProfileTest, PlayRestartAndIncreaseLoadTheLevelOfTheirNumber) {
    auto p = CreateNewProfile("Ann");
    Profile = p;
    p->Game_PlayLevel(2);
    ASSERT_NE(p->CurrLevel, nullptr);
    EXPECT_EQ(p->CurrLevel->Score, 200);
    EXPECT_EQ(Game->CurrLevel, p->CurrLevel);
    EXPECT_EQ(Control::CurrScreen, Game);

    // The restart callback reloads a fresh level and switches nothing.
    auto played = p->CurrLevel;
    Control::SetScreen(stages);
    RestartCurrPlayerLevel();
    EXPECT_NE(p->CurrLevel, played);
    EXPECT_EQ(Game->CurrLevel, p->CurrLevel);
    EXPECT_EQ(Control::CurrScreen, stages);

    p->Level = 100;
    p->Game_IncriseLevel();
    EXPECT_EQ(p->Level, 100);
    EXPECT_EQ(Control::CurrScreen, kingdom);

    // A level number above the last plays the last level.
    p->Level = 250;
    p->Game_PlayNextLevel();
    EXPECT_EQ(p->Level, 100);
    EXPECT_EQ(p->CurrLevel->Score, 10000);

    // A level whose file is missing is reported and the player stays where they are.
    Control::SetScreen(stages);
    testing::internal::CaptureStdout();
    p->Game_PlayLevel(50);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    EXPECT_EQ(p->CurrLevel, nullptr);
    EXPECT_EQ(Control::CurrScreen, stages);
}

TEST_F(ProfileTest, ContinueResumesPlayInProgressButNeverALostOrWonLevel) {
    auto p = CreateNewProfile("Ann");
    p->Level = 3;

    // Nothing to continue: the stages map.
    p->Game_Continue();
    EXPECT_EQ(Control::CurrScreen, stages);

    p->CurrScreen = "Kingdom";
    p->Game_Continue();
    EXPECT_EQ(Control::CurrScreen, kingdom);

    // A level in progress is played on as it was.
    p->CurrScreen = "GameScreen";
    auto inProgress = SmallLevel();
    inProgress->Mistakes = 5;
    p->CurrLevel = inProgress;
    p->Game_Continue();
    EXPECT_EQ(Control::CurrScreen, Game);
    EXPECT_EQ(Game->CurrLevel, inProgress);

    // A level the game screen marked lost or won starts afresh, and so does one read back with
    // the losing mistake made.
    for (int how = 0; how < 3; ++how) {
        SCOPED_TRACE(how);
        auto over = SmallLevel();
        over->Mistakes = how == 2 ? 6 : 1;
        over->isLevelLost = how == 0;
        over->isLevelWon = how == 1;
        p->CurrLevel = over;
        Control::SetScreen(stages);
        p->Game_Continue();
        EXPECT_EQ(Control::CurrScreen, Game);
        ASSERT_NE(Game->CurrLevel, over);
        EXPECT_EQ(std::dynamic_pointer_cast<TPACLevel>(Game->CurrLevel)->Mistakes, 0);
        EXPECT_EQ(Game->CurrLevel->Score, 300);
    }

    // No current level yet: the level of number Level.
    p->CurrLevel = nullptr;
    p->Game_Continue();
    ASSERT_NE(Game->CurrLevel, nullptr);
    EXPECT_EQ(Game->CurrLevel->Score, 300);

    // A screen name that names no screen (an edited file) is taken as nothing to continue.
    p->CurrScreen = "Nowhere";
    testing::internal::CaptureStdout();
    p->Game_Continue();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Nowhere"), std::string::npos);
    EXPECT_EQ(Control::CurrScreen, stages);
}

}  // namespace
