// The vector-animation asset: one vector-animation object (engine/media/VectorObj.h) loaded
// from the url a screen or game-object file names, and drawn at a point.
//
// This is the asset in its simplest real form: it stands alone until the screen assets
// (shared per screen by url, loaded with the screen) take it into their family.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/data/BlockFile.h"
#include "engine/media/VectorObj.h"

class TAVOAsset;
using TAVOAssetPtr = std::shared_ptr<TAVOAsset>;

class TAVOAsset {
public:
    virtual ~TAVOAsset() = default;

    std::string url;      // as written in files; placeholders allowed
    std::string name;
    int32_t doAutoLoad = 1;
    TAppVectorObjPtr Avo;  // null until loaded

    // Avo = LoadAVO(url, 0), loaded again on every call; the object held before is released.
    virtual int LoadAsset();
    // Keeps the object (an asset's object goes with the asset).
    virtual int FreeAsset() { return 0; }
    // "Type" = "AVO" into the asset's block.
    virtual int Save(const TBlockFilePtr& block);
    virtual int GetTypeInt() { return 4; }
    // The object drawn with its pivot at (x, y); without one the placeholder "Not Loaded".
    virtual int Draw(float x, float y);
    // The placeholder "NULL avo" at (x, y).
    static int DrawEmpty(int x, int y);
};

// A new asset holding avo, with that url ("" when the caller has none).
TAVOAssetPtr CreateAVOAsset(const TAppVectorObjPtr& avo, const std::string& url);
// A new asset of that url with nothing loaded.
TAVOAssetPtr CreateEmptyAVOAsset(const std::string& url);
// asset.Draw(x, y), or the "NULL avo" placeholder for a null asset.
int DrawAvoAsset(const TAVOAssetPtr& asset, float x, float y);
