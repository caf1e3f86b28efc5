// The engine's small helpers: text splitting and list functions, value detection and keywords,
// sine tables, timing steps and small maths, drawing helpers. (The colour functions on TRGB live
// with the value types, engine/data/ValueTypes.h.)
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/Maths.h"

// ---------------------------------------------------------------------------------------------
// Text splitting and lists
// ---------------------------------------------------------------------------------------------

// Cuts the text at every occurrence of sep, which must be exactly one character: every separator
// ends the current piece, so empty inner pieces (a leading one too) count; the piece after the
// last separator is kept only when it is not empty; the empty text gives no pieces. An empty or
// longer separator never matches (the whole text comes back as one piece). Nothing is trimmed.
std::vector<std::string> SplitStringToList(const std::string& text, const std::string& sep);
std::vector<std::string> SplitString(const std::string& text, const std::string& sep);
// SplitString, each piece read by StringToInt (an empty piece gives 0).
std::vector<int32_t> SplitStringToInts(const std::string& text, const std::string& sep);
std::vector<int32_t> StringListToInts(const std::vector<std::string>& list);
// n zeros (none for n <= 0).
std::vector<int32_t> CreateIntArray(int32_t n);
// SplitString with two separators, " " and "\n" (a carriage return is an ordinary character).
std::vector<std::string> SplitWords(const std::string& text);
// Cuts the text at every occurrence of the separator string. While a quote opened by openQuote
// is open (both marks non-empty), separators do not cut; the quote marks are dropped. The same
// mark may open and close. An empty separator never matches. An empty last piece is dropped.
std::vector<std::string> TokenizeString(const std::string& text, const std::string& sep,
                                        const std::string& openQuote = "", const std::string& closeQuote = "");
// The trimmed, non-empty lines of a text file as floats (0 for a line that is not a number).
// A missing file is reported and gives an empty array.
std::vector<float> LoadFloatArrayFile(const std::string& path);

// Calls action (a member function or any callable) on each element of a snapshot of list that is
// not null, in order: the call may add to or remove from the list itself.
template <class List, class Action>
void EachOf(const List& list, Action action) {
    const List snapshot = list;
    for (auto& item : snapshot)
        if (item) std::invoke(action, *item);
}

template <class T>
std::vector<T> CopyList(const std::vector<T>& list) {
    return list;
}

// obj one place toward the front; unchanged when it is first or absent. Elements are compared
// with == (identity for shared pointers).
template <class T>
std::vector<T> MoveUpInList(const std::vector<T>& list, const T& obj) {
    if (list.empty() || list.front() == obj) return list;
    std::vector<T> out;
    out.reserve(list.size());
    T pending = list.front();
    for (size_t i = 1; i < list.size(); ++i) {
        if (list[i] == obj) {
            out.push_back(obj);
        } else {
            out.push_back(pending);
            pending = list[i];
        }
    }
    out.push_back(pending);
    return out;
}

// obj one place toward the end; unchanged when it is last or absent.
template <class T>
std::vector<T> MoveDownInList(const std::vector<T>& list, const T& obj) {
    if (list.empty() || list.back() == obj) return list;
    std::vector<T> out;
    out.reserve(list.size());
    size_t held = 0;  // occurrences of obj waiting to follow the next element
    for (const T& e : list) {
        if (e == obj) {
            ++held;
            continue;
        }
        out.push_back(e);
        for (; held > 0; --held) out.push_back(obj);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Value detection and keywords
// ---------------------------------------------------------------------------------------------

// Trimmed text of digits with at most one leading "-" and exactly one "." (so "-.5", "1." and "."
// count; "15", "+1.5", "1e5" and "" do not). 1 or 0.
int IsFloatString(const std::string& text);
// Trimmed text of digits with at most one leading "-" ("" and "-" count). 1 or 0.
int IsIntString(const std::string& text);
// "TRUE" or "FALSE" in any case, not trimmed. 1 or 0.
int IsBoolString(const std::string& text);
// 1 float, else 0 integer (a whole number or a truth value), else 2 text. "" is an integer.
int GetValueType(const std::string& text);
// "0".."9" and "-"; IsFloatChar also ".".
int IsNumberChar(int code);
int IsFloatChar(int code);
// Alignment words, compared exactly (upper case): LEFT/L, UP/TOP/U/T -> 1; RIGHT/R, DOWN/BOTTOM/
// D/B -> 2; CENTER/C, MIDDLE/M -> 0; J/JUST/JUSTIFY -> 3; anything else 0.
int ParseAlignKeyword(const std::string& word);
// The first character upper-cased, the rest unchanged; "" stays "".
std::string CapitalizeFirst(const std::string& text);
std::string CapitalizeString(const std::string& text);
// The value cut (not rounded) to that many decimals as the value reads in decimal: 2.999 with
// 2 gives "2.99", 1.05 gives "1.05". Decimals below 1 give the whole part alone.
std::string FloatToStringDecimals(float value, int32_t decimals);
// per * 100 truncated toward zero (0.999 gives 99).
int32_t PerToPercent(float per);

// ---------------------------------------------------------------------------------------------
// Sine tables, timing steps and small maths
// ---------------------------------------------------------------------------------------------

// Sine and cosine of the whole degrees 0..359, filled by InitSinCosTables (zeros before).
extern std::array<float, 360> SinTable;
extern std::array<float, 360> CosTable;
void InitSinCosTables();

// TruncToInt (platform/Maths.h) makes a number read from a file an int, saturating.

// The per-frame step that carries a value over 0..1 in ms milliseconds at fps frames a second:
// 1 / ((ms / 1000) * fps). A duration (or rate) of 0 or less means "at once": the step is the
// largest float, which UpdatePer turns into arrival at the target (never infinity or NaN).
float TimeToPerStep(int32_t ms, float fps);
// cur moved toward target by step * factor (factor = delta when speed < 0, else speed), never
// past it; a cur equal to the target comes back unchanged.
float UpdatePer(float cur, float target, float step, float speed);
// One draw of Rand(0, 1): 1 gives 1, 0 gives -1.
int RandomSign();
// 1 when exactly one of a and b is odd (negative odd numbers too), else 0.
int ParityDiffers(int32_t a, int32_t b);
int CheckerCell(int32_t a, int32_t b);
// Crossing-number test of (x, y) against the closed polygon (xs[i], ys[i]). 1 inside, 0 outside.
int PointInPolygon(int32_t x, int32_t y, const std::vector<float>& xs, const std::vector<float>& ys);
// The duration in milliseconds of `length` sample frames at `hertz` (0 for a rate of 0 or less).
float SampleLengthMs(int32_t length, int32_t hertz);

// ---------------------------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------------------------

// The lower fraction per of frame 0, where it lies when the whole image is drawn at (x, y) under
// the current scale: a gauge that fills upwards as per grows.
void DrawImageFill(const TImagePtr& image, float x, float y, float per);
// The text in white with a one-pixel black outline, in the default font, alpha 1, alpha blend,
// scale 1. Leaves that white state behind.
void DrawTextOutlined(const std::string& text, int x, int y);
