// The engine's screen: a named set of game objects with their draw and update layers and the
// objects the mouse is over, clicks or holds in the current frame.
//
// This holds what the game objects rely on: the top-level objects, the layers, the frame passes
// over the objects and the mouse reports. Files, assets, texts, pop-ups and the lifecycle hooks
// grow on this class.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/AppObj.h"
#include "engine/GameObject.h"

class TAppScreen : public TAppObj {
public:
    int32_t DrawX = 0;       // origin of the screen's top-level objects (times DrawScale)
    int32_t DrawY = 0;
    float DrawScale = 1.0f;  // scale of the screen's top-level objects
    std::string FileUrl;
    TGameObjectList Objects;       // top-level objects, in the order added
    TGameObjectList DrawLayers;    // every object of the tree, by DrawLayer
    TGameObjectList UpdateLayers;  // every object of the tree, by UpdateLayer
    int32_t isAutoRebuildingDrawingLayers = 1;
    int32_t isAutoRebuildingUpdateLayers = 1;
    TGameObjectPtr CurrOverObject;    // hovered this frame
    TGameObjectPtr CurrClickObject;   // clicked this frame
    TGameObjectPtr CurrHoldedObject;  // held while the left button stays down
    int32_t AllReadyStarted = 0;
    int32_t isLocked = 0;  // a locked screen updates its objects but runs no own hooks

    TAppScreen() = default;
    // The objects that still point at this screen forget it.
    ~TAppScreen() override;

    // UpdateObjects (when enabled). DrawObjects.
    int Updating() override;
    int Drawing() override;
    int Update() override { return 0; }
    int Draw() override { return 0; }

    // Every object of the tree in pre-order (top-level objects in order, each followed by its
    // sub-objects).
    virtual TGameObjectList CreateAllObjectsList();
    // Stable sorts by DrawLayer / UpdateLayer of the whole tree (when the auto flag is set).
    virtual int RebuildDrawingLayers();
    virtual int RebuildUpdatingLayers();
    static int LayerDrawSortFunc(const TGameObject& a, const TGameObject& b);
    static int LayerUpdateSortFunc(const TGameObject& a, const TGameObject& b);

    // Sets the object's screen (its whole tree), appends it, rebuilds the draw layers. Ignores
    // null.
    virtual int AddObject(const TGameObjectPtr& object);
    // Screen = null and out of Objects; the layers keep it until their next rebuild.
    virtual int RemoveObject(TGameObject* object);
    // Takes the object and its whole subtree out of both layers and out of the over, click and
    // held reports (an object being destroyed must not be drawn or reported again).
    virtual int RemoveObjectFromLayers(TGameObject* object);
    virtual int EnableAllObjects();
    // Depth first, exact name / id, top-level objects in order; null (with a warning) when none.
    virtual TGameObjectPtr FindObject(const std::string& objName);
    virtual TGameObjectPtr FindObjectInd(int objId);

    // Clears the over and click reports, the held one while the left button is up, then
    // updates the top-level objects in order.
    virtual int UpdateObjects();
    // Drawing of every object of DrawLayers, in order.
    virtual int DrawObjects();
    virtual int ClearClicksAndOvers();
    virtual int isObjectOver(const TGameObject* object);
    virtual int isObjectClick(const TGameObject* object);
    virtual int OverObjectId();
    virtual int ClickObjectId();
    virtual std::string OverObjectName();
    virtual std::string ClickObjectName();

    virtual int Lock();
    virtual int UnLock();
    virtual int OnLock() { return 0; }
    virtual int OnUnlock() { return 0; }
};

using TAppScreenPtr = std::shared_ptr<TAppScreen>;
