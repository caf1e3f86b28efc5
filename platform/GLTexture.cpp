#include "platform/GLTexture.h"

#include <GL/gl.h>

#include <algorithm>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <chrono>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/System.h"

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

// Every live texture (main thread), for TextureMemory and for letting pictures go.
std::unordered_set<TGLTexture*>& LiveTextures() {
    static std::unordered_set<TGLTexture*> textures;
    return textures;
}

// The storage of a large picture's texture, touched ahead. Fresh memory costs a page fault for
// each page at its first touch, and the software renderer clears the whole storage of a texture
// in the call that makes it: a full-window picture's faults took 25 to 90 ms of one frame. So the
// pages are touched first, in a block of the heap, within the upload budget of as many frames as
// that takes, and the block is freed just before the texture is made, whose storage then takes
// those pages (the allocator gives a freed block of the size asked for again).
struct WarmStorage {
    const TGLTexture* texture = nullptr;
    volatile char* block = nullptr;
    size_t size = 0, touched = 0;
};
// A texture of this many bytes or more is uploaded into storage touched ahead.
constexpr size_t kWarmFromBytes = size_t(1) << 20;

// Pictures ahead of their drawing (main thread; see platform/Image.h).
struct PictureFlowState {
    WarmStorage warm;
    bool gathering = false;
    // Pictures whose pixels were asked of the worker, to upload once it has them.
    std::vector<TGLTexture*> waiting;
    uint64_t useMark = 1;
    TPictureRecord* record = nullptr;
    uint64_t nextRecordStamp = 1;
};
PictureFlowState& Flow() {
    static PictureFlowState state;
    return state;
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void FreeWarmStorage() {
    WarmStorage& warm = Flow().warm;
    std::free(const_cast<char*>(warm.block));
    warm = WarmStorage{};
}

// Touches the storage for `texture` (`bytes` of it) until `deadlineMs` (some of it at least);
// true once all of it is touched, or when no block could be had (then it is made as before).
bool WarmUp(const TGLTexture* texture, size_t bytes, double deadlineMs) {
    WarmStorage& warm = Flow().warm;
    if (warm.texture != texture) {
        FreeWarmStorage();
        void* block = nullptr;
        {
            const TLargeBlocksInHeap inHeap;
            block = std::malloc(bytes);
        }
        if (!block) return true;
        warm.texture = texture;
        warm.block = static_cast<volatile char*>(block);
        warm.size = bytes;
    }
    constexpr size_t kPage = 4096, kStep = 64 * kPage;
    do {
        const size_t end = std::min(warm.size, warm.touched + kStep);
        for (size_t at = warm.touched; at < end; at += kPage) warm.block[at] = 0;
        warm.touched = end;
    } while (warm.touched < warm.size && NowMs() < deadlineMs);
    return warm.touched >= warm.size;
}

}  // namespace

