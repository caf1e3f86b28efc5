// Parse and write throughput of a large block file shaped like a screen file: a screen block
// holding many game objects, each with nested blocks of integer, text and real entries.
#include "engine/data/BlockFile.h"

#include "platform/Files.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// One game object as a screen file stores it: basics, flags, states, components, own data and
// sub-objects, mostly small integer entries with a few text and real values.
void AddGameObject(const TBlockFilePtr& parent, int j) {
    auto obj = CreateBlockFile("GameObject", parent);
    auto basic = CreateBlockFile("Basic", obj);
    AddStringToBlock(basic, "Name", "Button_" + std::to_string(j));
    AddIntToBlock(basic, "Id", j);
    AddIntToBlock(basic, "Type", j % 9);
    AddIntToBlock(basic, "Enabled", 1);
    AddIntToBlock(basic, "DrawLayer", j % 12);
    AddIntToBlock(basic, "UpdateLayer", 0);
    auto flags = CreateBlockFile("Flags", obj);
    for (const char* f : {"isGlobal", "isSavedInternaly", "isNotSaved", "isAssetToBeLoad", "isUpdatedWithDraw"})
        AddIntToBlock(flags, f, (j + f[2]) % 2);
    auto states = CreateBlockFile("States", obj);
    auto state = CreateBlockFile("State", states);
    AddStringToBlock(state, "Name", "DEFAULT");
    AddStringToBlock(state, "Dim", std::to_string(j % 1024) + ".000000,300.000000,120.000000,40.0000000,0,0,0,0,0,0,0");
    AddStringToBlock(state, "TFR", "1.00000000,1.00000000,0.00000000,0.00000000,0");
    AddStringToBlock(state, "RGB", "255,255,255,1.00000000,1.00000000");
    CreateBlockFile("Components", obj);
    auto own = CreateBlockFile("OwnData", obj);
    AddStringToBlock(own, "Image", "#BDIR#Gfx/Menu/button" + std::to_string(j % 17) + ".png");
    AddFloatToBlock(own, "Pos", j * 0.37f, 0);
    AddFloatToBlock(own, "Pos", j * -1.5f, 1);
    AddFloatToBlock(own, "Scale", 1.0f / static_cast<float>(j % 7 + 1));
    CreateBlockFile("SubObjects", obj);
}

// About 10 MB: a screen block holding game objects.
const std::string& ScreenText() {
    static const std::string text = [] {
        auto root = CreateBlockFile("bench");
        auto screen = CreateBlockFile("AppScreen", root);
        auto data = CreateBlockFile("Data", screen);
        AddStringToBlock(data, "Name", "MainMenu");
        AddStringToBlock(data, "TxtFileUrl", "");
        auto objects = CreateBlockFile("GameObjects", screen);
        const size_t perObject = [] {
            auto probe = CreateBlockFile("probe");
            AddGameObject(probe, 1000);
            return BlockFileToText(probe).size();
        }();
        for (size_t j = 0; j * perObject < 10u * 1024 * 1024; ++j) AddGameObject(objects, static_cast<int>(j));
        return BlockFileToText(root);
    }();
    return text;
}

void BM_BlockFileParse(benchmark::State& state) {
    const std::string& text = ScreenText();
    for (auto _ : state) {
        TBlockFilePtr root = ParseBlockFileText(text, "bench");
        benchmark::DoNotOptimize(root.get());
        // Releasing the tree is not part of parsing.
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BlockFileParse)->Unit(benchmark::kMillisecond);

void BM_BlockFileWrite(benchmark::State& state) {
    const std::string& text = ScreenText();
    TBlockFilePtr root = ParseBlockFileText(text, "bench");
    for (auto _ : state) {
        std::string out = BlockFileToText(root);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BlockFileWrite)->Unit(benchmark::kMillisecond);

// Loading from disk: reading, decoding and parsing together.
void BM_BlockFileLoad(benchmark::State& state) {
    const std::string& text = ScreenText();
    std::string path = "/tmp/quiltora-blockfile-bench-" + std::to_string(::getpid()) + ".dat";
    SaveBytes(path, text);
    for (auto _ : state) {
        TBlockFilePtr root = LoadBlockFile(path);
        benchmark::DoNotOptimize(root.get());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BlockFileLoad)->Unit(benchmark::kMillisecond);

}  // namespace
