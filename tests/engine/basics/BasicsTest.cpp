#include "engine/basics/Basics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "engine/data/Interpolation.h"
#include "engine/data/ValueTypes.h"
#include "engine/basics/AppTime.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "support/TestSupport.h"

using Strings = std::vector<std::string>;

// ---------------------------------------------------------------------------------------------
// Splitting

struct SplitCase {
    std::string text, sep;
    Strings pieces;
};

TEST(BasicsSplit, KeepsInnerEmptiesDropsEmptyLastTrimsNothing) {
    const SplitCase cases[] = {
        {"a,,b,", ",", {"a", "", "b"}},
        {",a", ",", {"", "a"}},
        {",", ",", {""}},
        {"", ",", {}},
        {" a , b ", ",", {" a ", " b "}},
        {"a,b", "", {"a,b"}},      // empty separator never matches
        {"a,,b", ",,", {"a,,b"}},  // nor does a longer one
        {"1\xC3\xA9"
         "2\xC3\xA9",
         "\xC3\xA9",
         {"1", "2"}},  // one character of two bytes
        {"x|\xC3\xA9|", "|", {"x", "\xC3\xA9"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitString(c.text, c.sep), c.pieces) << "text '" << c.text << "' sep '" << c.sep << "'";
        EXPECT_EQ(SplitStringToList(c.text, c.sep), c.pieces);
    }
}

TEST(BasicsSplit, IntsWordsAndIntArrays) {
    EXPECT_EQ(SplitStringToInts("1,$10,x,,-7", ","), (std::vector<int32_t>{1, 16, 0, 0, -7}));
    EXPECT_EQ(SplitStringToInts("3 4 12", " "), (std::vector<int32_t>{3, 4, 12}));
    EXPECT_EQ(SplitWords("a  b\n"), (Strings{"a", "", "b"}));
    EXPECT_EQ(SplitWords("a\r\nb"), (Strings{"a\r", "b"}));
    EXPECT_EQ(CreateIntArray(3), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_TRUE(CreateIntArray(-2).empty());
}

struct TokenCase {
    std::string text, sep, open, close;
    Strings pieces;
};

TEST(BasicsSplit, Tokenize) {
    const TokenCase cases[] = {
        {"give 5  gold ", " ", "", "", {"give", "5", "", "gold"}},
        {"a \"b c\" d", " ", "\"", "\"", {"a", "b c", "d"}},
        {"a [b c] d", " ", "[", "]", {"a", "b c", "d"}},
        {"x]y z", " ", "[", "]", {"xy", "z"}},        // a closing mark outside quotes is dropped
        {"a||b|c||", "||", "", "", {"a", "b|c"}},     // a separator string
        {"[a|b]|c", "|", "[", "", {"a", "b]", "c"}},  // one empty mark: never suspended
        {"a b", "", "", "", {"a b"}},                 // empty separator: ends, whole text
        {"", " ", "", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TokenizeString(c.text, c.sep, c.open, c.close), c.pieces) << "text '" << c.text << "'";
}

TEST(BasicsSplit, LoadFloatArrayFile) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("f.txt"), "1.5\n\n  2  \r\nx\n-0.25");
    EXPECT_EQ(LoadFloatArrayFile(dir.file("f.txt")), (std::vector<float>{1.5f, 2.0f, 0.0f, -0.25f}));

    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadFloatArrayFile(dir.file("missing.txt")).empty());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("NO FILE ERROR"), std::string::npos);
}

