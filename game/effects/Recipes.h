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
// 8 spark puff, 9 round puff, 10 cloud puff, 11 wispy puff, 12 spot glow, 13 star.
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

// ---- Spots: two light particles a call, a large faint glow and a small bright core (image 12)
// whose alpha rises, holds and falls back ----

// A purple glow flickering on (x, y) (the offset drawn from -2 to +4), now and then with a pink
// core; life 300.
int CreateAmulethParticle(int x, int y, const TEngParticlePackagePtr& package);
// The same in teal with a cyan core.
int CreateLevelOverParticle(int x, int y, const TEngParticlePackagePtr& package);
// A yellow glow with a white core rising 16 pixels over 3 s, each after up to 1 s.
int CreateSpoTEngParticle(int x, int y, const TEngParticlePackagePtr& package);
// Rising 256 to 512 pixels over 2.5 to 3.5 s, after 1 to 6 s.
int CreateSpoTEngParticle1(int x, int y, const TEngParticlePackagePtr& package);
// A cyan glow rising 64 to 128 pixels, timed as CreateSpoTEngParticle1.
int CreateSpoTEngParticle2(int x, int y, const TEngParticlePackagePtr& package);
// A larger yellow glow rising 80 to 190 pixels over 2 to 2.5 s, after delay.
int CreateSpoTEngParticle3(int x, int y, int delay, const TEngParticlePackagePtr& package);

// ---- Water: one particle a call ----

// A particle of the given image and colour running straight from (x1, y1) to (x2, y2).
int CreateWaterFlowParticle(int image, int x1, int y1, int x2, int y2, int r, int g, int b, float a1, float a2,
                            float scale1, float scale2, int blend, int delay, int life,
                            const TEngParticlePackagePtr& package);
// The same stretched twice as tall.
int CreateWaterFlowParticle2(int image, int x1, int y1, int x2, int y2, int r, int g, int b, float a1, float a2,
                             float scale1, float scale2, int blend, int delay, int life,
                             const TEngParticlePackagePtr& package);
// A drop (image 3) falling fall pixels from about (x, y), gathering speed, cyan turning white.
int CreateWaterFallParticle(int x, int y, float fall, int delay, int life, const TEngParticlePackagePtr& package);
// The same, landing at endX.
int CreateWaterFallParticle2(int x, int y, float endX, float fall, int delay, int life,
                             const TEngParticlePackagePtr& package);
// CreateWaterFallParticle2 with larger drops.
int CreateWaterFallParticle3(int x, int y, float endX, float fall, int delay, int life,
                             const TEngParticlePackagePtr& package);
// A drop that sparkles on the spot.
int CreateWaterSparkParticle(int x, int y, int delay, int life, const TEngParticlePackagePtr& package);
// A drop thrown in an arc height pixels high, landing about spread pixels left or right.
int CreateFontainParticle(int x, int y, float height, float spread, int delay, int life,
                          const TEngParticlePackagePtr& package);

// ---- More bursts ----

// Three rings of turning sparks (images 8 to 11) flying out to between radius / 2 and radius:
// count orange ones, count / 2 red ones 250 ms later and count / 3 yellow ones 500 ms later.
int CreateBoom2(int x, int y, float radius, int delay, int life, int count, const TEngParticlePackagePtr& package);
// One flame tongue (image 9 or 10) about (x, y), moving width pixels along the angle (only its
// vertical part: Sin(angle) x width) while it grows to between size / 2 and size, from dark
// red, orange or yellow.
int CreateFire(float x, float y, float size, float angle, float width, int delay, int life,
               const TEngParticlePackagePtr& package);

// ---- Gold, auras, beams, lamps, candles and embers ----

// As CreateMagicAura, green and faint, turning either way.
int CreateMagicAura_Green(float x, float y, float scale, int delay, int life, const TEngParticlePackagePtr& package);
// A star (image 0 or 1) near the colour (r, g, b) rising height / 2 to height pixels while it
// grows and fades.
int CreateFlyingStarParticle(int x, int y, int life, int r, int g, int b, int height, int delay,
                             const TEngParticlePackagePtr& package);
// A small white puff (alpha pool) flying 24 to 32 pixels out from near (x, y) in 500 ms.
int CreateChipSmokeParticle(int x, int y, const TEngParticlePackagePtr& package);
// A gold spark: a hop up and a fall to 32 to 48 pixels below, landing up to spread pixels
// aside. The three unnamed words are not read.
int CreateGoldParticle(int x, int y, int, int, int, int spread, int life, int delay,
                       const TEngParticlePackagePtr& package);
// A red-to-yellow spark flying to a random point within spread.
int CreateGoldParticle2(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package);
// The same, green to yellow.
int CreateGoldParticle3(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package);
// The same, magenta to cyan, larger.
int CreateGoldParticle4(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package);
// One light ray (image 7) running out from (ox, oy) along a random angle to distance, turning
// from (r, g, b) to orange.
int CreateMagicAura2(int ox, int oy, float distance, int delay, int life, int r, int g, int b, float scale,
                     const TEngParticlePackagePtr& package);
