#include "engine/data/Settings.h"

#include <gtest/gtest.h>

#include <optional>

#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

const char* const kDefaultsFile =
    "[SCREEN]\nWindowWidth = 1024\nWindowHeight = 768\nVirtualWidth = 1024\nVirtualHeight = 768\n"
    "FullScreen = 0\nStretched = 1\n\n"
    "[LANG]\nLangDir = en\n\n"
    "[VOLUME]\nSoundVolume = 0.500000000\nMusicVolume = 0.500000000\n\n"
    "[OTHER]\nCustomCursor = 0\nGameWasRated = 0\n\n";

struct Live {
    int full, stretched;
    float sound, music;
    int cursor, rated;
};

Live Current() {
    return {AppSettings::FullScreen,  AppSettings::Stretched,    AppSettings::SoundVolume,
            AppSettings::MusicVolume, AppSettings::CustomCursor, AppSettings::GameWasRated};
}

void ExpectLive(const Live& want, const std::string& what) {
    Live got = Current();
    EXPECT_EQ(got.full, want.full) << what;
    EXPECT_EQ(got.stretched, want.stretched) << what;
    EXPECT_FLOAT_EQ(got.sound, want.sound) << what;
    EXPECT_FLOAT_EQ(got.music, want.music) << what;
    EXPECT_EQ(got.cursor, want.cursor) << what;
    EXPECT_EQ(got.rated, want.rated) << what;
}

// A data folder and a per-user root in a temporary folder, set up as start-up leaves them.
class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppPaths();
        AppSettings::Reset();
        bDir = tmp.path() + "/data/";
        CreateDir(bDir + "App/Data");
        SetAppPathOptions({"", tmp.file("user")});
        SetAppRootFolderName("Velkaro");
        SetAppDataFolderName("Quiltora-2");
        AppInitFolders();
    }
    void TearDown() override {
        AppSettings::Reset();
        ResetAppPaths();
    }
    std::string InitUrl() const { return bDir + "App/Data/Init.ini"; }
    std::string UserUrl() const { return tmp.file("user/.Velkaro/Quiltora-2/Data/Settings.ini"); }
    // Loads with the output captured and returns it.
    std::string Load() {
        testing::internal::CaptureStdout();
        AppInitSettings();
        return testing::internal::GetCapturedStdout();
    }
    // Saves with the output captured.
    bool Save() {
        testing::internal::CaptureStdout();
        bool ok = AppSettings::SaveData();
        testing::internal::GetCapturedStdout();
        return ok;
    }
    TempDir tmp;
};

}  // namespace

TEST_F(Settings, FileChoiceAndValues) {
    const std::string init =
        "[SCREEN]\nFullScreen = 1\nStretched = 0\n[VOLUME]\nSoundVolume = 0.25\nMusicVolume = 0.75\n"
        "[OTHER]\nCustomCursor = 1\nGameWasRated = 1\n";
    const Live initLive{1, 0, 0.25f, 0.75f, 1, 1};
    const Live defaults{0, 1, 0.5f, 0.5f, 0, 0};
    struct Case {
        const char* what;
        std::optional<std::string> init, user;
        Live want;
    } cases[] = {
        {"Init.ini alone", init, std::nullopt, initLive},
        {"the player's file wins and is not merged", init, "[screen]\nfullscreen = 1\n", {1, 1, 0.5f, 0.5f, 0, 0}},
        {"the player's file without Init.ini",
         std::nullopt,
         "[SCREEN]\nFULLSCREEN=0\nStretched=0\n[VOLUME]\nSoundVolume=0.1\nMusicVolume=0.2\n[OTHER]\nCustomCursor=1\n",
         {0, 0, 0.1f, 0.2f, 1, 0}},
        {"no file at all", std::nullopt, std::nullopt, defaults},
        {"an empty player's file falls back to Init.ini", init, "", initLive},
        {"whole-number volumes count",
         std::nullopt,
         "[VOLUME]\nSoundVolume = 1\nMusicVolume = 0\n",
         {0, 1, 1.0f, 0.0f, 0, 0}},
        {"a real where a flag is expected", std::nullopt, "[SCREEN]\nFullScreen = 1.0\n", {1, 1, 0.5f, 0.5f, 0, 0}},
        {"text values give the defaults", std::nullopt, "[VOLUME]\nSoundVolume = loud\n[SCREEN]\nStretched = yes\n",
         defaults},
        {"volumes outside 0..1 are held at its ends",
         std::nullopt,
         "[VOLUME]\nSoundVolume = 1.8\nMusicVolume = -3\n",
         {0, 1, 1.0f, 0.0f, 0, 0}},
    };
    for (const auto& c : cases) {
        AppSettings::Reset();
        DeleteFile(InitUrl());
        DeleteFile(UserUrl());
        if (c.init) WriteFileBytes(InitUrl(), *c.init);
        if (c.user) WriteFileBytes(UserUrl(), *c.user);
        std::string out = Load();
        ExpectLive(c.want, c.what);
        EXPECT_TRUE(AppSettings::Loaded) << c.what;
        EXPECT_EQ(out.find("ERROR ( File: Settings  Code: AppSettings::LoadData ) File 'Init.ini' not found!\n") !=
                      std::string::npos,
                  !c.init)
            << c.what << "\n"
            << out;
        // A player's first run (no file of their own yet) is quiet.
        if (c.init && !c.user) {
            EXPECT_EQ(out, "") << c.what;
        }
    }
}

