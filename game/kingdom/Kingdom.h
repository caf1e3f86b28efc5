// The kingdom screen, where the score buys buildings stage by stage and creatures live.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TKingdom : public TAppScreen {
public:
};

using TKingdomPtr = std::shared_ptr<TKingdom>;

extern TKingdomPtr Kingdom;

// A new screen registered with Control as "Kingdom", file bDir + "Screens/Kingdom/Kingdom.AppScreen".
TKingdomPtr CreateKingdomScreen();
