// The rate-the-game screen, reached from the main menu: a message, "rate now" and "back". Rate
// now opens the game's review page in the player's browser; only when the page could be handed
// to the browser is the game marked as rated (saved in the settings at once) and thanked, after
// which the player returns to the main menu. When it could not be opened the player is told so
// and stays, and the game is not marked as rated.
//
// Screen file "Screens/RateScreen/RateScreen.AppScreen": the message text 500, the buttons 1
// (rate now) and 2 (back). Text lines: 1 the thanks, 2 the page could not be opened, 3 the
// message. The review page's address is configuration: the first line of
// "Screens/RateScreen/RateURL.txt" in the data folder.
#pragma once
#include <memory>
#include <string>

#include "engine/screen/AppScreen.h"

class TRateScreen : public TAppScreen {
public:
    // 1 when the screen was opened from play, 0 from the main menu (which sets it).
    int initFromGame = 0;

    // A new rate screen registered with Control as "RateScreen", file
    // bDir + "Screens/RateScreen/RateScreen.AppScreen".
    static std::shared_ptr<TRateScreen> Create();
    // Reads the review page's address (RateURL) from the data folder.
    int OnSetup() override;
    // The message (line 3) in text 500, whose text style is made fully opaque.
    int OnPrepare() override;
    // 1: rate now; 2: back to the main menu.
    int Interface() override;
    // The thanks were read: back to the main menu.
    static void OnRateSuccess();
};

using TRateScreenPtr = std::shared_ptr<TRateScreen>;

extern TRateScreenPtr RateScreen;
// The review page's address; empty until the screen is set up (or when none is configured).
extern std::string RateURL;

// The first line of the address file, trimmed; empty when there is none.
std::string LoadRateURL(const std::string& path);
// Opens url in the player's browser (http and https only). True when it was handed to the
// browser.
bool MyOpenURL(const std::string& url);
