// The players' files: the index and each player's progress and level in progress, written by
// the profiles pop-up and read back at start-up.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>

#include "ProfileTestSupport.h"
#include "engine/data/BlockFile.h"
#include "game/progress/PlayerNames.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/SaveFiles.h"
#include "platform/Strings.h"

using namespace profiletest;

namespace {

class ProfileFilesTest : public ProfileTest {
protected:
    // A manager that has read the players, as after the loading screen's set-up.
    TProfileManagerPtr ReadPlayers() {
        auto manager = std::make_shared<TProfileManager>();
        manager->OnSetup();
        return manager;
    }

    // An index listing (Id, Name) pairs, the current player's Id first.
    void WriteIndex(const std::string& curr, const std::vector<std::pair<std::string, std::string>>& players) {
        std::string text = "Settings{\n\tCurrProfile = \"" + curr + "\"\n}\n";
        for (const auto& [id, name] : players)
            text += "Profile{\n\tId = \"" + id + "\"\n\tName = \"" + name + "\"\n}\n";
        testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"), text);
    }

    // A progress file's text without its save counter, which every save counts on.
    static std::string WithoutSaveCount(const std::string& text) {
        const size_t at = text.find("\tSaveCount = ");
        return at == std::string::npos ? text : text.substr(0, at) + text.substr(text.find('\n', at) + 1);
    }
};

TEST_F(ProfileFilesTest, FirstRunWritesTheStartPlayerThenAnIndexNamingIt) {
    DeleteDir(user.file("Profiles"));
    auto manager = ReadPlayers();
    ASSERT_EQ(manager->ProfilesList.size(), 1u);
    EXPECT_EQ(Profile, manager->CurrProfile);
    EXPECT_EQ(Profile->name, "PLAYER");
    EXPECT_EQ(Profile->Level, 0);  // nothing unlocked until the player starts

    const std::string id = Profile->FileName;
    auto index = LoadBlockFile(ProfilesFile("Profiles.dat"));
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), id);
    EXPECT_EQ(GetBFString(index, "Profile::Id"), id);
    EXPECT_EQ(GetBFString(index, "Profile::Name"), "PLAYER");
    auto progress = LoadBlockFile(ProfilesFile(id + ".AppProfile"));
    EXPECT_EQ(GetBFInt(progress, "Levels::i"), 0);
    EXPECT_EQ(GetBFString(progress, "Awards::AwardsList"), "");
    EXPECT_EQ(FileType(ProfilesFile(id + ".PACLEVEL")), 0);  // no level yet

    // The music rotation starts at the first track for the new current player.
    ASSERT_TRUE(Profile);
    EXPECT_EQ(Profile->CurrMusicNumber, 1);
}

