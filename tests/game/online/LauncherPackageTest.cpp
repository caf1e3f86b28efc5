// Refreshing the launcher's package from a loopback web server on the launcher's worker thread:
// the version reply, the download of a zip built here, and the installed package left whole by
// every failure (error statuses, a hostile zip, a truncated one, a package that does not read,
// one over its budget); frames keep coming while a slow download is under way; nothing of an
// install is left beside the package, and the running launcher takes the new package in.
#include "online/LauncherPackage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "engine/system/Paths.h"
#include "game/online/LauncherTestSupport.h"
#include "online/Launcher.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "support/Jpeg.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace {

using launchertest::Header;
using launchertest::Icon;
using launchertest::LogRecorder;
using launchertest::PackageZip;
using launchertest::WritePackage;
using testsupport::LoopbackServer;
using testsupport::TempDir;

TEST(LauncherReplyTest, ReplyTable) {
    struct Case {
        const char* what;
        std::string body;
        std::string error;  // empty: read
        int version;
        std::string zip;
    };
    const Case cases[] = {
        {"plain", "VelkaroLauncherPackage|7|http://h/p.zip", "", 7, "http://h/p.zip"},
        {"line break after the address", "VelkaroLauncherPackage|8|http://h/p.zip\r\n", "", 8, "http://h/p.zip"},
        {"blanks, then digits, then letters", "VelkaroLauncherPackage| 12abc|http://h/p.zip", "", 12, "http://h/p.zip"},
        {"a fourth field is ignored", "VelkaroLauncherPackage|3|http://h/p.zip|extra", "", 3, "http://h/p.zip"},
        {"negative", "VelkaroLauncherPackage|-5|http://h/p.zip", "", -5, "http://h/p.zip"},
        {"letters only", "VelkaroLauncherPackage|abc|http://h/p.zip", "version variable is not integer", 0, ""},
        {"too few fields", "VelkaroLauncherPackage|7", "too few parameters", 0, ""},
        {"wrong check word", "<html>VelkaroLauncherPackage|7|x</html>", "check word not found", 0, ""},
        {"check word with a blank", " VelkaroLauncherPackage|7|x", "check word not found", 0, ""},
        {"not UTF-8", "VelkaroLauncherPackage|7|http://h/\xff\xfe.zip", "can't read data", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TLauncherReply r = ParseLauncherReply(c.body);
        EXPECT_EQ(r.ok, c.error.empty());
        EXPECT_EQ(r.error, c.error);
        if (r.ok) {
            EXPECT_EQ(r.version, c.version);
            EXPECT_EQ(r.zipUrl, c.zip);
        }
    }
}

TEST(LauncherWorkerTest, StoppingPrintsTheLinesTheJobPostedAndDropsItsOtherWork) {
    LogRecorder log;
    TLauncherWorker& worker = TLauncherWorker::Shared();
    std::atomic<bool> ended{false};
    bool ran = false;
    ASSERT_TRUE(worker.Start([&] {
        worker.PostLog("first");
        worker.Post([&] { ran = true; });
        worker.PostLog("second");
        ended = true;
    }));
    while (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // The program ends before any event pump has run what the job handed on.
    StopLauncherWork();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"first", "second"}));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(LauncherWorkPending());
}

