#include "engine/basics/Timers.h"

#include <cmath>

#include "engine/basics/Basics.h"
#include "engine/basics/AppTime.h"
#include "platform/Random.h"

namespace {

constexpr float kFps = 60.0f;

// One update's move of a value toward its target for a phase of `ms` milliseconds.
float StepToward(float cur, float target, int32_t ms) {
    const float next = UpdatePer(cur, target, TimeToPerStep(ms, kFps), -1.0f);
    // A value that is not a number (set from outside, or a factor that is not one) arrives.
    return std::isnan(next) ? target : next;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pulsars
// ---------------------------------------------------------------------------------------------

float TPulsar::Update() {
    float inc = speed * delta;
    // An endless speed over a frame of no length is no move at all (not NaN).
    if (std::isnan(inc)) inc = 0.0f;
    if (std::isnan(p)) p = dp;
    if (p < dp) {
        p += inc;
        if (p > dp) p = dp;
    }
    if (p > dp) {
        p -= inc;
        if (p < dp) p = dp;
    }
    if (p == dp) dp = (dp == 0.0f) ? 1.0f : 0.0f;
    return p;
}

float TTimePulsar::Update() {
    p = StepToward(p, dp, Time);
    if (p == dp) dp = (dp == 0.0f) ? 1.0f : 0.0f;
    return p;
}

float TAdvTimePulsar::Update() {
    switch (State) {
        case 0: return Update_Raise();
        case 1: return Update_Show();
        case 2: return Update_LieDown();
        case 3: return Update_Hide();
        default: return 0.0f;
    }
}

void TAdvTimePulsar::UpdatePer(int32_t time) {
    p = StepToward(p, dp, time);
    if (p < 0.0f) p = 0.0f;
    if (p > 1.0f) p = 1.0f;
}

float TAdvTimePulsar::Update_Raise() {
    dp = 1.0f;
    UpdatePer(Time[0]);
    if (p == 1.0f) {
        State = 1;
        p = 0.0f;  // the show phase counts from 0
        return 1.0f;
    }
    return p;
}

float TAdvTimePulsar::Update_Show() {
    UpdatePer(Time[1]);
    if (p == 1.0f) {
        State = 2;
        p = 1.0f;
        dp = 0.0f;
    }
    return 1.0f;
}

float TAdvTimePulsar::Update_LieDown() {
    UpdatePer(Time[2]);
    if (p == 0.0f) {
        State = 3;
        dp = 1.0f;
    }
    return p;
}

float TAdvTimePulsar::Update_Hide() {
    UpdatePer(Time[3]);
    if (p == 1.0f) {
        State = 0;
        p = 0.0f;
        dp = 1.0f;
    }
    return 0.0f;
}

// ---------------------------------------------------------------------------------------------
// Percenter
// ---------------------------------------------------------------------------------------------

float TPercenter::UpdateDelay() {
    p = StepToward(p, 1.0f, TimeDelay);
    if (!(p < 1.0f)) {
        p = 0.0f;
        isWorking = 2;
    }
    return 0.0f;
}

float TPercenter::UpdateWorking() {
    p = StepToward(p, 1.0f, TimeToElapse);
    if (!(p < 1.0f)) Finish();
    return p;
}

float TPercenter::Update() {
    if (isWorking == 1) return UpdateDelay();
    if (isWorking == 2) return UpdateWorking();
    return 0.0f;
}

void TPercenter::Start(int32_t timeToElapse, int32_t timeDelay) {
    p = 0.0f;
    TimeToElapse = timeToElapse;
    TimeDelay = timeDelay;
    isWorking = (TimeDelay != 0) ? 1 : 2;
}

void TPercenter::Finish() {
    p = 1.0f;
    isWorking = 0;
}

// ---------------------------------------------------------------------------------------------
// Timers
// ---------------------------------------------------------------------------------------------

void TAppTimer::Start() {
    Per = 0.0f;
    dPer = 1.0f;
}

int32_t TAppTimer::Update() {
    Per = StepToward(Per, dPer, Time);
    if (Per == dPer) {
        Start();
        return 1;
    }
    return 0;
}

float TAppPerTimer::Count(int32_t loop) {
    Per = StepToward(Per, dPer, Time);
    if (Per > 1.0f) Per = (loop != 0) ? Per - 1.0f : 1.0f;
    if (loop != 0 && Per == 1.0f) Per = 0.0f;
    if (!(Per >= 0.0f)) Per = 0.0f;  // also catches NaN
    if (Per > 1.0f) Per = 1.0f;
    return Per;
}

void TAppPerTimer::Reset(int32_t time) {
    Time = time;
    Start();
}

// ---------------------------------------------------------------------------------------------
// Creators
// ---------------------------------------------------------------------------------------------

std::shared_ptr<TPulsar> CreateAppPulsar(float speed) {
    auto pulsar = std::make_shared<TPulsar>();
    pulsar->speed = speed;
    pulsar->p = static_cast<float>(Rand(0, 1));
    pulsar->dp = 1.0f - pulsar->p;
    return pulsar;
}

std::shared_ptr<TTimePulsar> CreateAppTimePulsar(int32_t time) {
    auto pulsar = std::make_shared<TTimePulsar>();
    pulsar->Time = time;
    pulsar->p = static_cast<float>(Rand(0, 1));
    pulsar->dp = 1.0f - pulsar->p;
    return pulsar;
}

std::shared_ptr<TAdvTimePulsar> CreateAppAdvTimePulsar(int32_t raise, int32_t show, int32_t lieDown, int32_t hide) {
    auto pulsar = std::make_shared<TAdvTimePulsar>();
    pulsar->Time = {raise, show, lieDown, hide};
    pulsar->p = 0.0f;
    pulsar->dp = 1.0f;
    pulsar->State = 0;
    return pulsar;
}

std::shared_ptr<TPercenter> CreateAppPercenter(int32_t timeToElapse, int32_t delay) {
    auto percenter = std::make_shared<TPercenter>();
    if (timeToElapse != 0) percenter->Start(timeToElapse, delay);
    return percenter;
}

std::shared_ptr<TAppTimer> CreateAppTimer(int32_t time) {
    auto timer = std::make_shared<TAppTimer>();
    timer->Time = time;
    timer->Start();
    return timer;
}

std::shared_ptr<TAppPerTimer> CreateAppPerTimer(int32_t time) {
    auto timer = std::make_shared<TAppPerTimer>();
    timer->Time = time;
    timer->Start();
    return timer;
}
