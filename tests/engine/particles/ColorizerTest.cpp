// Particle colorizers: their text forms, what each kind does to a particle, and the random
// numbers it draws.
#include "engine/particles/Colorizer.h"

#include <gtest/gtest.h>

#include <string>

#include "EmitterTestSupport.h"
#include "engine/particles/Particles.h"
#include "engine/data/GradientLibrary.h"

namespace {

using ColorizerTest = emittertest::OneParticleFixture;

const std::string kRed = "255,0,0,1.00000000,1.00000000";

TEST_F(ColorizerTest, TextFormsReadBackAsTheSameKind) {
    auto one = std::make_shared<TColorizerGradientArray>();
    one->DeleteGradient(0);
    const TColorizerPtr kinds[] = {std::make_shared<TColorizer>(),
                                   std::make_shared<TColorizerFromGradient>(),
                                   std::make_shared<TColorizerRandomColor>(),
                                   std::make_shared<TColorizerGradient>(),
                                   std::make_shared<TColorizerGradientArray>(),
                                   std::make_shared<TColorizerGradientBetween>(),
                                   one};
    for (const TColorizerPtr& c : kinds) {
        const std::string text = c->ToString();
        TColorizerPtr back = LoadColorizerFromString(text);
        ASSERT_NE(back, nullptr) << text;
        EXPECT_EQ(typeid(*back), typeid(*c)) << text;
        EXPECT_EQ(back->ToString(), text);
    }
    EXPECT_EQ(TColorizer().ToString(), "COLORIZER)255,255,255,1.00000000,1.00000000");
    EXPECT_EQ(one->ToString(), "GRADIENT_ARRAY)" + CreateRedBlueGradient()->ToString());
}

TEST_F(ColorizerTest, KeywordsAreWholeWordsIgnoringCaseButNotBlanks) {
    const std::string g = CreateRedBlueGradient()->ToString();
    EXPECT_EQ(typeid(*LoadColorizerFromString("gradient)" + g)), typeid(TColorizerGradient));
    EXPECT_EQ(typeid(*LoadColorizerFromString("Gradient_Array)" + g)), typeid(TColorizerGradientArray));
    auto c = LoadColorizerFromString("colorizer)10,20,30,0.5,1");
    EXPECT_EQ(typeid(*c), typeid(TColorizer));
    EXPECT_EQ(c->rgb->g, 20);
    EXPECT_TRUE(Errors().empty());

    EXPECT_EQ(LoadColorizerFromString(" GRADIENT)" + g), nullptr);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0],
              "ERROR ( File: Colorizer  Code: LoadColorizerFromString ) "
              "Unknown Colorizer type:  GRADIENT.");
}

TEST_F(ColorizerTest, EmptyTextGivesARedColourOfItsOwn) {
    TColorizerPtr c = LoadColorizerFromString("");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(typeid(*c), typeid(TColorizer));
    EXPECT_EQ(c->ToString(), "COLORIZER)" + kRed);
    EXPECT_NE(c->rgb, RedRGB) << "never the shared named colour";
    c->rgb->g = 200;
    EXPECT_EQ(RedRGB->g, 0);
    c->ColorizeParticle(&particle);
    EXPECT_EQ(particle.r, 255);
    EXPECT_EQ(particle.g, 200);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ColorizerTest, EachKindColoursTheParticle) {
    LoadColorizerFromString("COLORIZER)10,20,30,0.5,1")->ColorizeParticle(&particle);
    EXPECT_EQ(particle.r, 10);
    EXPECT_EQ(particle.b, 30);
    EXPECT_EQ(particle.Alpha, 0.5f);
    EXPECT_EQ(particle.Gradient, nullptr);

    // A constant colour on the way from opaque white to transparent black, at one random t.
    particle.Reset();
    SeedRnd(5);
    const float t = static_cast<float>(Rnd(1.0, 0.0));
    SeedRnd(5);
    TColorizerFromGradient from;
    from.ColorizeParticle(&particle);
    EXPECT_EQ(particle.r, static_cast<int>(255.0 - 255.0 * static_cast<double>(t)));
    EXPECT_FLOAT_EQ(particle.Alpha, 1.0f - t);
    EXPECT_EQ(particle.Gradient, nullptr);

    // The random colour's default stops hold white for every t below 1.
    for (int i = 0; i < 20; ++i) {
        particle.Reset();
        TColorizerRandomColor().ColorizeParticle(&particle);
        EXPECT_EQ(particle.r, 255);
        EXPECT_EQ(particle.Alpha, 1.0f);
    }

    particle.Reset();
    TColorizerGradient shared;
    shared.ColorizeParticle(&particle);
    EXPECT_EQ(particle.Gradient, shared.Gradient);
    EXPECT_EQ(particle.r, 255) << "the colour waits for the particle's first update";
}

