// Level files: a ".PACLevel" read (grid, colours, clue numbers, play state), written back and
// read again.
#include "FuzzSupport.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string path = fuzz::RunDir() + "/Level.PACLevel";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    auto level = LoadLevel(path);
    if (!level) return 0;
    const std::string copy = fuzz::RunDir() + "/Copy.PACLevel";
    if (SaveLevel(level, copy)) LoadLevel(copy);
    return 0;
}
