// The game panel: the strip of controls at the right edge of the game screen. Its objects are
// the game screen file's tree under "GamePanel":
//   GamePanel
//     PanelBack                      the panel's card
//     StarsPanel > Star1, Star2, Star3 (lit while enabled; StarSlot1..3 beneath them)
//     ColorsPicker > PickerColor     the colour box button (steps to the next colour)
//     PickerColorImage               tinted with the current colour
//     Picker-Color-1..3              points of the three colour buttons
//     HintsPanel > Hint-1..6         points of the six hint buttons
//     ToolsPanel > ToolHand, ToolHammer  points of the two tool buttons
//     Mistakes                       the mistake counter
//     MenuButton, HelpButton
// Every point is an empty object whose place is the widget's top-left corner; a widget reads
// its point's place afresh every frame, so it moves with the panel.
//
// The panel draws its own widgets over those objects: one TColorButton per colour layer, one
// THintButton per hint slot shown and one TToolButton per tool. Their pictures are drawn at half
// scale (they are made at twice the size they show), each with its top-left corner on its point.
// Every fade moves its current value toward its target at a fixed rate per frame times delta.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "engine/screen/GameObject.h"
#include "platform/Image.h"

class TLevel;
class TUIButton;
class TUIImage;
class TUIText;

// Hint slots that have a button on the panel; a level's slots past these are never played.
constexpr int PanelHintButtons = 6;

// One colour of the level's picture: a round swatch in the layer's colour. A click picks the
// colour; a finished colour is shaded with a tick and takes no clicks; the current colour pulses
// a halo. A button whose layer the level does not have is neither drawn nor clickable.
class TColorButton {
public:
    // Pictures shared by the three buttons (Setup loads them).
    static TImagePtr PickerFrame;        // the ring around the swatch
    static TImagePtr PickerFill;         // the swatch, white, tinted with the colour
    static TImagePtr PickerTick;         // the tick of a finished colour
    static TImagePtr PickerPickedFrame;  // the halo of the current colour

    TGameObjectPtr Point;
    int Index = 0;       // colour layer 0..2
    float OverA = 0;     // hover glow
    float dOverA = 0;    // its target: 1 while the pointer is over an unfinished colour
    float doneA = 0;     // shade and tick of a finished colour
    float dDoneA = 0;    // its target: 1 once the colour is finished
    float PickedA = 0;   // the halo's pulse
    float dPickedA = 0;  // its target, flipping between 0 and 1 while this is the current colour

    virtual ~TColorButton() = default;
    virtual int Reset();
    // 1 when this is the game's current colour.
    virtual int iAmPickedOne();
    virtual int DrawPickedFrame();
    virtual int Draw();
    virtual int UpdateState();
    virtual int UpdateAlphas();
    // The hover; a left press over an unfinished colour picks it (and the board never sees
    // that press).
    virtual int Update();
    // A colour already finished shows shaded at once.
    virtual int Prepare();
    // 1 while the level in play has this button's colour layer.
    int isShown() const;
    // The button's top-left corner (its point's place, moved so that the level's colours stand
    // centred under the colour box when it has fewer than three).
    float X() const;
    float Y() const;
};

// One hint slot: an empty jar that fills from the bottom as charges arrive, full when loaded.
// A click on a loaded button spends the hint.
class THintButton {
public:
    // Entry 0 the full look ("Hint-0.png"), entry 1 the empty one ("Hint-1.png").
    static std::array<TImagePtr, 2> Image;

    int isDisabled = 0;  // 1: the level has no such slot; neither drawn nor updated
    int isLoaded = 0;    // the button's copy of the slot's loaded flag: gates hover and click
    TGameObjectPtr Point;
    int Index = 0;        // hint slot 0..5
    float FillP = 0;      // the overlay that shows the button full
    float dFillP = 0;     // its target: 1 while the slot is loaded
    float OverA = 0;      // hover glow
    float dOverA = 0;     // its target: 1 while the pointer is over a loaded button
    float CoverPer = 0;   // height of the charge gauge, 0..1
    float dCoverPer = 0;  // its target: the slot's parts / MaxHintValue

