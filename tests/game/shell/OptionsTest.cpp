// The options pop-up's save at exit: the per-user settings are written when they changed or are
// missing, and a run that changed nothing leaves the player's file byte for byte as it was.
#include "game/shell/Options.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

class OptionsSaveTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string savedData, savedLang;
    TOptions options;

    void SetUp() override {
        savedData = AppDataFolder;
        savedLang = LangMod;
        AppDataFolder = dir.path();
        LangMod = "en";
        CreateDir(dir.file("Data"));
        AppSettings::Reset();
    }
    void TearDown() override {
        AppSettings::Reset();
        AppDataFolder = savedData;
        LangMod = savedLang;
    }
    std::string File() { return testsupport::ReadFileBytes(AppSettings::UserFileUrl()); }
};

// Written by hand: other spacing and letter case than the game writes, a volume without its
// trailing zeros, and a key the game does not know.
const char* kHandWritten =
    "[screen]\nwindowwidth=1024\nWindowHeight = 768\nVirtualWidth = 1024\nVirtualHeight = 768\n"
    "FullScreen = 0\nStretched = 1\n[LANG]\nLangDir = EN\n[VOLUME]\nSoundVolume = 0.75\nMusicVolume = 0.5\n"
    "[OTHER]\nCustomCursor = 1\nGameWasRated = 0\nSomethingElse = 3\n";

TEST_F(OptionsSaveTest, UnchangedSettingsLeaveTheFileAsItWas) {
    testsupport::WriteFileBytes(AppSettings::UserFileUrl(), kHandWritten);
    AppSettings::LoadData();
    EXPECT_TRUE(SettingsFileIsCurrent());
    options.SaveAtEnd();
    EXPECT_EQ(File(), kHandWritten);
}

TEST_F(OptionsSaveTest, ChangedSettingsAreWritten) {
    testsupport::WriteFileBytes(AppSettings::UserFileUrl(), kHandWritten);
    AppSettings::LoadData();
    const struct {
        const char* what;
        void (*change)();
        const char* written;
    } cases[] = {
        {"volume", [] { AppSettings::SetMusicVolume(0.25f); }, "MusicVolume = 0.250000000"},
        {"full screen", [] { AppSettings::SetFullScreen(1); }, "FullScreen = 1"},
        {"rated", [] { AppSettings::SetGameWasRated(1); }, "GameWasRated = 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::WriteFileBytes(AppSettings::UserFileUrl(), kHandWritten);
        c.change();
        options.SaveAtEnd();
        EXPECT_NE(File().find(c.written), std::string::npos) << File();
        // Once written, the same values are not written again.
        const std::string written = File();
        testsupport::WriteFileBytes(AppSettings::UserFileUrl(), written + "\n");
        options.SaveAtEnd();
        EXPECT_EQ(File(), written + "\n");
    }
}

TEST_F(OptionsSaveTest, AMissingOrIncompleteFileIsWrittenAndNothingIsWrittenBeforeLoading) {
    // Before the settings are loaded nothing is written, not even a warning.
    testing::internal::CaptureStdout();
    options.SaveAtEnd();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(FileType(AppSettings::UserFileUrl()), 0);

    // A first run: the settings come from the defaults and the file is made.
    testing::internal::CaptureStdout();
    AppSettings::LoadData();
    testing::internal::GetCapturedStdout();
    options.SaveAtEnd();
    EXPECT_EQ(FileType(AppSettings::UserFileUrl()), 1);
    EXPECT_TRUE(SettingsFileIsCurrent());

    // A file that lacks a key the game writes is completed.
    testsupport::WriteFileBytes(AppSettings::UserFileUrl(), "[VOLUME]\nSoundVolume = 0.5\n");
    EXPECT_FALSE(SettingsFileIsCurrent());
    options.SaveAtEnd();
    EXPECT_NE(File().find("[OTHER]"), std::string::npos);
}

}  // namespace
