// Small functions of the fading screens that are not screens themselves: the step of a value
// toward its target, and the text splitters that the key files and the word wrapping use. The
// fading-screen base and the newsletter and launcher code share them.
#pragma once
#include <string>
#include <vector>

// Moves value toward target by speed * delta from whichever side it stands, never past it.
void MoveTowardTarget(float& value, float target, float speed);

// Splits text at every occurrence of separator (walked in UTF-16 units). Every piece found
// before a separator is kept, empty or not; the piece after the last one only when it is not
// empty. With both marks given, a separator between the open and the close mark does not split,
// and one-unit marks are dropped from the pieces. An empty separator splits nowhere.
std::vector<std::string> SplitByChar(const std::string& text, const std::string& separator, const std::string& openMark,
                                     const std::string& closeMark);
// The same, and a separator inside double quotes does not split either; the quotes stay in the
// pieces.
std::vector<std::string> SplitByCharQuoted(const std::string& text, const std::string& separator,
                                           const std::string& openMark, const std::string& closeMark);
