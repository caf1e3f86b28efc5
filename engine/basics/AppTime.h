// The two time bases of every animation, timer and fade: the application clock (milliseconds,
// read once per frame, never running backwards) and the frame delta (the last frame's length
// against a target rate; 1.0 at the target).
#pragma once
#include <memory>
#include <vector>

// Advances the running total of the application clock by the distance the platform clock
// moved since the last count (a clock that runs backwards counts forwards) and returns it.
int CountAppMillisecs();
// Stores CountAppMillisecs() as this frame's clock value; once per frame.
void UpdateAppMillisecs();
// This frame's clock value: the same all through one frame, 0 before the first frame.
int AppMilliSecs();
// The milliseconds added by the latest count.
int GetAppLoopAdd();

// A frame timer against a target rate, which also counts frames per second.
//
// The delta is the last frame's length divided by the target frame length, unclamped, with
// two exceptions that keep start-up and pauses from showing as one huge frame:
//  - the first Update has no frame before it and counts as one target frame (delta 1.0);
//  - a frame longer than kStallMs (the game was paused, in the background or blocked by a
//    load) counts as one target frame too; a clock reading that went backwards counts 0.
// Lengths are measured with the clock's fractions (MilliSecsExact), so under the fixed-step
// clock of 1000/60 ms every frame's delta at 60 frames per second is exactly 1.0f.
class TDeltaTime {
public:
    static constexpr double kStallMs = 250.0;

    int OldTime = 0;      // platform clock reading of the previous Update
    int ElapsedTime = 0;  // whole milliseconds the last frame counted for
    float dFps = 0;       // target frames per second
    float dDelta = 0;     // target frame length in milliseconds, 1000 / dFps
    int CurrFps = 0;      // frames counted in the last closed one-second window
    int FPSCounter = 0;   // frames counted in the open window
    int CurrTime = 0;     // platform clock reading of the latest Update
    int CheckTime = 0;    // the reading after which the open window closes
    // The exact counterparts of OldTime and ElapsedTime, and whether an Update has run.
    double OldTimeExact = 0;
    double ElapsedExact = 0;
    bool HasUpdated = false;

    // Every timer made by Create, until its Destroy.
    static std::vector<std::shared_ptr<TDeltaTime>> DeltaTList;

    virtual ~TDeltaTime() = default;
    // Removes the timer from DeltaTList.
    virtual void Destroy();
    // A new timer with the target rate fps, appended to DeltaTList.
    static std::shared_ptr<TDeltaTime> Create(float fps);
    // Takes a clock reading, measures the frame and advances the frame counter.
    virtual void Update();
    virtual int FPS();
    // ElapsedExact / dDelta; 0 while no target rate is set.
    virtual float CurrDelta();
    virtual void SetFPS(float fps);

protected:
    TDeltaTime() = default;
};

// The one frame timer (made by the program's start-up with a target of 60; UpdateDelta makes
// it at 60 when it does not exist yet), and the frame factor, 0.0 until the first UpdateDelta.
extern std::shared_ptr<TDeltaTime> deltaTime;
extern float delta;

// One frame step: deltaTime.Update(), delta = deltaTime.CurrDelta(), then the event pump, and
// the frame's input begins (BeginInputFrame: what was pressed since the last frame reads as
// held through this one).
void UpdateDelta();
// The timer's and the pump's part of UpdateDelta 100 times in a row, so that a long blocking
// operation just before does not show as one huge frame: delta comes out near 0 and the next
// frame measures from here. It begins no frame of input: it runs within a frame.
void ResetDelta();
// deltaTime.FPS(), 0 without a timer.
int GetAppFPS();

// Back to the start state: clock at 0, no timer, delta 0, empty DeltaTList (tests).
void ResetAppTime();
