#include "game/shell/Options.h"

#include "engine/screen/Control.h"
#include "engine/system/Paths.h"

std::vector<std::string> OptionsSettings::ScreensWithMenuAndReplay = {"MainGame"};

void OptionsSettings::AddScreen(const std::shared_ptr<TAppScreen>& screen) {
    if (screen) ScreensWithMenuAndReplay.push_back(screen->name);
}

void OptionsSettings::Reset() { ScreensWithMenuAndReplay = {"MainGame"}; }

TOptionsPtr Options;

TOptionsPtr CreateAppOptionsPopUp() {
    auto options = std::make_shared<TOptions>();
    options->Init("Options", bDir + "PopUps/Options/Options.AppPopUp");
    Control::AddToSaveList(options);
    return options;
}
