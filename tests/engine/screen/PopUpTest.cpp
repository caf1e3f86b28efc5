// Pop-ups and the pop-up stack of a screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/AppScreenTestSupport.h"

namespace {

using namespace screentest;

class PopUpTest : public ScreenFixture {};

TEST_F(PopUpTest, OnlyTheTopPopUpUpdatesAndAllAreDrawnInShowOrder) {
    auto screen = MakeScreen("S");
    auto first = MakePopUp("P1");
    auto second = MakePopUp("P2");
    screen->ShowPopUp(first);
    screen->ShowPopUp(second);
    Log().clear();
    screen->Updating();
    EXPECT_EQ(Count("P1.UpdateAtStart"), 0);
    EXPECT_EQ(Count("P2.UpdateAtStart"), 1);
    Log().clear();
    screen->Drawing();
    EXPECT_EQ(LogOf({"P1.OnDraw", "P2.OnDraw"}), (std::vector<std::string>{"P1.OnDraw", "P2.OnDraw"}));

    second->Hide();
    EXPECT_EQ(screen->ActivePopUps.size(), 1u);
    Log().clear();
    screen->Updating();
    EXPECT_EQ(Count("P1.UpdateAtStart"), 1);
    EXPECT_EQ(Count("P2.UpdateAtStart"), 0);
}

TEST_F(PopUpTest, ShowingAPopUpFlushesInput) {
    auto screen = MakeScreen("S");
    auto popup = MakePopUp("P");
    for (int shown = 0; shown < 2; ++shown) {  // a second show only flushes
        SCOPED_TRACE(shown);
        InjectKeyDown(65);
        InjectChar('a');
        InjectMouseButton(1, true);
        Mouse::LeftPressed = Mouse::LeftHolded = 1;
        screen->ShowPopUp(popup);
        EXPECT_EQ(KeyHit(65), 0);
        EXPECT_FALSE(KeyDown(65));
        EXPECT_EQ(GetChar(), 0);
        EXPECT_EQ(MouseHit(1), 0);
        EXPECT_EQ(Mouse::LeftPressed + Mouse::LeftHolded, 0);
    }
    EXPECT_EQ(screen->ActivePopUps.size(), 1u);
    EXPECT_EQ(Count("P.OnShow"), 1);
}

TEST_F(PopUpTest, ShowStartsOnceEnablesAndUpdatesAtOnce) {
    auto screen = MakeScreen("S");
    auto popup = MakePopUp("P");
    popup->isEnabled = 0;
    screen->ShowPopUp(popup);
    EXPECT_EQ(Log(), (std::vector<std::string>{"P.OnStart", "P.OnShow", "P.UpdateAtStart", "P.UpdateAtEnd",
                                               "P.UpdateObjectType", "P.OnHideCheck", "P.OnUpdate", "P.Update",
                                               "P.Interface"}));
    EXPECT_EQ(popup->isEnabled, 1);
    EXPECT_EQ(popup->CurrScreen.lock(), screen);

    // Hidden and shown again: on top of a later one, OnShow again, no second OnStart.
    auto other = MakePopUp("Q");
    screen->ShowPopUp(other);
    popup->Hide();
    screen->ShowPopUp(popup);
    ASSERT_EQ(screen->ActivePopUps.size(), 2u);
    EXPECT_EQ(screen->ActivePopUps.back(), popup);
    EXPECT_EQ(Count("P.OnShow"), 2);
    EXPECT_EQ(Count("P.OnStart"), 1);
    // Freed, it starts again on its next show.
    popup->Hide();
    popup->Free();
    screen->ShowPopUp(popup);
    EXPECT_EQ(Count("P.OnStart"), 2);
}

TEST_F(PopUpTest, HideCheckHidesInTheSamePassAndTheScreenTakesItsInterfaceBack) {
    auto screen = MakeScreen("S");
    auto popup = MakePopUp("P");
    screen->ShowPopUp(popup);
    popup->hideAnswer = 1;
    Log().clear();
    screen->Updating();
    EXPECT_TRUE(screen->ActivePopUps.empty());
    EXPECT_EQ(
        LogOf({"P.OnHideCheck", "P.OnHide", "P.OnUnlock", "P.OnUpdate", "P.Update", "P.Interface", "S.Interface"}),
        (std::vector<std::string>{"P.OnHideCheck", "P.OnHide", "P.OnUnlock", "P.OnUpdate", "P.Update", "P.Interface",
                                  "S.Interface"}));
}

TEST_F(PopUpTest, InterfaceRunsTwiceOverAnUnlockedScreenAndOnceOverALockedOne) {
    for (int locked = 0; locked < 2; ++locked) {
        SCOPED_TRACE(locked);
        auto screen = MakeScreen("S");
        auto popup = MakePopUp("P");
        screen->ShowPopUp(popup);
        screen->isLocked = locked;
        Log().clear();
        screen->Updating();
        EXPECT_EQ(Count("P.Interface"), 2 - locked);
        EXPECT_EQ(Count("S.Interface"), 0);
        EXPECT_EQ(Count("S.OnUpdate"), 1 - locked);
    }
}

TEST_F(PopUpTest, HideAllPopUpsUnlocksEachWithoutOnHide) {
    auto screen = MakeScreen("S");
    std::vector<std::shared_ptr<LogPopUp>> popups = {MakePopUp("A"), MakePopUp("B"), MakePopUp("C")};
    for (auto& p : popups) screen->ShowPopUp(p);
    Log().clear();
    screen->HideAllPopUps();
    EXPECT_TRUE(screen->ActivePopUps.empty());
    EXPECT_EQ(Log(), (std::vector<std::string>{"A.OnUnlock", "B.OnUnlock", "C.OnUnlock"}));
    // Hiding a pop-up that is not shown still runs its OnHide, and nothing else.
    Log().clear();
    popups[0]->Hide();
    EXPECT_EQ(Log(), std::vector<std::string>{"A.OnHide"});
}

TEST_F(PopUpTest, IsPopUp) {
    auto screen = MakeScreen("S");
    auto shown = MakePopUp("Help");
    auto registered = MakePopUp("Options");
    registered->Init("Options", "");
    EXPECT_EQ(screen->isPopUp(""), 0);  // nothing shown
    screen->ShowPopUp(shown);
    struct Case {
        std::string name;
        int expected;
    };
    for (const Case& c : {Case{"Help", 1}, Case{"help", 0}, Case{"", 0}, Case{"Options", 0}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(screen->isPopUp(c.name), c.expected);
    }
    EXPECT_EQ(screen->isPopUp(shown.get()), 1);
    EXPECT_EQ(screen->isPopUp(registered.get()), 0);
}

TEST_F(PopUpTest, ShownThroughControlOnTheCurrentScreen) {
    auto popup = MakePopUp("P");
    ShowAppPopUp(popup);  // no current screen: nothing
    EXPECT_TRUE(Log().empty());

    auto screen = MakeScreen("S");
    SetAppScreenInstant(screen);
    ShowAppPopUp(popup);
    EXPECT_EQ(popup->CurrScreen.lock(), screen);
    EXPECT_EQ(screen->isPopUp(popup.get()), 1);
    HideAppPopUp(popup);
    EXPECT_EQ(screen->isPopUp(popup.get()), 0);

    // Shown on a screen that is not the current one, it still leaves that screen's stack.
    auto other = MakeScreen("O");
    other->ShowPopUp(popup);
    EXPECT_EQ(popup->CurrScreen.lock(), other);
    popup->StartHiding();
    EXPECT_TRUE(other->ActivePopUps.empty());
}

}  // namespace
