#include "engine/ui/UI_Object.h"
#include "engine/basics/Basics.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Collider.h"
#include "engine/screen/DrawObject.h"
#include "engine/window/Mouse.h"
#include "engine/ui/SoundObject.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/media/SoundManager.h"
#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Strings.h"

namespace {

template <class T>
std::shared_ptr<T> SubAs(TUIButton& button, int i) {
    return std::dynamic_pointer_cast<T>(button.GetFromSubObjectsList(i));
}

// Width and Height from the two values of "Sizes".
void LoadSizes(TUIObject& widget, const TBlockFilePtr& block) {
    widget.Width = TruncToInt(GetBFNumber(block, "Sizes", 0));
    widget.Height = TruncToInt(GetBFNumber(block, "Sizes", 1));
}

void SaveSizes(const TUIObject& widget, const TBlockFilePtr& block) {
    AddIntToBlock(block, "Sizes", widget.Width, 0);
    AddIntToBlock(block, "Sizes", widget.Height, 1);
}

void SetStateAlpha(TGameObject* obj, float alpha) {
    if (obj != nullptr && obj->CurrState && obj->CurrState->rgb) obj->CurrState->rgb->a = alpha;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TUIObject

int TUIObject::GetWidgetSize(int& w, int& h) {
    w = Width;
    h = Height;
    return 1;
}

int TUIObject::CopyUIObjectData(TUIObject* target) {
    if (target == nullptr) return 0;
    target->Width = Width;
    target->Height = Height;
    target->isActive = isActive;
    return 0;
}

int TUIObject::DrawUIGizmos() {
    DrawSettings();
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    const float a = GetAlpha();
    SetAlpha(0.25f);
    DrawRect(DrawX, DrawY, static_cast<float>(Width), static_cast<float>(Height));
    SetAlpha(a);
    SetColor(r, g, b);
    return 0;
}

int TUIObject::SetDims(int x, int y, int w, int h) {
    Width = w;
    Height = h;
    SetPosition(static_cast<float>(x), static_cast<float>(y));
    // One collider that follows the box: a resized button is hit over its new size.
    if (dynamic_cast<TUIButton*>(this) != nullptr)
        ResizeAppCollider(this, w, h, static_cast<float>(w) * 0.5f, static_cast<float>(h) * 0.5f);
    return 0;
}

int TUIObject::UpdateOver(int i) { return isColliderMouseOver(i); }

// ---------------------------------------------------------------------------------------------
// TUIImage

int TUIImage::GetWidgetSize(int& w, int& h) {
    w = GetWidth();
    h = GetHeight();
    return 1;
}

int TUIImage::SetImg(const std::shared_ptr<TImageAsset>& asset) {
    Img = asset;
    SetDrawObject(CreateAppDrawObject_Image(asset, hx, hy));
    return 0;
}

int TUIImage::GetWidth() { return Img ? Img->Width() : 0; }
int TUIImage::GetHeight() { return Img ? Img->Height() : 0; }

int TUIImage::DrawNow() {
    if (Parent != nullptr && Parent->isEnabled == 0) return 0;
    DrawSettings();
    if (DrawObject) DrawObject->Draw(DrawX, DrawY);
    return 0;
}

int TUIImage::OnLoadAsset() {
    if (Img) Img->LoadAsset();
    return 0;
}

int TUIImage::OnFreeAsset() {
    if (Img) Img->FreeAsset();
    return 0;
}

int TUIImage::CopyUIImageData(TUIImage* target) {
    if (target != nullptr) target->SetImg(Img);
    return 0;
}

TGameObjectPtr TUIImage::Copy() {
    auto copy = std::make_shared<TUIImage>();
    CopyStandard(copy.get());
    CopyUIObjectData(copy.get());
    CopyUIImageData(copy.get());
    return copy;
}

int TUIImage::SaveMyData(const TBlockFilePtr& block) {
    if (!Img) return 0;
    if (DontSaveUrl == 0) {
        if (isExporting != 0) {
            // The export carries a copy of the picture beside the object.
            ExportCopy(Img->url, PathInFolder(Prefix, "image." + ExtractExt(Img->url)), "image", CopyFile);
        } else {
            AddStringToBlock(block, "imageUrl", CheckIfUrlIsInsideApp(Img->url), 0);
        }
    }
    AddIntToBlock(block, "Handle", hx, 0);
    AddIntToBlock(block, "Handle", hy, 1);
    return 0;
}

int TUIImage::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    std::string url = GetBFString(block, "Imageurl", 0);
    const bool named = !url.empty();
    if (url.empty()) {
        url = PathInFolder(Prefix, "image.png");
        if (FileType(url) != 1) url = PathInFolder(Prefix, "image.jpg");
    }
    // A picture named after the widget beside the screen file replaces the saved path; the JPEG
    // wins when both exist.
    if (TAppScreen* screen = TAppScreen::CurrentlyLoadingScreen) {
        const std::string dir = ExtractDir(screen->FileUrl);
        bool beside = false;
        for (const char* ext : {".png", ".jpg"}) {
            const std::string path = FileBesideScreen(dir, name, ext);
            if (!path.empty() && FileType(path) != 0) {
                url = path;
                DontSaveUrl = 1;
                beside = true;
            }
        }
        // No picture anywhere: the one beside the screen is the one missing. Said now, when the
        // screen is read (a picture loaded later, or never, would otherwise go unnoticed), and
        // once: the image layer does not say it again.
        const std::string expected = FileBesideScreen(dir, name, ".png");
        // The file a saved path names: its placeholders ("#BDIR#") expanded, and for a picture of
        // a shared texture ("atlas.png|NAME") the texture's file.
        const std::string file = ConvertAppPath(url.substr(0, url.find('|')));
        if (!beside && FileType(file) == 0 && screen->isFileDamaged != 0) {
            // What a damaged screen file lost (a picture's name cut short among it) is not
            // reported piece by piece: the file was said.
            url.clear();
        } else if (!named && !beside && FileType(file) == 0 && !expected.empty()) {
            url = expected;
            DontSaveUrl = 1;
            if (FirstReportAbout(expected))
                Error("No picture for '" + name + "': neither " + expected + " nor " +
                          FileBesideScreen(dir, name, ".jpg") + " is there",
                      Here(), "NO FILE ERROR ");
        }
    }
    std::shared_ptr<TImageAsset> asset = CreateEmptyImageAsset(url, 0, 0, 0, 0, 0);
    if (asset) asset->doAutoLoad = isAssetToBeLoad;
    hx = TruncToInt(GetBFNumber(block, "Handle", 0));
    hy = TruncToInt(GetBFNumber(block, "Handle", 1));
    SetImg(asset);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TUIText

TImageFontPtr TUIText::GetClassFont() { return Class ? Class->Font : nullptr; }
int TUIText::GetClassHAlign() { return Class ? Class->HAlign : 0; }
int TUIText::GetClassVAlign() { return Class ? Class->VAlign : 0; }

int TUIText::BuildStates() {
    // An object read without states shows the state it was made with: that one takes the colour.
    const TAppStatePtr& state = DefaultState ? DefaultState : CurrState;
    if (Class && Class->Rgb && state) state->rgb = Class->Rgb->Copy();
    return 0;
}

int TUIText::SetClass(const TTextClassPtr& cls) {
    TTextClassPtr use = cls;
    if (!use) {
        if (!AppClassManager::ClassListMissing) Warning("Setting NULL class for UIObject!", Here());
        use = TTextClass::DefaultClass;
    }
    Class = use;
    BuildStates();
    if (!Text.empty()) SetText(Text);
    return 0;
}

int TUIText::SetText(const std::string& text) {
    Text = text;
    // Laid out in the default style rather than in none.
    if (!Class) Class = TTextClass::DefaultClass;
    SetImageFont(GetClassFont());
    SetDrawObject(CreateAppDrawObject_Text(Text, TextLine, Class, Width, Height));
    return 0;
}

int TUIText::FitToWidth(float maxWidth) {
    TAppState* state = _State();
    if (state == nullptr || !state->dim || !state->tfr) return 0;
    // Where the box stands at its own size: the last fit undone.
    const float was = state->tfr->sx;
    const float w = static_cast<float>(Width), h = static_cast<float>(Height);
    const float baseX = state->dim->x - w * (1.0f - was) * 0.5f;
    const float baseY = state->dim->y - h * (1.0f - was) * 0.5f;
    float widest = 0.0f;
    if (auto text = std::dynamic_pointer_cast<TAppDrawObjectText>(DrawObject))
        for (const auto& line : text->Lines)
            if (line) widest = std::max(widest, line->GetFullWidth());
    const float k = (maxWidth > 0.0f && widest > maxWidth) ? maxWidth / widest : 1.0f;
    // The text is drawn scaled about the box's corner: the box moves so that its middle stays.
    state->tfr->sx = k;
    state->tfr->sy = k;
    state->dim->x = baseX + w * (1.0f - k) * 0.5f;
    state->dim->y = baseY + h * (1.0f - k) * 0.5f;
    return 0;
}

int TUIText::FitToBox() {
    TAppState* state = _State();
    if (state == nullptr || !state->tfr || !Class || Width <= 0 || Height <= 0) return 0;
    const float w = static_cast<float>(Width), h = static_cast<float>(Height);
    float k = 1.0f;
    for (;; k -= 0.05f) {
        const float boxW = w / k, boxH = h / k;
        SetDrawObject(CreateAppDrawObject_Text(Text, TextLine, Class, static_cast<int>(boxW), static_cast<int>(boxH)));
        auto text = std::dynamic_pointer_cast<TAppDrawObjectText>(DrawObject);
        if (!text || k <= 0.3f) break;
        float widest = 0.0f;
        for (const auto& line : text->Lines)
            if (line) widest = std::max(widest, line->GetFullWidth());
        if (text->TxtHeight <= boxH && widest <= boxW) break;
    }
    // Drawn scaled about the box's corner: the larger box scaled down is the widget's own.
    state->tfr->sx = k;
    state->tfr->sy = k;
    return 0;
}

float TUIText::GetTextEndX() {
    auto text = std::dynamic_pointer_cast<TAppDrawObjectText>(DrawObject);
    return text ? text->GetTextEndX() : 0.0f;
}

int TUIText::DrawNow() {
    if (Parent != nullptr && Parent->isEnabled == 0) return 0;
    DrawSettings();
    if (DrawObject) DrawObject->Draw(DrawX, DrawY);
    return 0;
}

int TUIText::CopyUITextData(TUIText* target) {
    if (target == nullptr) return 0;
    target->Class = Class;
    target->TextLine = TextLine;
    target->SetText(Text);
    return 0;
}

TGameObjectPtr TUIText::Copy() {
    auto copy = std::make_shared<TUIText>();
    CopyStandard(copy.get());
    CopyUIObjectData(copy.get());
    CopyUITextData(copy.get());
    return copy;
}

int TUIText::SaveMyData(const TBlockFilePtr& block) {
    SaveSizes(*this, block);
    if (TextLine != 0) AddIntToBlock(block, "TextLine", TextLine, 0);
    else if (!Text.empty()) AddStringToBlock(block, "Text", Text, 0);
    if (Class) {
        if (AppClassManager::isClass(Class.get()) != 0) AddStringToBlock(block, "Class", Class->id, 0);
        else Class->Save(block);
    }
    return 0;
}

int TUIText::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    LoadSizes(*this, block);
    const int n = TruncToInt(GetBFNumber(block, "TextLine", 0));
    if (n != 0) {
        // The line number is kept either way, so saving writes the reference back.
        TextLine = n;
        TAppScreen* screen = Screen != nullptr ? Screen : TAppDrawObject::CurrScreen;
        if (screen != nullptr) {
            Text = screen->GetTxt(n);
        } else {
            Warning("Couldn't find text reference or TUIText object '" + Upper(name) + "')");
        }
    } else {
        Text = GetBFString(block, "Text", 0);
    }
    const std::string classId = GetBFString(block, "Class", 0);
    if (!classId.empty()) {
        SetClass(AppClassManager::GetTextClass(classId, 0));
    } else {
        auto cls = std::make_shared<TTextClass>();
        TBlockFilePtr classBlock = GetBlockFile(block, "Class");
        cls->LoadFromBlock(classBlock);
        cls->Load(classBlock);
        SetClass(cls);
    }
    SetText(Text);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TUIButton

TAppSoundPtr& TUIButton::GClickSound = AppSoundManager::ClickSound;

TGameObjectPtr TUIButton::GetFromSubObjectsList(int i) {
    if (i < 0 || i >= static_cast<int>(SubObjects.size())) return nullptr;
    return std::dynamic_pointer_cast<TGameObject>(SubObjects[static_cast<size_t>(i)]);
}

namespace {

// The four view values: NORMAL shown, the others hidden, stepping by speed.
void MakeViewVars(std::array<TAppVarPtr, 4>& views, float speed) {
    for (size_t k = 0; k < views.size(); ++k) {
        views[k] = CreateAppVar("", speed, speed);
        views[k]->SetBoth(k == 0 ? 1.0f : 0.0f);
    }
}

}  // namespace

int TUIButton::OnStart() {
    for (int k = 0; k < 4; ++k) {
        SubImage[static_cast<size_t>(k)] = SubAs<TUIImage>(*this, 2 * k);
        SubText[static_cast<size_t>(k)] = SubAs<TUIText>(*this, 2 * k + 1);
    }
    bool noTexts = true;
    for (auto& t : SubText)
        if (t) noTexts = false;
    if (noTexts)
        for (int k = 0; k < 4; ++k) SubImage[static_cast<size_t>(k)] = SubAs<TUIImage>(*this, k);
    MakeViewVars(ViewVar, ChangeSpeed);
    return 0;
}

int TUIButton::SetChangeSpeed(float speed) {
    ChangeSpeed = speed;
    for (auto& v : ViewVar)
        if (v) v->SetBothSpeed(speed, speed);
    return 0;
}

int TUIButton::SetSubAlpha(int i, float alpha) {
    if (i < 0 || i >= 4) return 0;
    const size_t k = static_cast<size_t>(i);
    if (!SubImage[k]) return 0;
    SetStateAlpha(SubImage[k].get(), alpha);
    SetStateAlpha(SubText[k].get(), alpha);
    return 0;
}

int TUIButton::isHolded() {
    if (TGameObject::isHolded() == 0) return 0;
    if (Screen != nullptr && Screen->CurrHoldedObject && Screen->CurrHoldedObject.get() != this) return 0;
    return 1;
}

int TUIButton::OnDisable() {
    isClick = 0;
    isHold = 0;
    return 0;
}

int TUIButton::UpdateOverAndHold() {
    isClick = 0;
    if (isActive == 0) {
        // A hold does not outlive the lock: released meanwhile, it must not complete as a click
        // once the button is active again.
        isHold = 0;
        return 0;
    }
    // A drag that began on another object blocks the button until the left button is released.
    if (Screen != nullptr && Screen->CurrHoldedObject && Screen->CurrHoldedObject.get() != this) return 0;
    if (isHold != 0) {
        // The click completes on release, wherever the pointer is. A release and a new press
        // within one frame complete it too, and the new press may begin the next hold.
        if (!Mouse::LetGo(1)) return 0;
        isClick = 1;
        isHold = 0;
        if (Mouse::LeftHolded == 0 || Mouse::LeftPressed == 0) return 0;
    }
    isOver = UpdateOver(0);
    if (isOver != 0 && Mouse::LeftHolded != 0) isHold = 1;
    return 0;
}

int TUIButton::UpdateStatesValue() {
    if (!ViewVar[0]) return 0;
    float target[4] = {1, 0, 0, 0};
    if (isActive == 0) target[DISABLED] = 1;
    else if (isHold != 0) target[CLICK] = 1;
    else if (isOver != 0) target[OVER] = 1;
    for (size_t k = 0; k < 4; ++k)
        if (ViewVar[k]) ViewVar[k]->SetDValue(target[k]);
    return 0;
}

int TUIButton::UpdateStatesChange() {
    for (auto& v : ViewVar)
        if (v) v->update();
    return 0;
}

int TUIButton::UpdateChangesView() {
    for (int k = 0; k < 4; ++k)
        if (const TAppVarPtr& v = ViewVar[static_cast<size_t>(k)]) SetSubAlpha(k, v->Value());
    return 0;
}

int TUIButton::Update() {
    UpdateOverAndHold();
    UpdateStatesValue();
    UpdateStatesChange();
    UpdateChangesView();
    return 0;
}

TGameObjectPtr TUIButton::Copy() {
    auto copy = std::make_shared<TUIButton>();
    CopyStandard(copy.get());
    CopyUIObjectData(copy.get());
    copy->Start();
    return copy;
}

int TUIButton::SaveMyData(const TBlockFilePtr& block) {
    SaveSizes(*this, block);
    AddFloatToBlock(block, "ChangeSpeed", ChangeSpeed, 0);
    return 0;
}

int TUIButton::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    LoadSizes(*this, block);
    const float speed = GetBFNumber(block, "ChangeSpeed", 0);
    // 0 (or a missing entry) is the default step. A negative step would never reach its target.
    ChangeSpeed = (std::isfinite(speed) && speed > 0.0f) ? speed : 0.1f;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TUIButton_Light

TGameObjectPtr TUIButton_Light::Copy() {
    auto copy = std::make_shared<TUIButton_Light>();
    CopyStandard(copy.get());
    CopyUIObjectData(copy.get());
    copy->Start();
    return copy;
}

int TUIButton_Light::OnStart() {
    SubImage = {};
    SubText = {};
    SubImage[0] = SubAs<TUIImage>(*this, 0);
    SubText[0] = SubAs<TUIText>(*this, 1);
    // Without a picture the caption may come first.
    if (!SubImage[0])
        if (TUITextPtr first = SubAs<TUIText>(*this, 0)) SubText[0] = first;
    // The glow is drawn with the button, just above its picture.
    if (SubImage[0]) DrawLayer = SubImage[0]->DrawLayer + 1;
    MakeViewVars(ViewVar, ChangeSpeed);
    return 0;
}

int TUIButton_Light::UpdateStatesValue() {
    if (!ViewVar[0]) return 0;
    ViewVar[0]->SetDValue(1.0f);
    const bool glow = isActive != 0 && isHold == 0 && isOver != 0;
    if (ViewVar[1]) ViewVar[1]->SetDValue(glow ? 1.0f : 0.0f);
    for (size_t k = 2; k < 4; ++k)
        if (ViewVar[k]) ViewVar[k]->SetDValue(0.0f);
    return 0;
}

int TUIButton_Light::DrawButtonSubObjects() {
    for (TGameObject* sub :
         {static_cast<TGameObject*>(SubImage[0].get()), static_cast<TGameObject*>(SubText[0].get())}) {
        if (sub == nullptr) continue;
        sub->DrawSettings();
        if (sub->DrawObject) sub->DrawObject->Draw(DrawX, DrawY);
    }
    return 0;
}

int TUIButton_Light::Draw() {
    if (!ViewVar[1] || ViewVar[1]->Value() == 0.0f) return 0;
    const float glow = DrawAlpha * ViewVar[1]->Value() * 0.25f;
    if (TUIImage* img = SubImage[0].get()) {
        img->DrawSettings();
        SetBlend(4);
        SetAlpha(glow);
        if (img->DrawObject) img->DrawObject->Draw(DrawX, DrawY);
        DrawSettings();
    }
    if (TUIText* text = SubText[0].get()) {
        SetBlend(4);
        SetAlpha(glow);
        if (text->DrawObject) text->DrawObject->Draw(DrawX, DrawY);
        DrawSettings();
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// TUIOverBox

TGameObjectPtr TUIOverBox::Copy() {
    auto copy = std::make_shared<TUIOverBox>();
    copy->Width = Width;
    copy->Height = Height;
    return copy;
}

int TUIOverBox::SaveMyData(const TBlockFilePtr& block) {
    SaveSizes(*this, block);
    return 0;
}

int TUIOverBox::LoadMyData(const TBlockFilePtr& block, TLoadList* /*list*/) {
    LoadSizes(*this, block);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Creation

std::vector<std::string> CreateAppUI_TextsArray(const std::vector<std::string>& texts) {
    std::vector<std::string> out(4);
    for (size_t i = 0; i < 4; ++i) {
        if (i < texts.size()) out[i] = texts[i];
        else out[i] = texts.empty() ? std::string("Button") : texts[0];
    }
    return out;
}

std::vector<TUIImageSource> CreateAppUI_ObjectsArray(const std::vector<TUIImageSource>& images) {
    std::vector<TUIImageSource> out(4);
    for (size_t i = 0; i < 4; ++i) {
        if (i < images.size()) out[i] = images[i];
        else out[i] = images.empty() ? TUIImageSource(std::string()) : images[0];
    }
    return out;
}

std::vector<TTextClassPtr> CreateAppUI_TextClassArray(const std::vector<TTextClassPtr>& classes) {
    std::vector<TTextClassPtr> out(4);
    for (size_t i = 0; i < 4; ++i) {
        if (i < classes.size()) out[i] = classes[i];
        else if (!classes.empty()) out[i] = classes[0] ? classes[0]->CopyTextClass() : nullptr;
        else out[i] = TTextClass::DefaultClass;
    }
    return out;
}

TUIImagePtr CreateUIImage(const TUIImageSource& image, int x, int y, TGameObject* parent) {
    auto widget = std::make_shared<TUIImage>();
    widget->name = widget->GetTypeStr();
    widget->SetDims(x, y, 0, 0);
    if (const auto* path = std::get_if<std::string>(&image); path && !path->empty()) {
        widget->SetImg(CreateImageAsset(LoadImg(*path, -1)));
    } else if (const auto* img = std::get_if<TImgPtr>(&image); img && *img) {
        widget->SetImg(CreateImageAsset(*img));
    } else if (const auto* asset = std::get_if<std::shared_ptr<TImageAsset>>(&image); asset && *asset) {
        widget->SetImg(*asset);
    }
    if (parent != nullptr) parent->AddSubObject(widget);
    return widget;
}

TUITextPtr CreateUIText(const std::string& text, int x, int y, int w, int h, const TTextClassPtr& cls,
                        TGameObject* parent) {
    auto widget = std::make_shared<TUIText>();
    widget->name = widget->GetTypeStr();
    widget->SetClass(cls);
    widget->SetDims(x, y, w, h);
    widget->SetText(text);
    if (parent != nullptr) parent->AddSubObject(widget);
    return widget;
}

TUIOverBoxPtr CreateUIOverBox(int x, int y, int w, int h, TGameObject* parent) {
    auto box = std::make_shared<TUIOverBox>();
    box->name = box->GetTypeStr();
    box->SetDims(x, y, w, h);
    if (parent != nullptr) parent->AddSubObject(box);
    return box;
}

TUIButtonPtr CreateUIButton(const std::vector<std::string>& texts, const std::vector<TUIImageSource>& images, int x,
                            int y, int w, int h, const std::vector<TTextClassPtr>& classes, TGameObject* parent) {
    static const char* const kViewPrefix[4] = {"NORMAL_", "OVER_", "CLICK_", "DISABLED_"};
    auto button = std::make_shared<TUIButton>();
    const std::vector<TTextClassPtr> allClasses = CreateAppUI_TextClassArray(classes);
    const std::vector<std::string> allTexts = CreateAppUI_TextsArray(texts);
    const std::vector<TUIImageSource> allImages = CreateAppUI_ObjectsArray(images);
    button->SetDims(x, y, w, h);
    for (size_t k = 0; k < 4; ++k) {
        TUIImagePtr img = CreateUIImage(allImages[k], 0, 0, button.get());
        TUITextPtr text = CreateUIText(allTexts[k], 0, 0, w, h, allClasses[k], button.get());
        img->name = std::string(kViewPrefix[k]) + "Image";
        text->name = std::string(kViewPrefix[k]) + "Text";
    }
    if (parent != nullptr) parent->AddSubObject(button);
    button->Start();
    return button;
}

TUIButtonPtr SimpleCreateUIButton(const std::string& text, const TImgPtr& img, int x, int y, int w, int h,
                                  const TTextClassPtr& cls, TGameObject* parent) {
    return CreateUIButton({text}, {TUIImageSource(img)}, x, y, w, h, {cls}, parent);
}

TUIButton_LightPtr CreateUILightButton(const std::string& text, const TUIImageSource& image, int x, int y, int w, int h,
                                       const TTextClassPtr& cls, TGameObject* parent) {
    auto button = std::make_shared<TUIButton_Light>();
    CreateUIImage(image, 0, 0, button.get());
    CreateUIText(text, 0, 0, w, h, cls, button.get());
    button->name = button->GetTypeStr();
    button->SetDims(x, y, w, h);
    if (parent != nullptr) parent->AddSubObject(button);
    button->Start();
    return button;
}

// ---------------------------------------------------------------------------------------------
// Start-up

void InstallWidgets() {
    RegisterGameObjectType(1, [] { return std::make_shared<TUIText>(); });
    RegisterGameObjectType(2, [] { return std::make_shared<TUIImage>(); });
    RegisterGameObjectType(3, [] { return std::make_shared<TUIButton>(); });
    RegisterGameObjectType(5, [] { return std::make_shared<TUIOverBox>(); });
    RegisterGameObjectType(7, [] { return std::make_shared<TUIButton_Light>(); });
    InstallSoundObject();
}
