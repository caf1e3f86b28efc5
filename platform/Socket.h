// TCP client sockets over plain POSIX sockets: IPv4 name lookup, a non-blocking connect, and
// reads and writes that wait at most a given time. Nothing here ever waits without a limit, so a
// caller can keep drawing frames between calls.
//
// An IPv4 address is a 32-bit number whose highest byte is the first number of the dotted form
// (127.0.0.1 is 0x7F000001).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The dotted form of an address ("127.0.0.1").
std::string IpToString(uint32_t address);

// Every IPv4 address of a host name by the system's name lookup, in the order it gives them,
// without repeats; empty when the lookup fails. A dotted address comes back as itself without a
// lookup. Names in the reserved domain "invalid" never resolve and are never looked up. Blocks
// for as long as the system's lookup takes: see THostLookup for a lookup with a time limit.
std::vector<uint32_t> HostIps(const std::string& name);

// A name lookup that runs beside the caller: Start hands the name to a helper thread and Done
// tells, without waiting, whether the answer is there. A lookup that is given up (Cancel, or
// the object going) is left to finish on its own; its answer is dropped.
class THostLookup {
public:
    THostLookup() = default;
    ~THostLookup();
    THostLookup(const THostLookup&) = delete;
    THostLookup& operator=(const THostLookup&) = delete;

    // Starts looking up the name; an earlier lookup is given up.
    void Start(const std::string& name);
    // True when the answer is in (Result then holds it, possibly empty).
    bool Done();
    const std::vector<uint32_t>& Result() const { return result_; }
    void Cancel();

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    std::vector<uint32_t> result_;
    bool done_ = false;
};

class TSocket {
public:
    // Results of Read.
    static constexpr int kClosed = 0;     // the peer closed the connection
    static constexpr int kError = -1;     // the connection broke (LastError says how)
    static constexpr int kTimedOut = -2;  // nothing came within the time given

    ~TSocket();
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;

    // Starts connecting to the address and port (1 to 65535) without waiting. False when the
    // connection cannot even be started (address 0, a bad port, no socket); the socket is then
    // closed.
    bool StartConnect(uint32_t address, int port);
    // Waits at most waitMs for the connection started by StartConnect: 1 connected, 0 still
    // under way, -1 failed (refused, unreachable; the socket is then closed).
    int PollConnect(int waitMs);
    // StartConnect, then PollConnect until it is decided or timeoutMs have passed; a connection
    // still under way then is given up. True when connected.
    bool Connect(uint32_t address, int port, int timeoutMs);

    // Writes what fits, waiting at most waitMs for room: the bytes written (0 when none fitted
    // in time), or -1 when the connection broke. Never raises SIGPIPE.
    int Write(const void* data, size_t size, int waitMs);
    // Reads what is there, waiting at most waitMs for the first byte: the bytes read, kClosed,
    // kError or kTimedOut.
    int Read(void* buffer, size_t size, int waitMs);

    bool IsOpen() const { return fd_ >= 0; }
    bool IsConnected() const { return fd_ >= 0 && connected_; }
    // Closes the socket; harmless when it is closed already.
    void Close();
    // Why the last operation failed, for an error line.
    const std::string& LastError() const { return error_; }

private:
    friend std::unique_ptr<TSocket> CreateTCPSocket();
    TSocket() = default;
    int fd_ = -1;
    bool connected_ = false;
    std::string error_;
};

using TSocketPtr = std::unique_ptr<TSocket>;

// A new, unconnected TCP socket object (the system socket is made by StartConnect).
TSocketPtr CreateTCPSocket();
