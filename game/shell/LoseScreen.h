// The lose pop-up: shown over the game screen when a level is lost. It is a pop-up although its
// file has the screen extension. Its window "LoseWindow" shows itself with its animator's
// animation at index 1; "Menu" goes to the main menu and "Replay" plays the level again, both
// restarting the level from its beginning at the switch, so a lost attempt never resumes. The
// pop-up has no hide animation: it leaves with the screen change.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TLoseScreen : public TAppPopUp {
public:
    TGameObjectPtr MainPanel;     // "LoseWindow"
    TGameObjectPtr ButtonMenu;    // "Menu"
    TGameObjectPtr ButtonReplay;  // "Replay"

    // Finds the window and the two buttons. A window without an animator is reported; the
    // pop-up then shows it without animating it.
    int OnSetup() override;
    int Interface() override;
    // The frame delta settled, the window's show animation.
    int OnShow() override;

    virtual int GoMenu();
    virtual int GoReplay();
};

using TLoseScreenPtr = std::shared_ptr<TLoseScreen>;

extern TLoseScreenPtr LoseScreen;

// A new pop-up registered with Control as "LoseScreen", file bDir + "PopUps/LoseScreen/LoseSCreen.AppScreen".
TLoseScreenPtr CreateLoseScreen();
