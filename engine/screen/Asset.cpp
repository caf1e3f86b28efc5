#include "engine/screen/Asset.h"

#include "engine/media/ImgTex.h"
#include "engine/screen/AppScreen.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

TAppScreen* TAsset::CurrScreen = nullptr;

int TAsset::Save(const TBlockFilePtr&) { return 0; }

void TAsset::JoinCurrScreen(const TAssetPtr& asset, int markNotSaved) {
    if (!asset || CurrScreen == nullptr) return;
    CurrScreen->AddAsset(asset);
    if (markNotSaved != 0) asset->doNotSaveInScreen = 1;
}

TAssetPtr CheckIfAssetExist(const std::string& url) {
    if (TAsset::CurrScreen == nullptr) return nullptr;
    for (const auto& asset : TAsset::CurrScreen->Assets)
        if (asset && asset->url == url) return asset;
    return nullptr;
}

namespace {
// The current screen's first asset of kind T with that url. The creators look for their own kind,
// so that an asset of another kind holding the same url does not make them build a fresh asset on
// every request.
template <class T>
std::shared_ptr<T> FindAssetOfKind(const std::string& url) {
    if (TAsset::CurrScreen == nullptr) return nullptr;
    for (const auto& asset : TAsset::CurrScreen->Assets)
        if (asset && asset->url == url)
            if (auto found = std::dynamic_pointer_cast<T>(asset)) return found;
    return nullptr;
}

// A new asset of kind T that joins the screen being loaded; markNotSaved leaves it out of the
// screen's file.
template <class T>
std::shared_ptr<T> NewAsset(int markNotSaved) {
    auto asset = std::make_shared<T>();
    TAsset::JoinCurrScreen(asset, markNotSaved);
    return asset;
}
}  // namespace

void DrawAssetPlaceholder(const std::string& label, float x, float y) {
    SetImageFont(nullptr);
    SetColor(0, 0, 0);
    SetBlend(3);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(0.5f);
    DrawRect(x - 2.0f, y - 2.0f, static_cast<float>(TextWidth(label) + 4), static_cast<float>(TextHeight("A") + 4));
    SetColor(255, 255, 255);
    DrawText(label, x, y);
}

// ---------------------------------------------------------------------------------------------
// Images

int TImageAsset::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    AddStringToBlock(block, "Type", "IMG", 0);
    AddBoolToBlock(block, "isMipMapped", isMipMapped, 0);
    AddBoolToBlock(block, "isFiltered", isFiltered, 0);
    AddIntToBlock(block, "Handle", hx, 0);
    AddIntToBlock(block, "Handle", hy, 1);
    return 0;
}

int TImageAsset::FreeAsset() {
    if (img) img->Free();
    img = nullptr;
    return 0;
}

int TImageAsset::AskAhead() {
    RequestImg(img);
    return 0;
}

int TImageAsset::Width() { return img ? ImgWidth(img) : 0; }
int TImageAsset::Height() { return img ? ImgHeight(img) : 0; }

namespace {
// The image flags an asset's picture is loaded with.
int ImageAssetFlags(const TImageAsset& asset) {
    if (asset.isMipMapped != 0 && asset.isFiltered != 0) return 6;
    if (asset.isMipMapped != 0) return 4;
    if (asset.isFiltered != 0) return 2;
    return -1;
}
}  // namespace

std::string TImageAsset::LoadKey() const {
    if (url.empty()) return {};
    const std::string path = ConvertAppPath(url);
    // Every picture of a shared texture comes from the one texture file, read once, whatever the
    // flags the later pictures ask for (the texture keeps those of the first).
    const size_t bar = path.find('|');
    if (bar != std::string::npos) return TImgTex::TexturePath(path.substr(0, bar)) + "|texture";
    return path + "|" + std::to_string(ImageAssetFlags(*this));
}

