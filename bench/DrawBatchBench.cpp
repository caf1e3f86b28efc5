// Drawing submission on the offscreen context (software renderer), 1024 x 768 window:
//
//   BM_SubmitQuads/1   a frame of 2,000 16 x 16 image quads from one texture, then Flip(0)
//   BM_SubmitQuads/2   the same from two textures, alternating every 100 quads
//   BM_SubmitText      a frame of 50 lines of 40 characters in the default font, then Flip(0)
//   BM_HeadlessFrames  memory: resident size after 1,000 and after 10,000 small frames
//   BM_MovingPictures/N  a full-window picture and 4,000 16 x 16 pictures that all move every
//                      frame, then Flip(0): /0 the frame cache off (every frame drawn in full),
//                      /1 on as the game runs it (only what changed drawn again, the headless
//                      window keeping its frame), /2 on with the copy of the window alone
//
// Counters, a frame: submit_ms is the main thread's CPU for the drawing calls (what the game
// pays to hand the quads over), flip_ms the main thread's CPU in Flip (the last quads drawn
// out, the renderer's setup of the frame, the present), main_ms the two together, process_ms
// the CPU of the whole process (the renderer's threads filling pixels included).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"

namespace {

double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double ResidentMB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void OpenWindow() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!GraphicsOpen() || GraphicsWidth() != 1024 || GraphicsHeight() != 768) Graphics(1024, 768, 0, 60, 0);
    SetVirtualResolution(1024, 768);
    ResetDrawState();
}

// A 16 x 16 round spot with soft edges in the given colour.
TImagePtr Spot(int argb) {
    auto p = CreatePixmap(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            int dx = 2 * x - 15, dy = 2 * y - 15;
            int d = dx * dx + dy * dy;
            int alpha = d < 120 ? 255 : d < 240 ? 128 : 0;
            p->WritePixel(x, y, (alpha << 24) | (argb & 0xFFFFFF));
        }
    return LoadImage(p, FILTEREDIMAGE);
}

struct FrameTimes {
    double submit = 0.0, flip = 0.0, process = 0.0;
    int frames = 0;
    void Report(benchmark::State& state) const {
        state.counters["submit_ms"] = submit / frames;
        state.counters["flip_ms"] = flip / frames;
        state.counters["main_ms"] = (submit + flip) / frames;
        state.counters["process_ms"] = process / frames;
    }
};

template <typename DrawFn>
void RunFrames(benchmark::State& state, DrawFn draw) {
    FrameTimes times;
    for (auto _ : state) {
        double p0 = ProcessCpuMs();
        Cls();
        double t0 = ThreadCpuMs();
        draw();
        double t1 = ThreadCpuMs();
        Flip(0);
        times.submit += t1 - t0;
        times.flip += ThreadCpuMs() - t1;
        times.process += ProcessCpuMs() - p0;
        ++times.frames;
    }
    times.Report(state);
}

void BM_SubmitQuads(benchmark::State& state) {
    OpenWindow();
    const int textures = static_cast<int>(state.range(0));
    TImagePtr images[2] = {Spot(0xE05030), Spot(0x3070E0)};
    RunFrames(state, [&] {
        for (int i = 0; i < 2000; ++i) {
            const TImagePtr& image = images[textures == 1 ? 0 : (i / 100) % 2];
            DrawImage(image, static_cast<float>((i % 60) * 17), static_cast<float>((i / 60) * 22));
        }
    });
}
BENCHMARK(BM_SubmitQuads)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_SubmitText(benchmark::State& state) {
    OpenWindow();
    const std::string line = "The quick brown fox jumps over a lazy dog";
    RunFrames(state, [&] {
        for (int i = 0; i < 50; ++i) DrawText(line.substr(0, 40), 10.0f, static_cast<float>(i * 15));
    });
}
BENCHMARK(BM_SubmitText)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_MovingPictures(benchmark::State& state) {
    OpenWindow();
    SetFrameCache(state.range(0) != 0);
    SetDamageDrawing(state.range(0) == 1);
    auto back = CreatePixmap(1024, 768);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            back->WritePixel(x, y, int(0xFF000000u | unsigned(x / 4) << 16 | unsigned(y / 3) << 8 | 0x60u));
    TImagePtr background = LoadImage(back, FILTEREDIMAGE);
    TImagePtr image = Spot(0xE05030);
    int frame = 0;
    RunFrames(state, [&] {
        SetBlend(SOLIDBLEND);
        DrawImage(background, 0, 0);
        SetBlend(ALPHABLEND);
        for (int i = 0; i < 4000; ++i)
            DrawImage(image, static_cast<float>((i * 37 + frame * (1 + i % 3)) % 1008),
                      static_cast<float>((i * 11 + frame * (1 + i % 2)) % 752));
        ++frame;
    });
    SetFrameCache(true);
    SetDamageDrawing(true);
}
BENCHMARK(BM_MovingPictures)->Arg(0)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Headless frames must not keep memory: a frame of a few quads, text and a clear, presented
// unpaced; the resident size after 1,000 and after 10,000 frames.
void BM_HeadlessFrames(benchmark::State& state) {
    OpenWindow();
    TImagePtr image = Spot(0xE05030);
    auto frame = [&](int i) {
        Cls();
        for (int q = 0; q < 50; ++q)
            DrawImage(image, static_cast<float>((q * 37 + i) % 1000), static_cast<float>(q * 15));
        DrawText("Frame " + std::to_string(i), 10.0f, 10.0f);
        Flip(0);
    };
    double at1000 = 0.0, at10000 = 0.0;
    for (auto _ : state) {
        int i = 0;
        for (; i < 1000; ++i) frame(i);
        at1000 = ResidentMB();
        for (; i < 10000; ++i) frame(i);
        at10000 = ResidentMB();
    }
    state.counters["rss_1000_MB"] = at1000;
    state.counters["rss_10000_MB"] = at10000;
    state.counters["growth_MB"] = at10000 - at1000;
}
BENCHMARK(BM_HeadlessFrames)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
