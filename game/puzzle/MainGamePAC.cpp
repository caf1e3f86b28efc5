// Moves and judging on the clue-grid board: a move is a press on a tile, a drag along its row or
// column and a release; on release every still-covered tile of the line is judged at once
// (uncovered with the hand and the left button, crossed otherwise), while the tiles' overlays
// and sounds follow 25 ms apart. A release over the waste corner drops the line; the second
// button, or Space while a line is held, cancels it, and nothing starts again until every button
// is up. A press and its release within one frame (a quick click, a touchpad's tap) read as held
// for that frame (BeginInputFrame), so they make a one-tile line; a release and a new press within
// one frame judge the line and start the next.
#include <cstdlib>

#include "engine/window/Mouse.h"
#include "game/levels/Level.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Input.h"

int MainGame_PACLogic::MinCol = 75;
TImgPtr MainGame_PACLogic::Waste;
TImgPtr MainGame_PACLogic::DimPanel;
TImageFontPtr MainGame_PACLogic::DimFont;

// Space cancels the line held when it is pressed.
constexpr int kKeySpace = 32;

std::shared_ptr<TPTile> MainGame_PACLogic::GetShownTile(int x, int y) const {
    if (!CurrPacLevel) return nullptr;
    const TPACLevel& level = *CurrPacLevel;
    std::shared_ptr<TPTile> shown;
    for (int c = 0; c < level.Colors; ++c) {
        auto t = level.Tile.At(c, x, y);
        if (t && t->isTile != 0 && t->isSolved()) shown = t;
    }
    return shown ? shown : level.Tile.At(CurrColorIndex, x, y);
}

bool MainGame_PACLogic::BoardCorner(int& left, int& top) const {
    if (!CurrPacLevel) return false;
    auto t = CurrPacLevel->Tile.At(0, 0, 0);
    if (!t) return false;
    const float g = GridSizeAt(CurrPacLevel->Size);
    left = static_cast<int>(t->DrawX - g * 0.5f);
    top = static_cast<int>(t->DrawY - g * 0.5f);
    return true;
}

int MainGame_PACLogic::PAC_SetCurrTool(int tool) {
    CurrTool = tool;
    return 0;
}

int MainGame_PACLogic::PAC_UpdateLevel() {
    PAC_UpdateTiles();
    PAC_UpdateNumbers();
    PAC_UpdateRowsAndColsAutoClear();
    return 0;
}

