// The launcher: reading "launcher.dat" (its faults, the header count, the icons and banners),
// installing the package, the row's layout and slide arithmetic, the widgets' press rule and the
// screen's own loop on a headless window.
#include "online/Launcher.h"
#include "online/LauncherPackage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/screen/Control.h"
#include "engine/screen/ControlHooks.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Letterbox.h"
#include "engine/system/Paths.h"
#include "game/online/LauncherTestSupport.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/OpenURL.h"
#include "support/TestSupport.h"

namespace {

using launchertest::Header;
using launchertest::Icon;
using launchertest::WritePackage;
using testsupport::TempDir;

const std::string kGame = "quiltora2";

TLauncherDescription Read(const TempDir& dir, const std::string& description) {
    WritePackage(dir.file("package"), description);
    return ReadLauncherDescription(dir.file("package"), kGame);
}

TEST(LauncherDescriptionTest, FaultsTable) {
    const std::string banerLines = "<BANER>\nAPPID|quiltora2\nURL|u\nGFX|baner.png\nSHOWIFBUY|0\n";
    struct Case {
        const char* what;
        std::string text;
        std::string fault;  // empty: reads well
        int icons;
    };
    const Case cases[] = {
        {"a good package", Header(7) + Icon("a") + Icon("b"), "", 2},
        {"CR before LF", "<HEADER>\r\nHEADERVARS|2\r\nVERSION|7\r\n", "", 0},
        {"first line", "<HEADR>\nHEADERVARS|2\nVERSION|1\n", "loader error2", 0},
        {"empty file", "", "loader error2", 0},
        {"count without bar", "<HEADER>\nHEADERVARS\n", "loader error3", 0},
        {"count with two bars", "<HEADER>\nHEADERVARS|2|x\n", "loader error3", 0},
        {"count name", "<HEADER>\nHEADVARS|2\nVERSION|1\n", "loder error4", 0},
        {"count 0", "<HEADER>\nHEADERVARS|0\nVERSION|1\n", "loder error4", 0},
        {"count 00", "<HEADER>\nHEADERVARS|00\nVERSION|1\n", "loder error4", 0},
        {"count not a number", "<HEADER>\nHEADERVARS|x\nVERSION|1\n", "loder error4", 0},
        {"header line without bar", "<HEADER>\nHEADERVARS|3\nVERSION|1\nICONVARS\n", "loader error5", 0},
        {"ICONVARS 00", "<HEADER>\nHEADERVARS|3\nICONVARS|00\nVERSION|1\n", "loader error6", 0},
        {"BANERVARS x", "<HEADER>\nHEADERVARS|3\nBANERVARS|x\nVERSION|1\n", "loader error7", 0},
        {"ALTBANERVARS empty", "<HEADER>\nHEADERVARS|3\nALTBANERVARS|\nVERSION|1\n", "loader error8", 0},
        {"VERSION blank 0", "<HEADER>\nHEADERVARS|2\nVERSION| 0\n", "loader error9", 0},
        {"VERSION 0 is a version", "<HEADER>\nHEADERVARS|2\nVERSION|0\n", "", 0},
        {"count 1 reads no header line", "<HEADER>\nHEADERVARS|1\nVERSION|1\n", "loader error10", 0},
        {"count 4 leaves VERSION as a body line",
         "<HEADER>\nHEADERVARS|4\nICONVARS|3\nBANERVARS|4\nALTBANERVARS|3\nVERSION|5\n", "loader error10", 0},
        {"VERSION -1 counts as missing", "<HEADER>\nHEADERVARS|2\nVERSION|-1\n", "loader error10", 0},
        {"icon line without bar", Header(1) + "<ICON>\nAPPID|a\nURL\nGFX|icon.png\n", "loader error11", 0},
        {"icon cut short", Header(1) + "<ICON>\nAPPID|a\n", "loader error11", 0},
        {"icon without picture", Header(1) + Icon("a", "nothing.png"), "loader error12", 0},
        {"icon picture outside the package", Header(1) + Icon("a", "../package/icon.png/../../outside.png"),
         "loader error12", 0},
        {"ICONVARS 0: a section has no lines", "<HEADER>\nHEADERVARS|3\nICONVARS|0\nVERSION|1\n<ICON>\n",
         "loader error12", 0},
        {"no ICONVARS: icons skipped", "<HEADER>\nHEADERVARS|2\nVERSION|1\n" + Icon("a") + Icon("b"), "", 0},
        {"fault after two icons keeps them", Header(1) + Icon("a") + Icon("b") + Icon("c", "none.png"),
         "loader error12", 2},
        {"banner line without bar", Header(1) + "<BANER>\nAPPID|a\nURL|u\nGFX\nSHOWIFBUY|0\n", "loader error13", 0},
        {"SHOWIFBUY 00", Header(1) + "<BANER>\nAPPID|a\nURL|u\nGFX|baner.png\nSHOWIFBUY|00\n", "loader error14", 0},
        {"banner without picture", Header(1) + "<BANER>\nAPPID|a\nURL|u\nGFX|x.png\nSHOWIFBUY|1\n", "loader error15",
         0},
        {"alternative line without bar", Header(1) + banerLines + "<ALTBANER>\nAPPID|b\nURL\nGFX|baner.png\n",
         "loader error16", 0},
        {"alternative without picture", Header(1) + banerLines + "<ALTBANER>\nAPPID|b\nURL|u\nGFX|x.png\n",
         "loader error17", 0},
        {"alternative before a dropped banner is skipped",
         Header(1) + "<ALTBANER>\nAPPID|b\nURL|u\nGFX|x.png\n" + banerLines, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const TLauncherDescription d = Read(dir, c.text);
        EXPECT_EQ(d.fault, c.fault);
        EXPECT_EQ(d.corrupted, c.fault.empty() ? 0 : 1);
        if (!c.fault.empty()) {
            EXPECT_EQ(d.version, 0);
        }
        EXPECT_EQ(d.icons.size(), static_cast<size_t>(c.icons));
    }
    TempDir empty;
    EXPECT_EQ(ReadLauncherDescription(empty.file("package"), kGame).fault, "loader error1");
}

TEST(LauncherDescriptionTest, HeaderCountIncludesItsOwnLine) {
    TempDir dir;
    // Five: the four lines all read (VERSION last).
    TLauncherDescription d = Read(dir, Header(9) + Icon("a"));
    EXPECT_EQ(d.version, 9);
    EXPECT_EQ(d.icons.size(), 1u);
    // Three, in any order: VERSION first, then ICONVARS; the fourth line is a body line.
    d = Read(dir, "<HEADER>\nHEADERVARS|3\nVERSION|4\nICONVARS|3\nBANERVARS|4\n" + Icon("a"));
    EXPECT_EQ(d.fault, "");
    EXPECT_EQ(d.version, 4);
    EXPECT_EQ(d.icons.size(), 1u);
}

TEST(LauncherDescriptionTest, UtmSourceOnlyInIconAddressesAndTheGamesOwnEntriesLeftOut) {
    TempDir dir;
    const TLauncherDescription d =
        Read(dir, Header(1) + Icon("a", "icon.png", "https://a/?s=$UTMSOURCE$&t=$UTMSOURCE$") + Icon(kGame) +
                      Icon("b", "icon.png", "https://b/$UTMSOURCE$") +
                      "<BANER>\nAPPID|a\nURL|https://a/?s=$UTMSOURCE$\nGFX|baner.png\nSHOWIFBUY|0\n");
    ASSERT_EQ(d.icons.size(), 2u);
    EXPECT_EQ(d.icons[0]->url, "https://a/?s=quiltora2&t=quiltora2");
    EXPECT_EQ(d.icons[1]->url, "https://b/quiltora2");
    EXPECT_EQ(d.icons[1]->appId, "b");
    // The game's own icon leaves no gap: the next one takes its place.
    EXPECT_EQ(d.icons[0]->nr, 0);
    EXPECT_EQ(d.icons[1]->nr, 1);
    // Icons hang from the centre of their top edge; the banner is centred at (512, 670).
    EXPECT_EQ(ImageHandleX(d.icons[0]->gfx), 40.0f);
    EXPECT_EQ(ImageHandleY(d.icons[0]->gfx), 0.0f);
    ASSERT_TRUE(d.baner);
    EXPECT_EQ(d.baner->url, "https://a/?s=$UTMSOURCE$");
    EXPECT_EQ(d.baner->x, 512.0f);
    EXPECT_EQ(d.baner->y, 670.0f);
}

TEST(LauncherDescriptionTest, ABannerForThisGameGivesWayToTheAlternative) {
    const std::string other = "<BANER>\nAPPID|other\nURL|other\nGFX|baner.png\nSHOWIFBUY|0\n";
    const std::string own0 = "<BANER>\nAPPID|quiltora2\nURL|own\nGFX|baner.png\nSHOWIFBUY|0\n";
    const std::string own1 = "<BANER>\nAPPID|quiltora2\nURL|own\nGFX|baner.png\nSHOWIFBUY|1\n";
    const std::string ownNoLine = "<BANER>\nAPPID|quiltora2\nURL|own\nGFX|baner.png\nX|1\n";
    const std::string alt = "<ALTBANER>\nAPPID|alt\nURL|alt\nGFX|baner.png\n";
    struct Case {
        const char* what;
        std::string body;
        std::string shown;  // url of the banner shown, "" for none
    };
    const Case cases[] = {
        {"own with SHOWIFBUY 1 is shown", own1 + alt, "own"},
        {"own with SHOWIFBUY 0 is replaced", own0 + alt, "alt"},
        {"own without SHOWIFBUY is replaced", ownNoLine + alt, "alt"},
        {"no replacement keeps the earlier banner", other + own0, "other"},
        {"no replacement and none earlier", own0, ""},
        {"a later banner replaces the alternative", own0 + alt + other, "other"},
        {"a later alternative replaces a later banner", own0 + other + alt, "alt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const TLauncherDescription d = Read(dir, Header(1) + c.body);
        EXPECT_EQ(d.fault, "");
        EXPECT_EQ(d.baner ? d.baner->url : "", c.shown);
    }
}

TEST(LauncherDescriptionTest, APackageOverItsBudgetIsRefusedWholeBeforeItsPicturesAreDecoded) {
    // icon.png is 80 x 100 (8,000 pixels), baner.png 600 x 100 (60,000).
    TLauncherBudget small;
    small.maxIcons = 3;
    small.maxPictureSide = 600;
    small.maxPicturePixels = 60000;
    small.maxPackagePixels = 68000;
    const std::string banner = "<BANER>\nAPPID|a\nURL|u\nGFX|baner.png\nSHOWIFBUY|1\n";
    struct Case {
        const char* what;
        std::string text;
        std::function<void(TLauncherBudget&)> change;
        std::string fault;  // empty: within the budget
    };
    const auto same = [](TLauncherBudget&) {};
    const Case cases[] = {
        {"at every limit", Header(1) + Icon("a") + Icon("b") + Icon("c") + banner, same, ""},
        {"one icon too many", Header(1) + Icon("a") + Icon("b") + Icon("c") + Icon("d"), same,
         "over budget: more than 3 icons"},
        {"the game's own icon counts", Header(1) + Icon("a") + Icon("b") + Icon(kGame) + Icon("d"), same,
         "over budget: more than 3 icons"},
        {"a side too long", Header(1) + banner, [](TLauncherBudget& b) { b.maxPictureSide = 599; },
         "over budget: the picture baner.png is 600 x 100 pixels (at most 599 a side"},
        {"a picture too large", Header(1) + banner, [](TLauncherBudget& b) { b.maxPicturePixels = 59999; },
         "over budget: the picture baner.png is 600 x 100 pixels"},
        {"the package too large", Header(1) + Icon("a") + banner,
         [](TLauncherBudget& b) { b.maxPackagePixels = 67999; },
         "over budget: the picture baner.png is 600 x 100 pixels (at most 600 a side and 60000 in a picture, 67999 in "
         "the package, 59999 of them left)"},
        {"a picture file too large", Header(1) + Icon("a"), [](TLauncherBudget& b) { b.maxPictureFileBytes = 10; },
         "over budget: the picture icon.png is larger than 10 bytes"},
        {"a description too large", Header(1) + Icon("a"), [](TLauncherBudget& b) { b.maxDescriptionBytes = 10; },
         "over budget: launcher.dat is larger than 10 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WritePackage(dir.file("package"), c.text);
        TLauncherBudget budget = small;
        c.change(budget);
        const TLauncherPackageData d = ReadLauncherPackage(dir.file("package"), kGame, budget);
        EXPECT_EQ(d.fault.rfind(c.fault, 0), 0u) << d.fault;
        EXPECT_EQ(d.overBudget, !c.fault.empty());
        if (!c.fault.empty()) {
            // Refused whole: nothing of it is kept, and it counts as faulty.
            EXPECT_EQ(d.corrupted, 1);
            EXPECT_EQ(d.version, 0);
            EXPECT_TRUE(d.icons.empty());
            EXPECT_FALSE(d.hasBaner);
            EXPECT_TRUE(d.pictures.empty());
        }
    }

    // A picture named again (under any name of the same file) is decoded once and counted once;
    // its uses share the pixels, each with its own handle.
    TempDir dir;
    WritePackage(dir.file("package"), Header(1) + Icon("a") + Icon("b", "./icon.png") + Icon("c", "ICON.PNG") +
                                          "<BANER>\nAPPID|a\nURL|u\nGFX|icon.png\nSHOWIFBUY|1\n");
    TLauncherPackageData data = ReadLauncherPackage(dir.file("package"), kGame, small);
    EXPECT_EQ(data.fault, "");
    EXPECT_EQ(data.pictures.size(), 1u);
    EXPECT_EQ(data.pixels, 8000);
    const TLauncherDescription d = MakeLauncherDescription(std::move(data));
    ASSERT_EQ(d.icons.size(), 3u);
    ASSERT_TRUE(d.baner);
    EXPECT_EQ(d.icons[0]->gfx->pixmaps[0], d.icons[2]->gfx->pixmaps[0]);
    EXPECT_EQ(d.icons[0]->gfx->textures[0], d.baner->gfx->textures[0]);
    EXPECT_EQ(ImageHandleY(d.icons[0]->gfx), 0.0f);
    EXPECT_EQ(ImageHandleY(d.baner->gfx), 50.0f);
}

// A launcher on a temporary per-user folder, reading the repository's screen pictures.
class LauncherTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string savedDir;

    void SetUp() override {
        savedDir = bDir;
        bDir = testsupport::SourceDir() + "/data/";
        ResetInput();
        ResetAspect();
        delta = 1.0f;
    }
    void TearDown() override {
        Launcher = nullptr;
        bDir = savedDir;
        ResetInput();
        delta = 0.0f;
    }
    std::string Package() const { return dir.file("user/launcher/package"); }
    // CreateLauncher on the per-user folder; returns what it printed.
    std::string Create() {
        testing::internal::CaptureStdout();
        CreateLauncher(kGame, "http://updates.quiltora.invalid/launcher/launcher.php", dir.file("user"));
        Launcher->FinishLoading();
        return testing::internal::GetCapturedStdout();
    }
    // A package of n icons named a0, a1, ...
    void Icons(int n) {
        std::string text = Header(3);
        for (int i = 0; i < n; ++i) text += Icon(std::string("a").append(std::to_string(i)));
        WritePackage(Package(), text);
    }
};

TEST_F(LauncherTest, ThePackageIsInstalledOnceAndTheRowCentredOnFewIcons) {
    const std::string out = Create();
    EXPECT_EQ(out, "Preferences: " + dir.file("user") + "\nLOADER: " + Package() + "/launcher.dat\n");
    // The shipped package: three sister games, so the row's centre moves to 662.
    EXPECT_EQ(Launcher->version, 1);
    EXPECT_EQ(Launcher->corrupted, 0);
    EXPECT_EQ(Launcher->screenImagesLoaded, 1);
    ASSERT_EQ(Launcher->icons.size(), 3u);
    EXPECT_EQ(Launcher->iconsX, 662);
    EXPECT_EQ(Launcher->RowLeft(), 312);
    ASSERT_TRUE(Launcher->baner);
    EXPECT_EQ(FileType(Package() + "/launcher.dat"), 1);
    EXPECT_EQ(FileType(Package() + ".new"), 0);
    // The arrows stand beside the five-icon row: right edge at 132, left edge at 892.
    EXPECT_EQ(Launcher->bLeft->x + ImageWidth(Launcher->bLeft->gfx) / 2, 132.0f);
    EXPECT_EQ(Launcher->bRight->x - ImageWidth(Launcher->bRight->gfx) / 2, 892.0f);
    EXPECT_EQ(Launcher->bLeft->y, 140.0f);

    // An installed package is never overwritten by the data folder's.
    for (int c : {1, 2, 3, 4, 5, 8}) {
        SCOPED_TRACE(c);
        Icons(c);
        Create();
        EXPECT_EQ(Launcher->version, 3);
        EXPECT_EQ(Launcher->iconsX, c <= 4 ? 512 + ((5 - c) * 100) / 2 + ((5 - c) * 50) / 2 : 512);
    }
}

TEST_F(LauncherTest, AFaultyPackageIsKeptOutOfSightWithVersionZero) {
    WritePackage(Package(), Header(3) + Icon("a") + Icon("b") + Icon("c", "gone.png"));
    const std::string out = Create();
    EXPECT_EQ(out, "LOADER: " + Package() + "/launcher.dat\nloader error12\n");
    EXPECT_EQ(Launcher->corrupted, 1);
    EXPECT_EQ(Launcher->version, 0);
    EXPECT_EQ(Launcher->loading, 0);
    EXPECT_EQ(Launcher->icons.size(), 2u);
    EXPECT_EQ(Launcher->iconsX, 512);
    EXPECT_EQ(RunLauncherScreen(0), "MAIN-MENU");  // no screen, no window needed

    // An existing but empty package folder is not refilled.
    DeleteDir(Package());
    CreateDir(Package());
    EXPECT_EQ(Create(), "LOADER: " + Package() + "/launcher.dat\nloader error1\n");
    EXPECT_EQ(Launcher->corrupted, 1);
}

TEST_F(LauncherTest, WhatAnInterruptedInstallLeftIsRemovedAtTheNextStart) {
    // The program ended between the two renames of an install: the package stepped aside, the
    // new one not yet in its place, the archive still there. The stepped-aside package is whole
    // and is put back; the rest goes.
    WritePackage(Package() + ".old", Header(4) + Icon("a"));
    WritePackage(Package() + ".new", Header(5) + Icon("b"));
    testsupport::WriteFileBytes(Package() + ".zip", "PK");
    Create();
    EXPECT_EQ(Launcher->version, 4);
    EXPECT_EQ(testsupport::ReadFileBytes(Package() + "/launcher.dat"), Header(4) + Icon("a"));
    for (const char* leftover : {".old", ".new", ".zip"}) EXPECT_EQ(FileType(Package() + leftover), 0) << leftover;

    // Ended while unpacking or downloading: the installed package stays, the rest goes.
    WritePackage(Package() + ".new", Header(5) + Icon("b"));
    CreateDir(Package() + ".old");
    testsupport::WriteFileBytes(Package() + ".zip", "PK");
    Create();
    EXPECT_EQ(Launcher->version, 4);
    for (const char* leftover : {".old", ".new", ".zip"}) EXPECT_EQ(FileType(Package() + leftover), 0) << leftover;
}

TEST_F(LauncherTest, AnInstalledPackageOverItsBudgetIsKeptOutOfSight) {
    // Put there by an older game: four icons naming one 8192 x 8192 picture.
    std::string text = Header(3);
    for (int i = 0; i < 4; ++i) text += Icon(std::string("g").append(std::to_string(i)), "big.png");
    WritePackage(Package(), text);
    testsupport::WriteFileBytes(Package() + "/big.png", launchertest::HugePngBytes(8192, 8192));
    const std::string out = Create();
    EXPECT_NE(out.find("over budget: the picture big.png is 8192 x 8192 pixels"), std::string::npos) << out;
    EXPECT_EQ(Launcher->corrupted, 1);
    EXPECT_EQ(Launcher->version, 0);  // the next check replaces it
    EXPECT_TRUE(Launcher->icons.empty());
}

TEST_F(LauncherTest, TheShippedPackageIsCopiedWithoutFollowingLinksAndOffTheFrameLoop) {
    TempDir data;
    ASSERT_TRUE(CopyDir(testsupport::SourceDir() + "/data/launcher", data.file("launcher")));
    const std::string shipped = data.file("launcher/package");
    // Links out of the package: a folder of thousands of files and one file.
    ASSERT_EQ(::symlink("/usr/include", (shipped + "/include").c_str()), 0);
    ASSERT_EQ(::symlink("/etc/hostname", (shipped + "/host.png").c_str()), 0);
    bDir = data.path() + "/";
    std::vector<std::string> logged;
    LauncherLogHook = [&logged](const std::string& line) { logged.push_back(line); };
    testing::internal::CaptureStdout();
    CreateLauncher(kGame, "http://updates.quiltora.invalid/launcher/launcher.php", dir.file("user"));
    // Created and set up with the copy still to come or under way on the worker.
    const bool copiedOnTheWorker = FileType(Package() + "/launcher.dat") == 0 || LauncherWorkPending();
    Launcher->FinishLoading();
    testing::internal::GetCapturedStdout();
    LauncherLogHook = nullptr;
    EXPECT_TRUE(copiedOnTheWorker);
    EXPECT_EQ(Launcher->version, 1);
    EXPECT_EQ(Launcher->icons.size(), 3u);
    EXPECT_EQ(FileType(Package() + "/include"), 0);
    EXPECT_EQ(FileType(Package() + "/host.png"), 0);
    EXPECT_EQ(ReadDir(Package()).size(), ReadDir(shipped).size() - 2);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0], "Launcher package: " + shipped + "/host.png is a link or not a file; it is not copied");

    // A package over the copy's budget is not installed, and said so.
    DeleteDir(Package());
    testsupport::WriteFileBytes(shipped + "/filler.bin", std::string(TLauncherBudget{}.maxUnpackedBytes, 'x'));
    LauncherLogHook = [&logged](const std::string& line) { logged.push_back(line); };
    logged.clear();
    Create();
    LauncherLogHook = nullptr;
    EXPECT_EQ(FileType(Package()), 0);
    EXPECT_EQ(FileType(Package() + ".new"), 0);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back(), "Launcher package: not installed, its files come to more than the bytes a copy may have");
}

