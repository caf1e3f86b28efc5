// Saves a player can trust: the level in progress and the progress file as one save, a damaged
// progress file salvaged block by block (with the save before it), saves that fail on a full
// disk or a read-only folder told to the player, and deleted players kept out of a rebuilt list.
#include <array>
#include <functional>
#include <map>
#include <random>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/progress/PlayerNames.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/ProgressFile.h"
#include "game/progress/SaveFiles.h"
#include "platform/Strings.h"
#include "platform/System.h"

using namespace profiletest;

namespace {

// The part of a message after the label, to the end of its sentence ("" when it has none).
std::string Section(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    if (at == std::string::npos) return "";
    const size_t from = at + label.size();
    return text.substr(from, text.find(". ", from) - from);
}

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

    // Two saves of ANN and BOB (BOB playing), the one before and the last, which differ in every
    // block of ANN's progress: the blocks of each.
    std::array<std::vector<std::string>, 2> SaveAnnTwice() {
        AddCatalogues();
        auto writer = Writer({"Ann", "Bob"});
        auto ann = writer->ProfilesList[0];
        writer->SetCurrProfile(writer->ProfilesList[1]);
        writer->ProfilesList[1]->Score = 77;
        std::array<std::vector<std::string>, 2> saves;
        for (int k = 0; k < 2; ++k) {
            ann->Levels.clear();
            for (int id = 1; id <= 3 + k; ++id) ann->Level_Pass(id);
            ann->Level = 4 + k;
            ann->Score = 300 + 100 * k;
            ann->Game_CountStars();
            ann->CurrScreen = k == 0 ? "Stages" : "Kingdom";
            ann->HintUsed = 1 + k;
            ann->Buildings.clear();
            for (int id = 1; id <= 1 + k; ++id) ann->Kingdom_AddObject(id);
            ann->BuildingStage = k;
            ann->Awards = {GetAwardById(3)};
            if (k == 1) ann->Awards.push_back(GetAwardById(7));
            writer->SaveAtEnd();
            saves[k] = Blocks(*ann);
        }
        return saves;
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
    const std::string boardFile = ProfilesFile("65-110-110.PACLEVEL");

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
             ann->WriteLevelInProgress(boardFile, ann->LevelInProgressBlocks(boardFile));
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
             ann->WriteLevelInProgress(boardFile, ann->LevelInProgressBlocks(boardFile));
         },
         20, "last save was cut short", false},
        // Writing the board failed (the disk full on that write only): the save fails as a
        // whole, so the progress file never gets a counter the board on disk does not carry, and
        // the pair of the second save is read as it was.
        {"the board could not be written",
         [&] {
             ann->CurrLevel = Board(30);
             ann->Score = 99;
             SetWriteFaultHook([&](const std::string& path, FileWrite) { return path == boardFile ? ENOSPC : 0; });
             testing::internal::CaptureStdout();
             EXPECT_EQ(writer->SavePlayers(), 0);
             testing::internal::GetCapturedStdout();
             SetWriteFaultHook(nullptr);
             EXPECT_NE(Notices().find("Your progress could not be saved: the disk is full."), std::string::npos);
             // (The copies of the save before were made first: they are the second save now.)
             for (const char* file : {"65-110-110.AppProfile", "65-110-110.PACLEVEL", "Profiles.dat"})
                 EXPECT_EQ(Snapshot().at(file), saved.at(file)) << file;
             ResetPlayerNotices();
         },
         20, "", false},
        // The progress file's level damaged: the level and score come from the save before, and
        // with them the board of that save, which the one message already tells.
        {"the level damaged in the progress file",
         [&] {
             const std::string progress = ProfilesFile("65-110-110.AppProfile");
             std::string text = testsupport::ReadFileBytes(progress);
             text.replace(text.find("Level = 3"), 9, "Level = 2");
             testsupport::WriteFileBytes(progress, text);
         },
         10,
         "ANN's save was damaged. Kept: the levels played, the award counters, the kingdom, the awards. From the "
         "save before: level 3, score 0.",
         true},
        // A board of an older build (without the block that pairs it) under a progress file of
        // this one.
        {"a board without its pairing", [&] { ASSERT_TRUE(SavePacLevel(Board(40), boardFile, 0)); }, 10,
         "ANN's level in progress did not match the save: level 3 goes on as it was at the save before.", true},
        // A damaged board: the board of the save before, which the save before of the progress
        // pairs with at the same level, goes on; the damaged bytes are kept aside.
        {"a damaged board", [&] { testsupport::WriteFileBytes(boardFile, "Level{\n\tData{\n"); }, 10,
         "ANN's level in progress was damaged: level 3 goes on as it was at the save before.", true},
        {"a damaged board, no board of the save before",
         [&] {
             testsupport::WriteFileBytes(boardFile, "Level{\n\tData{\n");
             DeleteFile(boardFile + ".bak");
         },
         -1, "ANN's level in progress was damaged: level 3 starts anew.", true},
        // The save before was at another level: its board is never booked under level 3.
        {"a damaged board, the save before at another level",
         [&] {
             testsupport::WriteFileBytes(boardFile, "Level{\n\tData{\n");
             TProfile before;
             before.SetName("Ann");
             before.Level = 2;
             before.SaveCount = 1;
             auto root = before.ProgressBlocks(ProfilesFile("65-110-110.AppProfile.bak"));
             ASSERT_TRUE(SaveBlockFile(root));
         },
         -1, "ANN's level in progress was damaged: level 3 starts anew.", true},
        // The board gone (removed by hand, lost with a disk): said, not silently started anew; the
        // board of the save before goes on.
        {"a missing board", [&] { DeleteFile(boardFile); }, 10,
         "ANN's level in progress was missing: level 3 goes on as it was at the save before.", false},
        {"a missing board, no board of the save before",
         [&] {
             DeleteFile(boardFile);
             DeleteFile(boardFile + ".bak");
         },
         -1, "ANN's level in progress was missing: level 3 starts anew.", false},
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
        if (*c.told) {
            EXPECT_EQ(PendingPlayerNotices().size(), 1u) << Notices();
            EXPECT_NE(Notices().find(c.told), std::string::npos) << Notices();
            EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
        } else {
            EXPECT_EQ(Notices(), "");
            EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
        }
        // The board that was not resumed is kept aside; the next save counts on past every
        // counter on disk, so that no later save pairs with it.
        EXPECT_EQ(FileType(boardFile + ".bad"), c.setAside ? 1 : 0);
        EXPECT_GE(read->SaveCount, 2);
        read->Game_Continue();
        EXPECT_EQ(Game->CurrLevel, read->CurrLevel);
        ResetPlayerNotices();
    }

    // Files of an older build (no save counter, no pairing) go together as they always did.
    Restore({});
    testsupport::WriteFileBytes(
        ProfilesFile("Profiles.dat"),
        "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n");
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"),
                                "Data{\n\tName = \"Ann\"\n\tLevel = 3\n\tScreen = \"GameScreen\"\n}\n");
    ASSERT_TRUE(SavePacLevel(Board(50), boardFile, 0));
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
    auto level = LoadPacLevel(boardFile);
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
        for (int id = 1; id <= buildings; ++id) ann->Kingdom_AddObject(id);
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
    const char* words[] = {"the level and score", "the levels played", "the award counters", "the kingdom",
                           "the awards"};
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
            // The block's first entry still reads from the damaged file, but cannot be vouched
            // for: the save before's whole block is taken where it is good.
            if (cut == 2) {
                EXPECT_EQ(Profile->LevelsWithoutMistakes, (withBefore ? A.hints : B.hints) + 1);
            }

            // Told: what was kept, what came from the save before, what was lost.
            ASSERT_EQ(PendingPlayerNotices().size(), 1u);
            const std::string told = PendingPlayerNotices()[0];
            if (withBefore && cut == 0) {
                // Nothing of the damaged file can be vouched for, and the save before is good.
                EXPECT_EQ(told,
                          "ANN's save was damaged; the save before it was restored (level 36, score 4000). "
                          "The damaged file was kept.");
            } else {
                EXPECT_EQ(told.find("ANN's save was damaged."), 0u) << told;
                if (cut > 0) {
                    EXPECT_NE(told.find("Kept: level 37, score 5000"), std::string::npos) << told;
                }
                for (int b = 1; b < 5; ++b) {
                    // (The Awards block has one line: cut in it, nothing of it reads.)
                    const bool partly = b == cut && b != 4;
                    const std::string where = b < cut      ? " Kept: "
                                              : withBefore ? " From the save before: "
                                              : partly     ? " Partly kept: "
                                                           : " Lost: ";
                    const size_t at = told.find(where);
                    ASSERT_NE(at, std::string::npos) << told;
                    EXPECT_NE(told.find(words[b], at), std::string::npos) << words[b] << " in " << told;
                }
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
    testsupport::WriteFileBytes(
        ProfilesFile("Profiles.dat"),
        "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n");
    auto reader = ReadPlayers();
    EXPECT_EQ(Profile->Level, 36);
    EXPECT_EQ(Profile->Score, 4000);
    EXPECT_EQ(Profile->Buildings.size(), 1u);
    ASSERT_EQ(PendingPlayerNotices().size(), 1u);
    EXPECT_EQ(
        PendingPlayerNotices()[0],
        "ANN's save was damaged; the save before it was restored (level 36, score 4000). The damaged file was kept.");
    reader->SaveAtEnd();
    bool whole = false;
    auto saved = LoadBlockFileChecked(path, whole);
    EXPECT_TRUE(whole);
    EXPECT_EQ(GetBFInt(saved, "Data::Score"), 4000);

    // Nothing of it reads, and the save before is cut in its last block: the save before still
    // gives every block but that one.
    ResetPlayerNotices();
    const std::string beforeCut = before.substr(0, before.find("AwardsList") + 4);
    Restore(
        {{"Profiles.dat", index}, {"65-110-110.AppProfile", "Data{\n\tNa"}, {"65-110-110.AppProfile.bak", beforeCut}});
    ReadPlayers();
    EXPECT_EQ(Profile->Level, 36);
    EXPECT_EQ(Profile->Buildings.size(), 1u);
    EXPECT_TRUE(Profile->Awards.empty());
    ASSERT_EQ(PendingPlayerNotices().size(), 1u);
    EXPECT_EQ(PendingPlayerNotices()[0],
              "ANN's save was damaged. From the save before: level 36, score 4000, the levels "
              "played, the award counters, the kingdom. Lost: the awards.");
}

