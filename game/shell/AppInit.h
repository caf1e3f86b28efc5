// The game's start-up around the engine: the class and program globals, every screen and
// pop-up of the game, the engine initialisation in its fixed order, and the loading screen.
//
// main runs, in this order: InitClassGlobals, InitProgramGlobals, InstallEngineModules,
// CreateAppScreens, SetAppFolderNames, AppInit, LoadNewsLetter, StartLoadingScreen, then AppRun
// (the frame loop, which ends the program through AppEnd).
#pragma once

// The game classes' static values that start-up gives: the list of keyframe particle packages,
// the options' screens with Menu and Replay, the level summary's particle package.
void InitClassGlobals();
// The engine's program globals: object-type and component words, easing names and colour
// constants, the cross-fade screen, the console commands (TCCSaveScreen, then
// TCCShowScreenBorders), the frame clock at 60 frames per second, bDir (and the default font
// beside it), CheatsOn from "Cheats.txt" in the working folder, the version file's folder.
void InitProgramGlobals();
// The object types and start-up steps of the engine modules that register themselves (vector
// animations, emitters, widgets), and the game's hooks into the frame driver: the pause loop,
// which screen is the loading screen, the global assets handed to it, the mouse cursor.
void InstallEngineModules();
// Every screen and pop-up, created through its factory and registered with Control in this
// order: loading screen; profiles, options, message and name-entry pop-ups; the splash object;
// special loads; (the basic particle package;) main menu, game, kingdom, stages map, credits;
// continue pop-up; level summary; lose, help and kingdom help pop-ups; (the awards list;) awards
// and award pop-ups. Then the build flags ("newsletter" and "Launcher" in the data folder, the
// store edition), the newsletter window and the rate screen.
void CreateAppScreens();
// The per-user folders: ".Velkaro" and inside it "Quiltora-2".
void SetAppFolderNames();
// Sine tables; per-user folders and language; settings; window; launcher; media managers (text
// classes, fonts, emitter presets, sounds, cursors) and the pause screen's text; the partner
// splash screens; frame driver and console.
int AppInit();
// Registers the cross-promotion launcher with the endpoint of the edition and shows it once
// (both only when the launcher is switched on).
int AppInitLauncher();
// The loading screen becomes current at once with the main menu as the screen after it, loads
// its own file and starts.
void StartLoadingScreen();
