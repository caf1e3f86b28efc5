#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/puzzle/LineSolver.h"

namespace {

struct SolveCase {
    const char* name;
    int cols, rows, colours;
    std::vector<int> cells;
    bool solvable;
};

class LineSolverCases : public ::testing::TestWithParam<SolveCase> {};

TEST_P(LineSolverCases, ReachesThePictureOnlyWhenItIsTheOneSolution) {
    const SolveCase& c = GetParam();
    const TLineSolveResult r = SolveByLineLogic(BuildLineClues(c.cols, c.rows, c.colours, c.cells));
    ASSERT_TRUE(r.Consistent);
    EXPECT_EQ(r.Complete, c.solvable);
    EXPECT_EQ(IsSolvableByLineLogic(c.cols, c.rows, c.colours, c.cells), c.solvable);
    ASSERT_EQ(r.Cells.size(), c.cells.size());
    // Whatever the solver decides must agree with the picture; undecided cells stay -1.
    for (size_t i = 0; i < c.cells.size(); ++i) {
        if (r.Cells[i] != -1) {
            EXPECT_EQ(r.Cells[i], c.cells[i]) << "cell " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, LineSolverCases,
    ::testing::Values(
        // A plus sign: one solution, reached by line logic.
        SolveCase{"Plus", 3, 3, 1, {0, 1, 0, 1, 1, 1, 0, 1, 0}, true},
        // A diagonal: its mirror image has the same clues.
        SolveCase{"Diagonal", 2, 2, 1, {1, 0, 0, 1}, false},
        // Two colours swapped on a diagonal: both pictures have the same clues.
        SolveCase{"SwappedColours", 2, 2, 2, {1, 2, 2, 1}, false},
        // Runs of different colours touch ("1 1 2"): one solution.
        SolveCase{"TouchingColours", 3, 3, 2, {1, 1, 2, 1, 0, 2, 2, 2, 2}, true},
        // A blank picture: every line has no run, so every cell is empty.
        SolveCase{"Blank", 4, 2, 1, std::vector<int>(8, 0), true}),
    [](const ::testing::TestParamInfo<SolveCase>& info) { return std::string(info.param.name); });

TEST(LineSolver, CluesHoldTheRunsOfEachColourInLineOrder) {
    // Row 0: 1 1 0 1 2 2 1; the column below each cell is a single cell.
    const std::vector<int> cells = {1, 1, 0, 1, 2, 2, 1};
    const TLineClues c = BuildLineClues(7, 1, 2, cells);
    ASSERT_TRUE(c.Valid);
    EXPECT_EQ(c.RowRuns[0][0], (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(c.RowRuns[1][0], (std::vector<int>{2}));
    EXPECT_EQ(c.ColRuns[0][2], (std::vector<int>{}));
    EXPECT_EQ(c.ColRuns[1][4], (std::vector<int>{1}));
    // A column read from the top: runs 3, 1 and 2.
    const std::vector<int> column = {1, 1, 1, 0, 1, 0, 1, 1};
    EXPECT_EQ(LineRuns(column.data(), 8, 1, 1), (std::vector<int>{3, 1, 2}));
}

TEST(LineSolver, ContradictoryCluesAreReportedNotSolved) {
    TLineClues c = BuildLineClues(2, 2, 1, {1, 0, 0, 1});
    ASSERT_TRUE(c.Valid);
    c.RowRuns[0][0] = {2};  // row 0 full while both columns hold a single cell at different rows
    c.RowRuns[0][1] = {2};
    const TLineSolveResult r = SolveByLineLogic(c);
    EXPECT_FALSE(r.Consistent);
    EXPECT_FALSE(r.Complete);
}

TEST(LineSolver, MalformedInputGivesInvalidCluesAndNoSolution) {
    struct Bad {
        int cols, rows, colours;
        std::vector<int> cells;
    };
    const std::vector<Bad> bad = {
        {2, 2, 1, {1, 0, 1}},     // too few cells
        {2, 1, 1, {1, 2}},        // a colour beyond the count
        {2, 1, 1, {-1, 0}},       // a negative cell
        {-1, 2, 1, {}},           // a negative size
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(BuildLineClues(b.cols, b.rows, b.colours, b.cells).Valid);
        EXPECT_FALSE(IsSolvableByLineLogic(b.cols, b.rows, b.colours, b.cells));
        EXPECT_FALSE(SolveByLineLogic(BuildLineClues(b.cols, b.rows, b.colours, b.cells)).Consistent);
    }
    // Hand-made clues with a run longer than the line, or a zero run, are refused.
    for (int run : {3, 0}) {
        TLineClues c = BuildLineClues(2, 2, 1, {1, 0, 0, 1});
        c.ColRuns[0][0] = {run};
        EXPECT_FALSE(SolveByLineLogic(c).Consistent) << run;
    }
}

}  // namespace
