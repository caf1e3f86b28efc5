// Parts of vector animations: each part's transform from its parent's, outlines, building the
// tree, animation selection and the whole-object drawing functions.
#include "engine/media/VectorParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/media/VectorObj.h"
#include "platform/Graphics.h"

namespace {

class VectorPartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDrawState();
        TAppVectorAnim::ResetGlobals();
    }
    void TearDown() override { ResetDrawState(); }

    // A root at (x, y) under the current draw state.
    static TAppVectorObjPtr RootAt(float x, float y) {
        auto root = CreateEmptyVectorObj();
        root->DrawX = x;
        root->DrawY = y;
        return root;
    }
    static TAppVectorPtr Child(TAppVector& parent, float dist, float angle) {
        auto v = CreateVector(dist, angle);
        parent.AddVector(v);
        v->SetCurrStateInd(0);
        return v;
    }
};

TEST_F(VectorPartsTest, ChildPositionFollowsParentDirectionAndRootScale) {
    struct Case {
        float scale;
        float rootRotation;  // the draw state's rotation
        float wantX, wantY;
    };
    for (const Case& c : std::vector<Case>{{1, 0, 100, 110}, {2, 0, 100, 120}, {1, 90, 90, 100}}) {
        SetScale(c.scale, c.scale);
        SetRotation(c.rootRotation);
        auto root = RootAt(100, 100);
        auto child = Child(*root, 10, 90);
        root->Calculate(0);
        EXPECT_NEAR(child->DrawX, c.wantX, 1e-4) << "scale " << c.scale << " rotation " << c.rootRotation;
        EXPECT_NEAR(child->DrawY, c.wantY, 1e-4);
        EXPECT_FLOAT_EQ(child->DrawScaleX, c.scale);
    }
}

TEST_F(VectorPartsTest, DirectionIsInheritedRotationAndScaleAreNot) {
    auto root = RootAt(0, 0);
    auto child = Child(*root, 10, 90);
    child->States[0]->Rotation = 45;
    child->States[0]->ScaleX = 3;
    child->SetCurrStateInd(0);
    auto grandchild = Child(*child, 10, 0);
    root->Calculate(0);
    EXPECT_FLOAT_EQ(child->DrawAngle, 90);
    EXPECT_FLOAT_EQ(child->DrawRot, 135);
    EXPECT_FLOAT_EQ(grandchild->DrawAngle, 90);  // the parent's Rotation turns only its graphic
    EXPECT_FLOAT_EQ(grandchild->DrawRot, 90);
    EXPECT_FLOAT_EQ(grandchild->DrawScaleX, 1);  // relative to the root, not the parent
    EXPECT_NEAR(grandchild->DrawY, 20, 1e-4);
}

TEST_F(VectorPartsTest, AlphaMultipliesDownTheTree) {
    SetAlpha(0.3f);  // the root's alpha is its own pose's alone
    auto root = RootAt(0, 0);
    root->States[0]->Alpha = 0.5f;
    root->SetCurrStateInd(0);
    auto child = Child(*root, 5, 0);
    child->States[0]->Alpha = 0.5f;
    child->SetCurrStateInd(0);
    auto grandchild = Child(*child, 5, 0);
    root->Calculate(0);
    EXPECT_FLOAT_EQ(root->DrawAlpha, 0.5f);
    EXPECT_FLOAT_EQ(child->DrawAlpha, 0.25f);
    EXPECT_FLOAT_EQ(grandchild->DrawAlpha, 0.25f);
}

TEST_F(VectorPartsTest, OutlineCornersOfAGraphic) {
    auto root = RootAt(200.5f, 200.5f);
    auto g = std::make_shared<TAVOImage>();
    g->Width = 100;
    g->Height = 50;
    root->AddImage(g);
    root->States[0]->n = 0;
    root->States[0]->hx = 50;
    root->States[0]->hy = 25;
    root->SetCurrStateInd(0);
    root->Calculate(1);
    ASSERT_TRUE(root->rect);
    EXPECT_EQ(root->rect->polyX, (std::array<int32_t, 4>{150, 250, 250, 150}));
    EXPECT_EQ(root->rect->polyY, (std::array<int32_t, 4>{175, 175, 225, 225}));

    // A graphic index outside the table, or an empty slot, has size 0.
    for (int n : {-1, 1, 5}) {
        root->CurrState->n = n;
        EXPECT_EQ(root->GetWidth(), 0) << n;
    }
    root->ResizeGFX(2);
    root->CurrState->n = 1;
    EXPECT_EQ(root->GetHeight(), 0);
}

