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
#include "platform/DrawWarmUp.h"
#include "platform/FrameCache.h"
#include "platform/GLWindowAttributes.h"
#include "platform/GLTexture.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/QuadBatch.h"
#include "platform/WindowFrames.h"

namespace {

// Everything asked for so far is drawn: the recorded shapes, the batch, the clears still waiting.
void DrawAllPending();
// Does the clears put off, in order, each within its own rectangle.
void DoPendingClears();

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

int gSwapInterval = -1;
// The scissor rectangle in window pixels last given to GL (none yet at first).
Scissor gScissor;

// Clears asked for and not yet done, oldest first: each in its colour over its scissor rectangle
// (window pixels, GL's bottom-up rows). A clear is put off until something else is drawn, so
// that a later clear of the same pixels, or an opaque quad covering them (a screen's full-window
// background, drawn first), can take its place: the pixels come out the same, and the software
// renderer does not fill them twice.
std::vector<PendingClear> gPendingClears;
// Every shape goes through the batch; a frame's shapes are recorded first for the frame cache.
QuadBatch gBatch;
FrameCache gCache(gBatch);
// How frames reach the window, and where the last one is kept.
WindowFrames gFrames(gBatch);
// The renderer's warm-up (WarmUpDrawing), a few milliseconds of it at each frame's end.
DrawWarmUp gWarmUp;
constexpr double kWarmUpBudgetMs = 6.0;
FramePath gForcedPath = FramePath::Auto;
bool gDamageDrawing = true;
DrawStats gLastFrameStats;
bool gDirectDrawing = false;
// The window belongs to SDL's offscreen video driver (headless runs).
bool gWindowHasNoDisplay = false;

std::chrono::steady_clock::time_point gNextFrame{};
bool gPaceStarted = false;
// The time the last pacing wait slept, in milliseconds.
double gLastPaceWaitMs = 0.0;
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
    const Scissor scissor{x0, gPixH - y1, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
    if (scissor == gScissor) return;
    GLFlushBatch();
    gScissor = scissor;
    glEnable(GL_SCISSOR_TEST);
    ApplyGLScissor(gScissor);
}

// The frame's recorded shapes: drawn now, and the frame drawn directly from here on.
void DrawRecord() { gCache.DrawRecord(gPendingClears, gScissor); }

FrameWindow CurrentWindow() { return {gPixW, gPixH, gGeneration, gVirtualW, gVirtualH}; }

void ApplyView() {
    if (!gContext) return;
    DrawRecord();
    GLFlushBatch();
    gFrames.Resize(CurrentWindow());
    glViewport(0, 0, gPixW, gPixH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, gVirtualW, gVirtualH, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ApplyScissor();
}

// Does the clears put off, in order, each within its own rectangle.
void DoPendingClears() {
    if (gPendingClears.empty()) return;
    std::vector<PendingClear> clears;
    clears.swap(gPendingClears);
    if (!gContext) return;
    DoClears(clears);
    ApplyGLScissor(gScissor);
}

void DrawAllPending() {
    DrawRecord();
    GLFlushBatch();
    DoPendingClears();
}

// A clear put off, of the current scissor rectangle in the clear colour. Clears put off before
// that lie inside it are dropped: it paints over them.
void PutOffClear() {
    PendingClear c{gScissor.x,
                   gScissor.y,
                   gScissor.w,
                   gScissor.h,
                   static_cast<float>(gState.clsR) / 255.0f,
                   static_cast<float>(gState.clsG) / 255.0f,
                   static_cast<float>(gState.clsB) / 255.0f};
    if (!gScissor.Set()) c = {0, 0, gPixW, gPixH, c.r, c.g, c.b};
    if (c.x <= 0 && c.y <= 0 && c.x + c.w >= gPixW && c.y + c.h >= gPixH) gCache.ClearedWhole();
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
        const bool inScissor =
            !gScissor.Set() || (p.x >= gScissor.x && p.y >= gScissor.y && p.x + p.w <= gScissor.x + gScissor.w &&
                                p.y + p.h <= gScissor.y + gScissor.h);
        return inQuad && inScissor;
    });
}

