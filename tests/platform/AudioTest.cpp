#include "platform/Audio.h"

#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "platform/DecodeWorker.h"
#include "support/OggSilence.h"
#include "support/TestSupport.h"

namespace {

// A RIFF WAVE file of the given PCM layout holding a loud square wave.
std::string MakeWav(int hertz, int channels, int bits, int frames) {
    auto le = [](std::string& s, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::string data;
    for (int f = 0; f < frames; ++f) {
        bool high = (f / 20) % 2 == 0;
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) data.push_back(static_cast<char>(high ? 255 : 0));
            else le(data, static_cast<uint16_t>(high ? 30000 : -30000), 2);
        }
    }
    std::string s = "RIFF";
    le(s, static_cast<uint32_t>(36 + data.size()), 4);
    s += "WAVEfmt ";
    le(s, 16, 4);
    le(s, 1, 2);
    le(s, static_cast<uint32_t>(channels), 2);
    le(s, static_cast<uint32_t>(hertz), 4);
    le(s, static_cast<uint32_t>(hertz * channels * bits / 8), 4);
    le(s, static_cast<uint32_t>(channels * bits / 8), 2);
    le(s, static_cast<uint32_t>(bits), 2);
    s += "data";
    le(s, static_cast<uint32_t>(data.size()), 4);
    return s + data;
}

// The WAV file with a chunk of tags (a LIST, as editors write) before its "fmt " chunk.
std::string WithTagsFirst(const std::string& wav) {
    std::string tags = "LIST";
    const std::string body = std::string("INFOISFT") + '\x09' + std::string(3, '\0') + "an editor" + '\0';
    for (int i = 0; i < 4; ++i) tags.push_back(static_cast<char>((body.size() >> (8 * i)) & 0xFF));
    std::string out = wav.substr(0, 12) + tags + body + wav.substr(12);
    const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + static_cast<size_t>(i)] = static_cast<char>((riff >> (8 * i)) & 0xFF);
    return out;
}

TSoundPtr MakeSound(int frames, int flags) {
    return LoadSound(DecodeAudioSample(MakeWav(22050, 1, 16, frames)), flags);
}

// Polls until cond holds or the deadline passes (the mixer runs on its own thread).
bool WaitFor(const std::function<bool()>& cond, int ms = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return cond();
}

// Peak of everything the mixer wrote since the last reset (captured after mixing).
std::atomic<int> g_peak{0};
std::atomic<int> g_mixes{0};
void CapturePeak(void*, Uint8* stream, int len) {
    int peak = 0;
    const auto* s = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    int seen = g_peak.load();
    while (peak > seen && !g_peak.compare_exchange_weak(seen, peak)) {
    }
    ++g_mixes;
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override { CloseAudioDevice(); }
    void TearDown() override {
        if (AudioDeviceOpen()) Mix_SetPostMix(nullptr, nullptr);
        CloseAudioDevice();
    }
};

TEST_F(AudioTest, DecodesWavAndVorbisWithLengthAndRate) {
    struct Case {
        int hertz, channels, bits, frames;
    };
    for (Case c : {Case{8000, 1, 8, 800}, Case{22050, 2, 16, 2205}, Case{44100, 1, 16, 1}}) {
        SCOPED_TRACE(testing::Message() << c.hertz << " Hz, " << c.channels << " ch, " << c.bits << " bits");
        TAudioSamplePtr s = DecodeAudioSample(MakeWav(c.hertz, c.channels, c.bits, c.frames));
        ASSERT_TRUE(s);
        EXPECT_EQ(s->hertz, c.hertz);
        EXPECT_EQ(s->channels, c.channels);
        EXPECT_EQ(s->length, c.frames);
        ASSERT_EQ(s->samples.size(), static_cast<size_t>(c.frames * c.channels));
        EXPECT_GT(s->samples[0], 25000);  // the loud first half-wave, 8-bit widened to 16
    }

    // The game's own click (path written in another case: resolved on disk).
    TAudioSamplePtr click = LoadAudioSample(testsupport::SourceDir() + "/data/sound/SFX/Click.ogg");
    ASSERT_TRUE(click);
    EXPECT_EQ(click->hertz, 22050);
    EXPECT_EQ(click->channels, 1);
    EXPECT_GT(click->length, 22050 / 100);
    EXPECT_LT(click->length, 22050 / 5);
    int peak = 0;
    for (int16_t v : click->samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 10000);
    EXPECT_EQ(SoundLengthMs(LoadSound(click, 0)), static_cast<int>(int64_t{click->length} * 1000 / 22050));
}

