// The screens of a player's progress's flow come through what start-up hands in; with nothing
// handed in the progress finds no screen and says so, once.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/screen/AppScreen.h"
#include "game/progress/ProgressScreens.h"

namespace {

class TOneScreen final : public TProgressScreens {
public:
    std::shared_ptr<TAppScreen> map = std::make_shared<TAppScreen>();
    std::shared_ptr<TAppScreen> ScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>&) override {
        return place == ProgressPlace::StagesMap ? map : nullptr;
    }
};

TEST(ProgressScreens, TheHandedInScreensAnswerAndNoneIsSaidOnce) {
    auto screens = std::make_shared<TOneScreen>();
    SetProgressScreens(screens);
    EXPECT_EQ(ProgressScreenOf(ProgressPlace::StagesMap), screens->map);
    EXPECT_EQ(ProgressScreenOf(ProgressPlace::KingdomScreen), nullptr);

    SetProgressScreens(nullptr);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ProgressScreenOf(ProgressPlace::StagesMap), nullptr);
    EXPECT_EQ(ProgressScreenOf(ProgressPlace::KingdomScreen), nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "ERROR ( File: ProgressScreens  Code: ProgressScreenOf ) The progress was handed no screens: "
              "the player stays where they are\n");
}

}  // namespace
