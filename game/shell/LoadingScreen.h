// The loading screen: the first screen of the game. It fades in from black, then loads one
// item a frame behind its progress bar (the screen's image object with id 2): every other
// registered screen's file, every pop-up's file, every screen's and pop-up's set-up, the
// assets they mark for loading, and last the global assets handed to it; then it cross-fades to
// its start screen. Nothing is loaded in the background and it runs once per process.
//
// An item of the asset phase is one file read: the assets of several screens that show the same
// picture (the shared buttons, the pop-ups' backdrop) load on the frame of the first of them,
// the later ones from the image cache.
//
// Phases (LoadingStatus), one item per frame, in registration order:
//   0 screen files   1 pop-up files   2 screen set-ups   3 pop-up set-ups   4 assets
//   5 global assets
// Phases 0 to 4 spend one frame more than their list has items (the last frame only counts);
// phase 5 ends on the frame that loads its last asset (at once when there is none).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"

class TAsset;
class TUIImage;

// The loading screen's tuning.
class LoadingScreenSettings : public TAppScreen {
public:
    // Non-zero: the loading screen does nothing at all.
    static int TurnOnForEdition;
    // Non-zero: the steps of a full bar, and the file phases count no steps.
    static int OwnLoadingSteps;
};

class TLoadingScreen : public LoadingScreenSettings {
public:
    // Opacity lost per frame at 60 frames per second while fading in (40 frames).
    static constexpr float kFadeStep = 0.025f;

    std::shared_ptr<TAppScreen> LastScreen;  // shown when loading ends
    int WasFirstUpdate = 0;
    std::vector<std::shared_ptr<TAppScreen>> AllScreensList;  // registered screens but this one
    std::vector<std::shared_ptr<TAppPopUp>> AllPopUpsList;    // registered pop-ups, the late ones last
    std::vector<std::shared_ptr<TAsset>> AllAssetsList;       // auto-loaded assets of all of them
    // AllAssetsList by file read: each item the assets of one load key (TAsset::LoadKey), in the
    // order of their first asset; an asset without a key is an item of its own.
    std::vector<std::vector<std::shared_ptr<TAsset>>> AssetItems;
    std::vector<std::shared_ptr<TAsset>> AllGlobalAssets;  // handed over by AddGlobalAsset
    int CurrStep = 0;
    std::string CurrLoading;  // label of the item handled last (not drawn)
    int MaxLoadingSteps = 0;  // steps of a full bar; 0 while not known
    int MinusLoadingSteps = 0;
    int LoadingStatus = 0;  // the phase, 0 to 5
    int LoadScreensStatus = 0;
    int LoadPopUpsStatus = 0;
    int LoadAssetsStatus = 0;
    int LoadSetupScreensStatus = 0;
    int LoadSetupPopUpsStatus = 0;
    int LoadGlobalAssetsStatus = 0;
    std::shared_ptr<TUIImage> BarImage;  // object id 2
    float Fade = 1.0f;                   // opacity of the black cover
    int firstUpdateFade = 1;

    // Nothing is drawn by these three, and nothing calls DrawAfter.
    virtual int DrawProgress() { return 0; }
    virtual int DrawComment() { return 0; }
    virtual int DrawAfter();
    // The screen's own file and assets, the bar, a settled frame delta.
    virtual int OnBegin();
    // Once: the lists of screens and pop-ups.
    virtual int FirstUpdate();
    // The auto-loaded assets of every screen, then of every pop-up, and their items; the size of
    // a full bar.
    virtual int BuildAssetsList();
    // The bar shows CurrStep / MaxLoadingSteps (empty while unknown).
    virtual int UpdateProgress();
    virtual int Update_LoadingScreens();
    virtual int Update_LoadingPopups();
    virtual int Update_LoadingAssets();
    virtual int Update_LoadingSetupScreens();
    virtual int Update_LoadingSetupPopUps();
    virtual int Update_LoadingGlobalAssets();
    // The fade-in; the first call also empties the bar and settles the frame delta.
    virtual int UpdateFade();
    // Cross-fade to LastScreen.
    virtual int FinishLoading();
    virtual int SetStartScreen(const std::shared_ptr<TAppScreen>& screen);
    // Loaded in the last phase; one added after loading ended is never loaded here.
    virtual int AddGlobalAsset(const std::shared_ptr<TAsset>& asset);
    // A window in the background does not pause the loading.
    bool PausesInBackground() const override { return false; }

    // Fade, then one item of the current phase. The screen's objects are not updated.
    int Updating() override;
    // The black cover at alpha Fade.
    int OnDraw() override;
    // Left once loading has ended (the cross-fade has covered it), and never shown again: its
    // pictures are let go.
    int OnLeave() override;
};

using TLoadingScreenPtr = std::shared_ptr<TLoadingScreen>;

extern TLoadingScreenPtr LoadingScreen;

// A new loading screen registered with Control as "Loading Screen", file
// bDir + "Screens/LoadingScreen/LoadingScreen.AppScreen".
TLoadingScreenPtr CreateAppLoadingScreen();
