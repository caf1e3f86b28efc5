// The program's folders depend one way: every include of every source, read from the files
// themselves, points at the file's own folder or at a folder below it in one order. Nothing is
// excused: a lower folder reaches a higher one only through what it is handed or a hook that
// start-up sets, never by including it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders from the top down; the folders of one tier use none of each other. "engine" and
// "game" alone are the umbrella headers at those folders' roots (and the engine's managers'
// start-up), above everything of theirs.
const std::vector<std::vector<std::string>> kTiers = {
    // clang-format off
    {"game"},
    {"game/startup"},
    {"game/kingdom"},
    {"game/shell"},
    {"game/puzzle"},
    {"game/progress"},
    {"game/levels"},
    {"game/effects", "online"},
    {"engine"},
    {"engine/ui"},
    {"engine/particles"},
    {"engine/fading"},
    {"engine/screen"},
    {"engine/media"},
    {"engine/window"},
    {"engine/data"},
    {"engine/basics"},
    {"engine/system"},
    {"platform"},
    // clang-format on
};

// The roots whose folders take part.
const char* const kRoots[] = {"platform", "engine", "game", "online"};

// The folder of a path below the source root: "game/levels/Level.h" gives "game/levels",
// "engine/Engine.h" gives "engine", "online/Launcher.h" gives "online"; "" for a path outside
// the roots (a test's own header, a library's).
std::string FolderOf(const std::string& path) {
    const size_t first = path.find('/');
    if (first == std::string::npos) return "";
    const std::string top = path.substr(0, first);
    bool known = false;
    for (const char* root : kRoots) known = known || top == root;
    if (!known) return "";
    if (top != "engine" && top != "game") return top;
    const size_t second = path.find('/', first + 1);
    return second == std::string::npos ? top : path.substr(0, second);
}

// The tier of a folder from the top (0), or -1 when the order gives it no place.
int TierOf(const std::string& folder) {
    for (size_t i = 0; i < kTiers.size(); ++i)
        for (const std::string& f : kTiers[i])
            if (f == folder) return static_cast<int>(i);
    return -1;
}

struct Include {
    std::string file;  // the including file, below the source root
    int line = 0;
    std::string target;  // as written between the quotes
};

// Every quoted include of every source below the roots.
std::vector<Include> AllIncludes() {
    static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> found;
    for (const char* root : kRoots) {
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUILTORA_SOURCE_DIR) / root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            std::string text;
            std::smatch match;
            for (int line = 1; std::getline(in, text); ++line)
                if (std::regex_search(text, match, kInclude))
                    found.push_back({fs::relative(entry.path(), QUILTORA_SOURCE_DIR).generic_string(), line, match[1]});
        }
    }
    return found;
}

TEST(FolderDependencyTest, EveryIncludePointsAtItsOwnFolderOrBelow) {
    const std::vector<Include> includes = AllIncludes();
    ASSERT_GT(includes.size(), 1000u);  // the sources were found
    std::set<std::string> folders;
    for (const Include& inc : includes) {
        const std::string from = FolderOf(inc.file);
        folders.insert(from);
        const std::string to = FolderOf(inc.target);
        if (to.empty() || to == from) continue;
        const int fromTier = TierOf(from), toTier = TierOf(to);
        if (fromTier < 0 || toTier < 0) continue;  // reported below
        EXPECT_GT(toTier, fromTier) << inc.file << ":" << inc.line << " includes " << inc.target << " (" << from
                                    << " may not use " << to << ")";
    }
    // A new folder takes its place in the order before it is used, and the order names no folder
    // that is not there.
    for (const std::string& folder : folders) EXPECT_GE(TierOf(folder), 0) << folder << " has no place in the order";
    for (const auto& tier : kTiers)
        for (const std::string& folder : tier) EXPECT_TRUE(folders.count(folder)) << folder << " has no sources";
}

}  // namespace
