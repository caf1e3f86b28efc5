// Game objects: structure, copying, lifecycle cascades, the frame passes with the mouse reports,
// states and setters, files and folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/SoundManager.h"
#include "engine/screen/AppAnimator.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Collider.h"
#include "engine/screen/DrawObject.h"
#include "engine/screen/GameObject.h"
#include "engine/window/Mouse.h"
#include "engine/system/Error.h"
#include "platform/Files.h"
#include "support/CountingSound.h"
#include "support/TestSupport.h"

namespace {

std::vector<std::string> gLog;
std::vector<std::string> gErrors;
void CaptureError(const std::string& line) { gErrors.push_back(line); }

// Records its hooks as "<name>.<hook>".
class Probe : public TGameObject {
public:
    explicit Probe(const std::string& n) { name = n; }
    int OnStart() override { return Note("OnStart"); }
    int OnEnable() override { return Note("OnEnable"); }
    int OnDisable() override { return Note("OnDisable"); }
    int OnEnterScreen() override { return Note("OnEnterScreen"); }
    int OnLeaveScreen() override { return Note("OnLeaveScreen"); }
    int OnLoadAsset() override { return Note("OnLoadAsset"); }
    int OnFreeAsset() override { return Note("OnFreeAsset"); }
    int OnFree() override { return Note("OnFree"); }
    int UpdateObject() override { return Note("UpdateObject"); }
    int Update() override { return Note("Update"); }
    int isActiveForMouse() override { return active; }
    int active = 1;

private:
    int Note(const char* hook) {
        gLog.push_back(name + "." + hook);
        return 0;
    }
};

std::shared_ptr<Probe> MakeProbe(const std::string& n) { return std::make_shared<Probe>(n); }

// Remembers where it was drawn.
class RecordingDraw : public TAppDrawObject {
public:
    std::vector<std::pair<float, float>> at;
    int Draw(float x, float y) override {
        at.emplace_back(x, y);
        return 0;
    }
};

// A collider over a 100 x 100 box from the object's origin.
void GiveBox(TGameObject& obj) { CreateAppCollider(&obj, 100, 100, 50, 50); }

class GameObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        gErrors.clear();
        Mouse::Reset();
        WatchErrorReports(&CaptureError);
        WatchCriticalReports(&CaptureError);
    }
    void TearDown() override {
        Mouse::Reset();
        WatchErrorReports(nullptr);
        WatchCriticalReports(nullptr);
        AppSoundManager::ClickSound = nullptr;
        ResetGameObjectTypes();
    }
};

// ---------------------------------------------------------------------------------------------
// Structure and copying

TEST_F(GameObjectTest, NewObjectHasOneDefaultStateBothCurrentAndDefault) {
    TGameObject obj;
    EXPECT_EQ(obj.isEnabled, 1);
    EXPECT_EQ(obj.name, "GameObject");
    EXPECT_EQ(obj.isAssetToBeLoad, 1);
    ASSERT_EQ(obj.States.size(), 1u);
    EXPECT_EQ(obj.States[0]->name, "DEFAULT");
    EXPECT_EQ(obj.CurrState, obj.States[0]);
    EXPECT_EQ(obj.DefaultState, obj.States[0]);
    EXPECT_EQ(obj.GetTypeStr(), "Empty");
}

TEST_F(GameObjectTest, CopyRestoresStateNamesAndOwnsItsValues) {
    auto src = std::make_shared<TGameObject>();
    auto hover = CreateDefaultAppState();
    hover->name = "Hover";
    src->AddState(hover);
    src->SetCurrState(hover);

    auto copy = src->Copy();
    ASSERT_EQ(copy->GetStatesStringArray(), (std::vector<std::string>{"DEFAULT", "Hover"}));
    EXPECT_EQ(copy->CurrState, copy->States[0]);
    EXPECT_EQ(copy->DefaultState, copy->States[0]);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_NE(copy->States[i], src->States[i]);
        EXPECT_NE(copy->States[i]->rgb, src->States[i]->rgb);
    }
    copy->SetRGB(1, 2, 3);
    EXPECT_EQ(src->States[0]->rgb->r, 255);
}

