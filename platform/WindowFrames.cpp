#include "platform/WindowFrames.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <type_traits>

#include "platform/FrameRecord.h"
#include "platform/GLTexture.h"
#include "platform/QuadBatch.h"

namespace {

// ---- The window system under the GL context ----
//
// SDL says neither how old a buffer is nor whether it can keep one or swap only a part: EGL
// (Wayland, and X11 where SDL chose EGL) and GLX (X11) do. Their functions are looked up in the
// libraries already loaded, so that the game needs neither.
constexpr int kEglDraw = 0x3059, kEglExtensions = 0x3055, kEglBufferAge = 0x313D, kEglConfigId = 0x3028,
              kEglSurfaceType = 0x3033, kEglSwapBehavior = 0x3093, kEglBufferPreserved = 0x3094,
              kEglSwapBehaviorPreservedBit = 0x0400, kEglNone = 0x3038;
constexpr int kGlxScreen = 0x800C, kGlxWidth = 0x801D, kGlxHeight = 0x801E, kGlxBackBufferAge = 0x20F4;
constexpr unsigned kGlFramebuffer = 0x8D40, kGlColorAttachment0 = 0x8CE0, kGlFramebufferComplete = 0x8CD5,
                   kGlReadFramebuffer = 0x8CA8, kGlDrawFramebuffer = 0x8CA9, kGlBgra = 0x80E1;

struct EglCalls {
    void* (*getCurrentContext)() = nullptr;
    void* (*getCurrentDisplay)() = nullptr;
    void* (*getCurrentSurface)(int) = nullptr;
    const char* (*queryString)(void*, int) = nullptr;
    unsigned (*querySurface)(void*, void*, int, int*) = nullptr;
    unsigned (*surfaceAttrib)(void*, void*, int, int) = nullptr;
    unsigned (*chooseConfig)(void*, const int*, void**, int, int*) = nullptr;
    unsigned (*getConfigAttrib)(void*, void*, int, int*) = nullptr;
    void* (*getProcAddress)(const char*) = nullptr;
    // The GL context is EGL's.
    bool Current() const {
        return getCurrentContext && getCurrentDisplay && getCurrentSurface && queryString && querySurface &&
               surfaceAttrib && chooseConfig && getConfigAttrib && getProcAddress && getCurrentContext();
    }
};
struct GlxCalls {
    void* (*getCurrentContext)() = nullptr;
    void* (*getCurrentDisplay)() = nullptr;
    unsigned long (*getCurrentDrawable)() = nullptr;
    int (*queryContext)(void*, void*, int, int*) = nullptr;
    const char* (*queryExtensionsString)(void*, int) = nullptr;
    void (*queryDrawable)(void*, unsigned long, int, unsigned*) = nullptr;
    void (*copySubBuffer)(void*, unsigned long, int, int, int, int) = nullptr;
    bool Current() const {
        return getCurrentContext && getCurrentDisplay && getCurrentDrawable && queryContext && queryExtensionsString &&
               queryDrawable && getCurrentContext() && getCurrentDisplay();
    }
};
// Framebuffer objects (ARB_framebuffer_object or EXT_framebuffer_object: the same calls and
// values, the EXT ones with a suffix).
struct FboCalls {
    void (*gen)(int, unsigned*) = nullptr;
    void (*remove)(int, const unsigned*) = nullptr;
    void (*bind)(unsigned, unsigned) = nullptr;
    void (*texture2D)(unsigned, unsigned, unsigned, unsigned, int) = nullptr;
    unsigned (*status)(unsigned) = nullptr;
    // (ARB_framebuffer_object, EXT_framebuffer_blit) a copy of pixels between framebuffers.
    void (*blit)(int, int, int, int, int, int, int, int, unsigned, unsigned) = nullptr;
    bool Loaded() const { return gen && remove && bind && texture2D && status; }
};

template <typename F>
void Find(void* library, F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(library, name));
}

