#include "game/shell/KingdomHelp.h"

#include "engine/system/Paths.h"

TKingdomHelpPtr KingdomHelpScreen;

TKingdomHelpPtr CreateKingdomHelpScreen() {
    auto popup = std::make_shared<TKingdomHelp>();
    popup->Init("KingdomHelp", bDir + "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp");
    return popup;
}
