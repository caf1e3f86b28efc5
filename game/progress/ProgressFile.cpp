#include "game/progress/ProgressFile.h"

#include <algorithm>

#include "engine/basics/Basics.h"
#include "game/progress/Awards.h"
#include "game/progress/PlayerNames.h"
#include "game/progress/Profile.h"
#include "game/progress/SaveFiles.h"
#include "platform/Strings.h"

namespace {

using V = ProgressValue;
using P = TProfile;

int LevelInRange(int level) { return std::clamp(level, 1, MaxLevel); }
// A save number beyond any real count reads as none (the file's check fails on it as well).
int SaveNumberInRange(int n) { return n >= 0 && n <= kMaxSaveNumber ? n : 0; }
// 0 is an old profile's "not started" (the music player takes it as 1); anything else outside
// the cycle starts it again.
int MusicInCycle(int track) { return track < 0 || track > MusicTracksInCycle ? 1 : track; }
// The stage selects the kingdom's offers, four to a stage.
int StageInRange(int stage) { return std::clamp(stage, 0, MaxBuildingStage); }

constexpr ProgressBlockInfo kBlocks[] = {
    {"Data", "the level and score"}, {"Levels", "the levels played"}, {"Stats", "the award counters"},
    {"Buildings", "the kingdom"},    {"Awards", "the awards"},
};

// block, key, value, field, range on reading, a new game's value, kept by a new game, added by
// this build.
constexpr ProgressEntry kEntries[] = {
    {"Data", "Name", V::Name, nullptr, nullptr, nullptr, 0, true},
    {"Data", "Level", V::Number, &P::Level, nullptr, LevelInRange, 1},
    {"Data", "SaveCount", V::Number, &P::SaveCount, nullptr, SaveNumberInRange, 0, true, true},
    {"Data", "Score", V::Number, &P::Score},
    {"Data", "Stars", V::Number, &P::Stars},
    {"Data", "Screen", V::Text, nullptr, &P::CurrScreen},
    {"Data", "MapScreenAnimationShowed", V::Number, &P::MapScreenAnimationShowed},
    {"Data", "TutorialScreenShowed", V::Number, &P::TutorialScreenShowed},
    {"Data", "KingdomTutorialScreenShowed", V::Number, &P::KingdomTutorialScreenShowed},
    {"Data", "CurrMusic", V::Number, &P::CurrMusicNumber, nullptr, MusicInCycle, 1},
    {"Data", "MapY", V::Number, &P::MapY},
    {"Data", "LevelInProgress", V::Number, &P::HasLevelInProgress, nullptr, nullptr, 0, false, true},
    {"Levels", "i", V::Count},
    {"Levels", "Level", V::Records},
    // (The entry names of the two hint counters are the file's, not the fields'.)
    {"Stats", "LevelsWithoutMistakes", V::Int, &P::LevelsWithoutMistakes},
    {"Stats", "LevelWithoutHint", V::Int, &P::LevelsWithoutHint},
    {"Stats", "LevelWithHint", V::Int, &P::LevelsWithHint},
    {"Stats", "HintUsed", V::Int, &P::HintUsed},
    {"Stats", "TilesUncovered", V::Int, &P::TilesUncovered},
    {"Stats", "TilesCrossed", V::Int, &P::TilesCrossed},
    {"Stats", "CashSpend", V::Int, &P::CashSpend},
    {"Buildings", "i", V::Count},
    {"Buildings", "BuildingStage", V::Number, &P::BuildingStage, nullptr, StageInRange},
    {"Buildings", "Object", V::Buildings},
    {"Awards", "AwardsList", V::Awards, nullptr, nullptr, nullptr, 0, true},
};

// How many numbered entries the block's list gives (the list entry of the same block).
int ListSize(const TProfile& p, const std::string& block) {
    for (const ProgressEntry& e : kEntries) {
        if (!NamesEqual(e.block, block)) continue;
        if (e.value == V::Records) return static_cast<int>(p.Levels.size());
        if (e.value == V::Buildings) return static_cast<int>(p.Buildings.size());
    }
    return 0;
}

// The ids of the kingdom's buildings, as the kingdom handed them in (empty until it did).
std::vector<int> gKnownBuildings;

// Ids that name none of the kingdom's buildings are dropped; without the kingdom's buildings no
// id can be judged, and each is kept for the next save.
void ReadBuildings(TProfile& p, const TBlockFilePtr& block, const std::string& key) {
    for (const auto& entry : CountedEntries(block, key)) {
        const int id = TruncToInt(entry->GetFloat(0));
        if (gKnownBuildings.empty() ||
            std::find(gKnownBuildings.begin(), gKnownBuildings.end(), id) != gKnownBuildings.end())
            p.Buildings.push_back(id);
    }
}

void ReadAwards(TProfile& p, const std::string& list) {
    p.Awards.clear();
    p.UnresolvedAwardIds.clear();
    for (const std::string& piece : TokenizeString(list, " ")) {
        const int id = StringToInt(piece);
        if (auto award = GetAwardById(id)) {
            p.Awards.push_back(award);
        } else if (AwardsList.empty() && id != 0) {
            // Without the award catalogue no id can be judged: keep it for the next save.
            p.UnresolvedAwardIds.push_back(id);
        }
    }
}

std::string AwardIds(const TProfile& p) {
    std::string list;
    for (const auto& a : p.Awards)
        if (a) list += std::to_string(a->id) + " ";
    for (int id : p.UnresolvedAwardIds) list += std::to_string(id) + " ";
    return Trim(list);
}

}  // namespace

