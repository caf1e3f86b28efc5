#include "game/shell/StagesScreen.h"

#include "engine/system/Paths.h"

TStagesScreenPtr StagesScreen;

TStagesScreenPtr CreateStagesScreen() {
    auto screen = std::make_shared<TStagesScreen>();
    screen->Init("Stages", bDir + "Screens/Stages/Stages.AppScreen");
    return screen;
}
