// The frame cache: a frame's shapes are recorded as they are asked for and drawn when the frame
// ends (or earlier, when anything other than a shape is to be drawn or read), drawing again only
// what it must:
// - Damage only: where the window keeps its last frames (the platform says how old the pixels
//   of the buffer being drawn are; the headless buffer keeps its frame), only the rectangles
//   where this frame draws otherwise than the frame the buffer holds are drawn again, each from
//   its clears up; the rest of the window already shows it.
// - The copy: most frames begin as the frames before began (the background, the board, the
//   buildings, the screen under a pop-up). Once they have for a while, the window after that
//   beginning is copied into a texture; as long as frames keep beginning that way, the copy is
//   drawn in its place, texel for pixel and unmixed, what differs there drawn again where it
//   lies, and only the rest of the frame is drawn.
// Both draw the frame's shapes in the fewest calls that keep every pixel as drawn in order, and
// so does a frame drawn whole without either (a large board's clue numbers, each drawn and then
// lit, in two calls rather than two for every number).
// Not for callers outside platform/.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/FrameRecord.h"

class FrameCache {
public:
    explicit FrameCache(QuadBatch& batch) : batch_(batch) {}

    // The copy of the window on or off; drawing only what changed on or off. Frames are
    // recorded either way (not while recording rests), and drawn at their end.
    void SetCopying(bool on);
    void SetDamageOnly(bool on);
    // Tests: the largest copy of the window taken (0: the GL's texture size limit).
    void SetCopyLimit(int pixels) { copyLimit_ = pixels; }

    // A frame begins (at the flip): its shapes are recorded when the cache is on; the buffer
    // drawn into holds the frame drawn `bufferAge` frames ago (0: unknown).
    void StartFrame(int bufferAge);
    // The frame was shown: what it drew becomes the frame its buffer holds.
    void EndFrame();
    // What the frame last shown changed in the window since the frame before: all of it, or only
    // the rectangles PresentRects() (GL's rows; none when nothing changed), gathered when first
    // asked for.
    bool PresentWhole() const { return presentWhole_; }
    const std::vector<PixelRect>& PresentRects();
    // This frame's shapes are being recorded.
    bool Recording() const { return recording_; }
    // Shapes of this frame are recorded and not drawn yet.
    bool HasRecorded() const { return recording_ && record_.shapes > 0; }
    // Records a shape; false when the record is full (it is to be drawn, and the rest of the
    // frame with it as it comes).
    bool Record(const RunStyle& style, const BatchVertex* corners, const Scissor& scissor, const FrameWindow& window);
    // The frame begins with a clear of the whole window (before any of its shapes).
    void ClearedWhole();
    // Something was drawn or cleared in this frame past its record: the window no longer
    // shows what the record draws.
    void DrewOutside();
    // Draws the recorded shapes (the clears still pending taken as the frame's start, and done)
    // and ends the recording: the rest of the frame goes to the batch at once. `scissor` is the
    // GL scissor to leave set.
    void DrawRecord(std::vector<PendingClear>& pending, const Scissor& scissor);
    // The record being made reads this texture (by its owner, or by GL name when id is not 0).
    bool RecordUses(const TGLTexture* texture, unsigned id) const;
    // The copy, the frames before and what the buffer holds no longer stand for anything.
    void Forget();
    // What was recorded and not drawn is dropped (there is nothing to draw it on any more).
    void DropRecord();
    // The GL context is gone, and the copy's texture with it.
    void ContextGone();
    FrameCacheStats Stats() const;

private:
    const FrameRecord* HeldRecord() const;
    void Remember(size_t alike, size_t same);
    size_t CopySpan(bool fromCopy, size_t copied, double alikeShare);
    void DrawWithin(const PixelRect& rect, bool fromCopy, const std::vector<PixelRect>& copyRects);
    void DrawPlan(const std::vector<DrawSegment>& plan, const PixelRect& rect);
    bool CopyWindow();
    void DrawCopy(const PixelRect& rect);

    QuadBatch& batch_;
    bool copying_ = true, damageOnly_ = true;
    bool recording_ = false;
    // The frame now: recorded from its start, and nothing drawn past its record.
    bool recordedFromStart_ = false, complete_ = false;
    int bufferAge_ = 0;
    // Where the frame differs from the frame shown before is known (marked in scratch_).
    bool drewChanged_ = false, presentWhole_ = true, presentRectsMade_ = false;
    double presentJoin_ = 0.0;
    std::vector<PixelRect> presentRects_;
    FrameRecord record_;
    Scissor scissor_;  // the GL scissor the drawing layer keeps set
    // The frames shown last, the latest first: what a buffer of that age holds, where `held_`.
    static constexpr size_t kHeldFrames = 3;
    std::array<FrameRecord, kHeldFrames> shown_;
    std::array<bool, kHeldFrames> held_{};
    // The window after the first copyShapes_ shapes of copyRecord_, in texture texture_.
    FrameRecord copyRecord_;
    size_t copyShapes_ = 0;
    unsigned texture_ = 0;
    int textureGeneration_ = 0, textureW_ = 0, textureH_ = 0;
    int copyLimit_ = 0;
    bool copyBroken_ = false;  // a copy failed: none is tried again until the cache is forgotten
    // The shapes each of the last frames drew alike with the frame before it (small differences
    // aside, and none at all), and frames since the window was last copied.
    static constexpr unsigned kHistory = 16;
    size_t alikeHistory_[kHistory] = {}, sameHistory_[kHistory] = {};
    unsigned alikeFrames_ = 0;
    int framesSinceCopy_ = 0;
    std::vector<double> areas_;
    // Frames in a row that the record spared nothing, and frames left before recording again.
    int wasted_ = 0, resting_ = 0;
    // Reused from frame to frame.
    Damage damage_, copyDamage_, scratch_;
    std::vector<PixelRect> copyRects_;
    std::vector<DrawSegment> planCopied_, planRest_;
    std::vector<PixelRect> hidden_;       // what later opaque quads hide of each segment
    std::vector<unsigned char> covered_;  // the window's pixels later opaque quads paint
    FrameCacheStats stats_;
};
