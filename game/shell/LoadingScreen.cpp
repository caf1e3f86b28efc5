#include "game/shell/LoadingScreen.h"

#include <algorithm>
#include <unordered_map>

#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/screen/DrawObject.h"
#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/ui/UI_Object.h"
#include "platform/Graphics.h"

int LoadingScreenSettings::TurnOnForEdition = 0;
int LoadingScreenSettings::OwnLoadingSteps = 0;

TLoadingScreenPtr LoadingScreen;

namespace {
// The bar's image draw object, when the bar is an image.
TAppDrawObjectImage* BarDrawObject(const std::shared_ptr<TUIImage>& bar) {
    return bar ? dynamic_cast<TAppDrawObjectImage*>(bar->DrawObject.get()) : nullptr;
}
}  // namespace

int TLoadingScreen::DrawAfter() {
    DrawProgress();
    DrawComment();
    return 0;
}

int TLoadingScreen::OnBegin() {
    // The renderer is made ready for every way of drawing while the loading runs, so that no
    // screen's first frame pays for it.
    WarmUpDrawing();
    Load(nullptr, nullptr);
    SetupAssets();
    BarImage = std::dynamic_pointer_cast<TUIImage>(FindObjectInd(2));
    ResetDelta();
    return 0;
}

int TLoadingScreen::FirstUpdate() {
    if (WasFirstUpdate != 0) return 0;
    WasFirstUpdate = 1;
    AllScreensList = GetScreensList();
    AllPopUpsList = GetPopUpsList();
    AllScreensList.erase(std::remove_if(AllScreensList.begin(), AllScreensList.end(),
                                        [this](const std::shared_ptr<TAppScreen>& s) { return s.get() == this; }),
                         AllScreensList.end());
    if (OwnLoadingSteps != 0) MaxLoadingSteps = OwnLoadingSteps;
    UpdateProgress();
    return 0;
}

int TLoadingScreen::BuildAssetsList() {
    auto collect = [this](TAppScreen& screen) {
        for (const auto& asset : screen.Assets)
            if (asset && asset->doAutoLoad != 0) AllAssetsList.push_back(asset);
    };
    for (const auto& screen : AllScreensList)
        if (screen) collect(*screen);
    for (const auto& popup : AllPopUpsList)
        if (popup) collect(*popup);
    std::unordered_map<std::string, size_t> itemOfKey;
    for (const auto& asset : AllAssetsList) {
        const std::string key = asset->LoadKey();
        if (!key.empty()) {
            const auto [at, added] = itemOfKey.emplace(key, AssetItems.size());
            if (!added) {
                AssetItems[at->second].push_back(asset);
                continue;
            }
        }
        AssetItems.push_back({asset});
    }
    if (MaxLoadingSteps == 0) {
        MaxLoadingSteps = static_cast<int>(AssetItems.size() + AllScreensList.size());
        MinusLoadingSteps = static_cast<int>(AllScreensList.size() + AllPopUpsList.size());
    }
    return 0;
}

int TLoadingScreen::UpdateProgress() {
    if (Fade != 0.0f) return 0;
    TAppDrawObjectImage* bar = BarDrawObject(BarImage);
    if (!bar) return 0;
    bar->DrawingMode = 0;
    bar->ModePercent = MaxLoadingSteps != 0 ? static_cast<float>(CurrStep) / static_cast<float>(MaxLoadingSteps) : 0.0f;
    return 0;
}

int TLoadingScreen::Update_LoadingScreens() {
    if (LoadScreensStatus < static_cast<int>(AllScreensList.size())) {
        const auto& screen = AllScreensList[static_cast<size_t>(LoadScreensStatus)];
        if (screen) {
            screen->Load(nullptr, nullptr);
            CurrLoading = screen->name;
        }
    }
    ++LoadScreensStatus;
    if (OwnLoadingSteps == 0) ++CurrStep;
    if (LoadScreensStatus > static_cast<int>(AllScreensList.size())) LoadingStatus = 1;
    return 0;
}

int TLoadingScreen::Update_LoadingPopups() {
    if (LoadPopUpsStatus < static_cast<int>(AllPopUpsList.size())) {
        const auto& popup = AllPopUpsList[static_cast<size_t>(LoadPopUpsStatus)];
        if (popup) {
            popup->Load(nullptr, nullptr);
            CurrLoading = popup->name;
        }
    }
    ++LoadPopUpsStatus;
    if (OwnLoadingSteps == 0) ++CurrStep;
    if (LoadPopUpsStatus > static_cast<int>(AllPopUpsList.size())) {
        LoadingStatus = 2;
        BuildAssetsList();
    }
    return 0;
}