bool HasExtension(const char* list, const char* name) {
    if (!list) return false;
    const std::string all = std::string(" ") + list + " ";
    return all.find(std::string(" ") + name + " ") != std::string::npos;
}

const EglCalls& Egl() {
    static const EglCalls calls = [] {
        EglCalls c;
        void* egl = dlopen("libEGL.so.1", RTLD_LAZY | RTLD_NOLOAD);
        if (!egl) return c;
        Find(egl, c.getCurrentContext, "eglGetCurrentContext");
        Find(egl, c.getCurrentDisplay, "eglGetCurrentDisplay");
        Find(egl, c.getCurrentSurface, "eglGetCurrentSurface");
        Find(egl, c.queryString, "eglQueryString");
        Find(egl, c.querySurface, "eglQuerySurface");
        Find(egl, c.surfaceAttrib, "eglSurfaceAttrib");
        Find(egl, c.chooseConfig, "eglChooseConfig");
        Find(egl, c.getConfigAttrib, "eglGetConfigAttrib");
        Find(egl, c.getProcAddress, "eglGetProcAddress");
        return c;
    }();
    return calls;
}

const GlxCalls& Glx() {
    static const GlxCalls calls = [] {
        GlxCalls c;
        Find(RTLD_DEFAULT, c.getCurrentContext, "glXGetCurrentContext");
        Find(RTLD_DEFAULT, c.getCurrentDisplay, "glXGetCurrentDisplay");
        Find(RTLD_DEFAULT, c.getCurrentDrawable, "glXGetCurrentDrawable");
        Find(RTLD_DEFAULT, c.queryContext, "glXQueryContext");
        Find(RTLD_DEFAULT, c.queryExtensionsString, "glXQueryExtensionsString");
        Find(RTLD_DEFAULT, c.queryDrawable, "glXQueryDrawable");
        Find(RTLD_DEFAULT, c.copySubBuffer, "glXCopySubBufferMESA");
        return c;
    }();
    return calls;
}

// The copy-sub-buffer path: the window's size as the X server has it now (0 x 0 where GLX cannot
// tell).
void DrawableSize(int& width, int& height) {
    width = height = 0;
    const GlxCalls& g = Glx();
    if (!g.Current()) return;
    unsigned w = 0, h = 0;
    g.queryDrawable(g.getCurrentDisplay(), g.getCurrentDrawable(), kGlxWidth, &w);
    g.queryDrawable(g.getCurrentDisplay(), g.getCurrentDrawable(), kGlxHeight, &h);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

// The current context's framebuffer object calls (none without the extension).
FboCalls LoadFbo() {
    FboCalls c;
    const bool arb = SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
    if (!arb && !SDL_GL_ExtensionSupported("GL_EXT_framebuffer_object")) return c;
    const std::string suffix = arb ? "" : "EXT";
    auto find = [&](auto& f, const char* name) {
        f = reinterpret_cast<std::remove_reference_t<decltype(f)>>(SDL_GL_GetProcAddress((name + suffix).c_str()));
    };
    find(c.gen, "glGenFramebuffers");
    find(c.remove, "glDeleteFramebuffers");
    find(c.bind, "glBindFramebuffer");
    find(c.texture2D, "glFramebufferTexture2D");
    find(c.status, "glCheckFramebufferStatus");
    if (arb || SDL_GL_ExtensionSupported("GL_EXT_framebuffer_blit")) find(c.blit, "glBlitFramebuffer");
    return c;
}
FboCalls gFbo;

// EGL's swap with damage, where the current display has it.
using SwapWithDamage = unsigned (*)(void*, void*, const int*, int);
SwapWithDamage FindSwapWithDamage(const EglCalls& e, const char* extensions) {
    if (HasExtension(extensions, "EGL_KHR_swap_buffers_with_damage"))
        return reinterpret_cast<SwapWithDamage>(e.getProcAddress("eglSwapBuffersWithDamageKHR"));
    if (HasExtension(extensions, "EGL_EXT_swap_buffers_with_damage"))
        return reinterpret_cast<SwapWithDamage>(e.getProcAddress("eglSwapBuffersWithDamageEXT"));
    return nullptr;
}
SwapWithDamage gSwapWithDamage = nullptr;

// The current EGL surface made to keep its back buffer across the swap, where its configuration
// allows it.
bool PreserveEglBackBuffer(const EglCalls& e) {
    void* display = e.getCurrentDisplay();
    void* surface = e.getCurrentSurface(kEglDraw);
    int id = 0, found = 0, type = 0, behaviour = 0;
    void* config = nullptr;
    if (!surface || !e.querySurface(display, surface, kEglConfigId, &id)) return false;
    const int wanted[] = {kEglConfigId, id, kEglNone};
    if (!e.chooseConfig(display, wanted, &config, 1, &found) || found < 1 ||
        !e.getConfigAttrib(display, config, kEglSurfaceType, &type) || !(type & kEglSwapBehaviorPreservedBit))
        return false;
    return e.surfaceAttrib(display, surface, kEglSwapBehavior, kEglBufferPreserved) &&
           e.querySurface(display, surface, kEglSwapBehavior, &behaviour) && behaviour == kEglBufferPreserved;
}

// Said once a run.
void SayKeptFailed(const char* why) {
    static bool said = false;
    if (said) return;
    said = true;
    std::printf(
        "WARNING ( Code: WindowFrames ) The frame could not be kept in a texture (%s): every frame is drawn "
        "whole\n",
        why);
    std::fflush(stdout);
}

}  // namespace

