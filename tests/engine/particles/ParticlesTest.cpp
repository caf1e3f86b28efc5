// The engine's particle pool and particles: taking and giving back, life, motion and gravity,
// pre-filling moves.
#include "engine/particles/Particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EmitterTestSupport.h"
#include "engine/data/GradientLibrary.h"

namespace {

using emittertest::ParticleFixture;

class ParticlesTest : public ParticleFixture {
protected:
    TAppParticlePackage pool;

    // A particle with no motion of its own, in the alpha pool.
    TAppParticlePtr Make(int32_t life = 1000, int32_t wait = 0) {
        return CreateAppParticle(&pool, nullptr, 0, 0, wait, life, 3, 0, 0, 0, 0, 0);
    }
};

TEST_F(ParticlesTest, PoolHandsOutFromTheFrontIntoTheLowestFreeSlot) {
    pool.Init(3);
    ASSERT_EQ(pool.Particles.size(), 3u);
    const std::vector<TAppParticlePtr> order(pool.Particles.begin(), pool.Particles.end());
    for (const auto& p : order) EXPECT_EQ(p->Package, &pool);

    auto a = Make(), b = Make(), c = Make();
    EXPECT_EQ(a, order[0]);
    EXPECT_EQ(b, order[1]);
    EXPECT_EQ(c, order[2]);
    EXPECT_EQ(b->MyPackageIndex, 1);
    EXPECT_EQ(Make(), nullptr) << "every particle is in use";

    // The one given back is the only free one, and it takes the lowest free slot.
    b->Destroy();
    EXPECT_EQ(pool.AlphaParticlesInUse[1], nullptr);
    auto again = Make();
    EXPECT_EQ(again, b);
    EXPECT_EQ(again->MyPackageIndex, 1);

    // Given back a then c: handed out a then c, each into the lowest free slot of its blend.
    a->Destroy();
    c->Destroy();
    auto light = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 4, 0, 0, 0, 0, 0);
    EXPECT_EQ(light, a);
    EXPECT_EQ(light->blend, 4);
    EXPECT_EQ(light->MyPackageIndex, 0);
    auto alpha = Make();
    EXPECT_EQ(alpha, c);
    EXPECT_EQ(alpha->MyPackageIndex, 0);
    EXPECT_EQ(pool.CountInUse(), 3);
}

TEST_F(ParticlesTest, NoParticleFromAnEmptyPoolOrAnUnknownBlend) {
    struct Case {
        int32_t size, blend;
    } cases[] = {{0, 3}, {0, 4}, {4, 0}, {4, 2}, {4, 5}};
    for (const Case& c : cases) {
        pool.Init(c.size);
        EXPECT_EQ(CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, c.blend, 0, 0, 0, 0, 0), nullptr)
            << "size " << c.size << " blend " << c.blend;
        EXPECT_EQ(pool.Particles.size(), static_cast<size_t>(c.size));
    }
    EXPECT_EQ(CreateAppParticle(nullptr, nullptr, 0, 0, 0, 1000, 3, 0, 0, 0, 0, 0), nullptr);
}

TEST_F(ParticlesTest, TakenParticleIsResetAndStarted) {
    pool.Init(1);
    SetNow(500);
    auto p = Make();
    p->r = 1;
    p->Alpha = 0.25f;
    p->ScaleX = 3;
    p->Rotation = 45;
    p->Gradient = std::make_shared<TGradient>();
    p->Started = 1;
    p->WasEnded = 1;
    p->Destroy();

    auto img = CreateImgFromImage(CreateImage(2, 2));
    auto q = CreateAppParticle(&pool, img, 7, 8, 40, 900, 3, 1.5f, -2.0f, 0.25f, 33.0f, 0.5f);
    ASSERT_EQ(q, p);
    EXPECT_EQ(q->Started, 0);
    EXPECT_EQ(q->WasEnded, 0);
    EXPECT_EQ(q->r, 255);
    EXPECT_EQ(q->Alpha, 1.0f);
    EXPECT_EQ(q->ScaleX, 1.0f);
    EXPECT_EQ(q->Rotation, 0.0f);
    EXPECT_EQ(q->Gradient, nullptr);
    EXPECT_EQ(q->Img, img);
    EXPECT_EQ(q->x, 7.0f);
    EXPECT_EQ(q->y, 8.0f);
    EXPECT_EQ(q->StartVX, 1.5f);
    EXPECT_EQ(q->StartVY, -2.0f);
    EXPECT_EQ(q->Acc, 0.25f);
    EXPECT_EQ(q->GravityAngle, 33.0f);
    EXPECT_EQ(q->GravityForce, 0.5f);
    EXPECT_EQ(q->WaitTime, 540);
    EXPECT_EQ(q->LifeTime, 900);
}

