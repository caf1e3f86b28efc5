// The newsletter sign-up against a loopback server: the form, the one-second guard, the
// configured address, and which answers count as a sign-up.
#include <gtest/gtest.h>

#include "engine/basics/AppTime.h"
#include "online/NewsletterSender.h"
#include "platform/Clock.h"
#include "platform/Strings.h"
#include "support/LoopbackServer.h"

namespace {

using testsupport::LoopbackServer;

const std::string D = "-----------------------------23281168279961";

int32_t g_now = 0;
int32_t Now() { return g_now; }

class NewsletterSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppTime();
        ResetNewsletterSender();
        SetClockSource(&Now);
        SetClock(0);
        SetClock(5000);
    }
    void TearDown() override {
        SetClockSource(nullptr);
        ResetAppTime();
        ResetNewsletterSender();
        NewsletterServer = NewsletterDefaultServer;
    }
    // The application clock at ms.
    static void SetClock(int32_t ms) {
        g_now = ms;
        UpdateAppMillisecs();
    }
    static void UseServer(const LoopbackServer& server) {
        NewsletterServer = "127.0.0.1:" + IntToString(server.port());
    }
};

TEST_F(NewsletterSenderTest, ASignUpPostsTheFourFieldsToTheConfiguredPort) {
    LoopbackServer server("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nWelcome aboard");
    UseServer(server);
    const TNewsletterAnswer answer = SendToNewsletter("Ann", "ann@mail.uk", "QUIL");
    EXPECT_EQ(answer.outcome, TNewsletterOutcome::SignedUp);
    EXPECT_EQ(answer.text, "Welcome aboard");
    ASSERT_TRUE(server.WaitForRequests(1));
    const std::string request = server.Requests()[0];
    EXPECT_TRUE(StartsWith(
        request, "POST http://127.0.0.1:" + IntToString(server.port()) + "/newsletter/subscribe HTTP/1.0\r\n"));
    EXPECT_NE(request.find("\r\nContent-Length: 451\r\n\r\n" + D), std::string::npos);
    EXPECT_TRUE(EndsWith(request, "name=\"boolean\"\r\n\r\ntrue\r\n" + D + "--\r\n\r\n"));

    // An empty list is sent as an empty field, not left out.
    SetClock(7000);
    EXPECT_EQ(SendToNewsletter("Ann", "ann@mail.uk", "").outcome, TNewsletterOutcome::SignedUp);
    ASSERT_TRUE(server.WaitForRequests(2));
    EXPECT_NE(server.Requests()[1].find("name=\"list\"\r\n\r\n\r\n" + D), std::string::npos);
}

TEST_F(NewsletterSenderTest, OnlyOneSendASecondByTheApplicationClock) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nInvalid email address.");
    UseServer(server);
    EXPECT_EQ(SendToNewsletter("Ann", "bad", "L").outcome, TNewsletterOutcome::InvalidAddress);
    SetClock(5999);
    const TNewsletterAnswer fast = SendToNewsletter("Ann", "bad", "L");
    EXPECT_EQ(fast.outcome, TNewsletterOutcome::TooFast);
    EXPECT_EQ(fast.text, "Too Fast");
    SetClock(6000);
    EXPECT_EQ(SendToNewsletter("Ann", "bad", "L").outcome, TNewsletterOutcome::InvalidAddress);
    ASSERT_TRUE(server.WaitForRequests(2));
    EXPECT_EQ(server.Connections(), 2);

    // The guard starts from 0: a sign-up in the first second of the run is too fast as well.
    ResetNewsletterSender();
    ResetAppTime();
    SetClock(0);
    SetClock(999);
    EXPECT_EQ(SendToNewsletter("Ann", "bad", "L").outcome, TNewsletterOutcome::TooFast);
}

