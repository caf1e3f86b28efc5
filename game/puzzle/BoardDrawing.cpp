// The clue-grid board, drawn once a frame: the size label, the shaded backs behind the row and
// column clues, the tiles, the dividers between blocks of five cells, the clue numbers of the
// current colour, the hover, the held line and the waste icon at the pointer.
#include <algorithm>
#include <string>

#include "engine/data/ValueTypes.h"
#include "engine/window/Mouse.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Strings.h"

// A tile's own place.
constexpr float kOwnPlace = -150000.0f;

int isColorTooDark(const TRGB& rgb) {
    const int m = MainGame_PACLogic::MinCol;
    return (rgb.r < m && rgb.g < m && rgb.b < m) ? 1 : 0;
}

int MainGame_PACLogic::PAC_DrawLevel() {
    if (!CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    PAC_DrawDims();
    PAC_DrawNumbersBacks();
    SetColor(255, 255, 255);
    for (int x = 0; x < level.Cols; ++x)
        for (int y = 0; y < level.Rows; ++y)
            if (auto t = GetShownTile(x, y)) t->Draw(kOwnPlace, kOwnPlace);
    PAC_DrawDividors();
    PAC_DrawNumbers();
    PAC_DrawEditor();
    PAC_DrawOver();
    PAC_DrawHolded();
    if (isWasteOver() == 1 && HoldedList && !HoldedList->empty()) {
        SetColor(255, 255, 255);
        SetRotation(0.0f);
        SetScale(1.0f, 1.0f);
        SetBlend(3);
        SetAlpha(1.0f);
        DrawImg(Waste, static_cast<float>(Mouse::x), static_cast<float>(Mouse::y));
    }
    return 0;
}

int MainGame_PACLogic::PAC_DrawDims() {
    int left = 0, top = 0;
    // Invisible during the opening fly-in.
    if (NumbersAlpha <= 0.0f || !BoardCorner(left, top)) return 0;
    SetAlpha(NumbersAlpha);
    SetColor(255, 255, 255);
    SetScale(0.5f, 0.5f);
    SetRotation(0.0f);
    SetBlend(3);
    auto t = CurrPacLevel->Tile.At(0, 0, 0);
    const float g = GridSizeAt(CurrPacLevel->Size);
    // Centred 68 pixels left of the grid, but kept on screen: the widest boards in the 4:3
    // picture stand close to its left edge (the label still ends left of their grid).
    const int halfLabel = (DimPanel ? DimPanel->GetWidth() : 0) / 4;  // drawn at half size
    const int px = std::max(static_cast<int>(t->DrawX - g * 0.5f - 68.0f), halfLabel + 2);
    const int py = static_cast<int>(t->DrawY - g * 0.5f - 24.0f);
    DrawImg(DimPanel, static_cast<float>(px), static_cast<float>(py));
    SetScale(1.0f, 1.0f);
    SetColor(0, 0, 0);
    SetImageFont(DimFont);
    const std::string text = IntToString(CurrPacLevel->Cols) + "x" + IntToString(CurrPacLevel->Rows);
    const int tx = px - TextWidth(text) / 2;
    const int ty = py - 2 - TextHeight(text) / 2;
    SetAlpha(NumbersAlpha);
    DrawText(text, static_cast<float>(tx + 1), static_cast<float>(ty + 1));
    SetColor(252, 223, 26);
    DrawText(text, static_cast<float>(tx), static_cast<float>(ty));
    return 0;
}

// The backs behind the row clues (left of the board) and the column clues (above it), and the
// guide lines under the tiles that show where a block of five ends while a tile is away.
static void DrawNumbersBacks(const TPACLevel& level, const TImgPtr& rowBack, const TImgPtr& colBack, float alpha,
                             int left, int top, float w) {
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    if (w > 0.0f) {
        SetScale(static_cast<float>(level.NumbersWidth + 32) / w * 1.2f, static_cast<float>(level.GridHeight));
        DrawImg(rowBack, static_cast<float>(left), static_cast<float>(top));
        SetScale(static_cast<float>(level.GridWidth), static_cast<float>(level.NumbersHeight + 32) / w * 1.2f);
        DrawImg(colBack, static_cast<float>(left), static_cast<float>(top));
    }
    SetScale(1.0f, 1.0f);
    SetColor(0, 0, 0);
    SetAlpha(alpha * 0.5f);
    const float g = GridSizeAt(level.Size);
    const int cols = level.Cols;
    for (int k = 1; k <= cols; k += 5) {
        if (k == 1 || k == cols) continue;
        // On the left edge of column k - 1, where the divider above the tiles lies.
        auto t = level.Tile.At(0, k - 1, 0);
        if (!t) continue;
        DrawRect(t->DrawX - g * 0.5f - 1.0f, static_cast<float>(top), 2.0f, static_cast<float>(level.GridHeight));
    }
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
}

int MainGame_PACLogic::PAC_DrawNumbersBacks() {
    std::shared_ptr<TRGB> colour = GetCurrColorRGB();
    if (colour && isColorTooDark(*colour) && MainGameSettings::isColorSensitive == 0) return PAC_DrawNumbersBacks2();
    int left = 0, top = 0;
    if (NumbersAlpha <= 0.0f || !BoardCorner(left, top)) return 0;
    DrawNumbersBacks(*CurrPacLevel, Gradient, Gradient2, NumbersAlpha, left, top,
                     static_cast<float>(ImgWidth(Gradient)));
    return 0;
}

int MainGame_PACLogic::PAC_DrawNumbersBacks2() {
    int left = 0, top = 0;
    if (NumbersAlpha <= 0.0f || !BoardCorner(left, top)) return 0;
    DrawNumbersBacks(*CurrPacLevel, LightGradient, LightGradient2, NumbersAlpha, left, top,
                     static_cast<float>(ImgWidth(Gradient)));
    return 0;
}

int MainGame_PACLogic::PAC_DrawDividors() {
    int left = 0, top = 0;
    if (NumbersAlpha <= 0.0f || !BoardCorner(left, top)) return 0;
    const TPACLevel& level = *CurrPacLevel;
    const float g = GridSizeAt(level.Size);
    SetColor(0, 0, 0);
    SetAlpha(NumbersAlpha * 0.5f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    const int cols = level.Cols, rows = level.Rows;
    for (int k = 1; k <= cols; k += 5) {
        if (k == 1 || k == cols) continue;
        if (auto t = level.Tile.At(0, k - 1, 0))
            DrawRect(t->DrawX - g * 0.5f - 2.0f, static_cast<float>(top), 4.0f, static_cast<float>(level.GridHeight));
    }
    for (int k = 1; k <= rows; k += 5) {
        if (k == 1 || k == rows) continue;
        if (auto t = level.Tile.At(0, 0, k - 1))
            DrawRect(static_cast<float>(left), t->DrawY - g * 0.5f - 2.0f, static_cast<float>(level.GridWidth), 4.0f);
    }
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    return 0;
}

int MainGame_PACLogic::PAC_DrawNumbers() {
    if (!CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    const int c = CurrColorIndex;
    if (c < 0 || c >= level.Colors) return 0;
    for (int r = 0; r < level.Rows; ++r) {
        const auto& line = level.NumberH(c, r);
        line->Update();
        line->Draw();
    }
    for (int x = 0; x < level.Cols; ++x) {
        const auto& line = level.NumberV(c, x);
        line->Update();
        line->Draw();
    }
    return 0;
}

int MainGame_PACLogic::PAC_DrawOver() {
    if (!CurrOver || !CurrPacLevel) return 0;
    const TPACLevel& level = *CurrPacLevel;
    for (int x = 0; x < level.Cols; ++x)
        if (auto t = level.Tile.At(CurrColorIndex, x, CurrOver->y)) t->DrawOver();
    for (int y = 0; y < level.Rows; ++y)
        if (auto t = level.Tile.At(CurrColorIndex, CurrOver->x, y)) t->DrawOver();
    return 0;
}

int MainGame_PACLogic::PAC_DrawHolded() {
    if (!HoldedList) return 0;
    int n = 1;
    for (const auto& t : *HoldedList) {
        if (!t) continue;
        t->DrawHold(n, CurrTool == 0 ? HoldedMouseButton - 1 : 1);
        ++n;
    }
    return 0;
}