TEST_F(GameObjectTest, CopyIdsFlagsAndSubObjects) {
    TAppScreen screen;
    auto parent = std::make_shared<TGameObject>();
    auto src = std::make_shared<TGameObject>();
    src->id = 42;
    parent->AddSubObject(src);
    parent->AddSubObject(std::make_shared<TGameObject>());
    parent->AddSubObject(std::make_shared<TGameObject>());
    auto subA = std::make_shared<TGameObject>();
    auto subB = std::make_shared<TGameObject>();
    subA->name = "A";
    subB->name = "B";
    src->AddSubObject(subA);
    src->AddSubObject(subB);
    src->Screen = &screen;
    src->isEnabled = 0;
    src->DrawLayer = 7;
    src->UpdateLayer = -2;
    src->isTemplate = src->isGlobal = src->isUpdatedWithDraw = 1;
    src->isAssetToBeLoad = 0;
    src->isNotSaved = src->isSavedInternaly = src->isExporting = 1;
    src->Prefix = "Some/Folder/";

    auto copy = src->Copy();
    EXPECT_EQ(copy->id, 4);  // the parent's sub-object count + 1
    EXPECT_EQ(copy->Parent, nullptr);
    EXPECT_EQ(copy->Screen, &screen);
    EXPECT_EQ(copy->isEnabled, 0);
    EXPECT_EQ(copy->DrawLayer, 7);
    EXPECT_EQ(copy->UpdateLayer, -2);
    EXPECT_EQ(copy->isTemplate + copy->isGlobal + copy->isUpdatedWithDraw, 3);
    EXPECT_EQ(copy->isAssetToBeLoad, 0);
    EXPECT_EQ(copy->isNotSaved + copy->isSavedInternaly + copy->isExporting, 0);
    EXPECT_EQ(copy->Prefix, "");

    ASSERT_EQ(copy->SubObjects.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        auto sub = std::dynamic_pointer_cast<TGameObject>(copy->SubObjects[i]);
        EXPECT_NE(sub, src->SubObjects[i]);
        EXPECT_EQ(sub->name, i == 0 ? "A" : "B");
        EXPECT_EQ(sub->id, 3);  // the source's sub-object count + 1
        EXPECT_EQ(sub->Parent, copy.get());
    }

    auto top = std::make_shared<TGameObject>();
    EXPECT_EQ(top->Copy()->id, 0);
    top->id = 9;
    EXPECT_EQ(top->Copy()->id, 0);  // a top-level copy keeps its own id
}

TEST_F(GameObjectTest, CopyOfObjectWithoutStatesKeepsTheShownState) {
    auto src = std::make_shared<TGameObject>();
    src->SetX(12);
    src->States.clear();  // as after loading a block without states
    auto copy = src->Copy();
    ASSERT_NE(copy->CurrState, nullptr);
    EXPECT_EQ(copy->CurrState, copy->DefaultState);
    EXPECT_NE(copy->CurrState, src->CurrState);
    EXPECT_FLOAT_EQ(copy->GetX(), 12);
    EXPECT_TRUE(copy->States.empty());
}

// A component that points at a game object of its owner's tree.
class PointerComponent : public TAppObjComponent {
public:
    TGameObject* target = nullptr;
    TAppObjComponentPtr Copy() override {
        auto c = std::make_shared<PointerComponent>();
        c->target = target;
        return c;
    }
    int RetargetCopy(const TGameObjectCopyMap& map) override {
        auto it = map.find(target);
        if (it != map.end()) target = it->second;
        return 0;
    }
    int GetTypeInt() override { return 7; }
};

TEST_F(GameObjectTest, CopiedComponentsPointIntoTheCopiedTree) {
    auto src = std::make_shared<TGameObject>();
    auto sub = std::make_shared<TGameObject>();
    auto deep = std::make_shared<TGameObject>();
    src->AddSubObject(sub);
    sub->AddSubObject(deep);
    auto toSelf = std::make_shared<PointerComponent>();
    toSelf->target = src.get();
    auto toDeep = std::make_shared<PointerComponent>();
    toDeep->target = deep.get();
    src->AddComponent(toSelf);
    src->AddComponent(toDeep);

    auto copy = src->Copy();
    ASSERT_EQ(copy->Components.size(), 2u);
    auto c0 = std::static_pointer_cast<PointerComponent>(copy->Components[0]);
    auto c1 = std::static_pointer_cast<PointerComponent>(copy->Components[1]);
    EXPECT_EQ(c0->target, copy.get());
    EXPECT_EQ(c0->Obj, copy.get());
    auto copiedDeep = std::static_pointer_cast<TGameObject>(copy->SubObjects[0]->SubObjects[0]);
    EXPECT_EQ(c1->target, copiedDeep.get());
    EXPECT_EQ(toSelf->target, src.get());  // the source keeps its own
}

