#include "platform/Graphics.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/GLWindowAttributes.h"
#include "platform/GLTexture.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Maths.h"

namespace {

// The frame's recorded quads (below): drawn now, and the frame drawn directly from here on.
void DrawRecord();
// Everything asked for so far is drawn: the recorded quads, the batch, the clears still waiting.
void DrawAllPending();
// Drawn first when they use the texture of this GL name.
void DrawRecordUsing(unsigned id);
// The cache no longer stands for anything.
void ForgetFrameCache();

struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1.0f;
    float scaleX = 1.0f, scaleY = 1.0f;
    float rotation = 0.0f;
    // The 2x2 matrix of scale and rotation: X = lx * ix + ly * iy, Y = lx * jx + ly * jy.
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;
    int blend = ALPHABLEND;
    float originX = 0.0f, originY = 0.0f;
    float handleX = 0.0f, handleY = 0.0f;
    int viewX = 0, viewY = 0, viewW = 0, viewH = 0;
    int clsR = 0, clsG = 0, clsB = 0;
    float lineWidth = 1.0f;
};

DrawState gState;

SDL_Window* gWindow = nullptr;
SDL_GLContext gContext = nullptr;
int gGeneration = 0;
int gNextGeneration = 1;
std::string gTitle = "Quiltora";
std::string gError;

int gWidth = 0, gHeight = 0, gDepth = 0, gHertz = 60;
// The window's real size in window points and its drawable size in pixels.
int gWinW = 0, gWinH = 0, gPixW = 0, gPixH = 0;
float gVirtualW = 0.0f, gVirtualH = 0.0f;

int gOverrideW = 0, gOverrideH = 0;
GraphicsRefusal gRefusal = nullptr;

// GL state already applied, so that it is set only when it changes (-1: unknown).
int gAppliedBlend = -1;
int gAppliedTexturing = -1;
// The texture environment last set: 1 replace (the texture's colour as it is, no colour array),
// 0 modulate (texture times the colour array), -1 unknown.
int gAppliedReplace = -1;
int gSwapInterval = -1;
// The scissor rectangle in window pixels last given to GL (width -1: none yet).
int gScissorX = 0, gScissorY = 0, gScissorW = -1, gScissorH = 0;

// The quad batch: quads in drawing order, all of one texture (0: plain) and one blend, drawn by
// one GL call when anything else is asked for (another texture or blend, a change of scissor or
// projection, a clear, a line or other shape drawn directly, a pixel read, the flip) or when
// it is full.
struct BatchVertex {
    float x, y, u, v, r, g, b, a;
};
constexpr int kBatchQuads = 4096;
struct QuadBatch {
    // A plain array, not a vector: textures freed by static destructors at exit still draw out
    // the batch, which must not read freed memory then.
    BatchVertex vertices[kBatchQuads * 4];
    int quads = 0;
    unsigned texture = 0;
    TGLTexture* source = nullptr;  // the texture's owner (it draws the batch out before it goes)
    int blend = ALPHABLEND;
    bool unfiltered = false;  // a filtered texture drawn texel for pixel, sampled unfiltered
    bool replace = false;     // textured quads in white at full alpha: the texture's colour as it is
};
QuadBatch gBatch;
// The frame cache (below): frames are recorded (off: every quad goes to the batch at once), and
// this frame's quads are being recorded.
bool gRecordingOn = true;
bool gRecording = false;

// Clears asked for and not yet done, oldest first: each in its colour over its scissor rectangle
// (window pixels, GL's bottom-up rows). A clear is put off until something else is drawn, so
// that a later clear of the same pixels, or an opaque quad covering them (a screen's full-window
// background, drawn first), can take its place: the pixels come out the same, and the software
// renderer does not fill them twice.
struct PendingClear {
    int x, y, w, h;
    float r, g, b;
    bool operator==(const PendingClear&) const = default;
};
std::vector<PendingClear> gPendingClears;
DrawStats gFrameStats, gLastFrameStats;
bool gDirectDrawing = false;
// The window belongs to SDL's offscreen video driver (headless runs).
bool gWindowHasNoDisplay = false;

std::chrono::steady_clock::time_point gNextFrame{};
bool gPaceStarted = false;
bool gCursorHidden = false;
bool gPacedFixedClock = false;

bool InitVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        gError = std::string("SDL video: ") + SDL_GetError();
        return false;
    }
    return true;
}

void UpdateMatrix() {
    double rad = static_cast<double>(gState.rotation) * 3.14159265358979323846 / 180.0;
    float c = static_cast<float>(std::cos(rad));
    float s = static_cast<float>(std::sin(rad));
    gState.ix = c * gState.scaleX;
    gState.iy = -s * gState.scaleY;
    gState.jx = s * gState.scaleX;
    gState.jy = c * gState.scaleY;
}

// Half a real pixel in virtual units, so that points and lines hit pixel centres.
float HalfPixelX() { return gPixW > 0 ? 0.5f * gVirtualW / static_cast<float>(gPixW) : 0.5f; }
float HalfPixelY() { return gPixH > 0 ? 0.5f * gVirtualH / static_cast<float>(gPixH) : 0.5f; }

void ApplyScissor() {
    if (!gContext || gVirtualW <= 0.0f || gVirtualH <= 0.0f) return;
    float sx = static_cast<float>(gPixW) / gVirtualW;
    float sy = static_cast<float>(gPixH) / gVirtualH;
    int x0 = TruncToInt(std::floor(static_cast<float>(gState.viewX) * sx + 0.5f));
    int y0 = TruncToInt(std::floor(static_cast<float>(gState.viewY) * sy + 0.5f));
    int x1 = TruncToInt(std::floor(static_cast<float>(double(gState.viewX) + std::max(gState.viewW, 0)) * sx + 0.5f));
    int y1 = TruncToInt(std::floor(static_cast<float>(double(gState.viewY) + std::max(gState.viewH, 0)) * sy + 0.5f));
    x0 = std::clamp(x0, 0, gPixW);
    x1 = std::clamp(x1, 0, gPixW);
    y0 = std::clamp(y0, 0, gPixH);
    y1 = std::clamp(y1, 0, gPixH);
    int sx0 = x0, sy0 = gPixH - y1, sw = std::max(x1 - x0, 0), sh = std::max(y1 - y0, 0);
    if (sx0 == gScissorX && sy0 == gScissorY && sw == gScissorW && sh == gScissorH) return;
    GLFlushBatch();
    gScissorX = sx0;
    gScissorY = sy0;
    gScissorW = sw;
    gScissorH = sh;
    glEnable(GL_SCISSOR_TEST);
    glScissor(sx0, sy0, sw, sh);
}

