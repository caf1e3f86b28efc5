#include "engine/basics/Timers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "engine/basics/AppTime.h"
#include "platform/Random.h"

namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = delta;
        delta = 1.0f;
        ResetRnd();
    }
    void TearDown() override { delta = saved_; }

    // The results of successive calls.
    static std::vector<float> Run(const std::function<float()>& step, int n) {
        std::vector<float> out;
        for (int i = 0; i < n; ++i) out.push_back(step());
        return out;
    }

private:
    float saved_ = 0;
};

constexpr float kThird = 1.0f / 3.0f;
constexpr float kTwoThirds = kThird + kThird;

TEST_F(Timers, PulsarSwingsAndHeadsBackFromEachEnd) {
    TPulsar pulsar;
    pulsar.speed = 0.5f;
    pulsar.dp = 1.0f;
    EXPECT_EQ(Run([&] { return pulsar.Update(); }, 5), (std::vector<float>{0.5f, 1.0f, 0.5f, 0.0f, 0.5f}));

    TPulsar still;
    still.dp = 1.0f;
    EXPECT_EQ(Run([&] { return still.Update(); }, 3), (std::vector<float>{0, 0, 0}));

    // Twice the frame time, twice the distance.
    TPulsar slow;
    slow.speed = 0.25f;
    slow.dp = 1.0f;
    delta = 2.0f;
    EXPECT_EQ(slow.Update(), 0.5f);
}

TEST_F(Timers, TimePulsarSweepsInItsTime) {
    TTimePulsar pulsar;
    pulsar.Time = 50;  // three frames a sweep
    pulsar.dp = 1.0f;
    const auto got = Run([&] { return pulsar.Update(); }, 7);
    const std::vector<float> want{kThird, kTwoThirds, 1.0f, kTwoThirds, kThird, 0.0f, kThird};
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-6f) << i;
}

TEST_F(Timers, AdvancedPulsarRunsItsFourPhases) {
    struct Case {
        std::array<int32_t, 4> times;
        std::vector<float> values;
        std::vector<int32_t> states;  // State after each update
    };
    const std::vector<Case> cases = {
        {{0, 0, 0, 0}, {1, 1, 0, 0, 1, 1, 0, 0}, {1, 2, 3, 0, 1, 2, 3, 0}},
        // Three frames each: rise, hold 1, fall, hold 0.
        {{50, 50, 50, 50},
         {kThird, kTwoThirds, 1, 1, 1, 1, kTwoThirds, kThird, 0, 0, 0, 0, kThird},
         {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0}},
        // A phase of 0 in the middle passes in one frame.
        {{50, 0, 50, 0}, {kThird, kTwoThirds, 1, 1, kTwoThirds, kThird, 0, 0, kThird}, {0, 0, 1, 2, 2, 2, 3, 0, 0}},
    };
    for (const auto& c : cases) {
        auto pulsar = CreateAppAdvTimePulsar(c.times[0], c.times[1], c.times[2], c.times[3]);
        for (size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_NEAR(pulsar->Update(), c.values[i], 1e-6f) << c.times[0] << " update " << i;
            EXPECT_EQ(pulsar->State, c.states[i]) << c.times[0] << " update " << i;
        }
    }
    TAdvTimePulsar odd;
    odd.State = 7;
    odd.p = 0.25f;
    EXPECT_EQ(odd.Update(), 0.0f);
    EXPECT_EQ(odd.p, 0.25f);
}

TEST_F(Timers, PercenterWaitsRunsAndGoesIdle) {
    auto idle = CreateAppPercenter(0, 500);
    EXPECT_EQ(idle->isWorking, 0);
    EXPECT_EQ(idle->Update(), 0.0f);

    auto delayed = CreateAppPercenter(50, 50);
    EXPECT_EQ(delayed->isWorking, 1);
    const auto got = Run([&] { return delayed->Update(); }, 8);
    const std::vector<float> want{0, 0, 0, kThird, kTwoThirds, 1, 0, 0};
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-6f) << i;
    EXPECT_EQ(delayed->p, 1.0f);  // stays finished
    EXPECT_EQ(delayed->isWorking, 0);

    TPercenter direct;
    direct.Start(1000, 0);
    EXPECT_EQ(direct.isWorking, 2);
    EXPECT_GT(direct.Update(), 0.0f);
    direct.Finish();
    EXPECT_EQ(direct.p, 1.0f);
    EXPECT_EQ(direct.Update(), 0.0f);
}

