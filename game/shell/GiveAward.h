// The award announcement: the pop-up that hands the player a newly won award.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TGiveAward : public TAppPopUp {
public:
};

using TGiveAwardPtr = std::shared_ptr<TGiveAward>;

extern TGiveAwardPtr GiveAward;

// A new pop-up registered with Control as "GiveAward", file bDir + "PopUps/GiveAward/GiveAward.AppPopUp".
TGiveAwardPtr CreateGiveAward();
