// The kingdom on the shipped data, in-process: offers and stages, buying, the interface's hiding,
// the buildings' build view, the creatures' presence and the walkers' legs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../shell/ShellTestSupport.h"
#include "engine/particles/Emitter.h"
#include "engine/screen/Asset.h"
#include "engine/basics/AppTime.h"
#include "game/kingdom/Kingdom.h"
#include "game/kingdom/KingdomAnims.h"
#include "game/kingdom/KingdomObject.h"
#include "game/progress/Awards.h"
#include "game/progress/ProgressFile.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/AwardScreen.h"
#include "game/shell/GiveAward.h"
#include "game/shell/KingdomHelp.h"
#include "game/shell/MainMenu.h"
#include "platform/Files.h"
#include "platform/Image.h"

using namespace shelltest;

namespace {

class KingdomTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        InstallEmitters();  // the chimney smoke
        MainMenu = CreateMainMenu();
        StagesScreen = CreateStagesScreen();
        Kingdom = CreateKingdomScreen();
        LoadAndSetUp(Kingdom);
        NewPlayer();
    }
    void TearDown() override {
        AllKingdomObjects.clear();
        TKingdom::AllKingdomAnims.clear();
        TKingdom::AllSubObjects.clear();
        AwardsShow = nullptr;
        GiveAward = nullptr;
        AwardsList.clear();
        Tutorial::Reset();
        ShellTest::TearDown();
    }

    // A fresh player who has seen the kingdom's help, owning the given buildings.
    void NewPlayer(const std::vector<int>& owned = {}, int score = 0) {
        Profile = CreateNewProfile("Kim");
        Profile->KingdomTutorialScreenShowed = 1;
        Profile->Score = score;
        for (int id : owned) Profile->Kingdom_AddObject(id);
    }
    void Enter() {
        SetAppScreen(Kingdom);
        ASSERT_EQ(Control::CurrScreen, Kingdom);
    }
    std::vector<int> Offers() {
        std::vector<int> ids;
        for (const auto& slot : Kingdom->BuildButton) ids.push_back(slot->KingdomObject ? slot->KingdomObject->id : 0);
        return ids;
    }
    // The creatures out now, by name (the two farmers told apart by where they stand).
    std::vector<std::string> Out() {
        std::vector<std::string> names;
        for (const auto& anim : TKingdom::AllKingdomAnims) {
            if (anim->isEnabled == 0 || anim->a != 1.0f) continue;
            std::string name = anim->name;
            if (name == "Farmer1") name += anim->Conditions == std::vector<int>{12} ? "@12" : "@10";
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::shared_ptr<TKingdomAnimObj> Anim(const std::string& name) {
        for (const auto& anim : TKingdom::AllKingdomAnims)
            if (anim->name == name) return anim;
        return nullptr;
    }
};

TEST_F(KingdomTest, TheScreenFileHoldsTwentyEightBuildingsWithTextsIconsAndExtras) {
    ASSERT_EQ(AllKingdomObjects.size(), 28u);
    for (int id = 1; id <= 28; ++id) {
        auto b = GetKingdomObject(id);
        ASSERT_TRUE(b) << id;
        EXPECT_FALSE(b->name.empty()) << id;
        EXPECT_FALSE(b->opis.empty()) << id;
        EXPECT_GT(b->cena, 0) << id;
        EXPECT_EQ(b->Icon, TKingdom::ObjectsIcons[static_cast<size_t>(id - 1)]);
        EXPECT_GT(ImageAssetWidth(b->Icon), 0) << id;
    }
    EXPECT_EQ(GetKingdomObject(25)->SubObjects.size(), 4u);
    EXPECT_EQ(GetKingdomObject(13)->SubObjects.size(), 2u);
    EXPECT_EQ(GetKingdomObject(13)->SubObjects[0]->id, 3003);
    EXPECT_TRUE(GetKingdomObject(1)->SubObjects.empty());
    EXPECT_EQ(TKingdom::AllKingdomAnims.size(), 18u);
    for (const auto& slot : Kingdom->BuildButton) {
        EXPECT_TRUE(slot->Obj && slot->Button && slot->Price && slot->Icon && slot->Done && slot->PriceBack);
    }
}

// In the 4:3 picture (the 1024 x 768 middle of the wide scene) every building shows whole, and
// so do the panels' buttons: the drawn part of each building's picture (its pixels that are not
// fully transparent) lies inside the picture.
TEST_F(KingdomTest, EveryBuildingAndButtonLiesInsideThe4By3Picture) {
    std::vector<int> all;
    for (int id = 1; id <= 28; ++id) all.push_back(id);
    NewPlayer(all);
    Enter();
    Frame(true);
    ExpectButtonsInsideThePicture(*Kingdom);
    for (int id = 1; id <= 28; ++id) {
        SCOPED_TRACE(id);
        auto building = Kingdom->FindObjectInd(id);
        ASSERT_TRUE(building && !building->SubObjects.empty());
        auto part = std::dynamic_pointer_cast<TGameObject>(building->SubObjects[0]);
        ASSERT_TRUE(part);
        // The building's picture in the buildings' shared texture: its place there from the list
        // beside the texture (a count, then name, x, y, width and height, one a line).
        auto texture = LoadPixmap(bDir + "Screens/Kingdom/Buildings/buildingsatlas.png");
        std::string list;
        ASSERT_TRUE(texture && LoadBytes(bDir + "Screens/Kingdom/Buildings/buildingsatlas.txt", list));
        std::vector<std::string> lines;
        for (std::istringstream in(list); std::getline(in, lines.emplace_back());) {
        }
        int px = -1, py = 0, pw = 0, ph = 0;
        for (size_t i = 1; i + 4 < lines.size(); i += 5)
            if (lines[i] == "Building-" + std::to_string(id)) {
                px = std::stoi(lines[i + 1]), py = std::stoi(lines[i + 2]);
                pw = std::stoi(lines[i + 3]), ph = std::stoi(lines[i + 4]);
            }
        ASSERT_GE(px, 0);
        int left = pw, right = -1, top = ph, bottom = -1;
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x)
                if ((static_cast<uint32_t>(texture->ReadPixel(px + x, py + y)) >> 24) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0);
        EXPECT_GE(part->DrawX + static_cast<float>(left), 0.0f);
        EXPECT_LE(part->DrawX + static_cast<float>(right + 1), 1024.0f);
        EXPECT_GE(part->DrawY + static_cast<float>(top), 0.0f);
        EXPECT_LE(part->DrawY + static_cast<float>(bottom + 1), 768.0f);
    }
}

