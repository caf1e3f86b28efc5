// The program's entry point: the game's start-up (globals, every screen and pop-up, the engine's
// initialisation with the partner splash screens, the loading screen), then the engine's frame
// loop, which ends the program through AppEnd (the window's close request, Command+Q, or the
// harness's frame limit). With no display to open the window on, and no driver asked for that
// needs none (SDL_VIDEODRIVER=offscreen for a headless run), it says so in one line on standard
// error and ends with status 1 before any folder or file is made.
//
// Its options are the table kOptions below (`quiltora --help` prints it); --version prints the
// version. An unknown option, or one without its value, is one error line and the usage, and the
// program ends with status 2 without starting.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/screen/MouseCursor.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Hook.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "game/progress/Profile.h"
#include "game/levels/LevelArranger.h"
#include "game/levels/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/startup/AppInit.h"
#include "game/shell/LoadingScreen.h"
#include "game/shell/MainMenu.h"
#include "game/shell/ProfileManager.h"
#include "online/NewsLetter.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Strings.h"
#include "platform/System.h"

namespace {

struct HarnessOptions {
    std::string input;
    std::string screenshot;
    int frames = -1;  // -1: until the program is ended
    bool fixedDelta = false;
    bool paced = false;
    bool timings = false;
    bool directDraw = false;
    bool noFrameCache = false;
    bool noBufferAge = false;
    FramePath framePath = FramePath::Auto;
    int menuFrames = -1;     // -1: no limit counted from the main menu
    int level = 0;           // 0: no level started by the harness
    std::string levelFile;   // a level file to play; empty: none
    bool editLevel = false;  // with the level editor switched on
    bool arrangeLevels = false;
    std::vector<int> shotFrames;
    bool fromMenu = false;
    std::string failWrites;  // "disk-full", "read-only", "kill-at-N"; empty: writes as they come
};

// Every option the program reads, with its value's name (none for a switch) and what it does:
// what --help prints, one line each, and what the parser knows.
struct OptionHelp {
    const char* name;
    const char* value;
    const char* text;
};
constexpr OptionHelp kOptions[] = {
    {"--data", "DIR", "the data folder (also --data=DIR)"},
    {"--user-dir", "DIR", "the per-user folder, made when missing (also --user-dir=DIR)"},
    {"--frames", "N", "end after N drawn frames, splash included, the normal way"},
    {"--menu-frames", "N", "end N frames after the main menu came"},
    {"--fixed-delta", nullptr, "every frame exactly 1000/60 ms long, so runs repeat exactly"},
    {"--paced", nullptr, "with --fixed-delta, each frame from the main menu on held to 1/60 s"},
    {"--input", "FILE", "replay the input script FILE (platform/Input.h), keyed by frame"},
    {"--from-menu", nullptr, "count the script's and the shots' frames from the main menu"},
    {"--screenshot", "FILE", "write the last frame as PNG"},
    {"--shot-frames", "N,M,...", "also write frames N, M, ... beside the screenshot"},
    {"--timings", nullptr, "print start-up timings, memory and frame figures"},
    {"--direct-draw", nullptr, "every quad drawn on its own, without the quad batch"},
    {"--no-frame-cache", nullptr, "the frame cache's copy of the window off"},
    {"--no-buffer-age", nullptr, "the window taken to keep none of its frames"},
    {"--frame-path", "NAME", "auto, buffer-age, preserved, copy-sub-buffer, kept-texture or window-copy"},
    {"--level", "N", "once loaded, play level N (a new test player when there is none)"},
    {"--play-level", "FILE", "once loaded, play the level file FILE outside any player's progress"},
    {"--edit-level", "FILE", "the same with the level editor on"},
    {"--arrange-levels", nullptr, "run the level arranger in the working folder instead of the game"},
    {"--fail-writes", "KIND", "writes in the per-user folders fail: disk-full, read-only, kill-at-N"},
    {"--help", nullptr, "print this and end"},
    {"--version", nullptr, "print the version and end"},
};

const OptionHelp* FindOption(const std::string& name) {
    for (const OptionHelp& option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

std::string UsageText() {
    std::string text = "Usage: quiltora [OPTION]...\nQuiltora, a colour picture-logic puzzle. Options:\n";
    for (const OptionHelp& option : kOptions) {
        std::string left = std::string("  ") + option.name + (option.value ? std::string(" ") + option.value : "");
        left.resize(std::max<size_t>(left.size() + 2, 28), ' ');
        text += left + option.text + "\n";
    }
    return text;
}

// The harness options; --data and --user-dir are the folders' (ParseAppPathOptions). An option
// the table does not hold, or one without its value, leaves `usageError` saying so.
HarnessOptions ParseHarnessOptions(const std::vector<std::string>& args, std::string& usageError) {
    HarnessOptions options;
    for (size_t i = 0; i < args.size() && usageError.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--data=", 0) == 0 || arg.rfind("--user-dir=", 0) == 0) continue;  // ParseAppPathOptions
        const OptionHelp* known = FindOption(arg);
        if (!known) {
            usageError = "Unknown option " + arg;
            break;
        }
        if (known->value && i + 1 >= args.size()) {
            usageError = "Option " + arg + " needs a value (" + known->value + ")";
            break;
        }
        const std::string value = known->value ? args[++i] : std::string();
        if (arg == "--input") {
            options.input = value;
        } else if (arg == "--screenshot") {
            options.screenshot = value;
        } else if (arg == "--frames") {
            if (!value.empty()) options.frames = std::max(StringToInt(value), 0);
        } else if (arg == "--fixed-delta") {
            options.fixedDelta = true;
        } else if (arg == "--paced") {
            options.paced = true;
        } else if (arg == "--shot-frames") {
            for (int32_t n : SplitStringToInts(value, ",")) options.shotFrames.push_back(n);
        } else if (arg == "--from-menu") {
            options.fromMenu = true;
        } else if (arg == "--timings") {
            options.timings = true;
        } else if (arg == "--direct-draw") {
            options.directDraw = true;
        } else if (arg == "--no-frame-cache") {
            options.noFrameCache = true;
        } else if (arg == "--no-buffer-age") {
            options.noBufferAge = true;
        } else if (arg == "--frame-path") {
            if (!FramePathFromName(value, options.framePath))
                Error(
                    "Option --frame-path takes auto, buffer-age, preserved, copy-sub-buffer, kept-texture or "
                    "window-copy",
                    Here());
        } else if (arg == "--level") {
            options.level = std::max(StringToInt(value), 0);
            if (options.level == 0) Error("Option --level needs a level number from 1", Here());
        } else if (arg == "--play-level" || arg == "--edit-level") {
            options.levelFile = value;
            options.editLevel = arg == "--edit-level";
        } else if (arg == "--arrange-levels") {
            options.arrangeLevels = true;
        } else if (arg == "--fail-writes") {
            options.failWrites = value;
            if (options.failWrites != "disk-full" && options.failWrites != "read-only" &&
                !(StartsWith(options.failWrites, "kill-at-") && StringToInt(options.failWrites.substr(8)) > 0)) {
                Error("Option --fail-writes takes disk-full, read-only or kill-at-N", Here());
                options.failWrites.clear();
            }
        } else if (arg == "--menu-frames") {
            if (!value.empty()) options.menuFrames = std::max(StringToInt(value), 0);
        }
        // --data and --user-dir are read by ParseAppPathOptions; --help and --version by main.
    }
    return options;
}

// --fail-writes: writes in the per-user folders fail as the kind of trouble says (once their
// names and the options are set).
void InstallWriteFaults(const std::string& kind) {
    if (kind.empty()) return;
    const int killAt = StartsWith(kind, "kill-at-") ? StringToInt(kind.substr(8)) : 0;
    const WriteFault fault = killAt > 0            ? WriteFault::KillAt
                             : kind == "read-only" ? WriteFault::ReadOnly
                                                   : WriteFault::DiskFull;
    FailWritesBelow(ChooseAppDataRootFolder(), fault, killAt);
}

// Logical (virtual-screen) positions of the input script to window pixels, through the
// letterbox.
void MoveLogical(float x, float y) {
    float vw = VirtualResolutionWidth(), vh = VirtualResolutionHeight();
    if (vw <= 0 || vh <= 0) return;
    float sx = static_cast<float>(GraphicsWidth()) / vw;
    float sy = static_cast<float>(GraphicsHeight()) / vh;
    InjectMouseMove(static_cast<int>((x + AspectOffsetX) * sx + 0.5f),
                    static_cast<int>((y + AspectOffsetY) * sy + 0.5f));
}

// --level: the current player (a new test player when there is none) plays the level as the
// stages map starts one from its thumbnail: the level is open (a thumbnail is only clicked when
// it is), then the profile's Game_PlayLevel. So its record is the one the player's own game
// writes, and a level won here can be played again from its thumbnail. The help that a
// player's first level shows, which holds play until it is closed, counts as seen.
void StartHarnessLevel(int level) {
    if (!Profile && Profiles) {
        TProfilePtr player = CreateNewProfile("Test Player");
        Profiles->ProfilesList.push_back(player);
        Profiles->SetCurrProfile(player);
    }
    if (!Profile) {
        Error("No player to play level " + std::to_string(level), Here());
        return;
    }
    Profile->TutorialScreenShowed = 1;
    Profile->Level_Unlock(level);
    Profile->Game_PlayLevel(level);
}

// --play-level and --edit-level: the level file goes straight to the game screen, as the
// profile hands over a level, but belongs to no player's progress (a player's own level in
// progress is left as it is). The help a player's first level shows counts as seen.
void StartHarnessLevelFile(const std::string& path, bool edit) {
    std::shared_ptr<TLevel> level = LoadLevel(path);
    if (!level) {
        Error("The level file '" + path + "' can't be played", Here());
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

// The file of a --shot-frames frame: "-<frame>" before the screenshot's ending.
std::string ShotPath(const std::string& screenshot, int frame) {
    const size_t slash = screenshot.find_last_of('/');
    size_t dot = screenshot.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = screenshot.size();
    return screenshot.substr(0, dot) + "-" + std::to_string(frame) + screenshot.substr(dot);
}

// Resident memory of the process in kB (0 when /proc cannot tell).
long ResidentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr int kUsageFrames = 60;
// The CPU time of the calling thread in milliseconds.
double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// A switch is counted on until this many frames after the new screen became current (once the
// cross-fade is over): its first frames start its music and animations.
constexpr int kSwitchTail = 30;

// The screen switches of a run, through the cross-fade or at once, and the longest frame of each
// ("switch" lines of --timings).
class SwitchFrames {
public:
    // At the start of each frame: the frame before ended now, of which the harness spent
    // `harnessMs` grabbing its screenshot.
    void FrameStarts(int32_t frame, double harnessMs) {
        const double now = MonotonicMs();
        const double ms = lastStart_ >= 0.0 ? now - lastStart_ - LastPaceWaitMs() - harnessMs : 0.0;
        lastStart_ = now;
        const double cpuNow = ThreadCpuMs();
        const double cpu = lastCpu_ >= 0.0 ? cpuNow - lastCpu_ - harnessMs : 0.0;
        lastCpu_ = cpuNow;
        if (ms > 0.0) frameMs_.push_back(ms);
        const std::shared_ptr<TAppScreen> screen = Control::CurrScreen;
        const bool fading = screen && screen == CurrScreenCrosser;
        // The screen changed during the frame before: a switch began there, unless this is the
        // end of a fade that is counted already.
        if (screen != seen_ && seen_ && (!open_ || tail_ > 0)) {
            Print(frame);
            Open(frame - 1, seen_);
        }
        seen_ = screen;
        if (!open_) return;
        if (ms > longest_) longest_ = ms, longestFrame_ = frame - 1;
        longestCpu_ = std::max(longestCpu_, cpu);
        if (!fading && ++tail_ > kSwitchTail) Print(frame);
    }
    // The run ends: a switch still counted is told as far as it came, and the frames' time.
    void Ends(int32_t frame) {
        Print(frame);
        if (frameMs_.empty()) return;
        std::vector<float> sorted = frameMs_;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        std::printf("frame-work %zu %.3f %.3f\n", frameMs_.size(), sorted[sorted.size() / 2],
                    *std::max_element(frameMs_.begin(), frameMs_.end()));
    }

private:
    static std::string Name(const std::shared_ptr<TAppScreen>& screen) {
        std::string name = screen ? screen->name : "none";
        std::replace(name.begin(), name.end(), ' ', '_');
        return name.empty() ? "unnamed" : name;
    }
    void Open(int32_t frame, const std::shared_ptr<TAppScreen>& from) {
        open_ = true;
        from_ = Name(from);
        start_ = frame;
        tail_ = 0;
        longest_ = 0.0;
        longestCpu_ = 0.0;
        longestFrame_ = frame;
    }
    void Print(int32_t frame) {
        if (!open_) return;
        open_ = false;
        std::shared_ptr<TAppScreen> to = Control::CurrScreen;
        if (to && to == CurrScreenCrosser) to = CurrScreenCrosser->Screen[1];
        std::printf("switch %s %s %d %d %.3f %d %.3f\n", from_.c_str(), Name(to).c_str(), start_, frame - start_,
                    longest_, longestFrame_, longestCpu_);
    }
    std::shared_ptr<TAppScreen> seen_;  // the current screen at the last frame's start
    bool open_ = false;
    std::string from_;
    int32_t start_ = 0;
    int tail_ = 0;
    double longest_ = 0.0;
    int32_t longestFrame_ = 0;
    double lastStart_ = -1.0;
    double lastCpu_ = -1.0;
    double longestCpu_ = 0.0;
    std::vector<float> frameMs_;  // the main thread's time of every frame
};

const char* const kNoDisplayLine =
    "Quiltora needs a desktop to open its window on, and none is named (DISPLAY and WAYLAND_DISPLAY are "
    "not set); to run it without a window on purpose, start it with SDL_VIDEODRIVER=offscreen.";

void PrintUsage(int32_t frame) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    const FrameCacheStats cache = CurrentFrameCacheStats();
    std::printf("frames %d %.3f %.3f %ld %.3f %.3f\n", frame, MonotonicMs(), cpu, ResidentKb(), cache.redrawn,
                cache.changed);
}

// Where the memory is, on one line of kB (see InstallHarness).
void PrintMemoryParts() {
    const TProcessMemory process = ReadProcessMemory();
    const TTextureMemory textures = TextureMemory();
    std::printf(
        "memory-parts rss %lld renderer-code %lld textures %lld pictures %lld fonts %lld sounds %lld heap %lld "
        "anonymous %lld\n",
        static_cast<long long>(process.residentKb), static_cast<long long>(process.rendererCodeKb),
        static_cast<long long>((textures.pictureTextures + textures.glyphTextures) / 1024),
        static_cast<long long>(textures.picturePixels / 1024),
        static_cast<long long>((FontFileMemory() + textures.glyphPixels) / 1024),
        static_cast<long long>(AudioMemory() / 1024), static_cast<long long>(process.heapInUseKb),
        static_cast<long long>(process.anonymousKb));
}

// The harness's hooks into the frame driver: replayed input, start-up timings, the end a number
// of frames after the main menu came, and the screenshot of the last frame.
//
// Start-up timings ("--timings"), one line each when first reached, on the monotonic clock in
// milliseconds with the frame's number:
//   "timing main <ms>"                 main entered
//   "hooks <set> <slots>"              of every hook slot (engine/system/Hook.h), those start-up
//                                      set (each one left unset is also an error line)
//   "timing first-frame <ms> <frame>"  the first frame is about to be shown (splash or loading)
//   "timing loading <ms> <frame>"      the first frame of the frame loop (the splash is over)
//   "timing main-menu <ms> <frame>"    the first frame with the main menu current, all loaded
//   "memory peak-kb <kB>"              the process's peak resident memory at that point
//   "loading-items <screens> <pop-ups> <asset items> <assets> <global assets>"
//                                      what the loading screen handled, one item a frame: the
//                                      screens' and pop-ups' files and set-ups, the assets' items
//                                      (files read) for that many assets, the global assets
// Then, from the main menu on, every 60 frames (a second of play at the fixed clock), what a long
// run watches for growth:
//   "frames <frame> <ms> <cpu-ms> <rss-kB> <redrawn> <changed>"  the frame's number, the monotonic
//                                          clock, the CPU time of the whole process (all its
//                                          threads), its resident memory now, and the frame
//                                          cache's shares of the window drawn again and changed,
//                                          summed over the frames so far (FrameCacheStats)
// and at every screen switch (through the cross-fade or at once), once it is over:
//   "switch <from> <to> <frame> <frames> <longest-ms> <at-frame> <longest-cpu-ms>"
//                                      the screens (blanks in their names as "_"), the frame in
//                                      which the switch began and how many frames it is counted
//                                      (the fade, then the new screen's first kSwitchTail
//                                      frames), its longest frame: the main thread's time for it
//                                      (its wall time less the pace's wait and the harness's
//                                      screenshot) and its number, and the most CPU time the
//                                      main thread spent on one of its frames (which the other
//                                      work of a busy machine does not lengthen)
// and at the end:
//   "draws <calls> <quads>"            the GL drawing calls and quads of the last frame shown
//   "frame-cache <frames> <damaged> <from-copy> <copies> <redrawn> <kB>"
//                                      the frame cache over the whole run: frames drawn from
//                                      their record, of them those drawn only where they
//                                      changed and those drawn over the copy of the window,
//                                      the window's copies, the share of the window drawn
//                                      again a frame on average, the memory it holds at the end
//   "frame-path <name>[+swap-damage] <frames> <share>"  how frames reached the window (the
//                                      window's frame path, and whether EGL was told only what
//                                      changed), the frames shown and the share of the window
//                                      sent a frame on average
//   "timing last-frame <ms> <frame>"   the last frame shown
//   "timing end <ms>"                  everything saved and the background work stopped: the
//                                      program exits
//   "memory run-peak-kb <kB>"          the process's peak resident memory over the whole run
//   "frame-work <frames> <median-ms> <longest-ms>"
//                                      the main thread's time a frame (less the pace's wait)
//                                      over the frame loop: the median and the longest
//   "memory-parts rss <kB> renderer-code <kB> textures <kB> pictures <kB> fonts <kB> sounds <kB>
//    heap <kB> anonymous <kB>"          where the memory is as the run ends: resident in all; the
//                                      renderer's code (its libraries); the textures' texels (4
//                                      bytes each, pictures and glyphs); the decoded pictures held
//                                      in memory; the font files and glyph atlases; the decoded
//                                      sounds and music; the heap in use; all anonymous memory
//                                      (the heap's pages, the renderer's buffers and textures)
//   "last-frame-commonest-colour <share>"  the share of the last frame that its commonest colour
//                                      covers (1: blank), read after the figures above
void InstallHarness(const HarnessOptions& options) {
    Control::FrameLimit = options.frames;

    auto events = std::make_shared<std::vector<InputEvent>>();
    if (!options.input.empty()) {
        std::vector<std::string> errors;
        *events = LoadInputScript(options.input, &errors);
        for (const std::string& e : errors) Error(options.input + ": " + e, Here());
    }
    auto next = std::make_shared<size_t>(0);
    auto loadingSeen = std::make_shared<bool>(false);
    auto menuFrame = std::make_shared<int32_t>(-1);
    auto inputFrame = std::make_shared<int32_t>(-1);  // the last frame that applied script input
    const bool timings = options.timings;
    const int menuFrames = options.menuFrames;
    const int level = options.level;
    const std::string levelFile = options.levelFile;
    // The level file named on the command line is the developer's choice, not a data file's.
    if (!levelFile.empty()) AllowReadsBelow(ExtractDir(RealPath(levelFile)));
    const bool editLevel = options.editLevel;
    const bool fromMenu = options.fromMenu;
    const bool paced = options.paced;
    auto switches = std::make_shared<SwitchFrames>();
    auto grabMs = std::make_shared<double>(0.0);  // the screenshot's time in the frame before
    auto harness = std::make_shared<TFrameHarness>();
    harness->frameStart = [=](int32_t frame) {
        if (timings) switches->FrameStarts(frame, *grabMs);
        *grabMs = 0.0;
        if (timings && !*loadingSeen && Control::CurrScreen) {
            *loadingSeen = true;
            std::printf("timing loading %.3f %d\n", MonotonicMs(), frame);
        }
        if (*menuFrame < 0 && MainMenu && Control::CurrScreen == MainMenu) {
            *menuFrame = frame;
            if (paced) SetPacedFixedClock(true);
            if (timings) {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("timing main-menu %.3f %d\nmemory peak-kb %ld\n", MonotonicMs(), frame, usage.ru_maxrss);
                if (LoadingScreen)
                    std::printf("loading-items %zu %zu %zu %zu %zu\n", LoadingScreen->AllScreensList.size(),
                                LoadingScreen->AllPopUpsList.size(), LoadingScreen->AssetItems.size(),
                                LoadingScreen->AllAssetsList.size(), LoadingScreen->AllGlobalAssets.size());
            }
        }
        // The script's frame: with --from-menu none until the main menu has come.
        const int32_t scriptFrame = !fromMenu ? frame : *menuFrame >= 0 ? frame - *menuFrame : -1;
        while (scriptFrame >= 0 && *next < events->size() && (*events)[*next].frame <= scriptFrame) {
            ApplyInputEvent((*events)[(*next)++], &MoveLogical);
            *inputFrame = frame;
        }
        if (timings && *menuFrame >= 0 && (frame - *menuFrame) % kUsageFrames == 0) PrintUsage(frame);
        // Loading has ended when the main menu comes: the harness's level starts from there.
        if (level > 0 && *menuFrame == frame) StartHarnessLevel(level);
        if (!levelFile.empty() && *menuFrame == frame) StartHarnessLevelFile(levelFile, editLevel);
        // The frame limit counted from the main menu: this frame is the last one run.
        if (menuFrames >= 0 && *menuFrame >= 0 && frame >= *menuFrame + menuFrames)
            Control::FrameLimit = Control::FrameLimit < 0 ? frame + 1 : std::min(Control::FrameLimit, frame + 1);
        std::fflush(stdout);
    };

    auto flipped = std::make_shared<bool>(false);
    // The screenshot: grabbing a frame costs more than drawing it on the software renderer, so
    // not every frame is grabbed. A run ends at the frame limit or on a quit, and a quit comes
    // from input (a script's event or a button it clicks), whose frame is not drawn: the frames
    // grabbed are those asked for, the last one under the frame limit, and every frame that
    // applied input or is followed by a frame with input due. A run that still ends on a frame
    // not grabbed (a quit some frames after its input) draws its screen once more at the end for
    // it; one that ends so during the splash (a close request from the window), which has no
    // screen to draw again, takes what the window holds then.
    auto lastFrame = std::make_shared<TPixmapPtr>();
    auto grabbed = std::make_shared<int32_t>(-1);
    auto shown = std::make_shared<int32_t>(-1);
    auto shownMs = std::make_shared<double>(0.0);
    // How much of the frame grabbed last its commonest colour covers (--timings), where that frame
    // is not kept for a screenshot.
    auto grabbedShare = std::make_shared<double>(1.0);
    const bool grab = !options.screenshot.empty();
    const std::vector<int> shotFrames = options.shotFrames;
    const std::string screenshot = options.screenshot;
    harness->beforeFlip = [=] {
        const int32_t frame = Control::FrameCount - 1;
        // The script's and the shots' frames: with --from-menu counted from the main menu's first
        // frame.
        const int32_t scriptFrame = !fromMenu ? frame : *menuFrame >= 0 ? frame - *menuFrame : -1;
        if (timings && !*flipped) {
            *flipped = true;
            std::printf("timing first-frame %.3f %d\n", MonotonicMs(), frame);
            std::fflush(stdout);
        }
        *shown = frame;
        if (timings) *shownMs = MonotonicMs();
        const bool last = Control::FrameLimit >= 0 && frame + 1 >= Control::FrameLimit;
        if (!grab) {
            // --timings alone: the last frame is read back only to tell how much of it is one
            // colour (after its figures: the frame's "frames" line came at its start).
            if (timings && last) {
                *grabbedShare = CommonestColourShare(GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight()));
                *grabbed = frame;
            }
            return;
        }
        const bool shot =
            scriptFrame >= 0 && std::find(shotFrames.begin(), shotFrames.end(), scriptFrame) != shotFrames.end();
        const bool input = *inputFrame == frame ||
                           (*next < events->size() && scriptFrame >= 0 && (*events)[*next].frame <= scriptFrame + 1);
        if (!shot && !last && !input) return;
        // The frame's own drawing first (a pixel's grab draws what waits): the rest is the
        // harness's, and the switch timings leave it out.
        GrabPixmap(0, 0, 1, 1);
        const double start = MonotonicMs();
        *lastFrame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
        *grabbed = frame;
        if (shot) {
            const std::string path = ShotPath(screenshot, scriptFrame);
            if (!SavePixmapPNG(*lastFrame, path, true)) Error("Can't write the screenshot " + path, Here());
        }
        *grabMs += MonotonicMs() - start;
    };
    {
        std::string path = options.screenshot;
        harness->atEnd = [lastFrame, grabbed, grabbedShare, shown, shownMs, path, timings, switches] {
            if (timings) {
                switches->Ends(*shown + 1);
                const DrawStats stats = LastFrameDrawStats();
                std::printf("draws %d %d\n", stats.drawCalls, stats.quads);
                const FrameCacheStats cache = CurrentFrameCacheStats();
                std::printf("frame-cache %ld %ld %ld %ld %.3f %zu\n", cache.frames, cache.damaged, cache.fromCopy,
                            cache.copies, cache.frames > 0 ? cache.redrawn / double(cache.frames) : 0.0,
                            cache.bytes / 1024);
                const FramePathStats framePath = CurrentFramePathStats();
                std::printf("frame-path %s%s %ld %.3f\n", FramePathName(framePath.path),
                            framePath.swapDamage ? "+swap-damage" : "", framePath.frames,
                            framePath.frames > 0 ? framePath.presented / double(framePath.frames) : 0.0);
                std::printf("timing last-frame %.3f %d\ntiming end %.3f\n", *shownMs, *shown, MonotonicMs());
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                std::printf("memory run-peak-kb %ld\n", usage.ru_maxrss);
                PrintMemoryParts();
                std::fflush(stdout);
            }
            if (path.empty() && !timings) return;
            if (*grabbed != *shown && *shown >= 0) {
                if (Control::CurrScreen) {
                    Cls();
                    Control::Draw();
                    Mouse::Draw();
                }
                *lastFrame = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
                *grabbed = *shown;
            }
            // (After the figures above: reading the frame back costs time and memory.)
            if (timings) {
                std::printf("last-frame-commonest-colour %.4f\n",
                            *lastFrame ? CommonestColourShare(*lastFrame) : *grabbedShare);
                std::fflush(stdout);
            }
            if (path.empty()) return;
            if (!*lastFrame) Error("No frame to write to " + path, Here());
            else if (!SavePixmapPNG(*lastFrame, path, true)) Error("Can't write the screenshot " + path, Here());
        };
    }
    // Handed to the frame driver: one object, set before start-up's own loops run.
    ControlHooks::Harness = harness;
}

}  // namespace

int main(int argc, char** argv) {
    const double mainEntered = MonotonicMs();
    // Large blocks mapped on their own, the heap's top kept up to a few MB (platform/System.h).
    SetAllocatorThresholds();
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help") {
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("quiltora %s\n", QUILTORA_VERSION);
            return 0;
        }
    }
    std::string usageError;
    HarnessOptions options = ParseHarnessOptions(args, usageError);
    if (!usageError.empty()) {
        std::fprintf(stderr, "quiltora: %s\n%s", usageError.c_str(), UsageText().c_str());
        return 2;
    }
    // With no display named SDL would open its window offscreen, where nobody sees it, and the
    // game would go on writing the player's folders: say what is missing before anything is
    // made (the level arranger opens no window).
    if (!options.arrangeLevels && !WindowDisplayNamed()) {
        std::fprintf(stderr, "%s\n", kNoDisplayLine);
        return 1;
    }
    // A display named but out of reach (a stale DISPLAY, a forwarding that fails) is said the same
    // way: SDL would fall back to drawing offscreen and the game would run unseen.
    if (!options.arrangeLevels) {
        if (const std::string unreached = StartWindowVideo(); !unreached.empty()) {
            std::fprintf(stderr,
                         "Quiltora could not reach %s to open its window on; to run it without a window on purpose, "
                         "start it with SDL_VIDEODRIVER=offscreen.\n",
                         unreached.c_str());
            return 1;
        }
    }
    if (options.timings) std::printf("timing main %.3f\n", mainEntered);
    SetAppPathOptions(ParseAppPathOptions(args));
    SetFixedClock(options.fixedDelta);
    SetDirectDrawing(options.directDraw);
    SetFrameCache(!options.noFrameCache);
    SetDamageDrawing(!options.noBufferAge);
    SetFramePath(options.framePath);
    // Reports made during start-up reach the console's log once the window is open.
    StartConsoleReports();

    InitClassGlobals();
    InitProgramGlobals();
    InstallEngineModules();
    WireHooks();
    CreateAppScreens();
    SetAppFolderNames();
    InstallWriteFaults(options.failWrites);
    // The arranger is a tool of its own: no window, no frame loop.
    if (options.arrangeLevels) return LevelArranger::Mainloop();
    // The harness counts the splash screens' frames too, so it is in place before AppInit.
    InstallHarness(options);
    // Every hook is set by now: one left unset is said by name.
    const int unsetHooks = ReportUnsetHooks();
    if (options.timings)
        std::printf("hooks %zu %zu\n", HookSlots().size() - static_cast<size_t>(unsetHooks), HookSlots().size());
    // Another game on the same per-user folder: nothing was read, and nothing is written (the
    // save-at-end list does not run).
    if (AppInit() != 0) return 1;
    LoadNewsLetter();
    StartLoadingScreen();
    return AppRun();
}
