// The name-entry pop-up: the players pop-up opens it to get a name for a new player or a new
// name for the current one. The player types on the keyboard; the entry is shown with a caret,
// an empty name or one that another player has already is refused, and OK (or Return) hands the
// name to the players pop-up at once, Cancel (or Escape) closes without a change.
//
// Typing takes one character a frame: backspace removes the last character, a space cannot be
// typed, control characters are ignored, any other character (digits, punctuation, letters of
// any script) is appended in capitals while the entry holds fewer than MaxCharacters.
// A name is taken when, trimmed and in capitals, it equals another player's name trimmed and in
// capitals (the name being edited excepted, so a player may keep the own name).
//
// Pop-up file objects, by id: 1 the panel with the show and hide animations 1 and 2, 103 OK,
// 104 Cancel, 4 the caret (an image placed inside the entry text), 5 the entry text, 6 the
// notice that the name is taken.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/UI_Object.h"
#include "game/shell/PanelAnimation.h"

class EnterNameSettings : public TPanelPopUp {
public:
    static constexpr int MaxCharacters = 15;  // the longest name, in characters
    static constexpr int AutoUpperCase = 1;   // typed letters become capitals
};

class TEnterName : public EnterNameSettings {
public:
    TGameObjectPtr CentPoint;  // carries the show and hide animations
    TUIButtonPtr OkButton, CancelButton;
    TUIImagePtr Cursor;              // the caret
    TUITextPtr Enter;                // the entry
    TUITextPtr ErrorText;            // shown while the name is taken
    std::vector<std::string> Names;  // every player's name in capitals (SetData)
    std::string EditedName;          // the name being changed, in capitals; empty for a new player
    int Decision = 0;                // 1 after OK, 0 after Cancel

    // Finds the widgets by id, then runs one update of the pop-up.
    int OnStart() override;
    // Once a frame while it is the top pop-up: UpdateCheck, then UpdateEntering.
    int Update() override;
    // OK clicked: GoOk; Cancel clicked: GoCancel (each click taken once).
    int Interface() override;
    // The frame delta settled, the show animation.
    int OnShow() override;

    // The buttons and the notice from the entry: OK only for a name that is not empty once
    // trimmed and not taken.
    virtual int UpdateCheck();
    // Takes at most one typed character and places the caret after the text.
    virtual int UpdateEntering();
    // The entry as shown: as typed, not trimmed.
    virtual std::string GetText();
    // Starts hiding, Decision 1, and the players pop-up makes or renames the player at once.
    virtual int GoOk();
    // Starts hiding, Decision 0.
    virtual int GoCancel();
    // Before the pop-up is shown: the players' names (in capitals) and the name being edited
    // ("" for a new player), which becomes the entry as it is.
    virtual int SetData(const std::vector<std::string>& names, const std::string& editedName);

private:
    std::string _entry;  // the entry (mirrored in Enter, which may be missing from the file)

    // Sets the entry into the text widget and lays it out now, so that its end is known.
    void _showEntry();

protected:
    TGameObject* AnimatedPanel() const override { return CentPoint.get(); }
};

using TEnterNamePtr = std::shared_ptr<TEnterName>;

extern TEnterNamePtr EnterName;

// A new pop-up registered with Control as "EnterName", file bDir + "PopUps/Entername/EnterName.AppPopUp".
TEnterNamePtr CreateEnterName();
