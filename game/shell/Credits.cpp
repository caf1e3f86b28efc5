#include "game/shell/Credits.h"

#include "engine/system/Paths.h"

TCreditsPtr Credits;

TCreditsPtr CreateCreditsScreen() {
    auto screen = std::make_shared<TCredits>();
    screen->Init("Credits", bDir + "Screens/Credits/Credits.AppScreen");
    return screen;
}
