#include "engine/screen/AppScreen.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "engine/screen/AppAnimator.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/screen/DrawObject.h"
#include "engine/basics/Basics.h"
#include "engine/window/Mouse.h"
#include "engine/system/Error.h"
#include "engine/system/FileRequester.h"
#include "engine/system/Paths.h"
#include "engine/media/TxtFile.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

TAppScreen* TAppScreen::CurrentlyLoadingScreen = nullptr;

namespace {

void ForgetScreen(TAppBasicObj& node, const TAppScreen* screen) {
    if (node.Screen == screen) node.Screen = nullptr;
    for (auto& sub : node.SubObjects)
        if (sub) ForgetScreen(*sub, screen);
}

// The folder of a file path followed by "/"; "" for a bare file name (the working folder, never
// the file-system root).
std::string FolderOf(const std::string& url) {
    const std::string dir = ExtractDir(url);
    return dir.empty() ? std::string() : dir + "/";
}

// The default text file of a screen file: <language folder><base name>.txt.
std::string DefaultTextFileUrl(const std::string& screenUrl) { return LocalizeDir + StripAll(screenUrl) + ".txt"; }

// A text-file path as the text-file reader takes it ("#LANG#" names the language).
std::string TextFilePath(const std::string& url) { return Replace(url, "#LANG#", LangMod); }

}  // namespace

