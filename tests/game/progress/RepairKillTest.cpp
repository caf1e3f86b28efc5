// A game killed while it writes the repair of damaged files at start-up loses nothing: a child
// process starts as the game starts (the players read, the repair written at once) and kills
// itself at one write, rename or removal after another, and each time the next start reads
// exactly what a start that was never killed reads. The damaged files: ANN's progress cut right
// after its level and score, BOB's level in progress, and the list of players.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/progress/PlayerNotices.h"
#include "platform/Strings.h"

namespace {

using namespace profiletest;

// What a start read: every player's name, blocks and board, and who plays.
std::string ReadOf(const TProfileManager& manager) {
    std::string read;
    for (const auto& p : manager.ProfilesList) {
        read += p->name + "\n";
        for (const std::string& block : Blocks(*p)) read += block;
        read += "board " + (p->CurrLevel ? std::to_string(p->CurrLevel->LevelSeconds) : std::string("none")) + "\n";
    }
    return read + "playing: " + (manager.CurrProfile ? manager.CurrProfile->name : "");
}

class RepairKillTest : public ProfileTest {
protected:
    void TearDown() override {
        SetWriteFaultHook(nullptr);
        ProfileTest::TearDown();
    }

    // A start: the leftovers of a dead game removed, the players read (and the repair written).
    TProfileManagerPtr Start() {
        ResetProfileGlobals();
        testing::internal::CaptureStdout();
        RemoveLeftoverTempFiles(user.file("Profiles"), false);
        auto manager = std::make_shared<TProfileManager>();
        manager->OnSetup();
        testing::internal::GetCapturedStdout();
        return manager;
    }
};

TEST_F(RepairKillTest, AStartKilledAtAnyWriteOfItsRepairLeavesTheDamagedFileOrItsRepair) {
    AddCatalogues();
    auto writer = std::make_shared<TProfileManager>();
    for (const char* name : {"ANN", "BOB"}) writer->ProfilesList.push_back(CreateNewProfile(name));
    writer->SetCurrProfile(writer->ProfilesList[1]);
    writer->isProfilesRead = 1;
    auto ann = writer->ProfilesList[0];
    auto bob = writer->ProfilesList[1];
    // The save before: ANN at level 3 with 5,000; the last save: level 4 with 5,011, a level more
    // played, a building more. BOB plays level 2, his board at 7 seconds, then at 9.
    for (int k = 0; k < 2; ++k) {
        for (int id = 1; id <= 2 + k; ++id) ann->Level_Pass(id);
        ann->Level = 3 + k;
        ann->Score = k == 0 ? 5000 : 5011;
        ann->Kingdom_AddObject(1 + k);
        bob->Level = 2;
        auto level = SmallLevel();
        level->LevelSeconds = 7 + 2 * k;
        bob->CurrLevel = level;
        writer->SaveAtEnd();
    }
    auto damaged = Snapshot();
    std::string& progress = damaged.at("65-78-78.AppProfile");
    progress.resize(progress.find("Levels{"));
    damaged.at("66-79-66.PACLEVEL")[40] ^= 4;
    damaged.at("Profiles.dat")[20] = '\0';

    // A start never killed, counting the writes of its repair.
    Restore(damaged);
    int writes = 0;
    SetWriteFaultHook([&](const std::string&, FileWrite) {
        ++writes;
        return 0;
    });
    const std::string repaired = ReadOf(*Start());
    SetWriteFaultHook(nullptr);
    ASSERT_GE(writes, 5);
    EXPECT_NE(repaired.find("Score = 5011"), std::string::npos) << repaired;
    EXPECT_NE(repaired.find("board 7"), std::string::npos) << repaired;
    EXPECT_NE(repaired.find("playing: BOB"), std::string::npos) << repaired;

    // Killed before each write, rename or removal, and (for a write) with its temporary file
    // written and flushed but not renamed yet: the moments at which what is on the disk differs.
    for (int kill = 0; kill < 2 * writes; ++kill) {
        const int at = kill / 2;
        const bool leftTemp = kill % 2 == 1;
        SCOPED_TRACE("killed at write " + std::to_string(at) + (leftTemp ? ", its temporary file written" : ""));
        Restore(damaged);
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int seen = 0;
            SetWriteFaultHook([&](const std::string& path, FileWrite what) {
                if (seen++ == at) {
                    if (leftTemp && what == FileWrite::Save)
                        testsupport::WriteFileBytes(path + ".tmp-" + std::to_string(getpid()), "Data{\n\tName = \"");
                    raise(SIGKILL);
                }
                return 0;
            });
            Start();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";

        // The next start reads what the start that was not killed read, and says nothing was
        // missing.
        ResetPlayerNotices();
        auto next = Start();
        EXPECT_EQ(ReadOf(*next), repaired);
        for (const std::string& text : PendingPlayerNotices())
            EXPECT_EQ(text.find("missing"), std::string::npos) << text;
        // The damaged bytes are kept aside.
        const auto files = Snapshot();
        EXPECT_EQ(files.at("65-78-78.AppProfile.bad"), damaged.at("65-78-78.AppProfile"));
        EXPECT_EQ(files.count("65-78-78.AppProfile.bad2"), 0u) << "the same damage set aside twice";
        // And a start after that has nothing left to repair.
        ResetPlayerNotices();
        EXPECT_EQ(ReadOf(*Start()), repaired);
        EXPECT_TRUE(PendingPlayerNotices().empty()) << PendingPlayerNotices()[0];
    }
    std::printf("%d writes, renames and removals in the repair, %d kills\n", writes, 2 * writes);
}

}  // namespace
