// Each player's files hold that player's saves only, through the real executable: names swapped
// in one visit of the players pop-up, a rename and a new player of the old name, a game killed at
// every write of a rename, a player left out of a rebuilt list made again; and files of earlier
// builds, hand-made or damaged files read as far as they go and written back whole (a list
// without checks with a name's bit flipped, names with characters that draw nothing, a save number
// no save reaches, a newer copy of the list that lacks players).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "e2e/GameRun.h"
#include "e2e/MenuScript.h"
#include "engine/data/BlockFile.h"
#include "engine/system/Paths.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/SaveFiles.h"
#include "game/shell/ProfileManager.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

using namespace e2e;

// A player as the test makes and finds it.
struct Player {
    std::string name;
    int score = 0;
    int seconds = 0;  // the board's clock (0: no board)
};

class PlayerFilesTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string oldFolder, oldBDir;

    void SetUp() override {
        oldFolder = AppDataFolder;
        oldBDir = bDir;
        AppDataFolder = dir.file("user/.Velkaro/Quiltora-2");
        bDir = testsupport::SourceDir() + "/data/";
        CreateDir(Profiles());
    }
    void TearDown() override {
        ResetProfileGlobals();
        AppDataFolder = oldFolder;
        bDir = oldBDir;
    }

    std::string Profiles() { return AppDataFolder + "/Profiles/"; }

    // The players saved twice as this build saves them (each save before scored 10 less, its
    // board 10 seconds earlier), the first one playing.
    void WritePlayers(const std::vector<Player>& players) {
        auto writer = std::make_shared<TProfileManager>();
        for (const Player& p : players) writer->ProfilesList.push_back(CreateNewProfile(p.name));
        writer->SetCurrProfile(writer->ProfilesList[0]);
        writer->isProfilesRead = 1;
        for (int k = 0; k < 2; ++k) {
            for (size_t i = 0; i < players.size(); ++i) {
                auto& profile = writer->ProfilesList[i];
                profile->Level = 1;
                profile->Score = players[i].score - 10 + 10 * k;
                if (players[i].seconds == 0) continue;
                auto board = LoadLevel(bDir + "Game/Levels/Picross/Level-1.PACLevel");
                board->LevelSeconds = players[i].seconds - 10 + 10 * k;
                profile->CurrLevel = board;
            }
            ASSERT_EQ(writer->SaveAtEnd(), 0);
        }
        ResetProfileGlobals();
    }

    // Runs the game to `frames` after the main menu with the script; extra options before it.
    GameRun Run(const MenuScript& script, int frames, const std::string& options = "") {
        return RunGame(dir, options + " --from-menu --menu-frames " + std::to_string(frames) + " --frames 20000" +
                                e2e::Script(dir, script.str()));
    }

    // The players as the next start reads them (and repairs them), with what it tells.
    std::vector<Player> ReadBack(std::vector<std::string>* told = nullptr) {
        ResetProfileGlobals();
        auto reader = std::make_shared<TProfileManager>();
        testing::internal::CaptureStdout();
        reader->OnSetup();
        testing::internal::GetCapturedStdout();
        if (told) *told = PendingPlayerNotices();
        std::vector<Player> players;
        for (const auto& p : reader->ProfilesList)
            players.push_back({p->name, p->Score, p->CurrLevel ? p->CurrLevel->LevelSeconds : 0});
        ResetProfileGlobals();
        return players;
    }

    // Runs the script killed at each write, rename or removal from `first` to `last`, each time
    // from the players' files as they are now, until a run makes every write; `check` looks at
    // what the next start finds after a run killed at write n.
    void KillAtEachWrite(const MenuScript& script, int frames, int first, int last,
                         const std::function<void(int n)>& check) {
        std::map<std::string, std::string> start;
        for (const std::string& file : ReadDir(Profiles())) start[file] = testsupport::ReadFileBytes(Profiles() + file);
        for (int n = first; n <= last; ++n) {
            SCOPED_TRACE("killed at write " + std::to_string(n));
            DeleteDir(dir.file("user"));
            for (const auto& [file, bytes] : start) testsupport::WriteFileBytes(Profiles() + file, bytes);
            GameRun run = Run(script, frames, "--fail-writes kill-at-" + std::to_string(n));
            if (run.status == 0) break;                    // every write was made
            ASSERT_EQ(run.status, 128 + 9) << run.output;  // (killed: timeout says so)
            ASSERT_LT(n, 100);
            check(n);
            if (HasFatalFailure()) return;
        }
    }

    // The name and score in a progress file ("" and -1 when there is none).
    std::pair<std::string, int> InFile(const std::string& file) {
        if (FileType(Profiles() + file) != 1) return {"", -1};
        auto root = LoadBlockFile(Profiles() + file);
        return {GetBFString(root, "Data::Name"), GetBFInt(root, "Data::Score")};
    }

    // The players' folder: every progress file there (not the copies) names the player of its Id,
    // the list names exactly those, and no file is left under a parking Id.
    void ExpectEachFileIsItsPlayers() {
        auto index = LoadBlockFile(Profiles() + "Profiles.dat");
        std::map<std::string, std::string> listed;
        for (const auto& block : GetBlockFilesList(index, "Profile"))
            listed[GetBFString(block, "Id")] = GetBFString(block, "Name");
        std::map<std::string, std::string> files;
        for (const std::string& file : ReadDir(Profiles())) {
            EXPECT_FALSE(StartsWith(file, "0-")) << file;
            if (EndsWith(file, ".AppProfile")) files[StripExt(file)] = InFile(file).first;
        }
        EXPECT_EQ(files, listed);
        for (const auto& [id, name] : listed) EXPECT_EQ(CreateNewProfile(name)->FileName, id) << name;
    }
};

