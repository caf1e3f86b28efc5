// The hammer effect: its 42 frames from data/, stepped 25 ms apart whatever the frame rate, its
// fade in and out and the end it reports.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "game/puzzle/HammerEffect.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "support/TestSupport.h"

namespace {

int gNow = 0;
int32_t Now() { return gNow; }

class HammerEffectTest : public ::testing::Test {
protected:
    std::string savedDir;

    void SetUp() override {
        if (!GraphicsOpen()) {
            ASSERT_TRUE(Graphics(640, 480, 0, 60, 0)) << GraphicsError();
        }
        SetVirtualResolution(static_cast<float>(GraphicsWidth()), static_cast<float>(GraphicsHeight()));
        ResetAppTime();
        gNow = 0;
        SetClockSource(&Now);
        UpdateAppMillisecs();
        Tick(500);
        delta = 1.0f;
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        SetupHammerEffect();
    }
    void TearDown() override {
        THammerEffect::img = {};
        bDir = savedDir;
        SetClockSource(nullptr);
        ResetAppTime();
        ResetDrawState();
    }
    static void Tick(int ms) {
        gNow += ms;
        UpdateAppMillisecs();
    }
};

TEST_F(HammerEffectTest, FortyTwoCentredFramesAreLoadedOnce) {
    std::set<TImage*> distinct;
    for (const auto& img : THammerEffect::img) {
        ASSERT_TRUE(img);
        distinct.insert(img.get());
        EXPECT_EQ(ImageHandleX(img), ImageWidth(img) / 2);
        EXPECT_EQ(ImageHandleY(img), ImageHeight(img) / 2);
    }
    EXPECT_EQ(distinct.size(), 42u);
}

TEST_F(HammerEffectTest, FramesStepTwentyFiveMillisecondsApartAndLoop) {
    // Called every `period` ms, the frame moves on at the first call at least 25 ms after the
    // last step was taken.
    struct Case {
        int period;
        int callsPerStep;
    };
    for (const Case& c : {Case{1, 26}, Case{10, 3}, Case{16, 2}, Case{17, 2}, Case{25, 2}, Case{26, 1}, Case{40, 1}}) {
        auto hammer = CreateHammerEffect(100, 100);
        hammer->Draw();
        EXPECT_EQ(hammer->Frame, 1) << "a new hammer steps at once";
        std::vector<int> stepsAt;  // calls at which the frame moved
        int last = hammer->Frame;
        for (int call = 1; call <= 42 * c.callsPerStep; ++call) {
            Tick(c.period);
            hammer->Draw();
            if (hammer->Frame != last) {
                EXPECT_EQ(hammer->Frame, (last + 1) % 42) << "one frame a step, in order";
                stepsAt.push_back(call);
                last = hammer->Frame;
            }
        }
        ASSERT_EQ(stepsAt.size(), 42u) << c.period;
        for (size_t i = 0; i < stepsAt.size(); ++i)
            EXPECT_EQ(stepsAt[i], static_cast<int>(i + 1) * c.callsPerStep) << c.period << " ms, step " << i;
        EXPECT_EQ(hammer->Frame, 1) << "round the loop, frame 0 included";
    }
}

TEST_F(HammerEffectTest, FadesInOverTwentyFramesAndReportsTheEndOfItsFadeOut) {
    auto hammer = CreateHammerEffect(50, 60);
    EXPECT_EQ(hammer->Alpha, 0.0f);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(hammer->Draw(), 0);
    EXPECT_NEAR(hammer->Alpha, 0.5f, 1e-5f);
    for (int i = 0; i < 11; ++i) hammer->Draw();
    EXPECT_EQ(hammer->Alpha, 1.0f);
    hammer->dAlpha = 0.0f;
    int calls = 0;
    while (hammer->Draw() == 0 && calls < 100) ++calls;
    EXPECT_EQ(hammer->Alpha, 0.0f);
    EXPECT_GE(calls, 18);
    EXPECT_LE(calls, 20);
    // Told to go before it was ever drawn: done on its first drawing.
    auto early = CreateHammerEffect(0, 0);
    early->dAlpha = 0.0f;
    EXPECT_EQ(early->Draw(), 1);
}

}  // namespace
