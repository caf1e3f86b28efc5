// The game panel beside the board: its stars (and the stars flying to, from and off it), its
// place at the window's edge, the colour, hint and tool buttons, the hints they spend and the
// charges that load them again; played through whole frames with injected input.
#include "game/puzzle/GameScreenHarness.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "engine/media/AppSound.h"
#include "engine/data/Settings.h"
#include "game/levels/BoardLayout.h"
#include "game/levels/Numbers.h"
#include "platform/Files.h"
#include "game/puzzle/FlyHints.h"
#include "game/puzzle/FlyingStars.h"
#include "support/CountingSound.h"
#include "support/Pixels.h"

namespace {

using testsupport::CountingSound;

class GamePanelTest : public gamescreen::GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        // A player who has seen the help: no pop-up over the board.
        Profile = CreateNewProfile("Ann");
        Profile->TutorialScreenShowed = 1;
    }
    void TearDown() override {
        AppSettings::Stretched = savedStretched;
        GameScreenTest::TearDown();
    }

    // A left click on a point of the picture, over three frames.
    void Click(float x, float y) {
        MoveTo(x, y);
        Frame();
        Down(1);
        Frame();
        Up(1);
        Frame();
    }
    void ClickWidget(const TGameObjectPtr& point, float dx, float dy) { Click(point->DrawX + dx, point->DrawY + dy); }

    static int Count(const std::function<bool(const TFlyingStar&)>& which) {
        return static_cast<int>(
            std::count_if(FlyingStars.begin(), FlyingStars.end(), [&](const TFlyingStarPtr& s) { return which(*s); }));
    }
    static bool FlyingInTo(int star) {
        return Count([star](const TFlyingStar& s) {
                   auto* in = dynamic_cast<const TFlyingStarFlyIn*>(&s);
                   return in && in->obj == GamePanel::Stars[star];
               }) > 0;
    }
    static int SummaryStars() {
        return Count([](const TFlyingStar& s) { return dynamic_cast<const TFlyingStarSummary*>(&s) != nullptr; });
    }

    int savedStretched = AppSettings::Stretched;
};

TEST_F(GamePanelTest, StarsSetLightsTheFirstCountAndDropsEachLitStarThatGoesOut) {
    Play(MakeLevel({"1.1", "111"}));
    Frame();
    ClearFlyingStars();
    // The panel stars a falling star left, in order: a drop starts at its star's top-left corner
    // moved by half the star picture.
    const int hw = ImageWidth(TFlyingStar::Img) / 2, hh = ImageHeight(TFlyingStar::Img) / 2;
    auto dropped = [&] {
        std::vector<int> stars;
        for (const auto& s : FlyingStars)
            if (dynamic_cast<const TFlyingStarDrop*>(s.get()))
                for (int i = 0; i < 3; ++i)
                    if (static_cast<int>(GamePanel::Stars[i]->DrawX) + hw == static_cast<int>(s->x1) &&
                        static_cast<int>(GamePanel::Stars[i]->DrawY) + hh == static_cast<int>(s->y1))
                        stars.push_back(i);
        return stars;
    };
    struct Case {
        const char* before;  // lit stars, '1' lit
        int count;
        const char* after;
        std::vector<int> drops;
    };
    const Case cases[] = {
        {"111", 3, "111", {}}, {"111", 2, "110", {2}}, {"111", 1, "100", {1, 2}}, {"111", 0, "000", {0, 1, 2}},
        {"000", 0, "000", {}}, {"100", 3, "111", {}},  {"110", 0, "000", {0, 1}}, {"101", 1, "100", {2}},
        {"111", 5, "111", {}}, {"101", -1, "101", {}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i) {
            if (c.before[i] == '1') GamePanel::Stars[i]->Enable();
            else GamePanel::Stars[i]->Disable();
        }
        ClearFlyingStars();
        GamePanel::Stars_Set(c.count);
        std::string after;
        for (const auto& star : GamePanel::Stars) after += star->isEnabled ? '1' : '0';
        EXPECT_EQ(after, c.after) << c.before << " set " << c.count;
        EXPECT_EQ(dropped(), c.drops) << c.before << " set " << c.count;
        EXPECT_EQ(GamePanel::GetStars(), static_cast<int>(std::count(after.begin(), after.end(), '1')));
    }
}