TEST_F(ProfileFilesTest, AFullProfileWithALevelInProgressReadsBackAsItWasWritten) {
    AddCatalogues();
    auto ann = CreateNewProfile("Ann");
    ann->Level = 12;
    ann->Score = 4321;
    ann->CurrScreen = "GameScreen";
    ann->MapScreenAnimationShowed = ann->TutorialScreenShowed = ann->KingdomTutorialScreenShowed = 1;
    ann->CurrMusicNumber = 4;
    ann->MapY = -350;
    ann->LevelsWithoutMistakes = 5;
    ann->LevelsWithoutHint = 6;
    ann->LevelsWithHint = 7;
    ann->HintUsed = 8;
    ann->TilesUncovered = 3000;
    ann->TilesCrossed = 800;
    ann->CashSpend = 1500;
    ann->BuildingStage = 2;
    ann->Level_Unlock(11);
    ann->Level = 11;
    ann->Game_PassCurrLevel(2, 999);
    ann->Level = 12;
    ann->Game_PassCurrLevel(3, 1210);
    ann->Game_CountStars();
    for (int id : {5, 1, 9}) ann->Kingdom_AddObject(id);
    for (int id : {3, 7, 12}) ann->Awards.push_back(GetAwardById(id));
    auto level = SmallLevel();
    level->GetTile(1, 0, 0)->Show(0, 0);  // a right uncover
    level->GetTile(2, 3, 2)->Mark(0);     // a right cross
    level->GetTile(0, 3, 0)->Show(0, 0);  // a wrong uncover
    level->Mistakes = 1;
    level->LevelSeconds = 75;
    ann->CurrLevel = level;
    auto bob = CreateNewProfile("Bob");

    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    writer->ProfilesList = {ann, bob};
    writer->SetCurrProfile(bob);
    writer->SaveAtEnd();

    // The files carry the names and forms other versions of the game read.
    auto progress = LoadBlockFile(ProfilesFile("65-110-110.AppProfile"));
    EXPECT_EQ(GetBFString(progress, "Levels::Level2"), "12,1,0,3,1210,3000,800");
    EXPECT_EQ(GetBFInt(progress, "Stats::LevelWithoutHint"), 6);
    EXPECT_EQ(GetBFInt(progress, "Buildings::Object3"), 9);
    EXPECT_EQ(GetBFString(progress, "Awards::AwardsList"), "3 7 12");
    EXPECT_EQ(GetBFString(progress, "Data::Screen"), "GameScreen");
    auto index = LoadBlockFile(ProfilesFile("Profiles.dat"));
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "66-111-98");
    EXPECT_EQ(FileType(ProfilesFile("66-111-98.PACLEVEL")), 0);  // Bob has no level

    ResetProfileGlobals();
    auto reader = ReadPlayers();
    ASSERT_EQ(reader->ProfilesList.size(), 2u);
    EXPECT_EQ(Profile->name, "Bob");
    auto back = reader->ProfilesList[0];
    EXPECT_EQ(back->name, "Ann");
    EXPECT_EQ(back->FileName, "65-110-110");
    for (auto [got, want] : std::vector<std::pair<int, int>>{{back->Level, 12},
                                                             {back->Score, 4321},
                                                             {back->Stars, 5},
                                                             {back->MapScreenAnimationShowed, 1},
                                                             {back->TutorialScreenShowed, 1},
                                                             {back->KingdomTutorialScreenShowed, 1},
                                                             {back->CurrMusicNumber, 4},
                                                             {back->MapY, -350},
                                                             {back->LevelsWithoutMistakes, 5},
                                                             {back->LevelsWithoutHint, 6},
                                                             {back->LevelsWithHint, 7},
                                                             {back->HintUsed, 8},
                                                             {back->TilesUncovered, 3000},
                                                             {back->TilesCrossed, 800},
                                                             {back->CashSpend, 1500},
                                                             {back->BuildingStage, 2}})
        EXPECT_EQ(got, want);
    EXPECT_EQ(back->CurrScreen, "GameScreen");
    ASSERT_EQ(back->Levels.size(), 2u);
    EXPECT_EQ(back->Levels[0]->ToString(), ann->Levels[0]->ToString());
    EXPECT_EQ(back->Levels[1]->ToString(), ann->Levels[1]->ToString());
    EXPECT_EQ(back->Buildings, (std::vector<int>{5, 1, 9}));
    ASSERT_EQ(back->Awards.size(), 3u);
    EXPECT_EQ(back->Awards[1], GetAwardById(7));

    auto resumed = std::dynamic_pointer_cast<TPACLevel>(back->CurrLevel);
    ASSERT_NE(resumed, nullptr);
    EXPECT_EQ(resumed->Mistakes, 1);
    EXPECT_EQ(resumed->LevelSeconds, 75);
    for (int c = 0; c < 3; ++c)
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 3; ++y) {
                SCOPED_TRACE(testing::Message() << c << "," << x << "," << y);
                EXPECT_EQ(resumed->GetTile(c, x, y)->isCovered, level->GetTile(c, x, y)->isCovered);
                EXPECT_EQ(resumed->GetTile(c, x, y)->isError, level->GetTile(c, x, y)->isError);
            }
    // Bob had no level in progress: he gets the level of his number.
    EXPECT_EQ(reader->ProfilesList[1]->Level, 1);
    ASSERT_NE(reader->ProfilesList[1]->CurrLevel, nullptr);
    EXPECT_EQ(reader->ProfilesList[1]->CurrLevel->Score, 100);

    // Continue plays the level on from where it stopped.
    back->Game_Continue();
    EXPECT_EQ(Game->CurrLevel, resumed);
}

