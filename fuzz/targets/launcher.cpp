// The cross-promotion launcher's package description "launcher.dat" (the input's first part),
// read with the pictures it names from a copy of the shipped package, and the server's version
// reply (the second part).
#include "FuzzSupport.h"
#include "online/Launcher.h"
#include "online/LauncherPackage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    const auto parts = fuzz::SplitParts(data, size, 2);
    // The data folder's copy of the package: its pictures stay, its description is the input.
    const std::string package = fuzz::DataDir() + "launcher/package";
    fuzz::WriteFile(package + "/launcher.dat", parts[0]);
    const TLauncherDescription d = ReadLauncherDescription(package, "quiltora2");
    // A faulty package counts as version 0, so that the next check replaces it.
    if (d.corrupted != 0 && d.version != 0) __builtin_trap();
    for (const auto& icon : d.icons)
        if (!icon) __builtin_trap();
    ParseLauncherReply(parts[1]);
    return 0;
}
