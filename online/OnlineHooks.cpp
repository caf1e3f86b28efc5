#include "online/OnlineHooks.h"

std::function<std::shared_ptr<TAppScreen>()> OnlineHooks::MainMenuScreen;
std::function<void()> OnlineHooks::DrawGameScreen;
std::function<bool()> OnlineHooks::SwitchFullScreen;
