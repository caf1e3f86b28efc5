// Saves a player can trust: the level in progress and the progress file as one save, a damaged
// progress file salvaged block by block (with the save before it), saves that fail on a full
// disk or a read-only folder told to the player, and deleted players kept out of a rebuilt list.
#include <functional>
#include <map>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/progress/PlayerNotices.h"
#include "platform/Strings.h"
#include "platform/System.h"

using namespace profiletest;

namespace {

class TrustedSavesTest : public ProfileTest {
protected:
    std::string out;  // what the last ReadPlayers printed

    void SetUp() override {
        ProfileTest::SetUp();
        ResetPlayerNotices();
    }
    void TearDown() override {
        SetWriteFaultHook(nullptr);
        SetPlainDialog(nullptr);
        ProfileTest::TearDown();
    }

    // The players as the loading screen reads them.
    TProfileManagerPtr ReadPlayers() {
        ResetProfileGlobals();
        auto manager = std::make_shared<TProfileManager>();
        testing::internal::CaptureStdout();
        manager->OnSetup();
        out = testing::internal::GetCapturedStdout();
        return manager;
    }

    // A manager holding the players of these names, the first current, as after reading.
    static TProfileManagerPtr Writer(std::initializer_list<const char*> names) {
        auto manager = std::make_shared<TProfileManager>();
        for (const char* name : names) manager->ProfilesList.push_back(CreateNewProfile(name));
        manager->SetCurrProfile(manager->ProfilesList[0]);
        manager->isProfilesRead = 1;
        return manager;
    }

    static std::shared_ptr<TPACLevel> Board(int seconds) {
        auto level = SmallLevel();
        level->LevelSeconds = seconds;  // tells the boards apart
        return level;
    }

    // Every file of the profiles folder with its bytes.
    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        for (const auto& name : ReadDir(user.file("Profiles")))
            if (FileType(ProfilesFile(name)) == 1) files[name] = testsupport::ReadFileBytes(ProfilesFile(name));
        return files;
    }
    void Restore(const std::map<std::string, std::string>& files) {
        for (const auto& name : ReadDir(user.file("Profiles")))
            if (FileType(ProfilesFile(name)) == 1) DeleteFile(ProfilesFile(name));
        for (const auto& [name, bytes] : files) testsupport::WriteFileBytes(ProfilesFile(name), bytes);
    }

    std::string Notices() {
        std::string all;
        for (const auto& text : PendingPlayerNotices()) all += text + "\n";
        return all;
    }
};

