#include "online/LauncherPackage.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdint>

#include "online/Launcher.h"
#include "platform/Files.h"
#include "platform/HttpRequest.h"
#include "platform/Input.h"
#include "platform/Strings.h"
#include "platform/Unzip.h"

namespace {

void DefaultLog(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

// The version reply is a line of text: anything bigger is no reply of the launcher's.
constexpr int64_t kMaxReplyBytes = 64 * 1024;
// The most of a log line that is printed.
constexpr size_t kMaxLogLineBytes = 400;
// The longest the two transfers may take in all (the worker waits, not the frame loop).
constexpr int kReplyTimeoutMs = 30000;
constexpr int kArchiveTimeoutMs = 300000;

bool KeepGoing() { return TLauncherWorker::Shared().KeepGoing(); }

// A log line from the worker, written on the main thread.
void WorkerLog(const std::string& line) { TLauncherWorker::Shared().PostLog(line); }

void RemoveEntry(const std::string& path) {
    const int type = FileType(path);
    if (type == 1) DeleteFile(path);
    if (type == 2) DeleteDir(path);
}

bool IsUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const size_t length = Utf8CharLength(s, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// A whole number at the start of the text (white space and line breaks before it allowed, an
// optional sign); a number too large for an int is held at the int's limit.
bool ScanInt(const std::string& text, int& out) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT_MAX) + 1) value = static_cast<int64_t>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

std::function<void(const std::string& line)> LauncherLogHook = &DefaultLog;

void LauncherLog(const std::string& line) {
    // Its lines carry what a server sent (a version field, a zip's entry names, a package's
    // picture names): printed escaped and bounded, never as raw bytes.
    if (LauncherLogHook) LauncherLogHook(ConsoleExcerpt(line, kMaxLogLineBytes));
}

TLauncherReply ParseLauncherReply(const std::string& body) {
    TLauncherReply reply;
    if (!IsUtf8(body)) {
        reply.error = "can't read data";
        return reply;
    }
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = body.find('|', start);
        fields.push_back(body.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    if (fields.size() < 3) {
        reply.error = "too few parameters";
        return reply;
    }
    if (fields[0] != "VelkaroLauncherPackage") {
        reply.error = "check word not found";
        return reply;
    }
    if (!ScanInt(fields[1], reply.version)) {
        reply.error = "version variable is not integer";
        return reply;
    }
    reply.versionText = fields[1];
    // A line break after the address (the usual end of a reply) is no part of it.
    reply.zipUrl = Trim(fields[2]);
    reply.ok = true;
    return reply;
}

// ---------------------------------------------------------------------------------------------
// The worker

TLauncherWorker& TLauncherWorker::Shared() {
    // The downloader its jobs use is made first, so that it outlives the worker.
    TFileDownloader::sharedDownloader();
    static TLauncherWorker worker;
    return worker;
}

TLauncherWorker::~TLauncherWorker() { Stop(); }

bool TLauncherWorker::Start(std::function<void()> job, std::function<void()> done) {
    if (Busy()) return false;  // also while the last job's thread is not yet joined
    if (pollHook_ == 0) pollHook_ = AddPollHook([] { TLauncherWorker::Shared().Deliver(); });
    stop_ = false;
    running_ = true;
    done_ = std::move(done);
    thread_ = std::thread([this, job = std::move(job)] {
        job();
        running_ = false;
    });
    return true;
}

bool TLauncherWorker::Busy() const {
    if (running_) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    return !posted_.empty() || thread_.joinable();
}

void TLauncherWorker::Post(std::function<void()> work) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back({std::string(), std::move(work)});
}

void TLauncherWorker::PostLog(std::string line) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.push_back({std::move(line), nullptr});
}

