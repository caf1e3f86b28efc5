#include "engine/screen/AppAnimator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/screen/GameObject.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "platform/Clock.h"

namespace {

int32_t gNow = 0;
int32_t Now() { return gNow; }

std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

// x runs 0 -> 100 over the animation.
TTrackPtr TrackX() { return CreateAppTrack({CreateDim(0, 0, 10, 10, 0), CreateDim(100, 0, 10, 10, 1)}); }
TGradientPtr Fade() {
    auto g = std::make_shared<TGradient>();
    g->PutIn(CreateRGB(0, 0, 0, 1.0f, 0.0f));
    g->PutIn(CreateRGB(200, 100, 50, 0.5f, 1.0f));
    return g;
}
TTransformPtr Grow() { return CreateTransform({CreateTFR(1, 1, 0, 0), CreateTFR(2, 3, 90, 1)}); }

TGameObjectPtr MakeObject(const std::string& name) {
    auto obj = std::make_shared<TGameObject>();
    obj->name = name;
    return obj;
}

class AnimatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppTime();
        gNow = 0;
        SetClockSource(&Now);
        UpdateAppMillisecs();
        delta = 1.0f;
        gErrors.clear();
        WatchErrorReports(&CaptureError);

        hero = MakeObject("Hero");
        animator = CreateAppAnimator(hero.get());
        walk = CreateAppObjAnim("Walk", hero.get());
        walk->Track = TrackX();
        animator->AddAnim(walk);
    }
    void TearDown() override {
        WatchErrorReports(nullptr);
        ResetClock();
        ResetAppTime();
    }
    void SetClock(int32_t ms) {
        gNow = ms;
        UpdateAppMillisecs();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) hero->UpdateComponents();
    }

    TGameObjectPtr hero;
    TAppObjAnimatorPtr animator;
    TAppObjAnimPtr walk;
};

}  // namespace

TEST_F(AnimatorTest, CreatedAnimatorIsTheObjectsAnimator) {
    EXPECT_EQ(animator->name, "Animator");
    EXPECT_EQ(animator->Obj, hero.get());
    EXPECT_EQ(hero->Comp_Animator, animator);
    EXPECT_EQ(animator->isPlaying(), 0);
}

TEST_F(AnimatorTest, RunEndsOnItsFrameInFloatAndHolds) {
    struct Case {
        int time;
        int finishFrame;
    };
    for (const Case c : {Case{1000, 61}, Case{500, 30}, Case{250, 15}}) {
        SCOPED_TRACE(c.time);
        animator->Animation_Play("Walk", c.time, 0, 0.0f, 0, 1);
        int frame = 0;
        while (animator->Animation_Finished() == 0 && frame < 1000) {
            Frames(1);
            ++frame;
        }
        EXPECT_EQ(frame, c.finishFrame);
        Frames(5);
        EXPECT_EQ(animator->GetAnimPer(), 1.0f);
        EXPECT_EQ(animator->isPlaying(), 1);
        EXPECT_FLOAT_EQ(hero->GetX(), 100.0f);
        EXPECT_EQ(hero->CurrState, walk->State);
    }
}

TEST_F(AnimatorTest, LoopWrapsToZeroAndNeverFinishes) {
    animator->Animation_Play("Walk", 250, 1, 0.0f, 0, 0);
    Frames(14);
    EXPECT_GT(animator->GetAnimPer(), 0.9f);
    Frames(1);
    EXPECT_EQ(animator->GetAnimPer(), 0.0f);
    EXPECT_FLOAT_EQ(hero->GetX(), 0.0f);
    for (int i = 0; i < 100; ++i) {
        Frames(1);
        EXPECT_EQ(animator->Animation_Finished(), 0);
    }
}

TEST_F(AnimatorTest, SineEasingAppliesEasedPositionOnly) {
    struct Case {
        int sinus;
        float per;
        float x;
    };
    for (const Case c :
         {Case{1, 0.5f, 70.7106781f}, Case{0, 0.5f, 50.0f}, Case{1, 1.0f, 100.0f}, Case{1, 0.0f, 0.0f}}) {
        SCOPED_TRACE(c.sinus);
        animator->Animation_Play("Walk", 1000, 0, 0.0f, 0, c.sinus);
        animator->Animation_Pause();
        animator->SetAnimPer(c.per);
        Frames(1);
        EXPECT_NEAR(hero->GetX(), c.x, 1e-3f);
        EXPECT_EQ(animator->GetAnimPer(), c.per);
    }
}

