#include "engine/data/Gradient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/data/GradientLibrary.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "support/TestSupport.h"

namespace {

struct Colour {
    int r, g, b;
    float a;
};

Colour At(TGradient& g, float position) {
    const auto c = g.GetRGB(position);
    return {c->r, c->g, c->b, c->a};
}

void ExpectColour(const Colour& got, const Colour& want, const std::string& where) {
    EXPECT_EQ(got.r, want.r) << where;
    EXPECT_EQ(got.g, want.g) << where;
    EXPECT_EQ(got.b, want.b) << where;
    EXPECT_FLOAT_EQ(got.a, want.a) << where;
}

TGradientPtr Stops(std::initializer_list<std::array<float, 5>> stops) {
    TRGBArray rgb;
    for (const auto& s : stops)
        rgb.push_back(CreateRGB(static_cast<int>(s[0]), static_cast<int>(s[1]), static_cast<int>(s[2]), s[3], s[4]));
    return CreateGradient(rgb);
}

std::vector<float> Positions(const TGradient& g) {
    std::vector<float> out;
    for (const auto& s : g.rgb) out.push_back(s->position);
    return out;
}

class Gradients : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGradientScratch();
        ResetRnd();
    }
};

// ---------------------------------------------------------------------------------------------
// Evaluation

TEST_F(Gradients, EvaluatesBeforeBetweenAndAfterStops) {
    auto fade = CreateDefaultGradient();  // opaque white at 0, transparent black at 1
    struct Case {
        TGradientPtr g;
        float position;
        Colour want;
    };
    auto late = Stops({{255, 0, 0, 1, 0.2f}, {0, 0, 255, 0.5f, 0.8f}});
    auto step = Stops({{255, 0, 0, 1, 0}, {0, 255, 0, 1, 0.5f}, {0, 0, 255, 1, 0.5f}, {0, 0, 0, 1, 1}});
    const std::vector<Case> cases = {
        {fade, 0.0f, {255, 255, 255, 1}}, {fade, 0.5f, {127, 127, 127, 0.5f}},
        {fade, 1.0f, {0, 0, 0, 0}},       {fade, 1.5f, {0, 0, 0, 0}},
        {fade, -0.5f, {0, 0, 0, 0}},  // before the first stop: the LAST stop
        {late, 0.1f, {0, 0, 255, 0.5f}},  {late, 0.5f, {127, 0, 127, 0.75f}},
        {step, 0.5f, {0, 0, 255, 1}},     // a shared position: the later stop wins
        {step, 0.4999f, {0, 254, 0, 1}},  // nearly pure green just before
        {step, 0.75f, {0, 0, 127, 1}},
    };
    for (const auto& c : cases) ExpectColour(At(*c.g, c.position), c.want, std::to_string(c.position));

    int r = 1, g = 2, b = 3;
    float a = 0.25f;
    fade->PutToVar(r, g, b, a, 0.5f);
    ExpectColour({r, g, b, a}, {127, 127, 127, 0.5f}, "PutToVar");
}

TEST_F(Gradients, SolidValueIsTheStopAtOrBefore) {
    auto g = Stops({{255, 0, 0, 1, 0}, {0, 255, 0, 1, 0.5f}, {0, 0, 255, 0.5f, 1}});
    struct Case {
        float position;
        Colour want;
    };
    for (const auto& c : std::vector<Case>{
             {0.49f, {255, 0, 0, 1}}, {0.5f, {0, 255, 0, 1}}, {1.0f, {0, 0, 255, 0.5f}}, {-1.0f, {0, 0, 255, 0.5f}}}) {
        int r = -1, gg = -1, b = -1;
        float a = -1;
        g->PutSolidToVar(r, gg, b, a, c.position);
        ExpectColour({r, gg, b, a}, c.want, std::to_string(c.position));
    }
}