void TLauncherWorker::Deliver() {
    // The thread first, once its job has ended: what it handed on is then all there.
    const bool ended = !running_ && thread_.joinable();
    if (ended) thread_.join();
    std::vector<TPosted> posted;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posted.swap(posted_);
    }
    for (TPosted& p : posted) {
        if (p.work) p.work();
        else LauncherLog(p.line);
    }
    if (ended && done_) {
        // Taken out first: it may start the next job.
        std::function<void()> done = std::move(done_);
        done_ = nullptr;
        done();
    }
    // Idle: the event pump hands nothing on until a job starts again, which hooks it anew. The
    // hook lives as long as the work it delivers, like a request's completion.
    if (pollHook_ != 0 && !Busy()) {
        RemovePollHook(pollHook_);
        pollHook_ = 0;
    }
}

void TLauncherWorker::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    running_ = false;
    done_ = nullptr;
    std::vector<TPosted> posted;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posted.swap(posted_);
    }
    // The log lines say what the stopped job did and met: printed, never dropped.
    for (const TPosted& p : posted)
        if (!p.work) LauncherLog(p.line);
    if (pollHook_ != 0) {
        RemovePollHook(pollHook_);
        pollHook_ = 0;
    }
}

bool LauncherWorkPending() { return TLauncherWorker::Shared().Busy(); }

void StopLauncherWork() { TLauncherWorker::Shared().Stop(); }

// ---------------------------------------------------------------------------------------------
// The request and the download

int LauncherPackageVersion(const std::string& packageFolder, const TLauncherBudget& budget,
                           const std::function<bool()>& keepGoing) {
    const TLauncherPackageData read = ReadLauncherPackage(packageFolder, LauncherAppId, budget, keepGoing);
    return read.corrupted ? 0 : read.version;
}

void RequestForPackage(const std::string& packageUrl, int installedVersion, const std::string& destination) {
    // Read here, on the main thread: the budget's side asks the GL.
    const TLauncherBudget budget = LauncherBudget();
    const bool started = TLauncherWorker::Shared().Start([packageUrl, installedVersion, destination, budget] {
        // Only the version is wanted, but a package is whole only when its pictures decode: read
        // here, never on the frame loop.
        const int installed =
            installedVersion >= 0 ? installedVersion : LauncherPackageVersion(destination, budget, &KeepGoing);
        if (!KeepGoing()) return;
        THttpOptions options;
        options.maxBytes = kMaxReplyBytes;
        options.totalTimeoutMs = kReplyTimeoutMs;
        const THttpResult result = HttpGetBlocking(packageUrl, options, &KeepGoing);
        if (!KeepGoing()) return;
        if (!result.ok) {
            WorkerLog("Launcher request error: " + result.error);
            return;
        }
        if (!result.Success()) {
            // An error page is no reply, whatever it holds.
            WorkerLog("Launcher request error: HTTP status " + IntToString(result.status));
            return;
        }
        const TLauncherReply reply = ParseLauncherReply(result.body);
        if (!reply.ok) {
            WorkerLog("Launcher request error: " + reply.error);
            return;
        }
        WorkerLog("Local launcher package: " + IntToString(installed));
        WorkerLog("Remonte launcher package: " + reply.versionText);
        if (reply.version <= installed) return;
        TFileDownloader& downloader = TFileDownloader::sharedDownloader();
        downloader.downloadUrl = reply.zipUrl;
        downloader.downloadDestination = destination;
        downloader.budget_ = budget;
        downloader.startDownloadingURL(reply.zipUrl);
    });
    if (!started) LauncherLog("Launcher request error: an update of the package is already under way");
}

TFileDownloader& TFileDownloader::sharedDownloader() {
    static TFileDownloader downloader;
    return downloader;
}

void TFileDownloader::startDownloadingURL(const std::string& url) {
    THttpOptions options;
    options.toFile = downloadDestination + ".zip";
    options.maxBytes = budget_.maxArchiveBytes;
    options.idleTimeoutMs = 60000;
    options.totalTimeoutMs = kArchiveTimeoutMs;
    const THttpResult result = HttpGetBlocking(url, options, &KeepGoing);
    if (!KeepGoing()) {
        DeleteFile(downloadDestination + ".zip");
        return;
    }
    if (!result.ok) {
        downloadDidFail(result.error);
    } else if (!result.Success()) {
        downloadDidFail("HTTP status " + IntToString(result.status));
    } else {
        downloadDidFinish();
    }
}