TEST_F(AudioTest, BadInputGivesNothingAndNothingFails) {
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("junk.ogg"), "OggS but not really a vorbis stream");
    std::string wav = MakeWav(22050, 1, 16, 100);
    testsupport::WriteFileBytes(dir.file("cut.wav"), wav.substr(0, 30));
    for (const std::string& path :
         {dir.file("missing.ogg"), dir.file("junk.ogg"), dir.file("cut.wav"), std::string()}) {
        EXPECT_FALSE(LoadAudioSample(path)) << path;
        EXPECT_FALSE(LoadSound(path, SOUND_LOOP)) << path;
    }
    EXPECT_FALSE(LoadSound(CreateAudioSample(0, 22050, 1), 0));  // no frames, nothing to play
    EXPECT_FALSE(CueSound(nullptr));
    TChannelPtr none;
    SetChannelVolume(none, 1.0f);
    ResumeChannel(none);
    PauseChannel(none);
    StopChannel(none);
    EXPECT_FALSE(ChannelPlaying(none));
}

// What a sound may decode to is bounded by its kind, whatever its file's size: a few kilobytes of
// Ogg Vorbis silence stand for minutes of samples. Beyond the cap the sound is refused with one
// line, by the length its stream or header claims or, at the latest, as decoding passes the cap.
TEST_F(AudioTest, ASoundIsRefusedBeyondWhatItsKindMayDecodeTo) {
    const struct {
        const char* name;
        std::string bytes;
        SoundKind kind;
        int32_t frames;  // 0: refused
    } cases[] = {
        {"an effect of 9 seconds", testsupport::OggSilence(9), SoundKind::Effect, 9 * 8000},
        {"an effect of 11 seconds", testsupport::OggSilence(11), SoundKind::Effect, 0},
        {"an effect of 11 seconds claiming 1 second", testsupport::OggClaimingFrames(testsupport::OggSilence(11), 8000),
         SoundKind::Effect, 0},
        {"music of 11 seconds", testsupport::OggSilence(11), SoundKind::Music, 11 * 8000},
        {"music of 250 seconds", testsupport::OggSilence(250), SoundKind::Music, 0},
        // 8 channels at 48 kHz: 3 seconds are 2.3 MB of samples, 6 seconds more than an effect's 4 MiB.
        {"an effect of 3 seconds in 8 channels", testsupport::OggSilence(3, 48000, 8), SoundKind::Effect, 3 * 48000},
        {"an effect of 6 seconds in 8 channels", testsupport::OggSilence(6, 48000, 8), SoundKind::Effect, 0},
        {"a WAV effect of 9 seconds", MakeWav(8000, 1, 16, 9 * 8000), SoundKind::Effect, 9 * 8000},
        {"a WAV effect of 11 seconds", MakeWav(8000, 1, 8, 11 * 8000), SoundKind::Effect, 0},
        // Its layout is read from its "fmt " chunk wherever that comes.
        {"a WAV effect of 9 seconds, tags first", WithTagsFirst(MakeWav(8000, 1, 16, 9 * 8000)), SoundKind::Effect,
         9 * 8000},
        {"a WAV effect of 11 seconds, tags first", WithTagsFirst(MakeWav(8000, 2, 16, 11 * 8000)), SoundKind::Effect,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        testing::internal::CaptureStderr();
        const TAudioSamplePtr sample = DecodeAudioSample(c.bytes, c.kind, "hostile.ogg");
        const std::string said = testing::internal::GetCapturedStderr();
        if (c.frames > 0) {
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->length, c.frames);
            EXPECT_EQ(said, "");
        } else {
            EXPECT_FALSE(sample);
            EXPECT_EQ(said.find("The sound 'hostile.ogg' decodes to more than"), 0u) << said;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        }
    }
    // Read from a file, the kind sets the file's own cap too.
    testsupport::TempDir dir;
    testsupport::WriteFileBytes(dir.file("long.ogg"), testsupport::OggSilence(11));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadAudioSample(dir.file("long.ogg")));
    EXPECT_FALSE(LoadSound(dir.file("long.ogg"), 0));
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("long.ogg' decodes to more than a sound effect may (10 seconds"),
        std::string::npos);
    EXPECT_TRUE(LoadAudioSample(dir.file("long.ogg"), SoundKind::Music));
}

