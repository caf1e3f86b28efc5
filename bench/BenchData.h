// The repository's data/ folder for the benchmarks that read shipped data.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"

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
