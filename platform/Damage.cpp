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
                auto below = std::find_if(open.begin(), open.end(), [&](size_t k) {
                    return rects[k].x0 == span.x0 && rects[k].x1 == span.x1;
                });
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
    while (rects.size() > 1) {
        size_t bi = 0, bj = 1;
        double least = std::numeric_limits<double>::max();
        for (size_t i = 0; i < rects.size(); ++i)
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const double added = rects[i].Join(rects[j]).Area() - rects[i].Area() - rects[j].Area();
                if (added < least) least = added, bi = i, bj = j;
            }
        if (rects.size() <= most && least > joinArea) break;
        rects[bi] = rects[bi].Join(rects[bj]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bj));
    }
    for (PixelRect& r : rects) r = r.Meet({0, 0, pixW_, pixH_});
    return rects;
}
