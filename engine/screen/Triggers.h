// Triggers: small rule objects. A trigger waits until all its conditions hold, then runs its
// actions in order, each either instant or lasting several frames; after a run it disables
// itself unless it is repeatable.
//
// Conditions and actions are abstract here: game code derives its own and drives a trigger by
// calling its Update once a frame. The trigger system (component kind 4, "Triggers") holds a
// game object's triggers; it neither advances, saves nor loads them.
//
// The timeline of one trigger, one Update per frame:
//   frame 1  conditions checked; when all hold the run starts (no action runs yet)
//   frame 2  instant actions run one after another; the first lasting action is updated
//   ...      the lasting action is updated once a frame until it reports finished; in that
//            same frame the actions after it carry on
//   last     after the last action the run finishes (in that same frame)
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/screen/Component.h"

// What a trigger does. Update returns non-zero once the action has finished.
class TATAction {
public:
    int32_t isInstant = 1;  // completes in the call that runs it (its result is not asked)

    virtual ~TATAction() = default;
    virtual int Free() { return 0; }
    virtual int Update() { return 0; }
};

// When a trigger starts. Check returns non-zero while the condition holds.
class TATCondition {
public:
    virtual ~TATCondition() = default;
    virtual int Free() { return 0; }
    virtual int Check() { return 0; }
};

using TATActionPtr = std::shared_ptr<TATAction>;
using TATConditionPtr = std::shared_ptr<TATCondition>;

class TAppTrigger;
using TAppTriggerPtr = std::shared_ptr<TAppTrigger>;

class TAppTrigger : public TAppObj {
public:
    std::vector<TATConditionPtr> Condition;  // all must hold
    std::vector<TATActionPtr> Action;        // run in order
    TATActionPtr CurrAction;                 // the lasting action being run
    int32_t CurrActionInd = 0;               // index of the action the run has reached
    // The trigger's own switch. It hides TAppObj::isEnabled on purpose: Enable and Disable
    // (the base operations) set the base's flag and do not stop a trigger; only this one counts.
    int32_t isEnabled = 1;
    int32_t isRuning = 0;         // a run is under way
    int32_t isUnconditional = 0;  // never starts by itself, only by a direct Run
    int32_t isRepeatable = 0;     // enables itself again after a run

    // Nothing while disabled; else UpdateRunning while running, UpdateCheck otherwise.
    int Update() override;
    // Writes nothing: triggers are not saved.
    int Save(const TBlockFilePtr& block) override;

    // Frees every condition, then every action; empties both arrays, CurrAction null.
    virtual int Free();
    // Triggers are not copied: null.
    virtual TAppTriggerPtr Copy();
    // Carries the run on (see the timeline above).
    virtual int UpdateRunning();
    // Starts the run when every condition holds (also with none); nothing when unconditional.
    // Stops asking at the first condition that fails.
    virtual int UpdateCheck();
    // isRuning 1, from the first action; the actions start at the next Update.
    virtual int Run();
    // isRuning 0; enabled again when repeatable, else disabled.
    virtual int Finish();
};

class TAppTriggerSystem : public TAppObjComponent {
public:
    std::vector<TAppTriggerPtr> Trigger;

    // Nothing: game code updates the triggers.
    int Update() override { return 0; }
    // "Type" and "Name" only.
    int Save(const TBlockFilePtr& block) override;
    // The name; the triggers are not in the file.
    int Load(const TBlockFilePtr& block, TLoadList* list) override;
    // Frees every trigger; Trigger empty, Obj null.
    int Free() override;
    // COMPONENTS_NAMES[4], "Triggers".
    std::string GetTypeStr() override;
    int GetTypeInt() override { return 4; }
    // A trigger system with as many slots as this one, each holding its trigger's Copy (which
    // is null: triggers are not copied). Empty name, no owner.
    TAppObjComponentPtr Copy() override;
};

using TAppTriggerSystemPtr = std::shared_ptr<TAppTriggerSystem>;

// A new trigger system named "Triggers" owned by obj (added to it when obj is not null).
TAppTriggerSystemPtr CreateAppTriggerSystem(TGameObject* obj);
