#include "platform/Audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <vorbis/vorbisfile.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_set>
#include <vector>

#include "platform/DecodeWorker.h"
#include "platform/Files.h"

// ---------------------------------------------------------------------------------------------
// Sounds and channels.

class TSound {
public:
    TAudioSamplePtr sample;
    bool looped = false;
    // The sample converted to the device's format, built on the first cue of each opening of
    // the device (generation tells which opening it belongs to).
    std::vector<Uint8> buffer;
    Mix_Chunk* chunk = nullptr;
    int generation = -1;
    bool keepConverted = true;  // keep the chunk for the next cue, also while no channel holds it
    int holders = 0;            // channel objects holding a mixer channel cued with the chunk
    // The copy in the device's format being made ahead on the background worker (ConvertSoundAhead)
    // for the opening of the device `aheadGeneration`, taken by the next cue.
    TDecodeJobPtr ahead;
    std::shared_ptr<std::vector<Uint8>> aheadBuffer;
    int aheadGeneration = -1;

    ~TSound();
};

class TChannel {
public:
    int index = -1;       // mixer channel, -1 once stopped or dead
    int generation = -1;  // the device opening the index belongs to
    TSoundPtr sound;      // keeps the chunk alive while the channel may play it
    float volume = 0.0f;

    ~TChannel();
};

namespace {

struct AudioState {
    bool open = false;
    bool failed = false;  // the last attempt to open failed; not retried until closed
    int generation = 0;   // counts openings, so objects of an earlier opening are recognised
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    SDL_AudioDeviceID device = 0;              // the mixer's device when it could be found, else 0
    std::vector<bool> taken;                   // mixer channels owned by a TChannel
    int converted = 0;                         // sounds holding a chunk
    std::unordered_set<const TSound*> sounds;  // every live sound, for AudioMemory
};

// Never destroyed: channel and sound objects held by other modules' globals may go after this
// module's globals at exit.
AudioState& g_audio = *new AudioState;

constexpr int kFirstChannelCount = 32;

// The mixer is usable (SDL may have been shut down under it at exit).
bool MixerUp() { return g_audio.open && SDL_WasInit(SDL_INIT_AUDIO) != 0; }

bool Current(const TChannel* c) {
    return c && c->index >= 0 && c->generation == g_audio.generation &&
           c->index < static_cast<int>(g_audio.taken.size()) && MixerUp();
}

// Gives the pages of freed memory back to the system. The converted copy of a track and the
// conversion's own work space are a few MB each, freed in the middle of the heap, where the
// allocator would otherwise keep them resident: tracks converted and freed in turn would grow
// the process by a few MB each time the heap's holes do not fit the next one.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// Frees a sound's chunk and its converted data: through the mixer while its device is open
// (which also halts any channel still playing it), else the bare memory.
void DropChunk(TSound& s) {
    if (!s.chunk) return;
    if (s.generation == g_audio.generation && MixerUp()) Mix_FreeChunk(s.chunk);
    else SDL_free(s.chunk);
    s.chunk = nullptr;
    std::vector<Uint8>().swap(s.buffer);
    --g_audio.converted;
}

// The channel's mixer channel is halted before anything else, so the mixer no longer reads the
// chunk when a sound that does not keep it lets it go with its last holder.
void ReleaseIndex(TChannel* c) {
    if (c->index < 0) return;
    if (Current(c)) {
        Mix_HaltChannel(c->index);
        g_audio.taken[static_cast<size_t>(c->index)] = false;
    }
    c->index = -1;
    if (TSound* s = c->sound.get()) {
        --s->holders;
        if (s->holders <= 0 && !s->keepConverted && s->chunk) {
            DropChunk(*s);
            ReturnFreedMemory();
        }
    }
}

// The device that Mix_OpenAudio opened: the one id that went from stopped to playing. Lets
// CueSound hold the mixer between starting and pausing a channel.
SDL_AudioDeviceID FindNewDevice(const std::vector<SDL_AudioStatus>& before) {
    for (size_t i = 0; i < before.size(); ++i) {
        SDL_AudioDeviceID id = static_cast<SDL_AudioDeviceID>(i + 1);
        if (before[i] == SDL_AUDIO_STOPPED && SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return id;
    }
    return 0;
}

// The mixer marks a paused channel with the tick count of the pause, so a pause at tick 0 (the
// first millisecond after SDL starts its clock) would not hold.
void PauseMixerChannel(int index) {
    while (SDL_GetTicks() == 0) SDL_Delay(1);
    Mix_Pause(index);
}

int FreeChannelIndex() {
    for (size_t i = 0; i < g_audio.taken.size(); ++i) {
        if (!g_audio.taken[i]) return static_cast<int>(i);
    }
    // All taken: double the mixer's channels (running channels carry on).
    size_t old = g_audio.taken.size();
    size_t grown = std::max<size_t>(old * 2, kFirstChannelCount);
    int got = Mix_AllocateChannels(static_cast<int>(grown));
    if (got <= static_cast<int>(old)) return -1;
    g_audio.taken.resize(static_cast<size_t>(got), false);
    for (int i = static_cast<int>(old); i < got; ++i) Mix_Volume(i, 0);
    return static_cast<int>(old);
}

// The sample in the device's format (any thread: the format is copied in); empty when it
// cannot be converted.
std::vector<Uint8> ConvertForDevice(const TAudioSample& a, Uint16 format, int channels, int frequency) {
    std::vector<Uint8> out;
    if (a.length <= 0 || a.samples.empty()) return out;
    SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(a.channels), a.hertz, format,
                                                 static_cast<Uint8>(channels), frequency);
    if (!stream) return out;
    bool ok = SDL_AudioStreamPut(stream, a.samples.data(), static_cast<int>(a.samples.size() * sizeof(int16_t))) == 0 &&
              SDL_AudioStreamFlush(stream) == 0;
    if (ok) {
        try {
            int avail = SDL_AudioStreamAvailable(stream);
            out.resize(static_cast<size_t>(std::max(avail, 0)));
            int got = avail > 0 ? SDL_AudioStreamGet(stream, out.data(), avail) : 0;
            out.resize(static_cast<size_t>(std::max(got, 0)));
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "A sound does not fit in memory in the sound device's format; it is not played\n");
            out = std::vector<Uint8>();
        }
    } else {
        out.clear();
    }
    SDL_FreeAudioStream(stream);
    return out;
}