// What the pictures ahead of their drawing need of a texture's insides.
struct TPictureFlow {
    // The texture's pixels are asked of the worker and it waits to be uploaded.
    static void Wait(TGLTexture& t) {
        if (!t.source_) return;
        auto& waiting = Flow().waiting;
        if (std::find(waiting.begin(), waiting.end(), &t) == waiting.end()) waiting.push_back(&t);
        if (t.PixelsLetGo()) t.source_->Request();
    }
    // Asked for ahead of a switch: it counts as used at the switch's mark, the next one, so that
    // the pictures of the screen left let go then keep it though the screen's first drawing did
    // not show it.
    static void Request(TGLTexture& t) {
        t.lastUse_ = std::max(t.lastUse_, Flow().useMark + 1);
        if (t.source_ && !t.Uploaded()) Wait(t);
    }
    // Uploads it when the worker has its pixels (or it has them); true when it no longer waits.
    static bool TryUpload(TGLTexture& t, bool wait) {
        if (!t.source_ || t.Uploaded()) return true;
        if (!wait && t.PixelsLetGo() && !t.source_->Ready(t.sourceFrame_)) {
            t.source_->Request();
            return false;
        }
        t.Upload();
        return true;
    }
    // The bytes of storage the texture's upload will ask of the allocator when it is large enough
    // to be touched ahead (a mipmapped one's smaller levels and the renderer's padding included),
    // else 0.
    static size_t WarmBytes(const TGLTexture& t) {
        if (!t.source_ || !t.pixmap_ || t.Uploaded()) return 0;
        const size_t bytes = size_t(std::max(t.pixmap_->width, 0)) * size_t(std::max(t.pixmap_->height, 0)) * 4;
        if (bytes < kWarmFromBytes) return 0;
        return bytes + (t.mipmapped_ ? bytes / 3 : 0) + 64 * 1024;
    }
    // Uploads it into the storage touched ahead for it: its pixels are had first (a decode here
    // must not take the block), then the block is freed for the renderer's storage to take.
    static void UploadIntoWarmStorage(TGLTexture& t) {
        t.EnsurePixels();
        const TLargeBlocksInHeap inHeap;
        FreeWarmStorage();
        t.Upload();
    }
    // (Release lets go only pictures from a file.)
    static bool Unused(const TGLTexture& t, uint64_t mark) { return t.source_ && t.lastUse_ < mark; }
    static void Record(TGLTexture& t) {
        TPictureRecord* record = Flow().record;
        if (!record || t.recordStamp_ == record->stamp_ || t.kind_ != TTextureKind::Picture) return;
        t.recordStamp_ = record->stamp_;
        record->textures_.push_back(t.weak_from_this());
    }
    static void Forget(const TGLTexture* t) {
        if (Flow().warm.texture == t) FreeWarmStorage();
        auto& waiting = Flow().waiting;
        waiting.erase(std::remove(waiting.begin(), waiting.end(), t), waiting.end());
    }
    static const std::vector<std::weak_ptr<TGLTexture>>& Textures(const TPictureRecord& record) {
        return record.textures_;
    }
    static bool UploadWaiting(double budgetMs) {
        auto& waiting = Flow().waiting;
        const double start = NowMs();
        bool uploaded = false;
        for (size_t i = 0; i < waiting.size();) {
            if (uploaded && NowMs() - start > budgetMs) break;
            TGLTexture& texture = *waiting[i];
            const bool ready =
                !texture.PixelsLetGo() || (texture.source_ && texture.source_->Ready(texture.sourceFrame_));
            if (const size_t warmBytes = WarmBytes(texture)) {
                // Its storage is touched ahead within the budget while the worker decodes it, one
                // picture at a time, and it is uploaded once both are done.
                WarmStorage& warm = Flow().warm;
                if (warm.block && warm.texture != &texture) {
                    ++i;
                    continue;
                }
                if (warm.texture != &texture || warm.touched < warmBytes) {
                    if (!WarmUp(&texture, warmBytes, start + budgetMs) || NowMs() - start > budgetMs) break;
                }
                if (!ready) {
                    TPictureFlow::TryUpload(texture, false);  // asks the worker for it
                    ++i;
                    continue;
                }
                UploadIntoWarmStorage(texture);
                waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(i));
                uploaded = true;
                continue;
            }
            if (TPictureFlow::TryUpload(texture, false)) {
                waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(i));
                uploaded = uploaded || ready;
            } else {
                ++i;
            }
        }
        // A block touched for a picture no longer waiting (uploaded as it was drawn, or let go)
        // goes.
        const WarmStorage& warm = Flow().warm;
        if (warm.block && std::find(waiting.begin(), waiting.end(), warm.texture) == waiting.end()) FreeWarmStorage();
        return waiting.empty();
    }
};

TPictureRecord::TPictureRecord() : stamp_(Flow().nextRecordStamp++) {}

void TPictureRecord::Clear() {
    textures_.clear();
    stamp_ = Flow().nextRecordStamp++;
}

TPictureRecord* RecordPictures(TPictureRecord* record) {
    TPictureRecord* before = Flow().record;
    Flow().record = record;
    return before;
}

void RequestPictures(const TPictureRecord& record) {
    for (const auto& weak : TPictureFlow::Textures(record))
        if (auto texture = weak.lock()) TPictureFlow::Request(*texture);
}

void RequestPicture(const TImagePtr& image) {
    if (!image) return;
    for (const auto& texture : image->textures)
        if (texture) TPictureFlow::Request(*texture);
}

void GatherPictures(bool on) { Flow().gathering = on; }

bool UploadGatheredPictures(double budgetMs) { return TPictureFlow::UploadWaiting(budgetMs); }

bool FinishGatheredPictures() {
    FreeWarmStorage();
    auto& waiting = Flow().waiting;
    while (!waiting.empty()) {
        TGLTexture* texture = waiting.back();
        waiting.pop_back();
        TPictureFlow::TryUpload(*texture, true);
        if (QuitPending()) {
            waiting.clear();
            return false;
        }
    }
    return true;
}

uint64_t MarkPictureUse() { return ++Flow().useMark; }