TEST_F(KingdomTest, BuyingNeedsThePriceAndTheFourthPurchaseOpensTheNextStage) {
    Enter();
    EXPECT_EQ(Offers(), (std::vector<int>{5, 22, 1, 12}));
    auto sheepfold = GetKingdomObject(5);
    const int price = sheepfold->cena;

    // One short of the price: nothing is bought and the price shows as too dear.
    Profile->Score = price - 1;
    Frame();
    EXPECT_EQ(Kingdom->BuildButton[0]->Price->Class, TKingdomBuildButton::ClassCantAfford);
    // On the pale ribbon, so that the dark red price reads clearly.
    ASSERT_NE(TKingdomBuildButton::RibbonCantAfford, nullptr);
    EXPECT_EQ(Kingdom->BuildButton[0]->PriceBack->Img, TKingdomBuildButton::RibbonCantAfford);
    EXPECT_EQ(Kingdom->CanAfford(sheepfold), 0);
    EXPECT_EQ(Kingdom->BuyObject(sheepfold), 0);
    EXPECT_EQ(Profile->Score, price - 1);
    EXPECT_EQ(Profile->Kingdom_HaveObject(sheepfold->id), 0);

    // Exactly the price: the click buys it, the score drops to 0.
    Profile->Score = price;
    Frames(kAnimFrames * 3);  // the slots have shown themselves
    EXPECT_EQ(Kingdom->BuildButton[0]->Price->Class, TKingdomBuildButton::ClassNormal);
    EXPECT_EQ(Kingdom->BuildButton[0]->PriceBack->Img, TKingdomBuildButton::RibbonNormal);
    Click(Kingdom->BuildButton[0]->Button);
    EXPECT_EQ(Profile->Score, 0);
    EXPECT_EQ(Profile->CashSpend, price);
    EXPECT_EQ(Profile->Kingdom_HaveObject(sheepfold->id), 1);
    EXPECT_EQ(Kingdom->dHide, 1.0f);
    EXPECT_EQ(Kingdom->HideText, 1);

    // While the building goes up, clicks buy nothing.
    Profile->Score = 100000;
    Click(Kingdom->BuildButton[1]->Button);
    EXPECT_EQ(Profile->Buildings.size(), 1u);
    Frames(260);  // 250 frames of fading in
    EXPECT_EQ(sheepfold->Alpha, 1.0f);
    EXPECT_EQ(Kingdom->dHide, 0.0f);
    EXPECT_EQ(Kingdom->HideTime, 0);
    Frames(60);  // the interface is back

    for (int slot = 1; slot < 4; ++slot) {
        Click(Kingdom->BuildButton[static_cast<size_t>(slot)]->Button);
        EXPECT_EQ(Profile->Buildings.size(), static_cast<size_t>(slot + 1));
        Frames(320);
    }
    EXPECT_EQ(Profile->BuildingStage, 1);
    EXPECT_EQ(Offers(), (std::vector<int>{19, 15, 2, 10}));
    EXPECT_EQ(Profile->Score,
              100000 - GetKingdomObject(22)->cena - GetKingdomObject(1)->cena - GetKingdomObject(12)->cena);
}

