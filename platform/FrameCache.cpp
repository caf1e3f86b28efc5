#include "platform/FrameCache.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

// ---- Tuning ----
//
// The span of shapes copied is one that each of the last frames (and at least kSteadyFrames of
// them) drew alike with the frame before: a span that has only just started to stay the same is
// not copied, since it may change again at once.
constexpr unsigned kSteadyFrames = 3;
// Copying the window costs about what drawing a full-window picture does, and the frame copied
// is drawn whole: kCopyCost windows' pixels. The window is copied again (a longer span, a span
// without what changes all the time, or anew when the copy no longer fits) at most every
// kFramesBetweenCopies frames, and only when the copy spares at least kCopyRepays of the window
// a frame; a copy grown stale (it differs from the frames much more than they differ from one
// another) also when it spares kCopyCost within as many frames as it has lasted (up to
// kLongestLife). The pixels a frame costs are counted as the shapes drawn fill them, overlaps
// again: the copy one window, each shape after its span, and, where the span's shapes differ,
// all of them again. Of the two spans, the one without what changes at all is taken unless the
// other spares kCopyRepays more: so the choice does not swing from frame to frame.
constexpr int kFramesBetweenCopies = 8;
constexpr double kCopyRepays = 0.1;
constexpr double kCopyCost = 2.0;
constexpr int kLongestLife = 120;
// What differs among the copied shapes is drawn again over the copy, as long as it lies in at
// most kMostRedrawn of the window (the kingdom's creatures, walking and grazing among its
// buildings, and the chimneys' smoke take about an eighth); past that, the frame is drawn in
// full.
constexpr double kMostRedrawn = 0.2;
// Where only what changed is drawn, it is drawn as long as it lies in at most kMostDamaged of the
// window: past that, drawing the whole window (from the copy where it can) costs less than
// drawing its parts.
constexpr double kMostDamaged = 0.6;
// Each rectangle drawn again costs a scissor and a call for each run that meets it, about what
// drawing kJoinShare of the window costs: what changed is drawn within at most kMostRects
// rectangles, two joined wherever joining them adds less than that. (The main menu's petals,
// bird and clouds then take about what they change; 16 rectangles joined up to a hundredth of
// the window each took three times that.)
constexpr size_t kMostRects = 64;
constexpr double kJoinShare = 0.001;
// Recording costs the main thread a copy and a comparison of every shape: when kGiveUpAfter
// frames in a row of at least kManyShapes shapes were drawn whole without the copy and in hardly
// fewer calls (4,000 particles all moving), kRestFrames frames go straight to the batch before
// recording is tried again. (Smaller frames cost next to nothing to record: a screen fading in
// is recorded throughout.)
constexpr int kGiveUpAfter = 8;
constexpr int kRestFrames = 120;
constexpr size_t kManyShapes = 1024;
// A frame of more shapes is drawn as it comes past them (the record's memory stays bounded:
// 16,384 quads are 2 MB of corners).
constexpr size_t kMostShapes = 16384;
// A segment of shapes over at least kHideUnder of the window (a background) is drawn around what
// later opaque quads hide, where that is at least kHideWorth of the window (three calls more).
constexpr double kHideUnder = 0.125;
constexpr double kHideWorth = 0.03;

// Said once a run: a copy that failed is not tried again until the GL context is made anew.
void SayCopyFailed(const std::string& why) {
    static bool said = false;
    if (said) return;
    said = true;
    std::printf(
        "WARNING ( Code: FrameCache ) The window could not be copied for the frame cache (%s): every frame "
        "is drawn in full\n",
        why.c_str());
    std::fflush(stdout);
}

}  // namespace

void FrameCache::SetCopying(bool on) {
    copying_ = on;
    Forget();
}

void FrameCache::SetDamageOnly(bool on) {
    damageOnly_ = on;
    Forget();
}

void FrameCache::StartFrame(int bufferAge) {
    record_.Clear();
    recording_ = recordedFromStart_ = resting_ == 0;
    if (resting_ > 0) --resting_;
    complete_ = true;
    bufferAge_ = bufferAge;
    drewChanged_ = presentRectsMade_ = false;
}

void FrameCache::EndFrame() {
    const bool whole = recordedFromStart_ && complete_ && !recording_;
    presentWhole_ = !(whole && drewChanged_);
    std::rotate(shown_.rbegin(), shown_.rbegin() + 1, shown_.rend());
    std::rotate(held_.rbegin(), held_.rbegin() + 1, held_.rend());
    std::swap(shown_[0], record_);
    held_[0] = whole && shown_[0].shapes > 0;
    record_.Clear();
    recording_ = recordedFromStart_ = complete_ = false;
}

