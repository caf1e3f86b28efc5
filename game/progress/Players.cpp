#include "game/progress/Players.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <tuple>

#include "engine/data/BlockFile.h"
#include "engine/screen/Control.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/progress/PlayerNames.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/ProgressFile.h"
#include "game/progress/SaveFiles.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// The start player's name when none is given.
const char* const kStartPlayerName = "Player";

const char* const kProgressExt = ".AppProfile";
// Where the list of players carries the number of its save.
const char* const kListSaveNumber = "Settings::SaveCount";

// The longest Id that still names files (a file name holds at most 255 bytes, and the Id gets
// its extensions and the temporary files' ending). The name entry's 15 characters stay far
// below; only a name from an edited or damaged file comes near.
constexpr size_t kMaxIdLength = 200;

// The folder of the players' files, and the one below it where deleted players' files go.
std::string ProfilesFolder() { return AppDataFolder + "/Profiles"; }

// True for the write errors that mean the folder is the trouble: it cannot be written to, or it
// is missing.
bool IsFolderFault(int error) {
    return error == EROFS || error == EACCES || error == EPERM || error == ENOENT || error == ENOTDIR;
}

// A save failure in a player's words (with the folder, when that is the trouble, where there is
// room for it).
std::string FailureReason(int error, bool withFolder) {
    const std::string reason = WriteErrorText(error);
    return withFolder && IsFolderFault(error) ? reason + " (" + ProfilesFolder() + ")" : reason;
}

// What a list of players holds, but its checks and the number of its save: the same for a list
// built to be written and for that list read back.
std::string ListText(const TBlockFilePtr& root) {
    auto content = CreateBlockFile("");
    for (const auto& block : root->SubFiles) {
        if (!block || block->MyType != BF_BLOCK) continue;
        auto copy = CreateBlockFile(block->name, content);
        for (const auto& entry : block->SubFiles)
            if (entry && !(NamesEqual(block->name, "Settings") && NamesEqual(entry->name, "SaveCount")))
                copy->AddBlock(entry);
    }
    return ContentText(content);
}

}  // namespace

std::string TPlayers::DeletedFolder() { return ProfilesFolder() + "/Deleted"; }

std::string TPlayers::IndexPath() { return ProfilesFolder() + "/Profiles.dat"; }

std::string TPlayers::ProfilePath(const std::string& id) { return ProfilesFolder() + "/" + id + kProgressExt; }

std::string TPlayers::StartPlayerName() { return kStartPlayerName; }

int TPlayers::SetCurrProfile(const TProfilePtr& profile) {
    CurrProfile = profile;
    Profile = profile;
    return 0;
}

int TPlayers::SetCurrProfileById(const std::string& id) {
    for (const auto& profile : ProfilesList)
        if (profile->FileName == id) return SetCurrProfile(profile);
    if (!ProfilesList.empty()) SetCurrProfile(ProfilesList.front());
    return 0;
}

int TPlayers::CreateStartProfile() {
    auto profile = std::make_shared<TProfile>();
    std::string startName = PlayerName(StartPlayerName());
    if (startName.empty()) startName = kStartPlayerName;
    profile->SetName(startName);
    // A progress file left under this Id (an index lost or set aside) is read rather than
    // overwritten.
    if (FileType(ProfilePath(profile->FileName)) == 1) profile->Load(ProfilePath(profile->FileName));
    ProfilesList.push_back(profile);
    return SetCurrProfile(profile);
}

int TPlayers::InitProfiles() {
    CreateStartProfile();
    SetCurrProfile(ProfilesList.front());
    // Nothing was there to read: the start player is all there is.
    isProfilesRead = 1;
    return SavePlayers();
}

void TPlayers::TellSaveFailed(int error, bool progressSaved) {
    if (Control::isEnded) {
        // At exit the player cannot be asked to wait for another save: say what is lost.
        // (A dialog of the system: there is room for the folder.)
        const std::string reason = FailureReason(error, true);
        TellPlayer(progressSaved ? "Quiltora could not save the list of players before closing: " + reason +
                                       ". Every player's progress was saved; a player added or renamed since the "
                                       "last save may be missing from the list at the next start (the saves stay "
                                       "in the folder)."
                                 : "Quiltora could not save your progress before closing: " + reason +
                                       ". What you played since the last save is lost; everything saved before is "
                                       "kept.");
        return;
    }
    // Once until a save works again: every later save tries again by itself.
    if (isSaveFailureTold) return;
    isSaveFailureTold = 1;
    TellPlayer("Your progress could not be saved: " + FailureReason(error, false) +
               ". Everything saved before is kept, and the game tries again at each save.");
}

