#include "game/shell/LevelSummary.h"

#include "engine/system/Paths.h"
#include "game/effects/EngParticle.h"

TLevelSummaryPtr LevelSummary;
std::shared_ptr<TEngParticlePackage> TLevelSummary::Package;

int TLevelSummary::SetData(const std::shared_ptr<TLevel>& level) {
    CurrLevel = level;
    return 0;
}

TLevelSummaryPtr CreateLevelSummary() {
    auto screen = std::make_shared<TLevelSummary>();
    screen->Init("Level Summary", bDir + "PopUps/LevelSummary/LevelSummary.AppScreen");
    return screen;
}
