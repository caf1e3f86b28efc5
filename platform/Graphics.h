// The window layer and the 2D drawing layer: one SDL2 window with one OpenGL 2.1 context that
// lives for the whole run, and drawing under one global draw state. Images, text, rectangles,
// lines, ovals and polygons are shapes gathered in a batch (platform/QuadBatch.h): consecutive
// shapes of one texture and one blend go to GL in one call, drawn in the order they were asked
// for; a frame's shapes are recorded first for the frame cache (platform/FrameCache.h).
//
// Coordinates: drawing happens in virtual coordinates (0..VirtualResolutionWidth across the
// window, 0..VirtualResolutionHeight down it), which equal window pixels until
// SetVirtualResolution changes them. Every drawing position has the origin added; scale and
// rotation (degrees, clockwise on screen) turn the drawn shape about its draw point, and the
// handle is the point of the shape that lands on the draw point.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TPixmap;

// Blend modes.
enum : int {
    MASKBLEND = 1,   // opaque where alpha >= 0.5, nothing elsewhere
    SOLIDBLEND = 2,  // opaque, alpha ignored
    ALPHABLEND = 3,  // mixed by alpha
    LIGHTBLEND = 4,  // added to what is there (times alpha)
    SHADEBLEND = 5,  // multiplied with what is there
};

// ---- Window ----

// Opens a window (depth 0) or a full screen (depth 32 or any non-zero depth) of width x height
// pixels: the first call makes the window and the GL context, later ones change that window in
// place (under the headless offscreen driver, whose GL surface cannot change its size, they make
// a new window and move the context to it). Hertz sets the pace of Flip (60 when 0). The one
// context lives on, so textures and fonts survive. False when the window cannot be made or
// changed (what was open before stays open).
bool Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
// Closes the window and the context (images and fonts are uploaded again when drawn next).
void EndGraphics();
bool GraphicsOpen();
int GraphicsWidth();
int GraphicsHeight();
// 0 for a window, the depth asked for a full screen.
int GraphicsDepth();
// Why the last Graphics call failed.
std::string GraphicsError();
void SetAppTitle(const std::string& title);

// Shows the frame (the batch drawn first). sync 0: at once; sync -1: paced by a timer to the opened hertz; sync 1: with
// vertical sync, and a timer cap slightly above the hertz for where vertical sync does nothing.
// Under the fixed-step clock (platform/Clock.h) it does not wait and advances the clock by one
// step instead.
void Flip(int sync = -1);
// Benchmarks: under the fixed-step clock Flip still waits for the frame's period of real time (at
// the opened hertz), so a repeatable run goes at a player's pace. Off by default.
void SetPacedFixedClock(bool on);
// From the next frames on, a few milliseconds at each Flip, the renderer is made ready for every
// way of drawing the game uses (platform/DrawWarmUp.h): a software renderer compiles its code for
// each the first time it is used, which would otherwise cost the frame that first shows a screen.
void WarmUpDrawing();
// How long the last Flip or WaitFrame slept to keep the pace, in milliseconds (0 when it did not
// wait): a frame's own work is its time less this.
double LastPaceWaitMs();
// One frame's wait with nothing shown: sleeps to the pace that Flip(-1) keeps (the opened
// hertz), on the real clock also under the fixed-step clock (which then advances one step, as
// at a Flip). A loop that keeps a still picture up waits so between its redraws and costs next
// to nothing.
void WaitFrame();

// The desktop size in pixels; a test override (0, 0 clears it) makes full-screen openings use
// a borderless window of the overridden size, so a 1920x1080 desktop can be emulated headless.
int SystemDesktopWidth();
int SystemDesktopHeight();
void SetDesktopSizeOverride(int width, int height);
// The part of the desktop a window can take (less panels and docks), in desktop pixels: the
// override's whole size when one is set; all zeros where it cannot be told, and under the
// headless drivers (offscreen, dummy), whose windows no one sees and no desktop limits.
struct DesktopArea {
    int x = 0, y = 0, width = 0, height = 0;
};
DesktopArea SystemUsableArea();
// What the window system draws around the open window (title bar, borders), in pixels on each
// side; known is false where it cannot tell (no window, no window manager, or a system that
// does not say). A window manager tells the frame some time after the window is shown: up to
// waitMs milliseconds are spent waiting for it (pumping the window system's events, which stay
// queued for the input), after which a frame still all zeros counts as none.
struct WindowFrame {
    int top = 0, left = 0, bottom = 0, right = 0;
    bool known = false;
};
WindowFrame OpenWindowFrame(int waitMs = 0);
// Moves the open window so that its picture's top-left corner is at (x, y) on the desktop.
void MoveOpenWindow(int x, int y);
// Tests: when set, every Graphics call is offered to it first and fails when it answers true.
using GraphicsRefusal = bool (*)(int width, int height, int depth);
void SetGraphicsRefusal(GraphicsRefusal refuse);

void ShowMouse();
void HideMouse();

// ---- Draw state ----

void SetColor(int r, int g, int b);  // each clamped to 0..255
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);  // clamped to 0..1
float GetAlpha();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetRotation(float degrees);
float GetRotation();
void SetBlend(int blend);  // values other than 1..5 are ignored
int GetBlend();
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// The handle of primitives and text (images carry their own).
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
// The clip rectangle, in virtual coordinates.
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
void SetClsColor(int r, int g, int b);
void GetClsColor(int& r, int& g, int& b);
void SetLineWidth(float width);
// Colour 255,255,255, alpha 1, scale 1, rotation 0, blend ALPHABLEND, origin and handle 0,
// line width 1, clear colour black, viewport the whole virtual area.
void ResetDrawState();

