// The options pop-up on its shipped file: the sliders' arithmetic (with a track no wider than its
// knob), knobs placed from the volumes and dragged by the mouse's movement, the three switch
// pairs flipping once per click, the wide-screen pair offered by the class setting, full screen
// through the platform layer (and a refused full screen falling back to a window), Menu and
// Replay only over their screens, OK writing the settings and closing after the hide animation.
#include "game/shell/OptionsPopUpHarness.h"

#include <cmath>

#include "game/shell/MainMenu.h"

namespace optionstest {

TEST(SliderArithmetic, VolumeIsKnobXOverTrackMinusKnobAndNeverNaN) {
    const struct {
        float x, dx;
        int track, knob;
        float volume;  // before
        float wantX, wantVolume;
    } cases[] = {
        // clang-format off
        {0, 70, 300, 20, 0.5f, 70, 0.25f},    // 70 / 280
        {100, -30, 300, 20, 0.9f, 70, 0.25f},
        {270, 50, 300, 20, 0.0f, 280, 1.0f},  // past the right end: exactly 1
        {10, -50, 300, 20, 0.7f, 0, 0.0f},    // past the left end: exactly 0
        {0, 40, 36, 36, 0.6f, 0, 0.6f},       // no room to slide: knob at 0, volume kept
        {5, 40, 20, 36, 0.3f, 0, 0.3f},       // a knob wider than its track
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "x " << c.x << " dx " << c.dx << " track " << c.track << " knob " << c.knob);
        float x = c.x, volume = c.volume;
        MoveSliderKnob(x, c.dx, c.track, c.knob, volume);
        EXPECT_FLOAT_EQ(x, c.wantX);
        EXPECT_FALSE(std::isnan(volume));
        EXPECT_FLOAT_EQ(volume, c.wantVolume);
    }
    EXPECT_FLOAT_EQ(SliderKnobX(300, 20, 0.25f), 70.0f);
    EXPECT_FLOAT_EQ(SliderKnobX(36, 36, 0.8f), 0.0f);
}

TEST_F(OptionsPopUpTest, KnobsStartAtTheVolumesAndMenuAndReplayShowOnlyOverTheirScreens) {
    AppSettings::MusicVolume = 0.25f;
    AppSettings::SoundVolume = 1.0f;
    Open();
    ASSERT_TRUE(Options->MusicSlider && Options->MusicSliderBox && Options->SoundSlider && Options->SoundSliderBox);
    const int range = Options->MusicSliderBox->Width - Options->MusicSlider->GetWidth();
    ASSERT_GT(range, 0);
    EXPECT_FLOAT_EQ(Options->MusicSlider->GetX(), range * 0.25f);
    EXPECT_FLOAT_EQ(Options->SoundSlider->GetX(),
                    static_cast<float>(Options->SoundSliderBox->Width - Options->SoundSlider->GetWidth()));
    EXPECT_EQ(Options->ButtonMenu->isEnabled, 0);
    EXPECT_EQ(Options->ButtonReplay->isEnabled, 0);
    EXPECT_EQ(Options->ButtonOk->isEnabled, 1);

    // "MainGame" names no screen; a screen added by AddScreen does.
    Click(Options->ButtonOk);
    Frames(35);
    ASSERT_EQ(host->isPopUp(Options.get()), 0);
    OptionsSettings::AddScreen(host);
    Open();
    EXPECT_EQ(Options->ButtonMenu->isEnabled, 1);
    EXPECT_EQ(Options->ButtonReplay->isEnabled, 1);
}

