// The newsletter's saved state: "Newsletter.dat" in the maker's folder, shared with the maker's
// other games, and the marker that stops the window for good.
#include <gtest/gtest.h>

#include <optional>

#include "engine/system/Paths.h"
#include "online/NewsLetter.h"
#include "online/NewsLetterState.h"
#include "online/NewsLetterTrigger.h"
#include "platform/Files.h"
#include "support/MakersFolder.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

class NewsLetterStateTest : public ::testing::Test {
protected:
    TempDir home;
    std::optional<testsupport::MakersFolderIn> makers;

    void SetUp() override {
        makers.emplace(home.path());
        ResetNewsLetterState();
        NewsLetterOn = 2;
    }
    void TearDown() override {
        ResetNewsLetterState();
        makers.reset();
    }
    std::string StateFile() const { return AppDataRootFolder + "/Newsletter.dat"; }
    std::string Marker() const { return AppDataFolder + "/DontShowMeNewsLetter.txt"; }
    // A new run reading the state.
    void Restart() {
        ResetNewsLetterState();
        NewsLetterOn = 2;
        testing::internal::CaptureStdout();
        LoadNewsLetter();
        output = testing::internal::GetCapturedStdout();
    }
    std::string output;
};

TEST_F(NewsLetterStateTest, CountersSurviveARestartAndAFirstRunStartsAtZero) {
    Restart();
    EXPECT_EQ(output, "Newsletter: " + StateFile() + "\n");  // no file yet: no problem reported
    EXPECT_EQ(Newsletter_Minutes + Newsletter_Seconds + Newsletter_IleRazy + Newsletter_Zapisany, 0);
    EXPECT_EQ(MyAppName, "Quiltora_2");

    Newsletter_Minutes = 12;
    Newsletter_Seconds = 40;
    Newsletter_IleRazy = 2;
    ASSERT_EQ(SaveNewsLetter(), 0);
    EXPECT_EQ(ReadFileBytes(StateFile()),
              "NewsLetter {\n\tSubscribed = 0\n\tQuiltora_2 {\n\t\tSeconds = 40\n\t\tMinutes = 12\n"
              "\t\tHowManyTimes = 2\n\t}\n\n}\n\n");
    EXPECT_EQ(FileType(Marker()), 0);

    Restart();
    EXPECT_EQ(Newsletter_Minutes, 12);
    EXPECT_EQ(Newsletter_Seconds, 40);
    EXPECT_EQ(Newsletter_IleRazy, 2);
    EXPECT_EQ(Newsletter_NiePokazujWiecej, 0);
}

TEST_F(NewsLetterStateTest, ASignUpWritesTheFlagAndTheMarkerAndKeepsOtherGamesGroups) {
    const std::string other =
        "NewsLetter {\n\tSubscribed = 0\n\tOther_Game {\n\t\tMinutes = 7\n\t\tName = \"x\"\n\t}\n\n}\n\n";
    WriteFileBytes(StateFile(), other);
    Restart();
    Newsletter_Zapisany = 1;
    Newsletter_NiePokazujWiecej = 1;
    Newsletter_IleRazy = 1;
    ASSERT_EQ(SaveNewsLetter(), 0);
    EXPECT_EQ(ReadFileBytes(Marker()), "Dont show newsletter in this game");
    EXPECT_EQ(ReadFileBytes(StateFile()),
              "NewsLetter {\n\tSubscribed = 1\n\tOther_Game {\n\t\tMinutes = 7\n\t\tName = \"x\"\n\t}\n\n"
              "\tQuiltora_2 {\n\t\tSeconds = 0\n\t\tMinutes = 0\n\t\tHowManyTimes = 1\n\t}\n\n}\n\n");

    Restart();
    EXPECT_EQ(Newsletter_Zapisany, 1);
    EXPECT_NE(Newsletter_NiePokazujWiecej, 0);
    // The marker removed by hand brings the flag back down at the next start.
    DeleteFile(Marker());
    Restart();
    EXPECT_EQ(Newsletter_NiePokazujWiecej, 0);

    // A save without a file read first starts from the file on disk, not from nothing.
    ResetNewsLetterState();
    NewsLetterOn = 2;
    Newsletter_Minutes = 3;
    ASSERT_EQ(SaveNewsLetter(), 0);
    EXPECT_NE(ReadFileBytes(StateFile()).find("Other_Game {"), std::string::npos);
}

