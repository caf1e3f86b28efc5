// The credits: a roll of text lines over a background picture, run modally from the options
// pop-up over whatever screen is current. The roll fades in over that screen, scrolls upward
// without end (starting again from below once its last line has gone), and fades out back to it
// on a click (once fully shown) or on Enter, Space or Escape.
//
// The lines come from "Local/<language>/credits.txt", one roll line per file line:
//   empty          skipped, takes no room
//   "#" first      drawn in the style "Credits 2", without its first and last characters
//   "$" first      drawn in the style "Credits 3", without its first and last characters
//   anything else  drawn in the style "Credits 1" as it stands
// so "#Heading#" shows "Heading"; a marked line of one or two characters shows nothing but
// still takes a line's height.
//
// The screen is registered and loaded like the others but never made current: only
// StartCredits drives it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/media/TextClass.h"
#include "engine/screen/AppScreen.h"
#include "platform/Image.h"

// One line of the roll.
class TCreditData {
public:
    std::string txt;   // the text drawn
    TTextClassPtr cl;  // its style (none: the engine's plain text)

    virtual ~TCreditData() = default;
    // Black under the given alpha, the style made current, the text centred on x = 512 with its
    // top at y.
    virtual int Draw(float y, float alpha);
};

using TCreditDataPtr = std::shared_ptr<TCreditData>;

class TCredits : public TAppScreen {
public:
    TImagePtr img;                           // the background
    std::vector<TCreditDataPtr> lista;       // the lines, in file order
    float y = 0.0f;                          // screen y of the top of the first line
    std::shared_ptr<TAppScreen> ScreenToGo;  // never set: the roll returns to its caller
    int isEnd = 0;
    // The roll's fade: 0 not shown, 1 fully shown. The background takes its first half and the
    // lines its second, so the lines show only over the opaque background, never over the screen
    // below (BackAlpha, LinesAlpha).
    float Alpha = 0.0f;
    float dAlpha = 0.0f;  // its target: 1 while rolling, 0 once it is to end

    static TTextClassPtr CreditsText1;
    static TTextClassPtr CreditsText2;
    static TTextClassPtr CreditsText3;

    static constexpr float ScrollSpeed = 1.0f;  // pixels a frame at 60 frames a second
    static constexpr float FadeStep = 0.05f;    // alpha a frame at 60 frames a second
    static constexpr float StartY = 768.0f;     // the first line starts just below the screen
    static constexpr float RestartY = 800.0f;   // and comes back from here
    static constexpr int LineGap = 2;

    // Background ("Screens/credits/back.jpg", handle 171, 0, so that a 1366-wide picture is
    // centred), the text file and the three styles; builds the lines.
    int OnSetup() override;
    // y at the start, fading in.
    int OnPrepare() override;
    // Background, then the lines.
    int OnDraw() override;
    // The fade, then the scroll.
    int OnUpdate() override;
    // A click once fully faded in, or Enter, Space or Escape at any time, ends the roll.
    int Interface() override;
    virtual int DrawBack();
    float BackAlpha() const;
    float LinesAlpha() const;
    // Draws the lines downward from y; once the last line's bottom has passed the top edge the
    // roll starts again from RestartY.
    virtual int DrawCredits();
    virtual int UpdateMove();
    virtual int GoEnd();

    // The lines as setup builds them from the text file's lines (the styles are the current
    // CreditsText1..3).
    void BuildLines(const std::vector<std::string>& lines);
};

using TCreditsPtr = std::shared_ptr<TCredits>;

extern TCreditsPtr Credits;

// A new screen registered with Control as "Credits", file bDir + "Screens/Credits/Credits.AppScreen".
TCreditsPtr CreateCreditsScreen();
// Runs the credits over the current screen (drawn, not updated) until they have faded out. Each
// pass is a frame of its own for the harness (input replay, frame limit, screenshot); a program
// end during the roll returns at once.
void StartCredits();
