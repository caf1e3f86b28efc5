// The engine's screens and pop-ups.
//
// TAppScreen: a named set of game objects loaded from a screen file (".AppScreen"), the assets
// those objects use, the screen's localised text file, its draw and update layers, the objects
// the mouse is over, clicks or holds in the current frame, and the stack of pop-ups shown on it.
// TAppPopUp: a screen of its own (".AppPopUp") shown over the current screen; only the pop-up
// shown last is updated, all of them are drawn in the order they were shown.
//
// Screen file: a block file with, in this order, "Data" ("Name", and an optional "TxtFileUrl"
// naming the text file), "Assets" (written, never read: assets come back through the objects
// that make them), "Flags" ("isSetupedAtLoading", "isFreedByLeave") and "Objects" (one
// "GameObject" block per saved top-level object: the whole block for an object saved
// internally, else a "LoadObject" reference to the object's folder in "GameObjects" beside the
// screen file). The text file is by default <LocalizeDir><screen file's base name>.txt.
//
// Life cycle: Init registers the screen with Control; the loading screen calls Load and then
// Setup (OnSetup); entering a screen Prepares it (the first Start starts its objects and calls
// OnStart; every entry calls EnterScreen on the objects and OnPrepare); leaving calls LeaveScreen
// on the objects and OnLeave, and Free when isFreedByLeave is set. Every frame Control runs
// Updating and Drawing on the current screen.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppObj.h"
#include "engine/screen/GameObject.h"
#include "platform/Image.h"

class TAsset;
class TAppPopUp;
class TTxtFile;

using TAssetList = std::vector<std::shared_ptr<TAsset>>;
using TAppPopUpList = std::vector<std::shared_ptr<TAppPopUp>>;

class TAppScreen : public TAppObj {
public:
    int32_t DrawX = 0;  // origin of the screen's top-level objects (times DrawScale)
    int32_t DrawY = 0;
    float DrawScale = 1.0f;        // scale of the screen's top-level objects
    std::string FileUrl;           // the screen file (set by Init, LoadFromFile, SaveToFile)
    std::string TextFileUrl;       // the text file (set when loading or saving)
    TGameObjectList Objects;       // top-level objects, in the order added
    TAssetList Assets;             // the screen's assets (each new asset adds itself while loading)
    TAppPopUpList ActivePopUps;    // shown pop-ups, the one shown last at the end
    TGameObjectList DrawLayers;    // every object of the tree, by DrawLayer
    TGameObjectList UpdateLayers;  // every object of the tree, by UpdateLayer
    std::shared_ptr<TTxtFile> TxtFile;
    int32_t isSetupedAtLoading = 1;  // read from and written to the file's "Flags"
    int32_t isFreedByLeave = 0;      // Leaving frees the screen
    int32_t isNotToBeLoaded = 0;     // LoadFromFile does nothing
    int32_t isNotUsingText = 0;      // no text file is loaded
    // The screen file was missing or damaged (reported when loading): the objects it lacks are
    // then not reported one by one when looked up.
    int32_t isFileDamaged = 0;
    int32_t isAutoRebuildingDrawingLayers = 1;
    int32_t isAutoRebuildingUpdateLayers = 1;
    std::string MyUrl;
    TGameObjectPtr _go;               // the last object GetObjectsArray copied
    TGameObjectPtr CurrOverObject;    // hovered this frame
    TGameObjectPtr CurrClickObject;   // clicked this frame
    TGameObjectPtr CurrHoldedObject;  // held while the left button stays down
    int32_t AllReadyStarted = 0;      // from the first Start until Free
    int32_t isLocked = 0;             // a locked screen updates its objects but runs no own hooks
    // Set by Prepare, cleared when the update pass runs: the screen was entered and has not been
    // updated since (Settle runs that first update before the screen is drawn).
    int32_t isFirstUpdatePending = 0;
    // The "TxtFileUrl" the screen file named (empty when it named none). Saving writes the
    // texts back there and keeps the entry, so a saved screen reads the same texts again.
    std::string TxtFileUrlOverride;
    // The pictures the screen (its objects and pop-ups) drew since it was last entered: asked
    // for ahead of its next visit (AskAhead).
    TPictureRecord PicturesShown;

    // The screen whose file is being (or was last) loaded; the image and sound widgets read it.
    static TAppScreen* CurrentlyLoadingScreen;

    TAppScreen() = default;
    // The objects that still point at this screen forget it.
    ~TAppScreen() override;

    // ---- Base slots ----
    // The update pass (when enabled): UpdateAtStart, UpdateObjects, UpdateAtEnd,
    // UpdateObjectType, UpdatePopUps; for a pop-up the hide check; then, unless locked,
    // OnUpdate, Update and the Interface of the pop-up shown last (the screen's own when none).
    int Updating() override;
    // Draw, DrawObjects, OnDraw, DrawPopUps (enabled or not). The pictures a screen draws (not
    // a pop-up: those count for the screen they are shown on) go into PicturesShown.
    int Drawing() override;
    int Update() override { return 0; }
    int Draw() override { return 0; }
    // LoadFromFile(FileUrl) when FileUrl is set; both arguments are ignored.
    int Load(const TBlockFilePtr& block, TLoadList* list) override;

