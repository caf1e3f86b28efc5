#include "engine/data/ValueTypes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <vector>

#include "engine/basics/AppTime.h"
#include "platform/Graphics.h"
#include "platform/Image.h"

namespace {

// Every field of a TDim, floats by their bits.
void ExpectSameDim(const TDim& a, const TDim& b) {
    const float fa[] = {a.x, a.y, a.w, a.h, a.x1, a.y1, a.x2, a.y2, a.position};
    const float fb[] = {b.x, b.y, b.w, b.h, b.x1, b.y1, b.x2, b.y2, b.position};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(std::bit_cast<uint32_t>(fa[i]), std::bit_cast<uint32_t>(fb[i])) << "field " << i;
    EXPECT_EQ(a.isBezier, b.isBezier);
    EXPECT_EQ(a.isSplaszczenie, b.isSplaszczenie);
}

void ExpectSameTFR(const TTFR& a, const TTFR& b) {
    EXPECT_EQ(std::bit_cast<uint32_t>(a.sx), std::bit_cast<uint32_t>(b.sx));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.sy), std::bit_cast<uint32_t>(b.sy));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.Rotation), std::bit_cast<uint32_t>(b.Rotation));
    EXPECT_EQ(std::bit_cast<uint32_t>(a.Position), std::bit_cast<uint32_t>(b.Position));
    EXPECT_EQ(a.isSplaszczenie, b.isSplaszczenie);
}

std::shared_ptr<TDim> Keyframe() {
    auto d = CreateDim(10, 20, 100, 50, 0.5f, 1.5f, -2.25f, 3e-7f, 123456789.0f);
    d->isBezier = 2;
    d->isSplaszczenie = 3;
    return d;
}

}  // namespace

TEST(ValueTypes, TextForms) {
    EXPECT_EQ(TRGB().ToString(), "0,0,0,1.00000000,1.00000000");
    EXPECT_EQ(CreateRGB(255, 128, -1, 0.5f, 0.1f)->ToString(), "255,128,-1,0.500000000,0.100000001");
    EXPECT_EQ(CreateDim(10, 20, 100, 50, 0.5f)->ToString(),
              "10.0000000,20.0000000,100.000000,50.0000000,0.00000000,0.00000000,0.00000000,0.00000000,"
              "0.500000000,0,0");
    EXPECT_EQ(Keyframe()->ToString(),
              "10.0000000,20.0000000,100.000000,50.0000000,1.50000000,-2.25000000,3.00000011e-07,123456792.,"
              "0.500000000,2,3");
    EXPECT_EQ(TTFR().ToString(), "1.00000000,1.00000000,0.00000000,0.00000000,0");
    auto tfr = CreateTFR(2, 0.5f, -90, 1);
    tfr->isSplaszczenie = 6;
    EXPECT_EQ(tfr->ToString(), "2.00000000,0.500000000,-90.0000000,1.00000000,6");
    EXPECT_EQ(SaveTFRToString(*tfr), tfr->ToString());
    EXPECT_EQ(SaveRGBToString(*CreateRGB(1, 2, 3)), "1,2,3,1.00000000,1.00000000");
}

TEST(ValueTypes, RgbFromStringPiecesSetFieldsInOrder) {
    struct Case {
        std::string text;
        int r, g, b;
        float a, position;
    };
    // Applied to the colour 9,9,9 alpha 0.5 at position 0.25.
    const Case cases[] = {
        {"", 9, 9, 9, 0.5f, 0.25f},  // nothing changes
        {"255,0,0", 255, 0, 0, 0.5f, 0.25f},
        {"1,2,", 1, 2, 9, 0.5f, 0.25f},                 // trailing comma: only r and g
        {"1,,3", 1, 0, 3, 0.5f, 0.25f},                 // empty inner piece reads 0
        {"1,2,3,0.75,1,99,100", 1, 2, 3, 0.75f, 1.0f},  // extra pieces ignored
        {"12.7, 5,abc,x,-0.5", 12, 5, 0, 0.0f, -0.5f},  // int of 12.7, leading blank, not numbers
        {"$ff,%101", 255, 5, 9, 0.5f, 0.25f},
        {",", 0, 9, 9, 0.5f, 0.25f},
    };
    for (const auto& c : cases) {
        auto rgb = CreateRGB(9, 9, 9, 0.5f, 0.25f);
        rgb->FromString(c.text);
        EXPECT_EQ(rgb->r, c.r) << c.text;
        EXPECT_EQ(rgb->g, c.g) << c.text;
        EXPECT_EQ(rgb->b, c.b) << c.text;
        EXPECT_EQ(rgb->a, c.a) << c.text;
        EXPECT_EQ(rgb->position, c.position) << c.text;
    }
    const auto fresh = CreateRGBFromString("255,0,0");
    EXPECT_EQ(fresh->a, 1.0f);
    EXPECT_EQ(fresh->position, 1.0f);
    EXPECT_EQ(LoadRGBFromString("7")->r, 7);
}

