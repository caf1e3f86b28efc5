// The block-file format: the one text format of the engine's data, screen, object, level and
// save files. A block file is a tree of named nodes: blocks (named containers of further nodes)
// and entries (a name with an ordered list of typed values).
//
//     Data{
//     	Name = "Box"
//     	Size = 3, 4
//     	Scale = 0.500000000
//     }
//
// Names are compared without regard to case. Paths join names with "::" ("Settings::CurrProfile").
// Lookups never fail: a missing block, entry or value reads as "", 0, 0.0 or false.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBlockFile;
using TBlockFilePtr = std::shared_ptr<TBlockFile>;
// A list of nodes, in the order the children were added.
using TBlockFileList = std::vector<TBlockFilePtr>;

// Node kinds (TBlockFile::MyType).
constexpr int32_t BF_BLOCK = 0;
constexpr int32_t BF_ENTRY = 1;

// Value type codes (TBlockFile::typ): how a value is written back.
constexpr int32_t BF_TEXT = 0;  // written in double quotes
constexpr int32_t BF_INT = 1;   // written as a decimal integer
constexpr int32_t BF_REAL = 2;  // written as "%#.9g"
constexpr int32_t BF_BOOL = 3;  // written as stored, without quotes

class TBlockFile {
public:
    TBlockFile() {}  // (user-provided: nodes are made by the million and need no zero-fill)
    // Releases deep trees without deep recursion.
    ~TBlockFile();
    TBlockFile(const TBlockFile&) = delete;
    TBlockFile& operator=(const TBlockFile&) = delete;

    TBlockFileList SubFiles;         // children, blocks and entries mixed, in order added
    int32_t MyType = BF_BLOCK;       // 0 block, 1 entry; any other kind writes nothing
    std::string name;                // compared without regard to case
    std::vector<std::string> Value;  // the values, as text
    std::vector<int32_t> typ;        // the type code of each value (same length as Value)

    // 1 when i is a valid value index, else 0.
    int isIndex(int i) const;
    // The first child (block or entry) of that name, ignoring case; null when none.
    TBlockFilePtr isBlock(std::string_view childName) const;
    // The same search; a new detached empty node when none. Never null.
    TBlockFilePtr GetBlock(std::string_view childName) const;
    // The same search as isBlock; null when none.
    TBlockFilePtr GetBlockNO_NEW(std::string_view childName) const;

    // Value i as stored; "" outside the values.
    std::string GetString(int i) const;
    // Value i read as a real (leading blanks, sign, digits, fraction, exponent); 0 outside.
    float GetFloat(int i) const;
    // Value i read as an integer (StringToInt: "$" hex and "%" binary); 0 outside.
    int32_t GetInt(int i) const;
    // 1 for "TRUE", 0 for "FALSE" (trimmed, any case), else the integer reading; 0 outside.
    int32_t GetBool(int i) const;

    // Appends a child; no check for names already present. Returns 0.
    int AddBlock(TBlockFilePtr node);
    // Sets value i (growing the values when needed, gaps filled with "" of code 0). Returns 0.
    int AddEntry(std::string value, int i, int type);
    // Grows (or shrinks) the value arrays to n, new slots "" of code 0. Returns 0.
    int Resize(int n);
    // Number of values.
    int GetSize() const;

    // The text of this node and everything below it, every line starting with `indent`,
    // nesting indented by one tab per level, lines ending in a line feed.
    std::string ToString2(const std::string& indent) const;
    // The same, appended to `out` (the writer's fast path).
    void AppendText(std::string& out, std::string& indent) const;
};

// ---------------------------------------------------------------------------------------------
// Reader: tokenizer and parser.

// One token of a block-file text.
class TToken {
public:
    int32_t Char = 0;     // column of the first character, from 1 (a tab counts one)
    int32_t Line = 0;     // line, from 1
    std::string T;        // word, quoted text without its quotes, or the mark's one character
    int32_t MyType = 0;   // 0 value/word or "\", 1 entry name, 2 block name, 3 "{", 4 "}",
                          // 5 ";" or line feed, 6 "=", 7 double quote, 8 ","
    bool Quoted = false;  // the text stood between double quotes (always a text value)

