// The brace-structured key file: nested named groups holding named entries of one or more text
// or number values, addressed by paths such as "NewsLetter::Some_Game::Seconds". The maker's
// games share one such file ("Newsletter.dat"), each keeping its own group in it.
//
// The written form, for a group at an indentation of tabs I:
//     I name " {"          (only when the name is not empty)
//     (an empty line when the group has no entries)
//     I TAB entry line     (each entry: name " = " values joined by ", ")
//     the subgroups at I + TAB
//     I "}" and an empty line
// Text values stand in double quotes, number values bare (whole numbers as integers, others in
// the "%#.9g" form: 2.5 is written 2.50000000). Every line ends in a single line feed.
//
// Text values are written with the characters that would break the structure (\ " { } = and
// the line ends) as a backslash and two hex digits ("\7B" for "{"), and read back the same way.
// Names are written and read the same way, blanks and control characters at their ends escaped
// too (reading trims them), so whatever was read is written in a form that reads back as itself:
// after the first save, reading and saving again changes no byte. Paths given to setString and
// setFloat whose names hold such characters are refused.
//
// Reading counts the braces outside quotes first; a file whose counts differ is reported, not
// read, and never overwritten by this object (so a damaged shared file keeps the other games'
// groups for whoever repairs it). Messages go to standard output, in Polish, each beginning
// "Napotkano problem : ".
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TRCMEntry;
class TRCMGroup;
class TRCMFile;
using TRCMEntryPtr = std::shared_ptr<TRCMEntry>;
using TRCMGroupPtr = std::shared_ptr<TRCMGroup>;
using TRCMFilePtr = std::shared_ptr<TRCMFile>;

class TRCMEntry {
public:
    std::string _id;                  // the name, case kept
    std::vector<std::string> _value;  // the values as text
    int32_t _type = 0;                // 0 text, 1 number

    virtual ~TRCMEntry() = default;
    // The entry line. An empty first value becomes "0" in memory once written.
    virtual std::string toTxt();
    // Sets the value at the index, growing the values with empty texts as needed. -1 (and
    // nothing changed) for a negative index, else 0.
    virtual int setValue(const std::string& value, int index);
    virtual std::vector<std::string> createArray(int count);
};

class TRCMGroup {
public:
    std::string _id;   // the name, case kept
    int32_t _pos = 0;  // reading: the index just past the closing brace in the text read
    std::vector<TRCMGroupPtr> _listaGrup;
    std::vector<TRCMEntryPtr> _listaWpisow;

    virtual ~TRCMGroup() = default;
    // The group's written form at the indentation.
    virtual std::string save(const std::string& indent);
    // Prints the group, one line a Print: indent name "{", the entries, the subgroups, indent "}".
    virtual int showGroup(const std::string& indent);
    // The first subgroup or entry whose name matches without regard to case; null when none.
    virtual TRCMGroupPtr getGroup(const std::string& name);
    virtual TRCMEntryPtr getEntry(const std::string& name);
    // Set a value of the named entry, adding the entry (as text, or as a number) when missing; an
    // existing entry keeps its kind. 0, or -1 for a negative index.
    virtual int setStringEntry(const std::string& name, const std::string& value, int index);
    virtual int setFloatEntry(const std::string& name, float value, int index);
    virtual TRCMEntryPtr _addEntry(const std::string& name, const std::string& value, int index);
};

class TRCMFile {
public:
    TRCMGroupPtr _grupa;       // the root: its own name and entries are never written
    std::string _path;         // the path of the last Load
    std::string _realPath;     // its absolute form
    std::string _txt;          // the text of the last Load
    bool _unreadable = false;  // the last Load found a file it could not read

    TRCMFile();
    virtual ~TRCMFile() = default;

    // The written form of the whole file.
    virtual std::string ToString();
    // Writes the file (atomically). -1 after a message when it cannot be written, or when the
    // path is the file the last Load could not read (that file is left untouched); else 0.
    virtual int save(const std::string& path);
    // Reads the file into the tree. A missing, empty or unreadable file and one whose braces do
    // not balance leave the tree as it was; all but the empty file are reported. Returns 0.
    virtual int Load(const std::string& path);
    // True when "{" and "}" outside double quotes are equally many in _txt (else reported).
    virtual bool checkGroups();
    // Appends a line feed to a text that ends in "}", then checkGroups.
    virtual bool checkTxt();
    // A group of that name read from the text (see the reading rules in RCMFile.cpp).
    virtual TRCMGroupPtr readAll(const std::string& text, const std::string& name);
    // The text trimmed of characters up to the blank at both ends, by way of "*" for "0".
    virtual std::string myTrim(const std::string& text);
    // One entry from its line: name = value, value, ...
    virtual TRCMEntryPtr readEntry(const std::string& line);
    // The group named by all names but the last, made where missing (the root for one name).
    virtual TRCMGroupPtr getGroupSet(const std::vector<std::string>& names);
    // Sets one value at a path. 0, or -1 after a message when a name cannot be written.
    virtual int setString(const std::string& path, const std::string& value, int index);
    virtual int setFloat(const std::string& path, float value, int index);
    // One value at a path: "" or 0.0 when the group, the entry or the index is missing. With
    // show set, the group is printed first (when it exists).
    virtual std::string getString(const std::string& path, int index);
    virtual float getFloat(const std::string& path, int index, int show);
    // The group named by all names but the last, or null (the root for one name).
    virtual TRCMGroupPtr getGroup(const std::vector<std::string>& names);
    virtual int printAll();
    // Prints "Napotkano problem : " + message.
    virtual int errorMsg(const std::string& message);

private:
    // True when the path has names and each can be written (else reported).
    bool WritablePath(const std::vector<std::string>& names, const std::string& path);
    TRCMGroupPtr readRange(const std::string& text, size_t begin, size_t end, const std::string& name);
};

TRCMFilePtr CreateRCMFile();
// A new key file with Load(path) called on it.
TRCMFilePtr LoadRCMFile(const std::string& path);
