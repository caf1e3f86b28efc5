// Screens, pop-ups and game objects that write their hooks into one log as "<name>.<Hook>",
// and a fixture that puts the screen globals, Control, input and the report sinks back.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/screen/DrawObject.h"
#include "engine/screen/GameObject.h"
#include "engine/window/Mouse.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Input.h"

namespace screentest {

inline std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}
inline std::vector<std::string>& Errors() {
    static std::vector<std::string> lines;
    return lines;
}
inline std::vector<std::string>& Criticals() {
    static std::vector<std::string> lines;
    return lines;
}
inline void CaptureError(const std::string& line) { Errors().push_back(line); }
inline void CaptureCritical(const std::string& line) { Criticals().push_back(line); }

inline int Note(const std::string& who, const char* what) {
    Log().push_back(who + "." + what);
    return 0;
}
// How often "<who>.<what>" was logged.
inline int Count(const std::string& entry) { return static_cast<int>(std::count(Log().begin(), Log().end(), entry)); }
// The log entries that match one of the patterns, in order: a pattern ending in "." matches
// every entry of that name ("A."), any other one entry exactly ("A.OnLeave").
inline std::vector<std::string> LogOf(const std::vector<std::string>& patterns) {
    std::vector<std::string> out;
    for (auto& e : Log())
        for (auto& p : patterns)
            if (p.back() == '.' ? e.rfind(p, 0) == 0 : e == p) {
                out.push_back(e);
                break;
            }
    return out;
}

// Every screen hook of Base logged.
template <class Base>
class Logged : public Base {
public:
    int UpdateAtStart() override { return Note(this->name, "UpdateAtStart"); }
    int UpdateAtEnd() override { return Note(this->name, "UpdateAtEnd"); }
    int UpdateObjectType() override { return Note(this->name, "UpdateObjectType"); }
    int Update() override { return Note(this->name, "Update"); }
    int Draw() override { return Note(this->name, "Draw"); }
    int Interface() override { return Note(this->name, "Interface"); }
    int OnSetup() override { return Note(this->name, "OnSetup"); }
    int OnStart() override { return Note(this->name, "OnStart"); }
    int OnPrepare() override { return Note(this->name, "OnPrepare"); }
    int OnLeave() override { return Note(this->name, "OnLeave"); }
    int OnFree() override { return Note(this->name, "OnFree"); }
    int OnLock() override { return Note(this->name, "OnLock"); }
    int OnUnlock() override { return Note(this->name, "OnUnlock"); }
    int OnDraw() override {
        Base::OnDraw();
        return Note(this->name, "OnDraw");
    }
    int OnUpdate() override {
        Base::OnUpdate();
        return Note(this->name, "OnUpdate");
    }
};

class LogScreen : public Logged<TAppScreen> {
public:
    explicit LogScreen(const std::string& n) { name = n; }
};

class LogPopUp : public Logged<TAppPopUp> {
public:
    explicit LogPopUp(const std::string& n) { name = n; }
    int hideAnswer = 0;  // what OnHideCheck answers
    int OnShow() override { return Note(name, "OnShow"); }
    int OnHide() override { return Note(name, "OnHide"); }
    int OnHideCheck() override {
        Note(name, "OnHideCheck");
        return hideAnswer;
    }
};

// A game object that logs its per-frame hook and its screen events.
class LogObject : public TGameObject {
public:
    explicit LogObject(const std::string& n, int drawLayer = 0) {
        name = n;
        DrawLayer = drawLayer;
    }
    int UpdateObject() override { return Note(name, "UpdateObject"); }
    int OnEnterScreen() override { return Note(name, "OnEnterScreen"); }
    int OnLeaveScreen() override { return Note(name, "OnLeaveScreen"); }
    int OnStart() override { return Note(name, "OnStart"); }
    int OnFree() override { return Note(name, "OnFree"); }
};

inline std::shared_ptr<LogScreen> MakeScreen(const std::string& n) { return std::make_shared<LogScreen>(n); }
inline std::shared_ptr<LogPopUp> MakePopUp(const std::string& n) { return std::make_shared<LogPopUp>(n); }

inline std::vector<std::string> Names(const TGameObjectList& list) {
    std::vector<std::string> out;
    for (auto& o : list) out.push_back(o ? o->name : "<null>");
    return out;
}

inline void ResetScreenWorld() {
    Log().clear();
    Errors().clear();
    Criticals().clear();
    Control::Reset();
    CurrScreenCrosser.reset();
    ResetInput();
    Mouse::Reset();
    TAsset::ResetCurrScreen();
    TAppDrawObject::CurrScreen = nullptr;
    TAppScreen::CurrentlyLoadingScreen = nullptr;
    delta = 1.0f;
}

class ScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetScreenWorld();
        WatchErrorReports(&CaptureError);
        WatchCriticalReports(&CaptureCritical);
    }
    void TearDown() override {
        ResetScreenWorld();
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
        ResetGameObjectTypes();
        ResetAppPaths();
        ResetAppTime();
    }
};

}  // namespace screentest
