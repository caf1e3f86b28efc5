// The engine's game object: a scene node with components (animator, collider, data block,
// triggers), one draw object, named states and the layer keys by which its screen orders
// drawing and updating. Every widget, media object, emitter and game-specific object derives
// from it.
//
// Frame passes: the screen updates its top-level objects (each updates its sub-objects) and
// draws every object of its tree one by one in DrawLayer order; a game object never draws its
// own sub-objects. During the update an object reports itself to its screen as hovered,
// clicked or held; the last writer in a frame wins.
//
// File form: a "GameObject" block with the child blocks Basic, Flags, States, Components,
// OwnData and SubObjects (see Save), inline in a screen or parent file or alone in a
// ".GameObject" file inside a folder named after the object, with exported sub-objects in its
// "SubObjects" folder.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppObj.h"
#include "engine/screen/AppState.h"
#include "engine/screen/Component.h"

class TAppObjAnimator;
class TAppCollider;
class TAppDrawObject;
class TAsset;
class TGameObject;

using TGameObjectPtr = std::shared_ptr<TGameObject>;
using TGameObjectList = std::vector<TGameObjectPtr>;

class TGameObject : public TAppBasicObj {
public:
    std::vector<TAppObjComponentPtr> Components;     // in the order added; each one's Obj is this
    std::shared_ptr<TAppObjAnimator> Comp_Animator;  // first animator of Components
    std::shared_ptr<TAppCollider> Comp_Collider;     // first collider of Components
    std::shared_ptr<TAppDrawObject> DrawObject;      // what the object draws; null draws nothing
    int32_t isTemplate = 0;
    int32_t isGlobal = 0;          // a screen saving its objects leaves this one out
    int32_t isSavedInternaly = 0;  // a screen saves it inside its own file
    int32_t isNotSaved = 0;        // a screen saving its objects leaves this one out
    int32_t isAssetToBeLoad = 1;
    std::vector<TAppStatePtr> States;  // holds "DEFAULT" from the constructor
    int32_t DrawLayer = 0;             // the screen draws in ascending order of this key
    int32_t UpdateLayer = 0;           // the key of the screen's update layers
    int32_t isExporting = 0;           // 1 while written out as a game-object folder
    std::string Prefix;                // folder ("/"-terminated) the object was read from; "" inline

    // name "GameObject", one state "DEFAULT" that is both current and default.
    TGameObject();
    // Components that outlive the object (held elsewhere) forget it as their owner.
    ~TGameObject() override;

    // ---- Base slots ----
    int Updating() override;
    int Drawing() override;
    int Draw() override { return 0; }
    int Save(const TBlockFilePtr& parent) override;
    int Load(const TBlockFilePtr& block, TLoadList* list) override;
    // OnFree, FreeGameObject, FreeAsset.
    int Free() override;
    float GetX() override;
    float GetY() override;
    int SetCurrState(const std::shared_ptr<TAppState>& state) override;
    // By name (exact case): an empty name changes nothing; a name no state has is reported and
    // keeps the current state.
    virtual int SetCurrState(const std::string& stateName);

    // ---- Copying ----
    virtual int _CopyBasics(TGameObject* target);
    virtual int _CopyFlags(TGameObject* target);
    virtual int _CopyComponents(TGameObject* target);
    virtual int _CopySubObjects(TGameObject* target);
    virtual int _CopyStates(TGameObject* target);
    // Copies this object into target: basics, flags, states, sub-objects, then components (last,
    // so each copied component is re-targeted at the copied tree before it is attached).
    virtual int CopyStandard(TGameObject* target);
    // A new plain game object made by CopyStandard; subclasses return their own type.
    virtual TGameObjectPtr Copy();
    // Enable on this object, then EnableAll on each game-object sub-object.
    virtual int EnableAll();
    virtual int ClearComponentsPointers();
    // Takes the object out of its parent (or its screen's objects) and out of its screen's
    // layers and mouse reports, then frees it.
    virtual int Destroy();
    virtual int DisableSubs();
    virtual int EnableSubs();

    // ---- Screen-related actions ----
    // StartSubs, StartFirstCounting (UpdateSettings), OnStart.
    virtual int Start();
    virtual int StartSubs();
    virtual int StartFirstCounting();
    // LeaveScreenSubs, OnLeaveScreen.
    virtual int LeaveScreen();
    virtual int LeaveScreenSubs();
    // EnterScreenSubs (OnEnterScreen of the direct sub-objects only), OnEnterScreen.
    virtual int EnterScreen();
    virtual int EnterScreenSubs();

