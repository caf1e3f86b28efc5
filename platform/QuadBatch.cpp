#include "platform/QuadBatch.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/GLTexture.h"

int CornersOf(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::Triangle: return 3;
        case ShapeKind::Line: return 2;
        case ShapeKind::Point: return 1;
        default: return 4;
    }
}

void QuadBatch::Add(const RunStyle& style, const BatchVertex* corners) {
    const int n = CornersOf(style.kind);
    if (corners_ > 0 && (!(style_ == style) || corners_ + n > kCorners)) Flush();
    style_ = style;
    std::copy_n(corners, n, vertices_ + corners_);
    corners_ += n;
}

void QuadBatch::Flush() {
    if (corners_ == 0) return;
    if (beforeDraw_) beforeDraw_();
    const int corners = corners_;
    corners_ = 0;
    if (GLContextGeneration() == 0) return;
    ApplyBlend(style_.blend);
    ApplyTexturing(style_.id != 0);
    if (style_.id != 0) {
        glBindTexture(GL_TEXTURE_2D, style_.id);
        if (style_.texture) style_.texture->SampleUnfiltered(style_.unfiltered);
    }
    // A texture modulated by white at full alpha is the texture itself: replacing the colour
    // gives the same pixels, and the software renderer then neither carries a colour across the
    // quad nor multiplies by it.
    const bool replace = style_.id != 0 && style_.replace;
    if (appliedReplace_ != (replace ? 1 : 0)) {
        appliedReplace_ = replace ? 1 : 0;
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, replace ? GL_REPLACE : GL_MODULATE);
        if (replace) {
            glDisableClientState(GL_COLOR_ARRAY);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        } else {
            glEnableClientState(GL_COLOR_ARRAY);
        }
    }
    const BatchVertex* v = vertices_;
    glVertexPointer(2, GL_FLOAT, sizeof(BatchVertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &v->u);
    if (!replace) glColorPointer(4, GL_FLOAT, sizeof(BatchVertex), &v->r);
    GLenum mode = GL_QUADS;
    switch (style_.kind) {
        case ShapeKind::Triangle: mode = GL_TRIANGLES; break;
        case ShapeKind::Line:
            mode = GL_LINES;
            glLineWidth(style_.width);
            break;
        case ShapeKind::Point:
            mode = GL_POINTS;
            glPointSize(style_.width);
            break;
        default: break;
    }
    glDrawArrays(mode, 0, corners);
    ++stats_.drawCalls;
    if (style_.kind == ShapeKind::Quad) stats_.quads += corners / 4;
}

void QuadBatch::ForgetGLState() {
    appliedBlend_ = appliedTexturing_ = appliedReplace_ = -1;
    corners_ = 0;
}

DrawStats QuadBatch::TakeStats() {
    const DrawStats stats = stats_;
    stats_ = DrawStats{};
    return stats;
}

void QuadBatch::ApplyBlend(int blend) {
    if (appliedBlend_ == blend) return;
    appliedBlend_ = blend;
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

void QuadBatch::ApplyTexturing(bool textured) {
    const int t = textured ? 1 : 0;
    if (appliedTexturing_ == t) return;
    if (textured) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    appliedTexturing_ = t;
}
