#include "engine/screen/Collider.h"
#include "engine/basics/Basics.h"

#include "engine/screen/GameObject.h"
#include "engine/window/Mouse.h"
#include "engine/data/BoxedNumbers.h"

int TAppCollider::Free() {
    Shape = nullptr;
    Obj = nullptr;
    return 0;
}

int TAppCollider::DrawDebug() {
    if (!Shape || Obj == nullptr) return 0;
    Shape->DrawDebug(Obj->DrawX, Obj->DrawY, Obj->DrawRotation, Obj->DrawScaleX, Obj->DrawScaleY);
    return 0;
}

std::string TAppCollider::GetTypeStr() { return GetComponentName(GetTypeInt()); }

TAppObjComponentPtr TAppCollider::Copy() {
    auto c = std::make_shared<TAppCollider>();
    if (Shape) c->Shape = Shape->Copy();
    return c;
}

int TAppCollider::Save(const TBlockFilePtr& block) {
    SaveBase(block);
    if (Shape) Shape->Save(block);
    return 0;
}

int TAppCollider::Load(const TBlockFilePtr& block, TLoadList*) {
    LoadBase(block);
    Shape = LoadAppShape(GetBlockFile(block, "SHAPE"));
    return 0;
}

int TAppCollider::isPointInArea(float x, float y) {
    if (!Shape || Obj == nullptr) return 0;
    return Shape->PointIn(Obj->DrawX, TruncToInt(Obj->DrawY), x, y, Obj->DrawRotation, Obj->DrawScaleX,
                          Obj->DrawScaleY);
}

int TAppCollider::isOver() { return isPointInArea(static_cast<float>(Mouse::x), static_cast<float>(Mouse::y)); }

int TAppCollider::isCollision(const TAppShapePtr& shape) { return CheckShapeCollision(Shape, shape); }

int CheckShapeCollision(const TAppShapePtr&, const TAppShapePtr&) { return 0; }

namespace {

// The rectangle a collider of obj gets: a widget's own size from its top-left corner, else
// w by h shifted by (hx, hy).
TAppShapePtr ColliderRect(TGameObject* obj, int w, int h, float hx, float hy) {
    int ww = 0, wh = 0;
    if (obj != nullptr && obj->GetWidgetSize(ww, wh) != 0) {
        const float fw = static_cast<float>(ww);
        const float fh = static_cast<float>(wh);
        return CreateAppShape_Rect(fw, fh, fw * 0.5f, fh * 0.5f);
    }
    return CreateAppShape_Rect(static_cast<float>(w), static_cast<float>(h), hx, hy);
}

}  // namespace

TAppColliderPtr CreateAppCollider(TGameObject* obj, int w, int h, float hx, float hy) {
    auto c = std::make_shared<TAppCollider>();
    c->name = c->GetTypeStr();
    c->Obj = obj;
    c->Shape = ColliderRect(obj, w, h, hx, hy);
    if (obj != nullptr) {
        obj->AddComponent(c);
        if (!obj->Comp_Collider) obj->Comp_Collider = c;
    }
    return c;
}

TAppColliderPtr ResizeAppCollider(TGameObject* obj, int w, int h, float hx, float hy) {
    if (obj == nullptr || !obj->GetComponent_Collider()) return CreateAppCollider(obj, w, h, hx, hy);
    TAppColliderPtr c = obj->Comp_Collider;
    c->Shape = ColliderRect(obj, w, h, hx, hy);
    return c;
}
