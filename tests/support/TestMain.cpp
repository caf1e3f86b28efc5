// Test entry point shared by every suite: runs headless whatever the caller's environment.
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char** argv) {
    // A real OpenGL context on Mesa's software renderer, and an audio device that plays silently.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