int64_t ReleasePicturesUnusedSince(uint64_t mark) {
    int64_t released = 0;
    for (TGLTexture* t : LiveTextures()) {
        if (TPictureFlow::Unused(*t, mark)) released += t->Release();
    }
    // What they held (and what the decodings of the pictures uploaded since held) goes back to the
    // system: freed in the middle of the heap, it would otherwise stay resident.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    return released;
}

namespace {
// Pixels made by the program, again whenever they are wanted: nothing for the worker to do.
class TMadePixels : public TPixelSource {
public:
    explicit TMadePixels(std::function<bool(TPixmap&)> make) : make_(std::move(make)) {}
    bool Fill(int, TPixmap& pixmap) override { return make_(pixmap); }
    void Request() override {}
    bool Ready(int) const override { return true; }
    void Drop(int) override {}
    bool FromFile() const override { return false; }

private:
    std::function<bool(TPixmap&)> make_;
};
}  // namespace

void TGLTexture::SetReload(std::function<bool(TPixmap& pixmap)> reload) {
    SetSource(std::make_shared<TMadePixels>(std::move(reload)), 0);
}

TGLTexture::TGLTexture(std::shared_ptr<TPixmap> pixmap, bool filtered, bool mipmapped, TTextureKind kind)
    : pixmap_(std::move(pixmap)), filtered_(filtered), mipmapped_(mipmapped), kind_(kind) {
    LiveTextures().insert(this);
    lastUse_ = Flow().useMark;
}

TTextureMemory TextureMemory() {
    TTextureMemory memory;
    std::unordered_set<const TPixmap*> counted;
    for (const TGLTexture* t : LiveTextures()) {
        const bool glyphs = t->kind_ == TTextureKind::Glyphs;
        if (t->id_ != 0 && t->generation_ == GLContextGeneration())
            (glyphs ? memory.glyphTextures : memory.pictureTextures) +=
                int64_t(t->uploadedWidth_) * t->uploadedHeight_ * 4;
        const TPixmap* p = t->pixmap_.get();
        if (p && counted.insert(p).second)
            (glyphs ? memory.glyphPixels : memory.picturePixels) += static_cast<int64_t>(p->pixels.capacity());
    }
    return memory;
}

bool TGLTexture::PixelsLetGo() const {
    return pixmap_ && pixmap_->pixels.empty() && pixmap_->width > 0 && pixmap_->height > 0;
}

bool TGLTexture::Uploaded() const {
    return id_ != 0 && generation_ == GLContextGeneration() && !dirty_ && pixmap_ && pixmap_->width == uploadedWidth_ &&
           pixmap_->height == uploadedHeight_;
}

bool TGLTexture::EnsurePixels() {
    if (!pixmap_) return false;
    if (!PixelsLetGo()) return true;
    // Pixels that could not be had once are not looked for again at every draw.
    if (!source_ || !source_->Fill(sourceFrame_, *pixmap_) ||
        pixmap_->pixels.size() != static_cast<size_t>(pixmap_->pitch) * pixmap_->height) {
        source_ = nullptr;
        std::vector<uint8_t>().swap(pixmap_->pixels);
        return false;
    }
    return true;
}

int64_t TGLTexture::Release() {
    if (!source_ || !source_->FromFile()) return 0;
    TPictureFlow::Forget(this);
    source_->Drop(sourceFrame_);
    int64_t released = 0;
    if (id_ != 0 && generation_ != 0 && generation_ == GLContextGeneration()) {
        GLTextureDeleting(id_);
        GLuint id = id_;
        glDeleteTextures(1, &id);
        released = int64_t(uploadedWidth_) * uploadedHeight_ * 4;
    }
    id_ = 0;
    dirty_ = true;
    if (pixmap_) std::vector<uint8_t>().swap(pixmap_->pixels);
    return released;
}

TGLTexture::~TGLTexture() {
    LiveTextures().erase(this);
    TPictureFlow::Forget(this);
    if (source_) source_->Drop(sourceFrame_);
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
    lastUse_ = std::max(lastUse_, Flow().useMark);
    TPictureFlow::Record(*this);
    // A picture from a file not uploaded yet waits for the gathered pictures' upload.
    if (Flow().gathering && source_ && !Uploaded() && PixelsLetGo()) {
        TPictureFlow::Wait(*this);
        return 0;
    }
    return Upload();
}

unsigned TGLTexture::Upload() {
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
        if (source_) std::vector<uint8_t>().swap(pixmap_->pixels);
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
