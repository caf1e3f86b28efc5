#include "game/progress/PlayerNames.h"

#include <string_view>

#include "platform/Strings.h"

namespace {

// A character that draws nothing: a control character (C0, DEL, C1); one of Unicode's
// default-ignorable code points (the soft hyphen, the combining grapheme joiner, the Arabic letter
// mark, the Hangul fillers, the Khmer inherent vowels, the Mongolian variation selectors and
// vowel separator, zero-width spaces and joiners, the marks of writing direction, the word joiner
// and its kin, the variation selectors, the byte-order mark, the noncharacters before the
// specials, the shorthand format controls, the musical beam and slur controls, the tag
// characters and the variation selectors' supplement); or a character drawn blank: the line and
// paragraph separators, the interlinear annotation marks and the blank braille pattern.
bool isInvisible(char32_t code) {
    if (code < 32 || code == 127 || (code >= 0x80 && code <= 0x9F)) return true;
    struct Range {
        char32_t first, last;
    };
    static constexpr Range kInvisible[] = {
        {0xAD, 0xAD},       {0x34F, 0x34F},     {0x61C, 0x61C},     {0x115F, 0x1160}, {0x17B4, 0x17B5},
        {0x180B, 0x180F},   {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x206F}, {0x2800, 0x2800},
        {0x3164, 0x3164},   {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFFB},
        {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const Range& r : kInvisible)
        if (code >= r.first && code <= r.last) return true;
    return false;
}

// A space of any script (trimmed from the ends of a name).
bool isSpace(char32_t code) {
    return code == ' ' || code == 0xA0 || code == 0x1680 || (code >= 0x2000 && code <= 0x200A) || code == 0x202F ||
           code == 0x205F || code == 0x3000;
}

// The capital letters with one accent, grouped by the accent: the letter as the letter followed
// by its combining accent, the form a name is compared in.
struct Accented {
    char32_t accent;
    std::u32string_view letters, bases;
};
constexpr Accented kAccented[] = {
    {0x300, U"ÀÈÌÒÙ", U"AEIOU"},
    {0x301, U"ÁÉÍÓÚÝĆĹŃŔŚŹ", U"AEIOUYCLNRSZ"},
    {0x302, U"ÂÊÎÔÛĈĜĤĴŜŴŶ", U"AEIOUCGHJSWY"},
    {0x303, U"ÃÑÕĨŨ", U"ANOIU"},
    {0x304, U"ĀĒĪŌŪ", U"AEIOU"},
    {0x306, U"ĂĔĞĬŎŬ", U"AEGIOU"},
    {0x307, U"ĊĖĠİŻ", U"CEGIZ"},
    {0x308, U"ÄËÏÖÜŸ", U"AEIOUY"},
    {0x30A, U"ÅŮ", U"AU"},
    {0x30B, U"ŐŰ", U"OU"},
    {0x30C, U"ČĎĚĽŇŘŠŤŽ", U"CDELNRSTZ"},
    {0x327, U"ÇĢĶĻŅŖŞŢ", U"CGKLNRST"},
    {0x328, U"ĄĘĮŲ", U"AEIU"},
};

// Greek and Cyrillic capitals (and the signs of units) that the game's font draws exactly as a
// Latin capital, and that capital.
constexpr std::u32string_view kLookAlikes =
    U"ΑΒΕΖΗΙΚΜΝΟΡΤΥΧϹͿАВЕКМНОРСТХЅІЈԚԜҮӀ\u212A\u212B";
constexpr std::u32string_view kLatin = U"ABEZHIKMNOPTYXCJABEKMHOPCTXSIJQWYIKÅ";

}  // namespace

std::string PlayerName(const std::string& text) {
    std::u32string name;
    for (char32_t code : Utf8ToUtf32(text))
        if (!isInvisible(code)) name += code;
    size_t begin = 0, end = name.size();
    while (begin < end && isSpace(name[begin])) ++begin;
    while (end > begin && isSpace(name[end - 1])) --end;
    return Utf32ToUtf8(std::u32string_view(name).substr(begin, end - begin));
}

std::string PlayerNameKey(const std::string& name) {
    std::u32string key;
    for (char32_t code : Utf8ToUtf32(UpperUnicode(PlayerName(name)))) {
        if (isSpace(code)) code = ' ';
        if (const size_t at = kLookAlikes.find(code); at != std::u32string_view::npos) code = kLatin[at];
        bool split = false;
        for (const Accented& a : kAccented)
            if (const size_t at = a.letters.find(code); at != std::u32string_view::npos) {
                key += a.bases[at];
                key += a.accent;
                split = true;
                break;
            }
        if (!split) key += code;
    }
    return Utf32ToUtf8(key);
}

bool isPlayerNameCharacter(int code) {
    if (code <= 32 || isInvisible(static_cast<char32_t>(code)) || isSpace(static_cast<char32_t>(code))) return false;
    if (code >= 0xD800 && code <= 0xDFFF) return false;
    return code <= 0x10FFFF;
}

bool isPlayerNameTaken(const std::string& name, const std::vector<std::string>& names, const std::string& own) {
    const std::string key = PlayerNameKey(name);
    if (key.empty()) return false;
    const std::string ownKey = PlayerNameKey(own);
    for (const std::string& other : names) {
        const std::string otherKey = PlayerNameKey(other);
        if (!ownKey.empty() && otherKey == ownKey) continue;
        if (otherKey == key) return true;
    }
    return false;
}