TEST_F(GamePanelTest, AStarLostWhileFlyingInNeverLightsAndTheSummaryPaysOnlyTheStarsKept) {
    // The opening fly-ins land a second apart, the third well after play begins.
    struct Case {
        bool mistake;      // a wrong cell as soon as play begins
        bool waitLanding;  // every fly-in has had time to land before the win
        int stars;
    };
    for (const Case& c : {Case{true, true, 2}, Case{true, false, 2}, Case{false, false, 3}}) {
        auto level = Play(MakeLevel({"1.1", "111"}));
        UntilPlay();
        ASSERT_TRUE(FlyingInTo(2)) << "the third star is still on its way";
        ASSERT_FALSE(GamePanel::Stars[2]->isEnabled);
        if (c.mistake) {
            Drag(*level, 1, 0, 1, 0, 1);
            ASSERT_EQ(level->CurrStars, 2);
            EXPECT_FALSE(FlyingInTo(2)) << "the lost star's fly-in is called off";
        }
        if (c.waitLanding) {
            Frames(240);
            EXPECT_EQ(GamePanel::GetStars(), level->CurrStars) << "the lost star stays out";
        }
        Drag(*level, 0, 1, 2, 1, 1);
        Drag(*level, 0, 0, 0, 0, 1);
        Drag(*level, 2, 0, 2, 0, 1);
        for (int i = 0; i < 120 && Game->CurrState == 0; ++i) Frame();
        ASSERT_EQ(Game->CurrState, 2);
        EXPECT_EQ(Game->GetLevelStars(), c.stars) << c.mistake << c.waitLanding;
        EXPECT_EQ(Game->GetLevelStars(), level->CurrStars);
        EXPECT_EQ(SummaryStars(), c.stars) << "as many stars fly to the summary as it pays for";
        EXPECT_EQ(GamePanel::GetStars(), 0);
    }
}

TEST_F(GamePanelTest, FallingSummaryAndFlyInStarsFollowTheirCurves) {
    Play(MakeLevel({"1.1", "111"}));
    Frame();
    ClearFlyingStars();
    ASSERT_TRUE(TFlyingStar::Img);
    const int hw = ImageWidth(TFlyingStar::Img) / 2, hh = ImageHeight(TFlyingStar::Img) / 2;
    CreateFlyingStarDrop(100, 200, 0);
    CreateFlyingStarSummary(1100, 40, 588, 142, 1000);
    CreateFlyingStarFlyin(1100, -128, 1100, 40, 0, GamePanel::Stars[0]);
    ASSERT_EQ(FlyingStars.size(), 3u);
    auto drop = FlyingStars.front();
    auto summary = *std::next(FlyingStars.begin());
    EXPECT_FALSE(GamePanel::Stars[0]->isEnabled) << "hidden until its star lands";
    Frames(40);
    // The drop swells in place for the first quarter of its flight.
    EXPECT_EQ(drop->x, static_cast<float>(100 + hw));
    EXPECT_EQ(drop->y, static_cast<float>(200 + hh));
    EXPECT_GT(drop->ScaleX, 1.0f);
    // The summary star waits, shown at its start.
    EXPECT_EQ(summary->per, 0.0f);
    Frames(240);
    // Drop and fly-in have arrived and gone; the fly-in lit its star; the summary star rests at
    // its place, 171 pixels left of the one given, and stays.
    EXPECT_TRUE(GamePanel::Stars[0]->isEnabled);
    ASSERT_EQ(FlyingStars.size(), 1u);
    EXPECT_EQ(FlyingStars.front(), summary);
    EXPECT_EQ(summary->x, static_cast<float>(588 + hw - 171));
    EXPECT_EQ(summary->y, static_cast<float>(142 + hh));
    EXPECT_EQ(static_cast<TFlyingStarSummary&>(*summary).isFinishedFly, 1);
    EXPECT_EQ(drop->y, 1000.0f) << "the drop ends below the screen";
}

