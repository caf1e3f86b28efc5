// The real executable with the launcher switched on (a copy of data/ with the marker "Launcher"
// and its server pointed at a loopback web server): the launcher screen comes before the splash,
// Play leads on to the main menu, and the newer package that the server offers is installed in
// the per-user folder while the game runs; a hostile one is refused while the game goes on.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstdlib>

#include <string>
#include <utility>
#include <vector>

#include "e2e/GameRun.h"
#include "game/online/LauncherTestSupport.h"
#include "platform/Files.h"
#include "support/LoopbackServer.h"
#include "support/ZipBuilder.h"

namespace {

using namespace e2e;
using testsupport::LoopbackServer;
using testsupport::TempDir;

// A data folder of links to data/, with the marker and a server.txt of our own.
std::string LauncherData(const TempDir& dir, const std::string& server) {
    const std::string source = testsupport::SourceDir() + "/data";
    const std::string data = dir.file("data");
    CreateDir(data + "/launcher");
    for (const std::string& name : ReadDir(source)) {
        if (name != "launcher") {
            EXPECT_TRUE(testsupport::MirrorEntry(source + "/" + name, data + "/" + name));
        }
    }
    for (const std::string& name : ReadDir(source + "/launcher")) {
        if (name != "server.txt") {
            EXPECT_TRUE(testsupport::MirrorEntry(source + "/launcher/" + name, data + "/launcher/" + name));
        }
    }
    testsupport::WriteFileBytes(data + "/launcher/server.txt", server + "\n");
    testsupport::WriteFileBytes(data + "/Launcher", "");
    return data;
}

// A loopback launcher server that offers version 2 of the package, as p.zip of the given bytes.
class PackageServer {
public:
    explicit PackageServer(std::string zipBytes)
        : zip_(std::move(zipBytes)), server_([this](const std::string& request) {
              if (request.rfind("GET /launcher_velkarowww/launcher.php ", 0) == 0)
                  return LoopbackServer::HttpReply(200, "VelkaroLauncherPackage|2|" + Url() + "/p.zip\n");
              if (request.rfind("GET /p.zip ", 0) == 0) return LoopbackServer::HttpReply(200, zip_);
              return LoopbackServer::HttpReply(404, "");
          }) {}
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.port()); }
    std::vector<std::string> Requests() { return server_.Requests(); }

private:
    std::string zip_;
    LoopbackServer server_;
};

TEST(LauncherE2ETest, TheLauncherComesFirstAndANewerPackageIsInstalledWhileTheGameRuns) {
    TempDir dir;
    const std::string package = testsupport::SourceDir() + "/data/launcher/package";
    std::string description = testsupport::ReadFileBytes(package + "/launcher.dat");
    description.replace(description.find("VERSION|1"), 9, "VERSION|2");
    testsupport::ZipBuilder zip;
    zip.File("launcher.dat", description);
    for (const std::string& name : ReadDir(package))
        if (name != "launcher.dat") zip.File(name, testsupport::ReadFileBytes(package + "/" + name));
    const std::string zipBytes = zip.Bytes();
    PackageServer server(zipBytes);
    const std::string data = LauncherData(dir, server.Url());
    const std::string installed = dir.file("user/.Velkaro/Quiltora-2/launcher/package/launcher.dat");

    // Faded in after 20 frames: the launcher screen, and no request while it is shown.
    GameRun shown = RunGame(dir, "--frames 25", data);
    ASSERT_EQ(shown.status, 0);
    ASSERT_TRUE(shown.shot);
    EXPECT_NE(shown.output.find("LOADER: "), std::string::npos);
    EXPECT_EQ(shown.output.find("REQUESTING..."), std::string::npos);
    EXPECT_TRUE(Near(Rgb(shown.shot, kX + 512, 486), 0xF59758u, 24))
        << std::hex << Rgb(shown.shot, kX + 512, 486);  // Play
    EXPECT_TRUE(Near(Rgb(shown.shot, kX + 200, 200), 0x303A5Du, 24))
        << std::hex << Rgb(shown.shot, kX + 200, 200);  // the card
    EXPECT_EQ(server.Requests().size(), 0u);
    EXPECT_NE(testsupport::ReadFileBytes(installed).find("VERSION|1"), std::string::npos);

    // Play at frame 30; the game goes on to the main menu and the package is replaced meanwhile.
    GameRun played =
        RunGame(dir, "--menu-frames 10 --frames 3000" + Script(dir, "30 move 512 500\n31 down 1\n33 up 1\n"), data);
    ASSERT_EQ(played.status, 0);
    EXPECT_NE(played.output.find("REQUESTING..."), std::string::npos);
    EXPECT_EQ(played.output.find("ERROR"), std::string::npos) << played.output;
    EXPECT_EQ(played.output.find("WARNING"), std::string::npos) << played.output;
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(testsupport::ReadFileBytes(installed), description);
    EXPECT_EQ(FileType(dir.file("user/.Velkaro/Quiltora-2/launcher/package.new")), 0);
}

