// Finding and running other programs, and telling whether a desktop is there.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <filesystem>

#include "platform/System.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::WriteFileBytes;
using testsupport::WriteScript;

TEST(SystemTest, FindProgramSearchesOnlyAbsoluteFoldersOfThePathForExecutables) {
    TempDir a, b;
    WriteFileBytes(a.file("tool"), "not executable");  // skipped: not executable
    WriteScript(b.file("tool"), "exit 0\n");
    WriteScript(b.file("other"), "exit 0\n");
    const std::string path = std::string("relative:") + ":" + a.path() + ":" + b.path();
    ScopedEnv env("PATH", path.c_str());
    EXPECT_EQ(FindProgram("tool"), b.file("tool"));
    EXPECT_EQ(FindProgram("missing"), "");
    EXPECT_EQ(FindProgram(b.file("other")), "");  // never a path
    EXPECT_EQ(FindProgram(""), "");

    // A program in the working folder is not found through an empty or relative PATH entry.
    ScopedEnv relative("PATH", ":.");
    EXPECT_EQ(FindProgram("tool"), "");
}

TEST(SystemTest, RunProgramPassesEveryArgumentAsItIsAndReadsTheAnswerBack) {
    TempDir dir;
    const std::string marker = dir.file("injected");
    WriteScript(dir.file("echo-args"), "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\nexit 3\n");
    const std::vector<std::string> args{dir.file("echo-args"), "two words", "$(touch " + marker + ")",
                                        "; touch " + marker,   "",          "line\nbreak"};
    int code = 0;
    EXPECT_EQ(RunProgram(args, &code),
              "[two words]\n[$(touch " + marker + ")]\n[; touch " + marker + "]\n[]\n[line\nbreak]\n");
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(std::filesystem::exists(marker));

    // Standard input is empty: a program reading it ends at once.
    WriteScript(dir.file("cat-in"), "cat\necho done\n");
    EXPECT_EQ(RunProgram({dir.file("cat-in")}, &code), "done\n");
    EXPECT_EQ(code, 0);

    // A program that is not there (or no program) cannot be started.
    EXPECT_EQ(RunProgram({dir.file("nothing")}, &code), "");
    EXPECT_EQ(code, -1);
    EXPECT_EQ(RunProgram({}, &code), "");
    EXPECT_EQ(code, -1);
}

TEST(SystemTest, NoDesktopWithoutADisplayOrUnderTheOffscreenAndDummyDrivers) {
    struct Case {
        const char* driver;
        const char* display;
        const char* wayland;
        bool desktop;
    };
    const Case cases[] = {
        {"offscreen", ":0", nullptr, false},
        {"dummy", nullptr, "wayland-0", false},
        {"OFFSCREEN,x11", ":0", "wayland-0", false},
        {"x11", nullptr, nullptr, false},
        {"x11", "", "", false},
        {nullptr, nullptr, nullptr, false},
        {"x11", ":0", nullptr, true},
        {nullptr, nullptr, "wayland-0", true},
    };
    // Once SDL's video runs on the offscreen driver of the tests, no variable makes a desktop.
    const bool sdlOffscreen = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.driver ? c.driver : "-") + " " + (c.display ? c.display : "-") + " " +
                     (c.wayland ? c.wayland : "-"));
        ScopedEnv d("SDL_VIDEODRIVER", c.driver), x("DISPLAY", c.display), w("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(DesktopAvailable(), c.desktop && !sdlOffscreen);
    }
}

TEST(SystemTest, TheGamesWindowNeedsADisplayNamedOrADriverThatNeedsNone) {
    struct Case {
        const char* driver;
        const char* display;
        const char* wayland;
        bool named;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, false},
        {"", "", "", false},
        {" ", nullptr, nullptr, false},
        {nullptr, ":0", nullptr, true},
        {nullptr, nullptr, "wayland-0", true},
        {"offscreen", nullptr, nullptr, true},
        {"Dummy", nullptr, nullptr, true},
        {"kmsdrm", nullptr, nullptr, true},
        {"x11", nullptr, "wayland-0", false},
        {"x11", ":0", nullptr, true},
        {"wayland", ":0", nullptr, false},
        {"wayland", nullptr, "wayland-0", true},
        {"wayland,x11", ":0", nullptr, true},
        {"wayland, x11", nullptr, nullptr, false},
        {"x11,offscreen", nullptr, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.driver ? c.driver : "-") + " " + (c.display ? c.display : "-") + " " +
                     (c.wayland ? c.wayland : "-"));
        ScopedEnv d("SDL_VIDEODRIVER", c.driver), x("DISPLAY", c.display), w("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(WindowDisplayNamed(), c.named);
    }
}

// SDL's message box makes a line of the box of each line of its text: the text is broken to fit.
TEST(SystemTest, ADialogsTextIsBrokenIntoLinesThatFit) {
    const struct {
        const char* text;
        size_t columns;
        const char* lines;
    } cases[] = {
        {"short", 10, "short"},
        {"one two three four", 9, "one two\nthree\nfour"},
        {"exactly ten and more", 10, "exactly\nten and\nmore"},
        {"a /very/long/folder/name here", 8, "a\n/very/\nlong/\nfolder/\nname\nhere"},
        {"averyveryverylongword", 8, "averyver\nyverylon\ngword"},
        {"kept\n\nbreaks and wrapped", 8, "kept\n\nbreaks\nand\nwrapped"},
        {"caf\xC3\xA9 caf\xC3\xA9 caf\xC3\xA9", 9, "caf\xC3\xA9 caf\xC3\xA9\ncaf\xC3\xA9"},  // characters, not bytes
        {"blanks   between", 7, "blanks\nbetween"},
        {"", 5, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapDialogText(c.text, c.columns), c.lines) << c.text;
    // The "already running" message with a long folder stays within the box's width.
    const std::string running = WrapDialogText(
        "Quiltora is already running for this user (its files are in /home/someone/.local/share/.Velkaro/"
        "Quiltora-2). Only one game at a time can use them, so this one closes; switch to the game that is open.",
        kPlainDialogColumns);
    size_t start = 0;
    while (start <= running.size()) {
        const size_t end = std::min(running.find('\n', start), running.size());
        EXPECT_LE(end - start, kPlainDialogColumns) << running;
        start = end + 1;
    }
}

TEST(SystemTest, APlainDialogNeedsADesktopAndCanBeReplaced) {
    // Headless (the tests' offscreen driver): nothing is shown, and nothing waits for a click.
    EXPECT_FALSE(ShowPlainDialog("Quiltora", "text"));
    std::string seen;
    SetPlainDialog([&](const std::string& title, const std::string& text) {
        seen = title + ": " + text;
        return true;
    });
    EXPECT_TRUE(ShowPlainDialog("Quiltora", "Already running"));
    EXPECT_EQ(seen, "Quiltora: Already running");
    SetPlainDialog(nullptr);
}

}  // namespace