TEST_F(Gradients, OneStopAndNoStop) {
    auto one = Stops({{10, 20, 30, 0.5f, 0.3f}});
    for (float p : {-1.0f, 0.0f, 0.3f, 0.9f, 2.0f}) ExpectColour(At(*one, p), {10, 20, 30, 0.5f}, "one");
    EXPECT_EQ(one->GetRGB(0.7f)->position, 0.3f);  // a whole copy of the stop

    // Without stops the colour asked for is left as it was (and nothing crashes).
    TGradient empty;
    TRGB target;
    target.SetData(1, 2, 3, 0.5f, 0.25f);
    empty.PutRGB(target, 0.5f);
    EXPECT_EQ(target.ToString(), "1,2,3,0.500000000,0.250000000");
    int r = 9, g = 9, b = 9;
    float a = 0.5f;
    empty.PutToVar(r, g, b, a, 0.5f);
    empty.PutSolidToVar(r, g, b, a, 0.5f);
    ExpectColour({r, g, b, a}, {9, 9, 9, 0.5f}, "empty");
}

// ---------------------------------------------------------------------------------------------
// Editing and sorting

TEST_F(Gradients, GetAndSplitIn) {
    auto g = CreateBlackWhiteGradient();
    EXPECT_EQ(g->GetRGB(0.3f)->position, 1.0f);
    const auto stop = g->SplitIn(0.3f);
    ASSERT_EQ(g->rgb.size(), 3u);
    EXPECT_EQ(g->rgb[1], stop);
    EXPECT_EQ(stop->position, 0.3f);
    EXPECT_EQ(stop->r, 178);  // 255 - 255 * 0.3, truncated
}

TEST_F(Gradients, PutInSortsWithAThousandthTolerance) {
    struct Case {
        float position;
        size_t index;  // where the new stop lands among stops at 0, 0.5 and 1
    };
    for (const auto& c : std::vector<Case>{
             {0.0005f, 1}, {0.25f, 1}, {0.5f, 2}, {0.5004f, 2}, {0.4f, 1}, {1.0f, 3}, {2.0f, 3}, {-1.0f, 0}}) {
        auto g = Stops({{0, 0, 0, 1, 0}, {0, 0, 0, 1, 0.5f}, {0, 0, 0, 1, 1}});
        auto stop = CreateRGB(1, 1, 1, 1, c.position);
        g->PutIn(stop);
        ASSERT_EQ(g->rgb.size(), 4u);
        EXPECT_EQ(g->rgb[c.index], stop) << c.position;
    }
    // The stop is kept by reference.
    auto g = CreateBlackWhiteGradient();
    auto mid = CreateRGB(255, 0, 0, 1, 0.5f);
    g->PutIn(mid);
    mid->g = 200;
    EXPECT_EQ(At(*g, 0.5f).g, 200);

    // Sorting out-of-order stops: ascending, near positions keep their order.
    auto shuffled = Stops({{1, 0, 0, 1, 0.9f}, {2, 0, 0, 1, 0.1f}, {3, 0, 0, 1, 0.1005f}, {4, 0, 0, 1, 0.5f}});
    shuffled->Sort();
    std::vector<int> order;
    for (const auto& s : shuffled->rgb) order.push_back(s->r);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 4, 1}));
}

TEST_F(Gradients, DeleteRemovesOnlyTheVeryObject) {
    auto two = CreateBlackWhiteGradient();
    two->DeleteRGB(two->rgb[0]);
    EXPECT_EQ(two->rgb.size(), 2u);

    auto three = Stops({{0, 0, 0, 1, 0}, {9, 9, 9, 1, 0.5f}, {0, 0, 0, 1, 1}});
    three->DeleteRGB(three->rgb[1]->Copy());  // equal, not the same
    EXPECT_EQ(three->rgb.size(), 3u);
    const auto middle = three->rgb[1];
    three->DeleteRGB(middle);
    ASSERT_EQ(three->rgb.size(), 2u);
    EXPECT_NE(three->rgb[0], middle);
    EXPECT_NE(three->rgb[1], middle);
}

