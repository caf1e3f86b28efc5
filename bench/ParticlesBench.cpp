// CPU time per frame to update and draw a full 2048-particle emitter (goal: under 1 ms).
#include <benchmark/benchmark.h>
#include <cstdlib>
#include "engine/basics/Basics.h"
#include "engine/particles/Emitter.h"
#include "engine/basics/AppTime.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"

namespace {
int32_t g_clock = 0;
int32_t Clock() { return g_clock; }

TAppBasicEmitterPtr FullEmitter(int blend, bool gradient) {
    auto e = std::make_shared<TAppBasicEmitter>();
    auto& p = static_cast<TAppBasicEmitterPreSet&>(*e->Preset);
    p.MaxParticles = 2048;
    p.MinLifeTime = p.MaxLifeTime = 1000000000;
    p.Blend = blend;
    p.GravityForce = 1.0f;
    p.GravityAngle = 90;
    p.Shape = CreateAESElipse(200, 150, 0, 0, 0, 360);
    if (gradient) {
        p.Colorizer = std::make_shared<TColorizerGradient>();
        p.Transformer = std::make_shared<TTransformerTransform>();
    }
    e->InitPackage();
    for (int i = 0; i < 2048; ++i) e->Emit();
    e->SetPosition(512, 384);
    e->UpdateSettings();
    return e;
}

void BM_EmitterFrame(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    const bool draw = state.range(0) != 0;
    if (draw && !GraphicsOpen()) Graphics(1024, 768, 0, 60, 0);
    SetClockSource(Clock);
    InitSinCosTables();
    UpdateAppMillisecs();
    delta = 1.0f;
    auto e = FullEmitter(4, state.range(1) != 0);
    for (auto _ : state) {
        e->Draw();
        if (draw && state.range(2)) Flip(0);
    }
    state.counters["in_use"] = e->Package->CountInUse();
}
}  // namespace
BENCHMARK(BM_EmitterFrame)
    ->Args({0, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 1, 1})
    ->Unit(benchmark::kMicrosecond);
