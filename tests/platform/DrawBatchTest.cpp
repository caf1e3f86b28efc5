// The quad batch: the same pictures as drawing every quad on its own (a reference frame drawn
// that way is kept in tests/platform/data), in the same order, in far fewer GL calls; and the
// fonts' glyph atlases, grown and paged, drawing what each glyph's own texture drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/DrawScene.h"
#include "platform/Strings.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Rgb;

class DrawBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GraphicsOpen() || GraphicsWidth() != 1366 || GraphicsHeight() != 768 || GraphicsDepth() != 0) {
            ASSERT_TRUE(Graphics(1366, 768, 0, 60, 0)) << GraphicsError();
        }
        SetVirtualResolution(1366, 768);
        SetDirectDrawing(false);
        ResetDrawState();
        ResetFonts();
        SetDefaultFontPath(FontFile());
        SetClsColor(0, 0, 0);
        Cls();
    }
    void TearDown() override {
        SetDirectDrawing(false);
        SetFontAtlasLimit(0);
        ResetFonts();
        ResetDrawState();
        ResetImageSettings();
    }
    static std::string FontFile() { return testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"; }
};

// How far two pictures of one size are apart: the largest difference of a colour channel, and
// where it is.
struct Difference {
    int most = 0, x = 0, y = 0;
};

Difference Compare(const TPixmapPtr& a, const TPixmapPtr& b) {
    Difference d;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const Rgb p = testsupport::RgbAt(a, x, y), q = testsupport::RgbAt(b, x, y);
            const int most = std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            if (most > d.most) d = {most, x, y};
        }
    return d;
}