TEST_F(Gradients, CopyIsDeep) {
    auto g = CreateBlackWhiteGradient();
    g->Position = 0.7f;
    auto copy = g->Copy();
    EXPECT_EQ(copy->ToString(), g->ToString());
    EXPECT_EQ(copy->Position, 0.0f);
    copy->rgb[0]->r = 1;
    EXPECT_EQ(g->rgb[0]->r, 255);
    g->Free();
    EXPECT_TRUE(g->rgb.empty());
    EXPECT_EQ(copy->rgb.size(), 2u);
}

// ---------------------------------------------------------------------------------------------
// Text forms

TEST_F(Gradients, TextFormRoundTrips) {
    const std::string text = "255,255,255,1.00000000,0.00000000#0,0,0,0.00000000,1.00000000";
    EXPECT_EQ(CreateDefaultGradient()->ToString(), text);
    EXPECT_EQ(SaveGradientToString(CreateDefaultGradient()), text);

    auto odd = Stops({{1, 2, 3, 0.123456789f, 0.7f}, {4, 5, 6, 1e-7f, 0.2f}});  // out of order stays so
    TGradient back;
    back.FromString(odd->ToString());
    EXPECT_EQ(back.ToString(), odd->ToString());
    EXPECT_EQ(Positions(back), (std::vector<float>{0.7f, 0.2f}));
    EXPECT_EQ(LoadGradientFromString(odd->ToString())->ToString(), odd->ToString());

    struct Case {
        std::string text;
        std::string read;  // the text of what was read
    };
    for (const auto& c : std::vector<Case>{
             {"", ""},
             {text + "#", text},
             {"1,2,3##4,5,6", "1,2,3,1.00000000,1.00000000#0,0,0,1.00000000,1.00000000#4,5,6,1.00000000,1.00000000"},
         }) {
        TGradient g;
        g.rgb.push_back(CreateRGB(7, 7, 7));  // replaced
        g.FromString(c.text);
        EXPECT_EQ(g.ToString(), c.read) << c.text;
        EXPECT_EQ(LoadGradientFromString(c.text)->ToString(), c.read) << c.text;
    }
}

TEST_F(Gradients, ArrayFilesRoundTrip) {
    testsupport::TempDir dir;
    const std::string path = dir.file("grads.txt");
    const auto a = CreateRedBlueGradient();
    const auto b = CreateColorFullGradient();
    ASSERT_TRUE(SaveGradientArray({a, b}, path));
    EXPECT_EQ(testsupport::ReadFileBytes(path), a->ToString() + "\n" + b->ToString() + "\n");

    testsupport::WriteFileBytes(path, "\r\n  " + a->ToString() + " \r\n\r\n\t" + b->ToString() + "\r\n   \n");
    const auto back = LoadGradientArray(path);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->ToString(), a->ToString());
    EXPECT_EQ(back[1]->ToString(), b->ToString());

    testsupport::WriteFileBytes(path, "");
    EXPECT_TRUE(LoadGradientArray(path).empty());
    EXPECT_TRUE(LoadGradientArray(dir.file("missing.txt")).empty());
    EXPECT_FALSE(SaveGradientArray({a}, dir.file("no/such/folder/g.txt")));
}

// ---------------------------------------------------------------------------------------------
// Library

TEST_F(Gradients, CreateGradientKeepsTheArrayAndPresetsEvaluate) {
    TRGBArray stops{CreateRGB(0, 0, 0, 1, 1), CreateRGB(255, 255, 255, 1, 0)};
    auto g = CreateGradient(stops);
    EXPECT_EQ(g->rgb, stops);
    EXPECT_EQ(Positions(*g), (std::vector<float>{1, 0}));  // not sorted
    stops[0]->r = 50;
    EXPECT_EQ(g->rgb[0]->r, 50);

    ExpectColour(At(*CreateDefaultGradient(), 0.5f), {127, 127, 127, 0.5f}, "default");
    ExpectColour(At(*CreateRedBlueGradient(), 1.0f), {0, 0, 255, 1}, "red-blue");
    ExpectColour(At(*CreateFullColorGradient2(), 0.05f), {255, 0, 0, 1}, "hue circle closes");
    ExpectColour(At(*CreateFullColorGradient(), 0.375f), {0, 0, 255, 1}, "full colour");
    ExpectColour(At(*Create4ColorGradient(), 0.0f), {255, 0, 0, 0.5f}, "four colours");
    EXPECT_EQ(Positions(*CreateColorFullGradient()).size(), 8u);
}

