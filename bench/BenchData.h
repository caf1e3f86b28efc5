// The repository's data/ folder for the benchmarks that read shipped data, and the check that a
// benchmark running the game in-process measured something.
#pragma once
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

// $QUILTORA_DATA, else the first "data" folder holding `probe` (a path inside it) found upwards
// from the working folder or from the benchmark's own folder; "" when none.
inline std::string FindDataDir(const std::string& probe) {
    if (const char* env = std::getenv("QUILTORA_DATA")) return env;
    std::vector<std::string> starts = {CurrentDir()};
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) starts.push_back(exe.parent_path().string());
    for (std::string dir : starts) {
        for (int up = 0; up < 6 && !dir.empty(); ++up) {
            const std::string data = JoinPath(dir, "data");
            if (FileType(JoinPath(data, probe)) == 1) return data;
            dir = ExtractDir(dir);
        }
    }
    return "";
}

// Runs `work`, catching what it prints on standard output (where the game's error and warning
// lines go), which is passed on; gives the error and warning lines among it.
inline std::vector<std::string> ReportLinesOf(const std::function<void()>& work) {
    std::fflush(stdout);
    FILE* caught = std::tmpfile();
    const int saved = dup(1);
    if (caught) dup2(fileno(caught), 1);
    work();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::vector<std::string> reports;
    if (!caught) return reports;
    std::rewind(caught);
    char line[4096];
    while (std::fgets(line, sizeof line, caught)) {
        std::fputs(line, stdout);
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        if (testsupport::IsReportLine(text)) reports.push_back(text);
    }
    std::fclose(caught);
    return reports;
}

// A benchmark of the game set up by `setUp` (whose error and warning lines are caught) and drawn
// by `draw` (a frame drawn, not shown) measured nothing when the game reported an error or a
// warning, or the frame is blank (one colour over 99% of it, as bench/gamerun.py judges the game's
// own runs): the benchmark is then failed with the reason (and false returned).
inline bool GameMeasurable(benchmark::State& state, const std::function<void()>& setUp,
                           const std::function<void()>& draw) {
    const std::vector<std::string> reports = ReportLinesOf(setUp);
    if (!reports.empty()) {
        state.SkipWithError(("the game reported " + std::to_string(reports.size()) +
                             " error or warning lines, the "
                             "first: " +
                             reports.front())
                                .c_str());
        return false;
    }
    draw();
    if (CommonestColourShare(GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight())) >= 0.99) {
        state.SkipWithError("the game's frame is blank");
        return false;
    }
    return true;
}
