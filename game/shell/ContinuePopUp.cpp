#include "game/shell/ContinuePopUp.h"

#include "engine/system/Paths.h"

TContinuePopUpPtr ContinuePopUp;

TContinuePopUpPtr CreateContinuePopUp() {
    auto popup = std::make_shared<TContinuePopUp>();
    popup->Init("ContinuePopUp", bDir + "PopUps/Continue/Continue.AppPopUp");
    return popup;
}