TEST_F(OptionsPopUpTest, DraggingAKnobSetsItsVolumeByTheMouseMovement) {
    AppSettings::MusicVolume = 0.5f;
    AppSettings::SoundVolume = 0.5f;
    Open();
    auto& knob = *Options->MusicSlider;
    const float range = static_cast<float>(Options->MusicSliderBox->Width - knob.GetWidth());
    const float startX = knob.GetX();
    const float grabX = knob.DrawX + 10, grabY = knob.DrawY + 10;
    MoveTo(grabX, grabY);
    Frame();
    Down();
    Frame();  // taken
    Frame();
    EXPECT_EQ(Options->Holded, Options->MusicSlider);
    MoveTo(grabX + 30, grabY + 50);  // only the horizontal movement counts
    Frame();
    EXPECT_FLOAT_EQ(knob.GetX(), startX + 30);
    EXPECT_FLOAT_EQ(AppSettings::MusicVolume, (startX + 30) / range);
    EXPECT_FLOAT_EQ(AppSettings::SoundVolume, 0.5f);
    // Far past the right end: exactly 1; moving back moves the knob back at once, although it no
    // longer lies under the pointer.
    MoveTo(grabX + 600, grabY);
    Frame();
    EXPECT_EQ(AppSettings::MusicVolume, 1.0f);
    MoveTo(grabX + 580, grabY);
    Frame();
    EXPECT_FLOAT_EQ(knob.GetX(), range - 20);
    // Far past the left end: exactly 0.
    MoveTo(grabX - 900, grabY);
    Frame();
    EXPECT_EQ(AppSettings::MusicVolume, 0.0f);
    // Released: further movement changes nothing.
    Up();
    Frame();
    MoveTo(grabX + 100, grabY);
    Frames(2);
    EXPECT_EQ(Options->Holded, nullptr);
    EXPECT_EQ(AppSettings::MusicVolume, 0.0f);
}

TEST_F(OptionsPopUpTest, ATrackNoWiderThanItsKnobKeepsTheVolumeAndTheSettingsFileHoldsNoNaN) {
    AppSettings::MusicVolume = 0.6f;
    Open();
    auto& knob = *Options->MusicSlider;
    Options->MusicSliderBox->Width = knob.GetWidth();
    const float grabX = knob.DrawX + 10, grabY = knob.DrawY + 10;
    MoveTo(grabX, grabY);
    Frame();
    Down();
    Frames(2);
    for (int dx : {15, 40, -80}) {
        MoveTo(grabX + dx, grabY);
        Frame();
        EXPECT_EQ(knob.GetX(), 0.0f);
        EXPECT_FLOAT_EQ(AppSettings::MusicVolume, 0.6f);
    }
    Up();
    Frame();
    Click(Options->ButtonOk);
    const std::string written = testsupport::ReadFileBytes(AppSettings::UserFileUrl());
    EXPECT_NE(written.find("MusicVolume = 0.600000024"), std::string::npos) << written;
    EXPECT_EQ(written.find("nan"), std::string::npos) << written;
}

TEST_F(OptionsPopUpTest, EachSwitchFlipsOncePerClickHoweverLongTheButtonIsHeld) {
    AppSettings::CustomCursor = 0;
    AppSettings::Stretched = 0;
    AppInitGraphics();
    Open();
    const struct {
        const char* what;
        std::array<TUIButtonPtr, 2> pair;
        int* setting;
        int shownFor1;  // element of the pair shown while the setting is 1
    } cases[] = {
        {"cursor", Options->ButtonCustomCursor, &AppSettings::CustomCursor, 0},
        {"wide screen", Options->ButtonWideSCreen, &AppSettings::Stretched, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.pair[0] && c.pair[1]);
        for (int round = 0; round < 2; ++round) {
            const int before = *c.setting;
            const int shown = before == 1 ? c.shownFor1 : 1 - c.shownFor1;
            ASSERT_EQ(c.pair[shown]->isEnabled, 1);
            ASSERT_EQ(c.pair[1 - shown]->isEnabled, 0);
            MoveToButton(c.pair[shown]);
            Frame();
            Down();
            Frames(10);  // held
            EXPECT_EQ(*c.setting, 1 - before);
            Up();
            Frames(2);
            EXPECT_EQ(*c.setting, 1 - before);
            EXPECT_EQ(c.pair[shown]->isEnabled, 0);
            EXPECT_EQ(c.pair[1 - shown]->isEnabled, 1);
        }
    }
    // The wide-screen switch reopened the window each time: 1366 wide for wide screen.
    EXPECT_EQ(AppSettings::Stretched, 0);
    EXPECT_EQ(GraphicsWidth(), 1366);
}

