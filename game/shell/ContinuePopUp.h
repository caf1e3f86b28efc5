// The continue pop-up: offered over the main menu when the player has play in progress. Its
// buttons, by id: 1 Continue (back to the screen where play stopped), 2 New game (after a
// question, line 4 of the text file, the game starts over), 3 Back (closes). The panel, id 10,
// carries the show and hide animations 1 and 2.
#pragma once
#include <memory>

#include "game/shell/PanelAnimation.h"

class TContinuePopUp : public TPanelPopUp {
public:
    TGameObjectPtr MainPanel;  // empty until the first start

    int OnStart() override;
    // The clicked button's action; each click is taken once.
    int Interface() override;
    // The frame delta settled, the show animation.
    int OnShow() override;

    virtual int GoContinue();
    // The yes of the new-game question: the game starts over, and the pop-up closes.
    static void GoStartNew();
    virtual int GoNew();
    virtual int GoMenu();

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

using TContinuePopUpPtr = std::shared_ptr<TContinuePopUp>;

extern TContinuePopUpPtr ContinuePopUp;

// A new pop-up registered with Control as "ContinuePopUp", file bDir + "PopUps/Continue/Continue.AppPopUp".
TContinuePopUpPtr CreateContinuePopUp();
