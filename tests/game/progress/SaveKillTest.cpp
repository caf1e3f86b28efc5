// Killing the game with SIGKILL in the middle of its saves never leaves a player's file, the list
// of players, the settings or the shared newsletter file unreadable: a child process saves all of
// them in a loop with changing contents and is killed at seeded random moments; after each kill
// every file is whole, exactly as one of the saves wrote it, and never older than before.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "engine/data/BlockFile.h"
#include "engine/system/Paths.h"
#include "engine/system/Settings.h"
#include "game/progress/Profile.h"
#include "game/shell/ProfileManager.h"
#include "online/NewsLetterState.h"
#include "online/RCMFile.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ReadFileBytes;

// Points the per-user folders at root.
void UseFolder(const std::string& root) {
    AppDataRootFolder = root;
    AppFolderName = "Quiltora-2";
    AppDataFolder = root + "/Quiltora-2";
    CreateDir(AppDataFolder + "/Profiles");
    CreateDir(AppDataFolder + "/Data");
}

// Save number k of everything the game saves: two players (the current one alternating), their
// progress growing with k, the sound volume and the newsletter's minutes following k.
void SaveEverything(const std::string& root, int k) {
    UseFolder(root);
    auto owner = std::make_shared<TProfileManager>();
    TProfileManager& manager = *owner;
    for (const char* name : {"ANN", "BO"}) {
        auto p = std::make_shared<TProfile>();
        p->SetName(name);
        p->Score = k;
        p->Level = k % MaxLevel + 1;
        for (int id = 1; id <= k % 7 + 1; ++id) {
            auto record = p->GetLevel(id, 1);
            record->isPassed = 1;
            record->Stars = (k + id) % 4;
            record->Score = k * 10 + id;
        }
        manager.ProfilesList.push_back(p);
    }
    manager.SetCurrProfile(manager.ProfilesList[k % 2]);
    manager.isProfilesRead = 1;
    manager.SaveAtEnd();

    AppSettings::Loaded = true;
    AppSettings::SetSoundVolume(static_cast<float>(k % 100) / 100.0f);
    AppSettings::SaveData();

    NewsLetterOn = 1;
    NewsLetterFile = nullptr;
    Newsletter_Minutes = k;
    SaveNewsLetter();
}

std::string ProgressFile(const std::string& root) { return root + "/Quiltora-2/Profiles/65-78-78.AppProfile"; }
std::string IndexFile(const std::string& root) { return root + "/Quiltora-2/Profiles/Profiles.dat"; }
std::string SettingsFile(const std::string& root) { return root + "/Quiltora-2/Data/Settings.ini"; }
std::string NewsFile(const std::string& root) { return root + "/Newsletter.dat"; }

class SaveKillTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string oldRoot, oldFolder, oldName;

    void SetUp() override {
        oldRoot = AppDataRootFolder;
        oldFolder = AppDataFolder;
        oldName = AppFolderName;
    }
    void TearDown() override {
        ResetNewsLetterState();
        ResetProfileGlobals();
        AppSettings::Reset();
        AppDataRootFolder = oldRoot;
        AppDataFolder = oldFolder;
        AppFolderName = oldName;
    }

    // The bytes save number k writes at the file that path picks.
    std::string Expected(int k, std::string (*path)(const std::string&)) {
        const std::string scratch = dir.file("expected-" + std::to_string(k));
        if (FileType(scratch) == 0) SaveEverything(scratch, k);
        return ReadFileBytes(path(scratch));
    }
};

TEST_F(SaveKillTest, FilesStayWholeWhateverMomentTheSavingProcessIsKilled) {
    const std::string live = dir.file("live");
    SaveEverything(live, 0);
    std::mt19937 random(20261210);
    int seen = 0;  // the save number the player's file held after the last kill
    int saves = 0;
    constexpr int kKills = 16;
    for (int round = 1; round <= kKills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int first = round * 100000;
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int k = first;; ++k) SaveEverything(live, k);
        }
        // The last round lets the child run long enough to finish saves on any machine.
        const int ms = round == kKills ? 1500 : std::uniform_int_distribution<int>(1, 60)(random);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        // The player's progress: whole, exactly one save's bytes, never older than before.
        bool whole = false;
        auto progress = LoadBlockFileChecked(ProgressFile(live), whole);
        ASSERT_TRUE(whole);
        const int k = GetBFInt(progress, "Data::Score");
        EXPECT_LT(k, first + 100000);
        EXPECT_GE(k, seen);
        EXPECT_EQ(ReadFileBytes(ProgressFile(live)), Expected(k, ProgressFile));
        if (k > seen) ++saves;
        seen = k;

        // The list of players: whole, naming one of the two players as current.
        auto index = LoadBlockFileChecked(IndexFile(live), whole);
        ASSERT_TRUE(whole);
        const std::string current = GetBFString(index, "Settings::CurrProfile");
        ASSERT_TRUE(current == "65-78-78" || current == "66-79") << current;
        EXPECT_EQ(ReadFileBytes(IndexFile(live)), Expected(current == "65-78-78" ? 0 : 1, IndexFile));

        // The settings: read as start-up reads them, and exactly the file of the save whose
        // volume they hold.
        UseFolder(live);
        AppSettings::Reset();
        AppSettings::LoadData();
        const int volume = static_cast<int>(AppSettings::SoundVolume * 100.0f + 0.5f);
        EXPECT_EQ(ReadFileBytes(SettingsFile(live)), Expected(volume, SettingsFile));

        // The newsletter file: readable, and exactly the save of the minutes it holds.
        auto news = LoadRCMFile(NewsFile(live));
        ASSERT_FALSE(news->_unreadable);
        const int minutes = static_cast<int>(news->getFloat("NewsLetter::Quiltora_2::Minutes", 0, 0));
        EXPECT_EQ(ReadFileBytes(NewsFile(live)), Expected(minutes, NewsFile));
    }
    // The saves did move on between kills.
    EXPECT_GE(saves, 1);
}

}  // namespace
