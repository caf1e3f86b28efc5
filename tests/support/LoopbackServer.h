// A tiny TCP server on 127.0.0.1 and an ephemeral port, for tests of network clients. It serves
// its connections one after another on a thread of its own: it reads a request whole (the
// headers and as many body bytes as Content-Length says), keeps its bytes, and then answers as
// its mode says. Every wait is bounded, so a test that goes wrong fails instead of hanging.
//
// A responder function makes the reply from the request (a tiny web server serving several
// paths); HoldAfter makes a slow server that sends the first bytes of each reply and then waits
// for Release before it sends the rest.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LoopbackServer {
public:
    enum Mode {
        Reply,  // send the reply bytes, then close the connection
        Stall,  // read the request, then hold the connection open without a word
        Flood,  // answer with an endless stream of bytes
    };

    using Responder = std::function<std::string(const std::string& request)>;

    explicit LoopbackServer(std::string reply, Mode mode = Reply) : reply_(std::move(reply)), mode_(mode) { Start(); }
    explicit LoopbackServer(Responder responder) : mode_(Reply), responder_(std::move(responder)) { Start(); }

    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }

    int port() const { return port_; }

    // From now on every reply stops after its first `bytes` bytes until Release.
    void HoldAfter(size_t bytes) { holdAfter_ = bytes; }
    void Release() { released_ = true; }

    // An HTTP/1.1 reply with the status, a content length and the body.
    static std::string HttpReply(int status, const std::string& body) {
        return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    void Start() {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        if (::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 8) != 0) std::abort();
        socklen_t len = sizeof a;
        getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Run(); });
    }

public:
    // Waits (at most timeoutMs) until `count` requests have been read whole; false on time-out.
    bool WaitForRequests(size_t count, int timeoutMs = 5000) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return requests_.size() >= count; });
    }
    // The bytes of every request read so far, in order.
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    // Connections accepted so far.
    int Connections() const { return connections_; }

private:
    bool PollFor(int fd, short events, int ms) {
        pollfd p{fd, events, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    static bool Complete(const std::string& bytes) {
        const size_t end = bytes.find("\r\n\r\n");
        if (end == std::string::npos) return false;
        size_t length = 0;
        const std::string headers = bytes.substr(0, end);
        const size_t at = headers.find("Content-Length: ");
        if (at != std::string::npos) length = std::strtoul(headers.c_str() + at + 16, nullptr, 10);
        return bytes.size() >= end + 4 + length;
    }

    void Serve(int fd) {
        std::string bytes;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        char buf[4096];
        bool peerClosed = false;
        while (!stop_ && !Complete(bytes) && std::chrono::steady_clock::now() < giveUp) {
            if (!PollFor(fd, POLLIN, 20)) continue;
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) {
                peerClosed = true;
                break;
            }
            bytes.append(buf, static_cast<size_t>(n));
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(bytes);
        }
        cv_.notify_all();
        if (mode_ == Reply && !peerClosed) {
            const std::string reply = responder_ ? responder_(bytes) : reply_;
            size_t sent = 0;
            while (sent < reply.size() && !stop_) {
                size_t end = reply.size();
                if (holdAfter_ != kNoHold && !released_) {
                    if (sent >= holdAfter_) {
                        PollFor(fd, POLLIN, 10);  // wait a little for Release
                        continue;
                    }
                    end = std::min(end, holdAfter_.load());
                }
                const ssize_t n = ::send(fd, reply.data() + sent, end - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
        } else if (mode_ == Stall) {
            // Hold the line until the client gives up or the test ends.
            while (!stop_) {
                if (PollFor(fd, POLLIN, 20) && ::recv(fd, buf, sizeof buf, 0) <= 0) break;
            }
        } else if (mode_ == Flood) {
            const std::string chunk(4096, 'x');
            while (!stop_) {
                if (!PollFor(fd, POLLOUT, 20)) continue;
                if (::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) <= 0) break;
            }
        }
        ::close(fd);
    }

    void Run() {
        while (!stop_) {
            if (!PollFor(listen_, POLLIN, 20)) continue;
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            ++connections_;
            Serve(fd);
        }
    }

    static constexpr size_t kNoHold = static_cast<size_t>(-1);
    std::string reply_;
    Mode mode_;
    Responder responder_;
    std::atomic<size_t> holdAfter_{kNoHold};
    std::atomic<bool> released_{false};
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace testsupport
