// Where the game finds its read-only data and keeps its per-user files, and the expansion of
// the path placeholders that data files use ("#BDIR#", "#LOCAL#", "#APPDIR#", "#APPDATA#" and
// their bracket forms "[BDIR]", "[LOCAL]", "[APPDIR]", "[APPDATA]").
//
// Read-only layout below bDir: "App/Data/" holds the engine's configuration files ("Init.ini",
// "Localize.txt", "Mouse.dat", "Fonts.dat", "Classes.dat"); "Local/<language>/" the localised
// texts. Per-user layout: <root>/.Velkaro/Quiltora-2/{Data,Profiles}, where <root> is the
// --user-dir folder, else ${XDG_DATA_HOME:-$HOME/.local/share}.
#pragma once
#include <string>
#include <vector>

// Base data folder, ends with a slash. Set once by main from GetAppDir().
extern std::string bDir;
// Data folder used when "IgnoreMacInsideFolder.txt" is in the working folder (relative to it).
extern std::string AppFolder;
// The data folder of an installed game, relative to the executable's folder: "../share/quiltora/data"
// when bin/ and share/ lie below one prefix (the build sets it from its install folders).
extern const std::string AppInstalledData;
// The data folder as an absolute path when it was found on disk (empty when bDir is the relative
// AppFolder); saved urls that start with it are written back as "#BDIR#".
extern std::string AppRealPath;
extern std::string AppResources;           // "App/": the engine's own data below bDir
extern std::string AppResourcesData;       // "Data/": below AppResources
extern std::string AppLangDir;             // "Local/": the language folders below bDir
extern std::string LangMod;                // current language code, "en" unless "Localize.txt" says otherwise
extern std::string LocalizeDir;            // bDir + AppLangDir + LangMod + "/"
extern std::string AppDataRootFolderName;  // "/." + name of the hidden per-user root folder
extern std::string AppFolderName;          // this game's folder inside the per-user root
extern std::string AppDataRootFolder;      // absolute per-user root folder
extern std::string AppDataFolder;          // absolute per-user folder of the game, no trailing slash
extern std::string AppVersionFileUrl;      // source tree root used by the developer version routine

// What the command line says about folders; main fills it before GetAppDir.
struct AppPathOptions {
    std::string dataDir;  // --data DIR: the data folder; empty = look for it
    std::string userDir;  // --user-dir DIR: replaces the per-user root; empty = XDG data home
};
void SetAppPathOptions(const AppPathOptions& options);
// Picks "--data DIR", "--data=DIR", "--user-dir DIR" and "--user-dir=DIR" out of the arguments
// (argv[0] excluded); other arguments are ignored.
AppPathOptions ParseAppPathOptions(const std::vector<std::string>& args);

// The running executable and its folder.
std::string AppFile();
std::string AppDir();

// The base data folder: --data when given; else AppFolder ("GameData/") when the working
// folder holds "IgnoreMacInsideFolder.txt"; else the installed data folder (AppInstalledData
// from the executable's folder); else "data/" beside the executable, then "../data/" from it.
// Sets AppRealPath.
std::string GetAppDir();
// The same choice with the working and executable folders given (an empty workDir is the
// working folder itself, and then the relative AppFolder is returned as it stands).
std::string ChooseAppDataDir(const std::string& dataOption, const std::string& workDir, const std::string& exeDir);

int SetAppRootFolderName(const std::string& name);  // AppDataRootFolderName = "/." + name
int SetAppDataFolderName(const std::string& name);  // AppFolderName = name
int SetAppFolderName(const std::string& name);
int SetAppLangDir(const std::string& dir);
int SetAppResourcesFolder(const std::string& dir);
int SetAppResourcesData(const std::string& dir);
int SetAppVersionUrl(const std::string& url);

// The per-user root below which AppDataRootFolderName lies.
std::string AppUserRoot();
// What AppInitDataFolder makes AppDataRootFolder (the folder names and options set before).
std::string ChooseAppDataRootFolder();
std::string HomeDir();
std::string GetSpecialFolder();

// Start-up step: the per-user folders, then the language.
void AppInitFolders();
// Builds AppDataRootFolder and AppDataFolder and creates them with "/Data" and "/Profiles"
// (missing parents too). Returns false, after an error line, when a folder cannot be made.
bool AppInitDataFolder();
// LangMod from "Localize.txt" (trimmed; "en" when missing or unusable), then LocalizeDir.
void AppInitLangDir();

// One game per per-user folder: the lock file fileName in AppDataFolder, taken with an advisory
// lock (flock) and held until the process ends. A second game started on the same folder finds
// it Busy and must read and write nothing there; the lock of a process that has ended (however
// it ended) is gone with it, so it never blocks a start. Unavailable: the lock file cannot be
// made or locked for another reason (a read-only folder, a file system without locks);
// reported, and the game must then write nothing there (it cannot know it is alone).
enum class AppFolderLock { Taken, Busy, Unavailable };
AppFolderLock LockAppDataFolder(const std::string& fileName);
// Lets the lock go (tests).
void UnlockAppDataFolder();
// Removes the temporary files that saves cut short by a kill left behind: in AppDataFolder and
// its "Data" and "Profiles" folders those of any earlier run (the game holds the folder's lock),
// in the shared AppDataRootFolder only those of processes that no longer run (the maker's other
// games write there too). Prints what it removed; returns how many.
int RemoveAppLeftoverTempFiles();

std::string ConvertAppPath(const std::string& path);
// The inverse used when objects are saved: AppRealPath, then AppFolder, become "#BDIR#".
std::string CheckIfUrlIsInsideApp(const std::string& url);

// Developer routine: raises the quoted version number in the engine's version source file.
void AppInitVersion();
std::string AddVersionNumber(const std::string& text);

// Back to the values before start-up (tests).
void ResetAppPaths();

// file inside the folder prefix; the file alone for an empty prefix (the working folder, never
// the file-system root).
std::string PathInFolder(const std::string& prefix, const std::string& file);
// An export's copy of the file an object uses (url as the object names it, "#BDIR#" allowed) to
// target, with copy (CopyFile or CopyDir); nothing when target is that very file. A failed copy is
// a critical error naming what (an "image", a "sound").
void ExportCopy(const std::string& url, const std::string& target, const std::string& what,
                bool (*copy)(const std::string&, const std::string&));
// The path of a file named after an object (objName + ext) beside a screen file in folder dir;
// "" when the name is no plain file name (it would lead out of that folder).
std::string FileBesideScreen(const std::string& dir, const std::string& objName, const std::string& ext);
