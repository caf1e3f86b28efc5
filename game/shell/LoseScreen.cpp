#include "game/shell/LoseScreen.h"

#include "engine/system/Paths.h"

TLoseScreenPtr LoseScreen;

TLoseScreenPtr CreateLoseScreen() {
    auto popup = std::make_shared<TLoseScreen>();
    popup->Init("LoseScreen", bDir + "PopUps/LoseScreen/LoseSCreen.AppScreen");
    return popup;
}