const char* FramePathName(FramePath path) {
    switch (path) {
        case FramePath::Auto: return "auto";
        case FramePath::BufferAge: return "buffer-age";
        case FramePath::Preserved: return "preserved";
        case FramePath::CopySubBuffer: return "copy-sub-buffer";
        case FramePath::KeptTexture: return "kept-texture";
        default: return "window-copy";
    }
}

bool FramePathFromName(const std::string& name, FramePath& path) {
    for (FramePath p : {FramePath::Auto, FramePath::BufferAge, FramePath::Preserved, FramePath::CopySubBuffer,
                        FramePath::KeptTexture, FramePath::WindowCopy})
        if (name == FramePathName(p)) {
            path = p;
            return true;
        }
    return false;
}

void WindowFrames::Force(FramePath path) {
    if (path == forced_) return;
    forced_ = path;
    if (sdlWindow_) Open(sdlWindow_, noDisplay_, window_);
}

void WindowFrames::Open(SDL_Window* sdlWindow, bool noDisplay, const FrameWindow& frameWindow) {
    const FrameWindow window = frameWindow;  // (it may be window_ itself)
    batch_.Flush();
    const bool sameWindow = sdlWindow == sdlWindow_;  // (changed in place, or another path forced)
    sdlWindow_ = sdlWindow;
    noDisplay_ = noDisplay;
    kept_ = false;
    exposures_ = -1;
    if (path_ == FramePath::KeptTexture) DropKept();
    path_ = Choose();
    window_ = FrameWindow{};
    // A new window's back buffer has its size; a window changed in place keeps the old one.
    if (path_ == FramePath::CopySubBuffer) {
        if (sameWindow) TakeDrawableSize();
        else DrawableSize(boundW_, boundH_);
    }
    if (window.pixW > 0 && window.pixH > 0) Resize(window);
}

