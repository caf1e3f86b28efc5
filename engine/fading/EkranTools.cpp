#include "engine/fading/EkranTools.h"

#include "engine/basics/AppTime.h"
#include "platform/Strings.h"

void MoveTowardTarget(float& value, float target, float speed) {
    if (value < target) {
        value += speed * delta;
        if (value > target) value = target;
    }
    if (value > target) {
        value -= speed * delta;
        if (value < target) value = target;
    }
}

namespace {

std::u16string ToUnits(const std::string& utf8) {
    std::u16string out;
    for (char32_t cp : Utf8ToUtf32(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string FromUnits(const std::u16string& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, u);
    }
    return out;
}

std::vector<std::string> Split(const std::string& textUtf8, const std::string& sepUtf8, const std::string& openUtf8,
                               const std::string& closeUtf8, bool quoted) {
    const std::u16string text = ToUnits(textUtf8), sep = ToUnits(sepUtf8);
    const std::u16string open = ToUnits(openUtf8), close = ToUnits(closeUtf8);
    const size_t len = text.size(), n = sep.size();
    std::vector<std::string> result;
    std::u16string piece;
    bool insideMarks = false, insideQuotes = false;
    const bool anyMarkEmpty = open.empty() || close.empty();
    for (size_t i = 0; i < len; ++i) {
        const char16_t unit = text[i];
        if (quoted && unit == u'"') insideQuotes = !insideQuotes;
        // The last n - 2 units (separators of three units or more) go to the piece as they are.
        if (n >= 3 && i >= len - (n - 2)) {
            piece.push_back(unit);
            continue;
        }
        if (n > 0 && !insideQuotes && i + n <= len && (!insideMarks || anyMarkEmpty) && text.compare(i, n, sep) == 0) {
            result.push_back(FromUnits(piece));
            piece.clear();
            i += n - 1;
            continue;
        }
        if (!open.empty()) {
            const std::u16string one(1, unit);
            if (one == open && !insideMarks) {
                insideMarks = true;
            } else if (one == close) {
                insideMarks = false;
            } else {
                piece.push_back(unit);
            }
        } else {
            piece.push_back(unit);
        }
    }
    if (!piece.empty()) result.push_back(FromUnits(piece));
    return result;
}

}  // namespace

std::vector<std::string> SplitByChar(const std::string& text, const std::string& separator, const std::string& openMark,
                                     const std::string& closeMark) {
    return Split(text, separator, openMark, closeMark, false);
}

std::vector<std::string> SplitByCharQuoted(const std::string& text, const std::string& separator,
                                           const std::string& openMark, const std::string& closeMark) {
    return Split(text, separator, openMark, closeMark, true);
}
