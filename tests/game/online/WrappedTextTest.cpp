// Word-wrapped, aligned text, laid out with a font of ten pixels a character.
#include <gtest/gtest.h>

#include "online/WrappedText.h"
#include "platform/Graphics.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

constexpr int kLine = 20;

std::vector<TWrappedPiece> Layout(const std::string& text, float width, const std::string& align, int x = 0,
                                  int* height = nullptr) {
    std::vector<TWrappedPiece> pieces;
    const int h = LayoutWrappedText(
        text, x, 100, width, align, kLine, [](const std::string& s) { return static_cast<int>(s.size()) * 10; },
        pieces);
    if (height) *height = h;
    return pieces;
}

void ExpectPieces(const std::vector<TWrappedPiece>& got, const std::vector<TWrappedPiece>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << i;
        EXPECT_FLOAT_EQ(got[i].x, want[i].x) << i;
        EXPECT_EQ(got[i].y, want[i].y) << i;
    }
}

TEST(WrappedTextTest, LinesBreakAtBlanksAndAlignInTheColumn) {
    int h = 0;
    ExpectPieces(Layout("aa bb cc", 100, "LEFT", 0, &h), {{"aa bb cc", 0, 100}});
    EXPECT_EQ(h, kLine);

    ExpectPieces(Layout("aa bb cc", 55, "left", 0, &h), {{"aa bb", 0, 100}, {"cc", 0, 120}});
    EXPECT_EQ(h, 2 * kLine);
    ExpectPieces(Layout("aa bb cc", 55, "RIGHT"), {{"aa bb", 5, 100}, {"cc", 35, 120}});
    // Centred: x + width / 2 - half the text's width (halved as an integer), cut to a pixel.
    ExpectPieces(Layout("aa bb cc", 55, " Center ", 3), {{"aa bb", 5, 100}, {"cc", 20, 120}});
    ExpectPieces(Layout("aa bb cc", 55, "MIDDLE"), {{"aa bb", 0, 100}, {"cc", 0, 120}});

    // Two blanks stay two blanks; a line feed is a character of its word.
    ExpectPieces(Layout("aa  b\nb", 200, "CENTER"), {{"aa  b\nb", 65, 100}});

    // The empty text draws nothing and is one line high.
    EXPECT_TRUE(Layout("", 100, "LEFT", 0, &h).empty());
    EXPECT_EQ(h, kLine);
}

TEST(WrappedTextTest, JustifiedLinesSpanTheColumnButTheLast) {
    // "aa" at 0 and "bb" ending at 75; the last line stays left-aligned.
    ExpectPieces(Layout("aa bb cc dd", 75, "JUSTIFY"), {{"aa", 0, 100}, {"bb", 55, 100}, {"cc dd", 0, 120}});
    // Three words: gaps of (100 - 60) / 2.
    ExpectPieces(Layout("aa bb cc dd", 100, "justify"),
                 {{"aa", 0, 100}, {"bb", 40, 100}, {"cc", 80, 100}, {"dd", 0, 120}});
    // An empty word between two blanks takes a gap of its own.
    ExpectPieces(Layout("aa  bb cc", 65, "JUSTIFY"), {{"aa", 0, 100}, {"bb", 45, 100}, {"cc", 0, 120}});
}

TEST(WrappedTextTest, AWordWiderThanTheColumnStandsAlone) {
    int h = 0;
    // The first word with its blank does not fit: line 0 stays empty and counts.
    ExpectPieces(Layout("abcdefghij k", 100, "LEFT", 0, &h), {{"abcdefghij", 0, 120}, {"k", 0, 140}});
    EXPECT_EQ(h, 3 * kLine);
    // Later, a long word overflows to the right, to the left when right-aligned.
    ExpectPieces(Layout("a abcdefghijkl b", 100, "LEFT"), {{"a", 0, 100}, {"abcdefghijkl", 0, 120}, {"b", 0, 140}});
    ExpectPieces(Layout("a abcdefghijkl b", 100, "RIGHT"),
                 {{"a", 90, 100}, {"abcdefghijkl", -20, 120}, {"b", 90, 140}});
    ExpectPieces(Layout("a abcdefghijkl b", 100, "JUSTIFY"), {{"a", 0, 100}, {"abcdefghijkl", 0, 120}, {"b", 0, 140}});
}

TEST(WrappedTextTest, DrawsWithTheFontGivenWhichStaysCurrent) {
    ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(400, 300));
    ResetDrawState();
    SetClsColor(0, 0, 0);
    Cls();
    TImageFontPtr font = LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", 20);
    ASSERT_TRUE(font);
    SetImageFont(nullptr);
    SetImageFont(font);
    const int width = TextWidth("Hello world");
    SetImageFont(nullptr);

    SetColor(255, 255, 255);
    const int h = DrawWrappedText("Hello world again", 100, 50, static_cast<float>(width + 1), "RIGHT", font, 1);
    EXPECT_EQ(GetImageFont(), font);
    EXPECT_EQ(h, 2 * (TextHeight("A") + 1));
    auto frame = GrabPixmap(0, 0, 400, 300);
    ASSERT_TRUE(frame);
    // Ink in both lines, none outside the column.
    auto inkIn = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (testsupport::RgbAt(frame, x, y).r > 128) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(100, 50, 100 + width + 2, 50 + h / 2));
    EXPECT_TRUE(inkIn(100, 50 + h / 2, 100 + width + 2, 50 + h));
    EXPECT_FALSE(inkIn(0, 0, 99, 300));
    EXPECT_FALSE(inkIn(100 + width + 3, 0, 400, 300));
    EXPECT_FALSE(inkIn(0, 50 + h + 2, 400, 300));
    ResetDrawState();
    SetImageFont(nullptr);
}

}  // namespace
