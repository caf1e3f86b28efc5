// Internals of the drawing layer shared by images and fonts: textures made lazily from pixmaps
// (so pictures can be loaded before the window opens), and the quad batch every textured or
// plain quad goes through. Not for callers outside platform/.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

class TPixmap;

// What a texture holds: a picture, or a font's glyphs (counted apart).
enum class TTextureKind { Picture, Glyphs };

struct TTextureMemory;  // platform/Image.h
TTextureMemory TextureMemory();

// Where a texture's pixels come from again once they were let go: the picture file it was
// loaded from. Main thread, but for the decoding it hands to the background worker.
class TPixelSource {
public:
    virtual ~TPixelSource() = default;
    // Frame `frame`'s pixels into `pixmap` (which keeps its size), now: taken from the
    // background's decoding when it has them (waited for while it runs), else decoded here.
    // False when they cannot be had (the file changed, damaged, or the program is quitting).
    virtual bool Fill(int frame, TPixmap& pixmap) = 0;
    // Asks the background worker for the pixels (nothing when asked already).
    virtual void Request() = 0;
    // The background's decoding of the frame has ended (Fill then takes its outcome at once).
    virtual bool Ready(int frame) const = 0;
    // The frame's pixels are no longer wanted: what the background decoded of them goes.
    virtual void Drop(int frame) = 0;
    // The pixels come from a file: a texture of them may be let go when it is not drawn (made
    // pixels are kept, being costly to make again on the main thread).
    virtual bool FromFile() const { return true; }
};

// A texture of one pixmap. It is (re)made on first use in each GL context, so a texture
// survives everything but EndGraphics, after which it is made again from its pixmap.
class TGLTexture : public std::enable_shared_from_this<TGLTexture> {
public:
    TGLTexture(std::shared_ptr<TPixmap> pixmap, bool filtered, bool mipmapped,
               TTextureKind kind = TTextureKind::Picture);
    ~TGLTexture();
    TGLTexture(const TGLTexture&) = delete;
    TGLTexture& operator=(const TGLTexture&) = delete;

    // The GL name of the texture, uploading it first when needed (quads already waiting in the
    // batch are drawn before the pixmap is sent again, so they keep the pixels they were drawn
    // with); 0 without a GL context or pixels. While pictures are gathered (GatherPictures in
    // platform/Image.h), a picture from a file that is not uploaded yet gives 0 and waits for
    // UploadGatheredPictures instead, its decoding asked of the background.
    unsigned Prepare();
    // The pixmap changed: upload it again at the next Prepare.
    void Invalidate() { dirty_ = true; }
    // Pixels that no quad drawn so far reads were set (a glyph added in an atlas's free room):
    // only that rectangle is sent at the next Prepare, and quads waiting in the batch need not
    // be drawn first.
    void AddedRect(int x, int y, int width, int height);
    // The pixmap; its size always, its pixels only while they are held (see SetSource).
    const std::shared_ptr<TPixmap>& Pixmap() const { return pixmap_; }
    // Pixels that can be had again (decoded once more from their file), as frame `frame` of the
    // source: the texture then lets its pixmap's pixels go once they are uploaded, and the
    // source fills them in again (at the pixmap's size) when they are needed: the first upload,
    // the texture made again in a new GL context or after it was let go, the picture locked for
    // a change. Without one the pixels are kept.
    void SetSource(std::shared_ptr<TPixelSource> source, int frame) {
        source_ = std::move(source);
        sourceFrame_ = frame;
    }
    // Pixels made again by `reload` on the main thread (at the pixmap's size) when they are needed,
    // as a source that is always ready; such a texture is not let go when it is not drawn.
    void SetReload(std::function<bool(TPixmap& pixmap)> reload);
    // The pixmap's pixels are there (decoded again when they were let go); false when they
    // cannot be had.
    bool EnsurePixels();
    // The program is about to change the pixels: they are kept from now on.
    void KeepPixels() { source_ = nullptr; }
    // A picture from a file lets its GL texture and its pixels go (both come back from the file
    // when it is next drawn); the bytes of texels let go. Nothing for other textures.
    int64_t Release();
    // Every pixel of the pixmap was fully opaque when it was last uploaded.
    bool Opaque() const { return opaque_; }
    // Every pixel of the pixmap was one colour when it was last uploaded (then any sampling of it
    // gives that colour, and a quad of it can be drawn as a plain quad): its R, G, B, A.
    bool Uniform() const { return uniform_; }
    const unsigned char* UniformColour() const { return uniformColour_; }
    // A number of the pixels last uploaded, new at every upload of any texture: two quads drawn
    // with the same texture and number read the same pixels.
    unsigned long long UploadNumber() const { return uploadNumber_; }
    bool Filtered() const { return filtered_; }
    bool Mipmapped() const { return mipmapped_; }
    // Sets the bound texture's filters: unfiltered (nearest texel), or as made.
    void SampleUnfiltered(bool unfiltered);

private:
    friend TTextureMemory TextureMemory();
    friend struct TPictureFlow;
    // Uploaded in this context and not changed since.
    bool Uploaded() const;
    // The pixels are to come from the source before the next upload.
    bool PixelsLetGo() const;
    unsigned Upload();
    std::shared_ptr<TPixmap> pixmap_;
    std::shared_ptr<TPixelSource> source_;
    int sourceFrame_ = 0;
    bool filtered_;
    bool mipmapped_;
    TTextureKind kind_;
    bool dirty_ = true;
    bool opaque_ = false;
    bool uniform_ = false;
    unsigned long long uploadNumber_ = 0;
    unsigned char uniformColour_[4] = {0, 0, 0, 0};
    bool sampledUnfiltered_ = false;  // the GL filters now set are the nearest texel's
    // The changed rectangle waiting for upload (empty when dirtyRight_ <= dirtyLeft_).
    int dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = 0, dirtyBottom_ = 0;
    int uploadedWidth_ = 0, uploadedHeight_ = 0;
    unsigned id_ = 0;
    int generation_ = 0;
    // The use mark (MarkPictureUse) current when it was last drawn (the next one once it is asked
    // for ahead), and the record it was last added to (platform/Image.h).
    uint64_t lastUse_ = 0;
    uint64_t recordStamp_ = 0;
};

// Number of the current GL context (0 when none); it changes only when a context is made.
int GLContextGeneration();

// Appends the quad whose corners (x0, y0) and (x1, y1) are given relative to the draw point
// (the handle already taken off), transformed by the draw state's scale and rotation and
// placed at (x, y) plus the origin, with texture coordinates u0..u1, v0..v1 of `texture`
// (null draws a plain quad in the draw colour), in the draw state's colour, alpha and blend.
// Consecutive quads of one texture and one blend are drawn by one GL call.
void GLDrawQuad(TGLTexture* texture, float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1,
                float x, float y);
// Draws the quads waiting in the batch.
void GLFlushBatch();
// The pixels of this texture are about to be sent again: quads already drawn with the old ones
// are drawn first.
void GLTextureChanging(const TGLTexture* texture);
// The texture of this GL name goes away: quads of it still waiting are drawn first.
void GLTextureDeleting(unsigned id);
// Direct drawing is on (SetDirectDrawing in platform/Graphics.h).
bool GLDirectDrawing();
