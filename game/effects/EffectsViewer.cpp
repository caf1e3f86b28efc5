#include "game/effects/EffectsViewer.h"

#include <algorithm>
#include <cmath>

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Mouse.h"
#include "game/effects/Creators.h"
#include "game/effects/Recipes.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/Random.h"
#include "platform/Strings.h"

namespace {

using Pkg = TEngParticlePackagePtr;

int I(float v) { return static_cast<int>(v); }

// ---- The flying hint: a head circling (x, y) once every three seconds, its trail made as the
// game makes it: at most every 10 ms, eight calls along the stretch flown since the batch before.

void HintHead(float x, float y, int time, float& hx, float& hy) {
    const double a = time * 360.0 / 3000.0;
    hx = static_cast<float>(x + 150 * CosDeg(a));
    hy = static_cast<float>(y + 150 * SinDeg(a));
}

void HintTrail(const Pkg& p, float x, float y, int time, int last) {
    float nx, ny, px, py;
    HintHead(x, y, time, nx, ny);
    HintHead(x, y, last, px, py);
    for (int i = 1; i <= 8; ++i) {
        const float f0 = (i - 1) / 8.0f, f1 = i / 8.0f;
        CreateHintParticle(I(nx + (px - nx) * f0), I(ny + (py - ny) * f0), I(nx + (px - nx) * f1),
                           I(ny + (py - ny) * f1), 0, 255, 0, 32, 500, Rand(0, 25), p);
    }
}

// ---- The stages map's level switch: the two waving streams run from the last level's marker
// to the new one in about 1.7 s, then the aura bursts at the new marker; again every 5 s.

constexpr int kSwitchCycle = 5000;
constexpr float kSwitchRun = 1000.0f / 0.6f;  // progress 0.01 a frame at 60 frames a second

float SwitchProgress(int time) { return std::min(1.0f, static_cast<float>(time % kSwitchCycle) / kSwitchRun); }

void SwitchHead(float x, float y, float progress, float side, float& hx, float& hy) {
    const float ax = x - 250, ay = y + 120, bx = x + 250, by = y - 120;
    const double q = ATan2Deg(by - ay, bx - ax) + side;
    hx = static_cast<float>(ax + (bx - ax) * progress + 16 * CosDeg(q) * CosDeg(720.0 * progress));
    hy = static_cast<float>(ay + (by - ay) * progress + 16 * SinDeg(q) * SinDeg(720.0 * progress));
}

void LevelSwitch(const Pkg& p, float x, float y, int time, int last) {
    if (last / kSwitchCycle != time / kSwitchCycle) last = time - time % kSwitchCycle;  // a new run
    const float now = SwitchProgress(time), before = SwitchProgress(last);
    if (before >= 1.0f) return;
    struct Stream {
        float side;
        int r, g, b;
    };
    for (const Stream& s : {Stream{90, 255, 0, 255}, Stream{-90, 0, 255, 255}}) {
        float hx, hy, px, py;
        SwitchHead(x, y, now, s.side, hx, hy);
        SwitchHead(x, y, before, s.side, px, py);
        for (int k = 0; k < 2; ++k)
            CreateLevelSwitchParticle(I(hx), I(hy), I(px), I(py), s.r, s.g, s.b, 32, 1000, Rand(0, 25), p);
    }
    if (now >= 1.0f) {
        for (int i = 0; i <= 50; ++i)
            CreateMagicAura(x + 250 + Rand(-20, 20), y - 120 + Rand(-20, 20), 1, 50 * i, 2000, p);
    }
}

void Aura(const Pkg& p, float x, float y, int, int) {
    for (int i = 0; i <= 50; ++i) CreateMagicAura(x + Rand(-20, 20), y + Rand(-20, 20), 1, 50 * i, 2000, p);
}

void AuraGreen(const Pkg& p, float x, float y, int, int) {
    for (int i = 0; i <= 50; ++i) CreateMagicAura_Green(x + Rand(-20, 20), y + Rand(-20, 20), 1, 50 * i, 2000, p);
}

// ---- The kingdom's building dust: six puffs a batch over a building of 160 x 120.
void BuildDust(const Pkg& p, float x, float y, int, int) {
    for (int k = 0; k < 6; ++k)
        CreateBuildDust(x - 80 + Rand(0, I(0.711f * 160)), y - 60 + Rand(0, I(0.711f * 120)),
                        static_cast<float>(Rand(16, 48)), 0.5f, 0.75f, Rand(1000, 1500), p);
}

// A demo entry: the recipe's name, the period, the backdrop, and the statements of one run,
// which see the package p, the point x, y, the demo time t and the time of the run before l.
// The macro and its table, one entry a line, are kept out of clang-format's hands: it takes the
// entries for statements and the macro's braces for a block.
// clang-format off
#define DEMO(name, period, light, ...)                                                                \
    TEffectDemo {                                                                                      \
        #name, period, light, [](const Pkg& p, float x, float y, int t, int l) {                       \
            (void)p, (void)x, (void)y, (void)t, (void)l;                                               \
            __VA_ARGS__;                                                                               \
        }                                                                                              \
    }