TEST_F(LauncherTest, ALocalPackageIsShownButTheRequestComparesThePerUserOne) {
    TempDir data;
    CreateDir(data.file("launcher"));
    for (const char* pic : {"left.png", "right.png", "play.png", "back.png", "background.jpg", "moreGames.png"})
        ASSERT_TRUE(
            CopyFile(testsupport::SourceDir() + "/data/launcher/" + pic, data.file(std::string("launcher/") + pic)));
    WritePackage(data.file("launcher/package"), Header(3) + Icon("a"));
    testsupport::WriteFileBytes(data.file("localLauncher.txt"), "");
    bDir = data.path() + "/";

    WritePackage(Package(), Header(7) + Icon("a") + Icon("b"));
    const std::string out = Create();
    EXPECT_EQ(out, "Local launcher\nLOADER: " + data.path() + "/launcher/package/launcher.dat\n");
    EXPECT_EQ(Launcher->version, 3);
    EXPECT_EQ(Launcher->icons.size(), 1u);
    EXPECT_EQ(Launcher->InstalledVersion(), 7);
    DeleteDir(Package());
    CreateDir(Package());
    EXPECT_EQ(Launcher->InstalledVersion(), 0);
}

TEST_F(LauncherTest, TheMarkerIsTheExactNameLauncher) {
    TempDir data;
    CreateDir(data.file("launcher"));
    EXPECT_EQ(LauncherMarkerKind(data.path()), 0);
    testsupport::WriteFileBytes(data.file("LAUNCHER"), "");
    EXPECT_EQ(LauncherMarkerKind(data.path()), 0);
    testsupport::WriteFileBytes(data.file("Launcher"), "");
    EXPECT_EQ(LauncherMarkerKind(data.path()), 1);
    // The shipped data switches the launcher off and names a server that never resolves.
    EXPECT_EQ(LauncherMarkerKind(testsupport::SourceDir() + "/data"), 0);
    EXPECT_EQ(LauncherServer(), "http://updates.quiltora.invalid");
    EXPECT_EQ(LauncherPackageUrl(0), "http://updates.quiltora.invalid/launcher_velkarowww/launcher.php");
    EXPECT_EQ(LauncherPackageUrl(1), "http://updates.quiltora.invalid/launcher/launcher.php");
}

