#include "platform/System.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/Strings.h"

extern char** environ;

std::string FindProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return "";
    const char* path = std::getenv("PATH");
    if (!path) return "";
    const std::string all = path;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        const std::string dir = all.substr(start, end - start);
        start = end + 1;
        // An empty entry would mean the working folder: never look there for a program.
        if (dir.empty() || dir[0] != '/') continue;
        const std::string candidate = dir + "/" + name;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

std::string RunProgram(const std::vector<std::string>& argv, int* exitCode) {
    if (exitCode) *exitCode = -1;
    if (argv.empty() || argv[0].empty()) return "";
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return "";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return "";
    }

    std::string out;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) {
            out.append(buf, static_cast<size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    close(fds[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return out;
    }
    if (exitCode && WIFEXITED(status)) *exitCode = WEXITSTATUS(status);
    return out;
}

bool DesktopAvailable() {
    std::string driver;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        if (const char* current = SDL_GetCurrentVideoDriver()) driver = current;
    }
    if (driver.empty()) {
        // The variable may list several drivers; SDL tries the first one first.
        if (const char* wanted = std::getenv("SDL_VIDEODRIVER"))
            driver = Trim(std::string(wanted).substr(0, std::string(wanted).find(',')));
    }
    if (EqualsNoCase(driver, "offscreen") || EqualsNoCase(driver, "dummy")) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

bool WindowDisplayNamed() {
    auto named = [](const char* variable) {
        const char* value = std::getenv(variable);
        return value && *value;
    };
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    if (!wanted || Trim(wanted).empty()) return named("DISPLAY") || named("WAYLAND_DISPLAY");
    // SDL tries the drivers listed one after another: any one that can open a window will do.
    std::string rest = wanted;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string driver = Trim(rest.substr(0, comma));
        rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
        if (driver.empty()) continue;
        if (EqualsNoCase(driver, "x11")) {
            if (named("DISPLAY")) return true;
        } else if (EqualsNoCase(driver, "wayland")) {
            if (named("WAYLAND_DISPLAY")) return true;
        } else {
            return true;
        }
    }
    return false;
}

std::string StartWindowVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return "";
    const char* wantedValue = std::getenv("SDL_VIDEODRIVER");
    const std::string wanted = wantedValue ? Trim(wantedValue) : std::string();
    auto named = [](const char* variable) {
        const char* value = std::getenv(variable);
        return value && *value;
    };
    if (wanted.empty()) {
        // Only the drivers of the displays named are tried, in SDL's own order: no other driver
        // is asked for a display nobody named (nor prints its complaint about it).
        std::string drivers = named("DISPLAY") ? "x11" : "";
        if (named("WAYLAND_DISPLAY")) drivers += drivers.empty() ? "wayland" : ",wayland";
        if (!drivers.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        const char* current = SDL_GetCurrentVideoDriver();
        const std::string driver = current ? current : "";
        if (!wanted.empty() || EqualsNoCase(driver, "x11") || EqualsNoCase(driver, "wayland")) return "";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    // What the player named and SDL could not use: each display a driver tried needs.
    const std::string lowered = Lower(wanted);
    std::string unreached;
    for (const auto& [variable, driver] : {std::pair{"DISPLAY", "x11"}, std::pair{"WAYLAND_DISPLAY", "wayland"}}) {
        if (!named(variable) || (!wanted.empty() && lowered.find(driver) == std::string::npos)) continue;
        unreached += std::string(unreached.empty() ? "" : " nor ") + "the display \"" + std::getenv(variable) + "\" (" +
                     variable + ")";
    }
    if (unreached.empty()) unreached = "the video driver \"" + wanted + "\" (SDL_VIDEODRIVER)";
    return unreached;
}

namespace {
TPlainDialog gPlainDialog;
}

void SetPlainDialog(TPlainDialog dialog) { gPlainDialog = std::move(dialog); }

bool ShowPlainDialog(const std::string& title, const std::string& text) {
    if (gPlainDialog) return gPlainDialog(title, text);
    if (!DesktopAvailable()) return false;
    const std::string wrapped = WrapDialogText(text, kPlainDialogColumns);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), wrapped.c_str(), nullptr) == 0;
}

std::string WrapDialogText(const std::string& text, size_t columns) {
    columns = std::max<size_t>(columns, 1);
    const std::u32string all = Utf8ToUtf32(text);
    std::u32string out;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(U'\n', start);
        if (end == std::u32string::npos) end = all.size();
        std::u32string rest = all.substr(start, end - start);
        // One line of the text, broken while it is wider than a line of the box.
        while (rest.size() > columns) {
            // The last blank within the width (a blank just past it ends the line too); a word
            // longer than a whole line is broken inside, after its last "/" or "-" that fits.
            size_t cut = rest.find_last_of(U' ', columns), next = cut;
            if (cut == std::u32string::npos || cut == 0) {
                const size_t mark = rest.find_last_of(U"/-", columns - 1);
                cut = next = mark != std::u32string::npos && mark > 0 ? mark + 1 : columns;
            } else {
                while (cut > 0 && rest[cut - 1] == U' ') --cut;
            }
            out += rest.substr(0, cut) + U'\n';
            while (next < rest.size() && rest[next] == U' ') ++next;
            rest.erase(0, next);
        }
        out += rest;
        if (end < all.size()) out += U'\n';
        start = end + 1;
    }
    return Utf32ToUtf8(out);
}

namespace {

// A library of the renderer: Mesa's GL and driver, LLVM which compiles its shaders, and what
// they pull in.
bool RendererLibrary(const std::string& path) {
    for (const char* part : {"libLLVM", "_dri.so", "libgallium", "libglapi", "libGLX_mesa", "libEGL_mesa", "libz3",
                             "libGLdispatch", "libdrm"})
        if (path.find(part) != std::string::npos) return true;
    return false;
}

constexpr int kOwnMappingBytes = 256 * 1024;
constexpr int kHeapTrimBytes = 1024 * 1024;
// The most the allocator takes as the mapping threshold (32 MB on 64-bit systems).
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
}  // namespace

void SetAllocatorThresholds() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
    mallopt(M_TRIM_THRESHOLD, kHeapTrimBytes);
#endif
}

TLargeBlocksInHeap::TLargeBlocksInHeap() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

TLargeBlocksInHeap::~TLargeBlocksInHeap() { SetAllocatorThresholds(); }

TProcessMemory ReadProcessMemory() {
    TProcessMemory memory;
    std::ifstream smaps("/proc/self/smaps");
    std::string line, mapping;
    while (std::getline(smaps, line)) {
        // A mapping's first line: "start-end perms offset dev inode [path]".
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') != std::string::npos && line.find(':') > line.find(' ')) {
            std::istringstream fields(line);
            std::string range, perms, offset, dev, inode;
            fields >> range >> perms >> offset >> dev >> inode;
            mapping.clear();
            std::getline(fields >> std::ws, mapping);
            continue;
        }
        const auto kb = [&line](const char* name) {
            return line.rfind(name, 0) == 0 ? std::atoll(line.c_str() + std::strlen(name)) : -1LL;
        };
        if (const long long rss = kb("Rss:"); rss >= 0) {
            memory.residentKb += rss;
            if (RendererLibrary(mapping)) memory.rendererCodeKb += rss;
        } else if (const long long anonymous = kb("Anonymous:"); anonymous >= 0) {
            memory.anonymousKb += anonymous;
        }
    }
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    memory.heapInUseKb = static_cast<int64_t>((info.uordblks + info.hblkhd) / 1024);
#endif
    return memory;
}
