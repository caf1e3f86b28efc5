// The hook slots: a set slot calls through (results and out-parameters included); an unset one
// says so once and gives the empty value; start-up's report names every slot left unset; a slot
// that goes away leaves the list; neither an unset slot nor a missing target is held back while
// a damaged file is read.
#include "engine/system/Hook.h"

#include "engine/system/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

THook<int(int a, float& out)> gSum{"HookTest::Sum"};
THook<void()> gPing{"HookTest::Ping"};
THook<std::shared_ptr<int>()> gMake{"HookTest::Make"};

bool Listed(const std::string& name) {
    const auto names = UnsetHooks();
    return std::find(names.begin(), names.end(), name) != names.end();
}

class HookTest : public ::testing::Test {
protected:
    void TearDown() override {
        gSum.Unset();
        gPing.Unset();
        gMake.Unset();
    }
};

TEST_F(HookTest, ASetSlotCallsThroughAndAnUnsetOneSaysSoOnce) {
    float out = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(gSum(2, out), 0);
    EXPECT_EQ(gSum(3, out), 0);
    gPing();
    EXPECT_EQ(gMake(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR Hook HookTest::Sum was called, but start-up never set it\n"
              "ERROR Hook HookTest::Ping was called, but start-up never set it\n"
              "ERROR Hook HookTest::Make was called, but start-up never set it\n");

    gSum = [](int a, float& o) {
        o = 0.5f;
        return a + 1;
    };
    EXPECT_TRUE(gSum.IsSet());
    EXPECT_EQ(gSum(2, out), 3);
    EXPECT_EQ(out, 0.5f);

    // Unset again, it says so again.
    gSum = nullptr;
    testing::internal::CaptureStdout();
    EXPECT_EQ(gSum(2, out), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR Hook HookTest::Sum was called, but start-up never set it\n");
}

TEST_F(HookTest, WhileADamagedFileIsReadItsContentLinesAreHeldButNoOtherLine) {
    gPing = nullptr;  // unset, and not yet said
    testing::internal::CaptureStdout();
    {
        HeldContentReports held("Screens/Menu.AppScreen");
        Error("a content line of the damaged file");
        Warning("another");
        gPing();  // an unset slot: about the program, not the file
        gMake = [] {
            gMake.ReportMissingTarget("the maker");  // a set slot whose target is missing
            return std::shared_ptr<int>();
        };
        gMake();
        {
            // A file its objects read (an animation) is another file: its lines are said.
            FileBeingRead inner("Anims/cut.AnimData");
            Error("about the animation");
            // The damaged file read again inside is still held.
            FileBeingRead same("Screens/Menu.AppScreen");
            Error("held again");
        }
        ErrorNoFile("Images/gone.png");
        Error("held once more");
    }
    Error("after");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR Hook HookTest::Ping was called, but start-up never set it\n"
              "ERROR Hook HookTest::Make was called, but the maker does not exist\n"
              "ERROR about the animation\n"
              "NO FILE ERROR No such file or directory! Url = Images/gone.png\n"
              "ERROR after\n");
    ResetFileReports();
}

TEST_F(HookTest, TheStartUpReportNamesEveryUnsetSlot) {
    gPing = [] {};
    EXPECT_FALSE(Listed("HookTest::Ping"));
    EXPECT_TRUE(Listed("HookTest::Sum"));
    testing::internal::CaptureStdout();
    const int unset = ReportUnsetHooks();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(unset, static_cast<int>(UnsetHooks().size()));
    EXPECT_EQ(static_cast<int>(std::count(out.begin(), out.end(), '\n')), unset);
    EXPECT_NE(out.find("ERROR Hook HookTest::Sum is not set: start-up must set every hook\n"), std::string::npos);
    EXPECT_EQ(out.find("HookTest::Ping"), std::string::npos);
}

TEST_F(HookTest, ASlotThatGoesAwayLeavesTheList) {
    const size_t before = HookSlots().size();
    {
        THook<void()> local{"HookTest::Local"};
        EXPECT_EQ(HookSlots().size(), before + 1);
        EXPECT_TRUE(Listed("HookTest::Local"));
    }
    EXPECT_EQ(HookSlots().size(), before);
    EXPECT_FALSE(Listed("HookTest::Local"));
}

}  // namespace
