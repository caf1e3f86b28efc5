// Saves a player can trust, through the real executable: a second game on the same per-user
// folder stops without touching it while a killed game's lock never blocks a start (and its
// leftover temporary file goes); a damaged save is salvaged and told on the main menu once; a
// save that fails on a full disk or in a read-only folder is told on screen when it happens and
// again at exit, and nothing saved before is lost.
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

// Places on the 1024 x 768 picture: the main menu's Players, the players pop-up's OK, and the
// message pop-up's OK (where its Yes is).
constexpr int kMenuPlayersX = 512, kMenuPlayersY = 518, kPlayersOkX = 512, kPlayersOkY = 594;
constexpr int kMessageOkX = 402, kMessageOkY = 458;
// The players pop-up's second slot.
constexpr int kSecondSlotX = 382, kSecondSlotY = 277;

std::string Click(int frame, int x, int y) {
    return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(frame + 1) + " down 1\n" + std::to_string(frame + 2) + " up 1\n";
}

// A pixel of the message pop-up's panel, left of its OK button, where the main menu shows its
// hills: the panel's dark blue is there while the message is up.
bool MessageShown(const TPixmapPtr& shot) {
    if (!shot) return false;
    const uint32_t c = Rgb(shot, kX + 270, 470);
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r < 80 && g < 90 && b > r + 25;
}

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
        testsupport::WriteFileBytes(
            Profiles() + "Profiles.dat",
            "Settings{\n\tCurrProfile = \"65-78-78\"\n}\nProfile{\n\tId = \"65-78-78\"\n\tName = \"ANN\"\n}\n");
        testsupport::WriteFileBytes(Profiles() + "65-78-78.AppProfile", progress);
    }
    // ANN as WriteAnn writes her, and BOB after her in the list.
    void WriteAnnAndBob(const std::string& progress) {
        WriteAnn(progress);
        testsupport::WriteFileBytes(
            Profiles() + "Profiles.dat",
            "Settings{\n\tCurrProfile = \"65-78-78\"\n}\nProfile{\n\tId = \"65-78-78\"\n\tName = "
            "\"ANN\"\n}\nProfile{\n\tId = \"66-79-66\"\n\tName = \"BOB\"\n}\n");
        testsupport::WriteFileBytes(Profiles() + "66-79-66.AppProfile", "Data{\n\tName = \"BOB\"\n\tLevel = 2\n}\n");
    }
};

// ANN at level 37 with 5000 to spend, three levels played and a building (a save of an older
// build: no save counter).
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
        const std::string command =
            "exec " + Quote(testsupport::GameExe()) + " --data " + Quote(testsupport::SourceDir() + "/data") +
            " --user-dir " + Quote(dir.file("user")) + " --fixed-delta --timings --menu-frames 3000 --frames 20000 > " +
            Quote(aOut) + " 2>/dev/null";
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

TEST_F(SavesTest, ADamagedSaveIsSalvagedAndToldOnceOnTheMainMenu) {
    // The last save cut inside "Stats"; the save before it (one building less) beside it.
    std::string older = kAnn;
    older.replace(older.find("Score = 5000"), 12, "Score = 4200");
    const std::string building = "\ti = 1\n\tBuildingStage = 0\n\tObject1 = 5\n";
    older.replace(older.find(building), building.size(), "\ti = 0\n\tBuildingStage = 0\n");
    WriteAnn(kAnn.substr(0, kAnn.find("LevelWithHint") + 6));
    testsupport::WriteFileBytes(Profiles() + "65-78-78.AppProfile.bak", older);
    const std::string damaged = testsupport::ReadFileBytes(Profiles() + "65-78-78.AppProfile");

    // The message is up over the main menu; its OK closes it.
    const std::string script = Click(70, kMessageOkX, kMessageOkY);
    GameRun run =
        RunGame(dir, "--menu-frames 120 --frames 20000 --from-menu --shot-frames 60,110" + Script(dir, script));
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Message to the player: ANN's save was damaged. Kept: level 37, score 5000, the "
                              "levels played. From the save before: the award counters, the kingdom, the awards."),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
    const auto up = LoadPixmap(dir.file("shot-60.png"));
    const auto closed = LoadPixmap(dir.file("shot-110.png"));
    EXPECT_TRUE(MessageShown(up)) << std::hex << Rgb(up, kX + 270, 470);
    EXPECT_FALSE(MessageShown(closed)) << std::hex << Rgb(closed, kX + 270, 470);

    // Kept: the damaged bytes aside, and, saved at exit, what was read: the level, the money, the
    // records, the award counters that still read, the building of the save before.
    EXPECT_EQ(testsupport::ReadFileBytes(Profiles() + "65-78-78.AppProfile.bad"), damaged);
    bool whole = false;
    auto saved = LoadBlockFileChecked(Profiles() + "65-78-78.AppProfile", whole);
    EXPECT_TRUE(whole);
    EXPECT_EQ(GetBFInt(saved, "Data::Level"), 37);
    EXPECT_EQ(GetBFInt(saved, "Data::Score"), 5000);
    EXPECT_EQ(GetBFInt(saved, "Levels::i"), 3);
    EXPECT_EQ(GetBFInt(saved, "Stats::LevelWithoutHint"), 3);
    EXPECT_EQ(GetBFInt(saved, "Buildings::i"), 0);
    EXPECT_EQ(GetBFString(saved, "Awards::AwardsList"), "1");

    // Told once: the next start has nothing to say.
    GameRun again = RunGame(dir, "--menu-frames 60 --frames 20000");
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(again.output.find("Message to the player"), std::string::npos) << again.output;
    EXPECT_EQ(again.output.find("ERROR"), std::string::npos) << again.output;
}

