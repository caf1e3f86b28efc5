// The frame driver: the registry of every screen and pop-up (in registration order), the
// current screen, the objects updated every frame whatever screen is current, the objects that
// save their state when the program ends, screen switching, and the one frame loop.
//
// Game code never keeps its own notion of the current screen: it calls SetAppScreen,
// GoToScreen, ShowAppPopUp and the lookups below.
//
// Frame order (Control::MainLoop), every frame:
//   clear; Control::Update; the console's update; Control::Draw; the console's drawing; the
//   mouse cursor; draw state reset (colour 0,0,0, scale 1, rotation 0, alpha blend); the two
//   black strips at (1194, 0, 2, 768) and (-171, 767, 1366, 2); Flip; AspectCls; Ctrl+E notice.
//
// The engine never includes a game header. What the game supplies (its pause screen, its global
// assets, its message pop-up) comes through the slots of ControlHooks.h, which start-up sets, and
// each screen says whether it pauses in the background (the loading screen does not). The
// harness (ControlHooks::Harness: a call before each frame and before each flip, one at the end)
// and the frame limit let a headless run stop after a number of frames the normal way, through
// AppEnd.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TAppObj;
class TAppScreen;
class TAppPopUp;
class TGameObject;
class TAsset;

// What GoToScreen runs at the moment of the switch (empty: nothing). Plain function pointers
// fit.
using TAppScreenCallback = std::function<void()>;

class ControlSettings {};

class Control : public ControlSettings {
public:
    // ---- Registry ----
    static std::vector<std::shared_ptr<TAppScreen>> Screens;  // registration order
    static std::vector<std::shared_ptr<TAppPopUp>> PopUps;    // registration order
    static std::shared_ptr<TAppScreen> CurrScreen;            // null until the first switch
    static std::vector<std::shared_ptr<TGameObject>> GlobalObjects;
    static std::vector<std::shared_ptr<TAppObj>> ToSaveAtEndList;
    // Developer overlays, switched by the console.
    static int32_t isFPSShowOn;
    static int32_t isBorderShowOn;
    static std::string txtNoActScreen;  // "NO ACT SCREEN"

    // ---- Harness (a headless run) ----
    // After this many whole frames the loop ends the program through AppEnd; -1 never.
    static int32_t FrameLimit;
    // Frames begun by MainLoop so far (the number of the frame being run, counted from 0).
    static int32_t FrameCount;
    // Set by AppEnd once the save-at-end list has run; the loop leaves when an exit function
    // that returns (tests) was installed.
    static bool isEnded;
    // The process's exit status: 1 once something that had to be saved at exit was not.
    static int ExitStatus;

    // ---- Registration ----
    static int Init() { return 0; }
    // Null and already registered screens are reported and not added.
    static int AddScreen(const std::shared_ptr<TAppScreen>& screen);
    static int AddPopUp(const std::shared_ptr<TAppPopUp>& popup);
    static int AddGlobalObject(const std::shared_ptr<TGameObject>& obj);
    // No check for duplicates. Appended, or, when `before` is in the list, put just ahead of it
    // (an object whose end-of-run changes another one writes).
    static int AddToSaveList(const std::shared_ptr<TAppObj>& obj, const TAppObj* before = nullptr);
    static int isScreenExists(const TAppScreen* screen);
    static int isPopUpExists(const TAppPopUp* popup);

    // ---- Lookup ----
    // By name, compared upper-cased; null when none.
    static std::shared_ptr<TAppScreen> GetScreenById(const std::string& screenName);
    // By numeric id written as decimal text, compared with the argument upper-cased.
    static std::shared_ptr<TAppScreen> GetAppScreen(const std::string& screenId);
    static std::shared_ptr<TAppScreen> GetCurrentScreenOnly();
    static std::string GetCurrentScreenOnlyName();
    static std::string GetCurentScreenName();
    // The pop-up shown last on the current screen, else the current screen; null when none.
    static std::shared_ptr<TAppScreen> GetCurrentScreen();
    // A screen (or pop-up): 1 when it is the current screen. A name: 1 when non-empty and equal
    // (case-sensitive) to the current screen's name.
    static int isScreen(const TAppScreen* screen);
    static int isScreen(const std::string& screenName);
    static int GetScreensNumber();
    // Setup of the i-th registered screen (from 0); nothing outside the registry.
    static int SetupScreen(int i);
    // The first non-null GetGlobalTemplate answer of the registered screens; null, reported,
    // when none answers.
    static std::shared_ptr<TGameObject> GetTemplate(const std::string& templateName);
    // 0 while the current screen does not pause in the background (the loading screen); else 1.
    static int CanBeSuspended();

