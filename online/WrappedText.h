// Text drawn word-wrapped within a column and aligned LEFT, RIGHT, CENTER or JUSTIFY, with the
// current image font and draw state (the newsletter window's text widgets).
//
// Only blanks break the text; a word wider than the column stands alone on its line and runs
// over. Justified lines span the column exactly, all but the last, which is left-aligned.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/Font.h"

// One piece of drawn text and where its top-left goes.
struct TWrappedPiece {
    std::string text;
    float x = 0;
    int y = 0;
};

// Width in pixels of a text.
using TTextMeasure = std::function<int(const std::string&)>;

// The pieces that DrawWrappedText draws (empty texts left out), and its result: lineHeight
// times the number of lines.
int LayoutWrappedText(const std::string& text, int x, int y, float width, const std::string& align, int lineHeight,
                      const TTextMeasure& measure, std::vector<TWrappedPiece>& pieces);

// Draws the text into the column of that width whose top-left is (x, y). A font given becomes
// the current font (and stays so); null keeps the current one. Lines are the font's height plus
// spacing apart. Any align word but LEFT, RIGHT, CENTER and JUSTIFY (trimmed, any case) means
// LEFT. Returns the height of the lines drawn.
int DrawWrappedText(const std::string& text, int x, int y, float width, const std::string& align,
                    const TImageFontPtr& font, int spacing);
