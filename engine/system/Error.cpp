#include "engine/system/Error.h"

#include <cctype>
#include <cstdio>
#include <deque>
#include <set>
#include <string_view>
#include <vector>

namespace {
ReportWatcher gErrorWatcher = nullptr;
ReportWatcher gCriticalWatcher = nullptr;
bool gKeepForConsole = false;
int gReportClock = 0;  // the application clock as last handed down (SetReportClock)
std::deque<TConsoleReport> gConsoleReports;
std::set<std::string> gReportedFiles;
// The files being read, the innermost last; `held`: its content lines are not printed.
struct TFileRead {
    std::string path;
    bool held;
};
std::vector<TFileRead> gFilesRead;

bool ContentHeld() { return !gFilesRead.empty() && gFilesRead.back().held; }

void KeepForConsole(bool critical, const std::string& text) {
    if (!gKeepForConsole) return;
    gConsoleReports.push_back({critical, text, gReportClock});
    while (gConsoleReports.size() > kConsoleReportsKept) gConsoleReports.pop_front();
}

int Report(const std::string& line) {
    KeepForConsole(false, line);
    if (gErrorWatcher) gErrorWatcher(line);
    Print(line);
    return 0;
}
}  // namespace

FileBeingRead::FileBeingRead(const std::string& path) : FileBeingRead(path, false) {}
FileBeingRead::FileBeingRead(const std::string& path, bool held) {
    // A held file read again inside its own reading is still held.
    for (const TFileRead& outer : gFilesRead) held = held || (outer.held && outer.path == path);
    gFilesRead.push_back({path, held});
}
FileBeingRead::~FileBeingRead() { gFilesRead.pop_back(); }

bool FirstReportAbout(const std::string& path) {
    std::string key = path;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return gReportedFiles.insert(key).second;
}

void ResetFileReports() { gReportedFiles.clear(); }

void SetReportClock(int ms) { gReportClock = ms; }

void KeepConsoleReports(bool on) {
    gKeepForConsole = on;
    if (!on) gConsoleReports.clear();
}

std::vector<TConsoleReport> TakeConsoleReports() {
    std::vector<TConsoleReport> reports(gConsoleReports.begin(), gConsoleReports.end());
    gConsoleReports.clear();
    return reports;
}

void WatchErrorReports(ReportWatcher watcher) { gErrorWatcher = watcher; }
void WatchCriticalReports(ReportWatcher watcher) { gCriticalWatcher = watcher; }

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string BuildReportLine(const std::string& message, const std::string& file, const std::string& code,
                            const std::string& prefix) {
    std::string line = prefix;
    bool paren = !file.empty() || !code.empty();
    if (paren) line += "(";
    if (!file.empty()) line += " File: " + file + " ";
    if (!code.empty()) line += " Code: " + code + " ";
    if (paren) line += ") ";
    line += message;
    return line;
}

TReportPlace Here(TCallSite where) {
    // The file: the last path element without its ending.
    std::string_view file = where.file_name();
    if (const size_t slash = file.find_last_of('/'); slash != std::string_view::npos) file.remove_prefix(slash + 1);
    if (const size_t dot = file.rfind('.'); dot != std::string_view::npos) file = file.substr(0, dot);
    // The function: the compiler gives it with its return type and parameters ("int
    // TProfile::Save(const string&)", "TProfile::Save()::<lambda(int)>" inside a lambda). The
    // name is what stands before the first parenthesis outside template brackets, from the last
    // blank outside them.
    std::string_view code = where.function_name();
    int depth = 0;
    size_t open = code.size(), start = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '<') ++depth;
        else if (c == '>' && depth > 0) --depth;
        else if (depth == 0 && c == ' ') start = i + 1;
        else if (depth == 0 && c == '(') {
            open = i;
            break;
        }
    }
    if (start > open) start = 0;
    code = code.substr(start, open - start);
    // A function of a file's own (anonymous) namespace is named without it.
    for (std::string_view anonymous : {"{anonymous}::", "(anonymous namespace)::"})
        if (code.substr(0, anonymous.size()) == anonymous) code.remove_prefix(anonymous.size());
    return {std::string(file), std::string(code)};
}

int Error(const std::string& message, const TReportPlace& place, const std::string& prefix) {
    if (ContentHeld()) return 0;
    return Report(BuildReportLine(message, place.file, place.code, prefix));
}

int Warning(const std::string& message, const TReportPlace& place, const std::string& prefix) {
    if (ContentHeld()) return 0;
    Print(BuildReportLine(message, place.file, place.code, prefix));
    return 0;
}

int ProgramError(const std::string& message, const TReportPlace& place) {
    return Report(BuildReportLine(message, place.file, place.code, "ERROR "));
}

int ErrorScreen(const std::string& message, const TReportPlace& place) { return Error(message, place, "ERROR "); }

int ErrorSearch(const std::string& message, const TReportPlace& place) { return Error(message, place, "ERROR "); }

int ErrorNoFile(const std::string& url, const TReportPlace& place) {
    if (!FirstReportAbout(url)) return 0;
    return Report(BuildReportLine("No such file or directory! Url = " + url, place.file, place.code, "NO FILE ERROR "));
}

int ErrorImg(const std::string& url, const TReportPlace& place) {
    if (!FirstReportAbout(url)) return 0;
    return Report(BuildReportLine("Couldn't load TImg object! Url = " + url, place.file, place.code, "ERROR "));
}

int CriticalError(const std::string& text) {
    KeepForConsole(true, text);
    if (gCriticalWatcher) gCriticalWatcher(text);
    return 0;
}