bool FrameCache::Record(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor,
                        const FrameWindow& window) {
    if (record_.shapes >= kMostShapes) return false;
    record_.Add(style, corners, scissor, window);
    return true;
}

void FrameCache::ClearedWhole() {
    if (recording_ && record_.shapes == 0) record_.cleared = true;
}

void FrameCache::DrewOutside() {
    if (recordedFromStart_ && !recording_) complete_ = false;
}

const FrameRecord* FrameCache::HeldRecord() const {
    if (!damageOnly_ || bufferAge_ < 1 || bufferAge_ > static_cast<int>(kHeldFrames) || !held_[bufferAge_ - 1])
        return nullptr;
    return &shown_[bufferAge_ - 1];
}

// This frame's first shapes drawn alike with the frame before's: `alike` with small differences,
// `same` with none.
void FrameCache::Remember(size_t alike, size_t same) {
    if (shown_[0].shapes == 0) return;
    alikeHistory_[alikeFrames_ % kHistory] = alike;
    sameHistory_[alikeFrames_ % kHistory] = same;
    ++alikeFrames_;
}

// The span of shapes to copy now (0: none), or the one copied when copying again would not pay:
// of the spans each of the last frames drew alike (small differences aside, or none at all),
// the one that makes a frame cost the fewest pixels, if that is less than the frame costs now.
// `alikeShare` is the share of the window where this frame's alike span differs from the frame
// before's.
size_t FrameCache::CopySpan(bool fromCopy, size_t copied, double alikeShare) {
    if (!copying_ || copyBroken_ || framesSinceCopy_ < kFramesBetweenCopies || alikeFrames_ < kSteadyFrames) return 0;
    size_t alike = record_.shapes, same = record_.shapes;
    for (unsigned i = 0; i < std::min(alikeFrames_, kHistory); ++i) {
        alike = std::min(alike, alikeHistory_[i]);
        same = std::min(same, sameHistory_[i]);
    }
    AreasBefore(record_, areas_);
    const double window = record_.window.Area(), all = areas_.back();
    auto cost = [&](size_t span, double differs) { return window + all - areas_[span] + differs * areas_[span]; };
    const double copyShare = fromCopy ? copyDamage_.Share() : 1.0;
    const double now = fromCopy ? cost(copied, copyShare) : all;
    const double costSame = cost(same, 0.0), costAlike = cost(alike, alikeShare);
    const bool takeAlike = costAlike + kCopyRepays * window < costSame;
    const size_t span = takeAlike ? alike : same;
    const double spared = now - (takeAlike ? costAlike : costSame);
    const bool stale = fromCopy && copyShare > 2.0 * alikeShare &&
                       spared * std::min(framesSinceCopy_, kLongestLife) > kCopyCost * window;
    return span > 0 && (spared > kCopyRepays * window || stale) ? span : 0;
}

// Draws a plan's shapes that meet the rectangle, within it, each run under its own scissor too.
// A shape as large as a background is left out where later opaque quads paint over it (the
// board's tiles): it is drawn in the strips around the rectangle they hide.
void FrameCache::DrawPlan(const std::vector<DrawSegment>& plan, const PixelRect& rect) {
    PixelRect applied{0, 0, -1, -1};
    const double window = record_.window.Area();
    HiddenRects(record_, plan, rect, kHideUnder * window, hidden_, covered_);
    auto draw = [&](const DrawSegment& seg, const RecordedRun& run, const PixelRect& clip) {
        if (!seg.box.Meets(clip)) return;
        if (!(clip == applied)) {
            batch_.Flush();
            glScissor(clip.x0, clip.y0, clip.x1 - clip.x0, clip.y1 - clip.y0);
            applied = clip;
        }
        const bool inside = seg.box.Meet(clip) == seg.box;
        const int n = run.CornersEach();
        for (int k = 0; k < seg.shapes; ++k) {
            const BatchVertex* q = record_.vertices.data() + seg.vertex + static_cast<size_t>(k) * n;
            if (inside || ShapePixels(record_, run, q).Meets(clip)) batch_.Add(run.style, q);
        }
    };
    for (size_t i = 0; i < plan.size(); ++i) {
        const DrawSegment& seg = plan[i];
        const RecordedRun& run = record_.runs[seg.run];
        const PixelRect clip = run.scissor.Set() ? rect.Meet(run.scissor.Rect()) : rect;
        const PixelRect& hidden = hidden_[i];
        if (hidden.Area() < kHideWorth * window) {
            draw(seg, run, clip);
            continue;
        }
        draw(seg, run, {clip.x0, clip.y0, clip.x1, hidden.y0});
        draw(seg, run, {clip.x0, hidden.y1, clip.x1, clip.y1});
        draw(seg, run, {clip.x0, hidden.y0, hidden.x0, hidden.y1});
        draw(seg, run, {hidden.x1, hidden.y0, clip.x1, hidden.y1});
        ++stats_.hidden;
    }
    batch_.Flush();
}

