// The partner splash screens on a real (headless) window with the fixed-step clock: which
// pictures are shown and in what order, their timing, clicks, the half-size drawing of wide
// pictures, and a close request during the splash.
#include "game/shell/Branding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/AppObj.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "support/TestSupport.h"

namespace {

class BrandingTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string savedDir;
    TBranding splash;
    // The picture shown at each frame of the loop, with its width taken then: the pictures are
    // gone once the loop has ended, so nothing is read through the pointer afterwards.
    struct Shown {
        const TImage* image;
        int width;
    };
    std::vector<Shown> shown;
    void Record() {
        const TImage* image = splash.aktImg.get();
        shown.push_back({image, image ? image->width : 0});
    }

    void SetUp() override {
        savedDir = bDir;
        bDir = dir.path() + "/";
        Control::Reset();
        ResetInput();
        ResetAppTime();
        SetFixedClock(true);
        ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
        SetAspectResolution(1024, 768, 3);
        AppExitFunction = [] {};  // AppEnd returns
        ControlHooks::Harness =
            std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [this](int32_t) { Record(); }});
    }
    void TearDown() override {
        Control::Reset();
        ResetInput();
        SetFixedClock(false);
        ResetAppTime();
        bDir = savedDir;
    }

    // A picture of one colour; its file is named ".jpg" whatever its content, as the loader tells
    // the kind from the content.
    void Picture(int n, int w, int h, int argb) {
        auto pixmap = CreatePixmap(w, h);
        pixmap->ClearPixels(argb);
        CreateDir(dir.file("Branding"));
        ASSERT_TRUE(SavePixmapPNG(pixmap, dir.file("Branding/partnerscreen-" + std::to_string(n) + ".jpg")));
    }
    // How many frames each picture was shown, in the order shown (null frames: the black end).
    std::vector<std::pair<int, int>> Runs() {
        std::vector<std::pair<int, int>> runs;  // (picture width, frames)
        const TImage* last = nullptr;
        for (const Shown& frame : shown) {
            if (!frame.image) continue;
            if (frame.image != last) runs.push_back({frame.width, 0});
            ++runs.back().second;
            last = frame.image;
        }
        return runs;
    }
};

TEST_F(BrandingTest, ShowsThePicturesThatExistInNumberOrderEachForItsTime) {
    Picture(5, 50, 10, int(0xFF0000FF));
    Picture(2, 20, 10, int(0xFFFF0000));
    testsupport::WriteFileBytes(dir.file("Branding/partnerscreen-3.jpg"), "no picture at all");
    testing::internal::CaptureStdout();
    splash.setup();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // missing and broken pictures: no word
    ASSERT_EQ(splash.imgList.size(), 2u);
    EXPECT_EQ(ImageHandleX(splash.imgList[0]), 10.0f);  // centred handles

    AppInitBranding();  // the global is not set: nothing at all
    EXPECT_TRUE(shown.empty());

    splash.mainLoop();
    // 20 frames of fade-in and the hold until two seconds after the picture came up (120 frames
    // of 1000/60 ms), then 20 frames of fade-out: about 141 frames each, 2 before 5.
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first, 20);
    EXPECT_EQ(runs[1].first, 50);
    for (const auto& run : runs) {
        EXPECT_GE(run.second, 139);
        EXPECT_LE(run.second, 143);
    }
    // The loop ends on the all-black frame, with nothing left to show.
    EXPECT_EQ(splash.fade, 1.0f);
    EXPECT_FALSE(splash.aktImg);
    EXPECT_EQ(shown.size(), size_t(runs[0].second + runs[1].second));
}

TEST_F(BrandingTest, AClickAfterHalfASecondStartsTheFadeOut) {
    Picture(1, 20, 10, int(0xFFFF0000));
    splash.setup();
    const struct {
        std::vector<int> clicks;  // frames (from 0) at which the left button is hit
        int minFrames, maxFrames;
    } cases[] = {
        {{18}, 139, 143},    // 300 ms in: used up and ignored
        {{36}, 55, 58},      // 600 ms in: fades out at once (20 frames)
        {{36, 45}, 55, 58},  // a click during the fade-out changes nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicks[0]);
        shown.clear();
        splash.setup();
        int frame = 0;
        ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [&](int32_t) {
            Record();
            for (int at : c.clicks)
                if (frame == at) {
                    InjectMouseButton(1, true);
                    InjectMouseButton(1, false);
                }
            ++frame;
        }});
        splash.mainLoop();
        const auto runs = Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_GE(runs[0].second, c.minFrames);
        EXPECT_LE(runs[0].second, c.maxFrames);
    }
}

TEST_F(BrandingTest, WidePicturesAreDrawnAtHalfSize) {
    // 1024 x 400 at full size covers rows 184 to 583; 2048 x 400 at half size rows 284 to 483.
    const struct {
        int width;
        bool row250;
    } cases[] = {{1024, true}, {2048, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        Picture(1, c.width, 400, int(0xFF00FF00));
        splash.setup();
        splash.getNextImg();
        splash.fade = 0.0f;
        SetClsColor(0, 0, 0);
        Cls();
        splash.draw();
        auto grab = GrabPixmap(0, 0, 1024, 768);
        ASSERT_TRUE(grab);
        EXPECT_EQ(grab->ReadPixel(512, 384) & 0xFFFFFF, 0x00FF00);
        EXPECT_EQ((grab->ReadPixel(512, 250) & 0xFFFFFF) == 0x00FF00, c.row250);
        EXPECT_EQ(grab->ReadPixel(512, 700) & 0xFFFFFF, 0x000000);
    }
}

TEST_F(BrandingTest, NoPictureMeansNoFrame) {
    splash.setup();
    EXPECT_EQ(splash.prepare(), 1);
    splash.mainLoop();
    EXPECT_TRUE(shown.empty());
}

class CountingSaver : public TAppObj {
public:
    int saves = 0;
    int SaveAtEnd() override { return ++saves; }
};

TEST_F(BrandingTest, ACloseRequestEndsTheProgramAtOnceTheNormalWay) {
    Picture(1, 20, 10, int(0xFFFF0000));
    Picture(2, 20, 10, int(0xFF0000FF));
    splash.setup();
    auto saver = std::make_shared<CountingSaver>();
    Control::AddToSaveList(saver);
    int frame = 0;
    ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [&](int32_t) {
        if (++frame == 10) InjectQuit();
    }});
    splash.mainLoop();
    EXPECT_EQ(frame, 10);  // no further frame after the request
    EXPECT_TRUE(Control::isEnded);
    EXPECT_EQ(saver->saves, 1);
    EXPECT_EQ(splash.imgList.size(), 1u);  // the second picture never came
}

}  // namespace
