// The sound manager: the playing sound-effect copies, the music tracks of "Sound/Tracks.txt",
// the current and previous music channels with their cross-fade, a temporary silencing of the
// music, mute switches for effects and music, and the pause of all sound while the game is
// paused. Update runs once per frame from the frame driver.
//
// The track file is a block file below bDir with one "Track" block per track, in playing order:
//     Track{
//     	Name = "Morning Meadow"
//     	Url = "Music/Track-1.ogg"
//     }
// Url is relative to bDir + "Sound/".
#pragma once
#include <string>
#include <vector>

#include "engine/media/AppSound.h"
#include "platform/Audio.h"

class AppSoundManager {
public:
    static float MusicVolumeIncriseSpeed;         // per-frame rise of the current track's fade (0.05)
    static float MusicVolumeDecriseSpeed;         // per-frame fall of the previous track's fade (0.05)
    static std::vector<TAppSoundPtr> SoundsList;  // the playing sound-effect copies
    static std::vector<TAppSoundPtr> MusicsList;  // the music tracks, in file order
    static float CurrMusicVolume;                 // fade factor of the current track, 0..1
    static TAppSoundPtr CurrMusic;
    static TChannelPtr CurrMusicChannel;
    static TChannelPtr LastMusicChannel;  // the previous track's channel while it fades out
    static TAppSoundPtr LastMusic;
    static float LastMusicVolume;
    static int isMusicMuted;
    static int isSoundMuted;
    static int TemporaryMusicTime;  // application-clock time until which music is silenced; 0 none

    // The engine's click sound, loaded by Setup from bDir + "Sound/sfx/click.ogg"; the UI
    // button's class-wide click sound is this one.
    static TAppSoundPtr ClickSound;

    static void Setup();
    // Appends a track (not yet decoded) per "Track" block of the track file; nothing when the
    // file is missing. A track whose Url leaves the Sound folder is kept (so the numbering
    // holds) but plays nothing.
    static void LoadMusics();
    static void MuteSounds();
    static void UnMuteSounds();
    static void MuteMusic();
    static void UnMuteMusis();
    // Starts the next track of the cycle of six, counted in the player's counter of the next
    // track (1..6, 0 in a new profile), which it reads and advances; track 1 without a player
    // (null).
    static void PlayLevelSound(int* counter);
    // The track the next PlayLevelSound with that counter starts, made ready ahead (LoadAhead);
    // the counter is not advanced.
    static void LevelSoundAhead(const int* counter);
    static void UpdateCurrMusic();
    static void UpdateLastMusic();
    static void Update();
    static void AddSound(const TAppSoundPtr& sound);
    static void RemoveSound(const TAppSound* sound);
    static void RemoveSound(const TAppSoundPtr& sound) { RemoveSound(sound.get()); }
    // Makes track the current music, starting silent on a new channel, with a cross-fade. The
    // track's converted sound is freed once its channels are stopped (cut off or faded out).
    static void PlayMusic(const TAppSoundPtr& track);
    static void HideMusicTemporary(int ms);
    // The current track becomes the previous one; a previous one still there is stopped.
    static void HideCurrMusic();
    static void ClearLastMusic();
    static void Pause();
    // Resumes what Pause paused, leaving muted music and muted effects paused.
    static void UnPause();

    // Back to the start state: every channel stopped, lists emptied, the music counter's slot unset.
    static void Reset();
};

// Start-up step: AppSoundManager::Setup.
void AppInitSounds();
