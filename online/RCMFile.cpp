#include "online/RCMFile.h"

#include "engine/data/BlockFile.h"
#include "engine/fading/EkranTools.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

// Characters that would break the structure inside a quoted text value.
bool NeedsEscape(char c) { return c == '\\' || c == '"' || c == '{' || c == '}' || c == '=' || c == '\n' || c == '\r'; }

std::string EscapeText(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (NeedsEscape(c)) {
            const unsigned char u = static_cast<unsigned char>(c);
            out += '\\';
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// A name as written: escaped like a text value, and also the blanks and control characters at
// either end, which reading trims away. (A name holding a double quote, written as it was,
// turned every brace after it into quoted text, and the game's own file then failed its brace
// check at the next start.)
std::string EscapeName(const std::string& name) {
    static const char* hex = "0123456789ABCDEF";
    const std::string escaped = EscapeText(name);
    auto trimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0, end = escaped.size();
    while (begin < end && trimmed(escaped[begin])) ++begin;
    while (end > begin && trimmed(escaped[end - 1])) --end;
    auto hexOf = [](const std::string& s) {
        std::string out;
        for (unsigned char u : s) {
            out += '\\';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
        return out;
    };
    return hexOf(escaped.substr(0, begin)) + escaped.substr(begin, end - begin) + hexOf(escaped.substr(end));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string UnescapeText(const std::string& s) {
    if (s.find('\\') == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            // The character of that code (texts are UTF-8 inside the game: a code above 127 as
            // a lone byte would not survive the next writing).
            AppendUtf8(out, static_cast<char32_t>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2])));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// A name that can be written and read back as itself.
bool IsWritableName(const std::string& name) {
    for (char c : name)
        if (c == '{' || c == '}' || c == '=' || c == '"' || c == '\n' || c == '\r') return false;
    return true;
}

// A number value that would break the line (it came in through setString): written as the
// number it reads as.
bool BreaksNumberLine(const std::string& v) {
    for (char c : v)
        if (NeedsEscape(c) || c == ',') return true;
    return false;
}

// A number value as written: 0 when empty, a whole number as an integer, else as stored; a
// value that would break the line is written as the number it reads as, by the same rule (a
// whole number written with its decimals changed again at the next save).
std::string NumberText(const std::string& v) {
    if (v.empty()) return "0";
    if (static_cast<float>(StringToInt(v)) == StringToFloat(v)) return IntToString(StringToInt(v));
    if (BreaksNumberLine(v)) return NumberText(FloatToString(StringToFloat(v)));
    return v;
}

// The text without `front` characters at its start and `back` at its end (whole UTF-8
// sequences); empty when it has no more characters than that.
std::string DropCharacters(const std::string& s, size_t front, size_t back) {
    auto isContinuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    size_t begin = 0;
    for (size_t n = 0; n < front && begin < s.size(); ++n) {
        ++begin;
        while (begin < s.size() && isContinuation(s[begin])) ++begin;
    }
    size_t end = s.size();
    for (size_t n = 0; n < back && end > begin; ++n) {
        --end;
        while (end > begin && isContinuation(s[end])) --end;
    }
    return end > begin ? s.substr(begin, end - begin) : std::string();
}

std::vector<std::string> SplitPath(const std::string& path) { return SplitByChar(path, "::", "", ""); }

}  // namespace

// =============================================================================================
// TRCMEntry
// =============================================================================================

std::vector<std::string> TRCMEntry::createArray(int count) {
    return std::vector<std::string>(static_cast<size_t>(count > 0 ? count : 0));
}

int TRCMEntry::setValue(const std::string& value, int index) {
    if (index < 0) return -1;
    if (static_cast<size_t>(index) >= _value.size()) {
        std::vector<std::string> grown = createArray(index + 1);
        for (size_t i = 0; i < _value.size(); ++i) grown[i] = _value[i];
        _value = std::move(grown);
    }
    _value[static_cast<size_t>(index)] = value;
    return 0;
}

std::string TRCMEntry::toTxt() {
    std::string line = EscapeName(_id) + " = ";
    for (size_t i = 0; i < _value.size(); ++i) {
        const std::string& v = _value[i];
        if (i > 0) line += ", ";
        if (_type == 1) {
            line += NumberText(v);
        } else {
            line += '"';
            line += EscapeText(v);
            line += '"';
        }
    }
    if (!_value.empty() && _value[0].empty()) _value[0] = "0";
    return line;
}

// =============================================================================================
// TRCMGroup
// =============================================================================================

std::string TRCMGroup::save(const std::string& indent) {
    std::string out;
    if (!_id.empty()) out += indent + EscapeName(_id) + " {\n";
    if (_listaWpisow.empty()) out += "\n";
    for (const TRCMEntryPtr& e : _listaWpisow) out += indent + "\t" + e->toTxt() + "\n";
    for (const TRCMGroupPtr& g : _listaGrup) out += g->save(indent + "\t");
    if (!_id.empty()) out += indent + "}\n\n";
    return out;
}

int TRCMGroup::showGroup(const std::string& indent) {
    Print(indent + _id + "{");
    if (_listaWpisow.empty()) Print("");
    for (const TRCMEntryPtr& e : _listaWpisow) Print(indent + "\t" + e->toTxt());
    for (const TRCMGroupPtr& g : _listaGrup) g->showGroup(indent + "\t");
    Print(indent + "}");
    return 0;
}

TRCMGroupPtr TRCMGroup::getGroup(const std::string& name) {
    for (const TRCMGroupPtr& g : _listaGrup)
        if (NamesEqual(g->_id, name)) return g;
    return nullptr;
}

TRCMEntryPtr TRCMGroup::getEntry(const std::string& name) {
    for (const TRCMEntryPtr& e : _listaWpisow)
        if (NamesEqual(e->_id, name)) return e;
    return nullptr;
}

TRCMEntryPtr TRCMGroup::_addEntry(const std::string& name, const std::string& value, int index) {
    auto e = std::make_shared<TRCMEntry>();
    e->_id = name;
    e->setValue(value, index);
    _listaWpisow.push_back(e);
    return e;
}

int TRCMGroup::setStringEntry(const std::string& name, const std::string& value, int index) {
    if (index < 0) return -1;
    if (TRCMEntryPtr e = getEntry(name)) return e->setValue(value, index);
    _addEntry(name, value, index)->_type = 0;
    return 0;
}

int TRCMGroup::setFloatEntry(const std::string& name, float value, int index) {
    if (index < 0) return -1;
    const std::string text = FloatToString(value);
    if (TRCMEntryPtr e = getEntry(name)) return e->setValue(text, index);
    _addEntry(name, text, index)->_type = 1;
    return 0;
}

// =============================================================================================
// TRCMFile
// =============================================================================================

TRCMFile::TRCMFile() : _grupa(std::make_shared<TRCMGroup>()) {}

TRCMFilePtr CreateRCMFile() { return std::make_shared<TRCMFile>(); }

TRCMFilePtr LoadRCMFile(const std::string& path) {
    TRCMFilePtr f = CreateRCMFile();
    f->Load(path);
    return f;
}

int TRCMFile::errorMsg(const std::string& message) {
    Print("Napotkano problem : " + message);
    return 0;
}

std::string TRCMFile::ToString() {
    std::string out;
    for (const TRCMGroupPtr& g : _grupa->_listaGrup) out += g->save("");
    return out;
}

int TRCMFile::save(const std::string& path) {
    if (_unreadable && RealPath(path) == _realPath) {
        errorMsg("Plik nie zostal nadpisany, bo nie udalo sie go odczytac : " + path);
        return -1;
    }
    if (!SaveText(ToString(), path)) {
        errorMsg("Nie mozna zapisac pliku : " + path);
        return -1;
    }
    return 0;
}

int TRCMFile::Load(const std::string& path) {
    _path = path;
    _realPath = RealPath(path);
    _unreadable = false;
    if (FileType(path) == 0) {
        errorMsg("Nie znaleziono pliku : " + path);
        return 0;
    }
    bool ok = false;
    _txt = LoadText(path, &ok);
    if (!ok) {
        _unreadable = true;
        errorMsg("Nie mozna odczytac pliku : " + path);
        return 0;
    }
    if (_txt.empty()) return 0;
    if (!checkTxt()) {
        _unreadable = true;
        return 0;
    }
    _grupa = readAll(_txt, "MAINGROUP");
    return 0;
}

bool TRCMFile::checkTxt() {
    if (!_txt.empty() && _txt.back() == '}') _txt += "\n";
    return checkGroups();
}

bool TRCMFile::checkGroups() {
    bool quoted = false;
    int64_t open = 0, close = 0;
    for (char c : _txt) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == '{') ++open;
        else if (!quoted && c == '}') ++close;
    }
    if (open == close) return true;
    errorMsg("Blad nawiasow klamrowych! \"{\" - " + IntToString(open) + " \"}\" - " + IntToString(close));
    return false;
}

