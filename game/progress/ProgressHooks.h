// What a player's progress needs of the kingdom's buildings, which are built on top of it: the
// slots start-up sets (engine/system/Hook.h). Its screens are handed in (ProgressScreens.h).
#pragma once
#include <memory>

#include "engine/system/Hook.h"

class TKingdomObject;

// Why slots: a player's progress is read at start-up, before any building is made, and keeps the
// kingdom's objects it finds by the saved ids; the three would go if the progress kept the ids
// it saves instead of the kingdom's objects.
struct ProgressHooks {
    // The kingdom's building of that id (null when there is none), whether the kingdom's
    // buildings are there to judge ids at all, and a building's id.
    static THook<std::shared_ptr<TKingdomObject>(int id)> FindBuilding;
    static THook<bool()> BuildingsKnown;
    static THook<int(const TKingdomObject& building)> BuildingId;
};
