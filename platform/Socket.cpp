#include "platform/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/HttpRequest.h"
#include "platform/Strings.h"

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

bool ParseDotted(const std::string& name, uint32_t& address) {
    in_addr a{};
    if (inet_pton(AF_INET, name.c_str(), &a) != 1) return false;
    address = ntohl(a.s_addr);
    return true;
}

// poll on one descriptor, retried when a signal interrupts it. >0 ready, 0 timed out, <0 error.
int PollOne(int fd, short events, int waitMs, short& revents) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, std::max(waitMs, 0));
        if (r < 0 && errno == EINTR) continue;
        revents = p.revents;
        return r;
    }
}

}  // namespace

std::string IpToString(uint32_t address) {
    return IntToString((address >> 24) & 255) + "." + IntToString((address >> 16) & 255) + "." +
           IntToString((address >> 8) & 255) + "." + IntToString(address & 255);
}

std::vector<uint32_t> HostIps(const std::string& name) {
    std::vector<uint32_t> out;
    if (name.empty() || IsReservedInvalidHost(name)) return out;
    uint32_t dotted = 0;
    if (ParseDotted(name, dotted)) {
        out.push_back(dotted);
        return out;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &list) != 0) return out;
    for (addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        const uint32_t ip = ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr);
        if (std::find(out.begin(), out.end(), ip) == out.end()) out.push_back(ip);
    }
    freeaddrinfo(list);
    return out;
}

// ---------------------------------------------------------------------------------------------
// THostLookup
// ---------------------------------------------------------------------------------------------

struct THostLookup::Shared {
    std::mutex mutex;
    bool done = false;
    std::vector<uint32_t> result;
};

THostLookup::~THostLookup() { Cancel(); }

void THostLookup::Start(const std::string& name) {
    Cancel();
    uint32_t dotted = 0;
    if (name.empty() || IsReservedInvalidHost(name) || ParseDotted(name, dotted)) {
        // Answered at once: no lookup, no thread.
        result_ = HostIps(name);
        done_ = true;
        return;
    }
    shared_ = std::make_shared<Shared>();
    try {
        std::thread([shared = shared_, name] {
            std::vector<uint32_t> ips = HostIps(name);
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->result = std::move(ips);
            shared->done = true;
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: look the name up here instead.
        shared_.reset();
        result_ = HostIps(name);
        done_ = true;
    }
}

bool THostLookup::Done() {
    if (done_) return true;
    if (!shared_) return false;
    std::lock_guard<std::mutex> lock(shared_->mutex);
    if (!shared_->done) return false;
    result_ = shared_->result;
    done_ = true;
    return true;
}

void THostLookup::Cancel() {
    shared_.reset();
    result_.clear();
    done_ = false;
}

// ---------------------------------------------------------------------------------------------
// TSocket
// ---------------------------------------------------------------------------------------------

TSocketPtr CreateTCPSocket() { return TSocketPtr(new TSocket()); }

TSocket::~TSocket() { Close(); }

void TSocket::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    connected_ = false;
}

bool TSocket::StartConnect(uint32_t address, int port) {
    Close();
    error_.clear();
    if (address == 0) {
        error_ = "no address to connect to";
        return false;
    }
    if (port < 1 || port > 65535) {
        error_ = "bad port " + IntToString(port);
        return false;
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error_ = ErrnoText(errno);
        return false;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(address);
    int r;
    do {
        r = ::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
        connected_ = true;
        return true;
    }
    if (errno == EINPROGRESS) return true;
    error_ = ErrnoText(errno);
    Close();
    return false;
}

int TSocket::PollConnect(int waitMs) {
    if (fd_ < 0) return -1;
    if (connected_) return 1;
    short revents = 0;
    const int r = PollOne(fd_, POLLOUT, waitMs, revents);
    if (r == 0) return 0;
    int err = 0;
    socklen_t len = sizeof err;
    if (r < 0) {
        err = errno;
    } else if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) {
        err = errno;
    }
    if (err != 0) {
        error_ = ErrnoText(err);
        Close();
        return -1;
    }
    connected_ = true;
    return 1;
}

bool TSocket::Connect(uint32_t address, int port, int timeoutMs) {
    if (!StartConnect(address, port)) return false;
    const int r = PollConnect(timeoutMs);
    if (r == 1) return true;
    if (r == 0) {
        error_ = "connection timed out";
        Close();
    }
    return false;
}

int TSocket::Write(const void* data, size_t size, int waitMs) {
    if (fd_ < 0 || !connected_) return -1;
    if (size == 0) return 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const ssize_t n = ::send(fd_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            error_ = ErrnoText(errno);
            return -1;
        }
        if (attempt == 1) break;
        short revents = 0;
        const int r = PollOne(fd_, POLLOUT, waitMs, revents);
        if (r == 0) return 0;
        if (r < 0) {
            error_ = ErrnoText(errno);
            return -1;
        }
    }
    return 0;
}

int TSocket::Read(void* buffer, size_t size, int waitMs) {
    if (fd_ < 0 || !connected_) return kError;
    if (size == 0) return kTimedOut;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const ssize_t n = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (n > 0) return static_cast<int>(n);
        if (n == 0) return kClosed;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            error_ = ErrnoText(errno);
            return kError;
        }
        if (attempt == 1) break;
        short revents = 0;
        const int r = PollOne(fd_, POLLIN, waitMs, revents);
        if (r == 0) return kTimedOut;
        if (r < 0) {
            error_ = ErrnoText(errno);
            return kError;
        }
    }
    return kTimedOut;
}
