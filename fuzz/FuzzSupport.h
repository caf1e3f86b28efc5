// What every fuzz target shares: a private folder for the files a run writes, a copy of the
// game's data folder for the files a loader looks up beside its input, quiet output, and a
// clean engine state before each run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Once per process: the private folder with its copy of the data folder (without the sounds),
// standard output silenced (the engine's report lines would drown libFuzzer's own, which go to
// standard error), the engine's object kinds installed.
void Init();

// Before each run: RunDir() emptied and the engine's globals back to a fresh start, with the
// data folder (bDir) at DataDir(), the language folder at bDir + "Local/en/" and the per-user
// folder inside RunDir().
void BeginRun();

// The data folder's copy (ends with "/"). Targets write their input over files in it.
std::string DataDir();
// A folder emptied before every run (no trailing slash).
std::string RunDir();

// How many of a block's children or a section's pairs a target looks up by name: each lookup
// walks the list, so looking up every one of a file at its budget (131072 entries) would cost
// the square of it, a price of the target and not of the game, which looks up the names it
// knows.
constexpr size_t kLookups = 64;

// Writes bytes to a file, creating its folders.
void WriteFile(const std::string& path, std::string_view bytes);
inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The heap's peak over a stretch of a run: the most bytes allocated and not yet freed at any
// moment since StartHeapWatch, less what was live at its start (allocations on every thread
// count). Targets with a memory budget check it for every input.
void StartHeapWatch();
int64_t HeapPeakBytes();

// The input cut at NUL bytes into exactly n parts (the last takes the rest; missing ones are
// empty). Targets that need several files take one part each.
std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t n);

}  // namespace fuzz
