// Block files: decoding, tokenising, parsing, lookups by path, and writing the tree back.
#include "FuzzSupport.h"
#include "engine/data/BlockFile.h"

namespace {
void Walk(const TBlockFilePtr& block, int depth) {
    if (!block || depth > 64) return;
    size_t looked = 0;
    for (const auto& child : block->SubFiles) {
        if (looked++ < fuzz::kLookups) {
            GetBFString(block, child->name, 0);
            GetBFNumber(block, child->name, 1);
            GetBFInt(block, child->name, 2);
            GetBFBool(block, child->name, 0);
        }
        Walk(child, depth + 1);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string path = fuzz::RunDir() + "/File.dat";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    TBlockFilePtr root = LoadBlockFile(path);
    Walk(root, 0);
    GetBlockFileNO_NEW(root, "Data::Name");
    GetBlockFilesList(root, "GameObject");
    GetBlockFileEntrysList(root, "");
    // Written back and read again.
    const std::string text = BlockFileToText(root);
    TBlockFilePtr again = ParseBlockFileText(text, "again");
    Walk(again, 0);
    root->name = fuzz::RunDir() + "/Copy.dat";
    SaveBlockFile(root);
    return 0;
}
