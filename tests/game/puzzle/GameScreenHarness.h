// The game screen in-process on data/ (the common ground is support/ScreenTest.h): the play-field
// tables, the game screen loaded and set up, a level handed over and the screen entered.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/SoundManager.h"
#include "engine/screen/Control.h"
#include "game/progress/Profile.h"
#include "game/puzzle/FlyHints.h"
#include "game/puzzle/FlyingStars.h"
#include "game/puzzle/FlyingTiles.h"
#include "game/puzzle/GamePanel.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/PlayFieldTables.h"
#include "engine/system/Hook.h"
#include "game/levels/PuzzleGlobals.h"
#include "game/levels/Tile.h"
#include "game/shell/Help.h"
#include "game/shell/LevelSummary.h"
#include "game/shell/LoseScreen.h"
#include "game/startup/AppInit.h"
#include "platform/Input.h"
#include "platform/Random.h"
#include "support/ScreenTest.h"

namespace gamescreen {

inline std::string LevelFile(int n) {
    return testsupport::SourceDir() + "/data/Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel";
}

class GameScreenTest : public testsupport::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ResetRnd();
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        ResetPlayFieldTables();
        ResetPuzzleGlobals();
        WireHooks();
        GamePanel::Reset();
        TSpecialLoads().Setup();
        Game = CreateMainGame(CreateShellNavigator());
        Game->Load(nullptr, nullptr);
        Game->SetupAssets();
        Game->Setup();
        // The screens the game screen hands over to (registered, not loaded: they show nothing).
        LevelSummary = CreateLevelSummary();
        LoseScreen = CreateLoseScreen();
        HelpScreen = CreateHelpScreen();
    }

    void TearDown() override {
        ClearFlyingTiles();
        ClearFlyHints();
        ClearFlyingStars();
        GamePanel::Reset();
        Game = nullptr;
        LevelSummary = nullptr;
        LoseScreen = nullptr;
        HelpScreen = nullptr;
        Profile = nullptr;
        Control::Reset();
        UnsetAllHooks();
        ResetPuzzleGlobals();
        ResetPlayFieldTables();
        AppSoundManager::Reset();
        ScreenTest::TearDown();
    }

    // Hands the level to the screen and enters it, as the profile does.
    std::shared_ptr<TPACLevel> Play(const std::shared_ptr<TPACLevel>& level) {
        Game->SetData(level);
        SetAppScreen(Game);
        return level;
    }
    std::shared_ptr<TPACLevel> Play(int n) { return Play(LoadPacLevel(LevelFile(n))); }

    // A level made in memory: one text row per grid row, '.' an empty cell and '1' to '3' a cell
    // of the first, second or third colour (palette ids 1, 6 and 8: red, sky and navy).
    static std::shared_ptr<TPACLevel> MakeLevel(const std::vector<std::string>& rows, int size = 8,
                                                std::vector<int> colours = {1, 6, 8}) {
        auto level = std::make_shared<TPACLevel>();
        level->Rows = static_cast<int>(rows.size());
        level->Cols = static_cast<int>(rows[0].size());
        level->Size = size;
        int used = 1;
        for (const auto& row : rows)
            for (char c : row)
                if (c >= '1' && c <= '3') used = std::max(used, c - '0');
        colours.resize(used);
        level->ColorArr = colours;
        level->Colors = used;
        level->ColorDone.assign(used, 0);
        level->InitArray();
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols; ++x)
                if (rows[y][x] != '.') {
                    const int layer = rows[y][x] - '1';
                    level->Tile(layer, x, y)->isTile = level->ColorArr[layer];
                }
        level->InitAll();
        level->Center();
        return level;
    }

    // Frames until the opening fly-in has landed and play begins.
    void UntilPlay() {
        for (int i = 0; i < 2000 && Game->CurrState != 0; ++i) Frame();
        ASSERT_EQ(Game->CurrState, 0);
    }

    void MoveToCell(const TPACLevel& level, int x, int y) {
        auto t = level.Tile.At(0, x, y);
        ASSERT_TRUE(t);
        MoveTo(t->DrawX, t->DrawY);
    }
    void Down(int button) { InjectMouseButton(button, true); }
    void Up(int button) { InjectMouseButton(button, false); }

    // Press on one cell and drag to another along the frames, the button still held.
    void Hold(const TPACLevel& level, int x1, int y1, int x2, int y2, int button) {
        MoveToCell(level, x1, y1);
        Frame();
        Down(button);
        Frame();
        MoveToCell(level, x2, y2);
        Frame();
    }
    // A move: Hold, then release.
    void Drag(const TPACLevel& level, int x1, int y1, int x2, int y2, int button) {
        Hold(level, x1, y1, x2, y2, button);
        Up(button);
        Frame();
    }
};

}  // namespace gamescreen
