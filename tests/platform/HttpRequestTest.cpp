// GET requests against a loopback server: replies come back only through the event pump, bodies
// in memory or in a file, and every failure (status, size, reserved names, other schemes, a
// refused connection) is delivered the same way, once; a worker thread's own transfer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/Files.h"
#include "platform/HttpRequest.h"
#include "platform/Input.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace {

using testsupport::LoopbackServer;
using testsupport::TempDir;

std::string Url(const LoopbackServer& server, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

// Pumps the events (as the frame loop does) until the result is in; at most ten seconds.
bool PumpUntil(const std::optional<THttpResult>& result) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!result && std::chrono::steady_clock::now() < giveUp) {
        PollSystem();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return result.has_value();
}

class HttpRequestTest : public ::testing::Test {
protected:
    void TearDown() override { ResetHttpRequests(); }
};

TEST_F(HttpRequestTest, TheReplyComesThroughTheEventPumpOnly) {
    LoopbackServer server(LoopbackServer::HttpReply(200, "VelkaroLauncherPackage|3|http://x/p.zip"));
    std::optional<THttpResult> result;
    HttpGet(Url(server, "/launcher/launcher.php"), {}, [&](const THttpResult& r) { result = r; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(result.has_value());  // nothing is delivered without a pump
    ASSERT_TRUE(PumpUntil(result));
    EXPECT_TRUE(result->Success());
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->body, "VelkaroLauncherPackage|3|http://x/p.zip");
    EXPECT_EQ(HttpRequestsPending(), 0);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /launcher/launcher.php HTTP/1.1\r\n", 0), 0u);
}

TEST_F(HttpRequestTest, AnErrorStatusIsAWholeReplyButNoSuccess) {
    LoopbackServer server(LoopbackServer::HttpReply(404, "<html>gone</html>"));
    std::optional<THttpResult> result;
    HttpGet(Url(server, "/x"), {}, [&](const THttpResult& r) { result = r; });
    ASSERT_TRUE(PumpUntil(result));
    EXPECT_TRUE(result->ok);
    EXPECT_EQ(result->status, 404);
    EXPECT_FALSE(result->Success());
}

TEST_F(HttpRequestTest, ABodyGoesToAFileAndAFailedOneLeavesNoFile) {
    TempDir dir;
    const std::string body(300000, 'q');
    LoopbackServer server(LoopbackServer::HttpReply(200, body));
    std::optional<THttpResult> result;
    THttpOptions options;
    options.toFile = dir.file("p.zip");
    HttpGet(Url(server, "/p.zip"), options, [&](const THttpResult& r) { result = r; });
    ASSERT_TRUE(PumpUntil(result));
    EXPECT_TRUE(result->Success());
    EXPECT_EQ(result->bytes, 300000);
    EXPECT_EQ(testsupport::ReadFileBytes(dir.file("p.zip")), body);

    // The same reply over a limit fails, and the partial file goes.
    result.reset();
    options.maxBytes = 1000;
    HttpGet(Url(server, "/p.zip"), options, [&](const THttpResult& r) { result = r; });
    ASSERT_TRUE(PumpUntil(result));
    EXPECT_FALSE(result->ok);
    EXPECT_FALSE(result->error.empty());
    EXPECT_EQ(FileType(dir.file("p.zip")), 0);
}

TEST_F(HttpRequestTest, AWorkerThreadFetchesOnItsOwnAndCanGiveUp) {
    TempDir dir;
    LoopbackServer server(LoopbackServer::HttpReply(200, "VelkaroLauncherPackage|3|x"));
    THttpResult result;
    std::thread worker([&] { result = HttpGetBlocking(Url(server, "/v"), {}); });
    worker.join();
    EXPECT_TRUE(result.Success());
    EXPECT_EQ(result.body, "VelkaroLauncherPackage|3|x");
    EXPECT_EQ(HttpRequestsPending(), 0);  // the main thread's requests are not touched

    // A server that says nothing: the caller gives up (within its next wait), the file goes.
    LoopbackServer silent("", LoopbackServer::Stall);
    THttpOptions options;
    options.toFile = dir.file("p.zip");
    std::atomic<bool> goOn{true};
    std::thread stopped([&] { result = HttpGetBlocking(Url(silent, "/p.zip"), options, [&] { return goOn.load(); }); });
    ASSERT_TRUE(silent.WaitForRequests(1));
    goOn = false;
    stopped.join();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "the transfer was given up");
    EXPECT_EQ(FileType(dir.file("p.zip")), 0);

    // The whole transfer's time limit, and a request that cannot start.
    options.totalTimeoutMs = 300;
    result = HttpGetBlocking(Url(silent, "/p.zip"), options);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(FileType(dir.file("p.zip")), 0);
    result = HttpGetBlocking("http://updates.quiltora.invalid/x", {});
    EXPECT_EQ(result.error, "Could not resolve host: updates.quiltora.invalid");
}

