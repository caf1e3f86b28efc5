// The longest frame of each screen switch of a playthrough, headless on the software renderer at
// the player's pace (the real clock, 60 frames a second): the main menu, the stages map, level 1
// won, its summary, the kingdom, the map again, level 2, the main menu by the panel's options,
// and level 2 continued. Each switch's longest frame is the main thread's time for it (its wall
// time less the pace's wait), from the frame the switch began to half a second after the new
// screen became current ("switch" lines of --timings); the reference of the same run is its
// median frame ("frame-work"). The CPU time the main thread spent on its longest frame is told
// too: on a busy machine the wall time holds the waits for a core, which the CPU time leaves out.
// Goal: no frame over 50 ms at any switch.
//
//     build/bench/switch_frames [RUNS] [--exe GAME] [--data DIR] [--user-on-disk]
//
// Runs RUNS playthroughs (3); a run fails the benchmark when the game prints an error or a
// warning line, when its last frame is blank (one colour over 99% of it, as its timings tell and
// as bench/gamerun.py judges it: nothing was drawn), or when a switch of the way is missing (its
// script went astray). The player's folder is in memory (/dev/shm) unless
// --user-on-disk: the saves at the map's and the kingdom's entry wait for the disk, whose time is
// the machine's, not the game's.
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/LevelLayout.h"
#include "e2e/MenuScript.h"
#include "game/levels/Tile.h"
#include "support/TestSupport.h"

