#include "game/shell/ContinuePopUp.h"

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "game/progress/Profile.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/PanelAnimation.h"

TContinuePopUpPtr ContinuePopUp;

namespace {

constexpr int PanelId = 10, ContinueId = 1, NewId = 2, MenuId = 3;
constexpr int NewGameQuestionLine = 4;

}  // namespace

int TContinuePopUp::OnStart() {
    MainPanel = FindObjectInd(PanelId);
    return 0;
}

int TContinuePopUp::Interface() {
    switch (ClickObjectId()) {
        case ContinueId: GoContinue(); break;
        case NewId: GoNew(); break;
        case MenuId: GoMenu(); break;
        default: break;
    }
    return 0;
}

int TContinuePopUp::GoContinue() {
    ClearClicksAndOvers();
    if (Profile) Profile->Game_Continue();
    StartHiding();
    return 0;
}

void TContinuePopUp::GoStartNew() {
    if (Profile) Profile->Game_StartNew();
    if (ContinuePopUp) ContinuePopUp->StartHiding();
}

int TContinuePopUp::GoNew() {
    ClearClicksAndOvers();
    ShowInfo(GetTxt(NewGameQuestionLine), 0, GoStartNew, EmptyFunction);
    return 0;
}

int TContinuePopUp::GoMenu() {
    ClearClicksAndOvers();
    StartHiding();
    return 0;
}

int TContinuePopUp::OnShow() {
    ResetDelta();
    PlayPanelShow(MainPanel.get());
    return 0;
}

TContinuePopUpPtr CreateContinuePopUp() {
    auto popup = std::make_shared<TContinuePopUp>();
    popup->Init("ContinuePopUp", bDir + "PopUps/Continue/Continue.AppPopUp");
    return popup;
}
