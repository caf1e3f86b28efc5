// Shared set-up of the keyframe particle tests: over the clock the test moves, the random
// generator at its first state and the collected error lines (support/ClockedTest.h), no
// numbered images and no hint picture, and a fresh basic package.
#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "game/effects/Effects.h"
#include "support/ClockedTest.h"

namespace effectstest {

using testsupport::ErrorLines;
using testsupport::g_now;

class EffectsFixture : public testsupport::ClockedTest {
protected:
    void SetUp() override {
        ClockedTest::SetUp();
        TEngParticle::standardImg.clear();
        HintParticleImage.reset();
        BasicPackage = CreateEngParticlePackage(1500);
    }
    void TearDown() override {
        ClockedTest::TearDown();
        TEngParticle::standardImg.clear();
        HintParticleImage.reset();
        BasicPackage.reset();
    }

    // The particles in use of one pool, in slot order.
    static std::vector<TEngParticlePtr> InUse(const std::vector<TEngParticlePtr>& pool) {
        std::vector<TEngParticlePtr> out;
        for (const auto& p : pool)
            if (p->isOnUse) out.push_back(p);
        return out;
    }
};

// A pooled route particle of the given blend with a plain straight route, for the pool and
// timing tests.
inline TEngParticlePtr MakeLine(const TEngParticlePackagePtr& package, int blend, int delay, int life,
                                const TEngParticlePtr& subPart = nullptr, int standAlone = 0) {
    return CreateStandardParticle(standAlone, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 200, 100, 50, 1, 0, 1, 2, 1, 2,
                                  0, 90, blend, delay, life, package, -1, subPart, 0, 0, 0, 0, 0, 0);
}

}  // namespace effectstest
