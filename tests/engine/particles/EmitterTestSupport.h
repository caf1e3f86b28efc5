// Shared set-up of the particle and emitter tests: over the clock the test drives, the random
// generator at its first state and the collected error lines (support/ClockedTest.h), delta 1
// (60 frames per second), the sine tables and no emitters.
#pragma once
#include <gtest/gtest.h>

#include "engine/basics/Basics.h"
#include "engine/particles/Emitter.h"
#include "engine/particles/Particles.h"
#include "support/ClockedTest.h"

namespace emittertest {

using testsupport::ErrorLines;
using testsupport::g_now;

class ParticleFixture : public testsupport::ClockedTest {
protected:
    void SetUp() override {
        ClockedTest::SetUp();
        delta = 1.0f;
        InitSinCosTables();
        InitColorConstants();
        ResetEmitters();
    }
    void TearDown() override {
        ClockedTest::TearDown();
        ResetEmitters();
    }
};

// The fixture with one particle of its own, reset to its start, for the colour and transform
// steps.
class OneParticleFixture : public ParticleFixture {
protected:
    TAppParticle particle;
    void SetUp() override {
        ParticleFixture::SetUp();
        particle.Reset();
    }
};

}  // namespace emittertest
