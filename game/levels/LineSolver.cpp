#include "game/levels/LineSolver.h"

#include <algorithm>
#include <cstddef>
#include <deque>

#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

// Scratch space for one line of one colour, reused across lines.
struct LineWork {
    std::vector<uint8_t> canOn, canOff, on, off, fwd, bwd;
    std::vector<int> blocked, cover;

    void Prepare(int n, int m) {
        canOn.assign(n, 0);
        canOff.assign(n, 0);
        on.assign(n, 0);
        off.assign(n, 0);
        fwd.assign(static_cast<size_t>(m + 1) * (n + 1), 0);
        bwd.assign(static_cast<size_t>(m + 1) * (n + 1), 0);
        blocked.assign(n + 1, 0);
        cover.assign(n + 1, 0);
    }
};

// Works out, from what is known of a line, which cells can hold the colour (`on`) and which
// can hold something else (`off`) in at least one placement of the runs. A cell that can do
// neither means the clues contradict what is known.
void SolveOneLine(const std::vector<int>& runs, int n, LineWork& w) {
    const int m = static_cast<int>(runs.size());
    const int stride = n + 1;
    auto F = [&](int j, int i) -> uint8_t& { return w.fwd[static_cast<size_t>(j) * stride + i]; };
    auto B = [&](int j, int i) -> uint8_t& { return w.bwd[static_cast<size_t>(j) * stride + i]; };
    for (int i = 0; i < n; ++i) w.blocked[i + 1] = w.blocked[i] + (w.canOn[i] ? 0 : 1);
    auto fits = [&](int s, int r) { return w.blocked[s + r] == w.blocked[s]; };

    // F(j, i): the first j runs fit in cells [0, i); B(j, i): runs j.. fit in cells [i, n).
    F(0, 0) = 1;
    for (int i = 1; i <= n; ++i) F(0, i) = F(0, i - 1) && w.canOff[i - 1];
    for (int j = 1; j <= m; ++j) {
        const int r = runs[j - 1];
        for (int i = 1; i <= n; ++i) {
            bool ok = F(j, i - 1) && w.canOff[i - 1];
            const int s = i - r;
            if (!ok && s >= 0 && fits(s, r)) ok = s == 0 ? j == 1 : (w.canOff[s - 1] && F(j - 1, s - 1));
            F(j, i) = ok;
        }
    }
    B(m, n) = 1;
    for (int i = n - 1; i >= 0; --i) B(m, i) = B(m, i + 1) && w.canOff[i];
    for (int j = m - 1; j >= 0; --j) {
        const int r = runs[j];
        for (int i = n - 1; i >= 0; --i) {
            bool ok = B(j, i + 1) && w.canOff[i];
            const int e = i + r;
            if (!ok && e <= n && fits(i, r)) ok = e == n ? j == m - 1 : (w.canOff[e] && B(j + 1, e + 1));
            B(j, i) = ok;
        }
    }
    for (int p = 0; p < n; ++p) {
        bool off = false;
        if (w.canOff[p])
            for (int j = 0; j <= m && !off; ++j) off = F(j, p) && B(j, p + 1);
        w.off[p] = off;
    }
    for (int j = 0; j < m; ++j) {
        const int r = runs[j];
        for (int s = 0; s + r <= n; ++s) {
            if (!fits(s, r)) continue;
            const int e = s + r;
            const bool left = s == 0 ? j == 0 : (w.canOff[s - 1] && F(j, s - 1));
            const bool right = e == n ? j == m - 1 : (w.canOff[e] && B(j + 1, e + 1));
            if (left && right) {
                ++w.cover[s];
                --w.cover[e];
            }
        }
    }
    int acc = 0;
    for (int p = 0; p < n; ++p) {
        acc += w.cover[p];
        w.on[p] = acc > 0;
    }
}

// The blank-separated words of a text.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> out;
    std::string word;
    for (char ch : text + " ") {
        if (ch == ' ') {
            if (!word.empty()) out.push_back(word);
            word.clear();
        } else {
            word += ch;
        }
    }
    return out;
}

