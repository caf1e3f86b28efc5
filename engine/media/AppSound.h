// A sound effect or music track of the engine: a file decoded once and played on channels of the
// audio layer, with a per-frame volume fade, pause, mute and a minimum interval between repeats.
//
// Play sounds a copy of the object, so one sound can ring several times at once; each playing
// copy stands in AppSoundManager::SoundsList until it ends. A music track is handed to the sound
// manager, which owns the music channels and their cross-fade. Sounds live in shared pointers
// (CreateAppSound or std::make_shared): a played copy registers itself with the manager.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Audio.h"

class TAppSound;
using TAppSoundPtr = std::shared_ptr<TAppSound>;

class TAppSound : public std::enable_shared_from_this<TAppSound> {
public:
    TSoundPtr snd;          // the decoded sound, shared by all copies
    TChannelPtr chn;        // the channel this object plays on
    int id = 0;             // a number for the owner
    std::string url;        // path of the sound file; placeholders allowed
    std::string name;       // a music track's name from the track file
    int SoundTime = 0;      // length of the decoded sound in milliseconds
    int LastTime = 0;       // application-clock time before which a new Play is ignored
    int TimeInterwal = 0;   // minimum milliseconds between two Play calls that sound; 0 no limit
    float Vol = 1.0f;       // current volume 0..1, before the settings' volume
    float dVol = 1.0f;      // target volume of the fade
    float volSpeed = 0.0f;  // fade step per frame at 60 frames per second
    int isMusic = 0;
    int isLoadedOnDemand = 0;
    int isLooped = 0;
    int isLoaded = 0;
    int isPaused = 0;
    int isMuted = 0;

    virtual ~TAppSound() = default;

    // A new sound sharing snd, with this one's volumes, flags, length and name; its channel,
    // id, url and repeat timing start fresh.
    virtual TAppSoundPtr Copy();
    // Load, when loaded on demand and not loaded yet.
    virtual void LoadingDemand();
    // Releases the sound data; a channel still playing is stopped and released. Copies playing
    // keep their own reference to the data and play on.
    virtual void Free();
    // Decodes the file at ConvertAppPath(url) once; a file that does not decode leaves snd
    // empty (a warning line) and is not tried again until Reload.
    virtual void Load();
    virtual void Reload();
    // Loads the track when needed and hands it to AppSoundManager::PlayMusic.
    virtual void PlayAsMusic(float vol, float target, float speed);
    // Has the loaded sound's copy for the sound device made ahead on the background worker (it is
    // about to be played), so that starting it costs next to nothing; a sound not loaded yet is
    // left to load when played.
    virtual void LoadAhead();
    // Sounds a copy of this sound, unless the repeat interval has not passed. Returns 0.
    virtual int Play(float vol = 1.0f, float target = -1.0f, float speed = 0.05f);
    // Starts this very object on a new channel at volume vol, fading to target (-1 exactly: no
    // fade) by speed per frame.
    virtual void PlayNow(float vol, float target, float speed);
    // Fades out at speed per frame; the sound stops when the fade reaches 0.
    virtual void Hide(float speed);
    virtual void Resume();
    virtual void Stop();
    virtual void Pause();
    // The per-frame fade of a playing sound (called by the sound manager).
    virtual void Update();
    virtual void Mute();
    virtual void UnMute();
    // Releases the channel and leaves the manager's list.
    virtual void Destroy();
};

// A new sound with these fields set, loaded at once.
TAppSoundPtr CreateAppSound(const std::string& url, int isLooped, int isMusic);