// ANN playing level 1 (a board at 30 seconds), BOB with no board.
const std::vector<Player> kAnnAndBob = {{"ANN", 100, 30}, {"BOB", 200, 0}};

// ANN renamed ZED, BOB renamed ANN, ZED renamed BOB, then OK.
MenuScript Swap() {
    MenuScript s;
    s.Click(20, kMenuPlayers).Rename(60, 0, "zed").Rename(180, 1, "ann").Rename(300, 0, "bob").Click(420, kPlayersOk);
    return s;
}

TEST_F(PlayerFilesTest, NamesSwappedInOneVisitKeepEachPlayersOwnSaves) {
    WritePlayers(kAnnAndBob);
    GameRun run = Run(Swap(), 470);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;

    // The first player, named BOB now, has ANN's saves, and the save before is ANN's last under
    // the old name; the second the other way round. Their files moved together, boards too.
    using Saved = std::pair<std::string, int>;
    EXPECT_EQ(InFile("66-79-66.AppProfile"), Saved("BOB", 100));
    EXPECT_EQ(InFile("66-79-66.AppProfile.bak"), Saved("ANN", 100));
    EXPECT_EQ(InFile("65-78-78.AppProfile"), Saved("ANN", 200));
    EXPECT_EQ(InFile("65-78-78.AppProfile.bak"), Saved("BOB", 200));
    auto board = LoadPacLevel(Profiles() + "66-79-66.PACLEVEL");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->LevelSeconds, 30);
    // (The second player, who had no board, has the level's fresh one now, as every player with a
    // level gets one at a save.)
    auto fresh = LoadPacLevel(Profiles() + "65-78-78.PACLEVEL");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->LevelSeconds, 0);
    ExpectEachFileIsItsPlayers();
    // The old names' files went where deleted players' go.
    EXPECT_EQ(FileType(Profiles() + "Deleted/65-78-78.PACLEVEL"), 1);

    // The next start reads each player's own saves and has nothing to tell.
    GameRun again = Run(MenuScript(), 20);
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(again.output.find("Message to the player"), std::string::npos) << again.output;
    std::vector<std::string> told;
    const std::vector<Player> read = ReadBack(&told);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "BOB");
    EXPECT_EQ(read[0].score, 100);
    EXPECT_EQ(read[0].seconds, 30);
    EXPECT_EQ(read[1].name, "ANN");
    EXPECT_EQ(read[1].score, 200);
    EXPECT_TRUE(told.empty()) << told[0];
}

