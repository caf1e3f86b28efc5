// Pixmaps (RGBA pixel buffers), image decoding and PNG writing, and images: textures drawn
// under the global draw state of platform/Graphics.h, one texture per animation frame.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Pixels in memory order R, G, B, A (8 bits each), rows top to bottom, `pitch` bytes apart.
class TPixmap {
public:
    int width = 0;
    int height = 0;
    int pitch = 0;
    std::vector<uint8_t> pixels;

    // Pointer to the pixel (x, y); the caller keeps x and y inside the pixmap.
    uint8_t* PixelPtr(int x, int y) {
        return pixels.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * 4;
    }
    const uint8_t* PixelPtr(int x, int y) const {
        return pixels.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * 4;
    }
    // A pixel as 0xAARRGGBB; 0 outside the pixmap.
    int ReadPixel(int x, int y) const;
    // Writes 0xAARRGGBB; ignored outside the pixmap.
    void WritePixel(int x, int y, int argb);
    // Fills every pixel with 0xAARRGGBB.
    void ClearPixels(int argb);
};
using TPixmapPtr = std::shared_ptr<TPixmap>;

// The largest picture allowed: at most MaxImageSide() pixels a side (the GL texture limit when a
// GL context is open, else 16384) and MaxImagePixels pixels. Decoders refuse anything larger
// right after reading its header, before allocating anything for it.
constexpr int64_t MaxImagePixels = int64_t(1) << 26;
int MaxImageSide();
bool ImageSizeAllowed(int64_t width, int64_t height);

// A new pixmap with every pixel 0 (transparent black); null for sizes below 1 or beyond
// ImageSizeAllowed.
TPixmapPtr CreatePixmap(int width, int height);
TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap);
int PixmapWidth(const TPixmapPtr& pixmap);
int PixmapHeight(const TPixmapPtr& pixmap);
// The share of the pixels (alpha left out; read on every fourth pixel of every fourth row) that
// have the commonest colour: 1 for a blank picture, all one colour, and for none.
double CommonestColourShare(const TPixmapPtr& pixmap);
int ReadPixel(const TPixmapPtr& pixmap, int x, int y);
void WritePixel(const TPixmapPtr& pixmap, int x, int y, int argb);

// Decodes a PNG, JPEG, BMP or TGA file (the kind is told by the content, TGA by elimination);
// null when the file is missing, of another kind, damaged or truncated. On the main thread the
// decoding gives up, with nothing decoded, once the program is asked to quit (QuitPending).
TPixmapPtr LoadPixmap(const std::string& path);
TPixmapPtr LoadPixmapFromMemory(const std::string& bytes);
// A picture refused for its size, and the size its header gives; or, with `scans` set, a JPEG
// refused for the work of decoding it: it came to more scans than a picture of its size may
// have (`scans` is that most).
struct TPictureTooLarge {
    bool refused = false;
    int64_t width = 0;
    int64_t height = 0;
    int scans = 0;
};
// A JPEG of more scans than this (progressive and multi-scan pictures pass over every pixel once
// a scan) is refused while it is decoded: at most 256, at least 12 (more than any encoder's own
// progression writes), and otherwise as many as keep the picture within 2^26 pixels decoded in
// all (a 1024 x 1024 picture 64 scans, a 2048 x 1024 one 32).
int MaxJpegScans(int64_t pixels);
// The same within limits of the caller's (never above MaxImagePixels): a picture wider or
// taller than maxSide or of more than maxPixels pixels is refused right after its header,
// before anything is allocated for it, and told in `tooLarge` (when given), as is a JPEG of too
// many scans for its size. keepGoing (when given) is asked as a JPEG or PNG is decoded (a JPEG
// every row of blocks, a PNG every 8 KB of its data): once it says no the decoding ends, with
// nothing decoded. A PNG's chunks that do not change its pixels (texts, compressed texts,
// colour profiles, unknown chunks) are skipped unread. Reads no global state and no GL, so a worker thread
// may decode with it.
TPixmapPtr DecodePixmap(const std::string& bytes, int64_t maxSide, int64_t maxPixels,
                        TPictureTooLarge* tooLarge = nullptr, const std::function<bool()>& keepGoing = nullptr);