    // ---- Assets ----
    // LoadSubAssets, then OnLoadAsset (children first).
    virtual int LoadAsset();
    virtual int LoadSubAssets();
    virtual int FreeSubAssets();
    // OnFreeAsset, then FreeSubAssets (this object first).
    virtual int FreeAsset();
    // Frees components and states, cuts the parent link and frees the sub-objects.
    virtual int FreeGameObject();

    // ---- Checking ----
    virtual int isHover();
    // Plays the buttons' click (the sound manager's ClickSound) each time it answers 1.
    virtual int isClicked();
    virtual int isHolded();
    virtual int isComponentAllreadyHere(int kind);
    // index 0: Comp_Collider; index n: the n-th collider of Components counted from 0.
    virtual int isColliderMouseOver(int index);
    virtual int isCurrentAnimation(const std::string& animName);
    virtual int isCurrentAnimationInd(int index);
    virtual int isCurrentAnimationId(int animId);
    virtual int isPlayingAnimation();
    virtual int isAnimation();
    // 1 when the object may be reported to its screen as hovered, clicked or held; widgets
    // answer their isActive flag.
    virtual int isActiveForMouse() { return 1; }
    // Widgets give their own size (for colliders made to fit them) and answer 1; 0 otherwise.
    virtual int GetWidgetSize(int& w, int& h);

    // ---- Drawing ----
    virtual int DrawDebug();
    virtual int DrawStateChanges() { return 0; }
    virtual int DrawMyObject();

    // ---- Updating ----
    virtual int UpdateComponents();
    virtual int UpdateObject() { return 0; }
    virtual int UpdateOverAndClick();
    virtual int Update_CORE();

    // ---- Event hooks (empty here) ----
    virtual int OnStart() { return 0; }
    virtual int OnDisable() { return 0; }
    virtual int OnEnable() { return 0; }
    virtual int OnLeaveScreen() { return 0; }
    virtual int OnEnterScreen() { return 0; }
    virtual int OnLoadAsset() { return 0; }
    virtual int OnFreeAsset() { return 0; }
    virtual int OnFree() { return 0; }
    virtual int OnDraw() { return 0; }
    // Run by LoadGameObject once the object is loaded (the emitters set up their particle
    // package here).
    virtual int OnLoaded() { return 0; }

