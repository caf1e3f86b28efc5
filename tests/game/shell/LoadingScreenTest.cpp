// The loading screen against screens, pop-ups and assets that record what is done to them: the
// fade-in, the six phases one item a frame in registration order, the bar, and the switch.
#include "game/shell/LoadingScreen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/screen/DrawObject.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/AppTime.h"
#include "engine/ui/UI_Object.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::string> gLog;

template <class Base>
class Recorded : public Base {
public:
    int Load(const TBlockFilePtr&, TLoadList*) override {
        gLog.push_back("load " + this->name);
        return 0;
    }
    int Setup() override {
        gLog.push_back("setup " + this->name);
        if (onSetup) onSetup();
        return 0;
    }
    std::function<void()> onSetup;
};

class RecordedAsset : public TAsset {
public:
    std::string key;  // the load key: assets sharing one read one file
    int LoadAsset() override {
        gLog.push_back("asset " + url);
        return 0;
    }
    std::string LoadKey() const override { return key; }
};

std::shared_ptr<TAsset> Asset(const std::string& url, int autoLoad = 1, const std::string& key = "") {
    auto a = std::make_shared<RecordedAsset>();
    a->url = url;
    a->name = url;
    a->doAutoLoad = autoLoad;
    a->key = key;
    return a;
}

class LoadingScreenTest : public ::testing::Test {
protected:
    TLoadingScreenPtr loading;
    std::shared_ptr<Recorded<TAppScreen>> special, menu, game;
    std::shared_ptr<Recorded<TAppPopUp>> profiles, options, info;
    std::shared_ptr<TUIImage> bar;
    TAppScreenCrosserPtr savedCrosser;

    template <class T>
    std::shared_ptr<T> Make(const std::string& name) {
        auto s = std::make_shared<T>();
        s->Init(name, "");
        return s;
    }

    void SetUp() override {
        gLog.clear();
        Control::Reset();
        ResetAppTime();
        SetFixedClock(true);
        savedCrosser = CurrScreenCrosser;
        CurrScreenCrosser = nullptr;  // the switch happens at once
        loading = Make<TLoadingScreen>("Loading Screen");
        profiles = Make<Recorded<TAppPopUp>>("ProfileManager");
        profiles->isAtEndSetuped = 1;
        options = Make<Recorded<TAppPopUp>>("Options");
        special = Make<Recorded<TAppScreen>>("Special Loadings");
        menu = Make<Recorded<TAppScreen>>("MainMenu");
        info = Make<Recorded<TAppPopUp>>("Info");
        game = Make<Recorded<TAppScreen>>("GameScreen");
        // Assets: two of the menu's and one of a pop-up's load; one is not marked for loading.
        menu->Assets = {Asset("menu/a.png"), Asset("menu/skip.png", 0), Asset("menu/b.png")};
        options->Assets = {Asset("options/c.png")};
        // A set-up hands over a global asset, as the tile set-ups do.
        game->onSetup = [this] { loading->AddGlobalAsset(Asset("global/late.png")); };
        loading->AddGlobalAsset(Asset("global/cursor.png"));
        bar = std::make_shared<TUIImage>();
        bar->SetImg(nullptr);
        loading->BarImage = bar;
        loading->SetStartScreen(menu);
        Control::SetScreenInstant(loading);
    }
    void TearDown() override {
        Control::Reset();
        CurrScreenCrosser = savedCrosser;
        SetFixedClock(false);
        ResetAppTime();
    }

    // One frame as the frame loop runs it: the clock moves, the delta is measured, the current
    // screen updates. Returns what was done in the frame.
    std::string Frame() {
        AdvanceFixedClock();
        UpdateDelta();
        gLog.clear();
        loading->Updating();
        std::string done;
        for (const auto& line : gLog) done += (done.empty() ? "" : "; ") + line;
        return done;
    }
    float Fraction() {
        auto* image = dynamic_cast<TAppDrawObjectImage*>(bar->DrawObject.get());
        return image ? image->ModePercent : -1.0f;
    }
};

TEST_F(LoadingScreenTest, FadesInThenLoadsOneItemAFrameInPhaseOrderAndSwitches) {
    // The fade-in: nothing is loaded until Fade has reached 0.
    int fadeFrames = 0;
    std::string first;
    while (loading->Fade != 0.0f && fadeFrames < 100) {
        first = Frame();
        ++fadeFrames;
        if (loading->Fade != 0.0f) {
            EXPECT_EQ(first, "") << "frame " << fadeFrames;
        }
    }
    // The first call settles the clock (delta 0 there); then steps of 0.025: forty of them in
    // single precision leave a sliver above 0, so the forty-first reaches it.
    EXPECT_EQ(fadeFrames, 42);
    EXPECT_EQ(first, "load Special Loadings");  // on the frame Fade reached 0

    std::vector<std::string> frames{first};
    std::vector<float> fractions{Fraction()};
    while (Control::CurrScreen == loading && frames.size() < 100) {
        frames.push_back(Frame());
        fractions.push_back(Fraction());
    }
    const std::vector<std::string> expected{
        // Screen files (S = 3), then a counting frame.
        "load Special Loadings", "load MainMenu", "load GameScreen", "",
        // Pop-up files (P = 3), the late one last, then a counting frame.
        "load Options", "load Info", "load ProfileManager", "",
        // Set-ups of the screens, then of the pop-ups; a global asset is handed over meanwhile.
        "setup Special Loadings", "setup MainMenu", "setup GameScreen", "", "setup Options", "setup Info",
        "setup ProfileManager", "",
        // The marked assets of the screens, then of the pop-ups (A = 3).
        "asset menu/a.png", "asset menu/b.png", "asset options/c.png", "",
        // Global assets in the order given; the last one's frame switches.
        "asset global/cursor.png", "asset global/late.png"};
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(Control::CurrScreen, menu);
    EXPECT_EQ(loading->CurrLoading, "global/late.png (Global Asset)");

    // The bar: empty through the file phases; then CurrStep / (A + S) shown before each step.
    const int S = 3, P = 3, A = 3;
    EXPECT_EQ(loading->MaxLoadingSteps, A + S);
    EXPECT_EQ(loading->MinusLoadingSteps, S + P);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(fractions[i], 0.0f) << i;
    EXPECT_FLOAT_EQ(fractions[8], float(S + P + 2) / float(A + S));   // first set-up frame
    EXPECT_FLOAT_EQ(fractions[16], float(S + P + 2) / float(A + S));  // first asset frame
    EXPECT_FLOAT_EQ(fractions[19], float(S + P + A + 2) / float(A + S));
    EXPECT_FLOAT_EQ(fractions[20], float(S + P + A + 3) / float(A + S));  // first global frame

    // Nothing more happens once the switch is done.
    gLog.clear();
    loading->Updating();
    EXPECT_TRUE(gLog.empty());
}

