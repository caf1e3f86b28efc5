#include "engine/media/TxtFile.h"

#include <gtest/gtest.h>

#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {
class TxtFile : public ::testing::Test {
protected:
    void SetUp() override { ResetAppPaths(); }
    void TearDown() override { ResetAppPaths(); }
    TempDir dir;
};
}  // namespace

TEST_F(TxtFile, LinesAreSplitAtLineFeedsOnly) {
    using V = std::vector<std::string>;
    struct Case {
        std::string bytes;
        V lines;
    } cases[] = {
        {"a\nb", V{"a", "b"}},
        {"a\nb\n", V{"a", "b"}},
        {"a\n\nb", V{"a", "", "b"}},
        {"\n", V{""}},
        {"", V{}},
        {"a\r\nb\r\n", V{"a\r", "b\r"}},
        {"a\r\nb", V{"a\r", "b"}},
        {"\xEF\xBB\xBF"
         "\xC3\xA9t\xC3\xA9\n",
         V{"\xC3\xA9t\xC3\xA9"}},       // UTF-8 with a mark
        {"caf\xE9", V{"caf\xC3\xA9"}},  // Latin-1 without one
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.file("t.txt"), c.bytes);
        auto f = LoadTxtFile(dir.file("t.txt"));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->txt, c.lines) << c.bytes;
    }
}

TEST_F(TxtFile, LinesAreNumberedFromOne) {
    WriteFileBytes(dir.file("t.txt"), "first\nsecond\nlast\n");
    auto f = LoadTxtFile(dir.file("t.txt"));
    ASSERT_EQ(f->Lines(), 3);
    struct Case {
        int n;
        const char* text;
    } cases[] = {{1, "first"}, {2, "second"}, {3, "last"}, {4, ""}, {0, ""}, {-1, ""}};
    for (const auto& c : cases) EXPECT_EQ(GetTxtLine(f, c.n), c.text) << c.n;
    EXPECT_EQ(GetTxtLine(nullptr, 1), "");
}

TEST_F(TxtFile, LangPlaceholderSelectsLanguageFolder) {
    CreateDir(dir.file("Local/de"));
    WriteFileBytes(dir.file("Local/de/credits.txt"), "Danke\n");
    LangMod = "de";
    auto f = LoadTxtFile(dir.path() + "/Local/#LANG#/credits.txt");
    EXPECT_EQ(GetTxtLine(f, 1), "Danke");
}

TEST_F(TxtFile, MissingFileIsReportedAndEmpty) {
    testing::internal::CaptureStdout();
    auto f = LoadTxtFile(dir.file("Local/#LANG#/none.txt"));
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Lines(), 0);
    EXPECT_EQ(GetTxtLine(f, 1), "");
    EXPECT_EQ(out, "NO FILE ERROR ( File: TxtFile  Code: LoadTxtFile ) No such file or directory! Url = " +
                       dir.file("Local/en/none.txt") + "\n");
}

TEST_F(TxtFile, SaveWritesLinesAndReadsBack) {
    auto f = std::make_shared<TTxtFile>();
    f->txt = {"a", "b"};
    ASSERT_TRUE(SaveTxtFile(f, dir.file("s.txt")));
    EXPECT_EQ(ReadFileBytes(dir.file("s.txt")), "a\nb\n");

    f->txt = {"\xC5\x81\xC3\xB3\x64\xC5\xBA", ""};  // a character above 255: UTF-16LE with a mark
    ASSERT_TRUE(SaveTxtFile(f, dir.file("s.txt")));
    EXPECT_EQ(ReadFileBytes(dir.file("s.txt")),
              std::string("\xFF\xFE\x41\x01\xF3\x00\x64\x00\x7A\x01\x0A\x00\x0A\x00", 14));
    EXPECT_EQ(LoadTxtFile(dir.file("s.txt"))->txt, f->txt);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveTxtFile(f, dir.file("no/such/folder/s.txt")));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
}

TEST_F(TxtFile, LineReferences) {
    CreateDir(dir.file("Local/de"));
    WriteFileBytes(dir.file("Local/de/names.txt"), "one\ntwo\n");
    LangMod = "de";
    bDir = dir.path() + "/";
    struct Case {
        std::string text;
        std::string out;
    } cases[] = {
        {"[Local/#LANG#/names.txt|2]", "two"},  // inside the data folder
        {"[Local/#LANG#/names.txt|x]", ""},     // no number: line 0
        {"[Local/#LANG#/names.txt]", ""},       // no line-number piece
        {"[Local/#LANG#/names.txt|9]", ""},    {"[./Local/de/../de/names.txt|1]", "one"},
        {"plain text", "plain text"},          {"[not closed", "[not closed"},
        {"not opened]", "not opened]"},        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ResolveTxtRef(c.text), c.out) << c.text;
    EXPECT_EQ(GetTxtRefLine("[Local/#LANG#/names.txt|1]", bDir), "one");
}

TEST_F(TxtFile, ReferencesResolveInsideTheDataFolderOnly) {
    // A file outside the data folder, named by an absolute path or by climbing out of it.
    WriteFileBytes(dir.file("secret.txt"), "hidden\n");
    CreateDir(dir.file("data/Local/en"));
    bDir = dir.path() + "/data/";
    for (const std::string& ref : {"[" + dir.file("secret.txt") + "|1]", std::string("[../secret.txt|1]"),
                                   std::string("[Local/../../secret.txt|1]"), std::string("[/etc/hostname|1]"),
                                   std::string("[..\\secret.txt|1]")}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(ResolveTxtRef(ref), "") << ref;
        EXPECT_NE(testing::internal::GetCapturedStdout().find("leaves its folder"), std::string::npos) << ref;
    }
    // The language code is part of the path that is checked.
    WriteFileBytes(dir.file("data/secret.txt"), "inside\n");
    LangMod = "../..";
    testing::internal::CaptureStdout();
    EXPECT_EQ(ResolveTxtRef("[Local/#LANG#/secret.txt|1]"), "");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("leaves its folder"), std::string::npos);
    LangMod = "..";
    EXPECT_EQ(ResolveTxtRef("[Local/#LANG#/secret.txt|1]"), "inside");
}

TEST_F(TxtFile, ReferenceCannotClimbOutOfItsFolder) {
    CreateDir(dir.file("Local/en"));
    WriteFileBytes(dir.file("secret.txt"), "hidden\n");
    const std::string base = dir.path() + "/Local/en/";
    for (const char* ref : {"[../../secret.txt|1]", "[x/../../../secret.txt|1]", "[..\\..\\secret.txt|1]"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(GetTxtRefLine(ref, base), "") << ref;
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("leaves its folder"), std::string::npos) << out;
    }
}
