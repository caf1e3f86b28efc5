#include "platform/FrameCache.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/GLTexture.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

// ---- Tuning ----
//
// The span of runs kept in the cache is the one each of the last kHistory frames (and at least
// kSteadyFrames of them) drew alike with the frame before: a span that has only just started to
// stay the same is not copied, since it may change again at once.
constexpr unsigned kSteadyFrames = 3;
// Copying the window costs about what drawing a full-window picture does: the cache is kept
// again (longer, or anew when it no longer fits) at most every kFramesBetweenCopies frames.
constexpr int kFramesBetweenCopies = 8;
// Drawing the copy costs one opaque full-window picture: the runs it stands for must fill more,
// kWorthKeeping windows (counting overlaps again), to be worth it.
constexpr double kWorthKeeping = 1.25;
// What differs among the cached runs is drawn again over the copy, within each rectangle where
// it lies, as long as that is at most kMostRedrawn of the window in at most kMostRects
// rectangles (the kingdom's creatures, walking and grazing among its buildings, and the
// chimneys' smoke take about an eighth); past that, the frame is drawn in full.
constexpr double kMostRedrawn = 0.2;
constexpr size_t kMostRects = 16;

double WindowArea(const FrameWindow& w) { return static_cast<double>(w.pixW) * w.pixH; }

// Twice the signed area of the triangle a, b, c in virtual units.
float Cross(const BatchVertex& a, const BatchVertex& b, const BatchVertex& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

}  // namespace

