#include "engine/media/SoundManager.h"

#include <gtest/gtest.h>

#include <optional>

#include "AppSoundTestSupport.h"
#include "platform/Files.h"

namespace {

using M = AppSoundManager;

// A stand-in for the current profile's music counter (none: no profile).
std::optional<int> g_counter;
int* Counter() { return g_counter ? &*g_counter : nullptr; }

class SoundManagerTest : public soundtest::SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        g_counter.reset();
        M::LoadMusics();
    }
    static std::string Current() { return M::CurrMusic ? M::CurrMusic->name : "none"; }
};

TEST_F(SoundManagerTest, LoadsTracksInOrderWithoutDecoding) {
    ASSERT_EQ(M::MusicsList.size(), 6u);
    EXPECT_EQ(M::MusicsList[0]->name, "Track 1");
    EXPECT_EQ(M::MusicsList[5]->url, bDir + "Sound/Music/T6.wav");
    EXPECT_EQ(M::MusicsList[5]->isMusic, 1);
    EXPECT_EQ(M::MusicsList[5]->isLooped, 1);
    EXPECT_EQ(M::MusicsList[5]->isLoaded, 0);

    // Keys ignore case; other blocks are skipped; a Url that leaves the folder keeps its place
    // in the cycle but plays nothing.
    M::MusicsList.clear();
    testsupport::WriteFileBytes(bDir + "Sound/Tracks.txt",
                                "track{\n\tNAME = \"A\"\n\turl = \"Music/T2.wav\"\n}\nOther{\n\tName = \"B\"\n}\n"
                                "Track{\n\tName = \"Out\"\n\tUrl = \"../../outside.wav\"\n}\n");
    M::LoadMusics();
    ASSERT_EQ(M::MusicsList.size(), 2u);
    EXPECT_EQ(M::MusicsList[0]->name, "A");
    EXPECT_EQ(M::MusicsList[0]->url, bDir + "Sound/Music/T2.wav");
    EXPECT_EQ(M::MusicsList[1]->url, "");

    // No track file: nothing, and a level start plays nothing.
    M::MusicsList.clear();
    DeleteFile(bDir + "Sound/Tracks.txt");
    M::LoadMusics();
    EXPECT_TRUE(M::MusicsList.empty());
    M::PlayLevelSound(Counter());
    EXPECT_FALSE(M::CurrMusic);
}

// The profile's counter names the track to play and moves on through 1..6.
TEST_F(SoundManagerTest, MusicCounterCyclesThroughSixTracks) {
    struct Case {
        std::optional<int> before;
        const char* plays;
        std::optional<int> after;
    };
    const Case cases[] = {
        {0, "Track 1", 2},
        {1, "Track 1", 2},
        {3, "Track 3", 4},
        {6, "Track 6", 1},
        {std::nullopt, "Track 1", std::nullopt},  // no profile: track 1, nothing stored
        {9, "Track 1", 2},
        {-4, "Track 1", 2},  // a damaged counter starts over
    };
    for (const Case& c : cases) {
        g_counter = c.before;
        M::PlayLevelSound(Counter());
        EXPECT_EQ(Current(), c.plays) << "counter " << c.before.value_or(-99);
        EXPECT_EQ(g_counter, c.after) << "counter " << c.before.value_or(-99);
    }

    g_counter = 0;
    std::string seq;
    for (int i = 0; i < 8; ++i) {
        M::PlayLevelSound(Counter());
        seq += Current().substr(6) + " ";
    }
    EXPECT_EQ(seq, "1 2 3 4 5 6 1 2 ");

    // Fewer tracks than the counter: nothing new plays, nothing fails.
    M::MusicsList.resize(2);
    g_counter = 5;
    M::PlayLevelSound(Counter());
    EXPECT_EQ(Current(), "Track 2");
    EXPECT_EQ(g_counter, 6);
}

