// A data class's fields declared once: one table of them saves, loads and copies them, so that a
// new field is one line. A row names the entry of the block file that holds the field, the
// value's place in that entry, the member, and, where it is not the member's plain form, how the
// value is written and read:
//
//   constexpr TField<TAppVar> kVarFields[] = {
//       {"Speed", 0, &TAppVar::speedInc},                    // a real
//       {"Flags", 0, &TAppVar::isValueSaved, FieldForm::Bool},
//   };
//   SaveFields(block, *this, kVarFields);   // the entries in the table's order
//   LoadFields(block, *this, kVarFields);   // a missing entry reads as empty: 0, "" or false
//   CopyFields(*copy, *this, kVarFields);
//
// A row with no entry is a field that is copied but never saved; FieldUse marks the fields that
// skip one of the three. Saving writes the entries in the table's order, so a file written
// from a table is the file the same fields written one by one gave.
#pragma once
#include <cstdint>
#include <cstddef>
#include <string>
#include <type_traits>
#include <variant>

#include "engine/data/BlockFile.h"
#include "platform/Maths.h"

enum class FieldForm {
    Plain,   // as the member's type: a real ("%#.9g"), an int (read as one: "12.7" is 12, "$1F" 31), a text
    Number,  // an int read as a real truncated toward zero ("1e3" is 1000, "12.7" is 12)
    Bool,    // an int written "true" or "false" (any value but 0 is true), read as true, false or an int
    Whole,   // a real written as an int truncated toward zero, read as a real
};

enum class FieldUse {
    All,              // saved, loaded and copied
    NotCopied,        // saved and loaded; a copy keeps its own
    SavedOnly,        // written, never read back nor copied
    KeptWhenMissing,  // as All, but a block without the entry leaves the field as it is
};

template <class T>
struct TField {
    using Member = std::variant<float T::*, int32_t T::*, std::string T::*>;
    const char* entry;  // null: copied only
    int index;
    Member member;
    FieldForm form = FieldForm::Plain;
    FieldUse use = FieldUse::All;
};

namespace fields_detail {
template <class T>
void Save(const TBlockFilePtr& block, const T& object, const TField<T>& f) {
    std::visit(
        [&](auto member) {
            const auto& value = object.*member;
            using V = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<V, std::string>) {
                AddStringToBlock(block, f.entry, value, f.index);
            } else if constexpr (std::is_same_v<V, float>) {
                if (f.form == FieldForm::Whole) AddIntToBlock(block, f.entry, TruncToInt(value), f.index);
                else AddFloatToBlock(block, f.entry, value, f.index);
            } else if (f.form == FieldForm::Bool) {
                AddBoolToBlock(block, f.entry, value, f.index);
            } else {
                AddIntToBlock(block, f.entry, value, f.index);
            }
        },
        f.member);
}

template <class T>
void Load(const TBlockFilePtr& block, T& object, const TField<T>& f) {
    std::visit(
        [&](auto member) {
            auto& value = object.*member;
            using V = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<V, std::string>) value = GetBFString(block, f.entry, f.index);
            else if constexpr (std::is_same_v<V, float>) value = GetBFNumber(block, f.entry, f.index);
            else if (f.form == FieldForm::Bool) value = GetBFBool(block, f.entry, f.index);
            else if (f.form == FieldForm::Number) value = TruncToInt(GetBFNumber(block, f.entry, f.index));
            else value = GetBFInt(block, f.entry, f.index);
        },
        f.member);
}
}  // namespace fields_detail

// Each saved field of object into block, in the table's order.
template <class Object, class T, size_t N>
void SaveFields(const TBlockFilePtr& block, const Object& object, const TField<T> (&table)[N]) {
    for (const TField<T>& f : table)
        if (f.entry) fields_detail::Save<T>(block, object, f);
}

// Each saved field of object from block.
template <class Object, class T, size_t N>
void LoadFields(const TBlockFilePtr& block, Object& object, const TField<T> (&table)[N]) {
    for (const TField<T>& f : table)
        if (f.entry && f.use != FieldUse::SavedOnly &&
            (f.use != FieldUse::KeptWhenMissing || isBFEntry(block, f.entry)))
            fields_detail::Load<T>(block, object, f);
}

// Each copied field of from into to.
template <class Object, class T, size_t N>
void CopyFields(Object& to, const Object& from, const TField<T> (&table)[N]) {
    for (const TField<T>& f : table)
        if (f.use != FieldUse::NotCopied && f.use != FieldUse::SavedOnly)
            std::visit([&](auto member) { to.*member = from.*member; }, f.member);
}
