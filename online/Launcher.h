// The cross-promotion launcher: a screen of its own, shown once at start-up before the game's
// screens, with the maker's other games from a package: a folder holding a description,
// "launcher.dat", and the pictures it names. The package is installed into the per-user folder
// from the data folder's "launcher/package" and refreshed in the background from the maker's
// server (online/LauncherPackage.h); a new package is read at the next start.
//
// It is switched on by an entry named exactly "Launcher" in the data folder. The data folder's
// own "launcher/" folder (the screen's pictures and the package) does not count, whatever the
// file system's idea of letter case: the game ships the package and the pictures with the
// launcher switched off.
//
// The description, a text of lines (LF, a CR before it ignored):
//   <HEADER>
//   HEADERVARS|n          n counts this line too: n - 1 header lines follow
//   ICONVARS|k            every <ICON> section has k lines (BANERVARS, ALTBANERVARS likewise)
//   VERSION|v             the package's version (required)
//   <ICON>                APPID, URL ("$UTMSOURCE$" becomes the game's id) and GFX lines
//   <BANER>               APPID, URL, GFX and SHOWIFBUY
//   <ALTBANER>            APPID, URL and GFX: the banner shown in place of one for this game
// Every line but the markers is "NAME|value". A number field that reads as 0 without being
// exactly "0" ("", "x", "00") is a fault. Faults are printed as "loader error1" to
// "loader error17" (the fourth is spelt "loder error4"); a faulty package shows no screen and
// counts as version 0, so the next check replaces it.
//
// A package has a budget (TLauncherBudget): so many icons, so many pixels a picture and in all.
// A package over it is refused whole (no icon, no banner, its fault "over budget: ..."), before
// any picture too large is decoded, and counts as faulty. A picture named twice is decoded once.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Image.h"

// What a package may hold and cost. A real one (the shipped package: three 100 x 126 icons and
// a 700 x 110 banner, about 115,000 pixels in 50 KB of files) fits many times over.
struct TLauncherBudget {
    int maxIcons = 32;                            // <ICON> sections, the game's own included
    int maxPictureSide = 2048;                    // pixels, either side of a picture
    int64_t maxPicturePixels = int64_t(2) << 20;  // 2,097,152 pixels a picture
    int64_t maxPackagePixels = int64_t(4) << 20;  // 4,194,304 pixels in all its pictures (16 MB)
    int64_t maxPictureFileBytes = int64_t(4) << 20;
    int64_t maxDescriptionBytes = int64_t(64) << 10;
    // The zip a server sends: its size, its files unpacked, and how many entries it holds.
    int64_t maxArchiveBytes = int64_t(8) << 20;
    int64_t maxUnpackedBytes = int64_t(16) << 20;
    int maxArchiveEntries = 64;
};
// The game's budget: the defaults, the side held to the GL's texture limit. Main thread.
TLauncherBudget LauncherBudget();

// Non-zero when the data folder holds an entry named "Launcher" (its file kind: 1 file, 2 folder).
extern int LauncherOn;
// Non-zero in the store edition of the game (a build setting, QUILTORA_STORE_BUILD); it picks
// the launcher's package endpoint.
extern int StoreBuild;
// The build's own store setting.
int StoreBuildSetting();

// The kind (0 none, 1 file, 2 folder) of the entry named exactly "Launcher" in the folder.
int LauncherMarkerKind(const std::string& dataFolder);

// The game's identifier on the maker's server, and the endpoint paths of the two editions.
extern const std::string LauncherAppId;        // "quiltora2"
extern const std::string LauncherStorePath;    // "/launcher/launcher.php"
extern const std::string LauncherWebsitePath;  // "/launcher_velkarowww/launcher.php"
// The maker's web server, configured in the data folder's "launcher/server.txt": its first line,
// trimmed, without a trailing "/" ("http://host" or "http://host:port"); empty when there is none.
std::string LauncherServer();
// LauncherServer() + the edition's endpoint path; empty without a server.
std::string LauncherPackageUrl(int storeBuild);

class TLauncher;