// Draws the frame again within the rectangle, from its clears up, or over the copy of the
// window where the copy holds the frame's beginning (what differs there drawn again from the
// clears up): its pixels there come out as if the whole frame had been drawn.
void FrameCache::DrawWithin(const PixelRect& rect, bool fromCopy, const std::vector<PixelRect>& copyRects) {
    if (fromCopy) {
        DrawCopy(rect);
        for (const PixelRect& differs : copyRects) {
            const PixelRect r = differs.Meet(rect);
            if (r.Empty()) continue;
            DoClears(record_.clears, &r);
            DrawPlan(planCopied_, r);
        }
    } else {
        DoClears(record_.clears, &rect);
    }
    DrawPlan(planRest_, rect);
}

// The window as it is now, into the copy's texture; false (said once) when it cannot be.
bool FrameCache::CopyWindow() {
    const FrameWindow& w = record_.window;
    GLint most = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    if (copyLimit_ > 0) most = std::min<GLint>(most, copyLimit_);
    char why[160] = "";
    if (w.pixW > most || w.pixH > most) {
        std::snprintf(why, sizeof why, "the window's %d x %d pixels are more than a texture's %d", w.pixW, w.pixH,
                      most);
    } else {
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        }  // errors of earlier calls are not the copy's
        if (texture_ == 0 || textureGeneration_ != w.generation) {
            GLuint id = 0;
            glGenTextures(1, &id);
            texture_ = id;
            textureGeneration_ = w.generation;
            textureW_ = textureH_ = 0;
        }
        if (texture_ != 0) {
            glBindTexture(GL_TEXTURE_2D, texture_);
            if (textureW_ != w.pixW || textureH_ != w.pixH) {
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
                glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, w.pixW, w.pixH, 0);
            } else {
                glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w.pixW, w.pixH);
            }
        }
        const GLenum error = glGetError();
        if (texture_ == 0) std::snprintf(why, sizeof why, "no texture name");
        else if (error != GL_NO_ERROR)
            std::snprintf(why, sizeof why, "OpenGL error 0x%04X", static_cast<unsigned>(error));
        else textureW_ = w.pixW, textureH_ = w.pixH;
    }
    if (why[0] == 0) return true;
    textureW_ = textureH_ = 0;
    SayCopyFailed(why);
    return false;
}

// The copy's texture over the rectangle, texel for pixel (its rows bottom up, as copied).
void FrameCache::DrawCopy(const PixelRect& rect) { DrawTextureOverWindow(batch_, texture_, record_.window, rect); }

