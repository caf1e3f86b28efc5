// The main menu and the continue pop-up on the shipped data: Play starts or offers to continue,
// the continue pop-up's three ways, the exit question with the save at exit in its order, the
// developer's statistics table and the rate button.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "engine/data/BlockFile.h"
#include "engine/screen/Console.h"
#include "online/Launcher.h"
#include "online/RateScreen.h"

using namespace shelltest;

namespace {

constexpr int PlayId = 11, PlayersId = 13, ExitId = 14, RateId = 502;

class MainMenuTest : public ShellTest {
protected:
    void TearDown() override {
        CheatsOn = 0;
        StoreBuild = 0;
        AppSettings::Reset();
        RateScreen = nullptr;
        ShellTest::TearDown();
    }
    // Ann with play in progress on the stages map, two levels won.
    void WriteAnn() {
        testsupport::WriteFileBytes(user.file("Profiles/Profiles.dat"),
                                    "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-110-110\"\n"
                                    "\tName = \"Ann\"\n}\n");
        testsupport::WriteFileBytes(user.file("Profiles/65-110-110.AppProfile"),
                                    "Data{\n\tName = \"Ann\"\n\tLevel = 3\n\tScore = 2100\n\tScreen = \"Stages\"\n}\n"
                                    "Levels{\n\ti = 3\n\tLevel1 = \"1,1,1,3,1200,25,10\"\n"
                                    "\tLevel2 = \"2,1,1,2,900,60,31\"\n\tLevel3 = \"3,0,1,0,0,0,0\"\n}\n");
    }
};

TEST_F(MainMenuTest, PlayStartsAFreshPlayerAndOffersToContinueOtherwise) {
    StartShell();
    ASSERT_EQ(Profile->CanContinue(), 0);
    Click(MenuButton(PlayId));
    EXPECT_EQ(Control::CurrScreen, StagesScreen);
    EXPECT_EQ(Profile->Level, 1);
    EXPECT_EQ(Profile->isLevelAvailableToPlay(1), 1);
    EXPECT_FALSE(Shown(ContinuePopUp));
}

TEST_F(MainMenuTest, TheContinuePopUpContinuesStartsOverOrGoesBack) {
    WriteAnn();
    StartShell();
    // Back only closes it; the menu reacts again afterwards.
    Click(MenuButton(PlayId));
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(ContinuePopUp));
    EXPECT_EQ(Control::CurrScreen, MainMenu);
    Click(ContinuePopUp->FindObjectInd(3));
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(ContinuePopUp));
    Click(MenuButton(PlayersId));
    EXPECT_TRUE(Shown(Profiles));
    Click(Profiles->ButtonOk);
    Frames(kAnimFrames);

    // New game asks first; No leaves the pop-up and the progress as they were.
    Click(MenuButton(PlayId));
    Frames(kAnimFrames);
    Click(ContinuePopUp->FindObjectInd(2));
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(InfoPopUp));
    EXPECT_EQ(InfoPopUp->Text->Text, ContinuePopUp->GetTxt(4));
    EXPECT_FALSE(InfoPopUp->Text->Text.empty());
    Click(InfoPopUp->No);
    Frames(kAnimFrames);
    EXPECT_TRUE(Shown(ContinuePopUp));
    EXPECT_EQ(Profile->Score, 2100);
    EXPECT_EQ(Profile->Levels.size(), 3u);

    // Continue goes back to the screen where play stopped, once.
    Click(ContinuePopUp->FindObjectInd(1));
    EXPECT_EQ(Control::CurrScreen, StagesScreen);
    EXPECT_FALSE(StagesScreen->isPopUp(ContinuePopUp.get()));
    EXPECT_EQ(Profile->Score, 2100);

    // Yes to a new game starts over.
    SetAppScreen(MainMenu);
    Click(MenuButton(PlayId));
    Frames(kAnimFrames);
    Click(ContinuePopUp->FindObjectInd(2));
    Frames(kAnimFrames);
    Click(InfoPopUp->Yes);
    Frames(kAnimFrames);
    EXPECT_EQ(Control::CurrScreen, StagesScreen);
    EXPECT_EQ(Profile->Score, 0);
    EXPECT_EQ(Profile->Levels.size(), 1u);
    // The map, now current, is where play stands.
    EXPECT_EQ(Profile->CurrScreen, "Stages");
}

