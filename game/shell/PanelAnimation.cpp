#include "game/shell/PanelAnimation.h"

#include "engine/screen/GameObject.h"

void PlayPanelShow(TGameObject* panel) {
    if (panel) panel->Animation_PlayId(PanelShowAnimation, PanelAnimationMs, 0, 0.0f, 0, 1);
}

void PlayPanelHide(TGameObject* panel) {
    if (panel) panel->Animation_PlayId(PanelHideAnimation, PanelAnimationMs, 0, 0.0f, 0, 1);
}

bool isPanelHidden(TGameObject* panel) {
    return panel && panel->isCurrentAnimationId(PanelHideAnimation) && panel->Animation_Finished();
}

int TPanelPopUp::OnHideCheck() { return isHiddingFinished(); }

int TPanelPopUp::StartHiding() {
    PlayPanelHide(AnimatedPanel());
    return 0;
}

int TPanelPopUp::isHiddingFinished() { return isPanelHidden(AnimatedPanel()) ? 1 : 0; }