int TPlayers::SavePlayers() {
    if (!isProfilesRead) return 0;
    auto root = CreateBlockFile(IndexPath());
    auto settings = CreateBlockFile("Settings", root);
    if (CurrProfile) {
        AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    } else if (!ProfilesList.empty()) {
        SetCurrProfile(ProfilesList.front());
        AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    }
    bool allWritten = true;
    int error = 0;  // the first write that failed
    // The Ids whose files the players leave by a new name.
    std::vector<std::string> leftIds;
    for (const auto& profile : ProfilesList) {
        auto block = CreateBlockFile("Profile", root);
        const std::string filesId = profile->FilesId;
        profile->InitID();
        if (!filesId.empty() && filesId != profile->FileName) leftIds.push_back(filesId);
        AddStringToBlock(block, "Id", profile->FileName);
        AddStringToBlock(block, "Name", profile->name);
        profile->InitSave(ProfilesFolder());
        if (!profile->Save(ProfilePath(profile->FileName))) allWritten = false;
        if (error == 0) error = profile->LastSaveError;
    }
    // The current player's Id may have changed with its name just above.
    if (CurrProfile) AddStringToBlock(settings, "CurrProfile", CurrProfile->FileName);
    if (!allWritten) {
        Error("A player's progress couldn't be written (" + WriteErrorText(error) +
                  "); the list of players is left as it was",
              Here());
        TellSaveFailed(error, false);
        return 0;
    }
    // The list on the disk holds the same: nothing to write (so that a game that may not write
    // says nothing about a list it never had to write).
    const std::string listText = ListText(root);
    if (listText == SavedList && FileType(IndexPath()) == 1) {
        // (The save before is the same list: copied where there is none good. Quietly: the list
        // on the disk is whole and stays, so a copy that cannot be made costs nothing.)
        if (!ReadCheckedFile(IndexPath() + ".bak").good()) CopyFile(IndexPath(), IndexPath() + ".bak");
        isSaveFailureTold = 0;
        return 1;
    }
    // A list that could not be read nor set aside when it was read is never written over.
    if (isIndexKept != 0 && FileType(IndexPath()) == 1) {
        if (SetFileAside(IndexPath()).empty()) {
            const int kept = LastWriteError() != 0 ? LastWriteError() : EIO;
            Error("The unreadable list of players " + IndexPath() + " can't be set aside and is not written over",
                  Here());
            TellSaveFailed(error != 0 ? error : kept, error == 0);
            return 0;
        }
    }
    isIndexKept = 0;
    // (A damaged list, its copy aside, is no save before: the one there stays.)
    if (!isIndexStale) KeepPrevious(IndexPath(), IndexPath() + ".bak", kListSaveNumber);
    AddIntToBlock(settings, "SaveCount", ListSaveCount + 1);
    AddContentChecks(root, true);
    // (Every player's progress was written: only the list can fail from here.)
    const bool progressSaved = error == 0;
    if (!SaveBlockFile(root) && error == 0) error = LastWriteError();
    if (error == 0) {
        ++ListSaveCount;
        SavedList = listText;
        isIndexStale = 0;
    }
    if (error != 0) {
        // A level in progress or the list of players that could not be written.
        Error("The players' files couldn't all be written (" + WriteErrorText(error) + ")", Here());
        TellSaveFailed(error, progressSaved);
        return 0;
    }
    // The list names the players by their new names now: the files of their old ones go where a
    // deleted player's go, so that no list rebuilt from the files brings an old name back. (An Id
    // that a player of the list has again keeps its files.)
    for (const std::string& id : leftIds) {
        bool used = false;
        for (const auto& profile : ProfilesList) used = used || profile->FileName == id;
        if (!used) MoveToDeleted(id);
    }
    isSaveFailureTold = 0;
    return 1;
}

bool TPlayers::_addReadProfile(const TProfilePtr& profile, const std::string& from) {
    for (const auto& other : ProfilesList) {
        if (other->FileName == profile->FileName) {
            Warning("'" + profile->name + "' of " + from + " is listed already; left out", Here());
            return false;
        }
    }
    if (static_cast<int>(ProfilesList.size()) >= MaxPlayers) {
        Warning("There are slots for " + std::to_string(MaxPlayers) + " players only; '" + profile->name + "' of " +
                    from + " is left out (the files stay as they are)",
                Here());
        return false;
    }
    ProfilesList.push_back(profile);
    return true;
}

