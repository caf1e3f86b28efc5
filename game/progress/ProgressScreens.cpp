#include "game/progress/ProgressScreens.h"

#include "engine/system/Error.h"
#include "engine/system/Hook.h"

namespace {
// A slot (engine/system/Hook.h): counted and checked with every other way up.
THookObject<TProgressScreens> handedIn{"ProgressScreens"};
bool missingTold = false;
}  // namespace

void SetProgressScreens(std::shared_ptr<TProgressScreens> screens) {
    handedIn = std::move(screens);
    missingTold = false;
}

std::shared_ptr<TAppScreen> ProgressScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>& level) {
    if (const std::shared_ptr<TProgressScreens> screens = handedIn.Get()) return screens->ScreenOf(place, level);
    if (!missingTold) ProgramError("The progress was handed no screens: the player stays where they are", Here());
    missingTold = true;
    return nullptr;
}
