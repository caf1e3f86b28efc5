#include "game/progress/ProgressHooks.h"

THook<std::shared_ptr<TAppScreen>(ProgressPlace, const std::shared_ptr<TLevel>&)> ProgressHooks::ScreenOf{
    "ProgressHooks::ScreenOf"};
THook<std::shared_ptr<TKingdomObject>(int)> ProgressHooks::FindBuilding{"ProgressHooks::FindBuilding"};
THook<bool()> ProgressHooks::BuildingsKnown{"ProgressHooks::BuildingsKnown"};
THook<int(const TKingdomObject&)> ProgressHooks::BuildingId{"ProgressHooks::BuildingId"};
