#include "engine/window/Mouse.h"

#include <gtest/gtest.h>

#include <climits>

#include "engine/window/Letterbox.h"
#include "platform/Graphics.h"
#include "platform/Input.h"

namespace {

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        Mouse::Reset();
    }
    void TearDown() override {
        ResetInput();
        Mouse::Reset();
    }
};

TEST_F(MouseTest, ClickWithinOneFrameIsPressedOnceAndNotHeld) {
    InjectMouseButton(1, true);
    InjectMouseButton(1, false);
    Mouse::Update();
    EXPECT_EQ(Mouse::LeftPressed, 1);
    EXPECT_EQ(Mouse::LeftHolded, 0);
    EXPECT_EQ(Mouse::StartedLeftHolded(), 0);
    Mouse::Update();
    EXPECT_EQ(Mouse::LeftPressed, 0);
}

TEST_F(MouseTest, HoldIsSeenEveryFrameAndItsStartOnce) {
    // Right button: pressed and held for two updates, released before the third.
    InjectMouseButton(2, true);
    Mouse::Update();
    EXPECT_EQ(Mouse::RightPressed, 1);
    EXPECT_EQ(Mouse::RightHolded, 1);
    EXPECT_EQ(Mouse::StartedRightHolded(), 1);
    Mouse::Update();
    EXPECT_EQ(Mouse::RightPressed, 0);
    EXPECT_EQ(Mouse::RightHolded, 1);
    EXPECT_EQ(Mouse::StartedRightHolded(), 0);
    InjectMouseButton(2, false);
    Mouse::Update();
    EXPECT_EQ(Mouse::RightHolded, 0);
    EXPECT_EQ(Mouse::LastRightHolded, 1);
    // The middle button and the wheel.
    InjectMouseButton(3, true);
    InjectWheel(2);
    Mouse::Update();
    EXPECT_EQ(Mouse::MidPressed, 1);
    EXPECT_EQ(Mouse::StartedMidHolded(), 1);
    EXPECT_FLOAT_EQ(Mouse::z, 2.0f);
    EXPECT_FLOAT_EQ(Mouse::vz, 2.0f);
    Mouse::Update();
    EXPECT_FLOAT_EQ(Mouse::vz, 0.0f);
}

TEST_F(MouseTest, ClearInTheMiddleOfADragLastsUntilTheNextPress) {
    InjectMouseButton(1, true);
    Mouse::Update();
    Mouse::Update();
    ASSERT_EQ(Mouse::LeftHolded, 1);
    Mouse::Clear();
    EXPECT_EQ(Mouse::LeftHolded, 0);
    EXPECT_EQ(Mouse::LeftPressed, 0);
    EXPECT_EQ(Mouse::LastLeftHolded, 1);  // the previous update's flags stay
    // The button is still physically down: it reads as up until pressed again.
    Mouse::Update();
    EXPECT_EQ(Mouse::LeftHolded, 0);
    EXPECT_EQ(Mouse::LeftPressed, 0);
    InjectMouseButton(1, false);
    InjectMouseButton(1, true);
    Mouse::Update();
    EXPECT_EQ(Mouse::LeftPressed, 1);
    EXPECT_EQ(Mouse::LeftHolded, 1);
}

TEST_F(MouseTest, RectangleTestsIncludeEveryEdge) {
    const struct {
        int mx, my;
        int rx, ry, rw, rh;
        int inside;
    } rects[] = {
        {10, 10, 10, 10, 0, 0, 1},  // a zero-size rectangle holds its one point
        {11, 10, 10, 10, 0, 0, 0},
        {10, 11, 10, 10, 0, 0, 0},
        {0, 0, 0, 0, 100, 50, 1},
        {100, 50, 0, 0, 100, 50, 1},  // right and bottom edges are inside
        {101, 50, 0, 0, 100, 50, 0},
        {100, 51, 0, 0, 100, 50, 0},
        {-1, 0, 0, 0, 100, 50, 0},
        {-171, 5, -200, 0, 30, 10, 1},
        {5, 5, 10, 0, -20, 10, 0},                         // a negative width holds nothing
        {2147483647, 0, 2147483000, 0, 2147483000, 0, 1},  // no wrap-around at the int range
    };
    for (const auto& c : rects) {
        Mouse::x = c.mx;
        Mouse::y = c.my;
        EXPECT_EQ(Mouse::InRect(c.rx, c.ry, c.rw, c.rh), c.inside)
            << "(" << c.mx << "," << c.my << ") in " << c.rx << "," << c.ry << "," << c.rw << "," << c.rh;
    }
    const struct {
        int mx, my;
        float cx, cy, w, h;
        int inside;
    } centred[] = {
        {45, 45, 50, 50, 10, 10, 1}, {55, 55, 50, 50, 10, 10, 1},  {56, 50, 50, 50, 10, 10, 0},
        {50, 44, 50, 50, 10, 10, 0}, {50, 50, 50.5f, 50, 1, 1, 1}, {50, 50, 50.6f, 50, 1, 1, 0},
    };
    for (const auto& c : centred) {
        Mouse::x = c.mx;
        Mouse::y = c.my;
        EXPECT_EQ(Mouse::InRectCentred(c.cx, c.cy, c.w, c.h), c.inside) << c.mx << "," << c.my;
    }
    const struct {
        int px, py, mx, my, inside;
    } points[] = {
        {10, 10, 6, 6, 1},
        {10, 10, 14, 14, 1},
        {10, 10, 5, 10, 0},
        {10, 10, 10, 15, 0},
        // A point at the ends of the int range (a vector animation's part drawn far off, its
        // position held there) keeps its box: nothing wraps around.
        {INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN, 1},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0},
        {INT_MAX, INT_MAX, INT_MAX - 4, INT_MAX, 1},
        {INT_MAX, INT_MAX, INT_MIN, INT_MIN, 0},
    };
    for (const auto& c : points) {
        Mouse::x = c.mx;
        Mouse::y = c.my;
        EXPECT_EQ(Mouse::InPoint(c.px, c.py), c.inside) << c.px << "," << c.py << " " << c.mx << "," << c.my;
    }
}

// Positions come through the letterbox: over the band left of the logical screen they are
// negative, and they are truncated toward zero.
TEST_F(MouseTest, PositionsAreLogicalAndNegativeOverTheLeftBand) {
    const struct {
        int gw, gh;
        int wx, wy;
        int x, y;
    } cases[] = {
        {1366, 768, 0, 384, -171, 384},      {1366, 768, 171, 0, 0, 0},
        {1366, 768, 1365, 767, 1194, 767},   {1920, 1080, 0, 540, -170, 384},  // offset 170.67 at scale 1.40625
        {1920, 1080, 239, 540, 0, 384},                                        // logical -0.71 reads as 0, not -1
        {1920, 1080, 1919, 1079, 1193, 767},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Graphics(c.gw, c.gh, 0)) << GraphicsError();
        SetAspectResolution(1024, 768, 2);
        Mouse::Reset();
        InjectMouseMove(c.wx, c.wy);
        Mouse::Update();
        EXPECT_EQ(Mouse::x, c.x) << c.gw << " wide, window x " << c.wx;
        EXPECT_EQ(Mouse::y, c.y) << c.gh << " high, window y " << c.wy;
        EXPECT_FLOAT_EQ(Mouse::vx, static_cast<float>(c.x));
    }
    ResetAspect();
    EndGraphics();
}

}  // namespace
