// Image fonts: loading, measuring and drawing text in a real headless frame.
#include <gtest/gtest.h>

#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWideWindow());
        ResetDrawState();
        ResetFonts();
        SetDefaultFontPath(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf");
        SetClsColor(0, 0, 0);
        Cls();
    }
    void TearDown() override {
        ResetFonts();
        ResetDrawState();
    }
};

// The bounding box of the pixels brighter than black in the given window rectangle.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

Box LitBox(int x, int y, int w, int h) {
    auto p = GrabPixmap(x, y, w, h);
    Box box;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            if ((p->ReadPixel(px, py) & 0xFFFFFF) != 0) {
                box.left = std::min(box.left, x + px);
                box.right = std::max(box.right, x + px);
                box.top = std::min(box.top, y + py);
                box.bottom = std::max(box.bottom, y + py);
            }
    return box;
}

TEST_F(FontTest, DefaultFontDrawsInsideItsMeasuredBox) {
    ASSERT_TRUE(GetImageFont());
    int w = TextWidth("Hello"), h = TextHeight("Hello");
    EXPECT_GT(w, 0);
    EXPECT_GE(h, kDefaultFontSize);
    EXPECT_LT(TextWidth("Hell"), w);
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_EQ(TextHeight("x"), h);  // the line height, whatever the text

    DrawText("Hello", 100, 100);
    Box box = LitBox(80, 80, w + 40, h + 40);
    ASSERT_FALSE(box.empty());
    EXPECT_GE(box.left, 100);
    EXPECT_GE(box.top, 100);
    EXPECT_LT(box.right, 100 + w + 1);
    EXPECT_LT(box.bottom, 100 + h);
}

TEST_F(FontTest, TextFollowsColourScaleAndHandle) {
    int w = TextWidth("MMM"), h = TextHeight("MMM");
    SetColor(0, 255, 0);
    SetScale(2, 2);
    SetHandle(static_cast<float>(w), 0);  // right-aligned on the draw point
    DrawText("MMM", 600, 300);
    Box box = LitBox(600 - 2 * w - 20, 290, 2 * w + 40, 2 * h + 20);
    ASSERT_FALSE(box.empty());
    EXPECT_LE(box.right, 600);
    EXPECT_GT(box.right - box.left, w + w / 2);  // twice as wide as at scale 1
    auto p = GrabPixmap(box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1);
    bool onlyGreen = true;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) {
            int v = p->ReadPixel(x, y);
            if (((v >> 16) & 255) != 0 || (v & 255) != 0) onlyGreen = false;
        }
    EXPECT_TRUE(onlyGreen);
}

TEST_F(FontTest, LoadedFontsHaveTheirOwnSizeAndStyle) {
    std::string path = testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf";
    auto big = LoadImageFont(path, 40, SMOOTHFONT);
    auto bold = LoadImageFont(path, 40, SMOOTHFONT | BOLDFONT);
    ASSERT_TRUE(big);
    ASSERT_TRUE(bold);
    SetImageFont(big);
    EXPECT_EQ(GetImageFont(), big);
    int bigWidth = TextWidth("Quilt");
    EXPECT_GE(TextHeight("Quilt"), 40);
    SetImageFont(bold);
    EXPECT_GT(TextWidth("Quilt"), bigWidth);
    SetImageFont(nullptr);
    EXPECT_LT(TextWidth("Quilt"), bigWidth);

    // Text in UTF-8, and a character the font lacks, still advance.
    SetImageFont(big);
    EXPECT_GT(TextWidth("é"), 0);
    EXPECT_GT(TextWidth("\xF0\x9F\x80\x80"), 0);
    DrawText("Zoë", 50, 400);
    EXPECT_FALSE(LitBox(40, 390, 200, 80).empty());
}

TEST_F(FontTest, AFontFileIsReadOnceForAllItsSizes) {
    testsupport::TempDir dir;
    const std::string bytes = testsupport::ReadFileBytes(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf");
    testsupport::WriteFileBytes(dir.file("Font.ttf"), bytes);
    const int64_t before = FontFileMemory();
    {
        auto small = LoadImageFont(dir.file("Font.ttf"), 14);
        auto big = LoadImageFont(dir.file("FONT.TTF"), 40, SMOOTHFONT | BOLDFONT);  // the same file
        ASSERT_TRUE(small && big);
        EXPECT_EQ(FontFileMemory(), before + static_cast<int64_t>(bytes.size()));
        SetImageFont(big);
        EXPECT_GT(TextWidth("Quilt"), 40);
        SetImageFont(nullptr);
    }
    // Let go with the last font of it.
    EXPECT_EQ(FontFileMemory(), before);
}

TEST_F(FontTest, MissingOrDamagedFontsGiveNothing) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("bad.ttf"), "not a font at all");
    EXPECT_FALSE(LoadImageFont(dir.file("missing.ttf"), 20));
    EXPECT_FALSE(LoadImageFont(dir.file("bad.ttf"), 20));
    EXPECT_FALSE(LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", 0));
    // A size past the largest is refused before any arithmetic on it (134,217,724 once
    // overflowed the atlas's width).
    for (int size : {kMaxFontSize + 1, 134217724, 2147483647})
        EXPECT_FALSE(LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", size)) << size;
    EXPECT_TRUE(LoadImageFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", kMaxFontSize));
    // A default-font path that does not exist falls back to the system copy.
    SetDefaultFontPath(dir.file("missing.ttf"));
    EXPECT_TRUE(GetImageFont());
}

}  // namespace
