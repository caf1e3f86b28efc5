// The options over the game screen, opened by the game panel's menu button: Menu and Replay are
// offered, and the level's clock stands still while the options are open (the game screen is
// locked, as under the help), to run on once they are closed.
#include "game/puzzle/GameScreenHarness.h"

#include "game/shell/Options.h"

namespace {

class OptionsOverGameTest : public gamescreen::GameScreenTest {
protected:
    void SetUp() override {
        OptionsSettings::Reset();
        gamescreen::GameScreenTest::SetUp();
        Options = CreateAppOptionsPopUp();
        Options->Load(nullptr, nullptr);
        Options->SetupAssets();
        Options->Setup();
    }
    void TearDown() override {
        Options = nullptr;
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
    void Click(TGameObject& object, int w, int h) {
        MoveTo(object.DrawX + w / 2.0f, object.DrawY + h / 2.0f);
        Frame();
        Down(1);
        Frame();
        Up(1);
        Frame();
    }
};

TEST_F(OptionsOverGameTest, TheLevelClockStandsStillWhileTheOptionsAreOpen) {
    auto level = Play(MakeLevel({"1.1", ".1.", "1.1"}));
    UntilPlay();
    Updates(120);
    const int before = level->LevelSeconds;
    ASSERT_GE(before, 2);
    ASSERT_TRUE(GamePanel::MenuButton);
    Click(*GamePanel::MenuButton, GamePanel::MenuButton->Width, GamePanel::MenuButton->Height);
    ASSERT_EQ(Game->isPopUp(Options.get()), 1);
    EXPECT_EQ(Options->ButtonMenu->isEnabled, 1);
    EXPECT_EQ(Options->ButtonReplay->isEnabled, 1);
    EXPECT_EQ(Game->isLocked, 1);
    Updates(600);  // ten seconds with the options open
    EXPECT_LE(level->LevelSeconds, before + 1);
    const int open = level->LevelSeconds;

    Click(*Options->ButtonOk, Options->ButtonOk->Width, Options->ButtonOk->Height);
    Frames(35);
    ASSERT_EQ(Game->isPopUp(Options.get()), 0);
    EXPECT_EQ(Game->isLocked, 0);
    Updates(180);
    EXPECT_GE(level->LevelSeconds, open + 2);
}

}  // namespace