TEST_F(Timers, AppTimerSignalsOncePerPeriod) {
    auto timer = CreateAppTimer(50);
    std::vector<int32_t> got;
    for (int i = 0; i < 7; ++i) got.push_back(timer->Update());
    EXPECT_EQ(got, (std::vector<int32_t>{0, 0, 1, 0, 0, 1, 0}));
    auto instant = CreateAppTimer(0);
    EXPECT_EQ(instant->Update(), 1);
    EXPECT_EQ(instant->Update(), 1);
}

TEST_F(Timers, PerTimerCountsLoopedAndOnce) {
    auto looped = CreateAppPerTimer(50);
    const auto l = Run([&] { return looped->Count(1); }, 4);
    EXPECT_EQ(l, (std::vector<float>{kThird, kTwoThirds, 0.0f, kThird}));
    auto once = CreateAppPerTimer(50);
    const auto o = Run([&] { return once->Count(0); }, 4);
    EXPECT_EQ(o, (std::vector<float>{kThird, kTwoThirds, 1.0f, 1.0f}));
    once->Reset(100);
    EXPECT_EQ(once->Time, 100);
    EXPECT_EQ(once->Per, 0.0f);

    // One second takes about 60 frames at 60 frames a second and half as many at 30.
    int frames[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        delta = (i == 0) ? 1.0f : 2.0f;
        auto second = CreateAppPerTimer(1000);
        while (second->Count(0) < 1.0f && frames[i] < 1000) ++frames[i];
        ++frames[i];  // the update that arrived
    }
    EXPECT_GE(frames[0], 60);
    EXPECT_LE(frames[0], 61);
    EXPECT_LE(std::abs(frames[0] - 2 * frames[1]), 2);
}

TEST_F(Timers, CreatorsStartAtEitherEndHeadingForTheOther) {
    for (int i = 0; i < 8; ++i) {
        auto pulsar = CreateAppPulsar(0.1f);
        EXPECT_EQ(pulsar->speed, 0.1f);
        EXPECT_TRUE(pulsar->p == 0.0f || pulsar->p == 1.0f);
        EXPECT_EQ(pulsar->p + pulsar->dp, 1.0f);
        auto timed = CreateAppTimePulsar(200);
        EXPECT_EQ(timed->Time, 200);
        EXPECT_EQ(timed->p + timed->dp, 1.0f);
    }
    // One draw of the generator each.
    ResetRnd();
    CreateAppPulsar(1.0f);
    const int32_t after = RndSeed();
    ResetRnd();
    Rand(0, 1);
    EXPECT_EQ(after, RndSeed());
}

// An endless step (a time of 0, an endless speed) over a frame of no length, or a frame factor
// that is not a number, must never turn a timer into NaN or push it out of 0..1.
TEST_F(Timers, NoTimerTurnsIntoNaN) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float d : {0.0f, 1.0f, inf, nan}) {
        delta = d;
        TPulsar pulsar;
        pulsar.speed = inf;
        pulsar.dp = 1.0f;
        TTimePulsar timePulsar;
        timePulsar.dp = 1.0f;
        auto adv = CreateAppAdvTimePulsar(0, 0, 0, 0);
        auto percenter = CreateAppPercenter(0, 0);
        percenter->Start(0, 0);
        auto timer = CreateAppTimer(0);
        auto looped = CreateAppPerTimer(0);
        auto once = CreateAppPerTimer(0);
        for (int i = 0; i < 5; ++i) {
            const float values[] = {pulsar.Update(),     timePulsar.Update(), adv->Update(),
                                    percenter->Update(), looped->Count(1),    once->Count(0)};
            timer->Update();
            for (float v : values) {
                EXPECT_FALSE(std::isnan(v)) << "delta " << d << " update " << i;
                EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << v << " delta " << d;
            }
            for (float v : {pulsar.p, pulsar.dp, timePulsar.p, adv->p, percenter->p, timer->Per})
                EXPECT_FALSE(std::isnan(v)) << "delta " << d << " update " << i;
        }
    }
    // With no time passing nothing moves; with a finite frame an endless step arrives at once.
    delta = 0.0f;
    TPulsar frozen;
    frozen.speed = inf;
    frozen.dp = 1.0f;
    EXPECT_EQ(frozen.Update(), 0.0f);
    delta = 1.0f;
    EXPECT_EQ(frozen.Update(), 1.0f);
    EXPECT_EQ(frozen.dp, 0.0f);
}

}  // namespace
