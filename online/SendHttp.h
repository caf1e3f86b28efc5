// A small HTTP/1.0 client that posts one form as "multipart/form-data" over a plain TCP
// connection and gives the server's whole reply back as text lines.
//
// The exchange never holds the caller without a limit: the name lookup, the connection and the
// server's silences each have a time limit, the whole exchange has one too, and the reply's size
// is bounded. It comes in two forms:
//  - the step form: Start, then Step once a frame (Step(0) never waits) until Finished;
//  - send, which runs the steps itself and calls a wait hook between them, at least every
//    frameMs while it waits, so the caller can draw frames (the hook returns false to give up).
//
// Form field names and file names are sent with CR, LF and the double quote percent-encoded, as
// browsers do, so no name can end its header early; a form whose text (value or file) holds the
// boundary is refused, since the boundary would end its part early. Text goes out as its UTF-8
// bytes and Content-Length counts those bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Socket.h"

// One part of the form.
class thttpinput {
public:
    int32_t mode = 0;             // 0 a text field, 1 a file; parts of any other mode are left out
    std::string name;             // the form field's name
    std::string filepath;         // file: the path whose bytes are sent
    std::string filename;         // file: the name given in the part header (the path's last part)
    std::string filecontenttype;  // file: the content type given in the part header
    std::string value;            // text: the field's text
};
using thttpinputPtr = std::shared_ptr<thttpinput>;

// Called while a request waits; returning false gives the request up.
using THttpWaitHook = std::function<bool()>;

enum class THttpState { Idle, Resolving, Connecting, Sending, Receiving, Done, Failed };

class tsendhttp {
public:
    // The boundary between the parts, and the line that opens each part ("--" + boundary).
    static inline const std::string Boundary = "---------------------------23281168279961";
    static inline const std::string Delimiter = "--" + Boundary;

    // The form's parts, in the order they go out.
    std::vector<thttpinputPtr> inputs;

    // Limits of one exchange, in milliseconds of real time.
    int lookupTimeoutMs = 5000;   // the name lookup
    int connectTimeoutMs = 5000;  // the connection
    int readTimeoutMs = 5000;     // the longest silence while sending or waiting for the reply
    int totalTimeoutMs = 20000;   // the whole exchange
    size_t maxReplyBytes = 64 * 1024;
    // send: the longest wait between two calls of the wait hook.
    int frameMs = 15;

    // The IPv4 address of a host (first number in the highest byte), 0 when there is none. A
    // name of digits and dots is read as a dotted address without a lookup (0 with fewer than
    // three dots or a number above 255); any other name is looked up.
    static uint32_t ressolvename(const std::string& name);

    // Posts the form to http://host:port + script and returns the reply's lines once the server
    // has closed the connection (see SplitReplyLines). An empty array when no complete reply came
    // (no address, no connection, a time limit passed, a reply too large, a refused form, or the
    // wait hook gave up): ErrorText then says why.
    std::vector<std::string> send(const std::string& host, int port, const std::string& script,
                                  const THttpWaitHook& wait = nullptr);
    // Appends a text field and returns it.
    thttpinputPtr addinput(const std::string& name, const std::string& value);
    // Appends a file part and returns it; null, and nothing added, unless path is an existing
    // regular file. The content type comes from the file's extension.
    thttpinputPtr addfile(const std::string& name, const std::string& path);

    // The step form. Start builds the request and begins the name lookup; false (and state
    // Failed) when the request cannot be made. Step advances the exchange, waiting at most
    // waitMs, and returns the state; Cancel gives it up (state Failed).
    bool Start(const std::string& host, int port, const std::string& script);
    THttpState Step(int waitMs);
    void Cancel();
    THttpState State() const { return state_; }
    bool Finished() const { return state_ == THttpState::Done || state_ == THttpState::Failed; }
    // The reply's lines once the state is Done; empty otherwise.
    const std::vector<std::string>& ReplyLines() const { return lines_; }
    const std::string& ErrorText() const { return error_; }

    // The body as it goes out (the parts, the closing line and one empty line); false with the
    // reason when the form cannot be sent.
    bool BuildBody(std::string& body, std::string& error) const;
    // The whole request: the request line, the two headers, an empty line and the body.
    bool BuildRequest(const std::string& host, int port, const std::string& script, std::string& request,
                      std::string& error) const;
    // The body's length in bytes; -1 when the form cannot be sent.
    int64_t ContentLength() const;

    // A reply cut into lines: a line ends at each LF, which is dropped with a CR right before
    // it; a lone CR stays in its line. The text after the last LF is always the last element
    // (the empty text when the reply ends with a line break).
    static std::vector<std::string> SplitReplyLines(std::string_view bytes);
    // The content type sent for a file extension (without the dot, any case).
    static std::string ContentTypeFor(const std::string& extension);

private:
    void Fail(const std::string& why);
    void BeginConnect(uint32_t address);
    bool PastDeadline(int64_t deadline) const;
    int64_t Now() const;
    int WaitFor(int waitMs, int64_t deadline) const;

    THttpState state_ = THttpState::Idle;
    std::string host_;
    int port_ = 0;
    std::string request_;
    size_t sent_ = 0;
    std::string reply_;
    std::vector<std::string> lines_;
    std::string error_;
    THostLookup lookup_;
    TSocketPtr socket_;
    int64_t deadline_ = 0;       // the whole exchange
    int64_t phaseDeadline_ = 0;  // the lookup, the connection, or the current silence
};

using tsendhttpPtr = std::shared_ptr<tsendhttp>;
