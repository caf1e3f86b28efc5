#include "game/progress/ProgressScreens.h"

#include "engine/system/Error.h"

namespace {
std::shared_ptr<TProgressScreens> handedIn;
bool missingTold = false;
}  // namespace

void SetProgressScreens(std::shared_ptr<TProgressScreens> screens) {
    handedIn = std::move(screens);
    missingTold = false;
}

std::shared_ptr<TAppScreen> ProgressScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>& level) {
    if (handedIn) return handedIn->ScreenOf(place, level);
    if (!missingTold) ProgramError("The progress was handed no screens: the player stays where they are", Here());
    missingTold = true;
    return nullptr;
}
