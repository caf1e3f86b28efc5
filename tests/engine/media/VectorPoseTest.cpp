// Poses of vector-animation parts (block form, copying) and animation sequences (building,
// evaluation at a position, block form).
#include "engine/media/VectorPose.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>
#include <vector>

#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "engine/media/VectorParts.h"

namespace {

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

class VectorPoseTest : public ::testing::Test {
protected:
    void SetUp() override {
        gErrors.clear();
        WatchErrorReports(&CaptureError);
        TAppVectorAnim::ResetGlobals();
    }
    void TearDown() override { WatchErrorReports(nullptr); }
};

// A part whose pose i has Dist 10 * i, Angle i, hx 100 * i (and a graphic and colour of its own).
TAppVectorPtr PartWithPoses(int count) {
    auto part = std::make_shared<TAppVector>();
    for (int i = 0; i < count; ++i) {
        auto s = CreateVectorState(10.0f * i, float(i), 1, 1, 0, 1, 7);
        s->hx = 100.0f * i;
        s->red = 10;
        part->States.push_back(s);
    }
    return part;
}

TAppVectorAnimPtr AnimOf(TAppVector& part, const std::vector<std::pair<int, float>>& steps) {
    auto anim = CreateVectorAnim(nullptr, "Walk");
    for (const auto& [index, per] : steps) {
        anim->States.push_back(CreateAnimStep(part.GetState(index), index, per));
        anim->StatesInd.push_back(index);
    }
    return anim;
}

TEST_F(VectorPoseTest, PoseBlockRoundTripTruncatesTheHandle) {
    auto s = CreateVectorState(12.5f, 30, 2, 0.5f, 45, 0.25f, 3);
    s->Name = "Idle";
    s->hx = 2.9f;
    s->hy = -2.9f;
    s->red = 1;
    s->green = 2;
    s->blue = 3;
    auto block = CreateBlockFile("STATE");
    s->Save(block);
    s->Save(block);  // saving again overwrites the same entries
    EXPECT_EQ(GetBlockEntryNO_NEW(block, "Handle")->Value, (std::vector<std::string>{"2", "-2"}));
    EXPECT_EQ(GetBlockEntryNO_NEW(block, "RGB")->GetSize(), 4);
    EXPECT_EQ(GetBlockFileEntrysList(block, "").size(), 6u);

    // Read back from the written text, as a package would be.
    auto reread = ParseBlockFileText(block->ToString2(""), "R");
    TAppVectorState back;
    back.Load(GetBlockFile(reread, "STATE"));
    EXPECT_EQ(back.Name, "Idle");
    EXPECT_FLOAT_EQ(back.Dist, 12.5f);
    EXPECT_FLOAT_EQ(back.Angle, 30);
    EXPECT_FLOAT_EQ(back.Rotation, 45);
    EXPECT_FLOAT_EQ(back.ScaleX, 2);
    EXPECT_FLOAT_EQ(back.ScaleY, 0.5f);
    EXPECT_FLOAT_EQ(back.Alpha, 0.25f);
    EXPECT_EQ(back.n, 3);
    EXPECT_EQ(back.hx, 2.0f);
    EXPECT_EQ(back.hy, -2.0f);
    EXPECT_EQ(back.red + back.green * 10 + back.blue * 100, 321);
}

TEST_F(VectorPoseTest, MissingEntriesReadAsZero) {
    auto block = ParseBlockFileText("STATE{\n name = \"Only\"\n RGB = 0.5, 128.7\n}\n", "R");
    TAppVectorState s;
    s.Width = 9;
    s.Load(GetBlockFile(block, "STATE"));
    EXPECT_EQ(s.Name, "Only");
    EXPECT_EQ(s.ScaleX, 0);
    EXPECT_EQ(s.ScaleY, 0);
    EXPECT_EQ(s.Alpha, 0.5f);
    EXPECT_EQ(s.red, 128);  // a real colour value is truncated
    EXPECT_EQ(s.green, 0);
    EXPECT_EQ(s.blue, 0);
    EXPECT_EQ(s.n, 0);      // graphic 0, not "none"
    EXPECT_EQ(s.Width, 9);  // not stored, so untouched
}

TEST_F(VectorPoseTest, CopyFromCopiesRectanglesOnlyWhenTheSourceHasThem) {
    auto withBoxes = CreateVectorState(1, 2, 3, 4, 5, 0.5f, 6);
    withBoxes->Name = "Src";
    withBoxes->box = CreateDim(1, 2, 3, 4, 0.7f);
    withBoxes->tempBox = CreateDim(5, 6, 7, 8);

    TAppVectorState fresh;
    fresh.CopyFrom(*withBoxes);
    EXPECT_EQ(fresh.Name, "");
    EXPECT_EQ(fresh.n, 6);
    ASSERT_TRUE(fresh.box && fresh.tempBox);
    EXPECT_NE(fresh.box, withBoxes->box);  // own rectangles, not shared ones
    EXPECT_EQ(fresh.box->w, 3);
    EXPECT_EQ(fresh.box->position, 0);  // only x, y, w, h are copied
    EXPECT_EQ(fresh.tempBox->h, 8);

    auto keep = fresh.box;
    fresh.CopyFrom(TAppVectorState());  // a source without rectangles leaves ours alone
    EXPECT_EQ(fresh.box, keep);
    EXPECT_EQ(fresh.n, -1);

    EXPECT_EQ(CopyVectorState(withBoxes)->Name, "");
    TAppVectorState idle;
    idle.Name = "Idle";
    EXPECT_EQ(idle.ToString(),
              "(NAME: Idle)    (Dist, angle: 0.00000000, 0.00000000)    (Rot, scale: 0.00000000, 1.00000000, "
              "1.00000000)    ");
}

TEST_F(VectorPoseTest, EvaluationInterpolatesBetweenTheStepsAroundThePosition) {
    auto part = PartWithPoses(3);
    auto anim = AnimOf(*part, {{0, 0.0f}, {1, 0.5f}, {2, 1.0f}});
    struct Case {
        float per;
        float dist;  // poses have Dist 0, 10, 20
        float hx;    // and hx 0, 100, 200
    };
    for (const Case& c : std::vector<Case>{{0.25f, 5, 50},
                                           {0.5f, 10, 100},
                                           {0.75f, 15, 150},
                                           {-0.3f, 0, 0},
                                           {1.7f, 20, 200},
                                           {0.0f, 0, 0},
                                           {1.0f, 20, 200}}) {
        TAppVectorState target;
        target.n = 42;
        target.red = 99;
        anim->CountStepState(target, c.per);
        EXPECT_FLOAT_EQ(target.Dist, c.dist) << "at " << c.per;
        EXPECT_FLOAT_EQ(target.hx, c.hx) << "at " << c.per;
        EXPECT_EQ(target.n, 42) << "graphic and colour are not animated";
        EXPECT_EQ(target.red, 99);
    }
    // At a step's own position the earlier pair wins and lands on its end.
    anim->CountStepState(*TAppVectorAnim::State1, 0.5f);
    EXPECT_EQ(TAppVectorAnim::AnimState1, anim->States[0]);
    EXPECT_EQ(TAppVectorAnim::AnimState2, anim->States[1]);
}

TEST_F(VectorPoseTest, PositionsNoStepsEncloseHoldTheNearestStepNotAnEarlierEvaluation) {
    auto part = PartWithPoses(4);
    auto other = AnimOf(*part, {{3, 0.0f}, {3, 1.0f}});
    // A loaded animation need not start at 0 or end at 1, nor be in order.
    auto inner = AnimOf(*part, {{1, 0.2f}, {2, 0.6f}});
    auto unordered = AnimOf(*part, {{2, 0.6f}, {1, 0.2f}});
    struct Case {
        TAppVectorAnimPtr anim;
        float per;
        float dist;
    };
    for (const Case& c :
         std::vector<Case>{{inner, 0.1f, 10}, {inner, 0.9f, 20}, {unordered, 0.3f, 10}, {unordered, 0.5f, 20}}) {
        TAppVectorState target;
        other->CountStepState(target, 0.5f);  // leaves pose 3 in the shared corners
        ASSERT_FLOAT_EQ(target.Dist, 30);
        c.anim->CountStepState(target, c.per);
        EXPECT_FLOAT_EQ(target.Dist, c.dist) << "at " << c.per;
    }
}

TEST_F(VectorPoseTest, AnimationsWithoutStepsOrPosesLeaveTheTargetUnchanged) {
    auto part = PartWithPoses(2);
    auto empty = CreateVectorAnim(nullptr, "Empty");
    auto poseless = CreateVectorAnim(nullptr, "Poseless");
    poseless->States.push_back(CreateAnimStep(nullptr, 5, 0.0f));
    poseless->States.push_back(CreateAnimStep(nullptr, 5, 1.0f));
    for (const auto& anim : {empty, poseless}) {
        for (float per : {-1.0f, 0.0f, 0.5f, 1.0f}) {
            TAppVectorState target;
            target.Dist = 77;
            anim->CountStepState(target, per);
            EXPECT_EQ(target.Dist, 77) << anim->name << " at " << per;
        }
    }
    EXPECT_EQ(TAppVectorAnim::AnimState1, nullptr);
}

TEST_F(VectorPoseTest, AddStepForcesTheEndsAndKeepsStepsSortedStably) {
    auto part = PartWithPoses(4);
    auto anim = CreateVectorAnim(nullptr, "Build");
    auto first = CreateAnimStep(part->GetState(0), 0, 0.7f);
    auto second = CreateAnimStep(part->GetState(1), 1, 0.3f);
    auto third = CreateAnimStep(part->GetState(2), 2, 0.3f);
    anim->AddStep(first);
    EXPECT_EQ(first->per, 0.0f);
    anim->AddStep(second);
    EXPECT_EQ(second->per, 1.0f);
    anim->AddStep(third);
    EXPECT_FLOAT_EQ(third->per, 0.3f);
    EXPECT_EQ(anim->States, (std::vector<TAVectorAnimStepPtr>{first, third, second}));
    EXPECT_EQ(anim->StatesInd, (std::vector<int32_t>{0, 2, 1}));

    // Positions closer than 0.00001 compare equal and keep the order they were added in.
    auto a = CreateAnimStep(part->GetState(3), 3, 0.100005f);
    auto b = CreateAnimStep(part->GetState(3), 3, 0.100001f);
    anim->AddStep(a);
    anim->AddStep(b);
    EXPECT_EQ(anim->States[1], a);
    EXPECT_EQ(anim->States[2], b);

    EXPECT_EQ(TAppVectorAnim::AvasFunc(*CreateAnimStep(nullptr, 0, 0.5f), *CreateAnimStep(nullptr, 0, 0.2f)), 30000);
    EXPECT_EQ(TAppVectorAnim::AvasFunc(*CreateAnimStep(nullptr, 0, 0.2f), *CreateAnimStep(nullptr, 0, 0.5f)), -30000);
    // Positions far apart (from a file) saturate instead of overflowing, and still sort.
    EXPECT_EQ(TAppVectorAnim::AvasFunc(*CreateAnimStep(nullptr, 0, 1e30f), *CreateAnimStep(nullptr, 0, -1e30f)),
              std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TAppVectorAnim::AvasFunc(*CreateAnimStep(nullptr, 0, -1e30f), *CreateAnimStep(nullptr, 0, 1e30f)),
              std::numeric_limits<int32_t>::min());
}

TEST_F(VectorPoseTest, AnimationBlockRoundTripAndMalformedBlocks) {
    auto part = PartWithPoses(3);
    auto anim = AnimOf(*part, {{0, 0.0f}, {2, 0.4f}, {1, 1.0f}});
    auto block = CreateBlockFile("ANIM");
    anim->Save(block);
    EXPECT_EQ(GetBlockEntryNO_NEW(block, "StatesInd")->Value, (std::vector<std::string>{"3", "0", "2", "1"}));
    EXPECT_EQ(GetBlockEntryNO_NEW(block, "StatesPer")->GetSize(), 3);

    TAppVectorAnim back;
    back.Load(ParseBlockFileText(block->ToString2(""), "R")->SubFiles.at(0), part.get());
    EXPECT_EQ(back.name, "Walk");
    EXPECT_EQ(back.StatesInd, (std::vector<int32_t>{0, 2, 1}));
    ASSERT_EQ(back.States.size(), 3u);
    EXPECT_EQ(back.States[1]->state, part->GetState(2));
    EXPECT_FLOAT_EQ(back.States[1]->per, 0.4f);
    EXPECT_TRUE(gErrors.empty());

    struct Case {
        std::string text;
        std::vector<int32_t> indices;
        bool reported;
    };
    for (const Case& c : std::vector<Case>{
             {"ANIM{\n name = \"None\"\n}\n", {}, false},
             // A count far beyond the listed indices reads only what is there.
             {"ANIM{\n StatesInd = 2000000000, 1, 2\n StatesPer = 0.0, 1.0\n}\n", {1, 2}, true},
             // A pose the part does not have is skipped.
             {"ANIM{\n StatesInd = 3, 0, 9, 2\n StatesPer = 0.0, 0.5, 1.0\n}\n", {0, 2}, true},
         }) {
        gErrors.clear();
        TAppVectorAnim loaded;
        loaded.Load(ParseBlockFileText(c.text, "R")->SubFiles.at(0), part.get());
        EXPECT_EQ(loaded.StatesInd, c.indices) << c.text;
        EXPECT_EQ(loaded.States.size(), c.indices.size());
        EXPECT_EQ(!gErrors.empty(), c.reported) << c.text;
    }
}

}  // namespace
