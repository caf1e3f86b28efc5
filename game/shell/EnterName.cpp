#include "game/shell/EnterName.h"

#include "engine/system/Paths.h"

TEnterNamePtr EnterName;

TEnterNamePtr CreateEnterName() {
    auto popup = std::make_shared<TEnterName>();
    popup->Init("EnterName", bDir + "PopUps/Entername/EnterName.AppPopUp");
    return popup;
}
