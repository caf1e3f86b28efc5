// The newsletter's bracket-block settings file and its text-lines file.
#include <gtest/gtest.h>

#include "online/EnBlock.h"
#include "support/TestSupport.h"

namespace {

using testsupport::TempDir;
using testsupport::WriteFileBytes;

std::vector<std::string> Pairs(const TEnBlockPtr& block) {
    std::vector<std::string> out;
    for (const auto& p : block->params) out.push_back(p->ToString());
    return out;
}

TEST(EnBlockTest, BlocksHoldUpperCasedPairsInFileOrder) {
    TempDir dir;
    WriteFileBytes(dir.file("newsletter.dat"),
                   "ignored = before\r\n[SETTINGS]\r\nPanelX = 400\r\n\tPanelY=300\r\nFontUrl = fonts/Big.ttf\r\n"
                   "[settings]\nX = 1 X = 2 Type = textbutton\n[ SETTINGS ] v\n[]\n[Tail]\nScale =");
    const std::vector<TEnBlockPtr> blocks = LoadEnBlockFile(dir.file("newsletter.dat"));
    ASSERT_EQ(blocks.size(), 5u);

    EXPECT_EQ(blocks[0]->name, "SETTINGS");
    EXPECT_EQ(Pairs(blocks[0]), (std::vector<std::string>{"PANELX = 400", "PANELY = 300", "FONTURL = FONTS/BIG.TTF"}));
    EXPECT_EQ(blocks[0]->GetParamInt("panelx"), 400);
    EXPECT_EQ(blocks[0]->GetParam("fonturl"), "FONTS/BIG.TTF");
    EXPECT_EQ(blocks[0]->ToString(), "[ SETTINGS ]\nPANELX = 400\nPANELY = 300\nFONTURL = FONTS/BIG.TTF\n");

    EXPECT_EQ(blocks[1]->name, "settings");    // case kept
    EXPECT_EQ(blocks[1]->GetParam("x"), "1");  // the first of two
    EXPECT_EQ(blocks[1]->GetParam("TYPE"), "TEXTBUTTON");

    // Blanks inside the brackets: an empty name, and the word becomes the first key.
    EXPECT_EQ(blocks[2]->name, "");
    EXPECT_EQ(Pairs(blocks[2]), (std::vector<std::string>{"SETTINGS = V"}));
    EXPECT_EQ(blocks[3]->name, "");
    EXPECT_TRUE(blocks[3]->params.empty());
    EXPECT_TRUE(blocks[4]->params.empty());  // an incomplete last triple is dropped
}

TEST(EnBlockTest, AValueIsOneWordAndNumbersReadAsStringToIntReadsThem) {
    const std::vector<TEnBlockPtr> blocks =
        ParseEnBlockText("[W]\nText = Hello World = x\nA = $1F\nB = %101\nC = 12PX\nD = -7\nE = 0.5\n");
    ASSERT_EQ(blocks.size(), 1u);
    const TEnBlockPtr& b = blocks[0];
    EXPECT_EQ(b->GetParam("text"), "HELLO");
    EXPECT_EQ(b->GetParam("world"), "X");  // the second word shifted into the next triple
    EXPECT_EQ(b->GetParamInt("A"), 31);
    EXPECT_EQ(b->GetParamInt("B"), 5);
    EXPECT_EQ(b->GetParamInt("C"), 12);
    EXPECT_EQ(b->GetParamInt("D"), -7);
    EXPECT_FLOAT_EQ(b->GetParamFloat("E"), 0.5f);
    EXPECT_EQ(b->GetParam("absent"), "");
    EXPECT_EQ(b->GetParamInt("absent"), 0);
    EXPECT_EQ(b->GetParamFloat("absent"), 0.0f);

    EXPECT_TRUE(ParseEnBlockText("").empty());
    EXPECT_TRUE(ParseEnBlockText("no = blocks\n").empty());
    EXPECT_TRUE(LoadEnBlockFile("/nonexistent/newsletter.dat").empty());
}

TEST(EnBlockTest, TextLinesAreCutAtLineFeedsOnly) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb", {"a\r", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"", {}},
        {"one", {"one"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFileBytes(dir.file("lines.txt"), c.text);
        EXPECT_EQ(LoadTextLines(dir.file("lines.txt")), c.lines) << c.text;
    }

    WriteFileBytes(dir.file("newsletter.txt"), "\xEF\xBB\xBFJoin us\nName:\n");
    EXPECT_EQ(LoadTextLines(dir.file("newsletter.txt")), (std::vector<std::string>{"Join us", "Name:"}));
    EXPECT_TRUE(LoadTextLines(dir.file("missing.txt")).empty());
}

}  // namespace
