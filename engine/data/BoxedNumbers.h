// Numbers boxed as shared objects, so that they can sit in object lists and be sorted, and the
// list sort that the engine's curves and tables use.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TFloatObj;
class TIntObj;

class TFloatObj {
public:
    float v = 0.0f;

    virtual ~TFloatObj() = default;
    // "%#.9g" (3 gives "3.00000000").
    virtual std::string ToString() const;
    // Truncated toward zero (-2.7 gives -2); NaN gives 0, values beyond the int range its ends.
    virtual int32_t ToInt() const;
    virtual std::shared_ptr<TIntObj> ToIntObj() const;
};

class TIntObj {
public:
    int32_t v = 0;

    virtual ~TIntObj() = default;
    virtual std::string ToString() const;
    virtual float ToFloat() const;
    virtual std::shared_ptr<TFloatObj> ToFloatOjb() const;
};

std::shared_ptr<TFloatObj> CreateAppFloatObj(float v);
std::shared_ptr<TIntObj> CreateAppIntObj(int32_t v);

// trunc(b.v * 100000 - a.v * 100000) in 32-bit floats: positive when b is larger by at least
// 0.00001, negative when a is, 0 for values closer than that. A null box counts as 0.
int32_t FloatObjectsSortFunction(const TFloatObj& a, const TFloatObj& b);
int32_t FloatObjectsSortFunction(const std::shared_ptr<TFloatObj>& a, const std::shared_ptr<TFloatObj>& b);

// The engine's list sort: a stable merge sort. In the ascending mode a stays before b when
// compare(a, b) <= 0, in the descending mode when compare(a, b) >= 0 (so with a comparison that
// returns "second minus first", the descending mode yields ascending values).
//
// The comparisons in use treat values within a tolerance as equal, which is not a strict weak
// order; the library sorts may misbehave with such a comparison. This merge asks the comparison
// exactly once per element taken, so it always finishes, keeps every element exactly once, and
// keeps equal elements in their order whatever the comparison says.
template <class T, class Compare>
void SortList(std::vector<T>& list, bool ascending, Compare compare) {
    const size_t n = list.size();
    if (n < 2) return;
    std::vector<T> buffer(n);
    std::vector<T>* from = &list;
    std::vector<T>* to = &buffer;
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = (lo + width < n) ? lo + width : n;
            const size_t hi = (lo + 2 * width < n) ? lo + 2 * width : n;
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                const auto c = compare((*from)[i], (*from)[j]);
                const bool leftFirst = ascending ? (c <= 0) : (c >= 0);
                (*to)[k++] = leftFirst ? std::move((*from)[i++]) : std::move((*from)[j++]);
            }
            while (i < mid) (*to)[k++] = std::move((*from)[i++]);
            while (j < hi) (*to)[k++] = std::move((*from)[j++]);
        }
        std::swap(from, to);
    }
    if (from != &list) list = std::move(*from);
}