void SetKnownBuildingIds(std::vector<int> ids) { gKnownBuildings = std::move(ids); }

int ReadProfileNumber(const TBlockFilePtr& block, std::string_view path) {
    return TruncToInt(GetBFNumber(block, path));
}

std::span<const ProgressBlockInfo> ProgressBlocksTable() { return kBlocks; }

std::vector<TBlockFilePtr> CountedEntries(const TBlockFilePtr& block, const std::string& prefix) {
    const int count = std::clamp(ReadProfileNumber(block, "i"), 0, static_cast<int>(block->SubFiles.size()));
    std::vector<TBlockFilePtr> entries;
    for (int k = 1; k <= count; ++k)
        if (auto entry = GetBlockEntryNO_NEW(block, prefix + std::to_string(k))) entries.push_back(entry);
    return entries;
}

void WriteProgressBlock(const TProfile& p, const TBlockFilePtr& root, const std::string& name) {
    auto block = CreateBlockFile(name, root);
    for (const ProgressEntry& e : kEntries) {
        if (!NamesEqual(e.block, name)) continue;
        switch (e.value) {
            case V::Name: AddStringToBlock(block, e.key, Trim(p.name)); break;
            case V::Text: AddStringToBlock(block, e.key, p.*e.text); break;
            case V::Number:
            case V::Int: AddIntToBlock(block, e.key, p.*e.number); break;
            case V::Count: AddIntToBlock(block, e.key, ListSize(p, name)); break;
            case V::Records: {
                int k = 1;
                for (const auto& level : p.Levels)
                    AddStringToBlock(block, e.key + std::to_string(k++), level->ToString());
                break;
            }
            case V::Buildings: {
                int k = 1;
                for (int id : p.Buildings) AddIntToBlock(block, e.key + std::to_string(k++), id);
                break;
            }
            case V::Awards: AddStringToBlock(block, e.key, AwardIds(p)); break;
        }
    }
}

void ReadProgressBlock(TProfile& p, const TBlockFilePtr& root, const std::string& name) {
    auto block = GetBlockFile(root, name);
    for (const ProgressEntry& e : kEntries) {
        if (!NamesEqual(e.block, name)) continue;
        switch (e.value) {
            case V::Name: {
                // The Id is not recomputed here: it stays the one the index's name gave until the
                // next save.
                const std::string fileName = PlayerName(GetBFString(block, e.key));
                if (!fileName.empty()) p.name = fileName;
                break;
            }
            case V::Text: p.*e.text = GetBFString(block, e.key); break;
            case V::Number:
            case V::Int: {
                const int n = e.value == V::Number ? ReadProfileNumber(block, e.key) : GetBFInt(block, e.key);
                p.*e.number = e.onReading ? e.onReading(n) : n;
                break;
            }
            case V::Count: break;  // (read by the list it counts)
            case V::Records:
                // Appended: reading assumes a new profile.
                for (const auto& entry : CountedEntries(block, e.key))
                    p.Levels.push_back(CreateProfileLevelFromString(entry->GetString(0)));
                break;
            case V::Buildings: ReadBuildings(p, block, e.key); break;
            case V::Awards: ReadAwards(p, GetBFString(block, e.key)); break;
        }
    }
}

bool isProgressBlockComplete(const TBlockFilePtr& root, const std::string& name) {
    auto block = GetBlockFileNO_NEW(root, name);
    if (!block) return false;
    auto has = [&](const std::string& entry) { return GetBlockEntryNO_NEW(block, entry) != nullptr; };
    for (const ProgressEntry& e : kEntries) {
        if (!NamesEqual(e.block, name) || e.added) continue;
        if (e.value == V::Count) {
            const int count = ReadProfileNumber(block, e.key);
            if (!has(e.key) || count < 0 || count > static_cast<int>(block->SubFiles.size())) return false;
        } else if (e.value == V::Records || e.value == V::Buildings) {
            const int count = ReadProfileNumber(block, "i");
            for (int k = 1; k <= count; ++k)
                if (!has(e.key + std::to_string(k))) return false;
        } else if (!has(e.key)) {
            return false;
        }
    }
    return true;
}

void ResetProgressForNewGame(TProfile& p) {
    for (const ProgressEntry& e : kEntries) {
        if (e.keptByNewGame) continue;
        switch (e.value) {
            case V::Name:
            case V::Count:
            case V::Awards: break;
            case V::Text: (p.*e.text).clear(); break;
            case V::Number:
            case V::Int: p.*e.number = e.newGame; break;
            case V::Records: p.Levels.clear(); break;
            case V::Buildings: p.Buildings.clear(); break;
        }
    }
}
