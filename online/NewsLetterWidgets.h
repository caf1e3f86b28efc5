// The widgets on the newsletter window's panel, each described by one block of
// "newsletter/newsletter.dat": wrapped texts, text buttons that light up under the mouse, and
// images. The window keeps them in its list in file order, draws them every frame and updates
// its buttons; the buttons "SIGNUP", "LATER" and "DONTSHOW" are the window's actions.
//
// Keys of a widget block (any letter case; a missing key reads as 0 or empty):
//   Type          TEXT, TEXTBUTTON or IMAGE (any other: no widget)
//   x, y          position from the panel's offset: a text's top-left, a button's or image's centre
//   TextLine      the line of "newsletter.txt" (from 1) that gives the text (texts and buttons)
//   FontUrl, FontSize   the font (texts and buttons), a path from the folder "newsletter/"
//   rgb_red, rgb_green, rgb_blue   the colour (texts and buttons)
//   Width, align  a text's column width and its alignment (LEFT, RIGHT, CENTER, JUSTIFY)
//   url, alpha, scale, rotation    an image's file, opacity, scale and turn in whole degrees
#pragma once
#include <memory>
#include <string>

#include "platform/Font.h"
#include "platform/Image.h"

class TEnBlock;

class TNLObj {
public:
    std::string id;  // the block's name, upper-cased
    float x = 0;
    float y = 0;
    int r = 0, g = 0, b = 0;
    std::string text;
    TImageFontPtr Font;
    int isVisible = 1;  // buttons: drawn only when set
    int isActive = 1;   // buttons: react to the mouse only when this and isVisible are set

    virtual ~TNLObj() = default;
    virtual int draw() { return 0; }
    virtual int update() { return 0; }
};
using TNLObjPtr = std::shared_ptr<TNLObj>;

// A text wrapped in a column; drawn whether visible or not.
class TNLText : public TNLObj {
public:
    int width = 0;
    std::string align;
    int draw() override;
};
using TNLTextPtr = std::shared_ptr<TNLText>;

// A text centred on (x, y); under the mouse it is drawn again over itself in the window's hover
// colour, the highlight fading in and out over 20 frames.
class TNLButton : public TNLObj {
public:
    int isOver = 0;                      // the mouse is over the button this frame
    float oa = 0;                        // opacity of the highlight
    float doa = 0;                       // its target
    int xx = 0, yy = 0, ww = 0, hh = 0;  // the hit box: the text's box grown by 5 on each side
    int draw() override;
    // The hover test and the highlight's fade.
    int update() override;
};
using TNLButtonPtr = std::shared_ptr<TNLButton>;

// An image centred on (x, y). Its scale stays set after it is drawn, for the widgets after it.
class TNLImage : public TNLObj {
public:
    TImagePtr img;
    int rot = 0;
    float alpha = 1;
    float scale = 1;
    TNLImage() { r = g = b = 255; }
    int draw() override;
};
using TNLImagePtr = std::shared_ptr<TNLImage>;

// The widget a block describes, by its "Type"; null for any other type.
TNLObjPtr CreateNLObj(const TEnBlock& block);
TNLTextPtr _CreateNLText(const TEnBlock& block);
TNLButtonPtr _CreateNLButton(const TEnBlock& block);
TNLImagePtr _CreateNLImage(const TEnBlock& block);

// A path of the window's data file: inside the folder "newsletter/" of the data folder. A path
// that is absolute or climbs out of the data folder is reported and gives "" (nothing loads).
std::string NewsLetterDataPath(const std::string& relative);
// GetAppFont of such a path; null (the default font) for a path refused or missing.
TImageFontPtr NewsLetterFont(const std::string& relative, int size);