TEST_F(KingdomTest, TheLastStageStaysAndAStageFromOutsideTheTableIsBroughtIn) {
    // A stage beyond the table offers the last one, a negative one the first.
    Profile->BuildingStage = 9;
    Enter();
    EXPECT_EQ(Offers(), (std::vector<int>{25, 18, 27, 28}));
    Profile->BuildingStage = -3;
    Kingdom->PrepareBuildButtons();
    EXPECT_EQ(Offers(), (std::vector<int>{5, 22, 1, 12}));

    // The last stage with all four owned: it stays, the slots stay hidden and so do the twins.
    NewPlayer({25, 18, 27, 28});
    Profile->BuildingStage = 6;
    Kingdom->OnPrepare();
    Frames(kAnimFrames * 3);
    EXPECT_EQ(Profile->BuildingStage, 6);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Kingdom->BuildButton[static_cast<size_t>(i)]->isHidden(), 1);
        EXPECT_EQ(Kingdom->BuildHideButton[static_cast<size_t>(i)]->Obj->isEnabled, 0);
    }
}

// The profile keeps the ids its file gave; the kingdom shows the buildings they name and forgets
// those that name none (a damaged file), keeping the order of the rest.
TEST_F(KingdomTest, EnteringShowsTheOwnedBuildingsAndForgetsIdsThatNameNone) {
    NewPlayer({22, 99, 5, 0});
    Enter();
    EXPECT_EQ(Profile->Buildings, (std::vector<int>{22, 5}));
    for (const auto& building : AllKingdomObjects)
        EXPECT_EQ(building->dAlpha, building->id == 22 || building->id == 5 ? 1.0f : 0.0f) << building->id;
    EXPECT_EQ(Kingdom->isObjectAvailable(5), 1);
    EXPECT_EQ(Kingdom->isObjectAvailable(1), 0);
}

// Set up, the kingdom hands the progress the ids of its buildings: a player's file read after it
// (the players are read after every screen is set up) keeps only the ids that name one.
TEST_F(KingdomTest, SettingUpHandsTheProgressTheIdsOfItsBuildings) {
    auto root = ParseBlockFileText("Buildings{\n\ti = 3\n\tObject1 = 22\n\tObject2 = 99\n\tObject3 = 5\n}\n", "");
    TProfile read;
    ReadProgressBlock(read, root, "Buildings");
    EXPECT_EQ(read.Buildings, (std::vector<int>{22, 5}));
}

