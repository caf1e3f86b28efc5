// Smokes, gunfire and power bursts: rising and drifting smokes, a snaking stream of fire, a
// muzzle flash, the large smoke bursts, the inward power gatherings, a shower of stars and a
// three-ring burst of sparks.
#include "game/effects/Creators.h"
#include "game/effects/RecipeMath.h"
#include "game/effects/Recipes.h"
#include "platform/Random.h"

using namespace recipe;

namespace {

// ---- Rising smokes ----

enum class Rising { Green, Cigar, Cigar3, Cigar4 };

void MakeRisingSmoke(Rising kind, int x, int y, float rise, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package) {
    for (int i = 1; i <= count; ++i) {
        const int sx = x + Rand(-3, 3), sy = y + Rand(-3, 3);
        const int h = Rand(T(rise), T(static_cast<double>(rise) + 15));
        const int ey = sy - h;
        int ex, mx, my;
        if (kind == Rising::Cigar4) {  // blown far to the left
            ex = x + Rand(-500, -450);
            mx = T(sx + S(0.15f) * (ex - sx));
            my = T(sy + S(0.5f) * (ey - sy));
        } else {
            ex = x + Rand(-15, 15);
            mx = x + Rand(-15, 15);
            my = ey;
        }
        const int c = kind == Rising::Cigar4 ? Rand(50, 150) : Rand(200, 240);
        const auto colour = kind == Rising::Green ? CreateRGB(0, c, 0) : CreateRGB(c, c, c);
        float s1 = 0.5f, s2 = 1.25f;
        if (kind == Rising::Green) s1 = 0.75f, s2 = 1.2f;
        if (kind == Rising::Cigar3) s1 = 1.0f, s2 = 4.0f;
        if (kind == Rising::Cigar4) s1 = 1.0f, s2 = 2.0f;
        const int blend = kind == Rising::Green ? EngLightBlend : EngAlphaBlend;
        const float rot2 = static_cast<float>(Rand(360, 720));
        TEngParticlePtr p = CreateEasyParticle(0, Rand(8, 11), sx, sy, ex, ey, mx, my, *colour, 0, 0.25f, s1, s2, 0,
                                               rot2, blend, Rand(0, maxDelay), life, package);
        if (p) p->isAlphaBack = 1;
    }
}

// ---- Drifting smokes on a cubic route ----

// A puff from s to e through two control points drawn around the way, grey c, scale k to 2k.
void MakeDrift(int n, int sx, int sy, int ex, int ey, int c, float a1, float k, float rot1, float rot2, int maxDelay,
               int life, const TEngParticlePackagePtr& package) {
    const double dx = ex - sx, dy = ey - sy;
    const int mx1 = T(sx + Rnd(0.2, 0.35) * dx), my1 = T(sy + Rnd(0.75, 1.0) * dy);
    const int mx2 = T(sx + Rnd(0.6, 0.75) * dx), my2 = T(sy + Rnd(0.4, 0.6) * dy);
    CreateStandardParticle(0, n, sx, sy, ex, ey, mx1, my1, mx2, my2, c, c, c, c, c, c, a1, 0, k, 2 * k, k, 2 * k, rot1,
                           rot2, EngAlphaBlend, Rand(0, maxDelay), life, package, 1, nullptr, 0, 0, 0, 0, 0, 0);
}

// ---- Large smoke bursts ----

enum class Mega { Boom, Boom2, Reverse };

void MakeMegaSmoke(Mega kind, int x, int y, const TEngParticlePackagePtr& package) {
    const int last = kind == Mega::Reverse ? 80 : 160;
    const int delayStep = kind == Mega::Boom2 ? 3 : 5;
    const int life = kind == Mega::Boom ? 6000 : 4000;
    for (int i = 0; i <= last; ++i) {
        const int a = Rand(0, 359);
        const int qx = T(x + CosDeg(a) * Rand(0, 320));
        const int qy = T(y + SinDeg(a) * Rand(0, 400));
        const int c = Rand(150, 200);
        const auto grey = CreateRGB(c, c, c);
        const float rot2 = static_cast<float>(90 * Rand(-2, 2));
        const int image = Rand(8, 9);
        if (kind == Mega::Reverse) {
            TEngParticlePtr p = CreateEasyParticle(0, image, qx, qy, x, y, x, y, *grey, 0, 0.5f, 3, 0.5f, 0, rot2,
                                                   EngAlphaBlend, delayStep * i, life, package);
            if (p) p->isAlphaBack = 1;
        } else {
            CreateEasyParticle(0, image, x, y, qx, qy, qx, qy, *grey, 1, 0, 0.5f, 3, 0, rot2, EngAlphaBlend,
                               delayStep * i, life, package);
        }
    }
}

// ---- Power gatherings ----

void MakeSummit(int x, int y, int r, int g, int b, float rho, float f, int life,
                const TEngParticlePackagePtr& package) {
    const float rotationsMax = 360.0f / 5.0f;
    for (float n = 0.0f; n <= rotationsMax - 1.0f; n += 1.0f) {
        const int er = T(Clamp255(250.0f + Rand(-15, 15)));
        const int eg = T(Clamp255(150.0f + Rand(-15, 15)));
        const int eb = T(Clamp255(50.0f + Rand(-15, 15)));
        const float a = 5.0f * n;
        CreateRotationParticle(0, 7, x, y, rho, 0, rho, 0, a, a, a, a, r, g, b, er, eg, eb, 0, 1, 1, 0.5f, 6 * f,
                               0.25f * f, a - 90, a - 90, EngLightBlend, Rand(0, life / 3), life, package, nullptr, 0,
                               0, 0, 0, 0, 0, 0, 0, 0);
    }
}

}  // namespace

