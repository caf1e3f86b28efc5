#include "game/levels/Tile.h"

#include "engine/window/Mouse.h"
#include "game/levels/Level.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/BoardView.h"
#include "platform/Strings.h"

float TTile::CurrAlpha = 0.0f;
float TTile::CurrScale = 0.0f;

int TTile::Free() {
    Level = nullptr;
    return 0;
}

int TTile::isOver() { return Mouse::InRect(ox, oy, oh, ow); }

int TTile::SetDrawPosition(float px, float py) {
    DrawX = px;
    DrawY = py;
    // A level file can place the board anywhere (it is centred right after): saturate, never
    // overflow, while it is far off.
    ow = oh = TruncToInt(GridSizeAt(size));
    ox = TruncToInt(DrawX - GridSizeHalfAt(size));
    oy = TruncToInt(DrawY - GridSizeHalfAt(size));
    return 0;
}

int TTile::SetFlyingTile(const std::shared_ptr<TFlyingTile>& flyingTile) {
    auto* level = dynamic_cast<TPACLevel*>(Level);
    if (!level) {
        FlyingTile = flyingTile;
        return 0;
    }
    for (int l = 0; l < level->Colors; ++l) {
        if (auto t = level->Tile.At(l, x, y)) t->FlyingTile = flyingTile;
    }
    return 0;
}

TPACLevel* TPTile::PacLevel() const { return dynamic_cast<TPACLevel*>(Level); }

int TPTile::Free() {
    Level = nullptr;
    pCover = nullptr;
    pError = nullptr;
    pTile = nullptr;
    pMark = nullptr;
    return 0;
}

std::shared_ptr<TRGB> TPTile::MyRGB() { return TileRGBOfId(isTile); }

int TPTile::isSolved() {
    if (TPACLevel* level = PacLevel()) {
        for (int l = 0; l < level->Colors; ++l) {
            auto t = level->Tile.At(l, x, y);
            // Only the layer of the cell's own colour has a box, so looking at that tile's own
            // flag is the whole of its answer (and cannot loop back here).
            if (t && t.get() != this && t->pTile && t->isCovered == 0) return 1;
        }
    }
    return isCovered == 0 ? 1 : 0;
}

int TPTile::Show(int delay, int releaseHint) {
    // A tile freed with its level belongs to no puzzle any more.
    if (!Level || isSolved() == 1) return 0;
    if (isTile != 0) {
        if (pTile) {
            pTile->Show(delay);
            pTile->isRight = 1;
            if (releaseHint != 0) pTile->ReleaseHintAdd();
        }
        Level->AddScore(TileScoreAdd);
        isCovered = 0;
        return 1;
    }
    if (pMark) pMark->Show(delay);
    if (pError) pError->Show(delay);
    isError = 1;
    if (TBoardView* board = PlayingBoard()) board->BoardMistake();
    isCovered = 0;
    return 0;
}

int TPTile::Mark(int delay) {
    if (!Level || isSolved() == 1) return 0;
    if (isTile != 0) {
        if (pTile) pTile->Show(delay);
        if (pError) pError->Show(delay);
        isError = 1;
        if (TBoardView* board = PlayingBoard()) board->BoardMistake();
        isCovered = 0;
        return 0;
    }
    if (pMark) pMark->Show(delay);
    isCovered = 0;
    return 1;
}

int TPTile::SetupAfterChange() {
    pTile = isTile != 0 ? std::make_shared<TTileBox>() : nullptr;
    return 0;
}

int TPTile::SetupAfterLoading() {
    if (isTile != 0) {
        pTile = std::make_shared<TTileBox>();
        if (isCovered == 1) pTile->Hide(0);
        else pTile->ShowNow();
    } else {
        pMark = std::make_shared<TTileMark>();
        if (isCovered == 1) pMark->Hide(0);
        else pMark->ShowNow();
    }
    if (!pError) pError = std::make_shared<TTileError>();
    if (isError == 1) pError->ShowNow();
    else pError->Hide(0);
    return 0;
}

int TPTile::AutoSolveTile() {
    if (pMark) Mark(0);
    return 0;
}

int TPTile::AutoSolve() {
    if (isCovered == 1) {
        isCovered = 0;
        SetupAfterLoading();
    }
    return 0;
}

int TPTile::isSomethingHappening() {
    if (pTile && pTile->isAction()) return 1;
    if (pError && pError->isAction()) return 1;
    if (pMark && pMark->isAction()) return 1;
    if (pCover && pCover->isAction()) return 1;
    return 0;
}

std::string TPTile::GetSaveString() const { return IntToString(isCovered) + "|" + IntToString(isError); }

int TPTile::GetFromString(const std::string& text) {
    // Pieces split at "|": empty inner pieces count, an empty last piece does not.
    std::string pieces[2];
    int count = 0;
    size_t start = 0;
    while (count < 2) {
        const size_t bar = text.find('|', start);
        if (bar == std::string::npos) {
            if (start < text.size()) pieces[count++] = text.substr(start);
            break;
        }
        pieces[count++] = text.substr(start, bar - start);
        start = bar + 1;
    }
    // The flags are 0 or 1; any other number in a hand-edited file counts as set.
    if (count > 0) isCovered = StringToInt(pieces[0]) != 0 ? 1 : 0;
    if (count > 1) isError = StringToInt(pieces[1]) != 0 ? 1 : 0;
    return 0;
}
