// Shared set-up of the keyframe particle tests: an application clock the test moves, the
// random generator at its first state, no numbered images and no hint picture, a collector of
// error lines, and a fresh basic package.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/system/AppTime.h"
#include "engine/system/Error.h"
#include "game/effects/Effects.h"
#include "platform/Clock.h"
#include "platform/Random.h"

namespace effectstest {

inline int32_t g_now = 0;
inline int32_t Now() { return g_now; }

inline std::vector<std::string>& ErrorLines() {
    static std::vector<std::string> lines;
    return lines;
}
inline void CollectError(const std::string& line) { ErrorLines().push_back(line); }

class EffectsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 0;
        SetClockSource(Now);
        ResetAppTime();
        UpdateAppMillisecs();
        ResetRnd();
        TEngParticle::standardImg.clear();
        HintParticleImage.reset();
        BasicPackage = CreateEngParticlePackage(1500);
        ErrorLines().clear();
        SetErrorConsoleSink(&CollectError);
    }
    void TearDown() override {
        SetErrorConsoleSink(nullptr);
        SetClockSource(nullptr);
        ResetAppTime();
        ResetRnd();
        TEngParticle::standardImg.clear();
        HintParticleImage.reset();
        BasicPackage.reset();
    }
    // The application clock moves to ms.
    void SetNow(int32_t ms) {
        g_now = ms;
        UpdateAppMillisecs();
    }
    const std::vector<std::string>& Errors() const { return ErrorLines(); }

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
