// The cross-promotion launcher's package: its description "launcher.dat" (the input's first
// part), read with the pictures it names from a copy of the shipped package and a picture of
// the input's own ("fuzz.png", its third part), within the package's budget; and the server's
// version reply (the second part). However large the pictures claim to be, the read stays
// within the budget and its memory peak stays bounded.
#include "FuzzSupport.h"
#include "online/Launcher.h"
#include "online/LauncherPackage.h"

namespace {

// The most heap a package read may take at its peak: its pixels (16 MB at most), one picture's
// file (4 MB at most) and the decoders' own work space, with room to spare.
constexpr int64_t kPeakBytes = int64_t(64) << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 3);
    // The data folder's copy of the package: its pictures stay, its description is the input.
    const std::string package = fuzz::DataDir() + "launcher/package";
    fuzz::WriteFile(package + "/launcher.dat", parts[0]);
    fuzz::WriteFile(package + "/fuzz.png", parts[2]);
    const TLauncherBudget budget;
    fuzz::StartHeapWatch();
    TLauncherPackageData read = ReadLauncherPackage(package, "quiltora2", budget);
    if (read.pixels > budget.maxPackagePixels || static_cast<int>(read.icons.size()) > budget.maxIcons)
        __builtin_trap();
    // Over the budget: refused whole.
    if (read.overBudget && (!read.icons.empty() || read.hasBaner || !read.pictures.empty())) __builtin_trap();
    const TLauncherDescription d = MakeLauncherDescription(std::move(read));
    if (fuzz::HeapPeakBytes() > kPeakBytes) __builtin_trap();
    // A faulty package counts as version 0, so that the next check replaces it.
    if (d.corrupted != 0 && d.version != 0) __builtin_trap();
    for (const auto& icon : d.icons)
        if (!icon || !icon->gfx) __builtin_trap();
    ParseLauncherReply(parts[1]);
    return 0;
}
