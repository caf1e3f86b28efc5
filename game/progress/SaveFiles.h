// How a player's files are checked, kept and set aside.
//
// Checks. Every file the game writes for a player (the progress file, the level in progress, the
// list of players, and so their ".bak" copies) ends with an entry "Check": the CRC-32, in eight
// hex digits, of the file's text but its checks, as the file's tree writes it with names in the
// case the reader gives them. In the progress file and the list of players every block also
// ends with its own "Check", of the block's name and entries: a damaged file is then taken apart
// block by block, each block trusted only where its check holds. A build that knows nothing of
// checks passes over them as unknown entries; a file without them (written by such a build) is
// read as it always was.
//
// The save before. Before a file is written over, its previous version is copied beside it with
// ".bak" appended, but only when it reads back good: a damaged file never takes the place of a
// good copy.
//
// Damaged files. A file that could not be read is renamed with ".bad" appended (".bad2",
// ".bad3", ... after it), so that it is kept and never written over; of each file the newest
// kKeptAside stay, older ones are removed, so that setting a file aside never fails for want of
// a name.
#pragma once
#include <string>

#include "engine/data/BlockFile.h"

// How many files set aside are kept of each of a player's files.
constexpr int kKeptAside = 10;

// The check of a node, where there is one.
enum class CheckState { None, Holds, Fails };

// Adds the checks to a tree about to be written: with eachBlock, a last entry "Check" to every
// block at the top; then the file's own last entry "Check".
void AddContentChecks(const TBlockFilePtr& root, bool eachBlock);
// The check of a block at the top of a file (its own entry "Check").
CheckState BlockCheck(const TBlockFilePtr& block);

// A file as read, with what its checks say.
struct CheckedFile {
    TBlockFilePtr root;    // what was read (never null; empty when nothing could be)
    bool found = false;    // there was a file, and its bytes could be read
    bool whole = false;    // it parsed without a fault
    bool checked = false;  // it carries checks (this build wrote it)
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

// Copies the file at path (when there is one) to path + ".bak" when it reads back good;
// a damaged one leaves the copy there as it is. Both reported with an error line.
void KeepPrevious(const std::string& path);

// Renames a file that could not be read (or a level in progress of another save) to path +
// ".bad" (the next number when that is taken: ".bad2", ".bad3", ...), so that it is kept and
// never overwritten; the oldest of its files set aside go beyond kKeptAside. Reports where it
// went. Returns the new path, "" when it could not be moved.
std::string SetFileAside(const std::string& path);
