// The game's start-up around the engine: the program globals, the screens, the engine
// initialisation in its fixed order, and the first screen.
//
// main runs, in this order: InitProgramGlobals, InstallEngineModules, CreateAppScreens,
// SetAppFolderNames, AppInit, StartFirstScreen, then AppRun (the frame loop, which ends the
// program through AppEnd).
#pragma once
#include <memory>

#include "engine/object/AppObj.h"

// The engine's program globals: object-type and component words, easing names and colour
// constants, the cross-fade screen, the console commands (TCCSaveScreen, then
// TCCShowScreenBorders), the frame clock at 60 frames per second, bDir (and the default font
// beside it), CheatsOn from "Cheats.txt" in the working folder.
void InitProgramGlobals();
// The object types and start-up steps of the engine modules that register themselves: vector
// animations (type 4), emitters (type 6 and the emitter presets), the sound manager's and the
// mouse cursors' start-up, and the game's hooks into the frame driver (the pause loop, the global
// assets kept for LoadGlobalAssets, the mouse cursor drawn every frame).
void InstallEngineModules();
// Every screen and pop-up of the game, registered with Control in creation order; for now the
// start screen.
void CreateAppScreens();
// The per-user folders: ".Velkaro" and inside it "Quiltora-2".
void SetAppFolderNames();
// Sine tables, per-user folders and language, settings, window, media managers (text classes,
// fonts, emitter presets, sounds, cursors), the game's pause screen, frame driver and console.
int AppInit();
// Loads the start screen (file, assets, the global assets, set-up) and makes it current;
// returns it.
std::shared_ptr<class TAppScreen> StartFirstScreen();
// Loads the global assets handed over since the last call (the cursor images), standing in for
// the loading screen's last phase.
void LoadGlobalAssets();

// Writes the per-user settings when the program ends (the options pop-up takes this over once
// it exists). Prints "Settings saved" after writing them.
class TSettingsSaver : public TAppObj {
public:
    int SaveAtEnd() override;
};
