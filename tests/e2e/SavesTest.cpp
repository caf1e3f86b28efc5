// Saves a player can trust, through the real executable: a second game on the same per-user
// folder stops without touching it while a killed game's lock never blocks a start (and its
// leftover temporary file goes).
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "e2e/GameRun.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

class SavesTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string Folder() { return dir.file("user/.Velkaro/Quiltora-2/"); }
    std::string Profiles() { return Folder() + "Profiles/"; }

    // Every file below the per-user root with its bytes and its modification time (but the lock
    // file, which the first game there makes).
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        std::function<void(const std::string&)> walk = [&](const std::string& folder) {
            for (const std::string& name : ReadDir(folder)) {
                const std::string path = folder + "/" + name;
                if (FileType(path) == 2) {
                    walk(path);
                    continue;
                }
                if (name == "Quiltora.lock") continue;
                struct stat st {};
                ::stat(path.c_str(), &st);
                files[path] = testsupport::ReadFileBytes(path) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
                              std::to_string(st.st_mtim.tv_nsec);
            }
        };
        walk(dir.file("user"));
        return files;
    }

    void WriteAnn(const std::string& progress) {
        testsupport::WriteFileBytes(Profiles() + "Profiles.dat",
                                    "Settings{\n\tCurrProfile = \"65-78-78\"\n}\nProfile{\n\tId = \"65-78-78\"\n\tName = \"ANN\"\n}\n");
        testsupport::WriteFileBytes(Profiles() + "65-78-78.AppProfile", progress);
    }
};

// ANN at level 37 with 5000 to spend, three levels played and a building.
const std::string kAnn = R"(Data{
	Name = "ANN"
	Level = 37
	Score = 5000
	Stars = 9
	Screen = "Stages"
	MapScreenAnimationShowed = 1
	TutorialScreenShowed = 1
	KingdomTutorialScreenShowed = 1
	CurrMusic = 2
	MapY = -100
}
Levels{
	i = 3
	Level1 = "1,1,1,3,46,32,0"
	Level2 = "2,1,1,3,46,32,0"
	Level3 = "3,1,1,3,46,32,0"
}
Stats{
	LevelsWithoutMistakes = 3
	LevelWithoutHint = 3
	LevelWithHint = 0
	HintUsed = 0
	TilesUncovered = 96
	TilesCrossed = 0
	CashSpend = 80
}
Buildings{
	i = 1
	BuildingStage = 0
	Object1 = 5
}
Awards{
	AwardsList = "1"
}
)";

TEST_F(SavesTest, ASecondGameOnTheSameFolderStopsAndAKilledGamesLockNeverBlocks) {
    WriteAnn(kAnn);
    // Game A runs, resting on the main menu.
    const std::string aOut = dir.file("a-out.txt");
    const pid_t a = fork();
    ASSERT_GE(a, 0);
    if (a == 0) {
        const std::string command = "exec " + Quote(testsupport::GameExe()) + " --data " +
                                    Quote(testsupport::SourceDir() + "/data") + " --user-dir " + Quote(dir.file("user")) +
                                    " --fixed-delta --timings --menu-frames 3000 --frames 20000 > " + Quote(aOut) +
                                    " 2>/dev/null";
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    bool up = false;
    for (int i = 0; i < 2400 && !up; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        up = testsupport::ReadFileBytes(aOut).find("timing main-menu") != std::string::npos;
    }
    ASSERT_TRUE(up) << "game A never reached its main menu";
    const auto before = Snapshot();

    // Game B on the same folder: says so, and ends without reading or writing anything there.
    GameRun b = RunGame(dir, "--menu-frames 10 --frames 3000");
    EXPECT_EQ(b.status, 1);
    EXPECT_NE(b.output.find("Quiltora is already running for this user"), std::string::npos) << b.output;
    EXPECT_EQ(b.output.find("Loading Profile"), std::string::npos) << b.output;
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(kill(a, 0), 0) << "game A went on";

    // A is killed (as a crash would end it), in the middle of a save that left its temporary
    // file: the next start is not blocked, and removes it.
    kill(a, SIGKILL);
    waitpid(a, nullptr, 0);
    const std::string leftover = Profiles() + "65-78-78.AppProfile.tmp-" + std::to_string(a);
    testsupport::WriteFileBytes(leftover, "Data{\n\tNam");
    GameRun c = RunGame(dir, "--menu-frames 10 --frames 3000");
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.output.find("already running"), std::string::npos) << c.output;
    EXPECT_NE(c.output.find("Removed the leftover temporary file " + leftover), std::string::npos) << c.output;
    EXPECT_EQ(FileType(leftover), 0);
    EXPECT_EQ(c.output.find("ERROR"), std::string::npos) << c.output;
    EXPECT_EQ(GetBFInt(LoadBlockFile(Profiles() + "65-78-78.AppProfile"), "Data::Level"), 37);
}

}  // namespace
