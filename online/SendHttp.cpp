#include "online/SendHttp.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

const std::string kCrLf = "\r\n";

// A field or file name inside the quotes of its part header: CR, LF and the double quote
// percent-encoded, so the name cannot end the quotes or the header line.
std::string QuoteSafeName(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\r') out += "%0D";
        else if (c == '\n') out += "%0A";
        else if (c == '"') out += "%22";
        else out += c;
    }
    return out;
}

// A host name that can stand in the request line: letters, digits, dots, hyphens, underscores.
bool IsPlainHost(const std::string& host) {
    if (host.empty()) return false;
    for (unsigned char c : host)
        if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_')) return false;
    return true;
}

// A path for the request line: begins with "/", holds no blank or control character.
bool IsPlainPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    for (unsigned char c : path)
        if (c <= 32 || c == 127) return false;
    return true;
}

bool IsDottedForm(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

}  // namespace

uint32_t tsendhttp::ressolvename(const std::string& name) {
    if (IsDottedForm(name)) {
        std::vector<size_t> dots;
        for (size_t i = 0; i < name.size(); ++i)
            if (name[i] == '.') dots.push_back(i);
        if (dots.size() < 3) return 0;
        // Four numbers: before the first dot, between the dots, after the third (a further dot
        // ends the last number).
        const size_t starts[4] = {0, dots[0] + 1, dots[1] + 1, dots[2] + 1};
        uint32_t address = 0;
        for (size_t i = 0; i < 4; ++i) {
            const int32_t n = StringToInt(std::string_view(name).substr(starts[i]));
            if (n < 0 || n > 255) return 0;
            address = (address << 8) | static_cast<uint32_t>(n);
        }
        return address;
    }
    const std::vector<uint32_t> ips = HostIps(name);
    return ips.empty() ? 0 : ips.front();
}

thttpinputPtr tsendhttp::addinput(const std::string& name, const std::string& value) {
    auto in = std::make_shared<thttpinput>();
    in->mode = 0;
    in->name = name;
    in->value = value;
    inputs.push_back(in);
    return in;
}

std::string tsendhttp::ContentTypeFor(const std::string& extension) {
    static const std::pair<const char*, const char*> table[] = {
        {"gif", "image/gif"},       {"png", "image/png"}, {"jpg", "image/jpg"},       {"jpeg", "image/jpg"},
        {"bmp", "image/bmp"},       {"txt", "text/txt"},  {"htm", "text/htm"},        {"html", "text/html"},
        {"doc", "text/doc"},        {"css", "text/css"},  {"exe", "application/exe"}, {"zip", "application/zip"},
        {"rar", "application/rar"},
    };
    const std::string ext = Lower(extension);
    for (const auto& [e, type] : table)
        if (ext == e) return type;
    return "text/plain";
}

thttpinputPtr tsendhttp::addfile(const std::string& name, const std::string& path) {
    if (FileType(path) != 1) return nullptr;
    auto in = std::make_shared<thttpinput>();
    in->mode = 1;
    in->name = name;
    in->filepath = path;
    in->filename = StripDir(path);
    in->filecontenttype = ContentTypeFor(ExtractExt(path));
    inputs.push_back(in);
    return in;
}

bool tsendhttp::BuildBody(std::string& body, std::string& error) const {
    body.clear();
    for (const thttpinputPtr& in : inputs) {
        if (!in || (in->mode != 0 && in->mode != 1)) continue;
        body += Delimiter + kCrLf;
        body += "Content-Disposition: form-data; name=\"" + QuoteSafeName(in->name) + "\"";
        if (in->mode == 0) {
            if (in->value.find(Boundary) != std::string::npos) {
                error = "the value of the form field \"" + QuoteSafeName(in->name) + "\" holds the form's boundary";
                return false;
            }
            body += kCrLf + kCrLf + in->value + kCrLf;
        } else {
            // The file is read now, so the length counted is the length sent.
            std::string bytes;
            if (!LoadBytes(in->filepath, bytes, FileKind::Any)) {
                error = "cannot read the file " + in->filepath;
                return false;
            }
            if (bytes.find(Boundary) != std::string::npos) {
                error = "the file " + in->filepath + " holds the form's boundary";
                return false;
            }
            body += "; filename=\"" + QuoteSafeName(in->filename) + "\"" + kCrLf;
            body += "Content-Type: " + QuoteSafeName(in->filecontenttype) + kCrLf + kCrLf;
            body += bytes + kCrLf;
        }
    }
    body += Delimiter + "--" + kCrLf + kCrLf;
    return true;
}

