// What the keyframe curves share (gradients, transforms and tracks, and the particles' colorizers
// and transformers that hold lists of them): stops kept in ascending position, the two stops
// around a position, deep copies, one picked at random, and the text forms of their lists.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/data/BoxedNumbers.h"
#include "platform/Maths.h"
#include "platform/Random.h"

template <class Stop>
using TStopList = std::vector<std::shared_ptr<Stop>>;

// The stops around a position: the first neighbours lo and hi (neither missing) with
// lo <= position < hi, and how far the position lies from lo to hi (0 to 1); outside them (or
// with a single stop) the last stop twice, fully (1); without stops both null.
template <class Stop>
struct TStopPair {
    std::shared_ptr<Stop> lo, hi;
    float per = 1.0f;
};
template <class Stop>
TStopPair<Stop> StopsAround(const TStopList<Stop>& stops, float position, float Stop::*at) {
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        const auto& lo = stops[i];
        const auto& hi = stops[i + 1];
        if (!lo || !hi) continue;
        if ((*lo).*at <= position && position < (*hi).*at)
            return {lo, hi, (position - (*lo).*at) / ((*hi).*at - (*lo).*at)};
    }
    for (size_t i = stops.size(); i-- > 0;)
        if (stops[i]) return {stops[i], stops[i], 1.0f};
    return {};
}

// The curves' sort order: "second minus first" of 1000 times the positions, truncated (the list
// sort's descending mode with it gives ascending positions).
inline int32_t PositionOrder(float first, float second) {
    const float p2 = 1000.0f * second;
    const float p1 = 1000.0f * first;
    const float diff = p2 - p1;
    return TruncToInt(diff);
}

// The stops in ascending position by the curve's sort function, a missing one sorting as origin.
template <class Stop>
void SortStops(TStopList<Stop>& stops, int32_t (*order)(const Stop&, const Stop&), const Stop& origin) {
    SortList(stops, false, [&](const std::shared_ptr<Stop>& a, const std::shared_ptr<Stop>& b) {
        return order(a ? *a : origin, b ? *b : origin);
    });
}

// Each one's own Copy(); a missing one stays missing (keepMissing) or is left out.
template <class T>
TStopList<T> CopyEach(const TStopList<T>& list, bool keepMissing) {
    TStopList<T> out;
    out.reserve(list.size());
    for (const auto& item : list)
        if (item || keepMissing) out.push_back(item ? item->Copy() : nullptr);
    return out;
}

// The text forms of the ones there, joined by the separator.
template <class T>
std::string JoinTexts(const TStopList<T>& list, const char* separator) {
    std::string out;
    bool first = true;
    for (const auto& item : list) {
        if (!item) continue;
        if (!first) out += separator;
        out += item->ToString();
        first = false;
    }
    return out;
}

// One of a list that is not empty, at random (Rand's draw; one outside the list takes the first).
template <class T>
const T& PickAny(const std::vector<T>& list) {
    const int n = static_cast<int>(list.size());
    int i = Rand(0, n - 1);
    if (i < 0 || i >= n) i = 0;
    return list[static_cast<size_t>(i)];
}

// The list without the element at index (an index outside it removes nothing).
template <class T>
std::vector<T> WithoutIndex(const std::vector<T>& list, int64_t index) {
    std::vector<T> out;
    for (size_t i = 0; i < list.size(); ++i)
        if (static_cast<int64_t>(i) != index) out.push_back(list[i]);
    return out;
}
