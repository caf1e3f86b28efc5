// A player's profile: the level to play, the score (the kingdom's money), stars, the screen on
// which play stopped, one-time help flags, the music rotation, the stages map's scroll, one
// record per level touched, the statistics the awards count, the kingdom's buildings and the
// awards won. The profile also carries the game-flow operations that load a level, hand it to
// the game screen and switch screens, so that every screen moves the player through the same
// few entry points.
//
// The current player is the global Profile; only the profiles pop-up (ProfileManager.h)
// assigns it.
//
// Progress file (a block file, Id + ".AppProfile" in the per-user "Profiles" folder), blocks
// in this order:
//   Data      Name, Level, Score, Stars, Screen, MapScreenAnimationShowed,
//             TutorialScreenShowed, KingdomTutorialScreenShowed, CurrMusic, MapY
//   Levels    i = record count, Level1 .. Level<i> = the records' text form
//   Stats     LevelsWithoutMistakes, LevelWithoutHint, LevelWithHint, HintUsed,
//             TilesUncovered, TilesCrossed, CashSpend
//   Buildings i, BuildingStage, Object1 .. Object<i> = building ids
//   Awards    AwardsList = award ids separated by single spaces
// Beside it, Id + ".PACLEVEL" holds the level in progress with the state of every tile.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"

class TLevel;
class TAward;
class TKingdomObject;
class TTutorialTip;

// Highest level number; level files exist for 1 to MaxLevel.
constexpr int MaxLevel = 100;
// Stars a level can give.
constexpr int MaxLevelStars = 3;
// Building stages of the kingdom run from 0 to this.
constexpr int MaxBuildingStage = 6;
// Music tracks the level music cycles through (the counter is 1 to this; 0 counts as 1).
constexpr int MusicTracksInCycle = 6;

// One level's record in a profile. Text form: the seven fields in decimal, in field order,
// joined by "," ("3,1,1,2,950,412,120").
class TProfileLevel {
public:
    int id = 0;              // the level number
    int isPassed = 0;        // 1 once won
    int isUnlocked = 0;      // 1 once playable
    int Stars = 0;           // stars of the last win, 0 to 3
    int Score = 0;           // total score of the last win
    int TilesUncovered = 0;  // the profile's running totals at the last win
    int TilesCrossed = 0;

    std::string ToString() const;
    // Reads the text form: pieces split at "," (an empty inner piece counts, an empty last one
    // does not), each read as a decimal integer into the fields in order; fields without a piece
    // stay 0, further pieces are ignored. Stars outside 0..3 are brought inside.
    int FromString(const std::string& text);
};
using TProfileLevelPtr = std::shared_ptr<TProfileLevel>;

// A new record of that level, every other field 0.
TProfileLevelPtr CreateprofileLevel(int id);
TProfileLevelPtr CreateProfileLevelFromString(const std::string& text);

class TBaseProfile {
public:
    std::string name;      // always trimmed
    std::string FileName;  // the Id derived from name; names the player's files

    virtual ~TBaseProfile() = default;

    // Trims name and derives the Id: the UTF-16 code units of the name in decimal, joined by
    // "-" ("Ann" gives 65-110-110; an empty name an empty Id). The Id holds only digits and
    // "-", so it is always a plain file name.
    virtual int InitID();
    // Stores the trimmed text as the name, then InitID.
    virtual int SetName(const std::string& text);
    // Creates the folder when it does not exist.
    virtual int InitSave(const std::string& folder);
    virtual int Save(const std::string&) { return 0; }
    virtual int Load(const std::string&) { return 0; }
};

class TProfile : public TBaseProfile {
public:
    std::vector<TProfileLevelPtr> Levels;  // one record per level touched, in creation order
    int Level = 0;                         // the level to play next or being played
    int Stars = 0;                         // sum of the records' stars (Game_CountStars)
    int Score = 0;                         // the player's money
    std::vector<std::shared_ptr<TTutorialTip>> Tips;  // tips already shown; not saved
    std::vector<std::shared_ptr<TAward>> Awards;      // awards won, in the order won
    int MapY = 0;                                     // scroll position of the stages map
    int BuildingStage = 0;                            // the kingdom's building stage, 0 to 6
    std::vector<std::shared_ptr<TKingdomObject>> Buildings;  // buildings bought, in order
    std::shared_ptr<TLevel> CurrLevel;  // the level being played or to be resumed
    std::string CurrScreen;             // "GameScreen", "Kingdom", "Stages"; empty: nothing to continue
    int CurrMusicNumber = 1;            // the next music track, 1 to 6
    int MapScreenAnimationShowed = 0;
    int TutorialScreenShowed = 0;
    int KingdomTutorialScreenShowed = 0;
    int LevelsWithoutMistakes = 0;
    int LevelsWithoutHint = 0;
    int LevelsWithHint = 0;
    int HintUsed = 0;
    int TilesUncovered = 0;
    int TilesCrossed = 0;
    int CashSpend = 0;
    // Building and award ids read while the kingdom's buildings or the award catalogue were not
    // there to resolve them; written back unchanged so that they are not lost.
    std::vector<int> UnresolvedBuildingIds;
    std::vector<int> UnresolvedAwardIds;
    // Files of this player that could not be read and could not be set aside either: they are
    // never written over.
    std::vector<std::string> KeptFiles;

