#include "engine/screen/Control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <initializer_list>

#include "engine/media/SoundManager.h"
#include "engine/screen/GameObject.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Console.h"
#include "engine/screen/ControlHooks.h"
#include "engine/screen/MouseCursor.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "engine/window/Letterbox.h"
#include "engine/window/Mouse.h"
#include "platform/Audio.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

namespace {

constexpr int kKeyLeftCommand = 91;
constexpr int kKeyLeftControl = 162;
constexpr int kKeyF = 70;
constexpr int kKeyQ = 81;
constexpr int kKeyE = 69;

// The missing pause screen was said (once a run).
bool pauseMissingTold = false;

// The harness's steps (a part it left empty does nothing; no harness at all is said once).
void HarnessFrameStart(int32_t frame) {
    if (const std::shared_ptr<TFrameHarness> harness = ControlHooks::Harness.Required(); harness && harness->frameStart)
        harness->frameStart(frame);
}
void HarnessBeforeFlip() {
    if (const std::shared_ptr<TFrameHarness> harness = ControlHooks::Harness.Required(); harness && harness->beforeFlip)
        harness->beforeFlip();
}

// Closes what the platform holds open and ends the process at once. Static objects are not
// destroyed: screens, textures and channels held by globals would otherwise be torn down in an
// arbitrary order after the window and the audio device are gone. Everything the game must keep
// has been written by the save-at-end list before this runs.
void DefaultAppExit() {
    CloseAudioDevice();
    EndGraphics();
    std::fflush(nullptr);
    std::_Exit(Control::ExitStatus);
}

void ResetDrawStateForOverlay() {
    SetBlend(3);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetImageFont(nullptr);
}

}  // namespace

std::vector<std::shared_ptr<TAppScreen>> Control::Screens;
std::vector<std::shared_ptr<TAppPopUp>> Control::PopUps;
std::shared_ptr<TAppScreen> Control::CurrScreen;
std::vector<std::shared_ptr<TGameObject>> Control::GlobalObjects;
std::vector<std::shared_ptr<TAppObj>> Control::ToSaveAtEndList;
int32_t Control::isFPSShowOn = 0;
int32_t Control::isBorderShowOn = 0;
std::string Control::txtNoActScreen = "NO ACT SCREEN";
int32_t Control::FrameLimit = -1;
int32_t Control::FrameCount = 0;
int Control::ExitStatus = 0;
bool Control::isEnded = false;

std::function<void()> AppExitFunction = &DefaultAppExit;

// ---------------------------------------------------------------------------------------------
// Registration

namespace {
// Registers a screen or pop-up once: a null one, or one registered already, is reported instead.
template <class T>
int RegisterOnce(std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& item, const std::string& kind,
                 const std::string& title, const TReportPlace& place) {
    if (!item) ErrorScreen("Trying to add an NULL " + kind + "!", place);
    else if (std::find(list.begin(), list.end(), item) != list.end())
        ErrorScreen(item->name + " " + title + " allready exists!", place);
    else list.push_back(item);
    return 0;
}
}  // namespace

int Control::AddScreen(const std::shared_ptr<TAppScreen>& screen) {
    return RegisterOnce(Screens, screen, "screen", "Screen", Here());
}

int Control::AddPopUp(const std::shared_ptr<TAppPopUp>& popup) {
    return RegisterOnce(PopUps, popup, "popup", "PopUp", Here());
}

int Control::AddGlobalObject(const std::shared_ptr<TGameObject>& obj) {
    if (obj) GlobalObjects.push_back(obj);
    return 0;
}

int Control::AddToSaveList(const std::shared_ptr<TAppObj>& obj, const TAppObj* before) {
    if (!obj) return 0;
    auto at = std::find_if(ToSaveAtEndList.begin(), ToSaveAtEndList.end(),
                           [before](const std::shared_ptr<TAppObj>& o) { return before && o.get() == before; });
    ToSaveAtEndList.insert(at, obj);
    return 0;
}

int Control::isScreenExists(const TAppScreen* screen) {
    for (const auto& s : Screens)
        if (s.get() == screen) return 1;
    return 0;
}

