// The parts of a vector animation: a tree of TAppVector parts under a root TAppVectorObj
// (engine/media/VectorObj.h). Every time the object is computed each part works out its
// drawing transform from its parent's and from its working pose:
//
//     direction = parent's direction + Angle           (inherited by the part's children)
//     rotation  = direction + Rotation                 (the graphic only)
//     scale     = root's scale * (ScaleX, ScaleY)      (relative to the root, not the parent)
//     position  = parent's position + (cos(direction) * Dist * scale x,
//                                      sin(direction) * Dist * scale y)
//     alpha     = parent's alpha * Alpha
//
// A part draws one graphic of the root's table (TAVOImage) with its handle at the position.
// TAppVectorRect holds the four screen corners of a part's graphic, from which the root
// measures the bounding box of each pose.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/media/Img.h"
#include "engine/media/VectorPose.h"
#include "platform/Image.h"

class TAppVector;
class TAppVectorObj;
class TAVOImage;
class TAppVectorRect;
using TAppVectorPtr = std::shared_ptr<TAppVector>;
using TAppVectorObjPtr = std::shared_ptr<TAppVectorObj>;
using TAVOImagePtr = std::shared_ptr<TAVOImage>;
using TAppVectorRectPtr = std::shared_ptr<TAppVectorRect>;

// One graphic of an object's table, shared by every part and pose that names its index.
class TAVOImage {
public:
    virtual ~TAVOImage() = default;

    TImgPtr img;           // an engine image, drawn when set
    TImagePtr image;       // the loaded picture, drawn when set
    TPixmapPtr _EdPixMap;  // the decoded pixels, kept only for saving the package again
    std::string _edName;   // the file name with extension, kept for saving
    int32_t Width = 0, Height = 0;
    int32_t Handle_x = 0, Handle_y = 0;  // the handle point last set

    // Draws frame 0 with its handle at (x, y) in the current draw state.
    virtual int Draw(float x, float y, int frame);
    virtual int SetHandle(int x, int y);
};

// The four screen corners of a part's graphic: top-left, top-right, bottom-right, bottom-left
// (as seen before rotation).
class TAppVectorRect {
public:
    virtual ~TAppVectorRect() = default;

    std::array<int32_t, 4> polyX{0, 0, 0, 0};
    std::array<int32_t, 4> polyY{0, 0, 0, 0};
    static int32_t px, py;  // the previous corner while drawing

    // The outline in green at half alpha (leaves scale 1, rotation 0, blend 3 behind).
    virtual int Draw();
};

class TAppVector {
public:
    TAppVector();
    virtual ~TAppVector() = default;
    TAppVector(const TAppVector&) = delete;
    TAppVector& operator=(const TAppVector&) = delete;

    TAppVectorObj* Root = nullptr;            // the object's root (itself for the root); not owned
    TAppVector* Hook = nullptr;               // the parent part; null for the root; not owned
    std::vector<TAppVectorPtr> vectors;       // child parts, in order
    std::vector<TAppVectorAnimPtr> anims;     // the root's own list, or this part's copies
    std::vector<TAppVectorAnimPtr> animsTab;  // the same, as built by ReCountAnimsData
    TAppVectorAnimPtr CurrAnim;               // null for none
    float CurrAnimPer = 0;
    float DrawX = 0, DrawY = 0;  // computed pivot
    float DrawRot = 0;           // computed rotation of the graphic
    float DrawScaleX = 0, DrawScaleY = 0;
    float DrawAngle = 0;  // computed direction, inherited by the children
    float DrawAlpha = 1.0f;
    int32_t Layer = 0;       // drawing order among all parts, lower first
    TAppVectorRectPtr rect;  // computed outline; made on first need
    std::string name = "Vector";
    int32_t over = 0;                        // under the pointer (set by the root's hit test)
    std::vector<TAppVectorStatePtr> States;  // pose i of the object
    int32_t CurrStateInd = 0;
    TAppVectorStatePtr CurrState;  // the working pose the transform is computed from
    int32_t PrintMyData = 0;       // handed to the graphic's draw as its frame
    TAppVectorStatePtr PopState;   // the working pose saved by PushCurrState

    static int32_t CenterR, CenterG, CenterB;  // debug pivot marker (255, 0, 255)
    static int32_t LineR, LineG, LineB;        // debug line to each child (0, 0, 255)
    static int32_t TemporaryIndex;             // the position counted by GetAnim

    // ---- Block files ----
    virtual int _SaveBaseData(const TBlockFilePtr& block);
    virtual int _SaveStates(const TBlockFilePtr& block);
    virtual int _SaveSubVectors(const TBlockFilePtr& block);
    // Adds a "VECTOR" block under parent: "Name", "Layer", "States", "SubVectors".
    virtual int SaveVector(const TBlockFilePtr& parent);
    virtual int _LoadBaseData(const TBlockFilePtr& block);
    virtual int _LoadStates(const TBlockFilePtr& block);
    virtual int _LoadSubVectors(const TBlockFilePtr& block);
    // Reads a "VECTOR" block: name, layer, poses and child parts in file order.
    virtual int LoadVector(const TBlockFilePtr& block);

