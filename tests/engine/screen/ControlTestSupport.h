// Screens, pop-ups and saved objects that write what happens to them into one shared log, and a
// fixture that leaves the frame driver, the console, input and the clock as it found them.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/window/Mouse.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"

namespace controltest {

inline std::vector<std::string> gLog;

inline void Log(const std::string& entry) { gLog.push_back(entry); }

inline int CountOf(const std::string& entry) { return static_cast<int>(std::count(gLog.begin(), gLog.end(), entry)); }

// Position of the first occurrence in the log; -1 when absent.
inline int IndexOf(const std::string& entry) {
    auto it = std::find(gLog.begin(), gLog.end(), entry);
    return it == gLog.end() ? -1 : static_cast<int>(it - gLog.begin());
}

class TRecScreen : public TAppScreen {
public:
    int OnPrepare() override { return Log(name + ".prepare"), 0; }
    int OnLeave() override { return Log(name + ".leave"), 0; }
    int OnUnlock() override { return Log(name + ".unlock"), 0; }
    int OnUpdate() override { return Log(name + ".update"), 0; }
    int OnDraw() override { return Log(name + ".draw"), 0; }
    std::string SaveToFile(const std::string& url) override { return Log(name + ".save(" + url + ")"), FileUrl; }
};

class TRecPopUp : public TAppPopUp {
public:
    int OnShow() override { return Log(name + ".show"), 0; }
    int OnHide() override { return Log(name + ".hide"), 0; }
    int OnUnlock() override { return Log(name + ".unlock"), 0; }
    int OnUpdate() override { return Log(name + ".update"), 0; }
};

class TRecSaver : public TAppObj {
public:
    // fails: what SaveAtEnd gives; 0 a save that went well.
    int fails = 0;
    int SaveAtEnd() override { return Log(name + ".saveAtEnd"), fails; }
};

// A registered screen (the registry holds it).
inline std::shared_ptr<TRecScreen> MakeScreen(const std::string& screenName, int screenId = 0) {
    auto s = std::make_shared<TRecScreen>();
    s->id = screenId;
    s->Init(screenName, "");
    return s;
}

inline std::shared_ptr<TRecPopUp> MakePopUp(const std::string& popupName, int atEnd = 0) {
    auto p = std::make_shared<TRecPopUp>();
    p->isAtEndSetuped = atEnd;
    p->Init(popupName, "");
    return p;
}

inline std::shared_ptr<TRecSaver> MakeSaver(const std::string& saverName) {
    auto s = std::make_shared<TRecSaver>();
    s->name = saverName;
    return s;
}

inline std::vector<std::string> gErrors;
inline void CollectError(const std::string& line) { gErrors.push_back(line); }

// Every test starts from an empty registry, no console, no input, the fixed-step clock and an
// exit that only logs; the error lines are collected.
class ControlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        gErrors.clear();
        Control::Reset();
        Console::Reset();
        CurrScreenCrosser.reset();
        ResetInput();
        Mouse::Reset();
        ResetAppTime();
        SetFixedClock(true);
        AppExitFunction = [] { Log("exit"); };
        WatchErrorReports(&CollectError);
        WatchCriticalReports(nullptr);
    }
    void TearDown() override {
        Control::Reset();
        Console::Reset();
        CurrScreenCrosser.reset();
        CheatsOn = 0;
        ResetInput();
        Mouse::Reset();
        ResetAppTime();
        ResetClock();
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
        KeepConsoleReports(false);
        if (openedDisplay_) {
            OpenedGraphics::Reset();
            ResetAspect();
        }
    }

    // The letterboxed display of the game's stretched window: 1024 x 768, logical screen the
    // same size.
    void OpenDisplay() {
        ASSERT_TRUE(openScreenASPECT(1024, 768, 0, 1)) << GraphicsError();
        openedDisplay_ = true;
        ResetDrawState();
        SetVirtualResolution(1024, 768);
    }

    // The pixel at window coordinates of the back buffer, as 0xRRGGBB.
    static uint32_t PixelAt(int x, int y) {
        auto p = GrabPixmap(x, y, 1, 1);
        return p ? uint32_t(p->ReadPixel(0, 0)) & 0xFFFFFFu : 0xDEADu;
    }

private:
    bool openedDisplay_ = false;
};

}  // namespace controltest
