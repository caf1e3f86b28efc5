// One keyframe particle: its timing by the application clock, its channels with and without
// easing, its routes and its motion about a centre.
#include "game/effects/EngParticle.h"

#include <cmath>

#include "EffectsTestSupport.h"

namespace {

using effectstest::MakeLine;

class ParticleTest : public effectstest::EffectsFixture {
protected:
    // A bare particle in use at the given progress, every channel linear.
    static TEngParticle At(float per) {
        TEngParticle p;
        p.per = per;
        p.isOnUse = 1;
        return p;
    }
};

TEST_F(ParticleTest, ShowsFromStartPlusDelayIsDrawnOnceAtItsEndValuesThenFreed) {
    auto pack = CreateEngParticlePackage(2);
    SetNow(10000);
    auto p = MakeLine(pack, EngLightBlend, 500, 1000);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->startTime, 10500);
    EXPECT_EQ(p->endTime, 11500);

    SetNow(10499);
    EXPECT_EQ(p->draw(1, 0, 0), 0);
    EXPECT_EQ(p->visible, 0);
    SetNow(10500);
    EXPECT_EQ(p->draw(1, 0, 0), 1);
    EXPECT_FLOAT_EQ(p->per, 0.0f);
    SetNow(11000);
    p->draw(1, 0, 0);
    EXPECT_FLOAT_EQ(p->per, 0.5f);
    EXPECT_FLOAT_EQ(p->x, 50.0f);

    // A long gap: the first draw at or after the end draws the end values, once.
    SetNow(20000);
    EXPECT_EQ(p->draw(1, 0, 0), 1);
    EXPECT_FLOAT_EQ(p->x, 100.0f);
    EXPECT_FLOAT_EQ(p->alpha, 0.0f);
    EXPECT_FLOAT_EQ(p->rotation, 90.0f);
    EXPECT_EQ(p->r, 200);
    EXPECT_EQ(p->isOnUse, 0);
    EXPECT_EQ(p->draw(1, 0, 0), 0);
}

TEST_F(ParticleTest, ALifeOfZeroEndsAtItsStartWithoutNaN) {
    auto pack = CreateEngParticlePackage(2);
    SetNow(1000);
    auto p = MakeLine(pack, EngAlphaBlend, 0, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->draw(1, 0, 0), 1);
    EXPECT_FLOAT_EQ(p->per, 1.0f);
    EXPECT_FALSE(std::isnan(p->x));
    EXPECT_FLOAT_EQ(p->x, 100.0f);
    EXPECT_FLOAT_EQ(p->alpha, 0.0f);
    EXPECT_EQ(p->isOnUse, 0);
}

TEST_F(ParticleTest, AlphaEasesAndGoesOutAndBack) {
    struct Case {
        float per;
        int sine, back;
        float want;
    };
    const Case cases[] = {
        {0.5f, 0, 0, 0.5f}, {0.5f, 1, 0, 0.70710677f}, {0.1f, 0, 1, 0.4f}, {0.5f, 0, 1, 1.0f},
        {0.9f, 0, 1, 0.4f}, {0.25f, 0, 1, 1.0f},       {1.0f, 0, 1, 0.0f}, {0.0f, 1, 0, 0.0f},
    };
    for (const Case& c : cases) {
        TEngParticle p = At(c.per);
        p.a1 = 0;
        p.a2 = 1;
        p.isAlphaSin = c.sine;
        p.isAlphaBack = c.back;
        p._updateAlpha();
        EXPECT_NEAR(p.alpha, c.want, 1e-5f) << "per " << c.per << " sine " << c.sine << " back " << c.back;
    }
}

TEST_F(ParticleTest, EachChannelEasesByItsOwnFlag) {
    TEngParticle p = At(0.5f);
    p.sx1 = p.sy1 = 0;
    p.sx2 = p.sy2 = 2;
    p.rot1 = 0;
    p.rot2 = 100;
    p.r2 = p.g2 = p.b2 = 255;
    p.isScaleYSin = 1;
    p.isColorSin = 1;
    p._updateScale();
    p._updateRotation();
    p._updateColor();
    EXPECT_FLOAT_EQ(p.sx, 1.0f);
    EXPECT_NEAR(p.sy, 1.4142135f, 1e-5f);
    EXPECT_FLOAT_EQ(p.rotation, 50.0f);
    EXPECT_EQ(p.r, 180);  // 255 * 0.7071, truncated

    p.isColorSin = 0;
    p._updateColor();
    EXPECT_EQ(p.g, 127);  // 127.5 truncated
}