TEST_F(TrustedSavesTest, ALevelInProgressComesBackOnlyWithTheProgressOfItsOwnSave) {
    // ANN plays level 3; two saves, each with her board as it was.
    auto writer = Writer({"Ann"});
    auto ann = writer->ProfilesList[0];
    ann->Level = 3;
    ann->CurrScreen = "GameScreen";
    ann->CurrLevel = Board(10);
    writer->SaveAtEnd();
    ann->CurrLevel = Board(20);
    writer->SaveAtEnd();
    const auto saved = Snapshot();
    ASSERT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("65-110-110.AppProfile")), "Data::SaveCount"), 2);
    ASSERT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("65-110-110.PACLEVEL")), "Progress::SaveCount"), 2);
    const std::string board = ProfilesFile("65-110-110.PACLEVEL");

    struct Case {
        const char* what;
        std::function<void()> after;  // what happened after the two saves
        int seconds;                  // the board that comes back (-1: the level starts anew)
        const char* told;             // a piece of the message
        bool setAside;                // the board on disk was kept aside (".bad")
    };
    const Case cases[] = {
        // The game went on to level 5 and its third save was killed between the two files: the
        // board of level 5 is never booked under level 3; the pair of the second save is read.
        {"killed between the two files",
         [&] {
             ann->Level = 5;
             ann->CurrLevel = Board(30);
             ++ann->SaveCount;
             ann->WriteLevelInProgress(board, ann->LevelInProgressBlocks(board));
         },
         20, "ANN's last save was cut short: level 3 goes on as it was at the save before.", true},
        // The board was won (it is no play in progress any more) and the save killed before the
        // progress file: the board is in ".bak", where the pair is found.
        {"killed after a won board went",
         [&] {
             auto won = Board(30);
             won->isLevelWon = 1;
             ann->CurrLevel = won;
             ++ann->SaveCount;
             ann->WriteLevelInProgress(board, ann->LevelInProgressBlocks(board));
         },
         20, "last save was cut short", false},
        // Writing the board failed, the progress file was written: the board on disk is an older
        // save's and starts anew.
        {"the board could not be written",
         [&] {
             ann->CurrLevel = Board(30);
             SetWriteFaultHook([&](const std::string& path, FileWrite) { return path == board ? ENOSPC : 0; });
             testing::internal::CaptureStdout();
             writer->SaveAtEnd();
             testing::internal::GetCapturedStdout();
             SetWriteFaultHook(nullptr);
         },
         -1, "ANN's level in progress did not match the save: level 3 starts anew.", true},
        // A board of an older build (without the block that pairs it) under a progress file of
        // this one.
        {"a board without its pairing",
         [&] { ASSERT_TRUE(SavePacLevel(Board(40), board, 0)); }, -1, "did not match the save", true},
        {"a damaged board", [&] { testsupport::WriteFileBytes(board, "Level{\n\tData{\n"); }, -1,
         "ANN's level in progress was damaged: level 3 starts anew.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restore(saved);
        Control::CurrScreen = nullptr;  // (the messages wait, to be read here)
        ann->SaveCount = 2;
        ann->Level = 3;
        ann->isSaveWhole = true;
        c.after();
        auto reader = ReadPlayers();
        auto read = reader->ProfilesList[0];
        EXPECT_EQ(read->Level, 3);
        ASSERT_NE(read->CurrLevel, nullptr);
        if (c.seconds >= 0) {
            EXPECT_EQ(read->CurrLevel->LevelSeconds, c.seconds);
        } else {
            EXPECT_EQ(read->CurrLevel->Score, 300) << "level 3's own file, afresh";
            EXPECT_EQ(read->CurrLevel->LevelSeconds, 0);
        }
        EXPECT_NE(Notices().find(c.told), std::string::npos) << Notices();
        EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
        // The board that was not resumed is kept aside; the next save counts on past every
        // counter on disk, so that no later save pairs with it.
        EXPECT_EQ(FileType(board + ".bad"), c.setAside ? 1 : 0);
        EXPECT_GE(read->SaveCount, 2);
        read->Game_Continue();
        EXPECT_EQ(Game->CurrLevel, read->CurrLevel);
        ResetPlayerNotices();
    }

    // Files of an older build (no save counter, no pairing) go together as they always did.
    Restore({});
    testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"),
                                "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n");
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"),
                                "Data{\n\tName = \"Ann\"\n\tLevel = 3\n\tScreen = \"GameScreen\"\n}\n");
    ASSERT_TRUE(SavePacLevel(Board(50), board, 0));
    auto reader = ReadPlayers();
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_TRUE(PendingPlayerNotices().empty());
    ASSERT_NE(Profile->CurrLevel, nullptr);
    EXPECT_EQ(Profile->CurrLevel->LevelSeconds, 50);
    // Saved once, they are a pair: the next start reads the same board, and an older build
    // reading them finds every entry it knows (the new ones are extra).
    reader->SaveAtEnd();
    ReadPlayers();
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(Profile->CurrLevel->LevelSeconds, 50);
    auto level = LoadPacLevel(board);
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->LevelSeconds, 50);
}