TEST_F(GamePanelTest, ThePanelStandsAtTheWindowsRightEdgeOrAtTheStretchedPicturesEdge) {
    ASSERT_EQ(GraphicsWidth(), 1366);
    ASSERT_EQ(GraphicsHeight(), 768);
    const std::pair<int, float> table[] = {{0, 1195.0f}, {1, 1024.0f}};
    for (const auto& [stretched, x] : table) {
        AppSettings::Stretched = stretched;
        GamePanel::UpdateScreenPosition();
        GamePanel::MainPanel->UpdateAllTheSettings();
        EXPECT_EQ(GamePanel::MainPanel->DrawX, x) << stretched;
        EXPECT_EQ(GamePanel::MainPanel->DrawY, 0.0f);
    }
    AppSettings::Stretched = 7;  // neither: the panel stays
    GamePanel::UpdateScreenPosition();
    GamePanel::MainPanel->UpdateAllTheSettings();
    EXPECT_EQ(GamePanel::MainPanel->DrawX, 1024.0f);
}

// Every board the game ships, in the wide window and in the 4:3 picture (where the panel stands
// inside the picture), keeps its grid left of the panel's card; in the wide window the board
// stays where it always was, centred on the board's centre point.
TEST_F(GamePanelTest, EveryShippedBoardStaysLeftOfThePanelInTheWideAndThe43Picture) {
    for (int stretched : {0, 1}) {
        AppSettings::Stretched = stretched;
        GamePanel::UpdateScreenPosition();
        GamePanel::MainPanel->UpdateAllTheSettings();
        ASSERT_NE(GamePanel::Card, nullptr);
        const float cardLeft = GamePanel::Card->DrawX;
        EXPECT_EQ(cardLeft, stretched == 0 ? 1007.0f : 836.0f);
        int levels = 0;
        for (int n = 1; FileType(gamescreen::LevelFile(n)) == 1; ++n, ++levels) {
            SCOPED_TRACE("stretched " + std::to_string(stretched) + ", Level-" + std::to_string(n));
            auto level = LoadPacLevel(gamescreen::LevelFile(n));
            ASSERT_NE(level, nullptr);
            level->Center();  // the first call measures the number areas
            level->Center();
            EXPECT_LT(level->x + static_cast<float>(level->GridWidth), cardLeft - BoardPanelGap + 1.0f);
            if (stretched == 0) {
                EXPECT_EQ(level->x, static_cast<float>(static_cast<int>(BoardCentreX - level->GridWidth * 0.5f +
                                                                        level->NumbersWidth * 0.5f)));
            }
            // The row clues keep on screen on the left, grown by the hover, and the size label
            // (92 pixels wide, kept 2 pixels from the screen's edge) left of the grid.
            const float scale = NumberScaleAt(level->Size) * 1.2f * 0.5f;
            for (const auto& line : level->NumberH.Cells())
                for (const auto& number : line->Number) {
                    float w = 0, h = 0;
                    ASSERT_TRUE(
                        NumberImageSize(TPNumber::ImgInd(number->Size), TPNumber::ImageValue(number->Value), w, h));
                    EXPECT_GE(number->DrawX - w * scale, 0.0f);
                }
            EXPECT_GE(level->x, 96.0f);
        }
        EXPECT_EQ(levels, 100);
    }
}

TEST_F(GamePanelTest, OnlyTheLevelsColoursHaveButtonsAndTheyCloseUpInTheMiddle) {
    const auto& p = GamePanel::Color;
    for (int colours : {1, 2, 3}) {
        auto level = Play(MakeLevel({std::string("123").substr(0, colours)}));
        UntilPlay();
        const float pitch = p[1]->Point->DrawX - p[0]->Point->DrawX;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(p[i]->isShown(), i < colours ? 1 : 0) << colours << " colours, button " << i;
            if (i < colours) {
                EXPECT_EQ(p[i]->X(), p[i]->Point->DrawX + (3 - colours) * pitch * 0.5f) << colours << " " << i;
            }
        }
        // A press where the third button would stand picks nothing and breaks nothing.
        ClickWidget(p[2]->Point, 18, 18);
        EXPECT_EQ(Game->CurrColorIndex, colours == 3 ? 2 : 0);
        // The last colour's button picks it.
        Game->SetCurrentColor(0);
        Click(p[colours - 1]->X() + 18, p[colours - 1]->Y() + 18);
        EXPECT_EQ(Game->CurrColorIndex, colours - 1);
    }
}