TEST_F(TrustedSavesTest, EveryOneByteDamageOfAPlayersFilesLosesNothingTheSaveBeforeHeld) {
    const auto saves = SaveAnnTwice();
    const std::vector<std::string>&before = saves[0], &last = saves[1];
    const auto saved = Snapshot();
    const char* const words[] = {"", "the levels played", "the award counters", "the kingdom", "the awards"};
    const std::string progress = "65-110-110.AppProfile";

    for (const std::string& file : {progress, progress + ".bak", std::string("Profiles.dat")}) {
        int harmless = 0, told = 0;
        const std::string good = saved.at(file);
        for (size_t at = 0; at < good.size(); ++at) {
            // The byte zeroed, its bit 0 flipped, or the file cut just before it (cut at a
            // block's end, it still reads as a whole file).
            enum Damage { Zeroed, Flipped, Cut };
            for (const Damage how : {Zeroed, Flipped, Cut}) {
                std::string damaged = good;
                if (how == Zeroed) damaged[at] = '\0';
                if (how == Flipped) damaged[at] = static_cast<char>(damaged[at] ^ 1);
                if (how == Cut) damaged.resize(at);
                if (damaged == good) continue;
                const char* const said[] = {" zeroed at ", " bit 0 flipped at ", " cut at "};
                SCOPED_TRACE(file + said[how] + std::to_string(at));
                Restore(saved);
                testsupport::WriteFileBytes(ProfilesFile(file), damaged);
                ResetPlayerNotices();
                auto manager = ReadPlayers();
                const std::vector<std::string> notices = PendingPlayerNotices();

                // Nothing the save before held is lost: every block is the last save's or the
                // one before's, and the players, their order and who plays are as they were.
                ASSERT_EQ(manager->ProfilesList.size(), 2u);
                auto read = manager->ProfilesList[0];
                ASSERT_EQ(read->name, "Ann");
                EXPECT_EQ(manager->ProfilesList[1]->name, "Bob");
                EXPECT_EQ(manager->ProfilesList[1]->Score, 77);
                EXPECT_EQ(Profile, manager->ProfilesList[1]);
                const std::vector<std::string> got = Blocks(*read);
                bool asLast = true;
                for (size_t b = 0; b < got.size(); ++b) {
                    ASSERT_TRUE(got[b] == last[b] || got[b] == before[b]) << got[b];
                    asLast = asLast && got[b] == last[b];
                }
                if (file != progress) {
                    // The copy of the save before and the list hold no progress of their own.
                    EXPECT_TRUE(asLast);
                }

                // Told once, with what came from where, exactly: the message is checked against
                // what was read.
                if (notices.empty()) {
                    EXPECT_TRUE(asLast) << "a loss not told";
                    ++harmless;
                } else {
                    ++told;
                    ASSERT_EQ(notices.size(), 1u) << notices[0];
                    const std::string& text = notices[0];
                    if (file == "Profiles.dat") {
                        EXPECT_EQ(text,
                                  "The list of players was lost or damaged, and was made again from the "
                                  "players' saves: ANN, BOB.");
                    } else if (got == before) {
                        EXPECT_EQ(text,
                                  "ANN's save was damaged; the save before it was restored (level 4, score "
                                  "300). The damaged file was kept.");
                    } else {
                        EXPECT_EQ(text.find("ANN's save was damaged."), 0u) << text;
                        EXPECT_EQ(text.find("Partly"), std::string::npos) << text;
                        EXPECT_EQ(text.find("Lost"), std::string::npos) << text;
                        for (size_t b = 0; b < got.size(); ++b) {
                            const std::string part = b == 0 ? "level " + std::to_string(read->Level) : words[b];
                            const std::string where = got[b] == last[b] ? " Kept: " : " From the save before: ";
                            EXPECT_NE(Section(text, where).find(part), std::string::npos) << part << " in " << text;
                        }
                    }
                    // The damaged bytes are kept aside.
                    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile(file + ".bad")), damaged);
                }

                // The repair was written at once: a start after a kill right now (no save in
                // between) reads the same, with nothing to tell.
                ResetPlayerNotices();
                manager = ReadPlayers();
                EXPECT_TRUE(PendingPlayerNotices().empty()) << PendingPlayerNotices()[0];
                ASSERT_EQ(manager->ProfilesList.size(), 2u);
                EXPECT_EQ(Blocks(*manager->ProfilesList[0]), got);
                EXPECT_EQ(Profile, manager->ProfilesList[1]);
            }
        }
        std::printf("%s: %d damages harmless, %d told\n", file.c_str(), harmless, told);
    }
}