    // The type code of the token's text as a value (a quoted text is always text).
    int GetEntryType() const;
    // Classifies this token by its text and retypes `prev` ("{" makes it a block name, "=" an
    // entry name). Returns 0.
    int FindType(TToken* prev);
    // "<LINE l CHAR c TYPE = k > text", for debugging.
    std::string ToString() const;
};

// The type code a value text gets: 0 when empty after trimming; 3 for "TRUE"/"FALSE" (trimmed,
// any case); otherwise 1 when it holds only digits and blanks with at most a leading "-",
// 2 when it also holds a "."; 0 for anything else ("+5", "1e5", "abc").
int GetEntryType(std::string_view text);

// A token list consumed from the front by the parser.
struct TTokenQueue {
    std::vector<TToken> items;
    size_t head = 0;
    bool empty() const { return head >= items.size(); }
};

class TokenCreator {
public:
    // Cuts a text into tokens (see the .cpp for the rules).
    static TTokenQueue CreateTokens(std::string_view text);
    // A token of that text and line; `ch` is the column of its last character.
    static TToken CreateToken(std::string text, int ch, int line);
};

class TBlockParser {
public:
    TBlockParser();
    TBlockFilePtr BlockFile;  // the block being filled

    // Prints "ERROR (Line L Char C): message!" on standard output.
    static void ParseError(const TToken& token, const std::string& message);
    // Parses the tokens (from the queue's front) into BlockFile, named `name` upper-cased.
    TBlockFilePtr Parse(const std::string& name, TTokenQueue& tokens);
    // Reads the block named `name` from the queue's front (its "{" first, up to its own "}") with
    // a new parser and appends the finished block to BlockFile's children. Returns 0.
    int AddBlock(const std::string& name, TTokenQueue& tokens);
    // Reads one entry named `name` (lower-cased) from the queue's front into BlockFile.
    int AddEntry(const std::string& name, TTokenQueue& tokens);
};

// What one text may become: at most this many blocks and entries, and values in all its entries.
// A text holding more (a file of a million one-character entries, a line of commas) is refused
// whole with one error line and reads as empty, not whole. The largest of the game's own data
// files has some 5,700 blocks and entries and 9,000 values.
constexpr size_t kMaxBlockFileNodes = 131072;
constexpr size_t kMaxBlockFileValues = 262144;

// Tokenizes and parses a whole text; the root is named `name` upper-cased. (The same reading as
// CreateTokens and Parse, without holding every token of the text at once.)
TBlockFilePtr ParseBlockFileText(std::string_view text, const std::string& name);
// The same, also telling whether the text was whole (as LoadBlockFileChecked tells of a file).
TBlockFilePtr ParseBlockFileTextChecked(std::string_view text, const std::string& name, bool& whole);

// ---------------------------------------------------------------------------------------------
// Building.

// A new block; appended to parent's children unless parent is null. A root made with a null
// parent holds the path SaveBlockFile writes to.
TBlockFilePtr CreateBlockFile(const std::string& name, const TBlockFilePtr& parent = nullptr);
// Appends child to parent's children. Returns 0.
int AddBlockFile(const TBlockFilePtr& parent, const TBlockFilePtr& child);
// A new entry without values, appended to block.
TBlockFilePtr CreateNewStringEntry(const TBlockFilePtr& block, const std::string& name);

// Store a value at `index` of the entry `name` (a plain name, not a path) of `block`: the first
// child of that name is reused (turned into an entry) unless forceNew is not 0 or there is none,
// then a new entry is appended. Gaps below index are filled with "" of code 0. Return 0.
int AddStringToBlock(const TBlockFilePtr& block, const std::string& name, const std::string& value, int index = 0,
                     int forceNew = 0);
