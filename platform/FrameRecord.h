// A frame's shapes as recorded for the frame cache (platform/FrameCache.h), and what the cache
// asks of two records: where they draw differently, as cells of the window, and in which order
// a record's shapes can go to GL in the fewest calls. Not for callers outside platform/.
#pragma once
#include <cstddef>
#include <vector>

#include "platform/Damage.h"
#include "platform/QuadBatch.h"

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

// A texture of the window's pixels (rows bottom up, as GL copies and draws them) drawn over the
// rectangle of the window, texel for pixel, unmixed. The GL scissor is left on the rectangle.
void DrawTextureOverWindow(QuadBatch& batch, unsigned texture, const FrameWindow& window, const PixelRect& rect);

// Shapes of one style under one scissor, in the order they were asked for.
struct RecordedRun {
    RunStyle style;             // its texture drawn with only within its frame; afterwards only compared
    unsigned long long upload;  // the texture's upload number: the same pixels
    Scissor scissor;
    int shapes;  // the run's corners follow the previous runs' in the record's vertices

    // Draws its shapes as the other run does (the same picture, blend and scissor), whatever they are.
    bool DrawsAs(const RecordedRun& o) const { return style == o.style && upload == o.upload && scissor == o.scissor; }
    int CornersEach() const { return CornersOf(style.kind); }
    size_t Corners() const { return static_cast<size_t>(shapes) * CornersEach(); }
};

struct FrameRecord {
    std::vector<PendingClear> clears;  // the clears waiting when the frame's shapes were drawn
    std::vector<RecordedRun> runs;
    std::vector<BatchVertex> vertices;
    FrameWindow window;
    size_t shapes = 0;
    // The frame began with a clear of the whole window: every pixel of it is the record's doing.
    bool cleared = false;

    void Clear();
    // Appends a shape (the record takes the window of its first shape).
    void Add(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor, const FrameWindow& window);
    // The memory its arrays hold.
    size_t Bytes() const;
};

// A shape of a record: the index-th of all, the shape-th of run `run`, its corners from `vertex`.
struct ShapeAt {
    size_t index = 0, run = 0, vertex = 0;
    int shape = 0;
    // On to the next shape of the record.
    void Next(const FrameRecord& rec);
    // The shape of the given index (walking the runs).
    static ShapeAt Of(const FrameRecord& rec, size_t index);
};

// The window pixels a shape of the run can touch, with a pixel to spare on every side.
PixelRect ShapePixels(const FrameRecord& rec, const RecordedRun& run, const BatchVertex* corners);
// Window pixels the shapes of a record cover, counting overlaps again (what the renderer fills
// to draw them): before[k] is what its first k shapes cover.
void AreasBefore(const FrameRecord& rec, std::vector<double>& before);
// Two records drawn in the same window after the same clears, each over a cleared window.
bool SameStart(const FrameRecord& a, const FrameRecord& b);

// Marks in `damage` where record a and record b (its first bEnd shapes) draw differently, walking
// both in step: a shape both draw alike (the same style, scissor and corners) marks nothing; a
// shape one of them has and the other not (a creature more, a glow fewer, a run split by a
// picture drawn between) marks where it lies; a shape drawn otherwise marks where either lies.
// The cost is linear in the shapes. It stops once more than `most` of the window is marked and
// returns false. `aEnd` (when given) receives how far into a the comparison came: where b's
// bEnd was reached, or where it stopped; `aFirst` where the first difference was found in a (all
// of a when none). When b ends before a, the rest of a is marked only when bEnd is all of b.
bool MarkDifferences(const FrameRecord& a, const FrameRecord& b, size_t bEnd, Damage& damage, double most,
                     size_t* aEnd = nullptr, size_t* aFirst = nullptr);

// The order in which shapes [from, to) of a record go to GL: the record's runs, each gathered
// into an earlier run of its style when nothing drawn between them touches its pixels (the
// clue numbers of a board, each drawn and then lit, in two calls instead of two for every
// number). Moving a shape past others it does not overlap changes no pixel.
struct DrawSegment {
    size_t run, vertex;  // the record's run, the first corner
    int shapes;
    PixelRect box;  // what its shapes touch
    size_t piece;   // the call it goes to GL in
};
// Only runs that meet one of the rectangles `within` are drawn, when given. Returns the number of
// calls.
size_t PlanDrawing(const FrameRecord& rec, size_t from, size_t to, std::vector<DrawSegment>& plan,
                   const std::vector<PixelRect>* within = nullptr);

// For each segment of the plan over at least `least` window pixels (when drawn within `rect`),
// the largest rectangle of whole damage cells within what it touches (window pixels, GL's rows)
// that the opaque quads of the segments after it paint over entirely: quads drawn unmixed,
// without the alpha test, edges along the window's, each within its run's scissor. Whatever the
// segment draws there is lost, so it need not be drawn. Empty for the others. `covered` is the
// pixels' scratch, kept between calls.
void HiddenRects(const FrameRecord& rec, const std::vector<DrawSegment>& plan, const PixelRect& rect, double least,
                 std::vector<PixelRect>& hidden, std::vector<unsigned char>& covered);