// One game of the sliding row; (x, y) is the centre of the icon's top edge.
class TLauncherIcon {
public:
    float x = 0, y = 0;
    float per = 0, dPer = 0;  // hover glow and its target
    int over = 0;             // the mouse is over it this frame
    int lock = 0;             // its click was taken and the button is still held
    int nr = 0;               // place in the row, from 0
    TImagePtr gfx;
    std::string url;    // page opened on click
    std::string appId;  // the advertised game
    TLauncher* owner = nullptr;

    virtual ~TLauncherIcon() = default;
    virtual void Update();
    virtual void Draw();
};

// The wide banner under the row; (x, y) is its centre.
class TLauncherBaner {
public:
    float x = 0, y = 0;
    float per = 0, dPer = 0;
    int over = 0;
    int lock = 0;
    TImagePtr gfx;
    std::string url;
    std::string appId;

    virtual ~TLauncherBaner() = default;
    virtual void Update();
    virtual void Draw();
};

class TLauncherButton {
public:
    float x = 0, y = 0;  // centre
    float per = 0, dPer = 0;
    int over = 0;
    int lock = 0;
    int clicked = 0;  // a click waits for IsClicked
    TImagePtr gfx;    // handle at its centre
    int id = 0;

    virtual ~TLauncherButton() = default;
    // The image (engine default flags) centred on (x, y); a button without a picture when the
    // file cannot be read.
    static std::shared_ptr<TLauncherButton> Create(int id, const std::string& imagePath, int x, int y);
    virtual void Update();
    virtual void Draw();
    // 1 once per click (clears it), else 0.
    virtual int IsClicked();
};

using TLauncherIconPtr = std::shared_ptr<TLauncherIcon>;
using TLauncherBanerPtr = std::shared_ptr<TLauncherBaner>;
using TLauncherButtonPtr = std::shared_ptr<TLauncherButton>;

// What a package description holds once read.
struct TLauncherDescription {
    int version = -1;                     // VERSION; 0 after a fault
    int corrupted = 0;                    // 1 after a fault
    std::string fault;                    // the fault's message ("loader error5"), empty when read well
    std::vector<TLauncherIconPtr> icons;  // kept icons in file order (the game's own left out)
    TLauncherBanerPtr baner;              // the banner shown, null when none
};

// A package read without drawing anything: its description and its pictures' pixels. Any
// thread may read one (it touches nothing global and no GL); the main thread makes it a
// description with images (MakeLauncherDescription).
struct TLauncherPackageData {
    struct Entry {
        std::string appId;
        std::string url;
        int picture = -1;  // index in pictures
        int nr = 0;        // an icon's place in the row
    };
    int version = -1;  // as in TLauncherDescription
    int corrupted = 0;
    std::string fault;
    bool overBudget = false;  // refused for its budget (fault "over budget: ..."): nothing kept
    std::vector<Entry> icons;
    bool hasBaner = false;
    Entry baner;
    std::vector<TPixmapPtr> pictures;  // each picture once, however often it is named
    int64_t pixels = 0;                // pixels of all the pictures
};

// Reads packageFolder + "/launcher.dat" and the pictures it names (which must lie inside the
// package folder) within the budget; appId is the game's own identifier. keepGoing (when given)
// is asked between pictures: once it says no, the read ends as a fault. Prints nothing.
TLauncherPackageData ReadLauncherPackage(const std::string& packageFolder, const std::string& appId,
                                         const TLauncherBudget& budget,
                                         const std::function<bool()>& keepGoing = nullptr);
// The icons and the banner with their images (the pixels taken over, not copied; a picture
// named twice gives one texture). Main thread.
TLauncherDescription MakeLauncherDescription(TLauncherPackageData data);
// Both, with the game's budget. Main thread.
TLauncherDescription ReadLauncherDescription(const std::string& packageFolder, const std::string& appId);

class TLauncher {
public:
    // Set while the package is read (on the launcher's worker, beside the frame loop); the
    // icons, the banner, the version and `corrupted` are the package's once it is clear.
    int loading = 0;
    int version = -1;
    std::string appId;
    std::string packageUrl;
    std::string preferencesLocation;  // per-user folder, no trailing "/"
    std::vector<TLauncherIconPtr> icons;
    TLauncherBanerPtr baner;
    int corrupted = 0;
    int iconsInRow = 5;
    int iconsSize = 100;
    int iconsX = 512;
    int iconsY = 90;
    int iconsSpace = 50;
    float tx = 0, dTx = 0;      // slide offset of the row and its target
    float fade = 0, dFade = 0;  // black cover and its target
    TLauncherButtonPtr bLeft, bRight, bPlay, bBack;
    TImagePtr background;
    TImagePtr moreGames;
    int inGame = 0;
    // Where the description was read from (preferencesLocation, or the data folder with
    // "localLauncher.txt"), without a trailing "/".
    std::string readingLocation;
    // The screen's own pictures are all there; without them the screen is not shown.
    int screenImagesLoaded = 0;

