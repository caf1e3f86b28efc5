// The sound game object (type 8, "SoundObject"): gives a screen a named sound. It holds a sound
// asset, shared by url with the other objects of the screen being loaded, and the flags that
// say how the sound plays. It draws nothing; game code plays it through Sound_Play and friends.
//
// Own data in game-object files ("OwnData" block), in the order written:
//     SoundUrl = "#BDIR#Sound/sfx/door.ogg"   (not written when found beside the screen file)
//     isLooped = 0
//     isMusic = 0
//     isLoadedOnDemand = 0
//     Volume = 1.00000000
//     TimeStep = 0          (minimum milliseconds between two plays that sound; 0 no limit)
// Without "SoundUrl" the object takes "sound.ogg", else "sound.wav", from its own folder. An
// object named N on a screen whose file lies in folder D plays D/N.wav, else D/N.ogg, when such
// a file exists, whatever its "SoundUrl" says.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "engine/screen/GameObject.h"
#include "engine/media/AppSound.h"

class TSoundAsset;
class TSoundObject;
using TSoundObjectPtr = std::shared_ptr<TSoundObject>;

class TSoundObject : public TGameObject {
public:
    std::shared_ptr<TSoundAsset> Snd;
    int32_t isLooped = 0;
    int32_t isMusic = 0;
    int32_t isLoadedOnDemand = 0;  // decoded at the first play instead of with the screen
    float Volume = 1.0f;           // kept, saved and loaded; the sound does not use it
    int32_t TimeInterwal = 0;      // minimum milliseconds between two plays that sound
    int32_t DontSaveUrl = 0;       // the sound was found beside the screen file by name

    // A sound object sharing this one's asset, with its flags and volume.
    TGameObjectPtr Copy() override;
    // Frees the asset's sound and drops the asset.
    int OnFree() override;
    int GetTypeInt() override { return 8; }
    int SaveMyData(const TBlockFilePtr& block) override;
    int LoadMyData(const TBlockFilePtr& block, TLoadList* list) override;

    virtual int SetVolume(float v);
    // Plays through the asset; a vol or target of exactly -1 means 1. Without an asset: an
    // error line and nothing else (the same for Resume, Pause and Stop).
    virtual int Sound_Play(float vol = -1.0f, float target = -1.0f, float speed = 0.05f);
    virtual int Sound_Resume();
    virtual int Sound_Pause();
    virtual int Sound_Stop();
    // Fades the asset's own sound out at speed per frame (nothing without an asset).
    virtual int Sound_Hide(float speed);
    // Hands the flags and the interval to the asset, which passes them on to its sound.
    virtual int SetDataToAsset();
    virtual int SetSnd(const std::shared_ptr<TSoundAsset>& asset);
};

// What a sound object can be made from: nothing, a file path (decoded at once) or a sound.
using TSoundSource = std::variant<std::monostate, std::string, TAppSoundPtr>;

// A new sound object named "SoundObject"; under parent when given, in no screen.
TSoundObjectPtr CreateSoundObject(const TSoundSource& src, int isLooped, int isMusic, int isLoadedOnDemand,
                                  TGameObject* parent = nullptr);

// Start-up: registers type 8 with the game-object factory (InstallWidgets does it too).
void InstallSoundObject();
