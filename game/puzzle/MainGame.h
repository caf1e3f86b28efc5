// The game screen: the one screen on which a picture-logic level is played.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TLevel;

class TMainGame : public TAppScreen {
public:
    // The level being played (in play a TPACLevel).
    std::shared_ptr<TLevel> CurrLevel;

    // Makes level the level the screen plays, before the switch to the screen.
    virtual int SetData(const std::shared_ptr<TLevel>& level);
};

using TMainGamePtr = std::shared_ptr<TMainGame>;

// The one game screen, registered as "GameScreen".
extern TMainGamePtr Game;

// A new game screen registered with Control as "GameScreen", file
// bDir + "Screens/MainGame/GameScreen.AppScreen"; the options pop-up offers Menu and Replay
// over it.
TMainGamePtr CreateMainGame();
