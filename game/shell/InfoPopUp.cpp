#include "game/shell/InfoPopUp.h"

#include "engine/system/Paths.h"

TInfoPopUpPtr InfoPopUp;

TInfoPopUpPtr CreateInfoPopUp() {
    auto popup = std::make_shared<TInfoPopUp>();
    popup->Init("Info", bDir + "PopUps/InfoPopUp/InfoPopUp.AppPopUp");
    return popup;
}
