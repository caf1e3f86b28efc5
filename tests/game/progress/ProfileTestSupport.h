// Shared fixture of the profile tests: a per-user folder and a data folder of their own, with a
// few small level files, the play-field tables, and the screens the game flow switches to.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/SoundManager.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Control.h"
#include "engine/system/Hook.h"
#include "engine/system/Paths.h"
#include "game/kingdom/Kingdom.h"
#include "game/progress/Awards.h"
#include "game/progress/Profile.h"
#include "game/progress/ProgressFile.h"
#include "game/levels/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/puzzle/PuzzleTestSupport.h"
#include "game/shell/Options.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/StagesScreen.h"
#include "game/startup/AppInit.h"
#include "platform/Files.h"
#include "support/TestSupport.h"

namespace profiletest {

// The picture of every level the fixture writes: three colours on a 4 x 3 grid.
inline std::shared_ptr<TPACLevel> SmallLevel() { return puzzletest::MakeLevel({"1.2.", "3311", ".2.."}, {3, 1, 2}, 1); }

// A player's progress block by block, as the progress file writes it (but its save counter,
// which every save counts on).
inline std::vector<std::string> Blocks(TProfile& p) {
    std::vector<std::string> blocks;
    const int count = std::exchange(p.SaveCount, 0);
    for (const ProgressBlockInfo& b : ProgressBlocksTable()) {
        auto root = CreateBlockFile("");
        WriteProgressBlock(p, root, b.name);
        blocks.push_back(BlockFileToText(root));
    }
    p.SaveCount = count;
    return blocks;
}

class ProfileTest : public puzzletest::PuzzleTest {
protected:
    // (In memory: the profile tests write thousands of files, each flushed to the disk.)
    testsupport::TempDir user{testsupport::TempDir::InMemory{}};
    testsupport::TempDir data;
    std::string oldBDir, oldAppDataFolder;
    std::shared_ptr<TAppScreen> stages, kingdom;
    void SetUp() override {
        PuzzleTest::SetUp();
        WireHooks();
        oldBDir = bDir;
        oldAppDataFolder = AppDataFolder;
        bDir = data.path() + "/";
        AppDataFolder = user.path();
        CreateDir(user.file("Profiles"));
        CreateDir(data.file("Game/Levels/Picross"));
        for (int n : {1, 2, 3, 100}) WriteLevelFile(n);

        Control::Reset();
        Game = CreateMainGame(CreateShellNavigator());
        StagesScreen = CreateStagesScreen();
        stages = StagesScreen;
        Kingdom = CreateKingdomScreen();
        kingdom = Kingdom;
    }
    void TearDown() override {
        Control::Reset();
        OptionsSettings::Reset();
        UnsetAllHooks();
        Game = nullptr;
        StagesScreen = nullptr;
        Kingdom = nullptr;
        Profiles = nullptr;
        ResetProfileGlobals();
        AwardsList.clear();
        bDir = oldBDir;
        AppDataFolder = oldAppDataFolder;
        PuzzleTest::TearDown();
    }

    // The catalogue that a progress file's award ids refer to: the 18 awards.
    void AddCatalogues() {
        for (int id = 1; id <= 18; ++id) {
            auto a = std::make_shared<TAward>();
            a->id = id;
            AwardsList.push_back(a);
        }
    }

    void WriteLevelFile(int n) {
        auto level = SmallLevel();
        level->Score = 100 * n;  // tells the levels apart
        ASSERT_TRUE(SavePacLevel(level, data.file("Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel"), 1));
    }

    std::string ProfilesFile(const std::string& name) const { return user.file("Profiles/" + name); }

    // Every file of the profiles folder with its bytes; and the folder made to hold just those.
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
};

}  // namespace profiletest
