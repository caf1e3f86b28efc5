// String helpers: trimming, case, and locale-independent number <-> text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Removes characters <= ' ' from both ends.
std::string Trim(std::string_view s);
// ASCII upper / lower case (bytes >= 0x80, i.e. the rest of UTF-8, are left alone).
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
// Upper case of every letter of any script (the simple one-to-one Unicode mapping: "ß" stays,
// "é" becomes "É"), whatever the process's locale.
std::string UpperUnicode(std::string_view s);
// Case-insensitive (ASCII) equality.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Text to int, as every data file of the game writes numbers: leading blanks, optional sign, "$" hex or "%" binary,
// stops at the first character that does not fit, 0 when nothing fits. Wraps like a 32-bit int.
int32_t StringToInt(std::string_view s);
// Text to 64-bit int by the same rules.
int64_t StringToLong(std::string_view s);
// Text to float/double, independent of the C locale: leading blanks, sign, digits, ".",
// exponent; stops at the first character that does not fit; 0 when nothing fits.
float StringToFloat(std::string_view s);
double StringToDouble(std::string_view s);

// The text form of a float in the game's files: "%#.9g" ("0.500000000", "20.0000000").
std::string FloatToString(float f);
// Decimal text of an int.
std::string IntToString(int64_t i);

// Replaces every occurrence of `from` (non-empty) by `to`.
std::string Replace(std::string_view s, std::string_view from, std::string_view to);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

// UTF-8 <-> code points. Invalid bytes decode as U+FFFD.
std::u32string Utf8ToUtf32(std::string_view s);
std::string Utf32ToUtf8(std::u32string_view s);
void AppendUtf8(std::string& out, char32_t cp);
// Number of code points in a UTF-8 string.
size_t Utf8Length(std::string_view s);
// The length in bytes of the well-formed UTF-8 character at s[at] (its code point in `cp` when
// given); 0 for a byte that begins none (a stray byte, a sequence cut short, an overlong form, a
// surrogate, a value past U+10FFFF).
size_t Utf8CharLength(std::string_view s, size_t at, char32_t* cp = nullptr);

// Text from outside (a server's reply, a downloaded file's names) made fit for a log line: at
// most maxBytes of it, well-formed UTF-8 kept, a backslash doubled, and control characters and
// bytes that are no UTF-8 written as \xNN; when cut, "..." and its whole length follow
// ("... (65536 bytes)").
std::string ConsoleExcerpt(std::string_view text, size_t maxBytes = 200);
