#include "platform/GLTexture.h"

#include <GL/gl.h>

#include "platform/Image.h"

#ifndef GL_GENERATE_MIPMAP
#define GL_GENERATE_MIPMAP 0x8191
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

TGLTexture::TGLTexture(std::shared_ptr<TPixmap> pixmap, bool filtered, bool mipmapped)
    : pixmap_(std::move(pixmap)), filtered_(filtered), mipmapped_(mipmapped) {}

TGLTexture::~TGLTexture() {
    // A name from an earlier context is gone with that context.
    if (id_ != 0 && generation_ != 0 && generation_ == GLContextGeneration()) {
        GLuint id = id_;
        glDeleteTextures(1, &id);
    }
}

bool TGLTexture::Bind() {
    int generation = GLContextGeneration();
    if (generation == 0 || !pixmap_ || pixmap_->width <= 0 || pixmap_->height <= 0) return false;
    if (generation != generation_) {
        id_ = 0;
        dirty_ = true;
    }
    if (id_ == 0) {
        GLuint id = 0;
        glGenTextures(1, &id);
        if (id == 0) return false;
        id_ = id;
        generation_ = generation;
        dirty_ = true;
    }
    glBindTexture(GL_TEXTURE_2D, id_);
    if (dirty_) {
        dirty_ = false;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered_ ? GL_LINEAR : GL_NEAREST);
        GLint minFilter = filtered_ ? GL_LINEAR : GL_NEAREST;
        if (mipmapped_) minFilter = filtered_ ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmapped_ ? GL_TRUE : GL_FALSE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap_->pitch / 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixmap_->width, pixmap_->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixmap_->pixels.data());
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    return true;
}