int TPlayers::RebuildProfilesList(const std::vector<std::string>& order) {
    const std::string folder = ProfilesFolder();
    // Every progress file there, with what it says of its player, read without touching it: the
    // players that make the list are read in full below.
    struct Found {
        std::string file, name;
        int passed = 0, level = 0, score = 0;
        int64_t time = 0;
    };
    std::vector<Found> found;
    for (const std::string& file : ReadDir(folder)) {
        const std::string path = folder + "/" + file;
        if (!EndsWith(file, kProgressExt) || file.size() <= std::string(kProgressExt).size() || FileType(path) != 1)
            continue;
        const CheckedFile read = ReadCheckedFile(path);
        TProfile peek;
        for (const char* block : {"Data", "Levels"}) ReadProgressBlock(peek, read.root, block);
        found.push_back({file, peek.name, peek.Game_CountPlayedLevels(), peek.Level, peek.Score, FileTime(path)});
    }
    // More players than slots (players renamed or deleted by an earlier build leave their files
    // behind): the ones with the most progress make the list, the newest first among equals.
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.passed, a.level, a.score, a.time) > std::tie(b.passed, b.level, b.score, b.time);
    });

    std::vector<TProfilePtr> players;
    std::vector<std::string> leftOut;
    for (const Found& f : found) {
        if (static_cast<int>(players.size()) >= MaxPlayers) {
            Warning("There are slots for " + std::to_string(MaxPlayers) + " players only; " + f.file +
                        " is left out (it stays where it is)",
                    Here());
            if (!f.name.empty()) leftOut.push_back(UpperUnicode(f.name));
            continue;
        }
        auto profile = std::make_shared<TProfile>();
        // The file's own name is the player's; a damaged file was set aside and salvaged (or
        // restored from its previous save), and one of which nothing could be read is left out.
        profile->Load(folder + "/" + f.file);
        if (profile->name.empty()) {
            // No save will ever be written in its place: it goes, its copy set aside.
            for (const std::string& stale : profile->StaleFiles)
                if (std::find(profile->KeptFiles.begin(), profile->KeptFiles.end(), stale) == profile->KeptFiles.end())
                    DeleteFile(stale);
            continue;
        }
        profile->InitID();
        if (profile->FileName.size() > kMaxIdLength) {
            Warning(f.file + " names its player with a name too long to name a file; left out", Here());
            continue;
        }
        bool listed = false;
        for (const auto& other : players) listed = listed || other->FileName == profile->FileName;
        if (listed) {
            Warning(f.file + " names a player listed already; left out", Here());
            continue;
        }
        players.push_back(profile);
    }
    // The order of the list that was lost, where its Ids still name players (a player whose Id
    // there was damaged takes the place of an Id that names nobody), then the others by Id.
    std::sort(players.begin(), players.end(),
              [](const TProfilePtr& a, const TProfilePtr& b) { return a->FileName < b->FileName; });
    std::vector<TProfilePtr> slots(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        for (auto& p : players)
            if (p && p->FileName == order[k]) {
                slots[k] = p;
                p = nullptr;
                break;
            }
    for (auto& p : players) {
        if (!p) continue;
        auto empty = std::find(slots.begin(), slots.end(), nullptr);
        if (empty != slots.end())
            *empty = p;
        else
            slots.push_back(p);
    }
    ProfilesList.clear();
    for (const auto& p : slots)
        if (p) ProfilesList.push_back(p);

    std::string names, shown;
    for (const auto& profile : ProfilesList) {
        names += (names.empty() ? "" : ", ") + profile->name;
        shown += (shown.empty() ? "" : ", ") + UpperUnicode(profile->name);
    }
    if (!ProfilesList.empty()) {
        Error("The list of players was rebuilt from " + std::to_string(ProfilesList.size()) +
                  " progress file(s) in " + folder + ": " + names,
              Here());
        std::string text =
            "The list of players was lost or damaged, and was made again from the players' saves: " + shown + ".";
        if (!leftOut.empty()) {
            std::string others;
            for (size_t k = 0; k < leftOut.size(); ++k)
                others += (k == 0 ? "" : k + 1 == leftOut.size() ? " and " : ", ") + leftOut[k];
            text += " There is room for " + std::to_string(MaxPlayers) + " players: " + others +
                    (leftOut.size() == 1 ? " was" : " were") + " left out (the saves stay in the folder).";
        }
        TellPlayer(text);
    }
    return static_cast<int>(ProfilesList.size());
}

