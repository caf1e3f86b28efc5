// Word wrapping, justified layout and the drawing of laid-out lines, measured with exact metrics
// (one pixel per byte, 16-pixel lines).
#include <gtest/gtest.h>

#include "engine/media/AppFont.h"
#include "engine/media/StyledText.h"
#include "engine/media/TextClass.h"
#include "engine/media/TextLayout.h"
#include "engine/media/TextLayoutTestSupport.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "support/TestSupport.h"

namespace {

using texttest::Calls;

std::string Rep(char c, int n) { return std::string(static_cast<size_t>(n), c); }

class TextLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDrawState();
        TextProcesor::Reset();
        AppGlobalManager::Reset();
    }
    void TearDown() override {
        TextProcesor::Reset();
        AppGlobalManager::Reset();
        ResetDrawState();
        SetImageFont(nullptr);
    }
    texttest::FakeText fake;
};

std::vector<std::string> WordTexts(const TAppTextLine& line) {
    std::vector<std::string> out;
    for (const auto& w : line.list) out.push_back(w->word);
    return out;
}

TEST_F(TextLayoutTest, WrapsOnlyAtSpacesAndFitsExactWidths) {
    const std::string wide1 = Rep('w', 30), wide2 = Rep('v', 40);
    struct Case {
        std::string text;
        float width;
        std::vector<std::vector<std::string>> words;  // per line
    } cases[] = {
        {"", 100, {{""}}},
        {wide1, 10, {{wide1}}},
        {wide1 + " " + wide2, 10, {{wide1}, {wide2}}},
        {"aa bb", 5, {{"aa", "bb"}}},  // joined width exactly the width
        {"aa bb", 4, {{"aa"}, {"bb"}}},
        {"a  b", 100, {{"a", "", "b"}}},                   // two spaces: an empty word between
        {"one\ntwo three", 9, {{"one\ntwo"}, {"three"}}},  // a line feed is not a break
        {"aa bb cc dd", 5, {{"aa", "bb"}, {"cc", "dd"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " / " + std::to_string(c.width));
        auto lines = TextProcesor::CreateTextWordLines(c.text, c.width);
        ASSERT_EQ(lines.size(), c.words.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(WordTexts(*lines[i]), c.words[i]);
            EXPECT_EQ(lines[i]->WrapWidth, c.width);
        }
        EXPECT_EQ(TextProcesor::TextLines, lines);
    }
    auto lines = TextProcesor::CreateTextWordLines("a  b", 100);
    EXPECT_EQ(lines[0]->line, "a  b");
    EXPECT_EQ(lines[0]->width, 2.0f);  // spaces not counted
    EXPECT_EQ(lines[0]->SpaceWidth, 3.0f);
    EXPECT_EQ(lines[0]->height, 16.0f);
}

TEST_F(TextLayoutTest, CountAllSpreadsWordsToTheWrapWidth) {
    struct Case {
        std::vector<int> widths;
        float wrap;
        std::vector<float> xs;
    } cases[] = {
        {{10, 20}, 100, {0, 80}},
        {{10, 10, 10}, 100, {0, 45, 90}},
        {{30}, 100, {0}},
        {{60, 60}, 100, {0, 40}},  // too wide: a negative gap, overlapping words
    };
    for (const auto& c : cases) {
        TAppTextLine line;
        line.WrapWidth = c.wrap;
        char ch = 'a';
        for (int w : c.widths) line.AddTextWord(CreateTextWord(Rep(ch++, w)));
        line.CountAll();
        line.CountWordsAngles();
        ASSERT_EQ(line.list.size(), c.xs.size());
        for (size_t i = 0; i < c.xs.size(); ++i) {
            EXPECT_FLOAT_EQ(line.list[i]->x, c.xs[i]) << i;
            EXPECT_FLOAT_EQ(line.list[i]->Dist, c.xs[i]);
            EXPECT_EQ(line.list[i]->Angle, 0.0f);
        }
    }
    // A wrap lays out every line it makes.
    auto lines = TextProcesor::CreateTextWordLines(Rep('a', 10) + " " + Rep('b', 20) + " " + Rep('c', 80), 100);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0]->list[1]->x, 80.0f);
    EXPECT_FLOAT_EQ(lines[0]->Space, 70.0f);
    EXPECT_FLOAT_EQ(lines[1]->list[0]->x, 0.0f);
}

TEST_F(TextLayoutTest, FullAndHalfWidthMeasureTheTrimmedLine) {
    TAppTextLine line;
    line.line = "abcd ";
    EXPECT_FLOAT_EQ(line.GetHalfWidth(), 2.0f);
    EXPECT_FLOAT_EQ(line.GetFullWidth(), 4.0f);
}

