#include "game/progress/ProgressHooks.h"

THook<std::shared_ptr<TKingdomObject>(int)> ProgressHooks::FindBuilding{"ProgressHooks::FindBuilding"};
THook<bool()> ProgressHooks::BuildingsKnown{"ProgressHooks::BuildingsKnown"};
THook<int(const TKingdomObject&)> ProgressHooks::BuildingId{"ProgressHooks::BuildingId"};
