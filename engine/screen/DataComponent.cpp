#include "engine/screen/DataComponent.h"

#include <algorithm>
#include <map>

#include "engine/basics/Basics.h"
#include "engine/data/Keyframes.h"
#include "engine/screen/GameObject.h"
#include "engine/data/BoxedNumbers.h"
#include "platform/Strings.h"

namespace {

// "|" and "%" inside an escaped form.
std::string EscapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%') out += "%25";
        else if (c == '|') out += "%7C";
        else out += c;
    }
    return out;
}

// Undoes EscapeText; any other "%" stays as it stands.
std::string UnescapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string code = Upper(text.substr(i + 1, 2));
            if (code == "7C") {
                out += '|';
                i += 2;
                continue;
            }
            if (code == "25") {
                out += '%';
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The saved form of a value; escaped only when one of its texts holds "|".
std::string BuildForm(const char* letter, const std::string& name, const std::string& def, const std::string& value,
                      int32_t id) {
    const bool escape = name.find('|') != std::string::npos || def.find('|') != std::string::npos ||
                        value.find('|') != std::string::npos;
    if (!escape) return std::string(letter) + "|" + name + "|" + def + "|" + value + "|" + IntToString(id);
    return std::string(letter) + "%|" + EscapeText(name) + "|" + EscapeText(def) + "|" + EscapeText(value) + "|" +
           IntToString(id);
}

// The pieces of a saved form with piece 0 reduced to its upper-case type letter and, for an
// escaped form, the texts unescaped.
std::vector<std::string> SplitForm(const std::string& form) {
    std::vector<std::string> pieces = SplitString(form, "|");
    if (pieces.empty()) return pieces;
    pieces[0] = Upper(pieces[0]);
    if (pieces[0].size() == 2 && pieces[0][1] == '%') {
        pieces[0].resize(1);
        for (size_t i = 1; i < pieces.size(); ++i) pieces[i] = UnescapeText(pieces[i]);
    }
    return pieces;
}

bool Has(const std::vector<std::string>& pieces, size_t i) { return i < pieces.size(); }

// Fills the common fields and hands the default and value texts to the kind.
template <class Kind, class ReadFn>
void FillFromPieces(Kind& data, const std::vector<std::string>& pieces, ReadFn read) {
    if (Has(pieces, 1)) data.name = pieces[1];
    if (Has(pieces, 2)) data.DefaultValue = read(pieces[2]);
    if (Has(pieces, 3)) data.Value = read(pieces[3]);
    if (Has(pieces, 4)) data.id = StringToInt(pieces[4]);
}

int32_t ReadInt(const std::string& s) { return StringToInt(s); }
float ReadFloat(const std::string& s) { return StringToFloat(s); }
std::string ReadText(const std::string& s) { return s; }

// "FIELD" + a decimal number without leading zeros (any case); the number, or 0.
int64_t FieldNumber(const std::string& entryName) {
    if (entryName.size() < 6 || !StartsWithNoCase(entryName, "Field")) return 0;
    const std::string digits = entryName.substr(5);
    if (digits[0] == '0' || digits.size() > 10) return 0;
    int64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Values

std::string TAppDataInt::ToString() { return BuildForm("I", name, GetDefaultValue(), IntToString(Value), id); }
std::string TAppDataInt::GetDefaultValue() { return IntToString(DefaultValue); }
std::string TAppDataInt::SetDefaultValue(const std::string& text) {
    DefaultValue = StringToInt(text);
    return "";
}
int TAppDataInt::FromString(const std::string& text) {
    FillFromPieces(*this, SplitForm(text), ReadInt);
    return 0;
}
TAppDataPtr TAppDataInt::Copy() { return std::make_shared<TAppDataInt>(*this); }
int TAppDataInt::SetValue(int32_t v) {
    Value = v;
    return 0;
}

std::string TAppDataFloat::ToString() { return BuildForm("F", name, GetDefaultValue(), FloatToString(Value), id); }
std::string TAppDataFloat::GetDefaultValue() { return FloatToString(DefaultValue); }
std::string TAppDataFloat::SetDefaultValue(const std::string& text) {
    DefaultValue = StringToFloat(text);
    return "";
}
int TAppDataFloat::FromString(const std::string& text) {
    FillFromPieces(*this, SplitForm(text), ReadFloat);
    return 0;
}
TAppDataPtr TAppDataFloat::Copy() { return std::make_shared<TAppDataFloat>(*this); }
int TAppDataFloat::SetValue(float v) {
    Value = v;
    return 0;
}

std::string TAppDataString::ToString() { return BuildForm("S", name, GetDefaultValue(), Value, id); }
std::string TAppDataString::GetDefaultValue() { return DefaultValue; }
std::string TAppDataString::SetDefaultValue(const std::string& text) {
    DefaultValue = text;
    return "";
}
int TAppDataString::FromString(const std::string& text) {
    FillFromPieces(*this, SplitForm(text), ReadText);
    return 0;
}
TAppDataPtr TAppDataString::Copy() { return std::make_shared<TAppDataString>(*this); }
int TAppDataString::SetValue(const std::string& v) {
    Value = v;
    return 0;
}

std::shared_ptr<TAppDataInt> CreateAppDataComp_IntegerFromString(const std::vector<std::string>& pieces) {
    auto data = std::make_shared<TAppDataInt>();
    FillFromPieces(*data, pieces, ReadInt);
    return data;
}

std::shared_ptr<TAppDataFloat> CreateAppDataComp_FloatFromString(const std::vector<std::string>& pieces) {
    auto data = std::make_shared<TAppDataFloat>();
    FillFromPieces(*data, pieces, ReadFloat);
    return data;
}

std::shared_ptr<TAppDataString> CreateAppDataComp_StringFromString(const std::vector<std::string>& pieces) {
    auto data = std::make_shared<TAppDataString>();
    FillFromPieces(*data, pieces, ReadText);
    return data;
}

std::shared_ptr<TAppDataInt> CreateAppDataComp_Int(const std::string& name, int32_t value) {
    auto data = std::make_shared<TAppDataInt>();
    data->name = name;
    data->Value = value;
    return data;
}

std::shared_ptr<TAppDataFloat> CreateAppDataComp_Float(const std::string& name, float value) {
    auto data = std::make_shared<TAppDataFloat>();
    data->name = name;
    data->Value = value;
    return data;
}

std::shared_ptr<TAppDataString> CreateAppDataComp_String(const std::string& name, const std::string& value) {
    auto data = std::make_shared<TAppDataString>();
    data->name = name;
    data->Value = value;
    return data;
}

TAppDataPtr CreateAppDataFromString(const std::string& form) {
    const std::vector<std::string> pieces = SplitForm(form);
    if (pieces.empty()) return nullptr;
    if (pieces[0] == "I") return CreateAppDataComp_IntegerFromString(pieces);
    if (pieces[0] == "F") return CreateAppDataComp_FloatFromString(pieces);
    if (pieces[0] == "S") return CreateAppDataComp_StringFromString(pieces);
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// The component

std::string TAppDataComponent::GetTypeStr() { return GetComponentName(GetTypeInt()); }

int TAppDataComponent::AddData(const TAppDataPtr& value) {
    std::vector<TAppDataPtr> list = Data;
    list.push_back(value);
    return CreateDataArrayFromList(list);
}

int TAppDataComponent::RemoveData(const TAppDataPtr& value) {
    std::vector<TAppDataPtr> list = Data;
    auto it = std::find(list.begin(), list.end(), value);
    if (it == list.end()) return 0;
    list.erase(it);
    return CreateDataArrayFromList(list);
}

int TAppDataComponent::CreateDataArrayFromList(const std::vector<TAppDataPtr>& list) {
    std::vector<TAppDataPtr> data(list.size());
    size_t n = 0;
    for (auto& value : list)
        if (value) data[n++] = value;
    Data = std::move(data);
    return 0;
}

int TAppDataComponent::Free() {
    Data.clear();
    Obj = nullptr;
    return 0;
}

TAppObjComponentPtr TAppDataComponent::Copy() {
    auto copy = std::make_shared<TAppDataComponent>();
    copy->Data = CopyEach(Data, true);
    return copy;
}

int TAppDataComponent::Save(const TBlockFilePtr& block) {
    if (!block) return 0;
    SaveBase(block);
    AddIntToBlock(block, "Fields", static_cast<int32_t>(Data.size()), 0);
    int n = 1;
    for (auto& value : Data) {
        // A null slot still takes its number, so the count and the numbering agree.
        AddStringToBlock(block, "Field" + std::to_string(n), value ? value->ToString() : std::string(), 0);
        ++n;
    }
    return 0;
}

int TAppDataComponent::Load(const TBlockFilePtr& block, TLoadList*) {
    if (!block) return 0;
    LoadBase(block);
    const int64_t count = TruncToInt(GetBFNumber(block, "Fields", 0));
    if (count <= 0) return 0;
    // The entries "Field1" .. "Field<count>" that the block really holds, by number (the first
    // of each name, as a lookup by name finds it). Walking the block instead of counting up to
    // "Fields" keeps a damaged count from running for ever.
    std::map<int64_t, TBlockFilePtr> fields;
    for (auto& child : block->SubFiles) {
        if (!child) continue;
        const int64_t k = FieldNumber(child->name);
        if (k >= 1 && k <= count) fields.emplace(k, child);
    }
    for (auto& [k, entry] : fields) {
        if (entry->MyType != BF_ENTRY) continue;
        TAppDataPtr value = CreateAppDataFromString(entry->GetString(0));
        if (value) AddData(value);
    }
    return 0;
}

TAppDataComponentPtr CreateAppDataComponent(TGameObject* obj) {
    auto component = std::make_shared<TAppDataComponent>();
    component->name = component->GetTypeStr();
    component->Obj = obj;
    if (obj != nullptr) obj->AddComponent(component);
    return component;
}
