// Word-wrap layout: a text broken into lines that fit a width (breaks only at spaces; words are
// never split, a line feed inside a word stays part of it), the words of a line spread for
// justified drawing, and the drawing of a laid-out line with the shadow, outline and colour of a
// text class.
//
// All measuring happens in the image font that is current when a function runs; the caller
// selects the font first (only TextProcesor::CreateLines selects it itself).
#pragma once
#include <memory>
#include <string>
#include <vector>

class TClass;
class TTextClass;

// ---------------------------------------------------------------------------------------------
// How laid-out and styled text is measured and drawn: the platform's TextWidth, TextHeight and
// DrawText in the current image font, unless a replacement is installed (tests lay text out with
// exact metrics and record what is drawn, and under which draw state).
struct TextRenderer {
    int (*Width)(const std::string& text) = nullptr;
    int (*Height)(const std::string& text) = nullptr;
    void (*Draw)(const std::string& text, float x, float y) = nullptr;
};
// A null member keeps the platform's function for that operation.
void SetTextRenderer(const TextRenderer& renderer);
void ResetTextRenderer();
int LayoutTextWidth(const std::string& text);
int LayoutTextHeight(const std::string& text);
void LayoutDrawText(const std::string& text, float x, float y);

// ---------------------------------------------------------------------------------------------

// One word of a laid-out line.
class TAppTextWord {
public:
    std::string word;
    float x = 0;                  // left edge relative to the line's start (CountAll)
    float vx = 0, vy = 0;         // unused by the layout
    float Width = 0, Height = 0;  // unused by the layout
    float Dist = 0;               // distance of the word's start from the line's start
    float Angle = 0;              // direction of that offset in degrees

    // The word at (x, y) in the current draw state.
    void Draw(float x, float y) const;
};
using TAppTextWordPtr = std::shared_ptr<TAppTextWord>;
TAppTextWordPtr CreateTextWord(const std::string& word);

// One line. Lines of CreateTextWordLines hold positioned words; lines of CreateLinesList hold
// words that carry only their text.
class TAppTextLine {
public:
    float width = 0;      // sum of the words' widths, spaces not counted
    float height = 0;     // the largest height of the words added with AddTextWord
    float WrapWidth = 0;  // the width the line was wrapped to
    std::vector<TAppTextWordPtr> list;
    std::string line;           // the words joined by single spaces
    float SpaceWidth = 0;       // one space's width per word added with AddTextWord
    float Space = 0;            // free room, WrapWidth - width (CountAll)
    float FullHalfWidth = 0;    // half of FullWidth, on demand
    float FullWidth = 0;        // width of the trimmed line, on demand
    float Dist = 0, Angle = 0;  // offset of the line from its text's origin, in polar form

    // Appends a word of a CreateLinesList line: line + " " + word (also on an empty line).
    void AddWord(const std::string& word);
    // Appends a word of a CreateTextWordLines line, measuring it.
    void AddTextWord(const TAppTextWordPtr& word);

    // The line's drop shadow: black, alpha times the shadow's alpha, offset by the shadow's
    // offsets times the draw scale. Colour and alpha are restored.
    void DrawShadow(float x, float y, const TTextClass& cls) const;
    // The line four times at the one-pixel diagonals in the outline colour. Restores state.
    void DrawOutline(float x, float y, const TTextClass& cls) const;
    // Shadow, outline and body, each under the alpha in force before the call. Returns 0.
    float Draw(float x, float y, const TTextClass* cls) const;
    // The words at their laid-out places in the current draw state; under a rotation or a scale
    // other than 1 the words are placed by their polar offsets (CountWordsAngles). Returns 0.
    float DrawJust(float x, float y, const TClass* cls) const;

    float GetHalfWidth();
    float GetFullWidth();
    void CountWordsAngles();
    void CountFullHalfWidth();
    void CountFullWidth();
    // Justified layout: the first word at 0 and the last ending at WrapWidth.
    void CountAll();
};
using TAppTextLinePtr = std::shared_ptr<TAppTextLine>;

// A CreateLinesList line started with its first word (no leading space).
TAppTextLinePtr CreateTextLine(const std::string& word);

// The wrapping functions. They share the globals below, which every wrap clears: consume the
// result of one wrap before the next.
class TextProcesor {
public:
    static inline std::vector<std::string> Words;          // the words of the last wrap
    static inline std::vector<TAppTextLinePtr> TextLines;  // lines of the last object wrap
    static inline std::vector<std::string> TextLineTexts;  // lines of the last string wrap
    static inline std::string Line;                        // pending last line of CreateWordLines
    static inline TAppTextLinePtr LineObj;                 // line being filled by CreateLinesList
    static inline std::vector<std::string> CurrTextLines;  // lines of the last CreateLines
    static inline std::vector<float> CurrLinesWidth;       // the width of each of them

    // Lines of positioned words, each laid out by CountAll; an empty text gives one line
    // holding one empty word.
    static std::vector<TAppTextLinePtr> CreateTextWordLines(const std::string& text, float width);
    // String lines into TextLineTexts, the last one left in Line.
    static void CreateWordLines(const std::string& text, float width);
    // CurrTextLines and CurrLinesWidth from TextLineTexts and a non-empty Line.
    static void CreateLinesArrays();
    // Selects the current text class's font when it has one, then wraps into CurrTextLines.
    static void CreateLines(const std::string& text, float width);
    // Lines of plain words into TextLines (no CountAll).
    static void CreateLinesList(const std::string& text, float width);

    static void Reset();
};
