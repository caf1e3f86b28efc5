// The launcher's package as a server sends it: the input is the zip, installed over a copy of
// the shipped package the way the background update installs it (unpacked within the budget,
// checked, swapped in). Whatever it holds, the memory peak stays bounded, nothing is written
// outside the package's folder, the package holds no more than the budget allows, no unpacked
// copy or old package is left beside it, and a refused archive leaves the installed package
// as it was.
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "online/Launcher.h"
#include "online/LauncherPackage.h"
#include "platform/Files.h"

namespace {

// The most heap an install may take at its peak: the pictures' pixels (16 MB at most), one
// picture's file (4 MB at most), the unpacking's buffers and the decoders' own work space, with
// room to spare.
constexpr int64_t kPeakBytes = int64_t(64) << 20;

int64_t FolderBytes(const std::string& folder) {
    int64_t total = 0;
    for (const std::string& name : ReadDir(folder)) {
        const std::string path = folder + "/" + name;
        total += FileType(path) == 2 ? FolderBytes(path) : FileSize(path);
    }
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const std::string folder = fuzz::RunDir() + "/user/launcher";
    const std::string package = folder + "/package";
    if (!CopyDir(fuzz::DataDir() + "launcher/package", package)) std::abort();
    std::string shipped;
    LoadBytes(package + "/launcher.dat", shipped);
    const std::string zip = package + ".zip";
    fuzz::WriteFile(zip, fuzz::Bytes(data, size));

    const TLauncherBudget budget;
    TLauncherPackageData read;
    std::string why;
    fuzz::StartHeapWatch();
    const bool installed = InstallPackageArchive(zip, package, &why, budget, &read);
    if (installed) MakeLauncherDescription(std::move(read));
    if (fuzz::HeapPeakBytes() > kPeakBytes) __builtin_trap();

    // Beside the package only the archive (which the caller removes); nothing anywhere else.
    if (ReadDir(fuzz::RunDir()) != std::vector<std::string>{"user"}) __builtin_trap();
    if (ReadDir(fuzz::RunDir() + "/user") != std::vector<std::string>{"launcher"}) __builtin_trap();
    if (ReadDir(folder) != std::vector<std::string>{"package", "package.zip"}) __builtin_trap();
    if (FolderBytes(package) > budget.maxUnpackedBytes) __builtin_trap();
    if (!installed) {
        std::string now;
        if (!LoadBytes(package + "/launcher.dat", now) || now != shipped) __builtin_trap();
    }
    return 0;
}
