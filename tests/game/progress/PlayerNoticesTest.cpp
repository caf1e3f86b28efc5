// What the player's files tell the player reaches the screen: messages given while the loading
// screen is up (the players are read then) wait for the first screen after it, are shown one at
// a time, come back when a switch of screens closed them unread, and go to a plain dialog once
// the program is ending.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/screen/ScreenCrosser.h"
#include "game/progress/PlayerNotices.h"
#include "platform/System.h"

namespace {

struct Shown {
    std::string text;
    int mode;
    void (*yes)();
    void (*no)();
};
std::vector<Shown> shown;

bool FakeMessagePopUp(const std::string& text, int mode, void (*yes)(), void (*no)()) {
    shown.push_back({text, mode, yes, no});
    return true;
}

class PlayerNoticesTest : public ::testing::Test {
protected:
    // Like the loading screen, it does not pause in the background.
    struct TLoading : TAppScreen {
        bool PausesInBackground() const override { return false; }
    };
    std::shared_ptr<TAppScreen> loading = std::make_shared<TLoading>();
    std::shared_ptr<TAppScreen> menu = std::make_shared<TAppScreen>();
    std::shared_ptr<TAppScreen> map = std::make_shared<TAppScreen>();
    decltype(ControlHooks::ShowMessage)::Function oldHook = ControlHooks::ShowMessage.Get();
    TAppScreenCrosserPtr oldCrosser = CurrScreenCrosser;

    void SetUp() override {
        Control::Reset();
        ResetPlayerNotices();
        shown.clear();
        ControlHooks::ShowMessage = &FakeMessagePopUp;
        testing::internal::CaptureStdout();
    }
    void TearDown() override {
        testing::internal::GetCapturedStdout();
        ControlHooks::ShowMessage = oldHook;
        SetPlainDialog(nullptr);
        CurrScreenCrosser = oldCrosser;
        ResetPlayerNotices();
        Control::Reset();
    }
    // A frame's update of what runs whatever screen is current.
    void Frame() { Control::UpdateGlobalObjects(); }
};

TEST_F(PlayerNoticesTest, MessagesOfTheLoadingScreenWaitForTheFirstScreenAndComeOneAtATime) {
    TellPlayer("before any screen");
    Control::SetScreenInstant(loading);
    TellPlayer("while loading");
    Frame();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(PendingPlayerNotices(), (std::vector<std::string>{"before any screen", "while loading"}));

    // The main menu comes: the first message, with an OK button alone; the second waits for it.
    Control::SetScreenInstant(menu);
    Frame();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "before any screen");
    EXPECT_EQ(shown[0].mode, 3);
    Frame();
    TellPlayer("a save failed");
    EXPECT_EQ(shown.size(), 1u);
    shown[0].yes();  // OK
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "while loading");
    shown[1].no();  // closed some other way: the same
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].text, "a save failed");
    shown[2].yes();
    Frame();
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_TRUE(PendingPlayerNotices().empty());
}

TEST_F(PlayerNoticesTest, AMessageClosedUnreadByASwitchOfScreensComesBack) {
    Control::SetScreenInstant(menu);
    TellPlayer("the save was damaged");
    ASSERT_EQ(shown.size(), 1u);

    // A cross-fade takes the screen away (and the pop-up with it): nothing shows during the fade.
    CurrScreenCrosser = CreateAppCrosser();
    Control::SetScreenInstant(CurrScreenCrosser);
    Frame();
    EXPECT_EQ(shown.size(), 1u);
    Control::SetScreenInstant(map);
    Frame();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "the save was damaged");
    shown[1].yes();
    Frame();
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(PlayerNoticesTest, WhileTheProgramEndsAPlainDialogTellsAndNothingWaits) {
    std::vector<std::string> dialogs;
    SetPlainDialog([&](const std::string& title, const std::string& text) {
        dialogs.push_back(title + ": " + text);
        return true;
    });
    Control::SetScreenInstant(menu);
    Control::isEnded = true;
    TellPlayer("could not save before closing");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dialogs, std::vector<std::string>{"Quiltora: could not save before closing"});
    EXPECT_TRUE(PendingPlayerNotices().empty());
}

}  // namespace
