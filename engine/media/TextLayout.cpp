#include "engine/media/TextLayout.h"

#include <cmath>

#include "engine/basics/Basics.h"
#include "engine/media/StyledText.h"
#include "engine/media/TextClass.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

namespace {

TextRenderer gRenderer;

// The wrap rule: the word joins the line when the joined text still fits (an exact fit counts).
bool Fits(const std::string& current, const std::string& word, float width) {
    return static_cast<float>(LayoutTextWidth(current + " " + word)) <= width;
}

}  // namespace

void SetTextRenderer(const TextRenderer& renderer) { gRenderer = renderer; }
void ResetTextRenderer() { gRenderer = TextRenderer{}; }

int LayoutTextWidth(const std::string& text) { return gRenderer.Width ? gRenderer.Width(text) : TextWidth(text); }
int LayoutTextHeight(const std::string& text) { return gRenderer.Height ? gRenderer.Height(text) : TextHeight(text); }
void LayoutDrawText(const std::string& text, float x, float y) {
    if (gRenderer.Draw) gRenderer.Draw(text, x, y);
    else DrawText(text, x, y);
}

// ---------------------------------------------------------------------------------------------

void TAppTextWord::Draw(float px, float py) const { LayoutDrawText(word, px, py); }

TAppTextWordPtr CreateTextWord(const std::string& word) {
    auto w = std::make_shared<TAppTextWord>();
    w->word = word;
    return w;
}

void TAppTextLine::AddWord(const std::string& word) {
    list.push_back(CreateTextWord(word));
    line = line + " " + word;
    width += static_cast<float>(LayoutTextWidth(word));
}

void TAppTextLine::AddTextWord(const TAppTextWordPtr& word) {
    if (!word) return;
    list.push_back(word);
    line = line.empty() ? word->word : line + " " + word->word;
    width += static_cast<float>(LayoutTextWidth(word->word));
    SpaceWidth += static_cast<float>(LayoutTextWidth(" "));
    float h = static_cast<float>(LayoutTextHeight(word->word));
    if (h > height) height = h;
}

void TAppTextLine::DrawShadow(float x, float y, const TTextClass& cls) const {
    if (!cls.Shadow) return;
    float a = GetAlpha();
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    int r, g, b;
    GetColor(r, g, b);
    SetColor(0, 0, 0);
    SetAlpha(a * cls.Shadow->x);
    LayoutDrawText(line, x + cls.Shadow->y * sx, y + cls.Shadow->w * sy);
    SetColor(r, g, b);
    SetAlpha(a);
}

void TAppTextLine::DrawOutline(float x, float y, const TTextClass& cls) const {
    if (!cls.OutLIne) return;
    float a = GetAlpha();
    int r, g, b;
    GetColor(r, g, b);
    SetAlpha(a * cls.OutLIne->a);
    SetColor(cls.OutLIne->r, cls.OutLIne->g, cls.OutLIne->b);
    LayoutDrawText(line, x - 1, y - 1);
    LayoutDrawText(line, x + 1, y - 1);
    LayoutDrawText(line, x - 1, y + 1);
    LayoutDrawText(line, x + 1, y + 1);
    SetColor(r, g, b);
    SetAlpha(a);
}

float TAppTextLine::Draw(float x, float y, const TTextClass* cls) const {
    if (!cls) {
        LayoutDrawText(line, x, y);
        return 0.0f;
    }
    if (cls->Shadow) DrawShadow(x, y, *cls);
    if (cls->OutLIne) DrawOutline(x, y, *cls);
    float a = GetAlpha();
    int r, g, b;
    GetColor(r, g, b);
    if (cls->Rgb) {
        SetColor(cls->Rgb->r, cls->Rgb->g, cls->Rgb->b);
        SetAlpha(a * cls->Rgb->a);
    }
    LayoutDrawText(line, x, y);
    // Every line of a text is drawn at the alpha in force before the first one.
    SetColor(r, g, b);
    SetAlpha(a);
    return 0.0f;
}

float TAppTextLine::DrawJust(float x, float y, const TClass* cls) const {
    (void)cls;  // justified words are drawn in the draw state as it stands
    float r = GetRotation();
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    if (r != 0.0f || sx != 1.0f || sy != 1.0f) {
        for (const auto& w : list) {
            if (!w) continue;
            double ang = static_cast<double>(w->Angle) + r;
            int dx = TruncToInt(CosDeg(ang) * w->Dist * sx);
            int dy = TruncToInt(SinDeg(ang) * w->Dist * sy);
            w->Draw(x + static_cast<float>(dx), y + static_cast<float>(dy));
        }
    } else {
        for (const auto& w : list)
            if (w) w->Draw(x + w->x, y);
    }
    return 0.0f;
}

