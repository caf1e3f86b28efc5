// Shared set-up of the keyframe particle tests: over the clock the test moves, the random
// generator at its first state and the collected error lines (support/ClockedTest.h), no
// numbered images and no hint picture, and a fresh basic package.
#pragma once
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <utility>
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

// The recipe tests: a package of their own, large enough for the biggest recipe, and the
// particles each of its two pools has in use.
class RecipesFixture : public EffectsFixture {
protected:
    TEngParticlePackagePtr pack = CreateEngParticlePackage(4000);
    std::vector<TEngParticlePtr> Light() { return InUse(pack->lightBlend_particles); }
    std::vector<TEngParticlePtr> Alpha() { return InUse(pack->alphaBlend_particles); }

    // For each (input, light particles): a call of make(input) on the cleared package leaves that
    // many light particles in use.
    void ExpectLightCounts(const std::function<void(int input)>& make,
                           std::initializer_list<std::pair<int, std::size_t>> cases) {
        for (const auto& [input, wanted] : cases) {
            pack->Clear();
            make(input);
            EXPECT_EQ(Light().size(), wanted) << input;
        }
    }
};

// A pooled route particle of the given blend with a plain straight route, for the pool and
// timing tests.
inline TEngParticlePtr MakeLine(const TEngParticlePackagePtr& package, int blend, int delay, int life,
                                const TEngParticlePtr& subPart = nullptr, int standAlone = 0) {
    return CreateStandardParticle(standAlone, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 200, 100, 50, 1, 0, 1, 2, 1, 2, 0,
                                  90, blend, delay, life, package, -1, subPart, 0, 0, 0, 0, 0, 0);
}

}  // namespace effectstest
