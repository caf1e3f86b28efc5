// The program's entry point: the game's start-up (globals, every screen and pop-up, the engine's
// initialisation with the partner splash screens, the loading screen), then the engine's frame
// loop, which ends the program through AppEnd (the window's close request, Command+Q, or the
// harness's frame limit).
//
// Options:
//   --data DIR         the data folder (else data/ beside the executable, then ../data/)
//   --user-dir DIR     the per-user folder (created when missing)
//   --frames N         end after N drawn frames (splash screens included), the normal way (the
//                      save-at-end list runs)
//   --fixed-delta      every frame advances the clock by exactly 1000/60 ms, no waiting
//   --input FILE       replay an input script (platform/Input.h), events keyed by frame from 0
//   --screenshot FILE  write the last frame as PNG when the run ends
//   --menu-frames N    end, the normal way, N frames after the main menu became current
//   --timings          print start-up timings and memory on standard output (InstallHarness)
//   --direct-draw      every quad drawn on its own, as before the quad batch (the reference
//                      picture for the batch's tests)
//   --level N          (developer and tests) once loading has ended, the current player (a new
//                      test player when there is none) plays level N through the profile's own
//                      entry point; the help a player's first level shows counts as seen
//   --play-level FILE  (developer) once loading has ended, plays the level file FILE (a
//                      ".PACLevel" or a neighbour-count ".FAPLevel") on the game screen, outside
//                      any player's progress
//   --edit-level FILE  (developer) the same with the level editor switched on
//   --arrange-levels   (developer) runs the level arranger in the working folder instead of the
//                      game, and ends with its status (LevelArranger.h)
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/system/Letterbox.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "game/puzzle/LevelArranger.h"
#include "game/puzzle/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/AppInit.h"
#include "game/shell/MainMenu.h"
#include "game/shell/Profile.h"
#include "game/shell/ProfileManager.h"
#include "online/NewsLetter.h"
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
    bool timings = false;
    bool directDraw = false;
    int menuFrames = -1;  // -1: no limit counted from the main menu
    int level = 0;        // 0: no level started by the harness
    std::string levelFile;  // a level file to play; empty: none
    bool editLevel = false;  // with the level editor switched on
    bool arrangeLevels = false;
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
        } else if (arg == "--timings") {
            options.timings = true;
        } else if (arg == "--direct-draw") {
            options.directDraw = true;
        } else if (arg == "--level") {
            std::string n;
            value(n);
            options.level = std::max(StringToInt(n), 0);
            if (options.level == 0) Error("Option --level needs a level number from 1", "main", "ParseHarnessOptions");
        } else if (arg == "--play-level" || arg == "--edit-level") {
            value(options.levelFile);
            options.editLevel = arg == "--edit-level";
        } else if (arg == "--arrange-levels") {
            options.arrangeLevels = true;
        } else if (arg == "--menu-frames") {
            std::string n;
            value(n);
            if (!n.empty()) options.menuFrames = std::max(StringToInt(n), 0);
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

// --level: the current player (a new test player when there is none) plays the level through
// the profile's Game_PlayLevel, as the stages map starts one. The help that a player's first
// level shows, which holds play until it is closed, counts as seen.
void StartHarnessLevel(int level) {
    if (!Profile && Profiles) {
        TProfilePtr player = CreateNewProfile("Test Player");
        Profiles->ProfilesList.push_back(player);
        Profiles->SetCurrProfile(player);
    }
    if (!Profile) {
        Error("No player to play level " + std::to_string(level), "main", "StartHarnessLevel");
        return;
    }
    Profile->TutorialScreenShowed = 1;
    Profile->Game_PlayLevel(level);
}

// --play-level and --edit-level: the level file goes straight to the game screen, as the
// profile hands over a level, but belongs to no player's progress (a player's own level in
// progress is left as it is). The help a player's first level shows counts as seen.
void StartHarnessLevelFile(const std::string& path, bool edit) {
    std::shared_ptr<TLevel> level = LoadLevel(path);
    if (!level) {
        Error("The level file '" + path + "' can't be played", "main", "StartHarnessLevelFile");
        return;
    }
    if (!Game) return;
    if (Profile) Profile->TutorialScreenShowed = 1;
    Game->SetData(level);
    Game->EditorOn = edit ? 1 : 0;
    GoToScreen(Game, nullptr);
}

// Milliseconds of the monotonic clock (CLOCK_MONOTONIC), which a benchmark script that starts
// the process reads too.
double MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The harness's hooks into the frame driver: replayed input, start-up timings, the end a number
// of frames after the main menu came, and the screenshot of the last frame.
//
// Start-up timings ("--timings"), one line each when first reached, on the monotonic clock in
// milliseconds with the frame's number:
//   "timing main <ms>"                 main entered
//   "timing first-frame <ms> <frame>"  the first frame is about to be shown (splash or loading)
//   "timing loading <ms> <frame>"      the first frame of the frame loop (the splash is over)
//   "timing main-menu <ms> <frame>"    the first frame with the main menu current, all loaded
//   "memory peak-kb <kB>"              the process's peak resident memory at that point
//   "draws <calls> <quads>"            at the end: the GL drawing calls and quads of the last
//                                      frame shown
void InstallHarness(const HarnessOptions& options) {
    Control::FrameLimit = options.frames;

    auto events = std::make_shared<std::vector<InputEvent>>();
    if (!options.input.empty()) {
        std::vector<std::string> errors;
        *events = LoadInputScript(options.input, &errors);
        for (const std::string& e : errors) Error(e, options.input, "LoadInputScript");
    }
    auto next = std::make_shared<size_t>(0);
    auto loadingSeen = std::make_shared<bool>(false);
    auto menuFrame = std::make_shared<int32_t>(-1);
    const bool timings = options.timings;
    const int menuFrames = options.menuFrames;
    const int level = options.level;
    const std::string levelFile = options.levelFile;
    const bool editLevel = options.editLevel;
    Control::FrameStartHook = [=](int32_t frame) {
        while (*next < events->size() && (*events)[*next].frame <= frame)
            ApplyInputEvent((*events)[(*next)++], &MoveLogical);
        if (timings && !*loadingSeen && Control::CurrScreen) {
            *loadingSeen = true;
            std::printf("timing loading %.3f %d\n", MonotonicMs(), frame);
        }
        if (*menuFrame < 0 && MainMenu && Control::CurrScreen == MainMenu) {
            *menuFrame = frame;
            if (timings) {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("timing main-menu %.3f %d\nmemory peak-kb %ld\n", MonotonicMs(), frame, usage.ru_maxrss);
            }
        }
        // Loading has ended when the main menu comes: the harness's level starts from there.
        if (level > 0 && *menuFrame == frame) StartHarnessLevel(level);
        if (!levelFile.empty() && *menuFrame == frame) StartHarnessLevelFile(levelFile, editLevel);
        // The frame limit counted from the main menu: this frame is the last one run.
        if (menuFrames >= 0 && *menuFrame >= 0 && frame >= *menuFrame + menuFrames)
            Control::FrameLimit = Control::FrameLimit < 0 ? frame + 1 : std::min(Control::FrameLimit, frame + 1);
        std::fflush(stdout);
    };

    auto flipped = std::make_shared<bool>(false);
    auto lastFrame = std::make_shared<TPixmapPtr>();
    const bool grab = !options.screenshot.empty();
    Control::BeforeFlipHook = [=] {
        if (timings && !*flipped) {
            *flipped = true;
            std::printf("timing first-frame %.3f %d\n", MonotonicMs(), Control::FrameCount - 1);
            std::fflush(stdout);
        }
        if (grab) *lastFrame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    };
    if (grab || timings) {
        std::string path = options.screenshot;
        AppEndHook = [lastFrame, path, timings] {
            if (timings) {
                const DrawStats stats = LastFrameDrawStats();
                std::printf("draws %d %d\n", stats.drawCalls, stats.quads);
                std::fflush(stdout);
            }
            if (path.empty()) return;
            if (!*lastFrame)
                Error("No frame to write to " + path, "main", "Screenshot");
            else if (!SavePixmapPNG(*lastFrame, path))
                Error("Can't write the screenshot " + path, "main", "Screenshot");
        };
    }
}

}  // namespace

int main(int argc, char** argv) {
    const double mainEntered = MonotonicMs();
    std::vector<std::string> args(argv + 1, argv + argc);
    HarnessOptions options = ParseHarnessOptions(args);
    if (options.timings) std::printf("timing main %.3f\n", mainEntered);
    SetAppPathOptions(ParseAppPathOptions(args));
    SetFixedClock(options.fixedDelta);
    SetDirectDrawing(options.directDraw);
    // Reports made during start-up reach the console's log once the window is open.
    InstallConsoleSinks();

    InitClassGlobals();
    InitProgramGlobals();
    InstallEngineModules();
    CreateAppScreens();
    SetAppFolderNames();
    // The arranger is a tool of its own: no window, no frame loop.
    if (options.arrangeLevels) return LevelArranger::Mainloop();
    // The harness counts the splash screens' frames too, so it is in place before AppInit.
    InstallHarness(options);
    AppInit();
    LoadNewsLetter();
    StartLoadingScreen();
    return AppRun();
}
