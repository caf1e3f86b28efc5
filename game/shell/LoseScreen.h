// The lose pop-up: shown over the game screen when a level is lost. It is a pop-up although its
// file has the screen extension.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TLoseScreen : public TAppPopUp {
public:
};

using TLoseScreenPtr = std::shared_ptr<TLoseScreen>;

extern TLoseScreenPtr LoseScreen;

// A new pop-up registered with Control as "LoseScreen", file bDir + "PopUps/LoseScreen/LoseSCreen.AppScreen".
TLoseScreenPtr CreateLoseScreen();