TEST(BasicsLists, MoveUpAndDown) {
    const auto A = std::make_shared<int>(1), B = std::make_shared<int>(2), C = std::make_shared<int>(3),
               D = std::make_shared<int>(4), X = std::make_shared<int>(5);
    using L = std::vector<std::shared_ptr<int>>;
    const L abcd{A, B, C, D};
    struct Case {
        bool up;
        std::shared_ptr<int> obj;
        L expected;
    };
    const Case cases[] = {
        {true, C, {A, C, B, D}},  {true, B, {B, A, C, D}},  {true, A, abcd},  {true, X, abcd},
        {false, B, {A, C, B, D}}, {false, A, {B, A, C, D}}, {false, D, abcd}, {false, X, abcd},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.up ? MoveUpInList(abcd, c.obj) : MoveDownInList(abcd, c.obj), c.expected)
            << (c.up ? "up " : "down ") << *c.obj;
    EXPECT_TRUE(MoveUpInList(L{}, A).empty());
    EXPECT_EQ(CopyList(abcd), abcd);
}

// ---------------------------------------------------------------------------------------------
// Value detection and keywords

TEST(BasicsValues, Detection) {
    struct Case {
        std::string text;
        int isFloat, isInt, isBool, type;
    };
    const Case cases[] = {
        {"12", 0, 1, 0, 0},  {"-3.25", 1, 0, 0, 1}, {"true", 0, 0, 1, 0}, {"FaLsE", 0, 0, 1, 0}, {"", 0, 1, 0, 0},
        {"12a", 0, 0, 0, 2}, {" 7 ", 0, 1, 0, 0},   {"1-2", 0, 0, 0, 2},  {"1.2.3", 0, 0, 0, 2}, {"-", 0, 1, 0, 0},
        {".", 1, 0, 0, 1},   {"-.5", 1, 0, 0, 1},   {"1.", 1, 0, 0, 1},   {"+1.5", 0, 0, 0, 2},  {"1e5", 0, 0, 0, 2},
        {"1,5", 0, 0, 0, 2}, {" true", 0, 0, 0, 2},  // truth values are not trimmed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFloatString(c.text), c.isFloat) << "'" << c.text << "'";
        EXPECT_EQ(IsIntString(c.text), c.isInt) << "'" << c.text << "'";
        EXPECT_EQ(IsBoolString(c.text), c.isBool) << "'" << c.text << "'";
        EXPECT_EQ(GetValueType(c.text), c.type) << "'" << c.text << "'";
    }
    EXPECT_EQ(IsNumberChar('-'), 1);
    EXPECT_EQ(IsNumberChar('.'), 0);
    EXPECT_EQ(IsFloatChar('.'), 1);
    EXPECT_EQ(IsFloatChar('e'), 0);
}

TEST(BasicsValues, AlignKeywordsAndText) {
    const std::pair<std::string, int> words[] = {
        {"LEFT", 1},   {"L", 1},       {"RIGHT", 2}, {"R", 2},      {"CENTER", 0}, {"C", 0},    {"J", 3},
        {"JUST", 3},   {"JUSTIFY", 3}, {"UP", 1},    {"TOP", 1},    {"U", 1},      {"T", 1},    {"DOWN", 2},
        {"BOTTOM", 2}, {"D", 2},       {"B", 2},     {"MIDDLE", 0}, {"M", 0},      {"left", 0}, {"", 0},
    };
    for (const auto& [w, v] : words) EXPECT_EQ(ParseAlignKeyword(w), v) << w;

    EXPECT_EQ(CapitalizeFirst("float"), "Float");
    EXPECT_EQ(CapitalizeString("xY z"), "XY z");
    EXPECT_EQ(CapitalizeFirst(""), "");

    const std::tuple<float, int, std::string> decimals[] = {
        {2.999f, 2, "2.99"}, {1.05f, 2, "1.05"}, {3.0f, 2, "3.00"},
        {0.5f, 3, "0.500"},  {-2.5f, 1, "-2.5"}, {7.9f, 0, "7"},
    };
    for (const auto& [v, n, text] : decimals) EXPECT_EQ(FloatToStringDecimals(v, n), text) << v;

    EXPECT_EQ(PerToPercent(0.999f), 99);
    EXPECT_EQ(PerToPercent(1.0f), 100);
    EXPECT_EQ(PerToPercent(-0.5f), -50);
}