std::vector<TEffectDemo> MakeDemos() {
    return {
        // Spots
        DEMO(CreateAmulethParticle, 16, false, CreateAmulethParticle(I(x), I(y), p)),
        DEMO(CreateLevelOverParticle, 16, false, CreateLevelOverParticle(I(x), I(y), p)),
        DEMO(CreateSpoTEngParticle, 150, false, CreateSpoTEngParticle(I(x) + Rand(-200, 200), I(y) + Rand(-100, 100), p)),
        DEMO(CreateSpoTEngParticle1, 60, false, CreateSpoTEngParticle1(I(x) + Rand(-200, 200), I(y) + 250, p)),
        DEMO(CreateSpoTEngParticle2, 60, false, CreateSpoTEngParticle2(I(x) + Rand(-150, 150), I(y) + 60, p)),
        DEMO(CreateSpoTEngParticle3, 120, false, CreateSpoTEngParticle3(I(x) + Rand(-150, 150), I(y) + 100, Rand(0, 500), p)),
        // Water
        DEMO(CreateWaterFlowParticle, 20, false,
             CreateWaterFlowParticle(9, I(x) - 200, I(y) + Rand(-6, 6), I(x) + 200, I(y) + Rand(-6, 6), 80, 170, 255,
                                     0.6f, 0, 0.5f, 0.3f, 4, 0, 1500, p)),
        DEMO(CreateWaterFlowParticle2, 20, false,
             CreateWaterFlowParticle2(3, I(x) + Rand(-8, 8), I(y) - 150, I(x) + Rand(-8, 8), I(y) + 150, 80, 170, 255,
                                      0.8f, 0.2f, 0.4f, 0.3f, 4, 0, 700, p)),
        DEMO(CreateWaterFallParticle, 10, false, CreateWaterFallParticle(I(x) + Rand(-30, 30), I(y) - 150, 300, 0, 900, p)),
        DEMO(CreateWaterFallParticle2, 10, false,
             CreateWaterFallParticle2(I(x) + Rand(-30, 30), I(y) - 150, x + 80 + Rand(-30, 30), 300, 0, 900, p)),
        DEMO(CreateWaterFallParticle3, 10, false,
             CreateWaterFallParticle3(I(x) + Rand(-30, 30), I(y) - 150, x + 80 + Rand(-30, 30), 300, 0, 900, p)),
        DEMO(CreateWaterSparkParticle, 20, false, CreateWaterSparkParticle(I(x) + Rand(-80, 80), I(y) + Rand(-10, 10), 0, 400, p)),
        DEMO(CreateFontainParticle, 8, false, CreateFontainParticle(I(x), I(y) + 100, 250, 120, 0, 1500, p)),
        // Bursts
        DEMO(CreateBoom, 3000, false, CreateBoom(I(x), I(y), 150, 0, 1500, 30, 255, 220, 120, 1, p)),
        DEMO(CreateBoom2, 3000, false, CreateBoom2(I(x), I(y), 200, 0, 1000, 60, p)),
        DEMO(CreateBoom3, 2000, false, CreateBoom3(I(x), I(y), 2, 0, 2000, 32, 255, 100, 0, 1, p)),
        DEMO(CreateBoom4, 3000, false, CreateBoom4(I(x), I(y), 150, 0, 1500, 30, 255, 255, 200, 1, p)),
        DEMO(CreateBoom6, 3000, false, CreateBoom6(I(x), I(y), 150, 0, 1000, 30, 255, 255, 200, 1, p)),
        DEMO(CreateBoom7, 3000, false, CreateBoom7(I(x), I(y), 150, 0, 1000, 30, 255, 255, 200, 1, p)),
        DEMO(CreateFire, 16, false,
             for (int k = 0; k < 2; ++k) CreateFire(x + Rand(-20, 20), y + 40, 1.5f, -90, 120, 0, 900, p)),
        // Game effects
        DEMO(CreateBuildDust, 50, false, BuildDust(p, x, y, t, l)),
        DEMO(CreateMagicAura, 3000, false, Aura(p, x, y, t, l)),
        DEMO(CreateMagicAura_Green, 3000, false, AuraGreen(p, x, y, t, l)),
        DEMO(CreateHintParticle, 10, false, HintTrail(p, x, y, t, l)),
        DEMO(CreateLevelSwitchParticle, 25, false, LevelSwitch(p, x, y, t, l)),
        DEMO(CreateFlyingStarParticle, 30, false,
             CreateFlyingStarParticle(I(x) + Rand(-60, 60), I(y) + 50, 1200, 255, 210, 60, 200, 0, p)),
        DEMO(CreateChipSmokeParticle, 60, false, CreateChipSmokeParticle(I(x), I(y), p)),
        DEMO(CreateGoldParticle, 20, false, CreateGoldParticle(I(x), I(y), 0, 0, 0, 60, 900, 0, p)),
        DEMO(CreateGoldParticle2, 20, false, CreateGoldParticle2(I(x), I(y), 0, 0, 0, 60, 900, 0, p)),
        DEMO(CreateGoldParticle3, 20, false, CreateGoldParticle3(I(x), I(y), 0, 0, 0, 60, 900, 0, p)),
        DEMO(CreateGoldParticle4, 20, false, CreateGoldParticle4(I(x), I(y), 0, 0, 0, 60, 900, 0, p)),
        DEMO(CreateMagicAura2, 16, false, CreateMagicAura2(I(x), I(y), 150, 0, 800, 255, 255, 220, 1, p)),
        DEMO(CreateMagicAura3, 16, false, CreateMagicAura3(I(x), I(y), 150, 0, 800, 255, 255, 255, 1, p)),
        DEMO(CreateBeamBall, 16, false,
             CreateBeamBall(I(x) - 200, I(y), I(x) + 200, I(y), 1, 10, 100, 180, 255, 255, 255, 255, 0, 500, p)),
        DEMO(CreateBeam, 60, false,
             CreateBeam(I(x) - 250, I(y), I(x) + 250, I(y), 0.8f, 6, 80, 160, 255, 220, 240, 255, 400, p)),
        DEMO(CreateBeamOneBezier, 60, false,
             CreateBeamOneBezier(I(x) - 250, I(y) + 100, I(x) + 250, I(y) + 100, I(x), I(y) - 200, 0.8f, 6, 80, 160,
                                 255, 220, 240, 255, 400, p)),
        DEMO(CreateBeamTwoBezier, 60, false,
             CreateBeamTwoBezier(I(x) - 250, I(y), I(x) + 250, I(y), I(x) - 100, I(y) - 250, I(x) + 100, I(y) + 250,
                                 0.8f, 6, 80, 160, 255, 220, 240, 255, 400, p)),
        DEMO(CreateLampLight, 1000, false, CreateLampLight(I(x), I(y), 1000, 3, p, 1)),
        DEMO(CreateCandleFire, 30, false, CreateCandleFire(I(x), I(y) + 40, 900, 0.6f, p)),
        DEMO(CreateCandleFire2, 30, false, CreateCandleFire2(I(x), I(y) + 40, 900, 0.6f, p)),
        DEMO(CreateZar, 1000, false, CreateZar(I(x), I(y), 1000, 50, 12, p)),
        // Smokes, gunfire and power bursts
        DEMO(CreateGreenSmoke, 100, false, CreateGreenSmoke(I(x), I(y) + 100, 200, 0, 3000, 100, 2, p)),
        DEMO(CreateCigarSmoke, 100, false, CreateCigarSmoke(I(x), I(y) + 100, 200, 0, 3000, 100, 2, p)),
        DEMO(CreateCigarSmoke3, 100, false, CreateCigarSmoke3(I(x), I(y) + 100, 200, 0, 3000, 100, 2, p)),
        DEMO(CreateCigarSmoke4, 100, true, CreateCigarSmoke4(I(x) + 250, I(y) + 100, 200, 0, 3000, 100, 2, p)),
        DEMO(CreateGreenSmoke2, 50, false, CreateGreenSmoke2(I(x), I(y), p)),
        DEMO(CreateCigarSmoke2, 100, false, CreateCigarSmoke2(I(x) - 100, I(y) + 100, 200, -250, 3000, 100, 2, p)),
        DEMO(CreateBlackSmoke, 150, true, CreateBlackSmoke(I(x), I(y), 150, 2000, 200, 1, p)),
        DEMO(CreateBlackSmoke2, 50, true, CreateBlackSmoke2(I(x), I(y) + 100, 200, 2500, 100, 0, p)),
        DEMO(CreateCrossFireDir, 40, false, CreateCrossFireDir(I(x) - 200, I(y), 0, 400, 800, 3, 40, p)),
        DEMO(CreateGunFire, 600, false, CreateGunFire(I(x) - 100, I(y), 0, 1, 300, p)),
        DEMO(CreateMegaBoom, 7000, false, CreateMegaBoom(I(x), I(y), p)),
        DEMO(CreateMegaBoom2, 5000, false, CreateMegaBoom2(I(x), I(y), p)),
        DEMO(CreateMegaBoomReverse, 5000, false, CreateMegaBoomReverse(I(x), I(y), p)),
        DEMO(CreateSummitPower, 2500, false, CreateSummitPower(I(x), I(y), 200, 220, 255, p)),
        DEMO(CreateSummitPower2, 1500, false, CreateSummitPower2(I(x), I(y), 200, 220, 255, p)),
        DEMO(CreateStarBoom, 4000, false, CreateStarBoom(I(x), I(y) - 150, p)),
        DEMO(CreateBoom5, 3000, false, CreateBoom5(I(x), I(y), 200, 0, 1200, 60, p)),
    };
}
// clang-format on

