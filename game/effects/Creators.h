// The two primitive particle creators, their short forms, and the numbered particle images.
//
// Every keyframe particle is made by CreateStandardParticle (on a route) or
// CreateRotationParticle (moving about a centre). Each takes a free particle from the pool of
// its blend in the package (BasicPackage when the package is null), or, with the stand-alone
// flag set, makes a new particle outside every pool, to become another particle's subPart. It
// returns null, and changes nothing, when the pool is full or the blend is neither 3 nor 4.
//
// Positions, control points and colours are whole numbers; delay and life are milliseconds of
// the application clock; a pooled particle starts at AppMilliSecs() + delay. The creators
// never set image or img: a recipe that draws a picture of its own sets image on the particle
// it gets back.
#pragma once
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"
#include "game/effects/EngParticle.h"

TEngParticlePtr CreateStandardParticle(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1, int mx2,
                                       int my2, int r1, int g1, int b1, int r2, int g2, int b2, float a1, float a2,
                                       float sx1, float sx2, float sy1, float sy2, float rot1, float rot2, int blend,
                                       int delay, int life, const TEngParticlePackagePtr& package,
                                       int isUsingBothPoints, const TEngParticlePtr& subPart, int isAlphaSin,
                                       int isScaleXSin, int isScaleYSin, int isRotationSin, int isRouteSin,
                                       int isColorSin);

TEngParticlePtr CreateRotationParticle(int standAlone, int n, int ox, int oy, float w1, float w2, float h1, float h2,
                                       float posRotX1, float posRotX2, float posRotY1, float posRotY2, int r1, int g1,
                                       int b1, int r2, int g2, int b2, float a1, float a2, float sx1, float sx2,
                                       float sy1, float sy2, float rot1, float rot2, int blend, int delay, int life,
                                       const TEngParticlePackagePtr& package, const TEngParticlePtr& subPart,
                                       int isAlphaSin, int isScaleXSin, int isScaleYSin, int isRotationSin,
                                       int isColorSin, int isDistWidthSin, int isDistHeightSin,
                                       int isRouteRotRotationXSin, int isRouteRotRotationYSin);

// A route particle of one constant colour (the colour's r, g, b; its alpha is not used) and one
// uniform scale, on the quadratic route through (mx1, my1), without easing or sub-particle.
TEngParticlePtr CreateEasyParticle(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1,
                                   const TRGB& color, float a1, float a2, float scale1, float scale2, float rot1,
                                   float rot2, int blend, int delay, int life, const TEngParticlePackagePtr& package);
// The same on the cubic route through (mx1, my1) and (mx2, my2).
TEngParticlePtr CreateEasyParticle2(int standAlone, int n, int x1, int y1, int x2, int y2, int mx1, int my1, int mx2,
                                    int my2, const TRGB& color, float a1, float a2, float scale1, float scale2,
                                    float rot1, float rot2, int blend, int delay, int life,
                                    const TEngParticlePackagePtr& package);

// Sine-flag setters on a particle (which must be set); each returns 0.
int SeTEngParticleAlphaSin(const TEngParticlePtr& particle);
int SeTEngParticleScaleSin(const TEngParticlePtr& particle);
int SeTEngParticleScaleXSin(const TEngParticlePtr& particle);
int SeTEngParticleScaleYSin(const TEngParticlePtr& particle);
int SeTEngParticleRotationSin(const TEngParticlePtr& particle);
int SetBasicSin(const TEngParticlePtr& particle);  // alpha, scale and rotation
int SetRouteSin(const TEngParticlePtr& particle);
int SetColorSin(const TEngParticlePtr& particle);

// The images named by a text file, one path a line, each relative to the data folder bDir
// (bDir + line, trimmed; the last line, when not ended by a line feed, is used untrimmed). A
// line whose image cannot be had is reported by the image loader and adds nothing, so later
// images move down by one. A file that cannot be read is reported and gives an empty list.
std::vector<TImgPtr> CreateImageList(const std::string& path);
// Makes TEngParticle::standardImg from the list: each image's pixels loaded now (a sub-image's
// shared texture, or the whole image) and its handle at its centre, so particles are drawn,
// scaled and rotated about their centre. Called by the hints' set-up with
// bDir + "Effects/Particles/ParticlesList.txt".
void SetupParticles(const std::string& path);
// bDir + "Effects/Particles/ParticlesList.txt".
std::string ParticlesListPath();
