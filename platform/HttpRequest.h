// HTTP GET requests on libcurl. Asynchronous ones on the main thread's multi interface. A request is started and
// returns at once; its transfers advance, and its outcome is delivered, only when the main thread pumps the platform's
// events (PollSystem runs PollHttpRequests as one of its hooks), so the game keeps drawing frames while a request is
// under way and every completion runs on the main thread.
//
// A worker thread fetches with HttpGetBlocking instead, on a transfer of its own.
//
// Only http and https addresses are fetched (redirects included). Names in the reserved domain
// "invalid" never resolve and are never looked up. Every request has bounds: a connect time-out,
// an idle time-out (nothing received for that long) and a largest body. Giving a transfer up or
// cancelling it never waits for a name lookup under way.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct THttpResult {
    // The transfer completed: a reply came whole (whatever its HTTP status).
    bool ok = false;
    // The reply's HTTP status, 0 when none came.
    int status = 0;
    // Why the transfer failed, for a log line; empty when ok.
    std::string error;
    // The body, for a request kept in memory (empty for one written to a file).
    std::string body;
    // Bytes of body received.
    int64_t bytes = 0;

    // A whole reply with a 2xx status.
    bool Success() const { return ok && status >= 200 && status < 300; }
};

struct THttpOptions {
    // When set, the body goes to this file (created or replaced); it is removed again when the
    // transfer fails. Otherwise the body is kept in THttpResult::body.
    std::string toFile;
    // A larger body fails the transfer.
    int64_t maxBytes = 1 << 20;
    int connectTimeoutMs = 15000;
    // The transfer fails when nothing arrives for this long.
    int idleTimeoutMs = 60000;
    // The transfer fails when it takes longer than this in all (0: no such limit; a trickle of a
    // byte a second then keeps it alive up to maxBytes seconds).
    int totalTimeoutMs = 0;
};

using THttpCallback = std::function<void(const THttpResult& result)>;

// True for an address whose scheme is http or https (any letter case) and that names a host.
bool IsHttpAddress(const std::string& url);
// True for a host name in the reserved domain "invalid" ("invalid", "x.invalid", "x.invalid.").
bool IsReservedInvalidHost(const std::string& host);

// Starts a GET of url. Returns the request's id (never 0). The callback runs exactly once, from a
// later PollHttpRequests on the main thread, unless the request is cancelled first; a request
// that cannot even start (another scheme, a reserved name, a file that cannot be written) fails
// the same way, on the next poll.
int HttpGet(const std::string& url, const THttpOptions& options, THttpCallback done);
// The same transfer on the calling thread (any thread): returns when it ended, or as soon as
// keepGoing (asked about every 50 ms) returns false; a transfer given up fails with "the
// transfer was given up" and leaves no file. The main thread's requests are not touched.
THttpResult HttpGetBlocking(const std::string& url, const THttpOptions& options,
                            const std::function<bool()>& keepGoing = nullptr);
// Drops the request; its callback never runs. Unknown ids are ignored.
void CancelHttpRequest(int id);
// Requests started and not yet delivered.
int HttpRequestsPending();
// Advances every transfer without waiting and runs the callbacks of those that ended. Runs from
// the event pump; a call from inside a callback does nothing.
void PollHttpRequests();
// Cancels every request (tests).
void ResetHttpRequests();
