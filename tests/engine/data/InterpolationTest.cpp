#include "engine/data/Interpolation.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/data/Gradient.h"

namespace {
TRGB Rgb(int r, int g, int b, float a, float position = 1.0f) {
    TRGB c;
    c.SetData(r, g, b, a, position);
    return c;
}
}  // namespace

TEST(Interpolation, LerpRGBTruncatesAndExtrapolates) {
    struct Case {
        TRGB a, b;
        float t;
        int r, g, bl;
        float alpha;
    };
    const Case cases[] = {
        {Rgb(0, 0, 0, 0), Rgb(255, 100, 10, 1), 0.5f, 127, 50, 5, 0.5f},
        {Rgb(255, 255, 255, 1), Rgb(0, 0, 0, 0), 0.5f, 127, 127, 127, 0.5f},  // 127.5 truncated
        {Rgb(0, 10, 200, 0), Rgb(200, 0, 0, 1), 2.0f, 400, -10, -200, 2.0f},  // nothing clamped
        {Rgb(10, 20, 30, 0.25f), Rgb(90, 80, 70, 0.75f), 0.0f, 10, 20, 30, 0.25f},
        {Rgb(10, 20, 30, 0.25f), Rgb(90, 80, 70, 0.75f), 1.0f, 90, 80, 70, 0.75f},
        {Rgb(0, 0, 0, 1), Rgb(3, 3, 3, 1), -0.5f, -1, -1, -1, 1.0f},  // toward zero, not down
        // Channels read from a file can lie at the ends of the int range: no overflow.
        {Rgb(-2000000000, 2000000000, 0, 1), Rgb(2000000000, -2000000000, 0, 1), 0.5f, 0, 0, 0, 1.0f},
        {Rgb(0, 0, 0, 1), Rgb(2000000000, -2000000000, 0, 1), 2.0f, 2147483647, -2147483647 - 1, 0, 1.0f},
    };
    for (const auto& c : cases) {
        TRGB out = Rgb(1, 1, 1, 1, 0.3f);
        LerpRGB(out, c.a, c.b, c.t);
        EXPECT_EQ(out.r, c.r) << c.t;
        EXPECT_EQ(out.g, c.g) << c.t;
        EXPECT_EQ(out.b, c.bl) << c.t;
        EXPECT_FLOAT_EQ(out.a, c.alpha) << c.t;
        EXPECT_EQ(out.position, 0.3f);  // untouched
    }
    const auto made = CreateLerpRGB(Rgb(0, 0, 0, 0, 0.2f), Rgb(100, 100, 100, 1, 0.4f), 0.5f);
    EXPECT_EQ(made->r, 50);
    EXPECT_EQ(made->position, 1.0f);
}

TEST(Interpolation, ScalarBeziers) {
    EXPECT_EQ(Lerp(2, 6, 0.25f), 3.0f);
    EXPECT_EQ(Lerp(2, 6, 1.5f), 8.0f);
    EXPECT_EQ(QuadBezier(0, 10, 10, 0.5f), 7.5f);
    EXPECT_EQ(QuadBezier(3, 10, -4, 0), 3.0f);
    EXPECT_EQ(QuadBezier(3, 10, -4, 1), 10.0f);
    EXPECT_EQ(CubicBezier(0, 1, 0, 1, 0.5f), 0.5f);
    EXPECT_EQ(CubicBezier(5, 9, 100, -100, 0), 5.0f);
    EXPECT_EQ(CubicBezier(5, 9, 100, -100, 1), 9.0f);
    EXPECT_FLOAT_EQ(CubicBezier(0, 0, 8, 8, 0.5f), 6.0f);  // 3*8*(1/8) + 3*8*(1/8)
}

