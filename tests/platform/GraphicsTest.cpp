// Real frames drawn headless and read back: blend modes, the draw transform, virtual
// resolution and viewport, images with handle, scale, rotation, frames and sub-rectangles, and
// the context surviving a change of window.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Rgb;

Rgb At(const TPixmapPtr& p, int x, int y) { return testsupport::RgbAt(p, x, y); }
::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance = 2) {
    return testsupport::NearRgb(got, want, tolerance);
}

const Rgb kBackground{100, 150, 200};

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWideWindow());
        ResetDrawState();
        SetClsColor(kBackground.r, kBackground.g, kBackground.b);
        Cls();
    }
    void TearDown() override {
        ResetDrawState();
        ResetImageSettings();
    }
    static TPixmapPtr Frame() { return GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()); }
};

// A 16 x 16 picture of four 8 x 8 quadrants: red, green / blue, white.
TPixmapPtr Quadrants() {
    auto p = CreatePixmap(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            p->WritePixel(
                x, y,
                y < 8 ? (x < 8 ? int(0xFFFF0000) : int(0xFF00FF00)) : (x < 8 ? int(0xFF0000FF) : int(0xFFFFFFFF)));
    return p;
}

TEST_F(GraphicsTest, EachBlendModeCombinesWithTheBackground) {
    const struct {
        int blend;
        float alpha;
        Rgb want;
    } cases[] = {
        {MASKBLEND, 1.0f, {200, 100, 50}},   {MASKBLEND, 0.25f, kBackground},      // alpha test at one half
        {SOLIDBLEND, 0.25f, {200, 100, 50}},                                       // alpha ignored
        {ALPHABLEND, 0.5f, {150, 125, 125}},                                       // mixed
        {LIGHTBLEND, 0.5f, {200, 200, 225}}, {LIGHTBLEND, 1.0f, {255, 250, 250}},  // added, clamped
        {SHADEBLEND, 1.0f, {78, 59, 39}},                                          // multiplied
    };
    int x = 10;
    for (const auto& c : cases) {
        SetBlend(c.blend);
        SetAlpha(c.alpha);
        SetColor(200, 100, 50);
        DrawRect(static_cast<float>(x), 10, 20, 20);
        x += 30;
    }
    auto frame = Frame();
    x = 10;
    for (const auto& c : cases) {
        EXPECT_TRUE(Near(At(frame, x + 10, 20), c.want)) << "blend " << c.blend << " alpha " << c.alpha;
        x += 30;
    }
}

TEST_F(GraphicsTest, ColourAndAlphaAreClamped) {
    SetColor(-20, 300, 128);
    SetAlpha(2.5f);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 128);
    EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    SetBlend(9);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
}

TEST_F(GraphicsTest, RectanglesFollowOriginHandleScaleAndRotation) {
    // Rotation turns clockwise on screen about the draw point; the handle lands on it.
    const struct {
        float ox, oy, hx, hy, sx, sy, rotation;
        std::vector<std::pair<int, int>> inside, outside;
    } cases[] = {
        {0, 0, 0, 0, 1, 1, 0, {{300, 300}, {339, 319}}, {{299, 300}, {340, 300}, {300, 320}}},
        {0, 0, 20, 10, 2, 1, 0, {{260, 290}, {339, 309}}, {{259, 300}, {340, 300}, {300, 289}}},
        {100, 100, 10, 10, 1, 1, 90, {{291, 291}, {309, 329}}, {{289, 300}, {311, 300}, {300, 289}, {300, 331}}},
    };
    for (const auto& c : cases) {
        Cls();
        SetOrigin(c.ox, c.oy);
        SetHandle(c.hx, c.hy);
        SetScale(c.sx, c.sy);
        SetRotation(c.rotation);
        SetColor(255, 0, 0);
        DrawRect(300 - c.ox, 300 - c.oy, 40, 20);
        auto frame = Frame();
        for (auto [x, y] : c.inside) EXPECT_TRUE(Near(At(frame, x, y), {255, 0, 0})) << x << "," << y;
        for (auto [x, y] : c.outside) EXPECT_TRUE(Near(At(frame, x, y), kBackground)) << x << "," << y;
    }
}

