// The collider component: its hit area over the object, copies, its block, and sizing.
#include <gtest/gtest.h>

#include "engine/screen/Collider.h"
#include "engine/screen/GameObject.h"
#include "engine/window/Mouse.h"

namespace {

// Stands in for a widget: a sized object.
class Widget : public TGameObject {
public:
    int w = 0, h = 0;
    int GetWidgetSize(int& ow, int& oh) override {
        ow = w;
        oh = h;
        return 1;
    }
};

TEST(Collider, WidgetGetsARectangleOfItsSizeFromItsCorner) {
    auto button = std::make_shared<Widget>();
    button->w = 100;
    button->h = 40;
    auto c = CreateAppCollider(button.get(), 7, 7, 1, 1);  // a widget's own size wins
    EXPECT_EQ(c->name, "Collider");
    EXPECT_EQ(c->Obj, button.get());
    EXPECT_EQ(button->Comp_Collider, c);
    c->Shape->CountPoly(0, 0, 0, 1, 1);
    const std::vector<float> xs = {0, 100, 100, 0}, ys = {0, 0, 40, 40};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(c->Shape->DrawPolyX[i], xs[i], 1e-4);
        EXPECT_NEAR(c->Shape->DrawPolyY[i], ys[i], 1e-4);
    }
    // Turned and scaled with the object.
    button->SetPosition(200, 100);
    button->SetRot(90);
    button->SetScaleX(2);
    button->UpdateSettings();
    EXPECT_EQ(c->isPointInArea(190, 150), 1);  // below the origin once turned
    EXPECT_EQ(c->isPointInArea(250, 110), 0);  // where it lay unturned

    auto unloaded = std::make_shared<Widget>();  // an image widget without its image: 0 x 0
    auto none = CreateAppCollider(unloaded.get(), 50, 50, 0, 0);
    unloaded->UpdateSettings();
    EXPECT_EQ(none->isPointInArea(0, 0), 0);
}

TEST(Collider, ObjectYIsTruncatedBeforeTheTest) {
    auto obj = std::make_shared<TGameObject>();
    auto c = CreateAppCollider(obj.get(), 10, 10, 5, 5);  // covers (0, 0) to (10, 10) from the origin
    struct Case {
        float objY, py;
        int inside;
    };
    const Case cases[] = {
        {10.9f, 20, 1},  // tested as if at y 10: the bottom edge lies at 20
        {10.9f, 21, 0},
        {-0.5f, 10, 1},  // tested as if at y 0
        {-0.5f, 0, 0},
    };
    for (const auto& k : cases) {
        obj->DrawX = 0;
        obj->DrawY = k.objY;
        EXPECT_EQ(c->isPointInArea(5, k.py), k.inside) << k.objY << " " << k.py;
    }
    Mouse::Reset();
    Mouse::x = 5;
    Mouse::y = 5;
    obj->DrawY = 0;
    EXPECT_EQ(c->isOver(), 1);
    Mouse::Reset();
    EXPECT_EQ(c->isCollision(c->Shape), 0);
}

TEST(Collider, CopyHasItsOwnShapeAndNoName) {
    auto obj = std::make_shared<TGameObject>();
    auto c = CreateAppCollider(obj.get(), 10, 10, 0, 0);
    auto copy = std::dynamic_pointer_cast<TAppCollider>(c->Copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name, "");
    EXPECT_EQ(copy->Obj, nullptr);
    ASSERT_NE(copy->Shape, nullptr);
    EXPECT_NE(copy->Shape, c->Shape);
    EXPECT_EQ(copy->Shape->PolyDist, c->Shape->PolyDist);
    copy->Shape->CountPoly(0, 0, 0, 1, 1);
    copy->Shape->MovePoint(0, 40, 40, 0);
    EXPECT_NE(copy->Shape->PolyDist, c->Shape->PolyDist);
}

TEST(Collider, BlockRoundTripAndMissingShape) {
    auto obj = std::make_shared<TGameObject>();
    auto c = CreateAppCollider(obj.get(), 30, 20, 0, 0);
    c->name = "Hit";
    auto block = CreateBlockFile("Component");
    c->Save(block);
    TAppCollider loaded;
    loaded.Load(block, nullptr);
    EXPECT_EQ(loaded.name, "Hit");
    EXPECT_EQ(loaded.Shape->PolyDist, c->Shape->PolyDist);

    TAppCollider bare;
    bare.Load(ParseBlockFileText("Type = 1\n", "c"), nullptr);
    ASSERT_NE(bare.Shape, nullptr);
    EXPECT_TRUE(bare.Shape->PolyDist.empty());
}

TEST(Collider, ResizingKeepsOneColliderThatFollowsTheSize) {
    auto button = std::make_shared<Widget>();
    button->w = 10;
    button->h = 10;
    auto first = ResizeAppCollider(button.get(), 10, 10, 5, 5);
    button->w = 200;
    button->h = 50;
    auto again = ResizeAppCollider(button.get(), 200, 50, 100, 25);
    EXPECT_EQ(again, first);
    EXPECT_EQ(button->Components.size(), 1u);
    button->UpdateSettings();
    EXPECT_EQ(first->isPointInArea(150, 40), 1);

    // CreateAppCollider itself always adds, leaving the shortcut on the first.
    auto second = CreateAppCollider(button.get(), 1, 1, 0, 0);
    EXPECT_EQ(button->Components.size(), 2u);
    EXPECT_EQ(button->Comp_Collider, first);

    auto loose = CreateAppCollider(nullptr, 4, 4, 0, 0);
    EXPECT_EQ(loose->Obj, nullptr);
    EXPECT_EQ(loose->isPointInArea(0, 0), 0);
}

}  // namespace
