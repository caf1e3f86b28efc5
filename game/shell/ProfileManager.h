// The profiles pop-up: the list of players and their files.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TProfileManager : public TAppPopUp {
public:
};

using TProfileManagerPtr = std::shared_ptr<TProfileManager>;

extern TProfileManagerPtr Profiles;

// A new profiles pop-up registered as "ProfileManager", file
// bDir + "PopUps/Profiles/Profiles.AppPopUp", set up after every other pop-up
// (isAtEndSetuped) and put on the save-at-end list.
TProfileManagerPtr CreateProfileManager();
