// Shared set-up of the particle and emitter tests: a clock the test drives, delta 1 (60 frames
// per second), the sine tables, the random generator at its first state, and a collector of
// the error lines written meanwhile.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/system/Basics.h"
#include "engine/particles/Emitter.h"
#include "engine/system/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Clock.h"
#include "platform/Random.h"

namespace emittertest {

inline int32_t g_now = 0;
inline int32_t Now() { return g_now; }

inline std::vector<std::string>& ErrorLines() {
    static std::vector<std::string> lines;
    return lines;
}
inline void CollectError(const std::string& line) { ErrorLines().push_back(line); }

class ParticleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 0;
        SetClockSource(Now);
        ResetAppTime();
        UpdateAppMillisecs();
        delta = 1.0f;
        InitSinCosTables();
        InitColorConstants();
        ResetRnd();
        ResetEmitters();
        ErrorLines().clear();
        SetErrorConsoleSink(&CollectError);
    }
    void TearDown() override {
        SetErrorConsoleSink(nullptr);
        SetClockSource(nullptr);
        ResetAppTime();
        ResetRnd();
        ResetEmitters();
    }
    // The application clock moves forward to ms.
    void SetNow(int32_t ms) {
        g_now = ms;
        UpdateAppMillisecs();
    }
    const std::vector<std::string>& Errors() const { return ErrorLines(); }
};

}  // namespace emittertest
