#include "platform/HttpRequest.h"

#include <curl/curl.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Strings.h"

namespace {

struct Request {
    int id = 0;
    CURL* easy = nullptr;
    std::FILE* file = nullptr;
    std::string filePath;
    int64_t maxBytes = 0;
    bool tooLarge = false;
    bool writeFailed = false;
    THttpResult result;
    THttpCallback done;
    char errorBuffer[CURL_ERROR_SIZE] = {};
};

struct Multi {
    CURLM* handle = nullptr;
    int hookId = 0;
    int nextId = 1;
    std::map<int, std::unique_ptr<Request>> running;
    // Requests that failed before any transfer: delivered on the next poll.
    std::vector<std::unique_ptr<Request>> failed;
    bool polling = false;
};

Multi& State() {
    static Multi multi;
    return multi;
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* r = static_cast<Request*>(user);
    const size_t n = size * count;
    if (r->result.bytes + static_cast<int64_t>(n) > r->maxBytes) {
        r->tooLarge = true;
        return 0;  // aborts the transfer
    }
    if (r->file) {
        if (std::fwrite(data, 1, n, r->file) != n) {
            r->writeFailed = true;
            return 0;
        }
    } else {
        r->result.body.append(data, n);
    }
    r->result.bytes += static_cast<int64_t>(n);
    return n;
}

void CloseFile(Request& r, bool keep) {
    if (r.file) {
        if (std::fclose(r.file) != 0) {
            r.writeFailed = true;
            keep = false;
        }
        r.file = nullptr;
    }
    if (!keep && !r.filePath.empty()) DeleteFile(r.filePath);
}

void FreeEasy(Request& r) {
    if (!r.easy) return;
    if (State().handle) curl_multi_remove_handle(State().handle, r.easy);
    curl_easy_cleanup(r.easy);
    r.easy = nullptr;
}

bool GlobalInit() {
    // Once for the process, from the first caller (libcurl's global set-up is not itself safe to
    // run on two threads at once).
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return done;
}

bool EnsureMulti() {
    Multi& m = State();
    // The hook first: even a request that cannot start is delivered by the next poll.
    if (m.hookId == 0) m.hookId = AddPollHook(&PollHttpRequests);
    if (m.handle) return true;
    if (!GlobalInit()) return false;
    m.handle = curl_multi_init();
    return m.handle != nullptr;
}

std::string HostOf(const std::string& url) {
    std::string host;
    CURLU* u = curl_url();
    if (!u) return host;
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* part = nullptr;
        if (curl_url_get(u, CURLUPART_HOST, &part, 0) == CURLUE_OK && part) host = part;
        curl_free(part);
    }
    curl_url_cleanup(u);
    return host;
}

// Checks the address, opens the body's file and makes the transfer's handle with every bound
// set; false with the reason when the request cannot start.
bool StartTransfer(Request& r, const std::string& url, const THttpOptions& options, std::string& why) {
    r.maxBytes = options.maxBytes;
    if (!IsHttpAddress(url)) {
        why = "not an http or https address: " + url;
        return false;
    }
    const std::string host = HostOf(url);
    if (IsReservedInvalidHost(host)) {
        why = "Could not resolve host: " + host;
        return false;
    }
    if (!options.toFile.empty()) {
        r.filePath = options.toFile;
        r.file = std::fopen(options.toFile.c_str(), "wb");
        if (!r.file) {
            why = "cannot write " + options.toFile;
            return false;
        }
    }
    r.easy = curl_easy_init();
    if (!r.easy) {
        CloseFile(r, false);
        why = "the HTTP client could not start";
        return false;
    }
    CURL* e = r.easy;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // A transfer given up or cancelled while its name is being looked up does not wait for the
    // lookup: libcurl's resolver thread is left to end on its own (it frees what it holds), so
    // quitting never waits on a slow name server.
    curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
    // Idle time-out: fewer than one byte a second for the whole period fails the transfer.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>((options.idleTimeoutMs + 999) / 1000));
    if (options.totalTimeoutMs > 0) curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeoutMs));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &r);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, r.errorBuffer);
    curl_easy_setopt(e, CURLOPT_PRIVATE, &r);
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Quiltora");
    return true;
}

// The outcome of a transfer that ended with `code`: status, error, the handle freed and the
// body's file closed (kept only when the transfer succeeded and the file was written whole).
void EndTransfer(Request& r, CURLcode code) {
    long status = 0;
    curl_easy_getinfo(r.easy, CURLINFO_RESPONSE_CODE, &status);
    r.result.status = static_cast<int>(status);
    r.result.ok = code == CURLE_OK;
    if (!r.result.ok) {
        if (r.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
            r.result.error = "the reply is larger than " + IntToString(r.maxBytes) + " bytes";
        else if (r.writeFailed) r.result.error = "cannot write " + r.filePath;
        else r.result.error = r.errorBuffer[0] ? std::string(r.errorBuffer) : curl_easy_strerror(code);
    }
    curl_easy_cleanup(r.easy);
    r.easy = nullptr;
    CloseFile(r, r.result.ok);
    if (r.result.ok && r.writeFailed) {
        // The file could not be completed (its last bytes could not be written out).
        r.result.ok = false;
        r.result.error = "cannot write " + r.filePath;
    }
    if (!r.result.ok) r.result.body.clear();
}

// Hands a request that cannot start to the next poll.
int FailLater(std::unique_ptr<Request> r, const std::string& why) {
    r->result.error = why;
    const int id = r->id;
    State().failed.push_back(std::move(r));
    return id;
}

}  // namespace