    // ---- Files ----
    virtual int _LoadData(const TBlockFilePtr& root);
    virtual int _LoadFlags(const TBlockFilePtr& root);
    virtual int _LoadObjects(const TBlockFilePtr& objects, TLoadList* list);
    virtual int _LoadTextFile(const std::string& url);
    // The screen file at url with its text file and objects. A missing file only warns (the
    // screen keeps the path). Loading twice appends the objects twice.
    virtual int LoadFromFile(const std::string& url);
    virtual int _SaveData(const TBlockFilePtr& root);
    virtual int _SaveAssets(const TBlockFilePtr& root);
    virtual int _SaveFlags(const TBlockFilePtr& root);
    virtual int _SaveObjects(const TBlockFilePtr& root);
    virtual int _SaveTextFile(const std::string& url);
    // Writes the screen file (url, else FileUrl, else a path the player picks in the file
    // chooser), the exported objects and the text file; returns the path written, "" when
    // there is none to write to.
    virtual std::string SaveToFile(const std::string& url);
    // LoadAsset on every asset whose doAutoLoad is set, in order.
    virtual int SetupAssets();
    // OnSetup.
    virtual int Setup();
    // name and FileUrl, then registration with Control (TAppPopUp registers as a pop-up).
    // Call it on a screen owned by a shared pointer.
    virtual int Init(const std::string& screenName, const std::string& url);

    // ---- Getting and finding ----
    // Depth first, exact name / id, top-level objects in order; null (with a warning) when none.
    virtual TGameObjectPtr FindObject(const std::string& objName);
    virtual TGameObjectPtr FindObjectInd(int objId);
    // The folder of FileUrl followed by "/".
    virtual std::string GetPath();
    // name, or name + "_" + the number of assets already called so (letter case aside).
    virtual std::string GetNewAssetName(const std::string& assetName);
    virtual TAssetList GetAssetsArray();
    virtual TGameObjectList GetObjectsArray();
    virtual TGameObjectPtr GetTemplate(const std::string&) { return nullptr; }
    virtual TGameObjectPtr GetGlobalTemplate(const std::string&) { return nullptr; }
    virtual TGameObjectPtr GetFirstGameObject();
    // Line n (from 1) of the text file; "" with an error line when the screen has none.
    virtual std::string GetTxt(int line);

    // ---- Layers ----
    // Every object of the tree in pre-order (top-level objects in order, each followed by its
    // sub-objects).
    virtual TGameObjectList CreateAllObjectsList();
    // Stable sorts by DrawLayer / UpdateLayer of the whole tree (when the auto flag is set).
    virtual int RebuildDrawingLayers();
    virtual int RebuildUpdatingLayers();
    static int LayerDrawSortFunc(const TGameObject& a, const TGameObject& b);
    static int LayerUpdateSortFunc(const TGameObject& a, const TGameObject& b);

    // ---- Removing ----
    virtual int RemoveAsset(const std::shared_ptr<TAsset>& asset);
    virtual int RemoveAssetByInd(int index);
    // Screen = null and out of Objects; the layers keep it until their next rebuild.
    virtual int RemoveObject(TGameObject* object);
    // Takes the object and its whole subtree out of both layers and out of the over, click and
    // held reports (an object being destroyed must not be drawn or reported again).
    virtual int RemoveObjectFromLayers(TGameObject* object);
    // The animator of the object re-checks which animations rely on sub-objects.
    virtual int CheckObjectSubReliance(TGameObject* object);
    virtual int EnableAllObjects();

    // ---- Adding ----
    // Sets the object's screen (its whole tree), appends it, rebuilds the draw layers. Ignores
    // null.
    virtual int AddObject(const TGameObjectPtr& object);
    virtual int AddAsset(const std::shared_ptr<TAsset>& asset);

    // ---- Objects ----
    // Re-parents an object inside the screen (null parent: top level). Refused, with a critical
    // line, when the new parent lies below the object. Layers and Screen are left as they are.
    virtual int MoveObject(TAppBasicObj* object, TAppBasicObj* parent);
    virtual int isObjectOver(const TGameObject* object);
    virtual int isObjectClick(const TGameObject* object);
    virtual int OverObjectId();
    virtual int ClickObjectId();
    virtual std::string OverObjectName();
    virtual std::string ClickObjectName();

    // ---- Updating ----
    // Clears the over and click reports, the held one while the left button is up, then
    // updates the top-level objects in order.
    virtual int UpdateObjects();
    virtual int UpdateAtStart() { return 0; }
    virtual int UpdateAtEnd() { return 0; }
    virtual int UpdateObjectType() { return 0; }
    // Updating of the pop-up shown last (nothing on a pop-up).
    virtual int UpdatePopUps();

