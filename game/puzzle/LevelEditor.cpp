// The level editor of clue-grid levels, run on the game screen's board while the developer
// switch EditorOn is set: a palette of every play-field colour at the left edge (scrolled by the
// wheel) and a line with the level's position and size. A left click on a cell gives it the
// picked colour as its solution colour, a right click empties it; after each change the level
// rebuilds its colours, its tile layers and its clue numbers. The editor saves nothing itself.
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"
#include "engine/basics/Basics.h"
#include "engine/window/Mouse.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Strings.h"

// Palette swatches: 48 pixels square, 52 apart, at x 4.
constexpr int kSwatch = 48;
constexpr int kSwatchStep = 52;
constexpr int kSwatchX = 4;
// Pixels the palette moves per wheel step.
constexpr float kWheelStep = 25.0f;

int MainGame_PACLogic::PAC_Editor_Update() {
    PAC_Editor_Update_ColorPick();
    PAC_Editor_Update_ChangeTile();
    return 0;
}

int MainGame_PACLogic::PAC_Editor_Draw() {
    Editor_DrawColors();
    Editor_DrawInfo();
    return 0;
}

int MainGame_PACLogic::PAC_Editor_Update_ColorPick() {
    int hit = -1;
    for (int i = 0; i < static_cast<int>(TileRGB.size()); ++i) {
        const int y = static_cast<int>(ColorsY + static_cast<float>(kSwatchStep * i));
        if (Mouse::InRect(kSwatchX, y, kSwatch, kSwatch)) hit = i;
    }
    if (hit >= 0 && Mouse::LeftPressed) Editor_PickedColor = hit;
    if (Mouse::vz != 0.0f) ColorsY += Mouse::vz * kWheelStep;
    return 0;
}

int MainGame_PACLogic::PAC_Editor_Update_ChangeTile() {
    if (!TempOver || !CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    const int x = TempOver->x, y = TempOver->y;
    bool changed = false;
    if (Mouse::LeftPressed) {
        // The cell's colour in any other layer goes first: the rebuild lets a later layer's
        // colour win, which would leave the click without effect and the picked colour listed
        // with no cell of it.
        for (int c = 0; c < level.Colors; ++c)
            if (auto t = level.Tile.At(c, x, y)) t->isTile = 0;
        TempOver->isTile = Editor_PickedColor + 1;
        changed = true;
        level.RebuildLevelTiles();
        level.InitNumbers();
        level.CountNumbersPosition();
        level.InitColorCheck();
    }
    if (Mouse::RightPressed) {
        for (int c = 0; c < level.Colors; ++c)
            if (auto t = level.Tile.At(c, x, y)) {
                t->isTile = 0;
                t->SetupAfterLoading();
            }
        changed = true;
        level.RebuildLevelTiles();
        level.InitNumbers();
        level.CountNumbersPosition();
        level.InitColorCheck();
    }
    if (changed) {
        // The old tiles are gone: nothing may keep pointing at them, and the colour being played
        // must still be one of the level's.
        TempOver = nullptr;
        CurrOver = nullptr;
        LastCurrOver = nullptr;
        if (HoldedList) HoldedList->clear();
        HoldedList = nullptr;
        if (CurrColorIndex >= level.Colors) CurrColorIndex = 0;
    }
    return 0;
}

int MainGame_PACLogic::Editor_DrawColors() {
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetBlend(3);
    SetAlpha(1.0f);
    SetImageFont(nullptr);
    for (int i = 0; i < static_cast<int>(TileRGB.size()); ++i) {
        const float y = ColorsY + static_cast<float>(kSwatchStep * i);
        if (i == Editor_PickedColor) {
            SetColor(0, 0, 0);
            DrawRect(2.0f, y - 2.0f, 52.0f, 52.0f);
            SetColor(255, 255, 255);
            DrawRect(3.0f, y - 1.0f, 50.0f, 50.0f);
        }
        if (const auto& rgb = TileRGB[i]) SetColor(rgb->r, rgb->g, rgb->b);
        DrawRect(static_cast<float>(kSwatchX), y, static_cast<float>(kSwatch), static_cast<float>(kSwatch));
        SetColor(0, 0, 0);
        DrawText(IntToString(i + 1), 8.0f, y + 4.0f);
        if (CurrPacLevel)
            for (int colour : CurrPacLevel->ColorArr)
                if (colour == i + 1) DrawRect(56.0f, y + 24.0f, 8.0f, 2.0f);
        SetColor(255, 255, 255);
    }
    return 0;
}

int MainGame_PACLogic::Editor_DrawInfo() {
    if (!CurrPacLevel) return 0;
    SetColor(0, 0, 0);
    SetRotation(0.0f);
    SetImageFont(nullptr);
    SetBlend(3);
    SetScale(1.0f, 1.0f);
    const TPACLevel& level = *CurrPacLevel;
    const std::string text =
        "Position: " + FloatToString(level.x) + ", " + FloatToString(level.y) + "   Size: " + IntToString(level.Size);
    for (const auto& [dx, dy] : {std::pair{63.0f, 7.0f}, {65.0f, 7.0f}, {63.0f, 9.0f}, {65.0f, 9.0f}})
        DrawText(text, dx, dy);
    SetColor(255, 255, 255);
    DrawText(text, 64.0f, 8.0f);
    return 0;
}

int TMainGame::UpdateEditor() {
    if (EditorOn != 0 && CurrPacLevel && ActivePopUps.empty()) PAC_Editor_Update();
    return 0;
}

int TMainGame::DrawEditorDebug() {
    if (EditorOn != 0 && CurrPacLevel) PAC_Editor_Draw();
    return 0;
}