TEST_F(GameObjectTest, CopiedAnimatorDrivesTheCopyNotTheSource) {
    auto src = std::make_shared<TGameObject>();
    auto sub = std::make_shared<TGameObject>();
    src->AddSubObject(sub);
    auto animator = CreateAppAnimator(src.get());
    auto anim = CreateAppObjAnim("Pulse", src.get());
    anim->SetObject(src.get());
    animator->AddAnim(anim);
    const auto srcState = src->CurrState;
    const auto subState = sub->CurrState;

    auto copy = src->Copy();
    ASSERT_NE(copy->Comp_Animator, nullptr);
    auto copySub = std::static_pointer_cast<TGameObject>(copy->SubObjects[0]);
    copy->Animation_Play("Pulse", 1000, 0, 0, 0, 0);
    EXPECT_EQ(copy->isCurrentAnimation("Pulse"), 1);
    EXPECT_EQ(copy->CurrState, copy->Comp_Animator->Anims[0]->State);
    EXPECT_NE(copySub->CurrState, copySub->DefaultState);  // its sub-animation drives it
    EXPECT_EQ(src->CurrState, srcState);
    EXPECT_EQ(sub->CurrState, subState);
    EXPECT_EQ(src->isPlayingAnimation(), 0);
}

TEST_F(GameObjectTest, AddingAnyComponentRestartsTheDefaultAnimation) {
    auto obj = std::make_shared<TGameObject>();
    auto animator = CreateAppAnimator(obj.get());
    animator->AddAnim(CreateAppObjAnim("Idle", obj.get()));
    animator->AddAnim(CreateAppObjAnim("Blink", obj.get()));
    animator->DefaultAnim = 2;
    animator->DefaultAnimTime = 500;
    EXPECT_EQ(obj->isPlayingAnimation(), 0);
    CreateAppCollider(obj.get(), 10, 10, 0, 0);
    EXPECT_EQ(obj->isCurrentAnimationInd(1), 1);
    EXPECT_EQ(obj->isCurrentAnimation("Blink"), 1);
    EXPECT_EQ(animator->isLooped, 1);
    EXPECT_EQ(animator->isSinus, 1);
    EXPECT_EQ(obj->isAnimation(), 1);
}

// ---------------------------------------------------------------------------------------------
// Lifecycle cascades

