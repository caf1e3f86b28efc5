#include "game/effects/EffectsStartup.h"

#include "game/effects/EngParticle.h"

void InitEngParticles() {
    if (!BasicPackage) BasicPackage = CreateEngParticlePackage(1500);
    TEngParticlePackage::allPackages.clear();
}
