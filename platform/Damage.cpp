#include "platform/Damage.h"

#include <algorithm>
#include <limits>

namespace {

// ---- Tuning ----
//
// Rectangles of marked cells are made from cells twice as large (up to kCoarsest pixels) while
// there are more than kRectsPerWanted times the rectangles wanted, before the closest are joined.
constexpr int kCoarsest = 128;
constexpr size_t kRectsPerWanted = 2;

// Joins the two rectangles whose join adds the least area, again and again, while there are more
// than `most` or the least a join adds is at most `joinArea` pixels. (What a join adds can be
// less than nothing: a rectangle grown over another.) Each rectangle keeps the partner whose join
// with it adds the least, so that a join costs a pass over the rectangles rather than over every
// pair.
void JoinCheapest(std::vector<PixelRect>& rects, size_t most, double joinArea) {
    const size_t n = rects.size();
    auto added = [&](size_t i, size_t j) { return rects[i].Join(rects[j]).Area() - rects[i].Area() - rects[j].Area(); };
    std::vector<char> gone(n, 0);
    std::vector<double> least(n);
    std::vector<size_t> partner(n, 0);
    auto refresh = [&](size_t i) {
        least[i] = std::numeric_limits<double>::max();
        for (size_t j = 0; j < n; ++j)
            if (j != i && !gone[j] && added(i, j) < least[i]) least[i] = added(i, j), partner[i] = j;
    };
    for (size_t i = 0; i < n; ++i) refresh(i);
    for (size_t left = n; left > 1; --left) {
        size_t i = n;
        for (size_t k = 0; k < n; ++k)
            if (!gone[k] && (i == n || least[k] < least[i])) i = k;
        if (left <= most && least[i] > joinArea) break;
        const size_t j = partner[i];
        rects[i] = rects[i].Join(rects[j]);
        gone[j] = 1;
        refresh(i);
        for (size_t k = 0; k < n; ++k) {
            if (gone[k] || k == i) continue;
            if (partner[k] == i || partner[k] == j) refresh(k);
            else if (added(k, i) < least[k]) least[k] = added(k, i), partner[k] = i;
        }
    }
    size_t kept = 0;
    for (size_t k = 0; k < n; ++k)
        if (!gone[k]) rects[kept++] = rects[k];
    rects.resize(kept);
}

}  // namespace

PixelRect PixelRect::Meet(const PixelRect& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

PixelRect PixelRect::Join(const PixelRect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

void Damage::Reset(const FrameWindow& window) {
    pixW_ = std::max(window.pixW, 0);
    pixH_ = std::max(window.pixH, 0);
    cols_ = (pixW_ + kCell - 1) / kCell;
    rows_ = (pixH_ + kCell - 1) / kCell;
    cells_.assign(static_cast<size_t>(cols_) * rows_, 0);
    marked_ = 0;
}

void Damage::Add(const PixelRect& box) {
    const PixelRect r = box.Meet({0, 0, pixW_, pixH_});
    if (r.Empty()) return;
    for (int y = r.y0 / kCell; y <= (r.y1 - 1) / kCell; ++y)
        for (int x = r.x0 / kCell; x <= (r.x1 - 1) / kCell; ++x) {
            unsigned char& c = cells_[static_cast<size_t>(y) * cols_ + x];
            marked_ += c == 0;
            c = 1;
        }
}

void Damage::AddAll() { Add({0, 0, pixW_, pixH_}); }

double Damage::Share() const { return cells_.empty() ? 0.0 : static_cast<double>(marked_) / cells_.size(); }

std::vector<PixelRect> Damage::Rects(size_t most, double joinArea) const {
    std::vector<PixelRect> rects;
    if (marked_ == 0 || most == 0) return rects;
    std::vector<unsigned char> grid = cells_;
    int cols = cols_, rows = rows_, cell = kCell;
    for (;;) {
        // Each row's spans of marked cells, each joined to the same span of the row below.
        rects.clear();
        std::vector<size_t> open, next;
        for (int y = 0; y < rows; ++y) {
            next.clear();
            for (int x = 0; x < cols;) {
                if (!grid[static_cast<size_t>(y) * cols + x]) {
                    ++x;
                    continue;
                }
                const int x0 = x;
                while (x < cols && grid[static_cast<size_t>(y) * cols + x]) ++x;
                const PixelRect span{x0 * cell, y * cell, x * cell, (y + 1) * cell};
                auto below = std::find_if(open.begin(), open.end(),
                                          [&](size_t k) { return rects[k].x0 == span.x0 && rects[k].x1 == span.x1; });
                if (below != open.end()) {
                    rects[*below].y1 = span.y1;
                    next.push_back(*below);
                } else {
                    next.push_back(rects.size());
                    rects.push_back(span);
                }
            }
            open.swap(next);
        }
        if (rects.size() <= kRectsPerWanted * most || cell >= kCoarsest) break;
        const int cols2 = (cols + 1) / 2, rows2 = (rows + 1) / 2;
        std::vector<unsigned char> coarse(static_cast<size_t>(cols2) * rows2, 0);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < cols; ++x)
                if (grid[static_cast<size_t>(y) * cols + x]) coarse[static_cast<size_t>(y / 2) * cols2 + x / 2] = 1;
        grid.swap(coarse);
        cols = cols2;
        rows = rows2;
        cell *= 2;
    }
    JoinCheapest(rects, most, joinArea);
    for (PixelRect& r : rects) r = r.Meet({0, 0, pixW_, pixH_});
    return rects;
}
