#include "engine/media/Img.h"

#include <algorithm>

#include "engine/media/ImgTex.h"
#include "platform/Graphics.h"

TImagePtr TImg::_emptyImg;

namespace {

constexpr int kEmptyWidth = 128;
constexpr int kEmptyHeight = 64;
constexpr int kEmptyCell = 8;
constexpr int kEmptyFrame = 2;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Placeholder

int TImg::Setup() {
    // A loud picture that cannot be mistaken for game art: magenta and black checks inside a
    // white frame. Made in memory, so it needs no window and leaves the back buffer and the draw
    // state alone; the texture is uploaded when it is first drawn.
    TPixmapPtr pixmap = CreatePixmap(kEmptyWidth, kEmptyHeight);
    for (int py = 0; py < kEmptyHeight; ++py) {
        for (int px = 0; px < kEmptyWidth; ++px) {
            bool frame = px < kEmptyFrame || py < kEmptyFrame || px >= kEmptyWidth - kEmptyFrame ||
                         py >= kEmptyHeight - kEmptyFrame;
            bool light = ((px / kEmptyCell) + (py / kEmptyCell)) % 2 == 0;
            int argb = frame ? int(0xFFFFFFFF) : (light ? int(0xFFFF00FF) : int(0xFF000000));
            pixmap->WritePixel(px, py, argb);
        }
    }
    // Plain flags: no mask (black must stay black) and crisp pixels.
    _emptyImg = LoadImage(pixmap, 0);
    return 0;
}

TImagePtr TImg::EmptyImage() {
    if (!_emptyImg) Setup();
    return _emptyImg;
}

void TImg::ResetSetup() { _emptyImg.reset(); }

// ---------------------------------------------------------------------------------------------
// Methods

TImgPtr TImg::Copy() const {
    // Shares the picture and the texture; every field but the name.
    auto c = std::make_shared<TImg>(*this);
    c->name.clear();
    return c;
}

int TImg::GetWidth() const { return w; }
int TImg::GetHeight() const { return h; }
int TImg::GetHandleX() const { return hx; }
int TImg::GetHandleY() const { return hy; }

int TImg::GetHandle(int& outX, int& outY) const {
    outX = GetHandleX();
    outY = GetHandleY();
    return 0;
}

int TImg::DrawNoImg(float px, float py) {
    DrawImage(EmptyImage(), px, py, 0);
    return 0;
}

int TImg::DrawNoTex(float px, float py) { return DrawNoImg(px, py); }

int TImg::Check(float px, float py) {
    if (isLoaded) return 1;
    if (image) return 1;
    if (!texture) return 1;
    if (texture->Img) return 1;
    DrawNoTex(px, py);
    return 0;
}

int TImg::Draw(float px, float py, int /*frame*/) {
    if (!Check(px, py)) return 0;
    if (isSingle || !texture) {
        if (!image) return DrawNoImg(px, py);
        DrawImage(image, px, py, 0);
        return 0;
    }
    // A sub-image marked loaded may still sit on a texture whose pixels never came.
    if (w == 0 || h == 0 || !texture->Img) return DrawNoImg(px, py);
    DrawSubImageRect(texture->Img, px, py, static_cast<float>(w), static_cast<float>(h), static_cast<float>(x),
                     static_cast<float>(y), static_cast<float>(w), static_cast<float>(h), static_cast<float>(hx),
                     static_cast<float>(hy), 0);
    return 0;
}

int TImg::DrawSubRect(float px, float py, float dw, float dh, float sx, float sy, float sw, float sh) {
    if (!Check(px, py)) return 0;
    if (isSingle || !texture) {
        if (!image) return DrawNoImg(px, py);
        DrawSubImageRect(image, px, py, dw, dh, sx, sy, sw, sh, static_cast<float>(hx), static_cast<float>(hy), 0);
        return 0;
    }
    if (w == 0 || h == 0 || !texture->Img) return DrawNoImg(px, py);
    DrawSubImageRect(texture->Img, px, py, dw, dh, static_cast<float>(x) + sx, static_cast<float>(y) + sy, sw, sh,
                     static_cast<float>(hx), static_cast<float>(hy), 0);
    return 0;
}

int TImg::Load() {
    if (isLoaded) return 0;
    isLoaded = 1;
    if (texture) texture->Load();
    if (isSingle) {
        UpdateHandle_Single();
    } else {
        UpdateHandle();
    }
    return 0;
}

int TImg::Free() {
    isLoaded = 0;
    if (!texture) {
        TImgTex::DeleteSingle(this);
        image.reset();
        return 0;
    }
    texture->CheckFree();
    // A sub-image is one object shared by every user of its name, and the next LoadImg of that
    // name hands out this object again: it keeps its texture, or every other user (and every
    // later request) would draw the placeholder. The texture keeps its pixels anyway.
    return 0;
}

int TImg::UpdateHandle_Single() {
    if (!image) {
        // No picture (its file failed to load): keep the stored handle for a later picture.
        if (isMidHandled) {
            hx = w / 2;
            hy = h / 2;
        }
        return 0;
    }
    if (isMidHandled) {
        hx = ImageWidth(image) / 2;
        hy = ImageHeight(image) / 2;
    }
    SetImageHandle(image, static_cast<float>(hx), static_cast<float>(hy));
    w = ImageWidth(image);
    h = ImageHeight(image);
    return 0;
}

int TImg::UpdateHandle() { return SetHandle(hx, hy); }

int TImg::UpdateSizes() { return 0; }

int TImg::SetHandle(int px, int py) {
    isMidHandled = 0;
    hx = px;
    hy = py;
    if (isSingle) UpdateHandle_Single();
    return 0;
}

int TImg::MidHandle() {
    isMidHandled = 1;
    if (isSingle) {
        if (image) {
            MidHandleImage(image);
            hx = ImageWidth(image) / 2;
            hy = ImageHeight(image) / 2;
        } else {
            hx = w / 2;
            hy = h / 2;
        }
    } else {
        hx = w / 2;
        hy = h / 2;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Free functions

TImgPtr LoadImg(const std::string& url, int flags) {
    if (!TImg::_emptyImg) TImg::Setup();
    if (url.find('|') != std::string::npos) return TImgTex::LoadImgTex(url, flags);
    return TImgTex::LoadImgSingle(url, flags);
}

TImgTexPtr LoadTextureFile(const std::string& url, int flags) { return TImgTex::LoadTex(url, flags); }

int DrawImg(const TImgPtr& img, float x, float y, int frame) {
    if (!img) {
        DrawImage(TImg::EmptyImage(), x, y, 0);
        return 0;
    }
    return img->Draw(x, y, frame);
}

int DrawImgSubRect(const TImgPtr& img, float x, float y, float w, float h, float sx, float sy, float sw, float sh) {
    if (!img) {
        DrawImage(TImg::EmptyImage(), x, y, 0);
        return 0;
    }
    return img->DrawSubRect(x, y, w, h, sx, sy, sw, sh);
}

int SetImgHandle(const TImgPtr& img, int x, int y) { return img ? img->SetHandle(x, y) : 0; }
int MidHandleImg(const TImgPtr& img) { return img ? img->MidHandle() : 0; }
int ImgWidth(const TImgPtr& img) { return img ? img->GetWidth() : 0; }
int ImgHeight(const TImgPtr& img) { return img ? img->GetHeight() : 0; }
int ImgHandleX(const TImgPtr& img) { return img ? img->GetHandleX() : 0; }
int ImgHandleY(const TImgPtr& img) { return img ? img->GetHandleY() : 0; }

int ImgHandle(const TImgPtr& img, int& x, int& y) {
    if (!img) {
        x = 0;
        y = 0;
        return 0;
    }
    return img->GetHandle(x, y);
}

void RequestImg(const TImgPtr& img) {
    if (!img) return;
    if (img->image) RequestPicture(img->image);
    if (img->texture && img->texture->Img) RequestPicture(img->texture->Img);
}

TImgPtr CreateImgFromImage(const TImagePtr& image) {
    auto img = std::make_shared<TImg>();
    img->isSingle = 1;
    img->image = image;
    // The size comes with the picture, so that measuring and fitting such an image work.
    img->w = ImageWidth(image);
    img->h = ImageHeight(image);
    return img;
}

void DrawImagePart(const TImgPtr& img, int x, int y, float per, int side) {
    float w = static_cast<float>(ImgWidth(img));
    float h = static_cast<float>(ImgHeight(img));
    float ox = 0.0f, oy = 0.0f, pw = w, ph = h;
    switch (side) {
        case 0: pw = w * per; break;
        case 1: ph = h * per; break;
        case 2:
            ox = (1.0f - per) * w;
            pw = w * per;
            break;
        case 3:
            oy = (1.0f - per) * h;
            ph = h * per;
            break;
        default: return;
    }
    DrawImgSubRect(img, static_cast<float>(x) + ox, static_cast<float>(y) + oy, pw, ph, ox, oy, pw, ph);
}

float FitImageScale(const TImgPtr& img, float maxW, float maxH) {
    float w = static_cast<float>(ImgWidth(img));
    float h = static_cast<float>(ImgHeight(img));
    float scale = 1.0f;
    if (w > 0.0f && h > 0.0f && (w > maxW || h > maxH)) {
        // The smaller of the two factors, so that both sides fit.
        float fw = w > maxW ? maxW / w : 1.0f;
        float fh = h > maxH ? maxH / h : 1.0f;
        scale = std::max(0.0f, std::min(fw, fh));
    }
    SetScale(scale, scale);
    return scale;
}
