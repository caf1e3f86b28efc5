// The progress file as data: one table of its blocks and their entries, in file order, and the
// few operations every entry goes through (written, read, found complete, reset by a new game).
// A new field of the progress is one line of the table.
//
// Progress file (a block file, Id + ".AppProfile" in the per-user "Profiles" folder): the blocks
// of kProgressBlocks in their order, each with the entries of kProgressEntries that name it, in
// their order. Counted lists are an entry "i" (Count) followed, after any entries between, by
// the numbered entries key + 1 .. key + i.
#pragma once
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"

class TProfile;

// What an entry holds and how it is written and read.
enum class ProgressValue {
    Name,       // the player's name: written trimmed; a file without one leaves the name as it is
    Text,       // a text field
    Number,     // an int field stored as int, read as a real truncated toward zero
    Int,        // an int field stored and read as int
    Count,      // "i": how many numbered entries the block's list holds
    Records,    // key + k: the level records' text forms
    Buildings,  // key + k: the ids of the buildings bought
    Awards,     // the ids of the awards won, in one text
};

struct ProgressEntry {
    const char* block;
    const char* key;
    ProgressValue value;
    int TProfile::*number = nullptr;        // Number and Int
    std::string TProfile::*text = nullptr;  // Text
    // Brings a number read into its range (null: taken as read).
    int (*onReading)(int) = nullptr;
    // What a new game sets a number to.
    int newGame = 0;
    // A new game leaves it as it is (the name, the save counter, the awards).
    bool keptByNewGame = false;
    // Missing in the files of an earlier build: not needed for the block to be complete.
    bool added = false;
};

struct ProgressBlockInfo {
    const char* name;
    // What the block holds, in a player's words.
    const char* words;
};

// The blocks, in file order, and every entry of them.
std::span<const ProgressBlockInfo> ProgressBlocksTable();

// Adds the block of that name to root with the profile's values.
void WriteProgressBlock(const TProfile& profile, const TBlockFilePtr& root, const std::string& block);
// Reads the block of that name from root into the profile (a missing block or entry reads as
// empty, numbers brought into their ranges).
void ReadProgressBlock(TProfile& profile, const TBlockFilePtr& root, const std::string& block);
// True when root holds the block with every entry the writer gives it (a block cut short lacks
// some); entries an earlier build did not write are not needed.
bool isProgressBlockComplete(const TBlockFilePtr& root, const std::string& block);
// What a new game starts from: every entry but those kept by a new game back to its start.
void ResetProgressForNewGame(TProfile& profile);

// The ids of the buildings the kingdom has, which the kingdom hands in as it sets them up: a
// progress file's building ids that name none of them are dropped when it is read. Until they
// are handed in (or when the kingdom has none) every id is kept as it was read.
void SetKnownBuildingIds(std::vector<int> ids);

// A number entry read as the profiles read numbers: a real, truncated toward zero.
int ReadProfileNumber(const TBlockFilePtr& block, std::string_view path);

// The numbered entries prefix + 1 .. prefix + i of a block, i being its count "i". A damaged
// count cannot run the reading on and on: it is held to the entries the block has, and numbers
// without an entry are passed over.
std::vector<TBlockFilePtr> CountedEntries(const TBlockFilePtr& block, const std::string& prefix);