// A web server with the version endpoint and the zip, and an installed package of version 1.
class LauncherPackageTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string savedDir;
    LogRecorder log;
    // What the server sends for each path; the request line picks it.
    std::string versionReply;
    std::string zipReply;

    void SetUp() override {
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        WritePackage(Package(), Header(1) + Icon("old"));
    }
    void TearDown() override {
        StopLauncherWork();
        Launcher = nullptr;
        bDir = savedDir;
    }
    std::string Package() const { return dir.file("user/launcher/package"); }
    std::string InstalledDescription() const { return testsupport::ReadFileBytes(Package() + "/launcher.dat"); }

    LoopbackServer::Responder Routes() {
        return [this](const std::string& request) {
            if (request.rfind("GET /launcher_velkarowww/launcher.php ", 0) == 0) return versionReply;
            if (request.rfind("GET /p.zip ", 0) == 0) return zipReply;
            return LoopbackServer::HttpReply(404, "no such page");
        };
    }
    std::string Base(const LoopbackServer& server) const { return "http://127.0.0.1:" + std::to_string(server.port()); }
    std::string Endpoint(const LoopbackServer& server) const {
        return Base(server) + "/launcher_velkarowww/launcher.php";
    }
    void ServeVersion(const LoopbackServer& server, int version, const std::string& tail = "\n") {
        versionReply = LoopbackServer::HttpReply(
            200, "VelkaroLauncherPackage|" + std::to_string(version) + "|" + Base(server) + "/p.zip" + tail);
    }

    // Pumps the events as the frame loop does until the worker is done; the number of frames.
    int PumpUntilIdle() {
        int frames = 0;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (LauncherWorkPending() && std::chrono::steady_clock::now() < giveUp) {
            PollSystem();
            ++frames;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_FALSE(LauncherWorkPending());
        return frames;
    }
    // Nothing of an install is left beside the package: the archive, the unpacked copy, the old package.
    void ExpectNoLeftovers() {
        EXPECT_EQ(FileType(Package() + ".zip"), 0);
        EXPECT_EQ(FileType(Package() + ".new"), 0);
        EXPECT_EQ(FileType(Package() + ".old"), 0);
    }
};

TEST_F(LauncherPackageTest, ANewerVersionIsDownloadedAndInstalled) {
    LoopbackServer server(Routes());
    ServeVersion(server, 2, "\r\n");  // the line break after the address is no part of it
    zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(2) + Icon("new")));
    RequestForPackage(Endpoint(server), 1, Package());
    PumpUntilIdle();
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(InstalledDescription(), Header(2) + Icon("new"));
    EXPECT_EQ(ReadLauncherDescription(Package(), LauncherAppId).version, 2);
    ExpectNoLeftovers();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Local launcher package: 1", "Remonte launcher package: 2"}));
}

TEST_F(LauncherPackageTest, AnEqualOrOlderVersionDownloadsNothing) {
    for (int server_version : {1, 0, -5}) {
        SCOPED_TRACE(server_version);
        LoopbackServer server(Routes());
        ServeVersion(server, server_version);
        RequestForPackage(Endpoint(server), 1, Package());
        PumpUntilIdle();
        EXPECT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(InstalledDescription(), Header(1) + Icon("old"));
    }
    // The version field as the server sent it is logged escaped and bounded (it once went to
    // the console raw, terminal controls and all).
    {
        LoopbackServer server(Routes());
        versionReply =
            LoopbackServer::HttpReply(200, "VelkaroLauncherPackage|1\x1b]0;owned\x07" + std::string(5000, 'A') + "|x");
        log.lines.clear();
        RequestForPackage(Endpoint(server), 1, Package());
        PumpUntilIdle();
        ASSERT_EQ(log.lines.size(), 2u);
        EXPECT_EQ(log.lines[1].substr(0, 45), "Remonte launcher package: 1\\x1B]0;owned\\x07AA");
        EXPECT_TRUE(log.lines[1].ends_with("... (5037 bytes)")) << log.lines[1];
        EXPECT_LT(log.lines[1].size(), 500u);
    }
    // A faulty installed package counts as 0: any newer version replaces it.
    LoopbackServer server(Routes());
    ServeVersion(server, 1);
    zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(1) + Icon("fixed")));
    RequestForPackage(Endpoint(server), 0, Package());
    PumpUntilIdle();
    EXPECT_EQ(InstalledDescription(), Header(1) + Icon("fixed"));
}