TEST_F(LauncherTest, SlidesMoveByPagesOf750AndStopAtTheLastIcon) {
    struct Case {
        int icons;
        std::vector<float> rights;  // dTx after each slide right
    };
    const Case cases[] = {
        {5, {0, 0}},      // five fit: no slide
        {6, {150, 150}},  // one page would pass the last icon: held at 6 * 150 - 750
        {7, {300, 300}}, {12, {750, 1050, 1050}}, {16, {750, 1500, 1650}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icons);
        Icons(c.icons);
        Create();
        Launcher->Prepare();
        float last = 0;
        for (float expected : c.rights) {
            Launcher->SlideRight();
            EXPECT_EQ(Launcher->dTx, expected);
            // 50 pixels a frame until it rests; no new slide is taken meanwhile.
            int frames = 0;
            while (Launcher->tx != Launcher->dTx && frames < 100) {
                Launcher->Update();
                ++frames;
                if (Launcher->tx != Launcher->dTx) {
                    Launcher->SlideRight();
                    EXPECT_EQ(Launcher->dTx, expected);
                }
            }
            EXPECT_EQ(frames, static_cast<int>(expected - last + 49) / 50);
            last = expected;
        }
        // Icon n's centre: 212 + 150 n at rest, less the slide.
        Launcher->UpdateIconPosition(*Launcher->icons[0]);
        EXPECT_EQ(Launcher->icons[0]->x, 212.0f - Launcher->tx);
        Launcher->UpdateIconPosition(*Launcher->icons[c.icons - 1]);
        EXPECT_EQ(Launcher->icons[c.icons - 1]->x, 212.0f + 150.0f * (c.icons - 1) - Launcher->tx);
        Launcher->SlideLeft();
        EXPECT_EQ(Launcher->dTx, c.icons > 5 ? std::max(0.0f, last - 750.0f) : 0.0f);
    }
    EXPECT_EQ(Launcher->XInViewPort(162.0f), 1);
    EXPECT_EQ(Launcher->XInViewPort(862.0f), 1);
    EXPECT_EQ(Launcher->XInViewPort(161.5f), 0);
    EXPECT_EQ(Launcher->XInViewPort(862.5f), 0);
}

