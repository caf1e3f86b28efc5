#include "game/shell/StartScreen.h"

#include "engine/screen/Control.h"
#include "engine/screen/DrawObject.h"
#include "engine/particles/Emitter.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "engine/media/AVO.h"
#include "engine/media/SoundManager.h"
#include "platform/Graphics.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Saving the start screen (the console's SAVESCREEN) keeps the draw objects its file gives its
// objects: loaded back, every object draws what it drew before.
TEST(StartScreenTest, SavingKeepsTheDrawObjects) {
    ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
    bDir = testsupport::SourceDir() + "/data/";
    const std::string oldLocalizeDir = LocalizeDir;
    LocalizeDir = bDir + "Local/en/";
    InstallAVO();
    InstallEmitters();
    InstallWidgets();

    // What an object draws: its draw object's kind and what it shows.
    auto describe = [](const TGameObject& obj) -> std::string {
        if (!obj.DrawObject) return "none";
        std::string what = obj.DrawObject->GetTypeString() + " " + std::to_string(obj.DrawObject->width) + "x" +
                           std::to_string(obj.DrawObject->height);
        if (auto image = std::dynamic_pointer_cast<TAppDrawObjectImage>(obj.DrawObject))
            what += " " + image->ImageUrl + (!image->image ? " no asset" : image->image->isMidHandled ? " mid" : "");
        if (auto avo = std::dynamic_pointer_cast<TAppDrawObjectAVO>(obj.DrawObject))
            what += avo->avo ? " " + avo->avo->url : " no asset";
        if (auto text = std::dynamic_pointer_cast<TAppDrawObjectText>(obj.DrawObject))
            what += " " + std::to_string(text->TextLine) + " '" + text->Text + "' " + (text->Class ? text->Class->id : "");
        return what;
    };
    auto drawn = [&](TAppScreen& screen) {
        std::vector<std::string> out;
        for (const TGameObjectPtr& obj : screen.CreateAllObjectsList()) out.push_back(obj->name + ": " + describe(*obj));
        return out;
    };

    auto original = std::make_shared<TStartScreen>();
    original->LoadFromFile(bDir + StartScreenFile);
    const std::vector<std::string> before = drawn(*original);
    ASSERT_FALSE(before.empty());
    int withDrawObject = 0;
    for (const TGameObjectPtr& obj : original->Objects) withDrawObject += obj->DrawObject ? 1 : 0;
    ASSERT_GT(withDrawObject, 0);

    testsupport::TempDir dir;
    LocalizeDir = dir.path() + "/";  // the texts are written there, not into the data folder
    ASSERT_EQ(original->SaveToFile(dir.file("Start.AppScreen")), dir.file("Start.AppScreen"));

    auto reloaded = std::make_shared<TStartScreen>();
    reloaded->LoadFromFile(dir.file("Start.AppScreen"));
    EXPECT_EQ(drawn(*reloaded), before);

    LocalizeDir = oldLocalizeDir;
    Control::Reset();
}

// The start screen reads the shipped music tracks once and plays the first one when it is
// entered; a second set-up does not read them again.
TEST(StartScreenTest, EnteringPlaysTheFirstMusicTrack) {
    bDir = testsupport::SourceDir() + "/data/";
    AppSoundManager::Reset();
    TStartScreen screen;
    screen.OnSetup();
    ASSERT_EQ(AppSoundManager::MusicsList.size(), 6u);
    screen.OnSetup();
    EXPECT_EQ(AppSoundManager::MusicsList.size(), 6u);
    screen.OnPrepare();
    EXPECT_EQ(AppSoundManager::CurrMusic, AppSoundManager::MusicsList[0]);
    AppSoundManager::Reset();
}