TEST_F(LauncherPackageTest, EveryFailedUpdateLeavesTheInstalledPackageWhole) {
    std::string hostile = testsupport::ZipBuilder()
                              .File("launcher.dat", Header(2) + Icon("new"))
                              .File("icon.png", launchertest::PngBytes(80, 100, int(0xFF3080C0)))
                              .File("../../escaped.txt", "owned")
                              .Bytes();
    std::string linked =
        testsupport::ZipBuilder().File("launcher.dat", Header(2) + Icon("new")).Link("icon.png", "/etc/passwd").Bytes();
    const std::string good = PackageZip(Header(2) + Icon("new"));
    // The smallest package that once cost 1.5 GB and seconds of the frame loop: four icons
    // naming one 8192 x 8192 picture (an archive of about 500 bytes). It is refused from the
    // picture's header, before any pixel is made.
    std::string fourIcons = Header(2);
    for (int i = 0; i < 4; ++i) fourIcons += Icon(std::string("g").append(std::to_string(i)), "big.png");
    const std::string huge = testsupport::ZipBuilder()
                                 .File("launcher.dat", fourIcons)
                                 .File("big.png", launchertest::HugePngBytes(8192, 8192))
                                 .Bytes();
    // Zeros unpacking to a byte more than the budget allows (once 60 MB of them installed).
    const std::string zeros = testsupport::ZipBuilder()
                                  .File("launcher.dat", Header(2) + Icon("new"))
                                  .File("icon.png", launchertest::PngBytes(80, 100, int(0xFF3080C0)))
                                  .File("zeros.bin", std::string(TLauncherBudget().maxUnpackedBytes + 1, '\0'))
                                  .Bytes();
    struct Case {
        const char* what;
        std::string versionBody;  // empty: the usual reply naming version 2
        int versionStatus;
        std::string zip;
        int zipStatus;
        std::string logged;  // the start of the last log line
    };
    const Case cases[] = {
        {"version endpoint fails", "", 500, good, 200, "Launcher request error: HTTP status 500"},
        {"check word missing", "Service|Unavailable|try later", 200, good, 200,
         "Launcher request error: check word not found"},
        {"zip not found", "", 200, "gone", 404, "Launcher download error: HTTP status 404"},
        {"hostile zip", "", 200, hostile, 200, "Launcher package refused: the entry \"../../escaped.txt\" would leave"},
        {"zip with a link", "", 200, linked, 200, "Launcher package refused: the entry \"icon.png\" is a link"},
        {"truncated zip", "", 200, good.substr(0, good.size() - 40), 200, "Launcher package refused: cannot open"},
        {"not a zip", "", 200, "<html>moved</html>", 200, "Launcher package refused: cannot open"},
        {"no description", "", 200, testsupport::ZipBuilder().File("readme.txt", "hi").Bytes(), 200,
         "Launcher package refused: its description does not read (loader error1)"},
        {"faulty description", "", 200, PackageZip(Header(2) + Icon("new", "missing.png")), 200,
         "Launcher package refused: its description does not read (loader error12)"},
        {"one huge picture named four times", "", 200, huge, 200,
         "Launcher package refused: over budget: the picture big.png is 8192 x 8192 pixels"},
        {"unpacked past the budget", "", 200, zeros, 200,
         "Launcher package refused: the archive unpacks to too many bytes"},
        {"an archive past the budget", "", 200, PackageZip(Header(2) + Icon("new"), TLauncherBudget().maxArchiveBytes),
         200, "Launcher download error: the reply is larger than 8388608 bytes"},
        {"package in a subfolder", "", 200, testsupport::ZipBuilder().File("pkg/launcher.dat", Header(2)).Bytes(), 200,
         "Launcher package refused: its description does not read (loader error1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.lines.clear();
        LoopbackServer server(Routes());
        ServeVersion(server, 2);
        if (!c.versionBody.empty()) versionReply = LoopbackServer::HttpReply(c.versionStatus, c.versionBody);
        if (c.versionStatus != 200) versionReply = LoopbackServer::HttpReply(c.versionStatus, "<html>error</html>");
        zipReply = LoopbackServer::HttpReply(c.zipStatus, c.zip);
        RequestForPackage(Endpoint(server), 1, Package());
        PumpUntilIdle();
        EXPECT_EQ(InstalledDescription(), Header(1) + Icon("old"));
        EXPECT_EQ(testsupport::ReadFileBytes(Package() + "/icon.png"),
                  launchertest::PngBytes(80, 100, int(0xFF3080C0)));
        EXPECT_EQ(FileType(dir.file("escaped.txt")), 0);
        EXPECT_EQ(FileType(dir.file("user/escaped.txt")), 0);
        ExpectNoLeftovers();
        ASSERT_FALSE(log.lines.empty());
        EXPECT_EQ(log.lines.back().rfind(c.logged, 0), 0u) << log.lines.back();
        // One line for the refusal, after the two of the version reply.
        EXPECT_LE(log.lines.size(), 3u);
    }
}

TEST_F(LauncherPackageTest, AnUnreachableServerIsLoggedAndChangesNothing) {
    RequestForPackage("http://updates.quiltora.invalid/launcher_velkarowww/launcher.php", 1, Package());
    PumpUntilIdle();
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"Launcher request error: Could not resolve host: updates.quiltora.invalid"});
    EXPECT_EQ(InstalledDescription(), Header(1) + Icon("old"));
}

