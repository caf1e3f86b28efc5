// Emitter shapes: text forms, random offsets and the order of their random draws.
#include "engine/particles/Emitter_Shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EmitterTestSupport.h"
#include "engine/screen/AppObj.h"

namespace {

using emittertest::ParticleFixture;

class EmitterShapeTest : public ParticleFixture {};

const char* const kTooFew =
    "ERROR ( File: Emitter_Shape  Code: CreateAESFromString ) "
    "Value Array for Emitter Shape doesn't have enough elements!";

TEST_F(EmitterShapeTest, TextFormsReadBackAsTheSameKindAndValues) {
    struct Case {
        TAppEmitterShapePtr shape;
        std::string text;
    } cases[] = {
        {CreateAESPoint(), "POINT)0.00000000&0.00000000&0.00000000&0.00000000&0.00000000&0.00000000"},
        {CreateAESBox(20, 10, 0, 0), "BOX)20.0000000&10.0000000&0.00000000&0.00000000&0.00000000&0.00000000"},
        {CreateAESElipse(30, 20, 10, 5, 45, 90.5f),
         "ELIPSE)30.0000000&20.0000000&10.0000000&5.00000000&45.0000000&90.5000000"},
        {CreateAESLine(-30, 4, 100), "LINE)-30.0000000&4.00000000&100.000000&0.00000000&0.00000000&0.00000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.shape->ToString(), c.text);
        TAppEmitterShapePtr back = CreateAESFromString(c.text);
        EXPECT_EQ(typeid(*back), typeid(*c.shape)) << c.text;
        EXPECT_EQ(back->ToString(), c.text);
        TAppEmitterShapePtr copy = c.shape->Copy();
        EXPECT_EQ(typeid(*copy), typeid(*c.shape));
        EXPECT_EQ(copy->ToString(), c.text);
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(EmitterShapeTest, LoaderReadsKindsIgnoringCaseAndFallsBackToAPoint) {
    auto box = CreateAESFromString("box)5&5&0&0&0&0");
    EXPECT_EQ(typeid(*box), typeid(TAEShapeBox));
    auto extra = CreateAESFromString("LINE)1&2&3&4&5&6&7");
    EXPECT_EQ(extra->Value.size(), 7u) << "values beyond six are kept";
    EXPECT_EQ(typeid(*CreateAESFromString("")), typeid(TAppEmitterShape));
    EXPECT_TRUE(Errors().empty());

    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"LINE)90&0&100&0&0", kTooFew},
        {"BOX", kTooFew},
        {"CIRCLE)1&2&3&4&5&6",
         "ERROR ( File: Emitter_Shape  Code: CreateAESFromString ) "
         "Unknown Emitter Shape type: CIRCLE."},
    };
    for (const Case& c : cases) {
        emittertest::ErrorLines().clear();
        auto shape = CreateAESFromString(c.text);
        EXPECT_EQ(typeid(*shape), typeid(TAppEmitterShape)) << c.text;
        EXPECT_EQ(shape->ToString(), CreateAESPoint()->ToString());
        ASSERT_EQ(Errors().size(), 1u) << c.text;
        EXPECT_EQ(Errors()[0], c.error);
    }
}

TEST_F(EmitterShapeTest, FromStringFillsOnlyTheValuesItHolds) {
    auto shape = CreateAESBox(1, 2, 3, 4);
    EXPECT_EQ(shape->FromString("7&x&9&10&11&12&13"), "");
    EXPECT_EQ(shape->ToString(), "BOX)7.00000000&0.00000000&9.00000000&10.0000000&11.0000000&12.0000000");
    EXPECT_EQ(shape->Value.size(), 6u);
}

TEST_F(EmitterShapeTest, OffsetsStayInsideTheShape) {
    auto point = CreateAESPoint();
    auto box = CreateAESBox(20, 10);
    auto ring = CreateAESElipse(50, 30, 50, 30, 0, 360);
    auto line = CreateAESLine(0, 0, 100);
    const int32_t seed = RndSeed();
    EXPECT_EQ(point->GetRandomX(), 0);
    EXPECT_EQ(point->GetRandomY(), 0);
    EXPECT_EQ(RndSeed(), seed) << "a point draws nothing";
    for (int i = 0; i < 200; ++i) {
        const int bx = box->GetRandomX(), by = box->GetRandomY();
        EXPECT_TRUE(bx >= -20 && bx <= 20 && by >= -10 && by <= 10) << bx << "," << by;
        // On the outline (whole pixels, truncated toward zero).
        const int ex = ring->GetRandomX(), ey = ring->GetRandomY();
        const double onRing = std::pow(ex / 50.0, 2) + std::pow(ey / 30.0, 2);
        EXPECT_TRUE(onRing <= 1.0 && onRing > 0.9) << ex << "," << ey;
        const int lx = line->GetRandomX(), ly = line->GetRandomY();
        EXPECT_TRUE(lx >= 0 && lx <= 100 && ly == 0) << lx << "," << ly;
    }
}

TEST_F(EmitterShapeTest, DrawsHappenInGetRandomXInAFixedOrder) {
    // The line draws its scatter angle, scatter distance and length in GetRandomX; Y draws none.
    auto line = CreateAESLine(90, 5, 40);
    SeedRnd(1234);
    const int angle = Rand(0, 360), scatter = Rand(0, 5), along = Rand(0, 40);
    const int32_t after = RndSeed();
    SeedRnd(1234);
    const int x = line->GetRandomX();
    EXPECT_EQ(RndSeed(), after);
    const int y = line->GetRandomY();
    EXPECT_EQ(RndSeed(), after);
    EXPECT_EQ(x, static_cast<int>(CosDeg(angle) * scatter + CosDeg(90) * along));
    EXPECT_EQ(y, static_cast<int>(SinDeg(angle) * scatter + SinDeg(90) * along));

    // The ellipse: the angle and the x radius in GetRandomX, the y radius in GetRandomY.
    auto ellipse = CreateAESElipse(40, 20, 10, 5, 30, 60);
    SeedRnd(77);
    const float a = static_cast<float>(Rnd(30.0, 90.0));
    const double rx = Rnd(10.0, 40.0), ry = Rnd(5.0, 20.0);
    SeedRnd(77);
    EXPECT_EQ(ellipse->GetRandomX(), static_cast<int>(CosDeg(a) * rx));
    EXPECT_EQ(ellipse->GetRandomY(), static_cast<int>(SinDeg(a) * ry));
}

}  // namespace
