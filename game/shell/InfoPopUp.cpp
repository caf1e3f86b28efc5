#include "game/shell/InfoPopUp.h"

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "game/shell/PanelAnimation.h"
#include "game/shell/PopUpWidgets.h"

TInfoPopUpPtr InfoPopUp;

namespace {

constexpr int TextId = 3;
constexpr int YesId = 101, NoId = 102, OkId = 103, CancelId = 104;

}  // namespace

int TInfoPopUp::OnStart() {
    CenterPoint = FindObject("CenterPoint");
    Text = std::dynamic_pointer_cast<TUIText>(FindObjectInd(TextId));
    Yes = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(YesId));
    No = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(NoId));
    Ok = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(OkId));
    Cancel = std::dynamic_pointer_cast<TUIButton>(FindObjectInd(CancelId));
    return 0;
}

int TInfoPopUp::Interface() {
    if (isLocked != 0) return 0;
    if (isEnabledClick(*this, Yes) || isEnabledClick(*this, Ok)) GoOk();
    if (isEnabledClick(*this, No) || isEnabledClick(*this, Cancel)) GoCancel();
    return 0;
}

int TInfoPopUp::GoOk() {
    ClearClicksAndOvers();
    StartHiding();
    Decision = 1;
    return 0;
}

int TInfoPopUp::GoCancel() {
    ClearClicksAndOvers();
    StartHiding();
    Decision = 0;
    return 0;
}

int TInfoPopUp::SetText(const std::string& text) {
    if (!Text) return 0;
    // A long message is drawn smaller, so that it stays whole inside the pop-up.
    Text->SetText(text);
    Text->FitToBox();
    return 0;
}

int TInfoPopUp::SetDecisions(TInfoCallback yes, TInfoCallback no) {
    YesFunc = yes;
    NoFunc = no;
    return 0;
}

int TInfoPopUp::SetMode(int mode) {
    static const bool table[4][4] = {
        // Yes    No     OK     Cancel
        {true, true, false, false},
        {false, false, true, true},
        {true, false, false, false},
        {false, false, true, false},
    };
    if (mode < 0 || mode > 3) return 0;
    SetEnabled(Yes, table[mode][0]);
    SetEnabled(No, table[mode][1]);
    SetEnabled(Ok, table[mode][2]);
    SetEnabled(Cancel, table[mode][3]);
    return 0;
}

int TInfoPopUp::OnShow() {
    PlayPanelShow(CenterPoint.get());
    ResetDelta();
    Decision = 0;
    return 0;
}

int TInfoPopUp::OnHide() {
    // Both are forgotten before the chosen one runs: each is used once, and a callback that asks
    // a new question keeps the callbacks it gives.
    const TInfoCallback chosen = Decision == 1 ? YesFunc : NoFunc;
    YesFunc = nullptr;
    NoFunc = nullptr;
    if (chosen) chosen();
    return 0;
}

TInfoPopUpPtr CreateInfoPopUp() {
    auto popup = std::make_shared<TInfoPopUp>();
    popup->Init("Info", bDir + "PopUps/InfoPopUp/InfoPopUp.AppPopUp");
    return popup;
}

void ShowInfo(const std::string& text, int mode, TInfoCallback yes, TInfoCallback no) {
    if (!InfoPopUp) return;
    InfoPopUp->OnStart();
    InfoPopUp->SetDecisions(yes, no);
    InfoPopUp->SetText(text);
    InfoPopUp->SetMode(mode);
    ShowAppPopUp(InfoPopUp);
}

void EmptyFunction() {}