    // ---- Animating (forwarded to Comp_Animator; nothing without one) ----
    virtual int Animation_PlayInd(int index, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_PlayId(int animId, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_Play(const std::string& animName, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_Pause();
    virtual int Animation_Stop();
    virtual int Animation_Continue();
    virtual int Animation_Finished();
    virtual float AnimationPer();
    virtual int BuildStatesArrayFromList(const std::vector<TAppStatePtr>& list);

    // ---- Adding ----
    virtual int AddState(const TAppStatePtr& state);
    // Appends the component (its Obj becomes this object), re-finds both shortcuts and, when the
    // animator has a default animation, restarts it looped at a random position.
    virtual int AddComponent(const TAppObjComponentPtr& component);

    // ---- Removing ----
    virtual int RemoveState(const TAppStatePtr& state);
    virtual int RemoveComponent(const TAppObjComponentPtr& component);
    virtual int RemoveComponentByType(int kind);

    // ---- Setting (on the current state; nothing while the object has no state) ----
    virtual int MoveXY(float dx, float dy);
    virtual int SetScaleX(float sx);
    virtual int SetScaleY(float sy);
    virtual int SetA(float a);
    virtual int SetRot(float rotation);
    virtual int SetX(float x);
    virtual int SetRGB(int r, int g, int b);
    virtual int SetY(float y);
    virtual int SetDrawObject(const std::shared_ptr<TAppDrawObject>& drawObject);
    // States[index]; an index outside States is reported and changes nothing.
    virtual int SetCurrStateInd(int index);
    virtual int SetPosition(float x, float y);
    virtual int SetStateByIndex(int index);
    virtual int SetAsset(const std::shared_ptr<TAsset>& asset);
    // Screen of this object and its whole game-object subtree.
    virtual int SetScreen(TAppScreen* screen);

    // ---- Getting info ----
    // Depth first, pre-order, exact name / id; this object is not compared.
    virtual TGameObjectPtr FindObject(const std::string& objName);
    virtual TGameObjectPtr FindObjectInd(int objId);
    virtual TGameObject* GetRootParent();
    virtual float GetA();
    // Ignoring case / exact case; null when none.
    virtual TAppStatePtr GetStateByName(const std::string& stateName);
    virtual TAppStatePtr GetAppState(const std::string& stateName);
    virtual std::string GetTypeStr();
    virtual int GetTypeInt() { return 0; }
    virtual std::vector<std::string> GetStatesStringArray();
    virtual TGameObjectList GetAllSubObjects();
    virtual int GetAllComponentsShortcuts();
    virtual std::shared_ptr<TAppObjAnimator> GetComponent_Animator();
    virtual std::shared_ptr<TAppCollider> GetComponent_Collider();

    // ---- Saving and loading ----
    // Each _Save... appends its child block to the "GameObject" block it is given. Each _Load...
    // is given the "GameObject" block, except _LoadSubObjects, given its "SubObjects" block.
    virtual int _SaveBasics(const TBlockFilePtr& block);
    virtual int _SaveFlags(const TBlockFilePtr& block);
    virtual int _SaveStates(const TBlockFilePtr& block);
    virtual int _SaveComponents(const TBlockFilePtr& block);
    virtual int _SaveSubObjects(const TBlockFilePtr& block);
    // Own entries of a subclass, into the "OwnData" block.
    virtual int SaveMyData(const TBlockFilePtr& /*block*/) { return 0; }
    virtual int _LoadBasics(const TBlockFilePtr& block, TLoadList* list);
    virtual int _LoadFlags(const TBlockFilePtr& block, TLoadList* list);
    virtual int _LoadStates(const TBlockFilePtr& block, TLoadList* list);
    virtual int _LoadComponents(const TBlockFilePtr& block, TLoadList* list);
    virtual int _LoadSubObjects(const TBlockFilePtr& block, TLoadList* list);
    virtual int LoadMyData(const TBlockFilePtr& /*block*/, TLoadList* /*list*/) { return 0; }

protected:
    // Pairs this tree's game objects with target's, walking both in step.
    void _MapCopiedTree(TGameObject* target, TGameObjectCopyMap& map);
    int _ExportSubObject(TGameObject* sub, std::vector<std::string>& usedFolders, const TBlockFilePtr& ref);
};

// ---- Type numbers and the object factory ----

// Words by type number: "Empty", "Text", "Image", "Button", "VectorObj", "OverBox",
// "BasicEmitter", "Button_Light", "SoundObject".
extern std::vector<std::string> GameObject_Names;
void InitGameObjectNames();

using TGameObjectCreator = std::function<TGameObjectPtr()>;
// Makes `creator` build type `type` (the widget, media and emitter modules register 1..8 at
// start-up). A null creator removes the type.
void RegisterGameObjectType(int type, TGameObjectCreator creator);
// Back to type 0 alone (tests).
void ResetGameObjectTypes();
// A new object of that type with its defaults; null for a type without a class.
TGameObjectPtr CreateNewGameObjectByType(int type);

// ---- Game-object blocks, files and folders ----

// The object a "GameObject" block describes (by "Basic::Type"), with Prefix = prefix, loaded;
// null for a type without a class.
TGameObjectPtr LoadGameObject(const TBlockFilePtr& block, TLoadList* list, const std::string& prefix);
// A ".GameObject" file; null when it is missing.
TGameObjectPtr LoadGameObject_File(const std::string& url, TLoadList* list);
// A folder D holding D/<last part of D>.GameObject; null when that file is missing.
TGameObjectPtr LoadGameObject_Dir(const std::string& dir, TLoadList* list);
TGameObjectPtr LoadGameobject_DirIn(const std::string& dir, TLoadList* list);
// A file or a folder, whichever url names; null otherwise.
TGameObjectPtr LoadGameObjectFromUrl(const std::string& url, TLoadList* list);
// The folder name an object named objName exports to: the name with path separators, ":" and
// control characters replaced by "_", and "_" put in front of a name that is empty or all dots,
// so no name leaves the folder it is exported into.
std::string GameObjectFolderName(const std::string& objName);
// Writes obj and its whole sub-object tree into the folder path (taken as a folder with or
// without a trailing separator): path/F/F.GameObject with F = GameObjectFolderName(name), and
// each sub-object under path/F/SubObjects/ the same way. Sub-objects whose folder names clash
// (letter case aside) get "_2", "_3"... behind, so none overwrites another. Returns F.
// usedFolders (when given) lists the folders already written into path by the caller: F then
// gets the same "_2", "_3"... treatment against them and is added to the list.
std::string ExportGameObject(const std::string& path, TGameObject* obj,
                             std::vector<std::string>* usedFolders = nullptr);
