// A level of data/ laid out as the game screen lays it out on the 1024 x 768 picture, so that an
// input script can aim at its cells.
#pragma once
#include <memory>
#include <string>

#include "e2e/GameRun.h"
#include "engine/system/Paths.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Numbers.h"
#include "game/levels/Tile.h"
#include "platform/Files.h"

namespace e2e {

inline std::string DataDir() { return testsupport::SourceDir() + "/data/"; }

// Level n with its tiles' drawing places: the play-field tables and the clue-number images' sizes
// of data/, the board centred the way the game screen centres it.
inline std::shared_ptr<TPACLevel> LaidOutLevel(int n) {
    const std::string saved = bDir;
    bDir = DataDir();
    ResetPlayFieldTables();
    TSpecialLoads().Setup();
    SetNumberImageSizes([](int set, int value, float& w, float& h) {
        return testsupport::PngSize(DataDir() + "Game/PlayField/Numbers/" + std::to_string(set) + "-" + std::to_string(value) + ".png",
                       w, h);
    });
    auto level = LoadPacLevel(DataDir() + "Game/Levels/Picross/Level-" + std::to_string(n) + ".PACLevel");
    if (level) {
        level->Center();
        level->Center();
    }
    SetNumberImageSizes(nullptr);
    bDir = saved;
    return level;
}

}  // namespace e2e
