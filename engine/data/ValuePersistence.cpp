#include "engine/data/ValuePersistence.h"

#include "engine/system/Error.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"

namespace {

void AddDims(const TBlockFilePtr& block, const TDimArray& dims) {
    for (const auto& d : dims)
        if (d) AddStringToBlock(block, "Dim", d->ToString(), 0, 1);  // a new entry every time
}

// Every top-level entry's first value read into a new T, in file order.
template <class T>
std::vector<std::shared_ptr<T>> ReadEntries(const TBlockFilePtr& block) {
    std::vector<std::shared_ptr<T>> out;
    for (const auto& entry : GetBlockFileEntrysList(block, "")) {
        auto value = std::make_shared<T>();
        value->FromString(entry->GetString(0));
        out.push_back(std::move(value));
    }
    return out;
}

template <class T>
std::vector<std::shared_ptr<T>> LoadArrayFile(const std::string& path, const TReportPlace& place) {
    if (FileType(path) == 0) {
        ErrorNoFile(path, place);
        return {};
    }
    return ReadEntries<T>(LoadBlockFile(path));
}

}  // namespace

bool SaveDimArray(const TDimArray& dims, const std::string& path) {
    const auto root = CreateBlockFile(path);
    AddDims(root, dims);
    return SaveBlockFile(root);
}

bool SaveDimList(const TDimArray& dims, const std::string& path) {
    return SaveDimArray(ConvertDimListToArray(dims), path);
}

bool SaveMultipleDimArrays(const std::vector<TDimArray>& arrays, const std::string& path) {
    const auto root = CreateBlockFile(path);
    for (const auto& dims : arrays) AddDims(CreateBlockFile("DimArray", root), dims);
    return SaveBlockFile(root);
}

TDimArray LoadDimArray(const std::string& path) { return LoadArrayFile<TDim>(path, Here()); }

TRGBArray LoadRGBArray(const std::string& path) { return LoadArrayFile<TRGB>(path, Here()); }

TDimArray LoadDimList(const std::string& path) { return LoadDimArray(path); }

TDimArray LoadSimpleDimArray(const std::string& path) {
    TDimArray out;
    for (const auto& entry : GetBlockFileEntrysList(LoadBlockFile(path), "")) {
        auto d = std::make_shared<TDim>();
        d->SetData(static_cast<float>(entry->GetInt(0)), static_cast<float>(entry->GetInt(1)),
                   static_cast<float>(entry->GetInt(2)), static_cast<float>(entry->GetInt(3)));
        out.push_back(std::move(d));
    }
    return out;
}

std::vector<TDimArray> LoadMultipleDimArrays(const std::string& path) {
    std::vector<TDimArray> out;
    for (const auto& block : GetBlockFilesList(LoadBlockFile(path), "DIMARRAY"))
        out.push_back(ReadEntries<TDim>(block));
    return out;
}

TDimArray ConvertDimListToArray(const TDimArray& dims) {
    TDimArray out;
    out.reserve(dims.size());
    for (const auto& d : dims)
        if (d) out.push_back(d);
    out.resize(dims.size());
    return out;
}
