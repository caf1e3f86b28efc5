#include "online/RateScreen.h"

#include "engine/system/Paths.h"

TRateScreenPtr RateScreen;

TRateScreenPtr TRateScreen::Create() {
    auto screen = std::make_shared<TRateScreen>();
    screen->Init("RateScreen", bDir + "Screens/RateScreen/RateScreen.AppScreen");
    return screen;
}