TEST_F(SoundManagerTest, TracksCrossFadeOverTwentyFrames) {
    AppSettings::MusicVolume = 0.5f;
    g_counter = 1;
    M::PlayLevelSound(Counter());
    TChannelPtr first = M::CurrMusicChannel;
    ASSERT_TRUE(ChannelPlaying(first));
    EXPECT_EQ(ChannelVolume(first), 0.0f);  // starts silent
    Frames(10);
    EXPECT_FLOAT_EQ(M::CurrMusicVolume, 0.5f);
    EXPECT_FLOAT_EQ(ChannelVolume(first), 0.25f);
    Frames(10);
    EXPECT_FLOAT_EQ(M::CurrMusicVolume, 1.0f);

    M::PlayLevelSound(Counter());
    TChannelPtr second = M::CurrMusicChannel;
    EXPECT_EQ(M::LastMusicChannel, first);
    EXPECT_EQ(M::LastMusicVolume, 1.0f);
    Frames(19);
    EXPECT_TRUE(ChannelPlaying(first));
    EXPECT_NEAR(ChannelVolume(first), 0.025f, 1e-4);
    EXPECT_NEAR(ChannelVolume(second), 0.475f, 1e-4);
    Frames(1);
    EXPECT_FALSE(ChannelPlaying(first));
    EXPECT_FALSE(M::LastMusic);
    EXPECT_FLOAT_EQ(ChannelVolume(second), 0.5f);

    // The music setting is heard from the next frame; at 0 the track plays on silently.
    AppSettings::MusicVolume = 0.0f;
    Frames(1);
    EXPECT_EQ(ChannelVolume(second), 0.0f);
    EXPECT_TRUE(ChannelPlaying(second));

    // Two starts in one frame: the first is dropped at the next frame; a third start cuts off
    // the previous track at once.
    M::PlayLevelSound(Counter());
    TChannelPtr a = M::CurrMusicChannel;
    M::PlayLevelSound(Counter());
    EXPECT_FALSE(ChannelPlaying(second));
    EXPECT_TRUE(ChannelPlaying(a));
    EXPECT_EQ(M::LastMusicVolume, 0.0f);
    Frames(1);
    EXPECT_FALSE(ChannelPlaying(a));
    EXPECT_FALSE(M::LastMusic);

    // Starting the current track again cross-fades it with itself on a new channel.
    TChannelPtr b = M::CurrMusicChannel;
    M::PlayMusic(M::CurrMusic);
    EXPECT_EQ(M::LastMusic, M::CurrMusic);
    EXPECT_NE(M::CurrMusicChannel, b);
    EXPECT_TRUE(ChannelPlaying(b));
}

TEST_F(SoundManagerTest, TemporarySilenceFadesOutAndBackIn) {
    SetTime(5000);
    M::HideMusicTemporary(3000);
    EXPECT_EQ(M::TemporaryMusicTime, 8000);
    M::PlayLevelSound(Counter());  // started while silenced: stays at 0
    TChannelPtr ch = M::CurrMusicChannel;
    Frames(30);
    EXPECT_EQ(ChannelVolume(ch), 0.0f);

    SetTime(8000);
    Frames(1);
    EXPECT_EQ(M::TemporaryMusicTime, 8000);  // not yet past
    SetTime(8001);
    Frames(1);
    EXPECT_EQ(M::TemporaryMusicTime, 0);
    Frames(20);
    EXPECT_FLOAT_EQ(ChannelVolume(ch), 1.0f);

    M::HideMusicTemporary(3000);
    Frames(20);
    EXPECT_EQ(ChannelVolume(ch), 0.0f);
    EXPECT_TRUE(ChannelPlaying(ch));
}

TEST_F(SoundManagerTest, PauseAndUnPauseReachEffectsAndMusic) {
    M::PlayLevelSound(Counter());
    TAppSoundPtr fx = CreateAppSound(Beep(), 1, 0);
    fx->Play(1.0f, -1.0f, 0.05f);
    TChannelPtr fxCh = M::SoundsList.at(0)->chn;

    M::Pause();
    EXPECT_TRUE(ChannelPaused(fxCh));
    EXPECT_TRUE(ChannelPaused(M::CurrMusicChannel));
    M::UnPause();
    EXPECT_TRUE(ChannelPlaying(fxCh));
    EXPECT_TRUE(ChannelPlaying(M::CurrMusicChannel));

    // Muted effects skip their fades and stay in the list until unmuted.
    M::MuteSounds();
    EXPECT_TRUE(ChannelPaused(fxCh));
    M::SoundsList.at(0)->Hide(0.05f);
    Frames(30);
    EXPECT_EQ(M::SoundsList.size(), 1u);
    M::UnMuteSounds();
    EXPECT_TRUE(ChannelPlaying(fxCh));
    Frames(20);
    EXPECT_TRUE(M::SoundsList.empty());
}

// Muted music stays silent through a pause of all sound; only unmuting resumes it.
TEST_F(SoundManagerTest, UnPauseLeavesMutedSoundPaused) {
    M::PlayLevelSound(Counter());
    Frames(5);
    M::PlayLevelSound(Counter());
    TChannelPtr last = M::LastMusicChannel, curr = M::CurrMusicChannel;
    TAppSoundPtr fx = CreateAppSound(Beep(), 1, 0);
    fx->Play(1.0f, -1.0f, 0.05f);
    TChannelPtr fxCh = M::SoundsList.at(0)->chn;

    for (bool muteFirst : {true, false}) {
        SCOPED_TRACE(muteFirst ? "muted, then paused" : "paused, then muted");
        if (muteFirst) {
            M::MuteMusic();
            M::MuteSounds();
            M::Pause();
        } else {
            M::Pause();
            M::MuteMusic();
            M::MuteSounds();
        }
        M::UnPause();
        EXPECT_TRUE(ChannelPaused(last));
        EXPECT_TRUE(ChannelPaused(curr));
        EXPECT_TRUE(ChannelPaused(fxCh));
        float before = M::CurrMusicVolume;
        Frames(3);
        EXPECT_EQ(M::CurrMusicVolume, before);  // muted music does not fade

        M::UnMuteMusis();
        M::UnMuteSounds();
        EXPECT_TRUE(ChannelPlaying(last));
        EXPECT_TRUE(ChannelPlaying(curr));
        EXPECT_TRUE(ChannelPlaying(fxCh));
    }

    // A track started while muted plays at volume 0 until unmuted, then rises.
    M::MuteMusic();
    M::PlayLevelSound(Counter());
    TChannelPtr fresh = M::CurrMusicChannel;
    Frames(30);
    EXPECT_EQ(ChannelVolume(fresh), 0.0f);
    M::UnMuteMusis();
    Frames(20);
    EXPECT_FLOAT_EQ(ChannelVolume(fresh), 1.0f);
}

