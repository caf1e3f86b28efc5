// The vector-animation game object (type 4, "VectorObj"): shows a vector-animation asset and
// plays its animations against a timer.
//
// Each update the object writes its animation and position into the asset's object, which is
// then drawn at the object's position: objects sharing one asset share one pose, the one written
// last. The position climbs from 0 to 1 over the animation's time, delta * 1000 / (60 * time)
// per update, and stops at exactly 1; a looped animation shows its end pose for one update and
// then starts again.
//
// Own data in game-object files ("OwnData" block):
//     AVOUrl = "path of the package"     (placeholders allowed)
// Without it the object takes "avo.avobj" or the folder "avo" beside its file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/screen/Asset.h"
#include "engine/screen/GameObject.h"
#include "engine/basics/Timers.h"
#include "engine/media/VectorObj.h"

class TAVO;
using TAVOPtr = std::shared_ptr<TAVO>;

class TAVO : public TGameObject {
public:
    TAVOAssetPtr AVOAsset;
    int32_t CurrAnimTime = 0;             // milliseconds of the current animation
    float CurrAnimPer = 0.0f;             // position along it, 0..1
    int32_t CurrAnimInd = -1;             // index in the asset's animations; -1 none
    std::shared_ptr<TAppPerTimer> Timer;  // made at the first play or stop
    int32_t isPaused = 1;
    int32_t isLooped = 0;

    // ---- Base slots ----
    TGameObjectPtr Copy() override;
    // The playback step: the timer's position (unless paused) written into the asset's object.
    int UpdateObject() override;
    int GetTypeInt() override { return 4; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;

    // ---- Playback ----
    virtual int ResetAnimationTimer(int32_t time);
    virtual int SetAnimPer(float per);
    // The named animation at per on the asset's object; its index, 0 when there is none (an
    // unknown name is reported).
    virtual int SetAnimAndFrame(const std::string& animName, float per);
    virtual int SetAnimAndFrameInd(int ind, float per);
    // Plays the named animation over time milliseconds. An unknown name is reported and plays
    // the first animation; on an object without animations nothing plays.
    virtual int PlayAnim(const std::string& animName, int32_t time, int32_t looped);
    // Plays animation ind; an index the loaded object does not have is reported and ignored.
    virtual int PlayAnimInd(int ind, int32_t time, int32_t looped);
    // Back to the start of the current animation, paused.
    virtual int StopAnim();
    virtual int PauseAnim();
    // Goes on from where the pause began; nothing without a chosen animation.
    virtual int ContinueAnim();
    // No current animation: the asset shows the start of its first animation.
    virtual int ClearAnim();
    virtual int isPlayingAnim();
    // Binds the asset and the draw object (a box of 64 x 64) that draws it.
    virtual int SetAVO(const TAVOAssetPtr& asset);
    // Export copies of the package beside the object (the block is not used).
    virtual int CopyMyAVOFile(const TBlockFilePtr& block);
    virtual int CopyMyAVODir(const TBlockFilePtr& block);

protected:
    // The asset's loaded object; null when there is none.
    TAppVectorObjPtr _LoadedAvo() const;
    // The same, reporting when there is none.
    TAppVectorObjPtr _AvoOrReport();
};

// A new object at (x, y) showing the package at path (read at once), or the given object;
// added under parent when one is given.
TAVOPtr CreateAVO(const std::string& path, float x, float y, TGameObject* parent = nullptr);
TAVOPtr CreateAVO(const TAppVectorObjPtr& avo, float x, float y, TGameObject* parent = nullptr);

// Registers type 4 with the game-object factory (start-up).
void InstallAVO();
