#include "engine/data/IniFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Sections as "name{KEY=VALUE,...}" separated by blanks.
std::string Dump(const TIniBlockList& blocks) {
    std::string s;
    for (const auto& b : blocks) {
        if (!s.empty()) s += " ";
        s += b->name + "{";
        for (size_t i = 0; i < b->params.size(); ++i) s += (i ? "," : "") + b->params[i]->id + "=" + b->params[i]->data;
        s += "}";
    }
    return s;
}

}  // namespace

TEST(IniFile, Tokenizing) {
    EXPECT_EQ(TokenizeIniText(" [A]\r\nx=1 \n k \t= a\tb\n"),
              (std::vector<std::string>{"[A]", "x", "=", "1", "k", "=", "a\tb"}));
    EXPECT_TRUE(TokenizeIniText(" \n = ").size() == 1);
}

TEST(IniFile, ReadingSectionsAndPairs) {
    struct Case {
        const char* text;
        const char* sections;
    } cases[] = {
        {"[A]\nx=1\n", "A{X=1}"},
        {"[Screen]\r\nWidth = 800\r\nLang = en\r\n", "Screen{WIDTH=800,LANG=EN}"},
        {"[A]\nk = hello world\n", "A{K=HELLO}"},
        {"[A]\nk =\nj = 2\n", "A{K=J}"},
        {"k = 1\n[A]\n", "A{}"},
        {"[MY SECTION]\na = 1\n", "M{SECTION]==}"},
        {"[Screen\n", "Scree{}"},
        {"[]\n[\n", "{} {}"},
        {"[A]\nk=1\n[A]\nk=2\nk=3\n", "A{K=1} A{K=2,K=3}"},
        {"[A]\na\tb = 1\n", "A{A\tB=1}"},
        {"", ""},
        {"no header = 1", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Dump(ParseIniText(c.text)), c.sections) << c.text;
}

// What an ini text becomes is bounded in words, whatever its lines: beyond, it is refused whole.
TEST(IniFile, ATextOfMoreWordsThanAFileMayHoldIsRefusedWhole) {
    std::string text = "[A]\n";
    const size_t pairs = (kMaxIniWords - 1) / 3;  // three words each, the header one
    for (size_t i = 0; i < pairs; ++i) text += "k=v\n";
    testing::internal::CaptureStdout();
    TIniBlockList read = ParseIniText(text, "Settings.ini");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->params.size(), pairs);
    for (const std::string& more : {std::string("k"), std::string(" a b c d e f g h")}) {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(ParseIniText(text + more, "Settings.ini").empty());
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_NE(said.find("The file Settings.ini holds more than 262144 words; it is not read!"), std::string::npos)
            << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
    }
    EXPECT_EQ(TokenizeIniText(text + " x y z").size(), kMaxIniWords + 1);  // never more
}

TEST(IniFile, LookupsAndUpdates) {
    auto blocks = ParseIniText("[A]\nk = 5\nK = 6\nf = 0.5\nt = true\nn = FALSE\nw = word\n");
    ASSERT_EQ(blocks.size(), 1u);
    auto& a = *blocks[0];
    EXPECT_EQ(a.GetParam("k"), "5");
    EXPECT_EQ(a.GetParam("missing"), "");
    EXPECT_EQ(a.GetParamInt("missing"), 0);
    EXPECT_EQ(a.GetParamFloat("K"), 5.0f);
    EXPECT_EQ(a.GetParamInt("f"), 0);
    EXPECT_EQ(a.GetParamFloat("f"), 0.5f);
    // "TRUE" is a true flag, read as 1 by every getter.
    EXPECT_EQ(a.GetParamInt("t"), 1);
    EXPECT_EQ(a.GetParamFloat("t"), 1.0f);
    EXPECT_EQ(a.params[3]->GetBool(), 1);
    EXPECT_EQ(a.params[4]->GetBool(), 0);
    EXPECT_EQ(a.params[0]->GetBool(), 1);
    EXPECT_EQ(a.params[5]->GetBool(), 0);
    EXPECT_EQ(a.GetParamInt("w"), 0);

    a.SetParam("k", "new");
    EXPECT_EQ(a.params[0]->data, "new");
    EXPECT_EQ(a.params[0]->id, "K");
    EXPECT_EQ(a.params[1]->data, "6");
    a.SetParam("WindowWidth", "800");
    EXPECT_EQ(a.params.back()->ToString(), "WindowWidth = 800");
    a.SetParamInt("Neg", -3);
    a.SetParamFloat("Half", 0.5f);
    EXPECT_EQ(a.GetParam("neg"), "-3");
    EXPECT_EQ(a.GetParam("HALF"), "0.500000000");
}

TEST(IniFile, WrittenBytesReadBack) {
    testsupport::TempDir dir;
    auto one = CreateIniBlock("A");
    one->SetParam("X", "1");
    ASSERT_TRUE(SaveIniFile({one}, dir.file("one.ini")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("one.ini")), "[A]\nX = 1\n\n");

    auto screen = CreateIniBlock("Screen");
    screen->SetParamInt("WindowWidth", 1366);
    screen->SetParamFloat("Gamma", 0.75f);
    screen->SetParam("Lang", "fr");
    auto vol = CreateIniBlock("Volume");
    vol->SetParamFloat("Music", 1.0f);
    ASSERT_TRUE(SaveIniFile({screen, nullptr, vol}, dir.file("s.ini")));
    auto back = LoadIniFile(dir.file("s.ini"));
    EXPECT_EQ(Dump(back), "Screen{WINDOWWIDTH=1366,GAMMA=0.750000000,LANG=FR} Volume{MUSIC=1.00000000}");
    EXPECT_EQ(back[0]->GetParamFloat("gamma"), 0.75f);

    // A character above 255 is written as UTF-16 and still reads back.
    auto wide = CreateIniBlock("Łódź");
    wide->SetParam("k", "v");
    ASSERT_TRUE(SaveIniFile({wide}, dir.file("w.ini")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("w.ini")).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Dump(LoadIniFile(dir.file("w.ini"))), "Łódź{K=V}");
}

TEST(IniFile, FileFailuresAreReported) {
    testsupport::TempDir dir;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LoadIniFile(dir.file("none.ini")).empty());
    EXPECT_FALSE(SaveIniFile({CreateIniBlock("A")}, dir.file("no/folder/x.ini")));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("NO FILE ERROR"), std::string::npos);
    EXPECT_NE(out.find("x.ini"), std::string::npos);
}
