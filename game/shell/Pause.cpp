#include "game/shell/Pause.h"

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/media/AppFont.h"
#include "engine/media/SoundManager.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Strings.h"

std::string TxtGamePaused;
TImageFontPtr PauseFont;

int SetupPause() {
    const std::string path = bDir + "Local/" + LangMod + "/Paused.txt";
    bool ok = false;
    TxtGamePaused = Trim(LoadText(path, &ok));
    if (!ok) ErrorNoFile(path, Here());  // the pause screen then shows no text
    PauseFont = GetAppFont(bDir + "App/Fonts/font.ttf", 42);
    return 0;
}

namespace {

void DrawPauseScreen() {
    Cls();
    SetColor(255, 255, 255);
    SetRotation(0);
    SetScale(1, 1);
    SetBlend(3);
    SetAlpha(1);
    SetImageFont(PauseFont);
    int x = 512 - TextWidth(TxtGamePaused) / 2;
    int y = 384 - TextHeight(TxtGamePaused) / 2;
    DrawText(TxtGamePaused, static_cast<float>(x), static_cast<float>(y));
    Control::BeforeOwnLoopFlip();
    Flip(-1);
    AspectCls();
}

}  // namespace

int PauseGame() {
    AppSoundManager::Pause();
    // Each pass is a frame of its own (counted, with the harness's input applied). The still
    // picture is drawn on the first and again only when the window lost it; the other frames
    // draw nothing and only wait, paced like a drawn frame, so the pause costs next to nothing.
    bool drawn = false;
    int drawnAt = 0;
    do {
        if (Control::BeginOwnLoopFrame() != 0) break;
        if (!drawn || WindowExposures() != drawnAt) {
            drawn = true;
            drawnAt = WindowExposures();
            DrawPauseScreen();
        } else {
            WaitFrame();
        }
        // A close request while in the background ends the game at once, the normal way.
        if (AppTerminate()) break;
    } while (AppSuspended());
    AppSoundManager::UnPause();
    if (AppTerminate()) {
        AppEnd();
        return 0;
    }
    if (Control::isEnded) return 0;
    // The time spent paused is not one long frame for whatever moves next.
    ResetDelta();
    return 0;
}

void ResetPause() {
    TxtGamePaused.clear();
    PauseFont.reset();
}
