// The help pop-up of the game screen: a panel "Panel" (show and hide animations 1 and 2) with
// its picture and text, and an "OkButton" that closes it. The game screen shows it once per
// player on its first update, and again on the panel's help button or F1. While it is shown the
// game screen is locked. The kingdom's help (KingdomHelp.h) behaves the same.
#pragma once
#include <memory>

#include "game/shell/PanelAnimation.h"

class THelp : public TPanelPopUp {
public:
    TGameObjectPtr MainPanel;  // "Panel"; empty until the first start
    TGameObjectPtr OkButton;   // "OkButton"

    int OnStart() override;
    int Interface() override;
    // The frame delta settled, the game screen locked, the show animation.
    int OnShow() override;
    // The game screen unlocked.
    int OnHide() override;

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

using THelpPtr = std::shared_ptr<THelp>;

extern THelpPtr HelpScreen;

// A new pop-up registered with Control as "Help", file bDir + "PopUps/Help/HelpScreen.AppPopUp".
THelpPtr CreateHelpScreen();