void ApplyView() {
    if (!gContext) return;
    DrawRecord();
    GLFlushBatch();
    glViewport(0, 0, gPixW, gPixH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, gVirtualW, gVirtualH, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyScissor();
}

void ApplyBlend(int blend) {
    if (gAppliedBlend == blend) return;
    gAppliedBlend = blend;
    switch (blend) {
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case SOLIDBLEND:
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glDisable(GL_ALPHA_TEST);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            glDisable(GL_ALPHA_TEST);
            break;
        default:  // ALPHABLEND
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_ALPHA_TEST);
            break;
    }
}

void ApplyTexturing(bool textured) {
    int t = textured ? 1 : 0;
    if (gAppliedTexturing == t) return;
    if (textured) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    gAppliedTexturing = t;
}

// Does the clears put off, in order, each within its own rectangle.
void DoPendingClears() {
    if (gPendingClears.empty()) return;
    std::vector<PendingClear> clears;
    clears.swap(gPendingClears);
    if (!gContext) return;
    for (const PendingClear& c : clears) {
        glScissor(c.x, c.y, c.w, c.h);
        glClearColor(c.r, c.g, c.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    if (gScissorW >= 0) glScissor(gScissorX, gScissorY, gScissorW, gScissorH);
}

void DrawAllPending() {
    DrawRecord();
    GLFlushBatch();
    DoPendingClears();
}

// A clear put off, of the current scissor rectangle in the clear colour. Clears put off before
// that lie inside it are dropped: it paints over them.
void PutOffClear() {
    PendingClear c{gScissorX, gScissorY, gScissorW, gScissorH, static_cast<float>(gState.clsR) / 255.0f,
                   static_cast<float>(gState.clsG) / 255.0f, static_cast<float>(gState.clsB) / 255.0f};
    if (gScissorW < 0) c = {0, 0, gPixW, gPixH, c.r, c.g, c.b};
    std::erase_if(gPendingClears, [&](const PendingClear& p) {
        return p.x >= c.x && p.y >= c.y && p.x + p.w <= c.x + c.w && p.y + p.h <= c.y + c.h;
    });
    gPendingClears.push_back(c);
}

// An opaque quad drawn without mixing (blend already resolved) paints every pixel it covers:
// the clears put off that lie inside it and inside the scissor rectangle need not be done.
void CoverPendingClears(const BatchVertex* q, int blend) {
    if (gPendingClears.empty() || blend != SOLIDBLEND) return;
    if (q[1].y != q[0].y || q[3].x != q[0].x || q[2].x != q[1].x || q[2].y != q[3].y) return;
    if (gVirtualW <= 0.0f || gVirtualH <= 0.0f) return;
    const float sx = static_cast<float>(gPixW) / gVirtualW, sy = static_cast<float>(gPixH) / gVirtualH;
    // The quad in window pixels, rows counted from the bottom as GL does.
    float left = std::min(q[0].x, q[1].x) * sx, right = std::max(q[0].x, q[1].x) * sx;
    float top = std::min(q[0].y, q[3].y) * sy, bottom = std::max(q[0].y, q[3].y) * sy;
    const float glBottom = static_cast<float>(gPixH) - bottom, glTop = static_cast<float>(gPixH) - top;
    std::erase_if(gPendingClears, [&](const PendingClear& p) {
        const bool inQuad = left <= static_cast<float>(p.x) && right >= static_cast<float>(p.x + p.w) &&
                            glBottom <= static_cast<float>(p.y) && glTop >= static_cast<float>(p.y + p.h);
        const bool inScissor = gScissorW < 0 || (p.x >= gScissorX && p.y >= gScissorY &&
                                                 p.x + p.w <= gScissorX + gScissorW &&
                                                 p.y + p.h <= gScissorY + gScissorH);
        return inQuad && inScissor;
    });
}

// Sets the GL state for one shape drawn directly (not a quad); false when nothing can be drawn.
bool PrepareDraw() {
    if (!gContext) return false;
    DrawAllPending();
    ++gFrameStats.drawCalls;
    ApplyBlend(gState.blend);
    ApplyTexturing(false);
    glColor4f(static_cast<float>(gState.r) / 255.0f, static_cast<float>(gState.g) / 255.0f,
              static_cast<float>(gState.b) / 255.0f, gState.alpha);
    return true;
}

// A point relative to the draw point, through scale and rotation, placed at (x, y) + origin.
inline void Transform(float lx, float ly, float x, float y, float& outX, float& outY) {
    outX = x + gState.originX + lx * gState.ix + ly * gState.iy;
    outY = y + gState.originY + lx * gState.jx + ly * gState.jy;
}

void InitContextState() {
    gAppliedBlend = -1;
    gAppliedTexturing = -1;
    gAppliedReplace = -1;
    gSwapInterval = -1;
    gScissorW = -1;
    gBatch.quads = 0;
    // The batch's arrays; shapes drawn directly (glBegin) do not read them.
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void RefreshSizes() {
    if (!gWindow) return;
    SDL_GetWindowSize(gWindow, &gWinW, &gWinH);
    int pw = 0, ph = 0;
    SDL_GL_GetDrawableSize(gWindow, &pw, &ph);
    if (pw <= 0 || ph <= 0) {
        pw = gWinW;
        ph = gWinH;
    }
    if (pw != gPixW || ph != gPixH) {
        gPixW = pw;
        gPixH = ph;
        ApplyView();
    }
}

void Pace(double seconds) {
    using clock = std::chrono::steady_clock;
    auto period = std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(seconds));
    auto now = clock::now();
    // A frame that fell behind by more than one period starts the pace again instead of
    // running the following frames unpaced to catch up.
    if (!gPaceStarted || now > gNextFrame + period) {
        gPaceStarted = true;
        gNextFrame = now + period;
        return;
    }
    if (now < gNextFrame) std::this_thread::sleep_until(gNextFrame);
    gNextFrame += period;
}

}  // namespace

// ---- Internals shared with images and fonts ----

int GLContextGeneration() { return gContext ? gGeneration : 0; }

bool GLDirectDrawing() { return gDirectDrawing; }

void SetPacedFixedClock(bool on) {
    gPacedFixedClock = on;
    gPaceStarted = false;
}

void SetFrameCache(bool on) {
    DrawRecord();
    gRecordingOn = on;
    ForgetFrameCache();
}

void SetDirectDrawing(bool on) {
    DrawAllPending();
    gDirectDrawing = on;
}

void GLFlushBatch() {
    if (gBatch.quads == 0) return;
    DoPendingClears();
    const int quads = gBatch.quads;
    gBatch.quads = 0;
    if (!gContext) return;
    ApplyBlend(gBatch.blend);
    ApplyTexturing(gBatch.texture != 0);
    if (gBatch.texture != 0) {
        glBindTexture(GL_TEXTURE_2D, gBatch.texture);
        if (gBatch.source) gBatch.source->SampleUnfiltered(gBatch.unfiltered);
    }
    // A texture modulated by white at full alpha is the texture itself: replacing the colour
    // gives the same pixels, and the software renderer then neither carries a colour across the
    // quad nor multiplies by it.
    const bool replace = gBatch.texture != 0 && gBatch.replace;
    if (gAppliedReplace != (replace ? 1 : 0)) {
        gAppliedReplace = replace ? 1 : 0;
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, replace ? GL_REPLACE : GL_MODULATE);
        if (replace) {
            glDisableClientState(GL_COLOR_ARRAY);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        } else {
            glEnableClientState(GL_COLOR_ARRAY);
        }
    }
    const BatchVertex* v = gBatch.vertices;
    glVertexPointer(2, GL_FLOAT, sizeof(BatchVertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &v->u);
    if (!replace) glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &v->r);
    glDrawArrays(GL_QUADS, 0, quads * 4);
    ++gFrameStats.drawCalls;
    gFrameStats.quads += quads;
}

