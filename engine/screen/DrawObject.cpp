#include "engine/screen/DrawObject.h"

#include <cmath>

#include "engine/screen/AppScreen.h"
#include "engine/screen/GameObject.h"
#include "engine/screen/Shape.h"
#include "engine/system/Error.h"
#include "engine/media/TxtFile.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/Maths.h"

namespace {
constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
}  // namespace

TAppScreen* TAppDrawObject::CurrScreen = nullptr;

int TAppDrawObject::Draw(float, float) { return 0; }

std::shared_ptr<TAppShape> TAppDrawObject::ToShape() { return nullptr; }

int TAppDrawObject::Save(const TBlockFilePtr&) { return 0; }

int TAppDrawObject::Load(const TBlockFilePtr&) { return 0; }

TBlockFilePtr TAppDrawObject::_SaveStandard(const TBlockFilePtr& parent, int typeInt) const {
    TBlockFilePtr block = CreateBlockFile("DrawObject", parent);
    AddIntToBlock(block, "Type", typeInt, 0);
    AddIntToBlock(block, "Dimensions", width, 0);
    AddIntToBlock(block, "Dimensions", height, 1);
    return block;
}

void TAppDrawObject::_LoadDimensions(const TBlockFilePtr& block) {
    width = TruncToInt(GetBFNumber(block, "Dimensions", 0));
    height = TruncToInt(GetBFNumber(block, "Dimensions", 1));
}

// ---------------------------------------------------------------------------------------------
// Rectangle

int TAppDrawObjectRect::Draw(float x, float y) {
    DrawRect(x, y, static_cast<float>(width), static_cast<float>(height));
    return 0;
}

std::shared_ptr<TAppShape> TAppDrawObjectRect::ToShape() {
    return CreateAppShape_Rect(static_cast<float>(width), static_cast<float>(height), 0, 0);
}

std::shared_ptr<TAppDrawObject> TAppDrawObjectRect::Copy() {
    auto copy = std::make_shared<TAppDrawObjectRect>();
    copy->width = width;
    copy->height = height;
    return copy;
}

int TAppDrawObjectRect::Save(const TBlockFilePtr& parent) {
    _SaveStandard(parent, GetTypeInt());
    return 0;
}

