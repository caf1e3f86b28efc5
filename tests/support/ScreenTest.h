// The common ground of the tests that run the game's screens in-process on the shipped data/:
// the engine's folders pointed at data/ (English texts, a per-user folder of the test's own), the
// frame driver, input, the pointer and a fixed clock reset, the program's end returning to the
// test; the window (1366 x 768 with the 1024 x 768 picture in the middle) with the widgets and
// the text classes; whole frames through the engine's frame driver, and the pointer placed on the
// picture the way the platform delivers it. Every global it changes is put back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/media/TextClass.h"
#include "engine/screen/GameObject.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "support/TestSupport.h"

namespace testsupport {

class ScreenTest : public ::testing::Test {
protected:
    TempDir user;  // the per-user folder

    void SetUp() override {
        savedDir_ = bDir;
        savedLang_ = LangMod;
        savedLocalize_ = LocalizeDir;
        savedAppData_ = AppDataFolder;
        bDir = SourceDir() + "/data/";
        LangMod = "en";
        LocalizeDir = bDir + "Local/en/";
        AppDataFolder = user.path();
        Control::Reset();
        AppExitFunction = [] {};  // an end of the program returns to the test
        ResetAppTime();
        ResetInput();
        Mouse::Reset();
        SetFixedClock(true);
    }

    // The window, the widgets and the text classes; called by a fixture's SetUp once what the
    // window depends on (the settings) is in place.
    void OpenWindow(int fullScreen = 0, int stretched = 0) {
        ASSERT_TRUE(openScreenASPECT(1024, 768, fullScreen, stretched));
        InstallWidgets();
        AppInitClasses();
    }

    void TearDown() override {
        Control::Reset();
        AppClassManager::Reset();
        ResetInput();
        Mouse::Reset();
        SetFixedClock(false);
        ResetClock();
        bDir = savedDir_;
        LangMod = savedLang_;
        LocalizeDir = savedLocalize_;
        AppDataFolder = savedAppData_;
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

    // The pointer to a point of the 1024 x 768 picture.
    static void MoveTo(float x, float y) {
        const float sx = static_cast<float>(GraphicsWidth()) / VirtualResolutionWidth();
        const float sy = static_cast<float>(GraphicsHeight()) / VirtualResolutionHeight();
        InjectMouseMove(static_cast<int>((x + AspectOffsetX) * sx + 0.5f),
                        static_cast<int>((y + AspectOffsetY) * sy + 0.5f));
    }
    // The pointer to the middle of an object's w x h box at its drawn place.
    static void MoveToMiddle(const TGameObject& object, int w, int h) {
        MoveTo(object.DrawX + w / 2.0f, object.DrawY + h / 2.0f);
    }
    // A left click in the middle of an object's box: the pointer there, a frame, the press, a
    // frame, the release, a frame.
    void ClickAt(const TGameObject& object, int w, int h) {
        MoveToMiddle(object, w, h);
        Frame();
        InjectMouseButton(1, true);
        Frame();
        InjectMouseButton(1, false);
        Frame();
    }

private:
    std::string savedDir_, savedLang_, savedLocalize_, savedAppData_;
};

}  // namespace testsupport
