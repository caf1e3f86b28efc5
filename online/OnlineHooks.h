// What the newsletter window and the rate screen need of the game's own screens. online/
// includes no screen of the game: the main menu, the game screen and the options each set their
// hook when they are made. Until then a hook does nothing.
#pragma once
#include <functional>
#include <memory>

class TAppScreen;

struct OnlineHooks {
    // The main menu, to go back to (null while there is none).
    static std::function<std::shared_ptr<TAppScreen>()> MainMenuScreen;
    // Draws the game screen under the newsletter window.
    static std::function<void()> DrawGameScreen;
    // Switches between window and full screen through the options, which remember the choice;
    // false when there are no options to do it.
    static std::function<bool()> SwitchFullScreen;
};
