// CPU time per frame of the game screen's keyframe particle package (4000 particles a pool):
// the update alone (goal: under 1 ms on one core) and the update and draw on the software
// renderer, with the light pool full, and with both pools full.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "BenchData.h"
#include "engine/media/ImgTex.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "game/effects/Effects.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"

namespace {

int32_t g_clock = 0;
int32_t Clock() { return g_clock; }

// Fills the pools the way the game's effects do, with lives long enough that nothing dies
// during the run: hint trails (quadratic routes), aura sparks (motion about a centre) and fire
// streams (cubic routes with eased alpha) in the light pool; building dust (routes with alpha
// going out and back) in the alpha pool when asked.
TEngParticlePackagePtr FullGamePackage(bool bothPools) {
    auto pack = CreateEngParticlePackage(4000);
    const int life = 1000000000;
    for (int k = 0; pack->CountInUse() < 4000; ++k) {
        const int x = 100 + (k * 37) % 800, y = 100 + (k * 53) % 500;
        switch (k % 3) {
            case 0: CreateHintParticle(x, y, x + 60, y + 20, 0, 255, 0, 32, life, 0, pack); break;
            case 1: CreateMagicAura(x, y, 1, 0, life, pack); break;
            default: CreateCrossFireDir(x, y, 30, 200, life, 1, 0, pack); break;
        }
    }
    while (bothPools && pack->CountInUse() < 8000) CreateBuildDust(500, 400, 48, 0.5f, 0.75f, life, pack);
    return pack;
}

void Setup(bool draw) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (draw && !GraphicsOpen()) Graphics(1024, 768, 0, 60, 0);
    SetClockSource(Clock);
    g_clock = 0;
    ResetAppTime();
    UpdateAppMillisecs();
    if (draw && TEngParticle::standardImg.empty()) {
        bDir = FindDataDir("Effects/Particles/ParticlesList.txt") + "/";
        SetupParticles(ParticlesListPath());
    }
}

// Update only: every particle in use advanced to the next frame's time.
void BM_EngPackageUpdate(benchmark::State& state) {
    Setup(false);
    auto pack = FullGamePackage(state.range(0) != 0);
    for (auto _ : state) {
        g_clock += 16;
        UpdateAppMillisecs();
        for (auto* pool : {&pack->alphaBlend_particles, &pack->lightBlend_particles})
            for (const TEngParticlePtr& p : *pool)
                if (p->isOnUse) p->update();
    }
    state.counters["in_use"] = pack->CountInUse();
}

// The package's own draw: update and draw of every particle in use, on the software renderer;
// with the second argument set, each frame is also flipped, so the rasterising is counted too.
void BM_EngPackageDraw(benchmark::State& state) {
    Setup(true);
    if (TEngParticle::standardImg.empty()) {
        state.SkipWithError("the particle images were not found (set QUILTORA_DATA)");
        return;
    }
    auto pack = FullGamePackage(state.range(0) != 0);
    for (auto _ : state) {
        g_clock += 16;
        UpdateAppMillisecs();
        DrawEngPackage(pack);
        if (state.range(1)) Flip(0);
    }
    state.counters["drawn"] = pack->Counter;
}

}  // namespace

BENCHMARK(BM_EngPackageUpdate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EngPackageDraw)->Args({0, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMicrosecond);