::testing::AssertionResult SamePicture(const TPixmapPtr& got, const TPixmapPtr& want) {
    if (!got || !want) return ::testing::AssertionFailure() << "no picture";
    if (got->width != want->width || got->height != want->height)
        return ::testing::AssertionFailure() << "sizes differ";
    const Difference d = Compare(got, want);
    if (d.most <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "off by " << d.most << " at (" << d.x << ", " << d.y << "): got "
                                         << testsupport::RgbAt(got, d.x, d.y) << " want "
                                         << testsupport::RgbAt(want, d.x, d.y);
}

// The GL calls and quads of what `draw` draws (the batch drawn out by the pixel read).
template <typename Fn>
DrawStats Count(Fn draw) {
    const DrawStats before = CurrentDrawStats();
    draw();
    GrabPixmap(0, 0, 1, 1);
    const DrawStats after = CurrentDrawStats();
    return {after.drawCalls - before.drawCalls, after.quads - before.quads};
}

TPixmapPtr Solid(int w, int h, int argb) {
    auto p = CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->WritePixel(x, y, argb);
    return p;
}

// Every way of drawing in one frame (tests/platform/DrawScene.h): batched, and quad by quad,
// both as the frame drawn quad by quad before the batch existed, within 1 of 255 a channel.
TEST_F(DrawBatchTest, SceneMatchesTheFrameDrawnQuadByQuad) {
    auto reference = LoadPixmap(testsupport::SourceDir() + "/tests/platform/data/DrawScene.png");
    ASSERT_TRUE(reference);
    for (bool direct : {false, true}) {
        SCOPED_TRACE(direct ? "direct" : "batched");
        SetDirectDrawing(direct);
        int calls = 0;
        const DrawStats stats = Count([&] { drawscene::Draw(FontFile()); });
        calls = stats.drawCalls;
        auto frame = GrabPixmap(0, 0, drawscene::kWidth, drawscene::kHeight);
        if (std::getenv("QUILTORA_WRITE_DRAWSCENE")) SavePixmapPNG(frame, std::getenv("QUILTORA_WRITE_DRAWSCENE"));
        EXPECT_TRUE(SamePicture(frame, reference));
        // Quad by quad the scene takes well over a hundred calls; batched, a fraction of that.
        if (direct) EXPECT_GT(calls, 150);
        else EXPECT_LT(calls, 90);
    }
}

TEST_F(DrawBatchTest, QuadsOfOneTextureAndBlendGoToGLInOneCall) {
    auto red = LoadImage(Solid(8, 8, int(0xFFE04030)), 0);
    auto blue = LoadImage(Solid(8, 8, int(0x803070E0)), 0);
    const struct {
        const char* what;
        std::function<void()> draw;
        int calls, quads;
    } cases[] = {
        {"one texture", [&] { for (int i = 0; i < 300; ++i) DrawImage(red, float(i % 100) * 9, float(i / 100) * 9); }, 1, 300},
        {"two textures in runs of 25",
         [&] { for (int i = 0; i < 300; ++i) DrawImage((i / 25) % 2 ? blue : red, float(i % 100) * 9, 40); }, 12, 300},
        {"plain rectangles", [&] { for (int i = 0; i < 50; ++i) DrawRect(float(i) * 10, 60, 8, 8); }, 1, 50},
        {"rectangles between pictures",
         [&] { for (int i = 0; i < 10; ++i) { DrawImage(blue, float(i) * 20, 80); DrawRect(float(i) * 20, 90, 8, 8); } }, 20, 20},
        {"blend changes",
         [&] { for (int i = 0; i < 10; ++i) { SetBlend(i % 2 ? LIGHTBLEND : ALPHABLEND); DrawImage(blue, float(i) * 9, 100); } }, 10, 10},
        {"faded to nothing", [&] { SetAlpha(0.0f); for (int i = 0; i < 10; ++i) DrawImage(blue, float(i) * 9, 110); }, 0, 0},
        {"more than the batch holds", [&] { for (int i = 0; i < 5000; ++i) DrawImage(red, float(i % 100), 120); }, 2, 5000},
        {"a line of text", [&] { DrawText("Patchwork quilts, twelve colours", 10, 140); }, 1, 29},
        {"a line between quads",
         [&] { DrawRect(0, 160, 4, 4); DrawLine(0, 170, 50, 170); DrawRect(10, 160, 4, 4); }, 3, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetDrawState();
        const DrawStats stats = Count(c.draw);
        EXPECT_EQ(stats.drawCalls, c.calls);
        EXPECT_EQ(stats.quads, c.quads);
    }
}

// The batch never reorders: a quad drawn after another covers it, whatever the textures and
// blends of the two.
TEST_F(DrawBatchTest, LaterQuadsStayOnTopAcrossTexturesAndBlends) {
    auto green = LoadImage(Solid(20, 20, int(0xFF20C040)), 0);
    auto glow = LoadImage(Solid(20, 20, int(0xFF402010)), 0);
    SetClsColor(40, 40, 40);
    Cls();
    // Additive, then an opaque picture over it, then additive again over that.
    SetBlend(LIGHTBLEND);
    DrawImage(glow, 0, 0);
    SetBlend(ALPHABLEND);
    DrawImage(green, 10, 0);
    SetBlend(LIGHTBLEND);
    DrawImage(glow, 20, 0);
    // A plain rectangle, a picture of another texture over half of it, the rectangle's
    // texture-less colour again over a quarter.
    SetBlend(ALPHABLEND);
    SetColor(200, 0, 0);
    DrawRect(0, 30, 20, 20);
    SetColor(255, 255, 255);
    DrawImage(green, 10, 30);
    SetColor(0, 0, 200);
    DrawRect(15, 30, 20, 20);
    auto frame = GrabPixmap(0, 0, 50, 60);
    EXPECT_EQ(testsupport::RgbAt(frame, 5, 5), (Rgb{104, 72, 56}));     // glow only
    EXPECT_EQ(testsupport::RgbAt(frame, 15, 5), (Rgb{32, 192, 64}));    // the green covered the glow
    EXPECT_EQ(testsupport::RgbAt(frame, 25, 5), (Rgb{96, 224, 80}));    // the later glow added to green
    EXPECT_EQ(testsupport::RgbAt(frame, 5, 35), (Rgb{200, 0, 0}));
    EXPECT_EQ(testsupport::RgbAt(frame, 12, 35), (Rgb{32, 192, 64}));
    EXPECT_EQ(testsupport::RgbAt(frame, 17, 35), (Rgb{0, 0, 200}));
}

// Many glyphs of a large font: the atlas grows and then takes new pages; every glyph, from
// whichever page, draws as from a texture of its own, and a frame that adds glyphs between
// draws of the same text keeps the text drawn before the atlas changed.
TEST_F(DrawBatchTest, FontAtlasGrowsAndPagesAndDrawsEveryGlyphAsBefore) {
    SetFontAtlasLimit(512);
    auto font = LoadImageFont(FontFile(), 48, SMOOTHFONT);
    ASSERT_TRUE(font);
    std::string lines[8];
    for (int line = 0; line < 8; ++line)
        for (char32_t c = 0x41 + line * 24; c < char32_t(0x41 + line * 24 + 24); ++c) lines[line] += Utf32ToUtf8(std::u32string(1, c));
    auto drawAll = [&] {
        SetClsColor(0, 0, 0);
        Cls();
        SetImageFont(font);
        SetColor(255, 240, 200);
        for (int line = 0; line < 8; ++line) {
            // The first line again after every other: it must still show, wherever its glyphs went.
            DrawText(lines[line], 0, float(line) * 60);
            DrawText(lines[0], 700, float(line) * 60);
        }
    };
    SetDirectDrawing(true);
    drawAll();
    auto reference = GrabPixmap(0, 0, 1366, 480);
    SetDirectDrawing(false);
    // A fresh font, so its atlas fills while this frame is drawn.
    font = LoadImageFont(FontFile(), 48, SMOOTHFONT);
    drawAll();
    EXPECT_TRUE(SamePicture(GrabPixmap(0, 0, 1366, 480), reference));
    // Drawn again with the atlas complete: one call a run of text.
    const DrawStats stats = Count([&] { drawAll(); });
    EXPECT_TRUE(SamePicture(GrabPixmap(0, 0, 1366, 480), reference));
    EXPECT_LE(stats.drawCalls, 16);
}

}  // namespace
