// The multipart form client against a loopback server: the exact bytes on the wire, the reply's
// lines, and the limits that keep a dead or hostile server from holding the game.
#include <gtest/gtest.h>

#include <chrono>

#include "online/SendHttp.h"
#include "platform/Strings.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace {

using testsupport::LoopbackServer;
using testsupport::TempDir;

const std::string D = "-----------------------------23281168279961";  // the line that opens a part

std::string TextPart(const std::string& name, const std::string& value) {
    return D + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

std::string Header(int port, int64_t length) {
    return "POST http://127.0.0.1:" + IntToString(port) +
           "/newsletter/subscribe HTTP/1.0\r\n"
           "Content-Type: multipart/form-data; boundary=---------------------------23281168279961\r\n"
           "Content-Length: " +
           IntToString(length) + "\r\n\r\n";
}

int CountParts(const std::string& request) {
    int n = 0;
    for (size_t at = request.find(D + "\r\n"); at != std::string::npos; at = request.find(D + "\r\n", at + 1)) ++n;
    return n;
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

TEST(SendHttpTest, TheSignUpFormGoesOutByteForByte) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nThanks");
    tsendhttp http;
    http.addinput("name", "Ann");
    http.addinput("email", "ann@mail.uk");
    http.addinput("list", "QUIL");
    http.addinput("boolean", "true");
    EXPECT_EQ(http.ContentLength(), 451);  // 433 + 3 + 11 + 4

    const std::vector<std::string> lines = http.send("127.0.0.1", server.port(), "/newsletter/subscribe");
    EXPECT_EQ(lines, (std::vector<std::string>{"HTTP/1.0 200 OK", "", "Thanks"}));
    ASSERT_TRUE(server.WaitForRequests(1));
    const std::string expected = Header(server.port(), 451) + TextPart("name", "Ann") +
                                 TextPart("email", "ann@mail.uk") + TextPart("list", "QUIL") +
                                 TextPart("boolean", "true") + D + "--\r\n\r\n";
    EXPECT_EQ(server.Requests()[0], expected);
}

TEST(SendHttpTest, AnEmptyFormIsTheClosingLineAndOneEmptyLine) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\n");
    tsendhttp http;
    EXPECT_EQ(http.ContentLength(), 49);
    EXPECT_EQ(http.send("127.0.0.1", server.port(), "/newsletter/subscribe"),
              (std::vector<std::string>{"HTTP/1.0 200 OK", "", ""}));
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_EQ(server.Requests()[0], Header(server.port(), 49) + D + "--\r\n\r\n");

    // On port 80 the request line names the host alone.
    std::string request, error;
    ASSERT_TRUE(http.BuildRequest("news.example.org", 80, "/newsletter/subscribe", request, error));
    EXPECT_TRUE(StartsWith(request, "POST http://news.example.org/newsletter/subscribe HTTP/1.0\r\n"));
}

