// Hit shapes: polar form, layout at a transform, the point test, editing and the block form.
#include <gtest/gtest.h>

#include <vector>

#include "engine/screen/DrawObject.h"
#include "engine/screen/Shape.h"

namespace {

void ExpectPoints(const TAppShape& s, const std::vector<std::pair<float, float>>& pts) {
    ASSERT_EQ(s.DrawPolyX.size(), pts.size());
    for (size_t i = 0; i < pts.size(); ++i) {
        EXPECT_NEAR(s.DrawPolyX[i], pts[i].first, 1e-3) << "point " << i;
        EXPECT_NEAR(s.DrawPolyY[i], pts[i].second, 1e-3) << "point " << i;
    }
}

TEST(Shape, RectangleIsPolarAroundTheOrigin) {
    auto r = CreateAppShape_Rect(100, 50, 0, 0);
    EXPECT_EQ(r->CDist, 0);
    EXPECT_EQ(r->CAngle, 0);
    const float angles[] = {-153.4349f, -26.5651f, 26.5651f, 153.4349f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(r->PolyDist[i], 55.9017f, 1e-4);
        EXPECT_NEAR(r->PolyRot[i], angles[i], 1e-3);
    }
}

TEST(Shape, LayoutAtTransform) {
    struct Case {
        float rot, sx, sy;
        std::vector<std::pair<float, float>> pts;
    };
    const Case cases[] = {
        {0, 1, 1, {{150, 75}, {250, 75}, {250, 125}, {150, 125}}},
        {90, 1, 1, {{225, 50}, {225, 150}, {175, 150}, {175, 50}}},
        {0, 2, 1, {{100, 75}, {300, 75}, {300, 125}, {100, 125}}},
    };
    auto r = CreateAppShape_Rect(100, 50, 0, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rot);
        r->CountPoly(200, 100, c.rot, c.sx, c.sy);
        ExpectPoints(*r, c.pts);
    }
}

class SizedDraw : public TAppDrawObject {
public:
    int GetWidth() override { return 100; }
    int GetHeight() override { return 50; }
};

TEST(Shape, DrawObjectShapeTurnsAboutTheObjectOrigin) {
    SizedDraw d;
    auto s = CreateAppShapeFromDrawObject(&d);
    s->CountPoly(200, 100, 0, 1, 1);
    EXPECT_NEAR(s->DrawCX, 250, 1e-3);
    EXPECT_NEAR(s->DrawCY, 125, 1e-3);
    ExpectPoints(*s, {{200, 100}, {300, 100}, {300, 150}, {200, 150}});
    s->CountPoly(200, 100, 90, 1, 1);
    EXPECT_NEAR(s->DrawCX, 175, 1e-3);
    EXPECT_NEAR(s->DrawCY, 150, 1e-3);
    ExpectPoints(*s, {{200, 100}, {200, 200}, {150, 200}, {150, 100}});

    auto fallback = CreateAppShapeFromDrawObject(nullptr);
    fallback->CountPoly(0, 0, 0, 1, 1);
    ExpectPoints(*fallback, {{0, 0}, {128, 0}, {128, 128}, {0, 128}});
}

TEST(Shape, PointTestEdgesAndTruncation) {
    auto sq = CreateAppShape({0, 10, 10, 0}, {0, 0, 10, 10}, 0, 0);
    sq->CountPoly(0, 0, 0, 1, 1);
    struct Case {
        float x, y;
        int inside;
    };
    const Case cases[] = {
        {5, 5, 1},       {10, 5, 1},    {5, 10, 1},  // right and bottom edges are inside
        {0, 5, 0},       {5, 0, 0},     {11, 5, 0},  // left and top edges are outside
        {5.9f, 5.9f, 1}, {-0.5f, 5, 0},              // tested as (5, 5) and (0, 5)
    };
    for (const auto& c : cases) EXPECT_EQ(sq->PointOver(c.x, c.y), c.inside) << c.x << "," << c.y;

    // A self-crossing bow tie (two triangles meeting at (10, 10)) is hollow above and below the
    // crossing, where a ray from the point crosses its edges an even number of times.
    auto bow = CreateAppShape({0, 20, 20, 0}, {0, 20, 0, 20}, 0, 0);
    EXPECT_EQ(bow->PointIn(0, 0, 3, 10, 0, 1, 1), 1);
    EXPECT_EQ(bow->PointIn(0, 0, 19, 10, 0, 1, 1), 1);
    EXPECT_EQ(bow->PointIn(0, 0, 10, 5, 0, 1, 1), 0);
    EXPECT_EQ(bow->PointIn(0, 0, 10, 15, 0, 1, 1), 0);

    TAppShape empty;
    EXPECT_EQ(empty.PointIn(0, 0, 0, 0, 0, 1, 1), 0);
}