TEST_F(HttpRequestTest, NeitherGivingUpNorCancellingWaitsForTheNameLookup) {
    // The name server answers after 20 s (support/SlowResolver.cpp). libcurl looks names up on a
    // thread of its own; a transfer given up or cancelled meanwhile must not wait for it (quitting
    // the game once hung for as long).
    using Clock = std::chrono::steady_clock;
    const std::string slow = "http://20000.slow.test/launcher.php";
    THttpResult result;
    std::atomic<bool> goOn{true};
    std::thread worker([&] { result = HttpGetBlocking(slow, {}, [&] { return goOn.load(); }); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto givenUp = Clock::now();
    goOn = false;
    worker.join();
    EXPECT_LT(Clock::now() - givenUp, std::chrono::seconds(5));
    EXPECT_EQ(result.error, "the transfer was given up");

    bool called = false;
    const int id = HttpGet(slow, {}, [&](const THttpResult&) { called = true; });
    for (int i = 0; i < 10; ++i) {
        PollSystem();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const auto cancelled = Clock::now();
    CancelHttpRequest(id);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(5));
    EXPECT_EQ(HttpRequestsPending(), 0);
    EXPECT_FALSE(called);
}

TEST_F(HttpRequestTest, RequestsThatCannotStartFailOnTheNextPoll) {
    TempDir dir;
    struct Case {
        std::string url;
        std::string toFile;
    };
    const Case cases[] = {
        {"http://updates.quiltora.invalid/launcher/launcher.php", ""},
        {"https://INVALID./x", ""},
        {"file:///etc/passwd", ""},
        {"ftp://example.com/x", ""},
        {"javascript:alert(1)", ""},
        {"http://127.0.0.1:1/x", dir.file("no/such/folder/p.zip")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        int calls = 0;
        std::optional<THttpResult> result;
        THttpOptions options;
        options.toFile = c.toFile;
        EXPECT_NE(HttpGet(c.url, options, [&](const THttpResult& r) { ++calls, result = r; }), 0);
        EXPECT_EQ(calls, 0);  // never from inside HttpGet
        PollSystem();
        EXPECT_EQ(calls, 1);
        ASSERT_TRUE(result);
        EXPECT_FALSE(result->ok);
        EXPECT_FALSE(result->error.empty());
        PollSystem();
        EXPECT_EQ(calls, 1);
    }
}

TEST_F(HttpRequestTest, ARefusedConnectionFailsAndACancelledRequestNeverCallsBack) {
    int port;
    {
        LoopbackServer gone("");
        port = gone.port();
    }
    std::optional<THttpResult> result;
    HttpGet("http://127.0.0.1:" + std::to_string(port) + "/x", {}, [&](const THttpResult& r) { result = r; });
    ASSERT_TRUE(PumpUntil(result));
    EXPECT_FALSE(result->ok);
    EXPECT_EQ(result->status, 0);

    LoopbackServer server(LoopbackServer::HttpReply(200, "late"));
    bool called = false;
    const int id = HttpGet(Url(server, "/x"), {}, [&](const THttpResult&) { called = true; });
    CancelHttpRequest(id);
    EXPECT_EQ(HttpRequestsPending(), 0);
    for (int i = 0; i < 20; ++i) PollSystem();
    EXPECT_FALSE(called);
}

TEST_F(HttpRequestTest, AddressRules) {
    for (const char* ok : {"http://a.b/c", "HTTPS://x.y", "http://127.0.0.1:8080/p?q=1"})
        EXPECT_TRUE(IsHttpAddress(ok)) << ok;
    for (const char* bad :
         {"", "http://", "https:///x", "file:///x", "mailto:a@b", "http://a b/", "http://a/\n", "www.x.com"})
        EXPECT_FALSE(IsHttpAddress(bad)) << bad;
    EXPECT_TRUE(IsReservedInvalidHost("quiltora.invalid"));
    EXPECT_TRUE(IsReservedInvalidHost("Invalid."));
    EXPECT_FALSE(IsReservedInvalidHost("invalid.example.com"));
    EXPECT_FALSE(IsReservedInvalidHost("notinvalid"));
}

}  // namespace
