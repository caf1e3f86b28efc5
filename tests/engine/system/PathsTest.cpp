#include "engine/system/Paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/Files.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

class Paths : public ::testing::Test {
protected:
    void SetUp() override { ResetAppPaths(); }
    void TearDown() override { ResetAppPaths(); }
};

// Sets an environment variable for the life of the object, restoring it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST_F(Paths, ConvertAppPathExpandsBothPlaceholderForms) {
    bDir = "/d/";
    LocalizeDir = "/d/Local/de/";
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"#BDIR#img/a.png", "/d/img/a.png"},
        {"[BDIR]img/a.png", "/d/img/a.png"},
        {"#LOCAL#credits.txt", "/d/Local/de/credits.txt"},
        {"[LOCAL]credits.txt", "/d/Local/de/credits.txt"},
        {"#BDIR##APPDIR##APPDATA#Mouse.dat", "/d/App/Data/Mouse.dat"},
        {"[BDIR][APPDIR][APPDATA]Fonts.dat", "/d/App/Data/Fonts.dat"},
        {"#BDIR#a|#BDIR#b", "/d/a|/d/b"},
        {"#bdir#a.png", "#bdir#a.png"},  // matching is case-sensitive
        {"[Bdir]a.png", "[Bdir]a.png"},
        {"plain/path.png", "plain/path.png"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ConvertAppPath(c.in), c.out) << c.in;
}

TEST_F(Paths, SavedUrlsTurnBackIntoPlaceholders) {
    EXPECT_EQ(CheckIfUrlIsInsideApp("GameData/img/a.png"), "#BDIR#img/a.png");
    AppRealPath = "/opt/quiltora/data/";
    EXPECT_EQ(CheckIfUrlIsInsideApp("/opt/quiltora/data/img/a.png"), "#BDIR#img/a.png");
    EXPECT_EQ(CheckIfUrlIsInsideApp("/elsewhere/a.png"), "/elsewhere/a.png");
    bDir = AppRealPath;
    EXPECT_EQ(ConvertAppPath(CheckIfUrlIsInsideApp("/opt/quiltora/data/x/y.png")), "/opt/quiltora/data/x/y.png");
}

TEST_F(Paths, LanguageComesFromLocalizeTxt) {
    struct Case {
        std::optional<std::string> content;  // none: no file
        const char* lang;
        bool reported;
    } cases[] = {
        {std::nullopt, "en", true},  // the file is missing
        {std::string(" de \r\n"), "de", false},
        {std::string("\xEF\xBB\xBF"
                     "fr\n"),
         "fr", false},
        {std::string(" \n "), "en", true},       // nothing usable
        {std::string("../../etc"), "en", true},  // would leave the language folders
        {std::string(".."), "en", true},
    };
    for (const auto& c : cases) {
        ResetAppPaths();
        TempDir dir;
        bDir = dir.path() + "/";
        CreateDir(dir.file("App/Data"));
        if (c.content) WriteFileBytes(dir.file("App/Data/Localize.txt"), *c.content);
        testing::internal::CaptureStdout();
        AppInitLangDir();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(LangMod, c.lang) << c.content.value_or("<none>");
        EXPECT_EQ(LocalizeDir, bDir + "Local/" + c.lang + "/");
        EXPECT_EQ(out.find("ERROR") != std::string::npos, c.reported) << out;
    }
}

TEST_F(Paths, DataFolderChoice) {
    TempDir t;
    const std::string work = t.file("work"), exe = t.file("inst/bin");
    CreateDir(work);
    CreateDir(exe);
    const std::string given = t.file("given");
    CreateDir(given);

    // Nothing beside the executable: an error line, and the first candidate.
    testing::internal::CaptureStdout();
    EXPECT_EQ(ChooseAppDataDir("", work, exe), exe + "/data/");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ERROR"), std::string::npos);

    CreateDir(t.file("inst/data"));
    EXPECT_EQ(ChooseAppDataDir("", work, exe), t.file("inst/data/"));  // ../data from the executable
    CreateDir(exe + "/data");
    EXPECT_EQ(ChooseAppDataDir("", work, exe), exe + "/data/");  // data/ beside it comes first
    // An installed game (bin/ and share/ below one prefix) finds its own data before both.
    ASSERT_TRUE(CreateDir(exe + "/" + AppInstalledData, true));
    const std::string installed = RealPath(exe + "/" + AppInstalledData) + "/";
    EXPECT_EQ(installed, t.file("inst/share/quiltora/data/"));
    EXPECT_EQ(ChooseAppDataDir("", work, exe), installed);
    WriteFileBytes(work + "/IgnoreMacInsideFolder.txt", "");
    EXPECT_EQ(ChooseAppDataDir("", work, exe), work + "/GameData/");  // the marker beats them all
    EXPECT_EQ(ChooseAppDataDir(given, work, exe), given + "/");       // --data beats everything
    EXPECT_EQ(ChooseAppDataDir(given + "/sub/..//", work, exe), given + "/");
}