// A copy asked ahead for an earlier opening of the device is of no use: taken back from the
// worker, which then does not convert it for nothing.
void DropStaleAhead(TSound& s) {
    if (!s.ahead || s.aheadGeneration == g_audio.generation) return;
    TDecodeWorker::Shared().Withdraw(s.ahead);
    s.ahead = nullptr;
    s.aheadBuffer = nullptr;
}

// Builds the sound's chunk in the device's format for the current opening (the copy made ahead
// for it, when there is one).
bool PrepareChunk(TSound& s) {
    if (s.chunk && s.generation == g_audio.generation) return true;
    DropChunk(s);  // a chunk of an earlier opening of the device
    s.buffer.clear();
    DropStaleAhead(s);
    const TDecodeJobPtr ahead = s.ahead;
    const std::shared_ptr<std::vector<Uint8>> made = s.aheadBuffer;
    s.ahead = nullptr;
    s.aheadBuffer = nullptr;
    if (ahead) {
        if (!TDecodeWorker::Shared().Finish(ahead)) return false;  // the program is quitting
        s.buffer.swap(*made);
    } else {
        s.buffer = ConvertForDevice(*s.sample, g_audio.format, g_audio.channels, g_audio.frequency);
    }
    if (s.buffer.empty()) return false;
    s.chunk = Mix_QuickLoad_RAW(s.buffer.data(), static_cast<Uint32>(s.buffer.size()));
    if (!s.chunk) {
        s.buffer.clear();
        return false;
    }
    s.generation = g_audio.generation;
    ++g_audio.converted;
    // The conversion's work space (none here when the copy was made ahead: the worker's went with it).
    if (!s.keepConverted && !ahead) ReturnFreedMemory();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Decoding.

struct MemoryReader {
    const std::string* bytes;
    size_t pos;
};

size_t MemRead(void* ptr, size_t size, size_t nmemb, void* source) {
    auto* r = static_cast<MemoryReader*>(source);
    if (size == 0) return 0;
    size_t left = r->bytes->size() - r->pos;
    size_t n = std::min(nmemb, left / size);
    std::memcpy(ptr, r->bytes->data() + r->pos, n * size);
    r->pos += n * size;
    return n;
}

int MemSeek(void* source, ogg_int64_t offset, int whence) {
    auto* r = static_cast<MemoryReader*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<ogg_int64_t>(r->pos)
                                            : static_cast<ogg_int64_t>(r->bytes->size());
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(r->bytes->size())) return -1;
    r->pos = static_cast<size_t>(target);
    return 0;
}

