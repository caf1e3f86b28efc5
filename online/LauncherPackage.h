// Keeping the launcher's package fresh: one version request to the maker's server after the
// launcher screen, and, when the server names a newer version, the download of the package's
// zip and its installation.
//
// All of it runs on one worker thread (TLauncherWorker): the request, the download, the
// unpacking, the check of the new package against its budget (online/Launcher.h) and the
// decoding of its pictures. The frame loop never waits for any of it: at its event pump it only
// hands on the log lines and takes the finished package in (the running launcher then shows
// it). The thread's life is bounded: every transfer has time limits, every step asks whether
// to go on (a picture's decoding too), and the program stops and joins it before it ends.
//
// The server's reply is "VelkaroLauncherPackage|<version>|<zip address>" (further fields
// ignored). The zip holds "launcher.dat" and its pictures at its top level. It is downloaded to
// the package folder's name + ".zip", unpacked into the name + ".new", and put in the package's
// place (the old package stepped aside as the name + ".old", then removed) only when it
// unpacked safely within the budget and its description and pictures read well: a failed,
// refused or damaged download leaves the installed package as it was. The archive, the
// unpacked copy and the old package are removed once an install ends either way, and at the
// next start (a package stepped aside with none in its place is put back first).
//
// The outcome goes to the system log (standard error), never to the player.
#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "online/Launcher.h"

// One line of the launcher's network log, on the main thread. The default writes it to
// standard error; tests replace it.
extern std::function<void(const std::string& line)> LauncherLogHook;
void LauncherLog(const std::string& line);

// The version reply, read.
struct TLauncherReply {
    bool ok = false;
    std::string error;        // the log line's reason when not ok
    int version = 0;          // the server's version
    std::string versionText;  // field 2 as it came
    std::string zipUrl;       // field 3, without surrounding white space
};

// Reads a reply body (UTF-8 text, fields split at "|").
TLauncherReply ParseLauncherReply(const std::string& body);

// The launcher's one worker thread: runs one job at a time; what the job hands to the main
// thread (log lines, the finished package) runs there at the next event pump, in order.
class TLauncherWorker {
public:
    static TLauncherWorker& Shared();
    ~TLauncherWorker();

    // Runs the job on a new thread and returns at once; false, and nothing started, while a job
    // runs or what it handed on still waits. `done` (when given) runs on the main thread at the
    // event pump after the job has ended and what it handed on has run (the worker is free again
    // then); never when the job was stopped. Main thread.
    bool Start(std::function<void()> job, std::function<void()> done = nullptr);
    // A job runs, or what it handed on waits for the main thread.
    bool Busy() const;
    // For the job: false once the work is to stop.
    bool KeepGoing() const { return !stop_; }
    // For the job: work for the main thread.
    void Post(std::function<void()> work);
    // For the job: a log line for the main thread; printed at the next event pump, or at Stop.
    void PostLog(std::string line);
    // Runs what was handed on and joins a job that has ended. Main thread (the event pump).
    void Deliver();
    // Tells the job to stop and waits for its thread; of what it handed on, the log lines are
    // printed and the rest is dropped. Main thread.
    void Stop();

private:
    TLauncherWorker() = default;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    // What the job handed on, in order: a log line, or other work.
    struct TPosted {
        std::string line;
        std::function<void()> work;
    };
    std::vector<TPosted> posted_;
    std::function<void()> done_;
    int pollHook_ = 0;
};

// The worker is busy (tests wait for it with the event pump).
bool LauncherWorkPending();
// TLauncherWorker::Shared().Stop(): called before the program ends.
void StopLauncherWork();

// Sends the version request on the worker and returns at once. When the reply names a version
// above installedVersion, the zip is downloaded to destination + ".zip" and installed at
// destination. An installedVersion below 0 is read first, on the worker, from the package at
// destination (LauncherPackageVersion). Refused with a log line while an update is under way.
void RequestForPackage(const std::string& packageUrl, int installedVersion, const std::string& destination);

// The version of the package in the folder as the request compares it: 0 when it is missing or
// faulty. Reads the whole package (its pictures too): any thread.
int LauncherPackageVersion(const std::string& packageFolder, const TLauncherBudget& budget,
                           const std::function<bool()>& keepGoing = nullptr);

// The one downloader of the process. Its steps run on the worker.
class TFileDownloader {
public:
    std::string downloadUrl;          // the zip's address of the last download
    std::string downloadDestination;  // the package folder it installs into

    static TFileDownloader& sharedDownloader();
    // The download (on the worker), within the budget's archive size and the time limits.
    void startDownloadingURL(const std::string& url);
    // Completion: a transfer that failed or did not bring a 2xx reply changes nothing; a good
    // one is installed by unzip.
    void downloadDidFail(const std::string& why);
    void downloadDidFinish();
    // Installs the archive as the package, removes the archive, and hands the new package to
    // the main thread; false (logged) when it was refused.
    bool unzip(const std::string& zipPath);
    // True while a download, or any other work of the worker, is under way.
    bool busy() const { return TLauncherWorker::Shared().Busy(); }

private:
    friend void RequestForPackage(const std::string&, int, const std::string&);
    TLauncherBudget budget_;
};

// Unpacks the archive into destination + ".new" within the budget (its unpacked bytes and
// entries), checks it (a description that reads well, its pictures within the budget) and
// swaps it in for destination. On any failure the destination is left exactly as it was and
// the unpacked copy removed; the archive itself is left to the caller. The package read is
// kept in `read` (when given) for the running launcher. keepGoing is asked between the steps.
bool InstallPackageArchive(const std::string& zipPath, const std::string& destination, std::string* error = nullptr,
                           const TLauncherBudget& budget = {}, TLauncherPackageData* read = nullptr,
                           const std::function<bool()>& keepGoing = nullptr);

// Installs the data folder's package (`shipped`) at destination on a first start: copied beside
// it (destination + ".new") and renamed into place, so an interrupted copy is never taken for an
// installed package. Links in it are not followed: each is skipped and told through `log`, as
// is a copy refused for passing the budget's unpacked bytes or entries. Any thread; keepGoing
// is asked before each entry.
bool InstallShippedPackage(const std::string& shipped, const std::string& destination, const TLauncherBudget& budget,
                           const std::function<void(const std::string&)>& log,
                           const std::function<bool()>& keepGoing = nullptr);

// Removes what an install leaves beside the package folder while it runs (the archive, the
// unpacked copy, the old package), putting the old package back first when no package stands
// in its place. Nothing while the worker is busy.
void RemovePackageLeftovers(const std::string& destination);
