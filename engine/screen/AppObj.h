// The roots of the engine's object model.
//
//   TAppAbstract  the common root; carries nothing but shared ownership.
//   TAppObj       everything that takes part in the frame: an id, a name, an enabled flag, an
//                 update pass and a draw pass in three phases, and save/load hooks.
//   TAppBasicObj  the scene node: a parent, the screen it belongs to, its ordered children and a
//                 current state, from which every update derives the absolute draw transform and
//                 colour (the Draw... fields) that drawing and hit tests use.
//
// Ownership: objects are made with std::make_shared. A node owns its children (SubObjects) and
// its states; its Parent and Screen are plain back-links that never own, cleared when the node
// leaves its parent.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "platform/Maths.h"

class TAppAbstract;
class TAppObj;
class TAppBasicObj;
class TAppState;
class TAppScreen;
class TGameObject;

// The loading context handed unchanged through a file's loaders (a subclass may keep whatever
// it needs in it; the engine's own loaders pass it on and ignore it).
using TLoadList = std::vector<std::shared_ptr<TAppAbstract>>;
using TAppBasicObjList = std::vector<std::shared_ptr<TAppBasicObj>>;

class TAppAbstract : public std::enable_shared_from_this<TAppAbstract> {
public:
    virtual ~TAppAbstract() = default;
};

// The shared pointer that owns obj, typed as T; null for null or for an object that no shared
// pointer owns.
template <class T>
std::shared_ptr<T> SharedFrom(T* obj) {
    if (obj == nullptr) return nullptr;
    return std::dynamic_pointer_cast<T>(obj->weak_from_this().lock());
}

class TAppObj : public TAppAbstract {
public:
    int32_t id = 0;
    std::string name;
    int32_t isOver = 0;     // kept for subclasses; nothing here reads it
    int32_t isEnabled = 1;  // 0 while disabled

    // isEnabled = 0 (1); a game object then runs its OnDisable and disables its sub-objects
    // (OnEnable and EnableSubs). No test of the earlier value: the hooks run on every call.
    virtual int Disable();
    virtual int Enable();
    // UpdateFirst, Update, UpdateLast / DrawFirst, Draw, DrawLast.
    virtual int Updating();
    virtual int Drawing();
    virtual int UpdateFirst() { return 0; }
    virtual int Update() { return 0; }
    virtual int UpdateLast() { return 0; }
    virtual int DrawFirst() { return 0; }
    virtual int Draw() { return 0; }
    virtual int DrawLast() { return 0; }
    // Run at exit on every object of the save-at-end list. A value below 0: something it had to
    // write could not be written (the program then exits with a non-zero status).
    virtual int SaveAtEnd() { return 0; }
    virtual int Save(const TBlockFilePtr& block);
    // list: the loading context (may be null).
    virtual int Load(const TBlockFilePtr& block, TLoadList* list);
    virtual std::string ToString() { return ""; }
};

class TAppBasicObj : public TAppObj {
public:
    TAppBasicObj* Parent = nullptr;           // back-link, not owned
    TAppScreen* Screen = nullptr;             // back-link, not owned
    TAppBasicObjList SubObjects;              // children, in order
    std::shared_ptr<TAppState> CurrState;     // the state shown now
    std::shared_ptr<TAppState> DefaultState;  // what CurrState falls back to while it is null
    std::shared_ptr<TAppState> PushedState;   // the copy saved by PushCurrState

    // Derived by UpdateSettings: absolute position (virtual-screen pixels), scale, rotation
    // (degrees), alpha and colour.
    float DrawX = 0, DrawY = 0;
    float DrawScaleX = 1, DrawScaleY = 1;
    float DrawRotation = 0;
    float DrawAlpha = 1;
    int32_t DrawBlend = 3;  // alpha blend; set, never derived
    int32_t DrawR = 0, DrawG = 0, DrawB = 0;
    // A game object with this set is updated from its draw pass instead of the update pass.
    int32_t isUpdatedWithDraw = 0;

    // Polar form of the offset handed to the last CountRotatedX; CountRotatedY reads it.
    static float CPomDist;
    static float CPomAngle;

    TAppBasicObj() = default;
    // Children that outlive the node (held elsewhere) forget it as their parent.
    ~TAppBasicObj() override;

    // UpdateSettings, then UpdateSubObjects (the three phases are not called).
    int Updating() override;
    int Drawing() override { return 0; }
    int Update() override { return 0; }

    // Cuts the node out of its tree (Parent and Screen cleared), frees the whole subtree, empties
    // the child list and drops the three states. The node does not leave its parent's list.
    virtual int Free();
    // 1 when the node is not to be drawn (it or an ancestor is disabled or has a zero derived
    // scale); else loads colour, scale, rotation, alpha and blend into the draw state and
    // returns 0.
    virtual int DrawSettings();
    virtual int DrawMySubObjects();
    // Derives the Draw... fields from the current state and the parent's derived values (or the
    // screen's origin and scale for a root). A node without any state is left as it is.
    virtual int UpdateSettings();
    // This node, then each sub-object's whole subtree, in pre-order.
    virtual int UpdateAllTheSettings();
    // UpdateSettings of the direct sub-objects only.
    virtual int UpdateSubObjectsSettings();
    // Updating of each sub-object, in order.
    virtual int UpdateSubObjects();
    // Derives every node from the root down to this one again (with the direct children of each).
    virtual int UpdateRoots();
    // PushedState = a copy of the current state (named with "_Copy" behind).
    virtual int PushCurrState();
    // Makes the pushed copy itself current; nothing without a pushed state.
    virtual int PopCurrState();
    // The current state's position (relative to the parent).
    virtual float GetX();
    virtual float GetY();
    // A non-null state becomes current; null changes nothing. Derived values are not recomputed.
    virtual int SetCurrState(const std::shared_ptr<TAppState>& state);
    // The node when it lies anywhere below this one (depth first, pre-order); null otherwise.
    // A node is not its own sub-object.
    virtual std::shared_ptr<TAppBasicObj> isObjectMySub(const TAppBasicObj* node);
    // Appends node, sets its Parent and Screen, rebuilds the screen's draw layers. No check for
    // duplicates or cycles: callers moving a node remove it first and check isObjectMySub.
    virtual int AddSubObject(const std::shared_ptr<TAppBasicObj>& node);
    virtual int AddObject(const std::shared_ptr<TAppBasicObj>& node);
    // This node (when a shared pointer owns it), then every sub-object's subtree, in pre-order.
    virtual int AddAllObjectsToList(TAppBasicObjList& list);
    virtual int RemoveFromParent();
    // Clears node's Parent (even when it is not a child here), then removes its first
    // occurrence from SubObjects. The screen's layers are not rebuilt here.
    virtual int RemoveSubObject(TAppBasicObj* node);
    // UpdateSettings, then UpdateSubObjects.
    virtual int Calculate();
    // The offset (x, y) turned by rotation degrees: returns its x and keeps its polar form for
    // CountRotatedY, which returns its y. Call the two back to back.
    virtual float CountRotatedX(float x, float y, float rotation);
    virtual float CountRotatedY(float rotation);

protected:
    // CurrState, falling back to (and taking) DefaultState while it is null; null when the node
    // has neither (a freed node).
    TAppState* _State();
};
