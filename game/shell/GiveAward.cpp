#include "game/shell/GiveAward.h"

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/progress/Awards.h"
#include "game/progress/Profile.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/PanelAnimation.h"

TGiveAwardPtr GiveAward;

int TGiveAward::OnStart() {
    MainPanel = FindObject("Panel");
    AwardImage = std::dynamic_pointer_cast<TUIImage>(FindObject("Award"));
    Title = std::dynamic_pointer_cast<TUIText>(FindObject("Title"));
    Opis = std::dynamic_pointer_cast<TUIText>(FindObject("Opis"));
    return 0;
}

void TGiveAward::ShowAward() {
    if (!Award) return;
    if (AwardImage) AwardImage->SetImg(Award->Image);
    if (Opis) Opis->SetText(Award->Opis);
    if (Title) Title->SetText(Award->Name);
}

int TGiveAward::OnShow() {
    isShown = true;
    ShowAward();
    ResetDelta();
    if (Game) Game->Lock();
    PlayPanelShow(MainPanel.get());
    return 0;
}

int TGiveAward::OnHide() {
    isShown = false;
    if (Game) Game->UnLock();
    return 0;
}

int TGiveAward::Interface() {
    if (Mouse::LeftPressed) StartHiding();
    return 0;
}

int TGiveAward::OnHideCheck() {
    if (!isHiddingFinished()) return 0;
    if (Queued.empty()) return 1;
    // The next award comes up in the same pop-up.
    Award = Queued.front();
    Queued.pop_front();
    ShowAward();
    PlayPanelShow(MainPanel.get());
    return 0;
}

int TGiveAward::SetAward(const std::shared_ptr<TAward>& award) {
    if (!award) return 0;
    if (Profile) Profile->Awards.push_back(award);
    if (isShown) Queued.push_back(award);
    else Award = award;
    return 0;
}

TGiveAwardPtr CreateGiveAward() {
    auto popup = std::make_shared<TGiveAward>();
    popup->Init("GiveAward", bDir + "PopUps/GiveAward/GiveAward.AppPopUp");
    return popup;
}