// ---------------------------------------------------------------------------------------------
// Tables, timing and small maths

TEST(BasicsMaths, SinCosTables) {
    InitSinCosTables();
    EXPECT_EQ(SinTable[0], 0.0f);
    EXPECT_EQ(SinTable[90], 1.0f);
    EXPECT_EQ(CosTable[180], -1.0f);
    EXPECT_EQ(CosTable[0], 1.0f);
    EXPECT_FLOAT_EQ(SinTable[30], 0.5f);
    EXPECT_FLOAT_EQ(CosTable[300], 0.5f);
    EXPECT_FLOAT_EQ(SinTable[270], -1.0f);
}

TEST(BasicsMaths, TimeToPerStep) {
    EXPECT_EQ(TimeToPerStep(1000, 60), 1.0f / 60.0f);
    EXPECT_EQ(TimeToPerStep(500, 60), 1.0f / 30.0f);
    // One second at factor 1: sixty float steps of 1/60 end just short of 1, the next arrives.
    const float step = TimeToPerStep(1000, 60);
    float per = 0;
    int frames = 0;
    while (per < 1.0f && frames < 1000) {
        per = UpdatePer(per, 1.0f, step, 1.0f);
        ++frames;
    }
    EXPECT_EQ(frames, 61);
    EXPECT_EQ(per, 1.0f);
}

TEST(BasicsMaths, ZeroDurationArrivesAtOnceWithoutNaN) {
    for (int ms : {0, -5}) {
        const float step = TimeToPerStep(ms, 60);
        EXPECT_TRUE(std::isfinite(step)) << ms;
        EXPECT_EQ(UpdatePer(0.0f, 1.0f, step, 1.0f), 1.0f);
        EXPECT_EQ(UpdatePer(1.0f, 0.0f, step, 2.5f), 0.0f);
        EXPECT_EQ(UpdatePer(0.25f, 1.0f, step, 0.0f), 0.25f);  // a frame factor of 0 moves nothing
    }
    EXPECT_TRUE(std::isfinite(TimeToPerStep(1000, 0)));
}