TRCMGroupPtr TRCMFile::readAll(const std::string& text, const std::string& name) {
    return readRange(text, 0, text.size(), name);
}

// One pass over text[begin, end): characters gather into N (a subgroup's name to be) and E (an
// entry line to be). "{" reads a subgroup from the text after it up to, not including, the last
// character of this range, and the pass goes on after that subgroup's closing brace; "}" ends
// this group; a line feed ends an entry line once an "=" was seen (without one the line runs on
// into the next); quotes mean nothing here. A group never closed ends with the range.
TRCMGroupPtr TRCMFile::readRange(const std::string& text, size_t begin, size_t end, const std::string& name) {
    auto group = std::make_shared<TRCMGroup>();
    group->_id = name;
    std::string n, e;
    bool sawEquals = false;
    size_t i = begin;
    while (i < end) {
        const char c = text[i];
        if (c == '{') {
            const size_t subEnd = end > i + 1 ? end - 1 : i + 1;
            TRCMGroupPtr sub = readRange(text, i + 1, subEnd, UnescapeText(Trim(n)));
            if (sub->_id.empty()) {
                // A group without a name is written as its contents alone, without braces, so
                // it is read that way too: into the group around it. (Kept as a group, its
                // blank line and its entries' place changed the file at every save.)
                group->_listaWpisow.insert(group->_listaWpisow.end(), sub->_listaWpisow.begin(),
                                           sub->_listaWpisow.end());
                group->_listaGrup.insert(group->_listaGrup.end(), sub->_listaGrup.begin(), sub->_listaGrup.end());
            } else {
                group->_listaGrup.push_back(sub);
            }
            n.clear();
            // A "=" before "{" belonged to the group's name: it makes no entry of the name as
            // well (which then came back once more at every save).
            if (sawEquals) {
                e.clear();
                sawEquals = false;
            }
            i = i + 1 + static_cast<size_t>(sub->_pos);
            continue;
        }
        if (c == '}') {
            group->_pos = static_cast<int32_t>(i - begin + 1);
            break;
        }
        if (c == '\n') {
            if (sawEquals) {
                group->_listaWpisow.push_back(readEntry(Trim(e)));
                n.clear();
                e.clear();
                sawEquals = false;
            }
        } else {
            if (c == '=') sawEquals = true;
            n += c;
            e += c;
        }
        ++i;
    }
    // No closing brace: the group took the whole range, and the pass of the group around it goes
    // on after it. (Going on just after its "{" read the rest again for every unclosed brace,
    // twice as much work and memory for each one more.)
    if (i >= end) group->_pos = static_cast<int32_t>(end - begin);
    return group;
}

