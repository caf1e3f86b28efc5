// The file chooser: the argument vectors for zenity and kdialog, the answer read back from the
// child process, and no chooser at all where there is no desktop. No test ever opens a real
// dialog: the chooser is a script of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/system/FileRequester.h"
#include "platform/System.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::ScopedEnv;
using testsupport::TempDir;
using testsupport::WriteScript;

class FileRequesterTest : public ::testing::Test {
protected:
    void TearDown() override { SetFileChooserProgram(""); }
    TempDir dir;
};

TEST_F(FileRequesterTest, ArgumentsForEachChooser) {
    struct Case {
        std::string program, extensions;
        bool save;
        std::string initial;
        std::vector<std::string> args;
    };
    const std::string title = "Pick \"one\"; $(rm -rf ~)";
    const Case cases[] = {
        {"/usr/bin/zenity",
         "Screen Files:AppScreen",
         true,
         "",
         {"/usr/bin/zenity", "--file-selection", "--title=" + title, "--save", "--confirm-overwrite",
          "--file-filter=Screen Files | *.AppScreen"}},
        {"/usr/bin/zenity",
         "Images:png,jpg;txt",
         false,
         "/data/a.png",
         {"/usr/bin/zenity", "--file-selection", "--title=" + title, "--filename=/data/a.png",
          "--file-filter=Images | *.png *.jpg", "--file-filter=*.txt | *.txt"}},
        {"/usr/bin/kdialog",
         "Screen Files:AppScreen",
         true,
         "/data",
         {"/usr/bin/kdialog", "--title", title, "--getsavefilename", "/data", "*.AppScreen|Screen Files"}},
        {"/opt/kdialog",
         "Images:png,jpg;All:*",
         false,
         "/data",
         {"/opt/kdialog", "--title", title, "--getopenfilename", "/data", "*.png *.jpg|Images\n*|All"}},
        {"/opt/kdialog", "", false, "/x", {"/opt/kdialog", "--title", title, "--getopenfilename", "/x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program + " " + c.extensions);
        EXPECT_EQ(FileChooserArgs(c.program, title, c.extensions, c.save, c.initial), c.args);
    }
}

TEST_F(FileRequesterTest, AnswerIsReadBackFromTheChooserAndCancelGivesNothing) {
    const std::string chooser = dir.file("zenity");
    const std::string argsFile = dir.file("args");
    const std::string pwned = dir.file("pwned");
    WriteScript(chooser, "printf '%s\\n' \"$@\" > '" + argsFile + "'\nprintf '/home/me/My Screen.AppScreen\\n'\n");
    SetFileChooserProgram(chooser);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RequestFile("Name it; touch " + pwned, "Screen Files:AppScreen", true), "/home/me/My Screen.AppScreen");
    EXPECT_EQ(ReadFileBytes(argsFile), "--file-selection\n--title=Name it; touch " + pwned +
                                           "\n--save\n--confirm-overwrite\n--file-filter=Screen Files | *.AppScreen\n");
    EXPECT_FALSE(std::filesystem::exists(pwned));

    // Cancelled: the chooser ends with status 1 and prints nothing.
    WriteScript(chooser, "exit 1\n");
    EXPECT_EQ(RequestFile("Name it"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // cancelling is no fault
}

TEST_F(FileRequesterTest, NoChooserIsRunWithoutADesktop) {
    // A chooser on the PATH that would leave a mark, and a display named: still the offscreen
    // driver of the tests (or no display at all) means nobody could answer.
    const std::string marker = dir.file("ran");
    WriteScript(dir.file("zenity"), "touch '" + marker + "'\necho /x.AppScreen\n");
    ScopedEnv path("PATH", dir.path().c_str());
    struct Case {
        const char* driver;
        const char* display;
    };
    for (const Case c : {Case{"offscreen", ":0"}, Case{"dummy", ":0"}, Case{nullptr, nullptr}}) {
        ScopedEnv driver("SDL_VIDEODRIVER", c.driver), display("DISPLAY", c.display),
            wayland("WAYLAND_DISPLAY", nullptr);
        testing::internal::CaptureStdout();
        EXPECT_EQ(RequestFile("Enter screen file name", "Screen Files:AppScreen", true), "");
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "WARNING ( File: FileRequester  Code: RequestFile ) No desktop to show a file chooser on; no "
                  "file chosen\n");
    }
    EXPECT_FALSE(std::filesystem::exists(marker));

    // A desktop, but no chooser on the PATH (only when SDL's video is not already up offscreen).
    ScopedEnv driver("SDL_VIDEODRIVER", "x11"), display("DISPLAY", ":0");
    if (!DesktopAvailable()) GTEST_SKIP() << "video already runs offscreen in this process";
    std::filesystem::remove(dir.file("zenity"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(RequestFile("Enter screen file name"), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING ( File: FileRequester  Code: RequestFile ) Neither zenity nor kdialog is on the PATH; no "
              "file chosen\n");
}

}  // namespace
