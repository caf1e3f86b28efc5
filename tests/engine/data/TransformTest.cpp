#include "engine/data/Transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Image.h"

namespace {

// Stops of (Position, sx), sy = sx, Rotation = 10 * sx, squash kind 0.
TTransformPtr Curve(std::initializer_list<std::pair<float, float>> stops) {
    TTFRArray out;
    for (auto [pos, v] : stops) out.push_back(CreateTFR(v, v, 10 * v, pos));
    return CreateTransform(out);
}

std::vector<float> Positions(const TTransform& t) {
    std::vector<float> out;
    for (const auto& s : t.tfr) out.push_back(s->Position);
    return out;
}

class Transforms : public ::testing::Test {
protected:
    void SetUp() override { ResetTransformScratch(); }
};

TEST_F(Transforms, SmoothValueBeforeBetweenAndAfterStops) {
    struct Case {
        TTransformPtr curve;
        float per, want;
    };
    const auto one3 = Curve({{0, 1}, {1, 3}});
    const auto inner = Curve({{0.2f, 1}, {0.8f, 3}});
    const auto def = CreateDefaultTransform();
    const std::vector<Case> cases = {
        {one3, 0.25f, 1.5f}, {one3, 1, 3},     {one3, 2, 3},     {one3, -0.5f, 3},  // before: the LAST stop
        {inner, 0.1f, 3},    {inner, 0.2f, 1}, {inner, 0.5f, 2}, {def, -1, 1},     {def, 0.5f, 1}, {def, 2, 1},
    };
    for (const auto& c : cases) {
        float sx = 0, sy = 0, rot = 0;
        c.curve->PutToVar(sx, sy, rot, c.per);
        EXPECT_FLOAT_EQ(sx, c.want) << c.per;
        EXPECT_FLOAT_EQ(sy, c.want) << c.per;
        EXPECT_FLOAT_EQ(rot, c.curve == def ? 0.0f : 10 * c.want) << c.per;
    }
    // GetTfr: a new stop at Position 0 holding the value.
    const auto got = one3->GetTfr(0.25f);
    EXPECT_FLOAT_EQ(got->sx, 1.5f);
    EXPECT_EQ(got->Position, 0.0f);
}

TEST_F(Transforms, SquashKindOfTheLeftStopShapesTheSegment) {
    const float r = std::sqrt(0.5f);
    const float want[7] = {0.5f, r, 1, 0, r, 0, -1};  // per 0.5: itself, sin 45/90/180, cos 45/90/180
    for (int kind = 0; kind < 7; ++kind) {
        auto curve = Curve({{0, 0}, {1, 1}});
        curve->tfr[0]->isSplaszczenie = kind;
        curve->tfr[1]->isSplaszczenie = 3;  // the right stop's kind does not count
        TTFR target;
        target.isSplaszczenie = 5;
        target.Position = 0.9f;
        curve->PutTfr(target, 0.5f);
        EXPECT_NEAR(target.sx, want[kind], 1e-6f) << kind;
        EXPECT_EQ(target.isSplaszczenie, 5);
        EXPECT_EQ(target.Position, 0.9f);
    }
}

TEST_F(Transforms, StepwiseValueOneStopAndNoStop) {
    const auto curve = Curve({{0, 1}, {0.5f, 2}, {1, 3}});
    for (auto [per, want] : std::vector<std::pair<float, float>>{{0.49f, 1}, {0.5f, 2}, {1, 3}, {-1, 3}}) {
        float sx = 0, sy = 0, rot = 0;
        curve->PutSolidToVar(sx, sy, rot, per);
        EXPECT_EQ(sx, want) << per;
        EXPECT_EQ(rot, 10 * want) << per;
    }

    const auto single = Curve({{0.3f, 2}});
    for (float per : {-1.0f, 0.0f, 0.3f, 5.0f}) {
        TTFR target;
        single->PutTfr(target, per);
        EXPECT_EQ(target.sx, 2);
        EXPECT_EQ(target.Position, 0.3f);  // copied too
        float sx = 0, sy = 0, rot = 0;
        single->PutSolidToVar(sx, sy, rot, per);
        EXPECT_EQ(sx, 2);
    }

    // Without stops: the identity, never a crash.
    TTransform empty;
    float sx = 5, sy = 5, rot = 5;
    empty.PutToVar(sx, sy, rot, 0.5f);
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(sy, 1);
    EXPECT_EQ(rot, 0);
    rot = 5;
    empty.PutSolidToVar(sx, sy, rot, 0.5f);
    EXPECT_EQ(rot, 0);
}

TEST_F(Transforms, EditingKeepsStopsSorted) {
    struct Case {
        float position;
        std::vector<float> order;
    };
    for (const auto& c :
         std::vector<Case>{{0.5f, {0, 0.5f, 0.5f, 1}}, {0.5004f, {0, 0.5f, 0.5004f, 1}}, {0.4f, {0, 0.4f, 0.5f, 1}}}) {
        auto curve = Curve({{0, 1}, {0.5f, 2}, {1, 3}});
        auto stop = CreateTFR(9, 9, 0, c.position);
        curve->PutIn(stop);
        EXPECT_EQ(Positions(*curve), c.order) << c.position;
        // A new stop at an equal position goes after the old one.
        const size_t at = (c.position == 0.4f) ? 1 : 2;
        EXPECT_EQ(curve->tfr[at], stop) << c.position;
    }
    auto added = Curve({{0, 1}, {1, 3}});
    auto stop = CreateTFR(2, 2, 0, 0.5f);
    added->AddTFR(stop);
    stop->sx = 7;  // kept by reference
    EXPECT_EQ(added->GetTfr(0.5f)->sx, 7);

    // SplitIn keeps the curve's values everywhere.
    auto split = Curve({{0, 1}, {1, 3}});
    const auto made = split->SplitIn(0.25f);
    EXPECT_EQ(Positions(*split), (std::vector<float>{0, 0.25f, 1}));
    EXPECT_EQ(made->Position, 0.25f);
    EXPECT_FLOAT_EQ(made->sx, 1.5f);
    for (float per : {0.0f, 0.1f, 0.25f, 0.6f, 1.0f}) EXPECT_FLOAT_EQ(split->GetTfr(per)->sx, 1 + 2 * per) << per;

    auto removed = Curve({{0, 1}, {0.5f, 2}, {1, 3}});
    removed->RemoveTFR(0);
    EXPECT_EQ(Positions(*removed), (std::vector<float>{0.5f, 1}));
    removed->RemoveTFR(5);
    removed->RemoveTFR(-1);
    EXPECT_EQ(Positions(*removed), (std::vector<float>{0.5f, 1}));
}

TEST_F(Transforms, CopyIsDeepAndFreeEmpties) {
    auto curve = Curve({{0, 1}, {1, 3}});
    curve->position = 0.4f;
    auto copy = curve->Copy();
    EXPECT_EQ(copy->ToString(), curve->ToString());
    EXPECT_EQ(copy->position, 0.0f);
    copy->tfr[1]->sx = 100;
    EXPECT_EQ(curve->tfr[1]->sx, 3);
    curve->Free();
    EXPECT_TRUE(curve->tfr.empty());
}

TEST_F(Transforms, TextFormsAndTheTwoStopRule) {
    const std::string def =
        "1.00000000,1.00000000,0.00000000,0.00000000,0#1.00000000,1.00000000,0.00000000,1.00000000,0";
    EXPECT_EQ(CreateDefaultTransform()->ToString(), def);
    EXPECT_EQ(SaveTransformeToString(CreateDefaultTransform()), def);

    auto odd = Curve({{0.9f, 2}, {0.1f, 0.123456789f}});
    odd->tfr[0]->isSplaszczenie = 4;
    TTransform back;
    back.FromString(odd->ToString());
    EXPECT_EQ(back.ToString(), odd->ToString());
    EXPECT_EQ(Positions(back), (std::vector<float>{0.9f, 0.1f}));  // order kept
    back.FromString("");
    EXPECT_TRUE(back.tfr.empty());
    back.FromString(def + "#");
    EXPECT_EQ(back.ToString(), def);

    // Two stops with the second at 0: the loader moves it to 1, FromString does not.
    const std::string both0 = "1,1,0,0,0#2,2,0,0,0";
    EXPECT_EQ(Positions(*LoadTransformFromString(both0)), (std::vector<float>{0, 1}));
    back.FromString(both0);
    EXPECT_EQ(Positions(back), (std::vector<float>{0, 0}));
    EXPECT_EQ(Positions(*LoadTransformFromString("1,1,0,0,0#2,2,0,0,0#3,3,0,0,0")), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(Positions(*CreateTransform({CreateTFR(1, 1, 0, 0), CreateTFR(1, 1, 0, 0)})), (std::vector<float>{0, 1}));
}

// A small stand-in for a game object with states.
struct FakeState {
    std::shared_ptr<TTFR> tfr = std::make_shared<TTFR>();
};
struct FakeObject {
    std::shared_ptr<FakeState> CurrState, DefaultState;
    std::vector<std::shared_ptr<FakeState>> States;
};

TEST_F(Transforms, GameObjectDefaultCurveHoldsTheStatesTransform) {
    FakeObject object;
    object.States.push_back(std::make_shared<FakeState>());
    object.States[0]->tfr->SetData(2, 3, 45, 0.7f);
    auto curve = CreateGameObjectDefaultTransform(object);
    EXPECT_EQ(object.DefaultState, object.States[0]);  // set on the way
    EXPECT_EQ(Positions(*curve), (std::vector<float>{0, 1}));
    for (float per : {0.0f, 0.5f, 1.0f}) {
        float sx = 0, sy = 0, rot = 0;
        curve->PutToVar(sx, sy, rot, per);
        EXPECT_EQ(sx, 2);
        EXPECT_EQ(sy, 3);
        EXPECT_EQ(rot, 45);
    }
    EXPECT_NE(curve->tfr[0], object.States[0]->tfr);  // copies

    object.CurrState = std::make_shared<FakeState>();
    object.CurrState->tfr->SetData(5, 5, 0, 0);
    EXPECT_EQ(CreateGameObjectDefaultTransform(object)->GetTfr(0.5f)->sx, 5);
    FakeObject stateless;
    EXPECT_EQ(CreateGameObjectDefaultTransform(stateless)->ToString(), CreateDefaultTransform()->ToString());
    EXPECT_EQ(CreateGameObjectDefaultTransform(std::shared_ptr<FakeObject>())->tfr.size(), 2u);
    auto shared = std::make_shared<FakeObject>(object);
    EXPECT_EQ(CreateGameObjectDefaultTransform(shared)->GetTfr(0.5f)->sx, 5);
}

TEST_F(Transforms, PlotScale) {
    TTransform t;
    struct Case {
        float value, h, want;
    };
    for (const auto& c : std::vector<Case>{{3, 100, 50}, {-3, 100, -50}, {1, 100, 25}, {0, 100, 0}})
        EXPECT_EQ(t.CountValue(c.value, c.h), c.want) << c.value;
    EXPECT_EQ(t.CountTrackX(10, 0.5f, 100), 60);
    EXPECT_EQ(t.CountTrackY(10, 1, 100), 35);  // a quarter above the middle
}

TEST_F(Transforms, PlotDrawsLinesOrSteps) {
    ASSERT_TRUE(Graphics(240, 120, 0)) << GraphicsError();
    ResetDrawState();
    SetClsColor(0, 0, 0);
    Cls();
    // sx from 0 (middle) to 2 (top edge); sy stays 0 (on the middle line).
    TTFRArray stops{CreateTFR(0, 0, 0, 0), CreateTFR(2, 0, 0, 1)};
    auto curve = CreateTransform(stops);
    curve->Draw(10, 10, 100, 100);  // middle line at y 60, top at 10
    curve->DrawSolid(130, 10, 100, 100);
    const auto pix = GrabPixmap(0, 0, 240, 120);
    ASSERT_TRUE(pix);
    auto rgb = [&](int x, int y) { return static_cast<uint32_t>(pix->ReadPixel(x, y)) & 0xFFFFFFu; };
    EXPECT_TRUE(rgb(60, 34) == 0xFF0000u || rgb(60, 35) == 0xFF0000u || rgb(60, 36) == 0xFF0000u);  // sloping sx
    EXPECT_EQ(rgb(60, 60), 0x00FF00u);  // sy over the zero line
    EXPECT_EQ(rgb(60, 12), 0u);
    EXPECT_EQ(rgb(180, 10), 0xFF0000u);  // the step at the top edge
    EXPECT_EQ(rgb(180, 35), 0u);
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(g, 255);
}

}  // namespace
