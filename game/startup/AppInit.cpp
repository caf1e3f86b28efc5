#include "game/startup/AppInit.h"

#include <cerrno>
#include <memory>
#include <set>
#include <string>

#include "engine/data/ValueTypes.h"
#include "engine/screen/AVO.h"
#include "engine/media/SoundManager.h"
#include "engine/AppManagers.h"
#include "engine/screen/Component.h"
#include "engine/screen/GameObject.h"
#include "engine/particles/Emitter.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Console.h"
#include "engine/screen/ControlHooks.h"
#include "engine/screen/Control.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/basics/AppTime.h"
#include "engine/basics/Basics.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/screen/MouseCursor.h"
#include "engine/ui/UI_Object.h"
#include "game/effects/EffectsStartup.h"
#include "game/effects/EngParticle.h"
#include "game/kingdom/Kingdom.h"
#include "game/progress/Awards.h"
#include "game/progress/PlayerNotices.h"
#include "game/progress/Profile.h"
#include "game/progress/ProgressScreens.h"
#include "game/levels/Numbers.h"
#include "game/puzzle/FlyHints.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/PlayFieldTables.h"
#include "game/puzzle/Tutorial.h"
#include "game/shell/AwardScreen.h"
#include "game/shell/Branding.h"
#include "game/shell/ContinuePopUp.h"
#include "game/shell/Credits.h"
#include "game/shell/EnterName.h"
#include "game/shell/GiveAward.h"
#include "game/shell/Help.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/KingdomHelp.h"
#include "game/shell/LevelSummary.h"
#include "game/shell/LoadingScreen.h"
#include "game/shell/LoseScreen.h"
#include "game/shell/MainMenu.h"
#include "game/shell/MiniLevel.h"
#include "game/shell/Options.h"
#include "game/shell/Pause.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/StagesScreen.h"
#include "online/Launcher.h"
#include "online/NewsLetter.h"
#include "online/RateScreen.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/System.h"

namespace {
// The lock file of one game per per-user folder.
const char* const kLockFileName = "Quiltora.lock";
}  // namespace

void InitClassGlobals() {
    TEngParticlePackage::allPackages.clear();
    OptionsSettings::Reset();
    TLevelSummary::Package = CreateEngParticlePackage(500);
    ResetMiniLevelGlobals();
    Tutorial::Reset();
}

void InitProgramGlobals() {
    InitComponentNames();
    CurrScreenCrosser = CreateAppCrosser();
    Console::AddCommand(std::make_shared<TCCSaveScreen>());
    Console::AddCommand(std::make_shared<TCCShowScreenBorders>());
    deltaTime = TDeltaTime::Create(60.0f);
    deltaTime->SetFPS(60.0f);
    bDir = GetAppDir();
    if (FileType(bDir) != 2) Error("Data folder not found: " + bDir, Here());
    SetDefaultFontPath(bDir + "fonts/DejaVuSans.ttf");
    CheatsOn = FileType("Cheats.txt");
    SetAppVersionUrl(AppDir() + "/src/app/");
    InitGameObjectNames();
    InitColorConstants();
}

void InstallEngineModules() {
    InstallAVO();
    InstallEmitters();
    InstallWidgets();
}

namespace {
// The screens of a player's progress's flow; the game screen takes the level it is handed. A
// game screen that does not exist is said, once.
class TShellProgressScreens final : public TProgressScreens {
public:
    std::shared_ptr<TAppScreen> ScreenOf(ProgressPlace place, const std::shared_ptr<TLevel>& level) override {
        switch (place) {
            case ProgressPlace::Game:
                if (!Game) {
                    if (!gameMissingTold_) ProgramError("The progress goes to the game screen, which does not exist");
                    gameMissingTold_ = true;
                    return nullptr;
                }
                Game->SetData(level);
                return Game;
            case ProgressPlace::KingdomScreen: return Kingdom;
            case ProgressPlace::StagesMap: return StagesScreen;
            case ProgressPlace::Summary: return LevelSummary;
        }
        return nullptr;
    }

private:
    bool gameMissingTold_ = false;
};
}  // namespace

void WireHooks() {
    // The frame driver: the global assets the loading screen loads, and the message pop-up
    // through which any folder tells the player.
    ControlHooks::AddGlobalAsset = [](const std::shared_ptr<TAsset>& asset) {
        if (!LoadingScreen) return false;
        LoadingScreen->AddGlobalAsset(asset);
        return true;
    };
    ControlHooks::ShowMessage = [](const std::string& text, int mode, void (*yes)(), void (*no)()) {
        if (!InfoPopUp) return false;
        ShowInfo(text, mode, yes, no);
        return true;
    };

    // A player's progress: the screens of its flow, handed in (not a slot).
    SetProgressScreens(std::make_shared<TShellProgressScreens>());
}

