#include "platform/FrameRecord.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/GLTexture.h"

namespace {

// ---- Tuning ----
//
// A shape that differs is looked for this many shapes further on in the other record before it
// counts as drawn otherwise: a shape more or fewer (a creature gone behind a tree, the map's
// pulsing level lit between two of its thumbnails) then marks only itself, and the cost stays
// linear when every shape moves.
constexpr int kLookAhead = 4;
// A run looks this many calls back for one of its style to join, comparing its pixels with at
// most kMostOverlapTests runs of the calls between.
constexpr size_t kLookBack = 16;
constexpr int kMostOverlapTests = 256;

// Window pixels per virtual pixel on one axis; 1 while the window has no virtual size (nothing
// is divided by 0).
float PixelsPerUnit(int pixels, float units) { return units > 0.0f ? static_cast<float>(pixels) / units : 1.0f; }

// Twice the signed area of the triangle a, b, c in virtual units.
float Cross(const BatchVertex& a, const BatchVertex& b, const BatchVertex& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool SameShape(const FrameRecord& a, const ShapeAt& p, const FrameRecord& b, const ShapeAt& q) {
    const RecordedRun& x = a.runs[p.run];
    return x.DrawsAs(b.runs[q.run]) && std::memcmp(a.vertices.data() + p.vertex, b.vertices.data() + q.vertex,
                                                   x.CornersEach() * sizeof(BatchVertex)) == 0;
}

PixelRect PixelsOf(const FrameRecord& rec, const ShapeAt& s) {
    return ShapePixels(rec, rec.runs[s.run], rec.vertices.data() + s.vertex);
}

}  // namespace

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

void DrawTextureOverWindow(QuadBatch& batch, unsigned texture, const FrameWindow& window, const PixelRect& rect) {
    const float w = window.virtualW, h = window.virtualH;
    const BatchVertex q[4] = {{0.0f, 0.0f, 0.0f, 1.0f, 1, 1, 1, 1},
                              {w, 0.0f, 1.0f, 1.0f, 1, 1, 1, 1},
                              {w, h, 1.0f, 0.0f, 1, 1, 1, 1},
                              {0.0f, h, 0.0f, 0.0f, 1, 1, 1, 1}};
    RunStyle style;
    style.id = texture;
    style.blend = SOLIDBLEND;
    style.replace = true;
    batch.Flush();
    glScissor(rect.x0, rect.y0, rect.x1 - rect.x0, rect.y1 - rect.y0);
    batch.Add(style, q);
    batch.Flush();
}

void FrameRecord::Clear() {
    clears.clear();
    runs.clear();
    vertices.clear();
    shapes = 0;
    cleared = false;
}

void FrameRecord::Add(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor, const FrameWindow& w) {
    if (runs.empty()) window = w;
    const TGLTexture* texture = style.texture;
    RecordedRun run{style, texture ? texture->UploadNumber() : 0, scissor, 1};
    if (!runs.empty() && run.DrawsAs(runs.back())) ++runs.back().shapes;
    else runs.push_back(run);
    vertices.insert(vertices.end(), corners, corners + CornersOf(style.kind));
    ++shapes;
}

size_t FrameRecord::Bytes() const {
    return clears.capacity() * sizeof(PendingClear) + runs.capacity() * sizeof(RecordedRun) +
           vertices.capacity() * sizeof(BatchVertex);
}

void ShapeAt::Next(const FrameRecord& rec) {
    ++index;
    vertex += rec.runs[run].CornersEach();
    if (++shape >= rec.runs[run].shapes) {
        shape = 0;
        ++run;
    }
}

ShapeAt ShapeAt::Of(const FrameRecord& rec, size_t index) {
    ShapeAt at;
    while (at.run < rec.runs.size() && at.index + rec.runs[at.run].shapes <= index) {
        at.index += rec.runs[at.run].shapes;
        at.vertex += rec.runs[at.run].Corners();
        ++at.run;
    }
    const size_t rest = index - at.index;
    if (at.run < rec.runs.size()) {
        at.shape = static_cast<int>(rest);
        at.vertex += rest * rec.runs[at.run].CornersEach();
        at.index = index;
    }
    return at;
}

PixelRect ShapePixels(const FrameRecord& rec, const RecordedRun& run, const BatchVertex* q) {
    const FrameWindow& w = rec.window;
    const float sx = PixelsPerUnit(w.pixW, w.virtualW), sy = PixelsPerUnit(w.pixH, w.virtualH);
    float left = q[0].x, right = q[0].x, top = q[0].y, bottom = q[0].y;
    for (int i = 1; i < run.CornersEach(); ++i) {
        left = std::min(left, q[i].x);
        right = std::max(right, q[i].x);
        top = std::min(top, q[i].y);
        bottom = std::max(bottom, q[i].y);
    }
    // Lines and points reach half their width beyond their corners.
    const float reach = run.style.kind == ShapeKind::Line || run.style.kind == ShapeKind::Point
                            ? std::ceil(run.style.width * 0.5f)
                            : 0.0f;
    auto clampTo = [](float v, int hi) {
        return static_cast<int>(std::clamp(v, -1.0f, static_cast<float>(hi) + 1.0f));
    };
    const int x0 = clampTo(std::floor(left * sx) - 1.0f - reach, w.pixW);
    const int x1 = clampTo(std::ceil(right * sx) + 1.0f + reach, w.pixW);
    const int yTop = clampTo(std::floor(top * sy) - 1.0f - reach, w.pixH);
    const int yBottom = clampTo(std::ceil(bottom * sy) + 1.0f + reach, w.pixH);
    PixelRect box{std::max(x0, 0), std::max(w.pixH - yBottom, 0), std::min(x1, w.pixW),
                  std::min(w.pixH - yTop, w.pixH)};
    // Nothing is drawn outside the scissor.
    if (run.scissor.Set()) box = box.Meet(run.scissor.Rect());
    return box;
}

void AreasBefore(const FrameRecord& rec, std::vector<double>& before) {
    const FrameWindow& w = rec.window;
    const float sx = PixelsPerUnit(w.pixW, w.virtualW), sy = PixelsPerUnit(w.pixH, w.virtualH);
    before.assign(1, 0.0);
    double area = 0.0;
    for (ShapeAt s; s.index < rec.shapes; s.Next(rec)) {
        const BatchVertex* q = rec.vertices.data() + s.vertex;
        // A quad's corners make a parallelogram; lines and points fill next to nothing.
        switch (rec.runs[s.run].style.kind) {
            case ShapeKind::Quad: area += std::fabs(Cross(q[0], q[1], q[3]) * sx * sy); break;
            case ShapeKind::Triangle: area += std::fabs(Cross(q[0], q[1], q[2]) * 0.5f * sx * sy); break;
            default: break;
        }
        before.push_back(area);
    }
}

bool SameStart(const FrameRecord& a, const FrameRecord& b) {
    return a.cleared && b.cleared && a.window == b.window && a.clears == b.clears;
}

// ---- Comparing two records ----

bool MarkDifferences(const FrameRecord& a, const FrameRecord& b, size_t bEnd, Damage& damage, double most, size_t* aEnd,
                     size_t* aFirst) {
    bEnd = std::min(bEnd, b.shapes);
    if (aEnd) *aEnd = 0;
    if (aFirst) *aFirst = 0;
    if (!SameStart(a, b)) {
        damage.AddAll();
        return damage.Share() <= most;
    }
    ShapeAt i, j;
    bool differed = false;
    auto first = [&] {
        if (aFirst && !differed) *aFirst = i.index;
        differed = true;
    };
    auto stop = [&](size_t reached) {
        if (damage.Share() <= most) return false;
        if (aEnd) *aEnd = reached;
        return true;
    };
    while (i.index < a.shapes && j.index < bEnd) {
        if (SameShape(a, i, b, j)) {
            i.Next(a);
            j.Next(b);
            continue;
        }
        const size_t reached = i.index;
        first();
        // A few shapes on, either record may draw alike again: the ones passed are more or fewer.
        ShapeAt ia = i, jb = j;
        bool again = false;
        for (int d = 1; d <= kLookAhead && !again; ++d) {
            if (ia.index + 1 < a.shapes) {
                ia.Next(a);
                if (SameShape(a, ia, b, j)) {
                    for (; i.index < ia.index; i.Next(a)) damage.Add(PixelsOf(a, i));
                    again = true;
                    continue;
                }
            }
            if (jb.index + 1 < bEnd) {
                jb.Next(b);
                if (SameShape(a, i, b, jb)) {
                    for (; j.index < jb.index; j.Next(b)) damage.Add(PixelsOf(b, j));
                    again = true;
                }
            }
        }
        if (!again) {
            damage.Add(PixelsOf(a, i));
            damage.Add(PixelsOf(b, j));
            i.Next(a);
            j.Next(b);
        }
        if (stop(reached)) return false;
    }
    if (aEnd) *aEnd = i.index;
    if (j.index < bEnd || (bEnd == b.shapes && i.index < a.shapes)) first();
    for (; j.index < bEnd; j.Next(b)) damage.Add(PixelsOf(b, j));
    if (bEnd == b.shapes)
        for (; i.index < a.shapes; i.Next(a)) damage.Add(PixelsOf(a, i));
    if (aFirst && !differed) *aFirst = a.shapes;
    return !stop(aEnd ? *aEnd : 0);
}

// ---- The order of drawing ----

size_t PlanDrawing(const FrameRecord& rec, size_t from, size_t to, std::vector<DrawSegment>& plan,
                   const std::vector<PixelRect>* within) {
    plan.clear();
    struct Piece {
        size_t run;
        PixelRect box;                 // what its segments touch together
        std::vector<size_t> segments;  // in the plan
    };
    std::vector<Piece> pieces;
    to = std::min(to, rec.shapes);
    for (ShapeAt s = ShapeAt::Of(rec, from); s.index < to;) {
        const RecordedRun& run = rec.runs[s.run];
        const int n = static_cast<int>(std::min<size_t>(run.shapes - s.shape, to - s.index));
        DrawSegment seg{s.run, s.vertex, n, {}, 0};
        for (int k = 0; k < n; ++k)
            seg.box = seg.box.Join(ShapePixels(rec, run, rec.vertices.data() + s.vertex + k * run.CornersEach()));
        s.index += n;
        s.vertex += static_cast<size_t>(n) * run.CornersEach();
        if ((s.shape += n) >= run.shapes) s = ShapeAt{s.index, s.run + 1, s.vertex, 0};
        if (seg.box.Empty()) continue;  // outside the window or its scissor: it draws nothing
        if (within &&
            std::none_of(within->begin(), within->end(), [&](const PixelRect& r) { return r.Meets(seg.box); }))
            continue;
        // The latest call of its style it can join: nothing in the calls after that one may
        // touch its pixels.
        size_t join = pieces.size();
        int tests = 0;
        auto overlaps = [&](const Piece& p) {
            if (!p.box.Meets(seg.box)) return false;
            for (size_t k : p.segments)
                if (++tests > kMostOverlapTests || plan[k].box.Meets(seg.box)) return true;
            return false;
        };
        for (size_t k = pieces.size(), looked = 0; k-- > 0 && looked < kLookBack; ++looked) {
            if (rec.runs[pieces[k].run].DrawsAs(run)) {
                join = k;
                break;
            }
            if (overlaps(pieces[k])) break;
        }
        if (join == pieces.size()) pieces.push_back({seg.run, {}, {}});
        pieces[join].box = pieces[join].box.Join(seg.box);
        pieces[join].segments.push_back(plan.size());
        seg.piece = join;
        plan.push_back(seg);
    }
    std::stable_sort(plan.begin(), plan.end(),
                     [](const DrawSegment& x, const DrawSegment& y) { return x.piece < y.piece; });
    return pieces.size();
}

// ---- What later opaque quads hide ----

namespace {

// Marks the window pixels (rows from the top) whose centres lie inside the segment's opaque quads
// drawn within `clip`: quads drawn unmixed, without the alpha test, edges along the window's.
// False when it has none.
bool MarkOpaque(const FrameRecord& rec, const DrawSegment& seg, const PixelRect& clip,
                std::vector<unsigned char>& covered) {
    const RecordedRun& run = rec.runs[seg.run];
    if (run.style.kind != ShapeKind::Quad || run.style.blend != SOLIDBLEND || !seg.box.Meets(clip)) return false;
    const FrameWindow& w = rec.window;
    const float sx = PixelsPerUnit(w.pixW, w.virtualW), sy = PixelsPerUnit(w.pixH, w.virtualH);
    // The renderer places corners to a fraction of a pixel: a centre closer to an edge than kEdge
    // does not count.
    constexpr float kEdge = 1.0f / 64.0f;
    bool any = false;
    for (int s = 0; s < seg.shapes; ++s) {
        const BatchVertex* q = rec.vertices.data() + seg.vertex + static_cast<size_t>(s) * 4;
        if (q[1].y != q[0].y || q[3].x != q[0].x || q[2].x != q[1].x || q[2].y != q[3].y) continue;
        const float left = std::min(q[0].x, q[1].x) * sx, right = std::max(q[0].x, q[1].x) * sx;
        const float top = std::min(q[0].y, q[3].y) * sy, bottom = std::max(q[0].y, q[3].y) * sy;
        // Columns and rows whose centres lie inside, inclusive.
        const int c0 = std::max(static_cast<int>(std::ceil(left + kEdge - 0.5f)), clip.x0);
        const int c1 = std::min(static_cast<int>(std::floor(right - kEdge - 0.5f)), clip.x1 - 1);
        const int r0 = std::max(static_cast<int>(std::ceil(top + kEdge - 0.5f)), w.pixH - clip.y1);
        const int r1 = std::min(static_cast<int>(std::floor(bottom - kEdge - 0.5f)), w.pixH - 1 - clip.y0);
        if (c1 < c0 || r1 < r0) continue;
        any = true;
        for (int r = r0; r <= r1; ++r)
            std::memset(covered.data() + static_cast<size_t>(r) * w.pixW + c0, 1, static_cast<size_t>(c1 - c0) + 1);
    }
    return any;
}

// The largest rectangle of whole damage cells within `area` (GL's rows) whose pixels are all
// marked: the heights of marked cells standing on each row, the widest span under each height.
PixelRect LargestMarked(const FrameWindow& w, const std::vector<unsigned char>& covered, const PixelRect& area) {
    constexpr int kCell = Damage::kCell;
    const int top = w.pixH - area.y1, bottom = w.pixH - area.y0;  // rows from the top
    const int col0 = (area.x0 + kCell - 1) / kCell, col1 = area.x1 / kCell;
    const int row0 = (top + kCell - 1) / kCell, row1 = bottom / kCell;
    if (col1 <= col0 || row1 <= row0) return {};
    const int cols = col1 - col0;
    std::vector<int> height(static_cast<size_t>(cols) + 1, 0), stack;
    long best = 0;
    int bestCol = 0, bestRow = 0, bestW = 0, bestH = 0;
    for (int row = row0; row < row1; ++row) {
        for (int c = 0; c < cols; ++c) {
            const int x0 = (col0 + c) * kCell;
            bool whole = true;
            for (int y = row * kCell; y < (row + 1) * kCell && whole; ++y) {
                const unsigned char* line = covered.data() + static_cast<size_t>(y) * w.pixW;
                whole = std::find(line + x0, line + x0 + kCell, 0) == line + x0 + kCell;
            }
            height[c] = whole ? height[c] + 1 : 0;
        }
        stack.clear();
        for (int c = 0; c <= cols; ++c) {
            const int h = height[c];
            while (!stack.empty() && height[stack.back()] >= h) {
                const int tall = height[stack.back()];
                stack.pop_back();
                const int from = stack.empty() ? 0 : stack.back() + 1;
                const long cells = static_cast<long>(tall) * (c - from);
                if (cells > best)
                    best = cells, bestCol = col0 + from, bestRow = row - tall + 1, bestW = c - from, bestH = tall;
            }
            stack.push_back(c);
        }
    }
    if (best == 0) return {};
    return {bestCol * kCell, w.pixH - (bestRow + bestH) * kCell, (bestCol + bestW) * kCell, w.pixH - bestRow * kCell};
}

}  // namespace

void HiddenRects(const FrameRecord& rec, const std::vector<DrawSegment>& plan, const PixelRect& rect, double least,
                 std::vector<PixelRect>& hidden, std::vector<unsigned char>& covered) {
    hidden.assign(plan.size(), PixelRect{});
    const FrameWindow& w = rec.window;
    // Every area looked at lies within rect: a rect below the least hides nothing (the damage
    // rectangles of most frames), and the window's coverage need not be cleared for it.
    if (w.pixW <= 0 || w.pixH <= 0 || rect.Area() < least) return;
    bool any = false;  // something marked yet
    for (size_t i = plan.size(); i-- > 0;) {
        const DrawSegment& seg = plan[i];
        const RecordedRun& run = rec.runs[seg.run];
        const PixelRect clip = run.scissor.Set() ? rect.Meet(run.scissor.Rect()) : rect;
        const PixelRect area = seg.box.Meet(clip);
        if (any && area.Area() >= least) hidden[i] = LargestMarked(w, covered, area);
        if (!any && run.style.kind == ShapeKind::Quad && run.style.blend == SOLIDBLEND && !area.Empty()) {
            covered.assign(static_cast<size_t>(w.pixW) * w.pixH, 0);
            any = true;  // (possibly nothing marked after all: then nothing is found hidden)
        }
        if (any) MarkOpaque(rec, seg, clip, covered);
    }
}
