// The hint slots of a level (TLevel::HintAvailableAtThisLevel, HintIsLoaded, HintAddParts,
// HintWasUsed) and their text form in the level file: the nine slots in order, each written
// "<available>|<loaded>", blank-separated ("1|1 1|1 1|1 0|0 0|0 0|0 0|0 0|0 0|0"). Charge
// parts are not stored.
#pragma once
#include <string>

class TLevel;

// Charge parts that fill one slot.
constexpr int MaxHintValue = 10;
// Default slots of a level file without "Hints": three on boards of up to 100 cells, six on
// larger ones.
constexpr int SmallBoardCells = 100;
constexpr int SmallBoardHints = 3;
constexpr int LargeBoardHints = 6;

// The text form of the level's slots.
std::string HintsToText(const TLevel& level);
// Reads the text form into the slots (charge parts untouched; slots beyond the text keep their
// values). A piece that is no number reads 0, and so does a missing "|<loaded>". Entries past
// the ninth are ignored. Returns what was wrong with the text, empty when nothing was.
std::string HintsFromText(TLevel& level, const std::string& text);
