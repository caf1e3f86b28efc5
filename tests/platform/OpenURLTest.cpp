// Opening web pages: only http and https addresses reach the opener, and a headless run opens
// nothing.
#include <gtest/gtest.h>

#include <vector>

#include "platform/OpenURL.h"

namespace {

TEST(OpenURLTest, OnlyWebAddressesReachTheOpener) {
    std::vector<std::string> opened;
    SetURLOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(OpenURL("https://quiltora.invalid/rate"));
    EXPECT_TRUE(OpenURL("HTTP://example.com/a?b=c"));
    for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "smb://host/share", "/usr/bin/xterm", "",
                                "http://", "https://x.com/a b", "steam://run/1"})
        EXPECT_FALSE(OpenURL(refused)) << refused;
    EXPECT_EQ(opened, (std::vector<std::string>{"https://quiltora.invalid/rate", "HTTP://example.com/a?b=c"}));
    SetURLOpener([](const std::string&) { return false; });
    EXPECT_FALSE(OpenURL("https://example.com/"));
}

TEST(OpenURLTest, TheSystemOpenerOpensNothingWithoutADesktop) {
    // The tests run with the offscreen video driver: no desktop, so no browser can start.
    SetURLOpener(nullptr);
    EXPECT_FALSE(OpenURL("https://example.com/"));
    SetURLOpener([](const std::string&) { return false; });
}

}  // namespace
