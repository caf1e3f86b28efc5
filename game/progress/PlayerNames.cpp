#include "game/progress/PlayerNames.h"

#include "platform/Strings.h"

namespace {

// A character that shows nothing: a control character (C0, DEL, C1), or a format character that
// only joins, breaks or turns text (soft hyphen, zero-width space and joiners, the marks of
// writing direction, the word joiner and its kin, the byte-order mark, the Mongolian vowel
// separator, interlinear annotation marks).
bool isInvisible(char32_t code) {
    if (code < 32 || code == 127 || (code >= 0x80 && code <= 0x9F)) return true;
    return code == 0xAD || code == 0x34F || code == 0x61C || code == 0x180E || (code >= 0x200B && code <= 0x200F) ||
           (code >= 0x202A && code <= 0x202E) || (code >= 0x2060 && code <= 0x206F) || code == 0xFEFF ||
           (code >= 0xFFF9 && code <= 0xFFFB);
}

// A space of any script (trimmed from the ends of a name).
bool isSpace(char32_t code) {
    return code == ' ' || code == 0xA0 || code == 0x1680 || (code >= 0x2000 && code <= 0x200A) || code == 0x202F ||
           code == 0x205F || code == 0x3000;
}

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

std::string PlayerNameKey(const std::string& name) { return UpperUnicode(PlayerName(name)); }

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