#undef DEMO

std::shared_ptr<TEffectsViewer> gViewer;

}  // namespace

const std::vector<TEffectDemo>& EffectDemos() {
    static const std::vector<TEffectDemo> demos = MakeDemos();
    return demos;
}

const TEffectDemo* FindEffectDemo(const std::string& name) {
    const std::string wanted = Upper(name);
    for (const TEffectDemo& demo : EffectDemos()) {
        const std::string full = Upper(demo.name);
        if (full == wanted || full == "CREATE" + wanted) return &demo;
    }
    return nullptr;
}

TEffectsViewer::TEffectsViewer() {
    name = "EffectsViewer";
    isNotToBeLoaded = 1;
    isNotUsingText = 1;
}

void TEffectsViewer::Start(const TEffectDemo* demo, float x, float y) {
    if (TEngParticle::standardImg.empty()) SetupParticles(ParticlesListPath());
    Package->Clear();
    Demo = demo;
    X = x;
    Y = y;
    StartTime = AppMilliSecs();
    LastRun = -1;
}

void TEffectsViewer::Advance(int now) {
    if (!Demo || !Demo->fire) return;
    const int time = now - StartTime;
    if (LastRun >= 0 && time - LastRun < Demo->period) return;
    Demo->fire(Package, X, Y, time, LastRun < 0 ? time : LastRun);
    LastRun = time;
}

