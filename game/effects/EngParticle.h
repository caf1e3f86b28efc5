// The game's keyframe particles: TEngParticle, one particle whose every channel (alpha, scale,
// rotation, colour, position) runs from a start to an end value over its life by the application
// clock, and TEngParticlePackage, the fixed pools of particles that one screen owns and draws.
//
// A package holds two pools of equal size: the alpha pool (blend 3, ALPHABLEND) and the light
// pool (blend 4, LIGHTBLEND). Every particle object of a package is made with the package; a
// creator (game/effects/Creators.h) takes a free one, fills it and marks it in use, and it goes
// back to its pool by itself when its life ends. Particles move only while their package is
// drawn: drawing a particle first advances it to AppMilliSecs(). Times are absolute application
// milliseconds, so what a particle shows at a given moment does not depend on the frame rate.
#pragma once
#include <memory>
#include <vector>

#include "engine/media/Img.h"
#include "platform/Image.h"

class TEngParticle;
class TEngParticlePackage;
using TEngParticlePtr = std::shared_ptr<TEngParticle>;
using TEngParticlePackagePtr = std::shared_ptr<TEngParticlePackage>;

// The blend modes of the two pools.
constexpr int EngAlphaBlend = 3;
constexpr int EngLightBlend = 4;

class TEngParticle {
public:
    // ---- Pool and time ----
    int myPackageIndex = 0;  // slot index in its package's pool
    // Application millisecond of the start. For a stand-alone particle not started yet: the
    // delay, counted from the moment its parent dies.
    int startTime = 0;
    int lifeTime = 0;  // milliseconds
    int endTime = 0;   // startTime + lifeTime

    // ---- Start ("1") and end ("2") values ----
    float a1 = 0, a2 = 0;                      // alpha
    float sx1 = 0, sx2 = 0, sy1 = 0, sy2 = 0;  // scale; 1 is the image's own size
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;      // route start and end
    float mx1 = 0, my1 = 0, mx2 = 0, my2 = 0;  // route control points
    float rot1 = 0, rot2 = 0;                  // image rotation, degrees
    float r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
    float w1 = 0, w2 = 0, h1 = 0, h2 = 0;                          // motion about a centre: radii
    float posRotX1 = 0, posRotX2 = 0, posRotY1 = 0, posRotY2 = 0;  // ... and the angles of x and y

    // ---- Current values (written by update, read by draw) and the centre ----
    float posRotX = 0, posRotY = 0;
    float width = 0, height = 0;
    float ox = 0, oy = 0;
    float alpha = 0;
    float rotation = 0;
    int r = 0, g = 0, b = 0;
    float sx = 0, sy = 0;

    // ---- Look, pool and state ----
    TImagePtr image;  // drawn instead of the numbered image when set (before img)
    TImgPtr img;      // drawn instead of the numbered image when set
    int n = 0;        // index in standardImg
    float x = 0, y = 0;
    int blend = 0;            // 3 alpha pool, 4 light pool
    int visible = 0;          // 1 once the start time has come
    TEngParticlePtr subPart;  // takes over this particle's slot when it dies
    // The package whose pool holds the particle (not owned: a package outlives its particles'
    // use, and clears this pointer in every particle it still holds when it goes).
    TEngParticlePackage* package = nullptr;
    float per = 0;            // progress of life, 0 to 1
    int PositioningType = 0;  // 0 route, 1 motion about a centre, other: position untouched
    // Route shape: 1 cubic Bezier through both control points, -1 straight line, other values
    // the quadratic Bezier through (mx1, my1).
    int isUsingBothPoints = 0;
    // Sine flags, one per channel: non-zero eases the channel (fast start, slow end).
    int isAlphaSin = 0, isScaleXSin = 0, isScaleYSin = 0, isRotationSin = 0, isRouteSin = 0, isColorSin = 0,
        isRouteRotationSin = 0, isDistWidthSin = 0, isDistHeightSin = 0, isRouteRotRotationXSin = 0,
        isRouteRotRotationYSin = 0;
    int isOnUse = 0;      // 1 while in use; 0: the pool slot is free
    int isAlphaBack = 0;  // alpha goes a1 -> a2 over the first quarter and back over the last

    // The numbered particle images (SetupParticles); empty before.
    static std::vector<TImgPtr> standardImg;

