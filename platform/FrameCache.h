// The frame cache: a frame's shapes are recorded as they are asked for and drawn when the frame
// ends (or earlier, when anything other than a shape is to be drawn or read). Most frames begin
// as the frame before began: the background, the board, the buildings, the screen under a
// pop-up; what changes (a pointer, particles, a pulsing button, a clock) comes later. When a
// frame's first runs draw as the frames before drew them, the window after them is copied into a
// texture once; as long as frames keep beginning that way, that texture is drawn over the whole
// window in their place, texel for pixel and unmixed, what differs among those runs is drawn
// again where it lies, and only the rest of the frame is drawn. Not for callers outside
// platform/.
#pragma once
#include <cstddef>
#include <vector>

#include "platform/QuadBatch.h"

// A rectangle of window pixels, GL's rows (bottom up): [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    double Area() const { return Empty() ? 0.0 : double(x1 - x0) * (y1 - y0); }
    PixelRect Meet(const PixelRect& o) const;
    PixelRect Join(const PixelRect& o) const;
    bool Meets(const PixelRect& o) const { return !Meet(o).Empty(); }
    bool operator==(const PixelRect&) const = default;
};

// The GL scissor rectangle, window pixels, GL's rows; width -1: none set yet.
struct Scissor {
    int x = 0, y = 0, w = -1, h = 0;
    bool Set() const { return w >= 0; }
    PixelRect Rect() const { return {x, y, x + w, y + h}; }
    bool operator==(const Scissor&) const = default;
};

// Sets the GL scissor (nothing when none is set).
void ApplyGLScissor(const Scissor& s);

// A clear put off: its colour over its rectangle of window pixels (GL's rows).
struct PendingClear {
    int x, y, w, h;
    float r, g, b;
    bool operator==(const PendingClear&) const = default;
};
// Does the clears in order, each within its own rectangle (and within `within`, when given).
// The GL scissor is left as the last clear set it.
void DoClears(const std::vector<PendingClear>& clears, const PixelRect* within = nullptr);

// The window a frame is drawn in: its size in pixels, its GL context and its virtual size.
struct FrameWindow {
    int pixW = 0, pixH = 0, generation = 0;
    float virtualW = 0.0f, virtualH = 0.0f;
    bool operator==(const FrameWindow&) const = default;
};

// Shapes of one style under one scissor, in the order they were asked for.
struct RecordedRun {
    RunStyle style;           // its texture drawn with only within its frame; afterwards only compared
    unsigned long long upload;  // the texture's upload number: the same pixels
    Scissor scissor;
    int shapes;  // the run's corners follow the previous runs' in the record's vertices

    // Draws its shapes as the other run does (the same picture, blend and scissor), whatever they are.
    bool DrawsAs(const RecordedRun& o) const {
        return style == o.style && upload == o.upload && scissor == o.scissor;
    }
    size_t Corners() const { return static_cast<size_t>(shapes) * CornersOf(style.kind); }
};

struct FrameRecord {
    std::vector<PendingClear> clears;  // the clears waiting when the frame's shapes were drawn
    std::vector<RecordedRun> runs;
    std::vector<BatchVertex> vertices;
    FrameWindow window;

    void Clear();
    // Appends a shape (the record takes the window of its first shape).
    void Add(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor, const FrameWindow& window);
};

// ---- How records are compared (each a step of the cache's decisions) ----

// The window pixels a shape of the run can touch, with a pixel to spare on every side.
PixelRect ShapePixels(const FrameRecord& rec, const RecordedRun& run, const BatchVertex* corners);
// Window pixels the first `runs` runs of a record cover, counting overlaps again (what the
// renderer fills to draw them).
double RunsArea(const FrameRecord& rec, size_t runs);
// Two records drawn in the same window after the same clears.
bool SameStart(const FrameRecord& a, const FrameRecord& b);
// Adds the box to `dirty`, merged with every rectangle it meets.
void AddDirty(PixelRect box, std::vector<PixelRect>& dirty);
// Adds to `dirty` the pixels where run r of two records (its corners from vertex va of a and vb
// of b on) differ.
void AddDifferences(const FrameRecord& a, size_t va, const FrameRecord& b, size_t vb, size_t r,
                    std::vector<PixelRect>& dirty);
// Differences small enough to draw again over the cache.
bool SmallDifference(const FrameRecord& rec, const std::vector<PixelRect>& dirty);
// The first runs are worth keeping in the cache.
bool WorthKeeping(const FrameRecord& rec, size_t runs);
// How many first runs of `rec` draw alike with those of `last` after the same clears: with small
// differences only (`dirty`, where they differ), at most `most`. Whole runs only.
size_t AlikeRuns(const FrameRecord& rec, const FrameRecord& last, size_t most, std::vector<PixelRect>& dirty);

class FrameCache {
public:
    explicit FrameCache(QuadBatch& batch) : batch_(batch) {}

    // Frames are recorded (off: every shape goes to the batch at once).
    void SetOn(bool on);
    bool On() const { return on_; }
    // This frame's shapes are being recorded.
    bool Recording() const { return recording_; }
    // Shapes of this frame are recorded and not drawn yet.
    bool HasRecorded() const { return recording_ && !record_.runs.empty(); }
    // From now on the frame's shapes are recorded (when on).
    void StartFrame() { recording_ = on_; }
    void Record(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor, const FrameWindow& window);
    // Draws the recorded shapes (the clears still pending taken as the frame's start) and ends
    // the recording: the rest of the frame goes to the batch at once. `scissor` is the GL
    // scissor to leave set.
    void DrawRecord(std::vector<PendingClear>& pending, const Scissor& scissor);
    // The record being made reads this texture (by its owner, or by GL name when id is not 0).
    bool RecordUses(const TGLTexture* texture, unsigned id) const;
    // The cache and the frames before no longer stand for anything.
    void Forget();
    // What was recorded and not drawn is dropped (there is nothing to draw it on any more).
    void DropRecord();
    // The GL context is gone, and the cache's texture with it.
    void ContextGone();

private:
    void DrawRuns(const FrameRecord& rec, size_t from, size_t to, const Scissor& scissor);
    void DrawRunsWithin(const FrameRecord& rec, size_t runs, const PixelRect& rect, const Scissor& scissor);
    bool CopyWindow(const FrameWindow& window);
    void DrawCopy(const FrameWindow& window, const Scissor& scissor);

    QuadBatch& batch_;
    bool on_ = true;
    bool recording_ = false;
    FrameRecord record_, last_;
    // The window after the first cacheRuns_ runs of cacheRecord_, in texture texture_.
    FrameRecord cacheRecord_;
    size_t cacheRuns_ = 0;
    unsigned texture_ = 0;
    int textureGeneration_ = 0, textureW_ = 0, textureH_ = 0;
    // The runs each of the last frames drew alike with the frame before it, and frames since the
    // window was last copied into the cache.
    static constexpr unsigned kHistory = 16;
    size_t alikeHistory_[kHistory] = {};
    unsigned alikeFrames_ = 0;
    int framesSinceCopy_ = 0;
};