// The same, turning to cyan.
int CreateMagicAura3(int ox, int oy, float distance, int delay, int life, int r, int g, int b, float scale,
                     const TEngParticlePackagePtr& package);
// One glowing ball (image 9 or 10) from (x, y) to a random point radius away from (tx, ty).
int CreateBeamBall(int x, int y, int tx, int ty, float scale, float radius, int r1, int g1, int b1, int r2, int g2,
                   int b2, int delay, int life, const TEngParticlePackagePtr& package);
// A beam of balls every 15 pixels along the straight line from (x, y) to (tx, ty), one each
// way per step.
int CreateBeam(int x, int y, int tx, int ty, float scale, float radius, int r1, int g1, int b1, int r2, int g2, int b2,
               int life, const TEngParticlePackagePtr& package);
// The same along the quadratic curve through (cx, cy).
int CreateBeamOneBezier(int x, int y, int tx, int ty, int cx, int cy, float scale, float radius, int r1, int g1, int b1,
                        int r2, int g2, int b2, int life, const TEngParticlePackagePtr& package);
// The same along the cubic curve through (c1x, c1y) and (c2x, c2y).
int CreateBeamTwoBezier(int x, int y, int tx, int ty, int c1x, int c1y, int c2x, int c2y, float scale, float radius,
                        int r1, int g1, int b1, int r2, int g2, int b2, int life,
                        const TEngParticlePackagePtr& package);
// A warm light (image 5) at (x, y) fading in to alpha over half the life and out over the other
// half: a pooled particle with a stand-alone sub-particle.
int CreateLampLight(int x, int y, int life, float scale, const TEngParticlePackagePtr& package, float alpha);
// A candle flame (image 9) swaying up 64 x scale pixels, red turning orange.
int CreateCandleFire(int x, int y, int life, float scale, const TEngParticlePackagePtr& package);
// The same flame twice, alpha-blended under additive.
int CreateCandleFire2(int x, int y, int life, float scale, const TEngParticlePackagePtr& package);
// count glowing embers within spread of (x, y), appearing one after another over one life.
int CreateZar(int x, int y, int life, int spread, int count, const TEngParticlePackagePtr& package);

// ---- Smokes, gunfire and power bursts ----

// count puffs (images 8 to 11) rising rise to rise + 15 pixels and drifting aside, fading in
// and back out: green light for CreateGreenSmoke, light grey for CreateCigarSmoke, large light
// grey for CreateCigarSmoke3, and darker grey blown 450 to 500 pixels left for CreateCigarSmoke4.
// The fourth argument is not read.
int CreateGreenSmoke(int x, int y, float rise, float, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package);
int CreateCigarSmoke(int x, int y, float rise, float, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package);
int CreateCigarSmoke3(int x, int y, float rise, float, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package);
int CreateCigarSmoke4(int x, int y, float rise, float, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package);
// One green light puff rising from within 32 pixels of (x, y), 3 s.
int CreateGreenSmoke2(int x, int y, const TEngParticlePackagePtr& package);
// count light grey glows (image 5) drifting by (dx, dy) on a curve from near (x, y).
int CreateCigarSmoke2(int x, int y, int dx, int dy, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package);
// count dark puffs drifting up to distance pixels from near (x, y) on a curve.
int CreateBlackSmoke(int x, int y, int distance, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package);
// One small dark puff rising rise pixels. The sixth argument is not read.
int CreateBlackSmoke2(int x, int y, int rise, int life, int maxDelay, int, const TEngParticlePackagePtr& package);
// count fire puffs snaking length pixels along the direction from near (x, y).
int CreateCrossFireDir(int x, int y, float direction, float length, int life, int count, int maxDelay,
                       const TEngParticlePackagePtr& package);
// A muzzle flash: a fan of eight flame tongues ending on the direction and a ring of 30 sparks.
int CreateGunFire(int x, int y, float direction, float scale, int life, const TEngParticlePackagePtr& package);
// Three bursts (CreateBoom2 three times) and 161 grey smoke puffs spreading over 6 s.
int CreateMegaBoom(int x, int y, const TEngParticlePackagePtr& package);
// CreateBoom2, a two-ray CreateBoom3, CreateBoom2, and 161 smoke puffs over 4 s.
int CreateMegaBoom2(int x, int y, const TEngParticlePackagePtr& package);
// 81 grey puffs drawn in from around (x, y) to it, growing smaller.
int CreateMegaBoomReverse(int x, int y, const TEngParticlePackagePtr& package);
// 72 rays that shrink into (x, y) while they brighten from (r, g, b) to orange.
int CreateSummitPower(int x, int y, int r, int g, int b, const TEngParticlePackagePtr& package);
// The same, smaller and quicker.
int CreateSummitPower2(int x, int y, int r, int g, int b, const TEngParticlePackagePtr& package);
// 100 stars (image 13, each drawn alpha-blended and additive) thrown up and falling.
int CreateStarBoom(int x, int y, const TEngParticlePackagePtr& package);
// Three rings of turning sparks: count orange, count / 2 red 250 ms later, count / 3 yellow
// 500 ms later and closer.
int CreateBoom5(int x, int y, float radius, int delay, int life, int count, const TEngParticlePackagePtr& package);
