// The game in real windows, on display servers each test starts for itself (Xvfb on a display
// number it picks, Weston on its X11 backend over it with a socket name of its own): the window
// changed by the options' switches under Wayland with SDL's decorations through libdecor, and the
// copy-sub-buffer frame path after the window system resized the window. What the screen shows is
// grabbed with xwd and compared with the game's own frames.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "e2e/GameRun.h"
#include "platform/Image.h"
#include "support/TestSupport.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

// Starts a program with the environment changed ("NAME=VALUE" sets, "-NAME" removes), its output
// and errors into the file `out`; `passFd`, when given, is handed to it as its descriptor 3.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& out,
            int passFd = -1) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    for (const std::string& e : env) {
        if (e[0] == '-') {
            unsetenv(e.c_str() + 1);
        } else {
            const size_t eq = e.find('=');
            setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
    }
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
    }
    if (passFd == 3) fcntl(3, F_SETFD, 0);
    else if (passFd >= 0) dup2(passFd, 3);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// Waits for the process up to `seconds`; its exit status, or -1 when it did not end or was killed.
int Wait(pid_t pid, double seconds) {
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (Clock::now() > until) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Asks the process to end, then makes it.
void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (Wait(pid, 10) == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool WaitFor(double seconds, const auto& ready) {
    const auto until = Clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (Clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A command's standard output ("" when it fails).
std::string Capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[256];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        if (pclose(p) != 0) out.clear();
    }
    return out;
}

// An X server of the test's own, 1366 x 768, on the first free display number.
class XServer {
public:
    explicit XServer(const testsupport::TempDir& dir) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        pid_ = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1366x768x24", "-nolisten", "tcp"}, {},
                     dir.file("xvfb.txt"), fds[1]);
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, 30000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() { Stop(pid_); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    // ":N", or "" when the server did not start.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// Weston on its X11 backend over `x`, 1366 x 768, listening on a socket of its own name in a
// runtime folder of its own.
class Weston {
public:
    Weston(const testsupport::TempDir& dir, const XServer& x)
        : runtime_(dir.file("runtime")), socket_("quiltora-test-" + std::to_string(getpid())) {
        mkdir(runtime_.c_str(), 0700);
        pid_ = Spawn({"weston", "--backend=x11-backend.so", "--socket=" + socket_, "--width=1366", "--height=768",
                      "--no-config", "--idle-time=0"},
                     {"DISPLAY=" + x.display(), "XDG_RUNTIME_DIR=" + runtime_, "-WAYLAND_DISPLAY"},
                     dir.file("weston.txt"));
        struct stat st;
        ready_ = WaitFor(30, [&] { return stat((runtime_ + "/" + socket_).c_str(), &st) == 0; });
    }
    ~Weston() { Stop(pid_); }
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;
    bool ready() const { return ready_; }
    // What a client needs in its environment to reach it.
    std::vector<std::string> ClientEnv() const { return {"WAYLAND_DISPLAY=" + socket_, "XDG_RUNTIME_DIR=" + runtime_}; }

private:
    std::string runtime_, socket_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// The game started on a real display (its environment given), its output read as it comes.
class LiveGame {
public:
    // args: the options, split at blanks (an option quoted whole by Quote is unquoted).
    LiveGame(const testsupport::TempDir& dir, std::vector<std::string> env, const std::string& args)
        : dir_(dir), out_(dir.file("out.txt")) {
        env.push_back("SDL_AUDIODRIVER=dummy");
        std::vector<std::string> argv = {testsupport::GameExe(),
                                         "--data",
                                         testsupport::SourceDir() + "/data",
                                         "--user-dir",
                                         dir.file("user"),
                                         "--fixed-delta",
                                         "--timings",
                                         "--screenshot",
                                         dir.file("shot.png")};
        for (size_t at = 0; at < args.size();) {
            const size_t end = std::min(args.find(' ', at), args.size());
            std::string arg = args.substr(at, end - at);
            if (arg.size() >= 2 && arg.front() == '\'' && arg.back() == '\'') arg = arg.substr(1, arg.size() - 2);
            if (!arg.empty()) argv.push_back(arg);
            at = end + 1;
        }
        pid_ = Spawn(argv, env, out_);
    }
    ~LiveGame() { Stop(pid_); }
    LiveGame(const LiveGame&) = delete;
    LiveGame& operator=(const LiveGame&) = delete;
    pid_t pid() const { return pid_; }
    std::string Output() const { return testsupport::ReadFileBytes(out_); }
    // Waits until the game has drawn `frame` frames after its main menu came (its "frames" lines
    // come every 60); false when it ended or did not get there within 200 seconds (a loaded machine draws Weston's
    // frames in 0.2 s each).
    bool ReachFrame(int frame) {
        return WaitFor(200,
                       [&] {
                           if (exited_ || waitpid(pid_, &status_, WNOHANG) == pid_) {
                               exited_ = true;
                               return true;
                           }
                           const std::string out = Output();
                           const int menu = TimingFrame(out, "main-menu");
                           const size_t at = out.rfind("\nframes ");
                           return menu >= 0 && at != std::string::npos &&
                                  std::atoi(out.c_str() + at + 8) >= menu + frame;
                       }) &&
               !exited_;
    }
    // Ends the game the normal way (the screenshot written) and gives its exit status.
    int End() {
        if (exited_) return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        kill(pid_, SIGTERM);
        const int status = Wait(pid_, 60);
        if (status != -1) pid_ = -1;
        return status;
    }
    TPixmapPtr Frame() const { return LoadPixmap(dir_.file("shot.png")); }

private:
    const testsupport::TempDir& dir_;
    std::string out_;
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

// An xwd file (32-bit pixels, any byte order and colour masks) as a pixmap; null when unreadable.
TPixmapPtr ReadXwd(const std::string& path) {
    const std::string bytes = testsupport::ReadFileBytes(path);
    if (bytes.size() < 100) return nullptr;
    auto u32 = [&](size_t at, bool msb) {
        const auto* b = reinterpret_cast<const uint8_t*>(bytes.data()) + at;
        return msb ? uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]
                   : uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
    };
    auto field = [&](int i) { return u32(size_t(i) * 4, true); };  // the header is big-endian
    const uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7),
                   bitsPerPixel = field(11), bytesPerLine = field(12), masks[3] = {field(14), field(15), field(16)},
                   colours = field(19);
    const size_t start = headerSize + size_t(colours) * 12;
    if (bitsPerPixel != 32 || width == 0 || height == 0 || start + size_t(bytesPerLine) * height > bytes.size())
        return nullptr;
    TPixmapPtr p = CreatePixmap(int(width), int(height));
    if (!p) return nullptr;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t v = u32(start + size_t(y) * bytesPerLine + x * 4, byteOrder == 1);
            uint8_t* dst = p->PixelPtr(int(x), int(y));
            for (int c = 0; c < 3; ++c) dst[c] = uint8_t((v & masks[c]) / (masks[c] & -masks[c]));
            dst[3] = 255;
        }
    return p;
}

// What the X server shows: the window `id`, or the whole screen ("-root").
TPixmapPtr Grab(const testsupport::TempDir& dir, const XServer& x, const std::string& id, const std::string& name) {
    const std::string file = dir.file(name + ".xwd");
    const std::string command =
        "xwd -silent -display " + x.display() + " " + (id == "-root" ? id : "-id " + id) + " -out " + Quote(file);
    if (std::system(command.c_str()) != 0) return nullptr;
    return ReadXwd(file);
}

// The share of the pixels of a's top-left w x h that differ from b's by more than 16 in a channel.
double Differing(const TPixmapPtr& a, const TPixmapPtr& b, int w, int h) {
    long differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t ca = Rgb(a, x, y), cb = Rgb(b, x, y);
            if (!Near(ca, cb, 16)) ++differ;
        }
    return double(differ) / (double(w) * h);
}

// The sun of the main menu (its fill, 255, 250, 226) in the top right of a 1366 x 768 frame: its
// bounding box's width over its height (0 when none is there).
double SunShape(const TPixmapPtr& frame) {
    int x0 = frame->width, x1 = -1, y0 = frame->height, y1 = -1;
    for (int y = 0; y < 300; ++y)
        for (int x = 960; x < frame->width; ++x)
            if (Near(Rgb(frame, x, y), 0xFFFAE2u, 4)) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    return x1 < 0 ? 0.0 : double(x1 - x0 + 1) / double(y1 - y0 + 1);
}

// The share of the pixels in the bars beside the 1024 x 768 picture centred on a 1366 x 768 screen
// that are not black (the border colour).
double BarsNotBlack(const TPixmapPtr& frame) {
    long other = 0;
    for (int y = 0; y < 768; ++y)
        for (int x : {0, 60, 120, 170, 1195, 1250, 1300, 1365})
            if (Rgb(frame, x, y) != 0) ++other;
    return double(other) / (768.0 * 8);
}

// Clicks on the 1024 x 768 picture in a 1366 x 768 window, as input script lines (frames counted
// from the main menu).
std::string Click(int frame, int x, int y) {
    return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
           std::to_string(frame + 1) + " down 1\n" + std::to_string(frame + 2) + " up 1\n";
}

// Under Wayland with SDL's decorations drawn by libdecor, switching the full screen and the wide
// screen back and forth changes the one window in place: the game goes on (a window made again
// had libdecor call into the destroyed one at the next event pump: a crash at the first
// switches). It ends on the full screen with the wide screen off: the 4:3 picture at its own
// shape, centred between black bars, the sun round, in the game's frame and on the screen.
TEST(RealWindowE2E, WaylandWindowSwitchesFullAndWideScreenInPlace) {
    testsupport::TempDir dir;
    XServer x(dir);
    ASSERT_FALSE(x.display().empty()) << testsupport::ReadFileBytes(dir.file("xvfb.txt"));
    Weston weston(dir, x);
    ASSERT_TRUE(weston.ready()) << testsupport::ReadFileBytes(dir.file("weston.txt"));

    // The main menu's Options; on the options, the full-screen and wide-screen switches and OK.
    const int kOptionsX = 512, kOptionsY = 446, kSwitchX = 696, kFullY = 379, kWideY = 435, kOkX = 576, kOkY = 581;
    std::string script = Click(30, kOptionsX, kOptionsY);
    const int switches[] = {kFullY, kFullY, kWideY, kFullY, kWideY, kWideY};  // window, full, wide off, full...
    int frame = 90;
    for (int y : switches) {
        script += Click(frame, kSwitchX, y);
        frame += 60;
    }
    script += Click(frame, kOkX, kOkY);
    std::vector<std::string> env = weston.ClientEnv();
    env.insert(env.end(), {"SDL_VIDEODRIVER=wayland", "-DISPLAY", "SDL_VIDEO_WAYLAND_ALLOW_LIBDECOR=1",
                           "SDL_VIDEO_WAYLAND_PREFER_LIBDECOR=1"});
    LiveGame game(dir, env, "--from-menu --menu-frames 100000 --frames 200000" + Script(dir, script));
    const int settled = frame + 120;
    ASSERT_TRUE(game.ReachFrame(settled)) << game.Output();
    // SDL draws the decorations through libdecor.
    const std::string maps = testsupport::ReadFileBytes("/proc/" + std::to_string(game.pid()) + "/maps");
    EXPECT_NE(maps.find("libdecor-0.so"), std::string::npos);
    TPixmapPtr screen = Grab(dir, x, "-root", "screen");
    ASSERT_EQ(game.End(), 0) << game.Output();
    const std::string out = game.Output();
    for (size_t at = 0; at < out.size();) {
        const size_t end = std::min(out.find('\n', at), out.size());
        EXPECT_FALSE(IsReportLine(out.substr(at, end - at))) << out.substr(at, end - at);
        at = end + 1;
    }
    const std::string settings = testsupport::ReadFileBytes(dir.file("user/.Velkaro/Quiltora-2/Data/Settings.ini"));
    EXPECT_NE(settings.find("FullScreen = 1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Stretched = 1"), std::string::npos) << settings;

    const struct {
        const char* what;
        TPixmapPtr picture;
        double barsNotBlack;  // the screen may show the pointer over a bar
    } shown[] = {{"the game's frame", game.Frame(), 0.0}, {"the screen", screen, 0.01}};
    for (const auto& s : shown) {
        SCOPED_TRACE(s.what);
        ASSERT_TRUE(s.picture);
        ASSERT_EQ(s.picture->width, 1366);
        ASSERT_EQ(s.picture->height, 768);
        EXPECT_LE(BarsNotBlack(s.picture), s.barsNotBlack);
        // The picture itself reaches the bars: its edges are not black.
        EXPECT_NE(Rgb(s.picture, 171, 100), 0u);
        EXPECT_NE(Rgb(s.picture, 1194, 100), 0u);
        EXPECT_NEAR(SunShape(s.picture), 1.0, 0.05);
    }
}

// On X11 with the copy-sub-buffer path (Mesa's software GLX) and no window manager, the window
// resized by the window system shows the game's frame of its new size: smaller, as large as
// before, then smaller again (the back buffer, never swapped on this path, kept its first size,
// so the picture sat lower by the height lost, its top rows old).
TEST(RealWindowE2E, X11CopySubBufferShowsTheFrameAfterTheWindowSystemResizesTheWindow) {
    testsupport::TempDir dir;
    XServer x(dir);
    ASSERT_FALSE(x.display().empty()) << testsupport::ReadFileBytes(dir.file("xvfb.txt"));
    // The board of level 1, which stands still once it is in play.
    LiveGame game(dir, {"SDL_VIDEODRIVER=x11", "DISPLAY=" + x.display(), "-WAYLAND_DISPLAY"},
                  "--paced --frame-path copy-sub-buffer --level 1 --from-menu --menu-frames 100000 --frames 200000");
    const std::string id = Capture("DISPLAY=" + x.display() +
                                   " timeout 60 xdotool search --sync --name '^Quiltora$' 2>/dev/null | head -n 1");
    ASSERT_FALSE(id.empty()) << game.Output();
    const std::string window = id.substr(0, id.find('\n'));
    int frame = 420;
    ASSERT_TRUE(game.ReachFrame(frame)) << game.Output();
    std::vector<TPixmapPtr> grabs = {Grab(dir, x, window, "grab-0")};
    const struct { int w, h; } sizes[] = {{1100, 620}, {1366, 768}, {1100, 620}};
    for (const auto& size : sizes) {
        const std::string resize =
            "xdotool windowsize --sync " + window + " " + std::to_string(size.w) + " " + std::to_string(size.h);
        ASSERT_EQ(std::system(("DISPLAY=" + x.display() + " timeout 30 " + resize).c_str()), 0);
        frame += 120;  // at least one whole "frames" line after the resize
        ASSERT_TRUE(game.ReachFrame(frame)) << game.Output();
        grabs.push_back(Grab(dir, x, window, "grab-" + std::to_string(grabs.size())));
    }
    ASSERT_EQ(game.End(), 0) << game.Output();
    EXPECT_NE(game.Output().find("frame-path copy-sub-buffer"), std::string::npos) << game.Output();
    const TPixmapPtr last = game.Frame();  // of the window's last size, in its top-left corner
    ASSERT_TRUE(last);
    for (size_t i = 0; i < grabs.size(); ++i) {
        SCOPED_TRACE("grab " + std::to_string(i));
        ASSERT_TRUE(grabs[i]);
        const bool small = i % 2 == 1;
        EXPECT_EQ(grabs[i]->width, small ? 1100 : 1366);
        EXPECT_EQ(grabs[i]->height, small ? 620 : 768);
        // Small: as the game's last frame; full size: as before the first resize. (The board stands
        // still; a few pixels of its background move.)
        const TPixmapPtr& want = small ? last : grabs[0];
        EXPECT_LT(Differing(grabs[i], want, grabs[i]->width, grabs[i]->height), 0.02);
    }
}

}  // namespace
