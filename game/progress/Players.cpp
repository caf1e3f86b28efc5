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
const char* const kStartPlayerName = "PLAYER";

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

// A renamed player's new save waits under the Id of the new name with this before it until the
// list names it, and is then copied to the new name's Id. No name gives such an Id: the character
// of code 0 is never part of a name.
const char* const kParkingPrefix = "0-";

bool IsParkingId(const std::string& id) { return StartsWith(id, kParkingPrefix); }
std::string ParkingId(const std::string& id) { return kParkingPrefix + id; }

// A text that can name a player's files as it is: groups of digits joined by single "-", short
// enough for a file name. (The list's own "Id" is a text anyone may have edited: only such a one
// is ever part of a path.)
bool IsPlainId(const std::string& id) {
    if (id.empty() || id.size() > kMaxIdLength) return false;
    bool digit = false;
    for (char c : id) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '-' && digit) digit = false;
        else return false;
    }
    return digit;
}

// The Id an earlier build gave a name: trimmed of characters of code 32 or less, nothing else
// taken out.
std::string EarlierId(const std::string& name) {
    size_t begin = 0, end = name.size();
    while (begin < end && static_cast<unsigned char>(name[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(name[end - 1]) <= 32) --end;
    return PlayerIdOf(name.substr(begin, end - begin));
}

// The files of an Id in the players' folder: the Id, a ".", anything (another Id never continues
// with a ".").
std::vector<std::string> FilesOf(const std::string& id) {
    std::vector<std::string> files;
    if (id.empty()) return files;
    const std::string folder = ProfilesFolder();
    for (const std::string& file : ReadDir(folder))
        if (StartsWith(file, id + ".") && FileType(folder + "/" + file) == 1) files.push_back(file);
    return files;
}

// There is a progress file of the Id, or its copy of the save before.
bool HasProgress(const std::string& id) {
    const std::string path = TPlayers::ProfilePath(id);
    return FileType(path) == 1 || FileType(path + ".bak") == 1;
}

// The name a progress file gives its player, in the form names are compared ("" when none reads).
std::string NameInFile(const std::string& id) {
    TProfile peek;
    ReadProgressBlock(peek, ReadCheckedFile(TPlayers::ProfilePath(id)).root, "Data");
    return PlayerNameKey(peek.name);
}

// Names in a player's words: "A", "A and B", "A, B and C".
std::string NamesInWords(const std::vector<std::string>& names) {
    std::string text;
    for (size_t k = 0; k < names.size(); ++k) text += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    return text;
}

// The players left out for want of room, in a player's words (a sentence with a space before it).
std::string LeftOutInWords(const std::vector<std::string>& leftOut) {
    return " There is room for " + std::to_string(MaxPlayers) + " players: " + NamesInWords(leftOut) +
           (leftOut.size() == 1 ? " was" : " were") + " left out (the saves stay in the folder).";
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
        if (profile->FileName == id || (!profile->FilesId.empty() && profile->FilesId == id))
            return SetCurrProfile(profile);
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

TBlockFilePtr TPlayers::_listRoot(int saveNumber, bool savedOnly) {
    auto root = CreateBlockFile(IndexPath());
    auto settings = CreateBlockFile("Settings", root);
    // (The current player by the Id of the files that hold its save.)
    if (CurrProfile && !(savedOnly && CurrProfile->FilesId.empty()))
        AddStringToBlock(settings, "CurrProfile",
                         CurrProfile->FilesId.empty() ? CurrProfile->FileName : CurrProfile->FilesId);
    for (const auto& profile : ProfilesList) {
        if (savedOnly && profile->FilesId.empty()) continue;
        auto block = CreateBlockFile("Profile", root);
        AddStringToBlock(block, "Id", profile->FilesId.empty() ? profile->FileName : profile->FilesId);
        AddStringToBlock(block, "Name", profile->name);
        // A rename not finished: where the files of the old name are, which go once it is.
        if (!profile->RenamedFromId.empty()) AddStringToBlock(block, "RenamedFrom", profile->RenamedFromId);
    }
    if (saveNumber < 0) return root;
    AddIntToBlock(settings, "SaveCount", saveNumber);
    AddContentChecks(root, true);
    return root;
}

int TPlayers::_writeList(bool keepPrevious, bool savedOnly) {
    const auto content = _listRoot(-1, savedOnly);
    const std::string listText = ListText(content);
    // The list on the disk is exactly this one: nothing to write (so that a game that may not
    // write says nothing about a list it never had to write).
    const std::string asIs = EncodeBlockFileText(BlockFileToText(_listRoot(ListSaveCount, savedOnly)));
    if (asIs == SavedListBytes && FileType(IndexPath()) == 1) {
        // (The save before is the same list: copied where there is none good. Quietly: the list
        // on the disk is whole and stays, so a copy that cannot be made costs nothing.)
        if (!ReadCheckedFile(IndexPath() + ".bak").good()) CopyFile(IndexPath(), IndexPath() + ".bak");
        return 0;
    }
    // The list as it was read, on the disk in another form (an earlier build's, one written by
    // hand): written back, but a failure loses nothing and is not told.
    const bool formOnly = !ReadList.empty() && listText == ReadList;
    if (formOnly && isWriteRefused(IndexPath())) return 0;
    // A list that could not be read nor set aside when it was read is never written over.
    if (isIndexKept != 0 && FileType(IndexPath()) == 1) {
        if (SetFileAside(IndexPath()).empty()) {
            Error("The unreadable list of players " + IndexPath() + " can't be set aside and is not written over",
                  Here());
            return LastWriteError() != 0 ? LastWriteError() : EIO;
        }
    }
    isIndexKept = 0;
    // (A damaged list, its copy aside, is no save before: the one there stays.)
    if (!isIndexStale && keepPrevious) KeepPrevious(IndexPath(), IndexPath() + ".bak", kListSaveNumber);
    const auto root = _listRoot(NextSaveNumber(ListSaveCount), savedOnly);
    if (!SaveBlockFile(root)) return formOnly ? 0 : LastWriteError();
    ListSaveCount = NextSaveNumber(ListSaveCount);
    SavedListBytes = EncodeBlockFileText(BlockFileToText(root));
    ReadList = listText;
    isIndexStale = 0;
    return 0;
}

bool TPlayers::_setAsideUnder(const TProfilePtr& profile) {
    const std::string id = profile->FileName;
    if (FilesOf(id).empty()) return true;
    // Copies of the player's own new save, left by a rename cut short, are no one else's.
    if (_isCopyOf(id, ParkingId(id))) {
        for (const std::string& file : FilesOf(id)) DeleteFile(ProfilesFolder() + "/" + file);
        return true;
    }
    if (MoveToDeleted(id) == 0 || !FilesOf(id).empty()) {
        Error("The files under " + id + " are an earlier player's and could not be set aside; " + profile->name +
                  " is not saved over them",
              Here());
        return false;
    }
    const std::string who = UpperUnicode(profile->name);
    Error("Files of an earlier player under " + id + " were moved to " + DeletedFolder() + "; " + profile->name +
              " does not take them",
          Here());
    TellPlayer("Saves of an earlier player named " + who +
               " were found and moved to the folder of deleted players' "
               "saves; " +
               who + " keeps none of them.");
    return true;
}

int TPlayers::_finishRenames(std::vector<TProfilePtr>& renamed) {
    // The new saves, each under its parking Id with its own save before (the last save under the
    // old name): until the list names them, the old list and files stand as they were.
    for (const auto& p : renamed) {
        const std::string parking = ParkingId(p->FileName);
        if (p->FilesId != parking) {
            if (!IsParkingId(p->FilesId) && p->RenamedFromId.empty()) p->RenamedFromId = p->FilesId;
            // (Left by a rename that never reached the list: no list names them.)
            for (const std::string& file : FilesOf(parking)) DeleteFile(ProfilesFolder() + "/" + file);
        }
        if (!p->Save(ProfilePath(parking))) return p->LastSaveError != 0 ? p->LastSaveError : EIO;
    }
    // The list names them: from here on the renames are made, and a start after a kill finishes
    // them. A player added since the last save is left out of it: their name's Id may still hold
    // the files of a renamed player (moved below), which they must never be read from.
    if (const int error = _writeList(true, true)) return error;
    // The old names' files go where deleted players' go, then whatever else lies under a new
    // name (an earlier player's) is set aside, and the new saves are copied there.
    for (const auto& p : renamed) {
        bool named = false;
        for (const auto& other : ProfilesList) named = named || other->FilesId == p->RenamedFromId;
        if (!p->RenamedFromId.empty() && !named) MoveToDeleted(p->RenamedFromId);
        if (FilesOf(p->RenamedFromId).empty() || named) p->RenamedFromId.clear();
    }
    for (const auto& p : renamed) {
        if (!_setAsideUnder(p)) return EEXIST;
        const std::string parking = ParkingId(p->FileName);
        std::vector<std::string> files = FilesOf(parking);
        // (The progress file last: the others are in place when it is.)
        std::stable_partition(files.begin(), files.end(),
                              [&](const std::string& f) { return f != parking + kProgressExt; });
        for (const std::string& file : files) {
            std::string bytes;
            const std::string to = ProfilesFolder() + "/" + p->FileName + file.substr(parking.size());
            if (!LoadBytes(ProfilesFolder() + "/" + file, bytes) || !SaveBytes(to, bytes)) {
                Error("Couldn't copy " + file + " to " + to, Here());
                return LastWriteError() != 0 ? LastWriteError() : EIO;
            }
        }
        p->FilesMovedTo(ProfilePath(p->FileName));
    }
    return 0;
}

bool TPlayers::_isCopyOf(const std::string& id, const std::string& other) {
    const std::vector<std::string> files = FilesOf(id);
    if (files.empty()) return false;
    for (const std::string& file : files) {
        std::string bytes, theirs;
        const std::string twin = other + file.substr(id.size());
        if (!LoadBytes(ProfilesFolder() + "/" + file, bytes) || !LoadBytes(ProfilesFolder() + "/" + twin, theirs) ||
            bytes != theirs)
            return false;
    }
    return true;
}

void TPlayers::_clearParking() {
    const std::string folder = ProfilesFolder();
    std::set<std::string> ids;
    for (const std::string& file : ReadDir(folder))
        if (IsParkingId(file) && file.find('.') != std::string::npos) ids.insert(file.substr(0, file.find('.')));
    for (const std::string& id : ids) {
        bool named = false;
        for (const auto& p : ProfilesList) named = named || p->FilesId == id;
        if (named) continue;
        // Copied to the name's Id already: a copy. Else a rename cut short before the list named
        // it, whose old name stands: kept where deleted players' files go.
        if (_isCopyOf(id, id.substr(std::string(kParkingPrefix).size()))) {
            for (const std::string& file : FilesOf(id)) DeleteFile(folder + "/" + file);
        } else {
            MoveToDeleted(id);
        }
    }
}

int TPlayers::SavePlayers() {
    if (!isProfilesRead) return 0;
    if (!CurrProfile && !ProfilesList.empty()) SetCurrProfile(ProfilesList.front());
    for (const auto& profile : ProfilesList) {
        profile->InitID();
        profile->InitSave(ProfilesFolder());
    }
    int error = 0;
    // Players whose files are under another Id than their name's (renamed, or read from an Id
    // that is not their name's): moved there by way of their parking Ids, so that at every moment
    // the list on the disk names every player's own files, and nobody's files are ever written
    // over another's.
    std::vector<TProfilePtr> renamed;
    for (const auto& profile : ProfilesList)
        if (!profile->FilesId.empty() && profile->FilesId != profile->FileName) renamed.push_back(profile);
    if (!renamed.empty()) error = _finishRenames(renamed);
    // A new player's Id may hold an earlier player's files: set aside, never taken.
    for (const auto& profile : ProfilesList)
        if (error == 0 && profile->FilesId.empty() && !_setAsideUnder(profile)) error = EEXIST;
    // Every other player's save (a renamed one's is on the disk already).
    for (const auto& profile : ProfilesList) {
        if (error != 0) break;
        if (!profile->FilesId.empty() && profile->FilesId != profile->FileName) continue;
        if (!profile->Save(ProfilePath(profile->FileName)))
            error = profile->LastSaveError != 0 ? profile->LastSaveError : EIO;
    }
    if (error != 0) {
        Error("A player's progress couldn't be written (" + WriteErrorText(error) +
                  "); the list of players names the files there are",
              Here());
        TellSaveFailed(error, false);
        return 0;
    }
    // (Every player's progress was written: only the list can fail from here. The list of the
    // renames above is no save before: the one before them stays.)
    error = _writeList(renamed.empty());
    if (error != 0) {
        Error("The list of players couldn't be written (" + WriteErrorText(error) + ")", Here());
        TellSaveFailed(error, true);
        return 0;
    }
    // The parking Ids the list no longer names: copies.
    _clearParking();
    isSaveFailureTold = 0;
    return 1;
}

bool TPlayers::_addReadProfile(const TProfilePtr& profile, const std::string& filesId, const std::string& from) {
    for (const auto& other : ProfilesList) {
        if (other->FileName == profile->FileName || other->FilesId == filesId) {
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

std::vector<TProfilePtr> TPlayers::_playersInFolder(size_t room, std::vector<std::string>& leftOut) {
    const std::string folder = ProfilesFolder();
    // Every progress file there that no player of the list reads, with what it says of its
    // player, read without touching it: the players that make the list are read in full below.
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
        const std::string id = StripExt(file);
        bool listed = false;
        for (const auto& p : ProfilesList) listed = listed || p->FilesId == id;
        // (A renamed player's new save under its parking Id, once copied to the new name's, is a
        // copy.)
        if (listed || (IsParkingId(id) && HasProgress(id.substr(std::string(kParkingPrefix).size())))) continue;
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
    for (const Found& f : found) {
        if (players.size() >= room) {
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
        for (const auto& other : ProfilesList) listed = listed || other->FileName == profile->FileName;
        if (listed) {
            Warning(f.file + " names a player listed already; left out", Here());
            continue;
        }
        players.push_back(profile);
    }
    return players;
}

int TPlayers::RebuildProfilesList(const std::vector<std::string>& order) {
    ProfilesList.clear();
    std::vector<std::string> leftOut;
    std::vector<TProfilePtr> players = _playersInFolder(MaxPlayers, leftOut);
    // The order of the list that was lost, where its Ids still name players (a player whose Id
    // there was damaged takes the place of an Id that names nobody), then the others by Id.
    std::sort(players.begin(), players.end(),
              [](const TProfilePtr& a, const TProfilePtr& b) { return a->FileName < b->FileName; });
    std::vector<TProfilePtr> slots(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        for (auto& p : players)
            if (p && !order[k].empty() && (p->FileName == order[k] || p->FilesId == order[k])) {
                slots[k] = p;
                p = nullptr;
                break;
            }
    for (auto& p : players) {
        if (!p) continue;
        auto empty = std::find(slots.begin(), slots.end(), nullptr);
        if (empty != slots.end()) *empty = p;
        else slots.push_back(p);
    }
    for (const auto& p : slots)
        if (p) ProfilesList.push_back(p);

    std::string names;
    std::vector<std::string> shown;
    for (const auto& profile : ProfilesList) {
        names += (names.empty() ? "" : ", ") + profile->name;
        shown.push_back(UpperUnicode(profile->name));
    }
    if (!ProfilesList.empty()) {
        Error("The list of players was rebuilt from " + std::to_string(ProfilesList.size()) + " progress file(s) in " +
                  ProfilesFolder() + ": " + names,
              Here());
        std::string text = "The list of players was lost or damaged, and was made again from the players' saves: ";
        for (size_t k = 0; k < shown.size(); ++k) text += (k == 0 ? "" : ", ") + shown[k];
        text += ".";
        if (!leftOut.empty()) text += LeftOutInWords(leftOut);
        TellPlayer(text);
    }
    return static_cast<int>(ProfilesList.size());
}

namespace {

// Of one copy of the list: the Id of each player's block in order ("" where the block cannot be
// trusted), and who plays ("" when its block cannot be trusted).
struct ListBlocks {
    std::vector<std::string> ids;
    std::string current;
    bool hasCurrent = false;
};

ListBlocks ReadListBlocks(const CheckedFile& file) {
    ListBlocks list;
    if (!file.found) return list;
    const std::vector<TopBlock> blocks = TopBlocks(file);
    for (size_t k = 0; k < blocks.size(); ++k) {
        const TopBlock& b = blocks[k];
        // (The first block is the settings, whatever damage its opening line took.)
        if (NamesEqual(b.name, "Settings") || (k == 0 && !NamesEqual(b.name, "Profile"))) {
            if (b.trusted && !list.hasCurrent) {
                list.current = GetBFString(b.block, "CurrProfile");
                list.hasCurrent = true;
            }
            continue;
        }
        list.ids.push_back(b.trusted ? GetBFString(b.block, "Id") : std::string());
    }
    return list;
}

// The order of the players where either copy holds it: each place from the list where its block
// can be trusted, else from the copy of the save before; places whose blocks neither holds whole
// stay open ("").
std::vector<std::string> MergedOrder(const ListBlocks& list, const ListBlocks& before) {
    std::vector<std::string> order = list.ids;
    // (A list cut short has lost its last places: they are open.)
    if (order.size() < before.ids.size()) order.resize(before.ids.size());
    // Each player of the save before that the list does not name takes the same place when the
    // list's is open, else goes after the one before it there (into an open place when there is
    // one): where the list lost a block, or its opening line, the save before still tells the
    // place.
    for (size_t i = 0; i < before.ids.size(); ++i) {
        const std::string& id = before.ids[i];
        if (id.empty() || std::find(order.begin(), order.end(), id) != order.end()) continue;
        if (i < order.size() && order[i].empty()) {
            order[i] = id;
            continue;
        }
        size_t at = 0;
        for (size_t j = i; j-- > 0;) {
            const auto found = std::find(order.begin(), order.end(), before.ids[j]);
            if (!before.ids[j].empty() && found != order.end()) {
                at = static_cast<size_t>(found - order.begin()) + 1;
                break;
            }
        }
        if (at < order.size() && order[at].empty()) order[at] = id;
        else order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), id);
    }
    return order;
}

}  // namespace

bool TPlayers::_readListed(const TBlockFilePtr& index, std::vector<std::string>& carried) {
    const std::string indexPath = IndexPath();
    // The Ids of every name listed, and of every name taken from a progress file.
    std::set<std::string> takenIds;
    for (const auto& block : GetBlockFilesList(index, "Profile"))
        takenIds.insert(PlayerIdOf(PlayerName(GetBFString(block, "Name"))));
    for (const auto& block : GetBlockFilesList(index, "Profile")) {
        const std::string listedName = GetBFString(block, "Name");
        const std::string listedId = GetBFString(block, "Id");
        auto profile = std::make_shared<TProfile>();
        profile->SetName(listedName);
        // Where the list's Id and its name disagree, the files there are win: the player's files
        // are the first of the list's Id, the name's Id and the Id an earlier build gave the name
        // (before the characters that draw nothing were taken out of names) whose progress file
        // names this player; when none does, those of the name's Id, else the list's, else the
        // earlier build's.
        std::vector<std::string> candidates;
        for (const std::string& id : {profile->FileName, listedId, EarlierId(listedName)})
            if (IsPlainId(id) && std::find(candidates.begin(), candidates.end(), id) == candidates.end())
                candidates.push_back(id);
        std::string filesId;
        for (const std::string& id : candidates)
            if (filesId.empty() && HasProgress(id)) filesId = id;
        if (candidates.size() > 1) {
            std::vector<std::string> byList = candidates;
            const auto listed = std::find(byList.begin(), byList.end(), listedId);
            if (listed != byList.end()) std::rotate(byList.begin(), listed, listed + 1);
            for (const std::string& id : byList)
                if (HasProgress(id) && NameInFile(id) == PlayerNameKey(listedName)) {
                    filesId = id;
                    break;
                }
        }
        if (filesId.empty()) {
            // A player deleted after this list was written: the files went to the deleted
            // players' folder, and the player stays deleted.
            bool deleted = false;
            for (const std::string& id : candidates)
                deleted = deleted || FileType(DeletedFolder() + "/" + id + kProgressExt) == 1;
            if (deleted) {
                Print("'" + profile->name + "' was deleted after " + indexPath + " was written; left out");
                continue;
            }
            if (profile->FileName.empty()) {
                Warning("A player without a name in the list of players is left out", Here());
                continue;
            }
            if (profile->FileName.size() > kMaxIdLength) {
                Warning("A player of the list of players whose name is too long to name a file is left out", Here());
                continue;
            }
            filesId = profile->FileName;
        }
        if (IsParkingId(filesId)) Print("The rename of '" + profile->name + "' was cut short; it is finished");
        else if (filesId != profile->FileName)
            Warning("The list of players gives '" + profile->name + "' the Id '" + listedId + "'; reading " + filesId +
                        kProgressExt,
                    Here());
        // Checked before the file is read, so that a player left out touches no file.
        if (!_addReadProfile(profile, filesId, indexPath)) continue;
        // (The list names other files than the player's: it is written again at once.)
        if (filesId != listedId) isListIdStale = true;
        if (IsParkingId(filesId) && IsPlainId(GetBFString(block, "RenamedFrom")))
            profile->RenamedFromId = GetBFString(block, "RenamedFrom");
        const std::string file = ProfilePath(filesId);
        profile->Load(file);
        if (profile->name.empty()) profile->SetName(listedName);
        // The progress file names its player, and a new name moves the player to the Id of that
        // name at the next save. A name whose Id another player has (or takes) would put this
        // player's progress over that player's: the list's name, which names this file, is
        // kept then.
        const std::string named = PlayerIdOf(profile->name);
        if (named != profile->FileName && named != filesId) {
            if (named.size() > kMaxIdLength || named.empty()) {
                Warning(file + " names its player with a name too long to name a file; the name '" + listedName +
                            "' is kept",
                        Here());
                profile->SetName(listedName);
            } else if (takenIds.count(named) != 0) {
                Warning(file + " names its player '" + profile->name + "', another player's name; the name '" +
                            listedName + "' is kept",
                        Here());
                profile->SetName(listedName);
            } else {
                takenIds.insert(named);
            }
        }
        // A name of an earlier build that held characters that draw nothing: its files are carried
        // to the Id of the name as it is now (at once).
        if (filesId != PlayerIdOf(profile->name) && filesId == EarlierId(listedName) &&
            filesId != PlayerIdOf(PlayerName(listedName)))
            carried.push_back(UpperUnicode(profile->name));
    }
    return !ProfilesList.empty();
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
    SavedListBytes.clear();
    ReadList.clear();
    isIndexStale = 0;
    isListIdStale = false;
    if (copyNewer)
        Error("The copy " + indexPath + ".bak holds a newer list of players (" + std::to_string(copyNumber) +
                  ") than " + indexPath + " (" + std::to_string(listNumber) + "); the newer is read",
              Here());
    const CheckedFile& read = copyNewer ? before : listed;
    const auto& index = read.root;
    std::vector<std::string> carried, addedBack, leftOut;
    if (!read.good() || GetBlockFilesList(index, "Settings").empty()) {
        // No list, or a damaged one: the players come from their own files, each of which names
        // its player (none at all: a first run). Their order and who was playing come from the
        // list, block by block, where its blocks can be trusted, else from the list of the save
        // before.
        const ListBlocks last = ReadListBlocks(read), earlier = ReadListBlocks(before);
        const std::vector<std::string> order = MergedOrder(last, earlier);
        currId = last.hasCurrent      ? last.current
                 : earlier.hasCurrent ? earlier.current
                                      : GetBFString(index, "Settings::CurrProfile");
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
        if (!copyNewer) {
            SavedListBytes = listed.bytes;
            ReadList = ListText(index);
        }
        _readListed(index, carried);
        // A newer copy taken never drops a player whose files are in the folder: such players
        // are added back, after the others, as a rebuild adds them.
        if (copyNewer && static_cast<int>(ProfilesList.size()) < MaxPlayers)
            for (const auto& p : _playersInFolder(MaxPlayers - ProfilesList.size(), leftOut)) {
                ProfilesList.push_back(p);
                addedBack.push_back(UpperUnicode(p->name));
            }
        if (ProfilesList.empty()) rebuilt = RebuildProfilesList() > 0;
    }
    if (copyNewer) {
        std::string text =
            "The backup copy of the list of players was newer than the list itself: the newer list was taken.";
        if (!addedBack.empty())
            text += " " + NamesInWords(addedBack) + (addedBack.size() == 1 ? " was" : " were") + " not in it and " +
                    (addedBack.size() == 1 ? "was" : "were") + " added back from the saves in the folder.";
        if (!leftOut.empty()) text += LeftOutInWords(leftOut);
        TellPlayer(text);
    }
    if (!carried.empty())
        TellPlayer("Characters that draw nothing are no longer part of names: the saves of " + NamesInWords(carried) +
                   " were kept and carried to the names as they are shown.");
    if (ProfilesList.empty()) CreateStartProfile();
    SetCurrProfileById(currId);
    isProfilesRead = 1;
    // What was read is not what the files hold (a file damaged, missing or restored, a save cut
    // short, the list rebuilt, a name of an earlier build carried, a rename cut short, the list
    // naming other files than the player's): the
    // repair is written at once, before the first screen, so that a game ended before its next
    // save does not find the damage again.
    bool repair = rebuilt || copyNewer || !carried.empty() || isListIdStale;
    for (const auto& profile : ProfilesList)
        repair =
            repair || profile->ReadState.empty() || IsParkingId(profile->FilesId) || !profile->RenamedFromId.empty();
    if (repair) SavePlayers();
    else _clearParking();
    return 0;
}

int TPlayers::RemoveCurrentPlayer() {
    if (ProfilesList.size() <= 1) return 0;  // the list never becomes empty
    const TProfilePtr removed = CurrProfile;
    auto it = std::find(ProfilesList.begin(), ProfilesList.end(), CurrProfile);
    if (it != ProfilesList.end()) ProfilesList.erase(it);
    SetCurrProfile(ProfilesList.front());
    if (removed) {
        MoveToDeleted(removed->FilesId);
        MoveToDeleted(removed->RenamedFromId);
    }
    return 1;
}

int TPlayers::MoveToDeleted(const std::string& id) {
    if (id.empty()) return 0;
    const std::string folder = ProfilesFolder();
    const std::vector<std::string> files = FilesOf(id);
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
