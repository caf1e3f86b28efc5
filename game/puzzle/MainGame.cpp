#include "game/puzzle/MainGame.h"

#include "engine/system/Paths.h"
#include "game/puzzle/Level.h"
#include "game/shell/Options.h"

TMainGamePtr Game;

int TMainGame::SetData(const std::shared_ptr<TLevel>& level) {
    CurrLevel = level;
    return 0;
}

TMainGamePtr CreateMainGame() {
    auto game = std::make_shared<TMainGame>();
    game->Init("GameScreen", bDir + "Screens/MainGame/GameScreen.AppScreen");
    OptionsSettings::AddScreen(game);
    return game;
}
