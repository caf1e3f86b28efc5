#include "game/progress/ProgressHooks.h"

std::function<std::shared_ptr<TAppScreen>(const std::shared_ptr<TLevel>&)> ProgressHooks::PlayLevel;
std::function<std::shared_ptr<TAppScreen>()> ProgressHooks::KingdomScreen;
std::function<std::shared_ptr<TAppScreen>()> ProgressHooks::StagesScreen;
std::function<std::shared_ptr<TAppScreen>()> ProgressHooks::SummaryScreen;
std::function<std::shared_ptr<TKingdomObject>(int)> ProgressHooks::FindBuilding;
std::function<bool()> ProgressHooks::BuildingsKnown;
std::function<int(const TKingdomObject&)> ProgressHooks::BuildingId;
