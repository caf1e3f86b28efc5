// The help pop-up of the game screen.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class THelp : public TAppPopUp {
public:
};

using THelpPtr = std::shared_ptr<THelp>;

extern THelpPtr HelpScreen;

// A new pop-up registered with Control as "Help", file bDir + "PopUps/Help/HelpScreen.AppPopUp".
THelpPtr CreateHelpScreen();
