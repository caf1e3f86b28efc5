// The program's entry point: the game's start-up, then the engine's frame loop, which ends the
// program through AppEnd (the window's close request, Command+Q, or the harness's frame limit).
//
// Options:
//   --data DIR         the data folder (else data/ beside the executable, then ../data/)
//   --user-dir DIR     the per-user folder (created when missing)
//   --frames N         end after N frames, the normal way (the save-at-end list runs)
//   --fixed-delta      every frame advances the clock by exactly 1000/60 ms, no waiting
//   --input FILE       replay an input script (platform/Input.h), events keyed by frame from 0
//   --screenshot FILE  write the last frame as PNG when the run ends
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/system/Letterbox.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/shell/AppInit.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Strings.h"

namespace {

struct HarnessOptions {
    std::string input;
    std::string screenshot;
    int frames = -1;  // -1: until the program is ended
    bool fixedDelta = false;
};

// The harness options; --data and --user-dir are the folders' (ParseAppPathOptions).
HarnessOptions ParseHarnessOptions(const std::vector<std::string>& args) {
    HarnessOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 < args.size()) {
                out = args[++i];
            } else {
                Error("Option " + arg + " needs a value", "main", "ParseHarnessOptions");
            }
        };
        std::string ignored;
        if (arg == "--data" || arg == "--user-dir") {
            value(ignored);
        } else if (arg.rfind("--data=", 0) == 0 || arg.rfind("--user-dir=", 0) == 0) {
            // read by ParseAppPathOptions
        } else if (arg == "--input") {
            value(options.input);
        } else if (arg == "--screenshot") {
            value(options.screenshot);
        } else if (arg == "--frames") {
            std::string n;
            value(n);
            if (!n.empty()) options.frames = std::max(StringToInt(n), 0);
        } else if (arg == "--fixed-delta") {
            options.fixedDelta = true;
        } else {
            Warning("Unknown option " + arg, "main", "ParseHarnessOptions");
        }
    }
    return options;
}

// Logical (virtual-screen) positions of the input script to window pixels, through the
// letterbox.
void MoveLogical(float x, float y) {
    float vw = VirtualResolutionWidth(), vh = VirtualResolutionHeight();
    if (vw <= 0 || vh <= 0) return;
    float sx = static_cast<float>(GraphicsWidth()) / vw;
    float sy = static_cast<float>(GraphicsHeight()) / vh;
    InjectMouseMove(static_cast<int>((x + AspectOffsetX) * sx + 0.5f), static_cast<int>((y + AspectOffsetY) * sy + 0.5f));
}

// Frame limit, replayed input and the screenshot of the last frame, through the frame driver's
// harness hooks.
void InstallHarness(const HarnessOptions& options) {
    Control::FrameLimit = options.frames;

    if (!options.input.empty()) {
        std::vector<std::string> errors;
        auto events = std::make_shared<std::vector<InputEvent>>(LoadInputScript(options.input, &errors));
        for (const std::string& e : errors) Error(e, options.input, "LoadInputScript");
        auto next = std::make_shared<size_t>(0);
        Control::FrameStartHook = [events, next](int32_t frame) {
            while (*next < events->size() && (*events)[*next].frame <= frame)
                ApplyInputEvent((*events)[(*next)++], &MoveLogical);
        };
    }

    if (!options.screenshot.empty()) {
        auto lastFrame = std::make_shared<TPixmapPtr>();
        Control::BeforeFlipHook = [lastFrame] { *lastFrame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()); };
        std::string path = options.screenshot;
        AppEndHook = [lastFrame, path] {
            if (!*lastFrame)
                Error("No frame to write to " + path, "main", "Screenshot");
            else if (!SavePixmapPNG(*lastFrame, path))
                Error("Can't write the screenshot " + path, "main", "Screenshot");
        };
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    HarnessOptions options = ParseHarnessOptions(args);
    SetAppPathOptions(ParseAppPathOptions(args));
    SetFixedClock(options.fixedDelta);
    // Reports made during start-up reach the console's log once the window is open.
    InstallConsoleSinks();

    InitProgramGlobals();
    InstallEngineModules();
    CreateAppScreens();
    SetAppFolderNames();
    AppInit();
    StartFirstScreen();

    InstallHarness(options);
    return AppRun();
}
