// What the newsletter window and the rate screen need of the game's own screens: the slots
// start-up sets (engine/system/Hook.h). online/ includes no screen of the game.
#pragma once
#include <memory>

#include "engine/system/Hook.h"

class TAppScreen;

struct OnlineHooks {
    // The main menu, to go back to (null while there is none).
    static THook<std::shared_ptr<TAppScreen>()> MainMenuScreen;
    // Draws the game screen under the newsletter window.
    static THook<void()> DrawGameScreen;
};