void GLTextureDeleting(unsigned id) {
    DrawRecordUsing(id);
    if (gBatch.quads > 0 && gBatch.texture == id) GLFlushBatch();
}

// A filtered texture drawn texel for pixel: not turned, one texel to a pixel, texel corners on
// pixel corners. Every pixel then samples a texel at its centre, where linear filtering gives the
// texel itself, so the quad can be drawn unfiltered, which the software renderer does several
// times faster.
bool TexelForPixel(const TGLTexture& texture, const BatchVertex* q) {
    if (!texture.Filtered() || texture.Mipmapped() || q[1].y != q[0].y || q[3].x != q[0].x) return false;
    if (gVirtualW <= 0.0f || gVirtualH <= 0.0f) return false;
    const float sx = static_cast<float>(gPixW) / gVirtualW, sy = static_cast<float>(gPixH) / gVirtualH;
    const float px0 = q[0].x * sx, px1 = q[2].x * sx, py0 = q[0].y * sy, py1 = q[2].y * sy;
    const float tw = static_cast<float>(texture.Pixmap()->width), th = static_cast<float>(texture.Pixmap()->height);
    const float tu0 = q[0].u * tw, tu1 = q[2].u * tw, tv0 = q[0].v * th, tv1 = q[2].v * th;
    // Within a small fraction of a pixel (positions carry float rounding from the origin and
    // handle), far below what the filter's weights can resolve.
    constexpr float kSlack = 1.0f / 1024.0f;
    auto near = [](float a, float b) { return std::fabs(a - b) < kSlack; };
    auto whole = [&](float f) { return near(f, std::round(f)); };
    return px1 > px0 && py1 > py0 && near(px1 - px0, tu1 - tu0) && near(py1 - py0, tv1 - tv0) && whole(px0) &&
           whole(py0) && whole(tu0) && whole(tv0);
}

namespace {

// Appends one quad of four corners to the batch, drawn out first when it cannot join the run.
void BatchQuad(const BatchVertex* q, TGLTexture* texture, unsigned id, int blend, bool unfiltered, bool replace) {
    if (gBatch.quads > 0 && (gBatch.texture != id || gBatch.blend != blend || gBatch.unfiltered != unfiltered ||
                             gBatch.replace != replace || gBatch.quads == kBatchQuads))
        GLFlushBatch();
    gBatch.texture = id;
    gBatch.source = texture;
    gBatch.blend = blend;
    gBatch.unfiltered = unfiltered;
    gBatch.replace = replace;
    std::copy_n(q, 4, gBatch.vertices + static_cast<size_t>(gBatch.quads) * 4);
    ++gBatch.quads;
}

// ---- The frame's unchanging beginning, kept in a texture ----
//
// Most frames begin as the frame before began: the background, the board, the buildings, the
// screen under a pop-up; what changes (a pointer, particles, a pulsing button, a clock) comes
// later. The quads of a frame are recorded as they are asked for, and drawn when the frame ends
// (or earlier, when anything other than a quad is to be drawn or read). When the frame's first
// runs of quads are the very ones the frame before began with (the same textures with the same
// pixels, blends, corners, colours, scissors, after the same clears), the window after them is
// copied into a texture once; as long as frames keep beginning that way, that texture is drawn
// over the whole window in their place, texel for pixel and unmixed, and only the rest of the
// frame is drawn. The renderer draws the same quads into the same pixels every time, so the
// picture is the same to the last bit; it is the many mixed and filtered pixels of the
// beginning that are not drawn again.

struct RecordedRun {
    TGLTexture* texture;  // drawn with only within its frame; afterwards only compared
    unsigned long long upload;
    unsigned id;
    int blend;
    bool unfiltered, replace;
    int scissorX, scissorY, scissorW, scissorH;
    int quads;  // the run's quads follow the previous runs' in the record's vertices

    // Draws its quads as the other run does (the same picture, blend and scissor), whatever they are.
    bool DrawsAs(const RecordedRun& o) const {
        return texture == o.texture && upload == o.upload && id == o.id && blend == o.blend &&
               unfiltered == o.unfiltered && replace == o.replace && scissorX == o.scissorX &&
               scissorY == o.scissorY && scissorW == o.scissorW && scissorH == o.scissorH;
    }
};

struct FrameRecord {
    std::vector<PendingClear> clears;  // the clears waiting when the frame's quads were drawn
    std::vector<RecordedRun> runs;
    std::vector<BatchVertex> vertices;
    int pixW = 0, pixH = 0, generation = 0;
    float virtualW = 0.0f, virtualH = 0.0f;

