#include "engine/system/Error.h"

#include <gtest/gtest.h>

TEST(Error, ReportLineFormats) {
    EXPECT_EQ(BuildReportLine("msg", "", "", "ERROR "), "ERROR msg");
    EXPECT_EQ(BuildReportLine("msg", "F", "", "ERROR "), "ERROR ( File: F ) msg");
    EXPECT_EQ(BuildReportLine("msg", "", "C", "ERROR "), "ERROR ( Code: C ) msg");
    EXPECT_EQ(BuildReportLine("msg", "Control", "Control", "WARNING "),
              "WARNING ( File: Control  Code: Control ) msg");
}

namespace {
std::string gLastConsole;
void Capture(const std::string& l) { gLastConsole = l; }
}  // namespace

TEST(Error, ErrorsReachConsoleAndStdoutWarningsStdoutOnly) {
    SetErrorConsoleSink(&Capture);
    SetCriticalConsoleSink(&Capture);
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
    SetErrorConsoleSink(nullptr);
    SetCriticalConsoleSink(nullptr);
}
