#include "engine/media/SoundManager.h"

#include <algorithm>

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/data/BlockFile.h"
#include "platform/Files.h"
#include "platform/Input.h"

namespace {

constexpr int kMusicCycle = 6;

}  // namespace

float AppSoundManager::MusicVolumeIncriseSpeed = 0.05f;
float AppSoundManager::MusicVolumeDecriseSpeed = 0.05f;
std::vector<TAppSoundPtr> AppSoundManager::SoundsList;
std::vector<TAppSoundPtr> AppSoundManager::MusicsList;
float AppSoundManager::CurrMusicVolume = 0.0f;
TAppSoundPtr AppSoundManager::CurrMusic;
TChannelPtr AppSoundManager::CurrMusicChannel;
TChannelPtr AppSoundManager::LastMusicChannel;
TAppSoundPtr AppSoundManager::LastMusic;
float AppSoundManager::LastMusicVolume = 0.0f;
int AppSoundManager::isMusicMuted = 0;
int AppSoundManager::isSoundMuted = 0;
int AppSoundManager::TemporaryMusicTime = 0;
TAppSoundPtr AppSoundManager::ClickSound;

void AppSoundManager::Setup() { ClickSound = CreateAppSound(bDir + "Sound/sfx/click.ogg", 0, 0); }

void AppInitSounds() { AppSoundManager::Setup(); }

void AppSoundManager::LoadMusics() {
    std::string path = bDir + "Sound/Tracks.txt";
    if (FileType(path) == 0) {
        ErrorNoFile(path, Here());  // no music is played
        return;
    }
    TBlockFilePtr root = LoadBlockFile(path);
    std::string folder = bDir + "Sound/";
    for (const TBlockFilePtr& block : GetBlockFilesList(root, "Track")) {
        auto track = std::make_shared<TAppSound>();
        track->isMusic = 1;
        track->isLooped = 1;
        track->name = GetBFString(block, "Name");
        std::string rel = GetBFString(block, "Url");
        // The url is the folder's text followed by Url's, placeholders expanded when it loads.
        // The track's folder is judged by its real path (a link or ".." leading out of "Sound/"
        // is outside); the file itself is looked at when the track is played, and read only
        // inside the game's folders.
        if (PathResolvesInside(folder, ExtractDir(folder + ConvertAppPath(rel)))) {
            track->url = folder + rel;
        } else {
            Error("Music track '" + track->name + "' lies outside the Sound folder! Url = " + rel, Here());
        }
        MusicsList.push_back(track);
    }
}

void AppSoundManager::MuteSounds() {
    if (isSoundMuted) return;
    isSoundMuted = 1;
    for (TAppSoundPtr s : std::vector<TAppSoundPtr>(SoundsList)) s->Mute();
}

void AppSoundManager::UnMuteSounds() {
    if (!isSoundMuted) return;
    isSoundMuted = 0;
    for (TAppSoundPtr s : std::vector<TAppSoundPtr>(SoundsList)) s->UnMute();
}

void AppSoundManager::MuteMusic() {
    if (isMusicMuted) return;
    isMusicMuted = 1;
    if (LastMusicChannel && ChannelPlaying(LastMusicChannel)) PauseChannel(LastMusicChannel);
    if (CurrMusicChannel && ChannelPlaying(CurrMusicChannel)) PauseChannel(CurrMusicChannel);
}

void AppSoundManager::UnMuteMusis() {
    if (!isMusicMuted) return;
    isMusicMuted = 0;
    if (LastMusicChannel) ResumeChannel(LastMusicChannel);
    if (CurrMusicChannel) ResumeChannel(CurrMusicChannel);
}

namespace {
// The track of the cycle the counter stands at: 0 is a new profile's value, anything else
// outside the cycle comes from a damaged profile file and restarts it. Track 1 without a counter.
int LevelSoundNumber(const int* counter) {
    if (!counter || *counter < 1 || *counter > kMusicCycle) return 1;
    return *counter;
}
// That track, or null when fewer are listed (nothing is played).
TAppSoundPtr LevelSound(int n) {
    if (n > static_cast<int>(AppSoundManager::MusicsList.size())) return nullptr;
    return AppSoundManager::MusicsList[static_cast<size_t>(n - 1)];
}
}  // namespace

void AppSoundManager::PlayLevelSound(int* counter) {
    const int n = LevelSoundNumber(counter);
    if (counter) *counter = n >= kMusicCycle ? 1 : n + 1;
    if (TAppSoundPtr track = LevelSound(n)) track->PlayAsMusic(1.0f, 1.0f, 0.05f);
}

void AppSoundManager::LevelSoundAhead(const int* counter) {
    if (TAppSoundPtr track = LevelSound(LevelSoundNumber(counter))) track->LoadAhead();
}

