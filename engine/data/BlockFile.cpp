#include "engine/data/BlockFile.h"

#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Strings.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>

// =============================================================================================
// Case mapping of names.

namespace {

char32_t UpperCp(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (evenUpper && (c & 1)) return c - 1;
        if (oddUpper && !(c & 1)) return c - 1;
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 32;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 37;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 63;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

char32_t LowerCp(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F) {
        bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (evenUpper && !(c & 1)) return c + 1;
        if (oddUpper && (c & 1)) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

template <char32_t (*Map)(char32_t), char (*MapAscii)(char)>
std::string MapCase(std::string_view s) {
    std::string out(s.size(), '\0');
    for (size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            std::u32string cps = Utf8ToUtf32(s);
            for (char32_t& c : cps) c = Map(c);
            return Utf32ToUtf8(cps);
        }
        out[i] = MapAscii(s[i]);
    }
    return out;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimView(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a])) ++a;
    while (b > a && IsBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

}  // namespace

namespace {
// Writes the mapped name into dst, reusing its storage.
template <char32_t (*Map)(char32_t), char (*MapAscii)(char)>
void AssignCase(std::string& dst, std::string_view s) {
    dst.resize(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            dst = MapCase<Map, MapAscii>(s);
            return;
        }
        dst[i] = MapAscii(s[i]);
    }
}
}  // namespace

std::string NameUpper(std::string_view s) { return MapCase<UpperCp, AsciiUpper>(s); }
std::string NameLower(std::string_view s) { return MapCase<LowerCp, AsciiLower>(s); }

bool NamesEqual(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
        return true;
    }
    return NameUpper(a) == NameUpper(b);
}

// =============================================================================================
// Numbers in the writer's forms.

namespace {

void AppendInt(std::string& out, int32_t v) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// Appends the float as C's "%#.9g" writes it (widened to double): nine significant digits,
// the decimal point always present, trailing zeros kept, the exponent form for exponents below
// -4 or from 9 up.
void AppendReal(std::string& out, float f) {
    double d = static_cast<double>(f);
    if (!std::isfinite(d)) {
        out += FloatToString(f);
        return;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, 8);
    std::string_view sci(buf, static_cast<size_t>(r.ptr - buf));
    size_t e = sci.find('e');
    int exp = 0;
    std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exp);
    if (exp < -4 || exp >= 9) {
        out.append(sci);
        return;
    }
    r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, 8 - exp);
    out.append(buf, r.ptr);
    if (exp == 8) out += '.';
}

bool NeedsEscapes(std::string_view s) {
    for (char c : s)
        if (c == '"' || c == '\n' || c == '\r') return true;
    return false;
}

void AppendValue(std::string& out, const std::string& v, int32_t type) {
    switch (type) {
        case BF_TEXT:
            if (!NeedsEscapes(v)) {
                out += '"';
                out += v;
                out += '"';
            } else {
                // A backslash before the opening quote marks a text with escapes, so that quotes
                // and line breaks inside a text never break the file's structure.
                out += "\\\"";
                for (char c : v) {
                    switch (c) {
                        case '"': out += "\\\""; break;
                        case '\\': out += "\\\\"; break;
                        case '\n': out += "\\n"; break;
                        case '\r': out += "\\r"; break;
                        default: out += c;
                    }
                }
                out += '"';
            }
            break;
        case BF_INT: AppendInt(out, StringToInt(v)); break;
        case BF_REAL: AppendReal(out, StringToFloat(v)); break;
        case BF_BOOL:
            if (EqualsNoCase(v, "true") || EqualsNoCase(v, "false")) out += v;
            else AppendValue(out, v, BF_TEXT);  // anything else would not read back as one value
            break;
        default: break;
    }
}

}  // namespace

// =============================================================================================
// TBlockFile

TBlockFile::~TBlockFile() {
    if (SubFiles.empty()) return;
    // Tear the tree down with a work list: a deeply nested file must not exhaust the stack.
    TBlockFileList pending;
    pending.swap(SubFiles);
    while (!pending.empty()) {
        TBlockFilePtr p = std::move(pending.back());
        pending.pop_back();
        if (p && p.use_count() == 1 && !p->SubFiles.empty()) {
            pending.insert(pending.end(), std::make_move_iterator(p->SubFiles.begin()),
                           std::make_move_iterator(p->SubFiles.end()));
            p->SubFiles.clear();
        }
    }
}

int TBlockFile::isIndex(int i) const { return (i >= 0 && i < GetSize()) ? 1 : 0; }

TBlockFilePtr TBlockFile::isBlock(std::string_view childName) const {
    for (const auto& c : SubFiles)
        if (c && NamesEqual(c->name, childName)) return c;
    return nullptr;
}

TBlockFilePtr TBlockFile::GetBlock(std::string_view childName) const {
    if (auto c = isBlock(childName)) return c;
    return std::make_shared<TBlockFile>();
}

TBlockFilePtr TBlockFile::GetBlockNO_NEW(std::string_view childName) const { return isBlock(childName); }

std::string TBlockFile::GetString(int i) const { return isIndex(i) ? Value[static_cast<size_t>(i)] : std::string(); }

float TBlockFile::GetFloat(int i) const { return isIndex(i) ? StringToFloat(Value[static_cast<size_t>(i)]) : 0.0f; }

int32_t TBlockFile::GetInt(int i) const { return isIndex(i) ? StringToInt(Value[static_cast<size_t>(i)]) : 0; }

int32_t TBlockFile::GetBool(int i) const {
    if (!isIndex(i)) return 0;
    const std::string& v = Value[static_cast<size_t>(i)];
    std::string_view t = TrimView(v);
    if (EqualsNoCase(t, "TRUE")) return 1;
    if (EqualsNoCase(t, "FALSE")) return 0;
    return StringToInt(v);
}

