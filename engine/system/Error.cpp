#include "engine/system/Error.h"

#include <cctype>
#include <cstdio>
#include <set>

namespace {
ReportSink gErrorSink = nullptr;
ReportSink gCriticalSink = nullptr;
std::set<std::string> gReportedFiles;
int gHeld = 0;

int Report(const std::string& line) {
    if (gErrorSink) gErrorSink(line);
    Print(line);
    return 0;
}
}  // namespace

HeldContentReports::HeldContentReports() { ++gHeld; }
HeldContentReports::~HeldContentReports() { --gHeld; }

bool FirstReportAbout(const std::string& path) {
    std::string key = path;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return gReportedFiles.insert(key).second;
}

void ResetFileReports() { gReportedFiles.clear(); }

void SetErrorConsoleSink(ReportSink sink) { gErrorSink = sink; }
void SetCriticalConsoleSink(ReportSink sink) { gCriticalSink = sink; }

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

int Error(const std::string& message, const std::string& file, const std::string& code, const std::string& prefix) {
    if (gHeld > 0) return 0;
    return Report(BuildReportLine(message, file, code, prefix));
}

int Warning(const std::string& message, const std::string& file, const std::string& code, const std::string& prefix) {
    if (gHeld > 0) return 0;
    Print(BuildReportLine(message, file, code, prefix));
    return 0;
}

int ErrorScreen(const std::string& message, const std::string& file, const std::string& code) {
    return Error(message, file, code, "ERROR ");
}

int ErrorSearch(const std::string& message, const std::string& file, const std::string& code) {
    return Error(message, file, code, "ERROR ");
}

int ErrorNoFile(const std::string& url, const std::string& file, const std::string& code) {
    if (!FirstReportAbout(url)) return 0;
    return Report(BuildReportLine("No such file or directory! Url = " + url, file, code, "NO FILE ERROR "));
}

int ErrorImg(const std::string& url, const std::string& file, const std::string& code) {
    if (!FirstReportAbout(url)) return 0;
    return Report(BuildReportLine("Couldn't load TImg object! Url = " + url, file, code, "ERROR "));
}

int CriticalError(const std::string& text) {
    if (gCriticalSink) gCriticalSink(text);
    return 0;
}
