// The awards pop-up, opened from the stages map: all eighteen awards ("Award1" to "Award18" on
// the panel "Main"), the ones the player holds fully opaque, the others faded. Its set-up reads
// the award catalogue (Awards.h). A click anywhere hides it.
#pragma once
#include <memory>

#include "game/shell/PanelAnimation.h"

class TAwardScreen : public TPanelPopUp {
public:
    TGameObjectPtr MainPanel;  // "Main"

    // Reads the award catalogue.
    int OnSetup() override;
    int OnStart() override;
    int Interface() override;
    int OnShow() override;

    // AwardsList from bDir + "Awards.txt"; a missing file gives an empty catalogue.
    virtual int SetupAwards();

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

using TAwardScreenPtr = std::shared_ptr<TAwardScreen>;

extern TAwardScreenPtr AwardsShow;

// A new pop-up registered with Control as "AwardsShow", file bDir + "PopUps/AwardsShow/AwardsShow.AppPopUp".
TAwardScreenPtr CreateAwardScreen();
