// Installing the game: `cmake --install` with a prefix into a DESTDIR, as a distribution does, and
// the Debian package installed and removed with dpkg in a sandbox (a root and a package database
// of its own, seeded with the machine's list of installed packages so that the dependencies are
// checked against it). Each gives a tree holding exactly the game, its data, its documents (the
// README with every relative link resolving where it is installed), the menu entry, its icons and
// the metadata, which both validators accept; the menu entry's command,
// found on the PATH, starts the game headless from another working folder to the main menu with
// no error line, writing only to the per-user folder; removing the package leaves nothing of it
// but the player's files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/GameRun.h"

namespace {

namespace fs = std::filesystem;
using e2e::IsReportLine;
using e2e::Quote;

const std::string kAppId = "com.velkaro.Quiltora";

struct Command {
    int status = -1;
    std::string output;  // standard output and error
};

Command Shell(const testsupport::TempDir& dir, const std::string& command) {
    const std::string out = dir.file("command.txt");
    const int status = std::system((command + " > " + Quote(out) + " 2>&1").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::ReadFileBytes(out)};
}

// Every file below root (relative paths) with its size and time of change.
using Tree = std::map<std::string, std::pair<uintmax_t, fs::file_time_type>>;
Tree Files(const std::string& root) {
    Tree tree;
    if (!fs::is_directory(root)) return tree;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (!e.is_directory()) tree[fs::relative(e.path(), root).string()] = {e.file_size(), e.last_write_time()};
    return tree;
}

// A key's value in a desktop entry's text.
std::string EntryValue(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

// The packages holding the libraries that an executable names, as the machine's package
// database knows them.
std::vector<std::string> LinkedPackages(const testsupport::TempDir& dir, const std::string& exe) {
    std::vector<std::string> packages;
    const Command needed = Shell(dir, "readelf -d " + Quote(exe));
    const Command loaded = Shell(dir, "ldd " + Quote(exe));
    EXPECT_EQ(needed.status + loaded.status, 0) << needed.output << loaded.output;
    std::istringstream lines(needed.output);
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find("Shared library: [");
        if (at == std::string::npos) continue;
        const std::string soname = line.substr(at + 17, line.find(']', at) - at - 17);
        // "\tsoname => /lib/<multiarch>/soname (address)": the package owning <multiarch>/soname
        // in any folder, /lib and /usr/lib being one.
        const size_t entry = loaded.output.find("\t" + soname + " => /");
        EXPECT_NE(entry, std::string::npos) << soname;
        if (entry == std::string::npos) continue;
        const size_t from = loaded.output.find(" => ", entry) + 4;
        const fs::path file = loaded.output.substr(from, loaded.output.find(" (", from) - from);
        const std::string pattern = "*/" + file.parent_path().filename().string() + "/" + soname;
        const Command owner = Shell(dir, "dpkg -S " + Quote(pattern));
        EXPECT_EQ(owner.status, 0) << owner.output;
        packages.push_back(owner.output.substr(0, owner.output.find_first_of(":")));
    }
    EXPECT_FALSE(packages.empty());
    return packages;
}

// The anchors a Markdown file's headings make, as the common renderers make them: lower case,
// blanks as "-", every other character but letters, digits, "-" and "_" dropped.
std::set<std::string> HeadingAnchors(const std::string& markdown) {
    std::set<std::string> anchors;
    std::istringstream lines(markdown);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '#') continue;
        std::string anchor;
        for (char c : line.substr(line.find_first_not_of('#')))
            if (c == ' ') anchor += '-';
            else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
                anchor += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        anchors.insert(anchor.substr(anchor.find_first_not_of('-')));
    }
    return anchors;
}

