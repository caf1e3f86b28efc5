// The quad batch: shapes (textured or plain quads, and the triangles, lines and points of ovals,
// polygons and lines) gathered in one client-side vertex array, a run of shapes that share their
// style (texture, blend, filtering, kind, line width) going to GL in one call. A shape that cannot
// join the run draws the run out first, so drawing order never changes. Not for callers outside
// platform/.
#pragma once
#include "platform/Graphics.h"

class TGLTexture;

// One corner of a shape: window position (virtual units), texture coordinates, colour.
struct BatchVertex {
    float x, y, u, v, r, g, b, a;
};

// What GL draws a shape as.
enum class ShapeKind : unsigned char { Quad, Triangle, Line, Point };
// The corners of one shape of the kind: 4, 3, 2, 1.
int CornersOf(ShapeKind kind);

// Everything the shapes of one GL call share.
struct RunStyle {
    TGLTexture* texture = nullptr;  // the texture's owner (null: plain, or a texture of the renderer's own)
    unsigned id = 0;                // the GL texture name; 0: plain shapes in their colour
    int blend = ALPHABLEND;         // already resolved: SOLIDBLEND where mixing changes nothing
    ShapeKind kind = ShapeKind::Quad;
    bool unfiltered = false;  // a filtered texture drawn texel for pixel, sampled unfiltered
    bool replace = false;     // textured in white at full alpha: the texture's colour as it is
    float width = 1.0f;       // lines and points: their width in pixels
    bool operator==(const RunStyle&) const = default;
};

class QuadBatch {
public:
    // The vertices the batch holds before it is drawn out (a plain array, not a vector: textures
    // freed by static destructors at exit still draw the batch out, which must not read freed
    // memory then). 16,384 corners are 4,096 quads, 512 KB: a full window of small pictures
    // goes in a few calls, and the array stays in the processor's cache.
    static constexpr int kCorners = 16384;

    // Called before anything is drawn (the clears put off are done first).
    void SetBeforeDraw(void (*beforeDraw)()) { beforeDraw_ = beforeDraw; }
    // Appends one shape of CornersOf(style.kind) corners, the run drawn out first when the shape
    // cannot join it.
    void Add(const RunStyle& style, const BatchVertex* corners);
    // Draws the run waiting, if any.
    void Flush();
    // Forgets the run waiting (nothing left to draw it on).
    void Drop() { corners_ = 0; }
    bool Empty() const { return corners_ == 0; }
    // The run waiting reads this GL texture.
    bool Uses(unsigned id) const { return corners_ > 0 && style_.id == id; }
    // A new GL context: the GL state set before is unknown, and the run waiting is dropped (its
    // textures were the old context's).
    void ForgetGLState();
    // The GL calls and quads drawn since the last TakeStats.
    DrawStats TakeStats();
    DrawStats Stats() const { return stats_; }

private:
    void ApplyBlend(int blend);
    void ApplyTexturing(bool textured);

    BatchVertex vertices_[kCorners];
    int corners_ = 0;
    RunStyle style_;
    DrawStats stats_;
    void (*beforeDraw_)() = nullptr;
    // GL state already set, so that it is set only when it changes (-1: unknown).
    int appliedBlend_ = -1;
    int appliedTexturing_ = -1;
    int appliedReplace_ = -1;  // 1: GL_REPLACE without a colour array; 0: GL_MODULATE with one
};
