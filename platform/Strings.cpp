#include "platform/Strings.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <stdlib.h>
#include <wctype.h>

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string Upper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string UpperUnicode(std::string_view s) {
    // The C.UTF-8 locale's tables, made once: the process's own locale plays no part.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (utf8 == static_cast<locale_t>(0)) return Upper(s);
    std::string out;
    out.reserve(s.size());
    for (char32_t cp : Utf8ToUtf32(s))
        AppendUtf8(out, static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), utf8)));
    return out;
}

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

int64_t StringToLong(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i < s.size() && s[i] == '%') {
        base = 2;
        ++i;
    }
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        int d;
        char c = s[i];
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else break;
        if (d >= base) break;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    if (neg) v = ~v + 1;
    return static_cast<int64_t>(v);
}

int32_t StringToInt(std::string_view s) { return static_cast<int32_t>(static_cast<uint32_t>(StringToLong(s))); }

// Finds the longest prefix (after blanks) that reads as a decimal real number.
static std::string_view NumberPrefix(std::string_view s, bool& plusSign) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ') ++i;
    size_t start = i;
    plusSign = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        plusSign = s[i] == '+';
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return {};
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++expDigits;
        if (expDigits > 0) i = j;
    }
    return s.substr(start, i - start);
}

template <typename T>
static T ParseReal(std::string_view s) {
    bool plus = false;
    std::string_view num = NumberPrefix(s, plus);
    if (num.empty()) return 0;
    if (plus) num.remove_prefix(1);
    T v = 0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small: the nearest reading (infinity or zero, with the sign), from
        // the C library's parser under the fixed "C" locale, whatever the program's locale.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (!cLocale) return 0;
        return static_cast<T>(strtold_l(std::string(num).c_str(), nullptr, cLocale));
    }
    return v;
}

float StringToFloat(std::string_view s) { return ParseReal<float>(s); }
double StringToDouble(std::string_view s) { return ParseReal<double>(s); }

// snprintf follows LC_NUMERIC; the game never changes it, but a library might. Force ".".
static std::string FixDecimalPoint(const char* buf) {
    std::string r(buf);
    for (char& c : r)
        if (c == ',') c = '.';
    return r;
}

std::string FloatToString(float f) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", static_cast<double>(f));
    return FixDecimalPoint(buf);
}

std::string IntToString(int64_t i) { return std::to_string(i); }

std::string Replace(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string r;
    size_t pos = 0;
    while (true) {
        size_t f = s.find(from, pos);
        if (f == std::string_view::npos) break;
        r.append(s.substr(pos, f - pos));
        r.append(to);
        pos = f + from.size();
    }
    r.append(s.substr(pos));
    return r;
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool EndsWith(std::string_view s, std::string_view x) {
    return s.size() >= x.size() && s.substr(s.size() - x.size()) == x;
}
bool StartsWithNoCase(std::string_view s, std::string_view p) {
    return s.size() >= p.size() && EqualsNoCase(s.substr(0, p.size()), p);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u32string Utf8ToUtf32(std::string_view s) {
    std::u32string r;
    r.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) {
            r += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc >> 6) != 2) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            r += U'\uFFFD';
            ++i;
            continue;
        }
        r += cp;
        i += static_cast<size_t>(len);
    }
    return r;
}

std::string Utf32ToUtf8(std::u32string_view s) {
    std::string r;
    r.reserve(s.size());
    for (char32_t c : s) AppendUtf8(r, c);
    return r;
}

size_t Utf8Length(std::string_view s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

size_t Utf8CharLength(std::string_view s, size_t at, char32_t* cp) {
    if (at >= s.size()) return 0;
    const unsigned char c = static_cast<unsigned char>(s[at]);
    size_t more;
    char32_t value;
    if (c < 0x80) {
        more = 0, value = c;
    } else if ((c & 0xE0) == 0xC0) {
        more = 1, value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        more = 2, value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        more = 3, value = c & 0x07;
    } else {
        return 0;
    }
    if (at + more >= s.size() && more > 0) return 0;
    for (size_t k = 1; k <= more; ++k) {
        const unsigned char n = static_cast<unsigned char>(s[at + k]);
        if ((n & 0xC0) != 0x80) return 0;
        value = (value << 6) | (n & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((more == 1 && value < 0x80) || (more == 2 && value < 0x800) || (more == 3 && value < 0x10000) ||
        value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    if (cp) *cp = value;
    return more + 1;
}

std::string ConsoleExcerpt(std::string_view text, size_t maxBytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t i = 0;
    while (i < text.size() && out.size() < maxBytes) {
        char32_t cp = 0;
        const size_t length = Utf8CharLength(text, i, &cp);
        // Control characters (C0, DEL and C1) and stray bytes are shown by their value.
        if (length == 0 || cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
            const size_t n = length == 0 ? 1 : length;
            for (size_t k = 0; k < n; ++k) {
                const auto b = static_cast<unsigned char>(text[i + k]);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
            i += n;
        } else if (cp == '\\') {
            out += "\\\\";
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    if (i < text.size()) out += "... (" + IntToString(static_cast<int64_t>(text.size())) + " bytes)";
    return out;
}
