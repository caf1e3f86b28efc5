#include "game/shell/MainMenu.h"

#include "engine/screen/Console.h"
#include "engine/screen/Control.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "game/progress/Profile.h"
#include "game/shell/ContinuePopUp.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/Options.h"
#include "game/shell/ProfileManager.h"
#include "online/Launcher.h"
#include "online/RateScreen.h"
#include "platform/Files.h"
#include "platform/Input.h"

TMainMenuPtr MainMenu;

namespace {

constexpr int PlayId = 11, OptionsId = 12, PlayersId = 13, ExitId = 14, RateId = 502;
constexpr int KeyT = 84;

// The yes of the exit question: everything on the save-at-end list saves, then the program ends.
void ExitGame() { QuitApp(); }

}  // namespace

std::string StatisticsTable(const TProfile& profile) {
    std::string text;
    int counter = 1, score = 0, stars = 0;
    for (const auto& level : profile.Levels) {
        if (!level) continue;
        text += "Level: " + std::to_string(counter) + "\n";
        text += "Score: " + std::to_string(level->Score) + "\n";
        text += "Stars: " + std::to_string(level->Stars) + "\n";
        text += "Tiles Uncovered: " + std::to_string(level->TilesUncovered) + "\n";
        text += "Tiles Crossed: " + std::to_string(level->TilesCrossed) + "\n";
        text += std::string(22, '-') + "\n";
        ++counter;
        score += level->Score;
        stars += level->Stars;
    }
    text += "TOTAL SCORE: " + std::to_string(score) + "\n";
    text += "TOTAL STARS: " + std::to_string(stars) + "\n";
    return text;
}

int TMainMenu::OnSetup() {
    TxtAreYouSureYouWantToExit = GetTxt(1);
    return 0;
}

int TMainMenu::OnPrepare() {
    if (auto rate = FindObjectInd(RateId)) {
        if (StoreBuild != 0 && AppSettings::GameWasRated == 0) rate->Enable();
        else rate->Disable();
    }
    return 0;
}

int TMainMenu::Interface() {
    // A pop-up's action may have left the menu in this very frame: its click is not the menu's.
    if (Control::isScreen(this) == 0) return 0;
    if (CheatsOn != 0 && KeyDown(KEY_LCONTROL) && KeyHit(KeyT) != 0 && Profile) {
        if (!SaveBytes("Table.txt", StatisticsTable(*Profile))) Error("Couldn't write Table.txt", Here());
    }
    switch (ClickObjectId()) {
        case PlayId: GoPlay(); break;
        case OptionsId: GoOptions(); break;
        case PlayersId: GoPlayers(); break;
        case ExitId: GoExit(); break;
        case RateId: GoRate(); break;
        default: break;
    }
    return 0;
}

int TMainMenu::GoPlay() {
    if (!Profile) return 0;
    if (Profile->CanContinue() != 0) ShowAppPopUp(ContinuePopUp);
    else Profile->Game_StartNew();
    return 0;
}

int TMainMenu::GoOptions() {
    ShowAppPopUp(Options);
    return 0;
}

int TMainMenu::GoPlayers() {
    ShowAppPopUp(Profiles);
    return 0;
}

int TMainMenu::GoExit() {
    ShowInfo(TxtAreYouSureYouWantToExit, 0, ExitGame, EmptyFunction);
    return 0;
}

int TMainMenu::GoRate() {
    if (!RateScreen) return 0;
    RateScreen->initFromGame = 0;
    GoToScreen(RateScreen, nullptr);
    return 0;
}

TMainMenuPtr CreateMainMenu() {
    auto screen = std::make_shared<TMainMenu>();
    screen->Init("MainMenu", bDir + "Screens/MainMenu/MainMenu.AppScreen");
    return screen;
}
