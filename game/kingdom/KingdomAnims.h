// The kingdom's creatures: game objects of the kingdom's scene that play a frame animation
// (AnimData.h), fade toward a target opacity and run a small behaviour of their kind each frame:
// farm animals and farmers at work in place, a rabbit that hops in from the edge, pauses and
// hops out again, a crow that crosses the sky with a faint shadow below, and villagers that walk
// closed routes read from walk-path files.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/data/ValueTypes.h"
#include "engine/media/AnimData.h"
#include "engine/screen/GameObject.h"

class TKingdomAnimObj : public TGameObject {
public:
    TAnimObjectPtr AnimObject;    // the frame images and animations
    TAnimDataPtr CurrAnim;        // playing; null when none plays
    TImagePtr CurrFrame;          // shown; null before the first
    int FrameCount = 0;           // position in CurrAnim's frame list
    int Timex = 0;                // application ms after which the next frame is due
    std::vector<int> Conditions;  // building ids that rule whether the creature is out
    int isAnimFinished = 0;
    int isLoop = 0;
    float a = 0;   // opacity
    float da = 0;  // its target
    // 0: out only while all Conditions are owned; 1: out only while none of them is owned.
    int HideByConditions = 0;

    virtual int OnEnter() { return 0; }
    virtual int LoadMyAnimObject(const std::string& url, int flags);
    virtual int PlayAnim(const TAnimDataPtr& anim, int loop);
    // Nothing when the file has no animation with that id.
    virtual int PlayAnimId(int id, int loop);
    virtual int GetNextFrame();
    virtual TAnimDataPtr GetAnim(int id);
    virtual int UpdateAnim();
    virtual int UpdateBehaviour() { return 0; }
    virtual int UpdateA();
    virtual int Hide();
    virtual int Show();
    // 0 when the creature has nowhere to be (a walker without a route): it is never shown.
    virtual int HasPlace() { return 1; }

    int OnDraw() override;
    int OnStart() override;
    // Behaviour, animation, opacity.
    int UpdateObject() override;
};

class TAnimal : public TKingdomAnimObj {
public:
    int isIdle = 1;  // which of its two animations comes next
    int UpdateBehaviour() override;
};

class THuman : public TKingdomAnimObj {
public:
    int UpdateBehaviour() override;
};

class TBird : public TAnimal {
public:
    int dir = 0;        // x changes by dir x Speed a frame
    float Speed = 0;    // pixels a frame at 60 frames a second; 0 until the first flight draws it
    int StartTime = 0;  // application ms before which the bird waits

    int OnDraw() override;
    int UpdateBehaviour() override;
    // A new crossing from the left edge at a random height and speed, after a short wait.
    virtual int Reset();
};

class TRabbit : public TAnimal {
public:
    static float MoveSpeed;  // pixels a frame at 60 frames a second
    static int Border;       // how far in from the scene's edge it stops

    int AtLeft = 0;    // the side it comes from and goes back to
    int state = 0;     // 0 coming in, 1 pausing, 2 going out, 3 waiting off-screen
    int NextTime = 0;  // application ms when the wait off-screen ends

    int UpdateBehaviour() override;
};

class TWalkingHuman : public THuman {
public:
    TDimArray Route;        // the points of the walk (x and y used)
    float Speed = 0.0025f;  // share of a leg walked a frame at 60 frames a second
    int CurrN = 0;          // the point walked to
    float CurrPer = 0;      // progress on the leg, 0 to 1

    int UpdateBehaviour() override;
    int Hide() override;
    int Show() override;
    // To the first point of the route and off along the first leg.
    int Start() override;
    // Fades out when any building of its conditions is owned.
    virtual int CheckIfHide();
    virtual int NextMove();
    virtual int HideNow();
    int HasPlace() override { return Route.empty() ? 0 : 1; }
};

using TKingdomAnimObjPtr = std::shared_ptr<TKingdomAnimObj>;

// The creation functions: the creature with its name, conditions and draw layer, updated from
// its drawing and never saved with the scene, a child of parent (when given), its animation file
// loaded with the image flags 6.
std::shared_ptr<TAnimal> CreateAnimal(const std::string& name, const std::vector<int>& conditions,
                                      const std::string& url, int x, int y, TGameObject* parent, int layer);
std::shared_ptr<THuman> CreateHuman(const std::string& name, const std::vector<int>& conditions, const std::string& url,
                                    int x, int y, TGameObject* parent, int layer);
std::shared_ptr<TRabbit> CreateRabbit(const std::string& name, const std::vector<int>& conditions,
                                      const std::string& url, int atLeft, int x, int y, TGameObject* parent, int layer);
std::shared_ptr<TBird> CreateBird(const std::string& name, const std::vector<int>& conditions, const std::string& url,
                                  int x, int y, TGameObject* parent, int layer, int dir);
// anim: a file to load, or (the overload) an animation shared by every walker given it.
std::shared_ptr<TWalkingHuman> CreateWalkingHuman(const std::string& name, const std::vector<int>& conditions,
                                                  const std::string& anim, const TDimArray& route, TGameObject* parent,
                                                  int layer, float speed, int hideByConditions);
std::shared_ptr<TWalkingHuman> CreateWalkingHuman(const std::string& name, const std::vector<int>& conditions,
                                                  const TAnimObjectPtr& anim, const TDimArray& route,
                                                  TGameObject* parent, int layer, float speed, int hideByConditions);
