// Tutorial tips: a frame for tips shown over the game screen. A tip is a set of arrows, each
// moving to and fro along its own direction at the tip's opacity; a tip starts at most once per
// player (the profile's Tips). The game screen sets the frame up, updates and draws it every
// frame; the game, kingdom and stages-map screens drop the current tip when they are left.
// The game defines no tips yet: the list is empty, so nothing is ever started or drawn.
#pragma once
#include <memory>
#include <vector>

#include "platform/Image.h"

class TPulsar;

class TTipArrow {
public:
    static TImagePtr Img;  // "Effects/Arrow.png", handle at its centre

    int x = 0, y = 0;  // the arrow's point of rest
    float rot = 0;     // rotation of the picture, degrees
    std::shared_ptr<TPulsar> Pulsar;

    TTipArrow();
    virtual ~TTipArrow() = default;
    // The arrow at (x, y) moved up to 16 pixels either way along its direction.
    virtual int Draw(float alpha);
};

class TTipShowTile {
public:
    virtual ~TTipShowTile() = default;
};

class TTutorialTip {
public:
    int Id = 0;
    int DelayTime = 0;  // milliseconds from the start to WaitTime
    std::vector<std::shared_ptr<TTipArrow>> Arrows;
    float Alpha = 0, dAlpha = 0;
    int WaitTime = 0;

    virtual ~TTutorialTip() = default;
    virtual int OnDraw() { return 0; }
    virtual int DrawArrows();
    virtual int Draw();
    virtual int OnUpdate() { return 0; }
    // Alpha toward dAlpha by 0.025 a frame.
    virtual int UpdateAlpha();
    virtual int Update();
    // Whether the tip should start now; a plain tip never does.
    virtual int Check() { return 0; }
    virtual int Reset();
};

using TTutorialTipPtr = std::shared_ptr<TTutorialTip>;

class Tutorial {
public:
    static std::vector<TTutorialTipPtr> Tips;  // tried in order
    static TTutorialTipPtr CurrTip;

    // Loads the arrow picture.
    static int Setup();
    static int Draw();
    // Advances the current tip, or starts the first tip the player has not seen whose Check holds.
    static int Update();
    // Makes the tip current and records it in the profile.
    static int StartTip(const TTutorialTipPtr& tip);
    // Drops the current tip.
    static int Clear();
    // Tests: no tips, none current, no picture.
    static void Reset();
};