TEST_F(SavesTest, AFailedSaveIsToldWhenItHappensAndAtExitAndLosesNothingSavedBefore) {
    const struct {
        const char* kind;
        const char* told;
    } cases[] = {
        {"disk-full", "Message to the player: Your progress could not be saved: the disk is full."},
        {"read-only",
         "Message to the player: Your progress could not be saved: the game's folder can't be written to."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        DeleteDir(dir.file("user"));
        WriteAnnAndBob(kAnn);
        const auto before = Snapshot();
        // BOB picked and the players pop-up's OK: the save of the list fails, and the message
        // comes over the menu. (A save with nothing changed writes nothing, and fails nothing.)
        const std::string script = Click(20, kMenuPlayersX, kMenuPlayersY) + Click(40, kSecondSlotX, kSecondSlotY) +
                                   Click(60, kPlayersOkX, kPlayersOkY);
        GameRun run =
            RunGame(dir, std::string("--fail-writes ") + c.kind +
                             " --menu-frames 140 --frames 20000 --from-menu --shot-frames 130" + Script(dir, script));
        // The save at exit failed too: the process says so by its exit status.
        ASSERT_EQ(run.status, 1);
        const size_t told = run.output.find(c.told);
        EXPECT_NE(told, std::string::npos) << run.output;
        const auto shot = LoadPixmap(dir.file("shot-130.png"));
        EXPECT_TRUE(MessageShown(shot)) << std::hex << Rgb(shot, kX + 270, 470);
        // At exit: said again (a dialog where there is a desktop; here the console).
        EXPECT_NE(
            run.output.find("Message to the player: Quiltora could not save the list of players before closing", told),
            std::string::npos)
            << run.output;
        // Nothing on disk changed.
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(SavesTest, AGameThatCannotLockItsFolderWritesNothingThereAndSaysSo) {
    WriteAnnAndBob(kAnn);
    // The lock file cannot be made (a folder stands in its place; a file system without locks
    // refuses the same way): the game cannot know it is the only one on these files.
    ASSERT_TRUE(CreateDir(Folder() + "Quiltora.lock"));
    const auto before = Snapshot();
    // Said on the main menu; its OK; then BOB picked and the players pop-up's OK saves, which
    // fails and is told.
    const std::string script = Click(60, kMessageOkX, kMessageOkY) + Click(100, kMenuPlayersX, kMenuPlayersY) +
                               Click(120, kSecondSlotX, kSecondSlotY) + Click(140, kPlayersOkX, kPlayersOkY);
    GameRun run =
        RunGame(dir, "--menu-frames 220 --frames 20000 --from-menu --shot-frames 50,210" + Script(dir, script));
    // Every save was refused, the one at exit too: a non-zero exit status.
    ASSERT_EQ(run.status, 1);
    const size_t told = run.output.find(
        "Message to the player: Quiltora could not make sure that it is the only game "
        "using your saves. To keep them safe, nothing is saved while this game runs.");
    EXPECT_NE(told, std::string::npos) << run.output;
    EXPECT_TRUE(MessageShown(LoadPixmap(dir.file("shot-50.png"))));
    const size_t failed = run.output.find(
        "Message to the player: Your progress could not be saved: the game's folder could not be locked for this "
        "game alone.",
        told);
    EXPECT_NE(failed, std::string::npos) << run.output;
    EXPECT_TRUE(MessageShown(LoadPixmap(dir.file("shot-210.png"))));
    EXPECT_NE(
        run.output.find("Message to the player: Quiltora could not save the list of players before closing", failed),
        std::string::npos)
        << run.output;
    // Nothing was written, renamed or removed there.
    EXPECT_EQ(Snapshot(), before);

    // A game in that mode in which nothing changed says nothing about saves at its end.
    GameRun quiet = RunGame(dir, "--menu-frames 60 --frames 20000");
    EXPECT_EQ(quiet.output.find("could not save"), std::string::npos) << quiet.output;
    EXPECT_EQ(quiet.output.find("Profiles"), std::string::npos) << quiet.output;
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
