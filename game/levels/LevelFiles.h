// Level files. A clue-grid level lives in a ".PACLevel" block file whose top level holds one
// block "Level" with:
//   "Data"      Dims = cols, rows; Size; Colors = "<ids in layer order>"; Position = x, y;
//               Seconds; Score; Mistakes; Stars; TilesUncovered; TilesCrossed
//   "Tiles"     Row0 .. Row<rows-1>: per column the cell's colour id, 0 for an empty cell
//   "TilesData" (a level in progress) isSaved = 1, then per layer a block Color<c> whose
//               entries row0 .. hold per column the tile's "<isCovered>|<isError>"
//   Hints = "<slots>", HintWasUsed = n
// Names are compared without regard to case.
//
// The reader checks what it reads: a file that is missing, has no cells, no colours or more
// than a level can show, or a run longer than the clue images go gives an error line and no
// level. Smaller faults are reported and repaired so that a level in progress
// is never thrown away for them: a size index outside the size table is brought inside it, a
// star count outside 0..3 is clamped, bad hint slots read what fits, and colour ids outside the
// palette are reported (they are drawn without a palette colour).
#pragma once
#include <functional>
#include <memory>
#include <string>

class TBlockFile;
class TLevel;
class TPACLevel;

// Largest number of columns or rows a level may have.
constexpr int MaxLevelSide = 100;
// Largest number of colours a level may have.
constexpr int MaxLevelColors = 16;

// Chooses the reader by the upper-cased extension: "PACLEVEL" reads a clue-grid level,
// "FAPLEVEL" a neighbour-count level (FAPLevel.h); any other extension gives null.
// The measures every level kind reads from its file, checked the same way: a grid or a colour
// count out of bounds is refused (false, one line through `report`); a size index outside the
// play-field table is brought into it and colour ids outside the palette are reported, the
// level going on.
using LevelReport = std::function<void(const std::string&)>;
bool CheckLevelGrid(const TLevel& level, const LevelReport& report);
void RepairLevelSizeAndColours(TLevel& level, const LevelReport& report);

std::shared_ptr<TLevel> LoadLevel(const std::string& path);
// Writes a clue-grid or a neighbour-count level with its play state. False, after an error
// line, when the level is null or of another kind, or the file cannot be written (an existing file is then left as
// it was: the write is atomic).
bool SaveLevel(const std::shared_ptr<TLevel>& level, const std::string& path);
// Reads a ".PACLevel" file; null (after an error line) when it cannot be played.
std::shared_ptr<TPACLevel> LoadPacLevel(const std::string& path);
// The level a ".PACLevel" file read into root holds (path names it in error lines); null (after
// an error line) when it cannot be played. LoadPacLevel is this after reading the file.
std::shared_ptr<TPACLevel> PacLevelFromBlockFile(const std::shared_ptr<TBlockFile>& root, const std::string& path);
// Writes the level; the play state "TilesData" only when omitPlayState is 0.
bool SavePacLevel(const std::shared_ptr<TPACLevel>& level, const std::string& path, int omitPlayState);
// The block tree SavePacLevel writes (a root named by path holding the block "Level"), for a
// writer that puts blocks of its own beside "Level" before it saves (the reader passes over
// top-level blocks it does not know). Never null; an empty root for a null level.
std::shared_ptr<TBlockFile> PacLevelToBlockFile(const std::shared_ptr<TPACLevel>& level, const std::string& path,
                                                int omitPlayState);
// A fixed 10 x 10 three-colour level, written to "test.PacLevel" in the working folder.
std::shared_ptr<TPACLevel> CreateTestPACLevel();
