#include "game/progress/Profile.h"

#include <algorithm>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Control.h"
#include "engine/system/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/progress/Awards.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/ProgressHooks.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "platform/Files.h"
#include "platform/Strings.h"

TProfilePtr Profile;

namespace {

// A number entry read as the profiles read numbers: a real, truncated toward zero.
int ReadNumber(const TBlockFilePtr& block, std::string_view path) { return TruncToInt(GetBFNumber(block, path)); }

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
std::shared_ptr<TAppScreen> Screen(ProgressPlace place) { return ProgressHooks::ScreenOf(place, nullptr); }

// Hands the level to the game screen; gives the screen (null when there is none).
std::shared_ptr<TAppScreen> HandToGame(const std::shared_ptr<TLevel>& level) {
    return ProgressHooks::ScreenOf(ProgressPlace::Game, level);
}

// Buildings are told apart by their ids.
int BuildingId(const std::shared_ptr<TKingdomObject>& building) {
    return building ? ProgressHooks::BuildingId(*building) : 0;
}

// The numbered entries prefix + 1 .. prefix + i of a block, i being its count "i". A damaged
// count cannot run the reading on and on: it is held to the entries the block has, and numbers
// without an entry are passed over.
std::vector<TBlockFilePtr> CountedEntries(const TBlockFilePtr& block, const std::string& prefix) {
    const int count = std::clamp(ReadNumber(block, "i"), 0, static_cast<int>(block->SubFiles.size()));
    std::vector<TBlockFilePtr> entries;
    for (int k = 1; k <= count; ++k)
        if (auto entry = GetBlockEntryNO_NEW(block, prefix + std::to_string(k))) entries.push_back(entry);
    return entries;
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

int TBaseProfile::InitID() {
    FileName.clear();
    name = Trim(name);
    bool first = true;
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
            if (!first) FileName += "-";
            FileName += std::to_string(static_cast<uint32_t>(units[i]));
            first = false;
        }
    }
    return 0;
}

