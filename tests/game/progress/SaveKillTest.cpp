// Killing the game with SIGKILL in the middle of its saves loses nothing that was saved whole: a
// child process starts as the game starts (the per-user folder's lock, the leftover temporary
// files removed, the players read) and then saves everything in a loop with changing contents
// (three players, two of them with a level in progress, one renamed at every save; the
// settings; the shared newsletter file), and is killed at seeded random moments. After each kill
// the folder is read as the next start reads it: the lock of the dead child does not block, no
// temporary file is left, every file is whole and never older than before, each level in
// progress comes back with the progress of its own save, and the list of players names
// progress files that are there.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "game/progress/PlayerNotices.h"
#include "online/NewsLetterState.h"
#include "online/RCMFile.h"
#include "platform/Strings.h"

namespace {

using testsupport::ReadFileBytes;

const char* const kLock = "Quiltora.lock";

// Points the per-user folders at root.
void UseFolder(const std::string& root) {
    AppDataRootFolder = root;
    AppFolderName = "Quiltora-2";
    AppDataFolder = root + "/Quiltora-2";
    CreateDir(AppDataFolder + "/Profiles");
    CreateDir(AppDataFolder + "/Data");
}

std::string ProfilesDir(const std::string& root) { return root + "/Quiltora-2/Profiles/"; }
std::string SettingsFile(const std::string& root) { return root + "/Quiltora-2/Data/Settings.ini"; }
std::string NewsFile(const std::string& root) { return root + "/Newsletter.dat"; }

// The third player's name at save k: renamed at every save, among three names.
std::string ThirdName(int k) { return std::string("C").append(std::to_string(k % 3)); }

// Save number k of everything the game saves: every player's score is k; ANN and BO play level
// k % 3 + 1 with a board whose clock reads k (so that a board tells which save wrote it); the
// current player alternates; the third player takes the name of save k; the sound volume and the
// newsletter's minutes follow k.
void SaveEverything(TProfileManager& manager, int k) {
    for (size_t i = 0; i < manager.ProfilesList.size(); ++i) {
        const auto& p = manager.ProfilesList[i];
        p->Score = k;
        if (i < 2) {
            p->Level = k % 3 + 1;
            auto board = profiletest::SmallLevel();
            board->LevelSeconds = k;
            p->CurrLevel = board;
        } else {
            p->SetName(ThirdName(k));
        }
    }
    manager.SetCurrProfile(manager.ProfilesList[k % 2]);
    manager.SaveAtEnd();

    AppSettings::Loaded = true;
    AppSettings::SetSoundVolume(static_cast<float>(k % 100) / 100.0f);
    AppSettings::SaveData();

    NewsLetterOn = 1;
    NewsLetterFile = nullptr;
    Newsletter_Minutes = k;
    SaveNewsLetter();
}

// Every temporary file below root.
std::vector<std::string> TempFiles(const std::string& root) {
    std::vector<std::string> found;
    for (const std::string& dir :
         {root, root + "/Quiltora-2", root + "/Quiltora-2/Data", root + "/Quiltora-2/Profiles"})
        for (const std::string& name : ReadDir(dir))
            if (IsTempFileName(name)) found.push_back(dir + "/" + name);
    return found;
}

class SaveKillTest : public profiletest::ProfileTest {
protected:
    std::string oldRoot, oldName;

    void SetUp() override {
        ProfileTest::SetUp();
        oldRoot = AppDataRootFolder;
        oldName = AppFolderName;
    }
    void TearDown() override {
        UnlockAppDataFolder();
        ResetNewsLetterState();
        AppSettings::Reset();
        AppDataRootFolder = oldRoot;
        AppFolderName = oldName;
        ProfileTest::TearDown();
    }

    // The bytes save number k writes at the file that path picks (the settings and the
    // newsletter file, which hold no counter of their own).
    std::string Expected(int k, std::string (*path)(const std::string&)) {
        const std::string scratch = dir.file("expected-" + std::to_string(k));
        if (FileType(scratch) == 0) {
            UseFolder(scratch);
            auto manager = FirstPlayers();
            SaveEverything(*manager, k);
        }
        return ReadFileBytes(path(scratch));
    }

    // ANN, BO and the third player, as a first start leaves them.
    static TProfileManagerPtr FirstPlayers() {
        auto manager = std::make_shared<TProfileManager>();
        for (const char* name : {"ANN", "BO", "C0"}) manager->ProfilesList.push_back(CreateNewProfile(name));
        manager->SetCurrProfile(manager->ProfilesList[0]);
        manager->isProfilesRead = 1;
        return manager;
    }