int TLoadingScreen::Update_LoadingSetupScreens() {
    if (LoadSetupScreensStatus < static_cast<int>(AllScreensList.size())) {
        const auto& screen = AllScreensList[static_cast<size_t>(LoadSetupScreensStatus)];
        if (screen) {
            screen->Setup();
            CurrLoading = screen->name + " Setuping()";
        }
    }
    ++LoadSetupScreensStatus;
    if (LoadSetupScreensStatus > static_cast<int>(AllScreensList.size())) LoadingStatus = 3;
    return 0;
}

int TLoadingScreen::Update_LoadingSetupPopUps() {
    if (LoadSetupPopUpsStatus < static_cast<int>(AllPopUpsList.size())) {
        const auto& popup = AllPopUpsList[static_cast<size_t>(LoadSetupPopUpsStatus)];
        if (popup) {
            popup->Setup();
            CurrLoading = popup->name + " Setuping()";
        }
    }
    ++LoadSetupPopUpsStatus;
    if (LoadSetupPopUpsStatus > static_cast<int>(AllPopUpsList.size())) LoadingStatus = 4;
    return 0;
}

int TLoadingScreen::Update_LoadingAssets() {
    if (LoadAssetsStatus < static_cast<int>(AssetItems.size())) {
        for (const auto& asset : AssetItems[static_cast<size_t>(LoadAssetsStatus)]) asset->LoadAsset();
        CurrLoading = AssetItems[static_cast<size_t>(LoadAssetsStatus)].front()->url;
    }
    ++LoadAssetsStatus;
    ++CurrStep;
    if (LoadAssetsStatus > static_cast<int>(AssetItems.size())) LoadingStatus = 5;
    return 0;
}

int TLoadingScreen::Update_LoadingGlobalAssets() {
    if (LoadGlobalAssetsStatus < static_cast<int>(AllGlobalAssets.size())) {
        const auto& asset = AllGlobalAssets[static_cast<size_t>(LoadGlobalAssetsStatus)];
        if (asset) {
            asset->LoadAsset();
            CurrLoading = asset->name + " (Global Asset)";
        }
    }
    ++LoadGlobalAssetsStatus;
    if (LoadGlobalAssetsStatus >= static_cast<int>(AllGlobalAssets.size())) {
        LoadingStatus = 6;  // done: nothing is handled again, whatever FinishLoading could do
        FinishLoading();
    }
    return 0;
}

int TLoadingScreen::UpdateFade() {
    if (firstUpdateFade != 0) {
        if (TAppDrawObjectImage* bar = BarDrawObject(BarImage)) {
            bar->DrawingMode = 0;
            bar->ModePercent = 0.0f;
        }
        ResetDelta();
        firstUpdateFade = 0;
    }
    Fade -= kFadeStep * delta;
    if (Fade < 0.0f) Fade = 0.0f;
    return 0;
}

int TLoadingScreen::FinishLoading() {
    if (!LastScreen) {
        Error("The loading screen has no start screen to go to", Here());
        return 0;
    }
    GoToScreen(LastScreen, nullptr);
    return 0;
}

int TLoadingScreen::OnLeave() {
    for (const TGameObjectPtr& object : Objects)
        if (object) object->FreeAsset();
    return 0;
}

int TLoadingScreen::SetStartScreen(const std::shared_ptr<TAppScreen>& screen) {
    LastScreen = screen;
    return 0;
}

int TLoadingScreen::AddGlobalAsset(const std::shared_ptr<TAsset>& asset) {
    AllGlobalAssets.push_back(asset);
    return 0;
}

int TLoadingScreen::Updating() {
    if (TurnOnForEdition != 0) return 0;
    UpdateFade();
    if (Fade != 0.0f) return 0;
    FirstUpdate();
    UpdateProgress();
    switch (LoadingStatus) {
        case 0: Update_LoadingScreens(); break;
        case 1: Update_LoadingPopups(); break;
        case 2: Update_LoadingSetupScreens(); break;
        case 3: Update_LoadingSetupPopUps(); break;
        case 4: Update_LoadingAssets(); break;
        case 5: Update_LoadingGlobalAssets(); break;
        default: break;
    }
    return 0;
}

int TLoadingScreen::OnDraw() {
    SetColor(0, 0, 0);
    SetBlend(ALPHABLEND);
    SetAlpha(Fade);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    DrawRect(-200.0f, 0.0f, 2000.0f, 768.0f);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    return 0;
}

TLoadingScreenPtr CreateAppLoadingScreen() {
    auto screen = std::make_shared<TLoadingScreen>();
    screen->Init("Loading Screen", bDir + "Screens/LoadingScreen/LoadingScreen.AppScreen");
    return screen;
}
