#include "online/Launcher.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <thread>

#include "engine/screen/AppObj.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/fading/EkranTools.h"
#include "engine/system/Error.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/window/Mouse.h"
#include "online/LauncherPackage.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/OpenURL.h"
#include "platform/Strings.h"

int LauncherOn = 0;
int StoreBuild = 0;
TLauncherPtr Launcher;

const std::string LauncherAppId = "quiltora2";
const std::string LauncherStorePath = "/launcher/launcher.php";
const std::string LauncherWebsitePath = "/launcher_velkarowww/launcher.php";

int StoreBuildSetting() {
#ifdef QUILTORA_STORE_BUILD
    return 1;
#else
    return 0;
#endif
}

int LauncherMarkerKind(const std::string& dataFolder) {
    // Looked up by its exact name: a case-blind lookup would take the "launcher/" data folder
    // for the marker.
    for (const std::string& name : ReadDir(dataFolder))
        if (name == "Launcher") return FileType(JoinPath(dataFolder, name));
    return 0;
}

std::string LauncherServer() {
    bool ok = false;
    const std::string text = LoadText(bDir + "launcher/server.txt", &ok);
    if (!ok) return "";
    const std::vector<std::string> lines = SplitLines(text);
    std::string server = lines.empty() ? "" : Trim(lines[0]);
    while (EndsWith(server, "/")) server.pop_back();
    return server;
}

std::string LauncherPackageUrl(int storeBuild) {
    const std::string server = LauncherServer();
    if (server.empty()) return "";
    return server + (storeBuild != 0 ? LauncherStorePath : LauncherWebsitePath);
}

// ---------------------------------------------------------------------------------------------
// Widgets

float EaseLauncherValue(float value, float target, float speed, float factor) {
    if (factor >= 0.0f) {
        // A fixed step: the same walk as MoveTowardTarget with the step given whole.
        const float step = speed * factor;
        if (value < target) {
            value += step;
            if (value > target) value = target;
        }
        if (value > target) {
            value -= step;
            if (value < target) value = target;
        }
        return value;
    }
    MoveTowardTarget(value, target, speed);
    return value;
}

void MyOpenURL2(const std::string& url) { OpenURL(url); }

namespace {

// The mouse on the virtual screen, as every launcher widget reads it.
float LauncherMouseX() { return AspectMouseX() - static_cast<float>(ScreenStepX); }
float LauncherMouseY() { return AspectMouseY(); }

// Glow toward 0.3 while hovered, and the press: true once per press, at the moment the held
// left button is over the widget (also when the press began elsewhere).
bool HoverAndPress(float& per, float& dPer, int over, int& lock) {
    dPer = over ? 0.3f : 0.0f;
    per = EaseLauncherValue(per, dPer, 0.05f, -1.0f);
    if (MouseDown(1)) {
        if (over && !lock) {
            lock = 1;
            return true;
        }
    } else {
        lock = 0;
    }
    return false;
}

// Inside a box centred on (x, y) with the image's half sizes (edges included).
bool OverCentred(const TImagePtr& gfx, float x, float y) {
    if (!gfx) return false;
    const float w2 = static_cast<float>(ImageWidth(gfx) / 2), h2 = static_cast<float>(ImageHeight(gfx) / 2);
    const float mx = LauncherMouseX(), my = LauncherMouseY();
    return mx >= x - w2 && mx <= x + w2 && my >= y - h2 && my <= y + h2;
}

void DrawGlowing(const TImagePtr& gfx, float x, float y, float per) {
    DrawImage(gfx, x, y, 0);
    if (per > 0.0f) {
        SetBlend(LIGHTBLEND);
        SetAlpha(per);
        DrawImage(gfx, x, y, 0);
        SetBlend(ALPHABLEND);
        SetAlpha(1.0f);
    }
}

}  // namespace

void TLauncherIcon::Update() {
    over = 0;
    const float mx = LauncherMouseX(), my = LauncherMouseY();
    if (owner && gfx && owner->XInViewPort(mx) && owner->tx == owner->dTx) {
        const float w2 = static_cast<float>(ImageWidth(gfx) / 2);
        if (mx >= x - w2 && mx <= x + w2 && my >= y && my <= y + static_cast<float>(ImageHeight(gfx))) over = 1;
    }
    if (HoverAndPress(per, dPer, over, lock)) MyOpenURL2(url);
}

