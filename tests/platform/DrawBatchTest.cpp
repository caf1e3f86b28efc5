// The quad batch: the same pictures as drawing every quad on its own (a reference frame drawn
// that way is kept in tests/platform/data), in the same order, in far fewer GL calls; and the
// fonts' glyph atlases, grown and paged, drawing what each glyph's own texture drew.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWideWindow());
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
// A picture held by a static object of the program: destroyed at the program's end, after the
// OpenGL driver (loaded with the first context) has torn its own globals down.
TImagePtr gHeldToTheEnd;

// A program that ends with a frame's quads still pending (drawn but never shown): the pending
// quads were drawn when the static picture's texture went, in the driver's torn-down shader
// compiler, and the process hung there at its end (one run in a few). Now it ends at once.
TEST(DrawAtExit, AProgramEndingWithQuadsPendingEnds) {
    if (GraphicsOpen()) GTEST_SKIP() << "needs a process without a window yet (ctest runs each test alone)";
    for (int run = 0; run < 4; ++run) {
        SCOPED_TRACE(run);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (!Graphics(320, 200, 0, 60, 0)) _exit(3);
            gHeldToTheEnd = LoadImage(Solid(8, 8, int(0x80E04030)), 0);
            DrawImage(gHeldToTheEnd, 0, 0);
            Flip();  // from here on a frame's quads are recorded until it is shown
            for (int i = 0; i < 20; ++i) {
                SetBlend(i % 2 ? LIGHTBLEND : ALPHABLEND);
                SetColor(200, 120 + i, 255);
                DrawImage(gHeldToTheEnd, float(i) * 9, 10);
            }
            SetDefaultFontPath(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf");
            DrawText("Credits roll", 10, 40);  // the fonts' atlases are static objects too
            std::exit(0);                      // no Flip: the quads are still pending
        }
        int status = 0;
        pid_t done = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while ((done = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (done == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            FAIL() << "the program hung at its end";
        }
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

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
        {"one texture",
         [&] {
             for (int i = 0; i < 300; ++i) DrawImage(red, float(i % 100) * 9, float(i / 100) * 9);
         },
         1, 300},
        {"two textures in runs of 25",
         [&] {
             for (int i = 0; i < 300; ++i) DrawImage((i / 25) % 2 ? blue : red, float(i % 100) * 9, 40);
         },
         12, 300},
        {"plain rectangles",
         [&] {
             for (int i = 0; i < 50; ++i) DrawRect(float(i) * 10, 60, 8, 8);
         },
         1, 50},
        {"rectangles between pictures",
         [&] {
             for (int i = 0; i < 10; ++i) {
                 DrawImage(blue, float(i) * 20, 80);
                 DrawRect(float(i) * 20, 90, 8, 8);
             }
         },
         20, 20},
        {"blend changes",
         [&] {
             for (int i = 0; i < 10; ++i) {
                 SetBlend(i % 2 ? LIGHTBLEND : ALPHABLEND);
                 DrawImage(blue, float(i) * 9, 100);
             }
         },
         10, 10},
        {"faded to nothing",
         [&] {
             SetAlpha(0.0f);
             for (int i = 0; i < 10; ++i) DrawImage(blue, float(i) * 9, 110);
         },
         0, 0},
        {"more than the batch holds",
         [&] {
             for (int i = 0; i < 5000; ++i) DrawImage(red, float(i % 100), 120);
         },
         2, 5000},
        {"a line of text", [&] { DrawText("Patchwork quilts, twelve colours", 10, 140); }, 1, 29},
        {"lines between quads",
         [&] {
             DrawRect(0, 160, 4, 4);
             for (int i = 0; i < 3; ++i) DrawLine(0, 170.0f + i, 50, 170, false);
             DrawRect(10, 160, 4, 4);
         },
         3, 2},
        {"a line and its last pixel",
         [&] {
             DrawLine(0, 180, 50, 180);
             DrawLine(0, 182, 50, 182);
         },
         4, 0},
        {"ovals and polygons",
         [&] {
             DrawOval(0, 190, 30, 20);
             DrawPoly({40, 190, 60, 195, 50, 210});
             DrawOval(70, 190, 9, 9);
         },
         1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetDrawState();
        const DrawStats stats = Count(c.draw);
        EXPECT_EQ(stats.drawCalls, c.calls);
        EXPECT_EQ(stats.quads, c.quads);
    }
}

// Pictures drawn with less work: a picture of one colour is a plain quad of that colour, and a
// picture in white at full alpha replaces the colour instead of multiplying by it (among them
// colour ramps one texel high or wide, as the clue strips' backs). A clear followed by an opaque
// picture over all of it is left to the picture. Each draws what drawing quad by quad draws,
// within 1 of 255 a channel, in every blend, tint, fade, scale, turn and sub-rectangle.
TEST_F(DrawBatchTest, PicturesDrawnWithoutTheirTextureLookAsBefore) {
    auto flat = LoadImage(Solid(32, 32, int(0x85132A2Au)), FILTEREDIMAGE);  // the pop-ups' backdrop
    auto flatOpaque = LoadImage(Solid(6, 5, int(0xFF3C8A50u)), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    auto across = CreatePixmap(32, 1), down = CreatePixmap(1, 32), both = CreatePixmap(1, 32);
    for (int i = 0; i < 32; ++i) {
        // An S-shaped fade from transparent black to a dark colour, as the clue strips' backs.
        const int a = std::min(189, i < 3 ? 0 : (i - 2) * (i - 2) * 189 / 500 + i * 3);
        const int argb = a == 0 ? 0 : int((unsigned(a) << 24) | 0x3A222Fu);
        across->WritePixel(i, 0, argb);
        // Opaque, changing colour; or changing both.
        down->WritePixel(0, i, int(0xFF000000u | (unsigned(i * 8) << 16) | 0x00A020u));
        both->WritePixel(0, i, int((unsigned(255 - i * 7) << 24) | (unsigned(i * 8) << 16) | 0x00A020u));
    }
    auto rampAcross = LoadImage(across, FILTEREDIMAGE), rampDown = LoadImage(down, FILTEREDIMAGE);
    auto rampBoth = LoadImage(both, FILTEREDIMAGE);
    auto opaqueAcross = CreatePixmap(16, 1);
    for (int i = 0; i < 16; ++i) opaqueAcross->WritePixel(i, 0, int(0xFF000000u | unsigned(i * 16) << 8 | 0x40u));
    auto rampOpaque = LoadImage(opaqueAcross, FILTEREDIMAGE);
    auto picture = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto spot = LoadImage(drawscene::SoftSpot(255, 200, 60), FILTEREDIMAGE);
    auto draw = [&] {
        ResetDrawState();
        SetClsColor(200, 30, 30);
        Cls();
        // Covered at once by an opaque picture: the clear is never seen.
        SetBlend(SOLIDBLEND);
        DrawImageRect(picture, 0, 0, 400, 300);
        SetClsColor(20, 40, 60);
        SetViewport(300, 0, 200, 300);
        Cls();  // only partly covered below: it shows
        SetViewport(0, 0, 1366, 768);
        SetBlend(ALPHABLEND);
        DrawImageRect(picture, 300, 0, 100, 300);
        int y = 0;
        for (int blend : {ALPHABLEND, SOLIDBLEND, LIGHTBLEND, SHADEBLEND, MASKBLEND}) {
            SetBlend(blend);
            SetColor(255, 255, 255);
            SetAlpha(1.0f);
            DrawImageRect(flat, 10, float(y), 60, 40);
            DrawImage(flatOpaque, 80, float(y));
            SetColor(200, 120, 255);
            SetAlpha(0.6f);
            DrawImageRect(flat, 100, float(y) + 5, 40, 30);
            SetColor(255, 255, 255);
            SetAlpha(1.0f);
            DrawImageRect(rampAcross, 150, float(y), 137, 40);
            DrawImageRect(rampDown, 300, float(y), 40, 53);
            DrawImageRect(rampOpaque, 350, float(y), 90, 20);
            DrawImageRect(rampBoth, 350, float(y) + 25, 90, 20);
            SetColor(90, 200, 140);
            SetAlpha(0.7f);
            DrawSubImageRect(rampAcross, 450, float(y), 70, 30, 5, 0, 20, 1);
            SetScale(-1.5f, 2.0f);
            DrawImage(rampAcross, 600, float(y));
            SetScale(1.0f, 1.0f);
            SetRotation(30.0f);
            DrawImageRect(rampDown, 650, float(y), 30, 45);
            DrawImageRect(flat, 700, float(y), 30, 25);
            SetRotation(0.0f);
            SetColor(255, 255, 255);
            SetAlpha(1.0f);
            DrawImage(spot, 750, float(y));
            y += 60;
        }
    };
    SetDirectDrawing(true);
    draw();
    auto reference = GrabPixmap(0, 0, 800, 320);
    SetDirectDrawing(false);
    draw();
    EXPECT_TRUE(SamePicture(GrabPixmap(0, 0, 800, 320), reference));
    // The cleared colour, where nothing covered it.
    EXPECT_EQ(testsupport::RgbAt(reference, 450, 290), (Rgb{20, 40, 60}));

    // A picture of one colour joins the plain rectangles' call.
    ResetDrawState();
    SetAlpha(0.5f);
    const DrawStats stats = Count([&] {
        for (int i = 0; i < 10; ++i) {
            DrawImage(flat, float(i) * 40, 400);
            DrawRect(float(i) * 40, 440, 8, 8);
        }
    });
    EXPECT_EQ(stats.drawCalls, 1);
    EXPECT_EQ(stats.quads, 20);
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
    EXPECT_EQ(testsupport::RgbAt(frame, 5, 5), (Rgb{104, 72, 56}));   // glow only
    EXPECT_EQ(testsupport::RgbAt(frame, 15, 5), (Rgb{32, 192, 64}));  // the green covered the glow
    EXPECT_EQ(testsupport::RgbAt(frame, 25, 5), (Rgb{96, 224, 80}));  // the later glow added to green
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
        for (char32_t c = 0x41 + line * 24; c < char32_t(0x41 + line * 24 + 24); ++c)
            lines[line] += Utf32ToUtf8(std::u32string(1, c));
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