TEST_F(KingdomTest, EnteringShowsTheScoreAndTheHelpOnTheFirstVisitOnly) {
    KingdomHelpScreen = CreateKingdomHelpScreen();
    LoadAndSetUp(KingdomHelpScreen);
    NewPlayer({}, 1234);
    Profile->KingdomTutorialScreenShowed = 0;
    Profile->Level = 140;
    Enter();
    EXPECT_EQ(Profile->CurrScreen, "Kingdom");
    EXPECT_EQ(Profile->Level, 100);
    EXPECT_EQ(Kingdom->MoneyText->Text, "1234");
    EXPECT_EQ(Kingdom->LevelText->Text, "100");
    Frame();
    EXPECT_EQ(Profile->KingdomTutorialScreenShowed, 1);
    EXPECT_TRUE(Shown(KingdomHelpScreen));
    Kingdom->HideAllPopUps();
    Kingdom->OnPrepare();
    Frame();
    EXPECT_FALSE(Shown(KingdomHelpScreen));
    // The money shown counts down to the score after a purchase, 2 a frame.
    Profile->Score = 1200;
    Frame();
    EXPECT_EQ(Kingdom->MoneyText->Text, "1232");
    KingdomHelpScreen = nullptr;
}

// Under the help of the first visit (or any pop-up) the cards, Hide, Play and Menu neither light
// up under the pointer nor take a click: a click on a card buys nothing behind the help.
TEST_F(KingdomTest, UnderAPopUpTheCardsAndButtonsTakeNoHoverOrClick) {
    KingdomHelpScreen = CreateKingdomHelpScreen();
    LoadAndSetUp(KingdomHelpScreen);
    NewPlayer({}, 1000);
    Profile->KingdomTutorialScreenShowed = 0;
    Enter();
    Frames(kAnimFrames * 3);  // the cards have shown themselves
    ASSERT_TRUE(Shown(KingdomHelpScreen));
    const std::shared_ptr<TUIButton> buttons[] = {Kingdom->BuildButton[0]->Button, Kingdom->HideButton,
                                                  Kingdom->MenuButton, Kingdom->ButtonNext};
    for (const auto& button : buttons) {
        ASSERT_TRUE(button);
        SCOPED_TRACE(button->name);
        Click(button);
        Frames(10);
        EXPECT_EQ(button->isOver, 0);
        EXPECT_EQ(button->ViewVar[TUIButton::OVER]->Value(), 0.0f) << "lit under the help";
        EXPECT_EQ(button->ViewVar[TUIButton::CLICK]->Value(), 0.0f);
    }
    EXPECT_TRUE(Profile->Buildings.empty());
    EXPECT_EQ(Profile->Score, 1000);
    EXPECT_EQ(Control::CurrScreen, Kingdom);

    // The help gone, the same click buys.
    Kingdom->HideAllPopUps();
    Click(Kingdom->BuildButton[0]->Button);
    EXPECT_EQ(Profile->Buildings.size(), 1u);
    KingdomHelpScreen = nullptr;
}

TEST_F(KingdomTest, HidingTakesTwentyFramesAndComingBackFifty) {
    Enter();
    Frames(kAnimFrames * 3);
    Kingdom->GoHide();
    Frames(19);
    EXPECT_LT(Kingdom->Hide, 1.0f);
    Frame();
    EXPECT_EQ(Kingdom->Hide, 1.0f);
    EXPECT_EQ(Kingdom->UIUp->GetA(), 0.0f);
    EXPECT_EQ(Kingdom->InfoText->GetA(), 1.0f);  // the viewing hint shows

    // A left click anywhere brings the interface back.
    InjectMouseButton(1, true);
    Frame();
    InjectMouseButton(1, false);
    EXPECT_EQ(Kingdom->dHide, 0.0f);
    Frames(49);
    EXPECT_GT(Kingdom->Hide, 0.0f);
    Frame();
    EXPECT_EQ(Kingdom->Hide, 0.0f);
    EXPECT_EQ(Kingdom->UIDown->GetA(), 1.0f);
}

