#include "game/progress/PlayerNotices.h"

#include <algorithm>
#include <memory>

#include "engine/screen/GameObject.h"
#include "engine/screen/Control.h"
#include "engine/screen/ScreenCrosser.h"
#include "engine/system/Error.h"
#include "platform/System.h"

namespace {

// Looks every frame, whatever screen is current, whether a waiting message can show now.
class TNoticeKeeper : public TGameObject {
public:
    int Update() override {
        ShowPlayerNotices();
        return 0;
    }
};

std::vector<std::string> gPending;
// A message is open in the pop-up: the next one waits for its OK. A switch of screens closes
// the pop-up without its OK: the message is then shown again on the next screen.
bool gShowing = false;
std::string gShowingText;
const TAppScreen* gShownOn = nullptr;
std::shared_ptr<TNoticeKeeper> gKeeper;

// The message pop-up closed: the next one may come.
void NoticeClosed() {
    gShowing = false;
    ShowPlayerNotices();
}

// A screen the pop-up can open over: not before the first screen, not on the loading screen,
// not during a cross-fade (whose end would drop the pop-up).
bool ScreenIsUp() {
    return Control::CurrScreen != nullptr && Control::CanBeSuspended() != 0 &&
           Control::CurrScreen != std::static_pointer_cast<TAppScreen>(CurrScreenCrosser);
}

// The keeper among the global objects (registered again after Control was reset).
void KeepWatching() {
    if (!gKeeper) gKeeper = std::make_shared<TNoticeKeeper>();
    auto& objects = Control::GlobalObjects;
    if (std::find(objects.begin(), objects.end(), gKeeper) == objects.end()) Control::AddGlobalObject(gKeeper);
}

}  // namespace

void TellPlayer(const std::string& text) {
    Print("Message to the player: " + text);
    if (Control::isEnded) {
        // The frame loop is over: the pop-up can no longer show, the window may still be up.
        if (!ShowPlainDialog("Quiltora", text)) Print("(no dialog could be shown: no desktop)");
        return;
    }
    gPending.push_back(text);
    KeepWatching();
    ShowPlayerNotices();
}

void ShowPlayerNotices() {
    if (!ScreenIsUp()) return;
    if (gShowing && Control::CurrScreen.get() != gShownOn) {
        // The screen changed under the open message: it was closed unread.
        gShowing = false;
        gPending.insert(gPending.begin(), gShowingText);
    }
    if (gShowing || gPending.empty()) return;
    const std::string text = gPending.front();
    gShowing = true;
    gShowingText = text;
    gShownOn = Control::CurrScreen.get();
    if (!ShowAppMessage(text, 3, &NoticeClosed, &NoticeClosed)) {
        gShowing = false;  // no message pop-up (yet): the message waits
        return;
    }
    gPending.erase(gPending.begin());
}

const std::vector<std::string>& PendingPlayerNotices() { return gPending; }

void ResetPlayerNotices() {
    gPending.clear();
    gShowing = false;
    gShowingText.clear();
    gShownOn = nullptr;
}
