// Drawing of the neighbour-count cells: the cover or the paint, the number with its dot, and the
// cross of the layer the player works in.
#include "engine/data/ValueTypes.h"
#include "engine/screen/Asset.h"
#include "engine/basics/Basics.h"
#include "game/levels/FAPLevel.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "platform/Graphics.h"

float TTileNumber::PomA = 1.0f;
float TTileNumber::DotDistX = 0.0f;
float TTileNumber::DotDistY = 0.0f;

int TFTile::Draw(float px, float py) {
    TakeDrawState(px, py);
    if (CurrTile) CurrTile->Draw(px, py, *this);
    else if (Cover) Cover->Draw(px, py, *this);
    if (Number) Number->Draw(px, py, *this);
    if (CurrentColorIndex >= 0 && CurrentColorIndex < static_cast<int>(CurrMark.size()) && CurrMark[CurrentColorIndex])
        CurrMark[CurrentColorIndex]->Draw(px, py, *this);
    SetScale(CurrScale, CurrScale);
    SetAlpha(CurrAlpha);
    return 0;
}

int TTileMarkFAP::Draw(float x, float y, TTile& tile) { return DrawImageOverlay(TTile::XFillImg, x, y, tile); }

int TTileNumber::Draw(float x, float y, TTile& tile) {
    LastX = static_cast<int>(x);
    LastY = static_cast<int>(y);
    if (!MyTile) return 0;
    const int size = MyTile->size;
    PomA = LevelColorIndex != TFTile::CurrentColorIndex ? 0.25f : 1.0f;
    const float s = Scale * NumberScaleAt(size);
    SetScale(s, s);
    SetRotation(0.0f);
    SetAlpha(Alpha * PomA);
    SetBlend(3);
    if (auto rgb = TileRGBOfId(ColorId + 1)) {
        auto* cell = dynamic_cast<TFTile*>(&tile);
        if (cell && cell->isTiled()) rgb = InvertRGB(*rgb);
        SetColor(rgb->r, rgb->g, rgb->b);
    } else {
        SetColor(255, 255, 255);
    }
    const int set = TPNumber::ImgInd(size);
    DrawImageAsset(TPNumber::NumImg[set][TPNumber::ImageValue(MyTile->RealCounter)], x, y, -1, 1.0f);
    if (MyTile->RealCounter == MyTile->CurrCounter) {
        const auto& dot = DotImg[set];
        DotDistX = s * static_cast<float>(ImageAssetWidth(dot)) * 1.8f;
        DotDistY = s * static_cast<float>(ImageAssetHeight(dot)) * 1.7f;
        DrawImageAsset(dot, x + DotDistX, y - DotDistY, -1, 1.0f);
    }
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    return 0;
}
