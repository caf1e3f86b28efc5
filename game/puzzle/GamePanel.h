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
// Every point is an empty object whose place is the widget's top-left corner.
//
// What the board's rules need of the panel is here: the objects found, the panel kept at the
// window's right edge, the stars and their count, the colour box, the menu button and the
// mistake counter, the menu and help buttons. The widgets drawn over the points (colour buttons, hint buttons, tool
// buttons) belong to the panel's own module.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "engine/object/GameObject.h"

class TLevel;
class TUIButton;
class TUIImage;
class TUIText;

class GamePanel {
public:
    static TGameObjectPtr MainPanel;
    static std::shared_ptr<TUIButton> MenuButton;
    static std::shared_ptr<TUIButton> HelpButton;
    static TGameObjectPtr PanelStars;
    static std::array<std::shared_ptr<TUIImage>, 3> Stars;
    static TGameObjectPtr PanelColors;
    static std::shared_ptr<TUIButton> ColorBox;
    static std::shared_ptr<TUIImage> ColorBoxImage;
    static TGameObjectPtr PanelHints;
    static TGameObjectPtr PanelTools;
    static std::shared_ptr<TUIText> Mistakes;
    static std::string txtMistakes;  // line 1 of the game screen's text file

    // Finds the panel's objects in the game screen.
    static int Setup();
    // Stars_Set(count).
    static int Stars_TurnOff(int count);
    // Lights the first count stars and puts out the others; each lit star that goes out drops
    // a falling star (the game screen's DropStar). Counts outside 0..3 change nothing.
    static int Stars_Set(int count);
    // The lit stars, 0 to 3.
    static int GetStars();
    static int SetData(const std::shared_ptr<TLevel>& level);
    // The colour box takes the current colour; the counter shows the mistakes.
    static int Draw();
    // Keeps the panel at the window's right edge, in virtual coordinates.
    static int UpdateScreenPosition();
    // UpdateScreenPosition; in normal play the colour box, the menu button and the help button
    // (or F1).
    static int Update();
    static int Prepare();
    // Forgets every object (tests).
    static void Reset();
};
