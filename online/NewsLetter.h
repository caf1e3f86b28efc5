// The newsletter window: a sign-up offered after half an hour of play on the game screen. Over
// the dimmed game screen it shows a panel, texts, images and text buttons laid out by its data
// file, and two entry fields, for the player's name and e-mail address. "SIGNUP" posts both to
// the maker's web server, "LATER" closes it and starts the half hour again, and "DONTSHOW"
// (offered from the third showing on) closes it for good.
//
// It is not an engine screen: while it is shown it runs a loop of its own (clear, update, draw,
// flip) inside the game screen's update, so everything else stands still until it closes. It
// is switched on by a folder "newsletter" in the data folder whose settings name a real server
// (NewsLetterSwitch); the game ships it switched off. Its saved state is in
// NewsLetterState.h, the play-time trigger in NewsLetterTrigger.h, its widgets in
// NewsLetterWidgets.h.
//
// Data, in the data folder's "newsletter/":
//   "panel.png"       the panel, drawn centred at (512 + PanelX, 384 + PanelY)
//   "newsletter.txt"  the texts, one a line: line 3 the name label, 4 the e-mail label, 9 the
//                     words for an address the server refused, 10 the words for a sign-up that
//                     could not be sent; the widgets take any line by number
//   "newsletter.dat"  a block file: the block "SETTINGS" sets the layout, the colours, the
//                     entry font, the mailing list ("MacList") and the server ("Server",
//                     "host" or "host:port"); every other block is a widget
//
// Once the window is closing (fading out), it takes no more input: a button pressed while it
// fades does nothing. A request to quit while it is shown ends the program the normal way,
// saving the player's progress and the settings first.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/fading/Ekran.h"
#include "online/NewsLetterState.h"
#include "online/NewsLetterWidgets.h"
#include "platform/Font.h"
#include "platform/Image.h"

class TEnBlock;

class TNewsLetter : public TEkran {
public:
    TImagePtr panel;
    float PanelX = 0;  // offset of the panel's centre from (512, 384), added to every position
    float PanelY = 0;
    float NameX = 380;  // where the name field begins
    float NameY = 374;  // top of the name row
    float MailX = 380;
    float MailY = 420;
    float XDist = 8;  // gap between a label and its field, and between a field's edge and its text
    float PanelScale = 1;
    float RectWidth = 300;  // a field's frame
    float RectHeight = 30;
    float CurWidth = 0;  // the text cursor block
    float CurHeight = 0;
    int OverR = 0, overG = 0, overB = 0;  // a button's hover highlight
    TImageFontPtr entryFont;
    std::string txtName;
    std::string txtMail;
    std::string txtInvalidAdress;
    std::string txtNotSent;  // a sign-up that could not be sent
    int allreadyloaded = 0;
    std::vector<TNLObjPtr> guiObjects;   // in file order; null for a block of no widget type
    std::vector<std::string> TextArray;  // the lines of "newsletter.txt"
    std::string FontUrl;                 // the setting "Font" as text; nothing reads it
    std::string MacList;                 // the mailing list a sign-up names
    std::string PCList;                  // read, not used
    int red = 0, green = 0, blue = 0;    // labels, entries and cursor
    int rr = 0, gg = 0, bb = 0;          // field frames
    int InfoWaitTime = 0;                // application clock (ms) at which the info line ends; 0: none
    std::string InfoText;
    int maxWidth = 200;  // an entry wider than this shows by its tail
    int activeN = 0;     // the field that takes typed characters: 0 name, 1 e-mail
    std::string NameEntry;
    std::string MailEntry;
    int switch_ = 0;  // the cursor shows while set (blink); "switch" is a C++ keyword
    int switchtime = 0;
    int rezultat = 0;  // 1 after a sign-up
    float InfoA = 0;
    float dInfoA = 0;

    TNewsLetter();

    // Loads the data on the first call.
    int setup() override;
    int Setup() { return setup(); }
    // Loads the data again (developer key).
    virtual int Reload();
    virtual int LoadStuff();
    virtual int _SetupSettings(const TEnBlock& block);
    virtual int _SetupTexts();

    int draw() override;
    int update() override;
    virtual int _drawBack();
    virtual int _drawPanel();
    int _drawGui() override;
    virtual int _DrawRectangle(int x, int y, int w, int h);
    virtual std::string CutEntry(const std::string& text);
    virtual int _drawEntry();
    virtual int _DrawInfo();
    virtual int _updateSwitch();
    virtual int _updateGUI();
    // The engine's system step (delta, mouse, clock, sounds, Command+F, the quit request), and
    // Alt+F4, which ends the program the same way.
    virtual int _updateSystemBasic();
    virtual int _UpdateInfo();
    // isVisible and isActive of every widget whose id matches (any letter case).
    virtual int StateObject(const std::string& id, int visible, int active);
    virtual int prepare();
    // Shows the window until it has faded out (or the program ends); returns rezultat.
    virtual int mainloop();
    virtual int ShowNewsLetterInfo(const std::string& text);
    virtual int goSignUp();
    virtual int goLater();
    virtual int goDontShow();

    // The window is closing (fading out): it takes no more input.
    bool isClosing() const { return dAlpha == 0.0f; }
};

using TNewsLetterPtr = std::shared_ptr<TNewsLetter>;

// The one newsletter window, made at start-up (not registered with Control).
extern TNewsLetterPtr NewsLetter;

// The newsletter's switch, read at start-up from the data folder: the file kind of its entry
// "newsletter" (see FileType) when "newsletter/newsletter.dat" names a real server (the entry
// "Server" of its block "SETTINGS", see NewsletterServerIsReal), else 0. Switched off (the game
// ships so), nothing of the newsletter runs: no play time is counted, the window never shows and
// its saved state is neither read nor written.
int NewsLetterSwitch(const std::string& dataFolder);