TEST_F(TrustedSavesTest, DamagedFilesSetAsideNeverStopASave) {
    auto writer = Writer({"Ann"});
    writer->ProfilesList[0]->Score = 40;
    writer->SaveAtEnd();
    writer->ProfilesList[0]->Score = 50;
    writer->SaveAtEnd();
    const std::string path = ProfilesFile("65-110-110.AppProfile");
    // A thousand damaged files of ANN's set aside already, and her progress damaged once more.
    for (int n = 1; n <= 1000; ++n)
        testsupport::WriteFileBytes(path + ".bad" + (n == 1 ? std::string() : std::to_string(n)), "old");
    const std::string damaged = "Data{\n\tName = \"Ann\"\n\tScore = 5";
    testsupport::WriteFileBytes(path, damaged);
    auto manager = ReadPlayers();
    // The newest is kept aside, the oldest go down to the newest ten, and the repair is written.
    EXPECT_EQ(testsupport::ReadFileBytes(path + ".bad1001"), damaged);
    int aside = 0;
    for (const std::string& name : ReadDir(user.file("Profiles")))
        aside += name.find(".AppProfile.bad") != std::string::npos;
    EXPECT_EQ(aside, kKeptAside);
    EXPECT_EQ(FileType(path + ".bad992"), 1);
    EXPECT_TRUE(ReadCheckedFile(path).good());
    EXPECT_EQ(manager->ProfilesList[0]->Score, 40);
    EXPECT_EQ(Notices(),
              "ANN's save was damaged; the save before it was restored (level 1, score 40). The damaged "
              "file was kept.\n");

    // A damaged file that cannot be set aside (its copy refused) is never written over: every
    // save fails, told, until it can be copied; then it is, and the save is made.
    // (Other damage: the same bytes are not set aside twice.)
    ResetPlayerNotices();
    const std::string again = damaged + "0";
    testsupport::WriteFileBytes(path, again);
    SetWriteFaultHook(
        [&](const std::string& to, FileWrite) { return to.find(".bad") != std::string::npos ? EROFS : 0; });
    auto kept = ReadPlayers();
    EXPECT_EQ(kept->SavePlayers(), 0);
    EXPECT_EQ(testsupport::ReadFileBytes(path), again);
    EXPECT_NE(Notices().find("Your progress could not be saved: the game's folder can't be written to."),
              std::string::npos)
        << Notices();
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(kept->SavePlayers(), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(path + ".bad1002"), again);
    EXPECT_TRUE(ReadCheckedFile(path).good());
}