int AddIntToBlock(const TBlockFilePtr& block, const std::string& name, int32_t value, int index = 0, int forceNew = 0);
// Stored as "%#.9g" (0.25 -> "0.250000000").
int AddFloatToBlock(const TBlockFilePtr& block, const std::string& name, float value, int index = 0, int forceNew = 0);
// Stored as "true" (value not 0) or "false".
int AddBoolToBlock(const TBlockFilePtr& block, const std::string& name, int value, int index = 0, int forceNew = 0);

// ---------------------------------------------------------------------------------------------
// Saving and loading.

// The text SaveBlockFile writes: ToString2("") of every child of root, in order.
std::string BlockFileToText(const TBlockFilePtr& root);
// The bytes of a block-file text: Latin-1 when every character is below 256, else UTF-8 with a
// byte-order mark (the reader detects both).
std::string EncodeBlockFileText(std::string_view utf8);
// Writes the children of root to the file named by root->name, atomically (temporary file, then
// rename). Returns true when written; on failure reports an error line and returns false.
bool SaveBlockFile(const TBlockFilePtr& root);
// Reads and parses a file. The root is named by the path and holds the file's top-level nodes.
// A missing or unreadable file reports an error line and gives an empty root. Never null.
TBlockFilePtr LoadBlockFile(const std::string& path);
// The same reading, also telling whether the file was whole: it could be read, the reader met
// no syntax error, every block was closed and no "}" closed a block that was never opened. A
// file cut short or damaged reads as far as it goes and gives false (a missing one too).
TBlockFilePtr LoadBlockFileChecked(const std::string& path, bool& whole);

// ---------------------------------------------------------------------------------------------
// Paths and lookups. Each path step is trimmed; names ignore case.

// Splits at the first "::": {first, rest}; a path shorter than two characters gives {path}.
// Single colons before the first "::" are dropped ("A:b" -> {"Ab", ""}).
std::vector<std::string> CutBFPath(std::string_view path);
std::string CutBFPathFirst(std::string_view path);
std::string CutBFPathRest(std::string_view path);

// The node at the path; a new detached empty node when a step is missing. Never null.
TBlockFilePtr GetBlockFile(const TBlockFilePtr& block, std::string_view path);
TBlockFilePtr GetBlockEntry(const TBlockFilePtr& block, std::string_view path);
// The node at the path; null when a step is missing.
TBlockFilePtr GetBlockFileNO_NEW(const TBlockFilePtr& block, std::string_view path);
TBlockFilePtr GetBlockEntryNO_NEW(const TBlockFilePtr& block, std::string_view path);

// Typed values of the node at the path; "", 0.0, 0 or 0 when anything is missing.
std::string GetBFString(const TBlockFilePtr& block, std::string_view path, int index = 0);
float GetBFNumber(const TBlockFilePtr& block, std::string_view path, int index = 0);
float GetBfFloat(const TBlockFilePtr& block, std::string_view path, int index = 0);
int32_t GetBFInt(const TBlockFilePtr& block, std::string_view path, int index = 0);
int32_t GetBFBool(const TBlockFilePtr& block, std::string_view path, int index = 0);

// 1 when a node (block or entry) stands at the path, else 0.
int isBFEntry(const TBlockFilePtr& block, std::string_view path);
// 1 when block has a child (block or entry) of that plain name, else 0.
int isBFBlock(const TBlockFilePtr& block, std::string_view name);

// Child blocks (not entries) of that name, in order.
TBlockFileList GetBlockFilesList(const TBlockFilePtr& block, std::string_view name);
// All child blocks, in order.
TBlockFileList GetBlockFilesOnly(const TBlockFilePtr& block);
// Child entries (every non-block) of that name, or all of them when name is empty.
TBlockFileList GetBlockFileEntrysList(const TBlockFilePtr& block, std::string_view name);

// ---------------------------------------------------------------------------------------------
// Case mapping of names: ASCII plus the Latin-1, Latin Extended-A, Greek and Cyrillic letters.
std::string NameUpper(std::string_view s);
std::string NameLower(std::string_view s);
// Equality after upper-casing both names.
bool NamesEqual(std::string_view a, std::string_view b);
