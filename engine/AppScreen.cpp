#include "engine/AppScreen.h"

#include <algorithm>
#include <unordered_set>

#include "engine/Mouse.h"
#include "engine/System/Error.h"

namespace {

void ForgetScreen(TAppBasicObj& node, const TAppScreen* screen) {
    if (node.Screen == screen) node.Screen = nullptr;
    for (auto& sub : node.SubObjects)
        if (sub) ForgetScreen(*sub, screen);
}

}  // namespace

TAppScreen::~TAppScreen() {
    for (auto& obj : Objects)
        if (obj) ForgetScreen(*obj, this);
    for (auto& obj : DrawLayers)
        if (obj) ForgetScreen(*obj, this);
}

int TAppScreen::Updating() {
    if (isEnabled == 0) return 0;
    UpdateObjects();
    return 0;
}

int TAppScreen::Drawing() {
    Draw();
    DrawObjects();
    return 0;
}

TGameObjectList TAppScreen::CreateAllObjectsList() {
    TAppBasicObjList nodes;
    for (auto& obj : Objects)
        if (obj) obj->AddAllObjectsToList(nodes);
    TGameObjectList out;
    out.reserve(nodes.size());
    for (auto& node : nodes)
        if (auto go = std::dynamic_pointer_cast<TGameObject>(node)) out.push_back(go);
    return out;
}

int TAppScreen::RebuildDrawingLayers() {
    if (isAutoRebuildingDrawingLayers == 0) return 0;
    TGameObjectList layers = CreateAllObjectsList();
    std::stable_sort(layers.begin(), layers.end(), [](const TGameObjectPtr& a, const TGameObjectPtr& b) {
        return LayerDrawSortFunc(*a, *b) < 0;
    });
    DrawLayers = std::move(layers);
    return 0;
}

int TAppScreen::RebuildUpdatingLayers() {
    if (isAutoRebuildingUpdateLayers == 0) return 0;
    TGameObjectList layers = CreateAllObjectsList();
    std::stable_sort(layers.begin(), layers.end(), [](const TGameObjectPtr& a, const TGameObjectPtr& b) {
        return LayerUpdateSortFunc(*a, *b) < 0;
    });
    UpdateLayers = std::move(layers);
    return 0;
}

int TAppScreen::LayerDrawSortFunc(const TGameObject& a, const TGameObject& b) { return a.DrawLayer - b.DrawLayer; }

int TAppScreen::LayerUpdateSortFunc(const TGameObject& a, const TGameObject& b) {
    return a.UpdateLayer - b.UpdateLayer;
}

int TAppScreen::AddObject(const TGameObjectPtr& object) {
    if (!object) return 0;
    object->SetScreen(this);
    Objects.push_back(object);
    RebuildDrawingLayers();
    return 0;
}

int TAppScreen::RemoveObject(TGameObject* object) {
    if (object == nullptr) return 0;
    object->Screen = nullptr;
    auto it = std::find_if(Objects.begin(), Objects.end(),
                           [object](const TGameObjectPtr& o) { return o.get() == object; });
    if (it != Objects.end()) Objects.erase(it);
    return 0;
}

int TAppScreen::RemoveObjectFromLayers(TGameObject* object) {
    if (object == nullptr) return 0;
    std::unordered_set<const TGameObject*> gone{object};
    for (auto& sub : object->GetAllSubObjects()) gone.insert(sub.get());
    auto isGone = [&gone](const TGameObjectPtr& o) { return gone.count(o.get()) != 0; };
    DrawLayers.erase(std::remove_if(DrawLayers.begin(), DrawLayers.end(), isGone), DrawLayers.end());
    UpdateLayers.erase(std::remove_if(UpdateLayers.begin(), UpdateLayers.end(), isGone), UpdateLayers.end());
    if (CurrOverObject && isGone(CurrOverObject)) CurrOverObject = nullptr;
    if (CurrClickObject && isGone(CurrClickObject)) CurrClickObject = nullptr;
    if (CurrHoldedObject && isGone(CurrHoldedObject)) CurrHoldedObject = nullptr;
    return 0;
}

int TAppScreen::EnableAllObjects() {
    const TGameObjectList objects = Objects;
    for (auto& obj : objects)
        if (obj) obj->EnableAll();
    return 0;
}

TGameObjectPtr TAppScreen::FindObject(const std::string& objName) {
    for (auto& obj : Objects) {
        if (!obj) continue;
        if (obj->name == objName) return obj;
        if (auto found = obj->FindObject(objName)) return found;
    }
    Warning("Couldn't find object named '" + objName + "'!");
    return nullptr;
}

TGameObjectPtr TAppScreen::FindObjectInd(int objId) {
    for (auto& obj : Objects) {
        if (!obj) continue;
        if (obj->id == objId) return obj;
        if (auto found = obj->FindObjectInd(objId)) return found;
    }
    Warning("Couldn't find object with id '" + std::to_string(objId) + "'!");
    return nullptr;
}

int TAppScreen::UpdateObjects() {
    ClearClicksAndOvers();
    if (Mouse::LeftHolded == 0) CurrHoldedObject = nullptr;
    // A snapshot: an object's update may add or remove objects.
    const TGameObjectList objects = Objects;
    for (auto& obj : objects)
        if (obj) obj->Updating();
    return 0;
}

int TAppScreen::DrawObjects() {
    const TGameObjectList layers = DrawLayers;
    for (auto& obj : layers)
        if (obj) obj->Drawing();
    return 0;
}

int TAppScreen::ClearClicksAndOvers() {
    CurrOverObject = nullptr;
    CurrClickObject = nullptr;
    return 0;
}

int TAppScreen::isObjectOver(const TGameObject* object) {
    return (CurrOverObject && CurrOverObject.get() == object) ? 1 : 0;
}

int TAppScreen::isObjectClick(const TGameObject* object) {
    return (CurrClickObject && CurrClickObject.get() == object) ? 1 : 0;
}

int TAppScreen::OverObjectId() { return CurrOverObject ? CurrOverObject->id : 0; }
int TAppScreen::ClickObjectId() { return CurrClickObject ? CurrClickObject->id : 0; }
std::string TAppScreen::OverObjectName() { return CurrOverObject ? CurrOverObject->name : std::string(); }
std::string TAppScreen::ClickObjectName() { return CurrClickObject ? CurrClickObject->name : std::string(); }

int TAppScreen::Lock() {
    isLocked = 1;
    OnLock();
    return 0;
}

int TAppScreen::UnLock() {
    isLocked = 0;
    OnUnlock();
    return 0;
}
