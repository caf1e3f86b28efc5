#include <gtest/gtest.h>

#include "game/puzzle/PuzzleTestSupport.h"
#include "game/levels/BoardLayout.h"

using namespace puzzletest;

namespace {

// Number images of 20 x 30 pixels, and a number scale of 1, so distances are easy to read.
class BoardLayoutTest : public PuzzleTest {
protected:
    void SetUp() override {
        PuzzleTest::SetUp();
        NumberScale = {1.0f, 1.0f, 1.0f};
        SetNumberImageSizes([](int, int, float& w, float& h) {
            w = 20;
            h = 30;
            return true;
        });
    }
};

TEST_F(BoardLayoutTest, PitchFortyOnTenByTenAndTheFirstNumbersHalfAPitchOut) {
    std::vector<std::string> rows(10, std::string(10, '.'));
    rows[0] = "1.1.......";  // row 0: numbers 1, 1
    rows[1][0] = '1';        // column 0: rows 0 and 1, one run of 2
    auto level = MakeLevel(rows, {1});
    level->SetPosition(200, 150);
    EXPECT_EQ(level->GridWidth, 400);
    EXPECT_EQ(level->GridHeight, 400);
    auto cell = level->GetTile(0, 3, 2);
    EXPECT_EQ(cell->LevelX, 120.0f);
    EXPECT_EQ(cell->DrawX, 200.0f + 120 + 20);
    EXPECT_EQ(cell->DrawY, 150.0f + 80 + 20);

    auto column = level->NumberV(0, 0);
    EXPECT_EQ(column->Number[0]->DrawX, 220.0f);
    EXPECT_EQ(column->Number[0]->DrawY, 130.0f);  // 20 above the grid
    auto row = level->NumberH(0, 0);
    EXPECT_EQ(row->Number[0]->DrawY, 170.0f);
    EXPECT_EQ(row->Number[0]->DrawX, 180.0f);  // 20 left of the grid
    // Twice a number's width further left, as any one-digit number: one width between them.
    EXPECT_EQ(row->Number[1]->DrawX, 140.0f);
    EXPECT_EQ(row->GetMinDrawX(), 140);
    // The number areas reach from the farthest number's centre to the first cell's centre.
    EXPECT_EQ(level->NumbersWidth, 220 - 140);
    EXPECT_EQ(level->NumbersHeight, 170 - 130);
    EXPECT_EQ(level->Width, 400 + 80);
    EXPECT_EQ(level->Height, 400 + 40);
}

// A row's numbers stand one one-digit width apart, edge to edge, whatever their digits (the
// images of two-digit numbers are wider).
TEST_F(BoardLayoutTest, RowNumbersAreEvenlySpacedWhateverTheirDigits) {
    SetNumberImageSizes([](int, int value, float& w, float& h) {
        w = value >= 10 ? 32.0f : 20.0f;
        h = 30;
        return true;
    });
    for (const std::string& row :
         {std::string("1.111111111111.111"), std::string("111.1.1.111111111111"), std::string("1.1.1.1.1.1")}) {
        SCOPED_TRACE(row);
        auto level = MakeLevel({row, std::string(row.size(), '.')}, {1});
        level->SetPosition(500, 150);
        auto line = level->NumberH(0, 0);
        ASSERT_GE(line->Number.size(), 3u);
        for (size_t i = 1; i < line->Number.size(); ++i) {
            const auto& right = *line->Number[i - 1];
            const auto& left = *line->Number[i];
            const float rightEdge = left.DrawX + (left.Value >= 10 ? 16.0f : 10.0f);
            const float leftEdge = right.DrawX - (right.Value >= 10 ? 16.0f : 10.0f);
            EXPECT_EQ(leftEdge - rightEdge, 20.0f) << left.Value << " then " << right.Value;
        }
    }
}

TEST_F(BoardLayoutTest, ColumnNumbersStackUpwardFromTheGrid) {
    auto level = MakeLevel({"1", "1", ".", "1"}, {1});  // runs 2 then 1 from the top
    level->SetPosition(300, 300);
    auto column = level->NumberV(0, 0);
    ASSERT_EQ(Values(*column), (std::vector<int>{1, 2}));
    EXPECT_EQ(column->Number[0]->DrawY, 280.0f);
    EXPECT_EQ(column->Number[1]->DrawY, 280.0f - 42.0f);  // 1.4 times the drawn height
    EXPECT_EQ(column->GetMinDrawY(), 238);
}

TEST_F(BoardLayoutTest, NumberAreasFollowTheLongestLinesOfAnyColour) {
    auto one = MakeLevel({"1.1.1.", "......"}, {1, 2});
    auto two = MakeLevel({"2.2.2.", "......"}, {1, 2});
    one->SetPosition(400, 300);
    two->SetPosition(400, 300);
    EXPECT_EQ(one->NumbersWidth, two->NumbersWidth);
    EXPECT_GT(one->NumbersWidth, 40);
}

TEST_F(BoardLayoutTest, CenterPutsTheBlockAroundTheBoardCentreAndStaysThere) {
    auto level = MakeLevel({"11.", "...", "1.1"}, {1});
    level->Center();  // the first call measures the number areas
    level->Center();
    const float x = level->x, y = level->y;
    EXPECT_EQ(static_cast<int>(x),
              static_cast<int>(BoardCentreX - level->GridWidth * 0.5f + level->NumbersWidth * 0.5f));
    EXPECT_EQ(static_cast<int>(y),
              static_cast<int>(BoardCentreY - level->GridHeight * 0.5f + level->NumbersHeight * 0.5f));
    level->Center();
    EXPECT_EQ(level->x, x);
    EXPECT_EQ(level->y, y);
}

TEST_F(BoardLayoutTest, SetSizeMovesCellsAndNumbersToTheNewPitch) {
    auto level = MakeLevel({"1.", ".1"}, {1}, 2);
    level->SetPosition(100, 100);
    const int ow = level->NumberH(0, 0)->Number[0]->ow;
    level->SetSize(0);
    EXPECT_EQ(level->GridWidth, 40);
    EXPECT_EQ(level->GetTile(0, 1, 1)->LevelX, 20.0f);
    EXPECT_EQ(level->GetTile(0, 1, 1)->ow, 20);
    EXPECT_EQ(level->NumberH(0, 1)->Size, 0);
    EXPECT_EQ(level->NumberH(0, 1)->Number[0]->DrawY, 100.0f + 20 + 10);
    EXPECT_EQ(level->NumberH(0, 0)->Number[0]->ow, ow);  // the hover box keeps its first size
}

TEST_F(BoardLayoutTest, ExtentsStartFromTheScreenEdges) {
    TNumberLine empty;
    EXPECT_EQ(empty.GetMinDrawY(), NumbersExtentStartY);
    EXPECT_EQ(empty.GetMinDrawX(), NumbersExtentStartX);
    auto level = MakeLevel({"1"}, {1});
    level->SetPosition(2000, 2000);
    EXPECT_EQ(level->NumberV(0, 0)->GetMinDrawY(), NumbersExtentStartY);
    EXPECT_EQ(level->NumberH(0, 0)->GetMinDrawX(), NumbersExtentStartX);
}

}  // namespace
