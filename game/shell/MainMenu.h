// The main menu: the screen that follows loading, from which the player starts or continues play,
// opens the options and the players, rates the game or leaves. Its look and buttons come from its
// screen file; the code reacts to the clicked button's id:
//   11 Play     the continue pop-up when the player has play in progress, else a new game
//   12 Options  the options pop-up
//   13 Players  the players pop-up
//   14 Exit     the exit question (line 1 of the text file); yes saves everything and ends
//   502 Rate    the rate screen; shown only in the store edition until the game was rated
// With the developer marker "Cheats.txt", left Control + T writes the current player's level
// records and totals to "Table.txt" in the working folder.
#pragma once
#include <memory>
#include <string>

#include "engine/screen/AppScreen.h"

class TProfile;

class TMainMenu : public TAppScreen {
public:
    std::string TxtAreYouSureYouWantToExit;  // line 1 of the text file, from set-up on

    int OnSetup() override;
    // The rate button's visibility.
    int OnPrepare() override;
    // The statistics table (developer keys), then the clicked button's action.
    int Interface() override;

    virtual int GoPlay();
    virtual int GoOptions();
    virtual int GoPlayers();
    virtual int GoExit();
    virtual int GoRate();
};

using TMainMenuPtr = std::shared_ptr<TMainMenu>;

extern TMainMenuPtr MainMenu;

// A new screen registered with Control as "MainMenu", file bDir + "Screens/MainMenu/MainMenu.AppScreen".
TMainMenuPtr CreateMainMenu();

// The statistics table of a player: per level record "Level: n", "Score: ", "Stars: ",
// "Tiles Uncovered: ", "Tiles Crossed: " and a line of 22 hyphens, then "TOTAL SCORE: " and
// "TOTAL STARS: ", each line ended by a line feed.
std::string StatisticsTable(const TProfile& profile);
