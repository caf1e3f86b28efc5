// The hammer effect: a small looping animation of a striking hammer drawn centred on a point,
// fading in when made and out when its owner says so. The kingdom shows one over every picture
// of a building being put up. All hammers share one set of 42 frame pictures, loaded once by
// SetupHammerEffect before the first hammer is drawn.
#pragma once
#include <array>
#include <memory>

#include "platform/Image.h"

class THammerEffect {
public:
    static constexpr int Frames = 42;
    // The frame pictures, entry n - 1 holding "effects/hammer/hammer-<n>.png", handles centred.
    static std::array<TImagePtr, Frames> img;
    // Milliseconds between two frames.
    static int Interwal;

    int Frame = 0;      // the frame drawn, 0..41
    int FrameTime = 0;  // application ms after which the next frame is due
    float Alpha = 0;
    float dAlpha = 1;  // the owner sets 0 to fade the hammer out
    int x = 0, y = 0;  // centre of the drawn frame

    virtual ~THammerEffect() = default;
    // Steps the frame when due (at most one step a call, timed from this one), fades toward
    // dAlpha at 0.05 a frame, draws the frame centred on (x, y). Returns 1 once the hammer has
    // faded out completely (Alpha 0 after this call), else 0.
    virtual int Draw();
};

using THammerEffectPtr = std::shared_ptr<THammerEffect>;

// Loads the 42 frame pictures (again replaces them). Returns 0.
int SetupHammerEffect();
// A new hammer at (x, y), fading in.
THammerEffectPtr CreateHammerEffect(int x, int y);
