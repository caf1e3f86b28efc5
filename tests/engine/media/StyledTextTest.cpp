// Class-styled text: layer order and alphas, the draw state left as found, alignment helpers,
// wrapped drawing, real glyphs in a headless frame.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/system/Paths.h"
#include "engine/media/AppFont.h"
#include "engine/media/StyledText.h"
#include "engine/media/TextClass.h"
#include "engine/media/TextLayoutTestSupport.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

namespace {

using texttest::Calls;

std::string FontPath() { return testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"; }

class StyledTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedBDir = bDir;
        ResetDrawState();
        ResetFonts();
        SetDefaultFontPath(FontPath());
        AppGlobalManager::Reset();
        AppClassManager::Reset();
        AppFontManager::Reset();
    }
    void TearDown() override {
        AppGlobalManager::Reset();
        AppClassManager::Reset();
        AppFontManager::Reset();
        ResetDrawState();
        ResetFonts();
        bDir = savedBDir;
    }
    // Red body at half alpha, a blue outline, a shadow of half alpha 3 right and 4 down.
    static TTextClassPtr StyledClass() {
        auto cls = std::make_shared<TTextClass>();
        cls->Rgb = CreateRGB(255, 0, 0, 0.5f);
        cls->OutLIne = CreateRGB(0, 0, 255, 1.0f);
        cls->Shadow = CreateDim(0.5f, 3, 4, 0);
        return cls;
    }
    std::string savedBDir;
};

void ExpectState(int r, int g, int b, float a, int blend, const TImageFontPtr& font) {
    int cr, cg, cb;
    GetColor(cr, cg, cb);
    EXPECT_EQ(cr, r);
    EXPECT_EQ(cg, g);
    EXPECT_EQ(cb, b);
    EXPECT_FLOAT_EQ(GetAlpha(), a);
    EXPECT_EQ(GetBlend(), blend);
    EXPECT_EQ(GetImageFont(), font);
}

TEST_F(StyledTextTest, LayersMultiplyTheAlphaInForceAndTheStateIsRestored) {
    texttest::FakeText fake;
    auto other = GetAppFont(FontPath(), 30);
    auto cls = StyledClass();
    cls->Font = GetAppFont(FontPath(), 18);
    SetColor(10, 20, 30);
    SetAlpha(0.8f);
    SetBlend(LIGHTBLEND);
    SetImageFont(other);
    SetTextClass(cls);

    DrawClassText("Hi", 50, 60);

    ASSERT_EQ(Calls().size(), 6u);
    const auto& c = Calls();
    EXPECT_FLOAT_EQ(c[0].alpha, 0.4f);  // shadow: 0.5 of 0.8, black, unscaled offset
    EXPECT_EQ(c[0].r + c[0].g + c[0].b, 0);
    EXPECT_FLOAT_EQ(c[0].x, 53);
    EXPECT_FLOAT_EQ(c[0].y, 64);
    const float dx[] = {-1, 1, -1, 1}, dy[] = {-1, -1, 1, 1};
    for (int k = 0; k < 4; ++k) {  // outline: 1.0 of 0.8, four diagonals
        EXPECT_FLOAT_EQ(c[1 + k].alpha, 0.8f);
        EXPECT_EQ(c[1 + k].b, 255);
        EXPECT_FLOAT_EQ(c[1 + k].x, 50 + dx[k]);
        EXPECT_FLOAT_EQ(c[1 + k].y, 60 + dy[k]);
    }
    EXPECT_FLOAT_EQ(c[5].alpha, 0.4f);  // body: 0.5 of 0.8, in the class colour
    EXPECT_EQ(c[5].r, 255);
    EXPECT_FLOAT_EQ(c[5].x, 50);
    for (const auto& call : c) EXPECT_EQ(call.blend, ALPHABLEND);
    ExpectState(10, 20, 30, 0.8f, LIGHTBLEND, other);

    // Without its own colour the body takes the colour and alpha in force.
    cls->Rgb.reset();
    cls->Shadow.reset();
    cls->OutLIne.reset();
    Calls().clear();
    DrawClassText("Hi", 0, 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].r, 10);
    EXPECT_FLOAT_EQ(Calls()[0].alpha, 0.8f);
}

TEST_F(StyledTextTest, EmptyTextAndNoClassDrawPlainly) {
    texttest::FakeText fake;
    SetColor(1, 2, 3);
    SetAlpha(0.3f);
    SetBlend(SHADEBLEND);
    SetTextClass(StyledClass());
    DrawClassText("", 5, 5);
    EXPECT_TRUE(Calls().empty());
    ExpectState(1, 2, 3, 0.3f, SHADEBLEND, GetImageFont());

    SetTextClassById("no such class");
    EXPECT_FALSE(AppGlobalManager::CurrTextClass);
    DrawClassText("plain", 7, 8);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].blend, SHADEBLEND);
    EXPECT_FLOAT_EQ(Calls()[0].alpha, 0.3f);
    EXPECT_EQ(Calls()[0].g, 2);
}

