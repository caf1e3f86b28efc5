#include "engine/media/AVOAsset.h"

#include "platform/Font.h"
#include "platform/Graphics.h"

namespace {
// A black box at half alpha around a white label, its top-left corner at (x, y); the draw
// state is left as it was found.
void DrawLabelBox(const std::string& text, float x, float y) {
    float rotation = GetRotation(), sx = 1, sy = 1;
    GetScale(sx, sy);
    const float alpha = GetAlpha();
    int r = 255, g = 255, b = 255;
    GetColor(r, g, b);
    SetRotation(0);
    SetScale(1, 1);
    const float w = static_cast<float>(TextWidth(text)), h = static_cast<float>(TextHeight(text));
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(x, y, w + 8, h + 4);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawText(text, x + 4, y + 2);
    SetRotation(rotation);
    SetScale(sx, sy);
    SetAlpha(alpha);
    SetColor(r, g, b);
}
}  // namespace

int TAVOAsset::LoadAsset() {
    Avo = LoadAVO(url, 0);
    return 0;
}

int TAVOAsset::Save(const TBlockFilePtr& block) {
    if (block) AddStringToBlock(block, "Type", "AVO", 0);
    return 0;
}

int TAVOAsset::Draw(float x, float y) {
    if (Avo)
        DrawAVO(Avo, x, y);
    else
        DrawLabelBox("Not Loaded", x, y);
    return 0;
}

int TAVOAsset::DrawEmpty(int x, int y) {
    DrawLabelBox("NULL avo", static_cast<float>(x), static_cast<float>(y));
    return 0;
}

TAVOAssetPtr CreateAVOAsset(const TAppVectorObjPtr& avo, const std::string& url) {
    auto asset = std::make_shared<TAVOAsset>();
    asset->Avo = avo;
    asset->url = url;
    return asset;
}

TAVOAssetPtr CreateEmptyAVOAsset(const std::string& url) {
    auto asset = std::make_shared<TAVOAsset>();
    asset->url = url;
    return asset;
}

int DrawAvoAsset(const TAVOAssetPtr& asset, float x, float y) {
    if (!asset) return TAVOAsset::DrawEmpty(static_cast<int>(x), static_cast<int>(y));
    return asset->Draw(x, y);
}