TEST_F(ProfileFilesTest, ValuesOutOfTheirRangeAreBroughtInsideOnLoading) {
    AddCatalogues();
    struct Case {
        const char* data;
        int level, music;
    };
    const Case cases[] = {
        {"Level = 250\n\tCurrMusic = 40", 100, 1},
        {"Level = 0\n\tCurrMusic = 0", 1, 0},  // 0 is an old profile's "no track yet"
        {"Level = -5\n\tCurrMusic = -1", 1, 1},
        {"Name = \"Ann\"", 1, 0},  // missing entries
        {"Level = 37.9\n\tCurrMusic = 6", 37, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        testsupport::WriteFileBytes(ProfilesFile("p.AppProfile"),
                                    std::string("Data{\n\t") + c.data + "\n}\n" +
                                        "Levels{\n\ti = 1000000\n\tLevel1 = \"3,1,1,7,10,0,0\"\n"
                                        "\tLevel2 = \"4,1,1,-1,10,0,0\"\n}\n"
                                        "Buildings{\n\ti = 3\n\tBuildingStage = 9\n\tObject1 = 4\n"
                                        "\tObject2 = 99\n\tObject3 = 2\n}\n"
                                        "Awards{\n\tAwardsList = \"4  9 77\"\n}\n");
        TProfile p;
        testing::internal::CaptureStdout();
        EXPECT_EQ(p.Load(ProfilesFile("p.AppProfile")), 1);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(p.Level, c.level);
        EXPECT_EQ(p.CurrMusicNumber, c.music);
        EXPECT_EQ(p.BuildingStage, 6);
        // A record count beyond the records there reads the records there.
        ASSERT_EQ(p.Levels.size(), 2u);
        EXPECT_EQ(p.Game_LevelStarsCount(3), 3);
        EXPECT_EQ(p.Game_LevelStarsCount(4), 0);
        // Building ids are kept as read (the kingdom judges them); award ids that name no award
        // are dropped.
        EXPECT_EQ(p.Buildings, (std::vector<int>{4, 99, 2}));
        ASSERT_EQ(p.Awards.size(), 2u);
        EXPECT_EQ(p.Awards[1]->id, 9);
    }

    testsupport::WriteFileBytes(ProfilesFile("p.AppProfile"),
                                "Data{\n\tBuildingStage = 0\n}\nBuildings{\n\tBuildingStage = -3\n}\n");
    TProfile low;
    testing::internal::CaptureStdout();
    low.Load(ProfilesFile("p.AppProfile"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(low.BuildingStage, 0);
}

TEST_F(ProfileFilesTest, IdsAreKeptWhenThereIsNoCatalogueToJudgeThem) {
    testsupport::WriteFileBytes(ProfilesFile("p.AppProfile"),
                                "Data{\n\tName = \"Ann\"\n}\nBuildings{\n\ti = 2\n\tObject1 = 4\n\tObject2 = 7\n}\n"
                                "Awards{\n\tAwardsList = \"3 5\"\n}\n");
    TProfile p;
    testing::internal::CaptureStdout();
    p.Load(ProfilesFile("p.AppProfile"));
    p.Save(ProfilesFile("p.AppProfile"));
    testing::internal::GetCapturedStdout();
    auto saved = LoadBlockFile(ProfilesFile("p.AppProfile"));
    EXPECT_EQ(GetBFInt(saved, "Buildings::i"), 2);
    EXPECT_EQ(GetBFInt(saved, "Buildings::Object2"), 7);
    EXPECT_EQ(GetBFString(saved, "Awards::AwardsList"), "3 5");
}

TEST_F(ProfileFilesTest, WhatReadingChangedIsWrittenBackWholeAtTheFirstSave) {
    // An earlier build's files (no checks, no save numbers, no level in progress), with a level
    // beyond the last and ids that name no building or award.
    AddCatalogues();
    SetKnownBuildingIds({1, 2, 3, 4});
    WriteIndex("65-110-110", {{"65-110-110", "Ann"}});
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"),
                                "Data{\n\tName = \"Ann\"\n\tLevel = 250\n}\nBuildings{\n\ti = 3\n\tObject1 = 4\n"
                                "\tObject2 = 99\n\tObject3 = 2\n}\nAwards{\n\tAwardsList = \"4 77 9\"\n}\n");
    const auto before = Snapshot();
    testing::internal::CaptureStdout();
    auto manager = ReadPlayers();
    testing::internal::GetCapturedStdout();
    // Read as far as it goes, ids that name nothing dropped; nothing is written yet (nothing was
    // damaged).
    EXPECT_EQ(Profile->Level, 100);
    EXPECT_EQ(Profile->Buildings, (std::vector<int>{4, 2}));
    ASSERT_EQ(Profile->Awards.size(), 2u);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(PendingPlayerNotices().empty());

    // The first save writes every file back whole, as this build writes it: checked and
    // numbered, with what was read, and the level in progress the player has.
    testing::internal::CaptureStdout();
    EXPECT_EQ(manager->SavePlayers(), 1);
    testing::internal::GetCapturedStdout();
    for (const char* file : {"Profiles.dat", "65-110-110.AppProfile", "65-110-110.PACLEVEL"}) {
        const CheckedFile read = ReadCheckedFile(ProfilesFile(file));
        EXPECT_TRUE(read.good() && read.checked) << file;
    }
    auto saved = LoadBlockFile(ProfilesFile("65-110-110.AppProfile"));
    EXPECT_EQ(GetBFInt(saved, "Data::Level"), 100);
    EXPECT_EQ(GetBFInt(saved, "Data::SaveCount"), 1);
    EXPECT_EQ(GetBFInt(saved, "Buildings::i"), 2);
    EXPECT_EQ(GetBFString(saved, "Awards::AwardsList"), "4 9");
    EXPECT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("Profiles.dat")), "Settings::SaveCount"), 1);

    // Then the files are as a save writes them: the next save writes nothing, the next start
    // reads the same.
    const auto written = Snapshot();
    EXPECT_EQ(manager->SavePlayers(), 1);
    EXPECT_EQ(Snapshot(), written);
    ResetProfileGlobals();
    SetKnownBuildingIds({1, 2, 3, 4});
    testing::internal::CaptureStdout();
    auto again = ReadPlayers();
    again->SavePlayers();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Profile->Buildings, (std::vector<int>{4, 2}));
    EXPECT_EQ(Snapshot(), written);
}

