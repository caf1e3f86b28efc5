#include "engine/basics/AppTime.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"

namespace {

int32_t g_now = 0;
int32_t TestClock() { return g_now; }

class AppTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppTime();
        g_now = 0;
        SetClockSource(&TestClock);
    }
    void TearDown() override {
        ResetClock();
        ResetAppTime();
    }
};

TEST_F(AppTimeTest, AppClockOnlyMovesForwardAndHoldsWithinAFrame) {
    // Platform readings frame by frame, with the clock value and last step expected after each.
    const struct {
        int32_t reading, total, step;
    } frames[] = {
        {0, 0, 0},  // a first reading of 0 is a real reading, not "no reading yet"
        {5, 5, 5},
        {1010, 1010, 1005},
        {990, 1030, 20},  // backwards: the distance still counts forwards
        {995, 1035, 5},
        {995, 1035, 0},
        {INT32_MAX - 5, 0, 0},  // checked below: a wrap of the platform counter is a small step
    };
    for (size_t i = 0; i + 1 < std::size(frames); ++i) {
        g_now = frames[i].reading;
        UpdateAppMillisecs();
        EXPECT_EQ(AppMilliSecs(), frames[i].total) << "frame " << i;
        EXPECT_EQ(GetAppLoopAdd(), frames[i].step) << "frame " << i;
        g_now += 500;  // time passes inside the frame: the frame's value does not change
        EXPECT_EQ(AppMilliSecs(), frames[i].total);
        g_now -= 500;
    }
    g_now = INT32_MAX - 5;
    UpdateAppMillisecs();
    int before = AppMilliSecs();
    g_now = INT32_MIN + 4;
    UpdateAppMillisecs();
    EXPECT_EQ(GetAppLoopAdd(), 10);
    EXPECT_EQ(AppMilliSecs(), before + 10);
}

TEST_F(AppTimeTest, DeltaIsTheFrameAgainstTheTargetLength) {
    const struct {
        float fps;
        int32_t frameMs;
        float expected;
    } cases[] = {
        {60.0f, 50, 3.0f},  {30.0f, 100, 3.0f},
        {30.0f, 0, 0.0f},   {60.0f, 250, 15.0f},  // long but not a stall: unclamped
        {60.0f, 251, 1.0f},                       // a stall counts as one target frame
        {60.0f, -40, 0.0f},                       // the clock went back: nothing happened
    };
    for (const auto& c : cases) {
        ResetAppTime();
        g_now = 10000;
        deltaTime = TDeltaTime::Create(60.0f);
        deltaTime->SetFPS(c.fps);
        UpdateDelta();
        g_now += c.frameMs;
        UpdateDelta();
        EXPECT_FLOAT_EQ(delta, c.expected) << c.fps << " fps, " << c.frameMs << " ms";
    }
    // A timer without a target rate gives 0, never infinity.
    auto bare = TDeltaTime::Create(0.0f);
    bare->Update();
    EXPECT_EQ(bare->CurrDelta(), 0.0f);
}

TEST_F(AppTimeTest, StartUpAndPausesDoNotShowAsOneHugeFrame) {
    g_now = 123456;  // the program has been running a long time before the first frame
    UpdateDelta();   // makes the 60 fps timer itself
    EXPECT_FLOAT_EQ(delta, 1.0f);
    g_now += 20;
    UpdateDelta();
    EXPECT_FLOAT_EQ(delta, 1.2f);
    g_now += 30000;  // a pause in the background
    UpdateDelta();
    EXPECT_FLOAT_EQ(delta, 1.0f);
    g_now += 10;
    UpdateDelta();
    EXPECT_FLOAT_EQ(delta, 0.6f);
}

TEST_F(AppTimeTest, ResetDeltaGivesNearZeroAndTheNextFrameMeasuresFromIt) {
    g_now = 1000;
    UpdateDelta();
    g_now += 200;  // a blocking load just under the stall bound
    ResetDelta();
    EXPECT_EQ(delta, 0.0f);
    g_now += 16;
    UpdateDelta();
    EXPECT_FLOAT_EQ(delta, 16.0f / (1000.0f / 60.0f));
}

TEST_F(AppTimeTest, FixedClockGivesExactlyOneEveryFrame) {
    SetClockSource(nullptr);
    const struct {
        float fps;
        double stepMs;
    } cases[] = {{60.0f, 1000.0 / 60.0}, {30.0f, 1000.0 / 30.0}, {144.0f, 1000.0 / 144.0}};
    for (const auto& c : cases) {
        ResetAppTime();
        SetFixedClock(true, c.stepMs);
        deltaTime = TDeltaTime::Create(c.fps);
        for (int frame = 0; frame < 20000; ++frame) {
            UpdateDelta();
            UpdateAppMillisecs();
            ASSERT_EQ(delta, 1.0f) << c.fps << " fps, frame " << frame;
            AdvanceFixedClock();
        }
        EXPECT_EQ(MilliSecs(), static_cast<int32_t>(20000 * c.stepMs + 1e-7));
    }
    // 60 steps of 1000/60 make exactly one second on both clocks.
    ResetAppTime();
    SetFixedClock(true);
    UpdateAppMillisecs();
    for (int i = 0; i < 60; ++i) AdvanceFixedClock();
    UpdateAppMillisecs();
    EXPECT_EQ(MilliSecs(), 1000);
    EXPECT_EQ(AppMilliSecs(), 1000);
    EXPECT_DOUBLE_EQ(MilliSecsExact(), 1000.0);
}

TEST_F(AppTimeTest, CountsFramesPerSecondInClosedWindows) {
    SetClockSource(nullptr);
    SetFixedClock(true);
    deltaTime = TDeltaTime::Create(60.0f);
    for (int frame = 0; frame < 150; ++frame) {
        AdvanceFixedClock();
        UpdateDelta();
        if (frame < 59) {
            EXPECT_EQ(GetAppFPS(), 0) << "frame " << frame;
        }
    }
    EXPECT_GE(GetAppFPS(), 59);
    EXPECT_LE(GetAppFPS(), 60);
}

TEST_F(AppTimeTest, TimersStayListedUntilDestroyed) {
    auto a = TDeltaTime::Create(60.0f);
    auto b = TDeltaTime::Create(30.0f);
    EXPECT_FLOAT_EQ(b->dDelta, 1000.0f / 30.0f);
    ASSERT_EQ(TDeltaTime::DeltaTList.size(), 2u);
    a->Destroy();
    ASSERT_EQ(TDeltaTime::DeltaTList.size(), 1u);
    EXPECT_EQ(TDeltaTime::DeltaTList.front(), b);
}

}  // namespace