TEST(BasicsMaths, UpdatePerWithExplicitFactor) {
    struct Case {
        float cur, target, step, speed, expected;
    };
    const Case cases[] = {
        {0.9f, 1.0f, 0.25f, 1.0f, 1.0f},  // clamped at the target
        {0.5f, 0.0f, 0.25f, 2.0f, 0.0f},  // factor 2, clamped
        {0.3f, 0.3f, 0.25f, 1.0f, 0.3f},  // equal stays
        {0.2f, 1.0f, 0.25f, 1.0f, 0.45f}, {0.8f, 0.0f, 0.25f, 0.5f, 0.675f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(UpdatePer(c.cur, c.target, c.step, c.speed), c.expected) << c.cur << " -> " << c.target;
}

TEST(BasicsMaths, FrameFactorComesFromDeltaWhenSpeedIsNegative) {
    const float saved = delta;
    delta = 2.0f;
    EXPECT_FLOAT_EQ(UpdatePer(0.25f, 1.0f, 0.25f, -1.0f), 0.75f);
    EXPECT_EQ(UpdatePer(0.9f, 1.0f, 0.25f, -1.0f), 1.0f);
    delta = 0.0f;  // a zero-length frame with an instant step: no NaN, no move
    EXPECT_EQ(UpdatePer(0.5f, 1.0f, TimeToPerStep(0, 60), -1.0f), 0.5f);
    delta = saved;
}

TEST(BasicsMaths, RandomSignAndParity) {
    ResetRnd();
    bool seen[2] = {false, false};
    for (int i = 0; i < 64; ++i) {
        const int s = RandomSign();
        ASSERT_TRUE(s == 1 || s == -1);
        seen[s == 1] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);

    const std::tuple<int, int, int> parity[] = {{3, 4, 1}, {-3, 5, 0}, {2, 0, 0}, {-3, 2, 1}, {0, -1, 1}};
    for (const auto& [a, b, r] : parity) {
        EXPECT_EQ(ParityDiffers(a, b), r) << a << "," << b;
        EXPECT_EQ(CheckerCell(a, b), r);
    }
}

TEST(BasicsMaths, PointInPolygon) {
    const std::vector<float> xs{0, 10, 10, 0}, ys{0, 0, 10, 10};
    const std::tuple<int, int, int> points[] = {
        {5, 5, 1}, {5, 10, 1}, {10, 5, 1}, {15, 5, 0}, {5, 0, 0}, {0, 5, 0}, {-1, -1, 0},
    };
    for (const auto& [x, y, in] : points) EXPECT_EQ(PointInPolygon(x, y, xs, ys), in) << x << "," << y;
    // Mismatched or empty vertex lists never read past their ends.
    EXPECT_EQ(PointInPolygon(5, 5, xs, {0, 0}), 0);
    EXPECT_EQ(PointInPolygon(5, 5, {}, {}), 0);
}

TEST(BasicsMaths, SampleLength) {
    EXPECT_NEAR(SampleLengthMs(22050, 44100), 500.0f, 0.01f);
    EXPECT_NEAR(SampleLengthMs(44100, 22050), 2000.0f, 0.01f);
    EXPECT_EQ(SampleLengthMs(1000, 0), 0.0f);
}

// ---------------------------------------------------------------------------------------------
// Colours and pixels

TEST(BasicsColours, ArgbConversion) {
    struct Case {
        int r, g, b;
        float a;
        uint32_t pixel;
    };
    const Case cases[] = {
        {255, 128, 0, 0.5f, 0x7FFF8000u},  // 127.5 truncated
        {1, 2, 3, 1.0f, 0xFF010203u},
        {0, 0, 0, 0.999f, 0xFE000000u},
        {256, -1, 0x1FF, 0.0f, 0x0000FFFFu},  // channels masked to 8 bits
    };
    for (const auto& c : cases) {
        TRGB rgb;
        rgb.SetData(c.r, c.g, c.b, c.a, 0.5f);
        EXPECT_EQ(RGBToARGB(rgb), c.pixel) << std::hex << c.pixel;
    }

    TRGB rgb;
    rgb.position = 0.25f;
    SetRGBFromARGB(rgb, 0x80FF0000u);
    EXPECT_EQ(rgb.r, 255);
    EXPECT_EQ(rgb.g, 0);
    EXPECT_EQ(rgb.b, 0);
    EXPECT_EQ(rgb.a, 128.0f / 255.0f);
    EXPECT_EQ(rgb.position, 0.25f);
    SetRGBFromARGB(rgb, 0xFF102030u);
    EXPECT_EQ(RGBToARGB(rgb), 0xFF102030u);
}

TEST(BasicsColours, InvertAndMove) {
    const auto inv = InvertRGB(*CreateRGB(255, 100, 0, 0.5f, 0.2f));
    EXPECT_EQ(inv->r, 0);
    EXPECT_EQ(inv->g, 155);
    EXPECT_EQ(inv->b, 255);
    EXPECT_EQ(inv->a, 1.0f);
    EXPECT_EQ(inv->position, 1.0f);

    std::vector<std::shared_ptr<TDim>> dims{CreateDim(1, 2, 3, 4, 0.5f, 5, 6, 7, 8), nullptr, CreateDim(-1, -2, 0, 0)};
    auto& moved = MoveDimArray(dims, 171, -2);
    EXPECT_EQ(&moved, &dims);
    EXPECT_EQ(dims[0]->x, 172);
    EXPECT_EQ(dims[0]->y, 0);
    EXPECT_EQ(dims[0]->w, 3);
    EXPECT_EQ(dims[0]->h, 4);
    EXPECT_EQ(dims[0]->x1, 5);
    EXPECT_EQ(dims[0]->y2, 8);
    EXPECT_EQ(dims[2]->x, 170);
    EXPECT_EQ(dims[2]->y, -4);
}

// ---------------------------------------------------------------------------------------------
// Drawing, on a real headless window

class BasicsDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Graphics(200, 100, 0)) << GraphicsError();
        ResetDrawState();
        SetClsColor(0, 0, 0);
        Cls();
        SetColor(255, 255, 255);
    }
    // 1 for a lit pixel, 0 for a black one.
    static int Lit(int x, int y) {
        const auto pix = GrabPixmap(x, y, 1, 1);
        return (pix && (pix->ReadPixel(0, 0) & 0xFFFFFF) != 0) ? 1 : 0;
    }
};

