#include "game/shell/Pause.h"

#include "engine/system/Letterbox.h"
#include "engine/system/Paths.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
class PauseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        ResetPause();
        ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
        SetAspectResolution(1024, 768, 3);
    }
    void TearDown() override {
        ResetInput();
        ResetPause();
    }
};
}  // namespace

TEST_F(PauseTest, SetupReadsTheShippedTextAndFont) {
    bDir = testsupport::SourceDir() + "/data/";
    LangMod = "en";
    SetupPause();
    EXPECT_EQ(TxtGamePaused, "Paused");
    EXPECT_NE(PauseFont, nullptr);
}

TEST_F(PauseTest, DrawsAtLeastOneFrameAndWaitsForTheWindowToComeBack) {
    // Not suspended: one frame, then back.
    int polls = 0;
    int id = AddPollHook([&] { ++polls; });
    PauseGame();
    EXPECT_GE(polls, 1);
    // Suspended: the loop keeps drawing until the window is active again.
    InjectSuspended(true);
    polls = 0;
    int frames = 0;
    RemovePollHook(id);
    id = AddPollHook([&] {
        if (++frames == 4) InjectSuspended(false);
    });
    PauseGame();
    EXPECT_GE(frames, 4);
    EXPECT_FALSE(AppSuspended());
    RemovePollHook(id);
}
