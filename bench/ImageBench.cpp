// What a screen's first frame pays for the pictures it shows for the first time: pictures from
// files are not held decoded beside their textures, so each is decoded again when first drawn.
// The largest ones the screens show: the kingdom's land and its buildings, a quarter of the
// stages map, the main menu's background.
#include "BenchData.h"
#include "platform/Image.h"

#include <benchmark/benchmark.h>

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

BENCHMARK_CAPTURE(BM_DecodeScreenPicture, kingdom_land_png, "Screens/Kingdom/Background.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, kingdom_buildings_png, "Screens/Kingdom/Buildings/buildingsatlas.png")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, map_quarter_jpg, "Screens/Stages/Map1.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeScreenPicture, main_menu_jpg, "Screens/MainMenu/Background.jpg")->Unit(benchmark::kMillisecond);

}  // namespace
