// Drawing of tiles and of their overlays, and the tile images every tile shares.
#include <memory>

#include "engine/data/ValueTypes.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/levels/BoardView.h"
#include "game/levels/Level.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "game/levels/TileOverlays.h"
#include "platform/Graphics.h"

std::array<std::shared_ptr<TImageAsset>, 1> TTile::TileImg;
std::shared_ptr<TImageAsset> TTile::XImg;
std::shared_ptr<TImageAsset> TTile::XFillImg;
std::shared_ptr<TImageAsset> TTile::ErrImg;
std::shared_ptr<TImageAsset> TTile::GridImg;
std::shared_ptr<TImageAsset> TTile::HoldImg;
std::shared_ptr<TImageAsset> TTile::HammerImg;
std::array<std::shared_ptr<TImageAsset>, 2> TTileNumber::DotImg;

// ---------------------------------------------------------------------------------------------
// Overlays

int TTileAdd::DrawingSet(const TTile& tile) {
    Update();
    if (Alpha == 0.0f || Scale == 0.0f) return 1;
    SetAlpha(Alpha * TTile::CurrAlpha);
    const float s = Scale * GridScaleAt(tile.size) * TTile::CurrScale;
    SetScale(s, s);
    SetRotation(Rotation);
    return 0;
}

int TTileAdd::Draw(float x, float y, TTile& tile) {
    SetDrawPlace(x, y, tile);
    return 0;
}

int TTileAdd::DrawImageOverlay(const std::shared_ptr<TImageAsset>& image, float x, float y, TTile& tile) {
    SetDrawPlace(x, y, tile);
    if (DrawingSet(tile) == 1) return 0;
    DrawImageAsset(image, x, y, -1, 1.0f);
    return 0;
}

int TTileCover::Draw(float x, float y, TTile& tile) { return DrawImageOverlay(TTile::GridImg, x, y, tile); }

int TTileMark::Draw(float x, float y, TTile& tile) { return DrawImageOverlay(TTile::XImg, x, y, tile); }

int TTileError::Draw(float x, float y, TTile& tile) {
    SetDrawPlace(x, y, tile);
    if (DrawingSet(tile) == 1) return 0;
    const float qx = static_cast<float>(tile.ow / 4);
    const float qy = static_cast<float>(tile.oh / 4);
    float sx, sy;
    GetScale(sx, sy);
    SetScale(sx * 0.4f, sy * 0.4f);
    DrawImageAsset(TTile::ErrImg, x + qx, y + qy, -1, 1.0f);
    SetScale(sx, sy);
    return 0;
}

int TTileBox::Draw(float x, float y, TTile& tile) {
    SetDrawPlace(x, y, tile);
    if (DrawingSet(tile) == 1) return 0;
    if (auto rgb = tile.MyRGB()) SetColor(rgb->r, rgb->g, rgb->b);
    DrawImageAsset(tile.GetTileImage(), x, y, -1, 1.0f);
    SetColor(255, 255, 255);
    return 0;
}

