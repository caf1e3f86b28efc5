#include "online/RateScreen.h"

#include "engine/media/TextClass.h"
#include "engine/screen/Control.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/ui/UI_Object.h"
#include "platform/Files.h"
#include "platform/OpenURL.h"
#include "platform/Strings.h"

TRateScreenPtr RateScreen;
std::string RateURL;

namespace {
constexpr int kMessageId = 500;
constexpr int kRateNowId = 1;
constexpr int kBackId = 2;
constexpr int kThanksLine = 1;
constexpr int kNotOpenedLine = 2;
constexpr int kMessageLine = 3;

void NoCallback() {}

void GoToMainMenu() {
    if (auto menu = Control::GetScreenById("MainMenu")) GoToScreen(menu, nullptr);
    else ErrorSearch("No screen 'MainMenu' to go back to", Here());
}
}  // namespace

std::string LoadRateURL(const std::string& path) {
    bool ok = false;
    const std::string text = LoadText(path, &ok);
    if (!ok) return "";
    const std::vector<std::string> lines = SplitLines(text);
    return lines.empty() ? "" : Trim(lines[0]);
}

bool MyOpenURL(const std::string& url) { return OpenURL(url); }

TRateScreenPtr TRateScreen::Create() {
    auto screen = std::make_shared<TRateScreen>();
    screen->Init("RateScreen", bDir + "Screens/RateScreen/RateScreen.AppScreen");
    return screen;
}

int TRateScreen::OnSetup() {
    const std::string path = bDir + "Screens/RateScreen/RateURL.txt";
    RateURL = LoadRateURL(path);
    if (RateURL.empty()) Warning("No review page address in " + path, Here());
    return 0;
}

int TRateScreen::OnPrepare() {
    auto text = std::dynamic_pointer_cast<TUIText>(FindObjectInd(kMessageId));
    if (!text) {
        Error("The rate screen " + FileUrl + " has no message text " + IntToString(kMessageId), Here());
        return 0;
    }
    // The style is shared: every text of it becomes opaque.
    if (text->Class && text->Class->Rgb) text->Class->Rgb->a = 1.0f;
    text->SetText(GetTxt(kMessageLine));
    return 0;
}

int TRateScreen::Interface() {
    switch (ClickObjectId()) {
        case kRateNowId:
            // Marked as rated only once the page is really on its way to the browser.
            if (MyOpenURL(RateURL)) {
                AppSettings::GameWasRated = 1;
                AppSettings::SaveData();
                ShowAppMessage(GetTxt(kThanksLine), 2, &TRateScreen::OnRateSuccess, &NoCallback);
            } else {
                ShowAppMessage(GetTxt(kNotOpenedLine), 3, &NoCallback, &NoCallback);
            }
            break;
        case kBackId: GoToMainMenu(); break;
        default: break;
    }
    return 0;
}

void TRateScreen::OnRateSuccess() { GoToMainMenu(); }