TEST_F(GamePanelTest, AFinishedColourIsShadedAndTakesNoClick) {
    auto level = Play(MakeLevel({"12", "21"}));
    UntilPlay();
    const auto& first = GamePanel::Color[0];
    Drag(*level, 0, 0, 0, 0, 1);
    Drag(*level, 1, 1, 1, 1, 1);
    // The clue numbers cross themselves, then the colour is finished.
    for (int i = 0; i < 120 && level->ColorDone[0] == 0; ++i) Frame();
    ASSERT_EQ(level->ColorDone[0], 1);
    Frames(5);
    ASSERT_EQ(Game->CurrColorIndex, 1);
    EXPECT_EQ(first->dDoneA, 1.0f);
    EXPECT_GT(first->doneA, 0.0f);
    EXPECT_LT(first->doneA, 1.0f) << "finished in play: the shade fades in";
    Click(first->X() + 18, first->Y() + 18);
    EXPECT_EQ(Game->CurrColorIndex, 1);
    EXPECT_EQ(first->dOverA, 0.0f);
    // Seen when the level is prepared (a resumed level), the shade is there at once.
    GamePanel::Prepare();
    EXPECT_EQ(first->doneA, 1.0f);
}

TEST_F(GamePanelTest, TheToolButtonsPickTheToolAndTheFrameSlidesToIt) {
    Play(MakeLevel({"1.1", "111"}));
    UntilPlay();
    const auto& hand = GamePanel::Tool[0];
    const auto& hammer = GamePanel::Tool[1];
    EXPECT_EQ(Game->CurrTool, 0);
    EXPECT_EQ(GamePanel::ToolPer, 0.0f);
    ClickWidget(hammer->Point, 32, 32);
    EXPECT_EQ(Game->CurrTool, 1);
    EXPECT_GT(GamePanel::ToolPer, 0.0f);
    EXPECT_LT(GamePanel::ToolPer, 1.0f);
    Frames(20);
    EXPECT_EQ(GamePanel::ToolPer, 1.0f);
    ClickWidget(hand->Point, 32, 32);
    EXPECT_EQ(Game->CurrTool, 0);
    // The tool stays from level to level, and the frame stands on it at once.
    ClickWidget(hammer->Point, 32, 32);
    Play(MakeLevel({"11"}));
    EXPECT_EQ(Game->CurrTool, 1);
    EXPECT_EQ(GamePanel::ToolPer, 1.0f);
}

// ---------------------------------------------------------------------------------------------
// Hints

class HintTest : public GamePanelTest {
protected:
    std::shared_ptr<CountingSound> loaded = std::make_shared<CountingSound>();
    std::shared_ptr<CountingSound> spent = std::make_shared<CountingSound>();

    // A 5 x 4 picture of 14 cells of one colour, with three full hint slots.
    std::shared_ptr<TPACLevel> Start() {
        auto level = MakeLevel({"11111", "1...1", "1...1", "11111"});
        level->SetHints(3);
        Play(level);
        UntilPlay();
        MainGameSettings::SndHintLoaded = loaded;
        MainGameSettings::SndHint = spent;
        return level;
    }
    void ClickHint(int i) { ClickWidget(GamePanel::Hints[i]->Point, 25, 25); }
    // The cells the flying hints are on their way to.
    static std::set<const TPTile*> Targets() {
        std::set<const TPTile*> t;
        for (const auto& h : FlyHints) t.insert(h->TIle.get());
        return t;
    }
};

