// The one image type through which the engine and the game draw bitmaps. A TImg is either a
// whole image (one picture loaded from one file) or a named sub-rectangle of a shared texture
// kept by the texture registry (engine/media/ImgTex.h). Both kinds answer the same calls.
//
// A missing image never stops drawing: a placeholder picture (a magenta and black checker of
// 128 x 64 with a white frame, made in code by TImg::Setup) is drawn in its place.
#pragma once
#include <memory>
#include <string>

#include "platform/Image.h"

class TImg;
class TImgTex;
using TImgPtr = std::shared_ptr<TImg>;
using TImgTexPtr = std::shared_ptr<TImgTex>;

class TImg {
public:
    virtual ~TImg() = default;

    // Whole image: the url it was loaded from; sub-image: its name in the texture description
    // (trimmed, upper case).
    std::string name;
    // Whole image: the loaded picture, shared by every copy made from the same cache entry (its
    // handle point lives in it). Sub-image: null.
    TImagePtr image;
    // Sub-image: the texture it is cut from. Whole image: null.
    TImgTexPtr texture;
    int isMidHandled = 0;
    int isSingle = 0;       // 1 for a whole image
    int isLoaded = 0;       // set by Load, cleared by Free
    int MyLoadedFlags = 0;  // the flags a whole image was asked for (part of its cache key)
    int hx = 0, hy = 0;     // handle point in pixels: the point placed at the drawing position
    // Sub-image: its rectangle inside the texture. Whole image: w, h are its size, x, y stay 0.
    int x = 0, y = 0, w = 0, h = 0;
    // Whole image: its file path; sub-image: texture path, "|" and name.
    std::string Url;

    // A new TImg sharing the picture and the texture, with every field but the name copied.
    virtual TImgPtr Copy() const;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetHandleX() const;
    virtual int GetHandleY() const;
    virtual int GetHandle(int& outX, int& outY) const;
    // The placeholder at (px, py), frame 0, under the current draw state.
    virtual int DrawNoTex(float px, float py);
    virtual int DrawNoImg(float px, float py);
    // Draws the image with its handle at (px, py). The frame is accepted and ignored: a TImg
    // has one picture.
    virtual int Draw(float px, float py, int frame = 0);
    // The source rectangle (sx, sy, sw, sh) scaled into dw x dh at (px, py), with the handle
    // (hx, hy). A sub-image's source origin is offset by its own x, y inside the texture.
    virtual int DrawSubRect(float px, float py, float dw, float dh, float sx, float sy, float sw, float sh);
    // 0 (after drawing the placeholder at (px, py)) when this is a sub-image whose texture has no
    // pixels; else 1.
    virtual int Check(float px, float py);
    // Marks the image loaded, loads its texture's pixels and re-applies its handle.
    virtual int Load();
    // Marks it not loaded. A whole image leaves the registry and drops its picture; a sub-image
    // tells its texture and stays usable (it is shared by every user of its name).
    virtual int Free();
    // Whole image: centres hx, hy when mid-handled, pushes the handle into the shared picture
    // and takes its size. Does nothing to a missing picture.
    virtual int UpdateHandle_Single();
    // Re-applies the stored handle (clears the mid-handle flag).
    virtual int UpdateHandle();
    virtual int UpdateSizes();
    // Stores the handle; a whole image pushes it into its (shared) picture.
    virtual int SetHandle(int px, int py);
    // The handle at the centre (integer halves of the size).
    virtual int MidHandle();

    // Makes the placeholder picture (replacing any earlier one). Needs no window: the pixels are
    // made in memory and uploaded when first drawn.
    static int Setup();
    // The placeholder, made on first use.
    static TImagePtr EmptyImage();
    static TImagePtr _emptyImg;
    // Forgets the placeholder (tests).
    static void ResetSetup();
};

// The image at url: a url holding "|" names a sub-image of a texture ("path|NAME"), any other
// url a whole image. Never null: an image that cannot be had is reported and comes back as a
// TImg that draws the placeholder.
TImgPtr LoadImg(const std::string& url, int flags = -1);
// The texture at url with its sub-image list (no pixels).
TImgTexPtr LoadTextureFile(const std::string& url, int flags = -1);

// Wrappers that hide the kind of image. A null image draws the placeholder, measures 0 and
// ignores handle changes.
int DrawImg(const TImgPtr& img, float x, float y, int frame = 0);
int DrawImgSubRect(const TImgPtr& img, float x, float y, float w, float h, float sx, float sy, float sw, float sh);
int SetImgHandle(const TImgPtr& img, int x, int y);
int MidHandleImg(const TImgPtr& img);
int ImgWidth(const TImgPtr& img);
int ImgHeight(const TImgPtr& img);
int ImgHandleX(const TImgPtr& img);
int ImgHandleY(const TImgPtr& img);
int ImgHandle(const TImgPtr& img, int& x, int& y);
// The image's pixels (a whole image's picture, a sub-image's texture) decoded ahead on the
// background worker, to be uploaded by UploadGatheredPictures (platform/Image.h).
void RequestImg(const TImgPtr& img);
// A whole-image TImg around a picture made elsewhere (its size taken from the picture); not
// registered in the cache.
TImgPtr CreateImgFromImage(const TImagePtr& image);

// Draws the fraction per of the image, measured from one side, where it lies when the whole
// image is drawn at (x, y): side 0 the left part, 1 the top part, 2 the right part, 3 the bottom
// part. Any other side draws nothing.
void DrawImagePart(const TImgPtr& img, int x, int y, float per, int side);
// The largest scale, at most 1, at which the image fits in maxW x maxH; sets the draw scale to
// it on both axes and returns it. A null or empty image gives 1.
float FitImageScale(const TImgPtr& img, float maxW, float maxH);
