#include "game/shell/Options.h"

#include "engine/data/IniFile.h"
#include "engine/screen/Control.h"
#include "engine/basics/AppTime.h"
#include "engine/window/Display.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/window/Mouse.h"
#include "game/progress/Profile.h"
#include "game/puzzle/MainGame.h"
#include "game/shell/Credits.h"
#include "game/shell/InfoPopUp.h"
#include "game/shell/MainMenu.h"
#include "game/shell/PanelAnimation.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::vector<std::string> OptionsSettings::ScreensWithMenuAndReplay = {"MainGame"};
int OptionsSettings::Allow_Widescreen_In_Window_Mode = 1;

void OptionsSettings::AddScreen(const std::shared_ptr<TAppScreen>& screen) {
    if (screen) ScreensWithMenuAndReplay.push_back(screen->name);
}

void OptionsSettings::Reset() {
    ScreensWithMenuAndReplay = {"MainGame"};
    Allow_Widescreen_In_Window_Mode = 1;
}

TOptionsPtr Options;

TOptionsPtr CreateAppOptionsPopUp() {
    auto options = std::make_shared<TOptions>();
    options->Init("Options", bDir + "PopUps/Options/Options.AppPopUp");
    Control::AddToSaveList(options);
    return options;
}

namespace {

// A plain decimal number: sign, digits, one point, an exponent.
bool IsNumberText(const std::string& text) {
    const std::string t = Trim(text);
    size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++digits;
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '-' || t[i] == '+')) ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

bool SameValue(const std::string& a, const std::string& b) {
    if (EqualsNoCase(Trim(a), Trim(b))) return true;
    return IsNumberText(a) && IsNumberText(b) && StringToDouble(Trim(a)) == StringToDouble(Trim(b));
}

}  // namespace

bool SettingsFileIsCurrent() {
    const std::string url = AppSettings::UserFileUrl();
    if (AppDataFolder.empty() || FileType(url) != 1) return false;
    const TIniBlockList onDisk = LoadIniFile(url);
    const TIniBlockList wanted{AppSettings::SaveData_Screen(), AppSettings::SaveData_Lang(),
                               AppSettings::SaveData_Volume(), AppSettings::SaveData_Other()};
    for (const auto& block : wanted) {
        TIniBlockPtr found;
        for (const auto& b : onDisk)
            if (b && EqualsNoCase(b->name, block->name)) {
                found = b;
                break;
            }
        if (!found) return false;
        for (const auto& param : block->params) {
            bool present = false;
            for (const auto& q : found->params)
                if (q && EqualsNoCase(q->id, param->id)) {
                    present = true;
                    if (!SameValue(q->data, param->data)) return false;
                    break;
                }
            if (!present) return false;
        }
    }
    return true;
}

int TOptions::SaveAtEnd() {
    // Nothing was read yet (an exit before the settings were loaded): nothing to write.
    if (!AppSettings::Loaded) return 0;
    if (SettingsFileIsCurrent()) return 0;
    return AppSettings::SaveData() ? 0 : -1;
}

// ---------------------------------------------------------------------------------------------
// Sliders

float SliderKnobX(int trackWidth, int knobWidth, float volume) {
    const int range = trackWidth - knobWidth;
    if (range <= 0) return 0.0f;
    return static_cast<float>(range) * volume;
}

void MoveSliderKnob(float& knobX, float dx, int trackWidth, int knobWidth, float& volume) {
    const int range = trackWidth - knobWidth;
    if (range <= 0) {
        // No room to slide: dividing by the range would store a volume that is not a number.
        knobX = 0.0f;
        return;
    }
    knobX += dx;
    if (knobX < 0.0f) knobX = 0.0f;
    if (knobX > static_cast<float>(range)) knobX = static_cast<float>(range);
    volume = knobX / static_cast<float>(range);
}

