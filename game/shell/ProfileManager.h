// The profiles pop-up: it shows the players of the computer (TPlayers, game/progress/Players.h)
// and edits them. It reads the players when the loading screen sets it up and writes them at
// exit and when it is confirmed.
//
// The pop-up: up to six player slots (the most players there can be), the mark of the current
// player, and the buttons OK (save and close), New, Rename and Delete (after a question). Pop-up
// file objects, by id: 1 the panel with the show and hide animations 1 and 2; 101 OK, 102 New,
// 103 Rename, 104 Delete; 201 to 206 the slots' buttons (each showing a name on its texts);
// 301 to 306 the slots' marks. Text file: line 2 names the start player, line 7 is the delete
// question with "#PLAYER#" for the player's name.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/UI_Object.h"
#include "game/progress/Players.h"
#include "game/shell/PanelAnimation.h"

class ProfileManagerSettings : public TPanelPopUp {
public:
    // Player slots of the pop-up, and so the most players there can be.
    static constexpr int MaxProfilesPerPage = MaxPlayers;
};

class TProfileManager : public ProfileManagerSettings, public TPlayers {
public:
    TUIButtonPtr ButtonOk, ButtonDelete, ButtonRename, ButtonNew;
    TGameObjectPtr MainPanel;  // carries the show and hide animations
    TUIButtonPtr ProfileButton[MaxProfilesPerPage];
    TUIImagePtr ProfilePicked[MaxProfilesPerPage];
    // The pending question: 0 none, 1 delete, 2 rename, 3 new.
    int Question = 0;

    // Line 2 of the pop-up's text file, else "Player".
    std::string StartPlayerName() override;
    // Writes the players (SavePlayers).
    int SaveAtEnd() override;
    // Reads the players (run by the loading screen after every other set-up, so that the
    // kingdom's buildings and the awards are there to resolve ids) and points the music rotation
    // at the current player.
    int OnSetup() override;

    // ---- The pop-up ----
    // Finds the widgets by id.
    int OnStart() override;
    // The frame delta settled, the show animation, the slots filled.
    int OnShow() override;
    // Once a frame: UpdateProfilesGuiView.
    int Update() override;
    // The buttons clicked this frame (each click taken once): OK, Delete, Rename, New, a slot.
    int Interface() override;
    // The decision hook: the name-entry pop-up calls it on OK, and the engine runs it when this
    // pop-up is hidden. Carries out a confirmed rename or new player; clears the question.
    int OnUnlock() override;

    // Every slot and mark hidden, then one slot per player showing the name, the current
    // player's mark shown.
    virtual int ShowProfiles();
    // Delete disabled with one player left; New disabled while every slot is taken; the mark at
    // the current player.
    virtual int UpdateProfilesGuiView();
    // The player in slot index becomes current.
    virtual int PickProfile(int index);
    // Closes the pop-up and saves everything.
    virtual int Action_Ok();
    // Asks whether to delete the current player.
    virtual int Action_Delete();
    // Opens the name entry with the current player's name / an empty name.
    virtual int Action_Rename();
    virtual int Action_New();
    // The current player leaves the list (RemoveCurrentPlayer) and the slots are shown again.
    virtual int DeleteProfile();
    // The yes-callback of the delete question.
    static void DelProfileFunc();
    // The current player takes the entered name (RenameCurrentPlayer); a new player with the
    // entered name (AddPlayer). Each shows the slots again.
    virtual int RenameProfile();
    virtual int NewProfile();
    // CurrProfile, then the list (nothing in the game calls it).
    virtual int SetProfilesData(const TProfilePtr& profile, const std::vector<TProfilePtr>& list);
    // The text on each of the button's texts.
    virtual int SetProfileButton(const TUIButtonPtr& button, const std::string& text);

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

// Profiles->CurrProfile (nothing in the game calls it).
TProfilePtr CurrentProfile();

using TProfileManagerPtr = std::shared_ptr<TProfileManager>;

extern TProfileManagerPtr Profiles;

// A new profiles pop-up registered as "ProfileManager", file
// bDir + "PopUps/Profiles/Profiles.AppPopUp", set up after every other pop-up
// (isAtEndSetuped) and put on the save-at-end list.
TProfileManagerPtr CreateProfileManager();
