#include "online/Launcher.h"

int LauncherOn = 0;
int StoreBuild = 0;

const std::string LauncherAppId = "quiltora2";
const std::string LauncherStoreUrl = "http://www.velkaro.example/launcher/launcher.php";
const std::string LauncherWebsiteUrl = "http://www.velkaro.example/launcher_velkarowww/launcher.php";

int StoreBuildSetting() {
#ifdef QUILTORA_STORE_BUILD
    return 1;
#else
    return 0;
#endif
}

int InitLauncher(const std::string& /*appId*/, const std::string& /*packageUrl*/) {
    if (LauncherOn == 0) return 0;
    // The launcher is created here once the cross-promotion exists.
    return 0;
}

int ShowLauncher() {
    if (LauncherOn == 0) return 0;
    // The launcher's screen runs here once the cross-promotion exists.
    return 0;
}
