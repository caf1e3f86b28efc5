// Image fonts: TrueType fonts rasterised by FreeType, each character the first time it is drawn
// or measured, into the font's atlas (one texture holding every glyph of the font at its size,
// grown taller and then paged when full, so a line of text is one run of the quad batch), drawn
// under the global draw state.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

// Font styles.
enum : int {
    BOLDFONT = 1,
    ITALICFONT = 2,
    SMOOTHFONT = 4,  // anti-aliased glyphs (without it, one-bit glyphs)
};

class TImageFont;
using TImageFontPtr = std::shared_ptr<TImageFont>;

// The largest pixel size a font is loaded at: a glyph of it still fits an atlas page many times
// over (the largest the game's data uses is 42).
constexpr int kMaxFontSize = 256;

// A font file at a pixel size; null when the file is missing or not a font, or the size is not
// from 1 to kMaxFontSize.
TImageFontPtr LoadImageFont(const std::string& path, int size, int style = SMOOTHFONT);

// The bytes of the font files the live fonts hold (each file once, however many sizes of it
// are loaded); their glyphs are counted with the textures (TextureMemory in platform/Image.h).
int64_t FontFileMemory();

// The font of DrawText, TextWidth and TextHeight; null selects the built-in default font.
void SetImageFont(const TImageFontPtr& font);
// The font in use (the default font when none is set); null only when even the default font
// cannot be loaded.
TImageFontPtr GetImageFont();

// Text in UTF-8, its top-left at (x, y) under the colour, alpha, blend, scale, rotation, origin
// and handle of the draw state.
void DrawText(const std::string& text, float x, float y);
// Width of the text in pixels of the font (the sum of the advances), before scaling.
int TextWidth(const std::string& text);
// Height of a line of the font, whatever the text.
int TextHeight(const std::string& text);

// The default font: DejaVu Sans at a fixed size, read from the given file (the game points it at
// its data folder), else from the system's copy of the font.
void SetDefaultFontPath(const std::string& path);
constexpr int kDefaultFontSize = 14;
TImageFontPtr DefaultImageFont();
// Forgets the default font and the current font (tests).
void ResetFonts();
// The largest side of an atlas page for fonts loaded from now on (tests, to reach paging with
// few glyphs); 0 restores the default (4096, or less when the GL texture limit is lower).
void SetFontAtlasLimit(int side);

class TImageFont {
public:
    ~TImageFont();
    TImageFont(const TImageFont&) = delete;
    TImageFont& operator=(const TImageFont&) = delete;

    int Size() const { return size_; }
    int Style() const { return style_; }
    // Line height in pixels.
    int Height() const { return height_; }
    // The advance of one character (0 for control characters; a character missing from the
    // font is drawn and measured as the font's missing-glyph box).
    float CharAdvance(char32_t c);
    int Width(const std::string& text);
    void Draw(const std::string& text, float x, float y);

    struct Impl;

private:
    friend TImageFontPtr LoadImageFont(const std::string& path, int size, int style);
    TImageFont() = default;
    std::unique_ptr<Impl> impl_;
    int size_ = 0;
    int style_ = 0;
    int height_ = 0;
    int ascend_ = 0;
};