TEST_F(BasicsDrawing, ColourStateFromRGB) {
    SetAlpha(0.5f);
    SetColorRGB(*CreateRGB(10, 20, 30, 0.25f));
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(b, 30);
    EXPECT_EQ(GetAlpha(), 0.5f);  // untouched
    SetColorAlphaRGB(*CreateRGB(300, 1, 2, 0.25f));
    GetColor(r, g, b);
    EXPECT_EQ(r, 255);  // the drawing layer clamps
    EXPECT_EQ(GetAlpha(), 0.25f);
}

TEST_F(BasicsDrawing, BezierCurvesEndAtTheirEndPoints) {
    // Control points on the line: a straight line of 20 pieces, no piece past the end.
    DrawQuadBezier(10, 20, 110, 20, 60, 20);
    DrawCubicBezier(10, 60, 110, 60, 40, 60, 80, 60);
    for (int y : {20, 60}) {
        EXPECT_EQ(Lit(10, y), 1);
        EXPECT_EQ(Lit(60, y), 1);
        EXPECT_EQ(Lit(109, y), 1);
        EXPECT_EQ(Lit(114, y), 0) << y;
        EXPECT_EQ(Lit(60, y + 3), 0);
    }
    // Bent toward the control point: the middle lies halfway to it.
    Cls();
    DrawQuadBezier(10, 90, 110, 90, 60, 10);
    EXPECT_EQ(Lit(60, 50), 1);
    EXPECT_EQ(Lit(60, 90), 0);
}

TEST_F(BasicsDrawing, ImageFillDrawsTheLowerPartInPlace) {
    const auto img = CreateImage(10, 20, 1, 0);
    ASSERT_TRUE(img);
    LockImage(img)->ClearPixels(static_cast<int>(0xFFFFFFFFu));
    UnlockImage(img);

    DrawImageFill(img, 20, 20, 0.25f);  // rows 35..39 of a picture at 20..39
    EXPECT_EQ(Lit(25, 34), 0);
    EXPECT_EQ(Lit(25, 35), 1);
    EXPECT_EQ(Lit(25, 39), 1);
    EXPECT_EQ(Lit(25, 40), 0);

    SetScale(2, 2);  // the whole picture would cover rows 20..59: its lower quarter is 50..59
    DrawImageFill(img, 60, 20, 0.25f);
    EXPECT_EQ(Lit(65, 49), 0);
    EXPECT_EQ(Lit(78, 50), 1);
    EXPECT_EQ(Lit(78, 59), 1);
    EXPECT_EQ(Lit(78, 60), 0);

    SetScale(1, 1);
    DrawImageFill(img, 150, 20, 0.0f);
    DrawImageFill(nullptr, 150, 20, 1.0f);
    for (int y = 20; y < 40; ++y) EXPECT_EQ(Lit(155, y), 0);
}

TEST_F(BasicsDrawing, OutlinedTextLeavesAWhiteState) {
    SetScale(3, 3);
    SetBlend(LIGHTBLEND);
    SetAlpha(0.2f);
    DrawTextOutlined("Hi", 20, 20);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 255 * 3);
    EXPECT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    int lit = 0;
    for (int y = 18; y < 40; ++y)
        for (int x = 18; x < 40; ++x) lit += Lit(x, y);
    EXPECT_GT(lit, 0);
}