bool IsReservedInvalidHost(const std::string& host) {
    std::string h = Lower(host);
    while (!h.empty() && h.back() == '.') h.pop_back();
    return h == "invalid" || EndsWith(h, ".invalid");
}

bool IsHttpAddress(const std::string& url) {
    for (unsigned char c : url)
        if (c <= ' ' || c == 0x7F) return false;  // no blanks or control characters anywhere
    if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) return false;
    // The host follows the "//" at once ("https:///x" names none).
    const size_t afterSlashes = url.find("//") + 2;
    if (afterSlashes >= url.size() || url[afterSlashes] == '/') return false;
    return !HostOf(url).empty();
}

int HttpGet(const std::string& url, const THttpOptions& options, THttpCallback done) {
    Multi& m = State();
    auto r = std::make_unique<Request>();
    r->id = m.nextId++;
    r->done = std::move(done);
    if (!EnsureMulti()) return FailLater(std::move(r), "the HTTP client could not start");
    std::string why;
    if (!StartTransfer(*r, url, options, why)) return FailLater(std::move(r), why);
    if (curl_multi_add_handle(m.handle, r->easy) != CURLM_OK) {
        curl_easy_cleanup(r->easy);
        r->easy = nullptr;
        CloseFile(*r, false);
        return FailLater(std::move(r), "the HTTP client could not start");
    }
    const int id = r->id;
    m.running[id] = std::move(r);
    return id;
}

THttpResult HttpGetBlocking(const std::string& url, const THttpOptions& options,
                            const std::function<bool()>& keepGoing) {
    Request r;
    std::string why;
    CURLM* multi = nullptr;
    if (!GlobalInit() || !(multi = curl_multi_init())) {
        r.result.error = "the HTTP client could not start";
        return r.result;
    }
    if (!StartTransfer(r, url, options, why)) {
        curl_multi_cleanup(multi);
        r.result.error = why;
        return r.result;
    }
    bool given_up = false;
    CURLcode code = CURLE_OK;
    if (curl_multi_add_handle(multi, r.easy) != CURLM_OK) {
        code = CURLE_FAILED_INIT;
    } else {
        for (;;) {
            int active = 0;
            curl_multi_perform(multi, &active);
            int left = 0;
            CURLMsg* msg = curl_multi_info_read(multi, &left);
            if (msg && msg->msg == CURLMSG_DONE) {
                code = msg->data.result;
                break;
            }
            if (keepGoing && !keepGoing()) {
                given_up = true;
                break;
            }
            // Short waits, so a caller that gives up is heard at once.
            curl_multi_poll(multi, nullptr, 0, 50, nullptr);
        }
        curl_multi_remove_handle(multi, r.easy);
    }
    if (given_up) {
        curl_easy_cleanup(r.easy);
        r.easy = nullptr;
        CloseFile(r, false);
        curl_multi_cleanup(multi);
        r.result.error = "the transfer was given up";
        return r.result;
    }
    EndTransfer(r, code);
    curl_multi_cleanup(multi);
    return r.result;
}

void CancelHttpRequest(int id) {
    Multi& m = State();
    auto it = m.running.find(id);
    if (it != m.running.end()) {
        std::unique_ptr<Request> r = std::move(it->second);
        m.running.erase(it);
        FreeEasy(*r);
        CloseFile(*r, false);
        return;
    }
    std::erase_if(m.failed, [id](const std::unique_ptr<Request>& r) { return r->id == id; });
}

int HttpRequestsPending() {
    const Multi& m = State();
    return static_cast<int>(m.running.size() + m.failed.size());
}

void PollHttpRequests() {
    Multi& m = State();
    if (m.polling) return;
    if (m.running.empty() && m.failed.empty()) return;
    m.polling = true;
    std::vector<std::unique_ptr<Request>> finished = std::move(m.failed);
    m.failed.clear();
    if (m.handle && !m.running.empty()) {
        int active = 0;
        curl_multi_perform(m.handle, &active);
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(m.handle, &left)) {
            if (msg->msg != CURLMSG_DONE) continue;
            Request* raw = nullptr;
            curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &raw);
            if (!raw) continue;
            auto it = m.running.find(raw->id);
            if (it == m.running.end()) continue;
            std::unique_ptr<Request> r = std::move(it->second);
            m.running.erase(it);
            curl_multi_remove_handle(m.handle, r->easy);
            EndTransfer(*r, msg->data.result);
            finished.push_back(std::move(r));
        }
    }
    // Callbacks may start or cancel requests: they run once the bookkeeping above is done.
    // Every one is closed already: EndTransfer closed its file and emptied a failed body, and
    // one that never started has neither.
    for (auto& r : finished)
        if (r->done) r->done(r->result);
    m.polling = false;
}

void ResetHttpRequests() {
    Multi& m = State();
    for (auto& [id, r] : m.running) {
        FreeEasy(*r);
        CloseFile(*r, false);
    }
    m.running.clear();
    for (auto& r : m.failed) CloseFile(*r, false);
    m.failed.clear();
}
