// Timing objects: values between 0 and 1 that move with the passing of frames. Their owners
// call one update a frame and use the result as an alpha, a scale or an animation position.
//
// No object here reads a clock: every step is scaled by the frame factor `delta`, and a time in
// milliseconds becomes a per-frame step with TimeToPerStep(time, 60). A time of 0 (or less)
// covers its whole range in one update. A frame factor of 0 moves nothing, and no combination
// of step and factor turns a value into NaN.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

// Swings between 0 and 1 without end, `speed` of the range per frame at delta 1.
class TPulsar {
public:
    float p = 0;      // the current value, 0..1
    float dp = 0;     // the end it heads for, 0 or 1
    float speed = 0;  // the step per frame at delta 1

    virtual ~TPulsar() = default;
    // Moves p toward dp; the update that reaches an end returns it and already heads back.
    virtual float Update();
};

// A pulsar whose sweep from one end to the other takes `Time` milliseconds.
class TTimePulsar : public TPulsar {
public:
    int32_t Time = 0;

    float Update() override;
};

// Four phases: rises from 0 to 1 in Time[0] ms, holds 1 for Time[1] ms, falls to 0 in Time[2] ms,
// holds 0 for Time[3] ms, and begins again. During the holds p serves as the phase's timer.
class TAdvTimePulsar : public TPulsar {
public:
    int32_t State = 0;  // 0 raise, 1 show, 2 lie down, 3 hide
    std::array<int32_t, 4> Time{0, 0, 0, 0};

    // Runs the current phase and returns its value; an unknown State returns 0 and changes nothing.
    float Update() override;
    // Moves p toward dp with the step of `time` ms and keeps it within 0..1.
    virtual void UpdatePer(int32_t time);
    virtual float Update_Raise();
    virtual float Update_Show();
    virtual float Update_LieDown();
    virtual float Update_Hide();
};

// Runs once from 0 to 1 over TimeToElapse ms after a delay of TimeDelay ms.
class TPercenter {
public:
    int32_t TimeDelay = 0;
    int32_t TimeToElapse = 0;
    float p = 0;            // the progress of the current phase, 0..1
    int32_t isWorking = 0;  // 0 idle, 1 waiting out the delay, 2 running

    virtual ~TPercenter() = default;
    // Advances the delay; returns 0.
    virtual float UpdateDelay();
    // Advances the run; returns the progress (1 on the update that finishes).
    virtual float UpdateWorking();
    // The phase's update; 0 while idle.
    virtual float Update();
    // Restarts from 0 (a delay of 0 runs at once).
    virtual void Start(int32_t timeToElapse, int32_t timeDelay);
    // Ends the run at once: p 1, idle.
    virtual void Finish();
};

// Signals once every `Time` milliseconds.
class TAppTimer {
public:
    int32_t Time = 0;  // milliseconds of one period
    float Per = 0;     // the position within the period, 0..1
    float dPer = 1;    // the end of the period

    virtual ~TAppTimer() = default;
    // Per 0, dPer 1.
    virtual void Start();
    // 1 on the update that completes a period (which then starts again), else 0.
    virtual int32_t Update();
};

// A position that climbs from 0 to 1 over `Time` milliseconds.
class TAppPerTimer : public TAppTimer {
public:
    // Advances and returns the position, always within 0..1. Without looping it stays at 1 once
    // there; with looping the update that reaches 1 returns 0 and starts the next cycle.
    virtual float Count(int32_t loop);
    // Time = time, then Start.
    virtual void Reset(int32_t time);
};

// A pulsar of that speed starting at 0 or 1 at random (one draw of Rand(0, 1)), heading for the
// other end.
std::shared_ptr<TPulsar> CreateAppPulsar(float speed);
// The same with a sweep time in milliseconds (speed stays 0).
std::shared_ptr<TTimePulsar> CreateAppTimePulsar(int32_t time);
// Phases raise, show, lie down, hide in milliseconds; starts rising from 0.
std::shared_ptr<TAdvTimePulsar> CreateAppAdvTimePulsar(int32_t raise, int32_t show, int32_t lieDown, int32_t hide);
// Started with (timeToElapse, delay) unless timeToElapse is 0, then idle.
std::shared_ptr<TPercenter> CreateAppPercenter(int32_t timeToElapse, int32_t delay);
// Started timers of that period.
std::shared_ptr<TAppTimer> CreateAppTimer(int32_t time);
std::shared_ptr<TAppPerTimer> CreateAppPerTimer(int32_t time);
