// The floor: the least a frame of the game's size can cost on this machine's OpenGL, the
// reference the screens' per-frame costs are given against (bench/floor_ratios.py).
//
//     build/bench/floor [--mode clear|opaque|blended] [--warmup N] [--frames N] [--unpaced]
//
// Opens a 1366 x 768 window with an OpenGL 2.1 context through SDL2, as the game does, and draws
// every frame: a clear, then (mode opaque) one opaque textured quad over the whole window, or
// (mode blended) the same quad mixed by its alpha over the clear. The picture is a 1366 x 768
// texture drawn texel for pixel (unfiltered, replacing the fragment's colour), the cheapest way a
// picture covers the window. Frames are shown at a paced 60 Hz (with --unpaced as fast as they
// go); without a display the frame is waited for after the swap, as the game does. After the
// warm-up frames it prints the whole process's CPU time (every thread, the renderer's included)
// and the wall time a frame over the measured frames:
//     floor <mode> cpu-ms <per frame> wall-ms <per frame> frames <n>
#include <SDL2/SDL.h>
#include <GL/gl.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/GLWindowAttributes.h"

namespace {

constexpr int kWidth = 1366, kHeight = 768;

double ProcessCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// A picture with some detail (so nothing can treat it as one colour), opaque, or with alpha
// varying across it for the blended mode.
std::vector<uint8_t> MakePicture(bool translucent) {
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
            p[0] = static_cast<uint8_t>(x * 255 / kWidth);
            p[1] = static_cast<uint8_t>(y * 255 / kHeight);
            p[2] = static_cast<uint8_t>((x ^ y) & 0xFF);
            p[3] = translucent ? static_cast<uint8_t>(64 + (x + y) % 128) : 255;
        }
    return pixels;
}

int Usage() {
    std::fprintf(stderr, "usage: floor [--mode clear|opaque|blended] [--warmup N] [--frames N] [--unpaced]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = "opaque";
    int warmup = 60, frames = 300;
    bool paced = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--mode" && i + 1 < argc) mode = argv[++i];
        else if (arg == "--warmup" && i + 1 < argc) warmup = std::atoi(argv[++i]);
        else if (arg == "--frames" && i + 1 < argc) frames = std::atoi(argv[++i]);
        else if (arg == "--unpaced") paced = false;
        else return Usage();
    }
    if ((mode != "clear" && mode != "opaque" && mode != "blended") || warmup < 0 || frames <= 0) return Usage();

    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    SetGLWindowAttributes();
    SDL_Window* window =
        SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool noDisplay = driver && std::strcmp(driver, "offscreen") == 0;

    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kWidth, kHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);

    const bool blended = mode == "blended";
    GLuint texture = 0;
    if (mode != "clear") {
        const std::vector<uint8_t> pixels = MakePicture(blended);
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glEnable(GL_TEXTURE_2D);
        if (blended) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
    }
    const float quad[] = {0, 0, 0, 0, kWidth, 0, 1, 0, kWidth, kHeight, 1, 1, 0, kHeight, 0, 1};
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), quad);
    glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), quad + 2);

    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(1.0 / 60.0));
    auto next = clock::now() + period;
    double cpuStart = 0.0;
    clock::time_point wallStart;
    for (int frame = 0; frame < warmup + frames; ++frame) {
        if (frame == warmup) {
            cpuStart = ProcessCpuMs();
            wallStart = clock::now();
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        glClear(GL_COLOR_BUFFER_BIT);
        if (texture != 0) glDrawArrays(GL_QUADS, 0, 4);
        SDL_GL_SwapWindow(window);
        if (noDisplay) glFinish();
        if (paced) {
            const auto now = clock::now();
            if (now < next) std::this_thread::sleep_until(next);
            next = std::max(next + period, now);
        }
    }
    const double cpu = (ProcessCpuMs() - cpuStart) / frames;
    const double wall = std::chrono::duration<double, std::milli>(clock::now() - wallStart).count() / frames;
    std::printf("floor %s cpu-ms %.3f wall-ms %.3f frames %d\n", mode.c_str(), cpu, wall, frames);
    if (texture != 0) glDeleteTextures(1, &texture);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
