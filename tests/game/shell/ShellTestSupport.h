// The main menu and its pop-ups in-process on the shipped data (the common ground is
// support/ScreenTest.h): the message, name-entry, continue, options and players pop-ups loaded and
// set up from data/, the players read from the test's per-user folder, the screens the game flow
// switches to; input injected the way the platform delivers it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/media/SoundManager.h"
#include "engine/screen/Control.h"
#include "engine/system/Hook.h"
#include "engine/data/Settings.h"
#include "engine/ui/UI_Object.h"
#include "game/kingdom/Kingdom.h"
#include "game/progress/Profile.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/ContinuePopUp.h"
#include "game/shell/EnterName.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/MainMenu.h"
#include "game/shell/Options.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/StagesScreen.h"
#include "game/startup/AppInit.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"
#include "support/ScreenTest.h"

namespace shelltest {

// Frames a panel's 500 ms animation takes at 60 frames a second, and one more.
constexpr int kAnimFrames = 31;

class ShellTest : public testsupport::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        WireHooks();
        CreateDir(user.file("Profiles"));
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
    }

    void TearDown() override {
        Control::Reset();
        OptionsSettings::Reset();
        MainMenu = nullptr;
        InfoPopUp = nullptr;
        EnterName = nullptr;
        ContinuePopUp = nullptr;
        Options = nullptr;
        Profiles = nullptr;
        Game = nullptr;
        StagesScreen = nullptr;
        Kingdom = nullptr;
        ResetProfileGlobals();
        AppSoundManager::Reset();
        UnsetAllHooks();
        ScreenTest::TearDown();
    }

    template <class T>
    static void LoadAndSetUp(const std::shared_ptr<T>& screen) {
        screen->Load(nullptr, nullptr);
        screen->SetupAssets();
        screen->Setup();
    }

    // The shell as start-up makes it, in start-up's order (the profiles pop-up first, set up
    // last, when it reads the players), with the main menu current.
    void StartShell() {
        Profiles = CreateProfileManager();
        Options = CreateAppOptionsPopUp();
        InfoPopUp = CreateInfoPopUp();
        EnterName = CreateEnterName();
        MainMenu = CreateMainMenu();
        Game = CreateMainGame(CreateShellNavigator());
        Kingdom = CreateKingdomScreen();
        StagesScreen = CreateStagesScreen();
        ContinuePopUp = CreateContinuePopUp();
        LoadAndSetUp(MainMenu);
        LoadAndSetUp(Options);
        LoadAndSetUp(InfoPopUp);
        LoadAndSetUp(EnterName);
        LoadAndSetUp(ContinuePopUp);
        LoadAndSetUp(Profiles);
        SetAppScreen(MainMenu);
    }

    // One frame of the engine's loop; drawn only when asked (the software renderer takes tens
    // of milliseconds for the menu's whole picture, and nothing here depends on it).
    void Frame(bool draw = false) {
        Control::Update();
        if (draw) {
            Cls();
            Control::Draw();
        }
        Flip(-1);  // the fixed clock moves on
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // A left click in the middle of an object: press, a frame, release, a frame. (Objects take
    // their places on the screen when drawn: one frame is drawn first.)
    void Click(const TGameObjectPtr& obj) {
        ASSERT_TRUE(obj);
        Frame(true);
        int w = 0, h = 0;
        obj->GetWidgetSize(w, h);
        MoveToMiddle(*obj, w, h);
        Frame();
        InjectMouseButton(1, true);
        Frame();
        InjectMouseButton(1, false);
        Frame();
    }
    void Key(int key) {
        InjectKeyDown(key);
        Frame();
        InjectKeyUp(key);
        Frame();
    }
    // The text typed, one character a frame.
    void Type(const std::string& text) {
        InjectText(text);
        Frames(static_cast<int>(Utf8ToUtf32(text).size()) + 1);
    }

    // Every button of the screen that is shown lies inside the 1024 x 768 picture, the whole of
    // what the 4:3 window shows (the screen drawn once first, so that its objects stand in place).
    static void ExpectButtonsInsideThePicture(TAppScreen& screen) {
        int buttons = 0;
        for (const auto& obj : screen.CreateAllObjectsList()) {
            auto button = std::dynamic_pointer_cast<TUIButton>(obj);
            if (!button || button->isEnabled == 0) continue;
            ++buttons;
            const float right = button->DrawX + static_cast<float>(button->Width) * button->DrawScaleX;
            const float bottom = button->DrawY + static_cast<float>(button->Height) * button->DrawScaleY;
            EXPECT_TRUE(button->DrawX >= 0.0f && right <= 1024.0f && button->DrawY >= 0.0f && bottom <= 768.0f)
                << screen.name << ": " << button->name << " from " << button->DrawX << ", " << button->DrawY << " to "
                << right << ", " << bottom;
        }
        EXPECT_GT(buttons, 0) << screen.name;
    }

    TGameObjectPtr MenuButton(int id) { return MainMenu->FindObjectInd(id); }
    static bool Shown(const std::shared_ptr<TAppPopUp>& popup) {
        return Control::CurrScreen && Control::CurrScreen->isPopUp(popup.get()) != 0;
    }
    static bool Enabled(const TGameObjectPtr& obj) { return obj && obj->isEnabled != 0; }
};

}  // namespace shelltest