TEST_F(OptionsPopUpTest, WideScreenPairIsOfferedInAWindowOnlyWhenTheClassSettingAllowsIt) {
    Open();
    ASSERT_EQ(AppSettings::FullScreen, 0);
    EXPECT_EQ(Options->WideScreenText->isEnabled, 1);
    EXPECT_EQ(Options->ButtonWideSCreen[0]->isEnabled + Options->ButtonWideSCreen[1]->isEnabled, 1);
    OptionsSettings::Allow_Widescreen_In_Window_Mode = 0;
    Frame();
    EXPECT_EQ(Options->WideScreenText->isEnabled, 0);
    EXPECT_EQ(Options->ButtonWideSCreen[0]->isEnabled + Options->ButtonWideSCreen[1]->isEnabled, 0);
    AppSettings::FullScreen = 1;  // only the offer is looked at here, not the display
    Frame();
    EXPECT_EQ(Options->WideScreenText->isEnabled, 1);
    EXPECT_EQ(Options->ButtonWideSCreen[0]->isEnabled + Options->ButtonWideSCreen[1]->isEnabled, 1);
    AppSettings::FullScreen = 0;
}

bool gRefuseFullScreen = false;
bool RefuseFullScreen(int, int, int depth) { return gRefuseFullScreen && depth == 32; }

TEST_F(OptionsPopUpTest, FullScreenSwitchesThroughThePlatformAndARefusedOneFallsBackToAWindow) {
    SetDesktopSizeOverride(1920, 1080);
    gRefuseFullScreen = false;
    SetGraphicsRefusal(RefuseFullScreen);
    Open();
    Click(Options->ButtonFullScreen[1]);  // "off" shows: full screen on
    EXPECT_EQ(AppSettings::FullScreen, 1);
    EXPECT_EQ(GraphicsDepth(), 32);
    EXPECT_EQ(GraphicsWidth(), 1920);
    Frame();
    EXPECT_EQ(Options->ButtonFullScreen[0]->isEnabled, 1);
    Click(Options->ButtonFullScreen[0]);  // back to the window
    EXPECT_EQ(AppSettings::FullScreen, 0);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsWidth(), 1366);

    // The platform refuses the full screen: a window stays open, the setting says so, and the
    // pair still offers full screen.
    gRefuseFullScreen = true;
    Frame();
    ::testing::internal::CaptureStdout();
    Click(Options->ButtonFullScreen[1]);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Can't open the full screen"), std::string::npos) << out;
    EXPECT_EQ(AppSettings::FullScreen, 0);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsWidth(), 1366);
    Frame();
    EXPECT_EQ(Options->ButtonFullScreen[1]->isEnabled, 1);
    EXPECT_EQ(Options->ButtonFullScreen[0]->isEnabled, 0);
}

TEST_F(OptionsPopUpTest, OkWritesTheSettingsAtOnceAndClosesWhenTheHideAnimationEnds) {
    Open();
    AppSettings::MusicVolume = 0.25f;
    AppSettings::CustomCursor = 0;
    const std::string file = AppSettings::UserFileUrl();
    ASSERT_EQ(FileType(file), 0);
    MoveToButton(Options->ButtonOk);
    Frame();
    Down();
    Frame();
    EXPECT_EQ(FileType(file), 1);
    const std::string written = testsupport::ReadFileBytes(file);
    EXPECT_NE(written.find("MusicVolume = 0.250000000"), std::string::npos) << written;
    EXPECT_NE(written.find("CustomCursor = 0"), std::string::npos) << written;
    Up();
    // Still shown while the panel leaves (500 ms), then taken off the screen.
    Frames(10);
    EXPECT_EQ(host->isPopUp(Options.get()), 1);
    Frames(30);
    EXPECT_EQ(host->isPopUp(Options.get()), 0);
    // Read back at the next start.
    AppSettings::Reset();
    AppSettings::LoadData();
    EXPECT_FLOAT_EQ(AppSettings::MusicVolume, 0.25f);
    EXPECT_EQ(AppSettings::CustomCursor, 0);
}

TEST_F(OptionsPopUpTest, MenuGoesToTheMainMenuAndTakesThePopUpWithIt) {
    auto menu = std::make_shared<TMainMenu>();
    menu->Init("MainMenu", "");
    MainMenu = menu;
    OptionsSettings::AddScreen(host);
    Open();
    Click(Options->ButtonMenu);
    EXPECT_EQ(Control::CurrScreen, MainMenu);
    EXPECT_EQ(host->isPopUp(Options.get()), 0);
    MainMenu = nullptr;
}

}  // namespace optionstest
