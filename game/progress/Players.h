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
// is read as the newer one and never written over by the older (and a newer list taken never
// drops a player whose files are in the folder: they are added back). A file that could not be
// read is never written over: it is set aside (copied with ".bad", SaveFiles.h) before its
// repair takes its place or, when it cannot be copied, left alone.
//
// Whose files are whose. A list entry's player is read from the files there are: those of the
// Id of its name, else of the list's "Id" (only when it is a plain Id: digits and "-"), else of
// the Id an earlier build gave the name; the name is taken from inside them. A player whose files
// are under another Id than the name's (renamed, or named with characters that draw nothing by
// an earlier build) is moved to the name's Id at the next save, so that no player's files are
// ever written over another's, whatever renames, new players and deletions came before:
//   1. the player's new save is written under the parking Id "0-" + the new Id (no name gives
//      an Id that begins with 0), its save before being the last save under the old Id;
//   2. the list names the parking Id, with "RenamedFrom" the old Id: the rename is made;
//   3. the old Id's files go where deleted players' go; files under the new Id that are not the
//      player's (an earlier player's) too, and the player is told;
//   4. the parking files are copied to the new Id, the list names it, and the parking files go.
// A start after a kill finishes a rename the list names (steps 3 and 4), and sets aside the
// parking files of one it does not. A new player's Id may hold an earlier player's files (a
// player left out of a rebuilt list, or deleted by an earlier build): they are set aside the
// same way, never taken, and the player told.
//
// A missing or damaged index does not lose the players: the list is rebuilt from the progress
// files in the folder (each holds its player's name), in the order and with the current player
// that its blocks tell where their checks hold (else the blocks of its ".bak"), and the rebuild is
// reported and written at once. Deleted players' files, and the files a renamed player left under
// the old name, are not in that folder any more, so a rebuild never brings them back.
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
    // The bytes of the list on the disk, as read or last written ("" when unknown): a list that
    // would be written exactly so is not written again.
    std::string SavedListBytes;
    // What the list read holds, but its checks and number ("" when it was not read whole): a list
    // that holds the same is only written back (an earlier build's, one written by hand), and its
    // failure is not told.
    std::string ReadList;

    virtual ~TPlayers() = default;

    // The index path, a player's progress path, and the folder of deleted players' files.
    static std::string IndexPath();
    static std::string ProfilePath(const std::string& id);
    static std::string DeletedFolder();
    // The name of the player made on a first run ("PLAYER" here).
    virtual std::string StartPlayerName();
    // Makes the start player, makes the first player current and saves everything (first run).
    virtual int InitProfiles();
    // A new player named StartPlayerName, appended and made current.
    virtual int CreateStartProfile();
    // The first player whose Id equals id exactly; when none does, the first player.
    virtual int SetCurrProfileById(const std::string& id);
    // CurrProfile and the global Profile become profile.
    virtual int SetCurrProfile(const TProfilePtr& profile);
    // Writes every player's files, then the index: a player whose files are under another Id
    // than the name's is moved there first (see above); a new player's Id that holds an earlier
    // player's files has them set aside. Nothing before the players were read; a file that would
    // be written as it is on the disk is not written again. When a player's progress file cannot
    // be written the index is left as it was, so that it never names a file that is not there.
    // Returns 1 when everything was written; else 0, after an error line and TellSaveFailed.
    virtual int SavePlayers();
    // Tells the player that a save failed and why: once while the game runs (until a save works
    // again), and at exit (the saves of the save-at-end list) always, there saying whether the
    // players' progress was saved (only the list failed) or not.
    virtual void TellSaveFailed(int error, bool progressSaved = false);
    // Reads the index and every player (whose files are found as said above). A missing index
    // with no progress file beside it is a first run. A damaged index is set aside and reported;
    // a missing or damaged one (or one that lists nobody) is rebuilt from the progress files
    // there are. Players beyond MaxPlayers, a second player under an Id already listed, and a
    // player whose name is too long to name a file (only an edited or damaged file has one; it
    // could never be saved) are left out with a warning (their files stay as they are). Names of
    // an earlier build that held characters that draw nothing are told, in one line, as carried
    // to the names as shown. Whatever is not as the files hold it is written at once.
    virtual int ReadPlayers();
    // The players from the progress files of the folder, as many as there can be (those with the
    // most progress when there are more: the others are told, and their files stay), in the
    // order of the Ids given (a lost list's; "" a place whose Id is lost), then by Id; files that
    // cannot be read are set aside and skipped. Returns how many were found.
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
    // Set while reading when the list names a player by other files than the player's.
    bool isListIdStale = false;
    // Appends a player read from the index, keeping to MaxPlayers and to one player per Id and
    // per files. Returns false (after a warning) when it was left out.
    bool _addReadProfile(const TProfilePtr& profile, const std::string& filesId, const std::string& from);
    // Reads the players the index names (whole); the names carried from an earlier build's go to
    // carried. False when none was read.
    bool _readListed(const TBlockFilePtr& index, std::vector<std::string>& carried);
    // The players of progress files in the folder that no listed player reads, up to room (those
    // with the most progress; the names of the others in leftOut), each read.
    std::vector<TProfilePtr> _playersInFolder(size_t room, std::vector<std::string>& leftOut);
    // The list as written: with saveNumber (not negative) its number and checks; savedOnly: only
    // the players whose files are on the disk (none added since the last save).
    TBlockFilePtr _listRoot(int saveNumber, bool savedOnly = false);
    // Writes the list unless the disk holds exactly it (keepPrevious: the list there becomes its
    // save before; savedOnly as for _listRoot). An errno, 0 when written or nothing was to be.
    int _writeList(bool keepPrevious, bool savedOnly = false);
    // Steps 1 to 4 of a move to the name's Id (above) for the players given. An errno, 0 when done.
    int _finishRenames(std::vector<TProfilePtr>& renamed);
    // Files under the player's name's Id that are not the player's go where deleted players' go
    // (told); false when they cannot.
    bool _setAsideUnder(const TProfilePtr& profile);
    // Every file of the Id is a copy of the other Id's file of the same ending (and there is one).
    bool _isCopyOf(const std::string& id, const std::string& other);
    // Parking files no player reads: copies are removed, the rest go where deleted players' go.
    void _clearParking();
};