int TBlockFile::AddBlock(TBlockFilePtr node) {
    if (!node) return 0;
    if (SubFiles.capacity() == 0) SubFiles.reserve(4);
    SubFiles.push_back(std::move(node));
    return 0;
}

int TBlockFile::AddEntry(std::string value, int i, int type) {
    if (i < 0) return 0;
    if (i >= GetSize() || typ.size() != Value.size()) Resize(std::max(i + 1, GetSize()));
    Value[static_cast<size_t>(i)] = std::move(value);
    typ[static_cast<size_t>(i)] = type;
    return 0;
}

int TBlockFile::Resize(int n) {
    if (n < 0) n = 0;
    Value.resize(static_cast<size_t>(n));
    typ.resize(static_cast<size_t>(n), BF_TEXT);
    return 0;
}

int TBlockFile::GetSize() const { return static_cast<int>(Value.size()); }

void TBlockFile::AppendText(std::string& out, std::string& indent) const {
    if (MyType == BF_BLOCK) {
        out += indent;
        out += name;
        out += "{\n";
        indent += '\t';
        for (const auto& c : SubFiles)
            if (c) c->AppendText(out, indent);
        indent.pop_back();
        out += indent;
        out += "}\n";
    } else if (MyType == BF_ENTRY) {
        if (Value.empty()) return;
        out += indent;
        out += name;
        out += " = ";
        for (size_t i = 0; i < Value.size(); ++i) {
            if (i) out += ", ";
            AppendValue(out, Value[i], i < typ.size() ? typ[i] : BF_TEXT);
        }
        out += '\n';
    }
}

std::string TBlockFile::ToString2(const std::string& indent) const {
    std::string out;
    std::string ind = indent;
    AppendText(out, ind);
    return out;
}

// =============================================================================================
// Tokens

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "-1.50000000e+10": the exponent form the writer gives very large and very small reals.
bool IsExponentReal(std::string_view s) {
    size_t i = 0, n = s.size();
    if (i < n && s[i] == '-') ++i;
    size_t d = i;
    while (i < n && IsDigit(s[i])) ++i;
    if (i == d || i >= n || s[i] != '.') return false;
    ++i;
    while (i < n && IsDigit(s[i])) ++i;
    if (i >= n || (s[i] != 'e' && s[i] != 'E')) return false;
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t x = i;
    while (i < n && IsDigit(s[i])) ++i;
    return i == n && i > x;
}

}  // namespace

int GetEntryType(std::string_view text) {
    std::string_view t = TrimView(text);
    if (t.empty()) return BF_TEXT;
    bool real = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) continue;
        if (c == '.') {
            real = true;
            continue;
        }
        if (IsBlank(c)) continue;
        if (c == '-' && i == 0) continue;
        return (EqualsNoCase(t, "TRUE") || EqualsNoCase(t, "FALSE")) ? BF_BOOL : BF_TEXT;
    }
    return real ? BF_REAL : BF_INT;
}

namespace {
// The type code of a value token. A quoted text stays text, so "007" or "1 2" keep their form;
// an unquoted real in the writer's exponent form is a real.
int ValueType(std::string_view text, bool quoted) {
    if (quoted) return BF_TEXT;
    int t = GetEntryType(text);
    if (t == BF_TEXT && IsExponentReal(text)) return BF_REAL;
    return t;
}
}  // namespace

int TToken::GetEntryType() const { return ValueType(T, Quoted); }

int TToken::FindType(TToken* prev) {
    if (Quoted || T.size() != 1) return 0;
    switch (T[0]) {
        case '{':
            MyType = 3;
            if (prev) prev->MyType = 2;
            break;
        case '}': MyType = 4; break;
        case '=':
            MyType = 6;
            if (prev) prev->MyType = 1;
            break;
        case ';':
        case '\n': MyType = 5; break;
        case '"': MyType = 7; break;
        case ',': MyType = 8; break;
        default: break;
    }
    return 0;
}

std::string TToken::ToString() const {
    return "<LINE " + std::to_string(Line) + " CHAR " + std::to_string(Char) + " TYPE = " + std::to_string(MyType) +
           " > " + T;
}

TToken TokenCreator::CreateToken(std::string text, int ch, int line) {
    TToken t;
    t.Char = ch - static_cast<int>(Utf8Length(text)) + 1;
    t.Line = line;
    t.T = std::move(text);
    return t;
}

namespace {

// A token as the reader keeps it: its text is a piece of the source text, or, for a text with
// escapes, a string of its own.
struct LightToken {
    size_t off = 0;  // offset in the source, or index in the owned texts
    size_t len = 0;
    int32_t line = 0;
    int32_t col = 0;
    int8_t kind = 0;
    bool quoted = false;
    bool owned = false;
};

// The tokenizer. Words end at a blank, tab, ",", "=", "{", "}", "\", ";", a double quote or a
// line feed; each of these marks (blanks and tabs excepted) is a token of its own. Between
// double quotes only the closing quote and the line feed end the text. A backslash right before
// an opening quote opens a text with escapes (\" \\ \n \r). A carriage return right before a
// line feed is dropped. The token before "{" becomes a block name, the token before "=" an
// entry name. Tokens are made on demand, so that a large file is never held as tokens whole.
class TokenStream {
public:
    explicit TokenStream(std::string_view text) : s_(text) { items.reserve(kWindow + 64); }

    std::vector<LightToken> items;
    std::vector<std::string> owned;
    size_t head = 0;

    static constexpr size_t kWindow = 4096;

    // True when token idx exists; its kind is then final (a mark retypes the token before it,
    // so the token after it is made first).
    bool Has(size_t idx) {
        while (items.size() < idx + 2) {
            // A line feed's kind is final already when the next line cannot retype it.
            if (items.size() == idx + 1 && IsLineFeed(items[idx]) && !NextLineRetypes(i_)) break;
            if (!Step()) break;
        }
        return idx < items.size();
    }

