// Play on a neighbour-count level: the left button paints with the current colour, the right
// button crosses out in the current colour's layer, each by dragging over the cells. A drag that
// begins on a cell painted in the current colour clears paint instead, and one that begins on a
// cell crossed in the current colour removes that colour's crosses.
#include "engine/window/Mouse.h"
#include "game/levels/FAPLevel.h"
#include "game/puzzle/MainGame.h"
#include "platform/Graphics.h"

// A cell's own place.
constexpr float kOwnPlace = -150000.0f;

int MainGame_FAPLogic::FAP_UpdateLevel() {
    FAP_UpdateTiles();
    FAP_UpdateOver();
    return 0;
}

int MainGame_FAPLogic::FAP_UpdateTiles() {
    TempFapOver = nullptr;
    if (!CurrFapLevel) return 0;
    TFAPLevel& level = *CurrFapLevel;
    for (int x = 0; x < level.Cols; ++x)
        for (int y = 0; y < level.Rows; ++y) {
            const auto& t = level.Tile.At(x, y);
            if (!t) continue;
            t->Update();
            if (t->isOver()) TempFapOver = t;
        }
    return 0;
}

int MainGame_FAPLogic::FAP_UpdateOver() {
    CurrFapOver = TempFapOver;
    return 0;
}

int MainGame_FAPLogic::FAP_UpdateControl() {
    const bool left = Mouse::LeftHolded != 0, right = Mouse::RightHolded != 0;
    if (left && right) {
        HoldedMouseButton = 0;
        return 0;
    }
    if (!CurrFapOver || !CurrFapLevel) return 0;
    TFTile& cell = *CurrFapOver;
    const int index = CurrColorIndex;
    const int colour =
        (index >= 0 && index < static_cast<int>(CurrFapLevel->ColorArr.size())) ? CurrFapLevel->ColorArr[index] : 0;
    if (HoldedMouseButton != 0) {
        if (!left && !right) HoldedMouseButton = 0;
        switch (HoldedMouseButton) {
            case 1: cell.Show(colour); break;
            case 2: cell.Mark(index); break;
            case 3: cell.Show(0); break;
            case 4: cell.UnMark(index); break;
            default: break;
        }
        return 0;
    }
    // A new drag; the call that starts it changes no cell.
    if (left) HoldedMouseButton = 1;
    if (right) HoldedMouseButton = 2;
    if (HoldedMouseButton == 1 && cell.isTiled() && cell.CurrColor == colour) HoldedMouseButton = 3;
    else if (HoldedMouseButton == 2 && cell.isMarked(index)) HoldedMouseButton = 4;
    return 0;
}

int MainGame_FAPLogic::FAP_DrawLevel() {
    if (!CurrFapLevel) return 0;
    TFAPLevel& level = *CurrFapLevel;
    SetColor(255, 255, 255);
    for (int x = 0; x < level.Cols; ++x)
        for (int y = 0; y < level.Rows; ++y)
            if (const auto& t = level.Tile.At(x, y)) t->Draw(kOwnPlace, kOwnPlace);
    FAP_DrawOver();
    FAP_DrawEditor();
    return 0;
}

int MainGame_FAPLogic::FAP_DrawOver() {
    if (CurrFapOver) CurrFapOver->DrawOver();
    return 0;
}