TAppScreen::~TAppScreen() {
    for (auto& obj : Objects)
        if (obj) ForgetScreen(*obj, this);
    for (auto& obj : DrawLayers)
        if (obj) ForgetScreen(*obj, this);
    // The loaders' globals never point at a screen that is gone.
    if (CurrentlyLoadingScreen == this) CurrentlyLoadingScreen = nullptr;
    if (TAsset::CurrScreen == this) TAsset::CurrScreen = nullptr;
    if (TAppDrawObject::CurrScreen == this) TAppDrawObject::CurrScreen = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Frame passes

int TAppScreen::Updating() {
    if (isEnabled == 0) return 0;
    isFirstUpdatePending = 0;
    UpdateAtStart();
    UpdateObjects();
    UpdateAtEnd();
    UpdateObjectType();
    UpdatePopUps();
    if (auto* self = dynamic_cast<TAppPopUp*>(this)) {
        if (self->OnHideCheck() != 0) self->Hide();
    }
    if (isLocked == 0) {
        OnUpdate();
        Update();
        if (!ActivePopUps.empty()) {
            const TAppPopUpPtr top = ActivePopUps.back();  // kept alive through its Interface
            if (top) top->Interface();
        } else {
            Interface();
        }
    }
    return 0;
}

int TAppScreen::Drawing() {
    TPictureRecord* const before = isPopUpScreen() != 0 ? nullptr : RecordPictures(&PicturesShown);
    Draw();
    DrawObjects();
    OnDraw();
    DrawPopUps();
    if (isPopUpScreen() == 0) RecordPictures(before);
    return 0;
}

int TAppScreen::Settle() {
    if (isFirstUpdatePending == 0) return 0;
    isFirstUpdatePending = 0;
    // The presses of this frame were read into Mouse already: hidden from the pass and put back.
    const bool wasHeld = isInputHeldBack();
    const int pressed[3] = {Mouse::LeftPressed, Mouse::RightPressed, Mouse::MidPressed};
    const int held[3] = {Mouse::LeftHolded, Mouse::RightHolded, Mouse::MidHolded};
    const float wheel = Mouse::vz;
    HoldBackInput(true);
    Mouse::LeftPressed = Mouse::RightPressed = Mouse::MidPressed = 0;
    Mouse::LeftHolded = Mouse::RightHolded = Mouse::MidHolded = 0;
    Mouse::vz = 0.0f;
    Updating();
    // The objects took their draw settings from their states before the screen's own update
    // changed those states (texts shown or hidden, button views): taken again, so the frame
    // drawn next shows what the update set.
    RefreshDrawSettings();
    HoldBackInput(wasHeld);
    Mouse::LeftPressed = pressed[0];
    Mouse::RightPressed = pressed[1];
    Mouse::MidPressed = pressed[2];
    Mouse::LeftHolded = held[0];
    Mouse::RightHolded = held[1];
    Mouse::MidHolded = held[2];
    Mouse::vz = wheel;
    return 0;
}

int TAppScreen::RefreshDrawSettings() {
    EachOf(Objects, &TGameObject::UpdateAllTheSettings);
    EachOf(ActivePopUps, &TAppPopUp::RefreshDrawSettings);
    return 0;
}

int TAppScreen::UpdateObjects() {
    ClearClicksAndOvers();
    if (Mouse::LeftHolded == 0) CurrHoldedObject = nullptr;
    // A snapshot: an object's update may add or remove objects.
    EachOf(Objects, &TGameObject::Updating);
    return 0;
}

int TAppScreen::UpdatePopUps() {
    if (isPopUpScreen() != 0 || ActivePopUps.empty()) return 0;
    const TAppPopUpPtr top = ActivePopUps.back();  // it may hide itself while it updates
    if (top) top->Updating();
    return 0;
}

int TAppScreen::DrawPopUps() {
    EachOf(ActivePopUps, &TAppPopUp::Drawing);
    return 0;
}

int TAppScreen::DrawObjects() {
    EachOf(DrawLayers, &TGameObject::Drawing);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Loading

int TAppScreen::Load(const TBlockFilePtr&, TLoadList*) {
    if (!FileUrl.empty()) LoadFromFile(FileUrl);
    return 0;
}

int TAppScreen::LoadFromFile(const std::string& url) {
    if (isNotToBeLoaded != 0) return 0;
    // A folder is no screen file either (the block-file reader must be given a file).
    if (FileType(url) != 1) {
        FileUrl = url;
        isFileDamaged = 1;
        Warning("No screen file '" + url + "' found", Here());
        // Said once: the screen's texts read as empty lines.
        if (!TxtFile && isNotUsingText == 0) TxtFile = std::make_shared<TTxtFile>();
        return 0;
    }
    TAsset::CurrScreen = this;
    bool whole = false;
    TBlockFilePtr root = LoadBlockFileChecked(url, whole);
    isFileDamaged = whole ? 0 : 1;
    // What a damaged file still holds is used.
    if (!whole) Error("Screen file '" + url + "' is damaged; loading what it holds", Here());
    FileUrl = url;
    TextFileUrl = DefaultTextFileUrl(FileUrl);
    CurrentlyLoadingScreen = this;
    _LoadData(root);
    _LoadTextFile(TextFileUrl);
    _LoadFlags(root);
    TLoadList list;
    {
        // A damaged file was said above; what its objects make of the remains is not.
        std::optional<HeldContentReports> held;
        if (!whole) held.emplace(url);
        _LoadObjects(GetBlockFile(root, "Objects"), &list);
    }
    return 0;
}

int TAppScreen::_LoadData(const TBlockFilePtr& root) {
    name = GetBFString(root, "Data::name", 0);
    TxtFileUrlOverride = GetBFString(root, "Data::TxtFileUrl", 0);
    if (!TxtFileUrlOverride.empty()) TextFileUrl = TxtFileUrlOverride;
    return 0;
}

int TAppScreen::_LoadFlags(const TBlockFilePtr& root) {
    isSetupedAtLoading = TruncToInt(GetBFNumber(root, "Flags::isSetupedAtLoading", 0));
    isFreedByLeave = TruncToInt(GetBFNumber(root, "Flags::isFreedByLeave", 0));
    return 0;
}

int TAppScreen::_LoadTextFile(const std::string& url) {
    if (isNotUsingText != 0) return 0;
    // Tested where the reader will look: "#LANG#" stands for the language folder.
    if (FileType(TextFilePath(url)) == 0) {
        // Once for the file, which other readers may ask for too.
        if (FirstReportAbout(TextFilePath(url)))
            Error("Unable to load txt file '" + url + "' for screen '" + name + "'! - No such file or directory!");
        // Reported once: the screen's texts read as empty lines from here on.
        TxtFile = std::make_shared<TTxtFile>();
        return 0;
    }
    TxtFile = LoadTxtFile(url);
    return 0;
}

int TAppScreen::_LoadObjects(const TBlockFilePtr& objects, TLoadList* list) {
    TAppDrawObject::CurrScreen = this;
    const std::string exportDir = FolderOf(FileUrl) + "GameObjects";
    for (auto& block : GetBlockFilesList(objects, "GAMEOBJECT")) {
        const std::string ref = GetBFString(block, "LoadObject", 0);
        TGameObjectPtr obj;
        if (!ref.empty()) {
            const std::string path = exportDir + "/" + ref;
            // A reference names a folder (or file) of this screen's "GameObjects": never one
            // elsewhere.
            if (PathResolvesInside(exportDir, path)) obj = LoadGameObjectFromUrl(path, nullptr);
        } else {
            obj = LoadGameObject(block, list, "");
        }
        if (!obj) continue;
        AddObject(obj);
        obj->UpdateSettings();
        obj->UpdateSubObjectsSettings();
    }
    TAppDrawObject::CurrScreen = nullptr;
    RebuildDrawingLayers();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Saving

std::string TAppScreen::SaveToFile(const std::string& url) {
    if (!url.empty()) FileUrl = url;
    // A screen that never had a path asks the player for one; cancelled, nothing is written.
    if (FileUrl.empty()) FileUrl = RequestFile("Enter screen file name", "Screen Files:AppScreen", true, "");
    if (FileUrl.empty()) return "";
    TBlockFilePtr root = CreateBlockFile(FileUrl, nullptr);
    // The texts go back where they were read from: the file the screen file named, else the
    // default file of this screen file.
    TextFileUrl = TxtFileUrlOverride.empty() ? DefaultTextFileUrl(FileUrl) : TxtFileUrlOverride;
    _SaveData(root);
    _SaveAssets(root);
    _SaveFlags(root);
    _SaveObjects(root);
    _SaveTextFile(TextFileUrl);
    if (!SaveBlockFile(root)) return "";
    return FileUrl;
}

int TAppScreen::_SaveData(const TBlockFilePtr& root) {
    TBlockFilePtr data = CreateBlockFile("Data", root);
    AddStringToBlock(data, "Name", name, 0);
    if (!TxtFileUrlOverride.empty()) AddStringToBlock(data, "TxtFileUrl", TxtFileUrlOverride, 0);
    return 0;
}

int TAppScreen::_SaveAssets(const TBlockFilePtr& root) {
    TBlockFilePtr block = CreateBlockFile("Assets", root);
    for (auto& asset : Assets)
        if (asset && asset->doNotSaveInScreen == 0) asset->Save(CreateBlockFile("Asset", block));
    return 0;
}

int TAppScreen::_SaveFlags(const TBlockFilePtr& root) {
    TBlockFilePtr flags = CreateBlockFile("Flags", root);
    AddIntToBlock(flags, "isSetupedAtLoading", isSetupedAtLoading, 0);
    AddIntToBlock(flags, "isFreedByLeave", isFreedByLeave, 0);
    return 0;
}

int TAppScreen::_SaveObjects(const TBlockFilePtr& root) {
    TBlockFilePtr block = CreateBlockFile("Objects", root);
    const std::string exportDir = FolderOf(FileUrl) + "GameObjects";
    std::vector<std::string> usedFolders;
    for (auto& obj : Objects) {
        if (!obj || obj->isNotSaved != 0) continue;
        obj->Prefix.clear();
        if (obj->isGlobal != 0) continue;
        if (obj->isSavedInternaly != 0) {
            obj->Save(block);
            continue;
        }
        if (FileType(exportDir) != 2) CreateDir(exportDir, false);
        TBlockFilePtr ref = CreateBlockFile("GameObject", block);
        // Objects sharing a name get folders of their own, so none overwrites another.
        AddStringToBlock(ref, "LoadObject", ExportGameObject(exportDir + "/", obj.get(), &usedFolders), 0);
    }
    return 0;
}

int TAppScreen::_SaveTextFile(const std::string& url) {
    if (!TxtFile) TxtFile = std::make_shared<TTxtFile>();
    const std::string path = TextFilePath(url);
    // A screen that holds no texts (never loaded, or the file was missing) must not wipe a text
    // file that is there.
    if (TxtFile->txt.empty() && FileType(path) != 0) return 0;
    SaveTxtFile(TxtFile, path);
    return 0;
}

int TAppScreen::SetupAssets() {
    const TAssetList assets = Assets;
    for (auto& asset : assets)
        if (asset && asset->doAutoLoad != 0) asset->LoadAsset();
    return 0;
}

int TAppScreen::Setup() { return OnSetup(); }

int TAppScreen::Init(const std::string& screenName, const std::string& url) {
    name = screenName;
    FileUrl = url;
    Control::AddScreen(SharedFrom<TAppScreen>(this));
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Getting and finding

TGameObjectPtr TAppScreen::FindObject(const std::string& objName) {
    for (auto& obj : Objects) {
        if (!obj) continue;
        if (obj->name == objName) return obj;
        if (auto found = obj->FindObject(objName)) return found;
    }
    if (isFileDamaged == 0) Warning("Couldn't find object named '" + objName + "'!");
    return nullptr;
}

TGameObjectPtr TAppScreen::FindObjectInd(int objId) {
    for (auto& obj : Objects) {
        if (!obj) continue;
        if (obj->id == objId) return obj;
        if (auto found = obj->FindObjectInd(objId)) return found;
    }
    if (isFileDamaged == 0) Warning("Couldn't find object with id '" + std::to_string(objId) + "'!");
    return nullptr;
}

std::string TAppScreen::GetPath() { return FolderOf(FileUrl); }

std::string TAppScreen::GetNewAssetName(const std::string& assetName) {
    const std::string wanted = Upper(assetName);
    int count = 0;
    for (auto& asset : Assets)
        if (asset && Upper(asset->name) == wanted) ++count;
    return count == 0 ? assetName : assetName + "_" + std::to_string(count);
}

TAssetList TAppScreen::GetAssetsArray() { return Assets; }

TGameObjectList TAppScreen::GetObjectsArray() {
    if (!Objects.empty()) _go = Objects.back();
    return Objects;
}

TGameObjectPtr TAppScreen::GetFirstGameObject() {
    for (auto& obj : Objects)
        if (obj) return obj;
    return nullptr;
}

std::string TAppScreen::GetTxt(int line) {
    if (!TxtFile) {
        Error("TxtFile for screen '" + name + "' not initiated!");
        return "";
    }
    return GetTxtLine(TxtFile, line);
}

// ---------------------------------------------------------------------------------------------
// Layers

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
    std::stable_sort(layers.begin(), layers.end(),
                     [](const TGameObjectPtr& a, const TGameObjectPtr& b) { return LayerDrawSortFunc(*a, *b) < 0; });
    DrawLayers = std::move(layers);
    return 0;
}

int TAppScreen::RebuildUpdatingLayers() {
    if (isAutoRebuildingUpdateLayers == 0) return 0;
    TGameObjectList layers = CreateAllObjectsList();
    std::stable_sort(layers.begin(), layers.end(),
                     [](const TGameObjectPtr& a, const TGameObjectPtr& b) { return LayerUpdateSortFunc(*a, *b) < 0; });
    UpdateLayers = std::move(layers);
    return 0;
}

// Compared, never subtracted: layers far apart must not overflow.
int TAppScreen::LayerDrawSortFunc(const TGameObject& a, const TGameObject& b) {
    return (a.DrawLayer > b.DrawLayer) - (a.DrawLayer < b.DrawLayer);
}

int TAppScreen::LayerUpdateSortFunc(const TGameObject& a, const TGameObject& b) {
    return (a.UpdateLayer > b.UpdateLayer) - (a.UpdateLayer < b.UpdateLayer);
}

// ---------------------------------------------------------------------------------------------
// Removing and adding

int TAppScreen::RemoveAsset(const std::shared_ptr<TAsset>& asset) {
    auto it = std::find(Assets.begin(), Assets.end(), asset);
    if (it != Assets.end()) Assets.erase(it);
    return 0;
}

int TAppScreen::RemoveAssetByInd(int index) {
    if (index < 0 || static_cast<size_t>(index) >= Assets.size()) return 0;
    const std::shared_ptr<TAsset> asset = Assets[static_cast<size_t>(index)];
    return RemoveAsset(asset);
}

int TAppScreen::RemoveObject(TGameObject* object) {
    if (object == nullptr) return 0;
    object->Screen = nullptr;
    auto it =
        std::find_if(Objects.begin(), Objects.end(), [object](const TGameObjectPtr& o) { return o.get() == object; });
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

int TAppScreen::CheckObjectSubReliance(TGameObject* object) {
    if (object != nullptr && object->Comp_Animator) object->Comp_Animator->CheckAnimationsReliance();
    return 0;
}

int TAppScreen::EnableAllObjects() {
    EachOf(Objects, &TGameObject::EnableAll);
    return 0;
}

int TAppScreen::AddObject(const TGameObjectPtr& object) {
    if (!object) return 0;
    object->SetScreen(this);
    Objects.push_back(object);
    RebuildDrawingLayers();
    return 0;
}

int TAppScreen::AddAsset(const std::shared_ptr<TAsset>& asset) {
    if (asset) Assets.push_back(asset);
    return 0;
}

int AddObjectToScreen(TAppScreen* screen, const TGameObjectPtr& object) {
    return screen != nullptr ? screen->AddObject(object) : 0;
}

// ---------------------------------------------------------------------------------------------
// Objects

int TAppScreen::MoveObject(TAppBasicObj* object, TAppBasicObj* parent) {
    if (object == nullptr) return 0;
    // Into itself or into one of its own sub-objects would cut the branch off the tree.
    if (parent == object || object->isObjectMySub(parent)) {
        CriticalError("Object '" + object->name + "' can't be moved into one of it's children!");
        return 0;
    }
    const std::shared_ptr<TAppBasicObj> keep = SharedFrom<TAppBasicObj>(object);
    if (!keep) return 0;
    if (object->Parent != nullptr) {
        CheckObjectSubReliance(dynamic_cast<TGameObject*>(object->Parent));
        object->RemoveFromParent();
    } else {
        auto it = std::find_if(Objects.begin(), Objects.end(),
                               [object](const TGameObjectPtr& o) { return o.get() == object; });
        if (it != Objects.end()) Objects.erase(it);
    }
    if (parent == nullptr) {
        if (auto go = std::dynamic_pointer_cast<TGameObject>(keep)) Objects.push_back(go);
    } else {
        parent->AddSubObject(keep);
        CheckObjectSubReliance(dynamic_cast<TGameObject*>(parent));
    }
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

int TAppScreen::ClearClicksAndOvers() {
    CurrOverObject = nullptr;
    CurrClickObject = nullptr;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Life cycle

int TAppScreen::Start() {
    if (AllReadyStarted != 0) return 0;
    AllReadyStarted = 1;
    StartObjects();
    OnStart();
    return 0;
}

int TAppScreen::StartObjects() {
    EachOf(Objects, &TGameObject::Start);
    RebuildDrawingLayers();
    RebuildUpdatingLayers();
    return 0;
}

int TAppScreen::Prepare() {
    PicturesShown.Clear();
    Start();
    PreparingObjects();
    OnPrepare();
    isFirstUpdatePending = 1;
    return 0;
}

int TAppScreen::AskAhead() {
    RequestPictures(PicturesShown);
    for (const auto& asset : Assets)
        if (asset) asset->AskAhead();
    return 0;
}

int TAppScreen::PreparingObjects() {
    EachOf(Objects, &TGameObject::EnterScreen);
    return 0;
}

int TAppScreen::LeavingObjects() {
    EachOf(Objects, &TGameObject::LeaveScreen);
    return 0;
}

int TAppScreen::Leaving() {
    LeavingObjects();
    OnLeave();
    if (isFreedByLeave != 0) Free();
    return 0;
}

int TAppScreen::Free() {
    FreeObjects();
    OnFree();
    AllReadyStarted = 0;
    return 0;
}

int TAppScreen::FreeObjectAsset(TGameObject* object) {
    if (object != nullptr) object->OnFreeAsset();
    return 0;
}

int TAppScreen::FreeObjects() {
    EachOf(Objects, &TGameObject::OnFree);
    return 0;
}

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

// ---------------------------------------------------------------------------------------------
// Pop-ups

int TAppScreen::ShowPopUp(const std::shared_ptr<TAppPopUp>& popup) {
    FlushKeys();
    Mouse::Clear();
    if (!popup || isPopUp(popup.get()) != 0) return 0;
    const TAppPopUpPtr keep = popup;
    ActivePopUps.push_back(keep);
    keep->_shownOn = this;
    keep->Show();
    keep->_shownOn = nullptr;
    keep->Updating();
    return 0;
}

int TAppScreen::HidePopUp(const TAppPopUp* popup) {
    auto it = std::find_if(ActivePopUps.begin(), ActivePopUps.end(),
                           [popup](const TAppPopUpPtr& p) { return p.get() == popup; });
    if (it == ActivePopUps.end()) return 0;
    const TAppPopUpPtr keep = *it;
    ActivePopUps.erase(it);
    if (keep) keep->UnLock();
    return 0;
}

int TAppScreen::HideAllPopUps() {
    const TAppPopUpList shown = ActivePopUps;
    for (auto& popup : shown) HidePopUp(popup.get());
    return 0;
}

int TAppScreen::isPopUp(const TAppPopUp* popup) {
    if (popup == nullptr) return 0;
    for (auto& p : ActivePopUps)
        if (p.get() == popup) return 1;
    return 0;
}

int TAppScreen::isPopUp(const std::string& popupName) {
    if (popupName.empty()) return 0;
    for (auto& p : ActivePopUps)
        if (p && p->name == popupName) return 1;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TAppPopUp

int TAppPopUp::Init(const std::string& popupName, const std::string& url) {
    name = popupName;
    FileUrl = url;
    Control::AddPopUp(SharedFrom<TAppPopUp>(this));
    return 0;
}

int TAppPopUp::Show() {
    if (_shownOn != nullptr) CurrScreen = SharedFrom<TAppScreen>(_shownOn);
    else CurrScreen = Control::CurrScreen;
    Start();
    isEnabled = 1;
    OnShow();
    return 0;
}

int TAppPopUp::Hide() {
    OnHide();
    if (auto screen = CurrScreen.lock()) screen->HidePopUp(this);
    return 0;
}

int TAppPopUp::StartHiding() { return Hide(); }