int CreateGreenSmoke(int x, int y, float rise, float, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package) {
    MakeRisingSmoke(Rising::Green, x, y, rise, life, maxDelay, count, package);
    return 0;
}

int CreateCigarSmoke(int x, int y, float rise, float, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package) {
    MakeRisingSmoke(Rising::Cigar, x, y, rise, life, maxDelay, count, package);
    return 0;
}

int CreateCigarSmoke3(int x, int y, float rise, float, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package) {
    MakeRisingSmoke(Rising::Cigar3, x, y, rise, life, maxDelay, count, package);
    return 0;
}

int CreateCigarSmoke4(int x, int y, float rise, float, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package) {
    MakeRisingSmoke(Rising::Cigar4, x, y, rise, life, maxDelay, count, package);
    return 0;
}

int CreateGreenSmoke2(int x, int y, const TEngParticlePackagePtr& package) {
    const int a = Rand(0, 359), d = Rand(0, 32);
    const int sx = T(x + CosDeg(a) * d), sy = T(y + SinDeg(a) * d);
    const int b = Rand(-135, -45), e = Rand(0, 64);  // upward: screen y grows downward
    const int ex = T(x + CosDeg(b) * e), ey = T(y + SinDeg(b) * e);
    const auto colour = CreateRGB(0, Rand(200, 240), 0);
    const float rot2 = static_cast<float>(Rand(360, 720));
    TEngParticlePtr p = CreateEasyParticle(0, 8, sx, sy, ex, ey, sx, sy, *colour, 0, 0.25f, 0.5f, 1, 0, rot2,
                                           EngLightBlend, Rand(0, 50), 3000, package);
    if (p) p->isAlphaBack = 1;
    return 0;
}

int CreateCigarSmoke2(int x, int y, int dx, int dy, int life, int maxDelay, int count,
                      const TEngParticlePackagePtr& package) {
    for (int i = 1; i <= count; ++i) {
        const int sx = x + Rand(-32, 32), sy = y + Rand(-32, 32);
        const int c = Rand(200, 255);
        const float k = static_cast<float>(3 * Rnd(0.25, 1.0));
        MakeDrift(5, sx, sy, sx + dx, sy + dy, c, 0.25f, k, 0, 0, maxDelay, life, package);
    }
    return 0;
}

int CreateBlackSmoke(int x, int y, int distance, int life, int maxDelay, int count,
                     const TEngParticlePackagePtr& package) {
    for (int i = 1; i <= count; ++i) {
        const int sx = x + Rand(-32, 32), sy = y + Rand(-32, 32);
        const int a = Rand(-360, 360), d = Rand(0, distance);
        const int ex = T(sx + CosDeg(a) * d), ey = T(sy + SinDeg(a) * d);
        const int c = Rand(0, 70);
        const float k = static_cast<float>(3 * Rnd(0.25, 1.0));
        const float t = static_cast<float>(Rand(-360, 360));
        const float turn = static_cast<float>(Rand(-90, 90));
        MakeDrift(Rand(9, 10), sx, sy, ex, ey, c, 1, k, t, t + turn, maxDelay, life, package);
    }
    return 0;
}