long MemTell(void* source) { return static_cast<long>(static_cast<MemoryReader*>(source)->pos); }

// The most frames a sample of that layout may have under the cap.
int64_t MaxFrames(const TSoundCap& cap, int64_t hertz, int64_t channels) {
    if (hertz < 1 || channels < 1) return 0;
    return std::min(int64_t{cap.seconds} * hertz, cap.bytes / (channels * int64_t{sizeof(int16_t)}));
}

// A decode's outcome besides its sample: `over` when the sound would pass its cap.
struct Decoded {
    TAudioSamplePtr sample;
    bool over = false;
};

Decoded DecodeVorbis(const std::string& bytes, const TSoundCap& cap) {
    MemoryReader reader{&bytes, 0};
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    OggVorbis_File vf;
    if (ov_open_callbacks(&reader, &vf, nullptr, 0, callbacks) != 0) return {};
    struct Closer {
        OggVorbis_File* vf;
        ~Closer() { ov_clear(vf); }
    } closer{&vf};
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels < 1 || info->rate < 1) return {};
    auto sample = std::make_shared<TAudioSample>();
    sample->channels = info->channels;
    sample->hertz = static_cast<int32_t>(std::min<long>(info->rate, INT32_MAX));
    const int64_t maxFrames = MaxFrames(cap, sample->hertz, sample->channels);
    const size_t maxValues = static_cast<size_t>(maxFrames) * static_cast<size_t>(sample->channels);
    // The length the stream's last page claims: beyond the cap, nothing is decoded.
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    if (total > maxFrames) return {nullptr, true};
    if (total > 0) sample->samples.reserve(static_cast<size_t>(total) * static_cast<size_t>(info->channels));
    const int bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
    char buf[8192];
    for (;;) {
        int section = 0;
        long got = ov_read(&vf, buf, sizeof buf, bigEndian, 2, 1, &section);
        if (got == OV_HOLE) continue;  // a gap in the stream: go on with the next data
        if (got <= 0) break;           // end, or damage that cannot be passed
        vorbis_info* now = ov_info(&vf, section);
        if (!now || now->channels != sample->channels) break;  // a chained stream of another layout
        size_t values = static_cast<size_t>(got) / sizeof(int16_t);
        size_t at = sample->samples.size();
        // Whatever the pages claimed, decoding stops as soon as the sound passes its cap.
        if (at + values > maxValues) return {nullptr, true};
        sample->samples.resize(at + values);
        std::memcpy(sample->samples.data() + at, buf, values * sizeof(int16_t));
    }
    sample->samples.resize(sample->samples.size() - sample->samples.size() % static_cast<size_t>(sample->channels));
    sample->length = static_cast<int32_t>(sample->samples.size() / static_cast<size_t>(sample->channels));
    if (sample->length == 0) return {};
    return {sample};
}

