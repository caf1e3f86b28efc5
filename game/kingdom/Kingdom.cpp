#include "game/kingdom/Kingdom.h"

#include "engine/system/Paths.h"

TKingdomPtr Kingdom;

TKingdomPtr CreateKingdomScreen() {
    auto screen = std::make_shared<TKingdom>();
    screen->Init("Kingdom", bDir + "Screens/Kingdom/Kingdom.AppScreen");
    return screen;
}