    void Clear() {
        clears.clear();
        runs.clear();
        vertices.clear();
    }
};

// Window pixels the first `runs` runs of a record cover, counting overlaps again (what the
// renderer fills to draw them).
double RunsArea(const FrameRecord& rec, size_t runs) {
    const float sx = rec.virtualW > 0.0f ? static_cast<float>(rec.pixW) / rec.virtualW : 1.0f;
    const float sy = rec.virtualH > 0.0f ? static_cast<float>(rec.pixH) / rec.virtualH : 1.0f;
    double area = 0.0;
    size_t v = 0;
    for (size_t r = 0; r < runs && r < rec.runs.size(); ++r)
        for (int k = 0; k < rec.runs[r].quads; ++k, v += 4) {
            const BatchVertex* q = rec.vertices.data() + v;
            area += std::fabs(((q[1].x - q[0].x) * (q[3].y - q[0].y) - (q[1].y - q[0].y) * (q[3].x - q[0].x)) * sx * sy);
        }
    return area;
}

FrameRecord gRecord, gLastRecord;

// What was asked for and not drawn yet is dropped (there is nothing to draw it on any more).
void DropPending() {
    gBatch.quads = 0;
    gPendingClears.clear();
    gRecording = false;
    gRecord.Clear();
}

// The OpenGL driver is loaded with the first context, after the program's own static objects
// were made, so at the program's end its own globals (the software renderer's shader compiler)
// are torn down before ours. A texture destroyed with our statics must not reach it then: a
// frame's quads still pending (a run or a test that ends without showing its last frame) were
// drawn at that texture's deletion and hung the process in the torn-down compiler. Registered
// once the driver is loaded, this runs before the driver's teardown: nothing pending is drawn
// any more, and with no context the textures leave their names to the process's end.
void AbandonGLAtExit() {
    DropPending();
    gContext = nullptr;
}

// The window after the first gCacheRuns runs of gCacheRecord, in texture gCacheTexture.
FrameRecord gCacheRecord;
size_t gCacheRuns = 0;
unsigned gCacheTexture = 0;
int gCacheGeneration = 0, gCacheW = 0, gCacheH = 0;
// The runs each of the last frames drew alike with the frame before it, and frames since the
// window was last copied into the cache.
constexpr unsigned kAlikeFrames = 16;
size_t gAlikeHistory[kAlikeFrames] = {};
unsigned gAlikeFrames = 0;
int gFramesSinceCopy = 0;

void RecordQuad(const BatchVertex* q, TGLTexture* texture, unsigned id, int blend, bool unfiltered, bool replace) {
    if (gRecord.runs.empty()) {
        gRecord.pixW = gPixW;
        gRecord.pixH = gPixH;
        gRecord.generation = gGeneration;
        gRecord.virtualW = gVirtualW;
        gRecord.virtualH = gVirtualH;
    }
    RecordedRun run{texture, texture ? texture->UploadNumber() : 0, id, blend, unfiltered, replace,
                    gScissorX, gScissorY, gScissorW, gScissorH, 1};
    RecordedRun* last = gRecord.runs.empty() ? nullptr : &gRecord.runs.back();
    if (last && run.DrawsAs(*last))
        ++last->quads;
    else {
        run.quads = 1;
        gRecord.runs.push_back(run);
    }
    gRecord.vertices.insert(gRecord.vertices.end(), q, q + 4);
}

// Draws runs [from, to) of the record through the batch, each within its own scissor.
void DrawRecordedRuns(const FrameRecord& rec, size_t from, size_t to) {
    size_t v = 0;
    for (size_t r = 0; r < from; ++r) v += static_cast<size_t>(rec.runs[r].quads) * 4;
    int sx = gScissorX, sy = gScissorY, sw = gScissorW, sh = gScissorH;
    for (size_t r = from; r < to; ++r) {
        const RecordedRun& run = rec.runs[r];
        if (run.scissorX != sx || run.scissorY != sy || run.scissorW != sw || run.scissorH != sh) {
            GLFlushBatch();
            sx = run.scissorX, sy = run.scissorY, sw = run.scissorW, sh = run.scissorH;
            if (sw >= 0) glScissor(sx, sy, sw, sh);
        }
        for (int k = 0; k < run.quads; ++k, v += 4)
            BatchQuad(rec.vertices.data() + v, run.texture, run.id, run.blend, run.unfiltered, run.replace);
    }
    GLFlushBatch();
    if (gScissorW >= 0 && (sx != gScissorX || sy != gScissorY || sw != gScissorW || sh != gScissorH))
        glScissor(gScissorX, gScissorY, gScissorW, gScissorH);
}

// The window as it is now, into the cache texture.
bool CopyWindowToCache() {
    if (gCacheTexture == 0 || gCacheGeneration != gGeneration) {
        GLuint id = 0;
        glGenTextures(1, &id);
        if (id == 0) return false;
        gCacheTexture = id;
        gCacheGeneration = gGeneration;
        gCacheW = gCacheH = 0;
    }
    glBindTexture(GL_TEXTURE_2D, gCacheTexture);
    if (gCacheW != gPixW || gCacheH != gPixH) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, gPixW, gPixH, 0);
        gCacheW = gPixW;
        gCacheH = gPixH;
    } else {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, gPixW, gPixH);
    }
    return true;
}

// The cache texture over the whole window, texel for pixel (its rows bottom up, as copied).
void DrawCache() {
    gPendingClears.clear();  // the cache holds what they cleared
    BatchVertex q[4];
    const float w = gVirtualW, h = gVirtualH;
    q[0] = {0.0f, 0.0f, 0.0f, 1.0f, 1, 1, 1, 1};
    q[1] = {w, 0.0f, 1.0f, 1.0f, 1, 1, 1, 1};
    q[2] = {w, h, 1.0f, 0.0f, 1, 1, 1, 1};
    q[3] = {0.0f, h, 0.0f, 0.0f, 1, 1, 1, 1};
    if (gScissorW >= 0) glScissor(0, 0, gPixW, gPixH);
    BatchQuad(q, nullptr, gCacheTexture, SOLIDBLEND, false, true);
    GLFlushBatch();
    if (gScissorW >= 0) glScissor(gScissorX, gScissorY, gScissorW, gScissorH);
}

// Worth keeping: the first runs fill a quarter of the window more than the cache's one quad.
bool WorthKeeping(const FrameRecord& rec, size_t runs) {
    return runs > 0 && RunsArea(rec, runs) > 1.25 * static_cast<double>(rec.pixW) * rec.pixH;
}

