// The message pop-up on the shipped data over the main menu: its four modes, and each choice's
// callback run once, after the closing animation, although the engine asks the top pop-up's
// Interface twice a frame.
#include <gtest/gtest.h>

#include <string>

#include "ShellTestSupport.h"

using namespace shelltest;

namespace {

int gYes = 0, gNo = 0;
void CountYes() { ++gYes; }
void CountNo() { ++gNo; }

class InfoPopUpTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        gYes = gNo = 0;
        StartShell();
    }
    void Ask(int mode) {
        ShowInfo("Really?", mode, CountYes, CountNo);
        Frames(kAnimFrames);
    }
};

TEST_F(InfoPopUpTest, ModesOfferTheirButtons) {
    const struct {
        int mode;
        bool yes, no, ok, cancel;
    } cases[] = {
        {0, true, true, false, false},
        {1, false, false, true, true},
        {2, true, false, false, false},
        {3, false, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Ask(c.mode);
        ASSERT_TRUE(Shown(InfoPopUp));
        EXPECT_EQ(InfoPopUp->Text->Text, "Really?");
        EXPECT_EQ(Enabled(InfoPopUp->Yes), c.yes);
        EXPECT_EQ(Enabled(InfoPopUp->No), c.no);
        EXPECT_EQ(Enabled(InfoPopUp->Ok), c.ok);
        EXPECT_EQ(Enabled(InfoPopUp->Cancel), c.cancel);
        // Another mode leaves the buttons of this message as they are.
        InfoPopUp->SetMode(7);
        EXPECT_EQ(Enabled(InfoPopUp->Yes), c.yes);
        EXPECT_EQ(Enabled(InfoPopUp->Cancel), c.cancel);
        Click(c.yes ? InfoPopUp->Yes : InfoPopUp->Ok);
        Frames(kAnimFrames);
        EXPECT_FALSE(Shown(InfoPopUp));
    }
    // The single button of modes 2 and 3 chooses yes.
    EXPECT_EQ(gYes, 4);
    EXPECT_EQ(gNo, 0);
}

TEST_F(InfoPopUpTest, EachChoiceRunsItsCallbackOnceAfterTheClosingAnimation) {
    const struct {
        const char* what;
        int mode;
        TUIButtonPtr TInfoPopUp::*button;
        int yes, no;
    } cases[] = {
        {"yes", 0, &TInfoPopUp::Yes, 1, 0},
        {"no", 0, &TInfoPopUp::No, 0, 1},
        {"ok", 1, &TInfoPopUp::Ok, 1, 0},
        {"cancel", 1, &TInfoPopUp::Cancel, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gYes = gNo = 0;
        Ask(c.mode);
        Click((*InfoPopUp).*c.button);
        // Closing: nothing has run yet, and the pop-up is still there.
        EXPECT_TRUE(Shown(InfoPopUp));
        EXPECT_EQ(gYes + gNo, 0);
        EXPECT_EQ(InfoPopUp->Decision, c.yes);
        Frames(kAnimFrames);
        EXPECT_FALSE(Shown(InfoPopUp));
        EXPECT_EQ(gYes, c.yes);
        EXPECT_EQ(gNo, c.no);
        // Used once: both callbacks are forgotten, and nothing more runs.
        EXPECT_EQ(InfoPopUp->YesFunc, nullptr);
        EXPECT_EQ(InfoPopUp->NoFunc, nullptr);
        Frames(5);
        EXPECT_EQ(gYes + gNo, 1);
    }
}

TEST_F(InfoPopUpTest, TheLastChoiceBeforeTheCloseDecides) {
    Ask(0);
    Click(InfoPopUp->Yes);
    Frames(5);
    Click(InfoPopUp->No);
    Frames(kAnimFrames);
    EXPECT_EQ(InfoPopUp->Decision, 0);
    EXPECT_EQ(gYes, 0);
    EXPECT_EQ(gNo, 1);
}

TEST_F(InfoPopUpTest, ASecondMessageReplacesTheOpenOneAndAScreenChangeRunsNothing) {
    Ask(0);
    ShowInfo("Sure?", 3, CountNo, nullptr);
    EXPECT_EQ(Control::CurrScreen->ActivePopUps.size(), 1u);
    EXPECT_EQ(InfoPopUp->Text->Text, "Sure?");
    EXPECT_FALSE(Enabled(InfoPopUp->Yes));
    EXPECT_TRUE(Enabled(InfoPopUp->Ok));
    Click(InfoPopUp->Ok);
    Frames(kAnimFrames);
    EXPECT_EQ(gYes, 0);
    EXPECT_EQ(gNo, 1);

    // Taken off by a screen change: the pop-up closes without a choice, and no callback runs.
    gNo = 0;
    Ask(0);
    GoToScreen(StagesScreen, nullptr);
    Frames(3);
    EXPECT_FALSE(MainMenu->isPopUp(InfoPopUp.get()));
    EXPECT_EQ(gYes + gNo, 0);
}

}  // namespace
