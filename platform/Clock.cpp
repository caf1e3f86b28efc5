#include "platform/Clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

using SteadyClock = std::chrono::steady_clock;

// The platform's start: the first moment this module is touched (static initialisation).
const SteadyClock::time_point g_start = SteadyClock::now();

bool g_fixedOn = false;
double g_fixedStep = 1000.0 / 60.0;
int64_t g_fixedSteps = 0;
int32_t (*g_source)() = nullptr;

// A 64-bit millisecond count wrapped to a signed 32-bit count: past 2^31 ms it goes negative,
// and every 2^32 ms it starts again, as the game's millisecond clock always has.
int32_t Wrap32(int64_t ms) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms))); }

}  // namespace

double MilliSecsExact() {
    if (g_source) return static_cast<double>(g_source());
    // Steps times the step length keeps no running sum, so no rounding error piles up.
    if (g_fixedOn) return static_cast<double>(g_fixedSteps) * g_fixedStep;
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - g_start).count();
}

int32_t MilliSecs() {
    if (g_source) return g_source();
    // The small allowance keeps a product like 3 x 16.666... that lands a hair under a whole
    // number from reading one millisecond short.
    return Wrap32(static_cast<int64_t>(std::floor(MilliSecsExact() + 1e-7)));
}

void Delay(int ms) {
    if (g_fixedOn || ms <= 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetFixedClock(bool on, double msPerStep) {
    g_fixedOn = on;
    g_fixedStep = (std::isfinite(msPerStep) && msPerStep > 0) ? msPerStep : 1000.0 / 60.0;
    g_fixedSteps = 0;
}

bool FixedClockOn() { return g_fixedOn; }

void AdvanceFixedClock() {
    if (g_fixedOn) ++g_fixedSteps;
}

void SetClockSource(int32_t (*source)()) { g_source = source; }

void ResetClock() {
    g_source = nullptr;
    SetFixedClock(false);
}

namespace {

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) local = std::tm{};
    return local;
}

}  // namespace

std::string CurrentDate() {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm t = LocalNow();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", t.tm_mday, kMonths[(t.tm_mon % 12 + 12) % 12], t.tm_year + 1900);
    return buf;
}

std::string CurrentTime() {
    std::tm t = LocalNow();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}
