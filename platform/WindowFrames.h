// How the frames reach the window, and where the last frame is kept so that a frame is drawn
// again only where it changed (platform/FrameCache.h). The way is chosen when a window opens,
// the cheapest the platform has:
// - Buffer age: the platform says how many frames old the buffer about to be drawn is (GLX's or
//   EGL's buffer age; SDL's offscreen buffer keeps its frame), and the frame is swapped.
// - Preserved: EGL keeps the back buffer's pixels across the swap (its surface's swap behaviour
//   set to preserve them, where its configuration allows).
// - Copy-sub-buffer: GLX_MESA_copy_sub_buffer (Mesa's software GLX has it, and no buffer age):
//   the back buffer is never swapped, so it always holds the last frame, and only the rectangles
//   that changed are copied to the window (all of it after the window was exposed or resized;
//   after a resize, the back buffer is made to take the window's new size and drawn whole).
// - Kept texture: the frame is drawn into a texture of the game's own (a framebuffer object),
//   which holds the last frame, and put on the window with one quad at the swap.
// - Window copy: none of these (no framebuffer object): every frame is drawn whole, over the
//   frame cache's copy of the window where it can.
// Where EGL can swap with damage (EGL_KHR/EXT_swap_buffers_with_damage), a frame that changed in
// part tells the window system only the rectangles that changed. Not for callers outside
// platform/.
#pragma once
#include <functional>
#include <vector>

#include "platform/Damage.h"
#include "platform/Graphics.h"

struct SDL_Window;
class QuadBatch;

class WindowFrames {
public:
    explicit WindowFrames(QuadBatch& batch) : batch_(batch) {}

    // The way tests and benchmarks ask for (Auto: the cheapest there is); a way the platform
    // lacks gives the next one down. Takes effect at the next window, or at once with a window.
    void Force(FramePath path);
    // A window was opened, its GL context current (`noDisplay`: SDL's offscreen driver): the
    // way is chosen for it. `window` is the frame's window (its pixels and virtual size).
    void Open(SDL_Window* sdlWindow, bool noDisplay, const FrameWindow& window);
    // The window's pixels or virtual size changed.
    void Resize(const FrameWindow& window);
    // How many frames old the pixels about to be drawn on are (1: the frame just shown; 0: not
    // known).
    int BufferAge();
    // Frames are sent in part where they changed in part (Present's rectangles are wanted).
    bool SendsPart() const { return path_ == FramePath::CopySubBuffer || swapDamage_; }
    // Shows the frame drawn: the whole window, or only the rectangles (GL's rows) in which it
    // differs from the frame shown before. `interval` is the swap interval set; `exposures`
    // counts the times the window system lost the window's picture (platform/Input.h).
    void Present(bool whole, const std::vector<PixelRect>& rects, int interval, int exposures);
    // The GL context is gone, and the framebuffer object with it.
    void ContextGone();
    // `draw` draws into a small framebuffer object of its own, of the window's pixel layout,
    // instead of the window; then drawing goes where it went before. False (nothing drawn)
    // without framebuffer objects.
    bool DrawOffscreen(int width, int height, const std::function<void()>& draw);
    // Frame-path figures for --timings.
    FramePathStats Stats() const;

private:
    FramePath Choose();
    bool MakeKept();
    void DropKept();
    void BindDrawing();
    bool SwapWindow(bool whole, const std::vector<PixelRect>& rects, int interval);
    void TakeDrawableSize();

    QuadBatch& batch_;
    FramePath forced_ = FramePath::Auto, path_ = FramePath::WindowCopy;
    SDL_Window* sdlWindow_ = nullptr;
    bool noDisplay_ = false;
    FrameWindow window_;
    bool swapDamage_ = false;
    // The kept frame (the buffer drawn into holds the frame shown last).
    bool kept_ = false;
    int exposures_ = -1;
    // The copy-sub-buffer path: the window's size when the back buffer last took it.
    int boundW_ = -1, boundH_ = -1;
    // The framebuffer object and its texture, of the GL context `generation_`.
    unsigned framebuffer_ = 0, texture_ = 0;
    int generation_ = 0, textureW_ = 0, textureH_ = 0;
    FramePathStats stats_;
};
