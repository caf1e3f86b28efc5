// The options over the game screen, opened by the game panel's menu button: Menu and Replay are
// offered. The game screen is not locked under them (only the help locks it): the level's clock
// runs on while they are open, while the board takes no move until they are closed. Replay asks
// first: No leaves everything as it was, Yes starts the player's level again on the game screen.
#include "game/puzzle/GameScreenHarness.h"

#include "game/progress/Profile.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/Options.h"

namespace {

class OptionsOverGameTest : public gamescreen::GameScreenTest {
protected:
    void SetUp() override {
        OptionsSettings::Reset();
        gamescreen::GameScreenTest::SetUp();
        Options = CreateAppOptionsPopUp();
        OptionsSettings::AddScreen(Game);  // as the game's start-up does
        Options->Load(nullptr, nullptr);
        Options->SetupAssets();
        Options->Setup();
        InfoPopUp = CreateInfoPopUp();
        InfoPopUp->Load(nullptr, nullptr);
        InfoPopUp->SetupAssets();
        InfoPopUp->Setup();
    }
    void TearDown() override {
        Options = nullptr;
        InfoPopUp = nullptr;
        Profile = nullptr;
        OptionsSettings::Reset();
        gamescreen::GameScreenTest::TearDown();
    }
    // Frames of the update alone (the clock ticks there), without the cost of drawing.
    void Updates(int n) {
        for (int i = 0; i < n; ++i) {
            Control::Update();
            AdvanceFixedClock();
        }
    }
    void Click(const TUIButtonPtr& b) {
        ASSERT_TRUE(b);
        ClickAt(*b, b->Width, b->Height);
    }
    void OpenOptions() {
        Click(GamePanel::MenuButton);
        Updates(35);
        ASSERT_EQ(Game->isPopUp(Options.get()), 1);
    }
};

TEST_F(OptionsOverGameTest, TheLevelClockRunsOnUnderTheOptionsWhileTheBoardWaits) {
    auto made = MakeLevel({"1.1", ".1.", "1.1"});
    made->SetHints(3);
    auto level = Play(made);
    UntilPlay();
    Updates(120);
    const int before = level->LevelSeconds;
    ASSERT_GE(before, 2);
    ASSERT_TRUE(GamePanel::MenuButton);
    ClickAt(*GamePanel::MenuButton, GamePanel::MenuButton->Width, GamePanel::MenuButton->Height);
    ASSERT_EQ(Game->isPopUp(Options.get()), 1);
    EXPECT_EQ(Options->ButtonMenu->isEnabled, 1);
    EXPECT_EQ(Options->ButtonReplay->isEnabled, 1);
    EXPECT_EQ(Game->isLocked, 0);
    Updates(600);  // ten seconds with the options open: the clock counts them
    EXPECT_GE(level->LevelSeconds, before + 9);
    EXPECT_LE(level->LevelSeconds, before + 11);
    EXPECT_EQ(Game->CurrState, 0);

    // A press and release on a cell while the options are open uncovers nothing.
    MoveToCell(*level, 0, 0);
    Updates(2);
    Down(1);
    Updates(2);
    Up(1);
    Updates(2);
    EXPECT_EQ(level->Tile(0, 0, 0)->isCovered, 1);
    // Nor does the panel take clicks: a click on a lit hint beside the options spends nothing.
    auto hint = GamePanel::Hints[0];
    ASSERT_TRUE(hint && hint->Point && hint->isLoaded);
    MoveTo(hint->Point->DrawX + 20, hint->Point->DrawY + 20);
    Updates(2);
    Down(1);
    Updates(2);
    Up(1);
    Updates(2);
    EXPECT_EQ(hint->isLoaded, 1);
    EXPECT_EQ(level->HintWasUsed, 0);

    ClickAt(*Options->ButtonOk, Options->ButtonOk->Width, Options->ButtonOk->Height);
    Updates(35);
    ASSERT_EQ(Game->isPopUp(Options.get()), 0);
    const int closed = level->LevelSeconds;
    Updates(180);
    EXPECT_GE(level->LevelSeconds, closed + 2);
    // Closed, the board and the panel take moves again.
    Drag(*level, 0, 0, 0, 0, 1);
    EXPECT_EQ(level->Tile(0, 0, 0)->isCovered, 0);
    MoveTo(hint->Point->DrawX + 20, hint->Point->DrawY + 20);
    Updates(2);
    Down(1);
    Updates(2);
    Up(1);
    Updates(2);
    EXPECT_EQ(hint->isLoaded, 0);
    EXPECT_EQ(level->HintWasUsed, 1);
}

TEST_F(OptionsOverGameTest, ReplayAsksFirstAndYesStartsThePlayersLevelAgain) {
    Profile = std::make_shared<TProfile>();
    Profile->Level = 1;
    Profile->TutorialScreenShowed = 1;  // the first level's help (which locks the game) is seen
    auto first = Play(1);
    UntilPlay();
    Updates(120);
    ASSERT_GE(first->LevelSeconds, 2);
    OpenOptions();

    // No: the question closes, the options and the level stay.
    Click(Options->ButtonReplay);
    ASSERT_EQ(Game->isPopUp(InfoPopUp.get()), 1);
    EXPECT_EQ(InfoPopUp->Text->Text, Options->GetTxt(11));
    Updates(35);
    Click(InfoPopUp->No);
    Updates(35);
    EXPECT_EQ(Game->isPopUp(InfoPopUp.get()), 0);
    EXPECT_EQ(Game->isPopUp(Options.get()), 1);
    EXPECT_EQ(Game->CurrLevel, first);

    // Yes: the options go with the switch, and the level starts again from its file.
    Click(Options->ButtonReplay);
    Updates(35);
    Click(InfoPopUp->Yes);
    Updates(35);
    EXPECT_EQ(Game->isPopUp(InfoPopUp.get()), 0);
    EXPECT_EQ(Game->isPopUp(Options.get()), 0);
    EXPECT_EQ(Control::CurrScreen, Game);
    EXPECT_EQ(Game->isLocked, 0);
    ASSERT_TRUE(Game->CurrLevel);
    EXPECT_NE(Game->CurrLevel, first);
    EXPECT_EQ(Game->CurrLevel, Profile->CurrLevel);
    EXPECT_EQ(Game->CurrPacLevel->LevelSeconds, 0);
}

}  // namespace