int Control::isPopUpExists(const TAppPopUp* popup) {
    for (const auto& p : PopUps)
        if (p.get() == popup) return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Lookup

std::shared_ptr<TAppScreen> Control::GetScreenById(const std::string& screenName) {
    std::string wanted = Upper(screenName);
    for (const auto& s : Screens)
        if (Upper(s->name) == wanted) return s;
    return nullptr;
}

std::shared_ptr<TAppScreen> Control::GetAppScreen(const std::string& screenId) {
    std::string wanted = Upper(screenId);
    for (const auto& s : Screens)
        if (std::to_string(s->id) == wanted) return s;
    return nullptr;
}

std::shared_ptr<TAppScreen> Control::GetCurrentScreenOnly() { return CurrScreen; }

std::string Control::GetCurrentScreenOnlyName() { return CurrScreen ? CurrScreen->name : std::string(); }

std::string Control::GetCurentScreenName() { return GetCurrentScreenOnlyName(); }

std::shared_ptr<TAppScreen> Control::GetCurrentScreen() {
    if (!CurrScreen) return nullptr;
    if (!CurrScreen->ActivePopUps.empty() && CurrScreen->ActivePopUps.back()) return CurrScreen->ActivePopUps.back();
    return CurrScreen;
}

int Control::isScreen(const TAppScreen* screen) { return screen != nullptr && screen == CurrScreen.get() ? 1 : 0; }

int Control::isScreen(const std::string& screenName) {
    return !screenName.empty() && CurrScreen && CurrScreen->name == screenName ? 1 : 0;
}

int Control::GetScreensNumber() { return static_cast<int>(Screens.size()); }

int Control::SetupScreen(int i) {
    if (i < 0 || i >= GetScreensNumber()) return 0;
    Screens[static_cast<size_t>(i)]->Setup();
    return 0;
}

std::shared_ptr<TGameObject> Control::GetTemplate(const std::string& templateName) {
    for (const auto& s : Screens) {
        TGameObjectPtr found = s->GetGlobalTemplate(templateName);
        if (found) return found;
    }
    ErrorSearch("No global temaplate '" + templateName + "' found!", Here());
    return nullptr;
}

int Control::CanBeSuspended() {
    if (CurrScreen && !CurrScreen->PausesInBackground()) return 0;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Switching

int Control::SetScreen(const std::shared_ptr<TAppScreen>& screen) {
    FlushKeys();
    Mouse::Clear();
    if (dynamic_cast<TAppScreenCrosser*>(screen.get())) return 0;
    // Held here so that a screen freed by its own leave outlives the call.
    std::shared_ptr<TAppScreen> old = CurrScreen;
    if (old) old->Leaving();
    CurrScreen = screen;
    if (screen) {
        screen->UnLock();
        screen->Prepare();
    }
    return 0;
}

int Control::SetScreenInstant(const std::shared_ptr<TAppScreen>& screen) {
    CurrScreen = screen;
    if (screen) screen->UnLock();
    return 0;
}

int AddToSaveAtEndList(const std::shared_ptr<TAppObj>& obj) { return Control::AddToSaveList(obj); }

int SetAppScreen(const std::shared_ptr<TAppScreen>& screen) { return Control::SetScreen(screen); }

int SetAppScreenInstant(const std::shared_ptr<TAppScreen>& screen) { return Control::SetScreenInstant(screen); }

int GoToScreen(const std::shared_ptr<TAppScreen>& screen, TAppScreenCallback callback) {
    if (CurrScreenCrosser) return SetCurrScreenByCross(screen, std::move(callback));
    if (Control::CurrScreen) Control::CurrScreen->HideAllPopUps();
    // Without the fade the callback still runs at the moment of the switch: before the old
    // screen leaves and the new one is prepared.
    if (callback) callback();
    return SetAppScreen(screen);
}

int ShowAppPopUp(const std::shared_ptr<TAppPopUp>& popup) {
    if (Control::CurrScreen && popup) Control::CurrScreen->ShowPopUp(popup);
    return 0;
}

int HideAppPopUp(const std::shared_ptr<TAppPopUp>& popup) {
    if (popup) popup->Hide();
    return 0;
}

int isAppPopUpHidden(const std::shared_ptr<TAppPopUp>& popup) {
    if (!Control::CurrScreen) return 1;
    return Control::CurrScreen->isPopUp(popup.get()) ? 0 : 1;
}

std::vector<std::shared_ptr<TAppScreen>> GetScreensList() { return Control::Screens; }

std::vector<std::shared_ptr<TAppPopUp>> GetPopUpsList() {
    std::vector<std::shared_ptr<TAppPopUp>> list;
    for (const auto& p : Control::PopUps)
        if (!p->isAtEndSetuped) list.push_back(p);
    for (const auto& p : Control::PopUps)
        if (p->isAtEndSetuped) list.push_back(p);
    return list;
}

// ---------------------------------------------------------------------------------------------
// Frame

int Control::UpdateSystem() {
    UpdateDelta();
    Mouse::Update();
    UpdateAppMillisecs();
    AppSoundManager::Update();
    if (AppTerminate()) {
        AppEnd();
        if (isEnded) return 0;
    }
    if (KeyDown(kKeyLeftCommand)) {
        if (KeyHit(kKeyF)) GraphicsSwitchFullScreen();
        if (KeyHit(kKeyQ)) AppEnd();
    }
    return 0;
}

int Control::UpdateConsole() { return Console::Update(); }

int Control::UpdateGlobalObjects() {
    // A copy: an object's update may register further global objects.
    std::vector<std::shared_ptr<TGameObject>> objects = GlobalObjects;
    for (const auto& obj : objects) obj->Updating();
    return 0;
}

int Control::Update() {
    UpdateSystem();
    if (isEnded) return 0;
    UpdateGlobalObjects();
    if (!CurrScreen) return 0;
    if (AppSuspended() && CanBeSuspended()) Pause();
    // The pause may have ended the program (a close request, the frame limit).
    if (isEnded) return 0;
    // Held for the pass: the screen may switch away from itself while it updates.
    std::shared_ptr<TAppScreen> screen = CurrScreen;
    screen->Updating();
    return 0;
}

int Control::Pause() {
    // None: the frames go on (said once).
    if (ControlHooks::PauseScreen) return ControlHooks::PauseScreen->RunPause();
    if (!pauseMissingTold) ProgramError("No pause screen was handed in: the game goes on in the background", Here());
    pauseMissingTold = true;
    return 0;
}

int Control::NoScreen() {
    ResetDrawStateForOverlay();
    SetColor(255, 255, 255);
    int x = GetGraphicsWidth() / 2 - TextWidth(txtNoActScreen) / 2;
    int y = GetGraphicsHeight() / 2 - TextHeight(txtNoActScreen) / 2;
    DrawText(txtNoActScreen, static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int Control::DrawConsole() { return Console::Draw(); }

int Control::DrawFPS() {
    if (!isFPSShowOn) return 0;
    SetColor(0, 0, 0);
    ResetDrawStateForOverlay();
    // The quad batch at work: the GL drawing calls and quads of the frame shown last.
    const DrawStats stats = LastFrameDrawStats();
    std::string text = "FPS: " + std::to_string(GetAppFPS()) + "  draw calls: " + std::to_string(stats.drawCalls) +
                       "  quads: " + std::to_string(stats.quads);
    DrawRect(4, 4, static_cast<float>(TextWidth(text) + 8), static_cast<float>(TextHeight("A") + 8));
    SetColor(255, 255, 255);
    DrawText(text, 8, 8);
    return 0;
}

int Control::DrawScreenBorder() {
    if (!isBorderShowOn) return 0;
    SetColor(255, 0, 0);
    SetAlpha(1.0f);
    SetBlend(3);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    float w = static_cast<float>(GetGraphicsWidth());
    float h = static_cast<float>(GetGraphicsHeight());
    DrawRect(0, 0, 1, h);
    DrawRect(w, 0, 1, h);
    return 0;
}

int Control::Draw() {
    if (!CurrScreen) {
        NoScreen();
        return 0;
    }
    std::shared_ptr<TAppScreen> screen = CurrScreen;
    // A screen entered during this frame's update (a switch without the fade) has not been
    // updated yet: it runs that update now, so its first frame already shows its settled state.
    screen->Settle();
    screen->Drawing();
    DrawFPS();
    DrawScreenBorder();
    return 0;
}

int Control::MainLoop() {
    Init();
    while (!isEnded) {
        if (FrameLimit >= 0 && FrameCount >= FrameLimit) {
            AppEnd();
            break;
        }
        int32_t frame = FrameCount++;
        try {
            HarnessFrameStart(frame);
            Cls();
            Update();
            if (isEnded) break;
            UpdateConsole();
            Draw();
            DrawConsole();
            Mouse::Draw();
            SetColor(0, 0, 0);
            SetScale(1.0f, 1.0f);
            SetRotation(0.0f);
            SetBlend(3);
            DrawRect(1194, 0, 2, 768);
            DrawRect(-171, 767, 1366, 2);
            HarnessBeforeFlip();
            Flip(-1);
            AspectCls();
            if (KeyDown(kKeyLeftControl) && KeyHit(kKeyE))
                Console::AddCritical(CreateCriticalLine("Editor unavailable without Debug Mode Build!", 0));
        } catch (const std::exception& e) {
            // A fault inside one frame is reported; the game goes on with the next frame.
            Error(std::string("Frame ") + std::to_string(frame) + " failed: " + e.what(), Here());
        } catch (...) {
            Error("Frame " + std::to_string(frame) + " failed", Here());
        }
    }
    return 0;
}

int Control::BeginOwnLoopFrame() {
    if (isEnded) return 1;
    if (FrameLimit >= 0 && FrameCount >= FrameLimit) {
        AppEnd();
        return 1;
    }
    int32_t frame = FrameCount++;
    HarnessFrameStart(frame);
    if (AppTerminate()) {
        AppEnd();
        return 1;
    }
    return isEnded ? 1 : 0;
}

int Control::BeforeOwnLoopFlip() {
    HarnessBeforeFlip();
    return 0;
}

void Control::Reset() {
    Screens.clear();
    PopUps.clear();
    CurrScreen.reset();
    pauseMissingTold = false;
    GlobalObjects.clear();
    ToSaveAtEndList.clear();
    isFPSShowOn = 0;
    isBorderShowOn = 0;
    txtNoActScreen = "NO ACT SCREEN";
    FrameLimit = -1;
    FrameCount = 0;
    isEnded = false;
    ExitStatus = 0;
    for (THookSlot* slot : std::initializer_list<THookSlot*>{&ControlHooks::AddGlobalAsset, &ControlHooks::ShowMessage,
                                                             &ControlHooks::Harness, &ControlHooks::PauseScreen})
        slot->Unset();
    AppExitFunction = &DefaultAppExit;
}

// ---------------------------------------------------------------------------------------------
// Start, run, end

int ShowAppMessage(const std::string& text, int mode, void (*yes)(), void (*no)()) {
    return ControlHooks::ShowMessage(text, mode, yes, no) ? 1 : 0;
}

int AddAppGlobalAsset(const std::shared_ptr<TAsset>& asset) {
    return asset && ControlHooks::AddGlobalAsset(asset) ? 1 : 0;
}

int AppInitControl() {
    Control::Init();
    return InitConsole();
}

int AppRun() { return Control::MainLoop(); }

int AppEnd() {
    // Once only: a quit request and Command+Q in one frame, or a save that reports a quit, must
    // not save twice.
    if (Control::isEnded) return 0;
    Control::isEnded = true;
    std::vector<std::shared_ptr<TAppObj>> list = Control::ToSaveAtEndList;
    for (const auto& obj : list) {
        if (!obj) continue;
        try {
            if (obj->SaveAtEnd() < 0) Control::ExitStatus = 1;
        } catch (const std::exception& e) {
            Error(std::string("Saving at exit failed: ") + e.what(), Here());
            Control::ExitStatus = 1;
        } catch (...) {
            Error("Saving at exit failed", Here());
            Control::ExitStatus = 1;
        }
    }
    try {
        if (const std::shared_ptr<TFrameHarness> harness = ControlHooks::Harness.Required(); harness && harness->atEnd)
            harness->atEnd();
    } catch (...) {
        Error("The end-of-run step failed", Here());
    }
    if (AppExitFunction) AppExitFunction();
    return Control::ExitStatus;
}

int QuitApp() { return AppEnd(); }