FramePath WindowFrames::Choose() {
    // A path forced stands for itself and the ones after it.
    auto allowed = [&](FramePath p) { return p >= forced_; };
    gSwapWithDamage = nullptr;
    swapDamage_ = false;
    FramePath path = FramePath::WindowCopy;
    const EglCalls& e = Egl();
    const GlxCalls& g = Glx();
    if (noDisplay_) {
        // The offscreen driver draws into one buffer that the swap leaves as it is.
        if (allowed(FramePath::BufferAge)) return FramePath::BufferAge;
    } else if (e.Current()) {
        const char* extensions = e.queryString(e.getCurrentDisplay(), kEglExtensions);
        gSwapWithDamage = FindSwapWithDamage(e, extensions);
        if (allowed(FramePath::BufferAge) && HasExtension(extensions, "EGL_EXT_buffer_age"))
            path = FramePath::BufferAge;
        else if (allowed(FramePath::Preserved) && PreserveEglBackBuffer(e)) path = FramePath::Preserved;
    } else if (g.Current()) {
        int screen = 0;
        const bool known = g.queryContext(g.getCurrentDisplay(), g.getCurrentContext(), kGlxScreen, &screen) == 0;
        const char* extensions = known ? g.queryExtensionsString(g.getCurrentDisplay(), screen) : nullptr;
        if (allowed(FramePath::BufferAge) && HasExtension(extensions, "GLX_EXT_buffer_age"))
            path = FramePath::BufferAge;
        else if (allowed(FramePath::CopySubBuffer) && g.copySubBuffer &&
                 HasExtension(extensions, "GLX_MESA_copy_sub_buffer"))
            path = FramePath::CopySubBuffer;
    }
    if (path == FramePath::WindowCopy && allowed(FramePath::KeptTexture) && generation_ != GLContextGeneration()) {
        gFbo = LoadFbo();
        generation_ = GLContextGeneration();
        framebuffer_ = texture_ = 0;
        textureW_ = textureH_ = 0;
    }
    if (path == FramePath::WindowCopy && allowed(FramePath::KeptTexture) && gFbo.Loaded())
        path = FramePath::KeptTexture;
    swapDamage_ = gSwapWithDamage != nullptr && path != FramePath::CopySubBuffer && path != FramePath::WindowCopy;
    return path;
}

void WindowFrames::Resize(const FrameWindow& window) {
    const bool samePixels = window.pixW == window_.pixW && window.pixH == window_.pixH;
    const bool known = window_.pixW > 0;
    window_ = window;
    if (samePixels) return;
    kept_ = false;
    if (path_ == FramePath::CopySubBuffer && known) TakeDrawableSize();
    if (path_ == FramePath::KeptTexture && !MakeKept()) {
        DropKept();
        path_ = FramePath::WindowCopy;
        swapDamage_ = false;
    }
}

// The framebuffer object and its texture of the window's size, bound for drawing; false (said
// once) when the GL cannot make them.
bool WindowFrames::MakeKept() {
    if (generation_ != GLContextGeneration()) return false;
    batch_.Flush();
    const char* why = nullptr;
    GLint most = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }  // errors of earlier calls are not the kept frame's
    if (window_.pixW > most || window_.pixH > most) why = "the window is larger than a texture can be";
    if (!why && framebuffer_ == 0) {
        GLuint fb = 0, tex = 0;
        gFbo.gen(1, &fb);
        glGenTextures(1, &tex);
        framebuffer_ = fb;
        texture_ = tex;
        textureW_ = textureH_ = 0;
        if (framebuffer_ == 0 || texture_ == 0) why = "no framebuffer object";
    }
    if (!why && (textureW_ != window_.pixW || textureH_ != window_.pixH)) {
        gFbo.bind(kGlFramebuffer, 0);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        // Laid out as windows' pixels usually are (blue first), so that the copy to the window
        // converts nothing (the software renderer's copy then costs about a third less).
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, window_.pixW, window_.pixH, 0, kGlBgra, GL_UNSIGNED_BYTE, nullptr);
        gFbo.bind(kGlFramebuffer, framebuffer_);
        gFbo.texture2D(kGlFramebuffer, kGlColorAttachment0, GL_TEXTURE_2D, texture_, 0);
        if (gFbo.status(kGlFramebuffer) != kGlFramebufferComplete || glGetError() != GL_NO_ERROR)
            why = "the framebuffer object is not complete";
        else textureW_ = window_.pixW, textureH_ = window_.pixH;
    }
    if (why) {
        SayKeptFailed(why);
        return false;
    }
    BindDrawing();
    return true;
}

