// The name-entry pop-up: where the player types a profile's name.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TEnterName : public TAppPopUp {
public:
};

using TEnterNamePtr = std::shared_ptr<TEnterName>;

extern TEnterNamePtr EnterName;

// A new pop-up registered with Control as "EnterName", file bDir + "PopUps/Entername/EnterName.AppPopUp".
TEnterNamePtr CreateEnterName();
