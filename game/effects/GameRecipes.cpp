// Game effects, gold, auras and beams: the trails of the flying hint and of the stages map's
// level switch, the aura at the new level, the kingdom's building dust, and the library's gold
// sparks, auras, beams, lamp light, candle flames and embers.
#include <cmath>
#include <cstdint>

#include "game/effects/Creators.h"
#include "game/effects/RecipeMath.h"
#include "game/effects/Recipes.h"
#include "platform/Random.h"

using namespace recipe;

TImagePtr HintParticleImage;

namespace {

// The pair of light particles shared by the hint and level-switch trails: a faint white glow
// (image 5) and a coloured one (image 12) on one route.
void MakeTrailPair(int x, int y, int tx, int ty, int mx1, int my1, int mx2, int my2, int r, int g, int b, int er,
                   int eg, int eb, int life, int delay, const TEngParticlePackagePtr& package) {
    TEngParticlePtr white =
        CreateStandardParticle(0, 5, x, y, tx, ty, mx1, my1, mx2, my2, 255, 255, 255, 255, 255, 255, 0.25f, 0, 0.5f, 1,
                               0.5f, 1, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    TEngParticlePtr coloured =
        CreateStandardParticle(0, 12, x, y, tx, ty, mx1, my1, mx2, my2, r, g, b, er, eg, eb, 1, 0, 0.5f, 2, 0.5f, 2, 0,
                               0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    if (white) white->image = HintParticleImage;
    if (coloured) coloured->image = HintParticleImage;
}

}  // namespace

int CreateHintParticle(int x, int y, int tx, int ty, int r, int g, int b, int /*spread*/, int life, int delay,
                       const TEngParticlePackagePtr& package) {
    const int mx1 = T(x + (tx - x) * 0.33f);
    const int my1 = y - Rand(16, 24);
    const int mx2 = T(x + (tx - x) * 0.66f);
    const int my2 = y;
    MakeTrailPair(x, y, tx, ty, mx1, my1, mx2, my2, r, g, b, 100, 255, 0, life, delay, package);
    return 0;
}

int CreateLevelSwitchParticle(int x, int y, int tx, int ty, int r, int g, int b, int /*spread*/, int life, int delay,
                              const TEngParticlePackagePtr& package) {
    const int mx1 = T(x + (tx - x) * 0.33f);
    const int my1 = T(y + (ty - y) * 0.33f);
    const int mx2 = T(x + (tx - x) * 0.66f);
    const int my2 = T(y + (ty - y) * 0.66f);
    MakeTrailPair(x, y, tx, ty, mx1, my1, mx2, my2, r, g, b, r, g, b, life, delay, package);
    return 0;
}

int CreateMagicAura(float x, float y, float scale, int delay, int life, const TEngParticlePackagePtr& package) {
    const int image = Rand(0, 1) != 0 ? 11 : 8;
    const float rot1 = static_cast<float>(Rand(-90, 90));
    const float rot2 = static_cast<float>(360 + Rand(-90, 90));
    CreateRotationParticle(0, image, T(x), T(y), 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 255, 255, 1, 0, 0, scale, 0,
                           scale, rot1, rot2, EngLightBlend, delay, life, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    return 0;
}

int CreateBuildDust(float x, float y, float radius, float scaleMin, float scaleMax, int life,
                    const TEngParticlePackagePtr& package) {
    const int d = Rand(T(radius / 5), T(radius));
    const int a = Rand(0, 360);
    const float ex = x + Cos(static_cast<float>(a)) * d;
    const float ey = y + Sin(static_cast<float>(a)) * d;
    const float mx = x + (ex - x) * 0.5f;
    const float my = y + (ey - y) * 0.5f;
    const float s = static_cast<float>(Rnd(scaleMin, scaleMax));
    const float s2 = s + static_cast<float>(Rnd(0.1, 0.25));
    const int k = Rand(150, 200);
    const float rot1 = static_cast<float>(Rand(0, 90));
    const float rot2 = static_cast<float>(Rand(0, 90));
    TEngParticlePtr p =
        CreateStandardParticle(0, 11, T(x), T(y), T(ex), T(ey), T(mx), T(my), 0, 0, k, k, k, k, k, k, 0, 1, s, s2, s,
                               s2, rot1, rot2, EngAlphaBlend, 0, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    if (p) p->isAlphaBack = 1;
    return 0;
}

int CreateMagicAura_Green(float x, float y, float scale, int delay, int life, const TEngParticlePackagePtr& package) {
    const float rot1 = static_cast<float>(Rand(-90, 90));
    float rot2 = static_cast<float>(360 + Rand(-90, 90));
    if (Rand(0, 1) != 0) rot2 = static_cast<float>(-360 + Rand(-90, 90));  // turning the other way
    const int image = Rand(0, 1) != 0 ? 9 : 8;
    int r1 = 0, g1 = 255, b1 = 0, r2 = 0, g2 = 150, b2 = 0;
    if (Rand(0, 1) != 0) {
        g1 = 100;
        r2 = 150;
        g2 = 255;
        b2 = 150;
    }
    CreateRotationParticle(0, image, T(x), T(y), 0, 0, 0, 0, 0, 0, 0, 0, r1, g1, b1, r2, g2, b2, 0.25f, 0, 0, scale, 0,
                           scale, rot1, rot2, EngLightBlend, delay, life, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    return 0;
}

int CreateFlyingStarParticle(int x, int y, int life, int r, int g, int b, int height, int delay,
                             const TEngParticlePackagePtr& package) {
    const int cr = T(Clamp255(static_cast<float>(r + Rand(-15, 15))));
    const int cg = T(Clamp255(static_cast<float>(g + Rand(-15, 15))));
    const int cb = T(Clamp255(static_cast<float>(b + Rand(-15, 15))));
    const int rise = -Rand(height / 2, height);
    CreateStandardParticle(0, Rand(0, 1), x, y, x, y + rise, x, y, x, y, cr, cg, cb, cr, cg, cb, 1, 0, 0, 1, 0, 1, 0, 0,
                           EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    return 0;
}

int CreateChipSmokeParticle(int x, int y, const TEngParticlePackagePtr& package) {
    const int sx = x + Rand(-12, 12), sy = y + Rand(-12, 12);
    const int d = Rand(24, 32);
    const int a = Rand(0, 360);
    const int ex = T(sx + CosDeg(a) * d), ey = T(sy + SinDeg(a) * d);
    const float rot2 = static_cast<float>(Rand(0, 720) - 360);
    CreateStandardParticle(0, Rand(9, 10), sx, sy, ex, ey, sx, sy, 0, 0, 230, 230, 230, 250, 250, 250, 1, 0, 0.2f, 1,
                           0.2f, 1, 0, rot2, EngAlphaBlend, Rand(0, 100), 500, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    return 0;
}

namespace {

// The pair of a gold spark on one route: a faint white glow (image 5) and a coloured one
// (image 12), with no picture of their own.
void MakeGoldPair(int x, int y, int tx, int ty, int mx1, int my1, int mx2, int my2, int r1, int g1, int b1, int r2,
                  int g2, int b2, float firstScale, float secondScale, int life, int delay,
                  const TEngParticlePackagePtr& package) {
    CreateStandardParticle(0, 5, x, y, tx, ty, mx1, my1, mx2, my2, 255, 255, 255, 255, 255, 255, 0.25f, 0, 0.5f,
                           firstScale, 0.5f, firstScale, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0,
                           0, 0, 0);
    CreateStandardParticle(0, 12, x, y, tx, ty, mx1, my1, mx2, my2, r1, g1, b1, r2, g2, b2, 1, 0, 0.5f, secondScale,
                           0.5f, secondScale, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
}

// The end of the sparks of CreateGoldParticle2 to 4: a random point within spread; the route
// starts at rest.
void GoldEnd(int x, int y, int spread, int& ex, int& ey) {
    ex = x + Rand(-spread, spread);
    ey = y + Rand(-spread, spread);
}

}  // namespace

int CreateGoldParticle(int x, int y, int, int, int, int spread, int life, int delay,
                       const TEngParticlePackagePtr& package) {
    int tx = x + Rand(-spread, spread);
    const int aside = Rand(T(spread * S(0.5f)), spread);
    tx += Rand(0, 1) != 0 ? aside : -aside;
    const int ty = y + Rand(32, 48);
    const int mx1 = T(x + (tx - x) * S(0.33f));
    const int my1 = y - Rand(16, 24);
    const int mx2 = T(x + (tx - x) * S(0.66f));
    const int r1 = Rand(230, 255), g1 = Rand(230, 255), b1 = Rand(0, 50);
    MakeGoldPair(x, y, tx, ty, mx1, my1, mx2, y, r1, g1, b1, 255, 255, 0, 1, 2, life, delay, package);
    return 0;
}

int CreateGoldParticle2(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package) {
    int ex, ey;
    GoldEnd(x, y, spread, ex, ey);
    MakeGoldPair(x, y, ex, ey, x, y, ex, ey, Rand(230, 255), 0, 0, 255, 255, 0, 1, 2, life, delay, package);
    return 0;
}

int CreateGoldParticle3(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package) {
    int ex, ey;
    GoldEnd(x, y, spread, ex, ey);
    const int g1 = Rand(200, 255);
    const int r2 = Rand(200, 255), g2 = Rand(200, 255);
    MakeGoldPair(x, y, ex, ey, x, y, ex, ey, 0, g1, 0, r2, g2, 0, 1, 2, life, delay, package);
    return 0;
}

int CreateGoldParticle4(int x, int y, int, int, int, int spread, int life, int delay,
                        const TEngParticlePackagePtr& package) {
    int ex, ey;
    GoldEnd(x, y, spread, ex, ey);
    const int r1 = Rand(225, 255), b1 = Rand(225, 255);
    const int g2 = Rand(225, 255), b2 = Rand(225, 255);
    MakeGoldPair(x, y, ex, ey, x, y, ex, ey, r1, 0, b1, 0, g2, b2, 2, 3, life, delay, package);
    return 0;
}

namespace {

// A light ray (image 7) running straight out from (ox, oy) along a random angle.
void MakeAuraRay(int ox, int oy, float distance, int delay, int life, int r, int g, int b, int er, int eg, int eb,
                 float scale, const TEngParticlePackagePtr& package) {
    const float a = static_cast<float>(Rand(0, 360));
    CreateRotationParticle(0, 7, ox, oy, 0, distance, 0, distance, a, a, a, a, r, g, b, er, eg, eb, 1, 0, 0.5f, 1,
                           0.25f * scale, 6 * scale, a - 90, a - 90, EngLightBlend, delay, life, package, nullptr, 0, 0,
                           0, 0, 0, 0, 0, 0, 0);
}

}  // namespace

int CreateMagicAura2(int ox, int oy, float distance, int delay, int life, int r, int g, int b, float scale,
                     const TEngParticlePackagePtr& package) {
    const int er = T(Clamp255(250.0f + Rand(-15, 15)));
    const int eg = T(Clamp255(150.0f + Rand(-15, 15)));
    const int eb = T(Clamp255(50.0f + Rand(-15, 15)));
    MakeAuraRay(ox, oy, distance, delay, life, r, g, b, er, eg, eb, scale, package);
    return 0;
}

int CreateMagicAura3(int ox, int oy, float distance, int delay, int life, int r, int g, int b, float scale,
                     const TEngParticlePackagePtr& package) {
    const int eg = T(Clamp255(240.0f + Rand(-15, 15)));
    const int eb = T(Clamp255(240.0f + Rand(-15, 15)));
    MakeAuraRay(ox, oy, distance, delay, life, r, g, b, 0, eg, eb, scale, package);
    return 0;
}

int CreateBeamBall(int x, int y, int tx, int ty, float scale, float radius, int r1, int g1, int b1, int r2, int g2,
                   int b2, int delay, int life, const TEngParticlePackagePtr& package) {
    const int a = Rand(0, 359);
    const int ex = T(tx + CosDeg(a) * radius), ey = T(ty + SinDeg(a) * radius);
    const int mx1 = x + (ex - x) / 2, my1 = y + (ey - y) / 2;
    const float rot1 = static_cast<float>(Rand(-90, 90));
    const float rot2 = static_cast<float>(360 + Rand(-90, 90));
    CreateStandardParticle(0, Rand(9, 10), x, y, ex, ey, mx1, my1, 0, 0, r1, g1, b1, r2, g2, b2, 1, 0, 0.25f, scale,
                           0.25f, scale, rot1, rot2, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    return 0;
}

namespace {

// Balls every 15 pixels of the straight distance from start to end, one each way per step,
// placed along path(p) for p from 0 to at most 1.
template <typename Path>
void MakeBeam(int x, int y, int tx, int ty, Path path, float scale, float radius, int r1, int g1, int b1, int r2,
              int g2, int b2, int life, const TEngParticlePackagePtr& package) {
    const double length = std::sqrt(static_cast<double>(tx - x) * (tx - x) + static_cast<double>(ty - y) * (ty - y));
    for (double d = 0; d <= length - 15; d += 15) {
        double ax, ay, bx, by;
        path(d / length, ax, ay);
        path((d + 15) / length, bx, by);
        CreateBeamBall(T(ax), T(ay), T(bx), T(by), scale, radius, r1, g1, b1, r2, g2, b2, 0, life, package);
        CreateBeamBall(T(bx), T(by), T(ax), T(ay), scale, radius, r1, g1, b1, r2, g2, b2, 0, life, package);
    }
}

}  // namespace

int CreateBeam(int x, int y, int tx, int ty, float scale, float radius, int r1, int g1, int b1, int r2, int g2, int b2,
               int life, const TEngParticlePackagePtr& package) {
    auto line = [&](double p, double& px, double& py) {
        px = x + p * (tx - x);
        py = y + p * (ty - y);
    };
    MakeBeam(x, y, tx, ty, line, scale, radius, r1, g1, b1, r2, g2, b2, life, package);
    return 0;
}

int CreateBeamOneBezier(int x, int y, int tx, int ty, int cx, int cy, float scale, float radius, int r1, int g1, int b1,
                        int r2, int g2, int b2, int life, const TEngParticlePackagePtr& package) {
    auto curve = [&](double p, double& px, double& py) {
        px = x + 2 * p * (cx - x) + p * p * (tx - 2.0 * cx + x);
        py = y + 2 * p * (cy - y) + p * p * (ty - 2.0 * cy + y);
    };
    MakeBeam(x, y, tx, ty, curve, scale, radius, r1, g1, b1, r2, g2, b2, life, package);
    return 0;
}

int CreateBeamTwoBezier(int x, int y, int tx, int ty, int c1x, int c1y, int c2x, int c2y, float scale, float radius,
                        int r1, int g1, int b1, int r2, int g2, int b2, int life,
                        const TEngParticlePackagePtr& package) {
    auto curve = [&](double p, double& px, double& py) {
        const double u = 1 - p;
        px = u * u * u * x + 3 * p * u * u * c1x + 3 * p * p * u * c2x + p * p * p * tx;
        py = u * u * u * y + 3 * p * u * u * c1y + 3 * p * p * u * c2y + p * p * p * ty;
    };
    MakeBeam(x, y, tx, ty, curve, scale, radius, r1, g1, b1, r2, g2, b2, life, package);
    return 0;
}

int CreateLampLight(int x, int y, int life, float scale, const TEngParticlePackagePtr& package, float alpha) {
    const auto colour = CreateRGB(255, 254, 150, 1, 1);
    const int half = T(life * S(0.5f));
    TEngParticlePtr first = CreateEasyParticle(0, 5, x, y, x, y, x, y, *colour, 0, alpha, scale, scale, 0, 0,
                                               EngLightBlend, 0, half, package);
    if (!first) return 0;
    // The fade-out waits outside the pools and takes the fade-in's slot when that one ends.
    first->subPart = CreateEasyParticle(1, 5, x, y, x, y, x, y, *colour, alpha, 0, scale, scale, 0, 0, EngLightBlend, 0,
                                        half, package);
    return 0;
}

namespace {

void MakeCandle(int x, int y, int life, float scale, bool twice, const TEngParticlePackagePtr& package) {
    const double sway = Rnd(-32, 32) * scale;
    const double endY = y - 64.0 * scale;
    const double c2y = y + 0.25 * (endY - y);
    const bool right = Rand(0, 1) != 0;
    const int c1x = T(right ? x + sway : x - sway);
    const int c2x = T(right ? x - sway : x + sway);
    const int r1 = Rand(200, 255);
    const int r2 = Rand(200, 255), g2 = Rand(100, 150);
    const float rot2 = static_cast<float>(Rand(-360, 360));
    if (twice)
        CreateStandardParticle(0, 9, x, y, x, T(endY), c1x, y, c2x, T(c2y), r1, 0, 0, r2, g2, 0, 0.25f, 0, scale,
                               1.5f * scale, scale, 1.5f * scale, 0, rot2, EngAlphaBlend, 0, life, package, 1, nullptr,
                               0, 0, 0, 0, 0, 0);
    CreateStandardParticle(0, 9, x, y, x, T(endY), c1x, y, c2x, T(c2y), r1, 0, 0, r2, g2, 0, 0.5f, 0, scale,
                           1.5f * scale, scale, 1.5f * scale, 0, rot2, EngLightBlend, 0, life, package, 1, nullptr, 0,
                           0, 0, 0, 0, 0);
}

}  // namespace

int CreateCandleFire(int x, int y, int life, float scale, const TEngParticlePackagePtr& package) {
    MakeCandle(x, y, life, scale, false, package);
    return 0;
}

int CreateCandleFire2(int x, int y, int life, float scale, const TEngParticlePackagePtr& package) {
    MakeCandle(x, y, life, scale, true, package);
    return 0;
}

int CreateZar(int x, int y, int life, int spread, int count, const TEngParticlePackagePtr& package) {
    for (int i = 1; i <= count; ++i) {
        const int k = Rand(200, 255);
        const int px = x + Rand(-spread, spread), py = y + Rand(-spread, spread);
        const int delay = static_cast<int>(static_cast<int64_t>(life) * i / count);
        CreateStandardParticle(0, 5, px, py, px, py, px, py, 0, 0, k, 0, 0, 255, 150, 0, 0.25f, 0, 0.5f, 0.5f, 0.5f,
                               0.5f, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
        CreateStandardParticle(0, 5, px, py, px, py, px, py, 0, 0, k, 0, 0, 255, 150, 0, 0.5f, 0, 0.2f, 0.2f, 0.2f,
                               0.2f, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    }
    return 0;
}