TEST_F(HintTest, ASpentHintFliesToTwoUnsolvedCellsAndTheButtonTakesNoSecondClick) {
    auto level = Start();
    ClickHint(0);
    EXPECT_EQ(Profile->HintUsed, 1);
    EXPECT_EQ(level->HintWasUsed, 1);
    EXPECT_EQ(level->HintIsLoaded[0], 0);
    EXPECT_EQ(level->HintAddParts[0], 0.0f);
    EXPECT_EQ(level->HintAvailableAtThisLevel[0], 1);
    EXPECT_EQ(spent->Plays(), 1);
    ASSERT_EQ(FlyHints.size(), 2u);
    auto targets = Targets();
    EXPECT_EQ(targets.size(), 2u);
    for (const TPTile* t : targets) {
        EXPECT_NE(t->isTile, 0);
        EXPECT_EQ(t->isCovered, 1);
    }
    // Spent: clicking again spends nothing.
    ClickHint(0);
    EXPECT_EQ(Profile->HintUsed, 1);
    EXPECT_EQ(spent->Plays(), 1);
    // The second slot, at once: two more cells, none of the first two.
    ClickHint(1);
    ASSERT_EQ(FlyHints.size(), 4u);
    EXPECT_EQ(Targets().size(), 4u);
    // About 100 frames on, the four cells open as right uncovers that send no charge.
    const int score = level->Score;
    for (int i = 0; i < 200 && !FlyHints.empty(); ++i) Frame();
    EXPECT_TRUE(FlyHints.empty());
    for (const TPTile* t : targets) EXPECT_EQ(t->isCovered, 0);
    EXPECT_EQ(level->Score, score + 4);
    Frames(5);
    EXPECT_TRUE(AddHints.empty());
    EXPECT_EQ(level->Mistakes, 0);
}

TEST_F(HintTest, TenChargesLoadASlotOnceAndChargesInFlightAreCounted) {
    auto level = Start();
    ClickHint(0);
    for (int i = 0; i < 200 && !FlyHints.empty(); ++i) Frame();
    // A right uncover of the player's own sends a charge to the spent slot.
    Drag(*level, 0, 0, 0, 0, 1);
    Frames(2);
    ASSERT_EQ(AddHints.size(), 1u);
    EXPECT_EQ(AddHints.front()->Index, 0);
    const auto* button = GamePanel::Hints[0]->Point.get();
    EXPECT_EQ(AddHints.front()->x2, button->DrawX + 25);
    EXPECT_EQ(AddHints.front()->y2, button->DrawY + 25);
    // Ten more boxes start: nine more go to slot 0, the last finds no slot (1 and 2 are full).
    for (int i = 0; i < 10; ++i) ReleaseHintCharge(300, 300);
    EXPECT_EQ(CountHintAdds(0), 10);
    EXPECT_EQ(AddHints.size(), 10u);
    EXPECT_FALSE(PanelHintDim(*level));
    // They arrive: the tenth loads the slot, with one loaded sound.
    for (int i = 0; i < 200 && !AddHints.empty(); ++i) Frame();
    EXPECT_TRUE(AddHints.empty());
    EXPECT_EQ(level->HintAddParts[0], 10.0f);
    EXPECT_EQ(level->HintIsLoaded[0], 1);
    EXPECT_EQ(GamePanel::Hints[0]->isLoaded, 1);
    EXPECT_EQ(loaded->Plays(), 1);
    GamePanel::Hints[0]->Add();
    EXPECT_EQ(level->HintAddParts[0], 10.0f);
    EXPECT_EQ(loaded->Plays(), 1);
    // Loaded again, it spends again.
    Frames(60);
    ClickHint(0);
    EXPECT_EQ(Profile->HintUsed, 2);
}

TEST_F(HintTest, ChargesGoOnlyToSlotsWithAButton) {
    auto level = MakeLevel({"11", "11"});
    Play(level);
    Frame();
    // Slots 6 to 8 have no button: charges never go there, whatever the file says.
    level->SetHints(0);
    for (int i = 6; i < HintSlots; ++i) level->HintAvailableAtThisLevel[i] = 1;
    EXPECT_FALSE(PanelHintDim(*level));
    // The first slot that needs charge, counting what is already on its way.
    level->HintAvailableAtThisLevel[3] = 1;
    level->HintAddParts[3] = 9.0f;
    level->HintAvailableAtThisLevel[5] = 1;
    auto d = PanelHintDim(*level);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->w, 3.0f);
    ReleaseHintCharge(0, 0);
    d = PanelHintDim(*level);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->w, 5.0f);
    EXPECT_EQ(d->x, GamePanel::Hints[5]->Point->DrawX + 25);
}