TEST_F(TrustedSavesTest, ARebuiltListBringsBackNoOldNameAndKeepsThePlayersWithTheMostProgress) {
    // ANN renamed ANNA, then deleted, then the list lost (with its copy of the save before): her
    // old files went with the rename, so neither name comes back.
    auto writer = Writer({"Ann", "Bob"});
    writer->SaveAtEnd();
    ASSERT_EQ(writer->RenameCurrentPlayer("Anna"), 1);
    writer->SaveAtEnd();
    EXPECT_EQ(FileType(ProfilesFile("65-110-110.AppProfile")), 0);
    EXPECT_EQ(FileType(ProfilesFile("Deleted/65-110-110.AppProfile")), 1);
    ASSERT_EQ(writer->RemoveCurrentPlayer(), 1);
    writer->SaveAtEnd();
    DeleteFile(ProfilesFile("Profiles.dat"));
    DeleteFile(ProfilesFile("Profiles.dat.bak"));
    auto rebuilt = ReadPlayers();
    ASSERT_EQ(rebuilt->ProfilesList.size(), 1u);
    EXPECT_EQ(rebuilt->ProfilesList[0]->name, "Bob");

    // Seven players' files for six slots: the six with the most progress make the list (ZED, the
    // only one far on, among them), the one left out is told, and its files stay.
    Restore({});
    auto seven = Writer({"Amy", "Ben", "Cat", "Dan", "Eve", "Fay", "Zed"});
    for (int k = 0; k < 6; ++k) seven->ProfilesList[k]->Score = 60 - 10 * k;
    auto zed = seven->ProfilesList[6];
    for (int id = 1; id <= 20; ++id) zed->Level_Pass(id);
    zed->Level = 21;
    seven->SaveAtEnd();
    DeleteFile(ProfilesFile("Profiles.dat"));
    ResetPlayerNotices();
    auto six = ReadPlayers();
    std::vector<std::string> names;
    for (const auto& p : six->ProfilesList) names.push_back(p->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Amy", "Ben", "Cat", "Dan", "Eve", "Zed"}));
    EXPECT_EQ(Notices(),
              "The list of players was lost or damaged, and was made again from the players' saves: AMY, "
              "BEN, CAT, DAN, EVE, ZED. There is room for 6 players: FAY was left out (the saves stay in "
              "the folder).\n");
    EXPECT_EQ(FileType(ProfilesFile("70-97-121.AppProfile")), 1);
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
        // (What the files held was put back by hand: nothing is taken as saved already.)
        for (const auto& p : writer->ProfilesList) {
            p->SavedState.clear();
            p->ReadState.clear();
        }
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

    // At exit only the list of players fails: every player's progress was saved, and said so.
    std::vector<std::string> dialogs;
    SetPlainDialog([&](const std::string&, const std::string& text) {
        dialogs.push_back(text);
        return true;
    });
    writer->ProfilesList[0]->Score = 95;
    writer->SetCurrProfile(writer->ProfilesList[1]);  // (the list changes too)
    SetWriteFaultHook(
        [&](const std::string& path, FileWrite) { return path == ProfilesFile("Profiles.dat") ? ENOSPC : 0; });
    Control::isEnded = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(writer->SavePlayers(), 0);
    testing::internal::GetCapturedStdout();
    Control::isEnded = false;
    SetWriteFaultHook(nullptr);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].find("Quiltora could not save the list of players before closing: the disk is full. Every "
                              "player's progress was saved"),
              0u)
        << dialogs[0];
    EXPECT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("65-110-110.AppProfile")), "Data::Score"), 95);

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
    for (const char* file :
         {"66-111-98.AppProfile", "66-111-98.AppProfile.bak", "66-111-98.PACLEVEL", "66-111-98.PACLEVEL.bak"}) {
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
    testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"),
                                "Settings{\n\tCurrProfile = \"65-110-110\"\n}\n"
                                "Profile{\n\tId = \"65-110-110\"\n\tName = \"Ann\"\n}\n"
                                "Profile{\n\tId = \"x\"\n\tName = \"" +
                                    longName + "\"\n}\n");
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

