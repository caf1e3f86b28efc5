// The shell's pop-ups open and close with the animations of one panel object: animation 1 shows
// it, animation 2 hides it; both last 500 ms, are not looped, start from the beginning without
// delay and use sine easing. The pop-up is closed once the hide animation has finished.
#pragma once

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
