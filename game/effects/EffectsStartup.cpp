#include "game/effects/EffectsStartup.h"

#include <memory>

#include "engine/screen/Console.h"
#include "game/effects/EffectsViewer.h"
#include "game/effects/EngParticle.h"

void InitEngParticles() {
    if (!BasicPackage) BasicPackage = CreateEngParticlePackage(1500);
    TEngParticlePackage::allPackages.clear();
    Console::AddCommand(std::make_shared<TCCEffect>());
}