TEST_F(Gradients, PositionTableIsLargestFirst) {
    EXPECT_EQ(CreateGradientPositionsTabFromTwoGradients(CreateDefaultGradient(), Create4ColorGradient()),
              (std::vector<float>{1, 1, 0.66f, 0.33f, 0, 0}));
    EXPECT_EQ(CreateGradientPositionsTabFromTwoGradients(CreateDefaultGradient(), nullptr), (std::vector<float>{1, 0}));
}

// The mix between two gradients must change colour along its length, as its inputs do: its
// stops sit at the positions they were mixed at, ascending.
TEST_F(Gradients, BetweenGradientsReallyChangesColour) {
    const auto first = CreateBlackWhiteGradient();  // white -> black
    const auto second = Stops({{255, 255, 255, 1, 0}, {0, 0, 0, 1, 0.5f}, {0, 0, 0, 1, 1}});
    auto mix = CreateGradientBetweenGradients(first, second);
    ASSERT_EQ(mix->rgb.size(), 5u);
    EXPECT_EQ(Positions(*mix), (std::vector<float>{0, 0, 0.5f, 1, 1}));
    // One draw per stop.
    ResetRnd();
    for (int i = 0; i < 5; ++i) Rnd();
    const int32_t afterFive = RndSeed();
    ResetRnd();
    CreateGradientBetweenGradients(first, second);
    EXPECT_EQ(RndSeed(), afterFive);

    // White at the start, black at the end, something between half-way.
    ExpectColour(At(*mix, 0.0f), {255, 255, 255, 1}, "start");
    ExpectColour(At(*mix, 1.0f), {0, 0, 0, 1}, "end");
    const auto middle = At(*mix, 0.5f);
    EXPECT_GE(middle.r, 0);
    EXPECT_LE(middle.r, 127);  // between black (second) and 127 (first) at 0.5
    // Evaluated along its length, the mix goes from light to dark.
    EXPECT_GT(At(*mix, 0.1f).r, At(*mix, 0.9f).r);
}

TEST_F(Gradients, PixmapsOfGradients) {
    const auto alpha = CreateAlphaPixMap();
    ASSERT_TRUE(alpha);
    ASSERT_EQ(alpha->width, 1);
    ASSERT_EQ(alpha->height, 256);
    for (int y = 0; y < 256; ++y) {
        const auto px = static_cast<uint32_t>(alpha->ReadPixel(0, y));
        ASSERT_EQ(px >> 24, static_cast<uint32_t>(255 - y)) << y;
        ASSERT_EQ(px & 0xFFFFFFu, 0xFFFFFFu) << y;
    }

    const auto strip = CreateGradientPixMap100px(CreateBlackWhiteGradient());
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->width, 100);
    ASSERT_EQ(strip->height, 1);
    EXPECT_EQ(static_cast<uint32_t>(strip->ReadPixel(0, 0)), 0xFFFCFCFCu);  // position 0.01
    EXPECT_EQ(static_cast<uint32_t>(strip->ReadPixel(99, 0)), 0xFF000000u);

    const auto image = CreateGradientImage(CreateDefaultGradient());
    ASSERT_TRUE(image);
    EXPECT_EQ(ImageWidth(image), 100);
    EXPECT_EQ(ImageHeight(image), 1);
}