TEST_F(MainMenuTest, ExitAsksThenSavesThePlayersAndTheSettingsAndEnds) {
    WriteAnn();
    StartShell();
    AppSettings::LoadData();
    // What the program's end finds: every file already written, the players before the settings.
    std::vector<std::string> ends;
    AppExitFunction = [&] {
        auto progress = LoadBlockFile(user.file("Profiles/65-110-110.AppProfile"));
        ends.push_back("exit score " + std::to_string(GetBFInt(progress, "Data::Score")) + " settings " +
                       std::to_string(FileType(AppSettings::UserFileUrl())));
    };
    ASSERT_EQ(Control::ToSaveAtEndList.size(), 2u);
    EXPECT_EQ(Control::ToSaveAtEndList[0], Profiles);
    EXPECT_EQ(Control::ToSaveAtEndList[1], Options);
    CreateDir(user.file("Data"));

    Click(MenuButton(ExitId));
    Frames(kAnimFrames);
    ASSERT_TRUE(Shown(InfoPopUp));
    EXPECT_EQ(InfoPopUp->Text->Text, MainMenu->TxtAreYouSureYouWantToExit);
    EXPECT_EQ(MainMenu->TxtAreYouSureYouWantToExit, MainMenu->GetTxt(1));
    Click(InfoPopUp->No);
    Frames(kAnimFrames);
    EXPECT_FALSE(Shown(InfoPopUp));
    EXPECT_TRUE(ends.empty());

    Profile->Score = 2500;
    Click(MenuButton(ExitId));
    Frames(kAnimFrames);
    Click(InfoPopUp->Yes);
    EXPECT_TRUE(ends.empty());  // not before the pop-up has closed
    Frames(kAnimFrames);
    EXPECT_EQ(ends, std::vector<std::string>{"exit score 2500 settings 1"});
}

TEST_F(MainMenuTest, TheStatisticsTableOnlyWithTheDeveloperMarker) {
    WriteAnn();
    StartShell();
    testsupport::TempDir work;
    const std::string cwd = CurrentDir();
    ASSERT_EQ(::chdir(work.path().c_str()), 0);
    auto controlT = [&] {
        InjectKeyDown(KEY_LCONTROL);
        Key('T');
        InjectKeyUp(KEY_LCONTROL);
        Frame();
    };
    controlT();
    EXPECT_EQ(FileType(work.file("Table.txt")), 0);
    CheatsOn = 1;
    Key('T');
    EXPECT_EQ(FileType(work.file("Table.txt")), 0);
    controlT();
    const std::string table = testsupport::ReadFileBytes(work.file("Table.txt"));
    Profile->Levels.clear();
    const std::string empty = StatisticsTable(*Profile);
    ASSERT_EQ(::chdir(cwd.c_str()), 0);

    const std::string hyphens(22, '-');
    EXPECT_EQ(table, "Level: 1\nScore: 1200\nStars: 3\nTiles Uncovered: 25\nTiles Crossed: 10\n" + hyphens +
                         "\nLevel: 2\nScore: 900\nStars: 2\nTiles Uncovered: 60\nTiles Crossed: 31\n" + hyphens +
                         "\nLevel: 3\nScore: 0\nStars: 0\nTiles Uncovered: 0\nTiles Crossed: 0\n" + hyphens +
                         "\nTOTAL SCORE: 2100\nTOTAL STARS: 5\n");
    EXPECT_EQ(empty, "TOTAL SCORE: 0\nTOTAL STARS: 0\n");
}

TEST_F(MainMenuTest, TheRateButtonShowsInTheStoreEditionUntilRated) {
    RateScreen = TRateScreen::Create();
    StartShell();
    const struct {
        int store, rated;
        bool shown;
    } cases[] = {{0, 0, false}, {0, 1, false}, {1, 0, true}, {1, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.store) + " " + std::to_string(c.rated));
        StoreBuild = c.store;
        AppSettings::SetGameWasRated(c.rated);
        SetAppScreen(MainMenu);
        EXPECT_EQ(Enabled(MenuButton(RateId)), c.shown);
    }
    StoreBuild = 1;
    AppSettings::SetGameWasRated(0);
    SetAppScreen(MainMenu);
    RateScreen->initFromGame = 1;
    Click(MenuButton(RateId));
    EXPECT_EQ(Control::CurrScreen, RateScreen);
    EXPECT_EQ(RateScreen->initFromGame, 0);
}

}  // namespace
