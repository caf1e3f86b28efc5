// The frame cache's comparisons, on records made by hand (no window needed): where two frames'
// shapes differ, when a difference is small enough to draw again over the copy, and when the
// first runs are worth keeping. The cache's pictures are checked against frames drawn in full in
// DrawBatchTest.
#include <gtest/gtest.h>

#include <vector>

#include "platform/FrameCache.h"

namespace {

// A 200 x 100 window drawn in virtual units of the same size.
const FrameWindow kWindow{200, 100, 1, 200.0f, 100.0f};
const Scissor kWhole{0, 0, 200, 100};

RunStyle Picture(unsigned id, ShapeKind kind = ShapeKind::Quad, float width = 1.0f) {
    RunStyle s;
    s.id = id;
    s.kind = kind;
    s.width = width;
    return s;
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

// The differences of two records of one run each.
std::vector<PixelRect> Differences(const FrameRecord& a, const FrameRecord& b) {
    std::vector<PixelRect> dirty;
    AddDifferences(a, 0, b, 0, 0, dirty);
    return dirty;
}

TEST(FrameCacheTest, ShapesTouchTheirPixelsWithOneToSpareInGLRows) {
    FrameRecord rec;
    AddQuad(rec, Picture(1), 10, 20, 30, 40);
    // Rows count from the bottom: rows 20..60 from the top are 40..80 from the bottom.
    EXPECT_EQ(ShapePixels(rec, rec.runs[0], rec.vertices.data()), (PixelRect{9, 39, 41, 81}));
    // Clamped to the window.
    AddQuad(rec, Picture(2), -50, 90, 300, 40);
    EXPECT_EQ(ShapePixels(rec, rec.runs[1], rec.vertices.data() + 4), (PixelRect{0, 0, 200, 11}));
    // A line reaches half its width further.
    const BatchVertex line[2] = {{100, 50, 0, 0, 1, 1, 1, 1}, {150, 50, 0, 0, 1, 1, 1, 1}};
    rec.Add(Picture(0, ShapeKind::Line, 6.0f), line, kWhole, kWindow);
    EXPECT_EQ(ShapePixels(rec, rec.runs[2], rec.vertices.data() + 8), (PixelRect{96, 46, 154, 54}));
}

TEST(FrameCacheTest, DifferencesLieWhereShapesChanged) {
    const RunStyle tile = Picture(1);
    // Five tiles in a row, 20 wide, 30 apart.
    auto row = [&](int moved, int gone, unsigned picture) {
        FrameRecord rec;
        for (int i = 0; i < 5; ++i)
            if (i != gone) AddQuad(rec, picture ? Picture(picture) : tile, 30.0f * i + (i == moved ? 5 : 0), 10, 20, 20);
        return rec;
    };
    const FrameRecord still = row(-1, -1, 0);
    const PixelRect tile2 = {59, 69, 81, 91}, tile2Moved = {64, 69, 86, 91};
    const struct {
        const char* what;
        FrameRecord other;
        std::vector<PixelRect> want;
    } cases[] = {
        {"the same", row(-1, -1, 0), {}},
        {"a tile moved: where it was and is", row(2, -1, 0), {tile2.Join(tile2Moved)}},
        {"a tile gone from the middle: only where it was", row(-1, 2, 0), {tile2}},
        {"another picture: every tile", row(-1, -1, 7),
         {{0, 69, 21, 91}, {29, 69, 51, 91}, tile2, {89, 69, 111, 91}, {119, 69, 141, 91}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Differences(still, c.other), c.want);
    }
}

TEST(FrameCacheTest, SmallDifferencesAreFewRectanglesOverLittleOfTheWindow) {
    FrameRecord rec;
    AddQuad(rec, Picture(1), 0, 0, 200, 100);
    auto boxes = [](int n, int side) {
        std::vector<PixelRect> dirty;
        for (int i = 0; i < n; ++i) AddDirty({(i % 10) * 20, (i / 10) * 20, (i % 10) * 20 + side, (i / 10) * 20 + side}, dirty);
        return dirty;
    };
    EXPECT_EQ(boxes(16, 5).size(), 16u);  // apart: not merged
    EXPECT_TRUE(SmallDifference(rec, boxes(16, 5)));
    EXPECT_FALSE(SmallDifference(rec, boxes(17, 5)));
    // A fifth of the window (4,000 pixels) at most.
    EXPECT_TRUE(SmallDifference(rec, {{0, 0, 40, 100}}));
    EXPECT_FALSE(SmallDifference(rec, {{0, 0, 41, 100}}));
    // Overlapping boxes are one.
    EXPECT_EQ(boxes(20, 21).size(), 1u);
}

TEST(FrameCacheTest, RunsWorthKeepingFillMoreThanTheCopyCosts) {
    FrameRecord rec;
    AddQuad(rec, Picture(1), 0, 0, 200, 100);
    EXPECT_FALSE(WorthKeeping(rec, 1));  // one window: the copy costs as much
    AddQuad(rec, Picture(2), 0, 0, 100, 100);
    EXPECT_TRUE(WorthKeeping(rec, 2));  // one and a half
    const BatchVertex triangle[3] = {{0, 0, 0, 0, 1, 1, 1, 1}, {200, 0, 0, 0, 1, 1, 1, 1}, {0, 100, 0, 0, 1, 1, 1, 1}};
    FrameRecord fan;
    AddQuad(fan, Picture(1), 0, 0, 200, 100);
    fan.Add(Picture(0, ShapeKind::Triangle), triangle, kWhole, kWindow);
    EXPECT_DOUBLE_EQ(RunsArea(fan, 2), 30000.0);
}

TEST(FrameCacheTest, AlikeRunsStopWhereTheDifferenceGrowsTooLarge) {
    auto frame = [](float pulse, float drift) {
        FrameRecord rec;
        AddQuad(rec, Picture(1), 0, 0, 200, 100);  // the background
        AddQuad(rec, Picture(2), 10, 10, 5 + pulse, 5);  // a small pulse
        AddQuad(rec, Picture(3), drift, 0, 100, 100);  // half the window, sliding
        AddQuad(rec, Picture(4), 150, 50, 10, 10);
        return rec;
    };
    std::vector<PixelRect> dirty;
    EXPECT_EQ(AlikeRuns(frame(0, 0), frame(0, 0), 10, dirty), 4u);
    EXPECT_TRUE(dirty.empty());
    EXPECT_EQ(AlikeRuns(frame(0, 0), frame(2, 0), 10, dirty), 4u);
    EXPECT_EQ(dirty.size(), 1u);
    EXPECT_EQ(AlikeRuns(frame(0, 0), frame(2, 0), 2, dirty), 2u);  // at most the span asked
    EXPECT_EQ(AlikeRuns(frame(0, 0), frame(2, 40), 10, dirty), 2u);  // the slide is too much
    EXPECT_EQ(dirty.size(), 1u);
    // After other clears, nothing is alike.
    FrameRecord cleared = frame(0, 0);
    cleared.clears.push_back({0, 0, 200, 100, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(AlikeRuns(cleared, frame(0, 0), 10, dirty), 0u);
}

}  // namespace
