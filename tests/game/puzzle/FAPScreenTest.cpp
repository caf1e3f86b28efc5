// The neighbour-count level and the level editor on the real game screen, frame by frame.
#include "GameScreenHarness.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/Numbers.h"
#include "support/Pixels.h"

using namespace gamescreen;

namespace {

std::string FapFile(int n) {
    return testsupport::SourceDir() + "/data/Game/Levels/FAP/Level-" + std::to_string(n) + ".FAPLevel";
}

class FAPScreenTest : public GameScreenTest {
protected:
    void TearDown() override {
        TFTile::CurrentColorIndex = 0;
        GameScreenTest::TearDown();
    }
    void MoveToFap(const TFAPLevel& level, int x, int y) {
        auto t = level.GetTile(x, y);
        ASSERT_TRUE(t);
        MoveTo(t->DrawX, t->DrawY);
    }
    // The window pixel at a point of the 1024 x 768 picture.
    static uint32_t At(const TPixmapPtr& shot, float x, float y) {
        return uint32_t(shot->ReadPixel(static_cast<int>(x + AspectOffsetX), static_cast<int>(y + AspectOffsetY))) &
               0xFFFFFFu;
    }
};

uint32_t Rgb(const TRGB& c) { return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | uint32_t(c.b); }

// The pixel lies within tolerance of the colour in each channel.
bool Near(uint32_t a, uint32_t b, int tolerance = 12) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

TEST_F(FAPScreenTest, DraggingPaintsAndCrossesInTheCurrentColourAndTheBoardShowsIt) {
    auto level = LoadFAPLevel(FapFile(2));
    ASSERT_TRUE(level);
    Game->SetData(level);
    SetAppScreen(Game);
    EXPECT_EQ(Game->CurrFapLevel, level);
    EXPECT_FALSE(Game->CurrPacLevel);
    UntilPlay();

    // A left drag along row 3 paints with the first colour, the first cell included.
    MoveToFap(*level, 0, 3);
    Frame();
    Down(1);
    Frame();
    for (int x = 1; x < 8; ++x) {
        MoveToFap(*level, x, 3);
        Frame();
    }
    Up(1);
    Frame();
    const int first = level->ColorArr[0];
    for (int x = 0; x < 8; ++x) {
        auto t = level->GetTile(x, 3);
        SCOPED_TRACE(x);
        // A number cell of the other colour keeps out of it.
        EXPECT_EQ(t->CurrColor, (t->isNumber == 0 || t->isNumber == first) ? first : 0);
    }
    auto shot = Frame(true);
    auto painted = level->GetTile(0, 3);
    if (painted->isNumber != 0) painted = level->GetTile(1, 3);
    ASSERT_EQ(painted->CurrColor, first);
    // A painted cell shows the tinted box: its colour near the cell's edge, away from a number.
    EXPECT_TRUE(Near(At(shot, painted->DrawX - GridSizeHalfAt(level->Size) * 0.6f,
                        painted->DrawY + GridSizeHalfAt(level->Size) * 0.6f),
                     Rgb(*TileRGBOfId(first)), 40));

    // The second colour: a right drag crosses in its layer; the first layer's paint was cleared
    // where crossed, and going back to the first colour hides the second layer's crosses.
    Game->SetNextColor();
    EXPECT_EQ(Game->CurrColorIndex, 1);
    EXPECT_EQ(TFTile::CurrentColorIndex, 1);
    MoveToFap(*level, 0, 3);
    Frame();
    Down(2);
    Frame();
    MoveToFap(*level, 1, 3);
    Frame();
    Up(2);
    Frame();
    for (int x = 0; x < 2; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(level->GetTile(x, 3)->isMarked(1), 1);
        EXPECT_EQ(level->GetTile(x, 3)->CurrColor, 0);
    }
    Game->SetNextColor();
    EXPECT_EQ(TFTile::CurrentColorIndex, 0);
    EXPECT_EQ(level->GetTile(0, 3)->isMarked(1), 1);
    // No mistakes, no win: the level stays in play.
    Frames(5);
    EXPECT_EQ(Game->CurrState, 0);
}

TEST_F(FAPScreenTest, TheEditorTakesTheClicksAndRebuildsTheLevelWithoutJudging) {
    auto level = Play(MakeLevel({"1.", ".2"}));
    Game->EditorOn = 1;
    UntilPlay();
    auto shot = Frame(true);
    // The palette at the left edge: swatch 1 in palette colour 1.
    EXPECT_TRUE(Near(At(shot, 28.0f, 24.0f), Rgb(*TileRGB[0])));
    EXPECT_TRUE(Near(At(shot, 28.0f, 52.0f + 24.0f), Rgb(*TileRGB[1])));

    // Pick colour id 3 and paint the empty cell (1, 0) with it.
    MoveTo(28.0f, 2 * 52.0f + 24.0f);
    Frame();
    Down(1);
    Frame();
    Up(1);
    Frame();
    EXPECT_EQ(Game->Editor_PickedColor, 2);
    MoveToCell(*level, 1, 0);
    Frame();
    Down(1);
    Frame();
    Up(1);
    Frame();
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1, 3, 6}));
    // A right click on the cell of colour 1, where play would have counted a wrong cross,
    // empties it.
    MoveToCell(*level, 0, 0);
    Frame();
    Down(2);
    Frame();
    Up(2);
    Frame();
    EXPECT_EQ(level->ColorArr, (std::vector<int>{3, 6}));
    EXPECT_EQ(level->Mistakes, 0);
    // The clue numbers follow the new picture.
    ASSERT_EQ(level->NumberH(0, 0)->Number.size(), 1u);
    EXPECT_EQ(level->NumberH(0, 0)->Number[0]->Value, 1);
    // A level emptied of every cell has no colour left, and that is no win.
    for (auto [x, y] : {std::pair{1, 0}, {1, 1}}) {
        MoveToCell(*level, x, y);
        Frame();
        Down(2);
        Frame();
        Up(2);
        Frame();
    }
    EXPECT_EQ(level->Colors, 0);
    Frames(3);
    EXPECT_EQ(Game->CurrState, 0);
}

}  // namespace
