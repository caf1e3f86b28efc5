// What a player's progress needs of the screens and of the kingdom's buildings, which are built
// on top of it. progress/ includes no screen: the game screen, the kingdom, the stages map and
// the level summary set their hooks when they are made, and the kingdom its buildings'. Until
// then a hook does nothing or finds nothing: a profile read without the kingdom keeps its
// building ids as they are.
#pragma once
#include <functional>
#include <memory>

class TAppScreen;
class TKingdomObject;
class TLevel;

struct ProgressHooks {
    // Hands the level to the game screen and gives the screen to switch to (null while there is
    // no game screen).
    static std::function<std::shared_ptr<TAppScreen>(const std::shared_ptr<TLevel>& level)> PlayLevel;
    // The kingdom, the stages map and the level summary (null while there is none).
    static std::function<std::shared_ptr<TAppScreen>()> KingdomScreen;
    static std::function<std::shared_ptr<TAppScreen>()> StagesScreen;
    static std::function<std::shared_ptr<TAppScreen>()> SummaryScreen;
    // The kingdom's building of that id (null when there is none), whether the kingdom's
    // buildings are there to judge ids at all, and a building's id.
    static std::function<std::shared_ptr<TKingdomObject>(int id)> FindBuilding;
    static std::function<bool()> BuildingsKnown;
    static std::function<int(const TKingdomObject& building)> BuildingId;
};
