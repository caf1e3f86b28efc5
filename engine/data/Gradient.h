// A colour curve: colour stops (TRGB, placed on 0..1 by their `position`) evaluated at any
// position by blending the two stops that enclose it.
//
// - Stops are shared: PutIn keeps the very object it is given, so a later change to that object
//   changes the gradient; only Copy makes new stops.
// - Evaluation reads the stops in array order and expects ascending positions. The segment is
//   the first pair with stop[i].position <= position < stop[i+1].position; a position before the
//   first stop, at or past the last, or on a one-stop gradient yields the LAST stop. Two stops at
//   one position make a hard step: exactly there the later one wins.
// - Text form: the stops' own texts ("r,g,b,a,position") joined by "#", read back in text order
//   without sorting; an empty gradient is the empty text.
// - Evaluation works through class-wide scratch values (no allocation per call), so it is not
//   reentrant; OpRGB1, OpRGB2 and Per hold only the most recent FindTwo of any gradient.
// - A gradient without stops leaves the colour it is asked to write unchanged.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/data/ValueTypes.h"

class TGradient {
public:
    TRGBArray rgb;       // the stops, ascending by position
    float Position = 0;  // carried by the object, read by nothing here; Copy does not carry it

    // Scratch shared by every gradient: the colour PutToVar evaluates into, the two stops chosen
    // by the last FindTwo (the stop objects themselves) and the fraction between them.
    static std::shared_ptr<TRGB> CounterRGB;
    static std::shared_ptr<TRGB> OpRGB1;
    static std::shared_ptr<TRGB> OpRGB2;
    static float Per;

    virtual ~TGradient() = default;

    // Drops every stop (Position unchanged).
    virtual void Free();
    // New stops with equal fields, same order; the copy's Position is 0.
    virtual std::shared_ptr<TGradient> Copy() const;
    // A new colour (defaults 0, 0, 0, alpha 1, position 1) filled by PutRGB: its position stays 1
    // except from a one-stop gradient, which gives a whole copy of its stop.
    virtual std::shared_ptr<TRGB> GetRGB(float position);
    // The colour and alpha at position into four variables; allocates nothing.
    virtual void PutToVar(int32_t& r, int32_t& g, int32_t& b, float& a, float position);
    // The unblended colour of the stop at or before position (the last stop outside the stops).
    virtual void PutSolidToVar(int32_t& r, int32_t& g, int32_t& b, float& a, float position);
    // The colour at position into target: r, g, b, a blended (position untouched); a one-stop
    // gradient copies all five fields of its stop.
    virtual void PutRGB(TRGB& target, float position);
    // Removes the stop that is this very object, then sorts; a two-stop gradient keeps both.
    virtual void DeleteRGB(const std::shared_ptr<TRGB>& stop);
    // Adds the stop object itself and sorts (among stops of equal position it comes last).
    // A null stop is ignored.
    virtual void PutIn(const std::shared_ptr<TRGB>& stop);
    // Adds and returns a stop at position carrying the gradient's colour there.
    virtual std::shared_ptr<TRGB> SplitIn(float position);
    // Stable sort by position; stops less than a thousandth apart keep their order.
    virtual void Sort();
    // trunc(1000 * o2.position - 1000 * o1.position) in 32-bit floats.
    static int32_t GradientSortFunction(const TRGB& o1, const TRGB& o2);
    // Chooses the segment that encloses position: OpRGB1, OpRGB2 and Per. Without stops both are
    // null and Per is 1.
    virtual void FindTwo(float position);
    // Replaces the stops by those of the text (split at "#", each piece read into a new colour
    // with the defaults; an empty inner piece is a black opaque stop at 1).
    virtual void FromString(const std::string& text);
    virtual std::string ToString() const;
};
using TGradientPtr = std::shared_ptr<TGradient>;

// Back to the start state of the class-wide scratch (tests).
void ResetGradientScratch();
