// The collider component (kind 1, "Collider"): a hit polygon laid over its object at the
// object's derived position, rotation and scale, asked whether a point or the mouse is inside.
// Its "Component" block holds "Type" = 1, "Name" and a "Shape" block.
#pragma once
#include <memory>

#include "engine/screen/Component.h"
#include "engine/screen/Shape.h"

class TAppCollider : public TAppObjComponent {
public:
    TAppShapePtr Shape;  // in the object's own coordinates

    int Free() override;
    int DrawDebug() override;
    std::string GetTypeStr() override;
    int GetTypeInt() override { return 1; }
    TAppObjComponentPtr Copy() override;
    int Save(const TBlockFilePtr& block) override;
    int Load(const TBlockFilePtr& block, TLoadList* list) override;

    // 1 when (x, y), virtual-screen pixels, lies inside the shape placed over the owner (the
    // owner's y truncated to an int, as the shape test takes it). 0 without owner or shape.
    virtual int isPointInArea(float x, float y);
    // isPointInArea at the mouse.
    virtual int isOver();
    virtual int isCollision(const TAppShapePtr& shape);
};

using TAppColliderPtr = std::shared_ptr<TAppCollider>;

// Always 0: shape against shape is not computed.
int CheckShapeCollision(const TAppShapePtr& a, const TAppShapePtr& b);

// A new collider named "Collider" attached to obj (AddComponent; Comp_Collider becomes it when it
// was empty). A widget gets a rectangle of its own size from its top-left corner; any other
// object a w by h rectangle shifted by (hx, hy). With a null obj the collider is made unattached.
TAppColliderPtr CreateAppCollider(TGameObject* obj, int w, int h, float hx, float hy);
// For resizing: gives obj's collider (Comp_Collider) the rectangle CreateAppCollider would make,
// or creates it when obj has none, so repeated sizing keeps one collider that follows the size.
TAppColliderPtr ResizeAppCollider(TGameObject* obj, int w, int h, float hx, float hy);
