#include "game/progress/Profile.h"

#include <algorithm>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Control.h"
#include "engine/system/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/progress/Awards.h"
#include "game/progress/ProgressHooks.h"
#include "game/puzzle/Level.h"
#include "game/puzzle/LevelFiles.h"
#include "platform/Files.h"
#include "platform/Strings.h"

TProfilePtr Profile;

namespace {

const char* const kSource = "Profile";

// The mistake that loses a level.
constexpr int LevelMistakesToLose = 6;

// A number entry read as the profiles read numbers: a real, truncated toward zero.
int ReadNumber(const TBlockFilePtr& block, std::string_view path) { return TruncToInt(GetBFNumber(block, path)); }

// Switches to the screen through the cross-fade; a screen that was never made is reported and
// the player stays where they are.
void SwitchTo(const std::shared_ptr<TAppScreen>& screen, const char* what) {
    if (!screen) {
        Error(std::string("No ") + what + " to go to", kSource, "TProfile");
        return;
    }
    GoToScreen(screen, nullptr);
}

std::shared_ptr<TAppScreen> Screen(const std::function<std::shared_ptr<TAppScreen>()>& hook) {
    return hook ? hook() : nullptr;
}

// Hands the level to the game screen; gives the screen (null when there is none).
std::shared_ptr<TAppScreen> HandToGame(const std::shared_ptr<TLevel>& level) {
    return ProgressHooks::PlayLevel ? ProgressHooks::PlayLevel(level) : nullptr;
}

// Buildings are told apart by their ids (the kingdom installs the hook before it makes one).
int BuildingId(const std::shared_ptr<TKingdomObject>& building) {
    return building && ProgressHooks::BuildingId ? ProgressHooks::BuildingId(*building) : 0;
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
    if (FileType(folder) == 0 && !CreateDir(folder, false))
        Error("Couldn't create the folder " + folder, kSource, "TBaseProfile :: InitSave()");
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
        if (b && (b == building || (ProgressHooks::BuildingId && BuildingId(b) == BuildingId(building)))) return 1;
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
    SwitchTo(Screen(ProgressHooks::KingdomScreen), "kingdom");
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
    SwitchTo(Screen(ProgressHooks::StagesScreen), "stages map");
    return 0;
}

int TProfile::Game_Continue() {
    std::shared_ptr<TAppScreen> target;
    if (!CurrScreen.empty()) {
        target = Control::GetScreenById(CurrScreen);
        if (!target)
            Error("No screen named '" + CurrScreen + "' to continue on; going to the stages map", kSource,
                  "TProfile :: Game_Continue()");
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
        SwitchTo(Screen(ProgressHooks::StagesScreen), "stages map");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Files

bool TProfile::isKeptFile(const std::string& path) const {
    if (std::find(KeptFiles.begin(), KeptFiles.end(), path) == KeptFiles.end() || FileType(path) != 1) return false;
    Error("The unreadable file " + path + " is kept as it is and not written over", kSource, "TProfile :: Save()");
    return true;
}

int TProfile::Save(const std::string& path) {
    if (isKeptFile(path)) return 1;
    auto root = CreateBlockFile(path);
    SaveData(root);
    SaveLevels(root);
    SaveStats(root);
    SaveBuildings(root);
    SaveAwards(root);
    SaveCurrLevel(StripExt(path) + ".PACLEVEL");
    // Written whole to a temporary file and then renamed over the old one: a write that fails
    // or is cut short leaves the previous progress file as it was.
    return SaveBlockFile(root) ? 1 : 0;
}

int TProfile::SaveData(const TBlockFilePtr& root) {
    auto data = CreateBlockFile("Data", root);
    AddStringToBlock(data, "Name", Trim(name));
    AddIntToBlock(data, "Level", Level);
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

int TProfile::SaveCurrLevel(const std::string& path) {
    if (!CurrLevel || isKeptFile(path)) return 0;
    if (isLevelOver(CurrLevel.get())) {
        // A lost or won level is not play in progress; an earlier level in progress was
        // superseded by it.
        if (FileType(path) == 1 && !DeleteFile(path))
            Error("Couldn't remove the finished level in progress " + path, kSource, "TProfile :: SaveCurrLevel()");
        return 0;
    }
    SaveLevel(CurrLevel, path);
    return 0;
}

int TProfile::Load(const std::string& path) {
    Print("Loading Profile");
    bool whole = false;
    TBlockFilePtr root;
    if (FileType(path) != 1) {
        Error("No progress file " + path + "; the player starts from the beginning", kSource, "TProfile :: Load()");
    } else {
        root = LoadBlockFileChecked(path, whole);
        if (!whole || GetBlockFilesList(root, "Data").empty()) {
            whole = false;
            Error("The progress file " + path + " is damaged; the player starts from the beginning", kSource,
                  "TProfile :: Load()");
            if (SetFileAside(path).empty()) KeptFiles.push_back(path);
            root = nullptr;
        }
    }
    if (!root) root = CreateBlockFile(path);
    LoadData(root);
    LoadStats(root);
    LoadLevels(root);
    LoadBuildings(root);
    LoadAwards(root);
    LoadProfileLevel(StripExt(path) + ".PACLEVEL");
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
        if (auto building = ProgressHooks::FindBuilding ? ProgressHooks::FindBuilding(id) : nullptr) {
            Buildings.push_back(building);
        } else if (!ProgressHooks::BuildingsKnown || !ProgressHooks::BuildingsKnown()) {
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

int TProfile::LoadProfileLevel(const std::string& path) {
    if (FileType(path) == 1) {
        CurrLevel = LoadLevel(path);
        if (CurrLevel) return 0;
        // The reader reported what is wrong; keep the file and start the level afresh.
        if (SetFileAside(path).empty()) KeptFiles.push_back(path);
    }
    return LoadCurrLevel();
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
        Error("Couldn't set the damaged file " + path + " aside", kSource, "SetFileAside()");
        return "";
    }
    Error("The damaged file " + path + " was kept as " + aside, kSource, "SetFileAside()");
    return aside;
}

void ResetProfileGlobals() { Profile = nullptr; }
