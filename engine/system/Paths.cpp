#include "engine/system/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/system/Error.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::string bDir;
std::string AppFolder = "GameData/";
#ifndef QUILTORA_INSTALLED_DATA
#define QUILTORA_INSTALLED_DATA "../share/quiltora/data"
#endif
const std::string AppInstalledData = QUILTORA_INSTALLED_DATA;
std::string AppRealPath;
std::string AppResources = "App/";
std::string AppResourcesData = "Data/";
std::string AppLangDir = "Local/";
std::string LangMod = "en";
std::string LocalizeDir;
std::string AppDataRootFolderName = "/.Dravenholt";
std::string AppFolderName;
std::string AppDataRootFolder;
std::string AppDataFolder;
std::string AppVersionFileUrl;

namespace {

AppPathOptions gOptions;

// The engine's version source below AppVersionFileUrl.
const char* const kVersionSource = "engine/system/Version.h";

// An absolute, normalised folder path ending in one slash.
std::string AsFolder(const std::string& path) {
    std::string p = RealPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p != "/") p += "/";
    return p;
}

// A language code names one folder below AppLangDir: no separators, no "." or "..".
bool IsUsableLangCode(const std::string& code) {
    if (code.empty() || code == "." || code == "..") return false;
    return code.find('/') == std::string::npos && code.find('\\') == std::string::npos;
}

bool MakeFolder(const std::string& path) {
    if (FileType(path) == 2) return true;
    if (CreateDir(path, true)) return true;
    Error("Couldn't create folder '" + path + "'!", Here());
    return false;
}

}  // namespace

void SetAppPathOptions(const AppPathOptions& options) { gOptions = options; }

AppPathOptions ParseAppPathOptions(const std::vector<std::string>& args) {
    AppPathOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        for (auto [flag, target] : {std::pair{"--data", &o.dataDir}, std::pair{"--user-dir", &o.userDir}}) {
            std::string f = flag;
            if (a == f && i + 1 < args.size()) {
                *target = args[++i];
                break;
            }
            if (StartsWith(a, f + "=")) {
                *target = a.substr(f.size() + 1);
                break;
            }
        }
    }
    return o;
}

std::string AppFile() {
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "";
    return std::string(buf, static_cast<size_t>(n));
}

std::string AppDir() { return ExtractDir(AppFile()); }

std::string ChooseAppDataDir(const std::string& dataOption, const std::string& workDir, const std::string& exeDir) {
    if (!dataOption.empty()) {
        std::string dir = AsFolder(dataOption);
        if (FileType(dir) != 2) Error("Data folder '" + dir + "' not found!", Here());
        return dir;
    }
    if (FileType(JoinPath(workDir, "IgnoreMacInsideFolder.txt")) != 0) {
        return workDir.empty() ? AppFolder : AsFolder(JoinPath(workDir, AppFolder));
    }
    // An installed game: its data lies in the prefix's share/ folder, whatever the working folder.
    std::string installed = AsFolder(JoinPath(exeDir, AppInstalledData));
    if (FileType(installed) == 2) return installed;
    // A build in the source tree: data/ beside the executable or one folder up.
    std::string beside = AsFolder(JoinPath(exeDir, "data"));
    if (FileType(beside) == 2) return beside;
    std::string above = AsFolder(JoinPath(exeDir, "../data"));
    if (FileType(above) == 2) return above;
    Error("Data folder not found from the executable ('" + installed + "', '" + beside + "' or '" + above + "')!",
          Here());
    return beside;
}

std::string GetAppDir() {
    std::string dir = ChooseAppDataDir(gOptions.dataDir, "", AppDir());
    // The relative AppFolder is already turned back into "#BDIR#" by CheckIfUrlIsInsideApp.
    AppRealPath = dir == AppFolder ? std::string() : dir;
    return dir;
}

int SetAppRootFolderName(const std::string& name) {
    AppDataRootFolderName = "/." + name;
    return 0;
}
int SetAppDataFolderName(const std::string& name) {
    AppFolderName = name;
    return 0;
}
int SetAppFolderName(const std::string& name) {
    AppFolder = name;
    return 0;
}
int SetAppLangDir(const std::string& dir) {
    AppLangDir = dir;
    return 0;
}
int SetAppResourcesFolder(const std::string& dir) {
    AppResources = dir;
    return 0;
}
int SetAppResourcesData(const std::string& dir) {
    AppResourcesData = dir;
    return 0;
}
int SetAppVersionUrl(const std::string& url) {
    AppVersionFileUrl = url;
    return 0;
}

std::string HomeDir() {
    if (const char* h = std::getenv("HOME"); h && *h) return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "";
}

std::string GetSpecialFolder() { return ""; }