TRCMEntryPtr TRCMFile::readEntry(const std::string& line) {
    auto entry = std::make_shared<TRCMEntry>();
    const std::vector<std::string> pieces = SplitByChar(line, "=", "", "");
    entry->_id = pieces.empty() ? "" : UnescapeText(Trim(pieces[0]));
    const std::string valueText = pieces.size() > 1 ? pieces[1] : "";
    const std::string lead = Trim(valueText);
    entry->_type = !lead.empty() && ((lead[0] >= '0' && lead[0] <= '9') || lead[0] == '-') ? 1 : 0;
    for (const std::string& piece : SplitByCharQuoted(valueText, ",", "", "")) {
        // A text value stands after one blank, between quotes, as the writer puts it. A number
        // is kept without the blanks around it: the writer puts its own blank before it, and a
        // number kept as written would gain one more at every save.
        entry->_value.push_back(entry->_type == 1 ? Trim(piece) : UnescapeText(DropCharacters(piece, 2, 1)));
    }
    return entry;
}

std::string TRCMFile::myTrim(const std::string& text) { return Replace(Trim(Replace(text, "0", "*")), "*", "0"); }

TRCMGroupPtr TRCMFile::getGroupSet(const std::vector<std::string>& names) {
    TRCMGroupPtr g = _grupa;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        TRCMGroupPtr next = g->getGroup(names[i]);
        if (!next) {
            next = std::make_shared<TRCMGroup>();
            next->_id = names[i];
            g->_listaGrup.push_back(next);
        }
        g = next;
    }
    return g;
}

TRCMGroupPtr TRCMFile::getGroup(const std::vector<std::string>& names) {
    TRCMGroupPtr g = _grupa;
    for (size_t i = 0; g && i + 1 < names.size(); ++i) g = g->getGroup(names[i]);
    return g;
}

bool TRCMFile::WritablePath(const std::vector<std::string>& names, const std::string& path) {
    if (names.empty()) return false;
    for (const std::string& n : names) {
        if (!IsWritableName(n)) {
            errorMsg("Nazwa nie do zapisania : " + path);
            return false;
        }
    }
    return true;
}

int TRCMFile::setString(const std::string& path, const std::string& value, int index) {
    const std::vector<std::string> names = SplitPath(path);
    if (!WritablePath(names, path) || index < 0) return -1;
    return getGroupSet(names)->setStringEntry(names.back(), value, index);
}

int TRCMFile::setFloat(const std::string& path, float value, int index) {
    const std::vector<std::string> names = SplitPath(path);
    if (!WritablePath(names, path) || index < 0) return -1;
    return getGroupSet(names)->setFloatEntry(names.back(), value, index);
}

std::string TRCMFile::getString(const std::string& path, int index) {
    const std::vector<std::string> names = SplitPath(path);
    if (names.empty() || index < 0) return "";
    TRCMGroupPtr g = getGroup(names);
    if (!g) return "";
    TRCMEntryPtr e = g->getEntry(names.back());
    if (!e || static_cast<size_t>(index) >= e->_value.size()) return "";
    return e->_value[static_cast<size_t>(index)];
}

float TRCMFile::getFloat(const std::string& path, int index, int show) {
    const std::vector<std::string> names = SplitPath(path);
    if (names.empty()) return 0.0f;
    TRCMGroupPtr g = getGroup(names);
    if (!g) return 0.0f;
    if (show != 0) g->showGroup("");
    return StringToFloat(getString(path, index));
}

int TRCMFile::printAll() { return _grupa->showGroup(""); }
