// Poses and animation sequences of vector animations.
//
// A vector-animation object is a tree of parts (engine/media/VectorParts.h); each part keeps a
// list of poses (TAppVectorState), and pose i of every part together make pose i of the whole
// object. An animation (TAppVectorAnim) is a list of steps, each naming a pose by its index and
// placing it at a position 0..1; playing it at a position interpolates linearly between the two
// steps around that position and writes the result into the part's working pose.
//
// Block-file form of a pose (one "STATE" block per pose):
//     "name"      Name
//     "DistAngle" Dist, Angle
//     "Transform" Rotation, ScaleX, ScaleY
//     "RGB"       Alpha, red, green, blue        (opacity first)
//     "n"         graphic index
//     "Handle"    hx, hy                         (written truncated toward zero)
// A missing entry or value reads as "" or 0 (so scale and opacity 0, graphic 0).
//
// Block-file form of an animation (one "ANIM" block per animation):
//     "name"      the animation's name
//     "StatesInd" step count k, then the k pose indices
//     "StatesPer" the k step positions
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BlockFile.h"
#include "engine/data/ValueTypes.h"

class TAppVector;
class TAppVectorState;
class TAVectorAnimStep;
class TAppVectorAnim;
using TAppVectorStatePtr = std::shared_ptr<TAppVectorState>;
using TAVectorAnimStepPtr = std::shared_ptr<TAVectorAnimStep>;
using TAppVectorAnimPtr = std::shared_ptr<TAppVectorAnim>;

// One pose of one part.
class TAppVectorState {
public:
    virtual ~TAppVectorState() = default;

    std::string Name;
    float Dist = 0;      // distance of the part's pivot from its parent's (before scaling)
    float Angle = 0;     // direction of that offset, degrees, added to the parent's direction
    float Rotation = 0;  // the graphic's own turn, degrees (not inherited)
    float ScaleX = 1, ScaleY = 1;
    float Alpha = 1;       // multiplied with the parent's opacity
    int32_t n = -1;        // graphic index in the object's table; -1 none
    float hx = 0, hy = 0;  // the graphic's handle point, pixels
    int32_t red = 255, green = 255, blue = 255;
    // Sizes and boxes measured by the object (not saved).
    int32_t Width = 0, Height = 0;
    int32_t TempWidth = 0, TempHeight = 0;
    std::shared_ptr<TDim> box;
    std::shared_ptr<TDim> tempBox;

    // Adds (or overwrites) the six entries in the block.
    virtual int Save(const TBlockFilePtr& block);
    // Reads the six entries; missing ones read as "" or 0. Fields not stored keep their values.
    virtual int Load(const TBlockFilePtr& block);
    // Every field but the name; a rectangle of the other is copied (x, y, w, h) into this
    // state's own (made when missing); a missing rectangle of the other leaves this one alone.
    virtual int CopyFrom(const TAppVectorState& other);
    // "(NAME: n)    (Dist, angle: d, a)    (Rot, scale: r, sx, sy)    "
    virtual std::string ToString() const;
};

// A new pose with these fields (note: scale before rotation); the rest at their defaults.
TAppVectorStatePtr CreateVectorState(float dist, float angle, float scaleX, float scaleY, float rotation, float alpha,
                                     int32_t n);
// A new unnamed pose filled by CopyFrom(state); null for a null state.
TAppVectorStatePtr CopyVectorState(const TAppVectorStatePtr& state);

// One step of an animation: a pose (shared with the part's list, not copied) at a position.
class TAVectorAnimStep {
public:
    virtual ~TAVectorAnimStep() = default;

    TAppVectorStatePtr state;  // null when the part has no pose of that index
    int32_t n = 0;             // the pose's index in the part's list
    float per = 0;             // position along the animation, 0..1
    int32_t SmoothFunc = 0;    // unused: interpolation is always linear

    // per as value `index` of "StatesPer".
    virtual int Save(const TBlockFilePtr& block, int index);
    // "(STATE: <pose>, Per = p n = i)"
    virtual std::string ToString() const;
};

TAVectorAnimStepPtr CreateAnimStep(const TAppVectorStatePtr& state, int32_t n, float per);

class TAppVectorAnim {
public:
    virtual ~TAppVectorAnim() = default;

    std::string name;  // looked up by exact comparison
    std::vector<TAVectorAnimStepPtr> States;
    std::vector<int32_t> StatesInd;  // pose index of each step
    int32_t i = 0;                   // loop cursor of the list operations
    float PartPer = 0;               // per distance between the corners of the last evaluation
    float CurrPer = 0;               // last position minus the first corner's per

    // The corner poses and steps of the evaluation in progress, shared by every animation:
    // evaluations must not nest.
    static TAppVectorStatePtr State1, State2;
    static TAVectorAnimStepPtr AnimState1, AnimState2;
    // Fresh working poses, no corner steps (tests).
    static void ResetGlobals();

    virtual int Save(const TBlockFilePtr& block);
    // Reads "Name", "StatesInd" and "StatesPer"; each step takes part's pose of its index.
    // The step count is bounded by the indices actually present; a step whose pose index the
    // part does not have is reported and skipped. Steps keep file order.
    virtual int Load(const TBlockFilePtr& block, TAppVector* part);
    virtual int Clear() { return 0; }
    // 1 when some step sits exactly at 0 / exactly at 1.
    virtual int isBegin();
    virtual int isEnd();
    // The first step added moves to 0, the second (unless at 0) to 1; later steps keep their
    // position. Steps are kept sorted by position, stable (a new step goes after equal ones).
    virtual int AddStep(const TAVectorAnimStepPtr& step);
    // Sort comparison: a.per * 100000 - b.per * 100000 in 32-bit floats, truncated.
    static int AvasFunc(const TAVectorAnimStep& a, const TAVectorAnimStep& b);
    // A new list of the steps in order.
    virtual std::vector<TAVectorAnimStepPtr> GetStatesList();
    // Finds the two steps around per and copies their poses into s1 and s2 (which must exist).
    // Outside 0..1 both corners are the end step; where no pair of neighbours encloses per,
    // both are the step nearest to it. False, with nothing copied and no corner steps, when
    // the animation has no steps or a corner step has no pose.
    virtual bool GetCorners(TAppVectorState& s1, TAppVectorState& s2, float per);
    // The fraction of the way between the last corners: 1 when they share a position.
    virtual float CountStepPer(float per);
    // Writes the pose at per into target; leaves target unchanged when there is nothing to
    // evaluate.
    virtual int CountStepState(TAppVectorState& target, float per);
    // The same animation over another part's poses (same indices and positions).
    virtual TAppVectorAnimPtr RecountForSubVector(TAppVector* part);
    // The name in upper case.
    virtual std::string ToString() const;
};

// A new animation with that name and no steps (the object argument is not used).
TAppVectorAnimPtr CreateVectorAnim(void* obj, const std::string& name);
// Dist, Angle, ScaleX, ScaleY, Alpha, Rotation, hx, hy of target = a + (b - a) * t; the other
// fields of target (name, graphic, colour, sizes, boxes) keep their values.
void LerpVectorState(TAppVectorState& target, const TAppVectorState& a, const TAppVectorState& b, float t);