TEST_F(LauncherPackageTest, FramesKeepComingDuringASlowDownload) {
    LoopbackServer server(Routes());
    ServeVersion(server, 2);
    zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(2) + Icon("new"), 200000));
    // The version reply goes out whole; the zip stops after 4000 bytes until released.
    server.HoldAfter(4000);
    RequestForPackage(Endpoint(server), 1, Package());
    // Frames, each pumping the events as the frame loop does, at least sixty and until the zip's
    // request arrived (the version reply is delivered by a pump, however slow the machine): every
    // pump returns while the download waits, and the installed package stays in use.
    int frames = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((frames < 60 || server.Requests().size() < 2) && std::chrono::steady_clock::now() < giveUp) {
        PollSystem();
        ++frames;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_GE(frames, 60);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_TRUE(TFileDownloader::sharedDownloader().busy());
    EXPECT_EQ(InstalledDescription(), Header(1) + Icon("old"));
    server.Release();
    PumpUntilIdle();
    EXPECT_FALSE(TFileDownloader::sharedDownloader().busy());
    EXPECT_EQ(InstalledDescription(), Header(2) + Icon("new"));
    ExpectNoLeftovers();
}

TEST_F(LauncherPackageTest, TheLauncherRequestUsesThePerUserPackageWithALocalDescription) {
    // The data folder's description (version 3) is shown; the per-user package is version 7.
    TempDir data;
    CreateDir(data.file("launcher"));
    for (const char* pic : {"left.png", "right.png", "play.png", "back.png", "background.jpg", "moreGames.png"})
        ASSERT_TRUE(
            CopyFile(testsupport::SourceDir() + "/data/launcher/" + pic, data.file(std::string("launcher/") + pic)));
    WritePackage(data.file("launcher/package"), Header(3) + Icon("local"));
    testsupport::WriteFileBytes(data.file("localLauncher.txt"), "");
    bDir = data.path() + "/";
    WritePackage(Package(), Header(7) + Icon("old"));

    for (int serverVersion : {7, 8}) {
        SCOPED_TRACE(serverVersion);
        LoopbackServer server(Routes());
        ServeVersion(server, serverVersion);
        zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(8) + Icon("new")));
        testing::internal::CaptureStdout();
        CreateLauncher(LauncherAppId, Endpoint(server), dir.file("user"));
        Launcher->FinishLoading();
        EXPECT_EQ(Launcher->version, 3);
        RequestLauncherPackage();
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "Local launcher\nLOADER: " + data.path() + "/launcher/package/launcher.dat\nREQUESTING...\n");
        PumpUntilIdle();
        // Once the server's 8 is installed, the next start asks with 8 and downloads nothing more.
        EXPECT_EQ(server.Requests().size(), serverVersion == 7 ? 1u : 2u);
        EXPECT_EQ(log.lines[log.lines.size() - 2], "Local launcher package: 7");
    }
    EXPECT_EQ(InstalledDescription(), Header(8) + Icon("new"));
    LoopbackServer server(Routes());
    ServeVersion(server, 8);
    testing::internal::CaptureStdout();
    CreateLauncher(LauncherAppId, Endpoint(server), dir.file("user"));
    RequestLauncherPackage();
    testing::internal::GetCapturedStdout();
    PumpUntilIdle();
    EXPECT_EQ(server.Requests().size(), 1u);
    Launcher = nullptr;
}

