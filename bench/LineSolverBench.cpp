#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/puzzle/LineSolver.h"
#include "platform/Files.h"

namespace {

// The repository's data/ folder: $QUILTORA_DATA, else the first "data" folder holding the
// levels found upwards from the working folder or from the benchmark's own folder.
std::string FindDataDir() {
    if (const char* env = std::getenv("QUILTORA_DATA")) return env;
    std::vector<std::string> starts = {CurrentDir()};
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) starts.push_back(exe.parent_path().string());
    for (std::string dir : starts) {
        for (int up = 0; up < 6 && !dir.empty(); ++up) {
            const std::string data = JoinPath(dir, "data");
            if (FileType(JoinPath(data, "Game/Levels/Picross/Level-1.PACLevel")) == 1) return data;
            dir = ExtractDir(dir);
        }
    }
    return "";
}

// The line solver over the clues of all one hundred shipped levels, per iteration.
void BM_LineSolveAllLevels(benchmark::State& state) {
    const std::string data = FindDataDir();
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
