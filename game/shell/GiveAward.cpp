#include "game/shell/GiveAward.h"

#include "engine/system/Paths.h"

TGiveAwardPtr GiveAward;

TGiveAwardPtr CreateGiveAward() {
    auto popup = std::make_shared<TGiveAward>();
    popup->Init("GiveAward", bDir + "PopUps/GiveAward/GiveAward.AppPopUp");
    return popup;
}
