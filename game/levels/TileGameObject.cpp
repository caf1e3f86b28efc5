// The finished picture's cells for the level summary: TPACLevel::GetTileGameObject and the
// pictures it gathers.
#include "game/levels/TileGameObject.h"

#include "engine/data/ValueTypes.h"
#include "engine/ui/UI_Object.h"
#include "game/levels/Level.h"
#include "game/levels/BoardView.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "platform/Strings.h"

// The layer the game ended on; 0 without a game screen.
static int CurrentLayer() { return PlayingBoard() ? PlayingBoard()->BoardLayer() : 0; }

// A picture at (0, 0) under parent, on draw layer 5.
static std::shared_ptr<TUIImage> CellPicture(const TUIImageSource& image, TGameObject* parent) {
    auto picture = CreateUIImage(image, 0, 0, parent);
    if (picture) picture->DrawLayer = 5;
    return picture;
}

std::shared_ptr<TTileGameObject> TPACLevel::GetTileGameObject(int col, int row, TGameObject* parent) {
    auto cell = std::make_shared<TTileGameObject>();
    cell->Level = parent ? dynamic_cast<TGameObject*>(parent->Parent) : nullptr;
    if (parent) parent->AddObject(cell);
    if (auto tile = Tile.At(0, col, row)) {
        cell->SetX(tile->LevelX + GridSizeHalfAt(Size));
        cell->SetY(tile->LevelY + GridSizeHalfAt(Size));
    }
    cell->SetScaleX(GridScaleAt(Size));
    cell->SetScaleY(GridScaleAt(Size));
    cell->name = IntToString(col) + "," + IntToString(row);
    RemLayer = 0;
    std::shared_ptr<TUIImage> error, mark;
    auto box = GetTileBoxobject(col, row, cell.get());
    if (box) error = GetTileBoxCross(col, row, cell.get());
    else mark = GetTileMark(col, row, cell.get());
    if (box) {
        cell->Tile = box;
        if (RemLayer == CurrentLayer()) cell->isTileRevealed = 1;
    }
    if (error) cell->Error = error;
    if (mark) cell->Mark = mark;
    return cell;
}

std::shared_ptr<TUIImage> TPACLevel::GetTileBoxobject(int col, int row, TGameObject* parent) {
    for (int c = 0; c < Colors; ++c) {
        auto tile = Tile.At(c, col, row);
        if (!tile || !tile->pTile) continue;
        RemLayer = c;
        auto picture = CellPicture(tile->GetTileImage(), parent);
        if (auto rgb = tile->MyRGB()) picture->SetRGB(rgb->r, rgb->g, rgb->b);
        return picture;
    }
    return nullptr;
}

std::shared_ptr<TUIImage> TPACLevel::GetTileBoxCross(int col, int row, TGameObject* parent) {
    auto tile = Tile.At(RemLayer, col, row);
    if (!tile || !tile->pError) return nullptr;
    if (tile->pError->Alpha == 0.0f) return nullptr;
    if (RemLayer != CurrentLayer()) return nullptr;
    return CellPicture(TTile::ErrImg, parent);
}

std::shared_ptr<TUIImage> TPACLevel::GetTileMark(int col, int row, TGameObject* parent) {
    auto tile = Tile.At(RemLayer, col, row);
    if (!tile || !tile->pMark || isTileAtColRow(col, row) != 0) return nullptr;
    return CellPicture(TTile::XImg, parent);
}

std::shared_ptr<TUIImage> TPACLevel::GetTileEmpty(int col, int row, TGameObject* parent) {
    for (int c = 0; c < Colors; ++c) {
        auto tile = Tile.At(c, col, row);
        if (!tile || tile->pTile) continue;
        RemLayer = c;
        return CellPicture(TTile::GridImg, parent);
    }
    return nullptr;
}

int TTileGameObject::UpdatePer() {
    Per = Level ? Level->AnimationPer() : 0.0f;
    return 0;
}

int TTileGameObject::Update() {
    UpdatePer();
    if (Tile) Tile->SetA(1.0f);
    if (Error) Error->SetA(1.0f - Per);
    if (Mark) Mark->SetA(1.0f - Per);
    return 0;
}

int TTileGameObject::OnFree() {
    Level = nullptr;
    return 0;
}