std::string AppUserRoot() {
    std::string root = gOptions.userDir;
    if (root.empty()) {
        // XDG says a relative value is to be ignored.
        const char* x = std::getenv("XDG_DATA_HOME");
        if (x && x[0] == '/') root = x;
        else root = HomeDir() + "/.local/share";
    }
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

void AppInitFolders() {
    AppInitDataFolder();
    AppInitLangDir();
}

std::string ChooseAppDataRootFolder() { return Replace(AppUserRoot() + AppDataRootFolderName, "\\", "/"); }

bool AppInitDataFolder() {
    AppDataRootFolder = ChooseAppDataRootFolder();
    AppDataFolder = Replace(AppDataRootFolder + "/" + AppFolderName, "\\", "/");
    // Each folder is made with its missing parents; a failure is reported once, and the folders
    // below a failed one are not attempted.
    return MakeFolder(AppDataRootFolder) && MakeFolder(AppDataFolder) && MakeFolder(AppDataFolder + "/Data") &&
           MakeFolder(AppDataFolder + "/Profiles");
}

namespace {
int gFolderLock = -1;
}

AppFolderLock LockAppDataFolder(const std::string& fileName) {
    UnlockAppDataFolder();
    const std::string path = AppDataFolder + "/" + fileName;
    bool busy = false;
    gFolderLock = LockFileExclusive(path, busy);
    const int error = errno;
    if (gFolderLock >= 0) return AppFolderLock::Taken;
    if (busy) return AppFolderLock::Busy;
    Error("Couldn't lock " + path + " (" + std::strerror(error) + "); nothing is written in " + AppDataRootFolder +
              " while this game runs",
          Here());
    return AppFolderLock::Unavailable;
}

void UnlockAppDataFolder() {
    UnlockFile(gFolderLock);
    gFolderLock = -1;
}

int RemoveAppLeftoverTempFiles() {
    int count = 0;
    auto clean = [&](const std::string& folder, bool onlyDead) {
        for (const std::string& name : RemoveLeftoverTempFiles(folder, onlyDead)) {
            Print("Removed the leftover temporary file " + folder + "/" + name);
            ++count;
        }
    };
    if (AppDataFolder.empty()) return 0;
    for (const char* sub : {"", "/Data", "/Profiles"}) clean(AppDataFolder + sub, false);
    if (!AppDataRootFolder.empty()) clean(AppDataRootFolder, true);
    return count;
}

void AppInitLangDir() {
    std::string url = bDir + AppResources + AppResourcesData + "Localize.txt";
    if (FileType(url) == 1) {
        std::string code = Trim(LoadText(url));
        if (IsUsableLangCode(code)) {
            LangMod = code;
        } else {
            Error("Language code '" + code + "' in '" + url + "' is not a folder name; using '" + LangMod + "'!",
                  Here());
        }
    } else {
        ErrorNoFile(url, Here());  // the language stays LangMod
    }
    LocalizeDir = bDir + AppLangDir + LangMod + "/";
}

std::string ConvertAppPath(const std::string& path) {
    std::string p = path;
    p = Replace(p, "#BDIR#", bDir);
    p = Replace(p, "#LOCAL#", LocalizeDir);
    p = Replace(p, "#APPDIR#", AppResources);
    p = Replace(p, "#APPDATA#", AppResourcesData);
    p = Replace(p, "[BDIR]", bDir);
    p = Replace(p, "[LOCAL]", LocalizeDir);
    p = Replace(p, "[APPDIR]", AppResources);
    p = Replace(p, "[APPDATA]", AppResourcesData);
    return p;
}

std::string CheckIfUrlIsInsideApp(const std::string& url) {
    std::string u = Replace(url, AppRealPath, "#BDIR#");
    return Replace(u, AppFolder, "#BDIR#");
}

std::string AddVersionNumber(const std::string& text) {
    std::string quoted = "\"";
    quoted += IntToString(static_cast<int64_t>(StringToInt(Replace(text, "\"", ""))) + 1);
    quoted += '"';
    return quoted;
}

void AppInitVersion() {
    std::string url = AppVersionFileUrl + kVersionSource;
    if (FileType(url) != 1) {
        Warning("Version file not found!", Here());
        return;
    }
    std::string text = LoadText(url);
    std::vector<std::string> words;
    std::string cur;
    for (char c : text + " ") {
        if (c == ' ' || c == '\n') {
            if (!cur.empty()) words.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    for (size_t i = 3; i < words.size(); ++i) {
        if (Upper(words[i - 3]) == "CONST" && Upper(words[i - 2]) == "APPVERSION:STRING" && words[i - 1] == "=") {
            std::string head = words[i - 3] + " " + words[i - 2] + " " + words[i - 1] + " ";
            text = Replace(text, head + words[i], head + AddVersionNumber(words[i]));
            if (!SaveText(text, url)) Error("Couldn't save '" + url + "'!", Here());
            return;
        }
    }
}

void ResetAppPaths() {
    bDir.clear();
    AppFolder = "GameData/";
    AppRealPath.clear();
    AppResources = "App/";
    AppResourcesData = "Data/";
    AppLangDir = "Local/";
    LangMod = "en";
    LocalizeDir.clear();
    AppDataRootFolderName = "/.Dravenholt";
    AppFolderName.clear();
    AppDataRootFolder.clear();
    AppDataFolder.clear();
    AppVersionFileUrl.clear();
    gOptions = AppPathOptions{};
}

std::string PathInFolder(const std::string& prefix, const std::string& file) {
    if (prefix.empty()) return file;
    return Replace(prefix + "/" + file, "//", "/");
}

std::string FileBesideScreen(const std::string& dir, const std::string& objName, const std::string& ext) {
    if (objName.empty() || objName == "." || objName == ".." || objName.find_first_of("/\\") != std::string::npos)
        return "";
    return PathInFolder(dir, objName + ext);
}
