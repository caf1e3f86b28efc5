// The data component (kind 2, "Data Block"): an ordered array of named, typed values that a game
// object carries in its file. The engine reads none of them; game code does.
//
// Each value is saved as one entry "Field<n>" (n from 1) holding its text form:
//
//     <letter>|<name>|<default>|<value>|<id>      letter I (int), F (real) or S (text)
//
//     I|coins|0|12|3
//     F|speed|0.00000000|1.50000000|0
//     S|title|0|Hello|0
//
// A form whose texts hold "|" cannot be written that way (the reader splits at every "|"), so
// such a value is written with the letter followed by "%" and its texts percent-escaped ("|" as
// "%7C", "%" as "%25"):
//
//     S%|title|0|a%7Cb|0                          (the text "a|b")
//
// Every form without "|" in its texts is written exactly as before, and every older file reads
// exactly as before.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/Component.h"

class TAppData;
using TAppDataPtr = std::shared_ptr<TAppData>;

// One named value. The base carries the name and id; the three kinds below add the value.
class TAppData {
public:
    std::string name;
    int32_t id = 0;

    virtual ~TAppData() = default;

    // The saved form (see the top of this file); "" on the base.
    virtual std::string ToString() { return ""; }
    // The default in its text form; "" on the base.
    virtual std::string GetDefaultValue() { return ""; }
    // Reads the default from text; returns "". Nothing on the base.
    virtual std::string SetDefaultValue(const std::string&) { return ""; }
    // Fills name, default, value and id from a saved form (type letter first, as ToString
    // writes it); the letter itself is not checked. Nothing on the base. Returns 0.
    virtual int FromString(const std::string&) { return 0; }
    // A new value of the same kind with the same fields; null on the base.
    virtual TAppDataPtr Copy() { return nullptr; }
};

class TAppDataInt : public TAppData {
public:
    int32_t Value = 0;
    int32_t DefaultValue = 0;

    std::string ToString() override;
    std::string GetDefaultValue() override;
    std::string SetDefaultValue(const std::string& text) override;
    int FromString(const std::string& text) override;
    TAppDataPtr Copy() override;
    virtual int SetValue(int32_t v);
};

class TAppDataFloat : public TAppData {
public:
    float Value = 0.0f;
    float DefaultValue = 0.0f;

    std::string ToString() override;
    std::string GetDefaultValue() override;
    std::string SetDefaultValue(const std::string& text) override;
    int FromString(const std::string& text) override;
    TAppDataPtr Copy() override;
    virtual int SetValue(float v);
};

class TAppDataString : public TAppData {
public:
    std::string Value;
    std::string DefaultValue = "0";  // "0", not the empty text

    std::string ToString() override;
    std::string GetDefaultValue() override;
    std::string SetDefaultValue(const std::string& text) override;
    int FromString(const std::string& text) override;
    TAppDataPtr Copy() override;
    virtual int SetValue(const std::string& v);
};

class TAppDataComponent : public TAppObjComponent {
public:
    std::vector<TAppDataPtr> Data;  // in order; replaced whole on every change

    // "Type", "Name", "Fields" = the number of values, then "Field1", "Field2", ...
    int Save(const TBlockFilePtr& block) override;
    // The name, then the values of "Field1" .. "Field<Fields>" appended to Data. Entries that
    // are missing, empty or of an unknown letter are skipped. The list is not used.
    int Load(const TBlockFilePtr& block, TLoadList* list) override;
    // Data empty, Obj null.
    int Free() override;
    // COMPONENTS_NAMES[2], "Data Block".
    std::string GetTypeStr() override;
    int GetTypeInt() override { return 2; }
    // Copies of every value, same order; empty name, no owner.
    TAppObjComponentPtr Copy() override;

    // Appends the value at the end.
    virtual int AddData(const TAppDataPtr& value);
    // Removes the first occurrence of that very value object; nothing when it is not there.
    virtual int RemoveData(const TAppDataPtr& value);
    // Data = the list's values in order; null elements leave null slots at the end.
    virtual int CreateDataArrayFromList(const std::vector<TAppDataPtr>& list);
};

using TAppDataComponentPtr = std::shared_ptr<TAppDataComponent>;

// A new data component named "Data Block" owned by obj (added to it when obj is not null).
TAppDataComponentPtr CreateAppDataComponent(TGameObject* obj);

// Values from the pieces of a saved form split at "|": piece 0 (the type letter) is skipped,
// then 1 name, 2 default, 3 value, 4 id. Missing pieces keep the kind's defaults; pieces
// beyond 4 are ignored.
std::shared_ptr<TAppDataInt> CreateAppDataComp_IntegerFromString(const std::vector<std::string>& pieces);
std::shared_ptr<TAppDataFloat> CreateAppDataComp_FloatFromString(const std::vector<std::string>& pieces);
std::shared_ptr<TAppDataString> CreateAppDataComp_StringFromString(const std::vector<std::string>& pieces);

// A value of the kind with that name and value; default and id keep their defaults.
std::shared_ptr<TAppDataInt> CreateAppDataComp_Int(const std::string& name, int32_t value);
std::shared_ptr<TAppDataFloat> CreateAppDataComp_Float(const std::string& name, float value);
std::shared_ptr<TAppDataString> CreateAppDataComp_String(const std::string& name, const std::string& value);

// The value a saved form describes, by its type letter (any case, escaped or not); null for an
// empty form or an unknown letter.
TAppDataPtr CreateAppDataFromString(const std::string& form);