int CreateBlackSmoke2(int x, int y, int rise, int life, int maxDelay, int, const TEngParticlePackagePtr& package) {
    const int ex = x + Rand(-8, 8), ey = y - rise;
    const int c = Rand(0, 70);
    const float k = static_cast<float>(Rnd(0.3, 0.4));
    const float t = static_cast<float>(Rand(-360, 360));
    const float turn = static_cast<float>(Rand(-90, 90));
    MakeDrift(Rand(9, 10), x, y, ex, ey, c, 0.5f, k, t, t + turn, maxDelay, life, package);
    return 0;
}

int CreateCrossFireDir(int x, int y, float direction, float length, int life, int count, int maxDelay,
                       const TEngParticlePackagePtr& package) {
    const double ux1 = CosDeg(direction + 90.0), uy1 = SinDeg(direction + 90.0);
    const double ux2 = CosDeg(direction - 90.0), uy2 = SinDeg(direction - 90.0);
    for (int i = 1; i <= count; ++i) {
        const int a = Rand(0, 360), d = Rand(-24, 24);
        const int sx = T(x + CosDeg(a) * d), sy = T(y + SinDeg(a) * d);
        const double k = Rnd(0.85, 1.0);
        const double ex = sx + CosDeg(direction) * length * k, ey = sy + SinDeg(direction) * length * k;
        const int w = Rand(20, 30);
        const double p1x = sx + S(0.3f) * (ex - sx), p1y = sy + S(0.3f) * (ey - sy);
        const double p2x = sx + S(0.66f) * (ex - sx), p2y = sy + S(0.66f) * (ey - sy);
        const bool firstUp = Rand(0, 1) == 0;
        const double s1x = firstUp ? ux1 : ux2, s1y = firstUp ? uy1 : uy2;
        const double s2x = firstUp ? ux2 : ux1, s2y = firstUp ? uy2 : uy1;
        const bool red = Rand(0, 1) == 0;
        const int c = Rand(200, 250);
        const float rot2 = static_cast<float>(Rand(-360, 360));
        CreateStandardParticle(0, 9, sx, sy, T(ex), T(ey), T(p1x + w * s1x), T(p1y + w * s1y), T(p2x + w * s2x),
                               T(p2y + w * s2y), c, red ? 0 : c / 2, 0, c, c, 0, 1, 0, 0.3f, 1.7f, 0.3f, 1.7f, 0, rot2,
                               EngLightBlend, Rand(0, maxDelay), life, package, 1, nullptr, 1, 0, 0, 0, 0, 0);
    }
    return 0;
}

int CreateGunFire(int x, int y, float direction, float scale, int life, const TEngParticlePackagePtr& package) {
    // The fan: eight tongues from 35 degrees before the direction up to it.
    const int first = T(direction - 40.0);
    for (int i = 1; i <= 8; ++i) {
        const float a = static_cast<float>(first + 5 * i);
        const int ex = T(x + CosDeg(a) * 64.0 * scale), ey = T(y + SinDeg(a) * 64.0 * scale);
        const int c = Rand(220, 250);
        CreateStandardParticle(0, 7, x, y, ex, ey, ex, ey, 0, 0, c, T(S(0.7f) * c), T(S(0.5f) * c), c, c, c, 0.2f, 0,
                               scale, 1.2f * scale, 2 * scale, 2.4f * scale, a - 90, a - 90, EngLightBlend, 0, life,
                               package, 0, nullptr, 0, 0, 0, 0, 0, 0);
    }
    // The ring: thirty sparks all round, starting slowly.
    const int ringLife = T(S(1.2f) * life);
    for (int j = 1; j <= 30; ++j) {
        const float a = static_cast<float>(12 * j);
        const int ex = T(x + CosDeg(a) * 24.0 * scale), ey = T(y + SinDeg(a) * 24.0 * scale);
        CreateStandardParticle(0, 7, x, y, ex, ey, x, y, 0, 0, 250, 240, 170, 250, 240, 170, 0.02f, 0, 2 * scale, scale,
                               4 * scale, 2 * scale, a - 90, a - 90, EngLightBlend, 0, ringLife, package, 0, nullptr, 0,
                               0, 0, 0, 0, 0);
    }
    return 0;
}

int CreateMegaBoom(int x, int y, const TEngParticlePackagePtr& package) {
    CreateBoom2(x, y, 250.0f, 0, 1000, 180, package);
    CreateBoom2(x, y, 200.0f, 250, 1000, 180, package);
    CreateBoom2(x, y, 150.0f, 500, 1000, 180, package);
    MakeMegaSmoke(Mega::Boom, x, y, package);
    return 0;
}