TEST_F(KingdomTest, ABuildLandingExactlyOnFullGivesTheInterfaceBack) {
    Enter();
    Frame();
    auto well = GetKingdomObject(22);
    Kingdom->BuildObject(22);
    ASSERT_EQ(Kingdom->dHide, 1.0f);
    ASSERT_NE(Kingdom->HideTime, 0);
    // The last step lands on 1 exactly, not past it.
    const float last = 1.0f - TKingdomObject::BuildStep;
    ASSERT_EQ(last + TKingdomObject::BuildStep * delta, 1.0f);
    well->Alpha = last;
    well->UpdateObject();
    EXPECT_EQ(well->Alpha, 1.0f);
    EXPECT_EQ(well->isNotBeeingBuild(), 1);
    EXPECT_EQ(Kingdom->dHide, 0.0f);
    EXPECT_EQ(Kingdom->HideTime, 0);

    // A build view whose building never finishes ends after 60 seconds at the latest.
    Kingdom->BuildObject(1);
    GetKingdomObject(1)->GameObject->Disable();  // it no longer advances
    Frames(60);
    EXPECT_EQ(Kingdom->dHide, 1.0f);
    Kingdom->HideTime = AppMilliSecs() - 1;
    Frame();
    EXPECT_EQ(Kingdom->dHide, 0.0f);
    EXPECT_EQ(Kingdom->HideTime, 0);
}

TEST_F(KingdomTest, CreaturesComeAndGoWithTheirBuildings) {
    const std::vector<std::string> always = {"Crow1", "Rabbit1"};
    const std::vector<std::string> wanderers = {"Walker10", "Walker11", "Walker9"};
    auto with = [](std::vector<std::string> names, const std::vector<std::string>& more) {
        names.insert(names.end(), more.begin(), more.end());
        std::sort(names.begin(), names.end());
        return names;
    };
    Enter();
    EXPECT_EQ(Out(), with(always, wanderers));

    // Each building that brings a creature, owned alone, on entering the screen.
    const std::map<int, std::vector<std::string>> table = {
        {5, {"Sheep1", "Walker4", "Walker10", "Walker11", "Walker9"}},
        {12, {"Farmer1@12", "Walker10", "Walker11", "Walker9"}},
        {20, {"Cow1", "Walker10", "Walker11", "Walker9"}},
        {19, {"Pig1", "Walker10", "Walker11", "Walker9"}},
        {10, {"Farmer1@10", "Walker10", "Walker9"}},
        {7, {"Walker1", "Walker10", "Walker11"}},
        {18, {"Walker2", "Walker11", "Walker9"}},
        {21, {"Walker3", "Walker10", "Walker11", "Walker9"}},
        {2, {"Walker5", "Walker10", "Walker9"}},
        {22, {"Walker6", "Walker10", "Walker11", "Walker9"}},
        {11, {"Walker7", "Walker10", "Walker11"}},
        {28, {"Walker8", "Walker10", "Walker11", "Walker9"}},
        {13, {"Walker9"}},
        {16, {"Walker11", "Walker9"}},
        {25, {"Walker11", "Walker9"}},
    };
    for (const auto& [id, out] : table) {
        NewPlayer({id});
        Kingdom->OnPrepare();
        EXPECT_EQ(Out(), with(always, out)) << "building " << id;
    }
}

TEST_F(KingdomTest, APurchaseShowsAndSendsAwayCreaturesAndTheGoneStayGone) {
    NewPlayer({}, 100000);
    Enter();
    // Building 13: Walker11 (whose condition it is) vanishes at once, Walker10 (tied) fades out.
    Kingdom->BuyObject(GetKingdomObject(13));
    EXPECT_EQ(Anim("Walker11")->isEnabled, 0);
    EXPECT_EQ(Anim("Walker10")->isEnabled, 1);
    EXPECT_EQ(Anim("Walker10")->da, 0.0f);
    // Building 5: the sheep and the shepherd come out at once.
    Kingdom->BuyObject(GetKingdomObject(5));
    EXPECT_EQ(Anim("Sheep1")->isEnabled, 1);
    EXPECT_EQ(Anim("Sheep1")->a, 1.0f);
    EXPECT_EQ(Anim("Walker4")->a, 1.0f);
    // Walker10, sent away by building 13, did not come back with the later purchase.
    EXPECT_EQ(Anim("Walker10")->isEnabled, 0);
}

