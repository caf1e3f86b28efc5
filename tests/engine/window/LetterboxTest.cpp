// The letterbox: its numbers for each window and fit mode, the mouse mapping, logical
// viewports, and where logical drawing lands in real headless frames.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/window/Letterbox.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"

namespace {

struct Screen {
    int w, h;
    bool full;
};

void Open(const Screen& s) {
    SetDesktopSizeOverride(s.full ? s.w : 0, s.full ? s.h : 0);
    ASSERT_TRUE(Graphics(s.w, s.h, s.full ? 32 : 0, 60, 0)) << GraphicsError();
}

class AspectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAspect();
        ResetInput();
        ResetDrawState();
    }
    void TearDown() override {
        ResetAspect();
        ResetInput();
        ResetDrawState();
        SetDesktopSizeOverride(0, 0);
    }
};

TEST_F(AspectTest, FitNumbersForEachScreenAndMode) {
    const struct {
        Screen screen;
        int mode;
        float vw, vh, offX, offY;
        int viewport[4];
    } cases[] = {
        {{1024, 768, false}, 3, 1024, 768, 0, 0, {0, 0, 1024, 768}},
        {{1366, 768, false}, 2, 1366, 768, 171, 0, {0, 0, 1366, 768}},
        {{1920, 1080, true}, 2, 1365.3334f, 768, 170.66667f, 0, {0, 0, 1366, 768}},
        {{1920, 1080, true}, 6, 1920, 1080, 448, 156, {0, 0, 1920, 1080}},
        {{1920, 1080, true}, 0, 1024, 768, 0, 0, {0, 0, 1024, 768}},
        {{800, 600, false}, 4, 800, 600, -112, -84, {0, 0, 800, 600}},
        {{800, 600, false}, 5, 800, 600, -112, -84, {-112, -84, 1024, 768}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.screen.w << "x" << c.screen.h << " mode " << c.mode);
        Open(c.screen);
        SetAspectResolution(1024, 768, c.mode);
        EXPECT_EQ(AspectMode, c.mode);
        EXPECT_FLOAT_EQ(AspectResolutionWidth(), 1024);
        EXPECT_FLOAT_EQ(VirtualResolutionWidth(), c.vw);
        EXPECT_FLOAT_EQ(VirtualResolutionHeight(), c.vh);
        EXPECT_FLOAT_EQ(AspectOffsetX, c.offX);
        EXPECT_FLOAT_EQ(AspectOffsetY, c.offY);
        int v[4];
        GetViewport(v[0], v[1], v[2], v[3]);
        EXPECT_EQ(std::vector<int>(v, v + 4), std::vector<int>(c.viewport, c.viewport + 4));
        float ox, oy;
        GetOrigin(ox, oy);
        EXPECT_FLOAT_EQ(ox, c.offX);
        EXPECT_FLOAT_EQ(oy, c.offY);
    }
}

TEST_F(AspectTest, ModeOneKeepsTheStoredModeAndSwitchRefits) {
    Open({1366, 768, false});
    SetAspectResolution(1024, 768, 2);
    SetAspectResolution(800, 600, 1);
    EXPECT_EQ(AspectMode, 2);
    EXPECT_FLOAT_EQ(AspectResolutionWidth(), 800);
    SwitchAspectMode(0);
    EXPECT_EQ(AspectMode, 0);
    EXPECT_FLOAT_EQ(VirtualResolutionWidth(), 800);
    EXPECT_FLOAT_EQ(AspectOffsetX, 0);
}

TEST_F(AspectTest, MouseMapsBetweenWindowPixelsAndLogicalCoordinates) {
    const struct {
        Screen screen;
        int mode;
        int windowX, windowY;
        float logicalX, logicalY;
    } cases[] = {
        {{1366, 768, false}, 2, 0, 384, -171, 384},  {{1366, 768, false}, 2, 1366, 0, 1195, 0},
        {{1920, 1080, true}, 2, 240, 0, 0, 0},       {{1920, 1080, true}, 2, 1680, 1080, 1024, 768},
        {{1920, 1080, true}, 0, 960, 540, 512, 384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.screen.w << "x" << c.screen.h << " mode " << c.mode);
        Open(c.screen);
        SetAspectResolution(1024, 768, c.mode);
        InjectMouseMove(c.windowX, c.windowY);
        EXPECT_NEAR(AspectMouseX(), c.logicalX, 0.01);
        EXPECT_NEAR(AspectMouseY(), c.logicalY, 0.01);
        // And back: the logical point returns to the same window pixel.
        MoveAspectMouse(c.logicalX, c.logicalY);
        EXPECT_EQ(MouseX(), c.windowX);
        EXPECT_EQ(MouseY(), c.windowY);
    }
}

