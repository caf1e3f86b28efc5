#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>
#include <vector>

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
    int page = -1;                    // the atlas page holding the pixels (-1: nothing to draw)
    int atlasX = 0, atlasY = 0;       // the pixels' top-left corner in the page
    std::shared_ptr<TGLTexture> own;  // direct drawing only: a texture of the glyph alone
};

// One texture of glyphs, filled shelf by shelf (rows of glyphs, each row as high as its
// tallest glyph), left to right. Each glyph keeps a one-pixel frame repeating its edge pixels,
// so filtered drawing near its edges samples what a texture of the glyph alone would give.
struct AtlasPage {
    TPixmapPtr pixmap;
    std::shared_ptr<TGLTexture> texture;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
};

constexpr int kMaxAtlasSide = 4096;
int gAtlasLimit = 0;  // 0: kMaxAtlasSide

int NextPowerOfTwo(int v) {
    int p = 1;
    while (p < v && p < (1 << 30)) p <<= 1;
    return p;
}

}  // namespace

struct TImageFont::Impl {
    // The font file's bytes, shared by every size of the font: FreeType reads the face from this
    // memory for as long as the face lives.
    std::shared_ptr<const std::string> data;
    FT_Face face = nullptr;
    std::unordered_map<char32_t, Glyph> glyphs;
    std::vector<AtlasPage> pages;
    int pageWidth = 256;

    ~Impl() {
        if (face) FT_Done_Face(face);
    }
};

namespace {

int AtlasLimit() { return std::min(gAtlasLimit > 0 ? gAtlasLimit : kMaxAtlasSide, MaxImageSide()); }

// A page `height` pixels high keeping the pixels of `old` (when given) at the top.
bool ResizePage(AtlasPage& page, int width, int height, bool smooth) {
    auto pixmap = CreatePixmap(width, height);
    if (!pixmap) return false;
    if (page.pixmap)
        for (int y = 0; y < page.pixmap->height; ++y)
            std::copy_n(page.pixmap->PixelPtr(0, y), static_cast<size_t>(page.pixmap->width) * 4,
                        pixmap->PixelPtr(0, y));
    page.pixmap = pixmap;
    // The texture of the old size goes (quads of it still waiting are drawn first).
    page.texture = std::make_shared<TGLTexture>(pixmap, smooth, false, TTextureKind::Glyphs);
    return true;
}

// Finds room for a cell of cw x ch pixels: on the last page's shelf, on a new shelf, on the last
// page grown taller, or on a new page. False when no page can hold it.
bool PlaceCell(TImageFont::Impl& impl, bool smooth, int cw, int ch, int& pageIndex, int& cx, int& cy) {
    const int limit = AtlasLimit();
    if (cw > limit || ch > limit) return false;
    if (!impl.pages.empty()) {
        AtlasPage& page = impl.pages.back();
        const int width = page.pixmap->width;
        int shelfX = page.shelfX, shelfY = page.shelfY, shelfHeight = page.shelfHeight;
        if (shelfX + cw > width) {
            shelfY += shelfHeight;
            shelfX = 0;
            shelfHeight = 0;
        }
        if (shelfX + cw <= width) {
            int height = page.pixmap->height;
            while (shelfY + ch > height && height < limit) height = std::min(height * 2, limit);
            if (shelfY + ch <= height && (height == page.pixmap->height || ResizePage(page, width, height, smooth))) {
                page.shelfX = shelfX + cw;
                page.shelfY = shelfY;
                page.shelfHeight = std::max(shelfHeight, ch);
                pageIndex = static_cast<int>(impl.pages.size()) - 1;
                cx = shelfX;
                cy = shelfY;
                return true;
            }
        }
    }
    AtlasPage page;
    const int width = std::min(std::max(impl.pageWidth, NextPowerOfTwo(cw)), limit);
    const int height = std::min(NextPowerOfTwo(std::max(ch * 2, 32)), limit);
    if (!ResizePage(page, width, height, smooth)) return false;
    page.shelfX = cw;
    page.shelfHeight = ch;
    impl.pages.push_back(std::move(page));
    pageIndex = static_cast<int>(impl.pages.size()) - 1;
    cx = cy = 0;
    return true;
}

Glyph& GetGlyph(TImageFont::Impl& impl, int style, char32_t c) {
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
    int pageIndex = 0, cx = 0, cy = 0;
    if (!PlaceCell(impl, smooth, w + 2, h + 2, pageIndex, cx, cy)) return glyph;
    AtlasPage& page = impl.pages[pageIndex];
    TPixmap& pixmap = *page.pixmap;
    // White pixels whose alpha is the coverage, inside a frame repeating the edge pixels.
    for (int y = 0; y < h + 2; ++y) {
        const int sy = std::clamp(y - 1, 0, h - 1);
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(sy) * bitmap.pitch;
        for (int x = 0; x < w + 2; ++x) {
            const int sx = std::clamp(x - 1, 0, w - 1);
            int coverage;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) coverage = (row[sx >> 3] & (0x80 >> (sx & 7))) ? 255 : 0;
            else coverage = row[sx];
            uint8_t* d = pixmap.PixelPtr(cx + x, cy + y);
            d[0] = d[1] = d[2] = 255;
            d[3] = static_cast<uint8_t>(coverage);
        }
    }
    page.texture->AddedRect(cx, cy, w + 2, h + 2);
    glyph.width = w;
    glyph.height = h;
    glyph.page = pageIndex;
    glyph.atlasX = cx + 1;
    glyph.atlasY = cy + 1;
    return glyph;
}