TEST_F(KingdomTest, AwardsEarnedByAPurchaseComeUpOnceTheBuildingStandsAndNeverAgain) {
    AwardsShow = CreateAwardScreen();
    GiveAward = CreateGiveAward();
    LoadAndSetUp(AwardsShow);
    LoadAndSetUp(GiveAward);
    AwardsShow->SetupAwards();
    // Thirteen buildings owned (stages 0 to 2 and the first of stage 3), and spent all but the
    // price of the next: its purchase makes fourteen and 5000 spent, awards 8 and 9.
    NewPlayer({5, 22, 1, 12, 19, 15, 2, 10, 14, 16, 13, 20, 3}, 100000);
    Profile->BuildingStage = 3;
    auto next = GetKingdomObject(4);
    Profile->CashSpend = 5000 - next->cena;
    Enter();
    Frames(kAnimFrames * 3);
    EXPECT_FALSE(Shown(GiveAward));
    EXPECT_TRUE(Profile->Awards.empty());
    ASSERT_EQ(Kingdom->BuildButton[1]->KingdomObject, next);
    Click(Kingdom->BuildButton[1]->Button);
    ASSERT_EQ(Profile->Buildings.size(), 14u);
    EXPECT_EQ(Profile->CashSpend, 5000);

    // Not while the building goes up.
    for (int frame = 0; next->isNotBeeingBuild() == 0; ++frame) {
        ASSERT_LT(frame, 400);
        EXPECT_FALSE(Shown(GiveAward));
        Frame();
    }
    // In the frame it stands the first award comes up; the second is queued behind it a frame
    // later.
    ASSERT_TRUE(Shown(GiveAward));
    EXPECT_EQ(GiveAward->Award->id, 8);
    EXPECT_EQ(Profile->Awards.size(), 1u);
    Frame();
    ASSERT_EQ(Profile->Awards.size(), 2u);
    EXPECT_TRUE(Profile->isAward(8) && Profile->isAward(9));
    // A click takes the first away and brings the second; another ends it.
    for (int id : {9, 0}) {
        MoveTo(500, 400);
        InjectMouseButton(1, true);
        Frame();
        InjectMouseButton(1, false);
        Frames(kAnimFrames + 2);
        if (id != 0) {
            ASSERT_TRUE(Shown(GiveAward));
            EXPECT_EQ(GiveAward->Award->id, id);
        }
    }
    EXPECT_FALSE(Shown(GiveAward));
    // Never again: not in this visit, nor on the next.
    Frames(60);
    Kingdom->OnPrepare();
    Frames(60);
    EXPECT_FALSE(Shown(GiveAward));
    EXPECT_EQ(Profile->Awards.size(), 2u);
}

TEST_F(KingdomTest, LeavingForTheMenuDropsTheTutorialTip) {
    LoadAndSetUp(MainMenu);
    Enter();
    Frame();
    Tutorial::CurrTip = std::make_shared<TTutorialTip>();
    Kingdom->GoMenu();
    Frames(120);
    ASSERT_EQ(Control::CurrScreen, MainMenu);
    EXPECT_FALSE(Tutorial::CurrTip);
}

// A walker on its own, with an animation of the four directions (ids 1 to 4, one frame each).
class WalkerTest : public ::testing::Test {
protected:
    float oldDelta = delta;
    void SetUp() override { delta = 1; }
    void TearDown() override { delta = oldDelta; }

    static TAnimObjectPtr Directions() {
        auto anims = std::make_shared<TAnimObject>();
        anims->Frames.resize(4);
        for (int id : {3, 1, 2, 4}) {
            auto anim = std::make_shared<TAnimData>();
            anim->id = id;
            anim->Frames = {id - 1};
            anim->FrameDelay = {100};
            anims->Anims.push_back(anim);
        }
        return anims;
    }
    static TDimArray Route(const std::vector<std::pair<float, float>>& points) {
        TDimArray route;
        for (auto [x, y] : points) {
            auto d = std::make_shared<TDim>();
            d->x = x;
            d->y = y;
            route.push_back(d);
        }
        return route;
    }
    static std::shared_ptr<TWalkingHuman> Walker(const TDimArray& route, float speed) {
        return CreateWalkingHuman("W", {}, Directions(), route, nullptr, 10, speed, 0);
    }
};

