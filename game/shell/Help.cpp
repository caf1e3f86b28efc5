#include "game/shell/Help.h"

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/PanelAnimation.h"

THelpPtr HelpScreen;

int THelp::OnStart() {
    MainPanel = FindObject("Panel");
    OkButton = FindObject("OkButton");
    return 0;
}

int THelp::OnShow() {
    ResetDelta();
    if (Game) Game->Lock();
    PlayPanelShow(MainPanel.get());
    return 0;
}

int THelp::OnHide() {
    if (Game) Game->UnLock();
    return 0;
}

int THelp::Interface() {
    // Interface runs twice a frame: the press is cleared so that it is taken once.
    if (OkButton && OkButton->isClicked()) {
        Mouse::Clear();
        StartHiding();
    }
    return 0;
}

THelpPtr CreateHelpScreen() {
    auto popup = std::make_shared<THelp>();
    popup->Init("Help", bDir + "PopUps/Help/HelpScreen.AppPopUp");
    return popup;
}
