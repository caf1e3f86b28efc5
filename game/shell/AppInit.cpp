#include "game/shell/AppInit.h"

#include <memory>
#include <vector>

#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/system/Basics.h"
#include "engine/object/Component.h"
#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/particles/Emitter.h"
#include "engine/object/GameObject.h"
#include "engine/ui/Mouse.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/system/AppTime.h"
#include "engine/system/Display.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/system/Settings.h"
#include "engine/ui/UI_Object.h"
#include "engine/data/ValueTypes.h"
#include "engine/media/AVO.h"
#include "engine/media/SoundManager.h"
#include "engine/media/StyledText.h"
#include "game/effects/EffectsStartup.h"
#include "game/shell/Pause.h"
#include "game/shell/StartScreen.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"

namespace {
void RunPauseGame() { PauseGame(); }
void DrawMouseCursor() { Mouse::Draw(); }

// The assets handed to the loading screen for its last phase (the cursor images). Until the
// game has a loading screen, the start-up loads them right after the first screen's assets.
std::vector<std::shared_ptr<TAsset>> gGlobalAssets;
void KeepGlobalAsset(const std::shared_ptr<TAsset>& asset) { gGlobalAssets.push_back(asset); }
}  // namespace

void InitProgramGlobals() {
    InitComponentNames();
    CurrScreenCrosser = CreateAppCrosser();
    Console::AddCommand(std::make_shared<TCCSaveScreen>());
    Console::AddCommand(std::make_shared<TCCShowScreenBorders>());
    deltaTime = TDeltaTime::Create(60.0f);
    deltaTime->SetFPS(60.0f);
    bDir = GetAppDir();
    if (FileType(bDir) != 2) Error("Data folder not found: " + bDir, "AppInit", "InitProgramGlobals");
    SetDefaultFontPath(bDir + "fonts/DejaVuSans.ttf");
    CheatsOn = FileType("Cheats.txt");
    InitGameObjectNames();
    InitColorConstants();

    InitEngParticles();  // keyframe particle effects: the basic package, the EFFECT command
}

void InstallEngineModules() {
    InstallAVO();
    InstallEmitters();
    InstallWidgets();
    PauseGameHook = &RunPauseGame;
    AddGlobalAssetHook = &KeepGlobalAsset;
    DrawMouseCursorHook = &DrawMouseCursor;
}

void CreateAppScreens() { StartScreen = CreateStartScreen(); }

void SetAppFolderNames() {
    SetAppRootFolderName("Velkaro");
    SetAppDataFolderName("Quiltora-2");
}

int AppInit() {
    InitSinCosTables();
    AppInitFolders();
    AppInitSettings();
    SetAppTitle("Quiltora");
    AppInitGraphics();
    AppInitManagers();
    SetupPause();
    AppInitControl();
    // Until the options pop-up exists, the settings are written at exit from here.
    AddToSaveAtEndList(std::make_shared<TSettingsSaver>());
    return 0;
}

std::shared_ptr<TAppScreen> StartFirstScreen() {
    std::shared_ptr<TAppScreen> screen = StartScreen;
    if (!screen) {
        LoadGlobalAssets();
        return nullptr;
    }
    screen->Load(nullptr, nullptr);
    screen->SetupAssets();
    LoadGlobalAssets();
    screen->Setup();
    SetAppScreen(screen);
    return screen;
}

void LoadGlobalAssets() {
    for (const auto& asset : gGlobalAssets)
        if (asset) asset->LoadAsset();
    gGlobalAssets.clear();
}

int TSettingsSaver::SaveAtEnd() {
    if (AppSettings::SaveData()) Print("Settings saved: " + AppSettings::UserFileUrl());
    return 0;
}
