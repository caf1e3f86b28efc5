// Small helpers shared by the test suites.
#pragma once
#include <regex>
#include <string>

namespace testsupport {

// The repository's root folder (where data/ lives).
std::string SourceDir();
// The game executable built beside the tests.
std::string GameExe();

// A fresh temporary folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    // A folder in memory (/dev/shm) where there is one, for tests that write many small files
    // (each write of the game is flushed to the disk); else as above.
    struct InMemory {};
    explicit TempDir(InMemory);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Sets (or, with nullptr, removes) an environment variable until the object goes.
class ScopedEnv {
public:
    ScopedEnv(const std::string& name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

// Writes an executable shell script.
void WriteScript(const std::string& path, const std::string& body);

// Whole-file helpers working on raw bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The file or folder at `from` placed at `to` as hard links (a copy where a link cannot be
// made): a data folder put together from the repository's, whose files lie inside it by their
// real paths too (the game reads nothing outside its folders, through links neither).
bool MirrorEntry(const std::string& from, const std::string& to);

// Width and height from a PNG file's header; false when the file is missing or no PNG.
bool PngSize(const std::string& path, float& w, float& h);

// A line the game's error reporting printed (an error or a warning, with its prefix).
inline bool IsReportLine(const std::string& line) {
    static const std::regex report("^[A-Z ]*(ERROR|WARNING)\\b.*");
    return std::regex_match(line, report);
}

}  // namespace testsupport
