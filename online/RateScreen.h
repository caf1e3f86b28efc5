// The rate-the-game screen, reached from the main menu and from play.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TRateScreen : public TAppScreen {
public:
    // 1 when the screen was opened from play, 0 from the main menu (which sets it).
    int initFromGame = 0;

    // A new rate screen registered with Control as "RateScreen", file
    // bDir + "Screens/RateScreen/RateScreen.AppScreen".
    static std::shared_ptr<TRateScreen> Create();
};

using TRateScreenPtr = std::shared_ptr<TRateScreen>;

extern TRateScreenPtr RateScreen;
