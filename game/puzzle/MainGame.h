// The game screen: the one screen on which a picture-logic level is played.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TMainGame : public TAppScreen {
public:
};

using TMainGamePtr = std::shared_ptr<TMainGame>;

// The one game screen, registered as "GameScreen".
extern TMainGamePtr Game;

// A new game screen registered with Control as "GameScreen", file
// bDir + "Screens/MainGame/GameScreen.AppScreen"; the options pop-up offers Menu and Replay
// over it.
TMainGamePtr CreateMainGame();
