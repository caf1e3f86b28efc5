// The game's own screens and pop-ups on a screen file of the input: beyond what the engine's
// screen loader reads, each finds its objects by id, takes lines of its text file and its own
// files, and runs its logic on them. The input's first byte picks the screen; the rest is the
// screen file and its text file (two NUL-separated parts). The screen is set up, started, run
// for a few frames (no GL context, so drawing is only arithmetic), left and freed.
// The newsletter window is no engine screen: for it the two parts are its own block file and
// its text lines, and it is shown and run for a few frames the same way.
#include <functional>
#include <memory>

#include "FuzzSupport.h"
#include "engine/screen/AppScreen.h"
#include "engine/screen/Asset.h"
#include "engine/screen/Control.h"
#include "engine/system/Paths.h"
#include "game/kingdom/Kingdom.h"
#include "game/progress/Profile.h"
#include "game/puzzle/FlyingTiles.h"
#include "game/puzzle/GamePanel.h"
#include "game/levels/LevelFiles.h"
#include "game/puzzle/MainGame.h"
#include "game/levels/PlayFieldTables.h"
#include "game/levels/PuzzleGlobals.h"
#include "game/shell/AwardScreen.h"
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
#include "game/shell/Options.h"
#include "game/shell/ProfileManager.h"
#include "game/shell/StagesScreen.h"
#include "game/startup/AppInit.h"
#include "online/NewsLetter.h"
#include "online/RateScreen.h"

namespace {

struct Kind {
    std::function<std::shared_ptr<TAppScreen>()> make;
};

const Kind kKinds[] = {
    {[] { return MainMenu = CreateMainMenu(); }},
    {[] { return Options = CreateAppOptionsPopUp(); }},
    {[] { return InfoPopUp = CreateInfoPopUp(); }},
    {[] { return EnterName = CreateEnterName(); }},
    {[] { return ContinuePopUp = CreateContinuePopUp(); }},
    {[] { return Profiles = CreateProfileManager(); }},
    {[] { return RateScreen = TRateScreen::Create(); }},
    {[] { return LoadingScreen = CreateAppLoadingScreen(); }},
    {[] { return LevelSummary = CreateLevelSummary(); }},
    {[] { return LoseScreen = CreateLoseScreen(); }},
    {[] { return HelpScreen = CreateHelpScreen(); }},
    {[] { return Game = CreateMainGame(CreateShellNavigator()); }},
    {[] { return StagesScreen = CreateStagesScreen(); }},
    {[] { return Kingdom = CreateKingdomScreen(); }},
    {[] { return KingdomHelpScreen = CreateKingdomHelpScreen(); }},
    {[] { return GiveAward = CreateGiveAward(); }},
    {[] { return AwardsShow = CreateAwardScreen(); }},
    {[] { return Credits = CreateCreditsScreen(); }},
    {nullptr},  // the newsletter window
};
constexpr size_t kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);

void ResetGlobals() {
    // Flights and the tiles they carry hold each other: cleared the way the game screen clears
    // them, not just dropped.
    ClearFlyingTiles();
    MainMenu = nullptr;
    Options = nullptr;
    InfoPopUp = nullptr;
    EnterName = nullptr;
    ContinuePopUp = nullptr;
    Profiles = nullptr;
    RateScreen = nullptr;
    LoadingScreen = nullptr;
    LevelSummary = nullptr;
    LoseScreen = nullptr;
    HelpScreen = nullptr;
    Game = nullptr;
    StagesScreen = nullptr;
    Kingdom = nullptr;
    KingdomHelpScreen = nullptr;
    GiveAward = nullptr;
    AwardsShow = nullptr;
    Credits = nullptr;
    NewsLetter = nullptr;
    ResetNewsLetterState();
    ResetProfileGlobals();
    ResetPuzzleGlobals();
    GamePanel::Reset();
    ResetPlayFieldTables();
    OptionsSettings::Reset();
    Control::Reset();
    TAsset::ResetCurrScreen();
    TAppScreen::CurrentlyLoadingScreen = nullptr;
}

// The newsletter window on the input as its settings file and text file.
void RunNewsLetter(const std::vector<std::string>& parts) {
    fuzz::WriteFile(fuzz::DataDir() + "newsletter/newsletter.dat", parts[0]);
    fuzz::WriteFile(fuzz::DataDir() + "newsletter/newsletter.txt", parts[1]);
    NewsLetter = std::make_shared<TNewsLetter>();
    NewsLetter->prepare();
    for (int frame = 0; frame < 3; ++frame) {
        NewsLetter->update();
        NewsLetter->draw();
    }
}

// A screen of the game on the input's screen file and text file.
void RunScreen(const Kind& kind, const std::vector<std::string>& parts) {
    const std::string file = fuzz::DataDir() + "screens/Fuzz/Fuzz.AppScreen";
    fuzz::WriteFile(file, parts[0]);
    fuzz::WriteFile(LocalizeDir + "Fuzz.txt", parts[1]);
    // A player with a level to continue, as the screens find one in the game.
    Profile = std::make_shared<TProfile>();
    Profile->SetName("ANN");
    Profile->Level = 1;
    Profile->CurrScreen = "GameScreen";
    TSpecialLoads().Setup();

    auto screen = kind.make();
    screen->LoadFromFile(file);
    screen->SetupAssets();
    screen->Setup();
    if (screen == Game) Game->SetData(LoadLevel(bDir + "Game/Levels/Picross/Level-1.PACLevel"));
    auto popup = std::dynamic_pointer_cast<TAppPopUp>(screen);
    screen->Start();
    screen->Prepare();
    if (popup) popup->Show();
    for (int frame = 0; frame < 3; ++frame) {
        screen->Updating();
        screen->Interface();
        screen->Drawing();
    }
    if (popup) {
        popup->Hide();
        popup->OnUnlock();
    }
    screen->Leaving();
    screen->Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fuzz::BeginRun();
    ResetGlobals();
    WireHooks();
    const Kind& kind = kKinds[data[0] % kKindCount];
    const auto parts = fuzz::SplitParts(data + 1, size - 1, 2);
    if (kind.make) RunScreen(kind, parts);
    else RunNewsLetter(parts);
    ResetGlobals();
    return 0;
}