    // ---- Switching ----
    // Flush keys and mouse; stop for the cross-fade screen; the old screen leaves; the new one
    // becomes current, is unlocked and prepared.
    static int SetScreen(const std::shared_ptr<TAppScreen>& screen);
    // Current and unlocked; nothing flushed, nothing left, nothing prepared.
    static int SetScreenInstant(const std::shared_ptr<TAppScreen>& screen);

    // ---- Frame ----
    static int UpdateSystem();
    static int UpdateConsole();
    static int UpdateGlobalObjects();
    // The pause screen's RunPause (the window is in the background).
    static int Pause();
    static int Update();
    static int NoScreen();
    static int DrawConsole();
    // The frame-rate box, with the GL drawing calls and quads of the frame shown last.
    static int DrawFPS();
    static int DrawScreenBorder();
    // The current screen (settled first when it was entered and not updated since), the frame
    // rate and the screen border.
    static int Draw();
    // The frame loop; returns only when an exit function that returns was installed (tests).
    static int MainLoop();
    // A blocking loop of the game's own that draws before the frame loop runs (the partner
    // splash) calls this at the start of each of its frames: the frame is counted with the
    // frame loop's frames, the harness's frame-start hook runs, and the program ends the normal
    // way (AppEnd) when the frame limit is reached or the window was asked to close. Returns 1
    // when the program is ending and the loop must stop, else 0.
    static int BeginOwnLoopFrame();
    // Such a loop calls this just before its flip (the harness's before-flip slot).
    static int BeforeOwnLoopFlip();

    // Back to the start state: empty registry, no current screen, overlays off, the slots of
    // ControlHooks.h unset, the default exit (tests).
    static void Reset();
};

// ---- Free functions of the registry ----
int AddToSaveAtEndList(const std::shared_ptr<TAppObj>& obj);
int SetAppScreen(const std::shared_ptr<TAppScreen>& screen);
int SetAppScreenInstant(const std::shared_ptr<TAppScreen>& screen);
// Through the cross-fade screen when it exists (the callback runs at full black). Without it
// the current screen's pop-ups are hidden, the callback runs, and SetAppScreen switches; the
// callback is never dropped.
int GoToScreen(const std::shared_ptr<TAppScreen>& screen, TAppScreenCallback callback);
// On the current screen; nothing without one.
int ShowAppPopUp(const std::shared_ptr<TAppPopUp>& popup);
int HideAppPopUp(const std::shared_ptr<TAppPopUp>& popup);
// 1 when the current screen does not show the pop-up (also without a current screen).
int isAppPopUpHidden(const std::shared_ptr<TAppPopUp>& popup);
// New lists: every screen in registration order; the pop-ups without isAtEndSetuped, then
// those with it, each run in registration order.
std::vector<std::shared_ptr<TAppScreen>> GetScreensList();
std::vector<std::shared_ptr<TAppPopUp>> GetPopUpsList();

// ---- Start, run, end ----
// Control::Init, then the console (which installs itself as the sink of error reports).
int AppInitControl();
// Control::MainLoop.
int AppRun();
// Runs SaveAtEnd of every object of the save-at-end list once, in order (a second call while
// or after it runs does nothing), then the harness's end (ControlHooks::Harness), then the exit
// function, which ends the process. An object whose save fails (SaveAtEnd gives a value below 0,
// or throws) sets Control::ExitStatus to 1. Gives Control::ExitStatus.
int AppEnd();
int QuitApp();

// ---- What the game supplies (ControlHooks.h) ----
// Hands the asset to the game's loading screen (ControlHooks::AddGlobalAsset): 1 when it took
// it, 0 when the caller must load it itself.
int AddAppGlobalAsset(const std::shared_ptr<TAsset>& asset);
// Shows the game's message pop-up (ControlHooks::ShowMessage): 1 when it is shown, 0 when there
// is no pop-up to show it yet.
int ShowAppMessage(const std::string& text, int mode, void (*yes)(), void (*no)());
// Ends the process. The default closes audio and the window and exits with Control::ExitStatus;
// tests install one that returns.
extern std::function<void()> AppExitFunction;
