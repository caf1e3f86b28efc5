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
                                    EngLightBlend, delay + life / 2, life, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0))
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

// ---------------------------------------------------------------------------------------------
// Spots

namespace {

// The pair of a spot: a large faint glow and a small bright core, both on the route from
// (x, y) to (x2, y2) that starts at rest (control point on the start), both fading in and back.
struct SpotLook {
    int r1, g1, b1, r2, g2, b2;
    float alpha, scale;
    int delay, life;
};

void MakeSpotParticle(int x, int y, int x2, int y2, const SpotLook& s, const TEngParticlePackagePtr& package) {
    TEngParticlePtr p = CreateStandardParticle(0, 12, x, y, x2, y2, x, y, x, y, s.r1, s.g1, s.b1, s.r2, s.g2, s.b2, 0,
                                               s.alpha, s.scale, s.scale, s.scale, s.scale, 0, 0, EngLightBlend,
                                               s.delay, s.life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    if (p) p->isAlphaBack = 1;
}

}  // namespace

int CreateAmulethParticle(int x, int y, const TEngParticlePackagePtr& package) {
    const int px = x + Rand(-2, 4), py = y + Rand(-2, 4);
    MakeSpotParticle(px, py, px, py, {66, 15, 66, 66, 15, 66, 0.5f, 1.25f, Rand(0, 50), 300}, package);
    SpotLook core{255, 0, 255, 255, 0, 255, 1, 0.5f, 0, 300};
    if (Rand(0, 5) == 0) {
        core.g1 = Rand(0, 150);
        core.g2 = Rand(0, 150);
    }
    core.delay = Rand(0, 50);
    MakeSpotParticle(px, py, px, py, core, package);
    return 0;
}

int CreateLevelOverParticle(int x, int y, const TEngParticlePackagePtr& package) {
    const int px = x + Rand(-2, 4), py = y + Rand(-2, 4);
    MakeSpotParticle(px, py, px, py, {0, 150, 150, 0, 150, 150, 0.5f, 1.25f, Rand(0, 50), 300}, package);
    int v = 255;
    if (Rand(0, 5) == 0) v = Rand(200, 255);
    MakeSpotParticle(px, py, px, py, {0, v, v, 0, v, v, 1, 0.5f, Rand(0, 50), 300}, package);
    return 0;
}

int CreateSpoTEngParticle(int x, int y, const TEngParticlePackagePtr& package) {
    MakeSpotParticle(x, y, x, y - 16, {255, 255, 0, 255, 255, 0, 0.5f, 2, Rand(0, 1000), 3000}, package);
    MakeSpotParticle(x, y, x, y - 16, {255, 255, 255, 255, 255, 255, 1, 0.5f, Rand(0, 1000), 3000}, package);
    return 0;
}

int CreateSpoTEngParticle1(int x, int y, const TEngParticlePackagePtr& package) {
    const int d = 1000 + Rand(0, 5000);
    const int life = Rand(2500, 3500);
    const int h = Rand(256, 512);
    MakeSpotParticle(x, y, x, y - h, {255, 255, 0, 255, 255, 0, 0.5f, 2, d, life}, package);
    MakeSpotParticle(x, y, x, y - h, {255, 255, 255, 255, 255, 255, 1, 0.5f, d, life}, package);
    return 0;
}

int CreateSpoTEngParticle2(int x, int y, const TEngParticlePackagePtr& package) {
    const int d = 1000 + Rand(0, 5000);
    const int life = Rand(2500, 3500);
    const int h = Rand(64, 128);
    MakeSpotParticle(x, y, x, y - h, {0, 255, 255, 0, 255, 255, 0.5f, 2, d, life}, package);
    MakeSpotParticle(x, y, x, y - h, {255, 255, 255, 255, 255, 255, 1, 0.5f, d, life}, package);
    return 0;
}

int CreateSpoTEngParticle3(int x, int y, int delay, const TEngParticlePackagePtr& package) {
    const int life = Rand(2000, 2500);
    const int h = Rand(80, 190);
    MakeSpotParticle(x, y, x, y - h, {255, 255, 0, 255, 255, 0, 0.5f, 3, delay, life}, package);
    MakeSpotParticle(x, y, x, y - h, {255, 255, 255, 255, 255, 255, 1, 1.5f, delay, life}, package);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Water

namespace {

void MakeFlow(int image, int x1, int y1, int x2, int y2, int r, int g, int b, float a1, float a2, float sx1, float sx2,
              float sy1, float sy2, int blend, int delay, int life, const TEngParticlePackagePtr& package) {
    CreateStandardParticle(0, image, x1, y1, x2, y2, 0, 0, 0, 0, r, g, b, r, g, b, a1, a2, sx1, sx2, sy1, sy2, 0, 0,
                           blend, delay, life, package, -1, nullptr, 0, 0, 0, 0, 0, 0);
}

// A drop (image 3) from (x1, y1) to (x2, y2) through (mx1, my1), cyan turning white as it fades.
void MakeDrop(int x1, int y1, int x2, int y2, int mx1, int my1, float scale1, float scale2, int delay, int life,
              const TEngParticlePackagePtr& package) {
    CreateStandardParticle(0, 3, x1, y1, x2, y2, mx1, my1, 0, 0, 0, 255, 255, 255, 255, 255, 1, 0, scale1, scale2,
                           scale1, scale2, 0, 0, EngLightBlend, delay, life, package, 0, nullptr, 0, 0, 0, 0, 0, 0);
}

}  // namespace

int CreateWaterFlowParticle(int image, int x1, int y1, int x2, int y2, int r, int g, int b, float a1, float a2,
                            float scale1, float scale2, int blend, int delay, int life,
                            const TEngParticlePackagePtr& package) {
    MakeFlow(image, x1, y1, x2, y2, r, g, b, a1, a2, scale1, scale2, scale1, scale2, blend, delay, life, package);
    return 0;
}

int CreateWaterFlowParticle2(int image, int x1, int y1, int x2, int y2, int r, int g, int b, float a1, float a2,
                             float scale1, float scale2, int blend, int delay, int life,
                             const TEngParticlePackagePtr& package) {
    MakeFlow(image, x1, y1, x2, y2, r, g, b, a1, a2, scale1, scale2, 2 * scale1, 2 * scale2, blend, delay, life,
             package);
    return 0;
}

int CreateWaterFallParticle(int x, int y, float fall, int delay, int life, const TEngParticlePackagePtr& package) {
    const int sx = x + Rand(-1, 1);
    MakeDrop(sx, y, sx, T(y + static_cast<double>(fall)), sx, y, 0.25f, 0.35f, delay, life, package);
    return 0;
}

int CreateWaterFallParticle2(int x, int y, float endX, float fall, int delay, int life,
                             const TEngParticlePackagePtr& package) {
    const int sx = x + Rand(-1, 1);
    MakeDrop(sx, y, T(endX), T(y + static_cast<double>(fall)), sx, y, 0.25f, 0.35f, delay, life, package);
    return 0;
}

int CreateWaterFallParticle3(int x, int y, float endX, float fall, int delay, int life,
                             const TEngParticlePackagePtr& package) {
    const int sx = x + Rand(-1, 1);
    MakeDrop(sx, y, T(endX), T(y + static_cast<double>(fall)), sx, y, 0.5f, 1, delay, life, package);
    return 0;
}

int CreateWaterSparkParticle(int x, int y, int delay, int life, const TEngParticlePackagePtr& package) {
    const int sx = x + Rand(-1, 1);
    MakeDrop(sx, y, sx, y, sx, y, 0.25f, 0.35f, delay, life, package);
    return 0;
}

int CreateFontainParticle(int x, int y, float height, float spread, int delay, int life,
                          const TEngParticlePackagePtr& package) {
    const int ang = Rand(0, 360);
    const double rad = spread + Rand(-5, 5);
    const int sx = x + Rand(-1, 1);
    const double ex = x + CosDeg(ang) * rad;
    const double cx = sx + (ex - sx) * 0.5;
    const double cy = y - static_cast<double>(height) + Rand(-5, 5);
    MakeDrop(sx, y, T(ex), y, T(cx), T(cy), 0.25f, 0.35f, delay, life, package);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Sparks and flame

int CreateBoom2(int x, int y, float radius, int delay, int life, int count, const TEngParticlePackagePtr& package) {
    struct Ring {
        int r, g, b;
        float scale;
    };
    const Ring rings[3] = {{250, 130, 20, 0.75f}, {250, 20, 20, 0.75f}, {220, 220, 0, 1.0f}};
    for (int d = 1; d <= 3; ++d) {
        const Ring& ring = rings[d - 1];
        const int start = Rand(0, 360);
        const float onePerRot = 360.0f / (static_cast<float>(count) / static_cast<float>(d));
        const int sparks = count / d;
        for (int i = start + 1; i <= start + sparks; ++i) {
            const float a = i * onePerRot;
            const int sr = T(Clamp255(static_cast<float>(ring.r + Rand(-50, 50))));
            const int sg = T(Clamp255(static_cast<float>(ring.g + Rand(-50, 50))));
            const int sb = T(Clamp255(static_cast<float>(ring.b + Rand(-50, 50))));
            const int er = T(Clamp255(static_cast<float>(ring.r + Rand(-50, 50))));
            const int eg = T(Clamp255(static_cast<float>(ring.g + Rand(-50, 50))));
            const int eb = T(Clamp255(static_cast<float>(ring.b + Rand(-50, 50))));
            const float distance = static_cast<float>(Rand(T(radius / 2), T(radius)));
            const int image = Rand(8, 11);
            const float rot1 = static_cast<float>(Rand(0, 360));
            const float rot2 = static_cast<float>(Rand(0, 360));
            const int sparkDelay = d == 1 ? delay + Rand(0, 100) : delay + (d == 2 ? 250 : 500);
            CreateRotationParticle(0, image, x, y, 0, distance, 0, distance, a, a, a, a, sr, sg, sb, er, eg, eb, 1, 0,
                                   0.1f, ring.scale, 0.1f, ring.scale, rot1, rot2, EngLightBlend, sparkDelay, life,
                                   package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        }
    }
    return 0;
}

int CreateFire(float x, float y, float size, float angle, float width, int delay, int life,
               const TEngParticlePackagePtr& package) {
    int pr1, pg1, pb1, pr2, pg2, pb2;
    const int k = Rand(1, 10);
    if (k <= 5) {  // dark red
        pr1 = Rand(180, 220);
        pg1 = 0;
        pb1 = 0;
    } else if (k <= 8) {  // orange
        pr1 = Rand(200, 250);
        pg1 = Rand(130, 170);
        pb1 = Rand(35, 60);
    } else {  // yellow
        pr1 = Rand(200, 250);
        pg1 = Rand(200, 250);
        pb1 = 0;
    }
    const int j = Rand(1, 3);
    if (j == 1) {
        pr2 = Rand(200, 250);
        pg2 = Rand(130, 170);
        pb2 = Rand(35, 60);
    } else if (j == 2) {
        pr2 = Rand(200, 250);
        pg2 = Rand(200, 250);
        pb2 = 0;
    } else {
        pr2 = Rand(150, 250);
        pg2 = 0;
        pb2 = 0;
    }
    const float rot1 = static_cast<float>(Rand(-90, 90));
    const float rot2 = static_cast<float>(Rand(-90, 90) + 360);
    const float endScale = static_cast<float>(Rnd(0.5, 1)) * size;
    const int oy = T(y + S(0.2f) * Rand(T(-size), T(size)));
    const int ox = T(x + S(0.2f) * Rand(T(-size), T(size)));
    CreateRotationParticle(0, Rand(9, 10), ox, oy, 0, 0, 0, width, angle, angle, angle, angle, pr1, pg1, pb1, pr2, pg2,
                           pb2, 1, 0, 0.5f, endScale, 0.5f, endScale, rot1, rot2, EngLightBlend, delay, life, package,
                           nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    return 0;
}