    // ---- Queries ----
    // 1 when there is play to continue (CurrScreen not empty).
    virtual int CanContinue();
    virtual int Game_LevelStarsCount(int id);
    virtual int isLevelAvailableToPlay(int id);
    virtual int isLevelPassed(int id);
    // The first record of that level; when there is none and create is not 0, a new record
    // appended to Levels; else null.
    virtual TProfileLevelPtr GetLevel(int id, int create);
    // Stars = the sum of the records' stars; returns it.
    virtual int Game_CountStars();
    // Records with isPassed set.
    virtual int Game_CountPlayedLevels();
    // Game_CountStars; returns 0.
    virtual int Game_CountSummaryDatas();
    virtual int Kingdom_FirstAward();   // 1 with 14 or more buildings
    virtual int Kingdom_SecondAward();  // 1 with exactly 28 buildings
    virtual int Kingdom_HaveObject(const std::shared_ptr<TKingdomObject>& building);
    virtual int HaveAward(const std::shared_ptr<TAward>& award);
    virtual int isAward(int id);

    // ---- Changes ----
    // Appends the building (no test for one already there).
    virtual int Kingdom_AddObject(const std::shared_ptr<TKingdomObject>& building);
    virtual int Level_Unlock(int id);
    virtual int Level_Pass(int id);
    // The record of Level gets isPassed, the stars and score of this win and the profile's
    // tile totals; isUnlocked is left as it is.
    virtual int Game_PassCurrLevel(int stars, int score);

    // ---- Game flow ----
    // Level brought into 1..100, then CurrLevel = the level file of that number (null, after
    // an error line, when it cannot be read).
    virtual int LoadCurrLevel();
    // Level = id, then the level is loaded, handed to the game screen and switched to.
    virtual int Game_PlayLevel(int id);
    // The same for the current Level.
    virtual int Game_PlayNextLevel();
    // Reloads the current level and hands it to the game screen; switches no screen (the
    // caller's GoToScreen does, with RestartCurrPlayerLevel as its callback).
    virtual int Game_RestartLevel();
    // Level + 1 (at most 100), then to the kingdom.
    virtual int Game_IncriseLevel();
    // Starts over: statistics, flags, records and buildings cleared, level 1 unlocked, then to
    // the stages map. Awards, tips and CurrLevel are kept.
    virtual int Game_StartNew();
    // Back to the screen named by CurrScreen; on "GameScreen" the level in progress is played
    // on, unless it is over (lost or won): then that level starts afresh.
    virtual int Game_Continue();

    // ---- Files ----
    // Writes the progress file at path (whole, atomically) and the level in progress beside it;
    // a file of KeptFiles is not written over (reported). Returns 1 when the progress file was
    // written or kept, 0 when writing it failed (after an error line).
    int Save(const std::string& path) override;
    // Reads the progress file at path and the level in progress beside it. A missing or damaged
    // progress file gives the defaults with an error line; a damaged one is first set aside
    // (renamed with ".bad" appended) so that the next save cannot overwrite it, or joins
    // KeptFiles when it cannot be moved. Values that
    // select levels, stars, stages or tracks are brought into their ranges. Returns 1 when the
    // progress file was read whole, else 0.
    int Load(const std::string& path) override;
    virtual int SaveData(const TBlockFilePtr& root);
    virtual int SaveLevels(const TBlockFilePtr& root);
    virtual int SaveBuildings(const TBlockFilePtr& root);
    // Writes the level in progress to path; a level that is over is not a level in progress:
    // nothing is written for it and an earlier file at path is removed, so that it never
    // resumes. Nothing without a current level.
    virtual int SaveCurrLevel(const std::string& path);
    virtual int SaveStats(const TBlockFilePtr& root);
    virtual int SaveAwards(const TBlockFilePtr& root);
    virtual int LoadData(const TBlockFilePtr& root);
    virtual int LoadLevels(const TBlockFilePtr& root);
    virtual int LoadBuildings(const TBlockFilePtr& root);
    virtual int LoadStats(const TBlockFilePtr& root);
    // CurrLevel from the file at path when there is one (a damaged one is set aside), else the
    // fresh level of number Level.
    virtual int LoadProfileLevel(const std::string& path);
    virtual int LoadAwards(const TBlockFilePtr& root);
    // True (reported) when path is one of KeptFiles and still there.
    bool isKeptFile(const std::string& path) const;
};
using TProfilePtr = std::shared_ptr<TProfile>;

// The current player's profile; null until the profiles are read at start-up.
extern TProfilePtr Profile;

// A new profile with the trimmed name and its Id.
TProfilePtr CreateNewProfile(const std::string& name);
// Profile->Game_RestartLevel(): the callback of every screen switch that restarts the level.
void RestartCurrPlayerLevel();

// 1 when play of the level is over: the game screen marked it won or lost (isLevelWon,
// isLevelLost), or it holds the losing mistake. Such a level is never resumed.
int isLevelOver(const TLevel* level);

// Renames a file that could not be read to path + ".bad" (".bad2", ".bad3", ... when that is
// taken), so that it is kept and never overwritten; reports where it went. Returns the new
// path, "" when it could not be moved.
std::string SetFileAside(const std::string& path);

// Tests: Profile back to null.
void ResetProfileGlobals();
