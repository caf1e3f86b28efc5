// The start-up's table of screens and pop-ups: created through their factories, registered with
// Control in table order under their names and files, kept in their globals; and every file the
// table names is shipped in data/.
#include "game/startup/AppInit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/Game.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

class AppInitTest : public ::testing::Test {
protected:
    std::string savedDir;
    void SetUp() override {
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        Control::Reset();
        OptionsSettings::Reset();
        CreateAppScreens();
    }
    void TearDown() override {
        Control::Reset();
        OptionsSettings::Reset();
        bDir = savedDir;
    }
};

using Row = std::pair<std::string, std::string>;  // name, file under the data folder

TEST_F(AppInitTest, ScreensAndPopUpsAreRegisteredInTableOrder) {
    const std::vector<Row> screens{
        {"Loading Screen", "Screens/LoadingScreen/LoadingScreen.AppScreen"},
        {"Special Loadings", ""},
        {"MainMenu", "Screens/MainMenu/MainMenu.AppScreen"},
        {"GameScreen", "Screens/MainGame/GameScreen.AppScreen"},
        {"Kingdom", "Screens/Kingdom/Kingdom.AppScreen"},
        {"Stages", "Screens/Stages/Stages.AppScreen"},
        {"Credits", "Screens/Credits/Credits.AppScreen"},
        {"Level Summary", "PopUps/LevelSummary/LevelSummary.AppScreen"},
        {"RateScreen", "Screens/RateScreen/RateScreen.AppScreen"},
    };
    // In the order the loading screen handles them: the profiles pop-up, made second, comes last.
    const std::vector<Row> popups{
        {"Options", "PopUps/Options/Options.AppPopUp"},
        {"Info", "PopUps/InfoPopUp/InfoPopUp.AppPopUp"},
        {"EnterName", "PopUps/Entername/EnterName.AppPopUp"},
        {"ContinuePopUp", "PopUps/Continue/Continue.AppPopUp"},
        {"LoseScreen", "PopUps/LoseScreen/LoseSCreen.AppScreen"},
        {"Help", "PopUps/Help/HelpScreen.AppPopUp"},
        {"KingdomHelp", "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp"},
        {"AwardsShow", "PopUps/AwardsShow/AwardsShow.AppPopUp"},
        {"GiveAward", "PopUps/GiveAward/GiveAward.AppPopUp"},
        {"ProfileManager", "PopUps/Profiles/Profiles.AppPopUp"},
    };
    auto rows = [](const auto& list) {
        std::vector<Row> out;
        for (const auto& s : list) {
            std::string file = s->FileUrl;
            if (StartsWith(file, bDir)) file = file.substr(bDir.size());
            out.emplace_back(s->name, file);
        }
        return out;
    };
    EXPECT_EQ(rows(GetScreensList()), screens);
    EXPECT_EQ(rows(GetPopUpsList()), popups);
    EXPECT_EQ(Control::PopUps[0], Profiles);  // created second, right after the loading screen

    // Each global holds its registered object.
    const std::vector<std::shared_ptr<TAppScreen>> globals{
        LoadingScreen, SpecialLoads, MainMenu, Game, Kingdom, StagesScreen, Credits, LevelSummary, RateScreen};
    ASSERT_EQ(Control::Screens.size(), globals.size());
    for (size_t i = 0; i < globals.size(); ++i) EXPECT_EQ(Control::Screens[i], globals[i]) << i;
    EXPECT_EQ(Options, Control::PopUps[1]);
    EXPECT_EQ(GiveAward, Control::PopUps.back());
    EXPECT_EQ(Profiles->isAtEndSetuped, 1);
    EXPECT_EQ(Options->isAtEndSetuped, 0);

    // The two fading-screen objects are made but not registered; the options offer Menu and
    // Replay over the game screen; the profiles and options pop-ups save at the end, the level
    // summary's booking (when the game ends on it) just ahead of the players' save.
    EXPECT_TRUE(branding);
    EXPECT_TRUE(NewsLetter);
    EXPECT_EQ(OptionsSettings::ScreensWithMenuAndReplay, (std::vector<std::string>{"MainGame", "GameScreen"}));
    ASSERT_EQ(Control::ToSaveAtEndList.size(), 3u);
    EXPECT_EQ(Control::ToSaveAtEndList[0], LevelSummary);
    EXPECT_EQ(Control::ToSaveAtEndList[1], Profiles);
    EXPECT_EQ(Control::ToSaveAtEndList[2], Options);
}

TEST_F(AppInitTest, EveryFileOfTheTableIsShippedWithItsTextFile) {
    LocalizeDir = bDir + "Local/en/";
    std::vector<std::shared_ptr<TAppScreen>> all(Control::Screens.begin(), Control::Screens.end());
    all.insert(all.end(), Control::PopUps.begin(), Control::PopUps.end());
    for (const auto& s : all) {
        if (s == SpecialLoads) continue;
        SCOPED_TRACE(s->FileUrl);
        // The exact path, letter case included ("Entername", "LoseSCreen").
        EXPECT_TRUE(ResolvePath(s->FileUrl) == s->FileUrl && FileType(s->FileUrl) == 1);
        EXPECT_EQ(FileType(LocalizeDir + StripAll(s->FileUrl) + ".txt"), 1);
    }
}

// The newsletter and the launcher ship switched off (neither has a real server).
TEST_F(AppInitTest, TheShippedDataSwitchesTheNewsletterAndTheLauncherOff) {
    EXPECT_EQ(NewsLetterOn, 0);
    EXPECT_EQ(LauncherOn, 0);
    EXPECT_EQ(AppInitLauncher(), 0);
}

}  // namespace
