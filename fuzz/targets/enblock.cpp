// The newsletter window's two small formats (the input's two NUL-separated parts): a settings
// file of bracketed blocks of key = value pairs, the first pairs looked up as text, whole number and
// real and every block written out; and a text file of lines.
#include "FuzzSupport.h"
#include "online/EnBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 2);
    const std::string blocksPath = fuzz::RunDir() + "/NewsLetter.txt";
    const std::string linesPath = fuzz::RunDir() + "/NewsLetterTexts.txt";
    fuzz::WriteFile(blocksPath, parts[0]);
    fuzz::WriteFile(linesPath, parts[1]);
    for (const auto& block : LoadEnBlockFile(blocksPath)) {
        if (!block) __builtin_trap();
        block->ToString();
        size_t looked = 0;
        for (const auto& param : block->params) {
            if (looked++ >= fuzz::kLookups) break;
            block->GetParam(param->id);
            block->GetParamInt(param->id);
            block->GetParamFloat(param->id);
        }
        block->GetParam("MISSING");
    }
    LoadTextLines(linesPath);
    return 0;
}
