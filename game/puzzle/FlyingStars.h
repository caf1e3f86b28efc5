// Flying stars: the star of the level's rating moving along a cubic Bezier curve. A star flies
// into each panel star when a level starts (TFlyingStarFlyIn, which then lights that panel
// star), falls off the panel when a star is lost (TFlyingStarDrop) and flies from the panel to
// the level summary when a level is won (TFlyingStarSummary, which stays there).
//
// Every star lives in the list FlyingStars and is advanced and drawn by DrawFlyingStars, which
// the game screen and the level summary call from their drawing; a star moves only while it is
// drawn (twice a frame while the summary draws the game screen beneath itself). The game screen
// empties the list each time it prepares a level.
//
// The creators take the top-left corner of a star picture and fly the star between centres.
#pragma once
#include <list>
#include <memory>

#include "engine/screen/GameObject.h"
#include "platform/Image.h"

class TAppScreen;

class TFlyingStar : public std::enable_shared_from_this<TFlyingStar> {
public:
    // The star picture, handle at its centre (the game screen's set-up loads it).
    static TImagePtr Img;

    int StartTime = 0;  // application ms at which the flight starts
    float x1 = 0, y1 = 0;
    float x2 = 0, y2 = 0;
    float x = 0, y = 0;
    float mx1 = 0, my1 = 0;
    float mx2 = 0, my2 = 0;
    float per = 0;
    float Speed = 0.01f;  // progress per frame at 60 frames a second
    float Angle = 0;
    float ScaleX = 1, ScaleY = 1;
    float Alpha = 1;
    int isStarted = 0;
    int isDrawedBeforeTime = 0;  // 1: drawn at its start while it waits
    int isDrawedOnSummary = 0;   // 1 for the stars bound for the level summary

    virtual ~TFlyingStar() = default;
    // Starts and advances the flight when its time has come, then draws the star.
    virtual int Draw();
    virtual int UpdatePosition();
    // UpdatePosition; Destroy once the progress has reached 1; the progress grows; OnUpdate.
    virtual int Update();
    virtual int OnUpdate() { return 0; }
    virtual int OnStart() { return 0; }
    virtual int OnDestroy() { return 0; }
    // The point of the curve at p.
    virtual int SetPosition(double p);
    // Out of FlyingStars, then OnDestroy.
    virtual int Destroy();
};

// A lost star: swells in place for a quarter of its flight, then falls off the screen turning.
class TFlyingStarDrop : public TFlyingStar {
public:
    int UpdatePosition() override;
    // A small burst where it starts (into the game screen's particles).
    int OnStart() override;
};

// A won star flying to the level summary, where it stays (drawn on every pass) until the next
// level is prepared; its arrival makes one burst in the summary's particle package.
class TFlyingStarSummary : public TFlyingStar {
public:
    int isFinishedFly = 0;

    int OnStart() override { return 0; }
    // Rocks to 90 degrees either way and ends upright.
    int OnUpdate() override;
    int Destroy() override;
};

// A star coming down onto a panel star, which stays dark until it lands.
class TFlyingStarFlyIn : public TFlyingStar {
public:
    TGameObjectPtr obj;  // the panel star it lights

    // Lights the panel star with a burst (the game screen's particles).
    int OnDestroy() override;
};

using TFlyingStarPtr = std::shared_ptr<TFlyingStar>;

// Every flying star, in creation order.
extern std::list<TFlyingStarPtr> FlyingStars;

// A falling star from (x, y), starting delay ms from now.
int CreateFlyingStarDrop(int x, int y, int delay);
// A star from (x1, y1) to the summary's star place (x2, y2), shown at its start at once and
// leaving after delay ms. The places are given 171 pixels right of where the star lands: the
// game passes (588, 142), (652, 132) and (716, 142), so the stars' centres come to rest at
// (440, 165), (504, 155) and (568, 165) with the 46-pixel star picture.
int CreateFlyingStarSummary(int x1, int y1, int x2, int y2, int delay);
// A star from (x1, y1) onto the panel star obj at (x2, y2), after delay ms; obj is hidden until
// the star lands.
int CreateFlyingStarFlyin(int x1, int y1, int x2, int y2, int delay, const TGameObjectPtr& obj);
// Draw of every star, first to last, for whichever screen draws them.
int DrawFlyingStars(TAppScreen* screen);
// Every star gone (no landing, no burst).
int ClearFlyingStars();

// A star still flying in to `star` leaves the list and never lights it. Returns 1, with the
// top-left corner of the star picture where it is now, when that star was already on its way
// (visible); 0 when there was none or it had not started.
int TakeStarFlyIn(const TGameObject* star, int& x, int& y);
// Every star still flying in lands at once: its panel star lights (no burst).
int LandStarFlyIns();
