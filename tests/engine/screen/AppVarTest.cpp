// Animated values: stepping toward the target, switchers and the "VAR" block.
#include <gtest/gtest.h>

#include <vector>

#include "engine/screen/AppVar.h"
#include "engine/basics/AppTime.h"
#include "platform/Random.h"

namespace {

class AppVarTest : public ::testing::Test {
protected:
    void TearDown() override {
        delta = 0;
        ResetRnd();
    }
};

TEST_F(AppVarTest, RisesAndFallsByDelta) {
    struct Case {
        float d;
        int frames;
    };
    for (const auto& c : {Case{1.0f, 10}, Case{2.0f, 5}}) {
        delta = c.d;
        auto v = CreateAppVar("", 0.1f, 99.0f);
        v->SetDValue(1);
        int n = 0;
        while (v->Value() < 1.0f && n < 100) {
            v->update();
            ++n;
            EXPECT_LE(v->Value(), 1.0f);
        }
        EXPECT_EQ(n, c.frames);
    }
    delta = 1.0f;
    auto down = CreateAppVar("", 0, 0.5f);
    down->SetValue(1);
    down->SetDValue(0.25f);
    down->update();
    EXPECT_FLOAT_EQ(down->Value(), 0.5f);
    down->update();
    EXPECT_FLOAT_EQ(down->Value(), 0.25f);
}

TEST_F(AppVarTest, SwitchersSwingOnTheirOwn) {
    delta = 1.0f;
    auto v = CreateAppVar("", 0.25f, 0.25f);
    v->isSwitcher = 1;
    std::vector<float> seen;
    for (int i = 0; i < 6; ++i) {
        v->update();
        seen.push_back(v->Value());
    }
    EXPECT_EQ(seen, (std::vector<float>{0, 0.25f, 0.5f, 0.75f, 1, 0.75f}));

    auto m = CreateAppVar("", 10, 10);
    m->isSwitcherMinus = 1;
    m->SetBoth(0.5f);
    m->update();
    const float first = m->DValue();
    EXPECT_TRUE(first == 1.0f || first == -1.0f);
    m->update();
    EXPECT_EQ(m->DValue(), -first);

    auto both = CreateAppVar("", 1, 1);
    both->isSwitcher = both->isSwitcherMinus = 1;
    both->update();  // arrives at 0: only SwitchD acts
    EXPECT_EQ(both->DValue(), 1.0f);
}

TEST_F(AppVarTest, SettledAndText) {
    auto v = CreateAppVar("fade", 0, 0);
    v->id = 3;
    v->SetBoth(3);
    EXPECT_EQ(v->ValueIsEven(3), 1);
    v->SetDValue(1);
    EXPECT_EQ(v->ValueIsEven(3), 0);
    EXPECT_EQ(v->ToString(), "fade, id = 3, value = 3.00000000  dp = 1.00000000");
}

TEST_F(AppVarTest, BlockRoundTrip) {
    for (int saved : {0, 1}) {
        SCOPED_TRACE(saved);
        auto v = CreateAppVar("glow", 0.1f, 0.05f);
        v->MinVal = -1;
        v->MaxVal = 2;
        v->isValueSaved = saved;
        v->isSwitcherMinus = 1;
        v->SetBoth(0.5f);
        auto parent = CreateBlockFile("Data");
        v->SaveToBlock(parent);
        auto block = GetBlockFile(parent, "VAR");
        EXPECT_EQ(isBFEntry(block, "Value"), saved);
        EXPECT_EQ(GetBFString(block, "Flags", 2), "true");

        auto back = LoadVarArray(parent);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0]->name, "glow");
        EXPECT_FLOAT_EQ(back[0]->speedInc, 0.1f);
        EXPECT_FLOAT_EQ(back[0]->speedDec, 0.05f);
        EXPECT_FLOAT_EQ(back[0]->MinVal, -1);
        EXPECT_FLOAT_EQ(back[0]->MaxVal, 2);
        EXPECT_EQ(back[0]->isSwitcherMinus, 1);
        EXPECT_FLOAT_EQ(back[0]->Value(), saved ? 0.5f : 0.0f);
        EXPECT_FLOAT_EQ(back[0]->DValue(), 0);
    }
    EXPECT_TRUE(LoadVarArray(CreateBlockFile("Empty")).empty());
}

}  // namespace