TEST_F(GraphicsTest, VirtualResolutionScalesAndViewportClipsDrawingAndCls) {
    SetVirtualResolution(683, 384);  // two window pixels per virtual pixel
    SetViewport(0, 0, 15, 384);
    SetColor(255, 255, 255);
    DrawRect(10, 10, 10, 10);  // window pixels 20..39, clipped at 30
    SetViewport(100, 100, 10, 10);
    SetClsColor(0, 0, 0);
    Cls();  // clears window pixels 200..219 only
    auto frame = Frame();
    EXPECT_TRUE(Near(At(frame, 19, 25), kBackground));
    EXPECT_TRUE(Near(At(frame, 20, 20), {255, 255, 255}));
    EXPECT_TRUE(Near(At(frame, 29, 39), {255, 255, 255}));
    EXPECT_TRUE(Near(At(frame, 30, 25), kBackground));
    EXPECT_TRUE(Near(At(frame, 200, 219), {0, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 199, 210), kBackground));
    EXPECT_TRUE(Near(At(frame, 220, 210), kBackground));
}

TEST_F(GraphicsTest, LinesPointsOvalsAndPolygons) {
    SetColor(255, 255, 255);
    DrawLine(10, 100, 20, 100, false);
    DrawLine(10, 110, 20, 110, true);
    Plot(50, 50);
    DrawOval(100, 100, 40, 40);
    DrawPoly({200, 200, 240, 200, 200, 240});
    auto frame = Frame();
    const struct {
        int x, y;
        bool lit;
    } cases[] = {
        {10, 100, true},  {19, 100, true},  {20, 100, false},  {20, 110, true},  {10, 101, false},
        {50, 50, true},   {51, 50, false},  {50, 51, false},   {120, 120, true}, {101, 101, false},
        {139, 120, true}, {205, 205, true}, {235, 235, false},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(Near(At(frame, c.x, c.y), c.lit ? Rgb{255, 255, 255} : kBackground)) << c.x << "," << c.y;
}

TEST_F(GraphicsTest, ImageIsPlacedByHandleInsideScaledRotatedFrame) {
    auto image = LoadImage(Quadrants(), 0);
    ASSERT_TRUE(image);
    MidHandleImage(image);
    SetScale(2, 2);
    SetRotation(90);
    DrawImage(image, 400, 400);
    auto frame = Frame();
    // A quarter turn clockwise: red top-right, green bottom-right, white bottom-left, blue top-left.
    EXPECT_TRUE(Near(At(frame, 408, 392), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 408, 408), {0, 255, 0}));
    EXPECT_TRUE(Near(At(frame, 392, 408), {255, 255, 255}));
    EXPECT_TRUE(Near(At(frame, 392, 392), {0, 0, 255}));
    for (auto [x, y] : {std::pair{383, 400}, {417, 400}, {400, 383}, {400, 417}})
        EXPECT_TRUE(Near(At(frame, x, y), kBackground)) << x << "," << y;
}

TEST_F(GraphicsTest, ImageRectSubRectAndFramesDrawTheRightPixels) {
    testsupport::TempDir dir;
    // A strip of three 4 x 4 cells: red, green, blue.
    auto strip = CreatePixmap(12, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x)
            strip->WritePixel(x, y, x < 4 ? int(0xFFFF0000) : x < 8 ? int(0xFF00FF00) : int(0xFF0000FF));
    ASSERT_TRUE(SavePixmapPNG(strip, dir.file("strip.png")));
    auto anim = LoadAnimImage(dir.file("strip.png"), 4, 4, 1, 2, 0);
    ASSERT_TRUE(anim);
    EXPECT_EQ(ImageFrames(anim), 2);
    auto quads = LoadImage(Quadrants(), 0);
    SetImageHandle(quads, 16, 16);  // bottom-right corner

    DrawImage(anim, 10, 10, 1);                             // blue
    DrawImage(anim, 20, 10, 5);                             // no such frame: nothing
    DrawImageRect(quads, 100, 100, 32, 64);                 // handle stretched: spans 68..100 x 36..100
    DrawSubImageRect(quads, 200, 200, 30, 30, 8, 0, 8, 8);  // the green quadrant, 30 x 30
    auto frame = Frame();
    EXPECT_TRUE(Near(At(frame, 12, 12), {0, 0, 255}));
    EXPECT_TRUE(Near(At(frame, 22, 12), kBackground));
    EXPECT_TRUE(Near(At(frame, 70, 40), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 98, 98), {255, 255, 255}));
    EXPECT_TRUE(Near(At(frame, 101, 98), kBackground));
    EXPECT_TRUE(Near(At(frame, 201, 201), {0, 255, 0}));
    EXPECT_TRUE(Near(At(frame, 228, 228), {0, 255, 0}));
    EXPECT_TRUE(Near(At(frame, 231, 215), kBackground));
}

