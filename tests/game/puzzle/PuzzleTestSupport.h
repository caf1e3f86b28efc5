// Shared fixtures of the puzzle tests: the play-field tables, levels drawn as text, and a
// controllable clock.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/data/ValueTypes.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Mouse.h"
#include "game/levels/BoardView.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/PuzzleGlobals.h"
#include "game/levels/Tile.h"
#include "game/puzzle/FlyHints.h"
#include "platform/Clock.h"

namespace puzzletest {

inline int& FakeClockMs() {
    static int ms = 0;
    return ms;
}
inline int32_t FakeClock() { return FakeClockMs(); }

// Moves the application clock on by ms and stores it as the new frame's time.
inline void AdvanceClock(int ms) {
    FakeClockMs() += ms;
    UpdateAppMillisecs();
}

// The board the tiles of a test are played on: the look of a board nobody plays (the hover's
// alpha of the game screen), and what the tiles report, counted.
class TTestBoard : public TBoardView {
public:
    int mistakes = 0;
    int rightSounds = 0, wrongSounds = 0;
    std::vector<std::pair<int, int>> charges;

    float BoardOverAlpha() override { return 0.15f; }
    float BoardNumbersAlpha() override { return 1.0f; }
    bool BoardHoveredCell(int&, int&) override { return false; }
    std::shared_ptr<TRGB> BoardColour() override { return nullptr; }
    int BoardLayer() override { return 0; }
    bool BoardColourTooDark(const TRGB&) override { return false; }
    bool BoardColourSensitive() override { return false; }
    void BoardMistake() override { ++mistakes; }
    void BoardTileSound(bool right) override { ++(right ? rightSounds : wrongSounds); }
    void BoardHintCharge(int x, int y) override { charges.emplace_back(x, y); }
    std::shared_ptr<TDim> BoardHintDim(const TLevel& level) override { return PanelHintDim(level); }
};

// Tables with three sizes (pitch 20, 30, 40), a three-colour palette, delta 1, a clock that
// only moves when told, every hook at its default, and the tiles played on `board` (a game
// screen made later takes its place). Mistakes are counted in `mistakes`.
class PuzzleTest : public ::testing::Test {
protected:
    TTestBoard board;
    int& mistakes = board.mistakes;

    void SetUp() override {
        ResetPlayFieldTables();
        GridSize = {20.0f, 30.0f, 40.0f};
        GridSizeHalf = {10.0f, 15.0f, 20.0f};
        GridScale = {20.0f / 128, 30.0f / 128, 40.0f / 128};
        NumberScale = GridScale;
        NumberSizesIndex = {0, 1, 1};
        TileRGB = {CreateRGB(200, 40, 40), CreateRGB(40, 200, 40), CreateRGB(40, 40, 200)};
        ResetPuzzleGlobals();
        Mouse::Reset();
        SetBoardView(&board);
        ResetAppTime();
        FakeClockMs() = 1000;
        SetClockSource(&FakeClock);
        UpdateAppMillisecs();
        delta = 1.0f;
    }
    void TearDown() override {
        SetClockSource(nullptr);
        ResetAppTime();
        ResetPuzzleGlobals();
        Mouse::Reset();
        ResetPlayFieldTables();
    }
};

// A level drawn as text, one string per row: '.' an empty cell, a digit the cell's colour id.
// `colors` lists the ids in layer order. The level is set up as the reader sets up a file's
// level (clue lines, layout, overlays), at size index `size`.
inline std::shared_ptr<TPACLevel> MakeLevel(const std::vector<std::string>& rows, const std::vector<int>& colors,
                                            int size = 2) {
    auto level = std::make_shared<TPACLevel>();
    level->Rows = static_cast<int>(rows.size());
    level->Cols = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    level->Size = size;
    level->ColorArr = colors;
    level->Colors = static_cast<int>(colors.size());
    level->ColorDone.assign(colors.size(), 0);
    level->InitArray();
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) {
            const char ch = rows[y][x];
            if (ch == '.') continue;
            const int id = ch - '0';
            level->Tile(level->GetColorIndexByColorId(id), x, y)->isTile = id;
        }
    level->InitAll();
    return level;
}

// The values of a line's numbers in array order.
inline std::vector<int> Values(const TNumberLine& line) {
    std::vector<int> v;
    for (const auto& n : line.Number) v.push_back(n->Value);
    return v;
}

}  // namespace puzzletest