// Clears the viewport in the clear colour.
void Cls();

void SetVirtualResolution(float width, float height);
float VirtualResolutionWidth();
float VirtualResolutionHeight();
// The pointer (platform/Input.h, window pixels) in virtual coordinates.
float VirtualMouseX();
float VirtualMouseY();
// Moves the pointer to a virtual position (the polled state follows at once).
void MoveVirtualMouse(float x, float y);

// What a frame cost in GL calls: drawing calls (a run of quads, or of the lines, points or
// triangles of lines, ovals and polygons) and the quads drawn. Shapes that would change no pixel
// (no alpha under the mask, alpha or light blend) are left out and not counted.
struct DrawStats {
    int drawCalls = 0;
    int quads = 0;
};
// The frame being drawn so far (quads still waiting in the batch not included).
DrawStats CurrentDrawStats();
// The last frame shown by Flip.
DrawStats LastFrameDrawStats();
// Direct drawing, the reference for the batch (tests, --direct-draw): every quad goes to GL on
// its own, exactly as asked (none left out, no blend spared), and every glyph from a texture
// of its own, as drawing was before the batch. Off by default.
void SetDirectDrawing(bool on);
// The frame cache: a frame whose first shapes draw as the frames before drew them (the same
// pictures, places, colours and blends; small differences aside) has them drawn from a copy of
// the window kept after them, texel for pixel, and only the rest (and what differs) drawn anew;
// the picture is the same. On by default (off under direct drawing, which also turns the batch
// off); tests and benchmarks (--no-frame-cache) switch it off alone to compare.
void SetFrameCache(bool on);
// Damage-only drawing: where the last frames are kept (the window's buffers, where the platform
// says how many frames old the pixels of the buffer being drawn are; or a frame the game keeps
// itself: FramePath below), a frame recorded whole is drawn again only where it differs from the
// frame the buffer holds. On by default (off under direct drawing); tests and benchmarks
// (--no-buffer-age) switch it off to draw as where nothing is kept, from the frame cache alone
// (FramePath::WindowCopy).
void SetDamageDrawing(bool on);
// How frames reach the window and where the last frame is kept (platform/WindowFrames.h),
// chosen when a window opens: the cheapest the platform has, in this order.
enum class FramePath {
    Auto,           // (asked for) the cheapest the platform has
    BufferAge,      // the platform says how old the buffer drawn into is; the frame is swapped
    Preserved,      // EGL keeps the back buffer across the swap
    CopySubBuffer,  // the back buffer kept unswapped, the changed rectangles copied to the window
    KeptTexture,    // the frame drawn into a texture of the game's own, put on the window whole
    WindowCopy,     // nothing kept: every frame drawn whole (over the frame cache's copy)
};
const char* FramePathName(FramePath path);
// The path of a name (as FramePathName gives it, or "auto"); false for none.
bool FramePathFromName(const std::string& name, FramePath& path);
// Tests and benchmarks (--frame-path): the path to take where the platform has it, else the next
// one down the order (Auto: the cheapest). SetDamageDrawing(false) takes the window copy.
void SetFramePath(FramePath path);
struct FramePathStats {
    FramePath path = FramePath::WindowCopy;  // the path the window takes
    bool swapDamage = false;                 // frames swapped with their damage (EGL)
    long frames = 0;                         // frames shown
    double presented = 0;                    // the share of the window sent at each, summed
};
FramePathStats CurrentFramePathStats();
// What the frame cache did since it was last switched, and what it holds.
struct FrameCacheStats {
    long frames = 0;     // frames drawn from their record
    long damaged = 0;    // drawn again only where they changed (unchanged ones included)
    long fromCopy = 0;   // drawn over the copy of the window
    long copies = 0;     // the window copied
    double redrawn = 0;  // the share of the window drawn again, summed over the frames
    size_t bytes = 0;    // the memory it holds now: its records and the copy of the window
    // The share of the window's cells where the frames differed from what their buffer held,
    // summed over the frames (1 for a frame where that is not known): what had to be drawn again.
    double changed = 0;
    long hidden = 0;  // large shapes drawn around what later opaque quads paint over
};
FrameCacheStats CurrentFrameCacheStats();
// Tests: the largest window the frame cache copies, in pixels a side (0: the GL's texture limit).
void SetFrameCacheCopyLimit(int pixels);

// ---- Primitives ----

void Plot(float x, float y);
// From (x1, y1) to (x2, y2); the shape turns about (x1, y1). The end pixel is drawn only when
// drawLastPixel is set.
void DrawLine(float x1, float y1, float x2, float y2, bool drawLastPixel = true);
void DrawRect(float x, float y, float width, float height);
// The filled ellipse inside the rectangle.
void DrawOval(float x, float y, float width, float height);
// A filled convex polygon of the points x0, y0, x1, y1, ... (at least three points).
void DrawPoly(const std::vector<float>& xy);

// Reads the window's pixels (window pixels, top-left origin; the part outside the window is
// left transparent). Null without a window or for an empty rectangle.
std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int width, int height);