uint32_t LittleEndian(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

// What a WAV file's header tells of its sound, its chunks walked as they come (other chunks, a
// LIST of tags, may come before "fmt "): its layout, and the frames its data holds for the
// encodings whose length can be told from it (PCM, float, A-law and mu-law, Microsoft and IMA
// ADPCM); frames is -1 when it cannot be told.
struct WavHeader {
    int64_t frames = -1;
    int64_t channels = 0;
    int64_t hertz = 0;
};

WavHeader ReadWavHeader(const std::string& b) {
    WavHeader header;
    int tag = -1, blockAlign = 0, samplesPerBlock = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const uint64_t size = LittleEndian(b, at + 4, 4);
        const size_t body = at + 8;
        const uint64_t have = std::min<uint64_t>(size, b.size() - body);
        if (id == "fmt " && have >= 16) {
            tag = static_cast<int>(LittleEndian(b, body, 2));
            header.channels = LittleEndian(b, body + 2, 2);
            header.hertz = LittleEndian(b, body + 4, 4);
            blockAlign = static_cast<int>(LittleEndian(b, body + 12, 2));
            if (have >= 20) samplesPerBlock = static_cast<int>(LittleEndian(b, body + 18, 2));
            if (tag == 0xFFFE && have >= 26) tag = static_cast<int>(LittleEndian(b, body + 24, 2));  // extensible
        } else if (id == "data" && tag >= 0) {
            if (header.channels < 1 || blockAlign < 1) return header;
            const int64_t blocks = static_cast<int64_t>(have) / blockAlign + (have % blockAlign ? 1 : 0);
            switch (tag) {
                case 1:
                case 3:
                case 6:
                case 7: header.frames = static_cast<int64_t>(have) / blockAlign; break;
                case 2:
                case 0x11: header.frames = samplesPerBlock > 0 ? blocks * samplesPerBlock : -1; break;
                default: break;
            }
            return header;
        }
        at = body + static_cast<size_t>(std::min<uint64_t>(size + (size & 1), b.size() - body));
    }
    return header;
}

Decoded DecodeWav(const std::string& bytes, const TSoundCap& cap) {
    // Refused by its header before anything is decoded when it tells a length over the cap.
    const WavHeader header = ReadWavHeader(bytes);
    if (header.frames >= 0 && header.channels >= 1 && header.hertz >= 1 &&
        header.frames > MaxFrames(cap, header.hertz, header.channels))
        return {nullptr, true};
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) return {};
    SDL_AudioSpec spec;
    Uint8* data = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &data, &len)) return {};
    struct Freer {
        Uint8* data;
        ~Freer() { SDL_FreeWAV(data); }
    } freer{data};
    if (spec.channels < 1 || spec.freq < 1) return {};
    // Same rate and channel count, only the sample format changes to signed 16-bit.
    SDL_AudioCVT cvt;
    int built = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, spec.channels, spec.freq);
    if (built < 0) return {};
    const size_t frameBytes = sizeof(int16_t) * spec.channels;
    const int64_t frames = static_cast<int64_t>(len) / std::max(SDL_AUDIO_BITSIZE(spec.format) / 8, 1) / spec.channels;
    if (frames > MaxFrames(cap, spec.freq, spec.channels)) return {nullptr, true};
    std::vector<Uint8> work(static_cast<size_t>(len) * static_cast<size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(work.data(), data, len);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(len);
    int outLen = static_cast<int>(len);
    if (built == 1) {
        if (SDL_ConvertAudio(&cvt) != 0) return {};
        outLen = cvt.len_cvt;
    }
    if (outLen <= 0) return {};
    auto sample = std::make_shared<TAudioSample>();
    sample->channels = spec.channels;
    sample->hertz = spec.freq;
    sample->length = static_cast<int32_t>(static_cast<size_t>(outLen) / frameBytes);
    if (sample->length == 0) return {};
    sample->samples.resize(static_cast<size_t>(sample->length) * spec.channels);
    std::memcpy(sample->samples.data(), work.data(), sample->samples.size() * sizeof(int16_t));
    return {sample};
}

const char* SoundKindName(SoundKind kind) { return kind == SoundKind::Music ? "a music track" : "a sound effect"; }

}  // namespace

// Channels keep their sound alive, so none plays this chunk any more; nobody takes the copy asked
// ahead either.
TSound::~TSound() {
    DropChunk(*this);
    if (ahead) TDecodeWorker::Shared().Withdraw(ahead);
    g_audio.sounds.erase(this);
}

