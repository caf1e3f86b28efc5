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
// Progress file (a block file, Id + ".AppProfile" in the per-user "Profiles" folder): its blocks
// and entries, and how each is written, read, found complete and reset, are one table
// (ProgressFile.h).
// Beside it, Id + ".PACLEVEL" holds the level in progress with the state of every tile (a level
// file), followed by a block "Progress" with "Level" (the level number it belongs to) and
// "SaveCount".
//
// The two files are one save: every save counts SaveCount up and writes it into both, the level
// in progress first, or neither (a level in progress that cannot be written fails the save as a
// whole). A level in progress is resumed only when its "Progress" block names the progress
// file's Level and SaveCount (files of an older build carry neither, and go together as they
// always did); one that does not match is set aside and the level starts anew, so that a board
// is never booked under another level. Before a save, the files on disk are kept beside them
// with ".bak" appended (only while they are a whole save, and each only when it reads back good:
// SaveFiles.h), so a kill between the two writes leaves the previous pair in the ".bak" files,
// where loading finds it.
//
// Both files carry checks of their content (SaveFiles.h). A damaged progress file is salvaged
// block by block: each block from the newest copy in which its check holds (the file, else its
// ".bak", each block read by its own lines where the copy does not read whole; a ".bak" with a
// newer save number than the file is the newest); where no copy can be trusted, every entry that
// still reads; what none has gets its default. A damaged level in progress is put together part
// by part (its clock and score, its picture, its tiles, its hints: each part carries a check
// bound to its save) from whichever copy holds the part whole for this save, or for the progress
// file's save before at the same level. (The list of players' name stays.) The damaged bytes are
// set aside (".bad") and the player is told on screen exactly what was kept, what came from the
// save before and what was lost (PlayerNotices.h); the list of players writes the repair at once.
//
// Every file read is written back whole, with its checks and number, at the first save after it
// was read when the disk holds it in another form than this build writes (ReadState).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"

