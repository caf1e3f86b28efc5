#include "game/kingdom/KingdomObject.h"

std::vector<TKingdomObjectPtr> AllKingdomObjects;

TKingdomObjectPtr GetKingdomObject(int id) {
    for (const auto& building : AllKingdomObjects)
        if (building && building->id == id) return building;
    return nullptr;
}
