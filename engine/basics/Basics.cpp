#include "engine/basics/Basics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

// Byte length of the UTF-8 character that starts at text[pos] (1 for a stray byte), never
// running past the end.
size_t CharLen(const std::string& text, size_t pos) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    size_t n = 1;
    if (c >= 0xF0 && c < 0xF8) n = 4;
    else if (c >= 0xE0) n = (c < 0xF0) ? 3 : 1;
    else if (c >= 0xC0) n = 2;
    return std::min(n, text.size() - pos);
}

// True when the text is exactly one character.
bool IsOneChar(const std::string& s) { return !s.empty() && CharLen(s, 0) == s.size(); }

// Splits at any of the given one-character separators (each compared as a whole character).
std::vector<std::string> SplitAtChars(const std::string& text, const std::vector<std::string>& seps) {
    std::vector<std::string> out;
    std::string piece;
    for (size_t pos = 0; pos < text.size();) {
        const size_t len = CharLen(text, pos);
        bool isSep = false;
        for (const auto& sep : seps)
            if (sep.size() == len && text.compare(pos, len, sep) == 0) isSep = true;
        if (isSep) {
            out.push_back(std::move(piece));
            piece.clear();
        } else {
            piece.append(text, pos, len);
        }
        pos += len;
    }
    if (!piece.empty()) out.push_back(std::move(piece));
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Text splitting and lists
// ---------------------------------------------------------------------------------------------

std::vector<std::string> SplitStringToList(const std::string& text, const std::string& sep) {
    if (!IsOneChar(sep)) {
        // A separator that is not one character never matches.
        if (text.empty()) return {};
        return {text};
    }
    return SplitAtChars(text, {sep});
}

std::vector<std::string> SplitString(const std::string& text, const std::string& sep) {
    return SplitStringToList(text, sep);
}

std::vector<int32_t> SplitStringToInts(const std::string& text, const std::string& sep) {
    return StringListToInts(SplitString(text, sep));
}

std::vector<int32_t> StringListToInts(const std::vector<std::string>& list) {
    std::vector<int32_t> out;
    out.reserve(list.size());
    for (const auto& s : list) out.push_back(StringToInt(s));
    return out;
}

std::vector<int32_t> CreateIntArray(int32_t n) { return std::vector<int32_t>(n > 0 ? static_cast<size_t>(n) : 0, 0); }

std::vector<std::string> SplitWords(const std::string& text) { return SplitAtChars(text, {" ", "\n"}); }

std::vector<std::string> TokenizeString(const std::string& text, const std::string& sep, const std::string& openQuote,
                                        const std::string& closeQuote) {
    std::vector<std::string> out;
    std::string piece;
    bool quoted = false;
    // A quote mark is one character; a longer mark never matches one.
    const bool hasQuotes = !openQuote.empty() && !closeQuote.empty();
    for (size_t pos = 0; pos < text.size();) {
        // An empty separator never matches (it would cut without moving on).
        if ((!quoted || !hasQuotes) && !sep.empty() && text.compare(pos, sep.size(), sep) == 0) {
            out.push_back(std::move(piece));
            piece.clear();
            pos += sep.size();
            continue;
        }
        const size_t len = CharLen(text, pos);
        const bool isOpen = openQuote.size() == len && text.compare(pos, len, openQuote) == 0;
        const bool isClose = closeQuote.size() == len && text.compare(pos, len, closeQuote) == 0;
        if (!openQuote.empty() && !quoted && isOpen) {
            quoted = true;
        } else if (!openQuote.empty() && isClose) {
            quoted = false;
        } else {
            piece.append(text, pos, len);
        }
        pos += len;
    }
    if (!piece.empty()) out.push_back(std::move(piece));
    return out;
}

std::vector<float> LoadFloatArrayFile(const std::string& path) {
    bool ok = false;
    const std::string text = LoadText(path, &ok);
    if (!ok) {
        ErrorNoFile(path, Here());
        return {};
    }
    std::vector<float> out;
    for (const auto& line : SplitString(text, "\n")) {
        const std::string t = Trim(line);
        if (!t.empty()) out.push_back(StringToFloat(t));
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Value detection and keywords
// ---------------------------------------------------------------------------------------------

int IsFloatString(const std::string& text) {
    const std::string t = Trim(text);
    bool point = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') continue;
        if (c == '-' && i == 0) continue;
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        return 0;
    }
    return point ? 1 : 0;
}

int IsIntString(const std::string& text) {
    const std::string t = Trim(text);
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if ((c >= '0' && c <= '9') || (c == '-' && i == 0)) continue;
        return 0;
    }
    return 1;
}

int IsBoolString(const std::string& text) {
    const std::string u = Upper(text);
    return (u == "TRUE" || u == "FALSE") ? 1 : 0;
}

int GetValueType(const std::string& text) {
    if (IsFloatString(text)) return 1;
    if (IsIntString(text)) return 0;
    if (IsBoolString(text)) return 0;  // a truth value is stored as an integer
    return 2;
}

int IsNumberChar(int code) { return ((code >= '0' && code <= '9') || code == '-') ? 1 : 0; }

int IsFloatChar(int code) { return (IsNumberChar(code) || code == '.') ? 1 : 0; }

int ParseAlignKeyword(const std::string& word) {
    struct Row {
        const char* word;
        int value;
    };
    static const Row table[] = {
        {"LEFT", 1},   {"L", 1},       {"RIGHT", 2}, {"R", 2},      {"CENTER", 0}, {"C", 0}, {"J", 3},
        {"JUST", 3},   {"JUSTIFY", 3}, {"UP", 1},    {"TOP", 1},    {"U", 1},      {"T", 1}, {"DOWN", 2},
        {"BOTTOM", 2}, {"D", 2},       {"B", 2},     {"MIDDLE", 0}, {"M", 0},
    };
    for (const auto& row : table)
        if (word == row.word) return row.value;
    return 0;
}

std::string CapitalizeFirst(const std::string& text) {
    if (text.empty()) return text;
    const size_t len = CharLen(text, 0);
    return Upper(text.substr(0, len)) + text.substr(len);
}

std::string CapitalizeString(const std::string& text) { return CapitalizeFirst(text); }

std::string FloatToStringDecimals(float value, int32_t decimals) {
    // The shortest decimal text that reads back to this float, so 1.05f counts as 1.05 and not
    // as the 1.0499999 it is stored as; then cut, never rounded.
    char buf[128];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, res.ptr);
    const size_t dot = s.find('.');
    std::string whole = (dot == std::string::npos) ? s : s.substr(0, dot);
    std::string frac = (dot == std::string::npos) ? "" : s.substr(dot + 1);
    if (decimals < 1) return whole;
    const size_t n = static_cast<size_t>(decimals);
    if (frac.size() > n) frac.resize(n);
    frac.append(n - frac.size(), '0');
    return whole + "." + frac;
}

