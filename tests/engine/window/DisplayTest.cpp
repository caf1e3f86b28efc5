// Opening the display from the two settings: the four modes, the record of what is open, the
// fall-back from a refused full screen, the retry sizes of a refused window, and switching.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/window/Letterbox.h"
#include "engine/window/Display.h"
#include "engine/data/Settings.h"
#include "platform/Graphics.h"

namespace {

using Attempt = std::tuple<int, int, int>;  // width, height, depth
std::vector<Attempt> gAttempts;
int gRefuseDepth = -1;                    // refuse openings of this depth (-1: none)
int gRefuseWidth = 0, gRefuseHeight = 0;  // refuse this size (0: none)
bool gRefuseAll = false;
bool gRefuseFirst = false;  // refuse the first opening asked for

bool Record(int w, int h, int depth) {
    gAttempts.emplace_back(w, h, depth);
    return gRefuseAll || depth == gRefuseDepth || (w == gRefuseWidth && h == gRefuseHeight) ||
           (gRefuseFirst && gAttempts.size() == 1);
}

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        gAttempts.clear();
        gRefuseDepth = -1;
        gRefuseWidth = gRefuseHeight = 0;
        gRefuseAll = false;
        gRefuseFirst = false;
        AppSettings::Reset();
        OpenedGraphics::Reset();
        ResetAspect();
        SetDesktopSizeOverride(1920, 1080);
        SetGraphicsRefusal(Record);
    }
    // The display opened from the settings on an (emulated) desktop, with nothing open before.
    static void OpenFromNothing(int deskW, int deskH, int fullScreen, int stretched) {
        EndGraphics();
        OpenedGraphics::Reset();
        SetDesktopSizeOverride(deskW, deskH);
        AppSettings::SetFullScreen(fullScreen);
        AppSettings::SetStretched(stretched);
        AppInitGraphics();
    }
    void TearDown() override {
        SetGraphicsRefusal(nullptr);
        SetDesktopSizeOverride(0, 0);
        AppSettings::Reset();
        OpenedGraphics::Reset();
        ResetAspect();
    }
};

TEST_F(DisplayTest, EachSettingOpensItsModeAndFillsTheRecord) {
    const struct {
        int fullScreen, stretched;
        int w, h, depth, mode, recordStretched, bands;
    } cases[] = {
        {0, 1, 1024, 768, 0, 3, 1, 0},
        {0, 0, 1366, 768, 0, 2, 0, 1},
        {1, 1, 1920, 1080, 32, 3, 1, 0},
        {1, 0, 1920, 1080, 32, 2, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "full screen " << c.fullScreen << " stretched " << c.stretched);
        EndGraphics();  // each row opens from nothing
        OpenedGraphics::Reset();
        AppSettings::SetFullScreen(c.fullScreen);
        AppSettings::SetStretched(c.stretched);
        AppInitGraphics();
        EXPECT_EQ(GraphicsWidth(), c.w);
        EXPECT_EQ(GraphicsHeight(), c.h);
        EXPECT_EQ(GraphicsDepth(), c.depth);
        EXPECT_EQ(AspectMode, c.mode);
        EXPECT_EQ(GraphicsInitialized(), 1);
        EXPECT_EQ(GetGraphicsWidth(), 1024);
        EXPECT_EQ(GetGraphicsHeight(), 768);
        EXPECT_EQ(OpenedGraphics::WindowWidth, c.w);
        EXPECT_EQ(OpenedGraphics::DeviceWidth, 1920);
        EXPECT_EQ(OpenedGraphics::FullScreen, c.fullScreen);
        EXPECT_EQ(OpenedGraphics::Stretched, c.recordStretched);
        EXPECT_EQ(OpenedGraphics::SideBordersVisible, c.bands);
        EXPECT_EQ(OpenedGraphics::isEditorAvailable(), c.fullScreen ? 0 : 1);
    }
}

