#include "engine/data/DataContainer.h"

#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "platform/Strings.h"

std::string TDataFieldInt::ToString() const { return std::to_string(data); }
std::string TDataFieldFloat::ToString() const { return FloatToString(data); }
std::string TDataFieldString::ToString() const { return data; }

std::string TDataContainer::ToString() const {
    std::string out = "CONTAINER: " + Name + "\n" + std::string(53, '=') + "\n";
    for (const auto& f : Fields)
        if (f) out += f->Name + " = " + f->ToString() + "\n";
    return out;
}

void TDataContainer::AddField(TDataFieldPtr field) {
    if (field) Fields.push_back(std::move(field));
}

void TDataContainer::AddDataField(TDataFieldPtr field) { AddField(std::move(field)); }

TDataFieldPtr TDataContainer::GetField(std::string_view name) const {
    for (const auto& f : Fields)
        if (f && NamesEqual(f->Name, name)) return f;
    Error("No Data Field '" + std::string(name) + "' found!", Here());
    return nullptr;
}

std::string TDataContainer::GetFieldString(std::string_view name) const {
    TDataFieldPtr f = GetField(name);
    if (auto s = dynamic_cast<TDataFieldString*>(f.get())) return s->data;
    return f ? f->ToString() : std::string();
}

float TDataContainer::GetFieldFloat(std::string_view name) const {
    TDataFieldPtr f = GetField(name);
    if (auto x = dynamic_cast<TDataFieldFloat*>(f.get())) return x->data;
    if (auto i = dynamic_cast<TDataFieldInt*>(f.get())) return static_cast<float>(i->data);
    return 0.0f;
}

int32_t TDataContainer::GetFieldInt(std::string_view name) const {
    TDataFieldPtr f = GetField(name);
    if (auto i = dynamic_cast<TDataFieldInt*>(f.get())) return i->data;
    if (auto x = dynamic_cast<TDataFieldFloat*>(f.get())) {
        // Truncate toward zero; out-of-range values saturate instead of being undefined.
        return TruncToInt(x->data);
    }
    return 0;
}

void AddDataField(const TDataContainerPtr& container, TDataFieldPtr field) {
    if (container) container->AddDataField(std::move(field));
}

TDataContainerPtr CreateDataContainer(const std::string& name) {
    auto c = std::make_shared<TDataContainer>();
    c->Name = name;
    return c;
}

std::shared_ptr<TDataFieldInt> CreateDataInt(const std::string& name, int32_t value) {
    auto f = std::make_shared<TDataFieldInt>();
    f->Name = CapitalizeString(name);
    f->data = value;
    return f;
}

std::shared_ptr<TDataFieldFloat> CreateDataFloat(const std::string& name, float value) {
    auto f = std::make_shared<TDataFieldFloat>();
    f->Name = CapitalizeString(name);
    f->data = value;
    return f;
}

std::shared_ptr<TDataFieldString> CreateDataString(const std::string& name, const std::string& value) {
    auto f = std::make_shared<TDataFieldString>();
    f->Name = CapitalizeString(name);
    f->data = value;
    return f;
}

TDataFieldPtr ConvertIniParamToDataField(const TIniParamPtr& param) {
    if (!param) return nullptr;
    const std::string& text = param->data;
    const int kind = GetValueType(text);
    if (kind == 1) {
        auto f = std::make_shared<TDataFieldFloat>();
        f->Name = param->id;
        f->data = param->GetFloat();
        return f;
    }
    if (kind == 0) {
        auto f = std::make_shared<TDataFieldInt>();
        f->Name = param->id;
        f->data = param->GetInt();  // "TRUE" reads as 1, "FALSE" as 0
        return f;
    }
    auto f = std::make_shared<TDataFieldString>();
    f->Name = param->id;
    f->data = text;
    return f;
}

TDataContainerPtr ConvertIniBlockToDataContainer(const TIniBlockPtr& block) {
    if (!block) return nullptr;
    auto c = CreateDataContainer(block->name);
    for (const auto& p : block->params) {
        TDataFieldPtr f = ConvertIniParamToDataField(p);
        if (!f) {
            Error("Couldn't convert TIniParam(" + (p ? p->id : std::string()) + ") to TDataField!", Here());
            continue;
        }
        c->AddField(std::move(f));
    }
    return c;
}

TDataContainerList LoadDataContainersFromIniFile(const std::string& path) {
    TDataContainerList out;
    for (const auto& b : LoadIniFile(path))
        if (auto c = ConvertIniBlockToDataContainer(b)) out.push_back(std::move(c));
    return out;
}
