// The level summary: the screen after a won level, with its score, stars and awards. It is a
// screen although its file lies among the pop-ups.
#pragma once
#include <memory>

#include "engine/screen/AppScreen.h"

class TEngParticlePackage;

class TLevelSummary : public TAppScreen {
public:
    // The particle package the summary draws (the landing stars emit into it); made at start-up.
    static std::shared_ptr<TEngParticlePackage> Package;
};

using TLevelSummaryPtr = std::shared_ptr<TLevelSummary>;

extern TLevelSummaryPtr LevelSummary;

// A new screen registered with Control as "Level Summary", file bDir + "PopUps/LevelSummary/LevelSummary.AppScreen".
TLevelSummaryPtr CreateLevelSummary();
