// Arrays and lists of value types stored in block files, one entry per value whose first value
// is the type's text form (a quoted text, so its commas stay inside the one value).
//
//   Array file:           Dim = "10.0000000,20.0000000,..."   one top-level entry per value
//   Multiple-array file:  DimArray{ Dim = "..." ... }          one top-level block per array
//   Simple rectangle file: Box = 10, 20, 30, 40               x, y, w, h read as integers
//
// Readers take every top-level entry whatever its name, in file order.
#pragma once
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"

// Write the file (the root block is named by the path). Null slots are skipped. True when the
// file was written; a failure is reported and gives false.
bool SaveDimArray(const TDimArray& dims, const std::string& path);
bool SaveDimList(const TDimArray& dims, const std::string& path);
bool SaveMultipleDimArrays(const std::vector<TDimArray>& arrays, const std::string& path);

// A missing file is reported ("NO FILE ERROR ... No such file or directory! Url = path") and
// gives an empty array.
TDimArray LoadDimArray(const std::string& path);
TRGBArray LoadRGBArray(const std::string& path);
TDimArray LoadDimList(const std::string& path);
// Each top-level entry's values 0..3 as integers become x, y, w, h; the rest stays 0.
TDimArray LoadSimpleDimArray(const std::string& path);
// The top-level blocks named "DimArray" (any case), each read as an array file.
std::vector<TDimArray> LoadMultipleDimArrays(const std::string& path);

// The same number of slots, the values first in list order, the empty slots at the end.
TDimArray ConvertDimListToArray(const TDimArray& dims);