int MainGame_PACLogic::PAC_UpdateTiles() {
    TempOver = nullptr;
    if (!CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    for (int c = 0; c < level.Colors; ++c)
        for (int x = 0; x < level.Cols; ++x)
            for (int y = 0; y < level.Rows; ++y) {
                const auto& t = level.Tile(c, x, y);
                if (!t) continue;
                t->Update();
                if (c == CurrColorIndex && t->isOver()) TempOver = t;
            }
    return 0;
}

int MainGame_PACLogic::PAC_UpdateNumbers() {
    TPNumber::UpdateNumberShine();
    TempOverNum = nullptr;
    if (!CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    for (int c = 0; c < level.Colors; ++c) {
        for (int r = 0; r < level.Rows && r < level.NumberH.Dim1(); ++r) {
            const auto& line = level.NumberH(c, r);
            line->Update();
            if (c == CurrColorIndex && line->OverNumber) TempOverNum = line->OverNumber;
        }
        for (int x = 0; x < level.Cols && x < level.NumberV.Dim1(); ++x) {
            const auto& line = level.NumberV(c, x);
            line->Update();
            if (c == CurrColorIndex && line->OverNumber) TempOverNum = line->OverNumber;
        }
    }
    return 0;
}

int MainGame_PACLogic::PAC_UpdateRowsAndColsAutoClear() {
    if (!CurrPacLevel) return 0;
    TPACLevel& level = *CurrPacLevel;
    const int c = CurrColorIndex;
    if (c < 0 || c >= level.Colors) return 0;
    int all = 1;
    for (int r = 0; r < level.Rows; ++r) {
        if (level.NumberH(c, r)->isDone == 1) level.ClearRow(c, r);
        else all = 0;
    }
    for (int x = 0; x < level.Cols; ++x) {
        if (level.NumberV(c, x)->isDone == 1) level.ClearColumn(c, x);
        else all = 0;
    }
    if (all == 1) {
        FinishColor(c);
        SetNextColor();
    }
    return 0;
}

int MainGame_PACLogic::PAC_UpdateOver() {
    CurrOver = TempOver;
    CurrOverNumber = TempOverNum;
    return 0;
}

int MainGame_PACLogic::MouseHoldedStart() {
    if (Mouse::LeftHolded) {
        HoldedMouseButton = 1;
        return 1;
    }
    if (Mouse::RightHolded) {
        HoldedMouseButton = 2;
        return 1;
    }
    HoldedMouseButton = 0;
    return 0;
}

int MainGame_PACLogic::MouseHolded() {
    if (HoldedMouseButton == 1) return Mouse::LeftHolded;
    if (HoldedMouseButton == 2) return Mouse::RightHolded;
    return 0;
}

int MainGame_PACLogic::PAC_UpdateControl() {
    // Space is read at every step, so that only a press made while a line is held drops it: one
    // made with no line held (long before, or on another screen) is forgotten, not kept for the
    // next line.
    const bool space = KeyHit(kKeySpace) != 0;
    // After a cancel nothing starts until every button is up: a button pressed meanwhile would
    // start a line of its own, judged at its release.
    if (WaitForButtonsUp != 0) {
        if (MousePhysicallyDown(1) || MousePhysicallyDown(2)) return 0;
        WaitForButtonsUp = 0;
    }
    const bool left = Mouse::LeftHolded != 0, right = Mouse::RightHolded != 0;
    const bool holding = HoldedList && !HoldedList->empty();
    if ((left && right) || (space && holding)) {
        PAC_ResetHolded();
        // The buttons count as up until they are pressed again, so that the screen's buttons take
        // no click from the release either.
        Mouse::Clear();
        FlushKeys();
        WaitForButtonsUp = 1;
        return 0;
    }
    if (HoldedList) {
        // Let go since the last frame, even when pressed again since: the line is judged, and a
        // press after that release starts the next one.
        const int button = HoldedMouseButton;
        if (Mouse::LetGo(button)) {
            PAC_UseTool(button);
            if (CurrOver && Mouse::Pressed(button) > 0) PAC_StartLine(button);
        } else if (LastCurrOver != CurrOver && CurrOver) {
            PAC_CreateHoldedList();
        }
    } else if (CurrOver && MouseHoldedStart() == 1) {
        PAC_StartLine(HoldedMouseButton);
    }
    LastCurrOver = CurrOver;
    return 0;
}

int MainGame_PACLogic::PAC_StartLine(int button) {
    HoldedMouseButton = button;
    HoldedList = std::make_shared<std::vector<std::shared_ptr<TPTile>>>();
    HoldedList->push_back(CurrOver);
    return 0;
}

int MainGame_PACLogic::PAC_CreateHoldedList() {
    if (!HoldedList || HoldedList->empty() || !CurrOver) return 0;
    const std::shared_ptr<TPTile> anchor = HoldedList->front();
    const int dx = CurrOver->x - anchor->x;
    const int dy = CurrOver->y - anchor->y;
    if (std::abs(dx) > std::abs(dy)) PAC_CreateHolded_Poziomo(anchor, dx);
    else PAC_CreateHolded_Pionowo(anchor, dy);
    return 0;
}

// The run of cells from the anchor to anchor + d along one axis, anchor first.
template <class CellAt>
static void BuildRun(std::vector<std::shared_ptr<TPTile>>& list, int from, int d, CellAt cellAt) {
    list.clear();
    const int step = d > 0 ? 1 : (d < 0 ? -1 : 0);
    for (int k = from;; k += step) {
        if (auto t = cellAt(k)) list.push_back(t);
        if (k == from + d) break;
    }
}

int MainGame_PACLogic::PAC_CreateHolded_Poziomo(const std::shared_ptr<TPTile>& anchor, int dx) {
    if (!HoldedList || !CurrPacLevel) return 0;
    BuildRun(*HoldedList, anchor->x, dx, [&](int k) { return CurrPacLevel->GetTile(CurrColorIndex, k, anchor->y); });
    return 0;
}

int MainGame_PACLogic::PAC_CreateHolded_Pionowo(const std::shared_ptr<TPTile>& anchor, int dy) {
    if (!HoldedList || !CurrPacLevel) return 0;
    BuildRun(*HoldedList, anchor->y, dy, [&](int k) { return CurrPacLevel->GetTile(CurrColorIndex, anchor->x, k); });
    return 0;
}

int MainGame_PACLogic::PAC_ResetHolded() {
    if (HoldedList) HoldedList->clear();
    return 0;
}

int MainGame_PACLogic::PAC_UseTool(int button) {
    if (isWasteOver() == 1) {
        PAC_ResetHolded();
        FlushMouse();
        FlushKeys();
        return 0;
    }
    if (HoldedList && CurrPacLevel) {
        // A copy: judging may end the level, which must not touch the line being judged.
        const std::vector<std::shared_ptr<TPTile>> line = *HoldedList;
        const std::shared_ptr<TPACLevel> level = CurrPacLevel;
        int i = 0;
        for (const auto& t : line) {
            if (!t || t->isCovered == 0) continue;
            const int delay = i * UnCoverTimeInterwal;
            if (CurrTool == 0 && button == 1) {
                if (t->Show(delay, 1) == 1) level->TIlesUncovered += 1;
            } else {
                if (t->Mark(delay) == 1) level->TilesCrossed += 1;
            }
            ++i;
        }
    }
    if (HoldedList) HoldedList->clear();
    HoldedList = nullptr;
    return 0;
}

int MainGame_PACLogic::isWasteOver() {
    int left = 0, top = 0;
    if (!BoardCorner(left, top)) return 0;
    return (Mouse::x < left && Mouse::y < top) ? 1 : 0;
}