// Every relative link of the installed README (a Markdown link or a picture's source) leads to a
// file installed beside it, and a link to a heading ("file.md#heading", "#heading") to a heading
// that file has.
void ExpectLinksResolve(const std::string& readme) {
    const std::string text = testsupport::ReadFileBytes(readme);
    ASSERT_FALSE(text.empty());
    const fs::path folder = fs::path(readme).parent_path();
    const std::regex link(R"re(\]\(([^)\s]+)\)|src="([^"]+)")re");
    int relative = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it) {
        const std::string target = (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
        if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) continue;
        ++relative;
        const size_t hash = target.find('#');
        const std::string file = target.substr(0, hash);
        const fs::path path = file.empty() ? fs::path(readme) : folder / file;
        EXPECT_TRUE(fs::is_regular_file(path)) << target;
        if (hash == std::string::npos || !fs::is_regular_file(path)) continue;
        EXPECT_EQ(HeadingAnchors(testsupport::ReadFileBytes(path.string())).count(target.substr(hash + 1)), 1u)
            << target;
    }
    EXPECT_GT(relative, 10);
}

// The tree installed below prefix: the files it must hold and no others, the data file for file
// as in data/, the icons at their sizes, the entry and the metadata as the validators want them.
void ExpectInstalledTree(const testsupport::TempDir& dir, const std::string& prefix) {
    const std::string share = prefix + "/share";
    std::set<std::string> expected = {
        "bin/quiltora", "share/doc/quiltora/README.md", "share/doc/quiltora/DejaVu-LICENSE.txt",
        "share/applications/" + kAppId + ".desktop", "share/metainfo/" + kAppId + ".metainfo.xml"};
    for (int size : {48, 64, 128, 256}) {
        const std::string icon =
            "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" + kAppId + ".png";
        expected.insert(icon);
        float w = 0, h = 0;
        EXPECT_TRUE(testsupport::PngSize(prefix + "/" + icon, w, h)) << icon;
        EXPECT_EQ(w, size) << icon;
        EXPECT_EQ(h, size) << icon;
    }
    // The documents the README links, beside it as in the source tree.
    for (const auto& [file, stamp] : Files(testsupport::SourceDir() + "/docs"))
        expected.insert("share/doc/quiltora/docs/" + file);
    const Tree data = Files(testsupport::SourceDir() + "/data");
    const Tree installed = Files(prefix);
    for (const auto& [file, stamp] : data) {
        expected.insert("share/quiltora/data/" + file);
        auto at = installed.find("share/quiltora/data/" + file);
        if (at != installed.end()) {
            EXPECT_EQ(at->second.first, stamp.first) << file;
        }
    }
    std::set<std::string> found;
    for (const auto& [file, stamp] : installed) found.insert(file);
    EXPECT_EQ(found, expected);
    EXPECT_NE(fs::status(prefix + "/bin/quiltora").permissions() & fs::perms::others_exec, fs::perms::none);

    ExpectLinksResolve(share + "/doc/quiltora/README.md");

    const std::string entryFile = share + "/applications/" + kAppId + ".desktop";
    const std::string entry = testsupport::ReadFileBytes(entryFile);
    EXPECT_EQ(EntryValue(entry, "Icon"), kAppId);
    EXPECT_EQ(EntryValue(entry, "Categories"), "Game;LogicGame;");
    Command check = Shell(dir, "desktop-file-validate " + Quote(entryFile));
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output, "");
    // The metadata, and the entry it names as its launcher, in the tree.
    check = Shell(dir, "appstreamcli validate-tree --no-net " + Quote(prefix));
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output, "");
    EXPECT_EQ(check.output.find(kAppId + ".metainfo.xml"), 0u) << check.output;
}

// Starts the installed game as the desktop's menu does, its entry's command found on the PATH,
// in a working folder that has nothing of the game; headless to the main menu. Returns the
// per-user folder it used.
std::string ExpectStartsFromMenuEntry(const testsupport::TempDir& dir, const std::string& prefix) {
    const std::string exec =
        EntryValue(testsupport::ReadFileBytes(prefix + "/share/applications/" + kAppId + ".desktop"), "Exec");
    EXPECT_EQ(exec, "quiltora");
    const std::string work = dir.file("work"), user = dir.file("user");
    fs::create_directories(work);
    const Tree before = Files(prefix);
    const Command run =
        Shell(dir, "cd " + Quote(work) + " && PATH=" + Quote(prefix + "/bin") + ":\"$PATH\" timeout 240 " + exec +
                       " --user-dir " + Quote(user) + " --fixed-delta --timings --menu-frames 1");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("timing main-menu "), std::string::npos) << run.output;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) EXPECT_FALSE(IsReportLine(line)) << line;
    // Nothing written below the prefix, nothing left in the working folder; the settings went
    // to the per-user folder.
    EXPECT_TRUE(Files(prefix) == before);
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_TRUE(fs::is_regular_file(user + "/.Velkaro/Quiltora-2/Data/Settings.ini"));
    return user;
}