namespace {

// The lines of each block at the top of a file: where it starts and where its closing line ends.
std::vector<std::pair<size_t, size_t>> BlockSpans(const std::string& text) {
    std::vector<std::pair<size_t, size_t>> spans;
    for (const ProgressBlockInfo& b : ProgressBlocksTable()) {
        const std::string open = std::string(b.name) + "{\n";
        size_t at = text.rfind("\n" + open) + 1;
        if (StartsWith(text, open)) at = 0;
        spans.emplace_back(at, text.find("\n}\n", at) + 3);
    }
    return spans;
}

TEST_F(TrustedSavesTest, ARenamedPlayerKeepsTheSaveBefore) {
    AddCatalogues();
    auto writer = Writer({"Ann"});
    auto ann = writer->ProfilesList[0];
    ann->Level = 3;
    ann->CurrLevel = Board(10);
    writer->SaveAtEnd();
    for (int id = 1; id <= 2; ++id) ann->Level_Pass(id);
    ann->HintUsed = 4;
    ann->Kingdom_AddObject(2);
    ann->Awards = {GetAwardById(5)};
    ann->CurrLevel = Board(20);
    writer->SaveAtEnd();
    const std::vector<std::string> played = Blocks(*ann);
    const std::string last = testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile"));
    const std::string lastBoard = testsupport::ReadFileBytes(ProfilesFile("65-110-110.PACLEVEL"));

    // Renamed ANNA and saved: the files of the old name's last save are the new name's save
    // before (the old name's files go to the deleted players' folder).
    ASSERT_EQ(writer->RenameCurrentPlayer("Anna"), 1);
    writer->SaveAtEnd();
    const std::string anna = ProfilesFile("65-110-110-97.AppProfile");
    EXPECT_EQ(testsupport::ReadFileBytes(anna + ".bak"), last);
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("65-110-110-97.PACLEVEL.bak")), lastBoard);
    EXPECT_EQ(FileType(ProfilesFile("65-110-110.AppProfile")), 0);

    // One damage right then (the file cut after its level and score) loses nothing.
    const std::string renamed = testsupport::ReadFileBytes(anna);
    testsupport::WriteFileBytes(anna, renamed.substr(0, renamed.find("Levels{")));
    auto manager = ReadPlayers();
    auto read = manager->ProfilesList[0];
    EXPECT_EQ(read->name, "Anna");
    std::vector<std::string> got = Blocks(*read), want = played;
    got[0] = want[0] = "";  // (the level and score block holds the new name)
    EXPECT_EQ(got, want);
    ASSERT_NE(read->CurrLevel, nullptr);
    EXPECT_EQ(read->CurrLevel->LevelSeconds, 20);
    EXPECT_EQ(Notices(),
              "ANNA's save was damaged. Kept: level 3, score 0. From the save before: the levels played, "
              "the award counters, the kingdom, the awards.\n");
}

