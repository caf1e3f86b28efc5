// Ini files: reading into blocks and data containers, and writing them back.
#include "FuzzSupport.h"
#include "engine/data/DataContainer.h"
#include "engine/data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string path = fuzz::RunDir() + "/File.ini";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    TIniBlockList blocks = LoadIniFile(path);
    const std::string text = IniBlocksToText(blocks);
    ParseIniText(text);
    SaveIniFile(blocks, fuzz::RunDir() + "/Copy.ini");
    for (const auto& container : LoadDataContainersFromIniFile(path)) {
        if (!container) continue;
        for (size_t i = 0; i < container->Fields.size() && i < fuzz::kLookups; ++i)
            if (const auto& field = container->Fields[i]) container->GetField(field->Name);
    }
    return 0;
}
