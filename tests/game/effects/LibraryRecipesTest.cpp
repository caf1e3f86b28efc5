// The recipes of the effect library that the game does not call: spots, water, sparks and
// flames, gold, auras, beams, lamps, embers, smokes, gunfire and the power bursts.
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "EffectsTestSupport.h"

namespace {

class LibraryRecipesTest : public effectstest::RecipesFixture {
protected:
    std::vector<TEngParticlePtr> All() {
        auto all = Alpha();
        for (const auto& p : Light()) all.push_back(p);
        return all;
    }
    // Fills both pools of a package.
    static void Fill(const TEngParticlePackagePtr& p, int blend) {
        while (effectstest::MakeLine(p, blend, 0, 100000)) {
        }
    }
};

// ---- Spots and water ----

TEST_F(LibraryRecipesTest, SpotsGlowInPlaceOrRiseFadingInAndBack) {
    for (int k = 0; k < 30; ++k) {
        pack->Clear();
        CreateAmulethParticle(100, 100, pack);
        auto pair = Light();
        ASSERT_EQ(pair.size(), 2u);
        EXPECT_EQ(pair[0]->x1, pair[1]->x1);
        EXPECT_EQ(pair[0]->y1, pair[1]->y1);
        EXPECT_GE(pair[0]->x1, 98.0f);
        EXPECT_LE(pair[0]->x1, 104.0f);
        EXPECT_GE(pair[0]->y1, 98.0f);
        EXPECT_LE(pair[0]->y1, 104.0f);
        for (const auto& p : pair) {
            EXPECT_EQ(p->x2, p->x1);
            EXPECT_EQ(p->isAlphaBack, 1);
            EXPECT_EQ(p->n, 12);
            EXPECT_EQ(p->lifeTime, 300);
            EXPECT_LE(p->startTime, 50);
        }
        EXPECT_EQ(pair[0]->sx1, 1.25f);
        EXPECT_EQ(pair[0]->a2, 0.5f);
        EXPECT_EQ(pair[1]->a2, 1.0f);
        EXPECT_EQ(pair[1]->r1, 255.0f);
    }

    pack->Clear();
    CreateSpoTEngParticle1(300, 400, pack);
    auto rise = Light();
    ASSERT_EQ(rise.size(), 2u);
    EXPECT_EQ(rise[0]->startTime, rise[1]->startTime);
    EXPECT_GE(rise[0]->startTime, 1000);
    EXPECT_LE(rise[0]->startTime, 6000);
    EXPECT_GE(rise[0]->lifeTime, 2500);
    EXPECT_LE(rise[0]->lifeTime, 3500);
    EXPECT_EQ(rise[0]->y2, rise[1]->y2);
    EXPECT_GE(400 - rise[0]->y2, 256.0f);
    EXPECT_LE(400 - rise[0]->y2, 512.0f);
    EXPECT_EQ(rise[0]->mx1, 300.0f);  // at rest at first
    EXPECT_EQ(rise[0]->my1, 400.0f);

    // A full pool: nothing made, nothing touched, nothing fails.
    auto full = CreateEngParticlePackage(2);
    Fill(full, EngLightBlend);
    EXPECT_EQ(CreateLevelOverParticle(10, 10, full), 0);
    EXPECT_EQ(CreateSpoTEngParticle3(10, 10, 0, full), 0);
    for (const auto& p : full->lightBlend_particles) EXPECT_EQ(p->isAlphaBack, 0);
}

TEST_F(LibraryRecipesTest, DropsFallFromAboutTheirStartAndFountainsArcBackToItsLine) {
    CreateWaterFallParticle(200, 100, 0, 0, 500, pack);  // a fall of 0 stays put
    auto still = Light()[0];
    EXPECT_EQ(still->y2, 100.0f);
    EXPECT_EQ(still->x1, still->x2);
    EXPECT_EQ(still->n, 3);

    pack->Clear();
    CreateWaterFallParticle2(200, 100, 250.9f, 300, 0, 500, pack);
    auto fall = Light()[0];
    EXPECT_GE(fall->x1, 199.0f);
    EXPECT_LE(fall->x1, 201.0f);
    EXPECT_EQ(fall->x2, 250.0f);
    EXPECT_EQ(fall->y2, 400.0f);
    EXPECT_EQ(fall->mx1, fall->x1);  // starting slowly
    EXPECT_EQ(fall->my1, 100.0f);

    pack->Clear();
    for (int k = 0; k < 100; ++k) CreateFontainParticle(500, 600, 200, 100, 0, 1000, pack);
    for (const auto& p : Light()) {
        EXPECT_EQ(p->y1, 600.0f);
        EXPECT_EQ(p->y2, 600.0f);
        EXPECT_LE(std::abs(p->x2 - 500), 106.0f);
        EXPECT_GE(p->my1, 395.0f);
        EXPECT_LE(p->my1, 405.0f);
    }

    pack->Clear();
    CreateWaterFlowParticle2(9, 0, 0, 100, 50, 10, 20, 30, 1, 0, 0.5f, 0.25f, EngAlphaBlend, 7, 900, pack);
    auto flow = Alpha()[0];
    EXPECT_EQ(flow->n, 9);
    EXPECT_EQ(flow->isUsingBothPoints, -1);
    EXPECT_EQ(flow->sx1, 0.5f);
    EXPECT_EQ(flow->sy1, 1.0f);  // twice as tall
    EXPECT_EQ(flow->sy2, 0.5f);
    EXPECT_EQ(flow->b2, 30.0f);
}

// ---- Sparks and flame ----

TEST_F(LibraryRecipesTest, CreateBoom2MakesThreeRingsOfSparks) {
    // (count, sparks)
    ExpectLightCounts([&](int count) { CreateBoom2(0, 0, 250, 0, 1000, count, pack); },
                      {{5, 8}, {1, 1}, {0, 0}, {-4, 0}, {180, 330}});
    pack->Clear();
    CreateBoom2(50, 60, 250, 100, 1000, 5, pack);
    auto sparks = Light();
    ASSERT_EQ(sparks.size(), 8u);
    EXPECT_NEAR(std::fmod(sparks[6]->posRotX1 - sparks[5]->posRotX1 + 720, 360), 144, 1e-2);  // ring 2
    for (size_t k = 0; k < 8; ++k) {
        const auto& p = sparks[k];
        EXPECT_GE(p->w2, 125.0f);
        EXPECT_LE(p->w2, 250.0f);
        EXPECT_EQ(p->sx2, k < 7 ? 0.75f : 1.0f);
        if (k < 5) {
            EXPECT_GE(p->startTime, 100);
            EXPECT_LE(p->startTime, 200);
        }
        if (k == 7) {
            EXPECT_EQ(p->startTime, 600);
            EXPECT_GE(p->b1, 0.0f);  // 0 + Rand(-50, 50) held at 0
            EXPECT_LE(p->b1, 50.0f);
        }
    }
    pack->Clear();
    CreateBoom2(0, 0, 1, 0, 1000, 30, pack);
    for (const auto& p : Light()) EXPECT_LE(p->w2, 1.0f);
}

TEST_F(LibraryRecipesTest, CreateBoom5RingsFollowTheCount) {
    // (count, sparks)
    ExpectLightCounts([&](int count) { CreateBoom5(0, 0, 150, 0, 1000, count, pack); },
                      {{1, 1}, {4, 7}, {5, 8}, {0, 0}});
    pack->Clear();
    CreateBoom5(0, 0, 150, 0, 1000, 5, pack);
    auto sparks = Light();
    EXPECT_NEAR(std::fmod(sparks[6]->posRotX1 - sparks[5]->posRotX1 + 720, 360), 144, 1e-2);
    EXPECT_GE(sparks[7]->w2, 50.0f);  // ring 3 flies radius / 3 to radius / 2
    EXPECT_LE(sparks[7]->w2, 75.0f);
    EXPECT_EQ(sparks[7]->sx1, 0.5f);
    EXPECT_EQ(sparks[0]->sx2, 1.5f);
    for (const auto& p : sparks) EXPECT_GE(p->b1, 0.0f);
}

TEST_F(LibraryRecipesTest, AFireOfSizeZeroSitsOnItsPointAndShrinksAway) {
    CreateFire(100.7f, 50.2f, 0, -90, 80, 0, 500, pack);
    auto flame = Light()[0];
    EXPECT_EQ(flame->ox, 100.0f);
    EXPECT_EQ(flame->oy, 50.0f);
    EXPECT_EQ(flame->sx2, 0.0f);
    EXPECT_EQ(flame->w2, 0.0f);
    EXPECT_EQ(flame->h2, 80.0f);
    SetNow(500);
    flame->update();
    EXPECT_FLOAT_EQ(flame->x, 100.0f);
    EXPECT_FLOAT_EQ(flame->y, -30.0f);  // moved 80 up along the angle
}

// ---- Gold, auras, beams, lamps and embers ----

TEST_F(LibraryRecipesTest, FlyingStarColoursStayWithin0To255) {
    for (int k = 0; k < 40; ++k) {
        CreateFlyingStarParticle(0, 0, 500, 250, 5, 128, 100, 0, pack);
        CreateFlyingStarParticle(0, 0, 500, 250, 5, 128, 100, 0, pack);
    }
    for (const auto& p : Light()) {
        EXPECT_GE(p->r1, 235.0f);
        EXPECT_LE(p->r1, 255.0f);
        EXPECT_GE(p->g1, 0.0f);
        EXPECT_LE(p->g1, 20.0f);
        EXPECT_EQ(p->r1, p->r2);
        EXPECT_LE(p->y2, -50.0f);
        EXPECT_GE(p->y2, -100.0f);
        EXPECT_TRUE(p->n == 0 || p->n == 1);
    }
}

TEST_F(LibraryRecipesTest, GoldSparksHopAndFallBelowTheirStart) {
    for (int k = 0; k < 40; ++k) CreateGoldParticle(300, 300, 1, 2, 3, 40, 800, 0, pack);
    for (const auto& p : Light()) {
        EXPECT_GE(p->y2, 332.0f);
        EXPECT_LE(p->y2, 348.0f);
        EXPECT_LE(p->my1, 284.0f);
        EXPECT_LE(std::abs(p->x2 - 300), 80.0f);
        EXPECT_EQ(p->image, nullptr);
    }
    pack->Clear();
    CreateGoldParticle4(300, 300, 0, 0, 0, 40, 800, 0, pack);
    auto pair = Light();
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(pair[0]->sx2, 2.0f);
    EXPECT_EQ(pair[1]->sx2, 3.0f);
    EXPECT_EQ(pair[1]->mx2, pair[1]->x2);  // second control point on the end
}

TEST_F(LibraryRecipesTest, BeamsLayTwoBallsPerFifteenPixels) {
    // (length, balls)
    ExpectLightCounts([&](int length) { CreateBeam(10, 20, 10 + length, 20, 1, 5, 1, 2, 3, 4, 5, 6, 300, pack); },
                      {{14, 0}, {15, 2}, {44, 4}, {45, 6}, {0, 0}});
    pack->Clear();
    CreateBeamOneBezier(0, 0, 60, 0, 30, -60, 1, 0, 1, 2, 3, 4, 5, 6, 300, pack);
    auto balls = Light();
    ASSERT_EQ(balls.size(), 8u);
    EXPECT_EQ(balls[3]->x1, 30.0f);  // the curve's middle point (p = 0.5)
    EXPECT_EQ(balls[3]->y1, -30.0f);
    EXPECT_EQ(balls[2]->x2, 30.0f);  // radius 0: each ball ends on the other end of its step
    EXPECT_EQ(balls[0]->mx1, balls[0]->x1 + std::trunc((balls[0]->x2 - balls[0]->x1) / 2));
}

TEST_F(LibraryRecipesTest, ALampFadesInThenItsSubParticleFadesOutInItsSlot) {
    auto small = CreateEngParticlePackage(3);
    effectstest::MakeLine(small, EngLightBlend, 0, 100000);
    CreateLampLight(50, 60, 1000, 2, small, 0.8f);
    auto in = small->lightBlend_particles[1];
    ASSERT_TRUE(in->isOnUse);
    ASSERT_TRUE(in->subPart);
    EXPECT_EQ(in->lifeTime, 500);
    EXPECT_EQ(in->a2, 0.8f);
    EXPECT_EQ(in->g1, 254.0f);
    auto out = in->subPart;
    EXPECT_EQ(out->a1, 0.8f);
    EXPECT_EQ(out->a2, 0.0f);
    EXPECT_EQ(small->CountInUse(), 2);

    SetNow(500);
    small->draw();
    EXPECT_EQ(small->lightBlend_particles[1], out);
    SetNow(750);
    small->draw();
    EXPECT_NEAR(out->alpha, 0.4f, 1e-5f);

    Fill(small, EngLightBlend);
    CreateLampLight(0, 0, 1000, 1, small, 1);  // no room: nothing chained, nothing left
    EXPECT_EQ(small->CountInUse(), 3);
}

TEST_F(LibraryRecipesTest, EmbersAppearOneAfterAnotherOverOneLife) {
    CreateZar(100, 100, 1000, 20, 4, pack);
    auto embers = Light();
    ASSERT_EQ(embers.size(), 8u);
    const int starts[] = {250, 500, 750, 1000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(embers[2 * i]->startTime, starts[i]);
        EXPECT_EQ(embers[2 * i + 1]->startTime, starts[i]);
        EXPECT_EQ(embers[2 * i]->x1, embers[2 * i + 1]->x1);
        EXPECT_EQ(embers[2 * i]->sx1, 0.5f);
        EXPECT_EQ(embers[2 * i + 1]->sx1, 0.2f);
    }
    pack->Clear();
    CreateZar(100, 100, 1000, 20, 0, pack);
    EXPECT_TRUE(Light().empty());
}

TEST_F(LibraryRecipesTest, ACandlePairSharesOneFlame) {
    CreateCandleFire2(100, 200, 800, 0.5f, pack);
    auto under = Alpha(), over = Light();
    ASSERT_EQ(under.size(), 1u);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(under[0]->mx1, over[0]->mx1);
    EXPECT_EQ(under[0]->r1, over[0]->r1);
    EXPECT_EQ(under[0]->rot2, over[0]->rot2);
    EXPECT_EQ(under[0]->a1, 0.25f);
    EXPECT_EQ(over[0]->a1, 0.5f);
    EXPECT_EQ(over[0]->y2, 168.0f);
    EXPECT_EQ(over[0]->isUsingBothPoints, 1);
    EXPECT_NEAR(over[0]->mx1 - 100, 100 - over[0]->mx2, 1.0f);  // swaying one way, then the other
}

// ---- Smokes, gunfire and power bursts ----

TEST_F(LibraryRecipesTest, CountedRecipesMakeNothingForACountBelowOne) {
    const std::vector<std::function<void(int)>> recipes = {
        [&](int n) { CreateGreenSmoke(0, 0, 50, 0, 1000, 10, n, pack); },
        [&](int n) { CreateCigarSmoke(0, 0, 50, 0, 1000, 10, n, pack); },
        [&](int n) { CreateCigarSmoke2(0, 0, 50, 50, 1000, 10, n, pack); },
        [&](int n) { CreateCigarSmoke3(0, 0, 50, 0, 1000, 10, n, pack); },
        [&](int n) { CreateCigarSmoke4(0, 0, 50, 0, 1000, 10, n, pack); },
        [&](int n) { CreateBlackSmoke(0, 0, 50, 1000, 10, n, pack); },
        [&](int n) { CreateCrossFireDir(0, 0, 0, 100, 1000, n, 10, pack); },
    };
    for (size_t k = 0; k < recipes.size(); ++k) {
        pack->Clear();
        recipes[k](0);
        recipes[k](-3);
        EXPECT_TRUE(All().empty()) << k;
        recipes[k](3);
        EXPECT_EQ(All().size(), 3u) << k;
    }
}

TEST_F(LibraryRecipesTest, RisingSmokesRiseFadeInAndBackAndTheCigarIsBlownLeft) {
    CreateCigarSmoke4(1000, 500, 100, 0, 2000, 50, 20, pack);
    for (const auto& p : Alpha()) {
        EXPECT_GE(p->x2, 500.0f);
        EXPECT_LE(p->x2, 550.0f);
        EXPECT_LE(p->y2, 503 - 100.0f);
        EXPECT_GE(p->y2, 497 - 115.0f);
        EXPECT_EQ(p->isAlphaBack, 1);
        EXPECT_EQ(p->a2, 0.25f);
        EXPECT_GE(p->r1, 50.0f);
        EXPECT_LE(p->r1, 150.0f);
        EXPECT_GE(p->rot2, 360.0f);
        EXPECT_LE(p->startTime, 50);
    }
    pack->Clear();
    CreateGreenSmoke(0, 0, 100, 0, 2000, 50, 5, pack);
    ASSERT_EQ(Light().size(), 5u);
    EXPECT_EQ(Light()[0]->r1, 0.0f);

    pack->Clear();
    for (int k = 0; k < 50; ++k) CreateGreenSmoke2(200, 200, pack);
    for (const auto& p : Light()) EXPECT_LE(p->y2, 201.0f);  // the end lies at or above the centre
}

TEST_F(LibraryRecipesTest, GunFireFansUpToTheDirectionAndRingsAllRound) {
    CreateGunFire(100, 100, 37.5f, 1, 300, pack);
    auto flash = Light();
    ASSERT_EQ(flash.size(), 38u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(flash[i]->rot1, -2.0f + 5 * (i + 1) - 90) << i;  // 3, 8, ... 38
    for (int j = 0; j < 30; ++j) {
        EXPECT_EQ(flash[8 + j]->rot1, 12.0f * (j + 1) - 90);
        EXPECT_EQ(flash[8 + j]->lifeTime, 360);
        EXPECT_EQ(flash[8 + j]->a1, 0.02f);
    }
    // The tongue's start colour: 0.7 in single precision lies just below 0.7.
    bool seen = false;
    for (int k = 0; k < 200 && !seen; ++k) {
        pack->Clear();
        CreateGunFire(0, 0, 0, 1, 300, pack);
        for (int i = 0; i < 8; ++i) {
            const auto& p = pack->lightBlend_particles[i];
            if (p->r1 == 230.0f) {
                EXPECT_EQ(p->g1, 160.0f);
                EXPECT_EQ(p->b1, 115.0f);
                seen = true;
            }
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(LibraryRecipesTest, ACrossFireOfLengthZeroSwingsToBothSidesAndBack) {
    CreateCrossFireDir(200, 200, 0, 0, 800, 20, 0, pack);
    for (const auto& p : Light()) {
        EXPECT_EQ(p->x2, p->x1);
        EXPECT_EQ(p->y2, p->y1);
        const float side1 = p->my1 - p->y1, side2 = p->my2 - p->y1;
        EXPECT_GE(std::abs(side1), 19.0f);
        EXPECT_LE(std::abs(side1), 31.0f);
        EXPECT_LT(side1 * side2, 0.0f);
        EXPECT_EQ(p->isAlphaSin, 1);
        EXPECT_EQ(p->isUsingBothPoints, 1);
    }
}

TEST_F(LibraryRecipesTest, PowerGatheringsAre72RaysShrinkingIn) {
    CreateSummitPower(100, 100, 10, 20, 30, pack);
    auto rays = Light();
    ASSERT_EQ(rays.size(), 72u);
    for (int k = 0; k < 72; ++k) {
        EXPECT_EQ(rays[k]->posRotX1, 5.0f * k);
        EXPECT_EQ(rays[k]->rot1, 5.0f * k - 90);
        EXPECT_EQ(rays[k]->rot2, rays[k]->rot1);
        EXPECT_EQ(rays[k]->w1, 1.0f);
        EXPECT_EQ(rays[k]->w2, 0.0f);
        EXPECT_EQ(rays[k]->sy1, 6.0f);
        EXPECT_LE(rays[k]->startTime, 666);
        EXPECT_LE(rays[k]->r2, 255.0f);
    }
    pack->Clear();
    CreateSummitPower2(100, 100, 10, 20, 30, pack);
    EXPECT_FLOAT_EQ(Light()[0]->sy1, 1.2f);
    EXPECT_EQ(Light()[0]->lifeTime, 1000);
}

TEST_F(LibraryRecipesTest, MegaBoomsBurstThenSmoke) {
    CreateMegaBoom2(400, 300, pack);
    int rays = 0;
    for (const auto& p : Light()) rays += p->n == 7 ? 1 : 0;
    EXPECT_EQ(rays, 2);  // its ray ring has a step of 180
    EXPECT_EQ(Light().size(), 330u + 2u + 330u);
    auto smoke = Alpha();
    ASSERT_EQ(smoke.size(), 161u);
    EXPECT_EQ(smoke[160]->startTime, 480);
    EXPECT_EQ(smoke[0]->lifeTime, 4000);
    EXPECT_EQ(smoke[0]->mx1, smoke[0]->x2);  // slowing to a stop

    auto full = CreateEngParticlePackage(10);
    Fill(full, EngAlphaBlend);
    CreateMegaBoomReverse(0, 0, full);
    for (const auto& p : full->alphaBlend_particles) EXPECT_EQ(p->isAlphaBack, 0);
    EXPECT_EQ(full->CountInUse(), 10);
}

TEST_F(LibraryRecipesTest, AStarShowerFillsWhicheverPoolHasRoom) {
    auto half = CreateEngParticlePackage(150);
    Fill(half, EngAlphaBlend);
    CreateStarBoom(300, 300, half);
    auto stars = InUse(half->lightBlend_particles);
    ASSERT_EQ(stars.size(), 100u);
    for (const auto& p : stars) {
        EXPECT_EQ(p->n, 13);
        EXPECT_GE(p->y2, 750.0f);
        EXPECT_LT(p->my1, 300.0f);  // up first
    }
}

}  // namespace
