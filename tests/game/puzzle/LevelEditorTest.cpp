#include <gtest/gtest.h>

#include "PuzzleTestSupport.h"
#include "game/levels/FAPLevel.h"
#include "game/puzzle/MainGame.h"

using namespace puzzletest;

namespace {

// The game screen's logic layers without the screen above them.
class LogicScreen : public MainGame_FAPLogic {
public:
    int FinishColor(int) override { return 0; }
    int SetNextColor() override { return 0; }
    std::shared_ptr<TRGB> GetCurrColorRGB() override { return nullptr; }
};

class LevelEditorTest : public PuzzleTest {
protected:
    LogicScreen screen;
    std::shared_ptr<TPACLevel> level;

    void Play(const std::vector<std::string>& rows, const std::vector<int>& colours) {
        level = MakeLevel(rows, colours);
        screen.CurrPacLevel = level;
        screen.CurrColorIndex = 0;
    }
    // A click of the left (1) or right (2) button on cell (x, y) of the current layer.
    void Click(int x, int y, int button) {
        screen.TempOver = level->GetTile(screen.CurrColorIndex, x, y);
        ASSERT_TRUE(screen.TempOver);
        Mouse::LeftPressed = button == 1;
        Mouse::RightPressed = button == 2;
        screen.PAC_Editor_Update_ChangeTile();
        Mouse::LeftPressed = Mouse::RightPressed = 0;
    }
    std::vector<int> Row(int colour, int row) {
        return Values(*level->NumberH(level->GetColorIndexByColorId(colour), row));
    }
    std::vector<int> Column(int colour, int col) {
        return Values(*level->NumberV(level->GetColorIndexByColorId(colour), col));
    }
    // The solution as text rows, '.' for an empty cell.
    std::vector<std::string> Picture() {
        std::vector<std::string> rows(level->Rows, std::string(level->Cols, '.'));
        for (int c = 0; c < level->Colors; ++c)
            for (int y = 0; y < level->Rows; ++y)
                for (int x = 0; x < level->Cols; ++x)
                    if (int id = level->GetTile(c, x, y)->isTile) {
                        EXPECT_EQ(rows[y][x], '.') << "two colours at " << x << "," << y;
                        EXPECT_EQ(id, level->ColorArr[c]);
                        rows[y][x] = static_cast<char>('0' + id);
                    }
        return rows;
    }
};

TEST_F(LevelEditorTest, AClickRebuildsTheColoursTheTilesAndTheClues) {
    Play({"1.2", "...", "3.."}, {1, 2, 3});
    auto oldTile = level->GetTile(0, 0, 0);
    screen.Editor_PickedColor = 4;
    Click(1, 1, 1);
    // Colour 5 comes in by its first appearance in the scan: layer 0, row 1, after colour 1.
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1, 5, 2, 3}));
    EXPECT_EQ(level->Colors, 4);
    EXPECT_EQ(level->ColorDone, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Picture(), (std::vector<std::string>{"1.2", ".5.", "3.."}));
    EXPECT_EQ(Row(5, 1), (std::vector<int>{1}));
    EXPECT_EQ(Column(5, 1), (std::vector<int>{1}));
    EXPECT_EQ(Row(3, 2), (std::vector<int>{1}));
    EXPECT_EQ(Values(*level->NumberH(0, 1)), (std::vector<int>{0}));
    // The play state starts afresh on new tiles; nothing points at the old ones.
    EXPECT_NE(level->GetTile(0, 0, 0), oldTile);
    EXPECT_EQ(oldTile->Level, nullptr);
    EXPECT_EQ(level->GetTile(0, 0, 0)->isCovered, 1);
    EXPECT_FALSE(screen.TempOver);

    // Emptying the only cell of colour 2 takes the colour away; colour 3 moves up.
    screen.CurrColorIndex = 3;
    Click(2, 0, 2);
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1, 5, 3}));
    EXPECT_EQ(Picture(), (std::vector<std::string>{"1..", ".5.", "3.."}));
    EXPECT_EQ(Row(3, 2), (std::vector<int>{1}));
    EXPECT_EQ(level->NumberH.Dim0(), 3);
    // The colour being played was the fourth: it is the first again.
    EXPECT_EQ(screen.CurrColorIndex, 0);
}

