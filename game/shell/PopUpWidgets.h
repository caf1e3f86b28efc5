// What the shell's pop-ups do with their widgets (buttons, texts, marks) each frame.
#pragma once
#include "engine/screen/GameObject.h"

class TAppScreen;

// Enables (on) or disables a widget; nothing without one.
void SetEnabled(const TGameObjectPtr& widget, bool on);

// True when the screen reports a click on the widget this frame and the widget is enabled (false
// without one).
bool isEnabledClick(TAppScreen& screen, const TGameObjectPtr& widget);
