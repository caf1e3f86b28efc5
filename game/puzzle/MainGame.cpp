#include "game/puzzle/MainGame.h"

#include "engine/system/Paths.h"
#include "game/shell/Options.h"

TMainGamePtr Game;

TMainGamePtr CreateMainGame() {
    auto game = std::make_shared<TMainGame>();
    game->Init("GameScreen", bDir + "Screens/MainGame/GameScreen.AppScreen");
    OptionsSettings::AddScreen(game);
    return game;
}
