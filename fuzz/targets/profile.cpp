// The players' files (the input's five NUL-separated parts): the index "Profiles.dat", the
// progress file of the player "ANN" it may name, that player's level in progress, and the
// previous save of both (".bak"), which a damaged or mismatched file falls back on. Read the
// way start-up reads them, written back the way exit writes them, and read again: the second
// reading must find the same players, and the progress and the level in progress (the pair of
// one save from the first writing on) must settle after one round.
#include <vector>

#include "FuzzSupport.h"
#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/progress/Profile.h"
#include "game/levels/Level.h"
#include "game/shell/ProfileManager.h"
#include "platform/Files.h"

namespace {

struct Seen {
    std::string id;
    int level, score, stars, records, buildingStage;
    std::string screen;
    bool board;  // a level in progress
    int boardSeconds, boardMistakes;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> ReadPlayers() {
    Control::Reset();
    Profiles = CreateProfileManager();
    Profiles->OnSetup();
    std::vector<Seen> seen;
    for (const auto& p : Profiles->ProfilesList) {
        // The Id follows the name, which the progress file gives: the Id the next save uses.
        p->InitID();
        p->Game_CountStars();
        p->CanContinue();
        const auto& board = p->CurrLevel;
        const auto* pac = dynamic_cast<const TPACLevel*>(board.get());
        seen.push_back({p->FileName, p->Level, p->Score, p->Stars, static_cast<int>(p->Levels.size()), p->BuildingStage,
                        p->CurrScreen, board != nullptr, board ? board->LevelSeconds : 0, pac ? pac->Mistakes : 0});
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 5);
    const std::string folder = AppDataFolder + "/Profiles/";
    CreateDir(folder, true);
    fuzz::WriteFile(folder + "Profiles.dat", parts[0]);
    // "ANN" (the Id of a name is its characters' codes).
    const char* const files[] = {"65-78-78.AppProfile", "65-78-78.PACLEVEL", "65-78-78.AppProfile.bak",
                                 "65-78-78.PACLEVEL.bak"};
    for (int k = 0; k < 4; ++k)
        if (!parts[k + 1].empty()) fuzz::WriteFile(folder + files[k], parts[k + 1]);

    const std::vector<Seen> first = ReadPlayers();
    Profiles->SaveAtEnd();
    const bool kept = Profiles->isIndexKept != 0;
    const std::vector<Seen> second = ReadPlayers();
    Profiles->SaveAtEnd();
    const std::vector<Seen> third = ReadPlayers();
    // The same players come back (an index the game could not set aside is never written, and
    // then there is nothing to compare). Reading brings values into their ranges, so the
    // progress itself must come back unchanged from the second writing on.
    if (!kept) {
        if (first.size() != second.size()) __builtin_trap();
        for (size_t i = 0; i < first.size(); ++i)
            if (first[i].id != second[i].id) __builtin_trap();
        if (second != third) __builtin_trap();
    }

    Profiles = nullptr;
    ResetProfileGlobals();
    Control::Reset();
    return 0;
}