TEST(ValueTypes, DimAndTfrFromStringPartialAndEmptyPieces) {
    auto d = Keyframe();
    d->FromString("1,,3");
    EXPECT_EQ(d->x, 1);
    EXPECT_EQ(d->y, 0);
    EXPECT_EQ(d->w, 3);
    EXPECT_EQ(d->h, 50);  // no piece: kept
    EXPECT_EQ(d->isBezier, 2);

    const auto fromText = CreateDIMFromString("0,0,0,0,0,0,0,0,0,1.9,7,extra");
    EXPECT_EQ(fromText->isBezier, 1);
    EXPECT_EQ(fromText->isSplaszczenie, 7);
    EXPECT_EQ(LoadDimFromString("")->w, 0);

    auto t = CreateTFRFromString("2,3,");
    EXPECT_EQ(t->sx, 2);
    EXPECT_EQ(t->sy, 3);
    EXPECT_EQ(t->Rotation, 0);
    t->FromString(",,45,0.5,2");
    EXPECT_EQ(t->sx, 0);
    EXPECT_EQ(t->Rotation, 45);
    EXPECT_EQ(t->isSplaszczenie, 2);
    EXPECT_EQ(LoadTFRFromString("")->sx, 1.0f);
}

TEST(ValueTypes, WriteThenReadRestoresEveryBit) {
    const float awkward[] = {0.1f,        -3.25f,       1e-6f, FLT_MAX,     -FLT_MIN, 1e-42f /* subnormal */,
                             16777217.0f, 0.333333343f, -0.0f, 123456789.0f};
    for (float f : awkward) {
        auto d = CreateDim(f, -f, f * 0.5f, 1, f, 2, f, 3, f);
        d->isBezier = -4;
        d->isSplaszczenie = 6;
        ExpectSameDim(*CreateDIMFromString(d->ToString()), *d);

        auto t = CreateTFR(f, -f, f * 0.5f, f);
        t->isSplaszczenie = 5;
        ExpectSameTFR(*CreateTFRFromString(t->ToString()), *t);

        const auto c = CreateRGB(-7, 300, 12, f, -f);
        const auto back = CreateRGBFromString(c->ToString());
        EXPECT_EQ(back->ToString(), c->ToString());
        EXPECT_EQ(std::bit_cast<uint32_t>(back->a), std::bit_cast<uint32_t>(c->a));
    }
}

TEST(ValueTypes, CopiesAreWholeAndNew) {
    const auto d = Keyframe();
    const auto dc = d->Copy();
    EXPECT_NE(dc.get(), d.get());
    ExpectSameDim(*dc, *d);

    auto t = CreateTFR(2, 3, 45, 0.5f);
    t->isSplaszczenie = 4;
    const auto tc = t->Copy();
    EXPECT_NE(tc.get(), t.get());
    ExpectSameTFR(*tc, *t);

    const auto c = CreateRGB(1, 2, 3, 0.5f, 0.25f);
    const auto cc = c->Copy();
    EXPECT_NE(cc.get(), c.get());
    EXPECT_EQ(cc->ToString(), c->ToString());
}

TEST(ValueTypes, SetDataFromOtherKeepsOwnSquashKind) {
    TDim target;
    target.isSplaszczenie = 1;
    target.SetDataFromOtherDim(*Keyframe());
    auto expected = Keyframe();
    expected->isSplaszczenie = 1;
    ExpectSameDim(target, *expected);

    TTFR tt;
    tt.isSplaszczenie = 2;
    auto src = CreateTFR(4, 5, 6, 0.7f);
    src->isSplaszczenie = 6;
    tt.SetDataFromOtherTFR(*src);
    EXPECT_EQ(tt.sx, 4);
    EXPECT_EQ(tt.Position, 0.7f);
    EXPECT_EQ(tt.isSplaszczenie, 2);

    TRGB rgb;
    rgb.SetDataFromOtherRGB(*CreateRGB(1, 2, 3, 0.5f, 0.75f));
    EXPECT_EQ(rgb.ToString(), "1,2,3,0.500000000,0.750000000");

    TDim box;
    box.SetData(10, 20, 100, 50);
    box.CountCorners();
    EXPECT_EQ(box.x1, 10);
    EXPECT_EQ(box.y1, 20);
    EXPECT_EQ(box.x2, 110);
    EXPECT_EQ(box.y2, 70);
}

TEST(ValueTypes, SplatPerForEachKind) {
    struct Case {
        int kind;
        float per, expected;
    };
    const Case cases[] = {
        {0, 0.5f, 0.5f},        {0, 1.7f, 1.7f}, {1, 0.5f, 0.70710677f}, {1, 1.0f, 1.0f},
        {2, 0.5f, 1.0f},        {2, 1.0f, 0.0f}, {3, 0.25f, 1.0f},       {3, 0.75f, -1.0f},
        {4, 0.5f, 0.70710677f}, {4, 0.0f, 1.0f}, {5, 1.0f, -1.0f},       {5, 0.5f, 0.0f},
        {6, 0.5f, -1.0f},       {6, 1.0f, 1.0f}, {7, 0.5f, 0.0f},        {-1, 0.5f, 0.0f},
    };
    for (const auto& c : cases) {
        TTFR t;
        t.isSplaszczenie = c.kind;
        EXPECT_NEAR(t.GetSplatPer(c.per), c.expected, 1e-7f) << "kind " << c.kind << " per " << c.per;
    }
    EXPECT_EQ(Splaszczenia_Names[0], "None");
    EXPECT_EQ(Splaszczenia_Names[6], "Cos 360");
}

