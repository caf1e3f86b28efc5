// The named effect recipes: free functions that each place one or more keyframe particles into
// a package through the creators of game/effects/Creators.h. A null package means
// BasicPackage. A recipe returns 0; when the pool runs out it silently makes fewer particles.
//
// Arguments: the effect's position first, then its own values, the package mostly last.
// Angles are degrees (y grows downward, so angle 90 points down and -90 up); delays and lives
// are milliseconds of the application clock; colours are 0..255. Random spreads come from the
// platform's one generator (Rand, Rnd). Burst recipes make their whole burst in one call; trail,
// glow, smoke and water recipes make a few particles a call and are called every frame or on a
// timer for as long as the effect should run.
//
// Image numbers index TEngParticle::standardImg (data/Effects/Particles/ParticlesList.txt):
// 0 five-pointed star, 1 four-pointed sparkle, 3 water drop, 5 soft glow, 7 light ray,
// 8 sparkle flare, 9 round puff, 10 cloud puff, 11 wispy puff, 12 spot glow, 13 star.
#pragma once
#include "game/effects/EngParticle.h"
#include "platform/Image.h"

// The picture the hint and level-switch trails draw in place of their numbered images: the
// flying hint's ball. The hints' set-up stores it here when it loads it; while it is null the
// trails draw images 5 and 12.
extern TImagePtr HintParticleImage;

// ---- Bursts that fly out from a centre ----

// A ray ring: floor(360 / step) rays at angles 0, step, 2 step ..., each a light ray (image 7)
// that runs from (x, y) out to radius while it lengthens (y scale 0.25 to 6 times scale),
// fades out and turns from (r, g, b) to an orange near (250, 150, 50). CreateBoom3 spreads the
// rays' starts over a third of the life, CreateBoom4 over the whole life; CreateBoom6 starts
// them together; CreateBoom7 is a faint alpha-blended ring. A step of 0 or less makes nothing.
// The flying stars call CreateBoom3(x, y, 2, 0, 2000, 32 or 48, 255, 100, 0, 1, package).
int CreateBoom3(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package);
int CreateBoom4(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package);
int CreateBoom6(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package);
int CreateBoom7(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package);
// Three rings: the ray ring, a ring twice around of shorter multicoloured rays half a life
// later, and a ring four times around of turning sparks (images 8 to 11).
int CreateBoom(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
               const TEngParticlePackagePtr& package);

// ---- Game effects ----

// The glowing trail of a flying hint: two light particles from (x, y) to (tx, ty), arcing 16 to
// 24 pixels up on the way, one faint white and one from (r, g, b) to (100, 255, 0); both draw
// HintParticleImage when it is set. spread is accepted and not used. The game screen calls it
// eight times a batch, at most every 10 ms, along the stretch the hint flew since the batch
// before, with colour (0, 255, 0), spread 32, life 500, delay Rand(0, 25).
int CreateHintParticle(int x, int y, int tx, int ty, int r, int g, int b, int spread, int life, int delay,
                       const TEngParticlePackagePtr& package);
// As CreateHintParticle, running straight at constant speed, the second particle keeping its
// colour (r, g, b): the stages map's level-switch trail.
int CreateLevelSwitchParticle(int x, int y, int tx, int ty, int r, int g, int b, int spread, int life, int delay,
                              const TEngParticlePackagePtr& package);
// One light spark at (x, y) (image 8 or 11) that grows from 0 to scale, turns about one full
// turn, fades out and runs from magenta to cyan.
int CreateMagicAura(float x, float y, float scale, int delay, int life, const TEngParticlePackagePtr& package);
// One grey dust puff (image 11, alpha pool) that drifts straight out from (x, y) to a random
// point radius / 5 to radius away, grows a little from a scale between scaleMin and scaleMax,
// turns, and fades in and back out.
int CreateBuildDust(float x, float y, float radius, float scaleMin, float scaleMax, int life,
                    const TEngParticlePackagePtr& package);
