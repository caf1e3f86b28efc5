// The award announcement: the pop-up that hands the player a newly won award, with its picture,
// title and description on the panel "Panel" (objects "Award", "Title", "Opis"). It locks the
// game screen while shown; a click anywhere hides it. SetAward books the award into the profile.
// An award handed over while another is on show is queued and announced after it, in turn.
#pragma once
#include <deque>
#include <memory>

#include "game/shell/PanelAnimation.h"

class TAward;
class TUIImage;
class TUIText;

class TGiveAward : public TPanelPopUp {
public:
    std::shared_ptr<TAward> Award;  // the award on show (the last one handed over)
    TGameObjectPtr MainPanel;       // "Panel"
    std::shared_ptr<TUIImage> AwardImage;
    std::shared_ptr<TUIText> Title;
    std::shared_ptr<TUIText> Opis;
    // Awards handed over while the pop-up was on show, to be announced after it.
    std::deque<std::shared_ptr<TAward>> Queued;
    bool isShown = false;

    int OnStart() override;
    int Interface() override;
    // The award's picture and texts, the frame delta settled, the game screen locked, the show
    // animation.
    int OnShow() override;
    // The game screen unlocked.
    int OnHide() override;
    // Once hidden: the next queued award comes up at once, else the pop-up closes.
    int OnHideCheck() override;

    // Books the award into the profile; it is the one shown next (queued while one is on show).
    virtual int SetAward(const std::shared_ptr<TAward>& award);

private:
    void ShowAward();

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

using TGiveAwardPtr = std::shared_ptr<TGiveAward>;

extern TGiveAwardPtr GiveAward;

// A new pop-up registered with Control as "GiveAward", file bDir + "PopUps/GiveAward/GiveAward.AppPopUp".
TGiveAwardPtr CreateGiveAward();