TEST_F(LevelEditorTest, AClickOnACellOfALaterLayerGivesItThePickedColour) {
    Play({"12", "21"}, {1, 2});
    screen.Editor_PickedColor = 0;
    Click(1, 0, 1);  // a colour-2 cell, clicked in layer 0
    EXPECT_EQ(Picture(), (std::vector<std::string>{"11", "21"}));
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1, 2}));
    screen.Editor_PickedColor = 2;
    Click(0, 1, 1);  // the last colour-2 cell becomes colour 3
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1, 3}));
    EXPECT_EQ(Column(3, 0), (std::vector<int>{1}));
    EXPECT_EQ(Column(1, 0), (std::vector<int>{1}));
}

TEST_F(LevelEditorTest, ThePalettePicksBySwatchAndScrollsBy25PerWheelStep) {
    Play({"1"}, {1});
    auto at = [](int x, int y) {
        Mouse::x = x;
        Mouse::y = y;
    };
    at(20, 52 * 2 + 10);
    Mouse::LeftPressed = 1;
    screen.PAC_Editor_Update_ColorPick();
    EXPECT_EQ(screen.Editor_PickedColor, 2);
    // Between swatches, and past the last one, nothing is hit.
    at(20, 52 + 49);
    screen.PAC_Editor_Update_ColorPick();
    EXPECT_EQ(screen.Editor_PickedColor, 2);
    at(20, 52 * 3 + 10);
    screen.PAC_Editor_Update_ColorPick();
    EXPECT_EQ(screen.Editor_PickedColor, 2);

    Mouse::LeftPressed = 0;
    Mouse::vz = -1.0f;
    screen.PAC_Editor_Update_ColorPick();
    EXPECT_EQ(screen.ColorsY, -25.0f);
    Mouse::vz = 0.0f;
    at(20, 52 - 25 + 1);  // swatch 1, moved up
    Mouse::LeftPressed = 1;
    screen.PAC_Editor_Update_ColorPick();
    EXPECT_EQ(screen.Editor_PickedColor, 1);
    // A press without a cell under the pointer changes no cell.
    screen.TempOver = nullptr;
    screen.PAC_Editor_Update_ChangeTile();
    EXPECT_EQ(level->ColorArr, (std::vector<int>{1}));
}

// Drag painting on a neighbour-count level, one control step per call as the screen makes them.
class FAPControlTest : public PuzzleTest {
protected:
    LogicScreen screen;
    std::shared_ptr<TFAPLevel> level;

    void SetUp() override {
        PuzzleTest::SetUp();
        level = std::make_shared<TFAPLevel>();
        level->Cols = 4;
        level->Rows = 2;
        level->Size = 1;
        level->Colors = 2;
        level->InitArray();
        level->InitColors(2);
        level->ColorArr = {1, 2};
        level->Tile(3, 0)->isNumber = 2;
        level->InitAll();
        level->SetPosition(100.0f, 100.0f);
        screen.CurrFapLevel = level;
        screen.CurrColorIndex = 0;
        TFTile::CurrentColorIndex = 0;
    }
    void TearDown() override {
        TFTile::CurrentColorIndex = 0;
        PuzzleTest::TearDown();
    }
    // One frame: the pointer over cell (x, y) (or off the grid for x < 0) with the buttons held.
    void Step(int x, int y, bool left, bool right = false) {
        if (x >= 0) {
            Mouse::x = static_cast<int>(level->GetTile(x, y)->DrawX);
            Mouse::y = static_cast<int>(level->GetTile(x, y)->DrawY);
        } else {
            Mouse::x = Mouse::y = 10;
        }
        Mouse::LeftHolded = left;
        Mouse::RightHolded = right;
        screen.FAP_UpdateLevel();
        screen.FAP_UpdateControl();
    }
    std::string Paint() {
        std::string s;
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols; ++x) s += static_cast<char>('0' + level->GetTile(x, y)->CurrColor);
        return s;
    }
    std::string Crosses(int k) {
        std::string s;
        for (int y = 0; y < level->Rows; ++y)
            for (int x = 0; x < level->Cols; ++x) s += level->GetTile(x, y)->isMarked(k) ? 'x' : '.';
        return s;
    }
};

