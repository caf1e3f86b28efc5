// The profiles pop-up: it owns the list of players and the current player (the only writer of
// the global Profile), reads the players at start-up and writes them at exit.
//
// Files, in the per-user folder AppDataFolder + "/Profiles":
//   "Profiles.dat"           the index: a block "Settings" with "CurrProfile" (the current
//                            player's Id), then one block "Profile" per player with "Id" and
//                            "Name", in list order
//   Id + ".AppProfile"       each player's progress (Profile.h)
//   Id + ".PACLEVEL"         each player's level in progress
// Every file is written whole to a temporary file and renamed over the old one. A player's
// files are always named by the Id derived from the player's name (digits and "-" only), never
// by a text read from the index. A file that could not be read is never written over: it is set
// aside (renamed with ".bad") or, when it cannot be moved, left alone.
//
// A missing or damaged index does not lose the players: the list is rebuilt from the progress
// files in the folder (each holds its player's name), and the rebuild is reported.
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

#include "engine/screen/AppScreen.h"
#include "engine/ui/UI_Object.h"
#include "game/progress/Profile.h"

class ProfileManagerSettings : public TAppPopUp {
public:
    // Player slots of the pop-up, and so the most players there can be.
    static constexpr int MaxProfilesPerPage = 6;
};

class TProfileManager : public ProfileManagerSettings {
public:
    std::vector<TProfilePtr> ProfilesList;  // the index's order, new players appended; at most
                                            // MaxProfilesPerPage
    TProfilePtr CurrProfile;                // the same object as the global Profile
    TUIButtonPtr ButtonOk, ButtonDelete, ButtonRename, ButtonNew;
    TGameObjectPtr MainPanel;  // carries the show and hide animations
    TUIButtonPtr ProfileButton[MaxProfilesPerPage];
    TUIImagePtr ProfilePicked[MaxProfilesPerPage];
    // The pending question: 0 none, 1 delete, 2 rename, 3 new.
    int Question = 0;
    // Set once the players were read at set-up; until then SaveAtEnd writes nothing, so that
    // leaving during loading cannot replace the players' files with empty ones.
    int isProfilesRead = 0;
    // Set when the index could not be read and could not be set aside either: it is then never
    // written over.
    int isIndexKept = 0;

    // ---- The players and their files ----
    // The index path and a player's progress path.
    static std::string IndexPath();
    static std::string ProfilePath(const std::string& id);
    // Makes the start player, makes the first player current and saves everything (first run).
    virtual int InitProfiles();
    // A new player named by line 2 of the pop-up's text file, appended and made current.
    virtual int CreateStartProfile();
    // The first player whose Id equals id exactly; when none does, the first player.
    virtual int SetCurrProfileById(const std::string& id);
    // CurrProfile and the global Profile become profile.
    virtual int SetCurrProfile(const TProfilePtr& profile);
    // Writes every player's files, then the index. Nothing before the players were read. When a
    // player's progress file cannot be written the index is left as it was, so that it never
    // names a file that is not there.
    int SaveAtEnd() override;
    // Reads the index and every player (run by the loading screen after every other set-up, so
    // that the kingdom's buildings and the awards are there to resolve ids). A missing index with
    // no progress file beside it is a first run. A damaged index is set aside and reported; a
    // missing or damaged one (or one that lists nobody) is rebuilt from the progress files there
    // are. Players beyond the slots, and a second player under an Id already listed, are left
    // out with a warning (their files stay as they are). Also points the music rotation at the
    // current player.
    int OnSetup() override;
    // The players from the progress files of the folder, as many as there are slots (the most
    // recently written when there are more), in file-name order; files that cannot be read are
    // set aside and skipped. Returns how many were found.
    virtual int RebuildProfilesList();

    // ---- The pop-up ----
    // Finds the widgets by id.
    int OnStart() override;
    // The frame delta settled, the show animation, the slots filled.
    int OnShow() override;
    int OnHideCheck() override;
    // The hide animation.
    int StartHiding() override;
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
    // The current player leaves the list (no file is removed); the first player becomes current.
    virtual int DeleteProfile();
    // The yes-callback of the delete question.
    static void DelProfileFunc();
    // The current player takes the entered name (trimmed); a new Id follows from it.
    virtual int RenameProfile();
    // A new player with the entered name (trimmed), appended and made current.
    virtual int NewProfile();
    // Every player's name in capitals, in list order.
    virtual std::vector<std::string> GetProfilesNamesList();
    // CurrProfile, then the list (nothing in the game calls it).
    virtual int SetProfilesData(const TProfilePtr& profile, const std::vector<TProfilePtr>& list);
    // The text on each of the button's texts.
    virtual int SetProfileButton(const TUIButtonPtr& button, const std::string& text);
    virtual int isHiddingFinished();
    // True when the name, trimmed and in capitals, is another player's (except the player
    // given). The last guard before a name is used: the name entry refuses such names already.
    virtual bool isNameTaken(const std::string& name, const TProfile* except);

private:
    // Appends a player read from the index or rebuilt, keeping to the slots and to one player
    // per Id. Returns false (after a warning) when it was left out.
    bool _addReadProfile(const TProfilePtr& profile, const std::string& from);
};

// Profiles->CurrProfile (nothing in the game calls it).
TProfilePtr CurrentProfile();

using TProfileManagerPtr = std::shared_ptr<TProfileManager>;

extern TProfileManagerPtr Profiles;

// A new profiles pop-up registered as "ProfileManager", file
// bDir + "PopUps/Profiles/Profiles.AppPopUp", set up after every other pop-up
// (isAtEndSetuped) and put on the save-at-end list.
TProfileManagerPtr CreateProfileManager();
