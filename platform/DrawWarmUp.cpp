#include "platform/DrawWarmUp.h"

#include <GL/gl.h>

#include <chrono>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/GLTexture.h"
#include "platform/Image.h"
#include "platform/QuadBatch.h"
#include "platform/WindowFrames.h"

namespace {

// The shapes of texture whose mipmaps take code of their own: square and a power of two, square
// and odd on the way down, wider than tall ending in a row, and one ending in a column of two.
constexpr int kMipmapShapes[][2] = {{16, 16}, {72, 72}, {48, 32}, {32, 24}};
constexpr int kMipmapSteps = static_cast<int>(std::size(kMipmapShapes));

// The textures drawn with: filtered, unfiltered (or a filtered one drawn texel for pixel), and
// filtered with mipmaps.
enum Sampling { Plain = -1, Linear, Nearest, MipLinear, kSamplings };

struct Combination {
    int blend;
    int sampling;
    bool replace;
};

// The ways the game's screens draw (each compiled way costs the renderer memory, so only those):
// quads without mixing, mixed and added; plain, or textured in each sampling, modulated by the
// draw colour or drawn as they are.
std::vector<Combination> Combinations() {
    std::vector<Combination> all;
    for (int blend : {SOLIDBLEND, ALPHABLEND, LIGHTBLEND}) {
        all.push_back({blend, Plain, false});
        for (int sampling = Linear; sampling < kSamplings; ++sampling)
            for (bool replace : {false, true}) all.push_back({blend, sampling, replace});
    }
    return all;
}

std::shared_ptr<TGLTexture> MakeTexture(int width, int height, bool filtered, bool mipmapped) {
    auto pixmap = CreatePixmap(width, height);
    // Two colours, half transparent: nothing is taken for one plain colour.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixmap->WritePixel(x, y, (x + y) % 2 ? int(0x80FF8040) : int(0xFF2060C0));
    return std::make_shared<TGLTexture>(pixmap, filtered, mipmapped);
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void DrawWarmUp::Step(QuadBatch& batch, WindowFrames& frames, double budgetMs) {
    if (!pending_) return;
    static const std::vector<Combination> combinations = Combinations();
    const int steps = kMipmapSteps + static_cast<int>(combinations.size());
    const double start = NowMs();
    batch.Flush();
    GLint viewport[4];
    GLint scissor[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    const bool scissored = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    constexpr int kSide = 16;
    std::shared_ptr<TGLTexture> textures[kSamplings];
    const bool drawn = frames.DrawOffscreen(kSide, kSide, [&] {
        glViewport(0, 0, kSide, kSide);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, kSide, kSide);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, kSide, kSide, 0.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        do {
            const auto step = static_cast<size_t>(next_);
            if (step < std::size(kMipmapShapes)) {
                MakeTexture(kMipmapShapes[step][0], kMipmapShapes[step][1], true, true)->Prepare();
            } else {
                const Combination& c = combinations[step - std::size(kMipmapShapes)];
                RunStyle style;
                style.blend = c.blend;
                style.replace = c.replace;
                if (c.sampling != Plain) {
                    auto& texture = textures[c.sampling];
                    if (!texture) texture = MakeTexture(4, 4, c.sampling != Nearest, c.sampling == MipLinear);
                    style.texture = texture.get();
                    style.id = texture->Prepare();
                }
                const BatchVertex corners[4] = {{1, 1, 0, 0, 1, 0.5f, 0.25f, 0.75f},
                                                {9, 1, 1, 0, 1, 0.5f, 0.25f, 0.75f},
                                                {9, 9, 1, 1, 1, 0.5f, 0.25f, 0.75f},
                                                {1, 9, 0, 1, 1, 0.5f, 0.25f, 0.75f}};
                batch.Add(style, corners);
                batch.Flush();
            }
            ++next_;
        } while (next_ < steps && NowMs() - start < budgetMs);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    });
    // Gone before the window's drawing resumes (their quads were drawn out).
    for (auto& texture : textures) texture = nullptr;
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    if (!scissored) glDisable(GL_SCISSOR_TEST);
    if (!drawn || next_ >= steps) pending_ = false;
}
