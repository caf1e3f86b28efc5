// The level summary: the screen after a won level, with its score, stars and awards. It is a
// screen although its file lies among the pop-ups.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TEngParticlePackage;
class TLevel;

class TLevelSummary : public TAppScreen {
public:
    // The particle package the summary draws (the landing stars emit into it); made at start-up.
    static std::shared_ptr<TEngParticlePackage> Package;

    // The level just won, handed over by the game screen before it switches here.
    std::shared_ptr<TLevel> CurrLevel;

    // Stores the won level.
    virtual int SetData(const std::shared_ptr<TLevel>& level);
};

using TLevelSummaryPtr = std::shared_ptr<TLevelSummary>;

extern TLevelSummaryPtr LevelSummary;

// A new screen registered with Control as "Level Summary", file bDir + "PopUps/LevelSummary/LevelSummary.AppScreen".
TLevelSummaryPtr CreateLevelSummary();