void TLauncherIcon::Draw() { DrawGlowing(gfx, x, y, per); }

void TLauncherBaner::Update() {
    over = OverCentred(gfx, x, y) ? 1 : 0;
    if (HoverAndPress(per, dPer, over, lock)) MyOpenURL2(url);
}

void TLauncherBaner::Draw() { DrawGlowing(gfx, x, y, per); }

TLauncherButtonPtr TLauncherButton::Create(int id, const std::string& imagePath, int x, int y) {
    auto button = std::make_shared<TLauncherButton>();
    button->id = id;
    if (FileType(imagePath) == 1) button->gfx = LoadImage(imagePath, -1);
    if (button->gfx) MidHandleImage(button->gfx);
    button->x = static_cast<float>(x);
    button->y = static_cast<float>(y);
    return button;
}

void TLauncherButton::Update() {
    over = OverCentred(gfx, x, y) ? 1 : 0;
    if (HoverAndPress(per, dPer, over, lock)) clicked = 1;
}

void TLauncherButton::Draw() { DrawGlowing(gfx, x, y, per); }

int TLauncherButton::IsClicked() {
    if (!clicked) return 0;
    clicked = 0;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The description

namespace {

// The pieces of a line split at every "|", empty ones kept ("a|" is two fields).
std::vector<std::string> SplitBar(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find('|', start);
        parts.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

// A number field that reads as 0 without being exactly "0".
bool BadNumber(const std::string& text) { return StringToInt(text) == 0 && text != "0"; }

// The lines of the description, one byte a character; past the end it reads empty lines.
class LineReader {
public:
    explicit LineReader(const std::string& bytes) {
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find('\n', start);
            if (end == std::string::npos) end = bytes.size();
            std::string line = bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines_.push_back(std::move(line));
            start = end + 1;
        }
    }
    bool AtEnd() const { return pos_ >= lines_.size(); }
    std::string Next() { return AtEnd() ? std::string() : lines_[pos_++]; }

private:
    std::vector<std::string> lines_;
    size_t pos_ = 0;
};

// The package's pictures, each decoded once within the budget.
class PictureReader {
public:
    PictureReader(const std::string& folder, const TLauncherBudget& budget, TLauncherPackageData& data,
                  const std::function<bool()>& keepGoing)
        : folder_(folder), budget_(budget), data_(data), keepGoing_(keepGoing) {}

    // The index of the picture in data.pictures; -1 when it is missing, outside the package or
    // does not decode; -2 when it is over the budget (the fault is set).
    int Get(const std::string& gfx) {
        if (gfx.empty() || !PathIsInside(folder_, gfx)) return -1;
        const std::string path = folder_ + "/" + gfx;
        if (FileType(path) != 1) return -1;
        // One key for every name of the file: "a.png", "./a.png", "A.PNG" on a folder of "a.png".
        const std::string key = ResolvePath(RealPath(path));
        for (const auto& [known, index] : seen_)
            if (known == key) return index;
        if (FileSize(path) > budget_.maxPictureFileBytes) {
            fault_ = "the picture " + gfx + " is larger than " + IntToString(budget_.maxPictureFileBytes) + " bytes";
            return -2;
        }
        std::string bytes;
        if (!LoadBytes(path, bytes, FileKind::Picture)) return -1;
        const int64_t left = budget_.maxPackagePixels - data_.pixels;
        TPictureTooLarge tooLarge;
        TPixmapPtr pixmap = DecodePixmap(bytes, budget_.maxPictureSide, std::min(budget_.maxPicturePixels, left),
                                         &tooLarge, keepGoing_);
        if (tooLarge.refused && tooLarge.scans > 0) {
            fault_ = "the picture " + gfx + " is " + IntToString(tooLarge.width) + " x " +
                     IntToString(tooLarge.height) + " pixels in more than " + IntToString(tooLarge.scans) +
                     " scans (the most for its size)";
            return -2;
        }
        if (tooLarge.refused) {
            fault_ = "the picture " + gfx + " is " + IntToString(tooLarge.width) + " x " +
                     IntToString(tooLarge.height) + " pixels (at most " + IntToString(budget_.maxPictureSide) +
                     " a side and " + IntToString(budget_.maxPicturePixels) + " in a picture, " +
                     IntToString(budget_.maxPackagePixels) + " in the package, " + IntToString(left) + " of them left)";
            return -2;
        }
        // A file that does not decode is remembered too: it is not read again.
        int index = -1;
        if (pixmap) {
            data_.pixels += static_cast<int64_t>(pixmap->width) * pixmap->height;
            index = static_cast<int>(data_.pictures.size());
            data_.pictures.push_back(std::move(pixmap));
        }
        seen_.emplace_back(key, index);
        return index;
    }
    const std::string& Fault() const { return fault_; }

private:
    std::string folder_;
    const TLauncherBudget& budget_;
    TLauncherPackageData& data_;
    const std::function<bool()>& keepGoing_;
    std::vector<std::pair<std::string, int>> seen_;
    std::string fault_;
};

// One section's k lines as name and value; false at a line that is not one "|" pair.
bool ReadSection(LineReader& reader, int k, std::vector<std::pair<std::string, std::string>>& pairs) {
    for (int i = 0; i < k; ++i) {
        std::vector<std::string> parts = SplitBar(reader.Next());
        if (parts.size() != 2) return false;
        pairs.emplace_back(parts[0], parts[1]);
    }
    return true;
}

}  // namespace

TLauncherBudget LauncherBudget() {
    TLauncherBudget budget;
    budget.maxPictureSide = std::min(budget.maxPictureSide, MaxImageSide());
    return budget;
}

TLauncherPackageData ReadLauncherPackage(const std::string& packageFolder, const std::string& appId,
                                         const TLauncherBudget& budget, const std::function<bool()>& keepGoing) {
    TLauncherPackageData d;
    auto fail = [&d](const std::string& message) {
        d.fault = message;
        d.version = 0;
        d.corrupted = 1;
        return d;
    };
    // Over the budget: refused whole, nothing of it kept.
    auto overBudget = [&d, &fail](const std::string& what) {
        d.icons.clear();
        d.hasBaner = false;
        d.pictures.clear();
        d.pixels = 0;
        d.overBudget = true;
        return fail("over budget: " + what);
    };
    const std::string descriptionPath = packageFolder + "/launcher.dat";
    if (FileType(descriptionPath) == 1 && FileSize(descriptionPath) > budget.maxDescriptionBytes)
        return overBudget("launcher.dat is larger than " + IntToString(budget.maxDescriptionBytes) + " bytes");
    std::string bytes;
    if (!LoadBytes(descriptionPath, bytes)) return fail("loader error1");
    LineReader reader(bytes);
    bytes.clear();
    PictureReader pictures(packageFolder, budget, d, keepGoing);
    // A picture for a section: its index, -1 when it cannot be had; false when the read must end
    // (over the budget, or told to stop).
    int picture = -1;
    auto getPicture = [&](const std::string& gfx) {
        if (keepGoing && !keepGoing()) {
            fail("the reading was stopped");
            return false;
        }
        picture = pictures.Get(gfx);
        // Told to stop while a picture was decoded: that picture is not at fault.
        if (keepGoing && !keepGoing()) {
            fail("the reading was stopped");
            return false;
        }
        if (picture == -2) {
            overBudget(pictures.Fault());
            return false;
        }
        return true;
    };

    if (reader.Next() != "<HEADER>") return fail("loader error2");
    std::vector<std::string> parts = SplitBar(reader.Next());
    if (parts.size() != 2) return fail("loader error3");
    if (parts[0] != "HEADERVARS" || StringToInt(parts[1]) == 0) return fail("loder error4");
    const int headerVars = StringToInt(parts[1]);
    int iconVars = -1, banerVars = -1, altBanerVars = -1, version = -1;
    for (int i = 1; i < headerVars; ++i) {
        parts = SplitBar(reader.Next());
        if (parts.size() != 2) return fail("loader error5");
        const std::string& name = parts[0];
        const std::string& value = parts[1];
        if (name == "ICONVARS") {
            if (BadNumber(value)) return fail("loader error6");
            iconVars = StringToInt(value);
        } else if (name == "BANERVARS") {
            if (BadNumber(value)) return fail("loader error7");
            banerVars = StringToInt(value);
        } else if (name == "ALTBANERVARS") {
            if (BadNumber(value)) return fail("loader error8");
            altBanerVars = StringToInt(value);
        } else if (name == "VERSION") {
            if (BadNumber(value)) return fail("loader error9");
            version = StringToInt(value);
        }
    }
    if (version == -1) return fail("loader error10");

    bool altWanted = false;  // a banner for this very game was dropped
    int iconSections = 0;
    while (!reader.AtEnd()) {
        const std::string line = reader.Next();
        std::vector<std::pair<std::string, std::string>> pairs;
        if (line == "<ICON>" && iconVars >= 0) {
            if (++iconSections > budget.maxIcons)
                return overBudget("more than " + IntToString(budget.maxIcons) + " icons");
            if (!ReadSection(reader, iconVars, pairs)) return fail("loader error11");
            TLauncherPackageData::Entry icon;
            std::string gfx;
            for (const auto& [key, value] : pairs) {
                if (key == "APPID") icon.appId = value;
                else if (key == "URL") icon.url = value;
                else if (key == "GFX") gfx = value;
            }
            icon.url = Replace(icon.url, "$UTMSOURCE$", appId);
            if (!getPicture(gfx)) return d;
            if (picture < 0) return fail("loader error12");
            icon.picture = picture;
            icon.nr = static_cast<int>(d.icons.size());
            if (icon.appId != appId) d.icons.push_back(std::move(icon));
        } else if (line == "<BANER>" && banerVars >= 0) {
            if (!ReadSection(reader, banerVars, pairs)) return fail("loader error13");
            TLauncherPackageData::Entry baner;
            std::string gfx;
            int showIfBuy = 0;
            for (const auto& [key, value] : pairs) {
                if (key == "APPID") baner.appId = value;
                else if (key == "URL") baner.url = value;
                else if (key == "GFX") gfx = value;
                else if (key == "SHOWIFBUY") {
                    if (BadNumber(value)) return fail("loader error14");
                    showIfBuy = StringToInt(value);
                }
            }
            if (!getPicture(gfx)) return d;
            if (picture < 0) return fail("loader error15");
            baner.picture = picture;
            if (baner.appId == appId && showIfBuy == 0) {
                altWanted = true;
            } else {
                d.baner = std::move(baner);
                d.hasBaner = true;
            }
        } else if (line == "<ALTBANER>" && altBanerVars >= 0 && altWanted) {
            if (!ReadSection(reader, altBanerVars, pairs)) return fail("loader error16");
            TLauncherPackageData::Entry baner;
            std::string gfx;
            for (const auto& [key, value] : pairs) {
                if (key == "APPID") baner.appId = value;
                else if (key == "URL") baner.url = value;
                else if (key == "GFX") gfx = value;
            }
            if (!getPicture(gfx)) return d;
            if (picture < 0) return fail("loader error17");
            baner.picture = picture;
            d.baner = std::move(baner);
            d.hasBaner = true;
        }
    }
    d.version = version;
    return d;
}

TLauncherDescription MakeLauncherDescription(TLauncherPackageData data) {
    TLauncherDescription d;
    d.version = data.version;
    d.corrupted = data.corrupted;
    d.fault = data.fault;
    // One image a picture; every use gets its own copy of it (its own handle) sharing the
    // pixels and the texture.
    std::vector<TImagePtr> images;
    images.reserve(data.pictures.size());
    for (TPixmapPtr& pixmap : data.pictures) images.push_back(AdoptPixmapImage(std::move(pixmap), -1));
    auto imageOf = [&images](int picture) -> TImagePtr {
        if (picture < 0 || picture >= static_cast<int>(images.size()) || !images[picture]) return nullptr;
        return std::make_shared<TImage>(*images[picture]);
    };
    for (const TLauncherPackageData::Entry& e : data.icons) {
        auto icon = std::make_shared<TLauncherIcon>();
        icon->appId = e.appId;
        icon->url = e.url;
        icon->nr = e.nr;
        icon->gfx = imageOf(e.picture);
        SetImageHandle(icon->gfx, static_cast<float>(ImageWidth(icon->gfx) / 2), 0.0f);
        d.icons.push_back(icon);
    }
    if (data.hasBaner) {
        auto baner = std::make_shared<TLauncherBaner>();
        baner->appId = data.baner.appId;
        baner->url = data.baner.url;
        baner->gfx = imageOf(data.baner.picture);
        MidHandleImage(baner->gfx);
        baner->x = 512.0f;
        baner->y = 670.0f;
        d.baner = baner;
    }
    return d;
}

TLauncherDescription ReadLauncherDescription(const std::string& packageFolder, const std::string& appId) {
    return MakeLauncherDescription(ReadLauncherPackage(packageFolder, appId, LauncherBudget()));
}

// ---------------------------------------------------------------------------------------------
// The launcher

void TLauncher::CheckPackage() {
    const std::string package = preferencesLocation + "/launcher/package";
    // What an install left when the program ended during it goes first.
    RemovePackageLeftovers(package);
    installShipped_ = FileType(package) == 0;
    if (!installShipped_) return;
    Print("Preferences: " + preferencesLocation);
    CreateDir(preferencesLocation + "/launcher");
    // The copy itself is made on the worker, before the package is read (Setup): the first frame
    // never waits for it.
}

void TLauncher::Setup() {
    readingLocation = preferencesLocation;
    if (FileType(bDir + "localLauncher.txt") != 0) {
        readingLocation = bDir;
        while (EndsWith(readingLocation, "/")) readingLocation.pop_back();
        Print("Local launcher");
    }
    version = -1;
    iconsSize = 100;
    iconsInRow = 5;
    iconsX = 512;
    iconsY = 90;
    iconsSpace = 50;
    icons.clear();
    baner = nullptr;

    const int half = (iconsInRow * (iconsSize + iconsSpace)) / 2;
    const int arrowsY = iconsY + iconsSize / 2;
    bLeft = TLauncherButton::Create(1, bDir + "launcher/left.png", iconsX - half - 5, arrowsY);
    if (bLeft->gfx) bLeft->x -= static_cast<float>(ImageWidth(bLeft->gfx) / 2);
    bRight = TLauncherButton::Create(1, bDir + "launcher/right.png", iconsX + half + 5, arrowsY);
    if (bRight->gfx) bRight->x += static_cast<float>(ImageWidth(bRight->gfx) / 2);
    bPlay = TLauncherButton::Create(1, bDir + "launcher/play.png", 512, 500);
    bBack = TLauncherButton::Create(1, bDir + "launcher/back.png", 512, 500);
    const std::string backgroundPath = bDir + "launcher/background.jpg";
    const std::string moreGamesPath = bDir + "launcher/moreGames.png";
    background = FileType(backgroundPath) == 1 ? LoadImage(backgroundPath, FILTEREDIMAGE) : nullptr;
    if (background) MidHandleImage(background);
    moreGames = FileType(moreGamesPath) == 1 ? LoadImage(moreGamesPath, -1) : nullptr;
    if (moreGames) SetImageHandle(moreGames, 0.0f, 0.0f);
    screenImagesLoaded = 1;
    const std::pair<const char*, bool> pictures[] = {
        {"launcher/left.png", bLeft->gfx != nullptr},       {"launcher/right.png", bRight->gfx != nullptr},
        {"launcher/play.png", bPlay->gfx != nullptr},       {"launcher/back.png", bBack->gfx != nullptr},
        {"launcher/background.jpg", background != nullptr}, {"launcher/moreGames.png", moreGames != nullptr},
    };
    for (const auto& [name, loaded] : pictures) {
        if (loaded) continue;
        // Without its pictures the screen could not be used (no Play button to leave it by).
        ErrorNoFile(bDir + name, Here());
        screenImagesLoaded = 0;
    }

    const std::string packageFolder = readingLocation + "/launcher/package";
    Print("LOADER: " + packageFolder + "/launcher.dat");
    // Its pictures may take a while to decode (as many as the budget allows, in any coding): the
    // first frame never waits for them.
    loading = 1;
    requestWhenRead_ = false;
    auto read = std::make_shared<TLauncherPackageData>();
    reading_ = read;
    const TLauncherBudget budget = LauncherBudget();
    const std::string app = appId;
    const std::string shipped = installShipped_ ? bDir + "launcher/package" : std::string();
    const std::string installed = preferencesLocation + "/launcher/package";
    installShipped_ = false;
    const bool started = TLauncherWorker::Shared().Start(
        [read, packageFolder, app, budget, shipped, installed] {
            auto keepGoing = [] { return TLauncherWorker::Shared().KeepGoing(); };
            if (!shipped.empty()) {
                auto log = [](const std::string& line) {
                    TLauncherWorker::Shared().Post([line] { LauncherLog(line); });
                };
                InstallShippedPackage(shipped, installed, budget, log, keepGoing);
            }
            *read = ReadLauncherPackage(packageFolder, app, budget, keepGoing);
        },
        [read] {
            // Only the launcher that asked takes it (a newer one reads again for itself).
            if (Launcher && Launcher->reading_ == read) Launcher->TakeReadPackage(std::move(*read));
        });
    if (!started) {
        if (!shipped.empty()) InstallShippedPackage(shipped, installed, budget, LauncherLog);
        TakeReadPackage(ReadLauncherPackage(packageFolder, appId, budget));
    }
}

void TLauncher::TakeReadPackage(TLauncherPackageData data) {
    reading_ = nullptr;
    TLauncherDescription d = MakeLauncherDescription(std::move(data));
    // A fault may name what a downloaded package holds: escaped and bounded.
    if (d.corrupted) Print(ConsoleExcerpt(d.fault, 400));
    TakePackage(std::move(d));
    loading = 0;
    if (requestWhenRead_) {
        requestWhenRead_ = false;
        Request();
    }
}

void TLauncher::FinishLoading() {
    // The read ends within its budget; only a stop at the program's end drops it.
    while (loading && reading_ && LauncherWorkPending()) {
        TLauncherWorker::Shared().Deliver();
        if (loading) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TLauncher::TakePackage(TLauncherDescription d) {
    icons = std::move(d.icons);
    for (const TLauncherIconPtr& icon : icons) icon->owner = this;
    baner = std::move(d.baner);
    iconsX = 512;
    tx = dTx = 0.0f;
    if (d.corrupted) {
        version = 0;
        corrupted = 1;
        return;
    }
    version = d.version;
    corrupted = 0;
    const int c = static_cast<int>(icons.size());
    if (c >= 1 && c <= 4) iconsX = 512 + ((5 - c) * 100) / 2 + ((5 - c) * 50) / 2;
}

int TLauncher::InstalledVersion() const {
    if (readingLocation == preferencesLocation) return version;
    return LauncherPackageVersion(preferencesLocation + "/launcher/package", LauncherBudget());
}

void TLauncher::Request() {
    if (loading) {
        requestWhenRead_ = true;
        return;
    }
    Print("REQUESTING...");
    // The per-user package's version, when it is not the one shown, is read on the worker.
    RequestForPackage(packageUrl, readingLocation == preferencesLocation ? version : -1,
                      preferencesLocation + "/launcher/package");
}

void TLauncher::Prepare() {
    tx = 0.0f;
    dTx = 0.0f;
    fade = 1.0f;
    dFade = 0.0f;
}

void TLauncher::UpdateIconPosition(TLauncherIcon& icon) {
    icon.x = static_cast<float>(RowLeft() + iconsSize / 2 + Pitch() * icon.nr) - tx;
    icon.y = static_cast<float>(iconsY);
}

int TLauncher::XInViewPort(float x) {
    const int left = RowLeft();
    return (static_cast<float>(left) <= x && x <= static_cast<float>(left + RowWidth())) ? 1 : 0;
}

void TLauncher::SlideLeft() {
    if (tx != dTx || static_cast<int>(icons.size()) <= iconsInRow) return;
    dTx -= static_cast<float>(Page());
    if (dTx < 0.0f) dTx = 0.0f;
}

void TLauncher::SlideRight() {
    if (tx != dTx || static_cast<int>(icons.size()) <= iconsInRow) return;
    dTx += static_cast<float>(Page());
    const float last = static_cast<float>(static_cast<int>(icons.size()) * Pitch() - Page());
    if (dTx > last) dTx = last;
}

void TLauncher::Update() {
    fade = EaseLauncherValue(fade, dFade, 0.05f, -1.0f);
    if (baner) baner->Update();
    for (const TLauncherIconPtr& icon : icons) {
        UpdateIconPosition(*icon);
        icon->Update();
    }
    tx = EaseLauncherValue(tx, dTx, 50.0f, -1.0f);
    const bool arrows = static_cast<int>(icons.size()) > iconsInRow;
    if (arrows && bLeft && bRight) {
        bLeft->Update();
        bRight->Update();
    }
    const TLauncherButtonPtr& leave = inGame ? bBack : bPlay;
    if (leave) leave->Update();
    if (bLeft && bLeft->IsClicked()) SlideLeft();
    if (bRight && bRight->IsClicked()) SlideRight();
    if (leave && leave->IsClicked()) dFade = 1.0f;
}

void TLauncher::Draw() {
    SetColor(255, 255, 255);
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    DrawImage(background, 512.0f, 384.0f, 0);
    const int c = static_cast<int>(icons.size());
    if (c >= 1) {
        const int x = c <= 4 ? 512 - (c * iconsSize + (c - 1) * iconsSpace) / 2 : 160;
        DrawImage(moreGames, static_cast<float>(x), 40.0f, 0);
    }
    if (baner) baner->Draw();
    int vx, vy, vw, vh;
    GetViewport(vx, vy, vw, vh);
    SetAspectViewport(RowLeft() + ScreenStepX, 0, RowWidth(), 768);
    for (const TLauncherIconPtr& icon : icons) icon->Draw();
    SetViewport(vx, vy, vw, vh);
    if (c > iconsInRow) {
        if (bLeft) bLeft->Draw();
        if (bRight) bRight->Draw();
    }
    const TLauncherButtonPtr& leave = inGame ? bBack : bPlay;
    if (leave) leave->Draw();
    SetAlpha(fade);
    SetColor(0, 0, 0);
    DrawRect(-171.0f, 0.0f, 1366.0f, 768.0f);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void CreateLauncher(const std::string& appId, const std::string& packageUrl, const std::string& preferencesLocation) {
    Launcher = std::make_shared<TLauncher>();
    Launcher->appId = appId;
    Launcher->packageUrl = packageUrl;
    Launcher->preferencesLocation = preferencesLocation;
    Launcher->CheckPackage();
    Launcher->Setup();
}

namespace {

// Stops the launcher's background work when the program ends the normal way, before the exit
// (which ends the process without waiting for any thread): no file is left half written.
class TLauncherWorkEnd : public TAppObj {
public:
    int SaveAtEnd() override {
        StopLauncherWork();
        return 0;
    }
};

}  // namespace

int InitLauncher(const std::string& appId, const std::string& packageUrl) {
    if (LauncherOn == 0) return 0;
    CreateLauncher(appId, packageUrl, AppDataFolder);
    bool registered = false;
    for (const auto& obj : Control::ToSaveAtEndList)
        if (dynamic_cast<TLauncherWorkEnd*>(obj.get())) registered = true;
    if (!registered) AddToSaveAtEndList(std::make_shared<TLauncherWorkEnd>());
    return 0;
}

void TakeInstalledLauncherPackage(const std::string& destination, TLauncherPackageData data) {
    // Only a launcher that reads this very package takes it (one showing the data folder's
    // package keeps that).
    if (!Launcher || Launcher->readingLocation != Launcher->preferencesLocation ||
        Launcher->preferencesLocation + "/launcher/package" != destination)
        return;
    Launcher->TakePackage(MakeLauncherDescription(std::move(data)));
}

void FlipAndClear() {
    Control::BeforeOwnLoopFlip();
    Flip(-1);
    AspectCls();
}

void BeforeExitHook() {}

std::string RunLauncherScreen(int inGame) {
    const std::string result = "MAIN-MENU";
    if (!Launcher) return result;
    Launcher->inGame = inGame;
    Launcher->Prepare();
    FlushMouse();
    if (FileType(bDir + "noLauncher.txt") != 0) return result;
    // Under the fixed clock the package read beside is waited for, so that runs repeat frame for
    // frame; on the real clock the screen stays black until it is in.
    if (Launcher->loading && FixedClockOn()) Launcher->FinishLoading();
    if ((!Launcher->loading && Launcher->corrupted) || !Launcher->screenImagesLoaded) return result;
    ShowMouse();
    UpdateDelta();
    for (;;) {
        // Counts the frame with the harness's and ends the program the normal way on a close
        // request (nothing the player changed is lost).
        if (Control::BeginOwnLoopFrame() != 0) return result;
        if (KeyDown(KEY_LSYS) && KeyHit(KEY_F)) GraphicsSwitchFullScreen();
        UpdateDelta();
        // A package found faulty once it is read shows no screen.
        if (!Launcher->loading && Launcher->corrupted) break;
        Launcher->Draw();
        if (!Launcher->loading) Launcher->Update();
        FlipAndClear();
        if (Launcher->dFade == 1.0f && Launcher->fade == 1.0f) break;
    }
    if (AppSettings::CustomCursor) HideMouse();
    FlushMouse();
    return result;
}

void RequestLauncherPackage() {
    if (Launcher) Launcher->Request();
}

int ShowLauncher() {
    if (LauncherOn == 0) return 0;
    RunLauncherScreen(0);
    if (Control::isEnded) return 0;
    RequestLauncherPackage();
    return 0;
}
