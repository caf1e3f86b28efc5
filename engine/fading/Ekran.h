// The fading screen base: a self-drawn screen object that runs a blocking loop of its own,
// outside Control's registry and frame loop (the partner splash screens, the newsletter
// window). It carries three values that each move toward a target at a speed of their own (an
// alpha, a black fade and a progress value), a standard draw state, the full-width black fade
// rectangle, the cursor, a grab of its picture and a settling of the frame delta. A subclass
// drives the loop (clear, update, draw, flip) and reads the values to know when it is done.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/fading/EkranTools.h"
#include "platform/Image.h"

class TEkran {
public:
    std::string id = "Screen Object";
    std::string wynik;   // result text, for subclasses
    int _exit = 0;       // exit flag, for subclasses
    float alpha = 1.0f;  // alpha of the screen's picture, moving toward dAlpha
    float dAlpha = 1.0f;
    float fade = 0.0f;  // opacity of the black fade rectangle (0 clear, 1 black), toward dFade
    float dFade = 0.0f;
    float p = 0.0f;  // progress value, toward dp
    float dp = 0.0f;
    float aSpeed = 0.05f;  // steps per frame at 60 frames per second
    float fSpeed = 0.05f;
    float pSpeed = 0.005f;
    std::shared_ptr<TEkran> ekran;  // a further screen object, for subclasses
    int allreadyLoaded = 0;         // loaded flag, for subclasses
    std::vector<std::string> toolTips;

    virtual ~TEkran() = default;

    // Loads what the screen shows (nothing here).
    virtual int setup() { return 0; }
    virtual int sendPixMap() { return 0; }
    // Colour 255,255,255, alpha blend, scale 1, rotation 0, alpha 1.
    virtual int drawStandards();
    virtual int _drawGui();
    // Black at alpha fade over the virtual screen and the bands beside it (-500 to width + 500).
    virtual int _drawBlackFade();
    virtual int _drawFade();
    // The same black rectangle as _drawFade.
    virtual int _drawWhiteFade();
    // The engine's cursor.
    virtual int _drawMouse();
    // Draws the screen's picture (nothing here).
    virtual int draw() { return 0; }
    // Move p, fade and alpha toward their targets at their speeds times delta, stopping exactly
    // on the target.
    virtual int _updatePer();
    virtual int _updateFade();
    virtual int _updateAlpha();
    // Advances the screen's state (nothing here).
    virtual int update() { return 0; }
    // Clears, draws and grabs the picture: (0, 0), virtual size less one pixel each way.
    virtual TPixmapPtr _getMyScreen();
    // Picture fully visible, no black: alpha and dAlpha 1, fade and dFade 0.
    virtual int STANDARD_DATA();
    // 25 frame-clock updates in a row, so that the next delta does not cover a blocking step.
    virtual int _prepareDelta();
};

using TEkranPtr = std::shared_ptr<TEkran>;
