// A motion track: TDim stops (rectangles placed on 0..1 by their `position`) evaluated at any
// position. The left stop's isBezier shapes each segment: 0 straight (x, y, w, h blended),
// 1 quadratic Bezier through (x1, y1), 2 cubic Bezier through (x1, y1) and (x2, y2) (x and y
// only; w and h are left alone). Control points are absolute coordinates; squash kinds are not
// used on a track.
//
// - Stops are shared: PutIn keeps the very object given; CreateAppTrack adopts the given array;
//   only Copy makes new stops.
// - PutIn and SplitIn leave the stops ascending by position (a stable sort on whole thousandths,
//   stops closer than 0.001 keep their order); RemoveDim, FromString and the loaders keep the
//   order they find.
// - The segment is the first pair with position(i) <= per < position(i+1); a position before
//   the first stop, at or past the last, or on a one-stop track yields the LAST stop.
// - Text form: the stops' texts joined by "|". A single-track file holds that text alone; a
//   track-list file is a block file of top-level "Track" entries, one text each.
// - Evaluation works through class-wide scratch values, so it is not reentrant. A track without
//   stops writes only the position into its target.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"

class TTrack {
public:
    TDimArray dim;  // the stops

    // Scratch shared by every track.
    static std::shared_ptr<TDim> OpDIM1;  // the left stop of the last FindTwo
    static std::shared_ptr<TDim> OpDIM2;  // the right stop of the last FindTwo
    static float Per;                     // the fraction between them

    virtual ~TTrack() = default;

    virtual int Free();
    // New stops (TDim::Copy), same order.
    virtual std::shared_ptr<TTrack> Copy() const;
    // A new TDim (every field 0) filled by PutDim: a one-stop track gives a copy of its stop.
    virtual std::shared_ptr<TDim> GetDim(float per);
    // The value at per into target. With two or more stops the target's position becomes per and
    // x, y (w, h when straight) are set; its control points and kinds stay. One stop is copied
    // whole (isSplaszczenie excepted).
    virtual int PutDim(TDim& target, float per);
    // Adds the stop itself and sorts (among equal positions it comes last). Null is ignored.
    virtual int PutIn(const std::shared_ptr<TDim>& stop);
    // GetDim(per) put in and returned.
    virtual std::shared_ptr<TDim> SplitIn(float per);
    // Removes the stop at index (from 0), no sorting; an index outside the stops removes nothing.
    virtual int RemoveDim(int32_t index);
    virtual int Sort();
    // trunc(1000 * b.position - 1000 * a.position) in 32-bit floats.
    static int32_t TrackSortFunction(const TDim& a, const TDim& b);
    // Sets OpDIM1, OpDIM2 and Per for per (both null without stops).
    virtual int FindTwo(float per);
    virtual std::string ToString() const;
    // Replaces the stops by those of the text, in text order (no sorting, no two-stop rule).
    virtual int FromString(const std::string& text);
};
using TTrackPtr = std::shared_ptr<TTrack>;

// A track owning the given array (not sorted); with exactly two stops of which the second sits
// at position 0, that one is moved to 1.
TTrackPtr CreateAppTrack(TDimArray stops);
// Writes the track's text as the whole file (no line end). Returns 0; an unwritable path gives an
// error line.
int SaveAppTrackFile(const TTrackPtr& track, const std::string& path);
// The trimmed file text read as a track. A missing file gives an error line and an empty track.
TTrackPtr LoadAppTrackFile(const std::string& path);
// A block file of one top-level entry "Track" = "<text>" per track, in order. Returns 0.
int SaveAppTracksArray(const std::vector<TTrackPtr>& tracks, const std::string& path);
// One track per top-level entry of the block file, whatever its name, in file order (blocks are
// skipped). A missing file gives an error line and an empty array.
std::vector<TTrackPtr> LoadAppTrackArray(const std::string& path);

// Back to the start state of the class-wide scratch (tests).
void ResetTrackScratch();

namespace track_detail {
// The TDim a state holds, whether by value or by pointer; null when missing.
template <class T>
const TDim* PartOf(const T& part) {
    if constexpr (requires { part.get(); }) return part ? &*part : nullptr;
    else return &part;
}
}  // namespace track_detail

// A track that stays on a game object's rectangle: the current state's `dim`, else the default
// state's (set first to the first of `States` when unset), copied to position 0 and 1. An object
// without any state gives two empty rectangles.
template <class GameObject>
requires requires(GameObject& o) { o.CurrState; }
TTrackPtr CreateGameObjectDefaultTrack(GameObject& object) {
    const TDim* source = nullptr;
    if (object.CurrState) {
        source = track_detail::PartOf(object.CurrState->dim);
    } else {
        if (!object.DefaultState && !object.States.empty()) object.DefaultState = object.States[0];
        if (object.DefaultState) source = track_detail::PartOf(object.DefaultState->dim);
    }
    const TDim empty;
    auto a = (source ? *source : empty).Copy();
    auto b = (source ? *source : empty).Copy();
    a->position = 0.0f;
    b->position = 1.0f;
    return CreateAppTrack({a, b});
}

template <class GameObject>
TTrackPtr CreateGameObjectDefaultTrack(const std::shared_ptr<GameObject>& object) {
    if (!object) return CreateAppTrack({std::make_shared<TDim>(), CreateDim(0, 0, 0, 0, 1.0f)});
    return CreateGameObjectDefaultTrack(*object);
}
