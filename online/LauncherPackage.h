// Keeping the launcher's package fresh: one version request to the maker's server after the
// launcher screen, and, when the server names a newer version, the download of the package's
// zip and its installation. Everything completes on the main thread while the frame loop pumps
// the events; the new package is read at the next start.
//
// The server's reply is "VelkaroLauncherPackage|<version>|<zip address>" (further fields
// ignored). The zip holds "launcher.dat" and its pictures at its top level. It is unpacked into
// a folder beside the package and put in the package's place only when it unpacked safely and
// its description reads well: a failed, refused or damaged download leaves the installed package
// as it was.
//
// The outcome goes to the system log (standard error), never to the player.
#pragma once
#include <functional>
#include <string>

// One line of the launcher's network log. The default writes it to standard error; tests
// replace it.
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

// Sends the version request and returns at once. When the reply names a version above
// installedVersion, the zip is downloaded to destination + ".zip" and installed at destination.
void RequestForPackage(const std::string& packageUrl, int installedVersion, const std::string& destination);

// The one downloader of the process.
class TFileDownloader {
public:
    std::string downloadUrl;          // the zip's address of the last downloadFile
    std::string downloadDestination;  // the package folder it installs into

    static TFileDownloader& sharedDownloader();
    // Stores both and starts the download (an earlier one still under way is dropped).
    void downloadFile(const std::string& url, const std::string& destination);
    void startDownloadingURL(const std::string& url);
    // Completion: a transfer that failed or did not bring a 2xx reply changes nothing; a good
    // one is installed by unzip.
    void downloadDidFail(const std::string& why);
    void downloadDidFinish();
    // Installs the archive as the package; false (logged) when it was refused.
    bool unzip(const std::string& zipPath);
    // True while a download is under way.
    bool busy() const { return requestId_ != 0; }

private:
    int requestId_ = 0;
};

// sharedDownloader().downloadFile(url, destination).
void DownloadPackage(const std::string& url, const std::string& destination);

// Unpacks the archive into destination + ".new", checks it (a readable "launcher.dat" whose
// description reads well, pictures included) and swaps it in for destination. On any failure
// the destination is left exactly as it was and the unpacked copy removed.
bool InstallPackageArchive(const std::string& zipPath, const std::string& destination, std::string* error = nullptr);
