// The frame cache's pictures: frames drawn only where they changed (the headless window keeps
// its frame), and frames drawn over the copy of the window, each the frame drawn in full within
// 1 of 255 a channel (drivers differ in the last bit of filtered pictures drawn in parts), and
// that within 1 of 255 of the frame drawn quad by quad; through still and moving pictures, a
// picture changed between frames, shapes more and fewer, a clear and a line within a frame, a
// glyph atlas that grows, a change of the window's size, many differing spots, and a copy of the
// window that fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/DrawScene.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

enum class Path { Full, Copy, Damage, Kept, Direct };
const char* Name(Path p) {
    switch (p) {
        case Path::Full: return "drawn in full";
        case Path::Copy: return "over the copy";
        case Path::Damage: return "only where changed";
        case Path::Kept: return "only where changed, in the kept frame";
        default: return "quad by quad";
    }
}

// The largest difference of a colour channel between two pictures of one size (256: sizes differ).
int MostApart(const TPixmapPtr& a, const TPixmapPtr& b) {
    if (!a || !b || a->width != b->width || a->height != b->height) return 256;
    int most = 0;
    for (int y = 0; y < a->height; ++y)
        for (int x = 0; x < a->width; ++x) {
            const testsupport::Rgb p = testsupport::RgbAt(a, x, y), q = testsupport::RgbAt(b, x, y);
            most = std::max({most, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
        }
    return most;
}

class FrameCacheTest : public ::testing::Test {
protected:
    static constexpr int kW = 640, kH = 400;
    void SetUp() override { Open(kW, kH); }
    void TearDown() override {
        Use(Path::Damage);
        SetFrameCacheCopyLimit(0);
        SetFontAtlasLimit(0);
        ResetFonts();
        ResetDrawState();
    }
    static void Open(int w, int h) {
        ASSERT_TRUE(Graphics(w, h, 0, 60, 0)) << GraphicsError();
        SetVirtualResolution(float(w), float(h));
        ResetDrawState();
    }
    static void Use(Path p) {
        SetDirectDrawing(p == Path::Direct);
        SetFrameCache(p == Path::Copy || p == Path::Damage || p == Path::Kept);
        SetDamageDrawing(p == Path::Damage || p == Path::Kept);
        SetFramePath(p == Path::Kept ? FramePath::KeptTexture : FramePath::Auto);
    }
    static std::string FontFile() { return testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"; }

    // Draws frames 0 .. frames-1 of the scene on the path (from a new window, so every path
    // starts alike), each read back before it is shown; `check` sees each frame and the quads it
    // drew.
    void Run(Path path, int frames, const std::function<void(int)>& scene,
             const std::function<void(int, const TPixmapPtr&, int)>& check) {
        Open(kW, kH);
        Use(path);
        Flip(0);
        for (int f = 0; f < frames; ++f) {
            scene(f);
            auto frame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
            const int quads = CurrentDrawStats().quads;
            Flip(0);
            check(f, frame, quads);
        }
    }
    // The scene drawn in full, then on each of the other paths: every frame within 1 of 255 of
    // the one drawn in full. The frames drawn in full, and the quads each took.
    // What the cache did on each path is added to `did`.
    std::vector<int> Compare(int frames, const std::function<void(int)>& scene, std::vector<Path> paths,
                             std::vector<std::vector<int>>* quads = nullptr,
                             std::vector<FrameCacheStats>* did = nullptr) {
        std::vector<TPixmapPtr> full;
        std::vector<int> fullQuads;
        Run(Path::Full, frames, scene, [&](int, const TPixmapPtr& frame, int n) {
            full.push_back(frame);
            fullQuads.push_back(n);
        });
        for (Path p : paths) {
            SCOPED_TRACE(Name(p));
            std::vector<int> drawn;
            const FrameCacheStats before = CurrentFrameCacheStats();
            Run(p, frames, scene, [&](int f, const TPixmapPtr& frame, int n) {
                EXPECT_LE(MostApart(frame, full[f]), 1) << "frame " << f;
                drawn.push_back(n);
            });
            const FrameCacheStats after = CurrentFrameCacheStats();
            if (quads) quads->push_back(drawn);
            if (did)
                did->push_back({after.frames - before.frames, after.damaged - before.damaged,
                                after.fromCopy - before.fromCopy, after.copies - before.copies,
                                after.redrawn - before.redrawn, after.bytes});
        }
        return fullQuads;
    }
};

// A still background and board, a glow that pulses and a tile that moves inside the board, a
// tile gone every third frame, particles coming and going after it, an animation's pictures, a
// picture changed between frames, text whose glyph atlas grows (a new letter every frame in a
// small atlas), a clear and a line within a frame, and the window made smaller for the last
// frames.
TEST_F(FrameCacheTest, EveryFrameIsTheFrameDrawnInFull) {
    auto back = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto spot = LoadImage(drawscene::SoftSpot(255, 200, 60), FILTEREDIMAGE);
    auto tile = LoadImage(drawscene::SoftSpot(80, 160, 255), FILTEREDIMAGE | MIPMAPPEDIMAGE);
    auto changing = LoadImage(drawscene::OpaqueRamp(), 0);
    auto other = LoadImage(drawscene::SoftSpot(200, 80, 120), FILTEREDIMAGE);
    SetFontAtlasLimit(128);
    TImageFontPtr font;
    constexpr int kFrames = 40, kSmaller = 34;
    auto scene = [&](int f) {
        if (f == 0) font = LoadImageFont(FontFile(), 30, SMOOTHFONT);  // its atlas grows anew on every path
        if (f == 0 || f == 20) {  // the board's corner picture: as made, then changed
            TPixmapPtr pixels = LockImage(changing);
            pixels->pixels = drawscene::OpaqueRamp()->pixels;
            if (f == 20) pixels->WritePixel(5, 5, int(0xFFFFFFFFu));
            UnlockImage(changing);
        }
        if (f == kSmaller) Open(kW - 80, kH - 40);
        ResetDrawState();
        SetClsColor(30, 20, 40);
        Cls();
        SetBlend(SOLIDBLEND);
        DrawImageRect(back, 0, 0, float(GraphicsWidth()), float(GraphicsHeight()));  // covers the clear
        SetBlend(ALPHABLEND);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool moving = f >= 12 && x == 3 && y == 4;
                if (x == 7 && y == 6 && f % 3 == 0) continue;  // one gone for a frame: a quad fewer in the middle
                DrawImageRect(tile, 100.0f + x * 40 + (moving ? f % 5 : 0), 60.0f + y * 40, 37, 37);
            }
        DrawImage(f % 2 ? spot : other, 500, 340);  // an animation's frames, each a picture of its own
        SetViewport(560, 40, 60, 60);
        DrawImageRect(spot, 540, 30, 100, 100);
        SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
        SetBlend(LIGHTBLEND);
        SetAlpha(0.3f + 0.05f * float(f % 8));  // the pulse
        DrawImage(spot, 300, 200);
        SetAlpha(1.0f);
        SetBlend(ALPHABLEND);
        DrawImage(changing, 30, 30);
        SetImageFont(font);
        static const std::string kLetters = "abcdefghijklmnopqrstuvwxyz0123456789!?#%";
        DrawText("Level " + kLetters.substr(0, size_t(f) + 1), 20, 360);  // a letter more a frame
        if (f == 25) DrawLine(0, 300, 640, 300);
        if (f == 27) {
            SetViewport(40, 40, 100, 100);
            Cls();  // a clear within the frame
            SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
        }
        // Particles after the board: more of them every frame.
        for (int i = 0; i < 5 + f % 7; ++i) DrawImage(spot, 40.0f + float(i * 37 + f * 11), 330.0f);
    };
    std::vector<std::vector<int>> quads;
    std::vector<FrameCacheStats> did;
    const std::vector<int> full = Compare(kFrames, scene, {Path::Copy, Path::Damage, Path::Kept}, &quads, &did);
    // Once the beginning has been alike for a while, the board is not drawn again over the copy.
    for (int f = 8; f < kSmaller; ++f)
        if (f != 20 && f != 25 && f != 27 && f != 28) {
            EXPECT_LT(quads[0][f], full[f] - 60) << "frame " << f;
        }
    EXPECT_GT(did[0].fromCopy, kFrames / 2);
    // Where only what changed is drawn, most frames are drawn in part.
    for (int k : {1, 2}) {
        EXPECT_GT(did[k].damaged, kFrames / 2) << Name(k == 1 ? Path::Damage : Path::Kept);
        EXPECT_LT(did[k].redrawn, 0.8 * kFrames) << Name(k == 1 ? Path::Damage : Path::Kept);
    }
    // Drawn in full, the frames are the ones drawn quad by quad.
    std::vector<TPixmapPtr> direct;
    Run(Path::Direct, kFrames, scene, [&](int, const TPixmapPtr& frame, int) { direct.push_back(frame); });
    Run(Path::Full, kFrames, scene,
        [&](int f, const TPixmapPtr& frame, int) { EXPECT_LE(MostApart(frame, direct[f]), 1) << "frame " << f; });
}

// Drawn in full, a background under a board of opaque tiles is left out where the tiles paint
// over it: the frame is, to the bit, the one drawn quad by quad. Tiles of a fraction of a pixel
// between whole pixels, a shade and a line mixed over the board before its tiles, a tile gone,
// tiles mixed (they hide nothing), and a board cut by a scissor.
TEST_F(FrameCacheTest, ABackgroundUnderOpaqueTilesIsTheFrameDrawnQuadByQuad) {
    auto back = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto tile = LoadImage(drawscene::OpaqueRamp(), 0);
    struct Case {
        const char* name;
        float tileAlpha;
        bool gap, cut, hides;
    };
    const Case cases[] = {
        {"opaque tiles", 1.0f, false, false, true},
        {"a tile gone", 1.0f, true, false, true},
        {"tiles under a scissor", 1.0f, false, true, true},
        {"mixed tiles", 0.9f, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto scene = [&](int) {
            ResetDrawState();
            SetBlend(SOLIDBLEND);
            DrawImageRect(back, 0, 0, float(GraphicsWidth()), float(GraphicsHeight()));
            SetBlend(ALPHABLEND);
            SetColor(0, 0, 0);
            SetAlpha(0.5f);
            DrawRect(60.3f, 50.7f, 300, 200);  // the clues' shade, over the board too
            DrawLine(200, 40, 200, 330);
            SetColor(255, 255, 255);
            SetAlpha(c.tileAlpha);
            if (c.cut) SetViewport(150, 90, 301, 171);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 15; ++x)
                    if (!c.gap || x != 7 || y != 4)
                        DrawImageRect(tile, 120.25f + x * 23.5f, 70.6f + y * 24.25f, 23.5f, 24.25f);
            SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
        };
        std::vector<TPixmapPtr> direct;
        Run(Path::Direct, 2, scene, [&](int, const TPixmapPtr& frame, int) { direct.push_back(frame); });
        const FrameCacheStats before = CurrentFrameCacheStats();
        Run(Path::Full, 2, scene,
            [&](int f, const TPixmapPtr& frame, int) { EXPECT_EQ(MostApart(frame, direct[f]), 0) << "frame " << f; });
        EXPECT_EQ(CurrentFrameCacheStats().hidden > before.hidden, c.hides);
    }
}

// Kept in a texture of its own, the frame reaches the window whole at each Flip: the window's
// own buffer (read once the kept frame is let go) shows the last frame, also after the window
// changed its size.
TEST_F(FrameCacheTest, TheKeptFrameIsWhatTheWindowShows) {
    auto back = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto spot = LoadImage(drawscene::SoftSpot(255, 200, 60), FILTEREDIMAGE);
    for (int width : {kW, kW - 100}) {
        SCOPED_TRACE(width);
        Open(width, kH);
        Use(Path::Kept);
        ASSERT_EQ(CurrentFramePathStats().path, FramePath::KeptTexture);
        TPixmapPtr last;
        const FramePathStats before = CurrentFramePathStats();
        for (int f = 0; f < 12; ++f) {
            if (width != kW && f == 6) Open(width, kH - 50);  // the window changes its size
            ResetDrawState();
            Cls();
            SetBlend(SOLIDBLEND);
            DrawImageRect(back, 0, 0, float(GraphicsWidth()), float(GraphicsHeight()));
            SetBlend(ALPHABLEND);
            DrawImage(spot, float(100 + (f < 9 ? f * 3 : 0)), 120);  // still for the last frames
            last = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
            Flip(0);
        }
        const FramePathStats after = CurrentFramePathStats();
        SetFramePath(FramePath::Auto);
        EXPECT_EQ(MostApart(GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()), last), 0);
        EXPECT_EQ(after.frames - before.frames, 12);
    }
}

// Spots that change every frame under a layer that covers the window (the copy holds both):
// each spot is drawn again over the copy, as one rectangle of its own up to sixteen, joined with
// its neighbours past that.
TEST_F(FrameCacheTest, ManyDifferingSpotsAreDrawnAgainOverTheCopy) {
    auto back = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto veil = LoadImage(drawscene::SoftSpot(255, 255, 255), FILTEREDIMAGE);
    for (int spots : {16, 17}) {
        SCOPED_TRACE(std::to_string(spots) + " spots");
        auto scene = [&](int f) {
            ResetDrawState();
            SetClsColor(0, 0, 0);
            Cls();
            SetBlend(SOLIDBLEND);
            DrawImageRect(back, 0, 0, kW, kH);
            SetBlend(ALPHABLEND);
            for (int i = 0; i < spots; ++i) {
                SetColor(255, (f * 40 + i * 9) % 256, 100);
                DrawRect(float(20 + (i % 6) * 100), float(20 + (i / 6) * 120), 12, 12);
            }
            SetColor(255, 255, 255);
            SetAlpha(0.5f);
            DrawImageRect(veil, 0, 0, kW, kH);
            SetAlpha(1.0f);
            DrawRect(float(f * 7), 380, 10, 10);  // what comes after the copied span
        };
        const FrameCacheStats before = CurrentFrameCacheStats();
        Compare(24, scene, {Path::Copy});
        const FrameCacheStats after = CurrentFrameCacheStats();
        EXPECT_GE(after.fromCopy - before.fromCopy, 8);
    }
}

// A window larger than the textures the GL can make (emulated by a lower limit) cannot be
// copied: the cache says so once, and every frame is drawn in full, as it should look.
TEST_F(FrameCacheTest, AFailedCopyIsSaidOnceAndFramesAreDrawnInFull) {
    auto back = LoadImage(drawscene::OpaqueRamp(), FILTEREDIMAGE);
    auto spot = LoadImage(drawscene::SoftSpot(255, 200, 60), FILTEREDIMAGE);
    auto scene = [&](int f) {
        ResetDrawState();
        Cls();
        SetBlend(SOLIDBLEND);
        DrawImageRect(back, 0, 0, kW, kH);
        SetBlend(ALPHABLEND);
        for (int i = 0; i < 40; ++i) DrawImageRect(spot, float(i % 8) * 70, float(i / 8) * 70, 60, 60);
        DrawImage(spot, float(f * 9), 350);
    };
    SetFrameCacheCopyLimit(256);
    testing::internal::CaptureStdout();
    const FrameCacheStats before = CurrentFrameCacheStats();
    Compare(30, scene, {Path::Copy});
    const FrameCacheStats after = CurrentFrameCacheStats();
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(after.copies, before.copies);
    EXPECT_EQ(after.fromCopy, before.fromCopy);
    const size_t at = said.find("WARNING");
    ASSERT_NE(at, std::string::npos) << said;
    EXPECT_NE(said.find("640 x 400", at), std::string::npos) << said;
    EXPECT_EQ(said.find("WARNING", at + 1), std::string::npos) << "said more than once: " << said;
    // Within the limit, the window is copied.
    SetFrameCacheCopyLimit(0);
    Compare(30, scene, {Path::Copy});
    EXPECT_GT(CurrentFrameCacheStats().copies, after.copies);
}

}  // namespace