int TPlayers::ReadPlayers() {
    const std::string indexPath = IndexPath();
    std::string currId;
    ProfilesList.clear();
    bool rebuilt = false;
    const CheckedFile listed = ReadCheckedFile(indexPath);
    const CheckedFile before = ReadCheckedFile(indexPath + ".bak");
    // A copy of the list that holds a newer save than the list itself is the newer list.
    const int listNumber = TrustedSaveNumber(listed, kListSaveNumber);
    const int copyNumber = TrustedSaveNumber(before, kListSaveNumber);
    const bool copyNewer = listNumber >= 0 && copyNumber > listNumber && before.good();
    ListSaveCount = std::max({listNumber, copyNumber, 0});
    SavedList.clear();
    isIndexStale = 0;
    if (copyNewer) {
        Error("The copy " + indexPath + ".bak holds a newer list of players (" + std::to_string(copyNumber) +
                  ") than " + indexPath + " (" + std::to_string(listNumber) + "); the newer is read",
              Here());
        TellPlayer("The backup copy of the list of players was newer than the list itself: the newer list was taken.");
    }
    const CheckedFile& read = copyNewer ? before : listed;
    const auto& index = read.root;
    if (!read.good() || GetBlockFilesList(index, "Settings").empty()) {
        // No list, or a damaged one: the players come from their own files, each of which names
        // its player (none at all: a first run). Their order and who was playing come from the
        // list where it still names them, else from the list of the save before.
        // (Every block of a list with checks holds its own: only the file's check failed.)
        bool blocksGood = read.found && read.checked;
        for (const auto& block : index->SubFiles)
            if (block && block->MyType == BF_BLOCK) blocksGood = blocksGood && BlockCheck(block) == CheckState::Holds;
        const bool fromList = blocksGood || !before.good();
        std::vector<std::string> order;
        for (const auto& block : GetBlockFilesList(fromList ? index : before.root, "Profile"))
            order.push_back(GetBFString(block, "Id"));
        const auto settings = GetBlockFileNO_NEW(index, "Settings");
        const bool settingsGood = settings && read.checked && BlockCheck(settings) == CheckState::Holds;
        currId = GetBFString(settingsGood || !before.good() ? index : before.root, "Settings::CurrProfile");
        if (read.found) {
            // Copied aside; the damaged list stays in its place until the new one is written.
            Error("The list of players " + indexPath + " is damaged", Here());
            isIndexStale = 1;
            if (SetFileAside(indexPath).empty()) isIndexKept = 1;
        }
        if (RebuildProfilesList(order) == 0) return InitProfiles();
        rebuilt = true;
    } else {
        currId = GetBFString(index, "Settings::CurrProfile");
        if (!copyNewer) SavedList = ListText(index);
        // The Ids of every player listed, and of every name taken from a progress file.
        std::set<std::string> takenIds;
        for (const auto& block : GetBlockFilesList(index, "Profile")) {
            TProfile listed;
            listed.SetName(GetBFString(block, "Name"));
            takenIds.insert(listed.FileName);
        }
        for (const auto& block : GetBlockFilesList(index, "Profile")) {
            auto profile = std::make_shared<TProfile>();
            profile->SetName(GetBFString(block, "Name"));
            // The player's files are named by the Id derived from the name: the index's own
            // "Id" is a text anyone may have edited, and is never used as a path.
            const std::string listedId = GetBFString(block, "Id");
            if (listedId != profile->FileName)
                Warning("The list of players gives '" + profile->name + "' the Id '" + listedId + "'; reading " +
                            profile->FileName + kProgressExt,
                        Here());
            if (profile->FileName.empty()) {
                Warning("A player without a name in the list of players is left out", Here());
                continue;
            }
            if (profile->FileName.size() > kMaxIdLength) {
                Warning("A player of the list of players whose name is too long to name a file is left out",
                        Here());
                continue;
            }
            // A player deleted after this list was written: the files went to the deleted
            // players' folder, and the player stays deleted.
            if (FileType(ProfilePath(profile->FileName)) == 0 &&
                FileType(DeletedFolder() + "/" + profile->FileName + kProgressExt) == 1) {
                Print("'" + profile->name + "' was deleted after " + indexPath + " was written; left out");
                continue;
            }
            // Checked before the file is read, so that a player left out touches no file.
            if (_addReadProfile(profile, indexPath)) {
                const std::string listedName = profile->name;
                const std::string file = ProfilePath(profile->FileName);
                profile->Load(file);
                // The progress file names its player, and a new name moves the player to the
                // Id of that name at the next save. A name whose Id another player has (or
                // takes) would put this player's progress over that player's: the list's
                // name, which names this file, is kept then.
                TProfile named;
                named.SetName(profile->name);
                if (named.FileName != profile->FileName) {
                    if (named.FileName.size() > kMaxIdLength) {
                        Warning(file + " names its player with a name too long to name a file; the name '" +
                                    listedName + "' is kept",
                                Here());
                        profile->SetName(listedName);
                    } else if (takenIds.count(named.FileName) != 0) {
                        Warning(file + " names its player '" + profile->name +
                                    "', another player's name; the name '" + listedName + "' is kept",
                                Here());
                        profile->SetName(listedName);
                    } else {
                        takenIds.insert(named.FileName);
                    }
                }
            }
        }
        if (ProfilesList.empty()) rebuilt = RebuildProfilesList() > 0;
    }
    if (ProfilesList.empty()) CreateStartProfile();
    SetCurrProfileById(currId);
    isProfilesRead = 1;
    // What was read is not what the files hold (a file damaged, missing or restored, a save cut
    // short, the list rebuilt): the repair is written at once, before the first screen, so that
    // a game ended before its next save does not find the damage again.
    bool repair = rebuilt || copyNewer;
    for (const auto& profile : ProfilesList) repair = repair || profile->SavedState.empty();
    if (repair) SavePlayers();
    return 0;
}

