// A scale-and-rotation curve: TTFR stops (sx, sy, Rotation, placed on 0..1 by their Position)
// read smoothly (the value between two stops, shaped by the left stop's squash kind) or stepwise
// (the stop at or before the position).
//
// - Stops are shared: PutIn and AddTFR keep the very object given; CreateTransform adopts the
//   given array; only Copy makes new stops.
// - Adding or removing a stop leaves the stops ascending by Position (a stable sort on whole
//   thousandths, so stops closer than 0.001 keep their order). FromString, CreateTransform and
//   LoadTransformFromString keep the order they are given.
// - The segment is the first pair with Position(i) <= per < Position(i+1); a position before
//   the first stop, at or past the last, or on a one-stop curve yields the LAST stop.
// - Text form: the stops' texts ("sx,sy,Rotation,Position,kind") joined by "#".
// - Evaluation works through class-wide scratch values (no allocation per call), so it is not
//   reentrant. A curve without stops yields the identity transform (1, 1, 0).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"

using TTFRArray = std::vector<std::shared_ptr<TTFR>>;

class TTransform {
public:
    TTFRArray tfr;       // the stops
    float position = 0;  // carried by the object, read by nothing here; Copy does not carry it

    // Scratch shared by every curve.
    static std::shared_ptr<TTFR> CounterTFR;  // what PutToVar evaluates into
    static std::shared_ptr<TTFR> OpTFR1;      // the left stop of the last FindTwo
    static std::shared_ptr<TTFR> OpTFR2;      // the right stop of the last FindTwo
    static float Per;                         // the fraction between them

    virtual ~TTransform() = default;

    virtual int Free();
    // New stops with equal fields, same order; position 0.
    virtual std::shared_ptr<TTransform> Copy() const;
    // A new stop (sx 1, sy 1, Rotation 0, Position 0, kind 0) filled by PutTfr.
    virtual std::shared_ptr<TTFR> GetTfr(float per);
    // The smooth value at per into target: sx, sy, Rotation (Position and kind untouched); a
    // one-stop curve copies the stop's sx, sy, Rotation and Position.
    virtual int PutTfr(TTFR& target, float per);
    // The smooth value into three variables; allocates nothing.
    virtual int PutToVar(float& sx, float& sy, float& rotation, float per);
    // The stepwise value: the stop at or before per (the last stop outside the stops).
    virtual int PutSolidToVar(float& sx, float& sy, float& rotation, float per);
    // Adds the stop itself and sorts (among equal positions it comes last). Null is ignored.
    virtual int PutIn(const std::shared_ptr<TTFR>& stop);
    // Adds and returns a straight stop at per holding the curve's value there.
    virtual std::shared_ptr<TTFR> SplitIn(float per);
    // The same as PutIn.
    virtual int AddTFR(const std::shared_ptr<TTFR>& stop);
    // Removes the stop at index (from 0) and sorts; an index outside the stops removes nothing.
    virtual int RemoveTFR(int32_t index);
    // Sets OpTFR1, OpTFR2 and Per for per (both null without stops).
    virtual int FindTwo(float per);
    virtual std::string ToString() const;
    // Replaces the stops by those of the text, in text order (no sorting, no two-stop rule).
    virtual int FromString(const std::string& text);
    virtual int Sort();
    // trunc(1000 * b.Position - 1000 * a.Position) in 32-bit floats.
    static int32_t TFRSortFunction(const TTFR& a, const TTFR& b);

    // Plots sx (red) and sy (green) in the box: value 0 on the middle line, +-2 on the edges.
    // Draw joins the stops with straight lines; DrawSolid draws steps.
    virtual int DrawSolid(float x, float y, float w, float h);
    virtual int Draw(float x, float y, float w, float h);
    virtual float CountTrackX(int32_t x, float per, float w);
    virtual float CountTrackY(int32_t y, float value, float h);
    // value * h / 4, limited to -h/2 .. h/2.
    virtual float CountValue(float value, float h);

private:
    int _Plot(float x, float y, float w, float h, bool solid);
};
using TTransformPtr = std::shared_ptr<TTransform>;

// A curve owning the given array (not sorted); with exactly two stops of which the second sits at
// Position 0, that one is moved to 1.
TTransformPtr CreateTransform(TTFRArray stops);
// Identity everywhere: (1, 1, 0) at 0 and at 1.
TTransformPtr CreateDefaultTransform();
std::string SaveTransformeToString(const TTransformPtr& curve);
// Read as FromString, then given to CreateTransform (so the two-stop rule applies).
TTransformPtr LoadTransformFromString(const std::string& text);

// Back to the start state of the class-wide scratch (tests).
void ResetTransformScratch();

namespace transform_detail {
// The TTFR a state holds, whether by value or by pointer; null when missing.
template <class T>
const TTFR* PartOf(const T& part) {
    if constexpr (requires { part.get(); }) return part ? &*part : nullptr;
    else return &part;
}
}  // namespace transform_detail

// A constant curve holding a game object's scale and rotation: the current state's `tfr`, else
// the default state's (set first to the first of `States` when unset), copied to Position 0 and
// 1. An object without any state gives the default curve.
template <class GameObject>
requires requires(GameObject& o) { o.CurrState; }
TTransformPtr CreateGameObjectDefaultTransform(GameObject& object) {
    const TTFR* source = nullptr;
    if (object.CurrState) {
        source = transform_detail::PartOf(object.CurrState->tfr);
    } else {
        if (!object.DefaultState && !object.States.empty()) object.DefaultState = object.States[0];
        if (object.DefaultState) source = transform_detail::PartOf(object.DefaultState->tfr);
    }
    if (!source) return CreateDefaultTransform();
    auto a = source->Copy();
    auto b = source->Copy();
    a->Position = 0.0f;
    b->Position = 1.0f;
    return CreateTransform({a, b});
}

template <class GameObject>
TTransformPtr CreateGameObjectDefaultTransform(const std::shared_ptr<GameObject>& object) {
    if (!object) return CreateDefaultTransform();
    return CreateGameObjectDefaultTransform(*object);
}
