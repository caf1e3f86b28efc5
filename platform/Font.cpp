#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cmath>
#include <unordered_map>

#include "platform/Files.h"
#include "platform/GLTexture.h"
#include "platform/Graphics.h"
#include "platform/Image.h"
#include "platform/Strings.h"

namespace {

const char* const kSystemDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

FT_Library gLibrary = nullptr;
std::string gDefaultPath;
TImageFontPtr gDefaultFont;
bool gDefaultTried = false;
TImageFontPtr gCurrentFont;

FT_Library Library() {
    if (!gLibrary && FT_Init_FreeType(&gLibrary) != 0) gLibrary = nullptr;
    return gLibrary;
}

struct Glyph {
    float advance = 0.0f;
    int left = 0, top = 0, width = 0, height = 0;
    std::shared_ptr<TGLTexture> texture;
};

}  // namespace

struct TImageFont::Impl {
    std::string data;  // FreeType reads the face from this memory for as long as the face lives
    FT_Face face = nullptr;
    std::unordered_map<char32_t, Glyph> glyphs;

    ~Impl() {
        if (face) FT_Done_Face(face);
    }
};

namespace {

const Glyph& GetGlyph(TImageFont::Impl& impl, int style, char32_t c) {
    auto found = impl.glyphs.find(c);
    if (found != impl.glyphs.end()) return found->second;
    Glyph& glyph = impl.glyphs[c];
    if (c < 32) return glyph;  // control characters take no room
    bool smooth = (style & SMOOTHFONT) != 0;
    FT_Face face = impl.face;
    FT_UInt index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO)) != 0)
        return glyph;
    if (style & BOLDFONT) FT_GlyphSlot_Embolden(face->glyph);
    if (style & ITALICFONT) FT_GlyphSlot_Oblique(face->glyph);
    if (FT_Render_Glyph(face->glyph, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    const FT_Bitmap& bitmap = slot->bitmap;
    int w = static_cast<int>(bitmap.width), h = static_cast<int>(bitmap.rows);
    if (w <= 0 || h <= 0) return glyph;
    auto pixmap = CreatePixmap(w, h);
    if (!pixmap) return glyph;
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < w; ++x) {
            int coverage;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                coverage = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                coverage = row[x];
            uint8_t* d = pixmap->PixelPtr(x, y);
            d[0] = d[1] = d[2] = 255;
            d[3] = static_cast<uint8_t>(coverage);
        }
    }
    glyph.width = w;
    glyph.height = h;
    glyph.texture = std::make_shared<TGLTexture>(pixmap, smooth, false);
    return glyph;
}

}  // namespace

TImageFont::~TImageFont() = default;

TImageFontPtr LoadImageFont(const std::string& path, int size, int style) {
    if (size <= 0 || path.empty() || !Library()) return nullptr;
    auto impl = std::make_unique<TImageFont::Impl>();
    if (!LoadBytes(path, impl->data) || impl->data.empty()) return nullptr;
    if (FT_New_Memory_Face(gLibrary, reinterpret_cast<const FT_Byte*>(impl->data.data()),
                           static_cast<FT_Long>(impl->data.size()), 0, &impl->face) != 0) {
        impl->face = nullptr;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(size)) != 0) return nullptr;
    TImageFontPtr font(new TImageFont());
    const FT_Size_Metrics& metrics = impl->face->size->metrics;
    font->size_ = size;
    font->style_ = style;
    font->ascend_ = static_cast<int>((metrics.ascender + 63) >> 6);
    font->height_ = font->ascend_ + static_cast<int>((-metrics.descender + 63) >> 6);
    font->impl_ = std::move(impl);
    return font;
}

float TImageFont::CharAdvance(char32_t c) { return GetGlyph(*impl_, style_, c).advance; }

int TImageFont::Width(const std::string& text) {
    float width = 0.0f;
    for (char32_t c : Utf8ToUtf32(text)) width += CharAdvance(c);
    return static_cast<int>(std::lround(width));
}

void TImageFont::Draw(const std::string& text, float x, float y) {
    if (!GraphicsOpen()) return;
    float hx, hy;
    GetHandle(hx, hy);
    float pen = 0.0f;
    for (char32_t c : Utf8ToUtf32(text)) {
        const Glyph& glyph = GetGlyph(*impl_, style_, c);
        if (glyph.texture) {
            float x0 = pen + static_cast<float>(glyph.left) - hx;
            float y0 = static_cast<float>(ascend_ - glyph.top) - hy;
            GLDrawQuad(glyph.texture.get(), x0, y0, x0 + static_cast<float>(glyph.width),
                       y0 + static_cast<float>(glyph.height), 0.0f, 0.0f, 1.0f, 1.0f, x, y);
        }
        pen += glyph.advance;
    }
}

void SetImageFont(const TImageFontPtr& font) { gCurrentFont = font; }

TImageFontPtr GetImageFont() { return gCurrentFont ? gCurrentFont : DefaultImageFont(); }

void DrawText(const std::string& text, float x, float y) {
    if (auto font = GetImageFont()) font->Draw(text, x, y);
}

int TextWidth(const std::string& text) {
    auto font = GetImageFont();
    return font ? font->Width(text) : 0;
}

int TextHeight(const std::string& text) {
    (void)text;
    auto font = GetImageFont();
    return font ? font->Height() : 0;
}

void SetDefaultFontPath(const std::string& path) {
    gDefaultPath = path;
    gDefaultFont.reset();
    gDefaultTried = false;
}

std::string DefaultFontPath() { return gDefaultPath; }

TImageFontPtr DefaultImageFont() {
    if (!gDefaultTried) {
        gDefaultTried = true;
        if (!gDefaultPath.empty()) gDefaultFont = LoadImageFont(gDefaultPath, kDefaultFontSize, SMOOTHFONT);
        if (!gDefaultFont) gDefaultFont = LoadImageFont(kSystemDefaultFont, kDefaultFontSize, SMOOTHFONT);
    }
    return gDefaultFont;
}

void ResetFonts() {
    gCurrentFont.reset();
    gDefaultFont.reset();
    gDefaultTried = false;
    gDefaultPath.clear();
}
