#include "game/progress/PlayerNames.h"

#include "platform/Strings.h"

std::string PlayerNameKey(const std::string& name) { return UpperUnicode(Trim(name)); }

bool isPlayerNameCharacter(int code) {
    if (code <= 32 || code == 127) return false;
    if (code >= 0x80 && code <= 0x9F) return false;
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