TEST_F(AnimatorTest, DelayShowsFirstLookAndStartsFromStartPosition) {
    hero->SetX(-50);
    SetClock(1000);
    animator->Animation_Play("Walk", 1000, 0, 0.5f, 500, 0);
    EXPECT_FLOAT_EQ(hero->GetX(), 0.0f);  // applied at 0 at once
    for (int ms : {1000, 1200, 1499}) {
        SetClock(ms);
        Frames(1);
        EXPECT_EQ(animator->GetAnimPer(), 0.0f);
        EXPECT_FLOAT_EQ(hero->GetX(), 0.0f);
    }
    SetClock(1500);
    Frames(1);
    EXPECT_NEAR(animator->GetAnimPer(), 0.5f + 1.0f / 60.0f, 1e-6f);
}

TEST_F(AnimatorTest, StopRewindsAndHoldsFirstLook) {
    animator->Animation_Play("Walk", 1000, 0, 0.0f, 0, 0);
    Frames(30);
    EXPECT_GT(hero->GetX(), 40.0f);
    animator->Animation_Stop();
    EXPECT_EQ(animator->isPlaying(), 0);
    for (int i = 0; i < 3; ++i) {
        Frames(1);
        EXPECT_FLOAT_EQ(hero->GetX(), 0.0f);
        EXPECT_EQ(animator->GetAnimPer(), 0.0f);
    }
    EXPECT_EQ(animator->isPlayingAnim("Walk"), 1);
}

TEST_F(AnimatorTest, PauseHoldsAndContinueResumesWhereItStopped) {
    animator->Animation_Play("Walk", 1000, 0, 0.0f, 0, 0);
    Frames(10);
    const float held = animator->GetAnimPer();
    animator->Animation_Pause();
    Frames(50);
    EXPECT_EQ(animator->GetAnimPer(), held);
    EXPECT_NEAR(hero->GetX(), held * 100.0f, 1e-3f);
    animator->Animation_Continue();
    Frames(1);
    EXPECT_NEAR(animator->GetAnimPer(), 11.0f / 60.0f, 1e-6f);
}