namespace {

template <class T>
std::shared_ptr<T> FindAs(TAppScreen& screen, int id) {
    return std::dynamic_pointer_cast<T>(screen.FindObjectInd(id));
}

// Shows (enables) or hides (disables) a widget, touching it only when that changes something.
void SetShown(const TGameObjectPtr& object, bool shown) {
    if (!object) return;
    if (shown && object->isEnabled == 0) object->Enable();
    if (!shown && object->isEnabled != 0) object->Disable();
}

// The pair follows a setting: element 0 shows for 1, element 1 for 0; another value leaves the
// pair as it is.
void ShowPair(const std::array<TUIButtonPtr, 2>& pair, int value) {
    if (value != 0 && value != 1) return;
    SetShown(pair[0], value == 1);
    SetShown(pair[1], value == 0);
}

bool PairClicked(const std::array<TUIButtonPtr, 2>& pair) {
    // Both are asked, so that each click test runs as the engine expects.
    const bool first = pair[0] && pair[0]->isClicked() != 0;
    const bool second = pair[1] && pair[1]->isClicked() != 0;
    return first || second;
}

bool Clicked(const TUIButtonPtr& button) { return button && button->isClicked() != 0; }

void UpdateSlider(const TUIImagePtr& knob, const TUIOverBoxPtr& track, float& volume) {
    if (!knob || !track) return;
    float x = knob->GetX();
    MoveSliderKnob(x, Mouse::vx, track->Width, knob->GetWidth(), volume);
    knob->SetX(x);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TOptions

int TOptions::OnStart() {
    MainPanel = FindObjectInd(1);
    if (!MainPanel) {
        Error("Options object not initialized! Are you sure the method LOAD() was executed first?", Here());
        return 0;
    }
    MusicSliderBox = FindAs<TUIOverBox>(*this, 6);
    MusicSlider = FindAs<TUIImage>(*this, 7);
    SoundSliderBox = FindAs<TUIOverBox>(*this, 8);
    SoundSlider = FindAs<TUIImage>(*this, 10);
    if (MusicSlider && MusicSliderBox)
        MusicSlider->SetX(SliderKnobX(MusicSliderBox->Width, MusicSlider->GetWidth(), AppSettings::MusicVolume));
    if (SoundSlider && SoundSliderBox)
        SoundSlider->SetX(SliderKnobX(SoundSliderBox->Width, SoundSlider->GetWidth(), AppSettings::SoundVolume));
    ButtonOk = FindAs<TUIButton>(*this, 101);
    ButtonCredits = FindAs<TUIButton>(*this, 102);
    ButtonMenu = FindAs<TUIButton>(*this, 104);
    ButtonReplay = FindAs<TUIButton>(*this, 103);
    ButtonFullScreen = {FindAs<TUIButton>(*this, 210), FindAs<TUIButton>(*this, 211)};
    ButtonCustomCursor = {FindAs<TUIButton>(*this, 220), FindAs<TUIButton>(*this, 221)};
    ButtonWideSCreen = {FindAs<TUIButton>(*this, 230), FindAs<TUIButton>(*this, 231)};
    WideScreenText = FindAs<TUIText>(*this, 13);
    return 0;
}

int TOptions::Update() {
    UpdateOptionsGUI();
    UpdateSliders();
    return 0;
}

int TOptions::Interface() {
    // The engine may run this twice in a frame; every action clears the click first, so it
    // happens once.
    if (Clicked(ButtonOk)) {
        Mouse::Clear();
        Action_Ok();
    }
    if (Clicked(ButtonCredits)) {
        Mouse::Clear();
        Action_Credits();
    }
    if (Clicked(ButtonMenu)) {
        Mouse::Clear();
        Action_Menu();
    }
    if (Clicked(ButtonReplay)) {
        Mouse::Clear();
        Action_Replay();
    }
    if (PairClicked(ButtonFullScreen)) {
        SwitchFullScreen();
        Mouse::Clear();
    }
    if (PairClicked(ButtonCustomCursor)) {
        SwitchCustomCursor();
        Mouse::Clear();
    }
    if (PairClicked(ButtonWideSCreen)) {
        SwitchWideScreen();
        Mouse::Clear();
    }
    return 0;
}

int TOptions::UpdateMusicSlider() {
    UpdateSlider(MusicSlider, MusicSliderBox, AppSettings::MusicVolume);
    return 0;
}

int TOptions::UpdateSoundSlider() {
    UpdateSlider(SoundSlider, SoundSliderBox, AppSettings::SoundVolume);
    return 0;
}

int TOptions::UpdateSliders() {
    if (Holded) {
        if (Mouse::LeftHolded == 0) Holded = nullptr;
        else if (Holded == MusicSlider) UpdateMusicSlider();
        else if (Holded == SoundSlider) UpdateSoundSlider();
        return 0;
    }
    // The knob the mouse took starts to move in the next frame.
    if (CurrHoldedObject && MusicSlider && CurrHoldedObject == MusicSlider) Holded = MusicSlider;
    if (CurrHoldedObject && SoundSlider && CurrHoldedObject == SoundSlider) Holded = SoundSlider;
    return 0;
}

int TOptions::UpdateOptionsGUI() {
    ShowPair(ButtonFullScreen, AppSettings::FullScreen);
    ShowPair(ButtonCustomCursor, AppSettings::CustomCursor);
    if (Allow_Widescreen_In_Window_Mode == 1 || AppSettings::FullScreen == 1) {
        SetShown(WideScreenText, true);
        // Wide screen is on while the picture is not stretched.
        ShowPair(ButtonWideSCreen, AppSettings::Stretched == 0 ? 1 : AppSettings::Stretched == 1 ? 0 : -1);
    } else {
        SetShown(ButtonWideSCreen[0], false);
        SetShown(ButtonWideSCreen[1], false);
        SetShown(WideScreenText, false);
    }
    return 0;
}

int TOptions::SwitchFullScreen() {
    GraphicsSwitchFullScreen();
    return 0;
}

int TOptions::SwitchCustomCursor() {
    AppSettings::CustomCursor = AppSettings::CustomCursor == 0 ? 1 : 0;
    return 0;
}

int TOptions::SwitchWideScreen() {
    AppSettings::Stretched = AppSettings::Stretched == 0 ? 1 : 0;
    AppInitGraphics();
    return 0;
}

int TOptions::Action_Ok() {
    StartHiding();
    SaveAtEnd();
    return 0;
}

int TOptions::Action_Credits() {
    StartCredits();
    return 0;
}

int TOptions::Action_Menu() {
    GoToScreen(MainMenu, nullptr);
    return 0;
}

int TOptions::Action_Replay() {
    ShowInfo(GetTxt(11), 0, &TOptions::ReplayYes, &EmptyFunction);
    return 0;
}

void TOptions::ReplayYes() { GoToScreen(Game, RestartCurrPlayerLevel); }

int TOptions::SetProperButtonsGUI() {
    SetShown(ButtonMenu, false);
    SetShown(ButtonReplay, false);
    for (const std::string& screen : ScreensWithMenuAndReplay)
        if (Control::isScreen(screen)) {
            SetShown(ButtonMenu, true);
            SetShown(ButtonReplay, true);
        }
    return 0;
}

int TOptions::OnShow() {
    ResetDelta();
    PlayPanelShow(MainPanel.get());
    SetProperButtonsGUI();
    return 0;
}
