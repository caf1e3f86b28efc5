#include <gtest/gtest.h>

#include "game/puzzle/PuzzleTestSupport.h"
#include "engine/window/Mouse.h"

using namespace puzzletest;

namespace {

class NumbersTest : public PuzzleTest {};

TEST_F(NumbersTest, LinesListTheirRunsFromTheLineEnd) {
    struct Case {
        const char* line;  // one row; its column twin is built from the same cells
        std::vector<int> numbers;
    } cases[] = {
        {"111.1.11", {2, 1, 3}}, {"........", {0}}, {"11111111", {8}}, {".1......", {1}}, {"1......1", {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string text = c.line;
        std::vector<std::string> column;
        for (char ch : text) column.emplace_back(1, ch);
        auto rowLevel = MakeLevel({text}, {1});
        auto colLevel = MakeLevel(column, {1});
        EXPECT_EQ(Values(*rowLevel->NumberH(0, 0)), c.numbers);
        EXPECT_EQ(Values(*colLevel->NumberV(0, 0)), c.numbers);
        EXPECT_EQ(rowLevel->NumberH(0, 0)->Pionowo, 0);
        EXPECT_EQ(colLevel->NumberV(0, 0)->Pionowo, 1);
    }
}

TEST_F(NumbersTest, RunsKnowTheirNeighboursAndColour) {
    auto level = MakeLevel({"111.1.11"}, {1});
    const auto& n = level->NumberH(0, 0)->Number;
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[2]->StartKr, nullptr);  // the first run starts at the border
    EXPECT_EQ(n[2]->EndKr, level->GetTile(0, 3, 0));
    EXPECT_EQ(n[1]->StartKr, level->GetTile(0, 3, 0));
    EXPECT_EQ(n[1]->EndKr, level->GetTile(0, 5, 0));
    EXPECT_EQ(n[0]->EndKr, nullptr);
    ASSERT_EQ(n[0]->Tiles.size(), 2u);
    EXPECT_EQ(n[0]->Tiles[0], level->GetTile(0, 6, 0));
    EXPECT_EQ(n[0]->TileColor, 0);
    EXPECT_EQ(level->NumberH(0, 0)->CountAllNumbersValue(), 6);

    // Other layers count only their own colour.
    auto two = MakeLevel({"1122", "..2."}, {1, 2});
    EXPECT_EQ(Values(*two->NumberH(1, 0)), std::vector<int>{2});
    EXPECT_EQ(two->NumberH(1, 0)->Number[0]->StartKr, two->GetTile(1, 1, 0));
    EXPECT_EQ(Values(*two->NumberV(0, 2)), std::vector<int>{0});
    EXPECT_EQ(Values(*two->NumberV(1, 2)), std::vector<int>{2});
    EXPECT_EQ(two->NumberV(1, 2)->Number[0]->TileColor, 1);
}

TEST_F(NumbersTest, ANumberIsCrossedOnlyWhenItsRunAndBothNeighboursAreSolvedAndItIsShown) {
    struct Case {
        const char* name;
        bool run, start, end, hidden, crossed;
    } cases[] = {
        {"nothing solved", false, false, false, false, false},
        {"neighbours but not the run", false, true, true, false, false},
        {"run only", true, false, false, false, false},
        {"run and start", true, true, false, false, false},
        {"run and end", true, false, true, false, false},
        {"all", true, true, true, false, true},
        {"all but hidden", true, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto level = MakeLevel({".11."}, {1});
        auto number = level->NumberH(0, 0)->Number[0];
        if (c.run) level->GetTile(0, 1, 0)->isCovered = level->GetTile(0, 2, 0)->isCovered = 0;
        if (c.start) level->GetTile(0, 0, 0)->isCovered = 0;
        if (c.end) level->GetTile(0, 3, 0)->isCovered = 0;
        if (c.hidden) number->HideNumber();
        number->UpdateSolved();
        EXPECT_EQ(number->dCross == 1.0f, c.crossed);
    }
}

TEST_F(NumbersTest, ALineWhoseRunsAreSolvedCrossesTheRestAndCrossesItsNumbersLater) {
    auto level = MakeLevel({".11.", "...."}, {1});
    auto line = level->NumberH(0, 0);
    level->GetTile(0, 1, 0)->Show(0, 0);
    level->GetTile(0, 2, 0)->Show(0, 0);

    line->Update();  // the run is solved: the level crosses the rest of the row
    EXPECT_EQ(line->Number[0]->dCross, 0.0f);
    EXPECT_EQ(level->GetTile(0, 0, 0)->isCovered, 0);
    EXPECT_EQ(level->GetTile(0, 3, 0)->isCovered, 0);
    EXPECT_EQ(level->GetTile(0, 0, 1)->isCovered, 1);  // other rows untouched
    EXPECT_EQ(mistakes, 0);

    line->Update();
    EXPECT_EQ(line->Number[0]->dCross, 1.0f);
    EXPECT_EQ(line->isDone, 0);
    int updates = 1;
    while (!line->isDone && updates < 100) {
        line->Update();
        ++updates;
    }
    EXPECT_LE(updates, 21);                    // the cross appears over about 20 updates at delta 1
    EXPECT_EQ(line->Number[0]->dAlpha, 0.0f);  // a done line fades out
    EXPECT_FALSE(line->NumbersHidden());
    for (int i = 0; i < 25; ++i) line->Update();
    EXPECT_TRUE(line->NumbersHidden());
}

TEST_F(NumbersTest, ALineWithoutRunsNeverEndsItselfButIsDoneOnceItsZeroIsCrossed) {
    auto level = MakeLevel({"....", ".1.."}, {1});
    auto line = level->NumberH(0, 0);
    line->Update();
    EXPECT_EQ(line->Number[0]->dCross, 1.0f);
    for (int i = 0; i < 25; ++i) line->Update();
    EXPECT_EQ(line->isDone, 1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(level->GetTile(0, x, 0)->isCovered, 1);
    // The board's auto-clear then finishes the row.
    level->ClearRow(0, 0);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(level->GetTile(0, x, 0)->isCovered, 0);
    EXPECT_EQ(mistakes, 0);
}

TEST_F(NumbersTest, HoverGrowsTheNumberUnderTheMouseAndTheShineSwings) {
    SetNumberImageSizes([](int, int, float& w, float& h) {
        w = 20;
        h = 30;
        return true;
    });
    auto level = MakeLevel({"1.", ".."}, {1});
    level->SetPosition(100, 100);
    auto line = level->NumberH(0, 0);
    auto number = line->Number[0];
    Mouse::x = static_cast<int>(number->DrawX);
    Mouse::y = static_cast<int>(number->DrawY);
    line->Update();
    EXPECT_EQ(line->OverNumber, number);
    line->Update();
    EXPECT_FLOAT_EQ(number->Over, 0.05f);
    Mouse::x = -1000;
    line->Update();
    EXPECT_EQ(line->OverNumber, nullptr);
    EXPECT_EQ(number->dOver, 0.0f);
    EXPECT_EQ(number->Over, 0.0f);

    // The shared shine swings from 0 to 1 in about 100 steps, then turns back.
    int steps = 0;
    while (TPNumber::ShineA != 1.0f && steps < 300) {
        TPNumber::UpdateNumberShine();
        ++steps;
    }
    EXPECT_GE(steps, 100);
    EXPECT_LE(steps, 102);
    EXPECT_EQ(TPNumber::dShineA, 0.0f);
}

}  // namespace