    virtual ~THintButton() = default;
    // One arriving charge part; the tenth loads the slot and plays the loaded sound.
    virtual int Add();
    virtual int Draw();
    virtual int UpdateStates();
    virtual int Update();
    // The slot's charge parts (0 without a level).
    float Parts() const;
};

// One tool: the hand (0) or the hammer (1).
class TToolButton {
public:
    std::array<TImagePtr, 2> Image;  // entry 0 normal, entry 1 under the pointer
    TGameObjectPtr Point;
    int Index = 0;
    int Over = 0;  // the pointer is over the button this frame

    virtual ~TToolButton() = default;
    virtual int Draw();
    // In normal play: the hover, and a left press selects the tool.
    virtual int Update();
};

std::shared_ptr<TColorButton> CreateColorButton(const TGameObjectPtr& point, int index);
std::shared_ptr<THintButton> CreateHintButton(const TGameObjectPtr& point, int index);
// With its two pictures, bDir-relative paths loaded filtered and mipmapped.
std::shared_ptr<TToolButton> CreateToolButton(const TGameObjectPtr& point, const std::string& normalUrl,
                                              const std::string& overUrl, int index);

class GamePanel {
public:
    static TGameObjectPtr MainPanel;
    static TGameObjectPtr Card;  // the panel's card ("PanelBack"), left of the panel's place
    static std::shared_ptr<TUIButton> MenuButton;
    static std::shared_ptr<TUIButton> HelpButton;
    static TGameObjectPtr PanelStars;
    static std::array<std::shared_ptr<TUIImage>, 3> Stars;
    static TGameObjectPtr PanelColors;
    static std::shared_ptr<TUIButton> ColorBox;
    static std::shared_ptr<TUIImage> ColorBoxImage;
    static std::array<std::shared_ptr<TColorButton>, 3> Color;
    static TGameObjectPtr PanelHints;
    static std::array<std::shared_ptr<THintButton>, PanelHintButtons> Hints;
    static TGameObjectPtr PanelTools;
    static TImagePtr ToolFrame;  // the frame around the current tool
    static float ToolPer;        // the frame's place: 0 on the hand, 1 on the hammer
    static std::array<std::shared_ptr<TToolButton>, 2> Tool;
    static std::shared_ptr<TUIText> Mistakes;
    static std::string txtMistakes;  // line 1 of the game screen's text file

    // Finds the panel's objects, loads its pictures and builds its widgets.
    static int Setup();
    // Stars_Set(count).
    static int Stars_TurnOff(int count);
    // Lights the first count stars and puts out the others; each lit star that goes out drops
    // a falling star (the game screen's DropStar), and a star still flying in to a place that
    // goes out falls from where it is and never lights it. Counts outside 0..3 change nothing.
    static int Stars_Set(int count);
    // The lit stars, 0 to 3.
    static int GetStars();
    // A level handed over: its hint slots, the frame on the current tool, colours unfinished.
    static int SetData(const std::shared_ptr<TLevel>& level);
    static int DrawPicker();
    static int DrawHints();
    static int DrawTools();
    // The colour box takes the current colour; the colour, hint and tool buttons; the counter
    // shows the mistakes.
    static int Draw();
    static int UpdateColorPicker();
    static int UpdateHints();
    // Keeps the panel at the window's right edge, in virtual coordinates, and ends the board's
    // area (BoardAreaRight) at the left edge of its card.
    static int UpdateScreenPosition();
    static int UpdateTools();
    // UpdateScreenPosition, the colour, hint and tool buttons; in normal play the colour box, the
    // menu button and the help button (or F1).
    static int Update();
    // Colours already finished show at once.
    static int Prepare();
    // Forgets every object and widget (tests).
    static void Reset();
};
