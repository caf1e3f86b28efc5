// The font manager: one load per real path and size, missing fonts, and the font list file.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/BlockFile.h"
#include "engine/media/AppFont.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Strings.h"
#include "support/ClockedTest.h"
#include "support/TestSupport.h"

namespace {

using testsupport::CollectError;
using testsupport::ErrorLines;

class AppFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedBDir = bDir;
        AppFontManager::Reset();
        ErrorLines().clear();
        WatchErrorReports(CollectError);
        font = dir.file("Font.ttf");
        testsupport::WriteFileBytes(
            font, testsupport::ReadFileBytes(testsupport::SourceDir() + "/data/fonts/DejaVuSans.ttf"));
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        AppFontManager::Reset();
        SetImageFont(nullptr);
        bDir = savedBDir;
    }
    testsupport::TempDir dir;
    std::string font;
    std::string savedBDir;
};

TEST_F(AppFontTest, OneFontPerRealPathAndSize) {
    auto first = GetAppFont(font, 20);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Size(), 20);
    std::string relative = std::filesystem::relative(font, std::filesystem::current_path()).string();
    ASSERT_TRUE(CreateDir(dir.file("sub")));
    for (const std::string& same : {font, dir.path() + "/./sub/../Font.ttf", dir.file("FONT.TTF"), relative})
        EXPECT_EQ(GetAppFont(same, 20), first) << same;
    auto bigger = GetAppFont(font, 24);
    ASSERT_TRUE(bigger);
    EXPECT_NE(bigger, first);
    ASSERT_EQ(AppFontManager::FontsLoaded.size(), 2u);
    EXPECT_EQ(AppFontManager::FontsLoaded[0]->url, font);  // the path as first requested
    EXPECT_TRUE(ErrorLines().empty());
}

TEST_F(AppFontTest, MissingFontIsReportedOnceAndTheDefaultFontDraws) {
    const std::string missing = dir.file("nothing.ttf");
    const std::string line =
        "NO FILE ERROR ( File: AppFont  Code: AppFontManager::LoadManagerFont ) "
        "No such file or directory! Url = " +
        missing;
    EXPECT_FALSE(GetAppFont(missing, 20));
    EXPECT_FALSE(GetAppFont(missing, 20));
    EXPECT_FALSE(GetAppFont(dir.file("NOTHING.TTF"), 20));  // the same entry, another spelling
    // One line for the file, however many texts ask for it and however it is spelt.
    EXPECT_EQ(ErrorLines(), (std::vector<std::string>{line}));
    EXPECT_EQ(AppFontManager::FontsLoaded.size(), 1u);  // loading was tried once

    // A file that is there but is no font: no message, no font, one entry.
    const std::string junk = dir.file("junk.ttf");
    testsupport::WriteFileBytes(junk, "not a font");
    EXPECT_FALSE(GetAppFont(junk, 20));
    EXPECT_FALSE(GetAppFont(junk, 20));
    EXPECT_EQ(ErrorLines().size(), 1u);
    EXPECT_EQ(AppFontManager::FontsLoaded.size(), 2u);

    SetImageFont(GetAppFont(missing, 20));
    EXPECT_EQ(GetImageFont(), DefaultImageFont());
}

TEST_F(AppFontTest, ASizeFromDataBeyondTheLargestIsReportedAndHeldToIt) {
    // Found through the newsletter's settings file: 134,217,724 overflowed the font's arithmetic.
    auto largest = GetAppFont(font, kMaxFontSize);
    ASSERT_TRUE(largest);
    EXPECT_TRUE(ErrorLines().empty());
    for (int size : {kMaxFontSize + 1, 134217724, 2147483647}) {
        SCOPED_TRACE(size);
        ErrorLines().clear();
        EXPECT_EQ(GetAppFont(font, size), largest);
        ASSERT_EQ(ErrorLines().size(), 1u);
        EXPECT_NE(ErrorLines()[0].find("asked for at size " + std::to_string(size) + ", larger than 256"),
                  std::string::npos)
            << ErrorLines()[0];
    }
    EXPECT_EQ(AppFontManager::FontsLoaded.size(), 1u);
}

TEST_F(AppFontTest, FontListIsReadOnceAndSavedWhereItCameFrom) {
    bDir = dir.path() + "/";
    const std::string list = dir.file("List.dat");
    testsupport::WriteFileBytes(list,
                                "FONT{\n\tUrl = \"#BDIR#Font.ttf\"\n\tSize = 20\n}\n"
                                "font{\n\turl = \"[BDIR]font.ttf\"\n\tsize = 20.9\n}\n"
                                "FONT{\n\tUrl = \"#BDIR#Font.ttf\"\n\tSize = 24\n}\n");
    LoadAppFonts(list);
    ASSERT_EQ(AppFontManager::FontsLoaded.size(), 2u);
    EXPECT_EQ(AppFontManager::FontsLoaded[0]->size, 20);
    EXPECT_EQ(AppFontManager::FontsLoaded[1]->size, 24);
    EXPECT_EQ(AppFontManager::FontsListUrl, list);

    AppFontManager::Save();
    auto root = LoadBlockFile(list);
    auto blocks = GetBlockFilesList(root, "FONT");
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(GetBFString(blocks[0], "Url"), font);  // placeholders already expanded
    EXPECT_EQ(GetBFInt(blocks[1], "Size"), 24);

    // With no list read, Save writes the file that start-up reads.
    AppFontManager::Reset();
    GetAppFont(font, 16);
    ASSERT_TRUE(CreateDir(bDir + "App/Data"));
    AppFontManager::Save();
    const std::string standard = bDir + "App/Data/Fonts.dat";
    ASSERT_EQ(FileType(standard), 1);
    AppFontManager::Reset();
    AppInitFonts();
    ASSERT_EQ(AppFontManager::FontsLoaded.size(), 1u);
    EXPECT_EQ(AppFontManager::FontsLoaded[0]->size, 16);
    EXPECT_TRUE(AppFontManager::FontsLoaded[0]->font);
}

}  // namespace