TEST(SendHttpTest, LengthsCountBytesFilePartsAndSkipUnknownModes) {
    TempDir dir;
    testsupport::WriteFileBytes(dir.file("Photo.JPEG"), "12345");
    tsendhttp http;
    EXPECT_EQ(http.addfile("pic", dir.file("missing.png")), nullptr);
    EXPECT_EQ(http.addfile("pic", dir.path()), nullptr);  // a folder
    thttpinputPtr file = http.addfile("pic", dir.file("Photo.JPEG"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->filename, "Photo.JPEG");
    EXPECT_EQ(file->filecontenttype, "image/jpg");
    EXPECT_EQ(tsendhttp::ContentTypeFor("HTML"), "text/html");
    EXPECT_EQ(tsendhttp::ContentTypeFor(""), "text/plain");
    // 119 + name + file name + content type + size, and the closing 49.
    EXPECT_EQ(http.ContentLength(), 119 + 3 + 10 + 9 + 5 + 49);
    std::string body, error;
    ASSERT_TRUE(http.BuildBody(body, error));
    EXPECT_NE(body.find("name=\"pic\"; filename=\"Photo.JPEG\"\r\nContent-Type: image/jpg\r\n\r\n12345\r\n"),
              std::string::npos);

    tsendhttp other;
    other.addinput("x", "y")->mode = 7;  // neither sent nor counted
    other.addinput("who", "Zoë");        // UTF-8: four bytes
    EXPECT_EQ(other.ContentLength(), 90 + 3 + 4 + 49);
}

TEST(SendHttpTest, ReplyLinesEndAtEachLineFeed) {
    const struct {
        const char* reply;
        std::vector<std::string> lines;
    } cases[] = {
        {"HTTP/1.0 200 OK\r\n\r\nInvalid email address.", {"HTTP/1.0 200 OK", "", "Invalid email address."}},
        {"a\r\nb\n", {"a", "b", ""}},
        {"a\nb\r\nc", {"a", "b", "c"}},
        {"a\rb\r", {"a\rb\r"}},
        {"a\r\r\nb", {"a\r", "b"}},
        {"", {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(tsendhttp::SplitReplyLines(c.reply), c.lines) << c.reply;

    // Over the wire, a reply in one piece is split the same way.
    LoopbackServer server("HTTP/1.0 400 Bad\nX: y\r\n\r\nline one\nInvalid email address.");
    tsendhttp http;
    EXPECT_EQ(http.send("127.0.0.1", server.port(), "/s"),
              (std::vector<std::string>{"HTTP/1.0 400 Bad", "X: y", "", "line one", "Invalid email address."}));
}

TEST(SendHttpTest, NamesResolveWithoutEverMeaningThisMachine) {
    EXPECT_EQ(tsendhttp::ressolvename("10.0.0.1"), 10u * 16777216u + 1u);
    EXPECT_EQ(tsendhttp::ressolvename("10.0.0.1.7"), 10u * 16777216u + 1u);
    EXPECT_EQ(tsendhttp::ressolvename("10.0.1"), 0u);
    EXPECT_EQ(tsendhttp::ressolvename("300.0.0.1"), 0u);
    EXPECT_EQ(tsendhttp::ressolvename("newsletter.quiltora.invalid"), 0u);

    // An unresolvable host and the address 0 fail at once, with nothing connected anywhere.
    for (const char* host : {"newsletter.quiltora.invalid", "0.0.0.0", "10.0.1"}) {
        tsendhttp http;
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_TRUE(http.send(host, 80, "/newsletter/subscribe").empty()) << host;
        EXPECT_EQ(http.State(), THttpState::Failed);
        EXPECT_FALSE(http.ErrorText().empty());
        EXPECT_LT(ElapsedMs(t0), 1000);
    }

    // A refused connection gives no lines at all, not one empty line.
    int freePort = 0;
    {
        LoopbackServer gone("");
        freePort = gone.port();
    }
    tsendhttp http;
    EXPECT_TRUE(http.send("127.0.0.1", freePort, "/s").empty());
}

TEST(SendHttpTest, AStalledServerIsGivenUpWhileFramesKeepComing) {
    LoopbackServer server("", LoopbackServer::Stall);
    tsendhttp http;
    http.addinput("name", "Ann");
    http.readTimeoutMs = 300;
    int frames = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const std::vector<std::string> lines = http.send("127.0.0.1", server.port(), "/s", [&] {
        ++frames;
        return true;
    });
    const int64_t ms = ElapsedMs(t0);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(http.State(), THttpState::Failed);
    EXPECT_GE(ms, 280);
    EXPECT_LT(ms, 3000);
    EXPECT_GE(frames, 5);  // about one every 15 ms of waiting
    EXPECT_TRUE(server.WaitForRequests(1));

    // The hook can give the request up; the step form never waits with Step(0).
    tsendhttp cancelled;
    int calls = 0;
    EXPECT_TRUE(cancelled.send("127.0.0.1", server.port(), "/s", [&] { return ++calls < 3; }).empty());
    EXPECT_EQ(calls, 3);

    tsendhttp stepped;
    stepped.readTimeoutMs = 200;
    ASSERT_TRUE(stepped.Start("127.0.0.1", server.port(), "/s"));
    int steps = 0;
    const auto t1 = std::chrono::steady_clock::now();
    while (!stepped.Finished() && ElapsedMs(t1) < 5000) {
        stepped.Step(0);
        ++steps;
    }
    EXPECT_EQ(stepped.State(), THttpState::Failed);
    EXPECT_GT(steps, 100);  // a step that waited would allow a dozen in those 200 ms
}

TEST(SendHttpTest, AnEndlessReplyIsCutOffAtItsBound) {
    LoopbackServer server("", LoopbackServer::Flood);
    tsendhttp http;
    http.maxReplyBytes = 10000;
    EXPECT_TRUE(http.send("127.0.0.1", server.port(), "/s").empty());
    EXPECT_NE(http.ErrorText().find("longer than 10000"), std::string::npos);
}

TEST(SendHttpTest, AHostileFieldCannotAddAFormField) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\n");
    // A value that holds the delimiter line would open a part of its own: the form is refused
    // and nothing is sent.
    tsendhttp forged;
    forged.addinput("name", "Ann\r\n" + D + "\r\nContent-Disposition: form-data; name=\"list\"\r\n\r\nEVIL");
    EXPECT_TRUE(forged.send("127.0.0.1", server.port(), "/s").empty());
    EXPECT_NE(forged.ErrorText().find("boundary"), std::string::npos);
    EXPECT_EQ(forged.ContentLength(), -1);
    EXPECT_EQ(server.Connections(), 0);

    // Quotes and line ends in a name are percent-encoded, so the name stays inside its quotes;
    // line ends in a value stay inside its part.
    tsendhttp http;
    http.addinput("na\"me\r\nX-Evil: 1", "line\r\nbreak \"quoted\"");
    EXPECT_FALSE(http.send("127.0.0.1", server.port(), "/s").empty());
    ASSERT_TRUE(server.WaitForRequests(1));
    const std::string request = server.Requests()[0];
    EXPECT_EQ(CountParts(request), 1);
    EXPECT_NE(request.find("name=\"na%22me%0D%0AX-Evil: 1\"\r\n\r\nline\r\nbreak \"quoted\"\r\n" + D + "--"),
              std::string::npos);

    // Nor can a host or path from the configuration add a header.
    std::string out, error;
    EXPECT_FALSE(http.BuildRequest("host\r\nX: y", 80, "/s", out, error));
    EXPECT_FALSE(http.BuildRequest("host", 80, "/s HTTP/1.0\r\nX: y", out, error));
}

}  // namespace