    // A well-formed line read straight into the tree, bypassing the tokens.
    struct SimpleLine {
        enum Kind { kEmpty, kOpen, kClose, kEntry } kind = kEmpty;
        std::string_view name;
        std::vector<std::pair<std::string_view, bool>> values;  // text, quoted
    };

    // Reads the line at the current position when it is one of: an empty line, "name{", "}",
    // or "name = value, ..." with plain words or plain quoted texts, and when the next line
    // does not retype its line feed. Reads it exactly as the tokens would. Anything else (or a
    // position inside a line) leaves everything untouched and returns false.
    bool SimpleLineAt(SimpleLine& out) {
        const size_t n = s_.size();
        if (done_ || quote_ != 0 || textStart_ != kNone || col_ != 1 || i_ >= n) return false;
        const CharClass* cls = Classes();
        const char* s = s_.data();
        auto word = [&](size_t j) { return cls[static_cast<unsigned char>(s[j])] == kOrdinary; };

        out.values.clear();
        size_t j = i_;
        while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
        size_t end = LineEndAt(j);
        if (end != kNone) {
            out.kind = SimpleLine::kEmpty;
        } else if (j < n && s[j] == '}') {
            ++j;
            while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
            end = LineEndAt(j);
            if (end == kNone) return false;
            // The very first token of a text is never classified, so a first "}" is ignored.
            out.kind = produced_ == 0 ? SimpleLine::kEmpty : SimpleLine::kClose;
        } else if (j < n && word(j)) {
            const size_t nameStart = j;
            while (j < n && word(j)) ++j;
            out.name = s_.substr(nameStart, j - nameStart);
            if (!HasVisible(out.name)) return false;
            while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
            if (j < n && s[j] == '{') {
                ++j;
                while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
                end = LineEndAt(j);
                if (end == kNone) return false;
                out.kind = SimpleLine::kOpen;
            } else if (j < n && s[j] == '=') {
                out.kind = SimpleLine::kEntry;
                ++j;
                while (true) {
                    while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
                    if (j >= n) return false;
                    if (s[j] == '"') {
                        const char* close = static_cast<const char*>(std::memchr(s + j + 1, '"', n - j - 1));
                        if (!close) return false;
                        const size_t q = static_cast<size_t>(close - s);
                        if (std::memchr(s + j + 1, '\n', q - j - 1)) return false;
                        out.values.emplace_back(s_.substr(j + 1, q - j - 1), true);
                        j = q + 1;
                    } else if (word(j)) {
                        const size_t w = j;
                        while (j < n && word(j)) ++j;
                        size_t e = j;
                        // A CR right before the line feed is not part of the word.
                        if (s[e - 1] == '\r' && e < n && s[e] == '\n') --e;
                        std::string_view v = s_.substr(w, e - w);
                        if (!HasVisible(v)) return false;
                        out.values.emplace_back(v, false);
                    } else {
                        return false;
                    }
                    // A line of more values than a file may hold is left to the token reader,
                    // which stops at the budget.
                    if (out.values.size() > kMaxBlockFileValues) return false;
                    while (j < n && (s[j] == ' ' || s[j] == '\t')) ++j;
                    if (j < n && s[j] == ',') {
                        ++j;
                        continue;
                    }
                    end = LineEndAt(j);
                    if (end == kNone) return false;
                    break;
                }
            } else {
                return false;
            }
        } else {
            return false;
        }
        if (NextLineRetypes(end)) return false;
        // The line held no error, so its columns are not needed; the next starts at column 1.
        i_ = end;
        ++line_;
        ++produced_;
        return true;
    }

    std::string_view Text(const LightToken& t) const {
        return t.owned ? std::string_view(owned[t.off]) : s_.substr(t.off, t.len);
    }

    // Drops the tokens already consumed.
    void Compact() {
        if (head < kWindow) return;
        items.erase(items.begin(), items.begin() + static_cast<ptrdiff_t>(head));
        head = 0;
    }