TEST_F(TrustedSavesTest, ADamagedProgressFileKeepsWhatStillReadsInEachBlock) {
    AddCatalogues();
    // Two saves of ANN: the one before (A) and the last one (B), which gets damaged.
    auto writer = Writer({"Ann"});
    auto ann = writer->ProfilesList[0];
    auto fill = [&](int level, int score, int hints, int buildings, std::vector<int> awards) {
        ann->Level = level;
        ann->Score = score;
        ann->HintUsed = hints;
        ann->LevelsWithoutMistakes = hints + 1;
        ann->Levels.clear();
        for (int id = 1; id < level - 33; ++id) ann->Level_Pass(id);
        ann->Buildings.clear();
        for (int id = 1; id <= buildings; ++id) ann->Kingdom_AddObject(GetKingdomObject(id));
        ann->BuildingStage = buildings / 4;
        ann->Awards.clear();
        for (int id : awards) ann->Awards.push_back(GetAwardById(id));
    };
    fill(36, 4000, 4, 1, {3});
    writer->SaveAtEnd();
    fill(37, 5000, 8, 3, {3, 7, 12});
    writer->SaveAtEnd();
    const std::string path = ProfilesFile("65-110-110.AppProfile");
    const std::string index = testsupport::ReadFileBytes(ProfilesFile("Profiles.dat"));
    const std::string last = testsupport::ReadFileBytes(path);
    const std::string before = testsupport::ReadFileBytes(path + ".bak");
    ASSERT_EQ(GetBFInt(LoadBlockFile(path + ".bak"), "Data::Level"), 36);

    // What each block holds, read back: from the last save (B), the save before (A), or the
    // defaults. (Each is an entry after the block's first one.)
    struct Values {
        int level, records, hints, buildings, awards;
    };
    const Values B{37, 3, 8, 3, 3}, A{36, 2, 4, 1, 1}, Default{1, 0, 0, 0, 0};
    auto read = [] {
        return Values{Profile->Level, static_cast<int>(Profile->Levels.size()), Profile->HintUsed,
                      static_cast<int>(Profile->Buildings.size()), static_cast<int>(Profile->Awards.size())};
    };
    const char* blocks[] = {"Data", "Levels", "Stats", "Buildings", "Awards"};
    const char* words[] = {"the level and score", "the levels played", "the award counters", "the kingdom", "the awards"};
    for (int cut = 0; cut < 5; ++cut) {
        for (bool withBefore : {false, true}) {
            SCOPED_TRACE(std::string("cut in ") + blocks[cut] + (withBefore ? ", with the save before" : ""));
            // Cut in the middle of the block's second line (the Awards block's only line).
            const size_t start = last.find(std::string(blocks[cut]) + "{\n") + std::string(blocks[cut]).size() + 2;
            const size_t line = cut == 4 ? start : last.find('\n', start) + 1;
            const std::string damaged = last.substr(0, line + 4);
            Restore({{"Profiles.dat", index}, {"65-110-110.AppProfile", damaged}});
            if (withBefore) testsupport::WriteFileBytes(path + ".bak", before);

            auto manager = ReadPlayers();
            EXPECT_NE(out.find("is damaged"), std::string::npos) << out;
            EXPECT_EQ(Profile->name, "Ann");
            const Values got = read();
            const Values& fallback = withBefore ? A : Default;
            const int want[5][2] = {{B.level, fallback.level},
                                    {B.records, fallback.records},
                                    {B.hints, fallback.hints},
                                    {B.buildings, fallback.buildings},
                                    {B.awards, fallback.awards}};
            const int have[5] = {got.level, got.records, got.hints, got.buildings, got.awards};
            for (int b = 0; b < 5; ++b) EXPECT_EQ(have[b], want[b][b < cut ? 0 : 1]) << blocks[b];
            // The block's first entry still reads from the damaged file.
            if (cut == 2) {
                EXPECT_EQ(Profile->LevelsWithoutMistakes, B.hints + 1);
            }

            // Told: what was kept, what came from the save before, what was lost.
            ASSERT_EQ(PendingPlayerNotices().size(), 1u);
            const std::string told = PendingPlayerNotices()[0];
            EXPECT_EQ(told.find("ANN's save was damaged."), 0u) << told;
            if (cut > 0) {
                EXPECT_NE(told.find("Kept: level 37, score 5000"), std::string::npos) << told;
            }
            for (int b = 1; b < 5; ++b) {
                // (The Awards block has one line: cut in it, nothing of it reads.)
                const bool partly = b == cut && b != 4;
                const std::string where = b < cut ? " Kept: " : withBefore ? " From the save before: " : partly ? " Partly kept: " : " Lost: ";
                const size_t at = told.find(where);
                ASSERT_NE(at, std::string::npos) << told;
                EXPECT_NE(told.find(words[b], at), std::string::npos) << words[b] << " in " << told;
            }
            if (withBefore && cut == 0) {
                EXPECT_NE(told.find("From the save before: level 36, score 4000"), std::string::npos) << told;
            }

            // The damaged bytes are kept aside, the save before is left as it was, and the next
            // save writes what was read, whole.
            EXPECT_EQ(testsupport::ReadFileBytes(path + ".bad"), damaged);
            if (withBefore) {
                EXPECT_EQ(testsupport::ReadFileBytes(path + ".bak"), before);
            }
            manager->SaveAtEnd();
            ReadPlayers();
            EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
            const Values again = read();
            EXPECT_EQ(std::vector<int>({again.level, again.records, again.hints, again.buildings, again.awards}),
                      std::vector<int>({got.level, got.records, got.hints, got.buildings, got.awards}));
            ResetPlayerNotices();
        }
    }

    // A damaged file whose name runs on (its closing quote lost): the list's name, which names the
    // player's files, stays. (Found by fuzzing: the player moved to the Id of the name run on.)
    Restore({{"Profiles.dat", index}, {"65-110-110.AppProfile", "Data{\n\tName = \"Annabel\n\tLevel = 12\n\tSco"}});
    ReadPlayers();
    EXPECT_EQ(Profile->name, "Ann");
    Profile->InitID();
    EXPECT_EQ(Profile->FileName, "65-110-110");
    ResetPlayerNotices();

    // Nothing of it reads: the save before is restored whole.
    Restore({{"65-110-110.AppProfile", "Data{\n\tNa"}, {"65-110-110.AppProfile.bak", before}});
    testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"),
                                "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n");
    auto reader = ReadPlayers();
    EXPECT_EQ(Profile->Level, 36);
    EXPECT_EQ(Profile->Score, 4000);
    EXPECT_EQ(Profile->Buildings.size(), 1u);
    ASSERT_EQ(PendingPlayerNotices().size(), 1u);
    EXPECT_EQ(PendingPlayerNotices()[0],
              "ANN's save was damaged; the save before it was restored (level 36, score 4000). The damaged file was kept.");
    reader->SaveAtEnd();
    bool whole = false;
    auto saved = LoadBlockFileChecked(path, whole);
    EXPECT_TRUE(whole);
    EXPECT_EQ(GetBFInt(saved, "Data::Score"), 4000);
}

