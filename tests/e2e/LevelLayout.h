// A level of data/ laid out as the game screen lays it out on the 1024 x 768 picture, so that an
// input script can aim at its cells, and the script that plays level 1 to its win.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e/GameRun.h"
#include "engine/system/Paths.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Numbers.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"

namespace e2e {

inline std::string DataDir() { return testsupport::SourceDir() + "/data/"; }

// Level n with its tiles' drawing places: the play-field tables and the clue-number images' sizes
// of data/, the board centred the way the game screen centres it.
inline std::shared_ptr<TPACLevel> LaidOutLevel(int n) {
    const std::string saved = bDir;
    bDir = DataDir();
    ResetPlayFieldTables();
    TSpecialLoads().Setup();
    SetNumberImageSizes([](int set, int value, float& w, float& h) {
        return testsupport::PngSize(
            DataDir() + "Game/PlayField/Numbers/" + std::to_string(set) + "-" + std::to_string(value) + ".png", w, h);
    });
    auto level = LoadPacLevel(DataDir() + "Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel");
    if (level) {
        level->Center();
        level->Center();
    }
    SetNumberImageSizes(nullptr);
    bDir = saved;
    return level;
}

// The frame from which the board is in play, counted from the main menu's first frame (the runs
// count so, FromMenu): the level starts when the main menu comes, the screen cross-fades in and
// the tiles fly in from two seconds on.
constexpr int kPlayFrame = 360;

// An input script of moves on the board, one frame apart at least.
class Moves {
public:
    explicit Moves(const TPACLevel& level, int frame) : level_(level), frame_(frame) {}

    // Press on (x1, y) and release on (x2, y) with the button.
    void Line(int x1, int y1, int x2, int y2, int button) {
        MoveTo(x1, y1);
        Add("down " + std::to_string(button));
        MoveTo(x2, y2);
        ++frame_;
        Add("up " + std::to_string(button));
        ++frame_;
    }
    // A left click at a point of the picture (a panel button): move, press, release.
    void Click(int x, int y) {
        Add("move " + std::to_string(x) + " " + std::to_string(y));
        Add("down 1");
        Add("up 1");
        ++frame_;
    }
    int frame() const { return frame_; }
    const std::string& text() const { return text_; }

private:
    void MoveTo(int x, int y) {
        auto t = level_.Tile.At(0, x, y);
        Add("move " + std::to_string(t->DrawX) + " " + std::to_string(t->DrawY));
    }
    void Add(const std::string& event) { text_ += std::to_string(frame_++) + " " + event + "\n"; }

    const TPACLevel& level_;
    int frame_;
    std::string text_;
};

// Level 1's solution, row by row, as runs of solution cells: one left-button line per run.
struct WinScript {
    std::shared_ptr<TPACLevel> level = LaidOutLevel(1);
    std::vector<std::pair<int, int>> cells;  // every solution cell, in the order played
    std::vector<int> endOfRun;               // script frame after each run
    std::vector<size_t> scriptOfRun;         // length of the script up to the end of each run
    std::string text;

    // The frame from which the level summary has shown its window and its buttons, its stars
    // landed (counted from the main menu, as the script is).
    int summaryShown() const { return endOfRun.back() + 450; }

    WinScript() {
        if (!level) return;
        Moves moves(*level, kPlayFrame);
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols;) {
                if (!level->Tile(0, x, y)->isTile) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end + 1 < level->Cols && level->Tile(0, end + 1, y)->isTile) ++end;
                moves.Line(x, y, end, y, 1);
                for (int k = x; k <= end; ++k) cells.emplace_back(k, y);
                endOfRun.push_back(moves.frame());
                scriptOfRun.push_back(moves.text().size());
                x = end + 1;
            }
        text = moves.text();
    }
};

}  // namespace e2e