    // Advances the particle (update) and draws it with its alpha times alphaFactor at its
    // position plus (dx, dy). 1 when it drew, else 0 (free, or still waiting for its start).
    int draw(float alphaFactor, float dx, float dy);
    // Advances every channel to AppMilliSecs(); the first update at or after endTime ends the
    // life (destroy) after computing the end values, so the particle is drawn once more.
    int update();
    int _updatePer();
    int _updateAlpha();
    int _updateScale();
    int _updateRotation();
    int _updateColor();
    int _updatePosition();
    int _updateDistance();
    int _updateRotPosRotation();
    int _updateRotationPosition();
    // Frees the slot and starts the sub-particle, which takes a slot of its package.
    int destroy();
    // Zeroes every value before a creator fills the particle; also forgets the pictures a
    // recipe set in an earlier life (image, img). Keeps the slot index, blend, sub-particle,
    // package, progress and positioning type, which the creators set.
    int Clear();
    // In use, progress 0.
    int Reset();
    // Moves the start and end time by f lifetimes.
    int MoveInTime(float f);
    // Drops the references: pictures, the sub-particle chain (freed too), the package.
    int Free();

    int SetAlphaAndScaleSin();
    int SetAlphaScaleAndRotationSin();
    int SetAlphaSin();
    int SetScaleXSin();
    int SetScaleYSin();
    int SetScaleSin();
    int SetRotationSin();
    int SetRouteSin();
    int SetColorSin();
    int SetRouteRotationSin();
    int SetDistWidthSin();
    int SetDistHeightSin();
    int SetRouteRotRotationXSin();
    int SetRouteRotRotationYSin();
};

class TEngParticlePackage {
public:
    std::vector<TEngParticlePtr> lightBlend_particles;  // the light pool (blend 4)
    std::vector<TEngParticlePtr> alphaBlend_particles;  // the alpha pool (blend 3)
    int Max_Particles = 1500;                           // size of each pool
    int i = 0;                                          // scan index of the package's own loops
    int Counter = 0;                                    // particles drawn by the last draw
    float PackageAlpha = 1.0f;                          // factor on every particle's alpha
    float Ax = 0, Ay = 0;                               // offset added to every particle's position when drawn

    // Packages that ClearAllParticles clears; start-up leaves it empty and nothing adds to it.
    static std::vector<TEngParticlePackagePtr> allPackages;

    TEngParticlePackage() = default;
    // Every particle still in a pool forgets the package.
    ~TEngParticlePackage();
    TEngParticlePackage(const TEngParticlePackage&) = delete;
    TEngParticlePackage& operator=(const TEngParticlePackage&) = delete;

    // Frees every particle, empties both pools, leaves allPackages.
    int Free();
    // Draws the alpha pool, then the light pool, each in slot order; Counter counts the
    // particles drawn. Returns 0.
    int draw();
    // Puts the particle into the pool of its own blend at slot index. When that slot holds a
    // particle in use, the first free slot of the pool is taken instead, so a live effect is
    // never cut short; with no free slot nothing is placed. Returns 0.
    int PutSubParticle(const TEngParticlePtr& particle, int index);
    // The first free particle of the blend's pool (3 or 4), with myPackageIndex set to its
    // slot; null for a full pool or another blend. It stays free until a creator fills it.
    TEngParticlePtr GetMyFreeParticle(int blend);
    // Every particle of both pools free, at once (no last frame, no sub-particles started).
    int Clear();
    // Every particle in use moves in time by f lifetimes.
    int MoveInTime(float f);

    // The pool of a blend; null for other blends.
    std::vector<TEngParticlePtr>* PoolOf(int blend);
    // Particles in use in both pools (tests, benchmarks, the viewer).
    int CountInUse() const;
};

// A package whose two pools each hold max new, free particles.
TEngParticlePackagePtr CreateEngParticlePackage(int max);
// Draws the package (BasicPackage when null); the owning screen calls it once a frame.
void DrawEngPackage(const TEngParticlePackagePtr& package);
// The package's first free particle of the blend; the package must be set.
TEngParticlePtr GetFreeParticle(const TEngParticlePackagePtr& package, int blend);
// Clears the package (BasicPackage when null).
void ClearParticles(const TEngParticlePackagePtr& package);
// ClearParticles on every package of allPackages.
void ClearAllParticles();

// The package of effects given no package. Start-up makes it with 1500 particles a pool
// (InitEngParticles); no screen draws it. While it does not exist, such effects make nothing.
extern TEngParticlePackagePtr BasicPackage;
