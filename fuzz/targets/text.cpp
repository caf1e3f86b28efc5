// Text files of lines: decoding (byte-order marks, UTF-16, Latin-1), splitting into lines, and
// line references "[path|n]" found in them, resolved inside the data folder.
#include "FuzzSupport.h"
#include "engine/media/TxtFile.h"
#include "engine/system/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string path = LocalizeDir + "Texts.txt";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    auto file = LoadTxtFile(bDir + "Local/#LANG#/Texts.txt");
    const int lines = file->Lines();
    GetTxtLine(file, 0);
    GetTxtLine(file, lines);
    GetTxtLine(file, lines + 1);
    // Every line may be a reference; the first few are followed.
    int followed = 0;
    for (const auto& line : file->txt) {
        if (followed++ >= 8) break;
        ResolveTxtRef(line);
        GetTxtRefLine(line, LocalizeDir);
    }
    SaveTxtFile(file, fuzz::RunDir() + "/Copy.txt");
    return 0;
}