    // ---- Building ----
    // Appends a pose at (dist, angle) with scale 1, rotation 0, alpha 1 and no graphic.
    virtual int InitStates(float dist, float angle);
    // Cuts the links up the tree (Root, Hook), here and below.
    virtual int Free();
    // This part's animations rebuilt from the root's, here and below.
    virtual int ReCountAnimsData();
    // Appends this part, then each child's parts: depth-first pre-order.
    virtual int CountVectors(std::vector<TAppVector*>& list, int flag);
    // Appends v as a child: v's subtree joins this object, v draws above all parts so far.
    virtual int AddVector(const TAppVectorPtr& v);
    // Takes v (and its subtree) out of the tree and of the root's drawing list.
    virtual int RemoveVector(const TAppVectorPtr& v);

    // ---- Computing ----
    virtual int CountMyPosition();
    virtual int CountMyRotation();
    virtual int CountMyScale();
    virtual int CountMyAlpha();
    virtual int CountMyRect();
    // The current animation's pose at CurrAnimPer into the working pose.
    virtual int CountCurrentState();
    // Pose, rotation, scale, position, alpha, the outline when withRect, then the children.
    virtual int Calculate(int withRect);

    // ---- Drawing ----
    virtual int DrawMyGFX();
    virtual int DrawSubsDebug();
    virtual int DrawMyRect();
    virtual int DrawDebug();

    // ---- Queries and poses ----
    // Size of the working pose's graphic; 0 without one.
    virtual int GetWidth();
    virtual int GetHeight();
    // Pose i; null outside the list.
    virtual TAppVectorStatePtr GetState(int i);
    // The first animation of exactly that name; null when none.
    virtual TAppVectorAnimPtr GetAnim(const std::string& animName);
    // Copies pose i into the working pose, here and below; nothing outside the list.
    virtual int SetCurrStateInd(int i);
    // Plays the named animation at per here and below and returns its index; an unknown name
    // ends the animation (SetCurrAnimClear) and returns 0.
    virtual int SetCurrAnim(const std::string& animName, float per);
    // Plays animation i at per here and below; an index outside the list changes nothing.
    virtual int SetCurrAnimInd(int i, float per);
    // No animation, here and below; each part's working pose is popped.
    virtual int SetCurrAnimClear();
    // Appends a copy of the last pose, here and below.
    virtual int CopyLastState();
    // Removes pose i, here and below.
    virtual int RemoveState(int i);
    // Saves a copy of the working pose in PopState.
    virtual int PushCurrState();
    // PushCurrState on this part and every part below it.
    virtual int PushCurrStateTree();
    // The working pose from PopState, or from pose 0 when nothing was pushed.
    virtual int PopCurrState();
    // A listing of the animations on standard output.
    virtual int PrintAnim(const std::string& indent);

protected:
    // The debug pivot marker: an 8 x 8 square, drawn again in half the colour when over.
    void _DrawPivot(int r, int g, int b);
};

// ---- Graphics ----

// A new graphic from an image file, its handle centred; a file that does not load is reported
// and leaves a graphic without picture (size 0). With keepPixmap the pixels and the file name
// are kept so that the package can be saved again.
TAVOImagePtr LoadAVOImage(const std::string& url, int keepPixmap);
// Writes the kept pixels as PNG to path; false when there are none or the write fails.
bool SaveAVOImage(const TAVOImagePtr& graphic, const std::string& path);
void MidHandleAVOImage(const TAVOImagePtr& graphic);
void SetAVOImageHandle(const TAVOImagePtr& graphic, int x, int y);
void DrawAVOImage(const TAVOImagePtr& graphic, float x, float y, int frame);
int AVOImageWidth(const TAVOImagePtr& graphic);
int AVOImageHeight(const TAVOImagePtr& graphic);

// ---- Creators ----
TAppVectorPtr CreateVector(float dist, float angle);
TAppVectorRectPtr CreateVectorRect(const std::array<int32_t, 4>& polyX, const std::array<int32_t, 4>& polyY);
// a's Layer minus b's.
int CompareVectorLayers(const TAppVector& a, const TAppVector& b);

// ---- Drawing whole objects ----
// Each saves the draw state's rotation, scale, alpha and colour before and restores them after,
// in one module-wide set of values: these calls do not nest. A null object draws nothing.

// Computes and draws the object with its pivot at (x, y).
int DrawAVO(const TAppVectorObjPtr& obj, float x, float y);
// Computes with outlines and bounding boxes, then the debug drawing and frame.
int DrawAVODebug(const TAppVectorObjPtr& obj, float x, float y);
// Draws stored pose stateInd.
int DrawAVOState(const TAppVectorObjPtr& obj, int stateInd, float x, float y);
// Draws one position of the named animation; every part's working pose is pushed before and
// popped after, so the object is left in the pose it had.
int DrawAVOAnim(const TAppVectorObjPtr& obj, const std::string& animName, float per, float x, float y);
int DrawAVOAnimDebug(const TAppVectorObjPtr& obj, const std::string& animName, float per, float x, float y);
// obj.SetCurrAnim(name, per) / obj.SetCurrAnimInd(index, per); 0 for a null object.
int SetAVOAnim(const TAppVectorObjPtr& obj, const std::string& animName, float per);
int SetAVOAnimInd(const TAppVectorObjPtr& obj, int index, float per);
