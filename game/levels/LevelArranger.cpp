#include "game/levels/LevelArranger.h"

#include <algorithm>

#include "engine/system/Error.h"
#include "game/levels/Level.h"
#include "game/levels/LevelFiles.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::vector<std::shared_ptr<TTempLevel>> LevelArranger::AllLevels;
std::string LevelArranger::WorkFolder;

namespace {

// What one clue line adds: its length less its average run length (an integer division).
int LineDifficulty(const TNumberLine* line, int length) {
    if (!line || line->Number.empty()) return 0;
    const int total = line->CountAllNumbersValue();
    if (total == 0) return 0;
    return length - total / static_cast<int>(line->Number.size());
}

std::string InWorkFolder(const std::string& path) {
    if (LevelArranger::WorkFolder.empty()) return path;
    const char last = LevelArranger::WorkFolder.back();
    return LevelArranger::WorkFolder + (last == '/' ? "" : "/") + path;
}

}  // namespace

int TPACLevel::CountDifficulty() {
    int d = 0;
    // Each line is measured against its own length: a column is Rows cells long, a row Cols.
    for (int c = 0; c < Colors; ++c) {
        for (int col = 0; col < Cols; ++col) d += LineDifficulty(NumberV.At(c, col).get(), Rows);
        for (int row = 0; row < Rows; ++row) d += LineDifficulty(NumberH.At(c, row).get(), Cols);
    }
    return d;
}

std::string LevelArranger::SourcePath(int n) {
    return InWorkFolder("game/game/levels/Picross/Level-" + IntToString(n) + ".rql");
}

std::string LevelArranger::OutputFolder() { return InWorkFolder("_WORK  MATERIALS/_ARRANGED/"); }

std::string LevelArranger::OutputPath(int n) { return OutputFolder() + "level-" + IntToString(n) + ".rql"; }

bool TTempLevel::Save(int n) const {
    if (!level) return false;
    return SavePacLevel(level, LevelArranger::OutputPath(n), 1);
}

bool LevelArranger::LoadLevels() {
    AllLevels.clear();
    bool all = true;
    for (int n = 1; n <= Levels; ++n) {
        // The reader reports a missing or unreadable file itself.
        auto level = LoadPacLevel(SourcePath(n));
        if (!level) {
            all = false;
            continue;
        }
        auto record = std::make_shared<TTempLevel>();
        record->level = level;
        record->dif = level->CountDifficulty();
        AllLevels.push_back(record);
    }
    return all;
}

int LevelArranger::SortFunc(const TTempLevel& o1, const TTempLevel& o2) {
    return (o2.dif > o1.dif) - (o2.dif < o1.dif);
}

int LevelArranger::Mainloop() {
    if (SpecialLoads) SpecialLoads->Setup();
    else TSpecialLoads().Setup();
    SetupNumbers();
    if (!LoadLevels()) {
        Error("Not every level of '" + InWorkFolder("game/game/levels/Picross/") +
                  "' could be read; nothing was arranged",
              Here());
        return 1;
    }
    // Stable: levels of equal difficulty keep the order of their numbers.
    std::stable_sort(AllLevels.begin(), AllLevels.end(),
                     [](const auto& a, const auto& b) { return SortFunc(*a, *b) > 0; });
    const std::string folder = OutputFolder();
    if (!CreateDir(folder, true)) {
        Error("Can't create the folder '" + folder + "'; nothing was arranged", Here());
        return 1;
    }
    int written = 0;
    for (size_t i = 0; i < AllLevels.size(); ++i)
        if (AllLevels[i]->Save(static_cast<int>(i) + 1)) ++written;
    if (written != Levels) {
        Error("Only " + IntToString(written) + " of " + IntToString(Levels) + " arranged levels were written to '" +
                  folder + "'",
              Here());
        return 1;
    }
    Print("Arranged " + IntToString(Levels) + " levels into '" + folder + "'");
    return 0;
}
