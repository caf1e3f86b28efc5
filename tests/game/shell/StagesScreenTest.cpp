// The stages map and its thumbnails, in-process on data/: the thumbnails' file, which thumbnail
// is current, the scroll to it and the map's limits, the first-time pan, the mouse over the
// thumbnails and the clicks that play a level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "game/progress/Awards.h"
#include "game/levels/PlayFieldTables.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/AwardScreen.h"
#include "game/shell/MiniLevel.h"
#include "game/shell/StagesScreen.h"
#include "platform/Image.h"

namespace {

using namespace shelltest;

TEST(MiniLevelTest, RecordsSplitAtTheLetterNAndEmptyOnesTakeTheirNumber) {
    // Line breaks around the values do no harm; an empty record makes no thumbnail.
    auto levels = ReadMiniLevels("2,3,1,0,1,0,2,0n\r\nn 1, 2,\n 3, 12 ,extra\nn");
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0]->Id, 1);
    EXPECT_EQ(levels[0]->Rows, 2);
    EXPECT_EQ(levels[0]->Cols, 3);
    EXPECT_EQ(levels[0]->ToString(), " 01 00 01\n 00 02 00\n");
    EXPECT_FLOAT_EQ(levels[0]->Cx, 3 * 2.6f / 2);
    EXPECT_FLOAT_EQ(levels[0]->Cy, 2 * 2.6f / 2);
    EXPECT_EQ(levels[1]->Id, 3);
    EXPECT_EQ(levels[1]->ToString(), " 03 12\n");
    // A record shorter than its size leaves the rest empty; a damaged size gives no picture.
    TMiniLevel m;
    m.FromString("2,2,5");
    EXPECT_EQ(m.ToString(), " 05 00\n 00 00\n");
    m.FromString("-3,4,1");
    EXPECT_EQ(m.Rows, 0);
    m.FromString("99999,99999");
    EXPECT_EQ(m.Rows * m.Cols, 0);
}

class StagesTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ResetPlayFieldTables();
        TSpecialLoads().Setup();
        ResetMiniLevelGlobals();
        Game = CreateMainGame(CreateShellNavigator());
        StagesScreen = CreateStagesScreen();
        AwardsShow = CreateAwardScreen();
        LoadAndSetUp(StagesScreen);
        LoadAndSetUp(AwardsShow);
        Profile = CreateNewProfile("Ann");
        Profile->Level = 1;
        Profile->Level_Unlock(1);
        Profile->MapScreenAnimationShowed = 1;
    }
    void TearDown() override {
        AwardsShow = nullptr;
        AwardsList.clear();
        ResetMiniLevelGlobals();
        ShellTest::TearDown();
    }
    void Enter() {
        SetAppScreen(StagesScreen);
        Frame();
    }
    float MapY() { return StagesScreen->Map->GetY(); }
    std::shared_ptr<TMiniLevel> Mini(int id) {
        for (auto& m : StagesScreen->Levels)
            if (m->Id == id) return m;
        return nullptr;
    }
    // The pointer over a thumbnail's middle (drawn once first, so that it stands in its place).
    void Over(int id) {
        Frame(true);
        auto m = Mini(id);
        MoveTo(m->Point->DrawX, m->Point->DrawY);
        Frame();
    }
};

TEST_F(StagesTest, TheShippedMapHasAThumbnailAndAPointForEveryLevel) {
    auto& s = *StagesScreen;
    ASSERT_EQ(s.Levels.size(), 100u);
    for (int id = 1; id <= 100; ++id) {
        ASSERT_TRUE(Mini(id)) << id;
        EXPECT_TRUE(Mini(id)->Point) << id;
        EXPECT_GT(Mini(id)->Rows, 0) << id;
    }
    EXPECT_TRUE(s.Map && s.NextButton && s.AwardsButton && s.UpperPanel && s.ObjStars && s.ObjMoney && s.ObjLevel);
    EXPECT_EQ(s.NextButton->id, 1);
    EXPECT_EQ(s.AwardsButton->id, 11);
}

// Play and Awards show in the 4:3 picture as well as in the wide one.
TEST_F(StagesTest, ItsButtonsLieInsideThe4By3Picture) {
    Enter();
    Frame(true);
    ExpectButtonsInsideThePicture(*StagesScreen);
}

