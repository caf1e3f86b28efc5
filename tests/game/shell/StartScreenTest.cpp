#include "game/shell/StartScreen.h"

#include "engine/Control.h"
#include "engine/Emitter.h"
#include "engine/System/Paths.h"
#include "engine/UI_Object.h"
#include "engine/media/AVO.h"
#include "platform/Graphics.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

// A click on the start screen's "Play" button switches the bird between its two animations.
TEST(StartScreenTest, PlayClickSwitchesTheBirdsAnimation) {
    ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
    bDir = testsupport::SourceDir() + "/data/";
    InstallAVO();
    InstallEmitters();
    InstallWidgets();
    TStartScreenPtr screen = CreateStartScreen();
    screen->Load(nullptr, nullptr);
    screen->SetupAssets();
    TGameObjectPtr play = screen->FindObject("Play");
    auto bird = std::dynamic_pointer_cast<TAVO>(screen->FindObject("Bird"));
    ASSERT_TRUE(play);
    ASSERT_TRUE(bird);

    screen->OnPrepare();
    int fly = bird->CurrAnimInd;
    screen->CurrClickObject = play;
    screen->Interface();
    EXPECT_EQ(screen->BirdAnim, "Bob");
    EXPECT_NE(bird->CurrAnimInd, fly);
    screen->Interface();
    EXPECT_EQ(screen->BirdAnim, "Fly");
    EXPECT_EQ(bird->CurrAnimInd, fly);

    // Any other click leaves the bird alone.
    screen->CurrClickObject = bird;
    screen->Interface();
    EXPECT_EQ(screen->BirdAnim, "Fly");
    Control::Reset();
}
