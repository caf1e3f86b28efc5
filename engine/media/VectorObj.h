// The root of a vector animation, and its package on disk.
//
// TAppVectorObj is the top part of the tree (engine/media/VectorParts.h) that also owns the
// graphics table, the flat list of all parts in drawing order, and the animations; it takes its
// pivot from whoever draws it and its rotation and scale from the draw state.
//
// A package is a folder:
//     Gfxs.avo     block "GFX": "gfxs" = count, "Img0", "Img1", ... = file names in images/
//     Vectors.avo  block "VECTOR" (the root): "Name", "Layer", block "States" of "STATE"
//                  blocks, block "SubVectors" of child "VECTOR" blocks
//     Anims.avo    block "Anims" of "ANIM" blocks
//     images/      the graphics, PNG data under the names listed in Gfxs.avo
// File names inside the package are matched without regard to letter case.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/media/VectorParts.h"
#include "engine/media/VectorPose.h"

class TAppVectorObj : public TAppVector {
public:
    // A new object is its own root.
    TAppVectorObj();

    float HandleX = 0, HandleY = 0, HandleRot = 0, HandleOdl = 0;  // carried, never read
    // Every part of the tree, the root included: pre-order, then sorted by layer. Not owned.
    std::vector<TAppVector*> AllVectors;
    std::vector<TAVOImagePtr> gfx;  // the graphics table; a slot may be empty

    static int32_t CenterR, CenterG, CenterB;  // debug pivot marker of the root (0, 0, 0)

    // The root keeps the pivot it is given, takes its direction and scale from the draw state
    // and its alpha from its working pose.
    int CountMyPosition() override;
    int CountMyRotation() override;
    int CountMyScale() override;
    int CountMyAlpha() override;

    // Adds a "GFX" block to bf: "gfxs" and one "Img" + i entry per graphic.
    virtual int SaveGFX(const TBlockFilePtr& bf);
    // Writes folder + "Anims.avo"; false when it cannot be written.
    virtual bool SaveAnims(const std::string& folder);
    // Reads the graphics table and loads its images from folder + "images/". The count is
    // bounded by the entries really present; names that would leave the images folder, and
    // missing names, are reported and leave an empty graphic in their slot.
    virtual int LoadGFX(const TBlockFilePtr& bf, const std::string& folder, int keepPixmap);
    // Reads every "ANIM" block of "Anims" and gives the parts their copies.
    virtual int LoadAnims(const TBlockFilePtr& bf);
    // Rebuilds AllVectors in pre-order and sorts it by layer.
    virtual int CountPoints(int flag);
    // Measures the working pose's bounding box (relative to the pivot): flag 0 at drawing
    // scale 1 and rotation 0 into Width, Height and box (also of the stored pose); flag not 0
    // at the current drawing scale into TempWidth, TempHeight and tempBox. Both measure the
    // parts unrotated; the draw state's scale and rotation are left as they were.
    virtual int CountCorners(int flag);
    virtual int OnlyCount();
    // Calculate(flag), and with a non-zero flag both bounding boxes.
    virtual int CalculateObj(int flag);
    // Every part's graphic in drawing order.
    virtual int Draw();
    // Draws stored pose ind, then returns to the current pose index.
    virtual int DrawState(int ind);
    virtual int DrawDebugFrame();
    virtual int SetCurrStateName(const std::string& stateName);
    // The last part in pre-order whose pivot is within 4 pixels of the pointer; null when
    // none. Its `over` is set, every other part's cleared.
    virtual TAppVector* GetOverVector();
    virtual int AddImage(const TAVOImagePtr& img);
    virtual int AddNewState();
    virtual int ReCountAnimData();
    virtual int AddAnim(const TAppVectorAnimPtr& anim);
    virtual int ResizeGFX(int n);
    // Stable sort of AllVectors by layer: equal layers keep pre-order.
    virtual int SortVectorsDraw();
};

// A new root with one pose at (0, 0), in its own drawing list, computed.
TAppVectorObjPtr CreateEmptyVectorObj();

// ---- Packages ----

// Writes the package into the folder named after the url's base name, beside the url
// ("dir/Hero.avobj" and "dir/Hero" both write "dir/Hero/"). Failures are reported; returns 1
// when every file was written, else 0.
int SaveAVO(const TAppVectorObjPtr& obj, const std::string& url);
// The object stored at url (placeholders expanded): a package folder (with or without the
// trailing "/") or its "vectors.avo" file in any letter case. A packed ".avobj"/".zip" url is
// reported and gives null, as does any other url. A folder missing one of the three files is
// reported and gives an empty object. With keepPixmap the graphics keep their pixels and file
// names, which saving needs.
TAppVectorObjPtr LoadAVO(const std::string& url, int keepPixmap);
// Reads the package in folder (ending in "/").
TAppVectorObjPtr LoadAVOFromFolder(const std::string& folder, int keepPixmap);

bool SaveAVOImages(const TAppVectorObjPtr& obj, const std::string& imagesFolder);
bool SaveAVOGfx(const TAppVectorObjPtr& obj, const std::string& folder);
// Adds the root's "VECTOR" block to root and saves root (named by its file path).
bool SaveAVOVectors(const TAppVectorObjPtr& obj, const TBlockFilePtr& root);
bool SaveAVOAnims(const TAppVectorObjPtr& obj, const std::string& folder);
int LoadAVOGfx(const TAppVectorObjPtr& obj, const std::string& folder, int keepPixmap);
// Reads the parts and poses and measures every pose once, ending on pose 0.
int LoadAVOVectors(const TAppVectorObjPtr& obj, const std::string& folder);
int LoadAVOAnims(const TAppVectorObjPtr& obj, const std::string& folder);
