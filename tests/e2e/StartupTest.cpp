// The real executable started headless on data/: the partner splash, the loading screen and the
// cross-fade lead to the main menu; the engine draws its console over the screen and the strips
// over both; every way out ends through AppEnd; and quitting at any moment of start-up leaves the
// player's files exactly as they were.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "e2e/GameRun.h"
#include "platform/Files.h"

namespace {

using namespace e2e;

// The main menu's look, at points that the cross-fade and the falling petals leave alone.
void ExpectMainMenu(const TPixmapPtr& s) {
    ASSERT_TRUE(s);
    ASSERT_EQ(s->width, 1366);
    ASSERT_EQ(s->height, 768);
    EXPECT_TRUE(Near(Rgb(s, 20, 40), 0x5888C6u, 6)) << std::hex << Rgb(s, 20, 40);  // the sky, beside the screen too
    EXPECT_TRUE(Near(Rgb(s, kX + 380, 330), 0x47557Du, 6)) << std::hex << Rgb(s, kX + 380, 330);  // the panel
    EXPECT_TRUE(Near(Rgb(s, kX + 420, 356), 0xF4AB7Du, 6)) << std::hex << Rgb(s, kX + 420, 356);  // Play
    EXPECT_TRUE(Near(Rgb(s, kX + 512, 160), 0x59331Cu, 12))
        << std::hex << Rgb(s, kX + 512, 160);  // the title's outline
    // The two black strips, drawn last.
    EXPECT_EQ(Rgb(s, 1365, 300), 0x000000u);
    EXPECT_EQ(Rgb(s, 600, 767), 0x000000u);
}

TEST(StartupTest, ReachesTheMainMenuThroughSplashAndLoading) {
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--timings --menu-frames 30 --frames 5000");
    ASSERT_EQ(run.status, 0);
    // Start-up set every hook slot of the folders below it (one left unset would be an error
    // line too).
    int wired = 0, slots = 0;
    const size_t hooks = run.output.find("hooks ");
    ASSERT_NE(hooks, std::string::npos) << run.output;
    ASSERT_EQ(std::sscanf(run.output.c_str() + hooks, "hooks %d %d", &wired, &slots), 2);
    EXPECT_GT(slots, 0);
    EXPECT_EQ(wired, slots);
    // Every way up is a slot, listed in docs/DEVELOPING.md ("Ways up"): few, on purpose.
    EXPECT_LE(slots, 6);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    // The splash comes first, then the loading screen, then the menu.
    EXPECT_EQ(TimingFrame(run.output, "first-frame"), 0);
    EXPECT_GT(TimingFrame(run.output, "loading"), 100);
    EXPECT_GT(TimingFrame(run.output, "main-menu"), TimingFrame(run.output, "loading") + 40);
    ExpectMainMenu(run.shot);
    // The first run leaves the settings it started with for the next one.
    EXPECT_EQ(FileType(dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini")), 1);
}

// The loading screen handles one item a frame, so every item the shipped data adds costs a frame
// of every start. The counts stand at what the game loads now: a new picture shared with another
// screen, or put in a shared texture with the pictures its screen loads with it
// (tools/make_atlases.py), adds none; a new file does, and must be counted here on purpose. With
// these counts the main menu comes within 330 frames of the start.
TEST(StartupTest, TheLoadingScreenHasNoMoreItemsThanCounted) {
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--timings --menu-frames 0 --frames 5000");
    ASSERT_EQ(run.status, 0);
    int screens = 0, popups = 0, items = 0, assets = 0, globals = 0;
    const size_t at = run.output.find("loading-items ");
    ASSERT_NE(at, std::string::npos) << run.output;
    ASSERT_EQ(std::sscanf(run.output.c_str() + at, "loading-items %d %d %d %d %d", &screens, &popups, &items, &assets,
                          &globals),
              5);
    EXPECT_EQ(screens, 8);
    EXPECT_EQ(popups, 10);
    EXPECT_LE(items, 40) << "files read by the asset phase, for " << assets << " assets";
    EXPECT_LE(globals, 4) << "global assets: the cursors, the tile pictures and the clue numbers";
    // The splash (142 frames), the fade-in (42), the files and set-ups (two frames a screen or
    // pop-up and four counting frames), the items and their counting frame, the global assets:
    // then the main menu comes, cross-faded in over 60 frames.
    const int menu = TimingFrame(run.output, "main-menu");
    EXPECT_EQ(menu, 142 + 42 + 2 * (screens + popups) + 4 + items + 1 + globals + 60) << run.output;
    EXPECT_LE(menu, 330);
}

TEST(StartupTest, TheSplashAndTheLoadingScreenShowTheirPictures) {
    const int splash = 59, loading = Startup().loading + 54;
    const struct {
        int frame;
        int x, y;
        uint32_t colour;
        int tolerance;
    } cases[] = {
        {splash, kX + 512, 240, 0xDF5958u, 12},  // the red patch of the partner's emblem
        {splash, 100, 300, 0x000000u, 0},        // black beside the 1024-wide picture
        // The loading screen, faded in, before its bar starts to fill.
        {loading, kX + 260, 620, 0x23243Bu, 10},  // the loading bar's empty track
        {loading, kX + 512, 330, 0xFFF0C4u, 40},  // the title on the card
    };
    // One run, ending on the loading screen's frame, writes the splash's too.
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, "--frames " + std::to_string(loading + 1) + " --shot-frames " + std::to_string(splash));
    ASSERT_EQ(run.status, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        const TPixmapPtr shot = c.frame == loading ? run.shot : Shot(dir, c.frame);
        ASSERT_TRUE(shot);
        EXPECT_TRUE(Near(Rgb(shot, c.x, c.y), c.colour, c.tolerance)) << std::hex << Rgb(shot, c.x, c.y);
    }
}

std::map<std::string, std::string> ReadUserFolder(const std::string& user) {
    const std::string root = user + "/.Velkaro/Quiltora-2/";
    std::map<std::string, std::string> files;
    if (FileType(root) != 2) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().string().substr(root.size());
        // (The empty lock file that marks a running game is made at every start.)
        if (entry.is_regular_file() && name != "Quiltora.lock")
            files[name] = testsupport::ReadFileBytes(entry.path().string());
    }
    return files;
}

void WriteUserFolder(const std::string& user, const std::map<std::string, std::string>& files) {
    for (const auto& [name, bytes] : files) testsupport::WriteFileBytes(user + "/.Velkaro/Quiltora-2/" + name, bytes);
}

// Settings written by hand: another spelling than the game writes, the same values as it would.
const char* const kHandWrittenSettings =
    "[SCREEN]\nWindowWidth=1024\nWindowHeight=768\nVirtualWidth=1024\nVirtualHeight=768\nfullscreen = 0\n"
    "Stretched = 1\n\n[LANG]\nLangDir = en\n\n[VOLUME]\nSoundVolume = 0.75\nMusicVolume = 0.25\n\n"
    "[OTHER]\nCustomCursor = 1\nGameWasRated = 0\n";

// A per-user folder as a player leaves it: the files of a game started twice to the main menu
// (the first run makes the files, the second writes them as every later run does), with the
// settings then edited by hand (another spelling than the game writes, the same values).
const std::map<std::string, std::string>& PlayersFolder() {
    static const std::map<std::string, std::string> files = [] {
        testsupport::TempDir dir;
        for (int run = 0; run < 2; ++run) EXPECT_EQ(RunGame(dir, "--menu-frames 0 --frames 5000").status, 0);
        auto played = ReadUserFolder(dir.file("user"));
        EXPECT_EQ(played.count("Data/Settings.ini"), 1u);
        EXPECT_EQ(played.count("Profiles/Profiles.dat"), 1u);
        EXPECT_GE(played.size(), 3u);  // and the player's own file
        played["Data/Settings.ini"] = kHandWrittenSettings;
        return played;
    }();
    return files;
}

// Quits at each of the frames with the per-user folder filled with these files, and checks that
// every file is left byte for byte as it was and no file is added.
void ExpectQuitsLeaveTheFolder(const std::map<std::string, std::string>& before, const std::vector<int>& frames) {
    for (int frame : frames) {
        SCOPED_TRACE(frame);
        testsupport::TempDir dir;
        WriteUserFolder(dir.file("user"), before);
        GameRun run = RunGame(dir, "--frames 5000" + Script(dir, std::to_string(frame) + " quit\n"));
        ASSERT_EQ(run.status, 0);
        // Ended the normal way, writing its last frame (at frame 0 none was drawn yet).
        EXPECT_EQ(run.shot != nullptr, frame > 0);
        EXPECT_EQ(ReadUserFolder(dir.file("user")), before);
    }
}

TEST(StartupTest, QuittingBeforeThePlayersAreReadWritesNothing) {
    // Nothing of the players' files is read before the profiles pop-up's set-up, the last of the
    // loading screen's set-ups: even files the game could not read stay as they are. The splash
    // (fading in, held, fading out) and the loading screen (fading in, loading files, setting
    // up); a close request at frame 0 is already there when the splash starts.
    const std::map<std::string, std::string> before{
        {"Data/Settings.ini", kHandWrittenSettings},
        {"Profiles/Profiles.dat", "not what the game writes\n"},
        {"Profiles/7.AppProfile", "Data{\n\tName = \"Ada\"\n"},
    };
    const int L = Startup().loading;
    ASSERT_GT(L, 0);
    const int loaded = L + 42;  // the first frame that loads an item
    ExpectQuitsLeaveTheFolder(before, {0, 1, 30, L - 1, L, L + 20, loaded, loaded + 15, loaded + 30});
}

TEST(StartupTest, QuittingLaterLeavesThePlayersFilesAsTheyWere) {
    // From the players' set-up on (the profiles pop-up is set up after every other set-up),
    // through the asset phases and the cross-fade to the main menu.
    const auto& before = PlayersFolder();
    const int L = Startup().loading, M = Startup().menu;
    ASSERT_GT(M, L);
    const int loaded = L + 42;
    ExpectQuitsLeaveTheFolder(before, {loaded + 45, loaded + 70, (loaded + M) / 2, M - 1, M, M + 1});
}

TEST(StartupTest, ShippedDataLoadsWithoutAReport) {
    testsupport::TempDir dir;
    WriteUserFolder(dir.file("user"), PlayersFolder());
    GameRun run = RunGame(dir, "--menu-frames 0 --frames 5000");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
}

// A display number no X server here has (its socket and its lock are not there), so that no test
// names a fixed one.
std::string FreeDisplayNumber() {
    for (int n = 1000 + static_cast<int>(getpid() % 4000);; ++n)
        if (FileType("/tmp/.X11-unix/X" + std::to_string(n)) == 0 &&
            FileType("/tmp/.X" + std::to_string(n) + "-lock") == 0)
            return ":" + std::to_string(n);
}

// With no display to open the window on, or one named that cannot be reached, the game says so in
// one line and ends before it makes a folder or a file, in the folder given or in the player's own
// home (SDL would otherwise fall back to a window nobody sees); asked for the headless driver it
// runs as ever.
TEST(StartupTest, WithNoDisplayTheGameSaysSoAndWritesNothing) {
    const std::string unnamed =
        "Quiltora needs a desktop to open its window on, and none is named (DISPLAY and WAYLAND_DISPLAY are not set); "
        "to run it without a window on purpose, start it with SDL_VIDEODRIVER=offscreen.\n";
    const std::string display = FreeDisplayNumber(), socket = "quiltora-test-none-" + std::to_string(getpid());
    auto unreached = [](const std::string& what) {
        return "Quiltora could not reach " + what +
               " to open its window on; to run it without a window on purpose, start it with "
               "SDL_VIDEODRIVER=offscreen.\n";
    };
    struct Case {
        const char* name;
        std::string env;  // set for the run, after DISPLAY, WAYLAND_DISPLAY, SDL_VIDEODRIVER and
                          // XDG_DATA_HOME are cleared
        bool userDir;     // --user-dir given (else the home's per-user folder)
        std::string err;  // the one line said; empty: the game runs
    };
    const Case cases[] = {
        {"no display, --user-dir", "", true, unnamed},
        {"no display, home folder", "", false, unnamed},
        {"x11 asked for, no DISPLAY", "SDL_VIDEODRIVER=x11", true, unnamed},
        {"DISPLAY out of reach, home folder", "DISPLAY=" + display, false,
         unreached("the display \"" + display + "\" (DISPLAY)")},
        {"x11 asked for, DISPLAY out of reach", "SDL_VIDEODRIVER=x11 DISPLAY=" + display, true,
         unreached("the display \"" + display + "\" (DISPLAY)")},
        {"both out of reach", "DISPLAY=" + display + " WAYLAND_DISPLAY=" + socket, true,
         unreached("the display \"" + display + "\" (DISPLAY) nor the display \"" + socket + "\" (WAYLAND_DISPLAY)")},
        {"headless asked for", "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy", true, ""},
        {"headless asked for, DISPLAY out of reach",
         "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy DISPLAY=" + display, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        std::filesystem::create_directories(dir.file("user"));
        std::filesystem::create_directories(dir.file("home"));
        std::filesystem::create_directories(dir.file("run"));
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_DATA_HOME XDG_RUNTIME_DIR=" +
            Quote(dir.file("run")) + " HOME=" + Quote(dir.file("home")) + " " + c.env + " timeout 240 " +
            Quote(testsupport::GameExe()) + " --data " + Quote(testsupport::SourceDir() + "/data") +
            (c.userDir ? " --user-dir " + Quote(dir.file("user")) : "") +
            " --fixed-delta --menu-frames 0 --frames 5000 > " + Quote(dir.file("out.txt")) + " 2> " +
            Quote(dir.file("err.txt"));
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        const std::string err = testsupport::ReadFileBytes(dir.file("err.txt"));
        const bool userEmpty = std::filesystem::is_empty(dir.file("user"));
        const bool homeEmpty = std::filesystem::is_empty(dir.file("home"));
        if (c.err.empty()) {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_FALSE(userEmpty);
            continue;
        }
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(err, c.err);
        EXPECT_EQ(testsupport::ReadFileBytes(dir.file("out.txt")), "");
        EXPECT_TRUE(userEmpty);
        EXPECT_TRUE(homeEmpty);
    }
}

// The command line is read before anything starts: --help prints every option of the manual's
// "Running by hand", --version the project's version, and an unknown option or one without its
// value is one error line and the usage, status 2; none of them opens a window or makes a file.
TEST(StartupTest, HelpVersionAndUnknownOptionsEndBeforeTheGameStarts) {
    const std::string manual = testsupport::ReadFileBytes(testsupport::SourceDir() + "/docs/DEVELOPING.md");
    const size_t from = manual.find("## Running by hand"), to = manual.find("These are every option");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    std::vector<std::string> options;
    const std::regex option("--[a-z-]+");
    const std::string synopsis = manual.substr(from, to - from);
    for (auto it = std::sregex_iterator(synopsis.begin(), synopsis.end(), option); it != std::sregex_iterator(); ++it)
        options.push_back(it->str());
    ASSERT_GT(options.size(), 15u);
    const std::string cmake = testsupport::ReadFileBytes(testsupport::SourceDir() + "/CMakeLists.txt");
    std::smatch version;
    ASSERT_TRUE(std::regex_search(cmake, version, std::regex("project\\(quiltora VERSION ([0-9.]+)")));

    struct Case {
        const char* args;
        int status;
        std::string out, errStart;  // standard output (a part of it for --help), the error's start
    };
    const Case cases[] = {
        {"--help", 0, "Usage: quiltora [OPTION]...\n", ""},
        {"--frames 10 --help", 0, "Usage: quiltora [OPTION]...\n", ""},
        {"--version", 0, "quiltora " + version[1].str() + "\n", ""},
        {"--fixed-delta --bogus", 2, "", "quiltora: Unknown option --bogus\nUsage: quiltora [OPTION]...\n"},
        {"game.PACLevel", 2, "", "quiltora: Unknown option game.PACLevel\nUsage: quiltora [OPTION]...\n"},
        {"--level", 2, "", "quiltora: Option --level needs a value (N)\nUsage: quiltora [OPTION]...\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        testsupport::TempDir dir;
        std::filesystem::create_directories(dir.file("user"));
        // No display and no headless driver: nothing here may need a window.
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 " +
                                    Quote(testsupport::GameExe()) + " --user-dir " + Quote(dir.file("user")) + " " +
                                    c.args + " > " + Quote(dir.file("out.txt")) + " 2> " + Quote(dir.file("err.txt"));
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        const std::string out = testsupport::ReadFileBytes(dir.file("out.txt"));
        const std::string err = testsupport::ReadFileBytes(dir.file("err.txt"));
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("user")));
        if (c.status != 0) {
            EXPECT_EQ(out, "");
            EXPECT_EQ(err.substr(0, c.errStart.size()), c.errStart);
            continue;
        }
        EXPECT_EQ(err, "");
        if (c.out.rfind("Usage", 0) != 0) {
            EXPECT_EQ(out, c.out);
            continue;
        }
        EXPECT_EQ(out.substr(0, c.out.size()), c.out);
        // One line an option, each option of the manual's.
        for (const std::string& name : options)
            EXPECT_NE(out.find("\n  " + name + " "), std::string::npos) << name << "\n" << out;
    }
}

TEST(StartupTest, CloseRequestAndCommandQInOneFrameEndTheRunThere) {
    testsupport::TempDir dir;
    const int at = kMenuShown;
    GameRun run =
        RunGame(dir, "--from-menu --frames 1000000 --timings" +
                         Script(dir, "0 move 300 200\n" + std::to_string(at) + " keydown 91\n" + std::to_string(at) +
                                         " keydown 81\n" + std::to_string(at) + " quit\n"));
    ASSERT_EQ(run.status, 0);
    ExpectMainMenu(run.shot);  // the last frame drawn was the main menu's
}

TEST(StartupTest, ConsoleLinesAreDrawnOverTheScreenAndExpire) {
    // Control+E: the critical line "Editor unavailable..." in red on a black box at the bottom
    // left.
    const std::string at = std::to_string(kMenuShown);
    const int shown = kMenuShown + 9, gone = kMenuShown + 199;  // 3000 ms later it is gone
    // One run: the line just after the keys, and its end (also without the developer marker).
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, FromMenu(gone + 1) + " --shot-frames " + std::to_string(shown) +
                                   Script(dir, at + " keydown 162\n" + at + " keydown 69\n"));
    ASSERT_EQ(run.status, 0);
    for (const auto& [frame, drawn] : {std::pair{shown, true}, std::pair{gone, false}}) {
        SCOPED_TRACE(frame);
        const TPixmapPtr shot = frame == gone ? run.shot : Shot(dir, frame);
        ASSERT_TRUE(shot);
        EXPECT_EQ(Rgb(shot, kX + 3, 753) == 0x000000u, drawn);
        EXPECT_EQ(AnyPixel(shot, kX + 4, 754, 120, 13, 0xFF0000u), drawn);
    }
}