void TFileDownloader::downloadDidFail(const std::string& why) {
    // The installed package stays as it was; nothing of the download is kept.
    DeleteFile(downloadDestination + ".zip");
    WorkerLog("Launcher download error: " + why);
}

void TFileDownloader::downloadDidFinish() { unzip(downloadDestination + ".zip"); }

bool TFileDownloader::unzip(const std::string& zipPath) {
    std::string why;
    auto read = std::make_shared<TLauncherPackageData>();
    const bool installed = InstallPackageArchive(zipPath, downloadDestination, &why, budget_, read.get(), &KeepGoing);
    // The archive is never kept, whatever came of it.
    DeleteFile(zipPath);
    if (!installed) {
        if (KeepGoing()) WorkerLog("Launcher package refused: " + why);
        return false;
    }
    // The frame loop takes the new package in at its next event pump.
    const std::string destination = downloadDestination;
    TLauncherWorker::Shared().Post(
        [read, destination] { TakeInstalledLauncherPackage(destination, std::move(*read)); });
    return true;
}

// ---------------------------------------------------------------------------------------------
// Installing

bool InstallPackageArchive(const std::string& zipPath, const std::string& destination, std::string* error,
                           const TLauncherBudget& budget, TLauncherPackageData* read,
                           const std::function<bool()>& keepGoing) {
    const std::string fresh = destination + ".new";
    const std::string old = destination + ".old";
    auto fail = [error, &fresh](const std::string& why) {
        DeleteDir(fresh);
        if (error) *error = why;
        return false;
    };
    auto stopped = [&keepGoing] { return keepGoing && !keepGoing(); };
    DeleteDir(fresh);
    TUnzipLimits limits;
    limits.maxTotalBytes = budget.maxUnpackedBytes;
    limits.maxEntries = budget.maxArchiveEntries;
    std::string why;
    if (!UnzipArchive(zipPath, fresh, &why, limits)) return fail(why);
    if (stopped()) return fail("the install was stopped");
    TLauncherPackageData data = ReadLauncherPackage(fresh, LauncherAppId, budget, keepGoing);
    if (stopped()) return fail("the install was stopped");
    if (data.overBudget) return fail(data.fault);
    if (data.corrupted) return fail("its description does not read (" + data.fault + ")");
    // The swap: the installed package steps aside, the new one takes its name, the old one goes.
    DeleteDir(old);
    const bool hadPackage = FileType(destination) != 0;
    if (hadPackage && !RenameFile(destination, old)) return fail("cannot move " + destination + " aside");
    if (!RenameFile(fresh, destination)) {
        if (hadPackage) RenameFile(old, destination);
        return fail("cannot put the new package in place");
    }
    DeleteDir(old);
    if (read) *read = std::move(data);
    return true;
}

bool InstallShippedPackage(const std::string& shipped, const std::string& destination, const TLauncherBudget& budget,
                           const std::function<void(const std::string&)>& log, const std::function<bool()>& keepGoing) {
    const std::string copy = destination + ".new";
    RemoveEntry(copy);
    std::vector<std::string> skipped;
    std::string error;
    const bool copied =
        CopyDirWithin(shipped, copy, budget.maxUnpackedBytes, budget.maxArchiveEntries, skipped, error, keepGoing);
    for (const std::string& path : skipped)
        log("Launcher package: " + path + " is a link or not a file; it is not copied");
    if (!copied || !RenameFile(copy, destination)) {
        if (!copied && !(keepGoing && !keepGoing())) log("Launcher package: not installed, " + error);
        RemoveEntry(copy);
        return false;
    }
    return true;
}

void RemovePackageLeftovers(const std::string& destination) {
    if (TLauncherWorker::Shared().Busy()) return;
    // The run ended between the two renames of an install: the package stepped aside is whole.
    if (FileType(destination) == 0 && FileType(destination + ".old") == 2)
        RenameFile(destination + ".old", destination);
    RemoveEntry(destination + ".zip");
    RemoveEntry(destination + ".new");
    RemoveEntry(destination + ".old");
}