TEST_F(GraphicsTest, MaskBlendDropsTransparentTexelsAndMaskedImagesDropTheMaskColour) {
    auto p = CreatePixmap(8, 1);
    for (int x = 0; x < 8; ++x) p->WritePixel(x, 0, x < 4 ? int(0xFF000000) : int(0x00FFFFFF));
    auto plain = LoadImage(p, 0);
    auto masked = LoadImage(p, MASKEDIMAGE);
    SetBlend(MASKBLEND);
    DrawImage(plain, 10, 10);
    DrawImage(masked, 10, 20);
    auto frame = Frame();
    EXPECT_TRUE(Near(At(frame, 11, 10), {0, 0, 0}));    // opaque black drawn
    EXPECT_TRUE(Near(At(frame, 15, 10), kBackground));  // transparent white dropped
    EXPECT_TRUE(Near(At(frame, 11, 20), kBackground));  // black masked out
    EXPECT_EQ(p->ReadPixel(0, 0), int(0xFF000000));     // the caller's pixmap is untouched
}

TEST_F(GraphicsTest, TexturesSurviveReopeningTheWindow) {
    auto image = LoadImage(Quadrants(), 0);
    DrawImage(image, 10, 10);  // uploaded in this window
    // Changed pixels that are never sent to the texture: a texture made again in a new context
    // would show them.
    LockImage(image)->ClearPixels(int(0xFF0000FF));
    ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
    ASSERT_TRUE(Graphics(1366, 768, 0, 60, 0));
    SetVirtualResolution(1366, 768);
    ResetDrawState();
    Cls();
    DrawImage(image, 10, 10);
    auto frame = Frame();
    EXPECT_TRUE(Near(At(frame, 12, 12), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 22, 22), {255, 255, 255}));
}

TEST_F(GraphicsTest, APictureFromAFileIsNotHeldBesideItsTextureAndComesBackWhenNeeded) {
    testsupport::TempDir dir;
    ASSERT_TRUE(SavePixmapPNG(Quadrants(), dir.file("q.png")));
    const TTextureMemory before = TextureMemory();
    // Decoded to be checked and measured, then let go: a picture not drawn yet costs nothing.
    auto plain = LoadImage(dir.file("q.png"), 0);
    SetMaskColor(255, 0, 0);
    auto masked = LoadImage(dir.file("q.png"), MASKEDIMAGE);
    SetMaskColor(0, 0, 255);  // the colour at load time holds whenever the picture is decoded again
    ASSERT_TRUE(plain && masked);
    EXPECT_EQ(ImageWidth(plain), 16);
    EXPECT_TRUE(plain->pixmaps[0]->pixels.empty());
    EXPECT_EQ(TextureMemory().picturePixels, before.picturePixels);

    // Drawn: decoded again for the texture, then let go again.
    SetBlend(ALPHABLEND);
    DrawImage(plain, 10, 10);
    DrawImage(masked, 40, 10);
    auto frame = Frame();
    EXPECT_TRUE(Near(At(frame, 12, 12), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 22, 22), {255, 255, 255}));
    EXPECT_TRUE(Near(At(frame, 42, 12), kBackground));  // the mask colour is transparent
    EXPECT_TRUE(Near(At(frame, 42, 22), {0, 0, 255}));
    EXPECT_TRUE(plain->pixmaps[0]->pixels.empty());
    EXPECT_EQ(TextureMemory().picturePixels, before.picturePixels);
    EXPECT_EQ(TextureMemory().pictureTextures, before.pictureTextures + 2 * 16 * 16 * 4);

    // A new GL context makes the textures again from the file; a locked picture gets its pixels
    // back and keeps them, changed, from then on.
    LockImage(plain)->WritePixel(0, 0, int(0xFF00FF00));
    UnlockImage(plain);
    EndGraphics();
    ASSERT_TRUE(Graphics(1366, 768, 0, 60, 0));
    SetVirtualResolution(1366, 768);
    ResetDrawState();
    SetClsColor(kBackground.r, kBackground.g, kBackground.b);
    Cls();
    SetBlend(ALPHABLEND);
    DrawImage(plain, 10, 10);
    DrawImage(masked, 40, 10);
    frame = Frame();
    EXPECT_TRUE(Near(At(frame, 10, 10), {0, 255, 0}));
    EXPECT_TRUE(Near(At(frame, 12, 12), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 42, 12), kBackground));
    EXPECT_TRUE(Near(At(frame, 42, 22), {0, 0, 255}));
    EXPECT_FALSE(plain->pixmaps[0]->pixels.empty());

    // A file gone before its picture is first drawn: nothing is drawn, and nothing breaks.
    auto gone = LoadImage(dir.file("q.png"), 0);
    ASSERT_TRUE(DeleteFile(dir.file("q.png")));
    Cls();
    DrawImage(gone, 10, 10);
    DrawImage(gone, 10, 10);
    EXPECT_TRUE(Near(At(Frame(), 12, 12), kBackground));
    EXPECT_FALSE(LockImage(gone));
}

