#include "engine/media/TextClass.h"
#include "engine/system/Error.h"

#include <algorithm>
#include <cmath>

#include "engine/data/Fields.h"
#include "engine/basics/Basics.h"
#include "engine/system/Paths.h"
#include "engine/media/AppFont.h"
#include "engine/media/TextLayout.h"
#include "platform/Files.h"
#include "platform/Strings.h"

namespace {

std::string DefaultClassListUrl() { return bDir + AppResources + AppResourcesData + "Classes.dat"; }

}  // namespace

TTextClassPtr TTextClass::DefaultClass = std::make_shared<TTextClass>();

// ---------------------------------------------------------------------------------------------

std::string TClassParameter::GetString(int index) const {
    if (index < 0 || index >= static_cast<int>(data.size())) return "";
    return data[static_cast<size_t>(index)];
}

float TClassParameter::GetFLoat(int index) const {
    if (index < 0 || index >= static_cast<int>(data.size())) return 0.0f;
    return StringToFloat(data[static_cast<size_t>(index)]);
}

int32_t TClassParameter::GetInt(int index) const {
    if (index < 0 || index >= static_cast<int>(data.size())) return 0;
    return StringToInt(data[static_cast<size_t>(index)]);
}

std::string TClassParameter::ToString() const {
    std::string s = name + " = ";
    for (size_t i = 0; i < data.size(); ++i) {
        if (i) s += ", ";
        s += data[i];
    }
    return s;
}

void TClassParameter::Save(const TBlockFilePtr& block) const {
    if (!block) return;
    for (size_t i = 0; i < data.size(); ++i) AddStringToBlock(block, name, Trim(data[i]), static_cast<int>(i), 0);
}

TClassParameterPtr CreateClassParameter(const TBlockFilePtr& entry) {
    auto p = std::make_shared<TClassParameter>();
    if (!entry) return p;
    p->name = NameUpper(entry->name);
    p->data = entry->Value;
    return p;
}

// ---------------------------------------------------------------------------------------------

std::vector<TClassParameterPtr> TClass::CopyParams() const { return Params; }

std::shared_ptr<TClass> TClass::Copy() const {
    auto c = std::make_shared<TClass>();
    c->id = id + "_Copy";
    c->Params = CopyParams();
    return c;
}

const TClassParameter* TClass::FindParam(const std::string& name) const {
    const std::string key = NameUpper(name);
    for (const auto& p : Params)
        if (p && p->name == key) return p.get();
    return nullptr;
}

std::string TClass::GetParamString(const std::string& name, int index) const {
    const TClassParameter* p = FindParam(name);
    return p ? p->GetString(index) : "";
}

float TClass::GetParamFloat(const std::string& name, int index) const {
    const TClassParameter* p = FindParam(name);
    return p ? p->GetFLoat(index) : 0.0f;
}

int32_t TClass::GetParamInt(const std::string& name, int index) const {
    const TClassParameter* p = FindParam(name);
    return p ? p->GetInt(index) : 0;
}

int TClass::ParamExist(const std::string& name) const { return FindParam(name) ? 1 : 0; }

void TClass::Load(const TBlockFilePtr& block) { (void)block; }

void TClass::LoadFromBlock(const TBlockFilePtr& block) {
    if (!block) return;
    id = NameUpper(GetBFString(block, "id", 0));
    Params.clear();
    for (const auto& entry : GetBlockFileEntrysList(block, "")) Params.push_back(CreateClassParameter(entry));
}

void TClass::Save(const TBlockFilePtr& parent) const {
    if (!parent) return;
    TBlockFilePtr block = CreateBlockFile("CLASS", parent);
    for (const auto& p : Params)
        if (p) p->Save(block);
}

// ---------------------------------------------------------------------------------------------

namespace {
// The layout entries, written after the colours (hAlign .. Font).
using C = TTextClass;
constexpr TField<C> kLayoutFields[] = {
    {"hAlign", 0, &C::HAlign, FieldForm::Number},
    {"vAlign", 0, &C::VAlign, FieldForm::Number},
    // A real, so that a fractional spacing survives saving.
    {"VSpace", 0, &C::VSpace},
    {"Font", 0, &C::cFontUrl},
    {"Font", 1, &C::cFontSize, FieldForm::Number},
};
}  // namespace

TTextClass::TTextClass() {
    Rgb = std::make_shared<TRGB>();
    Rgb->r = Rgb->g = Rgb->b = 255;
    Rgb->a = 1.0f;
    Rgb->position = 1.0f;
}

std::shared_ptr<TClass> TTextClass::Copy() const { return CopyTextClass(); }

TTextClassPtr TTextClass::CopyTextClass() const {
    auto c = std::make_shared<TTextClass>();
    c->id = id + "_copy";
    c->Font = Font;
    c->OutLIne = OutLIne ? OutLIne->Copy() : nullptr;
    if (Rgb) c->Rgb = Rgb->Copy();
    c->Shadow = Shadow ? Shadow->Copy() : nullptr;
    CopyFields(*c, *this, kLayoutFields);
    return c;
}

void TTextClass::Load(const TBlockFilePtr& block) {
    if (!block) return;
    id = GetBFString(block, "id", 0);
    std::string s = GetBFString(block, "rgb", 0);
    if (!s.empty()) {
        Rgb = std::make_shared<TRGB>();
        Rgb->FromString(s);
    }
    s = GetBFString(block, "outline", 0);
    if (!s.empty()) {
        OutLIne = std::make_shared<TRGB>();
        OutLIne->FromString(s);
    }
    s = GetBFString(block, "shadow", 0);
    if (!s.empty()) {
        Shadow = std::make_shared<TDim>();
        Shadow->FromString(s);
    }
    LoadFields(block, *this, kLayoutFields);
    if (!cFontUrl.empty()) Font = GetAppFont(ConvertAppPath(cFontUrl), cFontSize);
}

