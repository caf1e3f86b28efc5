// Damaged data: the real executable started headless on a copy of data/ with files deleted or
// cut to half their length. The game must still start and run its frames, and say what is wrong
// with each damaged file it tried to read in exactly one report line (never a flood of lines,
// never a line about something else), going on without it.
//
// One game run per file would take too long for every test run, so the files are dealt into
// groups, each group damaged at once in one run: file i of the sorted list goes to group
// i % kGroups, deleted when (i / kGroups) is even and cut in half when odd. Which damaged files a
// run tried to read comes from tracing its file-system calls with strace (a file the game never
// looked for, because another damaged file that names it was not read either, is not counted).
// A group with a deleted level starts that level (--level).
//
// With QUILTORA_DAMAGE_EACH=1 every file of the group is damaged alone instead, both ways (two
// runs per file; about half an hour for the whole folder, so run it by hand:
//   QUILTORA_DAMAGE_EACH=1 build/tests/e2e_tests --gtest_filter='Groups/DamagedDataTest.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/GameRun.h"
#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;
using e2e::IsReportLine;
using e2e::Quote;

constexpr int kGroups = 16;
// Past the splash and the loading screen into the main menu (or the level).
constexpr int kFrames = 600;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Every file of data/, relative to it, sorted.
const std::vector<std::string>& DataFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> out;
        const fs::path root = testsupport::SourceDir() + "/data";
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.is_regular_file()) out.push_back(fs::relative(e.path(), root).generic_string());
        std::sort(out.begin(), out.end());
        return out;
    }();
    return files;
}

struct Damage {
    std::string file;  // relative to the data folder
    bool cut = false;  // cut to half its length; else deleted
};

struct Outcome {
    int status = -1;
    std::vector<std::string> reports;  // the run's error and warning lines
    std::string trace;                 // strace's record of the file-system calls, lower case
    bool traced = false;
};

Outcome RunDamaged(const std::vector<Damage>& damages) {
    testsupport::TempDir dir;
    const std::string data = dir.file("data");
    fs::copy(testsupport::SourceDir() + "/data", data, fs::copy_options::recursive);
    std::string level;
    for (const auto& d : damages) {
        const std::string path = data + "/" + d.file;
        if (d.cut) {
            const std::string bytes = testsupport::ReadFileBytes(path);
            testsupport::WriteFileBytes(path, bytes.substr(0, bytes.size() / 2));
        } else {
            fs::remove(path);
            static const std::regex levelFile("Game/Levels/[^/]+/Level-([0-9]+)\\.[A-Za-z]+");
            std::smatch m;
            if (level.empty() && std::regex_match(d.file, m, levelFile)) level = m[1];
        }
    }
    Outcome out;
    out.traced = FileType("/usr/bin/strace") == 1;
    const std::string trace = out.traced ? "strace -f -qq -e trace=file -o " + Quote(dir.file("trace.txt")) + " " : "";
    const std::string command = "timeout 280 " + trace + Quote(testsupport::GameExe()) + " --data " + Quote(data) +
                                " --user-dir " + Quote(dir.file("user")) + " --fixed-delta --frames " +
                                std::to_string(kFrames) + (level.empty() ? "" : " --level " + level) + " > " +
                                Quote(dir.file("out.txt")) + " 2>/dev/null";
    const int status = std::system(command.c_str());
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(testsupport::ReadFileBytes(dir.file("out.txt")));
    for (std::string line; std::getline(lines, line);)
        if (IsReportLine(line)) out.reports.push_back(line);
    if (out.traced) out.trace = Lower(testsupport::ReadFileBytes(dir.file("trace.txt")));
    // The paths in the lines and the trace lose the temporary folder's name.
    for (auto& line : out.reports) {
        for (size_t at; (at = line.find(data + "/")) != std::string::npos;) line.erase(at, data.size() + 1);
    }
    const std::string prefix = Lower(data + "/");
    for (size_t at; (at = out.trace.find(prefix)) != std::string::npos;) out.trace.replace(at, prefix.size(), "\"/");
    return out;
}

// The damaged file a report line speaks of: the one whose path it names, else the one whose
// file name it names; -1 for none.
int NamedFile(const std::string& line, const std::vector<Damage>& damages) {
    const std::string l = Lower(line);
    for (size_t i = 0; i < damages.size(); ++i)
        if (l.find(Lower(damages[i].file)) != std::string::npos) return static_cast<int>(i);
    for (size_t i = 0; i < damages.size(); ++i)
        if (l.find(Lower(fs::path(damages[i].file).filename().string())) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

void Check(const std::vector<Damage>& damages) {
    const Outcome run = RunDamaged(damages);
    std::string all;
    for (const auto& d : damages) all += (d.cut ? "  cut " : "  deleted ") + d.file + "\n";
    SCOPED_TRACE("damaged:\n" + all);
    // Started, ran its frames and ended the normal way: no crash, no hang.
    ASSERT_EQ(run.status, 0);
    std::vector<std::vector<std::string>> named(damages.size());
    for (const auto& line : run.reports) {
        const int i = NamedFile(line, damages);
        EXPECT_GE(i, 0) << "a report line about none of the damaged files: " << line;
        if (i >= 0) named[i].push_back(line);
    }
    for (size_t i = 0; i < damages.size(); ++i) {
        const Damage& d = damages[i];
        std::string lines;
        for (const auto& l : named[i]) lines += "\n    " + l;
        // One line at most for a file, however many places use it.
        EXPECT_LE(named[i].size(), 1u) << d.file << lines;
        // A missing file the game looked for is always reported. (A file cut short may still
        // read well: a text with fewer lines, a picture whose decoder needs no more.)
        const bool looked = !run.traced || run.trace.find("\"/" + Lower(d.file) + "\"") != std::string::npos;
        if (!d.cut && looked) {
            EXPECT_EQ(named[i].size(), 1u) << d.file << " was looked for but not reported" << lines;
        }
    }
}

class DamagedDataTest : public ::testing::TestWithParam<int> {};

TEST_P(DamagedDataTest, TheGameStartsAndReportsEachDamagedFileOnce) {
    const auto& files = DataFiles();
    ASSERT_GT(files.size(), 100u);
    std::vector<Damage> group;
    for (size_t i = 0; i < files.size(); ++i)
        if (static_cast<int>(i % kGroups) == GetParam()) group.push_back({files[i], (i / kGroups) % 2 == 1});
    const char* each = std::getenv("QUILTORA_DAMAGE_EACH");
    if (each && std::string(each) == "1") {
        for (const auto& d : group) {
            Check({{d.file, false}});
            Check({{d.file, true}});
        }
    } else {
        Check(group);
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, DamagedDataTest, ::testing::Range(0, kGroups));

}  // namespace
