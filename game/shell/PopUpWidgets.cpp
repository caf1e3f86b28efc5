#include "game/shell/PopUpWidgets.h"

#include "engine/screen/AppScreen.h"

void SetEnabled(const TGameObjectPtr& widget, bool on) {
    if (!widget) return;
    if (on) widget->Enable();
    else widget->Disable();
}

bool isEnabledClick(TAppScreen& screen, const TGameObjectPtr& widget) {
    return widget && widget->isEnabled != 0 && screen.isObjectClick(widget.get()) != 0;
}
