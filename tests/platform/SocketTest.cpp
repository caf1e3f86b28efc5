// TCP client sockets against a loopback server: name lookup, connecting, bounded reads.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/Socket.h"
#include "support/LoopbackServer.h"

namespace {

using testsupport::LoopbackServer;
constexpr uint32_t kLoopback = 0x7F000001;

TEST(SocketTest, LookupAnswersDottedAddressesItselfAndNeverResolvesTheInvalidDomain) {
    EXPECT_EQ(HostIps("127.0.0.1"), std::vector<uint32_t>{kLoopback});
    EXPECT_EQ(HostIps("10.0.0.1"), std::vector<uint32_t>{10u * 16777216u + 1u});
    EXPECT_EQ(IpToString(kLoopback), "127.0.0.1");
    for (const char* name : {"", "newsletter.example.invalid", "INVALID", "a.b.Invalid."})
        EXPECT_TRUE(HostIps(name).empty()) << name;

    // The lookup beside the caller: answered at once where no lookup is needed, else later.
    THostLookup lookup;
    lookup.Start("server.invalid");
    ASSERT_TRUE(lookup.Done());
    EXPECT_TRUE(lookup.Result().empty());
    lookup.Start("127.0.0.1");
    ASSERT_TRUE(lookup.Done());
    EXPECT_EQ(lookup.Result(), std::vector<uint32_t>{kLoopback});
    lookup.Start("localhost");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!lookup.Done() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(lookup.Done());
}

TEST(SocketTest, ConnectsWritesAndReadsUntilThePeerCloses) {
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nhi");
    TSocketPtr s = CreateTCPSocket();
    ASSERT_TRUE(s->Connect(kLoopback, server.port(), 2000)) << s->LastError();
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    EXPECT_EQ(s->Write(request.data(), request.size(), 1000), static_cast<int>(request.size()));
    std::string reply;
    char buf[64];
    for (;;) {
        const int n = s->Read(buf, sizeof buf, 2000);
        if (n <= 0) {
            EXPECT_EQ(n, TSocket::kClosed);
            break;
        }
        reply.append(buf, static_cast<size_t>(n));
    }
    EXPECT_EQ(reply, "HTTP/1.0 200 OK\r\n\r\nhi");
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_EQ(server.Requests()[0], request);
}

TEST(SocketTest, RefusesAddressZeroAndBadPortsAndReportsARefusedConnection) {
    TSocketPtr s = CreateTCPSocket();
    EXPECT_FALSE(s->StartConnect(0, 80));  // never "this machine"
    EXPECT_FALSE(s->IsOpen());
    EXPECT_FALSE(s->StartConnect(kLoopback, 0));
    EXPECT_FALSE(s->StartConnect(kLoopback, 70000));

    int freePort = 0;
    {
        LoopbackServer gone("");
        freePort = gone.port();
    }  // nothing listens there any more
    EXPECT_FALSE(s->Connect(kLoopback, freePort, 2000));
    EXPECT_FALSE(s->LastError().empty());
}

TEST(SocketTest, AReadFromASilentPeerReturnsAfterItsWait) {
    LoopbackServer server("", LoopbackServer::Stall);
    TSocketPtr s = CreateTCPSocket();
    ASSERT_TRUE(s->Connect(kLoopback, server.port(), 2000));
    const std::string request = "X\r\n\r\n";
    s->Write(request.data(), request.size(), 1000);
    char buf[16];
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(s->Read(buf, sizeof buf, 100), TSocket::kTimedOut);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(ms, 90);
    EXPECT_LT(ms, 2000);
    EXPECT_TRUE(s->IsConnected());
}

}  // namespace
