#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Strings, StringToIntReadsSignsHexBinaryAndStopsAtTheFirstMisfit) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"42", 42}, {"  -17", -17}, {"+8", 8},     {"$ff", 255}, {"$FF", 255}, {"%101", 5},       {"12abc", 12},
        {"abc", 0}, {"", 0},        {"-$10", -16}, {"3.9", 3},   {"%102", 2},  {"4294967297", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(StringToInt(c.text), c.value) << c.text;
}

TEST(Strings, FloatTextFormsRoundTrip) {
    EXPECT_EQ(FloatToString(0.5f), "0.500000000");
    EXPECT_EQ(FloatToString(20.0f), "20.0000000");
    EXPECT_EQ(FloatToString(-1.25f), "-1.25000000");
    for (float f : {0.1f, 1.0f / 3.0f, 123456.789f, -0.0001f, 3e20f})
        EXPECT_EQ(StringToFloat(FloatToString(f)), f) << f;
    EXPECT_FLOAT_EQ(StringToFloat("  2.5xyz"), 2.5f);
    EXPECT_FLOAT_EQ(StringToFloat("+.5"), 0.5f);
    EXPECT_FLOAT_EQ(StringToFloat("1e3"), 1000.0f);
    EXPECT_FLOAT_EQ(StringToFloat("1e"), 1.0f);
    EXPECT_EQ(StringToFloat("."), 0.0f);
    EXPECT_EQ(StringToFloat("x1"), 0.0f);
    // Beyond the type's range: infinity or zero with the sign, never a cut-off reading.
    EXPECT_EQ(StringToFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(StringToFloat("-2.5e39"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(StringToDouble("1.5e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(StringToFloat("1e-60"), 0.0f);
}

TEST(Strings, TrimCaseAndUtf8) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Upper("abcZ\xc3\xa9"), "ABCZ\xc3\xa9");
    // Letters of every script, whatever the locale; the rest is left as it was.
    EXPECT_EQ(UpperUnicode("abc \xc3\xa9\xc3\xb8\xce\xbb\xd0\xb6 \xc3\x9f 7!\xe2\x82\xac"),
              "ABC \xc3\x89\xc3\x98\xce\x9b\xd0\x96 \xc3\x9f 7!\xe2\x82\xac");
    EXPECT_TRUE(EqualsNoCase("Level", "LEVEL"));
    EXPECT_FALSE(EqualsNoCase("Level", "Levels"));
    std::string s = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";
    EXPECT_EQ(Utf8Length(s), 4u);
    EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32(s)), s);
    EXPECT_EQ(Replace("a-b-c", "-", "::"), "a::b::c");
}

TEST(Strings, AConsoleExcerptIsEscapedAndBounded) {
    const struct {
        std::string text;
        std::string shown;
    } cases[] = {
        {"Remonte launcher package: 2", "Remonte launcher package: 2"},
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},  // UTF-8 stays
        {"a\x1b[2Jb\r\n\t", "a\\x1B[2Jb\\x0D\\x0A\\x09"},          // controls by value
        {std::string("x\0y\x7f", 4), "x\\x00y\\x7F"},
        {"\xc2\x85", "\\xC2\\x85"},                                               // a C1 control
        {"\xff\xfe\xc0\xaf\xed\xa0\x80", "\\xFF\\xFE\\xC0\\xAF\\xED\\xA0\\x80"},  // no UTF-8
        {"\xe2\x82", "\\xE2\\x82"},                                               // cut short
        {"C:\\x41", "C:\\\\x41"},  // a backslash is doubled, so an escape is never faked
    };
    for (const auto& c : cases) EXPECT_EQ(ConsoleExcerpt(c.text), c.shown) << c.text;

    // 64 KB of binary (a garbage reply): a bounded excerpt, with the whole length.
    std::string garbage;
    for (int i = 0; i < 65536; ++i) garbage += static_cast<char>(i * 7 + 3);
    const std::string shown = ConsoleExcerpt(garbage, 120);
    EXPECT_LE(shown.size(), 120u + 4 + std::string("... (65536 bytes)").size());
    EXPECT_TRUE(shown.ends_with("... (65536 bytes)")) << shown;
    for (unsigned char c : shown) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
    EXPECT_EQ(ConsoleExcerpt(std::string(30, 'a'), 10), "aaaaaaaaaa... (30 bytes)");
}