TEST_F(ParticlesTest, LifeEndsOneDrawAfterItRunsOut) {
    // Drawing the pool advances each particle once; the update that first finds the life over
    // only marks it, the next gives it back.
    struct Case {
        int32_t life;
        float delta;
        int endsAt;  // the draw that sets WasEnded
    } cases[] = {{1000, 1.0f, 61}, {0, 1.0f, 1}, {0, 0.0f, 1}};
    for (const Case& c : cases) {
        pool.Init(1);
        delta = c.delta;
        auto p = Make(c.life);
        for (int i = 1; i < c.endsAt; ++i) pool.Draw(0, 0);
        EXPECT_LT(p->Per, 1.0f) << "life " << c.life;
        EXPECT_EQ(p->WasEnded, 0);
        pool.Draw(0, 0);
        EXPECT_EQ(p->Per, 1.0f) << "life " << c.life << " delta " << c.delta;
        EXPECT_EQ(p->WasEnded, 1);
        EXPECT_EQ(pool.CountInUse(), 1);
        pool.Draw(0, 0);
        EXPECT_EQ(pool.CountInUse(), 0);
        EXPECT_EQ(pool.Particles.size(), 1u);
    }
}

TEST_F(ParticlesTest, WaitingParticleNeitherAdvancesNorMoves) {
    pool.Init(1);
    auto p = CreateAppParticle(&pool, nullptr, 0, 0, 100, 1000, 3, 2.0f, 0, 0, 0, 0);
    SetNow(99);
    pool.Draw(0, 0);
    EXPECT_EQ(p->Started, 0);
    EXPECT_EQ(p->x, 0.0f);
    SetNow(100);
    pool.Draw(0, 0);
    EXPECT_EQ(p->Started, 1);
    EXPECT_EQ(p->x, 2.0f);
    EXPECT_GT(p->Per, 0.0f);
}

TEST_F(ParticlesTest, MovesWithVelocityAccelerationAndCurves) {
    pool.Init(1);
    delta = 2.0f;
    auto p = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 3, 1.0f, 0.5f, 0.5f, 0, 0);
    p->Gradient = LoadGradientFromString("0,0,0,0,0#200,100,50,1,1");
    p->Transform = LoadTransformFromString("1,1,0,0,0#3,5,90,1,0");
    p->Update();
    // Moved by the old velocity, then accelerated along the start velocity; both scaled by delta.
    EXPECT_FLOAT_EQ(p->x, 2.0f);
    EXPECT_FLOAT_EQ(p->y, 1.0f);
    EXPECT_FLOAT_EQ(p->vx, 2.0f);
    EXPECT_FLOAT_EQ(p->vy, 1.0f);
    const float per = p->Per;
    EXPECT_NEAR(per, 2.0f / 60.0f, 1e-6);
    EXPECT_EQ(p->r, static_cast<int>(200 * per));
    EXPECT_FLOAT_EQ(p->Alpha, per);
    EXPECT_FLOAT_EQ(p->ScaleY, 1.0f + 4.0f * per);
    EXPECT_FLOAT_EQ(p->Rotation, 90.0f * per);
}