TEST_F(TrustedSavesTest, ASaveThatFailsIsToldOnceWhileTheGameRunsAndAgainAtExit) {
    auto writer = Writer({"Ann", "Bob"});
    writer->ProfilesList[0]->CurrLevel = Board(10);
    writer->ProfilesList[0]->Score = 70;
    ASSERT_EQ(writer->SavePlayers(), 1);
    const auto saved = Snapshot();
    writer->ProfilesList[0]->Score = 90;
    writer->ProfilesList[0]->CurrLevel = Board(20);

    struct Case {
        const char* what;
        int error;
        const char* told;
    };
    const Case cases[] = {
        {"a full disk", ENOSPC, "Your progress could not be saved: the disk is full."},
        {"a read-only folder", EROFS, "Your progress could not be saved: the game's folder can't be written to."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlayerNotices();
        const int error = c.error;
        SetWriteFaultHook([error](const std::string&, FileWrite) { return error; });
        testing::internal::CaptureStdout();
        EXPECT_EQ(writer->SavePlayers(), 0);
        EXPECT_EQ(writer->SavePlayers(), 0);  // the kingdom, the map: every save tries again
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(printed.find("ERROR"), std::string::npos);
        // Told once, not at every save; nothing on disk changed.
        ASSERT_EQ(PendingPlayerNotices().size(), 1u);
        EXPECT_EQ(PendingPlayerNotices()[0].find(c.told), 0u) << PendingPlayerNotices()[0];
        EXPECT_EQ(Snapshot(), saved);

        // At exit: said again, in a plain dialog (no pop-up can show any more), with the folder.
        std::vector<std::string> dialogs;
        SetPlainDialog([&](const std::string&, const std::string& text) {
            dialogs.push_back(text);
            return true;
        });
        Control::isEnded = true;
        testing::internal::CaptureStdout();
        writer->SaveAtEnd();
        testing::internal::GetCapturedStdout();
        Control::isEnded = false;
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_NE(dialogs[0].find("could not save your progress before closing"), std::string::npos) << dialogs[0];
        if (c.error == EROFS) {
            EXPECT_NE(dialogs[0].find(user.file("Profiles")), std::string::npos) << dialogs[0];
        }
        EXPECT_EQ(Snapshot(), saved);

        // Once the trouble is gone the next save writes everything, and a new trouble is told
        // again.
        SetWriteFaultHook(nullptr);
        EXPECT_EQ(writer->SavePlayers(), 1);
        EXPECT_EQ(writer->isSaveFailureTold, 0);
        Restore(saved);
    }

    // A first start in a folder that cannot be written: told once a screen is up.
    Restore({});
    ResetPlayerNotices();
    SetWriteFaultHook([](const std::string&, FileWrite) { return EROFS; });
    auto first = ReadPlayers();
    ASSERT_EQ(PendingPlayerNotices().size(), 1u);
    EXPECT_EQ(PendingPlayerNotices()[0].find("Your progress could not be saved"), 0u);
    EXPECT_EQ(first->ProfilesList.size(), 1u);
}

TEST_F(TrustedSavesTest, ADeletedPlayerNeverComesBack) {
    auto writer = Writer({"Ann", "Bob"});
    writer->ProfilesList[1]->CurrLevel = Board(10);
    writer->SaveAtEnd();
    for (const auto& p : writer->ProfilesList) p->Score = 5;
    writer->SaveAtEnd();  // (and the copies of the save before)
    auto manager = ReadPlayers();
    manager->SetCurrProfileById("66-111-98");
    const auto bob = Snapshot();

    // Bob deleted: his files move, as they are, to the deleted players' folder at once.
    ASSERT_EQ(manager->RemoveCurrentPlayer(), 1);
    for (const char* file : {"66-111-98.AppProfile", "66-111-98.AppProfile.bak", "66-111-98.PACLEVEL", "66-111-98.PACLEVEL.bak"}) {
        EXPECT_EQ(FileType(ProfilesFile(file)), 0) << file;
        EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile(std::string("Deleted/") + file)), bob.at(file)) << file;
    }

    // Killed before the list was written: the list still names Bob, who stays deleted.
    auto after = ReadPlayers();
    EXPECT_NE(out.find("'Bob' was deleted"), std::string::npos) << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    ASSERT_EQ(after->ProfilesList.size(), 1u);
    EXPECT_EQ(after->ProfilesList[0]->name, "Ann");

    // The list lost: rebuilt from the players' files, without Bob.
    after->SaveAtEnd();
    DeleteFile(ProfilesFile("Profiles.dat"));
    auto rebuilt = ReadPlayers();
    ASSERT_EQ(rebuilt->ProfilesList.size(), 1u);
    EXPECT_EQ(rebuilt->ProfilesList[0]->name, "Ann");

    // A new Bob is a new player; deleted again, his files join the first Bob's without
    // replacing them.
    ASSERT_EQ(rebuilt->AddPlayer("Bob"), 1);
    rebuilt->SaveAtEnd();
    EXPECT_EQ(rebuilt->CurrProfile->Level, 0);
    ASSERT_EQ(rebuilt->RemoveCurrentPlayer(), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("Deleted/66-111-98.AppProfile")), bob.at("66-111-98.AppProfile"));
    EXPECT_EQ(FileType(ProfilesFile("Deleted/66-111-98.AppProfile.2")), 1);
    EXPECT_EQ(FileType(ProfilesFile("66-111-98.AppProfile")), 0);
}

}  // namespace