TEST(ValueTypes, PercenterAndNamedColours) {
    const auto view = CreatePercenter("View", 0.05f, 1);
    EXPECT_EQ(view->name, "VIEW");
    EXPECT_EQ(view->speed, 0.05f);
    EXPECT_EQ(view->Typ, 1);
    EXPECT_EQ(view->p, 0);
    EXPECT_EQ(view->dp, 0);
    view->Start(0.25f, 1);
    EXPECT_EQ(view->ToString(), "TPER( VIEW ) = 0.250000000, 1.00000000 - Speed: 0.0500000007, Type: 1");
    view->Set(0.5f);
    EXPECT_EQ(view->Value(), 0.5f);
    EXPECT_EQ(view->dp, 0.5f);
    view->GO(2);
    EXPECT_EQ(view->dp, 2);

    struct Named {
        const std::shared_ptr<TRGB>& c;
        const char* text;
    };
    const Named named[] = {
        {WhiteRGB, "255,255,255"}, {RedRGB, "255,0,0"},          {GreenRGB, "0,255,0"},  {BlueRGB, "0,0,255"},
        {YellowRGB, "255,255,0"},  {PurpleRGB, "255,0,255"},     {CyanRGB, "0,255,255"}, {OrangeRGB, "255,155,55"},
        {BlackRGB, "0,0,0"},       {DefaultOutlineRGB, "0,0,0"},
    };
    RedRGB->r = 3;  // a holder changes a shared colour; start-up (or a test) makes them anew
    InitColorConstants();
    for (const auto& n : named) {
        ASSERT_TRUE(n.c);
        EXPECT_EQ(n.c->ToString(), std::string(n.text) + ",1.00000000,1.00000000");
    }
}

TEST(ValueTypes, PercenterSteps) {
    struct Case {
        int typ;
        float from, to, speed;
        std::vector<float> p, dp;  // after each Update
    };
    const Case cases[] = {
        {0, 0, 1, 0.3f, {0.3f, 0.6f, 0.90000004f, 1, 1}, {1, 1, 1, 1, 1}},
        {1, 0, 1, 0.5f, {0.5f, 1, 0.5f, 0, 0.5f}, {1, 0, 0, 1, 1}},  // runs up and down for ever
        {2, 0, 1, 1.0f, {1, 0, -1, 0, 1}, {-1, -1, 1, 1, -1}},       // the target changes sign
        {2, 0, 0, 1.0f, {0, 0}, {0, 0}},                             // -0 is still 0
        {0, 1, 0, 0.75f, {0.25f, 0}, {0, 0}},
    };
    const float saved = delta;
    delta = 1.0f;
    for (const auto& c : cases) {
        auto per = CreatePercenter("x", c.speed, c.typ);
        per->Start(c.from, c.to);
        for (size_t i = 0; i < c.p.size(); ++i) {
            per->Update();
            EXPECT_FLOAT_EQ(per->p, c.p[i]) << "typ " << c.typ << " step " << i;
            EXPECT_FLOAT_EQ(per->dp, c.dp[i]) << "typ " << c.typ << " step " << i;
        }
    }
    auto half = CreatePercenter("x", 0.3f, 0);
    half->Start(0, 1);
    delta = 0.5f;  // the step follows the frame factor
    half->Update();
    EXPECT_FLOAT_EQ(half->p, 0.15f);
    delta = saved;
}

TEST(ValueTypes, DrawDimRectOutlinesOrPlots) {
    ASSERT_TRUE(Graphics(120, 80, 0)) << GraphicsError();
    ResetDrawState();
    SetClsColor(0, 0, 0);
    Cls();
    SetScale(3, 3);
    SetRotation(30);
    TDim box;
    box.SetData(10, 20, 40, 30);
    box.x1 = 99;  // control points give way to the corners
    box.DrawDimRect();
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(GetRotation(), 0.0f);
    EXPECT_EQ(box.x2, 50);
    TDim dot;
    dot.SetData(70, 70, 0, 0);
    dot.DrawDimRect();

    const auto pix = GrabPixmap(0, 0, 120, 80);
    ASSERT_TRUE(pix);
    auto lit = [&](int x, int y) { return (pix->ReadPixel(x, y) & 0xFFFFFF) != 0; };
    for (auto [x, y] : {std::pair{10, 20}, {30, 20}, {50, 20}, {50, 35}, {50, 50}, {30, 50}, {10, 35}, {70, 70}})
        EXPECT_TRUE(lit(x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{30, 35}, {9, 19}, {52, 52}, {71, 70}, {70, 71}})
        EXPECT_FALSE(lit(x, y)) << x << "," << y;
}