TEST_F(ProfileFilesTest, AMissingOrDamagedProgressFileIsSalvagedKeptAsideAndTold) {
    struct Case {
        const char* what;
        const char* bytes;  // null: no file
        int level;          // what is read back
        const char* told;   // a piece of the message to the player
    };
    const Case cases[] = {
        {"missing", nullptr, 1, "No save was found for ANN: ANN starts again from level 1."},
        // The last line, cut inside its value, is not trusted; the lines before it are kept.
        {"cut short", "Data{\n\tName = \"Ann\"\n\tLevel = 40\n\tScore = 90", 40,
         "ANN's save was damaged. Partly kept: the level and score. Lost: the levels played"},
        {"empty", "", 1, "could not be read: ANN starts again from level 1."},
        {"garbage", "\x01\x02\xff\xfe}}{{=,,\"\n\x7f", 1, "could not be read"},
        {"another file", "Settings{\n\tCurrProfile = \"x\"\n}\n", 1, "could not be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& name : ReadDir(user.file("Profiles")))
            if (FileType(ProfilesFile(name)) == 1) DeleteFile(ProfilesFile(name));
        ResetPlayerNotices();
        WriteIndex("65-110-110", {{"65-110-110", "Ann"}});
        if (c.bytes) testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"), c.bytes);

        testing::internal::CaptureStdout();
        auto manager = ReadPlayers();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
        ASSERT_EQ(manager->ProfilesList.size(), 1u);
        EXPECT_EQ(Profile->name, "Ann");
        EXPECT_EQ(Profile->Level, c.level);
        EXPECT_EQ(Profile->Score, 0);
        EXPECT_EQ(Profile->CurrScreen, "");
        // Told on screen once a screen is up (none is: the message waits).
        ASSERT_EQ(PendingPlayerNotices().size(), 1u);
        EXPECT_NE(PendingPlayerNotices()[0].find(c.told), std::string::npos) << PendingPlayerNotices()[0];

        // The repair was written at once: a kill now, before any save, and the next start reads
        // it as it was repaired, with nothing more to tell.
        ResetPlayerNotices();
        testing::internal::CaptureStdout();
        manager = ReadPlayers();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Profile->Level, c.level);
        EXPECT_TRUE(PendingPlayerNotices().empty()) << PendingPlayerNotices()[0];

        // The damaged file is kept as it was and survives the next save.
        testing::internal::CaptureStdout();
        manager->SaveAtEnd();
        testing::internal::GetCapturedStdout();
        if (c.bytes) {
            EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile.bad")), c.bytes);
        } else {
            EXPECT_EQ(FileType(ProfilesFile("65-110-110.AppProfile.bad")), 0);
        }
        bool whole = false;
        auto saved = LoadBlockFileChecked(ProfilesFile("65-110-110.AppProfile"), whole);
        EXPECT_TRUE(whole);
        EXPECT_EQ(GetBFInt(saved, "Data::Level"), c.level);
    }

    // A second damaged file does not replace the first one kept aside.
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"), "Data{");
    testing::internal::CaptureStdout();
    ReadPlayers();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile.bad")), cases[4].bytes);
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile.bad2")), "Data{");
}

TEST_F(ProfileFilesTest, ADamagedLevelInProgressIsKeptAsideAndTheLevelStartsAfresh) {
    WriteIndex("65-110-110", {{"65-110-110", "Ann"}});
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"),
                                "Data{\n\tName = \"Ann\"\n\tLevel = 2\n\tScreen = \"GameScreen\"\n}\n");
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.PACLEVEL"), "Level{\n\tData{\n\t\tDims = 0, 0\n");
    testing::internal::CaptureStdout();
    ReadPlayers();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    ASSERT_NE(Profile->CurrLevel, nullptr);
    EXPECT_EQ(Profile->CurrLevel->Score, 200);
    EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("65-110-110.PACLEVEL.bad")),
              "Level{\n\tData{\n\t\tDims = 0, 0\n");
}

TEST_F(ProfileFilesTest, TheIndexsIdIsNeverUsedAsAPath) {
    // An edited index points Ann's Id out of the folder; her files are still found by her name.
    testsupport::WriteFileBytes(user.file("escape.AppProfile"), "Data{\n\tName = \"Eve\"\n\tScore = 666\n}\n");
    WriteIndex("../escape", {{"../escape", "Ann"}});
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"), "Data{\n\tName = \"Ann\"\n\tScore = 77\n}\n");
    testing::internal::CaptureStdout();
    auto manager = ReadPlayers();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Profile->name, "Ann");
    EXPECT_EQ(Profile->Score, 77);

    Profile->Score = 78;
    manager->SaveAtEnd();
    EXPECT_EQ(testsupport::ReadFileBytes(user.file("escape.AppProfile")),
              "Data{\n\tName = \"Eve\"\n\tScore = 666\n}\n");
    auto index = LoadBlockFile(ProfilesFile("Profiles.dat"));
    EXPECT_EQ(GetBFString(index, "Profile::Id"), "65-110-110");
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "65-110-110");
    EXPECT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("65-110-110.AppProfile")), "Data::Score"), 78);
}

