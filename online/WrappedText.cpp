#include "online/WrappedText.h"

#include "engine/basics/Basics.h"
#include "engine/fading/EkranTools.h"
#include "platform/Strings.h"

namespace {

enum class Align { Left, Right, Center, Justify };

Align ReadAlign(const std::string& word) {
    const std::string w = Upper(Trim(word));
    if (w == "RIGHT") return Align::Right;
    if (w == "CENTER") return Align::Center;
    if (w == "JUSTIFY") return Align::Justify;
    return Align::Left;
}

void Put(std::vector<TWrappedPiece>& pieces, const std::string& text, float x, int y) {
    if (!text.empty()) pieces.push_back({text, x, y});
}

// A line as one text, placed by the alignment (justified lines are placed word by word).
void PutLine(std::vector<TWrappedPiece>& pieces, const std::string& text, Align align, int x, int y, float width,
             const TTextMeasure& measure) {
    switch (align) {
        case Align::Right:
            Put(pieces, text, static_cast<float>(x) + width - static_cast<float>(measure(text)), y);
            break;
        case Align::Center:
            Put(pieces, text,
                static_cast<float>(
                    TruncToInt(static_cast<float>(x) + width / 2.0f - static_cast<float>(measure(text) / 2))),
                y);
            break;
        default: Put(pieces, text, static_cast<float>(x), y); break;
    }
}

}  // namespace

int LayoutWrappedText(const std::string& text, int x, int y, float width, const std::string& align, int lineHeight,
                      const TTextMeasure& measure, std::vector<TWrappedPiece>& pieces) {
    pieces.clear();
    const Align a = ReadAlign(align);
    const std::vector<std::string> words = SplitByChar(text + " ", " ", "", "");

    std::string line;  // the current line, words joined by blanks
    std::string run;   // its words joined without blanks
    size_t first = 0;  // index of its first word
    int n = 0;         // its line number

    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (static_cast<float>(measure(line + " " + w)) <= width) {
            line = line.empty() ? w : line + " " + w;
            run += w;
            continue;
        }
        // The line is full: words first .. i - 1.
        const int lineY = y + lineHeight * n;
        if (a == Align::Justify) {
            if (i >= first + 2) {
                const size_t last = i - 1;
                const float gap = (width - static_cast<float>(measure(run))) / static_cast<float>(last - first);
                std::string before;
                for (size_t j = first; j <= last; ++j) {
                    Put(pieces, words[j],
                        static_cast<float>(x) + static_cast<float>(j - first) * gap +
                            static_cast<float>(measure(before)),
                        lineY);
                    before += words[j];
                }
            } else if (i == first + 1) {
                Put(pieces, words[first], static_cast<float>(x), lineY);
            }
        } else {
            PutLine(pieces, Trim(line), a, x, lineY, width, measure);
        }
        line = w;
        run = w;
        first = i;
        ++n;
    }
    // The last line as it stands; a justified text ends left-aligned.
    PutLine(pieces, line, a == Align::Justify ? Align::Left : a, x, y + lineHeight * n, width, measure);
    return lineHeight * (n + 1);
}

int DrawWrappedText(const std::string& text, int x, int y, float width, const std::string& align,
                    const TImageFontPtr& font, int spacing) {
    if (font) SetImageFont(font);
    const int lineHeight = TextHeight("A") + spacing;
    std::vector<TWrappedPiece> pieces;
    const int height = LayoutWrappedText(
        text, x, y, width, align, lineHeight, [](const std::string& s) { return TextWidth(s); }, pieces);
    for (const TWrappedPiece& p : pieces) DrawText(p.text, p.x, static_cast<float>(p.y));
    return height;
}