TEST_F(AnimatorTest, FailedLookupsReportExactLinesAndLeaveNothingPlaying) {
    auto other = CreateAppObjAnim("Jump", hero.get());
    other->id = 7;
    other->Track = TrackX();
    animator->AddAnim(other);
    const std::string head = "ERROR ( File: AppAnimator  Code: TAppObjAnimator::";
    struct Case {
        std::function<void()> play;
        std::string line;
    };
    const std::vector<Case> cases = {
        {[&] { animator->Animation_Play("walk", 500, 0, 0, 0, 1); },
         head + "Animation_Play ) Couldn't find animation (NAME): 'walk' for object: 'HERO'!"},
        {[&] { animator->Animation_PlayInd(2, 500, 0, 0, 0, 1); },
         head + "Animation_PlayInd ) Couldn't find animation (INDEX): '2' for object: 'HERO'!"},
        {[&] { animator->Animation_PlayInd(-1, 500, 0, 0, 0, 1); },
         head + "Animation_PlayInd ) Couldn't find animation (INDEX): '-1' for object: 'HERO'!"},
        {[&] { animator->Animation_PlayId(3, 500, 0, 0, 0, 1); },
         head + "Animation_PlayId ) Couldn't find animation (INDEX): '3' for object: 'HERO'!"},
        {[&] { animator->Animation_PlayAnim(nullptr, 500, 0, 0, 0, 1); },
         head + "Animation_PlayAnim ) Trying to play NULL animation, for object 'HERO'!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        animator->Animation_PlayId(7, 500, 0, 0.0f, 0, 0);  // something current first
        Frames(3);
        gErrors.clear();
        c.play();
        ASSERT_EQ(gErrors.size(), 1u);
        EXPECT_EQ(gErrors[0], c.line);
    }
    // A failed lookup leaves no current animation, and updates do nothing.
    animator->Animation_Play("nothing", 500, 0, 0, 0, 1);
    EXPECT_EQ(animator->CurrAnim, nullptr);
    EXPECT_EQ(animator->isPlayingAnim("Jump"), 0);
    Frames(5);
    EXPECT_EQ(animator->GetAnimPer(), 0.0f);
}

TEST_F(AnimatorTest, AbsentCurvesHoldPushedLookWhileOthersAnimate) {
    hero->SetPosition(30, 40);
    hero->SetRGB(9, 8, 7);
    auto blink = CreateAppObjAnim("Blink", hero.get());
    blink->Gradient = Fade();
    animator->AddAnim(blink);
    animator->Animation_Play("Blink", 1000, 0, 0.0f, 0, 0);
    Frames(61);
    EXPECT_FLOAT_EQ(hero->GetX(), 30.0f);
    EXPECT_FLOAT_EQ(hero->GetY(), 40.0f);
    EXPECT_EQ(hero->CurrState->rgb->r, 200);
    EXPECT_FLOAT_EQ(hero->CurrState->rgb->a, 0.5f);
    // Moving the object during a colour-only animation sticks (the position is the pushed one).
    hero->SetX(60);
    Frames(1);
    EXPECT_FLOAT_EQ(hero->GetX(), 60.0f);
    // Switching the track on later never writes into the pushed look.
    blink->Track = TrackX();
    Frames(1);
    EXPECT_FLOAT_EQ(hero->GetX(), 100.0f);
    EXPECT_FLOAT_EQ(hero->PushedState->dim->x, 60.0f);
}

TEST_F(AnimatorTest, SubObjectsFollowAtSamePosition) {
    auto arm = MakeObject("Arm");
    hero->AddSubObject(arm);
    auto wave = CreateAppObjAnim("Wave", hero.get());
    wave->SetObject(hero.get());
    ASSERT_EQ(wave->SubObjectsAnims.size(), 1u);
    wave->SubObjectsAnims[0]->Transform = Grow();
    animator->AddAnim(wave);
    animator->Animation_Play("Wave", 500, 0, 0.0f, 0, 1);
    Frames(30);
    EXPECT_FLOAT_EQ(arm->CurrState->tfr->sx, 2.0f);
    EXPECT_FLOAT_EQ(arm->CurrState->tfr->Rotation, 90.0f);
    EXPECT_EQ(wave->GetSubAnimByObject(hero.get()), wave);
    EXPECT_EQ(wave->GetSubAnimByObject(arm.get()), wave->SubObjectsAnims[0]);
}

TEST_F(AnimatorTest, CheckRelianceFollowsTheTree) {
    auto a = MakeObject("A");
    auto b = MakeObject("B");
    hero->AddSubObject(a);
    hero->AddSubObject(b);
    auto anim = CreateAppObjAnim("Tree", hero.get());
    anim->SetObject(hero.get());
    auto subA = anim->GetSubAnimByObject(a.get());
    auto subB = anim->GetSubAnimByObject(b.get());
    subA->Track = TrackX();

    // b moves below a (keeps its animation), a new child c appears, then a is dropped.
    hero->RemoveSubObject(b.get());
    a->AddSubObject(b);
    auto c = MakeObject("C");
    hero->AddSubObject(c);
    anim->CheckReliance();
    EXPECT_NE(std::find(anim->SubObjectsAnims.begin(), anim->SubObjectsAnims.end(), subB), anim->SubObjectsAnims.end());
    ASSERT_TRUE(anim->GetSubAnimByObject(c.get()));
    EXPECT_EQ(anim->GetSubAnimByObject(c.get())->name, "Tree");

    hero->RemoveSubObject(a.get());
    anim->CheckReliance();
    EXPECT_EQ(anim->GetSubAnimByObject(a.get()), nullptr);
    EXPECT_EQ(subA->Track, nullptr);  // freed
    ASSERT_EQ(anim->SubObjectsAnims.size(), 1u);

    // A sub-animation whose object is gone for good is never applied.
    auto d = MakeObject("D");
    hero->AddSubObject(d);
    anim->CheckReliance();
    auto subD = anim->GetSubAnimByObject(d.get());
    hero->RemoveSubObject(d.get());
    d.reset();
    EXPECT_EQ(subD->Target(), nullptr);
    anim->Update(0.5f);
}

TEST_F(AnimatorTest, NestedAnimationsSurviveSaveAndLoadAtEveryDepth) {
    auto arm = MakeObject("Arm");
    auto hand = MakeObject("Hand");
    auto finger = MakeObject("Finger");
    hero->AddSubObject(arm);
    arm->AddSubObject(hand);
    hand->AddSubObject(finger);
    auto wave = CreateAppObjAnim("Wave", hero.get());
    wave->id = 4;
    wave->Track = TrackX();
    wave->SetObject(hero.get());
    wave->CheckReliance();
    wave->SubObjectsAnims[0]->CheckReliance();
    wave->SubObjectsAnims[0]->SubObjectsAnims[0]->CheckReliance();
    wave->GetSubAnimByObject(arm.get())->Gradient = Fade();
    wave->GetSubAnimByObject(hand.get())->Transform = Grow();
    wave->GetSubAnimByObject(finger.get())->Track = TrackX();
    animator->RemoveAnim(walk);
    animator->AddAnim(wave);
    animator->DefaultAnim = 1;
    animator->DefaultAnimTime = 800;

    auto root = CreateBlockFile("root");
    hero->Save(root);
    const std::string text = BlockFileToText(root);

    TGameObjectPtr loaded = LoadGameObject(GetBlockFile(ParseBlockFileText(text, "root"), "GameObject"), nullptr, "");
    ASSERT_TRUE(loaded);
    auto loadedAnimator = loaded->GetComponent_Animator();
    ASSERT_TRUE(loadedAnimator);
    EXPECT_EQ(loadedAnimator->DefaultAnim, 1);
    EXPECT_EQ(loadedAnimator->DefaultAnimTime, 800);
    auto anim = loadedAnimator->GetAnimByName("Wave");
    ASSERT_TRUE(anim);
    EXPECT_EQ(anim->id, 4);
    auto lArm = loaded->FindObject("Arm");
    auto lHand = loaded->FindObject("Hand");
    auto lFinger = loaded->FindObject("Finger");
    ASSERT_TRUE(lFinger);
    auto subArm = anim->GetSubAnimByObject(lArm.get());
    auto subHand = anim->GetSubAnimByObject(lHand.get());
    auto subFinger = anim->GetSubAnimByObject(lFinger.get());
    ASSERT_TRUE(subArm && subHand && subFinger);
    EXPECT_TRUE(subArm->Gradient);
    EXPECT_TRUE(subHand->Transform);
    ASSERT_TRUE(subFinger->Track);
    EXPECT_EQ(subFinger->Track->ToString(), TrackX()->ToString());

    auto again = CreateBlockFile("root");
    loaded->Save(again);
    EXPECT_EQ(BlockFileToText(again), text);
}

TEST_F(AnimatorTest, EmptyAnimatorSavesDefaultsAndEmptyList) {
    auto block = CreateBlockFile("Component");
    auto empty = std::make_shared<TAppObjAnimator>();
    empty->name = "Animator";
    empty->DefaultAnim = 2;
    empty->DefaultAnimTime = 300;
    empty->Save(block);
    EXPECT_EQ(BlockFileToText(block), "Type = 0\nName = \"Animator\"\nDefaultAnim = 2, 300\nANIMS{\n}\n");
    auto back = LoadAppComponent(hero.get(), block, nullptr);
    auto loaded = std::dynamic_pointer_cast<TAppObjAnimator>(back);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->Anims.empty());
    EXPECT_EQ(loaded->DefaultAnim, 2);
    EXPECT_EQ(loaded->DefaultAnimTime, 300);
    EXPECT_EQ(loaded->name, "Animator");
}