// What the game is started with in front of its libraries: the name server that answers late.
// Built with AddressSanitizer, the sanitizer's runtime must come first of all (it says so and
// stops otherwise), so it goes before the resolver.
std::string SlowResolverPreload() {
    std::string preload = QUILTORA_SLOW_RESOLVER;
#if defined(__SANITIZE_ADDRESS__)
    std::string runtime;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found) {
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.find("/libasan.so") == std::string::npos) return 0;
            *static_cast<std::string*>(found) = name;
            return 1;
        },
        &runtime);
    if (!runtime.empty()) preload = runtime + ":" + preload;
#endif
    return preload;
}

// The milliseconds of a "timing <mark>" line.
double TimingMs(const std::string& output, const std::string& mark) {
    const size_t at = output.find("timing " + mark + " ");
    return at == std::string::npos ? -1.0 : std::atof(output.c_str() + at + 8 + mark.size());
}

TEST(LauncherE2ETest, QuittingNeverWaitsForTheServersNameToBeLookedUp) {
    // The server's name takes an hour to look up (support/SlowResolver.cpp, put in front of the
    // game): Play at frame 30 sends the request, and the run ends at frame 60 the normal way
    // while the lookup goes on. Quitting once waited for the lookup to end.
    TempDir dir;
    const std::string data = LauncherData(dir, "http://3600000.slow.test");
    ASSERT_EQ(setenv("LD_PRELOAD", SlowResolverPreload().c_str(), 1), 0);
    GameRun run = RunGame(dir, "--timings --frames 60" + Script(dir, "30 move 512 500\n31 down 1\n33 up 1\n"), data);
    unsetenv("LD_PRELOAD");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("REQUESTING..."), std::string::npos);
    const double lastFrame = TimingMs(run.output, "last-frame"), end = TimingMs(run.output, "end");
    ASSERT_GT(lastFrame, 0.0);
    EXPECT_LT(end - lastFrame, 5000.0) << run.output;
}

TEST(LauncherE2ETest, AHostilePackageIsRefusedWhileTheGameGoesOn) {
    // Four icons naming one 8192 x 8192 picture, in an archive of about 500 bytes: it once took
    // 1.5 GB and stalled the frames for seconds, and every later start after it.
    TempDir dir;
    std::string description = launchertest::Header(2);
    for (int i = 0; i < 4; ++i)
        description += launchertest::Icon(std::string("g").append(std::to_string(i)), "big.png");
    const std::string zipBytes = testsupport::ZipBuilder()
                                     .File("launcher.dat", description)
                                     .File("big.png", launchertest::HugePngBytes(8192, 8192))
                                     .Bytes();
    PackageServer server(zipBytes);
    const std::string data = LauncherData(dir, server.Url());
    const std::string package = dir.file("user/.Velkaro/Quiltora-2/launcher/package");

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        GameRun run = RunGame(
            dir, "--timings --menu-frames 10 --frames 3000" + Script(dir, "30 move 512 500\n31 down 1\n33 up 1\n"),
            data);
        ASSERT_EQ(run.status, 0);
        // The main menu came, the shipped package stays installed (and is read at the next
        // start as before), and nothing of the refused one is left beside it.
        EXPECT_NE(run.output.find("timing main-menu"), std::string::npos) << run.output;
        EXPECT_NE(testsupport::ReadFileBytes(package + "/launcher.dat").find("VERSION|1"), std::string::npos);
        EXPECT_EQ(FileType(package + "/big.png"), 0);
        for (const char* leftover : {".zip", ".new", ".old"}) EXPECT_EQ(FileType(package + leftover), 0) << leftover;
    }
    EXPECT_EQ(server.Requests().size(), 4u);
}

}  // namespace
