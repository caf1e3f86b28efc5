#include "platform/GLTexture.h"

#include <GL/gl.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "platform/Image.h"

#ifndef GL_GENERATE_MIPMAP
#define GL_GENERATE_MIPMAP 0x8191
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

bool RectOpaque(const TPixmap& pixmap, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        const uint8_t* p = pixmap.PixelPtr(x0, y);
        for (int x = x0; x < x1; ++x, p += 4)
            if (p[3] != 255) return false;
    }
    return true;
}

// Every pixel of the rectangle is the colour c.
bool RectOfColour(const TPixmap& pixmap, int x0, int y0, int x1, int y1, const uint8_t* c) {
    for (int y = y0; y < y1; ++y) {
        const uint8_t* p = pixmap.PixelPtr(x0, y);
        for (int x = x0; x < x1; ++x, p += 4)
            if (p[0] != c[0] || p[1] != c[1] || p[2] != c[2] || p[3] != c[3]) return false;
    }
    return true;
}

// Every live texture (main thread), for TextureMemory.
std::unordered_set<const TGLTexture*>& LiveTextures() {
    static std::unordered_set<const TGLTexture*> textures;
    return textures;
}

}  // namespace

TGLTexture::TGLTexture(std::shared_ptr<TPixmap> pixmap, bool filtered, bool mipmapped, TTextureKind kind)
    : pixmap_(std::move(pixmap)), filtered_(filtered), mipmapped_(mipmapped), kind_(kind) {
    LiveTextures().insert(this);
}

TTextureMemory TextureMemory() {
    TTextureMemory memory;
    std::unordered_set<const TPixmap*> counted;
    for (const TGLTexture* t : LiveTextures()) {
        const bool glyphs = t->kind_ == TTextureKind::Glyphs;
        if (t->id_ != 0 && t->generation_ == GLContextGeneration())
            (glyphs ? memory.glyphTextures : memory.pictureTextures) += int64_t(t->uploadedWidth_) * t->uploadedHeight_ * 4;
        const TPixmap* p = t->pixmap_.get();
        if (p && counted.insert(p).second)
            (glyphs ? memory.glyphPixels : memory.picturePixels) += static_cast<int64_t>(p->pixels.capacity());
    }
    return memory;
}

bool TGLTexture::EnsurePixels() {
    if (!pixmap_) return false;
    if (!pixmap_->pixels.empty() || pixmap_->width <= 0 || pixmap_->height <= 0) return true;
    // Pixels that could not be had once are not looked for again at every draw.
    if (!reload_ || !reload_(*pixmap_) || pixmap_->pixels.size() != static_cast<size_t>(pixmap_->pitch) * pixmap_->height) {
        reload_ = nullptr;
        std::vector<uint8_t>().swap(pixmap_->pixels);
        return false;
    }
    return true;
}

TGLTexture::~TGLTexture() {
    LiveTextures().erase(this);
    // A name from an earlier context is gone with that context.
    if (id_ != 0 && generation_ != 0 && generation_ == GLContextGeneration()) {
        GLTextureDeleting(id_);
        GLuint id = id_;
        glDeleteTextures(1, &id);
    }
}

void TGLTexture::AddedRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (dirtyRight_ <= dirtyLeft_) {
        dirtyLeft_ = x;
        dirtyTop_ = y;
        dirtyRight_ = x + width;
        dirtyBottom_ = y + height;
    } else {
        dirtyLeft_ = std::min(dirtyLeft_, x);
        dirtyTop_ = std::min(dirtyTop_, y);
        dirtyRight_ = std::max(dirtyRight_, x + width);
        dirtyBottom_ = std::max(dirtyBottom_, y + height);
    }
}

void TGLTexture::SampleUnfiltered(bool unfiltered) {
    if (!filtered_ || unfiltered == sampledUnfiltered_) return;
    sampledUnfiltered_ = unfiltered;
    GLint minFilter = GL_NEAREST, magFilter = GL_NEAREST;
    if (!unfiltered) {
        magFilter = GL_LINEAR;
        minFilter = mipmapped_ ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
}

unsigned TGLTexture::Prepare() {
    int generation = GLContextGeneration();
    if (generation == 0 || !pixmap_ || pixmap_->width <= 0 || pixmap_->height <= 0) return 0;
    if (generation != generation_) {
        id_ = 0;
        dirty_ = true;
    }
    if (pixmap_->width != uploadedWidth_ || pixmap_->height != uploadedHeight_) dirty_ = true;
    const bool rectDirty = dirtyRight_ > dirtyLeft_;
    if (id_ != 0 && !dirty_ && !rectDirty) return id_;
    // Pixels let go after their upload come back from their file.
    if (!EnsurePixels()) return 0;

    // Quads already batched were drawn with the texture as it was (added pixels they never read).
    if (id_ != 0 && dirty_) {
        GLFlushBatch();
        GLTextureChanging(this);
    }
    if (id_ == 0) {
        GLuint id = 0;
        glGenTextures(1, &id);
        if (id == 0) return 0;
        id_ = id;
        generation_ = generation;
        dirty_ = true;
    }
    glBindTexture(GL_TEXTURE_2D, id_);
    const TPixmap& pixmap = *pixmap_;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap.pitch / 4);
    if (dirty_) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered_ ? GL_LINEAR : GL_NEAREST);
        GLint minFilter = filtered_ ? GL_LINEAR : GL_NEAREST;
        if (mipmapped_) minFilter = filtered_ ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmapped_ ? GL_TRUE : GL_FALSE);
        sampledUnfiltered_ = false;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixmap.width, pixmap.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixmap.pixels.data());
        uploadedWidth_ = pixmap.width;
        uploadedHeight_ = pixmap.height;
        opaque_ = RectOpaque(pixmap, 0, 0, pixmap.width, pixmap.height);
        std::copy_n(pixmap.PixelPtr(0, 0), 4, uniformColour_);
        uniform_ = RectOfColour(pixmap, 0, 0, pixmap.width, pixmap.height, uniformColour_);
        // The GL holds them now: a picture that can be decoded again is not kept twice.
        if (reload_) std::vector<uint8_t>().swap(pixmap_->pixels);
    } else {
        int x0 = std::clamp(dirtyLeft_, 0, pixmap.width), x1 = std::clamp(dirtyRight_, 0, pixmap.width);
        int y0 = std::clamp(dirtyTop_, 0, pixmap.height), y1 = std::clamp(dirtyBottom_, 0, pixmap.height);
        if (x1 > x0 && y1 > y0) {
            glTexSubImage2D(GL_TEXTURE_2D, 0, x0, y0, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE,
                            pixmap.PixelPtr(x0, y0));
            opaque_ = opaque_ && RectOpaque(pixmap, x0, y0, x1, y1);
            uniform_ = uniform_ && RectOfColour(pixmap, x0, y0, x1, y1, uniformColour_);
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    static unsigned long long uploads = 0;
    uploadNumber_ = ++uploads;
    dirty_ = false;
    dirtyLeft_ = dirtyTop_ = dirtyRight_ = dirtyBottom_ = 0;
    return id_;
}
