// Components: one capability added to a game object. Kinds by number (the "Type" entry of a
// "Component" block) and word (COMPONENTS_NAMES):
//   0 "Animator"   TAppObjAnimator     (engine/AppAnimator.h)
//   1 "Collider"   TAppCollider        (engine/Collider.h)
//   2 "Data Block" TAppDataComponent   (engine/DataComponent.h)
//   3 "Drawer"     no class: nothing builds it
//   4 "Triggers"   TAppTriggerSystem   (engine/Triggers.h)
//
// The engine's four kinds are built into the factory (CreateNewAppComponentByType), so a file
// can hold them whatever the program links; RegisterAppComponentType adds or replaces a kind.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/screen/AppObj.h"

class TAppObjComponent;
using TAppObjComponentPtr = std::shared_ptr<TAppObjComponent>;

// Pairs each game object of a copied tree (the source itself included) with its copy.
using TGameObjectCopyMap = std::unordered_map<const TGameObject*, TGameObject*>;

class TAppObjComponent : public TAppObj {
public:
    TGameObject* Obj = nullptr;  // the owning game object (back-link, not owned)

    // Obj = null.
    virtual int Free();
    // Debug drawing at the owner's transform; nothing in the base.
    virtual int DrawDebug() { return 0; }
    // COMPONENTS_NAMES[GetTypeInt()] in the kinds; "" in the base.
    virtual std::string GetTypeStr() { return ""; }
    virtual int GetTypeInt() { return 0; }
    // A new component of the same kind with its own data; its name is empty and its owner unset
    // until a game object attaches it (AddComponent). Null in the base.
    virtual TAppObjComponentPtr Copy() { return nullptr; }
    virtual int SetObject(TGameObject* obj);
    // "Type" = GetTypeInt(), then "Name" = name.
    virtual int SaveBase(const TBlockFilePtr& block);
    // name = "Name" ("" when missing); "Type" is the factory's.
    virtual int LoadBase(const TBlockFilePtr& block);
    // Called on a fresh Copy() before the copied game object attaches it; the copy's states and
    // sub-objects are already in place, and map pairs every game object of the source's tree
    // (the source included) with its copy. A component that refers to game objects re-targets
    // them here (the animator points its animations at the copy and the copy's sub-objects,
    // never at the source). Nothing in the base.
    virtual int RetargetCopy(const TGameObjectCopyMap& map);
};

// The component words by kind: "Animator", "Collider", "Data Block", "Drawer", "Triggers".
extern std::vector<std::string> COMPONENTS_NAMES;
// Refills COMPONENTS_NAMES with the five words.
void InitComponentNames();
// The word of a kind; "" outside the table.
std::string GetComponentName(int kind);

using TAppComponentCreator = std::function<TAppObjComponentPtr()>;
// Makes `creator` build kind `kind` (replacing a built-in kind too). A null creator removes it.
void RegisterAppComponentType(int kind, TAppComponentCreator creator);
// Back to the built-in kinds 0, 1, 2 and 4 (tests).
void ResetAppComponentTypes();

// A new component of that kind with its defaults; null for a kind without a class (3 included).
TAppObjComponentPtr CreateNewAppComponentByType(int kind);
// The component a "Component" block describes: kind from "Type" (truncated; 0 when missing),
// owner obj, then its Load(block, list). A kind without a class is reported and gives null;
// the caller adds nothing.
TAppObjComponentPtr LoadAppComponent(TGameObject* obj, const TBlockFilePtr& block, TLoadList* list);