void AppSoundManager::UpdateCurrMusic() {
    if (CurrMusic && TemporaryMusicTime != 0) {
        CurrMusicVolume -= MusicVolumeIncriseSpeed * delta;
        if (CurrMusicVolume < 0.0f) CurrMusicVolume = 0.0f;
        if (AppMilliSecs() > TemporaryMusicTime) TemporaryMusicTime = 0;
    } else {
        CurrMusicVolume += MusicVolumeIncriseSpeed * delta;
    }
    if (CurrMusicVolume > 1.0f) CurrMusicVolume = 1.0f;
    if (CurrMusicChannel && CurrMusic && ChannelPlaying(CurrMusicChannel)) {
        SetChannelVolume(CurrMusicChannel, CurrMusicVolume * CurrMusic->Vol * AppSettings::MusicVolume);
    }
}

void AppSoundManager::UpdateLastMusic() {
    LastMusicVolume -= MusicVolumeDecriseSpeed * delta;
    if (LastMusicVolume < 0.0f) LastMusicVolume = 0.0f;
    if (LastMusicChannel && LastMusic && ChannelPlaying(LastMusicChannel)) {
        if (LastMusicVolume == 0.0f) {
            StopChannel(LastMusicChannel);
            ClearLastMusic();
        } else {
            SetChannelVolume(LastMusicChannel, LastMusicVolume * LastMusic->Vol * AppSettings::MusicVolume);
        }
    }
}

void AppSoundManager::Update() {
    if (!isMusicMuted) {
        if (CurrMusic) UpdateCurrMusic();
        if (LastMusic) UpdateLastMusic();
    }
    if (!isSoundMuted) {
        // A copy of the list: sounds that end leave the real list during the pass.
        for (TAppSoundPtr s : std::vector<TAppSoundPtr>(SoundsList)) s->Update();
    }
}

void AppSoundManager::AddSound(const TAppSoundPtr& sound) {
    if (sound) SoundsList.push_back(sound);
}

void AppSoundManager::RemoveSound(const TAppSound* sound) {
    auto it =
        std::find_if(SoundsList.begin(), SoundsList.end(), [sound](const TAppSoundPtr& s) { return s.get() == sound; });
    if (it != SoundsList.end()) SoundsList.erase(it);
}

void AppSoundManager::PlayMusic(const TAppSoundPtr& track) {
    if (CurrMusic) HideCurrMusic();
    CurrMusic = track;
    // A track's copy in the device's format (about 4 MB for half a minute) is held only while
    // one of its channels is there: the tracks played one after another would each keep theirs.
    if (track) SetSoundKeepsConverted(track->snd, false);
    CurrMusicChannel = track ? CueSound(track->snd) : nullptr;
    CurrMusicVolume = 0.0f;
    if (CurrMusicChannel) {
        SetChannelVolume(CurrMusicChannel, track->Vol * AppSettings::MusicVolume * 0.0f);
        ResumeChannel(CurrMusicChannel);
    }
}

void AppSoundManager::HideMusicTemporary(int ms) { TemporaryMusicTime = AppMilliSecs() + ms; }

void AppSoundManager::HideCurrMusic() {
    // A previous track still there is cut off, also when it is paused: forgetting a paused
    // channel would leave it to sound for ever after the next resume of all sound.
    if (LastMusicChannel) StopChannel(LastMusicChannel);
    LastMusicChannel = nullptr;
    LastMusic = nullptr;
    PollSystem();
    LastMusic = CurrMusic;
    LastMusicChannel = CurrMusicChannel;
    LastMusicVolume = CurrMusicVolume;
}

void AppSoundManager::ClearLastMusic() {
    LastMusicChannel = nullptr;
    LastMusic = nullptr;
    LastMusicVolume = 0.0f;
}

void AppSoundManager::Pause() {
    for (TAppSoundPtr s : std::vector<TAppSoundPtr>(SoundsList)) s->Pause();
    if (CurrMusic && CurrMusicChannel && ChannelPlaying(CurrMusicChannel)) PauseChannel(CurrMusicChannel);
    if (LastMusic && LastMusicChannel && ChannelPlaying(LastMusicChannel)) PauseChannel(LastMusicChannel);
}

void AppSoundManager::UnPause() {
    // Muted sounds stay paused: their mute paused them, and only unmuting resumes them.
    for (TAppSoundPtr s : std::vector<TAppSoundPtr>(SoundsList)) {
        if (!s->isMuted) s->Resume();
    }
    if (isMusicMuted) return;
    if (CurrMusic && CurrMusicChannel) ResumeChannel(CurrMusicChannel);
    if (LastMusic && LastMusicChannel) ResumeChannel(LastMusicChannel);
}

void AppSoundManager::Reset() {
    for (const TAppSoundPtr& s : SoundsList) StopChannel(s->chn);
    StopChannel(CurrMusicChannel);
    StopChannel(LastMusicChannel);
    SoundsList.clear();
    MusicsList.clear();
    MusicVolumeIncriseSpeed = 0.05f;
    MusicVolumeDecriseSpeed = 0.05f;
    CurrMusicVolume = 0.0f;
    CurrMusic = nullptr;
    CurrMusicChannel = nullptr;
    LastMusicChannel = nullptr;
    LastMusic = nullptr;
    LastMusicVolume = 0.0f;
    isMusicMuted = 0;
    isSoundMuted = 0;
    TemporaryMusicTime = 0;
    ClickSound = nullptr;
}