    virtual ~TLauncher() = default;

    // Sends the version request for the per-user package; asked while the package is read, it
    // is sent once the package is in.
    virtual void Request();
    // Removes what an interrupted install left; with nothing at the per-user package folder,
    // has Setup install the data folder's package there (on the worker, before it is read).
    virtual void CheckPackage();
    // Row at its start, screen black and about to fade in.
    virtual void Prepare();
    // Layout and the screen's pictures; the package (its description and pictures) is read on
    // the launcher's worker, so that no picture of it is decoded on the frame loop, and taken in
    // at an event pump (read here, on the main thread, only when the worker is busy).
    virtual void Setup();
    // Waits for the package being read and takes it in (main thread).
    void FinishLoading();
    // Shows this package from now on: its icons, banner and version (a faulty one is kept out
    // of sight with version 0), the row centred on few icons.
    virtual void TakePackage(TLauncherDescription d);
    virtual void Draw();
    virtual void Update();
    // A page left or right, only while the row rests and there are more icons than fit.
    virtual void SlideLeft();
    virtual void SlideRight();
    virtual void UpdateIconPosition(TLauncherIcon& icon);
    // 1 when x lies within the visible row (edges included).
    virtual int XInViewPort(float x);

    // The row's derived values: width W, left edge L, cell pitch and page step.
    int RowWidth() const { return iconsInRow * iconsSize + (iconsInRow - 1) * iconsSpace; }
    int RowLeft() const { return iconsX - RowWidth() / 2; }
    int Pitch() const { return iconsSize + iconsSpace; }
    int Page() const { return iconsInRow * Pitch(); }
    // The version of the package in the per-user folder, which the request compares with the
    // server's: the version read, or, when the description came from the data folder, the
    // per-user package's own (0 when it is missing or faulty).
    int InstalledVersion() const;

private:
    // The package as read, and whether the request waits for it.
    void TakeReadPackage(TLauncherPackageData data);
    std::shared_ptr<TLauncherPackageData> reading_;
    bool requestWhenRead_ = false;
    // CheckPackage found no per-user package: Setup's worker installs the data folder's first.
    bool installShipped_ = false;
};

using TLauncherPtr = std::shared_ptr<TLauncher>;

extern TLauncherPtr Launcher;

// A new launcher in Launcher: CheckPackage, then Setup.
void CreateLauncher(const std::string& appId, const std::string& packageUrl, const std::string& preferencesLocation);
// CreateLauncher with the per-user folder, while the launcher is on; the launcher's background
// work is then stopped before the program ends (the save-at-end list).
int InitLauncher(const std::string& appId, const std::string& packageUrl);
// A package newly installed at destination by the background update, read there: the running
// launcher shows it when that is the package it reads. Main thread.
void TakeInstalledLauncherPackage(const std::string& destination, TLauncherPackageData data);
// The launcher screen once, then the package request, while the launcher is on.
int ShowLauncher();
// Runs the launcher screen until it has faded out (skipped for a faulty package, with
// "noLauncher.txt" in the data folder, or without the screen's pictures). With inGame the Back
// button stands in for Play. Returns "MAIN-MENU".
std::string RunLauncherScreen(int inGame);
// Launcher.Request().
void RequestLauncherPackage();

// The page flip of the self-drawn loops: the harness's before-flip step, Flip(-1), AspectCls.
void FlipAndClear();
// Called right before a self-drawn loop ends the process; nothing.
void BeforeExitHook();
// One step of value toward target: speed * factor when factor >= 0, else speed * delta; never
// past the target.
float EaseLauncherValue(float value, float target, float speed, float factor);
// Opens the page of an icon or the banner (http and https only); the outcome is not reported.
void MyOpenURL2(const std::string& url);
