#include "online/OnlineHooks.h"

THook<std::shared_ptr<TAppScreen>()> OnlineHooks::MainMenuScreen{"OnlineHooks::MainMenuScreen"};
THook<void()> OnlineHooks::DrawGameScreen{"OnlineHooks::DrawGameScreen"};
