// A developer's view of the effect recipes: a pop-up over the current screen that runs one
// recipe at a point the way the game runs such effects (bursts again every few seconds, trails
// and glows called on their timers, the hint and level-switch trails moving as in play), over a
// dark backdrop (a light one for the dark smokes).
//
// The console command (developer mode, "Cheats.txt"):
//   EFFECT                      lists the recipe names
//   EFFECT <name> [x y]         shows the viewer running that recipe at (x, y), by default the
//                               middle of the screen; the name may leave out "Create" and is
//                               matched without regard to case
//   EFFECT OFF                  hides the viewer (Escape does too)
// A left click in the viewer moves the effect to the mouse.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Console.h"
#include "game/effects/EngParticle.h"

// How the viewer runs one recipe.
struct TEffectDemo {
    std::string name;  // the recipe's name, "CreateBoom3"
    int period = 0;    // milliseconds between two runs of fire
    bool lightBackdrop = false;
    // One run at (x, y); `time` is the milliseconds since the demo began, `last` the time of
    // the run before (equal to time at the first run).
    void (*fire)(const TEngParticlePackagePtr& package, float x, float y, int time, int last) = nullptr;
};

// Every recipe the viewer can run, in the library's order.
const std::vector<TEffectDemo>& EffectDemos();
// The demo of that name ("CreateBoom3", "boom3"), null when none.
const TEffectDemo* FindEffectDemo(const std::string& name);

class TEffectsViewer : public TAppPopUp {
public:
    TEngParticlePackagePtr Package = CreateEngParticlePackage(4000);
    const TEffectDemo* Demo = nullptr;
    float X = 512, Y = 384;
    int StartTime = 0;  // application time the demo began
    int LastRun = -1;   // demo time of the last run, -1 before the first

    TEffectsViewer();
    // Runs the demo at (x, y) from its beginning; the particles of the one before are cleared.
    void Start(const TEffectDemo* demo, float x, float y);
    // Runs the demo when its period has passed; Escape hides the viewer; a click moves the
    // effect.
    int OnUpdate() override;
    // The backdrop, the particles and the demo's name.
    int OnDraw() override;
    // The demo's steps up to the application time now (the update calls it).
    void Advance(int now);
};

// The one viewer, made at its first use.
std::shared_ptr<TEffectsViewer> EffectsViewer();

// "EFFECT": see the top of this file.
class TCCEffect : public TConsoleCommand {
public:
    TCCEffect() { str = "EFFECT"; }
    int Execute(const std::vector<std::string>& args) override;
};