namespace {

TEST_F(TrustedSavesTest, APlayerWhoseNameCannotNameAFileNeverBlocksTheOthersSaves) {
    // Found by fuzzing the players' files: a name (from an edited list, or a progress file) whose
    // Id is longer than a file name may be could never be saved, and no list of players was ever
    // written after it: the other players' changes to the list were lost at every exit.
    const std::string longName(100, 'B');
    testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"), "Settings{\n\tCurrProfile = \"65-110-110\"\n}\n"
                                                              "Profile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n"
                                                              "Profile{\n\tId = \"x\"\n\tName = \"" + longName + "\"\n}\n");
    auto manager = ReadPlayers();
    EXPECT_NE(out.find("too long to name a file"), std::string::npos) << out;
    ASSERT_EQ(manager->ProfilesList.size(), 1u);
    ASSERT_EQ(manager->AddPlayer("Cy"), 1);
    EXPECT_EQ(manager->SavePlayers(), 1);
    ASSERT_EQ(GetBlockFilesList(LoadBlockFile(ProfilesFile("Profiles.dat")), "Profile").size(), 2u);

    // A list rebuilt from the files leaves out a progress file whose name is such a name.
    testsupport::WriteFileBytes(ProfilesFile("9.AppProfile"), "Data{\n\tName = \"" + longName + "\"\n}\n");
    DeleteFile(ProfilesFile("Profiles.dat"));
    auto rebuilt = ReadPlayers();
    EXPECT_EQ(rebuilt->ProfilesList.size(), 2u);
    EXPECT_EQ(rebuilt->SavePlayers(), 1);
}

}  // namespace