TEST_F(StagesTest, ThumbnailsShowTheProfileAndTheCurrentOneIsFoundByItsLevelNumber) {
    Profile->Level_Pass(1);
    Profile->GetLevel(1, 0)->Stars = 2;
    Profile->Level_Unlock(2);
    Profile->Level = 2;
    Profile->Score = 450;
    Enter();
    auto& s = *StagesScreen;
    EXPECT_EQ(Mini(1)->State, 2);
    EXPECT_EQ(Mini(1)->StarsCount, 2);
    EXPECT_EQ(Mini(2)->isUnlocked, 1);
    EXPECT_EQ(Mini(2)->State, 1);
    EXPECT_EQ(Mini(3)->isUnlocked, 0);
    EXPECT_EQ(s.CurrLevel, Mini(2));
    EXPECT_EQ(Mini(2)->isCurrent, 1);
    EXPECT_EQ(s.ObjMoney->Text, "450");
    EXPECT_EQ(s.ObjLevel->Text, "2");
    EXPECT_EQ(s.ObjStars->Text, "2");
    EXPECT_EQ(Profile->CurrScreen, "Stages");
    // With the first record missing every thumbnail stands one place earlier in the list: the
    // current one is still the one numbered as the profile's level.
    s.Levels.erase(s.Levels.begin());
    s.OnPrepare();
    EXPECT_EQ(s.CurrLevel, Mini(2));
    // No thumbnail for the level: none is current, the map stays where it is, frames go on.
    Profile->Level = 100;
    s.Levels.pop_back();
    const float y = MapY();
    s.OnPrepare();
    EXPECT_FALSE(s.CurrLevel);
    EXPECT_FALSE(s.LastLevel);
    Frames(120);
    EXPECT_FLOAT_EQ(MapY(), y);
}

TEST_F(StagesTest, TheMapScrollsToTheCurrentLevelWithinItsLimits) {
    Profile->Level = 7;
    Profile->MapY = -5000;  // stored beyond the end
    Enter();
    auto& s = *StagesScreen;
    EXPECT_GE(MapY(), -3328.0f);
    const float dest = 384.0f - Mini(7)->Point->GetY();
    EXPECT_FLOAT_EQ(s.MapDestY, dest);
    Frames(105);
    EXPECT_EQ(s.MapScroll, 0);
    EXPECT_FLOAT_EQ(MapY(), std::max(dest, -3328.0f));
    EXPECT_EQ(Profile->MapY, static_cast<int>(MapY()));
    // The wheel: 32 pixels a notch, stopped at both ends.
    const float y = MapY();
    InjectWheel(2);
    Frame();
    EXPECT_FLOAT_EQ(MapY(), std::min(0.0f, y + 64.0f));
    for (int i = 0; i < 40; ++i) {
        InjectWheel(10);
        Frame();
    }
    EXPECT_FLOAT_EQ(MapY(), 0.0f);
    for (int i = 0; i < 40; ++i) {
        InjectWheel(-10);
        Frame();
    }
    EXPECT_FLOAT_EQ(MapY(), -3328.0f);
    // While the map scrolls to the level the wheel does nothing.
    s.OnPrepare();
    Frame();
    InjectWheel(5);
    Frame();
    ASSERT_EQ(s.MapScroll, 1);
    const double eased = std::sin(90.0 * s.SPer * 3.14159265358979 / 180.0);
    EXPECT_NEAR(MapY(), std::max(-3328.0, s.MapStartY + (s.MapDestY - s.MapStartY) * eased), 0.01);
}

TEST_F(StagesTest, AFirstVisitPansOverTheWholeMapAndTheNextScrolls) {
    Profile->MapScreenAnimationShowed = 0;
    Enter();
    auto& s = *StagesScreen;
    EXPECT_EQ(Profile->MapScreenAnimationShowed, 1);
    EXPECT_EQ(s.MapShow, 1);
    EXPECT_EQ(s.MapScroll, 0);
    Frames(20);
    EXPECT_LT(s.NextButton->GetA(), 1.0f);  // the buttons and the panel fade out
    Over(1);
    EXPECT_EQ(Mini(1)->isOver(), 0);  // no thumbnail reacts during the pan
    Frames(600);
    EXPECT_EQ(s.MapShow, 0);
    EXPECT_FLOAT_EQ(MapY(), -3328.0f);
    EXPECT_FLOAT_EQ(s.NextButton->GetA(), 1.0f);
    s.OnPrepare();
    EXPECT_EQ(s.MapShow, 0);
    EXPECT_EQ(s.MapScroll, 1);
    EXPECT_FLOAT_EQ(s.MapStartY, -3328.0f);
}

TEST_F(StagesTest, OnlyOpenThumbnailsOffTheButtonsReact) {
    Profile->Level_Unlock(2);
    Enter();
    Frames(105);
    auto m = Mini(1);
    m->Point->UpdateAllTheSettings();
    const float px = m->Point->DrawX, py = m->Point->DrawY;
    auto& s = *StagesScreen;
    const float ax = s.AwardsBack->DrawX, ay = s.AwardsBack->DrawY, nx = s.NextBack->DrawX, ny = s.NextBack->DrawY;
    struct Case {
        float x, y;
        int unlocked;
        int over;
        bool moved;  // the thumbnail moved under the point (as a damaged layout could put it)
    } cases[] = {
        // clang-format off
        {px, py, 1, 1, false},
        {px, py, 0, 0, false},
        {px + 37, py + 31, 1, 1, false},  // the panel's corner is inside
        {px + 40, py, 1, 0, false},
        {ax + 20, ay + 20, 1, 0, true},  // on Awards
        {nx + 20, ny + 20, 1, 0, true},  // on Play
        {nx - 10, ny + 20, 1, 1, true},  // left of it
        // clang-format on
    };
    for (const auto& c : cases) {
        if (c.moved) {
            m->Point->DrawX = c.x;
            m->Point->DrawY = c.y;
        }
        m->isUnlocked = c.unlocked;
        MoveTo(c.x, c.y);
        Mouse::Update();
        EXPECT_EQ(m->isOver(), c.over) << c.x << "," << c.y;
        m->Point->DrawX = px;
        m->Point->DrawY = py;
    }
}

