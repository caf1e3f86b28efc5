// The cross-fade between screens: the old screen fades to black over 500 ms, stays fully black
// for one more frame, then the callback runs, the old screen leaves (its pop-ups are taken off
// without OnHide), the new one starts, is prepared, is unlocked and runs its first update (as
// the current screen for that moment, input held back: TAppScreen::Settle), and it fades in over
// 500 ms, drawn as that update left it; only then does it become the current screen. The fade is itself a screen, made
// current for the whole change; it has no file, no objects and no pop-ups and is not registered with Control.
//
// A change asked for while a fade runs restarts the fade towards the new target. Each screen is
// left exactly once: before the switch nothing has been left yet and the first screen still
// fades out; after the switch the screen that was being faded in is the one faded out and left.
//
// No frame of the change holds the main thread long. The new screen's pictures are decoded on
// the background worker from the moment the fade begins (those it showed last time, and its
// assets'), and uploaded a few milliseconds' worth a frame while the old one fades out. At the
// switch the new screen is drawn under full black to learn what it shows, without decoding
// anything there; on the real clock the fade-in then waits at full black until the worker has
// decoded what is missing and it is uploaded (under the fixed clock the switch's frame waits for
// it, so that runs repeat frame for frame). Once it is all there, at the next frame, the pictures
// of the screen left (every picture from a file not drawn since the switch) are let go.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/screen/AppScreen.h"
#include "engine/basics/Timers.h"

// Run once, at full black. Plain function pointers and lambdas both fit.
using TCrossCallback = std::function<void()>;

class TAppScreenCrosser : public TAppScreen {
public:
    std::shared_ptr<TAppPerTimer> Percent;  // progress of the current half, 500 ms
    // 0: the screen faded out; 1: the screen faded in.
    std::array<std::shared_ptr<TAppScreen>, 2> Screen;
    int32_t State = 0;  // 0 fading out, 1 fading in
    TCrossCallback Func;
    int32_t Bylo = 0;  // set once Percent has been seen at its end

    TAppScreenCrosser();

    // State 0: screen 0, then black at alpha Per; state 1: screen 1, then black at 1 - Per.
    int OnDraw() override;
    // Advances Percent (by the frame delta); at 1.0 switches when Bylo is already set, then
    // sets Bylo.
    int OnUpdate() override;
    // Black at that alpha over the whole wide area (-171, 0, 1366 x 768). Leaves the draw
    // state so.
    virtual int DrawFade(float alpha);
    // State 0: callback, screen 0 leaves and loses its pop-ups, screen 1 starts, is prepared,
    // unlocked, settled (its first update) and drawn once, the timer restarts, the delta is
    // reset, State 1. State 1: screen 1 becomes current, locked or not as its first update left
    // it.
    virtual int SwitchCrosser();
    // Runs the callback once (and the callback of a change that callback asks for).
    virtual int ExecuteFunction();
    // Reset; from (unless it is a crosser: then the screen on display stays the one faded out),
    // to and the callback are stored.
    virtual int SetData(const std::shared_ptr<TAppScreen>& from, const std::shared_ptr<TAppScreen>& to,
                        TCrossCallback callback);
    // Percent from 0, State 0, no callback, Bylo 0.
    virtual int Reset();

    // The time a frame of the change may spend uploading pictures, in milliseconds.
    static constexpr double kUploadBudgetMs = 4.0;

private:
    // The new screen drawn with its missing pictures asked of the worker, not decoded here.
    void DrawGathering(TAppScreen& screen);
    // The fade-in starts: every picture it shows is there; those of the screen left go.
    void BeginFadeIn();
    // State 1 has not begun fading in: the new screen's pictures are still on their way.
    int32_t _waiting = 0;
    // The fade-in has begun: the pictures not drawn since the switch go at the next update.
    int32_t _releaseDue = 0;
    // The use mark of the switch (MarkPictureUse).
    uint64_t _switchMark = 0;
    // The switch of state 0 has run: screen 0 has left and screen 1 has been prepared.
    int32_t _switched = 0;
    // Counts SetData: a change asked for while the new screen runs its first update at the
    // switch is seen by it.
    int32_t _changes = 0;
};

using TAppScreenCrosserPtr = std::shared_ptr<TAppScreenCrosser>;

// The crosser used for screen changes (made by the program's start-up); null when none.
extern TAppScreenCrosserPtr CurrScreenCrosser;

TAppScreenCrosserPtr CreateAppCrosser();
// CurrScreenCrosser takes the change from Control's current screen to screen and becomes the
// current screen at once (nothing is left yet and no input is discarded).
int SetCurrScreenByCross(const std::shared_ptr<TAppScreen>& screen, TCrossCallback callback);
