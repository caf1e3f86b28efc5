// The newsletter window through the real executable, on a data folder whose "newsletter/"
// points its sign-up at a loopback web server: half an hour of play (most of it already counted
// in the saved state) brings the window up over the level, a name and an address are typed, and
// the sign-up reaches the server; a quit while the window is up keeps the level in progress.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/GameRun.h"
#include "platform/Files.h"
#include "support/LoopbackServer.h"

namespace {

using namespace e2e;
using testsupport::LoopbackServer;
using testsupport::TempDir;

// A data folder of links to data/, with a newsletter.dat whose server is the given one.
std::string NewsletterData(const TempDir& dir, const std::string& server) {
    const std::string source = testsupport::SourceDir() + "/data";
    const std::string data = dir.file("data");
    CreateDir(data + "/newsletter");
    for (const std::string& name : ReadDir(source)) {
        if (name != "newsletter") {
            EXPECT_TRUE(testsupport::MirrorEntry(source + "/" + name, data + "/" + name));
        }
    }
    for (const std::string& name : ReadDir(source + "/newsletter")) {
        if (name != "newsletter.dat") {
            EXPECT_TRUE(testsupport::MirrorEntry(source + "/newsletter/" + name, data + "/newsletter/" + name));
        }
    }
    std::string settings = testsupport::ReadFileBytes(source + "/newsletter/newsletter.dat");
    const size_t at = settings.find("Server = ");
    EXPECT_NE(at, std::string::npos);
    settings.replace(at, settings.find('\n', at) - at, "Server = " + server);
    testsupport::WriteFileBytes(data + "/newsletter/newsletter.dat", settings);
    return data;
}

// Seven seconds short of half an hour already counted: the window comes up about seven seconds
// into the level.
void SeedState(const TempDir& dir) {
    CreateDir(dir.file("user/.Velkaro"));
    testsupport::WriteFileBytes(dir.file("user/.Velkaro/Newsletter.dat"),
                                "NewsLetter {\n\tSubscribed = 0\n\tQuiltora_2 {\n\t\tSeconds = 53\n\t\tMinutes = 29\n"
                                "\t\tHowManyTimes = 0\n\t}\n\n}\n\n");
}

// Well after the window came up, counted from the main menu's first frame (FromMenu).
int Shown() { return 560; }

std::string ProgressFile(const TempDir& dir) {
    const std::string folder = dir.file("user/.Velkaro/Quiltora-2/Profiles");
    for (const std::string& name : ReadDir(folder))
        if (name.size() > 9 && name.substr(name.size() - 9) == ".PACLEVEL") return folder + "/" + name;
    return "";
}

TEST(NewsletterE2E, AfterHalfAnHourOfPlayASignUpReachesTheServer) {
    TempDir dir;
    std::string request;
    LoopbackServer server([&](const std::string& r) {
        request = r;
        return LoopbackServer::HttpReply(200, "Thank you for signing up!\n");
    });
    const std::string data = NewsletterData(dir, "127.0.0.1:" + std::to_string(server.port()));
    SeedState(dir);
    const int f = Shown();
    const std::string script = std::to_string(f) + " text anna\n" + std::to_string(f + 10) + " keydown 9\n" +
                               std::to_string(f + 11) + " keyup 9\n" + std::to_string(f + 12) +
                               " text anna@example.org\n" + std::to_string(f + 60) + " move 620 506\n" +
                               std::to_string(f + 62) + " down 1\n" + std::to_string(f + 64) + " up 1\n";
    GameRun run = RunGame(dir, "--level 1" + FromMenu(f + 200) + Script(dir, script), data);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
    EXPECT_NE(request.find("/newsletter/subscribe HTTP/1.0\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\n\r\nAnna\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\n\r\nanna@example.org\r\n"), std::string::npos) << request;
    const std::string state = testsupport::ReadFileBytes(dir.file("user/.Velkaro/Newsletter.dat"));
    EXPECT_NE(state.find("Subscribed = 1"), std::string::npos) << state;
    EXPECT_NE(state.find("HowManyTimes = 1"), std::string::npos) << state;
    EXPECT_EQ(FileType(dir.file("user/.Velkaro/Quiltora-2/DontShowMeNewsLetter.txt")), 1);
    // The window has closed: the game screen is shown as it was, not dimmed.
    ASSERT_TRUE(run.shot);
    EXPECT_TRUE(Near(Rgb(run.shot, 1300, 400), 0x5A3349u, 30)) << std::hex << Rgb(run.shot, 1300, 400);
}

// The shipped data names no real server: the newsletter is switched off, so half an hour of play
// brings no window, and the saved state is neither read nor written.
TEST(NewsletterE2E, TheShippedGameNeverShowsTheWindow) {
    TempDir dir;
    SeedState(dir);
    const std::string before = testsupport::ReadFileBytes(dir.file("user/.Velkaro/Newsletter.dat"));
    GameRun run = RunGame(dir, "--level 1" + FromMenu(Shown() + 60));
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("Newsletter"), std::string::npos) << run.output;
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("user/.Velkaro/Newsletter.dat")), before);
    // The level in play, not dimmed under a window.
    ASSERT_TRUE(run.shot);
    EXPECT_TRUE(Near(Rgb(run.shot, 1300, 400), 0x5A3349u, 30)) << std::hex << Rgb(run.shot, 1300, 400);
}

TEST(NewsletterE2E, QuittingWhileTheWindowIsUpKeepsTheLevelInProgress) {
    TempDir dir;
    // A server must be configured for the window to come up at all; nothing is sent to it.
    LoopbackServer server([](const std::string&) { return LoopbackServer::HttpReply(200, "Thanks\n"); });
    const std::string data = NewsletterData(dir, "127.0.0.1:" + std::to_string(server.port()));
    SeedState(dir);
    const int f = Shown();
    const std::string script = std::to_string(f) + " text anna\n" + std::to_string(f + 10) + " quit\n";
    GameRun run = RunGame(dir, "--level 1" + FromMenu(f + 400) + Script(dir, script), data);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("ERROR"), std::string::npos) << run.output;
    EXPECT_NE(ProgressFile(dir), "");
    EXPECT_EQ(FileType(dir.file("user/.Velkaro/Quiltora-2/Profiles/Profiles.dat")), 1);
    // The last frame is the window over the dimmed game: the panel's navy in the middle.
    ASSERT_TRUE(run.shot);
    EXPECT_TRUE(Near(Rgb(run.shot, kX + 250, 300), 0x37426Au, 40)) << std::hex << Rgb(run.shot, kX + 250, 300);
}

}  // namespace
