#include "platform/Random.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { ResetRnd(); }
    void TearDown() override { ResetRnd(); }
};

// The standard library's minstd_rand is the same minimal-standard generator, so it serves as
// an independent reference for the sequence of states.
TEST_F(RandomTest, StatesFollowTheMinimalStandardFrom0x1234) {
    EXPECT_EQ(RndSeed(), 0x1234);
    std::minstd_rand reference(0x1234);
    for (int i = 0; i < 1000; ++i) {
        double r = Rnd();
        uint32_t expected = reference();
        ASSERT_EQ(static_cast<uint32_t>(RndSeed()), expected) << "step " << i;
        ASSERT_DOUBLE_EQ(r, expected / 2147483647.0);
    }
    // The generator's published check value: state 399268537 after 10000 steps from 1.
    SeedRnd(1);
    for (int i = 0; i < 10000; ++i) Rand(1, 6);
    EXPECT_EQ(RndSeed(), 399268537);
}

TEST_F(RandomTest, SameStartGivesTheSameRun) {
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(Rand(1, 100));
    ResetRnd();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Rand(1, 100), first[i]);
}

TEST_F(RandomTest, RandStaysInsideInclusiveBoundsInEitherOrder) {
    const struct {
        int a, b, lo, hi;
    } cases[] = {
        {1, 6, 1, 6},
        {6, 1, 1, 6},
        {0, -1, -1, 0},
        {5, 5, 5, 5},
        {-3, 3, -3, 3},
        {10, 1, 1, 10},  // Rand(10)
        {0, 1, 0, 1},    // Rand(0)
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX},
    };
    for (const auto& c : cases) {
        bool sawLo = false, sawHi = false;
        for (int i = 0; i < 2000; ++i) {
            int v = Rand(c.a, c.b);
            ASSERT_GE(v, c.lo);
            ASSERT_LE(v, c.hi);
            sawLo |= v == c.lo;
            sawHi |= v == c.hi;
        }
        if (static_cast<int64_t>(c.hi) - c.lo < 100) {
            EXPECT_TRUE(sawLo && sawHi) << c.a << ".." << c.b;
        }
    }
    bool one = false, ten = false;
    for (int i = 0; i < 2000; ++i) {
        int v = Rand(10);
        ASSERT_TRUE(v >= 1 && v <= 10);
        one |= v == 1;
        ten |= v == 10;
    }
    EXPECT_TRUE(one && ten);
}

TEST_F(RandomTest, RndStaysInsideHalfOpenRangeInEitherOrder) {
    const struct {
        double a, b, lo, hi;
    } cases[] = {
        {1.0, 0.0, 0.0, 1.0},
        {0.0, 1.0, 0.0, 1.0},
        {5.0, -5.0, -5.0, 5.0},
        {2.5, 2.5, 2.5, 2.5},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 2000; ++i) {
            double v = Rnd(c.a, c.b);
            ASSERT_GE(v, c.lo);
            if (c.hi > c.lo) ASSERT_LT(v, c.hi);
            else ASSERT_EQ(v, c.lo);
        }
    }
    double r = Rnd();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
}

TEST_F(RandomTest, SeedsThatWouldStickAtZeroStartFromTheFirstState) {
    for (int32_t seed : {0, INT32_MAX}) {
        SeedRnd(seed);
        EXPECT_EQ(RndSeed(), 0x1234) << seed;
        Rnd();
        EXPECT_NE(RndSeed(), 0);
    }
    SeedRnd(-5);
    EXPECT_EQ(RndSeed(), 2147483647 - 5);
}

}  // namespace