TEST_F(StyledTextTest, RightCentreAndWrappedPlacement) {
    texttest::FakeText fake;
    auto cls = std::make_shared<TTextClass>();
    SetTextClass(cls);
    DrawClassTextRight(std::string(100, 'x'), 500, 0);
    DrawClassTextCenter(std::string(101, 'x'), 500, 0);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_FLOAT_EQ(Calls()[0].x, 400);
    EXPECT_FLOAT_EQ(Calls()[1].x, 449.5f);

    const std::string a10(10, 'a'), b20(20, 'b'), text = a10 + " " + b20 + " " + b20 + " " + a10;
    struct Case {
        int align;
        std::vector<float> xs;  // where each drawn piece starts
        std::vector<float> ys;
    } cases[] = {
        {0, {10, 10}, {0, 20}},                 // lines "a b" and "b a" (31 wide) at x
        {2, {19, 19}, {0, 20}},                 // ending at x + width
        {1, {14.5f, 14.5f}, {0, 20}},           // centred on x + width / 2
        {3, {10, 25, 10, 35}, {0, 0, 20, 20}},  // words justified: gap = free room / word count
        {7, {}, {}},
    };
    for (const auto& c : cases) {
        Calls().clear();
        DrawClassTextWrapped(text, 10, 0, 40, c.align, 4);
        ASSERT_EQ(Calls().size(), c.xs.size()) << c.align;
        for (size_t i = 0; i < c.xs.size(); ++i) {
            EXPECT_FLOAT_EQ(Calls()[i].x, c.xs[i]) << c.align << " " << i;
            EXPECT_FLOAT_EQ(Calls()[i].y, c.ys[i]) << c.align << " " << i;
        }
    }
}

TEST_F(StyledTextTest, MeasuresInTheClassFont) {
    auto font = GetAppFont(FontPath(), 40);
    ASSERT_TRUE(font);
    EXPECT_EQ(GetClassTextHeight("x"), TextHeight("x"));  // no class: the current font
    auto cls = std::make_shared<TTextClass>();
    cls->Font = font;
    SetTextClass(cls);
    EXPECT_EQ(GetClassTextWidth("Wide"), font->Width("Wide"));
    EXPECT_EQ(GetClassTextHeight("x"), font->Height());
    EXPECT_EQ(GetImageFont(), font);
    EXPECT_GT(font->Height(), DefaultImageFont()->Height());
}

// Reads back a real frame: the body is drawn in the class colour under half the alpha in force,
// the shadow beside it in black.
TEST_F(StyledTextTest, GlyphsAreReallyDrawn) {
    ASSERT_NO_FATAL_FAILURE(testsupport::OpenWideWindow());
    ResetDrawState();
    SetClsColor(200, 200, 200);
    Cls();

    auto cls = std::make_shared<TTextClass>();
    cls->Font = GetAppFont(FontPath(), 48);
    ASSERT_TRUE(cls->Font);
    cls->Rgb = CreateRGB(255, 0, 0, 1.0f);
    cls->Shadow = CreateDim(1.0f, 80, 0, 0);
    SetTextClass(cls);
    const std::string block = "\xE2\x96\x88";  // U+2588 FULL BLOCK: solid where sampled
    SetAlpha(0.5f);
    DrawClassText(block, 100, 100);

    int cx = 100 + cls->Font->Width(block) / 2, cy = 100 + cls->Font->Height() / 2;
    auto read = [](int x, int y) { return GrabPixmap(x, y, 1, 1)->ReadPixel(0, 0); };
    uint32_t body = read(cx, cy), shadow = read(cx + 80, cy), untouched = read(cx + 40, cy - 60);
    auto near = [](uint32_t px, int r, int g, int b) {
        return std::abs(int((px >> 16) & 255) - r) <= 3 && std::abs(int((px >> 8) & 255) - g) <= 3 &&
               std::abs(int(px & 255) - b) <= 3;
    };
    EXPECT_TRUE(near(body, 227, 100, 100)) << std::hex << body;
    EXPECT_TRUE(near(shadow, 100, 100, 100)) << std::hex << shadow;
    EXPECT_TRUE(near(untouched, 200, 200, 200)) << std::hex << untouched;
    EXPECT_FLOAT_EQ(GetAlpha(), 0.5f);
}

}  // namespace
