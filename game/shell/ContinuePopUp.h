// The continue pop-up: offered over the main menu when the player has play in progress.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TContinuePopUp : public TAppPopUp {
public:
};

using TContinuePopUpPtr = std::shared_ptr<TContinuePopUp>;

extern TContinuePopUpPtr ContinuePopUp;

// A new pop-up registered with Control as "ContinuePopUp", file bDir + "PopUps/Continue/Continue.AppPopUp".
TContinuePopUpPtr CreateContinuePopUp();
