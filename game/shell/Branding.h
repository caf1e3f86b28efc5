// The partner splash screens shown at start-up, before the frame loop: up to ten pictures
// "Branding/partnerscreen-<n>.jpg" (n = 1 to 10, any of them may be missing), shown in order,
// each fading in from black, held until two seconds after it came up and fading out to black.
// A left click after the first half second of a picture starts its fade-out at once.
#pragma once
#include <deque>
#include <memory>

#include "engine/fading/Ekran.h"

class TBranding : public TEkran {
public:
    static constexpr int kMaxPictures = 10;
    static constexpr int kShowMs = 2000;         // from the picture's start to its fade-out
    static constexpr int kClickIgnoredMs = 500;  // clicks this early in a picture do nothing

    std::deque<TImagePtr> imgList;  // pictures still to show
    TImagePtr aktImg;               // the picture shown; null when none is left
    int time = 0;                   // clock (MilliSecs) at which the picture starts to fade out

    // The pictures that exist and decode, in number order, handles at their centres.
    int setup() override;
    // The picture centred on the virtual screen (half size when wider than 1024), the black
    // fade over the whole window.
    int draw() override;
    // UpdateDelta, _updateTime, _updateFade.
    int update() override;
    // Fade-out once the display time is over; the next picture once fully faded out.
    virtual int _updateTime();
    // The next picture, fading in from black; none when the list is empty.
    virtual int getNextImg();
    // Black, settled delta, the first picture, mouse forgotten; 1 when there is nothing to show.
    virtual int prepare();
    // Shows every picture in turn; returns after the last fade-out. A close request (or the
    // harness's frame limit) ends the program at once, the normal way.
    virtual int mainLoop();
};

using TBrandingPtr = std::shared_ptr<TBranding>;

extern TBrandingPtr branding;

// branding.setup, then branding.mainLoop.
int AppInitBranding();