TEST_F(PlayerFilesTest, ANewPlayerOfARenamedPlayersOldNameStartsWithNothingOfTheirs) {
    WritePlayers({{"ANN", 100, 30}});
    MenuScript s;
    s.Click(20, kMenuPlayers).Rename(60, 0, "zed").Click(180, kPlayersNew).Name(220, "ann").Click(300, kPlayersOk);
    GameRun run = Run(s, 350);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Message to the player"), std::string::npos) << run.output;
    using Saved = std::pair<std::string, int>;
    EXPECT_EQ(InFile("90-69-68.AppProfile"), Saved("ZED", 100));
    EXPECT_EQ(InFile("90-69-68.AppProfile.bak"), Saved("ANN", 100));
    EXPECT_EQ(InFile("65-78-78.AppProfile"), Saved("ANN", 0));
    EXPECT_EQ(FileType(Profiles() + "65-78-78.AppProfile.bak"), 0);
    EXPECT_EQ(FileType(Profiles() + "65-78-78.PACLEVEL"), 0);
    ExpectEachFileIsItsPlayers();

    const std::vector<Player> read = ReadBack();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].score, 100);
    EXPECT_EQ(read[0].seconds, 30);
    EXPECT_EQ(read[1].name, "ANN");
    EXPECT_EQ(read[1].score, 0);
}

// The game killed at each write, rename or removal of the swap above (the kill points in four
// runs of tests, so that each takes about a minute; the last ends with a game that makes every
// write and ends).
class RenameKillTest : public PlayerFilesTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RenameKillTest, AGameKilledAtAnyWriteOfARenameLeavesItFinishedOrUndone) {
    WritePlayers(kAnnAndBob);
    const auto [first, last] = GetParam();
    KillAtEachWrite(Swap(), 470, first, last, [&](int n) {
        // The next start: both players, each with the own saves, under the old names or the new.
        std::vector<std::string> told;
        const std::vector<Player> read = ReadBack(&told);
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(read[0].score, 100);
        EXPECT_EQ(read[0].seconds, 30);
        EXPECT_EQ(read[1].score, 200);
        const bool renamed = read[0].name == "BOB";
        EXPECT_EQ(read[0].name, renamed ? "BOB" : "ANN");
        EXPECT_EQ(read[1].name, renamed ? "ANN" : "BOB");
        std::printf("killed at write %d: the rename %s\n", n, renamed ? "finished" : "undone");
        // No file of an old name is left: every file names the player of its Id, its copy of the
        // save before the same player's.
        ExpectEachFileIsItsPlayers();
        for (const Player& p : read) {
            const auto bak = InFile(CreateNewProfile(p.name)->FileName + ".AppProfile.bak");
            EXPECT_TRUE(bak.second == p.score || bak.second == p.score - 10 || bak.second == -1) << p.name;
        }
        // And nothing is left to finish.
        const std::vector<Player> again = ReadBack(&told);
        ASSERT_EQ(again.size(), 2u);
        EXPECT_EQ(again[0].name, read[0].name);
        EXPECT_TRUE(told.empty()) << told[0];
    });
}

INSTANTIATE_TEST_SUITE_P(KillPoints, RenameKillTest,
                         ::testing::Values(std::make_pair(1, 8), std::make_pair(9, 16), std::make_pair(17, 24),
                                           std::make_pair(25, 99)));

// ANN renamed ZED and a new player named ANN in one visit, the game killed at each write: ANN's
// old files lie under the new ANN's Id until the rename moves them, and the new ANN never takes
// them, whatever the kill leaves (the kill points in three runs of tests, as above).
class RenameAndNewKillTest : public PlayerFilesTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RenameAndNewKillTest, ANewPlayerOfTheOldNameNeverTakesTheRenamedPlayersSaves) {
    WritePlayers({{"ANN", 100, 30}});
    MenuScript s;
    s.Click(20, kMenuPlayers).Rename(60, 0, "zed").Click(180, kPlayersNew).Name(220, "ann").Click(300, kPlayersOk);
    const auto [first, last] = GetParam();
    KillAtEachWrite(s, 350, first, last, [&](int n) {
        // The renamed player keeps the saves under the old name or the new; the new ANN, where
        // the kill came after the list named them, starts with nothing.
        std::vector<std::string> told;
        const std::vector<Player> read = ReadBack(&told);
        ASSERT_GE(read.size(), 1u);
        ASSERT_LE(read.size(), 2u);
        EXPECT_EQ(read[0].score, 100);
        EXPECT_EQ(read[0].seconds, 30);
        const bool renamed = read[0].name == "ZED";
        EXPECT_EQ(read[0].name, renamed ? "ZED" : "ANN");
        if (read.size() == 2) {
            EXPECT_TRUE(renamed);
            EXPECT_EQ(read[1].name, "ANN");
            EXPECT_EQ(read[1].score, 0);
            EXPECT_EQ(read[1].seconds, 0);
        }
        std::printf("killed at write %d: the rename %s, %s new player\n", n, renamed ? "finished" : "undone",
                    read.size() == 2 ? "with the" : "without the");
        ExpectEachFileIsItsPlayers();
        const std::vector<Player> again = ReadBack(&told);
        ASSERT_EQ(again.size(), read.size());
        EXPECT_EQ(again[0].name, read[0].name);
        EXPECT_EQ(again[0].score, 100);
        EXPECT_TRUE(told.empty()) << told[0];
    });
}