bool RunsValid(const std::vector<std::vector<std::vector<int>>>& runs, int colours, int lines, int length) {
    if (static_cast<int>(runs.size()) != colours) return false;
    for (const auto& perColour : runs) {
        if (static_cast<int>(perColour.size()) != lines) return false;
        for (const auto& line : perColour)
            for (int r : line)
                if (r <= 0 || r > length) return false;
    }
    return true;
}

}  // namespace

std::vector<int> LineRuns(const int* cells, int count, int stride, int colour) {
    std::vector<int> out;
    int run = 0;
    for (int i = 0; i < count; ++i) {
        if (cells[static_cast<size_t>(i) * stride] == colour) {
            ++run;
        } else if (run) {
            out.push_back(run);
            run = 0;
        }
    }
    if (run) out.push_back(run);
    return out;
}

TLineClues BuildLineClues(int cols, int rows, int colours, const std::vector<int>& cells) {
    TLineClues c;
    if (cols < 0 || rows < 0 || colours < 0 || colours > LineSolverMaxColours) return c;
    if (cells.size() != static_cast<size_t>(cols) * static_cast<size_t>(rows)) return c;
    for (int v : cells)
        if (v < 0 || v > colours) return c;
    c.Cols = cols;
    c.Rows = rows;
    c.Colours = colours;
    c.RowRuns.assign(colours, std::vector<std::vector<int>>(rows));
    c.ColRuns.assign(colours, std::vector<std::vector<int>>(cols));
    for (int k = 0; k < colours; ++k) {
        for (int y = 0; y < rows; ++y)
            c.RowRuns[k][y] = LineRuns(cells.data() + static_cast<size_t>(y) * cols, cols, 1, k + 1);
        for (int x = 0; x < cols; ++x) c.ColRuns[k][x] = LineRuns(cells.data() + x, rows, cols, k + 1);
    }
    c.Valid = true;
    return c;
}

TLineSolveResult SolveByLineLogic(const TLineClues& clues) {
    TLineSolveResult result;
    const int cols = clues.Cols, rows = clues.Rows, colours = clues.Colours;
    if (!clues.Valid || cols < 0 || rows < 0 || colours < 0 || colours > LineSolverMaxColours ||
        !RunsValid(clues.RowRuns, colours, rows, cols) || !RunsValid(clues.ColRuns, colours, cols, rows))
        return result;

    // Per cell, bit v set while the cell may still hold v (0 = empty, 1.. = colours).
    const uint32_t all = (1u << (colours + 1)) - 1u;
    std::vector<uint32_t> dom(static_cast<size_t>(cols) * rows, all);

    // Lines 0..rows-1 are rows, rows..rows+cols-1 columns.
    const int lineCount = rows + cols;
    std::deque<int> pending;
    std::vector<uint8_t> queued(lineCount, 1);
    for (int i = 0; i < lineCount; ++i) pending.push_back(i);

    LineWork w;
    std::vector<size_t> index;
    bool consistent = true;
    while (!pending.empty() && consistent) {
        const int line = pending.front();
        pending.pop_front();
        queued[line] = 0;
        const bool isRow = line < rows;
        const int at = isRow ? line : line - rows;
        const int n = isRow ? cols : rows;
        index.resize(n);
        for (int p = 0; p < n; ++p)
            index[p] = isRow ? static_cast<size_t>(at) * cols + p : static_cast<size_t>(p) * cols + at;
        // What one colour learns about the line may help another colour of the same line,
        // so the line is gone over until it stops changing.
        bool changed = true;
        while (changed && consistent) {
            changed = false;
            for (int k = 1; k <= colours && consistent; ++k) {
                const auto& runs = isRow ? clues.RowRuns[k - 1][at] : clues.ColRuns[k - 1][at];
                const uint32_t bit = 1u << k;
                w.Prepare(n, static_cast<int>(runs.size()));
                for (int p = 0; p < n; ++p) {
                    w.canOn[p] = (dom[index[p]] & bit) != 0;
                    w.canOff[p] = dom[index[p]] != bit;
                }
                SolveOneLine(runs, n, w);
                for (int p = 0; p < n; ++p) {
                    uint32_t d = dom[index[p]];
                    if (!w.on[p]) d &= ~bit;
                    if (!w.off[p]) d &= bit;
                    if (d == 0) {
                        consistent = false;
                        break;
                    }
                    if (d != dom[index[p]]) {
                        dom[index[p]] = d;
                        changed = true;
                        const int cross = isRow ? rows + p : p;
                        if (!queued[cross]) {
                            queued[cross] = 1;
                            pending.push_back(cross);
                        }
                    }
                }
            }
        }
    }
    result.Consistent = consistent;
    result.Cells.assign(dom.size(), -1);
    if (!consistent) return result;
    bool complete = true;
    for (size_t i = 0; i < dom.size(); ++i) {
        const uint32_t d = dom[i];
        if ((d & (d - 1)) == 0) {
            int v = 0;
            while (!(d & (1u << v))) ++v;
            result.Cells[i] = v;
        } else {
            complete = false;
        }
    }
    result.Complete = complete;
    return result;
}