TEST_F(LoadingScreenTest, AssetsReadingOneFileAreOneItemAndAGroupIsOneGlobalAsset) {
    // The menu and two pop-ups show one picture (one key); an asset without a key stands alone
    // even when its url matches.
    menu->Assets = {Asset("menu/button.png", 1, "button"), Asset("menu/b.png"), Asset("menu/b.png")};
    options->Assets = {Asset("options/button.png", 1, "button"), Asset("options/c.png", 1, "c")};
    info->Assets = {Asset("info/button.png", 1, "button")};
    auto group = std::make_shared<TAssetGroup>();
    group->name = "numbers";
    group->members = {Asset("n/1.png"), nullptr, Asset("n/2.png")};
    loading->AllGlobalAssets = {group};
    game->onSetup = nullptr;
    std::vector<std::string> frames;
    while (Control::CurrScreen == loading && frames.size() < 200) {
        std::string done = Frame();
        if (loading->LoadingStatus >= 4 && (!done.empty() || loading->LoadingStatus < 6)) frames.push_back(done);
    }
    const std::vector<std::string> expected{
        // The set-ups' counting frame ends phase 3; then one file a frame, in first-use order.
        "", "asset menu/button.png; asset options/button.png; asset info/button.png", "asset menu/b.png",
        "asset menu/b.png", "asset options/c.png", "",
        // The group's members, in order, in one frame.
        "asset n/1.png; asset n/2.png"};
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(loading->AllAssetsList.size(), 6u);
    EXPECT_EQ(loading->AssetItems.size(), 4u);
    EXPECT_EQ(loading->MaxLoadingSteps, 4 + 3);  // items and screens
    EXPECT_EQ(loading->CurrLoading, "numbers (Global Asset)");
    EXPECT_EQ(Control::CurrScreen, menu);
}

TEST_F(LoadingScreenTest, WithoutGlobalAssetsTheSwitchComesOnTheFirstFrameOfTheLastPhase) {
    loading->AllGlobalAssets.clear();
    game->onSetup = nullptr;
    int frames = 0;
    while (Control::CurrScreen == loading && frames < 200) {
        Frame();
        ++frames;
    }
    // 41 frames of fade-in; the 42nd reaches 0 and starts the phases: 4 + 4 + 4 + 4 + 4 frames,
    // and the last phase's one.
    EXPECT_EQ(frames, 41 + 4 + 4 + 4 + 4 + 4 + 1);
    EXPECT_EQ(loading->LoadingStatus, 6);
}

TEST_F(LoadingScreenTest, ItsPicturesGoWhenItIsLeft) {
    // Shown once per process: its full-window picture is not held for the rest of the run.
    auto background = std::make_shared<TImageAsset>();
    background->url = testsupport::SourceDir() + "/data/Screens/LoadingScreen/Background.jpg";
    ASSERT_EQ(background->LoadAsset(), 0);
    ASSERT_TRUE(background->img);
    auto object = std::make_shared<TUIImage>();
    object->SetImg(background);
    loading->AddObject(object);
    int frames = 0;
    while (Control::CurrScreen == loading && frames < 200) {
        Frame();
        ++frames;
        if (Control::CurrScreen == loading) {
            ASSERT_TRUE(background->img) << frames;
        }
    }
    EXPECT_EQ(Control::CurrScreen, menu);
    EXPECT_FALSE(background->img);
}

TEST_F(LoadingScreenTest, TheLoadingScreenItselfIsNeitherReloadedNorSetUpAndOwnStepsFixTheBar) {
    LoadingScreenSettings::OwnLoadingSteps = 10;
    int frames = 0;
    while (Control::CurrScreen == loading && frames < 200) {
        Frame();
        for (const auto& line : gLog) EXPECT_EQ(line.find("Loading Screen"), std::string::npos) << line;
        ++frames;
    }
    LoadingScreenSettings::OwnLoadingSteps = 0;
    EXPECT_EQ(loading->MaxLoadingSteps, 10);
    // The file phases count no steps: only the asset phase's four calls.
    EXPECT_EQ(loading->CurrStep, 4);
}

TEST_F(LoadingScreenTest, ATurnedOnEditionDoesNothingAndTheCoverFollowsFade) {
    LoadingScreenSettings::TurnOnForEdition = 1;
    for (int i = 0; i < 60; ++i) EXPECT_EQ(Frame(), "");
    LoadingScreenSettings::TurnOnForEdition = 0;
    EXPECT_EQ(loading->Fade, 1.0f);
    EXPECT_EQ(Control::CurrScreen, loading);
}

}  // namespace
