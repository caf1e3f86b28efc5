#include "game/shell/Awards.h"

std::vector<TAwardPtr> AwardsList;

TAwardPtr GetAwardById(int id) {
    for (const auto& award : AwardsList)
        if (award && award->id == id) return award;
    return nullptr;
}
