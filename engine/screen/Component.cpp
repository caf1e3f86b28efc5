#include "engine/screen/Component.h"
#include "engine/basics/Basics.h"

#include <map>

#include "engine/screen/AppAnimator.h"
#include "engine/screen/Collider.h"
#include "engine/screen/DataComponent.h"
#include "engine/screen/GameObject.h"
#include "engine/system/Error.h"
#include "engine/screen/Triggers.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Strings.h"

std::vector<std::string> COMPONENTS_NAMES = {"Animator", "Collider", "Data Block", "Drawer", "Triggers"};

void InitComponentNames() { COMPONENTS_NAMES = {"Animator", "Collider", "Data Block", "Drawer", "Triggers"}; }

std::string GetComponentName(int kind) {
    if (kind < 0 || kind >= static_cast<int>(COMPONENTS_NAMES.size())) return "";
    return COMPONENTS_NAMES[static_cast<size_t>(kind)];
}

// ---------------------------------------------------------------------------------------------
// TAppObjComponent

int TAppObjComponent::Free() {
    Obj = nullptr;
    return 0;
}

int TAppObjComponent::SetObject(TGameObject* obj) {
    Obj = obj;
    return 0;
}

int TAppObjComponent::SaveBase(const TBlockFilePtr& block) {
    if (!block) return 0;
    AddIntToBlock(block, "Type", GetTypeInt(), 0);
    AddStringToBlock(block, "Name", name, 0);
    return 0;
}

int TAppObjComponent::LoadBase(const TBlockFilePtr& block) {
    name = GetBFString(block, "Name", 0);
    return 0;
}

int TAppObjComponent::RetargetCopy(const TGameObjectCopyMap&) { return 0; }

// ---------------------------------------------------------------------------------------------
// The factory

namespace {

std::map<int, TAppComponentCreator> BuiltInKinds() {
    std::map<int, TAppComponentCreator> kinds;
    kinds[0] = [] { return std::make_shared<TAppObjAnimator>(); };
    kinds[1] = [] { return std::make_shared<TAppCollider>(); };
    kinds[2] = [] { return std::make_shared<TAppDataComponent>(); };
    kinds[4] = [] { return std::make_shared<TAppTriggerSystem>(); };
    return kinds;
}

std::map<int, TAppComponentCreator>& Kinds() {
    static std::map<int, TAppComponentCreator> kinds = BuiltInKinds();
    return kinds;
}

}  // namespace

void RegisterAppComponentType(int kind, TAppComponentCreator creator) {
    if (creator) Kinds()[kind] = std::move(creator);
    else Kinds().erase(kind);
}

void ResetAppComponentTypes() { Kinds() = BuiltInKinds(); }

TAppObjComponentPtr CreateNewAppComponentByType(int kind) {
    auto it = Kinds().find(kind);
    if (it == Kinds().end() || !it->second) return nullptr;
    return it->second();
}

TAppObjComponentPtr LoadAppComponent(TGameObject* obj, const TBlockFilePtr& block, TLoadList* list) {
    const int kind = TruncToInt(GetBFNumber(block, "Type", 0));
    TAppObjComponentPtr component = CreateNewAppComponentByType(kind);
    if (!component) {
        // A kind without a class (a "Drawer" block, a newer file) is passed over.
        Error("Unknown component type " + std::to_string(kind) + " in object '" +
                  Upper(obj != nullptr ? obj->name : std::string()) + "'!",
              Here());
        return nullptr;
    }
    component->SetObject(obj);
    component->Load(block, list);
    return component;
}