int64_t tsendhttp::ContentLength() const {
    std::string body, error;
    return BuildBody(body, error) ? static_cast<int64_t>(body.size()) : -1;
}

bool tsendhttp::BuildRequest(const std::string& host, int port, const std::string& script, std::string& request,
                             std::string& error) const {
    request.clear();
    if (!IsPlainHost(host)) {
        error = "the host name \"" + QuoteSafeName(host) + "\" cannot be sent";
        return false;
    }
    if (!IsPlainPath(script)) {
        error = "the path \"" + QuoteSafeName(script) + "\" cannot be sent";
        return false;
    }
    std::string body;
    if (!BuildBody(body, error)) return false;
    const std::string where = port == 80 ? host : host + ":" + IntToString(port);
    request = "POST http://" + where + script + " HTTP/1.0" + kCrLf;
    request += "Content-Type: multipart/form-data; boundary=" + Boundary + kCrLf;
    request += "Content-Length: " + IntToString(static_cast<int64_t>(body.size())) + kCrLf;
    request += kCrLf;
    request += body;
    return true;
}

std::vector<std::string> tsendhttp::SplitReplyLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', start)) {
        size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.emplace_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    lines.emplace_back(bytes.substr(start));
    return lines;
}

// ---------------------------------------------------------------------------------------------
// The exchange
// ---------------------------------------------------------------------------------------------

int64_t tsendhttp::Now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool tsendhttp::PastDeadline(int64_t deadline) const { return Now() >= deadline; }

// The wait allowed now: waitMs, cut to what is left before the deadline (never below 0).
int tsendhttp::WaitFor(int waitMs, int64_t deadline) const {
    const int64_t left = std::min(deadline, deadline_) - Now();
    return static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(waitMs, left)));
}

void tsendhttp::Fail(const std::string& why) {
    state_ = THttpState::Failed;
    error_ = why;
    lines_.clear();
    lookup_.Cancel();
    if (socket_) socket_->Close();
}

bool tsendhttp::Start(const std::string& host, int port, const std::string& script) {
    lookup_.Cancel();
    socket_.reset();
    sent_ = 0;
    reply_.clear();
    lines_.clear();
    error_.clear();
    host_ = host;
    port_ = port;
    if (port < 1 || port > 65535) {
        Fail("bad port " + IntToString(port));
        return false;
    }
    std::string error;
    if (!BuildRequest(host, port, script, request_, error)) {
        Fail(error);
        return false;
    }
    deadline_ = Now() + std::max(totalTimeoutMs, 0);
    phaseDeadline_ = Now() + std::max(lookupTimeoutMs, 0);
    state_ = THttpState::Resolving;
    if (IsDottedForm(host)) {
        const uint32_t address = ressolvename(host);
        if (address == 0) {
            Fail("the address " + host + " is not usable");
            return false;
        }
        BeginConnect(address);
        return state_ != THttpState::Failed;
    }
    lookup_.Start(host);
    return true;
}

void tsendhttp::BeginConnect(uint32_t address) {
    socket_ = CreateTCPSocket();
    if (!socket_->StartConnect(address, port_)) {
        Fail("cannot connect to " + host_ + " (" + IpToString(address) + "): " + socket_->LastError());
        return;
    }
    state_ = THttpState::Connecting;
    phaseDeadline_ = Now() + std::max(connectTimeoutMs, 0);
}

void tsendhttp::Cancel() {
    if (!Finished() && state_ != THttpState::Idle) Fail("the request was given up");
}

