// Drawing of the clue numbers, and their images.
#include <string>

#include "engine/data/ValueTypes.h"
#include "engine/media/ImageAtlas.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/levels/BoardView.h"
#include "game/levels/Numbers.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/Tile.h"
#include "game/levels/TileOverlays.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"
#include "platform/Strings.h"

std::array<std::array<std::shared_ptr<TImageAsset>, MaxClueValue + 1>, 2> TPNumber::NumImg;
std::shared_ptr<TImageAsset> TPNumber::CrossImg;

int TPNumber::Draw(int highlight) {
    TBoardView* board = PlayingBoard();
    const float A = board ? board->BoardNumbersAlpha() : 1.0f;
    // Nothing of the number shows at alpha 0 (the opening fly-in, a finished line).
    if (Alpha * A <= 0.0f) return 0;
    const float s = Scale * NumberScaleAt(Size) * (1.0f + 0.2f * Over);
    const auto& image = NumImg[ImgInd(Size)][ImageValue(Value)];
    SetScale(s, s);
    SetRotation(0.0f);
    SetBlend(3);
    const std::shared_ptr<TRGB> colour = TileRGBOfId(TileColor + 1);
    float crossPercent = CrossAlphaPercent;
    if (colour && board && board->BoardColourTooDark(*colour) && board->BoardColourSensitive()) {
        SetColor(255, 255, 255);
        crossPercent = CrossAlphaPercentForDarkNumbers;
    } else if (colour) {
        SetColor(colour->r, colour->g, colour->b);
    } else {
        SetColor(255, 255, 255);
    }
    const float shown = Alpha * (1.0f - Cross * crossPercent) * A;
    SetAlpha(shown);
    DrawImageAsset(image, DrawX, DrawY, -1, 1.0f);
    if (Cross != 0.0f) {
        SetColor(255, 255, 255);
        SetAlpha(Cross * Alpha * (1.0f - Cross * CrossAlphaPercent) * A);
        SetScale(s * 0.5f, s * 0.5f);
        DrawImageAsset(CrossImg, DrawX, DrawY, -1, 1.0f);
        // The shine layers keep the number's own size.
        SetScale(s, s);
    }
    if (!isDone()) {
        SetBlend(4);
        SetColor(255, 255, 255);
        const float shine = static_cast<float>(SinDeg(90.0 * ShineA)) * 0.2f * Alpha * A;
        if (shine > 0.0f) {
            SetAlpha(shine);
            DrawImageAsset(image, DrawX, DrawY, -1, 1.0f);
        }
        if (highlight) {
            SetAlpha(Alpha * A * 0.25f);
            DrawImageAsset(image, DrawX, DrawY, -1, 1.0f);
        }
        SetBlend(3);
    }
    SetScale(1.0f, 1.0f);
    return 0;
}

int TNumberLine::Draw() {
    int highlight = 0;
    int x = 0, y = 0;
    if (PlayingBoard() && PlayingBoard()->BoardHoveredCell(x, y)) highlight = (Pionowo == 1 ? x : y) == RC ? 1 : 0;
    for (auto& n : Number) n->Draw(highlight);
    return 0;
}

namespace {

// The cross, the clue numbers and the dots of both sets, drawn together on every board: loaded
// as one item, into one texture, so that a board's numbers go to GL in a call for each blend
// rather than one for each number. A picture whose file cannot be decoded is loaded on its own
// (which says what is wrong with it, and draws the placeholder).
class TClueImagesGroup : public TAssetGroup {
public:
    int LoadAsset() override {
        std::vector<std::shared_ptr<TImageAsset>> images;
        std::vector<std::string> paths;
        FreeAsset();
        for (const auto& member : members) {
            auto image = std::dynamic_pointer_cast<TImageAsset>(member);
            if (!image) continue;
            images.push_back(image);
            paths.push_back(ConvertAppPath(image->url));
        }
        const std::vector<TImgPtr> packed = LoadImgAtlas("Clue numbers", paths);
        for (size_t i = 0; i < images.size(); ++i) {
            if (!packed[i]) {
                images[i]->LoadAsset();
                continue;
            }
            images[i]->img = packed[i];
            if (images[i]->isMidHandled != 0) MidHandleImg(packed[i]);
            else SetImgHandle(packed[i], images[i]->hx, images[i]->hy);
        }
        return 0;
    }
};

}  // namespace

int SetupNumbers() {
    auto group = std::make_shared<TClueImagesGroup>();
    group->name = "Clue numbers";
    TPNumber::CrossImg = CreateEmptyImageAsset(bDir + "Screens/MainGame/Cross.png", 0, 0, 1, 1, 1);
    TPNumber::CrossImg->isMidHandled = 1;
    group->members.push_back(TPNumber::CrossImg);
    for (int k = 0; k < 2; ++k) {
        const std::string folder = bDir + "Game/PlayField/Numbers/" + IntToString(k) + "-";
        for (int n = 0; n <= MaxClueValue; ++n) {
            TPNumber::NumImg[k][n] = CreateEmptyImageAsset(folder + IntToString(n) + ".png", 0, 0, 1, 1, 1);
            group->members.push_back(TPNumber::NumImg[k][n]);
        }
        TTileNumber::DotImg[k] = CreateEmptyImageAsset(folder + "dot.png", 0, 0, 1, 1, 1);
        group->members.push_back(TTileNumber::DotImg[k]);
    }
    if (!AddAppGlobalAsset(group)) group->LoadAsset();
    return 0;
}
