// Internals of the drawing layer shared by images and fonts: textures made lazily from pixmaps
// (so pictures can be loaded before the window opens), and the textured quad drawn under the
// global draw state. Not for callers outside platform/.
#pragma once
#include <memory>

class TPixmap;

// A texture of one pixmap. It is (re)made on first use in each GL context, so a texture
// survives everything but EndGraphics, after which it is made again from its pixmap.
class TGLTexture {
public:
    TGLTexture(std::shared_ptr<TPixmap> pixmap, bool filtered, bool mipmapped);
    ~TGLTexture();
    TGLTexture(const TGLTexture&) = delete;
    TGLTexture& operator=(const TGLTexture&) = delete;

    // Binds the texture, uploading it first when needed; false without a GL context.
    bool Bind();
    // The pixmap changed: upload it again at the next Bind.
    void Invalidate() { dirty_ = true; }
    const std::shared_ptr<TPixmap>& Pixmap() const { return pixmap_; }

private:
    std::shared_ptr<TPixmap> pixmap_;
    bool filtered_;
    bool mipmapped_;
    bool dirty_ = true;
    unsigned id_ = 0;
    int generation_ = 0;
};

// Number of the current GL context (0 when none); it changes only when a context is made.
int GLContextGeneration();

// Draws the quad whose corners (x0, y0) and (x1, y1) are given relative to the draw point
// (the handle already taken off), transformed by the draw state's scale and rotation and
// placed at (x, y) plus the origin, with texture coordinates u0..u1, v0..v1 of `texture`
// (null draws a plain quad in the draw colour).
void GLDrawQuad(TGLTexture* texture, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                float v1, float x, float y);
