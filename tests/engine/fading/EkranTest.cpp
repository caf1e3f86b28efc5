#include "engine/fading/Ekran.h"

#include <gtest/gtest.h>

#include "engine/basics/AppTime.h"

namespace {

class EkranFadeTest : public ::testing::Test {
protected:
    float savedDelta = 0;
    void SetUp() override { savedDelta = delta; }
    void TearDown() override { delta = savedDelta; }
    // Frames until fade reaches dFade = 1 from 0 at the given delta; checks it never passes 1.
    int FramesToBlack(float frameDelta) {
        TEkran e;
        e.dFade = 1.0f;
        delta = frameDelta;
        int frames = 0;
        while (e.fade != 1.0f && frames < 1000) {
            e._updateFade();
            EXPECT_LE(e.fade, 1.0f);
            ++frames;
        }
        return frames;
    }
};

TEST_F(EkranFadeTest, ValuesStopExactlyOnTheirTargets) {
    EXPECT_EQ(FramesToBlack(1.0f), 20);
    EXPECT_EQ(FramesToBlack(2.0f), 10);
    EXPECT_EQ(FramesToBlack(0.7f), 29);
}

TEST_F(EkranFadeTest, ATargetChangedMidwayReversesFromWhereTheValueStands) {
    TEkran e;
    delta = 1.0f;
    e.dp = 1.0f;
    for (int i = 0; i < 10; ++i) e._updatePer();
    EXPECT_NEAR(e.p, 0.05f, 1e-6);
    e.dp = 0.0f;
    for (int i = 0; i < 9; ++i) e._updatePer();
    EXPECT_GT(e.p, 0.0f);
    e._updatePer();
    e._updatePer();
    EXPECT_EQ(e.p, 0.0f);
    // Alpha falls by its own speed; STANDARD_DATA restores the opening values but not p.
    e.dAlpha = 0.0f;
    e._updateAlpha();
    EXPECT_FLOAT_EQ(e.alpha, 0.95f);
    e.fade = 0.5f;
    e.dp = 1.0f;
    e.STANDARD_DATA();
    EXPECT_EQ(e.alpha, 1.0f);
    EXPECT_EQ(e.dAlpha, 1.0f);
    EXPECT_EQ(e.fade, 0.0f);
    EXPECT_EQ(e.dFade, 0.0f);
    EXPECT_EQ(e.dp, 1.0f);
}

}  // namespace