namespace {

using e2e::kContinue;
using e2e::kMenuPlay;
using e2e::Point;
// The summary's Next, the kingdom's Play, level 1's and 2's thumbnails on the map, the game
// panel's menu button and the options' Menu (the main menu's Play and the continue pop-up's
// Continue are the menu scripts').
constexpr Point kSummaryNext{642, 644}, kKingdomPlay{870, 700};
constexpr Point kThumb1{248, 580}, kThumb2{424, 612}, kGameMenu{1059, 708}, kOptionsMenu{320, 581};

// The switches of the way, in order.
const std::vector<std::pair<std::string, std::string>> kWay = {
    {"Loading_Screen", "MainMenu"},  {"MainMenu", "Stages"},       {"Stages", "GameScreen"},
    {"GameScreen", "Level_Summary"}, {"Level_Summary", "Kingdom"}, {"Kingdom", "Stages"},
    {"Stages", "GameScreen"},        {"GameScreen", "MainMenu"},   {"MainMenu", "GameScreen"}};

// A player at level 1 on the map, every help seen.
void WritePlayer(const std::string& user) {
    e2e::WriteOnePlayer(user + "/.Velkaro/Quiltora-2/Profiles", "75-105-109", "Kim",
                        "Data{\n\tName = \"Kim\"\n\tLevel = 1\n\tScore = 0\n\tScreen = \"Stages\"\n"
                        "\tKingdomTutorialScreenShowed = 1\n\tTutorialScreenShowed = 1\n"
                        "\tMapScreenAnimationShowed = 1\n}\nLevels{\n\ti = 1\n\tLevel1 = \"1,0,1,0,0,0,0\"\n}\n");
}

// The input script, in frames from the main menu's first frame, with room for switches that take
// a few frames more than at the fixed clock; and the frame it ends at.
std::string Script(int& end) {
    e2e::MenuScript script;
    script.Click(60, kMenuPlay);
    script.Click(105, kContinue);
    script.Click(500, kThumb1);
    auto level = e2e::LaidOutLevel(1);
    int at = 900;
    for (int y = 0; y < level->Rows; ++y)
        for (int x = 0; x < level->Cols; ++x) {
            auto tile = level->Tile(0, x, y);
            if (tile->isTile != 0)
                script.Click(at += 6, {static_cast<int>(tile->DrawX), static_cast<int>(tile->DrawY)});
        }
    script.Click(at + 455, kSummaryNext);
    const int kingdom = at + 700;
    script.Click(kingdom, kKingdomPlay);
    script.Click(kingdom + 350, kThumb2);
    const int game = kingdom + 850;
    script.Click(game, kGameMenu);
    script.Click(game + 45, kOptionsMenu);
    script.Click(game + 200, kMenuPlay);
    script.Click(game + 245, kContinue);
    end = game + 600;
    return script.str();
}

struct Switch {
    std::string from, to;
    double longestMs = 0;
    double longestCpuMs = 0;  // the most CPU time of the main thread in one of its frames
};
struct Run {
    std::vector<Switch> switches;
    double medianMs = 0;
    std::string failure;
};

Run PlayOnce(const std::string& exe, const std::string& data, bool userOnDisk) {
    Run run;
    const auto made = userOnDisk ? std::make_unique<testsupport::TempDir>()
                                 : std::make_unique<testsupport::TempDir>(testsupport::TempDir::InMemory{});
    const testsupport::TempDir& dir = *made;
    WritePlayer(dir.file("user"));
    int end = 0;
    testsupport::WriteFileBytes(dir.file("input.txt"), Script(end));
    const std::string command = "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" + exe + "' --data '" + data +
                                "' --user-dir '" + dir.file("user") + "' --timings --from-menu --menu-frames " +
                                std::to_string(end) + " --input '" + dir.file("input.txt") + "' > '" +
                                dir.file("out.txt") + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::string output = testsupport::ReadFileBytes(dir.file("out.txt"));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.failure = "the game failed (status " + std::to_string(status) + ")";
    // SWITCH_FRAMES_SHOW set: the game's output, for a look at a slow switch's frames.
    if (std::getenv("SWITCH_FRAMES_SHOW")) std::fputs(output.c_str(), stderr);
    // (No line of the last frame: it is not known to be drawn.)
    double lastFrameShare = 1.0;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (e2e::IsReportLine(line) && run.failure.empty()) run.failure = "the game reported: " + line;
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "switch") {
            Switch s;
            int frame = 0, frames = 0, at = 0;
            fields >> s.from >> s.to >> frame >> frames >> s.longestMs >> at >> s.longestCpuMs;
            run.switches.push_back(s);
        } else if (kind == "frame-work") {
            int frames = 0;
            fields >> frames >> run.medianMs;
        } else if (kind == "last-frame-commonest-colour") {
            fields >> lastFrameShare;
        }
    }
    if (lastFrameShare >= 0.99 && run.failure.empty())
        run.failure = output.find("last-frame-commonest-colour") == std::string::npos
                          ? "the game did not tell its last frame (no last-frame-commonest-colour line)"
                          : "its last frame is blank (one colour over " + std::to_string(lastFrameShare) + " of it)";
    size_t next = 0;
    for (const Switch& s : run.switches)
        if (next < kWay.size() && s.from == kWay[next].first && s.to == kWay[next].second) ++next;
    if (next < kWay.size() && run.failure.empty())
        run.failure = "the way went astray before " + kWay[next].first + " -> " + kWay[next].second;
    return run;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    std::string exe = testsupport::GameExe(), data = testsupport::SourceDir() + "/data";
    bool userOnDisk = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--exe" && i + 1 < argc) exe = argv[++i];
        else if (arg == "--data" && i + 1 < argc) data = argv[++i];
        else if (arg == "--user-on-disk") userOnDisk = true;
        else runs = std::max(std::atoi(arg.c_str()), 1);
    }
    // Per switch of the way: its longest frame (wall and CPU) in each run, and the runs' median
    // frames.
    std::vector<std::vector<double>> longest(kWay.size()), longestCpu(kWay.size());
    std::vector<double> medians;
    for (int r = 0; r < runs; ++r) {
        const Run run = PlayOnce(exe, data, userOnDisk);
        if (!run.failure.empty()) {
            std::fprintf(stderr, "switch_frames: run %d: %s\n", r + 1, run.failure.c_str());
            return 1;
        }
        medians.push_back(run.medianMs);
        size_t next = 0;
        for (const Switch& s : run.switches)
            if (next < kWay.size() && s.from == kWay[next].first && s.to == kWay[next].second) {
                longestCpu[next].push_back(s.longestCpuMs);
                longest[next++].push_back(s.longestMs);
            }
    }
    const double median = Median(medians);
    std::printf("median frame of the runs: %.2f ms (runs %d)\n", median, runs);
    std::printf("%-30s %12s %10s %14s %12s %10s\n", "switch", "longest ms", "worst ms", "x median frame", "cpu ms",
                "worst cpu");
    double worst = 0, worstCpu = 0;
    for (size_t k = 0; k < kWay.size(); ++k) {
        const double m = Median(longest[k]), w = *std::max_element(longest[k].begin(), longest[k].end());
        const double c = Median(longestCpu[k]), wc = *std::max_element(longestCpu[k].begin(), longestCpu[k].end());
        worst = std::max(worst, w);
        worstCpu = std::max(worstCpu, wc);
        std::printf("%-30s %12.1f %10.1f %14.1f %12.1f %10.1f\n", (kWay[k].first + " -> " + kWay[k].second).c_str(), m,
                    w, median > 0 ? m / median : 0.0, c, wc);
    }
    std::printf("longest frame of any switch: %.1f ms, %.1f ms of CPU (goal: at most 50 ms)\n", worst, worstCpu);
    return 0;
}