TEST_F(AspectTest, LogicalViewportsAreCutToTheLogicalScreen) {
    const struct {
        Screen screen;
        int mode;
        int in[4];
        int set[4];   // the drawing layer's viewport
        int back[4];  // GetAspectViewport
    } cases[] = {
        {{1024, 768, false}, 3, {-50, -50, 100, 100}, {0, 0, 50, 50}, {0, 0, 50, 50}},
        {{1024, 768, false}, 3, {10, 10, -5, 20}, {10, 10, -5, 20}, {10, 10, -5, 20}},
        {{1366, 768, false}, 2, {-50, -50, 100, 100}, {171, 0, 50, 50}, {0, 0, 50, 50}},
        {{1366, 768, false}, 2, {1000, 700, 100, 100}, {1171, 700, 24, 68}, {1000, 700, 24, 68}},
    };
    for (const auto& c : cases) {
        Open(c.screen);
        SetAspectResolution(1024, 768, c.mode);
        SetAspectViewport(c.in[0], c.in[1], c.in[2], c.in[3]);
        int v[4], b[4];
        GetViewport(v[0], v[1], v[2], v[3]);
        GetAspectViewport(b[0], b[1], b[2], b[3]);
        EXPECT_EQ(std::vector<int>(v, v + 4), std::vector<int>(c.set, c.set + 4));
        EXPECT_EQ(std::vector<int>(b, b + 4), std::vector<int>(c.back, c.back + 4));
    }
    SetAspectOrigin(10, 20);
    float x, y;
    GetOrigin(x, y);
    EXPECT_FLOAT_EQ(x, 181);
    GetAspectOrigin(x, y);
    EXPECT_FLOAT_EQ(x, 10);
    EXPECT_FLOAT_EQ(y, 20);
}

TEST_F(AspectTest, LogicalRectanglesLandWhereTheLetterboxPutsThem) {
    struct Probe {
        int x, y;
        bool lit;
    };
    const struct {
        Screen screen;
        int mode;
        std::vector<Probe> probes;
    } cases[] = {
        {{1366, 768, false},
         2,
         {{171, 0, true},
          {186, 15, true},
          {170, 5, false},
          {187, 5, false},
          {1179, 752, true},
          {1194, 767, true},
          {1195, 760, false}}},
        {{1920, 1080, true},
         2,
         {{241, 1, true},
          {260, 21, true},
          {238, 5, false},
          {264, 5, false},
          {1659, 1060, true},
          {1678, 1078, true},
          {1682, 1070, false},
          {1655, 1070, false}}},
        {{1920, 1080, true},
         0,
         {{0, 0, true},
          {29, 21, true},
          {32, 5, false},
          {5, 24, false},
          {1891, 1059, true},
          {1919, 1079, true},
          {1887, 1070, false}}},
        {{1024, 768, false}, 3, {{0, 0, true}, {15, 15, true}, {16, 5, false}, {1008, 752, true}, {1007, 760, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.screen.w << "x" << c.screen.h << " mode " << c.mode);
        Open(c.screen);
        SetClsColor(0, 0, 0);
        SetAspectResolution(1024, 768, c.mode);
        AspectCls();
        SetColor(255, 255, 255);
        DrawRect(0, 0, 16, 16);
        DrawRect(1008, 752, 16, 16);
        auto frame = GrabPixmap(0, 0, c.screen.w, c.screen.h);
        ASSERT_TRUE(frame);
        for (const auto& p : c.probes)
            EXPECT_EQ(frame->ReadPixel(p.x, p.y) & 0xFFFFFF, p.lit ? 0xFFFFFF : 0) << p.x << "," << p.y;
    }
}

TEST_F(AspectTest, BordersAreClearedInTheBorderColourAndClipDrawingOnlyWithFlagOne) {
    Open({1366, 768, false});
    SetClsColor(50, 60, 70);
    SetAspectColor(0, 0, 90);
    const struct {
        int mode;
        int border;     // colour at window (5, 5), left of the logical screen
        int drawnLeft;  // colour at window (151, 105): logical x -20 where a red bar reaches
    } cases[] = {
        {3, 0x00005A, 0x00005A},  // borders in the border colour; the bar is clipped
        {2, 0x323C46, 0xFF0000},  // bands are cleared like the screen and show the bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        SetAspectResolution(1024, 768, c.mode);
        AspectCls();
        SetColor(255, 0, 0);
        DrawRect(-50, 100, 100, 20);
        auto frame = GrabPixmap(0, 0, 1366, 768);
        EXPECT_EQ(frame->ReadPixel(5, 5) & 0xFFFFFF, c.border);
        EXPECT_EQ(frame->ReadPixel(151, 105) & 0xFFFFFF, c.drawnLeft);
        EXPECT_EQ(frame->ReadPixel(181, 105) & 0xFFFFFF, 0xFF0000);
        EXPECT_EQ(frame->ReadPixel(600, 400) & 0xFFFFFF, 0x323C46);
        int r, g, b;
        GetClsColor(r, g, b);
        EXPECT_EQ(r, 50);  // the clear colour is kept
    }
}

}  // namespace
