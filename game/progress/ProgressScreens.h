// The screens a player's progress sends the player to, which the code above it hands in:
// progress/ includes no screen.
#pragma once
#include <memory>

class TAppScreen;
class TLevel;

// The places a player's progress sends the player to.
enum class ProgressPlace { Game, KingdomScreen, StagesMap, Summary };

// What start-up, which makes every screen of the flow (the game screen, the kingdom, the stages
// map, the level summary), hands the progress once they are made.
class TProgressScreens {
public:
    virtual ~TProgressScreens() = default;
    // The screen of that place (null when there is none). The game screen is handed the level
    // first (the other places take no level).
    virtual std::shared_ptr<TAppScreen> ScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>& level) = 0;
};

// Hands the progress its screens (null: none again).
void SetProgressScreens(std::shared_ptr<TProgressScreens> screens);
// The screen of that place through what was handed in; null, with an error line once, when
// nothing was.
std::shared_ptr<TAppScreen> ProgressScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>& level = nullptr);
