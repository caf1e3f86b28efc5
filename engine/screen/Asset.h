// Assets: the named, loadable and releasable resources of a screen (images, sounds, vector
// animations, and two kinds without behaviour, text and font).
//
// Every asset made while TAsset::CurrScreen names a screen joins that screen's Assets list; the
// screen's asset set-up loads the ones marked doAutoLoad, and its file writer saves the ones whose
// doNotSaveInScreen is clear. Within that screen the creators hand out one asset per url, so the
// objects of one screen that name the same file share one loaded resource.
//
// A resource that is not loaded draws a placeholder instead of failing: a black box at alpha 0.5
// around a white label at the drawing point ("Not Loaded"; "NULL IMAGE" / "NULL avo" for a
// missing asset).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/media/AppSound.h"
#include "engine/media/Img.h"
#include "engine/media/VectorObj.h"

class TAppScreen;
class TAsset;
using TAssetPtr = std::shared_ptr<TAsset>;

class TAsset {
public:
    int32_t doNotSaveInScreen = 0;  // set: the screen's file writer leaves the asset out
    int32_t doAutoLoad = 1;         // set: the screen's asset set-up loads it
    std::string url;                // the resource's path; placeholders allowed
    std::string name;               // the asset's name within its screen

    // The screen whose file was loaded last: new assets join it. Set by the screen loader at the
    // start of every screen or pop-up file and left set afterwards.
    static TAppScreen* CurrScreen;

    virtual ~TAsset() = default;

    // Writes the asset's entries into the screen file's "Asset" block.
    virtual int Save(const TBlockFilePtr& block);
    virtual int LoadAsset() { return 0; }
    virtual int FreeAsset() { return 0; }
    // What the loaded asset shows is decoded ahead on the background worker (its screen is about
    // to be shown). Nothing here.
    virtual int AskAhead() { return 0; }
    // What loading the asset reads: assets with the same non-empty key read the same file the
    // same way (the second one gets the first one's picture from the image cache), so a loader
    // that reads one file a frame can load them together. Empty: nothing shared.
    virtual std::string LoadKey() const { return {}; }

    // Appends the asset to CurrScreen's Assets (when a screen is set); markNotSaved then sets
    // doNotSaveInScreen. Every creator below calls it on the asset it has just made.
    static void JoinCurrScreen(const TAssetPtr& asset, int markNotSaved);
    // No current screen (tests, and a screen that goes away while it is current).
    static void ResetCurrScreen() { CurrScreen = nullptr; }
};

// The asset of the current screen whose url equals url exactly (case counts); null when there is
// no current screen or none matches.
TAssetPtr CheckIfAssetExist(const std::string& url);

// The placeholder: a black box at alpha 0.5 framing the white label whose top-left is (x, y), in
// the default font, blend alpha, scale 1 and rotation 0. The draw state is left as it sets it.
void DrawAssetPlaceholder(const std::string& label, float x, float y);

// ---------------------------------------------------------------------------------------------
// Images

class TImageAsset;
using TImageAssetPtr = std::shared_ptr<TImageAsset>;

class TImageAsset : public TAsset {
public:
    TImgPtr img;  // null while not loaded
    int32_t isMipMapped = 0;
    int32_t isFiltered = 0;
    int32_t isMidHandled = 0;  // after loading, the handle goes to the image's centre
    int32_t hx = 0;            // handle applied after loading when not mid-handled
    int32_t hy = 0;

    // "Type" = "IMG", "isMipMapped", "isFiltered", "Handle" = hx, hy. The url is not written.
    int Save(const TBlockFilePtr& block) override;
    int LoadAsset() override { return ReloadImg(); }
    // Frees the image; the asset can be loaded again.
    int FreeAsset() override;
    // The loaded image's pixels, ahead.
    int AskAhead() override;
    // The picture's path and the flags it is loaded with (for a picture of a shared texture, the
    // texture's path alone); empty without a url.
    std::string LoadKey() const override;

    // The image's size; 0 while not loaded.
    virtual int Width();
    virtual int Height();
    // Loads the image from url (placeholders converted; "texture|NAME" for a picture of a shared
    // texture) with the asset's flags and handle. An empty url or a missing file changes
    // nothing. An image held before is freed first.
    virtual int ReloadImg();
    // The whole image at the float point; "Not Loaded" while not loaded.
    virtual int Draw(float x, float y);
    // A fraction of the image by mode (see DrawImageAsset); "Not Loaded" while not loaded.
    virtual int DrawMode(int x, int y, int mode, float per);
    // The "NULL IMAGE" placeholder.
    static int DrawEmpty(int x, int y);
};