// The size of the picture in the bytes as its header gives it, after every check DecodePixmap
// makes before it decodes a pixel (its kind, its header, the limits, a size its data can hold);
// false when DecodePixmap would refuse it there. Decodes nothing, allocates nothing for pixels.
// Reads no global state and no GL.
bool PictureSize(const std::string& bytes, int64_t maxSide, int64_t maxPixels, int& width, int& height,
                 TPictureTooLarge* tooLarge = nullptr);
// Writes the pixmap as an RGBA PNG, atomically; false when it cannot be written. `fast`: several
// times quicker for a larger file, for pictures only read back (the harness's screenshots).
bool SavePixmapPNG(const TPixmapPtr& pixmap, const std::string& path, bool fast = false);
// The PNG bytes of a pixmap; empty on failure.
std::string EncodePNG(const TPixmapPtr& pixmap, bool fast = false);

// What the live textures hold, in bytes: their pixels uploaded to the GL (4 a texel) and the
// pixels their pixmaps keep in memory (each pixmap once), pictures and fonts' glyphs apart.
struct TTextureMemory {
    int64_t pictureTextures = 0, picturePixels = 0;
    int64_t glyphTextures = 0, glyphPixels = 0;
};
TTextureMemory TextureMemory();

// ---- Pictures ahead of their drawing ----
// A picture from a file is decoded once each time it is loaded or was let go: its pixels are
// decoded when they are first needed, uploaded, and let go. That decoding can run ahead on a
// background worker (a thread that only turns files into pixel buffers: no GL, no other state;
// it gives up at once when the program ends), so that the pictures of a screen about to be shown
// are there when it is shown, uploaded a few at a time. Main thread, every function.

class TGLTexture;

// The pictures drawn while a record is kept (a screen's drawing), to be asked for ahead of the
// next time they are shown.
class TPictureRecord {
public:
    TPictureRecord();
    // Forgets every picture.
    void Clear();
    size_t Size() const { return textures_.size(); }

private:
    friend struct TPictureFlow;
    uint64_t stamp_;
    std::vector<std::weak_ptr<TGLTexture>> textures_;
};
// From now on the pictures drawn are added to the record (null: to none); the record kept until
// now is returned.
TPictureRecord* RecordPictures(TPictureRecord* record);
// The record's pictures that are not uploaded are decoded on the worker, and wait for
// UploadGatheredPictures (RequestPicture, below, for an image's frames). Each counts as used at
// the next mark (MarkPictureUse), which a switch asking for them ahead takes when it enters their
// screen: they are not let go with the screen left.
void RequestPictures(const TPictureRecord& record);
// While on, a picture from a file that is drawn but not uploaded is not decoded there and then:
// it is asked of the worker, waits for UploadGatheredPictures, and is left out of the drawing.
// (A screen switch draws the screen it enters so under a full black, to learn what it shows.)
void GatherPictures(bool on);
// Uploads the waiting pictures whose pixels the worker has decoded, one after the other while
// budgetMs lasts (at least one); true when none is left waiting.
bool UploadGatheredPictures(double budgetMs);
// Waits for every waiting picture's decoding and uploads it; false when it gave up because the
// program is asked to quit.
bool FinishGatheredPictures();
// A new mark of use: a picture drawn from now on (or asked for ahead since the last mark)
// counts as used since it.
uint64_t MarkPictureUse();
// Lets every picture from a file not drawn since the mark go, its texture and its pixels (they
// come back from the file when it is drawn again); the bytes of texels let go.
int64_t ReleasePicturesUnusedSince(uint64_t mark);
// Pictures decoded from their files so far (on the main thread or the worker).
int64_t PicturesDecoded();

// Image flags.
enum : int {
    MASKEDIMAGE = 1,     // pixels of the mask colour become transparent
    FILTEREDIMAGE = 2,   // smooth (bilinear) sampling when scaled or rotated
    MIPMAPPEDIMAGE = 4,  // mipmaps for drawing much smaller than the picture
    DYNAMICIMAGE = 8,    // the pixels are changed often (LockImage); accepted, nothing more
};

