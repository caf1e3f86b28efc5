#include "game/shell/AwardScreen.h"

#include "engine/system/Paths.h"

TAwardScreenPtr AwardsShow;

TAwardScreenPtr CreateAwardScreen() {
    auto popup = std::make_shared<TAwardScreen>();
    popup->Init("AwardsShow", bDir + "PopUps/AwardsShow/AwardsShow.AppPopUp");
    return popup;
}
