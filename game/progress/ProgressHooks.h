// What a player's progress needs of the screens and of the kingdom's buildings, which are built
// on top of it: the slots start-up sets (engine/system/Hook.h). progress/ includes no screen.
#pragma once
#include <memory>

#include "engine/system/Hook.h"

class TAppScreen;
class TKingdomObject;
class TLevel;

// The places a player's progress sends the player to.
enum class ProgressPlace { Game, Kingdom, StagesMap, Summary };

// Why slots: a player's progress is read at start-up, before any screen or building is made, and
// its game flow (Game_StartNew, Game_Continue, ...) is started by screens of several folders.
// The buildings' three would go if the progress kept the ids it saves instead of the kingdom's
// objects.
struct ProgressHooks {
    // The one way the progress finds the screens of its flow: the screen of that place (null
    // when there is none). The game screen is handed the level first (the other places take no
    // level).
    static THook<std::shared_ptr<TAppScreen>(ProgressPlace place, const std::shared_ptr<TLevel>& level)> ScreenOf;
    // The kingdom's building of that id (null when there is none), whether the kingdom's
    // buildings are there to judge ids at all, and a building's id.
    static THook<std::shared_ptr<TKingdomObject>(int id)> FindBuilding;
    static THook<bool()> BuildingsKnown;
    static THook<int(const TKingdomObject& building)> BuildingId;
};