bool WindowFrames::DrawOffscreen(int width, int height, const std::function<void()>& draw) {
    if (!gFbo.Loaded()) gFbo = LoadFbo();
    if (!gFbo.Loaded()) return false;
    batch_.Flush();
    GLuint fb = 0, tex = 0;
    gFbo.gen(1, &fb);
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, kGlBgra, GL_UNSIGNED_BYTE, nullptr);
    gFbo.bind(kGlFramebuffer, fb);
    gFbo.texture2D(kGlFramebuffer, kGlColorAttachment0, GL_TEXTURE_2D, tex, 0);
    const bool complete = fb != 0 && tex != 0 && gFbo.status(kGlFramebuffer) == kGlFramebufferComplete;
    if (complete) draw();
    gFbo.bind(kGlFramebuffer,
              path_ == FramePath::KeptTexture && generation_ == GLContextGeneration() ? framebuffer_ : 0);
    if (fb) gFbo.remove(1, &fb);
    if (tex) glDeleteTextures(1, &tex);
    return complete;
}

// Drawing goes to the kept frame's framebuffer object, or to the window.
void WindowFrames::BindDrawing() {
    if (!gFbo.Loaded() || generation_ != GLContextGeneration()) return;
    gFbo.bind(kGlFramebuffer, path_ == FramePath::KeptTexture ? framebuffer_ : 0);
}

void WindowFrames::DropKept() {
    if (generation_ == GLContextGeneration() && gFbo.Loaded()) {
        gFbo.bind(kGlFramebuffer, 0);
        if (framebuffer_) gFbo.remove(1, &framebuffer_);
        if (texture_) glDeleteTextures(1, &texture_);
    }
    framebuffer_ = texture_ = 0;
    textureW_ = textureH_ = 0;
    kept_ = false;
}

int WindowFrames::BufferAge() {
    switch (path_) {
        case FramePath::BufferAge: {
            if (noDisplay_) return 1;
            const EglCalls& e = Egl();
            if (e.Current()) {
                int age = 0;
                void* surface = e.getCurrentSurface(kEglDraw);
                return surface && e.querySurface(e.getCurrentDisplay(), surface, kEglBufferAge, &age) ? std::max(age, 0)
                                                                                                      : 0;
            }
            const GlxCalls& g = Glx();
            if (!g.Current()) return 0;
            unsigned age = 0;
            g.queryDrawable(g.getCurrentDisplay(), g.getCurrentDrawable(), kGlxBackBufferAge, &age);
            return static_cast<int>(std::min(age, 64u));
        }
        case FramePath::Preserved:
        case FramePath::CopySubBuffer:
        case FramePath::KeptTexture: return kept_ ? 1 : 0;
        default: return 0;
    }
}

// Mesa's software GLX sizes the back buffer by the window only at a swap (made current again, it
// keeps its old size), which this path otherwise never does: swapped once, the buffer takes the
// window's size now (the swap shows the frame drawn last, as the window had it). Its pixels are
// then those of no frame: the next frame is drawn and sent whole.
void WindowFrames::TakeDrawableSize() {
    batch_.Flush();
    if (!sdlWindow_) return;
    SDL_GL_SwapWindow(sdlWindow_);
    DrawableSize(boundW_, boundH_);
    kept_ = false;
}