int32_t PerToPercent(float per) { return TruncToInt(per * 100.0f); }

// ---------------------------------------------------------------------------------------------
// Sine tables, timing steps and small maths
// ---------------------------------------------------------------------------------------------

std::array<float, 360> SinTable{};
std::array<float, 360> CosTable{};

void InitSinCosTables() {
    for (int i = 0; i < 360; ++i) {
        SinTable[i] = static_cast<float>(SinDeg(i));
        CosTable[i] = static_cast<float>(CosDeg(i));
    }
}

float TimeToPerStep(int32_t ms, float fps) {
    const float frames = (static_cast<float>(ms) / 1000.0f) * fps;
    // No duration means "at once". An infinite step would turn into NaN at a frame factor of 0.
    if (!(frames > 0.0f)) return std::numeric_limits<float>::max();
    return 1.0f / frames;
}

float UpdatePer(float cur, float target, float step, float speed) {
    const float factor = (speed < 0.0f) ? delta : speed;
    const float inc = step * factor;
    // "Not short of the target" is written so that a NaN result also lands on the target.
    if (cur < target) {
        const float next = cur + inc;
        return (next < target) ? next : target;
    }
    if (cur > target) {
        const float next = cur - inc;
        return (next > target) ? next : target;
    }
    return cur;
}

int RandomSign() { return Rand(0, 1) == 1 ? 1 : -1; }

int ParityDiffers(int32_t a, int32_t b) { return ((a % 2 != 0) != (b % 2 != 0)) ? 1 : 0; }

int CheckerCell(int32_t a, int32_t b) { return ParityDiffers(a, b); }

int PointInPolygon(int32_t x, int32_t y, const std::vector<float>& xs, const std::vector<float>& ys) {
    const size_t n = std::min(xs.size(), ys.size());
    if (n == 0) return 0;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    int inside = 0;
    size_t j = n - 1;
    for (size_t i = 0; i < n; ++i) {
        if ((ys[i] < py && py <= ys[j]) || (ys[j] < py && py <= ys[i])) {
            const float ex = xs[i] + (py - ys[i]) * (xs[j] - xs[i]) / (ys[j] - ys[i]);
            if (ex < px) inside = 1 - inside;
        }
        j = i;
    }
    return inside;
}

float SampleLengthMs(int32_t length, int32_t hertz) {
    if (hertz <= 0) return 0.0f;
    const int32_t perMinute = hertz * 60;
    return static_cast<float>(length) / static_cast<float>(perMinute) * 60.0f * 1000.0f;
}

// ---------------------------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------------------------

void DrawImageFill(const TImagePtr& image, float x, float y, float per) {
    if (!image) return;
    const float w = static_cast<float>(ImageWidth(image));
    const float h = static_cast<float>(ImageHeight(image));
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    // The target offset is scaled here; the drawn rectangle is scaled by the drawing layer.
    DrawSubImageRect(image, x, y + h * sy * (1.0f - per), w, h * per, 0, (1.0f - per) * h, w, h * per, 0, 0, 0);
}

void DrawTextOutlined(const std::string& text, int x, int y) {
    SetImageFont(nullptr);
    SetColor(0, 0, 0);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    DrawText(text, fx + 1, fy - 1);
    DrawText(text, fx - 1, fy - 1);
    DrawText(text, fx + 1, fy + 1);
    DrawText(text, fx - 1, fy + 1);
    SetColor(255, 255, 255);
    DrawText(text, fx, fy);
}