TEST_F(ProfileFilesTest, CurrentPlayerAndRenamesFollowTheFiles) {
    WriteIndex("nobody", {{"65-110-110", "Ann"}, {"66-111-98", "Bob"}});
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"), "Data{\n\tName = \"Ann\"\n}\n");
    // Bob's file calls him Rob: he is Rob, under Bob's Id until the next save.
    testsupport::WriteFileBytes(ProfilesFile("66-111-98.AppProfile"), "Data{\n\tName = \"Rob\"\n\tScore = 5\n}\n");
    testing::internal::CaptureStdout();
    auto manager = ReadPlayers();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Profile, manager->ProfilesList[0]);  // "CurrProfile" names no one: the first player
    auto rob = manager->ProfilesList[1];
    EXPECT_EQ(rob->name, "Rob");
    EXPECT_EQ(rob->FileName, "66-111-98");

    manager->SetCurrProfileById("66-111-98");
    EXPECT_EQ(Profile, rob);
    manager->SaveAtEnd();
    EXPECT_EQ(GetBFInt(LoadBlockFile(ProfilesFile("82-111-98.AppProfile")), "Data::Score"), 5);
    auto index = LoadBlockFile(ProfilesFile("Profiles.dat"));
    EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "82-111-98");
    // The files under the old Id go where a deleted player's go, once the list names the new one.
    EXPECT_EQ(FileType(ProfilesFile("66-111-98.AppProfile")), 0);
    EXPECT_EQ(FileType(ProfilesFile("Deleted/66-111-98.AppProfile")), 1);

    ResetProfileGlobals();
    testing::internal::CaptureStdout();
    ReadPlayers();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Profile->name, "Rob");
}

