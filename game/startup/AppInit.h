// The game's start-up around the engine: the class and program globals, every screen and
// pop-up of the game, the engine initialisation in its fixed order, and the loading screen.
//
// main runs, in this order: InitClassGlobals, InitProgramGlobals, InstallEngineModules,
// WireHooks, CreateAppScreens, SetAppFolderNames, the harness's hooks and the report of any hook
// left unset (ReportUnsetHooks), AppInit, LoadNewsLetter, StartLoadingScreen, then AppRun (the
// frame loop, which ends the program through AppEnd). When AppInit finds another game on
// the per-user folder, main ends there with status 1.
#pragma once
#include <memory>

class TGameNavigator;

// The game classes' static values that start-up gives: the list of keyframe particle packages,
// the options' screens with Menu and Replay, the level summary's particle package.
void InitClassGlobals();
// The engine's program globals: object-type and component words, easing names and colour
// constants, the cross-fade screen, the console commands (TCCSaveScreen, then
// TCCShowScreenBorders), the frame clock at 60 frames per second, bDir (and the default font
// beside it), CheatsOn from "Cheats.txt" in the working folder, the version file's folder.
void InitProgramGlobals();
// The object types and start-up steps of the engine modules that register themselves (vector
// animations, emitters, widgets).
void InstallEngineModules();
// Sets the hook slots of the folders below (engine/system/Hook.h) that call functions: the frame
// driver's global assets and message pop-up; and the progress's screens of its flow
// (SetProgressScreens). CreateAppScreens sets the pause screen and, as it makes the game screen,
// the board view; main the harness. The one place where a lower folder is wired to what is built
// on top of it.
void WireHooks();
// The shell's screens as the game screen opens them: handed to it where it is made
// (CreateMainGame).
std::shared_ptr<TGameNavigator> CreateShellNavigator();
// Every screen and pop-up, created through its factory and registered with Control in this
// order: loading screen; profiles, options, message and name-entry pop-ups; the splash object;
// special loads; (the basic particle package;) main menu, game, kingdom, stages map, credits;
// continue pop-up; level summary; lose, help and kingdom help pop-ups; (the awards list;) awards
// and award pop-ups. Then the build flags ("newsletter" and "Launcher" in the data folder, the
// store edition), the newsletter window and the rate screen.
void CreateAppScreens();
// The per-user folders: ".Velkaro" and inside it "Quiltora-2".
void SetAppFolderNames();
// Sine tables; per-user folders and language; the per-user folder's lock (AppInitLock);
// settings; window; launcher; media managers (text classes, fonts, emitter presets, sounds,
// cursors) and the pause screen's text; the partner splash screens; frame driver and console.
// Returns 0, or 1 when another game holds the per-user folder: nothing else was done then, and
// the program must end without reading or writing anything there.
int AppInit();
// One game per per-user folder: takes the lock file "Quiltora.lock" in AppDataFolder before
// anything there is read. When another running game holds it, says so (an error line, and a
// plain dialog of the system where there is a desktop: no screen is up yet) and returns false.
// Otherwise (the lock taken, or a folder where it cannot be taken, reported) removes the
// temporary files that earlier runs killed in the middle of a save left behind, and returns true.
bool AppInitLock();
// Registers the cross-promotion launcher with the endpoint of the edition and shows it once
// (both only when the launcher is switched on).
int AppInitLauncher();
// The loading screen becomes current at once with the main menu as the screen after it, loads
// its own file and starts.
void StartLoadingScreen();