// A point relative to the draw point, through scale and rotation, placed at (x, y) + origin.
inline void Transform(float lx, float ly, float x, float y, float& outX, float& outY) {
    outX = x + gState.originX + lx * gState.ix + ly * gState.iy;
    outY = y + gState.originY + lx * gState.jx + ly * gState.jy;
}

void InitContextState() {
    gBatch.ForgetGLState();
    // The clears put off come before anything drawn after them.
    gBatch.SetBeforeDraw(&DoPendingClears);
    gSwapInterval = -1;
    gScissor = Scissor{};
    // The batch's arrays.
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
    gLastPaceWaitMs = 0.0;
    // A frame that fell behind by more than one period starts the pace again instead of
    // running the following frames unpaced to catch up.
    if (!gPaceStarted || now > gNextFrame + period) {
        gPaceStarted = true;
        gNextFrame = now + period;
        return;
    }
    if (now < gNextFrame) {
        std::this_thread::sleep_until(gNextFrame);
        gLastPaceWaitMs = std::chrono::duration<double, std::milli>(clock::now() - now).count();
    }
    gNextFrame += period;
}

}  // namespace

// ---- Internals shared with images and fonts ----

int GLContextGeneration() { return gContext ? gGeneration : 0; }

bool GLDirectDrawing() { return gDirectDrawing; }

double LastPaceWaitMs() { return gLastPaceWaitMs; }

void WarmUpDrawing() { gWarmUp.Start(); }

void SetPacedFixedClock(bool on) {
    gPacedFixedClock = on;
    gPaceStarted = false;
}

void SetFrameCache(bool on) {
    DrawRecord();
    gCache.SetCopying(on);
}

void SetDamageDrawing(bool on) {
    DrawRecord();
    gCache.SetDamageOnly(on);
    gDamageDrawing = on;
    gFrames.Force(on ? gForcedPath : FramePath::WindowCopy);
}

void SetFramePath(FramePath path) {
    DrawAllPending();
    gForcedPath = path;
    gFrames.Force(gDamageDrawing ? path : FramePath::WindowCopy);
    // The buffer drawn into may be another.
    gCache.Forget();
    ApplyGLScissor(gScissor);
}

FramePathStats CurrentFramePathStats() { return gFrames.Stats(); }

FrameCacheStats CurrentFrameCacheStats() { return gCache.Stats(); }

void SetFrameCacheCopyLimit(int pixels) { gCache.SetCopyLimit(pixels); }

void SetDirectDrawing(bool on) {
    DrawAllPending();
    gDirectDrawing = on;
}

void GLFlushBatch() { gBatch.Flush(); }

void GLTextureDeleting(unsigned id) {
    if (gCache.RecordUses(nullptr, id)) DrawRecord();
    if (gBatch.Uses(id)) gBatch.Flush();
}

void GLTextureChanging(const TGLTexture* texture) {
    if (gCache.RecordUses(texture, 0)) DrawRecord();
}