INSTANTIATE_TEST_SUITE_P(KillPoints, RenameAndNewKillTest,
                         ::testing::Values(std::make_pair(1, 7), std::make_pair(8, 14), std::make_pair(15, 99)));

TEST_F(PlayerFilesTest, APlayerLeftOutOfARebuiltListAndMadeAgainTakesNoneOfTheFilesLeft) {
    // Seven players' files and no list: the six with the most progress make the list, FAY, with
    // the least, is left out.
    std::vector<Player> seven;
    for (const char* name : {"AMY", "BEN", "CAT", "DAN", "EVE", "GUS", "FAY"})
        seven.push_back({name, 700 - 100 * static_cast<int>(seven.size()), 0});
    WritePlayers(seven);
    DeleteFile(Profiles() + "Profiles.dat");
    DeleteFile(Profiles() + "Profiles.dat.bak");
    const std::string fay = testsupport::ReadFileBytes(Profiles() + "70-65-89.AppProfile");

    // The message closed; AMY deleted; a new player FAY; OK.
    MenuScript s;
    s.Click(40, kInfoYes).Click(80, kMenuPlayers).Click(120, Slot(0)).Click(140, kPlayersDelete).Click(180, kInfoYes);
    s.Click(230, kPlayersNew).Name(270, "fay").Click(340, kPlayersOk);
    GameRun run = Run(s, 390);
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("FAY was left out"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Message to the player: Saves of an earlier player named FAY were found and moved to "
                              "the folder of deleted players' saves; FAY keeps none of them."),
              std::string::npos)
        << run.output;
    // The earlier FAY's files are kept as they were; the new FAY has a save of her own.
    EXPECT_EQ(testsupport::ReadFileBytes(Profiles() + "Deleted/70-65-89.AppProfile"), fay);
    EXPECT_EQ(InFile("70-65-89.AppProfile"), std::make_pair(std::string("FAY"), 0));
    EXPECT_EQ(FileType(Profiles() + "70-65-89.AppProfile.bak"), 0);
    ExpectEachFileIsItsPlayers();
}

// A file of this build with the value of an entry changed by hand and its checks made again.
std::string Rechecked(const std::string& bytes, const std::string& entry, const std::string& value) {
    std::string text = bytes;
    const size_t at = text.find("\t" + entry + " = ") + entry.size() + 4;
    text.replace(at, text.find('\n', at) - at, value);
    auto root = ParseBlockFileText(text, "");
    for (const auto& node : root->SubFiles) {
        if (!node) continue;
        auto& children = node->SubFiles;
        children.erase(std::remove_if(children.begin(), children.end(),
                                      [](const TBlockFilePtr& c) { return c && NamesEqual(c->name, "Check"); }),
                       children.end());
    }
    root->SubFiles.erase(std::remove_if(root->SubFiles.begin(), root->SubFiles.end(),
                                        [](const TBlockFilePtr& c) { return c && NamesEqual(c->name, "Check"); }),
                         root->SubFiles.end());
    AddContentChecks(root, true);
    return BlockFileToText(root);
}