TEST_F(GameObjectTest, CascadeOrders) {
    struct Case {
        const char* what;
        void (*run)(Probe& root);
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"Start: children before the parent",
         [](Probe& r) { r.Start(); },
         {"A1.OnStart", "A.OnStart", "B.OnStart", "R.OnStart"}},
        {"EnableAll: one more OnEnable per level",
         [](Probe& r) { r.EnableAll(); },
         {"R.OnEnable", "A.OnEnable", "A1.OnEnable", "B.OnEnable", "A.OnEnable", "A1.OnEnable", "A1.OnEnable",
          "B.OnEnable"}},
        {"Disable: each node before its children",
         [](Probe& r) { r.Disable(); },
         {"R.OnDisable", "A.OnDisable", "A1.OnDisable", "B.OnDisable"}},
        {"EnterScreen: root and direct children only",
         [](Probe& r) { r.EnterScreen(); },
         {"A.OnEnterScreen", "B.OnEnterScreen", "R.OnEnterScreen"}},
        {"LeaveScreen: the whole tree, children first",
         [](Probe& r) { r.LeaveScreen(); },
         {"A1.OnLeaveScreen", "A.OnLeaveScreen", "B.OnLeaveScreen", "R.OnLeaveScreen"}},
        {"LoadAsset: children first",
         [](Probe& r) { r.LoadAsset(); },
         {"A1.OnLoadAsset", "A.OnLoadAsset", "B.OnLoadAsset", "R.OnLoadAsset"}},
        {"FreeAsset: parent first",
         [](Probe& r) { r.FreeAsset(); },
         {"R.OnFreeAsset", "A.OnFreeAsset", "A1.OnFreeAsset", "B.OnFreeAsset"}},
        {"Free: OnFree, sub-objects' Free, then the assets",
         [](Probe& r) { r.Free(); },
         {"R.OnFree", "A.OnFree", "A1.OnFree", "A1.OnFreeAsset", "A.OnFreeAsset", "A1.OnFreeAsset", "B.OnFree",
          "B.OnFreeAsset", "R.OnFreeAsset", "A.OnFreeAsset", "A1.OnFreeAsset", "B.OnFreeAsset"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto root = MakeProbe("R"), a = MakeProbe("A"), a1 = MakeProbe("A1"), b = MakeProbe("B");
        root->AddSubObject(a);
        a->AddSubObject(a1);
        root->AddSubObject(b);
        gLog.clear();
        c.run(*root);
        EXPECT_EQ(gLog, c.expected);
    }
}

TEST_F(GameObjectTest, FreeDropsComponentsAndStatesButKeepsColliderAndDrawObject) {
    auto obj = std::make_shared<TGameObject>();
    auto parent = std::make_shared<TGameObject>();
    parent->AddSubObject(obj);
    GiveBox(*obj);
    auto draw = std::make_shared<RecordingDraw>();
    obj->SetDrawObject(draw);
    auto collider = obj->Comp_Collider;
    obj->Free();
    EXPECT_TRUE(obj->Components.empty());
    EXPECT_TRUE(obj->States.empty());
    EXPECT_EQ(obj->CurrState, nullptr);
    EXPECT_EQ(obj->DefaultState, nullptr);
    EXPECT_EQ(obj->Parent, nullptr);
    EXPECT_EQ(obj->Comp_Collider, collider);
    EXPECT_EQ(collider->Obj, nullptr);
    EXPECT_EQ(obj->DrawObject, draw);
}

TEST_F(GameObjectTest, FreedObjectIgnoresSettersAndPassesSafely) {
    auto obj = std::make_shared<TGameObject>();
    auto draw = std::make_shared<RecordingDraw>();
    obj->SetDrawObject(draw);
    obj->Free();
    obj->SetX(5);
    obj->MoveXY(1, 1);
    obj->SetRGB(1, 2, 3);
    obj->SetA(0.5f);
    obj->SetRot(10);
    obj->SetScaleX(2);
    obj->PushCurrState();
    EXPECT_FLOAT_EQ(obj->GetX(), 0);
    EXPECT_FLOAT_EQ(obj->GetA(), 0);
    obj->Updating();
    obj->Drawing();
    EXPECT_TRUE(draw->at.empty());
}

TEST_F(GameObjectTest, DestroyTakesObjectOutOfLayersAndReportsBeforeFreeing) {
    TAppScreen screen;
    auto top = std::make_shared<TGameObject>();
    auto sub = std::make_shared<TGameObject>();
    auto subSub = std::make_shared<TGameObject>();
    auto subDraw = std::make_shared<RecordingDraw>();
    auto subSubDraw = std::make_shared<RecordingDraw>();
    sub->SetDrawObject(subDraw);
    subSub->SetDrawObject(subSubDraw);
    sub->AddSubObject(subSub);
    top->AddSubObject(sub);
    screen.AddObject(top);
    screen.CurrOverObject = subSub;
    screen.CurrHoldedObject = sub;
    std::weak_ptr<TGameObject> watch = sub;

    sub->Destroy();
    sub.reset();
    subSub.reset();
    EXPECT_EQ(screen.DrawLayers, (TGameObjectList{top}));
    EXPECT_EQ(screen.CurrOverObject, nullptr);
    EXPECT_EQ(screen.CurrHoldedObject, nullptr);
    EXPECT_TRUE(top->SubObjects.empty());
    EXPECT_TRUE(watch.expired());  // nothing keeps a destroyed object alive
    screen.DrawObjects();
    EXPECT_TRUE(subDraw->at.empty());
    EXPECT_TRUE(subSubDraw->at.empty());

    top->Destroy();
    EXPECT_TRUE(screen.Objects.empty());
    EXPECT_TRUE(screen.DrawLayers.empty());
    EXPECT_EQ(top->Screen, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Frame passes and mouse reports

TEST_F(GameObjectTest, UpdatePassOrderAndLockedScreen) {
    TAppScreen screen;
    auto p = MakeProbe("P"), s = MakeProbe("S"), q = MakeProbe("Q");
    p->AddSubObject(s);
    screen.AddObject(p);
    screen.AddObject(q);
    screen.Updating();
    EXPECT_EQ(gLog, (std::vector<std::string>{"P.UpdateObject", "S.UpdateObject", "S.Update", "P.Update",
                                              "Q.UpdateObject", "Q.Update"}));
    gLog.clear();
    screen.Lock();
    screen.Updating();
    EXPECT_EQ(gLog, (std::vector<std::string>{"P.UpdateObject", "S.UpdateObject", "Q.UpdateObject"}));
    gLog.clear();
    q->Disable();
    screen.UnLock();
    gLog.clear();
    screen.Updating();
    EXPECT_EQ(gLog, (std::vector<std::string>{"P.UpdateObject", "S.UpdateObject", "S.Update", "P.Update"}));
}

TEST_F(GameObjectTest, LastWriterWinsForOverClickAndHold) {
    TAppScreen screen;
    auto parent = MakeProbe("Parent"), child = MakeProbe("Child"), later = MakeProbe("Later");
    auto inactive = MakeProbe("Inactive");
    for (auto* o : {parent.get(), child.get(), later.get(), inactive.get()}) GiveBox(*o);
    parent->AddSubObject(child);
    inactive->active = 0;
    screen.AddObject(parent);

    Mouse::x = 50;
    Mouse::y = 50;
    Mouse::LeftPressed = 1;
    Mouse::LeftHolded = 1;
    screen.Updating();
    // The parent reports after its sub-objects have been updated: it replaces them.
    EXPECT_EQ(screen.CurrOverObject, parent);
    EXPECT_EQ(screen.CurrClickObject, parent);
    EXPECT_EQ(screen.CurrHoldedObject, parent);

    screen.AddObject(later);
    screen.AddObject(inactive);  // hovered too, but never reported
    screen.Updating();
    EXPECT_EQ(screen.CurrOverObject, later);
    EXPECT_EQ(screen.CurrClickObject, later);
    EXPECT_EQ(screen.CurrHoldedObject, later);
    EXPECT_EQ(inactive->isHover(), 1);

    // Still held, mouse moved away: over and click clear, the held object stays.
    Mouse::x = 500;
    Mouse::LeftPressed = 0;
    screen.Updating();
    EXPECT_EQ(screen.CurrOverObject, nullptr);
    EXPECT_EQ(screen.CurrClickObject, nullptr);
    EXPECT_EQ(screen.CurrHoldedObject, later);
    Mouse::LeftHolded = 0;
    screen.Updating();
    EXPECT_EQ(screen.CurrHoldedObject, nullptr);
}

TEST_F(GameObjectTest, MouseTestsAndClickSound) {
    auto click = std::make_shared<testsupport::CountingSound>();
    AppSoundManager::ClickSound = click;
    auto bare = std::make_shared<TGameObject>();
    auto box = std::make_shared<TGameObject>();
    GiveBox(*box);
    box->UpdateSettings();
    Mouse::x = 10;
    Mouse::y = 10;
    Mouse::LeftPressed = 1;
    Mouse::LeftHolded = 1;

    EXPECT_EQ(bare->isHover() + bare->isClicked() + bare->isHolded(), 0);
    EXPECT_EQ(click->Plays(), 0);
    EXPECT_EQ(box->isClicked(), 1);
    EXPECT_EQ(box->isClicked(), 1);
    EXPECT_EQ(click->Plays(), 2);  // every answer of 1 plays it
    box->isEnabled = 0;
    EXPECT_EQ(box->isHover() + box->isClicked() + box->isHolded(), 0);
    EXPECT_EQ(click->Plays(), 2);

    // Index n asks the n-th collider of the components.
    auto two = std::make_shared<TGameObject>();
    CreateAppCollider(two.get(), 10, 10, 500, 500);  // far from the mouse
    CreateAppCollider(two.get(), 100, 100, 0, 0);    // around the origin
    two->UpdateSettings();
    Mouse::x = 1;
    Mouse::y = 1;
    EXPECT_EQ(two->isColliderMouseOver(0), 0);
    EXPECT_EQ(two->isColliderMouseOver(1), 1);
    EXPECT_EQ(two->isColliderMouseOver(2), 0);
}

TEST_F(GameObjectTest, DrawPassAndUpdateWithDraw) {
    TAppScreen screen;
    auto obj = MakeProbe("W");
    auto draw = std::make_shared<RecordingDraw>();
    obj->SetDrawObject(draw);
    obj->SetPosition(30, 40);
    screen.AddObject(obj);

    // Drawn before any update: its derived values are computed first.
    screen.Drawing();
    ASSERT_EQ(draw->at.size(), 1u);
    EXPECT_FLOAT_EQ(draw->at[0].first, 30);
    EXPECT_FLOAT_EQ(draw->at[0].second, 40);

    obj->isUpdatedWithDraw = 1;
    gLog.clear();
    screen.Updating();
    EXPECT_TRUE(gLog.empty());
    obj->SetScaleX(0);
    screen.Drawing();
    EXPECT_EQ(gLog, (std::vector<std::string>{"W.UpdateObject", "W.Update"}));
    EXPECT_EQ(draw->at.size(), 1u);  // zero scale: updated, not drawn

    obj->SetScaleX(1);
    obj->isEnabled = 0;  // disabled, no disabled parent: still updated in the draw pass
    gLog.clear();
    screen.Drawing();
    EXPECT_EQ(gLog, (std::vector<std::string>{"W.UpdateObject", "W.Update"}));
    EXPECT_EQ(draw->at.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// States, setters and lookups

TEST_F(GameObjectTest, SetCurrStateByUnknownNameKeepsStateAndReports) {
    auto obj = std::make_shared<TGameObject>();
    obj->name = "Door";
    auto before = obj->CurrState;
    obj->SetCurrState(std::string("Open"));
    EXPECT_EQ(obj->CurrState, before);
    ASSERT_EQ(gErrors.size(), 1u);
    EXPECT_EQ(gErrors[0],
              "ERROR ( File: GameObject  Code: TGameObject::SetCurrState ) Couldn't find state 'Open' "
              "in object 'DOOR'!");
    obj->SetX(3);  // setters keep working
    EXPECT_FLOAT_EQ(obj->GetX(), 3);

    obj->SetCurrState(std::string(""));
    EXPECT_EQ(obj->CurrState, before);
    auto loose = CreateDefaultAppState();
    obj->SetCurrState(loose);
    EXPECT_EQ(obj->CurrState, loose);
    obj->SetCurrStateInd(5);
    EXPECT_EQ(obj->CurrState, loose);
    EXPECT_EQ(gErrors.size(), 2u);
}

TEST_F(GameObjectTest, SettersActOnTheCurrentStateOnly) {
    auto obj = std::make_shared<TGameObject>();
    auto other = CreateDefaultAppState();
    other->name = "Other";
    obj->AddState(other);
    obj->SetPosition(10, 20);
    obj->MoveXY(5, -3);
    obj->SetRGB(1, 2, 3);
    obj->SetA(0.25f);
    EXPECT_FLOAT_EQ(obj->GetX(), 15);
    EXPECT_FLOAT_EQ(obj->GetY(), 17);
    EXPECT_FLOAT_EQ(obj->GetA(), 0.25f);
    obj->SetCurrState(std::string("Other"));
    EXPECT_FLOAT_EQ(obj->GetX(), 0);
    EXPECT_EQ(obj->CurrState->rgb->r, 255);

    EXPECT_EQ(obj->GetStateByName("other"), other);
    EXPECT_EQ(obj->GetAppState("other"), nullptr);
    EXPECT_EQ(obj->GetStateByName("default"), obj->States[0]);
}

TEST_F(GameObjectTest, FindObjectIsDepthFirstAndScreenCascades) {
    TAppScreen screen;
    auto root = std::make_shared<TGameObject>();
    auto first = std::make_shared<TGameObject>();
    auto deepLabel = std::make_shared<TGameObject>();
    auto laterLabel = std::make_shared<TGameObject>();
    deepLabel->name = laterLabel->name = "Label";
    deepLabel->id = 7;
    root->AddSubObject(first);
    first->AddSubObject(deepLabel);
    root->AddSubObject(laterLabel);
    EXPECT_EQ(root->FindObject("Label"), deepLabel);
    EXPECT_EQ(root->FindObject("label"), nullptr);
    EXPECT_EQ(root->FindObjectInd(7), deepLabel);
    EXPECT_EQ(root->GetAllSubObjects(), (TGameObjectList{first, deepLabel, laterLabel}));
    EXPECT_EQ(deepLabel->GetRootParent(), root.get());
    EXPECT_EQ(root->GetRootParent(), root.get());
    root->SetScreen(&screen);
    EXPECT_EQ(deepLabel->Screen, &screen);
}

TEST_F(GameObjectTest, ComponentsAndShortcuts) {
    auto obj = std::make_shared<TGameObject>();
    auto first = CreateAppCollider(obj.get(), 10, 10, 0, 0);
    auto second = CreateAppCollider(obj.get(), 10, 10, 0, 0);
    EXPECT_EQ(obj->Comp_Collider, first);
    EXPECT_EQ(obj->isComponentAllreadyHere(1), 1);
    EXPECT_EQ(obj->isComponentAllreadyHere(0), 0);
    obj->RemoveComponent(first);
    EXPECT_EQ(obj->Comp_Collider, second);
    EXPECT_EQ(first->Obj, obj.get());  // a removed component keeps its owner
    CreateAppCollider(obj.get(), 10, 10, 0, 0);
    obj->RemoveComponentByType(1);
    EXPECT_TRUE(obj->Components.empty());
    EXPECT_EQ(obj->Comp_Collider, nullptr);
    // No animator: animation calls are quiet.
    obj->Animation_Play("Walk", 100, 1, 0, 0, 1);
    EXPECT_EQ(obj->Animation_Finished(), 0);
    EXPECT_FLOAT_EQ(obj->AnimationPer(), 0);
    EXPECT_EQ(obj->isAnimation(), 0);
}

// ---------------------------------------------------------------------------------------------
// Blocks, files and folders

class TypedObject : public TGameObject {
public:
    int GetTypeInt() override { return 2; }
    int SaveMyData(const TBlockFilePtr& block) override { return AddStringToBlock(block, "Url", url); }
    int LoadMyData(const TBlockFilePtr& block, TLoadList*) override {
        url = GetBFString(block, "Url");
        return 0;
    }
    std::string url;
};

std::vector<std::string> ChildNames(const TBlockFilePtr& block) {
    std::vector<std::string> names;
    for (auto& c : block->SubFiles) names.push_back(c->name);
    return names;
}

TEST_F(GameObjectTest, SaveAndLoadRoundTrip) {
    RegisterGameObjectType(2, [] { return std::make_shared<TypedObject>(); });
    auto src = std::make_shared<TGameObject>();
    src->name = "Panel";
    src->id = 5;
    src->DrawLayer = 3;
    src->isEnabled = 0;
    src->isGlobal = 1;
    src->isAssetToBeLoad = 0;
    src->SetX(11);
    CreateAppCollider(src.get(), 20, 10, 0, 0);
    auto sub = std::make_shared<TypedObject>();
    sub->name = "Pic";
    sub->url = "pic.png";
    src->AddSubObject(sub);

    auto root = CreateBlockFile("root");
    src->Save(root);
    auto block = GetBlockFile(root, "GameObject");
    EXPECT_EQ(ChildNames(block),
              (std::vector<std::string>{"Basic", "Flags", "States", "Components", "OwnData", "SubObjects"}));

    auto loaded = LoadGameObject(block, nullptr, "");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->name, "Panel");
    EXPECT_EQ(loaded->id, 5);
    EXPECT_EQ(loaded->DrawLayer, 3);
    EXPECT_EQ(loaded->isEnabled, 1);  // "Enabled" is not read back
    EXPECT_EQ(loaded->isGlobal, 1);
    EXPECT_EQ(loaded->isAssetToBeLoad, 0);
    EXPECT_FLOAT_EQ(loaded->GetX(), 11);
    EXPECT_EQ(loaded->DefaultState, loaded->States[0]);
    ASSERT_NE(loaded->Comp_Collider, nullptr);
    EXPECT_EQ(loaded->Comp_Collider->Obj, loaded.get());
    ASSERT_EQ(loaded->SubObjects.size(), 1u);
    auto loadedSub = std::dynamic_pointer_cast<TypedObject>(loaded->SubObjects[0]);
    ASSERT_NE(loadedSub, nullptr);
    EXPECT_EQ(loadedSub->url, "pic.png");

    // Written back, only "Enabled" differs.
    std::string expected = BlockFileToText(root);
    const size_t at = expected.find("Enabled = 0");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 11, "Enabled = 1");
    auto again = CreateBlockFile("again");
    loaded->Save(again);
    EXPECT_EQ(BlockFileToText(again), expected);
}

TEST_F(GameObjectTest, LoadingReadsWhatIsThere) {
    RegisterGameObjectType(2, [] { return std::make_shared<TypedObject>(); });
    struct Case {
        const char* text;
        bool made;
        int assetFlag;
        const char* defaultState;
    };
    const Case cases[] = {
        {"Basic{\nType = 2.9\n}\n", true, 1, ""},  // no states: only the constructor's, shown
        {"Basic{\nType = 9\n}\n", false, 0, ""},
        {"Basic{\nType = -1\n}\n", false, 0, ""},
        {"Flags{\nisAssetToBeLoad = 0\n}\n", true, 0, ""},
        {"States{\nState{\nName = \"default\"\n}\nState{\nName = \"Up\"\n}\n}\n", true, 1, "default"},
        {"States{\nState{\nName = \"Up\"\n}\n}\n", true, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto root = ParseBlockFileText(std::string("GameObject{\n") + c.text + "}\n", "t");
        auto obj = LoadGameObject(GetBlockFile(root, "GameObject"), nullptr, "");
        ASSERT_EQ(obj != nullptr, c.made);
        if (!obj) continue;
        EXPECT_EQ(obj->isAssetToBeLoad, c.assetFlag);
        EXPECT_NE(obj->CurrState, nullptr);
        EXPECT_EQ(obj->DefaultState ? obj->DefaultState->name : "", c.defaultState);
        if (obj->DefaultState) {
            EXPECT_EQ(obj->CurrState, obj->DefaultState);
        }
    }
}

TEST_F(GameObjectTest, ExportAndLoadFolderTree) {
    testsupport::TempDir dir;
    auto box = std::make_shared<TGameObject>();
    box->name = "Box";
    for (const char* n : {"A", "B"}) {
        auto sub = std::make_shared<TGameObject>();
        sub->name = n;
        box->AddSubObject(sub);
    }
    const std::string into = dir.path() + "/Screens/Menu/GameObjects";
    for (const std::string& path : {into + "/", into}) {
        EXPECT_EQ(ExportGameObject(path, box.get()), "Box");
        EXPECT_EQ(box->isExporting, 0);
        EXPECT_EQ(box->Prefix, "");
        EXPECT_EQ(FileType(into + "/Box/Box.GameObject"), 1);
        EXPECT_EQ(FileType(into + "/Box/SubObjects/A/A.GameObject"), 1);
        EXPECT_EQ(FileType(into + "/Box/SubObjects/B/B.GameObject"), 1);
    }
    auto loaded = LoadGameObjectFromUrl(into + "/Box", nullptr);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Prefix, into + "/Box/");
    ASSERT_EQ(loaded->SubObjects.size(), 2u);
    auto a = std::static_pointer_cast<TGameObject>(loaded->SubObjects[0]);
    EXPECT_EQ(a->name, "A");
    EXPECT_EQ(a->Prefix, into + "/Box/SubObjects/A/");

    auto leaf = std::make_shared<TGameObject>();
    leaf->name = "Leaf";
    ExportGameObject(into, leaf.get());
    EXPECT_EQ(FileType(into + "/Leaf/SubObjects"), 0);
    EXPECT_NE(LoadGameObjectFromUrl(into + "/Leaf/Leaf.GameObject", nullptr), nullptr);
    EXPECT_EQ(LoadGameObjectFromUrl(into + "/Nothing", nullptr), nullptr);
}

TEST_F(GameObjectTest, ExportKeepsSameNamedSiblingsAndNamesInsideTheFolder) {
    testsupport::TempDir dir;
    auto root = std::make_shared<TGameObject>();
    root->name = "../Root";
    for (int i = 0; i < 2; ++i) {
        auto sub = std::make_shared<TGameObject>();
        sub->name = "Twin";
        sub->id = i + 1;
        root->AddSubObject(sub);
    }
    const std::string into = dir.path() + "/out";
    const std::string folder = ExportGameObject(into, root.get());
    EXPECT_EQ(folder, ".._Root");
    EXPECT_EQ(FileType(dir.path() + "/Root"), 0);
    auto loaded = LoadGameObjectFromUrl(into + "/" + folder, nullptr);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->name, "../Root");
    ASSERT_EQ(loaded->SubObjects.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        auto sub = std::static_pointer_cast<TGameObject>(loaded->SubObjects[static_cast<size_t>(i)]);
        EXPECT_EQ(sub->name, "Twin");
        EXPECT_EQ(sub->id, i + 1);
    }
    for (const auto& [name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"", "_"}, {"..", "_.."}, {"a/b\\c:d", "a_b_c_d"}, {"Plain", "Plain"}}) {
        EXPECT_EQ(GameObjectFolderName(name), expected);
    }
}

TEST_F(GameObjectTest, BadSubObjectReferencesAreReportedAndSkipped) {
    testsupport::TempDir dir;
    CreateDir(dir.path() + "/Obj/SubObjects/Plain");
    testsupport::WriteFileBytes(dir.path() + "/Obj/SubObjects/File.GameObject", "GameObject{\n}\n");
    CreateDir(dir.path() + "/Outside");
    testsupport::WriteFileBytes(dir.path() + "/Outside/Outside.GameObject", "GameObject{\n}\n");
    std::string refs;
    for (const char* ref : {"Missing", "File.GameObject", "Plain", "../../Outside"})
        refs += std::string("GameObject{\nLoadObject = \"") + ref + "\"\n}\n";
    testsupport::WriteFileBytes(dir.path() + "/Obj/Obj.GameObject",
                                "GameObject{\nBasic{\nName = \"Obj\"\n}\nSubObjects{\n" + refs + "}\n}\n");
    auto obj = LoadGameObjectFromUrl(dir.path() + "/Obj", nullptr);
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(obj->SubObjects.empty());
    ASSERT_EQ(gErrors.size(), 4u);
    EXPECT_EQ(gErrors[0], "Couldn't load GameObject file '" + dir.path() + "/Obj/SubObjects/Missing' in object OBJ!");
}

TEST_F(GameObjectTest, FactoryIsOpenToRegisteredTypes) {
    EXPECT_NE(CreateNewGameObjectByType(0), nullptr);
    EXPECT_EQ(CreateNewGameObjectByType(2), nullptr);
    RegisterGameObjectType(2, [] { return std::make_shared<TypedObject>(); });
    auto made = CreateNewGameObjectByType(2);
    ASSERT_NE(std::dynamic_pointer_cast<TypedObject>(made), nullptr);
    EXPECT_EQ(made->GetTypeStr(), "Image");
    RegisterGameObjectType(2, nullptr);
    EXPECT_EQ(CreateNewGameObjectByType(2), nullptr);
}

}  // namespace