TEST_F(WalkerTest, EachLegTakesOneOverSpeedFramesWithTheAnimationOfItsDirection) {
    // A diamond: right-down, left-down, left-up, right-up, then round again.
    auto w = Walker(Route({{0, 0}, {40, 40}, {0, 80}, {-40, 40}}), 0.25f);
    EXPECT_EQ(w->GetX(), 0.0f);
    EXPECT_EQ(w->GetY(), 0.0f);
    const int expected[] = {3, 4, 1, 2, 3};
    const std::pair<float, float> ends[] = {{40, 40}, {0, 80}, {-40, 40}, {0, 0}, {40, 40}};
    for (int leg = 0; leg < 5; ++leg) {
        w->UpdateBehaviour();
        w->UpdateBehaviour();
        ASSERT_TRUE(w->CurrAnim);
        EXPECT_EQ(w->CurrAnim->id, expected[leg]) << "leg " << leg;
        w->UpdateBehaviour();
        w->UpdateBehaviour();
        EXPECT_EQ(w->GetX(), ends[leg].first) << "leg " << leg;
        EXPECT_EQ(w->GetY(), ends[leg].second) << "leg " << leg;
    }
    // A leg straight along an axis keeps the walk it has.
    auto flat = Walker(Route({{0, 0}, {40, 40}, {80, 40}}), 0.5f);
    for (int i = 0; i < 3; ++i) flat->UpdateBehaviour();
    EXPECT_EQ(flat->CurrN, 2);
    EXPECT_EQ(flat->CurrAnim->id, 3);
}

TEST_F(WalkerTest, ShortAndMissingRoutes) {
    // One point: it stands there.
    auto one = Walker(Route({{10, 20}}), 0.5f);
    for (int i = 0; i < 5; ++i) one->UpdateBehaviour();
    EXPECT_EQ(one->GetX(), 10.0f);
    EXPECT_EQ(one->GetY(), 20.0f);
    // Two points: back and forth, one leg each way.
    auto two = Walker(Route({{0, 0}, {10, 0}}), 0.5f);
    std::vector<float> xs;
    for (int i = 0; i < 6; ++i) {
        two->UpdateBehaviour();
        xs.push_back(two->GetX());
    }
    EXPECT_EQ(xs, (std::vector<float>{5, 10, 5, 0, 5, 10}));
    // No route (its file missing): nothing to walk, never shown, however it is asked.
    auto none = Walker(TDimArray{}, 0.5f);
    none->UpdateObject();
    none->Show();
    none->UpdateObject();
    EXPECT_EQ(none->HasPlace(), 0);
    EXPECT_EQ(none->a, 0.0f);
    EXPECT_EQ(none->GetX(), 0.0f);
}

TEST_F(KingdomTest, AMissingWalkPathIsReportedAndItsWalkerStaysAway) {
    testsupport::TempDir data;
    // A copy of the kingdom's folder without the first walk path.
    const std::string from = bDir + "Screens/Kingdom/";
    CreateDir(data.file("Screens"));
    ASSERT_EQ(std::system(("cp -r '" + from + "' '" + data.file("Screens/Kingdom") + "'").c_str()), 0);
    ASSERT_TRUE(DeleteFile(data.file("Screens/Kingdom/MoveArray-1.txt")));
    const std::string oldDir = bDir;
    bDir = data.path() + "/";
    Kingdom->SetupAnims();
    bDir = oldDir;
    auto walker = std::dynamic_pointer_cast<TWalkingHuman>(Anim("Walker1"));
    ASSERT_TRUE(walker);
    EXPECT_TRUE(walker->Route.empty());
    NewPlayer({7});
    Kingdom->PrepareAnims();
    EXPECT_EQ(walker->isEnabled, 0);
    walker->UpdateObject();
    EXPECT_EQ(walker->a, 0.0f);
}

}  // namespace
