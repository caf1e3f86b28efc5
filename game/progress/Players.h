// The players of one computer: the list of their profiles, the current player (the only writer
// of the global Profile), reading them at start-up and writing them at exit. The profiles pop-up
// (game/shell/ProfileManager.h) shows and edits this list; nothing here is a screen.
//
// Files, in the per-user folder AppDataFolder + "/Profiles":
//   "Profiles.dat"           the index: a block "Settings" with "CurrProfile" (the current
//                            player's Id), then one block "Profile" per player with "Id" and
//                            "Name", in list order
//   Id + ".AppProfile"       each player's progress (Profile.h)
//   Id + ".PACLEVEL"         each player's level in progress
//   "Deleted/"               the files of deleted players, moved there as they were
// Every file is written whole to a temporary file and renamed over the old one, with checks of
// its content, the index's previous version kept as "Profiles.dat.bak" (SaveFiles.h); the index
// carries the number of its save ("Settings::SaveCount"), so that a ".bak" holding a newer list
// is read as the newer one and never written over by the older. A player's files are always
// named by the Id derived from the player's name (digits and "-" only), never by a text read
// from the index. A file that could not be read is never written over: it is set aside (copied
// with ".bad", SaveFiles.h) before its repair takes its place or, when it cannot be copied,
// left alone.
//
// A missing or damaged index does not lose the players: the list is rebuilt from the progress
// files in the folder (each holds its player's name), in the order and with the current player
// of the index where it still tells them (else of its ".bak"), and the rebuild is reported and
// written at once. Deleted players' files, and the files a renamed player left under the old
// name, are not in that folder any more, so a rebuild never brings them back.
//
// A save that fails (a read-only folder, a full disk) is reported and told to the player once
// (PlayerNotices.h) until a save works again; at exit it is told whatever was told before.
#pragma once
#include <string>
#include <vector>

#include "game/progress/Profile.h"

// The most players there can be (the profiles pop-up has a slot for each).
constexpr int MaxPlayers = 6;

class TPlayers {
public:
    std::vector<TProfilePtr> ProfilesList;  // the index's order, new players appended; at most
                                            // MaxPlayers
    TProfilePtr CurrProfile;                // the same object as the global Profile
    // Set once the players were read; until then SavePlayers writes nothing, so that leaving
    // during loading cannot replace the players' files with empty ones.
    int isProfilesRead = 0;
    // Set when the index could not be read and could not be set aside either: it is then never
    // written over.
    int isIndexKept = 0;
    // Set once a failed save was told to the player; cleared by a save that works.
    int isSaveFailureTold = 0;
    // Set while the file of the list on the disk is a damaged one whose copy is set aside: the
    // next list written replaces it without keeping it as the save before.
    int isIndexStale = 0;
    // The number of the list's last save (read as the highest the list and its copy carry).
    int ListSaveCount = 0;
    // What the list on the disk holds (ListText), as read whole or last written; "" when unknown.
    // A list that would hold the same is not written again.
    std::string SavedList;

    virtual ~TPlayers() = default;

    // The index path, a player's progress path, and the folder of deleted players' files.
    static std::string IndexPath();
    static std::string ProfilePath(const std::string& id);
    static std::string DeletedFolder();
    // The name of the player made on a first run ("Player" here).
    virtual std::string StartPlayerName();
    // Makes the start player, makes the first player current and saves everything (first run).
    virtual int InitProfiles();
    // A new player named StartPlayerName, appended and made current.
    virtual int CreateStartProfile();
    // The first player whose Id equals id exactly; when none does, the first player.
    virtual int SetCurrProfileById(const std::string& id);
    // CurrProfile and the global Profile become profile.
    virtual int SetCurrProfile(const TProfilePtr& profile);
    // Writes every player's files, then the index, then moves the files a renamed player left
    // under the old name to DeletedFolder() (the last save under the old name is the save
    // before under the new one). Nothing before the players were read; an index that would hold
    // what the one on the disk holds is not written again. When a
    // player's progress file cannot be written the index is left as it was, so that it never
    // names a file that is not there. Returns 1 when everything was written; else 0, after an
    // error line and TellSaveFailed.
    virtual int SavePlayers();
    // Tells the player that a save failed and why: once while the game runs (until a save works
    // again), and at exit (the saves of the save-at-end list) always, there saying whether the
    // players' progress was saved (only the list failed) or not.
    virtual void TellSaveFailed(int error, bool progressSaved = false);
    // Reads the index and every player. A missing index with no progress file beside it is a
    // first run. A damaged index is set aside and reported; a missing or damaged one (or one
    // that lists nobody) is rebuilt from the progress files there are. Players beyond
    // MaxPlayers, a second player under an Id already listed, and a player whose name is too
    // long to name a file (only an edited or damaged file has one; it could never be saved) are
    // left out with a warning (their files stay as they are).
    virtual int ReadPlayers();
    // The players from the progress files of the folder, as many as there can be (those with the
    // most progress when there are more: the others are told, and their files stay), in the
    // order of the Ids given (a lost list's), then by Id; files that cannot be read are set aside
    // and skipped. Returns how many were found.
    virtual int RebuildProfilesList(const std::vector<std::string>& order = {});

    // The current player leaves the list and the player's files move to DeletedFolder()
    // (MoveToDeleted); the first player becomes current. Nothing when only one player is left.
    // Returns 1 when a player left.
    virtual int RemoveCurrentPlayer();
    // Moves every file of the Id (the Id, a ".", anything) from the players' folder into
    // DeletedFolder() as it is; files of an earlier player of that Id there are kept, the new
    // ones get ".2", ".3", ... appended. Returns how many moved.
    virtual int MoveToDeleted(const std::string& id);
    // The current player takes the name (trimmed); a new Id follows from it. Refused (after an
    // error line, returning 0) when the name is empty or another player's.
    virtual int RenameCurrentPlayer(const std::string& name);
    // A new player with the name (trimmed), appended and made current. Refused (after an error
    // line, returning 0) when the name is empty or another player's, or the list is full.
    virtual int AddPlayer(const std::string& name);
    // Every player's name in capitals, in list order.
    virtual std::vector<std::string> GetProfilesNamesList();
    // True when the name, trimmed and in capitals, is another player's (except the player
    // given). The last guard before a name is used: the name entry refuses such names already.
    virtual bool isNameTaken(const std::string& name, const TProfile* except);

private:
    // Appends a player read from the index or rebuilt, keeping to MaxPlayers and to one player
    // per Id. Returns false (after a warning) when it was left out.
    bool _addReadProfile(const TProfilePtr& profile, const std::string& from);
};