PixelRect PixelRect::Meet(const PixelRect& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

PixelRect PixelRect::Join(const PixelRect& o) const {
    return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

void ApplyGLScissor(const Scissor& s) {
    if (s.Set()) glScissor(s.x, s.y, s.w, s.h);
}

void DoClears(const std::vector<PendingClear>& clears, const PixelRect* within) {
    for (const PendingClear& c : clears) {
        PixelRect area{c.x, c.y, c.x + c.w, c.y + c.h};
        if (within) area = area.Meet(*within);
        if (area.Empty()) continue;
        glScissor(area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0);
        glClearColor(c.r, c.g, c.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

void FrameRecord::Clear() {
    clears.clear();
    runs.clear();
    vertices.clear();
}

void FrameRecord::Add(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor,
                      const FrameWindow& w) {
    if (runs.empty()) window = w;
    const TGLTexture* texture = style.texture;
    RecordedRun run{style, texture ? texture->UploadNumber() : 0, scissor, 1};
    if (!runs.empty() && run.DrawsAs(runs.back()))
        ++runs.back().shapes;
    else
        runs.push_back(run);
    vertices.insert(vertices.end(), corners, corners + CornersOf(style.kind));
}

PixelRect ShapePixels(const FrameRecord& rec, const RecordedRun& run, const BatchVertex* q) {
    const FrameWindow& w = rec.window;
    const float sx = static_cast<float>(w.pixW) / w.virtualW, sy = static_cast<float>(w.pixH) / w.virtualH;
    float left = q[0].x, right = q[0].x, top = q[0].y, bottom = q[0].y;
    for (int i = 1; i < CornersOf(run.style.kind); ++i) {
        left = std::min(left, q[i].x);
        right = std::max(right, q[i].x);
        top = std::min(top, q[i].y);
        bottom = std::max(bottom, q[i].y);
    }
    // Lines and points reach half their width beyond their corners.
    const float reach = run.style.kind == ShapeKind::Line || run.style.kind == ShapeKind::Point
                            ? std::ceil(run.style.width * 0.5f) : 0.0f;
    auto clampTo = [](float v, int hi) { return static_cast<int>(std::clamp(v, -1.0f, static_cast<float>(hi) + 1.0f)); };
    const int x0 = clampTo(std::floor(left * sx) - 1.0f - reach, w.pixW);
    const int x1 = clampTo(std::ceil(right * sx) + 1.0f + reach, w.pixW);
    const int yTop = clampTo(std::floor(top * sy) - 1.0f - reach, w.pixH);
    const int yBottom = clampTo(std::ceil(bottom * sy) + 1.0f + reach, w.pixH);
    return {std::max(x0, 0), std::max(w.pixH - yBottom, 0), std::min(x1, w.pixW), std::min(w.pixH - yTop, w.pixH)};
}

double RunsArea(const FrameRecord& rec, size_t runs) {
    const FrameWindow& w = rec.window;
    const float sx = w.virtualW > 0.0f ? static_cast<float>(w.pixW) / w.virtualW : 1.0f;
    const float sy = w.virtualH > 0.0f ? static_cast<float>(w.pixH) / w.virtualH : 1.0f;
    double area = 0.0;
    size_t v = 0;
    for (size_t r = 0; r < runs && r < rec.runs.size(); ++r) {
        const RecordedRun& run = rec.runs[r];
        const int n = CornersOf(run.style.kind);
        for (int k = 0; k < run.shapes; ++k, v += n) {
            const BatchVertex* q = rec.vertices.data() + v;
            // A quad's corners make a parallelogram; lines and points fill next to nothing.
            if (run.style.kind == ShapeKind::Quad) area += std::fabs(Cross(q[0], q[1], q[3]) * sx * sy);
            else if (run.style.kind == ShapeKind::Triangle) area += std::fabs(Cross(q[0], q[1], q[2]) * 0.5f * sx * sy);
        }
    }
    return area;
}

bool SameStart(const FrameRecord& a, const FrameRecord& b) { return a.window == b.window && a.clears == b.clears; }

void AddDirty(PixelRect box, std::vector<PixelRect>& dirty) {
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < dirty.size(); ++i)
            if (dirty[i].Meets(box)) {
                box = box.Join(dirty[i]);
                dirty.erase(dirty.begin() + static_cast<std::ptrdiff_t>(i));
                merged = true;
                break;
            }
    }
    if (!box.Empty()) dirty.push_back(box);
}

// Runs of the same style and scissor are compared shape by shape: where either shape of a
// differing pair lies, and every shape one of them has beyond the other's (a particle more or
// less). Runs that draw otherwise (another picture of a creature's animation, say) differ
// wherever a shape of either lies.
void AddDifferences(const FrameRecord& a, size_t va, const FrameRecord& b, size_t vb, size_t r,
                    std::vector<PixelRect>& dirty) {
    const RecordedRun& x = a.runs[r];
    const RecordedRun& y = b.runs[r];
    const int cx = CornersOf(x.style.kind), cy = CornersOf(y.style.kind);
    const BatchVertex* p = a.vertices.data() + va;
    const BatchVertex* q = b.vertices.data() + vb;
    auto same = [&](int i, int j) { return std::memcmp(p + cx * i, q + cy * j, cx * sizeof(BatchVertex)) == 0; };
    int n = x.shapes, m = y.shapes, first = 0;
    if (x.DrawsAs(y)) {
        // The shapes both begin and end with are left out: a shape more or less in the middle (a
        // creature gone behind a tree) does not set every shape after it apart.
        const int fewer = std::min(n, m);
        while (first < fewer && same(first, first)) ++first;
        while (n > first && m > first && same(n - 1, m - 1)) --n, --m;
        for (int k = first; k < std::min(n, m); ++k)
            if (!same(k, k)) AddDirty(ShapePixels(a, x, p + cx * k).Join(ShapePixels(b, y, q + cy * k)), dirty);
        first = std::min(n, m);
    }
    for (int k = first; k < n; ++k) AddDirty(ShapePixels(a, x, p + cx * k), dirty);
    for (int k = first; k < m; ++k) AddDirty(ShapePixels(b, y, q + cy * k), dirty);
}

bool SmallDifference(const FrameRecord& rec, const std::vector<PixelRect>& dirty) {
    double area = 0.0;
    for (const PixelRect& r : dirty) area += r.Area();
    return dirty.size() <= kMostRects && area <= kMostRedrawn * WindowArea(rec.window);
}

bool WorthKeeping(const FrameRecord& rec, size_t runs) {
    return runs > 0 && RunsArea(rec, runs) > kWorthKeeping * WindowArea(rec.window);
}

size_t AlikeRuns(const FrameRecord& rec, const FrameRecord& last, size_t most, std::vector<PixelRect>& dirty) {
    dirty.clear();
    if (!SameStart(rec, last)) return 0;
    most = std::min({most, rec.runs.size(), last.runs.size()});
    std::vector<PixelRect> grown;
    size_t va = 0, vb = 0, runs = 0;
    for (; runs < most; ++runs) {
        grown = dirty;
        AddDifferences(rec, va, last, vb, runs, grown);
        if (!SmallDifference(rec, grown)) break;
        dirty.swap(grown);
        va += rec.runs[runs].Corners();
        vb += last.runs[runs].Corners();
    }
    return runs;
}

// ---- The cache ----

void FrameCache::SetOn(bool on) {
    on_ = on;
    recording_ = recording_ && on;
    Forget();
}

void FrameCache::Record(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor,
                        const FrameWindow& window) {
    record_.Add(style, corners, scissor, window);
}

// Draws runs [from, to) of the record through the batch, each within its own scissor.
void FrameCache::DrawRuns(const FrameRecord& rec, size_t from, size_t to, const Scissor& scissor) {
    size_t v = 0;
    for (size_t r = 0; r < from; ++r) v += rec.runs[r].Corners();
    Scissor set = scissor;
    for (size_t r = from; r < to; ++r) {
        const RecordedRun& run = rec.runs[r];
        if (!(run.scissor == set)) {
            batch_.Flush();
            set = run.scissor;
            ApplyGLScissor(set);
        }
        const int n = CornersOf(run.style.kind);
        for (int k = 0; k < run.shapes; ++k, v += n) batch_.Add(run.style, rec.vertices.data() + v);
    }
    batch_.Flush();
    if (!(set == scissor)) ApplyGLScissor(scissor);
}

// Draws the first `runs` runs of the record again within the rectangle only, from its clears on:
// the pixels there come out as if the whole frame so far had been drawn.
void FrameCache::DrawRunsWithin(const FrameRecord& rec, size_t runs, const PixelRect& rect, const Scissor& scissor) {
    batch_.Flush();
    DoClears(rec.clears, &rect);
    size_t v = 0;
    for (size_t r = 0; r < runs; ++r) {
        const RecordedRun& run = rec.runs[r];
        const PixelRect within = run.scissor.Rect().Meet(rect);
        const int n = CornersOf(run.style.kind);
        if (within.Empty()) {
            v += run.Corners();
            continue;
        }
        batch_.Flush();
        glScissor(within.x0, within.y0, within.x1 - within.x0, within.y1 - within.y0);
        for (int k = 0; k < run.shapes; ++k, v += n) {
            const BatchVertex* q = rec.vertices.data() + v;
            if (ShapePixels(rec, run, q).Meets(within)) batch_.Add(run.style, q);
        }
        batch_.Flush();
    }
    ApplyGLScissor(scissor);
}

// The window as it is now, into the cache texture.
bool FrameCache::CopyWindow(const FrameWindow& window) {
    if (texture_ == 0 || textureGeneration_ != window.generation) {
        GLuint id = 0;
        glGenTextures(1, &id);
        if (id == 0) return false;
        texture_ = id;
        textureGeneration_ = window.generation;
        textureW_ = textureH_ = 0;
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (textureW_ != window.pixW || textureH_ != window.pixH) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, window.pixW, window.pixH, 0);
        textureW_ = window.pixW;
        textureH_ = window.pixH;
    } else {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, window.pixW, window.pixH);
    }
    return true;
}

// The cache texture over the whole window, texel for pixel (its rows bottom up, as copied).
void FrameCache::DrawCopy(const FrameWindow& window, const Scissor& scissor) {
    BatchVertex q[4];
    const float w = window.virtualW, h = window.virtualH;
    q[0] = {0.0f, 0.0f, 0.0f, 1.0f, 1, 1, 1, 1};
    q[1] = {w, 0.0f, 1.0f, 1.0f, 1, 1, 1, 1};
    q[2] = {w, h, 1.0f, 0.0f, 1, 1, 1, 1};
    q[3] = {0.0f, h, 0.0f, 0.0f, 1, 1, 1, 1};
    if (scissor.Set()) glScissor(0, 0, window.pixW, window.pixH);
    RunStyle style;
    style.id = texture_;
    style.blend = SOLIDBLEND;
    style.replace = true;
    batch_.Add(style, q);
    batch_.Flush();
    ApplyGLScissor(scissor);
}

// Draws the recorded shapes of the frame: its first runs from the cache when they draw alike
// with the runs cached (what differs drawn again where it lies). The span cached is the one
// each of the last frames drew alike with the frame before; it is kept again (longer, or anew
// when the cache no longer fits) at most every few frames, since copying the window costs about
// what a full-window picture does.
void FrameCache::DrawRecord(std::vector<PendingClear>& pending, const Scissor& scissor) {
    if (!recording_) return;
    recording_ = false;
    if (record_.runs.empty()) return;
    record_.clears = pending;
    std::vector<PixelRect> dirty;
    const size_t alike = AlikeRuns(record_, last_, record_.runs.size(), dirty);
    if (!last_.runs.empty()) alikeHistory_[alikeFrames_++ % kHistory] = alike;
    size_t steady = alike;
    for (unsigned i = 0; i < std::min(alikeFrames_, kHistory); ++i) steady = std::min(steady, alikeHistory_[i]);
    if (alikeFrames_ < kSteadyFrames) steady = 0;
    ++framesSinceCopy_;
    size_t from = 0;
    if (cacheRuns_ > 0 && AlikeRuns(record_, cacheRecord_, cacheRuns_, dirty) == cacheRuns_) {
        pending.clear();  // the cache holds what they cleared
        DrawCopy(record_.window, scissor);
        for (const PixelRect& rect : dirty) DrawRunsWithin(record_, cacheRuns_, rect, scissor);
        from = cacheRuns_;
    }
    if (steady > from && framesSinceCopy_ >= kFramesBetweenCopies && WorthKeeping(record_, steady)) {
        DrawRuns(record_, from, steady, scissor);
        DoClears(pending);
        pending.clear();
        ApplyGLScissor(scissor);
        framesSinceCopy_ = 0;
        if (CopyWindow(record_.window)) {
            cacheRecord_ = record_;
            cacheRuns_ = steady;
        } else {
            cacheRuns_ = 0;
        }
        from = steady;
    }
    DrawRuns(record_, from, record_.runs.size(), scissor);
    std::swap(last_, record_);
    record_.Clear();
}

bool FrameCache::RecordUses(const TGLTexture* texture, unsigned id) const {
    if (!recording_) return false;
    for (const RecordedRun& run : record_.runs)
        if ((texture && run.style.texture == texture) || (id != 0 && run.style.id == id)) return true;
    return false;
}

void FrameCache::Forget() {
    cacheRuns_ = 0;
    cacheRecord_.Clear();
    last_.Clear();
    alikeFrames_ = 0;
}

void FrameCache::DropRecord() {
    recording_ = false;
    record_.Clear();
}

void FrameCache::ContextGone() {
    DropRecord();
    Forget();
    texture_ = 0;
}