int TPlayers::RemoveCurrentPlayer() {
    if (ProfilesList.size() <= 1) return 0;  // the list never becomes empty
    const TProfilePtr removed = CurrProfile;
    auto it = std::find(ProfilesList.begin(), ProfilesList.end(), CurrProfile);
    if (it != ProfilesList.end()) ProfilesList.erase(it);
    SetCurrProfile(ProfilesList.front());
    if (removed) MoveToDeleted(removed->FilesId);
    return 1;
}

int TPlayers::MoveToDeleted(const std::string& id) {
    if (id.empty()) return 0;
    const std::string folder = ProfilesFolder();
    // The player's files: the Id, a ".", anything (another Id never continues with a ".").
    std::vector<std::string> files;
    for (const std::string& file : ReadDir(folder))
        if (StartsWith(file, id + ".") && FileType(folder + "/" + file) == 1) files.push_back(file);
    if (files.empty()) return 0;
    const std::string deleted = DeletedFolder();
    if (FileType(deleted) != 2 && !CreateDir(deleted, false)) {
        Error("Couldn't make the folder " + deleted + "; the deleted player's files stay in " + folder, Here());
        return 0;
    }
    // A player deleted before under the same Id keeps their files: these take a number.
    std::string suffix;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (const std::string& file : files) taken = taken || FileType(deleted + "/" + file + suffix) != 0;
        if (!taken || n > 1000) break;
        suffix = "." + std::to_string(n);
    }
    int moved = 0;
    for (const std::string& file : files) {
        if (RenameFile(folder + "/" + file, deleted + "/" + file + suffix)) {
            ++moved;
        } else {
            Error("Couldn't move the deleted player's file " + folder + "/" + file + " to " + deleted + " (" +
                      WriteErrorText(LastWriteError()) + ")",
                  Here());
        }
    }
    return moved;
}

bool TPlayers::isNameTaken(const std::string& name, const TProfile* except) {
    std::vector<std::string> others;
    for (const auto& profile : ProfilesList)
        if (profile.get() != except) others.push_back(profile->name);
    return isPlayerNameTaken(name, others);
}

int TPlayers::RenameCurrentPlayer(const std::string& text) {
    if (!CurrProfile) return 0;
    const std::string name = PlayerName(text);
    if (name.empty() || isNameTaken(name, CurrProfile.get())) {
        Error("The name '" + name + "' can't be given: it is empty or another player's", Here());
        return 0;
    }
    CurrProfile->SetName(name);
    return 1;
}

int TPlayers::AddPlayer(const std::string& text) {
    const std::string name = PlayerName(text);
    if (name.empty() || isNameTaken(name, nullptr) || static_cast<int>(ProfilesList.size()) >= MaxPlayers) {
        Error("No new player '" + name + "': the name is empty or another player's, or every slot is taken", Here());
        return 0;
    }
    auto profile = std::make_shared<TProfile>();
    profile->SetName(name);
    ProfilesList.push_back(profile);
    SetCurrProfile(profile);
    return 1;
}

std::vector<std::string> TPlayers::GetProfilesNamesList() {
    std::vector<std::string> names;
    for (const auto& profile : ProfilesList) names.push_back(UpperUnicode(profile->name));
    return names;
}
