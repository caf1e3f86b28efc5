// The ini format of the settings files: sections headed by "[Name]" holding "key = value"
// pairs. Keys and values read from a file are upper-cased; section names keep their case.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One "key = value" pair.
class TIniParam {
public:
    std::string id;    // the key (upper-cased when read from a file)
    std::string data;  // the value as text (upper-cased when read from a file)

    // id + " = " + data
    std::string ToString() const;
    // 1 for "TRUE", 0 for "FALSE" (any case), otherwise 1 when the value reads as a non-zero number.
    int GetBool() const;
    // The value as a real; "TRUE" gives 1, "FALSE" 0; text without a number gives 0.
    float GetFloat() const;
    // The value as an integer; "TRUE" gives 1, "FALSE" 0; a real is truncated; no number gives 0.
    int32_t GetInt() const;
};
using TIniParamPtr = std::shared_ptr<TIniParam>;

// One section.
class TIniBlock {
public:
    std::string name;                  // without the brackets, case kept
    std::vector<TIniParamPtr> params;  // in file order; duplicate keys all kept

    // "[" + name + "]\n" then each pair's ToString + "\n".
    std::string ToString() const;
    // The data of the first pair whose id equals key (ignoring case); "" when none.
    std::string GetParam(std::string_view key) const;
    // GetParam read as an integer / a real (see TIniParam::GetInt / GetFloat); 0 when missing.
    int32_t GetParamInt(std::string_view key) const;
    float GetParamFloat(std::string_view key) const;
    // Sets the first pair of that key to the value (unchanged), or appends a new pair.
    void SetParam(const std::string& key, const std::string& value);
    void SetParamInt(const std::string& key, int32_t value);
    // Written as "%#.9g" (0.5 -> "0.500000000").
    void SetParamFloat(const std::string& key, float value);
};
using TIniBlockPtr = std::shared_ptr<TIniBlock>;
using TIniBlockList = std::vector<TIniBlockPtr>;

// Reads a file into its sections, in file order. A missing or unreadable file reports an error
// line and gives an empty list.
TIniBlockList LoadIniFile(const std::string& path);
// Writes every block's ToString followed by a line feed (null elements are skipped): Latin-1
// when every character is below 256, else UTF-16LE with a byte-order mark; atomic. Returns true
// when written; on failure reports an error line and returns false.
bool SaveIniFile(const TIniBlockList& blocks, const std::string& path);
// The text SaveIniFile writes.
std::string IniBlocksToText(const TIniBlockList& blocks);
// Parses an ini text (as LoadIniFile does after loading). A text of more than kMaxIniWords
// words is refused whole with one error line naming `name`, and gives no section.
TIniBlockList ParseIniText(std::string_view text, const std::string& name = "");

// A new empty section of that name (case kept).
TIniBlockPtr CreateIniBlock(const std::string& name);
// A new pair with the key and value upper-cased.
TIniParamPtr CreateIniParam(std::string_view key, std::string_view value);
// The tokens of an ini text: pieces split at spaces, "=" and line feeds, trimmed, never empty;
// each "=" is a token of its own. It stops after kMaxIniWords + 1 tokens: a text holding more
// is over what one file may become (the game's own have a few dozen).
constexpr size_t kMaxIniWords = 262144;
std::vector<std::string> TokenizeIniText(std::string_view text);
// The error line of a text of more words than that (its tokens as TokenizeIniText gave them):
// true, after the line, when it is over.
bool IniTextOverBudget(const std::vector<std::string>& tokens, const std::string& name);
// Builds one section from its header token and the tokens at `pos` onwards, in threes
// (key, "=", value); stops at the next token starting with "[" (left at pos) or the end.
TIniBlockPtr ParseIniBlock(const std::string& header, const std::vector<std::string>& tokens, size_t& pos);