// A picture from a file is decoded once each time it is loaded or let go: its header at
// loading, its pixels when first drawn (every frame of an animation from one decoding); the
// pictures not drawn since a mark are let go; a record of pictures drawn is asked for ahead and
// uploaded without being drawn; while gathering, a picture not uploaded is asked of the worker and
// left out of the drawing.
TEST_F(GraphicsTest, APictureIsDecodedOnceALoadLetGoWhenUnusedAndFetchedAhead) {
    testsupport::TempDir dir;
    auto strip = CreatePixmap(12, 4);  // three 4 x 4 cells: red, green, blue
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x)
            strip->WritePixel(x, y, x < 4 ? int(0xFFFF0000) : x < 8 ? int(0xFF00FF00) : int(0xFF0000FF));
    ASSERT_TRUE(SavePixmapPNG(strip, dir.file("strip.png")));
    ASSERT_TRUE(SavePixmapPNG(Quadrants(), dir.file("q.png")));
    const int64_t start = PicturesDecoded();
    auto quads = LoadImage(dir.file("q.png"), 0);
    auto anim = LoadAnimImage(dir.file("strip.png"), 4, 4, 0, 3, 0);
    ASSERT_TRUE(quads && anim);
    EXPECT_EQ(PicturesDecoded(), start) << "loading reads the header only";
    EXPECT_EQ(ImageWidth(quads), 16);

    const int64_t animBytes = 3 * 4 * 4 * 4;
    auto drawAnim = [&] {
        for (int f = 0; f < 3; ++f) DrawImage(anim, 10.0f + 10 * f, 10, f);
    };
    auto expectAnim = [&](const TPixmapPtr& frame) {
        EXPECT_TRUE(Near(At(frame, 12, 12), {255, 0, 0}));
        EXPECT_TRUE(Near(At(frame, 22, 12), {0, 255, 0}));
        EXPECT_TRUE(Near(At(frame, 32, 12), {0, 0, 255}));
    };
    // Pixels the program makes (again when wanted): kept, whether drawn or not.
    int makings = 0;
    auto made = CreateMadeImage(
        8, 8,
        [&](TPixmap& p) {
            ++makings;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) p.WritePixel(x, y, int(0xFFFFFF00));
            return true;
        },
        0);
    ASSERT_TRUE(made);
    drawAnim();
    DrawImage(quads, 100, 100);
    DrawImage(quads, 130, 100);
    DrawImage(made, 200, 10);
    expectAnim(Frame());
    EXPECT_EQ(PicturesDecoded(), start + 2) << "one decoding for the three frames, one for the picture drawn twice";

    // Not drawn since the mark: let go (and decoded again when drawn next); made pixels are kept.
    const int64_t held = TextureMemory().pictureTextures;
    const uint64_t mark = MarkPictureUse();
    DrawImage(quads, 100, 100);
    EXPECT_EQ(ReleasePicturesUnusedSince(mark), animBytes);
    EXPECT_EQ(TextureMemory().pictureTextures, held - animBytes);
    Cls();
    DrawImage(made, 200, 10);
    EXPECT_TRUE(Near(At(Frame(), 202, 12), {255, 255, 0}));
    EXPECT_EQ(makings, 1) << "the made picture was not let go";

    // Drawn under a record, let go, asked for ahead: back without being drawn.
    TPictureRecord record;
    RecordPictures(&record);
    Cls();
    drawAnim();
    RecordPictures(nullptr);
    EXPECT_EQ(PicturesDecoded(), start + 3);
    EXPECT_EQ(record.Size(), 3u);
    EXPECT_EQ(ReleasePicturesUnusedSince(MarkPictureUse()), animBytes + 16 * 16 * 4);
    RequestPictures(record);
    for (int i = 0; i < 5000 && !UploadGatheredPictures(100.0); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(TextureMemory().pictureTextures, held - 16 * 16 * 4);
    EXPECT_EQ(PicturesDecoded(), start + 4);
    Cls();
    drawAnim();
    expectAnim(Frame());
    EXPECT_EQ(PicturesDecoded(), start + 4);

    // Gathered: left out of the drawing, decoded by the worker, uploaded; then drawn as ever.
    Cls();
    GatherPictures(true);
    DrawImage(quads, 100, 100);
    GatherPictures(false);
    EXPECT_TRUE(Near(At(Frame(), 102, 102), kBackground));
    EXPECT_TRUE(FinishGatheredPictures());
    EXPECT_EQ(PicturesDecoded(), start + 5);
    DrawImage(quads, 100, 100);
    EXPECT_TRUE(Near(At(Frame(), 102, 102), {255, 0, 0}));
    EXPECT_EQ(PicturesDecoded(), start + 5);
}

