// Scene nodes: derivation of the draw transform, draw-state loading and tree operations.
#include <gtest/gtest.h>

#include <array>

#include "engine/screen/AppObj.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/AppState.h"
#include "engine/screen/Collider.h"
#include "engine/screen/GameObject.h"
#include "platform/Graphics.h"

namespace {

TGameObjectPtr NodeAt(float x, float y, float sx = 1, float sy = 1, float rot = 0, float a = 1) {
    auto n = std::make_shared<TGameObject>();
    n->CurrState->dim->x = x;
    n->CurrState->dim->y = y;
    n->CurrState->tfr->sx = sx;
    n->CurrState->tfr->sy = sy;
    n->CurrState->tfr->Rotation = rot;
    n->CurrState->rgb->a = a;
    return n;
}

TEST(AppObjDerive, RootTakesScreenOriginAndScale) {
    TAppScreen screen;
    screen.DrawX = 10;
    screen.DrawY = 20;
    screen.DrawScale = 0.5f;
    auto root = NodeAt(100, 0, 1, 1, 0, 0.75f);
    root->Screen = &screen;
    root->UpdateSettings();
    EXPECT_FLOAT_EQ(root->DrawX, 55.0f);
    EXPECT_FLOAT_EQ(root->DrawY, 10.0f);
    EXPECT_FLOAT_EQ(root->DrawScaleX, 0.5f);
    EXPECT_FLOAT_EQ(root->DrawScaleY, 0.5f);
    EXPECT_FLOAT_EQ(root->DrawRotation, 0.0f);
    EXPECT_FLOAT_EQ(root->DrawAlpha, 0.75f);
}

TEST(AppObjDerive, NodeWithoutParentOrScreenShowsItsState) {
    auto n = NodeAt(-30, 12.5f, 2, 3, 45, 0.5f);
    n->UpdateSettings();
    EXPECT_NEAR(n->DrawX, -30.0f, 1e-4);
    EXPECT_NEAR(n->DrawY, 12.5f, 1e-4);
    EXPECT_FLOAT_EQ(n->DrawScaleX, 2.0f);
    EXPECT_FLOAT_EQ(n->DrawScaleY, 3.0f);
    EXPECT_FLOAT_EQ(n->DrawRotation, 45.0f);
    EXPECT_FLOAT_EQ(n->DrawAlpha, 0.5f);
}

TEST(AppObjDerive, ChildOffsetTurnedThenScaledOnScreenAxes) {
    auto parent = NodeAt(100, 50, 2, 1, 90, 0.5f);
    parent->CurrState->rgb->r = 200;
    auto child = NodeAt(10, 0, 1, 1, 0, 0.5f);
    child->SetRGB(1, 2, 3);
    parent->AddSubObject(child);
    parent->UpdateAllTheSettings();
    EXPECT_NEAR(child->DrawX, 100.0f, 1e-4);
    EXPECT_NEAR(child->DrawY, 60.0f, 1e-4);
    EXPECT_FLOAT_EQ(child->DrawScaleX, 2.0f);
    EXPECT_FLOAT_EQ(child->DrawRotation, 90.0f);
    EXPECT_FLOAT_EQ(child->DrawAlpha, 0.25f);
    EXPECT_EQ(child->DrawR, 1);  // its own colour, not the parent's
    EXPECT_EQ(child->DrawG, 2);
    EXPECT_EQ(child->DrawB, 3);
}

TEST(AppObjDrawSettings, RefusesHiddenNodesAndLeavesDrawStateAlone) {
    struct Case {
        const char* what;
        void (*hide)(TGameObject& parent, TGameObject& child);
    };
    const Case cases[] = {
        {"disabled", [](TGameObject&, TGameObject& c) { c.isEnabled = 0; }},
        {"zero scale x", [](TGameObject&, TGameObject& c) { c.DrawScaleX = 0; }},
        {"zero scale y", [](TGameObject&, TGameObject& c) { c.DrawScaleY = 0; }},
        {"disabled ancestor", [](TGameObject& p, TGameObject&) { p.isEnabled = 0; }},
        {"zero-scale ancestor", [](TGameObject& p, TGameObject&) { p.DrawScaleY = 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto parent = NodeAt(0, 0);
        auto child = NodeAt(0, 0);
        parent->AddSubObject(child);
        child->DrawR = 9;
        child->DrawAlpha = 0.3f;
        c.hide(*parent, *child);
        ResetDrawState();
        EXPECT_EQ(child->DrawSettings(), 1);
        int r, g, b;
        GetColor(r, g, b);
        EXPECT_EQ(r, 255);
        EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
    }
}

TEST(AppObjDrawSettings, LoadsDerivedValuesEvenAtAlphaZero) {
    auto n = NodeAt(0, 0);
    n->DrawR = 10;
    n->DrawG = 20;
    n->DrawB = 30;
    n->DrawScaleX = 2;
    n->DrawScaleY = 3;
    n->DrawRotation = 15;
    n->DrawAlpha = 0;
    n->DrawBlend = 4;
    ResetDrawState();
    EXPECT_EQ(n->DrawSettings(), 0);
    int r, g, b;
    GetColor(r, g, b);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{10, 20, 30}));
    EXPECT_FLOAT_EQ(sx, 2);
    EXPECT_FLOAT_EQ(sy, 3);
    EXPECT_FLOAT_EQ(GetRotation(), 15);
    EXPECT_FLOAT_EQ(GetAlpha(), 0);
    EXPECT_EQ(GetBlend(), 4);
}

TEST(AppObjStates, PushChangePopRestoresPushedLook) {
    auto n = NodeAt(5, 6);
    n->CurrState->name = "Idle";
    n->PushCurrState();
    n->SetX(99);
    n->PopCurrState();
    n->UpdateSettings();
    EXPECT_FLOAT_EQ(n->DrawX, 5);
    EXPECT_EQ(n->CurrState, n->PushedState);
    EXPECT_EQ(n->CurrState->name, "Idle_Copy");

    auto fresh = NodeAt(1, 1);
    auto before = fresh->CurrState;
    fresh->PopCurrState();
    EXPECT_EQ(fresh->CurrState, before);
}

TEST(AppObjTree, SearchFlattenAndRemove) {
    auto root = NodeAt(0, 0), a = NodeAt(0, 0), a1 = NodeAt(0, 0), b = NodeAt(0, 0);
    root->AddSubObject(a);
    a->AddSubObject(a1);
    root->AddSubObject(b);

    EXPECT_EQ(root->isObjectMySub(a1.get()), a1);
    EXPECT_EQ(a->isObjectMySub(b.get()), nullptr);
    EXPECT_EQ(root->isObjectMySub(root.get()), nullptr);

    TAppBasicObjList flat;
    root->AddAllObjectsToList(flat);
    EXPECT_EQ(flat, (TAppBasicObjList{root, a, a1, b}));

    auto stranger = NodeAt(0, 0);
    stranger->Parent = root.get();
    root->RemoveSubObject(stranger.get());
    EXPECT_EQ(stranger->Parent, nullptr);
    EXPECT_EQ(root->SubObjects.size(), 2u);

    a->RemoveFromParent();
    EXPECT_EQ(a->Parent, nullptr);
    EXPECT_EQ(root->SubObjects, (TAppBasicObjList{b}));
}

TEST(AppObjTree, AddSubObjectTakesParentScreenAndRebuildsItsLayers) {
    TAppScreen screen;
    auto root = NodeAt(0, 0);
    screen.AddObject(root);
    auto grandchild = NodeAt(0, 0);
    auto child = NodeAt(0, 0);
    child->AddSubObject(grandchild);  // child has no screen yet
    root->AddSubObject(child);
    EXPECT_EQ(child->Screen, &screen);
    EXPECT_EQ(grandchild->Screen, nullptr);  // only the added node takes the screen
    EXPECT_EQ(screen.DrawLayers, (TGameObjectList{root, child, grandchild}));
}

TEST(AppObjTree, FreeCutsTheWholeSubtree) {
    auto root = NodeAt(0, 0), child = NodeAt(0, 0);
    root->AddSubObject(child);
    root->TAppBasicObj::Free();
    EXPECT_TRUE(root->SubObjects.empty());
    EXPECT_EQ(root->CurrState, nullptr);
    EXPECT_EQ(child->Parent, nullptr);
    // A freed node derives nothing rather than failing.
    root->UpdateSettings();
    EXPECT_FLOAT_EQ(root->GetX(), 0);
}

TEST(AppObjTree, BackLinksNeverOutliveTheirTargets) {
    auto child = NodeAt(4, 0);
    TAppObjComponentPtr component;
    {
        auto parent = NodeAt(100, 0);
        parent->AddSubObject(child);
        component = CreateAppCollider(parent.get(), 10, 10, 0, 0);
    }
    EXPECT_EQ(child->Parent, nullptr);
    EXPECT_EQ(component->Obj, nullptr);
    child->UpdateSettings();
    EXPECT_NEAR(child->DrawX, 4, 1e-4);
}

}  // namespace
