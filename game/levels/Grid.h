// Small fixed-size arrays of two and three dimensions, addressed the way the level addresses
// its cells: layer first, then column, then row. Reading outside the bounds is the caller's
// fault; At() gives null (a default value) instead for callers that cannot be sure.
#pragma once
#include <vector>

template <class T>
class TGrid2 {
public:
    void Resize(int n0, int n1) {
        n0_ = n0 > 0 ? n0 : 0;
        n1_ = n1 > 0 ? n1 : 0;
        cells_.assign(static_cast<size_t>(n0_) * static_cast<size_t>(n1_), T{});
    }
    void Clear() { Resize(0, 0); }
    int Dim0() const { return n0_; }
    int Dim1() const { return n1_; }
    bool Empty() const { return cells_.empty(); }
    bool Inside(int i, int j) const { return i >= 0 && j >= 0 && i < n0_ && j < n1_; }
    T& operator()(int i, int j) { return cells_[static_cast<size_t>(i) * n1_ + j]; }
    const T& operator()(int i, int j) const { return cells_[static_cast<size_t>(i) * n1_ + j]; }
    T At(int i, int j) const { return Inside(i, j) ? (*this)(i, j) : T{}; }
    std::vector<T>& Cells() { return cells_; }
    const std::vector<T>& Cells() const { return cells_; }

private:
    int n0_ = 0, n1_ = 0;
    std::vector<T> cells_;
};

template <class T>
class TGrid3 {
public:
    void Resize(int n0, int n1, int n2) {
        n0_ = n0 > 0 ? n0 : 0;
        n1_ = n1 > 0 ? n1 : 0;
        n2_ = n2 > 0 ? n2 : 0;
        cells_.assign(static_cast<size_t>(n0_) * static_cast<size_t>(n1_) * static_cast<size_t>(n2_), T{});
    }
    void Clear() { Resize(0, 0, 0); }
    int Dim0() const { return n0_; }
    int Dim1() const { return n1_; }
    int Dim2() const { return n2_; }
    bool Empty() const { return cells_.empty(); }
    bool Inside(int i, int j, int k) const { return i >= 0 && j >= 0 && k >= 0 && i < n0_ && j < n1_ && k < n2_; }
    T& operator()(int i, int j, int k) { return cells_[(static_cast<size_t>(i) * n1_ + j) * n2_ + k]; }
    const T& operator()(int i, int j, int k) const { return cells_[(static_cast<size_t>(i) * n1_ + j) * n2_ + k]; }
    T At(int i, int j, int k) const { return Inside(i, j, k) ? (*this)(i, j, k) : T{}; }
    std::vector<T>& Cells() { return cells_; }
    const std::vector<T>& Cells() const { return cells_; }

private:
    int n0_ = 0, n1_ = 0, n2_ = 0;
    std::vector<T> cells_;
};