// Direct drawing: the glyph's pixels as a texture of their own.
TGLTexture* OwnTexture(TImageFont::Impl& impl, int style, Glyph& glyph) {
    if (!glyph.own) {
        const TPixmap& page = *impl.pages[glyph.page].pixmap;
        auto pixmap = CreatePixmap(glyph.width, glyph.height);
        if (!pixmap) return nullptr;
        for (int y = 0; y < glyph.height; ++y)
            std::copy_n(page.PixelPtr(glyph.atlasX, glyph.atlasY + y), static_cast<size_t>(glyph.width) * 4,
                        pixmap->PixelPtr(0, y));
        glyph.own = std::make_shared<TGLTexture>(pixmap, (style & SMOOTHFONT) != 0, false, TTextureKind::Glyphs);
    }
    return glyph.own.get();
}

}  // namespace

TImageFont::~TImageFont() = default;

namespace {

// Font files read, by real path.
std::map<std::string, std::weak_ptr<const std::string>>& FontFiles() {
    static std::map<std::string, std::weak_ptr<const std::string>> files;
    return files;
}

// The bytes of a font file, read once however many sizes of it are loaded: kept while a font
// of it lives.
std::shared_ptr<const std::string> FontFileBytes(const std::string& path) {
    auto& files = FontFiles();
    const std::string key = RealPath(ResolvePath(path));
    auto found = files.find(key);
    if (found != files.end())
        if (auto bytes = found->second.lock()) return bytes;
    auto bytes = std::make_shared<std::string>();
    if (!LoadBytes(path, *bytes, FileKind::Font) || bytes->empty()) return nullptr;
    std::erase_if(files, [](const auto& entry) { return entry.second.expired(); });
    files[key] = bytes;
    return bytes;
}

}  // namespace

int64_t FontFileMemory() {
    int64_t bytes = 0;
    for (const auto& [path, file] : FontFiles())
        if (auto held = file.lock()) bytes += static_cast<int64_t>(held->size());
    return bytes;
}

TImageFontPtr LoadImageFont(const std::string& path, int size, int style) {
    if (size <= 0 || size > kMaxFontSize || path.empty() || !Library()) return nullptr;
    auto impl = std::make_unique<TImageFont::Impl>();
    impl->data = FontFileBytes(path);
    if (!impl->data) return nullptr;
    if (FT_New_Memory_Face(gLibrary, reinterpret_cast<const FT_Byte*>(impl->data->data()),
                           static_cast<FT_Long>(impl->data->size()), 0, &impl->face) != 0) {
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
    // Pages wide enough for a few dozen glyphs a shelf.
    impl->pageWidth = std::min(std::clamp(NextPowerOfTwo((size + 4) * 16), 256, kMaxAtlasSide), AtlasLimit());
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
    const bool direct = GLDirectDrawing();
    float pen = 0.0f;
    for (char32_t c : Utf8ToUtf32(text)) {
        Glyph& glyph = GetGlyph(*impl_, style_, c);
        if (glyph.page >= 0) {
            float x0 = pen + static_cast<float>(glyph.left) - hx;
            float y0 = static_cast<float>(ascend_ - glyph.top) - hy;
            float x1 = x0 + static_cast<float>(glyph.width), y1 = y0 + static_cast<float>(glyph.height);
            if (direct) {
                if (TGLTexture* own = OwnTexture(*impl_, style_, glyph))
                    GLDrawQuad(own, x0, y0, x1, y1, 0.0f, 0.0f, 1.0f, 1.0f, x, y);
            } else {
                const AtlasPage& page = impl_->pages[glyph.page];
                const float w = static_cast<float>(page.pixmap->width), h = static_cast<float>(page.pixmap->height);
                GLDrawQuad(page.texture.get(), x0, y0, x1, y1, static_cast<float>(glyph.atlasX) / w,
                           static_cast<float>(glyph.atlasY) / h, static_cast<float>(glyph.atlasX + glyph.width) / w,
                           static_cast<float>(glyph.atlasY + glyph.height) / h, x, y);
            }
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

TImageFontPtr DefaultImageFont() {
    if (!gDefaultTried) {
        gDefaultTried = true;
        if (!gDefaultPath.empty()) gDefaultFont = LoadImageFont(gDefaultPath, kDefaultFontSize, SMOOTHFONT);
        if (!gDefaultFont) {
            // The system's font is the platform's own fallback, read wherever the game's folders
            // lie: the one file, not its folder.
            AllowReadOfFile(kSystemDefaultFont);
            gDefaultFont = LoadImageFont(kSystemDefaultFont, kDefaultFontSize, SMOOTHFONT);
        }
    }
    return gDefaultFont;
}

void ResetFonts() {
    gCurrentFont.reset();
    gDefaultFont.reset();
    gDefaultTried = false;
    gDefaultPath.clear();
}

void SetFontAtlasLimit(int side) { gAtlasLimit = std::max(side, 0); }