namespace {
// The shell's screens that the game screen opens; a won level comes to the summary straight,
// without the cross-fade. A screen that does not exist is said, once each.
class TShellNavigator final : public TGameNavigator {
public:
    void ShowSummary(const std::shared_ptr<TLevel>& level) override {
        if (!LevelSummary) return Missing("the level summary");
        LevelSummary->SetData(level);
        SetAppScreen(LevelSummary);
    }
    void ShowLose() override { Show(LoseScreen, "the lose pop-up"); }
    void ShowHelp() override { Show(HelpScreen, "the help pop-up"); }
    void ShowOptions() override { Show(Options, "the options pop-up"); }
    std::shared_ptr<TEngParticlePackage> SummaryParticles() override { return TLevelSummary::Package; }

private:
    std::set<std::string> missing_;
    void Missing(const std::string& what) {
        if (missing_.insert(what).second) ProgramError("The game screen opens " + what + ", which does not exist");
    }
    template <class PopUp>
    void Show(const std::shared_ptr<PopUp>& popup, const char* what) {
        if (popup) ShowAppPopUp(popup);
        else Missing(what);
    }
};
}  // namespace

std::shared_ptr<TGameNavigator> CreateShellNavigator() { return std::make_shared<TShellNavigator>(); }

void CreateAppScreens() {
    LoadingScreen = CreateAppLoadingScreen();
    ControlHooks::PauseScreen = std::make_shared<TPauseScreen>();
    Profiles = CreateProfileManager();
    Options = CreateAppOptionsPopUp();
    InfoPopUp = CreateInfoPopUp();
    EnterName = CreateEnterName();
    branding = std::make_shared<TBranding>();
    SpecialLoads = CreateSpecialLoadsScreen();
    // The package of the effects given none.
    InitEngParticles();
    // The flying-star list of puzzle play comes here.
    MainMenu = CreateMainMenu();
    Game = CreateMainGame(CreateShellNavigator());
    // Over the game screen the options offer Menu and Replay.
    OptionsSettings::AddScreen(Game);
    Kingdom = CreateKingdomScreen();
    StagesScreen = CreateStagesScreen();
    Credits = CreateCreditsScreen();
    ContinuePopUp = CreateContinuePopUp();
    LevelSummary = CreateLevelSummary();
    LoseScreen = CreateLoseScreen();
    HelpScreen = CreateHelpScreen();
    KingdomHelpScreen = CreateKingdomHelpScreen();
    AwardsList.clear();  // filled by the awards pop-up's set-up
    AwardsShow = CreateAwardScreen();
    GiveAward = CreateGiveAward();

    // Switched on only with a real server to sign up with (the game ships without one).
    NewsLetterOn = NewsLetterSwitch(bDir);
    NewsLetter = std::make_shared<TNewsLetter>();
    LauncherOn = LauncherMarkerKind(bDir);
    StoreBuild = StoreBuildSetting();
    RateScreen = TRateScreen::Create();
}

void SetAppFolderNames() {
    SetAppRootFolderName("Velkaro");
    SetAppDataFolderName("Quiltora-2");
}

int AppInitLauncher() {
    // Switched off, the launcher reads none of its files (its server's address included).
    if (LauncherOn == 0) return 0;
    InitLauncher(LauncherAppId, LauncherPackageUrl(StoreBuild));
    ShowLauncher();
    return 0;
}

bool AppInitLock() {
    switch (LockAppDataFolder(kLockFileName)) {
        case AppFolderLock::Busy: {
            // Nothing of the folder has been read, and nothing is written: the game that runs
            // keeps its players as they are.
            const std::string text = "Quiltora is already running for this user (its files are in " + AppDataFolder +
                                     "). Only one game at a time can use them, so this one closes; switch to the game "
                                     "that is open.";
            Error(text, Here());
            if (!ShowPlainDialog("Quiltora", text)) Print("(no dialog could be shown: no desktop)");
            return false;
        }
        case AppFolderLock::Unavailable:
            // Not the only game on these files for certain: this one runs, but writes nothing in
            // the per-user folders, so that it can never write over another game's saves (every
            // save it tries is told as failed), and leaves any temporary file where it is.
            RefuseWritesBelow(AppDataRootFolder, ENOLCK);
            TellPlayer(
                "Quiltora could not make sure that it is the only game using your saves. To keep them "
                "safe, nothing is saved while this game runs.");
            return true;
        case AppFolderLock::Taken: break;
    }
    RemoveAppLeftoverTempFiles();
    return true;
}

int AppInit() {
    InitSinCosTables();
    // From here on no file is read outside the data folder and the per-user folder (the
    // launcher's is inside it), whatever name a data file gives: ".." and links leading out
    // are refused with a line.
    AllowReadsBelow(bDir);
    AppInitFolders();
    AllowReadsBelow(AppDataRootFolder);
    if (!AppInitLock()) return 1;
    AppInitSettings();
    SetAppTitle("Quiltora");
    AppInitGraphics();
    AppInitLauncher();
    AppInitManagers();
    SetupPause();
    AppInitBranding();
    AppInitControl();
    return 0;
}

void StartLoadingScreen() {
    if (!LoadingScreen) return;
    LoadingScreen->SetStartScreen(MainMenu);
    Control::SetScreenInstant(LoadingScreen);
    LoadingScreen->OnBegin();
    LoadingScreen->Start();
}