int TTileBox::DrawForced(float x, float y, TTile& tile) {
    SetAlpha(1.0f);
    SetScale(GridScaleAt(tile.size), GridScaleAt(tile.size));
    SetRotation(0.0f);
    if (auto rgb = tile.MyRGB()) SetColor(rgb->r, rgb->g, rgb->b);
    DrawImageAsset(tile.GetTileImage(), x, y, -1, 1.0f);
    SetColor(255, 255, 255);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Tiles

std::shared_ptr<TImageAsset> TTile::GetTileImage() { return TileImg[0]; }

void TTile::TakeDrawState(float& atX, float& atY) {
    CurrAlpha = GetAlpha();
    float sx;
    GetScale(sx, CurrScale);
    // A tile's own place.
    if (atY == -150000.0f) {
        atX = DrawX;
        atY = DrawY;
    }
}

int TTile::DrawCore(float atX, float atY) {
    TakeDrawState(atX, atY);
    return 0;
}

int TTile::Draw(float atX, float atY) {
    if (FlyingTile) return 0;
    return DrawCore(atX, atY);
}

int TPTile::DrawCore(float atX, float atY) {
    TakeDrawState(atX, atY);
    TTileAdd* main = nullptr;
    if (isCovered == 1) main = pCover.get();
    else if (isTile != 0) main = pTile.get();
    else main = pMark.get();
    if (main) main->Draw(atX, atY, *this);
    SetAlpha(CurrAlpha);
    if (pError) pError->Draw(atX, atY, *this);
    SetAlpha(CurrAlpha);
    SetScale(CurrScale, CurrScale);
    return 0;
}

int TTile::DrawOver() {
    // Only a board that is played has a hovered tile.
    TBoardView* board = PlayingBoard();
    if (FlyingTile || !board) return 0;
    SetScale(1.0f, 1.0f);
    SetAlpha(board->BoardOverAlpha());
    SetColor(255, 255, 255);
    SetBlend(3);
    const float g = GridSizeAt(size);
    const float h = GridSizeHalfAt(size);
    DrawRect(DrawX - h, DrawY - h, g, g);
    return 0;
}

int TTile::DrawHold(int number, int mode) {
    if (FlyingTile) return 0;
    const float tileScale = CurrScale * GridScaleAt(size);
    SetScale(tileScale, tileScale);
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    DrawImageAsset(HoldImg, DrawX, DrawY, -1, 1.0f);

    TBoardView* board = PlayingBoard();
    std::shared_ptr<TRGB> colour = board ? board->BoardColour() : nullptr;
    if (colour) SetColor(colour->r, colour->g, colour->b);
    const int set = TPNumber::ImgInd(size);
    const auto& image = TPNumber::NumImg[set][TPNumber::ImageValue(number)];
    const float numberScale = NumberScaleAt(size);
    if (mode == 1) {
        SetColor(255, 0, 0);
        SetScale(numberScale * 0.6f, numberScale * 0.6f);
        DrawImageAsset(image, static_cast<float>(static_cast<int>(DrawX) + ow / 4),
                       static_cast<float>(static_cast<int>(DrawY) + oh / 4), -1, 1.0f);
        SetColor(255, 255, 255);
        SetScale(tileScale, tileScale);
        DrawImageAsset(HammerImg, DrawX, DrawY, -1, 1.0f);
    } else {
        SetScale(numberScale, numberScale);
        if (colour && board->BoardColourTooDark(*colour)) SetColor(255, 255, 255);
        DrawImageAsset(image, static_cast<float>(static_cast<int>(DrawX)), static_cast<float>(static_cast<int>(DrawY)),
                       -1, 1.0f);
    }
    SetColor(255, 255, 255);
    return 0;
}

int TPTile::DrawForcedRevealed() {
    if (!FlyingTile && isTile != 0 && pTile) pTile->DrawForced(DrawX, DrawY, *this);
    return 0;
}

void SetupTilesImages() {
    auto make = [](const char* path) { return CreateEmptyImageAsset(bDir + path, TileMiddle, TileMiddle, 1, 1, 0); };
    TTile::TileImg[0] = make("Game/PlayField/Tile.png");
    TTile::XImg = make("Game/PlayField/X.png");
    TTile::XFillImg = make("Game/PlayField/x-fill.png");
    TTile::ErrImg = make("Game/PlayField/Error.png");
    TTile::GridImg = make("Game/PlayField/Grid.png");
    TTile::HoldImg = make("Game/PlayField/Hold.png");
    TTile::HammerImg = make("Game/PlayField/HammerIco.png");
    // The tile pictures are drawn together on every board: the loading screen's last phase
    // loads them as one item (at once when there is no loading screen to take them).
    auto group = std::make_shared<TAssetGroup>();
    group->name = "Tile pictures";
    group->members = {TTile::TileImg[0], TTile::XImg,     TTile::ErrImg,   TTile::GridImg,
                      TTile::HoldImg,    TTile::XFillImg, TTile::HammerImg};
    if (!AddAppGlobalAsset(group)) group->LoadAsset();
}

int TPACLevel::PrepareAllCovers() {
    for (auto& t : Tile.Cells())  // layers, then columns, then rows ascending
        if (t) t->Draw(0.0f, 0.0f);
    Cls();
    return 0;
}