// Wherever the map is scrolled, no thumbnail (its panel, and its stars above it) lies under Play
// or Awards (their backings), in the wide picture or the 4:3 one: every row passes their height
// as the map scrolls, so the thumbnails' columns stay clear of the buttons.
TEST_F(StagesTest, NoThumbnailLiesUnderAButtonWhereverTheMapIsScrolled) {
    Enter();
    Frames(105);
    auto& s = *StagesScreen;
    struct Box {
        float left, top, right, bottom;
    };
    std::vector<Box> buttons;
    for (const TGameObjectPtr& object : {TGameObjectPtr(s.NextBack), TGameObjectPtr(s.AwardsBack),
                                         TGameObjectPtr(s.NextButton), TGameObjectPtr(s.AwardsButton)}) {
        ASSERT_TRUE(object);
        int w = 0, h = 0;
        object->GetWidgetSize(w, h);
        ASSERT_GT(w, 0);
        buttons.push_back({object->DrawX, object->DrawY, object->DrawX + w, object->DrawY + h});
    }
    // A thumbnail about its point: the panel centred on it, the stars' row drawn above it.
    const float halfW = ImageWidth(TMiniLevel::Panelik[0]) / 2.0f, halfH = ImageHeight(TMiniLevel::Panelik[0]) / 2.0f;
    const float starsTop = ImageHandleY(TMiniLevel::Stars[0]);
    ASSERT_GT(halfW, 0.0f);
    const float mapY = MapY();
    for (const auto& mini : s.Levels) {
        SCOPED_TRACE(mini->Id);
        mini->Point->UpdateAllTheSettings();
        const float onMap = mini->Point->DrawY - mapY;  // its y with the map at 0
        for (int y = -StagesScreenSettings::MapHeight; y <= 0; ++y) {
            const Box thumb{mini->Point->DrawX - halfW, onMap + y - std::max(halfH, starsTop),
                            mini->Point->DrawX + halfW, onMap + y + halfH};
            for (const Box& b : buttons)
                if (thumb.left < b.right && b.left < thumb.right && thumb.top < b.bottom && b.top < thumb.bottom) {
                    ADD_FAILURE() << "under a button with the map at " << y;
                    return;
                }
        }
    }
}

TEST_F(StagesTest, AClickOnAnOpenThumbnailPlaysItAndALockedOneDoesNothing) {
    Profile->Level_Pass(1);
    Profile->Level_Unlock(2);
    Profile->Level = 2;
    Enter();
    Frames(105);
    Over(3);  // locked
    InjectMouseButton(1, true);
    Frame();
    InjectMouseButton(1, false);
    Frame();
    EXPECT_EQ(Profile->Level, 2);
    EXPECT_EQ(Control::CurrScreen, StagesScreen);
    Over(1);  // passed: played again
    EXPECT_EQ(StagesScreen->OverLevel, Mini(1));
    InjectMouseButton(1, true);
    Frame();
    InjectMouseButton(1, false);
    Frames(80);
    EXPECT_EQ(Profile->Level, 1);
    EXPECT_EQ(Control::CurrScreen, Game);
    EXPECT_EQ(StagesScreen->LastLevel, Mini(1));
    // Back on the map the trail flies from the played thumbnail to the current one.
    Profile->Level = 2;
    SetAppScreen(StagesScreen);
    Frame();
    EXPECT_EQ(StagesScreen->LastLevel, Mini(1));
    EXPECT_EQ(StagesScreen->CurrLevel, Mini(2));
    Frames(110);
    EXPECT_FALSE(StagesScreen->LastLevel);
}

TEST_F(StagesTest, NextPlaysTheCurrentLevelAndAwardsOpensItsPopUp) {
    Profile->Level_Unlock(2);
    Profile->Level = 2;
    Enter();
    Click(StagesScreen->AwardsButton);
    Frame();
    EXPECT_TRUE(Shown(AwardsShow));
    MoveTo(500, 400);
    InjectMouseButton(1, true);
    Frame();
    InjectMouseButton(1, false);
    Frames(kAnimFrames + 1);
    EXPECT_FALSE(Shown(AwardsShow));
    Click(StagesScreen->NextButton);
    Frames(80);
    EXPECT_EQ(Control::CurrScreen, Game);
    ASSERT_TRUE(Profile->CurrLevel);
    EXPECT_EQ(Profile->Level, 2);
}

}  // namespace