// A rectangle of window pixels, GL's rows (bottom up).
struct PixelRect {
    int x0, y0, x1, y1;  // [x0, x1) x [y0, y1)
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    double Area() const { return Empty() ? 0.0 : double(x1 - x0) * (y1 - y0); }
    PixelRect Meet(const PixelRect& o) const {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
    PixelRect Join(const PixelRect& o) const {
        return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
    bool Meets(const PixelRect& o) const { return !Meet(o).Empty(); }
};

// The window pixels a quad can touch, with a pixel to spare on every side.
PixelRect QuadPixels(const FrameRecord& rec, const BatchVertex* q) {
    const float sx = static_cast<float>(rec.pixW) / rec.virtualW, sy = static_cast<float>(rec.pixH) / rec.virtualH;
    float left = q[0].x, right = q[0].x, top = q[0].y, bottom = q[0].y;
    for (int i = 1; i < 4; ++i) {
        left = std::min(left, q[i].x);
        right = std::max(right, q[i].x);
        top = std::min(top, q[i].y);
        bottom = std::max(bottom, q[i].y);
    }
    auto clampTo = [](float v, int hi) { return static_cast<int>(std::clamp(v, -1.0f, static_cast<float>(hi) + 1.0f)); };
    const int x0 = clampTo(std::floor(left * sx) - 1.0f, rec.pixW), x1 = clampTo(std::ceil(right * sx) + 1.0f, rec.pixW);
    const int yTop = clampTo(std::floor(top * sy) - 1.0f, rec.pixH), yBottom = clampTo(std::ceil(bottom * sy) + 1.0f, rec.pixH);
    return {std::max(x0, 0), std::max(rec.pixH - yBottom, 0), std::min(x1, rec.pixW), std::min(rec.pixH - yTop, rec.pixH)};
}

// Two records drawn in the same window after the same clears.
bool SameStart(const FrameRecord& a, const FrameRecord& b) {
    return a.pixW == b.pixW && a.pixH == b.pixH && a.generation == b.generation && a.virtualW == b.virtualW &&
           a.virtualH == b.virtualH && a.clears == b.clears;
}

// Adds the box to `dirty`, merged with every rectangle it meets.
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

// Adds to `dirty` the pixels where run r of two records (its quads from vertex va of a and vb of
// b on) differ. Runs of the same texture, blend and scissor are compared quad by quad: where
// either quad of a differing pair lies, and every quad one of them has beyond the other's (a
// particle more or less). Runs that draw otherwise (another picture of a creature's animation,
// say) differ wherever a quad of either lies.
void AddDifferences(const FrameRecord& a, size_t va, const FrameRecord& b, size_t vb, size_t r,
                    std::vector<PixelRect>& dirty) {
    const RecordedRun& x = a.runs[r];
    const RecordedRun& y = b.runs[r];
    const BatchVertex* p = a.vertices.data() + va;
    const BatchVertex* q = b.vertices.data() + vb;
    auto same = [&](int i, int j) { return std::memcmp(p + 4 * i, q + 4 * j, 4 * sizeof(BatchVertex)) == 0; };
    int n = x.quads, m = y.quads, first = 0;
    if (x.DrawsAs(y)) {
        // The quads both begin and end with are left out: a quad more or less in the middle (a
        // creature gone behind a tree) does not set every quad after it apart.
        const int fewer = std::min(n, m);
        while (first < fewer && same(first, first)) ++first;
        while (n > first && m > first && same(n - 1, m - 1)) --n, --m;
        for (int k = first; k < std::min(n, m); ++k)
            if (!same(k, k)) AddDirty(QuadPixels(a, p + 4 * k).Join(QuadPixels(b, q + 4 * k)), dirty);
        first = std::min(n, m);
    }
    for (int k = first; k < n; ++k) AddDirty(QuadPixels(a, p + 4 * k), dirty);
    for (int k = first; k < m; ++k) AddDirty(QuadPixels(b, q + 4 * k), dirty);
}

double DirtyArea(const std::vector<PixelRect>& dirty) {
    double area = 0.0;
    for (const PixelRect& r : dirty) area += r.Area();
    return area;
}

// Differences small enough to draw again over the cache: at most a fifth of the window, in at
// most 16 rectangles (the kingdom's creatures, walking and grazing among its buildings, and the
// chimneys' smoke take about an eighth).
bool SmallDifference(const FrameRecord& rec, const std::vector<PixelRect>& dirty) {
    return dirty.size() <= 16 && DirtyArea(dirty) <= 0.2 * static_cast<double>(rec.pixW) * rec.pixH;
}

// Draws the first `runs` runs of the record again within the rectangle only, from its clears on:
// the pixels there come out as if the whole frame so far had been drawn.
void DrawRunsWithin(const FrameRecord& rec, size_t runs, const PixelRect& rect) {
    GLFlushBatch();
    for (const PendingClear& c : rec.clears) {
        const PixelRect area = PixelRect{c.x, c.y, c.x + c.w, c.y + c.h}.Meet(rect);
        if (area.Empty()) continue;
        glScissor(area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0);
        glClearColor(c.r, c.g, c.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    size_t v = 0;
    for (size_t r = 0; r < runs; ++r) {
        const RecordedRun& run = rec.runs[r];
        const PixelRect scissor =
            PixelRect{run.scissorX, run.scissorY, run.scissorX + run.scissorW, run.scissorY + run.scissorH}.Meet(rect);
        if (scissor.Empty()) {
            v += static_cast<size_t>(run.quads) * 4;
            continue;
        }
        GLFlushBatch();
        glScissor(scissor.x0, scissor.y0, scissor.x1 - scissor.x0, scissor.y1 - scissor.y0);
        for (int k = 0; k < run.quads; ++k, v += 4) {
            const BatchVertex* q = rec.vertices.data() + v;
            if (QuadPixels(rec, q).Meets(scissor)) BatchQuad(q, run.texture, run.id, run.blend, run.unfiltered, run.replace);
        }
        GLFlushBatch();
    }
    glScissor(gScissorX, gScissorY, gScissorW, gScissorH);
}

// How many first runs of `rec` draw alike with those of `last` after the same clears: with small
// differences only (`dirty`, where they differ), at most `most`. Whole runs only.
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
        va += static_cast<size_t>(rec.runs[runs].quads) * 4;
        vb += static_cast<size_t>(last.runs[runs].quads) * 4;
    }
    return runs;
}

// Draws the recorded quads of the frame: its first runs from the cache when they draw alike
// with the runs cached (what differs drawn again where it lies). The span cached is the one each
// of the last sixteen frames (at least three) drew alike with the frame before; it is kept again
// (longer, or anew when the cache no longer fits) at most every eighth frame, since copying the
// window costs about what a full-window picture does.
void DrawRecord() {
    if (!gRecording) return;
    gRecording = false;
    if (gRecord.runs.empty()) return;
    gRecord.clears = gPendingClears;
    std::vector<PixelRect> dirty;
    const size_t alike = AlikeRuns(gRecord, gLastRecord, gRecord.runs.size(), dirty);
    if (!gLastRecord.runs.empty()) gAlikeHistory[gAlikeFrames++ % kAlikeFrames] = alike;
    size_t steady = alike;
    for (unsigned i = 0; i < std::min(gAlikeFrames, kAlikeFrames); ++i) steady = std::min(steady, gAlikeHistory[i]);
    if (gAlikeFrames < 3) steady = 0;
    ++gFramesSinceCopy;
    size_t from = 0;
    if (gCacheRuns > 0 && AlikeRuns(gRecord, gCacheRecord, gCacheRuns, dirty) == gCacheRuns) {
        DrawCache();
        for (const PixelRect& rect : dirty) DrawRunsWithin(gRecord, gCacheRuns, rect);
        from = gCacheRuns;
    }
    if (steady > from && gFramesSinceCopy >= 8 && WorthKeeping(gRecord, steady)) {
        DrawRecordedRuns(gRecord, from, steady);
        DoPendingClears();
        gFramesSinceCopy = 0;
        if (CopyWindowToCache()) {
            gCacheRecord = gRecord;
            gCacheRuns = steady;
        } else {
            gCacheRuns = 0;
        }
        from = steady;
    }
    DrawRecordedRuns(gRecord, from, gRecord.runs.size());
    std::swap(gLastRecord, gRecord);
    gRecord.Clear();
}

// The record touches this texture.
bool RecordUses(const TGLTexture* texture, unsigned id) {
    for (const RecordedRun& run : gRecord.runs)
        if ((texture && run.texture == texture) || (id != 0 && run.id == id)) return true;
    return false;
}

void ForgetFrameCache() {
    gCacheRuns = 0;
    gCacheRecord.Clear();
    gLastRecord.Clear();
    gAlikeFrames = 0;
}

void DrawRecordUsing(unsigned id) {
    if (gRecording && RecordUses(nullptr, id)) DrawRecord();
}

}  // namespace

void GLTextureChanging(const TGLTexture* texture) {
    if (gRecording && RecordUses(texture, 0)) DrawRecord();
}


void GLDrawQuad(TGLTexture* texture, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1,
                float x, float y) {
    if (!gContext) return;
    const bool direct = GLDirectDrawing();
    int blend = gState.blend;
    float alpha = gState.alpha;
    // With no alpha, the mask's test fails everywhere and mixing or adding changes nothing:
    // the quad would leave every pixel as it is.
    if (!direct && alpha <= 0.0f && (blend == ALPHABLEND || blend == LIGHTBLEND || blend == MASKBLEND)) return;
    unsigned id = 0;
    if (texture) {
        id = texture->Prepare();
        if (id == 0) return;
    }
    float r = static_cast<float>(gState.r) / 255.0f, g = static_cast<float>(gState.g) / 255.0f,
          b = static_cast<float>(gState.b) / 255.0f;
    const bool white = gState.r == 255 && gState.g == 255 && gState.b == 255 && alpha >= 1.0f;
    // A texture of one colour gives that colour wherever it is sampled: the quad is a plain one
    // in the texture's colour times the draw colour. (Not under the mask: its test at half alpha
    // would turn the smallest difference of alpha into a pixel drawn or not.)
    if (!direct && texture && texture->Uniform() && blend != MASKBLEND) {
        const unsigned char* c = texture->UniformColour();
        r *= static_cast<float>(c[0]) / 255.0f;
        g *= static_cast<float>(c[1]) / 255.0f;
        b *= static_cast<float>(c[2]) / 255.0f;
        alpha *= static_cast<float>(c[3]) / 255.0f;
        if (alpha <= 0.0f && (blend == ALPHABLEND || blend == LIGHTBLEND || blend == MASKBLEND)) return;
        const bool opaqueColour = c[3] == 255;
        texture = nullptr;
        id = 0;
        if (blend == ALPHABLEND && alpha >= 1.0f && opaqueColour) blend = SOLIDBLEND;
    }
    // Mixing a fully opaque colour gives the colour itself, as drawing without mixing does.
    if (!direct && blend == ALPHABLEND && alpha >= 1.0f && (!texture || texture->Opaque())) blend = SOLIDBLEND;
    BatchVertex q[4];
    Transform(x0, y0, x, y, q[0].x, q[0].y);
    Transform(x1, y0, x, y, q[1].x, q[1].y);
    Transform(x1, y1, x, y, q[2].x, q[2].y);
    Transform(x0, y1, x, y, q[3].x, q[3].y);
    q[0].u = u0, q[0].v = v0;
    q[1].u = u1, q[1].v = v0;
    q[2].u = u1, q[2].v = v1;
    q[3].u = u0, q[3].v = v1;
    for (BatchVertex& corner : q) {
        corner.r = r;
        corner.g = g;
        corner.b = b;
        corner.a = alpha;
    }
    const bool unfiltered = texture && !direct && TexelForPixel(*texture, q);
    const bool replace = texture && !direct && white;
    // The clears still waiting are those no opaque quad asked for so far covers, under the
    // scissor it is asked for with (not again when recorded quads are drawn at the frame's end).
    CoverPendingClears(q, blend);
    if (gRecording)
        RecordQuad(q, texture, id, blend, unfiltered, replace);
    else
        BatchQuad(q, texture, id, blend, unfiltered, replace);
    if (direct) GLFlushBatch();
}

DrawStats CurrentDrawStats() { return gFrameStats; }
DrawStats LastFrameDrawStats() { return gLastFrameStats; }

// ---- Window ----

bool Graphics(int width, int height, int depth, int hertz, int flags) {
    (void)flags;
    gError.clear();
    if (width <= 0 || height <= 0) {
        gError = "bad size";
        return false;
    }
    if (gRefusal && gRefusal(width, height, depth)) {
        gError = "refused";
        return false;
    }
    if (!InitVideo()) return false;
    DrawRecord();
    GLFlushBatch();

    // Every window gets the same attributes, so the one context can move between them.
    SetGLWindowAttributes();

    Uint32 windowFlags = SDL_WINDOW_OPENGL;
    int posX = SDL_WINDOWPOS_CENTERED, posY = SDL_WINDOWPOS_CENTERED;
    if (depth != 0) {
        posX = posY = 0;
        if (gOverrideW > 0 && gOverrideH > 0) {
            // An emulated desktop: a borderless window of the asked size stands for the screen.
            windowFlags |= SDL_WINDOW_BORDERLESS;
        } else {
            SDL_DisplayMode desk;
            if (SDL_GetDesktopDisplayMode(0, &desk) == 0 && desk.w == width && desk.h == height)
                windowFlags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            else
                windowFlags |= SDL_WINDOW_FULLSCREEN;
        }
    }
    SDL_Window* window = SDL_CreateWindow(gTitle.c_str(), posX, posY, width, height, windowFlags);
    if (!window) {
        gError = std::string("window: ") + SDL_GetError();
        return false;
    }
    if (!gContext) {
        gContext = SDL_GL_CreateContext(window);
        if (!gContext) {
            gError = std::string("OpenGL context: ") + SDL_GetError();
            SDL_DestroyWindow(window);
            return false;
        }
        gGeneration = gNextGeneration++;
        InitContextState();
        static const bool abandonAtExit = std::atexit(AbandonGLAtExit) == 0;
        (void)abandonAtExit;
    } else if (SDL_GL_MakeCurrent(window, gContext) != 0) {
        gError = std::string("OpenGL context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        if (gWindow) SDL_GL_MakeCurrent(gWindow, gContext);
        return false;
    }
    if (gWindow) SDL_DestroyWindow(gWindow);
    gWindow = window;
    gSwapInterval = -1;
    {
        const char* driver = SDL_GetCurrentVideoDriver();
        gWindowHasNoDisplay = driver != nullptr && std::string(driver) == "offscreen";
    }
    SDL_ShowCursor(gCursorHidden ? SDL_DISABLE : SDL_ENABLE);

    gWidth = width;
    gHeight = height;
    gDepth = depth;
    gHertz = hertz > 0 ? hertz : 60;
    gPaceStarted = false;
    gPixW = gPixH = -1;
    gVirtualW = static_cast<float>(width);
    gVirtualH = static_cast<float>(height);
    gState.viewX = gState.viewY = 0;
    gState.viewW = width;
    gState.viewH = height;
    RefreshSizes();

    // Start from a black picture.
    gPendingClears.clear();
    glDisable(GL_SCISSOR_TEST);
    gScissorW = -1;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyScissor();
    return true;
}

void EndGraphics() {
    DropPending();
    ForgetFrameCache();
    gCacheTexture = 0;  // gone with the context
    if (gContext) {
        SDL_GL_DeleteContext(gContext);
        gContext = nullptr;
    }
    if (gWindow) {
        SDL_DestroyWindow(gWindow);
        gWindow = nullptr;
    }
    gWidth = gHeight = gDepth = 0;
    gWinW = gWinH = gPixW = gPixH = 0;
    gGeneration = 0;
}

bool GraphicsOpen() { return gWindow != nullptr; }
int GraphicsWidth() { return gWidth; }
int GraphicsHeight() { return gHeight; }
int GraphicsDepth() { return gDepth; }
int GraphicsHertz() { return gHertz; }
std::string GraphicsError() { return gError; }

void SetAppTitle(const std::string& title) {
    gTitle = title;
    if (gWindow) SDL_SetWindowTitle(gWindow, title.c_str());
}

void Flip(int sync) {
    DrawAllPending();
    gLastFrameStats = gFrameStats;
    gFrameStats = DrawStats{};
    if (gWindow && gContext) {
        int interval = sync > 0 ? 1 : 0;
        if (interval != gSwapInterval) {
            SDL_GL_SetSwapInterval(interval);
            gSwapInterval = interval;
        }
        SDL_GL_SwapWindow(gWindow);
        // Without a display the swap never waits for the frame, and the software renderer queues
        // frame after frame without bound (its memory grows all run long): wait for it here.
        if (gWindowHasNoDisplay) glFinish();
        RefreshSizes();
        // The next frame's quads are recorded (not when every quad is drawn on its own, nor before
        // the scissor, which the cache's redrawing relies on, is set).
        gRecording = gRecordingOn && !gDirectDrawing && gScissorW >= 0;
    }
    double period = 1.0 / (gHertz > 0 ? gHertz : 60);
    if (FixedClockOn()) {
        AdvanceFixedClock();
        if (gPacedFixedClock) Pace(period);
        return;
    }
    // With vertical sync the timer only caps the rate (slightly above the hertz, so that it never
    // makes a working vertical sync miss a refresh); without it the timer sets the pace.
    if (sync > 0) Pace(period * 0.95);
    else if (sync < 0) Pace(period);
}

void WaitFrame() {
    if (FixedClockOn()) AdvanceFixedClock();
    Pace(1.0 / (gHertz > 0 ? gHertz : 60));
}

int SystemDesktopWidth() {
    if (gOverrideW > 0) return gOverrideW;
    SDL_DisplayMode mode;
    if (!InitVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return mode.w;
}

int SystemDesktopHeight() {
    if (gOverrideH > 0) return gOverrideH;
    SDL_DisplayMode mode;
    if (!InitVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return mode.h;
}

void SetDesktopSizeOverride(int width, int height) {
    if (width > 0 && height > 0) {
        gOverrideW = width;
        gOverrideH = height;
    } else {
        gOverrideW = gOverrideH = 0;
    }
}

void SetGraphicsRefusal(GraphicsRefusal refuse) { gRefusal = refuse; }

void ShowMouse() {
    gCursorHidden = false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

void HideMouse() {
    gCursorHidden = true;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

// ---- Draw state ----

void SetColor(int r, int g, int b) {
    gState.r = std::clamp(r, 0, 255);
    gState.g = std::clamp(g, 0, 255);
    gState.b = std::clamp(b, 0, 255);
}

void GetColor(int& r, int& g, int& b) {
    r = gState.r;
    g = gState.g;
    b = gState.b;
}

void SetAlpha(float alpha) {
    if (std::isnan(alpha)) alpha = 0.0f;
    gState.alpha = std::clamp(alpha, 0.0f, 1.0f);
}

float GetAlpha() { return gState.alpha; }

void SetScale(float sx, float sy) {
    gState.scaleX = sx;
    gState.scaleY = sy;
    UpdateMatrix();
}

void GetScale(float& sx, float& sy) {
    sx = gState.scaleX;
    sy = gState.scaleY;
}

void SetRotation(float degrees) {
    gState.rotation = degrees;
    UpdateMatrix();
}

float GetRotation() { return gState.rotation; }

void SetBlend(int blend) {
    if (blend >= MASKBLEND && blend <= SHADEBLEND) gState.blend = blend;
}

int GetBlend() { return gState.blend; }

void SetOrigin(float x, float y) {
    gState.originX = x;
    gState.originY = y;
}

void GetOrigin(float& x, float& y) {
    x = gState.originX;
    y = gState.originY;
}

void SetHandle(float x, float y) {
    gState.handleX = x;
    gState.handleY = y;
}

void GetHandle(float& x, float& y) {
    x = gState.handleX;
    y = gState.handleY;
}

void SetViewport(int x, int y, int width, int height) {
    gState.viewX = x;
    gState.viewY = y;
    gState.viewW = width;
    gState.viewH = height;
    ApplyScissor();
}

void GetViewport(int& x, int& y, int& width, int& height) {
    x = gState.viewX;
    y = gState.viewY;
    width = gState.viewW;
    height = gState.viewH;
}

void SetClsColor(int r, int g, int b) {
    gState.clsR = std::clamp(r, 0, 255);
    gState.clsG = std::clamp(g, 0, 255);
    gState.clsB = std::clamp(b, 0, 255);
}

void GetClsColor(int& r, int& g, int& b) {
    r = gState.clsR;
    g = gState.clsG;
    b = gState.clsB;
}

void SetLineWidth(float width) { gState.lineWidth = width > 0.0f ? width : 1.0f; }
float GetLineWidth() { return gState.lineWidth; }

void ResetDrawState() {
    gState = DrawState{};
    gState.viewW = TruncToInt(std::ceil(gVirtualW));
    gState.viewH = TruncToInt(std::ceil(gVirtualH));
    ApplyScissor();
}

void Cls() {
    if (!gContext) return;
    if (!gRecord.runs.empty()) DrawRecord();
    GLFlushBatch();
    if (GLDirectDrawing()) {
        DoPendingClears();
        glClearColor(static_cast<float>(gState.clsR) / 255.0f, static_cast<float>(gState.clsG) / 255.0f,
                     static_cast<float>(gState.clsB) / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    PutOffClear();
}

void SetVirtualResolution(float width, float height) {
    if (!(width > 0.0f) || !(height > 0.0f)) return;
    gVirtualW = width;
    gVirtualH = height;
    ApplyView();
}

float VirtualResolutionWidth() { return gVirtualW; }
float VirtualResolutionHeight() { return gVirtualH; }

float VirtualMouseX() {
    if (gWinW <= 0) return static_cast<float>(MouseX());
    return static_cast<float>(MouseX()) * gVirtualW / static_cast<float>(gWinW);
}

float VirtualMouseY() {
    if (gWinH <= 0) return static_cast<float>(MouseY());
    return static_cast<float>(MouseY()) * gVirtualH / static_cast<float>(gWinH);
}

void MoveVirtualMouse(float x, float y) {
    float wx = x, wy = y;
    if (gVirtualW > 0.0f && gVirtualH > 0.0f && gWinW > 0 && gWinH > 0) {
        wx = x * static_cast<float>(gWinW) / gVirtualW;
        wy = y * static_cast<float>(gWinH) / gVirtualH;
    }
    int px = TruncToInt(std::floor(wx + 0.5f));
    int py = TruncToInt(std::floor(wy + 0.5f));
    if (gWindow && SDL_GetMouseFocus() == gWindow) SDL_WarpMouseInWindow(gWindow, px, py);
    InjectMouseMove(px, py);
}

// ---- Primitives ----

void Plot(float x, float y) {
    if (!PrepareDraw()) return;
    glPointSize(1.0f);
    glBegin(GL_POINTS);
    glVertex2f(x + gState.originX + HalfPixelX(), y + gState.originY + HalfPixelY());
    glEnd();
}

void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel) {
    if (!PrepareDraw()) return;
    float ax, ay, bx, by;
    Transform(-gState.handleX, -gState.handleY, x1, y1, ax, ay);
    Transform(x2 - x1 - gState.handleX, y2 - y1 - gState.handleY, x1, y1, bx, by);
    float hx = HalfPixelX(), hy = HalfPixelY();
    glLineWidth(gState.lineWidth);
    glBegin(GL_LINES);
    glVertex2f(ax + hx, ay + hy);
    glVertex2f(bx + hx, by + hy);
    glEnd();
    if (drawLastPixel) {
        glPointSize(gState.lineWidth);
        glBegin(GL_POINTS);
        glVertex2f(bx + hx, by + hy);
        glEnd();
    }
}

void DrawRect(float x, float y, float width, float height) {
    GLDrawQuad(nullptr, -gState.handleX, -gState.handleY, width - gState.handleX, height - gState.handleY, 0, 0, 0, 0,
               x, y);
}

void DrawOval(float x, float y, float width, float height) {
    if (!PrepareDraw()) return;
    float rx = width * 0.5f, ry = height * 0.5f;
    float cx = rx - gState.handleX, cy = ry - gState.handleY;
    float pixelsPerUnit = gVirtualW > 0.0f ? static_cast<float>(gPixW) / gVirtualW : 1.0f;
    float radius = (std::fabs(rx * gState.scaleX) + std::fabs(ry * gState.scaleY)) * 0.5f * pixelsPerUnit;
    int segments = std::clamp(TruncToInt(radius * 2.0f), 12, 360);
    float px, py;
    glBegin(GL_TRIANGLE_FAN);
    Transform(cx, cy, x, y, px, py);
    glVertex2f(px, py);
    for (int i = 0; i <= segments; ++i) {
        double a = 2.0 * 3.14159265358979323846 * i / segments;
        Transform(cx + rx * static_cast<float>(std::cos(a)), cy + ry * static_cast<float>(std::sin(a)), x, y, px, py);
        glVertex2f(px, py);
    }
    glEnd();
}

void DrawPoly(const std::vector<float>& xy) {
    if (xy.size() < 6) return;
    if (!PrepareDraw()) return;
    glBegin(GL_TRIANGLE_FAN);
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        float px, py;
        Transform(xy[i] - gState.handleX, xy[i + 1] - gState.handleY, 0.0f, 0.0f, px, py);
        glVertex2f(px, py);
    }
    glEnd();
}

std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height) {
    if (!gContext || !gWindow || width <= 0 || height <= 0) return nullptr;
    DrawAllPending();
    auto pixmap = CreatePixmap(width, height);
    if (!pixmap) return nullptr;
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + width, gPixW), y1 = std::min(y + height, gPixH);
    if (x1 <= x0 || y1 <= y0) return pixmap;
    int w = x1 - x0, h = y1 - y0;
    std::vector<uint8_t> rows(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, gPixH - y1, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    for (int row = 0; row < h; ++row) {
        // GL rows run bottom to top.
        const uint8_t* src = rows.data() + static_cast<size_t>(h - 1 - row) * w * 4;
        uint8_t* dst = pixmap->PixelPtr(x0 - x, y0 - y + row);
        for (int i = 0; i < w; ++i) {
            dst[i * 4 + 0] = src[i * 4 + 0];
            dst[i * 4 + 1] = src[i * 4 + 1];
            dst[i * 4 + 2] = src[i * 4 + 2];
            dst[i * 4 + 3] = 255;  // the screen is opaque
        }
    }
    return pixmap;
}