TEST_F(TextLayoutTest, StringWrapsAndTheirArrays) {
    TextProcesor::CreateLines("aa bb cc", 5);
    EXPECT_EQ(TextProcesor::CurrTextLines, (std::vector<std::string>{"aa bb", "cc"}));
    EXPECT_EQ(TextProcesor::CurrLinesWidth, (std::vector<float>{5, 2}));

    TextProcesor::CreateLines(" ", 100);  // a last line that is empty gives no line
    EXPECT_TRUE(TextProcesor::CurrTextLines.empty());

    TextProcesor::CreateLinesList("aa bb cc", 5);
    ASSERT_EQ(TextProcesor::TextLines.size(), 2u);
    EXPECT_EQ(TextProcesor::TextLines[0]->line, "aa bb");
    EXPECT_EQ(TextProcesor::TextLines[0]->width, 4.0f);
    EXPECT_EQ(WordTexts(*TextProcesor::TextLines[1]), std::vector<std::string>{"cc"});

    // An added word on an empty line still gets its space.
    TAppTextLine line;
    line.AddWord("x");
    EXPECT_EQ(line.line, " x");
}

TEST_F(TextLayoutTest, CreateLinesSelectsTheCurrentClassFont) {
    AppFontManager::Reset();
    auto cls = std::make_shared<TTextClass>();
    cls->Font = GetAppFont(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf", 22);
    ASSERT_TRUE(cls->Font);
    SetTextClass(cls);
    TextProcesor::CreateLines("one two", 50);
    EXPECT_EQ(GetImageFont(), cls->Font);
    AppFontManager::Reset();
}

TEST_F(TextLayoutTest, DrawLayersShadowOutlineAndBodyUnderTheAlphaInForce) {
    TTextClass cls;
    cls.Rgb = CreateRGB(255, 0, 0, 0.5f);
    cls.OutLIne = CreateRGB(0, 0, 255, 1.0f);
    cls.Shadow = CreateDim(0.5f, 3, 4, 0);
    SetColor(10, 20, 30);
    SetAlpha(0.8f);
    SetScale(2, 2);

    auto lines = TextProcesor::CreateTextWordLines("aa bb cc", 5);
    ASSERT_EQ(lines.size(), 2u);
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i]->Draw(100, 50 + 20.0f * i, &cls), 0.0f);

    ASSERT_EQ(Calls().size(), 12u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto* c = &Calls()[i * 6];
        float y = 50 + 20.0f * i;
        // Shadow: black, offset by the shadow's offsets times the scale.
        EXPECT_FLOAT_EQ(c[0].alpha, 0.4f);
        EXPECT_EQ(c[0].r + c[0].g + c[0].b, 0);
        EXPECT_FLOAT_EQ(c[0].x, 106);
        EXPECT_FLOAT_EQ(c[0].y, y + 8);
        // Outline: four unscaled diagonals, never the centre.
        const float dx[] = {-1, 1, -1, 1}, dy[] = {-1, -1, 1, 1};
        for (int k = 0; k < 4; ++k) {
            EXPECT_FLOAT_EQ(c[1 + k].x, 100 + dx[k]);
            EXPECT_FLOAT_EQ(c[1 + k].y, y + dy[k]);
            EXPECT_FLOAT_EQ(c[1 + k].alpha, 0.8f);
            EXPECT_EQ(c[1 + k].b, 255);
        }
        // Body: the class colour at the alpha in force before the first line times its alpha.
        EXPECT_EQ(c[5].text, lines[i]->line);
        EXPECT_FLOAT_EQ(c[5].x, 100);
        EXPECT_FLOAT_EQ(c[5].alpha, 0.4f);
        EXPECT_EQ(c[5].r, 255);
    }
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r * 10000 + g * 100 + b, 10 * 10000 + 20 * 100 + 30);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.8f);
}

TEST_F(TextLayoutTest, DrawJustPlacesWordsByLayoutOrByPolarOffset) {
    auto lines = TextProcesor::CreateTextWordLines(Rep('a', 10) + " " + Rep('b', 20), 100);
    TAppTextLine& line = *lines[0];
    line.CountWordsAngles();
    struct Case {
        float rotation, scale;
        float x2, y2;  // where the second word lands when the line is drawn at (10, 20)
    } cases[] = {
        {0, 1, 90, 20},
        {0, 2, 170, 20},
        {90, 1, 10, 100},
        {180, 1, -70, 20},
    };
    for (const auto& c : cases) {
        Calls().clear();
        SetRotation(c.rotation);
        SetScale(c.scale, c.scale);
        EXPECT_EQ(line.DrawJust(10, 20, nullptr), 0.0f);
        ASSERT_EQ(Calls().size(), 2u);
        EXPECT_FLOAT_EQ(Calls()[0].x, 10);
        EXPECT_FLOAT_EQ(Calls()[0].y, 20);
        EXPECT_FLOAT_EQ(Calls()[1].x, c.x2) << c.rotation << " " << c.scale;
        EXPECT_FLOAT_EQ(Calls()[1].y, c.y2) << c.rotation << " " << c.scale;
    }
}

}  // namespace
