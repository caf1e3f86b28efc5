// The rate screen on the shipped data over the real shell: its message, the review page handed to
// the browser (a recorder here), the game marked as rated and saved only when the page was
// opened, the thanks and the way back to the main menu.
#include "online/RateScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/shell/ShellTestSupport.h"
#include "platform/OpenURL.h"

using namespace shelltest;

namespace {

class RateScreenTest : public ShellTest {
protected:
    std::vector<std::string> opened;
    bool browserTakesIt = true;

    void SetUp() override {
        ShellTest::SetUp();
        CreateDir(user.file("Data"));
        SetURLOpener([this](const std::string& url) {
            opened.push_back(url);
            return browserTakesIt;
        });
        AppSettings::LoadData();
        StartShell();
        RateScreen = TRateScreen::Create();
        LoadAndSetUp(RateScreen);
        SetAppScreen(RateScreen);
    }
    void TearDown() override {
        RateScreen = nullptr;
        RateURL.clear();
        SetURLOpener([](const std::string&) { return false; });
        AppSettings::Reset();
        ShellTest::TearDown();
    }
    std::string SettingsFile() const { return user.file("Data/Settings.ini"); }
    std::shared_ptr<TUIText> Message() { return std::dynamic_pointer_cast<TUIText>(RateScreen->FindObjectInd(500)); }
    // A message pop-up open, faded in, with its text.
    std::string ShownMessage() {
        Frames(kAnimFrames);
        return Shown(InfoPopUp) ? InfoPopUp->Text->Text : "";
    }
};

TEST_F(RateScreenTest, PreparingShowsTheMessageInAnOpaqueStyle) {
    ASSERT_TRUE(Message());
    EXPECT_EQ(Message()->Text, "Enjoying Quiltora? A short review helps us a lot and only takes a minute.");
    EXPECT_EQ(RateURL, "https://reviews.quiltora.invalid/quiltora");
    // The style is shared: every text of it turns opaque.
    Message()->Class->Rgb->a = 0.25f;
    RateScreen->OnPrepare();
    EXPECT_EQ(Message()->Class->Rgb->a, 1.0f);
    EXPECT_EQ(AppClassManager::GetTextClass("RateMessage")->Rgb->a, 1.0f);
}

TEST_F(RateScreenTest, RateNowOpensThePageMarksTheGameRatedAndThanksOnTheWayBack) {
    Click(RateScreen->FindObjectInd(1));
    EXPECT_EQ(opened, std::vector<std::string>{"https://reviews.quiltora.invalid/quiltora"});
    EXPECT_EQ(AppSettings::GameWasRated, 1);
    // Written at once, and read back as rated.
    ASSERT_EQ(FileType(SettingsFile()), 1);
    AppSettings::Reset();
    AppSettings::LoadData();
    EXPECT_EQ(AppSettings::GameWasRated, 1);

    EXPECT_EQ(ShownMessage(), "Thank you! Your review helps other puzzle lovers find Quiltora.");
    EXPECT_TRUE(Enabled(InfoPopUp->Yes));
    EXPECT_FALSE(Enabled(InfoPopUp->No));
    Click(InfoPopUp->Yes);
    Frames(kAnimFrames);
    EXPECT_EQ(Control::CurrScreen, MainMenu);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(RateScreenTest, APageThatCannotBeOpenedLeavesTheGameUnratedAndSaysSo) {
    struct Case {
        const char* what;
        std::string url;
        bool taken;
        size_t asked;  // addresses handed to the browser
    };
    const Case cases[] = {
        {"the browser refuses", "https://reviews.quiltora.invalid/quiltora", false, 1},
        {"no address configured", "", true, 0},
        {"not a web address", "file:///etc/passwd", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        opened.clear();
        RateURL = c.url;
        browserTakesIt = c.taken;
        Click(RateScreen->FindObjectInd(1));
        EXPECT_EQ(opened.size(), c.asked);
        EXPECT_EQ(AppSettings::GameWasRated, 0);
        EXPECT_EQ(FileType(SettingsFile()), 0);
        EXPECT_EQ(ShownMessage(), "The review page could not be opened. Please try again later.");
        EXPECT_TRUE(Enabled(InfoPopUp->Ok));
        EXPECT_FALSE(Enabled(InfoPopUp->Cancel));
        Click(InfoPopUp->Ok);
        Frames(kAnimFrames);
        // The player stays, free to try again or to leave.
        EXPECT_FALSE(Shown(InfoPopUp));
        EXPECT_EQ(Control::CurrScreen, RateScreen);
    }
}

TEST_F(RateScreenTest, BackLeavesForTheMainMenuAndChangesNothing) {
    Click(RateScreen->FindObjectInd(2));
    Frames(2);
    EXPECT_EQ(Control::CurrScreen, MainMenu);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(AppSettings::GameWasRated, 0);
    EXPECT_EQ(FileType(SettingsFile()), 0);
}

}  // namespace