TEST_F(ParticleTest, RoutesFollowTheirShape) {
    struct Case {
        const char* what;
        int shape;
        float mx1, my1, mx2, my2;
        float per, wantX, wantY;
    };
    const Case cases[] = {
        // Quadratic with the control point on the start: x1 + e^2 (x2 - x1).
        {"quadratic from rest", 0, 0, 0, 999, 999, 0.5f, 25.0f, 50.0f},
        // Quadratic with the control point at the middle: even speed; mx2, my2 play no part.
        {"quadratic even", 0, 50, 100, -999, -999, 0.25f, 25.0f, 50.0f},
        // Cubic with both control points on the line at thirds: even speed.
        {"cubic even", 1, 100.0f / 3, 200.0f / 3, 200.0f / 3, 400.0f / 3, 0.3f, 30.0f, 60.0f},
        {"straight", -1, 999, 999, 999, 999, 0.75f, 75.0f, 150.0f},
    };
    for (const Case& c : cases) {
        TEngParticle p = At(c.per);
        p.x1 = 0;
        p.y1 = 0;
        p.x2 = 100;
        p.y2 = 200;
        p.isUsingBothPoints = c.shape;
        p.mx1 = c.mx1;
        p.my1 = c.my1;
        p.mx2 = c.mx2;
        p.my2 = c.my2;
        p._updatePosition();
        EXPECT_NEAR(p.x, c.wantX, 1e-3f) << c.what;
        EXPECT_NEAR(p.y, c.wantY, 1e-3f) << c.what;
    }
    // The route's easing: at per 0.5 a straight eased route is at 70.7 %.
    TEngParticle p = At(0.5f);
    p.x2 = 100;
    p.isUsingBothPoints = -1;
    p.isRouteSin = 1;
    p._updatePosition();
    EXPECT_NEAR(p.x, 70.71068f, 1e-3f);
}

TEST_F(ParticleTest, MotionAboutACentreRunsACircleAnEllipseOrASpiral) {
    TEngParticle p;
    p.ox = 300;
    p.oy = 200;
    p.w1 = p.w2 = p.h1 = p.h2 = 50;
    p.posRotX1 = p.posRotY1 = 0;
    p.posRotX2 = p.posRotY2 = 360;
    for (float per : {0.0f, 0.25f, 0.5f, 1.0f}) {
        p.per = per;
        p._updateRotationPosition();
        const float a = 360.0f * per * 3.14159265f / 180.0f;
        EXPECT_NEAR(p.x, 300 + 50 * std::cos(a), 1e-3f) << per;
        EXPECT_NEAR(p.y, 200 + 50 * std::sin(a), 1e-3f) << per;
    }
    // A growing radius: a spiral out.
    p.w1 = p.h1 = 0;
    p.w2 = p.h2 = 100;
    p.per = 0.5f;
    p._updateRotationPosition();
    EXPECT_NEAR(p.x, 250.0f, 1e-3f);
    EXPECT_NEAR(p.y, 200.0f, 1e-3f);
}

TEST_F(ParticleTest, PositioningTypeChoosesTheMotion) {
    auto pack = CreateEngParticlePackage(2);
    auto p = MakeLine(pack, EngLightBlend, 0, 1000);
    p->PositioningType = 2;  // leaves the position as it is
    p->x = 7;
    SetNow(500);
    p->update();
    EXPECT_FLOAT_EQ(p->x, 7.0f);
    EXPECT_FLOAT_EQ(p->alpha, 0.5f);
}

TEST_F(ParticleTest, MoveInTimeShiftsTheWindowByLifetimes) {
    TEngParticle p;
    p.startTime = 1000;
    p.lifeTime = 300;
    p.endTime = 1300;
    p.MoveInTime(-0.5f);
    EXPECT_EQ(p.startTime, 850);
    EXPECT_EQ(p.endTime, 1150);
}

TEST_F(ParticleTest, SineSettersOnlySet) {
    TEngParticle p;
    p.SetAlphaScaleAndRotationSin();
    EXPECT_EQ(p.isAlphaSin + p.isScaleXSin + p.isScaleYSin + p.isRotationSin, 4);
    EXPECT_EQ(p.isRouteSin, 0);
    auto q = std::make_shared<TEngParticle>();
    SetRouteSin(q);
    SetColorSin(q);
    SeTEngParticleScaleYSin(q);
    EXPECT_EQ(q->isRouteSin + q->isColorSin + q->isScaleYSin, 3);
    EXPECT_EQ(q->isScaleXSin, 0);
}

TEST_F(ParticleTest, DrawingWithoutAnImageForItsNumberDrawsNothingAndGoesOn) {
    auto pack = CreateEngParticlePackage(2);
    auto p = MakeLine(pack, EngLightBlend, 0, 1000);
    p->n = 40;  // no numbered images at all
    SetNow(10);
    EXPECT_EQ(p->draw(1, 0, 0), 1);
    p->n = -1;
    EXPECT_EQ(p->draw(1, 0, 0), 1);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ParticleTest, FreeDropsTheWholeChain) {
    auto sub = std::make_shared<TEngParticle>();
    sub->image = CreateImage(4, 4);
    TEngParticle p;
    p.subPart = sub;
    p.image = CreateImage(4, 4);
    p.Free();
    EXPECT_EQ(p.subPart, nullptr);
    EXPECT_EQ(p.image, nullptr);
    EXPECT_EQ(sub->image, nullptr);
    EXPECT_EQ(p.package, nullptr);
}

}  // namespace