// Where the 1024 x 768 picture lands on full screens of several shapes, in the screen's pixels:
// scaled evenly and centred whether or not the wide screen is on; with it off, the bars beside or
// above the picture are borders (fit mode 3: cleared in the border colour, drawing clipped).
TEST_F(DisplayTest, TheFullScreenScalesThePictureEvenlyAndCentresIt) {
    const struct {
        int deskW, deskH, stretched;
        int mode, x, y, w, h;
    } cases[] = {
        {1366, 768, 1, 3, 171, 0, 1024, 768},   {1920, 1080, 1, 3, 240, 0, 1440, 1080},
        {2560, 1080, 1, 3, 560, 0, 1440, 1080}, {1280, 1024, 1, 3, 0, 32, 1280, 960},
        {1024, 768, 1, 3, 0, 0, 1024, 768},     {800, 600, 1, 3, 0, 0, 800, 600},
        {1366, 768, 0, 2, 171, 0, 1024, 768},   {1920, 1080, 0, 2, 240, 0, 1440, 1080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "desktop " << c.deskW << "x" << c.deskH << " stretched " << c.stretched);
        OpenFromNothing(c.deskW, c.deskH, 1, c.stretched);
        ASSERT_EQ(GraphicsDepth(), 32);
        EXPECT_EQ(AspectMode, c.mode);
        const float pixels = float(GraphicsWidth()) / VirtualResolutionWidth();        // a logical pixel
        EXPECT_FLOAT_EQ(float(GraphicsHeight()) / VirtualResolutionHeight(), pixels);  // the same both ways
        EXPECT_NEAR(AspectOffsetX * pixels, c.x, 0.01);
        EXPECT_NEAR(AspectOffsetY * pixels, c.y, 0.01);
        EXPECT_NEAR(1024 * pixels, c.w, 0.01);
        EXPECT_NEAR(768 * pixels, c.h, 0.01);
        EXPECT_EQ(OpenedGraphics::Stretched, c.stretched);
    }
}

TEST_F(DisplayTest, RefusedFullScreenFallsBackToAWindowAndSaysSo) {
    EndGraphics();  // start-up: nothing open yet
    gRefuseDepth = 32;
    AppSettings::SetFullScreen(1);
    AppSettings::SetStretched(0);
    ::testing::internal::CaptureStdout();
    AppInitGraphics();
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("ERROR "), std::string::npos) << out;
    EXPECT_NE(out.find("Can't open the full screen at 1920 x 1080"), std::string::npos) << out;
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsWidth(), 1366);
    EXPECT_EQ(AspectMode, 2);
    EXPECT_EQ(OpenedGraphics::isInitialized, 1);
    EXPECT_EQ(OpenedGraphics::FullScreen, 0);
    // The setting now says what is shown, so the next switch asks for full screen again.
    EXPECT_EQ(AppSettings::GetFullScreen(), 0);
}

TEST_F(DisplayTest, RefusedWindowIsRetriedAtASizeTheDesktopHolds) {
    const struct {
        int deskW, deskH, stretched;
        int retryW, retryH;
    } cases[] = {
        {1024, 600, 0, 640, 480},
        {1280, 768, 0, 819, 614},
        {1920, 1080, 0, 1024, 768},
        {1920, 1080, 1, 819, 614},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "desktop height " << c.deskH << " stretched " << c.stretched);
        SetDesktopSizeOverride(c.deskW, c.deskH);
        gAttempts.clear();
        gRefuseFirst = true;  // the window fitted to the desktop
        ::testing::internal::CaptureStdout();
        EXPECT_TRUE(openScreenASPECT(1024, 768, 0, c.stretched));
        ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(GraphicsWidth(), c.retryW);
        EXPECT_EQ(GraphicsHeight(), c.retryH);
        EXPECT_EQ(AspectMode, 3);
        EXPECT_EQ(OpenedGraphics::Stretched, 1);
        EXPECT_EQ(OpenedGraphics::WindowWidth, c.retryW);
    }
}