int TBaseProfile::SetName(const std::string& text) {
    name = Trim(text);
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

int TProfile::Kingdom_HaveObject(const std::shared_ptr<TKingdomObject>& building) {
    if (!building) return 0;
    for (const auto& b : Buildings)
        if (b && (b == building || BuildingId(b) == BuildingId(building))) return 1;
    return 0;
}

int TProfile::HaveAward(const std::shared_ptr<TAward>& award) { return award ? isAward(award->id) : 0; }

int TProfile::isAward(int id) {
    for (const auto& a : Awards)
        if (a && a->id == id) return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Changes

int TProfile::Kingdom_AddObject(const std::shared_ptr<TKingdomObject>& building) {
    if (building) Buildings.push_back(building);
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
    Level = std::min(Level + 1, MaxLevel);
    SwitchTo(Screen(ProgressPlace::Kingdom), "kingdom");
    return 0;
}

int TProfile::Game_StartNew() {
    MapY = 0;
    MapScreenAnimationShowed = 0;
    TutorialScreenShowed = 0;
    KingdomTutorialScreenShowed = 0;
    LevelsWithoutMistakes = 0;
    LevelsWithoutHint = 0;
    LevelsWithHint = 0;
    HintUsed = 0;
    TilesUncovered = 0;
    TilesCrossed = 0;
    CashSpend = 0;

    CurrMusicNumber = 1;
    Level = 1;
    Stars = 0;
    Score = 0;
    CurrScreen.clear();
    BuildingStage = 0;

    Buildings.clear();
    UnresolvedBuildingIds.clear();
    Levels.clear();

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
    if (target)
        SwitchTo(target, CurrScreen.c_str());
    else
        SwitchTo(Screen(ProgressPlace::StagesMap), "stages map");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Files

namespace {

// Beside each of a player's files, its previous version.
const char* const kBackupExt = ".bak";

// The Id of a player's file path (its name without the extension).
std::string IdOfPath(const std::string& path) { return StripExt(StripDir(path)); }

// The player as the game shows names.
std::string Who(const std::string& name) { return name.empty() ? std::string("A player") : UpperUnicode(name); }

// The blocks of a progress file, in the writer's order, with what they hold in a player's words
// (the level and the score are said with their values where they were read whole).
struct ProgressBlock {
    const char* name;
    const char* words;
};
constexpr ProgressBlock kProgressBlocks[] = {
    {"Data", "the level and score"},
    {"Levels", "the levels played"},
    {"Stats", "the award counters"},
    {"Buildings", "the kingdom"},
    {"Awards", "the awards"},
};

// True when the block holds every entry the writer gives it (a block cut short lacks some).
bool BlockComplete(const TBlockFilePtr& root, const std::string& name) {
    auto block = GetBlockFileNO_NEW(root, name);
    if (!block) return false;
    auto has = [&](const std::string& entry) { return GetBlockEntryNO_NEW(block, entry) != nullptr; };
    auto hasAll = [&](std::initializer_list<const char*> entries) {
        for (const char* entry : entries)
            if (!has(entry)) return false;
        return true;
    };
    auto hasCounted = [&](const char* prefix) {
        if (!has("i")) return false;
        const int count = ReadNumber(block, "i");
        if (count < 0 || count > static_cast<int>(block->SubFiles.size())) return false;
        for (int k = 1; k <= count; ++k)
            if (!has(prefix + std::to_string(k))) return false;
        return true;
    };
    if (name == "Data")
        return hasAll({"Name", "Level", "Score", "Stars", "Screen", "MapScreenAnimationShowed", "TutorialScreenShowed",
                       "KingdomTutorialScreenShowed", "CurrMusic", "MapY"});
    if (name == "Levels") return hasCounted("Level");
    if (name == "Stats")
        return hasAll({"LevelsWithoutMistakes", "LevelWithoutHint", "LevelWithHint", "HintUsed", "TilesUncovered",
                       "TilesCrossed", "CashSpend"});
    if (name == "Buildings") return has("BuildingStage") && hasCounted("Object");
    return has("AwardsList");
}

// True when the block is there with at least one entry.
bool BlockRead(const TBlockFilePtr& root, const std::string& name) {
    auto block = GetBlockFileNO_NEW(root, name);
    if (!block) return false;
    for (const auto& node : block->SubFiles)
        if (node && node->MyType == BF_ENTRY) return true;
    return false;
}

// A damaged progress file read as far as it goes. A last line without its line feed is left
// out: its value may be cut too ("Level = 37" read as 3).
TBlockFilePtr SalvageProgress(const std::string& bytes, const std::string& path) {
    std::string text = DecodeText(bytes);
    const size_t end = text.rfind('\n');
    text.resize(end == std::string::npos ? 0 : end + 1);
    return ParseBlockFileText(text, path);
}

// The progress file at path when it reads whole and is one (it has its "Data" block); else null.
TBlockFilePtr ReadWholeProgress(const std::string& path) {
    if (FileType(path) != 1) return nullptr;
    bool whole = false;
    auto root = LoadBlockFileChecked(path, whole);
    return whole && !GetBlockFilesList(root, "Data").empty() ? root : nullptr;
}

// Every entry of the progress blocks that `into` lacks is taken from `from`.
void FillMissingEntries(const TBlockFilePtr& into, const TBlockFilePtr& from) {
    for (const ProgressBlock& b : kProgressBlocks) {
        auto source = GetBlockFileNO_NEW(from, b.name);
        if (!source) continue;
        auto target = GetBlockFileNO_NEW(into, b.name);
        if (!target) target = CreateBlockFile(b.name, into);
        for (const auto& entry : source->SubFiles)
            if (entry && entry->MyType == BF_ENTRY && !GetBlockEntryNO_NEW(target, entry->name))
                target->AddBlock(entry);
    }
}

// "a", "a, b", "a, b, c".
std::string ListInWords(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : ", ") + items[i];
    return text;
}

// The path and the texts of a save's two trees (the level in progress null when there is none),
// as one string to compare.
std::string StateText(const std::string& path, const TBlockFilePtr& progress, const TBlockFilePtr& level) {
    return path + '\0' + BlockFileToText(progress) + '\0' + (level ? BlockFileToText(level) : "");
}

// Keeps the file at path (when there is one) as its ".bak" copy, written atomically; a copy
// that fails is reported and the save goes on.
void KeepPrevious(const std::string& path) {
    if (FileType(path) != 1) return;
    if (!CopyFile(path, path + kBackupExt))
        Error("Couldn't keep the previous " + path + " as " + path + kBackupExt + " (" +
                  WriteErrorText(LastWriteError()) + ")",
              Here());
}

}  // namespace

bool TProfile::isKeptFile(const std::string& path) const {
    if (std::find(KeptFiles.begin(), KeptFiles.end(), path) == KeptFiles.end() || FileType(path) != 1) return false;
    Error("The unreadable file " + path + " is kept as it is and not written over", Here());
    return true;
}

int TProfile::Save(const std::string& path) {
    LastSaveError = 0;
    if (isKeptFile(path)) return 1;
    const std::string levelPath = StripExt(path) + ".PACLEVEL";
    // Nothing changed since the files on disk were read or written: nothing is written (and the
    // counter stays, so that they stay a pair). (SavedState is only set while they are a whole
    // save.)
    if (!SavedState.empty() && FileType(path) == 1 && (!isLevelInProgress() || FileType(levelPath) == 1) &&
        SaveState(path) == SavedState)
        return 1;
    // One save: a new counter for both files, the level in progress first. A kill between the
    // two leaves a level in progress whose counter the progress file does not have, and the
    // previous pair in the ".bak" files (kept only while the files on disk are a whole save).
    // Each tree is built once, with the new counter: written, then kept as SavedState.
    ++SaveCount;
    const auto level = LevelInProgressBlocks(levelPath);
    const bool levelWritten = WriteLevelInProgress(levelPath, level) != 0;
    const auto root = ProgressBlocks(path);
    if (isSaveWhole) KeepPrevious(path);
    // Written whole to a temporary file and then renamed over the old one: a write that fails
    // or is cut short leaves the previous progress file as it was.
    const bool written = SaveBlockFile(root);
    if (!written && LastSaveError == 0) LastSaveError = LastWriteError();
    if (written) FilesId = IdOfPath(path);
    isSaveWhole = written && levelWritten;
    SavedState = isSaveWhole ? StateText(path, root, level) : std::string();
    return written ? 1 : 0;
}

TBlockFilePtr TProfile::ProgressBlocks(const std::string& path) {
    auto root = CreateBlockFile(path);
    SaveData(root);
    SaveLevels(root);
    SaveStats(root);
    SaveBuildings(root);
    SaveAwards(root);
    return root;
}

bool TProfile::isLevelInProgress() const {
    return dynamic_cast<const TPACLevel*>(CurrLevel.get()) && !isLevelOver(CurrLevel.get());
}

TBlockFilePtr TProfile::LevelInProgressBlocks(const std::string& path) {
    if (!isLevelInProgress()) return nullptr;
    auto pac = std::static_pointer_cast<TPACLevel>(CurrLevel);
    // The level file, then the block that pairs it with the progress file.
    auto root = PacLevelToBlockFile(pac, path, 0);
    auto progress = CreateBlockFile("Progress", root);
    // The level as the progress file reads back (a new player's 0 reads as 1).
    AddIntToBlock(progress, "Level", std::clamp(Level, 1, MaxLevel));
    AddIntToBlock(progress, "SaveCount", SaveCount);
    return root;
}

std::string TProfile::SaveState(const std::string& path) {
    return StateText(path, ProgressBlocks(path), LevelInProgressBlocks(StripExt(path) + ".PACLEVEL"));
}

int TProfile::SaveData(const TBlockFilePtr& root) {
    auto data = CreateBlockFile("Data", root);
    AddStringToBlock(data, "Name", Trim(name));
    AddIntToBlock(data, "Level", Level);
    AddIntToBlock(data, "SaveCount", SaveCount);
    AddIntToBlock(data, "Score", Score);
    AddIntToBlock(data, "Stars", Stars);
    AddStringToBlock(data, "Screen", CurrScreen);
    AddIntToBlock(data, "MapScreenAnimationShowed", MapScreenAnimationShowed);
    AddIntToBlock(data, "TutorialScreenShowed", TutorialScreenShowed);
    AddIntToBlock(data, "KingdomTutorialScreenShowed", KingdomTutorialScreenShowed);
    AddIntToBlock(data, "CurrMusic", CurrMusicNumber);
    AddIntToBlock(data, "MapY", MapY);
    return 0;
}

int TProfile::SaveLevels(const TBlockFilePtr& root) {
    auto block = CreateBlockFile("Levels", root);
    AddIntToBlock(block, "i", static_cast<int>(Levels.size()));
    int k = 1;
    for (const auto& level : Levels) AddStringToBlock(block, "Level" + std::to_string(k++), level->ToString());
    return 0;
}

int TProfile::SaveStats(const TBlockFilePtr& root) {
    auto stats = CreateBlockFile("Stats", root);
    AddIntToBlock(stats, "LevelsWithoutMistakes", LevelsWithoutMistakes);
    AddIntToBlock(stats, "LevelWithoutHint", LevelsWithoutHint);
    AddIntToBlock(stats, "LevelWithHint", LevelsWithHint);
    AddIntToBlock(stats, "HintUsed", HintUsed);
    AddIntToBlock(stats, "TilesUncovered", TilesUncovered);
    AddIntToBlock(stats, "TilesCrossed", TilesCrossed);
    AddIntToBlock(stats, "CashSpend", CashSpend);
    return 0;
}

int TProfile::SaveBuildings(const TBlockFilePtr& root) {
    std::vector<int> ids;
    for (const auto& b : Buildings)
        if (b) ids.push_back(BuildingId(b));
    ids.insert(ids.end(), UnresolvedBuildingIds.begin(), UnresolvedBuildingIds.end());
    auto block = CreateBlockFile("Buildings", root);
    AddIntToBlock(block, "i", static_cast<int>(ids.size()));
    AddIntToBlock(block, "BuildingStage", BuildingStage);
    int k = 1;
    for (int id : ids) AddIntToBlock(block, "Object" + std::to_string(k++), id);
    return 0;
}

int TProfile::SaveAwards(const TBlockFilePtr& root) {
    std::string list;
    for (const auto& a : Awards)
        if (a) list += std::to_string(a->id) + " ";
    for (int id : UnresolvedAwardIds) list += std::to_string(id) + " ";
    auto block = CreateBlockFile("Awards", root);
    AddStringToBlock(block, "AwardsList", Trim(list));
    return 0;
}

int TProfile::WriteLevelInProgress(const std::string& path, const TBlockFilePtr& root) {
    if (!CurrLevel || isKeptFile(path)) return 1;
    if (isLevelOver(CurrLevel.get())) {
        // A lost or won level is not play in progress; an earlier level in progress was
        // superseded by it. It goes to ".bak" while it belongs to the whole save on disk, so
        // that a kill before the progress file is written finds the pair there.
        if (FileType(path) != 1) return 1;
        if (isSaveWhole ? RenameFile(path, path + kBackupExt) : DeleteFile(path)) return 1;
        LastSaveError = LastWriteError();
        Error("Couldn't remove the finished level in progress " + path, Here());
        return 0;
    }
    // Only a clue-grid level is ever a player's level in progress.
    if (!root) return 1;
    if (isSaveWhole) KeepPrevious(path);
    if (SaveBlockFile(root)) return 1;
    LastSaveError = LastWriteError();
    return 0;
}

int TProfile::Load(const std::string& path) {
    Print("Loading Profile");
    const std::string backup = path + kBackupExt;
    FilesId = IdOfPath(path);
    bool whole = false;
    TBlockFilePtr root;
    // How the progress was read, for the player.
    enum class Read { Whole, Salvaged, Restored, Lost } how = Read::Whole;
    bool missing = false;
    std::vector<std::string> kept, keptInPart, fromBackup, lost;
    if (FileType(path) != 1) {
        missing = true;
        root = ReadWholeProgress(backup);
        how = root ? Read::Restored : Read::Lost;
        Error("No progress file " + path +
                  (root ? "; the previous save " + backup + " is restored" : "; the player starts from the beginning"),
              Here());
    } else {
        root = LoadBlockFileChecked(path, whole);
        if (!whole || GetBlockFilesList(root, "Data").empty()) {
            whole = false;
            std::string bytes;
            LoadBytes(path, bytes);
            auto salvaged = SalvageProgress(bytes, path);
            auto previous = ReadWholeProgress(backup);
            bool anything = false;
            for (const ProgressBlock& b : kProgressBlocks) {
                // (The level and the score read whole are said with their values, below.)
                const std::string words = std::string(b.name) == "Data" ? "" : b.words;
                if (BlockComplete(salvaged, b.name)) {
                    kept.push_back(words);
                } else if (previous && GetBlockFileNO_NEW(previous, b.name)) {
                    fromBackup.push_back(words);
                } else if (BlockRead(salvaged, b.name)) {
                    keptInPart.push_back(b.words);
                } else {
                    lost.push_back(b.words);
                }
                anything = anything || BlockRead(salvaged, b.name);
            }
            if (anything) {
                // Every entry that still reads is kept; the previous save, when it reads whole,
                // fills in what is missing; anything else gets its default.
                if (previous) FillMissingEntries(salvaged, previous);
                root = salvaged;
                how = Read::Salvaged;
            } else {
                root = previous;
                how = previous ? Read::Restored : Read::Lost;
            }
            Error("The progress file " + path + " is damaged; " +
                      (how == Read::Salvaged ? std::string("what still reads is kept") +
                                                   (previous ? ", the rest taken from " + backup : std::string())
                       : how == Read::Restored ? "the previous save " + backup + " is restored"
                                               : "the player starts from the beginning"),
                  Here());
            if (SetFileAside(path).empty()) KeptFiles.push_back(path);
        }
    }
    if (!root) root = CreateBlockFile(path);
    // A damaged file's name may be cut or run on (a quoted text whose end is lost): the list of
    // players' name, which names the files, stays.
    const std::string listedName = name;
    LoadData(root);
    if (how == Read::Salvaged && !listedName.empty()) name = listedName;
    LoadStats(root);
    LoadLevels(root);
    LoadBuildings(root);
    LoadAwards(root);
    const LevelInProgressRead levelRead = LoadProfileLevel(StripExt(path) + ".PACLEVEL");
    isSaveWhole = true;
    // The files on disk hold what was read: a save with nothing changed writes nothing. (A level
    // in progress that did not come from its file is written at the first save.)
    SavedState = how == Read::Whole && levelRead.isAsOnDisk ? SaveState(path) : std::string();

    const std::string who = Who(name);
    const std::string levelAndScore = "level " + std::to_string(Level) + ", score " + std::to_string(Score);
    auto said = [&](std::vector<std::string> items) {
        for (auto& item : items)
            if (item.empty()) item = levelAndScore;
        return ListInWords(items);
    };
    // Short enough for the message pop-up (four lines); the console lines name the files.
    std::string text;
    if (missing) {
        text = how == Read::Restored ? who + "'s save was missing; the save before it was restored (" + levelAndScore + ")."
                                     : "No save was found for " + who + ": " + who + " starts again from level 1.";
    } else if (how == Read::Restored) {
        text = who + "'s save was damaged; the save before it was restored (" + levelAndScore +
               "). The damaged file was kept.";
    } else if (how == Read::Lost && name.empty()) {
        // (A file of no known player, which is left out.)
        text = "A player's save was damaged and could not be read; it was kept aside.";
    } else if (how == Read::Lost) {
        text = who + "'s save was damaged and could not be read: " + who +
               " starts again from level 1. The damaged file was kept.";
    } else if (how == Read::Salvaged) {
        text = who + "'s save was damaged.";
        if (!kept.empty()) text += " Kept: " + said(kept) + ".";
        if (!keptInPart.empty()) text += " Partly kept: " + said(keptInPart) + ".";
        if (!fromBackup.empty()) text += " From the save before: " + said(fromBackup) + ".";
        if (!lost.empty()) text += " Lost: " + said(lost) + ".";
    }
    if (!text.empty()) TellPlayer(text);
    // The level in progress is told about only when the progress came from the current file: a
    // restored progress file brings its own level in progress back with it.
    if ((how == Read::Whole || how == Read::Salvaged) && !levelRead.notice.empty()) TellPlayer(levelRead.notice);
    return whole ? 1 : 0;
}

int TProfile::LoadData(const TBlockFilePtr& root) {
    auto data = GetBlockFile(root, "Data");
    // The Id is not recomputed here: it stays the one the index's name gave until the next save.
    // A file without a name (one that could not be read) leaves the index's name.
    const std::string fileName = Trim(GetBFString(data, "Name"));
    if (!fileName.empty()) name = fileName;
    Level = std::min(ReadNumber(data, "Level"), MaxLevel);
    CurrScreen = GetBFString(data, "Screen");
    Score = ReadNumber(data, "Score");
    Stars = ReadNumber(data, "Stars");
    MapY = ReadNumber(data, "MapY");
    MapScreenAnimationShowed = ReadNumber(data, "MapScreenAnimationShowed");
    TutorialScreenShowed = ReadNumber(data, "TutorialScreenShowed");
    KingdomTutorialScreenShowed = ReadNumber(data, "KingdomTutorialScreenShowed");
    CurrMusicNumber = ReadNumber(data, "CurrMusic");
    // Missing in files of an older build: 0.
    SaveCount = std::max(ReadNumber(data, "SaveCount"), 0);
    // A level number names a level file: below 1 it is 1.
    if (Level < 1) Level = 1;
    // 0 is an old profile's "not started" (the music player takes it as 1); anything else
    // outside the cycle starts it again.
    if (CurrMusicNumber < 0 || CurrMusicNumber > MusicTracksInCycle) CurrMusicNumber = 1;
    return 0;
}

int TProfile::LoadStats(const TBlockFilePtr& root) {
    auto stats = GetBlockFile(root, "Stats");
    LevelsWithoutMistakes = GetBFInt(stats, "LevelsWithoutMistakes");
    LevelsWithoutHint = GetBFInt(stats, "LevelWithoutHint");
    LevelsWithHint = GetBFInt(stats, "LevelWithHint");
    HintUsed = GetBFInt(stats, "HintUsed");
    TilesUncovered = GetBFInt(stats, "TilesUncovered");
    TilesCrossed = GetBFInt(stats, "TilesCrossed");
    CashSpend = GetBFInt(stats, "CashSpend");
    return 0;
}

int TProfile::LoadLevels(const TBlockFilePtr& root) {
    auto block = GetBlockFile(root, "Levels");
    for (const auto& entry : CountedEntries(block, "Level"))
        Levels.push_back(CreateProfileLevelFromString(entry->GetString(0)));
    return 0;
}

int TProfile::LoadBuildings(const TBlockFilePtr& root) {
    auto block = GetBlockFile(root, "Buildings");
    // The stage selects the kingdom's offers, four to a stage.
    BuildingStage = std::clamp(ReadNumber(block, "BuildingStage"), 0, MaxBuildingStage);
    for (const auto& entry : CountedEntries(block, "Object")) {
        const int id = TruncToInt(entry->GetFloat(0));
        if (auto building = ProgressHooks::FindBuilding(id)) {
            Buildings.push_back(building);
        } else if (!ProgressHooks::BuildingsKnown()) {
            // Without the kingdom's buildings no id can be judged: keep it for the next save.
            UnresolvedBuildingIds.push_back(id);
        }
    }
    return 0;
}

int TProfile::LoadAwards(const TBlockFilePtr& root) {
    const std::string list = GetBFString(root, "Awards::AwardsList");
    Awards.clear();
    UnresolvedAwardIds.clear();
    for (const std::string& piece : TokenizeString(list, " ")) {
        const int id = StringToInt(piece);
        if (auto award = GetAwardById(id)) {
            Awards.push_back(award);
        } else if (AwardsList.empty() && id != 0) {
            // Without the award catalogue no id can be judged: keep it for the next save.
            UnresolvedAwardIds.push_back(id);
        }
    }
    return 0;
}

TProfile::LevelInProgressRead TProfile::LoadProfileLevel(const std::string& path) {
    LevelInProgressRead read;
    // The counter the progress file was read with: a level in progress of the same save carries
    // it (both are 0 in files of an older build, which go together as they always did).
    const int progressCount = SaveCount;
    int highest = SaveCount;
    // What the file at path was: none, resumed, damaged, of a later save that was cut short
    // before its progress file was written, of another save.
    enum class Current { None, Resumed, Damaged, CutShort, OtherSave } current = Current::None;
    bool resumed = false;
    for (const std::string& file : {path, path + kBackupExt}) {
        if (FileType(file) != 1) continue;
        const bool isCurrent = file == path;
        bool whole = false;
        auto root = LoadBlockFileChecked(file, whole);
        auto record = GetBlockFileNO_NEW(root, "Progress");
        const int count = record ? std::max(ReadNumber(record, "SaveCount"), 0) : 0;
        highest = std::max(highest, count);
        const bool matches = record ? count == progressCount && ReadNumber(record, "Level") == Level : progressCount == 0;
        std::shared_ptr<TLevel> level = whole ? PacLevelFromBlockFile(root, file) : nullptr;
        if (level && matches) {
            CurrLevel = level;
            resumed = true;
            if (isCurrent)
                current = Current::Resumed;
            else
                Error("The last save of " + path + " was cut short; the level in progress of the save before, " + file +
                          ", is resumed",
                      Here());
            break;
        }
        if (!isCurrent) continue;  // a previous level in progress that is not this save's: left as it is
        // The reader reported a damaged file; one of another save is reported here. Either is
        // kept aside and never resumed under this progress.
        current = !level ? Current::Damaged : count > progressCount ? Current::CutShort : Current::OtherSave;
        if (level)
            Error(
                "The level in progress " + path + " is not the one of this progress file (" +
                    (record ? "level " + std::to_string(ReadNumber(record, "Level")) + ", save " + std::to_string(count)
                            : std::string("no save counter")) +
                    "; the progress is at level " + std::to_string(Level) + ", save " + std::to_string(progressCount) +
                    ")",
                Here());
        else if (!whole)
            Error("The level in progress " + path + " is damaged", Here());
        if (SetFileAside(file).empty()) KeptFiles.push_back(file);
    }
    SaveCount = highest;
    const std::string who = Who(name);
    const std::string level = "level " + std::to_string(std::clamp(Level, 1, MaxLevel));
    if (resumed && current != Current::Resumed) {
        read.notice = who + "'s last save was cut short: " + level + " goes on as it was at the save before.";
    } else if (!resumed && current == Current::CutShort) {
        read.notice = who + "'s last save was cut short: " + level + " starts anew, as at the save before.";
    } else if (!resumed && current == Current::Damaged) {
        read.notice = who + "'s level in progress was damaged: " + level + " starts anew.";
    } else if (!resumed && current == Current::OtherSave) {
        read.notice = who + "'s level in progress did not match the save: " + level + " starts anew.";
    }
    read.isAsOnDisk = current == Current::Resumed || (!resumed && current == Current::None);
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

std::string SetFileAside(const std::string& path) {
    std::string aside = path + ".bad";
    for (int n = 2; FileType(aside) != 0; ++n) {
        if (n > 1000) return "";
        aside = path + ".bad" + std::to_string(n);
    }
    if (!RenameFile(path, aside)) {
        Error("Couldn't set the file " + path + " aside", Here());
        return "";
    }
    Error("The file " + path + " was kept aside as " + aside, Here());
    return aside;
}

void ResetProfileGlobals() {
    Profile = nullptr;
    ResetPlayerNotices();
}
