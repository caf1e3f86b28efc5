#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "game/levels/LineSolver.h"
#include "platform/Strings.h"
#include "support/TestSupport.h"

namespace {

struct SolveCase {
    const char* name;
    int cols, rows, colours;
    std::vector<int> cells;
    bool solvable;
};

void PrintTo(const SolveCase& c, std::ostream* os) { *os << c.name; }

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

INSTANTIATE_TEST_SUITE_P(Pictures, LineSolverCases,
                         ::testing::Values(
                             // A plus sign: one solution, reached by line logic.
                             SolveCase{"Plus", 3, 3, 1, {0, 1, 0, 1, 1, 1, 0, 1, 0}, true},
                             // A diagonal: its mirror image has the same clues.
                             SolveCase{"Diagonal", 2, 2, 1, {1, 0, 0, 1}, false},
                             // Two colours swapped on a diagonal: both pictures have the same clues.
                             SolveCase{"SwappedColours", 2, 2, 2, {1, 2, 2, 1}, false},
                             // Runs of different colours touch ("1 1 2"): one solution.
                             SolveCase{"TouchingColours", 3, 3, 2, {1, 1, 2, 1, 0, 2, 2, 2, 2}, true},
                             // A colour of a line is settled only once the other colour of the same line is.
                             SolveCase{"ColoursOfOneLineHelpEachOther", 3, 2, 2, {2, 1, 2, 1, 2, 0}, true},
                             // A blank picture: every line has no run, so every cell is empty.
                             SolveCase{"Blank", 4, 2, 1, std::vector<int>(8, 0), true}),
                         [](const ::testing::TestParamInfo<SolveCase>& param) {
                             return std::string(param.param.name);
                         });

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
        {2, 2, 1, {1, 0, 1}},  // too few cells
        {2, 1, 1, {1, 2}},     // a colour beyond the count
        {2, 1, 1, {-1, 0}},    // a negative cell
        {-1, 2, 1, {}},        // a negative size
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

std::string LevelText(const std::string& colors, const std::string& rows) {
    return "Level{\n\tData{\n\t\tDims = 3, 2\n\t\tSize = 4\n\t\tColors = \"" + colors + "\"\n\t}\n\tTiles{\n" + rows +
           "\t}\n}\n";
}

TEST(LevelPicture, ReadsCellsAsLayersOfTheColourList) {
    testsupport::TempDir dir;
    const std::string path = dir.file("Level-1.PACLevel");
    // "3 1": layer 0 holds colour id 3, layer 1 colour id 1.
    testsupport::WriteFileBytes(path, LevelText("3 1", "\t\tRow0 = 1, 0, 3\n\t\tRow1 = 3, 3, 0\n"));
    TLevelPicture p;
    std::string error;
    ASSERT_TRUE(LoadLevelPicture(path, p, &error)) << error;
    EXPECT_EQ(p.Cols, 3);
    EXPECT_EQ(p.Rows, 2);
    EXPECT_EQ(p.Size, 4);
    EXPECT_EQ(p.ColorIds, (std::vector<int>{3, 1}));
    EXPECT_EQ(p.Cells, (std::vector<int>{2, 0, 1, 1, 1, 0}));

    // A size beyond the int range saturates.
    testsupport::WriteFileBytes(
        path, Replace(LevelText("1", "\t\tRow0 = 1, 0, 1\n\t\tRow1 = 0, 1, 0\n"), "Size = 4", "Size = -9e9"));
    ASSERT_TRUE(LoadLevelPicture(path, p, &error)) << error;
    EXPECT_EQ(p.Size, std::numeric_limits<int32_t>::min());
}

TEST(LevelPicture, RejectsMalformedFilesWithAReason) {
    const std::string goodRows = "\t\tRow0 = 1, 0, 1\n\t\tRow1 = 0, 1, 0\n";
    struct Bad {
        const char* what;
        std::string text;  // empty: no file at all
    };
    const std::vector<Bad> bad = {
        {"missing file", ""},
        {"no colours", LevelText("", goodRows)},
        {"colour listed twice", LevelText("1 1", goodRows)},
        {"id not in the list", LevelText("1", "\t\tRow0 = 1, 0, 2\n\t\tRow1 = 0, 1, 0\n")},
        {"short row", LevelText("1", "\t\tRow0 = 1, 0\n\t\tRow1 = 0, 1, 0\n")},
        {"missing row", LevelText("1", "\t\tRow0 = 1, 0, 1\n")},
        {"value no integer", LevelText("1", "\t\tRow0 = 1, x, 1\n\t\tRow1 = 0, 1, 0\n")},
        {"zero width", "Level{\n\tData{\n\t\tDims = 0, 2\n\t\tColors = \"1\"\n\t}\n}\n"},
    };
    for (const Bad& b : bad) {
        testsupport::TempDir dir;
        const std::string path = dir.file("Level-1.PACLevel");
        if (!b.text.empty()) testsupport::WriteFileBytes(path, b.text);
        TLevelPicture p;
        std::string error;
        EXPECT_FALSE(LoadLevelPicture(path, p, &error)) << b.what;
        EXPECT_FALSE(error.empty()) << b.what;
        EXPECT_TRUE(p.Cells.empty()) << b.what;
    }
}

}  // namespace