bool IsSolvableByLineLogic(int cols, int rows, int colours, const std::vector<int>& cells) {
    const TLineClues clues = BuildLineClues(cols, rows, colours, cells);
    if (!clues.Valid) return false;
    const TLineSolveResult r = SolveByLineLogic(clues);
    return r.Consistent && r.Complete && r.Cells == cells;
}

bool LoadLevelPicture(const std::string& path, TLevelPicture& out, std::string* error) {
    out = TLevelPicture();
    auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        out = TLevelPicture();
        return false;
    };
    if (FileType(path) != 1) return fail("no such file");
    const TBlockFilePtr root = LoadBlockFile(path);
    const TBlockFilePtr level = GetBlockFileNO_NEW(root, "Level");
    if (!level) return fail("no \"Level\" block");

    const float cols = GetBFNumber(level, "Data::Dims", 0);
    const float rows = GetBFNumber(level, "Data::Dims", 1);
    if (!(cols >= 1 && cols <= LevelPictureMaxSide && rows >= 1 && rows <= LevelPictureMaxSide))
        return fail("grid size out of range");
    out.Cols = static_cast<int>(cols);
    out.Rows = static_cast<int>(rows);
    out.Size = TruncToInt(GetBFNumber(level, "Data::Size"));

    for (const std::string& piece : Words(GetBFString(level, "Data::Colors"))) {
        const int id = StringToInt(piece);
        if (id <= 0) return fail("colour id \"" + piece + "\" is not positive");
        if (std::find(out.ColorIds.begin(), out.ColorIds.end(), id) != out.ColorIds.end())
            return fail("colour id " + piece + " listed twice");
        out.ColorIds.push_back(id);
    }
    if (out.ColorIds.empty()) return fail("no colours");

    out.Cells.assign(static_cast<size_t>(out.Cols) * out.Rows, 0);
    for (int y = 0; y < out.Rows; ++y) {
        const std::string name = "Row" + std::to_string(y);
        const TBlockFilePtr row = GetBlockEntryNO_NEW(level, "Tiles::" + name);
        if (!row || row->MyType != BF_ENTRY || row->GetSize() != out.Cols)
            return fail(name + " missing or not " + std::to_string(out.Cols) + " values");
        for (int x = 0; x < out.Cols; ++x) {
            if (row->typ[x] != BF_INT) return fail(name + " holds a value that is no integer");
            const int id = row->GetInt(x);
            if (id == 0) continue;
            const auto it = std::find(out.ColorIds.begin(), out.ColorIds.end(), id);
            if (it == out.ColorIds.end())
                return fail(name + " holds colour id " + std::to_string(id) + " not in the colour list");
            out.Cells[static_cast<size_t>(y) * out.Cols + x] = static_cast<int>(it - out.ColorIds.begin()) + 1;
        }
    }
    return true;
}
