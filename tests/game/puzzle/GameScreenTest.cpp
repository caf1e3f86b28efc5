// Play on the game screen through the real input path: injected mouse and keys, whole frames of
// the engine's frame driver, the fixed clock (1000/60 ms a frame).
#include "game/puzzle/GameScreenHarness.h"

#include <utility>
#include <vector>

#include "engine/basics/AppTime.h"
#include "game/levels/Numbers.h"
#include "game/levels/TileOverlays.h"
#include "support/Pixels.h"

namespace {
using gamescreen::GameScreenTest;

// The covered state of a row of the first layer, as text: 'c' covered, '-' no longer.
std::string CoveredRow(const TPACLevel& level, int y, int layer = 0) {
    std::string row;
    for (int x = 0; x < level.Cols; ++x) row += level.Tile(layer, x, y)->isCovered ? 'c' : '-';
    return row;
}

// Every overlay start with its sound, as the tiles report them to the board: (application ms,
// right sound). In between the tiles and the board that plays them, which it passes everything
// on to.
struct SoundLog : TBoardView {
    std::vector<std::pair<int, bool>> starts;
    TBoardView* const board = PlayingBoard();
    SoundLog() { SetBoardView(this); }
    ~SoundLog() override { SetBoardView(board); }
    void BoardTileSound(bool right) override {
        starts.emplace_back(AppMilliSecs(), right);
        board->BoardTileSound(right);
    }
    float BoardOverAlpha() override { return board->BoardOverAlpha(); }
    float BoardNumbersAlpha() override { return board->BoardNumbersAlpha(); }
    bool BoardHoveredCell(int& x, int& y) override { return board->BoardHoveredCell(x, y); }
    std::shared_ptr<TRGB> BoardColour() override { return board->BoardColour(); }
    int BoardLayer() override { return board->BoardLayer(); }
    bool BoardColourTooDark(const TRGB& colour) override { return board->BoardColourTooDark(colour); }
    bool BoardColourSensitive() override { return board->BoardColourSensitive(); }
    void BoardMistake() override { board->BoardMistake(); }
    void BoardHintCharge(int x, int y) override { board->BoardHintCharge(x, y); }
    std::shared_ptr<TDim> BoardHintDim(const TLevel& level) override { return board->BoardHintDim(level); }
};

TEST_F(GameScreenTest, ALineIsJudgedAtReleaseAndItsTilesShow25MsApart) {
    auto level = Play(MakeLevel({"11111.", "1.1.1.", "111111"}));
    UntilPlay();
    SoundLog sounds;

    // Press on the first cell and drag along the row: nothing is judged while the line is held.
    Hold(*level, 0, 0, 5, 0, 1);
    Frames(2);
    ASSERT_TRUE(Game->HoldedList);
    EXPECT_EQ(Game->HoldedList->size(), 6u);
    EXPECT_EQ(CoveredRow(*level, 0), "cccccc");

    Up(1);
    Frame();
    const int release = AppMilliSecs();
    // Every tile of the line at once, in the release frame: five right, one wrong.
    EXPECT_EQ(CoveredRow(*level, 0), "------");
    EXPECT_EQ(level->TIlesUncovered, 5);
    EXPECT_EQ(level->Score, 5);
    EXPECT_EQ(level->Mistakes, 1);
    EXPECT_EQ(level->CurrStars, 2);
    EXPECT_FALSE(Game->HoldedList);
    // Only the overlays wait: the i-th tile from the anchor starts 25 ms x i after the release.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(level->Tile(0, i, 0)->pTile->time, release + 25 * i) << i;
    EXPECT_EQ(level->Tile(0, 5, 0)->pError->time, release + 125);
    EXPECT_EQ(level->Tile(0, 5, 0)->pMark->time, release + 125);
    EXPECT_EQ(level->Tile(0, 4, 0)->pTile->Scale, 0.0f) << "the fifth box waits for its 100 ms";

    Frames(12);
    // Each start comes in the first frame at or after its time, the wrong tile's two together.
    ASSERT_EQ(sounds.starts.size(), 7u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(sounds.starts[i].second);
        EXPECT_GE(sounds.starts[i].first, release + 25 * i) << i;
        EXPECT_LT(sounds.starts[i].first, release + 25 * i + 17) << i;
    }
    EXPECT_EQ(sounds.starts[5].first, sounds.starts[6].first);
    EXPECT_GE(sounds.starts[5].first, release + 125);
    EXPECT_EQ(sounds.starts[5].second + sounds.starts[6].second, 1) << "a cross and the wrong sound";
}

TEST_F(GameScreenTest, FourMistakesThenALineWithThreeWrongTilesEndsAtSixAndLoses) {
    auto level = Play(MakeLevel({"1.1.1.1.", "1.1.1.1.", "11111111"}));
    UntilPlay();
    // Four single wrong uncovers: the first takes a star.
    for (int x : {1, 3, 5, 7}) Drag(*level, x, 0, x, 0, 1);
    EXPECT_EQ(level->Mistakes, 4);
    EXPECT_EQ(level->CurrStars, 2);
    EXPECT_EQ(Game->CurrState, 0);

    // Cells 1, 3 and 5 of the second row are wrong: the fifth mistake, the sixth (the loss) and
    // one judged after the loss, which no longer counts.
    Drag(*level, 1, 1, 5, 1, 1);
    EXPECT_EQ(level->Mistakes, 6);
    EXPECT_EQ(Game->CurrState, 3);
    EXPECT_EQ(level->isLevelLost, 1);
    EXPECT_EQ(level->isLevelWon, 0);
    EXPECT_EQ(CoveredRow(*level, 1), "c-----cc") << "the whole line was still judged";
    EXPECT_EQ(level->TIlesUncovered, 2);

    // Every cell falls away; the pop-up's moment comes 2000 ms after the loss.
    EXPECT_EQ(FlyingTiles.size(), static_cast<size_t>(level->Cols * level->Rows));
    const int lost = AppMilliSecs();
    while (AppMilliSecs() <= lost + 2000) {
        EXPECT_EQ(Game->CurrState, 3);
        EXPECT_FALSE(Game->isPopUp(LoseScreen.get()));
        Frame();
    }
    Frame();
    EXPECT_EQ(Game->CurrState, 4);
    EXPECT_TRUE(Game->isPopUp(LoseScreen.get()));
    // More wrong moves change nothing now.
    Drag(*level, 7, 1, 7, 1, 1);
    EXPECT_EQ(level->Mistakes, 6);
}

TEST_F(GameScreenTest, ColoursFinishOneAfterAnotherAndTheWonLevelGoesToTheSummary) {
    auto level = Play(MakeLevel({"1122", "1122", "3333", "3..3"}));
    UntilPlay();
    // Every cell of the first colour: its lines clear themselves and play moves to the second.
    Drag(*level, 0, 0, 1, 0, 1);
    Drag(*level, 0, 1, 1, 1, 1);
    Frames(30);
    EXPECT_EQ(level->ColorDone, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(Game->CurrColorIndex, 1);
    Drag(*level, 2, 0, 3, 0, 1);
    Drag(*level, 2, 1, 3, 1, 1);
    Frames(30);
    EXPECT_EQ(Game->CurrColorIndex, 2);
    EXPECT_EQ(Game->CurrState, 0);
    Drag(*level, 0, 2, 3, 2, 1);
    Drag(*level, 0, 3, 0, 3, 1);
    Drag(*level, 3, 3, 3, 3, 1);
    for (int i = 0; i < 60 && Game->CurrState == 0; ++i) Frame();
    ASSERT_EQ(Game->CurrState, 2);
    EXPECT_EQ(level->isLevelWon, 1);
    EXPECT_EQ(level->isLevelLost, 0);
    EXPECT_EQ(Game->GetLevelStars(), 3);
    EXPECT_EQ(Game->GetMistakes(), 0);
    EXPECT_EQ(Game->GetLevelTotalScore(), 14);
    EXPECT_EQ(GamePanel::GetStars(), 0) << "the lit stars leave the panel for the summary";
    // Once the clue numbers are hidden, straight to the level summary with the level.
    for (int i = 0; i < 120 && Control::CurrScreen == Game; ++i) Frame();
    EXPECT_EQ(Control::CurrScreen, LevelSummary);
    EXPECT_EQ(LevelSummary->CurrLevel, level);
    EXPECT_EQ(Game->isLevelVisible, 0);
    EXPECT_GT(Game->GetLevelTime(), 0);
}

TEST_F(GameScreenTest, APlayersFirstLevelShowsTheHelpOnceAndPlayWaitsUnderIt) {
    Profile = CreateNewProfile("Ann");
    auto level = Play(MakeLevel({"1.1", ".1.", "1.1"}));
    Frame();
    EXPECT_EQ(Profile->TutorialScreenShowed, 1);
    EXPECT_EQ(Profile->CurrScreen, "GameScreen");
    ASSERT_TRUE(Game->isPopUp(HelpScreen.get()));
    // Under the pop-up the game screen is locked: play waits and the board takes no move.
    EXPECT_TRUE(Game->isLocked);
    const int state = Game->CurrState;
    Frames(60);
    EXPECT_EQ(Game->CurrState, state);
    Drag(*level, 0, 0, 0, 0, 1);
    EXPECT_EQ(level->Tile(0, 0, 0)->isCovered, 1);
    HideAppPopUp(HelpScreen);
    EXPECT_FALSE(Game->isLocked);
    UntilPlay();
    Drag(*level, 0, 0, 0, 0, 1);
    EXPECT_EQ(level->Tile(0, 0, 0)->isCovered, 0);
    // The next level does not show it again.
    Play(MakeLevel({"1.1", ".1.", "1.1"}));
    Frames(3);
    EXPECT_FALSE(Game->isPopUp(HelpScreen.get()));
}

TEST_F(GameScreenTest, TheClockTakesAStarAt360And720SecondsOfPlay) {
    auto level = Play(MakeLevel({"1.1", ".1.", "1.1"}));
    // The opening fly-in does not count.
    while (Game->CurrState != 0) {
        EXPECT_EQ(level->LevelSeconds, 0);
        Frame();
    }
    EXPECT_EQ(level->LevelSeconds, 0);
    Frame();
    EXPECT_EQ(level->LevelSeconds, 1) << "the first second counts on the first frame of play";
    // Frames without drawing: the clock ticks in the update.
    auto until = [&](int seconds) {
        while (level->LevelSeconds < seconds) {
            Control::Update();
            AdvanceFixedClock();
        }
    };
    const int start = AppMilliSecs();
    until(359);
    EXPECT_EQ(level->CurrStars, 3);
    until(360);
    EXPECT_EQ(level->CurrStars, 2);
    EXPECT_EQ(GamePanel::GetStars(), 2);
    until(719);
    EXPECT_EQ(level->CurrStars, 2);
    until(720);
    EXPECT_EQ(level->CurrStars, 1);
    EXPECT_EQ(GamePanel::GetStars(), 1);
    // A counted second lasts at least 1000 ms.
    EXPECT_GE(AppMilliSecs() - start, 719 * 1000);
    until(2000);
    EXPECT_EQ(level->CurrStars, 1);
}

TEST_F(GameScreenTest, ARestoredLevelWithMistakesTakesNoFurtherStar) {
    testsupport::TempDir dir;
    {
        auto level = Play(MakeLevel({"1.1.", ".1.1", "1.1.", ".1.1"}));
        UntilPlay();
        Drag(*level, 1, 0, 1, 0, 1);
        ASSERT_EQ(level->Mistakes, 1);
        ASSERT_EQ(level->CurrStars, 2);
        level->LevelSeconds = 400;  // past the first mark of the clock
        ASSERT_TRUE(SaveLevel(level, dir.file("progress.PACLEVEL")));
    }
    auto level = Play(LoadPacLevel(dir.file("progress.PACLEVEL")));
    ASSERT_TRUE(level);
    UntilPlay();
    Frames(150);  // the two stars have flown in
    EXPECT_EQ(GamePanel::GetStars(), 2);
    Drag(*level, 3, 0, 3, 0, 1);
    EXPECT_EQ(level->Mistakes, 2);
    EXPECT_EQ(level->CurrStars, 2) << "only a level's first mistake takes a star";
    EXPECT_GT(level->LevelSeconds, 400);
    EXPECT_EQ(level->CurrStars, 2) << "the 360th second was counted before the save";
}

TEST_F(GameScreenTest, TheSecondButtonOrSpaceCancelsALineAndTheWasteCornerDropsIt) {
    auto level = Play(MakeLevel({"1.1.", "1111", ".1.1"}));
    UntilPlay();
    // The right button pressed during a left drag: the line goes, nothing is judged.
    Hold(*level, 0, 1, 3, 1, 1);
    Down(3 - 1);
    Frame();
    Up(2);
    Up(1);
    Frames(2);
    EXPECT_EQ(CoveredRow(*level, 1), "cccc");
    EXPECT_FALSE(Game->HoldedList && !Game->HoldedList->empty());

    // Space while one button is held.
    Hold(*level, 0, 1, 2, 1, 1);
    InjectKeyDown(32);
    Frame();
    InjectKeyUp(32);
    Up(1);
    Frames(2);
    EXPECT_EQ(CoveredRow(*level, 1), "cccc");

    // A line released over the corner above the row clues and left of the column clues.
    Hold(*level, 0, 1, 3, 1, 1);
    int left = 0, top = 0;
    auto corner = level->Tile(0, 0, 0);
    left = static_cast<int>(corner->DrawX - GridSizeHalfAt(level->Size));
    top = static_cast<int>(corner->DrawY - GridSizeHalfAt(level->Size));
    MoveTo(static_cast<float>(left - 20), static_cast<float>(top - 20));
    Frame();
    EXPECT_EQ(Game->isWasteOver(), 1);
    ASSERT_TRUE(Game->HoldedList);
    EXPECT_EQ(Game->HoldedList->size(), 4u) << "off the board the line keeps its shape";
    Up(1);
    Frames(2);
    EXPECT_EQ(CoveredRow(*level, 1), "cccc");
    EXPECT_EQ(level->Mistakes, 0);
    ASSERT_TRUE(Game->HoldedList);
    EXPECT_TRUE(Game->HoldedList->empty()) << "dropped, until the pointer leaves the corner";

    // A release off the board elsewhere judges the line.
    Hold(*level, 0, 1, 3, 1, 1);
    MoveTo(static_cast<float>(left - 20), level->Tile(0, 0, 1)->DrawY);
    Frame();
    Up(1);
    Frame();
    EXPECT_EQ(CoveredRow(*level, 1), "----");
    EXPECT_EQ(level->Mistakes, 0);
}

// A Space pressed with no line held drops nothing, then or later: neither one pressed before the
// screen came (on the main menu, say) nor one pressed during play, seconds before the next line.
TEST_F(GameScreenTest, ASpaceWithNoLineHeldIsForgotten) {
    InjectKeyDown(32);
    InjectKeyUp(32);
    auto level = Play(MakeLevel({"111", "111", "111"}));
    UntilPlay();
    Drag(*level, 0, 0, 1, 0, 1);
    EXPECT_EQ(CoveredRow(*level, 0), "--c") << "the line after a Space pressed before the screen came";

    MoveToCell(*level, 0, 1);
    Frame();
    InjectKeyDown(32);
    InjectKeyUp(32);
    Frames(120);
    Down(1);
    Frame();
    MoveToCell(*level, 2, 1);
    Frames(2);
    Up(1);
    Frame();
    EXPECT_EQ(CoveredRow(*level, 1), "---") << "the line two seconds after a Space with no line held";
    EXPECT_EQ(level->Mistakes, 0);
}

// After a cancel (Space, or the other button) nothing starts until every button is up: the other
// button pressed while the first is still down starts no line of its own, which its release
// would judge (here a mistake: crossing cells of the picture).
TEST_F(GameScreenTest, ACancelledLineStartsNothingUntilEveryButtonIsUp) {
    auto level = Play(MakeLevel({"1111", "1111", "1111"}));
    UntilPlay();
    struct Case {
        const char* name;
        bool bySpace;  // cancelled by Space, else by pressing the right button during the drag
    };
    const Case cases[] = {{"Space", true}, {"the other button", false}};
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Hold(*level, 0, row, 2, row, 1);
        if (c.bySpace) {
            InjectKeyDown(32);
            Frame();
            InjectKeyUp(32);
        } else {
            Down(2);
            Frame();
            Up(2);
            Frame();
        }
        EXPECT_FALSE(Game->HoldedList && !Game->HoldedList->empty());
        // The left button still down: the right one pressed and let go, on a cell, twice.
        for (int i = 0; i < 2; ++i) {
            MoveToCell(*level, 3, row);
            Frame();
            Down(2);
            Frames(2);
            EXPECT_FALSE(Game->HoldedList && !Game->HoldedList->empty());
            Up(2);
            Frames(2);
        }
        Up(1);
        Frames(2);
        EXPECT_EQ(CoveredRow(*level, row), "cccc");
        EXPECT_EQ(level->Mistakes, 0);
        // Every button up: the next line plays.
        Drag(*level, 0, row, 3, row, 1);
        EXPECT_EQ(CoveredRow(*level, row), "----");
        ++row;
    }
    EXPECT_EQ(level->Mistakes, 0);
}

// What comes between two frames counts: a press and its release within one frame (a quick click,
// a touchpad's tap) reads as a press held for that frame, so it is a one-tile line, judged in the
// next frame, the left button uncovering and the right crossing out; a release and a new press
// within one frame judge the held line and start the next; a click of the other button within one
// frame cancels the held line.
TEST_F(GameScreenTest, PressesAndReleasesWithinOneFrameCountOnTheBoard) {
    auto level = Play(MakeLevel({"1.11", "1111", "1111"}));
    UntilPlay();
    auto click = [&](int x, int y, int button) {
        MoveToCell(*level, x, y);
        Frame();
        Down(button);
        Up(button);
        Frame();
        ASSERT_TRUE(Game->HoldedList);
        EXPECT_EQ(Game->HoldedList->size(), 1u);
        Frame();
    };
    click(0, 0, 1);
    EXPECT_EQ(CoveredRow(*level, 0), "-ccc");
    EXPECT_EQ(level->TIlesUncovered, 1);
    click(1, 0, 2);
    EXPECT_EQ(CoveredRow(*level, 0), "--cc");
    EXPECT_EQ(level->TilesCrossed, 1);
    EXPECT_EQ(level->Mistakes, 0);
    EXPECT_FALSE(Game->HoldedList);

    // A held line let go and pressed again within one frame: judged, and the next one starts.
    Hold(*level, 0, 1, 2, 1, 1);
    Up(1);
    Down(1);
    Frame();
    EXPECT_EQ(CoveredRow(*level, 1), "---c");
    ASSERT_TRUE(Game->HoldedList);
    EXPECT_EQ(Game->HoldedList->size(), 1u);
    MoveToCell(*level, 3, 1);
    Frame();
    Up(1);
    Frame();
    EXPECT_EQ(CoveredRow(*level, 1), "----");

    // The right button clicked within one frame during a left drag cancels it, and nothing starts
    // until the left one is up.
    Hold(*level, 0, 2, 3, 2, 1);
    Down(2);
    Up(2);
    Frame();
    EXPECT_FALSE(Game->HoldedList && !Game->HoldedList->empty());
    Up(1);
    Frames(2);
    EXPECT_EQ(CoveredRow(*level, 2), "cccc");
    click(3, 2, 1);
    EXPECT_EQ(CoveredRow(*level, 2), "ccc-");
    EXPECT_EQ(level->Mistakes, 0);
}

TEST_F(GameScreenTest, TheHammerCrossesWithEitherButtonAndADiagonalMakesAColumn) {
    auto level = Play(MakeLevel({"1..1", ".11.", ".11.", "1..1"}));
    UntilPlay();
    Game->PAC_SetCurrTool(1);
    // From (1, 0) to (2, 3): |dx| 1 < |dy| 3, a column; its four cells crossed with the left
    // button: two right, two wrong.
    Drag(*level, 1, 0, 2, 3, 1);
    EXPECT_EQ(level->TilesCrossed, 2);
    EXPECT_EQ(level->TIlesUncovered, 0);
    EXPECT_EQ(level->Mistakes, 2);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(level->Tile(0, 1, y)->isCovered, 0) << y;
    // A diagonal drag, |dx| = |dy|, is a column too; the right button crosses as well.
    Drag(*level, 3, 1, 2, 2, 2);
    EXPECT_EQ(level->Tile(0, 3, 1)->isCovered, 0);
    EXPECT_EQ(level->Tile(0, 3, 2)->isCovered, 0);
    EXPECT_EQ(level->Tile(0, 2, 2)->isCovered, 1);
    EXPECT_EQ(level->TilesCrossed, 4);
}

// The board on a plain white backdrop: the backgrounds off, the window cleared white.
class BoardPictureTest : public GameScreenTest {
protected:
    void PlainBackdrop() {
        for (int id = 1001; id <= 1010; ++id)
            if (auto bg = Game->FindObjectInd(id)) bg->Disable();
        SetClsColor(255, 255, 255);
    }
    void TearDown() override {
        SetClsColor(0, 0, 0);
        GameScreenTest::TearDown();
    }
    // A window pixel at a point of the picture.
    testsupport::Rgb At(const TPixmapPtr& p, float x, float y) {
        return testsupport::RgbAt(p, static_cast<int>(x + AspectOffsetX), static_cast<int>(y + AspectOffsetY));
    }
};

TEST_F(BoardPictureTest, ALostLevelLeavesNoCellInPlaceNotEvenOneSolvedInAnotherColour) {
    auto level = Play(MakeLevel({"1122", "1122", "2211", "2211"}));
    PlainBackdrop();
    UntilPlay();
    // Cell (2, 0) found in the second colour's layer; then back to the first colour.
    Game->SetCurrentColor(1);
    Drag(*level, 2, 0, 2, 0, 1);
    ASSERT_EQ(level->Tile(1, 2, 0)->isCovered, 0);
    Game->SetCurrentColor(0);
    for (auto [x, y] : {std::pair{3, 0}, {2, 1}, {3, 1}, {0, 2}, {1, 2}, {0, 3}}) Drag(*level, x, y, x, y, 1);
    ASSERT_EQ(Game->CurrState, 3);
    for (int c = 0; c < level->Colors; ++c) EXPECT_TRUE(level->Tile(c, 2, 0)->FlyingTile) << "layer " << c;
    // Two seconds on every cell has fallen away and faded.
    const int lost = AppMilliSecs();
    while (AppMilliSecs() < lost + 3000) Frame();
    auto cell = level->Tile(0, 2, 0);
    TPixmapPtr shot = Frame(true);
    EXPECT_EQ(At(shot, cell->DrawX, cell->DrawY), (testsupport::Rgb{255, 255, 255}));
    EXPECT_EQ(At(shot, level->Tile(0, 0, 0)->DrawX, level->Tile(0, 0, 0)->DrawY), (testsupport::Rgb{255, 255, 255}));
}

TEST_F(BoardPictureTest, TheColumnCluesBackReachesOverTwoStackedNumbers) {
    // Column 0 holds two runs: two numbers stacked above the board.
    auto level = Play(MakeLevel({"1.1", "...", "1.1", "1.1"}, 8));
    PlainBackdrop();
    UntilPlay();
    Frames(30);  // the clue numbers have faded in
    ASSERT_GT(level->NumbersHeight + 32, 96) << "the back's scale has a fraction worth seeing";
    const float g = GridSizeAt(level->Size);
    auto t = level->Tile(0, 0, 0);
    const float top = t->DrawY - g * 0.5f;
    const float between = t->DrawX + g * 0.5f;  // between the first two columns' numbers
    const float scale = static_cast<float>(level->NumbersHeight + 32) / 32.0f * 1.2f;
    // Where the back's row 9 lies: darkened by the back, whose alpha there is about a fifth.
    TPixmapPtr shot = Frame(true);
    const testsupport::Rgb shaded = At(shot, between, top - (31.0f - 9.0f) * scale);
    EXPECT_LT(shaded.r, 230) << shaded;
    EXPECT_EQ(At(shot, between, top - 34.0f * scale), (testsupport::Rgb{255, 255, 255}));
}

TEST_F(BoardPictureTest, GuideLinesUnderTheTilesLieOnTheDividers) {
    auto level = Play(MakeLevel({"111111111111", "1.1.1.1.1.1.", "111111111111"}, 5));
    PlainBackdrop();
    UntilPlay();
    Frames(30);
    // Columns 5 and 6 taken off the board (as while their tiles fly): what lies under them shows.
    auto away = std::make_shared<TFlyingTile>();
    for (int x : {5, 6})
        for (int y = 0; y < level->Rows; ++y) level->Tile(0, x, y)->FlyingTile = away;
    TPixmapPtr shot = Frame(true);
    const float g = GridSizeAt(level->Size);
    const float midY = level->Tile(0, 0, 1)->DrawY;
    const float edge = level->Tile(0, 5, 0)->DrawX - g * 0.5f;
    // The divider over the edge and the guide line under it, both black at half alpha.
    EXPECT_LT(At(shot, edge, midY).r, 100);
    EXPECT_LT(At(shot, edge - 1.0f, midY).r, 100);
    // Nothing through the middle of column 6.
    EXPECT_EQ(At(shot, level->Tile(0, 6, 0)->DrawX, midY), (testsupport::Rgb{255, 255, 255}));
    EXPECT_EQ(At(shot, level->Tile(0, 6, 0)->DrawX - 1.0f, midY), (testsupport::Rgb{255, 255, 255}));
    for (int x : {5, 6})
        for (int y = 0; y < level->Rows; ++y) level->Tile(0, x, y)->FlyingTile = nullptr;
}

TEST_F(GameScreenTest, TheScreenLoadsCleanlyAndEveryLevelShowsOneOfItsTenBackgroundsTheOnlyOneLoaded) {
    // A second game screen made, loaded and played the way the start-up does it: no complaint.
    testing::internal::CaptureStdout();
    Game = CreateMainGame(CreateShellNavigator());
    Game->Load(nullptr, nullptr);
    Game->SetupAssets();
    Game->Setup();
    for (int n : {1, 2, 3, 4}) {
        Play(n);
        Frames(3);
        int shown = 0, loaded = 0;
        for (int id = 1001; id <= 1010; ++id) {
            auto bg = std::dynamic_pointer_cast<TUIImage>(Game->FindObjectInd(id));
            ASSERT_TRUE(bg) << id;
            if (bg->isEnabled) {
                ++shown;
                EXPECT_GT(bg->GetWidth(), 0) << "the background shown is loaded";
            }
            loaded += bg->GetWidth() > 0 ? 1 : 0;
        }
        EXPECT_EQ(shown, 1);
        // The backgrounds of earlier levels are let go (each holds a window-sized picture).
        EXPECT_EQ(loaded, 1) << "level " << n;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    // The panel's objects are all there.
    ASSERT_TRUE(GamePanel::MainPanel);
    for (const char* name : {"MenuButton", "HelpButton", "StarsPanel", "ColorsPicker", "HintsPanel", "ToolsPanel",
                             "Mistakes", "PickerColor", "PickerColorImage", "Picker-Color-1", "Picker-Color-2",
                             "Picker-Color-3", "Hint-1", "Hint-6", "ToolHand", "ToolHammer", "Star1", "Star3"})
        EXPECT_TRUE(GamePanel::MainPanel->FindObject(name)) << name;
    // At the window's right edge: 1024 + the 171-pixel strip beside the picture.
    EXPECT_EQ(GamePanel::MainPanel->DrawX, 1195.0f);
}

TEST(GameScreenTime, TimeStringsHaveTwoDigitMinutesAndSeconds) {
    const std::pair<int, const char*> table[] = {{0, "00:00"},   {9, "00:09"},    {75, "01:15"},
                                                 {605, "10:05"}, {3599, "59:59"}, {6000, "100:00"}};
    for (const auto& [seconds, text] : table) EXPECT_EQ(LevelTimeString(seconds), text) << seconds;
}

}  // namespace