TEST_F(FAPControlTest, TheLeftButtonPaintsAlongADragAndClearsWhenItStartsOnItsColour) {
    Step(0, 0, true);  // starts the drag, changes nothing
    EXPECT_EQ(Paint(), "00000000");
    EXPECT_EQ(screen.HoldedMouseButton, 1);
    for (int x = 0; x < 4; ++x) Step(x, 0, true);
    // The number cell of colour 2 does not take colour 1.
    EXPECT_EQ(Paint(), "11100000");
    Step(3, 0, false);
    EXPECT_EQ(screen.HoldedMouseButton, 0);

    // Starting on a cell painted in the current colour clears paint, whatever its colour.
    level->GetTile(1, 1)->Show(2);
    Step(1, 0, true);
    EXPECT_EQ(screen.HoldedMouseButton, 3);
    Step(1, 0, true);
    Step(1, 1, true);
    EXPECT_EQ(Paint(), "10100000");
    Step(1, 1, false);

    // Both buttons cancel at once; no cell changes until a new drag starts.
    Step(2, 1, true);
    Step(2, 1, true, true);
    EXPECT_EQ(screen.HoldedMouseButton, 0);
    Step(3, 1, true);
    EXPECT_EQ(Paint(), "10100000");
    // With the pointer off the grid no drag starts.
    Step(3, 1, false);
    Step(-1, 0, true);
    EXPECT_EQ(screen.HoldedMouseButton, 0);
}

TEST_F(FAPControlTest, TheRightButtonCrossesInTheCurrentLayerAndOtherLayersKeepTheirs) {
    Step(0, 0, true);
    Step(0, 0, true);
    Step(0, 0, false);
    Step(0, 0, false, true);  // starts a cross drag on the painted cell
    EXPECT_EQ(screen.HoldedMouseButton, 2);
    Step(0, 0, false, true);
    Step(1, 0, false, true);
    Step(1, 0, false);
    EXPECT_EQ(Paint(), "00000000");  // crossing cleared the paint
    EXPECT_EQ(Crosses(0), "xx......");

    // In the second colour's layer the first layer's crosses stay and are not drawn.
    screen.CurrColorIndex = 1;
    TFTile::CurrentColorIndex = 1;
    Step(1, 0, false, true);
    Step(1, 0, false, true);
    Step(2, 0, false, true);
    Step(2, 0, false);
    EXPECT_EQ(Crosses(1), ".xx.....");
    EXPECT_EQ(Crosses(0), "xx......");

    // Starting on a cell crossed in the current colour removes that colour's crosses.
    Step(1, 0, false, true);
    EXPECT_EQ(screen.HoldedMouseButton, 4);
    Step(1, 0, false, true);
    Step(2, 0, false, true);
    Step(2, 0, false);
    EXPECT_EQ(Crosses(1), "........");
    EXPECT_EQ(Crosses(0), "xx......");

    // Painting a crossed cell removes only the current layer's cross.
    level->GetTile(0, 0)->Mark(1);
    Step(0, 0, true);
    Step(0, 0, true);
    Step(0, 0, false);
    EXPECT_EQ(Paint(), "20000000");
    EXPECT_EQ(Crosses(1), "........");
    EXPECT_EQ(Crosses(0), "xx......");
}

}  // namespace
