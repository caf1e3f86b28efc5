#include "game/shell/AwardScreen.h"

#include "engine/data/BlockFile.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Console.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Paths.h"
#include "engine/window/Mouse.h"
#include "engine/ui/UI_Object.h"
#include "game/progress/Awards.h"
#include "game/progress/Profile.h"
#include "game/shell/PanelAnimation.h"
#include "platform/Input.h"
#include "platform/Strings.h"

TAwardScreenPtr AwardsShow;

namespace {

constexpr int HeldAlpha = 1, FirstPictureId = 101;
constexpr float NotHeldAlpha = 0.25f;
constexpr int KeyU = 85;

}  // namespace

int TAwardScreen::OnSetup() { return SetupAwards(); }

int TAwardScreen::SetupAwards() {
    auto file = LoadBlockFile(bDir + "Awards.txt");
    AwardsList.clear();
    int k = 1;
    for (const auto& block : file->SubFiles) {
        if (!block || block->MyType != BF_BLOCK || !NamesEqual(block->name, "Award")) continue;
        auto award = std::make_shared<TAward>();
        award->id = GetBFInt(block, "Id");
        award->Name = GetTxt(GetBFInt(block, "Name"));
        award->Opis = GetTxt(GetBFInt(block, "description"));
        award->Image = LoadImageAsset(bDir + "PopUps/AwardsShow/Award-" + IntToString(k) + ".png", 1, 1, 1);
        AwardsList.push_back(award);
        ++k;
    }
    return 0;
}

int TAwardScreen::OnStart() {
    MainPanel = FindObject("Main");
    return 0;
}

int TAwardScreen::OnShow() {
    for (int i = 1; i <= AwardsCount; ++i)
        if (auto picture = FindObject("Award" + IntToString(i)))
            picture->SetA(Profile && Profile->isAward(i) ? static_cast<float>(HeldAlpha) : NotHeldAlpha);
    ResetDelta();
    PlayPanelShow(MainPanel.get());
    return 0;
}

int TAwardScreen::Interface() {
    if (CheatsOn && KeyHit(KeyU))
        for (int pictureId = FirstPictureId; pictureId < FirstPictureId + AwardsCount; ++pictureId)
            if (auto picture = std::dynamic_pointer_cast<TUIImage>(FindObjectInd(pictureId))) picture->SetImg(nullptr);
    if (Mouse::LeftPressed) StartHiding();
    return 0;
}

TAwardScreenPtr CreateAwardScreen() {
    auto popup = std::make_shared<TAwardScreen>();
    popup->Init("AwardsShow", bDir + "PopUps/AwardsShow/AwardsShow.AppPopUp");
    return popup;
}