void ConvertSoundAhead(const TSoundPtr& sound) {
    if (!sound || !sound->sample || !OpenAudioDevice()) return;
    TSound& s = *sound;
    DropStaleAhead(s);
    if ((s.chunk && s.generation == g_audio.generation) || s.ahead) return;
    s.aheadGeneration = g_audio.generation;
    s.aheadBuffer = std::make_shared<std::vector<Uint8>>();
    s.ahead = std::make_shared<TDecodeJob>([sample = s.sample, out = s.aheadBuffer, format = g_audio.format,
                                            channels = g_audio.channels,
                                            frequency = g_audio.frequency](const std::function<bool()>&) {
        *out = ConvertForDevice(*sample, format, channels, frequency);
    });
    TDecodeWorker::Shared().Add(s.ahead);
}

int64_t AudioMemory() {
    int64_t bytes = 0;
    std::unordered_set<const TAudioSample*> counted;
    for (const TSound* s : g_audio.sounds) {
        if (s->sample && counted.insert(s->sample.get()).second)
            bytes += static_cast<int64_t>(s->sample->samples.capacity() * sizeof(int16_t));
        bytes += static_cast<int64_t>(s->buffer.capacity());
    }
    return bytes;
}

TChannel::~TChannel() { ReleaseIndex(this); }

TAudioSamplePtr CreateAudioSample(int32_t length, int32_t hertz, int32_t channels) {
    if (hertz < 1 || channels < 1) return nullptr;
    auto s = std::make_shared<TAudioSample>();
    s->length = std::max(length, 0);
    s->hertz = hertz;
    s->channels = channels;
    s->samples.assign(static_cast<size_t>(s->length) * static_cast<size_t>(channels), 0);
    return s;
}

TSoundCap MaxDecodedSound(SoundKind kind) {
    constexpr int64_t MiB = int64_t(1) << 20;
    if (kind == SoundKind::Music) return {240, 48 * MiB};
    return {10, 4 * MiB};
}

TAudioSamplePtr DecodeAudioSample(const std::string& bytes, SoundKind kind, const std::string& name) {
    const TSoundCap cap = MaxDecodedSound(kind);
    const char* called = name.empty() ? "(in memory)" : name.c_str();
    try {
        Decoded decoded;
        if (bytes.size() >= 4 && bytes.compare(0, 4, "OggS") == 0) decoded = DecodeVorbis(bytes, cap);
        else if (bytes.size() >= 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0)
            decoded = DecodeWav(bytes, cap);
        if (decoded.over)
            std::fprintf(stderr,
                         "The sound '%s' decodes to more than %s may (%d seconds, %lld bytes of samples); it is not "
                         "played\n",
                         called, SoundKindName(kind), cap.seconds, static_cast<long long>(cap.bytes));
        return decoded.sample;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "The sound '%s' does not fit in memory; it is not played\n", called);
        return nullptr;
    }
}

TAudioSamplePtr LoadAudioSample(const std::string& path, SoundKind kind) {
    std::string bytes;
    if (path.empty() || !LoadBytes(path, bytes, kind == SoundKind::Music ? FileKind::Music : FileKind::Sound))
        return nullptr;
    return DecodeAudioSample(bytes, kind, path);
}

TSoundPtr LoadSound(const TAudioSamplePtr& sample, int flags) {
    if (!sample || sample->length <= 0 || sample->hertz < 1 || sample->channels < 1 ||
        sample->samples.size() < static_cast<size_t>(sample->length) * static_cast<size_t>(sample->channels)) {
        return nullptr;
    }
    auto s = std::make_shared<TSound>();
    s->sample = sample;
    s->looped = (flags & SOUND_LOOP) != 0;
    g_audio.sounds.insert(s.get());
    return s;
}

TSoundPtr LoadSound(const std::string& path, int flags, SoundKind kind) {
    return LoadSound(LoadAudioSample(path, kind), flags);
}

int32_t SoundLengthMs(const TSoundPtr& sound) {
    if (!sound || !sound->sample || sound->sample->hertz < 1) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(sound->sample->length) * 1000 / sound->sample->hertz);
}

