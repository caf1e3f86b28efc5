#include "engine/screen/Triggers.h"

#include "engine/data/Keyframes.h"
#include "engine/screen/GameObject.h"
#include "engine/basics/Basics.h"

// ---------------------------------------------------------------------------------------------
// Trigger

int TAppTrigger::Update() {
    if (isEnabled == 0) return 0;
    if (isRuning != 0) UpdateRunning();
    else UpdateCheck();
    return 0;
}

int TAppTrigger::Save(const TBlockFilePtr&) { return 0; }

int TAppTrigger::Free() {
    // Snapshots: an action or condition may touch the trigger while it is freed.
    EachOf(Condition, &TATCondition::Free);
    EachOf(Action, &TATAction::Free);
    Condition.clear();
    Action.clear();
    CurrAction = nullptr;
    return 0;
}

TAppTriggerPtr TAppTrigger::Copy() { return nullptr; }

int TAppTrigger::UpdateCheck() {
    if (isUnconditional != 0) return 0;
    const auto conditions = Condition;
    for (auto& c : conditions)
        if (c && c->Check() == 0) return 0;  // empty slots are passed over
    Run();
    return 0;
}

int TAppTrigger::Run() {
    isRuning = 1;
    CurrActionInd = 0;
    CurrAction = nullptr;
    return 0;
}

int TAppTrigger::UpdateRunning() {
    if (Action.empty()) {
        Finish();
        return 0;
    }
    if (CurrAction) {
        // Held by a local reference: the action may change the trigger's arrays.
        const TATActionPtr current = CurrAction;
        if (current->Update() == 0) return 0;
        ++CurrActionInd;
        CurrAction = nullptr;
    }
    for (size_t i = CurrActionInd < 0 ? 0 : static_cast<size_t>(CurrActionInd); i < Action.size(); ++i) {
        const TATActionPtr action = Action[i];
        if (!action) continue;
        if (action->isInstant != 0) {
            action->Update();
            continue;
        }
        CurrActionInd = static_cast<int32_t>(i);
        CurrAction = action;
        if (action->Update() == 0) return 0;
        CurrAction = nullptr;
    }
    Finish();
    return 0;
}

int TAppTrigger::Finish() {
    isRuning = 0;
    isEnabled = (isRepeatable != 0) ? 1 : 0;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Trigger system

std::string TAppTriggerSystem::GetTypeStr() { return GetComponentName(GetTypeInt()); }

int TAppTriggerSystem::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    SaveBase(block);
    return 0;
}

int TAppTriggerSystem::Load(const TBlockFilePtr& block, TLoadList*) {
    // The name is read back so that saving a loaded object keeps it.
    if (block) LoadBase(block);
    return 0;
}

int TAppTriggerSystem::Free() {
    EachOf(Trigger, &TAppTrigger::Free);
    Trigger.clear();
    Obj = nullptr;
    return 0;
}

TAppObjComponentPtr TAppTriggerSystem::Copy() {
    auto copy = std::make_shared<TAppTriggerSystem>();
    copy->Trigger = CopyEach(Trigger, true);
    return copy;
}

TAppTriggerSystemPtr CreateAppTriggerSystem(TGameObject* obj) {
    auto system = std::make_shared<TAppTriggerSystem>();
    system->name = system->GetTypeStr();
    system->Obj = obj;
    if (obj != nullptr) obj->AddComponent(system);
    return system;
}