TEST_F(LauncherPackageTest, ThePackageIsReadBesideTheFrameLoopAndTheRequestWaitsForIt) {
    // A package whose pictures cost the most decoding the budget allows (a 2 x 1448 x 1448
    // arithmetic-coded picture of 256 scans once held every start for 1.3 s before its first
    // frame): the launcher returns at once and the pump takes the package in; the request
    // asked meanwhile goes out once the package's version is known.
    std::string text = Header(4);
    for (int i = 0; i < 2; ++i) text += Icon("slow" + std::to_string(i), "slow" + std::to_string(i) + ".jpg");
    WritePackage(Package(), text);
    for (int i = 0; i < 2; ++i)
        testsupport::WriteFileBytes(Package() + "/slow" + std::to_string(i) + ".jpg",
                                    testsupport::GradientJpeg(512, 512 - i * 8, {.arithmetic = true, .scans = 256}));
    LoopbackServer server(Routes());
    ServeVersion(server, 4);
    testing::internal::CaptureStdout();
    CreateLauncher(LauncherAppId, Endpoint(server), dir.file("user"));
    EXPECT_EQ(Launcher->loading, 1);
    EXPECT_TRUE(Launcher->icons.empty());
    RequestLauncherPackage();
    EXPECT_TRUE(server.Requests().empty());
    PumpUntilIdle();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "LOADER: " + Package() + "/launcher.dat\nREQUESTING...\n");
    EXPECT_EQ(Launcher->loading, 0);
    EXPECT_EQ(Launcher->version, 4);
    ASSERT_EQ(Launcher->icons.size(), 2u);
    EXPECT_EQ(ImageHeight(Launcher->icons[1]->gfx), 504);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Local launcher package: 4", "Remonte launcher package: 4"}));

    // Larger, the same picture is more scans than its size allows: the package is refused whole
    // (counting as version 0, so the next check replaces it) without decoding it through.
    testsupport::WriteFileBytes(Package() + "/slow1.jpg",
                                testsupport::GradientJpeg(600, 600, {.arithmetic = true, .scans = 256}));
    testing::internal::CaptureStdout();
    CreateLauncher(LauncherAppId, Endpoint(server), dir.file("user"));
    Launcher->FinishLoading();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "LOADER: " + Package() +
                  "/launcher.dat\nover budget: the picture slow1.jpg is 600 x 600 pixels in more than " +
                  std::to_string(MaxJpegScans(600 * 600)) + " scans (the most for its size)\n");
    EXPECT_EQ(Launcher->corrupted, 1);
    EXPECT_EQ(Launcher->version, 0);
    EXPECT_TRUE(Launcher->icons.empty());
}

TEST_F(LauncherPackageTest, TheRunningLauncherTakesTheNewPackageIn) {
    // The launcher reads the per-user package (version 1, one icon); the update brings version
    // 2 with two icons, decoded on the worker, and the frame loop's pump swaps them in.
    testing::internal::CaptureStdout();
    LoopbackServer server(Routes());
    CreateLauncher(LauncherAppId, Endpoint(server), dir.file("user"));
    Launcher->FinishLoading();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(Launcher->version, 1);
    ASSERT_EQ(Launcher->icons.size(), 1u);
    ServeVersion(server, 2);
    zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(2) + Icon("a") + Icon("b", "baner.png")));
    testing::internal::CaptureStdout();
    RequestLauncherPackage();
    testing::internal::GetCapturedStdout();
    // Until the pump runs, the launcher keeps what it shows.
    EXPECT_EQ(Launcher->version, 1);
    PumpUntilIdle();
    EXPECT_EQ(Launcher->version, 2);
    EXPECT_EQ(Launcher->corrupted, 0);
    ASSERT_EQ(Launcher->icons.size(), 2u);
    EXPECT_EQ(Launcher->icons[1]->appId, "b");
    EXPECT_EQ(ImageWidth(Launcher->icons[1]->gfx), 600);
    EXPECT_EQ(Launcher->icons[1]->owner, Launcher.get());
    EXPECT_EQ(Launcher->iconsX, 512 + 150 + 75);  // the row centred on two icons
    ExpectNoLeftovers();
}

TEST_F(LauncherPackageTest, StoppingTheWorkEndsAHeldDownloadAtOnceAndLeavesNothing) {
    LoopbackServer server(Routes());
    ServeVersion(server, 2);
    zipReply = LoopbackServer::HttpReply(200, PackageZip(Header(2) + Icon("new"), 200000));
    server.HoldAfter(4000);
    RequestForPackage(Endpoint(server), 1, Package());
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server.Requests().size() < 2 && std::chrono::steady_clock::now() < giveUp) {
        PollSystem();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(server.Requests().size(), 2u);
    // As the program does before it ends: the worker hears it within its next wait and stops,
    // its half-written archive removed; nothing more of the update comes.
    const auto before = std::chrono::steady_clock::now();
    StopLauncherWork();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(LauncherWorkPending());
    log.lines.clear();
    server.Release();
    PollSystem();
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(InstalledDescription(), Header(1) + Icon("old"));
    ExpectNoLeftovers();
}

}  // namespace