    // Makes at least one more token; false when the text is used up and nothing was made.
    bool Step() {
        if (done_) return false;
        const size_t before = produced_;
        while (produced_ == before) {
            if (i_ >= s_.size()) {
                // A last word with no line feed after it is still a token.
                if (quote_ != 0 || textStart_ != kNone) Flush(s_.size());
                done_ = true;
                return produced_ != before;
            }
            StepChar();
        }
        return true;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    enum CharClass : unsigned char { kOrdinary, kBlank, kMark, kQuote, kBackslash, kLineFeed };

    static const CharClass* Classes() {
        static const auto table = [] {
            std::array<CharClass, 256> t{};
            t[' '] = t['\t'] = kBlank;
            for (unsigned char c : {',', '=', '{', '}', ';'}) t[c] = kMark;
            t['"'] = kQuote;
            t['\\'] = kBackslash;
            t['\n'] = kLineFeed;
            return t;
        }();
        return table.data();
    }

    static bool Counts(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

    // The position after the line feed when j stands at it (or at a CR before it), else kNone.
    size_t LineEndAt(size_t j) const {
        if (j < s_.size() && s_[j] == '\r') ++j;
        return (j < s_.size() && s_[j] == '\n') ? j + 1 : kNone;
    }

    // Whether the text holds a character above code 32 (so it is not dropped as blank).
    static bool HasVisible(std::string_view v) {
        for (char c : v)
            if (static_cast<unsigned char>(c) > 32) return true;
        return false;
    }

    bool IsLineFeed(const LightToken& t) const { return !t.owned && t.len == 1 && s_[t.off] == '\n'; }

    // Whether the first token from position j (the start of a line, outside quotes) will be a
    // "{" or "=", which would retype the line feed before it.
    bool NextLineRetypes(size_t j) const {
        if (quote_ != 0) return false;
        while (j < s_.size() && static_cast<unsigned char>(s_[j]) <= 32 && s_[j] != '\n') ++j;
        return j < s_.size() && (s_[j] == '{' || s_[j] == '=');
    }

    static int8_t MarkKind(char c) {
        switch (c) {
            case '{': return 3;
            case '}': return 4;
            case '=': return 6;
            case ';': return 5;
            case '"': return 7;
            case ',': return 8;
            default: return 0;
        }
    }

    void StepChar() {
        const size_t n = s_.size();
        const char c = s_[i_];
        if (c == '\n') {
            size_t end = i_;
            if (quote_ == 2) {
                if (i_ > 0 && s_[i_ - 1] == '\r' && !buf_.empty() && buf_.back() == '\r') buf_.pop_back();
            } else if (textStart_ != kNone && end > textStart_ && s_[end - 1] == '\r') {
                --end;
            }
            Flush(end);
            AddMark(5);
            ++line_;
            col_ = 1;
            ++i_;
            return;
        }
        if (quote_ == 2) {
            if (c == '\\' && i_ + 1 < n) {
                const char e = s_[i_ + 1];
                const char put = e == '"' ? '"' : e == '\\' ? '\\' : e == 'n' ? '\n' : e == 'r' ? '\r' : 0;
                if (put) {
                    buf_ += put;
                    i_ += 2;
                    col_ += 2;
                    return;
                }
            }
            if (c == '"') {
                Flush(i_);
                AddMark(7);
                quote_ = 0;
            } else {
                buf_ += c;
            }
            if (Counts(c)) ++col_;
            ++i_;
            return;
        }
        if (c == '"') {
            Flush(i_);
            AddMark(7);
            quote_ = quote_ ? 0 : 1;
            ++col_;
            ++i_;
            return;
        }
        if (quote_ == 1) {
            // Plain quoted text runs to the closing quote or the line's end.
            if (textStart_ == kNone) {
                textStart_ = i_;
                textCol_ = col_;
            }
            while (i_ < n && s_[i_] != '"' && s_[i_] != '\n') {
                if (Counts(s_[i_])) ++col_;
                ++i_;
            }
            return;
        }
        const CharClass* cls = Classes();
        switch (cls[static_cast<unsigned char>(c)]) {
            case kOrdinary:
                if (textStart_ == kNone) {
                    textStart_ = i_;
                    textCol_ = col_;
                }
                while (i_ < n && cls[static_cast<unsigned char>(s_[i_])] == kOrdinary) {
                    if (Counts(s_[i_])) ++col_;
                    ++i_;
                }
                return;
            case kBlank: Flush(i_); break;
            case kBackslash:
                if (i_ + 1 < n && s_[i_ + 1] == '"') {
                    Flush(i_);
                    ++col_;
                    ++i_;
                    AddMark(7);
                    quote_ = 2;
                    ++col_;
                    ++i_;
                    textCol_ = col_;
                    return;
                }
                Flush(i_);
                AddMark(0);
                break;
            default:
                Flush(i_);
                AddMark(MarkKind(c));
                break;
        }
        ++col_;
        ++i_;
    }

    // Ends the text being collected at `end` (exclusive) and adds it as a token.
    void Flush(size_t end) {
        if (quote_ == 2) {
            owned.push_back(std::move(buf_));
            buf_.clear();
            LightToken& t = Push(owned.size() - 1, 0, textCol_);
            t.quoted = t.owned = true;
            textStart_ = kNone;
            return;
        }
        if (quote_ == 1) {
            // A quoted text, kept even when empty or blank.
            const bool none = textStart_ == kNone;
            const size_t start = none ? end : textStart_;
            Push(start, end - start, none ? col_ : textCol_).quoted = true;
            textStart_ = kNone;
            return;
        }
        if (textStart_ == kNone) return;
        const size_t start = textStart_;
        textStart_ = kNone;
        if (TrimView(s_.substr(start, end - start)).empty()) return;
        Push(start, end - start, textCol_);
    }

    // Adds the mark at the current character; it classifies itself and retypes the token before.
    void AddMark(int8_t kind) {
        LightToken& t = Push(i_, 1, col_);
        // The very first token of a text is never classified: it keeps kind 0.
        if (produced_ > 1) {
            t.kind = kind;
            // The token before may already be read and dropped; its kind no longer matters then.
            if (items.size() >= 2) {
                LightToken& prev = items[items.size() - 2];
                if (kind == 3) prev.kind = 2;
                if (kind == 6) prev.kind = 1;
            }
        }
    }

    LightToken& Push(size_t off, size_t len, int col) {
        LightToken& t = items.emplace_back();
        t.off = off;
        t.len = len;
        t.line = line_;
        t.col = col;
        ++produced_;
        return t;
    }

    std::string_view s_;
    size_t i_ = 0;
    size_t produced_ = 0;
    bool done_ = false;
    int line_ = 1;
    int col_ = 1;
    int quote_ = 0;  // 0 outside quotes, 1 inside plain quotes, 2 inside a text with escapes
    size_t textStart_ = kNone;
    int textCol_ = 1;
    std::string buf_;
};

// The parser's view of a streamed token list.
struct StreamQueue {
    TokenStream& ts;
    size_t& head() { return ts.head; }
    bool Has(size_t i) { return ts.Has(i); }
    int Kind(size_t i) const { return ts.items[i].kind; }
    std::string_view Text(size_t i) const { return ts.Text(ts.items[i]); }
    int Type(size_t i) const { return ValueType(Text(i), ts.items[i].quoted); }
    std::string Take(size_t i) {
        const LightToken& t = ts.items[i];
        return t.owned ? std::move(ts.owned[t.off]) : std::string(Text(i));
    }
    void Error(size_t i, const std::string& message) const {
        TToken t;
        t.Line = ts.items[i].line;
        t.Char = ts.items[i].col;
        TBlockParser::ParseError(t, message);
    }
    void Compact() { ts.Compact(); }
    bool Simple(TokenStream::SimpleLine& line) { return ts.head == ts.items.size() && ts.SimpleLineAt(line); }
};

// The parser's view of a whole token list.
struct ListQueue {
    TTokenQueue& q;
    size_t& head() { return q.head; }
    bool Has(size_t i) const { return i < q.items.size(); }
    int Kind(size_t i) const { return q.items[i].MyType; }
    std::string_view Text(size_t i) const { return q.items[i].T; }
    int Type(size_t i) const { return q.items[i].GetEntryType(); }
    std::string Take(size_t i) { return std::move(q.items[i].T); }
    void Error(size_t i, const std::string& message) const { TBlockParser::ParseError(q.items[i], message); }
    void Compact() {}
    bool Simple(TokenStream::SimpleLine&) { return false; }
};

// Problems of the text being read (syntax errors, blocks left open, a "}" closing no block),
// counted for LoadBlockFileChecked. The reader keeps going after each.
int gReadProblems = 0;

// Deeper nesting than this is reported and skipped: no data file comes near it, and it keeps
// a hostile file from exhausting memory or the stack.
constexpr size_t kMaxDepth = 1000;

// Nodes read from a text are carved from shared slabs, one allocation for hundreds of nodes
// instead of one each. A slab is aligned to its size, so a node finds its slab from its own
// address; the slab is released when the parse that filled it is over and its last node is gone.
class NodeSlab {
public:
    static constexpr size_t kBytes = 64 * 1024;

    static NodeSlab* New() {
        void* mem = ::operator new(kBytes, std::align_val_t(kBytes));
        return ::new (mem) NodeSlab;  // the node memory is left uninitialised
    }

    // Room for `bytes`, or null when the slab is full. Only the parse that owns the slab calls it.
    void* Take(size_t bytes) {
        const size_t need = (bytes + 15) & ~size_t(15);
        if (used_ + need > kBytes) return nullptr;
        void* p = reinterpret_cast<unsigned char*>(this) + used_;
        used_ += need;
        ++carved_;
        return p;
    }

    static void Give(void* p) {
        auto* slab = reinterpret_cast<NodeSlab*>(reinterpret_cast<uintptr_t>(p) & ~uintptr_t(kBytes - 1));
        if (slab->balance_.fetch_sub(1, std::memory_order_acq_rel) == 1 &&
            slab->closed_.load(std::memory_order_acquire))
            slab->Destroy();
    }

    // The parse is done with the slab: it goes with its last node (or now, when it has none).
    void Release() {
        closed_.store(true, std::memory_order_release);
        if (balance_.fetch_add(static_cast<intptr_t>(carved_), std::memory_order_acq_rel) +
                static_cast<intptr_t>(carved_) ==
            0)
            Destroy();
    }

private:
    NodeSlab() = default;
    void Destroy() {
        this->~NodeSlab();
        ::operator delete(this, std::align_val_t(kBytes));
    }
    // Nodes carved (counted by the parse alone) minus nodes released (balance_, which the parse
    // adds its count to when it closes the slab).
    std::atomic<intptr_t> balance_{0};
    std::atomic<bool> closed_{false};
    size_t carved_ = 0;
    size_t used_ = 64;  // nodes start after this header
};

// The slabs of the parse running now. Parsing is never re-entered, but nesting is kept safe.
class NodeArena {
public:
    NodeArena() : outer_(current_) { current_ = this; }
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    ~NodeArena() {
        if (slab_) slab_->Release();
        current_ = outer_;
    }
    static void* Take(size_t bytes) {
        NodeArena* a = current_;
        if (!a || bytes > NodeSlab::kBytes / 8) throw std::bad_alloc();  // (never for a node)
        void* p = a->slab_ ? a->slab_->Take(bytes) : nullptr;
        if (!p) {
            if (a->slab_) a->slab_->Release();
            a->slab_ = NodeSlab::New();
            p = a->slab_->Take(bytes);
        }
        return p;
    }

private:
    static inline NodeArena* current_ = nullptr;
    NodeArena* outer_;
    NodeSlab* slab_ = nullptr;
};

template <class T>
struct SlabAllocator {
    using value_type = T;
    SlabAllocator() = default;
    template <class U>
    SlabAllocator(const SlabAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(NodeArena::Take(sizeof(T) * n)); }
    void deallocate(T* p, size_t) { NodeSlab::Give(p); }
    template <class U>
    bool operator==(const SlabAllocator<U>&) const {
        return true;
    }
};

// What one parse keeps: the node arena, the values of the entry being read, and what the text
// has become so far, against the budget of one file.
struct ParseContext {
    NodeArena arena;
    std::vector<std::string> v;
    std::vector<int32_t> t;
    size_t nodes = 0, values = 0;
    bool over = false;  // the text holds more than a file may become: the read stops

    TBlockFilePtr NewNode() {
        if (++nodes > kMaxBlockFileNodes) over = true;
        return std::allocate_shared<TBlockFile>(SlabAllocator<TBlockFile>());
    }
    void CountValues(size_t n) {
        values += n;
        if (values > kMaxBlockFileValues) over = true;
    }

    void Set(size_t i, std::string value, int32_t type) {
        if (i >= v.size()) {
            CountValues(i + 1 - v.size());
            v.resize(i + 1);
            t.resize(i + 1, BF_TEXT);
        }
        v[i] = std::move(value);
        t[i] = type;
    }
    void MoveInto(TBlockFile& e) {
        e.Value.assign(std::make_move_iterator(v.begin()), std::make_move_iterator(v.end()));
        e.typ.assign(t.begin(), t.end());
        v.clear();
        t.clear();
    }
};

template <class Q>
void ReadEntry(TBlockFile& block, std::string_view name, Q& q, ParseContext& values) {
    auto node = values.NewNode();
    node->MyType = BF_ENTRY;
    AssignCase<LowerCp, AsciiLower>(node->name, name);
    TBlockFile& entry = *node;
    block.AddBlock(std::move(node));

    bool eqSeen = false;
    bool inQuote = false;
    bool has = false;
    size_t index = 0;
    size_t& head = q.head();
    // The reader walks the queue with its own cursor; every look removes the queue's first token
    // except when the token looked at is a "}", which thus stays for the enclosing block (and
    // after a "}" taken as a value, the removals lag one token behind the cursor).
    for (size_t cur = head; q.Has(cur); ++cur) {
        const int k = q.Kind(cur);
        if (k != 4) ++head;
        if (k == 5) break;
        if (k == 7) {
            if (inQuote) has = true;
            inQuote = !inQuote;
            continue;
        }
        if (!eqSeen && k != 6) {
            q.Error(cur, "No '=' character");
            break;
        }
        if (eqSeen && k == 6) {
            q.Error(cur, "Character '=' found again in the same entry");
            break;
        }
        if (k == 8 && !has) {
            q.Error(cur, "Coma (',') before data entry!");
            break;
        }
        if (k == 6) {
            eqSeen = true;
            continue;
        }
        if (has && k == 8) {
            ++index;
            has = false;
            continue;
        }
        if (has) break;
        const int type = q.Type(cur);
        const bool removed = cur < head;  // a token left in the queue keeps its text
        values.Set(index, removed ? q.Take(cur) : std::string(q.Text(cur)), type);
        has = true;
        if (values.over) break;
    }
    values.MoveInto(entry);
}

// Reads the blocks and entries of the queue into root; false when the text holds more than one
// file may become (the read stopped there).
template <class Q>
bool ReadBlocks(TBlockFile& root, Q& q) {
    ParseContext values;
    // Nested blocks are read with an explicit stack sharing the one queue.
    std::vector<TBlockFile*> stack;
    stack.reserve(16);
    TBlockFile* current = &root;
    size_t& head = q.head();
    TokenStream::SimpleLine line;
    while (true) {
        if (values.over) return false;
        q.Compact();
        // Well-formed lines are read directly; near the depth limit the token path reports it.
        if (stack.size() + 2 < kMaxDepth && q.Simple(line)) {
            switch (line.kind) {
                case TokenStream::SimpleLine::kOpen: {
                    auto child = values.NewNode();
                    AssignCase<UpperCp, AsciiUpper>(child->name, line.name);
                    TBlockFile* raw = child.get();
                    current->AddBlock(std::move(child));
                    stack.push_back(current);
                    current = raw;
                    break;
                }
                case TokenStream::SimpleLine::kClose:
                    if (stack.empty()) {
                        ++gReadProblems;
                        return true;
                    }
                    current = stack.back();
                    stack.pop_back();
                    break;
                case TokenStream::SimpleLine::kEntry: {
                    auto node = values.NewNode();
                    node->MyType = BF_ENTRY;
                    AssignCase<LowerCp, AsciiLower>(node->name, line.name);
                    values.CountValues(line.values.size());
                    node->Value.reserve(line.values.size());
                    node->typ.reserve(line.values.size());
                    for (const auto& [text, quoted] : line.values) {
                        node->Value.emplace_back(text);
                        node->typ.push_back(ValueType(text, quoted));
                    }
                    current->AddBlock(std::move(node));
                    break;
                }
                default: break;
            }
            continue;
        }
        if (!q.Has(head)) {
            if (!stack.empty()) ++gReadProblems;  // the text ends inside a block: cut short
            return true;
        }
        const size_t i = head++;
        switch (q.Kind(i)) {
            case 2: {
                if (stack.size() + 1 >= kMaxDepth) {
                    q.Error(i, "Blocks nested too deeply");
                    int depth = 0;
                    while (q.Has(head)) {
                        const int k = q.Kind(head++);
                        if (k == 3) ++depth;
                        if (k == 4 && --depth <= 0) break;
                    }
                    break;
                }
                auto child = values.NewNode();
                AssignCase<UpperCp, AsciiUpper>(child->name, q.Text(i));
                TBlockFile* raw = child.get();
                current->AddBlock(std::move(child));
                stack.push_back(current);
                current = raw;
                break;
            }
            case 1: ReadEntry(*current, q.Text(i), q, values); break;
            case 0:
            case 6:
            case 7:
            case 8: ++gReadProblems; break;  // a word, "=", quote or "," that starts nothing
            case 4:
                if (stack.empty()) {
                    ++gReadProblems;
                    return true;
                }
                current = stack.back();
                stack.pop_back();
                break;
            default: break;
        }
    }
}

}  // namespace

TTokenQueue TokenCreator::CreateTokens(std::string_view text) {
    TokenStream ts(text);
    while (ts.Step()) {
    }
    TTokenQueue q;
    q.items.reserve(ts.items.size());
    for (const LightToken& l : ts.items) {
        TToken& t = q.items.emplace_back();
        t.Char = l.col;
        t.Line = l.line;
        t.T = std::string(ts.Text(l));
        t.MyType = l.kind;
        t.Quoted = l.quoted;
    }
    return q;
}

// =============================================================================================
// Parser

TBlockParser::TBlockParser() : BlockFile(std::make_shared<TBlockFile>()) {}

void TBlockParser::ParseError(const TToken& token, const std::string& message) {
    ++gReadProblems;
    Print("ERROR (Line " + std::to_string(token.Line) + " Char " + std::to_string(token.Char) + "): " + message + "!");
}

int TBlockParser::AddBlock(const std::string& name, TTokenQueue& tokens) {
    TBlockParser child;
    BlockFile->AddBlock(child.Parse(name, tokens));
    return 0;
}

int TBlockParser::AddEntry(const std::string& name, TTokenQueue& tokens) {
    ListQueue q{tokens};
    ParseContext values;
    ReadEntry(*BlockFile, name, q, values);
    return 0;
}

namespace {

// Reads the queue into root, named `name`, within the budget of one file: a text that holds more,
// or does not fit in memory, is refused whole with one line (root left empty, counted as a
// problem of the text).
template <class Q>
void ReadWithinBudget(TBlockFile& root, Q& q, const std::string& name) {
    std::string refused;
    try {
        if (!ReadBlocks(root, q))
            refused = "holds more than " + std::to_string(kMaxBlockFileNodes) + " blocks and entries or " +
                      std::to_string(kMaxBlockFileValues) + " values";
    } catch (const std::bad_alloc&) {
        refused = "does not fit in memory";
    }
    if (refused.empty()) return;
    TBlockFileList().swap(root.SubFiles);
    ++gReadProblems;
    Error("The block file " + name + " " + refused + "; it is not read!", Here());
}

}  // namespace

TBlockFilePtr TBlockParser::Parse(const std::string& name, TTokenQueue& tokens) {
    BlockFile->name = NameUpper(name);
    ListQueue q{tokens};
    ReadWithinBudget(*BlockFile, q, name);
    return BlockFile;
}

TBlockFilePtr ParseBlockFileText(std::string_view text, const std::string& name) {
    auto root = std::make_shared<TBlockFile>();
    root->name = NameUpper(name);
    TokenStream ts(text);
    StreamQueue q{ts};
    ReadWithinBudget(*root, q, name);
    return root;
}

// =============================================================================================
// Building

TBlockFilePtr CreateBlockFile(const std::string& name, const TBlockFilePtr& parent) {
    auto b = std::make_shared<TBlockFile>();
    b->name = name;
    if (parent) parent->AddBlock(b);
    return b;
}

int AddBlockFile(const TBlockFilePtr& parent, const TBlockFilePtr& child) {
    if (parent) parent->AddBlock(child);
    return 0;
}

TBlockFilePtr CreateNewStringEntry(const TBlockFilePtr& block, const std::string& name) {
    auto e = std::make_shared<TBlockFile>();
    e->MyType = BF_ENTRY;
    e->name = name;
    if (block) block->AddBlock(e);
    return e;
}

namespace {
int StoreValue(const TBlockFilePtr& block, const std::string& name, std::string value, int type, int index,
               int forceNew) {
    if (!block) return 0;
    TBlockFilePtr node = forceNew ? nullptr : block->isBlock(name);
    if (!node) node = CreateBlockFile(name, block);
    node->MyType = BF_ENTRY;
    node->AddEntry(std::move(value), index, type);
    return 0;
}
}  // namespace

int AddStringToBlock(const TBlockFilePtr& block, const std::string& name, const std::string& value, int index,
                     int forceNew) {
    return StoreValue(block, name, value, BF_TEXT, index, forceNew);
}

int AddIntToBlock(const TBlockFilePtr& block, const std::string& name, int32_t value, int index, int forceNew) {
    return StoreValue(block, name, std::to_string(value), BF_INT, index, forceNew);
}

int AddFloatToBlock(const TBlockFilePtr& block, const std::string& name, float value, int index, int forceNew) {
    std::string text;
    AppendReal(text, value);
    return StoreValue(block, name, std::move(text), BF_REAL, index, forceNew);
}

int AddBoolToBlock(const TBlockFilePtr& block, const std::string& name, int value, int index, int forceNew) {
    return StoreValue(block, name, value ? "true" : "false", BF_BOOL, index, forceNew);
}

// =============================================================================================
// Saving and loading

std::string BlockFileToText(const TBlockFilePtr& root) {
    std::string out;
    if (!root) return out;
    std::string indent;
    for (const auto& c : root->SubFiles)
        if (c) c->AppendText(out, indent);
    return out;
}

std::string EncodeBlockFileText(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::u32string cps = Utf8ToUtf32(utf8);
    bool latin1 = true;
    for (char32_t c : cps)
        if (c > 0xFF) {
            latin1 = false;
            break;
        }
    if (!latin1) return "\xEF\xBB\xBF" + std::string(utf8);
    std::string out;
    out.reserve(cps.size());
    for (char32_t c : cps) out += static_cast<char>(c);
    return out;
}

bool SaveBlockFile(const TBlockFilePtr& root) {
    if (!root) {
        Error("No block file to save!", Here());
        return false;
    }
    if (root->name.empty() || !SaveBytes(root->name, EncodeBlockFileText(BlockFileToText(root)))) {
        Error("Couldn't write block file! Url = " + root->name, Here());
        return false;
    }
    return true;
}

TBlockFilePtr LoadBlockFile(const std::string& path) {
    bool whole = false;
    return LoadBlockFileChecked(path, whole);
}

TBlockFilePtr ParseBlockFileTextChecked(std::string_view text, const std::string& name, bool& whole) {
    const int problemsBefore = gReadProblems;
    TBlockFilePtr root = ParseBlockFileText(text, name);
    whole = gReadProblems == problemsBefore;
    return root;
}

TBlockFilePtr LoadBlockFileChecked(const std::string& path, bool& whole) {
    whole = false;
    std::string text;
    if (FileType(path) != 1) {
        ErrorNoFile(path, Here());
        return CreateBlockFile(path);
    }
    if (!LoadBytes(path, text)) {
        // There, but refused (too large, or outside the game's folders: the reason is on the
        // error stream) or unreadable.
        Error("Couldn't read the block file " + path + "; it is left out!", Here());
        return CreateBlockFile(path);
    }
    // Plain ASCII needs no decoding; a byte-order mark or Latin-1 bytes do.
    try {
        if (!IsAscii(text)) text = DecodeText(text);
    } catch (const std::bad_alloc&) {
        Error("The block file " + path + " does not fit in memory; it is not read!", Here());
        return CreateBlockFile(path);
    }
    TBlockFilePtr root = ParseBlockFileTextChecked(text, path, whole);
    // The root keeps the path as given, so that saving it again writes the same file.
    root->name = path;
    return root;
}

// =============================================================================================
// Paths and lookups

namespace {

// Cuts at the first "::". The first step drops single colons after its first character.
void SplitPath(std::string_view path, std::string& scratch, std::string_view& first, std::string_view& rest) {
    if (path.size() < 2) {
        first = path;
        rest = {};
        return;
    }
    size_t cut = path.size();
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == ':' && path[i - 1] == ':') {
            cut = i;
            break;
        }
    std::string_view head = path.substr(0, cut);
    rest = cut < path.size() ? path.substr(cut + 1) : std::string_view();
    if (head.find(':', 1) == std::string_view::npos) {
        first = head;
        return;
    }
    scratch.clear();
    scratch += head[0];
    for (size_t i = 1; i < head.size(); ++i)
        if (head[i] != ':') scratch += head[i];
    first = scratch;
}

// The node at the path, or null; never allocates a node.
TBlockFile* FindPath(const TBlockFilePtr& block, std::string_view path) {
    TBlockFile* cur = block.get();
    std::string scratch;
    while (cur) {
        std::string_view first, rest;
        SplitPath(path, scratch, first, rest);
        first = TrimView(first);
        rest = TrimView(rest);
        TBlockFile* next = nullptr;
        for (const auto& c : cur->SubFiles)
            if (c && NamesEqual(c->name, first)) {
                next = c.get();
                break;
            }
        cur = next;
        if (rest.empty()) return cur;
        path = rest;
    }
    return nullptr;
}

TBlockFilePtr FindPathPtr(const TBlockFilePtr& block, std::string_view path) {
    TBlockFilePtr cur = block;
    std::string scratch;
    while (cur) {
        std::string_view first, rest;
        SplitPath(path, scratch, first, rest);
        first = TrimView(first);
        rest = TrimView(rest);
        cur = cur->isBlock(first);
        if (rest.empty()) return cur;
        path = rest;
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> CutBFPath(std::string_view path) {
    if (Utf8Length(path) < 2) return {std::string(path)};
    std::string scratch;
    std::string_view first, rest;
    SplitPath(path, scratch, first, rest);
    return {std::string(first), std::string(rest)};
}

std::string CutBFPathFirst(std::string_view path) { return CutBFPath(path)[0]; }

std::string CutBFPathRest(std::string_view path) {
    auto parts = CutBFPath(path);
    return parts.size() > 1 ? parts[1] : std::string();
}

TBlockFilePtr GetBlockFile(const TBlockFilePtr& block, std::string_view path) {
    if (auto n = FindPathPtr(block, path)) return n;
    return std::make_shared<TBlockFile>();
}

TBlockFilePtr GetBlockEntry(const TBlockFilePtr& block, std::string_view path) { return GetBlockFile(block, path); }

TBlockFilePtr GetBlockFileNO_NEW(const TBlockFilePtr& block, std::string_view path) { return FindPathPtr(block, path); }

TBlockFilePtr GetBlockEntryNO_NEW(const TBlockFilePtr& block, std::string_view path) {
    return FindPathPtr(block, path);
}

std::string GetBFString(const TBlockFilePtr& block, std::string_view path, int index) {
    TBlockFile* n = FindPath(block, path);
    return n ? n->GetString(index) : std::string();
}

float GetBFNumber(const TBlockFilePtr& block, std::string_view path, int index) {
    TBlockFile* n = FindPath(block, path);
    return n ? n->GetFloat(index) : 0.0f;
}

float GetBfFloat(const TBlockFilePtr& block, std::string_view path, int index) {
    return GetBFNumber(block, path, index);
}

int32_t GetBFInt(const TBlockFilePtr& block, std::string_view path, int index) {
    TBlockFile* n = FindPath(block, path);
    return n ? n->GetInt(index) : 0;
}

int32_t GetBFBool(const TBlockFilePtr& block, std::string_view path, int index) {
    TBlockFile* n = FindPath(block, path);
    return n ? n->GetBool(index) : 0;
}

int isBFEntry(const TBlockFilePtr& block, std::string_view path) { return FindPath(block, path) ? 1 : 0; }

int isBFBlock(const TBlockFilePtr& block, std::string_view name) { return (block && block->isBlock(name)) ? 1 : 0; }

TBlockFileList GetBlockFilesList(const TBlockFilePtr& block, std::string_view name) {
    TBlockFileList out;
    if (!block) return out;
    for (const auto& c : block->SubFiles)
        if (c && c->MyType == BF_BLOCK && NamesEqual(c->name, name)) out.push_back(c);
    return out;
}

TBlockFileList GetBlockFilesOnly(const TBlockFilePtr& block) {
    TBlockFileList out;
    if (!block) return out;
    for (const auto& c : block->SubFiles)
        if (c && c->MyType == BF_BLOCK) out.push_back(c);
    return out;
}

TBlockFileList GetBlockFileEntrysList(const TBlockFilePtr& block, std::string_view name) {
    TBlockFileList out;
    if (!block) return out;
    for (const auto& c : block->SubFiles)
        if (c && c->MyType != BF_BLOCK && (name.empty() || NamesEqual(c->name, name))) out.push_back(c);
    return out;
}
