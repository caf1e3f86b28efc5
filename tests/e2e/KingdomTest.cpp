// The kingdom through the real executable: a player whose money is a won level's score continues
// into the kingdom and buys the sheepfold with the mouse; after a restart the sheepfold stands, in
// the profile and on the screen.
#include <gtest/gtest.h>

#include <string>

#include "e2e/GameRun.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Image.h"

namespace {

using namespace e2e;

constexpr const char* kId = "75-105-109";
// Level 1 won with 3 stars and a score of 60: its money is 60 + 10 per star.
constexpr int kMoney = 60 + 3 * 10;
constexpr int kSheepfoldPrice = 20;
// Where the sheepfold's picture lies on the 1024 x 768 picture, and the first offer slot.
constexpr int kSheepfoldX = 818, kSheepfoldY = 66;
constexpr int kSlot1X = 110, kSlot1Y = 700;

class KingdomRunTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string Profiles() { return dir.file("user/.Velkaro/Quiltora-2/Profiles/"); }

    void WritePlayer() {
        CreateDir(Profiles());
        testsupport::WriteFileBytes(Profiles() + "Profiles.dat", std::string("Settings{\n\tCurrProfile = \"") + kId +
                                                                     "\"\n}\nProfile{\n\tId = \"" + kId +
                                                                     "\"\n\tName = \"Kim\"\n}\n");
        testsupport::WriteFileBytes(
            Profiles() + kId + ".AppProfile",
            "Data{\n\tName = \"Kim\"\n\tLevel = 2\n\tScore = " + std::to_string(kMoney) +
                "\n\tScreen = \"Kingdom\"\n\tKingdomTutorialScreenShowed = 1\n}\n"
                "Levels{\n\ti = 2\n\tLevel1 = \"1,1,1,3,60,25,10\"\n\tLevel2 = \"2,1,0,0,0,0,0\"\n}\n");
    }
    // Play on the main menu, Continue in its pop-up: back to the kingdom.
    static std::string ToKingdom(int at) { return Click(at, 512, 374) + Click(at + 50, 512, 356); }
    static std::string Click(int at, int x, int y) {
        return std::to_string(at) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
               std::to_string(at + 2) + " down 1\n" + std::to_string(at + 4) + " up 1\n";
    }
};

TEST_F(KingdomRunTest, ABuildingBoughtWithAWonLevelsScoreStandsAfterARestart) {
    WritePlayer();
    const int start = kMenuShown + 5;  // counted from the main menu's first frame (FromMenu)
    // The kingdom has faded in and its first slot has shown itself (within 120 frames of
    // Continue); the purchase is the player's at once, so the run can end soon after it.
    const int shown = start + 50 + 120;
    RunGame(dir, FromMenu(shown + 40) + Script(dir, ToKingdom(start) + Click(shown, kSlot1X, kSlot1Y)));
    auto progress = LoadBlockFile(Profiles() + kId + ".AppProfile");
    EXPECT_EQ(GetBFString(progress, "Buildings::Object1"), "5");
    EXPECT_EQ(GetBFNumber(progress, "Data::Score"), kMoney - kSheepfoldPrice);
    EXPECT_EQ(GetBFNumber(progress, "Stats::CashSpend"), kSheepfoldPrice);

    // After a restart: back into the kingdom, the sheepfold is there.
    GameRun run = RunGame(dir, FromMenu(shown) + Script(dir, ToKingdom(start)));
    ASSERT_TRUE(run.shot);
    EXPECT_EQ(GetBFString(LoadBlockFile(Profiles() + kId + ".AppProfile"), "Buildings::Object1"), "5");
    // A pixel of the shed's wall, drawn as its picture has it.
    const int px = 145, py = 86;
    const uint32_t pixel = SharedPicturePixel(
        testsupport::SourceDir() + "/data/Screens/Kingdom/Buildings/buildingsatlas.png", "Building-5", px, py);
    ASSERT_EQ(pixel >> 24, 255u);
    const uint32_t wall = pixel & 0xFFFFFFu;
    EXPECT_TRUE(Near(Rgb(run.shot, kX + kSheepfoldX + px, kSheepfoldY + py), wall, 12))
        << std::hex << Rgb(run.shot, kX + kSheepfoldX + px, kSheepfoldY + py) << " vs " << wall;
}

}  // namespace
