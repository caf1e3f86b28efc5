// The common ground of the fixtures that move the application clock by hand: the platform's clock
// reads g_now (0 at the start), the application time follows it, the random generator starts at
// its first state, and the error lines written meanwhile are collected instead of printed. Every
// global it changes is put back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Clock.h"
#include "platform/Random.h"

namespace testsupport {

inline int32_t g_now = 0;
inline int32_t Now() { return g_now; }

inline std::vector<std::string>& ErrorLines() {
    static std::vector<std::string> lines;
    return lines;
}
inline void CollectError(const std::string& line) { ErrorLines().push_back(line); }

class ClockedTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 0;
        SetClockSource(Now);
        ResetAppTime();
        UpdateAppMillisecs();
        ResetRnd();
        ErrorLines().clear();
        WatchErrorReports(&CollectError);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        SetClockSource(nullptr);
        ResetAppTime();
        ResetRnd();
    }
    // The application clock moves to ms.
    void SetNow(int32_t ms) {
        g_now = ms;
        UpdateAppMillisecs();
    }
    const std::vector<std::string>& Errors() const { return ErrorLines(); }
};

}  // namespace testsupport