TEST(InstallTest, AnInstallIntoADestdirStartsFromItsMenuEntry) {
    testsupport::TempDir dir;
    const Command install = Shell(dir, "DESTDIR=" + Quote(dir.file("root")) + " " + Quote(QUILTORA_CMAKE) +
                                           " --install " + Quote(QUILTORA_BUILD_DIR) + " --prefix /usr/local");
    ASSERT_EQ(install.status, 0) << install.output;
    const std::string prefix = dir.file("root/usr/local");
    ExpectInstalledTree(dir, prefix);
    ExpectStartsFromMenuEntry(dir, prefix);
}

// The package is made as `make package` makes it, then installed, started and removed.
TEST(InstallTest, TheDebianPackageInstallsStartsAndRemovesCleanly) {
    testsupport::TempDir dir;
    const Command pack = Shell(dir, "cd " + Quote(QUILTORA_BUILD_DIR) + " && " + Quote(QUILTORA_CPACK) + " -G DEB -B " +
                                        Quote(dir.file("out")));
    ASSERT_EQ(pack.status, 0) << pack.output;
    std::string deb;
    for (const auto& e : fs::directory_iterator(dir.file("out")))
        if (e.path().extension() == ".deb") deb = e.path().string();
    ASSERT_NE(deb, "") << pack.output;

    // The control fields; no maintainer scripts, so dpkg alone puts the files in and takes them out.
    Command info = Shell(dir, "dpkg-deb -f " + Quote(deb) + " Package Section");
    EXPECT_EQ(info.output, "Package: quiltora\nSection: games\n");
    // The packages of the libraries the game links, and the GL and EGL loaders that SDL opens
    // while it runs.
    info = Shell(dir, "dpkg-deb -f " + Quote(deb) + " Depends");
    std::set<std::string> depends;
    std::istringstream fields(info.output);
    for (std::string field; std::getline(fields >> std::ws, field, ',');)
        depends.insert(field.substr(0, field.find_first_of(" \n")));
    std::vector<std::string> packages = LinkedPackages(dir, testsupport::GameExe());
    packages.insert(packages.end(), {"libgl1", "libegl1"});
    for (const std::string& p : packages) EXPECT_EQ(depends.count(p), 1u) << p << " not in " << info.output;
    info = Shell(dir, "dpkg-deb --ctrl-tarfile " + Quote(deb) + " | tar -t | sort");
    EXPECT_EQ(info.output, "./control\n./md5sums\n");

    // dpkg in a sandbox: its own root, database and log (it wants ldconfig on the PATH, which
    // holds it only for root).
    const std::string root = dir.file("root");
    fs::create_directories(root + "/var/lib/dpkg/info");
    fs::create_directories(root + "/var/lib/dpkg/updates");
    fs::copy_file("/var/lib/dpkg/status", root + "/var/lib/dpkg/status");
    const std::string dpkg = "PATH=\"$PATH:/usr/sbin:/sbin\" dpkg --force-not-root --root=" + Quote(root) +
                             " --log=" + Quote(dir.file("dpkg.log"));
    const Command add = Shell(dir, dpkg + " -i " + Quote(deb));
    ASSERT_EQ(add.status, 0) << add.output;
    ExpectInstalledTree(dir, root + "/usr");
    const std::string user = ExpectStartsFromMenuEntry(dir, root + "/usr");

    const Tree players = Files(user);
    const Command remove = Shell(dir, dpkg + " -r quiltora");
    ASSERT_EQ(remove.status, 0) << remove.output;
    EXPECT_TRUE(Files(root + "/usr").empty());
    EXPECT_FALSE(fs::exists(root + "/usr"));
    EXPECT_TRUE(Files(user) == players);
}

}  // namespace
