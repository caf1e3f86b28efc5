#include "engine/data/BoxedNumbers.h"
#include "engine/basics/Basics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/Random.h"

namespace {

std::vector<std::shared_ptr<TFloatObj>> Boxes(std::initializer_list<float> values) {
    std::vector<std::shared_ptr<TFloatObj>> out;
    for (float v : values) out.push_back(CreateAppFloatObj(v));
    return out;
}

TEST(BoxedNumbers, BoxesConvertAndPrint) {
    EXPECT_EQ(CreateAppFloatObj(-2.7f)->ToInt(), -2);
    EXPECT_EQ(CreateAppFloatObj(-2.7f)->ToIntObj()->v, -2);
    const auto three = CreateAppIntObj(3)->ToFloatOjb();
    EXPECT_EQ(three->v, 3.0f);
    EXPECT_EQ(three->ToString(), "3.00000000");
    EXPECT_EQ(CreateAppFloatObj(0.5f)->ToString(), "0.500000000");
    EXPECT_EQ(CreateAppIntObj(-42)->ToString(), "-42");
    EXPECT_EQ(CreateAppIntObj(7)->ToFloat(), 7.0f);
    // Truncation never wanders into undefined conversions.
    EXPECT_EQ(TruncToInt(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(TruncToInt(1e20f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TruncToInt(-1e20f), std::numeric_limits<int32_t>::min());
}

TEST(BoxedNumbers, SortFunctionTreatsNearValuesAsEqual) {
    struct Case {
        float a, b;
        int32_t want;
    };
    for (const auto& c : std::vector<Case>{
             {0.2f, 0.9f, 70000}, {0.9f, 0.2f, -70000}, {0.5f, 0.500001f, 0}, {0.5f, 0.49999f, -1}, {0.0f, 0.0f, 0}})
        EXPECT_EQ(FloatObjectsSortFunction(*CreateAppFloatObj(c.a), *CreateAppFloatObj(c.b)), c.want)
            << c.a << " " << c.b;
}

TEST(BoxedNumbers, AscendingSortGivesLargestFirstAndKeepsNearValuesInOrder) {
    auto boxes = Boxes({0.2f, 0.9f, 0.5f});
    SortList(boxes, true, [](const auto& a, const auto& b) { return FloatObjectsSortFunction(a, b); });
    EXPECT_EQ(boxes[0]->v, 0.9f);
    EXPECT_EQ(boxes[1]->v, 0.5f);
    EXPECT_EQ(boxes[2]->v, 0.2f);

    for (auto values : {std::vector<float>{0.5f, 0.500001f}, std::vector<float>{0.500001f, 0.5f}}) {
        std::vector<std::shared_ptr<TFloatObj>> near;
        for (float v : values) near.push_back(CreateAppFloatObj(v));
        const auto before = near;
        SortList(near, true, [](const auto& a, const auto& b) { return FloatObjectsSortFunction(a, b); });
        EXPECT_EQ(near, before);
    }
}

// A comparison with a tolerance is not a strict weak order. The sort must still finish, keep
// every element once, keep equal elements in order, and fully order values that lie further
// apart than the tolerance.
TEST(BoxedNumbers, SortListIsStableAndSafeWithAToleranceCompare) {
    ResetRnd();
    for (int round = 0; round < 20; ++round) {
        const int n = Rand(0, 60);
        // Values on a grid far coarser than the tolerance, many repeated, each box its own object.
        std::vector<std::shared_ptr<TFloatObj>> boxes;
        for (int i = 0; i < n; ++i) boxes.push_back(CreateAppFloatObj(static_cast<float>(Rand(0, 9)) * 0.01f));
        auto oracle = boxes;
        std::stable_sort(oracle.begin(), oracle.end(), [](const auto& a, const auto& b) { return a->v > b->v; });
        auto sorted = boxes;
        SortList(sorted, true, [](const auto& a, const auto& b) { return FloatObjectsSortFunction(a, b); });
        EXPECT_EQ(sorted, oracle) << "round " << round;  // same objects in the same order

        // Values whose neighbours are all "equal" but whose ends are not: a chain. Every element
        // survives, exactly once.
        std::vector<std::shared_ptr<TFloatObj>> chain;
        for (int i = 0; i < n; ++i) chain.push_back(CreateAppFloatObj(static_cast<float>(Rand(0, 40)) * 0.000004f));
        auto shuffled = chain;
        SortList(shuffled, true, [](const auto& a, const auto& b) { return FloatObjectsSortFunction(a, b); });
        auto byAddress = [](const auto& a, const auto& b) { return a.get() < b.get(); };
        std::sort(chain.begin(), chain.end(), byAddress);
        std::sort(shuffled.begin(), shuffled.end(), byAddress);
        EXPECT_EQ(shuffled, chain);
    }
}

}  // namespace