TEST_F(ProfileFilesTest, LeavingBeforeThePlayersWereReadWritesNothing) {
    auto ann = CreateNewProfile("Ann");
    ann->Level = 7;
    ann->CurrLevel = SmallLevel();
    auto first = std::make_shared<TProfileManager>();
    first->isProfilesRead = 1;
    first->ProfilesList = {ann};
    first->SetCurrProfile(ann);
    first->SaveAtEnd();
    const auto before = Snapshot();
    ASSERT_EQ(before.size(), 3u);

    // Quitting during loading: the pop-up is on the save-at-end list but has read nothing.
    ResetProfileGlobals();
    Profiles = CreateProfileManager();
    ASSERT_FALSE(Control::ToSaveAtEndList.empty());
    for (const auto& obj : Control::ToSaveAtEndList) obj->SaveAtEnd();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProfileFilesTest, ASaveCutShortNeverLosesThePreviousFiles) {
    auto ann = CreateNewProfile("Ann");
    ann->Score = 500;
    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    writer->ProfilesList = {ann};
    writer->SetCurrProfile(ann);
    writer->SaveAtEnd();
    const auto before = Snapshot();

    // A crash in the middle of writing left a partial temporary file behind.
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile.tmp-12345"), "Data{\n\tName = \"Ann\"\n\tSco");
    ResetProfileGlobals();
    testing::internal::CaptureStdout();
    auto reader = ReadPlayers();
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    EXPECT_EQ(Profile->Score, 500);

    // A write that fails (here the temporary file cannot be made) changes no file: neither the
    // progress file nor the index, which would otherwise name progress that is not there.
    const std::string tmp = ProfilesFile("65-110-110.AppProfile.tmp-" + std::to_string(::getpid()));
    ASSERT_TRUE(CreateDir(tmp));
    Profile->Score = 900;
    testing::internal::CaptureStdout();
    reader->SaveAtEnd();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);
    DeleteDir(tmp);
    auto after = Snapshot();
    for (const char* name : {"65-110-110.AppProfile", "Profiles.dat"}) EXPECT_EQ(after[name], before.at(name)) << name;
}

TEST_F(ProfileFilesTest, ALostLevelIsNeverSavedAsPlayInProgress) {
    auto ann = CreateNewProfile("Ann");
    ann->Level = 3;
    ann->CurrScreen = "GameScreen";
    auto level = SmallLevel();
    level->Mistakes = 5;
    ann->CurrLevel = level;
    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    writer->ProfilesList = {ann};
    writer->SetCurrProfile(ann);
    writer->SaveAtEnd();
    ASSERT_EQ(FileType(ProfilesFile("65-110-110.PACLEVEL")), 1);

    // The sixth mistake loses the level on the game screen; the player quits on the lose pop-up.
    Game->SetData(level);
    Game->AddMistake();
    EXPECT_EQ(level->isLevelLost, 1);
    writer->SaveAtEnd();
    EXPECT_EQ(FileType(ProfilesFile("65-110-110.PACLEVEL")), 0);

    ResetProfileGlobals();
    auto reader = ReadPlayers();
    auto fresh = std::dynamic_pointer_cast<TPACLevel>(Profile->CurrLevel);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->Mistakes, 0);
    EXPECT_EQ(fresh->Score, 300);
    Profile->Game_Continue();
    EXPECT_EQ(Game->CurrLevel, fresh);
}