TEST_F(NewsletterSenderTest, OnlyARealAnswerCountsAsASignUp) {
    const struct {
        std::string reply;
        TNewsletterOutcome outcome;
        std::string text;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\n\r\nSubscribed", TNewsletterOutcome::SignedUp, "Subscribed"},
        {"HTTP/1.0 201 Created\r\n\r\n", TNewsletterOutcome::SignedUp, ""},  // ends with a line break
        {"HTTP/1.0 400 Bad Request\r\n\r\nInvalid email address.", TNewsletterOutcome::InvalidAddress,
         "Invalid email address."},
        {"", TNewsletterOutcome::Failed, ""},  // closed without a word
        {"HTTP/1.0 500 Internal Server Error\r\n\r\nOops", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.0 404 Not Found\r\n\r\n", TNewsletterOutcome::Failed, ""},
        {"Welcome", TNewsletterOutcome::Failed, ""},                                     // no status line
        {"HTTP/1.1 200\r\n\r\nSubscribed", TNewsletterOutcome::SignedUp, "Subscribed"},  // no reason phrase
        // Only three digits after "HTTP/1." and a digit count as a status.
        {"HTTP/x 2000 OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.1 2000 OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.1 200OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/2 200 OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.x 200 OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.1  200 OK\r\n\r\nOk", TNewsletterOutcome::Failed, ""},
        {"HTTP/1.1 20 OK\r\n\r\nInvalid email address.", TNewsletterOutcome::Failed, ""},
    };
    int32_t clock = 5000;
    for (const auto& c : cases) {
        LoopbackServer server(c.reply);
        UseServer(server);
        SetClock(clock += 1000);
        const TNewsletterAnswer answer = SendToNewsletter("Ann", "ann@mail.uk", "L");
        EXPECT_EQ(answer.outcome, c.outcome) << c.reply;
        EXPECT_EQ(answer.text, c.text) << c.reply;
    }

    // Whatever a server sends is told on the console as an escaped excerpt, never as raw bytes
    // (once up to 64 KB of binary).
    std::string garbage = "\x1b[2J";
    for (int i = 0; i < 60000; ++i) garbage += static_cast<char>(i * 13 + 1);
    testing::internal::CaptureStdout();
    {
        LoopbackServer server(garbage);
        UseServer(server);
        SetClock(clock += 1000);
        EXPECT_EQ(SendToNewsletter("Ann", "ann@mail.uk", "L").outcome, TNewsletterOutcome::Failed);
    }
    const std::string told = testing::internal::GetCapturedStdout();
    EXPECT_NE(told.find("no usable answer (\"\\x1B[2J"), std::string::npos) << told;
    EXPECT_LT(told.size(), 400u);
    for (unsigned char c : told) EXPECT_TRUE((c >= 0x20 && c != 0x7F) || c == '\n') << int(c);

    // No server to be had: the shipped address never resolves, a bad address is not used.
    for (const std::string& address : {NewsletterDefaultServer, std::string("127.0.0.1:0"), std::string("host:http")}) {
        NewsletterServer = address;
        SetClock(clock += 1000);
        EXPECT_EQ(SendToNewsletter("Ann", "ann@mail.uk", "L").outcome, TNewsletterOutcome::Failed) << address;
    }

    // A server that never answers: frames keep coming while it waits, and the caller can give up.
    LoopbackServer stalled("", LoopbackServer::Stall);
    UseServer(stalled);
    SetClock(clock += 1000);
    int frames = 0;
    const TNewsletterAnswer answer = SendToNewsletter("Ann", "ann@mail.uk", "L", [&] { return ++frames < 20; });
    EXPECT_EQ(answer.outcome, TNewsletterOutcome::Failed);
    EXPECT_EQ(frames, 20);
}

TEST_F(NewsletterSenderTest, AHostileNameCannotAddAFormField) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nOk");
    UseServer(server);
    // Line ends are taken out of a typed name, so a forged header line stays inside the value.
    EXPECT_EQ(
        SendToNewsletter("Ann\r\nContent-Disposition: form-data; name=\"list\"\r\n\r\nEVIL", "a@b.c", "L").outcome,
        TNewsletterOutcome::SignedUp);
    ASSERT_TRUE(server.WaitForRequests(1));
    std::string request = server.Requests()[0];
    int parts = 0;
    for (size_t at = request.find(D + "\r\n"); at != std::string::npos; at = request.find(D + "\r\n", at + 1)) ++parts;
    EXPECT_EQ(parts, 4);
    EXPECT_NE(request.find("\r\n\r\nAnnContent-Disposition: form-data; name=\"list\"EVIL\r\n" + D), std::string::npos);

    // A name that carries the boundary itself is not sent at all.
    SetClock(7000);
    EXPECT_EQ(SendToNewsletter("Ann" + D + "--", "a@b.c", "L").outcome, TNewsletterOutcome::Failed);
    EXPECT_EQ(server.Connections(), 1);
}

TEST_F(NewsletterSenderTest, ServerAddressesReadHostAndPort) {
    const struct {
        const char* text;
        bool ok;
        const char* host;
        int port;
    } cases[] = {
        {"news.example.org", true, "news.example.org", 80},
        {" news.example.org:8080 ", true, "news.example.org", 8080},
        {"127.0.0.1:65535", true, "127.0.0.1", 65535},
        {"host:0", false, "host", 0},
        {"host:65536", false, "host", 65536},
        {"host:", false, "host", 80},
        {"host:8o", false, "host", 80},
        {":81", false, "", 81},
        {"", false, "", 80},
    };
    for (const auto& c : cases) {
        std::string host;
        int port = -1;
        EXPECT_EQ(ParseServerAddress(c.text, host, port), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        }
    }
    EXPECT_TRUE(EndsWith(NewsletterDefaultServer, ".invalid"));
}

// The reserved name "invalid" never resolves: a server there, or none, is no server at all.
TEST(NewsletterServer, OnlyAnAddressOutsideTheReservedNameIsARealServer) {
    const struct {
        const char* address;
        bool real;
    } cases[] = {
        {"newsletter.quiltora.invalid", false},
        {"NEWSLETTER.QUILTORA.INVALID:8080", false},
        {"invalid", false},
        {"news.invalid.", false},
        {"", false},
        {"news.example.org:0", false},
        {"news.example.org", true},
        {"NEWS.EXAMPLE.ORG:8080", true},
        {"127.0.0.1:4711", true},
        {"invalid.example.org", true},
        {"newsinvalid", true},
    };
    for (const auto& c : cases) EXPECT_EQ(NewsletterServerIsReal(c.address), c.real) << c.address;
    EXPECT_FALSE(NewsletterServerIsReal(NewsletterDefaultServer));
}

}  // namespace