int TEffectsViewer::OnUpdate() {
    if (KeyHit(27)) {
        Hide();
        return 0;
    }
    if (Mouse::LeftPressed) {
        X = static_cast<float>(Mouse::x);
        Y = static_cast<float>(Mouse::y);
    }
    Advance(AppMilliSecs());
    return 0;
}

int TEffectsViewer::OnDraw() {
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    if (Demo && Demo->lightBackdrop) {
        SetColor(214, 204, 184);
    } else {
        SetColor(24, 26, 38);
    }
    // Past the virtual screen too, over the side bands of a wide window.
    DrawRect(-400, -100, VirtualResolutionWidth() + 800, VirtualResolutionHeight() + 200);
    DrawEngPackage(Package);
    SetScale(1, 1);
    SetRotation(0);
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    if (Demo && Demo->lightBackdrop) {
        SetColor(40, 40, 48);
    } else {
        SetColor(235, 235, 240);
    }
    DrawText((Demo ? Demo->name : std::string("EFFECT")) + "    (Esc closes, a click moves it)", 12, 10);
    SetColor(255, 255, 255);
    return 0;
}

std::shared_ptr<TEffectsViewer> EffectsViewer() {
    if (!gViewer) gViewer = std::make_shared<TEffectsViewer>();
    return gViewer;
}

int TCCEffect::Execute(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::string line;
        for (const TEffectDemo& demo : EffectDemos()) {
            if (line.size() + demo.name.size() > 90) {
                Console::AddText(line);
                line.clear();
            }
            line += demo.name + " ";
        }
        if (!line.empty()) Console::AddText(line);
        return 0;
    }
    std::shared_ptr<TEffectsViewer> viewer = EffectsViewer();
    if (Upper(args[0]) == "OFF") {
        if (!isAppPopUpHidden(viewer)) viewer->Hide();
        return 0;
    }
    const TEffectDemo* demo = FindEffectDemo(args[0]);
    if (!demo) {
        Console::AddError("No effect named '" + args[0] + "'! EFFECT alone lists them.");
        return 0;
    }
    const float x = args.size() > 2 ? StringToFloat(args[1]) : 512.0f;
    const float y = args.size() > 2 ? StringToFloat(args[2]) : 384.0f;
    viewer->Start(demo, x, y);
    if (isAppPopUpHidden(viewer)) ShowAppPopUp(viewer);
    return 0;
}