TEST_F(ProfileFilesTest, AMissingOrDamagedIndexIsRebuiltFromThePlayersFiles) {
    AddCatalogues();
    // Two players with progress, a file that cannot be read, and what a crash leaves behind.
    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    for (const char* name : {"Bob", "Ann"}) {
        auto p = CreateNewProfile(name);
        p->Level = 4;
        p->Score = name[0] == 'A' ? 700 : 300;
        p->Level_Unlock(4);
        p->CurrScreen = "Stages";
        writer->ProfilesList.push_back(p);
    }
    writer->SetCurrProfile(writer->ProfilesList[0]);
    writer->SaveAtEnd();
    // (Nothing of Eve's file reads: its only line is cut.)
    const std::string cut = "Data{\n\tName = \"Ev";
    testsupport::WriteFileBytes(ProfilesFile("69-118-101.AppProfile"), cut);
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile.tmp-999"), "Data{\n\tName = \"Ann\"\n");
    const auto ann = testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile"));

    const struct {
        const char* what;
        const char* index;  // null: no index
    } cases[] = {
        {"missing", nullptr},
        {"cut short", "Settings{\n\tCurrProfile = \"65-110-110\"\n}\nProfile{\n\tId = \"65-1"},
        {"another file", "Data{\n\tName = \"Ann\"\n}\n"},
        {"listing nobody", "Settings{\n}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFile(ProfilesFile("Profiles.dat"));
        DeleteFile(ProfilesFile("Profiles.dat.bad"));
        if (c.index) testsupport::WriteFileBytes(ProfilesFile("Profiles.dat"), c.index);
        ResetProfileGlobals();
        testing::internal::CaptureStdout();
        auto manager = ReadPlayers();
        const std::string out = testing::internal::GetCapturedStdout();
        // Reported, with the players found, and told on screen.
        EXPECT_NE(out.find("rebuilt from 2"), std::string::npos) << out;
        const auto& told = PendingPlayerNotices();
        EXPECT_NE(std::find(told.begin(), told.end(),
                            "The list of players was lost or damaged, and was made again from the players' saves: "
                            "ANN, BOB."),
                  told.end());
        ASSERT_EQ(manager->ProfilesList.size(), 2u);
        EXPECT_EQ(manager->ProfilesList[0]->name, "Ann");
        EXPECT_EQ(manager->ProfilesList[1]->name, "Bob");
        EXPECT_EQ(Profile, manager->ProfilesList[0]);
        EXPECT_EQ(Profile->Score, 700);
        EXPECT_EQ(Profile->CurrScreen, "Stages");
        EXPECT_EQ(Profile->isLevelAvailableToPlay(4), 1);
        // A damaged index is kept as it was.
        if (c.index && std::string(c.what) != "listing nobody") {
            EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("Profiles.dat.bad")), c.index);
        }

        // The first save writes the players back (their saves counted on) and a list naming
        // them both.
        manager->SaveAtEnd();
        EXPECT_EQ(WithoutSaveCount(testsupport::ReadFileBytes(ProfilesFile("65-110-110.AppProfile"))),
                  WithoutSaveCount(ann));
        auto index = LoadBlockFile(ProfilesFile("Profiles.dat"));
        ASSERT_EQ(GetBlockFilesList(index, "Profile").size(), 2u);
        EXPECT_EQ(GetBFString(index, "Settings::CurrProfile"), "65-110-110");
        // Eve's file could not be read: it was set aside the first time and never written over.
        EXPECT_EQ(testsupport::ReadFileBytes(ProfilesFile("69-118-101.AppProfile.bad")), cut);
        EXPECT_EQ(FileType(ProfilesFile("69-118-101.AppProfile")), 0);
    }
}

TEST_F(ProfileFilesTest, NamesWithTheFilesOwnSyntaxReadBackAsTheyWere) {
    const std::vector<std::string> names{"A\"B", "{\xc3\x89}", "K=V", "A::B", "\"}\n{=", "\\Q\\\""};
    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    for (const auto& name : names) {
        auto p = CreateNewProfile(name);
        p->Score = static_cast<int>(name.size());
        writer->ProfilesList.push_back(p);
    }
    writer->SetCurrProfile(writer->ProfilesList[3]);
    writer->SaveAtEnd();

    ResetProfileGlobals();
    testing::internal::CaptureStdout();
    auto reader = ReadPlayers();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(out.find("WARNING"), std::string::npos) << out;
    ASSERT_EQ(reader->ProfilesList.size(), names.size());
    for (size_t k = 0; k < names.size(); ++k) {
        SCOPED_TRACE(names[k]);
        EXPECT_EQ(reader->ProfilesList[k]->name, PlayerName(names[k]));  // (the line feed, which shows nothing, goes)
        EXPECT_EQ(reader->ProfilesList[k]->Score, static_cast<int>(names[k].size()));
    }
    EXPECT_EQ(Profile->name, "A::B");
}