TEST_F(PlayerFilesTest, FilesOfEarlierBuildsOrDamagedAreReadAndWrittenBackWhole) {
    struct Case {
        const char* what;
        std::function<void()> plant;
        const char* told;  // the message of the first start ("": none)
        std::vector<Player> read;
    };
    const std::string listOfEarlierBuild = "Settings{\n\tCurrProfile = \"65-78-78\"\n}\n";
    const Case cases[] = {
        {"a list of an earlier build without checks, a bit of a name flipped",
         [&] {
             testsupport::WriteFileBytes(Profiles() + "Profiles.dat",
                                         listOfEarlierBuild +
                                             "Profile{\n\tId = \"65-78-78\"\n\tName = \"AON\"\n}\n"
                                             "Profile{\n\tId = \"66-79-66\"\n\tName = \"BOB\"\n}\n");
             testsupport::WriteFileBytes(Profiles() + "65-78-78.AppProfile",
                                         "Data{\n\tName = \"ANN\"\n\tScore = 777\n}\n");
             testsupport::WriteFileBytes(Profiles() + "66-79-66.AppProfile",
                                         "Data{\n\tName = \"BOB\"\n\tScore = 5\n}\n");
         },
         "",
         {{"ANN", 777, 0}, {"BOB", 5, 0}}},
        {"names of an earlier build with characters that draw nothing",
         [&] {
             testsupport::WriteFileBytes(
                 Profiles() + "Profiles.dat",
                 EncodeBlockFileText(listOfEarlierBuild +
                                     "Profile{\n\tId = \"90-79-69-12288\"\n\tName = \"ZOE\u3000\"\n}\n"
                                     "Profile{\n\tId = \"8203-65-76\"\n\tName = \"\u200BAL\"\n}\n"));
             testsupport::WriteFileBytes(Profiles() + "90-79-69-12288.AppProfile",
                                         EncodeBlockFileText("Data{\n\tName = \"ZOE\u3000\"\n\tScore = 31\n}\n"));
             testsupport::WriteFileBytes(Profiles() + "8203-65-76.AppProfile",
                                         EncodeBlockFileText("Data{\n\tName = \"\u200BAL\"\n\tScore = 32\n}\n"));
         },
         "Characters that draw nothing are no longer part of names: the saves of ZOE and AL were kept and carried to "
         "the names as they are shown.",
         {{"ZOE", 31, 0}, {"AL", 32, 0}}},
        {"a save number no save reaches",
         [&] {
             WritePlayers({{"ANN", 600, 0}});
             const std::string file = Profiles() + "65-78-78.AppProfile";
             testsupport::WriteFileBytes(file, Rechecked(testsupport::ReadFileBytes(file), "SaveCount", "2147483648"));
         },
         "ANN's save was damaged. Kept: the levels played, the award counters, the kingdom, the awards. From the save "
         "before: level 1, score 590.",
         {{"ANN", 590, 0}}},
        {"a newer copy of the list that lacks players",
         [&] {
             // The list of three put back by hand over a newer one naming ANN alone, now its copy.
             WritePlayers({{"ANN", 1, 0}, {"BOB", 2, 0}, {"CY", 3, 0}});
             const std::string list = testsupport::ReadFileBytes(Profiles() + "Profiles.dat");
             std::string alone = list;
             const size_t from = alone.find("Profile{\n\tId = \"66-79-66\"");
             alone.erase(from, alone.rfind("Check = ") - from);
             testsupport::WriteFileBytes(Profiles() + "Profiles.dat.bak", Rechecked(alone, "SaveCount", "9"));
         },
         "The backup copy of the list of players was newer than the list itself: the newer list was taken. CY and BOB "
         "were not in it and were added back from the saves in the folder.",
         {{"ANN", 1, 0}, {"CY", 3, 0}, {"BOB", 2, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteDir(dir.file("user"));
        CreateDir(Profiles());
        c.plant();
        GameRun run = Run(MenuScript(), 20);
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.output.find("No save was found"), std::string::npos) << run.output;
        if (*c.told) {
            EXPECT_NE(run.output.find(std::string("Message to the player: ") + c.told), std::string::npos)
                << run.output;
        } else {
            EXPECT_EQ(run.output.find("Message to the player"), std::string::npos) << run.output;
        }
        // Written back whole: every file there is as this build writes it, checks and numbers, and
        // within range.
        ExpectEachFileIsItsPlayers();
        for (const std::string& file : ReadDir(Profiles())) {
            if (!EndsWith(file, ".AppProfile") && file != "Profiles.dat") continue;
            const CheckedFile read = ReadCheckedFile(Profiles() + file);
            EXPECT_TRUE(read.good() && read.checked) << file;
            const int number =
                TrustedSaveNumber(read, file == "Profiles.dat" ? "Settings::SaveCount" : "Data::SaveCount");
            EXPECT_GT(number, 0) << file;
            EXPECT_LT(number, 100) << file;
        }
        // The next start reads the same, with nothing to tell.
        GameRun again = Run(MenuScript(), 20);
        ASSERT_EQ(again.status, 0);
        EXPECT_EQ(again.output.find("Message to the player"), std::string::npos) << again.output;
        const std::vector<Player> read = ReadBack();
        ASSERT_EQ(read.size(), c.read.size());
        for (size_t k = 0; k < read.size(); ++k) {
            EXPECT_EQ(read[k].name, c.read[k].name);
            EXPECT_EQ(read[k].score, c.read[k].score);
        }
    }
}

}  // namespace