TEST(Interpolation, DimBlendsTouchOnlyTheirFields) {
    const auto a = CreateDim(0, 0, 10, 20, 0.0f);
    const auto b = CreateDim(10, 40, 30, 60, 1.0f);
    TDim out;
    out.position = 0.7f;
    out.isBezier = 2;
    out.x1 = 9;
    LerpDim(out, *a, *b, 0.5f);
    EXPECT_EQ(out.x, 5);
    EXPECT_EQ(out.y, 20);
    EXPECT_EQ(out.w, 20);
    EXPECT_EQ(out.h, 40);
    EXPECT_EQ(out.position, 0.7f);
    EXPECT_EQ(out.isBezier, 2);
    EXPECT_EQ(out.x1, 9);

    QuadBezierDimXY(out, *a, *b, 10, 0, 0.5f);
    EXPECT_EQ(out.x, QuadBezier(0, 10, 10, 0.5f));
    EXPECT_EQ(out.y, QuadBezier(0, 40, 0, 0.5f));
    EXPECT_EQ(out.w, 20);  // left as it was

    const auto c1 = CreateDim(0, 40, 0, 0), c2 = CreateDim(10, 0, 0, 0);
    CubicBezierDim(out, *a, *b, *c1, *c2, 0.25f);
    EXPECT_EQ(out.x, CubicBezier(0, 10, 0, 10, 0.25f));
    EXPECT_EQ(out.y, CubicBezier(0, 40, 40, 0, 0.25f));

    const auto q = CreateQuadBezierDim(*a, *b, *c1, 0.5f);
    EXPECT_EQ(q->w, 0);
    EXPECT_EQ(q->h, 0);
    EXPECT_EQ(q->x, QuadBezier(0, 10, 0, 0.5f));
    const auto cb = CreateCubicBezierDim(*a, *b, *c1, *c2, 1.0f);
    EXPECT_EQ(cb->x, 10);
    EXPECT_EQ(cb->y, 40);
    const auto l = CreateLerpDim(*a, *b, 2.0f);
    EXPECT_EQ(l->x, 20);
    EXPECT_EQ(l->position, 0);
}

TEST(Interpolation, LerpTFRFollowsTheStartKeyframesSquash) {
    const auto from = CreateTFR(1, 2, 0, 0), to = CreateTFR(3, 6, 360, 1);
    TTFR out;
    out.Position = 0.4f;
    out.isSplaszczenie = 5;
    LerpTFR(out, *from, *to, 0.25f);
    EXPECT_EQ(out.Rotation, 90);
    EXPECT_EQ(out.sx, 1.5f);
    EXPECT_EQ(out.sy, 3.0f);
    EXPECT_EQ(out.Position, 0.4f);
    EXPECT_EQ(out.isSplaszczenie, 5);

    // Rotation is a plain number: 350 -> 10 passes through 180.
    LerpTFR(out, *CreateTFR(1, 1, 350, 0), *CreateTFR(1, 1, 10, 1), 0.5f);
    EXPECT_EQ(out.Rotation, 180);

    // The start keyframe's kind shapes t; the end keyframe's kind does not matter.
    auto eased = CreateTFR(0, 0, 0, 0);
    eased->isSplaszczenie = 1;
    auto end = CreateTFR(1, 1, 100, 1);
    end->isSplaszczenie = 4;
    const auto made = CreateLerpTFR(*eased, *end, 0.5f);
    EXPECT_FLOAT_EQ(made->Rotation, 100 * 0.70710677f);
    EXPECT_EQ(made->Position, 0);
    EXPECT_EQ(made->isSplaszczenie, 0);
}

TEST(Interpolation, GradientColourIntoAnExistingOrANewColour) {
    auto gradient = std::make_shared<TGradient>();
    gradient->FromString("255,255,255,1.00000000,0.00000000#0,0,0,0.00000000,1.00000000");
    TRGB out = Rgb(1, 2, 3, 1, 0.3f);
    GradientPutRGB(out, gradient, 0.5f);
    EXPECT_EQ((std::vector<int>{out.r, out.g, out.b}), (std::vector<int>{127, 127, 127}));
    EXPECT_FLOAT_EQ(out.a, 0.5f);
    EXPECT_FLOAT_EQ(out.position, 0.3f);  // the target's own position stays

    auto made = CreateGradientRGB(gradient, 0.25f);
    EXPECT_EQ((std::vector<int>{made->r, made->g, made->b}), (std::vector<int>{191, 191, 191}));
    EXPECT_FLOAT_EQ(made->a, 0.75f);
    EXPECT_FLOAT_EQ(made->position, 1.0f);

    // No gradient: the colour is left as it was.
    GradientPutRGB(out, nullptr, 0.5f);
    EXPECT_EQ(out.r, 127);
    EXPECT_EQ(CreateGradientRGB(nullptr, 0.5f)->a, 1.0f);
}
