// The help pop-up of the kingdom.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TKingdomHelp : public TAppPopUp {
public:
};

using TKingdomHelpPtr = std::shared_ptr<TKingdomHelp>;

extern TKingdomHelpPtr KingdomHelpScreen;

// A new pop-up registered with Control as "KingdomHelp", file bDir + "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp".
TKingdomHelpPtr CreateKingdomHelpScreen();