TEST(Shape, MovePointSnapsToTheGrid) {
    auto s = CreateAppShape_Rect(10, 10, 0, 0);
    s->CountPoly(0, 0, 0, 1, 1);
    s->MovePoint(0, 13, -13, 1);
    EXPECT_NEAR(s->PolyDist[0], 11.3137f, 1e-4);
    EXPECT_NEAR(s->PolyRot[0], -45.0f, 1e-4);
    s->MovePoint(9, 1, 1, 0);  // no such point: nothing happens
    s->CountPoly(0, 0, 0, 1, 1);
    EXPECT_NEAR(s->DrawPolyX[0], 8, 1e-4);
    EXPECT_NEAR(s->DrawPolyY[0], -8, 1e-4);
}

TEST(Shape, CopyOwnsItsArraysAndLaysOutLikeTheSource) {
    auto src = CreateAppShape({0, 10, 10, 0}, {0, 0, 10, 10}, 30, 40);
    auto copy = src->Copy();
    src->CountPoly(100, 100, 30, 2, 1);
    copy->CountPoly(100, 100, 30, 2, 1);
    EXPECT_FLOAT_EQ(copy->DrawCX, src->DrawCX);
    EXPECT_FLOAT_EQ(copy->DrawCY, src->DrawCY);
    EXPECT_EQ(copy->DrawPolyX, src->DrawPolyX);
    EXPECT_EQ(copy->DrawPolyY, src->DrawPolyY);

    const auto before = src->PolyDist;
    copy->MovePoint(0, 500, 500, 0);
    EXPECT_NE(copy->PolyDist, before);
    EXPECT_EQ(src->PolyDist, before);
}

TEST(Shape, SaveAndLoad) {
    auto src = CreateAppShape({0, 10, 10, 0}, {0, 0, 10, 10}, 3, 4);
    auto parent = CreateBlockFile("Component");
    src->Save(parent);
    auto block = GetBlockFile(parent, "Shape");
    EXPECT_EQ(GetBFInt(block, "Points"), 4);
    EXPECT_FLOAT_EQ(GetBFNumber(block, "Center", 0), 5);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(isBFEntry(block, "Point" + std::to_string(i)), 1);
    EXPECT_EQ(isBFEntry(block, "Point5"), 0);

    auto loaded = LoadAppShape(block);
    EXPECT_EQ(loaded->CDist, src->CDist);
    EXPECT_EQ(loaded->CAngle, src->CAngle);
    EXPECT_EQ(loaded->PolyDist, src->PolyDist);
    EXPECT_EQ(loaded->PolyRot, src->PolyRot);
    EXPECT_EQ(loaded->DrawPolyX.size(), 4u);

    // A damaged count loads the points that are there, and tests like the count that fits them.
    const std::string square = "Center = 0, 0\nPoint1 = 10, 0\nPoint2 = 10, 90\nPoint3 = 10, 180\n";
    auto fits = LoadAppShape(ParseBlockFileText("Points = 4\n" + square, "s"));
    auto damaged = LoadAppShape(ParseBlockFileText("Points = 2000000000\n" + square, "s"));
    EXPECT_EQ(damaged->PolyDist, fits->PolyDist);
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{3, 3}, {-3, 3}, {3, -3}, {-3, -3}, {8, 1}})
        EXPECT_EQ(damaged->PointIn(0, 0, x, y, 0, 1, 1), fits->PointIn(0, 0, x, y, 0, 1, 1)) << x << "," << y;

    for (const char* text : {"", "Points = -3\n"}) {
        auto s = LoadAppShape(ParseBlockFileText(text, "s"));
        EXPECT_TRUE(s->PolyDist.empty());
        EXPECT_EQ(s->PointIn(0, 0, 0, 0, 0, 1, 1), 0);
    }
}

}  // namespace
