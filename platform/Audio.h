// The audio layer: samples decoded from Ogg Vorbis or WAV, sounds made from them, and channels
// of the mixer (SDL2_mixer) that play the sounds.
//
// The output device opens on first need (the first sound cued). A channel is cued paused: it is
// silent until ResumeChannel. One sound plays on any number of channels at once; the mixer grows
// its channel count when every channel is taken. A channel belongs to its TChannel object: it is
// stopped and given back when that object goes, so no sound plays on without an owner. Every
// function takes null objects and a closed device calmly: nothing plays and nothing fails.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Decoded sound: interleaved signed 16-bit frames.
class TAudioSample {
public:
    std::vector<int16_t> samples;  // length * channels values
    int32_t length = 0;            // frames
    int32_t hertz = 0;             // frames per second
    int32_t channels = 0;          // 1 mono, 2 stereo, ...
};
using TAudioSamplePtr = std::shared_ptr<TAudioSample>;

// A silent sample of that many frames (null for a rate or channel count below 1).
TAudioSamplePtr CreateAudioSample(int32_t length, int32_t hertz, int32_t channels);

// What a sound is played as, which bounds what its file may decode to (a few kilobytes of Ogg
// Vorbis silence can stand for hours): an effect at most 10 seconds and 4 MiB of samples, a
// music track at most 4 minutes and 48 MiB (the seconds also bound its copy in the device's
// format, whatever the file's rate). Its file may have at most what FileKind::Sound or
// FileKind::Music allows.
enum class SoundKind { Effect, Music };
struct TSoundCap {
    int32_t seconds;
    int64_t bytes;  // of decoded 16-bit samples, all channels
};
TSoundCap MaxDecodedSound(SoundKind kind);
// Decodes an Ogg Vorbis or WAV file (told apart by their first bytes); null when the file is
// missing or does not decode. The path is resolved without regard to case. A file that decodes
// to more than its kind may, or does not fit in memory, is refused with one line on the error
// stream (decoding stops as soon as it passes the cap) and gives null too.
TAudioSamplePtr LoadAudioSample(const std::string& path, SoundKind kind = SoundKind::Effect);
// The same from the file's bytes; `name` is what a refusal's line calls the sound.
TAudioSamplePtr DecodeAudioSample(const std::string& bytes, SoundKind kind = SoundKind::Effect,
                                  const std::string& name = "");

// LoadSound flags.
constexpr int SOUND_LOOP = 1;  // the sound repeats until its channel is stopped

class TSound;
using TSoundPtr = std::shared_ptr<TSound>;
class TChannel;
using TChannelPtr = std::shared_ptr<TChannel>;

// A sound ready to be cued: the sample and whether it loops. Null for a null or empty sample.
TSoundPtr LoadSound(const TAudioSamplePtr& sample, int flags);
// LoadAudioSample, then LoadSound; null when the file does not decode.
TSoundPtr LoadSound(const std::string& path, int flags, SoundKind kind = SoundKind::Effect);
// Length of the sound's sample in milliseconds (0 for null).
int32_t SoundLengthMs(const TSoundPtr& sound);

// A new channel with the sound cued on it, paused and at volume 0: nothing sounds until
// ResumeChannel. Null when there is no sound or the device cannot be opened.
TChannelPtr CueSound(const TSoundPtr& sound);
// Volume 0..1 (clamped).
void SetChannelVolume(const TChannelPtr& channel, float volume);
void ResumeChannel(const TChannelPtr& channel);
void PauseChannel(const TChannelPtr& channel);
// Ends the sound on the channel; the channel object stays, not playing, and can not restart.
void StopChannel(const TChannelPtr& channel);
// True while the channel sounds: false when paused, stopped or ended.
bool ChannelPlaying(const TChannelPtr& channel);
// True while the channel is paused with its sound not yet ended.
bool ChannelPaused(const TChannelPtr& channel);
// The channel's volume as last set (0..1), 0 for null.
float ChannelVolume(const TChannelPtr& channel);

// A sound is converted to the device's format at its first cue (16-bit stereo at the device's
// rate: about 10 MB a minute of sound) and, by default, keeps that copy for its next cues. A sound
// set not to keep it (a long music track) frees it as soon as no channel object holds the sound
// any more (each stopped or gone); its next cue converts it again. Setting it frees an idle copy
// at once.
void SetSoundKeepsConverted(const TSoundPtr& sound, bool keep);
// The copy in the device's format made ahead on the background worker (the sound is about to be
// played: a screen that starts it is being switched to), so that its cue need not make it; the
// cue waits for it when it is not done yet. Opens the device when it is closed.
void ConvertSoundAhead(const TSoundPtr& sound);
// Sounds holding a copy in the device's format now.
int AudioConvertedSounds();

// The bytes the live sounds hold: their decoded samples (each once) and their copies in the
// device's format.
int64_t AudioMemory();

// Opens the output device unless it is open; true when it is. A failed attempt is not
// repeated until CloseAudioDevice.
bool OpenAudioDevice();
bool AudioDeviceOpen();
// Mixer channels allocated now (0 while the device is closed).
int AudioChannelCount();
// Mixer channels owned by live channel objects.
int AudioChannelsInUse();
// Stops every channel and closes the device; channel objects left over go dead (tests, exit).
void CloseAudioDevice();