// The size choice: the wanted window where it fits, else the largest of its shape that does.
TEST(WindowFitTest, TheWantedSizeWhereItFitsElseTheLargestOfItsShape) {
    const struct {
        int wantW, wantH, roomW, roomH;
        WindowSize fitted;
    } cases[] = {
        {1366, 768, 1920, 1080, {1366, 768}},
        {1366, 768, 1366, 768, {1366, 768}},
        {1366, 768, 1366, 720, {1280, 720}},  // a panel's 48 rows
        {1366, 768, 1350, 720, {1280, 720}},
        {1366, 768, 1364, 745, {1325, 745}},  // a frame of 1 + 1 by 23
        {1366, 768, 1024, 768, {1024, 575}},
        {1366, 768, 1280, 1024, {1280, 719}},
        {1366, 768, 800, 600, {800, 449}},
        {1024, 768, 1366, 720, {960, 720}},
        {1024, 768, 1024, 768, {1024, 768}},
        {1024, 768, 1008, 720, {960, 720}},
        {1024, 768, 800, 1200, {800, 600}},
        {1366, 768, 0, 0, {1366, 768}},  // unknown room
        {1366, 768, 1, 1, {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.wantW << "x" << c.wantH << " in " << c.roomW << "x" << c.roomH);
        const WindowSize got = FitWindowSize(c.wantW, c.wantH, c.roomW, c.roomH);
        EXPECT_EQ(got.width, c.fitted.width);
        EXPECT_EQ(got.height, c.fitted.height);
    }
}

// On an (emulated) desktop too small for the window, with room left for a frame the offscreen
// driver does not tell: the window of the same shape that fits, the picture in the same fit mode.
TEST_F(DisplayTest, AWindowOnASmallDesktopTakesTheLargestSizeOfItsShapeThatFits) {
    const struct {
        int deskW, deskH, stretched, w, h, mode;
    } cases[] = {
        {1920, 1080, 0, 1366, 768, 2}, {1366, 768, 0, 1280, 720, 2}, {1024, 768, 0, 1008, 566, 2},
        {1366, 768, 1, 960, 720, 3},   {1280, 800, 1, 1002, 752, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "desktop " << c.deskW << "x" << c.deskH << " stretched " << c.stretched);
        ::testing::internal::CaptureStdout();
        OpenFromNothing(c.deskW, c.deskH, 0, c.stretched);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "");
        EXPECT_EQ(GraphicsWidth(), c.w);
        EXPECT_EQ(GraphicsHeight(), c.h);
        EXPECT_EQ(AspectMode, c.mode);
        EXPECT_EQ(OpenedGraphics::WindowWidth, c.w);
        EXPECT_EQ(GetGraphicsWidth(), 1024);
        EXPECT_EQ(GetGraphicsHeight(), 768);
    }
}

TEST_F(DisplayTest, NothingOpenedIsReportedAndLeavesTheRecordEmpty) {
    EndGraphics();
    gRefuseAll = true;
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(openScreenASPECT(1024, 768, 1, 0));
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Can't open a window"), std::string::npos) << out;
    EXPECT_EQ(GraphicsInitialized(), 0);
    EXPECT_EQ(GetGraphicsWidth(), 0);
}

TEST_F(DisplayTest, SwitchingFullScreenTwiceReturnsAndStretchingInFullScreenDoesNotReopen) {
    AppSettings::SetFullScreen(0);
    AppSettings::SetStretched(0);
    AppInitGraphics();
    GraphicsSwitchFullScreen();
    EXPECT_EQ(GraphicsDepth(), 32);
    EXPECT_EQ(AppSettings::GetFullScreen(), 1);
    GraphicsSwitchFullScreen();
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsWidth(), 1366);
    EXPECT_EQ(AspectMode, 2);

    GraphicsSwitchFullScreen();
    gAttempts.clear();
    GraphicsSwitchStretched();
    EXPECT_TRUE(gAttempts.empty());
    EXPECT_EQ(AspectMode, 3);
    EXPECT_EQ(OpenedGraphics::Stretched, 1);
    GraphicsSwitchStretched();
    EXPECT_TRUE(gAttempts.empty());
    EXPECT_EQ(AspectMode, 2);
}

TEST_F(DisplayTest, ViewportHelpers) {
    AppInitGraphics();
    SetFullViewPort();
    int x, y, w, h;
    GetAppViewPort(x, y, w, h);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 5000, 5000}));
    SetAppViewPortEditor(10, 20, 30, 40);
    GetAppViewPort(x, y, w, h);
    EXPECT_EQ(x, 181);
    GetAppViewPortEditor(x, y, w, h);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({10, 20, 30, 40}));
}

}  // namespace
