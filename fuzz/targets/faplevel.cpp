// Neighbour-count level files: a ".FAPLevel" read (grid, colours, numbers, paint and crosses),
// played a little (painting, crossing and clearing cells recounts the numbers around them),
// written back and read again.
#include <algorithm>

#include "FuzzSupport.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/LevelFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string path = fuzz::RunDir() + "/Level.FAPLevel";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    auto level = std::dynamic_pointer_cast<TFAPLevel>(LoadLevel(path));
    if (!level) return 0;
    // Every layer in turn is the one the player works in.
    const int colours = std::max(level->Colors, 1);
    const int cells = std::min(level->Cols * level->Rows, 64);
    for (int i = 0; i < cells; ++i) {
        auto t = level->GetTile(i % level->Cols, i / level->Cols);
        if (!t) continue;
        const int k = i % colours;
        TFTile::CurrentColorIndex = k;
        t->Show(level->ColorArr.empty() ? 0 : level->ColorArr[k]);
        t->Mark(k);
        t->Show(t->isNumber);
        if (i % 3 == 0) t->UnMark(k);
        if (i % 5 == 0) t->Show(0);
    }
    TFTile::CurrentColorIndex = 0;
    const std::string copy = fuzz::RunDir() + "/Copy.FAPLevel";
    if (SaveLevel(level, copy)) LoadLevel(copy);
    return 0;
}
