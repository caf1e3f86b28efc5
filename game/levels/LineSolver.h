// Line logic for colour picture puzzles. Every row and column carries, per colour, the
// lengths of that colour's runs in order. Runs of one colour need at least one cell between
// them; a cell of another colour is such a gap, so runs of different colours may touch.
//
// The solver knows, for every cell, which colours (or empty) it may still hold, and goes over
// the lines one colour at a time, keeping only what every placement of that colour's runs
// agrees on, until nothing changes. A picture whose clues lead back to it this way has one
// solution and can be solved without guessing: that is the fairness test for the shipped
// levels. It works on plain vectors so that it stands apart from the level classes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The clues of one picture. Colours are numbered 1..Colours; 0 is an empty cell.
struct TLineClues {
    bool Valid = false;  // false when the picture they were built from was malformed
    int Cols = 0;
    int Rows = 0;
    int Colours = 0;
    // [colour - 1][row]: run lengths from left to right; [colour - 1][column]: from the top.
    std::vector<std::vector<std::vector<int>>> RowRuns;
    std::vector<std::vector<std::vector<int>>> ColRuns;
};

struct TLineSolveResult {
    bool Consistent = false;  // false for invalid clues or clues that contradict each other
    bool Complete = false;    // every cell decided
    std::vector<int> Cells;   // per cell (y * Cols + x): its colour, 0 for empty, -1 undecided
};

// Highest colour number the solver handles.
constexpr int LineSolverMaxColours = 30;

// The lengths of the runs of `colour` among `count` cells, `stride` apart.
std::vector<int> LineRuns(const int* cells, int count, int stride, int colour);

// Builds the clues of a picture given as cells[y * cols + x], each 0..colours. A picture with
// a negative size, a wrong number of cells or a cell outside 0..colours gives invalid clues.
TLineClues BuildLineClues(int cols, int rows, int colours, const std::vector<int>& cells);

// Solves by line logic alone.
TLineSolveResult SolveByLineLogic(const TLineClues& clues);

// True when line logic alone, from the picture's own clues, gives back exactly that picture.
bool IsSolvableByLineLogic(int cols, int rows, int colours, const std::vector<int>& cells);

// The solution picture of a ".PACLevel" file, read straight from the block file (the "Level"
// block's "Data" and "Tiles"), for the fairness checks and tools.
struct TLevelPicture {
    int Cols = 0;
    int Rows = 0;
    int Size = 0;               // the tile-size index
    std::vector<int> ColorIds;  // the colour id of each layer, in layer order
    std::vector<int> Cells;     // per cell (y * Cols + x): 0 empty, else layer index + 1
};

// Largest number of columns or rows LoadLevelPicture accepts.
constexpr int LevelPictureMaxSide = 1000;

// Reads a level file's picture. Returns false, with the reason in `error`, when the file is
// missing or its grid is malformed: no colours, a repeated or non-positive colour id, a size
// outside 1..LevelPictureMaxSide, a row entry missing or holding the wrong number of values, a
// value that is no integer, or a cell id that the colour list lacks.
bool LoadLevelPicture(const std::string& path, TLevelPicture& out, std::string* error = nullptr);
