#include "game/shell/LoseScreen.h"

#include "engine/screen/AppAnimator.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "game/progress/Profile.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/MainMenu.h"

TLoseScreenPtr LoseScreen;

namespace {

// The window's show animation: its animator's animation at this index, played for this long.
constexpr int ShowAnimationIndex = 1;
constexpr int ShowAnimationMs = 500;

}  // namespace

int TLoseScreen::OnSetup() {
    MainPanel = FindObject("LoseWindow");
    if (MainPanel && !MainPanel->Comp_Animator)
        Error("The lose window has no animator: it is shown without its animation", Here());
    ButtonMenu = FindObject("Menu");
    ButtonReplay = FindObject("Replay");
    return 0;
}

int TLoseScreen::OnShow() {
    ResetDelta();
    if (MainPanel && MainPanel->Comp_Animator)
        MainPanel->Comp_Animator->Animation_PlayInd(ShowAnimationIndex, ShowAnimationMs, 0, 0.0f, 0, 1);
    return 0;
}

int TLoseScreen::Interface() {
    // The engine runs a pop-up's Interface twice a frame: a press is taken once and cleared.
    if (ButtonMenu && ButtonMenu->isClicked()) {
        Mouse::Clear();
        ClearClicksAndOvers();
        GoMenu();
    } else if (ButtonReplay && ButtonReplay->isClicked()) {
        Mouse::Clear();
        ClearClicksAndOvers();
        GoReplay();
    }
    return 0;
}

int TLoseScreen::GoMenu() {
    GoToScreen(MainMenu, RestartCurrPlayerLevel);
    return 0;
}

int TLoseScreen::GoReplay() {
    GoToScreen(Game, RestartCurrPlayerLevel);
    return 0;
}

TLoseScreenPtr CreateLoseScreen() {
    auto popup = std::make_shared<TLoseScreen>();
    popup->Init("LoseScreen", bDir + "PopUps/LoseScreen/LoseSCreen.AppScreen");
    return popup;
}