TEST_F(ProfileFilesTest, AProgressFileNamingAnotherPlayerNeverTakesThatPlayersFile) {
    // Found by fuzzing the players' files: Ann's progress file claims the name "Bo"; read as Bo,
    // Ann's progress went to Bo's file at the next save, and one of the two was lost.
    WriteIndex("65-110-110", {{"65-110-110", "Ann"}, {"66-111", "Bo"}});
    testsupport::WriteFileBytes(ProfilesFile("65-110-110.AppProfile"), "Data{\n\tName = \"Bo\"\n\tScore = 950\n}\n");
    testsupport::WriteFileBytes(ProfilesFile("66-111.AppProfile"), "Data{\n\tName = \"Bo\"\n\tScore = 10\n}\n");
    testing::internal::CaptureStdout();
    auto manager = ReadPlayers();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("names its player 'Bo', another player's name"), std::string::npos) << out;
    ASSERT_EQ(manager->ProfilesList.size(), 2u);
    EXPECT_EQ(manager->ProfilesList[0]->name, "Ann");
    manager->SaveAtEnd();

    ResetProfileGlobals();
    auto again = ReadPlayers();
    ASSERT_EQ(again->ProfilesList.size(), 2u);
    EXPECT_EQ(again->ProfilesList[0]->name, "Ann");
    EXPECT_EQ(again->ProfilesList[0]->Score, 950);
    EXPECT_EQ(again->ProfilesList[1]->name, "Bo");
    EXPECT_EQ(again->ProfilesList[1]->Score, 10);
}

TEST_F(ProfileFilesTest, AKillDuringASaveNeverLosesAPlayer) {
    // Four players with long records and a level in progress each, saved over and over by a
    // second process that is killed at random moments; after each kill every file reads whole
    // and every player has a level in progress.
    auto writer = std::make_shared<TProfileManager>();
    writer->isProfilesRead = 1;
    for (const char* name : {"Ann", "Bob", "Cid", "Dee"}) {
        auto p = CreateNewProfile(name);
        p->Level = 2;
        p->CurrScreen = "GameScreen";
        for (int id = 1; id <= 100; ++id) p->Level_Unlock(id);
        p->CurrLevel = SmallLevel();
        writer->ProfilesList.push_back(p);
    }
    writer->SetCurrProfile(writer->ProfilesList[2]);
    writer->SaveAtEnd();

    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // (As a game does: the players read first, their save counters with them.)
            auto game = ReadPlayers();
            for (int score = 1;; ++score) {
                for (const auto& p : game->ProfilesList) p->Score = score;
                game->SaveAtEnd();
            }
        }
        usleep(std::uniform_int_distribution<int>(2000, 60000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        ResetProfileGlobals();
        testing::internal::CaptureStdout();
        auto reader = ReadPlayers();
        const std::string out = testing::internal::GetCapturedStdout();
        // A kill between a player's level in progress and progress file is reported (the level
        // in progress of the save cut short is set aside); nothing else is.
        for (const std::string& line : SplitLines(out)) {
            if (line.find("ERROR") != std::string::npos) {
                EXPECT_NE(line.find(".PACLEVEL"), std::string::npos) << line;
            }
        }
        ASSERT_EQ(reader->ProfilesList.size(), 4u);
        EXPECT_EQ(Profile->name, "Cid");
        for (const auto& p : reader->ProfilesList) {
            SCOPED_TRACE(p->name);
            bool whole = false;
            LoadBlockFileChecked(ProfilesFile(p->FileName + ".AppProfile"), whole);
            EXPECT_TRUE(whole);
            EXPECT_EQ(p->Levels.size(), 100u);
            EXPECT_EQ(p->CurrScreen, "GameScreen");
            ASSERT_NE(p->CurrLevel, nullptr);
            EXPECT_EQ(p->CurrLevel->Score, SmallLevel()->Score);
        }
    }
}

}  // namespace
