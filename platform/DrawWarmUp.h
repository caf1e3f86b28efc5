// Warming up the renderer: a software renderer (Mesa's llvmpipe) compiles its drawing code for
// each new combination of drawing state the first time it is drawn with, and builds the code
// that makes a texture's mipmaps the first time it makes them for a shape of texture: tens of
// milliseconds each, which a screen shown for the first time would otherwise pay all in one
// frame. The warm-up draws each combination the game's screens draw with once (their blends, plain
// or textured, modulated or as it is, each kind of sampling) and
// makes mipmaps of a few shapes, into a small framebuffer object of its own, a few milliseconds'
// worth at each frame's end. Not for callers outside platform/.
#pragma once

class QuadBatch;
class WindowFrames;

class DrawWarmUp {
public:
    // From the next frame on (again in a new GL context).
    void Start() {
        pending_ = true;
        next_ = 0;
    }
    bool Pending() const { return pending_; }
    // The next steps, while budgetMs lasts (at least one), at a frame's end, the batch drawn
    // out: nothing is drawn in the frame, and the GL state is as it was afterwards.
    void Step(QuadBatch& batch, WindowFrames& frames, double budgetMs);

private:
    bool pending_ = false;
    int next_ = 0;
};
