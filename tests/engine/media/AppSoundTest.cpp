#include "engine/media/AppSound.h"

#include <gtest/gtest.h>

#include "AppSoundTestSupport.h"

namespace {

using soundtest::SoundFixture;
using List = std::vector<TAppSoundPtr>;
const List& Sounds() { return AppSoundManager::SoundsList; }

class AppSoundTest : public SoundFixture {};

TEST_F(AppSoundTest, LoadsOnceAndCopiesShareTheData) {
    TAppSoundPtr s = CreateAppSound("#BDIR#Sound/sfx/beep.wav", 1, 0);
    EXPECT_EQ(s->isLoaded, 1);
    ASSERT_TRUE(s->snd);
    EXPECT_EQ(s->SoundTime, 1000);
    s->TimeInterwal = 50;
    s->LastTime = 7;
    s->name = "n";
    s->Vol = 0.5f;
    s->chn = CueSound(s->snd);

    TAppSoundPtr c = s->Copy();
    EXPECT_EQ(c->snd, s->snd);
    EXPECT_EQ(c->Vol, 0.5f);
    EXPECT_EQ(c->isLooped, 1);
    EXPECT_EQ(c->SoundTime, 1000);
    EXPECT_EQ(c->name, "n");
    EXPECT_FALSE(c->chn);
    EXPECT_EQ(c->url, "");
    EXPECT_EQ(c->TimeInterwal, 0);
    EXPECT_EQ(c->LastTime, 0);
}

// Play sounds a copy; with a repeat interval of 300 ms, calls at 1000, 1200 and 1300 sound at
// 1000 and 1300 only. Without one, three calls in one frame give three channels.
TEST_F(AppSoundTest, PlayHonoursTheRepeatInterval) {
    TAppSoundPtr s = CreateAppSound(Beep(), 0, 0);
    AppSettings::SoundVolume = 0.5f;
    for (int i = 0; i < 3; ++i) s->Play(1.0f, -1.0f, 0.05f);
    ASSERT_EQ(Sounds().size(), 3u);
    for (const TAppSoundPtr& copy : Sounds()) {
        EXPECT_NE(copy, s);
        EXPECT_TRUE(ChannelPlaying(copy->chn));
        EXPECT_FLOAT_EQ(ChannelVolume(copy->chn), 0.5f);
        EXPECT_EQ(copy->dVol, 1.0f);  // -1 means no fade
    }
    EXPECT_NE(Sounds()[0]->chn, Sounds()[1]->chn);
    EXPECT_FALSE(s->chn);
    AppSoundManager::Reset();

    s->TimeInterwal = 300;
    struct Call {
        int time;
        size_t listed;
    };
    for (Call c : {Call{1000, 1}, Call{1200, 1}, Call{1300, 2}, Call{1599, 2}, Call{1600, 3}}) {
        SetTime(c.time);
        s->Play(1.0f, -1.0f, 0.05f);
        EXPECT_EQ(Sounds().size(), c.listed) << "at " << c.time;
    }
}

TEST_F(AppSoundTest, FadesRunByFrames) {
    struct Case {
        const char* what;
        float vol, target, speed, hide;  // hide < 0: no Hide
        int endsAfter;                   // frames until the sound leaves the list; 0 never starts; -1 stays
        float volAfter20;
    };
    const Case cases[] = {
        {"hide from full volume", 1.0f, -1.0f, 0.05f, 0.05f, 20, 0.0f},
        {"fade in from silence", 0.0f, 1.0f, 0.05f, -1.0f, -1, 1.0f},
        {"hide at speed 0 sounds on", 1.0f, -1.0f, 0.05f, 0.0f, -1, 1.0f},
        {"fade down to a half", 1.0f, 0.5f, 0.05f, -1.0f, -1, 0.5f},
        {"silence to silence", 0.0f, -1.0f, 0.05f, -1.0f, 0, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppSoundManager::Reset();
        TAppSoundPtr s = CreateAppSound(Beep(), 1, 0);
        s->PlayNow(c.vol, c.target, c.speed);
        if (c.endsAfter == 0) {
            EXPECT_TRUE(Sounds().empty());
            EXPECT_FALSE(s->chn);
            continue;
        }
        ASSERT_EQ(Sounds().size(), 1u);
        EXPECT_FLOAT_EQ(ChannelVolume(s->chn), c.vol);
        if (c.hide >= 0.0f) s->Hide(c.hide);
        if (c.endsAfter > 0) {
            Frames(c.endsAfter - 1);
            EXPECT_EQ(Sounds().size(), 1u);
            TChannelPtr ch = s->chn;
            Frames(1);
            EXPECT_TRUE(Sounds().empty());
            EXPECT_FALSE(ChannelPlaying(ch));
        } else {
            Frames(20);
            EXPECT_FLOAT_EQ(s->Vol, c.volAfter20);
            EXPECT_FLOAT_EQ(ChannelVolume(s->chn), c.volAfter20);
            Frames(100);
            EXPECT_EQ(Sounds().size(), 1u);
        }
    }
}

TEST_F(AppSoundTest, SoundSettingScalesEffectsAndZeroStartsNone) {
    TAppSoundPtr s = CreateAppSound(Beep(), 1, 0);
    AppSettings::SoundVolume = 0.0f;
    s->Play(1.0f, -1.0f, 0.05f);
    EXPECT_TRUE(Sounds().empty());
    AppSettings::SoundVolume = 0.8f;
    Frames(1);
    EXPECT_TRUE(Sounds().empty());  // a play asked for meanwhile is not started later

    s->Play(0.5f, -1.0f, 0.05f);
    ASSERT_EQ(Sounds().size(), 1u);
    EXPECT_FLOAT_EQ(ChannelVolume(Sounds()[0]->chn), 0.4f);
    AppSettings::SoundVolume = 0.2f;  // reaches a playing sound at the next frame
    Frames(1);
    EXPECT_FLOAT_EQ(ChannelVolume(Sounds()[0]->chn), 0.1f);
}

TEST_F(AppSoundTest, PauseStopAndMuteOfAPlayingCopy) {
    TAppSoundPtr s = CreateAppSound(Beep(), 1, 0);
    s->PlayNow(1.0f, -1.0f, 0.05f);
    TChannelPtr ch = s->chn;

    s->Pause();
    EXPECT_EQ(s->isPaused, 1);
    EXPECT_TRUE(ChannelPaused(ch));
    Frames(5);
    EXPECT_EQ(Sounds().size(), 1u);  // paused is not ended
    s->Resume();
    EXPECT_TRUE(ChannelPlaying(ch));

    s->Mute();
    s->Hide(0.05f);
    Frames(40);  // muted: left alone, no fade
    EXPECT_EQ(s->Vol, 1.0f);
    EXPECT_TRUE(ChannelPaused(ch));
    s->UnMute();
    EXPECT_TRUE(ChannelPlaying(ch));

    // A paused copy keeps fading, and at 0 it is stopped and removed without a resume.
    s->Pause();
    Frames(19);
    EXPECT_TRUE(ChannelPaused(ch));
    Frames(1);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_FALSE(ChannelPaused(ch));

    // Stop on a paused copy ends it at the next frame.
    TAppSoundPtr t = CreateAppSound(Beep(), 1, 0);
    t->PlayNow(1.0f, -1.0f, 0.05f);
    t->Pause();
    t->Stop();
    EXPECT_EQ(t->isPaused, 0);
    Frames(1);
    EXPECT_TRUE(Sounds().empty());
}

// Copies take the flags of the sound played: a copy of a paused sound still starts and later
// ends; a copy of a muted one waits, silent, for its UnMute.
TEST_F(AppSoundTest, CopiesOfPausedOrMutedSoundsStartCleanly) {
    TAppSoundPtr paused = CreateAppSound(bDir + "Sound/sfx/beep.wav", 0, 0);
    paused->isPaused = 1;
    paused->Play(1.0f, -1.0f, 0.05f);
    ASSERT_EQ(Sounds().size(), 1u);
    TAppSoundPtr copy = Sounds()[0];
    EXPECT_EQ(copy->isPaused, 0);
    EXPECT_TRUE(ChannelPlaying(copy->chn));
    StopChannel(copy->chn);  // as if it ended
    Frames(1);
    EXPECT_TRUE(Sounds().empty());

    TAppSoundPtr muted = CreateAppSound(Beep(), 1, 0);
    muted->isMuted = 1;
    muted->Play(1.0f, -1.0f, 0.05f);
    ASSERT_EQ(Sounds().size(), 1u);
    copy = Sounds()[0];
    EXPECT_TRUE(ChannelPaused(copy->chn));
    copy->UnMute();
    EXPECT_TRUE(ChannelPlaying(copy->chn));
}

TEST_F(AppSoundTest, MissingFileLoadsNothingUntilReload) {
    TAppSoundPtr s = CreateAppSound(bDir + "Sound/sfx/late.wav", 0, 0);
    EXPECT_EQ(s->isLoaded, 1);
    EXPECT_FALSE(s->snd);
    s->Play(1.0f, -1.0f, 0.05f);
    s->PlayNow(1.0f, 0.0f, 0.05f);
    Frames(1);
    EXPECT_TRUE(Sounds().empty());

    testsupport::WriteFileBytes(bDir + "Sound/sfx/late.wav", soundtest::MakeWav(2205));
    s->Load();
    EXPECT_FALSE(s->snd);  // not retried
    s->Reload();
    ASSERT_TRUE(s->snd);
    EXPECT_EQ(s->SoundTime, 100);

    // On demand: loaded by LoadingDemand only.
    auto d = std::make_shared<TAppSound>();
    d->url = Beep();
    d->LoadingDemand();
    EXPECT_EQ(d->isLoaded, 0);
    d->isLoadedOnDemand = 1;
    d->LoadingDemand();
    EXPECT_TRUE(d->snd);
}

TEST_F(AppSoundTest, FreeStopsTheOwnChannelWhileCopiesPlayOn) {
    TAppSoundPtr s = CreateAppSound(Beep(), 1, 0);
    s->Play(1.0f, -1.0f, 0.05f);
    s->PlayNow(1.0f, -1.0f, 0.05f);
    TChannelPtr own = s->chn;
    TChannelPtr copy = Sounds()[0]->chn;
    s->Free();
    EXPECT_EQ(s->isLoaded, 0);
    EXPECT_FALSE(s->snd);
    EXPECT_FALSE(ChannelPlaying(own));
    EXPECT_TRUE(ChannelPlaying(copy));
    Frames(1);
    EXPECT_EQ(Sounds().size(), 1u);  // the freed one left the list, the copy stays
    EXPECT_EQ(Sounds()[0]->chn, copy);
}

// A short sound that ends by itself leaves the list: time passes under the dummy driver.
TEST_F(AppSoundTest, EndedSoundLeavesTheList) {
    testsupport::WriteFileBytes(bDir + "Sound/sfx/tick.wav", soundtest::MakeWav(441));
    TAppSoundPtr s = CreateAppSound(bDir + "Sound/sfx/tick.wav", 0, 0);
    s->Play(1.0f, -1.0f, 0.05f);
    ASSERT_EQ(Sounds().size(), 1u);
    for (int i = 0; i < 500 && !Sounds().empty(); ++i) {
        Delay(10);
        Frames(1);
    }
    EXPECT_TRUE(Sounds().empty());
}

}  // namespace