TEST_F(Paths, MarkerInWorkingFolderGivesRelativeGameData) {
    TempDir t;
    std::string old = CurrentDir();
    ASSERT_EQ(chdir(t.path().c_str()), 0);
    WriteFileBytes(t.file("IgnoreMacInsideFolder.txt"), "");
    std::string dir = GetAppDir();
    std::string real = AppRealPath;
    ASSERT_EQ(chdir(old.c_str()), 0);
    EXPECT_EQ(dir, "GameData/");
    EXPECT_EQ(real, "");
}

TEST_F(Paths, GivenDataFolderIsAbsoluteAndMapsBack) {
    TempDir t;
    SetAppPathOptions({t.path(), ""});
    bDir = GetAppDir();
    EXPECT_EQ(bDir, t.path() + "/");
    EXPECT_EQ(AppRealPath, bDir);
    EXPECT_EQ(CheckIfUrlIsInsideApp(bDir + "img/a.png"), "#BDIR#img/a.png");
}

TEST_F(Paths, CommandLineOptions) {
    struct Case {
        std::vector<std::string> args;
        const char* data;
        const char* user;
    } cases[] = {
        {{}, "", ""},
        {{"--data", "/d", "--user-dir", "/u"}, "/d", "/u"},
        {{"--frames", "3", "--data=/d", "--user-dir=/u", "--fixed-delta"}, "/d", "/u"},
        {{"--data"}, "", ""},  // no value follows
        {{"--database", "x"}, "", ""},
    };
    for (const auto& c : cases) {
        AppPathOptions o = ParseAppPathOptions(c.args);
        EXPECT_EQ(o.dataDir, c.data);
        EXPECT_EQ(o.userDir, c.user);
    }
}

TEST_F(Paths, PerUserFoldersAreCreatedWithTheirParents) {
    TempDir t;
    SetAppPathOptions({"", t.file("a/b/")});
    SetAppRootFolderName("Velkaro");
    SetAppDataFolderName("Quiltora-2");
    for (int start = 0; start < 2; ++start) {  // a second start finds everything in place
        EXPECT_TRUE(AppInitDataFolder());
        EXPECT_EQ(AppDataRootFolder, t.file("a/b/.Velkaro"));
        EXPECT_EQ(AppDataFolder, t.file("a/b/.Velkaro/Quiltora-2"));
        EXPECT_EQ(FileType(AppDataFolder + "/Data"), 2);
        EXPECT_EQ(FileType(AppDataFolder + "/Profiles"), 2);
    }
}

TEST_F(Paths, FolderThatCannotBeMadeIsReported) {
    TempDir t;
    WriteFileBytes(t.file("file"), "x");
    SetAppPathOptions({"", t.file("file")});
    SetAppRootFolderName("Velkaro");
    SetAppDataFolderName("Quiltora-2");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AppInitDataFolder());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "ERROR ( File: Paths  Code: MakeFolder ) Couldn't create folder '" + t.file("file") + "/.Velkaro'!\n");
}

TEST_F(Paths, PerUserRootFollowsXdgDataHome) {
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/xdg/data");
        EXPECT_EQ(AppUserRoot(), "/xdg/data");
        SetAppPathOptions({"", "/given"});
        EXPECT_EQ(AppUserRoot(), "/given");
        SetAppPathOptions({});
    }
    for (const char* ignored : {(const char*)nullptr, "", "relative/dir"}) {
        ScopedEnv xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(AppUserRoot(), "/home/player/.local/share");
    }
}

TEST_F(Paths, VersionNumberIsRaised) {
    EXPECT_EQ(AddVersionNumber("\"41\""), "\"42\"");
    TempDir t;
    SetAppVersionUrl(t.path() + "/");
    CreateDir(t.file("engine/System"));
    WriteFileBytes(t.file("engine/system/Version.h"), "// v\nConst AppVersion:String = \"7\"\nx\n");
    AppInitVersion();
    EXPECT_EQ(testsupport::ReadFileBytes(t.file("engine/system/Version.h")),
              "// v\nConst AppVersion:String = \"8\"\nx\n");
}