TEST_F(LauncherTest, AnIconOpensItsPageOncePerPressEvenWhenThePressBeganElsewhere) {
    std::vector<std::string> opened;
    SetURLOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    WritePackage(Package(), Header(3) + Icon("a", "icon.png", "https://a.example/") +
                                Icon("b", "icon.png", "https://b.example/") +
                                Icon("c", "icon.png", "file:///etc/passwd"));
    Create();
    Launcher->Prepare();
    // Icons at 362, 512 and 662 (row centred on 662), hanging from y 90, 80 x 100.
    MoveAspectMouse(100, 300);
    InjectMouseButton(1, true);
    Launcher->Update();
    EXPECT_TRUE(opened.empty());
    MoveAspectMouse(512, 150);
    Launcher->Update();
    Launcher->Update();
    EXPECT_EQ(opened, std::vector<std::string>{"https://b.example/"});
    InjectMouseButton(1, false);
    Launcher->Update();
    // The glow rises 0.05 a frame to 0.3 while hovered.
    for (int i = 0; i < 10; ++i) Launcher->Update();
    EXPECT_EQ(Launcher->icons[1]->per, 0.3f);
    EXPECT_EQ(Launcher->icons[0]->per, 0.0f);
    // An address of another scheme is never handed to the system.
    MoveAspectMouse(662, 100);
    InjectMouseButton(1, true);
    Launcher->Update();
    EXPECT_EQ(opened.size(), 1u);
    // Play starts the fade to black.
    InjectMouseButton(1, false);
    Launcher->Update();
    MoveAspectMouse(512, 500);
    InjectMouseButton(1, true);
    Launcher->Update();
    EXPECT_EQ(Launcher->dFade, 1.0f);
    SetURLOpener([](const std::string&) { return false; });
}

