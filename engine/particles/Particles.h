// The engine's data-driven particles: a fixed pool per emitter (TAppParticlePackage) and the
// particles in it (TAppParticle). The game's keyframe particle effects are a separate system.
//
// A particle is free (in the pool's queue), then taken by CreateAppParticle (it sits in a slot of
// the in-use array of its blend and waits for its start time on the application clock), then
// started (its life fraction Per runs from 0 to 1 on the frame delta while it moves, falls and
// follows its colour and transform curves), then ended (the update that first finds Per at 1
// only marks it; the next one gives it back and it is drawn once more in that update).
//
// Particles advance only while their pool is drawn: TAppParticlePackage::Draw updates and draws
// each particle in use once per call, alpha particles first (under) and light particles last.
// Positions are relative to the point the pool is drawn at.
//
// The pool is allocated once by Init; taking and giving back a particle moves pointers only.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "engine/data/Gradient.h"
#include "engine/data/Transform.h"
#include "engine/media/Img.h"

class TAppParticle;
class TAppParticlePackage;
using TAppParticlePtr = std::shared_ptr<TAppParticle>;
using TAppParticlePackagePtr = std::shared_ptr<TAppParticlePackage>;

class TAppParticlePackage {
public:
    // The free particles, used as a queue: taken from the front, given back at the end.
    std::deque<TAppParticlePtr> Particles;
    // The slots of the particles in use with blend 3 (alpha) and 4 (light); a free slot is null.
    std::vector<TAppParticlePtr> AlphaParticlesInUse;
    std::vector<TAppParticlePtr> LightParticlesInUse;

    TAppParticlePackage() = default;
    TAppParticlePackage(const TAppParticlePackage&) = delete;
    TAppParticlePackage& operator=(const TAppParticlePackage&) = delete;
    // Cuts every particle's link back to this pool, so a particle kept elsewhere outlives it
    // safely.
    virtual ~TAppParticlePackage();

    // Clear, then `count` new particles (none for a count below 1) in the queue and both in-use
    // arrays rebuilt with `count` empty slots. Particles in use are dropped with the old arrays.
    virtual int Init(int32_t count);
    // A new pool of as many particles as this one has free now; no particle state is copied.
    virtual TAppParticlePackagePtr Copy();
    // Frees and forgets the free particles; the in-use arrays are left alone.
    virtual int Clear();
    // The front of the queue, put into the lowest empty slot of its blend's array with blend and
    // MyPackageIndex set; null when the queue is empty.
    virtual TAppParticlePtr GetFreeParticleAlpha();
    virtual TAppParticlePtr GetFreeParticleLight();
    // Updates and draws every particle in use at (x, y) + its own position: alpha blend over
    // the alpha slots in index order, then light blend over the light slots.
    virtual int Draw(int32_t x, int32_t y);
    // Empties the particle's slot and appends it to the queue. A particle that does not sit in
    // a slot of this pool (already given back, or from another pool) is left alone.
    virtual int DestroyParticle(TAppParticle* p);

    // Particles in use, both blends together.
    int32_t CountInUse() const;

private:
    TAppParticlePtr _Take(std::vector<TAppParticlePtr>& slots, int32_t blend);
};

class TAppParticle {
public:
    int32_t MyPackageIndex = 0;              // the slot index in the in-use array of its blend
    int32_t blend = 0;                       // 3 alpha or 4 light, set when taken
    TAppParticlePackage* Package = nullptr;  // the pool it belongs to (not owned)
    int32_t Started = 0;                     // 0 while waiting for WaitTime
    int32_t WasEnded = 0;                    // set by the first update that finds Per at 1
    int32_t WaitTime = 0;                    // absolute start time, application-clock milliseconds
    int32_t LifeTime = 0;                    // milliseconds
    TImgPtr Img;                             // null draws a 1 x 1 rectangle
    TGradientPtr Gradient;                   // colour and alpha over the life, or null for fixed values
    TTransformPtr Transform;                 // scale and rotation over the life, or null for fixed values
    float Per = 0;                           // elapsed fraction of the life
    float ScaleX = 1, ScaleY = 1;
    float Rotation = 1.0f;           // degrees (Reset sets 0)
    float Alpha = 0;                 // (Reset sets 1)
    int32_t r = 0, g = 0, b = 0;     // (Reset sets 255 each)
    float x = 0, y = 0;              // relative to the point the pool is drawn at
    float vx = 0, vy = 0;            // pixels per frame at 60 frames per second
    float StartVX = 0, StartVY = 0;  // the velocity at creation: the direction of the acceleration
    float Acc = 0;
    float GravityForce = 0;  // added to the velocity at every update (not scaled by delta)
    float GravityAngle = 0;  // degrees

    virtual ~TAppParticle() = default;

    // Drops the image and curves; WasEnded = 0.
    virtual int Free();
    // Back to a fresh life: not started, white, opaque, unscaled, unturned, at rest, no image,
    // no curves. Position, times, gravity, blend and pool links stay.
    virtual int Reset();
    // Update, then (once started) draws at (x + this->x, y + this->y) in the particle's scale,
    // rotation, alpha and colour under the blend the pool set. The draw state is not restored.
    virtual int Draw(int32_t x, int32_t y);
    virtual int UpdateMove();
    virtual int UpdateAcc();
    virtual int UpdateRGB();
    virtual int UpdateTransform();
    virtual int UpdateLife();
    // Waits for the start time; then life, move, acceleration, colour, transform.
    virtual int Update();
    // Gives the particle back to its pool.
    virtual int Destroy();
    // Puts the particle ms milliseconds into its life (pre-filling an emitter): the start moves
    // back by ms; when that start has passed, a particle whose life is shorter than ms goes back
    // to its pool, any other is moved as far as it would have flown (with gravity, frame by
    // frame; without acceleration).
    virtual int MoveInTime(int32_t ms);
    // The most frames MoveInTime steps through under gravity (ten seconds at 60 a second).
    static constexpr int32_t PrefillFramesLimit = 600;

    // The class functions of the engine's timing helpers (see engine/Basics.h).
    static float UpdatePer(float cur, float target, float step, float speed);
    static float TimeToPerStep(int32_t time, float fps);

    // The whole degree (0..359) of a gravity angle as the sine and cosine tables index it:
    // above 359 is clamped to 359 (and stored so); a negative angle is taken round the circle
    // (-90 pulls like 270); a NaN angle counts as 0.
    static int32_t GravityTableIndex(float& angle);

private:
    void _GravityStep();
};

// Takes a particle from the pool of the blend (3 alpha, 4 light; any other blend and an empty
// pool give null), resets it and starts it: position, blend, velocity (also kept as the start
// velocity), acceleration, gravity, image, start time AppMilliSecs() + wait and life.
TAppParticlePtr CreateAppParticle(TAppParticlePackage* package, const TImgPtr& img, float x, float y, int32_t wait,
                                  int32_t life, int32_t blend, float vx, float vy, float acc, float gravityAngle,
                                  float gravityForce);
