// The stages map: the path of levels that leads from one level to the next.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TStagesScreen : public TAppScreen {
public:
};

using TStagesScreenPtr = std::shared_ptr<TStagesScreen>;

extern TStagesScreenPtr StagesScreen;

// A new screen registered with Control as "Stages", file bDir + "Screens/Stages/Stages.AppScreen".
TStagesScreenPtr CreateStagesScreen();
