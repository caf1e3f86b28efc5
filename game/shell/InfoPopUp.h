// The message pop-up: the one message and question pop-up of the game.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TInfoPopUp : public TAppPopUp {
public:
};

using TInfoPopUpPtr = std::shared_ptr<TInfoPopUp>;

extern TInfoPopUpPtr InfoPopUp;

// A new pop-up registered with Control as "Info", file bDir + "PopUps/InfoPopUp/InfoPopUp.AppPopUp".
TInfoPopUpPtr CreateInfoPopUp();
