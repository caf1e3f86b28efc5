// The effect recipes: how many particles a call makes, where they go, their colours and times.
#include "game/effects/Recipes.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "EffectsTestSupport.h"

namespace {

using RecipesTest = effectstest::RecipesFixture;

// ---- Ray rings ----

TEST_F(RecipesTest, ARayRingHasOneRayPerWholeStepOfTheCircle) {
    struct Case {
        float step;
        size_t rays;
        float last;
    };
    const Case cases[] = {{30, 12, 330}, {32, 11, 320}, {48, 7, 288}, {180, 2, 180},
                          {360, 1, 0},   {400, 0, 0},   {-30, 0, 0},  {0, 0, 0}};
    for (const Case& c : cases) {
        pack->Clear();
        CreateBoom6(100, 100, 50, 0, 1000, c.step, 255, 100, 0, 1, pack);
        auto rays = Light();
        ASSERT_EQ(rays.size(), c.rays) << "step " << c.step;
        for (size_t k = 0; k < rays.size(); ++k) {
            EXPECT_FLOAT_EQ(rays[k]->posRotX1, k * c.step);
            EXPECT_FLOAT_EQ(rays[k]->rot1, k * c.step - 90);
            EXPECT_EQ(rays[k]->n, 7);
            EXPECT_EQ(rays[k]->PositioningType, 1);
        }
        if (!rays.empty()) {
            EXPECT_FLOAT_EQ(rays.back()->posRotY2, c.last);
        }
    }
}

TEST_F(RecipesTest, RaysRunOutFromTheCentreLengtheningAndTurningOrange) {
    CreateBoom6(200, 150, 80, 40, 1000, 90, 10, 20, 30, 2, pack);
    for (const auto& ray : Light()) {
        EXPECT_EQ(ray->ox, 200.0f);
        EXPECT_EQ(ray->oy, 150.0f);
        EXPECT_EQ(ray->w1, 0.0f);
        EXPECT_EQ(ray->w2, 80.0f);
        EXPECT_EQ(ray->h2, 80.0f);
        EXPECT_EQ(ray->r1, 10.0f);
        EXPECT_EQ(ray->b1, 30.0f);
        EXPECT_GE(ray->r2, 235.0f);
        EXPECT_LE(ray->r2, 255.0f);  // 250 + 15 held at 255
        EXPECT_GE(ray->g2, 135.0f);
        EXPECT_LE(ray->g2, 165.0f);
        EXPECT_EQ(ray->sy1, 0.5f);
        EXPECT_EQ(ray->sy2, 12.0f);
        EXPECT_EQ(ray->a1, 1.0f);
        EXPECT_EQ(ray->startTime, 40);
        EXPECT_EQ(ray->lifeTime, 1000);
    }
    // CreateBoom7: faint and alpha-blended.
    CreateBoom7(0, 0, 80, 0, 1000, 90, 10, 20, 30, 1, pack);
    ASSERT_EQ(Alpha().size(), 4u);
    EXPECT_EQ(Alpha()[0]->a1, 0.25f);
}

TEST_F(RecipesTest, CreateBoom3SpreadsItsRaysOverAThirdOfTheLife) {
    std::set<int> starts;
    for (int k = 0; k < 20; ++k) CreateBoom3(0, 0, 2, 100, 2000, 32, 255, 100, 0, 1, pack);
    for (const auto& ray : Light()) starts.insert(ray->startTime);
    EXPECT_EQ(Light().size(), 220u);
    EXPECT_GE(*starts.begin(), 100);
    EXPECT_LE(*starts.rbegin(), 766);
    EXPECT_GT(starts.size(), 50u);

    pack->Clear();
    CreateBoom3(0, 0, 2, 100, 2, 32, 255, 100, 0, 1, pack);
    for (const auto& ray : Light()) EXPECT_EQ(ray->startTime, 100);

    pack->Clear();
    CreateBoom4(0, 0, 2, 0, 300, 90, 255, 100, 0, 1, pack);
    for (const auto& ray : Light()) EXPECT_LE(ray->startTime, 300);
}

TEST_F(RecipesTest, CreateBoomMakesThreeRings) {
    CreateBoom(300, 300, 100, 0, 1000, 90, 128, 128, 128, 1, pack);
    auto all = Light();
    ASSERT_EQ(all.size(), 4u + 8u + 16u);
    for (int k = 0; k < 8; ++k) {
        const auto& p = all[4 + k];
        EXPECT_FLOAT_EQ(p->posRotX1, 90.0f * k) << k;  // twice around
        EXPECT_EQ(p->w2, 75.0f);
        EXPECT_EQ(p->startTime, 500);
        EXPECT_EQ(p->sy2, 5.0f);
    }
    int kindA = 0;
    for (int k = 0; k < 16; ++k) {
        const auto& p = all[12 + k];
        EXPECT_FLOAT_EQ(p->posRotX1, 90.0f * k) << k;  // four times around
        EXPECT_GE(p->n, 8);
        EXPECT_LE(p->n, 11);
        EXPECT_EQ(p->w2, 50.0f);
        EXPECT_GE(p->rot2, 270.0f);
        EXPECT_LE(p->rot2, 450.0f);
        if (p->lifeTime == 1500) {
            ++kindA;
            EXPECT_EQ(p->startTime, 333);
            EXPECT_EQ(p->sy2, 4.0f);
            EXPECT_EQ(p->r1, 128.0f);
        } else {
            EXPECT_EQ(p->lifeTime, 1000);
            EXPECT_EQ(p->startTime, 500);
            EXPECT_EQ(p->sy2, 2.0f);
        }
    }
    EXPECT_GT(kindA, 0);
    EXPECT_LT(kindA, 16);

    pack->Clear();
    CreateBoom(0, 0, 10, 0, 100, 0, 1, 1, 1, 1, pack);  // a step of 0 makes nothing, and returns
    EXPECT_TRUE(Light().empty());
}

TEST_F(RecipesTest, BurstColoursAreHeldWithin0To255) {
    CreateBoom(0, 0, 10, 0, 100, 30, 250, 5, 250, 1, pack);
    for (const auto& p : Light()) {
        for (float c : {p->r1, p->g1, p->b1, p->r2, p->g2, p->b2}) {
            EXPECT_GE(c, 0.0f);
            EXPECT_LE(c, 255.0f);
        }
    }
}

TEST_F(RecipesTest, ABurstIntoAFullPoolStopsQuietly) {
    auto small = CreateEngParticlePackage(5);
    CreateBoom3(0, 0, 2, 0, 100, 0.0001f, 255, 100, 0, 1, small);  // 3.6 million rays asked
    EXPECT_EQ(small->CountInUse(), 5);
}

// ---- Game effects ----

TEST_F(RecipesTest, AHintTrailArcsUpAndDrawsTheHintPicture) {
    CreateHintParticle(100, 200, 200, 200, 0, 255, 0, 32, 500, 10, pack);
    auto pair = Light();
    ASSERT_EQ(pair.size(), 2u);
    for (const auto& p : pair) {
        EXPECT_EQ(p->x1, 100.0f);
        EXPECT_EQ(p->x2, 200.0f);
        EXPECT_EQ(p->mx1, 133.0f);
        EXPECT_GE(p->my1, 176.0f);
        EXPECT_LE(p->my1, 184.0f);
        EXPECT_EQ(p->mx2, 166.0f);
        EXPECT_EQ(p->my2, 200.0f);
        EXPECT_EQ(p->isUsingBothPoints, 0);
        EXPECT_EQ(p->startTime, 10);
        EXPECT_EQ(p->lifeTime, 500);
        EXPECT_EQ(p->image, nullptr);  // no hint picture loaded: the numbered images show
    }
    EXPECT_EQ(pair[0]->my1, pair[1]->my1);
    EXPECT_EQ(pair[0]->n, 5);
    EXPECT_EQ(pair[0]->a1, 0.25f);
    EXPECT_EQ(pair[1]->n, 12);
    EXPECT_EQ(pair[1]->g1, 255.0f);
    EXPECT_EQ(pair[1]->r2, 100.0f);
    EXPECT_EQ(pair[1]->sx2, 2.0f);

    // A hint whose end is its start still hops.
    pack->Clear();
    HintParticleImage = CreateImage(8, 8);
    CreateHintParticle(50, 50, 50, 50, 0, 255, 0, 32, 1000, 0, pack);
    auto hop = Light()[0];
    EXPECT_EQ(hop->image, HintParticleImage);
    SetNow(500);
    hop->update();
    EXPECT_EQ(hop->x, 50.0f);
    EXPECT_LE(hop->y, 50.0f - 8.0f);
}

TEST_F(RecipesTest, ALevelSwitchTrailRunsStraightInItsOwnColour) {
    CreateLevelSwitchParticle(0, 0, 300, 90, 255, 0, 255, 32, 1000, 0, pack);
    auto pair = Light();
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(pair[1]->mx1, 99.0f);
    EXPECT_EQ(pair[1]->my1, 29.0f);
    EXPECT_EQ(pair[1]->mx2, 198.0f);
    EXPECT_EQ(pair[1]->my2, 59.0f);
    EXPECT_EQ(pair[1]->r2, 255.0f);
    EXPECT_EQ(pair[1]->g2, 0.0f);
    EXPECT_EQ(pair[1]->b2, 255.0f);
}

TEST_F(RecipesTest, AMagicAuraSparkTurnsOnTheSpotFromMagentaToCyan) {
    for (int i = 0; i <= 50; ++i) CreateMagicAura(300.7f, 200.2f, 1, 50 * i, 2000, pack);
    auto sparks = Light();
    ASSERT_EQ(sparks.size(), 51u);
    for (int i = 0; i <= 50; ++i) {
        const auto& p = sparks[i];
        EXPECT_EQ(p->startTime, 50 * i);  // one after another over two and a half seconds
        EXPECT_TRUE(p->n == 8 || p->n == 11);
        EXPECT_EQ(p->ox, 300.0f);
        EXPECT_EQ(p->oy, 200.0f);
        EXPECT_EQ(p->w2, 0.0f);
        EXPECT_EQ(p->r1, 255.0f);
        EXPECT_EQ(p->b2, 255.0f);
        EXPECT_EQ(p->sx1, 0.0f);
        EXPECT_EQ(p->sy2, 1.0f);
        EXPECT_GE(p->rot2 - p->rot1, 180.0f);
        EXPECT_LE(p->rot2 - p->rot1, 540.0f);
    }
}

TEST_F(RecipesTest, BuildDustDriftsOutAndFadesInAndBack) {
    for (int k = 0; k < 50; ++k) CreateBuildDust(400, 300, 40, 0.5f, 0.75f, 1200, pack);
    auto puffs = Alpha();
    ASSERT_EQ(puffs.size(), 50u);
    for (const auto& p : puffs) {
        EXPECT_EQ(p->isAlphaBack, 1);
        EXPECT_EQ(p->n, 11);
        EXPECT_EQ(p->a1, 0.0f);
        EXPECT_EQ(p->a2, 1.0f);
        const float d = std::hypot(p->x2 - 400, p->y2 - 300);
        EXPECT_GE(d, 6.0f);
        EXPECT_LE(d, 41.0f);
        EXPECT_NEAR(p->mx1, 400 + (p->x2 - 400) / 2, 1.0f);
        EXPECT_GE(p->sx1, 0.5f);
        EXPECT_LT(p->sx1, 0.75f);
        EXPECT_GE(p->sx2 - p->sx1, 0.099f);
        EXPECT_LT(p->sx2 - p->sx1, 0.25f);
        EXPECT_EQ(p->r1, p->g1);
        EXPECT_GE(p->r1, 150.0f);
        EXPECT_LE(p->r1, 200.0f);
    }
    // A radius below 1: the puff stays on its start point.
    pack->Clear();
    CreateBuildDust(10.9f, 20.2f, 0.5f, 1, 1, 1000, pack);
    auto still = Alpha()[0];
    EXPECT_EQ(still->x2, 10.0f);
    EXPECT_EQ(still->y2, 20.0f);
}

}  // namespace