float TAppTextLine::GetHalfWidth() {
    if (FullHalfWidth == 0.0f) CountFullHalfWidth();
    return FullHalfWidth;
}

float TAppTextLine::GetFullWidth() {
    if (FullWidth == 0.0f) CountFullWidth();
    return FullWidth;
}

void TAppTextLine::CountWordsAngles() {
    for (const auto& w : list) {
        if (!w) continue;
        w->Dist = w->x;
        w->Angle = w->x < 0.0f ? 180.0f : 0.0f;  // ATan2(0, x) in degrees
    }
}

void TAppTextLine::CountFullHalfWidth() {
    if (FullWidth == 0.0f) CountFullWidth();
    FullHalfWidth = FullWidth * 0.5f;
}

void TAppTextLine::CountFullWidth() { FullWidth = static_cast<float>(LayoutTextWidth(Trim(line))); }

void TAppTextLine::CountAll() {
    CountFullHalfWidth();
    Space = WrapWidth - width;
    // A line of one word has no gap to spread (its word simply starts at 0).
    float gap = list.size() > 1 ? Space / static_cast<float>(list.size() - 1) : 0.0f;
    float x = 0.0f;
    for (const auto& w : list) {
        if (!w) continue;
        w->x = x;
        x = x + (static_cast<float>(LayoutTextWidth(w->word)) + gap);
    }
}

TAppTextLinePtr CreateTextLine(const std::string& word) {
    auto l = std::make_shared<TAppTextLine>();
    l->list.push_back(CreateTextWord(word));
    l->line = word;
    l->width = static_cast<float>(LayoutTextWidth(word));
    return l;
}

// ---------------------------------------------------------------------------------------------

std::vector<TAppTextLinePtr> TextProcesor::CreateTextWordLines(const std::string& text, float width) {
    Words = SplitString(text, " ");
    TextLines.clear();
    auto cur = std::make_shared<TAppTextLine>();
    cur->WrapWidth = width;
    TextLines.push_back(cur);
    // The words of the current line joined by single spaces: what the wrap rule measures.
    std::string joined;
    if (Words.empty()) {
        cur->AddTextWord(CreateTextWord(""));
    } else {
        cur->AddTextWord(CreateTextWord(Words[0]));
        joined = Words[0];
        for (size_t i = 1; i < Words.size(); ++i) {
            const std::string& w = Words[i];
            if (Fits(joined, w, width)) {
                cur->AddTextWord(CreateTextWord(w));
                joined += " " + w;
            } else {
                cur->CountAll();
                cur = std::make_shared<TAppTextLine>();
                cur->WrapWidth = width;
                cur->AddTextWord(CreateTextWord(w));
                TextLines.push_back(cur);
                joined = w;
            }
        }
    }
    cur->CountAll();
    return TextLines;
}

void TextProcesor::CreateWordLines(const std::string& text, float width) {
    Words = SplitString(text, " ");
    TextLines.clear();
    TextLineTexts.clear();
    Line.clear();
    if (Words.empty()) return;
    Line = Words[0];
    for (size_t i = 1; i < Words.size(); ++i) {
        if (Fits(Line, Words[i], width)) {
            Line += " " + Words[i];
        } else {
            TextLineTexts.push_back(Line);
            Line = Words[i];
        }
    }
}

void TextProcesor::CreateLinesArrays() {
    if (!Line.empty()) TextLineTexts.push_back(Line);
    CurrTextLines = TextLineTexts;
    CurrLinesWidth.clear();
    CurrLinesWidth.reserve(CurrTextLines.size());
    for (const auto& l : CurrTextLines) CurrLinesWidth.push_back(static_cast<float>(LayoutTextWidth(l)));
}

void TextProcesor::CreateLines(const std::string& text, float width) {
    const auto& cls = AppGlobalManager::CurrTextClass;
    if (cls && cls->Font) SetImageFont(cls->Font);
    CreateWordLines(text, width);
    CreateLinesArrays();
}

void TextProcesor::CreateLinesList(const std::string& text, float width) {
    Words = SplitString(text, " ");
    TextLines.clear();
    TextLineTexts.clear();
    LineObj.reset();
    if (Words.empty()) return;
    LineObj = CreateTextLine(Words[0]);
    for (size_t i = 1; i < Words.size(); ++i) {
        if (Fits(LineObj->line, Words[i], width)) {
            LineObj->AddWord(Words[i]);
        } else {
            TextLines.push_back(LineObj);
            LineObj = CreateTextLine(Words[i]);
        }
    }
    TextLines.push_back(LineObj);
}

void TextProcesor::Reset() {
    Words.clear();
    TextLines.clear();
    TextLineTexts.clear();
    Line.clear();
    LineObj.reset();
    CurrTextLines.clear();
    CurrLinesWidth.clear();
}
