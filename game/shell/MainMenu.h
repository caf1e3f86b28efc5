// The main menu: the screen that follows loading, from which the player starts or continues play,
// opens the options and the players, rates the game or leaves.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TMainMenu : public TAppScreen {
public:
};

using TMainMenuPtr = std::shared_ptr<TMainMenu>;

extern TMainMenuPtr MainMenu;

// A new screen registered with Control as "MainMenu", file bDir + "Screens/MainMenu/MainMenu.AppScreen".
TMainMenuPtr CreateMainMenu();
