// The quad batch on its own: shapes of one style go to GL in one call, a shape of another style
// draws the run before it out first (so later shapes stay on top), each kind of shape draws as
// its GL primitive, and what must come first (the clears put off) is done before each call.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Graphics.h"
#include "platform/QuadBatch.h"
#include "support/Pixels.h"

namespace {

using testsupport::Rgb;

int gBeforeDraws = 0;

class QuadBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Graphics(320, 200, 0, 60, 0)) << GraphicsError();
        SetClsColor(0, 0, 0);
        Cls();
        GrabPixmap(0, 0, 1, 1);  // the clear done
        batch = std::make_unique<QuadBatch>();
        gBeforeDraws = 0;
        batch->SetBeforeDraw([] { ++gBeforeDraws; });
    }
    // The batch here sets GL state behind the drawing layer's back: the next test starts anew.
    void TearDown() override { EndGraphics(); }

    void Quad(const RunStyle& style, float x, float y, float w, float h, float r, float g, float b) {
        const BatchVertex q[4] = {{x, y, 0, 0, r, g, b, 1},
                                  {x + w, y, 1, 0, r, g, b, 1},
                                  {x + w, y + h, 1, 1, r, g, b, 1},
                                  {x, y + h, 0, 1, r, g, b, 1}};
        batch->Add(style, q);
    }
    static Rgb At(int x, int y) { return testsupport::RgbAt(GrabPixmap(x, y, 1, 1), 0, 0); }

    std::unique_ptr<QuadBatch> batch;
};

RunStyle Style(int blend, ShapeKind kind = ShapeKind::Quad, float width = 1.0f) {
    RunStyle s;
    s.blend = blend;
    s.kind = kind;
    s.width = width;
    return s;
}

TEST_F(QuadBatchTest, ShapesOfOneStyleGoInOneCall) {
    const struct {
        const char* what;
        std::vector<RunStyle> shapes;
        int calls, quads;
    } cases[] = {
        {"one style", std::vector<RunStyle>(50, Style(SOLIDBLEND)), 1, 50},
        {"two blends in turn", {Style(SOLIDBLEND), Style(ALPHABLEND), Style(SOLIDBLEND)}, 3, 3},
        {"more than the batch holds", std::vector<RunStyle>(QuadBatch::kCorners / 4 + 1, Style(SOLIDBLEND)), 2,
         QuadBatch::kCorners / 4 + 1},
        {"triangles, then lines of two widths",
         {Style(SOLIDBLEND, ShapeKind::Triangle), Style(SOLIDBLEND, ShapeKind::Triangle),
          Style(SOLIDBLEND, ShapeKind::Line), Style(SOLIDBLEND, ShapeKind::Line, 3.0f)},
         3,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gBeforeDraws = 0;
        const BatchVertex corners[4] = {{10, 10, 0, 0, 1, 1, 1, 1},
                                        {20, 10, 0, 0, 1, 1, 1, 1},
                                        {20, 20, 0, 0, 1, 1, 1, 1},
                                        {10, 20, 0, 0, 1, 1, 1, 1}};
        for (const RunStyle& s : c.shapes) batch->Add(s, corners);
        batch->Flush();
        EXPECT_TRUE(batch->Empty());
        const DrawStats stats = batch->TakeStats();
        EXPECT_EQ(stats.drawCalls, c.calls);
        EXPECT_EQ(stats.quads, c.quads);
        EXPECT_EQ(gBeforeDraws, c.calls);
    }
}

TEST_F(QuadBatchTest, EachKindDrawsInOrderOverWhatCameBefore) {
    // A red square, a green triangle over its upper left half, a blue line across both, then a
    // quad added over the red, and a white point.
    Quad(Style(SOLIDBLEND), 10, 10, 40, 40, 1, 0, 0);
    const BatchVertex triangle[3] = {
        {10, 10, 0, 0, 0, 1, 0, 1}, {50, 10, 0, 0, 0, 1, 0, 1}, {10, 50, 0, 0, 0, 1, 0, 1}};
    batch->Add(Style(SOLIDBLEND, ShapeKind::Triangle), triangle);
    const BatchVertex line[2] = {{0, 30.5f, 0, 0, 0, 0, 1, 1}, {60, 30.5f, 0, 0, 0, 0, 1, 1}};
    batch->Add(Style(SOLIDBLEND, ShapeKind::Line), line);
    Quad(Style(LIGHTBLEND), 40, 40, 10, 10, 0, 0.5f, 0);
    const BatchVertex point = {70.5f, 70.5f, 0, 0, 1, 1, 1, 1};
    batch->Add(Style(SOLIDBLEND, ShapeKind::Point), &point);
    batch->Flush();
    EXPECT_EQ(At(15, 15), (Rgb{0, 255, 0}));  // the triangle over the square
    EXPECT_EQ(At(45, 35), (Rgb{255, 0, 0}));  // the square's lower right half
    EXPECT_EQ(At(45, 30), (Rgb{0, 0, 255}));  // the line over both
    EXPECT_EQ(At(12, 30), (Rgb{0, 0, 255}));
    EXPECT_TRUE(testsupport::NearRgb(At(45, 45), {255, 128, 0}, 1));  // added to the red
    EXPECT_EQ(At(70, 70), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(71, 70), (Rgb{0, 0, 0}));
    EXPECT_EQ(batch->TakeStats().drawCalls, 5);
}

TEST_F(QuadBatchTest, ADroppedRunDrawsNothing) {
    Quad(Style(SOLIDBLEND), 0, 0, 100, 100, 1, 1, 1);
    EXPECT_FALSE(batch->Empty());
    batch->Drop();
    batch->Flush();
    EXPECT_EQ(At(50, 50), (Rgb{0, 0, 0}));
    EXPECT_EQ(gBeforeDraws, 0);
}

}  // namespace