TEST(StartupTest, TheMenusButtonsShowTheirViewsUnderTheMouse) {
    // The pointer away, over Play, and held down on it, one after the other in one run, each
    // view shown once the menu's buttons have faded in; the views fade in over 10 frames. (The
    // button is pressed beside Play and the pointer then brought onto it: a press on Play itself
    // would start a game.)
    const struct {
        int shot;
        uint32_t colour;
    } cases[] = {
        {kMenuShown - 1, 0xF4AB7Du},
        {2 * kMenuShown - 1, 0xFEC496u},
        {3 * kMenuShown - 1, 0xC75A2Cu},
    };
    const std::string script = "0 move 100 100\n" + std::to_string(kMenuShown) + " move 512 374\n" +
                               std::to_string(2 * kMenuShown) + " move 100 100\n" +
                               std::to_string(2 * kMenuShown + 10) + " down 1\n" + std::to_string(2 * kMenuShown + 11) +
                               " move 512 374\n";
    testsupport::TempDir dir;
    GameRun run = RunGame(dir, FromMenu(3 * kMenuShown) + " --shot-frames " + std::to_string(cases[0].shot) + "," +
                                   std::to_string(cases[1].shot) + Script(dir, script));
    ASSERT_EQ(run.status, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shot);
        const TPixmapPtr shot = c.shot == cases[2].shot ? run.shot : Shot(dir, c.shot);
        ASSERT_TRUE(shot);
        EXPECT_TRUE(Near(Rgb(shot, kX + 420, 356), c.colour, 6)) << std::hex << Rgb(shot, kX + 420, 356);
    }
}

}  // namespace