namespace {

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

// What was asked for and not drawn yet is dropped (there is nothing to draw it on any more).
void DropPending() {
    gBatch.Drop();
    gPendingClears.clear();
    gCache.DropRecord();
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

// One shape: into the frame's record while the frame is recorded, else into the batch (and at
// once to GL under direct drawing).
void SubmitShape(const RunStyle& style, const BatchVertex* corners) {
    if (gCache.Recording()) {
        if (gCache.Record(style, corners, gScissor, CurrentWindow())) return;
        DrawRecord();  // the record is full: the rest of the frame is drawn as it comes
    }
    gCache.DrewOutside();
    gBatch.Add(style, corners);
    if (gDirectDrawing) gBatch.Flush();
}

// The style of plain shapes in the draw state (lines, points, ovals, polygons); false when they
// would leave every pixel as it is.
bool PlainStyle(ShapeKind kind, float width, RunStyle& style) {
    if (!gContext) return false;
    style.kind = kind;
    style.width = width;
    style.blend = gState.blend;
    if (gDirectDrawing) return true;
    if (gState.alpha <= 0.0f && (style.blend == ALPHABLEND || style.blend == LIGHTBLEND || style.blend == MASKBLEND))
        return false;
    // Mixing a fully opaque colour gives the colour itself.
    if (style.blend == ALPHABLEND && gState.alpha >= 1.0f) style.blend = SOLIDBLEND;
    return true;
}

// A corner of a plain shape at (x, y) in the draw colour.
BatchVertex PlainCorner(float x, float y) {
    return {x,
            y,
            0.0f,
            0.0f,
            static_cast<float>(gState.r) / 255.0f,
            static_cast<float>(gState.g) / 255.0f,
            static_cast<float>(gState.b) / 255.0f,
            gState.alpha};
}

// A filled fan of triangles about its first point (ovals, polygons), as triangles of the batch.
void SubmitFan(const std::vector<BatchVertex>& fan) {
    RunStyle style;
    if (fan.size() < 3 || !PlainStyle(ShapeKind::Triangle, 1.0f, style)) return;
    for (size_t i = 1; i + 1 < fan.size(); ++i) {
        const BatchVertex triangle[3] = {fan[0], fan[i], fan[i + 1]};
        SubmitShape(style, triangle);
    }
}

}  // namespace

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
    RunStyle style;
    style.texture = texture;
    style.id = id;
    style.blend = blend;
    style.unfiltered = unfiltered;
    style.replace = replace;
    SubmitShape(style, q);
}

DrawStats CurrentDrawStats() { return gBatch.Stats(); }
DrawStats LastFrameDrawStats() { return gLastFrameStats; }

// ---- Window ----

