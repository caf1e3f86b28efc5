// The credits roll, opened from the options pop-up.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TCredits : public TAppScreen {
public:
};

using TCreditsPtr = std::shared_ptr<TCredits>;

extern TCreditsPtr Credits;

// A new screen registered with Control as "Credits", file bDir + "Screens/Credits/Credits.AppScreen".
TCreditsPtr CreateCreditsScreen();
