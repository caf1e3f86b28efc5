// How a player's files are checked, kept and set aside.
//
// Checks. Every file the game writes for a player (the progress file, the level in progress, the
// list of players, and so their ".bak" copies) ends with an entry "Check": the CRC-32, in eight
// hex digits, of the file's text but its checks, as the file's tree writes it with names in the
// case the reader gives them. In the progress file and the list of players every block also
// ends with its own "Check", of the block's name and entries: a damaged file is then taken apart
// block by block, each block trusted only where its check holds. A build that knows nothing of
// checks passes over them as unknown entries; a file without them (written by such a build) is
// read as it always was. A block may also carry a check of its own that is bound to a save (a
// seed naming the save is checked with it), so that a block of another save never passes for one
// of this save; and a block's check may be of its own entries alone (its sub-blocks checked on
// their own), as the level in progress has them.
//
// Save numbers. Each file carries the number of its save in an entry "SaveCount", read only where
// its check holds. A number beyond any count a player's saves reach (kMaxSaveNumber) is damage:
// the check of its block, and of its file, fails.
//
// The save before. Before a file is written over, its previous version is copied beside it with
// ".bak" appended, but only when it reads back good: a damaged file never takes the place of a
// good copy. Each file carries the number of its save; a ".bak" that holds a newer save than the
// file (a file put back by hand, a copy from another disk) is never written over by the older.
//
// Damaged files. A file that could not be read is copied with ".bad" appended (".bad2",
// ".bad3", ... after it), so that it is kept and never written over; the damaged file itself
// stays where it is until its repair is renamed over it, so that a game killed at any moment of
// the repair leaves the damaged file or its repair, never neither. Of each file the newest
// kKeptAside copies stay, older ones are removed, so that setting a file aside never fails for
// want of a name.
#pragma once
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"

// How many files set aside are kept of each of a player's files.
constexpr int kKeptAside = 10;

// The highest number a save can carry: a billion saves, far beyond what any player makes. A
// higher one (or a negative one) is damage, and a counter never counts on past it.
constexpr int kMaxSaveNumber = 1000000000;
// The next save number after n (never beyond kMaxSaveNumber).
int NextSaveNumber(int n);

// The check of a node, where there is one.
enum class CheckState { None, Holds, Fails };

// Adds the checks to a tree about to be written: with eachBlock, a last entry "Check" to every
// block at the top; then the file's own last entry "Check".
void AddContentChecks(const TBlockFilePtr& root, bool eachBlock);
// Adds a last entry "Check" to the block: of its name and entries with the seed (a block bound to
// one save), and with ownEntries of its own entries alone, not its sub-blocks.
void AddBlockCheck(const TBlockFilePtr& block, const std::string& seed = "", bool ownEntries = false);
// The check of a block (its own entry "Check"), as AddBlockCheck made it.
CheckState BlockCheck(const TBlockFilePtr& block, const std::string& seed = "", bool ownEntries = false);
// The text a file's own check is of: the tree but its checks, with names in the case the reader
// gives them, so that a tree read back gives the text of the tree that was written.
std::string ContentText(const TBlockFilePtr& root);

// A file as read, with what its checks say.
struct CheckedFile {
    TBlockFilePtr root;  // what was read (never null; empty when nothing could be)
    std::string bytes;   // the file's bytes as they are on the disk
    // Of a file that is not good, its text: each block is read again from its own lines alone
    // (TrustedBlock), so that damage before it (a lost quote or brace, which runs on over what
    // follows) cannot hide a block whose own check holds.
    std::string text;
    bool found = false;                  // there was a file, and its bytes could be read
    bool whole = false;                  // it parsed without a fault
    bool checked = false;                // it carries checks (this build wrote it)
    CheckState file = CheckState::None;  // its own check
    // The file can be trusted as a whole: read whole and, where it carries checks, its own check
    // holds.
    bool good() const { return found && whole && (!checked || file == CheckState::Holds); }
};
// Reads the file at path. A file that does not parse whole is read again without its last line
// when that line has no line feed (every file the game writes ends with one): a value cut short
// ("Level = 37" read as 3) is then not taken for one.
CheckedFile ReadCheckedFile(const std::string& path);
// The same of bytes already read (path names the tree).
CheckedFile ReadCheckedBytes(const std::string& bytes, const std::string& path);

// The block of that name at the top of the file whose own check holds, as the whole file reads
// or else as its own lines read alone (from where the block opens to the first line that closes
// a block at the top); null when there is none.
TBlockFilePtr TrustedBlock(const CheckedFile& file, const std::string& name);
// The same of a block at a path ("Level::Data") whose check, bound to the seed, holds (with
// ownEntries, the block of its own entries alone: its sub-blocks left out).
TBlockFilePtr TrustedPart(const CheckedFile& file, const std::string& path, const std::string& seed,
                          bool ownEntries = false);

// The blocks at the top of a file in their order, each with its name and whether it can be
// trusted (its own check holds; every block of a file without checks that reads whole). A file
// that does not read whole is cut into its blocks where a line opens one at the top, and each is
// read alone, so that one damage costs one block and the others keep their places (a block whose
// opening line is lost counts as one more block that does not read).
struct TopBlock {
    std::string name;     // as its opening line gives it
    TBlockFilePtr block;  // null when it did not read
    bool trusted = false;
};
std::vector<TopBlock> TopBlocks(const CheckedFile& file);

// The number of the file's save, at the entry path saveNumber ("Data::SaveCount"), where it can
// be trusted: in a good file with checks, or in a block whose own check holds. -1 when it cannot
// be, or the file has none (an earlier build's, or one without checks: never taken for an older
// save than its copy).
int TrustedSaveNumber(const CheckedFile& file, const std::string& saveNumber);

// Copies the file at path (when there is one) to backup (path + ".bak" but for a player who
// took a new name) when it reads back good; a damaged one leaves the copy there as it is, and so
// does an older save than the copy holds (both numbered, at saveNumber). Each reported.
void KeepPrevious(const std::string& path, const std::string& backup, const std::string& saveNumber);

// Copies a file that could not be read (or a level in progress of another save) to path + ".bad"
// (the next number when that is taken: ".bad2", ".bad3", ...), so that it is kept and never
// overwritten; the file itself stays until something is written in its place. The same bytes
// set aside last time are not copied twice (a start killed before its repair was in place finds
// the same damage again). The oldest of its copies go beyond kKeptAside. Reports where it went.
// Returns the copy's path, "" when it could not be made.
std::string SetFileAside(const std::string& path);
