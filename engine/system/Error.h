// Error reporting. Errors never stop the program: a report is written and the failing
// operation returns an empty result.
#pragma once
#include <cstddef>
#include <string>
#include <vector>
#include <version>
#ifdef __cpp_lib_source_location
#include <source_location>
using TCallSite = std::source_location;
#else
// A compiler whose library has no std::source_location (clang before 15 on GCC's library, as the
// fuzzing build uses): the same two names from the builtins it has. The function is then named
// without its class.
struct TCallSite {
    static constexpr TCallSite current(const char* file = __builtin_FILE(),
                                       const char* function = __builtin_FUNCTION()) {
        return {file, function};
    }
    constexpr const char* file_name() const { return file; }
    constexpr const char* function_name() const { return function; }
    const char* file;
    const char* function;
};
#endif

// The report line: prefix, then "(" + " File: " F " " + " Code: " C " " + ") " when a file
// or code is given, then the message.
std::string BuildReportLine(const std::string& message, const std::string& file, const std::string& code,
                            const std::string& prefix);

// Where a report is made, as the compiler knows it: the file is the source file's name without
// folder and ending ("Profile"), the code the function with its class ("TProfile::Save"). Empty,
// a report names no place.
struct TReportPlace {
    std::string file;
    std::string code;
};
// The place of the call: Error("...", Here()) in TProfile::Save of game/progress/Profile.cpp
// reads "ERROR ( File: Profile  Code: TProfile::Save ) ...". A helper that reports for its caller
// takes the caller's Here().
TReportPlace Here(TCallSite where = TCallSite::current());

// Keeps the line for the console's error log (TakeConsoleReports), then prints it.
int Error(const std::string& message, const TReportPlace& place = {}, const std::string& prefix = "ERROR ");
// Prints the line only.
int Warning(const std::string& message, const TReportPlace& place = {}, const std::string& prefix = "WARNING ");
int ErrorScreen(const std::string& message, const TReportPlace& place = {});
int ErrorSearch(const std::string& message, const TReportPlace& place = {});
// A file that cannot be read is reported once per path (letter case ignored): a picture or a
// font that many objects use gives one line, not one per object. Both return 0.
int ErrorNoFile(const std::string& url, const TReportPlace& place = {});
int ErrorImg(const std::string& url, const TReportPlace& place = {});
// True the first time it is asked about a path (letter case ignored), false after: for other
// reports about a file that must be made only once.
bool FirstReportAbout(const std::string& path);
// Forgets the paths reported so far (tests, and a new run of the data).
void ResetFileReports();
// Which file the lines being made are about: while one of these lives, the file it names is
// the one being read, until a file read inside it (an animation, a sound, a picture description
// that an object of a screen loads) opens its own. Nests.
class FileBeingRead {
public:
    explicit FileBeingRead(const std::string& path);
    ~FileBeingRead();
    FileBeingRead(const FileBeingRead&) = delete;
    FileBeingRead& operator=(const FileBeingRead&) = delete;

protected:
    FileBeingRead(const std::string& path, bool held);
};
// A file already reported as damaged, read for what it still holds: while it is the file being
// read, Error and Warning lines about its contents are not printed (the file was said). Lines
// made while a file read inside it is the one being read are about that file and are printed,
// as are lines about no file's contents (ErrorNoFile, ErrorImg, ProgramError). Nests.
class HeldContentReports : public FileBeingRead {
public:
    explicit HeldContentReports(const std::string& path) : FileBeingRead(path, true) {}
};

// A line about the program itself, not about what a file holds (a hook called while nobody set
// it, a screen asked for before it is made): kept for the console's error log and printed
// always, whatever file is being read.
int ProgramError(const std::string& message, const TReportPlace& place = {});

// Kept for the console, which shows it over the picture; nothing goes to standard output.
int CriticalError(const std::string& text);

// Writes one line to standard output, flushed at once.
void Print(const std::string& line);

// What the console shows of the reports: the Error lines (those of ErrorNoFile, ErrorImg and
// ProgramError too) and the CriticalError texts, each with the application clock's time it was
// made, kept here until the console takes them as it updates and draws: the console reads them
// from below, nothing here calls up into it. Kept only once the console asked for them
// (KeepConsoleReports), at most kConsoleReportsKept (the oldest go first).
struct TConsoleReport {
    bool critical = false;
    std::string text;
    int time = 0;
};
constexpr size_t kConsoleReportsKept = 256;
// The application clock's time that the reports kept from now on carry. The clock (AppTime, in a
// folder above) hands each new value down as it sets it, so that nothing here reads it from above.
void SetReportClock(int ms);
void KeepConsoleReports(bool on);
std::vector<TConsoleReport> TakeConsoleReports();

// Tests: a function that sees each line as it is kept for the console (null: none).
using ReportWatcher = void (*)(const std::string& line);
void WatchErrorReports(ReportWatcher watcher);
void WatchCriticalReports(ReportWatcher watcher);
