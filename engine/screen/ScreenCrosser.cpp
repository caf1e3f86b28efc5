#include "engine/screen/ScreenCrosser.h"

#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "platform/Clock.h"
#include "platform/Graphics.h"
#include "platform/Image.h"

TAppScreenCrosserPtr CurrScreenCrosser;

TAppScreenCrosser::TAppScreenCrosser() : Percent(CreateAppPerTimer(500)) {}

int TAppScreenCrosser::OnDraw() {
    switch (State) {
        case 0:
            if (Screen[0]) Screen[0]->Drawing();
            DrawFade(Percent->Per);
            break;
        case 1:
            // While the fade-in waits at full black the screen would not be seen: the switch's
            // drawing of it has already asked for its pictures and counted them as used.
            if (Screen[1] && _waiting == 0) Screen[1]->Drawing();
            DrawFade(1.0f - Percent->Per);
            break;
        default: break;
    }
    return 0;
}

int TAppScreenCrosser::OnUpdate() {
    // The pictures of the screen left go a frame after the last upload, whose frame they would
    // lengthen (their memory goes back to the system, which takes a while).
    if (_releaseDue != 0 && _waiting == 0) {
        _releaseDue = 0;
        ReleasePicturesUnusedSince(_switchMark);
    }
    // The pictures asked for ahead are uploaded as the worker has them.
    const bool allThere = UploadGatheredPictures(kUploadBudgetMs);
    if (_waiting != 0) {
        if (allThere) BeginFadeIn();
        return 0;
    }
    Percent->Count(0);
    if (Percent->Per == 1.0f) {
        if (Bylo != 0) SwitchCrosser();
        Bylo = 1;
    }
    return 0;
}

int TAppScreenCrosser::DrawFade(float alpha) {
    SetColor(0, 0, 0);
    SetBlend(3);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    SetAlpha(alpha);
    DrawRect(-171.0f, 0.0f, 1366.0f, 768.0f);
    return 0;
}

int TAppScreenCrosser::SwitchCrosser() {
    if (State == 0) {
        ExecuteFunction();
        // Read after the callback: a change it asks for replaces the target.
        if (const std::shared_ptr<TAppScreen> from = Screen[0]) {
            from->Leaving();
            from->HideAllPopUps();
        }
        if (const std::shared_ptr<TAppScreen> to = Screen[1]) {
            to->Start();
            to->Prepare();
            // A lock left from its last visit goes now, before its first update: a lock that
            // update takes (a help shown over it) holds when the fade ends.
            to->UnLock();
            // The screen fades in as its first update leaves it: it is drawn, not updated, until
            // the fade ends, so each of those frames must already show its texts and buttons.
            // That update runs with the screen current, as every update of it does: a pop-up it
            // shows (a help on a first visit) goes onto it, and a change it asks for starts from
            // it.
            const int32_t changes = _changes;
            const std::shared_ptr<TAppScreen> crosser = Control::CurrScreen;
            Control::CurrScreen = to;
            to->Settle();
            if (Control::CurrScreen == to) Control::CurrScreen = crosser;
            // That change has restarted the fade, from this screen towards its own target.
            if (_changes != changes) return 0;
            _switchMark = MarkPictureUse();
            DrawGathering(*to);
        }
        Percent->Start();
        State = 1;
        _switched = 1;
        // Under the fixed clock the frame waits for what is missing; on the real clock the fade-in
        // waits at full black while the worker decodes it (not at all when nothing is missing).
        if (FixedClockOn()) FinishGatheredPictures();
        if (UploadGatheredPictures(kUploadBudgetMs)) BeginFadeIn();
        else _waiting = 1;
    } else if (State == 1) {
        // Current as it stands: it was unlocked at the switch (SetScreenInstant would unlock it
        // again, under a pop-up its first update showed).
        if (Screen[1]) Control::CurrScreen = Screen[1];
    }
    return 0;
}

void TAppScreenCrosser::DrawGathering(TAppScreen& screen) {
    GatherPictures(true);
    screen.Drawing();
    GatherPictures(false);
}

void TAppScreenCrosser::BeginFadeIn() {
    _waiting = 0;
    _releaseDue = 1;
    Percent->Start();
    ResetDelta();
}

int TAppScreenCrosser::ExecuteFunction() {
    // A callback may itself ask for another change, which brings a callback of its own: that
    // one runs too, at the same full black, so that no change loses its callback. Each is taken
    // out before it runs, so each runs once.
    while (Func) {
        const TCrossCallback run = std::move(Func);
        Func = nullptr;
        run();
    }
    return 0;
}

int TAppScreenCrosser::SetData(const std::shared_ptr<TAppScreen>& from, const std::shared_ptr<TAppScreen>& to,
                               TCrossCallback callback) {
    if (dynamic_cast<TAppScreenCrosser*>(from.get()) != nullptr) {
        // A change during a fade. Before the switch nothing has left yet: the first screen still
        // fades out. After it the first screen has left and the one fading in is on display: it
        // fades out now and leaves at the next switch (never the first screen a second time).
        if (_switched != 0) Screen[0] = Screen[1];
    } else {
        Screen[0] = from;
    }
    Reset();
    Func = std::move(callback);
    Screen[1] = to;
    ++_changes;
    if (to) to->AskAhead();
    return 0;
}

int TAppScreenCrosser::Reset() {
    Percent->Start();
    State = 0;
    Func = nullptr;
    Bylo = 0;
    _switched = 0;
    _waiting = 0;
    return 0;
}

TAppScreenCrosserPtr CreateAppCrosser() { return std::make_shared<TAppScreenCrosser>(); }

int SetCurrScreenByCross(const std::shared_ptr<TAppScreen>& screen, TCrossCallback callback) {
    // A fade towards no screen would never end: it could not make its target current.
    if (!CurrScreenCrosser || !screen) return 0;
    CurrScreenCrosser->SetData(Control::CurrScreen, screen, std::move(callback));
    SetAppScreenInstant(CurrScreenCrosser);
    return 0;
}