int TImageAsset::ReloadImg() {
    const int flags = ImageAssetFlags(*this);
    if (url.empty()) return 0;
    const std::string path = ConvertAppPath(url);
    // A url "texture|NAME" names a picture of a shared texture: the texture file must exist.
    const size_t bar = path.find('|');
    const std::string file = bar == std::string::npos ? path : path.substr(0, bar);
    if (FileType(file) == 0) {
        // Drawn as the placeholder; said once, however many objects show the picture.
        ErrorNoFile(file, Here());
        return 0;
    }
    // The image held so far is released before the new one is read: it leaves the image cache
    // with its picture, so nothing keeps the old texture alive and the file is read afresh.
    if (img) {
        img->Free();
        img = nullptr;
    }
    img = LoadImg(path, flags);
    if (isMidHandled != 0) MidHandleImg(img);
    else if (hx != 0 || hy != 0) SetImgHandle(img, hx, hy);
    return 0;
}

int TImageAsset::Draw(float x, float y) {
    if (img) DrawImg(img, x, y, 0);
    else DrawAssetPlaceholder("Not Loaded", x, y);
    return 0;
}

int TImageAsset::DrawMode(int x, int y, int mode, float per) {
    if (img) DrawImagePart(img, x, y, per, mode);
    else DrawAssetPlaceholder("Not Loaded", static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int TImageAsset::DrawEmpty(int x, int y) {
    DrawAssetPlaceholder("NULL IMAGE", static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int DrawImageAsset(const TImageAssetPtr& asset, float x, float y, int mode, float per) {
    if (per > 1.0f) per = 1.0f;
    if (!asset) return TImageAsset::DrawEmpty(TruncToInt(x), TruncToInt(y));
    if (mode == -1) return asset->Draw(x, y);
    return asset->DrawMode(TruncToInt(x), TruncToInt(y), mode, per);
}

TImageAssetPtr LoadImageAsset(const std::string& url, int isMipMapped, int isFiltered, int isMidHandled) {
    TImageAssetPtr asset = NewAsset<TImageAsset>(1);
    asset->url = url;
    asset->isMipMapped = isMipMapped;
    asset->isFiltered = isFiltered;
    asset->isMidHandled = isMidHandled;
    asset->LoadAsset();
    return asset;
}

int ImageAssetWidth(const TImageAssetPtr& asset) { return asset ? asset->Width() : 0; }
int ImageAssetHeight(const TImageAssetPtr& asset) { return asset ? asset->Height() : 0; }

TImageAssetPtr CreateImageAsset(const TImgPtr& img) {
    TImageAssetPtr asset = NewAsset<TImageAsset>(1);
    asset->img = img;
    if (img) asset->url = img->Url;
    return asset;
}

TImageAssetPtr CreateEmptyImageAsset(const std::string& url, int hx, int hy, int isMipMapped, int isFiltered,
                                     int isMidHandled) {
    if (auto found = FindAssetOfKind<TImageAsset>(url)) return found;
    TImageAssetPtr asset = NewAsset<TImageAsset>(1);
    asset->url = url;
    asset->hx = hx;
    asset->hy = hy;
    asset->isMipMapped = isMipMapped;
    asset->isFiltered = isFiltered;
    asset->isMidHandled = isMidHandled;
    return asset;
}

// ---------------------------------------------------------------------------------------------
// Sounds

int TSoundAsset::LoadAsset() {
    if (isLoadedOnDemand != 0) return 0;
    return ReloadSnd();
}

int TSoundAsset::FreeAsset() {
    if (snd) snd->Free();
    return 0;
}

TAppSound* TSoundAsset::_SoundFor(const char* verb) {
    if (!snd && isLoadedOnDemand != 0) LoadingDemand();
    if (!snd) {
        Error(std::string("Can't ") + verb + " sound: Asset is empty!");
        return nullptr;
    }
    return snd.get();
}

int TSoundAsset::Play(float a, float b, float c) {
    if (TAppSound* s = _SoundFor("play")) s->Play(a, b, c);
    return 0;
}

int TSoundAsset::Stop() {
    if (TAppSound* s = _SoundFor("stop")) s->Stop();
    return 0;
}

int TSoundAsset::Hide(float speed) {
    if (TAppSound* s = _SoundFor("hide")) s->Hide(speed);
    return 0;
}

int TSoundAsset::Pause() {
    if (TAppSound* s = _SoundFor("pause")) s->Pause();
    return 0;
}

int TSoundAsset::Resume() {
    if (TAppSound* s = _SoundFor("resume")) s->Resume();
    return 0;
}

int TSoundAsset::LoadingDemand() {
    if (isLoadedOnDemand == 0) return 0;
    if (!snd) ReloadSnd();
    else snd->LoadingDemand();
    return 0;
}

int TSoundAsset::SetData() {
    if (!snd) return 0;
    const int wasLooped = snd->isLooped;
    snd->isLooped = isLooped;
    snd->isMusic = isMusic;
    snd->isLoadedOnDemand = isLoadedOnDemand;
    snd->TimeInterwal = TimeInterwal;
    if (snd->isLooped != wasLooped) snd->Reload();
    return 0;
}

int TSoundAsset::ReloadSnd() {
    if (!snd) snd = CreateAppSound(ConvertAppPath(url), isLooped, isMusic);
    else snd->Load();
    return 0;
}

namespace {
TSoundAssetPtr NewSoundAsset(int isLooped, int isMusic, int isLoadedOnDemand) {
    auto asset = NewAsset<TSoundAsset>(1);
    asset->isLooped = isLooped;
    asset->isMusic = isMusic;
    asset->isLoadedOnDemand = isLoadedOnDemand;
    return asset;
}
}  // namespace

TSoundAssetPtr CreateSoundAsset(const TAppSoundPtr& snd, int isLooped, int isMusic, int isLoadedOnDemand) {
    TSoundAssetPtr asset = NewSoundAsset(isLooped, isMusic, isLoadedOnDemand);
    asset->snd = snd;
    if (snd) asset->url = snd->url;
    return asset;
}

TSoundAssetPtr CreateEmptySoundAsset(const std::string& url, int isLooped, int isMusic, int isLoadedOnDemand) {
    if (auto found = FindAssetOfKind<TSoundAsset>(url)) return found;
    TSoundAssetPtr asset = NewSoundAsset(isLooped, isMusic, isLoadedOnDemand);
    asset->url = url;
    return asset;
}

// ---------------------------------------------------------------------------------------------
// Groups

int TAssetGroup::LoadAsset() {
    for (const auto& asset : members)
        if (asset) asset->LoadAsset();
    return 0;
}

int TAssetGroup::AskAhead() {
    for (const auto& asset : members)
        if (asset) asset->AskAhead();
    return 0;
}

int TAssetGroup::FreeAsset() {
    for (const auto& asset : members)
        if (asset) asset->FreeAsset();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Vector animations

int TAVOAsset::Save(const TBlockFilePtr& block) {
    if (block) AddStringToBlock(block, "Type", "AVO", 0);
    return 0;
}

int TAVOAsset::LoadAsset() {
    Avo = LoadAVO(url, 0);
    return 0;
}

int TAVOAsset::DrawEmpty(int x, int y) {
    DrawAssetPlaceholder("NULL avo", static_cast<float>(x), static_cast<float>(y));
    return 0;
}

int TAVOAsset::Draw(float x, float y) {
    if (Avo) DrawAVO(Avo, x, y);
    else DrawAssetPlaceholder("Not Loaded", x, y);
    return 0;
}

TAVOAssetPtr CreateAVOAsset(const TAppVectorObjPtr& avo, const std::string& url) {
    TAVOAssetPtr asset = NewAsset<TAVOAsset>(0);  // written with its screen
    asset->Avo = avo;
    asset->url = url;
    return asset;
}

TAVOAssetPtr CreateEmptyAVOAsset(const std::string& url) {
    if (auto found = FindAssetOfKind<TAVOAsset>(url)) return found;
    TAVOAssetPtr asset = NewAsset<TAVOAsset>(0);
    asset->url = url;
    return asset;
}

int DrawAvoAsset(const TAVOAssetPtr& asset, float x, float y) {
    if (!asset) return TAVOAsset::DrawEmpty(TruncToInt(x), TruncToInt(y));
    return asset->Draw(x, y);
}

// ---------------------------------------------------------------------------------------------
// Text and font assets

TTextAssetPtr LoadAsset_Text(const std::string&) { return nullptr; }
TFontAssetPtr LoadAsset_Font(const std::string&) { return nullptr; }
