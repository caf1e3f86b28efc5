#include <gtest/gtest.h>

#include "engine/data/ValueTypes.h"
#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

// The first bytes of a PNG file of the given height: the signature and the header chunk.
std::string PngHeader(uint32_t width, uint32_t height) {
    std::string b("\x89PNG\r\n\x1a\n", 8);
    b += std::string("\0\0\0\x0d", 4) + "IHDR";
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>((v >> shift) & 0xff);
    b += std::string("\x08\x06\0\0\0", 5) + std::string(4, '\0');
    return b;
}

class SpecialLoadsTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string savedDir;

    void SetUp() override {
        savedDir = bDir;
        bDir = dir.path() + "/";
        CreateDir(dir.file("Game/PlayField/Numbers"));
        ResetPlayFieldTables();
    }
    void TearDown() override {
        bDir = savedDir;
        ResetPlayFieldTables();
    }
    void Put(const std::string& name, const std::string& bytes) {
        testsupport::WriteFileBytes(dir.file("Game/PlayField/" + name), bytes);
    }
};

TEST(NumberSizesIndex, FirstHalfOfTheSizesTakeTheFirstImageSet) {
    struct Case {
        int sizes;
        std::vector<int> index;
    } cases[] = {
        {0, {}}, {1, {0}}, {2, {0, 1}}, {3, {0, 1, 1}}, {4, {0, 0, 1, 1}}, {5, {0, 0, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizes);
        EXPECT_EQ(CountNumberSizesIndex(c.sizes), c.index);
    }
}

TEST_F(SpecialLoadsTest, SetupFillsTheTablesFromTheFiles) {
    // Windows line ends, a blank line, blanks around a number and a line that is no number.
    Put("GridSizes.txt", "64\r\n\r\n  32 \r\nbig\r\n48\n");
    Put("RGBS.txt", "C = \"10,20,30\"\nBlock{\n\tC = \"1,1,1\"\n}\nD = 40, 50, 60\nE = \"70,80,90,0.5,0.25\"\n");
    Put("Numbers/0-0.png", PngHeader(30, 40));
    Put("Numbers/1-0.png", PngHeader(30, 20));
    TSpecialLoads().Setup();

    EXPECT_EQ(GridSize, (std::vector<float>{64, 32, 0, 48}));
    EXPECT_EQ(GridSizeHalf, (std::vector<float>{32, 16, 0, 24}));
    EXPECT_EQ(GridScale, (std::vector<float>{0.5f, 0.25f, 0.0f, 0.375f}));
    EXPECT_EQ(NumberSizesIndex, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(TSpecialLoads::PomNumImages, (std::vector<float>{40, 20}));
    // Set 1 is half as tall as set 0, so its numbers are drawn twice as large.
    EXPECT_EQ(NumberScale, (std::vector<float>{0.5f, 0.25f, 0.0f, 0.75f}));

    ASSERT_EQ(TileRGB.size(), 3u);  // top-level entries only
    EXPECT_EQ(TileRGB[0]->ToString(), CreateRGB(10, 20, 30, 1, 1)->ToString());
    EXPECT_EQ(TileRGB[1]->r, 40);  // unquoted: only the first value is the colour's text
    EXPECT_EQ(TileRGB[1]->g, 0);
    EXPECT_EQ(TileRGB[2]->a, 0.5f);
    EXPECT_EQ(TileRGBOfId(1), TileRGB[0]);
    EXPECT_EQ(TileRGBOfId(0), nullptr);
    EXPECT_EQ(TileRGBOfId(4), nullptr);
}

TEST_F(SpecialLoadsTest, MissingFilesAreReportedAndLeaveUsableTables) {
    Put("GridSizes.txt", "40\n60\n");
    testing::internal::CaptureStdout();
    TSpecialLoads().Setup();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("NO FILE ERROR"), std::string::npos) << out;  // RGBS.txt
    // The first missing clue-number picture is named (once: loading it later says nothing more).
    EXPECT_NE(out.find("Clue-number picture '" + bDir + "Game/PlayField/Numbers/0-0.png' is missing"),
              std::string::npos)
        << out;
    EXPECT_TRUE(TileRGB.empty());
    EXPECT_TRUE(TSpecialLoads::PomNumImages.empty());
    EXPECT_EQ(NumberScale, GridScale);  // scaled like the tiles

    DeleteFile(dir.file("Game/PlayField/GridSizes.txt"));
    testing::internal::CaptureStdout();
    TSpecialLoads().Setup();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("GridSizes.txt"), std::string::npos);
    EXPECT_TRUE(GridSize.empty());
    EXPECT_EQ(GridSizeAt(0), 0.0f);
    EXPECT_EQ(NumberSizesIndexAt(3), 0);
}

// The loading screen sets the registered screens up through Control: the special loads are
// one of them, without a file, and their set-up fills the tables.
TEST_F(SpecialLoadsTest, FactoryRegistersAScreenWhoseSetupFillsTheTables) {
    Control::Reset();
    Put("GridSizes.txt", "40\n");
    auto screen = CreateSpecialLoadsScreen();
    EXPECT_EQ(screen->name, "Special Loadings");
    EXPECT_EQ(screen->FileUrl, "");
    EXPECT_EQ(screen->isNotToBeLoaded, 0);
    EXPECT_EQ(screen->isNotUsingText, 0);
    ASSERT_EQ(Control::GetScreenById("Special Loadings"), screen);
    testing::internal::CaptureStdout();
    Control::SetupScreen(0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(GridSize, std::vector<float>{40.0f});
    EXPECT_EQ(GridScale, std::vector<float>{40.0f / 128});
    Control::Reset();
}

}  // namespace
