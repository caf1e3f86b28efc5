// The options pop-up in-process on data/ (the common ground is support/ScreenTest.h): settings
// loaded into the test's per-user folder, the pop-up loaded and set up from its shipped file, and
// a plain screen to show it over.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/screen/Control.h"
#include "engine/data/Settings.h"
#include "engine/ui/UI_Object.h"
#include "game/shell/Options.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "support/ScreenTest.h"

namespace optionstest {

class OptionsPopUpTest : public testsupport::ScreenTest {
protected:
    TAppScreenPtr host;

    void SetUp() override {
        ScreenTest::SetUp();
        CreateDir(user.file("Data"));
        OptionsSettings::Reset();
        AppSettings::Reset();
        ::testing::internal::CaptureStdout();
        AppSettings::LoadData();  // the defaults of Init.ini: the player has no file yet
        ::testing::internal::GetCapturedStdout();
        ASSERT_NO_FATAL_FAILURE(OpenWindow(AppSettings::FullScreen, AppSettings::Stretched));
        host = std::make_shared<TAppScreen>();
        host->Init("Host", "");
        Control::SetScreenInstant(host);
        Options = CreateAppOptionsPopUp();
        Options->Load(nullptr, nullptr);
        Options->SetupAssets();
        Options->Setup();
    }

    void TearDown() override {
        Options = nullptr;
        host = nullptr;
        Control::Reset();
        OptionsSettings::Reset();
        AppSettings::Reset();
        SetGraphicsRefusal(nullptr);
        SetDesktopSizeOverride(0, 0);
        ScreenTest::TearDown();
    }

    // Shown and its show animation played out.
    void Open() {
        ShowAppPopUp(Options);
        Frames(35);
    }

    void MoveToButton(const TUIButtonPtr& b) { MoveToMiddle(*b, b->Width, b->Height); }
    void Down() { InjectMouseButton(1, true); }
    void Up() { InjectMouseButton(1, false); }
    void Click(const TUIButtonPtr& b) { ClickAt(*b, b->Width, b->Height); }
};

}  // namespace optionstest
