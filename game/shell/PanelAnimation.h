// The shell's pop-ups open and close with the animations of one panel object: animation 1 shows
// it, animation 2 hides it; both last 500 ms, are not looped, start from the beginning without
// delay and use sine easing. The pop-up is closed once the hide animation has finished.
#pragma once

#include "engine/screen/AppScreen.h"

class TGameObject;

constexpr int PanelShowAnimation = 1;
constexpr int PanelHideAnimation = 2;
constexpr int PanelAnimationMs = 500;

// Plays the panel's show (hide) animation; nothing without a panel.
void PlayPanelShow(TGameObject* panel);
void PlayPanelHide(TGameObject* panel);
// True when the panel's current animation is the hide animation and it has finished (false
// without a panel).
bool isPanelHidden(TGameObject* panel);

// A pop-up that hides with its panel's hide animation and closes once it has finished. Each
// pop-up names the object that carries the animations.
class TPanelPopUp : public TAppPopUp {
public:
    int OnHideCheck() override;
    int StartHiding() override;

    // 1 once the panel's hide animation has finished.
    virtual int isHiddingFinished();

protected:
    // The object with the show and hide animations; null before the pop-up's first start.
    virtual TGameObject* AnimatedPanel() const = 0;
};
