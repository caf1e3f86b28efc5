// The pause of the whole game while its window is in the background: a still screen with the
// music and sounds paused, returning when the window is active again.
#pragma once
#include <string>
#include "engine/screen/AppScreen.h"
#include "platform/Font.h"

extern std::string TxtGamePaused;  // the text shown while paused
extern TImageFontPtr PauseFont;    // its font (the default font when none)

// Loads the pause text from the language folder ("Paused.txt") and its font.
int SetupPause();
// Blocks while the application is suspended, at least one frame; each pass is a frame of the
// engine's (counted, the harness's input applied). The pause screen is drawn and shown on the
// first pass and again only when the window lost its picture; the other passes only wait,
// paced to the frame rate. A close request made meanwhile ends the program at once through
// AppEnd, as does the harness's frame limit; otherwise the frame delta is settled on the way
// out, so the pause does not count as one long frame.
int PauseGame();
// The pause as the screen start-up hands the frame driver (ControlHooks::PauseScreen): its RunPause
// is PauseGame.
class TPauseScreen final : public TAppScreen {
public:
    int RunPause() override { return PauseGame(); }
};
// Back to the start state (tests).
void ResetPause();
