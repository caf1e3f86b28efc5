#include "game/shell/Help.h"

#include "engine/system/Paths.h"

THelpPtr HelpScreen;

THelpPtr CreateHelpScreen() {
    auto popup = std::make_shared<THelp>();
    popup->Init("Help", bDir + "PopUps/Help/HelpScreen.AppPopUp");
    return popup;
}
