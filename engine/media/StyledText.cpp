#include "engine/media/StyledText.h"

#include "engine/media/AppFont.h"
#include "engine/media/TextLayout.h"
#include "platform/Graphics.h"

int AppGlobalManager::isClassGlobal(const TClass* cls) { return AppClassManager::isClass(cls); }

void AppGlobalManager::SetTextClass(const TTextClassPtr& cls) { CurrTextClass = cls; }

void AppGlobalManager::SetTextClassById(const std::string& id) { SetTextClass(AppClassManager::GetTextClass(id, 0)); }

void AppGlobalManager::DrawClassTextShadow(const std::string& text, float x, float y) {
    if (!CurrTextClass || !CurrTextClass->Shadow) return;
    const TDim& s = *CurrTextClass->Shadow;
    SetAlpha(s.x * RemA);
    SetColor(0, 0, 0);
    LayoutDrawText(text, x + s.y, y + s.w);
}

void AppGlobalManager::DrawClassTextOutline(const std::string& text, float x, float y) {
    if (!CurrTextClass || !CurrTextClass->OutLIne) return;
    const TRGB& o = *CurrTextClass->OutLIne;
    SetColor(o.r, o.g, o.b);
    SetAlpha(o.a * RemA);
    LayoutDrawText(text, x - 1, y - 1);
    LayoutDrawText(text, x + 1, y - 1);
    LayoutDrawText(text, x - 1, y + 1);
    LayoutDrawText(text, x + 1, y + 1);
}

void AppGlobalManager::DrawClassText(const std::string& text, float x, float y) {
    if (text.empty()) return;
    if (!CurrTextClass) {
        LayoutDrawText(text, x, y);
        return;
    }
    // Keep the class alive for the call even if a layer's caller swaps the current class.
    TTextClassPtr cls = CurrTextClass;
    PushSettings();
    SetBlend(ALPHABLEND);
    if (cls->Font) SetImageFont(cls->Font);
    if (cls->Shadow) DrawClassTextShadow(text, x, y);
    if (cls->OutLIne) DrawClassTextOutline(text, x, y);
    if (cls->Rgb) {
        SetColor(cls->Rgb->r, cls->Rgb->g, cls->Rgb->b);
        SetAlpha(RemA * cls->Rgb->a);
    } else {
        SetColor(RemR, RemG, RemB);
        SetAlpha(RemA);
    }
    LayoutDrawText(text, x, y);
    PopSettings();
}

void AppGlobalManager::DrawClassTextRight(const std::string& text, float x, float y) {
    DrawClassText(text, x - GetAppTextWidth(text), y);
}

void AppGlobalManager::DrawClassTextCenter(const std::string& text, float x, float y) {
    DrawClassText(text, x - GetAppTextWidth(text) / 2.0f, y);
}

void AppGlobalManager::DrawClassTextWrappedJust(const std::string& text, float x, float y, float width, float vSpace) {
    if (text.empty()) return;
    // Wrap, space and draw in one font.
    if (CurrTextClass && CurrTextClass->Font) SetImageFont(CurrTextClass->Font);
    TextProcesor::CreateLinesList(text, width);
    // The lines are copied out: drawing must not depend on the wrap's shared globals.
    const auto lines = TextProcesor::TextLines;
    for (const auto& l : lines) {
        if (!l || l->list.empty()) continue;
        float gap = (width - l->width) / static_cast<float>(l->list.size());
        float cx = x;
        for (const auto& w : l->list) {
            if (!w) continue;
            DrawClassText(w->word, cx, y);
            cx = cx + static_cast<float>(LayoutTextWidth(w->word)) + gap;
        }
        y = y + static_cast<float>(LayoutTextHeight(l->line)) + vSpace;
    }
}

void AppGlobalManager::DrawClassTextWrapped(const std::string& text, float x, float y, float width, int align,
                                            float vSpace) {
    if (text.empty()) return;
    if (align == 3) {
        DrawClassTextWrappedJust(text, x, y, width, vSpace);
        return;
    }
    TextProcesor::CreateLines(text, width);
    const auto lines = TextProcesor::CurrTextLines;
    for (const auto& line : lines) {
        switch (align) {
            case 0: DrawClassText(line, x, y); break;
            case 2: DrawClassTextRight(line, x + width, y); break;
            case 1: DrawClassTextCenter(line, x + width * 0.5f, y); break;
            default: break;
        }
        y = y + static_cast<float>(LayoutTextHeight(line)) + vSpace;
    }
}

float AppGlobalManager::GetAppTextWidth(const std::string& text) {
    if (CurrTextClass && CurrTextClass->Font) SetImageFont(CurrTextClass->Font);
    return static_cast<float>(LayoutTextWidth(text));
}

float AppGlobalManager::GetAppTextheight(const std::string& text) {
    if (CurrTextClass && CurrTextClass->Font) SetImageFont(CurrTextClass->Font);
    return static_cast<float>(LayoutTextHeight(text));
}

void AppGlobalManager::PushSettings() {
    RemA = GetAlpha();
    GetColor(RemR, RemG, RemB);
    RemFont = GetImageFont();
    RemBlend = GetBlend();
}

void AppGlobalManager::PopSettings() {
    SetAlpha(RemA);
    SetColor(RemR, RemG, RemB);
    SetImageFont(RemFont);
    SetBlend(RemBlend);
}

void AppGlobalManager::Reset() {
    CurrTextClass.reset();
    RemR = RemG = RemB = 255;
    RemA = 1.0f;
    RemFont.reset();
    RemBlend = ALPHABLEND;
}

// ---------------------------------------------------------------------------------------------

void SetTextClass(const TTextClassPtr& cls) { AppGlobalManager::SetTextClass(cls); }
void SetTextClassById(const std::string& id) { AppGlobalManager::SetTextClassById(id); }

int GetClassTextWidth(const std::string& text) {
    const auto& cls = AppGlobalManager::CurrTextClass;
    return cls ? cls->GetWidth(text) : LayoutTextWidth(text);
}

int GetClassTextHeight(const std::string& text) {
    const auto& cls = AppGlobalManager::CurrTextClass;
    return cls ? cls->GetHeight(text) : LayoutTextHeight(text);
}

void DrawClassText(const std::string& text, float x, float y) { AppGlobalManager::DrawClassText(text, x, y); }
void DrawClassTextRight(const std::string& text, float x, float y) { AppGlobalManager::DrawClassTextRight(text, x, y); }
void DrawClassTextCenter(const std::string& text, float x, float y) {
    AppGlobalManager::DrawClassTextCenter(text, x, y);
}
void DrawClassTextWrapped(const std::string& text, float x, float y, int width, int align, float vSpace) {
    AppGlobalManager::DrawClassTextWrapped(text, x, y, static_cast<float>(width), align, vSpace);
}
