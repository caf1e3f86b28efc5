// Data containers: named lists of typed fields (integers, floats, strings). The settings are
// kept in them while the program runs, one container per ini section.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/IniFile.h"

class TDataField {
public:
    virtual ~TDataField() = default;
    std::string Name;
    virtual std::string ToString() const { return std::string(); }
};
using TDataFieldPtr = std::shared_ptr<TDataField>;

class TDataFieldInt : public TDataField {
public:
    int32_t data = 0;
    std::string ToString() const override;  // decimal
};

class TDataFieldFloat : public TDataField {
public:
    float data = 0.0f;
    std::string ToString() const override;  // "%#.9g"
};

class TDataFieldString : public TDataField {
public:
    std::string data;
    std::string ToString() const override;  // data itself
};

class TDataContainer {
public:
    std::string Name;
    std::vector<TDataFieldPtr> Fields;  // in the order added; lookups find the first

    // "CONTAINER: " + Name + "\n", 53 "=" + "\n", then "Name = value\n" per field.
    std::string ToString() const;
    void AddField(TDataFieldPtr field);
    void AddDataField(TDataFieldPtr field);
    // The first field of that name (ignoring case); when none, reports
    // "No Data Field '<name>' found!" and returns null.
    TDataFieldPtr GetField(std::string_view name) const;
    // The data of a string field; a number field gives its text form; "" when missing.
    std::string GetFieldString(std::string_view name) const;
    // The value of a number field, converted between int and float (a float is truncated toward
    // zero for GetFieldInt); a string field or a missing one gives 0.
    float GetFieldFloat(std::string_view name) const;
    int32_t GetFieldInt(std::string_view name) const;
};
using TDataContainerPtr = std::shared_ptr<TDataContainer>;
using TDataContainerList = std::vector<TDataContainerPtr>;

void AddDataField(const TDataContainerPtr& container, TDataFieldPtr field);
TDataContainerPtr CreateDataContainer(const std::string& name);
// Fields named with the first character upper-cased ("windowWidth" -> "WindowWidth").
std::shared_ptr<TDataFieldInt> CreateDataInt(const std::string& name, int32_t value);
std::shared_ptr<TDataFieldFloat> CreateDataFloat(const std::string& name, float value);
std::shared_ptr<TDataFieldString> CreateDataString(const std::string& name, const std::string& value);

// One container per section of the ini file, in file order (empty when the file is missing).
TDataContainerList LoadDataContainersFromIniFile(const std::string& path);
TDataContainerPtr ConvertIniBlockToDataContainer(const TIniBlockPtr& block);
// The field for one pair, typed by its text: "digits.digits" (one ".", optional leading "-") a
// float; whole numbers and "TRUE"/"FALSE" an int (TRUE 1, FALSE 0); anything else a string.
// Null for a null pair.
TDataFieldPtr ConvertIniParamToDataField(const TIniParamPtr& param);