// One sound cued on two channels: each is paused, resumed and stopped on its own.
TEST_F(AudioTest, OneSoundOnTwoChannelsEachControlledAlone) {
    TSoundPtr loop = MakeSound(2205, SOUND_LOOP);
    ASSERT_TRUE(loop);
    TChannelPtr a = CueSound(loop), b = CueSound(loop);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(AudioDeviceOpen());
    EXPECT_EQ(AudioChannelsInUse(), 2);
    EXPECT_FALSE(ChannelPlaying(a));  // cued paused
    EXPECT_TRUE(ChannelPaused(a));

    ResumeChannel(a);
    ResumeChannel(b);
    EXPECT_TRUE(ChannelPlaying(a));
    EXPECT_TRUE(ChannelPlaying(b));

    PauseChannel(a);
    EXPECT_FALSE(ChannelPlaying(a));
    EXPECT_TRUE(ChannelPlaying(b));
    ResumeChannel(a);
    EXPECT_TRUE(ChannelPlaying(a));

    StopChannel(b);
    EXPECT_FALSE(ChannelPlaying(b));
    EXPECT_FALSE(ChannelPaused(b));
    ResumeChannel(b);  // a stopped channel does not come back
    EXPECT_FALSE(ChannelPlaying(b));
    EXPECT_TRUE(ChannelPlaying(a));
    EXPECT_EQ(AudioChannelsInUse(), 1);

    // A channel goes quiet with its last reference: no sound plays on without an owner.
    a.reset();
    EXPECT_EQ(AudioChannelsInUse(), 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(AudioTest, ShortSoundEndsWhileLoopingSoundPlaysOn) {
    TChannelPtr shortOne = CueSound(MakeSound(1102, 0));  // 50 ms
    TChannelPtr looping = CueSound(MakeSound(1102, SOUND_LOOP));
    ASSERT_TRUE(shortOne && looping);
    ResumeChannel(shortOne);
    ResumeChannel(looping);
    EXPECT_TRUE(WaitFor([&] { return !ChannelPlaying(shortOne); })) << "time passes under the dummy driver";
    EXPECT_FALSE(ChannelPaused(shortOne));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(ChannelPlaying(looping));
}

// Nothing of a cued sound reaches the mix before its resume, even at full volume.
TEST_F(AudioTest, CuedChannelIsSilentUntilResumed) {
    TChannelPtr ch = CueSound(MakeSound(22050, SOUND_LOOP));
    ASSERT_TRUE(ch);
    Mix_SetPostMix(CapturePeak, nullptr);
    // Waits for n whole mixes after this call (one may be under way when it starts).
    auto mixes = [](int n) {
        int start = g_mixes.load();
        return WaitFor([&] { return g_mixes.load() >= start + n + 1; });
    };
    SetChannelVolume(ch, 1.0f);
    g_peak = 0;
    ASSERT_TRUE(mixes(4));
    EXPECT_EQ(g_peak.load(), 0);
    ResumeChannel(ch);
    EXPECT_TRUE(WaitFor([] { return g_peak.load() > 20000; }));

    SetChannelVolume(ch, 0.0f);
    ASSERT_TRUE(mixes(1));  // a buffer mixed before the change
    g_peak = 0;
    ASSERT_TRUE(mixes(4));
    EXPECT_EQ(g_peak.load(), 0);
    EXPECT_TRUE(ChannelPlaying(ch));  // volume 0 is not the end of a sound
}

// A sound set not to keep its converted copy holds it only while a channel object holds the
// sound; effects keep theirs for the next cue. Freeing never cuts off another sound.
TEST_F(AudioTest, SoundNotKeptConvertedFreesItWithItsLastChannel) {
    TSoundPtr track = MakeSound(22050, SOUND_LOOP), effect = MakeSound(1102, 0);
    ASSERT_TRUE(track && effect);
    SetSoundKeepsConverted(track, false);
    EXPECT_EQ(AudioConvertedSounds(), 0);

    TChannelPtr fx = CueSound(effect);
    TChannelPtr a = CueSound(track), b = CueSound(track);
    ASSERT_TRUE(fx && a && b);
    EXPECT_EQ(AudioConvertedSounds(), 2);  // one copy for both of the track's channels
    ResumeChannel(a);
    ResumeChannel(b);
    ResumeChannel(fx);
    StopChannel(a);
    EXPECT_EQ(AudioConvertedSounds(), 2);
    EXPECT_TRUE(ChannelPlaying(b));
    b.reset();  // the last holder: a channel object gone counts as stopped
    EXPECT_EQ(AudioConvertedSounds(), 1);
    EXPECT_TRUE(ChannelPlaying(fx));
    StopChannel(a);  // twice stopped: nothing more to free
    a.reset();
    EXPECT_EQ(AudioConvertedSounds(), 1);

    // The next cue converts the track again, and it plays; the effect kept its copy.
    TChannelPtr c = CueSound(track);
    ASSERT_TRUE(c);
    ResumeChannel(c);
    EXPECT_TRUE(ChannelPlaying(c));
    EXPECT_EQ(AudioConvertedSounds(), 2);
    fx.reset();
    EXPECT_EQ(AudioConvertedSounds(), 2);

    // Set on a sound that is idle with a copy: the copy goes at once.
    SetSoundKeepsConverted(effect, false);
    EXPECT_EQ(AudioConvertedSounds(), 1);
    SetSoundKeepsConverted(nullptr, false);

    // Closing the device leaves the track's channel dead; it still lets the copy go when it
    // goes, also after the device has opened again and converted the track anew.
    CloseAudioDevice();
    TChannelPtr d = CueSound(track);
    ASSERT_TRUE(d);
    EXPECT_EQ(AudioConvertedSounds(), 1);
    c.reset();
    EXPECT_EQ(AudioConvertedSounds(), 1);
    ResumeChannel(d);
    EXPECT_TRUE(ChannelPlaying(d));
    d.reset();
    EXPECT_EQ(AudioConvertedSounds(), 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(AudioTest, ChannelsGrowWhenAllAreTaken) {
    TSoundPtr s = MakeSound(2205, SOUND_LOOP);
    ASSERT_TRUE(CueSound(s));  // opens the device
    int start = AudioChannelCount();
    std::vector<TChannelPtr> held;
    for (int i = 0; i < start + 5; ++i) {
        held.push_back(CueSound(s));
        ASSERT_TRUE(held.back()) << "channel " << i;
        ResumeChannel(held.back());
    }
    EXPECT_GT(AudioChannelCount(), start);
    for (const TChannelPtr& c : held) EXPECT_TRUE(ChannelPlaying(c));

    // Closing the device leaves the objects dead, not dangling.
    CloseAudioDevice();
    EXPECT_FALSE(ChannelPlaying(held.front()));
    StopChannel(held.front());
    held.clear();
    EXPECT_TRUE(CueSound(s));  // reopens and converts the sound anew
}

// A copy asked ahead that nobody will take is taken back from the worker, not converted for a
// sound that is gone or for an opening of the device that is over. The worker is held busy, so
// that the copies wait in its queue, where each job holds the sample it would convert.
TEST_F(AudioTest, ACopyAskedAheadForNothingIsTakenBackFromTheWorker) {
    std::atomic<bool> hold{true};
    const auto busy = std::make_shared<TDecodeJob>([&hold](const std::function<bool()>& keepGoing) {
        while (hold && keepGoing()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    TDecodeWorker::Shared().Add(busy);
    struct Release {
        std::atomic<bool>& hold;
        const TDecodeJobPtr& busy;
        ~Release() {
            hold = false;
            TDecodeWorker::Shared().Finish(busy);
        }
    } release{hold, busy};

    TAudioSamplePtr sample = DecodeAudioSample(MakeWav(22050, 1, 16, 2205));
    ASSERT_TRUE(sample);
    const std::weak_ptr<TAudioSample> weak = sample;
    TSoundPtr gone = LoadSound(sample, 0);
    ConvertSoundAhead(gone);
    ASSERT_TRUE(AudioDeviceOpen());
    EXPECT_EQ(sample.use_count(), 3);  // here, the sound's and the job's
    gone.reset();
    sample.reset();
    EXPECT_TRUE(weak.expired()) << "the copy of a sound that is gone is still to be made";

    sample = DecodeAudioSample(MakeWav(22050, 1, 16, 2205));
    TSoundPtr sound = LoadSound(sample, 0);
    ConvertSoundAhead(sound);
    CloseAudioDevice();
    ASSERT_TRUE(CueSound(sound));  // opens the device again and converts the sound itself
    EXPECT_EQ(sample.use_count(), 2) << "the copy for the device's last opening is still to be made";
}

}  // namespace
