// Object animations and the animator component (kind 0, "Animator").
//
// TAppObjAnim moves one game object, and with it the game objects below it, from one look to
// another as a position runs from 0 to 1. It holds up to three curves: a TTrack of rectangles
// (position and size), a TGradient of colours (colour and alpha) and a TTransform (scale and
// rotation). Applying it at a position writes the curves' values into a state the animation
// owns and makes that state the object's current state; a value whose curve is absent or
// switched off comes from the object's pushed state (taken from its current state the first
// time it is needed, and kept). Each sub-object has a sub-animation of its own, applied at the
// same position right after the parent's.
//
// TAppObjAnimator keeps an object's animations and plays one at a time: the position runs from
// 0 to 1 over a time in milliseconds on a percentage timer that advances with the frame delta
// (32-bit float steps, so with delta 1 a 1000 ms run ends on its 61st frame, 500 ms on its
// 30th, 250 ms on its 15th), may start anywhere, loop, pause, wait out a delay on the
// application clock, and is eased by sin(90 degrees * position) when asked.
//
// File form, inside the animator's "Component" block:
//
//     DefaultAnim = 1, 500            (number of the default animation from 1, its time)
//     ANIMS{
//         Anim{
//             id = 0
//             Name = "Pulse"
//             Track = "..."           (only for a curve that exists and is switched on)
//             Gradient = "..."
//             Transform = "..."
//             Anims{                  (only with sub-animations: one "Anim" per sub-object,
//                 Anim{ ... }          in sub-object order, nested to any depth)
//             }
//         }
//     }
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppState.h"
#include "engine/screen/Component.h"
#include "engine/basics/Timers.h"
#include "engine/data/BlockFile.h"
#include "engine/data/Gradient.h"
#include "engine/data/Track.h"
#include "engine/data/Transform.h"

class TGameObject;
class TAppObjAnim;
class TAppObjAnimator;

using TAppObjAnimPtr = std::shared_ptr<TAppObjAnim>;
using TAppObjAnimatorPtr = std::shared_ptr<TAppObjAnimator>;

class TAppObjAnim : public std::enable_shared_from_this<TAppObjAnim> {
public:
    int32_t id = 0;                               // found by SetCurrAnimId / Animation_PlayId
    std::string name;                             // found by name, letter case included
    TGameObject* GameObject = nullptr;            // the object driven (not owned)
    std::vector<TAppObjAnimPtr> SubObjectsAnims;  // one per sub-object (owned)
    TAppStatePtr State;                           // filled and made current on GameObject (owned)
    TTrackPtr Track;                              // rectangle curve
    TGradientPtr Gradient;                        // colour curve
    TTransformPtr Transform;                      // scale-and-rotation curve
    int32_t isTrackEnabled = 1;                   // a curve is used only when it exists and is on
    int32_t isGradientEnabled = 1;
    int32_t isTransformEnabled = 1;

    TAppObjAnim();
    virtual ~TAppObjAnim() = default;

    // "==== ANIM: <name> ====\n" + ToString2("").
    virtual std::string ToString();
    // Drops the object and the state, frees the sub-animations and the curves.
    virtual int Free();
    // Same id, name, flags and object; copied curves and sub-animations; a fresh state.
    virtual TAppObjAnimPtr Copy();
    // Brings the sub-animations in line with the object's tree: a sub-animation whose object no
    // longer lies below GameObject is removed and freed, the others check their own; every
    // direct sub-object without one gets a new, empty sub-animation named like this one.
    virtual int CheckReliance();
    // GameObject = obj, then AddSubObjectAnim(obj).
    virtual int SetObject(TGameObject* obj);
    // This animation when it drives obj, else the first match below it (depth first); null.
    virtual TAppObjAnimPtr GetSubAnimByObject(const TGameObject* obj);
    // Applies the curves at position p to GameObject (nothing without an object).
    virtual int UpdateMyObject(float p);
    // Update(p) of every sub-animation.
    virtual int UpdateSubObjects(float p);
    // UpdateMyObject, then UpdateSubObjects.
    virtual int Update(float p);
    // A keyframe at p holding the curve's value there; nothing when the curve is absent.
    virtual int AddTrackPoint(float p);
    virtual int AddGradientPoint(float p);
    virtual int AddTransformPoint(float p);
    // Replaces the sub-animations by one new, empty sub-animation per direct game-object
    // sub-object of obj (named like this animation).
    virtual int AddSubObjectAnim(TGameObject* obj);
    // The debug text: name, number of sub-animations and theirs, one tab deeper per level.
    virtual std::string ToString2(const std::string& indent);
    // "id", "Name", then each curve that exists and is on (an absent curve switches its flag off).
    virtual int SaveBase(const TBlockFilePtr& block);
    // "Anims" with one "Anim" per sub-animation, when there is any.
    virtual int SaveSubAnims(const TBlockFilePtr& block);
    // A new "Anim" block under block, filled by SaveBase and SaveSubAnims.
    virtual int Save(const TBlockFilePtr& block);
    virtual int LoadBase(const TBlockFilePtr& block);
    // Each non-empty curve text gives a new curve that is switched on; the others are switched
    // off and keep what they held.
    virtual int LoadAnimData(const TBlockFilePtr& block);
    // The i-th "Anim" of "Anims" into the sub-animation of the i-th sub-object; sub-animations
    // are built first when this animation has none, so nested blocks load at every depth.
    virtual int LoadSubAnims(const TBlockFilePtr& block);
    // block is the "Anim" block: LoadBase, LoadAnimData, LoadSubAnims.
    virtual int Load(const TBlockFilePtr& block);

