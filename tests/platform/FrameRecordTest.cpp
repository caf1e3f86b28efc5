// What the frame cache asks of its records, on records made by hand (no window needed): where
// two frames' shapes differ (in cells of the window, at a cost linear in the shapes), the
// rectangles that hold the cells, the area a span of shapes fills, and the order that draws a
// record in fewer calls without changing a pixel. The pictures the cache draws are checked
// against frames drawn in full in FrameCacheTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/FrameRecord.h"

namespace {

// A 320 x 160 window drawn in virtual units of the same size: 20 x 10 cells.
const FrameWindow kWindow{320, 160, 1, 320.0f, 160.0f};
const Scissor kWhole{0, 0, 320, 160};

RunStyle Picture(unsigned id, int blend = ALPHABLEND, ShapeKind kind = ShapeKind::Quad, float width = 1.0f) {
    RunStyle s;
    s.id = id;
    s.blend = blend;
    s.kind = kind;
    s.width = width;
    return s;
}

FrameRecord Cleared() {
    FrameRecord rec;
    rec.cleared = true;
    return rec;
}

// Adds an upright quad x, y, w, h (virtual units, rows down) of the style.
void AddQuad(FrameRecord& rec, const RunStyle& style, float x, float y, float w, float h,
             const Scissor& scissor = kWhole) {
    const BatchVertex q[4] = {{x, y, 0, 0, 1, 1, 1, 1},
                              {x + w, y, 1, 0, 1, 1, 1, 1},
                              {x + w, y + h, 1, 1, 1, 1, 1, 1},
                              {x, y + h, 0, 1, 1, 1, 1, 1}};
    rec.Add(style, q, scissor, kWindow);
}

// The cells marked, as a picture of the window: one string a row of cells from the top, '#'
// where marked.
std::vector<std::string> Cells(const Damage& damage) {
    std::vector<std::string> rows(10, std::string(20, '.'));
    for (const PixelRect& r : damage.Rects(1000))
        for (int y = r.y0 / Damage::kCell; y < (r.y1 + Damage::kCell - 1) / Damage::kCell; ++y)
            for (int x = r.x0 / Damage::kCell; x < (r.x1 + Damage::kCell - 1) / Damage::kCell; ++x)
                rows[9 - y][x] = '#';
    return rows;
}

Damage Differences(const FrameRecord& a, const FrameRecord& b) {
    Damage d;
    d.Reset(kWindow);
    EXPECT_TRUE(MarkDifferences(a, b, b.shapes, d, 1.0));
    return d;
}

TEST(FrameRecordTest, ShapesTouchTheirPixelsWithOneToSpareInGLRows) {
    FrameRecord rec = Cleared();
    AddQuad(rec, Picture(1), 10, 20, 30, 40);
    // Rows count from the bottom: rows 20..60 from the top are 100..140 from the bottom.
    EXPECT_EQ(ShapePixels(rec, rec.runs[0], rec.vertices.data()), (PixelRect{9, 99, 41, 141}));
    // Cut to the window and to the scissor.
    AddQuad(rec, Picture(2), -50, 150, 400, 40);
    EXPECT_EQ(ShapePixels(rec, rec.runs[1], rec.vertices.data() + 4), (PixelRect{0, 0, 320, 11}));
    AddQuad(rec, Picture(2), 0, 0, 100, 100, Scissor{50, 100, 20, 20});
    EXPECT_EQ(ShapePixels(rec, rec.runs[2], rec.vertices.data() + 8), (PixelRect{50, 100, 70, 120}));
    // A line reaches half its width further.
    const BatchVertex line[2] = {{100, 50, 0, 0, 1, 1, 1, 1}, {150, 50, 0, 0, 1, 1, 1, 1}};
    rec.Add(Picture(0, SOLIDBLEND, ShapeKind::Line, 6.0f), line, kWhole, kWindow);
    EXPECT_EQ(ShapePixels(rec, rec.runs[3], rec.vertices.data() + 12), (PixelRect{96, 106, 154, 114}));
    // A window with no virtual size yet counts a unit as a pixel, as the areas do, rather than
    // dividing by 0.
    FrameRecord unsized = Cleared();
    const FrameWindow noSize{320, 160, 1, 0.0f, 0.0f};
    const BatchVertex q[4] = {
        {10, 20, 0, 0, 1, 1, 1, 1}, {40, 20, 1, 0, 1, 1, 1, 1}, {40, 60, 1, 1, 1, 1, 1, 1}, {10, 60, 0, 1, 1, 1, 1, 1}};
    unsized.Add(Picture(1), q, kWhole, noSize);
    EXPECT_EQ(ShapePixels(unsized, unsized.runs[0], unsized.vertices.data()), (PixelRect{9, 99, 41, 141}));
}

// A row of five 20 x 20 tiles, 64 apart, along the window's top, each its own cells; one may
// move, be missing, be of another picture, or have a glow drawn after it.
FrameRecord Row(int moved = -1, int gone = -1, unsigned picture = 1, int lit = -1) {
    FrameRecord rec = Cleared();
    AddQuad(rec, Picture(9, SOLIDBLEND), 0, 0, 320, 160);  // the background
    for (int i = 0; i < 5; ++i) {
        if (i == gone) continue;
        AddQuad(rec, Picture(picture), 8.0f + 64 * i + (i == moved ? 20 : 0), 8, 20, 20);
        if (i == lit) AddQuad(rec, Picture(7, LIGHTBLEND), 8.0f + 64 * i, 8, 20, 20);
    }
    return rec;
}

TEST(FrameRecordTest, DifferencesAreMarkedWhereShapesChanged) {
    const std::string none = "....................";
    const struct {
        const char* what;
        FrameRecord other;
        std::string top;  // the marked cells of the first two rows (the rest stay unmarked)
    } cases[] = {
        {"the same", Row(), none},
        {"a tile moved: where it was and is", Row(2), "........####........"},
        {"a tile gone from the middle: only where it was", Row(-1, 2), "........##.........."},
        {"a glow drawn between two tiles: only where it lies", Row(-1, -1, 1, 2), "........##.........."},
        {"another picture: every tile", Row(-1, -1, 3), "##..##..##..##..##.."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const FrameRecord* a : {&c.other}) {
            const std::vector<std::string> cells = Cells(Differences(Row(), *a));
            EXPECT_EQ(cells[0], c.top);
            EXPECT_EQ(cells[1], c.top);
            for (int y = 2; y < 10; ++y) EXPECT_EQ(cells[y], none) << "row " << y;
            // Either way round.
            EXPECT_EQ(Cells(Differences(*a, Row())), cells);
        }
    }
    // After other clears, or over a window not cleared first, everything differs.
    FrameRecord other = Row();
    other.clears.push_back({0, 0, 320, 160, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(Cells(Differences(other, Row()))[5], std::string(20, '#'));
    other = Row();
    other.cleared = false;
    EXPECT_EQ(Cells(Differences(other, Row()))[5], std::string(20, '#'));
}

TEST(FrameRecordTest, TheComparisonStopsOnceTooMuchDiffers) {
    // 2,000 small pictures, every one moved: the comparison gives up soon after a fifth of the
    // window differs, and says how far the frames drew alike with less than that differing.
    auto swarm = [](float shift) {
        FrameRecord rec = Cleared();
        AddQuad(rec, Picture(9, SOLIDBLEND), 0, 0, 320, 160);
        for (int i = 0; i < 2000; ++i) AddQuad(rec, Picture(1), float(i * 7 % 310) + shift, float(i * 13 % 150), 4, 4);
        return rec;
    };
    Damage d;
    d.Reset(kWindow);
    size_t alike = 99;
    EXPECT_FALSE(MarkDifferences(swarm(0), swarm(1), 2001, d, 0.2, &alike));
    EXPECT_GT(alike, 1u);
    EXPECT_LT(alike, 200u);
    EXPECT_LT(d.Share(), 0.3);
    // Up to a span of the other only (the copy holds the first shapes of a frame): how far into
    // this one that span reaches, a shape more drawn in between.
    FrameRecord more = Row(-1, -1, 1, 2);  // the background, three tiles, a glow, two tiles
    d.Reset(kWindow);
    EXPECT_TRUE(MarkDifferences(more, Row(), 5, d, 0.2, &alike));  // up to the fourth tile
    EXPECT_EQ(alike, 6u);
    EXPECT_EQ(d.Share(), 4.0 / 200.0);  // the glow
}

TEST(FrameRecordTest, MarkedCellsComeInAFewRectangles) {
    // Spots of one cell, 32 pixels apart: each a rectangle of its own, up to as many as wanted;
    // more are joined where joining adds the least, every marked cell still within one.
    auto spots = [](int n) {
        Damage d;
        d.Reset(kWindow);
        for (int i = 0; i < n; ++i) d.Add({(i % 10) * 32, (i / 10) * 32, (i % 10) * 32 + 4, (i / 10) * 32 + 4});
        return d;
    };
    for (int n : {16, 17, 40}) {
        SCOPED_TRACE(n);
        const Damage d = spots(n);
        const std::vector<PixelRect> rects = d.Rects(16);
        if (n <= 17) EXPECT_EQ(rects.size(), 16u);
        else EXPECT_LE(rects.size(), 16u);
        for (int i = 0; i < n; ++i) {
            const PixelRect cell{(i % 10) * 32, (i / 10) * 32, (i % 10) * 32 + 16, (i / 10) * 32 + 16};
            EXPECT_TRUE(
                std::any_of(rects.begin(), rects.end(), [&](const PixelRect& r) { return r.Meet(cell) == cell; }))
                << "spot " << i;
        }
        for (const PixelRect& r : rects) EXPECT_EQ(r.Meet(kWindow.Whole()), r);
    }
    // Cells side by side are one rectangle; the share counts cells.
    Damage d;
    d.Reset(kWindow);
    d.Add({0, 0, 160, 32});
    EXPECT_EQ(d.Rects(16), (std::vector<PixelRect>{{0, 0, 160, 32}}));
    EXPECT_DOUBLE_EQ(d.Share(), 20.0 / 200.0);
}

TEST(FrameRecordTest, RectanglesAreJoinedOnlyWhereJoiningAddsLittle) {
    // Marked cells (column, row) of 16 pixels; the rectangles wanted at most and the area a join
    // may add: the rectangles made, every marked cell within one of them.
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> cells;
        size_t most;
        double joinArea;
        std::vector<PixelRect> rects;
    } cases[] = {
        {"a cell apart, a join adding a cell allowed", {{0, 0}, {2, 0}}, 64, 256.0, {{0, 0, 48, 16}}},
        {"a cell apart, a join adding less allowed", {{0, 0}, {2, 0}}, 64, 255.0, {{0, 0, 16, 16}, {32, 0, 48, 16}}},
        {"an L, its two spans kept", {{0, 0}, {1, 0}, {0, 1}}, 64, 0.0, {{0, 0, 32, 16}, {0, 16, 16, 32}}},
        {"an L, joined when that adds its missing cell", {{0, 0}, {1, 0}, {0, 1}}, 64, 256.0, {{0, 0, 32, 32}}},
        {"far apart, too many: the closest joined",
         {{0, 0}, {2, 0}, {19, 9}},
         2,
         0.0,
         {{0, 0, 48, 16}, {304, 144, 320, 160}}},
        {"too many, the closest joined one after another",
         {{0, 0}, {0, 4}, {0, 2}, {19, 0}},
         2,
         0.0,
         {{0, 0, 16, 80}, {304, 0, 320, 16}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Damage d;
        d.Reset(kWindow);
        for (auto [x, y] : c.cells) d.Add({x * 16 + 3, y * 16 + 3, x * 16 + 5, y * 16 + 5});
        std::vector<PixelRect> rects = d.Rects(c.most, c.joinArea);
        std::sort(rects.begin(), rects.end(),
                  [](const PixelRect& a, const PixelRect& b) { return std::tie(a.x0, a.y0) < std::tie(b.x0, b.y0); });
        EXPECT_EQ(rects, c.rects);
    }
}

TEST(FrameRecordTest, ShapesFillTheirArea) {
    FrameRecord rec = Cleared();
    AddQuad(rec, Picture(1), 0, 0, 320, 160);
    AddQuad(rec, Picture(2), 0, 0, 100, 100);
    const BatchVertex triangle[3] = {{0, 0, 0, 0, 1, 1, 1, 1}, {200, 0, 0, 0, 1, 1, 1, 1}, {0, 100, 0, 0, 1, 1, 1, 1}};
    rec.Add(Picture(0, SOLIDBLEND, ShapeKind::Triangle), triangle, kWhole, kWindow);
    std::vector<double> before;
    AreasBefore(rec, before);
    EXPECT_EQ(before, (std::vector<double>{0.0, 51200.0, 61200.0, 71200.0}));
}

TEST(FrameRecordTest, RunsOfAStyleJoinWhereNothingBetweenOverlaps) {
    // Clue numbers in two colours (pictures 1 and 3) along a row, not in the row's order: each
    // drawn, then lit with the same picture in another blend; then a frame over one number, and a
    // number after it on top of the frame.
    FrameRecord rec = Cleared();
    const int place[8] = {0, 7, 2, 5, 1, 6, 3, 4};
    for (int i = 0; i < 8; ++i) {
        const unsigned picture = i % 2 ? 3 : 1;
        AddQuad(rec, Picture(picture), 10.0f + 30 * place[i], 10, 20, 20);
        AddQuad(rec, Picture(picture, LIGHTBLEND), 10.0f + 30 * place[i], 10, 20, 20);
    }
    AddQuad(rec, Picture(2), 150, 5, 40, 30);
    AddQuad(rec, Picture(1), 160, 10, 20, 20);
    AddQuad(rec, Picture(1), 250, 100, 20, 20, Scissor{0, 0, 10, 10});  // outside its scissor: nothing to draw
    std::vector<DrawSegment> plan;
    EXPECT_EQ(PlanDrawing(rec, 0, rec.shapes, plan), 6u);
    std::vector<std::pair<unsigned, int>> calls;  // picture and blend of each call, in order
    for (size_t i = 0; i < plan.size(); ++i)
        if (i == 0 || plan[i].piece != plan[i - 1].piece)
            calls.push_back({rec.runs[plan[i].run].style.id, rec.runs[plan[i].run].style.blend});
    const std::vector<std::pair<unsigned, int>> want = {{1, ALPHABLEND}, {1, LIGHTBLEND}, {3, ALPHABLEND},
                                                        {3, LIGHTBLEND}, {2, ALPHABLEND}, {1, ALPHABLEND}};
    EXPECT_EQ(calls, want);
    size_t shapes = 0;
    for (const DrawSegment& s : plan) shapes += s.shapes;
    EXPECT_EQ(shapes, 18u);
    // Within one call, the shapes keep their order.
    EXPECT_TRUE(std::is_sorted(plan.begin(), plan.begin() + 4,
                               [](const DrawSegment& a, const DrawSegment& b) { return a.vertex < b.vertex; }));
}

}  // namespace