TEST_F(HintTest, HintsPickDistinctUntargetedCellsAndAnEmptyPoolDrawsNothing) {
    auto level = Start();
    const int cells = static_cast<int>(level->GetAllFilledTiles(0).size());
    ASSERT_EQ(cells, 14);
    std::set<const TPTile*> all;
    // Spend after spend while every hint is in flight: two new cells each time.
    for (int spend = 0; spend < 7; ++spend) {
        auto picked = Game->GetTilesForHints(2);
        ASSERT_EQ(picked.size(), 2u) << spend;
        EXPECT_NE(picked[0], picked[1]);
        for (const auto& t : picked) {
            EXPECT_FALSE(isHintTile(t.get())) << "already targeted";
            all.insert(t.get());
            CreateFlyHint(0, 0, t);
        }
    }
    EXPECT_EQ(all.size(), 14u);
    // Nothing left: no cell, and not even a draw of the random generator.
    const int32_t seed = RndSeed();
    EXPECT_TRUE(Game->GetTilesForHints(2).empty());
    EXPECT_EQ(RndSeed(), seed);
    // A spend then still counts and unloads the slot, and sends nothing.
    const size_t flying = FlyHints.size();
    Game->UseHint(2, 0, 0);
    EXPECT_EQ(FlyHints.size(), flying);
    EXPECT_EQ(level->HintIsLoaded[2], 0);
    EXPECT_EQ(Profile->HintUsed, 1);
    // One cell left: one hint.
    ClearFlyHints();
    for (int k = 0; k < 13; ++k) level->GetAllFilledTiles(0).front()->Show(0, 0);
    EXPECT_EQ(Game->GetTilesForHints(2).size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// The panel as the player sees it

class PanelPictureTest : public HintTest {
protected:
    testsupport::Rgb At(const TPixmapPtr& p, float x, float y) {
        return testsupport::RgbAt(p, static_cast<int>(x + AspectOffsetX), static_cast<int>(y + AspectOffsetY));
    }
    static int Distance(const testsupport::Rgb& a, const TRGB& b) {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
};

TEST_F(PanelPictureTest, ButtonsShowTheirColoursTheHintsTheirChargeAndTheFrameItsTool) {
    // Enough cells of the first colour that the spent hint does not finish it.
    auto level = MakeLevel({"1123", "1321", "1111"});
    level->SetHints(3);
    Play(level);
    UntilPlay();
    ClickWidget(GamePanel::Hints[1]->Point, 25, 25);  // slot 1 spent: its gauge drains in 200 frames
    Frames(220);
    TPixmapPtr shot = Frame(true);
    // Each colour button shows its own colour, nearer to it than to any other colour's.
    for (int i = 0; i < 3; ++i) {
        const auto& b = GamePanel::Color[i];
        const testsupport::Rgb c = At(shot, b->X() + 18, b->Y() + 24);
        for (int j = 0; j < 3; ++j) {
            if (j == i) continue;
            EXPECT_LT(Distance(c, *Game->GetColorRGBByIndex(i)), Distance(c, *Game->GetColorRGBByIndex(j)))
                << "button " << i << " " << c;
        }
    }
    // A full hint is warm and bright; a spent one dark.
    const auto& full = GamePanel::Hints[0]->Point;
    const auto& empty = GamePanel::Hints[1]->Point;
    const testsupport::Rgb warm = At(shot, full->DrawX + 8, full->DrawY + 25);
    const testsupport::Rgb dark = At(shot, empty->DrawX + 8, empty->DrawY + 25);
    EXPECT_GT(warm.r, 200) << warm;
    EXPECT_GT(warm.r, warm.b + 80) << warm;
    EXPECT_LT(dark.r, 130) << dark;
    // The gold frame on the hand, then on the hammer.
    const auto& hand = GamePanel::Tool[0]->Point;
    const auto& hammer = GamePanel::Tool[1]->Point;
    auto gold = [](const testsupport::Rgb& c) { return c.r > 220 && c.g > 180 && c.b < 140; };
    EXPECT_TRUE(gold(At(shot, hand->DrawX + 4, hand->DrawY + 32))) << At(shot, hand->DrawX + 4, hand->DrawY + 32);
    EXPECT_FALSE(gold(At(shot, hammer->DrawX + 4, hammer->DrawY + 32)));
    ClickWidget(hammer, 32, 32);
    Frames(25);
    shot = Frame(true);
    EXPECT_TRUE(gold(At(shot, hammer->DrawX + 4, hammer->DrawY + 32)));
    EXPECT_FALSE(gold(At(shot, hand->DrawX + 4, hand->DrawY + 32)));
}

}  // namespace
