// What a screen's first frame pays for the pictures it shows for the first time: pictures from
// files are not held decoded beside their textures, so each is decoded again when first drawn.
// The largest ones the screens show: the kingdom's land and its buildings, a quarter of the
// stages map, the main menu's background.
#include "BenchData.h"
#include "platform/Image.h"

#include <benchmark/benchmark.h>

#include <string>

#include "support/Png.h"

namespace {

void BM_DecodeScreenPicture(benchmark::State& state, const char* picture) {
    const std::string data = FindDataDir(picture);
    if (data.empty()) {
        state.SkipWithError("no data folder");
        return;
    }
    const std::string path = JoinPath(data, picture);
    for (auto _ : state) benchmark::DoNotOptimize(LoadPixmap(path));
}

BENCHMARK_CAPTURE(BM_DecodeScreenPicture, kingdom_land_png, "Screens/Kingdom/Background.png")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, kingdom_buildings_png, "Screens/Kingdom/Buildings/buildingsatlas.png")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, map_quarter_jpg, "Screens/Stages/Map1.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, main_menu_jpg, "Screens/MainMenu/Background.jpg")
    ->Unit(benchmark::kMillisecond);

// A 2048 x 1024 PNG carrying 500 compressed text chunks of 8 MB of zeros each (4 MB of file, 4 GB
// unpacked): its cost must be that of its pixels alone, the texts skipped unread.
void BM_DecodePngWithTextChunks(benchmark::State& state) {
    auto pixmap = CreatePixmap(2048, 1024);
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 2048; ++x) pixmap->WritePixel(x, y, int(0xFF000000u | uint32_t(x * 131 + y * 71)));
    const std::string hostile = testsupport::PngWith(EncodePNG(pixmap), testsupport::CompressedTextChunks(500));
    for (auto _ : state) benchmark::DoNotOptimize(LoadPixmapFromMemory(hostile));
    state.counters["file_bytes"] = static_cast<double>(hostile.size());
}
BENCHMARK(BM_DecodePngWithTextChunks)->Unit(benchmark::kMillisecond);

}  // namespace
