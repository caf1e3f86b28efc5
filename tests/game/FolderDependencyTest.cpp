// The game's folders depend one way: what each folder's sources include, read from the files
// themselves. A lower folder reaches a higher one only through the hooks that the higher one
// sets when its screens are made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folder an include names: "game/levels/Level.h" gives "game/puzzle", "engine/..." gives
// "engine".
std::string FolderOf(const std::string& include) {
    const size_t first = include.find('/');
    if (first == std::string::npos) return "";
    const std::string top = include.substr(0, first);
    if (top != "game") return top;
    const size_t second = include.find('/', first + 1);
    return second == std::string::npos ? "" : include.substr(0, second);
}

// Every quoted include of the folder's sources, with the file that makes it.
std::vector<std::pair<std::string, std::string>> IncludesOf(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> found;
    const fs::path root = fs::path(QUILTORA_SOURCE_DIR) / folder;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            const std::string mark = "#include \"";
            if (line.rfind(mark, 0) != 0) continue;
            const size_t end = line.find('"', mark.size());
            if (end != std::string::npos)
                found.emplace_back(fs::relative(entry.path(), QUILTORA_SOURCE_DIR).string(),
                                   line.substr(mark.size(), end - mark.size()));
        }
    }
    return found;
}

TEST(FolderDependencyTest, EachFolderIncludesOnlyTheFoldersBelowIt) {
    // The folders each folder may include besides itself. The puzzle and the player's progress
    // use each other's data (the game screen counts into the profile; the profile reads level
    // files), never each other's screens through the shell.
    const std::map<std::string, std::set<std::string>> allowed = {
        {"platform", {}},
        {"engine", {"platform"}},
        {"online", {"platform", "engine"}},
        {"game/effects", {"platform", "engine"}},
        {"game/levels", {"platform", "engine"}},
        {"game/progress", {"platform", "engine", "game/levels", "game/puzzle"}},
        {"game/puzzle", {"platform", "engine", "game/effects", "game/levels", "game/progress", "online"}},
        {"game/kingdom",
         {"platform", "engine", "game/effects", "game/levels", "game/progress", "game/puzzle", "game/shell"}},
        {"game/shell",
         {"platform", "engine", "game/effects", "game/levels", "game/progress", "game/puzzle", "game/kingdom",
          "online"}},
        {"game/startup",
         {"platform", "engine", "game/effects", "game/levels", "game/progress", "game/puzzle", "game/shell",
          "game/kingdom", "online"}},
    };
    for (const auto& [folder, may] : allowed) {
        for (const auto& [file, include] : IncludesOf(folder)) {
            const std::string target = FolderOf(include);
            if (target.empty() || target == folder) continue;
            EXPECT_TRUE(may.count(target)) << file << " includes " << include;
        }
    }
}

}  // namespace
