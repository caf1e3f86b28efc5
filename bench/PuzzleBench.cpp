// The puzzle core on a 20 x 15 three-colour level: reading the level file, judging every move
// of a full solve (with the clue lines updated after every row of moves, as the board does
// once a frame), and writing the level with its play state.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <memory>
#include <string>

#include "engine/data/ValueTypes.h"
#include "engine/basics/AppTime.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"

namespace {

constexpr int kCols = 20;
constexpr int kRows = 15;

void SetTables() {
    GridSize = {24.0f, 32.0f, 40.0f};
    GridSizeHalf = {12.0f, 16.0f, 20.0f};
    GridScale = {24.0f / 128, 32.0f / 128, 40.0f / 128};
    NumberScale = GridScale;
    NumberSizesIndex = {0, 1, 1};
    TileRGB = {CreateRGB(200, 40, 40), CreateRGB(40, 160, 40), CreateRGB(40, 40, 200)};
    delta = 1.0f;
}

// The colour id of a cell of the picture: stripes and blocks of the three colours with
// empty cells between them.
int PictureId(int x, int y) {
    const int v = (x * 7 + y * 3 + (x / 4) * (y / 3)) % 6;
    return v < 3 ? v + 1 : 0;
}

// A temporary folder removed when the program ends.
struct BenchFolder {
    std::string path;
    BenchFolder() {
        char folder[] = "/tmp/quiltora-puzzle-bench-XXXXXX";
        if (mkdtemp(folder)) path = folder;
    }
    ~BenchFolder() {
        if (!path.empty()) DeleteDir(path, true);
    }
};

// Writes the fixture level once and returns its path.
const std::string& FixturePath() {
    static BenchFolder folder;
    static std::string path;
    if (!path.empty()) return path;
    path = folder.path + "/Level-20x15.PACLevel";
    auto level = std::make_shared<TPACLevel>();
    level->Cols = kCols;
    level->Rows = kRows;
    level->Size = 0;
    level->ColorArr = {1, 2, 3};
    level->Colors = 3;
    level->ColorDone = {0, 0, 0};
    level->InitArray();
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kCols; ++x)
            if (int id = PictureId(x, y)) level->Tile(id - 1, x, y)->isTile = id;
    level->InitAll();
    SavePacLevel(level, path, 0);
    return path;
}

void UpdateAllLines(TPACLevel& level) {
    TPNumber::UpdateNumberShine();
    for (auto& line : level.NumberH.Cells()) line->Update();
    for (auto& line : level.NumberV.Cells()) line->Update();
}

void BM_LoadLevel20x15(benchmark::State& state) {
    SetTables();
    const std::string& path = FixturePath();
    for (auto _ : state) benchmark::DoNotOptimize(LoadPacLevel(path));
}
BENCHMARK(BM_LoadLevel20x15)->Unit(benchmark::kMicrosecond);

void BM_JudgeFullSolve20x15(benchmark::State& state) {
    SetTables();
    const std::string& path = FixturePath();
    int rightMoves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto level = LoadPacLevel(path);
        state.ResumeTiming();
        rightMoves = 0;
        for (int c = 0; c < level->Colors; ++c)
            for (int y = 0; y < level->Rows; ++y) {
                for (int x = 0; x < level->Cols; ++x) {
                    auto t = level->GetTile(c, x, y);
                    rightMoves += t->isTile != 0 ? t->Show(0, 1) : t->Mark(0);
                }
                UpdateAllLines(*level);
            }
        benchmark::DoNotOptimize(rightMoves);
    }
    state.counters["moves"] = rightMoves;
}
BENCHMARK(BM_JudgeFullSolve20x15)->Unit(benchmark::kMicrosecond);

void BM_SaveLevel20x15(benchmark::State& state) {
    SetTables();
    const std::string& path = FixturePath();
    auto level = LoadPacLevel(path);
    const std::string out = ExtractDir(path) + "/Saved.PACLEVEL";
    for (auto _ : state) benchmark::DoNotOptimize(SaveLevel(level, out));
}
BENCHMARK(BM_SaveLevel20x15)->Unit(benchmark::kMicrosecond);

}  // namespace