TEST_F(TrustedSavesTest, ABackupHoldingANewerSaveIsTakenAndNeverOverwrittenByTheOlder) {
    auto writer = Writer({"Ann", "Bob"});
    auto ann = writer->ProfilesList[0];
    ann->Level = 3;
    std::map<int, std::map<std::string, std::string>> saves;  // by ANN's save number
    for (int k = 1; k <= 5; ++k) {
        ann->Score = 100 * k;
        ann->CurrLevel = Board(k);
        if (k == 4) writer->AddPlayer("Cy");
        writer->SetCurrProfile(ann);
        writer->SaveAtEnd();
        saves[ann->SaveCount] = Snapshot();
    }
    ASSERT_EQ(ann->SaveCount, 5);
    const std::string progress = "65-110-110.AppProfile", boardFile = "65-110-110.PACLEVEL", list = "Profiles.dat";

    // Each file of save 2, each copy of save 5 (put back by hand, say).
    auto plant = [&](const std::string& copy) {
        std::map<std::string, std::string> files = saves[2];
        files.insert(saves[5].begin(), saves[5].end());  // (CY's files, made after save 2)
        for (const std::string& file : {progress, boardFile, list}) files[file + ".bak"] = saves[5].at(file);
        files[progress + ".bak"] = copy;
        Restore(files);
    };
    plant(saves[5].at(progress));
    auto manager = ReadPlayers();
    EXPECT_EQ(Profile->Score, 500);
    ASSERT_NE(Profile->CurrLevel, nullptr);
    EXPECT_EQ(Profile->CurrLevel->LevelSeconds, 5);
    ASSERT_EQ(manager->ProfilesList.size(), 3u);
    EXPECT_EQ(Notices(),
              "ANN's backup copy held a newer save than the save itself: the newer one was taken (level 3, score "
              "500).\n"
              "The backup copy of the list of players was newer than the list itself: the newer list was taken.\n");
    // The repair was written at once; the newer copies stay as they were, and the next start
    // reads the same with nothing to tell.
    for (const std::string& file : {progress, boardFile, list})
        EXPECT_EQ(Snapshot().at(file + ".bak"), saves[5].at(file)) << file;
    EXPECT_GT(GetBFInt(LoadBlockFile(ProfilesFile(progress)), "Data::SaveCount"), 5);
    ResetPlayerNotices();
    ReadPlayers();
    EXPECT_EQ(Notices(), "");
    EXPECT_EQ(Profile->Score, 500);
    EXPECT_EQ(Profile->CurrLevel->LevelSeconds, 5);

    // The newer copy damaged in its levels played: its damage is checked as any file's, and that
    // block comes from the older file.
    ResetPlayerNotices();
    std::string damaged = saves[5].at(progress);
    damaged[damaged.find("Levels{") + 2] ^= 1;
    plant(damaged);
    ReadPlayers();
    EXPECT_EQ(Profile->Score, 500);
    EXPECT_NE(Notices().find("ANN's backup copy held a newer save"), std::string::npos) << Notices();
    EXPECT_NE(Notices().find("From the save before: the levels played."), std::string::npos) << Notices();
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile(progress + ".bak.bad")), damaged);
}

