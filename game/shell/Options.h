// The options pop-up: music and sound volumes, full screen, wide-screen stretching and the
// custom cursor, with Menu and Replay over the screens that offer them.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppScreen.h"

// The options' static tuning: the screens over which the pop-up offers Menu and Replay.
class OptionsSettings : public TAppPopUp {
public:
    // Names of the screens with Menu and Replay; starts as { "MainGame" }.
    static std::vector<std::string> ScreensWithMenuAndReplay;
    // Appends the screen's name.
    static void AddScreen(const std::shared_ptr<TAppScreen>& screen);
    // Back to { "MainGame" } (tests).
    static void Reset();
};

class TOptions : public OptionsSettings {
public:
    // At exit: writes the per-user settings, unless they were never loaded or the file already
    // holds exactly these values (a run that changed nothing leaves the file's bytes alone).
    int SaveAtEnd() override;
};

// True when the per-user "Settings.ini" exists and every value the settings would write reads
// back equal from it (numbers compared as numbers, texts without regard to case).
bool SettingsFileIsCurrent();

using TOptionsPtr = std::shared_ptr<TOptions>;

extern TOptionsPtr Options;

// A new options pop-up registered as "Options", file bDir + "PopUps/Options/Options.AppPopUp",
// and put on the save-at-end list.
TOptionsPtr CreateAppOptionsPopUp();
