// Where two frames differ, for the frame cache (platform/FrameCache.h): cells of the window
// marked, and the few rectangles that hold them. Not for callers outside platform/.
#pragma once
#include <cstddef>
#include <vector>

// A rectangle of window pixels, GL's rows (bottom up): [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    double Area() const { return Empty() ? 0.0 : double(x1 - x0) * (y1 - y0); }
    PixelRect Meet(const PixelRect& o) const;
    PixelRect Join(const PixelRect& o) const;
    bool Meets(const PixelRect& o) const { return !Meet(o).Empty(); }
    bool operator==(const PixelRect&) const = default;
};

// The window a frame is drawn in: its size in pixels, its GL context and its virtual size.
struct FrameWindow {
    int pixW = 0, pixH = 0, generation = 0;
    float virtualW = 0.0f, virtualH = 0.0f;
    PixelRect Whole() const { return {0, 0, pixW, pixH}; }
    double Area() const { return static_cast<double>(pixW) * pixH; }
    bool operator==(const FrameWindow&) const = default;
};

// Where two frames differ: cells of kCell x kCell window pixels, marked wherever a shape of either
// frame that the other does not draw alike lies.
class Damage {
public:
    static constexpr int kCell = 16;
    // Nothing marked, the cells of the window's size.
    void Reset(const FrameWindow& window);
    void Add(const PixelRect& box);
    void AddAll();
    bool Empty() const { return marked_ == 0; }
    // The share of the window's cells marked.
    double Share() const;
    // The marked cells within at most `most` rectangles (cut to the window): rectangles are
    // joined where joining adds the least area, as long as there are too many or joining two
    // adds at most `joinArea` pixels (what the calls of a rectangle more cost in pixels drawn).
    std::vector<PixelRect> Rects(size_t most, double joinArea = 0.0) const;

private:
    int pixW_ = 0, pixH_ = 0, cols_ = 0, rows_ = 0;
    std::vector<unsigned char> cells_;
    size_t marked_ = 0;
};
