// Game effects, gold, auras and beams: the trails of the flying hint and of the stages map's
// level switch, the aura at the new level, the kingdom's building dust, and the library's gold
// sparks, auras, beams, lamp light, candle flames and embers.
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
        CreateStandardParticle(0, 5, x, y, tx, ty, mx1, my1, mx2, my2, 255, 255, 255, 255, 255, 255, 0.25f, 0, 0.5f,
                               1, 0.5f, 1, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
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
    TEngParticlePtr p = CreateStandardParticle(0, 11, T(x), T(y), T(ex), T(ey), T(mx), T(my), 0, 0, k, k, k, k, k, k,
                                               0, 1, s, s2, s, s2, rot1, rot2, EngAlphaBlend, 0, life, package, 0,
                                               nullptr, 0, 0, 0, 0, 0, 0);
    if (p) p->isAlphaBack = 1;
    return 0;
}