// A previous track paused when the next one starts is stopped, not forgotten: nothing else
// would ever stop it after the next resume.
TEST_F(SoundManagerTest, NewTrackStopsAPausedPreviousTrack) {
    M::PlayLevelSound(Counter());
    M::PlayLevelSound(Counter());
    TChannelPtr previous = M::LastMusicChannel;
    M::MuteMusic();
    ASSERT_TRUE(ChannelPaused(previous));
    M::PlayLevelSound(Counter());
    EXPECT_FALSE(ChannelPaused(previous));
    M::UnMuteMusis();
    M::UnPause();
    EXPECT_FALSE(ChannelPlaying(previous));
    EXPECT_EQ(AudioChannelsInUse(), 2);  // the current track and the one now fading out
}

// Tracks played one after another keep no converted copy once their channels are stopped: at
// most the current track and the one fading out hold one; a played effect keeps its copy.
TEST_F(SoundManagerTest, OnlyTheSoundingTracksStayConverted) {
    const int before = AudioConvertedSounds();
    TAppSoundPtr beep = CreateAppSound(Beep(), 0, 0);
    beep->Play();
    EXPECT_EQ(AudioConvertedSounds(), before + 1);
    g_counter = 0;
    for (int level = 1; level <= 8; ++level) {
        M::PlayLevelSound(Counter());
        EXPECT_EQ(AudioConvertedSounds(), before + 1 + (level == 1 ? 1 : 2)) << "level " << level;
        Frames(25);  // the cross-fade is over
        EXPECT_EQ(AudioConvertedSounds(), before + 2) << "level " << level;
        EXPECT_TRUE(ChannelPlaying(M::CurrMusicChannel));
    }
    // Cut off at once by two starts in one frame, and again with the current track itself.
    M::PlayLevelSound(Counter());
    M::PlayLevelSound(Counter());
    EXPECT_EQ(AudioConvertedSounds(), before + 3);
    M::PlayMusic(M::CurrMusic);
    EXPECT_EQ(AudioConvertedSounds(), before + 2);
    EXPECT_TRUE(ChannelPlaying(M::LastMusicChannel));
    Frames(25);
    EXPECT_TRUE(ChannelPlaying(M::CurrMusicChannel));
    EXPECT_EQ(AudioConvertedSounds(), before + 2);

    M::Reset();
    EXPECT_EQ(AudioConvertedSounds(), before + 1);  // the effect's
    beep.reset();
}

TEST_F(SoundManagerTest, UndecodableTrackAndClickPlayNothing) {
    testsupport::WriteFileBytes(bDir + "Sound/Music/T1.wav", "RIFF....WAVE broken");
    M::PlayLevelSound(Counter());
    EXPECT_EQ(Current(), "Track 1");
    EXPECT_FALSE(M::CurrMusicChannel);
    Frames(25);
    EXPECT_EQ(M::CurrMusicVolume, 1.0f);  // the fade runs on no channel
    g_counter = 2;
    M::PlayLevelSound(Counter());
    EXPECT_TRUE(ChannelPlaying(M::CurrMusicChannel));

    M::Setup();  // no click file in this data folder
    ASSERT_TRUE(M::ClickSound);
    EXPECT_FALSE(M::ClickSound->snd);
    M::ClickSound->Play(1.0f, -1.0f, 0.05f);
    EXPECT_TRUE(M::SoundsList.empty());
}

// The game's own data: six tracks and the click, all decoding.
TEST_F(SoundManagerTest, ShippedTracksAndClickDecode) {
    bDir = testsupport::SourceDir() + "/data/";
    M::MusicsList.clear();
    M::LoadMusics();
    ASSERT_EQ(M::MusicsList.size(), 6u);
    for (const TAppSoundPtr& t : M::MusicsList) {
        t->Load();
        EXPECT_TRUE(t->snd) << t->url;
        EXPECT_GT(t->SoundTime, 5000) << t->url;
    }
    AppInitSounds();
    ASSERT_TRUE(M::ClickSound);
    EXPECT_TRUE(M::ClickSound->snd);
    EXPECT_LT(M::ClickSound->SoundTime, 200);
}

}  // namespace