void WindowFrames::Present(bool whole, const std::vector<PixelRect>& rects, int interval, int exposures) {
    if (!sdlWindow_) return;
    batch_.Flush();
    // After the window system lost the window's picture, or before anything is kept, the whole
    // frame is sent.
    const bool exposed = exposures != exposures_;
    if (exposed || !kept_) whole = true;
    exposures_ = exposures;
    const PixelRect all = window_.Whole();
    bool inPart = false;  // only the rectangles were sent
    switch (path_) {
        case FramePath::CopySubBuffer: {
            const GlxCalls& g = Glx();
            if (!g.Current()) break;
            // A window resized by the window system after its size was last taken (a window
            // manager applies a size asked for later, and says so by exposing the window): the
            // frame drawn is of the old size and is not sent; the next one is drawn whole.
            if (exposed) {
                int w = 0, h = 0;
                DrawableSize(w, h);
                if (w != boundW_ || h != boundH_) {
                    TakeDrawableSize();
                    return;
                }
            }
            void* display = g.getCurrentDisplay();
            const unsigned long drawable = g.getCurrentDrawable();
            if (whole) {
                g.copySubBuffer(display, drawable, 0, 0, all.x1, all.y1);
            } else {
                for (const PixelRect& r : rects) {
                    const PixelRect p = r.Meet(all);
                    if (!p.Empty()) g.copySubBuffer(display, drawable, p.x0, p.y0, p.x1 - p.x0, p.y1 - p.y0);
                }
                inPart = true;
            }
            break;
        }
        case FramePath::KeptTexture:
            // Copied pixel for pixel where the GL can (unscissored: a GPU copies memory), else
            // drawn as a picture.
            if (gFbo.blit) {
                const bool scissored = glIsEnabled(GL_SCISSOR_TEST);
                if (scissored) glDisable(GL_SCISSOR_TEST);
                gFbo.bind(kGlReadFramebuffer, framebuffer_);
                gFbo.bind(kGlDrawFramebuffer, 0);
                gFbo.blit(0, 0, all.x1, all.y1, 0, 0, all.x1, all.y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
                if (scissored) glEnable(GL_SCISSOR_TEST);
            } else {
                gFbo.bind(kGlFramebuffer, 0);
                DrawTextureOverWindow(batch_, texture_, window_, all);
            }
            inPart = SwapWindow(whole, rects, interval);
            gFbo.bind(kGlFramebuffer, framebuffer_);
            break;
        default: inPart = SwapWindow(whole, rects, interval);
    }
    kept_ = true;
    double share = 1.0;
    if (inPart && window_.Area() > 0) {
        share = 0.0;
        for (const PixelRect& r : rects) share += r.Meet(all).Area() / window_.Area();
    }
    ++stats_.frames;
    stats_.presented += std::min(share, 1.0);
}

// The swap, telling the window system only the rectangles that changed where EGL can (with no
// vertical sync: SDL paces EGL's swaps itself under Wayland); true when it did.
bool WindowFrames::SwapWindow(bool whole, const std::vector<PixelRect>& rects, int interval) {
    const EglCalls& e = Egl();
    if (swapDamage_ && !whole && interval == 0 && e.Current()) {
        std::vector<int> boxes;
        for (const PixelRect& r : rects) {
            const PixelRect p = r.Meet(window_.Whole());
            if (!p.Empty()) boxes.insert(boxes.end(), {p.x0, p.y0, p.x1 - p.x0, p.y1 - p.y0});
        }
        // No rectangle would be the whole window: nothing changed is an empty one.
        if (boxes.empty()) boxes = {0, 0, 0, 0};
        if (gSwapWithDamage(e.getCurrentDisplay(), e.getCurrentSurface(kEglDraw), boxes.data(),
                            static_cast<int>(boxes.size() / 4)))
            return true;
    }
    SDL_GL_SwapWindow(sdlWindow_);
    return false;
}

void WindowFrames::ContextGone() {
    framebuffer_ = texture_ = 0;
    textureW_ = textureH_ = 0;
    generation_ = 0;
    kept_ = false;
    sdlWindow_ = nullptr;
    window_ = FrameWindow{};
}

FramePathStats WindowFrames::Stats() const {
    FramePathStats s = stats_;
    s.path = path_;
    s.swapDamage = swapDamage_;
    return s;
}
