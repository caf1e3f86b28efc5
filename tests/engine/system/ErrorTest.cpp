#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/system/Error.h"

TEST(Error, ReportLineFormats) {
    EXPECT_EQ(BuildReportLine("msg", "", "", "ERROR "), "ERROR msg");
    EXPECT_EQ(BuildReportLine("msg", "F", "", "ERROR "), "ERROR ( File: F ) msg");
    EXPECT_EQ(BuildReportLine("msg", "", "C", "ERROR "), "ERROR ( Code: C ) msg");
    EXPECT_EQ(BuildReportLine("msg", "Control", "Control", "WARNING "), "WARNING ( File: Control  Code: Control ) msg");
}

namespace {
std::string gLastConsole;
void Capture(const std::string& l) { gLastConsole = l; }
}  // namespace

TEST(Error, ErrorsReachConsoleAndStdoutWarningsStdoutOnly) {
    WatchErrorReports(&Capture);
    WatchCriticalReports(&Capture);
    gLastConsole.clear();
    testing::internal::CaptureStdout();
    ErrorNoFile("x.png");
    EXPECT_EQ(gLastConsole, "NO FILE ERROR No such file or directory! Url = x.png");
    gLastConsole.clear();
    Warning("careful");
    EXPECT_EQ(gLastConsole, "");
    CriticalError("boom");
    EXPECT_EQ(gLastConsole, "boom");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "NO FILE ERROR No such file or directory! Url = x.png\nWARNING careful\n");
    WatchErrorReports(nullptr);
    WatchCriticalReports(nullptr);
}

namespace {
struct TWhere {
    TReportPlace Method() const { return Here(); }
};
TReportPlace FreeFunction() { return Here(); }
template <class T>
TReportPlace Templated(const T&) {
    return Here();
}
}  // namespace

// A report's place is the compiler's: the source file's name and the function that made the
// report, with its class, without its namespace of the file, its return type or its parameters.
TEST(Error, PlacesComeFromTheCompiler) {
    const TReportPlace free = FreeFunction();
    EXPECT_EQ(free.file, "ErrorTest");
    EXPECT_EQ(free.code, "FreeFunction");
    EXPECT_EQ(TWhere().Method().code, "TWhere::Method");
    EXPECT_EQ(Templated(std::vector<std::pair<int, int>>{}).code, "Templated");
    const auto lambda = [] { return Here(); };
    EXPECT_EQ(lambda().code, "Error_PlacesComeFromTheCompiler_Test::TestBody");

    testing::internal::CaptureStdout();
    Warning("careful", FreeFunction());
    ErrorNoFile("gone.png", TWhere().Method());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARNING ( File: ErrorTest  Code: FreeFunction ) careful\n"
              "NO FILE ERROR ( File: ErrorTest  Code: TWhere::Method ) No such file or directory! Url = gone.png\n");
}
