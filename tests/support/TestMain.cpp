// Test entry point shared by every suite: runs headless whatever the caller's environment.
#include <gtest/gtest.h>
#include <cstdlib>

#include "platform/OpenURL.h"

int main(int argc, char** argv) {
    // A real OpenGL context on Mesa's software renderer, and an audio device that plays silently.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // ctest runs many suites and game processes at once: the software renderer's own threads
    // (one per core by default) would only fight over the cores. The caller may set another count.
    setenv("LP_NUM_THREADS", "2", 0);
    // No test ever opens a real browser: tests that open pages install their own recorder.
    SetURLOpener([](const std::string&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