    // ---- Drawing ----
    // Drawing of every shown pop-up, in the order shown.
    virtual int DrawPopUps();
    // Drawing of every object of DrawLayers, in order.
    virtual int DrawObjects();
    // When the screen was entered and not updated since: its update pass, once, with the
    // player's input held back (no key, character, button or wheel reaches it, and none is
    // taken away from its next update). Whoever draws a screen just entered settles it first,
    // so its first drawn frame shows what its update sets (texts, buttons, alphas), never the
    // state its file or its last visit left.
    virtual int Settle();
    // Every object of the tree (and of the shown pop-ups) takes its draw settings from its
    // state again, parents first.
    virtual int RefreshDrawSettings();

    // ---- Event hooks (empty here) ----
    virtual int OnSetup() { return 0; }
    virtual int OnStart() { return 0; }
    virtual int OnPrepare() { return 0; }
    virtual int OnLeave() { return 0; }
    virtual int OnFree() { return 0; }
    virtual int OnLock() { return 0; }
    virtual int OnDraw() { return 0; }
    virtual int OnUpdate() { return 0; }
    virtual int OnUnlock() { return 0; }

    // ---- The window in the background ----
    // Whether the game pauses while the window is in the background and this screen is current
    // (the loading screen goes on loading: it answers no).
    virtual bool PausesInBackground() const { return true; }
    // A pause screen's loop (ControlHooks::PauseScreen, which start-up sets): run while the window
    // is in the background, it returns when the window is active again. A plain screen has none
    // and returns at once.
    virtual int RunPause() { return 0; }

    // ---- Life cycle ----
    // First time only (until Free): StartObjects, OnStart.
    virtual int Start();
    // Start of every top-level object, then both layers rebuilt.
    virtual int StartObjects();
    // Start, PreparingObjects, OnPrepare; the first update is then pending (Settle). A new visit:
    // PicturesShown starts empty.
    virtual int Prepare();
    // What the screen will show and play, decoded ahead on the background worker (a switch to it
    // begins): the pictures it drew on its last visit and its assets' loaded pictures; a screen
    // adds what it knows it will need.
    virtual int AskAhead();
    // EnterScreen of every top-level object.
    virtual int PreparingObjects();
    // LeaveScreen of every top-level object.
    virtual int LeavingObjects();
    // LeavingObjects, OnLeave, then Free when isFreedByLeave is set.
    virtual int Leaving();
    // FreeObjects, OnFree, AllReadyStarted = 0. No asset is released.
    virtual int Free();
    // OnFreeAsset of the object (nothing for null).
    virtual int FreeObjectAsset(TGameObject* object);
    // OnFree hook of every top-level object.
    virtual int FreeObjects();
    virtual int Lock();
    virtual int UnLock();

    // ---- Interface ----
    // Where a screen reacts to the clicked object, by its id or name.
    virtual int Interface() { return 0; }
    virtual int ClearClicksAndOvers();

    // ---- Pop-ups ----
    // Flushes keys and mouse hits; then, unless the pop-up is shown here already, appends it,
    // shows it and runs its first update at once.
    virtual int ShowPopUp(const std::shared_ptr<TAppPopUp>& popup);
    // Out of the stack and unlocked when it is in it (no OnHide).
    virtual int HidePopUp(const TAppPopUp* popup);
    virtual int HideAllPopUps();
    // 1 when popup is shown here.
    virtual int isPopUp(const TAppPopUp* popup);
    // 1 when a shown pop-up has this name (non-empty, exact case).
    virtual int isPopUp(const std::string& popupName);

    // 1 for a pop-up.
    virtual int isPopUpScreen() const { return 0; }
};

using TAppScreenPtr = std::shared_ptr<TAppScreen>;

class TAppPopUp : public TAppScreen {
public:
    // The screen the pop-up was last shown on (set by Show, never cleared).
    std::weak_ptr<TAppScreen> CurrScreen;
    // Control's list of pop-ups puts the pop-ups with this set after the others.
    int32_t isAtEndSetuped = 0;

    // name and FileUrl, then registration with Control as a pop-up.
    int Init(const std::string& popupName, const std::string& url) override;
    // Records the screen it is shown on (the current screen when not shown through a screen's
    // ShowPopUp), Start, isEnabled = 1, OnShow. No Prepare.
    virtual int Show();
    // OnHide, then the screen it was shown on takes it off its stack.
    virtual int Hide();
    virtual int OnShow() { return 0; }
    virtual int OnHide() { return 0; }
    // Asked once per update of the pop-up; non-zero hides it.
    virtual int OnHideCheck() { return 0; }
    // Hide; pop-ups that close over several frames begin closing here.
    virtual int StartHiding();

    int isPopUpScreen() const override { return 1; }

private:
    friend class TAppScreen;
    TAppScreen* _shownOn = nullptr;  // the screen whose ShowPopUp is showing it right now
};

using TAppPopUpPtr = std::shared_ptr<TAppPopUp>;

// screen.AddObject(object).
int AddObjectToScreen(TAppScreen* screen, const TGameObjectPtr& object);