// The drawing entry point for image assets. per above 1 counts as 1. A null asset draws
// "NULL IMAGE" at the truncated point. Mode -1 draws the whole image at the float point; modes 0
// to 3 draw, at the truncated point, the fraction per of the image measured from its left, top,
// right or bottom edge, each part where it lies in the whole image; other modes draw nothing.
int DrawImageAsset(const TImageAssetPtr& asset, float x, float y, int mode = -1, float per = 1.0f);
// A new image asset with these flags, loaded at once.
TImageAssetPtr LoadImageAsset(const std::string& url, int isMipMapped, int isFiltered, int isMidHandled);
// 0 for a null asset or one not loaded.
int ImageAssetWidth(const TImageAssetPtr& asset);
int ImageAssetHeight(const TImageAssetPtr& asset);
// A new asset holding img, with url = the image's Url.
TImageAssetPtr CreateImageAsset(const TImgPtr& img);
// The current screen's image asset of that url unchanged (the handle and flags given are not
// applied), else a new one, not loaded.
TImageAssetPtr CreateEmptyImageAsset(const std::string& url, int hx = 0, int hy = 0, int isMipMapped = 0,
                                     int isFiltered = 0, int isMidHandled = 0);

// ---------------------------------------------------------------------------------------------
// Sounds

class TSoundAsset;
using TSoundAssetPtr = std::shared_ptr<TSoundAsset>;

class TSoundAsset : public TAsset {
public:
    TAppSoundPtr snd;  // made by ReloadSnd or handed to CreateSoundAsset
    int32_t isLooped = 0;
    int32_t isMusic = 0;
    int32_t isLoadedOnDemand = 0;  // loaded at first use instead of at the screen's set-up
    int32_t TimeInterwal = 0;      // handed to the sound by SetData

    // Nothing when loaded on demand; else ReloadSnd.
    int LoadAsset() override;
    // Releases the sound's data (the sound stays and loads again later). Nothing without one.
    int FreeAsset() override;

    // Forwarded to the sound. Without one: a sound loaded on demand is made first; otherwise the
    // call is reported ("Can't play sound: Asset is empty!" ...) and nothing happens.
    virtual int Play(float a, float b, float c);
    virtual int Stop();
    virtual int Hide(float speed);
    virtual int Pause();
    virtual int Resume();
    // Only for a sound loaded on demand: makes it, or lets it load itself.
    virtual int LoadingDemand();
    // Copies the asset's flags and repeat interval into the sound, reloading it when its looping
    // changes (looping is fixed at load).
    virtual int SetData();
    // Makes and loads the sound when there is none, else loads it (nothing when loaded).
    virtual int ReloadSnd();

private:
    // The sound to forward a call to: made on demand when allowed, else null after reporting
    // "Can't <verb> sound: Asset is empty!".
    TAppSound* _SoundFor(const char* verb);
};

// A new asset around snd, url = the sound's url; nothing is copied into the sound.
TSoundAssetPtr CreateSoundAsset(const TAppSoundPtr& snd, int isLooped, int isMusic, int isLoadedOnDemand);
// The current screen's sound asset of that url unchanged, else a new empty one with these flags.
TSoundAssetPtr CreateEmptySoundAsset(const std::string& url, int isLooped, int isMusic, int isLoadedOnDemand);

// ---------------------------------------------------------------------------------------------
// Vector animations

class TAVOAsset;
using TAVOAssetPtr = std::shared_ptr<TAVOAsset>;

class TAVOAsset : public TAsset {
public:
    TAppVectorObjPtr Avo;  // null until loaded

    // "Type" = "AVO" (an asset of this kind is written with its screen).
    int Save(const TBlockFilePtr& block) override;
    // Avo = LoadAVO(url, 0), loaded again on every call; the object held before is released.
    int LoadAsset() override;

    virtual int GetTypeInt() { return 4; }
    // The "NULL avo" placeholder.
    static int DrawEmpty(int x, int y);
    // The object drawn at (x, y); "Not Loaded" without one.
    virtual int Draw(float x, float y);
};

// A new asset holding avo, with that url ("" when the caller has none).
TAVOAssetPtr CreateAVOAsset(const TAppVectorObjPtr& avo, const std::string& url);
// The current screen's vector-animation asset of that url, else a new one with nothing loaded.
TAVOAssetPtr CreateEmptyAVOAsset(const std::string& url);
// asset.Draw(x, y); "NULL avo" at the truncated point for a null asset.
int DrawAvoAsset(const TAVOAssetPtr& asset, float x, float y);

// ---------------------------------------------------------------------------------------------
// Groups

// Assets loaded and freed together as one: pictures that are always drawn together (the clue
// numbers of a board, the tile pictures) are one item for a loader that handles one a frame.
// A group belongs to no screen; its members are loaded in their order.
class TAssetGroup : public TAsset {
public:
    std::vector<TAssetPtr> members;

    int LoadAsset() override;
    int FreeAsset() override;
    int AskAhead() override;
};
using TAssetGroupPtr = std::shared_ptr<TAssetGroup>;

// ---------------------------------------------------------------------------------------------
// Kinds without behaviour of their own: they save, load and free nothing, and nothing makes
// them yet (texts come from text files and fonts from the font manager).

class TTextAsset : public TAsset {};
class TFontAsset : public TAsset {};
using TTextAssetPtr = std::shared_ptr<TTextAsset>;
using TFontAssetPtr = std::shared_ptr<TFontAsset>;

// Loaders for the two kinds: they load nothing and give null, and no screen joins anything.
TTextAssetPtr LoadAsset_Text(const std::string& url);
TFontAssetPtr LoadAsset_Font(const std::string& url);
