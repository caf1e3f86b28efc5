// The help pop-up of the kingdom screen: the game help's behaviour (Help.h) with its own file;
// the kingdom shows it once per player on its first update.
#pragma once
#include <memory>

#include "game/shell/Help.h"

class TKingdomHelp : public THelp {
public:
};

using TKingdomHelpPtr = std::shared_ptr<TKingdomHelp>;

extern TKingdomHelpPtr KingdomHelpScreen;

// A new pop-up registered with Control as "KingdomHelp", file bDir + "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp".
TKingdomHelpPtr CreateKingdomHelpScreen();
