// The message pop-up: the one message and question pop-up of the game. A caller hands it a text,
// a mode that chooses the buttons and two callbacks (ShowInfo); the pop-up opens over the current
// screen with its panel's animation, and once the player has chosen and the closing animation has
// ended, it runs the callback of the choice, once.
//
// Modes (the buttons shown and clickable):
//   0  Yes and No      1  OK and Cancel      2  Yes only      3  OK only
// Any other mode leaves the buttons as the last message had them. Yes and OK choose the yes
// callback, No and Cancel the no callback.
//
// Pop-up file objects: "CenterPoint" (by name) with the show and hide animations 1 and 2, the
// text with id 3, the buttons Yes 101, No 102, OK 103 and Cancel 104. The code reads no line of
// the pop-up's text file.
#pragma once
#include <memory>
#include <string>

#include "engine/ui/UI_Object.h"
#include "game/shell/PanelAnimation.h"

// A callback of a choice: a plain function without arguments; null runs nothing.
using TInfoCallback = void (*)();

class TInfoPopUp : public TPanelPopUp {
public:
    TGameObjectPtr CenterPoint;  // carries the show and hide animations
    TUITextPtr Text;             // the message
    TUIButtonPtr Yes, No, Ok, Cancel;
    int Decision = 0;  // 1 when the last choice was yes or OK; 0 otherwise (and on every show)
    TInfoCallback YesFunc = nullptr;
    TInfoCallback NoFunc = nullptr;

    // Finds the panel by name and the other widgets by id.
    int OnStart() override;
    // Nothing while locked; a click of Yes or OK chooses yes, of No or Cancel no. The click is
    // taken once although the engine asks the top pop-up twice a frame.
    int Interface() override;
    // The show animation, the frame delta settled, Decision 0.
    int OnShow() override;
    // The closing: the callback of the last choice runs, and both callbacks are forgotten.
    int OnHide() override;

    virtual int GoOk();
    virtual int GoCancel();
    virtual int SetText(const std::string& text);
    virtual int SetDecisions(TInfoCallback yes, TInfoCallback no);
    virtual int SetMode(int mode);

protected:
    TGameObject* AnimatedPanel() const override { return CenterPoint.get(); }
};

using TInfoPopUpPtr = std::shared_ptr<TInfoPopUp>;

extern TInfoPopUpPtr InfoPopUp;

// A new pop-up registered with Control as "Info", file bDir + "PopUps/InfoPopUp/InfoPopUp.AppPopUp".
TInfoPopUpPtr CreateInfoPopUp();

// Shows the message pop-up over the current screen: finds its widgets (so that this works before
// it was ever shown), stores the callbacks, the text and the mode, then shows it. When it is open
// already its text, mode and callbacks change at once, without a new opening. Without a current
// screen the values are stored and nothing is shown.
void ShowInfo(const std::string& text, int mode, TInfoCallback yes, TInfoCallback no);
// Does nothing: the callback of a choice that needs no action.
void EmptyFunction();
