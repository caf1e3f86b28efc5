// Running the real executable headless on data/ with the fixed clock, and reading back what it
// left: its exit status, standard output, the screenshot of its last frame.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "platform/Image.h"
#include "support/TestSupport.h"

namespace e2e {

// Frames from the start to a main menu fully shown: the partner splash, the loading screen and
// the cross-fade take about 300 frames; the margin keeps the tests from depending on the exact
// number of items loaded.
constexpr int kMenuFrames = 360;
// The logical screen sits 171 pixels from the left of the 1366 x 768 window.
constexpr int kX = 171;

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

struct GameRun {
    int status = -1;
    std::string output;  // standard output
    TPixmapPtr shot;
};

// Runs the game with the per-user folder dir/user; a run that does not end within two minutes
// is killed.
inline GameRun RunGame(const testsupport::TempDir& dir, const std::string& args) {
    std::string command = "timeout 120 " + Quote(testsupport::GameExe()) + " --data " +
                          Quote(testsupport::SourceDir() + "/data") + " --user-dir " + Quote(dir.file("user")) +
                          " --fixed-delta --screenshot " + Quote(dir.file("shot.png")) + " " + args + " > " +
                          Quote(dir.file("out.txt")) + " 2>/dev/null";
    GameRun run;
    int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = testsupport::ReadFileBytes(dir.file("out.txt"));
    run.shot = LoadPixmap(dir.file("shot.png"));
    return run;
}

// A replayed input script written into dir, as the option that plays it.
inline std::string Script(const testsupport::TempDir& dir, const std::string& lines) {
    testsupport::WriteFileBytes(dir.file("input.txt"), lines);
    return " --input " + Quote(dir.file("input.txt"));
}

inline uint32_t Rgb(const TPixmapPtr& p, int x, int y) { return uint32_t(p->ReadPixel(x, y)) & 0xFFFFFFu; }

inline bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

// Some pixel of the window rectangle has exactly this colour.
inline bool AnyPixel(const TPixmapPtr& p, int x0, int y0, int w, int h, uint32_t colour) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Rgb(p, x, y) == colour) return true;
    return false;
}

}  // namespace e2e
