// The awards pop-up: the catalogue of awards and which of them the player holds.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TAwardScreen : public TAppPopUp {
public:
};

using TAwardScreenPtr = std::shared_ptr<TAwardScreen>;

extern TAwardScreenPtr AwardsShow;

// A new pop-up registered with Control as "AwardsShow", file bDir + "PopUps/AwardsShow/AwardsShow.AppPopUp".
TAwardScreenPtr CreateAwardScreen();