int CreateMegaBoom2(int x, int y, const TEngParticlePackagePtr& package) {
    CreateBoom2(x, y, 250.0f, 0, 1000, 180, package);
    CreateBoom3(x, y, 200.0f, 100, 1000, 180.0f, 250, 200, 100, 2.0f, package);
    CreateBoom2(x, y, 150.0f, 200, 1000, 180, package);
    MakeMegaSmoke(Mega::Boom2, x, y, package);
    return 0;
}

int CreateMegaBoomReverse(int x, int y, const TEngParticlePackagePtr& package) {
    MakeMegaSmoke(Mega::Reverse, x, y, package);
    return 0;
}

int CreateSummitPower(int x, int y, int r, int g, int b, const TEngParticlePackagePtr& package) {
    MakeSummit(x, y, r, g, b, 1.0f, 1.0f, 2000, package);
    return 0;
}

int CreateSummitPower2(int x, int y, int r, int g, int b, const TEngParticlePackagePtr& package) {
    MakeSummit(x, y, r, g, b, 0.3f, 0.2f, 1000, package);
    return 0;
}

int CreateStarBoom(int x, int y, const TEngParticlePackagePtr& package) {
    const auto white = CreateRGB(255, 255, 255);
    for (int i = 1; i <= 100; ++i) {
        const int dx = Rand(-256, 256), dy = Rand(450, 600);
        const float turn = static_cast<float>(Rand(-360, 360));
        const int life = 1000 + Rand(0, 2500), delay = Rand(0, 150);
        const int mx = T(x + dx / 2.0), my = T(y - dy / 4.0);  // up first, then falling below the start
        for (int blend : {EngAlphaBlend, EngLightBlend})
            CreateEasyParticle(0, 13, x, y, x + dx, y + dy, mx, my, *white, 1, 0, 1, 1.5f, 0, turn, blend, delay, life,
                               package);
    }
    return 0;
}

int CreateBoom5(int x, int y, float radius, int delay, int life, int count, const TEngParticlePackagePtr& package) {
    struct Ring {
        int r1, g1, b1, r2, g2, b2;
        float nearDiv, farDiv, s1, s2;  // the flight distance: radius / nearDiv to radius / farDiv
        int delayAdd;                   // -1: a random 0 to 100
    };
    const Ring rings[3] = {{250, 100, 0, 250, 100, 0, 2, 1, 0.25f, 1.5f, -1},
                           {250, 20, 20, 250, 20, 20, 2, 1, 0.25f, 1.0f, 250},
                           {250, 250, 0, 220, 220, 0, 3, 2, 0.5f, 1.2f, 500}};
    for (int v = 1; v <= 3; ++v) {
        const Ring& ring = rings[v - 1];
        const int start = Rand(0, 360);
        const float onePerRot = 360.0f / (static_cast<float>(count) / static_cast<float>(v));
        const int sparks = v == 1 ? count : count / v;
        for (int i = start + 1; i <= start + sparks; ++i) {
            const float a = i * onePerRot;
            const int sr = T(Clamp255(static_cast<float>(ring.r1 + Rand(-50, 50))));
            const int sg = T(Clamp255(static_cast<float>(ring.g1 + Rand(-50, 50))));
            const int sb = T(Clamp255(static_cast<float>(ring.b1 + Rand(-50, 50))));
            const int er = T(Clamp255(static_cast<float>(ring.r2 + Rand(-50, 50))));
            const int eg = T(Clamp255(static_cast<float>(ring.g2 + Rand(-50, 50))));
            const int eb = T(Clamp255(static_cast<float>(ring.b2 + Rand(-50, 50))));
            const float distance = static_cast<float>(Rand(T(radius / ring.nearDiv), T(radius / ring.farDiv)));
            const float rot1 = static_cast<float>(Rand(0, 360));
            const float rot2 = static_cast<float>(Rand(0, 360));
            const int sparkDelay = delay + (ring.delayAdd < 0 ? Rand(0, 100) : ring.delayAdd);
            CreateRotationParticle(0, Rand(8, 11), x, y, 0, distance, 0, distance, a, a, a, a, sr, sg, sb, er, eg, eb,
                                   1, 0, ring.s1, ring.s2, ring.s1, ring.s2, rot1, rot2, EngLightBlend, sparkDelay,
                                   life, package, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        }
    }
    return 0;
}