TEST_F(AnimatorTest, CopiedObjectsAnimationsDriveTheCopy) {
    auto arm = MakeObject("Arm");
    hero->AddSubObject(arm);
    walk->SetObject(hero.get());
    walk->SubObjectsAnims[0]->Track = TrackX();
    animator->DefaultAnim = 0;
    animator->Animation_Play("Walk", 500, 0, 0.0f, 0, 0);

    TGameObjectPtr copy = hero->Copy();
    auto copied = copy->GetComponent_Animator();
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->isPlaying(), 0);
    EXPECT_EQ(copied->CurrAnim, nullptr);
    auto copiedWalk = copied->GetAnimByName("Walk");
    ASSERT_TRUE(copiedWalk);
    EXPECT_NE(copiedWalk, walk);
    EXPECT_NE(copiedWalk->Track, walk->Track);
    EXPECT_EQ(copiedWalk->GameObject, copy.get());

    const float heroX = hero->GetX();
    const float armX = arm->GetX();
    copied->Animation_Play("Walk", 500, 0, 0.0f, 0, 0);
    for (int i = 0; i < 30; ++i) copy->UpdateComponents();
    auto copiedArm = copy->FindObject("Arm");
    EXPECT_FLOAT_EQ(copy->GetX(), 100.0f);
    EXPECT_FLOAT_EQ(copiedArm->GetX(), 100.0f);
    EXPECT_FLOAT_EQ(hero->GetX(), heroX);
    EXPECT_FLOAT_EQ(arm->GetX(), armX);
}

TEST_F(AnimatorTest, AnimationDebugText) {
    auto arm = MakeObject("Arm");
    hero->AddSubObject(arm);
    walk->SetObject(hero.get());
    EXPECT_EQ(walk->ToString(),
              "==== ANIM: Walk ====\nANIM NAME: Walk\nSubObjects: 1\n>>> Sub Anim Objects: \n"
              "\tANIM NAME: Walk\n\tSubObjects: 0\n\t>>> Sub Anim Objects: \n");
}
