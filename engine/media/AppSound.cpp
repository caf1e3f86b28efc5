#include "engine/media/AppSound.h"

#include "engine/basics/AppTime.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "engine/data/Settings.h"
#include "engine/media/SoundManager.h"

TAppSoundPtr CreateAppSound(const std::string& url, int isLooped, int isMusic) {
    auto s = std::make_shared<TAppSound>();
    s->url = url;
    s->isLooped = isLooped;
    s->isMusic = isMusic;
    s->Load();
    return s;
}

TAppSoundPtr TAppSound::Copy() {
    // Shares the decoded sound and keeps its state; no channel, id, url or play limit of its own.
    auto c = std::make_shared<TAppSound>(*this);
    c->chn = nullptr;
    c->id = 0;
    c->url.clear();
    c->LastTime = 0;
    c->TimeInterwal = 0;
    return c;
}

void TAppSound::LoadingDemand() {
    if (isLoadedOnDemand && !isLoaded) Load();
}

void TAppSound::Free() {
    snd = nullptr;
    if (chn && ChannelPlaying(chn)) {
        StopChannel(chn);
        chn = nullptr;
    }
    isLoaded = 0;
}

void TAppSound::Load() {
    if (isLoaded) return;
    isLoaded = 1;  // also when the file fails: not retried until Reload
    const FileBeingRead reading(url);
    TAudioSamplePtr sample = LoadAudioSample(ConvertAppPath(url), isMusic ? SoundKind::Music : SoundKind::Effect);
    if (!sample) {
        snd = nullptr;
        SoundTime = 0;
        Warning("Can't load sound! Url = " + url, Here());
        return;
    }
    SoundTime = static_cast<int>(int64_t{sample->length} * 1000 / sample->hertz);
    snd = LoadSound(sample, isLooped ? SOUND_LOOP : 0);
}

void TAppSound::Reload() {
    Free();
    Load();
}

void TAppSound::LoadAhead() {
    // A file not decoded yet is decoded when the sound is played: here it would hold up the
    // visible frame that asks for it (the switch's first), there it runs under the full black.
    if (!isLoaded) return;
    ConvertSoundAhead(snd);
}

void TAppSound::PlayAsMusic(float, float, float) {
    if (!isLoaded) Load();
    if (TAppSoundPtr self = weak_from_this().lock()) AppSoundManager::PlayMusic(self);
}

int TAppSound::Play(float vol, float target, float speed) {
    TAppSoundPtr copy = Copy();
    if (TimeInterwal != 0) {
        if (AppMilliSecs() < LastTime) return 0;
        LastTime = AppMilliSecs() + TimeInterwal;
    }
    copy->PlayNow(vol, target, speed);
    return 0;
}

void TAppSound::PlayNow(float vol, float target, float speed) {
    volSpeed = speed;
    Vol = vol;
    dVol = target == -1.0f ? vol : target;
    if (Vol == 0.0f && dVol == 0.0f) return;
    if (isMusic) {
        PlayAsMusic(vol, dVol, speed);
        return;
    }
    if (AppSettings::SoundVolume == 0.0f) return;
    // Only a sound held by a shared pointer can stand in the manager's list; one that could not
    // be listed would never be updated, so it is not started.
    TAppSoundPtr self = weak_from_this().lock();
    if (!self) return;
    TChannelPtr channel = CueSound(snd);
    if (!channel) return;
    chn = channel;
    SetChannelVolume(chn, Vol * AppSettings::SoundVolume);
    // The flags may come from the sound this one was copied from. A new channel is not paused,
    // unless the sound is muted: then it waits, cued, for UnMute (a muted sound left sounding
    // would also never leave the list, which does not update muted sounds).
    if (isMuted) {
        isPaused = 1;
    } else {
        isPaused = 0;
        ResumeChannel(chn);
    }
    AppSoundManager::AddSound(self);
}

void TAppSound::Hide(float speed) {
    dVol = 0.0f;
    volSpeed = speed;
}

void TAppSound::Stop() {
    isPaused = 0;
    if (chn && ChannelPlaying(chn)) StopChannel(chn);
}

void TAppSound::Pause() {
    if (!isPaused && chn && ChannelPlaying(chn)) {
        isPaused = 1;
        PauseChannel(chn);
    }
}

void TAppSound::Resume() {
    if (isPaused && chn) {
        ResumeChannel(chn);
        isPaused = 0;
    }
}

void TAppSound::Mute() {
    isMuted = 1;
    Pause();
}

void TAppSound::UnMute() {
    isMuted = 0;
    Resume();
}

void TAppSound::Update() {
    if (isMuted) return;
    if (!chn) {
        Destroy();
        return;
    }
    if (!ChannelPlaying(chn) && !isPaused) {  // ended or stopped; a paused one still fades
        Destroy();
        return;
    }
    float step = volSpeed * delta;
    if (Vol < dVol) {
        Vol += step;
        if (Vol > dVol) Vol = dVol;
    } else if (Vol > dVol) {
        Vol -= step;
        if (Vol < dVol) Vol = dVol;
    }
    SetChannelVolume(chn, Vol * AppSettings::SoundVolume);
    if (Vol == 0.0f && dVol == 0.0f) {
        StopChannel(chn);
        Destroy();
    }
}

void TAppSound::Destroy() {
    // The list may hold the last reference to this object: keep it alive to the end.
    TAppSoundPtr self = weak_from_this().lock();
    chn = nullptr;
    AppSoundManager::RemoveSound(this);
}
