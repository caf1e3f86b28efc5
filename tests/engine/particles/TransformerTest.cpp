// Particle transformers: their text forms, what each kind does to a particle, and the random
// numbers it draws.
#include "engine/particles/Transformer.h"

#include <gtest/gtest.h>

#include <string>

#include "EmitterTestSupport.h"
#include "engine/particles/Particles.h"

namespace {

using TransformerTest = emittertest::OneParticleFixture;

const std::string kCurve =
    "0.500000000,1.00000000,0.00000000,0.00000000,0#1.50000000,1.50000000,360.000000,1.00000000,0";

TEST_F(TransformerTest, TextFormsReadBackAsTheSameKind) {
    auto array = std::make_shared<TTransformerTransformArray>();
    array->DeleteTransform(1);
    struct Case {
        TTransformerPtr source;
        std::string text;  // empty: not checked
    } cases[] = {
        {std::make_shared<TTransformer>(), "TRANSFORMER)1.00000000,1.00000000,0.00000000,0.00000000,0"},
        {std::make_shared<TTransformerTransform>(), "TRANSFORM)" + kCurve},
        {std::make_shared<TTransformerRandomTFR>(), "RANDOM_TFR)" + kCurve},
        {array,
         "TRANSFORM_ARRAY)0.00000000,0.00000000,0.00000000,0.00000000,0#1.00000000,1.00000000,360.000000,1.00000000,0"},
        {std::make_shared<TTransformerBetweenTransforms>(), ""},
    };
    for (const Case& c : cases) {
        const std::string text = c.source->ToString();
        if (!c.text.empty()) {
            EXPECT_EQ(text, c.text);
        }
        TTransformerPtr back = LoadTransformerFromString(text);
        ASSERT_NE(back, nullptr) << text;
        EXPECT_EQ(typeid(*back), typeid(*c.source)) << text;
        EXPECT_EQ(back->ToString(), text);
    }
    EXPECT_EQ(array->ToString().find('&'), std::string::npos) << "one curve, no separator";
}

TEST_F(TransformerTest, KeywordsIgnoreCaseButNotBlanks) {
    auto t = LoadTransformerFromString("transformer)2,3,45,0,0");
    ASSERT_NE(std::dynamic_pointer_cast<TTransformer>(t), nullptr);
    EXPECT_EQ(typeid(*t), typeid(TTransformer));
    EXPECT_EQ(t->tfr->sy, 3.0f);
    EXPECT_EQ(typeid(*LoadTransformerFromString("Transform_Between)")), typeid(TTransformerBetweenTransforms));

    EXPECT_EQ(LoadTransformerFromString(" TRANSFORM)" + kCurve), nullptr);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0],
              "ERROR ( File: Transformer  Code: LoadTransformerFromString ) "
              "Unknown Transformer type:  TRANSFORM.");
}

TEST_F(TransformerTest, EmptyTextGivesTheGrowingTurningCurve) {
    auto t = std::dynamic_pointer_cast<TTransformerTransform>(LoadTransformerFromString(""));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(typeid(*t), typeid(TTransformerTransform));
    EXPECT_EQ(t->ToString(), "TRANSFORM)" + kCurve);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(TransformerTest, EachKindShapesTheParticle) {
    auto fixed = LoadTransformerFromString("TRANSFORMER)2,0.5,30,0,0");
    fixed->TransformParticle(&particle);
    EXPECT_EQ(particle.ScaleX, 2.0f);
    EXPECT_EQ(particle.ScaleY, 0.5f);
    EXPECT_EQ(particle.Rotation, 30.0f);
    EXPECT_EQ(particle.Transform, nullptr);

    particle.Reset();
    auto curve = std::make_shared<TTransformerTransform>();
    curve->TransformParticle(&particle);
    EXPECT_EQ(particle.Transform, curve->transform) << "the curve itself, shared";
    EXPECT_EQ(particle.ScaleX, 1.0f) << "values wait for the particle's first update";

    // The stop that holds any t below 1 is the first one.
    particle.Reset();
    const int32_t before = RndSeed();
    TTransformerRandomTFR random;
    random.TransformParticle(&particle);
    EXPECT_NE(RndSeed(), before);
    EXPECT_EQ(particle.ScaleX, 0.5f);
    EXPECT_EQ(particle.ScaleY, 1.0f);
    EXPECT_EQ(particle.Rotation, 0.0f);
    EXPECT_EQ(particle.Transform, nullptr);
}

TEST_F(TransformerTest, ArrayKindsPickOneCurveWithOneDraw) {
    for (TTransformerPtr t : {TTransformerPtr(std::make_shared<TTransformerTransformArray>()),
                              TTransformerPtr(std::make_shared<TTransformerBetweenTransforms>())}) {
        auto* array = dynamic_cast<TTransformerTransformArray*>(t.get());
        SeedRnd(99);
        const int expected = Rand(0, 1);
        const int32_t after = RndSeed();
        SeedRnd(99);
        particle.Reset();
        t->TransformParticle(&particle);
        EXPECT_EQ(particle.Transform, array->Transforms[static_cast<size_t>(expected)]);
        EXPECT_EQ(RndSeed(), after);
    }
}

TEST_F(TransformerTest, EmptyArrayLeavesTheParticleAloneAndReadsBack) {
    for (const std::string text : {"TRANSFORM_ARRAY)", "TRANSFORM_BETWEEN)", "TRANSFORM_ARRAY"}) {
        auto t = std::dynamic_pointer_cast<TTransformerTransformArray>(LoadTransformerFromString(text));
        ASSERT_NE(t, nullptr) << text;
        EXPECT_TRUE(t->Transforms.empty()) << text;
        const int32_t before = RndSeed();
        particle.Reset();
        t->TransformParticle(&particle);
        EXPECT_EQ(particle.Transform, nullptr);
        EXPECT_EQ(particle.ScaleX, 1.0f);
        EXPECT_EQ(RndSeed(), before) << "no draw without curves";
        auto back = std::dynamic_pointer_cast<TTransformerTransformArray>(LoadTransformerFromString(t->ToString()));
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(back->Transforms.empty());
    }
    // Deleting every curve comes to the same.
    TTransformerTransformArray array;
    array.DeleteTransform(5);
    EXPECT_EQ(array.Transforms.size(), 2u);
    array.DeleteTransform(0);
    array.DeleteTransform(0);
    EXPECT_EQ(array.ToString(), "TRANSFORM_ARRAY)");
    EXPECT_TRUE(Errors().empty());
}

TEST_F(TransformerTest, CopiesAreDeepAndTheBetweenKindCopiesAsAnArray) {
    TTransformerBetweenTransforms between;
    between.AddTransform(nullptr);  // an absent curve takes no slot
    EXPECT_EQ(between.Transforms.size(), 2u);
    TTransformerPtr copy = between.Copy();
    EXPECT_EQ(typeid(*copy), typeid(TTransformerTransformArray));
    EXPECT_EQ(copy->ToString().substr(0, 16), "TRANSFORM_ARRAY)");
    auto* array = dynamic_cast<TTransformerTransformArray*>(copy.get());
    ASSERT_EQ(array->Transforms.size(), 2u);
    EXPECT_NE(array->Transforms[0], between.Transforms[0]);
    EXPECT_EQ(array->Transforms[0]->ToString(), between.Transforms[0]->ToString());

    TTransformer fixed;
    fixed.tfr->sx = 4;
    auto fixedCopy = fixed.Copy();
    fixed.tfr->sx = 5;
    EXPECT_EQ(fixedCopy->tfr->sx, 4.0f);
}

}  // namespace