// The screen's own loop on a headless window: fade in, Play, fade out.
class LauncherScreenTest : public LauncherTest {
protected:
    std::vector<float> fades;  // the cover at the start of each frame

    void SetUp() override {
        LauncherTest::SetUp();
        Control::Reset();
        ResetAppTime();
        SetFixedClock(true);
        ASSERT_TRUE(Graphics(1024, 768, 0, 60, 0));
        SetAspectResolution(1024, 768, 3);
        AppExitFunction = [] {};
    }
    void TearDown() override {
        Control::Reset();
        SetFixedClock(false);
        ResetAppTime();
        LauncherTest::TearDown();
    }
};

TEST_F(LauncherScreenTest, FadesInRunsUntilPlayAndFadesOut) {
    Create();
    ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [this](int32_t frame) {
        fades.push_back(Launcher->fade);
        if (frame == 30) {
            MoveAspectMouse(512, 500);
            InjectMouseButton(1, true);
        }
        if (frame == 32) InjectMouseButton(1, false);
    }});
    EXPECT_EQ(RunLauncherScreen(0), "MAIN-MENU");
    // Play taken in frame 30; the cover is black again 20 frames later and the loop ends.
    ASSERT_EQ(fades.size(), 51u);
    EXPECT_EQ(fades[0], 1.0f);
    EXPECT_EQ(fades[21], 0.0f);  // 20 frames of fade-in
    EXPECT_EQ(fades[31], 0.0f);
    EXPECT_EQ(Launcher->fade, 1.0f);
    EXPECT_EQ(Control::FrameCount, 51);
}

TEST_F(LauncherScreenTest, ACloseRequestEndsTheScreenAndNoLauncherTxtSkipsIt) {
    Create();
    ControlHooks::Harness = std::make_shared<TFrameHarness>(TFrameHarness{.frameStart = [](int32_t frame) {
        if (frame == 5) InjectQuit();
    }});
    RunLauncherScreen(0);
    EXPECT_TRUE(Control::isEnded);
    EXPECT_EQ(Control::FrameCount, 6);

    Control::Reset();
    ResetInput();
    AppExitFunction = [] {};
    TempDir data;
    ASSERT_EQ(symlink((testsupport::SourceDir() + "/data/launcher").c_str(), data.file("launcher").c_str()), 0);
    testsupport::WriteFileBytes(data.file("noLauncher.txt"), "");
    bDir = data.path() + "/";
    Create();
    EXPECT_EQ(Launcher->corrupted, 0);
    RunLauncherScreen(0);
    EXPECT_EQ(Control::FrameCount, 0);
}

}  // namespace
