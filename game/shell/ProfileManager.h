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
// by a text read from the index.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "game/shell/Profile.h"

class ProfileManagerSettings : public TAppPopUp {
public:
    // Player slots of the pop-up, and so the most players there can be.
    static constexpr int MaxProfilesPerPage = 6;
};

class TProfileManager : public ProfileManagerSettings {
public:
    std::vector<TProfilePtr> ProfilesList;  // the index's order, new players appended
    TProfilePtr CurrProfile;                // the same object as the global Profile
    // Set once the players were read at set-up; until then SaveAtEnd writes nothing, so that
    // leaving during loading cannot replace the players' files with empty ones.
    int isProfilesRead = 0;

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
    // that the kingdom's buildings and the awards are there to resolve ids). A missing index is
    // a first run; a damaged one is set aside and reported, and the game starts as on a first
    // run. Also points the music rotation at the current player.
    int OnSetup() override;

    // ---- The pop-up ----
    // Its widgets, the pick, new, rename and delete actions and Ok belong here.
};

using TProfileManagerPtr = std::shared_ptr<TProfileManager>;

extern TProfileManagerPtr Profiles;

// A new profiles pop-up registered as "ProfileManager", file
// bDir + "PopUps/Profiles/Profiles.AppPopUp", set up after every other pop-up
// (isAtEndSetuped) and put on the save-at-end list.
TProfileManagerPtr CreateProfileManager();
