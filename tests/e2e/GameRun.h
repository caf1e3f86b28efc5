// Running the real executable headless on data/ with the fixed clock, and reading back what it
// left: its exit status, standard output, the screenshot of its last frame.
#pragma once
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "support/TestSupport.h"

namespace e2e {

// The logical screen sits 171 pixels from the left of the 1366 x 768 window.
constexpr int kX = 171;

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

using testsupport::IsReportLine;

struct GameRun {
    int status = -1;
    std::string output;  // standard output
    TPixmapPtr shot;
};

// A list of one player, who plays, and that player's progress file (the text given) in the
// players' folder `profiles` (made where missing).
inline void WriteOnePlayer(const std::string& profiles, const std::string& id, const std::string& name,
                           const std::string& progress) {
    testsupport::WriteFileBytes(profiles + "/Profiles.dat", "Settings{\n\tCurrProfile = \"" + id +
                                                                "\"\n}\nProfile{\n\tId = \"" + id + "\"\n\tName = \"" +
                                                                name + "\"\n}\n");
    testsupport::WriteFileBytes(profiles + "/" + id + ".AppProfile", progress);
}

// A frame the run wrote for --shot-frames (frame as the option counts it), or null.
inline TPixmapPtr Shot(const testsupport::TempDir& dir, int frame) {
    return LoadPixmap(dir.file("shot-" + std::to_string(frame) + ".png"));
}

// Runs the game with the per-user folder dir/user on data/ (or another data folder); a run that
// does not end within four minutes is killed (generous: ctest runs many of these at once on the
// software renderer).
inline GameRun RunGame(const testsupport::TempDir& dir, const std::string& args, const std::string& data = "") {
    std::string command = "timeout 240 " + Quote(testsupport::GameExe()) + " --data " +
                          Quote(data.empty() ? testsupport::SourceDir() + "/data" : data) + " --user-dir " +
                          Quote(dir.file("user")) + " --fixed-delta --screenshot " + Quote(dir.file("shot.png")) + " " +
                          args + " > " + Quote(dir.file("out.txt")) + " 2>/dev/null";
    GameRun run;
    int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = testsupport::ReadFileBytes(dir.file("out.txt"));
    run.shot = LoadPixmap(dir.file("shot.png"));
    return run;
}

// The colour (0xAARRGGBB) of the pixel (x, y) of the picture `name` in a shared texture of the
// data (its picture file and, beside it, the list of the pictures it holds: their count, then
// for each its name, x, y, width and height, one a line); 0 when the picture is not listed.
inline uint32_t SharedPicturePixel(const std::string& texture, const std::string& name, int x, int y) {
    const std::string list = testsupport::ReadFileBytes(texture.substr(0, texture.rfind('.')) + ".txt");
    std::vector<std::string> lines;
    for (size_t at = 0; at < list.size();) {
        const size_t end = std::min(list.find('\n', at), list.size());
        lines.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    auto picture = LoadPixmap(texture);
    for (size_t i = 1; picture && i + 4 < lines.size(); i += 5)
        if (lines[i] == name)
            return uint32_t(
                picture->ReadPixel(std::atoi(lines[i + 1].c_str()) + x, std::atoi(lines[i + 2].c_str()) + y));
    return 0;
}

// Where start-up stands, from one run printing its timings: the first frame of the loading
// screen (the partner splash is over) and the first frame with the main menu current. Measured
// once per test program, so the tests follow the number of items the game loads.
struct StartupFrames {
    int loading = -1;
    int menu = -1;
};

inline int TimingFrame(const std::string& output, const std::string& mark) {
    const size_t at = output.find("timing " + mark + " ");
    if (at == std::string::npos) return -1;
    const size_t end = output.find('\n', at);
    const std::string line = output.substr(at, end - at);
    return std::atoi(line.substr(line.rfind(' ') + 1).c_str());
}

inline const StartupFrames& Startup() {
    static const StartupFrames frames = [] {
        testsupport::TempDir dir;
        GameRun run = RunGame(dir, "--timings --menu-frames 0 --frames 5000");
        return StartupFrames{TimingFrame(run.output, "loading"), TimingFrame(run.output, "main-menu")};
    }();
    return frames;
}

// The frame at which the main menu is fully shown: its buttons' views have faded in.
inline int MenuShown() { return Startup().menu + 30; }

// The same, counted from the main menu's first frame.
constexpr int kMenuShown = 30;

// A run counted from the main menu's first frame: the input script's and --shot-frames' frames
// count from there, and the run's last frame (its screenshot) is frame `frames` - 1 of it. A test
// that counts so needs no run of its own to learn when the menu comes (Startup()).
inline std::string FromMenu(int frames) {
    return " --from-menu --menu-frames " + std::to_string(std::max(frames - 1, 0)) + " --frames 20000";
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