// A large picture gathered ahead goes through the storage touched ahead within the budget (a
// budget of nothing touches a step of it a call) and is uploaded whole, each half its colour.
TEST_F(GraphicsTest, ALargeGatheredPictureIsUploadedWholeAfterItsStorageIsTouchedAhead) {
    testsupport::TempDir dir;
    auto halves = CreatePixmap(1024, 512);  // 2 MB of texels: left red, right blue
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 1024; ++x) halves->WritePixel(x, y, x < 512 ? int(0xFFFF0000) : int(0xFF0000FF));
    ASSERT_TRUE(SavePixmapPNG(halves, dir.file("halves.png")));
    auto picture = LoadImage(dir.file("halves.png"), 0);
    ASSERT_TRUE(picture);
    const int64_t held = TextureMemory().pictureTextures;
    GatherPictures(true);
    DrawImage(picture, 0, 0);
    GatherPictures(false);
    for (int i = 0; i < 5000 && !UploadGatheredPictures(0.0); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(TextureMemory().pictureTextures, held + 1024 * 512 * 4);
    Cls();
    DrawImage(picture, 0, 0);
    const TPixmapPtr frame = Frame();
    EXPECT_TRUE(Near(At(frame, 10, 10), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 500, 500), {255, 0, 0}));
    EXPECT_TRUE(Near(At(frame, 520, 10), {0, 0, 255}));
    EXPECT_TRUE(Near(At(frame, 1020, 500), {0, 0, 255}));
}

TEST_F(GraphicsTest, GraphicsRefusesBadSizesAndKeepsWhatIsOpen) {
    EXPECT_FALSE(Graphics(0, 600, 0, 60, 0));
    SetGraphicsRefusal([](int, int, int depth) { return depth != 0; });
    EXPECT_FALSE(Graphics(1920, 1080, 32, 60, 0));
    SetGraphicsRefusal(nullptr);
    EXPECT_TRUE(GraphicsOpen());
    EXPECT_EQ(GraphicsWidth(), 1366);
    EXPECT_EQ(GraphicsDepth(), 0);
}

TEST_F(GraphicsTest, EmulatedFullScreenHasTheDesktopSize) {
    SetDesktopSizeOverride(1920, 1080);
    EXPECT_EQ(SystemDesktopWidth(), 1920);
    EXPECT_EQ(SystemDesktopHeight(), 1080);
    ASSERT_TRUE(Graphics(1920, 1080, 32, 60, 0));
    EXPECT_EQ(GraphicsDepth(), 32);
    SetClsColor(255, 0, 0);
    Cls();
    auto frame = Frame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 1920);
    EXPECT_TRUE(Near(At(frame, 1919, 1079), {255, 0, 0}));
    SetDesktopSizeOverride(0, 0);
}

TEST_F(GraphicsTest, FlipAdvancesTheFixedClockOneStepPerFrame) {
    SetFixedClock(true);
    int32_t start = MilliSecs();
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(MilliSecs() - start, 1000);
    SetFixedClock(false);
}

}  // namespace