TEST_F(TrustedSavesTest, ABlockWholeInEitherCopyIsKeptWhateverDamageLiesBeforeIt) {
    const auto saves = SaveAnnTwice();
    const std::vector<std::string>&before = saves[0], &last = saves[1];
    const auto saved = Snapshot();
    const std::string progress = "65-110-110.AppProfile";
    const std::string texts[2] = {saved.at(progress), saved.at(progress + ".bak")};
    const std::vector<std::pair<size_t, size_t>> spans[2] = {BlockSpans(texts[0]), BlockSpans(texts[1])};

    // One damage in each copy: a byte zeroed, a bit flipped or the copy cut. Half the pairs in the
    // same block of both copies, half anywhere.
    std::mt19937 random(53);
    int lostBefore = 0;
    for (int pair = 0; pair < 400; ++pair) {
        size_t at[2];
        int how[2];
        at[0] = std::uniform_int_distribution<size_t>(0, texts[0].size() - 1)(random);
        if (pair % 2 == 0) {
            size_t b = 0;
            while (b + 1 < spans[0].size() && at[0] >= spans[0][b].second) ++b;
            at[1] = std::uniform_int_distribution<size_t>(spans[1][b].first, spans[1][b].second - 1)(random);
        } else {
            at[1] = std::uniform_int_distribution<size_t>(0, texts[1].size() - 1)(random);
        }
        std::string damaged[2];
        for (int c = 0; c < 2; ++c) {
            how[c] = std::uniform_int_distribution<int>(0, 2)(random);
            damaged[c] = texts[c];
            if (how[c] == 0) damaged[c][at[c]] = '\0';
            if (how[c] == 1) damaged[c][at[c]] ^= static_cast<char>(1 << (pair % 7));
            if (how[c] == 2) damaged[c].resize(at[c]);
        }
        SCOPED_TRACE("file " + std::to_string(how[0]) + " at " + std::to_string(at[0]) + ", its .bak " +
                     std::to_string(how[1]) + " at " + std::to_string(at[1]));
        Restore(saved);
        testsupport::WriteFileBytes(ProfilesFile(progress), damaged[0]);
        testsupport::WriteFileBytes(ProfilesFile(progress + ".bak"), damaged[1]);
        ResetPlayerNotices();
        auto manager = ReadPlayers();
        ASSERT_EQ(manager->ProfilesList.size(), 2u);
        const std::vector<std::string> got = Blocks(*manager->ProfilesList[0]);
        // A block is whole in a copy when its damage lies outside the block's lines (a cut, when
        // the block ends before it).
        auto whole = [&](int c, size_t b) {
            return how[c] == 2 ? spans[c][b].second <= at[c] : at[c] < spans[c][b].first || at[c] >= spans[c][b].second;
        };
        bool asLast = true;
        for (size_t b = 0; b < got.size(); ++b) {
            asLast = asLast && got[b] == last[b];
            if (whole(0, b)) {
                EXPECT_EQ(got[b], last[b]) << "block " << b << " was whole in the file";
            } else if (whole(1, b)) {
                EXPECT_TRUE(got[b] == last[b] || got[b] == before[b]) << "block " << b << " was whole in the .bak";
                lostBefore += got[b] != last[b] && got[b] != before[b];
            }
        }
        if (!asLast) {
            EXPECT_FALSE(PendingPlayerNotices().empty()) << "a loss not told";
        }
    }
    EXPECT_EQ(lostBefore, 0);
}

