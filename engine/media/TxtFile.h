// Text files of lines addressed by number from 1: the captions, labels, credits and level names
// a player reads. A path may name the language with "#LANG#". A line reference is a text of the
// form "[" path "|" number "]" standing for that line of another text file.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TTxtFile {
public:
    std::vector<std::string> txt;  // line 1 is element 0
    int Lines() const { return static_cast<int>(txt.size()); }
};

// Splits a text into lines at each line feed; a carriage return stays in its line. A line feed
// at the very end opens no further line; an empty text has no lines.
std::vector<std::string> SplitTxtLines(const std::string& text);

// "#LANG#" in url becomes LangMod. A missing or unreadable file gives an error line and an
// empty file; never null.
std::shared_ptr<TTxtFile> LoadTxtFile(const std::string& url);
// Every line followed by a line feed; Latin-1 when every character fits, else UTF-16LE with a
// byte-order mark. Atomic. False, after an error line, when the file cannot be written.
bool SaveTxtFile(const std::shared_ptr<TTxtFile>& file, const std::string& url);
// Line n counted from 1; "" outside 1..Lines() and for a null file.
std::string GetTxtLine(const std::shared_ptr<TTxtFile>& file, int n);
// Resolves "[path|n]": line n of base + path. A reference whose path leaves the folder base
// (an absolute path, or one that climbs above it once "#LANG#" is replaced and "." and ".."
// are resolved) is refused with an error line and gives "".
std::string GetTxtRefLine(const std::string& ref, const std::string& base);
// A text in square brackets is resolved as a reference into the data folder (bDir); any other
// text comes back unchanged.
std::string ResolveTxtRef(const std::string& text);
