// The newsletter window's two small data formats: a settings file of named blocks of
// key = value pairs ("[NAME]" opens a block; keys and values come back upper-cased), and a text
// file of lines addressed by their index.
//
// A block file is cut into tokens at blanks, "=" and line feeds (each "=" a token of its own),
// then read three tokens at a time (key, separator, value) inside each block. There is no
// quoting and there are no comments: a value is one word.
#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

class TEnParam {
public:
    std::string id;    // the key, upper-cased
    std::string data;  // the value, upper-cased
    virtual ~TEnParam() = default;
    // id + " = " + data
    virtual std::string ToString() const;
};
using TEnParamPtr = std::shared_ptr<TEnParam>;

class TEnBlock {
public:
    std::string name;                 // as written between the brackets, case kept
    std::vector<TEnParamPtr> params;  // in file order; a key may come twice

    virtual ~TEnBlock() = default;
    // "[ " + name + " ]" and a line feed, then each pair and a line feed.
    virtual std::string ToString() const;
    // The value of the first pair whose key matches without regard to case; "" when none.
    virtual std::string GetParam(const std::string& key) const;
    // GetParam read as an int ("$" hex and "%" binary too) or a float; 0 when missing.
    virtual int GetParamInt(const std::string& key) const;
    virtual float GetParamFloat(const std::string& key) const;
};
using TEnBlockPtr = std::shared_ptr<TEnBlock>;

// The blocks of the file in the order they open. A missing file is reported and gives none.
std::vector<TEnBlockPtr> LoadEnBlockFile(const std::string& url);
// The blocks of a text already read.
std::vector<TEnBlockPtr> ParseEnBlockText(const std::string& text, const std::string& name = "");
// One block: its name from the opening token (without its first and last character), its pairs
// from the tokens at the front of the list, which are taken off up to the next token that
// begins with "[" (left in the list). An incomplete last triple is dropped.
TEnBlockPtr ParseEnBlock(const std::string& openingToken, std::deque<std::string>& tokens);
// A pair with both texts upper-cased.
TEnParamPtr ParseEnParam(const std::string& key, const std::string& value);

// The lines of a text file, cut at each line feed only (a carriage return stays at the end of
// its line); the text after the last line feed is a line only when it is not empty. A missing
// file is reported and gives no lines.
std::vector<std::string> LoadTextLines(const std::string& url);