THttpState tsendhttp::Step(int waitMs) {
    if (Finished() || state_ == THttpState::Idle) return state_;
    if (PastDeadline(deadline_)) {
        Fail("no answer from " + host_ + " within " + IntToString(totalTimeoutMs) + " ms");
        return state_;
    }
    switch (state_) {
        case THttpState::Resolving: {
            if (!lookup_.Done()) {
                if (PastDeadline(phaseDeadline_)) {
                    Fail("the name lookup of " + host_ + " took too long");
                } else if (const int wait = WaitFor(std::min(waitMs, 5), phaseDeadline_); wait > 0) {
                    // No socket to wait on yet: a short sleep keeps the loop off the processor.
                    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
                }
                break;
            }
            const std::vector<uint32_t> ips = lookup_.Result();
            lookup_.Cancel();
            if (ips.empty() || ips.front() == 0) {
                Fail("the host " + host_ + " cannot be found");
                break;
            }
            BeginConnect(ips.front());
            break;
        }
        case THttpState::Connecting: {
            const int r = socket_->PollConnect(WaitFor(waitMs, phaseDeadline_));
            if (r == 1) {
                state_ = THttpState::Sending;
                phaseDeadline_ = Now() + std::max(readTimeoutMs, 0);
            } else if (r < 0) {
                Fail("cannot connect to " + host_ + ": " + socket_->LastError());
            } else if (PastDeadline(phaseDeadline_)) {
                Fail("the connection to " + host_ + " took too long");
            }
            break;
        }
        case THttpState::Sending: {
            const int n =
                socket_->Write(request_.data() + sent_, request_.size() - sent_, WaitFor(waitMs, phaseDeadline_));
            if (n < 0) {
                Fail("the connection to " + host_ + " broke while sending: " + socket_->LastError());
            } else if (n > 0) {
                sent_ += static_cast<size_t>(n);
                phaseDeadline_ = Now() + std::max(readTimeoutMs, 0);
                if (sent_ == request_.size()) state_ = THttpState::Receiving;
            } else if (PastDeadline(phaseDeadline_)) {
                Fail("the server " + host_ + " took nothing for too long");
            }
            break;
        }
        case THttpState::Receiving: {
            char buffer[4096];
            const size_t room = std::min(sizeof buffer, maxReplyBytes + 1 - std::min(reply_.size(), maxReplyBytes));
            const int n = socket_->Read(buffer, room, WaitFor(waitMs, phaseDeadline_));
            if (n > 0) {
                reply_.append(buffer, static_cast<size_t>(n));
                if (reply_.size() > maxReplyBytes) {
                    Fail("the reply of " + host_ + " is longer than " +
                         IntToString(static_cast<int64_t>(maxReplyBytes)) + " bytes");
                    break;
                }
                phaseDeadline_ = Now() + std::max(readTimeoutMs, 0);
            } else if (n == TSocket::kClosed) {
                socket_->Close();
                lines_ = SplitReplyLines(reply_);
                state_ = THttpState::Done;
            } else if (n == TSocket::kError) {
                Fail("the connection to " + host_ + " broke: " + socket_->LastError());
            } else if (PastDeadline(phaseDeadline_)) {
                Fail("the server " + host_ + " said nothing for " + IntToString(readTimeoutMs) + " ms");
            }
            break;
        }
        default: break;
    }
    return state_;
}

std::vector<std::string> tsendhttp::send(const std::string& host, int port, const std::string& script,
                                         const THttpWaitHook& wait) {
    Start(host, port, script);
    int64_t lastHook = Now();
    while (!Finished()) {
        // Without a hook nothing needs the thread back early: wait in longer slices.
        Step(wait ? std::max(frameMs, 0) : 100);
        if (wait && !Finished() && Now() - lastHook >= frameMs) {
            lastHook = Now();
            if (!wait()) Cancel();
        }
    }
    return state_ == THttpState::Done ? lines_ : std::vector<std::string>{};
}