TEST_F(TrustedSavesTest, NamesAreComparedAndSavedWithoutTheCharactersThatShowNothing) {
    auto writer = Writer({"Ann"});
    // A zero-width space, a joiner, a direction mark and a control character, at the ends and
    // inside: the same name.
    for (const char* name : {"\u200BAnn", "Ann\u200D", "A\u200Enn", "\u00A0Ann\t",
                             "\xC2\x85"
                             "Ann"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PlayerName(name), "Ann");
        EXPECT_TRUE(writer->isNameTaken(name, nullptr));
        EXPECT_EQ(writer->AddPlayer(name), 0);
    }
    EXPECT_FALSE(isPlayerNameCharacter(0x200B));
    EXPECT_FALSE(isPlayerNameCharacter(0xFEFF));
    EXPECT_TRUE(isPlayerNameCharacter(0x00C5));
    // Given such a name, a player is saved under the visible name.
    ASSERT_EQ(writer->AddPlayer("\u200BBo\u2060b"), 1);
    EXPECT_EQ(writer->CurrProfile->name, "Bob");
    writer->SaveAtEnd();
    EXPECT_EQ(FileType(ProfilesFile("66-111-98.AppProfile")), 1);
}

TEST_F(TrustedSavesTest, AGameThatMayNotWriteSaysNothingAtExitWhenNothingChanged) {
    // ANN with a board in play; BO with none on the disk (a fresh board, not played, is read).
    auto writer = Writer({"Ann", "Bo"});
    writer->ProfilesList[0]->CurrLevel = Board(10);
    writer->SaveAtEnd();
    auto reader = ReadPlayers();
    std::vector<std::string> dialogs;
    SetPlainDialog([&](const std::string&, const std::string& text) {
        dialogs.push_back(text);
        return true;
    });
    SetWriteFaultHook([](const std::string&, FileWrite) { return ENOLCK; });
    Control::isEnded = true;
    testing::internal::CaptureStdout();
    EXPECT_EQ(reader->SavePlayers(), 1);
    // A change is told as failed all the same.
    reader->CurrProfile->Score = 9;
    EXPECT_EQ(reader->SavePlayers(), 0);
    testing::internal::GetCapturedStdout();
    Control::isEnded = false;
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].find("Quiltora could not save your progress before closing"), 0u) << dialogs[0];
}

}  // namespace