void TTextClass::Save(const TBlockFilePtr& parent) const {
    if (!parent) return;
    TBlockFilePtr block = CreateBlockFile("Class", parent);
    AddStringToBlock(block, "id", id, 0, 0);
    AddStringToBlock(block, "TYPE", "TTEXTCLASS", 0, 0);
    if (Rgb) AddStringToBlock(block, "rgb", Rgb->ToString(), 0, 0);
    if (OutLIne) AddStringToBlock(block, "Outline", OutLIne->ToString(), 0, 0);
    if (Shadow) AddStringToBlock(block, "shadow", Shadow->ToString(), 0, 0);
    SaveFields(block, *this, kLayoutFields);
}

int TTextClass::GetWidth(const std::string& text) const {
    SetImageFont(Font);
    return LayoutTextWidth(text);
}

int TTextClass::GetHeight(const std::string& text) const {
    SetImageFont(Font);
    return LayoutTextHeight(text);
}

std::string TTextClass::ToString() const {
    std::string s;
    if (Font) s += " Is Font\n";
    if (OutLIne) s += " Is Outline\n";
    if (Rgb) s += " Is RGB\n";
    if (Shadow) s += " Is Shadow\n";
    return s;
}

// ---------------------------------------------------------------------------------------------

void AppClassManager::Init() {
    if (!TTextClass::DefaultClass) TTextClass::DefaultClass = std::make_shared<TTextClass>();
    TTextClass::DefaultClass->id = "Def. Text Class";
    TextClasses.push_back(TTextClass::DefaultClass);
}

int AppClassManager::isClass(const TClass* cls) {
    if (!cls) return 0;
    for (const auto& c : Classes)
        if (c.get() == cls) return 1;
    for (const auto& c : TextClasses)
        if (c.get() == cls) return 1;
    return 0;
}

void AppClassManager::Save() {
    if (ClassListUrl.empty()) ClassListUrl = DefaultClassListUrl();
    TBlockFilePtr root = CreateBlockFile(ClassListUrl);
    for (const auto& c : Classes)
        if (c) c->Save(root);
    SaveBlockFile(root);
}

void AppClassManager::LoadClasses(const std::string& url) {
    TBlockFilePtr root = LoadBlockFile(url);  // a missing file is reported and reads as empty
    ClassListUrl = url;
    for (const auto& block : GetBlockFilesList(root, "CLASS")) {
        if (Upper(GetBFString(block, "TYPE", 0)) != "TTEXTCLASS") continue;
        auto cls = std::make_shared<TTextClass>();
        cls->LoadFromBlock(block);
        cls->Load(block);
        Classes.push_back(cls);
        TextClasses.push_back(cls);
    }
}

void AppClassManager::AddTextClass(const TTextClassPtr& cls) {
    if (!cls) return;
    TextClasses.push_back(cls);
    Classes.push_back(cls);
}

TClassPtr AppClassManager::GetClass(const std::string& id) {
    for (const auto& c : Classes)
        if (c && NamesEqual(c->id, id)) return c;
    return nullptr;
}

TTextClassPtr AppClassManager::GetTextClass(const std::string& id, int n) {
    (void)n;
    for (const auto& c : TextClasses)
        if (c && NamesEqual(c->id, id)) return c;
    return nullptr;
}

void AppClassManager::RemoveClass(const TClass* cls) {
    if (!cls) return;
    std::erase_if(Classes, [cls](const TClassPtr& c) { return c.get() == cls; });
    std::erase_if(TextClasses, [cls](const TTextClassPtr& c) { return c.get() == cls; });
}

void AppClassManager::Reset() {
    Classes.clear();
    TextClasses.clear();
    ImageClasses.clear();
    ClassListUrl.clear();
    ClassListMissing = false;
    TTextClass::DefaultClass = std::make_shared<TTextClass>();
}

void AppInitClasses() {
    AppClassManager::Init();
    const std::string url = DefaultClassListUrl();
    if (FileType(url) != 0) {
        AppClassManager::LoadClasses(url);
    } else {
        ErrorNoFile(url, Here());
        AppClassManager::ClassListMissing = true;
    }
}

TTextClassPtr CreateTextClassFromParams(const TClass& cls) {
    auto t = std::make_shared<TTextClass>();
    t->id = cls.id;
    t->cFontUrl = cls.GetParamString("Font", 0);
    t->cFontSize = cls.GetParamInt("Font", 1);
    t->Font = GetAppFont(ConvertAppPath(t->cFontUrl), t->cFontSize);
    t->Rgb = CreateRGB(cls.GetParamInt("RGB", 1), cls.GetParamInt("RGB", 2), cls.GetParamInt("RGB", 3),
                       cls.GetParamFloat("RGB", 0), 1.0f);
    t->OutLIne = CreateRGB(cls.GetParamInt("outline", 1), cls.GetParamInt("outline", 2), cls.GetParamInt("outline", 3),
                           cls.GetParamFloat("outline", 0), 1.0f);
    t->Shadow = std::make_shared<TDim>();
    t->Shadow->x = cls.GetParamFloat("shadow", 0);
    t->Shadow->y = cls.GetParamFloat("shadow", 1);
    t->Shadow->w = cls.GetParamFloat("shadow", 2);
    t->VAlign = ParseAlignKeyword(cls.GetParamString("VAlign", 0));
    t->HAlign = ParseAlignKeyword(cls.GetParamString("HAlign", 0));
    t->VSpace = cls.GetParamFloat("vSpace", 0);
    AppClassManager::AddTextClass(t);
    return t;
}
