// The options pop-up: music and sound volumes on two sliders; full screen, wide-screen display
// and the game's own cursor, each switched by a pair of buttons of which one shows at a time; the
// credits; and, over the game screen, Menu (back to the main menu) and Replay (restart the level
// after a question). Every change takes effect at once; there is no cancel. The settings file is
// written on OK and again when the program ends.
//
// Pop-up file ("PopUps/Options/Options.AppPopUp"), objects by id:
//   1    the panel, with animation 1 (show) and 2 (hide)
//   6, 7   music track (an over box whose Width is the track length) and its knob (an image
//          with a collider, placed inside the track)
//   8, 10  the same for the sound
//   210/211 full screen on/off, 220/221 custom cursor on/off, 230/231 wide screen on/off
//          (buttons: of each pair the lower id shows while the setting is on)
//   13   the wide-screen label
//   101 OK, 102 Credits, 103 Replay, 104 Menu
// Line 11 of the text file is the replay question.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/UI_Object.h"
#include "game/shell/PanelAnimation.h"

// The options' static tuning: the screens over which the pop-up offers Menu and Replay, and
// whether the wide-screen switch is offered in a window.
class OptionsSettings : public TPanelPopUp {
public:
    // Names of the screens with Menu and Replay; starts as { "MainGame" }, which names no
    // screen; start-up appends the game screen.
    static std::vector<std::string> ScreensWithMenuAndReplay;
    // 1: the wide-screen pair is offered in a window too; 0: only in full screen.
    static int Allow_Widescreen_In_Window_Mode;
    // Appends the screen's name.
    static void AddScreen(const std::shared_ptr<TAppScreen>& screen);
    // Back to { "MainGame" } and the wide-screen switch offered everywhere (tests).
    static void Reset();
};

class TOptions : public OptionsSettings {
public:
    TUIImagePtr MusicSlider;                         // id 7, the music knob
    TUIOverBoxPtr MusicSliderBox;                    // id 6, the music track
    TUIImagePtr SoundSlider;                         // id 10
    TUIOverBoxPtr SoundSliderBox;                    // id 8
    TGameObjectPtr MainPanel;                        // id 1
    std::array<TUIButtonPtr, 2> ButtonCustomCursor;  // ids 220, 221
    std::array<TUIButtonPtr, 2> ButtonFullScreen;    // ids 210, 211
    std::array<TUIButtonPtr, 2> ButtonWideSCreen;    // ids 230, 231
    TUITextPtr WideScreenText;                       // id 13
    TUIButtonPtr ButtonOk;                           // id 101
    TUIButtonPtr ButtonCredits;                      // id 102
    TUIButtonPtr ButtonMenu;                         // id 104
    TUIButtonPtr ButtonReplay;                       // id 103
    TUIImagePtr Holded;                              // the knob being dragged, or none

    // First start: finds the widgets and places the knobs from the volumes. Without a panel the
    // set-up stops after an error, and the pop-up has no working widgets.
    int OnStart() override;
    // Every frame while on top: the switch buttons follow the settings, the sliders the mouse.
    int Update() override;
    int Interface() override;
    // Settles the frame delta, plays the show animation, offers Menu and Replay where they
    // belong. The screen below is not locked: over a level, the level's clock and its state
    // (the opening fly-in, the end of a won or lost level) go on while the options are open;
    // only the board's update, its moves and the panel's clicks wait, as under any pop-up.
    int OnShow() override;
    // Writes the per-user settings, unless they were never loaded or the file already holds
    // exactly these values (a run that changed nothing leaves the file's bytes alone).
    int SaveAtEnd() override;

    virtual int UpdateMusicSlider();
    virtual int UpdateSoundSlider();
    virtual int UpdateSliders();
    virtual int UpdateOptionsGUI();
    virtual int SwitchFullScreen();
    virtual int SwitchCustomCursor();
    virtual int SwitchWideScreen();
    virtual int Action_Ok();
    virtual int Action_Credits();
    virtual int Action_Menu();
    virtual int Action_Replay();
    // The yes answer to the replay question: the game screen again, the level restarted at the
    // switch.
    static void ReplayYes();
    virtual int SetProperButtonsGUI();

protected:
    TGameObject* AnimatedPanel() const override { return MainPanel.get(); }
};

// One slider step: the knob moved by dx inside its track, kept within 0 .. trackWidth -
// knobWidth, and the volume it then stands for, knob x / (trackWidth - knobWidth). A track no
// wider than its knob leaves no room to slide: the knob stays at 0 and the volume is left as it
// was (never a division by zero).
void MoveSliderKnob(float& knobX, float dx, int trackWidth, int knobWidth, float& volume);
// Where a knob stands for a volume: (trackWidth - knobWidth) * volume, 0 when there is no room.
float SliderKnobX(int trackWidth, int knobWidth, float volume);

// True when the per-user "Settings.ini" exists and every value the settings would write reads
// back equal from it (numbers compared as numbers, texts without regard to case).
bool SettingsFileIsCurrent();

using TOptionsPtr = std::shared_ptr<TOptions>;

extern TOptionsPtr Options;

// A new options pop-up registered as "Options", file bDir + "PopUps/Options/Options.AppPopUp",
// and put on the save-at-end list.
TOptionsPtr CreateAppOptionsPopUp();