// A drawable picture with one or more frames of the same size and one handle point.
class TImage {
public:
    int width = 0;
    int height = 0;
    float handle_x = 0;
    float handle_y = 0;
    int flags = 0;
    // One pixmap and one texture per frame; the texture is made when the frame is first drawn.
    // A picture loaded from a file (LoadImage, LoadAnimImage with a path) is not held in memory
    // beside its texture: its header is read to check and measure it, its frames' pixmaps have
    // their size and no pixels, and the pixels are decoded from the file when they are needed (a
    // frame first drawn, LockImage, a new GL context, a picture let go drawn again), then let go
    // once uploaded. Pictures made in memory keep their pixels.
    std::vector<TPixmapPtr> pixmaps;
    std::vector<std::shared_ptr<TGLTexture>> textures;

    int FrameCount() const { return static_cast<int>(pixmaps.size()); }
};
using TImagePtr = std::shared_ptr<TImage>;

// The image's frames that are not uploaded are decoded on the worker, and wait for
// UploadGatheredPictures; as RequestPictures, they count as used at the next mark.
void RequestPicture(const TImagePtr& image);

// When on, new images get their handle in their middle.
void AutoMidHandle(bool on);
// The colour that MASKEDIMAGE makes transparent (black at start).
void SetMaskColor(int r, int g, int b);
// Back to the start state of the three settings above (tests).
void ResetImageSettings();

// Null when the file cannot be decoded (or the pixmap is null).
TImagePtr LoadImage(const std::string& path, int flags = -1);
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags = -1);
// An image made of the pixmap itself, without a copy (the caller gives the pixmap up: the
// image owns it from now on). Null for a null or empty pixmap. Main thread.
TImagePtr AdoptPixmapImage(TPixmapPtr pixmap, int flags = -1);
// An image of width x height whose pixels `make` fills (handed a pixmap of that size, cleared;
// false when they cannot be had) whenever they are needed: its texture first drawn, LockImage, a
// new GL context. They are let go once uploaded, so a picture put together from others (an atlas
// of small pictures) costs no more memory than one loaded from a file. Not masked. Null for a
// size beyond ImageSizeAllowed.
TImagePtr CreateMadeImage(int width, int height, std::function<bool(TPixmap& pixmap)> make, int flags = -1);
// Cuts the picture into cells of cellWidth x cellHeight, left to right then top to bottom, and
// keeps `count` of them starting at cell `first`. Null when no cell fits.
TImagePtr LoadAnimImage(const std::string& path, int cellWidth, int cellHeight, int first, int count, int flags = -1);
TImagePtr LoadAnimImage(const TPixmapPtr& pixmap, int cellWidth, int cellHeight, int first, int count, int flags = -1);
// Frames of transparent pixels.
TImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);

void SetImageHandle(const TImagePtr& image, float x, float y);
void MidHandleImage(const TImagePtr& image);
float ImageHandleX(const TImagePtr& image);
float ImageHandleY(const TImagePtr& image);
int ImageWidth(const TImagePtr& image);
int ImageHeight(const TImagePtr& image);
int ImageFrames(const TImagePtr& image);

// The frame's pixels for changing (decoded again if they were let go, and kept from now on);
// UnlockImage sends the change to the texture. Null for a bad frame or pixels that cannot be had.
TPixmapPtr LockImage(const TImagePtr& image, int frame = 0);
void UnlockImage(const TImagePtr& image, int frame = 0);

// Drawing under the global draw state: the handle point is placed at (x, y) (plus the origin),
// scale and rotation turn the picture about that point. A null image or a frame out of range
// draws nothing.
void DrawImage(const TImagePtr& image, float x, float y, int frame = 0);
// The frame stretched to width x height; the handle is stretched with it.
void DrawImageRect(const TImagePtr& image, float x, float y, float width, float height, int frame = 0);
// The source rectangle (sx, sy, sw, sh) of the frame drawn into width x height at (x, y); the
// handle (hx, hy) is a point of the source rectangle, in source pixels, stretched with it.
void DrawSubImageRect(const TImagePtr& image, float x, float y, float width, float height, float sx, float sy, float sw,
                      float sh, float hx = 0, float hy = 0, int frame = 0);
// Repeats the frame over the whole viewport, aligned so that one copy starts at (x, y); uses the
// scale but not the rotation.
void TileImage(const TImagePtr& image, float x = 0, float y = 0, int frame = 0);
