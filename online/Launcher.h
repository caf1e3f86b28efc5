// The cross-promotion launcher's start-up: registered and shown once before the game's screens
// when the data folder holds an entry "Launcher"; the game ships without one.
#pragma once
#include <string>

// Non-zero when the data folder holds an entry "Launcher" (its file kind: 1 file, 2 folder).
extern int LauncherOn;
// Non-zero in the store edition of the game (a build setting, QUILTORA_STORE_BUILD); it picks
// the launcher's package endpoint.
extern int StoreBuild;
// The build's own store setting.
int StoreBuildSetting();

// The game's identifier on the maker's server, and the package endpoints of the two editions.
extern const std::string LauncherAppId;         // "quiltora2"
extern const std::string LauncherStoreUrl;      // path "/launcher/launcher.php"
extern const std::string LauncherWebsiteUrl;    // path "/launcher_velkarowww/launcher.php"

// Creates the launcher for the game and package endpoint; nothing while the launcher is off.
int InitLauncher(const std::string& appId, const std::string& packageUrl);
// Runs the launcher's own screen once, then asks for a newer package; nothing while it is off.
int ShowLauncher();