namespace {

// The SDL flag of a full screen of width x height (depth non-zero): the desktop's own mode where
// the size is the desktop's, else a mode change; 0 for a window, and for the emulated desktop
// (a borderless window stands for its screen).
Uint32 FullScreenFlag(int width, int height, int depth) {
    if (depth == 0 || (gOverrideW > 0 && gOverrideH > 0)) return 0;
    SDL_DisplayMode desk;
    if (SDL_GetDesktopDisplayMode(0, &desk) == 0 && desk.w == width && desk.h == height)
        return SDL_WINDOW_FULLSCREEN_DESKTOP;
    return SDL_WINDOW_FULLSCREEN;
}

// A new window for the one context (made with the first window), replacing what was open.
bool MakeWindow(int width, int height, int depth) {
    // Every window gets the same attributes, so the one context can move between them.
    SetGLWindowAttributes();
    Uint32 windowFlags = SDL_WINDOW_OPENGL | FullScreenFlag(width, height, depth);
    int posX = SDL_WINDOWPOS_CENTERED, posY = SDL_WINDOWPOS_CENTERED;
    if (depth != 0) {
        posX = posY = 0;
        if (gOverrideW > 0 && gOverrideH > 0) windowFlags |= SDL_WINDOW_BORDERLESS;
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
    return true;
}

// The open window made width x height, a window or the full screen (depth non-zero), in place.
bool ChangeOpenWindow(int width, int height, int depth, int hertz) {
    const Uint32 full = FullScreenFlag(width, height, depth);
    if (full == SDL_WINDOW_FULLSCREEN) {
        SDL_DisplayMode mode{0, width, height, hertz > 0 ? hertz : 60, nullptr};
        SDL_SetWindowDisplayMode(gWindow, &mode);
    }
    if ((SDL_GetWindowFlags(gWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != full &&
        SDL_SetWindowFullscreen(gWindow, full) != 0) {
        gError = std::string(full ? "full screen: " : "window: ") + SDL_GetError();
        return false;
    }
    if (full == 0) {
        // (A borderless window at the corner stands for an emulated desktop's full screen.)
        const bool emulated = depth != 0;
        SDL_SetWindowBordered(gWindow, emulated ? SDL_FALSE : SDL_TRUE);
        SDL_SetWindowSize(gWindow, width, height);
        const int at = emulated ? 0 : SDL_WINDOWPOS_CENTERED;
        SDL_SetWindowPosition(gWindow, at, at);
    }
    return true;
}

}  // namespace

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

    // An open window is changed in place, where its driver can resize its GL surface: making a
    // window again and destroying the old one left the window system's callbacks for the old one
    // alive (on Wayland, SDL's decorations through libdecor called into the destroyed window at
    // the next event pump). The offscreen driver's surface keeps the size it was made with, so
    // there the window is made again (it has no decorations).
    if (gWindow && !gWindowHasNoDisplay) {
        if (!ChangeOpenWindow(width, height, depth, hertz)) return false;
    } else if (!MakeWindow(width, height, depth)) {
        return false;
    }
    gSwapInterval = -1;
    {
        const char* driver = SDL_GetCurrentVideoDriver();
        gWindowHasNoDisplay = driver != nullptr && std::string(driver) == "offscreen";
    }
    SDL_ShowCursor(gCursorHidden ? SDL_DISABLE : SDL_ENABLE);
    // The new window's buffers hold none of the frames drawn before.
    gCache.Forget();
    gFrames.Open(gWindow, gWindowHasNoDisplay, FrameWindow{});

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
    gScissor = Scissor{};
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyScissor();
    return true;
}

void EndGraphics() {
    DropPending();
    gCache.ContextGone();
    gFrames.ContextGone();
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
std::string GraphicsError() { return gError; }

void SetAppTitle(const std::string& title) {
    gTitle = title;
    if (gWindow) SDL_SetWindowTitle(gWindow, title.c_str());
}

void Flip(int sync) {
    gLastPaceWaitMs = 0.0;
    DrawAllPending();
    gLastFrameStats = gBatch.TakeStats();
    gCache.EndFrame();
    if (gWindow && gContext) {
        int interval = sync > 0 ? 1 : 0;
        if (interval != gSwapInterval) {
            SDL_GL_SetSwapInterval(interval);
            gSwapInterval = interval;
        }
        // (The rectangles that changed are gathered only where they are sent.)
        static const std::vector<PixelRect> kNone;
        const bool whole = gCache.PresentWhole() || !gFrames.SendsPart();
        gFrames.Present(whole, whole ? kNone : gCache.PresentRects(), interval, WindowExposures());
        gBatch.TakeStats();  // (putting a kept frame on the window is not the frame's drawing)
        ApplyGLScissor(gScissor);
        // Without a display the swap never waits for the frame, and the software renderer queues
        // frame after frame without bound (its memory grows all run long): wait for it here.
        if (gWindowHasNoDisplay) glFinish();
        RefreshSizes();
        if (gWarmUp.Pending()) gWarmUp.Step(gBatch, gFrames, kWarmUpBudgetMs);
        // The next frame's shapes are recorded (not when every shape is drawn on its own, nor
        // before the scissor, which the cache's redrawing relies on, is set).
        if (!gDirectDrawing && gScissor.Set()) gCache.StartFrame(gFrames.BufferAge());
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

DesktopArea SystemUsableArea() {
    DesktopArea area;
    if (gOverrideW > 0 && gOverrideH > 0) {
        area.width = gOverrideW;
        area.height = gOverrideH;
        return area;
    }
    if (!InitVideo()) return area;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::string(driver) == "offscreen" || std::string(driver) == "dummy") return area;
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0) return area;
    area = DesktopArea{r.x, r.y, r.w, r.h};
    return area;
}

WindowFrame OpenWindowFrame(int waitMs) {
    WindowFrame frame;
    if (!gWindow || gDepth != 0) return frame;
    const Uint32 until = SDL_GetTicks() + static_cast<Uint32>(std::max(waitMs, 0));
    for (;;) {
        frame.known = SDL_GetWindowBordersSize(gWindow, &frame.top, &frame.left, &frame.bottom, &frame.right) == 0;
        if (!frame.known) return WindowFrame{};
        if (frame.top + frame.left + frame.bottom + frame.right > 0 || SDL_TICKS_PASSED(SDL_GetTicks(), until))
            return frame;
        SDL_PumpEvents();
        SDL_Delay(10);
    }
}

void MoveOpenWindow(int x, int y) {
    if (gWindow && gDepth == 0) SDL_SetWindowPosition(gWindow, x, y);
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

void ResetDrawState() {
    gState = DrawState{};
    gState.viewW = TruncToInt(std::ceil(gVirtualW));
    gState.viewH = TruncToInt(std::ceil(gVirtualH));
    ApplyScissor();
}

void Cls() {
    if (!gContext) return;
    if (gCache.HasRecorded()) DrawRecord();
    if (!gCache.Recording()) gCache.DrewOutside();
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
    RunStyle style;
    if (!PlainStyle(ShapeKind::Point, 1.0f, style)) return;
    const BatchVertex point = PlainCorner(x + gState.originX + HalfPixelX(), y + gState.originY + HalfPixelY());
    SubmitShape(style, &point);
}

void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel) {
    RunStyle style;
    if (!PlainStyle(ShapeKind::Line, gState.lineWidth, style)) return;
    float ax, ay, bx, by;
    Transform(-gState.handleX, -gState.handleY, x1, y1, ax, ay);
    Transform(x2 - x1 - gState.handleX, y2 - y1 - gState.handleY, x1, y1, bx, by);
    const float hx = HalfPixelX(), hy = HalfPixelY();
    const BatchVertex line[2] = {PlainCorner(ax + hx, ay + hy), PlainCorner(bx + hx, by + hy)};
    SubmitShape(style, line);
    if (drawLastPixel) {
        style.kind = ShapeKind::Point;
        SubmitShape(style, &line[1]);
    }
}

void DrawRect(float x, float y, float width, float height) {
    GLDrawQuad(nullptr, -gState.handleX, -gState.handleY, width - gState.handleX, height - gState.handleY, 0, 0, 0, 0,
               x, y);
}

void DrawOval(float x, float y, float width, float height) {
    if (!gContext) return;
    float rx = width * 0.5f, ry = height * 0.5f;
    float cx = rx - gState.handleX, cy = ry - gState.handleY;
    float pixelsPerUnit = gVirtualW > 0.0f ? static_cast<float>(gPixW) / gVirtualW : 1.0f;
    float radius = (std::fabs(rx * gState.scaleX) + std::fabs(ry * gState.scaleY)) * 0.5f * pixelsPerUnit;
    int segments = std::clamp(TruncToInt(radius * 2.0f), 12, 360);
    std::vector<BatchVertex> fan;
    float px, py;
    Transform(cx, cy, x, y, px, py);
    fan.push_back(PlainCorner(px, py));
    for (int i = 0; i <= segments; ++i) {
        double a = 2.0 * 3.14159265358979323846 * i / segments;
        Transform(cx + rx * static_cast<float>(std::cos(a)), cy + ry * static_cast<float>(std::sin(a)), x, y, px, py);
        fan.push_back(PlainCorner(px, py));
    }
    SubmitFan(fan);
}

void DrawPoly(const std::vector<float>& xy) {
    if (xy.size() < 6) return;
    std::vector<BatchVertex> fan;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        float px, py;
        Transform(xy[i] - gState.handleX, xy[i + 1] - gState.handleY, 0.0f, 0.0f, px, py);
        fan.push_back(PlainCorner(px, py));
    }
    SubmitFan(fan);
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
