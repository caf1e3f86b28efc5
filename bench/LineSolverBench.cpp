#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchData.h"
#include "game/levels/LineSolver.h"
#include "platform/Files.h"

namespace {

// The line solver over the clues of all one hundred shipped levels, per iteration.
void BM_LineSolveAllLevels(benchmark::State& state) {
    const std::string data = FindDataDir("Game/Levels/Picross/Level-1.PACLevel");
    std::vector<TLineClues> levels;
    for (int n = 1; n <= 100; ++n) {
        TLevelPicture p;
        const std::string path = JoinPath(data, "Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel");
        if (!LoadLevelPicture(path, p)) break;
        levels.push_back(BuildLineClues(p.Cols, p.Rows, static_cast<int>(p.ColorIds.size()), p.Cells));
    }
    if (levels.size() != 100) {
        state.SkipWithError("the hundred level files were not found (set QUILTORA_DATA)");
        return;
    }
    for (auto _ : state) {
        for (const TLineClues& clues : levels) {
            TLineSolveResult r = SolveByLineLogic(clues);
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(levels.size()));
}
BENCHMARK(BM_LineSolveAllLevels)->Unit(benchmark::kMillisecond);

}  // namespace
