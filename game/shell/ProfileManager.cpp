#include "game/shell/ProfileManager.h"

#include "engine/screen/Control.h"
#include "engine/system/Paths.h"

TProfileManagerPtr Profiles;

TProfileManagerPtr CreateProfileManager() {
    auto manager = std::make_shared<TProfileManager>();
    manager->isAtEndSetuped = 1;
    manager->Init("ProfileManager", bDir + "PopUps/Profiles/Profiles.AppPopUp");
    Control::AddToSaveList(manager);
    return manager;
}