TEST_F(ParticlesTest, GravityPullsOncePerUpdateAlongItsWholeDegree) {
    struct Case {
        float angle;
        float stored;    // the angle afterwards
        int tableIndex;  // the degree whose sine and cosine pull
    } cases[] = {{90.0f, 90.0f, 90},    {400.0f, 359.0f, 359}, {359.7f, 359.0f, 359}, {45.9f, 45.9f, 45},
                 {-90.0f, -90.0f, 270}, {-1.0f, -1.0f, 359},   {-0.5f, -0.5f, 0},     {-725.0f, -725.0f, 355}};
    for (const Case& c : cases) {
        pool.Init(1);
        delta = 3.0f;  // the pull is not scaled by the frame delta
        auto p = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 3, 0, 0, 0, c.angle, 2.0f);
        p->Update();
        EXPECT_EQ(p->GravityAngle, c.stored) << c.angle;
        EXPECT_FLOAT_EQ(p->vx, 2.0f * CosTable[c.tableIndex]) << c.angle;
        EXPECT_FLOAT_EQ(p->vy, 2.0f * SinTable[c.tableIndex]) << c.angle;
        EXPECT_EQ(p->y, 0.0f) << "the move comes before the pull";
    }
    pool.Init(1);
    auto p = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 3, 0, 0, 0, 90.0f, 1.0f);
    p->Update();
    p->Update();
    EXPECT_GT(p->y, 0.0f) << "90 degrees pulls toward increasing y";
}

TEST_F(ParticlesTest, CopyMakesAPoolOfTheFreeCount) {
    pool.Init(100);
    for (int i = 0; i < 30; ++i) ASSERT_NE(Make(), nullptr);
    auto copy = pool.Copy();
    EXPECT_EQ(copy->Particles.size(), 70u);
    EXPECT_EQ(copy->AlphaParticlesInUse.size(), 70u);
    EXPECT_EQ(copy->CountInUse(), 0);
    EXPECT_EQ(copy->Particles.front()->Package, copy.get());
}

TEST_F(ParticlesTest, MoveInTimeShiftsAFreshParticleIntoItsLife) {
    pool.Init(3);
    SetNow(1000);
    // Without gravity: straight along the velocity for the time at 60 frames per second.
    auto straight = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 3, 1.0f, 0, 0, 0, 0);
    straight->MoveInTime(500);
    EXPECT_EQ(straight->WaitTime, 500);
    EXPECT_FLOAT_EQ(straight->x, 30.0f);
    EXPECT_FLOAT_EQ(straight->Per, 0.5f);
    // With gravity: trunc(t * 60) + 1 single frames, each moving and then pulling.
    auto falling = CreateAppParticle(&pool, nullptr, 0, 0, 0, 1000, 3, 0, 0, 0, 90.0f, 1.0f);
    falling->MoveInTime(50);
    EXPECT_FLOAT_EQ(falling->y, 0.0f + 1.0f + 2.0f + 3.0f);
    EXPECT_FLOAT_EQ(falling->vy, 4.0f);
    // Longer than its life: given back at once.
    auto gone = CreateAppParticle(&pool, nullptr, 0, 0, 0, 400, 3, 0, 0, 0, 0, 0);
    gone->MoveInTime(401);
    EXPECT_EQ(pool.CountInUse(), 2);
    EXPECT_EQ(pool.Particles.back(), gone);
    // A start still in the future after the shift: nothing moves.
    auto later = CreateAppParticle(&pool, nullptr, 0, 0, 900, 1000, 3, 1.0f, 0, 0, 0, 0);
    later->MoveInTime(500);
    EXPECT_EQ(later->WaitTime, 1400);
    EXPECT_EQ(later->x, 0.0f);
}

TEST_F(ParticlesTest, GivingBackTwiceOrAfterInitIsHarmless) {
    pool.Init(2);
    auto p = Make();
    p->Destroy();
    p->Destroy();
    EXPECT_EQ(pool.Particles.size(), 2u);
    auto q = Make();
    pool.Init(2);  // q is dropped with the old arrays
    q->Destroy();
    EXPECT_EQ(pool.Particles.size(), 2u);
    EXPECT_EQ(pool.CountInUse(), 0);

    // A particle kept beyond its pool's life no longer reaches it.
    TAppParticlePtr kept;
    {
        TAppParticlePackage gone;
        gone.Init(1);
        kept = CreateAppParticle(&gone, nullptr, 0, 0, 0, 1000, 3, 0, 0, 0, 0, 0);
    }
    EXPECT_EQ(kept->Package, nullptr);
    kept->Destroy();
}

}  // namespace
