// Effects drawn into a real headless frame with the shipped particle images, and read back.
#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "engine/media/ImgTex.h"
#include "engine/system/Paths.h"
#include "platform/Graphics.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Rgb;
using testsupport::RgbAt;

class DrawTest : public effectstest::EffectsFixture {
protected:
    std::string savedDir;
    void SetUp() override {
        EffectsFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenWindowAtLeast(400, 300));
        ResetDrawState();
        SetClsColor(0, 0, 0);
        Cls();
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        TImgTex::ResetRegistry();
        SetupParticles(ParticlesListPath());
        ASSERT_EQ(TEngParticle::standardImg.size(), 14u);
    }
    void TearDown() override {
        ResetDrawState();
        bDir = savedDir;
        TImgTex::ResetRegistry();
        EffectsFixture::TearDown();
    }
};

TEST_F(DrawTest, ARayBurstLandsOnItsFourRaysInItsHalfWayColours) {
    auto pack = CreateEngParticlePackage(100);
    SetNow(1000);
    // Four rays (right, down, left, up) flying out to 100 pixels, white turning orange.
    CreateBoom6(200, 150, 100, 0, 1000, 90, 255, 255, 255, 1, pack);
    SetNow(1500);  // half way: at 50 pixels, alpha 0.5, colour half way to about (250, 150, 50)
    DrawEngPackage(pack);
    EXPECT_EQ(pack->Counter, 4);
    auto frame = GrabPixmap(0, 0, 400, 300);
    ASSERT_TRUE(frame);

    for (auto [x, y] : {std::pair{250, 150}, {200, 200}, {150, 150}, {200, 100}}) {
        const Rgb c = RgbAt(frame, x, y);
        EXPECT_GT(c.r, 90) << x << "," << y;
        EXPECT_LT(c.r, 160) << x << "," << y;
        // Added light in the colour (about 250, 202, 152) at alpha 0.5.
        EXPECT_NEAR(c.g, c.r * 202 / 250, 12) << x << "," << y;
        EXPECT_NEAR(c.b, c.r * 152 / 250, 12) << x << "," << y;
    }
    // Between the rays and beyond their reach the frame stays black.
    for (auto [x, y] : {std::pair{250, 200}, {150, 100}, {330, 150}, {200, 290}})
        EXPECT_EQ(RgbAt(frame, x, y), (Rgb{0, 0, 0})) << x << "," << y;
}

TEST_F(DrawTest, ThePackageOffsetAndAlphaApplyToEveryParticle) {
    auto pack = CreateEngParticlePackage(10);
    SetNow(1000);
    // A still spot glow (image 12) at (100, 100), white, alpha 1 throughout.
    CreateStandardParticle(0, 12, 100, 100, 100, 100, 100, 100, 0, 0, 255, 255, 255, 255, 255, 255, 1, 1, 1, 1, 1, 1, 0,
                           0, EngLightBlend, 0, 1000, pack, 0, nullptr, 0, 0, 0, 0, 0, 0);
    pack->Ax = 150;
    pack->Ay = 40;
    pack->PackageAlpha = 0.5f;
    SetNow(1100);
    DrawEngPackage(pack);
    auto frame = GrabPixmap(0, 0, 400, 300);
    ASSERT_TRUE(frame);
    EXPECT_EQ(RgbAt(frame, 100, 100), (Rgb{0, 0, 0}));
    const Rgb c = RgbAt(frame, 250, 140);
    EXPECT_NEAR(c.r, 128, 10);
    EXPECT_EQ(c.r, c.g);
    EXPECT_EQ(c.g, c.b);
}

}  // namespace
