// The pause of the whole game while its window is in the background: a still screen with the
// music and sounds paused, returning when the window is active again.
#pragma once
#include <string>
#include "platform/Font.h"

extern std::string TxtGamePaused;  // the text shown while paused
extern TImageFontPtr PauseFont;     // its font (the default font when none)

// Loads the pause text from the language folder ("Paused.txt") and its font.
int SetupPause();
// Blocks, drawing the pause screen, while the application is suspended; at least one frame.
// A close request made meanwhile ends the program at once through AppEnd; otherwise the frame
// delta is settled on the way out, so the pause does not count as one long frame.
int PauseGame();
// Back to the start state (tests).
void ResetPause();