TEST_F(ColorizerTest, ArrayPicksOneGradientAndBetweenMixesTheFirstTwo) {
    TColorizerGradientArray array;
    SeedRnd(42);
    const int pick = Rand(0, 1);
    SeedRnd(42);
    array.ColorizeParticle(&particle);
    EXPECT_EQ(particle.Gradient, array.Gradient[static_cast<size_t>(pick)]);

    // A third gradient is never used: every mixed stop lies between the first two.
    TColorizerGradientBetween between;
    between.Gradient = {LoadGradientFromString("0,0,0,1,0#0,0,0,1,1"),
                        LoadGradientFromString("100,0,0,1,0#100,0,0,1,1"),
                        LoadGradientFromString("255,255,255,1,0#255,255,255,1,1")};
    for (int i = 0; i < 10; ++i) {
        particle.Reset();
        between.ColorizeParticle(&particle);
        ASSERT_NE(particle.Gradient, nullptr);
        EXPECT_NE(particle.Gradient, between.Gradient[0]) << "a gradient of its own";
        for (const auto& stop : particle.Gradient->rgb) {
            EXPECT_LE(stop->r, 100);
            EXPECT_EQ(stop->g, 0);
        }
    }
}

TEST_F(ColorizerTest, ShortArraysReadNoMissingSlot) {
    auto single = LoadGradientFromString("1,2,3,1,0#4,5,6,1,1");
    struct Case {
        TColorizerPtr colorizer;
        TGradientPtr expected;  // the particle's gradient afterwards
    } cases[] = {
        {CreateColorizerGradientArray({}), nullptr},
        {CreateColorizerGradientBetween({}), nullptr},
        {CreateColorizerGradientBetween({single}), single},
        {CreateColorizerGradientBetween({nullptr, single}), single},
        {LoadColorizerFromString("GRADIENT_BETWEEN)"), nullptr},
    };
    for (const Case& c : cases) {
        particle.Reset();
        const int32_t before = RndSeed();
        c.colorizer->ColorizeParticle(&particle);
        EXPECT_EQ(particle.Gradient, c.expected) << c.colorizer->ToString();
        EXPECT_EQ(particle.r, 255);
        EXPECT_EQ(RndSeed(), before) << c.colorizer->ToString();
        auto back = LoadColorizerFromString(c.colorizer->ToString());
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->ToString(), c.colorizer->ToString());
    }
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ColorizerTest, CopiesAreDeepAndTheBetweenKindCopiesAsAnArray) {
    TColorizerGradientBetween between;
    between.DeleteGradient(7);
    EXPECT_EQ(between.Gradient.size(), 2u);
    TColorizerPtr copy = between.Copy();
    EXPECT_EQ(typeid(*copy), typeid(TColorizerGradientArray));
    EXPECT_EQ(copy->ToString().substr(0, 15), "GRADIENT_ARRAY)");
    auto* array = dynamic_cast<TColorizerGradientArray*>(copy.get());
    ASSERT_EQ(array->Gradient.size(), 2u);
    EXPECT_NE(array->Gradient[1], between.Gradient[1]);
    EXPECT_EQ(array->Gradient[1]->ToString(), between.Gradient[1]->ToString());

    TColorizer plain;
    auto plainCopy = plain.Copy();
    EXPECT_NE(plainCopy->rgb, plain.rgb);
    EXPECT_EQ(plainCopy->ToString(), plain.ToString());
}

}  // namespace
