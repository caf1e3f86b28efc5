// The options pop-up in-process on data/: the window (1366 x 768 with the 1024 x 768 picture in
// the middle), the fixed clock, the text classes, the pop-up loaded and set up from its shipped
// file, settings loaded into a temporary per-user folder, and a plain screen to show it over;
// then whole frames through the engine's frame driver with input injected the way the platform
// delivers it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/media/TextClass.h"
#include "engine/screen/Control.h"
#include "engine/system/AppTime.h"
#include "engine/system/Display.h"
#include "engine/system/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/system/Settings.h"
#include "engine/ui/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/shell/Options.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "support/TestSupport.h"

namespace optionstest {

class OptionsPopUpTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string savedDir, savedLocalize, savedLang, savedData;
    TAppScreenPtr host;

    void SetUp() override {
        savedDir = bDir;
        savedLocalize = LocalizeDir;
        savedLang = LangMod;
        savedData = AppDataFolder;
        bDir = testsupport::SourceDir() + "/data/";
        LangMod = "en";
        LocalizeDir = bDir + "Local/en/";
        AppDataFolder = dir.path();
        CreateDir(dir.file("Data"));
        Control::Reset();
        AppExitFunction = [] {};  // an end of the program returns to the test
        ResetAppTime();
        ResetInput();
        Mouse::Reset();
        SetFixedClock(true);
        OptionsSettings::Reset();
        AppSettings::Reset();
        ::testing::internal::CaptureStdout();
        AppSettings::LoadData();  // the defaults of Init.ini: the player has no file yet
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(openScreenASPECT(1024, 768, AppSettings::FullScreen, AppSettings::Stretched));
        InstallWidgets();
        AppInitClasses();
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
        AppClassManager::Reset();
        SetGraphicsRefusal(nullptr);
        SetDesktopSizeOverride(0, 0);
        ResetInput();
        Mouse::Reset();
        SetFixedClock(false);
        ResetClock();
        bDir = savedDir;
        LocalizeDir = savedLocalize;
        LangMod = savedLang;
        AppDataFolder = savedData;
    }

    // One whole frame of the engine's loop; with grab, the frame's picture as it is flipped.
    TPixmapPtr Frame(bool grab = false) {
        Cls();
        Control::Update();
        Control::Draw();
        TPixmapPtr shot = grab ? GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()) : nullptr;
        Flip(-1);
        AspectCls();
        return shot;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Shown and its show animation played out.
    void Open() {
        ShowAppPopUp(Options);
        Frames(35);
    }

    // The pointer to a point of the 1024 x 768 picture.
    void MoveTo(float x, float y) {
        const float sx = static_cast<float>(GraphicsWidth()) / VirtualResolutionWidth();
        const float sy = static_cast<float>(GraphicsHeight()) / VirtualResolutionHeight();
        InjectMouseMove(static_cast<int>((x + AspectOffsetX) * sx + 0.5f),
                        static_cast<int>((y + AspectOffsetY) * sy + 0.5f));
    }
    // The pointer to the middle of an object's box (its drawn position plus half its size).
    void MoveToObject(TGameObject& object, int w, int h) { MoveTo(object.DrawX + w / 2.0f, object.DrawY + h / 2.0f); }
    void MoveToButton(const TUIButtonPtr& b) { MoveToObject(*b, b->Width, b->Height); }
    void Down() { InjectMouseButton(1, true); }
    void Up() { InjectMouseButton(1, false); }
    // Press and release on a button, a frame each.
    void Click(const TUIButtonPtr& b) {
        MoveToButton(b);
        Frame();
        Down();
        Frame();
        Up();
        Frame();
    }
};

}  // namespace optionstest