// Draws the recorded shapes of the frame: only where they differ from the frame the buffer
// holds, when it holds one and the difference is small; else the whole window. Either way the
// frame's beginning comes from the copy when the copy holds it (what differs drawn again where
// it lies). The span copied is the one each of the last frames drew alike with the frame
// before; it is copied again (longer, or anew when the copy no longer fits) at most every few
// frames, on a frame drawn whole.
void FrameCache::DrawRecord(std::vector<PendingClear>& pending, const Scissor& scissor) {
    if (!recording_) return;
    recording_ = false;
    record_.clears = pending;
    pending.clear();
    batch_.Flush();
    if (record_.shapes == 0) {
        DoClears(record_.clears);
        ApplyGLScissor(scissor);
        return;
    }
    ++stats_.frames;
    const FrameWindow& w = record_.window;
    size_t alike = 0, same = 0;
    if ((copying_ || damageOnly_) && shown_[0].shapes > 0) {
        scratch_.Reset(w);
        // Where the frame shown last was drawn whole from its record, this is all that the
        // window is to show anew (whatever the buffer drawn into holds).
        drewChanged_ =
            MarkDifferences(record_, shown_[0], shown_[0].shapes, scratch_, kMostRedrawn, &alike, &same) && held_[0];
        presentJoin_ = kJoinShare * w.Area();
    }
    Remember(alike, same);
    ++framesSinceCopy_;
    // How far this frame begins as the copy holds it.
    size_t copied = 0;
    bool fromCopy = false;
    if (copying_ && !copyBroken_ && copyShapes_ > 0) {
        copyDamage_.Reset(w);
        fromCopy = MarkDifferences(record_, copyRecord_, copyShapes_, copyDamage_, kMostRedrawn, &copied);
    }
    if (!fromCopy) copied = 0;
    copyRects_.clear();
    // Where this frame differs from the one the buffer holds.
    const FrameRecord* held = HeldRecord();
    bool damageOnly = false;
    if (held) {
        damage_.Reset(w);
        damageOnly = MarkDifferences(record_, *held, held->shapes, damage_, kMostDamaged);
    }
    if (fromCopy) {
        copyRects_ = copyDamage_.Rects(kMostRects, kJoinShare * w.Area());
        PlanDrawing(record_, 0, copied, planCopied_, &copyRects_);
        ++stats_.fromCopy;
    }
    // The rectangles that hold what changed: not worth it past a share of the window.
    std::vector<PixelRect> changed;
    if (damageOnly) {
        changed = damage_.Rects(kMostRects, kJoinShare * w.Area());
        double area = 0.0;
        for (const PixelRect& rect : changed) area += rect.Area();
        damageOnly = area <= kMostDamaged * w.Area();
    }
    stats_.changed += held ? damage_.Share() : 1.0;
    if (damageOnly) {
        wasted_ = 0;
        ++stats_.damaged;
        PlanDrawing(record_, copied, record_.shapes, planRest_, &changed);
        for (const PixelRect& rect : changed) {
            DrawWithin(rect, fromCopy, copyRects_);
            stats_.redrawn += rect.Area() / w.Area();
        }
    } else {
        stats_.redrawn += 1.0;
        // The window copied anew after the span, when that pays: the span drawn whole first (not
        // from an older copy that holds less of it).
        const size_t span = CopySpan(fromCopy, copied, scratch_.Share());
        if (span > 0 && (!fromCopy || span < copied)) fromCopy = false, copied = 0, copyRects_.clear();
        const size_t calls = PlanDrawing(record_, copied, span > 0 ? span : record_.shapes, planRest_);
        DrawWithin(w.Whole(), fromCopy, copyRects_);
        if (fromCopy || span > 0 || record_.shapes < kManyShapes || calls * 10 < record_.runs.size() * 9) {
            wasted_ = 0;
        } else if (++wasted_ >= kGiveUpAfter) {
            wasted_ = 0;
            resting_ = kRestFrames;
        }
        if (span > 0) {
            framesSinceCopy_ = 0;
            if (CopyWindow()) {
                ++stats_.copies;
                copyRecord_ = record_;
                copyShapes_ = span;
            } else {
                copyShapes_ = 0;
                copyBroken_ = true;
            }
            PlanDrawing(record_, span, record_.shapes, planRest_);
            DrawPlan(planRest_, w.Whole());
        }
    }
    ApplyGLScissor(scissor);
}

const std::vector<PixelRect>& FrameCache::PresentRects() {
    if (!presentRectsMade_) {
        presentRectsMade_ = true;
        presentRects_.clear();
        if (!presentWhole_) presentRects_ = scratch_.Rects(kMostRects, presentJoin_);
    }
    return presentRects_;
}

bool FrameCache::RecordUses(const TGLTexture* texture, unsigned id) const {
    if (!recording_) return false;
    for (const RecordedRun& run : record_.runs)
        if ((texture && run.style.texture == texture) || (id != 0 && run.style.id == id)) return true;
    return false;
}

void FrameCache::Forget() {
    copyShapes_ = 0;
    copyBroken_ = false;
    copyRecord_.Clear();
    for (FrameRecord& r : shown_) r.Clear();
    held_.fill(false);
    alikeFrames_ = 0;
    wasted_ = resting_ = 0;
}

void FrameCache::DropRecord() {
    recording_ = false;
    complete_ = false;
    record_.Clear();
}

void FrameCache::ContextGone() {
    DropRecord();
    Forget();
    texture_ = 0;
}

FrameCacheStats FrameCache::Stats() const {
    FrameCacheStats s = stats_;
    s.bytes = record_.Bytes() + copyRecord_.Bytes() + static_cast<size_t>(textureW_) * textureH_ * 4;
    for (const FrameRecord& r : shown_) s.bytes += r.Bytes();
    return s;
}
