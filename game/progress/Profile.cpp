#include "game/progress/Profile.h"

#include <algorithm>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Control.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/progress/Awards.h"
#include "game/progress/PlayerNames.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/ProgressFile.h"
#include "game/progress/ProgressScreens.h"
#include "game/progress/SaveFiles.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "platform/Files.h"
#include "platform/Strings.h"

TProfilePtr Profile;

namespace {

// Switches to the screen through the cross-fade; a screen that was never made is reported and
// the player stays where they are.
void SwitchTo(const std::shared_ptr<TAppScreen>& screen, const char* what) {
    if (!screen) {
        Error(std::string("No ") + what + " to go to", Here());
        return;
    }
    GoToScreen(screen, nullptr);
}

// The screen of a place of the flow (null when there is none).
std::shared_ptr<TAppScreen> Screen(ProgressPlace place) { return ProgressScreenOf(place); }

// Hands the level to the game screen; gives the screen (null when there is none).
std::shared_ptr<TAppScreen> HandToGame(const std::shared_ptr<TLevel>& level) {
    return ProgressScreenOf(ProgressPlace::Game, level);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Level records

std::string TProfileLevel::ToString() const {
    return std::to_string(id) + "," + std::to_string(isPassed) + "," + std::to_string(isUnlocked) + "," +
           std::to_string(Stars) + "," + std::to_string(Score) + "," + std::to_string(TilesUncovered) + "," +
           std::to_string(TilesCrossed);
}

int TProfileLevel::FromString(const std::string& text) {
    const std::vector<std::string> pieces = SplitString(text, ",");
    int* const fields[] = {&id, &isPassed, &isUnlocked, &Stars, &Score, &TilesUncovered, &TilesCrossed};
    const size_t n = std::min(pieces.size(), std::size(fields));
    for (size_t i = 0; i < n; ++i) *fields[i] = StringToInt(pieces[i]);
    Stars = std::clamp(Stars, 0, MaxLevelStars);
    return 0;
}

TProfileLevelPtr CreateprofileLevel(int id) {
    auto level = std::make_shared<TProfileLevel>();
    level->id = id;
    return level;
}

TProfileLevelPtr CreateProfileLevelFromString(const std::string& text) {
    auto level = std::make_shared<TProfileLevel>();
    level->FromString(text);
    return level;
}

// ---------------------------------------------------------------------------------------------
// Base profile

std::string PlayerIdOf(const std::string& name) {
    std::string id;
    for (char32_t cp : Utf8ToUtf32(name)) {
        // The Id counts UTF-16 code units: a letter beyond the basic plane gives its two halves.
        char32_t units[2] = {cp, 0};
        int count = 1;
        if (cp > 0xFFFF) {
            const char32_t v = cp - 0x10000;
            units[0] = 0xD800 + (v >> 10);
            units[1] = 0xDC00 + (v & 0x3FF);
            count = 2;
        }
        for (int i = 0; i < count; ++i) {
            if (!id.empty()) id += "-";
            id += std::to_string(static_cast<uint32_t>(units[i]));
        }
    }
    return id;
}

int TBaseProfile::InitID() {
    name = PlayerName(name);
    FileName = PlayerIdOf(name);
    return 0;
}

int TBaseProfile::SetName(const std::string& text) {
    name = PlayerName(text);
    return InitID();
}

int TBaseProfile::InitSave(const std::string& folder) {
    if (FileType(folder) == 0 && !CreateDir(folder, false)) Error("Couldn't create the folder " + folder, Here());
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Queries

int TProfile::CanContinue() { return CurrScreen.empty() ? 0 : 1; }

TProfileLevelPtr TProfile::GetLevel(int id, int create) {
    for (const auto& level : Levels)
        if (level->id == id) return level;
    if (!create) return nullptr;
    auto level = CreateprofileLevel(id);
    Levels.push_back(level);
    return level;
}

int TProfile::Game_LevelStarsCount(int id) {
    auto level = GetLevel(id, 0);
    return level ? level->Stars : 0;
}

int TProfile::isLevelAvailableToPlay(int id) {
    auto level = GetLevel(id, 0);
    return level ? level->isUnlocked : 0;
}

int TProfile::isLevelPassed(int id) {
    auto level = GetLevel(id, 0);
    return level ? level->isPassed : 0;
}

int TProfile::Game_CountStars() {
    Stars = 0;
    for (const auto& level : Levels) Stars += level->Stars;
    return Stars;
}

int TProfile::Game_CountPlayedLevels() {
    int n = 0;
    for (const auto& level : Levels)
        if (level->isPassed) ++n;
    return n;
}

int TProfile::Game_CountSummaryDatas() {
    Game_CountStars();
    return 0;
}

int TProfile::Kingdom_FirstAward() { return Buildings.size() >= 14 ? 1 : 0; }
int TProfile::Kingdom_SecondAward() { return Buildings.size() == 28 ? 1 : 0; }

int TProfile::Kingdom_HaveObject(int buildingId) {
    return std::find(Buildings.begin(), Buildings.end(), buildingId) != Buildings.end() ? 1 : 0;
}

int TProfile::HaveAward(const std::shared_ptr<TAward>& award) { return award ? isAward(award->id) : 0; }

int TProfile::isAward(int id) {
    for (const auto& a : Awards)
        if (a && a->id == id) return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Changes

int TProfile::Kingdom_AddObject(int buildingId) {
    Buildings.push_back(buildingId);
    return 0;
}

int TProfile::Level_Unlock(int id) {
    GetLevel(id, 1)->isUnlocked = 1;
    return 0;
}

int TProfile::Level_Pass(int id) {
    auto level = GetLevel(id, 1);
    level->isUnlocked = 1;
    level->isPassed = 1;
    return 0;
}

int TProfile::Game_PassCurrLevel(int stars, int score) {
    auto level = GetLevel(Level, 1);
    level->isPassed = 1;
    level->Stars = stars;
    level->Score = score;
    level->TilesUncovered = TilesUncovered;
    level->TilesCrossed = TilesCrossed;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Game flow

int TProfile::LoadCurrLevel() {
    Level = std::clamp(Level, 1, MaxLevel);
    CurrLevel = LoadLevel(bDir + "Game/Levels/Picross/Level-" + std::to_string(Level) + ".PACLevel");
    return 0;
}

int TProfile::Game_PlayLevel(int id) {
    Level = id;
    return Game_PlayNextLevel();
}

int TProfile::Game_PlayNextLevel() {
    LoadCurrLevel();
    if (!CurrLevel) {
        // The level file was reported by its reader (one line for one damaged file); the player
        // stays where they are.
        return 0;
    }
    SwitchTo(HandToGame(CurrLevel), "game screen");
    return 0;
}

int TProfile::Game_RestartLevel() {
    LoadCurrLevel();
    HandToGame(CurrLevel);
    return 0;
}

int TProfile::Game_IncriseLevel() {
    Game_BookNextLevel();
    SwitchTo(Screen(ProgressPlace::KingdomScreen), "kingdom");
    return 0;
}

int TProfile::Game_BookNextLevel() {
    Level = std::min(Level + 1, MaxLevel);
    if (auto kingdom = Screen(ProgressPlace::KingdomScreen)) CurrScreen = kingdom->name;
    return 0;
}

int TProfile::Game_StartNew() {
    ResetProgressForNewGame(*this);
    Level_Unlock(1);
    SwitchTo(Screen(ProgressPlace::StagesMap), "stages map");
    return 0;
}

int TProfile::Game_Continue() {
    std::shared_ptr<TAppScreen> target;
    if (!CurrScreen.empty()) {
        target = Control::GetScreenById(CurrScreen);
        if (!target) Error("No screen named '" + CurrScreen + "' to continue on; going to the stages map", Here());
    }
    if (target && CurrScreen == "GameScreen") {
        // A lost or won level is not play in progress: that level starts afresh.
        if (!CurrLevel || isLevelOver(CurrLevel.get())) LoadCurrLevel();
        if (CurrLevel) {
            HandToGame(CurrLevel);
        } else {
            target = nullptr;  // the level file was reported; the stages map lets the player go on
        }
    }
    if (target) SwitchTo(target, CurrScreen.c_str());
    else SwitchTo(Screen(ProgressPlace::StagesMap), "stages map");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Files

namespace {

// Beside each of a player's files, its previous version.
const char* const kBackupExt = ".bak";
// Where the progress file and the level in progress carry the number of their save.
const char* const kProgressSaveNumber = "Data::SaveCount";
const char* const kLevelSaveNumber = "Progress::SaveCount";

// The Id of a player's file path (its name without the extension).
std::string IdOfPath(const std::string& path) { return StripExt(StripDir(path)); }

// The progress file of the Id beside the progress file at path.
std::string ProfilePathOfId(const std::string& path, const std::string& id) {
    return JoinPath(ExtractDir(path), id + "." + ExtractExt(path));
}

// The parts of a level in progress, each read from whichever copy holds it whole: the level's
// blocks, and the level's own entries (the hints). Each carries a check bound to its save (the
// level and the save's number), so that a part of another save never passes for one of this.
struct LevelPart {
    const char* path;
    bool own;           // the block's own entries, not its sub-blocks
    const char* words;  // what it holds, in a player's words
};
constexpr LevelPart kLevelParts[] = {
    {"Level::Data", false, "the clock, score and mistakes"},
    {"Level::Tiles", false, "the picture"},
    {"Level::TilesData", false, "the tiles uncovered and crossed"},
    {"Level", true, "the hints"},
};
// The part that the level's own file always holds as well (the picture).
constexpr size_t kPicturePart = 1;

std::string LevelSeed(int level, int saveCount) {
    return "level " + std::to_string(level) + ", save " + std::to_string(saveCount);
}

// The player as the game shows names.
std::string Who(const std::string& name) { return name.empty() ? std::string("A player") : UpperUnicode(name); }

// True when the block is there with at least one entry.
bool BlockRead(const TBlockFilePtr& root, const std::string& name) {
    auto block = GetBlockFileNO_NEW(root, name);
    if (!block) return false;
    for (const auto& node : block->SubFiles)
        if (node && node->MyType == BF_ENTRY) return true;
    return false;
}

// Every entry of the block `from` (null: none) that `into` lacks is added to it.
void FillMissingEntries(const TBlockFilePtr& into, const TBlockFilePtr& from) {
    if (!from) return;
    for (const auto& entry : from->SubFiles)
        if (entry && entry->MyType == BF_ENTRY && !GetBlockEntryNO_NEW(into, entry->name)) into->AddBlock(entry);
}

// True when the block of a progress file can be trusted: its check holds (a file of this build)
// or, in a file without checks, it holds every entry the writer gives it.
bool isBlockGood(const CheckedFile& file, const std::string& name) {
    if (!file.found) return false;
    if (file.checked) return TrustedBlock(file, name) != nullptr;
    return isProgressBlockComplete(file.root, name);
}

// The block of a copy that isBlockGood trusts.
TBlockFilePtr GoodBlock(const CheckedFile& file, const std::string& name) {
    auto block = file.checked ? TrustedBlock(file, name) : nullptr;
    return block ? block : GetBlockFileNO_NEW(file.root, name);
}

// True when the progress file reads whole: its checks hold and every block is there; a file of
// an earlier build, without checks, as it always was read: whole, with its "Data" block.
bool isWholeProgress(const CheckedFile& file) {
    if (!file.good()) return false;
    for (const ProgressBlockInfo& b : ProgressBlocksTable())
        if (!GetBlockFileNO_NEW(file.root, b.name) && (file.checked || std::string(b.name) == "Data")) return false;
    return true;
}

// Blocks in a player's words, "a", "a, b", "a, b, c"; the level and score (an empty item) said
// as given.
std::string BlocksInWords(const std::vector<std::string>& items, const std::string& levelAndScore) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : ", ") + (items[i].empty() ? levelAndScore : items[i]);
    return text;
}

// The path and the texts of a save's two trees (the level in progress "" when there is none), as
// one string to compare.
std::string StateText(const std::string& path, const std::string& progressText, const std::string& levelText) {
    return path + '\0' + progressText + '\0' + levelText;
}

// The same of the trees (the level in progress null when there is none).
std::string StateText(const std::string& path, const TBlockFilePtr& progress, const TBlockFilePtr& level) {
    return StateText(path, BlockFileToText(progress), level ? BlockFileToText(level) : "");
}

}  // namespace

void TProfile::KeepSaveBefore(const std::string& path, const std::string& saveNumber) {
    // (With a stale file the files on disk are no whole save: the pair of ".bak" copies stays the
    // save before.)
    if (!isSaveWhole || !StaleFiles.empty()) return;
    const std::string last = FilesId.empty() ? path : ProfilePathOfId(path, FilesId);
    KeepPrevious(last, path + kBackupExt, saveNumber);
}

bool TProfile::SetKeptFileAside(const std::string& path) {
    auto kept = std::find(KeptFiles.begin(), KeptFiles.end(), path);
    if (kept == KeptFiles.end()) return true;
    if (FileType(path) != 1 || !SetFileAside(path).empty()) {
        KeptFiles.erase(kept);
        return true;
    }
    if (LastSaveError == 0) LastSaveError = LastWriteError() != 0 ? LastWriteError() : EIO;
    Error("The unreadable file " + path + " can't be set aside and is not written over; nothing is saved", Here());
    return false;
}

int TProfile::Save(const std::string& path) {
    LastSaveError = 0;
    const std::string levelPath = StripExt(path) + ".PACLEVEL";
    if (!SetKeptFileAside(path) || !SetKeptFileAside(levelPath)) return 0;
    // What this save would write, to compare with what the disk holds (not built when nothing is
    // known of that: a new player, or after a failed save).
    const std::string state = SavedState.empty() && ReadState.empty() ? std::string() : SaveState(path);
    // The files on the disk are exactly what this save would write: nothing is written (and the
    // counter stays, so that they stay a pair).
    if (!SavedState.empty() && FileType(path) == 1 && state == SavedState) return 1;
    // What was read, unchanged since, but on the disk in another form than this build writes (an
    // earlier build's file or one written by hand, values brought into range, ids that name
    // nothing, a fresh board not on the disk yet): written back whole, with its checks and
    // number. Nothing of the player's is lost when that fails, so it is not told; where the
    // folder may not be written at all it is not tried.
    const bool formOnly = !ReadState.empty() && state == ReadState;
    if (formOnly && isWriteRefused(path)) return 1;
    // One save: a new counter for both files, the level in progress first. A kill between the
    // two leaves a level in progress whose counter the progress file does not have, and the
    // previous pair in the ".bak" files (kept, the progress file's first, only while the files
    // on disk are a whole save). Each tree is built once, with the new counter: written, then
    // kept as SavedState.
    const int counted = SaveCount;
    SaveCount = NextSaveNumber(SaveCount);
    const auto level = LevelInProgressBlocks(levelPath);
    const auto root = ProgressBlocks(path);
    KeepSaveBefore(path, kProgressSaveNumber);
    if (!WriteLevelInProgress(levelPath, level)) {
        // The pair or nothing: a progress file with a counter that its level in progress does not
        // carry would throw that level away at the next start. The files on disk stay the last
        // whole save, and the next save tries again.
        SaveCount = counted;
        Error("The level in progress " + levelPath + " couldn't be written (" + WriteErrorText(LastSaveError) +
                  "); the progress file is left as it was",
              Here());
        if (formOnly) LastSaveError = 0;
        return formOnly ? 1 : 0;
    }
    // Written whole to a temporary file and then renamed over the old one: a write that fails
    // or is cut short leaves the previous progress file as it was.
    const bool written = SaveBlockFile(root);
    if (!written) LastSaveError = LastWriteError();
    if (written) {
        // The repair is in place: a damaged file (or a board of another save) that it did not
        // write over goes, its copy being aside.
        for (const std::string& file : StaleFiles)
            if (file != path && !(file == levelPath && level) && FileType(file) == 1 && !DeleteFile(file))
                Error("Couldn't remove " + file + ", which was kept aside", Here());
        StaleFiles.clear();
        FilesId = IdOfPath(path);
    }
    isSaveWhole = written;
    SavedState = isSaveWhole ? StateText(path, root, level) : std::string();
    ReadState = SavedState;
    if (!written && formOnly) LastSaveError = 0;
    return written || formOnly ? 1 : 0;
}

void TProfile::FilesMovedTo(const std::string& path) {
    const std::string from = ProfilePathOfId(path, FilesId);
    FilesId = IdOfPath(path);
    for (std::string* state : {&SavedState, &ReadState})
        if (StartsWith(*state, from + '\0')) *state = path + state->substr(from.size());
}

TBlockFilePtr TProfile::ProgressBlocks(const std::string& path) {
    // (A board not played yet is no loss when it goes missing.)
    HasLevelInProgress = isLevelInProgress() && CurrLevel->LevelSeconds > 0 ? 1 : 0;
    auto root = CreateBlockFile(path);
    for (const ProgressBlockInfo& b : ProgressBlocksTable()) WriteProgressBlock(*this, root, b.name);
    AddContentChecks(root, true);
    return root;
}

bool TProfile::isLevelInProgress() const {
    return dynamic_cast<const TPACLevel*>(CurrLevel.get()) && !isLevelOver(CurrLevel.get());
}

TBlockFilePtr TProfile::LevelInProgressBlocks(const std::string& path) {
    if (!isLevelInProgress()) return nullptr;
    auto pac = std::static_pointer_cast<TPACLevel>(CurrLevel);
    // The level file, each of its parts with a check bound to this save, then the block that
    // pairs it with the progress file.
    auto root = PacLevelToBlockFile(pac, path, 0);
    // The level as the progress file reads back (a new player's 0 reads as 1).
    const int level = std::clamp(Level, 1, MaxLevel);
    const std::string seed = LevelSeed(level, SaveCount);
    for (const LevelPart& part : kLevelParts) {
        if (!part.own) AddBlockCheck(GetBlockFileNO_NEW(root, part.path), seed);
    }
    for (const LevelPart& part : kLevelParts) {
        if (part.own) AddBlockCheck(GetBlockFileNO_NEW(root, part.path), seed, true);
    }
    auto progress = CreateBlockFile("Progress", root);
    AddIntToBlock(progress, "Level", level);
    AddIntToBlock(progress, "SaveCount", SaveCount);
    AddBlockCheck(progress);
    AddContentChecks(root, false);
    return root;
}

std::string TProfile::SaveState(const std::string& path) {
    return StateText(path, ProgressBlocks(path), LevelInProgressBlocks(StripExt(path) + ".PACLEVEL"));
}

int TProfile::WriteLevelInProgress(const std::string& path, const TBlockFilePtr& root) {
    if (!CurrLevel) return 1;
    if (isLevelOver(CurrLevel.get())) {
        // A lost or won level is not play in progress; an earlier level in progress was
        // superseded by it. It is kept as ".bak" while it belongs to the whole save on disk, so
        // that a kill before the progress file is written finds the pair there.
        KeepSaveBefore(path, kLevelSaveNumber);
        if (FileType(path) != 1) return 1;
        if (DeleteFile(path)) return 1;
        LastSaveError = LastWriteError();
        Error("Couldn't remove the finished level in progress " + path, Here());
        return 0;
    }
    // Only a clue-grid level is ever a player's level in progress.
    if (!root) return 1;
    KeepSaveBefore(path, kLevelSaveNumber);
    if (SaveBlockFile(root)) return 1;
    LastSaveError = LastWriteError();
    return 0;
}

int TProfile::Load(const std::string& path) {
    Print("Loading Profile");
    const std::string backup = path + kBackupExt;
    FilesId = IdOfPath(path);
    CheckedFile file = ReadCheckedFile(path);
    CheckedFile copy = ReadCheckedFile(backup);
    // A ".bak" that holds a newer save than the file (each number where its block can be
    // trusted) is the newer save: the file is then the save before it.
    const int fileNumber = TrustedSaveNumber(file, kProgressSaveNumber);
    const int copyNumber = TrustedSaveNumber(copy, kProgressSaveNumber);
    const bool copyNewer = fileNumber >= 0 && copyNumber > fileNumber;
    CheckedFile& current = copyNewer ? copy : file;
    const CheckedFile& previous = copyNewer ? file : copy;
    const std::string& currentPath = copyNewer ? backup : path;
    const std::string& previousPath = copyNewer ? path : backup;
    if (copyNewer)
        Error("The copy " + backup + " holds a newer save (" + std::to_string(copyNumber) + ") than " + path + " (" +
                  std::to_string(fileNumber) + "); the newer is read",
              Here());
    const bool whole = isWholeProgress(current);
    // (A file on the disk that cannot be read at all is a damaged one: it is never written over.)
    const bool onDisk = FileType(currentPath) == 1;
    TBlockFilePtr root = current.root;
    // Where each block came from, in a player's words ("" for the level and score, said with
    // their values).
    std::vector<std::string> kept, keptInPart, fromBackup, lost;
    // The level and the save's number, which pair the level in progress with the progress, came
    // from this file (whole or in part).
    bool dataFromFile = whole && !copyNewer;
    if (!whole) {
        // Each block from the newest copy in which it can be trusted; where none can, every entry
        // that still reads, the newest first; what none has gets its default.
        // A file cut before its first check reads as one of an earlier build; a save before it
        // with checks tells that this build wrote it, so that what is left of its blocks is not
        // vouched for.
        current.checked = current.checked || previous.checked;
        root = CreateBlockFile(path);
        for (const ProgressBlockInfo& b : ProgressBlocksTable()) {
            const bool isData = std::string(b.name) == "Data";
            const std::string words = isData ? "" : b.words;
            const auto newest = GetBlockFileNO_NEW(current.root, b.name);
            const auto before = GetBlockFileNO_NEW(previous.root, b.name);
            if (isBlockGood(current, b.name)) {
                root->AddBlock(GoodBlock(current, b.name));
                kept.push_back(words);
                dataFromFile = dataFromFile || (isData && !copyNewer);
            } else if (isBlockGood(previous, b.name)) {
                auto block = CreateBlockFile(b.name, root);
                // A file without checks (an earlier build's) keeps what still reads of the block,
                // as it always did: what is missing in it was cut off.
                if (!current.checked) FillMissingEntries(block, newest);
                FillMissingEntries(block, GoodBlock(previous, b.name));
                fromBackup.push_back(words);
            } else if (BlockRead(current.root, b.name) || BlockRead(previous.root, b.name)) {
                auto block = CreateBlockFile(b.name, root);
                FillMissingEntries(block, newest);
                FillMissingEntries(block, before);
                keptInPart.push_back(b.words);
                dataFromFile = dataFromFile || (isData && !copyNewer && BlockRead(current.root, b.name));
            } else {
                lost.push_back(b.words);
            }
        }
        const auto named = [](const std::vector<std::string>& items) {
            return items.empty() ? std::string("nothing") : BlocksInWords(items, "the level and score");
        };
        Error((onDisk ? "The progress file " + currentPath + " is damaged" : "No progress file " + currentPath) +
                  "; kept: " + named(kept) + "; from the save before (" + previousPath + "): " + named(fromBackup) +
                  "; partly kept: " + named(keptInPart) + "; lost: " + named(lost),
              Here());
        if (onDisk) {
            // Copied aside; the damaged file stays in its place until the repair is written over
            // it (a ".bak" read as the newer save is never written over by the older file).
            if (!copyNewer) StaleFiles.push_back(path);
            if (SetFileAside(currentPath).empty() && !copyNewer) KeptFiles.push_back(path);
        }
    }
    // The level in progress of the save before may stand for a damaged one: the level and
    // number of that save, where its copy can be trusted.
    SaveBefore saveBefore;
    if (const auto data = isBlockGood(previous, "Data") ? GoodBlock(previous, "Data") : nullptr) {
        saveBefore.level = ReadProfileNumber(data, "Level");
        saveBefore.count = std::max(ReadProfileNumber(data, "SaveCount"), 0);
    }
    // A damaged file's name may be cut or run on (a quoted text whose end is lost): the list of
    // players' name, which names the files, stays.
    const std::string listedName = name;
    for (const ProgressBlockInfo& b : ProgressBlocksTable()) ReadProgressBlock(*this, root, b.name);
    if ((!whole || copyNewer) && !listedName.empty()) name = listedName;
    // (A save number is read only from a copy with checks: one without may be written by hand.)
    if (whole && !current.checked) SaveCount = 0;
    const std::string levelPath = StripExt(path) + ".PACLEVEL";
    const LevelInProgressRead levelRead = LoadProfileLevel(levelPath, saveBefore);
    // The next save counts on past every number on the disk.
    SaveCount = std::max({SaveCount, fileNumber, copyNumber});
    isSaveWhole = true;
    // What was read, when the files on the disk hold it (nothing restored, salvaged or set
    // aside): a save that would write the same only writes back what is on the disk in another
    // form (ReadState). When the disk holds exactly what a save would write, a save with nothing
    // changed writes nothing (SavedState).
    ReadState.clear();
    SavedState.clear();
    if (whole && !copyNewer && levelRead.isAsOnDisk) {
        const auto progressTree = ProgressBlocks(path);
        const auto levelTree = LevelInProgressBlocks(levelPath);
        const std::string progressText = BlockFileToText(progressTree);
        const std::string levelText = levelTree ? BlockFileToText(levelTree) : std::string();
        ReadState = StateText(path, progressText, levelText);
        const bool asWritten =
            EncodeBlockFileText(progressText) == file.bytes &&
            (levelTree ? levelRead.found && EncodeBlockFileText(levelText) == levelRead.bytes : !levelRead.found);
        if (asWritten) SavedState = ReadState;
    }

    const std::string who = Who(name);
    const std::string levelAndScore = "level " + std::to_string(Level) + ", score " + std::to_string(Score);
    const size_t blocks = ProgressBlocksTable().size();
    // Short enough for the message pop-up (four lines); the console lines name the files.
    std::string text;
    if (copyNewer)
        TellPlayer(who + "'s backup copy held a newer save than the save itself: the newer one was taken (" +
                   levelAndScore + ").");
    if (whole || kept.size() == blocks) {
        // Read whole, or damaged where it held nothing of the progress: nothing to tell.
    } else if (fromBackup.size() == blocks) {
        text = onDisk ? who + "'s save was damaged; the save before it was restored (" + levelAndScore +
                            "). The damaged file was kept."
                      : who + "'s save was missing; the save before it was restored (" + levelAndScore + ").";
    } else if (lost.size() == blocks && !onDisk) {
        text = "No save was found for " + who + ": " + who + " starts again from level 1.";
    } else if (lost.size() == blocks && name.empty()) {
        // (A file of no known player, which is left out.)
        text = "A player's save was damaged and could not be read; it was kept aside.";
    } else if (lost.size() == blocks) {
        text = who + "'s save was damaged and could not be read: " + who +
               " starts again from level 1. The damaged file was kept.";
    } else {
        text = onDisk ? who + "'s save was damaged." : who + "'s save was missing, and the save before it was damaged.";
        if (!kept.empty()) text += " Kept: " + BlocksInWords(kept, levelAndScore) + ".";
        if (!keptInPart.empty()) text += " Partly kept: " + BlocksInWords(keptInPart, levelAndScore) + ".";
        if (!fromBackup.empty()) text += " From the save before: " + BlocksInWords(fromBackup, levelAndScore) + ".";
        if (!lost.empty()) text += " Lost: " + BlocksInWords(lost, levelAndScore) + ".";
    }
    if (!text.empty()) TellPlayer(text);
    // The level in progress is told about only when the level it is paired by came from this
    // file: a level and score from the save before (or lost) bring the level in progress of that
    // save with them, as the message above already says.
    if (dataFromFile && !levelRead.notice.empty()) TellPlayer(levelRead.notice);
    return whole ? 1 : 0;
}

TProfile::LevelInProgressRead TProfile::LoadProfileLevel(const std::string& path, const SaveBefore& before) {
    LevelInProgressRead read;
    // The counter the progress file was read with: a level in progress of the same save carries
    // it (both are 0 in files of an older build, which go together as they always did).
    const int progressCount = SaveCount;
    const int level = std::clamp(Level, 1, MaxLevel);
    int highest = SaveCount;
    // What the file at path was: none, resumed, damaged, of a later save that was cut short
    // before its progress file was written, of another save.
    enum class Current { None, Resumed, Damaged, CutShort, OtherSave } current = Current::None;
    bool resumed = false, stoodIn = false;
    const std::string backup = path + kBackupExt;
    const CheckedFile copies[2] = {ReadCheckedFile(path), ReadCheckedFile(backup)};
    read.found = FileType(path) == 1;
    read.bytes = copies[0].bytes;
    // A damaged file that still holds parts of this save whole is put together part by part
    // below, not passed over for a whole copy of the save before.
    bool fileHoldsParts = false;
    if (copies[0].checked && !copies[0].good())
        for (size_t p = 0; p < std::size(kLevelParts); ++p)
            if (p != kPicturePart &&
                TrustedPart(copies[0], kLevelParts[p].path, LevelSeed(level, progressCount), kLevelParts[p].own))
                fileHoldsParts = true;
    for (int c = 0; c < 2; ++c) {
        const std::string& file = c == 0 ? path : backup;
        if (FileType(file) != 1) continue;
        const bool isCurrent = c == 0;
        const CheckedFile& copy = copies[c];
        const bool whole = copy.good();
        // The record of the copy's save, where it can be trusted (its number only in a copy with
        // checks).
        auto record = whole          ? GetBlockFileNO_NEW(copy.root, "Progress")
                      : copy.checked ? TrustedBlock(copy, "Progress")
                                     : nullptr;
        const int count = record ? std::clamp(ReadProfileNumber(record, "SaveCount"), 0, kMaxSaveNumber) : 0;
        const int recordLevel = record ? ReadProfileNumber(record, "Level") : 0;
        if (copy.checked) highest = std::max(highest, count);
        const bool matches = record ? count == progressCount && recordLevel == Level : progressCount == 0;
        // A board that cannot be resumed (damaged, missing, of another save): the save before's,
        // when it pairs with the progress file's save before at the same level as now.
        const bool standsIn = !isCurrent && record && (current != Current::None || HasLevelInProgress) &&
                              count == before.count && recordLevel == before.level && before.level == level;
        std::shared_ptr<TLevel> board =
            whole && (isCurrent || !fileHoldsParts) ? PacLevelFromBlockFile(copy.root, file) : nullptr;
        if (board && (matches || standsIn)) {
            CurrLevel = board;
            resumed = true;
            stoodIn = !matches;
            if (isCurrent) current = Current::Resumed;
            else if (stoodIn)
                Error("The level in progress of the save before, " + file + ", is resumed for " + path, Here());
            else
                Error("The last save of " + path + " was cut short; the level in progress of the save before, " + file +
                          ", is resumed",
                      Here());
            break;
        }
        if (!isCurrent) continue;  // a previous level in progress that is not this save's: left as it is
        // The reader reported a damaged file; one of another save is reported here. Either is
        // kept aside and never resumed under this progress.
        current = !board ? Current::Damaged : count > progressCount ? Current::CutShort : Current::OtherSave;
        if (board)
            Error("The level in progress " + path + " is not the one of this progress file (" +
                      (record ? "level " + std::to_string(recordLevel) + ", save " + std::to_string(count)
                              : std::string("no save counter")) +
                      "; the progress is at level " + std::to_string(Level) + ", save " +
                      std::to_string(progressCount) + ")",
                  Here());
        else if (!whole) Error("The level in progress " + path + " is damaged", Here());
        // Copied aside; the file stays in its place until the repair is written.
        StaleFiles.push_back(file);
        if (SetFileAside(file).empty()) KeptFiles.push_back(file);
    }
    // No copy is a whole board of this save: each part from whichever copy holds it whole for
    // this save, or for the save before at the same level; a part neither holds (the picture
    // always) from the level's own file. With no part of the play in either, there is no board
    // to resume.
    std::vector<std::string> kept, fromBefore, lost;
    bool salvaged = false;
    if (!resumed && (current != Current::None || HasLevelInProgress)) {
        const std::string now = LevelSeed(level, progressCount);
        const std::string earlier = before.count >= 0 && before.level == level ? LevelSeed(level, before.count) : "";
        TBlockFilePtr parts[std::size(kLevelParts)];
        std::vector<std::string>* said[std::size(kLevelParts)];
        for (size_t p = 0; p < std::size(kLevelParts); ++p) {
            said[p] = &lost;
            for (int c = 0; c < 2 && !parts[p]; ++c) {
                if (!copies[c].checked) continue;
                for (const std::string& seed : {now, c == 0 ? std::string() : earlier}) {
                    if (seed.empty() || parts[p]) continue;
                    parts[p] = TrustedPart(copies[c], kLevelParts[p].path, seed, kLevelParts[p].own);
                    if (parts[p]) said[p] = seed == now ? &kept : &fromBefore;
                }
            }
        }
        bool play = false;
        for (size_t p = 0; p < std::size(kLevelParts); ++p) play = play || (p != kPicturePart && parts[p]);
        if (play) {
            LoadCurrLevel();
            auto fresh = std::dynamic_pointer_cast<TPACLevel>(CurrLevel);
            const auto own = fresh ? PacLevelToBlockFile(fresh, path, 0) : CreateBlockFile(path);
            auto root = CreateBlockFile(path);
            auto board = CreateBlockFile("Level", root);
            for (size_t p = 0; p < std::size(kLevelParts); ++p) {
                const auto part = parts[p] ? parts[p] : GetBlockFileNO_NEW(own, kLevelParts[p].path);
                if (!part) continue;
                if (!kLevelParts[p].own) {
                    board->AddBlock(part);
                    continue;
                }
                for (const auto& entry : part->SubFiles)
                    if (entry && entry->MyType == BF_ENTRY && !NamesEqual(entry->name, "Check")) board->AddBlock(entry);
            }
            if (auto salvagedLevel = PacLevelFromBlockFile(root, path)) {
                CurrLevel = salvagedLevel;
                resumed = salvaged = true;
                for (size_t p = 0; p < std::size(kLevelParts); ++p)
                    if (p != kPicturePart) said[p]->push_back(kLevelParts[p].words);
                Error("The level in progress " + path + " is put together from what its copies hold whole", Here());
            }
        }
    }
    SaveCount = highest;
    const std::string who = Who(name);
    const std::string levelText = "level " + std::to_string(level);
    const std::string goesOn = levelText + " goes on as it was at the save before.";
    const std::string opening = current == Current::None       ? who + "'s level in progress was missing"
                                : current == Current::Damaged  ? who + "'s level in progress was damaged"
                                : current == Current::CutShort ? who + "'s last save was cut short"
                                                               : who + "'s level in progress did not match the save";
    if (current == Current::None && (stoodIn || salvaged || (!resumed && HasLevelInProgress)))
        Error("The level in progress " + path + " is missing", Here());
    if (salvaged && fromBefore.empty() && lost.empty()) {
        // Every part of this save was there whole: nothing is lost (a cut short save's board is
        // the one of the save the progress is at).
        if (current == Current::CutShort || current == Current::None) read.notice = opening + ": " + goesOn;
    } else if (salvaged && kept.empty() && lost.empty()) {
        read.notice = opening + ": " + goesOn;
    } else if (salvaged) {
        read.notice = opening + ": " + levelText + " goes on.";
        if (!kept.empty()) read.notice += " Kept: " + BlocksInWords(kept, "") + ".";
        if (!fromBefore.empty()) read.notice += " From the save before: " + BlocksInWords(fromBefore, "") + ".";
        if (!lost.empty()) read.notice += " Lost: " + BlocksInWords(lost, "") + ".";
    } else if (stoodIn && current != Current::CutShort) {
        read.notice = opening + ": " + goesOn;
    } else if (resumed && current != Current::Resumed) {
        read.notice = who + "'s last save was cut short: " + goesOn;
    } else if (!resumed && current == Current::CutShort) {
        read.notice = opening + ": " + levelText + " starts anew, as at the save before.";
    } else if (!resumed && (current != Current::None || HasLevelInProgress)) {
        read.notice = opening + ": " + levelText + " starts anew.";
    }
    read.isAsOnDisk = current == Current::Resumed || (!resumed && current == Current::None && !HasLevelInProgress);
    if (!resumed) LoadCurrLevel();
    return read;
}

// ---------------------------------------------------------------------------------------------
// Free functions

TProfilePtr CreateNewProfile(const std::string& name) {
    auto profile = std::make_shared<TProfile>();
    profile->SetName(name);
    return profile;
}

void RestartCurrPlayerLevel() {
    if (Profile) Profile->Game_RestartLevel();
}

int isLevelOver(const TLevel* level) {
    if (!level) return 0;
    if (level->isLevelWon || level->isLevelLost) return 1;
    // The flags are not stored in level files: a level read back with the losing mistake made
    // is lost all the same.
    auto pac = dynamic_cast<const TPACLevel*>(level);
    return pac && pac->Mistakes >= LevelMistakesToLose ? 1 : 0;
}

void ResetProfileGlobals() {
    Profile = nullptr;
    SetKnownBuildingIds({});
    ResetPlayerNotices();
}
