// Spots, water and bursts: the recipes that glow on a spot or rise, the water drops and flows,
// the bursts of rotation particles that fly out from a centre, and the flame.
#include "game/effects/Creators.h"
#include "game/effects/RecipeMath.h"
#include "game/effects/Recipes.h"
#include "platform/Random.h"

using namespace recipe;

namespace {

enum class RayRing { Boom, Boom3, Boom4, Boom6, Boom7 };

// The ray ring shared by CreateBoom, CreateBoom3, CreateBoom4, CreateBoom6 and CreateBoom7.
// Stops early when the pool runs out: no particle dies within the call, so every later ray
// would find the pool full too.
void MakeRayRing(RayRing kind, int x, int y, float radius, int delay, int life, float step, int r, int g, int b,
                 float scale, const TEngParticlePackagePtr& package) {
    if (!(step > 0.0f)) return;  // a step of 0 would never close the ring
    const float rotationsMax = 360.0f / step;
    const float limit = rotationsMax - 1.0f;
    const float a1 = kind == RayRing::Boom7 ? 0.25f : 1.0f;
    const int blend = kind == RayRing::Boom7 ? EngAlphaBlend : EngLightBlend;
    for (float n = 0.0f; n <= limit; n += 1.0f) {
        const float a = n * step;
        const float endR = Clamp255(250.0f + Rand(-15, 15));
        const float endG = Clamp255(150.0f + Rand(-15, 15));
        const float endB = Clamp255(50.0f + Rand(-15, 15));
        int rayDelay = delay;
        if (kind == RayRing::Boom3) rayDelay = delay + Rand(0, life / 3);
        if (kind == RayRing::Boom4) rayDelay = delay + Rand(0, life);
        if (!CreateRotationParticle(0, 7, x, y, 0, radius, 0, radius, a, a, a, a, r, g, b, T(endR), T(endG), T(endB),
                                    a1, 0, 0.5f, 1, 0.25f * scale, 6 * scale, a - 90, a - 90, blend, rayDelay, life,
                                    package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0))
            return;
    }
}

}  // namespace

int CreateBoom3(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package) {
    MakeRayRing(RayRing::Boom3, x, y, radius, delay, life, step, r, g, b, scale, package);
    return 0;
}

int CreateBoom4(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package) {
    MakeRayRing(RayRing::Boom4, x, y, radius, delay, life, step, r, g, b, scale, package);
    return 0;
}

int CreateBoom6(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package) {
    MakeRayRing(RayRing::Boom6, x, y, radius, delay, life, step, r, g, b, scale, package);
    return 0;
}

int CreateBoom7(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
                const TEngParticlePackagePtr& package) {
    MakeRayRing(RayRing::Boom7, x, y, radius, delay, life, step, r, g, b, scale, package);
    return 0;
}

int CreateBoom(int x, int y, float radius, int delay, int life, float step, int r, int g, int b, float scale,
               const TEngParticlePackagePtr& package) {
    MakeRayRing(RayRing::Boom, x, y, radius, delay, life, step, r, g, b, scale, package);
    if (!(step > 0.0f)) return 0;

    // Ring 2: half the step's count of rays per turn, twice around, half a life later.
    const float limit2 = 360.0f / (step / 2.0f) - 1.0f;
    for (float n = 0.0f; n <= limit2; n += 1.0f) {
        const float a = n * step;
        const float sr = Clamp255(static_cast<float>(r + Rand(-50, 50)));
        const float sg = Clamp255(static_cast<float>(g + Rand(-50, 50)));
        const float sb = Clamp255(static_cast<float>(b + Rand(-50, 50)));
        const float er = Clamp255(static_cast<float>(r + Rand(-50, 50)));
        const float eg = Clamp255(static_cast<float>(g + Rand(-50, 50)));
        const float eb = Clamp255(static_cast<float>(b + Rand(-50, 50)));
        if (!CreateRotationParticle(0, 7, x, y, 0, 0.75f * radius, 0, 0.75f * radius, a, a, a, a, T(sr), T(sg), T(sb),
                                    T(er), T(eg), T(eb), 1, 0, 0.5f, 1, 0.1f * scale, 5 * scale, a - 90, a - 90,
                                    EngLightBlend, delay + life / 2, life, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0))
            break;
    }

    // Ring 3: four times around, turning sparks of two kinds.
    const float limit3 = 360.0f / (step / 4.0f) - 1.0f;
    for (float n = 0.0f; n <= limit3; n += 1.0f) {
        const float a = n * step;
        const bool kindA = Rand(0, 1) == 1;
        int sr, sg, sb, er, eg, eb, sparkLife, sparkDelay;
        float syEnd;
        if (kindA) {
            sr = r;
            sg = g;
            sb = b;
            er = T(Clamp255(250.0f + Rand(-15, 15)));
            eg = T(Clamp255(150.0f + Rand(-15, 15)));
            eb = T(Clamp255(50.0f + Rand(-15, 15)));
            syEnd = 4 * scale;
            sparkLife = life + life / 2;
            sparkDelay = delay + life / 3;
        } else {
            sr = T(Clamp255(static_cast<float>(r + Rand(-50, 50))));
            sg = T(Clamp255(static_cast<float>(g + Rand(-50, 50))));
            sb = T(Clamp255(static_cast<float>(b + Rand(-50, 50))));
            er = T(Clamp255(static_cast<float>(r + Rand(-50, 50))));
            eg = T(Clamp255(static_cast<float>(g + Rand(-50, 50))));
            eb = T(Clamp255(static_cast<float>(b + Rand(-50, 50))));
            syEnd = 2 * scale;
            sparkLife = life;
            sparkDelay = delay + 500;
        }
        const int image = Rand(8, 11);
        const float rot2 = static_cast<float>(Rand(-90, 90) + 360);
        if (!CreateRotationParticle(0, image, x, y, 0, 0.5f * radius, 0, 0.5f * radius, a, a, a, a, sr, sg, sb, er, eg,
                                    eb, 1, 0, 0.5f, 1, 0.1f * scale, syEnd, 0, rot2, EngLightBlend, sparkDelay,
                                    sparkLife, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0))
            break;
    }
    return 0;
}