TEST_F(VectorPartsTest, BuildingTheTreeKeepsPosesAlignedAndLayersOnTop) {
    auto root = RootAt(0, 0);
    auto a = Child(*root, 1, 0);
    auto b = Child(*a, 1, 0);
    auto c = Child(*root, 1, 0);
    auto d = Child(*c, 1, 0);
    EXPECT_EQ(d->Layer, 4);
    EXPECT_EQ(b->Root, root.get());
    auto e = CreateVector(1, 0);
    e->AddVector(CreateVector(2, 0));
    root->AddVector(e);
    EXPECT_EQ(e->Layer, 5);
    EXPECT_EQ(e->vectors[0]->Root, root.get()) << "an added subtree joins the object";

    root->AddNewState();
    for (TAppVector* p : {static_cast<TAppVector*>(root.get()), a.get(), b.get(), d.get(), e->vectors[0].get()})
        EXPECT_EQ(p->States.size(), 2u) << p->name;
    root->RemoveState(0);
    EXPECT_EQ(d->States.size(), 1u);

    // Removing a part takes its whole subtree out of the drawing list.
    root->CountPoints(0);
    ASSERT_EQ(root->AllVectors.size(), 7u);
    root->RemoveVector(c);
    EXPECT_EQ(root->AllVectors.size(), 5u);
    EXPECT_EQ(c->Root, nullptr);
    EXPECT_EQ(d->Root, nullptr) << "links up the removed subtree are cut";
    root->Draw();  // nothing removed is reached
}

TEST_F(VectorPartsTest, AnimationsAreSelectedByExactNameOrIndex) {
    auto root = RootAt(0, 0);
    auto child = Child(*root, 0, 0);
    for (const char* nm : {"Idle", "walk", "Walk"}) {
        auto anim = CreateVectorAnim(nullptr, nm);
        anim->AddStep(CreateAnimStep(root->GetState(0), 0, 0));
        root->AddAnim(anim);
    }
    ASSERT_EQ(child->anims.size(), 3u);
    root->ReCountAnimsData();  // asked of the root too, it keeps its own list
    ASSERT_EQ(root->anims.size(), 3u);
    EXPECT_EQ(child->anims.size(), 3u);
    EXPECT_EQ(root->GetAnim("Walk"), root->anims[2]);
    EXPECT_EQ(root->GetAnim("WALK"), nullptr);
    EXPECT_EQ(root->SetCurrAnim("Walk", 0.25f), 2);
    EXPECT_EQ(child->CurrAnim, child->anims[2]);
    EXPECT_FLOAT_EQ(child->CurrAnimPer, 0.25f);
    EXPECT_EQ(child->CurrAnim->States[0]->state, child->GetState(0)) << "each part animates its own poses";

    EXPECT_EQ(root->SetCurrAnim("Missing", 0.5f), 0);
    EXPECT_EQ(child->CurrAnim, nullptr);

    root->SetCurrAnimInd(1, 0.5f);
    EXPECT_EQ(child->CurrAnim, child->anims[1]);
    for (int bad : {-1, 3, 100}) {
        root->SetCurrAnimInd(bad, 0.9f);  // an index outside the list changes nothing
        EXPECT_EQ(child->CurrAnim, child->anims[1]);
        EXPECT_FLOAT_EQ(child->CurrAnimPer, 0.5f);
    }
    EXPECT_EQ(root->GetState(1), nullptr);
}

TEST_F(VectorPartsTest, DrawAVOAnimLeavesEveryPartInItsOwnPose) {
    auto root = RootAt(0, 0);
    auto child = Child(*root, 10, 90);
    root->AddImage(std::make_shared<TAVOImage>());  // a graphic, so that drawing sets the draw state
    child->States[0]->n = 0;
    root->CopyLastState();  // pose 1 everywhere
    child->States[1]->Dist = 30;
    root->States[1]->Rotation = 15;
    auto anim = CreateVectorAnim(nullptr, "Go");
    anim->AddStep(CreateAnimStep(root->GetState(0), 0, 0));
    anim->AddStep(CreateAnimStep(root->GetState(0), 0, 1));
    root->AddAnim(anim);
    root->SetCurrStateInd(1);

    SetRotation(7);
    SetScale(2, 3);
    SetAlpha(0.4f);
    SetColor(10, 20, 30);
    DrawAVOAnim(root, "Go", 0.5f, 50, 60);
    EXPECT_NEAR(child->DrawY, 60 + std::sin(97 * std::numbers::pi / 180) * 10 * 3, 1e-3)
        << "drawn in the animated pose";
    EXPECT_EQ(child->CurrState->Dist, 30) << "the child gets its own pose back, not pose 0";
    EXPECT_EQ(root->CurrState->Rotation, 15);
    EXPECT_EQ(child->CurrAnim, nullptr);

    float sx = 0, sy = 0;
    GetScale(sx, sy);
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    EXPECT_EQ(GetRotation(), 7);
    EXPECT_EQ(sx + sy * 10, 32);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.4f);
    EXPECT_EQ(r + g + b, 60);
}

}  // namespace