int TAppDrawObjectRect::Load(const TBlockFilePtr& block) {
    _LoadDimensions(block);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Image

int TAppDrawObjectImage::Free() {
    image = nullptr;
    return 0;
}

int TAppDrawObjectImage::Draw(float x, float y) {
    if (image) DrawImageAsset(image, x, y, DrawingMode, ModePercent);
    return 0;
}

std::shared_ptr<TAppShape> TAppDrawObjectImage::ToShape() {
    return CreateAppShape_Rect(static_cast<float>(ImageAssetWidth(image)), static_cast<float>(ImageAssetHeight(image)),
                               0, 0);
}

std::shared_ptr<TAppDrawObject> TAppDrawObjectImage::Copy() {
    auto copy = std::make_shared<TAppDrawObjectImage>();
    copy->image = image;
    copy->ImageUrl = ImageUrl;
    return copy;
}

int TAppDrawObjectImage::Save(const TBlockFilePtr& parent) {
    TBlockFilePtr block = _SaveStandard(parent, GetTypeInt());
    if (!ImageUrl.empty() && image) AddStringToBlock(block, "Image", ImageUrl, 0);
    return 0;
}

int TAppDrawObjectImage::SaveForExport(const TBlockFilePtr& parent) {
    _SaveStandard(parent, GetTypeInt());
    return 0;
}

int TAppDrawObjectImage::Load(const TBlockFilePtr& block) {
    _LoadDimensions(block);
    ImageUrl = GetBFString(block, "Image", 0);
    if (ImageUrl.empty()) MakeUrl();
    Reload();
    return 0;
}

int TAppDrawObjectImage::MakeUrl() {
    const std::string png = prefix + "image.png";
    ImageUrl = FileType(png) == 1 ? png : prefix + "image.jpg";
    return 0;
}

int TAppDrawObjectImage::Export(const std::string& path) {
    if (image && !ImageUrl.empty()) CopyFile(ImageUrl, path);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Vector animation

int TAppDrawObjectAVO::Free() {
    avo = nullptr;
    return 0;
}

int TAppDrawObjectAVO::Draw(float x, float y) {
    if (avo) DrawAvoAsset(avo, x, y);
    return 0;
}

std::shared_ptr<TAppShape> TAppDrawObjectAVO::ToShape() { return CreateAppShape_Rect(64, 64, 0, 0); }

std::shared_ptr<TAppDrawObject> TAppDrawObjectAVO::Copy() {
    auto copy = std::make_shared<TAppDrawObjectAVO>();
    copy->avo = avo;
    copy->avoUrl = avoUrl;
    return copy;
}

int TAppDrawObjectAVO::Save(const TBlockFilePtr& parent) {
    _SaveStandard(parent, GetTypeInt());
    return 0;
}

int TAppDrawObjectAVO::SaveForExport(const TBlockFilePtr& parent) {
    _SaveStandard(parent, GetTypeInt());
    return 0;
}

int TAppDrawObjectAVO::Load(const TBlockFilePtr& block) {
    _LoadDimensions(block);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Text

TAppScreen* TAppDrawObjectText::Screen = nullptr;
float TAppDrawObjectText::sx = 1.0f;
float TAppDrawObjectText::sy = 1.0f;
float TAppDrawObjectText::r = 0.0f;
float TAppDrawObjectText::BaseX = 0.0f;
float TAppDrawObjectText::BaseY = 0.0f;

void TAppDrawObjectText::ResetStatics() {
    Screen = nullptr;
    sx = sy = 1.0f;
    r = 0.0f;
    BaseX = BaseY = 0.0f;
}

int TAppDrawObjectText::Free() {
    Lines.clear();
    Class = nullptr;
    return 0;
}

std::shared_ptr<TAppDrawObject> TAppDrawObjectText::Copy() {
    auto copy = std::make_shared<TAppDrawObjectText>();
    copy->Text = Text;
    copy->HalfWidth = HalfWidth;
    copy->HalfHeight = HalfHeight;
    copy->TxtHeight = TxtHeight;
    copy->Lines = Lines;
    copy->Class = Class;
    return copy;
}

float TAppDrawObjectText::GetXByHAlign(int i) {
    if (!Class || i < 0 || i >= static_cast<int>(Lines.size()) || !Lines[i]) return 0.0f;
    switch (Class->HAlign) {
        case 0: return (HalfWidth - Lines[i]->GetHalfWidth()) * sx;
        case 2: return (static_cast<float>(width) - Lines[i]->GetFullWidth()) * sx;
        default: return 0.0f;
    }
}

float TAppDrawObjectText::GetYByVAlign() {
    if (!Class) return 0.0f;
    switch (Class->VAlign) {
        case 0: return (HalfHeight - TxtHeight * 0.5f) * sy;
        case 2: return (static_cast<float>(height) - TxtHeight) * sy;
        default: return 0.0f;
    }
}

int TAppDrawObjectText::Init() {
    if (!Class) Class = TTextClass::DefaultClass;
    // Measured in the font the lines are drawn in.
    SetImageFont(Class ? Class->Font : nullptr);
    const float vSpace = Class ? Class->VSpace : 0.0f;
    Lines = TextProcesor::CreateTextWordLines(Text, static_cast<float>(width));
    sx = 1.0f;
    sy = 1.0f;
    HalfWidth = static_cast<float>(width) * 0.5f;
    HalfHeight = static_cast<float>(height) * 0.5f;
    TxtHeight = 0.0f;
    for (size_t i = 0; i < Lines.size(); ++i) {
        TxtHeight += Lines[i]->height;
        if (i + 1 < Lines.size()) TxtHeight += vSpace;
        Lines[i]->CountAll();
    }
    float cy = 0.0f;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const TAppTextLinePtr& line = Lines[i];
        const float lx = GetXByHAlign(static_cast<int>(i));
        const float ly = GetYByVAlign() + cy;
        line->Dist = std::sqrt(lx * lx + ly * ly);
        line->Angle = static_cast<float>(std::atan2(ly, lx) / kDegToRad);
        if (Class && Class->HAlign == 3) line->CountWordsAngles();
        cy += line->height + vSpace;
    }
    return 0;
}

int TAppDrawObjectText::Draw(float x, float y) {
    GetScale(sx, sy);
    SetImageFont(Class ? Class->Font : nullptr);
    r = GetRotation();
    BaseX = x;
    BaseY = y;
    const bool atRest = LastDrawedX == BaseX && LastDrawedY == BaseY;
    const bool justified = Class && Class->HAlign == 3;
    const float vSpace = Class ? Class->VSpace : 0.0f;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const TAppTextLinePtr& line = Lines[i];
        if (!line) continue;
        float px, py;
        if (r != 0.0f) {
            const double a = (static_cast<double>(line->Angle) + r) * kDegToRad;
            px = x + static_cast<float>(std::cos(a)) * line->Dist * sx;
            py = y + static_cast<float>(std::sin(a)) * line->Dist * sy;
        } else {
            px = x + GetXByHAlign(static_cast<int>(i));
            py = y + GetYByVAlign();
        }
        if (atRest) {
            px = std::trunc(px);
            py = std::trunc(py);
        }
        if (justified) line->DrawJust(px, py, Class.get());
        else line->Draw(px, py, Class.get());
        if (r == 0.0f) {
            if (!justified && !line->line.empty()) TextEndX = static_cast<float>(LayoutTextWidth(line->line));
            y += (vSpace + line->height) * sy;
        }
    }
    LastDrawedX = BaseX;
    LastDrawedY = BaseY;
    return 0;
}

int TAppDrawObjectText::Save(const TBlockFilePtr& parent) {
    TBlockFilePtr block = _SaveStandard(parent, GetTypeInt());
    if (TextLine != 0) AddIntToBlock(block, "TextLine", TextLine, 0);
    else AddStringToBlock(block, "Text", Text, 0);
    if (Class) AddStringToBlock(block, "Class", Class->id, 0);
    return 0;
}

int TAppDrawObjectText::Load(const TBlockFilePtr& block) {
    _LoadDimensions(block);
    const int n = TruncToInt(GetBFNumber(block, "TextLine", 0));
    if (n != 0) {
        TextLine = n;
        if (Screen != nullptr) Text = GetTxtLine(Screen->TxtFile, n);
        else if (TAppDrawObject::CurrScreen != nullptr) Text = GetTxtLine(TAppDrawObject::CurrScreen->TxtFile, n);
        else Warning("Couldn't find text reference for TAppDrawObjectText!");
    } else {
        Text = GetBFString(block, "Text", 0);
    }
    const std::string className = GetBFString(block, "Class", 0);
    Class = className.empty() ? nullptr : AppClassManager::GetTextClass(className, 0);
    if (!Class) Class = TTextClass::DefaultClass;
    Init();
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Creators

TAppDrawObjectPtr CreateAppDrawObject_Rect(int width, int height) {
    auto d = std::make_shared<TAppDrawObjectRect>();
    d->width = width;
    d->height = height;
    return d;
}

TAppDrawObjectPtr CreateAppDrawObject_Image(const TImageAssetPtr& image, int width, int height) {
    auto d = std::make_shared<TAppDrawObjectImage>();
    d->image = image;
    d->width = width;
    d->height = height;
    return d;
}

TAppDrawObjectPtr CreateAppDrawObject_Text(const std::string& text, int textLine, const TTextClassPtr& cls, int width,
                                           int height) {
    auto d = std::make_shared<TAppDrawObjectText>();
    d->Text = text;
    d->TextLine = textLine;
    d->Class = cls;
    d->width = width;
    d->height = height;
    d->Init();
    return d;
}

TAppDrawObjectPtr CreateAppDrawObject_AVO(const TAVOAssetPtr& avo, int width, int height) {
    auto d = std::make_shared<TAppDrawObjectAVO>();
    d->avo = avo;
    d->width = width;
    d->height = height;
    return d;
}

TAppDrawObjectPtr CreateNewAppDrawObjectByType(int type) {
    switch (type) {
        case 1: return std::make_shared<TAppDrawObjectRect>();
        case 2: return std::make_shared<TAppDrawObjectImage>();
        case 3: return std::make_shared<TAppDrawObjectText>();
        case 4: return std::make_shared<TAppDrawObjectAVO>();
        default: return nullptr;
    }
}

TAppDrawObjectPtr LoadAppDrawObject(const TBlockFilePtr& block, TGameObject* owner) {
    TAppDrawObjectPtr d = CreateNewAppDrawObjectByType(TruncToInt(GetBFNumber(block, "Type", 0)));
    if (!d) return nullptr;
    const bool isText = dynamic_cast<TAppDrawObjectText*>(d.get()) != nullptr;
    // The owner's screen is the text source for this one load only: left set, a later load
    // would read the texts of a screen that is no longer being loaded (or no longer exists).
    if (isText) TAppDrawObjectText::Screen = owner != nullptr ? owner->Screen : nullptr;
    d->prefix = owner != nullptr ? owner->Prefix : std::string();
    d->Load(block);
    if (isText) TAppDrawObjectText::Screen = nullptr;
    return d;
}
