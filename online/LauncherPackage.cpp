#include "online/LauncherPackage.h"

#include <climits>
#include <cstdio>
#include <cstdint>

#include "online/Launcher.h"
#include "platform/Files.h"
#include "platform/HttpRequest.h"
#include "platform/Strings.h"
#include "platform/Unzip.h"

namespace {

void DefaultLog(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

// The version reply is a line of text: anything bigger is no reply of the launcher's.
constexpr int64_t kMaxReplyBytes = 64 * 1024;
// A package is a description and a few pictures.
constexpr int64_t kMaxPackageBytes = 64ll << 20;

bool IsUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int more;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            more = 1, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(more) >= s.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const unsigned char n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (n & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((more == 1 && cp < 0x80) || (more == 2 && cp < 0x800) || (more == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(more) + 1;
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
    if (LauncherLogHook) LauncherLogHook(line);
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

void RequestForPackage(const std::string& packageUrl, int installedVersion, const std::string& destination) {
    THttpOptions options;
    options.maxBytes = kMaxReplyBytes;
    HttpGet(packageUrl, options, [installedVersion, destination](const THttpResult& result) {
        if (!result.ok) {
            LauncherLog("Launcher request error: " + result.error);
            return;
        }
        if (!result.Success()) {
            // An error page is no reply, whatever it holds.
            LauncherLog("Launcher request error: HTTP status " + IntToString(result.status));
            return;
        }
        const TLauncherReply reply = ParseLauncherReply(result.body);
        if (!reply.ok) {
            LauncherLog("Launcher request error: " + reply.error);
            return;
        }
        LauncherLog("Local launcher package: " + IntToString(installedVersion));
        LauncherLog("Remonte launcher package: " + reply.versionText);
        if (reply.version > installedVersion) TFileDownloader::sharedDownloader().downloadFile(reply.zipUrl, destination);
    });
}

TFileDownloader& TFileDownloader::sharedDownloader() {
    static TFileDownloader downloader;
    return downloader;
}

void TFileDownloader::downloadFile(const std::string& url, const std::string& destination) {
    downloadUrl = url;
    downloadDestination = destination;
    startDownloadingURL(url);
}

void TFileDownloader::startDownloadingURL(const std::string& url) {
    if (requestId_ != 0) CancelHttpRequest(requestId_);
    THttpOptions options;
    options.toFile = downloadDestination + ".zip";
    options.maxBytes = kMaxPackageBytes;
    options.idleTimeoutMs = 60000;
    requestId_ = HttpGet(url, options, [this](const THttpResult& result) {
        requestId_ = 0;
        if (!result.ok) {
            downloadDidFail(result.error);
        } else if (!result.Success()) {
            downloadDidFail("HTTP status " + IntToString(result.status));
        } else {
            downloadDidFinish();
        }
    });
}

void TFileDownloader::downloadDidFail(const std::string& why) {
    // The installed package stays as it was; a partial zip was already removed.
    DeleteFile(downloadDestination + ".zip");
    LauncherLog("Launcher download error: " + why);
}

void TFileDownloader::downloadDidFinish() { unzip(downloadDestination + ".zip"); }

bool TFileDownloader::unzip(const std::string& zipPath) {
    std::string why;
    if (!InstallPackageArchive(zipPath, downloadDestination, &why)) {
        LauncherLog("Launcher package refused: " + why);
        return false;
    }
    return true;
}

void DownloadPackage(const std::string& url, const std::string& destination) {
    TFileDownloader::sharedDownloader().downloadFile(url, destination);
}

bool InstallPackageArchive(const std::string& zipPath, const std::string& destination, std::string* error) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const std::string fresh = destination + ".new";
    const std::string old = destination + ".old";
    DeleteDir(fresh);
    TUnzipLimits limits;
    limits.maxTotalBytes = kMaxPackageBytes;
    std::string why;
    if (!UnzipArchive(zipPath, fresh, &why, limits)) {
        DeleteDir(fresh);
        return fail(why);
    }
    const TLauncherDescription description = ReadLauncherDescription(fresh, LauncherAppId);
    if (description.corrupted) {
        DeleteDir(fresh);
        return fail("its description does not read (" + description.fault + ")");
    }
    // The swap: the installed package steps aside, the new one takes its name, the old one goes.
    DeleteDir(old);
    const bool hadPackage = FileType(destination) != 0;
    if (hadPackage && !RenameFile(destination, old)) {
        DeleteDir(fresh);
        return fail("cannot move " + destination + " aside");
    }
    if (!RenameFile(fresh, destination)) {
        if (hadPackage) RenameFile(old, destination);
        DeleteDir(fresh);
        return fail("cannot put the new package in place");
    }
    DeleteDir(old);
    return true;
}
