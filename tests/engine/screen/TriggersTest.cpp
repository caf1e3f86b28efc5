#include "engine/screen/Triggers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/screen/GameObject.h"

namespace {

// Every call of every fake, in order.
std::vector<std::string> gLog;

class FakeCondition : public TATCondition {
public:
    FakeCondition(std::string n, int holdsNow) : name(std::move(n)), holds(holdsNow) {}
    int Check() override {
        gLog.push_back("check " + name);
        return holds;
    }
    int Free() override {
        gLog.push_back("free " + name);
        return 0;
    }
    std::string name;
    int holds;
};

// Finishes on its `length`-th update (an instant action ignores that).
class FakeAction : public TATAction {
public:
    FakeAction(std::string n, int instant, int frames) : name(std::move(n)), length(frames) { isInstant = instant; }
    int Update() override {
        ++calls;
        gLog.push_back(name + std::to_string(calls));
        return calls >= length ? 1 : 0;
    }
    int Free() override {
        gLog.push_back("free " + name);
        return 0;
    }
    std::string name;
    int length;
    int calls = 0;
};

// One Update per frame; the log of each frame.
std::vector<std::string> Frame(TAppTrigger& t) {
    gLog.clear();
    t.Update();
    return gLog;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(Triggers, TimelineOfInstantAndLastingActions) {
    TAppTrigger t;
    t.Action = {std::make_shared<FakeAction>("a", 1, 1), std::make_shared<FakeAction>("b", 0, 3),
                std::make_shared<FakeAction>("c", 1, 1)};
    EXPECT_EQ(Frame(t), Lines{});  // starts: nothing runs yet
    EXPECT_EQ(t.isRuning, 1);
    EXPECT_EQ(Frame(t), (Lines{"a1", "b1"}));
    EXPECT_EQ(t.CurrActionInd, 1);
    EXPECT_EQ(Frame(t), Lines{"b2"});
    EXPECT_EQ(Frame(t), (Lines{"b3", "c1"}));
    EXPECT_EQ(t.isRuning, 0);
    EXPECT_EQ(t.isEnabled, 0);
    EXPECT_EQ(Frame(t), Lines{});  // disabled for good

    // A lasting action that finishes at once lets the run go on in the same frame.
    TAppTrigger quick;
    quick.Action = {std::make_shared<FakeAction>("x", 0, 1), std::make_shared<FakeAction>("y", 1, 1)};
    Frame(quick);
    EXPECT_EQ(Frame(quick), (Lines{"x1", "y1"}));
    EXPECT_EQ(quick.isRuning, 0);
}

TEST(Triggers, ConditionsStartStopAndRepeat) {
    TAppTrigger t;
    auto second = std::make_shared<FakeCondition>("2", 0);
    t.Condition = {std::make_shared<FakeCondition>("1", 1), second, std::make_shared<FakeCondition>("3", 1)};
    EXPECT_EQ(Frame(t), (Lines{"check 1", "check 2"}));
    EXPECT_EQ(t.isRuning, 0);

    second->holds = 1;
    t.isRepeatable = 1;
    Frame(t);
    EXPECT_EQ(t.isRuning, 1);
    Frame(t);  // no actions: finishes
    EXPECT_EQ(t.isRuning, 0);
    EXPECT_EQ(t.isEnabled, 1);
    Frame(t);  // starts again the frame after
    EXPECT_EQ(t.isRuning, 1);

    // Only its own switch counts: the base operation does not stop it.
    TAppTrigger plain;
    plain.Disable();
    Frame(plain);
    Frame(plain);
    EXPECT_EQ(plain.isEnabled, 0);  // ran and finished
    EXPECT_EQ(plain.isRuning, 0);

    // An unconditional trigger starts only when told to.
    TAppTrigger manual;
    manual.isUnconditional = 1;
    manual.Condition = {std::make_shared<FakeCondition>("m", 1)};
    EXPECT_EQ(Frame(manual), Lines{});
    EXPECT_EQ(manual.isRuning, 0);
    manual.Run();
    EXPECT_EQ(manual.isRuning, 1);
}

TEST(Triggers, SystemSavesOnlyItsHeadAndFreesItsTriggers) {
    auto obj = std::make_shared<TGameObject>();
    auto system = CreateAppTriggerSystem(obj.get());
    EXPECT_EQ(system->name, "Triggers");
    EXPECT_EQ(system->GetTypeStr(), "Triggers");
    ASSERT_EQ(obj->Components.size(), 1u);

    auto trigger = std::make_shared<TAppTrigger>();
    trigger->Condition = {std::make_shared<FakeCondition>("c", 1)};
    trigger->Action = {std::make_shared<FakeAction>("a", 1, 1)};
    system->Trigger = {trigger, nullptr};

    auto block = CreateBlockFile("Component");
    system->Save(block);
    EXPECT_EQ(BlockFileToText(block), "Type = 4\nName = \"Triggers\"\n");
    auto loaded = std::dynamic_pointer_cast<TAppTriggerSystem>(LoadAppComponent(obj.get(), block, nullptr));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->Trigger.empty());
    EXPECT_EQ(loaded->name, "Triggers");  // read back, so a re-save keeps it

    auto copy = std::dynamic_pointer_cast<TAppTriggerSystem>(system->Copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->name, "");
    EXPECT_EQ(copy->Trigger, (std::vector<TAppTriggerPtr>{nullptr, nullptr}));  // triggers are not copied

    gLog.clear();
    system->Free();
    EXPECT_EQ(gLog, (Lines{"free c", "free a"}));
    EXPECT_TRUE(system->Trigger.empty());
    EXPECT_EQ(system->Obj, nullptr);
    EXPECT_TRUE(trigger->Action.empty());
}