TEST_F(NewsLetterStateTest, CountersOutOfRangeAreReadIntoItAndCountOnWithoutOverflow) {
    struct Case {
        std::string seconds, minutes, times;
        int wantSeconds, wantMinutes, wantTimes;
    };
    const Case cases[] = {
        {"59", "29", "2", 59, 29, 2},  // in range: as written
        {"2147483647", "2147483647", "2147483647", 59, kNewsLetterMostCounted, kNewsLetterMostCounted},
        {"1e30", "9e99", "3.5e20", 59, kNewsLetterMostCounted, kNewsLetterMostCounted},
        {"-5", "-2147483648", "-1e30", 0, 0, 0},
        {"nan", "-inf", "inf", 0, 0, 0},  // no numbers
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds + " " + c.minutes + " " + c.times);
        WriteFileBytes(StateFile(), "NewsLetter {\n\tSubscribed = 0\n\tQuiltora_2 {\n\t\tSeconds = " + c.seconds +
                                        "\n\t\tMinutes = " + c.minutes + "\n\t\tHowManyTimes = " + c.times +
                                        "\n\t}\n\n}\n\n");
        Restart();
        EXPECT_EQ(Newsletter_Seconds, c.wantSeconds);
        EXPECT_EQ(Newsletter_Minutes, c.wantMinutes);
        EXPECT_EQ(Newsletter_IleRazy, c.wantTimes);
        // What the game then adds: a counted second (rolling into a minute) and a showing.
        CountNewsLetterSecond();
        ++Newsletter_IleRazy;
        EXPECT_GE(Newsletter_Minutes, c.wantMinutes);
        EXPECT_GT(Newsletter_IleRazy, c.wantTimes);
    }
    // The minute that makes thirty still opens the window after a clamped read.
    WriteFileBytes(StateFile(), "NewsLetter {\n\tQuiltora_2 {\n\t\tSeconds = 600\n\t\tMinutes = 29\n\t}\n\n}\n\n");
    Restart();
    EXPECT_EQ(CountNewsLetterSecond(), 1);
}

TEST_F(NewsLetterStateTest, ADamagedSharedFileIsNeverOverwritten) {
    const std::string damaged = "NewsLetter {\n\tOther_Game {\n\t\tMinutes = 7\n\t}\n\n";
    WriteFileBytes(StateFile(), damaged);
    Restart();
    EXPECT_NE(output.find("Napotkano problem : Blad nawiasow klamrowych!"), std::string::npos);
    EXPECT_EQ(Newsletter_Minutes, 0);
    Newsletter_NiePokazujWiecej = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(SaveNewsLetter(), -1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadFileBytes(StateFile()), damaged);
    EXPECT_EQ(FileType(Marker()), 1);  // the choice not to be asked again still holds

    // With the newsletter off nothing is read or written.
    DeleteFile(StateFile());
    DeleteFile(Marker());
    ResetNewsLetterState();
    Newsletter_Minutes = 5;
    Newsletter_NiePokazujWiecej = 1;
    EXPECT_EQ(SaveNewsLetter(), 0);
    EXPECT_EQ(LoadNewsLetter(), 0);
    EXPECT_EQ(FileType(StateFile()), 0);
    EXPECT_EQ(FileType(Marker()), 0);
}

// The newsletter is switched on by its data folder only with a real server to sign up with; the
// shipped data names none, so the shipped game counts no play time and never shows the window.
TEST(NewsLetterSwitch, OnlyARealServerInTheSettingsSwitchesItOn) {
    TempDir dir;
    const std::string data = dir.path() + "/";
    EXPECT_EQ(NewsLetterSwitch(data), 0) << "no newsletter folder";
    CreateDir(data + "newsletter");
    testing::internal::CaptureStdout();
    EXPECT_EQ(NewsLetterSwitch(data), 0) << "no settings file";
    EXPECT_NE(testing::internal::GetCapturedStdout().find("newsletter.dat"), std::string::npos)
        << "the missing file is reported";
    const std::string shipped = ReadFileBytes(testsupport::SourceDir() + "/data/newsletter/newsletter.dat");
    const size_t at = shipped.find("Server = ");
    ASSERT_NE(at, std::string::npos);
    const auto withServer = [&](const std::string& server) {
        std::string text = shipped;
        text.replace(at, text.find('\n', at) - at, server.empty() ? std::string() : "Server = " + server);
        WriteFileBytes(data + "newsletter/newsletter.dat", text);
        return NewsLetterSwitch(data);
    };
    EXPECT_EQ(withServer("newsletter.quiltora.invalid"), 0);
    EXPECT_EQ(withServer(""), 0);
    EXPECT_EQ(withServer("127.0.0.1:4711"), 2);
    EXPECT_EQ(withServer("news.example.org"), 2);
    EXPECT_EQ(NewsLetterSwitch(testsupport::SourceDir() + "/data/"), 0) << "the shipped data";
}

// Switched off, nothing is counted and the state file is neither read nor written.
TEST_F(NewsLetterStateTest, SwitchedOffNothingIsCountedReadOrWritten) {
    WriteFileBytes(StateFile(), "NewsLetter {\n\tQuiltora_2 {\n\t\tMinutes = 29\n\t}\n}\n");
    const std::string before = ReadFileBytes(StateFile());
    NewsLetterOn = 0;
    EXPECT_EQ(LoadNewsLetter(), 0);
    EXPECT_EQ(Newsletter_Minutes, 0);
    // A second short of the half hour, the next second due: the trigger counts nothing.
    Newsletter_Minutes = 29;
    Newsletter_Seconds = 59;
    Newsletter_NextSecond = -1000;
    EXPECT_EQ(UpdateNewsLetter(), 0);
    EXPECT_EQ(Newsletter_Minutes, 29);
    EXPECT_EQ(Newsletter_Seconds, 59);
    EXPECT_EQ(SaveNewsLetter(), 0);
    EXPECT_EQ(ReadFileBytes(StateFile()), before);
}

}  // namespace
