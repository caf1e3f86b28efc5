#include "engine/basics/AppTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/system/Error.h"
#include "platform/Clock.h"
#include "platform/Input.h"

namespace {

int32_t g_appClock = 0;     // the stored value AppMilliSecs returns
int32_t g_appTotal = 0;     // milliseconds counted so far
int32_t g_lastReading = 0;  // the platform clock at the last count
bool g_counted = false;     // whether a count has run (a reading of 0 is a real reading)
int32_t g_lastStep = 0;

// The clock's value, handed down to the reports kept for the console too.
void SetAppClock(int32_t ms) {
    g_appClock = ms;
    SetReportClock(ms);
}

}  // namespace

std::vector<std::shared_ptr<TDeltaTime>> TDeltaTime::DeltaTList;
std::shared_ptr<TDeltaTime> deltaTime;
float delta = 0.0f;

int CountAppMillisecs() {
    int32_t now = MilliSecs();
    if (!g_counted) {
        g_lastReading = now;
        g_counted = true;
    }
    // Wrapping subtraction: the 32-bit platform counter may wrap around.
    int32_t diff = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(g_lastReading));
    int32_t step = diff == INT32_MIN ? INT32_MAX : (diff < 0 ? -diff : diff);
    g_lastStep = step;
    g_appTotal = static_cast<int32_t>(static_cast<uint32_t>(g_appTotal) + static_cast<uint32_t>(step));
    // The same reading becomes the new base, so no time is lost between two counts.
    g_lastReading = now;
    return g_appTotal;
}

void UpdateAppMillisecs() { SetAppClock(CountAppMillisecs()); }

int AppMilliSecs() { return g_appClock; }

int GetAppLoopAdd() { return g_lastStep; }

std::shared_ptr<TDeltaTime> TDeltaTime::Create(float fps) {
    std::shared_ptr<TDeltaTime> t(new TDeltaTime());
    t->SetFPS(fps);
    DeltaTList.push_back(t);
    return t;
}

void TDeltaTime::Destroy() {
    std::erase_if(DeltaTList, [this](const std::shared_ptr<TDeltaTime>& p) { return p.get() == this; });
}

void TDeltaTime::Update() {
    double now = MilliSecsExact();
    CurrTime = MilliSecs();

    double elapsed = now - OldTimeExact;
    if (!HasUpdated || elapsed > kStallMs) elapsed = dDelta;  // start-up or a stall: one target frame
    else if (!(elapsed >= 0.0)) elapsed = 0.0;                // the clock went backwards
    HasUpdated = true;
    ElapsedExact = elapsed;
    ElapsedTime = static_cast<int>(elapsed);
    OldTimeExact = now;
    OldTime = CurrTime;

    // Compared and advanced the way the 32-bit platform counter wraps, so a run that outlasts
    // the counter's range goes on counting frames.
    if (static_cast<int32_t>(static_cast<uint32_t>(CurrTime) - static_cast<uint32_t>(CheckTime)) > 0) {
        CheckTime = static_cast<int32_t>(static_cast<uint32_t>(CurrTime) + 1000u);
        CurrFps = FPSCounter;
        FPSCounter = 0;
    } else {
        ++FPSCounter;
    }
}

int TDeltaTime::FPS() { return CurrFps; }

float TDeltaTime::CurrDelta() {
    if (!(dDelta > 0.0f)) return 0.0f;
    return static_cast<float>(ElapsedExact) / dDelta;
}

void TDeltaTime::SetFPS(float fps) {
    dFps = fps;
    dDelta = fps != 0.0f ? 1000.0f / fps : 0.0f;
}

namespace {

void StepDelta() {
    if (!deltaTime) deltaTime = TDeltaTime::Create(60.0f);
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
    PollSystem();
}

}  // namespace

void UpdateDelta() {
    StepDelta();
    BeginInputFrame();
}

void ResetDelta() {
    // Within a frame: the presses this frame reads as held stay so.
    for (int i = 0; i < 100; ++i) StepDelta();
}

int GetAppFPS() { return deltaTime ? deltaTime->FPS() : 0; }

void ResetAppTime() {
    SetAppClock(0);
    g_appTotal = 0;
    g_lastReading = 0;
    g_counted = false;
    g_lastStep = 0;
    deltaTime.reset();
    TDeltaTime::DeltaTList.clear();
    delta = 0.0f;
}