// The colour panel must hold the wheel it computes: white in the middle, pure hues half-way out,
// dark at the rim, the background outside.
TEST_F(Gradients, ColoursPanelHoldsItsWheel) {
    const auto panel = CreateColorsPanel();
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->width, 256);
    ASSERT_EQ(panel->height, 256);
    auto px = [&](int x, int y) { return static_cast<uint32_t>(panel->ReadPixel(x, y)); };
    auto channel = [&](int x, int y, int shift) { return static_cast<int>((px(x, y) >> shift) & 0xFF); };
    // Neighbouring radii overlap by a pixel, so colours are checked within a few steps.
    for (int shift : {16, 8, 0}) EXPECT_GE(channel(127, 127, shift), 245);
    EXPECT_EQ(px(127, 127) >> 24, 0xFFu);
    EXPECT_EQ(px(0, 0), 0xFF000200u);
    EXPECT_EQ(px(255, 255), 0xFF000200u);
    // Angle 0 (right): the hue circle's red; angle 90 (down): a third of the way red -> green.
    EXPECT_GE(channel(191, 127, 16), 240);
    EXPECT_LE(channel(191, 127, 8), 10);
    EXPECT_LE(channel(191, 127, 0), 10);
    EXPECT_NEAR(channel(127, 191, 16), 85, 10);
    EXPECT_NEAR(channel(127, 191, 8), 170, 10);
    EXPECT_LE(channel(127, 191, 0), 5);
    // Near the rim, nearly black.
    EXPECT_LT(channel(253, 127, 16), 16);
}

// ---------------------------------------------------------------------------------------------
// Drawing, on a real headless window

class GradientDrawing : public Gradients {
protected:
    void SetUp() override {
        Gradients::SetUp();
        ASSERT_TRUE(Graphics(500, 100, 0)) << GraphicsError();
        ResetDrawState();
        SetClsColor(0, 0, 0);
        Cls();
    }
    static uint32_t Pixel(const TPixmapPtr& pix, int x, int y) {
        return static_cast<uint32_t>(pix->ReadPixel(x, y)) & 0xFFFFFFu;
    }
};

TEST_F(GradientDrawing, StripsAndCheckerboards) {
    DrawGradient100(CreateRedBlueGradient(), 10, 10, 5);
    DrawGradientBar(CreateRedBlueGradient(), 10, 30, 5);
    DrawGradientBack(10, 50);
    DrawGradientBackBar(200, 36);
    DrawGradient100(nullptr, 0, 90, 5);
    const auto pix = GrabPixmap(0, 0, 500, 100);
    ASSERT_TRUE(pix);
    // 101 columns and 400 columns, red on the left, blue on the right.
    EXPECT_EQ(Pixel(pix, 9, 12), 0u);
    EXPECT_EQ(Pixel(pix, 10, 12), 0xFF0000u);
    EXPECT_EQ(Pixel(pix, 110, 12) & 0xFF, 0xFEu);
    EXPECT_EQ(Pixel(pix, 111, 12), 0u);
    EXPECT_EQ(Pixel(pix, 10, 32), 0xFF0000u);
    EXPECT_EQ(Pixel(pix, 409, 32), 0x0000FFu);
    EXPECT_EQ(Pixel(pix, 410, 32), 0u);
    // Checkerboards: white at the top left, grey beside and below.
    EXPECT_EQ(Pixel(pix, 12, 52), 0xFFFFFFu);
    EXPECT_EQ(Pixel(pix, 17, 52), 0x969696u);
    EXPECT_EQ(Pixel(pix, 12, 57), 0x969696u);
    EXPECT_EQ(Pixel(pix, 109, 69), 0xFFFFFFu);  // last square of 4 x 20 (i + j = 22)
    EXPECT_EQ(Pixel(pix, 110, 69), 0u);
    EXPECT_EQ(Pixel(pix, 208, 44), 0xFFFFFFu);
    EXPECT_EQ(Pixel(pix, 224, 44), 0x969696u);
    EXPECT_EQ(Pixel(pix, 208, 60), 0x969696u);
    EXPECT_EQ(Pixel(pix, 2, 92), 0u);  // a null gradient draws nothing
}

}  // namespace
