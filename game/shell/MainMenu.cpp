#include "game/shell/MainMenu.h"

#include "engine/system/Paths.h"

TMainMenuPtr MainMenu;

TMainMenuPtr CreateMainMenu() {
    auto screen = std::make_shared<TMainMenu>();
    screen->Init("MainMenu", bDir + "Screens/MainMenu/MainMenu.AppScreen");
    return screen;
}
