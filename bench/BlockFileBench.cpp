// Parse and write throughput of a large block file shaped like a screen file: a screen block
// holding many objects, each with nested blocks of text, integer and real entries.
#include "engine/data/BlockFile.h"

#include "platform/Files.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

const std::string& ScreenText() {
    static const std::string text = [] {
        auto root = CreateBlockFile("bench");
        auto screen = CreateBlockFile("AppScreen", root);
        AddStringToBlock(screen, "Name", "MainMenu");
        AddStringToBlock(screen, "Music", "#BDIR#Sound/Music/Menu.ogg");
        for (int i = 0; BlockFileToText(root).size() < 10u * 1024 * 1024 && i < 1000000; i += 2000) {
            for (int j = i; j < i + 2000; ++j) {
                auto obj = CreateBlockFile("GameObject", screen);
                auto basic = CreateBlockFile("Basic", obj);
                AddIntToBlock(basic, "Type", j % 9);
                AddStringToBlock(basic, "Name", "Button_" + std::to_string(j));
                AddStringToBlock(basic, "Image", "#BDIR#Gfx/Menu/button" + std::to_string(j % 17) + ".png");
                auto state = CreateBlockFile("State", obj);
                AddStringToBlock(state, "Dim", std::to_string(j % 1024) + ".000000,300.000000,120.000000,40.0000000");
                AddFloatToBlock(state, "Pos", j * 0.37f, 0);
                AddFloatToBlock(state, "Pos", j * -1.5f, 1);
                AddFloatToBlock(state, "Alpha", 1.0f / static_cast<float>(j % 7 + 1));
                AddIntToBlock(state, "Layer", j % 12);
                AddBoolToBlock(state, "Visible", j % 3);
                auto text = CreateBlockFile("Text", obj);
                AddStringToBlock(text, "Class", "MenuButton");
                AddStringToBlock(text, "Line", "[#LOCAL#menu.txt|" + std::to_string(j % 40) + "]");
            }
        }
        return BlockFileToText(root);
    }();
    return text;
}

void BM_BlockFileParse(benchmark::State& state) {
    const std::string& text = ScreenText();
    for (auto _ : state) {
        TBlockFilePtr root = ParseBlockFileText(text, "bench");
        benchmark::DoNotOptimize(root.get());
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