    // Points this animation and its sub-animations at the copies of their objects (copying a
    // game object copies its animator; the copy must drive the copied tree). Objects not in the
    // map are left as they are.
    virtual int Retarget(const TGameObjectCopyMap& map);
    // GameObject while it is alive; null once the object it names has been destroyed (so a
    // sub-animation outliving its object never touches it).
    TGameObject* Target();

private:
    TGameObject* watched_ = nullptr;  // the object watch_ was taken from
    std::weak_ptr<TAppAbstract> watch_;
    bool hasWatch_ = false;  // the object was owned by a shared pointer when taken
};

class TAppObjAnimator : public TAppObjComponent {
public:
    std::vector<TAppObjAnimPtr> Anims;    // in the order added; null slots are passed over
    float VectorX = 0;                    // kept at 0
    float VectorY = 0;                    // kept at 0
    TAppObjAnimPtr CurrAnim;              // the animation played (need not be in Anims)
    int32_t CurrAnimTime = 0;             // kept at 0
    float CurrAnimPer = 0;                // the position before easing, 0..1
    std::shared_ptr<TAppPerTimer> Timer;  // made by the first play
    int32_t isPaused = 1;
    int32_t isLooped = 0;
    int32_t isSinus = 1;
    int32_t DefaultAnim = 0;      // number of the default animation from 1; 0 none
    int32_t DefaultAnimTime = 0;  // its time in milliseconds
    int32_t DelayTime = 0;        // application-clock time before which Update applies nothing

    // Once a frame: nothing without a current animation or while a delay is pending; else the
    // timer advances (unless paused) and the current animation is applied at the position,
    // eased when isSinus is set.
    int Update() override;
    // "Type", "Name", "DefaultAnim" (two values), "ANIMS".
    int Save(const TBlockFilePtr& block) override;
    // The name, the default animation, then every "ANIM" block of "ANIMS" appended to Anims.
    int Load(const TBlockFilePtr& block, TLoadList* list) override;
    // Frees every animation; Anims empty, CurrAnim and Obj null. The timer stays.
    int Free() override;
    // COMPONENTS_NAMES[0], "Animator".
    std::string GetTypeStr() override;
    int GetTypeInt() override { return 0; }
    // Copied animations, the same default animation; not playing.
    TAppObjComponentPtr Copy() override;
    // Re-targets every animation at the copied objects.
    int RetargetCopy(const TGameObjectCopyMap& map) override;

    virtual int SetAnimPer(float p);
    virtual int SetCurrAnim(const TAppObjAnimPtr& anim);
    // Anims[index]; null outside the array.
    virtual int SetCurrAnimInd(int index);
    // The first animation with that id; unchanged when none has it.
    virtual int SetCurrAnimId(int animId);
    // A current animation that is not paused.
    virtual int isPlaying();
    // The current animation has that name (letter case included) / id / index.
    virtual int isPlayingAnim(const std::string& animName);
    virtual int isPlayingAnimId(int animId);
    virtual int isPlayingAnimInd(int index);
    // A timer of that time at position 0 (made when missing); CurrAnimPer 0.
    virtual int ResetAnimationTimer(int time);
    // Play by name, index, id or animation: time in ms for 0..1, loop flag, start position,
    // delay in ms on the application clock, sine flag. The animation is applied at position 0
    // at once. An animation that cannot be found is reported; the animator then has none.
    virtual int Animation_Play(const std::string& animName, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_PlayInd(int index, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_PlayId(int animId, int time, int looped, float start, int delay, int sinus);
    virtual int Animation_PlayAnim(const TAppObjAnimPtr& anim, int time, int looped, float start, int delay, int sinus);
    // Back to position 0 and paused (the animation stays current and holds its first look).
    virtual int Animation_Stop();
    virtual int Animation_Pause();
    // Goes on from where it was paused.
    virtual int Animation_Continue();
    // 1 when the position is exactly 1.
    virtual int Animation_Finished();
    virtual int AddAnim(const TAppObjAnimPtr& anim);
    // Removes the first entry that is anim itself (neither freed nor cleared from CurrAnim).
    virtual int RemoveAnim(const TAppObjAnimPtr& anim);
    // CheckReliance of every animation.
    virtual int CheckAnimationsReliance();
    // Anims = the list's animations in order; null elements leave null slots at the end.
    virtual int CreateAnimsArrayFromList(const std::vector<TAppObjAnimPtr>& list);
    virtual int SaveAnims(const TBlockFilePtr& block);
    virtual int LoadAnims(const TBlockFilePtr& block);
    virtual std::vector<std::string> GetAnimNamesArray();
    // The first animation of that name (letter case included); null.
    virtual TAppObjAnimPtr GetAnimByName(const std::string& animName);
    // CurrAnimPer (not eased).
    virtual float GetAnimPer();

private:
    // Steps shared by the play operations once the current animation is chosen.
    void _StartPlay(int time, int looped, float start, int delay, int sinus);
    // The owner's name upper-cased, for error lines ("" without an owner).
    std::string _ObjectName() const;
};

// A new animation with that name driving obj; it builds no sub-animations.
TAppObjAnimPtr CreateAppObjAnim(const std::string& name, TGameObject* obj);
// A new animation with nothing set.
TAppObjAnimPtr CreateAppObjAnimFromStates();
// A new animation for obj (one empty sub-animation per direct sub-object), loaded from an
// "Anim" block.
TAppObjAnimPtr LoadAppAnim(TGameObject* obj, const TBlockFilePtr& block);
// A new animator named "Animator" owned by obj: added to it and made its Comp_Animator when obj
// is not null.
TAppObjAnimatorPtr CreateAppAnimator(TGameObject* obj);