class TLevel;
class TAward;
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
    std::vector<TProfileLevelPtr> Levels;             // one record per level touched, in creation order
    int Level = 0;                                    // the level to play next or being played
    int Stars = 0;                                    // sum of the records' stars (Game_CountStars)
    int Score = 0;                                    // the player's money
    std::vector<std::shared_ptr<TTutorialTip>> Tips;  // tips already shown; not saved
    std::vector<std::shared_ptr<TAward>> Awards;      // awards won, in the order won
    int MapY = 0;                                     // scroll position of the stages map
    int BuildingStage = 0;                            // the kingdom's building stage, 0 to 6
    std::vector<int> Buildings;         // the ids of the buildings bought, in order (the kingdom's to resolve)
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
    // Award ids read while the award catalogue was not there to resolve them; written back
    // unchanged so that they are not lost.
    std::vector<int> UnresolvedAwardIds;
    // Files of this player that could not be read and could not be set aside either: they are
    // never written over.
    std::vector<std::string> KeptFiles;
    // Files of this player found damaged, or a level in progress of another save, still in their
    // place (their copies set aside, or in KeptFiles until they can be): never kept as the save
    // before, and removed by the save that writes the repair when it does not write over them.
    std::vector<std::string> StaleFiles;
    // The counter of this player's saves: read as the highest any of the player's files carries,
    // counted up by every save (which writes it into the progress file and the level in
    // progress).
    int SaveCount = 0;
    // 1 when the save has a level in progress with play in it beside it (written by each save,
    // read from the progress file): a level in progress missing from the disk is then told.
    int HasLevelInProgress = 0;
    // Set while the player's files on disk are a whole save (read by Load, or written whole by
    // the last Save): only then does a save keep them as the ".bak" copies.
    bool isSaveWhole = false;
    // The errno of the last Save's first failed write; 0 when everything was written.
    int LastSaveError = 0;
    // The Id under which the player's files were last read or written ("" for a player never
    // saved): the files that leave with the player when the player is deleted.
    std::string FilesId;
    // The Id of the player's files under the name before a rename that is not finished yet
    // (Players.h): they go where a deleted player's go once the list names the new name.
    std::string RenamedFromId;
    // What the player's files on disk hold, as SaveState gives it, when they are exactly what a
    // save of it writes: set by a Load that read them so and by a Save that wrote them whole (""
    // when unknown). A Save that would write the same writes nothing.
    std::string SavedState;
    // What was read, as SaveState gives it, when the files on disk hold it (nothing restored,
    // salvaged or set aside; "" when a repair is due). A Save that would write the same only
    // writes back what the disk holds in another form (an earlier build's file, values brought
    // into range, ids that name nothing): its failure loses nothing, and is not told.
    std::string ReadState;

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
    virtual int Kingdom_FirstAward();                // 1 with 14 or more buildings
    virtual int Kingdom_SecondAward();               // 1 with exactly 28 buildings
    virtual int Kingdom_HaveObject(int buildingId);  // 1 when that building was bought
    virtual int HaveAward(const std::shared_ptr<TAward>& award);
    virtual int isAward(int id);

    // ---- Changes ----
    // Appends the building's id (no test for one already there).
    virtual int Kingdom_AddObject(int buildingId);
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
    // What Game_IncriseLevel books, going nowhere: Level + 1 (at most 100) and the kingdom as the
    // screen to continue on (the game ends before it gets there).
    virtual int Game_BookNextLevel();
    // Starts over: statistics, flags, records and buildings cleared, level 1 unlocked, then to
    // the stages map. Awards, tips and CurrLevel are kept.
    virtual int Game_StartNew();
    // Back to the screen named by CurrScreen; on "GameScreen" the level in progress is played
    // on, unless it is over (lost or won): then that level starts afresh.
    virtual int Game_Continue();

    // ---- Files ----
    // One save: SaveCount counted up, the previous versions of both files kept as ".bak" while
    // the files on disk are a whole save (KeepSaveBefore: for a player who took a new name, the
    // files under the old Id), the level in progress written beside path (or, when there is none
    // in play, its file removed), then the progress file at path, each whole and atomically;
    // when the level in progress cannot be written the progress file is not either. Once the
    // progress file is written, the StaleFiles it did not write over are removed. Nothing is
    // written when nothing changed since the files were read or written (SavedState). A file of
    // KeptFiles is set aside first, and never written over: while it cannot be copied aside the
    // save fails. LastSaveError tells why a save failed. Returns 1 when the
    // save was made or was already on disk, 0 when it failed (after an error line).
    int Save(const std::string& path) override;
    // Reads the progress file at path and the level in progress beside it. A missing progress
    // file is restored from its ".bak" copy when there is one, else gives the defaults. A ".bak"
    // that holds a newer save than the file is read as the newer save (told). A damaged file is
    // set aside (copied with ".bad" appended, StaleFiles) so that the next save cannot overwrite
    // it, or joins KeptFiles when it cannot be copied, and is salvaged (see above). Every file that
    // was missing, damaged, restored or set aside is reported with an error line and told to the
    // player where anything of it was lost. Values that select levels, stars, stages or tracks
    // are brought into their ranges. SavedState stays empty when what was read is not what the
    // files hold (a repair to write). Returns 1 when the progress file was read whole, else 0.
    int Load(const std::string& path) override;
    // The block trees of a save with the current SaveCount: the progress file, and the level in
    // progress with its "Progress" block (null when there is no clue-grid level in play).
    TBlockFilePtr ProgressBlocks(const std::string& path);
    TBlockFilePtr LevelInProgressBlocks(const std::string& path);
    // The path and the texts of both, as one string to compare.
    std::string SaveState(const std::string& path);
    // Writes the level in progress to path, its tree already built with its "Progress" block
    // (Level and SaveCount; LevelInProgressBlocks); a level that is over is not a level in
    // progress: nothing is written for it and an earlier file at path goes (to ".bak" while the
    // files on disk are a whole save), so that it never resumes. Nothing without a current
    // clue-grid level. Returns 1, or 0 when a write failed (after an error line).
    int WriteLevelInProgress(const std::string& path, const TBlockFilePtr& root);
    // A clue-grid level in play that is not over: the level in progress a save writes.
    bool isLevelInProgress() const;
    // CurrLevel from the file at path when it reads whole and matches the progress (its Level
    // and SaveCount), else from its ".bak" copy when that matches, or, when the file at path is
    // damaged or missing, when that copy pairs with the progress file's save before at the same
    // level; a file at path that is damaged or does not match is set aside. Else the fresh level
    // of number Level. SaveCount then becomes the highest counter the files carry. Returns what
    // Load needs of the reading:
    struct LevelInProgressRead {
        // CurrLevel is what the level in progress file holds.
        bool isAsOnDisk = false;
        // What was found wrong with the level in progress, for the player ("" when nothing).
        std::string notice;
        // There was a file at the path, and its bytes.
        bool found = false;
        std::string bytes;
    };
    // The level and the number of the progress file's save before, where its copy tells them
    // (count -1 when it does not): a damaged or missing level in progress comes from its own
    // copy of the save before when that copy pairs with them and the level is the same.
    struct SaveBefore {
        int level = 0;
        int count = -1;
    };
    virtual LevelInProgressRead LoadProfileLevel(const std::string& path, const SaveBefore& before);
    // The player's files were moved (copied) to the Id of the progress file at path: FilesId,
    // and the states saved and read, follow them.
    void FilesMovedTo(const std::string& path);
    // A file of KeptFiles is set aside now, before anything is written over it. False (the
    // save fails, reported, LastSaveError set) while it still cannot be moved.
    bool SetKeptFileAside(const std::string& path);
    // Keeps the file of the last save (under the old Id for a player who took a new name) as
    // path + ".bak", while the files on disk are a whole save (none of them stale); its save
    // number at saveNumber (KeepPrevious).
    void KeepSaveBefore(const std::string& path, const std::string& saveNumber);
};
using TProfilePtr = std::shared_ptr<TProfile>;

// The current player's profile; null until the profiles are read at start-up.
extern TProfilePtr Profile;

// The Id of a name as it is given: its UTF-16 code units in decimal, joined by "-".
std::string PlayerIdOf(const std::string& name);
// A new profile with the trimmed name and its Id.
TProfilePtr CreateNewProfile(const std::string& name);
// Profile->Game_RestartLevel(): the callback of every screen switch that restarts the level.
void RestartCurrPlayerLevel();

// 1 when play of the level is over: the game screen marked it won or lost (isLevelWon,
// isLevelLost), or it holds the losing mistake. Such a level is never resumed.
int isLevelOver(const TLevel* level);

// Tests: Profile back to null, no message waiting for the player.
void ResetProfileGlobals();