bool OpenAudioDevice() {
    if (g_audio.open && !MixerUp()) CloseAudioDevice();  // SDL was shut down under the mixer
    if (g_audio.open) return true;
    if (g_audio.failed) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        g_audio.failed = true;
        return false;
    }
    std::vector<SDL_AudioStatus> before(16);
    for (size_t i = 0; i < before.size(); ++i)
        before[i] = SDL_GetAudioDeviceStatus(static_cast<SDL_AudioDeviceID>(i + 1));
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        g_audio.failed = true;
        return false;
    }
    int freq = 0, chans = 0;
    Uint16 fmt = 0;
    Mix_QuerySpec(&freq, &fmt, &chans);
    g_audio.frequency = freq;
    g_audio.format = fmt;
    g_audio.channels = chans;
    g_audio.device = FindNewDevice(before);
    int got = Mix_AllocateChannels(kFirstChannelCount);
    g_audio.taken.assign(static_cast<size_t>(std::max(got, 0)), false);
    for (int i = 0; i < got; ++i) Mix_Volume(i, 0);
    g_audio.open = true;
    ++g_audio.generation;
    return true;
}

bool AudioDeviceOpen() { return g_audio.open; }

void SetSoundKeepsConverted(const TSoundPtr& sound, bool keep) {
    if (!sound) return;
    sound->keepConverted = keep;
    if (!keep && sound->holders <= 0 && sound->chunk) {
        DropChunk(*sound);
        ReturnFreedMemory();
    }
}

int AudioConvertedSounds() { return g_audio.converted; }

int AudioChannelCount() { return g_audio.open ? static_cast<int>(g_audio.taken.size()) : 0; }

int AudioChannelsInUse() {
    if (!g_audio.open) return 0;
    return static_cast<int>(std::count(g_audio.taken.begin(), g_audio.taken.end(), true));
}

void CloseAudioDevice() {
    if (g_audio.open) {
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_audio.open = false;
    g_audio.failed = false;
    g_audio.device = 0;
    g_audio.taken.clear();
    ++g_audio.generation;  // channels and chunks of this opening are dead now
}

TChannelPtr CueSound(const TSoundPtr& sound) {
    if (!sound || !sound->sample) return nullptr;
    if (!OpenAudioDevice()) return nullptr;
    if (!PrepareChunk(*sound)) return nullptr;
    int index = FreeChannelIndex();
    if (index < 0) return nullptr;
    // Start and pause under the mixer's lock, so not one frame of the sound is mixed before
    // the resume; the volume is 0 as well, in case the lock could not be had.
    if (g_audio.device) SDL_LockAudioDevice(g_audio.device);
    Mix_Volume(index, 0);
    int played = Mix_PlayChannel(index, sound->chunk, sound->looped ? -1 : 0);
    if (played >= 0) PauseMixerChannel(index);
    if (g_audio.device) SDL_UnlockAudioDevice(g_audio.device);
    if (played < 0) return nullptr;
    auto channel = std::make_shared<TChannel>();
    channel->index = index;
    channel->generation = g_audio.generation;
    channel->sound = sound;
    ++sound->holders;
    g_audio.taken[static_cast<size_t>(index)] = true;
    return channel;
}

void SetChannelVolume(const TChannelPtr& channel, float volume) {
    if (!channel) return;
    if (!(volume >= 0.0f)) volume = 0.0f;  // also NaN
    if (volume > 1.0f) volume = 1.0f;
    channel->volume = volume;
    if (Current(channel.get())) Mix_Volume(channel->index, static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
}

void ResumeChannel(const TChannelPtr& channel) {
    if (Current(channel.get())) Mix_Resume(channel->index);
}

void PauseChannel(const TChannelPtr& channel) {
    if (Current(channel.get())) PauseMixerChannel(channel->index);
}

void StopChannel(const TChannelPtr& channel) {
    if (channel) ReleaseIndex(channel.get());
}

bool ChannelPlaying(const TChannelPtr& channel) {
    if (!Current(channel.get())) return false;
    return Mix_Playing(channel->index) != 0 && Mix_Paused(channel->index) == 0;
}

bool ChannelPaused(const TChannelPtr& channel) {
    if (!Current(channel.get())) return false;
    return Mix_Playing(channel->index) != 0 && Mix_Paused(channel->index) != 0;
}

float ChannelVolume(const TChannelPtr& channel) { return channel ? channel->volume : 0.0f; }
