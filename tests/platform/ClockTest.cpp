#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

TEST(Clock, DateAndTimeTextsHaveTheirFixedFormsAndTheLocalTime) {
    std::string date, time;
    std::tm now{};
    // Read the clock around the calls, again when a second boundary fell between them.
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::time_t before = std::time(nullptr);
        date = CurrentDate();
        time = CurrentTime();
        if (std::time(nullptr) == before) {
            localtime_r(&before, &now);
            break;
        }
    }
    EXPECT_TRUE(std::regex_match(date, std::regex(R"(\d\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4})")))
        << date;
    EXPECT_TRUE(std::regex_match(time, std::regex(R"(\d\d:\d\d:\d\d)"))) << time;
    char want[32];
    std::strftime(want, sizeof want, "%H:%M:%S", &now);
    EXPECT_EQ(time, want);
    EXPECT_EQ(std::stoi(date.substr(0, 2)), now.tm_mday);
    EXPECT_EQ(std::stoi(date.substr(7)), now.tm_year + 1900);
}