    // (In memory: a kill ends the process, not the machine, so what was written stays either way,
    // and the saves, each flushed to the disk, then come fast enough to be killed in every part.)
    testsupport::TempDir dir{testsupport::TempDir::InMemory{}};
};

TEST_F(SaveKillTest, NothingSavedWholeIsLostWhateverMomentTheSavingProcessIsKilled) {
    const std::string live = dir.file("live");
    UseFolder(live);
    SaveEverything(*FirstPlayers(), 0);
    // A temporary file of a process that runs (pid 1) in the folder shared with the maker's other
    // games: it may be writing it, and it is left alone.
    testsupport::WriteFileBytes(NewsFile(live) + ".tmp-1", "News");

    std::mt19937 random(20261210);
    int seen[2] = {0, 0};  // the save number ANN's and BO's progress held after the last kill
    int saves = 0, cutShort = 0, leftovers = 0;
    constexpr int kKills = 16;
    for (int round = 1; round <= kKills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const int first = round * 100000;
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The game's start: the folder's lock, the leftovers gone, the players read.
            UseFolder(live);
            if (LockAppDataFolder(kLock) != AppFolderLock::Taken) _exit(3);
            RemoveAppLeftoverTempFiles();
            auto manager = std::make_shared<TProfileManager>();
            manager->OnSetup();
            if (manager->ProfilesList.size() != 3) _exit(4);
            for (int k = first;; ++k) SaveEverything(*manager, k);
        }
        // The last round lets the child run long enough to finish saves on any machine.
        const int ms = round == kKills ? 1500 : std::uniform_int_distribution<int>(1, 60)(random);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself with " << WEXITSTATUS(status);

        // What the dead child's saves may have left, for certain once: its temporary files in the
        // game's folder and in the shared one.
        if (round == 1) {
            const std::string tmp = ".tmp-" + std::to_string(child);
            testsupport::WriteFileBytes(ProfilesDir(live) + "65-78-78.AppProfile" + tmp, "Data{\n");
            testsupport::WriteFileBytes(NewsFile(live) + tmp, "News");
        }

        // The next start: the dead child's lock does not block it, and it leaves no temporary
        // file but the one a running process may still be writing.
        UseFolder(live);
        ASSERT_EQ(LockAppDataFolder(kLock), AppFolderLock::Taken);
        leftovers += static_cast<int>(TempFiles(live).size()) - 1;
        testing::internal::CaptureStdout();
        RemoveAppLeftoverTempFiles();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(TempFiles(live), std::vector<std::string>{NewsFile(live) + ".tmp-1"});

        // The list of players: whole, and every player it names has a whole progress file of
        // that name.
        bool whole = false;
        auto index = LoadBlockFileChecked(ProfilesDir(live) + "Profiles.dat", whole);
        ASSERT_TRUE(whole);
        const auto listed = GetBlockFilesList(index, "Profile");
        ASSERT_EQ(listed.size(), 3u);
        for (const auto& entry : listed) {
            const std::string id = GetBFString(entry, "Id");
            auto progress = LoadBlockFileChecked(ProfilesDir(live) + id + ".AppProfile", whole);
            EXPECT_TRUE(whole) << id;
            EXPECT_EQ(GetBFString(progress, "Data::Name"), GetBFString(entry, "Name")) << id;
        }
        const std::string current = GetBFString(index, "Settings::CurrProfile");
        EXPECT_TRUE(current == "65-78-78" || current == "66-79") << current;

        // The players as the start reads them: the list's own players (no rebuild), ANN's
        // progress never older than before, and each level in progress with the progress of its
        // own save. A kill between the two files of a save is reported and told: the pair of
        // the save before is read.
        ResetPlayerNotices();
        testing::internal::CaptureStdout();
        auto reader = std::make_shared<TProfileManager>();
        reader->OnSetup();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("rebuilt"), std::string::npos) << out;
        ASSERT_EQ(reader->ProfilesList.size(), 3u);
        for (const std::string& line : SplitLines(out)) {
            if (line.find("ERROR") != std::string::npos) {
                EXPECT_NE(line.find(".PACLEVEL"), std::string::npos)
                    << "only a level in progress of a save cut short: " << line;
            }
        }
        if (out.find("ERROR") != std::string::npos) {
            ++cutShort;
            ASSERT_FALSE(PendingPlayerNotices().empty());
            EXPECT_NE(PendingPlayerNotices()[0].find("last save was cut short"), std::string::npos) << out;
        }
        // (A kill between two players' files leaves them at different saves.)
        for (int i = 0; i < 2; ++i) {
            const auto& p = reader->ProfilesList[i];
            SCOPED_TRACE(p->name);
            const int k = p->Score;
            EXPECT_LT(k, first + 100000);
            EXPECT_GE(k, seen[i]);
            if (i == 0 && k > seen[i]) ++saves;
            seen[i] = k;
            EXPECT_EQ(p->Level, k % 3 + 1);
            ASSERT_NE(p->CurrLevel, nullptr);
            EXPECT_EQ(p->CurrLevel->LevelSeconds, k) << "the board of another save";
        }
        EXPECT_EQ(Profile, reader->ProfilesList[current == "65-78-78" ? 0 : 1]);
        UnlockAppDataFolder();

        // The settings: read as start-up reads them, and exactly the file of the save whose
        // volume they hold.
        AppSettings::Reset();
        AppSettings::LoadData();
        const int volume = static_cast<int>(AppSettings::SoundVolume * 100.0f + 0.5f);
        EXPECT_EQ(ReadFileBytes(SettingsFile(live)), Expected(volume, SettingsFile));
        UseFolder(live);

        // The newsletter file: readable, and exactly the save of the minutes it holds.
        auto news = LoadRCMFile(NewsFile(live));
        ASSERT_FALSE(news->_unreadable);
        const int minutes = static_cast<int>(news->getFloat("NewsLetter::Quiltora_2::Minutes", 0, 0));
        EXPECT_EQ(ReadFileBytes(NewsFile(live)), Expected(minutes, NewsFile));
        UseFolder(live);
    }
    // The saves did move on between kills, and the planted leftovers were removed.
    EXPECT_GE(saves, 1);
    EXPECT_GE(leftovers, 2);
    std::printf("%d saves seen, %d kills between the two files of a save, %d leftover temporary files\n", saves,
                cutShort, leftovers);
}

}  // namespace