TEST_F(Settings, SaveDataWritesTheFourSections) {
    Load();  // no file: defaults
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFileBytes(UserUrl()), kDefaultsFile);

    // The size keys come from the file read, everything else from the live values.
    WriteFileBytes(UserUrl(), "[Screen]\nWindowWidth = 800\nVirtualHeight = 600\n");
    AppSettings::Reset();
    Load();
    AppSettings::SetFullScreen(1);
    AppSettings::SetSoundVolume(0.25f);
    AppSettings::SetMusicVolume(7.0f);  // kept within 0..1
    LangMod = "de";
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFileBytes(UserUrl()),
              "[SCREEN]\nWindowWidth = 800\nWindowHeight = 768\nVirtualWidth = 1024\nVirtualHeight = 600\n"
              "FullScreen = 1\nStretched = 1\n\n[LANG]\nLangDir = de\n\n"
              "[VOLUME]\nSoundVolume = 0.250000000\nMusicVolume = 1.00000000\n\n"
              "[OTHER]\nCustomCursor = 0\nGameWasRated = 0\n\n");

    AppSettings::Reset();
    Load();
    ExpectLive({1, 1, 0.25f, 1.0f, 0, 0}, "read back");
}

TEST_F(Settings, UnloadedSettingsNeverOverwriteThePlayersFile) {
    const std::string mine = "[SCREEN]\nFullScreen = 1\n[VOLUME]\nSoundVolume = 0.3\nMusicVolume = 0.9\n";
    WriteFileBytes(UserUrl(), mine);

    EXPECT_FALSE(Save());  // start-up never loaded them
    EXPECT_EQ(ReadFileBytes(UserUrl()), mine);

    // Init.ini missing: the player's values still load, and the exit save keeps them.
    Load();
    ASSERT_TRUE(Save());
    AppSettings::Reset();
    Load();
    ExpectLive({1, 1, 0.3f, 0.9f, 0, 0}, "after the exit save");
}

TEST_F(Settings, SaveFailureIsReported) {
    Load();
    DeleteDir(AppDataFolder + "/Data");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AppSettings::SaveData());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);

    AppDataFolder.clear();  // never write below the file system's root
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AppSettings::SaveData());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("AppDataFolder not initiated"), std::string::npos);
}

TEST_F(Settings, DataFieldsByContainerAndName) {
    AppSettings::SetDataInt("Screen", "windowWidth", 640);
    AppSettings::SetDataInt("SCREEN", "WindowWidth", 800);  // same container, same field
    AppSettings::SetDataFloat("volume", "SoundVolume", 0.5f);
    AddNewSettingsField("OTHER", "Rated", "1");
    AddNewSettingsField("OTHER", "Name", "abc");
    ASSERT_EQ(AppSettings::Datas.size(), 3u);
    EXPECT_EQ(AppSettings::GetScreenWidth(), 800);
    EXPECT_EQ(AppSettings::GetDataContainer("screen", 0)->Fields.size(), 1u);
    EXPECT_FLOAT_EQ(AppSettings::ReadFloatData("VOLUME", "soundvolume"), 0.5f);
    EXPECT_EQ(AppSettings::ReadIntData("OTHER", "rated"), 1);
    EXPECT_EQ(AppSettings::ReadIntData("OTHER", "Name"), 0);  // text field

    testing::internal::CaptureStdout();
    EXPECT_EQ(AppSettings::GetDataField("LANG", "LangDir"), nullptr);
    EXPECT_EQ(AppSettings::GetDataContainer("LANG", 0), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING ( File: Settings  Code: AppSettings::GetDataField ) Couldn't find Container 'LANG'!\n");
}

TEST_F(Settings, ShippedDataOpensAWindowWithBands) {
    bDir = testsupport::SourceDir() + "/data/";
    AppInitLangDir();
    EXPECT_EQ(LangMod, "en");
    EXPECT_EQ(FileType(LocalizeDir), 2);
    std::string out = Load();
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    ExpectLive({0, 0, 0.8f, 0.8f, 1, 0}, "shipped Init.ini");
}
